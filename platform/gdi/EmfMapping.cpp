#include "platform/gdi/EmfMapping.h"

#include <cmath>

namespace {
enum { MmText = 1, MmLoMetric, MmHiMetric, MmLoEnglish, MmHiEnglish, MmTwips, MmIsotropic, MmAnisotropic };
}  // namespace

TEmfXForm EmfCombine(const TEmfXForm& A, const TEmfXForm& B) {
  TEmfXForm R;
  R.eM11 = A.eM11 * B.eM11 + A.eM12 * B.eM21;
  R.eM12 = A.eM11 * B.eM12 + A.eM12 * B.eM22;
  R.eM21 = A.eM21 * B.eM11 + A.eM22 * B.eM21;
  R.eM22 = A.eM21 * B.eM12 + A.eM22 * B.eM22;
  R.eDx = A.eDx * B.eM11 + A.eDy * B.eM21 + B.eDx;
  R.eDy = A.eDx * B.eM12 + A.eDy * B.eM22 + B.eDy;
  return R;
}

TEmfMapping::TEmfMapping(TSize DevicePixels, TSize DeviceMillimeters)
    : FPixels(DevicePixels), FMillimeters(DeviceMillimeters) {
  if (FPixels.cx <= 0 || FPixels.cy <= 0) FPixels = {1024, 768};
  if (FMillimeters.cx <= 0 || FMillimeters.cy <= 0) FMillimeters = {271, 203};
}

void TEmfMapping::SetMapMode(int Mode) {
  if (Mode < MmText || Mode > MmAnisotropic) return;
  S.MapMode = Mode;
  // Units per millimetre for the metric and English modes.
  double PerMm = 0;
  switch (Mode) {
    case MmLoMetric: PerMm = 10; break;
    case MmHiMetric: PerMm = 100; break;
    case MmLoEnglish: PerMm = 100 / 25.4; break;
    case MmHiEnglish: PerMm = 1000 / 25.4; break;
    case MmTwips: PerMm = 1440 / 25.4; break;
    case MmText: S.WindowExt = S.ViewportExt = {1, 1}; return;
    default: return;  // isotropic/anisotropic keep the extents they had
  }
  S.WindowExt = {Integer(std::lround(FMillimeters.cx * PerMm)),
                 Integer(std::lround(FMillimeters.cy * PerMm))};
  S.ViewportExt = {FPixels.cx, -FPixels.cy};
}

