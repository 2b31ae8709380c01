#include "editor/base/RegStorage.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "editor/base/EdConsts.h"
#include "editor/base/PersHolder.h"
#include "editor/base/SortedLists.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Collection.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypInfo.h"

namespace {
std::unique_ptr<TRegistry>& SharedRegistry() {
  static std::unique_ptr<TRegistry> R;
  return R;
}
Integer PlatformId = VER_PLATFORM_WIN32_NT;

// Closes the key an operation opened, also when it fails.
struct TKeyCloser {
  TRegistry* Reg;
  ~TKeyCloser() { Reg->CloseKey(); }
};

[[noreturn]] void Unsupported() { RaiseError(LoadResText(EdConsts::SUnsupportedRegType)); }

// The registry resolves a key with a leading backslash from the root, so an
// access never depends on which key the shared object had open.
bool OpenPathKey(TRegistry* Reg, const AnsiString& Key, bool CanCreate) {
  Reg->CloseKey();
  return Reg->OpenKey("\\" + Key, CanCreate);
}

AnsiString ChunkName(const AnsiString& ValueName, Integer N) { return ValueName + "__" + IntToStr(N); }

// Chunk values N, N+1, … that an earlier, longer value left behind.
void DeleteChunksFrom(TRegistry* Reg, const AnsiString& ValueName, Integer N) {
  while (Reg->ValueExists(ChunkName(ValueName, N))) Reg->DeleteValue(ChunkName(ValueName, N++));
}

struct TLongHeader {
  Integer Total = 0;
  Integer Chunk = 0;
};

// Only a value of at most the header's size can be one: the original read
// it into a 36-byte buffer, which a larger value does not fit.
bool ReadLongHeader(const AnsiString& Path, TLongHeader& H) {
  if (IsWinNT()) return false;
  const Integer Size = GetRegistryDataSize(Path);
  const Integer SigLen = Integer(std::strlen(LongRegKeySignature));
  if (Size < SigLen || Size > LongRegKeyHeaderSize) return false;
  char Buf[LongRegKeyHeaderSize] = {};
  if (ReadBinaryFromRegistry(Path, Buf, Size) != Size) return false;
  if (std::memcmp(Buf, LongRegKeySignature, std::size_t(SigLen)) != 0) return false;
  const AnsiString Text(Buf, std::size_t(Size));
  H.Total = StrToIntDef(Trim(Copy(Text, 16, 10)), 0);
  H.Chunk = StrToIntDef(Trim(Copy(Text, 27, 10)), 0);
  return true;
}
}  // namespace

TRegistry* GetSharedRegistry() {
  auto& R = SharedRegistry();
  if (!R) R = std::make_unique<TRegistry>();
  return R.get();
}

void FreeSharedRegistry() { SharedRegistry().reset(); }

Integer GetEdPlatformId() { return PlatformId; }
void SetEdPlatformId(Integer Id) { PlatformId = Id; }
bool IsWinNT() { return PlatformId == VER_PLATFORM_WIN32_NT; }

AnsiString AddBackslash(const AnsiString& S) {
  if (S.empty() || S.back() == '\\') return S;
  return S + "\\";
}

AnsiString RemoveBackslash(const AnsiString& S) {
  if (!S.empty() && S.back() == '\\') return S.substr(0, S.size() - 1);
  return S;
}

void SplitRegistryPath(const AnsiString& Path, AnsiString& Key, AnsiString& ValueName) {
  const AnsiString Full = AddBackslash(EdRegistryRoot) + Path;
  const std::size_t Last = Full.rfind('\\');
  ValueName = Full.substr(Last + 1);
  Key = RemoveBackslash(Full.substr(0, Last + 1));
}

// ---------------------------------------------------------------------------
// Variant values

void WriteToRegistry(const AnsiString& Path, const Variant& Value) {
  if (Path.empty()) return;
  AnsiString Key, Name;
  SplitRegistryPath(Path, Key, Name);
  TRegistry* Reg = GetSharedRegistry();
  if (!OpenPathKey(Reg, Key, true)) throw ERegistryException("Failed to create key " + Key);
  TKeyCloser Closer{Reg};
  switch (VarType(Value)) {
    case varSmallint:
    case varInteger:
    case varByte: Reg->WriteInteger(Name, Value.AsInteger()); break;
    case varSingle:
    case varDouble: Reg->WriteFloat(Name, Value.AsDouble()); break;
    case varCurrency: {
      const Int64 Scaled = Value.AsCurrency().Scaled;
      Reg->WriteBinaryData(Name, &Scaled, sizeof Scaled);
      break;
    }
    case varDate: Reg->WriteFloat(Name, Value.AsDateTime()); break;
    case varOleStr:
    case varString: Reg->WriteString(Name, Value.AsString()); break;
    case varBoolean: Reg->WriteInteger(Name, Value.AsBoolean() ? 1 : 0); break;
    default: Unsupported();
  }
}

