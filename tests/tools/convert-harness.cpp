// convert-harness IN FORMAT OUT — a test driver that runs the application's
// conversion roads headless, with the application's engine settings.
//
// Engine formats: the input goes into a temporary "print.rtf", a hidden
// rich-edit control on a form of its own loads it, and the format's engine
// renders it (pixels, rectangle 25,25,600,800) into OUT; the engine decides
// its output names, which are printed one a line. `--list` prints the
// formats. Exit 0 on success; otherwise one line on stderr and a non-zero
// status (1 conversion failed, 2 usage, 3 format not available).
//
// FIXME: the editor (TDCMemo with ImportFromFile, ExportToRtfFile and
// ExportToHtmlFile) is not built yet. Until it is, html and rtf answer
// "not available" and "print.rtf" is the input's own bytes, so the engine
// formats take RTF (or plain text) directly; with the editor, the input is
// imported into it and exported as RTF into "print.rtf".
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include "HarnessFormats.h"
#include "platform/forms/Forms.h"
#include "platform/richedit/RichEdit.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"

namespace {
const char* const EditorFormats[] = {"html", "rtf"};

struct THarnessError {
  int Status;
  std::string Message;
};

[[noreturn]] void Fail(int Status, const std::string& Message) { throw THarnessError{Status, Message}; }

std::string Lower(std::string S) {
  std::transform(S.begin(), S.end(), S.begin(), [](unsigned char C) { return char(std::tolower(C)); });
  return S;
}

// A private temporary folder, removed with what is left in it.
class TTempDir {
public:
  TTempDir() {
    std::string Pattern = GetTempPath() + "sx_harness_XXXXXX";
    if (!mkdtemp(Pattern.data())) Fail(1, "cannot create a temporary folder under " + GetTempPath());
    FDir = Pattern + "/";
  }
  ~TTempDir() {
    DeleteFile(FDir + "print.rtf");
    RemoveDir(FDir);
  }
  std::string File(const char* Name) const { return FDir + Name; }

private:
  std::string FDir;
};

void CopyFileBytes(const std::string& From, const std::string& To) {
  std::ifstream In(From, std::ios::binary);
  if (!In) Fail(1, "cannot read " + From);
  std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  std::ofstream Out(To, std::ios::binary);
  Out.write(Bytes.data(), std::streamsize(Bytes.size()));
  if (!Out) Fail(1, "cannot write " + To);
}

int ConvertWithEngine(const THarnessFormat& Format, const std::string& In, const std::string& Out) {
  TTempDir Temp;
  const std::string PrintRtf = Temp.File("print.rtf");
  CopyFileBytes(In, PrintRtf);

  // Control first, then its form, however the conversion ends.
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  std::unique_ptr<TRichEdit> RichEdit = std::make_unique<TRichEdit>(nullptr);
  RichEdit->SetParent(Form.get());
  RichEdit->SetVisible(false);
  RichEdit->GetLines()->LoadFromFile(PrintRtf);
  if (RichEdit->GetTextLen() == 0) Fail(1, "the input " + In + " has no text: nothing converted");

  std::unique_ptr<TgtCustomDocumentEngine> Engine = Format.Make();
  Engine->SetMeasurementUnit(muPixels);
  Engine->GetPreferences()->SetShowSetupDialog(false);
  Engine->GetPreferences()->SetOpenAfterCreate(false);
  Engine->SetFileName(Out);
  Engine->BeginDoc();
  if (!Engine->IsDocumentOpen()) Fail(1, "the " + Format.Name + " engine opened no document for " + Out);
  Engine->RenderRichEdit(RichEdit.get(), 0, 25, 25, 600, 800);
  Engine->EndDoc();
  if (Engine->GetDocumentState() != dsFinished || Engine->GetOutputFiles().empty())
    Fail(1, "the " + Format.Name + " engine wrote no file for " + Out);
  for (const AnsiString& Name : Engine->GetOutputFiles()) std::printf("%s\n", Name.c_str());
  return 0;
}

int Run(int Argc, char** Argv) {
  if (Argc == 2 && std::string(Argv[1]) == "--list") {
    for (const auto& F : HarnessEngineFormats()) std::printf("%s\n", F.Name.c_str());
    return 0;
  }
  if (Argc != 4) Fail(2, "usage: convert-harness IN FORMAT OUT   (or --list)");
  const std::string In = Argv[1], Format = Lower(Argv[2]), Out = Argv[3];
  if (!FileExists(In)) Fail(1, "no input file " + In);
  for (const char* Name : EditorFormats)
    if (Format == Name) Fail(3, "format " + Format + " needs the editor, which is not built yet");
  for (const auto& F : HarnessEngineFormats())
    if (F.Name == Format) return ConvertWithEngine(F, In, Out);
  std::string Known;
  for (const auto& F : HarnessEngineFormats()) Known += " " + F.Name;
  Fail(3, "unknown or unavailable format " + Format + " (available:" + (Known.empty() ? " none" : Known) + ")");
}
}  // namespace

int main(int Argc, char** Argv) {
  try {
    return Run(Argc, Argv);
  } catch (const THarnessError& E) {
    std::fprintf(stderr, "convert-harness: %s\n", E.Message.c_str());
    return E.Status;
  } catch (const Exception& E) {
    std::fprintf(stderr, "convert-harness: %s\n", E.Message().c_str());
    return 1;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "convert-harness: %s\n", E.what());
    return 1;
  }
}
