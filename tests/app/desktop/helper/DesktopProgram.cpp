#include "helper/DesktopProgram.h"

#include <cstdio>

#include "app/desktop/DesktopClasses.h"
#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/FormLoader.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/FileUtils.h"
#include "platform/win/Window.h"

namespace {
const char* WindowText = R"(object DesktopProgramWindow: TDesktopProgramWindow
  Left = 160
  Top = 120
  ClientWidth = 420
  ClientHeight = 260
  Caption = 'Sourcelux v1.0.0'
  OnActivate = FormActivate
  OnCreate = FormCreate
  object Input: TMemo
    Left = 8
    Top = 8
    Width = 404
    Height = 244
  end
  object CoolTrayIcon: TCoolTrayIcon
    CycleInterval = 0
    IconIndex = 0
    LeftPopup = True
    MinimizeToTray = True
    OnClick = CoolTrayIconClick
    OnDblClick = CoolTrayIconClick
  end
  object HotKeyManager: THotKeyManager
    OnHotKeyPressed = HotKeyManagerHotKeyPressed
  end
  object InstanceControl: TadpInstanceControl
    Enabled = %s
    MaxInstances = %u
  end
end
)";
}  // namespace

TDesktopProgramWindow::TSettings& TDesktopProgramWindow::Settings() {
  static TSettings S;
  return S;
}

std::function<void(const std::string&)>& TDesktopProgramWindow::LogSink() {
  static std::function<void(const std::string&)> F;
  return F;
}

TDesktopProgramWindow::TDesktopProgramWindow(TComponent* AOwner) : TForm(AOwner) {
  InitializeForm();
}

void TDesktopProgramWindow::Note(const std::string& Line) {
  Log.push_back(Line);
  if (LogSink()) LogSink()(Line);
}

void TDesktopProgramWindow::FormCreate(TObject*) {
  Note(InstanceControl->Admitted() ? "admitted" : "refused");
  const TSettings& S = Settings();
  FActivationHotKeyId = HotKeyManager->AddHotKey(TextToHotKey(S.ActivationHotKey, true));
  FIndentHotKeyId = HotKeyManager->AddHotKey(TextToHotKey(S.IndentHotKey, true));
  FConvertHotKeyId = HotKeyManager->AddHotKey(TextToHotKey(S.ConvertHotKey, true));
  Note(std::string("hot keys activation=")
           .append(FActivationHotKeyId ? "1" : "0")
           .append(" indent=")
           .append(FIndentHotKeyId ? "1" : "0")
           .append(" convert=")
           .append(FConvertHotKeyId ? "1" : "0"));
}

void TDesktopProgramWindow::FormActivate(TObject*) {
  Note("active visible=" + std::to_string(int(GetVisible())) + " iconic=" +
       std::to_string(int(HandleAllocated() && IsIconic(Handle()))));
}

void TDesktopProgramWindow::CoolTrayIconClick(TObject*) {
  CoolTrayIcon->SetIconVisible(false);
  CoolTrayIcon->ShowMainForm();
}

void TDesktopProgramWindow::MinimizeToSystemTrayClick(TObject*) {
  CoolTrayIcon->SetIconVisible(true);
  CoolTrayIcon->HideMainForm();
}

void TDesktopProgramWindow::HotKeyManagerHotKeyPressed(Cardinal, Word Index) {
  // The indent id first; an id of 0 (a key that was not registered) never
  // comes.
  if (Index == FIndentHotKeyId) {
    CloseThisFileClick(this);
  } else if (Index == FConvertHotKeyId) {
    CloseThisFileClick(this);
    Input->Clear();
    Input->PasteFromClipboard();
    ExportSingleFileClick(this);
  }
  CoolTrayIcon->ShowMainForm();
}

void TDesktopProgramWindow::CloseThisFileClick(TObject*) {
  Input->Clear();
  Note("closed");
}

void TDesktopProgramWindow::ExportSingleFileClick(TObject*) {
  TSaveDialog Dialog(nullptr);
  Dialog.SetFilter("HTML Files (*.html)|*.html");
  if (!Dialog.Execute()) {
    Note("convert cancelled");
    return;
  }
  SaveFileAtomically(Dialog.GetFileName(), Input->GetText());
  Note("converted " + Dialog.GetFileName());
}

void RegisterDesktopProgram() {
  RegisterFormsClasses();
  RegisterDesktopClasses();
  RegisterClasses({TDesktopProgramWindow::StaticClass()});
  char Text[2048];
  const auto& S = TDesktopProgramWindow::Settings();
  std::snprintf(Text, sizeof Text, WindowText, S.GuardEnabled ? "True" : "False", unsigned(S.MaxInstances));
  RegisterFormDescription("TDesktopProgramWindow", Text);
}
