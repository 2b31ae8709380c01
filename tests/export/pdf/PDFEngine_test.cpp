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
