#include "bars/customize/dxBarCustForm.h"

#include <algorithm>
#include <vector>
#include "bars/customize/dxBarCustomizing.h"
#include "bars/items/dxBarItem.h"
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarCategories.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "bars/windows/dxBarWindows.h"
#include "platform/forms/Application.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Panels.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/AnsiStrings.h"
#include "controls/base/cxControlHelpers.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Drawing.h"
#include "platform/win/Hooks.h"
#include "platform/win/Paint.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

namespace {

TdxBarCustomizingForm* GForm = nullptr;
bool GFormDestroying = false;
std::vector<HWND> GDisabledForms;
HHOOK GMouseHook = nullptr;

// The bar window under a screen point inside a window, nil when none.
TCustomdxBarControl* BarWindowIn(HWND Wnd, TPoint ScreenPt) {
  HWND H = Wnd;
  for (int Depth = 0; Depth < 64; ++Depth) {
    TPoint P = ScreenPt;
    ScreenToClient(H, &P);
    HWND C = ChildWindowFromPointEx(H, P, CWP_SKIPINVISIBLE);
    if (!C || C == H) break;
    H = C;
  }
  for (; H; H = GetParent(H))
    if (auto* W = dynamic_cast<TCustomdxBarControl*>(FindControl(H))) return IsLiveBarControl(W) ? W : nullptr;
  return nullptr;
}

// The owner forms wait while the form is open, but the bars on them are
// what the user customizes: mouse input over a bar window of a disabled
// form goes to that bar window.
LRESULT CustomizingMouseHook(int Code, WPARAM W, LPARAM L) {
  if (Code == HC_ACTION && GForm) {
    auto* H = reinterpret_cast<MOUSEHOOKSTRUCT*>(L);
    const UINT Msg = UINT(W);
    const bool Redirected = Msg == WM_MOUSEMOVE || Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONUP ||
                            Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDOWN || Msg == WM_RBUTTONUP;
    if (Redirected && H->hwnd && !IsWindowEnabled(H->hwnd) && GetCapture() == nullptr)
      if (TCustomdxBarControl* Bar = BarWindowIn(H->hwnd, H->pt); Bar && Bar->HandleAllocated()) {
        TPoint P = H->pt;
        ScreenToClient(Bar->Handle(), &P);
        WPARAM Keys = 0;
        if (GetKeyState(VK_CONTROL) < 0) Keys |= MK_CONTROL;
        if (GetKeyState(VK_SHIFT) < 0) Keys |= MK_SHIFT;
        // At once, in order: a press may start a drag whose own loop
        // takes the input that follows.
        SendMessageA(Bar->Handle(), Msg, Keys, MAKELPARAM(P.X, P.Y));
        return 1;
      }
  }
  return CallNextHookEx(GMouseHook, Code, W, L);
}

// A caption as read, without accelerator marks.
AnsiString WithoutAccelMarks(const AnsiString& S) {
  AnsiString R;
  for (std::size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '&' && I + 1 < S.size()) ++I;
    R += S[I];
  }
  return R;
}

TdxBarCustomizingForm* MakeForm(TdxBarManager* AManager) { return new TdxBarCustomizingForm(AManager); }
TdxBarCustomizingFormMaker GMaker = &MakeForm;

// Disables the owner form of every manager (remembering which were
// enabled), or enables the remembered ones again.
void SetBarManagerFormsEnabled(bool Enable) {
  if (Enable) {
    if (GMouseHook) UnhookWindowsHookEx(GMouseHook);
    GMouseHook = nullptr;
    std::vector<HWND> List;
    List.swap(GDisabledForms);
    for (HWND W : List)
      if (IsWindow(W)) EnableWindow(W, TRUE);
    return;
  }
  for (Integer I = 0; I < BarManagers().Count(); ++I) {
    TCustomForm* F = BarManagers().Get(I)->OwnerForm();
    if (!F || !F->HandleAllocated() || !IsWindowEnabled(F->Handle())) continue;
    EnableWindow(F->Handle(), FALSE);
    GDisabledForms.push_back(F->Handle());
  }
  if (!GMouseHook) GMouseHook = SetWindowsHookExA(WH_MOUSE, CustomizingMouseHook, nullptr, 0);
}

template <class T>
T* Make(TWinControl* Parent, Integer L, Integer T0, Integer W, Integer H) {
  auto* C = new T(Parent);
  C->SetParent(Parent);
  C->SetBounds(L, T0, W, H);
  return C;
}

TLabel* MakeLabel(TWinControl* Parent, Integer L, Integer T, const AnsiString& Caption) {
  auto* C = new TLabel(Parent);
  C->SetParent(Parent);
  C->SetLeft(L);
  C->SetTop(T);
  C->SetCaption(Caption);
  return C;
}

TCheckBox* MakeCheck(TWinControl* Parent, Integer L, Integer T, const AnsiString& Caption) {
  auto* C = Make<TCheckBox>(Parent, L, T, 300, 17);
  C->SetCaption(Caption);
  return C;
}

