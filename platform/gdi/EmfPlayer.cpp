#include "platform/gdi/EmfPlayer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DcObject.h"
#include "platform/gdi/DibBitmaps.h"
#include "platform/gdi/EmfMapping.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Font.h"

namespace {

// Pen widths beyond any real drawing (a corrupt record) are cut down, so
// that stroking stays cheap.
int PenWidth(Integer W) { return std::clamp(W, -(1 << 16), 1 << 16); }

// Whether the pixel bytes hold every row the info block describes (Rows
// limits them for SetDIBitsToDevice): the DC reads as many as the header says.
bool BitsSuffice(const std::vector<Byte>& Bmi, const std::vector<Byte>& Bits, UINT Usage,
                 Int64 Rows = -1) {
  if (Bmi.size() < 12) return false;
  try {
    TDibInfo I = ParseDibInfo(Bmi.data(), Bmi.size(), Usage);
    if (I.Compression != BI_RGB && I.Compression != BI_BITFIELDS)
      return I.Dib.Header.biSizeImage != 0 && Bits.size() >= I.Dib.Header.biSizeImage;
    Int64 H = I.Dib.Height();
    if (Rows >= 0) H = std::min(H, Rows);
    return Int64(Bits.size()) >= Int64(I.Dib.Stride()) * H;
  } catch (const Exception&) {
    return false;
  }
}

// A rectangle from origin and size, unless the far edge overflows.
bool SafeBounds(Integer X, Integer Y, Integer Cx, Integer Cy, TRect& R) {
  const Int64 Rt = Int64(X) + Cx, Bt = Int64(Y) + Cy;
  if (Rt < INT32_MIN || Rt > INT32_MAX || Bt < INT32_MIN || Bt > INT32_MAX) return false;
  R = TRect(X, Y, Integer(Rt), Integer(Bt));
  return true;
}

// A memory DC holding a record's bitmap as a 32-bit DIB section (alpha
// kept), or as a monochrome bitmap for a mask. Empty when the bitmap does
// not decode; a corrupt bitmap draws nothing rather than stopping the play.
class TRecordBitmap {
public:
  TRecordBitmap(const std::vector<Byte>& Bmi, const std::vector<Byte>& Bits, UINT Usage, bool Mono) {
    if (!BitsSuffice(Bmi, Bits, Usage)) return;
    TDib D;
    try {
      D = DibFromInfo(Bmi.data(), Bmi.size(), Bits.data(), Bits.size(), Usage);
    } catch (const Exception&) {
      return;
    }
    if (D.Empty()) return;
    FWidth = D.Width();
    FHeight = D.Height();
    std::vector<std::uint32_t> Px = DibToBgra32(D);
    if (Mono) {
      // Rows of CreateBitmap's monochrome bits are WORD-aligned; a light
      // pixel is a 1 bit.
      const std::size_t Stride = std::size_t((FWidth + 15) / 16) * 2;
      std::vector<Byte> Rows(Stride * std::size_t(FHeight), 0);
      for (int Y = 0; Y < FHeight; ++Y)
        for (int X = 0; X < FWidth; ++X)
          if ((Px[std::size_t(Y) * FWidth + X] & 0xFFFFFF) != 0) Rows[Y * Stride + X / 8] |= Byte(0x80 >> (X % 8));
      FBitmap = CreateBitmap(FWidth, FHeight, 1, 1, Rows.data());
    } else {
      BITMAPINFO Info{};
      Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      Info.bmiHeader.biWidth = FWidth;
      Info.bmiHeader.biHeight = -FHeight;
      Info.bmiHeader.biPlanes = 1;
      Info.bmiHeader.biBitCount = 32;
      void* Out = nullptr;
      FBitmap = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Out, nullptr, 0);
      if (FBitmap && Out) std::memcpy(Out, Px.data(), Px.size() * 4);
    }
    if (!FBitmap) return;
    FDc = CreateCompatibleDC(nullptr);
    FOld = SelectObject(FDc, FBitmap);
  }
  ~TRecordBitmap() {
    if (FDc) {
      SelectObject(FDc, FOld);
      DeleteDC(FDc);
    }
    if (FBitmap) DeleteObject(FBitmap);
  }
  TRecordBitmap(const TRecordBitmap&) = delete;
  TRecordBitmap& operator=(const TRecordBitmap&) = delete;
  explicit operator bool() const { return FDc != nullptr; }
  HDC Dc() const { return FDc; }
  HBITMAP Bitmap() const { return FBitmap; }
  // Our recorder embeds exactly the source rectangle; other writers embed
  // the whole source bitmap and give the rectangle's place in it.
  TPoint Origin(Integer XSrc, Integer YSrc, Integer CxSrc, Integer CySrc) const {
    if (FWidth == std::abs(CxSrc) && FHeight == std::abs(CySrc)) return {0, 0};
    return {XSrc, YSrc};
  }

private:
  int FWidth = 0, FHeight = 0;
  HBITMAP FBitmap = nullptr;
  HDC FDc = nullptr;
  HGDIOBJ FOld = nullptr;
};

XFORM ToXForm(const TEmfXForm& X) { return {X.eM11, X.eM12, X.eM21, X.eM22, X.eDx, X.eDy}; }

