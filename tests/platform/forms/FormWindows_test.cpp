// Forms with windows on the headless display: input goes in at screen
// coordinates and through the application's message loop, as a user's would.
#include <gtest/gtest.h>

#include <memory>

#include "support/TestFiles.h"
#include "TestControls.h"
#include "platform/forms/ActnList.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Win.h"

namespace {
class FormWindows : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterTestControls();
    RegisterFormsClasses();
    ResetWindowSystem();
    UseVirtualClock();
    Display().SetWorkArea({0, 0, 1024, 738});
    App = std::make_unique<TApplication>(nullptr);
    App->SetTitle("Forms test");
  }
  void TearDown() override {
    App.reset();
    HeadlessDisplay().SetIdleHandler(nullptr);
    ResetWindowSystem();
    UseRealClock();
  }
  // Shows the test form and lets the queue settle.
  TTestForm* ShowTestForm() {
    App->CreateForm(Form);
    Form->Show();
    HeadlessDisplay().ProcessMessages();
    return Form;
  }
  TPoint CentreOf(TControl* C) { return C->ClientToScreen({C->GetWidth() / 2, C->GetHeight() / 2}); }

  std::unique_ptr<TApplication> App;
  TTestForm* Form = nullptr;
};
}  // namespace

TEST_F(FormWindows, ShownFormHasWindowsForItselfAndItsChildren) {
  ShowTestForm();
  ASSERT_TRUE(Form->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));
  ASSERT_TRUE(Form->OkButton->HandleAllocated());
  EXPECT_EQ(GetParent(Form->OkButton->Handle()), Form->Handle());
  EXPECT_EQ(WindowTextOf(Form->Handle()), "Test form");
  TRect R;
  GetClientRect(Form->Handle(), &R);
  EXPECT_EQ(R, TRect(0, 0, 300, 200)) << "the description's client size";
  EXPECT_EQ(FindControl(Form->OkButton->Handle()), Form->OkButton);
  // Caption goes to the window and comes back from it.
  Form->SetCaption("Renamed");
  EXPECT_EQ(WindowTextOf(Form->Handle()), "Renamed");
  EXPECT_EQ(Form->GetCaption(), "Renamed");
}

TEST_F(FormWindows, TabAndShiftTabMoveTheFocusThroughTheTabOrder) {
  ShowTestForm();
  auto& D = HeadlessDisplay();
  EXPECT_EQ(GetFocus(), Form->First->Handle()) << "activation focuses the first tab stop";
  TWinControl* Forward[] = {Form->Second, Form->Third, Form->OkButton, Form->First};
  for (TWinControl* W : Forward) {
    D.KeyPress(VK_TAB);
    App->ProcessMessages();
    EXPECT_EQ(GetFocus(), W->Handle()) << W->GetName();
    EXPECT_EQ(Form->GetActiveControl(), W);
    EXPECT_TRUE(W->Focused());
  }
  D.KeyDown(VK_SHIFT);
  D.KeyPress(VK_TAB);
  D.KeyUp(VK_SHIFT);
  App->ProcessMessages();
  EXPECT_EQ(GetFocus(), Form->OkButton->Handle()) << "Shift+Tab goes back";
}

TEST_F(FormWindows, FocusChangesRunExitAndEnter) {
  class TLog : public TObject {
  public:
    AnsiString Text;
    void Enter(TObject* S) { Text += "enter " + static_cast<TComponent*>(S)->GetName() + ";"; }
    void Exit(TObject* S) { Text += "exit " + static_cast<TComponent*>(S)->GetName() + ";"; }
  } Log;
  ShowTestForm();
  for (TTestPanel* P : {Form->First, Form->Second}) {
    P->OnEnter = TNotifyEvent(&Log, &TLog::Enter);
    P->OnExit = TNotifyEvent(&Log, &TLog::Exit);
  }
  Form->Second->SetFocus();
  EXPECT_EQ(Log.Text, "exit First;enter Second;");
  Form->First->OnExit = Form->First->OnEnter = Form->Second->OnExit = Form->Second->OnEnter = nullptr;
}

