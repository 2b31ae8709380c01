// The SVG engine's files as xmllint, Python's XML reader and rsvg-convert
// see them: one page file per page, escaped and correctly declared text,
// links, patterns, side pictures and their clean-up.
#include <gtest/gtest.h>
#include <memory>
#include "export/image/RasterSupport.h"
#include "export/svg/SvgEngine.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Metafile.h"

using namespace raster;

namespace {
std::unique_ptr<TgtSVGEngine> MakeSvg(const std::string& FileName) {
  auto E = std::make_unique<TgtSVGEngine>(nullptr);
  E->SetMeasurementUnit(muPixels);
  E->GetPreferences()->SetShowSetupDialog(false);
  E->GetPreferences()->SetOpenAfterCreate(false);
  E->GetPage()->SetPaperSize(Custom);
  E->GetPage()->SetWidth(300);
  E->GetPage()->SetHeight(200);
  E->GetPage()->SetLeftMargin(0);
  E->GetPage()->SetTopMargin(0);
  E->SetFileName(FileName);
  return E;
}

int XmlLint(const std::string& File, std::string* Out = nullptr) {
  int Status = -1;
  std::string O = RunCommand("xmllint --noout '" + File + "' 2>&1", &Status);
  if (Out) *Out = O;
  return Status;
}

// Python reading the SVG: the texts of its text elements joined by "|".
const char* const TextsScript = R"(
import xml.etree.ElementTree as ET
r = ET.parse(sys.argv[1]).getroot()
ns = '{http://www.w3.org/2000/svg}'
print('|'.join(''.join(t.itertext()) for t in r.iter(ns + 'text')))
)";
}  // namespace

TEST(TgtSVGEngine, EveryPageIsAWellFormedSvgFileWithItsText) {
  const std::string Dir = OutDir("svgpages");
  auto E = MakeSvg(Dir + "doc");
  E->BeginDoc();
  E->TextOut(10, 10, u"first page");
  E->NewPage();
  E->TextOut(10, 10, u"second page");
  E->EndDoc();
  ASSERT_EQ(E->GetOutputFiles(), (std::vector<AnsiString>{Dir + "doc1.svg", Dir + "doc2.svg"}));
  const char* Want[] = {"first page", "second page"};
  for (int P = 1; P <= 2; ++P) {
    const std::string File = Dir + "doc" + std::to_string(P) + ".svg";
    std::string Lint;
    EXPECT_EQ(XmlLint(File, &Lint), 0) << Lint;
    EXPECT_EQ(Py(TextsScript, File), Want[P - 1]);
    if (HaveTool("/usr/bin/rsvg-convert")) {
      int Status = -1;
      RunCommand("rsvg-convert -o '" + File + ".png' '" + File + "' 2>&1", &Status);
      EXPECT_EQ(Status, 0);
      EXPECT_EQ(Py("print(*Image.open(sys.argv[1]).size)", File + ".png"), "300 200");
    }
  }
}

TEST(TgtSVGEngine, MarkupInTitlesFontsTextAndLinksIsEscapedAndEncodingMatches) {
  const std::string Dir = OutDir("svgescape");
  auto E = MakeSvg(Dir + "e");
  E->GetDocInfo()->SetTitle(u"T <&> \"q\" \u00e9\u20ac");
  E->GetDocInfo()->SetSubject(u"S </desc>");
  E->BeginDoc();
  E->GetFont()->SetName("A&B\"<Font>");
  E->TextOut(10, 10, u"1 < 2 & 'x' \u00e9\u20ac www.ex.com/?a=1&b=2 \"end\"");
  E->EndDoc();
  const std::string File = Dir + "e1.svg";
  std::string Lint;
  ASSERT_EQ(XmlLint(File, &Lint), 0) << Lint;
  EXPECT_EQ(ReadFile(File).substr(0, 38), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  const char* Script = R"(
import xml.etree.ElementTree as ET
r = ET.parse(sys.argv[1]).getroot()
ns = '{http://www.w3.org/2000/svg}'
t = next(r.iter(ns + 'text'))
a = next(r.iter(ns + 'a'))
print(r.find(ns + 'title').text.strip(), '|', r.find(ns + 'desc').text.strip())
print(''.join(t.itertext()))
print(a.get('{http://www.w3.org/1999/xlink}href'))
print('font-family: "A&B\\"<Font>";' in t.get('style'))
)";
  EXPECT_EQ(Py(Script, File),
            "T <&> \"q\" \u00e9\u20ac | S </desc>\n"
            "1 < 2 & 'x' \u00e9\u20ac www.ex.com/?a=1&b=2 \"end\"\n"
            "http://www.ex.com/?a=1&b=2\n"
            "True");
}

