#include "platform/rtl/TypInfo.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>

#include "platform/rtl/Component.h"
#include "platform/rtl/ObjectModel_p.h"

// ---------------------------------------------------------------------------
// Type information.

TTypeInfo TTypeInfo::MakeEnum(const char* Name, const char* Names) {
  TTypeInfo I;
  I.Kind = tkEnumeration;
  I.Name = Name;
  AnsiString Item;
  auto Flush = [&] {
    auto Eq = Item.find('=');
    if (Eq != AnsiString::npos) Item.erase(Eq);
    I.EnumNames.push_back(sx_name::Trim(Item));
    Item.clear();
  };
  for (const char* P = Names; *P; ++P) {
    if (*P == ',') Flush();
    else Item += *P;
  }
  if (!sx_name::Trim(Item).empty()) Flush();
  return I;
}

namespace {
TTypeInfo MakeSimple(TTypeKind Kind, const char* Name) {
  TTypeInfo I;
  I.Kind = Kind;
  I.Name = Name;
  return I;
}
}  // namespace

const TTypeInfo* BooleanTypeInfo() {
  static const TTypeInfo I = TTypeInfo::MakeEnum("Boolean", "False, True");
  return &I;
}
const TTypeInfo* CharTypeInfo() {
  static const TTypeInfo I = MakeSimple(tkChar, "Char");
  return &I;
}
const TTypeInfo* WideCharTypeInfo() {
  static const TTypeInfo I = MakeSimple(tkWChar, "WideChar");
  return &I;
}
const TTypeInfo* IntegerTypeInfo() {
  static const TTypeInfo I = MakeSimple(tkInteger, "Integer");
  return &I;
}
const TTypeInfo* Int64TypeInfo() {
  static const TTypeInfo I = MakeSimple(tkInt64, "Int64");
  return &I;
}
const TTypeInfo* DoubleTypeInfo() {
  static const TTypeInfo I = MakeSimple(tkFloat, "Double");
  return &I;
}
const TTypeInfo* AnsiStringTypeInfo() {
  static const TTypeInfo I = MakeSimple(tkLString, "AnsiString");
  return &I;
}
const TTypeInfo* WideStringTypeInfo() {
  static const TTypeInfo I = MakeSimple(tkWString, "WideString");
  return &I;
}

namespace {
std::mutex& IntConstsLock() {
  static std::mutex M;
  return M;
}
}  // namespace

void RegisterIntegerConsts(const TTypeInfo* IntType, TIdentToInt IdentToInt, TIntToIdent IntToIdent) {
  if (!IntType) return;
  std::lock_guard<std::mutex> L(IntConstsLock());
  auto* T = const_cast<TTypeInfo*>(IntType);
  T->IdentToInt = IdentToInt;
  T->IntToIdent = IntToIdent;
}

TPropBuilder& TPropBuilder::Type(const TTypeInfo* Info) {
  // A different kind would route the value through the wrong accessors.
  if (!Info || !FProp.PropType || Info->Kind != FProp.PropType->Kind)
    throw EPropertyError("Property " + FProp.Name + " cannot take type " + (Info ? Info->Name : AnsiString("nil")));
  FProp.PropType = Info;
  return *this;
}

// ---------------------------------------------------------------------------
// Class information.

TClassInfo::TClassInfo(const char* AName, TClass AParent, TCtorKind ACtor, TFactory AFactory,
                       TDeclare ADeclare)
    : FName(AName), FParent(AParent), FCtor(ACtor), FFactory(AFactory), FDeclare(ADeclare) {
  FTypeInfo.Kind = tkClass;
  FTypeInfo.Name = FName;
  FTypeInfo.ClassType = this;
}

bool TClassInfo::InheritsFrom(TClass AClass) const {
  for (TClass C = this; C; C = C->FParent)
    if (C == AClass) return true;
  return false;
}

TObject* TClassInfo::Create(void* Arg) const {
  TObject* O = (FCtor == TCtorKind::None || !FFactory) ? nullptr : FFactory(Arg);
  if (!O) throw EInvalidOperation("Cannot create an instance of class " + FName);
  return O;
}