Variant ReadFromRegistry(const AnsiString& Path, const Variant& Default) {
  Variant Result = Default;
  if (Path.empty()) return Result;
  AnsiString Key, Name;
  SplitRegistryPath(Path, Key, Name);
  TRegistry* Reg = GetSharedRegistry();
  if (!OpenPathKey(Reg, Key, false)) return Result;
  TKeyCloser Closer{Reg};
  if (!Reg->ValueExists(Name)) return Result;
  switch (VarType(Default)) {
    case varSmallint:
    case varInteger:
    case varByte: return Variant(Reg->ReadInteger(Name));
    case varSingle:
    case varDouble: return Variant(Reg->ReadFloat(Name));
    case varCurrency: {
      Int64 Scaled = 0;
      if (Reg->GetDataSize(Name) != Integer(sizeof Scaled))
        throw ERegistryException("Invalid data type for '" + Name + "'");
      Reg->ReadBinaryData(Name, &Scaled, sizeof Scaled);
      return Variant(Currency::FromScaled(Scaled));
    }
    case varDate: return Variant::FromDate(Reg->ReadFloat(Name));
    case varOleStr:
    case varString: return Variant(Reg->ReadString(Name));
    case varBoolean: return Variant(Reg->ReadBool(Name));
    default:
      RaiseError(LoadResText(EdConsts::SUnsupportedRegType) + "($" + IntToHex(VarType(Default), 4) + ")");
  }
}

// ---------------------------------------------------------------------------
// Binary values

void WriteBinaryToRegistry(const AnsiString& Path, const void* Data, Integer Size) {
  if (Path.empty()) return;
  AnsiString Key, Name;
  SplitRegistryPath(Path, Key, Name);
  if (Key.empty() || Name.empty()) return;
  TRegistry* Reg = GetSharedRegistry();
  if (!OpenPathKey(Reg, Key, true)) throw ERegistryException("Failed to create key " + Key);
  TKeyCloser Closer{Reg};
  Reg->WriteBinaryData(Name, Data, Size);
}

Integer GetRegistryDataSize(const AnsiString& Path) {
  if (Path.empty()) return -1;
  AnsiString Key, Name;
  SplitRegistryPath(Path, Key, Name);
  TRegistry* Reg = GetSharedRegistry();
  if (!OpenPathKey(Reg, Key, false)) return -1;
  TKeyCloser Closer{Reg};
  return Reg->GetDataSize(Name);
}

Integer ReadBinaryFromRegistry(const AnsiString& Path, void* Buffer, Integer Size) {
  if (Path.empty()) return 0;
  AnsiString Key, Name;
  SplitRegistryPath(Path, Key, Name);
  TRegistry* Reg = GetSharedRegistry();
  if (!OpenPathKey(Reg, Key, false)) return 0;
  TKeyCloser Closer{Reg};
  return Reg->ReadBinaryData(Name, Buffer, Size);
}

void WriteLongBinary(const AnsiString& Path, const void* Data, Integer Size) {
  if (Path.empty()) return;
  AnsiString Key, Name;
  SplitRegistryPath(Path, Key, Name);
  if (Key.empty() || Name.empty()) return;
  if (Size < 0) Size = 0;
  TRegistry* Reg = GetSharedRegistry();
  if (!OpenPathKey(Reg, Key, true)) throw ERegistryException("Failed to create key " + Key);
  TKeyCloser Closer{Reg};
  Integer Chunks = 0;
  if (IsWinNT()) {
    Reg->WriteBinaryData(Name, Data, Size);
  } else {
    char Header[LongRegKeyHeaderSize + 1];
    std::snprintf(Header, sizeof Header, "%s%.10d %.10d", LongRegKeySignature, int(Size), int(LongBinaryChunkSize));
    Reg->WriteBinaryData(Name, Header, LongRegKeyHeaderSize);
    const auto* P = static_cast<const Byte*>(Data);
    for (Integer Done = 0; Done < Size; Done += LongBinaryChunkSize)
      Reg->WriteBinaryData(ChunkName(Name, Chunks++), P + Done, IntMin(Size - Done, LongBinaryChunkSize));
  }
  DeleteChunksFrom(Reg, Name, Chunks);
}

Integer GetLongBinarySize(const AnsiString& Path) {
  TLongHeader H;
  if (ReadLongHeader(Path, H)) return H.Total;
  return GetRegistryDataSize(Path);
}

