#include "StdEditTestForm.h"

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FormLoader.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/win/Win.h"

const char* const StdEditTestFormText = R"(object StdEditTestForm: TStdEditTestForm
  Left = 100
  Top = 100
  BorderStyle = bsDialog
  Caption = 'Convert'
  ClientHeight = 220
  ClientWidth = 320
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  PixelsPerInch = 96
  object NameLabel: TLabel
    Left = 8
    Top = 12
    Width = 31
    Height = 13
    Caption = '&Name:'
    FocusControl = NameEdit
  end
  object NotesLabel: TLabel
    Left = 8
    Top = 40
    Width = 32
    Height = 13
    Caption = 'N&otes:'
    FocusControl = NotesMemo
  end
  object NameEdit: TEdit
    Left = 60
    Top = 8
    Width = 150
    Height = 21
    TabOrder = 0
    Text = 'report'
    OnChange = NameEditChange
  end
  object NotesMemo: TMemo
    Left = 60
    Top = 38
    Width = 150
    Height = 60
    Lines.Strings = (
      'first line'
      'second line')
    ScrollBars = ssVertical
    TabOrder = 1
  end
  object RecurseCheck: TCheckBox
    Left = 8
    Top = 106
    Width = 150
    Height = 17
    Caption = '&Recurse into folders'
    TabOrder = 2
  end
  object KindGroup: TGroupBox
    Left = 8
    Top = 128
    Width = 200
    Height = 84
    Caption = 'Output'
    TabOrder = 3
    object HtmlRadio: TRadioButton
      Left = 8
      Top = 18
      Width = 100
      Height = 17
      Caption = '&HTML'
      Checked = True
      TabOrder = 0
      TabStop = True
    end
    object PdfRadio: TRadioButton
      Left = 8
      Top = 38
      Width = 100
      Height = 17
      Caption = '&PDF'
      TabOrder = 1
    end
    object RtfRadio: TRadioButton
      Left = 8
      Top = 58
      Width = 100
      Height = 17
      Caption = 'R&TF'
      TabOrder = 2
    end
  end
  object OkButton: TButton
    Left = 232
    Top = 8
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 4
    OnClick = OkButtonClick
  end
  object CancelButton: TButton
    Left = 232
    Top = 40
    Width = 75
    Height = 25
    Caption = 'Cancel'
    Cancel = True
    ModalResult = 2
    TabOrder = 5
  end
end
)";

void TStdEditTestForm::Published(TPublished<TStdEditTestForm>& P) {
  P.Property("NameLabel", &TStdEditTestForm::NameLabel, &TStdEditTestForm::NameLabel).Stored(false);
  P.Property("NameEdit", &TStdEditTestForm::NameEdit, &TStdEditTestForm::NameEdit).Stored(false);
  P.Property("NotesLabel", &TStdEditTestForm::NotesLabel, &TStdEditTestForm::NotesLabel).Stored(false);
  P.Property("NotesMemo", &TStdEditTestForm::NotesMemo, &TStdEditTestForm::NotesMemo).Stored(false);
  P.Property("RecurseCheck", &TStdEditTestForm::RecurseCheck, &TStdEditTestForm::RecurseCheck).Stored(false);
  P.Property("KindGroup", &TStdEditTestForm::KindGroup, &TStdEditTestForm::KindGroup).Stored(false);
  P.Property("HtmlRadio", &TStdEditTestForm::HtmlRadio, &TStdEditTestForm::HtmlRadio).Stored(false);
  P.Property("PdfRadio", &TStdEditTestForm::PdfRadio, &TStdEditTestForm::PdfRadio).Stored(false);
  P.Property("RtfRadio", &TStdEditTestForm::RtfRadio, &TStdEditTestForm::RtfRadio).Stored(false);
  P.Property("OkButton", &TStdEditTestForm::OkButton, &TStdEditTestForm::OkButton).Stored(false);
  P.Property("CancelButton", &TStdEditTestForm::CancelButton, &TStdEditTestForm::CancelButton).Stored(false);
  P.Method("NameEditChange", &TStdEditTestForm::NameEditChange);
  P.Method("OkButtonClick", &TStdEditTestForm::OkButtonClick);
}

void TStdCtrlsFormTest::SetUp() {
  RegisterFormsClasses();
  RegisterClasses({TStdEditTestForm::StaticClass()});
  RegisterFormDescription("TStdEditTestForm", StdEditTestFormText);
  ResetWindowSystem();
  UseVirtualClock();
  Display().SetWorkArea({0, 0, 1024, 738});
  App = std::make_unique<TApplication>(nullptr);
  App->SetTitle("Standard controls test");
  App->OnException = TExceptionEvent(&Errors, &TStdCtrlsErrorSink::Handle);
}

void TStdCtrlsFormTest::TearDown() {
  App.reset();
  Display().SetIdleHandler(nullptr);
  ResetWindowSystem();
  UseRealClock();
  UnregisterFormDescription("TStdEditTestForm");
}

TStdEditTestForm* TStdCtrlsFormTest::ShowForm() {
  App->CreateForm(Form);
  Form->Show();
  Pump();
  return Form;
}

void TStdCtrlsFormTest::Press(WORD Vk) {
  Display().KeyPress(Vk);
  Pump();
}

void TStdCtrlsFormTest::PressWith(WORD Modifier, WORD Vk) {
  Display().KeyDown(Modifier);
  Display().KeyPress(Vk);
  Display().KeyUp(Modifier);
  Pump();
}

void TStdCtrlsFormTest::Type(const AnsiString& Text) {
  Display().TypeText(Text);
  Pump();
}

void TStdCtrlsFormTest::ClickAt(TControl* C, int X, int Y) {
  const TPoint P = ScreenOf(C, X, Y);
  Display().Click(P.X, P.Y);
  Pump();
}

COLORREF TStdCtrlsFormTest::PixelOf(TControl* C, int X, int Y) const {
  const TPoint P = ScreenOf(C, X, Y);
  return HeadlessDisplay().ScreenPixel(P.X, P.Y);
}

void TStdCtrlsFormTest::SaveShot(const std::string& Name) {
  TRect R;
  GetWindowRect(Form->Handle(), &R);
  HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/" + Name + ".png", &R);
}
