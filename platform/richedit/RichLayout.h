// RichLayout.h — word wrap and pagination of a rich-edit document against a
// target device. The layout measures with fonts realized at the target's
// resolution (hdcTarget's LOGPIXELSX/Y) and keeps every position in target
// device pixels, so what it decides is exactly what the target would show;
// rendering (RichFormatRange.h) converts those positions to the drawing DC's
// logical units.
//
// A layout borrows the document, which must outlive it and stay unchanged;
// the control drops its layout whenever the document changes. Lines of a
// paragraph and table rows are laid out on first use and kept until a page
// is laid out from a later position: then those wholly before it go, so
// paging through a document from its start costs one wrap of each
// paragraph and holds only the layouts from the current page on. A very
// long paragraph (one text with line breaks, as an editor exports it) is
// paged as it goes instead: each page wraps only the lines it takes. A page's
// pieces point into the layout and stay valid until the next Paginate.
//
// Vertical structure: the document is a sequence of blocks, either one
// paragraph outside tables or one table row (the cells' paragraphs side by
// side; a table nested in a cell is laid out inside that cell, as part of
// the outer row). A page breaks between lines of a paragraph or between
// rows; a row taller than a page is cut between lines (see
// TRichRowLayout::Breaks). An FF character ends its line and the page.
// Cells that would pass the right edge of the text rectangle by more than
// half an inch wrap into a band of their own below the cells before them,
// so no cell is drawn off the page.
#pragma once
#include <array>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/gdi/FontTypes.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/richedit/RichDocument.h"

// Fonts of the document's character formats at one device resolution,
// measured on a private memory DC (never on the caller's DC, so measuring a
// metafile target records nothing into it). Owns its fonts and the DC.
class TRichMeasureFonts {
public:
  TRichMeasureFonts(int DpiX, int DpiY, WideString DefaultFace);
  ~TRichMeasureFonts();
  TRichMeasureFonts(const TRichMeasureFonts&) = delete;
  TRichMeasureFonts& operator=(const TRichMeasureFonts&) = delete;

  struct TFont {
    HFONT Handle = nullptr;   // owned by the cache
    int Ascent = 0;           // target pixels
    int Descent = 0;
    int Shift = 0;            // baseline shift, pixels, positive = up
    // Advance of a UTF-16 code unit in target pixels, filled 256 at a time.
    int Advance(char16_t Ch) const;

  private:
    friend class TRichMeasureFonts;
    const TRichMeasureFonts* Owner = nullptr;
    mutable std::array<std::unique_ptr<int[]>, 256> Pages;
  };

  // The font of a character format (looked up by the format's index in the
  // document it came from; one cache serves one document).
  const TFont& Get(Integer FormatIndex, const TRichCharFormat& F);
  // The LOGFONT a format gets at a height in device units, for any DC.
  static LOGFONTW FontFor(const TRichCharFormat& F, const WideString& DefaultFace, int Height);
  // Point size of a format after the super/subscript reduction, half-points.
  static int EffectiveHalfPoints(const TRichCharFormat& F);
  // Baseline shift of a format, in twips (positive = up).
  static int ShiftTwips(const TRichCharFormat& F);

  int DpiX() const { return FDpiX; }
  int DpiY() const { return FDpiY; }
  const WideString& DefaultFace() const { return FDefaultFace; }

private:
  void FillPage(const TFont& F, int Page) const;
  int FDpiX, FDpiY;
  WideString FDefaultFace;
  TMemoryDc FDc;  // for measuring; our fonts get selected into it
  std::vector<std::unique_ptr<TFont>> FByFormat;  // index = format index
};

// One drawable piece of a line: text of one format without tabs, a tab, or
// a picture. Offsets are within the paragraph's Text.
struct TRichLineItem {
  enum class TKind : Byte { Text, Tab, Picture };
  TKind Kind = TKind::Text;
  Integer Start = 0;
  Integer Length = 0;
  Integer Format = 0;
  Integer Picture = -1;
  int X = 0;       // from the line's left edge (the block's left), pixels
  int Width = 0;   // including the justification spread of its spaces
  int Spaces = 0;  // spaces that receive justification extra
};

