// cxHotZoneStyles.h — the hot zone of a splitter (the collapse/restore
// button in its middle) drawn through a pluggable style object, the four
// registered styles, and the small paint helpers they share. A style draws
// for an owner (the splitter) that it knows only through
// IcxHotZoneStyleOwner; TcxHotZoneStyleHolder is the owner's slot that keeps
// exactly one style alive.
#pragma once
#include <memory>
#include "controls/base/cxClasses.h"
#include "controls/base/cxGraphics.h"
#include "platform/rtl/Persistent.h"

class IcxHotZoneStyleOwner {
public:
  virtual ~IcxHotZoneStyleOwner() = default;
  virtual void HotZoneStyleChanged() = 0;   // repaint
  virtual int GetArrowDirection() const = 0;  // 0 right, 1 left, 2 down, 3 up
  virtual TColor GetHotZoneBackColor() const = 0;  // the splitter's Color
};

class TcxHotZoneStyle : public TPersistent {
  SX_CLASS(TcxHotZoneStyle, TPersistent)
public:
  explicit TcxHotZoneStyle(IcxHotZoneStyleOwner* AOwner = nullptr) : FOwner(AOwner) {}
  static void Published(TPublished<TcxHotZoneStyle>& P) {
    P.Property("SizePercent", &TcxHotZoneStyle::GetSizePercent, &TcxHotZoneStyle::SetSizePercent).Default(30);
    P.Property("Visible", &TcxHotZoneStyle::GetVisible, &TcxHotZoneStyle::SetVisible).Default(true);
  }
  void Assign(TPersistent* Source) override;

