// PdfCrypt.h — the standard security handler of the PDF writer: the
// published options, the file identifier, the /O, /U and /P values and the
// per-object RC4 keys, with MD5 and RC4 written here.
#pragma once
#include <array>
#include <string>
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/TypInfo.h"

enum TgtPDFEncryptionLevel : Byte { el40bit, el128bit };
SX_ENUM(TgtUserPermissionsType, AllowCopy, AllowModify, AllowPrint, AllowAnnotation, AllowFormFill,
        AllowAccessibility, AllowDocAssembly, AllowHighResPrint)
using TgtUserPermissions = TSet<TgtUserPermissionsType>;

// MD5 of a byte string (16 bytes).
std::string gtMD5(const std::string& Data);
// RC4 of Data with Key; raises "RC4: Invalid key length" outside 1..256 bytes.
std::string gtRC4(const std::string& Key, const std::string& Data);

class TgtPDFEncryptionSettings : public TPersistent {
public:
  TgtPDFEncryptionSettings();
  void Assign(TPersistent* Source) override;
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool V);
  TgtPDFEncryptionLevel GetLevel() const { return FLevel; }
  void SetLevel(TgtPDFEncryptionLevel V);
  // Empty while changes are not allowed.
  AnsiString GetOwnerPassword() const { return FChangesAllowed ? FOwnerPassword : AnsiString(); }
  void SetOwnerPassword(const AnsiString& V);
  const AnsiString& GetUserPassword() const { return FUserPassword; }
  void SetUserPassword(const AnsiString& V);
  TgtUserPermissions GetUserPermissions() const { return FUserPermissions; }
  void SetUserPermissions(TgtUserPermissions V);
  bool GetChangesAllowed() const { return FChangesAllowed; }

protected:
  void SetChangesAllowed(bool V) { FChangesAllowed = V; }

private:
  void CheckChanges() const;
  bool FEnabled = false;
  TgtPDFEncryptionLevel FLevel = el128bit;
  AnsiString FOwnerPassword, FUserPassword;
  TgtUserPermissions FUserPermissions;
  bool FChangesAllowed = true;
};

class TgtBasePDFCrypt {
public:
  virtual ~TgtBasePDFCrypt() = default;
  const std::string& GetFileID() const { return FFileID; }
  const std::string& GetOwnerValue() const { return FOwner; }
  const std::string& GetUserValue() const { return FUser; }
  Integer PermissionValue() const;
  TgtPDFEncryptionLevel GetLevel() const { return FLevel; }
  std::string ObjectKey(Integer ObjectNumber, Integer Generation) const;
  std::string EncryptBuffer(const std::string& Text, Integer Generation, Integer ObjectNumber) const;

protected:
  std::string FFileID;
  TgtPDFEncryptionLevel FLevel = el128bit;
  Byte FPermissions = 0;
  std::string FKey, FOwner, FUser;
};

class TgtPDFEncryption : public TgtBasePDFCrypt {
public:
  TgtPDFEncryption(const AnsiString& Name, const TgtPDFEncryptionSettings& Settings,
                   const AnsiString& CreationDate);

private:
  AnsiString FOwnerPassword, FUserPassword;
  std::string FPaddedOwner, FPaddedUser;
};
