// QuattroProEngine.h — TgtQuattroProEngine writes the grid as a Quattro Pro for
// Windows WB1 notebook: cells with styles that refer to fonts and a
// 16-colour palette.
#pragma once
#include <memory>
#include "export/sheet/SpreadsheetEngine.h"

constexpr Integer gtQuattroMaxColumns = 256;   // the column is one byte
constexpr Integer gtQuattroMaxLabel = 250;
constexpr Integer gtQuattroPaletteSize = 16;

class TgtQuattroProEngine : public TgtCustomSpreadSheetEngine {
public:
  explicit TgtQuattroProEngine(TComponent* AOwner);
  ~TgtQuattroProEngine() override;
  // "Quattro Pro Setup" (export/dialogs).
  Word ShowSetupDialog() override;
  // Colours beyond the 16 of the palette take the nearest of them.
  Integer GetPaletteIndex(TColor Color) override;

protected:
  void StartDocument() override;
  void EncodeTextItem(TgtTextItem* Item) override;
  void FinishDocument() override;

private:
  TStream* FOutput = nullptr;
  std::unique_ptr<TMemoryStream> FCells;
};
