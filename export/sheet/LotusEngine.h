// LotusEngine.h — TgtLotusEngine writes the grid as a Lotus 1-2-3 WK1
// worksheet: numbers as NUMBER records with a fixed/currency format byte,
// everything else as left-aligned labels.
#pragma once
#include <memory>
#include "export/sheet/SpreadsheetEngine.h"

// A WK1 sheet's grid, and the longest label 1-2-3 keeps in a cell.
constexpr Integer gtLotusMaxRows = 8192;
constexpr Integer gtLotusMaxColumns = 256;
constexpr Integer gtLotusMaxLabel = 240;

class TgtLotusEngine : public TgtCustomSpreadSheetEngine {
public:
  explicit TgtLotusEngine(TComponent* AOwner);
  ~TgtLotusEngine() override;
  // "Lotus Setup" (export/dialogs).
  Word ShowSetupDialog() override;

protected:
  void StartDocument() override;
  void EncodeTextItem(TgtTextItem* Item) override;
  void FinishDocument() override;

private:
  TStream* FOutput = nullptr;
  std::unique_ptr<TMemoryStream> FCells;
};
