// ScratchDir.h — a private scratch folder for a test, removed afterwards
// with everything in it.
#pragma once
#include <unistd.h>

#include <filesystem>
#include <string>

namespace sxtest {

// A fresh folder under the temporary folder, removed with everything in it.
class TScratchDir {
public:
  explicit TScratchDir(const std::string& Tag) {
    static int Serial = 0;
    FPath = std::filesystem::temp_directory_path() /
            ("sx-" + Tag + "-" + std::to_string(getpid()) + "-" + std::to_string(++Serial));
    std::filesystem::remove_all(FPath);
    std::filesystem::create_directories(FPath);
  }
  ~TScratchDir() {
    std::error_code Ec;
    std::filesystem::remove_all(FPath, Ec);
  }
  const std::filesystem::path& Path() const { return FPath; }
  std::string operator/(const std::string& Name) const { return (FPath / Name).string(); }

private:
  std::filesystem::path FPath;
};

}  // namespace sxtest
