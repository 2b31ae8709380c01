// Events.h — event delegates: an object plus one of its member functions,
// the class library's "procedure of object".
//
//   using TNotifyEvent = TEvent<void(TObject* Sender)>;
//   Button->OnClick = TNotifyEvent(Form, &TForm1::Button1Click);
//   if (OnClick.Assigned()) OnClick(this);
//
// A delegate is a small value: copyable, comparable (same object and same
// method), empty by default. The method is kept as a pointer to member of
// TObject, so the object's class must derive from TObject without virtual
// inheritance.
//
// Handler names. A form description says `OnClick = Button1Click`. The form's
// class lists its handlers by name in the same place it lists its published
// properties (TypInfo.h: `B.Method("Button1Click", &TForm1::Button1Click)`).
// The reader looks the name up in the root component's class (and its
// ancestors) and gets a TMethod, the untyped form of a delegate that also
// records the handler's signature; the event property converts it back with
// FromMethod, which refuses a handler of another signature. The writer goes
// the other way with the method's code (TObject::MethodName).
#pragma once
#include <bit>
#include <cstddef>
#include <typeinfo>
#include <utility>
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"

// The member-function type every handler is stored as; its bits are only
// ever turned back into the real signature (checked by TMethod::Signature)
// before a call.
using TMethodCode = void (TObject::*)();

// The untyped delegate, as published-property access and streaming see it.
struct TMethod {
  TObject* Data = nullptr;
  TMethodCode Code = nullptr;
  const std::type_info* Signature = nullptr;  // the handler's function type
  bool Assigned() const { return Code != nullptr; }
  friend bool operator==(const TMethod& A, const TMethod& B) {
    return A.Data == B.Data && A.Code == B.Code;
  }
};

template <class Sig>
class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
public:
  using TSignature = R(A...);
  using TCode = R (TObject::*)(A...);

  TEvent() = default;
  TEvent(std::nullptr_t) {}
  // Obj's method M, which Obj's class has or inherits.
  template <class C, class B>
  TEvent(C* Obj, R (B::*M)(A...)) : FData(static_cast<B*>(Obj)), FCode(static_cast<TCode>(M)) {
    if (!Obj) FCode = nullptr;
  }

  bool Assigned() const { return FCode != nullptr; }
  explicit operator bool() const { return Assigned(); }
  TObject* Data() const { return FData; }
  TCode Code() const { return FCode; }

  // Callers test Assigned first, as with the library; calling an empty
  // delegate is a programming error, not a silent no-op.
  R operator()(A... Args) const {
    if (!FCode) throw EInvalidOperation("Event handler is not assigned");
    return (FData->*FCode)(std::forward<A>(Args)...);
  }

  TMethod ToMethod() const {
    if (!FCode) return {};
    return {FData, std::bit_cast<TMethodCode>(FCode), &typeid(TSignature)};
  }
  // Raises EInvalidCast when M was made from a handler of another signature.
  static TEvent FromMethod(const TMethod& M) {
    TEvent E;
    if (!M.Code) return E;
    if (!M.Signature || *M.Signature != typeid(TSignature))
      throw EInvalidCast("Event handler has the wrong parameter list");
    E.FData = M.Data;
    E.FCode = std::bit_cast<TCode>(M.Code);
    return E;
  }

  friend bool operator==(const TEvent& X, const TEvent& Y) {
    return X.FCode == Y.FCode && (X.FCode == nullptr || X.FData == Y.FData);
  }

private:
  TObject* FData = nullptr;
  TCode FCode = nullptr;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;
