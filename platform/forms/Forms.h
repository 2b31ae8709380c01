// Forms.h — TCustomForm and TForm: a top-level window of the program with
// its active control, close protocol, modal loop and form description.
//
// A form class with a description (resources/<ClassName>.dfm or one
// registered with RegisterFormDescription) reads it at the end of its own
// constructor:
//
//   class TMainForm : public TForm {
//     SX_CLASS(TMainForm, TForm)
//   public:
//     explicit TMainForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
//     static void Published(TPublished<TMainForm>& P) {
//       P.Property("Button1", &TMainForm::Button1, &TMainForm::Button1).Stored(false);
//       P.Method("Button1Click", &TMainForm::Button1Click);
//     }
//     TButton* Button1 = nullptr;   // set by name when the description is read
//     void Button1Click(TObject* Sender);
//   };
//
// (C++ cannot reach the derived class from the base constructor, so the
// description is read when the most derived constructor asks for it; the
// form's fields are fixed up by name and OnCreate runs last.) A plain
// TForm(Owner) is an empty form, as CreateNew gives.
#pragma once
#include "platform/forms/Controls.h"

SX_DECLARE_EXCEPTION(EResNotFound, Exception);

SX_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
// The form's position kind lives in a namespace named after its unit: the
// memo's TPosition (a line and column) has the same name, and a file may
// need both. Its values stay unqualified.
namespace Forms {
SX_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
        poMainFormCenter, poOwnerFormCenter)
}  // namespace Forms
using Forms::poDesigned, Forms::poDefault, Forms::poDefaultPosOnly, Forms::poDefaultSizeOnly,
    Forms::poScreenCenter, Forms::poDesktopCenter, Forms::poMainFormCenter, Forms::poOwnerFormCenter;
SX_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
SX_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
SX_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStateElem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateElem>;

using TModalResult = Integer;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;
// A key message (WParam the key, LParam its key data) offered as a shortcut.
using TShortCutEvent = TEvent<void(TMessage& Msg, bool& Handled)>;
class TMainMenu;

class TCustomForm : public TWinControl {
  SX_CLASS(TCustomForm, TWinControl)
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // --- focus ---
  TWinControl* GetActiveControl() const { return FActiveControl; }
  // Raises EInvalidOperation ("Cannot focus a disabled or invisible window")
  // for a control that cannot take the focus while the form is shown.
  void SetActiveControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  // Takes the focus off Control and its children (the form keeps it).
  void DefocusControl(TWinControl* Control, bool Removing);
  // The window of Control got the focus: the form's active control follows,
  // and CM_EXIT/CM_ENTER go down the parent chains. False when a handler
  // moved the focus elsewhere meanwhile.
  bool SetFocusedControl(TWinControl* Control);
  // The form is the one that has the keyboard focus of the program.
  bool IsFocusedForm() const;
  // Raises EInvalidOperation ("Cannot focus a disabled or invisible window")
  // for a hidden or disabled form.
  void SetFocus() override;
  bool GetKeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }

  // --- close protocol and modal result ---
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  virtual bool CloseQuery();
  void Close();
  // Shows the form and brings it to the front.
  void Show();
  // Shows the form and runs a nested message loop until ModalResult is set
  // (or the application terminates: mrCancel); the other windows of the
  // program are disabled meanwhile. Returns the modal result.
  virtual TModalResult ShowModal();
  // Frees the form once the messages now in the queue have been handled
  // (safe from the form's own event handlers).
  void Release();
  TFormState FormState() const { return FFormState; }

  // --- appearance ---
  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons GetBorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value) { FBorderIcons = Value; }
  TFormStyle GetFormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  Forms::TPosition GetPosition() const { return FPosition; }
  void SetPosition(Forms::TPosition Value) { FPosition = Value; }
  TWindowState GetWindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  Integer GetPixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(Integer Value) { FPixelsPerInch = Value; }
  bool GetScaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }

  TRect GetClientRect() const override;
  // While a description is read the client size waits for the border
  // style (which may come later) and is applied at the end of the read.
  void SetFormClientWidth(Integer Value);
  void SetFormClientHeight(Integer Value);
  void Loaded() override;
  TComponent* GetChildOwner() override { return this; }
  bool HasParent() override { return false; }
  // The controls, then the components the form owns that no control holds
  // (menus, timers, lists), so references to them can be read back.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  // --- menu bar and shortcuts ---
  TMainMenu* GetMenu() const { return FMenu; }
  // The menu shows as the window's menu bar; its commands reach its items.
  void SetMenu(TMainMenu* Value);
  // OnShortCut, then the main menu, then the form's action lists: true
  // when one of them took the key (CM_ISSHORTCUT asks this).
  virtual bool IsShortCut(TMessage& Message);
  TShortCutEvent OnShortCut;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

protected:
  // Reads the form descriptions of this class and its ancestors below
  // TForm, then runs OnCreate. Raises EResNotFound when the class has none.
  void InitializeForm();
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoClose(TCloseAction& Action);
  virtual void DoShow();
  virtual void DoHide();
  void Dispatch(TMessage& Message) override;
  void ReadState(TReader* Reader) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMDialogKey(TMessage& Message);
  void CMActionExecute(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void WMActivate(TMessage& Message);
  void WMClose(TMessage& Message);
  void WMSize(TMessage& Message);
  void SetActive(bool Value);
  void SetWindowFocus();
  void CloseModal();
  // The window style bits the border style, icons and form style give.
  void FormStyleBits(DWORD& Style, DWORD& ExStyle) const;

  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TModalResult FModalResult = mrNone;
  TFormState FFormState;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TFormStyle FFormStyle = fsNormal;
  Forms::TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  Integer FPixelsPerInch = 96;
  bool FScaled = true;
  bool FKeyPreview = false;
  bool FActive = false;
  bool FOldCreateOrder = false;
  Integer FFocusCount = 0;
  Integer FClientWidth = 0, FClientHeight = 0;  // read, not yet applied
  TMainMenu* FMenu = nullptr;
};

class TForm : public TCustomForm {
  SX_CLASS(TForm, TCustomForm)
public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}

  static void Published(TPublished<TForm>& P);
};
