#include "platform/rtl/Filer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <mutex>

#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/ObjectModel_p.h"

namespace {
constexpr char Signature[4] = {'T', 'P', 'F', '0'};

// Loading brackets and global finders are used from the one thread that
// builds forms; the lock only keeps registrations sane.
//
// A bracket belongs to the reading level that opened it. A read that starts
// while another is under way (a property whose value is an object text of
// its own, read into a temporary object) is not one of the roots being
// loaded as one: it opens its own bracket or keeps its own list, so its
// objects, which may be freed as soon as it returns, never enter the outer
// list, and its Loaded calls reach none of the outer components early.
struct TLoadingScope {
  std::vector<TComponent*> Loaded;
  int Count = 0;      // Begin calls not yet ended
  int ReadLevel = 0;  // root reads under way when it was opened
};
std::deque<TLoadingScope>& LoadingScopes() {
  static std::deque<TLoadingScope> S;
  return S;
}
int RootReadsUnderWay = 0;
// The bracket of the current reading level, nil when none is open there.
TLoadingScope* CurrentScope() {
  auto& S = LoadingScopes();
  return !S.empty() && S.back().ReadLevel == RootReadsUnderWay ? &S.back() : nullptr;
}
std::mutex FindersLock;
std::vector<TFindGlobalComponent>& Finders() {
  static std::vector<TFindGlobalComponent> F;
  return F;
}

struct TDepthGuard {
  int& Depth;
  TDepthGuard(int& D, int Max, const char* What) : Depth(D) {
    if (++Depth > Max) {
      --Depth;
      throw EReadError(AnsiString(What) + " nested too deeply");
    }
  }
  ~TDepthGuard() { --Depth; }
};

// UTF-8 as found after vaUTF8String; malformed bytes become U+FFFD.
WideString Utf8ToWide(const AnsiString& S) {
  WideString W;
  for (size_t i = 0; i < S.size();) {
    const Byte B = Byte(S[i]);
    UInt64 Cp = 0;
    int Len = B < 0x80 ? 1 : (B >> 5) == 6 ? 2 : (B >> 4) == 14 ? 3 : (B >> 3) == 30 ? 4 : 0;
    if (Len == 0 || i + size_t(Len) > S.size()) {
      W += char16_t(0xFFFD);
      ++i;
      continue;
    }
    Cp = Len == 1 ? B : (B & (0x7F >> Len));
    for (int k = 1; k < Len; ++k) Cp = (Cp << 6) | (Byte(S[i + size_t(k)]) & 0x3F);
    i += size_t(Len);
    if (Cp >= 0x10000) {
      Cp -= 0x10000;
      W += char16_t(0xD800 + (Cp >> 10));
      W += char16_t(0xDC00 + (Cp & 0x3FF));
    } else {
      W += char16_t(Cp);
    }
  }
  return W;
}
}  // namespace

// ---------------------------------------------------------------------------
// 80-bit extended.

void DoubleToExtended(double V, Byte Out[10]) {
  std::memset(Out, 0, 10);
  const bool Neg = std::signbit(V);
  UInt64 Mant = 0;
  unsigned Exp = 0;
  if (std::isnan(V)) {
    Exp = 0x7FFF;
    Mant = 0xC000000000000000ull;
  } else if (std::isinf(V)) {
    Exp = 0x7FFF;
    Mant = 0x8000000000000000ull;
  } else if (V != 0) {
    int E = 0;
    double M = std::frexp(std::fabs(V), &E);  // M in [0.5, 1)
    Mant = UInt64(std::ldexp(M, 64));
    Exp = unsigned(E - 1 + 16383);
  }
  for (int i = 0; i < 8; ++i) Out[i] = Byte(Mant >> (8 * i));
  const unsigned SE = Exp | (Neg ? 0x8000u : 0u);
  Out[8] = Byte(SE);
  Out[9] = Byte(SE >> 8);
}

double ExtendedToDouble(const Byte In[10]) {
  UInt64 Mant = 0;
  for (int i = 0; i < 8; ++i) Mant |= UInt64(In[i]) << (8 * i);
  const unsigned SE = unsigned(In[8]) | (unsigned(In[9]) << 8);
  const bool Neg = SE & 0x8000;
  const int Exp = int(SE & 0x7FFF);
  double V;
  if (Exp == 0x7FFF) V = (Mant << 1) ? std::nan("") : INFINITY;
  else if (Mant == 0) V = 0;
  else V = std::ldexp(double(Mant), Exp - 16383 - 63);
  return Neg ? -V : V;
}

// ---------------------------------------------------------------------------
// Global loading and finders.

void BeginGlobalLoading() {
  if (TLoadingScope* S = CurrentScope()) {
    ++S->Count;
    return;
  }
  LoadingScopes().push_back(TLoadingScope{{}, 1, RootReadsUnderWay});
}

