#include "app/myBarItems.h"

#include <algorithm>

#include "bars/drawing/dxBarPainters.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarRegistry.h"
#include "bars/windows/dxBarWindows.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/TypInfo.h"
#include "platform/shell/ShellApi.h"
#include "platform/win/Win.h"

TmyBarHyperLink::TmyBarHyperLink(TComponent* AOwner) : TdxBarItem(AOwner) {}

void TmyBarHyperLink::Published(TPublished<TmyBarHyperLink>& P) {
  P.Property("Color", &TmyBarHyperLink::GetColor, &TmyBarHyperLink::SetColor).Default(TColor(0xFF0000));
  P.Property("Underline", &TmyBarHyperLink::GetUnderline, &TmyBarHyperLink::SetUnderline).Default(true);
  P.Property("URL", &TmyBarHyperLink::GetURL, &TmyBarHyperLink::SetURL);
  P.Property("OnClick", &TmyBarHyperLink::OnClick, &TmyBarHyperLink::OnClick);
}

void TmyBarHyperLink::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  GlyphChanged();
}

void TmyBarHyperLink::SetUnderline(bool Value) {
  if (FUnderline == Value) return;
  FUnderline = Value;
  GlyphChanged();
}

void TmyBarHyperLink::DoClick() {
  if (ComponentState().Contains(csDesigning)) return;
  if (OnClick.Assigned() || GetAction()) {
    TdxBarItem::DoClick();
    return;
  }
  if (FURL.empty()) return;
  HWND Owner = nullptr;
  if (BarManager())
    if (auto* Form = dynamic_cast<TCustomForm*>(BarManager()->Owner())) Owner = Form->Handle();
  ShellExecuteA(Owner, "open", FURL.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
}

void TmyBarPasswordEdit::Published(TPublished<TmyBarPasswordEdit>& P) {
  P.Property("PasswordChar", &TmyBarPasswordEdit::GetPasswordChar, &TmyBarPasswordEdit::SetPasswordChar)
      .Default('\0');
}

void TmyBarPasswordEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  for (Integer I = 0; I < GetLinkCount(); ++I)
    if (TdxBarItemLink* L = GetLink(I))
      if (auto* C = dynamic_cast<TmyBarPasswordEditControl*>(L->Control())) C->PasswordCharChanged();
  GlyphChanged();
}

AnsiString TmyBarPasswordEdit::DisplayText(const AnsiString& Text) const {
  return FPasswordChar ? AnsiString(Text.size(), FPasswordChar) : Text;
}

// --- the bold button's control

namespace {
// The canvas's font made bold for the life of the guard, also when the
// drawing or measuring in between fails.
class TBoldFont {
public:
  explicit TBoldFont(TCanvas* C) : FCanvas(C), FStyle(C->Font()->GetStyle()) {
    TFontStyles Bold = FStyle;
    C->Font()->SetStyle(Bold << fsBold);
  }
  ~TBoldFont() { FCanvas->Font()->SetStyle(FStyle); }
  TBoldFont(const TBoldFont&) = delete;
  TBoldFont& operator=(const TBoldFont&) = delete;

private:
  TCanvas* FCanvas;
  TFontStyles FStyle;
};
}  // namespace

Integer TmyBarBoldButtonControl::GetWidth() const {
  // The library measures the caption on the bar's font (and leaves the bar
  // canvas on it): the bold caption adds what bold takes more.
  const Integer Width = TdxBarButtonControl::GetWidth();
  if (!Parent()) return Width;
  TdxBarItemPaint Paint;
  FillPaint(Paint);
  if (!Paint.ShowCaption) return Width;
  TCanvas* C = Parent()->Canvas();
  const AnsiString Caption = StripHotkey(GetCaption());
  const Integer Plain = C->TextExtent(Caption).cx;
  Integer Bold = Plain;
  {
    TBoldFont Guard(C);
    Bold = C->TextExtent(Caption).cx;
  }
  return Width + std::max<Integer>(0, Bold - Plain);
}