// The width and height of a text in a font.
TSize MeasureText(TFont* AFont, const AnsiString& S) {
  TBitmap B;
  B.SetWidth(1);
  B.SetHeight(1);
  B.Canvas()->Font()->Assign(AFont);
  return B.Canvas()->TextExtent(S);
}

}  // namespace

TdxBarCustomizingForm* dxBarCustomizingForm() { return GForm; }

void dxBarSetCustomizingFormMaker(TdxBarCustomizingFormMaker AMaker) { GMaker = AMaker ? AMaker : &MakeForm; }

void dxBarShowCustomizingForm(TdxBarManager* AManager, bool Value) {
  if (Value) {
    if (GForm) return;
    dxBarSetCustomizingManager(AManager);
    if (AManager->OnShowCustomizingForm) AManager->OnShowCustomizingForm(AManager);
    SetBarManagerFormsEnabled(false);
    try {
      GForm = GMaker(AManager);
      GForm->Show();
    } catch (...) {
      // A form that fails to open must not leave the program's forms
      // disabled, nor the manager in a customizing mode nobody can end.
      TdxBarCustomizingForm* F = GForm;
      GForm = nullptr;
      SetBarManagerFormsEnabled(true);
      delete F;
      dxBarSetCustomizingManager(nullptr);
      dxBarSetCustomizing(AManager, false);
      if (AManager->OnHideCustomizingForm) AManager->OnHideCustomizingForm(AManager);
      throw;
    }
    return;
  }
  if (dxBarCustomizingManager() != AManager) return;
  dxBarSetCustomizingManager(nullptr);
  if (!GFormDestroying) {
    SetBarManagerFormsEnabled(true);
    TdxBarCustomizingForm* F = GForm;
    GForm = nullptr;
    delete F;
  }
  dxBarSetSelectedItem(nullptr);
  // The sub-menu editor never outlives customizing.
  delete dxBarSubMenuEditor();
  if (AManager->OnHideCustomizingForm) AManager->OnHideCustomizingForm(AManager);
}

void dxBarCustomizingFormBarChanged(TdxBar* ABar) {
  if (GForm) GForm->BarChanged(ABar);
}
void dxBarCustomizingFormBarRemoved(TdxBar* ABar) {
  if (GForm) GForm->BarRemoved(ABar);
}
void dxBarCustomizingFormOptionsChanged() {
  if (GForm) GForm->UpdateOptions();
}

// ---------------------------------------------------------------------------
// The toolbars list

namespace dxBarCustForm {

TCheckListBox::TCheckListBox(TComponent* AOwner) : TListBox(AOwner) { SetStyle(lbOwnerDrawFixed); }

TdxBar* TCheckListBox::BarAt(Integer Index) {
  if (Index < 0 || Index >= GetItems()->GetCount()) return nullptr;
  auto* B = static_cast<TdxBar*>(GetItems()->GetObjects(Index));
  // The row's bar only while the manager still has it.
  if (!FBarManager) return nullptr;
  for (Integer I = 0; I < FBarManager->Bars()->Count(); ++I)
    if (FBarManager->Bars()->GetItem(I) == B) return B;
  return nullptr;
}

void TCheckListBox::ToggleBar(Integer Index) {
  TdxBar* B = BarAt(Index);
  if (!B) return;
  if (!B->CanClose()) {
    MessageBeep(0);
    return;
  }
  B->SetVisible(!B->GetVisible());
  InvalidateCheck(Index);
  FBarManager->DesignerModified();
}

void TCheckListBox::InvalidateCheck(Integer Index) {
  if (Index < 0 || !HandleAllocated()) return;
  TRect R = ItemRect(Index);
  R.Right = R.Left + FCheckWidth;
  InvalidateRect(Handle(), &R, TRUE);
  UpdateWindow(Handle());
}

void TCheckListBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  FCheckWidth = Rect.Bottom - Rect.Top;
  TRect Box = Rect;
  Box.Right = Rect.Left + FCheckWidth;
  Rect.Left += FCheckWidth;
  TListBox::DrawItem(Index, Rect, State);
  // The check column keeps the list's own colour.
  Canvas()->Brush()->SetColor(GetColor());
  Canvas()->FillRect(Box);
  const Integer Side = std::min(FCheckWidth - 2, Box.Bottom - Box.Top - 2);
  TRect Check{Box.Left + 1, Box.Top + (Box.Bottom - Box.Top - Side) / 2, Box.Left + 1 + Side, 0};
  Check.Bottom = Check.Top + Side;
  UINT S = DFCS_BUTTONCHECK;
  if (TdxBar* B = BarAt(Index)) {
    if (B->GetVisible()) S |= DFCS_CHECKED;
    if (!B->CanClose()) S |= DFCS_INACTIVE;
  }
  DrawFrameControl(Canvas()->GetHandle(), &Check, DFC_BUTTON, S);
}

void TCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TListBox::MouseDown(Button, Shift, X, Y);
  const Integer Row = ItemAtPos({X, Y}, true);
  if (Row < 0 || GetItems()->GetCount() == 0) return;
  if (X - ItemRect(Row).Left < FCheckWidth) ToggleBar(Row);
}

