// dxBarPaintWindow.cpp — a bar window as its manager's painter sees it.
#include <cstdint>
#include <cstdlib>
#include "bars/model/dxBar.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarWindows.h"
#include "bars/windows/dxBarWindowsInternal.h"
#include "platform/gdi/DrawingTools.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Window.h"

TdxBarItemControlPainterClass dxBarPainterOf(TdxBarManager* AManager) {
  // No visual styles here: the XP style falls back to Enhanced.
  return dxBarPainterOfStyle(AManager ? AManager->GetEffectiveStyle() : bmsEnhanced, false);
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

HFONT TdxBarWindowPaint::Font() const {
  TFont* F = dxBarMenuFont(FWindow->BarManager());
  return F ? F->GetHandle() : nullptr;
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
