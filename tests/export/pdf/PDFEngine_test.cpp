#include "PdfTestSupport.h"
#include "../../platform/richedit/Layout_TestSupport.h"

using namespace pdftest;

namespace {
TRichCharFormat Face(const char16_t* Name, int HalfPoints = 24, bool Bold = false, bool Italic = false) {
  TRichCharFormat F;
  F.Face = Name;
  F.Size = HalfPoints;
  F.Bold = Bold;
  F.Italic = Italic;
  F.Charset = 0;
  return F;
}
}  // namespace

TEST(TgtPDFEngine, TextDocumentIsAValidFileWhoseTextReadsBack) {
  TTempDir Dir;
  richtest::TDocBuilder B;
  B.Para(u"Hello PDF world", {}, Face(u"Arial"));
  B.Para(u"Second line (with parentheses) and a backslash \\ here", {}, Face(u"Times New Roman"));
  TgtPDFEngine E;
  const std::string File = RenderDocument(E, B.Done(), Dir.File("doc"));
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
  EXPECT_EQ(Words(PdfToText(File)), "Hello PDF world Second line (with parentheses) and a backslash \\ here");
  EXPECT_EQ(InfoValue(File, "Pages"), "1");
  EXPECT_EQ(InfoValue(File, "PDF version"), "1.4");
}

namespace {
// Object offsets of the cross-reference table, read back from the file.
struct TXref {
  std::vector<long> Offsets;   // index = object number
  bool EntriesAre20Bytes = true;
};

TXref ReadXref(const std::string& Pdf) {
  TXref X;
  const auto Start = Pdf.rfind("startxref\r\n");
  const long At = std::stol(Pdf.substr(Start + 11));
  std::size_t P = std::size_t(At) + 5;   // "xref\r\n"
  P = Pdf.find("\r\n", P) + 2;           // "0 N\r\n"
  const auto Head = Pdf.substr(std::size_t(At) + 6, P - std::size_t(At) - 8);
  const int Count = std::stoi(Head.substr(Head.find(' ') + 1));
  for (int I = 0; I < Count; ++I, P += 20) {
    const std::string E = Pdf.substr(P, 20);
    X.EntriesAre20Bytes = X.EntriesAre20Bytes && E.size() == 20 && E.substr(18) == "\r\n" && E[10] == ' ';
    X.Offsets.push_back(std::stol(E.substr(0, 10)));
  }
  return X;
}

// The engine with its content streams left uncompressed, for reading.
void Plain(TgtPDFEngine& E) { E.GetCompression()->Enabled = false; }

std::string ContentOf(const std::string& Pdf) {
  const auto S = Pdf.find("stream\r\n", Pdf.find("/Length"));
  return Pdf.substr(S + 8, Pdf.find("\r\nendstream", S) - S - 8);
}
}  // namespace

TEST(TgtPDFEngine, EmptyPageHasTheFixedObjectsAndAnExactCrossReferenceTable) {
  TTempDir Dir;
  TgtPDFEngine E;
  SetUpLikeTheApplication(E, Dir.File("empty"));
  E.BeginDoc();
  E.EndDoc();
  const std::string Pdf = ReadFile(Dir.File("empty.pdf"));
  EXPECT_EQ(Pdf.substr(0, 17), std::string("%PDF-1.4\r\n%\xE2\xE3\xCF\xD3\r\n", 17));
  const TXref X = ReadXref(Pdf);
  EXPECT_TRUE(X.EntriesAre20Bytes);
  // Catalog, pages, info, procset, resources, page 6, contents 7, length 8.
  ASSERT_EQ(X.Offsets.size(), 9u);
  for (std::size_t N = 1; N < X.Offsets.size(); ++N)
    EXPECT_EQ(Pdf.substr(std::size_t(X.Offsets[N]), std::to_string(N).size() + 6), std::to_string(N) + " 0 obj")
        << "object " << N;
  EXPECT_NE(Pdf.find("/Size 9"), std::string::npos);
  EXPECT_EQ(Pdf.find("/ID"), std::string::npos);
  EXPECT_EQ(Pdf.substr(Pdf.size() - 5), "%%EOF");
  EXPECT_TRUE(QpdfAccepts(Dir.File("empty.pdf")));
}

TEST(TgtPDFEngine, DocumentWithNoRenderedPageIsStillValid) {
  TTempDir Dir;
  TgtPDFEngine E;
  SetUpLikeTheApplication(E, Dir.File("none"));
  E.SetPagesToRender("5");
  E.BeginDoc();
  E.EndDoc();
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(Dir.File("none.pdf"), &Report)) << Report;
  EXPECT_NE(ReadFile(Dir.File("none.pdf")).find("/Type/Pages/Count 0/Kids []"), std::string::npos);
}

