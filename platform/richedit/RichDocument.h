// RichDocument.h — the rich edit's document model: paragraphs of runs, the
// character and paragraph formats, embedded pictures and table rows. The RTF
// reader (RtfReader.h) and plain-text loading build it; layout and range
// formatting only read it. A document is a value: copy or move it freely; it
// owns everything it holds (formats, picture bytes, rows).
//
// Character positions (cp), the ones EM_EXSETSEL, EM_FORMATRANGE and
// WM_GETTEXTLENGTH use:
//   - The text is the paragraphs' texts one after the other. Every paragraph's
//     Text ends with exactly one end character, which counts one cp:
//       CR (U+000D)  a paragraph break (\par, a plain-text line end),
//       BEL (U+0007) the end of a table cell (\cell): the cell's last paragraph.
//     A line break inside a paragraph (\line) is VT (U+000B), a tab is TAB
//     (U+0009), a page break (\page) is FF (U+000C); each is one cp inside the
//     paragraph's text, not an end character.
//   - A picture occupies one cp, the character U+FFFC, in its own run.
//   - There is always at least one paragraph. The last paragraph's end
//     character is the document's end mark, which the control does not count:
//     TextLength() is the total of all paragraph lengths minus one. An empty
//     document is one paragraph whose Text is "\r"; its TextLength() is 0.
//     Loading RTF or text that ends with a paragraph break does not add an
//     empty last paragraph: "abc\par}" gives one paragraph "abc\r" (length 3).
//   - Paragraph i covers cps [FirstCp, FirstCp + Text.size()).
//
// Units: lengths of paragraphs, tabs, cells and picture goals are twips
// (1/1440 inch). A character size is in half-points (RTF's \fs; 24 = 12 pt).
//
// Hidden text (\v) stays in the text and counts cps, as the control counts it,
// but is neither laid out nor part of PlainText. A paragraph hidden to its
// end mark takes no room at all.
#pragma once
#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/GdiTypes.h"
#include "platform/richedit/RichText.h"
#include "platform/rtl/Types.h"

// The character format of a run.
enum class TRichUnderline : Byte {
  None, Single, Words, Double, Dotted, Dash, DashDot, DashDotDot, Thick, Wave
};
enum class TRichVerticalPosition : Byte { Normal, Superscript, Subscript };

struct TRichCharFormat {
  WideString Face;              // empty: the control's default face
  BYTE Charset = 1;             // DEFAULT_CHARSET
  BYTE PitchAndFamily = 0;      // LOGFONT's lfPitchAndFamily from \fnil.. and \fprq
  Integer Size = 24;            // half-points
  bool Bold = false;
  bool Italic = false;
  bool StrikeOut = false;
  bool Hidden = false;
  bool Protected = false;
  bool AutoColor = true;        // text in the window-text colour; Color unused
  bool HasBackground = false;   // \highlight or \cb/\chcbpat; Background unused when false
  TRichUnderline Underline = TRichUnderline::None;
  TRichVerticalPosition VerticalPosition = TRichVerticalPosition::Normal;
  COLORREF Color = 0;
  COLORREF Background = 0;
  // Baseline shift in half-points (\up is positive, \dn negative). Layout
  // applies it on top of VerticalPosition, which also implies a smaller size.
  Integer Offset = 0;
  friend bool operator==(const TRichCharFormat&, const TRichCharFormat&) = default;
};

// The paragraph format.
enum class TRichAlignment : Byte { Left, Center, Right, Justify };
enum class TRichTabKind : Byte { Left, Center, Right, Decimal, Bar };
enum class TRichTabLeader : Byte { None, Dots, MiddleDots, Hyphens, Underline, Thick, Equals };
enum class TRichNumbering : Byte { None, Bullet, Arabic, LowerLetter, UpperLetter, LowerRoman, UpperRoman };

struct TRichTabStop {
  Integer Position = 0;  // twips from the left margin (not from the indent)
  TRichTabKind Kind = TRichTabKind::Left;
  TRichTabLeader Leader = TRichTabLeader::None;
  friend bool operator==(const TRichTabStop&, const TRichTabStop&) = default;
};

// Borders of a paragraph or a cell; a width of 0 means no border on that side.
struct TRichBorder {
  Integer Width = 0;      // twips
  COLORREF Color = 0;     // when AutoColor is false
  bool AutoColor = true;
  friend bool operator==(const TRichBorder&, const TRichBorder&) = default;
};
struct TRichBorders {
  TRichBorder Left, Top, Right, Bottom;
  friend bool operator==(const TRichBorders&, const TRichBorders&) = default;
};

