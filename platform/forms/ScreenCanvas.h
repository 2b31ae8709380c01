// ScreenCanvas.h — TScreenCanvas, a canvas on the whole screen's DC
// (GetDC of no window). It measures text where no window exists yet (the
// height of a popup menu before it opens); the DC is taken on first use
// and given back when the canvas goes.
#pragma once
#include "platform/gdi/Canvas.h"

class TScreenCanvas : public TCanvas {
  SX_CLASS(TScreenCanvas, TCanvas)
public:
  TScreenCanvas() = default;
  ~TScreenCanvas() override;
  // Gives the DC back now; the next drawing takes it again.
  void FreeHandle();

protected:
  void CreateHandle() override;

private:
  HDC FDC = nullptr;
};
