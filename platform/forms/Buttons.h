// Buttons.h — buttons with glyphs: TBitBtn (a push button with a picture
// and a kind that gives it a caption and a modal result) and TSpeedButton
// (a flat-capable tool button without a window, alone or in a group of
// which one is down).
//
// A glyph bitmap holds NumGlyphs images side by side: up, disabled,
// clicked, down. Its bottom-left pixel is the transparent colour.
#pragma once
#include <memory>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Bitmap.h"

SX_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)
SX_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
SX_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive)
using TNumGlyphs = Integer;

// Lays out and draws a glyph and a caption in Client (the button's face).
// Margin -1 centres the pair; Spacing -1 centres the caption in what is
// left. Offset moves both (a pressed face).
void DrawButtonFace(TCanvas* Canvas, const TRect& Client, TBitmap* Glyph, TNumGlyphs NumGlyphs,
                    TButtonState State, const AnsiString& Caption, TButtonLayout Layout, Integer Margin,
                    Integer Spacing, TPoint Offset);

class TBitBtn : public TCustomControl {
  SX_CLASS(TBitBtn, TCustomControl)
public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  static void Published(TPublished<TBitBtn>& P);

  TBitBtnKind GetKind() const { return FKind; }
  // A kind sets the caption, the modal result and Default/Cancel.
  void SetKind(TBitBtnKind Value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TNumGlyphs GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  Integer GetMargin() const { return FMargin; }
  void SetMargin(Integer Value);
  Integer GetSpacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  void Click() override;

protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;

private:
  void GlyphChanged(TObject*) { Invalidate(); }
  bool IsCustom() const { return FKind == bkCustom; }
  std::unique_ptr<TBitmap> FGlyph;
  TBitBtnKind FKind = bkCustom;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1, FSpacing = 4;
  TModalResult FModalResult = mrNone;
  bool FDefault = false, FCancel = false;
  bool FPressed = false;   // mouse or space held down over it
  bool FTracking = false;  // the mouse is held down on it
};

class TSpeedButton : public TGraphicControl {
  SX_CLASS(TSpeedButton, TGraphicControl)
public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  static void Published(TPublished<TSpeedButton>& P);

  Integer GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
  bool GetDown() const { return FDown; }
  // Down in a group puts the group's other buttons up; up is refused for
  // the last one down unless AllowAllUp.
  void SetDown(bool Value);
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool Value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TNumGlyphs GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  Integer GetMargin() const { return FMargin; }
  void SetMargin(Integer Value);
  Integer GetSpacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool MouseInControl() const { return FMouseInControl; }
  TButtonState State() const { return FState; }
  void Click() override;

protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
  void UpdateExclusive();
  void GlyphChanged(TObject*) { Invalidate(); }
  std::unique_ptr<TBitmap> FGlyph;
  Integer FGroupIndex = 0;
  bool FDown = false, FAllowAllUp = false, FFlat = false, FTransparent = true;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1, FSpacing = 4;
  TButtonState FState = bsUp;
  bool FDragging = false;
  bool FMouseInControl = false;
};
