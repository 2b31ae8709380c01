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
        const bool Inside = T.Reference.X >= PagePixels.Left && Right <= PagePixels.Right + 1 &&
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
