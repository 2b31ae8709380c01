// SpreadsheetEngine.h — TgtCustomSpreadSheetEngine, the base of the spreadsheet
// writers (Excel, Lotus, Quattro Pro). It lays each page's positioned text
// items into a grid of rows and columns (SortItems), keeps a running row
// offset so that pages follow each other down the sheet, and owns the keyed
// lists of fonts, cell attributes and colours the writers turn into records.
// The writers only serialise what this class decided.
#pragma once
#include <map>
#include <memory>
#include <vector>
#include "export/engine/DocumentEngine.h"
#include "export/engine/ParagraphItems.h"

class TgtSheetFormatting : public TPersistent {
public:
  SmallInt GetColumnSpacing() const { return FColumnSpacing; }
  void SetColumnSpacing(SmallInt V) { FColumnSpacing = V; }
  Integer GetRowSpacing() const { return FRowSpacing; }
  void SetRowSpacing(Integer V) { FRowSpacing = V; }
  float GetScaleX() const { return FScaleX; }
  void SetScaleX(float V) { FScaleX = V; }
  float GetScaleY() const { return FScaleY; }
  void SetScaleY(float V) { FScaleY = V; }

private:
  SmallInt FColumnSpacing = -1;   // -1..256
  Integer FRowSpacing = -1;       // -1..65536
  float FScaleX = 1.0f, FScaleY = 1.0f;
};

class TgtSpreadSheetPreferences : public TgtPreferences {
public:
  using TgtPreferences::TgtPreferences;
  bool GetAutoFormatCells() const { return FAutoFormatCells; }
  void SetAutoFormatCells(bool V) { FAutoFormatCells = V; }
  bool GetMultiPass() const { return FMultiPass; }
  void SetMultiPass(bool V) { FMultiPass = V; }
  bool GetApplyAlignment() const { return FApplyAlignment; }
  void SetApplyAlignment(bool V) { FApplyAlignment = V; }
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool V) { FWordWrap = V; }
  bool GetUseDefaultPalette() const { return FUseDefaultPalette; }
  void SetUseDefaultPalette(bool V) { FUseDefaultPalette = V; }

private:
  bool FAutoFormatCells = false, FMultiPass = false, FApplyAlignment = false, FWordWrap = false,
       FUseDefaultPalette = false;
};

// A text item placed in the grid.
class TgtFmTextItem : public TgtTextItem {
public:
  Integer Row = 0, Column = 0;
};

// A cell given by CellText: it already knows its cell and format.
class TgtSheetTextItem : public TgtFmTextItem {
public:
  Byte HorzAlignment = 4;   // 0 left, 1 right, 2 centre, 4 general
  Byte FormatKind = 0;
  bool WordWrap = false;
};

// Format kinds of a cell.
enum : Byte { fkText = 0, fkInteger, fkDecimal, fkCurrency, fkTime, fkDate, fkDateTime };

class TgtCellAttrib {
public:
  Integer FontIndex = 0;
  Word FormatIndex = 0;
  Byte Alignment = 0;
  TBrush Brush;
  bool WordWrap = false;
};

class TgtCustomSpreadSheetEngine : public TgtCustomDocumentEngine {
public:
  explicit TgtCustomSpreadSheetEngine(TComponent* AOwner);
  ~TgtCustomSpreadSheetEngine() override;
  std::unique_ptr<TgtPreferences> GetPreferencesClass() override;
  TgtSpreadSheetPreferences* GetPreferences() const {
    return static_cast<TgtSpreadSheetPreferences*>(TgtCustomDocumentEngine::GetPreferences());
  }
  TgtSheetFormatting* GetFormatting() const { return FFormatting.get(); }

