#include "platform/forms/Menus.h"

#include <algorithm>
#include <cctype>

#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Screen.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Paint.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

namespace {
// Commands are 16-bit (WM_COMMAND's low word) and unique in the program;
// 0 means none.
class TCommandPool {
public:
  Word Take() {
    for (std::size_t N = 0; N < FUsed.size(); ++N) {
      FNext = FNext % (FUsed.size() - 1) + 1;
      if (!FUsed[FNext]) {
        FUsed[FNext] = true;
        return Word(FNext);
      }
    }
    throw EMenuError("Too many menu items");
  }
  void Give(Word C) {
    if (C) FUsed[C] = false;
  }

private:
  std::vector<bool> FUsed = std::vector<bool>(0x10000, false);
  std::size_t FNext = 0;
};
TCommandPool& Commands() {
  static TCommandPool P;
  return P;
}

void MenuIndexError() { throw EMenuError("Menu index out of range"); }

// Ties an item to its action: the action's state shows on the item.
class TMenuItemActionLink : public TActionLink {
public:
  explicit TMenuItemActionLink(TMenuItem* Item) : TActionLink(Item), FItem(Item) {}
  void SetCaption(const AnsiString& V) override { FItem->SetCaption(V); }
  void SetChecked(bool V) override { FItem->SetChecked(V); }
  void SetEnabled(bool V) override { FItem->SetEnabled(V); }
  void SetHint(const AnsiString& V) override { FItem->SetHint(V); }
  void SetImageIndex(Integer V) override { FItem->SetImageIndex(V); }
  void SetShortCut(TShortCut V) override { FItem->SetShortCut(V); }
  void SetVisible(bool V) override { FItem->SetVisible(V); }

private:
  TMenuItem* FItem;
};

// The popup menus being shown, innermost last; the popup list window hands
// their messages to them.
std::vector<TPopupMenu*>& ShownPopups() {
  static std::vector<TPopupMenu*> L;
  return L;
}

class TPopupList : public TObject {
public:
  HWND Window() {
    if (!FWnd || !IsWindow(FWnd)) FWnd = AllocateHWnd(TWndMethod(this, &TPopupList::WndProc));
    return FWnd;
  }
  void WndProc(TMessage& Message) {
    auto Shown = ShownPopups();
    for (auto It = Shown.rbegin(); It != Shown.rend(); ++It)
      if ((*It)->HandleMenuMessage(Message)) return;
    Message.Result = DefWindowProcA(FWnd, Message.Msg, Message.WParam, Message.LParam);
  }

private:
  HWND FWnd = nullptr;
};
TPopupList& PopupList() {
  static TPopupList L;
  return L;
}
}  // namespace

AnsiString StripHotkey(const AnsiString& Text) {
  AnsiString R;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '&') {
      if (I + 1 < Text.size() && Text[I + 1] == '&') {
        R += '&';
        ++I;
      }
      continue;
    }
    R += Text[I];
  }
  return R;
}

HWND PopupListWindow() { return PopupList().Window(); }

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(Commands().Take()) {}

TMenuItem::~TMenuItem() {
  Destroying();
  while (!FItems.empty()) delete FItems.back();
  if (FParent) FParent->Remove(this);
  FActionLink.reset();
  if (FHandle) DestroyMenu(FHandle);
  Commands().Give(FCommand);
}

