#include "platform/gdi/EmfRecorder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <unistd.h>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/FileUtils.h"

namespace {

constexpr int StockCount = 20;

bool Fits16(const TPoint* P, std::size_t N) {
  for (std::size_t I = 0; I < N; ++I)
    if (P[I].X < -32768 || P[I].X > 32767 || P[I].Y < -32768 || P[I].Y > 32767) return false;
  return true;
}

TEmfXForm ToEmf(const XFORM& X) { return {X.eM11, X.eM12, X.eM21, X.eM22, X.eDx, X.eDy}; }

TEmfRegionData ToEmf(const TRegionData& R) {
  TEmfRegionData D;
  D.Bound = R.Bounds();
  D.Rects = R.Rects();
  return D;
}

bool RopUsesSource(DWORD Rop) { return (((Rop >> 2) ^ Rop) & 0x00330000) != 0; }

// A 32-bit bottom-up DIB of colours, row 0 at the top.
void ColorsToDib(const std::vector<COLORREF>& Colors, int W, int H, std::vector<Byte>& Bmi,
                 std::vector<Byte>& Bits) {
  TDib D = MakeDib(W, H, 32);
  for (int Y = 0; Y < H; ++Y) {
    Byte* Row = D.ScanLine(Y);
    for (int X = 0; X < W; ++X) {
      COLORREF C = Colors[std::size_t(Y) * W + X];
      Row[X * 4] = GetBValue(C);
      Row[X * 4 + 1] = GetGValue(C);
      Row[X * 4 + 2] = GetRValue(C);
      Row[X * 4 + 3] = 0;
    }
  }
  Bmi = DibInfoBytes(D);
  Bits = std::move(D.Bits);
}

// "App\0Title\0\0": up to and including the double null.
template <class TChar>
std::basic_string<TChar> DoubleNullString(const TChar* S) {
  std::basic_string<TChar> Out;
  if (!S) return Out;
  for (std::size_t I = 0; I < 65536; ++I) {
    Out.push_back(S[I]);
    if (S[I] == 0 && I > 0 && S[I - 1] == 0) break;
    if (S[I] == 0 && I == 0) {
      Out.push_back(0);
      break;
    }
  }
  return Out;
}

HDC CreateRecorder(HDC Reference, std::string FileName, const TRect* Frame, WideString Desc) {
  TDeviceCaps Caps = ScreenDeviceCaps();
  if (Reference) {
    TDC* R = GdiLookupDC(Reference);
    if (!R) return nullptr;
    Caps = R->Caps();
  }
  return GdiAddDC(std::make_unique<TEmfRecorderDC>(Caps, Frame, std::move(Desc), std::move(FileName)));
}

}  // namespace

HDC CreateEnhMetaFileA(HDC Reference, const char* FileName, const TRect* Frame,
                       const char* Description) {
  std::string D = DoubleNullString(Description);
  return CreateRecorder(Reference, FileName ? FileName : "", Frame, AnsiToWide(D));
}

HDC CreateEnhMetaFileW(HDC Reference, const char16_t* FileName, const TRect* Frame,
                       const char16_t* Description) {
  return CreateRecorder(Reference, FileName ? UTF8Encode(WideString(FileName)) : "", Frame,
                        DoubleNullString(Description));
}

HENHMETAFILE CloseEnhMetaFile(HDC Dc) {
  auto* R = dynamic_cast<TEmfRecorderDC*>(GdiLookupDC(Dc));
  if (!R) return nullptr;
  std::vector<Byte> Bytes = R->Finish();
  const std::string Name = R->FileName();
  DeleteDC(Dc);
  if (!Name.empty() && !TrySaveFileAtomically(Name, Bytes.data(), Bytes.size())) return nullptr;
  return EmfCreateHandle(std::move(Bytes));
}

TEmfRecorderDC::TEmfRecorderDC(const TDeviceCaps& Reference, const TRect* Frame,
                               WideString Description, std::string FileName)
    : TDC(OBJ_ENHMETADC, Reference), FRef(Reference), FDescription(std::move(Description)),
      FFileName(std::move(FileName)) {
  if (Frame) FFrame = *Frame;
}

template <class TRec>
void TEmfRecorderDC::Emit(const TRec& Rec, DWORD ObjectIndex) {
  if (FFinished) return;
  // Deleted objects are noticed around every record: a freed object is never
  // the selected one, so its DELETEOBJECT may go anywhere before its slot is reused.
  FlushDeleted();
  FBuilder.Add(Rec, ObjectIndex);
  FlushDeleted();
}

void TEmfRecorderDC::FlushDeleted() {
  for (auto It = FObjects.begin(); It != FObjects.end();) {
    if (GdiLookup(It->first)) {
      ++It;
      continue;
    }
    FBuilder.Add(TEmrDword{EMR_DELETEOBJECT, It->second});
    FSlots[It->second] = false;
    It = FObjects.erase(It);
  }
}

