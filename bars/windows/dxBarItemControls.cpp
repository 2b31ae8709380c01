// dxBarItemControls.cpp — the item controls: measuring, drawing, the click
// sequence, sub-menus opened from sub-items and the edit windows of edit
// and combo items.
#include "bars/windows/dxBarItemControls.h"

#include <algorithm>
#include <cctype>
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarRegistry.h"
#include "bars/windows/dxBarWindows.h"
#include "bars/windows/dxBarWindowsInternal.h"
#include "controls/base/cxClasses.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/DcApi.h"
#include "platform/forms/Application.h"
#include "platform/forms/Screen.h"
#include "platform/win/Cursors.h"
#include "platform/win/Paint.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Rects.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "bars/drawing/dxBarDrawing.h"
#include "platform/gdi/GdiGuards.h"

// ---------------------------------------------------------------------------
// Creation through the registry

TdxBarItemControl* dxBarCreateItemControl(TdxBarItemLink* ALink) {
  TdxBarItem* Item = ALink ? ALink->GetItem() : nullptr;
  if (!Item) return nullptr;
  // A rotated vertical toolbar has no room for a box: edits and combos show
  // there as buttons.
  if (dynamic_cast<TdxBarWindowItem*>(Item) && ALink->Links())
    if (auto* T = dynamic_cast<TdxBarControl*>(ALink->Links()->BarControl()); T && T->IsRotated())
      return new TdxBarButtonControl(ALink);
  // The nearest registered class decides (the program's own item classes
  // derive from the library's).
  for (const TClassInfo* C = Item->ClassType(); C; C = C->ClassParent()) {
    const TdxBarItemClassEntry* E = dxBarFindItemClass(C);
    if (!E || !E->ControlClass) continue;
    if (E->ControlClass == TdxBarButtonControl::StaticClass()) return new TdxBarButtonControl(ALink);
    if (E->ControlClass == TdxBarComboControl::StaticClass()) return new TdxBarComboControl(ALink);
    if (E->ControlClass == TdxBarEditControl::StaticClass()) return new TdxBarEditControl(ALink);
    if (E->ControlClass == TdxBarContainerItemControl::StaticClass()) return new TdxBarContainerItemControl(ALink);
    if (E->ControlClass == TdxBarSubItemControl::StaticClass()) return new TdxBarSubItemControl(ALink);
    if (TdxBarItemControlFactory Make = dxBarFindControlFactory(E->ControlClass)) return Make(ALink);
  }
  return nullptr;
}

void RegisterBarItemControls() {
  dxBarRegisterItem(TdxBarButton::StaticClass(), TdxBarButtonControl::StaticClass(), true);
  dxBarRegisterItem(TdxBarEdit::StaticClass(), TdxBarEditControl::StaticClass(), true);
  dxBarRegisterItem(TdxBarCombo::StaticClass(), TdxBarComboControl::StaticClass(), true);
  dxBarRegisterItem(TdxBarSubItem::StaticClass(), TdxBarSubItemControl::StaticClass(), true);
  dxBarRegisterItem(TdxBarListItem::StaticClass(), TdxBarContainerItemControl::StaticClass(), true);
  dxBarRegisterItem(TdxBarContainerItem::StaticClass(), TdxBarContainerItemControl::StaticClass(), true);
}

namespace {
// The caption without its accelerator marks.
AnsiString StripAmpersands(const AnsiString& S) {
  AnsiString R;
  for (std::size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '&' && I + 1 < S.size()) ++I;
    R += S[I];
  }
  return R;
}
constexpr Integer MenuGlyphColumn = 26;
constexpr Integer MenuArrowColumn = 20;
}  // namespace

// ---------------------------------------------------------------------------
// TdxBarItemControl

TdxBarItemControl::TdxBarItemControl(TdxBarItemLink* ALink)
    : FItemLink(ALink), FParent(ALink && ALink->Links() ? ALink->Links()->BarControl() : nullptr) {}

TdxBarItemControl::~TdxBarItemControl() {
  if (FItemLink && FItemLink->Control() == this) FItemLink->SetControl(nullptr);
  if (IsLiveBarControl(FParent)) FParent->ForgetControl(this);
  ClearObjectLinks(this);
}

TdxBarItem* TdxBarItemControl::GetItem() const { return FItemLink ? FItemLink->GetItem() : nullptr; }
TdxBarManager* TdxBarItemControl::GetBarManager() const { return FItemLink ? FItemLink->GetBarManager() : nullptr; }