TEST(TgtPDFEngine, ContentStartsWithTheWhiteBackgroundAndScaleOne) {
  TTempDir Dir;
  TgtPDFEngine E;
  Plain(E);
  SetUpLikeTheApplication(E, Dir.File("bg"));
  E.BeginDoc();
  E.EndDoc();
  const std::string C = ContentOf(ReadFile(Dir.File("bg.pdf")));
  EXPECT_EQ(C.rfind("q 1.0000 0 0 1.0000 0 0 cm\r\n\r\nq\r\n1.0000 1.0000 1.0000 rg n 0.0000 0.0000 ", 0), 0u) << C;
  EXPECT_NE(ReadFile(Dir.File("bg.pdf")).find("/Dur 1/Trans <</Type/Trans/D 1/S/R >>"), std::string::npos);
}

TEST(TgtPDFEngine, FormatNumberHasFourDecimalsAndAFullStop) {
  const std::pair<double, const char*> Cases[] = {
      {612, "612.0000"}, {0.75, "0.7500"}, {-1.5, "-1.5000"}, {-0.00001, "0.0000"}, {1.23456, "1.2346"}};
  for (auto& [V, Want] : Cases) EXPECT_EQ(TgtCustomPDFEngine::FormatNumber(V), Want) << V;
}

TEST(TgtPDFEngine, ZoneTextFollowsTheBias) {
  const std::pair<int, const char*> Cases[] = {{-330, "+05'30'"}, {300, "-05'00'"}, {0, "+00'00'"}, {-60, "+01'00'"}};
  for (auto& [Bias, Want] : Cases) EXPECT_EQ(TgtCustomPDFEngine::ZoneText(Bias), Want) << Bias;
}

TEST(TgtPDFEngine, CreationDateCarriesTheLocalOffsetInForceNow) {
  TTempDir Dir;
  TgtPDFEngine E;
  SetUpLikeTheApplication(E, Dir.File("tz"));
  E.BeginDoc();
  const std::time_t Now = std::time(nullptr);
  std::tm Local{};
  localtime_r(&Now, &Local);
  const std::string Zone = TgtCustomPDFEngine::ZoneText(int(-Local.tm_gmtoff / 60));
  EXPECT_EQ(E.GetCreationDate().substr(16), Zone);
  E.EndDoc();
}

namespace {
// Items of every kind that open clips, injected on each page.
class TClipEngine : public TgtPDFEngine {
public:
  void BeginPage() override {
    TgtPDFEngine::BeginPage();
    TgtClipItem Set;
    Set.CombineMode = 5;
    Set.Rects = {TRect(10, 10, 100, 100)};
    EncodeClipItem(&Set);
    TgtClipItem And;
    And.CombineMode = 1;
    And.Rects = {TRect(0, 0, 50, 50), TRect(0, 0, 20, 20), TRect(30, 30, 50, 50)};
    EncodeClipItem(&And);
    TgtPathItem Begin, Close, Clip;
    Begin.PathCommand = pcBeginPath;
    EncodePathItem(&Begin);
    TPen Pen;
    EncodeLine(&Pen, 0, 0, 10, 10);
    EncodeLine(&Pen, 10, 10, 0, 10);
    Close.PathCommand = pcCloseFigure;
    EncodePathItem(&Close);
    Clip.PathCommand = pcSelectClipPath;
    Clip.CombineMode = 1;
    EncodePathItem(&Clip);
  }
};

int Balance(const std::string& Content) {
  int Depth = 0, Min = 0;
  std::istringstream S(Content);
  std::string Tok;
  while (S >> Tok) {
    if (Tok == "q") ++Depth;
    else if (Tok == "Q") --Depth;
    Min = std::min(Min, Depth);
  }
  return Min < 0 ? -1000 : Depth;
}
}  // namespace

TEST(TgtPDFEngine, ClipsLeftOpenAreClosedAtTheEndOfThePage) {
  TTempDir Dir;
  TClipEngine E;
  Plain(E);
  SetUpLikeTheApplication(E, Dir.File("clip"));
  E.BeginDoc();
  E.TextOut(30, 30, u"inside");
  E.EndDoc();
  const std::string C = ContentOf(ReadFile(Dir.File("clip.pdf")));
  EXPECT_NE(C.find("W* n"), std::string::npos);
  EXPECT_EQ(Balance(C), 0) << C;
  EXPECT_TRUE(QpdfAccepts(Dir.File("clip.pdf")));
}

