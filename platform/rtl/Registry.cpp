#include "platform/rtl/Registry.h"
#include "platform/rtl/ByteOrder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Strings.h"

// --- The store --------------------------------------------------------------------
//
// File layout, one item a line (CR LF or LF):
//   SXREG 1
//   [HKEY_CURRENT_USER\Software\Vendor]      a key (parents implied)
//   "Name"=dword:0000002a                     REG_DWORD
//   "Text"="a \"quoted\" text"                REG_SZ (the final NUL implied)
//   "Path"=expand:"%HOME%\x"                  REG_EXPAND_SZ
//   "Blob"=hex:01,ff                          REG_BINARY
//   @=hex(7):61,00,00                         the default value; any other type
// Names and texts escape \\ \" and control bytes as \xHH; other bytes are
// the ANSI bytes as stored. Lines that do not parse are skipped.

namespace {

constexpr size_t MaxKeyNameLength = 255;
constexpr size_t MaxValueNameLength = 16383;

struct TRegValue {
  AnsiString Name;
  DWORD Type = REG_NONE;
  std::string Data;
};

struct TRegNode {
  AnsiString Name;
  std::vector<std::unique_ptr<TRegNode>> Keys;
  std::vector<TRegValue> Values;

  TRegNode* FindKey(const AnsiString& KeyName) const {
    for (const auto& K : Keys)
      if (AnsiSameText(K->Name, KeyName)) return K.get();
    return nullptr;
  }
  TRegNode* AddKey(const AnsiString& KeyName) {
    Keys.push_back(std::make_unique<TRegNode>());
    Keys.back()->Name = KeyName;
    return Keys.back().get();
  }
  TRegValue* FindValue(const AnsiString& ValueName) {
    for (auto& V : Values)
      if (AnsiSameText(V.Name, ValueName)) return &V;
    return nullptr;
  }
};

struct TRootName {
  HKEY Key;
  const char* Name;
};
const TRootName RootNames[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},   {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}, {HKEY_USERS, "HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
};

std::vector<AnsiString> SplitPath(const AnsiString& Path) {
  std::vector<AnsiString> Parts;
  if (Path.empty()) return Parts;
  size_t Start = 0;
  for (;;) {
    const size_t Sep = Path.find('\\', Start);
    Parts.push_back(Path.substr(Start, Sep == AnsiString::npos ? AnsiString::npos : Sep - Start));
    if (Sep == AnsiString::npos) break;
    Start = Sep + 1;
  }
  return Parts;
}

AnsiString Escape(const AnsiString& S) {
  AnsiString R;
  for (const char C : S) {
    const auto U = static_cast<unsigned char>(C);
    if (C == '\\' || C == '"') {
      R += '\\';
      R += C;
    } else if (U < 0x20 || U == 0x7F) {
      char Buf[5];
      std::snprintf(Buf, sizeof Buf, "\\x%02X", U);
      R += Buf;
    } else {
      R += C;
    }
  }
  return R;
}


// Reads a quoted, escaped text at P (which points at the opening quote);
// leaves P after the closing quote. False when malformed.
bool Unquote(const AnsiString& Line, size_t& P, AnsiString& Out) {
  if (P >= Line.size() || Line[P] != '"') return false;
  ++P;
  Out.clear();
  while (P < Line.size()) {
    const char C = Line[P++];
    if (C == '"') return true;
    if (C != '\\') {
      Out += C;
      continue;
    }
    if (P >= Line.size()) return false;
    const char E = Line[P++];
    if (E == 'x') {
      const int Value = P + 2 > Line.size() ? -1 : HexByteValue(Line[P], Line[P + 1]);
      if (Value < 0) return false;
      Out += static_cast<char>(Value);
      P += 2;
    } else {
      Out += E;
    }
  }
  return false;
}

bool ParseHexBytes(const AnsiString& S, std::string& Out) {
  Out.clear();
  size_t P = 0;
  while (P < S.size()) {
    const int Value = P + 2 > S.size() ? -1 : HexByteValue(S[P], S[P + 1]);
    if (Value < 0) return false;
    Out += static_cast<char>(Value);
    P += 2;
    if (P < S.size()) {
      if (S[P] != ',') return false;
      ++P;
    }
  }
  return true;
}

// A text value written as text: one final NUL and no other.
bool IsPlainText(const std::string& Data) {
  return !Data.empty() && Data.back() == '\0' && Data.find('\0') == Data.size() - 1;
}

AnsiString FormatValue(const TRegValue& V) {
  AnsiString Line = V.Name.empty() ? AnsiString("@") : "\"" + Escape(V.Name) + "\"";
  Line += '=';
  if (V.Type == REG_DWORD && V.Data.size() == 4) {
    DWORD D = 0;
    for (int I = 3; I >= 0; --I) D = (D << 8) | static_cast<unsigned char>(V.Data[static_cast<size_t>(I)]);
    char Buf[16];
    std::snprintf(Buf, sizeof Buf, "dword:%08x", static_cast<unsigned>(D));
    return Line + Buf;
  }
  if ((V.Type == REG_SZ || V.Type == REG_EXPAND_SZ) && IsPlainText(V.Data)) {
    if (V.Type == REG_EXPAND_SZ) Line += "expand:";
    return Line + "\"" + Escape(V.Data.substr(0, V.Data.size() - 1)) + "\"";
  }
  Line += V.Type == REG_BINARY ? AnsiString("hex:") : "hex(" + std::to_string(V.Type) + "):";
  for (size_t I = 0; I < V.Data.size(); ++I) {
    char Buf[4];
    std::snprintf(Buf, sizeof Buf, I ? ",%02x" : "%02x", static_cast<unsigned char>(V.Data[I]));
    Line += Buf;
  }
  return Line;
}

bool ParseValue(const AnsiString& Line, TRegValue& V) {
  size_t P = 0;
  if (Line.compare(0, 2, "@=") == 0) {
    V.Name.clear();
    P = 1;
  } else if (!Unquote(Line, P, V.Name)) {
    return false;
  }
  if (P >= Line.size() || Line[P] != '=') return false;
  const AnsiString Rest = Line.substr(P + 1);
  if (Rest.compare(0, 6, "dword:") == 0) {
    const AnsiString Hex = Rest.substr(6);
    if (Hex.size() != 8 || !std::all_of(Hex.begin(), Hex.end(), [](char C) { return HexDigitValue(C) >= 0; }))
      return false;
    const auto D = static_cast<DWORD>(std::strtoul(Hex.c_str(), nullptr, 16));
    V.Type = REG_DWORD;
    V.Data.assign({static_cast<char>(D), static_cast<char>(D >> 8), static_cast<char>(D >> 16),
                   static_cast<char>(D >> 24)});
    return true;
  }
  if (Rest.compare(0, 4, "hex:") == 0) {
    V.Type = REG_BINARY;
    return ParseHexBytes(Rest.substr(4), V.Data);
  }
  if (Rest.compare(0, 4, "hex(") == 0) {
    const size_t Close = Rest.find("):");
    if (Close == AnsiString::npos || Close == 4) return false;
    const AnsiString Num = Rest.substr(4, Close - 4);
    if (Num.size() > 10 || !std::all_of(Num.begin(), Num.end(), [](char C) { return C >= '0' && C <= '9'; }))
      return false;
    V.Type = static_cast<DWORD>(std::strtoul(Num.c_str(), nullptr, 10));
    return ParseHexBytes(Rest.substr(Close + 2), V.Data);
  }
  size_t Q = 0;
  AnsiString Text;
  AnsiString Quoted = Rest;
  V.Type = REG_SZ;
  if (Rest.compare(0, 7, "expand:") == 0) {
    V.Type = REG_EXPAND_SZ;
    Quoted = Rest.substr(7);
  }
  if (!Unquote(Quoted, Q, Text) || Q != Quoted.size()) return false;
  V.Data = Text + '\0';
  return true;
}

struct TFileStamp {
  bool Exists = false;
  Int64 Size = 0, MTimeNs = 0, Ino = 0;
  bool operator==(const TFileStamp&) const = default;
};

TFileStamp StampOf(const AnsiString& FileName) {
  TFileStamp S;
  struct stat St{};
  if (::stat(FileName.c_str(), &St) != 0) return S;
  S.Exists = true;
  S.Size = static_cast<Int64>(St.st_size);
  S.MTimeNs = static_cast<Int64>(St.st_mtim.tv_sec) * 1000000000 + St.st_mtim.tv_nsec;
  S.Ino = static_cast<Int64>(St.st_ino);
  return S;
}

class TRegStore {
public:
  std::mutex Lock;

