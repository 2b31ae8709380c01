// dxBarPaintWindow.cpp — a bar window as its manager's painter sees it.
#include <cstdint>
#include <cstdlib>
#include "bars/model/dxBar.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarWindows.h"
#include "bars/windows/dxBarWindowsInternal.h"
#include "bars/drawing/dxBarDrawing.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DrawingTools.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Window.h"

TdxBarItemControlPainterClass dxBarPainterOf(TdxBarManager* AManager) {
  // Without visual styles the XP style falls back to Enhanced.
  if (!AManager) return dxBarPainterOfStyle(bmsEnhanced, false);
  return dxBarPainterOfStyle(AManager->GetEffectiveStyle(), AManager->ThemesAvailable());
}

TdxBarItemControlPainterClass TdxBarWindowPaint::Painter() const { return dxBarPainterOf(FWindow->BarManager()); }

TdxBarPaintType TdxBarWindowPaint::PaintType() const {
  switch (FWindow->PaintType()) {
    case 1: return ptMenu;
    case 2: return ptVert;
    default: return ptHorz;
  }
}

bool TdxBarWindowPaint::IsMainMenu() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  return T && T->Bar()->GetIsMainMenu();
}

TdxBarDockingStyle TdxBarWindowPaint::DockingStyle() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  return T ? T->DockingStyle() : dsTop;
}

TRect TdxBarWindowPaint::ClientRect() const { return FWindow->GetClientRect(); }
int TdxBarWindowPaint::ItemHeight() const { return FWindow->TextSize(); }

HBRUSH TdxBarWindowPaint::CurrentBrush() const {
  TdxBarItemControlPainterClass P = Painter();
  if (PaintType() != ptMenu) return P->GetToolbarBrushOf(*this);
  // A style may name its menu colour by a system colour index plus one.
  const HBRUSH B = P->GetSubMenuBrush();
  const auto Index = reinterpret_cast<std::intptr_t>(B);
  return Index > 0 && Index <= 31 ? GetSysColorBrush(int(Index - 1)) : B;
}

HBRUSH TdxBarWindowPaint::HotBrush() const { return Painter()->GetHotBrush(); }
HBRUSH TdxBarWindowPaint::PressedBrush() const { return Painter()->GetPressedBrush(); }

TdxBarWindowPaint::~TdxBarWindowPaint() {
  if (FRotatedFont) DeleteObject(FRotatedFont);
}

bool TdxBarWindowPaint::Rotated() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  return T && T->IsRotated();
}

HFONT TdxBarWindowPaint::Font() const {
  TFont* F = dxBarMenuFont(FWindow->BarManager());
  HFONT H = F ? F->GetHandle() : nullptr;
  if (!H || !Rotated()) return H;
  if (FRotatedFont && FRotatedFrom == H) return FRotatedFont;
  LOGFONTA Lf{};
  if (!GetObjectA(H, sizeof Lf, &Lf)) return H;
  Lf.lfEscapement = -900;
  Lf.lfOrientation = -900;
  Lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  if (FRotatedFont) DeleteObject(FRotatedFont);
  FRotatedFont = CreateFontIndirectA(&Lf);
  FRotatedFrom = H;
  return FRotatedFont ? FRotatedFont : H;
}

int TdxBarWindowPaint::FontHeight() const {
  TFont* F = dxBarMenuFont(FWindow->BarManager());
  return F ? int(F->GetHeight()) : TdxBarPaintWindow::FontHeight();
}

int TdxBarWindowPaint::FontSize() const {
  TFont* F = dxBarMenuFont(FWindow->BarManager());
  return F ? int(F->GetSize()) : TdxBarPaintWindow::FontSize();
}

const TdxBarPaintSettings& TdxBarWindowPaint::Settings() const {
  FSettings = {};
  if (TdxBarManager* M = FWindow->BarManager()) {
    FSettings.ButtonArrowWidth = int(M->GetButtonArrowWidth());
    FSettings.LargeIcons = M->GetLargeIcons();
  }
  FSettings.ButtonWidth = int(FWindow->ButtonSize());
  FSettings.ButtonHeight = int(FWindow->ButtonSize()) - 1;
  return FSettings;
}

TdxBarManager* TdxBarWindowPaint::Manager() const { return FWindow->BarManager(); }

bool TdxBarWindowPaint::ShowGrip() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  return T && T->DockingStyle() != dsNone && T->Bar()->IsMovable();
}

bool TdxBarWindowPaint::CanClose() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  return T && T->Bar()->CanClose();
}

int TdxBarWindowPaint::CloseButtonState() const { return dxBarCaptionButtonFlag() ? 2 : 0; }

AnsiString TdxBarWindowPaint::Caption() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  return T ? T->Bar()->GetCaption() : AnsiString();
}

void TdxBarWindowPaint::PaintDockBackground(HDC DC, const TRect& R, HBRUSH Fallback) const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  TdxDockControl* Dock = T ? T->DockControl() : nullptr;
  if (!Dock || !Dock->HandleAllocated() || !T->HandleAllocated()) {
    TdxBarPaintWindow::PaintDockBackground(DC, R, Fallback);
    return;
  }
  // The bar's position on the site, so that a gradient runs on unbroken.
  TPoint Origin{0, 0};
  MapWindowPoints(T->Handle(), Dock->Handle(), &Origin, 1);
  if (TBitmap* B = BackgroundBitmap()) {
    // The site's tiles continue under the bar.
    TRect Phase = R;
    OffsetRect(&Phase, Origin.X, Origin.Y);
    TileBitmap(DC, R, Phase, B);
    return;
  }
  const TdxDockPaintWindow Site(Dock, Origin);
  Painter()->DrawDockControlBackground(Site, DC, Dock->GetColor(), Fallback, R, Origin);
}

