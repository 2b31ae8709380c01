// cxPopupWindow.h — a borderless, stay-on-top form shown next to a
// rectangle of an owner control. It flips to the other side of the owner
// rectangle when the work area leaves more room there, hides when it loses
// activation (a click outside it) or on Esc, and then gives the activation
// back to the window that had it. The drop-down editors derive from it.
#pragma once
#include <memory>
#include "controls/base/cxGraphics.h"
#include "platform/forms/Forms.h"

enum TcxPopupAlignHorz { pahLeft, pahCenter, pahRight };
enum TcxPopupAlignVert { pavTop, pavCenter, pavBottom };
enum TcxPopupDirection { pdHorizontal, pdVertical };
// 0 none; 1 a one-pixel frame in FrameColor; 2 raised 3-D edge (inner
// ring); 3 raised 3-D edge (both rings).
enum TcxPopupFrameStyle { fsNone_, fsFlat, fsRaisedInner, fsRaised };

class TcxPopupWindow : public TForm {
  SX_CLASS(TcxPopupWindow, TForm)
public:
  TcxPopupWindow();
  ~TcxPopupWindow() override;

  bool Adjustable = true;
  TcxPopupAlignHorz AlignHorz = pahLeft;
  TcxPopupAlignVert AlignVert = pavBottom;
  int BorderSpace = 0;
  TcxPopupDirection Direction = pdVertical;
  TColor FrameColor = clWindowText;
  TRect OwnerBounds;  // in OwnerParent's client coordinates
  TControl* OwnerParent = nullptr;

  TcxPopupFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TcxPopupFrameStyle Value);

  virtual void CalcPosition(TPoint& P);
  // Sizes the form around its children, which sit inside the frame and the
  // border space. Idempotent: the shift applied last time is taken back
  // before the current one is applied.
  virtual void CalcPopupSize();
  virtual int GetSideWidth(TcxBorder ASide) const { return GetFrameWidth(ASide) + BorderSpace; }
  virtual int GetFrameWidth(TcxBorder ASide) const;
  virtual TRect GetOwnerScreenRect() const;
  virtual void PreparePopup();
  virtual void PaintFrame(TcxCanvas* ACanvas);
  virtual void HidePopup();
  virtual void Popup();
  HWND PreviousActiveWindow() const { return FPrevActiveWnd; }

protected:
  void Dispatch(TMessage& Message) override;
  void PaintWindow(HDC DC) override;
  virtual void VisibilityModified() {}

private:
  void ShiftChildren(int DX, int DY);
  TcxPopupFrameStyle FFrameStyle = fsNone_;
  HWND FPrevActiveWnd = nullptr;
  TPoint FAppliedShift;  // the children's shift from their natural places
  bool FHiding = false;
};
