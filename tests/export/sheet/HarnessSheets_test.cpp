// Documents through the conversion harness into xls, wk1 and wb1, the way
// the program converts them, read back by the outside readers: xlrd and
// olefile for the workbook, the record readers for WK1 and WB1, and
// LibreOffice where it is installed.
#include <gtest/gtest.h>
#include <filesystem>
#include <map>
#include <sstream>
#include "SheetSupport.h"
#include "export/HarnessRun.h"
#include "support/TestFiles.h"

namespace {
struct TCell {
  std::string Text;
  std::string Font;   // xls only: "name,size,bBold,iItalic"
};
using TCells = std::map<std::pair<int, int>, TCell>;

// The labels a reader printed ("row col L text…"), by cell; Tail is what
// follows the text on the reader's line.
TCells ParseCells(const std::string& Out, const std::string& Tail) {
  TCells Cells;
  std::istringstream Lines(Out);
  for (std::string L; std::getline(Lines, L);) {
    std::istringstream Head(L);
    int Row, Col;
    std::string Kind;
    if (!(Head >> Row >> Col >> Kind) || Kind != "L") continue;
    const std::size_t Start = L.find(" L ") + 3, End = L.rfind(Tail);
    if (End == std::string::npos || End < Start) continue;
    TCell C;
    // The workbook trims its labels, WK1 and WB1 keep them as drawn.
    C.Text = L.substr(Start, End - Start);
    C.Text.erase(0, C.Text.find_first_not_of(' '));
    C.Text.erase(C.Text.find_last_not_of(' ') + 1);
    if (C.Text.empty()) continue;
    if (Tail == "|font=") C.Font = L.substr(End + Tail.size(), L.find("|fmt=") - End - Tail.size());
    Cells[{Row, Col}] = C;
  }
  return Cells;
}

struct TConverted {
  std::string File;
  std::string Read;   // the reader's output
};

TConverted Convert(const std::string& In, const std::string& Format, const std::string& Kind) {
  const std::string Out = SheetTempBase("harness_" + Format);
  // The input's own RTF: tables reach the grid as the rich edit lays them out.
  const sxtest::THarnessResult R = sxtest::RunConvertHarness(In, Format, Out, sxtest::THarnessInput::InputRtf);
  EXPECT_EQ(R.Status, 0) << R.Error;
  if (R.Files.size() != 1) {
    ADD_FAILURE() << Format << ": " << R.Files.size() << " output files\n" << R.Error;
    return {};
  }
  TConverted C{R.Files[0], RunSheetReader(Kind, R.Files[0])};
  EXPECT_EQ(C.Read.find("EXIT"), std::string::npos) << C.Read.substr(0, 400);
  return C;
}

std::string CorpusFile(const char* Name) { return std::string(SX_CORPUS_DIR) + "/rtf/" + Name; }
bool HaveCorpus() { return FileExists(CorpusFile("pages_striprtf_table_sample.rtf")); }

// A cell whose text starts with Prefix, or nullptr.
const TCell* FindCell(const TCells& Cells, const std::string& Prefix, std::pair<int, int>* At = nullptr) {
  for (auto& [Pos, C] : Cells)
    if (C.Text.rfind(Prefix, 0) == 0) {
      if (At) *At = Pos;
      return &C;
    }
  return nullptr;
}

std::string WriteTempRtf(const std::string& Name, const std::string& Rtf) {
  const std::string File = SheetTempBase(Name) + ".rtf";
  std::ofstream(File, std::ios::binary) << Rtf;
  return File;
}

struct TDocument {
  const char* File;
  const char* Producer;
  const char* Text;   // the start of a cell's text
  const char* Font;   // its font in the workbook, as the document sets it
};
const TDocument Documents[] = {
    {"pages_striprtf_table_sample.rtf", "Pages", "Header A", "HelveticaNeue,10,b0,i0"},
    {"textedit_lynkeos_en_license.rtf", "TextEdit", "Legal notice:", "Helvetica-Bold,12,b1,i0"},
    {"word_pandoc_formatting.rtf", "Word", "italics", "Helvetica,12,b0,i1"},
    {"phprtflite_rtfpipe_chess_tournament.rtf", "PHPRtfLite", "TOTAL", "Times new Roman,11,b0,i0"},
    {"richedit_rtfpipe_old3_from_web.rtf", "WordPad", "Composed by", "Arial,8,b1,i0"},
    {"googledocs_rtfpipe_list.rtf", "Google Docs", "Bullet 2", "Arial,11,b0,i0"},
    {"libreoffice_striprtf_calcium_score.rtf", "LibreOffice", "Calcium-Score", "Arial,12,b1,i0"},
    {"abiword_striprtf_french.rtf", "AbiWord", "a 10'000", "Times New Roman,12,b0,i0"},
};
}  // namespace

