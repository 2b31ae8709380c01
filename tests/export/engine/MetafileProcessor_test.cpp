#include <gtest/gtest.h>
#include <cmath>
#include "PlayerSupport.h"
#include "export/pdf/PdfFont.h"
#include "platform/gdi/BlitRop.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Text.h"

namespace {
TEmrPoly Poly(DWORD Type, std::vector<TPoint> P) {
  TEmrPoly R;
  R.Type = Type;
  R.Points = std::move(P);
  return R;
}
}  // namespace

// Every vector, path, clip, state and end-of-file record the player reads,
// played at origin (10, 20) and rendered through the trace writer.
TEST(TgtMetafileProcessor, HandMadeMetafileBecomesTheExpectedItems) {
  TEmfBuilder B;
  B.Add(TEmrCreatePen{1, 0, {1, 0}, 0x0000FF}, 1);
  B.Add(TEmrDword{EMR_SELECTOBJECT, 1});
  B.Add(TEmrCreateBrushIndirect{2, 0, 0x00FF00, 0}, 2);
  B.Add(TEmrDword{EMR_SELECTOBJECT, 2});
  B.Add(TEmrPointL{EMR_MOVETOEX, {0, 0}});
  B.Add(TEmrPointL{EMR_LINETO, {100, 0}});
  B.Add(TEmrRectL{EMR_RECTANGLE, {1, 2, 3, 4}});
  B.Add(TEmrRectL{EMR_ELLIPSE, {0, 0, 10, 10}});
  B.Add(TEmrRoundRect{{0, 0, 10, 10}, {4, 6}});
  B.Add(TEmrArc{EMR_ARC, {0, 0, 10, 10}, {10, 5}, {0, 5}});
  B.Add(TEmrArc{EMR_PIE, {0, 0, 10, 10}, {10, 5}, {0, 5}});
  B.Add(TEmrArc{EMR_CHORD, {0, 0, 10, 10}, {10, 5}, {0, 5}});
  B.Add(Poly(EMR_POLYGON16, {{0, 0}, {10, 0}, {5, 5}}));
  B.Add(Poly(EMR_POLYLINE, {{7, 7}, {8, 8}}));   // 32-bit polylines draw nothing
  B.Add(Poly(EMR_POLYLINE16, {{1, 1}, {2, 2}}));
  B.Add(Poly(EMR_POLYBEZIER, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
  B.Add(Poly(EMR_POLYBEZIERTO16, {{1, 0}, {2, 0}, {3, 0}}));
  B.Add(TEmrDword{EMR_SETPOLYFILLMODE, ALTERNATE});
  B.Add(TEmrPolyPoly{EMR_POLYPOLYGON16, {}, {3, 3}, {{0, 0}, {1, 0}, {1, 1}, {5, 5}, {6, 5}, {6, 6}}});
  B.Add(TEmrPolyPoly{EMR_POLYPOLYLINE16, {}, {2, 2}, {{0, 0}, {1, 0}, {5, 5}, {6, 5}}});
  B.Add(TEmrPolyDraw{EMR_POLYDRAW16, {}, {{0, 0}, {1, 1}, {2, 2}}, {6, 2, 3}});
  B.Add(TEmrNoParams{EMR_BEGINPATH});
  B.Add(TEmrNoParams{EMR_ENDPATH});
  B.Add(TEmrRectL{EMR_FILLPATH, {}});
  B.Add(TEmrDword{EMR_SELECTCLIPPATH, RGN_COPY});
  TEmrExtSelectClipRgn Clip;
  Clip.Mode = RGN_AND;
  Clip.HasRegion = true;
  Clip.Region.Bound = {0, 0, 30, 10};
  Clip.Region.Rects = {{0, 0, 10, 10}, {10, 0, 20, 10}, {20, 0, 30, 10}};
  B.Add(Clip);
  B.Add(TEmrNoParams{EMR_SAVEDC});
  B.Add(TEmrDword{EMR_RESTOREDC, DWORD(-1)});
  TEmrExtSelectClipRgn Reset;
  B.Add(Reset);
  std::vector<Byte> Bytes = B.Finish(TestHeader());

  TTraceEngine E;
  E.BeginDoc();
  TMetafile Mf;
  Mf.LoadFromBytes(Bytes);
  E.DrawMetafileAt(&Mf, 10, 20);
  E.EndDoc();
  std::string Got;
  for (auto& L : E.Lines)
    if (L.rfind("BeginPage", 0) && L.rfind("EndPage", 0) && L.rfind("StartDoc", 0) && L.rfind("FinishDoc", 0))
      Got += L + "\n";
  EXPECT_EQ(Got,
            "Line 10,20,110,20 pen 255\n"
            "Rectangle 11,22,13,24 brush 65280\n"
            "Ellipse 10,20,20,30\n"
            "RoundRect 10,20,20,30,4,6\n"
            "Arc 10,20,20,30,20,25,10,25\n"
            "Pie 10,20,20,30,20,25,10,25\n"
            "Chord 10,20,20,30,20,25,10,25\n"
            "Polygon 10,20 20,20 15,25\n"
            "Polyline 11,21 12,22\n"
            "Bezier 10,20 11,21 12,22 13,23\n"
            "Bezier 110,20 11,20 12,20 13,20\n"
            "PolyPolygon 6 3 3 alternate\n"
            "Polyline 10,20 11,20\n"
            "Polyline 15,25 16,25\n"
            "PolyDraw 3\n"
            "Path 0\n"
            "Path 1\n"
            "Path 4\n"
            "Path 7\n"
            "Clip mode 1 10,20,40,30 20,20,30,30 30,20,40,30\n"
            "ClipReset\n"
            "ClipReset\n"
            "EOF\n"
            "EOF\n");   // the drawing's end, then the page's
}

TEST(TgtMetafileProcessor, ObjectsLiveAtTheirOwnIndex) {
  TPlayerFixture F;
  TgtMetafileProcessor P(F.Engine);
  TEmfBuilder B;
  B.Add(TEmrCreatePen{3, 0, {1, 0}, 0x0000FF}, 3);
  B.Add(TEmrCreatePen{2, 0, {1, 0}, 0x00FF00}, 2);
  B.Add(TEmrDword{EMR_DELETEOBJECT, 2});
  B.Add(TEmrDword{EMR_SELECTOBJECT, 3});
  B.Add(TEmrDword{EMR_SELECTOBJECT, 99});   // beyond the table: ignored
  B.Add(TEmrDword{EMR_SELECTOBJECT, 0});    // the metafile itself: ignored
  P.PlayBytes(B.Finish(TestHeader()), 0, 0);
  EXPECT_EQ(P.ObjectCount(), 3);
  EXPECT_EQ(P.Object(1)->Kind, gkEmpty);
  EXPECT_EQ(ColorToRGB(P.CurrentPen().GetColor()), 0x0000FFu);
}

TEST(TgtMetafileProcessor, StockObjectsAndBrushStyles) {
  TPlayerFixture F;
  TgtMetafileProcessor P(F.Engine);
  TEmfBuilder B;
  B.Add(TEmrDword{EMR_SELECTOBJECT, ENHMETA_STOCK_OBJECT | 3});
  B.Add(TEmrDword{EMR_SELECTOBJECT, ENHMETA_STOCK_OBJECT | 8});
  P.PlayBytes(B.Finish(TestHeader()), 0, 0);
  EXPECT_EQ(ColorToRGB(P.CurrentBrush().GetColor()), 0x808080u);
  EXPECT_EQ(P.CurrentPen().GetStyle(), psClear);
  struct { UINT Style; DWORD Hatch; TBrushStyle Want; } Cases[] = {
      {0, 0, bsSolid}, {1, 0, bsClear}, {2, 4, bsCross}, {2, 9, bsSolid}, {3, 0, bsSolid}};
  for (auto& C : Cases) {
    TgtMetafileProcessor Q(F.Engine);
    TEmfBuilder B2;
    B2.Add(TEmrCreateBrushIndirect{1, C.Style, 0x123456, C.Hatch}, 1);
    B2.Add(TEmrDword{EMR_SELECTOBJECT, 1});
    Q.PlayBytes(B2.Finish(TestHeader()), 0, 0);
    EXPECT_EQ(Q.CurrentBrush().GetStyle(), C.Want) << C.Style << "/" << C.Hatch;
  }
}

TEST(TgtMetafileProcessor, FontsFromLogicalFonts) {
  struct { Integer Weight, Escapement; Byte Pitch; bool Bold; Integer Angle; TFontPitch WantPitch; } Cases[] = {
      {700, 0, 0, true, 0, fpDefault},  {800, 0, 1, false, 0, fpFixed}, {600, 900, 2, false, 90, fpVariable},
      {400, 455, 3, false, 46, fpFixed}, {400, 445, 0, false, 44, fpDefault}};
  for (auto& C : Cases) {
    TPlayerFixture F;
    TgtMetafileProcessor P(F.Engine);
    TEmfBuilder B;
    B.Add(FontRecord(1, u"Arial", -16, C.Weight, C.Escapement, C.Pitch), 1);
    B.Add(TEmrDword{EMR_SELECTOBJECT, 1});
    B.Add(TextRecord(0, 0, u"A"));
    P.PlayBytes(B.Finish(TestHeader()), 0, 0);
    SCOPED_TRACE(C.Weight);
    EXPECT_EQ(P.CurrentFont().GetStyle().Contains(fsBold), C.Bold);
    EXPECT_EQ(P.CurrentFont().GetPitch(), C.WantPitch);
    EXPECT_EQ(P.CurrentFont().GetSize(), 12);
    auto* T = F.Item<TgtTextItem>(0);
    ASSERT_TRUE(T);
    EXPECT_EQ(T->Angle, C.Angle);
  }
}

TEST(TgtMetafileProcessor, RestoreDCFollowsTheDCStack) {
  struct { Integer Relative; Integer Left; Integer MapMode; } Cases[] = {
      {-2, 1, 2}, {-1, 2, 3}, {1, 0, 1}, {3, 2, 3}, {4, 3, 4}, {-4, 3, 4}, {0, 3, 4}};
  for (auto& C : Cases) {
    TPlayerFixture F;
    TgtMetafileProcessor P(F.Engine);
    TEmfBuilder B;
    for (DWORD Mode = 1; Mode <= 3; ++Mode) {
      B.Add(TEmrDword{EMR_SETMAPMODE, Mode});
      B.Add(TEmrNoParams{EMR_SAVEDC});
    }
    B.Add(TEmrDword{EMR_SETMAPMODE, 4});
    B.Add(TEmrDword{EMR_RESTOREDC, DWORD(C.Relative)});
    P.PlayBytes(B.Finish(TestHeader()), 0, 0);
    EXPECT_EQ(P.SavedStateCount(), C.Left) << C.Relative;
    EXPECT_EQ(P.MapMode(), C.MapMode) << C.Relative;
  }
}

TEST(TgtMetafileProcessor, MappingModesAndDegenerateExtents) {
  TPlayerFixture F;
  TgtMetafileProcessor P(F.Engine);
  TEmfBuilder B;
  B.Add(TEmrDword{EMR_SETMAPMODE, MM_ANISOTROPIC});
  B.Add(TEmrPointL{EMR_SETWINDOWEXTEX, {1440, 1440}});
  B.Add(TEmrPointL{EMR_SETVIEWPORTEXTEX, {96, 96}});
  P.PlayBytes(B.Finish(TestHeader()), 0, 0);
  EXPECT_DOUBLE_EQ(P.TransformPoint(1440, 720).X, 96);
  EXPECT_DOUBLE_EQ(P.TransformPoint(1440, 720).Y, 48);
  TEmfBuilder B2;
  B2.Add(TEmrPointL{EMR_SETWINDOWEXTEX, {0, 0}});
  B2.Add(TEmrScaleExt{EMR_SCALEVIEWPORTEXTEX, 1, 0, 1, 0});
  B2.Add(TEmrCreatePen{1, 0, {5, 0}, 0}, 1);
  B2.Add(FontRecord(2, u"Arial", -16), 2);
  P.PlayBytes(B2.Finish(TestHeader()), 0, 0);
  EXPECT_TRUE(std::isfinite(P.TransformPoint(10, 10).X));
  EXPECT_DOUBLE_EQ(P.TransformPoint(1440, 0).X, 96);   // the last usable scale stays
  TEmfBuilder B3;
  B3.Add(TEmrDword{EMR_SETMAPMODE, MM_TEXT});
  TEmrXForm X;
  X.Type = EMR_MODIFYWORLDTRANSFORM;
  X.XForm = {2, 0, 0, 2, 5, 5};
  X.Mode = 4;
  B3.Add(X);
  P.PlayBytes(B3.Finish(TestHeader()), 0, 0);
  EXPECT_DOUBLE_EQ(P.TransformPoint(1, 1).X, 7);
}

namespace {
struct TTextCase {
  DWORD Align;
  const char* Why;
};

TSize Extent(const char* Face, Integer Height, const char16_t* Text, TEXTMETRICW* Tm) {
  HDC Dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  TFont F;
  F.SetName(Face);
  F.SetHeight(Height);
  HGDIOBJ Old = SelectObject(Dc, F.GetHandle());
  TSize S;
  GetTextExtentPoint32W(Dc, reinterpret_cast<const WCHAR*>(Text), int(std::char_traits<char16_t>::length(Text)), &S);
  GetTextMetricsW(Dc, Tm);
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  return S;
}
}  // namespace

TEST(TgtMetafileProcessor, TextIsPlacedAtItsTopLeftCorner) {
  TEXTMETRICW Tm{};
  const TSize S = Extent("Arial", -16, u"Hello", &Tm);
  ASSERT_GT(Tm.tmAscent, 0);
  struct { UINT Align; double DX, DY; const char* Why; } Cases[] = {
      {TA_TOP | TA_LEFT, 0, 0, "top left is the corner"},
      {TA_BASELINE, 0, -double(Tm.tmAscent), "baseline lies an ascent below the top"},
      {TA_BOTTOM, 0, -double(S.cy), "bottom lies a text height below the top"},
      {TA_TOP | TA_CENTER, -S.cx / 2.0, 0, "centre moves half the width left"},
      {TA_BOTTOM | TA_RIGHT, -double(S.cx), -double(S.cy), "bottom right"},
      {TA_BASELINE | TA_CENTER, -S.cx / 2.0, -double(Tm.tmAscent), "baseline centre"}};
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TPlayerFixture F;
    TgtMetafileProcessor P(F.Engine);
    TEmfBuilder B;
    B.Add(FontRecord(1, u"Arial", -16), 1);
    B.Add(TEmrDword{EMR_SELECTOBJECT, 1});
    B.Add(TEmrDword{EMR_SETTEXTALIGN, C.Align});
    B.Add(TextRecord(100, 200, u"Hello"));
    P.PlayBytes(B.Finish(TestHeader()), 5, 7);
    auto* T = F.Item<TgtTextItem>(0);
    ASSERT_TRUE(T);
    EXPECT_NEAR(T->X, 105 + C.DX, 1e-9);
    EXPECT_NEAR(T->Y, 207 + C.DY, 1e-9);
    EXPECT_TRUE(T->FromMetafile);
    EXPECT_EQ(T->CharAdvances, std::vector<double>(5, 7.0));
  }
}

TEST(TgtMetafileProcessor, TextRecordsKeepCharactersClipAndCurrentPosition) {
  TPlayerFixture F;
  TgtMetafileProcessor P(F.Engine);
  P.SetCurrentPositionText(true);
  TEmfBuilder B;
  B.Add(TextRecord(0, 0, u"\u4E00"));   // no font selected yet: low byte 0 dropped
  B.Add(FontRecord(1, u"Arial", -16), 1);
  B.Add(TEmrDword{EMR_SELECTOBJECT, 1});
  B.Add(TextRecord(0, 0, u"\u4E00x"));
  B.Add(TextRecord(1, 2, u"c", ETO_CLIPPED, {0, 0, 50, 20}));
  B.Add(TEmrDword{EMR_SETTEXTALIGN, TA_UPDATECP});
  B.Add(TEmrPointL{EMR_MOVETOEX, {10, 10}});
  B.Add(TextRecord(0, 0, u"ab"));
  B.Add(TextRecord(0, 0, u"cd"));
  P.PlayBytes(B.Finish(TestHeader()), 0, 0);
  ASSERT_EQ(F.Content(), 4u);
  EXPECT_EQ(F.Item<TgtTextItem>(0)->Lines.Get(0), u"\u4E00x");
  EXPECT_FALSE(F.Item<TgtTextItem>(0)->GetClipped());
  EXPECT_TRUE(F.Item<TgtTextItem>(1)->GetClipped());
  EXPECT_EQ(F.Item<TgtTextItem>(1)->ClipRect, (TgtDoubleRect{0, 0, 50, 20}));
  TEXTMETRICW Tm{};
  const TSize W = Extent("Arial", -16, u"ab", &Tm);
  EXPECT_DOUBLE_EQ(F.Item<TgtTextItem>(2)->X, 10);
  EXPECT_DOUBLE_EQ(F.Item<TgtTextItem>(3)->X, 10 + W.cx);
}

TEST(TgtMetafileProcessor, BitmapsBecomeImagesMergedAndJoined) {
  TPlayerFixture F;
  TgtMetafileProcessor P(F.Engine);
  TEmfBuilder B;
  auto Stretch = [](Integer X, Integer W, DWORD Rop, Byte Blue) {
    TEmrStretchDIBits S;
    S.Bounds = {X, 0, X + W - 1, 9};
    S.xDest = X;
    S.cxDest = W;
    S.cyDest = 10;
    S.cxSrc = 2;
    S.cySrc = 2;
    S.Rop = Rop;
    MakeDib(2, 2, Blue, S.Bmi, S.Bits);
    return S;
  };
  B.Add(Stretch(0, 10, SRCAND, 0x0F));
  B.Add(Stretch(0, 10, SRCPAINT, 0xF0));   // same rectangle: merged
  B.Add(Stretch(0, 11, SRCCOPY, 0x00));    // one pixel wider: a new image
  for (DWORD Start : {0u, 10u, 20u}) {
    TEmrSetDIBitsToDevice D;
    D.Bounds = {50, 0, 53, 29};
    D.xDest = 50;
    D.cxSrc = 4;
    D.cySrc = 10;
    D.StartScan = Start;
    D.Scans = 10;
    MakeDib(4, 10, 0x80, D.Bmi, D.Bits);
    B.Add(D);
  }
  P.PlayBytes(B.Finish(TestHeader()), 0, 0);
  ASSERT_EQ(F.Content(), 3u);
  auto* Merged = F.Item<TgtImageItem>(0);
  ASSERT_TRUE(Merged);
  auto* Bmp = dynamic_cast<TBitmap*>(F.Engine.GetImage(Merged->ImageIndex));
  ASSERT_TRUE(Bmp);
  EXPECT_EQ(ColorToRGB(Bmp->Canvas()->GetPixel(0, 0)) >> 16, 0xFFu);   // 0x0F | 0xF0 after the AND
  auto* Banded = F.Item<TgtImageItem>(2);
  ASSERT_TRUE(Banded);
  EXPECT_EQ(F.Engine.GetImage(Banded->ImageIndex)->GetHeight(), 30);
  EXPECT_DOUBLE_EQ(Banded->Height, 30);
  EXPECT_EQ(F.Engine.ImageCount(), 3);
}

// A picture played inside a page: the page's mapping puts the picture's
// corner at the viewport origin and scales it; the stretched bitmap covers
// the rectangle between its two mapped corners, whatever the origins. A
// mapping that turns an axis over mirrors the bitmap.
TEST(TgtMetafileProcessor, BitmapsCoverTheirMappedRectangle) {
  struct TCase {
    TPoint ViewportOrg, WindowExt, ViewportExt;
    TgtDoubleRect Want;      // X, Y, X + Width, Y + Height
    bool RedLeft;            // the bitmap's left column still on the left
    const char* Why;
  } const Cases[] = {
      {{110, 90}, {65536, 65536}, {65536, 65536}, {110, 90, 244, 152}, true, "a picture at its own size"},
      {{40, 25}, {134, 62}, {268, 31}, {40, 25, 308, 56}, true, "scaled: twice as wide, half as tall"},
      {{300, 25}, {134, 62}, {-134, 62}, {166, 25, 300, 87}, false, "an axis turned over"},
  };
  for (const TCase& K : Cases) {
    SCOPED_TRACE(K.Why);
    TPlayerFixture F;
    TgtMetafileProcessor P(F.Engine);
    TEmfBuilder B;
    B.Add(TEmrDword{EMR_SETMAPMODE, MM_ANISOTROPIC});
    B.Add(TEmrPointL{EMR_SETWINDOWEXTEX, K.WindowExt});
    B.Add(TEmrPointL{EMR_SETVIEWPORTEXTEX, K.ViewportExt});
    B.Add(TEmrPointL{EMR_SETVIEWPORTORGEX, K.ViewportOrg});
    TEmrStretchDIBits S;
    // What the recorder writes: the bounds in device pixels.
    S.Bounds = {Integer(K.Want.Left), Integer(K.Want.Top), Integer(K.Want.Right), Integer(K.Want.Bottom)};
    S.cxDest = 134;
    S.cyDest = 62;
    S.cxSrc = 2;
    S.cySrc = 1;
    S.Rop = SRCCOPY;
    MakeDib(2, 1, 0, S.Bmi, S.Bits);
    S.Bits[2] = 0xFF;   // the left pixel red, the right one black
    B.Add(S);
    P.PlayBytes(B.Finish(TestHeader()), 0, 0);
    ASSERT_EQ(F.Content(), 1u);
    auto* I = F.Item<TgtImageItem>(0);
    ASSERT_TRUE(I);
    EXPECT_NEAR(I->X, K.Want.Left, 0.5);
    EXPECT_NEAR(I->Y, K.Want.Top, 0.5);
    EXPECT_NEAR(I->Width, K.Want.Right - K.Want.Left, 0.5);
    EXPECT_NEAR(I->Height, K.Want.Bottom - K.Want.Top, 0.5);
    auto* Bmp = dynamic_cast<TBitmap*>(F.Engine.GetImage(I->ImageIndex));
    ASSERT_TRUE(Bmp);
    const TColor Left = Bmp->Canvas()->GetPixel(0, 0);
    EXPECT_EQ(ColorToRGB(Left) == 0x0000FFu, K.RedLeft) << std::hex << ColorToRGB(Left);
  }
  // A bitmap set to the device at its own size: its mapped destination
  // point, the size of its bounds.
  TPlayerFixture F;
  TgtMetafileProcessor P(F.Engine);
  TEmfBuilder B;
  B.Add(TEmrDword{EMR_SETMAPMODE, MM_ANISOTROPIC});
  B.Add(TEmrPointL{EMR_SETWINDOWEXTEX, {65536, 65536}});
  B.Add(TEmrPointL{EMR_SETVIEWPORTEXTEX, {65536, 65536}});
  B.Add(TEmrPointL{EMR_SETVIEWPORTORGEX, {110, 90}});
  TEmrSetDIBitsToDevice D;
  D.Bounds = {110, 90, 114, 100};
  D.cxSrc = 4;
  D.cySrc = 10;
  D.Scans = 10;
  MakeDib(4, 10, 0x80, D.Bmi, D.Bits);
  B.Add(D);
  P.PlayBytes(B.Finish(TestHeader()), 0, 0);
  ASSERT_EQ(F.Content(), 1u);
  auto* I = F.Item<TgtImageItem>(0);
  ASSERT_TRUE(I);
  EXPECT_DOUBLE_EQ(I->X, 110);
  EXPECT_DOUBLE_EQ(I->Y, 90);
  EXPECT_DOUBLE_EQ(I->Width, 4);
  EXPECT_DOUBLE_EQ(I->Height, 10);
}

TEST(TgtMetafileProcessor, FillsWithoutBitmapsBecomeShapesOnlyWithShapesOn) {
  for (bool Shapes : {true, false}) {
    TPlayerFixture F;
    F.Engine.SetItemsToRender(Shapes ? gtAllItems : TgtItemsToRender(1 << irText));
    TgtMetafileProcessor P(F.Engine);
    TEmfBuilder B;
    B.Add(TEmrCreateBrushIndirect{1, 0, 0x0000FF, 0}, 1);
    B.Add(TEmrDword{EMR_SELECTOBJECT, 1});
    TEmrBitBlt Pat;
    Pat.Bounds = {0, 5, 19, 5};
    Pat.xDest = 0;
    Pat.yDest = 5;
    Pat.cxDest = 20;
    Pat.cyDest = 0;
    Pat.Rop = PATCOPY;
    B.Add(Pat);
    P.PlayBytes(B.Finish(TestHeader()), 0, 0);
    if (!Shapes) {
      EXPECT_EQ(F.Content(), 0u);
      continue;
    }
    ASSERT_EQ(F.Content(), 1u);
    auto* S = F.Item<TgtShapeItem>(0);
    ASSERT_TRUE(S);
    EXPECT_EQ(S->ShapeType, TgtShapeType::stLine);
    EXPECT_EQ(ColorToRGB(S->Pen.GetColor()), 0x0000FFu);
  }
}

// The player's font metrics agree with the PDF writer's own reading of the
// same face (underline and strike-out lines then meet the text), and the
// descent counts whole inches only.
TEST(TgtMetafileProcessor, FontInfoMatchesTheFaceOnTheScreen) {
  TPlayerFixture F;
  TgtMetafileProcessor P(F.Engine);
  struct TCase {
    const char* Name;
    Integer Size;
    bool WholeInchOfDescent;
  };
  for (const TCase& C : {TCase{"Arial", 12, false}, TCase{"Times New Roman", 10, false}, TCase{"Arial", 600, true}}) {
    SCOPED_TRACE(std::string(C.Name) + " " + std::to_string(C.Size));
    TFont Font;
    Font.SetName(C.Name);
    Font.SetSize(C.Size);
    TgtFontInfo Info;
    P.GetFontInfo(Font, Info);
    EXPECT_GT(Info.Ascent, 0);
    EXPECT_LT(Info.Ascent, std::abs(Font.GetHeight()) + 1);
    if (C.WholeInchOfDescent) {
      EXPECT_LT(Info.Descent, 0);
      EXPECT_EQ(Info.Descent % 72, 0);
    } else {
      EXPECT_EQ(Info.Descent, 0);
    }
    TgtPDFFont Pdf(&Font, false, 1);
    EXPECT_EQ(Info.UnderscorePosition, Pdf.Info().UnderlinePosition);
    EXPECT_EQ(Info.UnderscoreSize, Pdf.Info().UnderlineThickness);
    EXPECT_EQ(Info.StrikeoutPosition, Pdf.Info().StrikeOutPosition);
    EXPECT_LT(Info.UnderscorePosition, 0);
    EXPECT_GT(Info.StrikeoutPosition, 0);
  }
}

// Records without an item of their own (alpha blends, transparent copies,
// gradient fills) still show on the page: each becomes the picture it
// paints over white, covering its destination.
TEST(TgtMetafileProcessor, BlendsAndGradientsBecomePictures) {
  TPlayerFixture F;
  TgtMetafileProcessor P(F.Engine);
  TEmfBuilder B;
  TEmrGradientFill G;
  G.Bounds = {0, 0, 40, 10};
  G.Mode = GRADIENT_FILL_RECT_H;
  TRIVERTEX A, Z;
  Z.x = 40;
  Z.y = 10;
  Z.Blue = 0xFF00;
  G.Vertices = {A, Z};
  G.Indices = {0, 1};
  B.Add(G);
  TEmrBitBlt Alpha;
  Alpha.Type = EMR_ALPHABLEND;
  Alpha.Bounds = {50, 0, 59, 9};
  Alpha.xDest = 50;
  Alpha.cxDest = 10;
  Alpha.cyDest = 10;
  Alpha.cxSrc = 2;
  Alpha.cySrc = 2;
  Alpha.Rop = DWORD(128) << 16;   // half the source over the page
  MakeDib(2, 2, 0x00, Alpha.Bmi, Alpha.Bits);
  B.Add(Alpha);
  TEmrBitBlt Key = Alpha;
  Key.Type = EMR_TRANSPARENTBLT;
  Key.Bounds = {70, 0, 79, 9};
  Key.xDest = 70;
  Key.Rop = RGB(0, 0, 0);   // the whole black source is see-through
  B.Add(Key);
  P.PlayBytes(B.Finish(TestHeader()), 0, 0);
  ASSERT_EQ(F.Content(), 3u);
  struct TWant { double X, W; COLORREF Left, Right; };
  const TWant Want[] = {{0, 40, 0x000000, 0xFF0000},
                        {50, 10, 0x7F7F7F, 0x7F7F7F},
                        {70, 10, 0xFFFFFF, 0xFFFFFF}};
  for (std::size_t I = 0; I < 3; ++I) {
    SCOPED_TRACE(I);
    auto* Item = F.Item<TgtImageItem>(I);
    ASSERT_TRUE(Item);
    EXPECT_DOUBLE_EQ(Item->X, Want[I].X);
    EXPECT_DOUBLE_EQ(Item->Width, Want[I].W);
    auto* Bmp = dynamic_cast<TBitmap*>(F.Engine.GetImage(Item->ImageIndex));
    ASSERT_TRUE(Bmp);
    const COLORREF L = ColorToRGB(Bmp->Canvas()->GetPixel(0, 0));
    const COLORREF R = ColorToRGB(Bmp->Canvas()->GetPixel(Bmp->GetWidth() - 1, 0));
    for (int Sh : {0, 8, 16}) {
      EXPECT_NEAR(int((L >> Sh) & 0xFF), int((Want[I].Left >> Sh) & 0xFF), 8);
      EXPECT_NEAR(int((R >> Sh) & 0xFF), int((Want[I].Right >> Sh) & 0xFF), 8);
    }
  }
}
