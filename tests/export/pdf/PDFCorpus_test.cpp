// Real documents from several producers, rendered as the application does.
#include "PdfTestSupport.h"
#include "platform/rtl/CodePages.h"

using namespace pdftest;

TEST(TgtPDFEngine, CorpusDocumentsGiveValidFilesWithTheirText) {
#ifndef SX_CORPUS_DIR
  GTEST_SKIP() << "no corpus";
#else
  const char* const Files[] = {
      // Word, AbiWord and WordPad.
      "word_striprtf_example_text.rtf", "abiword_striprtf_french.rtf", "wordpad_rtfjs_colors.rtf",
  };
  const std::string Corpus = std::string(SX_CORPUS_DIR) + "/rtf/";
  if (!std::filesystem::exists(Corpus)) GTEST_SKIP() << "corpus absent";
  for (const char* Name : Files) {
    SCOPED_TRACE(Name);
    if (!std::filesystem::exists(Corpus + Name)) continue;
    TTempDir Dir;
    const TRichDocument Doc = RtfRead(ReadFile(Corpus + Name));
    TgtPDFEngine E;
    E.GetPreferences()->SetEmbedTrueTypeFonts(etfSubset);
    const std::string File = RenderDocument(E, Doc, Dir.File("doc"));
    std::string Report;
    EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
    EXPECT_GE(std::atoi(InfoValue(File, "Pages").c_str()), 1);
    // A4 in whole pixels at 96 per inch.
    EXPECT_EQ(InfoValue(File, "Page size").substr(0, 17), "595.274 x 841.889");
    // Pictures stand in the text as object characters.
    WideString Text = Doc.PlainText();
    std::erase(Text, u'\xFFFC');
    const std::string Got = Words(PdfToText(File)), Want = Words(UTF8Encode(Text));
    const std::size_t At = std::size_t(std::mismatch(Got.begin(), Got.end(), Want.begin(), Want.end()).first - Got.begin());
    const std::size_t From = At < 40 ? 0 : At - 40;
    EXPECT_TRUE(Got == Want) << "read back: ..." << Got.substr(From, 100) << "\ndocument:  ..." << Want.substr(From, 100);
  }
#endif
}
