// A small page drawn through the GDI calls the exporters use, and a raster
// target to draw it on, for the recording and playback tests.
#pragma once
#include <cstdlib>
#include <vector>
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Font.h"

// A 32-bit memory DC of W x H, filled white.
struct TRasterTarget {
  HDC Dc = nullptr;
  HBITMAP Bmp = nullptr;
  HGDIOBJ Old = nullptr;
  int W, H;
  TRasterTarget(int AW, int AH) : W(AW), H(AH) {
    HDC Screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    Dc = CreateCompatibleDC(Screen);
    Bmp = CreateCompatibleBitmap(Screen, W, H);
    DeleteDC(Screen);
    Old = SelectObject(Dc, Bmp);
    TRect R(0, 0, W, H);
    FillRect(Dc, &R, HBRUSH(GetStockObject(WHITE_BRUSH)));
  }
  ~TRasterTarget() {
    SelectObject(Dc, Old);
    DeleteObject(Bmp);
    DeleteDC(Dc);
  }
  COLORREF Pixel(int X, int Y) const { return GetPixel(Dc, X, Y); }
};

// Pixels whose colours differ by more than Tolerance in some channel.
inline int DifferentPixels(const TRasterTarget& A, const TRasterTarget& B, int Tolerance = 48) {
  int N = 0;
  for (int Y = 0; Y < A.H; ++Y)
    for (int X = 0; X < A.W; ++X) {
      COLORREF P = A.Pixel(X, Y), Q = B.Pixel(X, Y);
      if (std::abs(GetRValue(P) - GetRValue(Q)) > Tolerance ||
          std::abs(GetGValue(P) - GetGValue(Q)) > Tolerance ||
          std::abs(GetBValue(P) - GetBValue(Q)) > Tolerance)
        ++N;
    }
  return N;
}

// The page: shapes with pens and brushes, text, a clip, a blit of a
// generated bitmap and a pattern fill.
inline void DrawTestPage(HDC Dc) {
  HPEN Red = CreatePen(PS_SOLID, 3, RGB(200, 0, 0));
  HBRUSH Blue = CreateSolidBrush(RGB(0, 0, 220));
  HGDIOBJ OldPen = SelectObject(Dc, Red);
  HGDIOBJ OldBrush = SelectObject(Dc, Blue);
  Rectangle(Dc, 10, 10, 70, 50);
  Ellipse(Dc, 80, 10, 140, 60);
  const TPoint Tri[] = {{150, 60}, {190, 10}, {230, 60}};
  Polygon(Dc, Tri, 3);
  MoveToEx(Dc, 10, 70, nullptr);
  LineTo(Dc, 230, 90);
  SelectObject(Dc, GetStockObject(NULL_PEN));
  HBRUSH Hatch = CreateHatchBrush(HS_CROSS, RGB(0, 128, 0));
  TRect Fill(10, 100, 60, 140);
  FillRect(Dc, &Fill, Hatch);
  DeleteObject(Hatch);
  // Text with a font of our own.
  HFONT Font = CreateFontW(-20, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, u"Arial");
  HGDIOBJ OldFont = SelectObject(Dc, Font);
  SetTextColor(Dc, RGB(0, 0, 0));
  SetBkMode(Dc, TRANSPARENT);
  TextOutW(Dc, 70, 105, u"Sourcelux", 9);
  SelectObject(Dc, OldFont);
  DeleteObject(Font);
  // Clipped ellipse: only its left half shows.
  SaveDC(Dc);
  IntersectClipRect(Dc, 180, 100, 205, 150);
  Ellipse(Dc, 180, 100, 230, 150);
  RestoreDC(Dc, -1);
  // A generated 8 x 8 bitmap, blitted and stretched.
  HDC Mem = CreateCompatibleDC(Dc);
  HBITMAP Bmp = CreateCompatibleBitmap(Dc, 8, 8);
  HGDIOBJ OldBmp = SelectObject(Mem, Bmp);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) SetPixel(Mem, X, Y, (X + Y) % 2 ? RGB(255, 200, 0) : RGB(0, 160, 160));
  BitBlt(Dc, 10, 150, 8, 8, Mem, 0, 0, SRCCOPY);
  StretchBlt(Dc, 30, 150, 32, 16, Mem, 0, 0, 8, 8, SRCCOPY);
  SelectObject(Mem, OldBmp);
  DeleteObject(Bmp);
  DeleteDC(Mem);
  SelectObject(Dc, OldPen);
  SelectObject(Dc, OldBrush);
  DeleteObject(Red);
  DeleteObject(Blue);
}
