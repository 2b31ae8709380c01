// Registry.h — TRegistry, the class library's registry access, over our own
// file store.
//
// The store keeps every root key (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
// HKEY_CLASSES_ROOT, …) in one text file of the user's,
// $XDG_CONFIG_HOME/sourcelux/registry (~/.config/sourcelux/registry when the
// variable is unset). Nothing is there until the program writes it, so the
// machine-wide keys read as on a Windows machine without those entries.
// Key and value names compare without case and keep the case they were
// created with; sub-keys enumerate in name order, values in creation order.
//
// The store is shared by every TRegistry of the process. Changes are kept in
// memory and written (atomically: temporary file and rename) when a key is
// closed, when keys are created or deleted (held back while a TRegWriteBatch
// lives), and at the end of the process; a
// store whose file changed on disk meanwhile is read again before use while
// it has no unsaved changes.
//
// Errors follow the class library: open/create/delete/exists report success
// as a Boolean; reads and writes raise ERegistryException with "Failed to get
// data for '<name>'", "Failed to set data for '<name>'" or "Invalid data type
// for '<name>'".
#pragma once
#include <cstdint>
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

class TStrings;

struct HKEY__;
using HKEY = HKEY__*;
inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(std::uintptr_t{0x80000003});
inline HKEY const HKEY_CURRENT_CONFIG = reinterpret_cast<HKEY>(std::uintptr_t{0x80000005});

// Stored value types (the registry's own numbers; the file keeps any type).
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };
inline constexpr TRegDataType rdUnknown = TRegDataType::rdUnknown;
inline constexpr TRegDataType rdString = TRegDataType::rdString;
inline constexpr TRegDataType rdExpandString = TRegDataType::rdExpandString;
inline constexpr TRegDataType rdInteger = TRegDataType::rdInteger;
inline constexpr TRegDataType rdBinary = TRegDataType::rdBinary;

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  Integer DataSize = 0;
};

class TRegistry : public TObject {
public:
  TRegistry() = default;  // RootKey HKEY_CURRENT_USER, no key open
  ~TRegistry() override;

  HKEY GetRootKey() const { return FRootKey; }
  // Closes the open key first.
  void SetRootKey(HKEY Value);
  // The open key's path as opened (without the root), "" when none.
  const AnsiString& GetCurrentPath() const { return FCurrentPath; }
  bool HasCurrentKey() const { return FHasKey; }

  // Key is relative to the open key, or to the root when none is open or
  // when Key starts with a backslash. Opening makes it the current key.
  bool OpenKey(const AnsiString& Key, bool CanCreate);
  // As OpenKey without creation; every write to the key then fails.
  bool OpenKeyReadOnly(const AnsiString& Key);
  void CloseKey();
  // Creates the key (and missing parents) without opening it; raises
  // ERegistryException "Failed to create key <Key>" when it cannot.
  bool CreateKey(const AnsiString& Key);
  // Deletes the key with all its sub-keys and values.
  bool DeleteKey(const AnsiString& Key);
  bool KeyExists(const AnsiString& Key);
  bool HasSubKeys();
  void GetKeyNames(TStrings* Strings);
  void GetValueNames(TStrings* Strings);

  bool ValueExists(const AnsiString& Name);
  bool DeleteValue(const AnsiString& Name);
  bool GetDataInfo(const AnsiString& Name, TRegDataInfo& Value);
  // -1 when the value (or the open key) does not exist.
  Integer GetDataSize(const AnsiString& Name);
  TRegDataType GetDataType(const AnsiString& Name);

  // "" for a missing value; raises for a value of another type.
  AnsiString ReadString(const AnsiString& Name);
  void WriteString(const AnsiString& Name, const AnsiString& Value);
  void WriteExpandString(const AnsiString& Name, const AnsiString& Value);
  // Raise for a missing value or one of another type.
  Integer ReadInteger(const AnsiString& Name);
  void WriteInteger(const AnsiString& Name, Integer Value);
  bool ReadBool(const AnsiString& Name);
  void WriteBool(const AnsiString& Name, bool Value);
  // An 8-byte binary value holding an IEEE double.
  double ReadFloat(const AnsiString& Name);
  void WriteFloat(const AnsiString& Name, double Value);
  // Returns the size read; 0 for a missing value. Raises when the value is
  // not binary or is larger than BufSize.
  Integer ReadBinaryData(const AnsiString& Name, void* Buffer, Integer BufSize);
  void WriteBinaryData(const AnsiString& Name, const void* Buffer, Integer BufSize);

private:
  // Reads the raw value; false when the key or value is missing or the value
  // is larger than BufSize (the Windows "more data" case).
  bool GetData(const AnsiString& Name, void* Buffer, Integer BufSize, Integer& Size, DWORD& Type);
  void PutData(const AnsiString& Name, const void* Buffer, Integer BufSize, DWORD Type);
  [[noreturn]] static void ReadError(const AnsiString& Name);
  struct TRegPath;
  // Where Key leads from the open key or the root; false for a malformed key.
  bool ResolvePath(const AnsiString& Key, TRegPath& Path) const;

  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FKeyRoot = nullptr;      // the root the open key lives under
  bool FHasKey = false;
  bool FReadOnly = false;
  AnsiString FCurrentPath;      // as the class library reports it
  AnsiString FKeyPath;          // the open key's components joined with '\'
};

// Writes the store's unsaved changes now; false when the file cannot be
// written (the changes stay pending). For tests and for shutdown paths.
bool RegFlushStore();
// While one of these lives, closing keys and creating them leave their
// changes in memory; the store is written once when the last one ends. For
// code that stores many values in a row (every option at shutdown), which
// would otherwise rewrite the whole file per value.
class TRegWriteBatch {
public:
  TRegWriteBatch();
  ~TRegWriteBatch();
  TRegWriteBatch(const TRegWriteBatch&) = delete;
  TRegWriteBatch& operator=(const TRegWriteBatch&) = delete;
};
// Forgets the in-memory store, so the next access reads the file named by the
// current environment. For tests that point XDG_CONFIG_HOME elsewhere.
void RegResetStore();
// The store's file name for the current environment.
AnsiString RegStoreFileName();
