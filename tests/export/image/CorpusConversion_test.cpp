// Real RTF documents from several producers, rendered as the program
// renders them (rectangle 25, 25, 600, 800 in pixels) through each picture
// engine and the SVG engine, checked by outside readers: one file per page,
// the page's size, ink inside the text area and none beyond it.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include "RasterSupport.h"
#include "export/image/BmpEngine.h"
#include "export/image/JpegEngine.h"
#include "export/image/PngEngine.h"
#include "export/svg/SvgEngine.h"

using namespace raster;

namespace {
const char* const Documents[] = {
    "aft_aft2rtf_doc.rtf",           // generated, two pages
    "abiword_striprtf_french.rtf",   // AbiWord
    "word_striprtf_example_text.rtf",// Word
    "pandocwriter_pandoc_writer.rtf",// pandoc
};

struct TFormat {
  const char* Ext;
  std::function<std::unique_ptr<TgtCustomDocumentEngine>()> Make;
};
const TFormat Formats[] = {
    {"png", [] { return std::make_unique<TgtPNGEngine>(nullptr); }},
    {"jpg", [] { return std::make_unique<TgtJPEGEngine>(nullptr); }},
    {"bmp", [] { return std::make_unique<TgtBMPEngine>(nullptr); }},
    {"svg", [] { return std::make_unique<TgtSVGEngine>(nullptr); }},
};

// Size, ink in the text area, and none right of it (from the column given
// as the second argument) or below it.
const char* const PageScript = R"(
im = Image.open(sys.argv[1]); im.load()
g = im.convert('L')
w, h = im.size
print(w, h, min(g.crop((25, 25, 600, 800)).getdata()) < 128, min(g.crop((int(sys.argv[2]), 0, w, h)).getdata()) > 235,
      min(g.crop((0, 810, w, h)).getdata()) > 235)
)";
}  // namespace

TEST(CorpusConversion, DocumentsBecomeOneReadableFilePerPageWithTheirText) {
  const std::string Corpus = SX_CORPUS_DIR "/rtf/";
  if (!FileExists(Corpus + Documents[0])) GTEST_SKIP() << "corpus absent";
  for (const char* Doc : Documents) {
    for (const auto& F : Formats) {
      SCOPED_TRACE(std::string(Doc) + " -> " + F.Ext);
      const std::string Dir = OutDir(std::string("corpus_") + F.Ext);
      auto E = F.Make();
      E->SetMeasurementUnit(muPixels);
      E->GetPreferences()->SetShowSetupDialog(false);
      E->GetPreferences()->SetOpenAfterCreate(false);
      E->SetFileName(Dir + "out");
      E->BeginDoc();
      E->RenderRTFFile(Corpus + Doc, 0, 25, 25, 600, 800);
      E->EndDoc();
      ASSERT_EQ(E->GetDocumentState(), dsFinished);
      std::vector<AnsiString> Pages;
      for (const auto& Name : E->GetOutputFiles())
        if (Name.size() > 4 && Name.substr(Name.size() - 4) == std::string(".") + F.Ext) Pages.push_back(Name);
      ASSERT_FALSE(Pages.empty());
      for (std::size_t P = 0; P < Pages.size(); ++P) {
        EXPECT_EQ(Pages[P], Dir + "out" + std::to_string(P + 1) + "." + F.Ext);
        std::string Picture = Pages[P];
        if (std::string(F.Ext) == "svg") {
          std::string Lint;
          int Status = -1;
          Lint = RunCommand("xmllint --noout '" + Pages[P] + "' 2>&1", &Status);
          EXPECT_EQ(Status, 0) << Lint;
          const std::string Svg = ReadFile(Pages[P]);
          EXPECT_NE(Svg.find("<text"), std::string::npos);
          if (!HaveTool("/usr/bin/rsvg-convert")) continue;
          Picture = Pages[P] + ".png";
          RunCommand("rsvg-convert -b white -o '" + Picture + "' '" + Pages[P] + "' 2>&1", &Status);
          ASSERT_EQ(Status, 0);
        } else if (std::string(F.Ext) == "png" && HaveTool("/usr/bin/pngcheck")) {
          int Status = -1;
          const std::string Out = RunCommand("pngcheck -v '" + Pages[P] + "' 2>&1", &Status);
          EXPECT_EQ(Status, 0) << Out;
        }
        // A4 at 96 pixels per inch.
        // A viewer sets SVG text in its own font, whose lines may run a little longer.
        const char* RightEdge = std::string(F.Ext) == "svg" ? "660" : "610";
        EXPECT_EQ(Py(PageScript, Picture, RightEdge), "794 1123 True True True") << Picture;
      }
    }
  }
}