void NotifyGlobalLoading() {
  TLoadingScope* S = CurrentScope();
  if (!S) return;
  // By index: a Loaded may read more of the same bracket's roots.
  for (size_t i = 0; i < S->Loaded.size(); ++i) {
    TComponent* C = S->Loaded[i];
    if (C->ComponentState().Contains(csLoading)) C->Loaded();
    S = CurrentScope();
    if (!S) return;
  }
}

void EndGlobalLoading() {
  TLoadingScope* S = CurrentScope();
  if (!S) return;
  if (--S->Count == 0) LoadingScopes().pop_back();
}

void RegisterFindGlobalComponentProc(TFindGlobalComponent Proc) {
  std::lock_guard<std::mutex> L(FindersLock);
  if (std::find(Finders().begin(), Finders().end(), Proc) == Finders().end()) Finders().push_back(Proc);
}
void UnregisterFindGlobalComponentProc(TFindGlobalComponent Proc) {
  std::lock_guard<std::mutex> L(FindersLock);
  std::erase(Finders(), Proc);
}
TComponent* FindGlobalComponent(const AnsiString& Name) {
  std::vector<TFindGlobalComponent> F;
  {
    std::lock_guard<std::mutex> L(FindersLock);
    F = Finders();
  }
  for (auto It = F.rbegin(); It != F.rend(); ++It)
    if (TComponent* C = (*It)(Name)) return C;
  return nullptr;
}

// ---------------------------------------------------------------------------
// TReader: values.

TReader::~TReader() = default;

void TReader::Error(const AnsiString& Message) { throw EReadError(Message); }

Int64 TReader::Remaining() { return FStream->GetSize() - FStream->GetPosition(); }

void TReader::ReadBytes(void* Buf, Int64 Count) {
  if (Count < 0 || Count > Remaining()) Error("Stream read error");
  if (Count) FStream->ReadBuffer(Buf, Integer(Count));
}

TValueType TReader::ReadValue() {
  Byte B = 0;
  ReadBytes(&B, 1);
  if (B > vaDouble) Error("Invalid stream format: unknown value type " + std::to_string(B));
  return TValueType(B);
}

TValueType TReader::NextValue() {
  TValueType V = ReadValue();
  FStream->Seek(Int64(-1), TSeekOrigin::soCurrent);
  return V;
}

// Peeks at the raw byte: before a component it may be a prefix (0xF0 | flags),
// which is no value type.
bool TReader::EndOfList() {
  Byte B = 0;
  ReadBytes(&B, 1);
  FStream->Seek(Int64(-1), TSeekOrigin::soCurrent);
  return B == vaNull;
}

void TReader::ReadListBegin() {
  if (ReadValue() != vaList) Error("Invalid property value: list expected");
}
void TReader::ReadListEnd() {
  if (ReadValue() != vaNull) Error("Invalid property value: end of list expected");
}

Int64 TReader::ReadInt64() {
  switch (ReadValue()) {
    case vaInt8: {
      std::int8_t V;
      ReadBytes(&V, 1);
      return V;
    }
    case vaInt16: return FStream->ReadI16();
    case vaInt32: return FStream->ReadI32();
    case vaInt64: return FStream->ReadI64();
    default: Error("Invalid property value: integer expected");
  }
}

Integer TReader::ReadInteger() {
  Int64 V = ReadInt64();
  if (V < INT32_MIN || V > INT32_MAX) Error("Invalid property value: integer out of range");
  return Integer(V);
}

bool TReader::ReadBoolean() {
  TValueType V = ReadValue();
  if (V != vaTrue && V != vaFalse) Error("Invalid property value: Boolean expected");
  return V == vaTrue;
}

char TReader::ReadChar() {
  AnsiString S = ReadString();
  if (S.size() != 1) Error("Invalid property value: one character expected");
  return S[0];
}

double TReader::ReadFloat() {
  switch (NextValue()) {
    case vaExtended: {
      ReadValue();
      Byte B[10];
      ReadBytes(B, 10);
      return ExtendedToDouble(B);
    }
    case vaDouble: ReadValue(); return FStream->ReadDouble();
    case vaSingle: ReadValue(); return FStream->ReadSingle();
    case vaCurrency: ReadValue(); return double(FStream->ReadI64()) / 10000.0;
    case vaDate: ReadValue(); return FStream->ReadDouble();
    default: return double(ReadInt64());
  }
}

AnsiString TReader::ReadStr() {
  Byte Len = 0;
  ReadBytes(&Len, 1);
  AnsiString S(Len, '\0');
  ReadBytes(S.data(), Len);
  return S;
}