void TClassInfo::EnsureBuilt() const {
  std::call_once(FBuilt, [this] {
    auto* Self = const_cast<TClassInfo*>(this);
    if (FParent) FProps = FParent->Properties();
    if (FDeclare) FDeclare(*Self);
    for (auto& Own : FOwnProps) {
      auto Same = std::find_if(FProps.begin(), FProps.end(), [&](const TPropInfo* P) {
        return sx_name::SameText(P->Name, Own->Name);
      });
      if (Same != FProps.end()) *Same = Own.get();
      else FProps.push_back(Own.get());
    }
  });
}

const std::vector<const TPropInfo*>& TClassInfo::Properties() const {
  EnsureBuilt();
  return FProps;
}

const TPropInfo* TClassInfo::FindProperty(const AnsiString& Name) const {
  for (const TPropInfo* P : Properties())
    if (sx_name::SameText(P->Name, Name)) return P;
  return nullptr;
}

const TMethodEntry* TClassInfo::FindMethod(const AnsiString& Name) const {
  for (TClass C = this; C; C = C->FParent) {
    C->EnsureBuilt();
    for (const TMethodEntry& M : C->FMethods)
      if (sx_name::SameText(M.Name, Name)) return &M;
  }
  return nullptr;
}

const TMethodEntry* TClassInfo::FindMethod(TMethodCode Code) const {
  if (!Code) return nullptr;
  for (TClass C = this; C; C = C->FParent) {
    C->EnsureBuilt();
    for (const TMethodEntry& M : C->FMethods)
      if (M.Code == Code) return &M;
  }
  return nullptr;
}

TPropInfo& TClassInfo::AddProperty(const AnsiString& Name, const TTypeInfo* Type) {
  for (auto& P : FOwnProps)
    if (sx_name::SameText(P->Name, Name)) throw EPropertyError("Property " + Name + " declared twice in " + FName);
  FOwnProps.push_back(std::make_unique<TPropInfo>());
  TPropInfo& P = *FOwnProps.back();
  P.Name = Name;
  P.PropType = Type;
  P.Declarer = this;
  return P;
}

void TClassInfo::AddMethod(TMethodEntry Entry) { FMethods.push_back(std::move(Entry)); }

// ---------------------------------------------------------------------------
// TObject's class-reference half.

TClass TObject::StaticClass() {
  static const TClassInfo Info("TObject", nullptr, TCtorKind::Plain,
                               [](void*) -> TObject* { return new TObject(); }, nullptr);
  return &Info;
}
AnsiString TObject::ClassName() const { return ClassType()->ClassName(); }
TClass TObject::ClassParent() const { return ClassType()->ClassParent(); }
bool TObject::InheritsFrom(TClass AClass) const { return ClassType()->InheritsFrom(AClass); }

TMethod TObject::MethodAddress(const AnsiString& Name) const {
  const TMethodEntry* E = ClassType()->FindMethod(Name);
  if (!E) return {};
  return {const_cast<TObject*>(this), E->Code, E->Signature};
}

AnsiString TObject::MethodName(const TMethod& Method) const {
  const TMethodEntry* E = ClassType()->FindMethod(Method.Code);
  return E ? E->Name : AnsiString();
}

// ---------------------------------------------------------------------------
// Property access.

const TPropInfo* GetPropInfo(TClass AClass, const AnsiString& Name) {
  return AClass ? AClass->FindProperty(Name) : nullptr;
}
const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& Name) {
  return Instance ? GetPropInfo(Instance->ClassType(), Name) : nullptr;
}
bool IsPublishedProp(TClass AClass, const AnsiString& Name) { return GetPropInfo(AClass, Name) != nullptr; }
bool IsPublishedProp(const TObject* Instance, const AnsiString& Name) {
  return GetPropInfo(Instance, Name) != nullptr;
}

namespace {
const TPropInfo* Need(const TObject* Instance, const AnsiString& Name) {
  if (!Instance) throw EPropertyError("Property " + Name + " read from a nil object");
  const TPropInfo* P = GetPropInfo(Instance, Name);
  if (!P) throw EPropertyError("Property " + Name + " does not exist");
  return P;
}
[[noreturn]] void WrongKind(const TPropInfo* P, const char* Want) {
  throw EPropertyError("Property " + P->Name + " is not " + Want);
}
[[noreturn]] void ReadOnly(const TPropInfo* P) { throw EPropertyError("Property " + P->Name + " is read-only"); }
}  // namespace

