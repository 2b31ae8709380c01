// Component.h — TComponent: a persistent object with a name and an owner.
//
// An owner frees the components it owns (last inserted first) when it is
// destroyed. Names follow the library's rules: empty or a valid identifier,
// unique (ignoring case) among the owner's components. A component that
// refers to one outside its owner asks for FreeNotification and is told by
// Notification(opRemove) when that one goes, so no pointer dangles.
//
// C++ note: ~TComponent runs after the derived destructors, so while an
// owner frees its components its own Notification override is no longer
// reachable. A class that must hear of its components going calls
// DestroyComponents() in its own destructor.
#pragma once
#include <functional>
#include <vector>
#include "platform/rtl/Persistent.h"

class TReader;
class TWriter;
class TComponent;

SX_ENUM(TOperation, opInsert, opRemove)
SX_ENUM(TComponentStateElem, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
        csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance)
using TComponentState = TSet<TComponentStateElem>;
SX_ENUM(TComponentStyleElem, csInheritable, csCheckPropAvail, csSubComponent, csTransient)
using TComponentStyle = TSet<TComponentStyleElem>;

using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
  SX_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  static void Published(TPublished<TComponent>& P) {
    // The name is the object header in the stream, not a property line.
    P.Property("Name", &TComponent::FName, &TComponent::SetName).Stored(false);
    P.Property("Tag", &TComponent::FTag, &TComponent::FTag).Default(0);
  }

  TComponent* Owner() const { return FOwner; }
  Integer ComponentCount() const { return Integer(FComponents.size()); }
  // Raises EListError for an index out of range.
  TComponent* Components(Integer Index) const;
  Integer ComponentIndex() const;
  void SetComponentIndex(Integer Value);
  TComponent* FindComponent(const AnsiString& AName) const;

  const AnsiString& GetName() const { return FName; }
  // Raises EComponentError for an invalid or duplicate name.
  virtual void SetName(const AnsiString& NewName);
  Integer GetTag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }
  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }
  void SetSubComponent(bool Value);

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  void Destroying();

  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Streaming hooks.
  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  // The components written as this one's children: none by default; forms
  // and data modules list theirs.
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual bool HasParent() { return false; }
  virtual TComponent* GetParentComponent() { return nullptr; }
  virtual void SetParentComponent(TComponent* /*Value*/) {}
  // Called once every component of a stream is read and references are fixed.
  virtual void Loaded();

  AnsiString GetNamePath() override { return FName; }

protected:
  TPersistent* GetOwner() override { return FOwner; }
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName);
  virtual void ChangeName(const AnsiString& NewName) { FName = NewName; }
  virtual void SetChildOrder(TComponent* /*Child*/, Integer /*Order*/) {}
  void SetState(TComponentStateElem Elem, bool On);
  TComponentStyle FComponentStyle{csInheritable};

private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  AnsiString FName;
  Integer FTag = 0;
  std::vector<TComponent*> FComponents;     // owned
  std::vector<TComponent*> FFreeNotifies;   // told when this one goes
  TComponentState FComponentState;

  friend class TReader;
  friend class TWriter;
};

// The typed virtual constructor: a new component of class AClass owned by
// AOwner. Raises EInvalidOperation when AClass is not a constructible
// component class.
TComponent* CreateComponent(TClass AClass, TComponent* AOwner);
