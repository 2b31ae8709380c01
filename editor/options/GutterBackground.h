// GutterBackground.h — the editor's gutter picture or gradient: the
// background of the gutter strip, filled around a centred picture with the
// editor's GutterBrush, with the gutter's two edge lines drawn into the
// rendered bitmap so that painting copies the whole gutter at once.
#pragma once
#include "editor/view/ControlBackground.h"

class TCustomDCMemo;

class TGutterBackground : public TControlBackground {
  SX_CLASS(TGutterBackground, TControlBackground)
public:
  explicit TGutterBackground(TCustomDCMemo* AEditor);
  // (0, 0, gutter width in effect, client height + 1); empty without a window.
  TRect GetRect() override;
  TBrush* GetBrush() override;
  void Update() override;

private:
  TCustomDCMemo* FEditor;
};

// The gutter's edge: x = Right - 2 in the gutter's back colour, x = Right - 1
// in its line colour, from Top to Bottom inclusive.
void DrawGutterEdge(TCanvas* Canvas, Integer Right, Integer Top, Integer Bottom, TColor BackColor, TColor LineColor);
