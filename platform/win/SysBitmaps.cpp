#include "platform/win/SysBitmaps.h"

#include "platform/win/Resources.h"

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/win/SysMetrics.h"

namespace {
constexpr int CheckCell = 13;

HBITMAP DrawCheckBoxes() {
  HDC Screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  HBITMAP Bmp = CreateCompatibleBitmap(Screen, 4 * CheckCell, 3 * CheckCell);
  DeleteDC(Screen);
  if (!Bmp) return nullptr;
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bmp);
  const TRect All{0, 0, 4 * CheckCell, 3 * CheckCell};
  FillRect(Dc, &All, GetSysColorBrush(COLOR_BTNFACE));
  const UINT Rows[3] = {DFCS_BUTTONCHECK, DFCS_BUTTONRADIO, DFCS_BUTTON3STATE};
  const UINT Columns[4] = {0, DFCS_CHECKED, DFCS_PUSHED, DFCS_PUSHED | DFCS_CHECKED};
  for (int Row = 0; Row < 3; ++Row)
    for (int Col = 0; Col < 4; ++Col) {
      TRect Cell{Col * CheckCell, Row * CheckCell, (Col + 1) * CheckCell, (Row + 1) * CheckCell};
      DrawFrameControl(Dc, &Cell, DFC_BUTTON, Rows[Row] | Columns[Col]);
    }
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  return Bmp;
}

// The other system bitmaps are frame controls of the current metrics: the
// caption buttons, the scroll arrows (plain, pushed, inactive), the menu's
// check mark and arrow, the size grip, the combo box's button.
struct TFramePicture {
  std::uintptr_t Id;
  UINT Kind, State;
  int WidthMetric, HeightMetric;
};
constexpr TFramePicture FramePictures[] = {
    {32754, DFC_CAPTION, DFCS_CAPTIONCLOSE, SM_CXSIZE, SM_CYSIZE},                  // OBM_CLOSE
    {32767, DFC_CAPTION, DFCS_CAPTIONCLOSE, SM_CXSIZE, SM_CYSIZE},                  // OBM_OLD_CLOSE
    {32749, DFC_CAPTION, DFCS_CAPTIONMIN, SM_CXSIZE, SM_CYSIZE},                    // OBM_REDUCE
    {32757, DFC_CAPTION, DFCS_CAPTIONMIN, SM_CXSIZE, SM_CYSIZE},                    // OBM_OLD_REDUCE
    {32746, DFC_CAPTION, DFCS_CAPTIONMIN | DFCS_PUSHED, SM_CXSIZE, SM_CYSIZE},      // OBM_REDUCED
    {32748, DFC_CAPTION, DFCS_CAPTIONMAX, SM_CXSIZE, SM_CYSIZE},                    // OBM_ZOOM
    {32756, DFC_CAPTION, DFCS_CAPTIONMAX, SM_CXSIZE, SM_CYSIZE},                    // OBM_OLD_ZOOM
    {32745, DFC_CAPTION, DFCS_CAPTIONMAX | DFCS_PUSHED, SM_CXSIZE, SM_CYSIZE},      // OBM_ZOOMD
    {32747, DFC_CAPTION, DFCS_CAPTIONRESTORE, SM_CXSIZE, SM_CYSIZE},                // OBM_RESTORE
    {32755, DFC_CAPTION, DFCS_CAPTIONRESTORE, SM_CXSIZE, SM_CYSIZE},                // OBM_OLD_RESTORE
    {32744, DFC_CAPTION, DFCS_CAPTIONRESTORE | DFCS_PUSHED, SM_CXSIZE, SM_CYSIZE},  // OBM_RESTORED
    {32753, DFC_SCROLL, DFCS_SCROLLUP, SM_CXVSCROLL, SM_CYVSCROLL},                 // OBM_UPARROW
    {32765, DFC_SCROLL, DFCS_SCROLLUP, SM_CXVSCROLL, SM_CYVSCROLL},                 // OBM_OLD_UPARROW
    {32743, DFC_SCROLL, DFCS_SCROLLUP | DFCS_PUSHED, SM_CXVSCROLL, SM_CYVSCROLL},   // OBM_UPARROWD
    {32737, DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE, SM_CXVSCROLL, SM_CYVSCROLL}, // OBM_UPARROWI
    {32752, DFC_SCROLL, DFCS_SCROLLDOWN, SM_CXVSCROLL, SM_CYVSCROLL},               // OBM_DNARROW
    {32764, DFC_SCROLL, DFCS_SCROLLDOWN, SM_CXVSCROLL, SM_CYVSCROLL},               // OBM_OLD_DNARROW
    {32742, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED, SM_CXVSCROLL, SM_CYVSCROLL}, // OBM_DNARROWD
    {32736, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE, SM_CXVSCROLL, SM_CYVSCROLL},   // OBM_DNARROWI
    {32751, DFC_SCROLL, DFCS_SCROLLRIGHT, SM_CXVSCROLL, SM_CYVSCROLL},                  // OBM_RGARROW
    {32763, DFC_SCROLL, DFCS_SCROLLRIGHT, SM_CXVSCROLL, SM_CYVSCROLL},                  // OBM_OLD_RGARROW
    {32741, DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_PUSHED, SM_CXVSCROLL, SM_CYVSCROLL},    // OBM_RGARROWD
    {32735, DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_INACTIVE, SM_CXVSCROLL, SM_CYVSCROLL},  // OBM_RGARROWI
    {32750, DFC_SCROLL, DFCS_SCROLLLEFT, SM_CXVSCROLL, SM_CYVSCROLL},                   // OBM_LFARROW
    {32762, DFC_SCROLL, DFCS_SCROLLLEFT, SM_CXVSCROLL, SM_CYVSCROLL},                   // OBM_OLD_LFARROW
    {32740, DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_PUSHED, SM_CXVSCROLL, SM_CYVSCROLL},     // OBM_LFARROWD
    {32734, DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_INACTIVE, SM_CXVSCROLL, SM_CYVSCROLL},   // OBM_LFARROWI
    {32738, DFC_SCROLL, DFCS_SCROLLCOMBOBOX, SM_CXVSCROLL, SM_CYVSCROLL},               // OBM_COMBO
    {32766, DFC_SCROLL, DFCS_SCROLLSIZEGRIP, SM_CXVSCROLL, SM_CYVSCROLL},               // OBM_SIZE
    {32761, DFC_SCROLL, DFCS_SCROLLSIZEGRIP, SM_CXVSCROLL, SM_CYVSCROLL},               // OBM_BTSIZE
    {32760, DFC_MENU, DFCS_MENUCHECK, SM_CXMENUCHECK, SM_CYMENUCHECK},                  // OBM_CHECK
    {32739, DFC_MENU, DFCS_MENUARROW, SM_CXMENUCHECK, SM_CYMENUCHECK},                  // OBM_MNARROW
};

