// dxStatusBar.cpp — the status bar, its panels, panel styles and painters.
#include "bars/statusbar/dxStatusBar.h"

#include <algorithm>
#include "bars/drawing/dxBarDrawing.h"
#include "controls/base/cxClasses.h"
#include "controls/base/cxGraphics.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/forms/ActnList.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/win/Input.h"
#include "platform/win/Resources.h"
#include "platform/win/SysBitmaps.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/ImageList.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Guards.h"

namespace {

TRect Deflated(const TRect& R, int DX, int DY) { return {R.Left + DX, R.Top + DY, R.Right - DX, R.Bottom - DY}; }

struct TStyleEntry {
  TClass Class;
  const char* Caption;
};

const std::vector<TStyleEntry>& StyleRegistry() {
  static const std::vector<TStyleEntry> R = {
      {TdxStatusBarTextPanelStyle::StaticClass(), "Text Panel"},
      {TdxStatusBarContainerPanelStyle::StaticClass(), "Container Panel"},
      {TdxStatusBarKeyboardStatePanelStyle::StaticClass(), "Keyboard State Panel"},
      {TdxStatusBarStateIndicatorPanelStyle::StaticClass(), "State Indicator Panel"}};
  return R;
}

std::unique_ptr<TdxStatusBarPanelStyle> MakeStyle(TClass AClass, TdxStatusBarPanel* AOwner) {
  if (AClass == TdxStatusBarTextPanelStyle::StaticClass())
    return std::make_unique<TdxStatusBarTextPanelStyle>(AOwner);
  if (AClass == TdxStatusBarContainerPanelStyle::StaticClass())
    return std::make_unique<TdxStatusBarContainerPanelStyle>(AOwner);
  if (AClass == TdxStatusBarKeyboardStatePanelStyle::StaticClass())
    return std::make_unique<TdxStatusBarKeyboardStatePanelStyle>(AOwner);
  if (AClass == TdxStatusBarStateIndicatorPanelStyle::StaticClass())
    return std::make_unique<TdxStatusBarStateIndicatorPanelStyle>(AOwner);
  return nullptr;
}

const char* const CannotDeleteText =
    "Selection contains a component introduced in an ancestor form which cannot be deleted";

}  // namespace

TClass FindStatusBarPanelStyleClass(const AnsiString& AClassName) {
  for (const TStyleEntry& E : StyleRegistry())
    if (SameText(E.Class->ClassName(), AClassName)) return E.Class;
  return nullptr;
}

// -- panel styles -----------------------------------------------------------

TdxStatusBarPanelStyle::TdxStatusBarPanelStyle(TdxStatusBarPanel* AOwner)
    : FOwner(AOwner), FFont(std::make_unique<TFont>()) {
  FFont->OnChange = TNotifyEvent(this, &TdxStatusBarPanelStyle::FontChanged);
  ParentFontChanged();
}

TdxStatusBarPanelStyle::~TdxStatusBarPanelStyle() { FFont->OnChange = nullptr; }

TdxCustomStatusBar* TdxStatusBarPanelStyle::StatusBar() const { return FOwner ? FOwner->StatusBar() : nullptr; }

void TdxStatusBarPanelStyle::SetFont(TFont* Value) {
  if (Value) FFont->Assign(Value);
}

void TdxStatusBarPanelStyle::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  ParentFontChanged();
  Changed();
}

void TdxStatusBarPanelStyle::ParentFontChanged() {
  if (!FParentFont) return;
  const TdxCustomStatusBar* Bar = StatusBar();
  if (!Bar) return;
  FTakingParentFont = true;
  FFont->Assign(Bar->GetFont());
  FTakingParentFont = false;
}

void TdxStatusBarPanelStyle::FontChanged(TObject*) {
  if (FTakingParentFont) return;
  FParentFont = false;
  Changed();
}

void TdxStatusBarPanelStyle::AssignStyle(const TdxStatusBarPanelStyle* Source) {
  if (Source->FColorAssigned) SetColor(Source->FColor);
  if (Source->IsFontStored()) {
    FFont->Assign(Source->FFont.get());
  } else {
    FParentFont = true;
    ParentFontChanged();
  }
}

void TdxStatusBarPanelStyle::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TdxStatusBarPanelStyle*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  RestoreDefaults();
  AssignStyle(S);
  Changed();
}

void TdxStatusBarPanelStyle::RestoreDefaults() {
  FColor = clBtnFace;
  FColorAssigned = false;
  FParentFont = true;
  ParentFontChanged();
  Changed();
}

TColor TdxStatusBarPanelStyle::GetColor() const {
  if (FColorAssigned) return FColor;
  const TdxCustomStatusBar* Bar = StatusBar();
  return Bar ? Bar->GetColor() : clBtnFace;
}

void TdxStatusBarPanelStyle::SetColor(TColor Value) {
  FColor = Value;
  FColorAssigned = true;
  if (TdxCustomStatusBar* Bar = StatusBar()) Bar->Changed();
}

void TdxStatusBarPanelStyle::Changed() {
  if (TdxCustomStatusBar* Bar = StatusBar()) Bar->Changed();
}

namespace {

// The panel's rectangle less the size grip's width for the last panel
// while the grip shows.
TRect AdjustContentRect(const TdxStatusBarPanelStyle* S, TRect R) {
  const TdxCustomStatusBar* Bar = S->StatusBar();
  const TdxStatusBarPanel* P = S->Owner();
  if (Bar && P && P->Index() == Bar->Panels()->Count() - 1 && Bar->IsSizeGripVisible() && Bar->Painter())
    R.Right -= Bar->Painter()->GetSizeGripSize().cx;
  return R;
}

bool Designing(const TComponent* C) { return C && C->ComponentState().Contains(csDesigning); }

// A canvas to measure texts on when the status bar has no window yet.
TCanvas* MeasureCanvas() {
  static TBitmap B;
  if (B.Empty()) B.SetSize(1, 1);
  return B.Canvas();
}

}  // namespace

void TdxStatusBarPanelStyle::DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) {
  APainter->DrawPanelBackground(StatusBar(), FOwner, R, ACanvas);
}

void TdxStatusBarTextPanelStyle::SetAutoHint(bool Value) {
  if (FAutoHint == Value) return;
  FAutoHint = Value;
  TdxCustomStatusBar* Bar = StatusBar();
  if (!Value || !Bar) return;
  for (int i = 0; i < Bar->Panels()->Count(); ++i) {
    auto* Other = dynamic_cast<TdxStatusBarTextPanelStyle*>(Bar->Panels()->Item(i)->PanelStyle());
    if (Other && Other != this) Other->FAutoHint = false;
  }
}

TAlignment TdxStatusBarTextPanelStyle::GetAlignment() const {
  return Alignment == dxtaRight ? taRightJustify : Alignment == dxtaCenter ? taCenter : taLeftJustify;
}

void TdxStatusBarTextPanelStyle::SetAlignment(TAlignment Value) {
  Alignment = Value == taRightJustify ? dxtaRight : Value == taCenter ? dxtaCenter : dxtaLeft;
  Changed();
}

void TdxStatusBarTextPanelStyle::Published(TPublished<TdxStatusBarTextPanelStyle>& P) {
  using T = TdxStatusBarTextPanelStyle;
  P.Property("Alignment", &T::GetAlignment, &T::SetAlignment).Default(taLeftJustify);
  P.Property("AutoHint", &T::GetAutoHint, &T::SetAutoHint).Default(false);
  P.Property("Color", &T::GetColor, &T::SetColor).Stored(&T::ColorAssigned);
  P.Property("ImageIndex", &T::ImageIndex, &T::ImageIndex).Default(-1);
  P.Property("EllipsisType", &T::EllipsisType, &T::EllipsisType).Default(dxetNone);
  P.Property("Font", &T::GetFont, &T::SetFont).Stored(&T::IsFontStored);
  P.Property("ParentFont", &T::GetParentFont, &T::SetParentFont).Default(true);
  P.Property("OnGetText", &T::OnGetText, &T::OnGetText);
}

