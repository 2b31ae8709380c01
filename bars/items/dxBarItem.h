// dxBarItem.h — TdxBarItem, the base of every bar item component, and the
// action link that lets a TCustomAction drive an item.
//
// An item is a non-visual component owned by the form and listed by exactly
// one manager. It is never drawn itself: each placement is a TdxBarItemLink
// (the item keeps the list of its links, in attach order) and a shown link
// owns an item control made from the class the item-class registry pairs
// with the item's class. State is pushed: every setter, once loading is
// over, walks the links and tells their controls.
#pragma once
#include <memory>
#include <vector>
#include "bars/model/dxBarTypes.h"
#include "platform/forms/ActnList.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/ShortCuts.h"

class TBitmap;

class TdxBarItemActionLink : public TActionLink {
public:
  explicit TdxBarItemActionLink(TdxBarItem* AClient);
  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsImageIndexLinked() override;
  bool IsShortCutLinked() override;
  bool IsVisibleLinked() override;
  void SetCaption(const AnsiString& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const AnsiString& Value) override;
  void SetImageIndex(Integer Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;

private:
  TdxBarItem* FClient;
};

class TdxBarItem : public TComponent {
  SX_CLASS(TdxBarItem, TComponent)
public:
  explicit TdxBarItem(TComponent* AOwner);
  ~TdxBarItem() override;
  static void Published(TPublished<TdxBarItem>& P);

  TdxBarManager* BarManager() const { return FBarManager; }
  void SetBarManager(TdxBarManager* Value);

  const AnsiString& GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  Integer GetCategory() const { return FCategory; }
  void SetCategory(Integer Value);
  // Written directly by the category list when categories move.
  void SetCategoryField(Integer Value) { FCategory = Value; }
  const AnsiString& GetDescription() const { return FDescription; }
  void SetDescription(const AnsiString& Value);
  // In run-time customizing mode an item with a category reads as enabled.
  bool GetEnabled() const;
  bool GetStoredEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  const AnsiString& GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  Integer GetImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(Integer Value);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  TdxBarItemVisible GetVisible() const { return FVisible; }
  void SetVisible(TdxBarItemVisible Value);
  TdxBarItemAlign GetAlign() const { return FAlign; }
  void SetAlign(TdxBarItemAlign Value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* Value);

  Integer GetLinkCount() const { return Integer(FLinks.size()); }
  TdxBarItemLink* GetLink(Integer Index) const;  // nil out of range
  bool HasControls() const;
  bool IsActuallyVisible() const;
  Integer GetIndex() const;
  AnsiString GetCaptionForHint() const;
  bool IsHintFromCaption() const;

  virtual bool CanClick() const { return true; }
  // May a link of the item be chosen by its caption's accelerator: only an
  // enabled item, and only where the link shows its caption.
  virtual bool CanSelectByKey(const TdxBarItemLink* ALink) const;
  virtual bool HasContent() const { return true; }
  virtual bool IsHiddenInCommandList() const { return false; }
  virtual bool HostsControl() const { return false; }
  // Checks Enabled, tells the manager, then runs OnClick or the action.
  virtual void DoClick();
  void Click();
  TdxBarItemLink* ClickedLink() const { return FClickedLink; }
  void SetClickedLink(TdxBarItemLink* Value) { FClickedLink = Value; }

  void RepaintControls();
  void RelayoutBars();

  TNotifyEvent OnClick;
  TNotifyEvent OnDestroy;

  void Loaded() override;
  bool HasParent() override { return FCategory >= 0; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* Value) override;
  void ReadState(TReader* Reader) override;

protected:
  virtual void ManagerChanged() {}
  virtual void CaptionChanged();
  virtual void EnabledChanged();
  virtual void GlyphChanged();
  virtual void ShortCutChanged();
  virtual void VisibleChanged();
  virtual void AlignChanged();
  void ActionChange(TObject* Sender, bool CheckDefaults);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool ItemLoading() const;

private:
  friend class TdxBarItemLink;
  friend class TdxBarItemActionLink;
  friend class TdxBarManager;
  void AddLink(TdxBarItemLink* ALink);
  void RemoveLink(TdxBarItemLink* ALink);
  void ApplyPendingVisible();
  void GlyphChange(TObject* Sender);

  std::unique_ptr<TdxBarItemActionLink> FActionLink;
  TdxBarItemAlign FAlign = iaLeft;
  TdxBarManager* FBarManager = nullptr;
  AnsiString FCaption;
  Integer FCategory = -1;
  bool FApplyingActionDefaults = false;
  TdxBarItemLink* FClickedLink = nullptr;
  AnsiString FDescription;
  bool FEnabled = true;
  std::unique_ptr<TBitmap> FGlyph;
  Integer FHelpContext = 0;
  AnsiString FHint;
  Integer FImageIndex = -1;
  std::vector<TdxBarItemLink*> FLinks;
  TdxBarItemVisible FPendingVisible = ivAlways;
  TShortCut FShortCut = 0;

protected:
  bool FUnclickAfterDoing = true;
  TdxBarItemVisible FVisible = ivAlways;
};