void TmyBarBoldButtonControl::Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  // The bar window draws straight on the DC with its font selected there:
  // a bold copy of that font takes its place for the library's drawing.
  const HDC DC = ACanvas->GetHandle();
  LOGFONTA Font{};
  HFONT Bold = nullptr;
  if (HGDIOBJ Current = GetCurrentObject(DC, OBJ_FONT); Current && GetObjectA(Current, sizeof Font, &Font)) {
    Font.lfWeight = FW_BOLD;
    Bold = CreateFontIndirectA(&Font);
  }
  const HGDIOBJ Old = Bold ? SelectObject(DC, Bold) : nullptr;
  auto Restore = [&] {
    if (!Bold) return;
    SelectObject(DC, Old);
    DeleteObject(Bold);
  };
  try {
    TdxBarButtonControl::Draw(ACanvas, R, PaintType);
  } catch (...) {
    Restore();
    throw;
  }
  Restore();
}

// --- the hyperlink's control

namespace {
// A toolbar docked left or right whose bar turns its items: their width and
// height swap and captions run top to bottom.
bool DrawsRotated(TCustomdxBarControl* Window) {
  auto* Toolbar = dynamic_cast<TdxBarControl*>(Window);
  if (!Toolbar || !Toolbar->IsVertical() || !Toolbar->Bar()) return false;
  return GetOrdProp(Toolbar->Bar(), "RotateWhenVertical") != 0;
}

// A copy of the font selected in a DC, underlined and turned to run top to
// bottom as asked, selected for the life of the guard.
class TDerivedFont {
public:
  TDerivedFont(HDC DC, bool Underline, bool Rotate) : FDC(DC) {
    LOGFONTA Font{};
    const HGDIOBJ Current = GetCurrentObject(DC, OBJ_FONT);
    if (!Current || !GetObjectA(Current, sizeof Font, &Font)) return;
    // A bar that draws rotated selects its turned font itself.
    Rotate = Rotate && Font.lfEscapement == 0;
    if (!Underline && !Rotate) return;
    if (Underline) Font.lfUnderline = 1;
    if (Rotate) Font.lfEscapement = Font.lfOrientation = 2700;
    FFont = CreateFontIndirectA(&Font);
    if (FFont) FOld = SelectObject(DC, FFont);
  }
  ~TDerivedFont() {
    if (!FFont) return;
    SelectObject(FDC, FOld);
    DeleteObject(FFont);
  }
  TDerivedFont(const TDerivedFont&) = delete;
  TDerivedFont& operator=(const TDerivedFont&) = delete;

private:
  HDC FDC;
  HFONT FFont = nullptr;
  HGDIOBJ FOld = nullptr;
};
}  // namespace

TmyBarHyperLink* TmyBarHyperLinkControl::HyperLink() const { return dynamic_cast<TmyBarHyperLink*>(GetItem()); }

Integer TmyBarHyperLinkControl::GetItemSize() const { return Parent() ? Parent()->TextSize() : 0; }

Integer TmyBarHyperLinkControl::GetTextExtent() const {
  if (!Parent()) return 0;
  const Integer Text = TextExtent(GetCaption()).cx;
  if (dynamic_cast<TdxBarSubMenuControl*>(Parent())) {
    Integer Width = Text + 2 * GetItemSize() + 6;
    if (GetBarManager() && GetBarManager()->IsFlatStyle()) Width += 9;
    return Width;
  }
  return Text + Parent()->PaintWindow().FontSize();
}

Integer TmyBarHyperLinkControl::GetWidth() const {
  return DrawsRotated(Parent()) ? GetItemSize() : GetTextExtent();
}

Integer TmyBarHyperLinkControl::GetHeight() const {
  return DrawsRotated(Parent()) ? GetTextExtent() : GetItemSize();
}

