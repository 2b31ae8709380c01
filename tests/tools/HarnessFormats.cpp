// HarnessFormats.cpp — add a format as its engine lands: its header below
// and one line in the table.
#include "HarnessFormats.h"
#include "export/image/BmpEngine.h"
#include "export/image/JpegEngine.h"
#include "export/image/PngEngine.h"
#include "export/pdf/PdfEngine.h"
#include "export/sheet/ExcelEngine.h"
#include "export/svg/SvgEngine.h"
#include "export/sheet/LotusEngine.h"
#include "export/sheet/QuattroProEngine.h"

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
