// EM_FORMATRANGE through TRichFormatRange: measuring and drawing agree,
// progress on oversize content, the caller's clip and map mode, pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "Layout_TestSupport.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Emf.h"
#include "platform/gdi/DcObject.h"
#include "platform/gdi/EmfRecorder.h"
#include "platform/gdi/EmfRecords.h"
#include "platform/richedit/RtfReader.h"
#include "support/TestFiles.h"

using namespace richtest;

namespace {

// Formats and draws the whole document on Dc, which is its own target,
// within Page (twips).
LRESULT DrawWhole(HDC Dc, const TRichDocument& Doc, const RECT& Page) {
  FORMATRANGE R;
  R.hdc = R.hdcTarget = Dc;
  R.rc = R.rcPage = Page;
  R.chrg = {0, -1};
  TRichFormatRange Fr;
  return Fr.Format(Doc, u"Arial", true, &R);
}

TRichDocument MixedDocument() {
  TRichParaFormat Centered;
  Centered.Alignment = TRichAlignment::Center;
  TRichParaFormat Justified;
  Justified.Alignment = TRichAlignment::Justify;
  Justified.SpaceAfter = 120;
  TRichCharFormat Big = Mono(36);
  Big.Bold = true;
  TDocBuilder B;
  for (int I = 0; I < 30; ++I) {
    B.Para(u"Heading", Centered, Big);
    B.Para(u"Some words that wrap across the line more than once, with\ta tab and "
           u"more words until the paragraph ends.",
           Justified);
  }
  return B.Done();
}

// A packed 24-bit DIB of one colour.
TRichPicture SolidPicture(int W, int H, int GoalW, int GoalH) {
  TDib D = MakeDib(W, H, 24);
  for (std::size_t I = 0; I < D.Bits.size(); ++I) D.Bits[I] = 0x40;
  TRichPicture P;
  P.Kind = TRichPictureKind::Dib;
  P.Data = DibToPacked(D);
  P.Width = W;
  P.Height = H;
  P.GoalWidth = GoalW;
  P.GoalHeight = GoalH;
  return P;
}

}  // namespace

TEST(TRichFormatRange, MeasuringAndDrawingAgreeOnBreaksAndHeights) {
  const TRichDocument Doc = MixedDocument();
  const TRect Rect{375, 375, 9000, 12000};
  const TPaging Measured = PageThrough(Doc, Rect);
  TCanvas C(640, 840);
  const TPaging Drawn = PageThrough(Doc, Rect, C.Dc(), /*Render=*/true);
  EXPECT_GT(Measured.Starts.size(), 2u);
  EXPECT_EQ(Measured.Starts, Drawn.Starts);
  EXPECT_EQ(Measured.Bottoms, Drawn.Bottoms);
  // Everything drawn lies inside the text rectangle (25..600 x 25..800 px).
  const TRect Ink = C.Ink();
  EXPECT_GE(Ink.Left, 25);
  EXPECT_GE(Ink.Top, 25);
  EXPECT_LE(Ink.Right, 600);
  EXPECT_LE(Ink.Bottom, 800);
}

TEST(TRichFormatRange, AdvancesPastAPictureTallerThanThePage) {
  // Two inches of picture on a one-inch page: it is taken alone, drawn
  // clipped to the rectangle, and the next call starts after it.
  const TRichDocument Doc =
      TDocBuilder().Text(u"x").Picture(SolidPicture(8, 8, 1440, 2880)).Text(u"y").End().Para(u"after").Done();
  TRichFormatRange Fr;
  TCanvas C(200, 200);
  FORMATRANGE R;
  R.hdc = R.hdcTarget = C.Dc();
  R.rc = R.rcPage = {0, 0, 9000, 1440};
  R.chrg = {0, -1};
  const LRESULT First = Fr.Format(Doc, u"Arial", true, &R);
  EXPECT_EQ(First, 4);   // "x", the picture, "y" and the paragraph mark
  EXPECT_EQ(R.rc.Bottom, 1440);
  EXPECT_EQ(C.Ink().Bottom, 96);   // clipped to the inch
  R.rc = R.rcPage;
  R.chrg.cpMin = LONG(First);
  EXPECT_EQ(Fr.Format(Doc, u"Arial", false, &R), Doc.TextLength());
  // A zero-height rectangle still moves on by a line.
  R.rc = {0, 0, 9000, 0};
  R.chrg.cpMin = 0;
  EXPECT_GT(Fr.Format(Doc, u"Arial", false, &R), 0);
  EXPECT_EQ(Fr.Format(Doc, u"Arial", false, nullptr), 0);
  EXPECT_EQ(Fr.Layout(), nullptr);
}