TEST_F(FormWindows, ModalFormReturnsTheModalResultSetFromInsideItsLoop) {
  App->CreateForm(Form);
  int Idles = 0;
  // The user clicks OK once the dialog is up.
  HeadlessDisplay().SetIdleHandler([&] {
    if (++Idles > 5) return false;
    HeadlessDisplay().Click(CentreOf(Form->OkButton).X, CentreOf(Form->OkButton).Y);
    return true;
  });
  const TModalResult R = Form->ShowModal();
  EXPECT_EQ(R, mrOk);
  EXPECT_EQ(Form->OkClicks, 1);
  EXPECT_FALSE(Form->GetVisible()) << "a closed modal form hides";
  EXPECT_FALSE(IsWindowVisible(Form->Handle()));
  EXPECT_FALSE(Form->FormState().Contains(fsModal));
}

TEST_F(FormWindows, ModalLoopDisablesTheOtherWindowsAndCloseCancels) {
  TTestForm* Main = nullptr;
  App->CreateForm(Main);
  Main->Show();
  // A second instance of a described form lives beside the application's.
  auto DialogOwner = std::make_unique<TTestForm>(nullptr);
  TTestForm* Dialog = DialogOwner.get();
  bool MainWasDisabled = false;
  HeadlessDisplay().SetIdleHandler([&] {
    MainWasDisabled = !IsWindowEnabled(Main->Handle());
    PostMessageA(Dialog->Handle(), WM_CLOSE, 0, 0);
    return true;
  });
  EXPECT_EQ(Dialog->ShowModal(), mrCancel);
  EXPECT_TRUE(MainWasDisabled);
  EXPECT_TRUE(IsWindowEnabled(Main->Handle())) << "enabled again afterwards";
}

TEST_F(FormWindows, NestedModalFormsEndInsideOut) {
  App->CreateForm(Form);
  auto InnerOwner = std::make_unique<TTestForm>(nullptr);
  TTestForm* Inner = InnerOwner.get();
  TModalResult InnerResult = mrNone;
  int Step = 0;
  HeadlessDisplay().SetIdleHandler([&] {
    switch (++Step) {
      case 1: InnerResult = Inner->ShowModal(); return true;    // opens from the outer loop
      case 2: Inner->SetModalResult(mrRetry); return true;      // ends the inner one
      case 3: Form->SetModalResult(mrAbort); return true;
      default: return false;
    }
  });
  EXPECT_EQ(Form->ShowModal(), mrAbort);
  EXPECT_EQ(InnerResult, mrRetry);
}

TEST_F(FormWindows, ClickingAControlRunsItsHandlerThroughTheMessageLoop) {
  ShowTestForm();
  const TPoint P = CentreOf(Form->OkButton);
  HeadlessDisplay().Click(P.X, P.Y);
  App->ProcessMessages();
  EXPECT_EQ(Form->OkClicks, 1);
  // Pressed inside, released outside: no click.
  HeadlessDisplay().MouseDown(P.X, P.Y);
  HeadlessDisplay().MouseUp(P.X + 200, P.Y);
  App->ProcessMessages();
  EXPECT_EQ(Form->OkClicks, 1);
}

TEST_F(FormWindows, ResizingTheWindowReLaysOutAlignedAndAnchoredChildren) {
  ShowTestForm();
  TRect W;
  GetWindowRect(Form->Handle(), &W);
  MoveWindow(Form->Handle(), W.Left, W.Top, W.Width() + 100, W.Height() + 50, TRUE);
  EXPECT_EQ(Form->ClientWidth(), 400);
  EXPECT_EQ(Form->TopBar->GetWidth(), 400);
  EXPECT_EQ(Form->OkButton->BoundsRect(), TRect(310, 210, 390, 240));
  TRect B;
  GetWindowRect(Form->OkButton->Handle(), &B);
  EXPECT_EQ(B.Width(), 80) << "the child's window followed";
}