DWORD TEmfRecorderDC::ObjectIndex(HGDIOBJ H) {
  TGdiObject* O = GdiLookup(H);
  if (!O) return 0;
  if (O->Stock) {
    for (int I = 0; I < StockCount; ++I)
      if (GdiStockObject(I) == H) return ENHMETA_STOCK_OBJECT | DWORD(I);
  }
  if (auto It = FObjects.find(H); It != FObjects.end()) return It->second;
  FlushDeleted();
  DWORD Index = 1;
  while (Index < FSlots.size() && FSlots[Index]) ++Index;
  if (Index >= 0xFFFF) return 0;
  switch (O->Kind) {
    case OBJ_PEN: {
      auto* P = static_cast<TPenObject*>(O);
      Emit(TEmrCreatePen{Index, P->Style, {P->Width, 0}, P->Color}, Index);
      break;
    }
    case OBJ_EXTPEN: {
      auto* P = static_cast<TPenObject*>(O);
      TEmrExtCreatePen X;
      X.ihPen = Index;
      X.PenStyle = P->Style;
      X.Width = DWORD(P->Width);
      X.BrushStyle = P->BrushStyle;
      X.Color = P->Color;
      // FIXME: pattern-brush pens keep only their style; the pattern is not embedded.
      X.Hatch = DWORD(P->Hatch);
      X.StyleEntries = P->UserStyle;
      Emit(X, Index);
      break;
    }
    case OBJ_BRUSH: {
      auto* B = static_cast<TBrushObject*>(O);
      if (B->Style == BS_PATTERN || B->Style == BS_DIBPATTERN || B->Style == BS_DIBPATTERNPT) {
        TEmrCreateDibBrush X;
        X.ihBrush = Index;
        X.Usage = DIB_RGB_COLORS;
        if (B->PatMono) {
          // 1 bit per pixel; bit set = background colour, as the brush stores it.
          X.Type = EMR_CREATEMONOBRUSH;
          TDib D = MakeDib(B->PatWidth, B->PatHeight, 1, TDibOrientation::BottomUp,
                           {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}});
          for (int Y = 0; Y < B->PatHeight; ++Y)
            for (int Xp = 0; Xp < B->PatWidth; ++Xp)
              if (B->PatBits[std::size_t(Y) * B->PatWidth + Xp])
                D.ScanLine(Y)[Xp / 8] |= Byte(0x80 >> (Xp % 8));
          X.Bmi = DibInfoBytes(D);
          X.Bits = std::move(D.Bits);
        } else {
          ColorsToDib(B->PatColors, B->PatWidth, B->PatHeight, X.Bmi, X.Bits);
        }
        Emit(X, Index);
      } else {
        Emit(TEmrCreateBrushIndirect{Index, B->Style, B->Color, DWORD(B->Hatch)}, Index);
      }
      break;
    }
    case OBJ_FONT: {
      const LOGFONTW& L = static_cast<TFontObject*>(O)->LogFont;
      TEmrExtCreateFontIndirectW X;
      X.ihFont = Index;
      X.Font = {L.lfHeight, L.lfWidth, L.lfEscapement, L.lfOrientation, L.lfWeight,
                L.lfItalic, L.lfUnderline, L.lfStrikeOut, L.lfCharSet, L.lfOutPrecision,
                L.lfClipPrecision, L.lfQuality, L.lfPitchAndFamily, {}};
      for (int I = 0; I < LF_FACESIZE && L.lfFaceName[I]; ++I) X.Font.FaceName.push_back(L.lfFaceName[I]);
      Emit(X, Index);
      break;
    }
    case OBJ_PAL: {
      TEmrCreatePalette X;
      X.ihPal = Index;
      for (const PALETTEENTRY& E : static_cast<TPaletteObject*>(O)->Entries)
        X.Entries.push_back(DWORD(E.peRed) | (DWORD(E.peGreen) << 8) | (DWORD(E.peBlue) << 16) |
                            (DWORD(E.peFlags) << 24));
      Emit(X, Index);
      break;
    }
    default:
      return 0;
  }
  if (FSlots.size() <= Index) FSlots.resize(Index + 1, false);
  FSlots[Index] = true;
  FObjects[H] = Index;
  return Index;
}

TRect TEmfRecorderDC::AccumulateDevice(TRect D) {
  if (D.Right < D.Left) std::swap(D.Left, D.Right);
  if (D.Bottom < D.Top) std::swap(D.Top, D.Bottom);
  if (!FHaveBounds) {
    FBounds = D;
    FHaveBounds = true;
  } else {
    FBounds = {std::min(FBounds.Left, D.Left), std::min(FBounds.Top, D.Top),
               std::max(FBounds.Right, D.Right), std::max(FBounds.Bottom, D.Bottom)};
  }
  return D;
}

TRect TEmfRecorderDC::Accumulate(const TPoint* P, std::size_t N, bool WithPen) {
  if (N == 0) return {0, 0, -1, -1};
  double MinX = 1e18, MinY = 1e18, MaxX = -1e18, MaxY = -1e18;
  for (std::size_t I = 0; I < N; ++I) {
    double X, Y;
    ToDevice(P[I].X, P[I].Y, X, Y);
    MinX = std::min(MinX, X);
    MinY = std::min(MinY, Y);
    MaxX = std::max(MaxX, X);
    MaxY = std::max(MaxY, Y);
  }
  double Grow = 0;
  if (WithPen) {
    const TPenObject* Pen = CurrentPen();
    if (Pen && Pen->LineStyle() != PS_NULL) Grow = std::max(1, Pen->Width) * DeviceScaleX() / 2;
  }
  auto Clamp = [](double V) { return Integer(std::clamp(V, -2e9, 2e9)); };
  return AccumulateDevice({Clamp(std::floor(MinX - Grow)), Clamp(std::floor(MinY - Grow)),
                           Clamp(std::ceil(MaxX + Grow)), Clamp(std::ceil(MaxY + Grow))});
}

TRect TEmfRecorderDC::AccumulateBox(int L, int T, int R, int B, bool WithPen) {
  const TPoint P[4] = {{L, T}, {R, T}, {R, B}, {L, B}};
  return Accumulate(P, 4, WithPen);
}

std::vector<Byte> TEmfRecorderDC::Finish() {
  if (FFinished) return {};
  FlushDeleted();
  TEmrHeader H;
  H.Bounds = FHaveBounds ? FBounds : TRect(0, 0, -1, -1);
  H.Device = {FRef.HorzRes, FRef.VertRes};
  H.Millimeters = {FRef.HorzSizeMM(), FRef.VertSizeMM()};
  H.Micrometers = {H.Millimeters.cx * 1000, H.Millimeters.cy * 1000};
  if (FFrame) {
    H.Frame = *FFrame;
  } else {
    // The bounds in .01 mm of the reference device.
    const double Kx = 100.0 * H.Millimeters.cx / std::max(1, H.Device.cx);
    const double Ky = 100.0 * H.Millimeters.cy / std::max(1, H.Device.cy);
    H.Frame = {Integer(std::lround(H.Bounds.Left * Kx)), Integer(std::lround(H.Bounds.Top * Ky)),
               Integer(std::lround(H.Bounds.Right * Kx)), Integer(std::lround(H.Bounds.Bottom * Ky))};
  }
  H.Description = FDescription;
  FFinished = true;
  return FBuilder.Finish(H);
}

// ---- objects and state ---------------------------------------------------------

HGDIOBJ TEmfRecorderDC::SelectObject(HGDIOBJ H) {
  TGdiObject* O = GdiLookup(H);
  if (O && O->Kind == OBJ_BITMAP) return nullptr;  // a metafile DC holds no bitmap
  HGDIOBJ Old = TDC::SelectObject(H);
  // Regions went through ExtSelectClipRgn, which records them.
  if (Old && O && O->Kind != OBJ_REGION) {
    if (DWORD Index = ObjectIndex(H)) EmitDword(EMR_SELECTOBJECT, Index);
  }
  return Old;
}