TMenuItem* TMenuItem::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) MenuIndexError();
  return FItems[std::size_t(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
  if (!Item) throw EMenuError("Menu item is nil");
  if (Item->FParent) throw EMenuError("Menu inserted twice");
  if (Index < 0 || Index > Count()) MenuIndexError();
  for (TMenuItem* P = this; P; P = P->FParent)
    if (P == Item) throw EMenuError("Menu item cannot contain itself");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  Item->InsertEntry();
  // The first item turns this one into a sub-menu on its parent's menu.
  if (FItems.size() == 1) UpdateEntry();
  MenuChanged();
}

void TMenuItem::Delete(Integer Index) {
  if (Index < 0 || Index >= Count()) MenuIndexError();
  TMenuItem* Item = FItems[std::size_t(Index)];
  Item->RemoveEntry();
  FItems.erase(FItems.begin() + Index);
  Item->FParent = nullptr;
  if (FItems.empty()) UpdateEntry();
  MenuChanged();
}

void TMenuItem::Remove(TMenuItem* Item) {
  Integer I = IndexOf(Item);
  if (I < 0) throw EMenuError("Menu item not found");
  Delete(I);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

Integer TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  return It == FItems.end() ? -1 : Integer(It - FItems.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& ACaption) const {
  AnsiString Want = StripHotkey(ACaption);
  auto Lower = [](AnsiString S) {
    for (char& C : S) C = char(std::tolower(static_cast<unsigned char>(C)));
    return S;
  };
  Want = Lower(Want);
  for (TMenuItem* I : FItems)
    if (Lower(StripHotkey(I->FCaption)) == Want) return I;
  return nullptr;
}

Integer TMenuItem::GetMenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(Integer Value) {
  if (!FParent) return;
  TMenuItem* P = FParent;
  Integer Old = GetMenuIndex();
  Value = std::clamp(Value, 0, P->Count() - 1);
  if (Value == Old) return;
  P->Delete(Old);
  P->Insert(Value, this);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* I = this;
  while (I->FParent) I = I->FParent;
  return I->FMenu;
}

Integer TMenuItem::VisibleIndex() const {
  Integer N = 0;
  for (TMenuItem* I : FParent->FItems) {
    if (I == this) return N;
    if (I->FVisible) ++N;
  }
  return N;
}

bool TMenuItem::IsOwnerDraw() const {
  TMenu* M = GetParentMenu();
  // Titles on a menu bar are always the system's to draw.
  if (M && M->IsBar() && FParent && !FParent->FParent) return false;
  if (OnDrawItem.Assigned() || HasBitmap()) return true;
  // Images show only when the menu draws its items itself.
  return M && (M->GetOwnerDraw() || M->GetImages());
}

void TMenuItem::FillInfo(MENUITEMINFOA& Info, AnsiString& Text) {
  Info = MENUITEMINFOA();
  Info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
  Info.fType = IsLine() ? MFT_SEPARATOR : MFT_STRING;
  if (FRadioItem) Info.fType |= MFT_RADIOCHECK;
  if (IsOwnerDraw()) Info.fType |= MFT_OWNERDRAW;
  Info.fState = (FChecked ? MFS_CHECKED : 0) | (FEnabled ? 0 : MFS_GRAYED) | (FDefault ? MFS_DEFAULT : 0);
  Info.wID = FCommand;
  Info.hSubMenu = FItems.empty() ? nullptr : Handle();
  Info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  Text = FCaption;
  bool OnBar = FParent && !FParent->FParent && FParent->FMenu && FParent->FMenu->IsBar();
  if (FShortCut && !OnBar) {
    AnsiString S = ShortCutToText(FShortCut);
    if (!S.empty()) Text += "\t" + S;
  }
  Info.dwTypeData = Text.data();
}

void TMenuItem::InsertEntry() {
  if (!FParent || !FParent->FHandle || !FVisible) return;
  MENUITEMINFOA Info;
  AnsiString Text;
  FillInfo(Info, Text);
  InsertMenuItemA(FParent->FHandle, UINT(VisibleIndex()), TRUE, &Info);
}

void TMenuItem::RemoveEntry() {
  if (!FParent || !FParent->FHandle || !FVisible) return;
  RemoveMenu(FParent->FHandle, UINT(VisibleIndex()), MF_BYPOSITION);
}

void TMenuItem::UpdateEntry() {
  if (!FParent || !FParent->FHandle || !FVisible) return;
  MENUITEMINFOA Info;
  AnsiString Text;
  FillInfo(Info, Text);
  SetMenuItemInfoA(FParent->FHandle, UINT(VisibleIndex()), TRUE, &Info);
}

void TMenuItem::RebuildHandle() {
  if (!FHandle) return;
  for (int N = GetMenuItemCount(FHandle); N > 0; --N) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  for (TMenuItem* I : FItems) I->InsertEntry();
}

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    FHandle = (FMenu && FMenu->IsBar()) ? CreateMenu() : CreatePopupMenu();
    RebuildHandle();
  }
  return FHandle;
}

