// StdCtrls.h — the class library's standard controls over the system
// classes: TCustomEdit/TEdit and TCustomMemo/TMemo ("EDIT"), TButton,
// TCheckBox and TRadioButton ("BUTTON"), TGroupBox (painted here) and
// TCustomLabel/TLabel (a graphic control). Each windowed control subclasses
// its system class (CreateSubClass), hears the class's notifications back
// as CN_COMMAND and answers its parent's colour question (CN_CTLCOLOR*)
// with its own Color and Font.
//
// Dialog keys: a TButton with Default answers Enter (the focused button
// takes that role while it has the focus), one with Cancel answers Esc,
// both through CM_DIALOGKEY; a click sets the form's ModalResult. An "&" in
// a caption marks the accelerator that CM_DIALOGCHAR (Alt+letter, or the
// letter alone where the focused control takes no characters) matches: a
// button clicks, a check box toggles, a label focuses its FocusControl.
#pragma once
#include <memory>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/Strings.h"

SX_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)
SX_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)
// Check boxes and radio buttons put their caption left or right of the box.
using TLeftRight = TAlignment;
SX_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)

// True when Str's accelerator (the character after a single "&") is Key,
// case-insensitively.
bool IsAccel(Word Key, const AnsiString& Str);

// The brush a control answers WM_CTLCOLOR* with: its colour, made once per
// colour and freed with the control.
class TCtlColorBrush {
public:
  TCtlColorBrush() = default;
  ~TCtlColorBrush();
  TCtlColorBrush(const TCtlColorBrush&) = delete;
  TCtlColorBrush& operator=(const TCtlColorBrush&) = delete;
  HBRUSH Get(TColor Color);

private:
  HBRUSH FBrush = nullptr;
  COLORREF FColor = 0;
};

class TCustomEdit : public TWinControl {
  SX_CLASS(TCustomEdit, TWinControl)
public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TEditCharCase GetCharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  Integer GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value);
  bool GetModified() const;
  void SetModified(bool Value);
  char GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool GetOEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value) { FOEMConvert = Value; }
  // Selection in characters from the start of the text.
  Integer GetSelStart();
  void SetSelStart(Integer Value);
  Integer GetSelLength();
  void SetSelLength(Integer Value);
  AnsiString GetSelText();
  void SetSelText(const AnsiString& Value);
  void SetAutoSize(bool Value) override;

  bool CanUndo();
  void Clear();
  void ClearSelection();
  void ClearUndo();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  void SelectAll();

  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  virtual void Change();
  void DoEnter() override;
  // Height that fits the font, for AutoSize.
  void AdjustHeight();
  void CNCommand(TMessage& Message);
  void CNCtlColor(TMessage& Message);

  Integer FMaxLength = 0;
  TBorderStyle FBorderStyle = bsSingle;
  char FPasswordChar = 0;
  bool FReadOnly = false;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  bool FOEMConvert = false;
  TEditCharCase FCharCase = ecNormal;
  bool FModified = false;  // kept while there is no window
  bool FCreating = false;
  TCtlColorBrush FBrush;
};

class TEdit : public TCustomEdit {
  SX_CLASS(TEdit, TCustomEdit)
public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
  static void Published(TPublished<TEdit>& P);
};

class TCustomMemo;

// The lines of a memo: hard lines of its text (CR LF, CR or LF end one).
class TMemoStrings : public TStrings {
  SX_CLASS(TMemoStrings, TStrings)
public:
  explicit TMemoStrings(TCustomMemo* Memo = nullptr) : FMemo(Memo) {}
  Integer GetCount() const override;
  AnsiString Get(Integer Index) const override;
  void Put(Integer Index, const AnsiString& S) override;
  void Insert(Integer Index, const AnsiString& S) override;
  void Delete(Integer Index) override;
  void Clear() override;
  AnsiString GetTextStr() const override;
  void SetTextStr(const AnsiString& Value) override;

private:
  std::vector<AnsiString> Split() const;
  void Join(const std::vector<AnsiString>& Lines);
  TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
  SX_CLASS(TCustomMemo, TCustomEdit)
public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  TStrings* GetLines() const { return FLines.get(); }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool GetWantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool GetWantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // The caret's line and column.
  TPoint GetCaretPos();

protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void KeyPress(char& Key) override;

