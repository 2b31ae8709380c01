// The editor on screen: a TDCMemo on a form of the headless display, driven
// with keys and the mouse as a user drives it, and read back from the
// composed screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "editor/controls/DCMemo.h"
#include "editor/options/GutterBackground.h"
#include "editor/text/MemoSourceOptions.h"
#include "editor/view/GutterImages.h"
#include "editor/view/PopupHint.h"
#include "editor/view/PositionStore.h"
#include "platform/forms/Application.h"
#include "platform/forms/Clipbrd.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Screen.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Cursors.h"
#include "platform/win/EditControl.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Menus.h"
#include "platform/win/Resources.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Win.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

// Screenshots for a person to look at, beside the test binary in the build tree.
#define SX_BUILD_SHOTS "memo_shots"

class MemoOnScreen : public ::testing::Test {
protected:
  void SetUp() override {
    ResetWindowSystem();
    UseVirtualClock();
    App = std::make_unique<TApplication>(nullptr);
    Form = new TForm(nullptr);
    Form->SetBounds(20, 20, 440, 280);
    Memo = new TDCMemo(Form);
    Memo->SetParent(Form);
  }
  void TearDown() override {
    delete Form;
    App.reset();
    HeadlessDisplay().SetIdleHandler(nullptr);
    ResetWindowSystem();
    UseRealClock();
  }
  // The input editor as the main window's form describes it.
  void LoadInputEditor() {
    const AnsiString Text = sxtest::ReadFile(SX_SOURCE_DIR "/tests/fixtures/editor/InputEditor.dfm");
    TextToComponent(Text, Memo);
  }
  void Show() {
    Form->Show();
    Memo->SetFocus();
    HeadlessDisplay().ProcessMessages();
  }
  // A client point of the editor on the screen.
  TPoint Screen(Integer X, Integer Y) { return Memo->ClientToScreen({X, Y}); }
  TPoint CellCentre(Integer Column, Integer Line) {
    const TPoint P = Memo->TextToPoint(Column, Line);
    return Screen(P.X + Memo->CharWidth() / 2, P.Y + Memo->LineHeight() / 2);
  }
  // The left edge of a character cell (a click there rounds to the column itself).
  TPoint CellLeft(Integer Column, Integer Line) {
    const TPoint P = Memo->TextToPoint(Column, Line);
    return Screen(P.X + 1, P.Y + Memo->LineHeight() / 2);
  }
  void Chord(std::initializer_list<WORD> Mods, WORD Key) {
    auto& D = HeadlessDisplay();
    for (WORD M : Mods) D.KeyDown(M);
    D.KeyPress(Key);
    for (auto It = std::rbegin(Mods); It != std::rend(Mods); ++It) D.KeyUp(*It);
    D.ProcessMessages();
  }
  void Type(const AnsiString& Text) {
    HeadlessDisplay().TypeText(Text);
    HeadlessDisplay().ProcessMessages();
  }
  COLORREF Pixel(Integer X, Integer Y) {
    const TPoint P = Screen(X, Y);
    return HeadlessDisplay().ScreenPixel(P.X, P.Y);
  }
  // Whether any pixel of the client rectangle R has the colour.
  bool AnyPixel(const TRect& R, TColor Color) {
    const COLORREF Want = ColorToRGB(Color);
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X)
        if (Pixel(X, Y) == Want) return true;
    return false;
  }
  void SaveShot(const char* Name) {
    const TPoint O = Screen(0, 0);
    const TRect Area = Bounds(O.X, O.Y, Memo->GetWidth(), Memo->GetHeight());
    fs::create_directories(SX_BUILD_SHOTS);
    HeadlessDisplay().SaveScreenshot(std::string(SX_BUILD_SHOTS) + "/" + Name, &Area);
  }
  TCustomMemoSource* Src() { return Memo->GetSource(); }

  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TDCMemo* Memo = nullptr;
};

const AnsiString ColourDoc = AnsiString(SX_CORPUS_DIR) + "/rtf/wordmac_rtfpipe_color.rtf";

}  // namespace

TEST_F(MemoOnScreen, InputEditorPaintsGutterNumbersColoursSelectionAndWrap) {
  if (!fs::exists(ColourDoc)) GTEST_SKIP() << "corpus absent";
  LoadInputEditor();
  EXPECT_EQ(Memo->GetKeyMapping(), "Visual Studio");
  EXPECT_TRUE(Memo->GetWordWrap());
  Memo->ImportFromFile(ColourDoc);
  // A plain line to select (styled text is selected in inverted colours)
  // and one far wider than the window.
  Src()->GetLines()->Insert(0, "plain words");
  Src()->GetLines()->Insert(1, AnsiString(200, 'w'));
  Show();
  const Integer Lh = Memo->LineHeight(), Cw = Memo->CharWidth();
  const Integer Gw = Memo->GutterWidthInEffect();
  ASSERT_GT(Gw, 0);
  // The gutter: its brush, then the two edge lines.
  EXPECT_EQ(Pixel(1, 1), ColorToRGB(clBtnFace));
  EXPECT_EQ(Pixel(Gw - 2, Lh * 2), ColorToRGB(Memo->GetGutterBackColor()));
  EXPECT_EQ(Pixel(Gw - 1, Lh * 2), ColorToRGB(clGray));
  // Line numbers in the button-shadow colour, on the gutter, first row.
  EXPECT_TRUE(AnyPixel({0, 0, Gw - 2, Lh}, clBtnShadow)) << "line number ink";
  // The document's colours: some text of the first rows is neither black
  // nor the background.
  bool Coloured = false;
  for (Integer Y = 0; Y < Memo->ClientHeight() && !Coloured; ++Y)
    for (Integer X = Gw; X < Memo->ClientWidth() && !Coloured; ++X) {
      const COLORREF C = Pixel(X, Y);
      Coloured = C != ColorToRGB(clWindow) && C != ColorToRGB(clBlack) && GetRValue(C) != GetGValue(C);
    }
  EXPECT_TRUE(Coloured) << "imported colours are painted";
  // Word wrap: the long line takes several rows, each one line height.
  const Integer Last = Src()->GetLineCount() - 1;
  EXPECT_GT(Memo->LastRow(), Last + 1);
  EXPECT_EQ(Memo->RowToText(0, 1).Y, 1);
  EXPECT_EQ(Memo->RowToText(0, 2).Y, 1) << "the wide line's second row";
  EXPECT_LE(Memo->WrapColumns() * Cw, Memo->ClientWidth() - Gw);
  // A selection of the first characters is navy.
  Src()->SetSelection(stStreamSel, 0, 0, 3, 0);
  HeadlessDisplay().ProcessMessages();
  const TPoint Sel = Memo->TextToPoint(1, 0);
  EXPECT_TRUE(AnyPixel({Sel.X, Sel.Y, Sel.X + Cw, Sel.Y + Lh}, clNavy));
  SaveShot("input_editor.png");
}

// The input editor painting a corpus document, against a reviewed picture
// (tests/fixtures/editor/InputEditor.png). SX_UPDATE_GOLDENS=1 writes the
// picture anew instead (on purpose only; look at it before committing).
TEST_F(MemoOnScreen, InputEditorMatchesItsGolden) {
  if (!fs::exists(ColourDoc)) GTEST_SKIP() << "corpus absent";
  LoadInputEditor();
  Memo->ImportFromFile(ColourDoc);
  Src()->GetLines()->Insert(0, "plain words");
  Src()->GetLines()->Insert(1, AnsiString(120, 'w'));
  Show();
  Src()->SetCaret(5, 0);
  Src()->SetSelection(stStreamSel, 0, 0, 5, 0);
  HeadlessDisplay().ProcessMessages();
  const Integer Lh = Memo->LineHeight(), Gw = Memo->GutterWidthInEffect();
  const TPoint Sel = Memo->TextToPoint(2, 0), Wrapped = Memo->TextToPoint(Memo->WrapColumns() + 3, 1);
  const TPoint EndOfPlain = Memo->TextToPoint(11, 0);
  // Points off the glyphs: they stay put whatever fonts the machine has.
  const std::pair<TPoint, const char*> Points[] = {
      {{1, 1}, "gutter brush"},
      {{Gw - 2, Lh * 3}, "gutter edge, back colour"},
      {{Gw - 1, Lh * 3}, "gutter edge, line colour"},
      {{Sel.X, Sel.Y}, "selection, row top"},
      {{Sel.X, Sel.Y + Lh - 1}, "selection, row bottom"},
      {{EndOfPlain.X + 4, Lh / 2}, "right of a line's text (moSelectOnlyText)"},
      {{Wrapped.X, Wrapped.Y}, "the wrapped line's second row"},
      {{Memo->ClientWidth() - 3, Memo->ClientHeight() - 3}, "bottom right background"},
  };
  const std::string Golden = SX_SOURCE_DIR "/tests/fixtures/editor/InputEditor.png";
  const TPoint O = Screen(0, 0);
  const TRect Area = Bounds(O.X, O.Y, Memo->ClientWidth(), Memo->ClientHeight());
  if (const char* U = std::getenv("SX_UPDATE_GOLDENS"); U && std::string(U) == "1") {
    ASSERT_TRUE(HeadlessDisplay().SaveScreenshot(Golden, &Area));
    return;
  }
  ASSERT_TRUE(fs::exists(Golden)) << "golden missing";
  const auto Bytes = sxtest::ReadFileBytes(Golden);
  const TDib D = ReadPng(Bytes.data(), Bytes.size(), TPngAlpha::OverWhite);
  ASSERT_EQ(D.Width(), Memo->ClientWidth());
  ASSERT_EQ(D.Height(), Memo->ClientHeight());
  const int Bpp = D.BitCount() / 8;
  auto GoldenAt = [&](Integer X, Integer Y) {
    const Byte* G = D.ScanLine(Y) + X * Bpp;  // blue, green, red
    return COLORREF(RGB(G[2], G[1], G[0]));
  };
  for (const auto& [P, Why] : Points) {
    SCOPED_TRACE(Why);
    ASSERT_TRUE(P.X >= 0 && P.Y >= 0 && P.X < D.Width() && P.Y < D.Height()) << P.X << ", " << P.Y;
    EXPECT_EQ(Pixel(P.X, P.Y), GoldenAt(P.X, P.Y)) << "at (" << P.X << ", " << P.Y << ")";
  }
  // The ink: the colour drawn most in a row's band of the golden (other
  // than the background and black) shows in the same band on the screen:
  // the line numbers' colour, then each document row's coloured word.
  auto CheckInk = [&](Integer Row, Integer From, Integer To, COLORREF Back) {
    std::map<COLORREF, Integer> Count;
    for (Integer Y = Row * Lh; Y < (Row + 1) * Lh; ++Y)
      for (Integer X = From; X < To; ++X)
        if (const COLORREF C = GoldenAt(X, Y); C != Back && C != RGB(0, 0, 0)) ++Count[C];
    if (Count.empty()) return;
    const auto Most = std::max_element(Count.begin(), Count.end(),
                                       [](const auto& A, const auto& B) { return A.second < B.second; });
    SCOPED_TRACE(testing::Message() << "row " << Row << " colour " << std::hex << Most->first);
    bool Seen = false;
    for (Integer Y = Row * Lh; Y < (Row + 1) * Lh && !Seen; ++Y)
      for (Integer X = From; X < To && !Seen; ++X) Seen = Pixel(X, Y) == Most->first;
    EXPECT_TRUE(Seen);
  };
  for (Integer Row = 0; Row < 6; ++Row) CheckInk(Row, 0, Gw - 2, ColorToRGB(clBtnFace));
  for (Integer Row = 4; Row < 14; Row += 2) CheckInk(Row, Memo->TextLeftEdge(), Memo->ClientWidth(), ColorToRGB(clWindow));
}

TEST_F(MemoOnScreen, MarginAndLineNumbersBesideTheGutter) {
  Memo->SetOptions(TMemoOptions{moDrawGutter, moLineNumbers, moDrawMargin});
  Memo->SetMarginPos(10);
  Memo->SetText("alpha\r\nbeta");
  Show();
  const Integer Gw = Memo->GutterWidthInEffect();
  const Integer Left = Memo->TextLeftEdge();
  EXPECT_EQ(Left, Gw + Memo->LineNumberColumnWidth());
  // The margin line stands at column 10.
  const Integer Mx = Left + 10 * Memo->CharWidth();
  EXPECT_EQ(Pixel(Mx, Memo->LineHeight() * 3), ColorToRGB(clGrayText));
  EXPECT_EQ(Pixel(Mx + 2, Memo->LineHeight() * 3), ColorToRGB(clWindow));
}

