#include "platform/gdi/Gdi.h"
#include "platform/gdi/DcObject.h"

#include <gtest/gtest.h>

namespace {
struct TMemDC {
  HDC Dc = CreateCompatibleDC(nullptr);
  HBITMAP Bmp = nullptr;
  HGDIOBJ Old = nullptr;
  TMemDC() = default;
  TMemDC(int W, int H) {
    Bmp = CreateBitmap(W, H, 1, 32, nullptr);
    Old = SelectObject(Dc, Bmp);
  }
  ~TMemDC() {
    if (Old) SelectObject(Dc, Old);
    DeleteDC(Dc);
    if (Bmp) DeleteObject(Bmp);
  }
};
}  // namespace

TEST(GdiHandles, SecondDeleteObjectFailsAndStaleHandleIsRejected) {
  HPEN Pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  ASSERT_NE(Pen, nullptr);
  EXPECT_EQ(GetObjectType(Pen), DWORD(OBJ_PEN));
  EXPECT_TRUE(DeleteObject(Pen));
  EXPECT_FALSE(DeleteObject(Pen));
  EXPECT_EQ(GetObjectType(Pen), 0u);
  // The slot is reused with a new generation: the old handle stays dead.
  HBRUSH Brush = CreateSolidBrush(RGB(9, 9, 9));
  EXPECT_NE(HGDIOBJ(Brush), HGDIOBJ(Pen));
  EXPECT_FALSE(DeleteObject(Pen));
  EXPECT_EQ(GetObjectType(Brush), DWORD(OBJ_BRUSH));
  EXPECT_TRUE(DeleteObject(Brush));
  LOGPEN Lp;
  EXPECT_EQ(GetObject(Pen, sizeof Lp, &Lp), 0);
  // A handle of another kind is not a DC.
  EXPECT_EQ(SetTextColor(reinterpret_cast<HDC>(Brush), 0), CLR_INVALID);
  EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_PEN)), nullptr);
}

TEST(GdiHandles, SelectedObjectsAreKeptUntilDeselected) {
  TMemDC M;
  HPEN Pen = CreatePen(PS_DASH, 1, RGB(255, 0, 0));
  HGDIOBJ OldPen = SelectObject(M.Dc, Pen);
  EXPECT_EQ(OldPen, GetStockObject(BLACK_PEN));
  // Deleting a selected pen is deferred: the DC still draws with it.
  EXPECT_TRUE(DeleteObject(Pen));
  EXPECT_EQ(GetCurrentObject(M.Dc, OBJ_PEN), HGDIOBJ(Pen));
  SelectObject(M.Dc, OldPen);
  EXPECT_EQ(GetObjectType(Pen), 0u);

  // A selected bitmap cannot be deleted at all ...
  HBITMAP Bmp = CreateBitmap(4, 4, 1, 32, nullptr);
  HGDIOBJ OldBmp = SelectObject(M.Dc, Bmp);
  EXPECT_FALSE(DeleteObject(Bmp));
  // ... nor selected into a second DC at the same time.
  TMemDC Other;
  EXPECT_EQ(SelectObject(Other.Dc, Bmp), nullptr);
  SelectObject(M.Dc, OldBmp);
  EXPECT_TRUE(DeleteObject(Bmp));
}

TEST(GdiHandles, StockObjectsSurviveDeleteAndADeletedDCLeavesNothingBehind) {
  HGDIOBJ White = GetStockObject(WHITE_BRUSH);
  EXPECT_TRUE(DeleteObject(White));
  EXPECT_EQ(GetObjectType(White), DWORD(OBJ_BRUSH));
  EXPECT_EQ(GetStockObject(WHITE_BRUSH), White);
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), GetSysColorBrush(COLOR_BTNFACE));

  GetStockObject(BLACK_PEN);
  GetStockObject(DEFAULT_PALETTE);
  GdiStockBitmap();
  std::size_t Before = GdiObjectCount();
  HDC Dc = CreateCompatibleDC(nullptr);
  HBITMAP Bmp = CreateCompatibleBitmap(Dc, 2, 2);
  EXPECT_EQ(GetObjectType(Dc), DWORD(OBJ_MEMDC));
  EXPECT_EQ(GetObjectType(Bmp), DWORD(OBJ_BITMAP));
  EXPECT_TRUE(DeleteDC(Dc));
  EXPECT_FALSE(DeleteDC(Dc));
  EXPECT_TRUE(DeleteObject(Bmp));
  EXPECT_EQ(GdiObjectCount(), Before);
}

