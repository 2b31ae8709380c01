// OptionPages.cpp — the working options the pages edit, and what the options
// dialog's unit registers at start.
#include "editor/dialogs/OptionPages.h"

#include <memory>

#include "editor/base/ObjectParams.h"
#include "editor/dialogs/EnvOptions.h"
#include "editor/options/MemoEnvOptions.h"
#include "editor/text/MemoSourceOptions.h"
#include "editor/view/KeyMappings.h"
#include "platform/forms/ColorDialog.h"

void RegisterEditorPage();
void RegisterDisplayPage();
void RegisterColorsPage();
void RegisterEnvFormClasses();

namespace {
std::unique_ptr<TMemoEnvOptions> WorkingOptions;
}  // namespace

TMemoEnvOptions* EnvWorkingOptions() {
  if (!WorkingOptions) {
    GetMemoEnvOptions();
    WorkingOptions = CreateOptions<TMemoEnvOptions>();
  }
  return WorkingOptions.get();
}

void ResetEnvWorkingOptions() {
  TMemoEnvOptions* W = EnvWorkingOptions();
  W->Assign(GetMemoEnvOptions());
}

void FreeEnvWorkingOptions() { WorkingOptions.reset(); }

void ShowEnvironmentOptions() {
  if (EnvOptionsRunning) return;
  EnvOptionsRunning = true;
  try {
    // Each showing starts from the options in force: what a cancelled
    // showing left in the working copy is not shown, nor applied later.
    ResetEnvWorkingOptions();
    ExecuteEnvForm(GetOptionFormClassList());
  } catch (...) {
    EnvOptionsRunning = false;
    throw;
  }
  EnvOptionsRunning = false;
}

void RegisterOptionPages() {
  RegisterEditorPage();
  RegisterDisplayPage();
  RegisterColorsPage();
}

void RegisterEnvironmentDialog() {
  RegisterOptionControls();
  RegisterStylePickers();
  RegisterColorDialogClasses();
  RegisterMemoKeyMappings();
  RegisterMemoSourceOptions();
  RegisterEnvFormClasses();
  RegisterOptionPages();
  if (!FindParamItemForClass(TVerbObject::StaticClass(), {"Verb.Name"}, {Variant("Tools.EnvironOptions")}, 0))
    RegisterVerb("Tools.EnvironOptions", nullptr, &ShowEnvironmentOptions);
}