Integer ReadLongBinary(const AnsiString& Path, void* Buffer, Integer Size) {
  TLongHeader H;
  if (!ReadLongHeader(Path, H)) return ReadBinaryFromRegistry(Path, Buffer, Size);
  if (H.Chunk <= 0) return 0;
  auto* Out = static_cast<Byte*>(Buffer);
  Integer Remaining = IntMin(Size, H.Total);
  Integer Result = 0;
  std::vector<Byte> Chunk;
  for (Integer N = 0; Remaining > 0; ++N) {
    const AnsiString ChunkPath = Path + "__" + IntToStr(N);
    const Integer Stored = GetRegistryDataSize(ChunkPath);
    if (Stored <= 0 || Stored > H.Chunk) break;  // missing or not one of ours
    Chunk.resize(std::size_t(Stored));
    const Integer Got = ReadBinaryFromRegistry(ChunkPath, Chunk.data(), Stored);
    const Integer Take = IntMin(Got, Remaining);
    std::memcpy(Out + Result, Chunk.data(), std::size_t(Take));
    Result += Take;
    Remaining -= Take;
    if (Got < H.Chunk) break;
  }
  return Result;
}

// ---------------------------------------------------------------------------
// TRegistryStream

TRegistryStream::TRegistryStream(const AnsiString& APath, Word Mode) : FPath(APath) {
  if (Mode == fmCreate) {
    WriteLongBinary(FPath, nullptr, 0);
    return;
  }
  FInitialSize = GetLongBinarySize(FPath);
  if (FInitialSize > 0) {
    SetSize(FInitialSize);
    const Integer Got = ReadLongBinary(FPath, Memory(), FInitialSize);
    if (Got < FInitialSize) SetSize(Got);
  }
}

TRegistryStream::~TRegistryStream() {
  try {
    Commit();
  } catch (...) {
    // A destructor cannot report it; callers that must know call Commit.
  }
}

Integer TRegistryStream::Write(const void* Buffer, Integer Count) {
  const Integer N = TMemoryStream::Write(Buffer, Count);
  FWritten = true;
  FCommitted = false;
  return N;
}

void TRegistryStream::Commit() {
  if (FCommitted) return;
  const Int64 Size = GetSize();
  if (FWritten || (FInitialSize != -1 && Size != FInitialSize)) WriteLongBinary(FPath, Memory(), Integer(Size));
  FCommitted = true;
}

// ---------------------------------------------------------------------------
// Property values

Variant GetPropAsVariant(TObject* Obj, const TPropInfo* Prop) {
  switch (Prop->Kind()) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet: return Variant(Integer(GetOrdProp(Obj, Prop)));
    case tkClass: return Variant(Integer(reinterpret_cast<std::intptr_t>(GetObjectProp(Obj, Prop))));
    case tkFloat: return Variant(GetFloatProp(Obj, Prop));
    case tkString:
    case tkLString:
    case tkWString:
    case tkWChar: return Variant(GetStrProp(Obj, Prop));
    default: return Variant();
  }
}

void SetPropFromVariant(TObject* Obj, const TPropInfo* Prop, const Variant& Value) {
  switch (Prop->Kind()) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet: {
      Int64 V;
      if (VarIsStr(Value))
        V = StrToInt(Value.AsString());
      else if (VarType(Value) == varBoolean)
        V = Value.AsBoolean() ? 1 : 0;
      else
        V = Value.AsInteger();
      if (Prop->Kind() == tkSet) V = Int64(std::uint32_t(V));
      SetOrdProp(Obj, Prop, V);
      break;
    }
    case tkFloat: SetFloatProp(Obj, Prop, Value.AsDouble()); break;
    case tkString:
    case tkLString:
    case tkWString:
    case tkWChar: SetStrProp(Obj, Prop, Value.AsString()); break;
    default: break;
  }
}

void CopyPublishedProp(TObject* Source, TObject* Dest, const AnsiString& Name) {
  if (!Source || !Dest || Source == Dest) return;
  const TPropInfo* S = Source->ClassType()->FindProperty(Name);
  const TPropInfo* D = Dest->ClassType()->FindProperty(Name);
  if (!S || !D || !D->Writable()) return;
  switch (S->Kind()) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
    case tkWChar:
      if (D->SetOrd && S->GetOrd) SetOrdProp(Dest, D, GetOrdProp(Source, S));
      break;
    case tkClass:
      if (D->SetObj) SetObjectProp(Dest, D, GetObjectProp(Source, S));
      break;
    case tkFloat:
      if (D->SetFloat) SetFloatProp(Dest, D, GetFloatProp(Source, S));
      break;
    case tkString:
    case tkLString:
      if (D->SetStr || D->SetWStr) SetStrProp(Dest, D, GetStrProp(Source, S));
      break;
    case tkWString:
      if (D->SetWStr) SetWideStrProp(Dest, D, GetWideStrProp(Source, S));
      else if (D->SetStr) SetStrProp(Dest, D, GetStrProp(Source, S));
      break;
    default: break;
  }
}

