// ParagraphItems.h — the items of flowing text: paragraphs (wrapped lines that
// flow down the band area and onto following pages) and tables (columns and
// rows of cell items that are split over pages). The engine makes them with
// its paragraph and table operations; a table item sits in the lists of
// every page it spans and lives until the last of them lets go.
#pragma once
#include <memory>
#include <vector>
#include "export/engine/PageItems.h"
#include "platform/rtl/Events.h"

class TgtParagraphItem : public TgtDocumentItem {
public:
  TgtItemKind Kind() const override { return TgtItemKind::Paragraph; }
  double X = 0, Y = 0, Width = 0, Height = 0;
  TFont Font;
  TBrush Brush;
  TWideStrings Lines;   // the wrapped lines
  TgtTextFormatting Formatting;
  TgtTextEffects TextEffects;
};

class TgtTableItem;

class TgtColumn : public TObject {
public:
  explicit TgtColumn(TgtTableItem* Table = nullptr) : FTable(Table) {}
  double Width = 0;   // pixels
  Byte Alignment = 0;  // as TgtTextFormatting's
  WideString Caption;
  // Called after the layout has changed Width.
  TEvent<void(TObject* Sender)> OnWidthChange;
  TgtTableItem* Table() const { return FTable; }

private:
  TgtTableItem* FTable;
};

using TgtColumnList = std::vector<std::unique_ptr<TgtColumn>>;

class TgtTableItem : public TgtDocumentItem {
public:
  TgtItemKind Kind() const override { return TgtItemKind::Table; }
  explicit TgtTableItem(TgtCustomDocumentEngine* Engine = nullptr) : FEngine(Engine) {}
  TgtCustomDocumentEngine* Engine() const { return FEngine; }
  double X = 0, Y = 0;          // top-left, page pixels
  Integer CurrentRow = -1;      // -1 before the first row
  Integer ColumnCount = 0;
  TFont Font;
  TBrush Brush;
  TPen Pen;
  TgtTextEffects TextEffects;
  std::vector<Integer> RowHeights;
  TgtColumnList Columns;
  // Per row, its cells' text and image items; a cell item keeps its column
  // in X and its row in Y.
  std::vector<TgtItemList> Rows;
  TgtTableSettings Settings;
  double MaxWidth = 0, MaxHeight = 0;   // from the corner to the band area's right and bottom

private:
  TgtCustomDocumentEngine* FEngine;
};
