// JpegEngine.h — TgtJPEGEngine: one JPEG file per page through TJPEGImage.
#pragma once
#include "export/image/GraphicsEngine.h"
#include "platform/gdi/JpegImage.h"

class TgtJPEGEngine : public TgtCustomGraphicsEngine {
public:
  explicit TgtJPEGEngine(TComponent* AOwner);
  // The "JPEG Setup" dialog (export/dialogs).
  Word ShowSetupDialog() override;

  TJPEGQualityRange GetQuality() const { return FQuality; }
  // Clamped to 1..100.
  void SetQuality(TJPEGQualityRange Value);
  bool GetProgressiveEncoding() const { return FProgressiveEncoding; }
  void SetProgressiveEncoding(bool Value) { FProgressiveEncoding = Value; }

protected:
  // --- the writer's interface ---
  void EndPage() override;

private:
  TJPEGQualityRange FQuality = 100;
  bool FProgressiveEncoding = false;
};

extern const char* const SJPEGDescription;
