#include "export/engine/PageItems.h"
#include <algorithm>
#include <cmath>

void TgtImageItem::SetRect(double L, double T, double R, double B) {
  X = std::min(L, R);
  Y = std::min(T, B);
  Width = std::fabs(R - L);
  Height = std::fabs(B - T);
  DisplayRect = {X, Y, X + Width, Y + Height};
}

void TgtPathItem::AssignPen(TPen* Source) {
  if (!Pen) Pen = std::make_unique<TPen>();
  Pen->Assign(Source);
}

void TgtPathItem::AssignBrush(TBrush* Source) {
  if (!Brush) Brush = std::make_unique<TBrush>();
  Brush->Assign(Source);
}