void TdxStatusBarTextPanelStyle::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TdxStatusBarTextPanelStyle*>(Source);
  if (!S) {
    TdxStatusBarPanelStyle::Assign(Source);
    return;
  }
  RestoreDefaults();
  Alignment = S->Alignment;
  EllipsisType = S->EllipsisType;
  ImageIndex = S->ImageIndex;
  OnGetText = S->OnGetText;
  SetAutoHint(S->FAutoHint);
  AssignStyle(S);
  Changed();
}

void TdxStatusBarTextPanelStyle::RestoreDefaults() {
  Alignment = dxtaLeft;
  TdxStatusBarPanelStyle::RestoreDefaults();
}

void TdxStatusBarTextPanelStyle::DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) {
  TdxStatusBarPanelStyle::DrawContent(ACanvas, R, APainter);
  TdxCustomStatusBar* Bar = StatusBar();
  const bool Enabled = !Bar || Bar->GetEnabled();
  if (Bar && Bar->GetImages() && ImageIndex >= 0 && ImageIndex < Bar->GetImages()->Count()) {
    TCustomImageList* Images = Bar->GetImages();
    Images->Draw(ACanvas->Canvas(), R.Left + 1, (R.Top + R.Bottom) / 2 - Images->GetHeight() / 2, ImageIndex,
                 Enabled);
    R.Left += Images->GetWidth() + 2;
  }
  ACanvas->Canvas()->Font()->Assign(GetFont());
  R = Deflated(R, 2, 0);
  AnsiString Text = FOwner ? FOwner->GetText() : AnsiString();
  if (OnGetText) OnGetText(this, R, Text);
  int Flags = cxSingleLine | cxAlignVCenter;
  Flags |= Alignment == dxtaRight ? cxAlignRight : Alignment == dxtaCenter ? cxAlignHCenter : cxAlignLeft;
  if (EllipsisType == dxetTruncate) Flags |= cxShowEndEllipsis;
  if (EllipsisType == dxetSmartPath) Flags |= cxShowPathEllipsis;
  ACanvas->Canvas()->Brush()->SetStyle(bsClear);
  ACanvas->DrawTextWithFlags(Text, R, Flags, Enabled);
  ACanvas->Canvas()->Brush()->SetStyle(bsSolid);
}

TdxStatusBarStateIndicatorItem::TdxStatusBarStateIndicatorItem(TCollection* ACollection)
    : TCollectionItem(ACollection), FBitmap(std::make_unique<TBitmap>()) {
  LoadLamp();
}

TdxStatusBarStateIndicatorItem::~TdxStatusBarStateIndicatorItem() = default;

void TdxStatusBarStateIndicatorItem::LoadLamp() {
  static const char* const Names[] = {"DXSTATUSBAR_GRAY",  "DXSTATUSBAR_YELLOW", "DXSTATUSBAR_BLUE",
                                      "DXSTATUSBAR_GREEN", "DXSTATUSBAR_RED",    "DXSTATUSBAR_TEAL",
                                      "DXSTATUSBAR_PURPLE"};
  auto Lamp = std::make_unique<TBitmap>();
  if (HBITMAP H = LoadBitmapA(ProgramInstance(), Names[FIndicatorType])) Lamp->SetHandle(H);
  FBitmap = std::move(Lamp);
}

void TdxStatusBarStateIndicatorItem::SetIndicatorType(TdxStatusBarStateIndicatorType Value) {
  if (FIndicatorType == Value) return;
  FIndicatorType = Value;
  LoadLamp();
  Changed(false);
}

void TdxStatusBarStateIndicatorItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed(false);
}

void TdxStatusBarStateIndicatorItem::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TdxStatusBarStateIndicatorItem*>(Source)) {
    SetIndicatorType(S->FIndicatorType);
    SetVisible(S->FVisible);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TdxStatusBarStateIndicatorItem::Published(TPublished<TdxStatusBarStateIndicatorItem>& P) {
  using T = TdxStatusBarStateIndicatorItem;
  P.Property("IndicatorType", &T::GetIndicatorType, &T::SetIndicatorType).Default(sitOff);
  P.Property("Visible", &T::GetVisible, &T::SetVisible).Default(true);
}

TdxStatusBarStateIndicatorPanelStyle::TdxStatusBarStateIndicatorPanelStyle(TdxStatusBarPanel* AOwner)
    : TdxStatusBarPanelStyle(AOwner), FIndicators(std::make_unique<TdxStatusBarStateIndicators>()) {
  FIndicators->OnChange = [this] { Changed(); };
}

TdxStatusBarStateIndicatorPanelStyle::~TdxStatusBarStateIndicatorPanelStyle() { FIndicators->OnChange = nullptr; }

void TdxStatusBarStateIndicatorPanelStyle::SetIndicators(TdxStatusBarStateIndicators* Value) {
  if (Value && Value != FIndicators.get()) FIndicators->Assign(Value);
}

void TdxStatusBarStateIndicatorPanelStyle::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TdxStatusBarStateIndicatorPanelStyle*>(Source)) {
    FIndicators->Assign(S->FIndicators.get());
    Spacing = S->Spacing;
  }
  TdxStatusBarPanelStyle::Assign(Source);
}

int TdxStatusBarStateIndicatorPanelStyle::GetMinWidth() const {
  if (FIndicators->Count() == 0) return 20;
  int W = Spacing;
  for (int i = 0; i < FIndicators->Count(); ++i) {
    const TdxStatusBarStateIndicatorItem* I = FIndicators->Item(i);
    if (I->GetVisible() && !I->Bitmap()->Empty()) W += I->Bitmap()->GetWidth() + Spacing;
  }
  return W;
}

void TdxStatusBarStateIndicatorPanelStyle::DrawContent(TcxCanvas* ACanvas, TRect R,
                                                       TdxStatusBarPainterClass APainter) {
  TdxStatusBarPanelStyle::DrawContent(ACanvas, R, APainter);
  int X = R.Left + Spacing;
  for (int i = 0; i < FIndicators->Count(); ++i) {
    TBitmap* B = FIndicators->Item(i)->Bitmap();
    if (!FIndicators->Item(i)->GetVisible() || B->Empty()) continue;
    ACanvas->Draw(X, (R.Top + R.Bottom - B->GetHeight()) / 2, B);
    X += B->GetWidth() + Spacing;
  }
}

// -- panels -----------------------------------------------------------------

TdxStatusBarPanel::TdxStatusBarPanel(TCollection* ACollection) : TCollectionItem(ACollection) {
  if (const TdxCustomStatusBar* Bar = StatusBar()) FBiDiMode = Bar->GetBiDiMode();
  FPanelStyleClass = TdxStatusBarTextPanelStyle::StaticClass();
  CreatePanelStyle();
}

// A panel going away never refuses: the check of a style that may not be
// deleted belongs to the deletion that the user asked for
// (TdxStatusBarPanels::DeletePanel), which runs before the destructor, so no
// exception can leave a destructor half way.
TdxStatusBarPanel::~TdxStatusBarPanel() { DestroyPanelStyle(false); }

TdxCustomStatusBar* TdxStatusBarPanel::StatusBar() const {
  auto* Panels = dynamic_cast<TdxStatusBarPanels*>(Collection());
  return Panels ? Panels->StatusBar() : nullptr;
}

void TdxStatusBarPanel::CreatePanelStyle() {
  FPanelStyle = MakeStyle(FPanelStyleClass, this);
  if (TdxCustomStatusBar* Bar = StatusBar()) Bar->Changed();
}