  std::unique_ptr<TMemoStrings> FLines;
  TAlignment FAlignment = taLeftJustify;
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FWordWrap = true;
};

class TMemo : public TCustomMemo {
  SX_CLASS(TMemo, TCustomMemo)
public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
  static void Published(TPublished<TMemo>& P);
};

// What buttons, check boxes and radio buttons share: a subclassed BUTTON
// window whose clicks come back as CN_COMMAND.
class TButtonControl : public TWinControl {
  SX_CLASS(TButtonControl, TWinControl)
public:
  explicit TButtonControl(TComponent* AOwner);
  ~TButtonControl() override;

protected:
  void Dispatch(TMessage& Message) override;
  void CNCtlColor(TMessage& Message);
  // Runs a handler with the library's exception guard: an error goes to the
  // application's error display and the control stays usable.
  template <class F>
  void Guarded(F&& Body);
  virtual bool GetChecked() const { return false; }
  virtual void SetChecked(bool) {}
  bool FClicksDisabled = false;
  TCtlColorBrush FBrush;
};

// An owner-drawn face of a push button (BS_OWNERDRAW while assigned).
using TButtonDrawEvent = TEvent<void(TObject* Sender, HDC DC, const TRect& Rect, UINT State)>;

class TButton : public TButtonControl {
  SX_CLASS(TButton, TButtonControl)
public:
  explicit TButton(TComponent* AOwner);
  static void Published(TPublished<TButton>& P);

  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  void Click() override;
  // Owner-drawn face: the handler paints every state (BS_OWNERDRAW).
  TButtonDrawEvent OnDrawItem;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void SetButtonStyle(bool ADefault);

private:
  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;  // Enter presses this button now
  TModalResult FModalResult = 0;
};

class TCustomCheckBox : public TButtonControl {
  SX_CLASS(TCustomCheckBox, TButtonControl)
public:
  explicit TCustomCheckBox(TComponent* AOwner);

  TLeftRight GetAlignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  TCheckBoxState GetState() const { return FState; }
  // Runs OnClick when the state changes.
  void SetState(TCheckBoxState Value);
  bool GetChecked() const override { return FState == cbChecked; }
  void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  // The next state of a click: unchecked, (grayed,) checked.
  virtual void Toggle();

  TLeftRight FAlignment = taRightJustify;
  bool FAllowGrayed = false;
  TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
  SX_CLASS(TCheckBox, TCustomCheckBox)
public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
  static void Published(TPublished<TCheckBox>& P);
};

class TRadioButton : public TButtonControl {
  SX_CLASS(TRadioButton, TButtonControl)
public:
  explicit TRadioButton(TComponent* AOwner);
  static void Published(TPublished<TRadioButton>& P);

  TLeftRight GetAlignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  bool GetChecked() const override { return FChecked; }
  // Checking one unchecks the other radio buttons of the same parent; the
  // checked one is the group's tab stop.
  void SetChecked(bool Value) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

private:
  TLeftRight FAlignment = taRightJustify;
  bool FChecked = false;
};

class TCustomGroupBox : public TCustomControl {
  SX_CLASS(TCustomGroupBox, TCustomControl)
public:
  explicit TCustomGroupBox(TComponent* AOwner);

protected:
  void AdjustClientRect(TRect& Rect) const override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
};

class TGroupBox : public TCustomGroupBox {
  SX_CLASS(TGroupBox, TCustomGroupBox)
public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
  static void Published(TPublished<TGroupBox>& P);
};

class TCustomLabel : public TGraphicControl {
  SX_CLASS(TCustomLabel, TGraphicControl)
public:
  explicit TCustomLabel(TComponent* AOwner);

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout GetLayout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  bool GetTransparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  void SetAutoSize(bool Value) override;

protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  // Sizes the label to its text (AutoSize), keeping the side its
  // alignment holds still.
  void AdjustBounds();
  // Draws (or with DT_CALCRECT measures) the caption in Rect.
  void DoDrawText(TRect& Rect, UINT Flags);

  TWinControl* FFocusControl = nullptr;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FShowAccelChar = true;
  bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
  SX_CLASS(TLabel, TCustomLabel)
public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
  static void Published(TPublished<TLabel>& P);
};

// Registers this unit's classes for form descriptions.
void RegisterStdCtrlsClasses();
