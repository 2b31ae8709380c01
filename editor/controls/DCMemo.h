// DCMemo.h — TCustomDCMemo, the editor control, and TDCMemo, which
// publishes it. This unit holds the control's non-visual core: its
// properties, the binding to a memo source, the style resolution that the
// export walk (and later painting) use, and the file operations: plain
// loading and saving, importing a document (RTF through the RTF importer,
// anything else as plain lines) and the export walk that drives an exporter.
//
// Ownership: the editor owns its internal memo source, its fonts and its
// text styles. A source assigned to MemoSource is borrowed; the editor asks
// for its free notification and falls back to the internal one.
#pragma once
#include <memory>
#include <unordered_map>
#include <vector>
#include "editor/exchange/DCExporter.h"
#include "editor/exchange/DCImporter.h"
#include "editor/controls/DCMemoTypes.h"
#include "editor/options/MemoLook.h"
#include "editor/options/OptionListeners.h"
#include "editor/text/MemoSource.h"
#include "editor/view/MemoFont.h"
#include "editor/view/AttributeParser.h"
#include "editor/view/TextStyles.h"
#include "editor/view/ControlBackground.h"
#include "editor/view/DCControl.h"
#include "platform/forms/Controls.h"

class TPopupHint;
class TDCPopupList;
class TMemoPostionStore;
class TGutterBackground;
class TDCGutterImages;

class TCustomDCMemo : public TDCCustomControl,
                      public TTextStylesHost,
                      public TOptionsListener,
                      public TAttributeParserHost {
  SX_CLASS(TCustomDCMemo, TDCCustomControl)
public:
  explicit TCustomDCMemo(TComponent* AOwner);
  ~TCustomDCMemo() override;

  // --- Source binding -------------------------------------------------------
  // The assigned MemoSource, else the internal one.
  TCustomMemoSource* GetSource() const;
  TCustomMemoSource* GetMemoSource() const { return FMemoSource; }
  void SetMemoSource(TCustomMemoSource* Value);

  // --- Properties kept by the editor ---------------------------------------
  TMemoFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TTextStyles* GetTextStyles() const { return FTextStyles.get(); }
  void SetTextStyles(TTextStyles* Value) { FTextStyles->Assign(Value); }
  const TMemoOptions& GetOptions() const { return FOptions; }
  void SetOptions(const TMemoOptions& Value);
  TColor GetReadOnlyColor() const { return FReadOnlyColor; }
  void SetReadOnlyColor(TColor Value);
  TMemoFont* GetPrinterFont() const { return FPrinterFont.get(); }
  void SetPrinterFont(TFont* Value) { FPrinterFont->Assign(Value); }
  TFont* GetTemplateFont() const { return FTemplateFont.get(); }
  void SetTemplateFont(TFont* Value) { FTemplateFont->Assign(Value); }
  TPen* GetMarginPen() const { return FMarginPen.get(); }
  void SetMarginPen(TPen* Value) { FMarginPen->Assign(Value); }
  TBrush* GetGutterBrush() const { return FGutterBrush.get(); }
  void SetGutterBrush(TBrush* Value) { FGutterBrush->Assign(Value); }
  // Lines between text lines, the caret line's highlight, and what stands
  // for blanks, TABs, line ends and the end of the text.
  TLineSeparator* GetLineSeparator() const { return FLineSeparator.get(); }
  void SetLineSeparator(TLineSeparator* Value) { FLineSeparator->Assign(Value); }
  TLineHighlight* GetLineHighlight() const { return FLineHighlight.get(); }
  void SetLineHighlight(TLineHighlight* Value) { FLineHighlight->Assign(Value); }
  TSpecialSymbols* GetSpecialSymbols() const { return FSpecialSymbols.get(); }
  void SetSpecialSymbols(TSpecialSymbols* Value) { FSpecialSymbols->Assign(Value); }
  // The pictures of line marks and bookmarks in the gutter.
  TDCGutterImages* GetGutterImgs() const { return FGutterImgs.get(); }
  void SetGutterImgs(TDCGutterImages* Value);
  // Pictures or gradients behind the text and the gutter.
  TControlBackground* GetMemoBackground() const { return FMemoBackground.get(); }
  void SetMemoBackground(TControlBackground* Value);
  TGutterBackground* GetGutterBackground() const { return FGutterBackground.get(); }
  void SetGutterBackground(TGutterBackground* Value);
  // The picture and the option of MemoBackground.
  TBitmap* GetBackground() const;
  void SetBackground(TBitmap* Value);
  TBkgndOption GetBkgndOption() const;
  void SetBkgndOption(TBkgndOption Value);

  TClipboardType GetClipboardType() const { return FClipboardType; }
  // cbRtf prepares the selection attributes (an attribute parser when the
  // editor has none) so that pasted RTF keeps its look.
  void SetClipboardType(TClipboardType Value);
  bool GetPlainText() const { return FClipboardType == cbNormal; }
  void SetPlainText(bool Value) { SetClipboardType(Value ? cbNormal : cbRtf); }
  // Columns; values below 40 or above 9999 are ignored.
  Integer GetHorzMaxPos() const { return FHorzMaxPos; }
  void SetHorzMaxPos(Integer Value);
  // Pixels; negative values become 0.
  Integer GetLeftIndent() const { return FLeftIndent; }
  void SetLeftIndent(Integer Value);
  // Word wrap and proportional layout cannot show a column block: while
  // either is on, BlockOption is reduced and comes back when both are off.
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool GetUseMonoFont() const { return FUseMonoFont; }
  void SetUseMonoFont(bool Value);

#define SX_MEMO_VALUE(Type, Name, Field)            \
  Type Get##Name() const { return Field; }          \
  void Set##Name(Type Value) {                      \
    if (Field == Value) return;                     \
    Field = Value;                                  \
    Invalidate();                                   \
  }
  SX_MEMO_VALUE(TBorderStyle, BorderStyle, FBorderStyle)
  SX_MEMO_VALUE(TColor, DisabledColor, FDisabledColor)
  SX_MEMO_VALUE(TColor, GutterBackColor, FGutterBackColor)
  SX_MEMO_VALUE(TGutterImgsAlign, GutterImgsAlign, FGutterImgsAlign)
  SX_MEMO_VALUE(TColor, GutterLineColor, FGutterLineColor)
  SX_MEMO_VALUE(Integer, GutterLineIndent, FGutterLineIndent)
  SX_MEMO_VALUE(bool, HideSelection, FHideSelection)
  SX_MEMO_VALUE(TColor, LineBookmarkColor, FLineBookmarkColor)
  SX_MEMO_VALUE(TAlignment, LineNumAlign, FLineNumAlign)
  SX_MEMO_VALUE(TColor, LineNumBackColor, FLineNumBackColor)
  SX_MEMO_VALUE(TColor, LineNumColor, FLineNumColor)
  SX_MEMO_VALUE(TColor, MatchBackColor, FMatchBackColor)
  SX_MEMO_VALUE(TColor, MatchColor, FMatchColor)
  SX_MEMO_VALUE(Integer, PrintIndent, FPrintIndent)
  SX_MEMO_VALUE(TDCPrintOptions, PrintOptions, FPrintOptions)
  SX_MEMO_VALUE(TColor, SelBackColor, FSelBackColor)
  SX_MEMO_VALUE(TColor, SelColor, FSelColor)
  SX_MEMO_VALUE(bool, UseDefaultMenu, FUseDefaultMenu)
  SX_MEMO_VALUE(bool, UsePrinterFont, FUsePrinterFont)
  SX_MEMO_VALUE(TWordSelectionType, WordSelectionType, FWordSelectionType)
