// TFont, TPen, TBrush and TCanvas: the tools' descriptions and handles, and
// canvas drawing compared pixel for pixel with the same GDI calls made by
// hand on a twin bitmap.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiObjectTable.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/ObjectText.h"

namespace {

struct TChangeCounter : TObject {
  int Count = 0;
  void Changed(TObject*) { ++Count; }
};

// A white 24-bit bitmap of W x H.
std::unique_ptr<TBitmap> WhiteBitmap(int W, int H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  return B;
}

// Number of pixels that differ between two bitmaps of one size.
int DiffPixels(TBitmap& A, TBitmap& B) {
  int N = 0;
  for (int Y = 0; Y < A.GetHeight(); ++Y)
    for (int X = 0; X < A.GetWidth(); ++X)
      if (A.Canvas()->GetPixel(X, Y) != B.Canvas()->GetPixel(X, Y)) ++N;
  return N;
}

int CountColor(TBitmap& A, TColor C) {
  int N = 0;
  for (int Y = 0; Y < A.GetHeight(); ++Y)
    for (int X = 0; X < A.GetWidth(); ++X)
      if (A.Canvas()->GetPixel(X, Y) == C) ++N;
  return N;
}

}  // namespace

// --- TFont --------------------------------------------------------------------------

TEST(TFont, SizeAndHeightConvertAtTheFontsResolution) {
  struct TCase { int Ppi, Size, Height; };
  const TCase Cases[] = {
      {96, 8, -11}, {96, 10, -13}, {96, 12, -16}, {96, 9, -12}, {96, 72, -96}, {120, 8, -13}, {300, 10, -42},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Size << "pt at " << C.Ppi);
    TFont F;
    F.PixelsPerInch = C.Ppi;
    F.SetSize(C.Size);
    EXPECT_EQ(F.GetHeight(), C.Height);
    EXPECT_EQ(F.GetSize(), C.Size);
  }
  TFont Cell;
  Cell.SetHeight(16);  // a positive height is the cell height: size comes out negative
  EXPECT_EQ(Cell.GetSize(), -12);
}

TEST(TFont, DefaultsAreTheGuiFont) {
  TFont F;
  EXPECT_EQ(F.GetName(), "MS Sans Serif");
  EXPECT_EQ(F.GetSize(), 8);
  EXPECT_EQ(F.GetHeight(), -11);
  EXPECT_EQ(F.GetColor(), clWindowText);
  EXPECT_EQ(F.GetCharset(), DEFAULT_CHARSET);
  EXPECT_TRUE(F.GetStyle().Empty());
}

