#include "platform/gdi/DcObject.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <utility>

#include "platform/rtl/Exceptions.h"

namespace {
constexpr int Huge = 1 << 27;  // "whole device" for a recording DC

// Device coordinates are kept within 27 bits, as GDI's are; beyond that a
// shape is cut, and no conversion overflows.
constexpr double CoordLimit = double(1 << 27);
int RoundHalfUp(double V) {
  if (!(V > -CoordLimit)) return -(1 << 27);  // also catches NaN
  if (V > CoordLimit) return 1 << 27;
  return int(std::floor(V + 0.5));
}

// Logical units per inch of the fixed mapping modes.
int UnitsPerInch(int Mode) {
  switch (Mode) {
    case MM_LOMETRIC: return 254;
    case MM_HIMETRIC: return 2540;
    case MM_LOENGLISH: return 100;
    case MM_HIENGLISH: return 1000;
    case MM_TWIPS: return 1440;
  }
  return 0;
}

void Acquire(const TDcState& St) {
  for (HGDIOBJ H : {HGDIOBJ(St.Pen), HGDIOBJ(St.Brush), HGDIOBJ(St.Font), HGDIOBJ(St.Bitmap),
                    HGDIOBJ(St.Palette)})
    if (H) GdiAddSelection(H);
}
void Release(const TDcState& St) {
  for (HGDIOBJ H : {HGDIOBJ(St.Pen), HGDIOBJ(St.Brush), HGDIOBJ(St.Font), HGDIOBJ(St.Bitmap),
                    HGDIOBJ(St.Palette)})
    if (H) GdiReleaseSelection(H);
}
}  // namespace

int TDeviceCaps::HorzSizeMM() const { return RoundHalfUp(HorzRes * 25.4 / LogPixelsX); }
int TDeviceCaps::VertSizeMM() const { return RoundHalfUp(VertRes * 25.4 / LogPixelsY); }

namespace {
std::mutex& ScreenLock() {
  static std::mutex M;
  return M;
}
TDeviceCaps& ScreenCaps() {
  static TDeviceCaps C;
  return C;
}
}  // namespace

TDeviceCaps ScreenDeviceCaps() {
  std::lock_guard<std::mutex> G(ScreenLock());
  return ScreenCaps();
}

void SetScreenDeviceCaps(const TDeviceCaps& Caps) {
  std::lock_guard<std::mutex> G(ScreenLock());
  ScreenCaps() = Caps;
}

TDC::TDC(DWORD AKind, const TDeviceCaps& ACaps) : TGdiObject(AKind), FCaps(ACaps) {
  S.Pen = HPEN(GdiStockObject(BLACK_PEN));
  S.Brush = HBRUSH(GdiStockObject(WHITE_BRUSH));
  S.Palette = HPALETTE(GdiStockObject(DEFAULT_PALETTE));
  if (AKind == OBJ_MEMDC) S.Bitmap = GdiStockBitmap();
  Acquire(S);
  if (auto* B = Surface()) B->SelectedInto = this;
}

TDC::~TDC() {
  if (auto* B = Surface(); B && B->SelectedInto == this) B->SelectedInto = nullptr;
  for (auto& St : FSaved) Release(St);
  Release(S);
}

