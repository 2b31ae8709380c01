// The editor on screen: paging through a 100 000-line document (each page
// painted on the headless display), with and without word wrap, and typing
// at the end of a 10 MB document (each key dispatched and the row painted);
// each also with a proportional font laid out by measured widths.
#include <benchmark/benchmark.h>

#include <memory>

#include "editor/controls/DCMemo.h"
#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

namespace {

struct TScreenMemo {
  TScreenMemo() {
    ResetWindowSystem();
    UseVirtualClock();
    App = std::make_unique<TApplication>(nullptr);
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 640, 480);
    Memo = new TDCMemo(Form);
    Memo->SetParent(Form);
    Memo->SetAlign(alClient);
    Memo->SetOptions(TMemoOptions{moDrawGutter, moLineNumbers, moLineNumbersOnGutter, moColorSyntax});
    Memo->SetScrollBars(ssVertical);
  }
  ~TScreenMemo() {
    delete Form;
    App.reset();
    ResetWindowSystem();
    UseRealClock();
  }
  // Arg 0: word wrap; arg 1: a proportional font measured per character.
  void Configure(const benchmark::State& State) {
    Memo->SetWordWrap(State.range(0) != 0);
    if (State.range(1) != 0) {
      Memo->GetFont()->SetName("Arial");
      Memo->SetUseMonoFont(false);
    }
  }
  static AnsiString Label(const benchmark::State& State) {
    return AnsiString(State.range(0) ? "word wrap" : "no wrap") + (State.range(1) ? ", proportional" : "");
  }
  void Show() {
    Form->Show();
    Memo->SetFocus();
    HeadlessDisplay().ProcessMessages();
  }
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TDCMemo* Memo = nullptr;
};

AnsiString Lines(Integer Count, Integer Width) {
  AnsiString Line;
  while (Integer(Line.size()) < Width) Line += "word" + IntToStr(Integer(Line.size()) % 97) + " ";
  Line.resize(size_t(Width));
  AnsiString Text;
  Text.reserve(size_t(Count) * size_t(Width + 2));
  for (Integer I = 0; I < Count; ++I) Text += Line + "\r\n";
  return Text;
}

void BM_PageDown100kLines(benchmark::State& State) {
  TScreenMemo S;
  S.Configure(State);
  // Rows of 120 characters: wrapped, each line takes two rows.
  S.Memo->SetText(Lines(100000, 120));
  S.Show();
  auto& D = HeadlessDisplay();
  for (auto _ : State) {
    D.KeyPress(VK_NEXT);
    D.ProcessMessages();
    if (S.Memo->GetSource()->GetCaretLine() >= 99000) {
      State.PauseTiming();
      S.Memo->GetSource()->CaretToFileStart();
      D.ProcessMessages();
      State.ResumeTiming();
    }
  }
  State.SetItemsProcessed(State.iterations());
  State.SetLabel(TScreenMemo::Label(State));
}
BENCHMARK(BM_PageDown100kLines)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

void BM_TypeAtEndOf10MB(benchmark::State& State) {
  TScreenMemo S;
  S.Configure(State);
  S.Memo->SetText(Lines(10 * 1024 * 1024 / 82, 80));
  S.Show();
  S.Memo->GetSource()->CaretToFileEnd();
  auto& D = HeadlessDisplay();
  D.ProcessMessages();
  Integer Typed = 0;
  for (auto _ : State) {
    D.TypeText("x");
    D.ProcessMessages();
    if (++Typed % 60 == 0) {
      D.KeyPress(VK_RETURN);
      D.ProcessMessages();
    }
  }
  State.SetItemsProcessed(State.iterations());
  State.SetLabel(TScreenMemo::Label(State));
}
BENCHMARK(BM_TypeAtEndOf10MB)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace
