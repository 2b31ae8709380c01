// AppTestSupport.h — what the program's tests share: a private program
// folder (AppDir) with its data folder, removed afterwards.
#pragma once
#include <filesystem>
#include <string>
#include "app/public_unit.h"
#include "support/ScratchDir.h"

namespace sxtest {

// Places the program in a fresh scratch folder for the test's lifetime:
// AppDir is the folder, DataDir its "data/" (created empty).
class TAppDirScope {
public:
  explicit TAppDirScope(const std::string& Tag) : FDir(Tag) {
    std::filesystem::create_directories(FDir.Path() / "data");
    SetAppDir(FDir.Path().string());
  }
  ~TAppDirScope() { SetAppDir(""); }
  std::string Data(const std::string& Name = "") const { return (FDir.Path() / "data" / Name).string(); }
  std::string Root(const std::string& Name = "") const { return (FDir.Path() / Name).string(); }

private:
  TScratchDir FDir;
};

}  // namespace sxtest
