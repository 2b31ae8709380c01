// The text API on memory DCs: font handles, metrics through the DC, extents,
// GetFontData, enumeration, ExtTextOut pixels and DrawText layouts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"

namespace {

LOGFONTW Font(const char16_t* Face, LONG Height, LONG Weight = FW_NORMAL) {
  LOGFONTW Lf;
  Lf.lfHeight = Height;
  Lf.lfWeight = Weight;
  for (int I = 0; Face[I]; ++I) Lf.lfFaceName[I] = Face[I];
  return Lf;
}

// A white 32-bit canvas with a font selected.
class TCanvasDC {
public:
  TCanvasDC(int W, int H, const LOGFONTW& Lf) : FW(W), FH(H) {
    FDc = CreateCompatibleDC(nullptr);
    HDC Screen = CreateCompatibleDC(nullptr);
    FBm = CreateBitmap(W, H, 1, 32, nullptr);
    DeleteDC(Screen);
    SelectObject(FDc, FBm);
    HBRUSH White = CreateSolidBrush(RGB(255, 255, 255));
    TRect All{0, 0, W, H};
    FillRect(FDc, &All, White);
    DeleteObject(White);
    FFont = CreateFontIndirectW(&Lf);
    SelectObject(FDc, FFont);
    SetBkMode(FDc, TRANSPARENT);
    SetTextColor(FDc, RGB(0, 0, 0));
  }
  ~TCanvasDC() {
    DeleteDC(FDc);
    DeleteObject(FBm);
    DeleteObject(FFont);
  }
  HDC Dc() const { return FDc; }
  // Bounding box of the pixels that are no longer white.
  TRect Inked() const {
    TRect R{FW, FH, 0, 0};
    for (int Y = 0; Y < FH; ++Y)
      for (int X = 0; X < FW; ++X)
        if (GetPixel(FDc, X, Y) != RGB(255, 255, 255)) {
          R.Left = std::min(R.Left, X);
          R.Top = std::min(R.Top, Y);
          R.Right = std::max(R.Right, X + 1);
          R.Bottom = std::max(R.Bottom, Y + 1);
        }
    return R.IsEmpty() ? TRect{} : R;
  }
  int InkedIn(const TRect& Box) const {
    int N = 0;
    for (int Y = Box.Top; Y < Box.Bottom; ++Y)
      for (int X = Box.Left; X < Box.Right; ++X) N += GetPixel(FDc, X, Y) != RGB(255, 255, 255);
    return N;
  }

private:
  int FW, FH;
  HDC FDc;
  HBITMAP FBm;
  HFONT FFont;
};

int Width(HDC Dc, const std::u16string& S) {
  TSize Sz;
  GetTextExtentPoint32W(Dc, S.c_str(), int(S.size()), &Sz);
  return Sz.cx;
}

}  // namespace

TEST(CreateFontIndirect, EqualDescriptionsShareOneHandleUntilTheLastDelete) {
  const LOGFONTW A = Font(u"Arial", -13);
  LOGFONTW B = A;
  B.lfWeight = FW_BOLD;
  HFONT H1 = CreateFontIndirectW(&A);
  HFONT H2 = CreateFontIndirectW(&A);
  HFONT H3 = CreateFontIndirectW(&B);
  ASSERT_NE(H1, nullptr);
  EXPECT_EQ(H1, H2);
  EXPECT_NE(H1, H3);
  LOGFONTA Narrow;
  std::strcpy(Narrow.lfFaceName, "Arial");
  Narrow.lfHeight = -13;
  Narrow.lfWeight = FW_NORMAL;
  EXPECT_EQ(CreateFontIndirectA(&Narrow), H1);  // the ANSI form is the same description
  EXPECT_TRUE(DeleteObject(H1));
  EXPECT_TRUE(DeleteObject(H1));
  EXPECT_EQ(GetObjectType(H1), DWORD(OBJ_FONT));  // one creator still holds it
  LOGFONTW Back;
  EXPECT_EQ(GetObjectW(H1, sizeof(Back), &Back), int(sizeof(LOGFONTW)));
  EXPECT_EQ(std::u16string(Back.lfFaceName), u"Arial");
  EXPECT_TRUE(DeleteObject(H1));
  EXPECT_EQ(GetObjectType(H1), 0u);
  EXPECT_FALSE(DeleteObject(H1));
  EXPECT_TRUE(DeleteObject(H3));
  // A new handle comes after the last one went.
  HFONT H4 = CreateFontIndirectW(&A);
  EXPECT_EQ(GetObjectType(H4), DWORD(OBJ_FONT));
  DeleteObject(H4);
}