// A face name is the document's text: whatever it holds, the style keeps
// one font-family declaration naming it and gains no other property.
TEST(TgtSVGEngine, FaceNamesCannotAddStyleProperties) {
  const char* const Names[] = {
      "Arial;display:none",
      "Arial; filter:url(http://example.com/x.svg#f)",
      "A\"; fill: red; x:\"",
      "A'; visibility: hidden; b:'",
      "A\\\";display:none",
      "A\n;display:none",
  };
  // The style's declarations split as a style-sheet reader splits them:
  // at semicolons outside quoted strings, escapes honoured.
  const char* Script = R"(
import xml.etree.ElementTree as ET
r = ET.parse(sys.argv[1]).getroot()
t = next(r.iter('{http://www.w3.org/2000/svg}text'))
style, decls, cur, quote, i = t.get('style'), [], '', None, 0
while i < len(style):
    c = style[i]
    if c == '\\':
        cur += style[i:i + 2]; i += 2; continue
    if quote:
        if c == quote: quote = None
    elif c in '"\'':
        quote = c
    elif c == ';':
        decls.append(cur); cur = ''; i += 1; continue
    cur += c; i += 1
decls.append(cur)
print(','.join(sorted(d.split(':')[0].strip() for d in decls)))
)";
  for (const char* Name : Names) {
    SCOPED_TRACE(Name);
    const std::string Dir = OutDir("svgface");
    auto E = MakeSvg(Dir + "f");
    E->BeginDoc();
    E->GetFont()->SetName(Name);
    E->TextOut(10, 10, u"visible");
    E->EndDoc();
    const std::string File = Dir + "f1.svg";
    std::string Lint;
    ASSERT_EQ(XmlLint(File, &Lint), 0) << Lint;
    EXPECT_EQ(Py(Script, File), "fill,font-family,font-size") << ReadFile(File);
  }
}

// Blanks inside a line and at its ends reach the reader as written.
TEST(TgtSVGEngine, TextKeepsItsRunsOfBlanks) {
  const std::string Dir = OutDir("svgblanks");
  auto E = MakeSvg(Dir + "b");
  E->BeginDoc();
  E->TextOut(10, 10, u"  int    x;  ");
  E->EndDoc();
  const std::string File = Dir + "b1.svg";
  const char* Script = R"(
import xml.etree.ElementTree as ET
r = ET.parse(sys.argv[1]).getroot()
t = next(r.iter('{http://www.w3.org/2000/svg}text'))
print('[' + ''.join(t.itertext()) + ']', t.get('{http://www.w3.org/XML/1998/namespace}space'))
)";
  EXPECT_EQ(Py(Script, File), "[  int    x;  ] preserve");
}

TEST(TgtSVGEngine, WebAddressesBecomeLinksOnlyWhenActive) {
  struct TCase { bool Active; const char* Text; const char* Want; };
  const TCase Cases[] = {
      {true, "see www.example.com now", "http://www.example.com"},
      {true, "go http://a.org/x today", "http://a.org/x"},
      {false, "see www.example.com now", ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    const std::string Dir = OutDir("svglinks");
    auto E = MakeSvg(Dir + "l");
    E->GetPreferences()->SetActiveHyperLinks(C.Active);
    E->BeginDoc();
    E->TextOut(10, 10, AnsiToWide(C.Text));
    E->EndDoc();
    const char* Script = R"(
import xml.etree.ElementTree as ET
r = ET.parse(sys.argv[1]).getroot()
ns = '{http://www.w3.org/2000/svg}'
print(','.join(a.get('{http://www.w3.org/1999/xlink}href') for a in r.iter(ns + 'a')), '|', ''.join(next(r.iter(ns + 'text')).itertext()))
)";
    EXPECT_EQ(Py(Script, Dir + "l1.svg"), std::string(C.Want) + " | " + C.Text);
  }
}

