// Canvas.h — TCanvas: drawing with a font, pen and brush on a device
// context. The canvas borrows its HDC (whoever set Handle, or a descendant's
// CreateHandle, owns it) and owns its TFont, TPen and TBrush.
//
// The tools are selected lazily: each operation asks for the parts of the
// state it needs (RequiredState) and only those are (re)selected. A tool
// that changes is deselected at once (the stock object takes its place) so
// that its old handle can be freed; it is selected again on next use.
#pragma once
#include <initializer_list>
#include <memory>
#include <mutex>
#include <span>
#include "platform/gdi/BlitRop.h"
#include "platform/gdi/DrawingTools.h"

class TGraphic;

SX_ENUM(TCanvasState, csHandleValid, csFontValid, csPenValid, csBrushValid)
using TCanvasStates = TSet<TCanvasState>;

using TCopyMode = LongInt;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

class TCanvas : public TPersistent {
  SX_CLASS(TCanvas, TPersistent)
public:
  TCanvas();
  ~TCanvas() override;

  // The DC; a canvas without one asks CreateHandle, and raises
  // EInvalidOperation "Canvas does not allow drawing" when none comes.
  HDC GetHandle();
  // Deselects the tools from the old DC first; the canvas never frees a DC.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* Font() const { return FFont.get(); }
  TPen* Pen() const { return FPen.get(); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }

  TCopyMode CopyMode = cmSrcCopy;
  // Added to every ExtTextOut call of TextOut and TextRect (ETO_*).
  Integer TextFlags = 0;
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  // --- pixels and lines ---------------------------------------------------
  TColor GetPixel(Integer X, Integer Y);
  void SetPixel(Integer X, Integer Y, TColor Color);
  TPoint GetPenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  void MoveTo(Integer X, Integer Y);
  void LineTo(Integer X, Integer Y);
  void Polyline(std::span<const TPoint> Points);
  void Polyline(std::initializer_list<TPoint> Points) { Polyline(std::span(Points.begin(), Points.size())); }
  void PolyBezier(std::span<const TPoint> Points);
  void PolyBezier(std::initializer_list<TPoint> Points) {
    PolyBezier(std::span(Points.begin(), Points.size()));
  }
  void Arc(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4, Integer Y4);

  // --- filled shapes (pen outline, brush inside) ---------------------------
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3);
  void Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  void Chord(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4, Integer Y4);
  void Pie(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4, Integer Y4);
  void Polygon(std::span<const TPoint> Points);
  void Polygon(std::initializer_list<TPoint> Points) { Polygon(std::span(Points.begin(), Points.size())); }

  // --- rectangles with the brush only ---------------------------------------
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  // The dotted XOR frame; drawing it twice removes it.
  void DrawFocusRect(const TRect& R);

  // --- text -------------------------------------------------------------------
  // Draws with the font at (X, Y) and moves the pen position past the text.
  void TextOut(Integer X, Integer Y, const AnsiString& Text);
  // Clipped to R; the brush fills R behind the text unless it is clear.
  void TextRect(const TRect& R, Integer X, Integer Y, const AnsiString& Text);
  TSize TextExtent(const AnsiString& Text);
  Integer TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
  Integer TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }

  // --- pictures and blits ------------------------------------------------------
  // The DC's background colour is the brush colour and its text colour the
  // font colour while the graphic draws (monochrome bitmaps take them).
  void Draw(Integer X, Integer Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  // StretchBlt from Canvas's Source to Dest with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

  // The clip box in logical coordinates.
  TRect ClipRect();

  // Other threads wait here while one draws; LockCount counts the nesting.
  void Lock();
  void Unlock();
  bool TryLock();
  Integer LockCount() const { return FLockCount; }

  // Drops the selected tools so that the next operation selects them anew.
  void Refresh();
  // Selects what State lacks of Req; raises when a DC cannot be had.
  void RequiredState(TCanvasStates Req);
  TCanvasStates State() const { return FState; }

protected:
  virtual void Changing();
  virtual void Changed();
  // Descendants that make their DC on demand override this.
  virtual void CreateHandle() {}

private:
  void CreateFont();
  void CreatePen();
  void CreateBrush();
  void DeselectHandles();
  void FontChanged(TObject* Sender);
  void PenChanged(TObject* Sender);
  void BrushChanged(TObject* Sender);

  HDC FHandle = nullptr;
  TCanvasStates FState;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  std::recursive_mutex FLock;
  Integer FLockCount = 0;
};