TTypeKind PropType(const TObject* Instance, const AnsiString& Name) { return Need(Instance, Name)->Kind(); }

std::vector<const TPropInfo*> GetPropList(TClass AClass) {
  std::vector<const TPropInfo*> L = AClass ? AClass->Properties() : std::vector<const TPropInfo*>{};
  std::stable_sort(L.begin(), L.end(),
                   [](const TPropInfo* A, const TPropInfo* B) { return sx_name::CompareText(A->Name, B->Name) < 0; });
  return L;
}
std::vector<const TPropInfo*> GetPropList(TClass AClass, TTypeKinds Kinds) {
  auto L = GetPropList(AClass);
  std::erase_if(L, [&](const TPropInfo* P) { return !Kinds.Contains(P->Kind()); });
  return L;
}

Int64 GetOrdProp(TObject* Instance, const TPropInfo* Prop) {
  if (Prop->GetOrd) return Prop->GetOrd(Instance);
  if (Prop->GetObj) return Int64(reinterpret_cast<std::intptr_t>(Prop->GetObj(Instance)));
  WrongKind(Prop, "ordinal");
}
void SetOrdProp(TObject* Instance, const TPropInfo* Prop, Int64 Value) {
  if (Prop->Kind() == tkClass) {
    if (!Prop->SetObj) ReadOnly(Prop);
    Prop->SetObj(Instance, reinterpret_cast<TObject*>(std::intptr_t(Value)));
    return;
  }
  if (!Prop->GetOrd) WrongKind(Prop, "ordinal");
  if (!Prop->SetOrd) ReadOnly(Prop);
  Prop->SetOrd(Instance, Value);
}
Int64 GetOrdProp(TObject* Instance, const AnsiString& Name) { return GetOrdProp(Instance, Need(Instance, Name)); }
void SetOrdProp(TObject* Instance, const AnsiString& Name, Int64 Value) {
  SetOrdProp(Instance, Need(Instance, Name), Value);
}
Int64 GetInt64Prop(TObject* Instance, const AnsiString& Name) { return GetOrdProp(Instance, Name); }
void SetInt64Prop(TObject* Instance, const AnsiString& Name, Int64 Value) { SetOrdProp(Instance, Name, Value); }

AnsiString GetEnumProp(TObject* Instance, const AnsiString& Name) {
  const TPropInfo* P = Need(Instance, Name);
  if (P->Kind() != tkEnumeration) WrongKind(P, "an enumeration");
  return GetEnumName(P->PropType, GetOrdProp(Instance, P));
}
void SetEnumProp(TObject* Instance, const AnsiString& Name, const AnsiString& Value) {
  const TPropInfo* P = Need(Instance, Name);
  if (P->Kind() != tkEnumeration) WrongKind(P, "an enumeration");
  Integer V = GetEnumValue(P->PropType, Value);
  if (V < 0) throw EPropertyError("Invalid property element: " + Value);
  SetOrdProp(Instance, P, V);
}
AnsiString GetSetProp(TObject* Instance, const AnsiString& Name, bool Brackets) {
  const TPropInfo* P = Need(Instance, Name);
  if (P->Kind() != tkSet) WrongKind(P, "a set");
  return SetToString(P->PropType, GetOrdProp(Instance, P), Brackets);
}
void SetSetProp(TObject* Instance, const AnsiString& Name, const AnsiString& Value) {
  const TPropInfo* P = Need(Instance, Name);
  if (P->Kind() != tkSet) WrongKind(P, "a set");
  SetOrdProp(Instance, P, StringToSet(P->PropType, Value));
}

double GetFloatProp(TObject* Instance, const TPropInfo* Prop) {
  if (!Prop->GetFloat) WrongKind(Prop, "a float");
  return Prop->GetFloat(Instance);
}
void SetFloatProp(TObject* Instance, const TPropInfo* Prop, double Value) {
  if (!Prop->GetFloat) WrongKind(Prop, "a float");
  if (!Prop->SetFloat) ReadOnly(Prop);
  Prop->SetFloat(Instance, Value);
}
double GetFloatProp(TObject* Instance, const AnsiString& Name) { return GetFloatProp(Instance, Need(Instance, Name)); }
void SetFloatProp(TObject* Instance, const AnsiString& Name, double Value) {
  SetFloatProp(Instance, Need(Instance, Name), Value);
}

