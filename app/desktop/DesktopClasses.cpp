#include "app/desktop/DesktopClasses.h"

#include "app/desktop/CoolTrayIcon.h"
#include "app/desktop/HotKeyManager.h"
#include "app/desktop/InstanceControl.h"
#include "platform/rtl/ClassRegistry.h"

void RegisterDesktopClasses() {
  RegisterClasses({THotKeyManager::StaticClass(), TadpInstanceControl::StaticClass(), TCoolTrayIcon::StaticClass()});
}