TEST(GetTextMetrics, FollowsTheMapMode) {
  TCanvasDC C(10, 10, Font(u"Times New Roman", -16));
  TEXTMETRICW Pixels;
  ASSERT_TRUE(GetTextMetricsW(C.Dc(), &Pixels));
  EXPECT_EQ(Pixels.tmHeight - Pixels.tmInternalLeading, 16);
  // In twips a 16-unit font is tiny on the device; 240 twips are 16 pixels.
  SetMapMode(C.Dc(), MM_TWIPS);
  const LOGFONTW TwipsLf = Font(u"Times New Roman", -240);
  HFONT Twips = CreateFontIndirectW(&TwipsLf);
  HGDIOBJ Old = SelectObject(C.Dc(), Twips);
  TEXTMETRICW Tw;
  ASSERT_TRUE(GetTextMetricsW(C.Dc(), &Tw));
  EXPECT_NEAR(Tw.tmHeight, Pixels.tmHeight * 15, 15);
  EXPECT_NEAR(Tw.tmAveCharWidth, Pixels.tmAveCharWidth * 15, 15);
  SelectObject(C.Dc(), Old);
  DeleteObject(Twips);
  TEXTMETRICA Narrow;
  SetMapMode(C.Dc(), MM_TEXT);
  ASSERT_TRUE(GetTextMetricsA(C.Dc(), &Narrow));
  EXPECT_EQ(Narrow.tmHeight, Pixels.tmHeight);
  EXPECT_EQ(Narrow.tmLastChar, 255);
  EXPECT_EQ(Narrow.tmBreakChar, ' ');
}

TEST(GetTextExtent, IsTheSumOfTheCharacterWidths) {
  TCanvasDC C(10, 10, Font(u"Arial", -15));
  const std::u16string Texts[] = {u"Hello, world", u"WWWiii...", u"x", u""};
  for (const auto& S : Texts) {
    SCOPED_TRACE(std::string(S.begin(), S.end()));
    int Sum = 0;
    for (char16_t Ch : S) {
      int W = 0;
      ASSERT_TRUE(GetCharWidth32W(C.Dc(), Ch, Ch, &W));
      Sum += W;
    }
    EXPECT_EQ(Width(C.Dc(), S), Sum);
  }
  // The ex form reports each prefix's extent and how many characters fit.
  const std::u16string S = u"abcdef";
  std::vector<int> Dx(S.size());
  int Fit = -1;
  TSize Sz;
  ASSERT_TRUE(GetTextExtentExPointW(C.Dc(), S.c_str(), int(S.size()), Width(C.Dc(), u"abc"), &Fit, Dx.data(), &Sz));
  EXPECT_EQ(Fit, 3);
  EXPECT_EQ(Dx[2], Width(C.Dc(), u"abc"));
  EXPECT_EQ(Dx.back(), Sz.cx);
  // Character extra and justification widen the measure.
  SetTextCharacterExtra(C.Dc(), 2);
  EXPECT_EQ(Width(C.Dc(), S), Sz.cx + 12);
  SetTextCharacterExtra(C.Dc(), 0);
  const int Plain = Width(C.Dc(), u"a b c");
  SetTextJustification(C.Dc(), 7, 2);
  EXPECT_EQ(Width(C.Dc(), u"a b c"), Plain + 7);
  SetTextJustification(C.Dc(), 0, 0);
}

TEST(GetFontData, ReturnsAnSfntWithItsTableDirectory) {
  TCanvasDC C(10, 10, Font(u"Courier New", -16));
  const DWORD Size = GetFontData(C.Dc(), 0, 0, nullptr, 0);
  ASSERT_NE(Size, GDI_FONTDATA_ERROR);
  std::vector<std::uint8_t> F(Size);
  ASSERT_EQ(GetFontData(C.Dc(), 0, 0, F.data(), Size), Size);
  ASSERT_GE(F.size(), 12u);
  EXPECT_EQ(F[0] << 24 | F[1] << 16 | F[2] << 8 | F[3], 0x00010000);
  const int N = F[4] << 8 | F[5];
  std::vector<std::string> Tags;
  for (int I = 0; I < N; ++I) Tags.emplace_back(reinterpret_cast<const char*>(&F[12 + 16 * I]), 4);
  EXPECT_TRUE(std::is_sorted(Tags.begin(), Tags.end()));
  EXPECT_NE(std::find(Tags.begin(), Tags.end(), "glyf"), Tags.end());
  EXPECT_FALSE(GdiFontIsCFF(C.Dc()));
}