AnsiString TReader::ReadString() {
  switch (ReadValue()) {
    case vaString: {
      Byte Len = 0;
      ReadBytes(&Len, 1);
      AnsiString S(Len, '\0');
      ReadBytes(S.data(), Len);
      return S;
    }
    case vaLString:
    case vaUTF8String: {
      FStream->Seek(Int64(-1), TSeekOrigin::soCurrent);
      TValueType T = ReadValue();
      Int64 Len = FStream->ReadI32();
      if (Len < 0 || Len > Remaining()) Error("Invalid stream format: string longer than the stream");
      AnsiString S(size_t(Len), '\0');
      ReadBytes(S.data(), Len);
      return T == vaUTF8String ? sx_name::WideToAnsi(Utf8ToWide(S)) : S;
    }
    case vaWString: {
      FStream->Seek(Int64(-1), TSeekOrigin::soCurrent);
      return sx_name::WideToAnsi(ReadWideString());
    }
    default: Error("Invalid property value: string expected");
  }
}

WideString TReader::ReadWideString() {
  if (NextValue() != vaWString) return NextValue() == vaUTF8String ? [&] {
    ReadValue();
    Int64 Len = FStream->ReadI32();
    if (Len < 0 || Len > Remaining()) Error("Invalid stream format: string longer than the stream");
    AnsiString S(size_t(Len), '\0');
    ReadBytes(S.data(), Len);
    return Utf8ToWide(S);
  }() : sx_name::AnsiToWide(ReadString());
  ReadValue();
  Int64 Count = FStream->ReadI32();
  if (Count < 0 || Count * 2 > Remaining()) Error("Invalid stream format: string longer than the stream");
  WideString W(size_t(Count), u'\0');
  for (auto& C : W) C = char16_t(FStream->ReadU16());
  return W;
}

AnsiString TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default: Error("Invalid property value: identifier expected");
  }
}

Int64 TReader::ReadSet(const TTypeInfo* SetType) {
  if (ReadValue() != vaSet) Error("Invalid property value: set expected");
  UInt64 Bits = 0;
  for (;;) {
    AnsiString Name = ReadStr();
    if (Name.empty()) break;
    Integer E = GetEnumValue(SetType ? SetType->CompType : nullptr, Name);
    if (E < 0 || E > 63) Error("Invalid property value: " + Name + " is not an element of " + SetType->Name);
    Bits |= UInt64(1) << E;
  }
  return Int64(Bits);
}

void TReader::SkipValue() {
  TDepthGuard G(FDepth, MaxObjectNesting, "Lists");
  switch (NextValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: ReadValue(); return;
    case vaList:
      ReadValue();
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      return;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64: ReadInt64(); return;
    case vaExtended:
    case vaDouble:
    case vaSingle:
    case vaCurrency:
    case vaDate: ReadFloat(); return;
    case vaString:
    case vaLString:
    case vaUTF8String:
    case vaWString: ReadString(); return;
    case vaIdent: ReadIdent(); return;
    case vaSet: ReadSet(nullptr); return;
    case vaBinary: {
      ReadValue();
      Int64 Count = FStream->ReadU32();
      if (Count > Remaining()) Error("Invalid stream format: binary data longer than the stream");
      FStream->Seek(Count, TSeekOrigin::soCurrent);
      return;
    }
    case vaCollection:
      ReadValue();
      while (!EndOfList()) {
        if (NextValue() == vaInt8 || NextValue() == vaInt16 || NextValue() == vaInt32) ReadInteger();
        ReadListBegin();
        while (!EndOfList()) {
          ReadStr();
          SkipValue();
        }
        ReadListEnd();
      }
      ReadListEnd();
      return;
  }
}

// ---------------------------------------------------------------------------
// TReader: components and properties.

void TReader::ReadSignature() {
  char S[4] = {};
  ReadBytes(S, 4);
  if (std::memcmp(S, Signature, 4) != 0) Error("Invalid stream format");
}

void TReader::ReadPrefix(TFilerFlags& Flags, Integer& AChildPos) {
  Flags.Clear();
  AChildPos = 0;
  Byte B = 0;
  ReadBytes(&B, 1);
  if ((B & 0xF0) != 0xF0) {
    FStream->Seek(Int64(-1), TSeekOrigin::soCurrent);
    return;
  }
  Flags = TFilerFlags::FromOrdinal(B & 0x07);
  if (Flags.Contains(ffChildPos)) AChildPos = ReadInteger();
}

void TReader::DefineProperty(const AnsiString& Name, const TReaderProc& ReadData, const TWriterProc&, bool) {
  if (ReadData && !FPropName.empty() && sx_name::SameText(Name, FPropName)) {
    FPropName.clear();
    ReadData(this);
  }
}

