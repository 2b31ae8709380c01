// Menus.h — the class library's menus: TMenuItem (one entry, and the list
// of entries below it), TMenu (a tree of items behind one HMENU), and its
// two kinds: TPopupMenu (shown at a point, a control's context menu) and
// TMainMenu (the menu bar of a form, TCustomForm::Menu).
//
// Ownership: items are components of the form (or whoever creates them);
// an item frees the items below it when it goes, and leaves its parent.
// The root item (Items) belongs to the menu. Each item with children keeps
// an HMENU of its own, built on first use and changed in place as items
// change, so a menu being shown stays valid while handlers edit it.
//
// Commands: each item has a number unique in the program (Command), the
// WM_COMMAND id its menu sends; DispatchCommand finds the item and clicks
// it. Shortcuts ("Ctrl+S") reach an item through IsShortCut, which the
// form asks for its main menu and the controls ask for their popup menus.
#pragma once
#include <memory>
#include <vector>
#include "platform/forms/ActnList.h"
#include "platform/forms/Controls.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/ImageList.h"
#include "platform/win/Menus.h"

SX_DECLARE_EXCEPTION(EMenuError, Exception);

SX_ENUM(TPopupAlignment, paLeft, paRight, paCenter)
SX_ENUM(TTrackButton, tbRightButton, tbLeftButton)
SX_ENUM(TFindItemKind, fkCommand, fkHandle, fkShortCut)

class TMenu;
class TMenuItem;

using TMenuDrawItemEvent = TEvent<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TMenuMeasureItemEvent = TEvent<void(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height)>;