TEST(GetOutlineTextMetrics, PacksTheNamesAfterTheRecord) {
  TCanvasDC C(10, 10, Font(u"Arial", -16, FW_BOLD));
  const UINT Size = GetOutlineTextMetricsA(C.Dc(), 0, nullptr);
  ASSERT_GT(Size, sizeof(OUTLINETEXTMETRICA));
  std::vector<char> Buf(Size);
  auto* O = reinterpret_cast<OUTLINETEXTMETRICA*>(Buf.data());
  ASSERT_EQ(GetOutlineTextMetricsA(C.Dc(), Size, O), Size);
  EXPECT_EQ(O->otmSize, Size);
  EXPECT_STREQ(Buf.data() + reinterpret_cast<std::uintptr_t>(O->otmpFaceName), "Arial");
  EXPECT_STREQ(Buf.data() + reinterpret_cast<std::uintptr_t>(O->otmpFamilyName), "Liberation Sans");
  EXPECT_STREQ(Buf.data() + reinterpret_cast<std::uintptr_t>(O->otmpStyleName), "Bold");
  EXPECT_EQ(O->otmEMSquare, 2048u);
  EXPECT_EQ(O->otmTextMetrics.tmWeight, FW_BOLD);
  EXPECT_GT(O->otmsUnderscoreSize, 0);
  EXPECT_LE(O->otmsUnderscorePosition, 0);  // the post table's value: at or below the baseline
  EXPECT_GT(O->otmsStrikeoutPosition, 0);
  // Not for fonts without outlines of their own.
  TCanvasDC M(10, 10, Font(u"Marlett", -13));
  EXPECT_EQ(GetOutlineTextMetricsA(M.Dc(), 0, nullptr), 0u);
}

namespace {
int CollectFaces(const LOGFONTA* Lf, const TEXTMETRICA*, DWORD Type, LPARAM P) {
  auto* Out = reinterpret_cast<std::vector<std::pair<std::string, int>>*>(P);
  Out->emplace_back(Lf->lfFaceName, Lf->lfCharSet | (Type & TRUETYPE_FONTTYPE ? 0x100 : 0));
  return 1;
}
int StopAtSymbol(const LOGFONTA* Lf, const TEXTMETRICA*, DWORD, LPARAM) { return Lf->lfCharSet == SYMBOL_CHARSET ? 0 : 1; }
}  // namespace

TEST(EnumFontFamiliesEx, ListsFacesWithTheirCharsets) {
  TCanvasDC C(1, 1, Font(u"Arial", -13));
  std::vector<std::pair<std::string, int>> All;
  LOGFONTA Any;
  Any.lfCharSet = DEFAULT_CHARSET;
  EXPECT_EQ(EnumFontFamiliesExA(C.Dc(), &Any, CollectFaces, LPARAM(&All), 0), 1);
  auto Has = [&](const char* Name, int Value) {
    return std::find(All.begin(), All.end(), std::make_pair(std::string(Name), Value)) != All.end();
  };
  EXPECT_TRUE(Has("Arial", 0x100 | ANSI_CHARSET));
  EXPECT_TRUE(Has("Arial", 0x100 | RUSSIAN_CHARSET));
  EXPECT_TRUE(Has("Liberation Serif", 0x100 | ANSI_CHARSET));
  EXPECT_TRUE(Has("Symbol", SYMBOL_CHARSET));
  // A named face, stopped by the callback: the result is the callback's 0.
  LOGFONTA Sym;
  Sym.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(Sym.lfFaceName, "Symbol");
  EXPECT_EQ(EnumFontFamiliesExA(C.Dc(), &Sym, StopAtSymbol, 0, 0), 0);
  std::strcpy(Sym.lfFaceName, "Arial");
  EXPECT_EQ(EnumFontFamiliesExA(C.Dc(), &Sym, StopAtSymbol, 0, 0), 1);
}

