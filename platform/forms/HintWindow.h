// HintWindow.h — the small window that shows a control's hint, and the
// record a control gets with CM_HINTSHOW to adjust what and where it shows.
//
// The application owns one hint window (of HintWindowClass), shows it after
// the hint pause over a control that shows hints, and hides it on the next
// key, click or activation change, or after the hide pause.
#pragma once
#include "platform/forms/Controls.h"

class THintWindow;
using THintWindowClass = TClass;

// CM_HINTSHOW's lParam. A control may change any field; a non-zero result
// of the message keeps the hint from showing.
struct THintInfo {
  TControl* HintControl = nullptr;
  THintWindowClass HintWindowClass = nullptr;
  TPoint HintPos;            // screen: the hint's top-left corner
  Integer HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;          // client coordinates of HintControl: moving out hides
  TPoint CursorPos;          // client coordinates of HintControl
  Integer ReshowTimeout = 0;
  Integer HideTimeout = 0;
  AnsiString HintStr;
  void* HintData = nullptr;
};

class THintWindow : public TCustomControl {
  SX_CLASS(THintWindow, TCustomControl)
public:
  explicit THintWindow(TComponent* AOwner);
  // Shows Hint in Rect (screen), kept on the screen, without activating.
  virtual void ActivateHint(TRect Rect, const AnsiString& Hint);
  virtual void ActivateHintData(TRect Rect, const AnsiString& Hint, void* AData) {
    (void)AData;
    ActivateHint(Rect, Hint);
  }
  // The rectangle (origin 0, 0) the text needs within MaxWidth.
  virtual TRect CalcHintRect(Integer MaxWidth, const AnsiString& Hint, void* AData);
  // Hides the hint (destroys its window).
  void ReleaseHandle();
  bool IsHintShowing();

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};

// The class the application makes its hint window of.
extern THintWindowClass HintWindowClass;