class TMenuItem : public TComponent {
  SX_CLASS(TMenuItem, TComponent)
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;
  static void Published(TPublished<TMenuItem>& P) {
    P.Property("Action", &TMenuItem::GetAction, &TMenuItem::SetAction);
    P.Property("AutoCheck", &TMenuItem::FAutoCheck, &TMenuItem::FAutoCheck).Default(false);
    P.Property("Bitmap", &TMenuItem::GetBitmap, &TMenuItem::SetBitmap);
    P.Property("Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption);
    P.Property("Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked).Default(false);
    P.Property("Default", &TMenuItem::GetDefault, &TMenuItem::SetDefault).Default(false);
    P.Property("Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled).Default(true);
    P.Property("GroupIndex", &TMenuItem::GetGroupIndex, &TMenuItem::SetGroupIndex).Default(0);
    P.Property("HelpContext", &TMenuItem::HelpContext, &TMenuItem::HelpContext).Default(0);
    P.Property("Hint", &TMenuItem::GetHint, &TMenuItem::SetHint);
    P.Property("ImageIndex", &TMenuItem::GetImageIndex, &TMenuItem::SetImageIndex).Default(-1);
    P.Property("RadioItem", &TMenuItem::GetRadioItem, &TMenuItem::SetRadioItem).Default(false);
    P.Property("ShortCut", &TMenuItem::GetShortCut, &TMenuItem::SetShortCut).Default(0);
    P.Property("Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible).Default(true);
    P.Property("OnClick", &TMenuItem::OnClick, &TMenuItem::OnClick);
    P.Property("OnDrawItem", &TMenuItem::OnDrawItem, &TMenuItem::OnDrawItem);
    P.Property("OnMeasureItem", &TMenuItem::OnMeasureItem, &TMenuItem::OnMeasureItem);
  }

  // --- the list below this item ---
  Integer Count() const { return Integer(FItems.size()); }
  // Raises EMenuError ("Menu index out of range") for a bad index.
  TMenuItem* Items(Integer Index) const;
  // Raises EMenuError for nil, for an item that already has a parent
  // ("Menu inserted twice") and for an index out of range.
  void Add(TMenuItem* Item);
  void Insert(Integer Index, TMenuItem* Item);
  // Unhooks the item at Index without freeing it.
  void Delete(Integer Index);
  void Remove(TMenuItem* Item);
  // Frees every item below this one.
  void Clear();
  Integer IndexOf(const TMenuItem* Item) const;
  // The item whose caption (without "&") is ACaption, ignoring case; nil.
  TMenuItem* Find(const AnsiString& ACaption) const;
  TMenuItem* Parent() const { return FParent; }
  Integer GetMenuIndex() const;
  void SetMenuIndex(Integer Value);
  // The menu the tree belongs to, or nil.
  TMenu* GetParentMenu() const;

  // --- what the item shows ---
  const AnsiString& GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool IsLine() const { return FCaption == "-"; }
  bool GetChecked() const { return FChecked; }
  // A checked radio item unchecks the others of its group (GroupIndex).
  void SetChecked(bool Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  bool GetRadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  Byte GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Byte Value);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  const AnsiString& GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  TBitmap* GetBitmap();
  void SetBitmap(TBitmap* Value);
  bool HasBitmap() const { return FBitmap && !FBitmap->Empty(); }
  bool GetAutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* Value);
  Integer HelpContext = 0;

  // --- behaviour ---
  // The command its menu sends when it is chosen.
  Word Command() const { return FCommand; }
  // The HMENU of the items below (built on first use).
  HMENU Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Runs the item: checks it (AutoCheck), then OnClick, else its action.
  // A disabled item does nothing.
  virtual void Click();
  // Lets the action refresh the item's state before it is shown.
  void InitiateAction();
  // The size of an owner-drawn item: OnMeasureItem, else what the system
  // would give the item.
  virtual void MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height);
  // Draws an owner-drawn item: OnDrawItem, else as the system draws it.
  virtual void DrawItem(TCanvas* ACanvas, TRect ARect, bool Selected);
  // The item's own entry is drawn by its owner (the menu's OwnerDraw or an
  // OnDrawItem handler).
  bool IsOwnerDraw() const;

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // Streaming: items nest in the description below their parent item, the
  // top ones below the menu.
  bool HasParent() override { return true; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

protected:
  void ReadState(TReader* Reader) override;
  void SetChildOrder(TComponent* Child, Integer Order) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TMenu;
  friend class TMenuItemActionLink;
  // The item's position among its parent's visible items (its HMENU slot).
  Integer VisibleIndex() const;
  // The item's entry as InsertMenuItem/SetMenuItemInfo take it.
  void FillInfo(MENUITEMINFOA& Info, AnsiString& Text);
  // Tell the parent's HMENU about this item.
  void UpdateEntry();
  void InsertEntry();
  void RemoveEntry();
  // Refill this item's HMENU from the items below.
  void RebuildHandle();
  void TurnSiblingsOff();
  void MenuChanged();
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;      // set on a menu's root item
  HMENU FHandle = nullptr;
  Word FCommand = 0;
  AnsiString FCaption, FHint;
  bool FChecked = false, FEnabled = true, FVisible = true, FDefault = false, FRadioItem = false;
  bool FAutoCheck = false;
  Byte FGroupIndex = 0;
  TShortCut FShortCut = 0;
  Integer FImageIndex = -1;
  std::unique_ptr<TBitmap> FBitmap;
  std::unique_ptr<TActionLink> FActionLink;
};

class TMenu : public TComponent {
  SX_CLASS(TMenu, TComponent)
public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  static void Published(TPublished<TMenu>& P) {
    P.Property("Images", &TMenu::GetImages, &TMenu::SetImages);
    P.Property("OwnerDraw", &TMenu::GetOwnerDraw, &TMenu::SetOwnerDraw).Default(false);
  }
  // The root item: its items are the menu's entries.
  TMenuItem* Items() const { return FItems; }
  HMENU Handle() { return FItems->Handle(); }
  // The window that gets the menu's messages while it shows.
  virtual HWND WindowHandle() const { return nullptr; }
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool GetOwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  // The item with the command, sub-menu handle or shortcut; nil.
  TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind) const;
  // Clicks the item with the command; false when none has it.
  bool DispatchCommand(Word ACommand);
  // A sub-menu is about to open: its item's OnClick updates it. False when
  // the handle is none of this menu's.
  bool DispatchPopup(HMENU AMenu);
  // A key message (WParam the key, LParam its key data) that is a shortcut
  // of an enabled item clicks it: true.
  bool IsShortCut(TMessage& Message);
  bool IsShortCut(TShortCut AShortCut);
  // The menu's messages from its window: WM_INITMENUPOPUP, WM_COMMAND,
  // WM_MEASUREITEM/WM_DRAWITEM of menu items, WM_MENUSELECT. True when the
  // message was one of this menu's.
  bool HandleMenuMessage(TMessage& Message);
  // The item lit last (WM_MENUSELECT), for hints; nil.
  TMenuItem* SelectedItem() const { return FSelected; }

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

protected:
  friend class TMenuItem;
  // A menu bar (TMainMenu) or a popup menu.
  virtual bool IsBar() const { return false; }
  // The tree changed where the user sees it.
  virtual void MenuChanged() {}
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetChildOrder(TComponent* Child, Integer Order) override;

private:
  TMenuItem* FItems = nullptr;
  TCustomImageList* FImages = nullptr;
  bool FOwnerDraw = false;
  TMenuItem* FSelected = nullptr;
};

class TPopupMenu : public TMenu {
  SX_CLASS(TPopupMenu, TMenu)
public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  static void Published(TPublished<TPopupMenu>& P) {
    P.Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::Alignment).Default(paLeft);
    P.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::AutoPopup).Default(true);
    P.Property("TrackButton", &TPopupMenu::TrackButton, &TPopupMenu::TrackButton).Default(tbRightButton);
    P.Property("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::OnPopup);
  }
  // Shows the menu at the screen point X, Y (Alignment says which corner
  // or edge is there) and runs it until an item is chosen, which is then
  // clicked, or it is dismissed.
  virtual void Popup(Integer X, Integer Y);
  HWND WindowHandle() const override;
  // The control whose context menu this is, while it shows.
  TComponent* PopupComponent = nullptr;
  TPoint PopupPoint;
  TPopupAlignment Alignment = paLeft;
  bool AutoPopup = true;
  TTrackButton TrackButton = tbRightButton;
  TNotifyEvent OnPopup;

protected:
  virtual void DoPopup(TObject* Sender);
};

class TMainMenu : public TMenu {
  SX_CLASS(TMainMenu, TMenu)
public:
  explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
  static void Published(TPublished<TMainMenu>&) {}
  HWND WindowHandle() const override;
  // The form showing the menu bar (TCustomForm::SetMenu sets it).
  TWinControl* Form() const { return FForm; }
  void SetForm(TWinControl* Value) { FForm = Value; }

protected:
  bool IsBar() const override { return true; }
  void MenuChanged() override;

private:
  TWinControl* FForm = nullptr;
};

// A new item (the helpers the texts build menus with).
TMenuItem* NewItem(const AnsiString& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                   const TNotifyEvent& AOnClick, Integer AHelpContext, const AnsiString& AName);
TMenuItem* NewLine();
// The caption without its "&" marks ("&&" stays one "&").
AnsiString StripHotkey(const AnsiString& Text);
// The popup menus' window: TPopupMenu::Popup tracks with it as owner, and it
// hands the menu messages to the popup menu being shown.
HWND PopupListWindow();

void RegisterMenusClasses();
