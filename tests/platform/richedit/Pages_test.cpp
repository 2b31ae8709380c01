// What the pages hold: every word of a document's plain text is drawn inside
// the text rectangle of some page, once, whatever the layout had to do to
// fit it (cut a tall row, wrap cells past the right edge, lift a line
// taller than the page), and pages start where the document says.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Layout_TestSupport.h"
#include "platform/gdi/Emf.h"
#include "platform/gdi/EmfPlayer.h"
#include "platform/gdi/EmfRecorder.h"
#include "platform/gdi/EmfRecords.h"
#include "platform/richedit/RtfReader.h"
#include "platform/rtl/CodePages.h"
#include "support/TestFiles.h"

using namespace richtest;

namespace {

std::string Fixture(const char* Name) {
  return sxtest::ReadFile(std::filesystem::path(SX_SOURCE_DIR) / "tests/fixtures/rtf" / Name);
}

// The text rectangle of every page: 25..600 x 25..800 pixels.
const TRect PageRect{375, 375, 9000, 12000};
const TRect PagePixels{25, 25, 600, 800};

struct TDrawnPage {
  std::vector<std::string> Words;   // drawn inside the rectangle, in drawing order
  std::vector<std::string> Outside; // drawn, but not (wholly) inside it
  int Pictures = 0;                 // bitmaps and metafiles drawn
};

std::vector<std::string> SplitWords(const std::u16string& Text) {
  std::vector<std::string> Out;
  std::u16string W;
  for (char16_t C : Text + u" ") {
    if (C == u' ' || C == u'\t' || C == u'\r' || C == u'\n' || C == u'\v' || C == u'\f' || C == 0xFFFC) {
      if (!W.empty()) Out.push_back(UTF8Encode(W));
      W.clear();
    } else {
      W += C;
    }
  }
  return Out;
}

// Pages through the document as the export engine does, each page into a
// metafile of its own, and reads back what each page drew.
std::vector<TDrawnPage> DrawPages(const TRichDocument& Doc) {
  std::vector<TDrawnPage> Pages;
  TRichFormatRange Fr;
  const LONG Last = Doc.TextLength() - 1;
  LONG Start = 0;
  for (int Guard = 0; Guard < 1000; ++Guard) {
    HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    FORMATRANGE R;
    R.hdc = R.hdcTarget = Dc;
    R.rc = R.rcPage = PageRect;
    R.chrg = {Start, -1};
    const LONG Next = LONG(Fr.Format(Doc, u"Arial", true, &R));
    HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
    TDrawnPage Page;
    const auto Bytes = EmfBytes(Mf);
    EmfForEachRecord(*Bytes, [&](const TEmfRecord& Rec) {
      if (Rec.Type() == EMR_STRETCHDIBITS) {
        ++Page.Pictures;
      } else if (Rec.Type() == EMR_EXTTEXTOUTW) {
        const TEmrExtTextOut T = TEmrExtTextOut::Read(Rec);
        long long Right = T.Reference.X;
        for (Integer D : T.Dx) Right += D;
        // Tables may reach half an inch (48 pixels) into the right margin.
        const bool Inside = T.Reference.X >= PagePixels.Left && Right <= PagePixels.Right + 48 &&
                            T.Reference.Y >= PagePixels.Top && T.Reference.Y < PagePixels.Bottom;
        for (auto& W : SplitWords(T.Text)) (Inside ? Page.Words : Page.Outside).push_back(W);
      }
      return true;
    });
    DeleteEnhMetaFile(Mf);
    Pages.push_back(std::move(Page));
    if (Next >= Last || Next == -1) break;
    EXPECT_GT(Next, Start);
    if (Next <= Start) break;
    Start = Next;
  }
  Fr.Release();
  return Pages;
}

// Every word of the plain text is drawn inside a page exactly once.
void ExpectEveryWordOnce(const TRichDocument& Doc, const std::vector<TDrawnPage>& Pages) {
  std::map<std::string, int> Want, Got;
  for (const auto& W : SplitWords(Doc.PlainText())) ++Want[W];
  for (const auto& P : Pages) {
    for (const auto& W : P.Words) ++Got[W];
    EXPECT_TRUE(P.Outside.empty()) << "drawn outside the rectangle: " << P.Outside.front();
  }
  EXPECT_EQ(Got, Want);
}

std::string Joined(const TDrawnPage& P) {
  std::string S;
  for (const auto& W : P.Words) S += (S.empty() ? "" : " ") + W;
  return S;
}

bool Holds(const TDrawnPage& P, const std::string& Word) {
  return std::find(P.Words.begin(), P.Words.end(), Word) != P.Words.end();
}

}  // namespace

