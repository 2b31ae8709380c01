#include "editor/base/OptionExt.h"

#include <exception>
#include <vector>

#include "editor/base/RegStorage.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/Registry.h"

namespace {
// Class name -> global object, in creation order. The library owns them.
struct TGlobalEntry {
  AnsiString ClassName;
  TOptionExt* Object;
};
std::vector<TGlobalEntry>& GlobalOptionsList() {
  static std::vector<TGlobalEntry> L;
  return L;
}

TOptionExt* NewOption(TClass AClass) {
  if (!AClass || !AClass->InheritsFrom(TOptionExt::StaticClass()))
    throw EInvalidOperation("Not an option class: " + (AClass ? AClass->ClassName() : AnsiString("nil")));
  std::unique_ptr<TObject> Obj(AClass->Create());
  auto* Opt = dynamic_cast<TOptionExt*>(Obj.get());
  if (!Opt) throw EInvalidOperation("Cannot create " + AClass->ClassName());
  Obj.release();
  std::unique_ptr<TOptionExt> Guard(Opt);
  Opt->Initialize();
  return Guard.release();
}
}  // namespace

TOptionExt::~TOptionExt() {
  if (!FIsGlobal) return;
  auto& L = GlobalOptionsList();
  for (auto It = L.begin(); It != L.end(); ++It)
    if (It->Object == this) {
      L.erase(It);
      break;
    }
}

void TOptionExt::Initialize() {
  if (TOptionExt* Global = FindGlobalOptions(ClassType())) {
    FGlobal = Global;
    FIsGlobal = false;
    Assign(Global);
    return;
  }
  FIsGlobal = true;
  GlobalOptionsList().push_back({ClassName(), this});
  SetDefaults();
  LoadOptions();
}

void TOptionExt::Assign(TPersistent* Source) {
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    CopyPublishedProps(Source, this, nullptr);
  }
}

void TOptionExt::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) Changed();
}

AnsiString TOptionExt::GetKeyName() { return ClassName().substr(1); }

void TOptionExt::LoadOptions() {
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    LoadPropsFromRegistry(GetPersistent(), GetKeyName());
  }
}

void TOptionExt::SaveOptions() { SavePropsToRegistry(GetPersistent(), GetKeyName()); }

void TOptionExt::Apply() {
  if (FIsGlobal || !FGlobal) {
    Changed();
    return;
  }
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    FGlobal->Assign(this);
  }
}

TOptionExt* FindGlobalOptions(TClass AClass) {
  if (!AClass) return nullptr;
  for (const TGlobalEntry& E : GlobalOptionsList())
    if (SameText(E.ClassName, AClass->ClassName())) return E.Object;
  return nullptr;
}

TOptionExt* GetGlobalOptions(TClass AClass) {
  if (TOptionExt* G = FindGlobalOptions(AClass)) return G;
  return NewOption(AClass);
}

std::unique_ptr<TOptionExt> CreateOptions(TClass AClass) {
  GetGlobalOptions(AClass);
  return std::unique_ptr<TOptionExt>(NewOption(AClass));
}

void SaveAllGlobalOptions() {
  std::exception_ptr First;
  // A copy of the list: SaveOptions of one object may ask for another.
  const std::vector<TGlobalEntry> L = GlobalOptionsList();
  // One write of the settings store for all of them, not one per value.
  TRegWriteBatch Batch;
  for (const TGlobalEntry& E : L) {
    try {
      E.Object->SaveOptions();
    } catch (...) {
      if (!First) First = std::current_exception();
    }
  }
  if (First) std::rethrow_exception(First);
}

void DoneGlobalOptions() {
  try {
    SaveAllGlobalOptions();
  } catch (...) {
  }
  auto& L = GlobalOptionsList();
  while (!L.empty()) delete L.back().Object;  // the destructor takes it out
  FreeSharedRegistry();
}