TEST(GdiObjects, GetObjectDescribesPensBrushesAndBitmaps) {
  HPEN Pen = CreatePen(PS_DOT, 3, RGB(10, 20, 30));
  LOGPEN Lp;
  ASSERT_EQ(GetObject(Pen, sizeof Lp, &Lp), int(sizeof Lp));
  EXPECT_EQ(Lp.lopnStyle, UINT(PS_DOT));
  EXPECT_EQ(Lp.lopnWidth.x, 3);
  EXPECT_EQ(Lp.lopnColor, RGB(10, 20, 30));
  DeleteObject(Pen);

  HBRUSH Hatch = CreateHatchBrush(HS_CROSS, RGB(1, 1, 1));
  LOGBRUSH Lb;
  ASSERT_EQ(GetObject(Hatch, sizeof Lb, &Lb), int(sizeof Lb));
  EXPECT_EQ(Lb.lbStyle, UINT(BS_HATCHED));
  EXPECT_EQ(Lb.lbHatch, std::uintptr_t(HS_CROSS));
  DeleteObject(Hatch);
  EXPECT_EQ(CreateHatchBrush(6, 0), nullptr);

  LOGBRUSH Geo{BS_SOLID, RGB(5, 5, 5), 0};
  DWORD Dashes[2] = {4, 2};
  HPEN Ext = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 6, &Geo, 2, Dashes);
  ASSERT_NE(Ext, nullptr);
  EXPECT_EQ(GetObjectType(Ext), DWORD(OBJ_EXTPEN));
  int Need = GetObject(Ext, 0, nullptr);
  std::vector<Byte> Buf(std::size_t(Need), 0);
  ASSERT_EQ(GetObject(Ext, Need, Buf.data()), Need);
  auto* E = reinterpret_cast<EXTLOGPEN*>(Buf.data());
  EXPECT_EQ(E->elpWidth, 6u);
  EXPECT_EQ(E->elpNumEntries, 2u);
  EXPECT_EQ(E->elpStyleEntry[1], 2u);
  DeleteObject(Ext);
  // A cosmetic pen wider than one pixel is refused.
  EXPECT_EQ(ExtCreatePen(PS_COSMETIC | PS_SOLID, 2, &Geo, 0, nullptr), nullptr);

  HBITMAP Mono = CreateBitmap(17, 5, 1, 1, nullptr);
  BITMAP Bm;
  ASSERT_EQ(GetObject(Mono, sizeof Bm, &Bm), int(sizeof Bm));
  EXPECT_EQ(Bm.bmWidth, 17);
  EXPECT_EQ(Bm.bmHeight, 5);
  EXPECT_EQ(Bm.bmBitsPixel, 1);
  EXPECT_EQ(Bm.bmWidthBytes, 4);  // WORD-aligned rows
  EXPECT_EQ(Bm.bmBits, nullptr);
  DeleteObject(Mono);
  // Absurd sizes fail instead of allocating.
  EXPECT_EQ(CreateBitmap(100000, 100000, 1, 32, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(-1, 5, 1, 32, nullptr), nullptr);
}

TEST(GdiObjects, CompatibleBitmapFollowsTheSelectedBitmap) {
  TMemDC M;
  // A fresh memory DC holds a 1x1 monochrome bitmap.
  BITMAP Bm;
  GetObject(GetCurrentObject(M.Dc, OBJ_BITMAP), sizeof Bm, &Bm);
  EXPECT_EQ(Bm.bmBitsPixel, 1);
  EXPECT_EQ(Bm.bmWidth, 1);
  HBITMAP Mono = CreateCompatibleBitmap(M.Dc, 8, 8);
  GetObject(Mono, sizeof Bm, &Bm);
  EXPECT_EQ(Bm.bmBitsPixel, 1);
  HDC Screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  HBITMAP Colour = CreateCompatibleBitmap(Screen, 8, 8);
  GetObject(Colour, sizeof Bm, &Bm);
  EXPECT_EQ(Bm.bmBitsPixel, 32);
  DeleteDC(Screen);
  DeleteObject(Mono);
  DeleteObject(Colour);
}

