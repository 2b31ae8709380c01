// The HTML view: pages drawn through GDI (checked at chosen pixels, since
// fonts differ between machines), the program's own tidied output of
// corpus documents, links reported instead of followed, scripts inert,
// selection and copying, large and broken pages.
#include <regex>

#include "BrowserTestSupport.h"
#include "platform/browser/HtmlSource.h"
#include "platform/browser/HtmlView.h"
#include "platform/forms/Clipbrd.h"
#include "platform/rtl/VirtualKeys.h"
#include "support/TestFiles.h"

namespace {

using browsertest::TBrowserTest;

bool Near(COLORREF C, int R, int G, int B, int Tolerance) {
  return std::abs(int(GetRValue(C)) - R) <= Tolerance && std::abs(int(GetGValue(C)) - G) <= Tolerance &&
         std::abs(int(GetBValue(C)) - B) <= Tolerance;
}
bool Dark(COLORREF C) { return GetRValue(C) < 128 && GetGValue(C) < 128 && GetBValue(C) < 128; }

class HtmlView : public TBrowserTest {
protected:
  void SetUp() override {
    TBrowserTest::SetUp();
    View = new THtmlView(Form.get());
    View->SetParent(Form.get());
    View->SetBorder(false);
    View->SetBounds(0, 0, 600, 440);
    ShowForm();
  }
  void Load(const std::string& Html) {
    View->LoadHtml(Html, Dir.Path().string() + "/");
    View->Repaint();
    Pump();
  }
  // Ink pixels of a word's box, and the mean column of the ink in its top
  // and bottom thirds.
  struct TInk {
    int Count = 0;
    double TopX = 0, BottomX = 0;
  };
  TInk InkOf(const TRect& R) {
    TInk I;
    int TopN = 0, BottomN = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X)
        if (Dark(Pixel(X, Y))) {
          ++I.Count;
          if (Y < R.Top + R.Height() / 3) I.TopX += X, ++TopN;
          if (Y >= R.Bottom - R.Height() / 3) I.BottomX += X, ++BottomN;
        }
    if (TopN) I.TopX /= TopN;
    if (BottomN) I.BottomX /= BottomN;
    return I;
  }
  THtmlView* View = nullptr;
};

TEST_F(HtmlView, DrawsBoldItalicSizesAndColoursOfFontRuns) {
  Load("<html><body><p>Hill <b>Hill</b> <i>Hill</i> <font size=\"7\">Hill</font> "
       "<font color=\"#FF0000\">Hill</font> <font color=\"#0000FF\" size=\"6\">Hill</font></p></body></html>");
  Shot("htmlview_styles.png");
  const TRect Plain = View->WordBounds("Hill", 0), Bold = View->WordBounds("Hill", 1);
  const TRect Italic = View->WordBounds("Hill", 2), Big = View->WordBounds("Hill", 3);
  const TRect Red = View->WordBounds("Hill", 4), Blue = View->WordBounds("Hill", 5);
  ASSERT_FALSE(Plain.IsEmpty());
  ASSERT_FALSE(Blue.IsEmpty());
  // Bold strokes carry more ink than regular ones of the same word.
  EXPECT_GT(InkOf(Bold).Count, InkOf(Plain).Count * 115 / 100);
  // Italic leans right: its top ink lies right of its bottom ink, more than
  // the upright word's does.
  const TInk I = InkOf(Italic), U = InkOf(Plain);
  EXPECT_GT(I.TopX - I.BottomX, U.TopX - U.BottomX + 0.5);
  // Size 7 (xx-large) is more than twice the default text's height.
  EXPECT_GT(Big.Height(), Plain.Height() * 2);
  EXPECT_TRUE(AnyPixel(Red, [](COLORREF C) { return Near(C, 255, 0, 0, 40); }));
  EXPECT_FALSE(AnyPixel(Plain, [](COLORREF C) { return Near(C, 255, 0, 0, 40); }));
  EXPECT_TRUE(AnyPixel(Blue, [](COLORREF C) { return Near(C, 0, 0, 255, 40); }));
  // Words follow each other on one line, left to right.
  EXPECT_LT(Plain.Right, Bold.Left);
  EXPECT_LT(Bold.Right, Italic.Left);
}

