#include "TestControls.h"

#include "platform/forms/FormLoader.h"
#include "platform/rtl/ClassRegistry.h"

void RegisterTestControls() {
  RegisterClasses({TTestPanel::StaticClass(), TTestButton::StaticClass(), TTestLabel::StaticClass(), TTestForm::StaticClass()});
  SetFormDescriptionDir(SX_SOURCE_DIR "/tests/fixtures/forms");
}