void TMenuItem::MenuChanged() {
  if (TMenu* M = GetParentMenu()) M->MenuChanged();
}

void TMenuItem::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  UpdateEntry();
  MenuChanged();
}

void TMenuItem::TurnSiblingsOff() {
  if (!FParent || !FRadioItem) return;
  for (TMenuItem* I : FParent->FItems)
    if (I != this && I->FRadioItem && I->FGroupIndex == FGroupIndex && I->FChecked) I->SetChecked(false);
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value) TurnSiblingsOff();
  UpdateEntry();
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateEntry();
  MenuChanged();
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  if (Value) {
    FVisible = true;
    InsertEntry();
  } else {
    RemoveEntry();
    FVisible = false;
  }
  MenuChanged();
}

void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value) return;
  if (Value && FParent)
    for (TMenuItem* I : FParent->FItems)
      if (I != this && I->FDefault) I->SetDefault(false);
  FDefault = Value;
  UpdateEntry();
}

void TMenuItem::SetRadioItem(bool Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (FChecked) TurnSiblingsOff();
  UpdateEntry();
}

void TMenuItem::SetGroupIndex(Byte Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FChecked) TurnSiblingsOff();
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  UpdateEntry();
}

void TMenuItem::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  UpdateEntry();
}

TBitmap* TMenuItem::GetBitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}

void TMenuItem::SetBitmap(TBitmap* Value) {
  if (!Value) {
    FBitmap.reset();
  } else {
    GetBitmap()->Assign(Value);
  }
  UpdateEntry();
}

TBasicAction* TMenuItem::GetAction() const { return FActionLink ? FActionLink->GetAction() : nullptr; }

void TMenuItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink = std::make_unique<TMenuItemActionLink>(this);
  FActionLink->SetAction(Value);
  Value->FreeNotification(this);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && FActionLink && AComponent == FActionLink->GetAction()) FActionLink.reset();
}

void TMenuItem::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck && !FActionLink) SetChecked(!FChecked);
  if (OnClick.Assigned() && !FActionLink) {
    OnClick(this);
  } else if (FActionLink) {
    if (!FActionLink->Execute(this) && OnClick.Assigned()) OnClick(this);
  }
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height) {
  if (OnMeasureItem.Assigned()) {
    OnMeasureItem(this, ACanvas, Width, Height);
    return;
  }
  if (IsLine()) {
    Width = 0;
    Height = GetSystemMetrics(SM_CYMENU) / 2;
    return;
  }
  TMenu* M = GetParentMenu();
  TCustomImageList* Images = M ? M->GetImages() : nullptr;
  int Column = GetSystemMetrics(SM_CXMENUCHECK) + 6;
  if (Images) Column = std::max(Column, Images->GetWidth() + 6);
  Width = Column + ACanvas->TextWidth(StripHotkey(FCaption)) + 16;
  if (FShortCut) Width += 16 + ACanvas->TextWidth(ShortCutToText(FShortCut));
  Height = std::max<Integer>(ACanvas->TextHeight("Qg") + 4, GetSystemMetrics(SM_CYMENUCHECK) + 2);
  if (Images) Height = std::max(Height, Images->GetHeight() + 4);
  if (HasBitmap()) Height = std::max(Height, FBitmap->GetHeight() + 4);
}

