// JpegImage.h — TJPEGImage: a JPEG picture kept as its compressed bytes and,
// once drawn or assigned from, as a decoded TBitmap. Assigning a bitmap
// stores the pixels; the bytes are made from them when saved or on
// Compress, with the quality and options of that moment.
#pragma once
#include <memory>
#include <vector>
#include "platform/gdi/Bitmap.h"

SX_ENUM(TJPEGPerformance, jpBestQuality, jpBestSpeed)
SX_ENUM(TJPEGScale, jsFullSize, jsHalf, jsQuarter, jsEighth)
SX_ENUM(TJPEGPixelFormat, jf24Bit, jf8Bit)
using TJPEGQualityRange = Integer;  // 1..100

class TJPEGImage : public TGraphic {
  SX_CLASS(TJPEGImage, TGraphic)
public:
  TJPEGImage();
  ~TJPEGImage() override;

  // From a TBitmap or another TJPEGImage; to a TBitmap through AssignTo.
  void Assign(TPersistent* Source) override;

  bool Empty() const override;
  Integer GetWidth() const override;
  Integer GetHeight() const override;
  // A JPEG's size comes from its data; setting it is refused.
  void SetWidth(Integer) override;
  void SetHeight(Integer) override;

  TJPEGQualityRange GetCompressionQuality() const { return FQuality; }
  // Clamped to 1..100; applies to the next compression.
  void SetCompressionQuality(TJPEGQualityRange Value);
  bool ProgressiveEncoding = false;
  bool GetGrayscale() const { return FGrayscale; }
  void SetGrayscale(bool Value);
  TJPEGPerformance Performance = jpBestQuality;
  TJPEGScale GetScale() const { return FScale; }
  void SetScale(TJPEGScale Value);
  TJPEGPixelFormat GetPixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TJPEGPixelFormat Value);

  // Makes the compressed bytes from the pixels now.
  void Compress();
  // The decoded picture at the current scale, grey or 8-bit as asked.
  TBitmap* Bitmap();
  const std::vector<Byte>& Data() const { return FData; }

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

protected:
  void AssignTo(TPersistent* Dest) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

private:
  void FreeBitmap();
  std::vector<Byte> FData;          // compressed; empty until loaded or compressed
  std::unique_ptr<TBitmap> FBitmap; // decoded or assigned pixels
  bool FBitmapIsSource = false;     // pixels came by Assign: FData is made from them
  Integer FDataWidth = 0, FDataHeight = 0;
  TJPEGQualityRange FQuality = 90;
  bool FGrayscale = false;
  TJPEGScale FScale = jsFullSize;
  TJPEGPixelFormat FPixelFormat = jf24Bit;
};