void TReader::DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData, const TStreamProc&, bool) {
  if (!ReadData || FPropName.empty() || !sx_name::SameText(Name, FPropName)) return;
  FPropName.clear();
  if (ReadValue() != vaBinary) Error("Invalid property value: binary data expected for " + Name);
  Int64 Count = FStream->ReadU32();
  if (Count > Remaining()) Error("Invalid stream format: binary data longer than the stream");
  TMemoryStream M;
  if (Count) M.CopyFrom(FStream, Count);
  M.SetPosition(0);
  ReadData(&M);
}

void TReader::ReadCollection(TCollection* Collection) {
  TDepthGuard G(FDepth, MaxObjectNesting, "Collections");
  Collection->BeginUpdate();
  {
    TUpdateGuard Update(*Collection, UpdateBegun);
    if (!EndOfList()) Collection->Clear();
    while (!EndOfList()) {
      TValueType V = NextValue();
      if (V == vaInt8 || V == vaInt16 || V == vaInt32) ReadInteger();  // the item's order, not used
      ReadListBegin();
      TCollectionItem* Item = Collection->Add();
      while (!EndOfList()) ReadProperty(Item);
      ReadListEnd();
    }
    ReadListEnd();
  }
}

void TReader::ReadProperty(TPersistent* Instance) {
  const AnsiString Path = ReadStr();
  const Int64 ValueStart = FStream->GetPosition();
  // The value is whole in the stream whatever failed, so a handled error
  // goes back to its start and steps over it.
  auto Handled = [&](const AnsiString& Message) {
    if (!OnError) return false;
    bool H = false;
    OnError(this, Message, H);
    if (!H) return false;
    FPropName.clear();
    FStream->SetPosition(ValueStart);
    SkipValue();
    return true;
  };
  try {
    TPersistent* Obj = Instance;
    size_t Start = 0;
    for (;;) {
      size_t Dot = Path.find('.', Start);
      AnsiString Step = Path.substr(Start, Dot == AnsiString::npos ? AnsiString::npos : Dot - Start);
      const TPropInfo* P = GetPropInfo(Obj, Step);
      if (Dot == AnsiString::npos) {
        if (P) {
          ReadPropValue(Obj, P);
        } else {
          FPropName = Step;
          Obj->DefineProperties(this);
          if (!FPropName.empty()) {
            FPropName.clear();
            Error("Property " + Step + " does not exist");
          }
        }
        return;
      }
      if (!P || P->Kind() != tkClass) Error("Property " + Step + " does not exist");
      Obj = dynamic_cast<TPersistent*>(P->GetObj(Obj));
      if (!Obj) Error("Property " + Step + " holds no object");
      Start = Dot + 1;
    }
  } catch (const EReadError& E) {
    if (E.Message().rfind("Error reading ", 0) == 0) throw;
    if (Handled(E.Message())) return;
    AnsiString Who = dynamic_cast<TComponent*>(Instance) ? static_cast<TComponent*>(Instance)->GetName()
                                                         : Instance->ClassName();
    throw EReadError("Error reading " + Who + "." + Path + ": " + E.Message());
  } catch (const EClassNotFound&) {
    throw;
  } catch (const Exception& E) {
    if (Handled(E.Message())) return;
    AnsiString Who = dynamic_cast<TComponent*>(Instance) ? static_cast<TComponent*>(Instance)->GetName()
                                                         : Instance->ClassName();
    throw EReadError("Error reading " + Who + "." + Path + ": " + E.Message());
  }
}

