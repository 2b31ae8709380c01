// Object.h — TObject, the root of the class library's classes.
// FIXME: class references, ClassName and InheritsFrom come with the object model.
#pragma once

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};