int TDC::GetDeviceCaps(int Index) const {
  switch (Index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return Kind == OBJ_ENHMETADC ? DT_METAFILE : FCaps.Technology;
    case HORZSIZE: return FCaps.HorzSizeMM();
    case VERTSIZE: return FCaps.VertSizeMM();
    case HORZRES: return FCaps.HorzRes;
    case VERTRES: return FCaps.VertRes;
    case BITSPIXEL: {
      if (Kind == OBJ_MEMDC)
        if (auto* B = Surface()) return B->BitsPerPixel;
      return FCaps.BitsPixel;
    }
    case PLANES: return FCaps.Planes;
    case NUMBRUSHES: case NUMPENS: case NUMCOLORS: return -1;
    case NUMMARKERS: return 0;
    case NUMFONTS: return 0;
    case PDEVICESIZE: return 0;
    case CURVECAPS: return 0xFF;    // circles, pies, chords, ellipses, wide/styled, interiors
    case LINECAPS: return 0xFE;
    case POLYGONALCAPS: return 0xFF;
    case TEXTCAPS: return 0x7807;
    case CLIPCAPS: return CP_RECTANGLE;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV |
             RC_STRETCHBLT | RC_FLOODFILL | RC_STRETCHDIB;
    case ASPECTX: case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX: return FCaps.LogPixelsX;
    case LOGPIXELSY: return FCaps.LogPixelsY;
    case SIZEPALETTE: case NUMRESERVED: return 0;
    case COLORRES: return 24;
    case PHYSICALWIDTH: return FCaps.Technology == DT_RASPRINTER ? FCaps.PhysicalWidth : 0;
    case PHYSICALHEIGHT: return FCaps.Technology == DT_RASPRINTER ? FCaps.PhysicalHeight : 0;
    case PHYSICALOFFSETX: return FCaps.Technology == DT_RASPRINTER ? FCaps.PhysicalOffsetX : 0;
    case PHYSICALOFFSETY: return FCaps.Technology == DT_RASPRINTER ? FCaps.PhysicalOffsetY : 0;
    case SCALINGFACTORX: case SCALINGFACTORY: return 0;
    case VREFRESH: return FCaps.Technology == DT_RASDISPLAY ? 60 : 0;
    case DESKTOPHORZRES: return FCaps.HorzRes;
    case DESKTOPVERTRES: return FCaps.VertRes;
    case BLTALIGNMENT: return 0;
    case SHADEBLENDCAPS: return 0x13;  // const alpha, per-pixel alpha, gradient rect/tri
    case COLORMGMTCAPS: return 0;
  }
  return 0;
}

// --- objects -----------------------------------------------------------------

void TDC::ReplaceSelection(HGDIOBJ& Slot, HGDIOBJ New) {
  HGDIOBJ Old = Slot;
  GdiAddSelection(New);
  Slot = New;
  if (Old) GdiReleaseSelection(Old);
}

HGDIOBJ TDC::SelectObject(HGDIOBJ H) {
  TGdiObject* O = GdiLookup(H);
  if (!O) return nullptr;
  switch (O->Kind) {
    case OBJ_PEN:
    case OBJ_EXTPEN: {
      HGDIOBJ Old = S.Pen;
      HGDIOBJ Slot = S.Pen;
      ReplaceSelection(Slot, H);
      S.Pen = HPEN(Slot);
      return Old;
    }
    case OBJ_BRUSH: {
      HGDIOBJ Old = S.Brush, Slot = S.Brush;
      ReplaceSelection(Slot, H);
      S.Brush = HBRUSH(Slot);
      return Old;
    }
    case OBJ_FONT: {
      HGDIOBJ Old = S.Font ? HGDIOBJ(S.Font) : GdiStockObject(SYSTEM_FONT);
      HGDIOBJ Slot = S.Font;
      ReplaceSelection(Slot, H);
      S.Font = HFONT(Slot);
      return Old;
    }
    case OBJ_BITMAP: {
      if (Kind != OBJ_MEMDC) return nullptr;
      auto* B = static_cast<TBitmapObject*>(O);
      if (B->SelectedInto && B->SelectedInto != this && !B->Stock) return nullptr;
      HGDIOBJ Old = S.Bitmap;
      if (auto* OldB = Surface(); OldB && OldB->SelectedInto == this) OldB->SelectedInto = nullptr;
      HGDIOBJ Slot = S.Bitmap;
      ReplaceSelection(Slot, H);
      S.Bitmap = HBITMAP(Slot);
      if (!B->Stock) B->SelectedInto = this;
      InvalidateClip();
      return Old;
    }
    case OBJ_REGION: {
      int R = ExtSelectClipRgn(&static_cast<TRegionObject*>(O)->Data, RGN_COPY);
      return reinterpret_cast<HGDIOBJ>(std::intptr_t(R == ERROR ? GDI_ERROR : R));
    }
  }
  return nullptr;
}

