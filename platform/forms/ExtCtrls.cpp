#include "platform/forms/ExtCtrls.h"

#include "platform/forms/Application.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/HotKey.h"
#include "platform/forms/Menus.h"
#include "platform/forms/RadioGroup.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/ColorDialog.h"
#include "platform/forms/FontDialog.h"
#include "platform/forms/PrinterDialogs.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  FWindowHandle = AllocateHWnd(TWndMethod(this, &TTimer::WndProc));
}

TTimer::~TTimer() {
  FEnabled = false;
  if (FWindowHandle) {
    KillTimer(FWindowHandle, 1);
    DeallocateHWnd(FWindowHandle);
  }
}

void TTimer::UpdateTimer() {
  KillTimer(FWindowHandle, 1);
  if (FInterval != 0 && FEnabled && FOnTimer.Assigned())
    if (SetTimer(FWindowHandle, 1, FInterval, nullptr) == 0) {
      FEnabled = false;
      throw EOutOfResources("Not enough timers available");
    }
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
  FOnTimer = Value;
  UpdateTimer();
}

void TTimer::Timer() {
  if (FOnTimer.Assigned()) FOnTimer(this);
}

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER) {
    try {
      Timer();
    } catch (const Exception&) {
      if (!Application) throw;
      Application->HandleException(this);
    }
    return;
  }
  Message.Result = DefWindowProcA(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
}

void RegisterFormsClasses() {
  RegisterClasses({TForm::StaticClass(), TTimer::StaticClass()});
  RegisterStdCtrlsClasses();
  RegisterListControlClasses();
  RegisterComCtrlsClasses();
  RegisterHotKeyClasses();
  RegisterRadioGroupClasses();
  RegisterFileDialogClasses();
  RegisterColorDialogClasses();
  RegisterFontDialogClasses();
  RegisterPrinterDialogClasses();
  RegisterMenusClasses();
}