TdxBarDockingStyle TdxDockPaintWindow::DockingStyle() const { return FDock->DockingStyle(); }

TRect TdxDockPaintWindow::ClientRect() const {
  TRect R = FDock->GetClientRect();
  OffsetRect(&R, -FOrigin.X, -FOrigin.Y);
  return R;
}

TdxBarManager* TdxDockPaintWindow::Manager() const { return FDock->BarManager(); }

TdxBar* TdxBarWindowPaint::Bar() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  return T ? T->Bar() : nullptr;
}

bool TdxBarWindowPaint::BorderNone() const {
  TdxBar* B = Bar();
  return B && B->GetBorderStyle() == bbsNone;
}

bool TdxBarWindowPaint::CanHaveSizeGrip() const {
  TdxBar* B = Bar();
  return B && B->GetBorderStyle() == bbsNone && B->GetDockingStyle() == dsBottom && B->GetWholeRow();
}

bool TdxBarWindowPaint::ThemesAvailable() const {
  TdxBarManager* M = FWindow->BarManager();
  return M && M->ThemesAvailable();
}

bool TdxBarWindowPaint::FormActive() const {
  TdxBarManager* M = FWindow->BarManager();
  return !M || M->GetFormActive();
}

bool TdxBarWindowPaint::HasHiddenItems() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  return T && T->Truncated();
}

// The frame is drawn inside the window's client area: the window and its
// client rectangle coincide.
TRect TdxBarWindowPaint::WindowRect() const { return {0, 0, FWindow->GetWidth(), FWindow->GetHeight()}; }

TRect TdxBarWindowPaint::DockSiteRect() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  TdxDockControl* Dock = T ? T->DockControl() : nullptr;
  return Dock ? Dock->GetClientRect() : TRect{};
}

TRect TdxBarWindowPaint::DockedRect() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  TdxDockControl* Dock = T ? T->DockControl() : nullptr;
  if (!Dock) return {};
  TPoint Origin{T->GetLeft(), T->GetTop()};
  if (Dock->HandleAllocated() && T->HandleAllocated()) {
    Origin = {0, 0};
    MapWindowPoints(T->Handle(), Dock->Handle(), &Origin, 1);
  }
  return {Origin.X, Origin.Y, Origin.X + T->GetWidth(), Origin.Y + T->GetHeight()};
}

int TdxBarWindowPaint::ComboButtonWidth() const { return int(FWindow->ComboButtonWidth()); }

bool TdxDockPaintWindow::ThemesAvailable() const {
  TdxBarManager* M = FDock->BarManager();
  return M && M->ThemesAvailable();
}

std::vector<TdxBarPaintWindow::TDockRow> TdxDockPaintWindow::DockRows() const {
  std::vector<TDockRow> Rows;
  const TRect C = FDock->GetClientRect();
  for (Integer I = 0; I < FDock->RowCount(); ++I) {
    TdxDockRow* Row = FDock->Row(I);
    TDockRow D;
    const Integer A = Row->Offset;
    D.R = FDock->IsVertical() ? TRect{A, C.Top, A + Row->Thickness, C.Bottom}
                              : TRect{C.Left, A, C.Right, A + Row->Thickness};
    D.BorderNone = Row->ColCount() > 0;
    for (Integer J = 0; J < Row->ColCount(); ++J) {
      TdxBarControl* W = Row->Col(J)->BarControl();
      if (!W || !W->Bar() || W->Bar()->GetBorderStyle() != bbsNone) D.BorderNone = false;
    }
    Rows.push_back(D);
  }
  return Rows;
}

// A menu's background is the painter's (a style may give it a glyph column
// down its left side), so that every row, glyph square and gap that shows
// the background continues it.
void TdxBarWindowPaint::PaintBackground(HDC DC, const TRect& R, HBRUSH Fallback) const {
  // The manager's picture: a docked bar continues its site's tiles, other
  // windows tile it from their corner.
  if (TBitmap* B = BackgroundBitmap()) {
    auto* T = dynamic_cast<TdxBarControl*>(FWindow);
    if (T && T->DockControl() && PaintType() != ptMenu) PaintDockBackground(DC, R, Fallback);
    else TileBitmap(DC, R, R, B);
    return;
  }
  if (FInMenuBackground) {
    TdxBarPaintWindow::PaintBackground(DC, R, FMenuFallback);
    return;
  }
  if (PaintType() != ptMenu) {
    TdxBarPaintWindow::PaintBackground(DC, R, Fallback);
    return;
  }
  FInMenuBackground = true;
  FMenuFallback = Fallback;
  try {
    Painter()->DrawSubMenuBitmapBackground(*this, DC, R);
  } catch (...) {
    FInMenuBackground = false;
    throw;
  }
  FInMenuBackground = false;
}

TBitmap* TdxBarWindowPaint::BackgroundBitmap() const {
  TdxBarManager* M = FWindow->BarManager();
  if (!M || !M->GetBackgrounds()) return nullptr;
  TBitmap* B = PaintType() == ptMenu ? M->GetBackgrounds()->GetSubMenu() : M->GetBackgrounds()->GetBar();
  return B && !B->Empty() ? B : nullptr;
}

bool TdxBarWindowPaint::HasBackgroundBitmap() const { return BackgroundBitmap() != nullptr; }

bool TdxBarWindowPaint::ShowMark() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  return T && T->IsMarkVisible();
}

int TdxBarWindowPaint::MarkState() const {
  auto* T = dynamic_cast<TdxBarControl*>(FWindow);
  return T ? int(T->MarkState()) : 0;
}
