// Services the class library gives every control, driven as a user would:
// mouse and keys through the headless display, time through the virtual
// clock. Drag and drop, context menus, hints, and Synchronize.
#include <gtest/gtest.h>

#include <memory>

#include "TestControls.h"
#include "platform/forms/Application.h"
#include "platform/forms/ControlDrag.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/HintWindow.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Mouse.h"
#include "platform/rtl/Threads.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

namespace {
// Records what the controls report, in order.
struct TRecorder : TObject {
  std::vector<AnsiString> Log;
  TObject* Source = nullptr;
  TObject* EndTarget = nullptr;
  TPoint At{-100, -100};
  bool AcceptDrops = true;
  bool HandleContext = false;

  void DragOver(TObject* Sender, TObject* Src, Integer X, Integer Y, TDragState State, bool& Accept) {
    static const char* Names[] = {"enter", "leave", "move"};
    Log.push_back(AnsiString("over ") + Names[State] + " " + static_cast<TComponent*>(Sender)->GetName());
    Source = Src;
    At = {X, Y};
    Accept = AcceptDrops;
  }
  void DragDrop(TObject* Sender, TObject* Src, Integer X, Integer Y) {
    Log.push_back("drop " + static_cast<TComponent*>(Sender)->GetName());
    Source = Src;
    At = {X, Y};
  }
  void EndDrag(TObject* Sender, TObject* Target, Integer, Integer) {
    Log.push_back("end " + static_cast<TComponent*>(Sender)->GetName());
    EndTarget = Target;
  }
  void ContextPopup(TObject* Sender, TPoint MousePos, bool& Handled) {
    Log.push_back("context " + static_cast<TComponent*>(Sender)->GetName());
    At = MousePos;
    Handled = HandleContext;
  }
  void MenuPopup(TObject*) { Log.push_back("menu"); }
};

// A popup menu that remembers where it was asked to show.
class TTestPopupMenu : public TPopupMenu {
public:
  using TPopupMenu::TPopupMenu;
  void Popup(Integer X, Integer Y) override { Shown.push_back({X, Y}); }
  std::vector<TPoint> Shown;
};

class ControlServices : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterTestControls();
    RegisterFormsClasses();
    ResetWindowSystem();
    UseVirtualClock();
    App = std::make_unique<TApplication>(nullptr);
    Form = new TForm(App.get());
    Form->SetBounds(100, 100, 300, 200);
    Source = Add("Source", {10, 10, 60, 60});
    Target = Add("Target", {150, 10, 250, 110});
    Form->Show();
    Display().ProcessMessages();
  }
  void TearDown() override {
    ResetDragState();
    App.reset();
    ResetWindowSystem();
    UseRealClock();
  }
  TTestPanel* Add(const char* Name, TRect R) {
    auto* P = new TTestPanel(Form);
    P->SetName(Name);
    P->SetBoundsRect(R);
    P->SetParent(Form);
    return P;
  }
  THeadlessDisplay& Display() { return HeadlessDisplay(); }
  TPoint ScreenOf(TControl* C, TPoint Client) { return C->ClientToScreen(Client); }
  void Pump() { App->ProcessMessages(); }

  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TTestPanel* Source = nullptr;
  TTestPanel* Target = nullptr;
  TRecorder R;
};
}  // namespace

TEST_F(ControlServices, DraggedControlDropsOnAnotherWithItsSourceAndPoint) {
  Source->SetDragMode(dmAutomatic);
  Target->OnDragOver = TDragOverEvent(&R, &TRecorder::DragOver);
  Target->OnDragDrop = TDragDropEvent(&R, &TRecorder::DragDrop);
  Source->OnEndDrag = TEndDragEvent(&R, &TRecorder::EndDrag);
  const TPoint Press = ScreenOf(Source, {20, 20});
  Display().MouseMove(Press.X, Press.Y);
  Display().MouseDown(Press.X, Press.Y);
  Pump();
  EXPECT_TRUE(Source->Dragging()) << "the press starts a pending drag";
  // Inside the threshold square nothing is dragged yet.
  Display().MouseMove(Press.X + Mouse->DragThreshold - 1, Press.Y);
  Pump();
  EXPECT_TRUE(R.Log.empty());
  const TPoint Over = ScreenOf(Target, {30, 40});
  Display().MouseMove(Over.X - 5, Over.Y);
  Pump();  // moves waiting together come as one
  Display().MouseMove(Over.X, Over.Y);
  Pump();
  ASSERT_EQ(R.Log, (std::vector<AnsiString>{"over enter Target", "over move Target"}));
  EXPECT_EQ(R.Source, Source) << "the events name the dragged control";
  EXPECT_EQ(R.At, TPoint(30, 40)) << "in the target's client coordinates";
  const TPoint Drop = ScreenOf(Target, {33, 44});
  Display().MouseMove(Drop.X, Drop.Y);
  Display().MouseUp(Drop.X, Drop.Y);
  Pump();
  EXPECT_EQ(R.Log.back(), "end Source");
  EXPECT_EQ(R.Log[R.Log.size() - 2], "drop Target");
  EXPECT_EQ(R.Source, Source);
  EXPECT_EQ(R.At, TPoint(33, 44));
  EXPECT_EQ(R.EndTarget, Target);
  EXPECT_FALSE(Source->Dragging());
  EXPECT_EQ(GetCapture(), nullptr) << "the drag lets go of the mouse";
}

