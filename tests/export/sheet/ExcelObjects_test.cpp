#include <gtest/gtest.h>
#include "SheetSupport.h"

namespace {
// Reaches the writer's encoders the way the page renderer does.
class TObjects : public TTestSheetEngine<TgtExcelEngine> {
public:
  using TgtExExcelEngine::EncodeBitmap;
  using TgtExExcelEngine::EncodeEllipse;
  using TgtExExcelEngine::EncodeLine;
  using TgtExExcelEngine::EncodePolygon;
  using TgtExExcelEngine::EncodeRectangle;
  using TgtExExcelEngine::ValidateOutputImageFormat;
};

std::string Export(TObjects& E, const std::string& Name, const std::function<void(TObjects&)>& Draw,
                   std::string* Cells = nullptr) {
  const std::string Base = SheetTempBase(Name);
  E.SetFileName(Base);
  E.BeginDoc();
  Draw(E);
  E.EndDoc();
  const std::string Out = RunSheetReader("xlsobj", Base + ".xls");
  if (Cells) *Cells = RunSheetReader("xls", Base + ".xls");
  std::remove((Base + ".xls").c_str());
  return Out;
}
}  // namespace

TEST(TgtExExcelEngine, ShapesAreAnchoredObjectsWithTheirOwnIds) {
  TObjects E;
  std::string Cells;
  const std::string Out = Export(
      E, "shapes",
      [](TObjects& E) {
        TPen Pen;
        TBrush Brush;
        const double C = E.GetColumnWidthPx(), R = E.GetDefaultRowHeight();
        E.EncodeRectangle(&Pen, &Brush, 0, 0, C * 2, R * 3);
        E.EncodeEllipse(&Pen, nullptr, C / 2, R, C * 1.5, R * 2);
        E.EncodeLine(&Pen, C * 3, 0, C * 3, R);
        E.EncodePolygon({{0, 0}, {10, 0}, {5, 8}}, true, &Pen, &Brush);
        E.TextOut(0, 0, u"text too");
      },
      &Cells);
  // A column ends at a whole pixel, so an object exactly two grid columns
  // wide reaches the start of the third.
  EXPECT_EQ(Out,
            "OBJ type=2 id=1 cols=0+0..2+0 rows=0+0..3+0 len=46\n"
            "OBJ type=3 id=2 cols=0+512..1+512 rows=1+0..2+0 len=46\n"
            "OBJ type=1 id=3 cols=3+0..3+0 rows=0+0..1+0 len=46\n"
            "OBJ type=9 id=4 cols=0+0..0+174 rows=0+0..0+137 len=68\n"
            "COORDLIST 0 0 10 0 5 8 0 0\n")
      << Out;
  EXPECT_EQ(Cells.find("EXIT"), std::string::npos) << Cells;
  EXPECT_NE(Cells.find("text too"), std::string::npos) << Cells;
}

TEST(TgtExExcelEngine, PictureDataSplitsIntoContinueRecords) {
  struct {
    Integer Width;
    const char* Want;
  } Cases[] = {
      // The bitmap is followed by one spare byte (see WritePicture).
      {684, "IMDATA cf=9 size=2064 len=2073\n"},
      {685, "IMDATA cf=9 size=2068 len=2076\nCONTINUE len=1\n"},
      {686, "IMDATA cf=9 size=2072 len=2076\nCONTINUE len=5\n"},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Width);
    TObjects E;
    const std::string Out = Export(E, "picture", [&](TObjects& E) {
      TBitmap Bmp;
      Bmp.SetPixelFormat(pf24bit);
      Bmp.SetSize(C.Width, 1);
      E.EncodeBitmap(&Bmp, 10, 10);
    });
    EXPECT_EQ(Out.substr(Out.find('\n') + 1), C.Want) << Out;
    EXPECT_EQ(Out.rfind("OBJ type=8 id=1 ", 0), 0u) << Out;
  }
}

TEST(TgtExExcelEngine, OnlyBitmapsAndMetafilesAreAccepted) {
  TObjects E;
  AnsiString Message;
  EXPECT_TRUE(E.ValidateOutputImageFormat(ifMetafile, Message));
  EXPECT_TRUE(E.ValidateOutputImageFormat(ifBMP, Message));
  EXPECT_FALSE(E.ValidateOutputImageFormat(ifPNG, Message));
  EXPECT_EQ(Message, "The Excel Engine supports only  BMP and Metafile image formats");
  // The image settings ask the engine and keep their format on a refusal.
  E.GetImageSettings()->SetOutputImageFormat(ifBMP);
  E.GetImageSettings()->SetOutputImageFormat(ifPNG);
  EXPECT_EQ(E.GetImageSettings()->GetOutputImageFormat(), ifBMP);
}

