#include "platform/win/SysBitmaps.h"

#include "platform/win/Resources.h"

#include <cstdint>
#include <string>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/rtl/Exceptions.h"

namespace {
// The system bitmaps' ids: OBM_LFARROWI (32734) up to OBM_CLOSE (32754) and
// the old-style ids up to OBM_OLD_CLOSE (32767).
constexpr std::uintptr_t FirstSystemBitmap = 32734;
constexpr std::uintptr_t LastSystemBitmap = 32767;
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
}  // namespace

HBITMAP LoadBitmapA(HINSTANCE Instance, const char* Name) {
  const auto Id = reinterpret_cast<std::uintptr_t>(Name);
  if (!Instance && Id == reinterpret_cast<std::uintptr_t>(OBM_CHECKBOXES)) return DrawCheckBoxes();
  if (!Instance && Id >= FirstSystemBitmap && Id <= LastSystemBitmap)
    SX_NOT_IMPLEMENTED("LoadBitmap of system bitmap " + std::to_string(Id));
  if (Instance) return LoadProgramBitmap(Name);
  SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
  return nullptr;
}
