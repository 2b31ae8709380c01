// OptionExt.h — TOptionExt, the base of the editor library's option objects.
//
// One global object per class holds the live settings; it is loaded from the
// registry (RegStorage.h) when first asked for and saved at the end of the
// program. Other objects of the class are working copies: they start as a
// copy of the global object, and Apply copies them back.
//
// C++ note: the class library's constructor did the global/copy work; here a
// constructor cannot reach the descendant's SetDefaults, so objects are made
// through GetGlobalOptions and CreateOptions, which run Initialize once the
// object is complete. CreateOptions always hands back a copy (making the
// global object first when there is none yet), so its caller owns what it
// gets; the global objects belong to the library.
#pragma once
#include <memory>
#include "platform/rtl/Persistent.h"

class TOptionExt : public TPersistent {
  SX_CLASS(TOptionExt, TPersistent)
public:
  TOptionExt() = default;
  ~TOptionExt() override;

  // BeginUpdate, copy every published property of Source, EndUpdate.
  void Assign(TPersistent* Source) override;
  virtual void LoadOptions();
  virtual void SaveOptions();
  // The storage key below the library's root; default: the class name
  // without its leading T. Option classes give keys ending in a backslash.
  virtual AnsiString GetKeyName();
  virtual void SetDefaults() {}
  // Option classes broadcast their change here, unless SuppressChanged.
  virtual void Changed() {}
  virtual void Apply();
  // The object whose published properties are stored.
  virtual TPersistent* GetPersistent() { return this; }

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  // True for a copy, and for the global object inside an update bracket.
  bool SuppressChanged() const { return !FIsGlobal || FUpdateCount > 0; }
  bool IsGlobal() const { return FIsGlobal; }
  TOptionExt* GlobalObject() const { return FGlobal; }

  // Makes this new object the global one of its class (registered,
  // defaulted, loaded) or a copy of the existing global object.
  void Initialize();

private:
  TOptionExt* FGlobal = nullptr;
  Integer FUpdateCount = 0;
  bool FIsGlobal = false;
};

// nil when the class has no global object yet.
TOptionExt* FindGlobalOptions(TClass AClass);
// The global object, made on first request. Raises EInvalidOperation for a
// class that is not a constructible option class.
TOptionExt* GetGlobalOptions(TClass AClass);
template <class T>
T* GetGlobalOptions() {
  return static_cast<T*>(GetGlobalOptions(T::StaticClass()));
}
// A new working copy of the global object of the class.
std::unique_ptr<TOptionExt> CreateOptions(TClass AClass);
template <class T>
std::unique_ptr<T> CreateOptions() {
  return std::unique_ptr<T>(static_cast<T*>(CreateOptions(T::StaticClass()).release()));
}

// Saves every global object in the order they were made. A failing object
// does not stop the others; the first failure is raised afterwards.
void SaveAllGlobalOptions();
// Saves every global object, frees them and the shared registry. Failures
// while saving are dropped, as there is no one left to tell. The first step
// of DoneEditorLibrary (EdLibrary.h), which the application runs at its
// end; tests call it alone to start again from no option objects.
void DoneGlobalOptions();
