#include "platform/gdi/Bitmap.h"

#include <cstring>
#include <vector>
#include "platform/gdi/Blit.h"
#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/DibBitmaps.h"
#include "platform/gdi/GdiObjectTable.h"
#include "platform/gdi/GraphicsBitmaps_p.h"

Integer PixelFormatBits(TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return 0;
  }
}

namespace {
TBitmapObject* BitmapObject(HBITMAP H) { return static_cast<TBitmapObject*>(GdiLookup(H, OBJ_BITMAP)); }

TPixelFormat FormatOfObject(const TBitmapObject& B) {
  switch (B.BitsPerPixel) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
      if (B.RedMask == 0 || B.RedMask == 0x7C00) return pf15bit;
      if (B.RedMask == 0xF800 && B.GreenMask == 0x07E0 && B.BlueMask == 0x001F) return pf16bit;
      return pfCustom;
    case 24: return pf24bit;
    case 32:
      if (B.RedMask == 0 || (B.RedMask == 0xFF0000 && B.GreenMask == 0xFF00 && B.BlueMask == 0xFF))
        return pf32bit;
      return pfCustom;
    default: return pfCustom;
  }
}

TPixelFormat FormatOfDib(const TDib& D) {
  switch (D.BitCount()) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
      if (D.Masks[0] == 0xF800 && D.Masks[1] == 0x07E0 && D.Masks[2] == 0x001F) return pf16bit;
      return D.Masks[0] == 0x7C00 || D.Masks[0] == 0 ? pf15bit : pfCustom;
    case 24: return pf24bit;
    case 32:
      return D.Masks[0] == 0 || (D.Masks[0] == 0xFF0000 && D.Masks[1] == 0xFF00 && D.Masks[2] == 0xFF)
                 ? pf32bit
                 : pfCustom;
    default: return pfCustom;
  }
}
}  // namespace

// --- TBitmapCanvas ---------------------------------------------------------------------

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

void TBitmapCanvas::CreateHandle() {
  if (FDC) return;
  HDC Dc = CreateCompatibleDC(nullptr);
  if (!Dc) throw EOutOfMemory("Out of system resources");
  if (FBitmap->FHandle) FOldBitmap = SelectObject(Dc, FBitmap->FHandle);
  if (FBitmap->FPalette) {
    FOldPalette = SelectPalette(Dc, FBitmap->FPalette, TRUE);
    RealizePalette(Dc);
  }
  FDC = Dc;
  SetHandle(Dc);
}

void TBitmapCanvas::FreeContext() {
  if (!FDC) return;
  SetHandle(nullptr);
  if (FOldBitmap) SelectObject(FDC, FOldBitmap);
  if (FOldPalette) SelectPalette(FDC, FOldPalette, TRUE);
  DeleteDC(FDC);
  FDC = nullptr;
  FOldBitmap = nullptr;
  FOldPalette = nullptr;
}

// --- TBitmap -------------------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  FCanvas.reset();
  FreeMask();
  if (FHandle) DeleteObject(FHandle);
  if (FPalette) DeleteObject(FPalette);
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TBitmapCanvas>(this);
    FCanvas->OnChanging = TNotifyEvent(this, &TBitmap::CanvasChanging);
    FCanvas->OnChange = TNotifyEvent(this, &TBitmap::CanvasChanged);
  }
  return FCanvas.get();
}

void TBitmap::CanvasChanging(TObject*) { FreeMask(); }
void TBitmap::CanvasChanged(TObject*) { Changed(this); }

void TBitmap::Changed(TObject* Sender) {
  FreeMask();
  inherited::Changed(Sender);
}

void TBitmap::FreeMask() {
  if (FMaskHandle) DeleteObject(FMaskHandle);
  FMaskHandle = nullptr;
}

void TBitmap::ReplaceHandle(HBITMAP Bmp, TBitmapHandleType Type, Integer W, Integer H) {
  if (FCanvas) FCanvas->FreeContext();
  FreeMask();
  if (FHandle && FHandle != Bmp) DeleteObject(FHandle);
  FHandle = Bmp;
  FHandleType = Type;
  FWidth = Bmp ? W : 0;
  FHeight = Bmp ? H : 0;
  if (auto* B = BitmapObject(Bmp)) {
    FMonochrome = B->BitsPerPixel == 1;
    FPixelFormat = Type == bmDDB ? pfDevice : FormatOfObject(*B);
  }
}