int TEmfRecorderDC::SaveDC() {
  int R = TDC::SaveDC();
  if (R) Emit(TEmrNoParams{EMR_SAVEDC});
  return R;
}

BOOL TEmfRecorderDC::RestoreDC(int Level) {
  BOOL R = TDC::RestoreDC(Level);
  if (R) EmitDword(EMR_RESTOREDC, DWORD(Level));
  return R;
}

#define SX_RECORD_SETTER(Ret, Name, Arg, Type)  \
  Ret TEmfRecorderDC::Name(Arg V) {             \
    Ret Old = TDC::Name(V);                     \
    EmitDword(Type, DWORD(V));                  \
    return Old;                                 \
  }
SX_RECORD_SETTER(COLORREF, SetTextColor, COLORREF, EMR_SETTEXTCOLOR)
SX_RECORD_SETTER(COLORREF, SetBkColor, COLORREF, EMR_SETBKCOLOR)
SX_RECORD_SETTER(int, SetBkMode, int, EMR_SETBKMODE)
SX_RECORD_SETTER(int, SetROP2, int, EMR_SETROP2)
SX_RECORD_SETTER(int, SetPolyFillMode, int, EMR_SETPOLYFILLMODE)
SX_RECORD_SETTER(int, SetStretchBltMode, int, EMR_SETSTRETCHBLTMODE)
SX_RECORD_SETTER(UINT, SetTextAlign, UINT, EMR_SETTEXTALIGN)
SX_RECORD_SETTER(int, SetArcDirection, int, EMR_SETARCDIRECTION)
SX_RECORD_SETTER(DWORD, SetMapperFlags, DWORD, EMR_SETMAPPERFLAGS)
SX_RECORD_SETTER(int, SetMapMode, int, EMR_SETMAPMODE)
#undef SX_RECORD_SETTER

BOOL TEmfRecorderDC::SetMiterLimit(float Limit, float* Old) {
  BOOL R = TDC::SetMiterLimit(Limit, Old);
  if (R) EmitDword(EMR_SETMITERLIMIT, DWORD(std::lround(std::max(0.0f, Limit))));
  return R;
}

BOOL TEmfRecorderDC::SetBrushOrgEx(int X, int Y, TPoint* Old) {
  BOOL R = TDC::SetBrushOrgEx(X, Y, Old);
  if (R) Emit(TEmrPointL{EMR_SETBRUSHORGEX, {X, Y}});
  return R;
}

HPALETTE TEmfRecorderDC::SelectPalette(HPALETTE Pal, BOOL ForceBackground) {
  HPALETTE Old = TDC::SelectPalette(Pal, ForceBackground);
  if (Old)
    if (DWORD Index = ObjectIndex(Pal)) EmitDword(EMR_SELECTPALETTE, Index);
  return Old;
}

UINT TEmfRecorderDC::RealizePalette() {
  UINT R = TDC::RealizePalette();
  Emit(TEmrNoParams{EMR_REALIZEPALETTE});
  return R;
}

// ---- coordinate spaces ---------------------------------------------------------

BOOL TEmfRecorderDC::SetWindowOrgEx(int X, int Y, TPoint* Old) {
  BOOL R = TDC::SetWindowOrgEx(X, Y, Old);
  if (R) Emit(TEmrPointL{EMR_SETWINDOWORGEX, {X, Y}});
  return R;
}

BOOL TEmfRecorderDC::SetViewportOrgEx(int X, int Y, TPoint* Old) {
  BOOL R = TDC::SetViewportOrgEx(X, Y, Old);
  if (R) Emit(TEmrPointL{EMR_SETVIEWPORTORGEX, {X, Y}});
  return R;
}

// The offset calls are recorded as the origin they produce.
BOOL TEmfRecorderDC::OffsetWindowOrgEx(int DX, int DY, TPoint* Old) {
  BOOL R = TDC::OffsetWindowOrgEx(DX, DY, Old);
  if (R) Emit(TEmrPointL{EMR_SETWINDOWORGEX, S.WindowOrg});
  return R;
}

BOOL TEmfRecorderDC::OffsetViewportOrgEx(int DX, int DY, TPoint* Old) {
  BOOL R = TDC::OffsetViewportOrgEx(DX, DY, Old);
  if (R) Emit(TEmrPointL{EMR_SETVIEWPORTORGEX, S.ViewportOrg});
  return R;
}

BOOL TEmfRecorderDC::SetWindowExtEx(int X, int Y, TSize* Old) {
  BOOL R = TDC::SetWindowExtEx(X, Y, Old);
  if (R) Emit(TEmrPointL{EMR_SETWINDOWEXTEX, {X, Y}});
  return R;
}

BOOL TEmfRecorderDC::SetViewportExtEx(int X, int Y, TSize* Old) {
  BOOL R = TDC::SetViewportExtEx(X, Y, Old);
  if (R) Emit(TEmrPointL{EMR_SETVIEWPORTEXTEX, {X, Y}});
  return R;
}

BOOL TEmfRecorderDC::ScaleWindowExtEx(int XNum, int XDenom, int YNum, int YDenom, TSize* Old) {
  BOOL R = TDC::ScaleWindowExtEx(XNum, XDenom, YNum, YDenom, Old);
  if (R) Emit(TEmrScaleExt{EMR_SCALEWINDOWEXTEX, XNum, XDenom, YNum, YDenom});
  return R;
}

BOOL TEmfRecorderDC::ScaleViewportExtEx(int XNum, int XDenom, int YNum, int YDenom, TSize* Old) {
  BOOL R = TDC::ScaleViewportExtEx(XNum, XDenom, YNum, YDenom, Old);
  if (R) Emit(TEmrScaleExt{EMR_SCALEVIEWPORTEXTEX, XNum, XDenom, YNum, YDenom});
  return R;
}

BOOL TEmfRecorderDC::SetWorldTransform(const XFORM& X) {
  BOOL R = TDC::SetWorldTransform(X);
  if (R) Emit(TEmrXForm{EMR_SETWORLDTRANSFORM, ToEmf(X), 0});
  return R;
}

