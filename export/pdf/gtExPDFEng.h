// gtExPDFEng.h — TgtExPDFEngine: the PDF writer with the fax encoder of
// monochrome images (Modified Huffman for K 0, Group 4 for K -1) and the
// document JavaScript object. The annotation, form-field, metadata and
// page-action queues of this class are not filled by any operation of the
// system, so they are not kept here.
#pragma once
#include "export/pdf/gtCstPDFEng.h"

class TgtDocEventJSAction : public TPersistent {
public:
  void Assign(TPersistent* Source) override;
  AnsiString BeforeClose, BeforePrint, BeforeSave, AfterSave, AfterPrint;
  bool Empty() const {
    return BeforeClose.empty() && BeforePrint.empty() && BeforeSave.empty() && AfterSave.empty() && AfterPrint.empty();
  }
};

class TgtExPDFEngine : public TgtCustomPDFEngine {
public:
  explicit TgtExPDFEngine(TComponent* AOwner);
  ~TgtExPDFEngine() override;
  void StartDocument() override;
  void BuildCatalog(AnsiString& Text) override;
  void FinishDocument() override;
  std::unique_ptr<TMemoryStream> EncodeCCITT(TBitmap* Bitmap, TgtOutputImageFormat Format) override;
  TgtDocEventJSAction* GetDocumentJavaScript() const { return FJavaScript.get(); }

private:
  std::unique_ptr<TgtDocEventJSAction> FJavaScript;
  Integer FActionNumber = 0;
};

// The fax codes of a 1-bit image given as rows of booleans (true = black),
// packed most significant bit first; exposed for tests.
std::string gtEncodeFax(const std::vector<std::vector<bool>>& Rows, Integer Width, bool TwoDimensional);