void TdxStatusBarPanel::DestroyPanelStyle(bool ACheck) {
  if (ACheck && FPanelStyle && !FPanelStyle->CanDelete()) {
    const TdxCustomStatusBar* Bar = StatusBar();
    const bool Quiet = Bar && (Bar->IsBeingDestroyed() || Bar->ComponentState().Contains(csLoading) ||
                               Bar->ComponentState().Contains(csReading) ||
                               Bar->ComponentState().Contains(csUpdating));
    if (!Quiet) throw Exception(CannotDeleteText);
  }
  FPanelStyle.reset();
}

void TdxStatusBarPanel::SetPanelStyleClass(TClass Value) {
  if (Value == FPanelStyleClass && (FPanelStyle || !Value)) return;
  DestroyPanelStyle(true);
  FPanelStyleClass = Value;
  CreatePanelStyle();
}

AnsiString TdxStatusBarPanel::GetPanelStyleClassName() const {
  return FPanelStyleClass ? FPanelStyleClass->ClassName() : AnsiString();
}

void TdxStatusBarPanel::SetPanelStyleClassName(const AnsiString& Value) {
  SetPanelStyleClass(FindStatusBarPanelStyleClass(Value));
}

void TdxStatusBarPanel::SetBevel(TdxStatusBarPanelBevel Value) {
  if (FBevel == Value) return;
  FBevel = Value;
  Changed(false);
}

bool TdxStatusBarPanel::GetFixed() const { return FFixed || (FPanelStyle && !FPanelStyle->CanSizing()); }

void TdxStatusBarPanel::SetFixed(bool Value) {
  if (FFixed == Value) return;
  FFixed = Value;
  Changed(false);
}

int TdxStatusBarPanel::GetDefaultMinWidth() const { return FPanelStyle ? FPanelStyle->GetMinWidth() : 20; }

int TdxStatusBarPanel::GetDefaultWidth() const {
  return !FPanelStyle || FPanelStyle->CanSizing() ? 50 : GetDefaultMinWidth();
}

int TdxStatusBarPanel::GetMinWidth() const {
  return FMinWidthAssigned && (!FPanelStyle || FPanelStyle->CanSizing()) ? FMinWidth : GetDefaultMinWidth();
}

void TdxStatusBarPanel::SetMinWidth(int Value) {
  FMinWidth = std::max(Value, 0);
  FMinWidthAssigned = true;
  if (FWidth < FMinWidth) FWidth = FMinWidth;
  Changed(false);
}

int TdxStatusBarPanel::GetWidth() const {
  return FWidthAssigned && (!FPanelStyle || FPanelStyle->CanSizing()) ? FWidth : GetDefaultWidth();
}

void TdxStatusBarPanel::SetWidth(int Value) {
  FWidth = std::max(Value, FMinWidth);
  FWidthAssigned = true;
  Changed(false);
}

void TdxStatusBarPanel::SetText(const AnsiString& Value) {
  if (FText == Value) return;
  FText = Value;
  Changed(false);
}

void TdxStatusBarPanel::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (FPanelStyle) FPanelStyle->VisibleChanged();
  Changed(false);
}

void TdxStatusBarPanel::SetBiDiMode(TBiDiMode Value) {
  FParentBiDiMode = false;
  if (FBiDiMode == Value) return;
  FBiDiMode = Value;
  Changed(false);
}

void TdxStatusBarPanel::SetParentBiDiMode(bool Value) {
  if (FParentBiDiMode == Value) return;
  FParentBiDiMode = Value;
  ParentBiDiModeChanged();
}

void TdxStatusBarPanel::ParentBiDiModeChanged() {
  const TdxCustomStatusBar* Bar = StatusBar();
  if (!FParentBiDiMode || !Bar || FBiDiMode == Bar->GetBiDiMode()) return;
  FBiDiMode = Bar->GetBiDiMode();
  Changed(false);
}

void TdxStatusBarPanel::RestoreDefaults() {
  FVisible = true;
  FMinWidth = 20;
  FWidth = 50;
  FFixed = true;
  FParentBiDiMode = true;
  if (const TdxCustomStatusBar* Bar = StatusBar()) FBiDiMode = Bar->GetBiDiMode();
  FBevel = dxpbLowered;
  FMinWidthAssigned = FWidthAssigned = false;
  Changed(true);
}

void TdxStatusBarPanel::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TdxStatusBarPanel*>(Source);
  if (!S) {
    TCollectionItem::Assign(Source);
    return;
  }
  if (S == this) return;
  auto Copy = [&] {
    RestoreDefaults();
    SetPanelStyleClass(S->FPanelStyleClass);
    SetPanelStyle(S->PanelStyle());
    SetVisible(S->FVisible);
    SetBevel(S->FBevel);
    SetBiDiMode(S->FBiDiMode);
    SetFixed(S->FFixed);
    if (S->FMinWidthAssigned) SetMinWidth(S->FMinWidth);
    SetParentBiDiMode(S->FParentBiDiMode);
    SetText(S->FText);
    if (S->FWidthAssigned) SetWidth(S->FWidth);
  };
  if (TCollection* C = Collection()) {
    TUpdateGuard<TCollection> Update(*C);
    Copy();
  } else {
    Copy();
  }
}

int TdxStatusBarPanel::AdjustLayoutWidth(int W) const {
  if (!FPanelStyle) return W;
  if (!FPanelStyle->DrawsOwnBevels()) W += 2;
  const TdxCustomStatusBar* Bar = StatusBar();
  if (Bar && Index() == Bar->Panels()->Count() - 1 && Bar->IsSizeGripVisible() && Bar->Painter())
    W += Bar->Painter()->GetSizeGripSize().cx;
  return W;
}

TdxStatusBarPanels::TdxStatusBarPanels(TdxCustomStatusBar* AStatusBar)
    : TCollection(TdxStatusBarPanel::StaticClass()), FStatusBar(AStatusBar) {}

void TdxStatusBarPanels::DeletePanel(int Index) {
  TdxStatusBarPanel* P = Item(Index);
  if (P->PanelStyle() && !P->PanelStyle()->CanDelete() && FStatusBar && !FStatusBar->IsBeingDestroyed())
    throw Exception(CannotDeleteText);
  Delete(Index);
}

void TdxStatusBarPanels::Update(TCollectionItem*) {
  if (FStatusBar) FStatusBar->Changed();
}

TPersistent* TdxStatusBarPanels::GetOwner() { return FStatusBar; }

// -- the status bar ---------------------------------------------------------

TdxCustomStatusBar::TdxCustomStatusBar(TComponent* AOwner) : TcxControl(AOwner) {
  SetColor(clBtnFace);
  SetHeight(20);
  SetAlign(alBottom);
  FPanels = std::make_unique<TdxStatusBarPanels>(this);
  // A switched visual style may change the painter (the XP look needs it).
  auto Listener = std::make_unique<TdxThemeChangedNotificator>();
  Listener->OnThemeChanged = TEvent<void()>(this, &TdxCustomStatusBar::ThemeChanged);
  FThemeListener = std::move(Listener);
  PainterChanged();
  LockOffice11Scheme();
}

TdxCustomStatusBar::~TdxCustomStatusBar() {
  FDestroying = true;
  FThemeListener.reset();
  UnlockOffice11Scheme();
  FPanels.reset();
}

void TdxCustomStatusBar::SetPaintStyle(TdxStatusBarPaintStyle Value) {
  if (FPaintStyle == Value) return;
  FPaintStyle = Value;
  PainterChanged();
}

void TdxCustomStatusBar::SetSizeGrip(bool Value) {
  if (FSizeGrip == Value) return;
  FSizeGrip = Value;
  Changed();
}

void TdxCustomStatusBar::SetStatusBorderWidth(int Value) {
  Value = std::max(Value, 0);
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  Changed();
}

void TdxCustomStatusBar::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  Changed();
}

void TdxCustomStatusBar::Notification(TComponent* AComponent, TOperation Operation) {
  TcxControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) SetImages(nullptr);
}

bool TdxCustomStatusBar::DoHint() {
  if (!OnHint) return false;
  OnHint(this);
  return true;
}

