// DCEdit.h — the edit control with buttons: a single-line inner edit, up to
// two small buttons at the right edge (a drop-down arrow and "..."), a list
// that drops down under it, and an edit source that receives the committed
// text. The inner edit, the list and the source are chosen by class name
// among the registered ones; an unknown name gives a plain part.
#pragma once
#include <memory>

#include "editor/base/Notifiers.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/Mask.h"
#include "platform/forms/StdCtrls.h"

// Sent to an edit control with buttons: commit its text to its source now.
inline constexpr UINT DCM_VALIDATEEDIT = 2035;

class TCustomDCEdit;

SX_ENUM(TTorvoBorderStyle, tbsSunkenBorder, tbsRaisedBorder, tbsSunkenLine, tbsRaisedLine, tbsLine, tbsLineBorder,
        tbsSunkenSingle, tbsRaisedSingle, tbsNone)

class TButtonParams;

class TEditButton : public TSpeedButton {
  SX_CLASS(TEditButton, TSpeedButton)
public:
  explicit TEditButton(TComponent* AOwner);
  // The settings whose kind picks the arrow or the dots.
  TButtonParams* Params = nullptr;

protected:
  void Paint() override;

private:
  // Lines that join the button to the control's painted frame.
  void BlendIntoFrame();
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
  // Read from and written to the button.
  TNumGlyphs GetNumGlyphs() const;
  // Only a custom button shows more than one image.
  void SetNumGlyphs(TNumGlyphs Value);
  AnsiString GetHint() const;
  void SetHint(const AnsiString& Value);
  bool GetShowHint() const;
  void SetShowHint(bool Value);
  bool GetParentShowHint() const;
  void SetParentShowHint(bool Value);
  static void Published(TPublished<TButtonParams>& P);
  void Assign(TPersistent* Source) override;
  TEditButton* Button() const { return FButton; }
  // The width the button is laid out with.
  Integer ActualWidth() const;

private:
  // The glyph belongs to a form description only for a custom button.
  bool IsGlyphStored() const { return FKind == bkCustom; }
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

// The masked inner edit: like the plain one, on a masked edit.
class TDCMaskEdit : public TCustomMaskEdit {
  SX_CLASS(TDCMaskEdit, TCustomMaskEdit)
public:
  explicit TDCMaskEdit(TComponent* AOwner);

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
  // Informational only.
  AnsiString GetVersion() const { return "1.0"; }
  void SetVersion(const AnsiString&) {}
  static void Published(TPublished<TCustomDCEdit>& P);
  bool DropOnClick = false;
  // Lays out the buttons and the inner edit.
  void ArrangeButtons();
  Integer VisibleButtons() const;
  // OnChange; the list runs it as soon as its selection moves.
  virtual void Change();

  // The frame: a client edge for bsSingle; a flat or "Torvo" frame the
  // control paints itself, which lights up while the mouse is over it or
  // it has the focus. Changing any of these re-creates the window.
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool Value);
  bool GetUseTorvoBorder() const { return FUseTorvoBorder; }
  void SetUseTorvoBorder(bool Value);
  TTorvoBorderStyle GetTorvoBorderStyle() const { return FTorvoBorderStyle; }
  void SetTorvoBorderStyle(TTorvoBorderStyle Value);
  TColor GetLineColor() const { return FLineColor; }
  void SetLineColor(TColor Value);
  // Whether the flat look is lit: the mouse is over the control or it has the focus.
  bool FlatActive() const;
  // Fits the height to the font.
  void AdjustHeight();

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;

  void SetParent(TWinControl* AParent) override;
  // A form description holds the parts whose class names are set, as
  // unnamed children of the control; reading them back reuses them.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  TComponent* GetChildOwner() override { return this; }
  TComponent* GetChildParent() override { return this; }
  // The focus is the inner edit's.
  void SetFocus() override;
  bool Focused() const override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;
  void Resize() override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  // Draws the flat or Torvo frame in the client area (nothing otherwise).
  virtual void PaintBorder(TCanvas* C);
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
  // A component of exactly that class the control owns that is not one of
  // its parts now (read in with the form), or nil.
  TComponent* StreamedPart(TClass AClass) const;
  void HookEdit();
  void UnhookEdit();
  void ButtonClick(TObject* Sender);
  void ArrangeEdit();
  // Repaints the frame and the buttons when the lit state changed.
  void RefreshFlat();
  void MouseLeft();
  // Pixels the painted frame takes at each side.
  Integer FrameInset() const;

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
  // The parts' class names as last set; while the control is read they
  // are only kept, and Loaded applies them.
  AnsiString FEditClassName, FPopupClassName, FSourceClassName;
  TBorderStyle FBorderStyle = bsSingle;
  bool FFlat = false;
  bool FUseTorvoBorder = false;
  TTorvoBorderStyle FTorvoBorderStyle = tbsSunkenBorder;
  TColor FLineColor = cl3DDkShadow;
  bool FMouseOutside = true;
  bool FMouseLeftOnce = false;
  // The lit state the frame was last painted in: 0 dark, 1 lit, -1 not yet.
  Integer FLastFlatActive = -1;
};
