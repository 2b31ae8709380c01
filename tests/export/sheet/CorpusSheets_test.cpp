// Real RTF documents from several producers, rendered through the rich-edit
// control into each sheet format and read back by the outside readers.
#include <gtest/gtest.h>
#include "SheetSupport.h"
#include "platform/forms/Forms.h"
#include "platform/richedit/RichEdit.h"

namespace {
const char* const Documents[] = {
    "abiword_striprtf_french.rtf",            // AbiWord
    "libreoffice_striprtf_calcium_score.rtf", // LibreOffice, numbers in tables
    "pages_striprtf_table_sample.rtf",        // Pages
    "pandocwriter_pandoc_writer.rtf",         // pandoc
    "googledocs_rtfpipe_list.rtf",            // Google Docs
};

// The longest plain word of the document's first lines, which must reach a cell.
std::string ProbeWord(TRichEdit* RichEdit) {
  std::string Best;
  TStrings* Lines = RichEdit->GetLines();
  for (Integer L = 0; L < Lines->GetCount() && L < 20; ++L) {
    const std::string Line = Lines->GetStrings(L);
    std::string Word;
    for (char C : Line + " ") {
      if ((C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z')) Word += C;
      else {
        if (Word.size() > Best.size()) Best = Word;
        Word.clear();
      }
    }
  }
  return Best;
}

template <class TEngine>
std::string Convert(const std::string& Rtf, const std::string& Name, std::string& Probe) {
  auto Form = std::make_unique<TForm>(nullptr);
  auto RichEdit = std::make_unique<TRichEdit>(nullptr);
  RichEdit->SetParent(Form.get());
  RichEdit->SetVisible(false);
  RichEdit->GetLines()->LoadFromFile(Rtf);
  Probe = ProbeWord(RichEdit.get());
  TTestSheetEngine<TEngine> E;
  E.GetPreferences()->SetAutoFormatCells(true);
  const std::string Base = SheetTempBase(Name);
  E.SetFileName(Base);
  E.BeginDoc();
  E.RenderRichEdit(RichEdit.get(), 0, 25, 25, 600, 800);
  E.EndDoc();
  EXPECT_EQ(E.GetDocumentState(), dsFinished);
  return Base + "." + E.GetFileExtension();
}
}  // namespace

TEST(SheetEnginesOnTheCorpus, EveryFormatReadsBackWithTheDocumentsText) {
#ifndef SX_CORPUS_DIR
  GTEST_SKIP() << "no corpus";
#else
  const std::string Dir = std::string(SX_CORPUS_DIR) + "/rtf/";
  if (!FileExists(Dir + Documents[0])) GTEST_SKIP() << "corpus absent";
  for (const char* Doc : Documents) {
    SCOPED_TRACE(Doc);
    std::string Probe;
    struct {
      const char* Kind;
      std::string File;
    } Files[] = {
        {"xls", Convert<TgtExcelEngine>(Dir + Doc, "corpus", Probe)},
        {"wk1", Convert<TgtLotusEngine>(Dir + Doc, "corpus", Probe)},
        {"wb1", Convert<TgtQuattroProEngine>(Dir + Doc, "corpus", Probe)},
    };
    ASSERT_FALSE(Probe.empty());
    for (auto& F : Files) {
      SCOPED_TRACE(F.Kind);
      const std::string Out = RunSheetReader(F.Kind, F.File);
      EXPECT_EQ(Out.find("EXIT"), std::string::npos) << Out.substr(0, 400);
      EXPECT_NE(Out.find(Probe), std::string::npos) << Probe << "\n" << Out.substr(0, 400);
      if (std::string(F.Kind) == "xls") {
        const std::string Ole = RunSheetReader("ole", F.File);
        EXPECT_NE(Ole.find("STREAM Book"), std::string::npos) << Ole;
      }
      std::remove(F.File.c_str());
    }
  }
#endif
}