bool TEmfMapping::Apply(const TEmfRecord& Rec) {
  const bool Scalable = S.MapMode == MmIsotropic || S.MapMode == MmAnisotropic;
  switch (Rec.Type()) {
    case EMR_SETMAPMODE: SetMapMode(Integer(TEmrDword::Read(Rec).Value)); return true;
    case EMR_SETWINDOWORGEX: S.WindowOrg = TEmrPointL::Read(Rec).Pt; return true;
    case EMR_SETVIEWPORTORGEX: S.ViewportOrg = TEmrPointL::Read(Rec).Pt; return true;
    case EMR_SETWINDOWEXTEX:
    case EMR_SETVIEWPORTEXTEX: {
      TPoint P = TEmrPointL::Read(Rec).Pt;
      // Zero extents are refused, as SetWindowExtEx refuses them.
      if (Scalable && P.X != 0 && P.Y != 0)
        (Rec.Type() == EMR_SETWINDOWEXTEX ? S.WindowExt : S.ViewportExt) = {P.X, P.Y};
      return true;
    }
    case EMR_SCALEWINDOWEXTEX:
    case EMR_SCALEVIEWPORTEXTEX: {
      TEmrScaleExt X = TEmrScaleExt::Read(Rec);
      if (!Scalable || X.xDenom == 0 || X.yDenom == 0) return true;
      TSize& E = Rec.Type() == EMR_SCALEWINDOWEXTEX ? S.WindowExt : S.ViewportExt;
      Int64 Cx = Int64(E.cx) * X.xNum / X.xDenom, Cy = Int64(E.cy) * X.yNum / X.yDenom;
      if (Cx != 0 && Cy != 0 && std::llabs(Cx) <= INT32_MAX && std::llabs(Cy) <= INT32_MAX)
        E = {Integer(Cx), Integer(Cy)};
      return true;
    }
    case EMR_SETWORLDTRANSFORM: S.World = TEmrXForm::Read(Rec).XForm; return true;
    case EMR_MODIFYWORLDTRANSFORM: {
      TEmrXForm X = TEmrXForm::Read(Rec);
      if (X.Mode == 1) S.World = TEmfXForm{};
      else if (X.Mode == 2) S.World = EmfCombine(X.XForm, S.World);
      else if (X.Mode == 3) S.World = EmfCombine(S.World, X.XForm);
      else if (X.Mode == 4) S.World = X.XForm;
      return true;
    }
    case EMR_SAVEDC:
      if (FSaved.size() < 4096) FSaved.push_back(S);
      return true;
    case EMR_RESTOREDC: {
      Integer Level = Integer(TEmrDword::Read(Rec).Value);
      // Negative: relative to the top; positive: absolute (1 = first saved).
      std::size_t Keep;
      if (Level < 0) {
        if (std::size_t(-Int64(Level)) > FSaved.size()) return true;
        Keep = FSaved.size() - std::size_t(-Int64(Level));
      } else {
        if (Level == 0 || std::size_t(Level) > FSaved.size()) return true;
        Keep = std::size_t(Level) - 1;
      }
      S = FSaved[Keep];
      FSaved.resize(Keep);
      return true;
    }
    default: return false;
  }
}

void TEmfMapping::PageScale(double& Sx, double& Sy) const {
  if (S.MapMode == MmText) {
    Sx = Sy = 1;
    return;
  }
  Sx = double(S.ViewportExt.cx) / S.WindowExt.cx;
  Sy = double(S.ViewportExt.cy) / S.WindowExt.cy;
  if (S.MapMode == MmIsotropic) {
    double M = std::min(std::fabs(Sx), std::fabs(Sy));
    Sx = std::copysign(M, Sx);
    Sy = std::copysign(M, Sy);
  }
}

void TEmfMapping::ToDevice(double X, double Y, double& DX, double& DY) const {
  const TEmfXForm& W = S.World;
  double Wx = X * W.eM11 + Y * W.eM21 + W.eDx;
  double Wy = X * W.eM12 + Y * W.eM22 + W.eDy;
  double Sx, Sy;
  PageScale(Sx, Sy);
  DX = (Wx - S.WindowOrg.X) * Sx + S.ViewportOrg.X;
  DY = (Wy - S.WindowOrg.Y) * Sy + S.ViewportOrg.Y;
}

double TEmfMapping::ScaleX() const {
  double Sx, Sy;
  PageScale(Sx, Sy);
  return std::hypot(S.World.eM11, S.World.eM12) * std::fabs(Sx);
}

double TEmfMapping::ScaleY() const {
  double Sx, Sy;
  PageScale(Sx, Sy);
  return std::hypot(S.World.eM21, S.World.eM22) * std::fabs(Sy);
}

bool TEmfMapping::AxisAligned() const { return S.World.eM12 == 0 && S.World.eM21 == 0; }

TEmfXForm TEmfMapping::Transform() const {
  double Sx, Sy;
  PageScale(Sx, Sy);
  const TEmfXForm& W = S.World;
  TEmfXForm T;
  T.eM11 = float(W.eM11 * Sx);
  T.eM12 = float(W.eM12 * Sy);
  T.eM21 = float(W.eM21 * Sx);
  T.eM22 = float(W.eM22 * Sy);
  T.eDx = float((W.eDx - S.WindowOrg.X) * Sx + S.ViewportOrg.X);
  T.eDy = float((W.eDy - S.WindowOrg.Y) * Sy + S.ViewportOrg.Y);
  return T;
}