TRegionData RegionOf(const std::vector<TRect>& Rects) {
  TRegionData R;
  for (const TRect& Rc : Rects)
    if (!Rc.IsEmpty()) R = TRegionData::Combine(R, TRegionData(Rc), RGN_OR);
  return R;
}

// One playback: the target, the mapping from the metafile's device units to
// the target's, and the object table.
class TEmfPlayer {
public:
  TEmfPlayer(HDC Dc, const TEmrHeader& H, HANDLETABLE* Table, int Handles)
      : FDc(Dc), FMap(H.Device, H.Millimeters), FTable(Table), FHandles(Handles) {}

  // Saves the target and sets up the frame mapping; false for a frame of
  // no size.
  bool Begin(const TEmrHeader& H, const TRect* Rect);
  void End();
  void Play(const TEmfRecord& R);

private:
  void UpdateTransform();
  bool Slot(DWORD Index) const { return Index >= 1 && Index < DWORD(FHandles); }
  void Store(DWORD Index, HGDIOBJ Obj);
  HGDIOBJ Object(DWORD Index) const;
  HBRUSH PatternBrush(const std::vector<Byte>& Bmi, const std::vector<Byte>& Bits, UINT Usage, bool Mono);
  TRegionData DeviceRegion(const TEmfRegionData& R) const;
  bool ClipHuge(TRect& Dest, TRect* Src) const;
  void DibBlit(const TRect& Dest, TRect Src, const std::vector<Byte>& Bmi,
               const std::vector<Byte>& Bits, UINT Usage, DWORD Rop);

  HDC FDc;
  TEmfMapping FMap;
  TEmfXForm FBase;   // metafile device units -> target device units
  XFORM FXForm;
  HANDLETABLE* FTable;
  int FHandles;
  int FSavedLevel = 0;
  int FDepth = 0;    // SaveDC levels the metafile has opened
};

bool TEmfPlayer::Begin(const TEmrHeader& H, const TRect* Rect) {
  FBase = {};
  if (Rect) {
    // The frame in whole reference-device pixels: .01 mm cannot say a pixel
    // size exactly, and a picture played at its own size must not shift.
    const double PxX = double(H.Device.cx) / std::max(1, H.Millimeters.cx) / 100;
    const double PxY = double(H.Device.cy) / std::max(1, H.Millimeters.cy) / 100;
    const double FL = std::round(H.Frame.Left * PxX), FT = std::round(H.Frame.Top * PxY);
    const double FW = std::round((H.Frame.Right - H.Frame.Left) * PxX);
    const double FH = std::round((H.Frame.Bottom - H.Frame.Top) * PxY);
    if (FW == 0 || FH == 0) return false;
    TPoint Corners[2] = {Rect->TopLeft(), Rect->BottomRight()};
    LPtoDP(FDc, Corners, 2);
    FBase.eM11 = float((Corners[1].X - Corners[0].X) / FW);
    FBase.eM22 = float((Corners[1].Y - Corners[0].Y) / FH);
    FBase.eDx = float(Corners[0].X - FL * FBase.eM11);
    FBase.eDy = float(Corners[0].Y - FT * FBase.eM22);
  } else {
    // No rectangle: the metafile's device units are the target's logical units.
    TPoint Org{0, 0};
    LPtoDP(FDc, &Org, 1);
    TPoint One{1, 1};
    LPtoDP(FDc, &One, 1);
    FBase.eM11 = float(One.X - Org.X);
    FBase.eM22 = float(One.Y - Org.Y);
    FBase.eDx = float(Org.X);
    FBase.eDy = float(Org.Y);
  }
  FSavedLevel = SaveDC(FDc);
  if (!FSavedLevel) return false;
  // From here the target's mapping is the metafile's mapping followed by
  // the frame mapping (UpdateTransform).
  SetMapMode(FDc, MM_TEXT);
  SetWindowOrgEx(FDc, 0, 0, nullptr);
  SetViewportOrgEx(FDc, 0, 0, nullptr);
  // What is clipped now stays clipped: the metafile's clip records work inside it.
  SetMetaRgn(FDc);
  // Defaults a metafile assumes.
  SelectObject(FDc, GetStockObject(BLACK_PEN));
  SelectObject(FDc, GetStockObject(WHITE_BRUSH));
  SelectObject(FDc, GetStockObject(SYSTEM_FONT));
  SetTextColor(FDc, RGB(0, 0, 0));
  SetBkColor(FDc, RGB(255, 255, 255));
  SetBkMode(FDc, OPAQUE);
  SetTextAlign(FDc, 0);
  SetPolyFillMode(FDc, ALTERNATE);
  SetROP2(FDc, R2_COPYPEN);
  UpdateTransform();
  return true;
}

