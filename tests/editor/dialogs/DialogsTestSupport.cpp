#include "DialogsTestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "editor/base/OptionExt.h"
#include "editor/dialogs/SearchDialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Timers.h"
#include "platform/win/Win.h"

void TEditorDialogsTest::SetUp() {
  char Tmpl[] = "/tmp/sx_eddlg_XXXXXX";
  FDir = ::mkdtemp(Tmpl);
  if (const char* Old = std::getenv("XDG_CONFIG_HOME")) {
    FHadConfig = true;
    FOldConfig = Old;
  }
  ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
  RegResetStore();
  RegisterFormsClasses();
  RegisterSearchDialogs();
  ResetWindowSystem();
  UseVirtualClock();
  HeadlessDisplay().SetWorkArea({0, 0, 1024, 738});
  App = std::make_unique<TApplication>(nullptr);
  App->SetTitle("Editor dialogs test");
}

void TEditorDialogsTest::TearDown() {
  App.reset();
  HeadlessDisplay().SetIdleHandler(nullptr);
  ResetWindowSystem();
  UseRealClock();
  DoneGlobalOptions();
  RegResetStore();
  if (FHadConfig) ::setenv("XDG_CONFIG_HOME", FOldConfig.c_str(), 1);
  else ::unsetenv("XDG_CONFIG_HOME");
  std::filesystem::remove_all(FDir);
}

TForm* ShownModalForm() {
  if (!Screen) return nullptr;
  for (Integer I = Screen->FormCount() - 1; I >= 0; --I) {
    auto* F = dynamic_cast<TForm*>(Screen->Forms(I));
    if (F && F->GetVisible() && F->FormState().Contains(fsModal)) return F;
  }
  return nullptr;
}

void TEditorDialogsTest::Drive(const std::function<void()>& Show, std::vector<TStep> Steps) {
  size_t Next = 0;
  int Idle = 0;
  HeadlessDisplay().SetIdleHandler([&] {
    TForm* F = ShownModalForm();
    if (!F) {
      ADD_FAILURE() << "the modal loop waits with no form shown (after step " << Next << ")";
      return false;
    }
    if (Next >= Steps.size()) {
      ADD_FAILURE() << "the form is still open after its " << Next << " steps";
      return false;
    }
    // Let the form paint once before the first step.
    if (++Idle == 1) return true;
    Steps[Next++](F);
    return true;
  });
  Show();
  HeadlessDisplay().SetIdleHandler(nullptr);
  EXPECT_EQ(Next, Steps.size()) << "the form closed before every step ran";
}

