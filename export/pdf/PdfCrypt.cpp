#include "export/pdf/PdfCrypt.h"
#include <cstdint>
#include <cstring>
#include "platform/rtl/Exceptions.h"

namespace {
const unsigned char Padding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
                                   0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
                                   0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

std::uint32_t Rol(std::uint32_t X, int C) { return (X << C) | (X >> (32 - C)); }

std::string PadPassword(const std::string& P) {
  std::string R = P.substr(0, 32);
  R.append(reinterpret_cast<const char*>(Padding), 32 - R.size());
  return R;
}

std::string XorKey(const std::string& Key, int I) {
  std::string K = Key;
  for (char& C : K) C = char(Byte(C) ^ Byte(I));
  return K;
}
}  // namespace

std::string gtMD5(const std::string& Data) {
  static const std::uint32_t K[64] = {
      0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
      0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
      0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
      0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
      0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
      0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
      0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
      0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
  static const int S[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
  std::string M = Data;
  const std::uint64_t Bits = std::uint64_t(Data.size()) * 8;
  M += char(0x80);
  while (M.size() % 64 != 56) M += char(0);
  for (int I = 0; I < 8; ++I) M += char((Bits >> (8 * I)) & 0xFF);
  std::uint32_t H[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  for (std::size_t Off = 0; Off < M.size(); Off += 64) {
    std::uint32_t W[16];
    for (int I = 0; I < 16; ++I) {
      const auto* P = reinterpret_cast<const unsigned char*>(M.data() + Off + 4 * I);
      W[I] = std::uint32_t(P[0]) | std::uint32_t(P[1]) << 8 | std::uint32_t(P[2]) << 16 | std::uint32_t(P[3]) << 24;
    }
    std::uint32_t A = H[0], B = H[1], C = H[2], D = H[3];
    for (int I = 0; I < 64; ++I) {
      std::uint32_t F;
      int G;
      if (I < 16) { F = (B & C) | (~B & D); G = I; }
      else if (I < 32) { F = (D & B) | (~D & C); G = (5 * I + 1) % 16; }
      else if (I < 48) { F = B ^ C ^ D; G = (3 * I + 5) % 16; }
      else { F = C ^ (B | ~D); G = (7 * I) % 16; }
      const std::uint32_t T = D;
      D = C;
      C = B;
      B = B + Rol(A + F + K[I] + W[G], S[I]);
      A = T;
    }
    H[0] += A; H[1] += B; H[2] += C; H[3] += D;
  }
  std::string Out;
  for (std::uint32_t V : H)
    for (int I = 0; I < 4; ++I) Out += char((V >> (8 * I)) & 0xFF);
  return Out;
}

std::string gtRC4(const std::string& Key, const std::string& Data) {
  if (Key.empty() || Key.size() > 256) throw Exception("RC4: Invalid key length");
  Byte St[256];
  for (int I = 0; I < 256; ++I) St[I] = Byte(I);
  for (int I = 0, J = 0; I < 256; ++I) {
    J = (J + St[I] + Byte(Key[std::size_t(I) % Key.size()])) & 0xFF;
    std::swap(St[I], St[J]);
  }
  std::string Out(Data.size(), '\0');
  int I = 0, J = 0;
  for (std::size_t N = 0; N < Data.size(); ++N) {
    I = (I + 1) & 0xFF;
    J = (J + St[I]) & 0xFF;
    std::swap(St[I], St[J]);
    Out[N] = char(Byte(Data[N]) ^ St[(St[I] + St[J]) & 0xFF]);
  }
  return Out;
}

// --- settings -------------------------------------------------------------------

TgtPDFEncryptionSettings::TgtPDFEncryptionSettings() {
  FUserPermissions = {AllowCopy, AllowModify, AllowPrint, AllowAnnotation, AllowFormFill, AllowAccessibility,
                      AllowDocAssembly, AllowHighResPrint};
}

void TgtPDFEncryptionSettings::CheckChanges() const {
  if (!FChangesAllowed) throw Exception("User cannot change encryption settings");
}

void TgtPDFEncryptionSettings::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TgtPDFEncryptionSettings*>(Source);
  if (!S) return TPersistent::Assign(Source);
  CheckChanges();
  FEnabled = S->FEnabled;
  FLevel = S->FLevel;
  FOwnerPassword = S->FOwnerPassword;
  FUserPassword = S->FUserPassword;
  FUserPermissions = S->FUserPermissions;
}

void TgtPDFEncryptionSettings::SetEnabled(bool V) { CheckChanges(); FEnabled = V; }
void TgtPDFEncryptionSettings::SetLevel(TgtPDFEncryptionLevel V) { CheckChanges(); FLevel = V; }
void TgtPDFEncryptionSettings::SetOwnerPassword(const AnsiString& V) { CheckChanges(); FOwnerPassword = V; }
void TgtPDFEncryptionSettings::SetUserPassword(const AnsiString& V) { CheckChanges(); FUserPassword = V; }
void TgtPDFEncryptionSettings::SetUserPermissions(TgtUserPermissions V) { CheckChanges(); FUserPermissions = V; }

// --- handler --------------------------------------------------------------------------

Integer TgtBasePDFCrypt::PermissionValue() const {
  const bool R3 = FLevel == el128bit;
  std::uint32_t P = R3 ? 0xFFFFF0C0u : 0xFFFFFFC0u;
  auto Has = [&](TgtUserPermissionsType T) { return (FPermissions >> int(T)) & 1; };
  if (Has(AllowPrint)) P += 4;
  if (Has(AllowModify)) P += 8;
  if (Has(AllowCopy)) P += 16;
  if (Has(AllowAnnotation)) P += 32;
  if (R3) {
    if (Has(AllowFormFill)) P += 256;
    if (Has(AllowAccessibility)) P += 512;
    if (Has(AllowDocAssembly)) P += 1024;
    if (Has(AllowHighResPrint) && Has(AllowPrint)) P += 2048;
  }
  return Integer(std::int32_t(P));
}

std::string TgtBasePDFCrypt::ObjectKey(Integer ObjectNumber, Integer Generation) const {
  std::string D = FKey;
  D += char(ObjectNumber & 0xFF);
  D += char((ObjectNumber >> 8) & 0xFF);
  D += char((ObjectNumber >> 16) & 0xFF);
  D += char(Generation & 0xFF);
  D += char((Generation >> 8) & 0xFF);
  return gtMD5(D).substr(0, std::min<std::size_t>(FKey.size() + 5, 16));
}

std::string TgtBasePDFCrypt::EncryptBuffer(const std::string& Text, Integer Generation, Integer ObjectNumber) const {
  if (Text.empty()) return Text;
  return gtRC4(ObjectKey(ObjectNumber, Generation), Text);
}

TgtPDFEncryption::TgtPDFEncryption(const AnsiString& Name, const TgtPDFEncryptionSettings& Settings,
                                   const AnsiString& CreationDate) {
  FOwnerPassword = Settings.GetOwnerPassword();
  FUserPassword = Settings.GetUserPassword();
  FLevel = Settings.GetLevel();
  FPermissions = 0;
  for (int I = 0; I <= int(AllowHighResPrint); ++I)
    if (Settings.GetUserPermissions().Contains(TgtUserPermissionsType(I))) FPermissions |= Byte(1 << I);
  FFileID = gtMD5(Name + CreationDate);
  const bool R3 = FLevel == el128bit;
  const std::size_t N = R3 ? 16 : 5;
  FPaddedOwner = PadPassword(FOwnerPassword.empty() ? FUserPassword : FOwnerPassword);
  FPaddedUser = PadPassword(FUserPassword);
  // /O
  std::string H = gtMD5(FPaddedOwner);
  if (R3)
    for (int I = 0; I < 50; ++I) H = gtMD5(H);
  const std::string OKey = H.substr(0, N);
  if (!R3) FOwner = gtRC4(OKey, FPaddedUser);
  else {
    FOwner = FPaddedUser;
    for (int I = 0; I < 20; ++I) FOwner = gtRC4(XorKey(OKey, I), FOwner);
  }
  // Key
  const std::uint32_t P = std::uint32_t(PermissionValue());
  std::string D = FPaddedUser + FOwner;
  for (int I = 0; I < 4; ++I) D += char((P >> (8 * I)) & 0xFF);
  D += FFileID;
  H = gtMD5(D);
  if (R3)
    for (int I = 0; I < 50; ++I) H = gtMD5(H.substr(0, N));
  FKey = H.substr(0, N);
  // /U
  const std::string Pad(reinterpret_cast<const char*>(Padding), 32);
  if (!R3) FUser = gtRC4(FKey, Pad);
  else {
    std::string U = gtMD5(Pad + FFileID);
    for (int I = 0; I < 20; ++I) U = gtRC4(XorKey(FKey, I), U);
    FUser = U + std::string(16, '\0');
  }
}