void TEmfPlayer::UpdateTransform() {
  const TEmfXForm T = EmfCombine(FMap.Transform(), FBase);
  if (FMap.WorldIsIdentity() && T.eM12 == 0 && T.eM21 == 0) {
    // Scale and offset only: the target maps them itself in compatible
    // mode, where rectangles and ellipses leave out their right and bottom
    // edges as they did when the picture was recorded.
    constexpr int K = 1 << 16;
    ModifyWorldTransform(FDc, nullptr, MWT_IDENTITY);
    SetGraphicsMode(FDc, GM_COMPATIBLE);
    SetMapMode(FDc, MM_ANISOTROPIC);
    SetWindowOrgEx(FDc, 0, 0, nullptr);
    SetWindowExtEx(FDc, K, K, nullptr);
    auto Ext = [](double V) {
      long E = std::lround(std::clamp(V * K, -1e9, 1e9));
      return int(E == 0 ? 1 : E);
    };
    SetViewportExtEx(FDc, Ext(T.eM11), Ext(T.eM22), nullptr);
    SetViewportOrgEx(FDc, int(std::lround(std::clamp<double>(T.eDx, -1e9, 1e9))),
                     int(std::lround(std::clamp<double>(T.eDy, -1e9, 1e9))), nullptr);
    return;
  }
  SetMapMode(FDc, MM_TEXT);
  SetViewportOrgEx(FDc, 0, 0, nullptr);
  SetGraphicsMode(FDc, GM_ADVANCED);
  FXForm = ToXForm(T);
  SetWorldTransform(FDc, &FXForm);
}

void TEmfPlayer::End() {
  if (FSavedLevel) RestoreDC(FDc, FSavedLevel);
  FSavedLevel = 0;
  for (int I = 1; I < FHandles; ++I)
    if (FTable->objectHandle[I]) {
      DeleteObject(FTable->objectHandle[I]);
      FTable->objectHandle[I] = nullptr;
    }
}

void TEmfPlayer::Store(DWORD Index, HGDIOBJ Obj) {
  if (!Slot(Index)) {
    if (Obj) DeleteObject(Obj);
    return;
  }
  if (FTable->objectHandle[Index]) DeleteObject(FTable->objectHandle[Index]);
  FTable->objectHandle[Index] = Obj;
}

HGDIOBJ TEmfPlayer::Object(DWORD Index) const {
  if (Index & ENHMETA_STOCK_OBJECT) {
    const DWORD Stock = Index & 0x7FFFFFFF;
    return Stock <= 19 ? GetStockObject(int(Stock)) : nullptr;
  }
  return Slot(Index) ? FTable->objectHandle[Index] : nullptr;
}

HBRUSH TEmfPlayer::PatternBrush(const std::vector<Byte>& Bmi, const std::vector<Byte>& Bits,
                                UINT Usage, bool Mono) {
  TDib D = DibFromInfo(Bmi.data(), Bmi.size(), Bits.data(), Bits.size(), Usage);
  if (D.Empty()) return nullptr;
  HBITMAP Bmp;
  if (Mono) {
    // A monochrome pattern paints with the text and background colours:
    // a 1-bit device bitmap, set bits for light palette entries.
    const int W = D.Width(), H = D.Height(), Stride = ((W + 15) / 16) * 2;
    std::vector<Byte> Plane(std::size_t(Stride) * H, 0);
    std::vector<std::uint32_t> Px = DibToBgra32(D);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        std::uint32_t C = Px[std::size_t(Y) * W + X];
        if (((C & 0xFF) + ((C >> 8) & 0xFF) + ((C >> 16) & 0xFF)) >= 384)
          Plane[std::size_t(Y) * Stride + X / 8] |= Byte(0x80 >> (X % 8));
      }
    Bmp = CreateBitmap(W, H, 1, 1, Plane.data());
  } else {
    Bmp = CreateDIBitmap(FDc, &D.Header, CBM_INIT, D.Bits.data(),
                         reinterpret_cast<const BITMAPINFO*>(DibInfoBytes(D).data()), DIB_RGB_COLORS);
  }
  if (!Bmp) return nullptr;
  HBRUSH B = CreatePatternBrush(Bmp);
  DeleteObject(Bmp);
  return B;
}

TRegionData TEmfPlayer::DeviceRegion(const TEmfRegionData& R) const {
  // Clip regions are stored in the metafile's device units.
  std::vector<TRect> Rects;
  for (const TRect& Rc : R.Rects) {
    double L = Rc.Left * FBase.eM11 + FBase.eDx, T = Rc.Top * FBase.eM22 + FBase.eDy;
    double Rr = Rc.Right * FBase.eM11 + FBase.eDx, B = Rc.Bottom * FBase.eM22 + FBase.eDy;
    Rects.push_back({Integer(std::lround(std::min(L, Rr))), Integer(std::lround(std::min(T, B))),
                     Integer(std::lround(std::max(L, Rr))), Integer(std::lround(std::max(T, B)))});
  }
  return RegionOf(Rects);
}

void TEmfPlayer::DibBlit(const TRect& Dest, TRect Src, const std::vector<Byte>& Bmi,
                         const std::vector<Byte>& Bits, UINT Usage, DWORD Rop) {
  if (!BitsSuffice(Bmi, Bits, Usage)) return;
  // Our recorder embeds exactly the source rectangle; other writers embed
  // the whole source bitmap and give the rectangle's place in it.
  TDibInfo I = ParseDibInfo(Bmi.data(), Bmi.size(), Usage);
  if (I.Dib.Width() == std::abs(Src.Width()) && I.Dib.Height() == std::abs(Src.Height()))
    Src = Bounds(0, 0, Src.Width(), Src.Height());
  TRect D = Dest;
  if (!ClipHuge(D, &Src)) return;
  StretchDIBits(FDc, D.Left, D.Top, D.Width(), D.Height(), Src.Left, Src.Top, Src.Width(),
                Src.Height(), Bits.data(), reinterpret_cast<const BITMAPINFO*>(Bmi.data()), Usage, Rop);
}