void CopyPublishedProps(TObject* Source, TObject* Dest, const AnsiString* SkipList) {
  if (!Source || !Dest || Source == Dest) return;
  TStringList Skip;
  if (SkipList) Skip.SetCommaText(*SkipList);
  for (const TPropInfo* P : Source->ClassType()->Properties())
    if (Skip.IndexOf(P->Name) < 0) CopyPublishedProp(Source, Dest, P->Name);
}

void AssignPropList(TObject* Source, TObject* Dest, const AnsiString& Names) {
  if (!Source || !Dest || Source == Dest) return;
  TStringList List;
  List.SetCommaText(Names);
  for (Integer I = 0; I < List.GetCount(); ++I) CopyPublishedProp(Source, Dest, List.GetStrings(I));
}

void EnumPublishedProps(TObject* Obj, bool OnlyStored, const TEnumPropProc& Proc) {
  if (!Obj) return;
  for (const TPropInfo* P : GetPropList(Obj->ClassType()))
    if (!OnlyStored || P->IsStored(Obj)) Proc(Obj, P);
}

// ---------------------------------------------------------------------------
// Components and objects

void SaveComponentToRegistry(const AnsiString& Path, TPersistent* Obj, bool AsText) {
  TRegistryStream Stream(Path, fmCreate);
  if (AsText)
    WriteComponentText(&Stream, Obj);
  else
    WriteComponentBinary(&Stream, Obj);
  Stream.Commit();
}

void LoadComponentFromRegistry(const AnsiString& Path, TPersistent* Obj, bool AsText) {
  TRegistryStream Stream(Path, fmOpenRead);
  if (Stream.GetSize() == 0) return;
  Stream.SetPosition(0);
  if (AsText)
    ReadComponentText(&Stream, Obj);
  else
    ReadComponentBinary(&Stream, Obj);
}

void SavePropsToRegistry(TPersistent* Obj, const AnsiString& Key) {
  if (!Obj) return;
  // Each value closes its key; the store is written once at the end.
  TRegWriteBatch Batch;
  const AnsiString Prefix = AddBackslash(Key);
  for (const TPropInfo* P : GetPropList(Obj->ClassType())) {
    if (!P->IsStored(Obj)) continue;
    const AnsiString Path = Prefix + P->Name;
    if (P->Kind() == tkClass) {
      TObject* Sub = GetObjectProp(Obj, P);
      if (auto* S = dynamic_cast<TStrings*>(Sub))
        WriteToRegistry(Path, Variant(S->GetText()));
      else if (auto* C = dynamic_cast<TCollection*>(Sub))
        SaveTextObjectToRegistry(Path, C);
      else if (auto* O = dynamic_cast<TPersistent*>(Sub))
        SavePropsToRegistry(O, Path);
      continue;
    }
    WriteToRegistry(Path, GetPropAsVariant(Obj, P));
  }
}

void LoadPropsFromRegistry(TPersistent* Obj, const AnsiString& Key) {
  if (!Obj) return;
  const AnsiString Prefix = AddBackslash(Key);
  for (const TPropInfo* P : GetPropList(Obj->ClassType())) {
    if (!P->IsStored(Obj)) continue;
    const AnsiString Path = Prefix + P->Name;
    // A value that does not read as its property's type (written by another
    // version, or by hand) leaves the property as it was.
    try {
      if (P->Kind() == tkClass) {
        TObject* Sub = GetObjectProp(Obj, P);
        if (auto* S = dynamic_cast<TStrings*>(Sub))
          S->SetText(ReadFromRegistry(Path, Variant(S->GetText())).AsString());
        else if (auto* C = dynamic_cast<TCollection*>(Sub))
          LoadTextObjectFromRegistry(Path, C);
        else if (auto* O = dynamic_cast<TPersistent*>(Sub))
          LoadPropsFromRegistry(O, Path);
        continue;
      }
      const Variant Current = GetPropAsVariant(Obj, P);
      if (VarIsEmpty(Current) || !P->Writable()) continue;
      SetPropFromVariant(Obj, P, ReadFromRegistry(Path, Current));
    } catch (const Exception&) {
    }
  }
}