HBITMAP TBitmap::MakeBlank(Integer W, Integer H, TPixelFormat Format, TBitmapHandleType Type) const {
  HBITMAP Bmp;
  if (Type == bmDDB) {
    CheckDibSize(W, H, FMonochrome ? 1 : 32);
    Bmp = FMonochrome ? CreateBitmap(W, H, 1, 1, nullptr) : CreateCompatibleBitmap(GxScreenDC(), W, H);
  } else {
    Bmp = GxCreateSection(W, H, Format == pfDevice ? pf32bit : Format, {});
  }
  if (!Bmp) throw EOutOfMemory("Out of system resources");
  GxFill(Bmp, W, H, WHITENESS);
  return Bmp;
}

void TBitmap::SetSize(Integer AWidth, Integer AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight) return;
  if (AWidth == 0 || AHeight == 0) {
    const TPixelFormat Keep = GetPixelFormat();
    ReplaceHandle(nullptr, FHandleType, 0, 0);
    FPixelFormat = Keep;
    FWidth = AWidth;
    FHeight = AHeight;
    Changed(this);
    return;
  }
  HBITMAP New = MakeBlank(AWidth, AHeight, GetPixelFormat(), FHandleType);
  if (FHandle) {
    if (FCanvas) FCanvas->FreeContext();
    GxCopyColorTable(New, FHandle);
    GxCopy(New, FHandle, std::min(AWidth, FWidth), std::min(AHeight, FHeight));
  }
  ReplaceHandle(New, FHandleType, AWidth, AHeight);
  Changed(this);
}

TPixelFormat TBitmap::GetPixelFormat() const {
  if (!FHandle) return FPixelFormat;
  if (FHandleType == bmDDB) return pfDevice;
  const auto* B = BitmapObject(FHandle);
  return B ? FormatOfObject(*B) : pfCustom;
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == GetPixelFormat()) return;
  if (Value == pfCustom) throw EInvalidGraphic("Invalid pixel format");
  if (Value == pfDevice) {
    SetHandleType(bmDDB);
    return;
  }
  FMonochrome = false;
  if (!FHandle) {
    FPixelFormat = Value;
    FHandleType = bmDIB;
    return;
  }
  const TDib Src = SaveToDib();
  const std::vector<std::uint32_t> Px = DibToBgra32(Src);
  LoadFromDib(GxDibFromBgra(Px.data(), FWidth, FHeight, Value));
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == FHandleType) return;
  if (!FHandle) {
    FHandleType = Value;
    FPixelFormat = Value == bmDDB ? pfDevice : pf32bit;
    return;
  }
  if (Value == bmDIB) {
    LoadFromDib(SaveToDib());
    return;
  }
  FMonochrome = GetMonochrome();
  HBITMAP New = MakeBlank(FWidth, FHeight, pfDevice, bmDDB);
  if (FCanvas) FCanvas->FreeContext();
  GxCopy(New, FHandle, FWidth, FHeight);
  ReplaceHandle(New, bmDDB, FWidth, FHeight);
  Changed(this);
}

bool TBitmap::GetMonochrome() const {
  if (!FHandle) return FMonochrome;
  const auto* B = BitmapObject(FHandle);
  return B && B->BitsPerPixel == 1;
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value == GetMonochrome()) return;
  FMonochrome = Value;
  if (!FHandle) {
    FHandleType = bmDDB;
    FPixelFormat = pfDevice;
    return;
  }
  HBITMAP New = MakeBlank(FWidth, FHeight, pfDevice, bmDDB);
  if (FCanvas) FCanvas->FreeContext();
  GxCopy(New, FHandle, FWidth, FHeight);
  ReplaceHandle(New, bmDDB, FWidth, FHeight);
  Changed(this);
}

HBITMAP TBitmap::GetHandle() { return FHandle; }

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value == FHandle) return;
  BITMAP Bm;
  if (Value && GetObjectA(Value, sizeof(Bm), &Bm) != int(sizeof(Bm)))
    throw EInvalidGraphic("Invalid bitmap handle");
  if (!Value) {
    ReplaceHandle(nullptr, FHandleType, 0, 0);
  } else {
    ReplaceHandle(Value, Bm.bmBits ? bmDIB : bmDDB, Bm.bmWidth, Bm.bmHeight);
  }
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  if (FCanvas) FCanvas->FreeContext();
  FreeMask();
  HBITMAP H = FHandle;
  FHandle = nullptr;
  FWidth = FHeight = 0;
  return H;
}