AnsiString GetStrProp(TObject* Instance, const TPropInfo* Prop) {
  switch (Prop->Kind()) {
    case tkLString: return Prop->GetStr(Instance);
    case tkWString: return sx_name::WideToAnsi(Prop->GetWStr(Instance));
    case tkChar: return AnsiString(1, char(Prop->GetOrd(Instance)));
    case tkWChar: return sx_name::WideToAnsi(WideString(1, char16_t(Prop->GetOrd(Instance))));
    default: WrongKind(Prop, "a string");
  }
}
void SetStrProp(TObject* Instance, const TPropInfo* Prop, const AnsiString& Value) {
  if (!Prop->Writable()) ReadOnly(Prop);
  switch (Prop->Kind()) {
    case tkLString: Prop->SetStr(Instance, Value); return;
    case tkWString: Prop->SetWStr(Instance, sx_name::AnsiToWide(Value)); return;
    case tkChar: Prop->SetOrd(Instance, Value.empty() ? 0 : Byte(Value[0])); return;
    case tkWChar: {
      WideString W = sx_name::AnsiToWide(Value);
      Prop->SetOrd(Instance, W.empty() ? 0 : W[0]);
      return;
    }
    default: WrongKind(Prop, "a string");
  }
}
AnsiString GetStrProp(TObject* Instance, const AnsiString& Name) { return GetStrProp(Instance, Need(Instance, Name)); }
void SetStrProp(TObject* Instance, const AnsiString& Name, const AnsiString& Value) {
  SetStrProp(Instance, Need(Instance, Name), Value);
}
WideString GetWideStrProp(TObject* Instance, const TPropInfo* Prop) {
  if (Prop->Kind() == tkWString) return Prop->GetWStr(Instance);
  if (Prop->Kind() == tkWChar) return WideString(1, char16_t(Prop->GetOrd(Instance)));
  return sx_name::AnsiToWide(GetStrProp(Instance, Prop));
}
void SetWideStrProp(TObject* Instance, const TPropInfo* Prop, const WideString& Value) {
  if (Prop->Kind() == tkWString) {
    if (!Prop->SetWStr) ReadOnly(Prop);
    Prop->SetWStr(Instance, Value);
    return;
  }
  if (Prop->Kind() == tkWChar) {
    if (!Prop->SetOrd) ReadOnly(Prop);
    Prop->SetOrd(Instance, Value.empty() ? 0 : Value[0]);
    return;
  }
  SetStrProp(Instance, Prop, sx_name::WideToAnsi(Value));
}

TObject* GetObjectProp(TObject* Instance, const TPropInfo* Prop) {
  if (!Prop->GetObj) WrongKind(Prop, "an object");
  return Prop->GetObj(Instance);
}
void SetObjectProp(TObject* Instance, const TPropInfo* Prop, TObject* Value) {
  if (!Prop->GetObj) WrongKind(Prop, "an object");
  if (!Prop->SetObj) ReadOnly(Prop);
  Prop->SetObj(Instance, Value);
}
TObject* GetObjectProp(TObject* Instance, const AnsiString& Name) { return GetObjectProp(Instance, Need(Instance, Name)); }
void SetObjectProp(TObject* Instance, const AnsiString& Name, TObject* Value) {
  SetObjectProp(Instance, Need(Instance, Name), Value);
}

TMethod GetMethodProp(TObject* Instance, const TPropInfo* Prop) {
  if (!Prop->GetMeth) WrongKind(Prop, "an event");
  return Prop->GetMeth(Instance);
}
void SetMethodProp(TObject* Instance, const TPropInfo* Prop, const TMethod& Value) {
  if (!Prop->GetMeth) WrongKind(Prop, "an event");
  if (!Prop->SetMeth) ReadOnly(Prop);
  if (Value.Code && (!Value.Signature || *Value.Signature != *Prop->PropType->Signature))
    throw EPropertyError("Handler for " + Prop->Name + " has the wrong parameter list");
  Prop->SetMeth(Instance, Value);
}
TMethod GetMethodProp(TObject* Instance, const AnsiString& Name) { return GetMethodProp(Instance, Need(Instance, Name)); }
void SetMethodProp(TObject* Instance, const AnsiString& Name, const TMethod& Value) {
  SetMethodProp(Instance, Need(Instance, Name), Value);
}

// ---------------------------------------------------------------------------
// Enum and set text.

