// MainWindowFixture.h — the main window as the program makes it, headless:
// the program's classes registered, its form descriptions read from the
// source tree, a private program folder whose data folder holds the
// shipped scheme and tidier configuration and a "tidy" that is the
// system's tidier, and a private settings store.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include "AppTestSupport.h"
#include "app/start.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "support/ScopedEnv.h"
#include "support/TestFiles.h"

class TEditorLibrary;

namespace sxtest {

// The system's tidier; '' when it is not installed.
std::string SystemTidy();

class MainWindowTest : public ::testing::Test {
protected:
  MainWindowTest();
  ~MainWindowTest() override;
  void SetUp() override;
  void TearDown() override;
  // Makes the main window (after the test has set up the data folder).
  // Its single-instance guard is off: the tests of this program run side
  // by side, each a copy of the same executable (the guard's own tests
  // start the program itself).
  TMainForm* CreateMainWindow();
  // Clicks a bar item as its menu or button would.
  void Click(const char* ItemName);
  std::string Corpus(const std::string& Name) const { return std::string(SX_CORPUS_DIR) + "/rtf/" + Name; }
  bool HaveCorpus() const { return std::filesystem::exists(SX_CORPUS_DIR "/rtf"); }

  TAppDirScope Dir{"mainwindow"};
  TScratchDir Out{"mainwindow-out"};
  std::unique_ptr<TEnvVar> Config;
  std::unique_ptr<TEditorLibrary> Library;
  std::unique_ptr<TApplication> App;
  TMainForm* Main = nullptr;
};

}  // namespace sxtest
