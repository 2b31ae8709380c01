// DesktopProgram.h — a small main window that uses the desktop units the
// way the program's main window does: a tray icon that hides the window
// when it is minimized and brings it back on a click, three global hot keys
// registered from their texts in the create handler (activation, indent:
// close the file, convert: paste the clipboard into the input and convert
// it), and the single-instance guard as the last component.
//
// "Converting" here asks for the output's name with a save dialog and
// writes the input's text there: the calls around it are what matter.
// The window keeps a log of what it did, for the tests and the helper
// program (which prints each line).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/desktop/CoolTrayIcon.h"
#include "app/desktop/HotKeyManager.h"
#include "app/desktop/InstanceControl.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

class TDesktopProgramWindow : public TForm {
  SX_CLASS(TDesktopProgramWindow, TForm)
public:
  // The hot-key texts the create handler registers (the settings' values).
  struct TSettings {
    AnsiString ActivationHotKey = "Ctrl+$";
    AnsiString IndentHotKey = "Ctrl+*";
    AnsiString ConvertHotKey = "Alt+*";
    Cardinal MaxInstances = 1;
    bool GuardEnabled = true;  // tests inside one process leave it off
  };
  static TSettings& Settings();
  // Every log line also goes here (the helper prints it).
  static std::function<void(const std::string&)>& LogSink();

  explicit TDesktopProgramWindow(TComponent* AOwner);
  static void Published(TPublished<TDesktopProgramWindow>& P) {
    P.Property("Input", &TDesktopProgramWindow::Input, &TDesktopProgramWindow::Input).Stored(false);
    P.Property("CoolTrayIcon", &TDesktopProgramWindow::CoolTrayIcon, &TDesktopProgramWindow::CoolTrayIcon).Stored(false);
    P.Property("HotKeyManager", &TDesktopProgramWindow::HotKeyManager, &TDesktopProgramWindow::HotKeyManager)
        .Stored(false);
    P.Property("InstanceControl", &TDesktopProgramWindow::InstanceControl, &TDesktopProgramWindow::InstanceControl)
        .Stored(false);
    P.Method("FormCreate", &TDesktopProgramWindow::FormCreate);
    P.Method("FormActivate", &TDesktopProgramWindow::FormActivate);
    P.Method("CoolTrayIconClick", &TDesktopProgramWindow::CoolTrayIconClick);
    P.Method("HotKeyManagerHotKeyPressed", &TDesktopProgramWindow::HotKeyManagerHotKeyPressed);
  }

  TMemo* Input = nullptr;
  TCoolTrayIcon* CoolTrayIcon = nullptr;
  THotKeyManager* HotKeyManager = nullptr;
  TadpInstanceControl* InstanceControl = nullptr;
  Word FActivationHotKeyId = 0, FIndentHotKeyId = 0, FConvertHotKeyId = 0;
  std::vector<std::string> Log;

  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
  void CoolTrayIconClick(TObject* Sender);
  void MinimizeToSystemTrayClick(TObject* Sender);
  void HotKeyManagerHotKeyPressed(Cardinal HotKey, Word Index);
  void CloseThisFileClick(TObject* Sender);
  void ExportSingleFileClick(TObject* Sender);

  void Note(const std::string& Line);
};

// Registers the window's class, its description (with the settings' guard
// values) and the classes it uses.
void RegisterDesktopProgram();