bool TdxCustomStatusBar::ExecuteAction(TBasicAction* Action) {
  auto* Hint = dynamic_cast<THintAction*>(Action);
  if (Hint && !Designing(this)) {
    TdxStatusBarPanel* Target = nullptr;
    for (int i = 0; i < FPanels->Count(); ++i)
      if (auto* S = dynamic_cast<TdxStatusBarTextPanelStyle*>(FPanels->Item(i)->PanelStyle()))
        if (S->GetAutoHint()) Target = FPanels->Item(i);
    if (Target && !DoHint()) {
      Target->SetText(Hint->Hint);
      return true;
    }
  }
  return TcxControl::ExecuteAction(Action);
}

TdxStatusBarPaintStyle TdxCustomStatusBar::GetEffectivePaintStyle() const {
  if (FPaintStyle != stpsUseLookAndFeel) return FPaintStyle;
  if (GetLookAndFeel()->GetNativeStyle() && IsThemeClassAvailable(totStatus)) return stpsXP;
  switch (GetLookAndFeel()->GetKind()) {
    case lfUltraFlat: return stpsFlat;
    case lfOffice11: return stpsOffice11;
    default: return stpsStandard;
  }
}

TdxStatusBarPainterClass TdxCustomStatusBar::GetPainterClass() const {
  switch (GetEffectivePaintStyle()) {
    case stpsFlat: return TdxStatusBarFlatPainter::Instance();
    case stpsOffice11: return TdxStatusBarOffice11Painter::Instance();
    // Without the status theme class's visual styles the XP look falls back
    // to the standard one.
    case stpsXP:
      return IsThemeClassAvailable(totStatus) ? TdxStatusBarXPPainter::Instance()
                                              : TdxStatusBarStandardPainter::Instance();
    default: return TdxStatusBarStandardPainter::Instance();
  }
}

void TdxCustomStatusBar::PainterChanged() {
  FPainter = GetPainterClass();
  Changed();
}

void TdxCustomStatusBar::Changed() { Invalidate(); }

bool TdxCustomStatusBar::IsSizeGripVisible() const {
  if (!FSizeGrip) return false;
  const TCustomForm* Form = GetParentForm(this);
  if (!Form || Form->GetWindowState() != wsNormal) return false;
  if (Form->GetBorderStyle() != bsSizeable && Form->GetBorderStyle() != bsSizeToolWin) return false;
  const TRect B = BoundsRect();
  return GetParent() == Form && B.Right == Form->ClientWidth() && B.Bottom == Form->ClientHeight();
}

std::vector<TRect> TdxCustomStatusBar::CalcPanelRects(const TRect& R) const {
  std::vector<TRect> Rects;
  const int N = FPanels->Count();
  if (N == 0) return Rects;
  TcxAutoWidthObject Layout(2 * N - 1);
  bool Stretching = false;
  for (int i = 0; i < N; ++i) {
    const TdxStatusBarPanel* P = FPanels->Item(i);
    TcxAutoWidthItem* Item = Layout.AppendItem();
    Item->MinWidth = P->GetLayoutMinWidth();
    Item->Width = P->GetLayoutWidth();
    Item->Fixed = P->GetFixed();
    Stretching = Stretching || !Item->Fixed;
    // At least one panel always takes the remaining width.
    if (i == N - 1 && !Stretching) Item->Fixed = false;
    if (i < N - 1) {
      TcxAutoWidthItem* Sep = Layout.AppendItem();
      Sep->MinWidth = Sep->Width = FPainter->GetSeparatorWidth();
      Sep->Fixed = true;
    }
  }
  Layout.AvailableWidth = R.Width();
  Layout.DistributeWidth();
  int X = R.Left;
  for (int i = 0; i < Layout.ItemCount(); ++i) {
    const int W = Layout.GetItem(i)->AutoWidth;
    if (i % 2 == 0) Rects.push_back({X, R.Top, X + W, R.Bottom});
    X += W;
  }
  return Rects;
}

TdxStatusBarPanel* TdxCustomStatusBar::GetPanelAt(int X, int Y) const {
  const TRect B = GetContentBounds();
  const TRect W = FPainter->GetBorderWidths(this);
  const TRect R{B.Left + W.Left, B.Top + W.Top, B.Right - W.Right, B.Bottom - W.Bottom};
  const std::vector<TRect> Rects = CalcPanelRects(R);
  for (size_t i = 0; i < Rects.size(); ++i)
    if (Rects[i].Contains({X, Y})) return FPanels->Item(int(i));
  return nullptr;
}

void TdxCustomStatusBar::PaintTo(TcxCanvas* ACanvas, TRect R) {
  const TdxStatusBarPainterClass P = FPainter;
  P->DrawBorder(this, ACanvas, R);
  HRGN Saved;
  bool Existed;
  const HDC DC = ACanvas->GetDC();
  PushClipRegion(DC, Saved, Existed);
  ACanvas->IntersectClipRect(R);
  const bool Grip = IsSizeGripVisible();
  if (FPanels->Count() == 0) {
    if (Grip) P->DrawSizeGrip(this, ACanvas, false, R);
    P->DrawEmptyPanel(this, ACanvas, R);
  } else {
    const std::vector<TRect> Rects = CalcPanelRects(R);
    if (Grip) {
      int Total = 0;
      for (int i = 0; i < FPanels->Count(); ++i) Total += FPanels->Item(i)->GetLayoutWidth();
      Total += (FPanels->Count() - 1) * P->GetSeparatorWidth();
      P->DrawSizeGrip(this, ACanvas, Total >= R.Width(), R);
    }
    for (size_t i = 0; i < Rects.size(); ++i) {
      P->DrawPanel(this, FPanels->Item(int(i)), Rects[i], ACanvas);
      if (i + 1 < Rects.size())
        P->DrawPanelSeparator(this, ACanvas, {Rects[i].Right, R.Top, Rects[i + 1].Left, R.Bottom});
    }
  }
  PopClipRegion(DC, Saved, Existed);
}

void TdxCustomStatusBar::Paint() {
  TcxControl::Paint();
  PaintTo(GetCxCanvas(), GetContentBounds());
}

// -- painters ---------------------------------------------------------------

TdxStatusBarPainterClass TdxStatusBarPainter::Instance() {
  static const TdxStatusBarPainter P;
  return &P;
}
TdxStatusBarPainterClass TdxStatusBarStandardPainter::Instance() {
  static const TdxStatusBarStandardPainter P;
  return &P;
}
TdxStatusBarPainterClass TdxStatusBarFlatPainter::Instance() {
  static const TdxStatusBarFlatPainter P;
  return &P;
}
TdxStatusBarPainterClass TdxStatusBarOffice11Painter::Instance() {
  static const TdxStatusBarOffice11Painter P;
  return &P;
}
TdxStatusBarPainterClass TdxStatusBarXPPainter::Instance() {
  static const TdxStatusBarXPPainter P;
  return &P;
}

TRect TdxStatusBarPainter::GetBorderWidths(const TdxCustomStatusBar* ABar) const {
  const int B = ABar->GetStatusBorderWidth();
  return {B, GetTopBorderHeight() + B, B, B};
}

void TdxStatusBarPainter::DrawBorder(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, TRect& R) const {
  FillBackground(ABar, ACanvas, {R.Left, R.Top, R.Right, R.Top + GetTopBorderHeight()});
  R.Top += GetTopBorderHeight();
  const int B = ABar->GetStatusBorderWidth();
  if (B >= 1) {
    const TColor C = ABar->GetColor();
    ACanvas->FillRect({R.Left, R.Top, R.Right, R.Top + B}, C);
    ACanvas->FillRect({R.Left, R.Bottom - B, R.Right, R.Bottom}, C);
    ACanvas->FillRect({R.Left, R.Top, R.Left + B, R.Bottom}, C);
    ACanvas->FillRect({R.Right - B, R.Top, R.Right, R.Bottom}, C);
    R = Deflated(R, B, B);
  }
}

