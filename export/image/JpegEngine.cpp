#include "export/image/JpegEngine.h"
#include <algorithm>

const char* const SJPEGDescription = "JPEG File Interchange Format";

TgtJPEGEngine::TgtJPEGEngine(TComponent* AOwner) : TgtCustomGraphicsEngine(AOwner) {
  SetFileExtension("jpg");
  SetFileDescription(SJPEGDescription);
  SetMonochrome(false);
  SetPixelFormat(pf24bit);
}

void TgtJPEGEngine::SetQuality(TJPEGQualityRange Value) { FQuality = std::clamp(Value, 1, 100); }

void TgtJPEGEngine::EndPage() {
  TgtCustomGraphicsEngine::EndPage();
  auto Bmp = PageToBitmap(GetMonochrome() ? pf1bit : GetPixelFormat());
  TJPEGImage Jpeg;
  Jpeg.SetCompressionQuality(FQuality);
  Jpeg.ProgressiveEncoding = FProgressiveEncoding;
  Jpeg.Assign(Bmp.get());
  Jpeg.Compress();
  SavePage([&](TStream* S) { Jpeg.SaveToStream(S); });
}