TEST(TgtPDFEngine, ShapesWriteTheirOperators) {
  TTempDir Dir;
  TgtPDFEngine E;
  Plain(E);
  SetUpLikeTheApplication(E, Dir.File("shapes"));
  E.BeginDoc();
  E.GetBrush()->SetColor(clBlack);
  E.GetPen()->SetStyle(psDot);
  E.Line(0, 0, 100, 100);
  E.GetPen()->SetStyle(psSolid);
  E.Rectangle(true, 10, 10, 50, 50);
  E.Ellipse(true, 60, 60, 120, 100);
  E.GetBrush()->SetStyle(bsCross);
  E.Rectangle(true, 200, 200, 250, 250);
  E.Rectangle(true, 300, 300, 350, 350);
  E.GetBrush()->SetStyle(bsFDiagonal);
  E.Rectangle(true, 400, 400, 450, 450);
  E.EndDoc();
  const std::string Pdf = ReadFile(Dir.File("shapes.pdf"));
  // Forward diagonals: two strokes of the same slope that tile into lines.
  EXPECT_NE(Pdf.find("2 J 2 j 0.3 w 0 2.5 m 2.5 0 l 5 2.5 m 2.5 5 l S"), std::string::npos);
  const std::string C = ContentOf(Pdf);
  EXPECT_NE(C.find("[3 4]0 d "), std::string::npos);
  EXPECT_NE(C.find(" re f "), std::string::npos);
  EXPECT_NE(C.find(" c "), std::string::npos);
  EXPECT_NE(C.find("/CSP cs 0.0000 0.0000 0.0000 /PC scn "), std::string::npos) << C;
  EXPECT_EQ(Balance(C), 0);
  // One pattern object per hatch, however many shapes use it.
  std::size_t N = 0;
  for (auto P = Pdf.find("/PaintType 2"); P != std::string::npos; P = Pdf.find("/PaintType 2", P + 1)) ++N;
  EXPECT_EQ(N, 2u);
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(Dir.File("shapes.pdf"), &Report)) << Report;
}

TEST(TgtPDFEngine, OutlineEntriesBecomeBookmarks) {
  TTempDir Dir;
  TgtPDFEngine E;
  SetUpLikeTheApplication(E, Dir.File("toc"));
  E.BeginDoc();
  E.TextOut(10, 10, u"first page");
  const Integer A = E.AddOutline(u"Alpha", -1, 1, 0);
  const Integer B = E.AddOutline(u"Beta", -1, 1, 100);
  E.AddOutline(u"Beta one", B, 1, 200);
  E.AddOutline(u"Beta two", B, 1, 300);
  E.AddOutlineLink(u"Gamma", -1, "http://example.com/");
  E.EndDoc();
  ASSERT_GE(A, 0);
  const std::string File = Dir.File("toc.pdf");
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
  const std::string Json = pdftest::Run("qpdf --json --json-key=outlines '" + File + "'");
  for (const char* Title : {"\"Alpha\"", "\"Beta\"", "\"Beta one\"", "\"Beta two\"", "\"Gamma\""})
    EXPECT_NE(Json.find(Title), std::string::npos) << Title << Json;
  const std::string Pdf = ReadFile(File);
  EXPECT_NE(Pdf.find("/Type/Outlines/First"), std::string::npos);
  EXPECT_NE(Pdf.find("/Count 3\r\n"), std::string::npos);   // three top-level entries
}

// With OutputToUserStream the caller's stream takes the document after what
// it held (offsets count from the document's own start) and no file is made.
TEST(TgtPDFEngine, UserStreamReceivesTheDocument) {
  TTempDir Dir;
  TgtPDFEngine E(nullptr);
  SetUpLikeTheApplication(E, Dir.File("doc"));
  TMemoryStream User;
  User.WriteBuffer("keep", 4);
  E.GetPreferences()->SetOutputToUserStream(true);
  E.SetUserStream(&User);
  E.BeginDoc();
  E.TextOut(40, 40, u"Streamed words");
  E.EndDoc();
  EXPECT_FALSE(std::filesystem::exists(Dir.File("doc.pdf")));
  EXPECT_TRUE(E.GetOutputFiles().empty());
  const std::string Got(static_cast<const char*>(User.Memory()), std::size_t(User.GetSize()));
  ASSERT_GT(Got.size(), 4u);
  EXPECT_EQ(Got.substr(0, 9), "keep%PDF-");
  {
    std::ofstream(Dir.File("copy.pdf"), std::ios::binary) << Got.substr(4);
  }
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(Dir.File("copy.pdf"), &Report)) << Report;
  EXPECT_NE(PdfToText(Dir.File("copy.pdf")).find("Streamed words"), std::string::npos);

  // Without a stream to write to the document does not start.
  E.SetUserStream(nullptr);
  EXPECT_THROW(E.BeginDoc(), EStreamError);
  EXPECT_FALSE(E.IsDocumentOpen());
}