  virtual void SetColumnWidth(Integer Column, double Width);
  virtual Integer GetPaletteIndex(TColor Color);
  virtual void CellText(Integer Row, Integer Column, const WideString& Text, Byte Alignment, Byte FormatKind);
  virtual void CellTextWrapped(Integer Row, Integer Column, const WideString& Text, Byte Alignment,
                               Byte FormatKind, bool WordWrap);
  // Paragraphs reach the grid as one plain text item per line.
  void EndParagraph() override;

  // --- sheet lists ------------------------------------------------------------------
  Integer AddFont(TFont* Font);
  Integer AddCellAttrib(Integer FontIndex, Byte Alignment, bool WordWrap, TBrush* Brush, Integer FormatIndex);
  Byte DetectCellFormat(const AnsiString& Text) const;
  static AnsiString CleanNumberText(const AnsiString& Text);
  void CreateSheetLists();
  void FreeSheetLists();

  // Record framing shared by the three formats: id, length, then the data.
  static void WriteRecord(Word Id, Word Length, TStream* Stream, bool HasData = false,
                          std::initializer_list<Word> Data = {});
  static void WriteRecordBytes(Word Id, Word Length, TStream* Stream, bool HasData = false,
                               std::initializer_list<Byte> Data = {});

  // The metrics StartDocument sets (pixels).
  double GetColumnWidthPx() const { return FColumnWidth; }
  double GetRowHeightPx() const { return GetLineTolerance(); }
  Integer GetDefaultRowHeight() const { return FDefaultRowHeight; }
  Integer GetRowOffset() const { return FRowOffset; }

  static constexpr Integer ColorTableSize = 101;
  static const TColor DefaultPalette[56];

protected:
  // --- the writer's interface ---
  void StartDocument() override;
  void BeginPage() override;
  void EndPage() override;
  void FinishDocument() override;
  // The grid layout: the base's reading order, then rows and columns.
  void SortItems(TgtItemList& List) override;
  void EncodeTextBoxItem(TgtTextBoxItem*) override {}
  // A table is written cell by cell, past the grid mapping, each cell at the
  // right edge of its column.
  void EncodeTableItem(TgtTableItem* Item) override;

  // The colour table the palette records are written from, in index order.
  std::vector<TColor> PaletteColors() const;
  // GetPaletteIndex for a format that holds only PaletteSize entries: an
  // index past them becomes the nearest colour among them.
  Integer PaletteIndexWithin(TColor Color, Integer PaletteSize);

  struct TColumnWidth {
    Integer Column;
    double Width;   // characters
  };
  std::unique_ptr<TgtSheetFormatting> FFormatting;
  double FColumnWidth = 0;
  Integer FDefaultRowHeight = 0;
  Integer FRowOffset = 0;
  Integer FHighestRow = -1;
  std::vector<TColumnWidth> FColumnWidths;

  // Keyed sheet lists, in insertion order.
  std::vector<std::unique_ptr<TFont>> FFonts;
  std::map<AnsiString, Integer> FFontKeys;
  std::vector<std::unique_ptr<TgtCellAttrib>> FCellAttribs;
  std::map<AnsiString, Integer> FCellAttribKeys;
  std::vector<TColor> FColors;
  std::map<AnsiString, Integer> FColorKeys;
  bool FSheetListsOpen = false;
  // The built-in table and what has been appended to it; kept for the
  // engine's life.
  std::vector<TColor> FColorTable;
  bool FPaletteInitialised = false;

private:
  // A sheet has no pages to split a table over: the layout may hand one
  // table to several pages, and it is written at the first of them only.
  struct TWrittenTable {
    const TgtTableItem* Item;
    Integer CurrentRow, ColumnCount;
  };
  std::vector<TWrittenTable> FWrittenTables;
  void AssignRows(TgtItemList& List, std::vector<std::vector<TgtFmTextItem*>>& Columns);
  void AlignmentPass(std::vector<std::vector<TgtFmTextItem*>>& Columns);
  void MultiPass(std::vector<std::vector<TgtFmTextItem*>>& Columns);
  double LineWidth(TgtTextItem* Item, bool Trimmed) const;
};