BOOL TEmfRecorderDC::ModifyWorldTransform(const XFORM* X, DWORD Mode) {
  BOOL R = TDC::ModifyWorldTransform(X, Mode);
  if (R) Emit(TEmrXForm{EMR_MODIFYWORLDTRANSFORM, X ? ToEmf(*X) : TEmfXForm{}, Mode});
  return R;
}

// ---- clipping ----------------------------------------------------------------------

int TEmfRecorderDC::ExtSelectClipRgn(const TRegionData* Rgn, int Mode) {
  int R = TDC::ExtSelectClipRgn(Rgn, Mode);
  if (R != ERROR) {
    TEmrExtSelectClipRgn X;
    X.Mode = DWORD(Mode);
    if (Rgn) {
      X.HasRegion = true;
      X.Region = ToEmf(*Rgn);
    }
    Emit(X);
  }
  return R;
}

int TEmfRecorderDC::IntersectClipRect(int L, int T, int R, int B) {
  int Res = TDC::IntersectClipRect(L, T, R, B);
  if (Res != ERROR) Emit(TEmrRectL{EMR_INTERSECTCLIPRECT, {L, T, R, B}});
  return Res;
}

int TEmfRecorderDC::ExcludeClipRect(int L, int T, int R, int B) {
  int Res = TDC::ExcludeClipRect(L, T, R, B);
  if (Res != ERROR) Emit(TEmrRectL{EMR_EXCLUDECLIPRECT, {L, T, R, B}});
  return Res;
}

int TEmfRecorderDC::OffsetClipRgn(int DX, int DY) {
  int Res = TDC::OffsetClipRgn(DX, DY);
  if (Res != ERROR) Emit(TEmrPointL{EMR_OFFSETCLIPRGN, {DX, DY}});
  return Res;
}

int TEmfRecorderDC::SetMetaRgn() {
  int Res = TDC::SetMetaRgn();
  Emit(TEmrNoParams{EMR_SETMETARGN});
  return Res;
}

int TEmfRecorderDC::SelectClipPath(int Mode) {
  int Res = TDC::SelectClipPath(Mode);
  if (Res) EmitDword(EMR_SELECTCLIPPATH, DWORD(Mode));
  return Res;
}

// ---- drawing -------------------------------------------------------------------------

BOOL TEmfRecorderDC::MoveToEx(int X, int Y, TPoint* Old) {
  TDC::MoveToEx(X, Y, Old);
  Emit(TEmrPointL{EMR_MOVETOEX, {X, Y}});
  return TRUE;
}

BOOL TEmfRecorderDC::LineTo(int X, int Y) {
  const TPoint P[2] = {S.CurrentPos, {X, Y}};
  Accumulate(P, 2);
  Emit(TEmrPointL{EMR_LINETO, {X, Y}});
  TDC::LineTo(X, Y);
  return TRUE;
}

void TEmfRecorderDC::Poly(DWORD Type16, DWORD Type32, const TPoint* P, std::size_t N) {
  TEmrPoly X;
  X.Type = Fits16(P, N) ? Type16 : Type32;
  X.Bounds = Accumulate(P, N);
  X.Points.assign(P, P + N);
  Emit(X);
}

BOOL TEmfRecorderDC::Polyline(const TPoint* P, int N) {
  if (!P || N < 2) return FALSE;
  Poly(EMR_POLYLINE16, EMR_POLYLINE, P, std::size_t(N));
  TDC::Polyline(P, N);
  return TRUE;
}

BOOL TEmfRecorderDC::PolylineTo(const TPoint* P, int N) {
  if (!P || N < 1) return FALSE;
  std::vector<TPoint> All{S.CurrentPos};
  All.insert(All.end(), P, P + N);
  TEmrPoly X;
  X.Type = Fits16(P, std::size_t(N)) ? EMR_POLYLINETO16 : EMR_POLYLINETO;
  X.Bounds = Accumulate(All.data(), All.size());
  X.Points.assign(P, P + N);
  Emit(X);
  TDC::PolylineTo(P, N);
  return TRUE;
}

BOOL TEmfRecorderDC::Polygon(const TPoint* P, int N) {
  if (!P || N < 2) return FALSE;
  Poly(EMR_POLYGON16, EMR_POLYGON, P, std::size_t(N));
  TDC::Polygon(P, N);
  return TRUE;
}

BOOL TEmfRecorderDC::PolyBezier(const TPoint* P, DWORD N) {
  if (!P || N < 4 || (N - 1) % 3) return FALSE;
  Poly(EMR_POLYBEZIER16, EMR_POLYBEZIER, P, N);
  TDC::PolyBezier(P, N);
  return TRUE;
}

BOOL TEmfRecorderDC::PolyBezierTo(const TPoint* P, DWORD N) {
  if (!P || N < 3 || N % 3) return FALSE;
  std::vector<TPoint> All{S.CurrentPos};
  All.insert(All.end(), P, P + N);
  TEmrPoly X;
  X.Type = Fits16(P, N) ? EMR_POLYBEZIERTO16 : EMR_POLYBEZIERTO;
  X.Bounds = Accumulate(All.data(), All.size());
  X.Points.assign(P, P + N);
  Emit(X);
  TDC::PolyBezierTo(P, N);
  return TRUE;
}

void TEmfRecorderDC::PolyPoly(DWORD Type16, DWORD Type32, const TPoint* P, const DWORD* Counts,
                              DWORD NPolys) {
  TEmrPolyPoly X;
  std::size_t Total = 0;
  for (DWORD I = 0; I < NPolys; ++I) {
    X.Counts.push_back(Counts[I]);
    Total += Counts[I];
  }
  X.Type = Fits16(P, Total) ? Type16 : Type32;
  X.Bounds = Accumulate(P, Total);
  X.Points.assign(P, P + Total);
  Emit(X);
}

BOOL TEmfRecorderDC::PolyPolygon(const TPoint* P, const int* Counts, int NPolys) {
  if (!P || !Counts || NPolys < 1) return FALSE;
  std::vector<DWORD> C;
  for (int I = 0; I < NPolys; ++I) {
    if (Counts[I] < 2) return FALSE;
    C.push_back(DWORD(Counts[I]));
  }
  PolyPoly(EMR_POLYPOLYGON16, EMR_POLYPOLYGON, P, C.data(), DWORD(NPolys));
  TDC::PolyPolygon(P, Counts, NPolys);
  return TRUE;
}