struct TWrapCase {
  const char* Line;
  Integer MarginPos;
  Integer Rows;
  const char* Why;
};

TEST_F(MemoOnScreen, WordWrapBreaksAtDelimitersOrHard) {
  const TWrapCase Cases[] = {
      {"", 80, 1, "an empty line is one row"},
      {"aaaa bbbb cccc", 80, 1, "a short line is not broken"},
      {"aaaa bbbb cccc", 6, 3, "breaks after the blanks"},
      {"abcdefghijklmnopqrst", 6, 4, "a word without delimiters is cut every WrapColumns + 1"},
  };
  Memo->SetOptions(TMemoOptions{moBreakWordAtMargin});
  Memo->SetWordWrap(true);
  Show();
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    Memo->SetMarginPos(C.MarginPos);
    Memo->SetText(C.Line);
    EXPECT_EQ(Memo->LastRow() + 1, C.Rows);
    // Rows map back to the line and cover it without gaps.
    Integer Covered = 0;
    for (Integer R = 0; R < C.Rows; ++R) {
      Integer Line, Start, Stop;
      Memo->RowColumns(R, Line, Start, Stop);
      EXPECT_EQ(Line, 0);
      EXPECT_EQ(Start, Covered);
      Covered = Stop == INT_MAX ? Integer(AnsiString(C.Line).size()) : Stop;
      if (Stop != INT_MAX) {
        EXPECT_LE(Stop - Start, C.MarginPos);
      }
    }
  }
  Memo->SetWordWrap(false);
  EXPECT_EQ(Memo->LastRow(), 0) << "no breaks once wrap is off";
}

// Measured (proportional) layout: narrow and wide letters take their own
// widths, clicks and the caret land on the measured character edges, and
// word wrap fills rows by pixels.
class MeasuredMemo : public MemoOnScreen {
protected:
  void Proportional() {
    Memo->GetFont()->SetName("Tahoma");
    Memo->GetFont()->SetHeight(-13);
    Memo->SetOptions(TMemoOptions{moDrawGutter});
    Memo->SetUseMonoFont(false);
  }
};

TEST_F(MeasuredMemo, ColumnsStandOnMeasuredEdgesAndClicksRoundToTheNearerOne) {
  Proportional();
  Memo->SetText("iiiiiiiiii\r\nWWWWWWWWWW");
  Show();
  const Integer Lh = Memo->LineHeight();
  const Integer NarrowEnd = Memo->TextToPoint(10, 0).X - Memo->TextToPoint(0, 0).X;
  const Integer WideEnd = Memo->TextToPoint(10, 1).X - Memo->TextToPoint(0, 1).X;
  EXPECT_LT(NarrowEnd, WideEnd) << "ten i are narrower than ten W";
  EXPECT_LT(NarrowEnd, 10 * Memo->CharWidth()) << "not on the grid";
  for (Integer Line = 0; Line < 2; ++Line)
    for (Integer C = 0; C < 10; ++C) {
      SCOPED_TRACE(testing::Message() << "line " << Line << " column " << C);
      const Integer L = Memo->TextToPoint(C, Line).X, R = Memo->TextToPoint(C + 1, Line).X;
      ASSERT_GT(R, L);
      const Integer Y = Line * Lh + Lh / 2;
      EXPECT_EQ(Memo->PointToText(L, Y, true), (TPoint{C, Line})) << "left edge";
      EXPECT_EQ(Memo->PointToText(L + (R - L) / 2, Y, true).X, C) << "left half (a tie stays left)";
      EXPECT_EQ(Memo->PointToText(R - 1 > L + (R - L) / 2 ? R - 1 : R, Y, true).X, C + 1) << "right half";
    }
  // Past the line's end the columns are blanks of the editor's font.
  const Integer End = Memo->TextToPoint(10, 0).X;
  const Integer Blank = Memo->TextToPoint(11, 0).X - End;
  EXPECT_GT(Blank, 0);
  EXPECT_EQ(Memo->PointToText(End + 3 * Blank + 1, Lh / 2, true).X, 13);
  // A real click puts the caret there, and the caret stands on the edge.
  const TPoint At = Screen(Memo->TextToPoint(4, 1).X + 1, Lh + Lh / 2);
  HeadlessDisplay().Click(At.X, At.Y);
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(Src()->GetCaretPoint(), (TPoint{4, 1}));
  TPoint Caret{};
  GetCaretPos(&Caret);
  EXPECT_EQ(Caret.X, Memo->TextToPoint(4, 1).X);
}

TEST_F(MeasuredMemo, UpAndDownKeepThePixelColumn) {
  Proportional();
  Memo->SetText("iiiiiiiiiiiiiiiiiiii\r\nWWWWWWWWWW\r\niiiiiiiiiiiiiiiiiiii");
  Show();
  Src()->SetCaret(12, 0);
  const Integer X = Memo->TextToPoint(12, 0).X;
  Chord({}, VK_DOWN);
  const Integer Wide = Src()->GetCaretChar();
  EXPECT_EQ(Src()->GetCaretLine(), 1);
  EXPECT_LT(Wide, 12) << "fewer wide letters reach the same x";
  EXPECT_LE(std::abs(Memo->TextToPoint(Wide, 1).X - X),
            (Memo->TextToPoint(Wide + 1, 1).X - Memo->TextToPoint(Wide, 1).X) / 2 + 1);
  Chord({}, VK_DOWN);
  EXPECT_EQ(Src()->GetCaretPoint(), (TPoint{12, 2})) << "the remembered x, not the wide row's column";
}

TEST_F(MeasuredMemo, PaintedRunsFillTheirMeasuredCells) {
  Proportional();
  Memo->SetSelBackColor(clNavy);
  Memo->SetText("iiiiWWWW iiii");
  Show();
  Src()->SetSelection(stStreamSel, 2, 0, 6, 0);
  HeadlessDisplay().ProcessMessages();
  const Integer Lh = Memo->LineHeight();
  const Integer L = Memo->TextToPoint(2, 0).X, R = Memo->TextToPoint(6, 0).X;
  const COLORREF Navy = ColorToRGB(clNavy);
  EXPECT_NE(Pixel(L - 1, 1), Navy);
  EXPECT_EQ(Pixel(L, 1), Navy);
  EXPECT_EQ(Pixel(R - 1, 1), Navy);
  EXPECT_NE(Pixel(R, 1), Navy);
  // Glyphs are drawn inside the row: ink in the wide letters' cells.
  EXPECT_TRUE(AnyPixel({Memo->TextToPoint(6, 0).X, 0, Memo->TextToPoint(8, 0).X, Lh}, clBlack));
  SaveShot("measured_layout.png");
}

TEST_F(MeasuredMemo, WordWrapFillsRowsByPixels) {
  Proportional();
  Memo->SetOptions(TMemoOptions{moDrawGutter, moBreakWordAtMargin});
  Memo->SetMarginPos(20);
  Memo->SetWordWrap(true);
  Memo->SetText(AnsiString(100, 'i') + "\r\n" + AnsiString(100, 'W'));
  Show();
  const Integer Wrap = Memo->CharWidth() * 20;
  Integer NarrowRows = 0, WideRows = 0;
  for (Integer Row = 0; Row <= Memo->LastRow(); ++Row) {
    Integer Line, Start, Stop;
    Memo->RowColumns(Row, Line, Start, Stop);
    (Line == 0 ? NarrowRows : WideRows)++;
    const Integer End = Stop == INT_MAX ? 100 : Stop;
    SCOPED_TRACE(testing::Message() << "row " << Row);
    EXPECT_LE(Memo->TextToPoint(End, Line).X - Memo->TextToPoint(Start, Line).X, Wrap) << "the row fits";
    EXPECT_EQ(Memo->TextToPoint(Start, Line).X, Memo->TextLeftEdge()) << "each row starts at the edge";
  }
  EXPECT_LT(NarrowRows, WideRows);
  EXPECT_GT(NarrowRows, 1);
  // Back to the grid: the rows are counted in columns again.
  Memo->SetUseMonoFont(true);
  EXPECT_EQ(Memo->LastRow() + 1, 2 * ((100 + 19) / 20));
}

TEST_F(MeasuredMemo, RowsTakeTheHeightOfTheirFontsForClicksCaretPaintAndPaging) {
  Proportional();
  Memo->SetOptions(TMemoOptions{moDrawGutter, moLineNumbers, moColorSyntax});
  // Every fourth line set in a large font; the rest in the editor's.
  AnsiString Text;
  for (Integer I = 0; I < 40; ++I) Text += (I % 4 == 1 ? "BIG line " : "small line ") + IntToStr(I) + "\r\n";
  Memo->SetText(Text);
  Show();
  for (Integer I = 1; I < 40; I += 4) {
    Src()->SetSelection(stStreamSel, 0, I, 3, I);
    Memo->GetSelAttributes()->SetSize(28);
  }
  Src()->SetCaret(0, 0);
  HeadlessDisplay().ProcessMessages();
  const Integer Lh = Memo->LineHeight();
  const Integer Big = Memo->RowHeight(1);
  ASSERT_GT(Big, Lh + 8) << "the large font's row is taller";
  EXPECT_EQ(Memo->RowHeight(0), Lh);
  EXPECT_EQ(Memo->RowHeight(2), Lh) << "a row after a tall one keeps its own height";
  // Rows stand one below the other by their own heights, and a click in the
  // lower part of the tall row still hits it.
  EXPECT_EQ(Memo->TextToPoint(0, 2).Y, Lh + Big);
  EXPECT_EQ(Memo->TextToPoint(0, 5).Y, 3 * Lh + Big + Memo->RowHeight(4) - Lh + Lh);
  const Integer X = Memo->TextLeftEdge() + 2;
  EXPECT_EQ(Memo->PointToText(X, Lh + Big - 2, true).Y, 1);
  EXPECT_EQ(Memo->PointToText(X, Lh + Big + 1, true).Y, 2);
  // The caret on the tall row is as tall as the row.
  Src()->SetCaret(2, 1);
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(Memo->CaretRowHeight(), Big);
  // Paint: ink of the large text reaches below where a grid row would end,
  // and the small line after it is drawn in its own row.
  EXPECT_TRUE(AnyPixel({X, Lh + Lh + 2, X + 3 * Lh, Lh + Big - 2}, clBlack)) << "large glyphs fill the tall row";
  EXPECT_TRUE(AnyPixel({X, Lh + Big, X + 3 * Lh, Lh + Big + Lh}, clBlack)) << "the next line below it";
  SaveShot("measured_row_heights.png");
  // One row down: the window's pixels move by the height of the row that
  // left, and the tall row now stands at the top.
  Src()->SetCaret(0, 3);
  Memo->SetTopLine(0);
  HeadlessDisplay().ProcessMessages();
  Memo->ScrollVert(1);
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(Memo->TextToPoint(0, 1).Y, 0);
  EXPECT_TRUE(AnyPixel({X, Big / 2, X + 3 * Lh, Big - 2}, clBlack)) << "the tall glyphs at the top";
  EXPECT_TRUE(AnyPixel({X, Big, X + 3 * Lh, Big + Lh}, clBlack)) << "the line after it follows at once";
  Memo->ScrollVert(-1);
  HeadlessDisplay().ProcessMessages();
  // Paging goes by pixels: the row one client height below the top, less
  // one, becomes the top, and the caret moves as many rows.
  Src()->SetCaret(0, 0);
  HeadlessDisplay().ProcessMessages();
  Integer Y = 0, Row = 0;
  while (Y + Memo->RowHeight(Row) <= Memo->ClientHeight()) Y += Memo->RowHeight(Row++);
  const Integer Expected = Row - 1;
  Chord({}, VK_NEXT);
  EXPECT_EQ(Memo->GetTopLine(), Expected);
  EXPECT_EQ(Src()->GetCaretLine(), Expected);
  Chord({}, VK_PRIOR);
  EXPECT_EQ(Memo->GetTopLine(), 0);
  EXPECT_EQ(Src()->GetCaretLine(), 0);
  // Moving the caret down to a tall row near the bottom scrolls it into
  // view whole.
  for (Integer I = 0; I < 20; ++I) Chord({}, VK_DOWN);
  const Integer CaretRow = Src()->GetCaretLine();
  EXPECT_LE(Memo->TextToPoint(0, CaretRow).Y + Memo->RowHeight(CaretRow), Memo->ClientHeight());
  EXPECT_GE(Memo->TextToPoint(0, CaretRow).Y, 0);
  // An edit that makes a row tall again is measured anew.
  Src()->SetSelection(stStreamSel, 0, 0, 5, 0);
  Memo->GetSelAttributes()->SetSize(28);
  EXPECT_GT(Memo->RowHeight(0), Lh + 8);
}