void TdxStatusBarPainter::DrawEmptyPanel(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, TRect R) const {
  DrawPanelBorder(ABar, dxpbLowered, R, ACanvas);
  DrawPanelBackground(ABar, nullptr, R, ACanvas);
}

void TdxStatusBarPainter::DrawPanel(const TdxCustomStatusBar* ABar, TdxStatusBarPanel* APanel, TRect R,
                                    TcxCanvas* ACanvas) const {
  if (!APanel) {
    DrawPanelBorder(ABar, dxpbLowered, R, ACanvas);
    DrawPanelBackground(ABar, nullptr, R, ACanvas);
    return;
  }
  if (!APanel->GetVisible()) {
    DrawPanelBackground(ABar, APanel, R, ACanvas);
    return;
  }
  DrawPanelBorder(ABar, GetPanelBevel(APanel), R, ACanvas);
  bool Done = false;
  if (APanel->OnDrawPanel) APanel->OnDrawPanel(APanel, ACanvas, R, Done);
  if (Done) return;
  if (APanel->PanelStyle())
    APanel->PanelStyle()->DrawContent(ACanvas, R, this);
  else
    DrawPanelBackground(ABar, APanel, R, ACanvas);
}

void TdxStatusBarPainter::DrawSizeGrip(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, bool AOverlapped,
                                       TRect R) const {
  R = Deflated(R, 1, 1);
  const TSize S = GetSizeGripSize(), E = GetSizeGripEdgeSize();
  const TRect Cell{R.Right - S.cx, R.Bottom - S.cy, R.Right, R.Bottom};
  TRect Cleared = Cell;
  if (AOverlapped) Cleared.Right += 1;
  const TColor C = ABar->GetColor();
  ACanvas->FillRect(Cleared, C);
  DrawTransparentSizeGrip(ACanvas->GetDC(), Cell);
  const TRect Row{R.Right - E.cx, R.Bottom, R.Right + 1, R.Bottom + 1};
  const TRect Column{R.Right, R.Bottom - E.cy, R.Right + 1, R.Bottom};
  ACanvas->FillRect(Row, C);
  ACanvas->FillRect(Column, C);
  ACanvas->ExcludeClipRect(Cleared);
  ACanvas->ExcludeClipRect(Row);
  ACanvas->ExcludeClipRect(Column);
}

void TdxStatusBarPainter::FillBackground(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->FillRect(R, ABar->GetColor());
}

TdxStatusBarPanelBevel TdxStatusBarPainter::GetPanelBevel(const TdxStatusBarPanel* APanel) const {
  if (!APanel) return dxpbLowered;
  if (APanel->PanelStyle() && APanel->PanelStyle()->DrawsOwnBevels()) return dxpbNone;
  return APanel->GetBevel();
}

TColor TdxStatusBarPainter::GetPanelColor(const TdxCustomStatusBar* ABar, const TdxStatusBarPanel* APanel) const {
  if (APanel && APanel->PanelStyle()) return APanel->PanelStyle()->GetColor();
  return ABar->GetColor();
}

void TdxStatusBarStandardPainter::DrawPanelBorder(const TdxCustomStatusBar*, TdxStatusBarPanelBevel ABevel, TRect& R,
                                                  TcxCanvas* ACanvas) const {
  if (ABevel == dxpbNone) return;
  dxDrawEdge(ACanvas->GetDC(), R, ABevel == dxpbLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  R = Deflated(R, 1, 1);
}

void TdxStatusBarStandardPainter::DrawPanelSeparator(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas,
                                                     const TRect& R) const {
  ACanvas->FillRect(R, ABar->GetColor());
}

void TdxStatusBarStandardPainter::DrawPanelBackground(const TdxCustomStatusBar* ABar, const TdxStatusBarPanel* APanel,
                                                      const TRect& R, TcxCanvas* ACanvas) const {
  ACanvas->FillRect(R, GetPanelColor(ABar, APanel));
}

void TdxStatusBarFlatPainter::DrawPanelBorder(const TdxCustomStatusBar*, TdxStatusBarPanelBevel ABevel, TRect& R,
                                              TcxCanvas* ACanvas) const {
  if (ABevel == dxpbNone) return;
  FrameRectWithColor(ACanvas->GetDC(), R, clBtnShadow);
  R = Deflated(R, 1, 1);
}

TRect TdxStatusBarOffice11Painter::GetBorderWidths(const TdxCustomStatusBar*) const { return {1, 1, 1, 1}; }

void TdxStatusBarOffice11Painter::DrawBorder(const TdxCustomStatusBar*, TcxCanvas* ACanvas, TRect& R) const {
  FillTwoStageGradientRect(ACanvas->GetDC(), R, Office11SchemeEntry(0), Office11SchemeEntry(1), false);
  R = Deflated(R, 1, 1);
}

void TdxStatusBarOffice11Painter::DrawPanelBorder(const TdxCustomStatusBar*, TdxStatusBarPanelBevel ABevel, TRect& R,
                                                  TcxCanvas* ACanvas) const {
  if (ABevel == dxpbNone) return;
  FrameRectWithColor(ACanvas->GetDC(), R, MixColors(Office11SchemeEntry(1), clBlack, 90));
  R = Deflated(R, 1, 1);
}

void TdxStatusBarOffice11Painter::DrawSizeGrip(const TdxCustomStatusBar*, TcxCanvas* ACanvas, bool AOverlapped,
                                               TRect R) const {
  R = Deflated(R, 0, 1);
  const TSize S = GetSizeGripSize();
  const TRect Cell{R.Right - S.cx, R.Bottom - S.cy, R.Right, R.Bottom};
  DrawOffice11SizeGripDots(ACanvas->GetDC(), Cell);
  TRect Excluded = Cell;
  if (!AOverlapped) Excluded.Left += 1;
  ACanvas->ExcludeClipRect(Excluded);
}

// -- keyboard state --------------------------------------------------------

TdxStatusBarKeyStateAppearance::TdxStatusBarKeyStateAppearance(TdxStatusBarKeyboardState AKey, int AVirtualKey,
                                                               const AnsiString& AActiveCaption,
                                                               const AnsiString& AInactiveCaption,
                                                               TColor AActiveFontColor,
                                                               std::function<void()> AOnChange)
    : FKey(AKey),
      FVirtualKey(AVirtualKey),
      FActiveFontColor(AActiveFontColor),
      FActiveCaption(AActiveCaption),
      FInactiveCaption(AInactiveCaption),
      FOnChange(std::move(AOnChange)) {}

void TdxStatusBarKeyStateAppearance::Published(TPublished<TdxStatusBarKeyStateAppearance>& P) {
  using T = TdxStatusBarKeyStateAppearance;
  P.Property("ActiveFontColor", &T::GetActiveFontColor, &T::SetActiveFontColor).Default(clWindowText);
  P.Property("InactiveFontColor", &T::GetInactiveFontColor, &T::SetInactiveFontColor).Default(clBtnShadow);
  P.Property("ActiveCaption", &T::GetActiveCaption, &T::SetActiveCaption);
  P.Property("InactiveCaption", &T::GetInactiveCaption, &T::SetInactiveCaption);
}

void TdxStatusBarKeyStateAppearance::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TdxStatusBarKeyStateAppearance*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  FActiveFontColor = S->FActiveFontColor;
  FInactiveFontColor = S->FInactiveFontColor;
  FActiveCaption = S->FActiveCaption;
  FInactiveCaption = S->FInactiveCaption;
  Changed();
}

void TdxStatusBarKeyStateAppearance::SetActiveFontColor(TColor Value) {
  FActiveFontColor = Value;
  Changed();
}
void TdxStatusBarKeyStateAppearance::SetInactiveFontColor(TColor Value) {
  FInactiveFontColor = Value;
  Changed();
}
void TdxStatusBarKeyStateAppearance::SetActiveCaption(const AnsiString& Value) {
  FActiveCaption = Value;
  Changed();
}
void TdxStatusBarKeyStateAppearance::SetInactiveCaption(const AnsiString& Value) {
  FInactiveCaption = Value;
  Changed();
}