TEST_F(HtmlView, ShowsEntitiesBackgroundsAndDeclaredCharset) {
  // The tidier writes windows-1252 and says so; "\xE9" is e-acute there.
  Load("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\"></head>"
       "<body bgcolor=\"#00FF00\"><p>caf\xE9&nbsp;&amp;&nbsp;&lt;tea&gt;</p></body></html>");
  View->SelectAll();
  EXPECT_EQ(View->GetSelTextUtf8(), "caf\xC3\xA9\xC2\xA0&\xC2\xA0<tea>");
  EXPECT_TRUE(Near(Pixel(500, 400), 0, 255, 0, 10));
  EXPECT_EQ(DetectHtmlCodePage("<meta charset=\"utf-8\">\xC3\xA9"), 65001u);
  EXPECT_EQ(DetectHtmlCodePage("plain \xE9 bytes"), 1252u);
}

TEST_F(HtmlView, TidiedCorpusDocumentShowsItsColoursAndStyles) {
  const std::string Rtf = std::string(SX_CORPUS_DIR) + "/rtf/wordmac_rtfpipe_color.rtf";
  if (!FileExists(Rtf)) GTEST_SKIP() << "corpus not present";
  const std::string Out = Dir / "tdy.html";
  int Status = -1;
  sxtest::RunCommand(std::string(SX_CONVERT_HARNESS) + " " + sxtest::ShellQuote(Rtf) + " html " +
                         sxtest::ShellQuote(Out) + " >/dev/null 2>&1",
                     &Status);
  ASSERT_EQ(Status, 0);
  const std::string Html = sxtest::ReadFile(Out);
  ASSERT_FALSE(Html.empty());
  Load(Html);
  Shot("htmlview_corpus.png");
  // Every coloured run's first word shows in (nearly) its colour.
  const std::regex Run(R"RE(<font color="#([0-9A-Fa-f]{6})">\s*([A-Za-z]{3,}))RE");
  int Checked = 0;
  std::map<std::string, int> Seen;
  for (auto It = std::sregex_iterator(Html.begin(), Html.end(), Run); It != std::sregex_iterator(); ++It) {
    const std::string Hex = (*It)[1], Word = (*It)[2];
    const int R = std::stoi(Hex.substr(0, 2), nullptr, 16), G = std::stoi(Hex.substr(2, 2), nullptr, 16),
              B = std::stoi(Hex.substr(4, 2), nullptr, 16);
    const int Occurrence = Seen[Word]++;
    if (std::max({R, G, B}) - std::min({R, G, B}) < 100) continue;  // greys and black
    const TRect Box = View->WordBounds(Word, Occurrence);
    if (Box.IsEmpty() || Box.Bottom > 440) continue;  // below the first screen
    SCOPED_TRACE(Word + " #" + Hex);
    EXPECT_TRUE(AnyPixel(Box, [&](COLORREF C) { return Near(C, R, G, B, 70); }));
    ++Checked;
  }
  EXPECT_GE(Checked, 3);
  // Bold and italic runs show with ink.
  for (const char* Tag : {"b", "i"}) {
    std::smatch M;
    const std::regex Styled(std::string("<") + Tag + R"(>\s*([A-Za-z]{3,}))");
    if (!std::regex_search(Html, M, Styled)) continue;
    const TRect Box = View->WordBounds(M[1]);
    if (Box.IsEmpty() || Box.Bottom > 440) continue;
    EXPECT_TRUE(AnyPixel(Box, Dark)) << Tag;
  }
}

TEST_F(HtmlView, LinkClickIsReportedNotFollowed) {
  std::vector<std::string> Clicks;
  View->OnLinkClick = [&](const std::string& Href) { Clicks.push_back(Href); };
  Load("<html><body><p>Go <a href=\"next.html\">there</a> now</p></body></html>");
  const TRect Link = View->WordBounds("there");
  ASSERT_FALSE(Link.IsEmpty());
  // Links are blue.
  EXPECT_TRUE(AnyPixel(Link, [](COLORREF C) { return GetBValue(C) > 160 && GetRValue(C) < 100; }));
  Screen().Click(Link.Left + 3, (Link.Top + Link.Bottom) / 2);
  Pump();
  ASSERT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Clicks[0], "next.html");
  // A click on plain text is no link.
  const TRect Plain = View->WordBounds("now");
  Screen().Click(Plain.Left + 2, (Plain.Top + Plain.Bottom) / 2);
  Pump();
  EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(HtmlView, ScriptsInAPageDoNothing) {
  Load("<html><head><script>document.title='Changed'; document.write('Injected');</script>"
       "<title>Kept</title></head><body onload=\"document.body.innerHTML='Gone'\">"
       "<p onclick=\"this.innerHTML='Clicked'\">Safe text</p>"
       "<script type=\"text/javascript\">document.write('<p>Written</p>');</script>"
       "<noscript>Fallback</noscript></body></html>");
  EXPECT_EQ(View->GetTitle(), "Kept");
  const TRect Safe = View->WordBounds("Safe");
  ASSERT_FALSE(Safe.IsEmpty());
  Screen().Click(Safe.Left + 2, (Safe.Top + Safe.Bottom) / 2);
  Pump();
  View->SelectAll();
  const std::string Text = View->GetSelTextUtf8();
  EXPECT_NE(Text.find("Safe text"), std::string::npos);
  for (const char* Never : {"Injected", "Written", "Gone", "Clicked", "document", "Changed"})
    EXPECT_EQ(Text.find(Never), std::string::npos) << Never;
}

TEST_F(HtmlView, DragSelectsWordsAndCtrlCCopiesThem) {
  Load("<html><body><p>alpha beta gamma</p><p>delta epsilon</p></body></html>");
  const TRect Beta = View->WordBounds("beta"), Delta = View->WordBounds("delta");
  ASSERT_FALSE(Beta.IsEmpty());
  const int Y1 = (Beta.Top + Beta.Bottom) / 2, Y2 = (Delta.Top + Delta.Bottom) / 2;
  Screen().MouseDown(Beta.Left, Y1);
  Screen().MouseMove(Delta.Right, Y2);
  Screen().MouseUp(Delta.Right, Y2);
  Pump();
  EXPECT_EQ(View->GetSelTextUtf8(), "beta gamma\r\ndelta");
  // The selection shows inverted: dark background behind light text.
  EXPECT_TRUE(AnyPixel(Beta, Dark));
  View->SetFocus();
  Screen().KeyDown(VK_CONTROL);
  Screen().KeyPress('C');
  Screen().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_EQ(Clipboard()->GetAsText(), "beta gamma\r\ndelta");
}

TEST_F(HtmlView, ImagesFromLocalFilesOnlyAndOnlyWhenEnabled) {
  // A 4x4 red BMP beside the page.
  std::string Bmp = "BM";
  auto Le = [&](std::uint32_t V, int N) {
    for (int I = 0; I < N; ++I) Bmp += char((V >> (8 * I)) & 0xFF);
  };
  Le(54 + 64, 4), Le(0, 4), Le(54, 4), Le(40, 4), Le(4, 4), Le(4, 4), Le(1, 2), Le(32, 2), Le(0, 4), Le(64, 4);
  Le(0, 4), Le(0, 4), Le(0, 4), Le(0, 4);
  for (int I = 0; I < 16; ++I) Le(0x00FF0000, 4);
  Write("red.bmp", Bmp);
  const std::string Page =
      "<html><body style=\"margin:0\"><img src=\"red.bmp\" width=\"40\" height=\"40\">"
      "<img src=\"http://example.invalid/x.png\" width=\"40\" height=\"40\"><img src=\"missing.png\"></body></html>";
  Load(Page);
  Shot("htmlview_images.png");
  EXPECT_TRUE(Near(Pixel(20, 20), 255, 0, 0, 0));
  // The remote picture is not fetched: its box stays blank.
  EXPECT_TRUE(Near(Pixel(60, 20), 255, 255, 255, 0));
  View->SetImagesEnabled(false);
  View->Repaint();
  Pump();
  EXPECT_TRUE(Near(Pixel(20, 20), 255, 255, 255, 0));
}

TEST_F(HtmlView, LargePageShowsItsFirstScreenAndScrollsThroughPieces) {
  std::string Html = "<html><head><title>Big</title></head><body><font face=\"Times New Roman\">";
  for (int I = 0; I < 8000; ++I) Html += "Line <b>" + std::to_string(I) + "</b> of the long page<br>\r\n";
  Html += "</font></body></html>";
  Load(Html);
  EXPECT_GT(View->PieceCount(), 4);
  EXPECT_EQ(View->GetTitle(), "Big");
  EXPECT_FALSE(View->WordBounds("0").IsEmpty());
  // The end of the page, once every piece is measured.
  View->MeasureAll();
  EXPECT_TRUE(View->GetFullyMeasured());
  const int Height = View->GetDocumentHeight();
  EXPECT_GT(Height, 8000 * 12);
  View->SetScrollTop(Height);
  View->Repaint();
  Pump();
  EXPECT_FALSE(View->WordBounds("7999").IsEmpty());
  // Lines stay whole where the page was cut: each piece's last line and
  // the next piece's first are one line apart.
  View->SetScrollTop(0);
  for (int I = 0; I < 40; ++I) {
    View->SetScrollTop(View->GetScrollTop() + 300);
    View->Repaint();
  }
  Pump();
}

TEST_F(HtmlView, BrokenPagesShowWhatTheyCan) {
  const char* const Pages[] = {
      "",
      "<",
      "<html><body><p>unclosed <b>bold <i>both",
      "<table><tr><td>cell<td>cell</table></td></tr></table></body></html>text",
      "<div style=\"width:-5px;font-size:99999px;margin:-100000px\">huge</div>",
      "<p style=\"color:rgb(999,-1,x);background:url(\">x</p>",
      "\xFF\xFE<\0p\0>\0h\0i\0",
      "<img src=\"file:///dev/zero\"><img src=\"/\"><img src=\"\">",
      "<style>@import url(/etc/passwd); p{color:red</style><p>styled",
  };
  for (const char* P : Pages) {
    SCOPED_TRACE(P);
    Load(P);
    View->SelectAll();
    View->GetSelTextUtf8();
  }
  // Deep nesting: the elements beyond the depth the layout stands are
  // dropped, their text stays.
  std::string Deep;
  for (int I = 0; I < 50000; ++I) Deep += "<div><span>";
  Deep += "bottom";
  Load(Deep);
  View->SelectAll();
  EXPECT_NE(View->GetSelTextUtf8().find("bottom"), std::string::npos);
  EXPECT_FALSE(View->LoadFromFile(Dir / "no-such-file.html"));
  EXPECT_FALSE(View->LoadFromFile(Dir.Path().string()));
}

TEST(HtmlSource, SplitsLargeBodiesBetweenLinesAndReopensOpenElements) {
  std::string Body;
  for (int I = 0; I < 400; ++I) Body += "<p align=\"center\"><font color=\"#FF0000\">word " + std::to_string(I) + "<br>next</font></p>";
  const std::string Page = "<html><head><title>T</title></head><body bgcolor=\"#FFFFFF\"><font face=\"Arial\">" + Body + "</font></body></html>";
  THtmlSplitOptions O;
  O.SplitAbove = 1000;
  O.PieceSize = 2000;
  const auto Pieces = SplitHtml(Page, O);
  ASSERT_GT(Pieces.size(), 5u);
  std::size_t Bytes = 0;
  for (const THtmlPiece& P : Pieces) {
    // Every piece is a page of its own with the head and body tag.
    EXPECT_EQ(P.Text.rfind("<html><head><title>T</title></head><body bgcolor=\"#FFFFFF\">", 0), 0u);
    Bytes += P.Bytes;
  }
  // The later pieces start inside the page's font.
  EXPECT_NE(Pieces[1].Text.find("<font face=\"Arial\">"), std::string::npos);
  // Nothing is lost or doubled but the dropped line breaks.
  EXPECT_GE(Bytes + Pieces.size() * 4, Body.size() + 20);
  // Small pages and tables stay whole.
  EXPECT_EQ(SplitHtml("<body><p>small</p></body>").size(), 1u);
  std::string Table = "<body><table>";
  for (int I = 0; I < 2000; ++I) Table += "<tr><td>cell<br>more</td></tr>";
  const auto TablePieces = SplitHtml(Table + "</table></body>", O);
  EXPECT_NE(TablePieces[0].Text.find("</table>"), std::string::npos);
}

}  // namespace