HBITMAP TBitmap::GetMaskHandle() {
  if (!FMaskHandle && FHandle) {
    FMaskHandle = GxMakeMask(FHandle, ColorToRGB(GetTransparentColor()));
  }
  return FMaskHandle;
}

HBITMAP TBitmap::ReleaseMaskHandle() {
  HBITMAP H = GetMaskHandle();
  FMaskHandle = nullptr;
  return H;
}

HPALETTE TBitmap::GetPalette() {
  if (!FPalette && FHandle) {
    const auto* B = BitmapObject(FHandle);
    if (B && B->BitsPerPixel <= 8 && !B->ColorTable.empty()) FPalette = GxPaletteFromTable(B->ColorTable);
  }
  return FPalette;
}

void TBitmap::SetPalette(HPALETTE Value) {
  if (Value == FPalette) return;
  if (FCanvas) FCanvas->FreeContext();
  if (FPalette) DeleteObject(FPalette);
  FPalette = Value;
  if (auto* B = BitmapObject(FHandle); B && Value && FHandleType == bmDIB && B->BitsPerPixel <= 8) {
    std::vector<PALETTEENTRY> E(B->ColorTable.size());
    const UINT N = GetPaletteEntries(Value, 0, UINT(E.size()), E.data());
    for (UINT I = 0; I < N; ++I) B->ColorTable[I] = RGBQUAD{E[I].peBlue, E[I].peGreen, E[I].peRed, 0};
  }
  Changed(this);
}

HPALETTE TBitmap::ReleasePalette() {
  if (FCanvas) FCanvas->FreeContext();
  HPALETTE P = GetPalette();
  FPalette = nullptr;
  return P;
}

void* TBitmap::ScanLine(Integer Row) {
  if (!FHandle || Row < 0 || Row >= FHeight) throw EInvalidGraphic("Scan line index out of range");
  if (FHandleType == bmDDB) SetHandleType(bmDIB);
  // Whoever writes through the pointer changes the picture; the mask made
  // from the old pixels is stale.
  FreeMask();
  return BitmapObject(FHandle)->ScanLine(Row);
}

TColor TBitmap::GetTransparentColor() {
  if (FTransparentColor != clDefault) return TColor(ColorToRGB(FTransparentColor));
  if (GetMonochrome()) return clWhite;
  const auto* B = BitmapObject(FHandle);
  if (!B || FWidth == 0 || FHeight == 0) return clDefault;
  return TColor(B->PixelToColor(B->GetPixelValue(0, FHeight - 1)));
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  FTransparentColor = Value;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  if (Value == tmAuto)
    SetTransparentColor(clDefault);
  else
    SetTransparentColor(GetTransparentColor());
}

// --- copying and storing -----------------------------------------------------------------

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    SetSize(0, 0);
    return;
  }
  auto* S = dynamic_cast<TBitmap*>(Source);
  if (!S) {
    inherited::Assign(Source);
    return;
  }
  if (S == this) return;
  if (FCanvas) FCanvas->FreeContext();
  if (S->FCanvas) S->FCanvas->FreeContext();
  FMonochrome = S->GetMonochrome();
  if (!S->FHandle) {
    ReplaceHandle(nullptr, S->FHandleType, 0, 0);
    FPixelFormat = S->FPixelFormat;
    FWidth = S->FWidth;
    FHeight = S->FHeight;
  } else {
    HBITMAP New = MakeBlank(S->FWidth, S->FHeight, S->GetPixelFormat(), S->FHandleType);
    GxCopyPixels(New, S->FHandle);
    ReplaceHandle(New, S->FHandleType, S->FWidth, S->FHeight);
  }
  if (FPalette) DeleteObject(FPalette);
  FPalette = S->FPalette ? GxCopyPalette(S->FPalette) : nullptr;
  FTransparentColor = S->FTransparentColor;
  FTransparentMode = S->FTransparentMode;
  if (GetTransparent() != S->GetTransparent()) TGraphic::SetTransparent(S->GetTransparent());
  Changed(this);
}

