// ActnList.h — actions as far as the class library's own dispatch uses
// them: TBasicAction (something to execute, which may look for a target
// among the controls of the active form) and THintAction, which the
// application sends out when its hint changes so that a status bar with an
// automatic hint panel can show it.
#pragma once
#include <vector>
#include "platform/rtl/Component.h"
#include "platform/rtl/ShortCuts.h"

class TBasicAction : public TComponent {
  SX_CLASS(TBasicAction, TComponent)
public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  // OnExecute when assigned; true when something handled the action.
  virtual bool Execute();
  virtual bool HandlesTarget(TObject* Target) {
    (void)Target;
    return false;
  }
  virtual void ExecuteTarget(TObject* Target) { (void)Target; }
  TNotifyEvent OnExecute;
};

// Offered to the controls of the active form (then the main form) until
// one takes it: OnExecute first, then the targets.
class TContainedAction : public TBasicAction {
  SX_CLASS(TContainedAction, TBasicAction)
public:
  explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  bool Execute() override;
};

class THintAction : public TContainedAction {
  SX_CLASS(THintAction, TContainedAction)
public:
  explicit THintAction(TComponent* AOwner) : TContainedAction(AOwner) {}
  AnsiString Hint;
};

class TCustomAction;
class TActionList;
class TCustomImageList;

// Ties a client (a control, a menu item, a bar item) to an action: the
// action pushes its state through the Set… calls, and the client executes
// through the link. A client class derives its link and overrides the
// setters of what it shows; Is…Linked says which properties follow.
class TActionLink : public TObject {
public:
  explicit TActionLink(TObject* AClient) : FClient(AClient) {}
  ~TActionLink() override;
  TBasicAction* GetAction() const { return FAction; }
  // Leaves the old action's clients and joins the new one's, taking its state.
  void SetAction(TBasicAction* Value);
  TObject* Client() const { return FClient; }
  // Runs the action (for a client's click); false without one.
  virtual bool Execute(TComponent* Target = nullptr);
  virtual bool Update();

  virtual bool IsCaptionLinked() { return IsCustom(); }
  virtual bool IsCheckedLinked() { return IsCustom(); }
  virtual bool IsEnabledLinked() { return IsCustom(); }
  virtual bool IsHintLinked() { return IsCustom(); }
  virtual bool IsImageIndexLinked() { return IsCustom(); }
  virtual bool IsShortCutLinked() { return IsCustom(); }
  virtual bool IsVisibleLinked() { return IsCustom(); }
  virtual bool IsOnExecuteLinked() { return FAction != nullptr; }

  virtual void SetCaption(const AnsiString&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetHint(const AnsiString&) {}
  virtual void SetImageIndex(Integer) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}
  virtual void SetOnExecute(const TNotifyEvent&) {}

protected:
  bool IsCustom() const;
  // Pushes every linked property of the action to the client.
  void AssignState();

private:
  TObject* FClient;
  TBasicAction* FAction = nullptr;
  friend class TCustomAction;
};

// An action with the state its clients show. Setters return early when
// the value is the same, then tell every client.
class TCustomAction : public TContainedAction {
  SX_CLASS(TCustomAction, TContainedAction)
public:
  explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}
  ~TCustomAction() override;
  static void Published(TPublished<TCustomAction>& P) {
    P.Property("Caption", &TCustomAction::GetCaption, &TCustomAction::SetCaption);
    P.Property("Category", &TCustomAction::Category, &TCustomAction::Category);
    P.Property("Checked", &TCustomAction::GetChecked, &TCustomAction::SetChecked).Default(false);
    P.Property("Enabled", &TCustomAction::GetEnabled, &TCustomAction::SetEnabled).Default(true);
    P.Property("HelpContext", &TCustomAction::HelpContext, &TCustomAction::HelpContext).Default(0);
    P.Property("Hint", &TCustomAction::GetHint, &TCustomAction::SetHint);
    P.Property("ImageIndex", &TCustomAction::GetImageIndex, &TCustomAction::SetImageIndex).Default(-1);
    P.Property("ShortCut", &TCustomAction::GetShortCut, &TCustomAction::SetShortCut).Default(0);
    P.Property("Visible", &TCustomAction::GetVisible, &TCustomAction::SetVisible).Default(true);
    P.Property("OnExecute", &TCustomAction::OnExecute, &TCustomAction::OnExecute);
    P.Property("OnUpdate", &TCustomAction::OnUpdate, &TCustomAction::OnUpdate);
  }
  const AnsiString& GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  const AnsiString& GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  AnsiString Category;
  Integer HelpContext = 0;
  TNotifyEvent OnUpdate;

  TActionList* GetActionList() const { return FActionList; }
  void SetActionList(TActionList* Value);
  Integer ClientCount() const { return Integer(FClients.size()); }
  // Disabled actions do nothing; otherwise the list, then OnExecute, then
  // the application may handle it.
  bool Execute() override;
  // OnUpdate (or the list's, or the application's) refreshes the state.
  virtual bool Update();
  // A form description nests actions inside their list.
  bool HasParent() override { return FActionList != nullptr; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* Value) override;

protected:
  void ReadState(TReader* Reader) override;

private:
  template <class F>
  void Tell(F&& Each) {
    for (TActionLink* L : std::vector<TActionLink*>(FClients)) Each(L);
  }
  AnsiString FCaption, FHint;
  bool FChecked = false, FEnabled = true, FVisible = true;
  Integer FImageIndex = -1;
  TShortCut FShortCut = 0;
  TActionList* FActionList = nullptr;
  std::vector<TActionLink*> FClients;
  friend class TActionLink;
};

class TAction : public TCustomAction {
  SX_CLASS(TAction, TCustomAction)
public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

using TActionEvent = TEvent<void(TBasicAction* Action, bool& Handled)>;

// The actions of a form: each action is owned by the form and names its
// list; the list offers them its own OnExecute/OnUpdate first.
class TActionList : public TComponent {
  SX_CLASS(TActionList, TComponent)
public:
  explicit TActionList(TComponent* AOwner) : TComponent(AOwner) {}
  ~TActionList() override;
  static void Published(TPublished<TActionList>& P) {
    P.Property("OnExecute", &TActionList::OnExecute, &TActionList::OnExecute);
    P.Property("OnUpdate", &TActionList::OnUpdate, &TActionList::OnUpdate);
  }
  Integer ActionCount() const { return Integer(FActions.size()); }
  TCustomAction* Actions(Integer Index) const;
  // True when OnExecute handled the action.
  bool ExecuteAction(TBasicAction* Action);
  bool UpdateAction(TBasicAction* Action);
  // The first action with the shortcut is updated and, when enabled,
  // executed: true. False when none has it or it is disabled.
  bool IsShortCut(TShortCut AShortCut);
  TCustomImageList* Images = nullptr;
  TActionEvent OnExecute;
  TActionEvent OnUpdate;

protected:
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, Integer Order) override;

private:
  std::vector<TCustomAction*> FActions;
  friend class TCustomAction;
};
