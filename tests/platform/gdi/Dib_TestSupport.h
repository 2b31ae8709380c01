// Dib_TestSupport.h — helpers shared by the bitmap and codec tests: an
// outside reader (Python PIL) and small files in a scratch folder.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "platform/rtl/Types.h"
#include "support/TestFiles.h"

namespace dibtest {

constexpr const char* Python = "/usr/bin/python3";

inline bool HavePil() {
  static const bool Have =
      sxtest::RunStatus("/usr/bin/python3 -c 'import PIL.Image' >/dev/null 2>&1") == 0;
  return Have;
}

// Runs a Python script and returns what it prints; empty on failure.
inline std::string RunPython(const std::string& Script) {
  const std::filesystem::path File =
      std::filesystem::temp_directory_path() / ("sx_dib_" + std::to_string(getpid()) + ".py");
  { std::ofstream(File) << Script; }
  // Appended piece by piece: g++ 12 warns (wrongly) about the chained +.
  std::string Command = Python;
  Command += ' ';
  Command += File.string();
  Command += " 2>&1";
  const std::string Out = sxtest::RunCommand(Command);
  std::filesystem::remove(File);
  return Out;
}

class TScratchDir {
public:
  TScratchDir() {
    FPath = std::filesystem::temp_directory_path() /
            ("sx_dib_test_" + std::to_string(getpid()) + "_" + std::to_string(Counter()++));
    std::filesystem::create_directories(FPath);
  }
  ~TScratchDir() {
    std::error_code E;
    std::filesystem::remove_all(FPath, E);
  }
  std::string File(const std::string& Name) const { return (FPath / Name).string(); }

private:
  static int& Counter() {
    static int C = 0;
    return C;
  }
  std::filesystem::path FPath;
};

inline void WriteFile(const std::string& Name, const std::vector<Byte>& Data) {
  std::ofstream(Name, std::ios::binary)
      .write(reinterpret_cast<const char*>(Data.data()), std::streamsize(Data.size()));
}

using sxtest::ReadFileBytes;

// PIL's view of an image file: "W H MODE" on the first line, then one
// "rrggbb" per pixel, top row first, whitespace separated.
inline std::string PilPixelsScript(const std::string& File) {
  return "from PIL import Image\n"
         "im = Image.open('" + File + "')\n"
         "print(im.size[0], im.size[1], im.mode)\n"
         "rgb = im.convert('RGB')\n"
         "print(' '.join('%02x%02x%02x' % p for p in rgb.getdata()))\n";
}

struct TPilImage {
  int Width = 0, Height = 0;
  std::string Mode;
  std::vector<std::uint32_t> Pixels;  // 0x00RRGGBB
};

inline TPilImage ReadWithPil(const std::string& File) {
  TPilImage Img;
  const std::string Out = RunPython(PilPixelsScript(File));
  std::istringstream S(Out);
  S >> Img.Width >> Img.Height >> Img.Mode;
  std::string Hex;
  while (S >> Hex) Img.Pixels.push_back(std::uint32_t(std::stoul(Hex, nullptr, 16)));
  return Img;
}

}  // namespace dibtest