TEST_F(FormWindows, ScreenshotShowsTheFormAndChildColours) {
  ShowTestForm();
  auto& D = HeadlessDisplay();
  const TPoint Origin = Form->ClientOrigin();
  // The white panel at (10,70)-(110,90), the button face around it.
  EXPECT_EQ(D.ScreenPixel(Origin.X + 50, Origin.Y + 80), ColorToRGB(clWhite));
  EXPECT_EQ(D.ScreenPixel(Origin.X + 150, Origin.Y + 80), ColorToRGB(clBtnFace));
  EXPECT_EQ(D.ScreenPixel(Origin.X + 5, Origin.Y + 80), ColorToRGB(clBtnFace));
  const std::string Png = ::testing::TempDir() + "form_screenshot.png";
  const TRect Area = Bounds(Origin.X, Origin.Y, 300, 200);
  ASSERT_TRUE(D.SaveScreenshot(Png, &Area));
  const COLORREF Face = ColorToRGB(clBtnFace);
  const std::string FaceRgb = std::to_string(GetRValue(Face)) + "," + std::to_string(GetGValue(Face)) + "," +
                              std::to_string(GetBValue(Face));
  const std::string Cmd = "/usr/bin/python3 -c \"from PIL import Image; im=Image.open('" + Png +
                          "'); assert im.size==(300,200), im.size; assert im.getpixel((50,80))==(255,255,255);"
                          " assert im.getpixel((150,80))==(" + FaceRgb + "), im.getpixel((150,80))\"";
  EXPECT_EQ(sxtest::RunStatus(Cmd), 0);
}

TEST_F(FormWindows, PaintToDrawsTheFormIntoAnotherDC) {
  ShowTestForm();
  HDC Screen = GetDC(nullptr);
  HDC Mem = CreateCompatibleDC(Screen);
  HBITMAP Bmp = CreateCompatibleBitmap(Screen, 300, 200);
  ReleaseDC(nullptr, Screen);
  HGDIOBJ Old = SelectObject(Mem, Bmp);
  Form->PaintTo(Mem, 0, 0);
  const TPoint Client = Form->ClientOrigin();
  TRect W;
  GetWindowRect(Form->Handle(), &W);
  // PaintTo draws the client area at the origin given.
  EXPECT_EQ(GetPixel(Mem, 50, 80), ColorToRGB(clWhite));
  EXPECT_EQ(GetPixel(Mem, 150, 80), ColorToRGB(clBtnFace));
  (void)Client;
  SelectObject(Mem, Old);
  DeleteObject(Bmp);
  DeleteDC(Mem);
}

TEST_F(FormWindows, UnansweredMessageBoxFailsWithItsCaptionAndText) {
  try {
    App->MessageBox("Delete the toolbar?", "Forms test", MB_OKCANCEL | MB_ICONEXCLAMATION);
    FAIL() << "an unanswered box must not return";
  } catch (const EDialogNotAnswered& E) {
    EXPECT_NE(std::string(E.what()).find("Delete the toolbar?"), std::string::npos);
    EXPECT_NE(std::string(E.what()).find("Forms test"), std::string::npos);
  }
}

TEST_F(FormWindows, ScriptedAnswersComeInOrderAndMustBeButtonsOfTheBox) {
  TDialogScript Script;
  Script.Then(IDCANCEL).Then(mrNo).Then(IDYES);
  EXPECT_EQ(App->MessageBox("Sure?", "Q", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel, 0), mrNo);
  EXPECT_THROW(MessageBox(nullptr, "Only OK", "Info", MB_OK), EDialogNotAnswered) << "IDYES is no button of it";
  ASSERT_EQ(Script.Asked().size(), 3u);
  EXPECT_EQ(Script.Asked()[1].Caption, "Confirmation");
  EXPECT_EQ(Script.Asked()[1].Text, "Save changes?");
}