BOOL TEmfRecorderDC::PolyPolyline(const TPoint* P, const DWORD* Counts, DWORD NPolys) {
  if (!P || !Counts || NPolys < 1) return FALSE;
  for (DWORD I = 0; I < NPolys; ++I)
    if (Counts[I] < 2) return FALSE;
  PolyPoly(EMR_POLYPOLYLINE16, EMR_POLYPOLYLINE, P, Counts, NPolys);
  TDC::PolyPolyline(P, Counts, NPolys);
  return TRUE;
}

BOOL TEmfRecorderDC::Rectangle(int L, int T, int R, int B) {
  AccumulateBox(L, T, R, B);
  Emit(TEmrRectL{EMR_RECTANGLE, {L, T, R, B}});
  TDC::Rectangle(L, T, R, B);
  return TRUE;
}

BOOL TEmfRecorderDC::RoundRect(int L, int T, int R, int B, int W, int H) {
  AccumulateBox(L, T, R, B);
  Emit(TEmrRoundRect{{L, T, R, B}, {W, H}});
  TDC::RoundRect(L, T, R, B, W, H);
  return TRUE;
}

BOOL TEmfRecorderDC::Ellipse(int L, int T, int R, int B) {
  AccumulateBox(L, T, R, B);
  Emit(TEmrRectL{EMR_ELLIPSE, {L, T, R, B}});
  TDC::Ellipse(L, T, R, B);
  return TRUE;
}

void TEmfRecorderDC::ArcRecord(DWORD Type, int L, int T, int R, int B, int XS, int YS, int XE,
                               int YE) {
  AccumulateBox(L, T, R, B);
  Emit(TEmrArc{Type, {L, T, R, B}, {XS, YS}, {XE, YE}});
}

BOOL TEmfRecorderDC::Arc(int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  ArcRecord(EMR_ARC, L, T, R, B, XS, YS, XE, YE);
  TDC::Arc(L, T, R, B, XS, YS, XE, YE);
  return TRUE;
}

BOOL TEmfRecorderDC::ArcTo(int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  const TPoint Cur = S.CurrentPos;
  Accumulate(&Cur, 1);
  ArcRecord(EMR_ARCTO, L, T, R, B, XS, YS, XE, YE);
  TDC::ArcTo(L, T, R, B, XS, YS, XE, YE);
  return TRUE;
}

BOOL TEmfRecorderDC::Chord(int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  ArcRecord(EMR_CHORD, L, T, R, B, XS, YS, XE, YE);
  TDC::Chord(L, T, R, B, XS, YS, XE, YE);
  return TRUE;
}

BOOL TEmfRecorderDC::Pie(int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  ArcRecord(EMR_PIE, L, T, R, B, XS, YS, XE, YE);
  TDC::Pie(L, T, R, B, XS, YS, XE, YE);
  return TRUE;
}

BOOL TEmfRecorderDC::AngleArc(int X, int Y, DWORD Radius, float Start, float Sweep) {
  const int Rr = int(std::min<DWORD>(Radius, 0x3FFFFFFF));
  const TPoint Cur = S.CurrentPos;
  Accumulate(&Cur, 1);
  AccumulateBox(X - Rr, Y - Rr, X + Rr, Y + Rr);
  Emit(TEmrAngleArc{{X, Y}, Radius, Start, Sweep});
  TDC::AngleArc(X, Y, Radius, Start, Sweep);
  return TRUE;
}

BOOL TEmfRecorderDC::FillRect(const TRect& R, HBRUSH Brush) {
  // A system colour index + 1 stands for that colour's brush.
  auto V = reinterpret_cast<std::uintptr_t>(Brush);
  if (!GdiLookup(Brush) && V >= 1 && V <= 31) Brush = GetSysColorBrush(int(V - 1));
  HGDIOBJ Old = SelectObject(Brush);
  if (!Old) return FALSE;
  PatBlt(R.Left, R.Top, R.Width(), R.Height(), PATCOPY);
  SelectObject(Old);
  return TRUE;
}

BOOL TEmfRecorderDC::FrameRect(const TRect& R, HBRUSH Brush) {
  if (R.IsEmpty()) return TRUE;
  auto V = reinterpret_cast<std::uintptr_t>(Brush);
  if (!GdiLookup(Brush) && V >= 1 && V <= 31) Brush = GetSysColorBrush(int(V - 1));
  HGDIOBJ Old = SelectObject(Brush);
  if (!Old) return FALSE;
  const int W = R.Width(), H = R.Height();
  PatBlt(R.Left, R.Top, W, 1, PATCOPY);
  PatBlt(R.Left, R.Bottom - 1, W, 1, PATCOPY);
  if (H > 2) {
    PatBlt(R.Left, R.Top + 1, 1, H - 2, PATCOPY);
    PatBlt(R.Right - 1, R.Top + 1, 1, H - 2, PATCOPY);
  }
  SelectObject(Old);
  return TRUE;
}

BOOL TEmfRecorderDC::InvertRect(const TRect& R) {
  return PatBlt(R.Left, R.Top, R.Width(), R.Height(), DSTINVERT);
}

COLORREF TEmfRecorderDC::SetPixel(int X, int Y, COLORREF C) {
  const TPoint P{X, Y};
  Accumulate(&P, 1, false);
  Emit(TEmrSetPixelV{P, C});
  return C;
}

void TEmfRecorderDC::Region(DWORD Type, const TRegionData& Rgn, HBRUSH Brush, TSize Stroke) {
  TEmrRegion X;
  X.Type = Type;
  if (Brush) {
    X.ihBrush = ObjectIndex(Brush);
    if (!X.ihBrush) return;
  }
  const TRect B = Rgn.Bounds();
  X.Bounds = AccumulateBox(B.Left, B.Top, B.Right, B.Bottom, false);
  X.Stroke = Stroke;
  X.Region = ToEmf(Rgn);
  Emit(X);
}

BOOL TEmfRecorderDC::FillRgn(const TRegionData& Rgn, HBRUSH Brush) {
  Region(EMR_FILLRGN, Rgn, Brush, {});
  return TRUE;
}

BOOL TEmfRecorderDC::FrameRgn(const TRegionData& Rgn, HBRUSH Brush, int W, int H) {
  Region(EMR_FRAMERGN, Rgn, Brush, {W, H});
  return TRUE;
}

