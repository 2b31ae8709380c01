#include "platform/gdi/DcApi.h"

#include <algorithm>
#include <cmath>
#include <strings.h>
#include <cstring>
#include <mutex>

#include "platform/gdi/DcObject.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Exceptions.h"

// --- stock objects -------------------------------------------------------------

namespace {
HGDIOBJ AddStock(std::unique_ptr<TGdiObject> O) {
  O->Stock = true;
  return GdiAddObject(std::move(O));
}

std::unique_ptr<TPenObject> MakePen(DWORD Style, int Width, COLORREF Color) {
  auto P = std::make_unique<TPenObject>(OBJ_PEN);
  P->Style = Style;
  P->Width = Width;
  P->Color = Color;
  return P;
}

std::unique_ptr<TBrushObject> MakeSolid(COLORREF Color) {
  auto B = std::make_unique<TBrushObject>();
  B->Style = BS_SOLID;
  B->Color = Color;
  return B;
}

struct TStock {
  std::mutex Lock;
  HGDIOBJ Objects[DC_PEN + 1] = {};
  HBITMAP Bitmap = nullptr;
  HGDIOBJ SysBrushes[31] = {};
};
TStock& Stock() {
  static TStock* S = new TStock;
  return *S;
}
}  // namespace

HGDIOBJ GdiStockObject(int Index) {
  if (Index < 0 || Index > DC_PEN || Index == 9) return nullptr;
  TStock& St = Stock();
  {
    std::lock_guard<std::mutex> G(St.Lock);
    if (St.Objects[Index]) return St.Objects[Index];
  }
  HGDIOBJ H = nullptr;
  switch (Index) {
    case WHITE_BRUSH: H = AddStock(MakeSolid(RGB(255, 255, 255))); break;
    case LTGRAY_BRUSH: H = AddStock(MakeSolid(RGB(192, 192, 192))); break;
    case GRAY_BRUSH: H = AddStock(MakeSolid(RGB(128, 128, 128))); break;
    case DKGRAY_BRUSH: H = AddStock(MakeSolid(RGB(64, 64, 64))); break;
    case BLACK_BRUSH: H = AddStock(MakeSolid(RGB(0, 0, 0))); break;
    case NULL_BRUSH: {
      auto B = std::make_unique<TBrushObject>();
      B->Style = BS_NULL;
      H = AddStock(std::move(B));
      break;
    }
    case WHITE_PEN: H = AddStock(MakePen(PS_SOLID, 0, RGB(255, 255, 255))); break;
    case BLACK_PEN: H = AddStock(MakePen(PS_SOLID, 0, RGB(0, 0, 0))); break;
    case NULL_PEN: H = AddStock(MakePen(PS_NULL, 0, 0)); break;
    case DC_BRUSH: {
      auto B = MakeSolid(RGB(255, 255, 255));
      B->DCBrush = true;
      H = AddStock(std::move(B));
      break;
    }
    case DC_PEN: H = AddStock(MakePen(PS_SOLID, 0, 0)); break;
    case DEFAULT_PALETTE: {
      auto P = std::make_unique<TPaletteObject>();
      const auto& E = DefaultPaletteEntries();
      P->Entries.assign(E.begin(), E.end());
      H = AddStock(std::move(P));
      break;
    }
    default: {
      H = GdiCreateStockFont(Index);
      if (TGdiObject* O = GdiLookup(H)) O->Stock = true;
      break;
    }
  }
  std::lock_guard<std::mutex> G(St.Lock);
  if (St.Objects[Index]) {  // another thread won: keep one
    if (TGdiObject* O = GdiLookup(H)) O->Stock = false;
    GdiFreeObject(H);
    return St.Objects[Index];
  }
  St.Objects[Index] = H;
  return H;
}

HBITMAP GdiStockBitmap() {
  TStock& St = Stock();
  std::lock_guard<std::mutex> G(St.Lock);
  if (!St.Bitmap) {
    auto B = std::make_unique<TBitmapObject>();
    B->DDBMono = true;
    B->Allocate(1, 1, 1);
    St.Bitmap = HBITMAP(AddStock(std::move(B)));
  }
  return St.Bitmap;
}

HGDIOBJ GetStockObject(int Index) { return GdiStockObject(Index); }

HBRUSH GetSysColorBrush(int Index) {
  if (Index < 0 || Index >= 31) return nullptr;
  TStock& St = Stock();
  std::lock_guard<std::mutex> G(St.Lock);
  if (!St.SysBrushes[Index]) St.SysBrushes[Index] = AddStock(MakeSolid(GetSysColor(Index)));
  return HBRUSH(St.SysBrushes[Index]);
}

