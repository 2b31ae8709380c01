// Rich-edit layout and range formatting: laying out a megabyte of ordinary
// text, and formatting a 100-page document into one metafile per page as
// the export engines do.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/gdi/Emf.h"
#include "platform/gdi/EmfRecorder.h"
#include "platform/gdi/Gdi.h"
#include "platform/richedit/RichFormatRange.h"
#include "platform/richedit/RichLayout.h"
#include "platform/richedit/RtfReader.h"

namespace {

// Paragraphs of prose in two formats until about Bytes characters.
TRichDocument Prose(std::size_t Bytes) {
  TRichDocument Doc;
  TRichCharFormat Body;
  Body.Face = u"Times New Roman";
  Body.Size = 24;
  TRichCharFormat Em = Body;
  Em.Italic = true;
  TRichParaFormat P;
  P.SpaceAfter = 120;
  const std::u16string Words =
      u"The quick brown fox jumps over the lazy dog while the committee reviews "
      u"its quarterly figures, and nobody notices the weather changing outside. ";
  std::size_t Total = 0;
  int N = 0;
  while (Total < Bytes) {
    for (int S = 0; S < 4; ++S) {
      Doc.AppendText(Words, Body);
      Doc.AppendText(u"emphasis ", Em);
      Total += Words.size() + 9;
    }
    Doc.EndParagraph(P, Body);
    ++N;
  }
  Doc.Finish(P, Body);
  return Doc;
}

// Lays out every page of 1 MB of text into a 96-dpi page of 575 x 775 px.
void BM_LayoutOneMegabyte(benchmark::State& State) {
  const TRichDocument Doc = Prose(1 << 20);
  for (auto _ : State) {
    TRichLayoutParams Params;
    Params.WidthTwips = 8625;
    TRichLayout L(Doc, Params);
    Integer Cp = 0;
    int Pages = 0;
    while (Cp < Doc.TextLength()) {
      Cp = L.Paginate(Cp, -1, 11625).CpEnd;
      ++Pages;
    }
    State.counters["pages"] = Pages;
  }
}
BENCHMARK(BM_LayoutOneMegabyte)->Unit(benchmark::kMillisecond);

// About 1 MB of RTF as a word processor writes ordinary text: font and
// colour tables, paragraphs with bold and italic runs.
std::string OrdinaryRtf(std::size_t Bytes) {
  std::string R =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
      "{\\f1\\fswiss\\fcharset0 Arial;}}{\\colortbl;\\red0\\green0\\blue0;\\red200\\green0\\blue0;}\n";
  while (R.size() < Bytes)
    R += "\\pard\\sa120\\f0\\fs24 The quick brown fox jumps over the lazy dog while the committee "
         "reviews its quarterly figures, {\\b and nobody} notices the {\\i weather changing} outside. "
         "Numbers like 1,234.56 and names like M\\'fcller keep the reader busy; {\\cf2\\f1 a red aside} "
         "ends the paragraph.\\par\n";
  return R + "}";
}

// Reads 1 MB of RTF and lays out every page of it.
void BM_LoadAndLayoutOneMegabyteRtf(benchmark::State& State) {
  const std::string Rtf = OrdinaryRtf(1 << 20);
  for (auto _ : State) {
    const TRichDocument Doc = RtfRead(Rtf);
    TRichLayoutParams Params;
    Params.WidthTwips = 8625;
    TRichLayout L(Doc, Params);
    Integer Cp = 0;
    int Pages = 0;
    while (Cp < Doc.TextLength()) {
      Cp = L.Paginate(Cp, -1, 11625).CpEnd;
      ++Pages;
    }
    State.counters["pages"] = Pages;
  }
}
BENCHMARK(BM_LoadAndLayoutOneMegabyteRtf)->Unit(benchmark::kMillisecond);

// The export engine's loop: one metafile per page, rendered from the start
// position the previous page returned, 100 pages.
void BM_FormatHundredPagesIntoMetafiles(benchmark::State& State) {
  const TRichDocument Doc = Prose(100 * 3300);
  for (auto _ : State) {
    TRichFormatRange Fr;
    FORMATRANGE R;
    R.chrg = {0, -1};
    const TRect Rect{375, 375, 9000, 12000};
    LONG Start = 0;
    int Pages = 0;
    const LONG Last = Doc.TextLength() - 1;
    while (true) {
      HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
      R.hdc = R.hdcTarget = Dc;
      R.rc = R.rcPage = Rect;
      R.chrg.cpMin = Start;
      const LONG Next = LONG(Fr.Format(Doc, u"Arial", true, &R));
      DeleteEnhMetaFile(CloseEnhMetaFile(Dc));
      ++Pages;
      if (Next >= Last) break;
      Start = Next;
    }
    Fr.Format(Doc, u"Arial", false, nullptr);
    State.counters["pages"] = Pages;
  }
}
BENCHMARK(BM_FormatHundredPagesIntoMetafiles)->Unit(benchmark::kMillisecond);

}  // namespace