void TReader::ReadPropValue(TObject* Instance, const TPropInfo* Prop) {
  if (!Prop->Writable() && Prop->Kind() != tkClass) Error("Property " + Prop->Name + " is read-only");
  auto BadIdent = [&](const AnsiString& Ident) { Error("Invalid property value " + Ident); };
  switch (Prop->Kind()) {
    case tkInteger: {
      if (NextValue() == vaIdent) {
        AnsiString Ident = ReadIdent();
        Integer V = 0;
        if (!Prop->PropType->IdentToInt || !Prop->PropType->IdentToInt(Ident, V)) BadIdent(Ident);
        Prop->SetOrd(Instance, V);
      } else {
        Prop->SetOrd(Instance, ReadInt64());
      }
      return;
    }
    case tkInt64: Prop->SetOrd(Instance, ReadInt64()); return;
    case tkChar: Prop->SetOrd(Instance, Byte(ReadChar())); return;
    case tkWChar: {
      WideString W = ReadWideString();
      if (W.size() != 1) Error("Invalid property value: one character expected");
      Prop->SetOrd(Instance, W[0]);
      return;
    }
    case tkEnumeration: {
      AnsiString Ident = ReadIdent();
      Integer V = GetEnumValue(Prop->PropType, Ident);
      if (V < 0) BadIdent(Ident);
      Prop->SetOrd(Instance, V);
      return;
    }
    case tkSet: Prop->SetOrd(Instance, ReadSet(Prop->PropType)); return;
    case tkFloat: Prop->SetFloat(Instance, ReadFloat()); return;
    case tkLString: Prop->SetStr(Instance, ReadString()); return;
    case tkWString: Prop->SetWStr(Instance, ReadWideString()); return;
    case tkClass: {
      TValueType V = NextValue();
      if (V == vaNil) {
        ReadValue();
        if (!Prop->SetObj) Error("Property " + Prop->Name + " is read-only");
        Prop->SetObj(Instance, nullptr);
      } else if (V == vaCollection) {
        ReadValue();
        auto* C = dynamic_cast<TCollection*>(Prop->GetObj(Instance));
        if (!C) Error("Property " + Prop->Name + " is not a collection");
        ReadCollection(C);
      } else {
        AnsiString Name = ReadIdent();
        if (!Prop->SetObj) Error("Property " + Prop->Name + " is read-only");
        if (!FFixups) Error("Component reference " + Name + " outside a component");
        FFixups->push_back({Instance, Prop, Name});
      }
      return;
    }
    case tkMethod: {
      if (NextValue() == vaNil) {
        ReadValue();
        Prop->SetMeth(Instance, {});
        return;
      }
      AnsiString Name = ReadIdent();
      TMethod M = FRoot ? FRoot->MethodAddress(Name) : TMethod{};
      if (!M.Code && OnFindMethod) OnFindMethod(this, Name, M);
      if (!M.Code) Error("Method " + Name + " not found");
      SetMethodProp(Instance, Prop, M);
      return;
    }
    default: Error("Property " + Prop->Name + " cannot be read");
  }
}

void TReader::FixupReferences() {
  for (const TFixup& F : *FFixups) {
    TComponent* Found = nullptr;
    AnsiString Rest = F.Name;
    size_t Dot = Rest.find('.');
    AnsiString First = Rest.substr(0, Dot);
    if (FRoot && sx_name::SameText(FRoot->GetName(), First)) Found = FRoot;
    else if (Dot == AnsiString::npos && FRoot) Found = FRoot->FindComponent(First);
    if (!Found) Found = FindGlobalComponent(First);
    while (Found && Dot != AnsiString::npos) {
      size_t Next = Rest.find('.', Dot + 1);
      Found = Found->FindComponent(Rest.substr(Dot + 1, Next == AnsiString::npos ? AnsiString::npos : Next - Dot - 1));
      Dot = Next;
    }
    if (!Found) Error("Error reading " + F.Prop->Name + ": unresolved reference to component " + F.Name);
    try {
      F.Prop->SetObj(F.Instance, Found);
    } catch (const Exception& E) {
      Error("Error reading " + F.Prop->Name + ": " + E.Message());
    }
  }
  FFixups->clear();
}

void TReader::ReadDataInner(TComponent* Instance) {
  while (!EndOfList()) ReadProperty(Instance);
  ReadListEnd();
  TComponent* OldParent = FParent;
  TComponent* OldOwner = FOwner;
  FParent = Instance->GetChildParent();
  FOwner = Instance->GetChildOwner();
  if (!FOwner) FOwner = FRoot;
  try {
    while (!EndOfList()) ReadComponent(nullptr);
    ReadListEnd();
  } catch (...) {
    FParent = OldParent;
    FOwner = OldOwner;
    throw;
  }
  FParent = OldParent;
  FOwner = OldOwner;
}

void TReader::ReadData(TComponent* Instance) {
  if (FFixups) {
    ReadDataInner(Instance);
    return;
  }
  std::vector<TFixup> Fixups;
  FFixups = &Fixups;
  try {
    ReadDataInner(Instance);
    FixupReferences();
  } catch (...) {
    FFixups = nullptr;
    throw;
  }
  FFixups = nullptr;
}