TEST_F(HtmlView, FlatScrollBarsLoseTheRaisedEdge) {
  std::string Html = "<html><body>";
  for (int I = 0; I < 200; ++I) Html += "Line " + std::to_string(I) + "<br>";
  Load(Html + "</body></html>");
  // The up arrow's box, just right of the client area.
  const TPoint Arrow = View->ClientToScreen({View->GetClientRect().Width(), 0});
  EXPECT_EQ(Pixel(Arrow.X, Arrow.Y), GetSysColor(COLOR_3DHILIGHT)) << "a regular bar is raised";
  View->SetFlatScrollBars(true);
  View->Repaint();
  Pump();
  int Mode = -1;
  ASSERT_TRUE(FlatSB_GetScrollProp(View->Handle(), WSB_PROP_VSTYLE, &Mode));
  EXPECT_EQ(Mode, int(FSB_FLAT_MODE));
  EXPECT_EQ(Pixel(Arrow.X, Arrow.Y), GetSysColor(COLOR_3DSHADOW));
  Shot("html_view_flat_scroll_bar.png");
  // The mode outlives a new window (a border change recreates it).
  View->SetBorder(true);
  View->Repaint();
  Pump();
  ASSERT_TRUE(FlatSB_GetScrollProp(View->Handle(), WSB_PROP_VSTYLE, &Mode));
  EXPECT_EQ(Mode, int(FSB_FLAT_MODE));
}