void TMenuItem::DrawItem(TCanvas* ACanvas, TRect ARect, bool Selected) {
  if (OnDrawItem.Assigned()) {
    OnDrawItem(this, ACanvas, ARect, Selected);
    return;
  }
  // As the system draws an item: the selection bar, a glyph (image, bitmap
  // or check mark) in the check column, the caption with its mnemonic, the
  // shortcut right-aligned, bold for the default item, embossed when
  // disabled.
  HDC Dc = ACanvas->GetHandle();
  FillRect(Dc, &ARect, GetSysColorBrush(Selected && !IsLine() ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsLine()) {
    TRect L{ARect.Left, (ARect.Top + ARect.Bottom) / 2 - 1, ARect.Right, (ARect.Top + ARect.Bottom) / 2 + 1};
    DrawEdge(Dc, &L, EDGE_ETCHED, BF_TOP);
    return;
  }
  TMenu* M = GetParentMenu();
  TCustomImageList* Images = M ? M->GetImages() : nullptr;
  int Column = GetSystemMetrics(SM_CXMENUCHECK) + 6;
  if (Images) Column = std::max(Column, Images->GetWidth() + 6);
  TRect Glyph{ARect.Left, ARect.Top, ARect.Left + Column, ARect.Bottom};
  COLORREF Ink = GetSysColor(!FEnabled ? COLOR_GRAYTEXT : Selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  bool HasImage = (Images && FImageIndex >= 0 && FImageIndex < Images->Count()) || HasBitmap();
  if (HasImage) {
    if (FChecked) {
      TRect Frame{Glyph.Left + 1, Glyph.Top + 1, Glyph.Right - 1, Glyph.Bottom - 1};
      DrawEdge(Dc, &Frame, BDR_SUNKENOUTER, BF_RECT);
    }
    if (Images && FImageIndex >= 0 && FImageIndex < Images->Count()) {
      Images->Draw(ACanvas, Glyph.Left + (Glyph.Width() - Images->GetWidth()) / 2,
                   Glyph.Top + (Glyph.Height() - Images->GetHeight()) / 2, FImageIndex, FEnabled);
    } else {
      ACanvas->Draw(Glyph.Left + (Glyph.Width() - FBitmap->GetWidth()) / 2,
                    Glyph.Top + (Glyph.Height() - FBitmap->GetHeight()) / 2, FBitmap.get());
    }
  } else if (FChecked) {
    DrawMenuCheckMark(Dc, Glyph, FRadioItem, Ink);
  }
  HFONT Bold = nullptr;
  if (FDefault) {
    LOGFONTA Lf;
    GetObjectA(ACanvas->Font()->GetHandle(), sizeof Lf, &Lf);
    Lf.lfWeight = 700;
    Bold = CreateFontIndirectA(&Lf);
  }
  HGDIOBJ OldFont = SelectObject(Dc, Bold ? HGDIOBJ(Bold) : HGDIOBJ(ACanvas->Font()->GetHandle()));
  int OldMode = SetBkMode(Dc, TRANSPARENT);
  TRect T{ARect.Left + Column, ARect.Top, ARect.Right - 16, ARect.Bottom};
  AnsiString Caption = FCaption, Short = FShortCut ? ShortCutToText(FShortCut) : AnsiString();
  auto Text = [&](COLORREF C, int D) {
    SetTextColor(Dc, C);
    TRect R{T.Left + D, T.Top + D, T.Right + D, T.Bottom + D};
    DrawTextA(Dc, Caption.data(), int(Caption.size()), &R, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!Short.empty()) DrawTextA(Dc, Short.data(), int(Short.size()), &R, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  };
  if (!FEnabled && !Selected) Text(GetSysColor(COLOR_3DHILIGHT), 1);
  Text(Ink, 0);
  SetBkMode(Dc, OldMode);
  SelectObject(Dc, OldFont);
  if (Bold) DeleteObject(Bold);
}

TComponent* TMenuItem::GetParentComponent() {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (auto* M = dynamic_cast<TMenu*>(Value)) M->Items()->Add(this);
  else if (auto* I = dynamic_cast<TMenuItem*>(Value)) I->Add(this);
}

void TMenuItem::ReadState(TReader* Reader) {
  inherited::ReadState(Reader);
  TComponent* P = Reader->Parent();
  if (P && P != GetParentComponent() && (dynamic_cast<TMenu*>(P) || dynamic_cast<TMenuItem*>(P)))
    SetParentComponent(P);
}

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TMenuItem* I : FItems)
    if (I->Owner() == Root) Proc(I);
}

void TMenuItem::SetChildOrder(TComponent* Child, Integer Order) {
  if (auto* I = dynamic_cast<TMenuItem*>(Child); I && I->FParent == this) I->SetMenuIndex(Order);
}

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner) {
  FItems = new TMenuItem(this);
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  Destroying();
  delete FItems;
  FItems = nullptr;
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  if (FItems->FHandle) {
    std::vector<TMenuItem*> Stack{FItems};
    while (!Stack.empty()) {
      TMenuItem* I = Stack.back();
      Stack.pop_back();
      I->UpdateEntry();
      Stack.insert(Stack.end(), I->FItems.begin(), I->FItems.end());
    }
  }
}

