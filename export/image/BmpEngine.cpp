#include "export/image/BmpEngine.h"

const char* const SBMPDescription = "Windows Bitmap";

TgtBMPEngine::TgtBMPEngine(TComponent* AOwner) : TgtCustomGraphicsEngine(AOwner) {
  SetFileExtension("bmp");
  SetFileDescription(SBMPDescription);
  SetPixelFormat(pf24bit);
  SetMonochrome(false);
}

void TgtBMPEngine::EndPage() {
  TgtCustomGraphicsEngine::EndPage();
  // The chosen format is what the file holds; a device bitmap would always
  // be written at 32 bits.
  auto Bmp = PageToBitmap(GetMonochrome() ? pf1bit : GetPixelFormat());
  SavePage([&](TStream* S) { Bmp->SaveToStream(S); });
}