HGDIOBJ TDC::CurrentObject(DWORD AKind) const {
  switch (AKind) {
    case OBJ_PEN: case OBJ_EXTPEN: return S.Pen;
    case OBJ_BRUSH: return S.Brush;
    case OBJ_FONT: return S.Font ? HGDIOBJ(S.Font) : GdiStockObject(SYSTEM_FONT);
    case OBJ_BITMAP: return S.Bitmap;
    case OBJ_PAL: return S.Palette;
  }
  return nullptr;
}

HPALETTE TDC::SelectPalette(HPALETTE Pal, BOOL) {
  if (!GdiLookup(Pal, OBJ_PAL)) return nullptr;
  HPALETTE Old = S.Palette;
  HGDIOBJ Slot = S.Palette;
  ReplaceSelection(Slot, Pal);
  S.Palette = HPALETTE(Slot);
  return Old;
}

// Our surfaces are true colour: nothing to map into a system palette.
UINT TDC::RealizePalette() { return 0; }

TPenObject* TDC::CurrentPen() const { return GdiLookupAs<TPenObject>(S.Pen); }
TBrushObject* TDC::CurrentBrush() const { return GdiLookupAs<TBrushObject>(S.Brush); }

TBitmapObject* TDC::Surface() const {
  return S.Bitmap ? static_cast<TBitmapObject*>(GdiLookup(S.Bitmap, OBJ_BITMAP)) : nullptr;
}

void TDC::AttachSurface(HBITMAP Bmp) {
  HGDIOBJ Slot = S.Bitmap;
  ReplaceSelection(Slot, Bmp);
  S.Bitmap = HBITMAP(Slot);
  InvalidateClip();
}

void TDC::SetDeviceOrigin(TPoint P) {
  FDeviceOrigin = P;
  InvalidateClip();
}

void TDC::SetVisibleRegion(std::optional<TRegionData> Vis) {
  FVisible = std::move(Vis);
  InvalidateClip();
}

// --- save / restore -----------------------------------------------------------

int TDC::SaveDC() {
  FSaved.push_back(S);
  Acquire(S);
  return int(FSaved.size());
}

BOOL TDC::RestoreDC(int Level) {
  int N = int(FSaved.size());
  int Target = Level < 0 ? N + 1 + Level : Level;  // -1: the latest save
  if (Target < 1 || Target > N) return FALSE;
  if (auto* B = Surface(); B && B->SelectedInto == this) B->SelectedInto = nullptr;
  Release(S);
  S = std::move(FSaved[std::size_t(Target - 1)]);
  for (int I = N - 1; I >= Target; --I) Release(FSaved[std::size_t(I)]);
  FSaved.resize(std::size_t(Target - 1));
  if (auto* B = Surface(); B && !B->Stock) B->SelectedInto = this;
  UpdateTransform();
  InvalidateClip();
  return TRUE;
}

// --- simple state ----------------------------------------------------------------