bool TEmfPlayer::ClipHuge(TRect& Dest, TRect* Src) const {
  // A destination far larger than anything visible (a corrupt size) is cut
  // to the clip box first, the source in proportion, so that the target
  // does not walk billions of pixels. Normal sizes pass untouched.
  constexpr Int64 Huge = 1 << 15;
  if (std::llabs(Int64(Dest.Width())) <= Huge && std::llabs(Int64(Dest.Height())) <= Huge) return true;
  TRect Box;
  if (GetClipBox(FDc, &Box) == ERROR) return false;
  const double L = std::min(Dest.Left, Dest.Right), R = std::max(Dest.Left, Dest.Right);
  const double T = std::min(Dest.Top, Dest.Bottom), B = std::max(Dest.Top, Dest.Bottom);
  const double CL = std::max<double>(L, Box.Left), CR = std::min<double>(R, Box.Right);
  const double CT = std::max<double>(T, Box.Top), CB = std::min<double>(B, Box.Bottom);
  if (CL >= CR || CT >= CB) return false;
  if (Src) {
    const double Fx = double(Src->Width()) / (R - L), Fy = double(Src->Height()) / (B - T);
    *Src = TRect(Integer(Src->Left + (CL - L) * Fx), Integer(Src->Top + (CT - T) * Fy),
                 Integer(Src->Left + (CR - L) * Fx) + 1, Integer(Src->Top + (CB - T) * Fy) + 1);
  }
  Dest = TRect(Integer(CL), Integer(CT), Integer(CR), Integer(CB));
  return true;
}