  int GetSizePercent() const { return FSizePercent; }
  void SetSizePercent(int Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  IcxHotZoneStyleOwner* Owner() const { return FOwner; }
  void ClearOwner() { FOwner = nullptr; }
  const TRect& HotZoneRect() const { return FHotZoneRect; }

  virtual void Changed();
  virtual int SplitterDirection() const { return FOwner ? FOwner->GetArrowDirection() : 0; }
  virtual void CalculateHotZoneRect(const TRect& ABounds, TRect& R);
  virtual int MinThickness() const { return 8; }
  virtual int MaxThickness() const { return 8; }
  virtual void DrawHotZone(TcxCanvas*, const TRect&, bool /*AHot*/, bool /*APressed*/, TRect&) {}
  virtual void DrawBackground(TcxCanvas*, const TRect&, bool /*AHot*/, bool /*APressed*/) {}

protected:
  bool LiesHorizontally() const { return SplitterDirection() >= 2; }
  TColor BackColor() const { return FOwner ? FOwner->GetHotZoneBackColor() : clBtnFace; }
  // The shared frame of every concrete DrawHotZone: rectangle, background,
  // then the style's decoration.
  void DrawWith(TcxCanvas* ACanvas, const TRect& ABounds, bool AHot, bool APressed, TRect& R);
  virtual void DrawDecoration(TcxCanvas*, const TRect&, bool /*AHot*/, bool /*APressed*/) {}
  void SetColor(TColor& AField, TColor Value);
  TRect FHotZoneRect;

private:
  IcxHotZoneStyleOwner* FOwner;
  int FSizePercent = 30;
  bool FVisible = true;
};

class TcxMediaPlayer9Style : public TcxHotZoneStyle {
  SX_CLASS(TcxMediaPlayer9Style, TcxHotZoneStyle)
public:
  using TcxHotZoneStyle::TcxHotZoneStyle;
  void Assign(TPersistent* Source) override;
  TColor ArrowColor = clWindowText;
  TColor ArrowHighlightColor = TColor(0xFF0000);
  TColor LightColor = clWindow;
  TColor BorderColor = clBtnShadow;
  TColor ShadowStartColor = TColor(0xF5E7CD);
  TColor ShadowHighlightStartColor = TColor(0xAFF5C3);
  void SetArrowColor(TColor V) { SetColor(ArrowColor, V); }
  void CalculateHotZoneRect(const TRect& ABounds, TRect& R) override;
  void DrawHotZone(TcxCanvas* C, const TRect& B, bool H, bool P, TRect& R) override { DrawWith(C, B, H, P, R); }
  void DrawBackground(TcxCanvas* ACanvas, const TRect& R, bool AHot, bool APressed) override;
  TRect ArrowRect;

protected:
  void DrawDecoration(TcxCanvas* ACanvas, const TRect& R, bool AHot, bool APressed) override;
};

class TcxMediaPlayer8Style : public TcxHotZoneStyle {
  SX_CLASS(TcxMediaPlayer8Style, TcxHotZoneStyle)
public:
  using TcxHotZoneStyle::TcxHotZoneStyle;
  void Assign(TPersistent* Source) override;
  TColor ArrowColor = clWindowText;
  TColor ArrowHighlightColor = clWindow;
  TColor LightColor = clWindow;
  TColor ShadowColor = clBtnShadow;
  void CalculateHotZoneRect(const TRect& ABounds, TRect& R) override;
  void DrawHotZone(TcxCanvas* C, const TRect& B, bool H, bool P, TRect& R) override { DrawWith(C, B, H, P, R); }
  void DrawBackground(TcxCanvas* ACanvas, const TRect& R, bool AHot, bool APressed) override;
  TRect ArrowRect, StartDotsRect, EndDotsRect;

protected:
  void DrawDecoration(TcxCanvas* ACanvas, const TRect& R, bool AHot, bool APressed) override;
};

class TcxXPTaskBarStyle : public TcxHotZoneStyle {
  SX_CLASS(TcxXPTaskBarStyle, TcxHotZoneStyle)
public:
  using TcxHotZoneStyle::TcxHotZoneStyle;
  void Assign(TPersistent* Source) override;
  TColor LightColor = clWindow;
  TColor ShadowColor = clBtnShadow;
  void CalculateHotZoneRect(const TRect& ABounds, TRect& R) override;
  void DrawHotZone(TcxCanvas* C, const TRect& B, bool H, bool P, TRect& R) override { DrawWith(C, B, H, P, R); }
  void DrawBackground(TcxCanvas* ACanvas, const TRect& R, bool AHot, bool APressed) override;
  TRect StartDotsRect, EndDotsRect;

protected:
  void DrawDecoration(TcxCanvas* ACanvas, const TRect& R, bool AHot, bool APressed) override;
};

class TcxSimpleStyle : public TcxHotZoneStyle {
  SX_CLASS(TcxSimpleStyle, TcxHotZoneStyle)
public:
  using TcxHotZoneStyle::TcxHotZoneStyle;
  void Assign(TPersistent* Source) override;
  TColor ArrowColor = clWindowText;
  TColor ArrowHighlightColor = clWindow;
  TColor LightColor = clWindow;
  TColor ShadowColor = clBtnShadow;
  TColor DotsColor = clHighlight;
  TColor DotsShadowColor = clWindow;
  void CalculateHotZoneRect(const TRect& ABounds, TRect& R) override;
  void DrawHotZone(TcxCanvas* C, const TRect& B, bool H, bool P, TRect& R) override { DrawWith(C, B, H, P, R); }
  void DrawBackground(TcxCanvas* ACanvas, const TRect& R, bool AHot, bool APressed) override;
  TRect StartArrowRect, EndArrowRect;

protected:
  void DrawDecoration(TcxCanvas* ACanvas, const TRect& R, bool AHot, bool APressed) override;
};

// The registered styles, by description "MediaPlayer9", "MediaPlayer8",
// "XPTaskBar", "Simple" (registered in the order MediaPlayer8,
// MediaPlayer9, XPTaskBar, Simple).
TcxRegisteredClasses& GetRegisteredHotZoneStyles();
// A new style of a registered class; nil for any other class.
std::unique_ptr<TcxHotZoneStyle> CreateHotZoneStyle(TClass AClass, IcxHotZoneStyleOwner* AOwner);

// The owner's slot: holds one style and frees the one it replaces.
class TcxHotZoneStyleHolder {
public:
  explicit TcxHotZoneStyleHolder(IcxHotZoneStyleOwner* AOwner) : FOwner(AOwner) {}
  TcxHotZoneStyle* Get() const { return FStyle.get(); }
  // Takes ownership; the previous style is freed (unless it is the same).
  void Set(std::unique_ptr<TcxHotZoneStyle> AStyle);
  AnsiString GetClassName() const { return FStyle ? FStyle->ClassName() : AnsiString(); }
  // A registered class name selects a new style that keeps SizePercent and
  // Visible; '' or an unknown name removes the style.
  void SetClassName(const AnsiString& AName);

private:
  IcxHotZoneStyleOwner* FOwner;
  std::unique_ptr<TcxHotZoneStyle> FStyle;
};

// Paint helpers.
void DrawRectLines(TcxCanvas* ACanvas, const TRect& R, TColor ALeftTopColor, TColor ARightBottomColor, TRect& AInner);
void DrawLineSegment(TcxCanvas* ACanvas, TColor AColor, TPoint AFrom, TPoint ATo);
void ShiftRectSides(TRect& R, int ALeft, int ATop, int ARight, int ABottom);
inline int RectWidthOrZero(const TRect& R) { return R.Right > R.Left ? R.Right - R.Left : 0; }
inline int RectHeightOrZero(const TRect& R) { return R.Bottom > R.Top ? R.Bottom - R.Top : 0; }
TColor LightenColor(TColor AColor, int ARed, int AGreen, int ABlue);
void DrawGripDots(TcxCanvas* ACanvas, const TRect& R, bool APressed, bool AForward, TColor ALightColor,
                  TColor AShadowColor, int ADirection, int AStart, int AAcross);
void DrawHotZoneArrow(TcxCanvas* ACanvas, const TRect& R, bool AHot, bool APressed, TColor AColor,
                      TColor AHighlightColor, int ADirection);