void TCheckListBox::KeyPress(char& Key) {
  TListBox::KeyPress(Key);
  if (Key == ' ') ToggleBar(GetItemIndex());
}

void TCheckListBox::WndProc(TMessage& Message) {
  // Two quick clicks on a check box are two clicks, not a double click.
  if (Message.Msg == WM_LBUTTONDBLCLK && short(Message.LParamLo()) < FCheckWidth) Message.Msg = WM_LBUTTONDOWN;
  const bool DblClk = Message.Msg == WM_LBUTTONDBLCLK;
  const TPoint P{short(Message.LParamLo()), short(Message.LParamHi())};
  TListBox::WndProc(Message);
  if (DblClk) ToggleBar(ItemAtPos(P, true));
}

// ---------------------------------------------------------------------------
// The commands list

TCommandsListBox::TCommandsListBox(TComponent* AOwner, TdxBarManager* AManager)
    : TListBox(AOwner), FBarManager(AManager) {
  SetStyle(lbOwnerDrawVariable);
}

TdxBarItem* TCommandsListBox::ItemAt(Integer Index) {
  if (Index < 0 || Index >= GetItems()->GetCount()) return nullptr;
  auto* I = static_cast<TdxBarItem*>(GetItems()->GetObjects(Index));
  for (Integer K = 0; K < FBarManager->GetItemCount(); ++K)
    if (FBarManager->GetItem(K) == I) return I;
  return nullptr;
}

void TCommandsListBox::MeasureItem(Integer, Integer& Height) { Height = 22; }

void TCommandsListBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  TdxBarItem* Item = ItemAt(Index);
  if (!Item) return;
  const TdxBarCustomizingFormPainter& P = dxBarCustomizingFormPainter(FBarManager);
  const bool Selected = State.Contains(odSelected);
  const TColor Brush = Canvas()->Brush()->GetColor(), Pen = Canvas()->Pen()->GetColor();
  if (dynamic_cast<TdxBarEdit*>(Item)) P.DrawEditItem(Canvas(), Item, Rect, Selected);
  else P.DrawButtonItem(Canvas(), Item, Rect, Selected);
  if (Index == GetItems()->GetCount() - 1 && Rect.Bottom < ClientHeight()) {
    // The last row's colour fills the list below the rows.
    Canvas()->Brush()->SetColor(P.GetBkColor(false));
    Canvas()->FillRect({Rect.Left, Rect.Bottom, Rect.Right, ClientHeight()});
  }
  Canvas()->Brush()->SetColor(Brush);
  Canvas()->Pen()->SetColor(Pen);
  if (State.Contains(odFocused)) P.DrawFocusRect(Canvas(), Item, Rect);
}

void TCommandsListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TListBox::MouseDown(Button, Shift, X, Y);
  const Integer Row = ItemAtPos({X, Y}, true);
  if (Button == mbRight) {
    if (CanFocus()) SetFocus();
    SetItemIndex(Row);
    Click();
    return;
  }
  if (Button != mbLeft || GetItemIndex() < 0 || GetItems()->GetCount() == 0) return;
  Click();
  TdxBarItem* Item = ItemAt(GetItemIndex());
  if (!Item || !HandleAllocated()) return;
  const TPoint S = ClientToScreen({X, Y});
  if (!dxBarDragDetect(Handle(), S)) return;
  if (ItemAt(GetItemIndex()) == Item) dxBarDragItemOrLink(FBarManager, Item, nullptr, &S);
}

void TCommandsListBox::WndProc(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    // Rows paint their own background; only the room below them is filled.
    const Integer Count = GetItems()->GetCount();
    TRect R = GetClientRect();
    if (Count > 0) R.Top = std::max<Integer>(R.Top, ItemRect(Count - 1).Bottom);
    if (R.Top < R.Bottom) {
      Canvas()->Brush()->SetColor(GetColor());
      Canvas()->FillRect(R);
    }
    Message.Result = 1;
    return;
  }
  TListBox::WndProc(Message);
  if (Message.Msg == WM_SETFOCUS && GetItemIndex() < 0 && GetItems()->GetCount() > 0) {
    SetItemIndex(0);
    Click();
  }
}

}  // namespace dxBarCustForm

using dxBarCustForm::TCheckListBox;
using dxBarCustForm::TCommandsListBox;

// ---------------------------------------------------------------------------
// The form

