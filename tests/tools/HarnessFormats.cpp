// HarnessFormats.cpp — add a format as its engine lands: its header below
// and one line in the table.
#include "HarnessFormats.h"
#include "export/image/gtBMPEng.h"
#include "export/image/gtJPEGEng.h"
#include "export/image/gtPNGEng.h"
#include "export/pdf/gtPDFEng.h"
#include "export/sheet/gtXLSEng.h"
#include "export/svg/gtSVGEng.h"
#include "export/sheet/gtLotusEng.h"
#include "export/sheet/gtQProEng.h"

namespace {
template <class TEngine>
std::unique_ptr<TgtCustomDocumentEngine> Make() {
  return std::make_unique<TEngine>(nullptr);
}
}  // namespace

const std::vector<THarnessFormat>& HarnessEngineFormats() {
  static const std::vector<THarnessFormat> Formats = {
      {"pdf", Make<TgtPDFEngine>},
      {"bmp", Make<TgtBMPEngine>},
      {"png", Make<TgtPNGEngine>},
      {"jpg", Make<TgtJPEGEngine>},
      {"svg", Make<TgtSVGEngine>},
      {"xls", Make<TgtExcelEngine>},
      {"wk1", Make<TgtLotusEngine>},
      {"wb1", Make<TgtQuattroProEngine>},
  };
  return Formats;
}
