#include "MainWindowFixture.h"

#include <unistd.h>
#include "bars/items/dxBarItem.h"
#include "bars/model/dxBarManager.h"
#include "editor/base/EdLibrary.h"
#include "platform/forms/FormLoader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Window.h"

namespace sxtest {

std::string SystemTidy() {
  for (const char* P : {"/usr/bin/tidy", "/bin/tidy"})
    if (access(P, X_OK) == 0) return P;
  return "";
}

MainWindowTest::MainWindowTest() = default;
MainWindowTest::~MainWindowTest() = default;

void MainWindowTest::SetUp() {
  RegisterAppClasses();
  ResetWindowSystem();
  HeadlessDisplay().SetScreenSize({1024, 768});
  Config = std::make_unique<TEnvVar>("XDG_CONFIG_HOME", Dir.Root("config"));
  Library = std::make_unique<TEditorLibrary>();
  App = std::make_unique<TApplication>(nullptr);
  SetFormDescriptionDir(SX_SOURCE_DIR "/resources");
  std::string Text = ReadFile(SX_SOURCE_DIR "/resources/TMainForm.dfm");
  const std::string Guard = "object InstanceControl: TadpInstanceControl\n    Enabled = True";
  const auto At = Text.find(Guard);
  ASSERT_NE(At, std::string::npos) << "the description places no enabled guard";
  Text.replace(At, Guard.size(), "object InstanceControl: TadpInstanceControl\n    Enabled = False");
  RegisterFormDescription("TMainForm", Text);
  namespace fs = std::filesystem;
  for (const char* F : {"html.sch", "tdy_config.txt"})
    fs::copy_file(fs::path(SX_SOURCE_DIR) / "data" / F, Dir.Data(F));
  if (!SystemTidy().empty()) fs::create_symlink(SystemTidy(), Dir.Data("tidy"));
}

void MainWindowTest::TearDown() {
  delete Main;
  Main = nullptr;
  UnregisterFormDescription("TMainForm");
  App.reset();
  Library.reset();
  Config.reset();
  ResetWindowSystem();
}

TMainForm* MainWindowTest::CreateMainWindow() {
  try {
    // As the program makes it: the application's main form (the tray
    // icon hides and shows that one).
    App->CreateForm(Main);
  } catch (const Exception& E) {
    ADD_FAILURE() << "the main window did not open: " << E.Message();
    throw;
  }
  Main->Show();
  HeadlessDisplay().ProcessMessages();
  return Main;
}

void MainWindowTest::Click(const char* ItemName) {
  TdxBarItem* I = Main->Item(ItemName);
  ASSERT_NE(I, nullptr) << ItemName;
  I->Click();
  HeadlessDisplay().ProcessMessages();
}

}  // namespace sxtest
