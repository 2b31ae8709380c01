// JzNavBar.h — the captioned, gradient-filled navigation panels: each takes
// its colours from the navigation colour scheme (JzXPThemes.h) by its
// PanelType, can show hot and pressed looks through two more gradients,
// draws borders on chosen edges, a glyph, a caption and a grip of dots.
#pragma once
#include <memory>
#include "controls/lookandfeel/JzXPThemes.h"
#include "platform/forms/Panels.h"
#include "platform/gdi/Bitmap.h"

SX_ENUM(TJzNavStyle, stStandard, stXPTheme)
SX_ENUM(TJzNavBorderEdge, beLeft, beTop, beRight, beBottom)
using TJzNavBorderEdges = TSet<TJzNavBorderEdge>;
SX_ENUM(TJzNavGlyphAlignment, gaLeft, gaRight)
SX_ENUM(TJzNavPanelType, ptDefault, ptVGradient, ptHGradient, ptTitle, ptDivider, ptButton, ptButtonGradient,
        ptSplitter)

class TJzNavCustomControl;

class TJzNavGradient : public TPersistent {
  SX_CLASS(TJzNavGradient, TPersistent)
public:
  explicit TJzNavGradient(TJzNavCustomControl* AControl = nullptr);
  static void Published(TPublished<TJzNavGradient>& P);
  bool GetActive() const { return FActive; }
  void SetActive(bool Value) { Store(FActive, Value); }
  TColor GetColor1() const { return FColor1; }
  void SetColor1(TColor Value) { Store(FColor1, Value); }
  TColor GetColor2() const { return FColor2; }
  void SetColor2(TColor Value) { Store(FColor2, Value); }
  TColor GetColor3() const { return FColor3; }
  void SetColor3(TColor Value) { Store(FColor3, Value); }
  int GetPercent() const { return FPercent; }
  void SetPercent(int Value) { Store(FPercent, Value < 1 ? 1 : Value > 100 ? 100 : Value); }
  bool GetHorizontal() const { return FHorizontal; }
  void SetHorizontal(bool Value) { Store(FHorizontal, Value); }
  bool GetParentGradient() const { return FParentGradient; }
  void SetParentGradient(bool Value) { Store(FParentGradient, Value); }
  bool GetShowBorder() const { return FShowBorder; }
  void SetShowBorder(bool Value) { Store(FShowBorder, Value); }
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  void Assign(TPersistent* Source) override;

private:
  // Only a real change repaints (the panel re-applies its scheme on every
  // paint).
  template <class T>
  void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  void Changed();
  TJzNavCustomControl* FControl;
  bool FActive = false, FHorizontal = false, FParentGradient = false, FShowBorder = true;
  TColor FColor1 = TColor(0), FColor2 = TColor(0), FColor3 = TColor(0);
  int FPercent = 100;
  std::unique_ptr<TFont> FFont;
};

using TJzNavCustomStyleEvent = TEvent<void(TObject* Sender, TJzColorScheme& AColorScheme)>;

class TJzNavCustomControl : public TPanel {
  SX_CLASS(TJzNavCustomControl, TPanel)
public:
  explicit TJzNavCustomControl(TComponent* AOwner);
  ~TJzNavCustomControl() override;
  static void Published(TPublished<TJzNavCustomControl>& P);