void TdxBarItemControl::CaptionChanged() {
  if (FParent) FParent->RecalculateLater();
  Repaint();
}

void TdxBarItemControl::EnabledChanged() {
  if (!GetEnabled() && FParent && FParent->SelectedControl() == this) FParent->ForgetControl(this);
  Repaint();
}

void TdxBarItemControl::VisibilityChanged() {
  if (FParent) FParent->RecalculateLater();
}

AnsiString TdxBarItemControl::GetCaption() const { return FItemLink ? FItemLink->GetCaption() : AnsiString(); }
bool TdxBarItemControl::GetEnabled() const { return GetItem() && GetItem()->GetEnabled(); }
AnsiString TdxBarItemControl::GetHint() const { return GetItem() ? GetItem()->GetHint() : AnsiString(); }
TShortCut TdxBarItemControl::GetShortCut() const { return GetItem() ? GetItem()->GetShortCut() : 0; }

bool TdxBarItemControl::ShowsHint() const {
  return !GetHint().empty() && dynamic_cast<TdxBarControl*>(FParent) != nullptr;
}

bool TdxBarItemControl::IsSelected() const {
  return FParent && FParent->SelectedControl() == this && (GetEnabled() || !FSelectedByMouse);
}

TdxBarItemAlign TdxBarItemControl::GetAlign() const {
  return FParent && GetItem() && FParent->IsLastVisibleLink(const_cast<TdxBarItemControl*>(this)) ? GetItem()->GetAlign()
                                                                                                   : iaLeft;
}

bool TdxBarItemControl::IsPressedUnderCursor() const {
  if (!FParent || !FParent->HandleAllocated() || !GetEnabled()) return false;
  TPoint P;
  GetCursorPos(&P);
  P = FParent->ScreenToClient(P);
  TRect R = FParent->GetLinkRect(const_cast<TdxBarItemControl*>(this));
  return PtInRect(&R, P) && GetKeyState(VK_LBUTTON) < 0;
}

char TdxBarItemControl::Accelerator() const {
  AnsiString S = GetCaption();
  for (std::size_t I = 0; I + 1 < S.size(); ++I)
    if (S[I] == '&') {
      if (S[I + 1] == '&') {
        ++I;
        continue;
      }
      return char(std::toupper(static_cast<unsigned char>(S[I + 1])));
    }
  return 0;
}

TSize TdxBarItemControl::TextExtent(const AnsiString& S) const {
  if (!FParent) return {0, 0};
  TCanvas* C = FParent->Canvas();
  if (TFont* F = dxBarMenuFont(GetBarManager())) C->SetFont(F);
  return C->TextExtent(StripAmpersands(S));
}

void TdxBarItemControl::SetClicking(bool Value) {
  if (FClicking == Value) return;
  FClicking = Value;
  if (!Value) Repaint();
}

void TdxBarItemControl::Repaint() {
  if (!FParent || !IsLiveBarControl(FParent) || FParent->ComponentState().Contains(csDestroying)) return;
  FParent->DrawItem(this);
}

void TdxBarItemControl::Draw(TCanvas*, const TRect&, Integer) {}

void TdxBarItemControl::FillPaint(TdxBarItemPaint& C) const {
  C.Control = const_cast<TdxBarItemControl*>(this);
  C.Window = FParent ? &FParent->PaintWindow() : nullptr;
  C.Enabled = GetEnabled();
  C.Caption = GetCaption();
  TdxBarItemLink* L = FItemLink;
  C.Glyph = L ? L->GetGlyph() : nullptr;
  if (C.Glyph && C.Glyph->Empty()) C.Glyph = nullptr;
  C.ImageIndex = GetItem() ? int(GetItem()->GetImageIndex()) : -1;
  C.ShowCaption = !L || L->GetPaintStyle() != psStandard || !C.HasImage() || (FParent && FParent->PaintType() == 1);
}

void TdxBarItemControl::Click(bool ByMouse) {
  if (!GetEnabled()) return;
  TCustomdxBarControl* Bar = FParent;
  TcxObjectLinkGuard Alive(this);
  BeforeClick(ByMouse);
  if (Alive.Alive() && IsLiveBarControl(Bar) && Bar->HasControl(this)) PerformClick(ByMouse);
}