TEST(ExtTextOut, InkStaysInTheTextCellAndFollowsDx) {
  TCanvasDC C(200, 60, Font(u"Arial", -20));
  TEXTMETRICW Tm;
  GetTextMetricsW(C.Dc(), &Tm);
  ASSERT_TRUE(TextOutW(C.Dc(), 10, 10, u"Hxg", 3));
  const TRect Ink = C.Inked();
  const int W = Width(C.Dc(), u"Hxg");
  EXPECT_GE(Ink.Left, 10);
  EXPECT_LE(Ink.Right, 10 + W + 1);
  EXPECT_GE(Ink.Top, 10);
  EXPECT_LE(Ink.Bottom, 10 + Tm.tmHeight);
  EXPECT_GT(Ink.Width(), W / 2);

  // Dx advances: the second 'l' is drawn 60 pixels after the first.
  TCanvasDC D(200, 60, Font(u"Arial", -20));
  const int Dx[2] = {60, 0};
  ASSERT_TRUE(ExtTextOutW(D.Dc(), 10, 10, 0, nullptr, u"ll", 2, Dx));
  EXPECT_GT(D.InkedIn({10, 0, 30, 60}), 0);
  EXPECT_EQ(D.InkedIn({30, 0, 70, 60}), 0);
  EXPECT_GT(D.InkedIn({70, 0, 90, 60}), 0);
}

TEST(ExtTextOut, AlignmentMovesTheReferencePoint) {
  struct TCase { UINT Align; const char* Why; };
  const TCase Cases[] = {{TA_LEFT | TA_TOP, "left top"}, {TA_RIGHT | TA_TOP, "right"}, {TA_CENTER | TA_BASELINE, "centre baseline"},
                         {TA_LEFT | TA_BOTTOM, "bottom"}};
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.Why);
    TCanvasDC C(300, 100, Font(u"Arial", -20));
    TEXTMETRICW Tm;
    GetTextMetricsW(C.Dc(), &Tm);
    SetTextAlign(C.Dc(), K.Align);
    TextOutW(C.Dc(), 150, 50, u"HHHH", 4);
    const TRect Ink = C.Inked();
    const int W = Width(C.Dc(), u"HHHH");
    const int Left = (K.Align & TA_CENTER) == TA_CENTER ? 150 - W / 2 : (K.Align & TA_RIGHT) ? 150 - W : 150;
    const int Baseline = (K.Align & TA_BASELINE) == TA_BASELINE ? 50 : (K.Align & TA_BOTTOM) ? 50 - Tm.tmDescent : 50 + Tm.tmAscent;
    EXPECT_NEAR(Ink.Left, Left, 3);
    EXPECT_NEAR(Ink.Bottom, Baseline, 1);  // 'H' sits on the baseline
  }
}

TEST(ExtTextOut, ClipAndOpaqueStayInsideTheirRectangles) {
  TCanvasDC C(200, 60, Font(u"Arial", -30));
  TRect Clip{10, 0, 30, 60};
  ExtTextOutW(C.Dc(), 5, 5, ETO_CLIPPED, &Clip, u"MMMM", 4, nullptr);
  EXPECT_GT(C.InkedIn(Clip), 0);
  EXPECT_EQ(C.Inked().Left >= 10 && C.Inked().Right <= 30, true);
  // The DC's clip region holds as well.
  TCanvasDC D(200, 60, Font(u"Arial", -30));
  IntersectClipRect(D.Dc(), 0, 0, 20, 60);
  TextOutW(D.Dc(), 5, 5, u"MMMM", 4);
  SelectClipRgn(D.Dc(), nullptr);  // GetPixel answers CLR_INVALID outside the clip
  EXPECT_GT(D.Inked().Right, 5);
  EXPECT_LE(D.Inked().Right, 20);
  // ETO_OPAQUE fills its rectangle in the background colour.
  TCanvasDC E(50, 50, Font(u"Arial", -12));
  SetBkColor(E.Dc(), RGB(0, 0, 255));
  TRect Box{5, 5, 25, 15};
  ExtTextOutW(E.Dc(), 0, 0, ETO_OPAQUE, &Box, u"", 0, nullptr);
  EXPECT_EQ(GetPixel(E.Dc(), 5, 5), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(E.Dc(), 24, 14), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(E.Dc(), 25, 14), RGB(255, 255, 255));
}