COLORREF TDC::SetTextColor(COLORREF C) { return std::exchange(S.TextColor, C); }
COLORREF TDC::SetBkColor(COLORREF C) { return std::exchange(S.BkColor, C); }
int TDC::SetBkMode(int Mode) {
  if (Mode != TRANSPARENT && Mode != OPAQUE) return 0;
  return std::exchange(S.BkMode, Mode);
}
int TDC::SetROP2(int Mode) {
  if (Mode < R2_BLACK || Mode > R2_WHITE) return 0;
  return std::exchange(S.Rop2, Mode);
}
int TDC::SetPolyFillMode(int Mode) {
  if (Mode != ALTERNATE && Mode != WINDING) return 0;
  return std::exchange(S.PolyFillMode, Mode);
}
int TDC::SetStretchBltMode(int Mode) {
  if (Mode < BLACKONWHITE || Mode > HALFTONE) return 0;
  return std::exchange(S.StretchMode, Mode);
}
UINT TDC::SetTextAlign(UINT Align) { return std::exchange(S.TextAlign, Align); }
int TDC::SetTextCharacterExtra(int Extra) { return std::exchange(S.TextCharExtra, Extra); }
BOOL TDC::SetTextJustification(int BreakExtra, int BreakCount) {
  S.BreakExtra = BreakCount > 0 ? BreakExtra : 0;
  S.BreakCount = BreakCount > 0 ? BreakCount : 0;
  return TRUE;
}
int TDC::SetArcDirection(int Dir) {
  if (Dir != AD_CLOCKWISE && Dir != AD_COUNTERCLOCKWISE) return 0;
  return std::exchange(S.ArcDirection, Dir);
}
int TDC::SetGraphicsMode(int Mode) {
  if (Mode != GM_COMPATIBLE && Mode != GM_ADVANCED) return 0;
  if (Mode == GM_COMPATIBLE && S.GraphicsMode == GM_ADVANCED) {
    // Leaving advanced mode needs an identity world transform.
    const XFORM& W = S.World;
    if (W.eM11 != 1 || W.eM12 != 0 || W.eM21 != 0 || W.eM22 != 1 || W.eDx != 0 || W.eDy != 0)
      return 0;
  }
  int Old = std::exchange(S.GraphicsMode, Mode);
  UpdateTransform();
  return Old;
}
COLORREF TDC::SetDCBrushColor(COLORREF C) { return std::exchange(S.DCBrushColor, C); }
COLORREF TDC::SetDCPenColor(COLORREF C) { return std::exchange(S.DCPenColor, C); }
BOOL TDC::SetMiterLimit(float Limit, float* Old) {
  if (Limit < 1.0f) return FALSE;
  if (Old) *Old = S.MiterLimit;
  S.MiterLimit = Limit;
  return TRUE;
}
DWORD TDC::SetMapperFlags(DWORD Flags) { return std::exchange(S.MapperFlags, Flags); }
BOOL TDC::SetBrushOrgEx(int X, int Y, TPoint* Old) {
  if (Old) *Old = S.BrushOrg;
  S.BrushOrg = {X, Y};
  return TRUE;
}

// --- coordinate spaces ----------------------------------------------------------

int TDC::SetMapMode(int Mode) {
  if (Mode < MM_TEXT || Mode > MM_ANISOTROPIC) return 0;
  int Old = S.MapMode;
  S.MapMode = Mode;
  if (Mode == MM_TEXT) {
    S.WindowExt = {1, 1};
    S.ViewportExt = {1, 1};
  } else if (int U = UnitsPerInch(Mode)) {
    // Exact at the device's resolution; y grows upwards.
    S.WindowExt = {U, U};
    S.ViewportExt = {FCaps.LogPixelsX, -FCaps.LogPixelsY};
  } else if (Mode == MM_ISOTROPIC) {
    FixIsotropic();
  }
  UpdateTransform();
  return Old;
}

BOOL TDC::SetWindowOrgEx(int X, int Y, TPoint* Old) {
  if (Old) *Old = S.WindowOrg;
  S.WindowOrg = {X, Y};
  UpdateTransform();
  return TRUE;
}
BOOL TDC::SetViewportOrgEx(int X, int Y, TPoint* Old) {
  if (Old) *Old = S.ViewportOrg;
  S.ViewportOrg = {X, Y};
  UpdateTransform();
  return TRUE;
}
BOOL TDC::OffsetWindowOrgEx(int DX, int DY, TPoint* Old) {
  return SetWindowOrgEx(S.WindowOrg.X + DX, S.WindowOrg.Y + DY, Old);
}
BOOL TDC::OffsetViewportOrgEx(int DX, int DY, TPoint* Old) {
  return SetViewportOrgEx(S.ViewportOrg.X + DX, S.ViewportOrg.Y + DY, Old);
}

