// Real documents from several producers through the conversion harness, the
// way a user converts them, into PNG, JPEG, BMP and SVG pages; the files are
// then judged by outside readers only: pngcheck, Python's PIL and XML
// reader, xmllint and rsvg-convert.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include "RasterSupport.h"
#include "export/HarnessRun.h"

using namespace raster;

namespace {
struct TDocument {
  const char* File;
  const char* Producer;
  std::size_t MinPages;
  const char* First;  // a phrase of the first page's text
  const char* Last;   // a phrase of the last page's text
};

const TDocument Documents[] = {
    {"aft_aft2rtf_doc.rtf", "aft", 2, "Converting aft-files to rtf-files", "postprocessing is necessary"},
    {"word_striprtf_example_text.rtf", "Word", 2, "Another text size", "Some more text."},
    {"abiword_striprtf_french.rtf", "AbiWord", 1, "a 10\u2018000 b c!", "10\u00b4000 d?"},
    {"pandocwriter_pandoc_writer.rtf", "pandoc", 2, "John Gruber\u2019s", "should not be part of the note"},
    {"textedit_lynkeos_en_license.rtf", "TextEdit", 2, "This program is free software",
     "END OF TERMS AND CONDITIONS"},
    {"libreoffice_striprtf_calcium_score.rtf", "LibreOffice", 1, "Coronararterie", "Gesamt Calcium-Score"},
    {"wordpad_bazel_license.rtf", "WordPad", 1, "Bazel is bundled with software", "limitations under the"},
};

// The harness renders into the rectangle 25, 25, 600, 800 (pixels) of an A4
// page at 96 pixels per inch.
constexpr const char* PageSize = "794 1123";

// For each picture: format, size, mode, whether the text area holds dark
// ink, and whether every non-white pixel lies inside the box given by
// argv[1..4] (left top right bottom).
const char* const PictureScript = R"(
box = [int(v) for v in sys.argv[1:5]]
for f in sys.argv[5:]:
    im = Image.open(f); im.load()
    g = im.convert('L')
    ink = g.crop((25, 25, 600, 800)).point(lambda v: 255 if v < 128 else 0).getbbox() is not None
    b = g.point(lambda v: 255 if v < 236 else 0).getbbox()
    inside = b is None or (b[0] >= box[0] and b[1] >= box[1] and b[2] <= box[2] and b[3] <= box[3])
    print(im.format, im.size[0], im.size[1], im.mode, ink, inside)
)";

// For each SVG page: "P count<TAB>texts joined by ' | '", then "I href" for
// each image element.
const char* const SvgScript = R"(
import xml.etree.ElementTree as ET
ns = '{http://www.w3.org/2000/svg}'
for f in sys.argv[1:]:
    r = ET.parse(f).getroot()
    texts = [''.join(t.itertext()) for t in r.iter(ns + 'text')]
    print('P %d\t%s' % (len(texts), ' | '.join(texts)))
    for i in r.iter(ns + 'image'):
        print('I', i.get('{http://www.w3.org/1999/xlink}href'))
)";

std::string Quoted(const std::vector<std::string>& Files) {
  std::string S;
  for (const auto& F : Files) S.append(1, ' ').append(sxtest::HarnessQuote(F));
  return S;
}

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> Out;
  std::istringstream In(Text);
  for (std::string L; std::getline(In, L);) Out.push_back(L);
  return Out;
}

// Runs Python (Debian's, with PIL) on a script with arguments; its output
// lines.
std::vector<std::string> PyLines(const std::string& Script, const std::string& Folder,
                                 const std::vector<std::string>& Args) {
  const std::string ScriptFile = Folder + "check.py";
  {
    std::ofstream S(ScriptFile);
    S << "import sys\nfrom PIL import Image\n" << Script << "\n";
  }
  const std::string Out = RunCommand("/usr/bin/python3 " + sxtest::HarnessQuote(ScriptFile) + Quoted(Args) + " 2>&1");
  std::remove(ScriptFile.c_str());
  return Lines(Out);
}