TComponent* TReader::ReadComponent(TComponent* Component) {
  TDepthGuard G(FDepth, MaxObjectNesting, "Components");
  TFilerFlags Flags;
  Integer Pos = 0;
  ReadPrefix(Flags, Pos);
  const AnsiString ClassName = ReadStr();
  const AnsiString Name = ReadStr();
  TComponent* Result = Component;
  bool Created = false;
  try {
    if (!Result) {
      if (Flags.Contains(ffInherited)) {
        Result = FOwner ? FOwner->FindComponent(Name) : nullptr;
        if (!Result) Error("Ancestor for '" + Name + "' not found");
      } else {
        TClass C = FindClass(ClassName);
        if (!C->InheritsFrom(TComponent::StaticClass()) || C->CtorKind() != TCtorKind::Owner)
          Error("Invalid stream format: " + ClassName + " is not a component class");
        Result = CreateComponent(C, FOwner);
        Created = true;
      }
    }
    Result->SetState(csLoading, true);
    if (!Flags.Contains(ffInherited)) {
      try {
        Result->SetName(Name);
      } catch (const EComponentError& E) {
        Error(E.Message());
      }
    }
    Result->SetState(csReading, true);
    Result->ReadState(this);
    Result->SetState(csReading, false);
    if (Flags.Contains(ffChildPos) && FParent) FParent->SetChildOrder(Result, Pos);
    if (FLoaded && std::find(FLoaded->begin(), FLoaded->end(), Result) == FLoaded->end())
      FLoaded->push_back(Result);
  } catch (...) {
    if (Created) {
      if (FLoaded) std::erase(*FLoaded, Result);
      delete Result;
    } else if (Result) {
      Result->SetState(csReading, false);
      Result->SetState(csLoading, false);
    }
    throw;
  }
  return Result;
}

TComponent* TReader::ReadRootComponent(TComponent* ARoot) {
  ReadSignature();
  TFilerFlags Flags;
  Integer Pos = 0;
  ReadPrefix(Flags, Pos);
  const AnsiString ClassName = ReadStr();
  const AnsiString Name = ReadStr();
  TComponent* Result = ARoot;
  bool Created = false;
  if (!Result) {
    TClass C = FindClass(ClassName);
    Result = CreateComponent(C, nullptr);
    Created = true;
  }
  std::vector<TComponent*> LocalLoaded;
  TLoadingScope* Scope = CurrentScope();
  const bool Global = Scope != nullptr;
  FLoaded = Global ? &Scope->Loaded : &LocalLoaded;
  const size_t LoadedMark = FLoaded->size();
  // Reads started from inside this one (by a property's reader) are a level
  // deeper: they keep to their own lists.
  struct TReadLevel {
    TReadLevel() { ++RootReadsUnderWay; }
    ~TReadLevel() { --RootReadsUnderWay; }
  } Level;
  // What the root owned before: anything else it owns afterwards was made here.
  std::vector<TComponent*> Before;
  for (Integer i = 0; i < Result->ComponentCount(); ++i) Before.push_back(Result->Components(i));
  try {
    Result->SetState(csLoading, true);
    Result->SetState(csReading, true);
    // A second instance of a described form under the same owner gets the
    // first free name of Name_1, Name_2 …, as the library names it.
    AnsiString Unique = Name;
    if (TComponent* Owner = Result->Owner(); Owner && !Name.empty()) {
      auto Taken = [&](const AnsiString& N) {
        TComponent* C = Owner->FindComponent(N);
        return C && C != Result;
      };
      for (Integer I = 1; Taken(Unique); ++I) Unique = Name + "_" + std::to_string(I);
    }
    try {
      Result->SetName(Unique);
    } catch (const EComponentError& E) {
      Error(E.Message());
    }
    FRoot = FLookupRoot = FOwner = Result;
    if (std::find(FLoaded->begin(), FLoaded->end(), Result) == FLoaded->end()) FLoaded->push_back(Result);
    Result->ReadState(this);
    Result->SetState(csReading, false);
    if (!Global)
      for (TComponent* C : LocalLoaded) C->Loaded();
  } catch (...) {
    if (Global) FLoaded->resize(std::min(FLoaded->size(), LoadedMark));
    FLoaded = nullptr;
    FRoot = FLookupRoot = FOwner = nullptr;
    if (Created) {
      delete Result;
    } else {
      for (Integer i = Result->ComponentCount(); i-- > 0;) {
        TComponent* C = Result->Components(i);
        if (std::find(Before.begin(), Before.end(), C) == Before.end()) delete C;
      }
      for (Integer i = 0; i < Result->ComponentCount(); ++i) {
        Result->Components(i)->SetState(csLoading, false);
        Result->Components(i)->SetState(csReading, false);
      }
      Result->SetState(csLoading, false);
      Result->SetState(csReading, false);
    }
    throw;
  }
  FLoaded = nullptr;
  return Result;
}

// ---------------------------------------------------------------------------
// TWriter.

void TWriter::WriteValue(TValueType Value) { FStream->WriteU8(Byte(Value)); }
void TWriter::WriteListBegin() { WriteValue(vaList); }
void TWriter::WriteListEnd() { WriteValue(vaNull); }
void TWriter::WriteSignature() { FStream->WriteBuffer(Signature, 4); }

void TWriter::WritePrefix(TFilerFlags Flags, Integer AChildPos) {
  if (Flags.Empty()) return;
  FStream->WriteU8(Byte(0xF0 | (Flags.Ordinal() & 0x07)));
  if (Flags.Contains(ffChildPos)) WriteInteger(AChildPos);
}