bool TDC::SetExtents(int Which, int X, int Y) {
  if (S.MapMode != MM_ISOTROPIC && S.MapMode != MM_ANISOTROPIC) return true;  // ignored
  if (X == 0 || Y == 0) return false;
  if (Which == 0) S.WindowExt = {X, Y};
  else S.ViewportExt = {X, Y};
  if (S.MapMode == MM_ISOTROPIC) FixIsotropic();
  UpdateTransform();
  return true;
}

BOOL TDC::SetWindowExtEx(int X, int Y, TSize* Old) {
  if (Old) *Old = S.WindowExt;
  return SetExtents(0, X, Y) ? TRUE : FALSE;
}
BOOL TDC::SetViewportExtEx(int X, int Y, TSize* Old) {
  if (Old) *Old = S.ViewportExt;
  return SetExtents(1, X, Y) ? TRUE : FALSE;
}
BOOL TDC::ScaleWindowExtEx(int XNum, int XDenom, int YNum, int YDenom, TSize* Old) {
  if (Old) *Old = S.WindowExt;
  if (XDenom == 0 || YDenom == 0) return FALSE;
  return SetExtents(0, int(std::int64_t(S.WindowExt.cx) * XNum / XDenom),
                    int(std::int64_t(S.WindowExt.cy) * YNum / YDenom)) ? TRUE : FALSE;
}
BOOL TDC::ScaleViewportExtEx(int XNum, int XDenom, int YNum, int YDenom, TSize* Old) {
  if (Old) *Old = S.ViewportExt;
  if (XDenom == 0 || YDenom == 0) return FALSE;
  return SetExtents(1, int(std::int64_t(S.ViewportExt.cx) * XNum / XDenom),
                    int(std::int64_t(S.ViewportExt.cy) * YNum / YDenom)) ? TRUE : FALSE;
}

// Isotropic: one logical unit is as long on both axes. The axis whose scale is
// larger gets its viewport extent shrunk; signs are kept.
void TDC::FixIsotropic() {
  double SX = double(S.ViewportExt.cx) / S.WindowExt.cx * FCaps.LogPixelsY;
  double SY = double(S.ViewportExt.cy) / S.WindowExt.cy * FCaps.LogPixelsX;
  double AX = std::fabs(SX), AY = std::fabs(SY);
  if (AX == AY || AX == 0 || AY == 0) return;
  if (AX > AY) {
    int V = RoundHalfUp(std::fabs(double(S.ViewportExt.cx)) * AY / AX);
    S.ViewportExt.cx = (S.ViewportExt.cx < 0 ? -1 : 1) * std::max(V, 1);
  } else {
    int V = RoundHalfUp(std::fabs(double(S.ViewportExt.cy)) * AX / AY);
    S.ViewportExt.cy = (S.ViewportExt.cy < 0 ? -1 : 1) * std::max(V, 1);
  }
}

BOOL TDC::SetWorldTransform(const XFORM& X) {
  if (S.GraphicsMode != GM_ADVANCED) return FALSE;
  if (double(X.eM11) * X.eM22 - double(X.eM12) * X.eM21 == 0) return FALSE;
  S.World = X;
  UpdateTransform();
  return TRUE;
}

BOOL TDC::ModifyWorldTransform(const XFORM* X, DWORD Mode) {
  if (S.GraphicsMode != GM_ADVANCED) return FALSE;
  if (Mode == MWT_IDENTITY) {
    S.World = XFORM();
    UpdateTransform();
    return TRUE;
  }
  if (!X) return FALSE;
  auto Mul = [](const XFORM& A, const XFORM& B) {  // A then B
    XFORM R;
    R.eM11 = A.eM11 * B.eM11 + A.eM12 * B.eM21;
    R.eM12 = A.eM11 * B.eM12 + A.eM12 * B.eM22;
    R.eM21 = A.eM21 * B.eM11 + A.eM22 * B.eM21;
    R.eM22 = A.eM21 * B.eM12 + A.eM22 * B.eM22;
    R.eDx = A.eDx * B.eM11 + A.eDy * B.eM21 + B.eDx;
    R.eDy = A.eDx * B.eM12 + A.eDy * B.eM22 + B.eDy;
    return R;
  };
  if (Mode == MWT_LEFTMULTIPLY) return SetWorldTransform(Mul(*X, S.World));
  if (Mode == MWT_RIGHTMULTIPLY) return SetWorldTransform(Mul(S.World, *X));
  return FALSE;
}

