// The document model's character positions and building rules.
#include <gtest/gtest.h>

#include "platform/richedit/RichDocument.h"

namespace {

TRichCharFormat Bold() {
  TRichCharFormat F;
  F.Bold = true;
  return F;
}

// Every paragraph's runs cover its text exactly, in order, never empty;
// FirstCp numbers the paragraphs back to back.
void ExpectInvariants(const TRichDocument& D) {
  ASSERT_FALSE(D.Paragraphs().empty());
  Integer Cp = 0;
  for (const TRichParagraph& P : D.Paragraphs()) {
    EXPECT_EQ(P.FirstCp, Cp);
    ASSERT_FALSE(P.Text.empty());
    EXPECT_TRUE(P.Text.back() == u'\r' || P.Text.back() == 0x0007);
    Integer At = 0;
    for (const TRichRun& R : P.Runs) {
      EXPECT_EQ(R.Start, At);
      EXPECT_GT(R.Length, 0);
      ASSERT_LT(size_t(R.Format), D.CharFormats().size());
      if (R.Picture >= 0) {
        EXPECT_EQ(R.Length, 1);
        EXPECT_EQ(P.Text[size_t(R.Start)], 0xFFFC);
      }
      At += R.Length;
    }
    EXPECT_EQ(At, Integer(P.Text.size()));
    Cp += Integer(P.Text.size());
  }
  EXPECT_EQ(D.TextLength(), Cp - 1);
}

}  // namespace

TEST(TRichDocument, EmptyDocumentIsOneEndMarkOfLengthZero) {
  TRichDocument D;
  ExpectInvariants(D);
  EXPECT_EQ(D.TextLength(), 0);
  EXPECT_EQ(D.Paragraphs().size(), 1u);
  EXPECT_EQ(D.GetText(), u"\r");
  EXPECT_EQ(D.PlainText(), u"");
}

TEST(TRichDocument, ClosingParagraphBreakBecomesTheEndMark) {
  struct TCase {
    int Breaks;
    size_t Paragraphs;
    Integer Length;
  } Cases[] = {{0, 1, 3}, {1, 1, 3}, {2, 2, 4}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Breaks);
    TRichDocument D;
    D.AppendText(u"abc", {});
    for (int I = 0; I < C.Breaks; ++I) D.EndParagraph({}, {});
    D.Finish({}, {});
    ExpectInvariants(D);
    EXPECT_EQ(D.Paragraphs().size(), C.Paragraphs);
    EXPECT_EQ(D.TextLength(), C.Length);
  }
}

TEST(TRichDocument, RunsMergeEqualFormatsAndSplitOthers) {
  TRichDocument D;
  D.AppendText(u"ab", {});
  D.AppendText(u"cd", {});
  D.AppendText(u"EF", Bold());
  D.EndParagraph({}, Bold());
  D.AppendText(u"x", {});
  D.Finish({}, {});
  ExpectInvariants(D);
  const TRichParagraph& P = D.Paragraphs()[0];
  ASSERT_EQ(P.Runs.size(), 2u);  // the mark shares the bold run
  EXPECT_EQ(P.Runs[0].Length, 4);
  EXPECT_EQ(P.Runs[1].Length, 3);
  EXPECT_TRUE(D.CharFormat(P.Runs[1].Format).Bold);
  EXPECT_EQ(D.CharFormats().size(), 2u);  // formats are interned
}

TEST(TRichDocument, ControlCharactersOtherThanTabVtFfAreDropped) {
  TRichDocument D;
  D.AppendText(u"a\tb\x0b" u"c\x0c" u"d\r\ne\x07" u"f\x01", {});
  D.Finish({}, {});
  EXPECT_EQ(D.GetText(), u"a\tb\x0b" u"c\x0c" u"def\r");
}

TEST(TRichDocument, CellsEndWithBelAndKeepAFinalEmptyParagraph) {
  TRichDocument D;
  const Integer Row = D.AddRow({});
  D.AppendText(u"a", {});
  D.EndParagraph({}, {}, TRichParagraphEnd::Cell, Row, 0);
  D.AppendText(u"b", {});
  D.EndParagraph({}, {}, TRichParagraphEnd::Cell, Row, 1);
  D.Finish({}, {});
  ExpectInvariants(D);
  ASSERT_EQ(D.Paragraphs().size(), 3u);
  EXPECT_EQ(D.Paragraphs()[0].End(), TRichParagraphEnd::Cell);
  EXPECT_EQ(D.Paragraphs()[1].Cell, 1);
  EXPECT_EQ(D.Paragraphs()[2].Row, -1);
  EXPECT_EQ(D.PlainText(), u"a\tb\r\n");
}