void TEmfPlayer::Play(const TEmfRecord& R) {
  const DWORD T = R.Type();
  if (FMap.Apply(R)) {
    if (T == EMR_SAVEDC) {
      if (SaveDC(FDc)) ++FDepth;
    } else if (T == EMR_RESTOREDC) {
      const Integer Level = Integer(TEmrDword::Read(R).Value);
      // Levels count within the metafile; absolute ones become relative.
      const int Rel = Level < 0 ? Level : Level - FDepth - 1;
      if (Level == 0 || -Rel > FDepth || Rel >= 0) return;
      if (RestoreDC(FDc, Rel)) FDepth += Rel;
    }
    UpdateTransform();
    return;
  }
  TDC* D = GdiLookupDC(FDc);
  auto PointsOf = [](const TEmrPoly& P) { return P.Points; };
  switch (T) {
    case EMR_SETBKMODE: SetBkMode(FDc, int(TEmrDword::Read(R).Value)); break;
    case EMR_SETPOLYFILLMODE: SetPolyFillMode(FDc, int(TEmrDword::Read(R).Value)); break;
    case EMR_SETROP2: SetROP2(FDc, int(TEmrDword::Read(R).Value)); break;
    case EMR_SETSTRETCHBLTMODE: SetStretchBltMode(FDc, int(TEmrDword::Read(R).Value)); break;
    case EMR_SETTEXTALIGN: SetTextAlign(FDc, TEmrDword::Read(R).Value); break;
    case EMR_SETTEXTCOLOR: SetTextColor(FDc, TEmrDword::Read(R).Value); break;
    case EMR_SETBKCOLOR: SetBkColor(FDc, TEmrDword::Read(R).Value); break;
    case EMR_SETARCDIRECTION: SetArcDirection(FDc, int(TEmrDword::Read(R).Value)); break;
    case EMR_SETMAPPERFLAGS: SetMapperFlags(FDc, TEmrDword::Read(R).Value); break;
    case EMR_SETMITERLIMIT: SetMiterLimit(FDc, float(TEmrDword::Read(R).Value), nullptr); break;
    case EMR_SETBRUSHORGEX: {
      TPoint P = TEmrPointL::Read(R).Pt;
      SetBrushOrgEx(FDc, P.X, P.Y, nullptr);
      break;
    }
    case EMR_REALIZEPALETTE: RealizePalette(FDc); break;
    case EMR_SELECTPALETTE:
      if (HGDIOBJ P = Object(TEmrDword::Read(R).Value)) SelectPalette(FDc, HPALETTE(P), FALSE);
      break;
    case EMR_SELECTOBJECT:
      if (HGDIOBJ O = Object(TEmrDword::Read(R).Value)) SelectObject(FDc, O);
      break;
    case EMR_DELETEOBJECT: {
      DWORD I = TEmrDword::Read(R).Value;
      if (Slot(I) && FTable->objectHandle[I]) {
        DeleteObject(FTable->objectHandle[I]);
        FTable->objectHandle[I] = nullptr;
      }
      break;
    }
    case EMR_CREATEPEN: {
      TEmrCreatePen X = TEmrCreatePen::Read(R);
      if (Slot(X.ihPen)) Store(X.ihPen, CreatePen(int(X.Style), PenWidth(X.Width.X), X.Color));
      break;
    }
    case EMR_EXTCREATEPEN: {
      TEmrExtCreatePen X = TEmrExtCreatePen::Read(R);
      if (!Slot(X.ihPen)) break;
      LOGBRUSH B;
      B.lbStyle = X.BrushStyle == BS_SOLID || X.BrushStyle == BS_NULL || X.BrushStyle == BS_HATCHED
                      ? X.BrushStyle : BS_SOLID;
      B.lbColor = X.Color;
      B.lbHatch = X.Hatch;
      Store(X.ihPen, ExtCreatePen(X.PenStyle, DWORD(PenWidth(Integer(std::min<DWORD>(X.Width, INT32_MAX)))), &B, DWORD(X.StyleEntries.size()),
                                  X.StyleEntries.empty() ? nullptr : X.StyleEntries.data()));
      break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
      TEmrCreateBrushIndirect X = TEmrCreateBrushIndirect::Read(R);
      if (!Slot(X.ihBrush)) break;
      LOGBRUSH B;
      B.lbStyle = X.Style;
      B.lbColor = X.Color;
      B.lbHatch = X.Hatch;
      Store(X.ihBrush, CreateBrushIndirect(&B));
      break;
    }
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT: {
      TEmrCreateDibBrush X = TEmrCreateDibBrush::Read(R);
      if (Slot(X.ihBrush))
        Store(X.ihBrush, PatternBrush(X.Bmi, X.Bits, X.Usage, T == EMR_CREATEMONOBRUSH));
      break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
      TEmrExtCreateFontIndirectW X = TEmrExtCreateFontIndirectW::Read(R);
      if (!Slot(X.ihFont)) break;
      const TEmfLogFont& F = X.Font;
      LOGFONTW L;
      L.lfHeight = F.Height;
      L.lfWidth = F.Width;
      L.lfEscapement = F.Escapement;
      L.lfOrientation = F.Orientation;
      L.lfWeight = F.Weight;
      L.lfItalic = F.Italic;
      L.lfUnderline = F.Underline;
      L.lfStrikeOut = F.StrikeOut;
      L.lfCharSet = F.CharSet;
      L.lfOutPrecision = F.OutPrecision;
      L.lfClipPrecision = F.ClipPrecision;
      L.lfQuality = F.Quality;
      L.lfPitchAndFamily = F.PitchAndFamily;
      std::copy_n(F.FaceName.begin(), std::min<std::size_t>(F.FaceName.size(), LF_FACESIZE - 1), L.lfFaceName);
      Store(X.ihFont, CreateFontIndirectW(&L));
      break;
    }
    case EMR_CREATEPALETTE: {
      TEmrCreatePalette X = TEmrCreatePalette::Read(R);
      if (!Slot(X.ihPal) || X.Entries.empty()) break;
      std::vector<Byte> Buf(sizeof(LOGPALETTE) + X.Entries.size() * sizeof(PALETTEENTRY));
      auto* Pal = reinterpret_cast<LOGPALETTE*>(Buf.data());
      Pal->palVersion = 0x300;
      Pal->palNumEntries = WORD(X.Entries.size());
      for (std::size_t I = 0; I < X.Entries.size(); ++I) {
        DWORD E = X.Entries[I];
        Pal->palPalEntry[I] = {Byte(E), Byte(E >> 8), Byte(E >> 16), Byte(E >> 24)};
      }
      Store(X.ihPal, CreatePalette(Pal));
      break;
    }
    case EMR_MOVETOEX: {
      TPoint P = TEmrPointL::Read(R).Pt;
      MoveToEx(FDc, P.X, P.Y, nullptr);
      break;
    }
    case EMR_LINETO: {
      TPoint P = TEmrPointL::Read(R).Pt;
      LineTo(FDc, P.X, P.Y);
      break;
    }
    case EMR_RECTANGLE: case EMR_ELLIPSE: {
      TRect B = TEmrRectL::Read(R).Rect;
      (T == EMR_RECTANGLE ? Rectangle : Ellipse)(FDc, B.Left, B.Top, B.Right, B.Bottom);
      break;
    }
    case EMR_ROUNDRECT: {
      TEmrRoundRect X = TEmrRoundRect::Read(R);
      RoundRect(FDc, X.Box.Left, X.Box.Top, X.Box.Right, X.Box.Bottom, X.Corner.cx, X.Corner.cy);
      break;
    }
    case EMR_ARC: case EMR_CHORD: case EMR_PIE: case EMR_ARCTO: {
      TEmrArc X = TEmrArc::Read(R);
      auto Fn = T == EMR_ARC ? Arc : T == EMR_CHORD ? Chord : T == EMR_PIE ? Pie : ArcTo;
      Fn(FDc, X.Box.Left, X.Box.Top, X.Box.Right, X.Box.Bottom, X.Start.X, X.Start.Y, X.End.X, X.End.Y);
      break;
    }
    case EMR_ANGLEARC: {
      TEmrAngleArc X = TEmrAngleArc::Read(R);
      AngleArc(FDc, X.Center.X, X.Center.Y, X.Radius, X.StartAngle, X.SweepAngle);
      break;
    }
    case EMR_POLYLINE: case EMR_POLYLINE16: {
      auto P = PointsOf(TEmrPoly::Read(R));
      Polyline(FDc, P.data(), int(P.size()));
      break;
    }
    case EMR_POLYGON: case EMR_POLYGON16: {
      auto P = PointsOf(TEmrPoly::Read(R));
      Polygon(FDc, P.data(), int(P.size()));
      break;
    }
    case EMR_POLYLINETO: case EMR_POLYLINETO16: {
      auto P = PointsOf(TEmrPoly::Read(R));
      PolylineTo(FDc, P.data(), DWORD(P.size()));
      break;
    }
    case EMR_POLYBEZIER: case EMR_POLYBEZIER16: {
      auto P = PointsOf(TEmrPoly::Read(R));
      PolyBezier(FDc, P.data(), DWORD(P.size()));
      break;
    }
    case EMR_POLYBEZIERTO: case EMR_POLYBEZIERTO16: {
      auto P = PointsOf(TEmrPoly::Read(R));
      PolyBezierTo(FDc, P.data(), DWORD(P.size()));
      break;
    }
    case EMR_POLYPOLYGON: case EMR_POLYPOLYGON16: {
      TEmrPolyPoly X = TEmrPolyPoly::Read(R);
      std::vector<int> C;
      for (DWORD N : X.Counts) {
        if (N > 0x7FFFFFFF) return;
        C.push_back(int(N));
      }
      PolyPolygon(FDc, X.Points.data(), C.data(), int(C.size()));
      break;
    }
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYLINE16: {
      TEmrPolyPoly X = TEmrPolyPoly::Read(R);
      PolyPolyline(FDc, X.Points.data(), X.Counts.data(), DWORD(X.Counts.size()));
      break;
    }
    case EMR_POLYDRAW: case EMR_POLYDRAW16: {
      // Point by point: move, line or three Bezier points.
      TEmrPolyDraw X = TEmrPolyDraw::Read(R);
      TPoint Start{};
      GetCurrentPositionEx(FDc, &Start);
      for (std::size_t I = 0; I < X.Points.size(); ++I) {
        const Byte Kind = X.Types[I] & 0x06;
        if (Kind == 0x06) {
          MoveToEx(FDc, X.Points[I].X, X.Points[I].Y, nullptr);
          Start = X.Points[I];
        } else if (Kind == 0x04 && I + 2 < X.Points.size()) {
          PolyBezierTo(FDc, &X.Points[I], 3);
          I += 2;
        } else {
          LineTo(FDc, X.Points[I].X, X.Points[I].Y);
        }
        if (X.Types[I] & 0x01) LineTo(FDc, Start.X, Start.Y);
      }
      break;
    }
    case EMR_SETPIXELV: {
      TEmrSetPixelV X = TEmrSetPixelV::Read(R);
      SetPixelV(FDc, X.Pt.X, X.Pt.Y, X.Color);
      break;
    }
    case EMR_EXTTEXTOUTW:
    case EMR_EXTTEXTOUTA: {
      TEmrExtTextOut X = TEmrExtTextOut::Read(R);
      const bool UseRect = X.Options & (ETO_OPAQUE | ETO_CLIPPED);
      const int* Dx = X.Dx.size() >= X.CharCount() && !X.Dx.empty() ? X.Dx.data() : nullptr;
      UINT Opts = X.Options & ~UINT(0x0100);  // ETO_NO_RECT: the rectangle is passed or not
      if (!Dx) Opts &= ~ETO_PDY;
      if (T == EMR_EXTTEXTOUTW)
        ExtTextOutW(FDc, X.Reference.X, X.Reference.Y, Opts, UseRect ? &X.Rect : nullptr,
                    reinterpret_cast<const WCHAR*>(X.Text.data()), UINT(X.Text.size()), Dx);
      else
        ExtTextOutA(FDc, X.Reference.X, X.Reference.Y, Opts, UseRect ? &X.Rect : nullptr,
                    X.AnsiText.data(), UINT(X.AnsiText.size()), Dx);
      break;
    }
    case EMR_BITBLT:
    case EMR_STRETCHBLT: {
      TEmrBitBlt X = TEmrBitBlt::Read(R);
      TRect Dest, Src;
      const bool Stretch = T == EMR_STRETCHBLT;
      if (!SafeBounds(X.xDest, X.yDest, X.cxDest, X.cyDest, Dest) ||
          !SafeBounds(X.xSrc, X.ySrc, Stretch ? X.cxSrc : X.cxDest, Stretch ? X.cySrc : X.cyDest, Src))
        break;
      if (X.Bmi.empty()) {
        TRect D = Dest;
        if (ClipHuge(D, nullptr)) PatBlt(FDc, D.Left, D.Top, D.Width(), D.Height(), X.Rop);
      } else {
        DibBlit(Dest, Src, X.Bmi, X.Bits, X.UsageSrc, X.Rop);
      }
      break;
    }
    case EMR_MASKBLT: {
      TEmrMaskBlt X = TEmrMaskBlt::Read(R);
      TRect Dest;
      if (!SafeBounds(X.xDest, X.yDest, X.cxDest, X.cyDest, Dest) || !ClipHuge(Dest, nullptr)) break;
      if (Dest.Width() != X.cxDest || Dest.Height() != X.cyDest) break;  // no sane transfer is that large
      TRecordBitmap Mask(X.MaskBmi, X.MaskBits, X.UsageMask, /*Mono=*/true);
      TRecordBitmap Source(X.Bmi, X.Bits, X.UsageSrc, /*Mono=*/false);
      if (!Mask) break;
      const TPoint S = Source ? Source.Origin(X.xSrc, X.ySrc, X.cxDest, X.cyDest) : TPoint{};
      if (Source) SetBkColor(Source.Dc(), X.BkColorSrc);
      MaskBlt(FDc, X.xDest, X.yDest, X.cxDest, X.cyDest, Source ? Source.Dc() : nullptr, S.X, S.Y,
              Mask.Bitmap(), X.xMask, X.yMask, X.Rop);
      break;
    }
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT: {
      TEmrBitBlt X = TEmrBitBlt::Read(R);
      TRect Dest;
      if (!SafeBounds(X.xDest, X.yDest, X.cxDest, X.cyDest, Dest) || !ClipHuge(Dest, nullptr)) break;
      if (Dest.Width() != X.cxDest || Dest.Height() != X.cyDest) break;
      TRecordBitmap Source(X.Bmi, X.Bits, X.UsageSrc, /*Mono=*/false);
      if (!Source) break;
      const TPoint S = Source.Origin(X.xSrc, X.ySrc, X.cxSrc, X.cySrc);
      if (T == EMR_ALPHABLEND) {
        BLENDFUNCTION B;
        B.BlendOp = Byte(X.Rop);
        B.BlendFlags = Byte(X.Rop >> 8);
        B.SourceConstantAlpha = Byte(X.Rop >> 16);
        B.AlphaFormat = Byte(X.Rop >> 24);
        AlphaBlend(FDc, X.xDest, X.yDest, X.cxDest, X.cyDest, Source.Dc(), S.X, S.Y, X.cxSrc, X.cySrc, B);
      } else {
        TransparentBlt(FDc, X.xDest, X.yDest, X.cxDest, X.cyDest, Source.Dc(), S.X, S.Y, X.cxSrc, X.cySrc,
                       X.Rop);
      }
      break;
    }
    case EMR_GRADIENTFILL: {
      TEmrGradientFill X = TEmrGradientFill::Read(R);
      // The raster fill walks only what lies inside the clip, however far
      // the vertices reach.
      if (X.Vertices.empty() || X.Indices.empty()) break;
      ::GradientFill(FDc, X.Vertices.data(), ULONG(X.Vertices.size()), X.Indices.data(),
                     ULONG(X.Indices.size() / (X.Mode == GRADIENT_FILL_TRIANGLE ? 3 : 2)), X.Mode);
      break;
    }
    case EMR_STRETCHDIBITS: {
      TEmrStretchDIBits X = TEmrStretchDIBits::Read(R);
      if (!BitsSuffice(X.Bmi, X.Bits, X.Usage)) break;
      TRect D, Src;
      if (!SafeBounds(X.xDest, X.yDest, X.cxDest, X.cyDest, D) ||
          !SafeBounds(X.xSrc, X.ySrc, X.cxSrc, X.cySrc, Src) || !ClipHuge(D, &Src))
        break;
      StretchDIBits(FDc, D.Left, D.Top, D.Width(), D.Height(), Src.Left, Src.Top, Src.Width(),
                    Src.Height(), X.Bits.data(), reinterpret_cast<const BITMAPINFO*>(X.Bmi.data()),
                    X.Usage, X.Rop);
      break;
    }
    case EMR_SETDIBITSTODEVICE: {
      TEmrSetDIBitsToDevice X = TEmrSetDIBitsToDevice::Read(R);
      if (!BitsSuffice(X.Bmi, X.Bits, X.Usage, X.Scans)) break;
      SetDIBitsToDevice(FDc, X.xDest, X.yDest, DWORD(X.cxSrc), DWORD(X.cySrc), X.xSrc, X.ySrc,
                        X.StartScan, X.Scans, X.Bits.data(),
                        reinterpret_cast<const BITMAPINFO*>(X.Bmi.data()), X.Usage);
      break;
    }
    case EMR_INTERSECTCLIPRECT:
    case EMR_EXCLUDECLIPRECT: {
      TRect B = TEmrRectL::Read(R).Rect;
      (T == EMR_INTERSECTCLIPRECT ? IntersectClipRect : ExcludeClipRect)(FDc, B.Left, B.Top, B.Right, B.Bottom);
      break;
    }
    case EMR_EXTSELECTCLIPRGN: {
      TEmrExtSelectClipRgn X = TEmrExtSelectClipRgn::Read(R);
      if (!D) break;
      if (X.HasRegion) {
        TRegionData Rgn = DeviceRegion(X.Region);
        D->ExtSelectClipRgn(&Rgn, int(X.Mode));
      } else if (X.Mode == RGN_COPY) {
        D->ExtSelectClipRgn(nullptr, RGN_COPY);
      }
      break;
    }
    case EMR_OFFSETCLIPRGN: {
      TPoint P = TEmrPointL::Read(R).Pt;
      OffsetClipRgn(FDc, P.X, P.Y);
      break;
    }
    case EMR_SETMETARGN: SetMetaRgn(FDc); break;
    case EMR_SELECTCLIPPATH: SelectClipPath(FDc, int(TEmrDword::Read(R).Value)); break;
    case EMR_FILLRGN: case EMR_FRAMERGN: case EMR_INVERTRGN: case EMR_PAINTRGN: {
      TEmrRegion X = TEmrRegion::Read(R);
      if (!D) break;
      TRegionData Rgn = RegionOf(X.Region.Rects);
      if (T == EMR_FILLRGN || T == EMR_FRAMERGN) {
        HGDIOBJ B = Object(X.ihBrush);
        if (!B) break;
        if (T == EMR_FILLRGN) D->FillRgn(Rgn, HBRUSH(B));
        else D->FrameRgn(Rgn, HBRUSH(B), X.Stroke.cx, X.Stroke.cy);
      } else if (T == EMR_INVERTRGN) {
        D->InvertRgn(Rgn);
      } else {
        D->PaintRgn(Rgn);
      }
      break;
    }
    case EMR_BEGINPATH: BeginPath(FDc); break;
    case EMR_ENDPATH: EndPath(FDc); break;
    case EMR_ABORTPATH: AbortPath(FDc); break;
    case EMR_CLOSEFIGURE: CloseFigure(FDc); break;
    case EMR_FILLPATH: FillPath(FDc); break;
    case EMR_STROKEPATH: StrokePath(FDc); break;
    case EMR_STROKEANDFILLPATH: StrokeAndFillPath(FDc); break;
    case EMR_FLATTENPATH: FlattenPath(FDc); break;
    case EMR_WIDENPATH: WidenPath(FDc); break;
    default:
      break;  // header, EOF, comments and records that do not draw
  }
}