TEST(TgtSVGEngine, HatchesArePatternsDefinedOncePerColourAndPage) {
  const std::string Dir = OutDir("svghatch");
  auto E = MakeSvg(Dir + "h");
  E->BeginDoc();
  E->GetBrush()->SetStyle(bsCross);
  E->GetBrush()->SetColor(clRed);
  E->Rectangle(true, 10, 10, 50, 50);
  E->Rectangle(true, 60, 10, 100, 50);
  E->GetBrush()->SetColor(clBlue);
  E->Ellipse(true, 10, 60, 50, 100);
  E->NewPage();
  E->Rectangle(true, 10, 10, 50, 50);
  E->EndDoc();
  const std::string P1 = ReadFile(Dir + "h1.svg"), P2 = ReadFile(Dir + "h2.svg");
  EXPECT_EQ(XmlLint(Dir + "h1.svg"), 0);
  auto Count = [](const std::string& S, const std::string& Sub) {
    size_t N = 0;
    for (size_t P = S.find(Sub); P != std::string::npos; P = S.find(Sub, P + 1)) ++N;
    return N;
  };
  EXPECT_EQ(Count(P1, "<pattern "), 2u);
  EXPECT_EQ(Count(P1, "fill=\"url(#gtPattern0)\""), 2u);
  EXPECT_EQ(Count(P1, "fill=\"url(#gtPattern1)\""), 1u);
  EXPECT_NE(P1.find("stroke=\"#0000FF\" d=\"M 2.5 0 L 2.5 5 M 0 2.5 L 5 2.5\""), std::string::npos);
  // The numbering starts again on the next page.
  EXPECT_EQ(Count(P2, "fill=\"url(#gtPattern0)\""), 1u);
  EXPECT_EQ(Count(P2, "<pattern "), 1u);
}

TEST(TgtSVGEngine, NumbersHaveFourDecimalsAndTurnedTextTurnsItsBackground) {
  const std::string Dir = OutDir("svgnum");
  auto E = MakeSvg(Dir + "n");
  E->BeginDoc();
  E->Line(12.5, 3, 40.25, 3);
  E->SetTextAngle(90);
  E->TextOut(10, 20, u"up");
  E->EndDoc();
  const std::string S = ReadFile(Dir + "n1.svg");
  EXPECT_NE(S.find("<line x1=\"12.5000\" y1=\"3.0000\" x2=\"40.2500\" y2=\"3.0000\""), std::string::npos);
  size_t First = S.find("rotate(270 10.0000 20.0000)");
  ASSERT_NE(First, std::string::npos);
  EXPECT_NE(S.find("rotate(270 10.0000 20.0000)", First + 1), std::string::npos);
}