struct TRichParaFormat {
  TRichAlignment Alignment = TRichAlignment::Left;
  Integer LeftIndent = 0;    // twips, \li
  Integer RightIndent = 0;   // twips, \ri
  Integer FirstIndent = 0;   // twips, \fi: the first line starts at LeftIndent + FirstIndent
  Integer SpaceBefore = 0;   // twips, \sb
  Integer SpaceAfter = 0;    // twips, \sa
  // Line spacing as RTF's \sl and \slmult give it:
  //   LineSpacing 0                       single (the line's own height);
  //   LineSpacingMultiple, LineSpacing N  N/240 of single (240 = single, 360 = 1.5, 480 = double);
  //   otherwise N > 0                     at least N twips;
  //   otherwise N < 0                     exactly -N twips.
  Integer LineSpacing = 0;
  bool LineSpacingMultiple = false;
  bool RightToLeft = false;       // \rtlpar
  bool KeepTogether = false;      // \keep
  bool KeepWithNext = false;      // \keepn
  bool PageBreakBefore = false;   // \pagebb
  TRichNumbering Numbering = TRichNumbering::None;  // \pn…: the mark layout draws before line one
  Integer NumberingStart = 1;
  Integer NumberingIndent = 0;    // twips, \pnindent: room between the mark and the text
  WideString NumberingTextBefore, NumberingTextAfter;  // \pntxtb, \pntxta
  // The mark's look (\pnf, \pnfs, \pnb …) as an index in the document's
  // CharFormats; -1: the look of the paragraph's first character.
  Integer NumberingFormat = -1;
  std::vector<TRichTabStop> Tabs;  // sorted by Position, no two at one position
  TRichBorders Borders;            // \brdrt … on the paragraph
  bool HasShading = false;         // \cbpat: background of the paragraph
  COLORREF Shading = 0;
  friend bool operator==(const TRichParaFormat&, const TRichParaFormat&) = default;
};

// An embedded picture. Data holds the bytes as the kind names them:
//   Emf   an enhanced metafile (\emfblip; \wmetafile pictures are converted
//         to EMF when loaded, so layout plays only one metafile kind),
//   Dib   a packed DIB: BITMAPINFOHEADER, colour table, bits (\dibitmap;
//         \wbitmap device bitmaps are converted to this form),
//   Png, Jpeg  the file's bytes (\pngblip, \jpegblip).
enum class TRichPictureKind : Byte { Emf, Dib, Png, Jpeg };

struct TRichPicture {
  TRichPictureKind Kind = TRichPictureKind::Dib;
  std::vector<Byte> Data;
  // \picw/\pich: pixels for bitmaps, 0.01 mm for metafiles; 0 when absent.
  Integer Width = 0;
  Integer Height = 0;
  // \picwgoal/\pichgoal in twips; 0 when absent.
  Integer GoalWidth = 0;
  Integer GoalHeight = 0;
  Integer ScaleX = 100;   // percent, \picscalex
  Integer ScaleY = 100;
  // The size to lay out, in twips: the goal size (or, without one, Width and
  // Height converted from pixels at 96 dpi or from 0.01 mm) times the scales.
  TSize DisplaySize() const;
};

// A table row (\trowd … \row). Paragraphs inside the row carry its index and
// their cell's index; a cell is one or more paragraphs, the last one ending
// with BEL. A table nested in a cell (\itap 2 and deeper, all read as one
// level) has rows of its own in Rows(): its paragraphs keep the outer row and
// cell and name their nested row and cell too; a nested cell's last
// paragraph ends with BEL as well. A nested row's cell boundaries count from
// the outer cell's text edge.
// How a cell's text runs: along the row, or turned a quarter: upwards with
// its lines from left to right (\cltxbtlr), or downwards with its lines
// from right to left (\cltxtbrl).
enum class TRichTextFlow : Byte { Horizontal, BottomToTop, TopToBottom };

struct TRichTableCell {
  Integer Right = 0;            // \cellx: right boundary in twips from the row's origin
  TRichBorders Borders;         // \clbrdrt …
  bool HasShading = false;      // \clcbpat
  COLORREF Shading = 0;
  bool MergedWithPrevious = false;  // \clmrg: continues the cell to its left
  TRichTextFlow TextFlow = TRichTextFlow::Horizontal;
  friend bool operator==(const TRichTableCell&, const TRichTableCell&) = default;
};
struct TRichTableRow {
  Integer Left = 0;             // \trleft: twips, may be negative
  Integer Gap = 0;              // \trgaph: half the space between cells, twips
  Integer Height = 0;           // \trrh: >0 at least, <0 exactly, 0 auto
  TRichAlignment Alignment = TRichAlignment::Left;  // \trql/\trqc/\trqr
  TRichBorders Borders;         // \trbrdrl …: the row's outer edges
  TRichBorder InsideHorizontal; // \trbrdrh
  TRichBorder InsideVertical;   // \trbrdrv: between cells
  std::vector<TRichTableCell> Cells;  // as many as the row's \cellx (at least its \cell count)
  friend bool operator==(const TRichTableRow&, const TRichTableRow&) = default;
};

// A stretch of one paragraph's text with one format. Runs of a paragraph
// cover its Text from 0 to the end, end character included, in order; they
// are never empty, and a picture's run has Length 1.
struct TRichRun {
  Integer Start = 0;       // offset in the paragraph's Text
  Integer Length = 0;
  Integer Format = 0;      // index in TRichDocument::CharFormats()
  Integer Picture = -1;    // index in TRichDocument::Pictures(), or -1 for text
};

enum class TRichParagraphEnd : Byte { Paragraph, Cell };  // CR or BEL