TDib TBitmap::SaveToDib() const { return FHandle ? GxObjectToDib(FHandle) : TDib{}; }

void TBitmap::LoadFromDib(const TDib& Dib) {
  if (Dib.Empty()) {
    ReplaceHandle(nullptr, bmDIB, 0, 0);
    Changed(this);
    return;
  }
  HBITMAP New = GxSectionFromDib(Dib);
  ReplaceHandle(New, bmDIB, Dib.Width(), Dib.Height());
  FPixelFormat = FormatOfDib(Dib);
  Changed(this);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  const Int64 Size = Stream->GetSize() - Stream->GetPosition();
  if (Size <= 0) {
    LoadFromDib(TDib{});
    return;
  }
  if (Size > Int64(MaxDibPixels) * 4 + (1 << 20)) throw EInvalidGraphic("Bitmap image is not valid");
  std::vector<Byte> Data(static_cast<std::size_t>(Size));
  Stream->ReadBuffer(Data.data(), Integer(Size));
  LoadFromDib(ReadBmp(Data));
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (Empty()) return;
  const std::vector<Byte> Data = WriteBmp(SaveToDib());
  Stream->WriteBuffer(Data.data(), Integer(Data.size()));
}

// Form files keep the length before the file, so several properties can
// follow one another in one stream.
void TBitmap::ReadData(TStream* Stream) {
  const DWORD Size = Stream->ReadU32();
  if (Size == 0) {
    LoadFromDib(TDib{});
    return;
  }
  const AnsiString Data = Stream->ReadBytes(Integer(Size));
  LoadFromDib(ReadBmp(reinterpret_cast<const Byte*>(Data.data()), Data.size()));
}

void TBitmap::WriteData(TStream* Stream) {
  std::vector<Byte> Data;
  if (!Empty()) Data = WriteBmp(SaveToDib());
  Stream->WriteU32(DWORD(Data.size()));
  if (!Data.empty()) Stream->WriteBuffer(Data.data(), Integer(Data.size()));
}

void TBitmap::Dormant() {
  if (FHandleType == bmDDB && FHandle) SetHandleType(bmDIB);
}

// --- drawing -----------------------------------------------------------------------------

void TBitmap::Draw(TCanvas* ACanvas, const TRect& R) {
  if (Empty()) return;
  HDC Dst = ACanvas->GetHandle();
  HDC Src = Canvas()->GetHandle();
  HPALETTE OldPal = nullptr;
  if (FPalette) {
    OldPal = SelectPalette(Dst, FPalette, TRUE);
    RealizePalette(Dst);
  }
  const bool Mono = GetMonochrome();
  const int OldMode = Mono ? 0 : SetStretchBltMode(Dst, COLORONCOLOR);
  if (GetTransparent()) {
    // dst ^= src; dst &= mask (white where transparent); dst ^= src: the
    // destination survives where the mask is set and the source elsewhere.
    HBITMAP Mask = GetMaskHandle();
    HDC MaskDC = CreateCompatibleDC(nullptr);
    HGDIOBJ OldMask = SelectObject(MaskDC, Mask);
    const COLORREF OldText = SetTextColor(Dst, RGB(0, 0, 0));
    const COLORREF OldBk = SetBkColor(Dst, RGB(255, 255, 255));
    StretchBlt(Dst, R.Left, R.Top, R.Width(), R.Height(), Src, 0, 0, FWidth, FHeight, SRCINVERT);
    StretchBlt(Dst, R.Left, R.Top, R.Width(), R.Height(), MaskDC, 0, 0, FWidth, FHeight, SRCAND);
    StretchBlt(Dst, R.Left, R.Top, R.Width(), R.Height(), Src, 0, 0, FWidth, FHeight, SRCINVERT);
    SetTextColor(Dst, OldText);
    SetBkColor(Dst, OldBk);
    SelectObject(MaskDC, OldMask);
    DeleteDC(MaskDC);
  } else {
    StretchBlt(Dst, R.Left, R.Top, R.Width(), R.Height(), Src, 0, 0, FWidth, FHeight,
               DWORD(ACanvas->CopyMode));
  }
  if (!Mono) SetStretchBltMode(Dst, OldMode);
  if (FPalette) SelectPalette(Dst, OldPal, TRUE);
}