TEST(ExtTextOut, UnderlineSpansTheText) {
  LOGFONTW Lf = Font(u"Arial", -20);
  Lf.lfUnderline = 1;
  TCanvasDC C(200, 60, Lf);
  TEXTMETRICW Tm;
  GetTextMetricsW(C.Dc(), &Tm);
  TextOutW(C.Dc(), 10, 10, u"a a", 3);
  // Under the blank between the letters only the underline is inked.
  const int Mid = 10 + Width(C.Dc(), u"a ") - 2;
  EXPECT_EQ(C.InkedIn({Mid, 10, Mid + 1, 10 + Tm.tmAscent}), 0);
  EXPECT_GT(C.InkedIn({Mid, 10 + Tm.tmAscent, Mid + 1, 10 + Tm.tmHeight}), 0);
}

struct TDrawCase {
  const char16_t* Text;
  UINT Format;
  int Width;      // rectangle width
  int Lines;      // expected lines (height / line height)
  const char16_t* Shown;  // with DT_MODIFYSTRING: the text after the call
  const char* Why;
};

TEST(DrawText, CalcRectLayouts) {
  TCanvasDC C(400, 200, Font(u"Arial", -13));
  TEXTMETRICW Tm;
  GetTextMetricsW(C.Dc(), &Tm);
  const int Word = Width(C.Dc(), u"word ");
  const TDrawCase Cases[] = {
      {u"one line", DT_SINGLELINE, 300, 1, nullptr, "single line"},
      {u"a\r\nb\nc", 0, 300, 3, nullptr, "explicit breaks"},
      {u"word word word word", DT_WORDBREAK, Word * 2 + 2, 2, nullptr, "two words a line"},
      {u"word word word word", 0, Word * 2 + 2, 1, nullptr, "no word break"},
      {u"wordwordwordword", DT_WORDBREAK, Word, 1, nullptr, "a long word stays whole"},
      {u"wordwordwordword", DT_WORDBREAK | DT_EDITCONTROL, Word, 4, nullptr, "edit control cuts words"},
      {u"", DT_WORDBREAK, 100, 0, nullptr, "empty text"},
  };
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.Why);
    std::u16string S = K.Text;
    TRect R{10, 20, 10 + K.Width, 20};
    const int H = DrawTextW(C.Dc(), S.data(), -1, &R, K.Format | DT_CALCRECT);
    EXPECT_EQ(H, K.Lines * Tm.tmHeight);
    EXPECT_EQ(R.Top, 20);
    EXPECT_EQ(R.Bottom, 20 + H);
    EXPECT_EQ(R.Left, 10);
  }
  // Single-line calc-rect is exactly the text's extent.
  std::u16string S = u"Measure me";
  TRect R{0, 0, 1, 0};
  DrawTextW(C.Dc(), S.data(), -1, &R, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(R.Right, Width(C.Dc(), S));
}

TEST(DrawText, PrefixMarksAndEllipses) {
  TCanvasDC C(400, 200, Font(u"Arial", -13));
  struct TCase { const char16_t* Text; UINT Format; const char16_t* Measured; const char* Why; };
  const TCase Cases[] = {
      {u"&File", 0, u"File", "prefix mark is not shown"},
      {u"A && B", 0, u"A & B", "doubled mark is an ampersand"},
      {u"&File", DT_NOPREFIX, u"&File", "no prefix processing"},
      {u"&File", DT_HIDEPREFIX, u"File", "hidden prefix still removed"},
  };
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.Why);
    std::u16string S = K.Text;
    TRect R{0, 0, 1000, 0};
    DrawTextW(C.Dc(), S.data(), -1, &R, K.Format | DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(R.Right, Width(C.Dc(), K.Measured));
  }
  // End and path ellipses shorten the text to the box and write it back.
  struct TEll { const char16_t* Text; UINT Format; const char16_t* StartsWith; const char16_t* EndsWith; };
  const TEll Ells[] = {
      {u"A rather long caption text", DT_END_ELLIPSIS, u"A rather", u"..."},
      {u"C:\\Program Files\\Some Folder\\file.txt", DT_PATH_ELLIPSIS, u"C:\\", u"...\\file.txt"},
      {u"/usr/share/fonts/truetype/file.ttf", DT_PATH_ELLIPSIS, u"/usr", u".../file.ttf"},
  };
  for (const auto& K : Ells) {
    std::u16string S = K.Text;
    S.resize(S.size() + 4, 0);
    const int Box = Width(C.Dc(), K.Text) * 2 / 3;
    TRect R{0, 0, Box, 20};
    DrawTextW(C.Dc(), S.data(), int(std::u16string(K.Text).size()), &R,
              K.Format | DT_SINGLELINE | DT_MODIFYSTRING | DT_NOPREFIX | DT_CALCRECT);
    const std::u16string Out(S.c_str());
    SCOPED_TRACE(std::string(Out.begin(), Out.end()));
    EXPECT_EQ(Out.rfind(K.StartsWith, 0), 0u);
    EXPECT_EQ(Out.substr(Out.size() - std::u16string(K.EndsWith).size()), K.EndsWith);
    EXPECT_LE(Width(C.Dc(), Out), Box);
  }
}