int TdxStatusBarKeyStateAppearance::GetCellWidth(TCanvas* ACanvas) const {
  return std::max(ACanvas->TextWidth(FActiveCaption), ACanvas->TextWidth(FInactiveCaption)) + 4;
}

TdxStatusBarKeyboardStateNotifier::TdxStatusBarKeyboardStateNotifier(TdxCustomStatusBar* AStatusBar)
    : FStatusBar(AStatusBar) {
  FTimer = std::make_unique<TTimer>(nullptr);
  FTimer->SetInterval(100);
  FTimer->SetOnTimer(TNotifyEvent(this, &TdxStatusBarKeyboardStateNotifier::TimerTick));
}

TdxStatusBarKeyboardStateNotifier::~TdxStatusBarKeyboardStateNotifier() = default;

void TdxStatusBarKeyboardStateNotifier::AddKey(int AVirtualKey) {
  RemoveKey(AVirtualKey);
  FKeys.push_back({AVirtualKey, static_cast<unsigned char>(GetKeyState(AVirtualKey) & 0xFF)});
}

void TdxStatusBarKeyboardStateNotifier::RemoveKey(int AVirtualKey) {
  FKeys.erase(std::remove_if(FKeys.begin(), FKeys.end(),
                             [&](const TWatchedKey& K) { return K.VirtualKey == AVirtualKey; }),
              FKeys.end());
}

bool TdxStatusBarKeyboardStateNotifier::Poll() {
  bool Changed = false;
  for (TWatchedKey& K : FKeys) {
    const auto State = static_cast<unsigned char>(GetKeyState(K.VirtualKey) & 0xFF);
    if (State != K.State) {
      K.State = State;
      Changed = true;
    }
  }
  if (Changed && FStatusBar) FStatusBar->Changed();
  return Changed;
}

void TdxStatusBarKeyboardStateNotifier::TimerTick(TObject*) { Poll(); }

namespace {

struct TKeyDefault {
  TdxStatusBarKeyboardState Key;
  int VirtualKey;
  const char* Inactive;
  const char* Active;
};
constexpr TKeyDefault KeyDefaults[4] = {{dxksCapsLock, 20, "CAPS", "CAPS"},
                                        {dxksNumLock, 144, "NUM", "NUM"},
                                        {dxksScrollLock, 145, "SCRL", "SCRL"},
                                        {dxksInsert, 45, "INS", "OVR"}};

}  // namespace

TdxStatusBarKeyboardStatePanelStyle::TdxStatusBarKeyboardStatePanelStyle(TdxStatusBarPanel* AOwner)
    : TdxStatusBarPanelStyle(AOwner) {
  TdxCustomStatusBar* Bar = StatusBar();
  const TColor FontColor = Bar && Bar->GetFont() ? Bar->GetFont()->GetColor() : clWindowText;
  for (const TKeyDefault& D : KeyDefaults)
    FAppearances[D.Key] = std::make_unique<TdxStatusBarKeyStateAppearance>(D.Key, D.VirtualKey, D.Active, D.Inactive,
                                                                           FontColor, [this] { Changed(); });
  FNotifier = std::make_unique<TdxStatusBarKeyboardStateNotifier>(Bar);
  for (const TKeyDefault& D : KeyDefaults) FNotifier->AddKey(D.VirtualKey);
}

TdxStatusBarKeyboardStatePanelStyle::~TdxStatusBarKeyboardStatePanelStyle() {
  for (int i = 3; i >= 0; --i) FNotifier->RemoveKey(KeyDefaults[i].VirtualKey);
  FNotifier.reset();
}

void TdxStatusBarKeyboardStatePanelStyle::Published(TPublished<TdxStatusBarKeyboardStatePanelStyle>& P) {
  using T = TdxStatusBarKeyboardStatePanelStyle;
  P.Property("Color", &T::GetColor, &T::SetColor).Stored(&T::ColorAssigned);
  P.Property("KeyboardStates", &T::GetKeyboardStates, &T::SetKeyboardStates)
      .Default(TdxStatusBarKeyboardStates{dxksCapsLock, dxksNumLock, dxksScrollLock, dxksInsert});
  P.Property("FullRect", &T::GetFullRect, &T::SetFullRect).Default(false);
  P.Property("CapsLockKeyAppearance", &T::GetCapsLockKeyAppearance, &T::SetCapsLockKeyAppearance);
  P.Property("NumLockKeyAppearance", &T::GetNumLockKeyAppearance, &T::SetNumLockKeyAppearance);
  P.Property("ScrollLockKeyAppearance", &T::GetScrollLockKeyAppearance, &T::SetScrollLockKeyAppearance);
  P.Property("InsertKeyAppearance", &T::GetInsertKeyAppearance, &T::SetInsertKeyAppearance);
  P.Property("Font", &T::GetFont, &T::SetFont).Stored(&T::IsFontStored);
  P.Property("ParentFont", &T::GetParentFont, &T::SetParentFont).Default(true);
}

void TdxStatusBarKeyboardStatePanelStyle::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TdxStatusBarKeyboardStatePanelStyle*>(Source);
  if (!S) {
    TdxStatusBarPanelStyle::Assign(Source);
    return;
  }
  RestoreDefaults();
  FKeyboardStates = S->FKeyboardStates;
  FullRect = S->FullRect;
  for (int i = 0; i < 4; ++i) FAppearances[i]->Assign(S->FAppearances[i].get());
  AssignStyle(S);
  Changed();
}

void TdxStatusBarKeyboardStatePanelStyle::RestoreDefaults() {
  FKeyboardStates = {dxksCapsLock, dxksNumLock, dxksScrollLock, dxksInsert};
  TdxStatusBarPanelStyle::RestoreDefaults();
}

void TdxStatusBarKeyboardStatePanelStyle::SetFullRect(bool Value) {
  if (FullRect == Value) return;
  FullRect = Value;
  // The panels' widths follow: the layout is computed afresh on painting.
  Changed();
}

void TdxStatusBarKeyboardStatePanelStyle::SetKeyboardStates(TdxStatusBarKeyboardStates Value) {
  if (FKeyboardStates == Value) return;
  FKeyboardStates = Value;
  Changed();
}

bool TdxStatusBarKeyboardStatePanelStyle::IsKeyActive(TdxStatusBarKeyboardState Key) const {
  if (Designing(StatusBar())) return false;
  // Only the toggle: a key held down reads 0x80 in the high bit.
  return (GetKeyState(FAppearances[Key]->VirtualKey()) & 0xFF) == 1;
}

int TdxStatusBarKeyboardStatePanelStyle::GetMinWidth() const {
  TCanvas* C = MeasureCanvas();
  C->Font()->Assign(GetFont());
  const int Separator = StatusBar() && StatusBar()->Painter() ? StatusBar()->Painter()->GetSeparatorWidth() : 2;
  int W = 0, Shown = 0;
  for (const TKeyDefault& D : KeyDefaults) {
    if (!FKeyboardStates.Contains(D.Key)) continue;
    W += FAppearances[D.Key]->GetCellWidth(C) + (FullRect ? 0 : 2);
    ++Shown;
  }
  if (Shown == 0) return 50;
  return W + (Shown - 1) * Separator;
}