std::set<std::string> FolderFiles(const std::string& Folder) {
  std::set<std::string> Out;
  for (const auto& E : std::filesystem::directory_iterator(Folder)) Out.insert(E.path().string());
  return Out;
}

struct TConversion {
  std::vector<std::string> Pages, SideFiles;
};

// Converts Doc into Format in a folder of its own; checks the harness's
// answer, the page names (Out + page number + extension, in order), that
// the listed files are exactly the folder's files, and answers them.
TConversion Convert(const std::string& Doc, const std::string& Folder, const std::string& Format) {
  TConversion C;
  ForceDirectories(Folder);
  const std::string Out = Folder + "doc";
  const sxtest::THarnessResult R = sxtest::RunConvertHarness(Doc, Format, Out);
  EXPECT_EQ(R.Status, 0) << R.Error;
  EXPECT_EQ(R.Error, "");
  const std::regex PageName(std::regex_replace(Out, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
                            "([0-9]+)\\." + Format);
  for (const auto& F : R.Files) {
    std::smatch M;
    if (std::regex_match(F, M, PageName)) {
      EXPECT_EQ(M[1].str(), std::to_string(C.Pages.size() + 1)) << F << ": pages out of order";
      C.Pages.push_back(F);
    } else {
      C.SideFiles.push_back(F);
    }
  }
  EXPECT_EQ(FolderFiles(Folder), std::set<std::string>(R.Files.begin(), R.Files.end()))
      << "the folder holds other files than the harness named";
  return C;
}

std::string Expected(const char* Format, const char* Mode) {
  return std::string(Format) + " " + PageSize + " " + Mode + " True True";
}

void PrintTo(const TDocument& D, std::ostream* Os) { *Os << D.File; }

class HarnessConversion : public ::testing::TestWithParam<TDocument> {};
}  // namespace