TEST(DrawText, AnsiModifyStringWritesTheShortenedTextBack) {
  TCanvasDC C(400, 200, Font(u"Arial", -13));
  // A long path: the bytes written back are the shortened text in the
  // font's code page, whatever its length.
  std::string Path = "C:\\Data";
  for (int I = 0; I < 40; ++I) Path += "\\Folder\xe9" + std::to_string(I);
  Path += "\\report.rtf";
  std::vector<char> Buf(Path.begin(), Path.end());
  Buf.resize(Path.size() + 4, 0);
  TRect R{0, 0, 300, 20};
  DrawTextA(C.Dc(), Buf.data(), int(Path.size()), &R,
            DT_PATH_ELLIPSIS | DT_SINGLELINE | DT_MODIFYSTRING | DT_NOPREFIX | DT_CALCRECT);
  const std::string Out(Buf.data());
  EXPECT_LT(Out.size(), Path.size());
  EXPECT_EQ(Out.rfind("C:\\Data", 0), 0u);
  EXPECT_EQ(Out.substr(Out.size() - 14), "...\\report.rtf");
  EXPECT_NE(Out.find('\xe9'), std::string::npos) << "accented bytes survive the round trip";
}

TEST(DrawText, DrawsAlignedInsideTheRectangle) {
  TCanvasDC C(300, 100, Font(u"Arial", -13));
  std::u16string S = u"Right";
  TRect R{20, 10, 280, 90};
  const int H = DrawTextW(C.Dc(), S.data(), -1, &R, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
  TEXTMETRICW Tm;
  GetTextMetricsW(C.Dc(), &Tm);
  EXPECT_EQ(H, (80 - Tm.tmHeight) / 2 + Tm.tmHeight);
  const TRect Ink = C.Inked();
  EXPECT_LE(Ink.Right, 280);
  EXPECT_GE(Ink.Left, 280 - Width(C.Dc(), S) - 1);
  EXPECT_GE(Ink.Top, 10 + (80 - Tm.tmHeight) / 2);
  // The prefix underline is drawn under its letter.
  TCanvasDC U(300, 100, Font(u"Arial", -13));
  std::u16string P = u"&_";  // the underlined character is itself a low line
  TRect Q{0, 0, 300, 100};
  DrawTextW(U.Dc(), P.data(), -1, &Q, DT_SINGLELINE | DT_PREFIXONLY);
  EXPECT_GT(U.InkedIn({0, Tm.tmAscent + 1, Width(U.Dc(), u"_"), Tm.tmAscent + 2}), 0);
}

TEST(TabbedText, StopsEveryEightAverageCharacters) {
  TCanvasDC C(10, 10, Font(u"Courier New", -13));
  TEXTMETRICW Tm;
  GetTextMetricsW(C.Dc(), &Tm);
  const DWORD E = GetTabbedTextExtentA(C.Dc(), "a\tb", 3, 0, nullptr);
  EXPECT_EQ(int(E & 0xFFFF), 8 * Tm.tmAveCharWidth + Tm.tmAveCharWidth);
  EXPECT_EQ(int(E >> 16), Tm.tmHeight);
  const int Stops[1] = {100};
  EXPECT_EQ(int(GetTabbedTextExtentA(C.Dc(), "a\tb", 3, 1, Stops) & 0xFFFF), 100 + Tm.tmAveCharWidth);
}

TEST(DrawText, ExpandTabsStopsEveryEightAverageCharacters) {
  TCanvasDC C(400, 60, Font(u"Courier New", -13));
  TEXTMETRICW Tm;
  GetTextMetricsW(C.Dc(), &Tm);
  struct TCase { const char16_t* Text; int Want; const char* Why; };
  const TCase Cases[] = {
      {u"a\tb", 9 * Tm.tmAveCharWidth, "the tab reaches the first stop"},
      {u"\tb", 9 * Tm.tmAveCharWidth, "a leading tab too"},
      {u"abcdefghi\tb", 17 * Tm.tmAveCharWidth, "text past the first stop tabs to the second"},
      {u"a\t\tb", 17 * Tm.tmAveCharWidth, "two tabs, two stops"},
  };
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.Why);
    std::u16string S = K.Text;
    TRect R{5, 0, 6, 0};
    DrawTextW(C.Dc(), S.data(), -1, &R, DT_EXPANDTABS | DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(R.Right - R.Left, K.Want);
  }
  // Drawn, the character after the tab starts at the stop, counted from the
  // rectangle's left edge.
  std::u16string S = u"\t|";
  TRect R{20, 10, 400, 60};
  DrawTextW(C.Dc(), S.data(), -1, &R, DT_EXPANDTABS | DT_SINGLELINE | DT_NOPREFIX);
  const TRect Ink = C.Inked();
  EXPECT_GE(Ink.Left, 20 + 8 * Tm.tmAveCharWidth);
  EXPECT_LT(Ink.Right, 20 + 9 * Tm.tmAveCharWidth + 1);
}