// The format every paragraph starts with; shared, never changed.
const std::shared_ptr<const TRichParaFormat>& DefaultRichParaFormat();

struct TRichParagraph {
  TRichText Text;           // ends with the end character
  std::vector<TRichRun> Runs;
  // Shared with every paragraph of the same format (the document interns
  // them): a long document has few formats but many paragraphs. Never nil.
  std::shared_ptr<const TRichParaFormat> Format = DefaultRichParaFormat();
  Integer FirstCp = 0;
  Integer Row = -1;         // index in TRichDocument::Rows(), or -1
  Integer Cell = -1;        // cell within the row, or -1
  Integer NestRow = -1;     // the nested row inside that cell (Rows() index), or -1
  Integer NestCell = -1;    // cell within the nested row, or -1
  TRichParagraphEnd End() const;
};

// A deque, not a vector: a long document has hundreds of thousands of
// paragraphs, and a vector's doubling would hold up to twice their size
// (and, while it grows, both copies at once).
using TRichParagraphs = std::deque<TRichParagraph>;

class TRichDocument {
public:
  // An empty document: one empty paragraph with the default formats.
  TRichDocument();

  // Reading.
  const TRichParagraphs& Paragraphs() const { return FParagraphs; }
  const std::vector<TRichCharFormat>& CharFormats() const { return FCharFormats; }
  const TRichCharFormat& CharFormat(Integer Index) const { return FCharFormats.at(size_t(Index)); }
  const std::vector<TRichPicture>& Pictures() const { return FPictures; }
  const std::vector<TRichTableRow>& Rows() const { return FRows; }
  // The count the control reports: every cp but the final end mark.
  Integer TextLength() const;
  // The paragraph that holds Cp; Cp outside [0, TextLength()] is clamped.
  Integer ParagraphAt(Integer Cp) const;
  // The characters of [CpMin, CpMax) as stored (CR, BEL, VT, U+FFFC
  // included); CpMax -1 means to the end; the range is clamped.
  WideString GetText(Integer CpMin = 0, Integer CpMax = -1) const;
  // The text as TRichEdit's Lines.Text reads it: paragraphs joined by CR LF,
  // a cell end as TAB (CR LF after a row's last cell), no end mark, no
  // hidden text; a hidden paragraph outside tables gives no line.
  WideString PlainText() const;
  // Whether every character of paragraph Index, its end mark included, is
  // hidden text.
  bool ParagraphHidden(Integer Index) const;

  // Building, for the loaders and for tests. Between the first Append… or
  // EndParagraph and Finish the last paragraph is open: it has no end
  // character and the invariants above do not hold for it. Text goes into
  // the open paragraph; EndParagraph closes it with the format in effect and
  // opens the next. Characters below U+0020 other than TAB, VT and FF are
  // dropped from appended text (CR and BEL only ever come from
  // EndParagraph). Finish drops an empty open paragraph left by a closing
  // paragraph break, gives the last paragraph its end mark and format, and
  // numbers the cps; the loaders call it. Appending after Finish reopens the
  // last paragraph.
  void AppendText(std::u16string_view Text, const TRichCharFormat& Format);
  void AppendPicture(TRichPicture Picture, const TRichCharFormat& Format);
  void EndParagraph(const TRichParaFormat& Format, const TRichCharFormat& MarkFormat,
                    TRichParagraphEnd End = TRichParagraphEnd::Paragraph, Integer Row = -1,
                    Integer Cell = -1, Integer NestRow = -1, Integer NestCell = -1);
  // Adds a row; paragraphs name it through EndParagraph's Row. Returns its index.
  Integer AddRow(TRichTableRow Row);
  TRichTableRow& MutableRow(Integer Index) { return FRows.at(size_t(Index)); }
  Integer RowCount() const { return Integer(FRows.size()); }
  // Whether the open paragraph has no characters yet.
  bool OpenParagraphEmpty() const;
  void Finish(const TRichParaFormat& LastFormat, const TRichCharFormat& LastMarkFormat);

  // The format index for F, adding it once (formats are unique in the table).
  Integer InternFormat(const TRichCharFormat& F);
  // The shared paragraph format equal to F, made once per document.
  std::shared_ptr<const TRichParaFormat> InternParaFormat(const TRichParaFormat& F);

private:
  void Reopen();
  void AppendRun(std::u16string_view Text, Integer Format, Integer Picture);
  TRichParagraphs FParagraphs;
  std::vector<TRichCharFormat> FCharFormats;
  std::vector<TRichPicture> FPictures;
  std::vector<TRichTableRow> FRows;
  std::vector<std::vector<Integer>> FFormatBuckets;  // InternFormat's hash table
  Integer FLastFormat = -1;     // InternFormat's cache: runs repeat formats
  // InternParaFormat's table by hash; the last one found first, as
  // paragraphs mostly repeat the one before.
  std::vector<std::vector<std::shared_ptr<const TRichParaFormat>>> FParaFormatBuckets;
  std::shared_ptr<const TRichParaFormat> FLastParaFormat;
  bool FFinished = true;
};
