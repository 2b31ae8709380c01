// convert-harness [--input-rtf] IN FORMAT OUT — a test driver that runs the
// application's conversion roads headless, with the application's settings.
//
// The input is imported into an editor set up as the main window's input
// editor (RTF through the RTF importer, other content as plain lines). Then:
//   html  the HTML road: the editor exports "tdy.html" into the data folder,
//         the tidier rewrites it in place with the road's command line, the
//         output editor loads it and Save Output writes it to OUT (".html"
//         added when OUT has no extension);
//   rtf   the editor exports RTF to OUT;
//   the engine formats (`--list`): the batch road: the editor exports RTF
//         into "Printer/print.rtf" of the data folder, the hidden rich-edit
//         control loads it and the format's engine renders it (pixels,
//         rectangle 25,25,600,800) with OUT as its file name; the engine
//         decides its output names.
// --input-rtf (engine formats only) leaves the editor out: "print.rtf" is
// the input's own bytes, so an engine's tests can give it what the rich edit
// reads from a whole document (tables, other code pages) that the editor
// does not carry.
// The output files are printed one a line. Exit 0 on success; otherwise one
// line on stderr and a non-zero status (1 conversion failed, 2 usage,
// 3 format not available).
//
// Each run has a data folder of its own (the shipped tidier configuration
// and a "tidy" that is the system's tidier) and a settings store of its own,
// so parallel runs never share "tdy.html" or "print.rtf" and every run sees
// a fresh installation's editor options.
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include "HarnessFormats.h"
#include "HarnessRoads.h"
#include "HarnessTidy.h"
#include "editor/base/EdLibrary.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Heap.h"

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string S) {
  std::transform(S.begin(), S.end(), S.begin(), [](unsigned char C) { return char(std::tolower(C)); });
  return S;
}

// A private folder for one run: "data/" as the program ships it and a
// settings store; removed with everything left in it.
class TRunFolder {
public:
  TRunFolder() {
    std::string Pattern = GetTempPath() + "sx_harness_XXXXXX";
    if (!mkdtemp(Pattern.data())) HarnessFail(1, "cannot create a temporary folder under " + GetTempPath());
    FRoot = Pattern + "/";
    FData = FRoot + "data/";
    std::error_code Ec;
    fs::create_directories(FData, Ec);
    if (!Ec) fs::create_directories(FRoot + "config", Ec);
    if (Ec) HarnessFail(1, "cannot create " + FData + ": " + Ec.message());
    // The settings store follows XDG_CONFIG_HOME; nothing has read it yet.
    setenv("XDG_CONFIG_HOME", (FRoot + "config").c_str(), 1);
  }
  ~TRunFolder() {
    std::error_code Ec;
    fs::remove_all(FRoot, Ec);
  }
  TRunFolder(const TRunFolder&) = delete;
  TRunFolder& operator=(const TRunFolder&) = delete;

  // The data folder, with its trailing separator.
  const std::string& Data() const { return FData; }

  // The tidier and its configuration, where the HTML road expects them.
  void InstallTidier(const std::string& Tidy) {
    std::error_code Ec;
    fs::create_symlink(Tidy, FData + "tidy", Ec);
    if (!Ec) fs::copy_file(fs::path(SX_DATA_DIR) / "tdy_config.txt", FData + "tdy_config.txt", Ec);
    if (Ec) HarnessFail(1, "cannot set up the tidier in " + FData + ": " + Ec.message());
  }

private:
  std::string FRoot, FData;
};

int Run(int Argc, char** Argv) {
  if (Argc == 2 && std::string(Argv[1]) == "--list") {
    for (const auto& F : HarnessEngineFormats()) std::printf("%s\n", F.Name.c_str());
    return 0;
  }
  const bool InputRtf = Argc == 5 && std::string(Argv[1]) == "--input-rtf";
  if (Argc != 4 && !InputRtf) HarnessFail(2, "usage: convert-harness [--input-rtf] IN FORMAT OUT   (or --list)");
  const int First = InputRtf ? 2 : 1;
  const std::string In = Argv[First], Format = Lower(Argv[First + 1]), Out = Argv[First + 2];
  const THarnessFormat* Engine = nullptr;
  for (const auto& F : HarnessEngineFormats())
    if (F.Name == Format) Engine = &F;
  if (!Engine && Format != "html" && Format != "rtf") {
    std::string Known = " html rtf";
    for (const auto& F : HarnessEngineFormats()) Known += " " + F.Name;
    HarnessFail(3, "unknown format " + Format + " (available:" + Known + ")");
  }
  if (InputRtf && !Engine) HarnessFail(2, "--input-rtf applies to the engine formats only");
  std::string Tidy;
  if (Format == "html" && (Tidy = FindSystemTidy()).empty())
    HarnessFail(3, "format html needs the tidier (tidy), which is not installed");
  if (!FileExists(In)) HarnessFail(1, "no input file " + In);

  TRunFolder Folder;
  if (Format == "html") Folder.InstallTidier(Tidy);
  // As the program does: the editor library starts before the first editor
  // and ends (saving and freeing its global options into this run's
  // settings store) after the last one.
  TEditorLibrary EditorLibrary;
  // The form outlives the controls that the road creates on it.
  TForm Form(nullptr);
  const THarnessInput Input = InputRtf ? hiInputRtf : hiEditor;
  for (const std::string& Name : ConvertDocument(&Form, Folder.Data(), In, Input, Format, Engine, Out))
    std::printf("%s\n", Name.c_str());
  return 0;
}

}  // namespace

// A message as the one line the harness prints: its line breaks become
// blanks.
static std::string OneLine(const std::string& S) {
  std::string Out;
  for (char C : S) {
    if (C == '\r' || C == '\n') {
      if (!Out.empty() && Out.back() != ' ') Out += ' ';
      continue;
    }
    Out += C;
  }
  return Out;
}

int main(int Argc, char** Argv) {
  // As the program does.
  KeepLargeBlocksOutOfTheHeap();
  try {
    return Run(Argc, Argv);
  } catch (const THarnessError& E) {
    std::fprintf(stderr, "convert-harness: %s\n", E.Message.c_str());
    return E.Status;
  } catch (const Exception& E) {
    std::fprintf(stderr, "convert-harness: %s\n", OneLine(E.Message()).c_str());
    return 1;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "convert-harness: %s\n", E.what());
    return 1;
  }
}