TEST_F(FormWindows, ErrorInAHandlerIsShownByTheErrorDisplayAndTheLoopGoesOn) {
  class TFailing : public TObject {
  public:
    void Fail(TObject*) { throw EConvertError("'abc' is not a valid integer value"); }
  } Failing;
  ShowTestForm();
  Form->OkButton->OnClick = TNotifyEvent(&Failing, &TFailing::Fail);
  TDialogScript Script;
  Script.Then(IDOK);
  const TPoint P = CentreOf(Form->OkButton);
  HeadlessDisplay().Click(P.X, P.Y);
  App->ProcessMessages();
  ASSERT_EQ(Script.Asked().size(), 1u);
  EXPECT_EQ(Script.Asked()[0].Caption, "Forms test");
  EXPECT_EQ(Script.Asked()[0].Text, "'abc' is not a valid integer value.");
  EXPECT_EQ(Script.Asked()[0].Style, UINT(MB_OK | MB_ICONSTOP));
  EXPECT_TRUE(IsWindow(Form->Handle()));
}

TEST_F(FormWindows, TimerFiresInVirtualTimeFromTheMessageLoop) {
  class TTicks : public TObject {
  public:
    int Count = 0;
    void Tick(TObject*) { ++Count; }
  } Ticks;
  TTimer Timer(nullptr);
  Timer.SetInterval(100);
  Timer.SetOnTimer(TNotifyEvent(&Ticks, &TTicks::Tick));
  AdvanceClock(99);
  App->ProcessMessages();
  EXPECT_EQ(Ticks.Count, 0);
  AdvanceClock(1);
  App->ProcessMessages();
  EXPECT_EQ(Ticks.Count, 1);
  Timer.SetEnabled(false);
  AdvanceClock(500);
  App->ProcessMessages();
  EXPECT_EQ(Ticks.Count, 1);
}

TEST_F(FormWindows, MouseEnterLeaveAndTheHintFollowTheMouseAtIdleTime) {
  ShowTestForm();
  Form->First->Seen.clear();
  auto& D = HeadlessDisplay();
  const TPoint P = CentreOf(Form->First);
  int Step = 0;
  D.SetIdleHandler([&] {
    switch (++Step) {
      case 1: D.MouseMove(P.X, P.Y); return true;
      case 2: D.MouseMove(P.X, P.Y + 200); return true;
      case 3: Form->SetModalResult(mrOk); return true;
      default: return false;
    }
  });
  class THints : public TObject {
  public:
    std::vector<AnsiString> Seen;
    void Hint(TObject*) { Seen.push_back(Application->GetHint()); }
  } Hints;
  App->OnHint = TNotifyEvent(&Hints, &THints::Hint);
  Form->Hide();
  Form->First->SetHint("Short|The long hint");
  Form->ShowModal();
  App->OnHint = nullptr;
  ASSERT_FALSE(Hints.Seen.empty());
  EXPECT_EQ(Hints.Seen.front(), "The long hint") << "the long part of the control's hint";
  EXPECT_EQ(Hints.Seen.back(), "") << "gone when the mouse left";
  auto Count = [&](UINT Msg) { return std::count(Form->First->Seen.begin(), Form->First->Seen.end(), Msg); };
  EXPECT_EQ(Count(CM_MOUSEENTER), 1);
  EXPECT_EQ(Count(CM_MOUSELEAVE), 1);
}