  ~TRegStore() {
    // Last chance for changes of a registry object that was never closed.
    try {
      std::lock_guard<std::mutex> Guard(Lock);
      Flush(TSaveMode::Durable);
    } catch (...) {
    }
  }

  // Brings the in-memory tree up to date with the file (caller holds Lock).
  void Sync() {
    const AnsiString Name = RegStoreFileName();
    if (FLoaded && Name != FFileName) {
      Flush(TSaveMode::Durable);
      FLoaded = false;
    }
    if (FLoaded && (FDirty || StampOf(Name) == FStamp)) return;
    FFileName = Name;
    Load();
  }

  TRegNode* Root(HKEY Key) {
    for (size_t I = 0; I < std::size(RootNames); ++I)
      if (RootNames[I].Key == Key) return &FRoots[I];
    return nullptr;
  }

  // The node at Parts below Root; nullptr when missing (or, with Create,
  // when a part cannot be a key name).
  TRegNode* Walk(HKEY RootKey, const std::vector<AnsiString>& Parts, bool Create) {
    TRegNode* N = Root(RootKey);
    for (const auto& Part : Parts) {
      if (!N) return nullptr;
      TRegNode* Next = N->FindKey(Part);
      if (!Next) {
        if (!Create) return nullptr;
        Next = N->AddKey(Part);
        FDirty = true;
      }
      N = Next;
    }
    return N;
  }