void TdxBarItemControl::PerformClick(bool) {
  TdxBarItemLink* Link = FItemLink;
  TdxBarItem* Item = GetItem();
  if (!Link || !Item) return;
  const bool Clickable = IsClickable();
  const bool Closes = ClosesMenusOnClick();
  TCustomdxBarControl* Bar = FParent;
  if (Closes) {
    try {
      Link->MarkRecentlyUsed(true);
    } catch (...) {
    }
  }
  TcxObjectLinkGuard Alive(this);
  auto* Button = dynamic_cast<TdxBarButton*>(Item);
  const bool Pressed = !(Button && false) && !(Closes && Bar && Bar->IsPopup());
  if (Pressed) SetClicking(true);
  TcxObjectLinkGuard ItemAlive(Item);
  try {
    if (Closes && IsLiveBarControl(Bar)) Bar->HideAll();
    if (Clickable && ItemAlive.Alive()) {
      Item->SetClickedLink(Link);
      Item->DoClick();
      if (ItemAlive.Alive() && Item->ClickedLink() == Link) Item->SetClickedLink(nullptr);
    }
  } catch (...) {
    if (Alive.Alive() && Pressed) SetClicking(false);
    throw;
  }
  if (Alive.Alive() && Pressed) SetClicking(false);
}

// ---------------------------------------------------------------------------
// TdxBarButtonControl

TdxBarButtonControl::~TdxBarButtonControl() = default;

TdxBarButton* TdxBarButtonControl::Button() const { return dynamic_cast<TdxBarButton*>(GetItem()); }

bool TdxBarButtonControl::IsDropDown() const {
  return Button() && Button()->GetButtonStyle() == bsDropDown && Button()->GetDropDownMenu();
}

Integer TdxBarButtonControl::GetArrowWidth() const { return GetBarManager() ? GetBarManager()->GetButtonArrowWidth() : 11; }

namespace {
bool HasGlyph(const TdxBarItemControl* C) {
  TdxBarItemLink* L = C->ItemLink();
  TBitmap* G = L ? L->GetGlyph() : nullptr;
  return (G && !G->Empty()) || (C->GetItem() && C->GetItem()->GetImageIndex() >= 0);
}
}  // namespace

// On a rotated vertical bar a control is its horizontal self turned: the
// two extents swap.
Integer TdxBarButtonControl::GetWidth() const {
  if (!FParent) return 0;
  if (FParent->PaintType() == 1) {
    const AnsiString Caption = GetCaption();
    Integer W = MenuGlyphColumn + TextExtent(Caption).cx + 2 * FParent->TextSize() + 6;
    if (GetShortCut()) W += TextExtent(ShortCutToText(GetShortCut())).cx + FParent->TextSize();
    return W;
  }
  return FParent->PaintType() == 2 ? FParent->ButtonSize() - 1 : ToolbarLength();
}

Integer TdxBarButtonControl::ToolbarLength() const {
  const AnsiString Caption = GetCaption();
  TdxBarPaintStyle PS = FItemLink ? FItemLink->GetPaintStyle() : psStandard;
  Integer W;
  if (PS == psStandard && HasGlyph(this)) W = FParent->ButtonSize();
  else if (PS == psCaptionGlyph) W = TextExtent(Caption).cx + 4 + FParent->ButtonSize();
  else W = TextExtent(Caption).cx + 12;
  if (IsDropDown()) W += GetArrowWidth();
  return W;
}

Integer TdxBarButtonControl::GetHeight() const {
  if (!FParent) return 0;
  if (FParent->PaintType() == 1) return std::max<Integer>(FParent->TextSize() + 2, 22);
  return FParent->PaintType() == 2 ? ToolbarLength() : FParent->ButtonSize() - 1;
}

bool TdxBarButtonControl::IsArrowPoint(TPoint P) const {
  if (!IsDropDown() || !FParent) return false;
  TRect R = FParent->GetLinkRect(const_cast<TdxBarButtonControl*>(this));
  if (FParent->PaintType() == 2) return P.Y >= R.Bottom - GetArrowWidth();
  return FParent->PaintType() != 1 && P.X >= R.Right - GetArrowWidth();
}

void TdxBarButtonControl::DropDown(bool ByMouse) {
  TdxBarButton* B = Button();
  if (!B || !B->GetDropDownMenu() || !GetEnabled() || FDropped || !FParent) return;
  TRect R = FParent->GetScreenLinkRect(this);
  FDropped = true;
  Repaint();
  TcxObjectLinkGuard Alive(this);
  TdxBarPopupMenu* Menu = B->GetDropDownMenu();
  Menu->PopupFromItem(R.Left, R.Bottom, 0, R.Height(), ByMouse, &R, true);
  if (!Alive.Alive()) return;
  if (TdxBarSubMenuControl* W = Menu->GetBarControl()) {
    W->SetParentBar(FParent);
    FParent->SetChildBar(W);
    W->SetOwnerControl(this);
  } else FDropped = false;
}