AnsiString GetEnumName(const TTypeInfo* Type, Int64 Value) {
  if (!Type) return {};
  if (Type->Kind == tkEnumeration) {
    if (Value >= 0 && Value < Int64(Type->EnumNames.size())) return Type->EnumNames[size_t(Value)];
    return {};
  }
  return std::to_string(Value);
}

Integer GetEnumValue(const TTypeInfo* Type, const AnsiString& Name) {
  if (!Type || Type->Kind != tkEnumeration) return -1;
  for (size_t i = 0; i < Type->EnumNames.size(); ++i)
    if (sx_name::SameText(Type->EnumNames[i], Name)) return Integer(i);
  return -1;
}

AnsiString SetToString(const TTypeInfo* SetType, Int64 Value, bool Brackets) {
  AnsiString S;
  const TTypeInfo* Comp = SetType ? SetType->CompType : nullptr;
  for (int i = 0; i < 64; ++i) {
    if (!((std::uint64_t(Value) >> i) & 1)) continue;
    if (!S.empty()) S += ',';
    AnsiString N = GetEnumName(Comp, i);
    S += N.empty() ? std::to_string(i) : N;
  }
  return Brackets ? "[" + S + "]" : S;
}

Int64 StringToSet(const TTypeInfo* SetType, const AnsiString& Value) {
  AnsiString V = sx_name::Trim(Value);
  if (!V.empty() && V.front() == '[') V.erase(0, 1);
  if (!V.empty() && V.back() == ']') V.pop_back();
  std::uint64_t Bits = 0;
  size_t Start = 0;
  while (Start <= V.size()) {
    size_t Comma = V.find(',', Start);
    AnsiString Name = sx_name::Trim(V.substr(Start, Comma == AnsiString::npos ? AnsiString::npos : Comma - Start));
    if (!Name.empty()) {
      Integer E = GetEnumValue(SetType ? SetType->CompType : nullptr, Name);
      if (E < 0 || E > 63) throw EPropertyError("Invalid property element: " + Name);
      Bits |= std::uint64_t(1) << E;
    } else if (Comma != AnsiString::npos) {
      throw EPropertyError("Invalid property element: empty name in set");
    }
    if (Comma == AnsiString::npos) break;
    Start = Comma + 1;
  }
  return Int64(Bits);
}

// ---------------------------------------------------------------------------
// Paths and text values.

std::pair<TObject*, const TPropInfo*> ResolvePropPath(TObject* Instance, const AnsiString& Path) {
  TObject* Obj = Instance;
  size_t Start = 0;
  for (;;) {
    size_t Dot = Path.find('.', Start);
    AnsiString Step = Path.substr(Start, Dot == AnsiString::npos ? AnsiString::npos : Dot - Start);
    const TPropInfo* P = Need(Obj, Step);
    if (Dot == AnsiString::npos) return {Obj, P};
    if (P->Kind() != tkClass) throw EPropertyError("Property " + Step + " is not an object");
    Obj = P->GetObj(Obj);
    if (!Obj) throw EPropertyError("Property " + Step + " holds no object");
    Start = Dot + 1;
  }
}

AnsiString FloatToPropText(double V) {
  char Buf[64];
  auto R = std::to_chars(Buf, Buf + sizeof Buf, V);
  AnsiString S(Buf, R.ptr);
  if (S.find_first_of(".eEn") == AnsiString::npos) S += ".0";  // stays a float when read back
  return S;
}

AnsiString GetPropText(TObject* Instance, const AnsiString& Path) {
  auto [Obj, P] = ResolvePropPath(Instance, Path);
  switch (P->Kind()) {
    case tkInteger: {
      Int64 V = P->GetOrd(Obj);
      AnsiString Ident;
      if (P->PropType->IntToIdent && P->PropType->IntToIdent(Integer(V), Ident)) return Ident;
      return std::to_string(V);
    }
    case tkInt64: return std::to_string(P->GetOrd(Obj));
    case tkEnumeration: return GetEnumName(P->PropType, P->GetOrd(Obj));
    case tkSet: return "[" + sx_name::Replace(SetToString(P->PropType, P->GetOrd(Obj)), ",", ", ") + "]";
    case tkFloat: return FloatToPropText(P->GetFloat(Obj));
    case tkChar:
    case tkWChar:
    case tkLString:
    case tkWString: return GetStrProp(Obj, P);
    case tkClass: {
      auto* C = dynamic_cast<TComponent*>(P->GetObj(Obj));
      return C ? C->GetName() : AnsiString();
    }
    case tkMethod: {
      TMethod M = P->GetMeth(Obj);
      return M.Data ? M.Data->MethodName(M) : AnsiString();
    }
    default: throw EPropertyError("Property " + P->Name + " has no text form");
  }
}