#undef SX_MEMO_VALUE
  // Informational only.
  AnsiString GetVersion() const { return GetSource()->GetVersion(); }
  void SetVersion(const AnsiString&) {}

  // --- Properties of the source ----------------------------------------------
  TStrings* GetLines() const { return GetSource()->GetLines(); }
  void SetLines(TStrings* Value) { GetSource()->SetLines(Value); }
  bool GetHighlightUrls() const { return GetSource()->GetHighlightUrls(); }
  void SetHighlightUrls(bool Value) { GetSource()->SetHighlightUrls(Value); }
  TSimpleParser* GetSyntaxParser() const { return GetSource()->GetSyntaxParser(); }
  void SetSyntaxParser(TSimpleParser* Value) { GetSource()->SetSyntaxParser(Value); }
  bool GetReadOnly() const { return GetSource()->GetReadOnly(); }
  void SetReadOnly(bool Value) { GetSource()->SetReadOnly(Value); }
  bool GetAllowUndo() const { return GetSource()->GetAllowUndo(); }
  void SetAllowUndo(bool Value) { GetSource()->SetAllowUndo(Value); }
  TOutFormatType GetOutFormat() const { return GetSource()->GetOutFormat(); }
  void SetOutFormat(TOutFormatType Value) { GetSource()->SetOutFormat(Value); }
  TBlockOption GetBlockOption() const { return GetSource()->GetBlockOption(); }
  // An assignment also replaces the value remembered while reduced.
  void SetBlockOption(TBlockOption Value);
  Integer GetBlockIndent() const { return GetSource()->GetBlockIndent(); }
  void SetBlockIndent(Integer Value) { GetSource()->SetBlockIndent(Value); }
  AnsiString GetDelimeters() const { return GetSource()->GetDelimeters(); }
  void SetDelimeters(const AnsiString& Value) { GetSource()->SetDelimeters(Value); }
  Integer GetUndoLimit() const { return GetSource()->GetUndoLimit(); }
  void SetUndoLimit(Integer Value) { GetSource()->SetUndoLimit(Value); }
  Integer GetSpacesInTab() const { return GetSource()->GetSpacesInTab(); }
  void SetSpacesInTab(Integer Value) { GetSource()->SetSpacesInTab(Value); }
  const AnsiString& GetTabStops() const { return GetSource()->GetTabStops(); }
  void SetTabStops(const AnsiString& Value) { GetSource()->SetTabStops(Value); }
  const TStringsOptions& GetStringsOptions() const { return GetSource()->GetOptions(); }
  void SetStringsOptions(const TStringsOptions& Value) { GetSource()->SetOptions(Value); }
  bool GetModified() const { return GetSource()->GetModified(); }
  void SetModified(bool Value) { GetSource()->SetModified(Value); }

  // --- Text --------------------------------------------------------------------
  // The stored lines (TABs kept) joined by CR LF, no break after the last.
  AnsiString GetText() const;
  // GetText() == "" without copying the text.
  bool IsTextEmpty() const { return GetSource()->IsTextEmpty(); }
  // Replaces the lines (split at CR LF, CR or LF) as one change; caret to 0,0.
  void SetText(const AnsiString& Value);

  // --- Style resolution ------------------------------------------------------
  // The parser's font for the style, else the text style's, else Font.
  TFont* GetStyleFont(Integer Style) const;
  // The parser's back colour, else the text style's, else Color; a
  // read-only editor with moUseReadOnlyColor shows ReadOnlyColor instead of Color.
  TColor GetStyleColor(Integer Style) const;
  TColor GetStyleFontColor(Integer Style) const { return GetStyleFont(Style)->GetColor(); }
  bool IsUpperCaseStyle(Integer Style) const;
  // True when the two styles draw alike: same back colour (unless
  // IgnoreBack), same case, same font handle and (unless IgnoreBack) colour.
  bool SameStyleLook(Integer A, Integer B, bool IgnoreBack) const;

  // --- Files -------------------------------------------------------------------
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);
  void ImportFromFile(const AnsiString& FileName);
  // Replaces the whole text; no undo history, Modified False afterwards.
  void ImportFromStream(TStream* Stream);
  // Inserts at the caret through the RTF importer (plain lines otherwise).
  void ImportRtf(TStream* Stream);
  // Inserts at the caret through an importer of AImporterClass when it
  // accepts the content, else as plain lines.
  void ImportWith(TStream* Stream, TClass AImporterClass);

  void ExportToHtmlFile(const AnsiString& FileName) { ExportToHtml(FileName, false); }
  void ExportToHtml(const AnsiString& FileName, bool SelectionOnly);
  void ExportToRtfFile(const AnsiString& FileName) { ExportToRtf(FileName, false); }
  void ExportToRtf(const AnsiString& FileName, bool SelectionOnly);
  void ExportToFile(const AnsiString& FileName, TDCExporterClass AClass, bool SelectionOnly);
  void ExportRtfToStream(TStream* Stream, bool SelectionOnly);
  void ExportToStream(TStream* Stream, TDCExporterClass AClass, bool SelectionOnly);
  // The export walk: the whole text or the selection as exporter calls.
  void WriteToExporter(TDCExporter* Exporter, bool SelectionOnly);

  // The importer's text event while ImportWith runs: puts the run at the
  // caret with the run's font and background as stored attributes, unless
  // it looks like the editor's own text. Text runs of one line are gathered
  // and inserted together at the next break or TAB (FlushImportedText), and
  // at the end of the import.
  void AddImportedText(TObject* Sender, const AnsiString& Text, TFont* Font, Integer BackColor);
  void FlushImportedText();

  // --- Stored attributes (text with its own fonts and colours) --------------
  // The attributes at the selection start or the caret. Without a parser
  // the editor first gets a TAttributeParser of its own. Setting a field of
  // the result applies it to the selection (or to text typed next).
  TMemoAttributes* GetSelAttributes();

  TExportStringEvent OnExportString;
  TNotifyEvent OnChange;
  TMemoStateChangeEvent OnStateChange;
  TNotifyEvent OnSelectionChange;
  TJumpToUrlEvent OnJumpToUrl;
  TClickGutterEvent OnClickGutter;
  THintPopupEvent OnHintPopup;
  TTemplateInsertEvent OnTemplateInsert;
  THintInsertEvent OnHintInsert;
  TMemoDialogEvent OnCreateDialog;
  TMemoScrollEvent OnMemoScroll;
  TVerticalScrollEvent OnVerticalScroll;
  TCustomStringEvent OnCustomString;
  TCustomDrawEvent OnCustomDraw;
  TDrawGutterEvent OnDrawGutter;
  TGetColorStyleEvent OnGetColorStyle;
  TCollapseStateChangingEvent OnCollapseStateChanging;
  TCollapseStateChangedEvent OnCollapseStateChanged;
  TFindStringInPopupEvent OnFindStringInPopup;
  TGetLineNumberEvent OnGetLineNumber;
  TBeforePrintEvent OnBeforePrint;

  // --- Geometry and view (DCMemoView.cpp) ------------------------------------
  Integer GetMarginPos() const { return FMarginPos; }
  void SetMarginPos(Integer Value);
  Integer GetGutterWidth() const { return FGutterWidth; }
  void SetGutterWidth(Integer Value);
  bool GetHideCaret() const { return FHideCaret; }
  void SetHideCaret(bool Value);
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool GetHideScrollBars() const { return FHideScrollBars; }
  void SetHideScrollBars(bool Value);
  // The view: the top visible row and the first display column shown.
  Integer GetTopLine() const { return FTopLine; }
  void SetTopLine(Integer Row);
  Integer GetFirstColumn() const { return FFirstColumn; }
  void SetFirstColumn(Integer Column);
  Integer CharWidth();
  Integer LineHeight();
  // Pixels from the client's left where the text begins.
  Integer TextLeftEdge();
  Integer GutterWidthInEffect();
  Integer LineNumberColumnWidth();
  Integer VisibleRows();
  // Rows: in monospaced layout every row is LineHeight high; in
  // proportional layout a row is as tall as the largest ascent plus the
  // largest descent of the fonts its runs use (an empty row: Font's).
  Integer RowHeight(Integer Row);
  // The client Y of a row's top, counted from the top row (negative above it).
  Integer RowTop(Integer Row);
  // The row whose pixels hold client Y (rows above the top for negative Y).
  Integer RowAtY(Integer Y);
  Integer CaretRowHeight();
  // Whether the caret's row lies whole within the window.
  bool CaretRowShown();
  // Client pixel of a text position and back (Limit keeps the row inside the text).
  TPoint TextToPoint(Integer Column, Integer Line);
  TPoint PointToText(Integer X, Integer Y, bool Limit);
  void MakeCaretVisible();
  void CenterCaretLine();
  void ScrollHorz(Integer Delta);
  void ScrollVert(Integer Delta);
  void UpdateScrollBars();
  // Repaints the rows of the caret's line (the current-line highlight).
  void InvalidateCaretLine();

  // Word wrap: logical (column, line) against visual (column, row).
  TPoint TextToRow(Integer Column, Integer Line);
  TPoint RowToText(Integer Column, Integer Row);
  Integer CountBreaks(Integer First, Integer Last) const;
  void RecomputeWrap(Integer First, Integer Last);
  void EnsureWrappedTo(Integer Line);
  // The last visual row; under word wrap this wraps the whole text.
  Integer LastRow();
  // The last row as far as word wrap has gone (one row per line beyond).
  Integer KnownLastRow();
  // The last row, exact as far as Row is concerned: a row that exists is
  // never past it.
  Integer LastRowNear(Integer Row);
  // The display columns [Start, Stop) that a visual row shows of its line.
  void RowColumns(Integer Row, Integer& Line, Integer& Start, Integer& Stop);
  Integer WrapColumns() const { return FWrapColumns; }

  // --- Commands (DCMemoInput.cpp) ----------------------------------------------
  void HomeKey();
  void EndKey();
  void UpKey();
  void DownKey();
  void LeftKey();
  void RightKey();
  void PageUp();
  void PageDown();
  void CaretToWindowTop();
  void CaretToWindowBottom();
  void ScrollLineUp() { ScrollVert(-1); }
  void ScrollLineDown() { ScrollVert(1); }
  void GoToLineNumber();
  void EscapeKey();
  void SelectHome();
  void SelectEnd();
  void SelectUp();
  void SelectDown();
  void SelectLeft();
  void SelectPageUp();
  void SelectPageDown();
  void SelectToWindowTop();
  void SelectToWindowBottom();
  void BlockSelectPageUp();
  void BlockSelectPageDown();
  void BlockSelectToWindowTop();
  void BlockSelectToWindowBottom();
  void InitDefaultKeys() override;
  bool ProcessChar(char Ch) override;
  virtual void SourceChanged(TObject* Sender, Integer FirstLine, Integer LastLine);

  // --- Clipboard and edit messages (DCMemoClipboard.cpp) -----------------------
  virtual void CopyToClipboard();
  virtual void CutToClipboard();
  virtual void PasteFromClipboard();
  bool CanPaste();
  // Whether Undo would reverse an edit (text or attributes), not only caret
  // moves: what the menu's Undo and EM_CANUNDO answer.
  bool CanUndoEdit() const;
  // Puts the selection at the caret (end of a mouse drag); false when the
  // caret lies inside the selection.
  bool DropSelection(bool Move);

  // The default popup menu's commands, in menu order, and whether each may
  // run now; the menu itself is a thin layer over these.
  enum class TMemoMenuCommand { Undo, Cut, Copy, Paste, Delete, SelectAll };
  static const char* MenuCaption(TMemoMenuCommand Command);
  bool MenuCommandEnabled(TMemoMenuCommand Command);
  void RunMenuCommand(TMemoMenuCommand Command);
  // With UseDefaultMenu and no PopupMenu of the user's: makes the default
  // menu (on first use), enables its items by the editor's state and lends
  // it to PopupMenu until the context menu has been handled. True when it
  // did so.
  bool PreparePopupMenu();
  // Opens the context menu for a WM_CONTEXTMENU point (screen coordinates;
  // (-1, -1) from the keyboard opens it at the caret). True when a menu
  // opened.
  bool ShowContextMenu(TPoint Point);
  // The default menu, once it has been made; nil before.
  TPopupMenu* GetDefaultMenu() const { return FDefaultMenu; }

  // --- Mouse (DCMemoMouse.cpp) -------------------------------------------------
  enum class TMouseTrack { Idle, Selecting, Dragging, WordSelected };
  TMouseTrack GetMouseTrack() const { return FMouseTrack; }
  Integer GutterImageAt(Integer X, Integer Line);
  // Whether the point lies on the fold button of its line (Line: that line).
  bool HitCollapseButton(Integer X, Integer Y, Integer& Line);
  void StopTracking();
  void CancelTracking();

  // --- Completion list and hint popup (DCMemoPopups.cpp) -----------------------
  TStrings* GetHintList() const;
  TStrings* GetCompletionList() const;
  TDCPopupList* GetPopupList() const { return FPopupList.get(); }
  TPopupHint* GetPopupHint() const { return FPopupHint.get(); }
  virtual bool DoHintPopup(TPopupType& PopupType);
  virtual void ShowHintPopup();
  virtual void InsertPopupItem(TObject* Sender, Integer Index);
  virtual void InsertTextAtCaret(const AnsiString& Text);
  virtual bool DoFindStringInPopup(TStrings* Strings, const AnsiString& S, Integer& Index);
  virtual bool IsPopupCloseKey(Word Key, TShiftState Shift);
  virtual void CompleteCodeTemplate();
  virtual void DoTemplateInsert(TStrings* Strings);
  virtual void DoHintInsert(AnsiString& S);
  void ShowPopupAtCaret(bool AutoHide);
  void ShowCompletionList(TStrings* Strings);
  void ClosePopupList();
  void StopHintTimer();
  void HidePopupHint();
  void ShowCodeTemplatePopup();
  void InsertCodeTemplate(TObject* Sender, Integer Index);
  TPoint GetHintPosition() const { return FHintPos; }
  // The popup list's key and character handlers.
  void PopupListKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void PopupListKeyPress(TObject* Sender, char& Key);

  // --- Event steps ----------------------------------------------------------
  virtual void DoDrawGutter(TCanvas* ACanvas, const TRect& R, TDrawState State, bool& OwnerDraw);
  virtual bool DoCustomDraw(TCanvas* ACanvas, const TRect& R, Integer Line, Integer Char, const AnsiString& S,
                            TDrawStates State);
  virtual void DoCustomString(AnsiString& S, AnsiString& ColorS);
  virtual void DoGetColorStyle(TPoint Point, Integer& Style);
  virtual void DoMemoScroll(TScrollStyle Style, Integer Delta);
  virtual void DoClickGutter(Integer Line, Integer ImageIndex, TShiftState Shift);
  virtual void DoStateChange(TMemoStates States);
  virtual void DoSelectionChange();
  virtual void DoJumpToUrl(const AnsiString& Text);
  virtual bool DoCollapseStateChanging(Integer Line, bool Collapsed);
  virtual void DoCollapseStateChanged(Integer Line, bool Collapsed);
  virtual void DoVerticalScroll(Integer Code);

  // --- Global options ----------------------------------------------------------
  bool GetUseGlobalOptions() const { return FUseGlobalOptions; }
  // True applies the global options at once and whenever they change.
  virtual void SetUseGlobalOptions(bool Value);
  virtual void ApplyGlobalOptions();
  void OptionsChanged() override {
    if (FUseGlobalOptions) ApplyGlobalOptions();
  }

  // TTextStylesHost
  TColor StylesMemoColor() override { return GetColor(); }
  TFont* StylesMemoFont() override { return FFont.get(); }
  void StylesApplyMemoColors(TUpdateMemoColors Kind, TColor TextColor, TColor BackColor) override;
  bool StylesMonospacedLayout() override { return FUseMonoFont; }
  void StylesReparse() override;
  void StylesUpdated(bool Reparse) override;

  // TAttributeParserHost
  TFont* AttrHostFont() override { return FFont.get(); }
  TColor AttrHostColor() override { return GetColor(); }
  bool AttrHostAllowUndo() override { return GetAllowUndo(); }
  TTextStyles* AttrHostTextStyles() override { return FTextStyles.get(); }
  TCustomMemoSource* AttrHostSource() override { return GetSource(); }
  void AttrHostApply(TMemoAttributes& Attrs) override;
  Word AttrHostConsistentMask(TMemoAttributes& Attrs) override;