// Ids and row heights belong to one worksheet: the drawing on the second
// sheet is anchored and numbered as if it were the first, whatever tall rows
// the first sheet had.
TEST(TgtExExcelEngine, EachWorksheetStartsItsOwnIdsAndRowHeights) {
  // A picture, as drawn pages reach the writer (shapes are drawn into it).
  auto Rect = [](TObjects& E) {
    TBitmap Bmp;
    Bmp.SetPixelFormat(pf24bit);
    Bmp.SetSize(4, 4);
    const double C = E.GetColumnWidthPx(), R = E.GetDefaultRowHeight();
    E.StretchImage(TgtDoubleRect{C / 2, R * 2.5, C * 2, R * 6}, &Bmp);
  };
  TObjects Alone;
  const std::string Want = Export(Alone, "alone", Rect);
  ASSERT_EQ(Want.rfind("OBJ type=8 id=1 ", 0), 0u) << Want;

  TObjects E;
  E.GetPreferences()->SetPagesPerWorksheet(1);
  const std::string Out = Export(E, "two_sheets", [&](TObjects& E) {
    E.GetFont()->SetSize(30);
    // A row's height is its tallest text after the first.
    for (int Row = 0; Row < 8; ++Row) {
      E.TextOut(0, E.Row(Row) * 3, u"tall");
      E.TextOut(E.Col(3), E.Row(Row) * 3, u"tall");
    }
    Rect(E);
    E.NewPage();
    E.GetFont()->SetSize(8);
    Rect(E);
  });
  // Each picture is its OBJ line and the IMDATA line after it.
  const std::size_t Second = Out.find("OBJ", 1);
  ASSERT_NE(Second, std::string::npos) << Out;
  EXPECT_EQ(Out.substr(Second), Want) << Out;
}

// Anchors are 16-bit cell numbers: a shape past the sheet's last row or
// column is pinned to it, not wrapped to the top.
TEST(TgtExExcelEngine, AnchorsPastTheSheetAreClamped) {
  TObjects E;
  const std::string Out = Export(E, "far", [](TObjects& E) {
    TPen Pen;
    E.EncodeLine(&Pen, 1e7, 1e7, 1e7 + 50, 1e7 + 50);
  });
  EXPECT_EQ(Out.find("EXIT"), std::string::npos) << Out;
  EXPECT_NE(Out.find("cols=255+"), std::string::npos) << Out;
  EXPECT_NE(Out.find("rows=16383+"), std::string::npos) << Out;
  EXPECT_NE(Out.find("..255+"), std::string::npos) << Out;
}

// gnumeric's reader checks every OBJ and IMDATA record and says "most
// likely corrupted" at the first that it cannot take; pictures of both kinds
// and shapes have to pass it.
TEST(TgtExExcelEngine, PicturesAndShapesPassGnumericsChecks) {
  if (sxtest::RunCommand("command -v ssconvert").empty()) GTEST_SKIP() << "ssconvert (gnumeric) is not installed";
  TObjects E;
  E.GetImageSettings()->SetOutputImageFormat(ifMetafile);
  const std::string Base = SheetTempBase("gnumeric");
  E.SetFileName(Base);
  E.BeginDoc();
  E.TextOut(0, 0, u"above the pictures");
  TMetafile Mf;
  Mf.SetWidth(40);
  Mf.SetHeight(30);
  {
    TMetafileCanvas C(&Mf, nullptr);
    C.Brush()->SetColor(clRed);
    C.Rectangle(2, 2, 38, 28);
  }
  E.DrawImage(&Mf, 20, 40);
  TBitmap Bmp;
  Bmp.SetPixelFormat(pf24bit);
  Bmp.SetSize(10, 3);
  E.EncodeBitmap(&Bmp, 10, 120);
  Bmp.SetSize(700, 3);   // data past one IMDATA record
  E.EncodeBitmap(&Bmp, 10, 120);
  TPen Pen;
  TBrush Brush;
  E.EncodeRectangle(&Pen, &Brush, 100, 10, 160, 40);
  E.EncodeLine(&Pen, 100, 10, 160, 40);
  E.EncodeEllipse(&Pen, &Brush, 100, 10, 160, 40);
  E.TextBox(TgtDoubleRect{200, 10, 300, 60}, u"boxed words", 0, 0);
  E.EncodePolygon({{0, 0}, {10, 0}, {5, 8}}, true, &Pen, &Brush);
  E.EndDoc();
  int Status = -1;
  const std::string Out = sxtest::RunCommand("timeout 120 ssconvert '" + Base + ".xls' '" + Base + ".csv' 2>&1", &Status);
  EXPECT_EQ(Status, 0) << Out;
  EXPECT_EQ(Out.find("corrupt"), std::string::npos) << Out;
  EXPECT_NE(sxtest::ReadFile(Base + ".csv").find("above the pictures"), std::string::npos);
  std::remove((Base + ".xls").c_str());
  std::remove((Base + ".csv").c_str());
}

// With MetafileAsImage a page becomes one metafile picture: its text makes
// no cells and its shapes no objects of their own.
TEST(TgtExExcelEngine, MetafileAsImageMakesThePageOnePicture) {
  struct TCase { bool AsImage; const char* Picture; bool TextCell; };
  const TCase Cases[] = {{true, "IMDATA cf=2 ", false}, {false, nullptr, true}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.AsImage);
    TObjects E;
    E.GetPreferences()->SetMetafileAsImage(C.AsImage);
    std::string Cells;
    const std::string Out = Export(
        E, "asimage",
        [](TObjects& E) {
          TCanvas* Page = E.GetCanvas();
          Page->Brush()->SetColor(clRed);
          Page->Rectangle(10, 10, 60, 40);
          Page->TextOut(10, 60, "on the page");
        },
        &Cells);
    if (C.Picture) {
      EXPECT_EQ(Out.rfind("OBJ type=8 id=1 ", 0), 0u) << Out;
      EXPECT_NE(Out.find(C.Picture), std::string::npos) << Out;
      EXPECT_EQ(Out.find("OBJ", 1), std::string::npos) << Out;
    } else {
      EXPECT_EQ(Out.find("IMDATA cf=2 "), std::string::npos) << Out;
    }
    EXPECT_EQ(Cells.find("on the page") != std::string::npos, C.TextCell) << Cells;
  }
}