void SetPropText(TObject* Instance, const AnsiString& Path, const AnsiString& Value, TObject* MethodRoot) {
  auto [Obj, Prop] = ResolvePropPath(Instance, Path);
  const auto P = Prop;  // a lambda below captures it; structured bindings can't be captured portably
  if (!P->Writable()) ReadOnly(P);
  auto Invalid = [&]() -> EPropertyError { return EPropertyError("Invalid property value " + Value + " for " + P->Name); };
  switch (P->Kind()) {
    case tkInteger:
    case tkInt64: {
      Integer Ident = 0;
      if (P->PropType->IdentToInt && P->PropType->IdentToInt(Value, Ident)) {
        P->SetOrd(Obj, Ident);
        return;
      }
      Int64 V = 0;
      if (!sx_name::ParseInt(Value, V)) throw Invalid();
      P->SetOrd(Obj, V);
      return;
    }
    case tkEnumeration: {
      Integer V = GetEnumValue(P->PropType, Value);
      if (V < 0) throw Invalid();
      P->SetOrd(Obj, V);
      return;
    }
    case tkSet: P->SetOrd(Obj, StringToSet(P->PropType, Value)); return;
    case tkFloat: {
      double D = 0;
      AnsiString T = sx_name::Trim(Value);
      auto R = std::from_chars(T.data(), T.data() + T.size(), D);
      if (R.ec != std::errc() || R.ptr != T.data() + T.size()) throw Invalid();
      P->SetFloat(Obj, D);
      return;
    }
    case tkChar:
    case tkWChar:
    case tkLString:
    case tkWString: SetStrProp(Obj, P, Value); return;
    case tkClass: {
      if (Value.empty() || sx_name::SameText(Value, "nil")) {
        P->SetObj(Obj, nullptr);
        return;
      }
      auto* Root = dynamic_cast<TComponent*>(MethodRoot ? MethodRoot : Instance);
      TComponent* Found = Root ? Root->FindComponent(Value) : nullptr;
      if (!Found) throw Invalid();
      P->SetObj(Obj, Found);
      return;
    }
    case tkMethod: {
      if (Value.empty() || sx_name::SameText(Value, "nil")) {
        P->SetMeth(Obj, {});
        return;
      }
      TObject* Root = MethodRoot ? MethodRoot : Instance;
      TMethod M = Root->MethodAddress(Value);
      if (!M.Code) throw Invalid();
      SetMethodProp(Obj, P, M);
      return;
    }
    default: throw EPropertyError("Property " + P->Name + " has no text form");
  }
}

void AssignPublishedProps(TObject* Dest, TObject* Source) {
  if (!Dest || !Source || Dest == Source) return;
  for (const TPropInfo* S : Source->ClassType()->Properties()) {
    const TPropInfo* D = GetPropInfo(Dest, S->Name);
    if (!D || !D->Writable() || D->Kind() != S->Kind()) continue;
    switch (S->Kind()) {
      case tkFloat: D->SetFloat(Dest, S->GetFloat(Source)); break;
      case tkLString: D->SetStr(Dest, S->GetStr(Source)); break;
      case tkWString: D->SetWStr(Dest, S->GetWStr(Source)); break;
      case tkClass: D->SetObj(Dest, S->GetObj(Source)); break;
      case tkMethod: D->SetMeth(Dest, S->GetMeth(Source)); break;
      default:
        if (S->GetOrd && D->SetOrd) D->SetOrd(Dest, S->GetOrd(Source));
        break;
    }
  }
}

TTypeInfo NamedIntegerTypeInfo(const char* Name, TIdentToInt IdentToInt, TIntToIdent IntToIdent) {
  TTypeInfo I;
  I.Kind = tkInteger;
  I.Name = Name;
  I.IdentToInt = IdentToInt;
  I.IntToIdent = IntToIdent;
  return I;
}