void TdxStatusBarKeyboardStatePanelStyle::DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) {
  TdxStatusBarPanelStyle::DrawContent(ACanvas, R, APainter);
  TdxCustomStatusBar* Bar = StatusBar();
  ACanvas->Canvas()->Font()->Assign(GetFont());
  const bool Enabled = !Bar || Bar->GetEnabled();
  int X = R.Left;
  for (const TKeyDefault& D : KeyDefaults) {
    if (!FKeyboardStates.Contains(D.Key)) continue;
    const TdxStatusBarKeyStateAppearance* A = FAppearances[D.Key].get();
    const int W = A->GetCellWidth(ACanvas->Canvas()) + (FullRect ? 0 : 2);
    TRect Cell{X, R.Top, X + W, R.Bottom};
    TRect Text = Cell;
    if (!FullRect && FOwner) APainter->DrawPanelBorder(Bar, FOwner->GetBevel(), Text, ACanvas);
    const bool Active = IsKeyActive(D.Key);
    ACanvas->Canvas()->Font()->SetColor(Active ? A->GetActiveFontColor() : A->GetInactiveFontColor());
    ACanvas->Canvas()->Brush()->SetStyle(bsClear);
    ACanvas->DrawTextWithFlags(Active ? A->GetActiveCaption() : A->GetInactiveCaption(), Text,
                               cxSingleLine | cxAlignVCenter | cxAlignHCenter, Enabled);
    ACanvas->Canvas()->Brush()->SetStyle(bsSolid);
    X = Cell.Right + APainter->GetSeparatorWidth();
  }
}

// -- container panel -------------------------------------------------------

TdxStatusBarContainerPanelStyle::TdxStatusBarContainerPanelStyle(TdxStatusBarPanel* AOwner)
    : TdxStatusBarPanelStyle(AOwner) {
  TdxCustomStatusBar* Bar = StatusBar();
  if (!Bar) return;
  const auto& State = Bar->ComponentState();
  if (State.Contains(csLoading) || State.Contains(csReading) || State.Contains(csUpdating)) return;
  FContainer = new TdxStatusBarContainerControl(Bar->Owner());
  FContainer->SetPanelStyle(this);
  FContainer->SetParent(Bar);
  if (Designing(Bar)) {
    // Named after the status bar, from the panel's ID up while taken.
    for (int N = FOwner ? FOwner->ID() : 0;; ++N) {
      const AnsiString Name = Bar->GetName() + "Container" + IntToStr(N);
      if (!Bar->Owner() || !Bar->Owner()->FindComponent(Name)) {
        FContainer->SetName(Name);
        break;
      }
    }
  }
}

TdxStatusBarContainerPanelStyle::~TdxStatusBarContainerPanelStyle() {
  TdxStatusBarContainerControl* C = FContainer;
  FContainer = nullptr;
  if (!C) return;
  C->SetPanelStyle(nullptr);
  const TdxCustomStatusBar* Bar = StatusBar();
  const bool Detach = !Bar || Bar->IsBeingDestroyed() || Bar->ComponentState().Contains(csLoading) ||
                      Bar->ComponentState().Contains(csReading) || Bar->ComponentState().Contains(csUpdating);
  if (!Detach) delete C;
}

void TdxStatusBarContainerPanelStyle::Published(TPublished<TdxStatusBarContainerPanelStyle>& P) {
  using T = TdxStatusBarContainerPanelStyle;
  P.Property("AlignControl", &T::GetAlignControl, &T::SetAlignControl).Default(true);
  P.Property("Container", &T::GetContainer, &T::SetContainer);
}

void TdxStatusBarContainerPanelStyle::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TdxStatusBarContainerPanelStyle*>(Source);
  if (!S) {
    TdxStatusBarPanelStyle::Assign(Source);
    return;
  }
  FAlignControl = S->FAlignControl;
  if (S->FContainer && StatusBar())
    for (int i = 0; i < StatusBar()->ControlCount(); ++i)
      if (auto* C = dynamic_cast<TdxStatusBarContainerControl*>(StatusBar()->Controls(i)))
        if (SameText(C->GetName(), S->FContainer->GetName())) SetContainer(C);
  AssignStyle(S);
  Changed();
}

void TdxStatusBarContainerPanelStyle::SetAlignControl(bool Value) {
  if (FAlignControl == Value) return;
  FAlignControl = Value;
  Changed();
}

void TdxStatusBarContainerPanelStyle::SetContainer(TdxStatusBarContainerControl* Value) {
  if (FContainer == Value) return;
  if (FContainer) FContainer->SetPanelStyle(nullptr);
  FContainer = Value;
  if (FContainer) {
    FContainer->SetPanelStyle(this);
    if (StatusBar() && FContainer->GetParent() != StatusBar()) FContainer->SetParent(StatusBar());
  }
  Changed();
}

void TdxStatusBarContainerPanelStyle::DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) {
  TdxStatusBarPanelStyle::DrawContent(ACanvas, R, APainter);
  if (!FContainer) return;
  const TRect B = AdjustContentRect(this, R);
  if (FContainer->BoundsRect() != B) FContainer->SetBoundsRect(B);
  if (!FAlignControl || Designing(StatusBar())) return;
  for (int i = 0; i < FContainer->ControlCount(); ++i) {
    TControl* Child = FContainer->Controls(i);
    const TRect Full{0, 0, B.Width(), B.Height()};
    if (Child->BoundsRect() != Full) Child->SetBoundsRect(Full);
  }
}

void TdxStatusBarContainerPanelStyle::VisibleChanged() {
  if (FContainer && FOwner) FContainer->SetVisible(FOwner->GetVisible());
}

TdxStatusBarContainerControl::TdxStatusBarContainerControl(TComponent* AOwner) : TcxControl(AOwner) {
  ControlStyle() << csAcceptsControls;
}

TdxStatusBarContainerControl::~TdxStatusBarContainerControl() {
  // The panel loses its style with its container.
  if (TdxStatusBarContainerPanelStyle* S = FPanelStyle) {
    FPanelStyle = nullptr;
    S->ContainerDestroyed();
    if (TdxStatusBarPanel* P = S->Owner()) P->SetPanelStyleClass(nullptr);
  }
}

void TdxStatusBarContainerControl::Paint() {
  TcxCanvas* C = GetCxCanvas();
  const TRect Client = GetClientRect();
  TdxCustomStatusBar* Bar = FPanelStyle ? FPanelStyle->StatusBar() : nullptr;
  if (!Bar || !Bar->Painter()) {
    C->FillRect(Client, clBtnFace);
    return;
  }
  // The bar's own background, lined up with the bar, then the panel's.
  TRect B = Bar->GetContentBounds();
  OffsetRect(&B, -GetLeft(), -GetTop());
  Bar->Painter()->DrawBorder(Bar, C, B);
  Bar->Painter()->DrawPanelBackground(Bar, FPanelStyle->Owner(), Client, C);
}

// -- published properties and input ----------------------------------------

void TdxStatusBarPanel::Published(TPublished<TdxStatusBarPanel>& P) {
  using T = TdxStatusBarPanel;
  P.Property("PanelStyleClassName", &T::GetPanelStyleClassName, &T::SetPanelStyleClassName);
  P.Property("PanelStyle", &T::PanelStyle, &T::SetPanelStyle);
  P.Property("Bevel", &T::GetBevel, &T::SetBevel).Default(dxpbLowered);
  P.Property("BiDiMode", &T::GetBiDiMode, &T::SetBiDiMode).Stored(&T::IsBiDiModeStored);
  P.Property("Fixed", &T::GetFixed, &T::SetFixed).Default(true);
  P.Property("MinWidth", &T::GetMinWidth, &T::SetMinWidth).Stored(&T::IsMinWidthStored);
  P.Property("ParentBiDiMode", &T::GetParentBiDiMode, &T::SetParentBiDiMode).Default(true);
  P.Property("Text", &T::GetText, &T::SetText);
  P.Property("Visible", &T::GetVisible, &T::SetVisible).Default(true);
  P.Property("Width", &T::GetWidth, &T::SetWidth).Stored(&T::IsWidthStored);
  P.Property("OnClick", &T::OnClick, &T::OnClick);
  P.Property("OnDblClick", &T::OnDblClick, &T::OnDblClick);
  P.Property("OnDrawPanel", &T::OnDrawPanel, &T::OnDrawPanel);
}