TEST_F(MemoOnScreen, GoingToABookmarkCentresItsLineWhenAsked) {
  AnsiString Text;
  for (Integer I = 0; I < 200; ++I) Text += "line " + IntToStr(I) + "\r\n";
  Memo->SetText(Text);
  Show();
  Src()->SetCaret(0, 150);
  Src()->SetBookmark(1);
  const Integer Rows = Memo->VisibleRows();
  struct TCase {
    bool Centre;
    Integer Top;
  };
  for (const TCase& C : {TCase{false, 150 - Rows + 1}, TCase{true, 150 - Rows / 2}}) {
    SCOPED_TRACE(C.Centre ? "centred" : "plain");
    Memo->SetOptions(C.Centre ? TMemoOptions{moCenterOnBookmark} : TMemoOptions{});
    Memo->SetTopLine(0);
    Src()->SetCaret(0, 0);
    Src()->GotoBookmark(1);
    HeadlessDisplay().ProcessMessages();
    EXPECT_EQ(Src()->GetCaretLine(), 150);
    EXPECT_EQ(Memo->GetTopLine(), C.Top);
  }
  // A bookmark already in view leaves the view alone even when centring.
  Memo->SetTopLine(149);
  Src()->SetCaret(0, 149);
  Src()->GotoBookmark(1);
  EXPECT_EQ(Memo->GetTopLine(), 149);
}

TEST_F(MemoOnScreen, HiddenHorizontalBarFollowsTheLongestLineOrTheWrapWidth) {
  Memo->SetScrollBars(ssBoth);
  Memo->SetHideScrollBars(true);
  Memo->SetText("short\r\nlines");
  Show();
  auto Horz = [&] {
    SCROLLINFO Si{};
    Si.cbSize = sizeof(Si);
    Si.fMask = SIF_RANGE | SIF_PAGE;
    GetScrollInfo(Memo->Handle(), SB_HORZ, &Si);
    return std::pair<Integer, Integer>(Si.nMax, Integer(Si.nPage));
  };
  EXPECT_EQ(Horz().second, 0) << "hidden: every line fits";
  Src()->GetLines()->Add(AnsiString(300, 'x'));
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(Horz().first, 300) << "columns of the longest line";
  EXPECT_GT(Horz().second, 0);
  // Lines put or deleted through Lines keep the longest one known.
  Src()->GetLines()->SetStrings(2, AnsiString(120, 'y'));
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(Horz().first, 120);
  Src()->GetLines()->Insert(0, AnsiString(150, 'z'));
  Src()->GetLines()->Delete(3);
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(Src()->GetLongestLineIndex(), 0);
  EXPECT_EQ(Horz().first, 150);
  // Wrapped text fits the window: no bar; wrapped at a far margin: a bar in pixels.
  Memo->SetWordWrap(true);
  EXPECT_EQ(Horz().second, 0);
  Memo->SetOptions(TMemoOptions{moBreakWordAtMargin});
  Memo->SetMarginPos(200);
  Memo->UpdateScrollBars();
  EXPECT_EQ(Horz().first, Memo->CharWidth() * 200 + Memo->TextLeftEdge());
  EXPECT_EQ(Horz().second, Memo->ClientWidth());
}