TEST(TgtSVGEngine, SameImageTwiceMakesOneSideFileNamedBesideThePage) {
  const std::string Dir = OutDir("svgimage");
  TBitmap Pic;
  Pic.SetSize(20, 10);
  Pic.Canvas()->Brush()->SetColor(clRed);
  Pic.Canvas()->FillRect(TRect(0, 0, 20, 10));
  struct TCase { TgtOutputImageFormat Format; const char* Ext; };
  for (const TCase& C : {TCase{ifJPEG, "jpg"}, TCase{ifPNG, "png"}}) {
    SCOPED_TRACE(C.Ext);
    auto E = MakeSvg(Dir + "doc");
    E->GetImageSettings()->SetOutputImageFormat(C.Format);
    E->BeginDoc();
    const Integer Index = E->AddImageToList(&Pic);
    E->DrawImageByIndex({10, 10, 30, 20}, Index);
    E->DrawImageByIndex({50, 10, 70, 20}, Index);
    E->EndDoc();
    // Each engine numbers its own side files from 1.
    const std::string Side = std::string("doc_1_I.") + C.Ext;
    EXPECT_TRUE(FileExists(Dir + Side));
    const std::string S = ReadFile(Dir + "doc1.svg");
    size_t N = 0;
    const std::string Href = "xlink:href=\"" + Side + "\"";
    for (size_t P = S.find(Href); P != std::string::npos; P = S.find(Href, P + 1)) ++N;
    EXPECT_EQ(N, 2u);
    EXPECT_EQ(E->GetSideFiles().back(), Dir + Side);
    EXPECT_EQ(Py("p = Image.open(sys.argv[1]).convert('RGB').getpixel((5, 5)); print(p[0] > 240 and p[1] < 30)", Dir + Side),
              "True");
  }
}

TEST(TgtSVGEngine, RasterisedShapesAreTransparentPngSideFiles) {
  const std::string Dir = OutDir("svgshape");
  auto E = MakeSvg(Dir + "s");
  TMetafile Mf;
  Mf.SetWidth(100);
  Mf.SetHeight(100);
  {
    TMetafileCanvas C(&Mf, nullptr);
    C.Brush()->SetColor(clRed);
    C.RequiredState({csHandleValid, csPenValid, csBrushValid});
    const TPoint Pts[] = {{10, 10}, {60, 10}, {60, 60}, {20, 20}, {40, 20}, {40, 40}};
    const int Counts[] = {3, 3};
    PolyPolygon(C.GetHandle(), Pts, Counts, 2);
  }
  E->BeginDoc();
  E->DrawMetafile(&Mf);
  E->EndDoc();
  const std::string S = ReadFile(Dir + "s1.svg");
  const size_t At = S.find("_S.png\"");
  ASSERT_NE(At, std::string::npos) << S;
  const std::string Name = S.substr(S.rfind('"', At) + 1, At + 6 - S.rfind('"', At) - 1);
  EXPECT_EQ(Py("im = Image.open(sys.argv[1]).convert('RGBA'); w, h = im.size; print(im.getpixel((w - 1, 0))[3], max(p[3] for p in im.getdata()))",
               Dir + Name),
            "0 255");
}

TEST(TgtSVGEngine, FailedDocumentTakesItsSideFilesAway) {
  const std::string Dir = OutDir("svgfail");
  TBitmap Pic;
  Pic.SetSize(8, 8);
  auto E = MakeSvg(Dir + "f");
  E->BeginDoc();
  E->DrawImage(&Pic, 10, 10);
  E->NewPage();
  // Page 2 cannot be made: a folder holds its name.
  ForceDirectories(Dir + "f2.svg");
  EXPECT_THROW(E->EndDoc(), EFileCreateError);
  EXPECT_EQ(RunCommand("ls -A '" + Dir + "'"), "f2.svg\n");
}

TEST(TgtSVGEngine, OnlyJpegAndPngAreImageFormats) {
  struct TSvg : TgtSVGEngine {
    TSvg() : TgtSVGEngine(nullptr) {}
    using TgtSVGEngine::ValidateOutputImageFormat;
  } E;
  EXPECT_EQ(E.GetImageSettings()->GetOutputImageFormat(), ifJPEG);
  AnsiString Message;
  EXPECT_TRUE(E.ValidateOutputImageFormat(ifPNG, Message));
  EXPECT_FALSE(E.ValidateOutputImageFormat(ifBMP, Message));
  EXPECT_EQ(Message, SSVGImageFormats);
  // The image settings ask the engine and keep their format on a refusal.
  E.GetImageSettings()->SetOutputImageFormat(ifBMP);
  EXPECT_EQ(E.GetImageSettings()->GetOutputImageFormat(), ifJPEG);
  E.GetImageSettings()->SetOutputImageFormat(ifPNG);
  EXPECT_EQ(E.GetImageSettings()->GetOutputImageFormat(), ifPNG);
}