TEST_F(FormWindows, StayOnTopAndCentredFormsGetTheirWindowPlacement) {
  auto* F = new TForm(App.get());
  F->SetBounds(0, 0, 200, 100);
  F->SetPosition(poScreenCenter);
  F->SetFormStyle(fsStayOnTop);
  F->Show();
  TRect R;
  GetWindowRect(F->Handle(), &R);
  EXPECT_EQ(R, Bounds((1024 - 200) / 2, (768 - 100) / 2, 200, 100));
  EXPECT_NE(GetWindowLongA(F->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(FormWindows, MdiFormStylesAreRefusedWithAMessage) {
  auto* F = new TForm(App.get());
  F->SetName("Editor");
  for (TFormStyle S : {fsMDIForm, fsMDIChild}) {
    try {
      F->SetFormStyle(S);
      ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& E) {
      EXPECT_NE(E.Message().find("MDI"), AnsiString::npos);
      EXPECT_NE(E.Message().find("Editor"), AnsiString::npos);
    }
    EXPECT_EQ(F->GetFormStyle(), fsNormal) << "the form keeps its style";
  }
}

TEST_F(FormWindows, BorderStyleChangeRecreatesTheWindowWithItsChildren) {
  ShowTestForm();
  HWND Old = Form->Handle();
  const TRect Bounds = Form->BoundsRect();
  Form->SetBorderStyle(bsDialog);
  EXPECT_FALSE(IsWindow(Old));
  ASSERT_TRUE(Form->HandleAllocated());
  EXPECT_NE(GetWindowLongA(Form->Handle(), GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));
  EXPECT_EQ(WindowTextOf(Form->Handle()), "Test form");
  ASSERT_TRUE(Form->OkButton->HandleAllocated()) << "the children came back with it";
  EXPECT_EQ(GetParent(Form->OkButton->Handle()), Form->Handle());
  EXPECT_EQ(Form->BoundsRect(), Bounds) << "the window keeps its place and size";
}

TEST_F(FormWindows, ReleaseFreesTheFormFromItsOwnHandler) {
  class TCloser : public TObject {
  public:
    void Closing(TObject*, TCloseAction& A) { A = caFree; }
  } Closer;
  auto* F = new TForm(App.get());
  F->SetName("Second");
  F->OnClose = TCloseEvent(&Closer, &TCloser::Closing);
  F->Show();
  HWND H = F->Handle();
  TComponent* Watch = F;
  PostMessageA(H, WM_CLOSE, 0, 0);
  App->ProcessMessages();
  EXPECT_FALSE(IsWindow(H));
  EXPECT_EQ(App->FindComponent("Second"), nullptr);
  (void)Watch;
}

TEST_F(FormWindows, EnterAndEscReachTheDefaultAndCancelButtons) {
  App->CreateForm(Form);
  int Step = 0;
  HeadlessDisplay().SetIdleHandler([&] {
    if (++Step > 1) return false;
    HeadlessDisplay().KeyPress(VK_ESCAPE);
    return true;
  });
  EXPECT_EQ(Form->ShowModal(), mrCancel);
  EXPECT_EQ(GetFocus() == Form->CancelButton->Handle(), false) << "the button was clicked without taking the focus";
}

TEST_F(FormWindows, KeyPreviewLetsTheFormSeeKeysFirstAndSwallowThem) {
  class TKeys : public TObject {
  public:
    AnsiString Log;
    void FormKey(TObject*, Word& Key, TShiftState) {
      Log += "form;";
      if (Key == 'X') Key = 0;
    }
    void PanelKey(TObject*, Word&, TShiftState) { Log += "panel;"; }
  } Keys;
  ShowTestForm();
  Form->OnKeyDown = TKeyEvent(&Keys, &TKeys::FormKey);
  Form->First->OnKeyDown = TKeyEvent(&Keys, &TKeys::PanelKey);
  HeadlessDisplay().KeyPress('A');
  App->ProcessMessages();
  EXPECT_EQ(Keys.Log, "panel;") << "without KeyPreview the form is not asked";
  Keys.Log.clear();
  Form->SetKeyPreview(true);
  HeadlessDisplay().KeyPress('A');
  HeadlessDisplay().KeyPress('X');
  App->ProcessMessages();
  EXPECT_EQ(Keys.Log, "form;panel;form;");
  Form->OnKeyDown = Form->First->OnKeyDown = nullptr;
}

TEST_F(FormWindows, RunEndsWhenTheMainFormCloses) {
  App->CreateForm(Form);
  EXPECT_EQ(App->MainForm(), Form);
  HeadlessDisplay().SetIdleHandler([&] {
    if (App->Terminated()) return false;
    PostMessageA(Form->Handle(), WM_CLOSE, 0, 0);
    return true;
  });
  App->Run();
  EXPECT_TRUE(App->Terminated());
  EXPECT_EQ(Screen->ActiveForm(), Form);
}

TEST_F(FormWindows, ScreenCursorShowsTheHourglassAndComesBack) {
  ShowTestForm();
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_EQ(Screen->Cursors(crHourGlass), LoadCursorA(nullptr, IDC_WAIT));
  const TPoint P = CentreOf(Form->First);
  HeadlessDisplay().MouseMove(P.X, P.Y);
  App->ProcessMessages();
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT)) << "moving the mouse keeps it";
  Form->First->SetCursor(crIBeam);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_IBEAM)) << "the control under the mouse chooses again";
}