TEST(RichPages, ARowTallerThanThePageContinuesOnTheNextPages) {
  const TRichDocument Doc = RtfRead(Fixture("richedit_tall_row.rtf"));
  const auto Pages = DrawPages(Doc);
  ASSERT_EQ(Pages.size(), 2u);
  ExpectEveryWordOnce(Doc, Pages);
  // The row starts under the paragraph before it, both cells side by side;
  // the long cell goes on where the first page ends, and so does the text
  // after the table.
  EXPECT_TRUE(Holds(Pages[0], "Before"));
  EXPECT_TRUE(Holds(Pages[0], "Beside"));
  EXPECT_TRUE(Holds(Pages[1], "60"));
  EXPECT_TRUE(Holds(Pages[1], "After"));
}

TEST(RichPages, RowCutsNameTheirPageStartsAndAgreeWithMeasuring) {
  // Cells of unequal line heights, a nested table, and rows taller than
  // several pages: every page starts past the last, measuring and drawing
  // agree, and nothing is drawn twice or lost.
  std::string Rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 \\trowd\\cellx3000\\cellx6000\\cellx9000 ";
  for (int I = 0; I < 150; ++I) Rtf += "\\pard\\intbl a" + std::to_string(I) + "\\par ";
  Rtf += "\\pard\\intbl a150\\cell ";
  for (int I = 0; I < 60; ++I) Rtf += "\\pard\\intbl\\fs40 b" + std::to_string(I) + "\\par ";
  Rtf += "\\pard\\intbl\\fs40 b60\\cell \\pard\\intbl\\fs20 ";
  for (int I = 0; I < 40; ++I)
    Rtf += "\\pard\\intbl\\itap2 n" + std::to_string(I) + "\\nestcell n" + std::to_string(I) + "x\\nestcell "
           "{\\*\\nesttableprops\\trowd\\cellx1400\\cellx2800\\nestrow}";
  Rtf += "\\pard\\intbl c\\cell \\row \\pard Tail\\par }";
  const TRichDocument Doc = RtfRead(Rtf);
  const auto Pages = DrawPages(Doc);
  EXPECT_GE(Pages.size(), 3u);
  ExpectEveryWordOnce(Doc, Pages);
  const TPaging Measured = PageThrough(Doc, PageRect);
  TCanvas C(640, 840);
  const TPaging Drawn = PageThrough(Doc, PageRect, C.Dc(), /*Render=*/true);
  EXPECT_EQ(Measured.Starts, Drawn.Starts);
  EXPECT_EQ(Measured.Bottoms, Drawn.Bottoms);
  EXPECT_EQ(Measured.Starts.size(), Pages.size());
}

TEST(RichPages, SectionBreaksStartANewPageUnlessContinuous) {
  const TRichDocument Doc = RtfRead(Fixture("richedit_sections.rtf"));
  const auto Pages = DrawPages(Doc);
  ASSERT_EQ(Pages.size(), 2u);
  EXPECT_EQ(Joined(Pages[0]), "Section one");
  EXPECT_EQ(Joined(Pages[1]), "Section two Section three");
  // A section break that ends the document opens no empty page.
  EXPECT_EQ(DrawPages(RtfRead("{\\rtf1 Only\\sect }")).size(), 1u);
}

TEST(RichPages, AnExactLineTallerThanThePageKeepsItsText) {
  const TRichDocument Doc = RtfRead(Fixture("richedit_exact_line.rtf"));
  const auto Pages = DrawPages(Doc);
  ASSERT_EQ(Pages.size(), 3u);
  ExpectEveryWordOnce(Doc, Pages);
  EXPECT_EQ(Joined(Pages[1]), "Tall exact line");
}

TEST(RichPages, CellsPastTheRightEdgeWrapIntoBandsBelow) {
  struct TCase {
    const char* Why;
    std::string Rtf;
  };
  std::string Many = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 \\trowd\\cellx1000 ";
  for (int I = 1; I <= 2000; ++I) Many += "\\pard\\intbl w" + std::to_string(I) + "\\cell ";
  Many += "\\row }";
  std::string Wide = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 \\trowd\\cellx3000\\cellx30000 \\pard\\intbl Near\\cell "
                     "\\pard\\intbl";
  for (int I = 0; I < 60; ++I) Wide += " far" + std::to_string(I);
  Wide += "\\cell \\row }";
  const TCase Cases[] = {
      {"ten cells of two inches", Fixture("richedit_wide_cells.rtf")},
      {"a cell reaching far past the edge", Wide},
      {"2000 cells under one boundary", Many},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    const TRichDocument Doc = RtfRead(C.Rtf);
    ExpectEveryWordOnce(Doc, DrawPages(Doc));
  }
}

