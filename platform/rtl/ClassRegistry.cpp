#include "platform/rtl/ClassRegistry.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/rtl/ObjectModel_p.h"

namespace {
struct TRegistry {
  std::mutex Lock;
  std::vector<TClass> Classes;
};
TRegistry& Registry() {
  static TRegistry R;
  return R;
}
TClass FindLocked(TRegistry& R, const AnsiString& Name) {
  for (TClass C : R.Classes)
    if (sx_name::SameText(C->ClassName(), Name)) return C;
  return nullptr;
}
}  // namespace

void RegisterClass(TClass AClass) {
  if (!AClass) return;
  TRegistry& R = Registry();
  std::lock_guard<std::mutex> L(R.Lock);
  TClass Old = FindLocked(R, AClass->ClassName());
  if (Old == AClass) return;
  if (Old) throw EFilerError("A class named " + AClass->ClassName() + " already exists");
  R.Classes.push_back(AClass);
}

void RegisterClasses(std::initializer_list<TClass> Classes) {
  for (TClass C : Classes) RegisterClass(C);
}

void UnRegisterClass(TClass AClass) {
  TRegistry& R = Registry();
  std::lock_guard<std::mutex> L(R.Lock);
  std::erase(R.Classes, AClass);
}

TClass GetClass(const AnsiString& ClassName) {
  TRegistry& R = Registry();
  std::lock_guard<std::mutex> L(R.Lock);
  return FindLocked(R, ClassName);
}

TClass FindClass(const AnsiString& ClassName) {
  TClass C = GetClass(ClassName);
  if (!C) throw EClassNotFound("Class " + ClassName + " not found");
  return C;
}