void TdxBarButtonControl::MenuClosed() {
  FDropped = false;
  TdxBarItemControl::MenuClosed();
}

void TdxBarButtonControl::BeforeClick(bool ByMouse) {
  if (!FParent || !ByMouse || !IsDropDown()) return;
  TPoint P;
  GetCursorPos(&P);
  if (IsArrowPoint(FParent->ScreenToClient(P))) DropDown(true);
}

void TdxBarButtonControl::Deactivate(bool ByMouse) {
  if (FDropped)
    if (TdxBarButton* B = Button(); B && B->GetDropDownMenu())
      if (TdxBarSubMenuControl* W = B->GetDropDownMenu()->GetBarControl()) W->CloseAndFree();
  TdxBarItemControl::Deactivate(ByMouse);
}

void TdxBarButtonControl::PerformClick(bool ByMouse) {
  if (FDropped) return;
  if (ByMouse && FParent && IsDropDown()) {
    TPoint P;
    GetCursorPos(&P);
    if (IsArrowPoint(FParent->ScreenToClient(P))) return;
  }
  if (TdxBarButton* B = Button(); B && B->GetButtonStyle() == bsChecked) B->SetDown(!B->GetDown());
  TdxBarItemControl::PerformClick(ByMouse);
}

void TdxBarButtonControl::Draw(TCanvas* Canvas, const TRect& R, Integer PaintType) {
  if (IsRectEmpty(&R) || !FParent) return;
  const HDC DC = Canvas->GetHandle();
  TdxBarItemControlPainterClass P = FParent->GetPainter();
  TdxBarItemPaint C;
  FillPaint(C);
  const bool Selected = IsSelected();
  const TdxBarButton* B = Button();
  const bool Down = B && B->GetDown();
  const bool Checked = B && B->GetButtonStyle() == bsChecked;
  const bool Pressed = (Selected && FParent->PressedControl() == this) || (FClicking && !Checked);
  if (PaintType == 1) {
    P->DrawMenuItem(C, DC, Down, true, Selected, R);
    if (GetShortCut()) {
      TRect T = R;
      T.Right -= C.Window->MenuArrowPartWidth();
      P->DrawItemText(C, DC, C.Enabled, Selected, false, false, false, DT_RIGHT, T, ShortCutToText(GetShortCut()));
    }
    return;
  }
  // A rotated bar runs the parts of a button downwards.
  const bool Rotated = PaintType == 2;
  TRect Face = R;
  TRect Arrow{};
  if (IsDropDown()) {
    if (Rotated) {
      Arrow = {R.Left, R.Bottom - GetArrowWidth(), R.Right, R.Bottom};
      Face.Bottom = Arrow.Top;
    } else {
      Arrow = {R.Right - GetArrowWidth(), R.Top, R.Right, R.Bottom};
      Face.Right = Arrow.Left;
    }
  }
  const bool Dropped = FDropped;
  const bool FacePressed = Pressed && !Dropped;
  const HBRUSH Brush = P->GetButtonBrush(C, FacePressed, Down, Selected || Dropped, !C.HasImage());
  const bool Hot = Selected || Dropped;
  if (C.HasImage()) {
    // The glyph cell, then the caption beside it when it shows one.
    TRect Cell = Face;
    if (C.ShowCaption) (Rotated ? Cell.Bottom : Cell.Right) = (Rotated ? Cell.Top : Cell.Left) + FParent->ButtonSize();
    P->DrawControlGlyph(C, DC, FacePressed, Down, Hot, true, Cell);
    if (C.ShowCaption) {
      TRect T = Rotated ? TRect{Face.Left, Cell.Bottom, Face.Right, Face.Bottom}
                        : TRect{Cell.Right, Face.Top, Face.Right, Face.Bottom};
      P->DrawBackground(C, DC, FacePressed || Down || Hot, Brush, T);
      P->OffsetButtonCaption(C, Down, FacePressed, T);
      P->DrawItemText(C, DC, C.Enabled, false, P->KeepButtonTextColor(), Rotated, false, DT_LEFT, T, C.Caption);
    }
  } else {
    P->DrawBackground(C, DC, FacePressed || Down || Hot, Brush, Face);
    P->DrawGlyphBorder(C, DC, FacePressed, Down, Hot, true, Face, false, Brush);
    TRect T = Face;
    P->OffsetButtonCaption(C, Down, FacePressed, T);
    P->DrawItemText(C, DC, C.Enabled, false, P->KeepButtonTextColor(), Rotated, false, DT_CENTER, T, C.Caption);
  }
  if (IsDropDown())
    P->DrawButtonArrowPart(C, DC, Dropped, true, Dropped, Pressed, Hot, COLOR_BTNTEXT, C.Window->CurrentBrush(), Arrow);
}

