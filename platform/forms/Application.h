// Application.h — TApplication: the program's message loop, its hidden
// application window, its main form, the error display and the hint state.
//
// One application object exists while the program runs (the global
// Application); it creates the Screen with it. Its loops (Run, a form's
// ShowModal, ProcessMessages) retrieve messages, give the program's filters
// (OnMessage, the key and dialog handling of the controls) their turn and
// dispatch the rest. A library exception that escapes a handler ends at
// HandleException: OnException or the error display (a message box with
// the title and the message), and the loop goes on.
#pragma once
#include <memory>
#include <vector>
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Screen.h"
#include "platform/win/Display.h"

using TMessageEvent = TEvent<void(MSG& Msg, bool& Handled)>;
using TIdleEvent = TEvent<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = TEvent<void(TObject* Sender, const Exception& E)>;
using THelpEvent = TEvent<bool(Word Command, Integer Data, bool& CallHelp)>;
// A hook on the application window: true when it handled the message.
using TWindowHook = TEvent<bool(TMessage& Message)>;
class THintWindow;
class TIcon;

class TApplication : public TComponent {
  SX_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Chooses the display (SelectDisplay: the desktop's when there is one).
  void Initialize() { SelectDisplay(); }
  // Creates a form of the class (owned by the application) into Reference;
  // the first form created becomes the main form.
  template <class T>
  void CreateForm(T*& Reference) {
    Reference = nullptr;
    CreateForm(T::StaticClass(), reinterpret_cast<void**>(&Reference));
  }
  void CreateForm(TClass InstanceClass, void** Reference);
  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // Handles every message waiting, then returns.
  void ProcessMessages();
  // Handles one message, or idles (waiting for the next) when none waits.
  void HandleMessage();
  // Asks the loop to end (WM_QUIT).
  void Terminate();
  bool Terminated() const { return FTerminate; }

  // Call from a catch block: shows the exception being handled (EAbort
  // silently passes). Anything that is not a library exception is rethrown.
  void HandleException(TObject* Sender);
  void ShowException(const Exception& E);
  int MessageBox(const AnsiString& Text, const AnsiString& Caption, UINT Flags = MB_OK);

  // The hidden window that owns the forms and carries the title.
  HWND Handle();
  TCustomForm* MainForm() const { return FMainForm; }
  bool GetShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }
  AnsiString GetTitle() const { return FTitle; }
  void SetTitle(const AnsiString& Value);
  AnsiString ExeName() const;

  // The hint of the control under the mouse (its long part); OnHint runs
  // when it changes.
  AnsiString GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }
  TColor HintColor = clInfoBk;
  Integer HintPause = 500;
  Integer HintShortPause = 50;
  Integer HintHidePause = 2500;
  bool HintShortCuts = true;
  // Hides the hint and forgets the control it was for.
  void CancelHint();
  // The hint display's view of a mouse move at a screen point: starts the
  // hint pause over a control that shows hints, cancels it elsewhere.
  void HintMouseMessage(TPoint ScreenPos);
  // Shows the hint of the control under the cursor now (the pause ended).
  void ActivateHint(TPoint CursorPos);
  // The hint window while a hint shows, else nil.
  THintWindow* HintWindow() const;
  // The control the mouse is over, as of the last idle time.
  TControl* MouseControl() const { return FMouseControl; }

  // Help: OnHelp decides; without it there is no help system to call.
  bool HelpContext(Integer Context);
  bool HelpCommand(Integer Command, Integer Data);
  AnsiString HelpFile;

  void BringToFront();
  void Minimize();
  void Restore();
  // Takes the stay-on-top forms out of the top band while a system dialog
  // shows, and puts them back; the calls nest.
  void NormalizeTopMosts();
  void RestoreTopMosts();
  bool Active() const { return FActive; }

  // Hooks see the application window's messages before it does, last
  // hooked first.
  void HookMainWindow(const TWindowHook& Hook);
  void UnhookMainWindow(const TWindowHook& Hook);
  // The program's icon (the application window's and the forms' default).
  TIcon* GetIcon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value);

  TMessageEvent OnMessage;
  TIdleEvent OnIdle;
  TExceptionEvent OnException;
  TNotifyEvent OnHint;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  THelpEvent OnHelp;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool ProcessMessage(MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  void Idle(const MSG& Msg);
  TControl* DoMouseIdle();
  void SetMouseControl(TControl* Control);
  void WndProc(TMessage& Message);
  bool IsHintMsg(const MSG& Msg);
  void StartHintTimer(Integer Pause, bool Show);
  void HideHint();
  void SetHintControl(TControl* Control);
  void IconChanged(TObject* Sender);

  std::unique_ptr<TScreen> FScreen;
  std::unique_ptr<TIcon> FIcon;
  std::unique_ptr<THintWindow> FHintWindow;
  TControl* FHintControl = nullptr;
  TRect FHintCursorRect;       // screen: the hint stays while the mouse is inside
  bool FHintActive = false;    // a hint shows (a new control then waits the short pause)
  bool FHintTimerShows = true; // the running hint timer shows (else hides)
  std::vector<TWindowHook> FWindowHooks;
  HWND FHandle = nullptr;
  TCustomForm* FMainForm = nullptr;
  TControl* FMouseControl = nullptr;
  AnsiString FTitle;
  AnsiString FHint;
  bool FShowHint = true;
  bool FShowMainForm = true;
  bool FTerminate = false;
  bool FActive = true;
  Integer FTopMostLevel = 0;
  std::vector<HWND> FTopMostList;
  bool FHandleException = false;

  friend class TCustomForm;
};

// The program's application object; null when none exists.
extern TApplication* Application;

// "Short|Long" hints: the part before and after the bar.
AnsiString GetShortHint(const AnsiString& Hint);
AnsiString GetLongHint(const AnsiString& Hint);