// --- device contexts ---------------------------------------------------------------

HDC CreateCompatibleDC(HDC Dc) {
  TDeviceCaps Caps = ScreenDeviceCaps();
  if (Dc) {
    TDC* D = GdiLookupDC(Dc);
    if (!D) return nullptr;
    Caps = D->Caps();
    if (D->Kind == OBJ_ENHMETADC) Caps = ScreenDeviceCaps();
  }
  return GdiAddDC(std::make_unique<TDC>(OBJ_MEMDC, Caps));
}

HDC CreateDCA(const char* Driver, const char* Device, const char*, const void*) {
  auto IsDisplay = [](const char* S) { return S && strcasecmp(S, "DISPLAY") == 0; };
  if (!IsDisplay(Driver) && !(Driver == nullptr && IsDisplay(Device))) return nullptr;
  return GdiAddDC(std::make_unique<TDC>(OBJ_DC, ScreenDeviceCaps()));
}

BOOL DeleteDC(HDC Dc) {
  if (!GdiLookupDC(Dc)) return FALSE;
  return GdiFreeObject(Dc);
}

int GetDeviceCaps(HDC Dc, int Index) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->GetDeviceCaps(Index) : 0;
}

int SaveDC(HDC Dc) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->SaveDC() : 0;
}

BOOL RestoreDC(HDC Dc, int SavedDC) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->RestoreDC(SavedDC) : FALSE;
}

// --- objects ---------------------------------------------------------------------

HGDIOBJ SelectObject(HDC Dc, HGDIOBJ Obj) {
  TDC* D = GdiLookupDC(Dc);
  if (!D) return nullptr;
  TGdiObject* O = GdiLookup(Obj);
  if (!O) return nullptr;
  if (O->Kind == OBJ_REGION) {
    HGDIOBJ R = D->SelectObject(Obj);
    return R;
  }
  HGDIOBJ R = D->SelectObject(Obj);
  if (!R && O->Kind == OBJ_BITMAP) return nullptr;
  return R;
}

BOOL DeleteObject(HGDIOBJ Obj) {
  TGdiObject* O = GdiLookup(Obj);
  if (!O) return FALSE;
  switch (O->Kind) {
    case OBJ_DC: case OBJ_MEMDC: case OBJ_ENHMETADC: case OBJ_METADC:
      return FALSE;  // DeleteDC frees DCs
  }
  if (O->Stock) return TRUE;
  if (!O->ReleaseShare()) return TRUE;
  if (O->SelectCount > 0) {
    if (O->Kind == OBJ_BITMAP) return FALSE;
    if (O->DeletePending) return FALSE;
    O->DeletePending = true;
    return TRUE;
  }
  if (O->DeletePending) return FALSE;
  return GdiFreeObject(Obj);
}

int GetObjectA(HGDIOBJ Obj, int Size, void* Buffer) {
  TGdiObject* O = GdiLookup(Obj);
  if (!O || O->DeletePending) return 0;
  return O->GetObjectData(Size, Buffer);
}

int GetObjectW(HGDIOBJ Obj, int Size, void* Buffer) {
  // Only fonts differ between A and W; the font object answers with its own
  // layout through GetObjectData, keyed on the buffer size.
  return GetObjectA(Obj, Size, Buffer);
}

DWORD GetObjectType(HGDIOBJ Obj) {
  TGdiObject* O = GdiLookup(Obj);
  return O && !O->DeletePending ? O->Kind : 0;
}

HGDIOBJ GetCurrentObject(HDC Dc, UINT Type) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->CurrentObject(Type) : nullptr;
}

HPEN CreatePen(int Style, int Width, COLORREF Color) {
  if (Style < int(PS_SOLID) || Style > int(PS_INSIDEFRAME)) Style = PS_SOLID;
  auto P = MakePen(DWORD(Style), Width < 0 ? 0 : Width, Color & 0x00FFFFFF);
  return HPEN(GdiAddObject(std::move(P)));
}

HPEN CreatePenIndirect(const LOGPEN* Pen) {
  if (!Pen) return nullptr;
  return CreatePen(int(Pen->lopnStyle), Pen->lopnWidth.x, Pen->lopnColor);
}

