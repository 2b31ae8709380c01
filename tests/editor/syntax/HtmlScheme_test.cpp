// The HTML scheme the output editor loads at start.
#include <gtest/gtest.h>

#include "editor/syntax/SyntaxParser.h"
#include "editor/view/TextStyles.h"

namespace {

// Font ids of data/html.sch and the global styles they follow.
struct TRun {
  char Code;
  Integer FontID;
  const char* Style;
};
const TRun Runs[] = {
    {'.', 1, "Whitespace"}, {'T', 2, "Html tags"}, {'A', 3, "Html params"}, {'V', 4, "String"},
    {'C', 5, "Comment"},    {'E', 6, "Defines"},   {'N', 7, "Integer"},     {'U', 12, "Url"},
};

std::string Codes(const AnsiString& Attrs) {
  std::string S;
  for (unsigned char B : Attrs) {
    char C = '?';
    for (const TRun& R : Runs)
      if (R.FontID == B) C = R.Code;
    S += C;
  }
  return S;
}

class HtmlScheme : public ::testing::Test {
protected:
  HtmlScheme() : P(nullptr) { P.GetSyntaxScheme()->LoadFromFile(SX_SOURCE_DIR "/data/html.sch"); }

  std::vector<std::string> Parse(const std::vector<AnsiString>& Lines) {
    std::vector<std::string> Out;
    Integer State = 0;
    for (const AnsiString& L : Lines) {
      AnsiString Attrs(L.size(), '\0');
      State = P.ParseLine(L, State, Attrs);
      Out.push_back(Codes(Attrs));
    }
    // The sample ends at the root, outside every comment or string.
    EXPECT_EQ(std::uint32_t(State) >> 24, 0u);
    EXPECT_EQ((State >> 8) & 255, 0);
    return Out;
  }
  TSyntaxParser P;
};

TEST_F(HtmlScheme, HighlightsTagsAttributesValuesUrlsEntitiesAndComments) {
  const std::vector<AnsiString> Sample = {
      "<!DOCTYPE html>",
      "<p class=\"x y\" width=100>Fish &amp; chips</p>",
      "<a href=\"http://a.b/c?d=1\">link</a> <!-- note",
      "  more --> <br/>",
      "<img SRC='pic.png' alt='&lt;'>",
  };
  const std::vector<std::string> Want = {
      "TTTTTTTTTTAAAAT",
      "TTTAAAAATTVVVTAAAAAATNNNT.....EEEEE......TTTT",
      "TTTAAAATTUUUUUUUUUUUUUUUUTT....TTTT.CCCCCCCCC",
      "CCCCCCCCCC.TTTTT",
      "TTTTTAAATTUUUUUUUTAAAATTVVVVTT",
  };
  const auto Got = Parse(Sample);
  ASSERT_EQ(Got.size(), Want.size());
  for (size_t I = 0; I < Want.size(); ++I) {
    SCOPED_TRACE(Sample[I]);
    EXPECT_EQ(Got[I], Want[I]);
  }
}

TEST_F(HtmlScheme, ALoneAmpersandStaysText) {
  EXPECT_EQ(Parse({"a & b"})[0], ".....");
}

TTextStyles* Styles() {
  static TTextStyles* S = [] {
    auto* T = new TTextStyles(nullptr);
    T->SetDefaultStyles();
    return T;
  }();
  return S;
}
TGlobalTextLook Look() {
  static TFont Font;
  Font.SetName("Courier New");
  Font.SetSize(10);
  return {Styles(), &Font, clWhite};
}

TEST_F(HtmlScheme, WithGlobalOptionsEachKindTakesItsNamedStyle) {
  const TGlobalTextLookSource Old = SetGlobalTextLookSource(&Look);
  P.SetUseGlobalOptions(true);
  for (const TRun& R : Runs) {
    SCOPED_TRACE(R.Style);
    TTextStyle* S = Styles()->GetItem(Styles()->IndexOfName(R.Style));
    EXPECT_EQ(P.GetFont(R.FontID)->GetColor(), S->GetFont()->GetColor());
    EXPECT_TRUE(P.GetFont(R.FontID)->GetStyle() == S->GetFont()->GetStyle());
    TColor Back = clNone;
    EXPECT_TRUE(P.GetBackColor(R.FontID, Back));
    EXPECT_EQ(Back, clWhite);
  }
  SetGlobalTextLookSource(Old);
}

}  // namespace