TEST_P(HarnessConversion, EveryFormatWritesOneCheckedFilePerPage) {
  const TDocument& D = GetParam();
  const std::string Doc = SX_CORPUS_DIR "/rtf/" + std::string(D.File);
  if (!FileExists(Doc)) GTEST_SKIP() << "corpus absent";
  const std::string Dir = OutDir(std::string("harness_") + D.Producer);

  // PNG: pngcheck's verdict, our chunk layout, then the pictures.
  const TConversion Png = Convert(Doc, Dir + "png/", "png");
  ASSERT_GE(Png.Pages.size(), D.MinPages);
  EXPECT_TRUE(Png.SideFiles.empty());
  if (HaveTool("/usr/bin/pngcheck")) {
    int Status = -1;
    const std::string Out = RunCommand("pngcheck -v" + Quoted(Png.Pages) + " 2>&1", &Status);
    EXPECT_EQ(Status, 0) << Out;
  }
  for (const auto& Page : Png.Pages) {
    SCOPED_TRACE(Page);
    const auto Chunks = PngChunks(ReadFile(Page));
    std::string Types;
    for (std::size_t I = 0; I < Chunks.size(); ++I) {
      const bool MoreData = Chunks[I].Type == "IDAT" && I + 1 < Chunks.size() && Chunks[I + 1].Type == "IDAT";
      // Runs of image data chunks count once; all but the last are full.
      if (MoreData) {
        EXPECT_EQ(Chunks[I].Data.size(), 10240u);
      } else {
        Types += (Types.empty() ? "" : " ") + Chunks[I].Type;
      }
    }
    EXPECT_EQ(Types, "IHDR IDAT zTXt zTXt zTXt zTXt zTXt zTXt IEND");
  }
  std::vector<std::string> Args = {"25", "25", "600", "800"};
  Args.insert(Args.end(), Png.Pages.begin(), Png.Pages.end());
  for (const auto& L : PyLines(PictureScript, Dir, Args)) EXPECT_EQ(L, Expected("PNG", "RGB"));

  // BMP: as many pages, 24 bits each.
  const TConversion Bmp = Convert(Doc, Dir + "bmp/", "bmp");
  EXPECT_EQ(Bmp.Pages.size(), Png.Pages.size());
  EXPECT_TRUE(Bmp.SideFiles.empty());
  for (const auto& Page : Bmp.Pages) {
    const std::string Bytes = ReadFile(Page);
    EXPECT_TRUE(Bytes.size() > 30 && Bytes[28] == 24) << Page << " is not a 24-bit bitmap";
  }
  Args = {"25", "25", "600", "800"};
  Args.insert(Args.end(), Bmp.Pages.begin(), Bmp.Pages.end());
  for (const auto& L : PyLines(PictureScript, Dir, Args)) EXPECT_EQ(L, Expected("BMP", "RGB"));

  // JPEG: lossy, so its ringing may reach a few pixels past the text.
  const TConversion Jpg = Convert(Doc, Dir + "jpg/", "jpg");
  EXPECT_EQ(Jpg.Pages.size(), Png.Pages.size());
  EXPECT_TRUE(Jpg.SideFiles.empty());
  Args = {"21", "21", "604", "804"};
  Args.insert(Args.end(), Jpg.Pages.begin(), Jpg.Pages.end());
  for (const auto& L : PyLines(PictureScript, Dir, Args)) EXPECT_EQ(L, Expected("JPEG", "RGB"));

  // SVG: well-formed, renderable, the document's text in text elements, and
  // the side pictures it names listed with the outputs.
  const std::string SvgDir = Dir + "svg/";
  const TConversion Svg = Convert(Doc, SvgDir, "svg");
  ASSERT_EQ(Svg.Pages.size(), Png.Pages.size());
  {
    int Status = -1;
    const std::string Out = RunCommand("xmllint --noout" + Quoted(Svg.Pages) + " 2>&1", &Status);
    EXPECT_EQ(Status, 0) << Out;
  }
  std::vector<std::string> Texts;
  std::set<std::string> Hrefs;
  for (const auto& L : PyLines(SvgScript, Dir, Svg.Pages)) {
    if (L.rfind("P ", 0) == 0) {
      EXPECT_GT(std::atoi(L.c_str() + 2), 0) << "page " << Texts.size() + 1 << " has no text element";
      Texts.push_back(L.substr(std::min(L.size(), L.find('\t') + 1)));
    } else if (L.rfind("I ", 0) == 0) {
      Hrefs.insert(SvgDir + L.substr(2));
    } else {
      ADD_FAILURE() << L;
    }
  }
  ASSERT_EQ(Texts.size(), Svg.Pages.size());
  EXPECT_NE(Texts.front().find(D.First), std::string::npos) << Texts.front();
  EXPECT_NE(Texts.back().find(D.Last), std::string::npos) << Texts.back();
  static const std::regex SideName(R"(.*/doc_[0-9]+_(I\.(jpg|png)|S\.png))");
  for (const auto& F : Svg.SideFiles) EXPECT_TRUE(std::regex_match(F, SideName)) << F;
  EXPECT_EQ(Hrefs, std::set<std::string>(Svg.SideFiles.begin(), Svg.SideFiles.end()))
      << "side pictures named by the pages and listed with the outputs differ";
  if (!HaveTool("/usr/bin/rsvg-convert")) return;
  std::vector<std::string> Rendered;
  for (const auto& Page : Svg.Pages) {
    int Status = -1;
    Rendered.push_back(Dir + "svgrender" + std::to_string(Rendered.size() + 1) + ".png");
    const std::string Out = RunCommand("rsvg-convert -b white -o " + sxtest::HarnessQuote(Rendered.back()) + " " +
                                       sxtest::HarnessQuote(Page) + " 2>&1",
                                   &Status);
    EXPECT_EQ(Status, 0) << Page << ": " << Out;
  }
  // A viewer sets SVG text in its own font, whose lines may run longer and
  // whose ascenders may rise a little higher.
  Args = {"20", "20", "660", "810"};
  Args.insert(Args.end(), Rendered.begin(), Rendered.end());
  for (const auto& L : PyLines(PictureScript, Dir, Args)) EXPECT_EQ(L, Expected("PNG", "RGB"));
}

INSTANTIATE_TEST_SUITE_P(Producers, HarnessConversion, ::testing::ValuesIn(Documents),
                         [](const ::testing::TestParamInfo<TDocument>& I) { return std::string(I.param.Producer); });
