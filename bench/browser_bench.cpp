// The HTML view on large pages: from the page's bytes to its first screen
// painted (decoding, splitting, laying out the pieces that show), for a
// 20 MB page in the form the program's HTML output takes after the tidier
// (one font element around the body, a font run per coloured word group,
// line breaks between lines) and for 2 MB of it; and the background
// measuring of a whole 2 MB page. The first screen of the 20 MB page is
// expected well under a second in a Release build.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/browser/HtmlView.h"
#include "platform/forms/Forms.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

namespace {

std::string TidiedStyle(std::size_t Bytes) {
  std::string S =
      "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
      "<title>big.rtf</title>\r\n</head>\r\n<body>\r\n<font face=\"Times New Roman\">\r\n";
  S.reserve(Bytes + 256);
  int Line = 0;
  while (S.size() < Bytes) {
    S += "<font face=\"Courier New\" size=\"2\" color=\"#000000\">procedure TForm1.Button";
    S += std::to_string(Line++);
    S += "Click(Sender: TObject);</font> <b><font color=\"#0000FF\">begin</font></b> "
         "<font color=\"#008000\">{ caf\xE9 }</font>&nbsp;&nbsp;x := y + 1;<br>\r\n";
  }
  S += "</font>\r\n</body>\r\n</html>\r\n";
  return S;
}

struct TViewHost {
  TViewHost() {
    SetDisplay(nullptr);
    ResetWindowSystem();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 800, 600);
    View = new THtmlView(Form.get());
    View->SetParent(Form.get());
    View->SetBounds(0, 0, 780, 580);
    Form->Show();
    HeadlessDisplay().ProcessMessages();
  }
  ~TViewHost() {
    Form.reset();
    ResetWindowSystem();
  }
  std::unique_ptr<TForm> Form;
  THtmlView* View = nullptr;
};

void FirstScreen(benchmark::State& State) {
  const std::string Page = TidiedStyle(std::size_t(State.range(0)) << 20);
  TViewHost H;
  for (auto _ : State) {
    H.View->LoadHtml(Page, "/tmp/");
    H.View->Repaint();
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Page.size()));
  State.counters["pieces"] = double(H.View->PieceCount());
}
BENCHMARK(FirstScreen)->Arg(2)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();

void WholePage(benchmark::State& State) {
  const std::string Page = TidiedStyle(std::size_t(2) << 20);
  TViewHost H;
  for (auto _ : State) {
    H.View->LoadHtml(Page, "/tmp/");
    H.View->MeasureAll();
  }
  State.counters["height"] = double(H.View->GetDocumentHeight());
}
BENCHMARK(WholePage)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