TEST_F(MemoOnScreen, FormDescriptionCarriesThePopupMenuAnchorsAndDragMode) {
  RegisterClasses({TDCMemo::StaticClass(), TPopupMenu::StaticClass()});
  Form->SetName("Host");
  auto* Menu = new TPopupMenu(Form);
  Menu->SetName("EditMenu");
  Memo->SetName("Input");
  Memo->SetPopupMenu(Menu);
  Memo->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
  Memo->SetDragMode(dmAutomatic);
  const AnsiString Text = ComponentToText(Form);
  EXPECT_NE(Text.find("PopupMenu = EditMenu"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("Anchors = [akLeft, akTop, akRight, akBottom]"), AnsiString::npos);
  const AnsiString MemoPart = Text.substr(Text.find("object Input"));
  EXPECT_EQ(MemoPart.find("ShowHint"), AnsiString::npos) << "the hint follows the parent";
  // The form writes its menu too; read back, the reference finds it.
  EXPECT_NE(Text.find("object EditMenu: TPopupMenu"), AnsiString::npos) << Text;
  auto* Copy = new TForm(nullptr);
  TextToComponent(Text, Copy);
  auto* Back = dynamic_cast<TDCMemo*>(Copy->FindComponent("Input"));
  ASSERT_TRUE(Back);
  EXPECT_EQ(Back->GetPopupMenu(), Copy->FindComponent("EditMenu"));
  EXPECT_EQ(Back->GetDragMode(), dmAutomatic);
  EXPECT_EQ(Back->GetAnchors(), (TAnchors{akLeft, akTop, akRight, akBottom}));
  delete Copy;
}

TEST_F(MemoOnScreen, ResizingAWrappedEditorBringsACaretPastItsLineBack) {
  Memo->SetWordWrap(true);
  Memo->SetText("ten chars.\r\nsecond line");
  Show();
  Src()->SetCaret(40, 0);
  ASSERT_EQ(Src()->GetCaretChar(), 40) << "the caret may stand past the line";
  Memo->SetWidth(Memo->GetWidth() + 40);
  EXPECT_EQ(Src()->GetCaretPoint(), (TPoint{10, 0}));
  // A height change alone leaves it.
  Src()->SetCaret(40, 0);
  Memo->SetHeight(Memo->GetHeight() + 20);
  EXPECT_EQ(Src()->GetCaretChar(), 40);
}

TEST_F(MeasuredMemo, EachRowOfAWrappedLineTakesItsOwnHeight) {
  Proportional();
  Memo->SetOptions(TMemoOptions{moDrawGutter, moColorSyntax, moBreakWordAtMargin});
  Memo->SetMarginPos(12);
  Memo->SetWordWrap(true);
  Memo->SetText("aaaa bbbb cccc dddd eeee ffff gggg hhhh\r\nlast");
  Show();
  // Rows of line 0; make the text of its second row large.
  Integer Line, Start, Stop;
  Memo->RowColumns(1, Line, Start, Stop);
  ASSERT_EQ(Line, 0);
  ASSERT_GT(Start, 0) << "the line wraps";
  Stop = std::min<Integer>(Stop, 39);
  Src()->SetSelection(stStreamSel, Start, 0, Stop, 0);
  Memo->GetSelAttributes()->SetSize(24);
  Src()->SetCaret(0, 0);
  Memo->SetTopLine(0);
  HeadlessDisplay().ProcessMessages();
  const Integer Lh = Memo->LineHeight();
  EXPECT_EQ(Memo->RowHeight(0), Lh);
  EXPECT_GT(Memo->RowHeight(1), Lh + 6);
  EXPECT_EQ(Memo->TextToPoint(Start, 0).Y, Lh) << "the second row starts below the first";
  EXPECT_EQ(Memo->TextToPoint(0, 1).Y, Memo->RowTop(Memo->LastRow()));
  // A click low in the tall row stays on it.
  const TPoint Hit = Memo->PointToText(Memo->TextLeftEdge() + 2, Lh + Memo->RowHeight(1) - 2, true);
  EXPECT_EQ(Hit.Y, 0);
  EXPECT_GE(Hit.X, Start);
}

TEST_F(MemoOnScreen, GutterAndTextShowTheirGradients) {
  Memo->SetOptions(TMemoOptions{moDrawGutter});
  Memo->SetSelBackColor(clNavy);
  Memo->SetText("gradient behind\r\nthe text");
  TGutterBackground* G = Memo->GetGutterBackground();
  G->SetBkgndOption(boVertGradient);
  G->SetGradientBeginColor(clRed);
  G->SetGradientEndColor(clBlue);
  Memo->GetMemoBackground()->SetBkgndOption(boHorzGradient);
  Memo->GetMemoBackground()->SetGradientBeginColor(clWhite);
  Memo->GetMemoBackground()->SetGradientEndColor(clYellow);
  Show();
  const Integer Gw = Memo->GutterWidthInEffect(), H = Memo->ClientHeight();
  EXPECT_EQ(G->GetRect(), (TRect{0, 0, Gw, H + 1}));
  // The gutter runs from red at the top to blue at the bottom, with its edge.
  EXPECT_EQ(Pixel(2, 0), ColorToRGB(clRed));
  const COLORREF Low = Pixel(2, H - 1);
  EXPECT_GT(GetBValue(Low), 200);
  EXPECT_LT(GetRValue(Low), 60);
  EXPECT_EQ(Pixel(Gw - 2, H / 2), ColorToRGB(Memo->GetGutterBackColor()));
  EXPECT_EQ(Pixel(Gw - 1, H / 2), ColorToRGB(clGray));
  // Behind the text and right of it the picture shows (white fading to
  // yellow: blue falls from left to right), not the editor's colour.
  const Integer Lh = Memo->LineHeight();
  const COLORREF Near = Pixel(Memo->ClientWidth() - 2, Lh * 4);
  EXPECT_EQ(GetRValue(Near), 255);
  EXPECT_LT(GetBValue(Near), 20);
  EXPECT_EQ(Pixel(Gw + 1, Lh * 4), ColorToRGB(Memo->GetMemoBackground()->WorkBitmap()->Canvas()->GetPixel(Gw + 1, Lh * 4)));
  const TPoint End = Memo->TextToPoint(3, 0);
  EXPECT_EQ(Pixel(End.X - 1, 0), ColorToRGB(Memo->GetMemoBackground()->WorkBitmap()->Canvas()->GetPixel(End.X - 1, 0)))
      << "the text's own cells are transparent";
  // Selected text keeps its opaque colours over the picture.
  Src()->SetSelection(stStreamSel, 0, 0, 4, 0);
  HeadlessDisplay().ProcessMessages();
  EXPECT_TRUE(AnyPixel({Memo->TextToPoint(1, 0).X, 0, Memo->TextToPoint(3, 0).X, Lh}, clNavy));
  SaveShot("gradients.png");
  // A form description carries both backgrounds.
  const AnsiString Text = ComponentToText(Memo);
  EXPECT_NE(Text.find("GutterBackground.BkgndOption = boVertGradient"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("MemoBackground.GradientEndColor = clYellow"), AnsiString::npos);
  EXPECT_EQ(Text.find("\n  BkgndOption"), AnsiString::npos) << "stored once, inside MemoBackground";
}

TEST_F(MemoOnScreen, TypingUndoAndRedoThroughTheKeys) {
  LoadInputEditor();
  Memo->SetText("");
  Show();
  Type("Hello");
  EXPECT_EQ(Memo->GetText(), "Hello");
  EXPECT_EQ(Src()->GetCaretPoint(), (TPoint{5, 0}));
  Chord({VK_CONTROL}, 'Z');
  EXPECT_NE(Memo->GetText(), "Hello");
  Chord({VK_CONTROL, VK_SHIFT}, 'Z');
  EXPECT_EQ(Memo->GetText(), "Hello");
  Chord({}, VK_RETURN);
  Type("x");
  EXPECT_EQ(Memo->GetText(), "Hello\r\nx");
}

TEST_F(MemoOnScreen, EachMappingsMainCommands) {
  Memo->SetText("Alpha Beta\r\nGamma");
  Show();
  // Default: Ctrl+K then B marks the block start; Ctrl+K Ctrl+B runs nothing.
  Memo->SetKeyMapping("Default");
  Chord({VK_CONTROL}, 'K');
  EXPECT_EQ(Memo->GetChordState(), 1);
  Chord({VK_CONTROL}, 'B');
  EXPECT_EQ(Memo->GetChordState(), 0);
  EXPECT_EQ(Memo->GetText(), "Alpha Beta\r\nGamma") << "Ctrl+B typed nothing";
  Chord({VK_CONTROL}, 'Q');
  Chord({VK_CONTROL}, 'Q');
  EXPECT_EQ(Memo->GetChordState(), 0) << "a second Ctrl+Q has no binding in state 2";
  // A key without a binding in the chord's state drops the chord and is
  // typed as an ordinary key.
  Src()->SetCaret(0, 1);
  Chord({VK_CONTROL}, 'K');
  Type("z");
  EXPECT_EQ(Memo->GetChordState(), 0);
  EXPECT_EQ(Src()->GetLineText(1), "zGamma");
  Src()->Undo();
  // Classic: Ctrl+A selects all (the editing keys come after its own word-left).
  Memo->SetKeyMapping("Classic");
  Chord({VK_CONTROL}, 'A');
  EXPECT_TRUE(Src()->HasSelection());
  EXPECT_EQ(Src()->GetSelectionRect(), (TRect{0, 0, 5, 1}));
  // Brief: Home goes to the line start, a second Home to the start of the text.
  Memo->SetKeyMapping("Brief");
  Src()->SetCaret(3, 1);
  Chord({}, VK_HOME);
  EXPECT_EQ(Src()->GetCaretPoint(), (TPoint{0, 1}));
  EXPECT_EQ(Memo->GetChordState(), 8);
  Chord({}, VK_HOME);
  EXPECT_EQ(Src()->GetCaretPoint(), (TPoint{0, 0}));
  // Visual Studio: Ctrl+K Ctrl+E lower-cases the word at the caret.
  Memo->SetKeyMapping("Visual Studio");
  Src()->SetCaret(1, 0);
  Chord({VK_CONTROL}, 'K');
  Chord({VK_CONTROL}, 'E');
  EXPECT_EQ(Src()->GetLineText(0), "alpha Beta");
  // Epsilon: Ctrl+X Ctrl+0 leaves no bindings at all.
  Memo->SetKeyMapping("Epsilon");
  EXPECT_GT(Memo->GetKeyList()->Count(), 0);
  Chord({VK_CONTROL}, 'X');
  Chord({VK_CONTROL}, '0');
  EXPECT_EQ(Memo->GetKeyList()->Count(), 0);
  EXPECT_EQ(Memo->GetChordState(), 0);
}

TEST_F(MemoOnScreen, MouseSelectsStreamAndBlock) {
  Memo->SetText("0123456789\r\nabcdefghij\r\nABCDEFGHIJ");
  Show();
  auto& D = HeadlessDisplay();
  TPoint A = CellLeft(2, 0), B = CellLeft(5, 1);
  D.MouseDown(A.X, A.Y);
  D.MouseMove(B.X, B.Y);
  D.MouseUp(B.X, B.Y);
  D.ProcessMessages();
  EXPECT_EQ(Src()->GetSelectionType(), stStreamSel);
  EXPECT_EQ(Src()->GetSelectionRect(), (TRect{2, 0, 5, 1}));
  // Alt held: a column block.
  A = CellLeft(1, 0);
  B = CellLeft(4, 2);
  D.MouseDown(A.X, A.Y);
  D.KeyDown(VK_MENU);
  D.MouseMove(B.X, B.Y);
  D.MouseUp(B.X, B.Y);
  D.KeyUp(VK_MENU);
  D.ProcessMessages();
  EXPECT_EQ(Src()->GetSelectionType(), stBlockSel);
  EXPECT_EQ(Src()->GetSelectionRect(), (TRect{1, 0, 4, 2}));
}

TEST_F(MemoOnScreen, DraggingTheSelectionMovesOrCopiesIt) {
  Memo->SetText("one two three");
  Show();
  auto& D = HeadlessDisplay();
  Src()->SetSelection(stStreamSel, 0, 0, 4, 0);  // "one "
  TPoint A = CellCentre(1, 0), B = CellLeft(13, 0);
  D.MouseDown(A.X, A.Y);
  D.ProcessMessages();
  EXPECT_EQ(Memo->GetMouseTrack(), TCustomDCMemo::TMouseTrack::Dragging);
  D.MouseMove(B.X, B.Y);
  D.MouseUp(B.X, B.Y);
  D.ProcessMessages();
  EXPECT_EQ(Memo->GetText(), "two threeone ");
  // Ctrl at the release copies; releasing inside the selection changes nothing.
  Memo->SetText("ab cd");
  Src()->SetSelection(stStreamSel, 0, 0, 2, 0);
  A = CellCentre(0, 0);
  B = CellLeft(5, 0);
  D.MouseDown(A.X, A.Y);
  D.MouseMove(B.X, B.Y);
  D.KeyDown(VK_CONTROL);
  D.MouseUp(B.X, B.Y);
  D.KeyUp(VK_CONTROL);
  D.ProcessMessages();
  EXPECT_EQ(Memo->GetText(), "ab cdab");
  Src()->SetSelection(stStreamSel, 0, 0, 2, 0);
  AdvanceClock(2000);  // not a double click
  A = CellCentre(0, 0);
  D.MouseDown(A.X, A.Y);
  D.MouseUp(A.X, A.Y);
  D.ProcessMessages();
  EXPECT_EQ(Memo->GetText(), "ab cdab");
  EXPECT_FALSE(Src()->HasSelection());
}

TEST_F(MemoOnScreen, CopyPutsTextAndRtfAndPasteTakesTheRtf) {
  if (!fs::exists(ColourDoc)) GTEST_SKIP() << "corpus absent";
  Memo->ImportFromFile(ColourDoc);
  Memo->SetClipboardType(cbRtf);
  Show();
  const UINT Rtf = RegisterClipboardFormatA("Rich Text Format");
  Memo->CopyToClipboard();
  EXPECT_FALSE(IsClipboardFormatAvailable(Rtf)) << "no selection, no RTF";
  Src()->SelectAll();
  Memo->CopyToClipboard();
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  ASSERT_TRUE(IsClipboardFormatAvailable(Rtf));
  const AnsiString Bytes = Clipboard()->GetBuffer(Rtf);
  ASSERT_FALSE(Bytes.empty());
  EXPECT_EQ(Bytes.back(), '\0');
  EXPECT_EQ(Bytes.rfind("{\\rtf", 0), 0u);
  // Another editor takes the RTF: the same text arrives with its styles.
  TDCMemo* Other = new TDCMemo(Form);
  Other->SetParent(Form);
  Other->SetClipboardType(cbRtf);
  Other->PasteFromClipboard();
  EXPECT_EQ(Other->GetText(), Memo->GetText());
  AnsiString Attrs;
  Other->GetSource()->GetColorData(0, Attrs);
  EXPECT_NE(Attrs.find_first_not_of('\0'), AnsiString::npos) << "styles came with the text";
  // A read-only editor takes nothing.
  Other->SetText("");
  Other->SetReadOnly(true);
  Other->PasteFromClipboard();
  EXPECT_EQ(Other->GetText(), "");
}

TEST_F(MemoOnScreen, PlainClipboardAndEditMessages) {
  Memo->SetText("ab\r\ncde\r\nf");
  Show();
  HWND H = Memo->Handle();
  EXPECT_EQ(SendMessageA(H, EM_GETLINECOUNT, 0, 0), 3);
  // The character index of each line's start, line breaks counted.
  EXPECT_EQ(SendMessageA(H, EM_LINEINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessageA(H, EM_LINEINDEX, 1, 0), 4);
  EXPECT_EQ(SendMessageA(H, EM_LINEINDEX, 2, 0), 9);
  char Buf[8] = {};
  Buf[0] = 2;
  EXPECT_EQ(SendMessageA(H, EM_GETLINE, 1, LPARAM(Buf)), 2);
  EXPECT_EQ(AnsiString(Buf, 2), "cd");
  EXPECT_EQ(SendMessageA(H, WM_GETTEXTLENGTH, 0, 0), 10);
  Src()->SetSelection(stStreamSel, 0, 1, 3, 1);
  SendMessageA(H, WM_CUT, 0, 0);
  EXPECT_EQ(Clipboard()->GetAsText(), "cde");
  EXPECT_FALSE(IsClipboardFormatAvailable(RegisterClipboardFormatA("Rich Text Format")));
  EXPECT_EQ(Memo->GetText(), "ab\r\n\r\nf");
  Src()->SetCaret(0, 2);
  SendMessageA(H, WM_PASTE, 0, 0);
  EXPECT_EQ(Memo->GetText(), "ab\r\n\r\ncdef");
  EXPECT_EQ(SendMessageA(H, EM_CANUNDO, 0, 0), 1);
  SendMessageA(H, WM_UNDO, 0, 0);
  EXPECT_EQ(Memo->GetText(), "ab\r\n\r\nf");
  SendMessageA(H, WM_CLEAR, 0, 0);
  EXPECT_EQ(Memo->GetText(), "") << "the whole text, not only the selection";
}

TEST_F(MemoOnScreen, CompletionListOpensFiltersAndInserts) {
  Memo->SetText("");
  Integer Asked = 0;
  struct THandler : TObject {
    Integer* Asked;
    void Popup(TObject*, TStrings* S, bool& Allow, TPopupType& Type) {
      ++*Asked;
      S->Add("printf");
      S->Add("Println");
      S->Add("scanf");
      Allow = true;
      Type = ptListBox;
    }
  } H;
  H.Asked = &Asked;
  Memo->OnHintPopup = THintPopupEvent(&H, &THandler::Popup);
  Show();
  Type("x");
  EXPECT_EQ(Asked, 0) << "the hint waits for the pause";
  AdvanceClock(600);
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(Asked, 1);
  ASSERT_NE(Memo->GetPopupList(), nullptr);
  ASSERT_TRUE(Memo->GetPopupList()->IsOpen());
  Type("PRIN");
  EXPECT_EQ(Memo->GetPopupList()->GetItemIndex(), 0) << "first entry beginning with the prefix, any case";
  Type("TL");
  EXPECT_EQ(Memo->GetPopupList()->GetItemIndex(), 1);
  Chord({}, VK_RETURN);
  EXPECT_FALSE(Memo->GetPopupList()->IsOpen());
  EXPECT_EQ(Memo->GetText(), "xPrintln") << "the typed prefix is replaced by the entry";
  // Moving left of the hint column closes the list without a choice.
  Memo->SetText("");
  Type("y");
  AdvanceClock(600);
  HeadlessDisplay().ProcessMessages();
  ASSERT_TRUE(Memo->GetPopupList()->IsOpen());
  Chord({}, VK_LEFT);
  EXPECT_FALSE(Memo->GetPopupList()->IsOpen());
  EXPECT_EQ(Memo->GetText(), "y");
}

TEST_F(MemoOnScreen, HintPopupShowsTheFirstStringAndGoesOnTheNextKey) {
  struct THandler : TObject {
    void Popup(TObject*, TStrings* S, bool& Allow, TPopupType& Type) {
      S->Add("int main()");
      Allow = true;
      Type = ptHint;
    }
  } H;
  Memo->OnHintPopup = THintPopupEvent(&H, &THandler::Popup);
  Memo->SetText("");
  Show();
  Type("m");
  AdvanceClock(600);
  HeadlessDisplay().ProcessMessages();
  EXPECT_TRUE(Memo->GetPopupHint()->GetVisible());
  EXPECT_EQ(Memo->GetPopupHint()->GetCaption(), "int main()");
  Type("a");
  EXPECT_FALSE(Memo->GetPopupHint()->GetVisible());
}

TEST_F(MemoOnScreen, EventsFireWhereTheyBelong) {
  struct TCounter : TObject {
    Integer Changes = 0, Selections = 0, States = 0, Scrolls = 0;
    void Change(TObject*) { ++Changes; }
    void Selection(TObject*) { ++Selections; }
    void State(TObject*, TMemoStates) { ++States; }
    void Scroll(TObject*, TScrollStyle, Integer) { ++Scrolls; }
    void Reset() { Changes = Selections = States = Scrolls = 0; }
  } C;
  Memo->OnChange = TNotifyEvent(&C, &TCounter::Change);
  Memo->OnSelectionChange = TNotifyEvent(&C, &TCounter::Selection);
  Memo->OnStateChange = TMemoStateChangeEvent(&C, &TCounter::State);
  Memo->OnMemoScroll = TMemoScrollEvent(&C, &TCounter::Scroll);
  AnsiString Many;
  for (int I = 0; I < 100; ++I) Many += "line\r\n";
  Memo->SetText(Many);
  Show();
  C.Reset();
  Type("a");
  EXPECT_EQ(C.Changes, 1);
  EXPECT_GE(C.Selections, 1);
  EXPECT_GE(C.States, 1);
  Chord({}, VK_RIGHT);
  EXPECT_EQ(C.Changes, 1) << "a caret move is no change";
  Memo->ScrollVert(5);
  EXPECT_EQ(C.Scrolls, 1);
  EXPECT_EQ(Memo->GetTopLine(), 5);
  Memo->ScrollVert(-7);
  EXPECT_EQ(Memo->GetTopLine(), 0) << "stops at the top";
}

TEST(TMemoPostionStore, SourcesAreKeptApartByTheirSerialNotTheirAddress) {
  TMemoPostionStore Store;
  std::uint64_t Freed;
  {
    TMemoSource A(nullptr);
    Freed = A.GetSerial();
    Store.Save({A.GetSerial(), 7, 2, {3, 9}});
  }
  // A source made after A was freed may sit at A's address; it is another key.
  TMemoSource B(nullptr);
  TStoredPosition P;
  EXPECT_NE(B.GetSerial(), Freed);
  EXPECT_FALSE(Store.Find(B.GetSerial(), P));
  ASSERT_TRUE(Store.Find(Freed, P));
  EXPECT_EQ(P.TopLine, 7);
}

TEST_F(MemoOnScreen, SwitchingSourcesBringsEachViewBack) {
  TMemoSource A(nullptr), B(nullptr);
  AnsiString Many;
  for (int I = 0; I < 200; ++I) Many += "text line\r\n";
  A.GetLines()->SetText(Many);
  B.GetLines()->SetText("b");
  Memo->SetMemoSource(&A);
  Show();
  Memo->ScrollVert(40);
  A.SetCaret(4, 45);
  const Integer Top = Memo->GetTopLine();
  ASSERT_GE(Top, 40);
  Memo->SetMemoSource(&B);
  EXPECT_EQ(Memo->GetTopLine(), 0) << "B is one line long";
  Memo->SetMemoSource(&A);
  EXPECT_EQ(Memo->GetTopLine(), Top);
  EXPECT_EQ(A.GetCaretPoint(), (TPoint{4, 45}));
  Memo->SetMemoSource(nullptr);
}

TEST_F(MemoOnScreen, ClickOnAnAddressJumpsWithMailto) {
  struct TJump : TObject {
    AnsiString Link;
    void Jump(TObject*, const AnsiString& S, bool& Handled) {
      Link = S;
      Handled = true;
    }
  } J;
  Memo->OnJumpToUrl = TJumpToUrlEvent(&J, &TJump::Jump);
  Memo->SetHighlightUrls(true);
  Memo->SetText("write to me@example.com today");
  Show();
  AdvanceClock(2000);
  const TPoint P = CellCentre(12, 0);
  HeadlessDisplay().Click(P.X, P.Y);
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(J.Link, "mailto:me@example.com");
  // A click on plain text jumps nowhere.
  J.Link.clear();
  AdvanceClock(2000);
  const TPoint Q = CellCentre(1, 0);
  HeadlessDisplay().Click(Q.X, Q.Y);
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(J.Link, "");
}

TEST_F(MemoOnScreen, WheelScrollsWholeNotchesOnly) {
  AnsiString Many;
  for (int I = 0; I < 100; ++I) Many += "line\r\n";
  Memo->SetText(Many);
  Memo->ScrollVert(30);
  Show();
  UINT PerNotch = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &PerNotch, 0);
  const TPoint P = CellCentre(1, 1);
  auto& D = HeadlessDisplay();
  D.Wheel(P.X, P.Y, 3 * WHEEL_DELTA);
  D.ProcessMessages();
  EXPECT_EQ(Memo->GetTopLine(), 30 - 3 * Integer(PerNotch));
  const Integer Top = Memo->GetTopLine();
  D.Wheel(P.X, P.Y, -60);
  D.ProcessMessages();
  EXPECT_EQ(Memo->GetTopLine(), Top) << "half a notch waits";
  D.Wheel(P.X, P.Y, -60);
  D.ProcessMessages();
  EXPECT_EQ(Memo->GetTopLine(), Top + Integer(PerNotch));
}

TEST_F(MemoOnScreen, DefaultMenuCommandsAreEnabledByTheState) {
  using C = TCustomDCMemo::TMemoMenuCommand;
  Memo->SetText("some text");
  Show();
  Clipboard()->Clear();
  struct TCase {
    C Command;
    bool Plain, Selected, ReadOnlySelected;
  };
  const TCase Cases[] = {
      {C::Undo, false, false, false},  {C::Cut, false, true, false},   {C::Copy, false, true, true},
      {C::Paste, false, false, false}, {C::Delete, false, true, false}, {C::SelectAll, true, true, true},
  };
  for (const auto& T : Cases) {
    SCOPED_TRACE(TCustomDCMemo::MenuCaption(T.Command));
    Memo->SetReadOnly(false);
    Src()->ClearSelection();
    EXPECT_EQ(Memo->MenuCommandEnabled(T.Command), T.Plain);
    Src()->SetSelection(stStreamSel, 0, 0, 4, 0);
    EXPECT_EQ(Memo->MenuCommandEnabled(T.Command), T.Selected);
    Memo->SetReadOnly(true);
    EXPECT_EQ(Memo->MenuCommandEnabled(T.Command), T.ReadOnlySelected);
  }
  Memo->SetReadOnly(false);
  Memo->RunMenuCommand(C::Copy);
  EXPECT_TRUE(Memo->MenuCommandEnabled(C::Paste));
  Memo->RunMenuCommand(C::Delete);
  EXPECT_EQ(Memo->GetText(), " text");
  EXPECT_TRUE(Memo->MenuCommandEnabled(C::Undo));
}

namespace {
// What the open menu shows: each entry's text and whether it is greyed.
struct TOpenMenu {
  bool Seen = false;
  TPopupMenu* Menu = nullptr;
  std::vector<AnsiString> Texts;
  std::vector<bool> Grayed;
};

TOpenMenu ReadOpenMenu(std::function<void()> Open, const char* Shot = nullptr) {
  TOpenMenu R;
  HeadlessDisplay().SetIdleHandler([&] {
    HMENU M = TrackedMenu();
    if (!M) return false;
    for (int I = 0; I < GetMenuItemCount(M); ++I) {
      char Buf[64] = {};
      GetMenuStringA(M, UINT(I), Buf, sizeof Buf, MF_BYPOSITION);
      R.Texts.push_back(Buf);
      R.Grayed.push_back((GetMenuState(M, UINT(I), MF_BYPOSITION) & MF_GRAYED) != 0);
    }
    if (Shot) {
      // The editor with the menu over it.
      TRect W;
      GetWindowRect(OpenMenuWindows().at(0), &W);
      fs::create_directories(SX_BUILD_SHOTS);
      TRect Area{W.Left - 120, W.Top - 60, W.Right + 20, W.Bottom + 20};
      HeadlessDisplay().SaveScreenshot(std::string(SX_BUILD_SHOTS) + "/" + Shot, &Area);
    }
    R.Seen = true;
    EndMenu();
    return true;
  });
  Open();
  HeadlessDisplay().ProcessMessages();
  HeadlessDisplay().SetIdleHandler(nullptr);
  return R;
}
}  // namespace

TEST_F(MemoOnScreen, RightClickShowsTheDefaultMenuAndLendsItOnlyWhileOpen) {
  Memo->SetText("first line\r\nsecond line\r\nthird line");
  Memo->SetUseDefaultMenu(true);
  Clipboard()->Clear();
  Show();
  auto& D = HeadlessDisplay();
  const TPoint At = CellCentre(3, 1);
  const TOpenMenu Open = ReadOpenMenu([&] { D.Click(At.X, At.Y, TInputButton::Right); }, "memo_default_menu.png");
  ASSERT_TRUE(Open.Seen);
  EXPECT_EQ(Open.Texts,
            (std::vector<AnsiString>{"&Undo", "-", "Cu&t", "&Copy", "&Paste", "&Delete", "-", "Se&lect All"}));
  // The click only moved the caret: nothing to undo; nothing is selected
  // and nothing is on the clipboard.
  auto WithUndo = [&](std::vector<bool> Rest) {
    Rest.insert(Rest.begin(), true);
    return Rest;
  };
  EXPECT_EQ(Open.Grayed, WithUndo({false, true, true, true, true, false, false}));
  ASSERT_NE(Memo->GetDefaultMenu(), nullptr);
  EXPECT_EQ(Memo->GetDefaultMenu()->PopupPoint, At);
  EXPECT_EQ(Memo->GetDefaultMenu()->PopupComponent, Memo);
  EXPECT_EQ(Memo->GetPopupMenu(), nullptr) << "the default menu was lent for the click only";
  // Item names are unique among the editor's components.
  for (Integer I = 0; I < Memo->GetDefaultMenu()->Items()->Count(); ++I)
    EXPECT_EQ(Memo->GetDefaultMenu()->Items()->Items(I)->GetName(), "MenuItem" + std::to_string(I + 1));
  // With nothing to undo, Undo is greyed.
  Memo->Perform(EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_TRUE(ReadOpenMenu([&] { D.KeyPress(VK_APPS); }).Grayed.at(0));
  // A selection and text on the clipboard: Cut, Copy, Paste and Delete
  // come alive; right-clicking inside the selection keeps it.
  Src()->SetSelection(stStreamSel, 0, 1, 6, 1);
  Clipboard()->SetAsText("x");
  const TOpenMenu Selected = ReadOpenMenu([&] { D.Click(At.X, At.Y, TInputButton::Right); });
  EXPECT_EQ(Selected.Grayed, WithUndo({false, false, false, false, false, false, false}));
  Memo->SetReadOnly(true);
  const TOpenMenu ReadOnly = ReadOpenMenu([&] { D.Click(At.X, At.Y, TInputButton::Right); });
  EXPECT_EQ(ReadOnly.Grayed, WithUndo({false, true, false, true, true, false, false}));
  Memo->SetReadOnly(false);
  // Without UseDefaultMenu there is no menu at all.
  Memo->SetUseDefaultMenu(false);
  EXPECT_FALSE(ReadOpenMenu([&] { D.Click(At.X, At.Y, TInputButton::Right); }).Seen);
}

TEST_F(MemoOnScreen, DefaultMenuItemsRunTheirCommands) {
  auto& D = HeadlessDisplay();
  struct TCase {
    WORD Mnemonic;
    const char* Text;       // after the command
    const char* Clip;       // the clipboard after it
    bool Selection;         // a selection after it
  };
  // "two " is selected; "clip" is on the clipboard; "one " was typed last.
  const TCase Cases[] = {
      {'U', "two three", "clip", false},  {'T', "one three", "two ", false},
      {'C', "one two three", "two ", true}, {'P', "one clipthree", "clip", false},
      {'D', "one three", "clip", false},  {'L', "one two three", "clip", true},
  };
  Memo->SetUseDefaultMenu(true);
  Show();
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(1, char(C.Mnemonic)));
    Memo->SetText("two three");
    Src()->SetCaret(0, 0);
    Type("one ");
    Src()->SetSelection(stStreamSel, 4, 0, 8, 0);
    Clipboard()->SetAsText("clip");
    // The menu key opens the menu; the mnemonic chooses the item.
    D.KeyPress(VK_APPS);
    D.KeyPress(C.Mnemonic);
    D.ProcessMessages();
    EXPECT_EQ(Memo->GetText(), C.Text);
    EXPECT_EQ(Clipboard()->GetAsText(), C.Clip);
    EXPECT_EQ(Src()->HasSelection(), C.Selection);
    EXPECT_EQ(Memo->GetPopupMenu(), nullptr);
  }
}

TEST_F(MemoOnScreen, KeyboardMenuOpensAtTheCaretAndTheUsersMenuComesFirst) {
  Memo->SetText("alpha\r\nbeta\r\ngamma");
  Memo->SetUseDefaultMenu(true);
  Show();
  auto& D = HeadlessDisplay();
  Src()->SetCaret(2, 1);
  const TPoint Caret = Memo->TextToPoint(2, 1);
  const TPoint AtCaret = Screen(Caret.X + 2 * GetSystemMetrics(SM_CXBORDER), Caret.Y);
  struct TCase {
    std::function<void()> Open;
    const char* Why;
  };
  const TCase Cases[] = {
      {[&] { D.KeyPress(VK_APPS); }, "menu key"},
      {[&] {
         D.KeyDown(VK_SHIFT);
         D.KeyPress(VK_F10);
         D.KeyUp(VK_SHIFT);
       },
       "Shift+F10"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    ASSERT_TRUE(ReadOpenMenu(C.Open).Seen);
    EXPECT_EQ(Memo->GetDefaultMenu()->PopupPoint, AtCaret);
  }
  // A hidden caret: the top-left corner.
  Memo->SetHideCaret(true);
  ASSERT_TRUE(ReadOpenMenu(Cases[0].Open).Seen);
  EXPECT_EQ(Memo->GetDefaultMenu()->PopupPoint, Screen(0, 0));
  Memo->SetHideCaret(false);
  // The program's own menu wins over the default one, by mouse and by key.
  auto* Own = new TPopupMenu(Form);
  auto* Item = new TMenuItem(Form);
  Item->SetCaption("&Own");
  Own->Items()->Add(Item);
  Memo->SetPopupMenu(Own);
  const TPoint At = CellCentre(1, 0);
  const TOpenMenu ByMouse = ReadOpenMenu([&] { D.Click(At.X, At.Y, TInputButton::Right); });
  EXPECT_EQ(ByMouse.Texts, (std::vector<AnsiString>{"&Own"}));
  EXPECT_EQ(Own->PopupPoint, At);
  const TOpenMenu ByKey = ReadOpenMenu(Cases[0].Open);
  EXPECT_EQ(ByKey.Texts, (std::vector<AnsiString>{"&Own"}));
  EXPECT_EQ(Memo->GetPopupMenu(), Own) << "the program's menu stays";
  // A menu the program pops up itself does not open on a click.
  Own->AutoPopup = false;
  EXPECT_FALSE(ReadOpenMenu([&] { D.Click(At.X, At.Y, TInputButton::Right); }).Seen);
}

TEST_F(MemoOnScreen, CaretMovesAloneLeaveNoEditToUndo) {
  Memo->SetText("first line\r\nsecond line");
  Memo->SetUseDefaultMenu(true);
  Show();
  auto& D = HeadlessDisplay();
  auto MenuUndoGrayed = [&] {
    const TPoint At = CellCentre(2, 1);
    const TOpenMenu M = ReadOpenMenu([&] { D.Click(At.X, At.Y, TInputButton::Right); });
    EXPECT_TRUE(M.Seen);
    return M.Grayed.at(0);
  };
  const TPoint Left = CellCentre(4, 0);
  D.Click(Left.X, Left.Y);
  Chord({}, VK_DOWN);
  EXPECT_TRUE(MenuUndoGrayed()) << "clicks and arrow keys are no edits";
  EXPECT_EQ(Memo->Perform(EM_CANUNDO, 0, 0), 0);
  EXPECT_TRUE(Src()->CanUndo()) << "the moves stay on the list, for the caret to come back with an edit's undo";
  Type("x");
  EXPECT_FALSE(MenuUndoGrayed()) << "typing is an edit, and later clicks don't hide it";
  EXPECT_EQ(Memo->Perform(EM_CANUNDO, 0, 0), 1);
  Chord({VK_CONTROL}, 'Z');
  Chord({VK_CONTROL}, 'Z');
  EXPECT_EQ(Memo->GetText(), "first line\r\nsecond line");
  EXPECT_EQ(Memo->Perform(EM_CANUNDO, 0, 0), 0) << "the edit is undone; moves are left";
}

TEST_F(MemoOnScreen, CaretLineHighlightFollowsTheCaretWhileFocused) {
  Memo->SetOptions(TMemoOptions{moDrawGutter});
  Memo->SetText("one\r\ntwo\r\nthree");
  TLineHighlight* Hl = Memo->GetLineHighlight();
  Hl->GetBrush()->SetColor(clYellow);
  Hl->GetPen()->SetColor(clRed);
  Hl->SetVisible(true);
  Show();
  const Integer Lh = Memo->LineHeight();
  const Integer X = Memo->TextToPoint(8, 0).X;  // right of the text
  const COLORREF Yellow = ColorToRGB(clYellow), Red = ColorToRGB(clRed), White = ColorToRGB(clWindow);
  struct TCase {
    TShapeHighlightType Shape;
    Integer PenWidth;
    Integer Y;  // within the caret row
    COLORREF Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {shDoubleLine, 1, 0, Red, "double: a line at the top"},
      {shDoubleLine, 1, 1, Yellow, "the brush below it"},
      {shDoubleLine, 1, -1, Red, "and one at the bottom"},
      {shSingleLine, 1, 0, Yellow, "single: no top line"},
      {shSingleLine, 1, -1, Red, "single: the bottom line"},
      {shDoubleLine, 2, 1, Red, "a 2-pixel pen: two lines at the top"},
      {shDoubleLine, 2, -2, Red, "and two at the bottom"},
      {shSingleLine, 2, -2, Red, "single with a 2-pixel pen: two at the bottom"},
      {shSingleLine, 2, 1, Yellow, "single with a 2-pixel pen: none at the top"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    Hl->SetShape(C.Shape);
    Hl->GetPen()->SetWidth(C.PenWidth);
    HeadlessDisplay().ProcessMessages();
    EXPECT_EQ(Pixel(X, C.Y < 0 ? Lh + C.Y : C.Y), C.Want);
  }
  EXPECT_EQ(Pixel(X, Lh + Lh / 2), White) << "other rows keep the background";
  Chord({}, VK_DOWN);
  EXPECT_EQ(Pixel(X, Lh / 2), White) << "the old caret row lost the highlight";
  EXPECT_EQ(Pixel(X, Lh + Lh / 2), Yellow) << "the new one has it";
  Memo->GetLineHighlight()->GetBrush()->SetStyle(bsClear);
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(Pixel(X, Lh + Lh / 2), White) << "a clear brush leaves the lines only";
  EXPECT_EQ(Pixel(X, 2 * Lh - 1), Red);
  Form->SetActiveControl(nullptr);
  ::SetFocus(nullptr);
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(Pixel(X, 2 * Lh - 1), White) << "no highlight without the focus";
}

TEST_F(MemoOnScreen, SeparatorsStandUnderLinesOrUnderEveryRow) {
  Memo->SetOptions(TMemoOptions{moDrawGutter, moBreakWordAtMargin});
  Memo->SetMarginPos(6);
  Memo->SetWordWrap(true);
  Memo->SetText("aaaa bbbb\r\nc");
  Memo->GetLineSeparator()->GetPen()->SetColor(clGreen);
  Show();
  const Integer Lh = Memo->LineHeight();
  const Integer X = Memo->TextToPoint(2, 0).X + 1;  // clear of the caret
  const COLORREF Green = ColorToRGB(clGreen);
  struct TCase {
    TSeparatorOptions Options;
    bool UnderFirstRow, UnderLine;
    const char* Why;
  };
  const TCase Cases[] = {
      {{}, false, false, "no separators"},
      {{moDrawLineSeparator}, false, true, "under the line's last row only"},
      {{moWrappedLineSeparator}, true, true, "under every row"},
  };
  ASSERT_EQ(Memo->RowToText(0, 1).Y, 0) << "the first line takes two rows";
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    Memo->GetLineSeparator()->SetOptions(C.Options);
    HeadlessDisplay().ProcessMessages();
    EXPECT_EQ(Pixel(X, Lh - 1) == Green, C.UnderFirstRow);
    EXPECT_EQ(Pixel(X, 2 * Lh - 1) == Green, C.UnderLine);
  }
}

TEST_F(MemoOnScreen, SpecialSymbolsStandForBlanksTabsLineEndsAndTheEnd) {
  struct TRecorder : TObject {
    std::vector<AnsiString> Rows;
    void Custom(TObject*, AnsiString& S, AnsiString&) { Rows.push_back(S); }
  } R;
  TStringsOptions O = Memo->GetStringsOptions();
  O.Include(soUseTabCharacter);
  Memo->SetStringsOptions(O);
  Memo->SetTabStops("4");
  Memo->SetText("a b\r\n\tc");
  Memo->OnCustomString = TCustomStringEvent(&R, &TRecorder::Custom);
  Show();
  auto Painted = [&] {
    R.Rows.clear();
    Memo->Invalidate();
    HeadlessDisplay().ProcessMessages();
    return std::vector<AnsiString>(R.Rows.begin(), R.Rows.begin() + std::min<size_t>(R.Rows.size(), 3));
  };
  EXPECT_EQ(Painted(), (std::vector<AnsiString>{"a b", "    c"})) << "off: the text as it stands";
  Memo->SetOptions(TMemoOptions{moDrawSpecialSymbols});
  const AnsiString Eol(1, char(182));
  EXPECT_EQ(Painted(), (std::vector<AnsiString>{"a b" + Eol, "    c" + Eol, "_"}))
      << "characters #0: blanks and TABs as they are; the line ends and the end of the text marked";
  Memo->GetSpecialSymbols()->SetSpaceChar('.');
  Memo->GetSpecialSymbols()->SetTabChar('>');
  Memo->GetSpecialSymbols()->SetEOLString("$");
  Memo->GetSpecialSymbols()->SetEOFString("<EOF>");
  EXPECT_EQ(Painted(), (std::vector<AnsiString>{"a.b$", " >  c$", "<EOF>"}));
}

TEST_F(MemoOnScreen, ExtendedSelectionSnapsToWholeWords) {
  Memo->SetText("alpha beta gamma\r\ndelta epsilon");
  Show();
  auto& D = HeadlessDisplay();
  struct TCase {
    bool Extended;
    TPoint From, To;
    TRect Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {true, {2, 0}, {8, 0}, {0, 0, 10, 0}, "forward into the next word: both words whole"},
      {true, {8, 0}, {2, 0}, {0, 0, 10, 0}, "backward: the word's start, the anchor's word to its end"},
      {true, {1, 0}, {3, 0}, {1, 0, 3, 0}, "inside the anchor's word: no snapping"},
      {true, {1, 0}, {5, 0}, {1, 0, 5, 0}, "on a blank: no snapping"},
      {true, {2, 0}, {8, 1}, {0, 0, 13, 1}, "down into a word of the next line"},
      {false, {2, 0}, {8, 0}, {2, 0, 8, 0}, "without moExtendedSel, characters"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    Memo->SetOptions(C.Extended ? TMemoOptions{moExtendedSel} : TMemoOptions{});
    Src()->ClearSelection();  // a press inside a selection would drag it
    const TPoint A = CellLeft(C.From.X, C.From.Y), B = CellLeft(C.To.X, C.To.Y);
    D.MouseDown(A.X, A.Y);
    D.MouseMove(B.X, B.Y);
    D.MouseUp(B.X, B.Y);
    D.ProcessMessages();
    EXPECT_EQ(Src()->GetSelectionType(), stStreamSel);
    EXPECT_EQ(Src()->GetSelectionRect(), C.Want);
    // Far from the last click, so that the next is no double click.
    AdvanceClock(2000);
  }
}

TEST_F(MemoOnScreen, FoldButtonsCollapseAndExpandTheirRegion) {
  Memo->SetOptions(TMemoOptions{moDrawGutter, moHideInvisibleLines});
  Memo->SetText("head\r\ninner one\r\ninner two\r\nafter");
  Src()->SetLineInRegion(1, true);
  Src()->SetLineInRegion(2, true);
  Src()->SetRegionState(0, 1);
  struct TVeto : TObject {
    bool Allow = true;
    Integer Changed = 0;
    void Changing(TObject*, Integer, bool, bool& Handled) { Handled = Allow; }
    void Done(TObject*, Integer, bool) { ++Changed; }
  } V;
  Memo->OnCollapseStateChanging = TCollapseStateChangingEvent(&V, &TVeto::Changing);
  Memo->OnCollapseStateChanged = TCollapseStateChangedEvent(&V, &TVeto::Done);
  Show();
  const Integer Lh = Memo->LineHeight(), D = CollapseButtonInset(Lh);
  const Integer Bx = Memo->TextLeftEdge() - Lh;
  // The sign's centre, and a pixel just above it that only a plus covers.
  const Integer Cx = (Bx + D + Bx + Lh - D) / 2, Cy = (D + Lh - D) / 2;
  const COLORREF Black = ColorToRGB(clBlack);
  EXPECT_EQ(Pixel(Cx, Cy), Black) << "a minus on an expanded head";
  EXPECT_NE(Pixel(Cx, Cy - 1), Black);
  EXPECT_NE(Pixel(Cx, Lh + Cy), Black) << "no button beside a line inside the region";
  Integer Line = -1;
  EXPECT_FALSE(Memo->HitCollapseButton(Bx + D, Cy, Line)) << "the inset is outside";
  EXPECT_TRUE(Memo->HitCollapseButton(Cx, Cy, Line));
  EXPECT_EQ(Line, 0);
  auto ClickButton = [&] {
    const TPoint P = Screen(Cx, Cy);
    HeadlessDisplay().Click(P.X, P.Y);
    HeadlessDisplay().ProcessMessages();
    AdvanceClock(2000);
  };
  V.Allow = false;
  ClickButton();
  EXPECT_EQ(Src()->GetRegionState(0), 1) << "the handler said no";
  EXPECT_EQ(V.Changed, 0);
  V.Allow = true;
  ClickButton();
  EXPECT_EQ(Src()->GetRegionState(0), 0);
  EXPECT_EQ(V.Changed, 1);
  EXPECT_EQ(Memo->LastRow(), 1) << "two lines hidden";
  EXPECT_EQ(Memo->RowToText(0, 1).Y, 3);
  EXPECT_EQ(Pixel(Cx, Cy - 1), Black) << "a plus on a collapsed head";
  ClickButton();
  EXPECT_EQ(Src()->GetRegionState(0), 1);
  EXPECT_EQ(Memo->LastRow(), 3);
  SaveShot("fold_buttons.png");
}

TEST_F(MemoOnScreen, TheHandStandsOverLinksOnly) {
  SetResourceDir(AnsiString(SX_SOURCE_DIR) + "/resources");
  Memo->SetHighlightUrls(true);
  Memo->SetText("see www.example.com here");
  Show();
  auto& D = HeadlessDisplay();
  const TPoint OnLink = CellCentre(8, 0), OffLink = CellCentre(1, 0);
  D.MouseMove(OnLink.X, OnLink.Y);
  D.ProcessMessages();
  EXPECT_EQ(Memo->GetCursor(), crMemoHand);
  EXPECT_EQ(StandardCursorId(::Screen->Cursors(crMemoHand)), 0) << "the program's own hand, not a system cursor";
  EXPECT_NE(::Screen->Cursors(crMemoHand), ::Screen->Cursors(crArrow));
  D.MouseMove(OffLink.X, OffLink.Y);
  D.ProcessMessages();
  EXPECT_EQ(Memo->GetCursor(), crIBeam) << "the editor's cursor comes back";
  SetResourceDir("");
}

TEST_F(MemoOnScreen, GutterShowsLineMarkAndBookmarkImages) {
  // The images come from the program's bitmaps when the editor is made.
  SetResourceDir(AnsiString(SX_SOURCE_DIR) + "/resources");
  delete Memo;
  Memo = new TDCMemo(Form);
  Memo->SetParent(Form);
  SetResourceDir("");
  TDCGutterImages* Imgs = Memo->GetGutterImgs();
  ASSERT_EQ(Imgs->Count(), 11);
  EXPECT_EQ(Imgs->Image(0)->GetName(), "BreakPoint");
  EXPECT_EQ(Imgs->Image(0)->GetBookmarkIndex(), -1);
  EXPECT_EQ(Imgs->BookmarkImage(3), Imgs->Image(4));
  EXPECT_FALSE(Imgs->Image(4)->GetGlyph()->Empty()) << "BIGBOOKMARK3 loaded";
  Memo->SetOptions(TMemoOptions{moDrawGutter});
  Memo->SetText("zero\r\none\r\ntwo\r\nthree");
  Src()->GetLineItem(1)->Marks |= 1;  // line-mark bit 0: the break point
  Src()->SetCaret(0, 2);
  Src()->SetBookmark(3);
  struct TClicks : TObject {
    Integer Line = -1, Image = -2, ImageClicks = 0;
    void Gutter(TObject*, Integer L, Integer I, TShiftState) { Line = L, Image = I; }
    void Click(TObject*) { ++ImageClicks; }
  } K;
  Memo->OnClickGutter = TClickGutterEvent(&K, &TClicks::Gutter);
  Imgs->Image(0)->OnClick = TNotifyEvent(&K, &TClicks::Click);
  Show();
  const Integer Lh = Memo->LineHeight(), Gw = Memo->GutterWidthInEffect();
  const Integer Size = std::min<Integer>(14, Lh - 1);
  EXPECT_EQ(Memo->GutterImageAt(1, 1), 0) << "from x = 1 at the left";
  EXPECT_EQ(Memo->GutterImageAt(1 + Size, 1), -1) << "the image's own width";
  EXPECT_EQ(Memo->GutterImageAt(2, 2), 4) << "bookmark 3";
  EXPECT_EQ(Memo->GutterImageAt(2, 0), -1);
  EXPECT_EQ(Pixel(1 + Size / 2, Lh + Lh / 2), RGB(200, 0, 0)) << "the break point's red";
  EXPECT_NE(Pixel(1 + Size / 2, 2 * Lh + Lh / 2), ColorToRGB(clBtnFace)) << "the bookmark";
  EXPECT_EQ(Pixel(1 + Size / 2, 3 * Lh + Lh / 2), ColorToRGB(clBtnFace));
  SaveShot("gutter_images.png");
  const TPoint At = Screen(1 + Size / 2, Lh + Lh / 2);
  HeadlessDisplay().Click(At.X, At.Y);
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(K.Line, 1);
  EXPECT_EQ(K.Image, 0);
  EXPECT_EQ(K.ImageClicks, 1);
  // Right-aligned, the first image ends left of the gutter's edge.
  Memo->SetGutterImgsAlign(iaRight);
  EXPECT_EQ(Memo->GutterImageAt(Gw - 6, 1), 0);
  EXPECT_EQ(Memo->GutterImageAt(1, 1), -1);
  // An index past 9 is kept but shows for no bookmark.
  Imgs->Image(4)->SetBookmarkIndex(11);
  EXPECT_EQ(Imgs->Image(4)->GetBookmarkIndex(), 11);
  EXPECT_EQ(Imgs->BookmarkImage(3), nullptr);
  EXPECT_EQ(Memo->GutterImageAt(Gw - 6, 2), -1);
}

TEST_F(MemoOnScreen, HintWaitsForThePauseAndHidesByTheMouseOrTheHidePause) {
  Show();
  auto& D = HeadlessDisplay();
  struct TCount : TObject {
    Integer Changes = 0;
    void Changed(TObject*) { ++Changes; }
  } K;
  auto Run = [&](Integer Ms) {
    for (Integer T = 0; T < Ms; T += 50) {
      AdvanceClock(50);
      D.ProcessMessages();
    }
  };
  TDCHint Hint(nullptr);
  Hint.OnVisibleChanged = TNotifyEvent(&K, &TCount::Changed);
  Hint.SetImmediate(false);
  D.MouseMove(300, 300);
  D.ProcessMessages();
  Hint.ShowAt({290, 290}, "~Line~ 12");
  EXPECT_FALSE(Hint.GetVisible()) << "waits for the hint pause";
  Run(400);
  EXPECT_FALSE(Hint.GetVisible());
  Run(200);
  EXPECT_TRUE(Hint.GetVisible()) << "the pause has passed with the mouse over it";
  EXPECT_EQ(K.Changes, 1);
  Run(2000);
  EXPECT_TRUE(Hint.GetVisible());
  Run(700);
  EXPECT_FALSE(Hint.GetVisible()) << "the hide pause has passed";
  // Leaving the area hides it at the next tick.
  Hint.SetImmediate(true);
  Hint.ShowAt({290, 290}, "text");
  EXPECT_TRUE(Hint.GetVisible()) << "Immediate shows at once";
  D.MouseMove(10, 10);
  Run(100);
  EXPECT_FALSE(Hint.GetVisible());
  // Without AutoHide it stays, wherever the mouse is.
  Hint.SetAutoHide(false);
  Hint.ShowAt({290, 290}, "text");
  Run(4000);
  EXPECT_TRUE(Hint.GetVisible());
  Hint.HideHint();
  EXPECT_FALSE(Hint.GetVisible());
  // The editor's hint counts the mouse as always over it.
  TPopupHint Popup(nullptr);
  Popup.ShowAt({290, 290}, "int main()");
  Run(1000);
  EXPECT_TRUE(Popup.GetVisible());
  EXPECT_EQ(Popup.GetCaption(), "int main()");
}

namespace {
// A white strip with a plain font and its bold twin.
struct TStrip {
  TBitmap B;
  TFont Normal, Bold;
  TStrip() {
    B.SetSize(240, 24);
    Clear();
    Normal.SetName("Arial");
    Normal.SetSize(10);
    Bold.Assign(&Normal);
    Bold.SetStyle(TFontStyles{fsBold});
  }
  void Clear() {
    B.Canvas()->Brush()->SetStyle(bsSolid);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect({0, 0, 240, 24});
    B.Canvas()->Brush()->SetStyle(bsClear);
  }
  std::vector<TColor> Pixels() {
    std::vector<TColor> P;
    for (Integer Y = 0; Y < 24; ++Y)
      for (Integer X = 0; X < 240; ++X) P.push_back(B.Canvas()->GetPixel(X, Y));
    return P;
  }
  Integer Ink(Integer From, Integer To) {
    Integer N = 0;
    for (Integer Y = 0; Y < 24; ++Y)
      for (Integer X = From; X < To; ++X) N += B.Canvas()->GetPixel(X, Y) != clWhite;
    return N;
  }
};
}  // namespace

TEST(HintText, BoldRangeDrawsEachPartInItsFontFromEitherEdge) {
  ResetWindowSystem();
  struct TCase {
    const char* Marked;
    bool Right;
    const char* Before;
    const char* Bold;
    const char* After;
  };
  const TCase Cases[] = {
      {"~Line~ 12", false, "", "Line", " 12"},
      {"~Line~ 12", true, "", "Line", " 12"},
      {"Col ~7~ of 9", false, "Col ", "7", " of 9"},
      {"Col ~7~ of 9", true, "Col ", "7", " of 9"},
      {"plain text", false, "plain text", "", ""},
      {"a ~bold to the end", false, "a ", "bold to the end", ""},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Marked);
    TStrip S;
    Integer Pos, Len;
    const AnsiString Plain = ExtractMarkedRange(C.Marked, Pos, Len);
    DrawTextWithBoldRange(S.B.Canvas(), &S.Normal, &S.Bold, C.Right, Len, Pos, Plain, {0, 2, 240, 22});
    const auto Got = S.Pixels();
    // The same parts put side by side by hand.
    S.Clear();
    TCanvas* Cv = S.B.Canvas();
    Cv->SetFont(&S.Normal);
    const Integer W1 = Cv->TextWidth(C.Before), W3 = Cv->TextWidth(C.After);
    Cv->SetFont(&S.Bold);
    const Integer W2 = Cv->TextWidth(C.Bold);
    Integer X = C.Right ? 240 - (W1 + W2 + W3) : 0;
    Cv->SetFont(&S.Normal);
    Cv->TextOut(X, 2, C.Before);
    Cv->SetFont(&S.Bold);
    Cv->TextOut(X + W1, 2, C.Bold);
    Cv->SetFont(&S.Normal);
    Cv->TextOut(X + W1 + W2, 2, C.After);
    EXPECT_TRUE(Got == S.Pixels());
    // MeasureMarkedText agrees with what was drawn.
    EXPECT_EQ(MeasureMarkedText(Cv, &S.Normal, &S.Bold, C.Marked).cx, W1 + W2 + W3);
  }
  // The marked part really is heavier than the same letters unmarked.
  TStrip S;
  DrawTextWithBoldRange(S.B.Canvas(), &S.Normal, &S.Bold, false, 4, 1, "Line", {0, 2, 240, 22});
  const Integer BoldInk = S.Ink(0, 240);
  S.Clear();
  DrawTextWithBoldRange(S.B.Canvas(), &S.Normal, &S.Bold, false, 0, 0, "Line", {0, 2, 240, 22});
  EXPECT_GT(BoldInk, S.Ink(0, 240));
  // A rectangle too narrow for the text keeps the ink inside it.
  S.Clear();
  DrawTextWithBoldRange(S.B.Canvas(), &S.Normal, &S.Bold, false, 4, 6, "A long hint text that will not fit",
                        {0, 2, 60, 22});
  EXPECT_GT(S.Ink(0, 60), 0);
  EXPECT_EQ(S.Ink(60, 240), 0);
}

TEST_F(MemoOnScreen, HintOfSeveralLinesPaintsEachLineWithItsBoldPart) {
  Show();
  TDCHint Hint(nullptr);
  const AnsiString One = "~Find~ next", Two = "F3 or ~Ctrl+L~";
  const TSize Single = Hint.TextSize(One);
  EXPECT_EQ(Hint.Window()->Lines()->GetCount(), 0);
  const TSize Multi = Hint.TextSize(One + "\r\n" + Two);
  ASSERT_EQ(Hint.Window()->Lines()->GetCount(), 2);
  EXPECT_EQ(Hint.Window()->Lines()->GetStrings(1), Two);
  EXPECT_GE(Multi.cy, 2 * Single.cy - 2) << "two lines tall";
  const Integer Widest = std::max(Hint.Window()->MarkedTextSize(One).cx, Hint.Window()->MarkedTextSize(Two).cx);
  EXPECT_EQ(Multi.cx, Widest + 8 + 8);
  Hint.SetAutoHide(false);
  Hint.ShowAt({100, 100}, One + "\r\n" + Two);
  HeadlessDisplay().ProcessMessages();
  ASSERT_TRUE(Hint.GetVisible());
  TRect R{};
  GetWindowRect(Hint.Window()->Handle(), &R);
  EXPECT_GE(R.Height(), Multi.cy);
  // Ink in both line bands.
  const Integer H0 = Hint.Window()->LineHeights()[0];
  auto InkIn = [&](Integer Top, Integer Bottom) {
    const COLORREF Back = ColorToRGB(Hint.Window()->GetColor());
    for (Integer Y = R.Top + Top; Y < R.Top + Bottom; ++Y)
      for (Integer X = R.Left + 3; X < R.Right - 3; ++X)
        if (HeadlessDisplay().ScreenPixel(X, Y) != Back) return true;
    return false;
  };
  EXPECT_TRUE(InkIn(2, 1 + H0));
  EXPECT_TRUE(InkIn(2 + H0, R.Height() - 2));
  // The frame is a raised edge: light at the top and left, dark at the
  // bottom and right.
  EXPECT_EQ(HeadlessDisplay().ScreenPixel(R.Left + R.Width() / 2, R.Top), ColorToRGB(cl3DLight));
  EXPECT_EQ(HeadlessDisplay().ScreenPixel(R.Left, R.Top + R.Height() / 2), ColorToRGB(cl3DLight));
  EXPECT_EQ(HeadlessDisplay().ScreenPixel(R.Left + R.Width() / 2, R.Bottom - 1), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(HeadlessDisplay().ScreenPixel(R.Right - 1, R.Top + R.Height() / 2), ColorToRGB(cl3DDkShadow));
  const TRect Area = R;
  fs::create_directories(SX_BUILD_SHOTS);
  HeadlessDisplay().SaveScreenshot(std::string(SX_BUILD_SHOTS) + "/hint_lines.png", &Area);
  // A larger bold font reaches the window and widens the marked part.
  const Integer Before = Hint.TextSize(One).cx;
  Hint.GetBoldFont()->SetSize(Hint.GetBoldFont()->GetSize() + 6);
  EXPECT_EQ(Hint.Window()->BoldFont()->GetSize(), Hint.GetBoldFont()->GetSize());
  EXPECT_GT(Hint.TextSize(One).cx, Before);
  EXPECT_EQ(Hint.TextSize("no marks").cx, Hint.Window()->MarkedTextSize("no marks").cx + 8);
  Hint.HideHint();
}

TEST_F(MemoOnScreen, ThumbAtTheBottomShowsTheEndOfTextRow) {
  struct TRecorder : TObject {
    std::vector<AnsiString> Rows;
    void Custom(TObject*, AnsiString& S, AnsiString&) { Rows.push_back(S); }
  } R;
  AnsiString Text;
  for (Integer I = 0; I < 60; ++I) Text += "line " + IntToStr(I) + "\r\n";
  Text += "last";
  Memo->SetText(Text);
  Memo->SetScrollBars(ssVertical);
  Memo->OnCustomString = TCustomStringEvent(&R, &TRecorder::Custom);
  Show();
  for (const bool Special : {false, true}) {
    SCOPED_TRACE(Special ? "end of text marked" : "no marks");
    Memo->SetOptions(Special ? TMemoOptions{moDrawSpecialSymbols} : TMemoOptions{});
    Memo->GetSpecialSymbols()->SetEOLString("");
    Memo->GetSpecialSymbols()->SetEOFString("<EOF>");
    SCROLLINFO Si{};
    Si.cbSize = sizeof(Si);
    Si.fMask = SIF_ALL;
    GetScrollInfo(Memo->Handle(), SB_VERT, &Si);
    // The thumb pulled to the bottom of its track.
    Memo->SetTopLine(Si.nMax - Integer(Si.nPage) + 1);
    R.Rows.clear();
    Memo->Invalidate();
    HeadlessDisplay().ProcessMessages();
    ASSERT_FALSE(R.Rows.empty());
    // The rows wholly inside the client area.
    const Integer Whole = Memo->ClientHeight() / Memo->LineHeight();
    ASSERT_GE(Integer(R.Rows.size()), Whole);
    const AnsiString LastWhole = R.Rows[size_t(Whole - 1)];
    EXPECT_EQ(LastWhole, Special ? "<EOF>" : "last");
  }
}

TEST_F(MemoOnScreen, FewColourDevicesGetTheSameTextOverFilledCells) {
  Memo->SetText("plain words\r\nselected part here\r\nmore");
  Memo->GetFont()->SetColor(clBlack);
  Memo->SetColor(clWhite);
  Show();
  Memo->GetSource()->SetSelection(stStreamSel, 0, 1, 8, 1);
  auto Render = [&](TPixelFormat Format) {
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(Format);
    B->SetSize(Memo->GetWidth(), Memo->GetHeight());
    // Red shows wherever painting left the cell alone.
    B->Canvas()->Brush()->SetColor(clRed);
    B->Canvas()->FillRect({0, 0, Memo->GetWidth(), Memo->GetHeight()});
    Memo->PaintTo(B->Canvas()->GetHandle(), 0, 0);
    return B;
  };
  auto Deep = Render(pf32bit);
  auto Few = Render(pf8bit);
  const Integer Left = Memo->TextLeftEdge(), Lh = Memo->LineHeight();
  Integer Ink = 0;
  for (Integer Y = 0; Y < 3 * Lh; ++Y)
    for (Integer X = Left; X < Memo->ClientWidth(); ++X) {
      const TColor Want = Deep->Canvas()->GetPixel(X, Y), Got = Few->Canvas()->GetPixel(X, Y);
      ASSERT_NE(Got, clRed) << X << "," << Y;
      ASSERT_NE(Want, clRed) << X << "," << Y;
      if (Want == clBlack || Want == clWhite) {
        EXPECT_EQ(Got, Want) << X << "," << Y;
      }
      Ink += Got == clBlack;
    }
  EXPECT_GT(Ink, 0);
  EXPECT_TRUE(Few->Canvas()->GetPixel(Memo->TextToPoint(1, 1).X, Memo->TextToPoint(1, 1).Y + 1) != clWhite)
      << "the selection's cells are filled in its colour";
}


// The main window's editors take the shared options last; the source
// settings their description holds must survive that, and a click past the
// end of an empty line must not leave blanks to be typed into.
TEST_F(MemoOnScreen, DescribedSourceSettingsOutliveTheSharedOptions) {
  AnsiString Text = sxtest::ReadFile(SX_SOURCE_DIR "/tests/fixtures/editor/InputEditor.dfm");
  const auto End = Text.rfind("end");
  ASSERT_NE(End, AnsiString::npos);
  Text.insert(End, "  UseGlobalOptions = True\n");
  TextToComponent(Text, Memo);
  ASSERT_TRUE(Memo->GetUseGlobalOptions());
  EXPECT_TRUE(Src()->HasOption(soLimitEOL));
  EXPECT_EQ(Src()->GetBlockIndent(), 4);
  EXPECT_EQ(Src()->GetTabStops(), "9,17");

  Memo->SetText("abc\r\n\r\nxyz");
  Show();
  auto& D = HeadlessDisplay();
  const TPoint A = CellLeft(16, 1);
  D.MouseDown(A.X, A.Y);
  D.MouseUp(A.X, A.Y);
  D.ProcessMessages();
  EXPECT_EQ(Src()->GetCaretPoint(), (TPoint{0, 1}));
  Type("q");
  EXPECT_EQ(Src()->GetLineText(1), "q");
  Chord({}, VK_HOME);
  EXPECT_EQ(Src()->GetCaretPoint(), (TPoint{0, 1}));

  // A later change of the shared options reaches the source as before.
  TMemoSourceOptions* G = GetGlobalOptions<TMemoSourceOptions>();
  const TStringsOptions Saved = G->GetOptions();
  TStringsOptions Beyond = Saved;
  Beyond.Exclude(soLimitEOL);
  Beyond.Include(soCreateBackups);
  G->SetOptions(Beyond);
  EXPECT_TRUE(Src()->HasOption(soCreateBackups));
  EXPECT_FALSE(Src()->HasOption(soLimitEOL));
  G->SetOptions(Saved);
}


// On the monospaced grid, imported text keeps its own fonts: every row must
// be as tall as the tallest of them, or the sample's large heading loses its
// top. The cells keep the editor's width.
TEST_F(MemoOnScreen, GridRowsHoldTheTallestImportedFont) {
  LoadInputEditor();
  Show();
  const Integer PlainHeight = Memo->LineHeight(), PlainWidth = Memo->CharWidth();
  Memo->ImportFromFile(SX_SOURCE_DIR "/data/sample.rtf");
  HeadlessDisplay().ProcessMessages();
  ASSERT_TRUE(Memo->GetUseMonoFont());
  const Integer GridHeight = Memo->LineHeight();
  SaveShot("sample_on_grid.png");
  EXPECT_EQ(Memo->CharWidth(), PlainWidth);
  EXPECT_EQ(Memo->TextToPoint(0, 1).Y - Memo->TextToPoint(0, 0).Y, GridHeight);
  // Measured, the heading's row is as tall as its font needs.
  Memo->SetUseMonoFont(false);
  HeadlessDisplay().ProcessMessages();
  const Integer HeadingRow = Memo->TextToPoint(0, 1).Y - Memo->TextToPoint(0, 0).Y;
  EXPECT_GT(HeadingRow, PlainHeight);
  EXPECT_GE(GridHeight, HeadingRow);
  // The heading's top stands inside its row: its colour shows in the upper
  // part of the first row.
  Memo->SetUseMonoFont(true);
  HeadlessDisplay().ProcessMessages();
  const Integer Left = Memo->TextToPoint(0, 0).X;
  EXPECT_TRUE(AnyPixel({Left, 0, Left + 120, GridHeight / 3}, TColor(RGB(0, 96, 160))));
}