BOOL TEmfRecorderDC::InvertRgn(const TRegionData& Rgn) {
  Region(EMR_INVERTRGN, Rgn, nullptr, {});
  return TRUE;
}

BOOL TEmfRecorderDC::PaintRgn(const TRegionData& Rgn) {
  Region(EMR_PAINTRGN, Rgn, nullptr, {});
  return TRUE;
}

// ---- paths ------------------------------------------------------------------------------

#define SX_RECORD_PATH(Name, Type)               \
  BOOL TEmfRecorderDC::Name() {                  \
    BOOL R = TDC::Name();                        \
    if (R) Emit(TEmrNoParams{Type});             \
    return R;                                    \
  }
SX_RECORD_PATH(BeginPath, EMR_BEGINPATH)
SX_RECORD_PATH(EndPath, EMR_ENDPATH)
SX_RECORD_PATH(AbortPath, EMR_ABORTPATH)
SX_RECORD_PATH(CloseFigure, EMR_CLOSEFIGURE)
SX_RECORD_PATH(FlattenPath, EMR_FLATTENPATH)
SX_RECORD_PATH(WidenPath, EMR_WIDENPATH)
#undef SX_RECORD_PATH

namespace {
TRect PathBounds(const TPathData& P) {
  if (P.X.empty()) return {0, 0, -1, -1};
  auto [MinX, MaxX] = std::minmax_element(P.X.begin(), P.X.end());
  auto [MinY, MaxY] = std::minmax_element(P.Y.begin(), P.Y.end());
  return {Integer(std::floor(*MinX)), Integer(std::floor(*MinY)), Integer(std::ceil(*MaxX)),
          Integer(std::ceil(*MaxY))};
}
}  // namespace

#define SX_RECORD_PATH_DRAW(Name, Type)          \
  BOOL TEmfRecorderDC::Name() {                  \
    TRect B = PathBounds(Path());                \
    BOOL R = TDC::Name();                        \
    if (R) {                                     \
      if (B.Right >= B.Left) AccumulateDevice(B); \
      Emit(TEmrRectL{Type, B});                  \
    }                                            \
    return R;                                    \
  }
SX_RECORD_PATH_DRAW(FillPath, EMR_FILLPATH)
SX_RECORD_PATH_DRAW(StrokePath, EMR_STROKEPATH)
SX_RECORD_PATH_DRAW(StrokeAndFillPath, EMR_STROKEANDFILLPATH)
#undef SX_RECORD_PATH_DRAW

// ---- text -------------------------------------------------------------------------------

BOOL TEmfRecorderDC::ExtTextOutW(int X, int Y, UINT Options, const TRect* Rect,
                                 const char16_t* Str, UINT Count, const int* Dx) {
  if (Count && !Str) return FALSE;
  TEmrExtTextOut T;
  T.Type = EMR_EXTTEXTOUTW;
  T.GraphicsMode = DWORD(S.GraphicsMode);
  if (S.GraphicsMode == GM_COMPATIBLE) {
    // .01 mm per device pixel of the reference device.
    T.exScale = float(100.0 * FRef.HorzSizeMM() / std::max(1, FRef.HorzRes));
    T.eyScale = float(100.0 * FRef.VertSizeMM() / std::max(1, FRef.VertRes));
  }
  const bool UpdateCP = S.TextAlign & TA_UPDATECP;
  T.Reference = UpdateCP ? S.CurrentPos : TPoint{X, Y};
  T.Options = Options;
  T.Rect = Rect ? *Rect : TRect(0, 0, -1, -1);
  T.Text.assign(Str ? Str : u"", Count);
  if (Dx) {
    T.Dx.assign(Dx, Dx + Count * ((Options & ETO_PDY) ? 2 : 1));
  } else {
    // Always with advances, so that a player needs no font metrics.
    std::vector<int> A = GdiTextAdvances(HDC(Handle), Str, Count, Options & ETO_GLYPH_INDEX);
    T.Dx.assign(A.begin(), A.end());
    T.Options &= ~ETO_PDY;
  }
  T.Dx.resize(Count * ((T.Options & ETO_PDY) ? 2 : 1), 0);
  // Bounds: the text box for the alignment, and the rectangle when it is painted.
  Integer Width = 0;
  for (std::size_t I = 0; I < Count; ++I) Width += T.Dx[I * ((T.Options & ETO_PDY) ? 2 : 1)];
  TEXTMETRICW Tm{};
  GetTextMetricsW(HDC(Handle), &Tm);
  const UINT HAlign = S.TextAlign & TA_CENTER, VAlign = S.TextAlign & TA_BASELINE;
  Integer Left = HAlign == TA_CENTER ? T.Reference.X - Width / 2
                 : HAlign == TA_RIGHT ? T.Reference.X - Width : T.Reference.X;
  Integer Top = VAlign == TA_BASELINE ? T.Reference.Y - Tm.tmAscent
                : VAlign == TA_BOTTOM ? T.Reference.Y - Tm.tmHeight : T.Reference.Y;
  if (Count) T.Bounds = AccumulateBox(Left, Top, Left + Width, Top + Tm.tmHeight, false);
  if (Rect && (Options & ETO_OPAQUE)) {
    TRect B = AccumulateBox(Rect->Left, Rect->Top, Rect->Right, Rect->Bottom, false);
    T.Bounds = Count ? TRect(std::min(B.Left, T.Bounds.Left), std::min(B.Top, T.Bounds.Top),
                             std::max(B.Right, T.Bounds.Right), std::max(B.Bottom, T.Bounds.Bottom))
                     : B;
  }
  Emit(T);
  if (UpdateCP) {
    if (HAlign == TA_RIGHT) S.CurrentPos.X -= Width;
    else if (HAlign != TA_CENTER) S.CurrentPos.X += Width;
  }
  return TRUE;
}

// ---- bitmaps -----------------------------------------------------------------------------