TdxBarCustomizingForm::TdxBarCustomizingForm(TdxBarManager* AManager) : TForm(nullptr), FBarManager(AManager) {
  SetCaption(dxBarStr(dxSBAR_CUSTOMIZINGFORM));
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{biSystemMenu});
  SetPosition(Forms::poScreenCenter);
  SetClientWidth(366);
  SetClientHeight(310);
  SetKeyPreview(true);
  GetFont()->SetName(AManager->Font()->GetName());
  GetFont()->SetCharset(AManager->Font()->GetCharset());

  Panel1 = new TPanel(this);
  Panel1->SetParent(this);
  Panel1->SetAlign(alBottom);
  Panel1->SetHeight(36);
  Panel1->SetBevelOuter(bvNone);
  BHelp = Make<TBitBtn>(Panel1, 6, 8, 24, 23);
  BHelp->SetVisible(false);  // the manager offers no help button
  BHelp->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::BHelpClick);
  BClose = Make<TButton>(Panel1, 285, 8, 75, 23);
  BClose->SetCaption(dxBarStr(64948));
  BClose->SetCancel(true);
  BClose->SetDefault(true);
  BClose->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::CloseClick);
  {
    // The button fits its caption and stays at the right.
    const Integer W = MeasureText(GetFont(), WithoutAccelMarks(BClose->GetCaption())).cx + 49;
    BClose->SetBounds(366 - 6 - W, 8, W, 23);
  }

  PageControl = Make<TPageControl>(this, 6, 8, 354, 310 - 36 - 8);
  PageControl->OnChange = TNotifyEvent(this, &TdxBarCustomizingForm::PageControlChange);
  auto Sheet = [this](unsigned Text) {
    auto* S = new TTabSheet(this);
    S->SetPageControl(PageControl);
    S->SetCaption(dxBarStr(Text));
    return S;
  };
  TabSheet1 = Sheet(dxSBAR_TABSHEET1);
  TabSheet2 = Sheet(dxSBAR_TABSHEET2);
  TabSheet3 = Sheet(dxSBAR_TABSHEET3);
  BuildToolbarsPage();
  BuildCommandsPage();
  BuildOptionsPage();
  PageControl->SetActivePage(TabSheet1);
  RefreshLists();
  UpdateLookAndFeel();
  UpdateOptions();
}

void TdxBarCustomizingForm::BuildToolbarsPage() {
  LabelToobars = MakeLabel(TabSheet1, 4, 4, dxBarStr(64975));
  FBarsList = Make<TCheckListBox>(TabSheet1, 4, 20, 227, 213);
  FBarsList->FBarManager = FBarManager;
  FBarsList->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::UpdateBarButtons);
  FBarsList->SetItemHeight(MeasureText(GetFont(), "0").cy + 2);
  LabelToobars->SetFocusControl(FBarsList);
  auto Button = [this](Integer Top, unsigned Text, void (TdxBarCustomizingForm::*Handler)(TObject*)) {
    auto* B = Make<TButton>(TabSheet1, 239, Top, 104, 22);
    B->SetCaption(dxBarStr(Text));
    B->OnClick = TNotifyEvent(this, Handler);
    return B;
  };
  BBarNew = Button(21, 64944, &TdxBarCustomizingForm::BBarNewClick);
  BBarRename = Button(50, 64945, &TdxBarCustomizingForm::BBarRenameClick);
  BBarDelete = Button(79, 64946, &TdxBarCustomizingForm::BBarDeleteClick);
  BBarReset = Button(108, 64947, &TdxBarCustomizingForm::BBarResetClick);
  BBarReset->SetVisible(FBarManager->CanReset());
}

void TdxBarCustomizingForm::BuildCommandsPage() {
  LabelCategories = MakeLabel(TabSheet2, 6, 8, dxBarStr(64950));
  LabelCommands = MakeLabel(TabSheet2, 148, 8, dxBarStr(64951));
  LCategories = Make<TListBox>(TabSheet2, 6, 24, 135, 147);
  LCategories->SetItemHeight(13);
  LCategories->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::LCategoriesClick);
  LabelCategories->SetFocusControl(LCategories);
  FCommandsList = new TCommandsListBox(this, FBarManager);
  FCommandsList->SetParent(TabSheet2);
  FCommandsList->SetBounds(148, 24, 194, 147);
  FCommandsList->SetColor(clBtnFace);
  FCommandsList->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::LCommandsClick);
  LabelCommands->SetFocusControl(FCommandsList);
  LabelDescription = MakeLabel(TabSheet2, 6, 178, dxBarStr(dxSBAR_DESCRIPTION));
  Bevel1 = Make<TBevel>(TabSheet2, 6, 184, 337, 5);
  Bevel1->SetShape(bsTopLine);
  DescriptionLabel = MakeLabel(TabSheet2, 6, 194, "");
  DescriptionLabel->SetAutoSize(false);
  DescriptionLabel->SetWordWrap(true);
  DescriptionLabel->SetBounds(6, 194, 335, 40);
}

void TdxBarCustomizingForm::SetUpAnimations(TLabel* ALabel, TComboBox* ACombo) {
  ALabel->SetCaption(dxBarStr(64912));
  ACombo->SetStyle(csDropDownList);
  if (ACombo->GetLeft() < ALabel->GetLeft() + ALabel->GetWidth() + 10)
    ACombo->SetLeft(ALabel->GetLeft() + ALabel->GetWidth() + 10);
  Integer Widest = 0;
  for (unsigned Id = 64913; Id <= 64917; ++Id) {
    ACombo->GetItems()->Add(dxBarStr(Id));
    Widest = std::max(Widest, MeasureText(GetFont(), dxBarStr(Id)).cx);
  }
  ACombo->SetWidth(Widest + 54);
  ACombo->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::ComboBoxMenuAnimationsClick);
  ACombo->OnChange = ACombo->OnClick;
}