protected:
  virtual std::unique_ptr<TCustomMemoSource> CreateMemoSource();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void Paint() override;
  void Loaded() override;
  void CreateParams(TCreateParams& Params) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyPress(char& Key) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

private:
  // View
  void InvalidateMetrics() {
    FCharWidth = FLineHeight = 0;
    FRowMetrics.clear();
  }
  struct TRowMetrics {
    Integer Height;
    Integer Ascent;
  };
  // A run's vertical extent: characters [.., End) measured in one font.
  struct TRunExtent {
    Integer End;
    Integer Ascent;
    Integer Descent;
  };
  TRowMetrics RowMetrics(Integer Row);
  const std::vector<TRowMetrics>& LineRowMetrics(Integer Line);
  // Proportional layout: measured rows of lines First..Last are measured again when next asked.
  void ForgetRowMetrics(Integer First, Integer Last);
  // The top row that shows rows down to Row whole (proportional layout).
  Integer TopShowingRow(Integer Row);
  void MeasureFonts();
  void ViewMoved(Integer OldTop, Integer OldColumn);
  void UpdateCaret();
  void CreateTheCaret();
  void InvalidateLines(Integer First, Integer Last);
  Integer RowOfLine(Integer Line);
  Integer LineOfRow(Integer Row);
  bool FoldingShown() const;
  Integer LineNumberDigits();
  // Widths (proportional layout) holds the pixel edges of Text's
  // characters; without it the row limit is WrapColumns.
  bool NextWrapSegment(const AnsiString& Text, const std::vector<Integer>* Edges, Integer& Pos, Integer& Break);
  // Whether runs are painted in the styles of the parser or of the URL
  // highlighting (else in Font and Color alone).
  bool StyledPainting();
  // The style that painting uses for the character at column P of a line.
  Integer CharStyleAt(const AnsiString& Attrs, Integer P, Integer Line, bool UrlsOnly);
  TFont* RunFont(Integer Style, bool UrlsOnly);
  // What a line shows: its display text and, while styled, its style bytes.
  void LineDisplay(Integer Line, bool Styled, AnsiString& Text, AnsiString& Attrs);
  // Proportional layout: the pixel edges of the characters of a line's
  // display text, measured run by run in their style fonts. Edges[i] is the
  // left edge of character i, the last entry the width of the whole text.
  void MeasureRuns(Integer Line, const AnsiString& Text, const AnsiString& Attrs, std::vector<Integer>& Edges,
                   std::vector<TRunExtent>* Extents = nullptr);
  void MeasureLine(Integer Line, AnsiString& Text, std::vector<Integer>& Edges);
  // The width of a blank of Font: columns past a line's end are blanks.
  Integer BlankWidth();
  // The pixel offset of a column from the line's start; past the end in blanks.
  Integer EdgeAt(const std::vector<Integer>& Edges, Integer Column);
  TPoint MeasuredPointToText(Integer X, Integer Row, bool Round);
  void PaintGutter(TCanvas* C, const TRect& Paint);
  void PaintRow(TCanvas* C, Integer Row, Integer Y, const TRect& TextRect, bool Styled);
  void PaintBackgroundPart(TCanvas* C, const TRect& R);
  void GutterImagesChanged(TObject* Sender);
  // The images a gutter row shows (line marks on a line's first row, then
  // the bookmark within the row's columns) and where each stands.
  struct TGutterCell {
    Integer Index;  // in GutterImgs
    TRect Rect;     // client pixels of the row at Y
  };
  // RowH: the row's height (0: the line height).
  std::vector<TGutterCell> GutterRowImages(Integer Line, Integer Start, Integer Stop, Integer Y, Integer RowH = 0);
  void FillBack(TCanvas* C, const TRect& R, TColor Color);
  void WMScroll(TMessage& Message, bool Vertical);
  // The first column a horizontal thumb position stands for.
  Integer ThumbColumn(Integer Pos);
  void WMMouseWheel(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMTimer(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void WMRButtonUp(TMessage& Message);
  void DropTemporaryMenu();
  void DefaultMenuClick(TObject* Sender);
  bool HandleEditMessage(TMessage& Message);
  void SelectingStep();
  // The word (delimiters of the source end it) holding a display column:
  // its first column and the column after it; false on a delimiter.
  bool WordSpan(Integer Line, Integer Column, Integer& Start, Integer& End);
  void DraggingStep();
  AnsiString LinkTextAt(Integer Column, Integer Line);
  bool IsLinkAt(Integer Column, Integer Line);
  void CaretLeftStep();
  void MoveCaretRows(Integer Rows, TSelectionType Extend);
  // The rows a page moves (negative upward).
  Integer PageRows(bool Down);
  void PageMove(bool Down, TSelectionType Extend);
  void CaretMoveHook(TObject* Sender, Integer& DeltaLine, Integer& DeltaChar);
  void AttachSource(TCustomMemoSource* Source);
  void DetachSource(TCustomMemoSource* Source);

  struct TGroups;
  struct TRunLook;
  struct TWalk;
  void WriteText(TWalk& W, const AnsiString& S);
  static void OpenGroups(TDCExporter* E, const TGroups& G, const TRunLook& Look);
  const TRunLook& WalkLook(TWalk& W, Integer Style) const;
  bool WalkSameLook(TWalk& W, Integer A, Integer B) const;
  static void CloseGroups(TDCExporter* E, const TGroups& G);
  AnsiString WalkLineText(const TWalk& W, Integer Line) const;
  bool WalkColumns(const TWalk& W, Integer Line, const AnsiString& Text, Integer& First, Integer& Last) const;
  void StyledWalk(TWalk& W);
  void PlainWalk(TWalk& W);
  bool ParserStylesInUse() const;
  void FontChanged(TObject* Sender);
  void LookChanged(TObject* Sender);
  void SetImportedStyle(Integer Line, Integer FromCol, Integer ToCol, Byte Style);
  static bool SameFontLook(TFont* A, TFont* B);
  bool IsEditorLook(TFont* Font, Integer BackColor) const;
  Byte ImportedRunStyle(TFont* Font, Integer BackColor);
  void DefaultAttrFollowsEditor();
  // Reduces or restores BlockOption after WordWrap or UseMonoFont changed.
  void UpdateBlockReduction();
  TAttributeParser* AttrParser() const;
  void ApplyAttrsToLine(TAttributeParser* P, TMemoAttributes& Attrs, Integer Line, Integer FromCol, Integer ToCol);

  std::unique_ptr<TCustomMemoSource> FInternalSource;
  TCustomMemoSource* FMemoSource = nullptr;
  std::unique_ptr<TMemoFont> FFont;
  std::unique_ptr<TTextStyles> FTextStyles;
  std::unique_ptr<TMemoAttributes> FSelAttributes;
  std::unique_ptr<TMemoFont> FPrinterFont;
  std::unique_ptr<TFont> FTemplateFont;
  std::unique_ptr<TPen> FMarginPen;
  std::unique_ptr<TBrush> FGutterBrush;
  std::unique_ptr<TControlBackground> FMemoBackground;
  std::unique_ptr<TDCGutterImages> FGutterImgs;
  std::unique_ptr<TLineSeparator> FLineSeparator;
  std::unique_ptr<TLineHighlight> FLineHighlight;
  std::unique_ptr<TSpecialSymbols> FSpecialSymbols;
  std::unique_ptr<TGutterBackground> FGutterBackground;
  TMemoOptions FOptions;
  TColor FReadOnlyColor = clWindow;
  TClipboardType FClipboardType = cbNormal;
  Integer FHorzMaxPos = 512;
  Integer FLeftIndent = 0;
  bool FWordWrap = false;
  bool FUseMonoFont = true;
  // BlockOption as it was before word wrap or proportional layout reduced it.
  bool FBlockReduced = false;
  TBlockOption FSavedBlockOption = bkBoth;
  TBorderStyle FBorderStyle = bsSingle;
  TColor FDisabledColor = clGrayText;
  TColor FGutterBackColor = clWindow;
  TGutterImgsAlign FGutterImgsAlign = iaLeft;
  TColor FGutterLineColor = clGray;
  Integer FGutterLineIndent = 0;
  bool FHideSelection = false;
  TColor FLineBookmarkColor = clRed;
  TAlignment FLineNumAlign = taRightJustify;
  TColor FLineNumBackColor = clWindow;
  TColor FLineNumColor = clBlack;
  TColor FMatchBackColor = clWindowText;
  TColor FMatchColor = clLime;
  Integer FPrintIndent = 0;
  TDCPrintOptions FPrintOptions{poShowProgress};
  TColor FSelBackColor = clHighlight;
  TColor FSelColor = clHighlightText;
  bool FUseDefaultMenu = false;
  bool FUsePrinterFont = false;
  TWordSelectionType FWordSelectionType = wsWordOnly;
  Integer FImportBlockColumn = 0;
  // Looks of the runs imported last, with their style index.
  struct TImportLook {
    TFontName Name;
    Integer Height;
    TColor Color;
    TFontStyles Style;
    TFontCharset Charset;
    TFontPitch Pitch;
    Integer Back;
    Byte Index;
  };
  std::vector<TImportLook> FImportLooks;
  size_t FLastImportLook = 0;
  // Imported text not yet in the lines, and its style bytes.
  AnsiString FPendingImport, FPendingImportAttrs;
  bool FUseGlobalOptions = false;

  Integer FMarginPos = 80;
  Integer FGutterWidth = 32;
  bool FHideCaret = false;
  TScrollStyle FScrollBars = ssNone;
  bool FHideScrollBars = false;
  // The horizontal range is held in pixels (hidden bars that follow the
  // wrap width or a measured longest line), not in columns.
  bool FHorzInPixels = false;
  // Re-wrapping after the vertical bar changed the width.
  bool FRewrapping = false;
  // View state; the metrics are 0 until measured.
  Integer FTopLine = 0;
  Integer FFirstColumn = 0;
  Integer FCharWidth = 0;
  Integer FLineHeight = 0;
  // The largest ascent of the fonts a row may show: runs of smaller fonts
  // stand on the same baseline in proportional layout.
  Integer FMaxAscent = 0;
  // Proportional layout: the measured rows of lines (one entry per row of
  // the line), by line; dropped when the line changes.
  std::unordered_map<Integer, std::vector<TRowMetrics>> FRowMetrics;
  Integer FNumberDigits = 0;
  Integer FWheelRemainder = 0;
  TPoint FLastCaret{0, 0};
  TPoint FCaretPixel{-1, -1};
  TSize FCaretSize{0, 0};
  bool FCaretCreated = false;
  // Remembered by the first of a run of vertical moves: the caret's column
  // within its row (monospaced) or its pixel x from the line's start
  // (proportional).
  Integer FRememberedX = -1;
  // Word wrap: soft breaks sorted by (Line, Pos); Pos is the number of
  // display columns of the line before the break.
  struct TWrapBreak {
    Integer Pos;
    Integer Line;
  };
  std::vector<TWrapBreak> FBreaks;
  Integer FWrappedUpTo = 0;
  Integer FWrapColumns = 1;
  // Proportional layout: the pixel width that a row may fill.
  Integer FWrapPixels = 1;
  bool FInLazyWrap = false;
  // While painting: the text area shows the background picture.
  bool FPaintPicture = false;
  // While painting: a device of 256 colours or fewer (cells are filled
  // first and the text drawn over them), and whether italic overhangs
  // must be cleared by hand (systems whose opaque text output leaves them).
  bool FPaintFewColours = false;
  bool FPaintClearsOverhang = false;
  // Mouse
  TMouseTrack FMouseTrack = TMouseTrack::Idle;
  TPoint FAnchor{0, 0};
  Integer FLastMouseColumn = 0;
  bool FForward = true;
  bool FWordSnap = false;
  bool FLinkDown = false;
  bool FGutterDown = false;
  bool FCollapseDown = false;
  // The hand is shown over a link; the editor's own cursor waits here.
  bool FLinkCursor = false;
  TCursor FSavedCursor = crDefault;
  DWORD FDblClickTime = 0;
  TPoint FDblClickPoint{0, 0};
  TPoint FMousePos{0, 0};
  TShiftState FMouseShift;
  bool FDefaultMenuActive = false;
  TPopupMenu* FDefaultMenu = nullptr;  // owned as a component
  // Popups
  std::unique_ptr<TStringList> FHintList;
  std::unique_ptr<TStringList> FCompletionList;
  std::unique_ptr<TDCPopupList> FPopupList;
  std::unique_ptr<TPopupHint> FPopupHint;
  TPoint FHintPos{-1, -1};
  std::unique_ptr<TMemoPostionStore> FPositions;
  bool FCreated = false;
};

// The hand shown over links (the program's cursor "MEMOHANDPT", else the
// system's hand), registered as a screen cursor on first use.
inline constexpr TCursor crMemoHand = TCursor(104);
TCursor MemoHandCursor();

class TDCMemo : public TCustomDCMemo {
  SX_CLASS(TDCMemo, TCustomDCMemo)
public:
  explicit TDCMemo(TComponent* AOwner) : TCustomDCMemo(AOwner) {}
  static void Published(TPublished<TDCMemo>& P);

private:
  TMemoOptions GetOptionsValue() const { return GetOptions(); }
  TStringsOptions GetStringsOptionsValue() const { return GetStringsOptions(); }
  AnsiString GetTabStopsValue() const { return GetTabStops(); }
  // The options belong to the form only when the editor has its own source.
  bool IsStringsOptionsStored() const { return GetMemoSource() == nullptr; }
  // ShowHint is the editor's own only when it does not follow its parent.
  bool IsShowHintStored() const { return !GetParentShowHint(); }
};
