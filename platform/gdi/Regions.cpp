#include "platform/gdi/Regions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/DcObject.h"
#include "platform/gdi/Raster.h"

namespace {
TRegionObject* Rgn(HRGN H) { return static_cast<TRegionObject*>(GdiLookup(H, OBJ_REGION)); }

HRGN AddRegion(TRegionData D) {
  auto O = std::make_unique<TRegionObject>();
  O->Data = std::move(D);
  return HRGN(GdiAddObject(std::move(O)));
}

// Region coordinates are kept within 27 bits, as GDI's are.
int Clamp27(long long V) { return int(std::clamp<long long>(V, -(1 << 27), 1 << 27)); }
int Clamp27(double V) {
  if (!(V > -double(1 << 27))) return -(1 << 27);
  return V > double(1 << 27) ? 1 << 27 : int(std::floor(V + 0.5));
}

TRect Normalized(long long L, long long T, long long R, long long B) {
  return {Clamp27(std::min(L, R)), Clamp27(std::min(T, B)), Clamp27(std::max(L, R)), Clamp27(std::max(T, B))};
}
}  // namespace

HRGN CreateRectRgn(int L, int T, int R, int B) { return AddRegion(TRegionData(Normalized(L, T, R, B))); }
HRGN CreateRectRgnIndirect(const TRect* R) {
  return R ? CreateRectRgn(R->Left, R->Top, R->Right, R->Bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int L, int T, int R, int B, int W, int H) {
  TRect N = Normalized(L, T, R, B);
  return AddRegion(RasterRoundRectRegion(N, std::abs(W), std::abs(H), RasterLimit()));
}

HRGN CreateEllipticRgn(int L, int T, int R, int B) {
  return AddRegion(RasterEllipseRegion(Normalized(L, T, R, B), RasterLimit()));
}
HRGN CreateEllipticRgnIndirect(const TRect* R) {
  return R ? CreateEllipticRgn(R->Left, R->Top, R->Right, R->Bottom) : nullptr;
}

HRGN CreatePolyPolygonRgn(const TPoint* Points, const int* Counts, int NPolys, int FillMode) {
  if (!Points || !Counts || NPolys <= 0 || (FillMode != ALTERNATE && FillMode != WINDING))
    return nullptr;
  TPolygons Polys;
  const TPoint* P = Points;
  for (int I = 0; I < NPolys; ++I) {
    if (Counts[I] < 0) return nullptr;
    TPolygon Poly;
    for (int K = 0; K < Counts[I]; ++K) Poly.push_back({double(P[K].X), double(P[K].Y)});
    P += Counts[I];
    Polys.push_back(std::move(Poly));
  }
  return AddRegion(RasterPolygonRegion(Polys, FillMode, RasterLimit()));
}

HRGN CreatePolygonRgn(const TPoint* Points, int Count, int FillMode) {
  return CreatePolyPolygonRgn(Points, &Count, 1, FillMode);
}

HRGN ExtCreateRegion(const XFORM* Xf, DWORD Size, const RGNDATA* Data) {
  if (!Data || Size < sizeof(RGNDATAHEADER) || Data->rdh.dwSize < sizeof(RGNDATAHEADER) ||
      Data->rdh.iType != RDH_RECTANGLES)
    return nullptr;
  std::uint64_t Need = std::uint64_t(Data->rdh.dwSize) + std::uint64_t(Data->rdh.nCount) * sizeof(RECT);
  if (Need > Size) return nullptr;
  const Byte* Base = reinterpret_cast<const Byte*>(Data) + Data->rdh.dwSize;
  TRegionData Out;
  bool Identity = !Xf || (Xf->eM11 == 1 && Xf->eM12 == 0 && Xf->eM21 == 0 && Xf->eM22 == 1);
  for (DWORD I = 0; I < Data->rdh.nCount; ++I) {
    RECT R;
    std::memcpy(&R, Base + I * sizeof(RECT), sizeof R);
    TRegionData Piece;
    if (Identity) {
      long long DX = Xf ? Clamp27(double(Xf->eDx)) : 0, DY = Xf ? Clamp27(double(Xf->eDy)) : 0;
      Piece = TRegionData(Normalized(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY));
    } else {
      TPolygon Poly;
      for (auto [X, Y] : {std::pair{R.Left, R.Top}, {R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}})
        Poly.push_back({Xf->eM11 * X + Xf->eM21 * Y + Xf->eDx, Xf->eM12 * X + Xf->eM22 * Y + Xf->eDy});
      Piece = RasterPolygonRegion({Poly}, WINDING, RasterLimit());
    }
    Out = TRegionData::Combine(Out, Piece, RGN_OR);
  }
  return AddRegion(std::move(Out));
}

BOOL SetRectRgn(HRGN H, int L, int T, int R, int B) {
  TRegionObject* O = Rgn(H);
  if (!O) return FALSE;
  O->Data = TRegionData(Normalized(L, T, R, B));
  return TRUE;
}

int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode) {
  TRegionObject *D = Rgn(Dest), *A = Rgn(Src1);
  if (!D || !A || Mode < RGN_AND || Mode > RGN_COPY) return ERROR;
  if (Mode == RGN_COPY) {
    D->Data = A->Data;
    return D->Data.Kind();
  }
  TRegionObject* B = Rgn(Src2);
  if (!B) return ERROR;
  D->Data = TRegionData::Combine(A->Data, B->Data, Mode);
  return D->Data.Kind();
}

