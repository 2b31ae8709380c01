#include "platform/gdi/IconGraphic.h"
#include "platform/rtl/ByteOrder.h"

#include <cstring>
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GraphicsBitmaps_p.h"
#include "platform/gdi/PngCodec.h"

namespace {
constexpr std::size_t DirSize = 6, EntrySize = 16;
using ByteOrder::ReadLE16;
using ByteOrder::ReadLE32;
void Put16(std::vector<Byte>& O, Word V) { O.push_back(Byte(V)); O.push_back(Byte(V >> 8)); }
void Put32(std::vector<Byte>& O, DWORD V) { Put16(O, Word(V)); Put16(O, Word(V >> 16)); }
[[noreturn]] void Bad() { throw EInvalidGraphic("Icon image is not valid"); }

// A PNG-compressed image: the colours where the picture is at least half
// opaque, the mask (and black, so the XOR leaves the screen) elsewhere. The
// icon is drawn through its mask, so partial transparency rounds.
void ImageFromPng(const Byte* P, std::size_t N, TDib& Color, TDib& Mask) {
  Color = ReadPng(P, N, TPngAlpha::Keep);
  const Integer W = Color.Width(), H = Color.Height();
  Mask = MakeDib(W, H, 1, TDibOrientation::BottomUp, {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}});
  for (Integer Y = 0; Y < H; ++Y) {
    Byte* C = Color.ScanLine(Y);
    Byte* M = Mask.ScanLine(Y);
    for (Integer X = 0; X < W; ++X, C += 4)
      if (C[3] < 128) {
        std::memset(C, 0, 4);
        M[X / 8] |= Byte(0x80 >> (X % 8));
      }
  }
}

// A packed DIB whose height counts the XOR image and the AND mask below it.
void ImageFromDib(const Byte* P, std::size_t N, TDib& Color, TDib& Mask) {
  if (N < 40 || ReadLE32(P) < 40) Bad();
  const std::int32_t W = std::int32_t(ReadLE32(P + 4)), H2 = std::int32_t(ReadLE32(P + 8));
  if (W <= 0 || H2 <= 1 || H2 % 2) Bad();
  const Integer H = H2 / 2;
  CheckDibSize(W, H, 32);
  std::vector<Byte> Xor(P, P + N);
  const std::int32_t Half = H;
  std::memcpy(Xor.data() + 8, &Half, 4);
  const std::size_t Info = DibInfoSize(Xor.data(), Xor.size());
  Color = DibFromPacked(Xor.data(), Xor.size());
  const std::size_t XorBytes = std::size_t(Color.Stride()) * H;
  const std::size_t MaskStride = std::size_t(DibStride(W, 1));
  const std::size_t MaskAt = Info + XorBytes;
  std::vector<Byte> AndBits(MaskStride * H, 0);  // a missing mask means opaque
  if (MaskAt + AndBits.size() <= N) std::memcpy(AndBits.data(), P + MaskAt, AndBits.size());
  Mask = MakeDib(W, H, 1, TDibOrientation::BottomUp, {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}});
  Mask.Bits = AndBits;
}

// One image of the file: a packed DIB or a PNG file.
HICON IconFromEntry(const Byte* P, std::size_t N, bool IsIcon, Word HotX, Word HotY, TSize& Size) {
  TDib Color, Mask;
  if (IsPngData(P, N)) ImageFromPng(P, N, Color, Mask);
  else ImageFromDib(P, N, Color, Mask);
  const Integer W = Color.Width(), H = Color.Height();

  HBITMAP ColorBmp = GxSectionFromDib(Color);
  HBITMAP MaskDib = GxSectionFromDib(Mask);
  HBITMAP MaskBmp = GxMakeMask(MaskDib, RGB(255, 255, 255));
  DeleteObject(MaskDib);
  ICONINFO I;
  I.fIcon = IsIcon;
  I.xHotspot = HotX;
  I.yHotspot = HotY;
  I.hbmMask = MaskBmp;
  I.hbmColor = ColorBmp;
  HICON Icon = CreateIconIndirect(&I);
  DeleteObject(MaskBmp);
  DeleteObject(ColorBmp);
  if (!Icon) Bad();
  Size = {W, H};
  return Icon;
}
}  // namespace

TIcon::TIcon() = default;

TIcon::~TIcon() {
  if (FHandle) DestroyIcon(FHandle);
}

void TIcon::SetWidth(Integer) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }
void TIcon::SetHeight(Integer) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }

void TIcon::SetHandle(HICON Value) {
  if (Value == FHandle) return;
  const TSize Sz = GdiIconSize(Value);
  if (Value && Sz.cx == 0) throw EInvalidGraphic("Icon image is not valid");
  if (FHandle) DestroyIcon(FHandle);
  FHandle = Value;
  FSize = Sz;
  FData.clear();
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  HICON H = FHandle;
  FHandle = nullptr;
  FSize = {};
  FData.clear();
  return H;
}

