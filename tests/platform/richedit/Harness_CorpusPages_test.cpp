// Every corpus document through the conversion harness to PDF, on both
// roads (the input's own RTF, and the RTF the editor writes for it): the
// rich edit draws all of its plain text. pdftotext reads back as many
// letters as the control's plain text holds (letters, not words: pdftotext
// joins words that tabs or narrow blanks keep apart), and the file has the
// pages that range formatting counts, so no text is cut off or left off a
// page.
// Skipped when the corpus is absent.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Layout_TestSupport.h"
#include "platform/richedit/RtfReader.h"
#include "platform/rtl/CodePages.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using sxtest::ReadFile;
using sxtest::RunCommand;

fs::path CorpusDir() {
  if (const char* Env = std::getenv("SX_CORPUS_DIR")) return fs::path(Env) / "rtf";
  return fs::path(SX_CORPUS_DIR) / "rtf";
}

std::string Quote(const std::string& S) {
  std::string R = "'";
  for (char C : S) R += C == '\'' ? std::string("'\\''") : std::string(1, C);
  return R + "'";
}

// Characters that are neither blanks nor line ends, counted in UTF-8 text.
std::size_t LetterCount(const std::string& Utf8) {
  std::size_t N = 0;
  for (std::size_t I = 0; I < Utf8.size(); ++I) {
    const unsigned char C = Utf8[I];
    if ((C & 0xC0) == 0x80 || C <= 0x20) continue;
    ++N;
  }
  return N;
}

// The letters of the control's plain text: no object marks (pictures), no
// soft hyphens or blanks of other widths, which a PDF shows as nothing.
std::size_t PlainLetters(const TRichDocument& Doc) {
  WideString T = Doc.PlainText();
  for (char16_t& C : T)
    if (C == 0xFFFC || C == 0x00AD || C == 0x00A0 || (C >= 0x2000 && C <= 0x200F) || C == 0x3000 || C == 0xFEFF)
      C = u' ';
  return LetterCount(UTF8Encode(T));
}

struct TRoadResult {
  std::string Name;
  std::string Failure;   // empty when the document kept its text
};

// Runs one road of one document; Input is the RTF the rich edit loads on it.
std::string CheckRoad(const fs::path& Doc, bool InputRtf, const fs::path& Work) {
  const std::string Tag = Doc.stem().string() + (InputRtf ? ".in" : ".ed");
  const fs::path Pdf = Work / (Tag + ".pdf");
  fs::path Loaded = Doc;
  const std::string Harness = "timeout 120 " + Quote(SX_CONVERT_HARNESS);
  int Status = -1;
  if (!InputRtf) {
    // The road's print.rtf is what the editor exports as RTF.
    Loaded = Work / (Tag + ".rtf");
    RunCommand(Harness + " " + Quote(Doc.string()) + " rtf " + Quote(Loaded.string()) + " >/dev/null 2>&1", &Status);
    // The road converts nothing for a document without text (pictures only).
    if (Status == 1 && PlainLetters(LoadRichText(ReadFile(Doc), false)) == 0) return "";
    if (Status != 0) return "the editor's RTF export failed (" + std::to_string(Status) + ")";
  }
  RunCommand(Harness + (InputRtf ? " --input-rtf " : " ") + Quote(Doc.string()) + " pdf " + Quote(Pdf.string()) +
                 " >/dev/null 2>&1",
             &Status);
  if (Status != 0) return "the PDF road failed (" + std::to_string(Status) + ")";
  const std::string Text = RunCommand("timeout 60 pdftotext -enc UTF-8 " + Quote(Pdf.string()) + " - 2>/dev/null");
  const std::string Info = RunCommand("timeout 60 pdfinfo " + Quote(Pdf.string()) + " 2>/dev/null");
  const TRichDocument Rich = LoadRichText(ReadFile(Loaded), false);
  const auto Paging = richtest::PageThrough(Rich, {375, 375, 9000, 12000});
  std::size_t Pages = 0;
  if (auto At = Info.find("Pages:"); At != std::string::npos) Pages = std::stoul(Info.substr(At + 6));
  const std::size_t Want = PlainLetters(Rich), Got = LetterCount(Text);
  std::string Why;
  if (Pages != Paging.Starts.size())
    Why += "pages " + std::to_string(Pages) + ", range formatting counts " + std::to_string(Paging.Starts.size()) + "; ";
  if (Got * 100 < Want * 98) Why += "letters " + std::to_string(Got) + " of " + std::to_string(Want) + "; ";
  std::error_code Ec;
  fs::remove(Pdf, Ec);
  if (!InputRtf) fs::remove(Loaded, Ec);
  return Why;
}

}  // namespace

TEST(RichEditCorpusRoads, EveryDocumentKeepsItsTextOnBothRoads) {
  const fs::path Dir = CorpusDir();
  if (!fs::is_directory(Dir)) GTEST_SKIP() << "no corpus at " << Dir;
  if (!fs::exists("/usr/bin/pdftotext") || !fs::exists("/usr/bin/pdfinfo")) GTEST_SKIP() << "poppler-utils missing";
  std::vector<fs::path> Docs;
  for (const auto& E : fs::directory_iterator(Dir))
    if (E.path().extension() == ".rtf") Docs.push_back(E.path());
  std::sort(Docs.begin(), Docs.end());
  ASSERT_FALSE(Docs.empty());
  char Pattern[] = "/tmp/sx_richcorpus_XXXXXX";
  ASSERT_NE(mkdtemp(Pattern), nullptr);
  const fs::path Work = Pattern;
  // Each job is one document on one road; a few run side by side.
  std::vector<TRoadResult> Results(Docs.size() * 2);
  std::atomic<std::size_t> Next{0};
  auto Worker = [&] {
    for (std::size_t J; (J = Next++) < Results.size();) {
      const fs::path& Doc = Docs[J / 2];
      const bool InputRtf = J % 2 == 0;
      Results[J].Name = Doc.filename().string() + (InputRtf ? " (its own RTF)" : " (through the editor)");
      Results[J].Failure = CheckRoad(Doc, InputRtf, Work);
    }
  };
  const unsigned Threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
  std::vector<std::thread> Pool;
  for (unsigned I = 0; I < Threads; ++I) Pool.emplace_back(Worker);
  for (auto& T : Pool) T.join();
  std::error_code Ec;
  fs::remove_all(Work, Ec);
  for (const auto& R : Results) EXPECT_TRUE(R.Failure.empty()) << R.Name << ": " << R.Failure;
}