// ---------------------------------------------------------------------------
// Window item controls

TdxBarWinControl::TdxBarWinControl(TdxBarItemLink* ALink) : TdxBarItemControl(ALink) { FWindowControl = true; }

TdxBarWinControl::~TdxBarWinControl() { DestroyEditWindow(); }

void TdxBarWinControl::DestroyEditWindow() {
  TEdit* E = FEdit;
  FEdit = nullptr;
  delete E;
}

TRect TdxBarWinControl::EditRect() const { return FParent ? FParent->GetLinkRect(const_cast<TdxBarWinControl*>(this)) : TRect{}; }

void TdxBarWinControl::BoundsChanged() {
  if (!FEdit) return;
  TRect R = EditRect();
  FEdit->SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

bool TdxBarWinControl::Focused() const { return FEdit && FEdit->HandleAllocated() && GetFocus() == FEdit->Handle(); }

AnsiString TdxBarWinControl::GetText() const { return FEdit ? FEdit->GetText() : ItemText(); }

void TdxBarWinControl::StartEditing() {
  if (FEdit || !FParent || !GetEnabled() || !FParent->HandleAllocated()) return;
  FEdit = new TEdit(nullptr);
  FEdit->SetParent(FParent);
  BoundsChanged();
  FEdit->SetText(ItemText());
  if (auto* E = dynamic_cast<TdxBarEdit*>(GetItem())) {
    FEdit->SetMaxLength(E->GetMaxLength());
    FEdit->SetReadOnly(E->GetReadOnly());
  }
  FEdit->OnKeyDown = TKeyEvent(this, &TdxBarWinControl::EditKeyDown);
  FEdit->OnExit = TNotifyEvent(this, &TdxBarWinControl::EditExit);
  FEdit->SetVisible(true);
  FEdit->SelectAll();
  if (FEdit->CanFocus()) FEdit->SetFocus();
  Repaint();
}

void TdxBarWinControl::StopEditing(bool Accept) {
  if (!FEdit || FStopping) return;
  FStopping = true;
  // The whole text, whatever its length.
  AnsiString Text = FEdit->GetText();
  TCustomdxBarControl* Bar = FParent;
  TcxObjectLinkGuard Alive(this);
  DestroyEditWindow();
  FStopping = false;
  if (Accept) CommitText(Text);
  if (!Alive.Alive()) return;
  Repaint();
  if (IsLiveBarControl(Bar) && Bar->GetActive()) Bar->HideAll();
  else if (IsLiveBarControl(Bar) && Bar->SelectedControl() == this) Bar->HotTrackControl(nullptr);
}

bool TdxBarWinControl::EditKey(WORD&) { return false; }

void TdxBarWinControl::EditKeyDown(TObject*, Word& Key, TShiftState) {
  WORD K = Key;
  if (EditKey(K)) {
    Key = 0;
    return;
  }
  if ((Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_TAB) && FParent && FParent->HandleAllocated()) {
    // The edit window goes once its own key message is over.
    PostMessageA(FParent->Handle(), WM_DXBAR_STOPEDITING, WPARAM(this), Key == VK_ESCAPE ? 0 : 1);
    Key = 0;
  }
}

void TdxBarWinControl::EditExit(TObject*) {
  if (FParent && FParent->HandleAllocated()) PostMessageA(FParent->Handle(), WM_DXBAR_STOPEDITING, WPARAM(this), 1);
}

void TdxBarWinControl::BeforeClick(bool) { StartEditing(); }
void TdxBarWinControl::Click(bool) {
  if (GetEnabled()) StartEditing();
}
void TdxBarWinControl::Deactivate(bool ByMouse) {
  StopEditing(true);
  TdxBarItemControl::Deactivate(ByMouse);
}

TdxBarEdit* TdxBarEditControl::Edit() const { return dynamic_cast<TdxBarEdit*>(GetItem()); }

Integer TdxBarEditControl::GetWidth() const {
  if (!FParent) return 0;
  Integer W = FItemLink ? FItemLink->GetWidth() : 100;
  if (W <= 0 && Edit()) W = Edit()->GetWidth();
  return std::max<Integer>(W, 20) + CaptionWidth();
}

Integer TdxBarEditControl::CaptionWidth() const {
  if (!FParent || (FParent->PaintType() != 1 && !(Edit() && Edit()->GetShowCaption()))) return 0;
  const AnsiString Caption = StripAmpersands(GetCaption());
  if (Caption.empty()) return 0;
  TCanvas* C = FParent->Canvas();
  if (TFont* F = dxBarMenuFont(GetBarManager())) C->SetFont(F);
  return FParent->GetPainter()->CalcEditCaptionWidthIn(FParent->PaintWindow(), C->GetHandle(), Caption);
}

Integer TdxBarEditControl::GetHeight() const { return FParent ? std::max(FParent->EditHeight(), FParent->ButtonSize() - 1) : 0; }

TRect TdxBarEditControl::EditRect() const {
  TRect R = TdxBarWinControl::EditRect();
  R.Left += CaptionWidth();
  InflateRect(&R, -1, -2);
  R.Right -= ButtonWidth();
  return R;
}

void TdxBarEditControl::CommitText(const AnsiString& AText) {
  if (TdxBarEdit* E = Edit(); E && !E->GetReadOnly()) E->SetText(AText);
}

AnsiString TdxBarEditControl::ItemText() const { return Edit() ? Edit()->GetText() : AnsiString(); }

void TdxBarEditControl::Draw(TCanvas* Canvas, const TRect& R, Integer) {
  if (IsRectEmpty(&R) || !FParent) return;
  const HDC DC = Canvas->GetHandle();
  TdxBarItemControlPainterClass P = FParent->GetPainter();
  TdxBarItemPaint C;
  FillPaint(C);
  const bool Selected = IsSelected() || Editing();
  TRect F = R;
  if (const Integer CW = CaptionWidth()) {
    // The style may reserve room before the caption (the glyph column).
    const TRect Cell{R.Left, R.Top, R.Left + CW, R.Bottom};
    FParent->PaintWindow().PaintBackground(DC, Cell, FParent->PaintWindow().CurrentBrush());
    const int Own = P->CalcEditCaptionWidth(DC, StripAmpersands(C.Caption));
    TRect Caption{std::max<Integer>(R.Left, Cell.Right - Own), R.Top, Cell.Right, R.Bottom};
    P->DrawEditCaption(C, DC, Selected, Caption);
    F.Left = Cell.Right;
  }
  P->DrawEditBorder(C, DC, Selected, F);
  TRect Value = F;
  if (const Integer BW = ButtonWidth()) {
    Value.Right -= BW;
    P->DrawComboButton(C, DC, Selected, Selected, {Value.Right, F.Top, F.Right, F.Bottom});
  }
  // While typing the edit window shows the text.
  if (!FEdit) P->DrawEditValue(C, DC, ItemText(), Value);
}

Integer TCustomdxBarComboControl::ButtonWidth() const { return FParent ? FParent->ComboButtonWidth() + 2 : 13; }

TdxBarCombo* TdxBarComboControl::Combo() const { return dynamic_cast<TdxBarCombo*>(GetItem()); }

bool TdxBarComboControl::EditKey(WORD& Key) {
  TdxBarCombo* C = Combo();
  if (!C || !FEdit || (Key != VK_UP && Key != VK_DOWN)) return false;
  const Integer N = C->Items()->GetCount();
  if (N == 0) return true;
  Integer I = C->GetItemIndex();
  I = Key == VK_DOWN ? std::min(I + 1, N - 1) : std::max(I - 1, 0);
  FEdit->SetText(C->Items()->GetStrings(I));
  FEdit->SelectAll();
  return true;
}

void TdxBarComboControl::CommitText(const AnsiString& AText) {
  if (TdxBarCombo* C = Combo(); C && !C->GetReadOnly()) C->SetText(AText);
}

AnsiString TdxBarComboControl::ItemText() const { return Combo() ? Combo()->GetText() : AnsiString(); }

// ---------------------------------------------------------------------------
// Sub-item controls

namespace {
struct TPendingHover {
  TdxBarSubItemControl* Control = nullptr;
  UINT_PTR Timer = 0;
  bool Open = true;
};
TPendingHover GHover;

void CancelHover(TdxBarSubItemControl* AOnlyFor = nullptr) {
  if (AOnlyFor && GHover.Control != AOnlyFor) return;
  if (GHover.Timer) KillTimer(nullptr, GHover.Timer);
  GHover = {};
}

void HoverTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  TPendingHover H = GHover;
  CancelHover();
  if (!H.Control) return;
  try {
    if (H.Open) H.Control->Activate(true);
    else H.Control->Deactivate(true);
  } catch (...) {
  }
}
}  // namespace