void TIcon::Assign(TPersistent* Source) {
  if (!Source) {
    SetHandle(nullptr);
    return;
  }
  auto* I = dynamic_cast<TIcon*>(Source);
  if (!I) {
    inherited::Assign(Source);
    return;
  }
  if (I == this) return;
  HICON Copy = I->FHandle ? CopyIcon(I->FHandle) : nullptr;
  if (FHandle) DestroyIcon(FHandle);
  FHandle = Copy;
  FSize = I->FSize;
  FData = I->FData;
  Changed(this);
}

void TIcon::LoadFromBytes(std::vector<Byte> Data) {
  const Byte* P = Data.data();
  const std::size_t N = Data.size();
  if (N < DirSize || ReadLE16(P) != 0 || (ReadLE16(P + 2) != 1 && ReadLE16(P + 2) != 2)) Bad();
  const bool IsIcon = ReadLE16(P + 2) == 1;
  const std::size_t Count = ReadLE16(P + 4);
  if (Count == 0 || DirSize + Count * EntrySize > N) Bad();
  // Nearest to 32 x 32, then the most colours.
  std::size_t Best = Count;
  long BestScore = 0;
  for (std::size_t I = 0; I < Count; ++I) {
    const Byte* E = P + DirSize + I * EntrySize;
    const DWORD Bytes = ReadLE32(E + 8), Offset = ReadLE32(E + 12);
    if (Offset >= N || Bytes > N - Offset || Bytes < 40) continue;
    const int W = E[0] ? E[0] : 256, H = E[1] ? E[1] : 256;
    // A PNG image's depth is only in its directory entry (and 32 when the
    // writer left it out).
    const bool Png = IsPngData(P + Offset, Bytes);
    const int Bits = Png ? (ReadLE16(E + 6) ? ReadLE16(E + 6) : 32) : ReadLE16(P + Offset + 14);
    const long Score = -long(std::abs(W - 32) + std::abs(H - 32)) * 1000 + Bits;
    if (Best == Count || Score > BestScore) {
      Best = I;
      BestScore = Score;
    }
  }
  if (Best == Count) Bad();
  const Byte* E = P + DirSize + Best * EntrySize;
  TSize Size;
  HICON Icon = IconFromEntry(P + ReadLE32(E + 12), ReadLE32(E + 8), IsIcon, IsIcon ? 0 : ReadLE16(E + 4),
                             IsIcon ? 0 : ReadLE16(E + 6), Size);
  if (FHandle) DestroyIcon(FHandle);
  FHandle = Icon;
  FSize = Size;
  FData = std::move(Data);
  Changed(this);
}

void TIcon::LoadFromStream(TStream* Stream) {
  const Int64 Size = Stream->GetSize() - Stream->GetPosition();
  if (Size <= 0 || Size > (Int64(1) << 28)) Bad();
  std::vector<Byte> Data(static_cast<std::size_t>(Size));
  Stream->ReadBuffer(Data.data(), Integer(Size));
  LoadFromBytes(std::move(Data));
}

void TIcon::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  if (!FData.empty()) {
    Stream->WriteBuffer(FData.data(), Integer(FData.size()));
    return;
  }
  // One 32-bit image with its AND mask.
  ICONINFO I;
  if (!GetIconInfo(FHandle, &I)) Bad();
  const TDib Color = GxObjectToDib(I.hbmColor);
  const TDib Mask = GxObjectToDib(I.hbmMask);
  DeleteObject(I.hbmColor);
  DeleteObject(I.hbmMask);
  const std::vector<Byte> Px = DibFromBgra32(DibToBgra32(Color).data(), FSize.cx, FSize.cy, 32).Bits;
  const std::vector<Byte> AndBits = DibFromBgra32(DibToBgra32(Mask).data(), FSize.cx, FSize.cy, 1,
                                                  TDibOrientation::BottomUp,
                                                  {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}})
                                        .Bits;
  std::vector<Byte> Img;
  Put32(Img, 40);
  Put32(Img, DWORD(FSize.cx));
  Put32(Img, DWORD(FSize.cy * 2));
  Put16(Img, 1);
  Put16(Img, 32);
  Put32(Img, 0);
  Put32(Img, DWORD(Px.size() + AndBits.size()));
  for (int K = 0; K < 4; ++K) Put32(Img, 0);
  Img.insert(Img.end(), Px.begin(), Px.end());
  Img.insert(Img.end(), AndBits.begin(), AndBits.end());
  std::vector<Byte> Out;
  Put16(Out, 0);
  Put16(Out, 1);
  Put16(Out, 1);
  Out.push_back(Byte(FSize.cx >= 256 ? 0 : FSize.cx));
  Out.push_back(Byte(FSize.cy >= 256 ? 0 : FSize.cy));
  Out.push_back(0);
  Out.push_back(0);
  Put16(Out, 1);
  Put16(Out, 32);
  Put32(Out, DWORD(Img.size()));
  Put32(Out, DWORD(DirSize + EntrySize));
  Out.insert(Out.end(), Img.begin(), Img.end());
  Stream->WriteBuffer(Out.data(), Integer(Out.size()));
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  DrawIconEx(ACanvas->GetHandle(), Rect.Left, Rect.Top, FHandle, Rect.Width(), Rect.Height(), 0, nullptr,
             DI_NORMAL);
}
