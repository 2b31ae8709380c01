#include "DialogTestSupport.h"

#include <filesystem>
#include <fstream>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FileDialogs.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Timers.h"
#include "platform/win/Win.h"

void TDialogsTest::SetUp() {
  RegisterFormsClasses();
  ResetWindowSystem();
  UseVirtualClock();
  HeadlessDisplay().SetWorkArea({0, 0, 1024, 738});
  App = std::make_unique<TApplication>(nullptr);
  App->SetTitle("Dialogs test");
  TOpenDialog::ForgetFolders();
}

void TDialogsTest::TearDown() {
  App.reset();
  HeadlessDisplay().SetIdleHandler(nullptr);
  ResetWindowSystem();
  UseRealClock();
}

std::string TDialogsTest::Touch(const std::string& Name, const std::string& Bytes) {
  const std::filesystem::path P = Dir.Path() / Name;
  std::filesystem::create_directories(P.parent_path());
  std::ofstream(P, std::ios::binary) << Bytes;
  return P.string();
}

bool TDialogsTest::Drive(TCommonDialog& Dialog, const std::function<bool()>& Run, std::vector<TStep> Steps) {
  size_t Next = 0;
  int Idle = 0;
  HeadlessDisplay().SetIdleHandler([&] {
    TForm* F = Dialog.DialogForm();
    if (!F || !F->GetVisible()) {
      ADD_FAILURE() << "the dialog's loop waits with no form shown (after step " << Next << ")";
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
  const bool R = Run();
  HeadlessDisplay().SetIdleHandler(nullptr);
  EXPECT_EQ(Next, Steps.size()) << "the form closed before every step ran";
  return R;
}

