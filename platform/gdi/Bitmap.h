// Bitmap.h — TBitmap: a picture of pixels held in one GDI bitmap that the
// TBitmap owns, with a canvas over a memory DC made on first use.
//
// A new bitmap is a device bitmap (pfDevice, bmDDB: 32 bits here). Any
// other PixelFormat makes it a DIB section whose rows lie as on Windows:
// bottom-up, each padded to four bytes, so ScanLine(0) is the top row at the
// highest address. ScanLine turns a device bitmap into a DIB first.
//
// Resizing keeps the old pixels in the overlap and fills the rest white.
// Sizes past the layer's limits raise EInvalidGraphic or EOutOfMemory.
#pragma once
#include <memory>
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Picture.h"

SX_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
SX_ENUM(TBitmapHandleType, bmDIB, bmDDB)
SX_ENUM(TTransparentMode, tmAuto, tmFixed)

class TBitmap;

// The canvas of a bitmap: its DC is a memory DC with the bitmap selected,
// made when drawing starts and dropped whenever the bitmap's handle changes.
class TBitmapCanvas : public TCanvas {
  SX_CLASS(TBitmapCanvas, TCanvas)
public:
  explicit TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}
  ~TBitmapCanvas() override;
  // Deselects the bitmap and deletes the DC.
  void FreeContext();

protected:
  void CreateHandle() override;

private:
  TBitmap* FBitmap;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  HPALETTE FOldPalette = nullptr;
};

class TBitmap : public TGraphic {
  SX_CLASS(TBitmap, TGraphic)
public:
  TBitmap();
  ~TBitmap() override;

  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  Integer GetWidth() const override { return FWidth; }
  Integer GetHeight() const override { return FHeight; }
  void SetWidth(Integer Value) override { SetSize(Value, FHeight); }
  void SetHeight(Integer Value) override { SetSize(FWidth, Value); }
  void SetSize(Integer AWidth, Integer AHeight);

  TPixelFormat GetPixelFormat() const;
  void SetPixelFormat(TPixelFormat Value);
  TBitmapHandleType GetHandleType() const { return FHandleType; }
  void SetHandleType(TBitmapHandleType Value);
  bool GetMonochrome() const;
  // A monochrome bitmap is a 1-bit device bitmap (black and white).
  void SetMonochrome(bool Value);

  // The GDI bitmap (null while empty); stays owned by the TBitmap.
  HBITMAP GetHandle();
  // Takes ownership of Value (null empties the bitmap).
  void SetHandle(HBITMAP Value);
  // Gives the handle away: the caller deletes it; the TBitmap is empty after.
  HBITMAP ReleaseHandle();
  // Monochrome: 1 where the pixel is the transparent colour. Owned.
  HBITMAP GetMaskHandle();
  HBITMAP ReleaseMaskHandle();
  HPALETTE GetPalette() override;
  // Takes ownership; for a DIB of 8 bits or fewer its colours become the
  // colour table.
  void SetPalette(HPALETTE Value) override;
  HPALETTE ReleasePalette();

  TCanvas* Canvas();
  // Row Y counted from the top, in the DIB's own layout.
  void* ScanLine(Integer Row);

  // Auto: the bottom-left pixel; fixed: TransparentColor as set.
  TColor GetTransparentColor();
  void SetTransparentColor(TColor Value);
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // Replaces the picture with Dib (pixel format from its depth).
  void LoadFromDib(const TDib& Dib);
  // The pixels as a DIB in the bitmap's own format (32 bits for a device
  // bitmap, 1 bit for a monochrome one).
  TDib SaveToDib() const;

  // Converts a device bitmap into a DIB in memory; drawing goes on as before.
  void Dormant();
  // Nothing is kept besides the handle, so there is nothing to free.
  void FreeImage() {}

protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void Changed(TObject* Sender) override;
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

private:
  friend class TBitmapCanvas;
  void CanvasChanging(TObject* Sender);
  void CanvasChanged(TObject* Sender);
  // Swaps in a new handle (freeing the old one and the canvas DC).
  void ReplaceHandle(HBITMAP Bmp, TBitmapHandleType Type, Integer W, Integer H);
  HBITMAP MakeBlank(Integer W, Integer H, TPixelFormat Format, TBitmapHandleType Type) const;
  void FreeMask();

  HBITMAP FHandle = nullptr;
  HBITMAP FMaskHandle = nullptr;
  HPALETTE FPalette = nullptr;
  Integer FWidth = 0, FHeight = 0;
  TBitmapHandleType FHandleType = bmDDB;
  TPixelFormat FPixelFormat = pfDevice;   // of an empty bitmap: the next one made
  bool FMonochrome = false;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  std::unique_ptr<TBitmapCanvas> FCanvas;
};

// Bit count a pixel format makes (0 for pfDevice and pfCustom).
Integer PixelFormatBits(TPixelFormat Format);