int OffsetRgn(HRGN H, int DX, int DY) {
  TRegionObject* O = Rgn(H);
  if (!O) return ERROR;
  if (!O->Data.IsEmpty()) {
    // The result must stay within 27 bits.
    const TRect B = O->Data.Bounds();
    const long long Lim = 1 << 27;
    if ((long long)B.Left + DX < -Lim || (long long)B.Right + DX > Lim ||
        (long long)B.Top + DY < -Lim || (long long)B.Bottom + DY > Lim)
      return ERROR;
  }
  O->Data.Offset(DX, DY);
  return O->Data.Kind();
}

BOOL PtInRegion(HRGN H, int X, int Y) {
  TRegionObject* O = Rgn(H);
  return O && O->Data.Contains(X, Y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN H, const TRect* R) {
  TRegionObject* O = Rgn(H);
  if (!O || !R) return FALSE;
  return O->Data.Intersects(Normalized(R->Left, R->Top, R->Right, R->Bottom)) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN A, HRGN B) {
  TRegionObject *OA = Rgn(A), *OB = Rgn(B);
  if (!OA || !OB) return ERROR;
  return OA->Data == OB->Data ? TRUE : FALSE;
}

int GetRgnBox(HRGN H, TRect* R) {
  TRegionObject* O = Rgn(H);
  if (!O || !R) return ERROR;
  *R = O->Data.Bounds();
  return O->Data.Kind();
}

DWORD GetRegionData(HRGN H, DWORD Size, RGNDATA* Data) {
  TRegionObject* O = Rgn(H);
  if (!O) return 0;
  const auto& Rects = O->Data.Rects();
  DWORD Need = DWORD(sizeof(RGNDATAHEADER) + Rects.size() * sizeof(RECT));
  if (!Data) return Need;
  if (Size < Need) return 0;
  RGNDATAHEADER Hd;
  Hd.dwSize = sizeof(RGNDATAHEADER);
  Hd.iType = RDH_RECTANGLES;
  Hd.nCount = DWORD(Rects.size());
  Hd.nRgnSize = DWORD(Rects.size() * sizeof(RECT));
  Hd.rcBound = O->Data.Bounds();
  std::memcpy(static_cast<void*>(Data), &Hd, sizeof Hd);
  if (!Rects.empty())
    std::memcpy(reinterpret_cast<Byte*>(Data) + sizeof Hd, Rects.data(), Rects.size() * sizeof(RECT));
  return Need;
}

// --- drawing with regions ------------------------------------------------------------

BOOL FillRgn(HDC Dc, HRGN H, HBRUSH Brush) {
  TDC* D = GdiLookupDC(Dc);
  TRegionObject* O = Rgn(H);
  return D && O && GdiLookup(Brush, OBJ_BRUSH) ? D->FillRgn(O->Data, Brush) : FALSE;
}
BOOL FrameRgn(HDC Dc, HRGN H, HBRUSH Brush, int W, int Ht) {
  TDC* D = GdiLookupDC(Dc);
  TRegionObject* O = Rgn(H);
  return D && O && GdiLookup(Brush, OBJ_BRUSH) ? D->FrameRgn(O->Data, Brush, W, Ht) : FALSE;
}
BOOL InvertRgn(HDC Dc, HRGN H) {
  TDC* D = GdiLookupDC(Dc);
  TRegionObject* O = Rgn(H);
  return D && O ? D->InvertRgn(O->Data) : FALSE;
}
BOOL PaintRgn(HDC Dc, HRGN H) {
  TDC* D = GdiLookupDC(Dc);
  TRegionObject* O = Rgn(H);
  return D && O ? D->PaintRgn(O->Data) : FALSE;
}

// --- clip ----------------------------------------------------------------------------------

int SelectClipRgn(HDC Dc, HRGN H) { return ExtSelectClipRgn(Dc, H, RGN_COPY); }

int ExtSelectClipRgn(HDC Dc, HRGN H, int Mode) {
  TDC* D = GdiLookupDC(Dc);
  if (!D) return ERROR;
  if (!H) return Mode == RGN_COPY ? D->ExtSelectClipRgn(nullptr, RGN_COPY) : ERROR;
  TRegionObject* O = Rgn(H);
  if (!O) return ERROR;
  return D->ExtSelectClipRgn(&O->Data, Mode);
}

int IntersectClipRect(HDC Dc, int L, int T, int R, int B) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->IntersectClipRect(L, T, R, B) : ERROR;
}
int ExcludeClipRect(HDC Dc, int L, int T, int R, int B) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->ExcludeClipRect(L, T, R, B) : ERROR;
}
int OffsetClipRgn(HDC Dc, int DX, int DY) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->OffsetClipRgn(DX, DY) : ERROR;
}
int GetClipBox(HDC Dc, TRect* R) {
  TDC* D = GdiLookupDC(Dc);
  if (!D || !R) return ERROR;
  return D->GetClipBox(*R);
}