TEST_F(FormWindows, ScreenAnswersFromTheDisplayAndTheSystemSettings) {
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
  EXPECT_EQ(Screen->Width(), 1024);
  EXPECT_EQ(Screen->WorkAreaRect(), TRect(0, 0, 1024, 738));
  NONCLIENTMETRICSA M;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(M), &M, 0));
  EXPECT_EQ(Screen->MenuFont()->GetName(), AnsiString(M.lfMenuFont.lfFaceName));
  EXPECT_EQ(Screen->MenuFont()->GetHeight(), M.lfMenuFont.lfHeight);
  EXPECT_EQ(Screen->HintFont()->GetColor(), clInfoText);
  EXPECT_GE(Screen->Fonts()->IndexOf("Arial"), 0) << "Windows names are offered";
  // Forms come and go from the list, the shown one first.
  ShowTestForm();
  auto Other = std::make_unique<TForm>(nullptr);
  EXPECT_EQ(Screen->FormCount(), 2);
  Other->Show();
  HeadlessDisplay().ProcessMessages();
  EXPECT_EQ(Screen->ActiveForm(), Other.get());
  EXPECT_EQ(Screen->Forms(0), Other.get());
  EXPECT_EQ(FindGlobalComponent("testform"), Form) << "descriptions find forms by name";
  Other.reset();
  EXPECT_EQ(Screen->FormCount(), 1);
  EXPECT_EQ(Screen->ActiveForm(), Form) << "activation went back to the other form";
}

TEST_F(FormWindows, GraphicChildRepaintsWhenItsOwnOrItsParentsColourChanges) {
  ShowTestForm();
  auto* Label = new TTestLabel(Form);
  Label->SetBounds(150, 40, 40, 20);
  Label->SetParent(Form);
  App->ProcessMessages();
  const TPoint Origin = Form->ClientOrigin();
  auto Pixel = [&] { return HeadlessDisplay().ScreenPixel(Origin.X + 160, Origin.Y + 50); };
  ASSERT_EQ(Pixel(), ColorToRGB(clBtnFace)) << "follows the form's colour";
  // Nothing else invalidates the control: the new colour must show by itself.
  Label->SetColor(clLime);
  App->ProcessMessages();
  EXPECT_EQ(Pixel(), ColorToRGB(clLime));
  Label->SetParentColor(true);
  Form->SetColor(clNavy);
  App->ProcessMessages();
  EXPECT_EQ(Pixel(), ColorToRGB(clNavy)) << "a parent colour reaches the graphic child";
}

TEST_F(FormWindows, GraphicChildPaintsOnItsParentAndKeepsTheMouseWhileCaptured) {
  ShowTestForm();
  auto* Label = new TTestLabel(Form);
  Label->SetBounds(150, 40, 40, 20);
  Label->SetColor(clRed);
  Label->SetParent(Form);
  App->ProcessMessages();
  const TPoint Origin = Form->ClientOrigin();
  auto& D = HeadlessDisplay();
  EXPECT_EQ(D.ScreenPixel(Origin.X + 160, Origin.Y + 50), ColorToRGB(clRed));
  EXPECT_EQ(D.ScreenPixel(Origin.X + 195, Origin.Y + 50), ColorToRGB(clBtnFace)) << "clipped to its rectangle";

  // Press on it, drag far outside, release: the moves keep coming to it.
  D.MouseDown(Origin.X + 160, Origin.Y + 50);
  D.MouseMove(Origin.X + 260, Origin.Y + 150);
  App->ProcessMessages();
  EXPECT_TRUE(Label->GetMouseCapture());
  ASSERT_FALSE(Label->Moves.empty());
  EXPECT_EQ(Label->Moves.back(), TPoint(110, 110)) << "in the label's own coordinates";
  D.MouseUp(Origin.X + 260, Origin.Y + 150);
  App->ProcessMessages();
  EXPECT_FALSE(Label->GetMouseCapture());
  EXPECT_EQ(Label->Clicks, 0) << "released outside";
  AdvanceClock(GetDoubleClickTime() + 1);  // not the second half of a double click
  D.Click(Origin.X + 160, Origin.Y + 50);
  App->ProcessMessages();
  EXPECT_EQ(Label->Clicks, 1);
}

namespace {
// Takes hint actions as a status bar's automatic hint panel does.
class THintBar : public TCustomControl {
  SX_CLASS(THintBar, TCustomControl)
public:
  explicit THintBar(TComponent* AOwner) : TCustomControl(AOwner) {}
  AnsiString Text;
  bool ExecuteAction(TBasicAction* Action) override {
    if (auto* H = dynamic_cast<THintAction*>(Action)) {
      Text = H->Hint;
      return true;
    }
    return inherited::ExecuteAction(Action);
  }
};
}  // namespace

TEST_F(FormWindows, ApplicationHintReachesAStatusBarThroughTheHintAction) {
  ShowTestForm();
  auto* Bar = new THintBar(Form);
  Bar->SetParent(Form);
  Bar->SetAlign(alBottom);
  App->ProcessMessages();
  App->SetHint("Opens a file");
  EXPECT_EQ(Bar->Text, "Opens a file");
  Bar->Hide();
  App->SetHint("Hidden bars are not asked");
  EXPECT_EQ(Bar->Text, "Opens a file");
}

TEST_F(FormWindows, FreeingTheFocusedControlLeavesNoDanglingFocus) {
  ShowTestForm();
  Form->Second->SetFocus();
  ASSERT_EQ(Screen->ActiveControl(), Form->Second);
  delete Form->Second;
  Form->Second = nullptr;
  EXPECT_EQ(Form->GetActiveControl(), nullptr);
  EXPECT_EQ(Screen->ActiveControl(), Form) << "the form's own window keeps the focus";
  HeadlessDisplay().KeyPress(VK_TAB);
  App->ProcessMessages();
  EXPECT_NE(Form->GetActiveControl(), nullptr) << "Tab still finds the next control";
}

TEST_F(FormWindows, TimerSwitchedOffInsideItsOwnEventStops) {
  class TOnce : public TObject {
  public:
    TTimer* Timer = nullptr;
    int Count = 0;
    void Tick(TObject*) {
      ++Count;
      Timer->SetEnabled(false);
    }
  } Once;
  TTimer Timer(nullptr);
  Once.Timer = &Timer;
  Timer.SetInterval(50);
  Timer.SetOnTimer(TNotifyEvent(&Once, &TOnce::Tick));
  for (int i = 0; i < 5; ++i) {
    AdvanceClock(50);
    App->ProcessMessages();
  }
  EXPECT_EQ(Once.Count, 1);
}

TEST_F(FormWindows, ChildNotificationsComeBackToTheChildAsCnMessages) {
  ShowTestForm();
  Form->OkButton->Seen.clear();
  HWND Child = Form->OkButton->Handle();
  SendMessageA(Form->Handle(), WM_COMMAND, MAKEWPARAM(1, 0), LPARAM(Child));
  SendMessageA(Form->Handle(), WM_VSCROLL, 0, LPARAM(Child));
  SendMessageA(Form->Handle(), WM_COMMAND, 0, 0);  // a menu command stays with the form
  const std::vector<UINT> Want{CN_COMMAND, CN_VSCROLL};
  EXPECT_EQ(Form->OkButton->Seen, Want);
}