struct TRichLine {
  Integer Start = 0;      // offset of the first character in the paragraph
  Integer End = 0;        // offset after the last character (end mark included)
  int Top = 0;            // from the block's top, pixels
  int Height = 0;
  int Baseline = 0;       // from the line's top
  int Ascent = 0;         // of the line's content, above the baseline
  int Descent = 0;        // of the line's content, below the baseline
  int JustifyExtra = 0;   // pixels spread over JustifySpaces spaces
  int JustifySpaces = 0;
  bool PageBreak = false; // the line ends with FF
  std::vector<TRichLineItem> Items;
};

// The lines of one paragraph in a column, positions relative to the column.
struct TRichParaLayout {
  Integer Paragraph = 0;
  int Left = 0;            // column's left edge from the text rectangle's left, pixels
  int Width = 0;           // the column's width, pixels
  int SpaceBefore = 0;     // pixels above the first line (included in Lines[0].Top)
  int Height = 0;          // everything, space after included
  std::vector<TRichLine> Lines;
  // The numbering mark (bullet or number) drawn on the first line, when the
  // layout starts at the paragraph's start.
  WideString Marker;
  Integer MarkerFormat = 0;
  int MarkerX = 0;
  // Wrapped only as far as one page needs: Lines stop before the paragraph
  // does, and Height is the last line's bottom.
  bool Partial = false;
};

// The frame of a cell of a table nested in a cell: drawn under the text.
struct TRichCellFrame {
  int Left = 0, Right = 0;    // from the text rectangle's left, pixels
  int Top = 0, Bottom = 0;    // from the row's top, pixels
  bool HasShading = false;
  COLORREF Shading = 0;
  TRichBorders Borders;
};

// A table row: its cells' paragraphs, each cell a column.
struct TRichCellLayout {
  int Left = 0, Right = 0;    // cell edges from the text rectangle's left, pixels
  int Top = 0, Bottom = 0;    // from the row's top: the cell's band
  // A turned cell's paragraphs are laid out as if the cell were turned
  // upright: lines Along pixels long, stacked across the cell; line tops
  // count from the cell's first line and items from the lines' start.
  TRichTextFlow Flow = TRichTextFlow::Horizontal;
  int Along = 0;
  int Gap = 0;                // the cell's inner margin, pixels
  bool HasShading = false;
  COLORREF Shading = 0;
  TRichBorders Borders;
  // Every paragraph of the cell, those of nested tables included, placed:
  // Left includes the (nested) cell's, line tops count from the row's top.
  std::vector<TRichParaLayout> Paragraphs;
  std::vector<TRichCellFrame> NestedCells;
};
struct TRichRowLayout {
  Integer Row = 0;
  Integer FirstParagraph = 0, LastParagraph = 0;  // inclusive
  int Height = 0;
  std::vector<TRichCellLayout> Cells;
  // Where a row taller than a page may be cut: line tops (from the row's
  // top) with the cp of the line that starts there, both increasing. They
  // are the lines of each band's tallest cell, so that a cut at one of them
  // is named by its cp alone: a page that starts at that cp starts the row
  // at that top and draws every line of every cell from there down.
  std::vector<std::pair<int, Integer>> Breaks;
  Integer FirstCp = 0, EndCp = 0;   // the row's cps: [FirstCp, EndCp)
};

// What fits on one page from a start position.
struct TRichPagePiece {
  // A paragraph outside tables: lines [FirstLine, LastLine) of Para; or a row.
  const TRichParaLayout* Para = nullptr;
  std::size_t FirstLine = 0, LastLine = 0;
  const TRichRowLayout* Row = nullptr;
  // The slice of the row on this page: its lines whose tops lie in
  // [RowFrom, RowTo), drawn RowFrom higher; Height is the room it takes.
  int RowFrom = 0, RowTo = 0, Height = 0;
  int Top = 0;             // where the piece's line FirstLine (or the row) starts, pixels
  int LineOffset = 0;      // subtract from a line's Top to place it at Top
  bool Oversize = false;   // taller than the page: drawn clipped to the rectangle
};
struct TRichPage {
  Integer CpMin = 0;       // first character laid out
  Integer CpEnd = 0;       // first character not laid out
  Integer CpLimit = 0;     // characters at or after this are not drawn
  int Height = 0;          // pixels used
  int Avail = 0;           // the page's height, pixels
  std::vector<TRichPagePiece> Pieces;
};

