#include "platform/gdi/JpegImage.h"

#include <algorithm>
#include "platform/gdi/GraphicsBitmaps_p.h"
#include "platform/gdi/JpegCodec.h"

namespace {
Integer Scaled(Integer Size, TJPEGScale Scale) {
  const Integer D = 1 << int(Scale);
  return (Size + D - 1) / D;
}

// Box average of D x D blocks, so a reduced picture keeps its tones.
TDib Reduce(const TDib& Src, Integer D) {
  if (D <= 1) return Src;
  const Integer W = Src.Width(), H = Src.Height(), NW = (W + D - 1) / D, NH = (H + D - 1) / D;
  const std::vector<std::uint32_t> Px = DibToBgra32(Src);
  std::vector<std::uint32_t> Out(std::size_t(NW) * NH);
  for (Integer Y = 0; Y < NH; ++Y)
    for (Integer X = 0; X < NW; ++X) {
      unsigned R = 0, G = 0, B = 0, N = 0;
      for (Integer Yy = Y * D; Yy < std::min(H, Y * D + D); ++Yy)
        for (Integer Xx = X * D; Xx < std::min(W, X * D + D); ++Xx) {
          const std::uint32_t P = Px[std::size_t(Yy) * W + Xx];
          R += (P >> 16) & 0xFF;
          G += (P >> 8) & 0xFF;
          B += P & 0xFF;
          ++N;
        }
      Out[std::size_t(Y) * NW + X] = ((R / N) << 16) | ((G / N) << 8) | (B / N);
    }
  return DibFromBgra32(Out.data(), NW, NH, 24);
}

TDib ToGray(const TDib& Src) {
  std::vector<std::uint32_t> Px = DibToBgra32(Src);
  std::vector<RGBQUAD> Pal(256);
  for (int I = 0; I < 256; ++I) Pal[I] = RGBQUAD{Byte(I), Byte(I), Byte(I), 0};
  for (auto& P : Px) {
    const unsigned Y = (((P >> 16) & 0xFF) * 299 + ((P >> 8) & 0xFF) * 587 + (P & 0xFF) * 114 + 500) / 1000;
    P = (Y << 16) | (Y << 8) | Y;
  }
  return DibFromBgra32(Px.data(), Src.Width(), Src.Height(), 8, TDibOrientation::BottomUp, Pal);
}
}  // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

bool TJPEGImage::Empty() const { return FData.empty() && (!FBitmap || FBitmap->Empty()); }

Integer TJPEGImage::GetWidth() const {
  if (FBitmapIsSource && FBitmap) return FBitmap->GetWidth();
  return Scaled(FDataWidth, FScale);
}

Integer TJPEGImage::GetHeight() const {
  if (FBitmapIsSource && FBitmap) return FBitmap->GetHeight();
  return Scaled(FDataHeight, FScale);
}

void TJPEGImage::SetWidth(Integer) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(Integer) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }

void TJPEGImage::SetCompressionQuality(TJPEGQualityRange Value) { FQuality = std::clamp(Value, 1, 100); }

void TJPEGImage::FreeBitmap() {
  if (!FBitmapIsSource) FBitmap.reset();
}

void TJPEGImage::SetGrayscale(bool Value) {
  if (Value == FGrayscale) return;
  FGrayscale = Value;
  FreeBitmap();
  Changed(this);
}

void TJPEGImage::SetScale(TJPEGScale Value) {
  if (Value == FScale) return;
  FScale = Value;
  FreeBitmap();
  Changed(this);
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat Value) {
  if (Value == FPixelFormat) return;
  FPixelFormat = Value;
  FreeBitmap();
  Changed(this);
}

void TJPEGImage::Compress() {
  if (!FBitmap || FBitmap->Empty()) return;
  TJpegCompressOptions O;
  O.Quality = FQuality;
  O.Progressive = ProgressiveEncoding;
  O.Grayscale = FGrayscale;
  FData = JpegCompress(FBitmap->SaveToDib(), O);
  FDataWidth = FBitmap->GetWidth();
  FDataHeight = FBitmap->GetHeight();
}

TBitmap* TJPEGImage::Bitmap() {
  if (!FBitmap) {
    FBitmap = std::make_unique<TBitmap>();
    if (!FData.empty()) {
      TDib D = Reduce(JpegDecompress(FData), Integer(1) << int(FScale));
      if (FGrayscale && D.BitCount() != 8) D = ToGray(D);
      FBitmap->LoadFromDib(D);
      if (FPixelFormat == jf8Bit && FBitmap->GetPixelFormat() != pf8bit) FBitmap->SetPixelFormat(pf8bit);
    }
  }
  return FBitmap.get();
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (auto* B = dynamic_cast<TBitmap*>(Source)) {
    auto Copy = std::make_unique<TBitmap>();
    Copy->Assign(B);
    FBitmap = std::move(Copy);
    FBitmapIsSource = true;
    FData.clear();
    FDataWidth = FDataHeight = 0;
    Changed(this);
    return;
  }
  if (auto* J = dynamic_cast<TJPEGImage*>(Source)) {
    if (J == this) return;
    FData = J->FData;
    FDataWidth = J->FDataWidth;
    FDataHeight = J->FDataHeight;
    FQuality = J->FQuality;
    ProgressiveEncoding = J->ProgressiveEncoding;
    FGrayscale = J->FGrayscale;
    Performance = J->Performance;
    FScale = J->FScale;
    FPixelFormat = J->FPixelFormat;
    FBitmap.reset();
    FBitmapIsSource = J->FBitmapIsSource;
    if (J->FBitmapIsSource && J->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(J->FBitmap.get());
    }
    Changed(this);
    return;
  }
  if (!Source) {
    FData.clear();
    FBitmap.reset();
    FBitmapIsSource = false;
    FDataWidth = FDataHeight = 0;
    Changed(this);
    return;
  }
  inherited::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
    B->Assign(Bitmap());
    return;
  }
  inherited::AssignTo(Dest);
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  const Int64 Size = Stream->GetSize() - Stream->GetPosition();
  if (Size <= 0 || Size > (Int64(1) << 30)) throw EInvalidGraphic("JPEG error #42");
  std::vector<Byte> Data(static_cast<std::size_t>(Size));
  Stream->ReadBuffer(Data.data(), Integer(Size));
  // Decoding now both checks the data and learns the size.
  const TDib D = JpegDecompress(Data);
  FData = std::move(Data);
  FDataWidth = D.Width();
  FDataHeight = D.Height();
  FBitmap.reset();
  FBitmapIsSource = false;
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  if (FBitmapIsSource && FData.empty()) Compress();
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), Integer(FData.size()));
}

void TJPEGImage::ReadData(TStream* Stream) {
  const DWORD Size = Stream->ReadU32();
  const AnsiString Data = Stream->ReadBytes(Integer(Size));
  TMemoryStream M;
  M.WriteBuffer(Data.data(), Integer(Data.size()));
  M.SetPosition(0);
  LoadFromStream(&M);
}

void TJPEGImage::WriteData(TStream* Stream) {
  if (FBitmapIsSource && FData.empty()) Compress();
  Stream->WriteU32(DWORD(FData.size()));
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), Integer(FData.size()));
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) { ACanvas->StretchDraw(Rect, Bitmap()); }