TdxBarSubItemControl::~TdxBarSubItemControl() {
  CancelHover(this);
  if (TdxBarSubMenuControl* M = GetSubMenuBar()) M->CloseAndFree();
  FActive = false;
}

TCustomdxBarSubItem* TdxBarSubItemControl::SubItem() const { return dynamic_cast<TCustomdxBarSubItem*>(GetItem()); }

TdxBarSubMenuControl* TdxBarSubItemControl::GetSubMenuBar() const {
  TCustomdxBarSubItem* S = SubItem();
  if (!S || !S->ItemLinks()) return nullptr;
  auto* M = dynamic_cast<TdxBarSubMenuControl*>(S->ItemLinks()->BarControl());
  return M && !M->Closed() ? M : nullptr;
}

TdxBarSubMenuControl* TdxBarSubItemControl::CreateSubMenuBar() {
  TCustomdxBarSubItem* S = SubItem();
  if (!S || !S->ItemLinks() || !GetBarManager()) return nullptr;
  auto* M = new TdxBarSubMenuControl(GetBarManager());
  M->SetItemLinks(S->ItemLinks());
  return M;
}

Integer TdxBarSubItemControl::GetWidth() const {
  if (!FParent) return 0;
  const Integer T = TextExtent(GetCaption()).cx;
  if (FParent->PaintType() == 1) return MenuGlyphColumn + T + 2 * FParent->TextSize() + MenuArrowColumn;
  return FParent->PaintType() == 2 ? FParent->ButtonSize() - 1 : T + 14;
}

