// Seeded random documents with hostile formats (absurd sizes, indents and
// tab stops, control characters, broken pictures, cells past the row's
// cells, nested rows) paged through EM_FORMATRANGE on random rectangles: every call
// advances, the end is reached, nothing crashes, and drawing breaks where
// measuring did.
#include <gtest/gtest.h>

#include <random>

#include "Layout_TestSupport.h"

using namespace richtest;

namespace {

class TRandomDoc {
public:
  explicit TRandomDoc(unsigned Seed) : FRng(Seed) {}

  TRichDocument Make() {
    TRichDocument Doc;
    const int Paras = Pick(1, 12);
    Integer Row = -1, NestRow = -1;
    for (int P = 0; P < Paras; ++P) {
      const int Runs = Pick(0, 4);
      for (int R = 0; R < Runs; ++R) {
        if (Pick(0, 9) == 0) Doc.AppendPicture(Picture(), CharFormat());
        else Doc.AppendText(Text(), CharFormat());
      }
      if (Pick(0, 4) == 0) {
        if (Row < 0 || Pick(0, 2) == 0) Row = Doc.AddRow(TableRow());
        // Some paragraphs of a row sit in a table nested in their cell.
        if (Pick(0, 2) == 0) NestRow = NestRow < 0 || Pick(0, 1) ? Doc.AddRow(TableRow()) : NestRow;
        else NestRow = -1;
        Doc.EndParagraph(ParaFormat(), CharFormat(),
                         Pick(0, 1) ? TRichParagraphEnd::Cell : TRichParagraphEnd::Paragraph, Row, Pick(-1, 5),
                         NestRow, Pick(-1, 5));
      } else {
        Row = NestRow = -1;
        Doc.EndParagraph(ParaFormat(), CharFormat());
      }
    }
    Doc.Finish(ParaFormat(), CharFormat());
    return Doc;
  }

  int Pick(int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(FRng); }
  Integer Wild() {
    static const Integer Values[] = {0, 1, -1, 15, 360, 720, -720, 1440, 9000, 20000, -20000, 1 << 24, -(1 << 24)};
    return Values[Pick(0, int(std::size(Values)) - 1)];
  }

private:
  std::u16string Text() {
    static const char16_t Pool[] = u"abc def\t\v\f-  \u3042\u4e00xyz\U0001F600.,";
    std::u16string S;
    const int N = Pick(0, 40);
    for (int I = 0; I < N; ++I) S += Pool[Pick(0, int(std::size(Pool)) - 2)];
    return S;
  }
  TRichCharFormat CharFormat() {
    TRichCharFormat F;
    static const char16_t* Faces[] = {u"", u"Arial", u"Courier New", u"Times New Roman", u"No Such Face"};
    F.Face = Faces[Pick(0, 4)];
    static const Integer Sizes[] = {1, 8, 20, 24, 72, 400, 0, -5};
    F.Size = Sizes[Pick(0, 7)];
    F.Bold = Pick(0, 1);
    F.Hidden = Pick(0, 8) == 0;
    F.Underline = Pick(0, 1) ? TRichUnderline::Single : TRichUnderline::None;
    F.VerticalPosition = TRichVerticalPosition(Pick(0, 2));
    F.Offset = Pick(0, 3) == 0 ? Wild() : 0;
    F.HasBackground = Pick(0, 5) == 0;
    F.Background = RGB(200, 200, 0);
    return F;
  }
  TRichParaFormat ParaFormat() {
    TRichParaFormat P;
    P.Alignment = TRichAlignment(Pick(0, 3));
    P.LeftIndent = Pick(0, 2) ? 0 : Wild();
    P.RightIndent = Pick(0, 2) ? 0 : Wild();
    P.FirstIndent = Pick(0, 2) ? 0 : Wild();
    P.SpaceBefore = Pick(0, 2) ? 0 : Wild();
    P.SpaceAfter = Pick(0, 2) ? 0 : Wild();
    P.LineSpacing = Pick(0, 2) ? 0 : Wild();
    P.LineSpacingMultiple = Pick(0, 1);
    P.RightToLeft = Pick(0, 6) == 0;
    P.PageBreakBefore = Pick(0, 6) == 0;
    P.Numbering = TRichNumbering(Pick(0, 6));
    P.NumberingStart = Wild();
    for (int T = Pick(0, 3), Pos = 0; T > 0; --T) {
      Pos += int(std::abs(Wild()) % 5000) + 1;
      P.Tabs.push_back({Pos, TRichTabKind(Pick(0, 4))});
    }
    P.HasShading = Pick(0, 6) == 0;
    return P;
  }
  TRichTableRow TableRow() {
    TRichTableRow R;
    R.Left = Wild();
    R.Gap = Wild();
    R.Height = Pick(0, 1) ? 0 : Wild();
    R.Alignment = TRichAlignment(Pick(0, 2));
    for (int C = Pick(0, 4); C > 0; --C) {
      TRichTableCell Cell;
      Cell.Right = Wild();
      Cell.MergedWithPrevious = Pick(0, 3) == 0;
      R.Cells.push_back(Cell);
    }
    return R;
  }
  TRichPicture Picture() {
    TRichPicture P;
    P.Kind = TRichPictureKind(Pick(0, 3));
    P.Data.resize(std::size_t(Pick(0, 64)));
    for (auto& B : P.Data) B = Byte(Pick(0, 255));
    P.GoalWidth = Wild();
    P.GoalHeight = Wild();
    P.ScaleX = Pick(0, 1) ? 100 : Pick(-10, 1000);
    return P;
  }
  std::mt19937 FRng;
};

}  // namespace

TEST(TRichFormatRange, HostileDocumentsAlwaysAdvanceAndAgree) {
  for (unsigned Seed = 1; Seed <= 150; ++Seed) {
    SCOPED_TRACE(Seed);
    TRandomDoc Gen(Seed);
    const TRichDocument Doc = Gen.Make();
    const int W = Gen.Pick(0, 1) ? Gen.Pick(0, 12000) : 9000;
    const int H = Gen.Pick(0, 1) ? Gen.Pick(0, 8000) : 12000;
    const TRect Rect{375, 375, 375 + W, 375 + H};
    const TPaging Measured = PageThrough(Doc, Rect);
    TCanvas C(200, 200);
    const TPaging Drawn = PageThrough(Doc, Rect, C.Dc(), /*Render=*/true);
    ASSERT_LE(Measured.Starts.size(), std::size_t(Doc.TextLength()) + 1);
    for (std::size_t K = 1; K < Measured.Starts.size(); ++K) EXPECT_GT(Measured.Starts[K], Measured.Starts[K - 1]);
    EXPECT_EQ(Measured.Starts, Drawn.Starts);
    EXPECT_EQ(Measured.Bottoms, Drawn.Bottoms);
  }
}
