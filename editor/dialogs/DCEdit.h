// DCEdit.h — the edit control with buttons: a single-line inner edit, up to
// two small buttons at the right edge (a drop-down arrow and "..."), a list
// that drops down under it, and an edit source that receives the committed
// text. The inner edit, the list and the source are chosen by class name
// among the registered ones; an unknown name gives a plain part.
#pragma once
#include <memory>

#include "editor/base/Notifiers.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/StdCtrls.h"

// Sent to an edit control with buttons: commit its text to its source now.
inline constexpr UINT DCM_VALIDATEEDIT = 2035;

class TCustomDCEdit;

class TButtonParams;

class TEditButton : public TSpeedButton {
  SX_CLASS(TEditButton, TSpeedButton)
public:
  explicit TEditButton(TComponent* AOwner);
  // The settings whose kind picks the arrow or the dots.
  TButtonParams* Params = nullptr;

protected:
  void Paint() override;
};

// The settings of one button. Width 0: the scroll-thumb width for the
// arrow and the dots, the glyph's width + 4 for a button of its own.
class TButtonParams : public TPersistent {
  SX_CLASS(TButtonParams, TPersistent)
public:
  // Inside the class: bkCustom is also a kind of bitmap button.
  SX_MEMBER_ENUM(TButtonKind, bkCustom, bkDropDown, bkDots)
  TButtonParams(TCustomDCEdit* AOwner, TEditButton* AButton, TButtonKind AKind);
  TButtonKind GetKind() const { return FKind; }
  void SetKind(TButtonKind Value);
  TBitmap* GetGlyph() const;
  // A glyph of its own makes the button a custom one.
  void SetGlyph(TBitmap* Value);
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer Value);
  bool GetVisible() const;
  void SetVisible(bool Value);
  TCursor Cursor = crDefault;
  TEditButton* Button() const { return FButton; }
  // The width the button is laid out with.
  Integer ActualWidth() const;

private:
  TCustomDCEdit* FOwner;
  TEditButton* FButton;
  TButtonKind FKind;
  Integer FWidth = 0;
};

using TButtonKind = TButtonParams::TButtonKind;
inline constexpr TButtonKind bkDropDown = TButtonParams::bkDropDown;
inline constexpr TButtonKind bkDots = TButtonParams::bkDots;

// A plain inner edit: no border; entering selects its text unless the
// left mouse button is down.
class TDCSimpleEdit : public TCustomEdit {
  SX_CLASS(TDCSimpleEdit, TCustomEdit)
public:
  explicit TDCSimpleEdit(TComponent* AOwner);

protected:
  void CreateParams(TCreateParams& Params) override;
  void DoEnter() override;
};

// Keeps the text it is given.
class TDummyEditSource : public TEditSource {
  SX_CLASS(TDummyEditSource, TEditSource)
public:
  explicit TDummyEditSource(TComponent* AOwner) : TEditSource(AOwner) {}
  AnsiString GetText() override { return FText; }
  void SetText(const AnsiString& Value) override { FText = Value; }

private:
  AnsiString FText;
};

// A hidden placeholder for a control without a list.
class TDummyPopup : public TWinControl {
  SX_CLASS(TDummyPopup, TWinControl)
public:
  explicit TDummyPopup(TComponent* AOwner) : TWinControl(AOwner) { SetVisible(false); }
};

class TCustomDCEdit : public TCustomControl {
  SX_CLASS(TCustomDCEdit, TCustomControl)
public:
  explicit TCustomDCEdit(TComponent* AOwner);
  ~TCustomDCEdit() override;

  TButtonParams* Button1() const { return FParams1.get(); }
  TButtonParams* Button2() const { return FParams2.get(); }
  TWinControl* InnerEdit() const { return FEdit; }
  TWinControl* Popup() const { return FPopup; }
  TEditSource* EditSource() const { return FSource; }

  // The parts by class name; a name not registered for its kind gives the
  // plain part.
  void SetEditClassName(const AnsiString& Name);
  void SetPopupClassName(const AnsiString& Name);
  void SetEditSourceClassName(const AnsiString& Name);

  virtual AnsiString GetText();
  virtual void SetText(const AnsiString& Value);
  bool DroppedDown() const { return FDropped; }
  virtual void DropDown();
  virtual void CloseUp(bool Accept);
  // Gives the text to the edit source (once at a time).
  void ValidateEdit();
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool DropOnClick = false;
  // Lays out the buttons and the inner edit.
  void ArrangeButtons();
  Integer VisibleButtons() const;
  // OnChange; the list runs it as soon as its selection moves.
  virtual void Change();

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;

  void SetParent(TWinControl* AParent) override;
  // The focus is the inner edit's.
  void SetFocus() override;
  bool Focused() const override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void Resize() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  virtual void UpdateSource();
  virtual void UpdateReadOnly();
  virtual void TextToPopup();
  virtual void PopupToText();
  virtual void EditWndProc(TMessage& Message);
  virtual TClass DefaultEditClass() const { return TDCSimpleEdit::StaticClass(); }
  virtual TClass DefaultPopupClass() const;

private:
  friend class TButtonParams;
  void SetEditClass(TClass AClass);
  void SetPopupClass(TClass AClass);
  void HookEdit();
  void UnhookEdit();
  void ButtonClick(TObject* Sender);
  void ArrangeEdit();

  std::unique_ptr<TButtonParams> FParams1, FParams2;
  TEditButton* FButton1 = nullptr;
  TEditButton* FButton2 = nullptr;
  TWinControl* FEdit = nullptr;
  TWinControl* FPopup = nullptr;
  TEditSource* FSource = nullptr;
  TWndMethod FEditProc;
  Integer FVisibleCount = 1;
  bool FHooked = false;
  bool FDropped = false;
  bool FValidating = false;
  bool FReadOnly = false;
  bool FPlainClick = false;
  AnsiString FKeptText;
};