int GetClipRgn(HDC Dc, HRGN H) {
  TDC* D = GdiLookupDC(Dc);
  TRegionObject* O = Rgn(H);
  if (!D || !O) return -1;
  if (!D->State().ClipRgn) return 0;
  O->Data = *D->State().ClipRgn;
  return 1;
}

int GetMetaRgn(HDC Dc, HRGN H) {
  TDC* D = GdiLookupDC(Dc);
  TRegionObject* O = Rgn(H);
  if (!D || !O) return 0;
  O->Data = D->State().MetaRgn ? *D->State().MetaRgn : TRegionData();
  return D->State().MetaRgn ? 1 : 0;
}

int SetMetaRgn(HDC Dc) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->SetMetaRgn() : ERROR;
}

BOOL PtVisible(HDC Dc, int X, int Y) {
  TDC* D = GdiLookupDC(Dc);
  if (!D) return -1;
  TPoint P = D->ToDevice(TPoint(X, Y));
  return D->DeviceClip().Contains(P.X + D->DeviceOrigin().X, P.Y + D->DeviceOrigin().Y);
}

BOOL RectVisible(HDC Dc, const TRect* R) {
  TDC* D = GdiLookupDC(Dc);
  if (!D || !R) return FALSE;
  TPoint A = D->ToDevice(R->TopLeft()), B = D->ToDevice(R->BottomRight());
  TRect Dev = Normalized(A.X, A.Y, B.X, B.Y);
  Dev.Left += D->DeviceOrigin().X; Dev.Right += D->DeviceOrigin().X;
  Dev.Top += D->DeviceOrigin().Y; Dev.Bottom += D->DeviceOrigin().Y;
  return D->DeviceClip().Intersects(Dev) ? TRUE : FALSE;
}

BOOL SelectClipPath(HDC Dc, int Mode) {
  TDC* D = GdiLookupDC(Dc);
  return D && D->SelectClipPath(Mode) != ERROR ? TRUE : FALSE;
}

HRGN PathToRegion(HDC Dc) {
  TDC* D = GdiLookupDC(Dc);
  if (!D) return nullptr;
  auto R = D->PathToRegion();
  return R ? AddRegion(std::move(*R)) : nullptr;
}
