// ScriptedAnswers.h — the forms layer's scripted dialog answers
// (TDialogScript) for tests that include the memo source, whose TPosition
// cannot share a unit with the forms layer's.
#pragma once
#include <memory>
#include <vector>
#include "platform/rtl/Types.h"

class TDialogScript;

class TScriptedAnswers {
public:
  // The modal results of the buttons the memo source's boxes offer.
  static const Integer Yes, No, Cancel, All, Ok;

  TScriptedAnswers();
  ~TScriptedAnswers();
  TScriptedAnswers& Then(Integer Result);
  size_t Pending() const;
  size_t AskedCount() const;
  AnsiString AskedText(size_t I) const;
  // The answers the I-th dialog could give, sorted.
  std::vector<Integer> AskedAnswers(size_t I) const;

private:
  std::unique_ptr<TDialogScript> FScript;
};