// The three writers share one grid: every label of the workbook stands in
// the same cell of the WK1 and WB1 files with the same text (cut to what
// each format holds), and no file has a label the workbook lacks.
TEST(SheetHarness, CorpusDocumentsGiveTheSameCellsInEveryFormat) {
  if (!HaveCorpus()) GTEST_SKIP() << "corpus absent";
  for (const TDocument& D : Documents) {
    SCOPED_TRACE(std::string(D.Producer) + ": " + D.File);
    const TConverted Xls = Convert(CorpusFile(D.File), "xls", "xls");
    const TConverted Wk1 = Convert(CorpusFile(D.File), "wk1", "wk1");
    const TConverted Wb1 = Convert(CorpusFile(D.File), "wb1", "wb1");
    const TCells X = ParseCells(Xls.Read, "|font="), L = ParseCells(Wk1.Read, " fmt="),
                 Q = ParseCells(Wb1.Read, " attr=");
    ASSERT_FALSE(X.empty()) << Xls.Read.substr(0, 400);

    // The program leaves AutoFormatCells off: every cell is a label in the
    // General format.
    auto Count = [&](const std::string& S) {
      std::size_t N = 0;
      for (auto P = Xls.Read.find(S); P != std::string::npos; P = Xls.Read.find(S, P + 1)) ++N;
      return N;
    };
    EXPECT_EQ(Count("|fmt=General\n"), Count("|fmt="));
    std::istringstream Lines(Xls.Read);
    for (std::string L; std::getline(Lines, L);) {
      std::istringstream Head(L);
      std::string Row, Col, Kind;
      if (Head >> Row >> Col >> Kind && Row != "SHEET") {
        EXPECT_EQ(Kind, "L") << L;
      }
    }

    const TCell* Probe = FindCell(X, D.Text);
    ASSERT_NE(Probe, nullptr) << D.Text << "\n" << Xls.Read.substr(0, 600);
    EXPECT_EQ(Probe->Font, D.Font);

    EXPECT_EQ(L.size(), X.size());
    EXPECT_EQ(Q.size(), X.size());
    for (auto& [Pos, C] : X) {
      const std::string Where = std::to_string(Pos.first) + "," + std::to_string(Pos.second) + " " + C.Text;
      auto InL = L.find(Pos);
      auto InQ = Q.find(Pos);
      if (InL == L.end()) {
        ADD_FAILURE() << "wk1 lacks " << Where;
      } else {
        EXPECT_EQ(InL->second.Text, C.Text.substr(0, 240)) << Where;
      }
      if (InQ == Q.end()) {
        ADD_FAILURE() << "wb1 lacks " << Where;
      } else {
        EXPECT_EQ(InQ->second.Text, C.Text.substr(0, 250)) << Where;
      }
    }

    // The workbook's container passes olefile's checks.
    const std::string Ole = RunSheetReader("ole", Xls.File);
    EXPECT_EQ(Ole.find("EXIT"), std::string::npos) << Ole;
    EXPECT_NE(Ole.find("STREAM Book "), std::string::npos) << Ole;
    EXPECT_NE(Ole.find("BOOKHEAD 09080800"), std::string::npos) << Ole;
    for (const TConverted* C : {&Xls, &Wk1, &Wb1}) std::remove(C->File.c_str());
  }
}

// A table's rows become sheet rows and its columns keep left-to-right order;
// a cell's column holds the cells below it.
TEST(SheetHarness, TableCellsKeepTheirRowsAndColumns) {
  if (!HaveCorpus()) GTEST_SKIP() << "corpus absent";
  const TConverted Xls = Convert(CorpusFile("pages_striprtf_table_sample.rtf"), "xls", "xls");
  std::remove(Xls.File.c_str());
  const TCells X = ParseCells(Xls.Read, "|font=");
  std::pair<int, int> H[3], A[3];
  const char* Heads[3] = {"Header A", "Header B", "Header C"};
  const char* Below[3] = {"A1", "A2", "A3"};
  for (int I = 0; I < 3; ++I) {
    ASSERT_NE(FindCell(X, Heads[I], &H[I]), nullptr) << Heads[I] << "\n" << Xls.Read;
    ASSERT_NE(FindCell(X, Below[I], &A[I]), nullptr) << Below[I] << "\n" << Xls.Read;
  }
  for (int I = 0; I < 3; ++I) {
    EXPECT_EQ(H[I].first, H[0].first) << Heads[I];
    EXPECT_EQ(A[I].first, H[0].first + 1 + I) << Below[I];
    EXPECT_EQ(A[I].second, H[0].second) << Below[I];
  }
  EXPECT_LT(H[0].second, H[1].second);
  EXPECT_LT(H[1].second, H[2].second);
  // B1 and C1 stand under their headings.
  std::pair<int, int> B1, C1;
  ASSERT_NE(FindCell(X, "B1", &B1), nullptr);
  ASSERT_NE(FindCell(X, "C1", &C1), nullptr);
  EXPECT_EQ(B1, std::make_pair(A[0].first, H[1].second));
  EXPECT_EQ(C1, std::make_pair(A[0].first, H[2].second));
}

