// PlainsheetEngine.h — TgtCustomPlainsheetEngine, the base of the writers that
// keep a page's drawn layout (SVG, PDF), as opposed to the spreadsheet
// writers that re-flow text into a grid.
//
// Over the engine base it adds the plain-sheet preferences (ActiveHyperLinks)
// and a document outline: entries callers add while a document is open,
// which a writer reads in FinishDocument. The list exists from BeginDoc to
// the end of EndDoc; entries never carry over to the next document. The
// drawing interface is the base's, inherited unchanged.
#pragma once
#include <memory>
#include <vector>
#include "export/engine/DocumentEngine.h"

// Preferences of a plain-sheet engine. Assign is the base's: assigning one
// object to another copies the base flags and leaves ActiveHyperLinks.
class TgtPlainSheetPreferences : public TgtPreferences {
public:
  explicit TgtPlainSheetPreferences(TgtDocSettings* SettingsOwner = nullptr)
      : TgtPreferences(SettingsOwner) {}
  // Web addresses in text become links.
  bool GetActiveHyperLinks() const { return FActiveHyperLinks; }
  void SetActiveHyperLinks(bool Value) { FActiveHyperLinks = Value; }

private:
  bool FActiveHyperLinks = true;
};

// One outline entry. A parent always precedes its children in the list.
class TgtTOCItem : public TObject {
public:
  WideString Title;
  Integer PageNo = 0;        // 1-based target page; 0 for a link entry
  Integer ParentIndex = -1;  // index of the parent entry; -1 at the top level
  double X = 0;              // never set by an operation
  double Y = 0;              // page pixels, stored as given
  AnsiString URL;            // target of a link entry
};

using TgtTOCList = std::vector<std::unique_ptr<TgtTOCItem>>;

class TgtCustomPlainsheetEngine : public TgtCustomDocumentEngine {
public:
  explicit TgtCustomPlainsheetEngine(TComponent* AOwner);
  ~TgtCustomPlainsheetEngine() override;
  std::unique_ptr<TgtPreferences> GetPreferencesClass() override;

  void BeginDoc() override;
  void EndDoc() override;

  TgtPlainSheetPreferences* GetPreferences() const;

  // Adds an entry pointing at a page begun so far (1..page count) under an
  // existing parent (or -1); answers its index, or -1 (nothing added) when
  // no document is open or a value is out of range.
  virtual Integer AddOutline(const WideString& Title, Integer ParentIndex, Integer PageNo, double Y);
  // Adds an entry pointing at a web address; pages are not looked at.
  virtual Integer AddOutlineLink(const WideString& Title, Integer ParentIndex, const AnsiString& URL);

  // The outline of the open document, or nil outside BeginDoc..EndDoc.
  const TgtTOCList* GetOutline() const { return FOutline.get(); }

private:
  bool ValidParent(Integer ParentIndex) const;
  std::unique_ptr<TgtTOCList> FOutline;
};
