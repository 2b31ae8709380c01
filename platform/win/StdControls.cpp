// The system control classes and what they share.
#include "platform/win/ButtonControl.h"
#include "platform/win/ComboBoxControl.h"
#include "platform/win/EditControl.h"
#include "platform/win/Input.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Menus.h"
#include "platform/win/StaticControl.h"
#include "platform/win/StdControls_p.h"
#include "platform/win/Cursors.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

void NotifyParent(HWND Control, WORD Code) {
  if (HWND Parent = GetParent(Control))
    SendMessageA(Parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Control), Code), LPARAM(Control));
}

void RegisterSystemControlClasses() {
  struct TSystemClass {
    const char* Name;
    WNDPROC Proc;
    UINT Style;
    const char* Cursor;
  };
  static const TSystemClass Classes[] = {
      {"EDIT", &EditWndProc, CS_DBLCLKS, IDC_IBEAM},
      {"BUTTON", &ButtonWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
      {"STATIC", &StaticWndProc, CS_DBLCLKS, IDC_ARROW},
  };
  for (const TSystemClass& C : Classes) {
    WNDCLASSA W;
    W.style = C.Style;
    W.lpfnWndProc = C.Proc;
    W.hCursor = LoadCursorA(nullptr, C.Cursor);
    W.lpszClassName = C.Name;
    RegisterClassA(&W);
  }
  // The list classes register together: a combo box drops a "ComboLBox".
  RegisterListBoxClasses();
  RegisterComboBoxClass();
  RegisterMenuWindowClass();
}
