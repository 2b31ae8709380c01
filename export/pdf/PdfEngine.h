// PdfEngine.h — TgtPDFEngine, the PDF engine the application creates.
#pragma once
#include "export/pdf/ExPdfEngine.h"

class TgtPDFEngine : public TgtExPDFEngine {
public:
  explicit TgtPDFEngine(TComponent* AOwner = nullptr) : TgtExPDFEngine(AOwner) {}
  // The "PDF Setup" dialog (export/dialogs).
  Word ShowSetupDialog() override;
};