TEST(RichPages, ShapePicturesAreDrawnOnceWhereTheShapeIs) {
  const TRichDocument Doc = RtfRead(Fixture("richedit_shape_pictures.rtf"));
  // The shape's picture (pib) and the \shppict one; neither the shape's
  // result nor \nonshppict repeats them.
  ASSERT_EQ(Doc.Pictures().size(), 2u);
  EXPECT_EQ(Doc.Pictures()[0].DisplaySize().cx, 1440);
  EXPECT_EQ(Doc.Pictures()[1].DisplaySize().cx, 720);
  EXPECT_EQ(Doc.PlainText(), u"Shape: \uFFFC and inline: \uFFFC end.");
  const auto Pages = DrawPages(Doc);
  ASSERT_EQ(Pages.size(), 1u);
  EXPECT_EQ(Pages[0].Pictures, 2);
  ExpectEveryWordOnce(Doc, Pages);
}

TEST(RichPages, TurnedCellsDrawTheirTextUpwardsOrDownwards) {
  const TRichDocument Doc = RtfRead(Fixture("richedit_turned_cells.rtf"));
  ASSERT_EQ(Doc.Rows().size(), 1u);
  const auto Pages = DrawPages(Doc);
  ASSERT_EQ(Pages.size(), 1u);
  ExpectEveryWordOnce(Doc, Pages);
  // The ink of each cell's column: the turned ones stand upright and the
  // row is as tall as their text is long.
  TCanvas C(640, 840);
  PageThrough(Doc, PageRect, C.Dc(), /*Render=*/true);
  auto InkIn = [&](int Left, int Right) {
    TRect R{Right, 840, Left, 0};
    for (int Y = 0; Y < 840; ++Y)
      for (int X = Left; X < Right; ++X)
        if (GetPixel(C.Dc(), X, Y) != RGB(255, 255, 255)) {
          R.Left = std::min(R.Left, X);
          R.Top = std::min(R.Top, Y);
          R.Right = std::max(R.Right, X + 1);
          R.Bottom = std::max(R.Bottom, Y + 1);
        }
    return R;
  };
  const TRect Up = InkIn(27, 123), Down = InkIn(127, 223), Plain = InkIn(227, 600);
  EXPECT_GT(Up.Bottom - Up.Top, 3 * (Up.Right - Up.Left));
  EXPECT_GT(Down.Bottom - Down.Top, 3 * (Down.Right - Down.Left));
  EXPECT_LT(Plain.Bottom - Plain.Top, Plain.Right - Plain.Left);
  // Upwards text starts at the bottom, downwards text at the top.
  EXPECT_GT(Up.Bottom, Plain.Bottom + 20);
  EXPECT_LT(Down.Top, Plain.Top + 5);
}

TEST(RichPages, PicturesInTurnedCellsTurnWithTheirText) {
  // Upwards a picture turns a quarter left (its top to the page's left, its
  // start at the bottom), downwards a quarter right; the ordinary cell
  // keeps it upright. The DIB is 48 x 32 pixels upright, the metafile 134 x 62.
  const TRichDocument Doc = RtfRead(Fixture("richedit_turned_pictures.rtf"));
  ASSERT_EQ(Doc.Pictures().size(), 3u);
  const auto Pages = DrawPages(Doc);
  ASSERT_EQ(Pages.size(), 1u);
  EXPECT_EQ(Pages[0].Pictures, 3);
  ExpectEveryWordOnce(Doc, Pages);
  TCanvas C(640, 840);
  PageThrough(Doc, PageRect, C.Dc(), /*Render=*/true);
  // The box of one colour between two columns of the page.
  auto Box = [&](COLORREF Colour, int Left, int Right) {
    TRect R{Right, 840, Left, 0};
    for (int Y = 0; Y < 840; ++Y)
      for (int X = Left; X < Right; ++X)
        if (GetPixel(C.Dc(), X, Y) == Colour) {
          R.Left = std::min(R.Left, X);
          R.Top = std::min(R.Top, Y);
          R.Right = std::max(R.Right, X + 1);
          R.Bottom = std::max(R.Bottom, Y + 1);
        }
    return R;
  };
  const COLORREF Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255), Green = RGB(0, 255, 0), Yellow = RGB(255, 255, 0);
  struct TQuarter {
    COLORREF Colour;
    int Left, Right;      // the cell's columns (no gap: the pictures reach its edges)
    TSize Size;           // on the page
    COLORREF RightOf;     // the colour beside it on the right, or 0
    COLORREF Below;       // the colour under it, or 0
    const char* Why;
  } const Cases[] = {
      {Blue, 25, 125, {16, 24}, Yellow, Red, "upwards: the top edge on the left, its right end at the top"},
      {Green, 25, 125, {16, 24}, 0, 0, "upwards: the bottom right quarter"},
      {Red, 125, 225, {62, 67}, 0, Blue, "downwards: the metafile's left half on top"},
      {Blue, 125, 225, {62, 67}, 0, 0, "downwards: its right half below"},
      {Red, 225, 600, {24, 16}, Blue, Green, "upright in the ordinary cell"},
  };
  for (const TQuarter& K : Cases) {
    SCOPED_TRACE(K.Why);
    const TRect R = Box(K.Colour, K.Left, K.Right);
    EXPECT_NEAR(R.Right - R.Left, K.Size.cx, 1);
    EXPECT_NEAR(R.Bottom - R.Top, K.Size.cy, 1);
    if (K.RightOf) {
      const TRect N = Box(K.RightOf, K.Left, K.Right);
      EXPECT_EQ(N.Left, R.Right);
      EXPECT_EQ(N.Top, R.Top);
    }
    if (K.Below) {
      const TRect N = Box(K.Below, K.Left, K.Right);
      EXPECT_EQ(N.Top, R.Bottom);
      EXPECT_EQ(N.Left, R.Left);
    }
  }
}