void TWriter::WriteInteger(Int64 Value) {
  if (Value >= INT8_MIN && Value <= INT8_MAX) {
    WriteValue(vaInt8);
    FStream->WriteU8(Byte(std::int8_t(Value)));
  } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
    WriteValue(vaInt16);
    FStream->WriteI16(SmallInt(Value));
  } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
    WriteValue(vaInt32);
    FStream->WriteI32(Integer(Value));
  } else {
    WriteValue(vaInt64);
    FStream->WriteI64(Value);
  }
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
void TWriter::WriteChar(char Value) { WriteString(AnsiString(1, Value)); }

void TWriter::WriteFloat(double Value) {
  WriteValue(vaExtended);
  Byte B[10];
  DoubleToExtended(Value, B);
  FStream->WriteBuffer(B, 10);
}

void TWriter::WriteString(const AnsiString& Value) {
  if (Value.size() <= 255) {
    WriteValue(vaString);
    FStream->WriteU8(Byte(Value.size()));
  } else {
    if (Value.size() > size_t(INT32_MAX)) throw EWriteError("String too long for the stream");
    WriteValue(vaLString);
    FStream->WriteI32(Integer(Value.size()));
  }
  if (!Value.empty()) FStream->WriteBuffer(Value.data(), Integer(Value.size()));
}

void TWriter::WriteWideString(const WideString& Value) {
  if (Value.size() > size_t(INT32_MAX / 2)) throw EWriteError("String too long for the stream");
  WriteValue(vaWString);
  FStream->WriteI32(Integer(Value.size()));
  for (char16_t C : Value) FStream->WriteU16(C);
}

void TWriter::WriteStr(const AnsiString& Value) {
  if (Value.size() > 255) throw EWriteError("Name longer than 255 characters: " + Value.substr(0, 32) + "...");
  FStream->WriteU8(Byte(Value.size()));
  if (!Value.empty()) FStream->WriteBuffer(Value.data(), Integer(Value.size()));
}

void TWriter::WriteIdent(const AnsiString& Ident) {
  if (sx_name::SameText(Ident, "False")) WriteValue(vaFalse);
  else if (sx_name::SameText(Ident, "True")) WriteValue(vaTrue);
  else if (sx_name::SameText(Ident, "nil")) WriteValue(vaNil);
  else if (sx_name::SameText(Ident, "Null")) WriteValue(vaNull);
  else {
    WriteValue(vaIdent);
    WriteStr(Ident);
  }
}

void TWriter::WritePropName(const AnsiString& Name) { WriteStr(FPropPath + Name); }

void TWriter::DefineProperty(const AnsiString& Name, const TReaderProc&, const TWriterProc& WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, const TStreamProc&, const TStreamProc& WriteData,
                                   bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteValue(vaBinary);
  TMemoryStream M;
  WriteData(&M);
  const Int64 Size = M.GetSize();
  if (Size > INT32_MAX) throw EWriteError("Binary property " + Name + " too large");
  FStream->WriteU32(DWORD(Size));
  if (Size) FStream->WriteBuffer(M.Memory(), Integer(Size));
}

void TWriter::WriteCollection(TCollection* Collection) {
  WriteValue(vaCollection);
  if (Collection) {
    for (Integer i = 0; i < Collection->Count(); ++i) {
      WriteListBegin();
      const AnsiString Old = FPropPath;
      FPropPath.clear();
      WriteProperties(Collection->Items(i));
      FPropPath = Old;
      WriteListEnd();
    }
  }
  WriteListEnd();
}

AnsiString TWriter::ComponentRefName(TComponent* Component) {
  if (Component == FLookupRoot) return Component->GetName();
  if (Component->Owner() == FLookupRoot) return Component->GetName();
  if (Component->Owner() && !Component->Owner()->GetName().empty() && !Component->GetName().empty())
    return Component->Owner()->GetName() + "." + Component->GetName();
  return Component->GetName();
}