TEST(DrawText, SingleLineBottomSitsOnTheRectanglesBottom) {
  TCanvasDC C(300, 100, Font(u"Arial", -13));
  TEXTMETRICW Tm;
  GetTextMetricsW(C.Dc(), &Tm);
  std::u16string S = u"Bottom";
  TRect R{20, 10, 280, 90};
  const int H = DrawTextW(C.Dc(), S.data(), -1, &R, DT_SINGLELINE | DT_BOTTOM);
  EXPECT_EQ(H, 80);  // from the rectangle's top to the line's bottom
  const TRect Ink = C.Inked();
  EXPECT_GE(Ink.Top, 90 - Tm.tmHeight);
  EXPECT_LE(Ink.Bottom, 90);
  // Without DT_SINGLELINE the flag is ignored: the text stays at the top.
  TCanvasDC T(300, 100, Font(u"Arial", -13));
  TRect Q{20, 10, 280, 90};
  DrawTextW(T.Dc(), S.data(), -1, &Q, DT_BOTTOM);
  EXPECT_LE(T.Inked().Bottom, 10 + Tm.tmHeight);
}

TEST(GetCharABCWidths, PartsAddUpToTheAdvanceWidth) {
  for (const char16_t* Face : {u"Times New Roman", u"Arial"}) {
    TCanvasDC C(10, 10, Font(Face, -16));
    ABC Abc[95];
    INT Widths[95];
    ASSERT_TRUE(GetCharABCWidthsW(C.Dc(), 32, 126, Abc));
    ASSERT_TRUE(GetCharWidth32W(C.Dc(), 32, 126, Widths));
    for (int I = 0; I < 95; ++I) {
      SCOPED_TRACE(char(32 + I));
      EXPECT_EQ(Abc[I].abcA + int(Abc[I].abcB) + Abc[I].abcC, Widths[I]);
      if (I > 0) {
        EXPECT_GT(int(Abc[I].abcB), 0) << "every printable glyph has ink";
      }
    }
    ABC A[2];
    ASSERT_TRUE(GetCharABCWidthsA(C.Dc(), 'A', 'B', A));
    EXPECT_EQ(A[0].abcA, Abc['A' - 32].abcA);
    EXPECT_EQ(A[1].abcB, Abc['B' - 32].abcB);
    EXPECT_FALSE(GetCharABCWidthsW(C.Dc(), 66, 65, A)) << "a reversed range";
    EXPECT_FALSE(GetCharABCWidthsW(nullptr, 65, 66, A));
  }
}
