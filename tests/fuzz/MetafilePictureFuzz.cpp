// MetafilePictureFuzz.cpp — the fuzz entry for metafile pictures: the input
// is a Windows or enhanced metafile that a small RTF document holds as a
// picture, and the document is laid out and drawn through the raster
// engine, as a page picture is made. Whatever the records ask for, the
// page is made in bounded time and memory (the libFuzzer target runs with
// -rss_limit_mb=512) and nothing escapes as an exception. The replay test
// of this folder calls MetafilePictureFuzzOne directly; the libFuzzer
// target (tests/fuzz/CMakeLists.txt) builds this file with
// SX_METAFILE_PICTURE_FUZZER, which adds the libFuzzer entry point.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "export/engine/RichEditTarget.h"
#include "export/image/BmpEngine.h"
#include "platform/richedit/RtfReader.h"
#include "platform/rtl/Streams.h"

namespace {

// The first byte chooses the kind of picture and its goal size; the rest is
// the metafile.
std::string PictureDocument(const std::uint8_t* Data, std::size_t Size) {
  const std::uint8_t Choice = Size ? Data[0] : 0;
  static const char* const Kinds[] = {"\\wmetafile8", "\\emfblip", "\\wmetafile1", "\\emfblip"};
  static const int Goals[] = {4000, 5000, 200, 12000};
  const int Goal = Goals[(Choice >> 2) & 3];
  std::string Rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 a {\\pict";
  Rtf += Kinds[Choice & 3];
  Rtf += "\\picw100\\pich100\\picwgoal" + std::to_string(Goal) + "\\pichgoal" + std::to_string(Goal) + " ";
  static const char* Digits = "0123456789abcdef";
  for (std::size_t I = 1; I < Size; ++I) {
    Rtf += Digits[Data[I] >> 4];
    Rtf += Digits[Data[I] & 15];
  }
  return Rtf + "} b\\par}";
}

}  // namespace

void MetafilePictureFuzzOne(const std::uint8_t* Data, std::size_t Size) {
  const TRichDocument Doc = RtfRead(PictureDocument(Data, Size));
  TgtRichDocumentTarget Target(Doc);
  TgtBMPEngine E(nullptr);
  E.SetMeasurementUnit(muPixels);
  E.GetPreferences()->SetShowSetupDialog(false);
  E.GetPreferences()->SetOpenAfterCreate(false);
  E.GetPage()->SetPaperSize(Custom);
  E.GetPage()->SetWidth(400);
  E.GetPage()->SetHeight(300);
  TMemoryStream Out;
  E.SetUserStream(&Out);
  E.GetPreferences()->SetOutputToUserStream(true);
  E.BeginDoc();
  E.RenderRichEdit(Target, 0, 0, 0, 400, 300);
  E.EndDoc();
  // A page was made, whatever the picture held.
  if (Out.GetSize() < 54) std::abort();
}

#ifdef SX_METAFILE_PICTURE_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  MetafilePictureFuzzOne(Data, Size);
  return 0;
}
#endif
