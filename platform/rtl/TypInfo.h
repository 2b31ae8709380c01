// TypInfo.h — run-time class information and published properties.
//
// How a class declares itself and its published properties (copy this):
//
//   class TGutterImage : public TCollectionItem {
//     SX_CLASS(TGutterImage, TCollectionItem)
//   public:
//     explicit TGutterImage(TCollection* ACollection);
//     static void Published(TPublished<TGutterImage>& P) {
//       P.Property("Name", &TGutterImage::FName, &TGutterImage::SetName);
//       P.Property("BookmarkIndex", &TGutterImage::GetBookmarkIndex,
//                  &TGutterImage::SetBookmarkIndex).Default(-1);
//       P.Property("Style", &TGutterImage::FStyle, &TGutterImage::FStyle).Default(gsFlat);
//       P.Property("Glyph", &TGutterImage::FGlyph, &TGutterImage::SetGlyph);
//       P.Property("OnClick", &TGutterImage::FOnClick, &TGutterImage::FOnClick);
//       P.Method("ImageClick", &TGutterImage::ImageClick);   // handler by name
//     }
//     …
//   };
//
// - SX_CLASS(Class, Base) goes first in the class body. It gives the class
//   its TClass (StaticClass/ClassType/ClassName), its virtual constructor and
//   `inherited`. It leaves the access at private, the class default.
// - Published lists the class's own properties in declaration order; the
//   base class's come first automatically. Re-listing an inherited name
//   replaces it in place (to change its default or stored specifier).
//   A class without properties of its own leaves Published out.
// - Each accessor is a member function or a field (`&T::FName`); a property
//   without a setter is read-only and not streamed.
// - `.Default(v)` on an ordinal property (integer, char, enum, set, Boolean)
//   keeps the value out of the stream while it equals v; without it an
//   ordinal is always written. Strings are written when not empty, floats
//   and Int64 when not 0, events when assigned. `.Stored(false)` or
//   `.Stored(&T::IsXStored)` is the stored specifier.
// - Property types: integers (Int64 separately), char, bool, enums declared
//   with SX_ENUM / SX_ENUM_INFO (their value names come from the source),
//   TSet<E>, float/double, AnsiString, WideString, pointers to TObject
//   classes, and TEvent<…> delegates. A type such as TColor that streams as
//   an integer with names gives itself a TTypeInfo through an ADL function
//   `const TTypeInfo* SxTypeInfo(TColor*)` and registers its names with
//   RegisterIntegerConsts.
// - The virtual constructor: a class constructible from `TComponent*`
//   (owner) or `TCollection*` (collection) or with no argument can be
//   created from its TClass; an abstract class cannot.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>
#include <typeinfo>
#include <vector>
#include "platform/rtl/Events.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Sets.h"

class TComponent;
class TCollection;

enum TTypeKind {
  tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod,
  tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord, tkInterface, tkInt64, tkDynArray
};
using TTypeKinds = TSet<TTypeKind>;

using TIdentToInt = bool (*)(const AnsiString& Ident, Integer& Int);
using TIntToIdent = bool (*)(Integer Int, AnsiString& Ident);

// What the property layer knows of a type.
class TTypeInfo {
public:
  TTypeKind Kind = tkUnknown;
  AnsiString Name;
  std::vector<AnsiString> EnumNames;             // tkEnumeration: value names by ordinal
  const TTypeInfo* CompType = nullptr;           // tkSet: the element type
  TClass ClassType = nullptr;                    // tkClass
  const std::type_info* Signature = nullptr;     // tkMethod: the handler's function type
  // tkInteger types with names for some values (colours, cursors).
  TIdentToInt IdentToInt = nullptr;
  TIntToIdent IntToIdent = nullptr;

  // Parses "a, b, c" as written in the enum's source (a "= n" is dropped).
  static TTypeInfo MakeEnum(const char* Name, const char* Names);
};

// Names the values of an enumeration for streaming and text conversion.
// SX_ENUM declares the enum too; SX_ENUM_INFO describes one declared
// elsewhere (its values must run 0, 1, 2, … in the listed order). Both at
// namespace scope; inside a class use SX_MEMBER_ENUM.
#define SX_ENUM_INFO(Type, ...)                                           \
  inline const TTypeInfo* SxTypeInfo(Type*) {                             \
    static const TTypeInfo Info = TTypeInfo::MakeEnum(#Type, #__VA_ARGS__); \
    return &Info;                                                         \
  }
#define SX_ENUM(Type, ...)   \
  enum Type { __VA_ARGS__ }; \
  SX_ENUM_INFO(Type, __VA_ARGS__)
#define SX_MEMBER_ENUM(Type, ...)                                         \
  enum Type { __VA_ARGS__ };                                              \
  friend const TTypeInfo* SxTypeInfo(Type*) {                             \
    static const TTypeInfo Info = TTypeInfo::MakeEnum(#Type, #__VA_ARGS__); \
    return &Info;                                                         \
  }

// The names of TColor-like integer types, used by the text form and by the
// enum/set text functions. Last registration wins.
void RegisterIntegerConsts(const TTypeInfo* IntType, TIdentToInt IdentToInt, TIntToIdent IntToIdent);
// The type information of an integer type whose values have names (colours,
// cursors, character sets), as the object text form reads and writes them.
TTypeInfo NamedIntegerTypeInfo(const char* Name, TIdentToInt IdentToInt, TIntToIdent IntToIdent);

const TTypeInfo* BooleanTypeInfo();
const TTypeInfo* CharTypeInfo();
const TTypeInfo* WideCharTypeInfo();
const TTypeInfo* IntegerTypeInfo();
const TTypeInfo* Int64TypeInfo();
const TTypeInfo* DoubleTypeInfo();
const TTypeInfo* AnsiStringTypeInfo();
const TTypeInfo* WideStringTypeInfo();

namespace sx_detail {
template <class T> struct IsSet : std::false_type {};
template <class E> struct IsSet<TSet<E>> : std::true_type { using Elem = E; };
template <class T> struct IsEvent : std::false_type {};
template <class S> struct IsEvent<TEvent<S>> : std::true_type { using Sig = S; };
template <class T>
concept HasAdlTypeInfo = requires { SxTypeInfo(static_cast<T*>(nullptr)); };
template <class T>
concept ObjectPointer = std::is_pointer_v<T> && std::is_base_of_v<TObject, std::remove_pointer_t<T>>;
}  // namespace sx_detail

// The TTypeInfo of a C++ type that a property can have.
template <class T>
const TTypeInfo* TypeInfoOf();

// A handler method a class registered by name.
struct TMethodEntry {
  AnsiString Name;
  TMethodCode Code = nullptr;
  const std::type_info* Signature = nullptr;
};

// One published property: its name, type, accessors, default and stored
// specifier. Accessors are type-erased by the kind family; only those of
// the property's kind are set.
class TPropInfo {
public:
  static constexpr Int64 NoDefault = Int64(-2147483647) - 1;  // the library's $80000000

  AnsiString Name;
  const TTypeInfo* PropType = nullptr;
  TClass Declarer = nullptr;
  Int64 Default = NoDefault;
  bool StoredConst = true;
  std::function<bool(TObject*)> StoredFn;

  std::function<Int64(TObject*)> GetOrd;  // integer, char, enum, set, Int64
  std::function<void(TObject*, Int64)> SetOrd;
  std::function<double(TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<AnsiString(TObject*)> GetStr;
  std::function<void(TObject*, const AnsiString&)> SetStr;
  std::function<WideString(TObject*)> GetWStr;
  std::function<void(TObject*, const WideString&)> SetWStr;
  std::function<TObject*(TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<TMethod(TObject*)> GetMeth;
  std::function<void(TObject*, const TMethod&)> SetMeth;

  TTypeKind Kind() const { return PropType->Kind; }
  bool Writable() const { return SetOrd || SetFloat || SetStr || SetWStr || SetObj || SetMeth; }
  bool IsStored(TObject* Instance) const { return StoredFn ? StoredFn(Instance) : StoredConst; }
};

class TClassInfo;
template <class T>
class TPublished;

// Chained modifiers on a property being declared.
class TPropBuilder {
public:
  explicit TPropBuilder(TPropInfo& AProp) : FProp(AProp) {}
  template <class V>
  TPropBuilder& Default(V Value);
  TPropBuilder& NoDefault() {
    FProp.Default = TPropInfo::NoDefault;
    return *this;
  }
  TPropBuilder& Stored(bool Value) {
    FProp.StoredConst = Value;
    FProp.StoredFn = nullptr;
    return *this;
  }
  // Gives the property a named integer type of the same kind (a subrange
  // such as TFontCharset whose C++ type is a plain Byte), so that the text
  // form reads and writes its value names.
  TPropBuilder& Type(const TTypeInfo* Info);
  template <class C>
  TPropBuilder& Stored(bool (C::*Fn)() const) {
    FProp.StoredFn = [Fn](TObject* O) { return (static_cast<C*>(O)->*Fn)(); };
    return *this;
  }

private:
  TPropInfo& FProp;
};

enum class TCtorKind { None, Plain, Owner, Collection };

// A class reference's target: one per class, made by SX_CLASS.
class TClassInfo {
public:
  using TFactory = TObject* (*)(void* Arg);
  using TDeclare = void (*)(TClassInfo& Self);

  TClassInfo(const char* AName, TClass AParent, TCtorKind ACtor, TFactory AFactory, TDeclare ADeclare);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const AnsiString& ClassName() const { return FName; }
  TClass ClassParent() const { return FParent; }
  bool InheritsFrom(TClass AClass) const;
  const TTypeInfo* TypeInfo() const { return &FTypeInfo; }
  TCtorKind CtorKind() const { return FCtor; }

  // The virtual constructor. Arg is the owner for TCtorKind::Owner and the
  // collection for TCtorKind::Collection (the typed helpers in
  // Component.h and Collection.h pass it right). Raises EInvalidOperation
  // for a class that cannot be created.
  TObject* Create(void* Arg = nullptr) const;

  // Published properties, the ancestors' first, in declaration order.
  const std::vector<const TPropInfo*>& Properties() const;
  // Case-insensitive, as the library's names are.
  const TPropInfo* FindProperty(const AnsiString& Name) const;
  const TMethodEntry* FindMethod(const AnsiString& Name) const;
  const TMethodEntry* FindMethod(TMethodCode Code) const;

  // Used by TPublished while the class's Published runs.
  TPropInfo& AddProperty(const AnsiString& Name, const TTypeInfo* Type);
  void AddMethod(TMethodEntry Entry);

private:
  void EnsureBuilt() const;
  AnsiString FName;
  TClass FParent;
  TCtorKind FCtor;
  TFactory FFactory;
  TDeclare FDeclare;
  TTypeInfo FTypeInfo;
  mutable std::once_flag FBuilt;
  mutable std::vector<std::unique_ptr<TPropInfo>> FOwnProps;
  mutable std::vector<const TPropInfo*> FProps;
  mutable std::vector<TMethodEntry> FMethods;
};

// The builder a class's Published function fills.
template <class T>
class TPublished {
public:
  explicit TPublished(TClassInfo& AInfo) : FInfo(AInfo) {}

  // Get: a member function or field of T; Set: a member function taking the
  // value, a field, or nullptr for a read-only property.
  template <class G, class S = std::nullptr_t>
  TPropBuilder Property(const char* Name, G Get, S Set = nullptr);

  template <class B, class R, class... A>
  void Method(const char* Name, R (B::*M)(A...)) {
    static_assert(std::is_base_of_v<B, T>, "the handler must be a method of the class");
    using TCode = R (TObject::*)(A...);
    FInfo.AddMethod({Name, std::bit_cast<TMethodCode>(static_cast<TCode>(M)), &typeid(R(A...))});
  }

private:
  TClassInfo& FInfo;
};

// TColor (Colors.h) streams as an integer that prints as its name when it
// has one (clBtnFace); declared here so that any class with a colour
// property finds it without another include.
enum TColor : std::int32_t;
const TTypeInfo* SxTypeInfo(TColor*);

// ---------------------------------------------------------------------------
// Declaring a class.

namespace sx_detail {
template <class T>
constexpr TCtorKind CtorKindOf() {
  if constexpr (std::is_abstract_v<T>) return TCtorKind::None;
  else if constexpr (std::is_constructible_v<T, TComponent*>) return TCtorKind::Owner;
  else if constexpr (std::is_constructible_v<T, TCollection*>) return TCtorKind::Collection;
  else if constexpr (std::is_default_constructible_v<T>) return TCtorKind::Plain;
  else return TCtorKind::None;
}
template <class T>
TObject* Construct(void* Arg) {
  constexpr TCtorKind K = CtorKindOf<T>();
  if constexpr (K == TCtorKind::Owner) return new T(static_cast<TComponent*>(Arg));
  else if constexpr (K == TCtorKind::Collection) return new T(static_cast<TCollection*>(Arg));
  else if constexpr (K == TCtorKind::Plain) return new T();
  else return nullptr;
}
template <class T>
void Declare(TClassInfo& Self) {
  if constexpr (requires { T::Published; }) {
    // Only a Published taking this very class's builder is T's own; an
    // inherited one was already applied with the base class.
    if constexpr (std::is_same_v<decltype(&T::Published), void (*)(TPublished<T>&)>) {
      TPublished<T> P(Self);
      T::Published(P);
    }
  }
}
}  // namespace sx_detail

#define SX_CLASS(Name, Base)                                                          \
public:                                                                               \
  using inherited = Base;                                                             \
  static TClass StaticClass() {                                                       \
    static const TClassInfo Info(#Name, Base::StaticClass(), sx_detail::CtorKindOf<Name>(), \
                                 &sx_detail::Construct<Name>, &sx_detail::Declare<Name>); \
    return &Info;                                                                     \
  }                                                                                   \
  TClass ClassType() const override { return StaticClass(); }                        \
                                                                                      \
private:

// ---------------------------------------------------------------------------
// Using published properties. Functions taking a name raise EPropertyError
// when the instance's class does not publish it.

const TPropInfo* GetPropInfo(TClass AClass, const AnsiString& Name);
const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& Name);
bool IsPublishedProp(TClass AClass, const AnsiString& Name);
bool IsPublishedProp(const TObject* Instance, const AnsiString& Name);
TTypeKind PropType(const TObject* Instance, const AnsiString& Name);
// The properties in alphabetical order (case-insensitive), optionally
// only those of the given kinds.
std::vector<const TPropInfo*> GetPropList(TClass AClass);
std::vector<const TPropInfo*> GetPropList(TClass AClass, TTypeKinds Kinds);

// Ordinal access covers integer, char, wide char, enum, set, Int64 and class
// (the object's address) properties.
Int64 GetOrdProp(TObject* Instance, const TPropInfo* Prop);
void SetOrdProp(TObject* Instance, const TPropInfo* Prop, Int64 Value);
Int64 GetOrdProp(TObject* Instance, const AnsiString& Name);
void SetOrdProp(TObject* Instance, const AnsiString& Name, Int64 Value);
Int64 GetInt64Prop(TObject* Instance, const AnsiString& Name);
void SetInt64Prop(TObject* Instance, const AnsiString& Name, Int64 Value);
AnsiString GetEnumProp(TObject* Instance, const AnsiString& Name);
void SetEnumProp(TObject* Instance, const AnsiString& Name, const AnsiString& Value);
AnsiString GetSetProp(TObject* Instance, const AnsiString& Name, bool Brackets = false);
void SetSetProp(TObject* Instance, const AnsiString& Name, const AnsiString& Value);
double GetFloatProp(TObject* Instance, const TPropInfo* Prop);
void SetFloatProp(TObject* Instance, const TPropInfo* Prop, double Value);
double GetFloatProp(TObject* Instance, const AnsiString& Name);
void SetFloatProp(TObject* Instance, const AnsiString& Name, double Value);
// String access also serves WideString and char properties.
AnsiString GetStrProp(TObject* Instance, const TPropInfo* Prop);
void SetStrProp(TObject* Instance, const TPropInfo* Prop, const AnsiString& Value);
AnsiString GetStrProp(TObject* Instance, const AnsiString& Name);
void SetStrProp(TObject* Instance, const AnsiString& Name, const AnsiString& Value);
WideString GetWideStrProp(TObject* Instance, const TPropInfo* Prop);
void SetWideStrProp(TObject* Instance, const TPropInfo* Prop, const WideString& Value);
TObject* GetObjectProp(TObject* Instance, const TPropInfo* Prop);
void SetObjectProp(TObject* Instance, const TPropInfo* Prop, TObject* Value);
TObject* GetObjectProp(TObject* Instance, const AnsiString& Name);
void SetObjectProp(TObject* Instance, const AnsiString& Name, TObject* Value);
TMethod GetMethodProp(TObject* Instance, const TPropInfo* Prop);
void SetMethodProp(TObject* Instance, const TPropInfo* Prop, const TMethod& Value);
TMethod GetMethodProp(TObject* Instance, const AnsiString& Name);
void SetMethodProp(TObject* Instance, const AnsiString& Name, const TMethod& Value);

// A property's value as the object text form writes it (without quotes for
// strings) and back. Works on dotted paths ("Font.Name") through class
// properties; events read and take the handler's name on the root object
// that owns the handlers (MethodRoot, default: Instance).
AnsiString GetPropText(TObject* Instance, const AnsiString& Path);
void SetPropText(TObject* Instance, const AnsiString& Path, const AnsiString& Value,
                 TObject* MethodRoot = nullptr);
// Follows "A.B.C" to the object holding C and C's TPropInfo. Raises
// EPropertyError when a step is missing or not an object.
std::pair<TObject*, const TPropInfo*> ResolvePropPath(TObject* Instance, const AnsiString& Path);

// The text of a float as the text form writes it: the shortest that reads
// back exactly, always with a point or exponent so it stays a float.
AnsiString FloatToPropText(double V);

// Enum and set <-> text.
AnsiString GetEnumName(const TTypeInfo* Type, Int64 Value);
// The ordinal of the name (case-insensitive), -1 when it is not one.
Integer GetEnumValue(const TTypeInfo* Type, const AnsiString& Name);
AnsiString SetToString(const TTypeInfo* SetType, Int64 Value, bool Brackets = false);
// Accepts "a,b", "[a, b]", "[]"; raises EPropertyError for an unknown name.
Int64 StringToSet(const TTypeInfo* SetType, const AnsiString& Value);

// Copies every published property of Source that Dest also publishes with
// the same kind, in Source's declaration order; read-only ones are skipped.
// Object-typed properties copy the reference through Dest's setter.
void AssignPublishedProps(TObject* Dest, TObject* Source);

// ---------------------------------------------------------------------------
// Template bodies.

template <class T>
const TTypeInfo* TypeInfoOf() {
  using U = std::remove_cvref_t<T>;
  if constexpr (sx_detail::HasAdlTypeInfo<U>) return SxTypeInfo(static_cast<U*>(nullptr));
  else if constexpr (std::is_same_v<U, bool>) return BooleanTypeInfo();
  else if constexpr (std::is_same_v<U, char>) return CharTypeInfo();
  else if constexpr (std::is_same_v<U, char16_t> || std::is_same_v<U, wchar_t>) return WideCharTypeInfo();
  else if constexpr (std::is_integral_v<U> && sizeof(U) <= 4) return IntegerTypeInfo();
  else if constexpr (std::is_integral_v<U>) return Int64TypeInfo();
  else if constexpr (std::is_floating_point_v<U>) return DoubleTypeInfo();
  else if constexpr (std::is_same_v<U, AnsiString>) return AnsiStringTypeInfo();
  else if constexpr (std::is_same_v<U, WideString>) return WideStringTypeInfo();
  else if constexpr (sx_detail::IsSet<U>::value) {
    static const TTypeInfo Info = [] {
      TTypeInfo I;
      I.Kind = tkSet;
      I.CompType = TypeInfoOf<typename sx_detail::IsSet<U>::Elem>();
      I.Name = "set of " + I.CompType->Name;
      return I;
    }();
    return &Info;
  } else if constexpr (sx_detail::ObjectPointer<U>) {
    return std::remove_pointer_t<U>::StaticClass()->TypeInfo();
  } else if constexpr (sx_detail::IsEvent<U>::value) {
    static const TTypeInfo Info = [] {
      TTypeInfo I;
      I.Kind = tkMethod;
      I.Name = "method";
      I.Signature = &typeid(typename sx_detail::IsEvent<U>::Sig);
      return I;
    }();
    return &Info;
  } else {
    static_assert(sizeof(U) == 0, "this type cannot be a published property");
  }
}

namespace sx_detail {
template <class V>
Int64 ToOrd(const V& Value) {
  if constexpr (IsSet<V>::value) return Int64(Value.Ordinal());
  else if constexpr (std::is_same_v<V, char>) return Int64(static_cast<unsigned char>(Value));
  else return Int64(Value);
}
template <class V>
V FromOrd(Int64 Value) {
  if constexpr (IsSet<V>::value) return V::FromOrdinal(std::uint64_t(Value));
  else if constexpr (std::is_same_v<V, bool>) return Value != 0;
  else return static_cast<V>(Value);
}
template <class T, class S, class V>
void Store(TObject* O, S Set, V&& Value) {
  T* Obj = static_cast<T*>(O);
  if constexpr (std::is_member_object_pointer_v<S>) Obj->*Set = std::forward<V>(Value);
  else (Obj->*Set)(std::forward<V>(Value));
}
}  // namespace sx_detail

template <class T>
template <class G, class S>
TPropBuilder TPublished<T>::Property(const char* Name, G Get, S Set) {
  using V = std::remove_cvref_t<std::invoke_result_t<G, T&>>;
  constexpr bool HasSet = !std::is_same_v<S, std::nullptr_t>;
  const TTypeInfo* Type = TypeInfoOf<V>();
  TPropInfo& P = FInfo.AddProperty(Name, Type);
  auto Read = [Get](TObject* O) -> decltype(auto) { return std::invoke(Get, *static_cast<T*>(O)); };
  switch (Type->Kind) {
    case tkFloat:
      if constexpr (std::is_arithmetic_v<V>) {
        P.GetFloat = [Read](TObject* O) { return double(Read(O)); };
        if constexpr (HasSet) P.SetFloat = [Set](TObject* O, double X) { sx_detail::Store<T>(O, Set, V(X)); };
      }
      break;
    case tkLString:
      if constexpr (std::is_same_v<V, AnsiString>) {
        P.GetStr = [Read](TObject* O) { return AnsiString(Read(O)); };
        if constexpr (HasSet) P.SetStr = [Set](TObject* O, const AnsiString& X) { sx_detail::Store<T>(O, Set, X); };
      }
      break;
    case tkWString:
      if constexpr (std::is_same_v<V, WideString>) {
        P.GetWStr = [Read](TObject* O) { return WideString(Read(O)); };
        if constexpr (HasSet) P.SetWStr = [Set](TObject* O, const WideString& X) { sx_detail::Store<T>(O, Set, X); };
      }
      break;
    case tkClass:
      if constexpr (sx_detail::ObjectPointer<V>) {
        P.GetObj = [Read](TObject* O) -> TObject* { return Read(O); };
        if constexpr (HasSet)
          P.SetObj = [Set, Name](TObject* O, TObject* X) {
            V Typed = dynamic_cast<V>(X);
            if (X && !Typed) throw EPropertyError(AnsiString("Invalid property value for ") + Name);
            sx_detail::Store<T>(O, Set, Typed);
          };
      }
      break;
    case tkMethod:
      if constexpr (sx_detail::IsEvent<V>::value) {
        P.GetMeth = [Read](TObject* O) { return Read(O).ToMethod(); };
        if constexpr (HasSet) P.SetMeth = [Set](TObject* O, const TMethod& X) { sx_detail::Store<T>(O, Set, V::FromMethod(X)); };
      }
      break;
    default:
      if constexpr (std::is_integral_v<V> || std::is_enum_v<V> || sx_detail::IsSet<V>::value) {
        P.GetOrd = [Read](TObject* O) { return sx_detail::ToOrd<V>(Read(O)); };
        if constexpr (HasSet) P.SetOrd = [Set](TObject* O, Int64 X) { sx_detail::Store<T>(O, Set, sx_detail::FromOrd<V>(X)); };
      } else if constexpr (std::is_convertible_v<V, Int64> && std::is_constructible_v<V, Int64>) {
        // Integer-like types with their own type info (TColor).
        P.GetOrd = [Read](TObject* O) { return Int64(Read(O)); };
        if constexpr (HasSet) P.SetOrd = [Set](TObject* O, Int64 X) { sx_detail::Store<T>(O, Set, V(X)); };
      }
      break;
  }
  return TPropBuilder(P);
}

template <class V>
TPropBuilder& TPropBuilder::Default(V Value) {
  FProp.Default = sx_detail::ToOrd<V>(Value);
  return *this;
}