void TdxBarCustomizingForm::BuildOptionsPage() {
  StandardOptionsPanel = Make<TPanel>(TabSheet3, 0, 0, 346, 240);
  StandardOptionsPanel->SetAlign(alClient);
  StandardOptionsPanel->SetBevelOuter(bvNone);
  EnhancedOptionsPanel = Make<TPanel>(TabSheet3, 0, 0, 346, 240);
  EnhancedOptionsPanel->SetAlign(alClient);
  EnhancedOptionsPanel->SetBevelOuter(bvNone);

  TPanel* S = StandardOptionsPanel;
  CBLargeIcons = MakeCheck(S, 24, 38, dxBarStr(64941));
  CBHint1 = MakeCheck(S, 24, 63, dxBarStr(64942));
  CBHint2 = MakeCheck(S, 24, 85, dxBarStr(64943));
  LabelMenuAnimations = MakeLabel(S, 24, 152, "");
  ComboBoxMenuAnimations = Make<TComboBox>(S, 134, 148, 93, 21);
  SetUpAnimations(LabelMenuAnimations, ComboBoxMenuAnimations);

  TPanel* E = EnhancedOptionsPanel;
  Label3 = MakeLabel(E, 12, 12, dxBarStr(64936));
  Bevel3 = Make<TBevel>(E, 12, 18, 317, 5);
  CBMenusShowRecentItemsFirst = MakeCheck(E, 20, 32, dxBarStr(64937));
  CBShowFullMenusAfterDelay = MakeCheck(E, 36, 52, dxBarStr(64938));
  BResetUsageData = Make<TButton>(E, 20, 76, 119, 22);
  BResetUsageData->SetCaption(dxBarStr(64939));
  {
    BResetUsageData->SetWidth(MeasureText(GetFont(), WithoutAccelMarks(BResetUsageData->GetCaption())).cx + 17);
  }
  Label2 = MakeLabel(E, 12, 116, dxBarStr(64940));
  Bevel2 = Make<TBevel>(E, 12, 122, 317, 5);
  CBLargeIconsEx = MakeCheck(E, 20, 132, dxBarStr(64941));
  CBHint1Ex = MakeCheck(E, 20, 152, dxBarStr(64942));
  CBHint2Ex = MakeCheck(E, 36, 172, dxBarStr(64943));
  Label1 = MakeLabel(E, 20, 200, "");
  ComboBoxMenuAnimationsEx = Make<TComboBox>(E, 132, 196, 93, 21);
  SetUpAnimations(Label1, ComboBoxMenuAnimationsEx);

  // Each section line starts right after its title.
  for (auto [B, L] : {std::pair{Bevel1, LabelDescription}, std::pair{Bevel3, Label3}, std::pair{Bevel2, Label2}}) {
    B->SetShape(bsTopLine);
    const Integer Right = B->GetLeft() + B->GetWidth();
    const Integer Left = L->GetLeft() + L->GetWidth();
    B->SetBounds(Left, B->GetTop(), std::max<Integer>(Right - Left, 0), B->GetHeight());
  }

  CBLargeIcons->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::CBLargeIconsClick);
  CBLargeIconsEx->OnClick = CBLargeIcons->OnClick;
  CBHint1->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::CBHint1Click);
  CBHint1Ex->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::CBHint1ExClick);
  CBHint2->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::CBHint2Click);
  CBHint2Ex->OnClick = CBHint2->OnClick;
  CBMenusShowRecentItemsFirst->OnClick =
      TNotifyEvent(this, &TdxBarCustomizingForm::CBMenusShowRecentItemsFirstClick);
  CBShowFullMenusAfterDelay->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::CBShowFullMenusAfterDelayClick);
  BResetUsageData->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::BResetUsageDataClick);
}

TdxBarCustomizingForm::~TdxBarCustomizingForm() {
  // Freed by its owner road or closed by the user: either way customizing
  // mode ends, without freeing this form a second time.
  GFormDestroying = true;
  if (GForm == this) {
    SetBarManagerFormsEnabled(true);
    if (dxBarCustomizingManager() == FBarManager) dxBarSetCustomizing(FBarManager, false);
    GForm = nullptr;
  }
  GFormDestroying = false;
}