Integer TdxBarSubItemControl::GetHeight() const {
  if (!FParent) return 0;
  if (FParent->PaintType() == 1) return std::max<Integer>(FParent->TextSize() + 2, 22);
  return FParent->PaintType() == 2 ? TextExtent(GetCaption()).cx + 14 : FParent->ButtonSize() - 1;
}

bool TdxBarSubItemControl::WantsKey(WORD Key) const { return Key == VK_RIGHT && FParent && FParent->IsPopup(); }

void TdxBarSubItemControl::KeyDown(WORD Key) {
  if (Key == VK_RIGHT) Click(false);
}

void TdxBarSubItemControl::Activate(bool ByMouse) {
  if (!CanDropDown() || !FParent) return;
  if (GetSubMenuBar()) {
    if (FActive) {
      CancelHover(this);
      return;
    }
  }
  TdxBarItemControl::Activate(ByMouse);
  TdxBarManager* M = GetBarManager();
  if (!GetEnabled() && !(M && M->IsDesigning())) return;
  auto* Toolbar = dynamic_cast<TdxBarControl*>(FParent);
  if (Toolbar && !Toolbar->IsCustomizing() && !Toolbar->MenusOpenOnSelect()) return;
  if (!Toolbar && !ByMouse && !(M && M->IsCustomizing())) {
    // A menu entry opens its menu when the pointer rests on it.
    if (GHover.Control && GHover.Control != this) {
      TdxBarSubItemControl* Other = GHover.Control;
      CancelHover();
      if (IsLiveBarControl(Other->Parent()) && Other->Parent() != FParent->ParentBar()) try {
          Other->Deactivate(true);
        } catch (...) {
        }
    }
    CancelHover();
    GHover.Control = this;
    GHover.Open = true;
    GHover.Timer = SetTimer(nullptr, 0, HoverDelay, HoverTimerProc);
    return;
  }
  OpenMenu();
}

