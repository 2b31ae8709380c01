// CustomExcelEngine.h — TgtCustomExcelEngine writes the grid as a BIFF5 workbook:
// each worksheet goes to the output once its last page is done; at the end
// the workbook globals (fonts, formats, palette, sheet directory) are put in
// front and the whole is re-written as a compound file.
#pragma once
#include <memory>
#include <vector>
#include "export/sheet/SpreadsheetEngine.h"

class TgtExcelPreferences : public TgtSpreadSheetPreferences {
public:
  using TgtSpreadSheetPreferences::TgtSpreadSheetPreferences;
  Integer GetPagesPerWorksheet() const { return FPagesPerWorksheet; }
  void SetPagesPerWorksheet(Integer V) { FPagesPerWorksheet = V < 0 ? 0 : V; }
  bool GetPrintGridLines() const { return FPrintGridLines; }
  void SetPrintGridLines(bool V) { FPrintGridLines = V; }
  bool GetPageMargins() const { return FPageMargins; }
  void SetPageMargins(bool V) { FPageMargins = V; }
  bool GetMetafileAsImage() const { return FMetafileAsImage; }
  void SetMetafileAsImage(bool V) { FMetafileAsImage = V; }

private:
  Integer FPagesPerWorksheet = 0;   // 0: all pages on one worksheet
  bool FPrintGridLines = false, FPageMargins = false, FMetafileAsImage = false;
};

enum TgtCellBorderStyle : Byte { cbsNone, cbsThin, cbsMedium, cbsDashed, cbsDotted, cbsThick, cbsDouble, cbsHair };

class TgtCellBorder : public TPersistent {
public:
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool V) { FEnabled = V; }
  TgtCellBorderStyle GetStyle() const { return FStyle; }
  void SetStyle(TgtCellBorderStyle V) { FStyle = V; }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor V) { FColor = V; }

private:
  bool FEnabled = false;
  TgtCellBorderStyle FStyle = cbsNone;
  TColor FColor = TColor(0);
};

class TgtCustomExcelEngine;
using TgtOnNeedSheetName = TEvent<void(TObject* Sender, AnsiString& SheetName, Integer SheetNo)>;

// BIFF5's grid and palette.
constexpr Integer gtExcelMaxRows = 16384;
constexpr Integer gtExcelMaxColumns = 256;
constexpr Integer gtExcelPaletteSize = 56;

class TgtCustomExcelEngine : public TgtCustomSpreadSheetEngine {
public:
  explicit TgtCustomExcelEngine(TComponent* AOwner);
  ~TgtCustomExcelEngine() override;
  std::unique_ptr<TgtPreferences> GetPreferencesClass() override;
  TgtExcelPreferences* GetPreferences() const {
    return static_cast<TgtExcelPreferences*>(TgtCustomDocumentEngine::GetPreferences());
  }
  TgtCellBorder* GetCellBorder() const { return FCellBorder.get(); }
  // Colours beyond the 56 a BIFF5 palette holds take the nearest of them.
  Integer GetPaletteIndex(TColor Color) override;
  static Byte ExcelFillPattern(TBrushStyle Style);
  // The names given to the worksheets of the last document.
  std::vector<AnsiString> SheetNames() const;

  TgtOnNeedSheetName OnNeedSheetName;

protected:
  void StartDocument() override;
  void EndPage() override;
  void FinishDocument() override;
  void EncodeTextItem(TgtTextItem* Item) override;
  virtual void WriteSheetObjects() {}
  // After a worksheet's EOF: what belonged to that sheet starts afresh.
  virtual void OnWorksheetWritten() {}
  void WriteWorksheet(Integer SheetNo);
  void WriteWorkbookGlobals(TStream* S);
  void WriteFont(TStream* S, TFont* Font);
  void WriteCellXF(TStream* S, Integer FontIndex, Integer FormatIndex, Byte Alignment, TBrush* Brush, bool WordWrap);
  // The stream drawing objects and cells of the current worksheet go to.
  TMemoryStream* GetCellBuffer() const { return FCells.get(); }

private:
  AnsiString ValidSheetName(AnsiString Name, Integer SheetNo) const;
  struct TSheetItem {
    AnsiString Name;
    Int64 EndPosition;
  };
  std::unique_ptr<TgtCellBorder> FCellBorder;
  // Worksheets go to FOutput as they are done and are read back at the end:
  // the output file itself, or, for a user stream, FSheetScratch, so that
  // what the caller's stream held before stays.
  TStream* FOutput = nullptr;
  std::unique_ptr<TMemoryStream> FSheetScratch;
  std::unique_ptr<TMemoryStream> FCells;
  std::vector<TSheetItem> FSheets;
  Integer FSheetCount = 0;
  bool FSheetHasCells = false;
};