TEST(TRichFormatRange, EmptyDocumentDrawsNothingAndAnswersZero) {
  const TRichDocument Doc;
  TRichFormatRange Fr;
  TCanvas C(100, 100);
  FORMATRANGE R;
  R.hdc = R.hdcTarget = C.Dc();
  R.rc = R.rcPage = {0, 0, 1440, 1440};
  R.chrg = {0, -1};
  EXPECT_EQ(Fr.Format(Doc, u"Arial", true, &R), 0);
  EXPECT_EQ(R.rc.Bottom, 0);
  EXPECT_EQ(C.Ink(), TRect{});
}

TEST(TRichFormatRange, HonoursTheCallersClip) {
  const TRichDocument Doc = MixedDocument();
  TCanvas C(640, 400);
  IntersectClipRect(C.Dc(), 0, 0, 640, 60);
  DrawWhole(C.Dc(), Doc, {0, 0, 9000, 5000});
  const TRect Ink = C.Ink();
  EXPECT_GT(Ink.Bottom, 30);
  EXPECT_LE(Ink.Bottom, 60);
}

TEST(TRichFormatRange, DrawsTheSamePixelsInEveryMapMode) {
  // Twips map to device pixels through LOGPIXELS whatever the logical
  // units: the map modes the export and print paths set leave the result
  // where MM_TEXT puts it.
  const TRichDocument Doc = TDocBuilder().Para(u"Scaled text").Para(u"second line").Done();
  auto Draw = [&](void (*Setup)(HDC), TRect Rc) {
    TCanvas C(400, 200);
    Setup(C.Dc());
    FORMATRANGE R;
    R.hdc = C.Dc();
    R.hdcTarget = nullptr;
    R.rc = R.rcPage = Rc;
    R.chrg = {0, -1};
    TRichFormatRange Fr;
    Fr.Format(Doc, u"Arial", true, &R);
    return C.Ink();
  };
  const TRect Plain = Draw([](HDC) {}, {300, 300, 5000, 3000});
  ASSERT_NE(Plain, TRect{});
  struct TCase {
    void (*Setup)(HDC);
    const char* Why;
  };
  const TCase Cases[] = {
      {[](HDC D) {
         SetMapMode(D, MM_ANISOTROPIC);
         SetWindowExtEx(D, 1440, 1440, nullptr);
         SetViewportExtEx(D, 96, 96, nullptr);
       },
       "anisotropic: logical twips"},
      {[](HDC D) {
         SetMapMode(D, MM_ANISOTROPIC);
         SetWindowExtEx(D, 2, 3, nullptr);
         SetViewportExtEx(D, 1, 1, nullptr);
       },
       "anisotropic with unequal axes"},
      {[](HDC D) { SetMapMode(D, MM_TWIPS); SetViewportOrgEx(D, 0, 0, nullptr); }, "y grows upwards"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const TRect Got = Draw(C.Setup, {300, 300, 5000, 3000});
    EXPECT_NEAR(Got.Left, Plain.Left, 1);
    EXPECT_NEAR(Got.Top, Plain.Top, 1);
    EXPECT_NEAR(Got.Right, Plain.Right, 2);
    EXPECT_NEAR(Got.Bottom, Plain.Bottom, 2);
  }
}

namespace {

// The EXTTEXTOUTW records of a metafile, in order.
std::vector<TEmrExtTextOut> TextRecords(HENHMETAFILE Mf, std::size_t* Count = nullptr) {
  std::vector<TEmrExtTextOut> Out;
  std::size_t N = 0;
  const auto Bytes = EmfBytes(Mf);
  EmfForEachRecord(*Bytes, [&](const TEmfRecord& R) {
    ++N;
    if (R.Type() == EMR_EXTTEXTOUTW) Out.push_back(TEmrExtTextOut::Read(R));
    return true;
  });
  if (Count) *Count = N;
  return Out;
}

}  // namespace

TEST(TRichFormatRange, RecordsOneExtTextOutWPerRunIntoAMetafile) {
  TRichCharFormat Bold = Mono();
  Bold.Bold = true;
  const TRichDocument Doc =
      TDocBuilder().Text(u"Hello world ").Text(u"Bold", Bold).End().Para(u"Second").Done();
  const TFontMetrics M = MetricsOf(Mono());
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  FORMATRANGE R;
  R.hdc = R.hdcTarget = Dc;
  R.rc = R.rcPage = {375, 375, 9000, 12000};
  R.chrg = {0, -1};
  TRichFormatRange Fr;
  EXPECT_EQ(Fr.Format(Doc, u"Arial", true, &R), Doc.TextLength());
  HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
  ASSERT_NE(Mf, nullptr);
  const auto Texts = TextRecords(Mf);
  ASSERT_EQ(Texts.size(), 3u);
  EXPECT_EQ(Texts[0].Text, u"Hello world ");
  EXPECT_EQ(Texts[1].Text, u"Bold");
  EXPECT_EQ(Texts[2].Text, u"Second");
  EXPECT_EQ(Texts[0].Reference.X, 25);
  EXPECT_EQ(Texts[1].Reference.X, 25 + 12 * M.Advance);
  EXPECT_EQ(Texts[2].Reference.X, 25);
  EXPECT_EQ(Texts[2].Reference.Y - Texts[0].Reference.Y, M.Height);
  for (const auto& T : Texts) {
    ASSERT_EQ(T.Dx.size(), T.Text.size());
    for (Integer D : T.Dx) EXPECT_EQ(D, M.Advance);
  }
  DeleteEnhMetaFile(Mf);
}

TEST(TRichFormatRange, MeasuringRecordsNothingIntoTheTarget) {
  const TRichDocument Doc = MixedDocument();
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  FORMATRANGE R;
  R.hdc = R.hdcTarget = Dc;
  R.rc = R.rcPage = {0, 0, 9000, 12000};
  R.chrg = {0, -1};
  TRichFormatRange Fr;
  EXPECT_GT(Fr.Format(Doc, u"Arial", false, &R), 0);
  HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
  std::size_t Count = 0;
  TextRecords(Mf, &Count);
  EXPECT_EQ(Count, 2u);   // header and end of file
  DeleteEnhMetaFile(Mf);
}

TEST(TRichFormatRange, JustifiedLinesSpreadTheirSpacesThroughDx) {
  const int A = MetricsOf(Mono()).Advance;
  TRichParaFormat J;
  J.Alignment = TRichAlignment::Justify;
  const TRichDocument Doc = TDocBuilder().Para(u"aa bb cc dd ee", J).Done();
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  DrawWhole(Dc, Doc, {0, 0, 10 * A * 15, 12000});
  HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
  const auto Texts = TextRecords(Mf);
  ASSERT_EQ(Texts.size(), 2u);
  EXPECT_EQ(Texts[0].Text, u"aa bb cc ");
  // The two inner spaces share the slack; the trailing one keeps its width.
  const std::vector<Integer> Want = {A, A, 2 * A, A, A, 2 * A, A, A, A};
  EXPECT_EQ(Texts[0].Dx, Want);
  DeleteEnhMetaFile(Mf);
}

TEST(TRichFormatRange, PagesEveryCorpusDocumentWithProgressAndAgreement) {
  // Real RTF from other producers: tables, pictures, odd tabs and fonts.
  // Every page advances, and drawing breaks where measuring did.
  const std::filesystem::path Dir = std::filesystem::path(SX_CORPUS_DIR) / "rtf";
  if (!std::filesystem::is_directory(Dir)) GTEST_SKIP() << "no corpus at " << Dir;
  int Files = 0;
  for (const auto& Entry : std::filesystem::directory_iterator(Dir)) {
    if (Entry.path().extension() != ".rtf") continue;
    SCOPED_TRACE(Entry.path().filename().string());
    const std::string Bytes = sxtest::ReadFile(Entry.path());
    const TRichDocument Doc = LoadRichText(Bytes, false);
    const TRect Rect{375, 375, 9000, 12000};
    const TPaging Measured = PageThrough(Doc, Rect);
    TCanvas C(640, 840);
    const TPaging Drawn = PageThrough(Doc, Rect, C.Dc(), /*Render=*/true);
    for (std::size_t K = 1; K < Measured.Starts.size(); ++K) EXPECT_GT(Measured.Starts[K], Measured.Starts[K - 1]);
    EXPECT_EQ(Measured.Starts, Drawn.Starts);
    EXPECT_EQ(Measured.Bottoms, Drawn.Bottoms);
    ++Files;
  }
  EXPECT_GT(Files, 0);
}

TEST(TRichFormatRange, FillsShadingAndRunBackgroundsBehindTheText) {
  TRichParaFormat Shaded;
  Shaded.HasShading = true;
  Shaded.Shading = RGB(255, 0, 0);
  Shaded.Borders.Bottom.Width = 30;
  Shaded.Borders.Bottom.AutoColor = false;
  Shaded.Borders.Bottom.Color = RGB(0, 255, 0);
  TRichCharFormat Marked = Mono();
  Marked.HasBackground = true;
  Marked.Background = RGB(0, 0, 255);
  const TRichDocument Doc = TDocBuilder().Text(u"ab", Marked).Text(u" plain").End(Shaded).Para(u"next").Done();
  const int H = MetricsOf(Mono()).Height;
  TCanvas C(700, 200);
  DrawWhole(C.Dc(), Doc, {0, 0, 9000, 3000});
  EXPECT_EQ(GetPixel(C.Dc(), 1, 0), RGB(0, 0, 255));        // behind the marked run
  EXPECT_EQ(GetPixel(C.Dc(), 590, 1), RGB(255, 0, 0));      // shading to the right edge
  EXPECT_EQ(GetPixel(C.Dc(), 300, H), RGB(0, 255, 0));      // the bottom border under it
  EXPECT_EQ(GetPixel(C.Dc(), 590, H + 3), RGB(255, 255, 255));   // the next paragraph is plain
}

TEST(TRichFormatRange, PositionsTextByTheTargetsMeasureOnAnotherDevice) {
  // Measured for a 600-dpi printer, drawn into a 96-dpi metafile: the runs
  // land where the printer's advances put them, scaled to the metafile.
  TDeviceCaps Printer;
  Printer.Technology = DT_RASPRINTER;
  Printer.LogPixelsX = Printer.LogPixelsY = 600;
  HDC Target = GdiAddDC(std::make_unique<TDC>(OBJ_DC, Printer));
  const TRichDocument Doc = TDocBuilder().Text(u"Proportional ", Mono()).Text(u"tail", Mono(30)).End().Done();
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  FORMATRANGE R;
  R.hdc = Dc;
  R.hdcTarget = Target;
  R.rc = R.rcPage = {1440, 1440, 9000, 12000};
  R.chrg = {0, -1};
  TRichFormatRange Fr;
  Fr.Format(Doc, u"Arial", true, &R);
  ASSERT_NE(Fr.Layout(), nullptr);
  EXPECT_EQ(Fr.Layout()->Params().DpiX, 600);
  const TRichLineItem Second = Fr.Layout()->Paragraph(0).Lines[0].Items[1];
  HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
  const auto Texts = TextRecords(Mf);
  ASSERT_EQ(Texts.size(), 2u);
  EXPECT_EQ(Texts[0].Reference.X, 96);
  EXPECT_EQ(Texts[1].Reference.X, 96 + int(std::lround(Second.X * 96.0 / 600)));
  int Sum = 0;
  for (Integer D : Texts[0].Dx) Sum += D;
  EXPECT_EQ(Texts[0].Reference.X + Sum, Texts[1].Reference.X);
  DeleteEnhMetaFile(Mf);
  DeleteDC(Target);
}

TEST(TRichFormatRange, BarTabsRuleEveryLineWithoutMovingText) {
  TRichParaFormat Barred;
  Barred.Tabs = {{1440, TRichTabKind::Bar}};
  const TRichDocument Doc = TDocBuilder().Para(u"a\tb", Barred).Done();
  TRichLayout L(Doc, TRichLayoutParams{96, 96, 9000, u"Arial"});
  EXPECT_EQ(L.Paragraph(0).Lines[0].Items[2].X, 48);   // the tab goes to the default stop
  TCanvas C(300, 100);
  DrawWhole(C.Dc(), Doc, {0, 0, 9000, 3000});
  const int H = MetricsOf(Mono()).Height;
  EXPECT_EQ(GetPixel(C.Dc(), 96, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(C.Dc(), 96, H - 1), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(C.Dc(), 97, 0), RGB(255, 255, 255));
}

// Underline and strike-out travel as the font's own attributes, so that the
// writers that read the metafile draw them; nothing else marks the text.
TEST(TRichFormatRange, DecorationsAreFontAttributesAndTextIsTopLeftAligned) {
  TRichCharFormat Under = Mono(), Struck = Mono();
  Under.Underline = TRichUnderline::Single;
  Struck.StrikeOut = true;
  const TRichDocument Doc = TDocBuilder().Text(u"plain ").Text(u"under", Under).Text(u"struck", Struck).End().Done();
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  SetTextAlign(Dc, TA_BASELINE | TA_RIGHT);
  DrawWhole(Dc, Doc, {0, 0, 9000, 12000});
  EXPECT_EQ(GetTextAlign(Dc), UINT(TA_BASELINE | TA_RIGHT)) << "the caller's alignment comes back";
  HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
  ASSERT_NE(Mf, nullptr);

  struct TSeen { std::u16string Text; int Underline, StrikeOut; UINT Align; };
  std::vector<TSeen> Seen;
  std::map<DWORD, TEmfLogFont> Fonts;
  TEmfLogFont Current;
  UINT Align = UINT(-1);
  std::vector<DWORD> Drawn;
  const auto Bytes = EmfBytes(Mf);
  EmfForEachRecord(*Bytes, [&](const TEmfRecord& Rec) {
    switch (Rec.Type()) {
      case EMR_EXTCREATEFONTINDIRECTW: {
        const auto F = TEmrExtCreateFontIndirectW::Read(Rec);
        Fonts[F.ihFont] = F.Font;
        break;
      }
      case EMR_SELECTOBJECT: {
        const DWORD Ih = TEmrDword::Read(Rec).Value;
        if (Fonts.count(Ih)) Current = Fonts[Ih];
        break;
      }
      case EMR_SETTEXTALIGN: Align = TEmrDword::Read(Rec).Value; break;
      case EMR_EXTTEXTOUTW: {
        const auto T = TEmrExtTextOut::Read(Rec);
        Seen.push_back({T.Text, Current.Underline, Current.StrikeOut, Align});
        break;
      }
      case EMR_LINETO: case EMR_POLYLINE16: case EMR_POLYLINE: case EMR_POLYGON16: case EMR_POLYGON:
      case EMR_RECTANGLE: case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_FILLPATH: case EMR_STROKEPATH:
        Drawn.push_back(Rec.Type());
        break;
      default: break;
    }
    return true;
  });
  ASSERT_EQ(Seen.size(), 3u);
  const TSeen Want[] = {{u"plain ", 0, 0, 0}, {u"under", 1, 0, 0}, {u"struck", 0, 1, 0}};
  for (int I = 0; I < 3; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(Seen[I].Text, Want[I].Text);
    EXPECT_EQ(Seen[I].Underline, Want[I].Underline);
    EXPECT_EQ(Seen[I].StrikeOut, Want[I].StrikeOut);
    EXPECT_EQ(Seen[I].Align, UINT(TA_TOP | TA_LEFT));
  }
  EXPECT_TRUE(Drawn.empty()) << "no lines or fills beside the text";
  DeleteEnhMetaFile(Mf);
}

namespace {

// Each EXTTEXTOUTW's text with the face of the font selected for it.
std::vector<std::pair<std::u16string, std::u16string>> TextsWithFaces(HENHMETAFILE Mf) {
  std::vector<std::pair<std::u16string, std::u16string>> Out;
  std::map<DWORD, std::u16string> Faces;
  std::u16string Current;
  const auto Bytes = EmfBytes(Mf);
  EmfForEachRecord(*Bytes, [&](const TEmfRecord& R) {
    if (R.Type() == EMR_EXTCREATEFONTINDIRECTW) {
      const auto F = TEmrExtCreateFontIndirectW::Read(R);
      Faces[F.ihFont] = F.Font.FaceName;
    } else if (R.Type() == EMR_SELECTOBJECT) {
      auto It = Faces.find(TEmrDword::Read(R).Value);
      if (It != Faces.end()) Current = It->second;
    } else if (R.Type() == EMR_EXTTEXTOUTW) {
      Out.push_back({TEmrExtTextOut::Read(R).Text, Current});
    }
    return true;
  });
  return Out;
}

}  // namespace

TEST(TRichFormatRange, ABulletIsOneMarkInItsNumberingFont) {
  const std::string Fonts = "{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset2 Symbol;}"
                            "{\\f2\\fnil\\fcharset2 Wingdings;}}";
  struct TCase {
    std::string Body;
    std::u16string Mark, Face;
    const char* Why;
  } Cases[] = {
      {"\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li720 Bullet\\par",
       u"\uF0B7", u"Symbol", "WordPad: the Symbol bullet of \\pntxtb in the \\pnf font"},
      {"{\\pn\\pnlvlblt}{{\\pntext}{\\pntxtb\\'b7}Bullet\\par}", u"\uF0B7", u"Symbol",
       "our exporter: no numbering font, the control's Symbol bullet"},
      {"{\\*\\pn\\pnlvlblt\\pnf0\\pnfs28{\\pntxtb o}}\\fi-360\\li720 Bullet\\par", u"o", u"Arial",
       "a text font's bullet"},
      {"{\\*\\pn\\pnlvlblt\\pnf2\\pnfs28}\\fi-360\\li720 Bullet\\par", u"\u2022", u"Wingdings",
       "no bullet text: the standard bullet"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const TRichDocument Doc = RtfRead("{\\rtf1\\ansi\\deff0" + Fonts + C.Body + "}");
    HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    DrawWhole(Dc, Doc, {0, 0, 9000, 12000});
    HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
    const auto Texts = TextsWithFaces(Mf);
    DeleteEnhMetaFile(Mf);
    ASSERT_EQ(Texts.size(), 2u);
    EXPECT_EQ(Texts[0].first, C.Mark);
    EXPECT_EQ(Texts[0].second, C.Face);
    EXPECT_EQ(Texts[1].first, u"Bullet");
    EXPECT_EQ(Texts[1].second, u"Arial");
  }
}

TEST(TRichFormatRange, ShadesAndFramesNestedCellsUnderTheirText) {
  // The nested cell spans 100-200 px of a 300 px outer cell; its shading
  // fills just that, down to the nested row's bottom, and its text is on it.
  const TRichDocument Doc = RtfRead(
      "{\\rtf1{\\fonttbl{\\f0 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\f0\\fs20"
      "\\trowd\\cellx4500\\pard\\intbl\\itap2 a\\nestcell b\\nestcell"
      "{\\*\\nesttableprops\\trowd\\cellx1500\\clcbpat1\\clbrdrb\\brdrs\\brdrw30\\brdrcf2\\cellx3000\\nestrow}"
      "{\\nonesttables\\par}\\pard\\intbl\\cell\\row}");
  const int H = MetricsOf(Mono()).Height;
  TCanvas C(400, 100);
  DrawWhole(C.Dc(), Doc, {0, 0, 6000, 1500});
  EXPECT_EQ(GetPixel(C.Dc(), 99, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(C.Dc(), 198, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(C.Dc(), 201, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(C.Dc(), 150, H), RGB(0, 0, 255)) << "the bottom border at the nested row's foot";
  EXPECT_EQ(GetPixel(C.Dc(), 150, H + 3), RGB(255, 255, 255));
  int Ink = 0;   // "b" drawn over the shading
  for (int Y = 0; Y < H; ++Y)
    for (int X = 100; X < 110; ++X)
      if (GetPixel(C.Dc(), X, Y) != RGB(255, 0, 0)) ++Ink;
  EXPECT_GT(Ink, 0);
}