// A document of several pages goes down one worksheet, its pages one after
// the other, and the workbook stream outgrows the container's small-stream
// size.
TEST(SheetHarness, LongDocumentContinuesDownTheSheet) {
  if (!HaveCorpus()) GTEST_SKIP() << "corpus absent";
  const TConverted Xls = Convert(CorpusFile("textedit_lynkeos_en_license.rtf"), "xls", "xls");
  const std::string Ole = RunSheetReader("ole", Xls.File);
  std::remove(Xls.File.c_str());
  const TCells X = ParseCells(Xls.Read, "|font=");
  ASSERT_FALSE(X.empty());
  // 800 - 25 pixels of text per page, at most 16 pixels a row: the last
  // label lies well past the first page.
  EXPECT_GT(X.rbegin()->first.first, 2 * 800 / 16) << Xls.Read.substr(0, 200);
  std::size_t Book = 0;
  std::istringstream Lines(Ole);
  for (std::string L; std::getline(Lines, L);)
    if (L.rfind("STREAM Book ", 0) == 0) Book = std::stoul(L.substr(12));
  EXPECT_GT(Book, 4096u) << Ole;
}

// Fonts reach the sheets at the size the document gives them: a ten-point
// Arial run is 200 twips in the workbook and 10 points in the notebook, and
// a size between whole points keeps its whole part.
TEST(SheetHarness, RunsKeepTheirPointSizeInTheSheetFonts) {
  const std::string Rtf = WriteTempRtf(
      "sizes", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
               "\\pard\\f0\\fs20 Arial ten\\par"
               "\\pard\\f0\\fs20\\b Arial ten bold\\par"
               "\\pard\\plain\\f1\\fs17 Times eight and a half\\par"
               "\\pard\\plain\\f1\\fs36\\i Times eighteen italic\\par}");
  const TConverted Xls = Convert(Rtf, "xls", "xls");
  const TConverted Wb1 = Convert(Rtf, "wb1", "wb1");
  std::remove(Rtf.c_str());
  std::remove(Xls.File.c_str());
  std::remove(Wb1.File.c_str());
  const TCells X = ParseCells(Xls.Read, "|font=");
  struct {
    const char* Text;
    const char* Font;
  } Want[] = {
      {"Arial ten", "Arial,10,b0,i0"},
      {"Arial ten bold", "Arial,10,b1,i0"},
      {"Times eight and a half", "Times New Roman,8,b0,i0"},
      {"Times eighteen italic", "Times New Roman,18,b0,i1"},
  };
  for (auto& W : Want) {
    SCOPED_TRACE(W.Text);
    const TCell* C = nullptr;
    for (auto& [Pos, Cell] : X)
      if (Cell.Text == W.Text) C = &Cell;
    ASSERT_NE(C, nullptr) << Xls.Read;
    EXPECT_EQ(C->Font, W.Font);
  }
  // The notebook's font records: its default font, then the runs' fonts.
  EXPECT_NE(Wb1.Read.find("FONT Arial 10 0\n"), std::string::npos) << Wb1.Read;
  EXPECT_NE(Wb1.Read.find("FONT Arial 10 1\n"), std::string::npos) << Wb1.Read;
  EXPECT_NE(Wb1.Read.find("FONT Times New Roman 8 0\n"), std::string::npos) << Wb1.Read;
  EXPECT_NE(Wb1.Read.find("FONT Times New Roman 18 2\n"), std::string::npos) << Wb1.Read;
}

// Where LibreOffice is installed, it opens the WK1 and WB1 files and its
// CSV shows the document's text.
TEST(SheetHarness, LibreOfficeOpensTheLotusAndQuattroFiles) {
  if (sxtest::RunStatus("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "LibreOffice is not installed";
  const std::string Rtf = WriteTempRtf(
      "soffice", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 Quarterly report\\par"
                 "\\trowd\\cellx2000\\cellx4000\\intbl Region\\cell Sales\\cell\\row"
                 "\\trowd\\cellx2000\\cellx4000\\intbl North\\cell 1200\\cell\\row\\pard Done\\par}");
  for (const char* Format : {"wk1", "wb1"}) {
    SCOPED_TRACE(Format);
    const TConverted C = Convert(Rtf, Format, Format);
    // Handed a missing file, the office suite waits for ever.
    ASSERT_FALSE(C.File.empty());
    ASSERT_TRUE(std::filesystem::is_regular_file(C.File)) << C.File;
    const std::string Dir = SheetTempBase(std::string("csv_") + Format);
    const std::string Cmd = "mkdir -p '" + Dir + "' && cd '" + Dir +
                            "' && HOME='" + Dir + "' soffice --headless --convert-to csv --outdir '" + Dir + "' '" +
                            C.File + "' >/dev/null 2>&1";
    EXPECT_EQ(sxtest::RunStatus(Cmd, 300), 0);
    std::string Base = C.File.substr(C.File.rfind('/') + 1);
    Base = Base.substr(0, Base.rfind('.'));
    const std::string Csv = sxtest::ReadFile(Dir + "/" + Base + ".csv");
    for (const char* Text : {"Quarterly report", "Region", "Sales", "North", "1200", "Done"})
      EXPECT_NE(Csv.find(Text), std::string::npos) << Text << "\n" << Csv;
    std::remove(C.File.c_str());
    EXPECT_EQ(sxtest::RunStatus("rm -rf '" + Dir + "'"), 0);
  }
  std::remove(Rtf.c_str());
}