HBITMAP DrawBitmap(int W, int H, const std::function<void(HDC, const TRect&)>& Paint) {
  HDC Screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  HBITMAP Bmp = CreateCompatibleBitmap(Screen, W, H);
  DeleteDC(Screen);
  if (!Bmp) return nullptr;
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bmp);
  const TRect All{0, 0, W, H};
  Paint(Dc, All);
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  return Bmp;
}

HBITMAP DrawFramePicture(const TFramePicture& P) {
  return DrawBitmap(GetSystemMetrics(P.WidthMetric), GetSystemMetrics(P.HeightMetric), [&](HDC Dc, const TRect& R) {
    // Menu glyphs are masks: black marks on white.
    FillRect(Dc, &R, HBRUSH(GetStockObject(P.Kind == DFC_MENU ? WHITE_BRUSH : LTGRAY_BRUSH)));
    TRect Cell = R;
    DrawFrameControl(Dc, &Cell, P.Kind, P.State);
  });
}

// The four round corners of a push button, as a monochrome-style mask:
// black where the corner's rim is.
HBITMAP DrawButtonCorners() {
  return DrawBitmap(8, 8, [](HDC Dc, const TRect& R) {
    FillRect(Dc, &R, HBRUSH(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ OldBrush = SelectObject(Dc, GetStockObject(NULL_BRUSH));
    Ellipse(Dc, 0, 0, 8, 8);
    SelectObject(Dc, OldBrush);
  });
}
}  // namespace

HBITMAP LoadBitmapA(HINSTANCE Instance, const char* Name) {
  const auto Id = reinterpret_cast<std::uintptr_t>(Name);
  if (!Instance && Id == reinterpret_cast<std::uintptr_t>(OBM_CHECKBOXES)) return DrawCheckBoxes();
  if (!Instance && Id == 32758) return DrawButtonCorners();   // OBM_BTNCORNERS
  if (!Instance)
    for (const TFramePicture& P : FramePictures)
      if (P.Id == Id) return DrawFramePicture(P);
  if (Instance) return LoadProgramBitmap(Name);
  SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
  return nullptr;
}