// The playback an enumeration with a DC runs, found again by its table.
thread_local std::map<HANDLETABLE*, TEmfPlayer*> ActivePlayers;

int PlayCallback(HDC Dc, HANDLETABLE* Table, const ENHMETARECORD* Rec, int Objects, LPARAM) {
  PlayEnhMetaFileRecord(Dc, Table, Rec, UINT(Objects));
  return 1;
}

}  // namespace

BOOL EnumEnhMetaFile(HDC Dc, HENHMETAFILE Mf, ENHMFENUMPROC Proc, void* Data, const TRect* Rect) {
  auto Bytes = EmfBytes(Mf);
  if (!Bytes || !Proc) return 0;
  if (Dc && !GdiLookupDC(Dc)) return 0;
  TEmrHeader H = EmfReadHeader(*Bytes);
  const int Objects = std::max<int>(1, H.Handles);
  std::vector<HGDIOBJ> Handles(std::size_t(Objects), nullptr);
  Handles[0] = Mf;
  auto* Table = reinterpret_cast<HANDLETABLE*>(Handles.data());
  std::unique_ptr<TEmfPlayer> Player;
  if (Dc) {
    Player = std::make_unique<TEmfPlayer>(Dc, H, Table, Objects);
    if (!Player->Begin(H, Rect)) {
      Player->End();
      return 0;
    }
    ActivePlayers[Table] = Player.get();
  }
  bool Completed = true;
  try {
    EmfForEachRecord(*Bytes, [&](const TEmfRecord& R) {
      const auto* Rec = reinterpret_cast<const ENHMETARECORD*>(R.Data());
      if (!Proc(Dc, Table, Rec, Objects, reinterpret_cast<LPARAM>(Data))) {
        Completed = false;
        return false;
      }
      return true;
    });
  } catch (...) {
    if (Player) {
      ActivePlayers.erase(Table);
      Player->End();
    }
    throw;
  }
  if (Player) {
    ActivePlayers.erase(Table);
    Player->End();
  }
  return Completed ? 1 : 0;
}

BOOL PlayEnhMetaFile(HDC Dc, HENHMETAFILE Mf, const TRect* Rect) {
  if (!Dc) return 0;
  return EnumEnhMetaFile(Dc, Mf, PlayCallback, nullptr, Rect);
}

BOOL PlayEnhMetaFileRecord(HDC Dc, HANDLETABLE* Table, const ENHMETARECORD* Rec, UINT Handles) {
  if (!Dc || !Table || !Rec || !GdiLookupDC(Dc)) return 0;
  TEmfRecord R(Rec);
  auto It = ActivePlayers.find(Table);
  try {
    if (It != ActivePlayers.end()) {
      It->second->Play(R);
    } else {
      // Outside an enumeration: no frame mapping, objects kept in the caller's table.
      TEmrHeader H;
      H.Device = {1, 1};
      H.Millimeters = {1, 1};
      TEmfPlayer P(Dc, H, Table, int(Handles));
      P.Play(R);
    }
  } catch (const ENotImplemented&) {
    throw;
  } catch (const Exception&) {
    return 0;  // the record does not hold together: it alone is skipped
  }
  return 1;
}