void TMenu::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
  std::vector<TMenuItem*> Stack{FItems};
  while (!Stack.empty()) {
    TMenuItem* I = Stack.back();
    Stack.pop_back();
    I->UpdateEntry();
    Stack.insert(Stack.end(), I->FItems.begin(), I->FItems.end());
  }
  MenuChanged();
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FSelected) FSelected = nullptr;
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind) const {
  if (Kind == fkShortCut && Value == 0) return nullptr;
  std::vector<TMenuItem*> Stack(FItems->FItems.rbegin(), FItems->FItems.rend());
  while (!Stack.empty()) {
    TMenuItem* I = Stack.back();
    Stack.pop_back();
    switch (Kind) {
      case fkCommand:
        if (I->FCommand == Value) return I;
        break;
      case fkHandle:
        if (I->FHandle && reinterpret_cast<UINT_PTR>(I->FHandle) == Value) return I;
        break;
      case fkShortCut:
        if (I->FShortCut == Value) return I;
        break;
    }
    Stack.insert(Stack.end(), I->FItems.rbegin(), I->FItems.rend());
  }
  return nullptr;
}

bool TMenu::DispatchCommand(Word ACommand) {
  TMenuItem* I = FindItem(ACommand, fkCommand);
  if (!I) return false;
  I->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU AMenu) {
  if (FItems->FHandle == AMenu) {
    for (TMenuItem* I : std::vector<TMenuItem*>(FItems->FItems)) I->InitiateAction();
    return true;
  }
  TMenuItem* Item = FindItem(reinterpret_cast<UINT_PTR>(AMenu), fkHandle);
  if (!Item) return false;
  Item->InitiateAction();
  Item->Click();
  for (TMenuItem* I : std::vector<TMenuItem*>(Item->FItems)) I->InitiateAction();
  return true;
}

bool TMenu::IsShortCut(TShortCut AShortCut) {
  TMenuItem* Item = FindItem(AShortCut, fkShortCut);
  if (!Item) return false;
  // The parents are told first, as if their sub-menus opened: their
  // OnClick may enable or disable the item.
  std::vector<TMenuItem*> Chain;
  for (TMenuItem* P = Item->FParent; P && P->FParent; P = P->FParent) Chain.insert(Chain.begin(), P);
  for (TMenuItem* P : Chain) {
    P->InitiateAction();
    if (P->OnClick.Assigned()) P->OnClick(P);
  }
  Item->InitiateAction();
  if (!Item->FEnabled) return false;
  Item->Click();
  return true;
}

bool TMenu::IsShortCut(TMessage& Message) {
  Word Key = Word(Message.WParam);
  if (Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU) return false;
  return IsShortCut(ShortCut(Key, KeyDataToShiftState(Message.LParam)));
}