void TdxBarSubItemControl::OpenMenu() {
  CancelHover(this);
  if (GetSubMenuBar()) return;
  TCustomdxBarSubItem* S = SubItem();
  TCustomdxBarControl* Bar = FParent;
  TcxObjectLinkGuard Alive(this);
  // A sibling's open menu closes first.
  if (TCustomdxBarControl* Child = Bar->ChildBar(); Child && IsLiveBarControl(Child))
    if (auto* ChildMenu = dynamic_cast<TdxBarSubMenuControl*>(Child)) {
      auto* Owner = dynamic_cast<TdxBarSubItemControl*>(ChildMenu->OwnerControl());
      if (Owner && Owner != this && Bar->HasControl(Owner)) Owner->Deactivate(true);
      else if (!Owner) ChildMenu->CloseAndFree();
    }
  if (!Alive.Alive()) return;
  S->Click();
  if (!Alive.Alive() || !IsLiveBarControl(Bar) || !Bar->HasControl(this)) return;
  TdxBarSubMenuControl* M = CreateSubMenuBar();
  if (!M) return;
  TRect R = Bar->GetLinkRect(this);
  TPoint P;
  if (Bar->IsPopup()) {
    P = Bar->ClientToScreen({R.Right, R.Top - TdxBarSubMenuControl::FrameSize});
    M->OwnerWidth = R.Width();
  } else if (Bar->IsVertical()) {
    P = Bar->ClientToScreen({R.Right, R.Top});
    M->OwnerWidth = R.Width();
  } else {
    P = Bar->ClientToScreen({R.Left, R.Bottom});
    M->OwnerHeight = R.Height();
  }
  if (!Bar->IsPopup()) M->SetOwnerRect(Bar->GetScreenLinkRect(this), Bar);
  M->SetBounds(P.X, P.Y, M->GetWidth(), M->GetHeight());
  M->SetOwnerControl(this);
  Bar->SetChildBar(M);
  M->SetParentBar(Bar);
  M->Animate = AnimateNextDropDown;
  AnimateNextDropDown = false;
  M->Show();
  if (Alive.Alive() && !Bar->IsPopup()) Repaint();
}

void TdxBarSubItemControl::Deactivate(bool ByMouse) {
  if (!CanDropDown()) return;
  TdxBarManager* M = GetBarManager();
  if (FParent && FParent->IsPopup() && !ByMouse && !GHover.Control && !FParent->ComponentState().Contains(csDestroying) &&
      !(M && M->IsCustomizing()) && GetSubMenuBar()) {
    GHover.Control = this;
    GHover.Open = false;
    GHover.Timer = SetTimer(nullptr, 0, HoverDelay, HoverTimerProc);
    return;
  }
  TdxBarItemControl::Deactivate(ByMouse);
  CancelHover(this);
  if (TdxBarSubMenuControl* Menu = GetSubMenuBar()) Menu->CloseAndFree();
  if (FParent && !FParent->IsPopup()) Repaint();
}

void TdxBarSubItemControl::BeforeClick(bool ByMouse) {
  if (GetSubMenuBar()) {
    TdxBarManager* M = GetBarManager();
    if ((M && M->IsCustomizing()) || (M && M->GetEffectiveStyle() == bmsStandard)) Deactivate(true);
    return;
  }
  TcxObjectLinkGuard Alive(this);
  // A click opens at once (the toolbar lets its menus follow the mouse).
  if (auto* Toolbar = dynamic_cast<TdxBarControl*>(FParent)) Toolbar->SetMenusOpenOnSelect(true);
  FActive = false;
  Activate(true);
  if (!Alive.Alive() || ByMouse) return;
  if (TdxBarSubMenuControl* Menu = GetSubMenuBar()) Menu->SelectControl(Menu->FirstSelectable());
}

void TdxBarSubItemControl::Draw(TCanvas* Canvas, const TRect& R, Integer PaintType) {
  if (IsRectEmpty(&R) || !FParent) return;
  const HDC DC = Canvas->GetHandle();
  TdxBarItemControlPainterClass P = FParent->GetPainter();
  TdxBarItemPaint C;
  FillPaint(C);
  const bool Selected = IsSelected();
  const bool Dropped = FActive && GetSubMenuBar();
  if (PaintType == 1) {
    P->DrawSubItem(C, DC, false, Selected, R);
    return;
  }
  // A title on a toolbar or the main menu: a button face that is hot while
  // selected and pressed while its menu is open.
  const HBRUSH Brush = P->GetButtonBrush(C, Dropped, false, Selected || Dropped, true);
  P->DrawBackground(C, DC, Selected || Dropped, Brush, R);
  P->DrawGlyphBorder(C, DC, Dropped, false, Selected || Dropped, true, R, false, Brush);
  TRect T = R;
  P->OffsetButtonCaption(C, false, Dropped, T);
  P->DrawItemText(C, DC, C.Enabled, false, P->KeepButtonTextColor(), PaintType == 2, false, DT_CENTER, T, C.Caption);
}
