#include "ScriptedAnswers.h"

#include <algorithm>

#include "platform/forms/Dialogs.h"

const Integer TScriptedAnswers::Yes = mrYes;
const Integer TScriptedAnswers::No = mrNo;
const Integer TScriptedAnswers::Cancel = mrCancel;
const Integer TScriptedAnswers::All = mrAll;
const Integer TScriptedAnswers::Ok = mrOk;

TScriptedAnswers::TScriptedAnswers() : FScript(std::make_unique<TDialogScript>()) {}
TScriptedAnswers::~TScriptedAnswers() = default;

TScriptedAnswers& TScriptedAnswers::Then(Integer Result) {
  FScript->Then(Result);
  return *this;
}

size_t TScriptedAnswers::Pending() const { return FScript->Pending(); }
size_t TScriptedAnswers::AskedCount() const { return FScript->Asked().size(); }
AnsiString TScriptedAnswers::AskedText(size_t I) const { return FScript->Asked().at(I).Text; }

std::vector<Integer> TScriptedAnswers::AskedAnswers(size_t I) const {
  std::vector<Integer> R = FScript->Asked().at(I).Answers;
  std::sort(R.begin(), R.end());
  return R;
}