bool TMenu::HandleMenuMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_INITMENUPOPUP:
      if (!DispatchPopup(HMENU(Message.WParam))) return false;
      Message.Result = 0;
      return true;
    case WM_COMMAND:
      if (Message.LParam != 0 || HIWORD(Message.WParam) > 1) return false;
      if (!DispatchCommand(LOWORD(Message.WParam))) return false;
      Message.Result = 0;
      return true;
    case WM_MENUSELECT: {
      UINT Flags = HIWORD(Message.WParam);
      HMENU Menu = HMENU(Message.LParam);
      TMenuItem* Item = nullptr;
      if (Flags == 0xFFFF && !Menu) {
        FSelected = nullptr;
        return false;
      }
      if (Flags & MF_POPUP) {
        if (HMENU Sub = GetSubMenu(Menu, LOWORD(Message.WParam))) Item = FindItem(reinterpret_cast<UINT_PTR>(Sub), fkHandle);
      } else {
        Item = FindItem(LOWORD(Message.WParam), fkCommand);
      }
      if (!Item) return false;
      FSelected = Item;
      if (Application) Application->SetHint(Item->GetHint());
      Message.Result = 0;
      return true;
    }
    case WM_MEASUREITEM: {
      auto* M = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      if (!M || M->CtlType != ODT_MENU) return false;
      TMenuItem* Item = FindItem(M->itemID, fkCommand);
      if (!Item) return false;
      HDC Dc = GetDC(nullptr);
      {
        TCanvas C;
        C.SetHandle(Dc);
        C.SetFont(Screen->MenuFont());
        Integer W = Integer(M->itemWidth), H = Integer(M->itemHeight);
        Item->MeasureItem(&C, W, H);
        M->itemWidth = UINT(std::max(0, W));
        M->itemHeight = UINT(std::max(0, H));
        C.SetHandle(nullptr);
      }
      ReleaseDC(nullptr, Dc);
      Message.Result = 1;
      return true;
    }
    case WM_DRAWITEM: {
      auto* D = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      if (!D || D->CtlType != ODT_MENU) return false;
      TMenuItem* Item = FindItem(D->itemID, fkCommand);
      if (!Item) return false;
      int Saved = SaveDC(D->hDC);
      {
        TCanvas C;
        C.SetHandle(D->hDC);
        C.SetFont(Screen->MenuFont());
        Item->DrawItem(&C, D->rcItem, (D->itemState & ODS_SELECTED) != 0);
        C.SetHandle(nullptr);
      }
      RestoreDC(D->hDC, Saved);
      Message.Result = 1;
      return true;
    }
    default: return false;
  }
}

void TMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) { FItems->GetChildren(Proc, Root); }

void TMenu::SetChildOrder(TComponent* Child, Integer Order) { FItems->SetChildOrder(Child, Order); }

// ---------------------------------------------------------------------------
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() { std::erase(ShownPopups(), this); }

HWND TPopupMenu::WindowHandle() const { return PopupListWindow(); }

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup.Assigned()) OnPopup(Sender);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
  PopupPoint = {X, Y};
  DoPopup(this);
  for (Integer I = 0; I < Items()->Count(); ++I) Items()->Items(I)->InitiateAction();
  static const UINT Align[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  UINT Flags = TPM_RETURNCMD | Align[Alignment] | (TrackButton == tbLeftButton ? TPM_LEFTBUTTON : TPM_RIGHTBUTTON);
  HWND Wnd = PopupListWindow();
  HMENU H = Handle();
  auto& Shown = ShownPopups();
  Shown.push_back(this);
  UINT Command = 0;
  try {
    Command = UINT(TrackPopupMenuEx(H, Flags, X, Y, Wnd, nullptr));
  } catch (...) {
    std::erase(Shown, this);
    throw;
  }
  // A handler may have freed the menu while it showed.
  auto It = std::find(Shown.begin(), Shown.end(), this);
  if (It == Shown.end()) return;
  Shown.erase(It);
  if (Command) DispatchCommand(Word(Command));
}

// ---------------------------------------------------------------------------
// TMainMenu

HWND TMainMenu::WindowHandle() const { return FForm && FForm->HandleAllocated() ? FForm->Handle() : nullptr; }

void TMainMenu::MenuChanged() {
  if (HWND W = WindowHandle()) DrawMenuBar(W);
}

// ---------------------------------------------------------------------------

TMenuItem* NewItem(const AnsiString& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                   const TNotifyEvent& AOnClick, Integer AHelpContext, const AnsiString& AName) {
  auto* I = new TMenuItem(nullptr);
  I->SetName(AName);
  I->SetCaption(ACaption);
  I->SetShortCut(AShortCut);
  I->SetChecked(AChecked);
  I->SetEnabled(AEnabled);
  I->OnClick = AOnClick;
  I->HelpContext = AHelpContext;
  return I;
}

TMenuItem* NewLine() {
  auto* I = new TMenuItem(nullptr);
  I->SetCaption("-");
  return I;
}

void RegisterMenusClasses() {
  RegisterClasses({TMenuItem::StaticClass(), TPopupMenu::StaticClass(), TMainMenu::StaticClass()});
}
