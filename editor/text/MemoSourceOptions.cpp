#include "editor/text/MemoSourceOptions.h"

#include "editor/base/ObjectParams.h"

void TMemoSourceOptions::SetDefaults() {
  FKeepTrailingBlanks = false;
  FOptions = DefaultStringsOptions();
  FTabStops = "9,17";
  FBlockIndent = 1;
  FDelimeters = "/{}+-*():=,;><$.#[]^@&~|%'";
}

void TMemoSourceOptions::Changed() {
  if (SuppressChanged()) return;
  // Copy first: applying may create or free nothing, but a handler might.
  const std::vector<TCustomMemoSource*> Sources = MemoSourceList();
  for (TCustomMemoSource* S : Sources)
    if (S->GetUseGlobalOptions()) S->ApplyGlobalOptions();
}

void TMemoSourceOptions::SetKeepTrailingBlanks(bool Value) {
  if (Value == FKeepTrailingBlanks) return;
  FKeepTrailingBlanks = Value;
  Changed();
}

void TMemoSourceOptions::SetOptions(TStringsOptions Value) {
  if (Value == FOptions) return;
  FOptions = Value;
  Changed();
}

void TMemoSourceOptions::SetTabStops(const AnsiString& Value) {
  if (Value == FTabStops) return;
  FTabStops = Value;
  Changed();
}

void TMemoSourceOptions::SetDelimeters(const AnsiString& Value) {
  if (Value == FDelimeters) return;
  FDelimeters = Value;
  Changed();
}

void TMemoSourceOptions::SetBlockIndent(Integer Value) {
  Value = Value < 0 ? 0 : Value;
  if (Value == FBlockIndent) return;
  FBlockIndent = Value;
  Changed();
}

void RegisterMemoSourceOptions() {
  static const bool Done = [] {
    RegisterEnvironmentOptions(TMemoSourceOptions::StaticClass());
    return true;
  }();
  (void)Done;
}