TEST(TFont, AssignCopiesEverythingAndNotifiesOnce) {
  TFont A, B;
  A.SetName("Arial");
  A.SetSize(14);
  A.SetStyle({fsBold, fsUnderline});
  A.SetColor(clRed);
  A.SetCharset(238);
  A.SetPitch(fpVariable);
  TChangeCounter Counter;
  B.OnChange = TNotifyEvent(&Counter, &TChangeCounter::Changed);
  B.Assign(&A);
  EXPECT_EQ(Counter.Count, 1);
  EXPECT_EQ(B.GetName(), "Arial");
  EXPECT_EQ(B.GetHeight(), A.GetHeight());
  EXPECT_EQ(B.GetStyle(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(B.GetColor(), clRed);
  EXPECT_EQ(B.GetCharset(), 238);
  EXPECT_EQ(B.GetPitch(), fpVariable);

  // A printer font copied from a screen font keeps the point size.
  TFont Printer;
  Printer.PixelsPerInch = 600;
  Printer.Assign(&A);
  EXPECT_EQ(Printer.GetSize(), 14);
  EXPECT_EQ(Printer.GetHeight(), -117);
}

TEST(TFont, EachPropertyChangeNotifiesAndSameValueDoesNot) {
  TFont F;
  TChangeCounter Counter;
  F.OnChange = TNotifyEvent(&Counter, &TChangeCounter::Changed);
  const std::vector<std::pair<const char*, std::function<void()>>> Steps = {
      {"name", [&] { F.SetName("Courier New"); }}, {"size", [&] { F.SetSize(20); }},
      {"style", [&] { F.SetStyle({fsItalic}); }},  {"color", [&] { F.SetColor(clBlue); }},
      {"charset", [&] { F.SetCharset(0); }},       {"pitch", [&] { F.SetPitch(fpFixed); }},
  };
  for (const auto& [Why, Step] : Steps) {
    SCOPED_TRACE(Why);
    const int Before = Counter.Count;
    Step();
    EXPECT_EQ(Counter.Count, Before + 1);
    Step();
    EXPECT_EQ(Counter.Count, Before + 1);
  }
}

namespace {
// A component whose only published property is a TFont, for the text form.
class TFontHolder : public TComponent {
  SX_CLASS(TFontHolder, TComponent)
public:
  explicit TFontHolder(TComponent* AOwner) : TComponent(AOwner) {}
  static void Published(TPublished<TFontHolder>& P) {
    P.Property("Font", &TFontHolder::GetFont, &TFontHolder::SetFont);
  }
  TFont* GetFont() { return &FFont; }
  void SetFont(TFont* Value) { FFont.Assign(Value); }

private:
  TFont FFont;
};
}  // namespace

TEST(TFont, CharsetReadsAndWritesItsNamesInTheTextForm) {
  struct TCase { const char* Text; int Charset; const char* Written; };
  const TCase Cases[] = {
      {"ANSI_CHARSET", 0, "ANSI_CHARSET"},
      {"DEFAULT_CHARSET", 1, "DEFAULT_CHARSET"},
      {"RUSSIAN_CHARSET", 204, "RUSSIAN_CHARSET"},
      {"oem_charset", 255, "OEM_CHARSET"},           // names compare without case
      {"HANGUL_CHARSET", 129, "HANGEUL_CHARSET"},    // the alias reads, the first name writes
      {"238", 238, "EASTEUROPE_CHARSET"},            // a number with a name writes the name
      {"100", 100, "100"},                           // a number without one stays a number
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    TFontHolder H(nullptr);
    TextToComponent(AnsiString("object H: TFontHolder\r\n  Font.Charset = ") + C.Text + "\r\nend\r\n", &H);
    EXPECT_EQ(H.GetFont()->GetCharset(), C.Charset);
    EXPECT_NE(ComponentToText(&H).find(AnsiString("Font.Charset = ") + C.Written + "\r\n"), AnsiString::npos)
        << ComponentToText(&H);
  }
  TFontHolder H(nullptr);
  EXPECT_THROW(TextToComponent("object H: TFontHolder\r\n  Font.Charset = KLINGON_CHARSET\r\nend\r\n", &H),
               EReadError);
  EXPECT_EQ(H.GetFont()->GetCharset(), DEFAULT_CHARSET);
}


TEST(TFont, HandleDescribesTheFontAndEqualFontsShareIt) {
  TFont A, B;
  A.SetName("Arial");
  A.SetSize(12);
  A.SetStyle({fsBold, fsItalic, fsStrikeOut});
  B.Assign(&A);
  HFONT H = A.GetHandle();
  ASSERT_NE(H, nullptr);
  EXPECT_EQ(B.GetHandle(), H);
  LOGFONTA Lf;
  ASSERT_EQ(GetObjectA(H, sizeof Lf, &Lf), int(sizeof Lf));
  EXPECT_EQ(Lf.lfHeight, -16);
  EXPECT_EQ(Lf.lfWeight, FW_BOLD);
  EXPECT_EQ(Lf.lfItalic, 1);
  EXPECT_EQ(Lf.lfUnderline, 0);
  EXPECT_EQ(Lf.lfStrikeOut, 1);
  EXPECT_STREQ(Lf.lfFaceName, "Arial");

  // The colour is no part of the handle; the height is.
  A.SetColor(clGreen);
  EXPECT_EQ(A.GetHandle(), H);
  A.SetSize(13);
  EXPECT_NE(A.GetHandle(), H);
  EXPECT_EQ(B.GetHandle(), H);  // B's claim keeps the shared handle alive
  EXPECT_EQ(GetObjectType(H), DWORD(OBJ_FONT));
}

TEST(TFont, SettingAHandleReadsTheDescriptionBack) {
  LOGFONTA Lf;
  Lf.lfHeight = -20;
  Lf.lfWeight = FW_BOLD;
  Lf.lfUnderline = 1;
  Lf.lfPitchAndFamily = FIXED_PITCH;
  std::strcpy(Lf.lfFaceName, "Courier New");
  TFont F;
  F.SetHandle(CreateFontIndirectA(&Lf));
  EXPECT_EQ(F.GetName(), "Courier New");
  EXPECT_EQ(F.GetHeight(), -20);
  EXPECT_EQ(F.GetStyle(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(F.GetPitch(), fpFixed);
  EXPECT_THROW(F.SetHandle(reinterpret_cast<HFONT>(std::intptr_t(0x1234))), EInvalidGraphicOperation);
}

// --- TPen and TBrush -----------------------------------------------------------------------

TEST(TPen, HandleFollowsStyleWidthAndColor) {
  struct TCase { TPenStyle Style; UINT Gdi; };
  const TCase Cases[] = {{psSolid, PS_SOLID}, {psDash, PS_DASH}, {psDot, PS_DOT}, {psDashDot, PS_DASHDOT},
                         {psDashDotDot, PS_DASHDOTDOT}, {psClear, PS_NULL}, {psInsideFrame, PS_INSIDEFRAME}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Gdi);
    TPen P;
    P.SetStyle(C.Style);
    P.SetWidth(C.Style == psInsideFrame ? 3 : 1);
    P.SetColor(clBtnFace);  // system colours resolve when the handle is made
    LOGPEN Lp;
    ASSERT_EQ(GetObjectA(P.GetHandle(), sizeof Lp, &Lp), int(sizeof Lp));
    EXPECT_EQ(Lp.lopnStyle, C.Gdi);
    EXPECT_EQ(Lp.lopnWidth.x, C.Style == psInsideFrame ? 3 : 1);
    EXPECT_EQ(Lp.lopnColor, ColorToRGB(clBtnFace));
  }
}

TEST(TPen, ModesMapToRop2) {
  EXPECT_EQ(PenModeToRop2(pmBlack), R2_BLACK);
  EXPECT_EQ(PenModeToRop2(pmCopy), R2_COPYPEN);
  EXPECT_EQ(PenModeToRop2(pmNot), R2_NOT);
  EXPECT_EQ(PenModeToRop2(pmXor), R2_XORPEN);
  EXPECT_EQ(PenModeToRop2(pmNotXor), R2_NOTXORPEN);
  EXPECT_EQ(PenModeToRop2(pmMergePenNot), R2_MERGEPENNOT);
  EXPECT_EQ(PenModeToRop2(pmMaskNotPen), R2_MASKNOTPEN);
}

TEST(TBrush, StylesMakeSolidHollowAndHatchedBrushes) {
  struct TCase { TBrushStyle Style; UINT Gdi; std::uintptr_t Hatch; };
  const TCase Cases[] = {{bsSolid, BS_SOLID, 0}, {bsClear, BS_HOLLOW, 0},
                         {bsHorizontal, BS_HATCHED, HS_HORIZONTAL}, {bsVertical, BS_HATCHED, HS_VERTICAL},
                         {bsFDiagonal, BS_HATCHED, HS_FDIAGONAL}, {bsBDiagonal, BS_HATCHED, HS_BDIAGONAL},
                         {bsCross, BS_HATCHED, HS_CROSS}, {bsDiagCross, BS_HATCHED, HS_DIAGCROSS}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(int(C.Style));
    TBrush B;
    B.SetColor(clRed);
    B.SetStyle(C.Style);
    LOGBRUSH Lb;
    ASSERT_EQ(GetObjectA(B.GetHandle(), sizeof Lb, &Lb), int(sizeof Lb));
    EXPECT_EQ(Lb.lbStyle, C.Gdi);
    if (C.Gdi == BS_HATCHED) {
      EXPECT_EQ(Lb.lbHatch, C.Hatch);
    }
    if (C.Gdi != BS_HOLLOW) {
      EXPECT_EQ(Lb.lbColor, RGB(255, 0, 0));
    }
  }
}

TEST(TBrush, GivingAClearBrushAColourMakesItSolid) {
  TBrush B;
  B.SetStyle(bsClear);
  B.SetColor(clWhite);  // the same colour still changes the style
  EXPECT_EQ(B.GetStyle(), bsSolid);
}

// --- TCanvas ------------------------------------------------------------------------------------

// Each case draws once through the canvas and once with the GDI calls the
// canvas is meant to make, on twin bitmaps.
struct TDrawCase {
  const char* Name;
  std::function<void(TCanvas*)> ViaCanvas;
  std::function<void(HDC)> ViaGdi;
};

TEST(TCanvas, DrawingEqualsTheGdiCalls) {
  auto WithPenBrush = [](HDC Dc, COLORREF PenColor, int Width, COLORREF BrushColor, const std::function<void()>& F) {
    HPEN P = CreatePen(PS_SOLID, Width, PenColor);
    HBRUSH B = CreateSolidBrush(BrushColor);
    HGDIOBJ OP = SelectObject(Dc, P), OB = SelectObject(Dc, B);
    F();
    SelectObject(Dc, OP);
    SelectObject(Dc, OB);
    DeleteObject(P);
    DeleteObject(B);
  };
  const TDrawCase Cases[] = {
      {"rectangle",
       [](TCanvas* C) { C->Pen()->SetColor(clRed); C->Brush()->SetColor(clBlue); C->Rectangle(3, 4, 30, 25); },
       [&](HDC Dc) { WithPenBrush(Dc, RGB(255, 0, 0), 1, RGB(0, 0, 255), [&] { Rectangle(Dc, 3, 4, 30, 25); }); }},
      {"wide ellipse",
       [](TCanvas* C) { C->Pen()->SetWidth(3); C->Brush()->SetColor(clYellow); C->Ellipse(2, 2, 36, 28); },
       [&](HDC Dc) { WithPenBrush(Dc, 0, 3, RGB(255, 255, 0), [&] { Ellipse(Dc, 2, 2, 36, 28); }); }},
      {"lines",
       [](TCanvas* C) { C->Pen()->SetColor(clGreen); C->MoveTo(1, 1); C->LineTo(35, 20); C->LineTo(5, 29); },
       [&](HDC Dc) {
         WithPenBrush(Dc, RGB(0, 128, 0), 1, RGB(255, 255, 255), [&] {
           MoveToEx(Dc, 1, 1, nullptr); LineTo(Dc, 35, 20); LineTo(Dc, 5, 29);
         });
       }},
      {"polygon",
       [](TCanvas* C) { C->Brush()->SetColor(clTeal); C->Polygon({{2, 2}, {38, 5}, {20, 28}}); },
       [&](HDC Dc) {
         const TPoint P[] = {{2, 2}, {38, 5}, {20, 28}};
         WithPenBrush(Dc, 0, 1, RGB(0, 128, 128), [&] { Polygon(Dc, P, 3); });
       }},
      {"pie and round rect",
       [](TCanvas* C) { C->Pie(0, 0, 30, 30, 30, 15, 15, 0); C->RoundRect(10, 10, 39, 29, 8, 8); },
       [&](HDC Dc) {
         WithPenBrush(Dc, 0, 1, RGB(255, 255, 255), [&] {
           Pie(Dc, 0, 0, 30, 30, 30, 15, 15, 0); RoundRect(Dc, 10, 10, 39, 29, 8, 8);
         });
       }},
      {"fill and frame",
       [](TCanvas* C) { C->Brush()->SetColor(clMaroon); C->FillRect(Rect(4, 4, 20, 20)); C->FrameRect(Rect(22, 2, 38, 28)); },
       [](HDC Dc) {
         HBRUSH B = CreateSolidBrush(RGB(128, 0, 0));
         TRect R1{4, 4, 20, 20}, R2{22, 2, 38, 28};
         FillRect(Dc, &R1, B); FrameRect(Dc, &R2, B);
         DeleteObject(B);
       }},
      {"xor pen",
       [](TCanvas* C) {
         C->Brush()->SetColor(clRed); C->FillRect(Rect(0, 0, 40, 15));
         C->Pen()->SetMode(pmXor); C->Pen()->SetColor(clWhite); C->MoveTo(0, 10); C->LineTo(40, 10);
       },
       [](HDC Dc) {
         HBRUSH B = CreateSolidBrush(RGB(255, 0, 0));
         TRect R{0, 0, 40, 15};
         FillRect(Dc, &R, B); DeleteObject(B);
         HPEN P = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
         HGDIOBJ O = SelectObject(Dc, P);
         SetROP2(Dc, R2_XORPEN); MoveToEx(Dc, 0, 10, nullptr); LineTo(Dc, 40, 10);
         SelectObject(Dc, O); DeleteObject(P);
       }},
      {"hatched brush over transparent background",
       [](TCanvas* C) { C->Brush()->SetStyle(bsCross); C->Brush()->SetColor(clNavy); C->Rectangle(0, 0, 40, 30); },
       [](HDC Dc) {
         HBRUSH B = CreateHatchBrush(HS_CROSS, RGB(0, 0, 128));
         HGDIOBJ O = SelectObject(Dc, B);
         SetBkMode(Dc, TRANSPARENT);
         Rectangle(Dc, 0, 0, 40, 30);
         SelectObject(Dc, O); DeleteObject(B);
       }},
      {"text",
       [](TCanvas* C) { C->Font()->SetName("Arial"); C->Font()->SetSize(12); C->Font()->SetColor(clRed); C->TextOut(2, 3, "Hg"); },
       [](HDC Dc) {
         LOGFONTA Lf; Lf.lfHeight = -16; Lf.lfWeight = FW_NORMAL; std::strcpy(Lf.lfFaceName, "Arial");
         Lf.lfCharSet = DEFAULT_CHARSET;
         HFONT F = CreateFontIndirectA(&Lf);
         HGDIOBJ O = SelectObject(Dc, F);
         SetTextColor(Dc, RGB(255, 0, 0));
         TextOutA(Dc, 2, 3, "Hg", 2);
         SelectObject(Dc, O); DeleteObject(F);
       }},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto A = WhiteBitmap(40, 30), B = WhiteBitmap(40, 30);
    C.ViaCanvas(A->Canvas());
    C.ViaGdi(B->Canvas()->GetHandle());
    EXPECT_EQ(DiffPixels(*A, *B), 0);
    EXPECT_GT(40 * 30 - CountColor(*A, clWhite), 0) << "the case drew nothing";
  }
}

TEST(TCanvas, ChangedToolIsReselectedOnNextUse) {
  auto B = WhiteBitmap(10, 3);
  TCanvas* C = B->Canvas();
  C->Pen()->SetColor(clRed);
  C->MoveTo(0, 0);
  C->LineTo(10, 0);
  C->Pen()->SetColor(clBlue);
  C->MoveTo(0, 2);
  C->LineTo(10, 2);
  EXPECT_EQ(C->GetPixel(5, 0), clRed);
  EXPECT_EQ(C->GetPixel(5, 2), clBlue);
  // Changing a tool drops only that tool's selection.
  C->Brush()->SetColor(clGreen);
  EXPECT_FALSE(C->State().Contains(csBrushValid));
  EXPECT_TRUE(C->State().Contains(csPenValid));
}

TEST(TCanvas, TextOutMovesThePenPastTheText) {
  auto B = WhiteBitmap(100, 30);
  TCanvas* C = B->Canvas();
  C->TextOut(5, 7, "Width");
  EXPECT_EQ(C->GetPenPos(), Point(5 + C->TextWidth("Width"), 7));
  const TSize Ext = C->TextExtent("Width");
  EXPECT_GT(Ext.cx, 0);
  EXPECT_EQ(C->TextHeight("Width"), Ext.cy);
}

TEST(TCanvas, TextRectClipsAndFillsWithTheBrush) {
  auto B = WhiteBitmap(80, 30);
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clYellow);
  C->Font()->SetColor(clBlack);
  const TRect R{10, 5, 30, 25};
  C->TextRect(R, 12, 6, "WWWWWWWW");
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 80; ++X) {
      if (!R.Contains({X, Y})) {
        ASSERT_EQ(C->GetPixel(X, Y), clWhite) << X << "," << Y;
      }
    }
  EXPECT_EQ(C->GetPixel(10, 24), clYellow);  // opaque fill reaches the corner
  EXPECT_GT(80 * 30 - CountColor(*B, clWhite) - CountColor(*B, clYellow), 0);

  // A clear brush leaves the background.
  auto T = WhiteBitmap(80, 30);
  T->Canvas()->Brush()->SetStyle(bsClear);
  T->Canvas()->TextRect(R, 12, 6, "W");
  EXPECT_EQ(CountColor(*T, clYellow), 0);
  EXPECT_EQ(T->Canvas()->GetPixel(29, 24), clWhite);
}

TEST(TCanvas, PixelsReadAndWrite) {
  auto B = WhiteBitmap(4, 4);
  B->Canvas()->SetPixel(1, 2, TColor(0x123456));
  EXPECT_EQ(B->Canvas()->GetPixel(1, 2), TColor(0x123456));
  EXPECT_EQ(B->Canvas()->GetPixel(2, 1), clWhite);
  B->Canvas()->SetPixel(0, 0, clBtnFace);
  EXPECT_EQ(B->Canvas()->GetPixel(0, 0), TColor(ColorToRGB(clBtnFace)));
}

TEST(TCanvas, CopyRectStretchesWithTheCopyMode) {
  auto Src = WhiteBitmap(4, 4);
  Src->Canvas()->Brush()->SetColor(clRed);
  Src->Canvas()->FillRect(Rect(0, 0, 2, 4));
  auto Dst = WhiteBitmap(8, 8);
  Dst->Canvas()->CopyRect(Rect(0, 0, 8, 8), Src->Canvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(Dst->Canvas()->GetPixel(3, 7), clRed);
  EXPECT_EQ(Dst->Canvas()->GetPixel(4, 0), clWhite);
  // Inverting copy: white source turns black, red turns cyan.
  Dst->Canvas()->CopyMode = cmNotSrcCopy;
  Dst->Canvas()->CopyRect(Rect(0, 0, 4, 4), Src->Canvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(Dst->Canvas()->GetPixel(0, 0), clAqua);
  EXPECT_EQ(Dst->Canvas()->GetPixel(3, 0), clBlack);
}

TEST(TCanvas, ClipRectIsTheDrawableArea) {
  auto B = WhiteBitmap(20, 10);
  EXPECT_EQ(B->Canvas()->ClipRect(), Rect(0, 0, 20, 10));
  IntersectClipRect(B->Canvas()->GetHandle(), 2, 3, 8, 9);
  EXPECT_EQ(B->Canvas()->ClipRect(), Rect(2, 3, 8, 9));
}

TEST(TCanvas, WithoutADeviceContextDrawingRaises) {
  TCanvas C;
  EXPECT_FALSE(C.HandleAllocated());
  EXPECT_THROW(C.Rectangle(0, 0, 1, 1), EInvalidOperation);
  EXPECT_THROW(C.TextWidth("x"), EInvalidOperation);
}

TEST(TCanvas, ChangeEventsBracketEachDrawing) {
  auto B = WhiteBitmap(5, 5);
  TChangeCounter Changing, Changed;
  B->Canvas()->OnChanging = TNotifyEvent(&Changing, &TChangeCounter::Changed);
  B->Canvas()->OnChange = TNotifyEvent(&Changed, &TChangeCounter::Changed);
  B->Canvas()->FillRect(Rect(0, 0, 2, 2));
  B->Canvas()->LineTo(3, 3);
  B->Canvas()->MoveTo(0, 0);  // moving draws nothing
  EXPECT_EQ(Changing.Count, 2);
  EXPECT_EQ(Changed.Count, 2);
}

TEST(TCanvas, ExternalHandleIsLeftWithStockToolsAndNothingLeaks) {
  HDC Dc = CreateCompatibleDC(nullptr);
  HBITMAP Bm = CreateBitmap(10, 10, 1, 32, nullptr);
  SelectObject(Dc, Bm);
  auto Draw = [Dc] {
    TCanvas C;
    C.SetHandle(Dc);
    C.Font()->SetName("Arial");
    C.Pen()->SetColor(clRed);
    C.Brush()->SetColor(clBlue);
    C.Rectangle(0, 0, 5, 5);
    C.TextOut(0, 0, "a");
    EXPECT_EQ(GetCurrentObject(Dc, OBJ_PEN), C.Pen()->GetHandle());
  };
  Draw();  // the layer makes its stock objects on first use
  const std::size_t Before = GdiObjectCount();
  Draw();
  EXPECT_EQ(GetCurrentObject(Dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(Dc, OBJ_BRUSH), GetStockObject(HOLLOW_BRUSH));
  EXPECT_EQ(GdiObjectCount(), Before);
  DeleteDC(Dc);
  DeleteObject(Bm);
}
