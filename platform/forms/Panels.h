// Panels.h — the library's containers and pictures: TPanel (bevelled,
// captioned container), TBevel (a framed line or box), TShape, TImage (a
// TPicture drawn plain, centred or stretched) and TScrollBox (a container
// that scrolls its children). All paint in the classic look with the
// system colours; text in the control's font.
#pragma once
#include <memory>

#include "platform/forms/Controls.h"
#include "platform/gdi/Picture.h"
#include "platform/gdi/DrawingTools.h"

SX_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)
using TPanelBevel = TBevelCut;
SX_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
SX_ENUM(TBevelStyle, bsLowered, bsRaised)
SX_ENUM(TShapeType, stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle)

// Draws Width one-pixel rings inside R (top and left in TopColor, bottom and
// right in BottomColor) and shrinks R past them.
void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, Integer Width);

class TPanel : public TCustomControl {
  SX_CLASS(TPanel, TCustomControl)
public:
  explicit TPanel(TComponent* AOwner);
  static void Published(TPublished<TPanel>& P);

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TPanelBevel GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel Value);
  Integer GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(Integer Value);
  Integer GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool GetFullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { FFullRepaint = Value; }
  bool GetParentBackground() const { return FParentBackground; }
  void SetParentBackground(bool Value) { FParentBackground = Value; }
  bool GetLocked() const { return FLocked; }
  void SetLocked(bool Value) { FLocked = Value; }

protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) const override;
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;

private:
  void Changed();
  TAlignment FAlignment = taCenter;
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  Integer FBevelWidth = 1;
  Integer FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
  bool FFullRepaint = true;
  bool FParentBackground = false;
  bool FLocked = false;
};

class TBevel : public TGraphicControl {
  SX_CLASS(TBevel, TGraphicControl)
public:
  explicit TBevel(TComponent* AOwner);
  static void Published(TPublished<TBevel>& P);
  TBevelShape GetShape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle GetStyle() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

protected:
  void Paint() override;

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

class TShape : public TGraphicControl {
  SX_CLASS(TShape, TGraphicControl)
public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  static void Published(TPublished<TShape>& P);
  TShapeType GetShape() const { return FShape; }
  void SetShape(TShapeType Value);
  TBrush* GetBrush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TPen* GetPen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }

protected:
  void Paint() override;

private:
  void StyleChanged(TObject*) { Invalidate(); }
  TShapeType FShape = stRectangle;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TPen> FPen;
};

class TImage : public TGraphicControl {
  SX_CLASS(TImage, TGraphicControl)
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  static void Published(TPublished<TImage>& P);
  TPicture* GetPicture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool GetCenter() const { return FCenter; }
  void SetCenter(bool Value);
  bool GetProportional() const { return FProportional; }
  void SetProportional(bool Value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // Where the picture goes in the control.
  TRect DestRect() const;

protected:
  void Paint() override;
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;

private:
  void PictureChanged(TObject*);
  std::unique_ptr<TPicture> FPicture;
  bool FStretch = false, FCenter = false, FProportional = false, FTransparent = false;
};

// A container whose children may lie beyond its client area: the scroll
// bars show the whole extent of the children and scrolling moves them.
class TScrollBox : public TWinControl {
  SX_CLASS(TScrollBox, TWinControl)
public:
  explicit TScrollBox(TComponent* AOwner);
  static void Published(TPublished<TScrollBox>& P);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TPoint ScrollPos() const { return FPos; }
  // Scrolls so that Control shows (as far as it fits).
  void ScrollInView(TControl* Control);
  void ScrollTo(TPoint Pos);
  void UpdateScrollBars();

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;

private:
  void Scroll(int Bar, WORD Code);
  TSize Extent() const;
  TBorderStyle FBorderStyle = bsSingle;
  TPoint FPos;
  bool FUpdating = false;
};
