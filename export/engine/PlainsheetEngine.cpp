// PlainsheetEngine.cpp — the plain-sheet engine base: its preferences class and
// the document outline.
#include "export/engine/PlainsheetEngine.h"

TgtCustomPlainsheetEngine::TgtCustomPlainsheetEngine(TComponent* AOwner) : TgtCustomDocumentEngine(AOwner) {
  RecreatePreferences();
}

TgtCustomPlainsheetEngine::~TgtCustomPlainsheetEngine() = default;

std::unique_ptr<TgtPreferences> TgtCustomPlainsheetEngine::GetPreferencesClass() {
  return std::make_unique<TgtPlainSheetPreferences>();
}

TgtPlainSheetPreferences* TgtCustomPlainsheetEngine::GetPreferences() const {
  return static_cast<TgtPlainSheetPreferences*>(TgtCustomDocumentEngine::GetPreferences());
}

void TgtCustomPlainsheetEngine::BeginDoc() {
  // Made before the base runs, so it exists even when the setup dialog then
  // cancels; EndDoc (or the next BeginDoc) lets it go.
  if (!IsDocumentOpen()) FOutline = std::make_unique<TgtTOCList>();
  TgtCustomDocumentEngine::BeginDoc();
}

void TgtCustomPlainsheetEngine::EndDoc() {
  // The list is released even when the writer raises while finishing.
  struct TRelease {
    std::unique_ptr<TgtTOCList>& List;
    ~TRelease() { List.reset(); }
  } Release{FOutline};
  TgtCustomDocumentEngine::EndDoc();
}

bool TgtCustomPlainsheetEngine::ValidParent(Integer ParentIndex) const {
  return FOutline && ParentIndex >= -1 && ParentIndex < Integer(FOutline->size());
}

Integer TgtCustomPlainsheetEngine::AddOutline(const WideString& Title, Integer ParentIndex, Integer PageNo,
                                              double Y) {
  if (!IsDocumentOpen() || !ValidParent(ParentIndex) || PageNo < 1 || PageNo > GetPageCount()) return -1;
  auto Item = std::make_unique<TgtTOCItem>();
  Item->Title = Title;
  Item->ParentIndex = ParentIndex;
  Item->PageNo = PageNo;
  Item->Y = Y;
  FOutline->push_back(std::move(Item));
  return Integer(FOutline->size()) - 1;
}

Integer TgtCustomPlainsheetEngine::AddOutlineLink(const WideString& Title, Integer ParentIndex,
                                                  const AnsiString& URL) {
  if (!IsDocumentOpen() || !ValidParent(ParentIndex)) return -1;
  auto Item = std::make_unique<TgtTOCItem>();
  Item->Title = Title;
  Item->ParentIndex = ParentIndex;
  Item->URL = URL;
  FOutline->push_back(std::move(Item));
  return Integer(FOutline->size()) - 1;
}
