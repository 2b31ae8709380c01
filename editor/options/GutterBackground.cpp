#include "editor/options/GutterBackground.h"

#include "editor/controls/DCMemo.h"

void DrawGutterEdge(TCanvas* Canvas, Integer Right, Integer Top, Integer Bottom, TColor BackColor,
                    TColor LineColor) {
  TPen* Pen = Canvas->Pen();
  Pen->SetStyle(psSolid);
  Pen->SetWidth(1);
  Pen->SetColor(BackColor);
  Canvas->MoveTo(Right - 2, Top);
  Canvas->LineTo(Right - 2, Bottom + 1);
  Pen->SetColor(LineColor);
  Canvas->MoveTo(Right - 1, Top);
  Canvas->LineTo(Right - 1, Bottom + 1);
}

TGutterBackground::TGutterBackground(TCustomDCMemo* AEditor) : TControlBackground(AEditor), FEditor(AEditor) {}

TRect TGutterBackground::GetRect() {
  if (!FEditor || !FEditor->HandleAllocated()) return {0, 0, 0, 0};
  return {0, 0, FEditor->GutterWidthInEffect(), FEditor->ClientHeight() + 1};
}

TBrush* TGutterBackground::GetBrush() { return FEditor ? FEditor->GetGutterBrush() : nullptr; }

void TGutterBackground::Update() {
  inherited::Update();
  if (!FEditor || !ShowsBackground()) return;
  TBitmap* Work = WorkBitmap();
  DrawGutterEdge(Work->Canvas(), Work->GetWidth(), 0, Work->GetHeight() - 1, FEditor->GetGutterBackColor(),
                 FEditor->GetGutterLineColor());
}
