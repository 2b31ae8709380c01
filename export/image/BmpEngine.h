// BmpEngine.h — TgtBMPEngine: one Windows bitmap file per page, in the
// engine's pixel format (1 bit when Monochrome).
#pragma once
#include "export/image/GraphicsEngine.h"

class TgtBMPEngine : public TgtCustomGraphicsEngine {
public:
  explicit TgtBMPEngine(TComponent* AOwner);
  // The "BMP Setup" dialog (export/dialogs).
  Word ShowSetupDialog() override;

protected:
  // --- the writer's interface ---
  void EndPage() override;
};

extern const char* const SBMPDescription;