bool TEmfRecorderDC::SourceDib(HDC Src, int XSrc, int YSrc, int W, int H, std::vector<Byte>& Bmi,
                               std::vector<Byte>& Bits, bool KeepAlpha) {
  TDC* SD = GdiLookupDC(Src);
  if (!SD || !SD->Surface()) return false;
  TBitmapObject* Bmp = SD->Surface();
  double X0, Y0, X1, Y1;
  SD->ToDevice(XSrc, YSrc, X0, Y0);
  SD->ToDevice(XSrc + W, YSrc + H, X1, Y1);
  const int DW = std::abs(int(std::lround(X1 - X0))), DH = std::abs(int(std::lround(Y1 - Y0)));
  if (DW == 0 || DH == 0 || Int64(DW) * DH > MaxDibPixels) return false;
  const TPoint Org = SD->DeviceOrigin();
  const int Left = int(std::lround(std::min(X0, X1))) + Org.X, Top = int(std::lround(std::min(Y0, Y1))) + Org.Y;
  std::vector<COLORREF> Colors(std::size_t(DW) * DH, 0);
  std::vector<Byte> Alpha;
  KeepAlpha = KeepAlpha && Bmp->BitsPerPixel == 32;
  if (KeepAlpha) Alpha.assign(Colors.size(), 0);
  for (int Y = 0; Y < DH; ++Y)
    for (int X = 0; X < DW; ++X) {
      const int Px = Left + X, Py = Top + Y;
      if (Px >= 0 && Py >= 0 && Px < Bmp->Width && Py < Bmp->Height) {
        Colors[std::size_t(Y) * DW + X] = Bmp->PixelToColor(Bmp->GetPixelValue(Px, Py));
        if (KeepAlpha) Alpha[std::size_t(Y) * DW + X] = Bmp->ScanLine(Py)[std::size_t(Px) * 4 + 3];
      }
    }
  ColorsToDib(Colors, DW, DH, Bmi, Bits);
  if (KeepAlpha) {
    // ColorsToDib writes a bottom-up 32-bit DIB with alpha 0.
    const std::size_t Stride = std::size_t(DW) * 4;
    for (int Y = 0; Y < DH; ++Y)
      for (int X = 0; X < DW; ++X) Bits[std::size_t(DH - 1 - Y) * Stride + std::size_t(X) * 4 + 3] = Alpha[std::size_t(Y) * DW + X];
  }
  return true;
}

namespace {
// Where a transfer record lands: its bounds, destination rectangle and
// raster operation, the same fields in every kind of blit record.
template <class TRec>
void PlaceTransfer(TRec& B, const TRect& Bounds, int X, int Y, int W, int H, DWORD Rop) {
  B.Bounds = Bounds;
  B.xDest = X;
  B.yDest = Y;
  B.cxDest = W;
  B.cyDest = H;
  B.Rop = Rop;
}
}  // namespace

BOOL TEmfRecorderDC::PatBlt(int X, int Y, int W, int H, DWORD Rop) {
  TEmrBitBlt B;
  B.Type = EMR_BITBLT;
  PlaceTransfer(B, AccumulateBox(X, Y, X + W, Y + H, false), X, Y, W, H, Rop);
  Emit(B);
  return TRUE;
}

BOOL TEmfRecorderDC::BitBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, DWORD Rop) {
  if (!RopUsesSource(Rop)) return PatBlt(X, Y, W, H, Rop);
  TEmrBitBlt B;
  B.Type = EMR_BITBLT;
  if (!SourceDib(Src, XSrc, YSrc, W, H, B.Bmi, B.Bits)) return FALSE;
  PlaceTransfer(B, AccumulateBox(X, Y, X + W, Y + H, false), X, Y, W, H, Rop);
  // The embedded bitmap is exactly the source rectangle.
  B.BkColorSrc = GdiLookupDC(Src)->State().BkColor;
  Emit(B);
  return TRUE;
}

BOOL TEmfRecorderDC::StretchBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                                int HSrc, DWORD Rop) {
  if (!RopUsesSource(Rop)) return PatBlt(X, Y, W, H, Rop);
  TEmrBitBlt B;
  B.Type = EMR_STRETCHBLT;
  if (!SourceDib(Src, XSrc, YSrc, WSrc, HSrc, B.Bmi, B.Bits)) return FALSE;
  // The source size in the embedded bitmap's own pixels (biWidth, biHeight).
  B.cxSrc = std::abs(Integer(EmfGetDword(B.Bmi.data() + 4)));
  B.cySrc = std::abs(Integer(EmfGetDword(B.Bmi.data() + 8)));
  if (WSrc < 0) B.cxSrc = -B.cxSrc;
  if (HSrc < 0) B.cySrc = -B.cySrc;
  PlaceTransfer(B, AccumulateBox(X, Y, X + W, Y + H, false), X, Y, W, H, Rop);
  B.BkColorSrc = GdiLookupDC(Src)->State().BkColor;
  Emit(B);
  return TRUE;
}

namespace {
// The info block and pixel bytes of a caller's DIB; Lines limits the rows.
bool CallerDib(const BITMAPINFO* Info, const void* Bits, UINT Usage, Integer Lines,
               std::vector<Byte>& BmiOut, std::vector<Byte>& BitsOut) {
  if (!Info || !Bits) return false;
  const Byte* P = reinterpret_cast<const Byte*>(Info);
  try {
    // The header tells how much colour table follows; 1 KB covers any table.
    const std::size_t InfoSize = DibInfoSize(P, 40 + 12 + 256 * 4, Usage);
    TDibInfo D = ParseDibInfo(P, InfoSize, Usage);
    std::size_t Rows = std::size_t(D.Dib.Height());
    if (Lines >= 0) Rows = std::min<std::size_t>(Rows, std::size_t(Lines));
    std::size_t Size = (D.Compression == BI_RGB || D.Compression == BI_BITFIELDS)
                           ? std::size_t(D.Dib.Stride()) * Rows
                           : std::size_t(D.Dib.Header.biSizeImage);
    BmiOut.assign(P, P + InfoSize);
    const Byte* B = static_cast<const Byte*>(Bits);
    BitsOut.assign(B, B + Size);
    return true;
  } catch (const Exception&) {
    return false;
  }
}
}  // namespace

int TEmfRecorderDC::StretchDIBits(int X, int Y, int W, int H, int XSrc, int YSrc, int WSrc,
                                  int HSrc, const void* Bits, const BITMAPINFO* Info, UINT Usage,
                                  DWORD Rop) {
  TEmrStretchDIBits D;
  if (!CallerDib(Info, Bits, Usage, -1, D.Bmi, D.Bits)) return 0;
  D.Bounds = AccumulateBox(X, Y, X + W, Y + H, false);
  D.xDest = X;
  D.yDest = Y;
  D.cxDest = W;
  D.cyDest = H;
  D.xSrc = XSrc;
  D.ySrc = YSrc;
  D.cxSrc = WSrc;
  D.cySrc = HSrc;
  D.Usage = Usage;
  D.Rop = Rop;
  Emit(D);
  return std::abs(HSrc);
}

