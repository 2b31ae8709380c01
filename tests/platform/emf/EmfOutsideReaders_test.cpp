// A recorded page opened by readers that are not ours: PIL reads the EMF
// header and the placeable WMF header, LibreOffice (when installed) renders
// the page. Each check skips when its reader is missing.
#include "platform/gdi/EmfRecorder.h"
#include "platform/gdi/Wmf.h"
#include "EmfTestPage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
const char* const Python = "/usr/bin/python3";

using sxtest::RunCommand;

bool HavePil() {
  return fs::exists(Python) && RunCommand(std::string(Python) + " -c 'import PIL; print(1)' 2>/dev/null") == "1\n";
}

// A 240 x 170 pixel page, saved as an EMF file.
std::string SavePage(const fs::path& Dir) {
  const TRect Frame(0, 0, 6352, 4494);  // 240 x 170 pixels at 96 dpi
  const std::string Name = (Dir / "page.emf").string();
  HDC Dc = CreateEnhMetaFileA(nullptr, Name.c_str(), &Frame, "Sourcelux\0page\0");
  DrawTestPage(Dc);
  DeleteEnhMetaFile(CloseEnhMetaFile(Dc));
  return Name;
}

struct TTempDir {
  fs::path Path = fs::temp_directory_path() / ("sx_emf_outside_" + std::to_string(::getpid()));
  TTempDir() { fs::create_directories(Path); }
  ~TTempDir() { fs::remove_all(Path); }
};

}  // namespace

TEST(EmfOutsideReaders, PilReadsTheFrameOfTheRecordedPage) {
  if (!HavePil()) GTEST_SKIP() << "PIL not installed";
  TTempDir Dir;
  const std::string Name = SavePage(Dir.Path);
  // PIL sizes an EMF from its frame at its own resolution; what matters is
  // that it recognises the file and the 240:170 proportion survives.
  const std::string Out = RunCommand(std::string(Python) + " -c \"from PIL import Image; im = Image.open('" +
                              Name + "'); print(im.format, im.size[0] * 170 == im.size[1] * 240 or "
                              "abs(im.size[0] / im.size[1] - 240 / 170) < 0.01)\" 2>&1");
  EXPECT_EQ(Out, "WMF True\n");
}

TEST(EmfOutsideReaders, PilReadsThePlaceableWmfOfThePage) {
  if (!HavePil()) GTEST_SKIP() << "PIL not installed";
  TTempDir Dir;
  HENHMETAFILE Mf = GetEnhMetaFileA(SavePage(Dir.Path).c_str());
  ASSERT_NE(Mf, nullptr);
  std::vector<Byte> W(GetWinMetaFileBits(Mf, 0, nullptr, MM_ANISOTROPIC, nullptr));
  GetWinMetaFileBits(Mf, UINT(W.size()), W.data(), MM_ANISOTROPIC, nullptr);
  DeleteEnhMetaFile(Mf);
  // Placeable header: 96 units per inch over the 240 x 170 window, with its checksum.
  TEmfWriter P;
  P.WriteDword(WMF_PLACEABLE_KEY);
  for (Word V : {Word(0), Word(0), Word(0), Word(240), Word(170), Word(96)}) P.WriteWord(V);
  P.WriteDword(0);
  Word Sum = 0;
  for (std::size_t I = 0; I < 20; I += 2) Sum ^= Word(P.Bytes()[I] | (P.Bytes()[I + 1] << 8));
  P.WriteWord(Sum);
  std::vector<Byte> File = P.TakeBytes();
  File.insert(File.end(), W.begin(), W.end());
  const std::string Name = (Dir.Path / "page.wmf").string();
  std::ofstream(Name, std::ios::binary).write(reinterpret_cast<const char*>(File.data()), std::streamsize(File.size()));
  const std::string Out = RunCommand(std::string(Python) + " -c \"from PIL import Image; im = Image.open('" +
                              Name + "'); print(im.format, im.size)\" 2>&1");
  // PIL sizes a placeable WMF at 72 dpi: 240 x 170 at 96 dpi is 180 x 127.
  EXPECT_EQ(Out, "WMF (180, 127)\n");
}

TEST(EmfOutsideReaders, LibreOfficeRendersTheRecordedPage) {
  const std::string Soffice = RunCommand("command -v soffice 2>/dev/null");
  if (Soffice.empty()) GTEST_SKIP() << "LibreOffice not installed";
  TTempDir Dir;
  const std::string Name = SavePage(Dir.Path);
  ASSERT_TRUE(fs::is_regular_file(Dir.Path / "page.emf"));
  RunCommand("cd '" + Dir.Path.string() + "' && soffice --headless --convert-to png page.emf >/dev/null 2>&1",
             nullptr, 300);
  const fs::path Png = Dir.Path / "page.png";
  ASSERT_TRUE(fs::exists(Png));
  if (HavePil()) {
    // Not blank: the blue rectangle and the text are there.
    const std::string Out = RunCommand(std::string(Python) + " -c \"from PIL import Image; im = Image.open('" +
                                Png.string() + "').convert('RGB'); print(len(im.getcolors(1 << 20)) > 2)\"");
    EXPECT_EQ(Out, "True\n");
  }
}