HPEN ExtCreatePen(DWORD Style, DWORD Width, const LOGBRUSH* Brush, DWORD StyleCount,
                  const DWORD* StyleEntries) {
  if (!Brush) return nullptr;
  DWORD Line = Style & PS_STYLE_MASK;
  bool Geometric = (Style & PS_TYPE_MASK) == PS_GEOMETRIC;
  if (Line > PS_ALTERNATE) return nullptr;
  if (Line == PS_USERSTYLE) {
    if (StyleCount == 0 || StyleCount > 16 || !StyleEntries) return nullptr;
  } else if (StyleCount != 0 || StyleEntries) {
    return nullptr;
  }
  if (!Geometric) {
    // Cosmetic pens are one pixel wide, solid-coloured, without caps or joins.
    if (Width != 1 || Brush->lbStyle != BS_SOLID || (Style & (PS_ENDCAP_MASK | PS_JOIN_MASK)))
      return nullptr;
  } else if (Line == PS_ALTERNATE) {
    return nullptr;
  }
  if (Brush->lbStyle == BS_HATCHED && Brush->lbHatch > HS_DIAGCROSS) return nullptr;
  auto P = std::make_unique<TPenObject>(OBJ_EXTPEN);
  P->Style = Style;
  P->Width = int(Width);
  P->Color = Brush->lbColor & 0x00FFFFFF;
  P->BrushStyle = Brush->lbStyle;
  P->Hatch = Brush->lbHatch;
  if (Line == PS_USERSTYLE) P->UserStyle.assign(StyleEntries, StyleEntries + StyleCount);
  return HPEN(GdiAddObject(std::move(P)));
}

HBRUSH CreateSolidBrush(COLORREF Color) {
  return HBRUSH(GdiAddObject(MakeSolid(Color & 0x00FFFFFF)));
}

HBRUSH CreateHatchBrush(int Hatch, COLORREF Color) {
  if (Hatch < HS_HORIZONTAL || Hatch > HS_DIAGCROSS) return nullptr;
  auto B = std::make_unique<TBrushObject>();
  B->Style = BS_HATCHED;
  B->Hatch = Hatch;
  B->Color = Color & 0x00FFFFFF;
  return HBRUSH(GdiAddObject(std::move(B)));
}