  void MarkDirty() { FDirty = true; }

  // Writes pending changes; false when the file cannot be written. Callers
  // close a key after nearly every value they store, so an ordinary flush
  // only renames a complete new file into place; the store reaches the disk
  // once it is flushed for good (Durable: at the end of the process, from
  // RegFlushStore, or before another store file is taken up).
  bool Flush(TSaveMode Mode = TSaveMode::Deferred) {
    if (Mode == TSaveMode::Deferred && FHeld > 0) return true;  // written when the last hold ends
    if (!FDirty) {
      if (Mode == TSaveMode::Durable && FUnsynced) FUnsynced = !SyncFileToDisk(FFileName);
      return true;
    }
    AnsiString Text = "SXREG 1\r\n";
    for (size_t I = 0; I < std::size(RootNames); ++I) Serialize(FRoots[I], RootNames[I].Name, true, Text);
    try {
      ForceDirectories(ExtractFileDir(FFileName));
      SaveFileAtomically(FFileName, Text, Mode);
    } catch (const Exception&) {
      return false;
    }
    FDirty = false;
    FUnsynced = Mode == TSaveMode::Deferred;
    FStamp = StampOf(FFileName);
    return true;
  }

  void Hold() { ++FHeld; }
  void Release() {
    if (FHeld > 0 && --FHeld == 0) Flush();  // a failure keeps the changes pending
  }