TEST(GdiObjects, MonochromeBitmapMapsColoursToBlackOrWhite) {
  HDC Dc = CreateCompatibleDC(nullptr);
  HBITMAP Mono = CreateBitmap(4, 1, 1, 1, nullptr);
  HGDIOBJ Old = SelectObject(Dc, Mono);
  EXPECT_EQ(SetPixel(Dc, 0, 0, RGB(250, 240, 230)), RGB(255, 255, 255));
  EXPECT_EQ(SetPixel(Dc, 1, 0, RGB(90, 20, 20)), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(Dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(Dc, 1, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(Dc, 4, 0), CLR_INVALID);
  auto* B = GdiLookupAs<TBitmapObject>(Mono);
  EXPECT_EQ(B->ScanLine(0)[0], 0x80);  // leftmost pixel is the high bit
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Mono);
}

TEST(TDC, DeviceCapsDescribeA96DpiScreen) {
  HDC Dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(Dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(Dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(Dc, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(Dc, TECHNOLOGY), DT_RASDISPLAY);
  EXPECT_EQ(GetDeviceCaps(Dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(Dc, HORZSIZE), 271);  // 1024 px at 96 dpi
  EXPECT_EQ(GetDeviceCaps(Dc, PHYSICALWIDTH), 0);
  TRect Box;
  EXPECT_EQ(GetClipBox(Dc, &Box), SIMPLEREGION);
  EXPECT_EQ(Box, TRect(0, 0, 1024, 768));
  DeleteDC(Dc);
  EXPECT_EQ(GetDeviceCaps(Dc, LOGPIXELSX), 0);
  EXPECT_EQ(CreateDCA("WINSPOOL", "nope", nullptr, nullptr), nullptr);
}

TEST(TDC, ScreenSizeComesFromTheWindowLayer) {
  TDeviceCaps Saved = ScreenDeviceCaps(), Big = Saved;
  Big.HorzRes = 1920;
  Big.VertRes = 1080;
  SetScreenDeviceCaps(Big);
  HDC Dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  EXPECT_EQ(GetDeviceCaps(Dc, HORZRES), 1920);
  EXPECT_EQ(GetDeviceCaps(Dc, LOGPIXELSX), 96);
  DeleteDC(Dc);
  SetScreenDeviceCaps(Saved);
}

TEST(TDC, PrinterCapsAnswerPhysicalPage) {
  TDeviceCaps Caps;
  Caps.Technology = DT_RASPRINTER;
  Caps.LogPixelsX = Caps.LogPixelsY = 600;
  Caps.HorzRes = 4800;
  Caps.VertRes = 6600;
  Caps.PhysicalWidth = 5100;
  Caps.PhysicalHeight = 6600;
  Caps.PhysicalOffsetX = 150;
  HDC Dc = GdiAddDC(std::make_unique<TDC>(OBJ_DC, Caps));
  EXPECT_EQ(GetDeviceCaps(Dc, PHYSICALWIDTH), 5100);
  EXPECT_EQ(GetDeviceCaps(Dc, PHYSICALOFFSETX), 150);
  EXPECT_EQ(GetDeviceCaps(Dc, HORZSIZE), 203);
  EXPECT_EQ(GetDeviceCaps(Dc, TECHNOLOGY), DT_RASPRINTER);
  DeleteDC(Dc);
}

TEST(TDC, SaveAndRestoreBringBackEveryPieceOfState) {
  TMemDC M(4, 4);
  HPEN Pen = CreatePen(PS_SOLID, 2, RGB(1, 2, 3));
  HBRUSH Brush = CreateSolidBrush(RGB(4, 5, 6));
  int Level = SaveDC(M.Dc);
  EXPECT_EQ(Level, 1);
  HGDIOBJ OldPen = SelectObject(M.Dc, Pen);
  SelectObject(M.Dc, Brush);
  SetTextColor(M.Dc, RGB(7, 8, 9));
  SetBkColor(M.Dc, RGB(10, 11, 12));
  SetBkMode(M.Dc, TRANSPARENT);
  SetROP2(M.Dc, R2_XORPEN);
  SetPolyFillMode(M.Dc, WINDING);
  SetTextAlign(M.Dc, 24);
  SetArcDirection(M.Dc, AD_CLOCKWISE);
  SetMapMode(M.Dc, MM_ANISOTROPIC);
  SetWindowExtEx(M.Dc, 10, 20, nullptr);
  SetViewportOrgEx(M.Dc, 5, 6, nullptr);
  SetBrushOrgEx(M.Dc, 3, 4, nullptr);
  MoveToEx(M.Dc, 7, 7, nullptr);
  IntersectClipRect(M.Dc, 0, 0, 1, 1);
  EXPECT_EQ(SaveDC(M.Dc), 2);
  SetTextColor(M.Dc, RGB(99, 99, 99));

  ASSERT_TRUE(RestoreDC(M.Dc, -1));  // back to what level 2 saved
  EXPECT_EQ(GetTextColor(M.Dc), RGB(7, 8, 9));
  EXPECT_EQ(GetROP2(M.Dc), R2_XORPEN);
  ASSERT_TRUE(RestoreDC(M.Dc, 1));
  EXPECT_FALSE(RestoreDC(M.Dc, 1));  // that level is used up
  EXPECT_FALSE(RestoreDC(M.Dc, -1));
  EXPECT_EQ(GetCurrentObject(M.Dc, OBJ_PEN), OldPen);
  EXPECT_EQ(GetCurrentObject(M.Dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetTextColor(M.Dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkColor(M.Dc), RGB(255, 255, 255));
  EXPECT_EQ(GetBkMode(M.Dc), OPAQUE);
  EXPECT_EQ(GetROP2(M.Dc), R2_COPYPEN);
  EXPECT_EQ(GetPolyFillMode(M.Dc), ALTERNATE);
  EXPECT_EQ(GetTextAlign(M.Dc), 0u);
  EXPECT_EQ(GetArcDirection(M.Dc), AD_COUNTERCLOCKWISE);
  EXPECT_EQ(GetMapMode(M.Dc), MM_TEXT);
  TSize Ext;
  GetWindowExtEx(M.Dc, &Ext);
  EXPECT_EQ(Ext, TSize(1, 1));
  TPoint P;
  GetViewportOrgEx(M.Dc, &P);
  EXPECT_EQ(P, TPoint(0, 0));
  GetBrushOrgEx(M.Dc, &P);
  EXPECT_EQ(P, TPoint(0, 0));
  GetCurrentPositionEx(M.Dc, &P);
  EXPECT_EQ(P, TPoint(0, 0));
  TRect Box;
  EXPECT_EQ(GetClipBox(M.Dc, &Box), SIMPLEREGION);
  EXPECT_EQ(Box, TRect(0, 0, 4, 4));
  HRGN R = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(M.Dc, R), 0);
  DeleteObject(R);
  EXPECT_FALSE(RestoreDC(M.Dc, 0));
  // The pen and brush were kept alive only by the saved states.
  EXPECT_TRUE(DeleteObject(Pen));
  EXPECT_TRUE(DeleteObject(Brush));
  EXPECT_EQ(GetObjectType(Pen), 0u);
}

struct TMapCase {
  int Mode;
  TPoint Logical;
  TPoint Device;
  const char* Why;
};

TEST(TDC, FixedMapModesScaleByTheDeviceResolution) {
  const TMapCase Cases[] = {
      {MM_TEXT, {10, 20}, {10, 20}, "identity"},
      {MM_LOMETRIC, {254, -254}, {96, 96}, "tenths of a millimetre, y up"},
      {MM_HIMETRIC, {2540, -5080}, {96, 192}, "hundredths of a millimetre"},
      {MM_LOENGLISH, {100, -50}, {96, 48}, "hundredths of an inch"},
      {MM_HIENGLISH, {1000, 0}, {96, 0}, "thousandths of an inch"},
      {MM_TWIPS, {1440, -720}, {96, 48}, "twentieths of a point"},
  };
  TMemDC M;
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    SetMapMode(M.Dc, C.Mode);
    TPoint P = C.Logical;
    ASSERT_TRUE(LPtoDP(M.Dc, &P, 1));
    EXPECT_EQ(P, C.Device);
    ASSERT_TRUE(DPtoLP(M.Dc, &P, 1));
    EXPECT_EQ(P, C.Logical);
  }
}

TEST(TDC, AnisotropicAndIsotropicExtents) {
  TMemDC M;
  SetMapMode(M.Dc, MM_ANISOTROPIC);
  SetWindowOrgEx(M.Dc, 100, 100, nullptr);
  SetWindowExtEx(M.Dc, 1000, 500, nullptr);
  SetViewportOrgEx(M.Dc, 10, 20, nullptr);
  SetViewportExtEx(M.Dc, 200, 200, nullptr);
  TPoint P[2] = {{100, 100}, {1100, 600}};
  LPtoDP(M.Dc, P, 2);
  EXPECT_EQ(P[0], TPoint(10, 20));
  EXPECT_EQ(P[1], TPoint(210, 220));
  // Isotropic: the viewport shrinks on the axis that would stretch more.
  SetMapMode(M.Dc, MM_ISOTROPIC);
  SetWindowOrgEx(M.Dc, 0, 0, nullptr);
  SetViewportOrgEx(M.Dc, 0, 0, nullptr);
  SetWindowExtEx(M.Dc, 100, 100, nullptr);
  SetViewportExtEx(M.Dc, 400, -200, nullptr);
  TSize Vp;
  GetViewportExtEx(M.Dc, &Vp);
  EXPECT_EQ(Vp, TSize(200, -200));
  TPoint Q{50, 50};
  LPtoDP(M.Dc, &Q, 1);
  EXPECT_EQ(Q, TPoint(100, -100));
  // Extents are ignored outside the two scalable modes, and zero is refused.
  SetMapMode(M.Dc, MM_ANISOTROPIC);
  EXPECT_FALSE(SetWindowExtEx(M.Dc, 0, 5, nullptr));
  SetMapMode(M.Dc, MM_TEXT);
  EXPECT_TRUE(SetWindowExtEx(M.Dc, 7, 7, nullptr));
  TSize We;
  GetWindowExtEx(M.Dc, &We);
  EXPECT_EQ(We, TSize(1, 1));
}

TEST(TDC, WorldTransformNeedsAdvancedModeAndRoundTrips) {
  TMemDC M;
  XFORM Rot{0, 1, -1, 0, 50, 0};  // 90 degrees, then 50 to the right
  EXPECT_FALSE(SetWorldTransform(M.Dc, &Rot));
  SetGraphicsMode(M.Dc, GM_ADVANCED);
  ASSERT_TRUE(SetWorldTransform(M.Dc, &Rot));
  TPoint P{10, 0};
  LPtoDP(M.Dc, &P, 1);
  EXPECT_EQ(P, TPoint(50, 10));
  DPtoLP(M.Dc, &P, 1);
  EXPECT_EQ(P, TPoint(10, 0));
  XFORM Scale{2, 0, 0, 2, 0, 0};
  ModifyWorldTransform(M.Dc, &Scale, MWT_RIGHTMULTIPLY);  // rotate, then scale
  P = {10, 0};
  LPtoDP(M.Dc, &P, 1);
  EXPECT_EQ(P, TPoint(100, 20));
  // Back to compatible mode only with an identity transform.
  EXPECT_EQ(SetGraphicsMode(M.Dc, GM_COMPATIBLE), 0);
  ModifyWorldTransform(M.Dc, nullptr, MWT_IDENTITY);
  EXPECT_EQ(SetGraphicsMode(M.Dc, GM_COMPATIBLE), GM_ADVANCED);
  XFORM Singular{0, 0, 0, 0, 0, 0};
  SetGraphicsMode(M.Dc, GM_ADVANCED);
  EXPECT_FALSE(SetWorldTransform(M.Dc, &Singular));
}

TEST(TDC, OnePixelInLogicalUnitsForTwipsPage) {
  // The text layer measures one device pixel as DPtoLP of a 1-pixel rectangle.
  TMemDC M;
  SetMapMode(M.Dc, MM_ANISOTROPIC);
  SetWindowExtEx(M.Dc, 1440, 1440, nullptr);
  SetViewportExtEx(M.Dc, 96, 96, nullptr);
  TPoint R[2] = {{0, 0}, {1, 1}};
  DPtoLP(M.Dc, R, 2);
  EXPECT_EQ(R[1].X - R[0].X, 15);
}