void TdxBarCustomizingForm::RefreshLists() {
  FBarsList->GetItems()->BeginUpdate();
  FBarsList->GetItems()->Clear();
  Integer FirstVisible = -1;
  for (Integer I = 0; I < FBarManager->Bars()->Count(); ++I)
    if (TdxBar* B = FBarManager->Bars()->GetItem(I); !B->GetHidden()) {
      const Integer Row = FBarsList->GetItems()->AddObject(B->GetCaption(), B);
      if (FirstVisible < 0 && B->GetVisible()) FirstVisible = Row;
    }
  FBarsList->GetItems()->EndUpdate();
  FBarsList->SetItemIndex(FirstVisible);
  LCategories->GetItems()->BeginUpdate();
  LCategories->GetItems()->Clear();
  for (Integer I = 0; I < FBarManager->Categories()->GetCount(); ++I)
    if (FBarManager->GetCategoryVisible(I)) LCategories->GetItems()->Add(FBarManager->Categories()->GetStrings(I));
  LCategories->GetItems()->EndUpdate();
  if (LCategories->GetItems()->GetCount()) LCategories->SetItemIndex(0);
  RefreshCommands();
  UpdateBarButtons();
}

void TdxBarCustomizingForm::RefreshCommands() {
  FCommandsList->GetItems()->BeginUpdate();
  FCommandsList->GetItems()->Clear();
  if (const Integer Row = LCategories->GetItemIndex(); Row >= 0) {
    const Integer Category = dxBarVisibleCategoryToIndex(FBarManager, Row);
    std::vector<TdxBarItem*> Items;
    if (Category >= 0) FBarManager->GetVisibleItemsByCategory(Category, Items);
    for (TdxBarItem* I : Items)
      if (!I->IsHiddenInCommandList()) FCommandsList->GetItems()->AddObject(WithoutAccelMarks(I->GetCaption()), I);
  }
  FCommandsList->GetItems()->EndUpdate();
  DescriptionLabel->SetCaption("");
}

void TdxBarCustomizingForm::LCategoriesClick(TObject*) { RefreshCommands(); }

void TdxBarCustomizingForm::LCommandsClick(TObject*) {
  dxBarSetSelectedItem(nullptr);
  TdxBarItem* Item = FCommandsList->ItemAt(FCommandsList->GetItemIndex());
  DescriptionLabel->SetCaption(Item ? Item->GetDescription() : AnsiString());
  DescriptionLabel->Repaint();
}

TdxBar* TdxBarCustomizingForm::SelectedBar() { return FBarsList->BarAt(FBarsList->GetItemIndex()); }

void TdxBarCustomizingForm::UpdateBarButtons(TObject*) {
  TdxBar* B = SelectedBar();
  // Only bars made here (not read from the form description) take a new
  // name or go away.
  BBarRename->SetEnabled(B && !B->GetLoadedFromForm());
  BBarDelete->SetEnabled(B && !B->GetLoadedFromForm() && B->CanClose());
  BBarReset->SetEnabled(B && B->CanReset());
}

void TdxBarCustomizingForm::BarChanged(TdxBar* ABar) {
  for (Integer I = 0; I < FBarsList->GetItems()->GetCount(); ++I)
    if (FBarsList->GetItems()->GetObjects(I) == ABar) {
      if (FBarsList->GetItems()->GetStrings(I) != ABar->GetCaption())
        FBarsList->GetItems()->SetStrings(I, ABar->GetCaption());
      UpdateBarButtons();
      FBarsList->InvalidateCheck(I);
      return;
    }
}

void TdxBarCustomizingForm::BarRemoved(TdxBar* ABar) {
  for (Integer I = 0; I < FBarsList->GetItems()->GetCount(); ++I)
    if (FBarsList->GetItems()->GetObjects(I) == ABar) {
      FBarsList->GetItems()->Delete(I);
      UpdateBarButtons();
      return;
    }
}

void TdxBarCustomizingForm::BBarNewClick(TObject*) {
  AnsiString Name;
  for (Integer N = 1;; ++N) {
    Name = dxBarStr(64959) + IntToStr(N);
    if (!FBarManager->FindBarByName(Name)) break;
  }
  if (!dxBarShowBarNameEditor(Name, 0, 0, nullptr, FBarManager)) return;
  TdxBar* B = FBarManager->Bars()->Add();
  B->SetCaption(Name);
  // It floats beside the form, on the form's monitor.
  TRect Work;
  GetMonitorWorkArea({GetLeft(), GetTop()}, Work);
  Integer L = GetLeft() - 50;
  if (L < Work.Left) L = GetLeft() + GetWidth() + 10;
  Integer T = GetTop();
  if (T < Work.Top) T = Work.Top + 10;
  B->SetFloatLeft(L);
  B->SetFloatTop(T);
  B->SetDockingStyle(dsNone);
  B->SetVisible(true);
  const Integer Row = FBarsList->GetItems()->AddObject(B->GetCaption(), B);
  FBarsList->SetItemIndex(Row);
  UpdateBarButtons();
}

void TdxBarCustomizingForm::BBarRenameClick(TObject*) {
  TdxBar* B = SelectedBar();
  if (!B) return;
  AnsiString Name = B->GetCaption();
  if (!dxBarShowBarNameEditor(Name, 0, 1, B, FBarManager)) return;
  const Integer Row = FBarsList->GetItemIndex();
  FBarsList->GetItems()->SetStrings(Row, Name);
  B->SetCaption(Name);
  FBarsList->SetItemIndex(Row);
}