  void Reset() {
    FLoaded = false;
    FDirty = false;
    for (auto& R : FRoots) R = TRegNode();
  }

private:
  void Load() {
    for (auto& R : FRoots) R = TRegNode();
    FDirty = false;
    FLoaded = true;
    FStamp = StampOf(FFileName);
    if (!FStamp.Exists) return;
    TStringList Lines;
    try {
      Lines.LoadFromFile(FFileName);
    } catch (const Exception&) {
      return;  // unreadable: nothing stored, as far as we can tell
    }
    TRegNode* Current = nullptr;
    for (Integer I = 0; I < Lines.GetCount(); ++I) {
      const AnsiString Line = Lines[I];
      if (Line.size() >= 2 && Line.front() == '[' && Line.back() == ']') {
        Current = nullptr;
        const auto Parts = SplitPath(Line.substr(1, Line.size() - 2));
        if (Parts.empty()) continue;
        HKEY RootKey = nullptr;
        for (const auto& R : RootNames)
          if (Parts[0] == R.Name) RootKey = R.Key;
        if (!RootKey) continue;
        const std::vector<AnsiString> Rest(Parts.begin() + 1, Parts.end());
        if (std::any_of(Rest.begin(), Rest.end(), [](const AnsiString& P) { return P.empty(); })) continue;
        Current = Walk(RootKey, Rest, /*Create=*/true);
        continue;
      }
      TRegValue V;
      if (!Current || !ParseValue(Line, V)) continue;
      if (TRegValue* Old = Current->FindValue(V.Name))
        *Old = std::move(V);
      else
        Current->Values.push_back(std::move(V));
    }
    FDirty = false;
  }

  static void Serialize(const TRegNode& N, const AnsiString& Path, bool IsRoot, AnsiString& Out) {
    if (!IsRoot || !N.Values.empty()) {
      Out += "[" + Path + "]\r\n";
      for (const auto& V : N.Values) Out += FormatValue(V) + "\r\n";
    }
    for (const auto& K : N.Keys) Serialize(*K, Path + "\\" + K->Name, false, Out);
  }