  TJzNavStyle GetStyle() const { return FStyle; }
  void SetStyle(TJzNavStyle Value);
  bool GetParentStyle() const { return FParentStyle; }
  void SetParentStyle(bool Value);
  TJzNavBorderEdges GetBorderEdges() const { return FBorderEdges; }
  void SetBorderEdges(TJzNavBorderEdges Value);
  int GetBorderSize() const { return FBorderSize; }
  void SetBorderSize(int Value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TJzNavGlyphAlignment GetGlyphAlignment() const { return FGlyphAlignment; }
  void SetGlyphAlignment(TJzNavGlyphAlignment Value);
  int GetGlyphOffset() const { return FGlyphOffset; }
  void SetGlyphOffset(int Value);
  bool GetShowBorder() const { return FShowBorder; }
  void SetShowBorder(bool Value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool GetRemoveFlicker() const { return FRemoveFlicker; }
  void SetRemoveFlicker(bool Value) { FRemoveFlicker = Value; }
  TJzNavGradient* GradientNormal() const { return FNormal.get(); }
  TJzNavGradient* GradientHot() const { return FHot.get(); }
  TJzNavGradient* GradientPressed() const { return FPressed.get(); }
  TColor BorderColor() const { return FBorderColor; }
  bool IsHot() const { return FIsHot; }
  bool IsPressed() const { return FIsPressed; }

  TJzNavCustomStyleEvent OnCustomStyle;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // The style in effect: the parent navigation control's while ParentStyle.
  TJzNavStyle EffectiveStyle() const;
  // The gradient painted now (hot, pressed or normal, through
  // ParentGradient); nil for none.
  TJzNavGradient* GradientInUse() const;
  // Paints the whole panel onto a canvas (also the window's paint).
  void PaintTo(TCanvas* ACanvas);

protected:
  friend class TJzNavGradient;
  virtual void DrawContent(TCanvas* ACanvas, TFont* AFont);
  virtual bool ShowsCaption() const { return false; }
  virtual void ApplyColorScheme(const TJzColorScheme&) {}
  virtual void DrawExtras(TCanvas*) {}
  void Paint() override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void RebuildGreyGlyph();
  void SetBorderColor(TColor C) { FBorderColor = C; }
  virtual TJzNavGradient* Gradient(int Kind) const;  // 0 normal, 1 hot, 2 pressed
  void FillGradient(TCanvas* ACanvas, TJzNavGradient* G, const TRect& R);
  bool FGripEnabled = false;
  int FGripUnits = 10;
  bool FGripIsVertical = false;

private:
  TJzNavStyle FStyle = stStandard;
  bool FParentStyle = true;
  TJzNavBorderEdges FBorderEdges{beLeft, beTop, beRight, beBottom};
  int FBorderSize = 0;
  std::unique_ptr<TBitmap> FGlyph, FGreyGlyph;
  TJzNavGlyphAlignment FGlyphAlignment = gaLeft;
  int FGlyphOffset = 3;
  bool FShowBorder = true, FTransparent = false, FRemoveFlicker = true;
  std::unique_ptr<TJzNavGradient> FNormal, FHot, FPressed;
  TColor FBorderColor = clBtnShadow;
  bool FIsHot = false, FIsPressed = false;
};

class TJzNavPanel : public TJzNavCustomControl {
  SX_CLASS(TJzNavPanel, TJzNavCustomControl)
public:
  explicit TJzNavPanel(TComponent* AOwner);
  static void Published(TPublished<TJzNavPanel>& P);

  TJzNavPanelType GetPanelType() const { return FPanelType; }
  void SetPanelType(TJzNavPanelType Value);
  bool GetGripEnabled() const { return FGripEnabled; }
  void SetGripEnabled(bool Value);
  Byte GetGripUnits() const { return Byte(FGripUnits); }
  void SetGripUnits(Byte Value);
  bool GetGripIsVertical() const { return FGripIsVertical; }
  void SetGripIsVertical(bool Value);
  TColor DividerColor() const { return FDividerColor; }

protected:
  bool ShowsCaption() const override { return FShowCaption; }
  void ApplyColorScheme(const TJzColorScheme& AScheme) override;
  void DrawExtras(TCanvas* ACanvas) override;

private:
  TJzNavPanelType FPanelType = ptDefault;
  bool FShowCaption = true;
  TColor FDividerColor = clBtnShadow;
};

// The band fill of a navigation gradient: from A to B over R, in bands
// along x (AHorizontal) or y.
void JzNavBandFill(TCanvas* ACanvas, const TRect& R, TColor A, TColor B, bool AHorizontal);

void RegisterNavPanelClasses();
