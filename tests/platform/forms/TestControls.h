// TestControls.h — small controls and a form class for the forms tests:
// what the standard controls will publish, without their painting.
#pragma once
#include "platform/forms/Forms.h"

class TTestPanel : public TCustomControl {
  SX_CLASS(TTestPanel, TCustomControl)
public:
  explicit TTestPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle.Include(csAcceptsControls);
    FTabStop = true;
  }
  static void Published(TPublished<TTestPanel>& P) {
    P.Property("Align", &TTestPanel::GetAlign, &TTestPanel::SetAlign).Default(alNone);
    P.Property("Anchors", &TTestPanel::GetAnchors, &TTestPanel::SetAnchors).Default(TAnchors{akLeft, akTop});
    P.Property("Caption", &TTestPanel::GetCaption, &TTestPanel::SetCaption);
    P.Property("Constraints", &TTestPanel::GetConstraints, &TTestPanel::SetConstraints);
    P.Property("Color", &TTestPanel::GetColor, &TTestPanel::SetColor);
    P.Property("Font", &TTestPanel::GetFont, &TTestPanel::SetFont).Stored(&TTestPanel::IsFontStored);
    P.Property("ParentFont", &TTestPanel::GetParentFont, &TTestPanel::SetParentFont).Default(true);
    P.Property("Enabled", &TTestPanel::GetEnabled, &TTestPanel::SetEnabled).Default(true);
    P.Property("ParentColor", &TTestPanel::GetParentColor, &TTestPanel::SetParentColor).Default(true);
    P.Property("ShowHint", &TTestPanel::GetShowHint, &TTestPanel::SetShowHint);
    P.Property("ParentShowHint", &TTestPanel::GetParentShowHint, &TTestPanel::SetParentShowHint).Default(true);
    P.Property("TabOrder", &TTestPanel::GetTabOrder, &TTestPanel::SetTabOrder).Default(-1);
    P.Property("TabStop", &TTestPanel::GetTabStop, &TTestPanel::SetTabStop).Default(true);
    P.Property("Visible", &TTestPanel::GetVisible, &TTestPanel::SetVisible).Default(true);
    P.Property("OnClick", &TTestPanel::OnClick, &TTestPanel::OnClick);
  }
  // Messages this control saw, in order, for the dispatch tests.
  std::vector<UINT> Seen;

  void Dispatch(TMessage& Message) override {
    Seen.push_back(Message.Msg);
    inherited::Dispatch(Message);
  }
};

// A push button as far as the form's key handling sees it: Enter clicks
// the default one and Esc the cancel one, and a click sets ModalResult.
class TTestButton : public TTestPanel {
  SX_CLASS(TTestButton, TTestPanel)
public:
  explicit TTestButton(TComponent* AOwner) : TTestPanel(AOwner) {}
  static void Published(TPublished<TTestButton>& P) {
    P.Property("Default", &TTestButton::Default, &TTestButton::Default).Default(false);
    P.Property("Cancel", &TTestButton::Cancel, &TTestButton::Cancel).Default(false);
    P.Property("ModalResult", &TTestButton::ModalResult, &TTestButton::ModalResult).Default(0);
  }
  bool Default = false;
  bool Cancel = false;
  TModalResult ModalResult = mrNone;

  void Click() override {
    if (ModalResult != mrNone)
      if (TCustomForm* F = GetParentForm(this)) F->SetModalResult(ModalResult);
    inherited::Click();
  }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_DIALOGKEY &&
        ((Message.WParam == 0x0D && Default) || (Message.WParam == 0x1B && Cancel)) && CanFocus()) {
      Click();
      Message.Result = 1;
      return;
    }
    inherited::Dispatch(Message);
  }
};

// A graphic control that fills itself with its colour and logs the mouse.
class TTestLabel : public TGraphicControl {
  SX_CLASS(TTestLabel, TGraphicControl)
public:
  explicit TTestLabel(TComponent* AOwner) : TGraphicControl(AOwner) {}
  static void Published(TPublished<TTestLabel>& P) {
    P.Property("Align", &TTestLabel::GetAlign, &TTestLabel::SetAlign).Default(alNone);
    P.Property("Caption", &TTestLabel::GetCaption, &TTestLabel::SetCaption);
    P.Property("Color", &TTestLabel::GetColor, &TTestLabel::SetColor);
  }
  std::vector<TPoint> Moves;  // client coordinates of WM_MOUSEMOVE
  int Clicks = 0;
  void Click() override {
    ++Clicks;
    inherited::Click();
  }

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(GetColor());
    Canvas()->FillRect({0, 0, GetWidth(), GetHeight()});
  }
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override {
    Moves.push_back({X, Y});
    inherited::MouseMove(Shift, X, Y);
  }
};

// The form of tests/fixtures/forms/TTestForm.dfm.
class TTestForm : public TForm {
  SX_CLASS(TTestForm, TForm)
public:
  explicit TTestForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
  static void Published(TPublished<TTestForm>& P) {
    P.Property("TopBar", &TTestForm::TopBar, &TTestForm::TopBar).Stored(false);
    P.Property("First", &TTestForm::First, &TTestForm::First).Stored(false);
    P.Property("Second", &TTestForm::Second, &TTestForm::Second).Stored(false);
    P.Property("Third", &TTestForm::Third, &TTestForm::Third).Stored(false);
    P.Property("OkButton", &TTestForm::OkButton, &TTestForm::OkButton).Stored(false);
    P.Property("CancelButton", &TTestForm::CancelButton, &TTestForm::CancelButton).Stored(false);
    P.Method("FormCreate", &TTestForm::FormCreate);
    P.Method("OkButtonClick", &TTestForm::OkButtonClick);
  }
  TTestPanel* TopBar = nullptr;
  TTestPanel* First = nullptr;
  TTestPanel* Second = nullptr;
  TTestPanel* Third = nullptr;
  TTestPanel* OkButton = nullptr;
  TTestButton* CancelButton = nullptr;
  int Created = 0;
  int OkClicks = 0;
  void FormCreate(TObject*) { ++Created; }
  void OkButtonClick(TObject*) {
    ++OkClicks;
    SetModalResult(mrOk);
  }
};

void RegisterTestControls();