TEST(TRichDocument, CpQueriesClampAndCrossParagraphs) {
  TRichDocument D;
  D.AppendText(u"ab", {});
  D.EndParagraph({}, {});
  D.AppendPicture({}, {});
  D.AppendText(u"c", {});
  D.Finish({}, {});
  ExpectInvariants(D);
  // "ab\r" [0,3), "\uFFFCc\r" [3,6); length 5.
  struct TCase {
    Integer Cp, Paragraph;
  } At[] = {{-5, 0}, {0, 0}, {2, 0}, {3, 1}, {5, 1}, {99, 1}};
  for (const auto& C : At) EXPECT_EQ(D.ParagraphAt(C.Cp), C.Paragraph) << C.Cp;
  EXPECT_EQ(D.GetText(1, 4), u"b\r\xFFFC");
  EXPECT_EQ(D.GetText(4), u"c\r");
  EXPECT_EQ(D.GetText(4, 2), u"");
  EXPECT_EQ(D.PlainText(), u"ab\r\n\xFFFC" u"c");
}

TEST(TRichDocument, AppendingAfterFinishReopensTheLastParagraph) {
  TRichDocument D;
  D.AppendText(u"ab", {});
  D.Finish({}, {});
  D.AppendText(u"c", {});
  D.Finish({}, {});
  ExpectInvariants(D);
  EXPECT_EQ(D.GetText(), u"abc\r");
}

TEST(TRichPicture, DisplaySizePrefersGoalAndAppliesScale) {
  struct TCase {
    TRichPictureKind Kind;
    Integer W, H, GoalW, GoalH, ScaleX, ScaleY;
    TSize Want;
    const char* Why;
  } Cases[] = {
      {TRichPictureKind::Png, 10, 20, 0, 0, 100, 100, {150, 300}, "pixels at 96 dpi"},
      {TRichPictureKind::Emf, 2540, 1270, 0, 0, 100, 100, {1440, 720}, "metafile 0.01 mm"},
      {TRichPictureKind::Dib, 10, 20, 1000, 500, 50, 200, {500, 1000}, "goal times scale"},
      {TRichPictureKind::Dib, 10, 20, 1000, 500, 0, -3, {1000, 500}, "bad scale reads as 100"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TRichPicture P;
    P.Kind = C.Kind;
    P.Width = C.W;
    P.Height = C.H;
    P.GoalWidth = C.GoalW;
    P.GoalHeight = C.GoalH;
    P.ScaleX = C.ScaleX;
    P.ScaleY = C.ScaleY;
    EXPECT_EQ(P.DisplaySize(), C.Want);
  }
}

TEST(TRichDocument, ParagraphsOfOneFormatShareIt) {
  // A long document has many paragraphs but few formats: equal formats are
  // one object, whether they follow each other or come back later.
  TRichParaFormat Centered, Indented;
  Centered.Alignment = TRichAlignment::Center;
  Indented.LeftIndent = 720;
  Indented.Tabs = {{360}};
  TRichDocument D;
  const TRichParaFormat* Sequence[] = {&Centered, &Centered, &Indented, &Centered, &Indented};
  for (const TRichParaFormat* F : Sequence) {
    D.AppendText(u"x", TRichCharFormat());
    D.EndParagraph(*F, TRichCharFormat());
  }
  D.Finish(TRichParaFormat(), TRichCharFormat());
  const auto& P = D.Paragraphs();
  ASSERT_EQ(P.size(), 5u);
  EXPECT_EQ(P[0].Format, P[1].Format);
  EXPECT_EQ(P[0].Format, P[3].Format);
  EXPECT_EQ(P[2].Format, P[4].Format);
  EXPECT_NE(P[0].Format, P[2].Format);
  EXPECT_EQ(*P[2].Format, Indented);
  EXPECT_EQ(P[4].Format->Tabs.size(), 1u);
  // A copy of the document reads the same formats.
  const TRichDocument Copy = D;
  EXPECT_EQ(*Copy.Paragraphs()[0].Format, Centered);
  ExpectInvariants(D);
}
