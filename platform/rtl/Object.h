// Object.h — TObject, the root of the class library's classes, and TClass,
// its class references. A class reference (a `const TClassInfo*`, see
// TypInfo.h) names a class at run time: its name, its parent, its virtual
// constructor, its published properties and its named handler methods.
//
// Classes that are streamed, created by name or asked their ClassName declare
// themselves with SX_CLASS (TypInfo.h); a class that does not reports the
// nearest ancestor that does.
#pragma once
#include "platform/rtl/Types.h"

class TClassInfo;
using TClass = const TClassInfo*;
struct TMethod;

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }
  AnsiString ClassName() const;
  TClass ClassParent() const;
  bool InheritsFrom(TClass AClass) const;
  // The handler of that name that this object's class (or an ancestor)
  // registered, bound to this object; empty when there is none.
  TMethod MethodAddress(const AnsiString& Name) const;
  // The registered name of a handler of this object's class; "" if none.
  AnsiString MethodName(const TMethod& Method) const;
};
