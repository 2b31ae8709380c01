#include "editor/base/EdLibrary.h"

#include "editor/base/FileSystems.h"
#include "editor/base/Notifiers.h"
#include "editor/base/ObjectParams.h"
#include "editor/base/OptionExt.h"

void InitEditorLibrary() {
  InstallRegistrationHooks();
  RegisterFileSystems();
}

void DoneEditorLibrary() {
  DoneGlobalOptions();  // saves and frees the option objects, then the shared registry
  RemoveRegistrationHooks();
  FreeClassRegistries();
  FreeObjectParamList();
}
