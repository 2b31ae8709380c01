// Costs of the memo source on large documents: edits, undo and loading must
// stay proportional to what they touch, not to the document.
#include <benchmark/benchmark.h>

#include <string>

#include "editor/text/MemoSource.h"
#include "platform/rtl/Streams.h"

namespace {

std::string Document(int Lines) {
  std::string T;
  T.reserve(size_t(Lines) * 48);
  for (int I = 0; I < Lines; ++I) T += "    value = compute(item" + std::to_string(I) + ", 42); // note\r\n";
  return T;
}

void Load(TCustomMemoSource& S, const std::string& Text) {
  TStringStream Stream(Text);
  S.LoadFromStream(&Stream);
}

void BM_InsertCharMidDocument(benchmark::State& State) {
  TMemoSource S(nullptr);
  Load(S, Document(int(State.range(0))));
  S.SetCaret(10, int(State.range(0)) / 2);
  for (auto _ : State) {
    S.InsertText("x");
    S.DeleteChars(1);
  }
}
BENCHMARK(BM_InsertCharMidDocument)->Arg(1000)->Arg(100000);

void BM_LineBreakAndJoinMidDocument(benchmark::State& State) {
  TMemoSource S(nullptr);
  Load(S, Document(int(State.range(0))));
  S.SetCaret(10, int(State.range(0)) / 2);
  for (auto _ : State) {
    S.InsertLineBreak();
    S.DeleteChar();
  }
}
BENCHMARK(BM_LineBreakAndJoinMidDocument)->Arg(1000)->Arg(100000);

void BM_TypeAndUndoMidDocument(benchmark::State& State) {
  TMemoSource S(nullptr);
  Load(S, Document(int(State.range(0))));
  S.SetCaret(10, int(State.range(0)) / 2);
  for (auto _ : State) {
    for (char C : std::string("word")) {
      S.BeginUpdate(MemoCode::InsertText);
      S.InsertText(AnsiString(1, C));
      S.MoveCaret(0, 1);
      S.EndUpdate();
    }
    S.Undo();
  }
}
BENCHMARK(BM_TypeAndUndoMidDocument)->Arg(1000)->Arg(100000);

void BM_DeleteTenLinesAndUndo(benchmark::State& State) {
  TMemoSource S(nullptr);
  Load(S, Document(int(State.range(0))));
  const Integer Mid = Integer(State.range(0)) / 2;
  for (auto _ : State) {
    S.SetSelection(stStreamSel, 0, Mid, 0, Mid + 10);
    S.DeleteSelection();
    S.Undo();
  }
}
BENCHMARK(BM_DeleteTenLinesAndUndo)->Arg(1000)->Arg(100000);

// Lines inserted and deleted one at a time in the middle, through the
// published Lines view: the line store itself, without undo.
void BM_LinesInsertDeleteMidDocument(benchmark::State& State) {
  TMemoSource S(nullptr);
  Load(S, Document(int(State.range(0))));
  const Integer Mid = Integer(State.range(0)) / 2;
  TStrings* Lines = S.GetLines();
  for (auto _ : State) {
    for (Integer I = 0; I < 10; ++I) Lines->Insert(Mid + I, "    inserted line");
    for (Integer I = 0; I < 10; ++I) Lines->Delete(Mid);
  }
  State.SetItemsProcessed(Int64(State.iterations()) * 20);
}
BENCHMARK(BM_LinesInsertDeleteMidDocument)->Arg(1000)->Arg(100000);

// A hundred lines pasted in the middle, then undone.
void BM_PasteHundredLinesAndUndo(benchmark::State& State) {
  TMemoSource S(nullptr);
  Load(S, Document(int(State.range(0))));
  TStringList Block;
  for (int I = 0; I < 100; ++I) Block.Add("    pasted(" + std::to_string(I) + ");");
  const Integer Mid = Integer(State.range(0)) / 2;
  for (auto _ : State) {
    S.SetCaret(0, Mid);
    S.PasteLines(&Block, nullptr, false);
    S.Undo();
  }
  State.SetItemsProcessed(Int64(State.iterations()) * 100);
}
BENCHMARK(BM_PasteHundredLinesAndUndo)->Arg(1000)->Arg(100000);

void BM_Load10MB(benchmark::State& State) {
  const std::string Text = Document(10 * 1024 * 1024 / 48);
  for (auto _ : State) {
    TMemoSource S(nullptr);
    Load(S, Text);
    benchmark::DoNotOptimize(S.GetLineCount());
  }
  State.SetBytesProcessed(Int64(State.iterations()) * Int64(Text.size()));
}
BENCHMARK(BM_Load10MB)->Unit(benchmark::kMillisecond);

}  // namespace