  AnsiString FFileName;
  bool FLoaded = false;
  bool FDirty = false;
  bool FUnsynced = false;  // written since the last flush to disk
  int FHeld = 0;           // open TRegWriteBatch scopes
  TFileStamp FStamp;
  TRegNode FRoots[std::size(RootNames)];
};

TRegStore& Store() {
  static TRegStore S;
  return S;
}

bool ValidKeyName(const AnsiString& Part) {
  if (Part.empty() || Part.size() > MaxKeyNameLength) return false;
  return std::none_of(Part.begin(), Part.end(),
                      [](char C) { return static_cast<unsigned char>(C) < 0x20 || C == 0x7F; });
}

TRegDataType DataTypeOf(DWORD Type) {
  switch (Type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

}  // namespace

AnsiString RegStoreFileName() {
  AnsiString Base;
  if (const char* X = std::getenv("XDG_CONFIG_HOME"); X && *X == '/') {
    Base = X;
  } else {
    const char* Home = std::getenv("HOME");
    Base = AnsiString(Home && *Home ? Home : "/tmp") + "/.config";
  }
  return Base + "/sourcelux/registry";
}

bool RegFlushStore() {
  std::lock_guard<std::mutex> Guard(Store().Lock);
  return Store().Flush(TSaveMode::Durable);
}

TRegWriteBatch::TRegWriteBatch() {
  std::lock_guard<std::mutex> Guard(Store().Lock);
  Store().Hold();
}

TRegWriteBatch::~TRegWriteBatch() {
  try {
    std::lock_guard<std::mutex> Guard(Store().Lock);
    Store().Release();
  } catch (...) {
  }
}

void RegResetStore() {
  std::lock_guard<std::mutex> Guard(Store().Lock);
  Store().Reset();
}

// --- TRegistry --------------------------------------------------------------------

struct TRegistry::TRegPath {
  HKEY Root = nullptr;
  std::vector<AnsiString> Parts;
  AnsiString Shown;  // what CurrentPath reports once this key is open
};

TRegistry::~TRegistry() {
  try {
    CloseKey();
  } catch (...) {
  }
}

void TRegistry::SetRootKey(HKEY Value) {
  if (FRootKey == Value) return;
  CloseKey();
  FRootKey = Value;
}

bool TRegistry::ResolvePath(const AnsiString& Key, TRegPath& Path) const {
  const bool Relative = Key.empty() || Key[0] != '\\';
  const AnsiString S = Relative ? Key : Key.substr(1);
  const bool FromOpenKey = Relative && FHasKey;
  Path.Root = FromOpenKey ? FKeyRoot : FRootKey;
  Path.Parts = FromOpenKey ? SplitPath(FKeyPath) : std::vector<AnsiString>();
  auto Parts = SplitPath(S);
  if (!Parts.empty() && Parts.back().empty()) Parts.pop_back();  // one trailing backslash
  for (auto& P : Parts) {
    if (!ValidKeyName(P)) return false;
    Path.Parts.push_back(std::move(P));
  }
  Path.Shown = FromOpenKey ? FCurrentPath + "\\" + S : S;
  return true;
}

bool TRegistry::OpenKey(const AnsiString& Key, bool CanCreate) {
  TRegPath Path;
  if (!ResolvePath(Key, Path)) return false;
  bool Flushed = true;
  {
    std::lock_guard<std::mutex> Guard(Store().Lock);
    Store().Sync();
    if (!Store().Walk(Path.Root, Path.Parts, CanCreate)) return false;
    if (CanCreate) Flushed = Store().Flush();
  }
  (void)Flushed;  // a failed write stays pending and is retried at the next flush
  CloseKey();
  FHasKey = true;
  FReadOnly = false;
  FKeyRoot = Path.Root;
  FCurrentPath = Path.Shown;
  FKeyPath.clear();
  for (size_t I = 0; I < Path.Parts.size(); ++I) FKeyPath += (I ? "\\" : "") + Path.Parts[I];
  return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& Key) {
  if (!OpenKey(Key, false)) return false;
  FReadOnly = true;
  return true;
}

void TRegistry::CloseKey() {
  if (FHasKey) {
    std::lock_guard<std::mutex> Guard(Store().Lock);
    Store().Flush();  // a failure keeps the changes pending for the next flush
  }
  FHasKey = false;
  FReadOnly = false;
  FKeyRoot = nullptr;
  FCurrentPath.clear();
  FKeyPath.clear();
}

bool TRegistry::CreateKey(const AnsiString& Key) {
  TRegPath Path;
  bool Result = ResolvePath(Key, Path) && !Path.Parts.empty();
  if (Result) {
    std::lock_guard<std::mutex> Guard(Store().Lock);
    Store().Sync();
    Result = Store().Walk(Path.Root, Path.Parts, true) != nullptr;
    Store().Flush();
  }
  if (!Result) throw ERegistryException("Failed to create key " + Key);
  return true;
}

bool TRegistry::DeleteKey(const AnsiString& Key) {
  TRegPath Path;
  // An empty name names no sub-key: neither the open key nor a root goes.
  const bool NoName = Key.find_first_not_of('\\') == AnsiString::npos;
  if (NoName || !ResolvePath(Key, Path) || Path.Parts.empty()) return false;
  std::lock_guard<std::mutex> Guard(Store().Lock);
  Store().Sync();
  const AnsiString Last = Path.Parts.back();
  Path.Parts.pop_back();
  TRegNode* Parent = Store().Walk(Path.Root, Path.Parts, false);
  if (!Parent) return false;
  auto& Keys = Parent->Keys;
  const auto It = std::find_if(Keys.begin(), Keys.end(), [&](const auto& K) { return AnsiSameText(K->Name, Last); });
  if (It == Keys.end()) return false;
  Keys.erase(It);  // with everything below it
  Store().MarkDirty();
  Store().Flush();
  return true;
}

bool TRegistry::KeyExists(const AnsiString& Key) {
  TRegPath Path;
  if (!ResolvePath(Key, Path)) return false;
  std::lock_guard<std::mutex> Guard(Store().Lock);
  Store().Sync();
  return Store().Walk(Path.Root, Path.Parts, false) != nullptr;
}

// Runs F on the open key's node under the store's lock; F gets nullptr when
// no key is open or the open key has been deleted meanwhile.
template <class F>
static auto WithCurrentKey(bool HasKey, HKEY Root, const AnsiString& KeyPath, F&& Fn) {
  std::lock_guard<std::mutex> Guard(Store().Lock);
  Store().Sync();
  TRegNode* N = HasKey ? Store().Walk(Root, SplitPath(KeyPath), false) : nullptr;
  return Fn(N);
}

bool TRegistry::HasSubKeys() {
  return WithCurrentKey(FHasKey, FKeyRoot, FKeyPath, [](TRegNode* N) { return N && !N->Keys.empty(); });
}

void TRegistry::GetKeyNames(TStrings* Strings) {
  std::vector<AnsiString> Names = WithCurrentKey(FHasKey, FKeyRoot, FKeyPath, [](TRegNode* N) {
    std::vector<AnsiString> R;
    if (N)
      for (const auto& K : N->Keys) R.push_back(K->Name);
    return R;
  });
  // The registry hands sub-keys out in name order, whatever the creation order.
  std::stable_sort(Names.begin(), Names.end(),
                   [](const AnsiString& A, const AnsiString& B) { return CompareText(A, B) < 0; });
  Strings->BeginUpdate();
  Strings->Clear();
  for (const auto& Name : Names) Strings->Add(Name);
  Strings->EndUpdate();
}

void TRegistry::GetValueNames(TStrings* Strings) {
  const std::vector<AnsiString> Names = WithCurrentKey(FHasKey, FKeyRoot, FKeyPath, [](TRegNode* N) {
    std::vector<AnsiString> R;
    if (N)
      for (const auto& V : N->Values) R.push_back(V.Name);
    return R;
  });
  Strings->BeginUpdate();
  Strings->Clear();
  for (const auto& Name : Names) Strings->Add(Name);
  Strings->EndUpdate();
}

bool TRegistry::ValueExists(const AnsiString& Name) {
  TRegDataInfo Info;
  return GetDataInfo(Name, Info);
}

bool TRegistry::DeleteValue(const AnsiString& Name) {
  if (FReadOnly) return false;
  return WithCurrentKey(FHasKey, FKeyRoot, FKeyPath, [&](TRegNode* N) {
    if (!N) return false;
    const auto It = std::find_if(N->Values.begin(), N->Values.end(),
                                 [&](const TRegValue& V) { return AnsiSameText(V.Name, Name); });
    if (It == N->Values.end()) return false;
    N->Values.erase(It);
    Store().MarkDirty();
    return true;
  });
}

bool TRegistry::GetDataInfo(const AnsiString& Name, TRegDataInfo& Value) {
  Value = TRegDataInfo();
  return WithCurrentKey(FHasKey, FKeyRoot, FKeyPath, [&](TRegNode* N) {
    const TRegValue* V = N ? N->FindValue(Name) : nullptr;
    if (!V) return false;
    Value.RegData = DataTypeOf(V->Type);
    Value.DataSize = static_cast<Integer>(V->Data.size());
    return true;
  });
}

Integer TRegistry::GetDataSize(const AnsiString& Name) {
  TRegDataInfo Info;
  return GetDataInfo(Name, Info) ? Info.DataSize : -1;
}

TRegDataType TRegistry::GetDataType(const AnsiString& Name) {
  TRegDataInfo Info;
  return GetDataInfo(Name, Info) ? Info.RegData : rdUnknown;
}

bool TRegistry::GetData(const AnsiString& Name, void* Buffer, Integer BufSize, Integer& Size, DWORD& Type) {
  return WithCurrentKey(FHasKey, FKeyRoot, FKeyPath, [&](TRegNode* N) {
    const TRegValue* V = N ? N->FindValue(Name) : nullptr;
    if (!V || BufSize < 0 || V->Data.size() > static_cast<size_t>(BufSize)) return false;
    std::memcpy(Buffer, V->Data.data(), V->Data.size());
    Size = static_cast<Integer>(V->Data.size());
    Type = V->Type;
    return true;
  });
}

void TRegistry::PutData(const AnsiString& Name, const void* Buffer, Integer BufSize, DWORD Type) {
  const bool Done = !FReadOnly && BufSize >= 0 && Name.size() <= MaxValueNameLength &&
                    WithCurrentKey(FHasKey, FKeyRoot, FKeyPath, [&](TRegNode* N) {
    if (!N) return false;
    std::string Data(static_cast<const char*>(Buffer), static_cast<size_t>(BufSize));
    if (TRegValue* V = N->FindValue(Name)) {
      if (V->Type == Type && V->Data == Data) return true;  // nothing to write out
      V->Type = Type;
      V->Data = std::move(Data);
    } else {
      N->Values.push_back(TRegValue{Name, Type, std::move(Data)});
    }
    Store().MarkDirty();
    return true;
  });
  if (!Done) throw ERegistryException("Failed to set data for '" + Name + "'");
}

void TRegistry::ReadError(const AnsiString& Name) {
  throw ERegistryException("Invalid data type for '" + Name + "'");
}

AnsiString TRegistry::ReadString(const AnsiString& Name) {
  const Integer Len = GetDataSize(Name);
  if (Len <= 0) return AnsiString();
  std::string Buf(static_cast<size_t>(Len), '\0');
  Integer Size = 0;
  DWORD Type = REG_NONE;
  if (!GetData(Name, Buf.data(), Len, Size, Type))
    throw ERegistryException("Failed to get data for '" + Name + "'");
  if (Type != REG_SZ && Type != REG_EXPAND_SZ) ReadError(Name);
  Buf.resize(static_cast<size_t>(Size));
  return Buf.substr(0, Buf.find('\0'));
}

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value) {
  const AnsiString Data = Value + '\0';
  PutData(Name, Data.data(), static_cast<Integer>(Data.size()), REG_SZ);
}

void TRegistry::WriteExpandString(const AnsiString& Name, const AnsiString& Value) {
  const AnsiString Data = Value + '\0';
  PutData(Name, Data.data(), static_cast<Integer>(Data.size()), REG_EXPAND_SZ);
}

Integer TRegistry::ReadInteger(const AnsiString& Name) {
  unsigned char B[4] = {};
  Integer Size = 0;
  DWORD Type = REG_NONE;
  if (!GetData(Name, B, 4, Size, Type)) throw ERegistryException("Failed to get data for '" + Name + "'");
  if (Type != REG_DWORD || Size != 4) ReadError(Name);
  return static_cast<Integer>(ByteOrder::ReadLE32(B));
}

void TRegistry::WriteInteger(const AnsiString& Name, Integer Value) {
  const auto D = static_cast<DWORD>(Value);
  const unsigned char B[4] = {static_cast<unsigned char>(D), static_cast<unsigned char>(D >> 8),
                              static_cast<unsigned char>(D >> 16), static_cast<unsigned char>(D >> 24)};
  PutData(Name, B, 4, REG_DWORD);
}

bool TRegistry::ReadBool(const AnsiString& Name) { return ReadInteger(Name) != 0; }

void TRegistry::WriteBool(const AnsiString& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

double TRegistry::ReadFloat(const AnsiString& Name) {
  unsigned char B[8] = {};
  Integer Size = 0;
  DWORD Type = REG_NONE;
  if (!GetData(Name, B, 8, Size, Type)) throw ERegistryException("Failed to get data for '" + Name + "'");
  if (Type != REG_BINARY || Size != 8) ReadError(Name);
  UInt64 Bits = 0;
  for (int I = 7; I >= 0; --I) Bits = (Bits << 8) | B[I];
  double D;
  std::memcpy(&D, &Bits, sizeof D);
  return D;
}

void TRegistry::WriteFloat(const AnsiString& Name, double Value) {
  UInt64 Bits;
  std::memcpy(&Bits, &Value, sizeof Bits);
  unsigned char B[8];
  for (int I = 0; I < 8; ++I) B[I] = static_cast<unsigned char>(Bits >> (8 * I));
  PutData(Name, B, 8, REG_BINARY);
}

Integer TRegistry::ReadBinaryData(const AnsiString& Name, void* Buffer, Integer BufSize) {
  TRegDataInfo Info;
  if (!GetDataInfo(Name, Info)) return 0;
  if ((Info.RegData != rdBinary && Info.RegData != rdUnknown) || Info.DataSize > BufSize) ReadError(Name);
  Integer Size = 0;
  DWORD Type = REG_NONE;
  if (!GetData(Name, Buffer, BufSize, Size, Type))
    throw ERegistryException("Failed to get data for '" + Name + "'");
  return Size;
}

void TRegistry::WriteBinaryData(const AnsiString& Name, const void* Buffer, Integer BufSize) {
  PutData(Name, Buffer, BufSize, REG_BINARY);
}
