#include "editor/base/DrawHelpers.h"

#include "editor/base/LineSearch.h"
#include "editor/base/RegStorage.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Dc.h"
#include "platform/win/SysBitmaps.h"

namespace {
// A memory DC with one bitmap selected; both are freed, the selection undone,
// also when drawing throws.
class TMemoryBitmapDC {
public:
  explicit TMemoryBitmapDC(HBITMAP Bmp) : FDC(CreateCompatibleDC(nullptr)), FBitmap(Bmp) {
    if (FDC && FBitmap) FOld = SelectObject(FDC, FBitmap);
  }
  ~TMemoryBitmapDC() {
    if (FDC) {
      if (FOld) SelectObject(FDC, FOld);
      DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
  }
  TMemoryBitmapDC(const TMemoryBitmapDC&) = delete;
  TMemoryBitmapDC& operator=(const TMemoryBitmapDC&) = delete;
  bool Valid() const { return FDC && FBitmap && FOld; }
  HDC DC() const { return FDC; }

private:
  HDC FDC;
  HBITMAP FBitmap;
  HGDIOBJ FOld = nullptr;
};

// Puts a DC's text and background colours back when the scope ends.
class TDCColorsSaver {
public:
  TDCColorsSaver(HDC DC, COLORREF Text, COLORREF Back)
      : FDC(DC), FText(SetTextColor(DC, Text)), FBack(SetBkColor(DC, Back)) {}
  ~TDCColorsSaver() {
    SetTextColor(FDC, FText);
    SetBkColor(FDC, FBack);
  }
  TDCColorsSaver(const TDCColorsSaver&) = delete;
  TDCColorsSaver& operator=(const TDCColorsSaver&) = delete;

private:
  HDC FDC;
  COLORREF FText, FBack;
};

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
  TMemoryBitmapDC Mem(CreateCompatibleBitmap(SrcDC, SrcW, SrcH));
  if (!Mem.Valid()) return false;
  BitBlt(Mem.DC(), 0, 0, SrcW, SrcH, MaskDC, MaskOrigin.X, MaskOrigin.Y, SRCCOPY);
  BitBlt(Mem.DC(), 0, 0, SrcW, SrcH, SrcDC, SrcRect.Left, SrcRect.Top, SRCERASE);
  TDCColorsSaver Colors(DstDC, RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF));
  StretchBlt(DstDC, DstRect.Left, DstRect.Top, DstW, DstH, MaskDC, MaskOrigin.X, MaskOrigin.Y, SrcW, SrcH, SRCAND);
  StretchBlt(DstDC, DstRect.Left, DstRect.Top, DstW, DstH, Mem.DC(), 0, 0, SrcW, SrcH, SRCINVERT);
  return true;
}

void DrawTransparentArea(HDC SrcDC, HDC DstDC, const TRect& SrcRect, TColor Transparent, const TRect& DstRect) {
  const Integer W = RectWidth(SrcRect), H = RectHeight(SrcRect);
  if (W <= 0 || H <= 0 || RectWidth(DstRect) <= 0 || RectHeight(DstRect) <= 0) return;
  TMemoryBitmapDC Mask(CreateBitmap(W, H, 1, 1, nullptr));
  if (!Mask.Valid()) return;
  {
    // A colour source into a one-bit bitmap: pixels of the background
    // colour become set.
    const COLORREF OldBack = SetBkColor(SrcDC, ColorToRGB(Transparent));
    BitBlt(Mask.DC(), 0, 0, W, H, SrcDC, SrcRect.Left, SrcRect.Top, SRCCOPY);
    SetBkColor(SrcDC, OldBack);
  }
  TransparentStretchBlt(DstDC, DstRect, SrcDC, SrcRect, Mask.DC(), TPoint(0, 0));
}
