// PdfTestSupport.h — writing PDF files with the application's settings and
// reading them back with the outside tools (qpdf, pdftotext, pdffonts,
// pdfinfo, pdfimages, pdftoppm).
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include "export/pdf/PdfEngine.h"
#include "platform/richedit/RichDocument.h"
#include "platform/richedit/RtfReader.h"
#include "support/TestFiles.h"

namespace pdftest {

// Standard output and errors of a command.
inline std::string Run(const std::string& Cmd, int* Status = nullptr) { return sxtest::RunCommand(Cmd + " 2>&1", Status); }

using sxtest::ReadFile;

// A fresh folder per test, removed at the end.
class TTempDir {
public:
  TTempDir() {
    const auto* T = ::testing::UnitTest::GetInstance()->current_test_info();
    FPath = std::filesystem::temp_directory_path() /
            ("sxpdf_" + std::to_string(getpid()) + "_" + T->test_suite_name() + "_" + T->name());
    std::filesystem::remove_all(FPath);
    std::filesystem::create_directories(FPath);
  }
  ~TTempDir() { std::filesystem::remove_all(FPath); }
  std::string File(const std::string& Name) const { return (FPath / Name).string(); }

private:
  std::filesystem::path FPath;
};

// The engine as the application sets it up: pixels, no dialog, no viewer.
inline void SetUpLikeTheApplication(TgtPDFEngine& E, const std::string& BaseName) {
  E.SetMeasurementUnit(muPixels);
  E.GetPreferences()->SetShowSetupDialog(false);
  E.GetPreferences()->SetOpenAfterCreate(false);
  E.SetFileName(BaseName);
}

// Renders a rich document into BaseName.pdf with the shell's rectangle.
inline std::string RenderDocument(TgtPDFEngine& E, const TRichDocument& Doc, const std::string& BaseName) {
  SetUpLikeTheApplication(E, BaseName);
  TgtRichDocumentTarget Target(Doc);
  E.BeginDoc();
  E.RenderRichEdit(Target, 0, 25, 25, 600, 800);
  E.EndDoc();
  return BaseName + ".pdf";
}

inline bool QpdfAccepts(const std::string& File, std::string* Report = nullptr, const std::string& Password = "") {
  int Rc = 0;
  const std::string Out =
      Run("qpdf --check " + (Password.empty() ? "" : "--password='" + Password + "' ") + "'" + File + "'", &Rc);
  if (Report) *Report = Out;
  return Rc == 0 && Out.find("No syntax or stream encoding errors") != std::string::npos;
}

inline std::string PdfToText(const std::string& File, const std::string& Options = "") {
  return Run("pdftotext -q " + Options + " '" + File + "' -");
}

// Words of a text, blanks collapsed: pdftotext breaks lines its own way.
inline std::string Words(const std::string& Text) {
  std::string Out;
  bool Gap = false;
  for (char C : Text) {
    if (C == ' ' || C == '\n' || C == '\r' || C == '\t' || C == '\f') Gap = !Out.empty();
    else {
      if (Gap) Out += ' ';
      Gap = false;
      Out += C;
    }
  }
  return Out;
}

inline std::string InfoValue(const std::string& File, const std::string& Key, const std::string& Extra = "") {
  const std::string Out = Run("pdfinfo " + Extra + " '" + File + "'");
  const auto P = Out.find(Key + ":");
  if (P == std::string::npos) return "";
  auto B = Out.find_first_not_of(' ', P + Key.size() + 1);
  return Out.substr(B, Out.find('\n', B) - B);
}

}  // namespace pdftest