HBRUSH CreatePatternBrush(HBITMAP Bmp) {
  auto* Src = static_cast<TBitmapObject*>(GdiLookup(Bmp, OBJ_BITMAP));
  if (!Src || Src->Width <= 0 || Src->Height <= 0) return nullptr;
  auto B = std::make_unique<TBrushObject>();
  B->Style = BS_PATTERN;
  B->PatternHandle = Bmp;
  B->PatWidth = Src->Width;
  B->PatHeight = Src->Height;
  // A monochrome device bitmap paints in the DC's colours; a 1-bpp DIB in its own.
  B->PatMono = Src->DDBMono;
  for (int Y = 0; Y < Src->Height; ++Y)
    for (int X = 0; X < Src->Width; ++X) {
      std::uint32_t V = Src->GetPixelValue(X, Y);
      if (B->PatMono) B->PatBits.push_back(Byte(V));
      else B->PatColors.push_back(Src->PixelToColor(V));
    }
  return HBRUSH(GdiAddObject(std::move(B)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* Brush) {
  if (!Brush) return nullptr;
  switch (Brush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(Brush->lbColor);
    case BS_HATCHED: return CreateHatchBrush(int(Brush->lbHatch), Brush->lbColor);
    case BS_NULL: return HBRUSH(GdiStockObject(NULL_BRUSH));
    case BS_PATTERN:
    case BS_PATTERN8X8:
      return CreatePatternBrush(reinterpret_cast<HBITMAP>(Brush->lbHatch));
  }
  return nullptr;
}

// --- bitmaps -----------------------------------------------------------------------

HBITMAP CreateBitmap(int Width, int Height, UINT Planes, UINT BitsPerPixel, const void* Bits) {
  if (Width < 0 || Height < 0 || Planes != 1) return nullptr;
  if (Width == 0 || Height == 0) return HBITMAP(GdiStockBitmap());
  int Bpp = int(BitsPerPixel);
  if (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 16 && Bpp != 24 && Bpp != 32) return nullptr;
  auto B = std::make_unique<TBitmapObject>();
  B->DDBMono = Bpp == 1;
  try {
    B->Allocate(Width, Height, Bpp);
  } catch (const Exception&) {
    return nullptr;
  }
  if (Bits) {
    // Device-bitmap rows are WORD-aligned, top row first.
    int SrcStride = ((Width * Bpp + 15) / 16) * 2;
    int Copy = std::min(SrcStride, B->Stride);
    for (int Y = 0; Y < Height; ++Y)
      std::memcpy(B->ScanLine(Y), static_cast<const Byte*>(Bits) + std::size_t(Y) * SrcStride,
                  std::size_t(Copy));
  }
  return HBITMAP(GdiAddObject(std::move(B)));
}

HBITMAP CreateBitmapIndirect(const BITMAP* Bm) {
  if (!Bm) return nullptr;
  return CreateBitmap(Bm->bmWidth, Bm->bmHeight, Bm->bmPlanes, Bm->bmBitsPixel, Bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC Dc, int Width, int Height) {
  TDC* D = GdiLookupDC(Dc);
  if (!D || Width < 0 || Height < 0) return nullptr;
  if (Width == 0 || Height == 0) return HBITMAP(GdiStockBitmap());
  // A memory DC makes bitmaps like the one selected into it (monochrome at
  // first); other DCs make colour ones.
  int Bpp = 32;
  if (D->Kind == OBJ_MEMDC)
    if (auto* S = D->Surface()) Bpp = S->BitsPerPixel == 1 ? 1 : 32;
  return CreateBitmap(Width, Height, 1, UINT(Bpp), nullptr);
}

BOOL SetBitmapDimensionEx(HBITMAP Bmp, int W, int H, TSize* Old) {
  auto* B = static_cast<TBitmapObject*>(GdiLookup(Bmp, OBJ_BITMAP));
  if (!B) return FALSE;
  if (Old) *Old = B->Dimension;
  B->Dimension = {W, H};
  return TRUE;
}

BOOL GetBitmapDimensionEx(HBITMAP Bmp, TSize* Size) {
  auto* B = static_cast<TBitmapObject*>(GdiLookup(Bmp, OBJ_BITMAP));
  if (!B || !Size) return FALSE;
  *Size = B->Dimension;
  return TRUE;
}

// --- palettes --------------------------------------------------------------------------

HPALETTE CreatePalette(const LOGPALETTE* Pal) {
  if (!Pal || Pal->palVersion != 0x300 || Pal->palNumEntries == 0) return nullptr;
  auto P = std::make_unique<TPaletteObject>();
  P->Entries.assign(Pal->palPalEntry, Pal->palPalEntry + Pal->palNumEntries);
  return HPALETTE(GdiAddObject(std::move(P)));
}

HPALETTE SelectPalette(HDC Dc, HPALETTE Pal, BOOL ForceBackground) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->SelectPalette(Pal, ForceBackground) : nullptr;
}

UINT RealizePalette(HDC Dc) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->RealizePalette() : UINT(GDI_ERROR);
}

UINT GetPaletteEntries(HPALETTE Pal, UINT Start, UINT Count, PALETTEENTRY* Entries) {
  auto* P = static_cast<TPaletteObject*>(GdiLookup(Pal, OBJ_PAL));
  if (!P) return 0;
  if (!Entries) return UINT(P->Entries.size());
  if (Start >= P->Entries.size()) return 0;
  UINT N = std::min<UINT>(Count, UINT(P->Entries.size()) - Start);
  std::copy_n(P->Entries.begin() + Start, N, Entries);
  return N;
}

UINT SetPaletteEntries(HPALETTE Pal, UINT Start, UINT Count, const PALETTEENTRY* Entries) {
  auto* P = static_cast<TPaletteObject*>(GdiLookup(Pal, OBJ_PAL));
  if (!P || P->Stock || !Entries || Start >= P->Entries.size()) return 0;
  UINT N = std::min<UINT>(Count, UINT(P->Entries.size()) - Start);
  std::copy_n(Entries, N, P->Entries.begin() + Start);
  return N;
}

UINT GetNearestPaletteIndex(HPALETTE Pal, COLORREF C) {
  auto* P = static_cast<TPaletteObject*>(GdiLookup(Pal, OBJ_PAL));
  if (!P || P->Entries.empty()) return UINT(CLR_INVALID);
  UINT Best = 0;
  long BestD = -1;
  for (UINT I = 0; I < P->Entries.size(); ++I) {
    long DR = long(P->Entries[I].peRed) - GetRValue(C), DG = long(P->Entries[I].peGreen) - GetGValue(C),
         DB = long(P->Entries[I].peBlue) - GetBValue(C);
    long D = DR * DR + DG * DG + DB * DB;
    if (BestD < 0 || D < BestD) { BestD = D; Best = I; }
  }
  return Best;
}

COLORREF GetNearestColor(HDC Dc, COLORREF Color) {
  TDC* D = GdiLookupDC(Dc);
  if (!D) return CLR_INVALID;
  if (auto* S = D->Surface(); S && D->Kind == OBJ_MEMDC)
    return S->PixelToColor(S->ColorToPixel(Color));
  return Color & 0x00FFFFFF;
}

// --- state -------------------------------------------------------------------------------

#define SX_DC_OR(Fail)        \
  TDC* D = GdiLookupDC(Dc);   \
  if (!D) return Fail

COLORREF SetTextColor(HDC Dc, COLORREF C) { SX_DC_OR(CLR_INVALID); return D->SetTextColor(C); }
COLORREF GetTextColor(HDC Dc) { SX_DC_OR(CLR_INVALID); return D->State().TextColor; }
COLORREF SetBkColor(HDC Dc, COLORREF C) { SX_DC_OR(CLR_INVALID); return D->SetBkColor(C); }
COLORREF GetBkColor(HDC Dc) { SX_DC_OR(CLR_INVALID); return D->State().BkColor; }
int SetBkMode(HDC Dc, int Mode) { SX_DC_OR(0); return D->SetBkMode(Mode); }
int GetBkMode(HDC Dc) { SX_DC_OR(0); return D->State().BkMode; }
int SetROP2(HDC Dc, int Mode) { SX_DC_OR(0); return D->SetROP2(Mode); }
int GetROP2(HDC Dc) { SX_DC_OR(0); return D->State().Rop2; }
int SetPolyFillMode(HDC Dc, int Mode) { SX_DC_OR(0); return D->SetPolyFillMode(Mode); }
int GetPolyFillMode(HDC Dc) { SX_DC_OR(0); return D->State().PolyFillMode; }
int SetStretchBltMode(HDC Dc, int Mode) { SX_DC_OR(0); return D->SetStretchBltMode(Mode); }
int GetStretchBltMode(HDC Dc) { SX_DC_OR(0); return D->State().StretchMode; }
UINT SetTextAlign(HDC Dc, UINT Align) { SX_DC_OR(UINT(GDI_ERROR)); return D->SetTextAlign(Align); }
UINT GetTextAlign(HDC Dc) { SX_DC_OR(UINT(GDI_ERROR)); return D->State().TextAlign; }
int SetTextCharacterExtra(HDC Dc, int E) { SX_DC_OR(int(0x80000000)); return D->SetTextCharacterExtra(E); }
int GetTextCharacterExtra(HDC Dc) { SX_DC_OR(int(0x80000000)); return D->State().TextCharExtra; }
BOOL SetTextJustification(HDC Dc, int E, int N) { SX_DC_OR(FALSE); return D->SetTextJustification(E, N); }
int SetArcDirection(HDC Dc, int Dir) { SX_DC_OR(0); return D->SetArcDirection(Dir); }
int GetArcDirection(HDC Dc) { SX_DC_OR(0); return D->State().ArcDirection; }
int SetGraphicsMode(HDC Dc, int Mode) { SX_DC_OR(0); return D->SetGraphicsMode(Mode); }
int GetGraphicsMode(HDC Dc) { SX_DC_OR(0); return D->State().GraphicsMode; }
COLORREF SetDCBrushColor(HDC Dc, COLORREF C) { SX_DC_OR(CLR_INVALID); return D->SetDCBrushColor(C); }
COLORREF GetDCBrushColor(HDC Dc) { SX_DC_OR(CLR_INVALID); return D->State().DCBrushColor; }
COLORREF SetDCPenColor(HDC Dc, COLORREF C) { SX_DC_OR(CLR_INVALID); return D->SetDCPenColor(C); }
COLORREF GetDCPenColor(HDC Dc) { SX_DC_OR(CLR_INVALID); return D->State().DCPenColor; }
BOOL SetMiterLimit(HDC Dc, FLOAT L, FLOAT* Old) { SX_DC_OR(FALSE); return D->SetMiterLimit(L, Old); }
BOOL GetMiterLimit(HDC Dc, FLOAT* L) {
  SX_DC_OR(FALSE);
  if (!L) return FALSE;
  *L = D->State().MiterLimit;
  return TRUE;
}
DWORD SetMapperFlags(HDC Dc, DWORD F) { SX_DC_OR(DWORD(GDI_ERROR)); return D->SetMapperFlags(F); }
BOOL SetBrushOrgEx(HDC Dc, int X, int Y, TPoint* Old) { SX_DC_OR(FALSE); return D->SetBrushOrgEx(X, Y, Old); }
BOOL GetBrushOrgEx(HDC Dc, TPoint* Org) {
  SX_DC_OR(FALSE);
  if (!Org) return FALSE;
  *Org = D->State().BrushOrg;
  return TRUE;
}
BOOL GetCurrentPositionEx(HDC Dc, TPoint* Pos) {
  SX_DC_OR(FALSE);
  if (!Pos) return FALSE;
  *Pos = D->State().CurrentPos;
  return TRUE;
}

int SetMapMode(HDC Dc, int Mode) { SX_DC_OR(0); return D->SetMapMode(Mode); }
int GetMapMode(HDC Dc) { SX_DC_OR(0); return D->State().MapMode; }
BOOL SetWindowOrgEx(HDC Dc, int X, int Y, TPoint* Old) { SX_DC_OR(FALSE); return D->SetWindowOrgEx(X, Y, Old); }
BOOL SetViewportOrgEx(HDC Dc, int X, int Y, TPoint* Old) { SX_DC_OR(FALSE); return D->SetViewportOrgEx(X, Y, Old); }
BOOL OffsetWindowOrgEx(HDC Dc, int X, int Y, TPoint* Old) { SX_DC_OR(FALSE); return D->OffsetWindowOrgEx(X, Y, Old); }
BOOL OffsetViewportOrgEx(HDC Dc, int X, int Y, TPoint* Old) { SX_DC_OR(FALSE); return D->OffsetViewportOrgEx(X, Y, Old); }
BOOL SetWindowExtEx(HDC Dc, int X, int Y, TSize* Old) { SX_DC_OR(FALSE); return D->SetWindowExtEx(X, Y, Old); }
BOOL SetViewportExtEx(HDC Dc, int X, int Y, TSize* Old) { SX_DC_OR(FALSE); return D->SetViewportExtEx(X, Y, Old); }
BOOL ScaleWindowExtEx(HDC Dc, int XN, int XD, int YN, int YD, TSize* Old) {
  SX_DC_OR(FALSE);
  return D->ScaleWindowExtEx(XN, XD, YN, YD, Old);
}
BOOL ScaleViewportExtEx(HDC Dc, int XN, int XD, int YN, int YD, TSize* Old) {
  SX_DC_OR(FALSE);
  return D->ScaleViewportExtEx(XN, XD, YN, YD, Old);
}
BOOL GetWindowOrgEx(HDC Dc, TPoint* P) { SX_DC_OR(FALSE); if (!P) return FALSE; *P = D->State().WindowOrg; return TRUE; }
BOOL GetViewportOrgEx(HDC Dc, TPoint* P) { SX_DC_OR(FALSE); if (!P) return FALSE; *P = D->State().ViewportOrg; return TRUE; }
BOOL GetWindowExtEx(HDC Dc, TSize* S) { SX_DC_OR(FALSE); if (!S) return FALSE; *S = D->State().WindowExt; return TRUE; }
BOOL GetViewportExtEx(HDC Dc, TSize* S) { SX_DC_OR(FALSE); if (!S) return FALSE; *S = D->State().ViewportExt; return TRUE; }
BOOL SetWorldTransform(HDC Dc, const XFORM* X) { SX_DC_OR(FALSE); return X ? D->SetWorldTransform(*X) : FALSE; }
BOOL GetWorldTransform(HDC Dc, XFORM* X) { SX_DC_OR(FALSE); if (!X) return FALSE; *X = D->State().World; return TRUE; }
BOOL ModifyWorldTransform(HDC Dc, const XFORM* X, DWORD Mode) { SX_DC_OR(FALSE); return D->ModifyWorldTransform(X, Mode); }

BOOL LPtoDP(HDC Dc, TPoint* Points, int Count) {
  SX_DC_OR(FALSE);
  if (!Points && Count > 0) return FALSE;
  for (int I = 0; I < Count; ++I) Points[I] = D->ToDevice(Points[I]);
  return TRUE;
}

BOOL DPtoLP(HDC Dc, TPoint* Points, int Count) {
  SX_DC_OR(FALSE);
  if (!Points && Count > 0) return FALSE;
  for (int I = 0; I < Count; ++I) Points[I] = D->ToLogical(Points[I]);
  return TRUE;
}

BOOL GetDCOrgEx(HDC Dc, TPoint* Org) {
  SX_DC_OR(FALSE);
  if (!Org) return FALSE;
  *Org = D->DeviceOrigin();
  return TRUE;
}
