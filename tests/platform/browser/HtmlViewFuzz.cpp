// HtmlViewFuzz.cpp — the fuzz entry for pages: any bytes go through the
// charset detection, the splitter and the HTML view (layout of every piece,
// painting, selecting and copying) without a crash, a hang or reading
// outside them. The replay test of this folder calls HtmlViewFuzzOne
// directly; the libFuzzer target (tests/fuzz/CMakeLists.txt) builds this
// file with SX_HTML_VIEW_FUZZER.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/browser/HtmlSource.h"
#include "platform/browser/HtmlView.h"
#include "platform/forms/Forms.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

void HtmlViewFuzzOne(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view Bytes(reinterpret_cast<const char*>(Data), Size);
  const std::string Text = DecodeHtml(Bytes);
  // Small pieces, so that short inputs exercise the cuts too.
  THtmlSplitOptions O;
  O.SplitAbove = 64;
  O.PieceSize = 48;
  O.MaxDepth = 24;
  std::size_t Total = 0;
  for (const THtmlPiece& P : SplitHtml(Text, O)) Total += P.Bytes;
  if (Total > Text.size()) std::abort();

  auto Form = std::make_unique<TForm>(nullptr);
  Form->SetBounds(0, 0, 320, 240);
  auto* View = new THtmlView(Form.get());
  View->SetParent(Form.get());
  View->SetBounds(0, 0, 300, 220);
  Form->Show();
  View->LoadHtml(Bytes, "/nonexistent/");
  View->MeasureAll();
  View->Repaint();
  View->SetScrollTop(View->GetDocumentHeight() / 2);
  View->Repaint();
  View->SelectAll();
  View->GetSelTextUtf8();
  HeadlessDisplay().ProcessMessages();
}

#ifdef SX_HTML_VIEW_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static bool Once = [] {
    SetDisplay(nullptr);
    ResetWindowSystem();
    return true;
  }();
  (void)Once;
  HtmlViewFuzzOne(Data, Size);
  return 0;
}
#endif