int TEmfRecorderDC::SetDIBitsToDevice(int X, int Y, DWORD W, DWORD H, int XSrc, int YSrc,
                                      UINT StartScan, UINT Lines, const void* Bits,
                                      const BITMAPINFO* Info, UINT Usage) {
  TEmrSetDIBitsToDevice D;
  if (!CallerDib(Info, Bits, Usage, Integer(std::min<UINT>(Lines, 0x7FFFFFFF)), D.Bmi, D.Bits)) return 0;
  D.Bounds = AccumulateBox(X, Y, X + int(W), Y + int(H), false);
  D.xDest = X;
  D.yDest = Y;
  D.xSrc = XSrc;
  D.ySrc = YSrc;
  D.cxSrc = Integer(W);
  D.cySrc = Integer(H);
  D.Usage = Usage;
  D.StartScan = StartScan;
  D.Scans = Lines;
  Emit(D);
  return int(Lines);
}

BOOL TEmfRecorderDC::MaskBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, HBITMAP Mask,
                             int XMask, int YMask, DWORD Rop) {
  if (!Mask) return BitBlt(X, Y, W, H, Src, XSrc, YSrc, Rop & 0x00FFFFFF);
  auto* M = GdiLookupAs<TBitmapObject>(Mask);
  if (!M || M->BitsPerPixel != 1) return FALSE;
  TEmrMaskBlt B;
  // The foreground code sits in the usual place, the background code in the top byte.
  const bool UsesSource = RopUsesSource(Rop & 0x00FFFFFF) || RopUsesSource((Rop >> 8) & 0x00FF0000);
  if (UsesSource && !SourceDib(Src, XSrc, YSrc, W, H, B.Bmi, B.Bits)) return FALSE;
  // The mask goes in as a monochrome DIB of the transfer's size, from its
  // own origin; bit 1 selects the foreground operation.
  const int MW = std::abs(W), MH = std::abs(H);
  if (MW == 0 || MH == 0 || Int64(MW) * MH > MaxDibPixels) return FALSE;
  TDib D = MakeDib(MW, MH, 1);
  for (int J = 0; J < MH; ++J) {
    Byte* Row = D.ScanLine(J);
    for (int I = 0; I < MW; ++I) {
      const int Mx = XMask + I, My = YMask + J;
      const bool On = Mx >= 0 && My >= 0 && Mx < M->Width && My < M->Height && M->GetPixelValue(Mx, My) != 0;
      if (On) Row[I / 8] |= Byte(0x80 >> (I % 8));
    }
  }
  B.MaskBmi = DibInfoBytes(D);
  B.MaskBits = std::move(D.Bits);
  PlaceTransfer(B, AccumulateBox(X, Y, X + W, Y + H, false), X, Y, W, H, Rop);
  if (UsesSource) B.BkColorSrc = GdiLookupDC(Src)->State().BkColor;
  Emit(B);
  return TRUE;
}

BOOL TEmfRecorderDC::GradientFill(const TRIVERTEX* Vert, ULONG NVert, const void* Mesh, ULONG NMesh,
                                  ULONG Mode) {
  if (!Vert || !Mesh || Mode > GRADIENT_FILL_TRIANGLE || NVert == 0) return FALSE;
  const bool Tri = Mode == GRADIENT_FILL_TRIANGLE;
  TEmrGradientFill G;
  G.Mode = Mode;
  G.Vertices.assign(Vert, Vert + NVert);
  const ULONG* Ids = static_cast<const ULONG*>(Mesh);
  G.Indices.assign(Ids, Ids + std::size_t(NMesh) * (Tri ? 3 : 2));
  for (ULONG I : G.Indices)
    if (I >= NVert) return FALSE;
  int L = Vert[0].x, T = Vert[0].y, R = L, B = T;
  for (ULONG I = 1; I < NVert; ++I) {
    L = std::min<int>(L, Vert[I].x);
    T = std::min<int>(T, Vert[I].y);
    R = std::max<int>(R, Vert[I].x);
    B = std::max<int>(B, Vert[I].y);
  }
  G.Bounds = AccumulateBox(L, T, R, B, false);
  Emit(G);
  return TRUE;
}

BOOL TEmfRecorderDC::StretchedSourceRecord(DWORD Type, int X, int Y, int W, int H, HDC Src, int XSrc,
                                           int YSrc, int WSrc, int HSrc, DWORD Param, bool KeepAlpha) {
  if (W < 0 || H < 0 || WSrc < 0 || HSrc < 0) return FALSE;
  TEmrBitBlt B;
  B.Type = Type;
  if (!SourceDib(Src, XSrc, YSrc, WSrc, HSrc, B.Bmi, B.Bits, KeepAlpha)) return FALSE;
  // The source size in the embedded bitmap's own pixels, as for STRETCHBLT.
  B.cxSrc = std::abs(Integer(EmfGetDword(B.Bmi.data() + 4)));
  B.cySrc = std::abs(Integer(EmfGetDword(B.Bmi.data() + 8)));
  PlaceTransfer(B, AccumulateBox(X, Y, X + W, Y + H, false), X, Y, W, H, Param);
  B.BkColorSrc = GdiLookupDC(Src)->State().BkColor;
  Emit(B);
  return TRUE;
}

BOOL TEmfRecorderDC::AlphaBlend(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc,
                                const BLENDFUNCTION& Blend) {
  if (Blend.BlendOp != AC_SRC_OVER) return FALSE;
  const DWORD Packed = DWORD(Blend.BlendOp) | (DWORD(Blend.BlendFlags) << 8) |
                       (DWORD(Blend.SourceConstantAlpha) << 16) | (DWORD(Blend.AlphaFormat) << 24);
  return StretchedSourceRecord(EMR_ALPHABLEND, X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, Packed,
                               /*KeepAlpha=*/(Blend.AlphaFormat & AC_SRC_ALPHA) != 0);
}

BOOL TEmfRecorderDC::TransparentBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                                    int HSrc, UINT Transparent) {
  return StretchedSourceRecord(EMR_TRANSPARENTBLT, X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, Transparent,
                               /*KeepAlpha=*/false);
}