struct TRichLayoutParams {
  int DpiX = 96, DpiY = 96;      // target resolution
  int WidthTwips = 0;            // the text rectangle's width
  WideString DefaultFace = u"MS Sans Serif";
  friend bool operator==(const TRichLayoutParams&, const TRichLayoutParams&) = default;
};

class TRichLayout {
public:
  TRichLayout(const TRichDocument& Doc, TRichLayoutParams Params);
  ~TRichLayout();

  const TRichLayoutParams& Params() const { return FParams; }
  const TRichDocument& Document() const { return FDoc; }
  TRichMeasureFonts& Fonts() { return FFonts; }

  // Lays out from CpMin (clamped into the text) into a page HeightTwips
  // high, stopping before CpMax (-1: the end). Releases the layouts of the
  // paragraphs and rows that end before CpMin's paragraph. At least one line or row is
  // taken whenever characters remain, even when it does not fit, so callers
  // always advance.
  TRichPage Paginate(Integer CpMin, Integer CpMax, int HeightTwips);

  // The mark of a numbered paragraph ("1.", "b)", a bullet), counting the
  // numbered paragraphs of the same kind just before it.
  WideString NumberingText(Integer Index) const;
  // The wrapped lines of a paragraph outside tables (cached).
  const TRichParaLayout& Paragraph(Integer Index);
  // The layout of the row that paragraph Index belongs to (cached).
  const TRichRowLayout& RowOf(Integer Paragraph);

  int TwipsToPxX(long long Twips) const;
  int TwipsToPxY(long long Twips) const;

private:
  // Wraps paragraph Index from offset StartOffset into a column Width pixels
  // wide starting at Left. A StartOffset past 0 continues the paragraph: no
  // space before, no first-line indent.
  // A StopBelow of 0 or more stops after the first line whose bottom lies
  // below it, or after a page break (a partial layout).
  TRichParaLayout Wrap(Integer Index, Integer StartOffset, int Left, int Width, int StopBelow = -1);
  const TRichParaLayout& Continuation(Integer Index, Integer Offset);
  // The lines of a long paragraph from Offset that a page with Room pixels
  // left can take, and one more: a long paragraph is never wrapped whole,
  // so its layout costs a page, not the paragraph.
  const TRichParaLayout& Window(Integer Index, Integer Offset, int Room);
  // Lays out the nested row of paragraphs [First, Last] into Cell, its
  // origin at Left (pixels), Width wide, Top pixels below the row's top;
  // returns its height.
  int NestedRow(TRichCellLayout& Cell, Integer First, Integer Last, int Left, int Width, int Top);
  // The top (from the row's top) of the line of the row that holds Cp; 0
  // when no line holds it.
  int RowTopAt(const TRichRowLayout& Row, Integer Cp) const;
  void AddBreaks(TRichRowLayout& Row, const TRichCellLayout& Cell) const;
  // Lays out a turned cell's paragraphs; returns the height it needs.
  int TurnedCell(TRichCellLayout& Cell, const std::vector<Integer>& Paragraphs, int Gap, int Upright);
  // Frees the cached layouts of paragraphs before Paragraph and of rows
  // that end before it.
  void ReleaseBefore(std::size_t Paragraph);

  const TRichDocument& FDoc;
  TRichLayoutParams FParams;
  TRichMeasureFonts FFonts;
  int FWidthPx;
  std::vector<std::unique_ptr<TRichParaLayout>> FParas;
  std::vector<std::unique_ptr<TRichRowLayout>> FRows;   // by first paragraph
  std::unique_ptr<TRichParaLayout> FContinuation;        // the last mid-paragraph start
  Integer FContinuationOffset = -1;
  int FContinuationRoom = -1;   // the Window's room; -1: wrapped to the paragraph's end
  std::size_t FReleasedTo = 0;   // no layout is cached below this paragraph (from Paginate's view)
};