void TdxStatusBarStateIndicatorPanelStyle::Published(TPublished<TdxStatusBarStateIndicatorPanelStyle>& P) {
  using T = TdxStatusBarStateIndicatorPanelStyle;
  P.Property("Color", &T::GetColor, &T::SetColor).Stored(&T::ColorAssigned);
  P.Property("Indicators", &T::GetIndicators, &T::SetIndicators);
  P.Property("Spacing", &T::Spacing, &T::Spacing).Default(4);
}

void TdxStatusBarPanel::SetPanelStyle(TdxStatusBarPanelStyle* Value) {
  if (Value && FPanelStyle && Value != FPanelStyle.get()) FPanelStyle->Assign(Value);
}

void TdxCustomStatusBar::Published(TPublished<TdxCustomStatusBar>& P) {
  using T = TdxCustomStatusBar;
  P.Property("Images", &T::GetImages, &T::SetImages);
  P.Property("Panels", &T::Panels, &T::SetPanels);
  P.Property("PaintStyle", &T::GetPaintStyle, &T::SetPaintStyle).Default(stpsStandard);
  P.Property("SizeGrip", &T::GetSizeGrip, &T::SetSizeGrip).Default(true);
  P.Property("LookAndFeel", &T::GetLookAndFeel, &T::SetLookAndFeel);
  P.Property("OnHint", &T::OnHint, &T::OnHint);
  P.Property("BorderWidth", &T::GetStatusBorderWidth, &T::SetStatusBorderWidth).Default(0);
  P.Property("Color", &T::GetColor, &T::SetColor).Default(clBtnFace);
  P.Property("Font", &T::GetFont, &T::SetFont).Stored(&T::IsFontStored);
  P.Property("ParentFont", &T::GetParentFont, &T::SetParentFont).Default(false);
  P.Property("ShowHint", &T::GetShowHint, &T::SetShowHint);
  P.Property("ParentShowHint", &T::GetParentShowHint, &T::SetParentShowHint).Default(true);
  P.Property("Visible", &T::GetVisible, &T::SetVisible).Default(true);
  P.Property("Anchors", &T::GetAnchors, &T::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("BiDiMode", &T::GetBiDiMode, &T::SetBiDiMode).Stored(&T::IsBiDiModeStored);
  P.Property("ParentBiDiMode", &T::GetParentBiDiMode, &T::SetParentBiDiMode).Default(true);
  P.Property("Constraints", &T::GetConstraints, &T::SetConstraints);
  P.Property("Enabled", &T::GetEnabled, &T::SetEnabled).Default(true);
  P.Property("OnClick", &T::OnClick, &T::OnClick);
  P.Property("OnDblClick", &T::OnDblClick, &T::OnDblClick);
  P.Property("OnMouseDown", &T::OnMouseDown, &T::OnMouseDown);
  P.Property("OnMouseMove", &T::OnMouseMove, &T::OnMouseMove);
  P.Property("OnMouseUp", &T::OnMouseUp, &T::OnMouseUp);
}

void TdxCustomStatusBar::SetPanels(TdxStatusBarPanels* Value) {
  if (Value && Value != FPanels.get()) FPanels->Assign(Value);
}

int TdxCustomStatusBar::HitTestSizeGrip(TPoint P) const {
  if (Designing(this) || !IsSizeGripVisible() || !FPainter) return HTNOWHERE;
  const TRect B = GetContentBounds();
  const TSize S = FPainter->GetSizeGripSize();
  const TRect Grip{B.Right - S.cx - 2, B.Bottom - S.cy - 2, B.Right, B.Bottom};
  return Grip.Contains(P) ? HTBOTTOMRIGHT : HTNOWHERE;
}

void TdxCustomStatusBar::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_SYSCOLORCHANGE) ReloadOffice11Scheme();
  TcxControl::Dispatch(Message);
  switch (Message.Msg) {
    case CM_FONTCHANGED:
      // Panel styles that follow the bar's font take it again.
      if (FPanels)
        for (int i = 0; i < FPanels->Count(); ++i)
          if (TdxStatusBarPanelStyle* S = FPanels->Item(i)->PanelStyle()) S->ParentFontChanged();
      Changed();
      break;
    case CM_BIDIMODECHANGED:
      if (FPanels)
        for (int i = 0; i < FPanels->Count(); ++i) FPanels->Item(i)->ParentBiDiModeChanged();
      Changed();
      break;
    case CM_COLORCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_PARENTFONTCHANGED:
    case CM_SYSCOLORCHANGE:
    case CM_WININICHANGE:
      Changed();
      break;
    default: break;
  }
  if (Message.Msg == WM_NCHITTEST) {
    const TPoint Screen{short(Message.LParamLo()), short(Message.LParamHi())};
    if (HitTestSizeGrip(ScreenToClient(Screen)) == HTBOTTOMRIGHT) Message.Result = HTBOTTOMRIGHT;
  }
}

void TdxCustomStatusBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && Shift.Contains(ssDouble))
    if (TdxStatusBarPanel* P = GetPanelAt(X, Y))
      if (P->OnDblClick) P->OnDblClick(P);
}

void TdxCustomStatusBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft)
    if (TdxStatusBarPanel* P = GetPanelAt(X, Y))
      if (P->OnClick) P->OnClick(P);
}

// -- XP painter ---------------------------------------------------------------

namespace {

HTHEME StatusTheme() { return GetThemeHandle(totStatus); }
constexpr int SP_PANE = 1, SP_GRIPPER = 3;

}  // namespace

TRect TdxStatusBarXPPainter::GetBorderWidths(const TdxCustomStatusBar*) const {
  return {0, GetTopBorderHeight(), 0, 0};
}

TSize TdxStatusBarXPPainter::GetSizeGripSize() const {
  TSize S{0, 0};
  if (HTHEME T = StatusTheme())
    if (GetThemePartSize(T, nullptr, SP_GRIPPER, 0, nullptr, TS_TRUE, &S) == S_OK && S.cx > 0) return S;
  return TdxStatusBarPainter::GetSizeGripSize();
}

int TdxStatusBarXPPainter::GetSeparatorWidth() const {
  TSize S{0, 0};
  if (HTHEME T = StatusTheme())
    if (GetThemePartSize(T, nullptr, SP_PANE, 0, nullptr, TS_TRUE, &S) == S_OK && S.cx > 0) return S.cx;
  return TdxStatusBarPainter::GetSeparatorWidth();
}

void TdxStatusBarXPPainter::DrawBorder(const TdxCustomStatusBar*, TcxCanvas* ACanvas, TRect& R) const {
  if (HTHEME T = StatusTheme()) DrawThemeBackground(T, ACanvas->GetDC(), 0, 0, &R, nullptr);
  R.Top += GetTopBorderHeight();
}

void TdxStatusBarXPPainter::DrawPanelSeparator(const TdxCustomStatusBar*, TcxCanvas* ACanvas, const TRect& R) const {
  if (HTHEME T = StatusTheme()) DrawThemeBackground(T, ACanvas->GetDC(), SP_PANE, 0, &R, nullptr);
}

void TdxStatusBarXPPainter::DrawSizeGrip(const TdxCustomStatusBar*, TcxCanvas* ACanvas, bool AOverlapped,
                                         TRect R) const {
  R = Deflated(R, 1, 0);
  const TSize S = GetSizeGripSize();
  const TRect Cell{R.Right - S.cx, R.Bottom - S.cy, R.Right, R.Bottom};
  if (HTHEME T = StatusTheme()) DrawThemeBackground(T, ACanvas->GetDC(), SP_GRIPPER, 0, &Cell, nullptr);
  TRect Excluded = Cell;
  if (AOverlapped) Excluded.Left -= 1;
  ACanvas->ExcludeClipRect(Excluded);
}

void RegisterStatusBarClasses() {
  RegisterClasses({TdxStatusBar::StaticClass(), TdxStatusBarContainerControl::StaticClass()});
}