void TdxBarCustomizingForm::BBarDeleteClick(TObject*) {
  const Integer Row = FBarsList->GetItemIndex();
  TdxBar* B = SelectedBar();
  if (!B) return;
  const AnsiString Text = Format(dxBarStr(dxSBAR_WANTTODELETETOOLBAR), {FBarsList->GetItems()->GetStrings(Row)});
  if (Application->MessageBox(Text, Application->GetTitle(), MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;
  FBarsList->GetItems()->Delete(Row);
  const Integer Count = FBarsList->GetItems()->GetCount();
  if (Count > 0) FBarsList->SetItemIndex(std::min(Row, Count - 1));
  B->SetIndex(FBarManager->Bars()->Count() - 1);
  UpdateBarButtons();
  delete B;
  FBarManager->DesignerModified();
}

void TdxBarCustomizingForm::BBarResetClick(TObject*) {
  if (TdxBar* B = SelectedBar()) dxBarResetBarWithConfirmation(B);
  UpdateBarButtons();
  FBarsList->Invalidate();
}

void TdxBarCustomizingForm::BResetUsageDataClick(TObject*) { dxBarResetUsageDataWithConfirmation(FBarManager); }

void TdxBarCustomizingForm::UpdateLookAndFeel() {
  FCommandsList->SetColor(FBarManager->GetEffectiveStyle() == bmsFlat ? clWindow : clBtnFace);
  FCommandsList->Invalidate();
}

void TdxBarCustomizingForm::UpdateOptions() {
  // Setting a box can reach the manager and come back here.
  const bool Was = FUpdatingOptions;
  FUpdatingOptions = true;
  const bool Standard = FBarManager->GetEffectiveStyle() == bmsStandard;
  StandardOptionsPanel->SetVisible(Standard);
  EnhancedOptionsPanel->SetVisible(!Standard);
  CBMenusShowRecentItemsFirst->SetChecked(FBarManager->GetMenusShowRecentItemsFirst());
  CBShowFullMenusAfterDelay->SetChecked(FBarManager->GetShowFullMenusAfterDelay());
  CBShowFullMenusAfterDelay->SetEnabled(CBMenusShowRecentItemsFirst->GetChecked());
  CBLargeIcons->SetChecked(FBarManager->GetLargeIcons());
  CBLargeIconsEx->SetChecked(FBarManager->GetLargeIcons());
  CBHint1->SetChecked(FBarManager->GetShowHint());
  CBHint1Ex->SetChecked(FBarManager->GetShowHint());
  CBHint2->SetChecked(FBarManager->GetShowShortCutInHint());
  CBHint2Ex->SetChecked(FBarManager->GetShowShortCutInHint());
  CBHint2Ex->SetEnabled(CBHint1Ex->GetChecked());
  ComboBoxMenuAnimations->SetItemIndex(Integer(FBarManager->GetMenuAnimations()));
  ComboBoxMenuAnimationsEx->SetItemIndex(Integer(FBarManager->GetMenuAnimations()));
  FUpdatingOptions = Was;
}

void TdxBarCustomizingForm::CBMenusShowRecentItemsFirstClick(TObject*) {
  CBShowFullMenusAfterDelay->SetEnabled(CBMenusShowRecentItemsFirst->GetChecked());
  FBarManager->SetMenusShowRecentItemsFirst(CBMenusShowRecentItemsFirst->GetChecked());
}
void TdxBarCustomizingForm::CBShowFullMenusAfterDelayClick(TObject*) {
  FBarManager->SetShowFullMenusAfterDelay(CBShowFullMenusAfterDelay->GetChecked());
}
void TdxBarCustomizingForm::CBLargeIconsClick(TObject* Sender) {
  if (auto* C = dynamic_cast<TCheckBox*>(Sender)) FBarManager->SetLargeIcons(C->GetChecked());
}
void TdxBarCustomizingForm::CBHint1Click(TObject* Sender) {
  if (auto* C = dynamic_cast<TCheckBox*>(Sender)) FBarManager->SetShowHint(C->GetChecked());
}
void TdxBarCustomizingForm::CBHint1ExClick(TObject* Sender) {
  CBHint2Ex->SetEnabled(CBHint1Ex->GetChecked());
  CBHint1Click(Sender);
}
void TdxBarCustomizingForm::CBHint2Click(TObject* Sender) {
  if (auto* C = dynamic_cast<TCheckBox*>(Sender)) FBarManager->SetShowShortCutInHint(C->GetChecked());
}
void TdxBarCustomizingForm::ComboBoxMenuAnimationsClick(TObject* Sender) {
  if (FUpdatingOptions) return;
  auto* C = dynamic_cast<TComboBox*>(Sender);
  if (!C || C->GetItemIndex() < 0 || C->GetItemIndex() > Integer(maFade)) return;
  FBarManager->SetMenuAnimations(TdxBarMenuAnimations(C->GetItemIndex()));
  UpdateOptions();
}

void TdxBarCustomizingForm::PageControlChange(TObject*) {
  if (PageControl->GetActivePage() == TabSheet1) UpdateBarButtons();
}

void TdxBarCustomizingForm::BHelpClick(TObject*) {
  if (FBarManager->OnHelpButtonClick) FBarManager->OnHelpButtonClick(FBarManager);
}

void TdxBarCustomizingForm::CloseClick(TObject*) { Close(); }

void TdxBarCustomizingForm::DoClose(TCloseAction& Action) {
  TForm::DoClose(Action);
  Action = caFree;
}

void TdxBarCustomizingForm::KeyDown(Word& Key, TShiftState Shift) {
  // Escape anywhere on the form is its Close button.
  if (Key == VK_ESCAPE) {
    Key = 0;
    Close();
    return;
  }
  TForm::KeyDown(Key, Shift);
}

// ---------------------------------------------------------------------------
// The sub-menu editor

namespace {
TdxBarSubMenuEditor* GSubMenuEditor = nullptr;

TdxBarPopupMenu* PopupOf(TdxBarItemLinks* L) { return L ? dynamic_cast<TdxBarPopupMenu*>(L->OwnerObject()) : nullptr; }
}  // namespace

TdxBarSubMenuEditor* dxBarSubMenuEditor() { return GSubMenuEditor; }

TdxBarSubMenuEditor::TdxBarSubMenuEditor(TdxBarItemLinks* ALinks) : TForm(nullptr), FItemLinks(ALinks) {
  SetTag(100);
  SetCaption(dxBarStr(64968));
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{biSystemMenu});
  SetBounds(2, 105, 196, 0);
  SetClientWidth(196);
  SetClientHeight(0);
  OnActivate = TNotifyEvent(this, &TdxBarSubMenuEditor::FormActivate);
}

TdxBarSubMenuEditor::~TdxBarSubMenuEditor() {
  CloseMenu();
  if (GSubMenuEditor == this) GSubMenuEditor = nullptr;
}

void TdxBarSubMenuEditor::OpenMenu() {
  TdxBarPopupMenu* P = PopupOf(FItemLinks);
  if (!P) return;
  if (TdxBarSubMenuControl* W = P->GetBarControl(); W && IsLiveBarControl(W) && !W->Closed()) return;
  TRect R;
  GetWindowRect(Handle(), &R);
  P->PopupFromItem(R.Left, R.Bottom, 0, R.Bottom - R.Top, false, nullptr, true);
  // The caption bar is as wide as its menu.
  if (TdxBarSubMenuControl* W = P->GetBarControl(); W && IsLiveBarControl(W) && W->GetWidth() > 0)
    SetWidth(W->GetWidth());
}

void TdxBarSubMenuEditor::CloseMenu() {
  TdxBarPopupMenu* P = PopupOf(FItemLinks);
  if (!P) return;
  if (TdxBarSubMenuControl* W = P->GetBarControl(); W && IsLiveBarControl(W)) W->CloseAndFree();
}

void TdxBarSubMenuEditor::FormActivate(TObject*) { OpenMenu(); }

void TdxBarSubMenuEditor::DoClose(TCloseAction& Action) {
  TForm::DoClose(Action);
  Action = caFree;
}

void TdxBarSubMenuEditor::WndProc(TMessage& Message) {
  TForm::WndProc(Message);
  // The menu follows its caption bar.
  if (Message.Msg == WM_MOVE && HandleAllocated())
    if (TdxBarPopupMenu* P = PopupOf(FItemLinks))
      if (TdxBarSubMenuControl* W = P->GetBarControl(); W && IsLiveBarControl(W) && W->HandleAllocated()) {
        TRect R;
        GetWindowRect(Handle(), &R);
        SetWindowPos(W->Handle(), nullptr, R.Left, R.Bottom, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
      }
}

void dxBarSubMenuEditorFollowOwner(TdxBarManager* AManager, bool AShown) {
  TdxBarSubMenuEditor* E = GSubMenuEditor;
  if (!E || !E->ItemLinks() || E->ItemLinks()->BarManager() != AManager || !E->HandleAllocated()) return;
  if (AShown) ShowWindow(E->Handle(), SW_SHOWNA);
  else {
    E->CloseMenu();
    ShowWindow(E->Handle(), SW_HIDE);
  }
}

void dxBarShowSubMenuEditor(TdxBarItemLinks* ALinks) {
  TdxBarManager* M = ALinks ? ALinks->BarManager() : nullptr;
  if (!M || !PopupOf(ALinks)) return;
  dxBarSetCustomizing(M, true);
  if (!M->IsCustomizing()) return;
  if (TdxBarCustomizingForm* F = dxBarCustomizingForm()) F->PageControl->SetActivePage(F->TabSheet2);
  if (GSubMenuEditor && GSubMenuEditor->ItemLinks() != ALinks) delete GSubMenuEditor;
  if (!GSubMenuEditor) GSubMenuEditor = new TdxBarSubMenuEditor(ALinks);
  GSubMenuEditor->Show();
  GSubMenuEditor->OpenMenu();
}