void TDC::UpdateTransform() {
  const XFORM W = S.GraphicsMode == GM_ADVANCED ? S.World : XFORM();
  double SX = double(S.ViewportExt.cx) / S.WindowExt.cx;
  double SY = double(S.ViewportExt.cy) / S.WindowExt.cy;
  FM11 = W.eM11 * SX;
  FM21 = W.eM21 * SX;
  FDx = (W.eDx - S.WindowOrg.X) * SX + S.ViewportOrg.X;
  FM12 = W.eM12 * SY;
  FM22 = W.eM22 * SY;
  FDy = (W.eDy - S.WindowOrg.Y) * SY + S.ViewportOrg.Y;
}

void TDC::ToDevice(double LX, double LY, double& DX, double& DY) const {
  DX = FM11 * LX + FM21 * LY + FDx;
  DY = FM12 * LX + FM22 * LY + FDy;
}

TPoint TDC::ToDevice(TPoint P) const {
  double X, Y;
  ToDevice(P.X, P.Y, X, Y);
  return {RoundHalfUp(X), RoundHalfUp(Y)};
}

TPoint TDC::ToLogical(TPoint P) const {
  double Det = FM11 * FM22 - FM12 * FM21;
  if (Det == 0) return P;
  double X = P.X - FDx, Y = P.Y - FDy;
  double LX = (FM22 * X - FM21 * Y) / Det;
  double LY = (-FM12 * X + FM11 * Y) / Det;
  return {RoundHalfUp(LX), RoundHalfUp(LY)};
}

double TDC::DeviceScaleX() const { return std::hypot(FM11, FM12); }
double TDC::DeviceScaleY() const { return std::hypot(FM21, FM22); }
bool TDC::AxisAligned() const { return FM12 == 0 && FM21 == 0; }

// --- clipping ---------------------------------------------------------------------

// What the DC can reach, in surface pixels: its bitmap, the display's or the
// page's printable area for a DC without pixels, or everything for a
// recording DC.
TRect TDC::WholeSurface() const {
  if (TBitmapObject* B = Surface()) return B->BoundsRect();
  if (Kind == OBJ_ENHMETADC || Kind == OBJ_METADC) return {-Huge, -Huge, Huge, Huge};
  return {0, 0, FCaps.HorzRes, FCaps.VertRes};
}

const TRegionData& TDC::DeviceClip() const {
  if (FClipValid) return FClip;
  TRect Whole = WholeSurface();
  TRegionData R = FVisible ? FVisible->Intersect(Whole) : TRegionData(Whole);
  for (const auto* Extra : {&S.ClipRgn, &S.MetaRgn}) {
    if (!*Extra) continue;
    TRegionData C = **Extra;
    C.Offset(FDeviceOrigin.X, FDeviceOrigin.Y);
    R = TRegionData::Combine(R, C, RGN_AND);
  }
  FClip = std::move(R);
  FClipValid = true;
  return FClip;
}

int TDC::ExtSelectClipRgn(const TRegionData* Rgn, int Mode) {
  if (!Rgn) {
    if (Mode != RGN_COPY) return ERROR;
    S.ClipRgn.reset();
  } else if (Mode == RGN_COPY) {
    S.ClipRgn = *Rgn;
  } else if (Mode >= RGN_AND && Mode <= RGN_DIFF) {
    TRegionData Cur;
    if (S.ClipRgn) {
      Cur = *S.ClipRgn;
    } else {
      TRect Whole = WholeSurface();
      Whole.Left -= FDeviceOrigin.X; Whole.Right -= FDeviceOrigin.X;
      Whole.Top -= FDeviceOrigin.Y; Whole.Bottom -= FDeviceOrigin.Y;
      Cur = TRegionData(Whole);
    }
    S.ClipRgn = TRegionData::Combine(Cur, *Rgn, Mode);
  } else {
    return ERROR;
  }
  InvalidateClip();
  return DeviceClip().Kind();
}

