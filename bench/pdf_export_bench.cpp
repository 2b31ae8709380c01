// PDF export: a 100-page document rendered through the PDF engine with the
// application's settings (pixels, rectangle 25, 25, 600, 800), reported as
// pages per second; with fonts referenced, with subset embedding, and with
// CJK words that a fallback face carries.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "export/pdf/PdfEngine.h"
#include "platform/richedit/RichDocument.h"

namespace {

// Prose in two faces, long enough for about Pages pages; with Cjk, every
// paragraph also carries words the faces lack, written in a fallback face.
TRichDocument Document(int Pages, bool Cjk = false) {
  TRichDocument Doc;
  TRichCharFormat Body;
  Body.Face = u"Times New Roman";
  Body.Size = 24;
  Body.Charset = 0;
  TRichCharFormat Head = Body;
  Head.Face = u"Arial";
  Head.Bold = true;
  TRichParaFormat P;
  const std::u16string Words =
      u"The quick brown fox jumps over the lazy dog while the committee reviews "
      u"its quarterly figures, and nobody notices the weather changing outside. ";
  for (int Para = 0; Para < Pages * 9; ++Para) {
    if (Para % 9 == 0) {
      Doc.AppendText(u"Section heading", Head);
      Doc.EndParagraph(P, Head);
    }
    Doc.AppendText(Words + (Cjk ? u"\u4E2D\u6587\u6587\u672C " : u"") + Words + Words, Body);
    Doc.EndParagraph(P, Body);
  }
  Doc.Finish(P, Body);
  return Doc;
}

void Export(benchmark::State& State, TgtTTFontEmbedding Embed, bool Cjk = false) {
  const TRichDocument Doc = Document(100, Cjk);
  const std::string Base = (std::filesystem::temp_directory_path() / "sx_pdf_bench").string();
  int Pages = 0;
  for (auto _ : State) {
    TgtPDFEngine E;
    E.SetMeasurementUnit(muPixels);
    E.GetPreferences()->SetShowSetupDialog(false);
    E.GetPreferences()->SetOpenAfterCreate(false);
    E.GetPreferences()->SetEmbedTrueTypeFonts(Embed);
    E.SetFileName(Base);
    TgtRichDocumentTarget Target(Doc);
    E.BeginDoc();
    E.RenderRichEdit(Target, 0, 25, 25, 600, 800);
    Pages = E.GetPageCount();
    E.EndDoc();
  }
  State.counters["pages"] = Pages;
  State.counters["pages_per_second"] =
      benchmark::Counter(double(Pages) * double(State.iterations()), benchmark::Counter::kIsRate);
  std::remove((Base + ".pdf").c_str());
}

void BM_PdfExport100Pages(benchmark::State& State) { Export(State, etfNone); }
void BM_PdfExport100PagesSubsetFonts(benchmark::State& State) { Export(State, etfSubset); }
void BM_PdfExport100PagesCjkFallback(benchmark::State& State) { Export(State, etfSubset, /*Cjk=*/true); }

}  // namespace

BENCHMARK(BM_PdfExport100Pages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfExport100PagesSubsetFonts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfExport100PagesCjkFallback)->Unit(benchmark::kMillisecond);
