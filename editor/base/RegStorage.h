// RegStorage.h — the editor library's settings in the per-user registry:
// Variant-level values, binary values (long ones split into chunks where the
// platform needs it), the stream that holds one binary value, and the walk
// that stores an object's published properties by kind.
//
// Every path is relative to the library's root key EdRegistryRoot under
// HKEY_CURRENT_USER and names a key and a value: "CodeEdit\KeyMapping" is the
// value KeyMapping of the key CodeEdit. All access goes through one shared
// TRegistry.
#pragma once
#include <functional>
#include "platform/rtl/Registry.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variants.h"

class TPersistent;
class TPropInfo;

inline constexpr const char* EdRegistryRoot = "Software\\Sourcelux\\Editor";
inline constexpr Integer LongBinaryChunkSize = 8192;
inline constexpr const char* LongRegKeySignature = "__Long RegKey__";
inline constexpr Integer LongRegKeyHeaderSize = 36;

TRegistry* GetSharedRegistry();
// Frees the shared registry (end of the library's life).
void FreeSharedRegistry();

// The platform id the library's platform-dependent paths look at: 2
// (Windows NT) stores a long binary value as one value, where anything else
// splits it into chunks, and lets TransparentStretchBlt (DrawHelpers.h) copy
// an unstretched area in one masked transfer. Tests set it to reach the
// other branches.
inline constexpr Integer VER_PLATFORM_WIN32_NT = 2;
inline constexpr Integer VER_PLATFORM_WIN32_WINDOWS = 1;
Integer GetEdPlatformId();
void SetEdPlatformId(Integer Id);
bool IsWinNT();

AnsiString AddBackslash(const AnsiString& S);
AnsiString RemoveBackslash(const AnsiString& S);
// Root + path, split at the last backslash into key and value name.
void SplitRegistryPath(const AnsiString& Path, AnsiString& Key, AnsiString& ValueName);

// Nothing for an empty path. Raises Exception "This type isn't supported by
// WriteToRegistry" for a Variant type outside the table.
void WriteToRegistry(const AnsiString& Path, const Variant& Value);
// Default when the path is empty or the key or value is missing; reads by
// the default's type. A stored value of another type raises the registry's
// error.
Variant ReadFromRegistry(const AnsiString& Path, const Variant& Default);

void WriteBinaryToRegistry(const AnsiString& Path, const void* Data, Integer Size);
// -1 when the key or value is missing.
Integer GetRegistryDataSize(const AnsiString& Path);
Integer ReadBinaryFromRegistry(const AnsiString& Path, void* Buffer, Integer Size);
// Chunk values left from an earlier, longer value are deleted.
void WriteLongBinary(const AnsiString& Path, const void* Data, Integer Size);
Integer GetLongBinarySize(const AnsiString& Path);
Integer ReadLongBinary(const AnsiString& Path, void* Buffer, Integer Size);

// One binary registry value as a memory stream. Open with fmCreate to start
// empty (an empty value is written at once); any other mode reads the value.
// Commit writes the bytes back when they were written or resized; the
// destructor commits too but cannot report a failure, so callers that care
// call Commit.
class TRegistryStream : public TMemoryStream {
public:
  TRegistryStream(const AnsiString& APath, Word Mode);
  ~TRegistryStream() override;
  Integer Write(const void* Buffer, Integer Count) override;
  void Commit();

private:
  AnsiString FPath;
  Integer FInitialSize = -1;
  bool FWritten = false;
  bool FCommitted = false;
};

// Binary or text component stream of Obj (a non-component goes through a
// TPersHolder).
void SaveComponentToRegistry(const AnsiString& Path, TPersistent* Obj, bool AsText);
// Nothing when the value is missing or empty.
void LoadComponentFromRegistry(const AnsiString& Path, TPersistent* Obj, bool AsText);
inline void SaveTextObjectToRegistry(const AnsiString& Path, TPersistent* Obj) {
  SaveComponentToRegistry(Path, Obj, true);
}
inline void LoadTextObjectFromRegistry(const AnsiString& Path, TPersistent* Obj) {
  LoadComponentFromRegistry(Path, Obj, true);
}

// The per-object walk over the stored published properties, in alphabetical
// order. Saving raises for a property kind the registry cannot hold. Loading
// keeps the current value of any property whose stored value is missing or
// cannot be read as its type.
void LoadPropsFromRegistry(TPersistent* Obj, const AnsiString& Key);
void SavePropsToRegistry(TPersistent* Obj, const AnsiString& Key);

// Property values as Variants, by the property's kind.
Variant GetPropAsVariant(TObject* Obj, const TPropInfo* Prop);
void SetPropFromVariant(TObject* Obj, const TPropInfo* Prop, const Variant& Value);
// Copies the published properties of Source into the same-named ones of
// Dest, in Source's declaration order, skipping the names in SkipList
// (comma text) when given. Nothing when either is nil or both are one.
void CopyPublishedProps(TObject* Source, TObject* Dest, const AnsiString* SkipList);
void CopyPublishedProp(TObject* Source, TObject* Dest, const AnsiString& Name);
void AssignPropList(TObject* Source, TObject* Dest, const AnsiString& Names);
using TEnumPropProc = std::function<void(TObject* Obj, const TPropInfo* Prop)>;
void EnumPublishedProps(TObject* Obj, bool OnlyStored, const TEnumPropProc& Proc);