namespace {
// A logical rectangle in device coordinates (its transformed bounding box).
TRect DeviceRect(const TDC& DC, int L, int T, int R, int B) {
  TPoint A = DC.ToDevice(TPoint(L, T)), C = DC.ToDevice(TPoint(R, B));
  if (!DC.AxisAligned()) {
    TPoint P2 = DC.ToDevice(TPoint(R, T)), P3 = DC.ToDevice(TPoint(L, B));
    return {std::min({A.X, C.X, P2.X, P3.X}), std::min({A.Y, C.Y, P2.Y, P3.Y}),
            std::max({A.X, C.X, P2.X, P3.X}), std::max({A.Y, C.Y, P2.Y, P3.Y})};
  }
  return {std::min(A.X, C.X), std::min(A.Y, C.Y), std::max(A.X, C.X), std::max(A.Y, C.Y)};
}
}  // namespace

int TDC::IntersectClipRect(int L, int T, int R, int B) {
  TRegionData Rect(DeviceRect(*this, L, T, R, B));
  S.ClipRgn = S.ClipRgn ? TRegionData::Combine(*S.ClipRgn, Rect, RGN_AND) : Rect;
  InvalidateClip();
  return DeviceClip().Kind();
}

int TDC::ExcludeClipRect(int L, int T, int R, int B) {
  TRegionData Rect(DeviceRect(*this, L, T, R, B));
  return ExtSelectClipRgn(&Rect, RGN_DIFF);
}

int TDC::OffsetClipRgn(int DX, int DY) {
  if (S.ClipRgn) {
    // Logical offsets scale with the mapping mode.
    int DDX = RoundHalfUp(DX * (FM11)), DDY = RoundHalfUp(DY * (FM22));
    S.ClipRgn->Offset(DDX, DDY);
    InvalidateClip();
  }
  return DeviceClip().Kind();
}

int TDC::SetMetaRgn() {
  if (S.ClipRgn) {
    S.MetaRgn = S.MetaRgn ? TRegionData::Combine(*S.MetaRgn, *S.ClipRgn, RGN_AND) : *S.ClipRgn;
    S.ClipRgn.reset();
    InvalidateClip();
  }
  return DeviceClip().Kind();
}

int TDC::GetClipBox(TRect& R) const {
  const TRegionData& C = DeviceClip();
  if (C.IsEmpty()) {
    R = TRect();
    return NULLREGION;
  }
  TRect B = C.Bounds();
  B.Left -= FDeviceOrigin.X; B.Right -= FDeviceOrigin.X;
  B.Top -= FDeviceOrigin.Y; B.Bottom -= FDeviceOrigin.Y;
  TPoint A = ToLogical(B.TopLeft()), Z = ToLogical(B.BottomRight());
  R = {std::min(A.X, Z.X), std::min(A.Y, Z.Y), std::max(A.X, Z.X), std::max(A.Y, Z.Y)};
  return C.Kind();
}

// --- handle table glue ------------------------------------------------------------

TDC* GdiLookupDC(HDC H) {
  TGdiObject* O = GdiLookup(H);
  if (!O || (O->Kind != OBJ_DC && O->Kind != OBJ_MEMDC && O->Kind != OBJ_ENHMETADC &&
             O->Kind != OBJ_METADC))
    return nullptr;
  return static_cast<TDC*>(O);
}

HDC GdiAddDC(std::unique_ptr<TDC> DC) { return HDC(GdiAddObject(std::move(DC))); }