void TmyBarHyperLinkControl::Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  if (R.Right <= R.Left || !Parent()) return;
  const HDC DC = ACanvas->GetHandle();
  const TdxBarPaintWindow& Window = Parent()->PaintWindow();
  Window.PaintBackground(DC, R, Window.CurrentBrush());
  TmyBarHyperLink* Link = HyperLink();
  const bool Rotated = PaintType == 2 && DrawsRotated(Parent());
  const int OldMode = SetBkMode(DC, TRANSPARENT);
  const COLORREF OldColor = GetTextColor(DC);
  {
    TDerivedFont Font(DC, Link && Link->GetUnderline(), Rotated);
    AnsiString Caption = GetCaption();
    TRect Text = R;
    UINT Flags = DT_SINGLELINE | DT_NOCLIP;
    if (Rotated) {
      // The turned caption starts at its top right corner: centred across
      // the bar by half its height, along it by half its length.
      TSize Extent{};
      GetTextExtentPoint32A(DC, Caption.c_str(), int(Caption.size()), &Extent);
      OffsetRect(&Text, (Text.Right + Extent.cy - Text.Left) / 2, (Text.Bottom - Text.Top - Extent.cx) / 2);
      Flags |= DT_NOPREFIX;
    } else if (PaintType == 1) {
      Text.Left += Text.Height() + 10;
      Flags |= DT_VCENTER;
    } else {
      Flags |= DT_CENTER | DT_VCENTER;
    }
    if (GetEnabled()) {
      SetTextColor(DC, ColorToRGB(Link ? Link->GetColor() : TColor(0xFF0000)));
    } else {
      OffsetRect(&Text, 1, 1);
      SetTextColor(DC, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawTextA(DC, Caption.data(), int(Caption.size()), &Text, Flags);
      OffsetRect(&Text, -1, -1);
      SetTextColor(DC, GetSysColor(COLOR_BTNSHADOW));
    }
    DrawTextA(DC, Caption.data(), int(Caption.size()), &Text, Flags);
  }
  SetTextColor(DC, OldColor);
  SetBkMode(DC, OldMode);
}

// --- the password edit's control

TmyBarPasswordEdit* TmyBarPasswordEditControl::GetItem() const {
  return dynamic_cast<TmyBarPasswordEdit*>(TdxBarEditControl::GetItem());
}

void TmyBarPasswordEditControl::StartEditing() {
  TdxBarEditControl::StartEditing();
  PasswordCharChanged();
}

void TmyBarPasswordEditControl::PasswordCharChanged() {
  if (FEdit && GetItem()) FEdit->SetPasswordChar(GetItem()->GetPasswordChar());
  Repaint();
}

void TmyBarPasswordEditControl::Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  // Only what is drawn is masked: the edit window starts from the real text.
  FDrawing = true;
  try {
    TdxBarEditControl::Draw(ACanvas, R, PaintType);
  } catch (...) {
    FDrawing = false;
    throw;
  }
  FDrawing = false;
}

AnsiString TmyBarPasswordEditControl::ItemText() const {
  const AnsiString Text = TdxBarEditControl::ItemText();
  return FDrawing && GetItem() ? GetItem()->DisplayText(Text) : Text;
}

void RegisterMyBarItems() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  dxBarRegisterControlFactory(TmyBarBoldButtonControl::StaticClass(),
                              [](TdxBarItemLink* L) -> TdxBarItemControl* { return new TmyBarBoldButtonControl(L); });
  dxBarRegisterControlFactory(TmyBarHyperLinkControl::StaticClass(),
                              [](TdxBarItemLink* L) -> TdxBarItemControl* { return new TmyBarHyperLinkControl(L); });
  dxBarRegisterControlFactory(TmyBarPasswordEditControl::StaticClass(),
                              [](TdxBarItemLink* L) -> TdxBarItemControl* { return new TmyBarPasswordEditControl(L); });
  dxBarRegisterItem(TmyBarBoldButton::StaticClass(), TmyBarBoldButtonControl::StaticClass(), true);
  dxBarRegisterItem(TmyBarHyperLink::StaticClass(), TmyBarHyperLinkControl::StaticClass(), true);
  dxBarRegisterItem(TmyBarPasswordEdit::StaticClass(), TmyBarPasswordEditControl::StaticClass(), true);
}
