#include "editor/base/DrawHelpers.h"

#include "editor/base/LineSearch.h"
#include "editor/base/RegStorage.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/win/SysBitmaps.h"

namespace {
struct TCheckBoxSize {
  Integer Width = 0;
  Integer Height = 0;
};

TCheckBoxSize MeasureCheckBoxes() {
  TCheckBoxSize Size;
  HBITMAP Bmp = LoadBitmap(nullptr, OBM_CHECKBOXES);
  if (!Bmp) return Size;
  BITMAP Info{};
  if (GetObject(Bmp, sizeof(Info), &Info)) {
    Size.Width = Info.bmWidth / 4;
    Size.Height = Info.bmHeight / 3;
  }
  DeleteObject(Bmp);
  return Size;
}
}  // namespace

Integer GetCheckBoxHeight() {
  static const TCheckBoxSize Size = MeasureCheckBoxes();
  return Size.Height;
}

bool TransparentStretchBlt(HDC DstDC, const TRect& DstRect, HDC SrcDC, const TRect& SrcRect, HDC MaskDC,
                           TPoint MaskOrigin) {
  const Integer DstW = RectWidth(DstRect), DstH = RectHeight(DstRect);
  const Integer SrcW = RectWidth(SrcRect), SrcH = RectHeight(SrcRect);
  if (SrcW <= 0 || SrcH <= 0 || DstW <= 0 || DstH <= 0) return true;  // nothing to draw
  if (IsWinNT() && DstW == SrcW && DstH == SrcH) {
    // Mask bit set: keep the destination; clear: copy the source.
    const HBITMAP Mask = HBITMAP(GetCurrentObject(MaskDC, OBJ_BITMAP));
    return MaskBlt(DstDC, DstRect.Left, DstRect.Top, DstW, DstH, SrcDC, SrcRect.Left, SrcRect.Top, Mask,
                   MaskOrigin.X, MaskOrigin.Y, MAKEROP4(0x00AA0029, SRCCOPY));
  }
  // Stretched (or without masked transfers): black out the masked pixels of a copy of the source, black
  // out the unmasked ones of the destination, and XOR the copy in. The mask
  // goes in first so that SRCERASE (source AND NOT destination) leaves the
  // source where the mask, white in this DC's default colours, is clear.
  TUniqueGdiObject<HBITMAP> MemBitmap(CreateCompatibleBitmap(SrcDC, SrcW, SrcH));
  TMemoryDc Mem(MemBitmap.Get());  // deselects before the bitmap goes
  if (!Mem.Selected()) return false;
  BitBlt(Mem.Dc(), 0, 0, SrcW, SrcH, MaskDC, MaskOrigin.X, MaskOrigin.Y, SRCCOPY);
  BitBlt(Mem.Dc(), 0, 0, SrcW, SrcH, SrcDC, SrcRect.Left, SrcRect.Top, SRCERASE);
  TSaveDcGuard SaveColors(DstDC);
  SetTextColor(DstDC, RGB(0, 0, 0));
  SetBkColor(DstDC, RGB(0xFF, 0xFF, 0xFF));
  StretchBlt(DstDC, DstRect.Left, DstRect.Top, DstW, DstH, MaskDC, MaskOrigin.X, MaskOrigin.Y, SrcW, SrcH, SRCAND);
  StretchBlt(DstDC, DstRect.Left, DstRect.Top, DstW, DstH, Mem.Dc(), 0, 0, SrcW, SrcH, SRCINVERT);
  return true;
}

void DrawTransparentArea(HDC SrcDC, HDC DstDC, const TRect& SrcRect, TColor Transparent, const TRect& DstRect) {
  const Integer W = RectWidth(SrcRect), H = RectHeight(SrcRect);
  if (W <= 0 || H <= 0 || RectWidth(DstRect) <= 0 || RectHeight(DstRect) <= 0) return;
  TUniqueGdiObject<HBITMAP> MaskBitmap(CreateBitmap(W, H, 1, 1, nullptr));
  TMemoryDc Mask(MaskBitmap.Get());
  if (!Mask.Selected()) return;
  {
    // A colour source into a one-bit bitmap: pixels of the background
    // colour become set.
    const COLORREF OldBack = SetBkColor(SrcDC, ColorToRGB(Transparent));
    BitBlt(Mask.Dc(), 0, 0, W, H, SrcDC, SrcRect.Left, SrcRect.Top, SRCCOPY);
    SetBkColor(SrcDC, OldBack);
  }
  TransparentStretchBlt(DstDC, DstRect, SrcDC, SrcRect, Mask.Dc(), TPoint(0, 0));
}
