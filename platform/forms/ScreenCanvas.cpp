#include "platform/forms/ScreenCanvas.h"

#include "platform/win/Paint.h"

TScreenCanvas::~TScreenCanvas() { FreeHandle(); }

void TScreenCanvas::FreeHandle() {
  if (!FDC) return;
  SetHandle(nullptr);
  ReleaseDC(nullptr, FDC);
  FDC = nullptr;
}

void TScreenCanvas::CreateHandle() {
  FDC = GetDC(nullptr);
  SetHandle(FDC);
}
