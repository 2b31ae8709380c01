// Layout and message costs of the control base: aligning many children,
// the message path through Perform, and showing a form with windows.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/win/Window.h"

namespace {
class TBenchPanel : public TCustomControl {
  SX_CLASS(TBenchPanel, TCustomControl)
public:
  explicit TBenchPanel(TComponent* AOwner) : TCustomControl(AOwner) {}
};

// N children alternating top, left and anchored-right, then the parent is
// resized: one full AlignControls pass per iteration.
void BM_RealignChildren(benchmark::State& State) {
  TForm Form(nullptr);
  Form.SetBorderStyle(bsNone);
  Form.SetBounds(0, 0, 2000, 2000);
  const int N = int(State.range(0));
  Form.DisableAlign();
  for (int i = 0; i < N; ++i) {
    auto* P = new TBenchPanel(&Form);
    P->SetBounds(i, i, 3, 3);
    P->SetAlign(i % 3 == 0 ? alTop : i % 3 == 1 ? alLeft : alNone);
    if (i % 3 == 2) P->SetAnchors({akRight, akBottom});
    P->SetParent(&Form);
  }
  Form.EnableAlign();
  int W = 2000;
  for (auto _ : State) {
    W = W == 2000 ? 2001 : 2000;
    Form.SetBounds(0, 0, W, 2000);
  }
  State.SetComplexityN(N);
}
BENCHMARK(BM_RealignChildren)->Arg(10)->Arg(100)->Arg(1000)->Complexity();

void BM_PerformNotification(benchmark::State& State) {
  TBenchPanel P(nullptr);
  for (auto _ : State) benchmark::DoNotOptimize(P.Perform(CM_MOUSEENTER));
}
BENCHMARK(BM_PerformNotification);

// A form with 50 windowed children shown and freed on the headless display.
void BM_ShowFormWithWindows(benchmark::State& State) {
  ResetWindowSystem();
  auto App = std::make_unique<TApplication>(nullptr);
  for (auto _ : State) {
    auto Form = std::make_unique<TForm>(nullptr);
    for (int i = 0; i < 50; ++i) {
      auto* P = new TBenchPanel(Form.get());
      P->SetBounds(i * 4, i * 3, 40, 20);
      P->SetParent(Form.get());
    }
    Form->Show();
    App->ProcessMessages();
  }
  App.reset();
  ResetWindowSystem();
}
BENCHMARK(BM_ShowFormWithWindows);
}  // namespace