TEST_F(ControlServices, RefusedOrCancelledDragDropsNothing) {
  struct TCase {
    bool Accept;
    bool Escape;
    const char* Why;
  } Cases[] = {
      {false, false, "the target refuses the source"},
      {true, true, "Esc cancels over an accepting target"},
  };
  Target->OnDragOver = TDragOverEvent(&R, &TRecorder::DragOver);
  Target->OnDragDrop = TDragDropEvent(&R, &TRecorder::DragDrop);
  Source->OnEndDrag = TEndDragEvent(&R, &TRecorder::EndDrag);
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    R.Log.clear();
    R.EndTarget = Form;
    R.AcceptDrops = C.Accept;
    const TPoint Press = ScreenOf(Source, {5, 5});
    Display().MouseMove(Press.X, Press.Y);
    Source->BeginDrag(/*Immediate=*/true);
    const TPoint Over = ScreenOf(Target, {10, 10});
    Display().MouseMove(Over.X, Over.Y);
    Pump();
    if (C.Escape) Display().KeyPress(VK_ESCAPE);
    else Display().MouseUp(Over.X, Over.Y);
    Pump();
    EXPECT_EQ(R.Log.back(), "end Source");
    EXPECT_EQ(R.Log[R.Log.size() - 2], "over leave Target");
    EXPECT_EQ(R.EndTarget, nullptr) << "no target took it";
    EXPECT_FALSE(Source->Dragging());
    if (C.Escape) Display().MouseUp(Over.X, Over.Y);
    Pump();
  }
}

TEST_F(ControlServices, ReleaseInsideTheThresholdEndsWithoutADrag) {
  Source->SetDragMode(dmAutomatic);
  Source->OnEndDrag = TEndDragEvent(&R, &TRecorder::EndDrag);
  Target->OnDragOver = TDragOverEvent(&R, &TRecorder::DragOver);
  const TPoint Press = ScreenOf(Source, {20, 20});
  Display().MouseMove(Press.X, Press.Y);
  Display().MouseDown(Press.X, Press.Y);
  Display().MouseMove(Press.X + 2, Press.Y + 2);
  Display().MouseUp(Press.X + 2, Press.Y + 2);
  Pump();
  EXPECT_EQ(R.Log, (std::vector<AnsiString>{"end Source"}));
  EXPECT_EQ(R.EndTarget, nullptr);
}

TEST_F(ControlServices, RightClickAsksOnContextPopupBeforeThePopupMenu) {
  auto* Menu = new TTestPopupMenu(Form);
  Target->SetPopupMenu(Menu);
  Target->OnContextPopup = TContextPopupEvent(&R, &TRecorder::ContextPopup);
  const TPoint P = ScreenOf(Target, {12, 34});
  for (bool Handle : {true, false}) {
    SCOPED_TRACE(Handle ? "handled in OnContextPopup" : "left to the menu");
    R.Log.clear();
    Menu->Shown.clear();
    R.HandleContext = Handle;
    Display().Click(P.X, P.Y, TInputButton::Right);
    Pump();
    EXPECT_EQ(R.Log, (std::vector<AnsiString>{"context Target"}));
    EXPECT_EQ(R.At, TPoint(12, 34)) << "client coordinates";
    if (Handle) {
      EXPECT_TRUE(Menu->Shown.empty());
    } else {
      ASSERT_EQ(Menu->Shown.size(), 1u);
      EXPECT_EQ(Menu->Shown[0], P) << "the menu shows at the click";
      EXPECT_EQ(Menu->PopupComponent, Target);
    }
  }
  // A control without a menu passes the request to its parent.
  Form->SetPopupMenu(Menu);
  Menu->Shown.clear();
  const TPoint S = ScreenOf(Source, {3, 3});
  Display().Click(S.X, S.Y, TInputButton::Right);
  Pump();
  EXPECT_EQ(Menu->Shown.size(), 1u);
  EXPECT_EQ(Menu->PopupComponent, Form);
  // A freed menu is forgotten.
  delete Menu;
  EXPECT_EQ(Target->GetPopupMenu(), nullptr);
}

