// MemoTestUtil.h — a memo source with text, and an editor stand-in that
// records each change notification.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/text/MemoSource.h"

// Lines joined by '|' (stored text, TABs kept).
inline std::string Text(TCustomMemoSource& S) {
  std::string R;
  for (Integer I = 0; I < S.GetLineCount(); ++I) {
    if (I) R += '|';
    R += S.GetLineText(I);
  }
  return R;
}

// Text from '|'-separated lines, stored as given (blanks kept), with nothing
// to undo and Modified False.
inline void SetText(TCustomMemoSource& S, const std::string& T) {
  TStrings* L = S.GetLines();
  L->Clear();
  size_t From = 0;
  for (;;) {
    const size_t Bar = T.find('|', From);
    L->Add(T.substr(From, Bar == std::string::npos ? std::string::npos : Bar - From));
    if (Bar == std::string::npos) break;
    From = Bar + 1;
  }
  S.SetCaret(0, 0);
  S.ClearUndo();
  S.SetModified(false);
}

struct TNotice {
  Integer First, Last;
  std::uint64_t State;
  Integer Code;
};

class TRecordingEditor : public TComponent {
  SX_CLASS(TRecordingEditor, TComponent)
public:
  explicit TRecordingEditor(TComponent* AOwner) : TComponent(AOwner) {}
  void Changed(TObject* Sender, Integer A, Integer B) {
    auto* S = static_cast<TCustomMemoSource*>(Sender);
    Notices.push_back({A, B, S->State().Ordinal(), S->ChangeCode()});
  }
  void Attach(TCustomMemoSource& S) {
    S.AddEditor(false, TNotifierProc(this, &TRecordingEditor::Changed), this);
  }
  std::vector<TNotice> Notices;
};

inline bool Has(std::uint64_t State, TMemoState M) { return (State >> M) & 1; }