void TWriter::WriteProperties(TPersistent* Instance) {
  if (++FDepth > MaxObjectNesting) {
    --FDepth;
    throw EWriteError("Objects nested too deeply (a property cycle?) at " + FPropPath);
  }
  try {
    for (const TPropInfo* P : Instance->ClassType()->Properties())
      if (P->Writable() && P->IsStored(Instance)) WriteProperty(Instance, P);
    Instance->DefineProperties(this);
  } catch (...) {
    --FDepth;
    throw;
  }
  --FDepth;
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo* P) {
  auto IsDefaultOrd = [&](Int64 V) { return P->Default != TPropInfo::NoDefault && V == P->Default; };
  switch (P->Kind()) {
    case tkInteger: {
      Int64 V = P->GetOrd(Instance);
      if (IsDefaultOrd(V)) return;
      WritePropName(P->Name);
      AnsiString Ident;
      if (P->PropType->IntToIdent && P->PropType->IntToIdent(Integer(V), Ident)) WriteIdent(Ident);
      else WriteInteger(V);
      return;
    }
    case tkChar: {
      Int64 V = P->GetOrd(Instance);
      if (IsDefaultOrd(V)) return;
      WritePropName(P->Name);
      WriteChar(char(V));
      return;
    }
    case tkWChar: {
      Int64 V = P->GetOrd(Instance);
      if (IsDefaultOrd(V)) return;
      WritePropName(P->Name);
      WriteWideString(WideString(1, char16_t(V)));
      return;
    }
    case tkEnumeration: {
      Int64 V = P->GetOrd(Instance);
      if (IsDefaultOrd(V)) return;
      WritePropName(P->Name);
      WriteIdent(GetEnumName(P->PropType, V));
      return;
    }
    case tkSet: {
      Int64 V = P->GetOrd(Instance);
      if (IsDefaultOrd(V)) return;
      WritePropName(P->Name);
      WriteValue(vaSet);
      for (int i = 0; i < 64; ++i) {
        if (!((UInt64(V) >> i) & 1)) continue;
        AnsiString N = GetEnumName(P->PropType->CompType, i);
        if (N.empty()) throw EWriteError("Set " + P->Name + " holds element " + std::to_string(i) + " without a name");
        WriteStr(N);
      }
      WriteStr("");
      return;
    }
    case tkInt64: {
      Int64 V = P->GetOrd(Instance);
      if (V == 0 || IsDefaultOrd(V)) return;
      WritePropName(P->Name);
      WriteInteger(V);
      return;
    }
    case tkFloat: {
      double V = P->GetFloat(Instance);
      if (V == 0) return;
      WritePropName(P->Name);
      WriteFloat(V);
      return;
    }
    case tkLString: {
      AnsiString V = P->GetStr(Instance);
      if (V.empty()) return;
      WritePropName(P->Name);
      WriteString(V);
      return;
    }
    case tkWString: {
      WideString V = P->GetWStr(Instance);
      if (V.empty()) return;
      WritePropName(P->Name);
      WriteWideString(V);
      return;
    }
    case tkClass: {
      TObject* V = P->GetObj(Instance);
      if (!V) return;
      auto* Comp = dynamic_cast<TComponent*>(V);
      if (Comp && !Comp->ComponentStyle().Contains(csSubComponent)) {
        AnsiString Name = ComponentRefName(Comp);
        if (Name.empty()) return;
        WritePropName(P->Name);
        WriteIdent(Name);
      } else if (auto* Coll = dynamic_cast<TCollection*>(V)) {
        WritePropName(P->Name);
        WriteCollection(Coll);
      } else if (auto* Pers = dynamic_cast<TPersistent*>(V)) {
        const AnsiString Old = FPropPath;
        FPropPath += P->Name + ".";
        try {
          WriteProperties(Pers);
        } catch (...) {
          FPropPath = Old;
          throw;
        }
        FPropPath = Old;
      }
      return;
    }
    case tkMethod: {
      TMethod M = P->GetMeth(Instance);
      if (!M.Code) return;
      AnsiString Name = FLookupRoot ? FLookupRoot->MethodName(M) : AnsiString();
      if (Name.empty() && M.Data) Name = M.Data->MethodName(M);
      if (Name.empty()) return;  // a handler set in code, not one a stream can name
      WritePropName(P->Name);
      WriteIdent(Name);
      return;
    }
    default: return;
  }
}

void TWriter::WriteComponent(TComponent* Component) {
  if (++FDepth > MaxObjectNesting) {
    --FDepth;
    throw EWriteError("Components nested too deeply");
  }
  const bool Was = Component->ComponentState().Contains(csWriting);
  Component->SetState(csWriting, true);
  try {
    WritePrefix({}, 0);
    WriteStr(Component->ClassName());
    WriteStr(Component->GetName());
    Component->WriteState(this);
  } catch (...) {
    Component->SetState(csWriting, Was);
    --FDepth;
    throw;
  }
  Component->SetState(csWriting, Was);
  --FDepth;
}

void TWriter::WriteData(TComponent* Instance) {
  WriteProperties(Instance);
  WriteListEnd();
  Instance->GetChildren([this](TComponent* Child) { WriteComponent(Child); }, FRoot);
  WriteListEnd();
}

void TWriter::WriteRootComponent(TComponent* ARoot) {
  WriteSignature();
  FRoot = FLookupRoot = ARoot;
  WriteComponent(ARoot);
}