TEST_F(ControlServices, HintShowsAfterItsPauseAndHidesOnAKey) {
  Target->SetHint("Drop here|Drop a control on this panel");
  Target->SetShowHint(true);
  App->HintPause = 500;
  const TPoint P = ScreenOf(Target, {20, 20});
  Display().MouseMove(P.X, P.Y);
  Pump();
  AdvanceClock(499);
  Pump();
  EXPECT_EQ(App->HintWindow(), nullptr) << "not before the pause";
  AdvanceClock(1);
  Pump();
  THintWindow* Hint = App->HintWindow();
  ASSERT_NE(Hint, nullptr);
  EXPECT_EQ(Hint->GetCaption(), "Drop here") << "the short part of the hint";
  EXPECT_TRUE(IsWindowVisible(Hint->Handle()));
  TRect Wr;
  GetWindowRect(Hint->Handle(), &Wr);
  EXPECT_EQ(Wr.Left, P.X);
  EXPECT_GT(Wr.Top, P.Y) << "below the cursor";
  EXPECT_EQ(Display().ScreenPixel(Wr.Left + Wr.Width() - 3, Wr.Top + Wr.Height() - 3), ColorToRGB(clInfoBk));
  EXPECT_NE(GetActiveWindow(), Hint->Handle()) << "showing a hint does not activate it";
  Display().KeyPress(VK_SHIFT);
  Pump();
  EXPECT_EQ(App->HintWindow(), nullptr) << "a key hides it";
  // A control without ShowHint shows nothing.
  const TPoint Q = ScreenOf(Source, {5, 5});
  Source->SetHint("never");
  Display().MouseMove(Q.X, Q.Y);
  Pump();
  AdvanceClock(2000);
  Pump();
  EXPECT_EQ(App->HintWindow(), nullptr);
}

TEST_F(ControlServices, HintShowCanChangeTheTextOrRefuse) {
  struct THintControl : TTestPanel {
    using TTestPanel::TTestPanel;
    bool Refuse = false;
    void Dispatch(TMessage& Message) override {
      if (Message.Msg == CM_HINTSHOW) {
        auto* Info = reinterpret_cast<THintInfo*>(Message.LParam);
        Info->HintStr = "changed";
        Message.Result = Refuse ? 1 : 0;
        return;
      }
      TTestPanel::Dispatch(Message);
    }
  };
  auto* C = new THintControl(Form);
  C->SetBounds(80, 120, 40, 40);
  C->SetParent(Form);
  C->SetHint("original");
  C->SetShowHint(true);
  const TPoint P = ScreenOf(C, {5, 5});
  for (bool Refuse : {false, true}) {
    SCOPED_TRACE(Refuse ? "refused" : "changed");
    C->Refuse = Refuse;
    App->CancelHint();
    Display().MouseMove(P.X, P.Y + (Refuse ? 1 : 0));
    Pump();
    AdvanceClock(App->HintPause);
    Pump();
    if (Refuse) {
      EXPECT_EQ(App->HintWindow(), nullptr);
    } else {
      ASSERT_NE(App->HintWindow(), nullptr);
      EXPECT_EQ(App->HintWindow()->GetCaption(), "changed");
    }
  }
}

TEST_F(ControlServices, MainWindowHooksSeeMessagesFirst) {
  struct THook : TObject {
    std::vector<UINT> Seen;
    bool Eat = false;
    bool Hook(TMessage& M) {
      Seen.push_back(M.Msg);
      return Eat;
    }
  } First, Second;
  App->HookMainWindow(TWindowHook(&First, &THook::Hook));
  App->HookMainWindow(TWindowHook(&Second, &THook::Hook));
  constexpr UINT Probe = WM_USER + 7;
  SendMessageA(App->Handle(), Probe, 0, 0);
  EXPECT_EQ(First.Seen, std::vector<UINT>{Probe});
  EXPECT_EQ(Second.Seen, std::vector<UINT>{Probe});
  Second.Eat = true;
  SendMessageA(App->Handle(), Probe, 0, 0);
  EXPECT_EQ(First.Seen.size(), 1u) << "the later hook handled it";
  App->UnhookMainWindow(TWindowHook(&Second, &THook::Hook));
  SendMessageA(App->Handle(), Probe, 0, 0);
  EXPECT_EQ(First.Seen.size(), 2u);
  EXPECT_EQ(Second.Seen.size(), 2u);
  App->UnhookMainWindow(TWindowHook(&First, &THook::Hook));
}

namespace {
class TSyncWorker : public TThread {
public:
  TSyncWorker() : TThread(true) {}
  DWORD RanIn = 0;
  TForm* Form = nullptr;
  AnsiString Seen;

protected:
  void Execute() override { Synchronize(TThreadMethod(this, &TSyncWorker::InGui)); }

private:
  void InGui() {
    RanIn = GetCurrentThreadId();
    Seen = Form->GetCaption();  // GUI objects are safe to touch here
  }
};
}  // namespace

TEST_F(ControlServices, WorkerSynchronizeRunsInTheGuiThreadThroughTheMessageLoop) {
  // On the real clock an idle loop waits for a post, which the worker's
  // call makes.
  UseRealClock();
  Form->SetCaption("main");
  TSyncWorker W;
  W.Form = Form;
  W.Resume();
  while (W.RanIn == 0) App->HandleMessage();
  EXPECT_EQ(W.RanIn, MainThreadID());
  EXPECT_EQ(W.Seen, "main");
  W.WaitFor();
}