TEST(RichPages, MetafilePicturesFillTheBoxTheirGoalSizeGives) {
  // Windows metafiles sized by \picwgoal/\pichgoal (and \picscalex/y):
  // 2010 x 930 twips are 134 x 62 pixels, drawn after "A" on the first line
  // whatever the records inside draw with (a rectangle, a stretched DIB).
  struct TCase {
    const char* File;
    TSize Box;
    bool Halves;   // red on the left half, blue on the right one
  } const Cases[] = {{"richedit_wmf_goal.rtf", {134, 62}, false}, {"richedit_wmf_stretchblt.rtf", {134, 62}, true}};
  for (const TCase& K : Cases) {
    SCOPED_TRACE(K.File);
    const TRichDocument Doc = RtfRead(Fixture(K.File));
    ASSERT_FALSE(Doc.Pictures().empty());
    // Straight onto a bitmap, and through a page metafile played back.
    TCanvas Direct(640, 840);
    PageThrough(Doc, PageRect, Direct.Dc(), /*Render=*/true);
    HDC Rec = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    PageThrough(Doc, PageRect, Rec, /*Render=*/true);
    HENHMETAFILE Mf = CloseEnhMetaFile(Rec);
    TCanvas Played(640, 840);
    ENHMETAHEADER H;
    GetEnhMetaFileHeader(Mf, sizeof H, &H);
    const TRect Bounds{H.rclBounds.Left, H.rclBounds.Top, H.rclBounds.Right + 1, H.rclBounds.Bottom + 1};
    PlayEnhMetaFile(Played.Dc(), Mf, &Bounds);
    DeleteEnhMetaFile(Mf);
    for (TCanvas* C : {&Direct, &Played}) {
      // The red and blue of the first line's picture (the rectangle's has
      // a black edge of a pixel; the stretched DIB is red on its left half
      // and blue on its right one).
      auto Box = [&](COLORREF Colour) {
        TRect R{640, 840, 0, 0};
        for (int Y = 0; Y < 25 + K.Box.cy + 4; ++Y)
          for (int X = 0; X < 640; ++X)
            if (GetPixel(C->Dc(), X, Y) == Colour) {
              R.Left = std::min(R.Left, X);
              R.Top = std::min(R.Top, Y);
              R.Right = std::max(R.Right, X + 1);
              R.Bottom = std::max(R.Bottom, Y + 1);
            }
        return R;
      };
      const TRect Red = Box(RGB(255, 0, 0)), Blue = Box(RGB(0, 0, 255));
      const TRect R{Red.Left, Red.Top, Blue.Right > Blue.Left ? Blue.Right : Red.Right,
                    std::max(Red.Bottom, Blue.Bottom)};
      EXPECT_NEAR(R.Right - R.Left, K.Box.cx, 2);
      EXPECT_NEAR(R.Bottom - R.Top, K.Box.cy, 2);
      EXPECT_NEAR(R.Top, 25, 1);
      if (K.Halves) {
        EXPECT_NEAR(Red.Right - Red.Left, K.Box.cx / 2, 1);
      }
    }
  }
}
