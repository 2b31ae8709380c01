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
#include "editor/exchange/DCExporter.h"
#include "editor/exchange/DCImporter.h"
#include "editor/controls/DCMemoTypes.h"
#include "editor/options/OptionListeners.h"
#include "editor/text/MemoSource.h"
#include "editor/view/MemoFont.h"
#include "editor/view/AttributeParser.h"
#include "editor/view/TextStyles.h"
#include "platform/forms/Controls.h"

class TCustomDCMemo : public TCustomControl,
                      public TTextStylesHost,
                      public TOptionsListener,
                      public TAttributeParserHost {
  SX_CLASS(TCustomDCMemo, TCustomControl)
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
  SX_MEMO_VALUE(Integer, GutterWidth, FGutterWidth)
  SX_MEMO_VALUE(bool, HideCaret, FHideCaret)
  SX_MEMO_VALUE(bool, HideScrollBars, FHideScrollBars)
  SX_MEMO_VALUE(bool, HideSelection, FHideSelection)
  SX_MEMO_VALUE(AnsiString, KeyMapping, FKeyMapping)
  SX_MEMO_VALUE(TColor, LineBookmarkColor, FLineBookmarkColor)
  SX_MEMO_VALUE(TAlignment, LineNumAlign, FLineNumAlign)
  SX_MEMO_VALUE(TColor, LineNumBackColor, FLineNumBackColor)
  SX_MEMO_VALUE(TColor, LineNumColor, FLineNumColor)
  SX_MEMO_VALUE(Integer, MarginPos, FMarginPos)
  SX_MEMO_VALUE(TColor, MatchBackColor, FMatchBackColor)
  SX_MEMO_VALUE(TColor, MatchColor, FMatchColor)
  SX_MEMO_VALUE(bool, OemConvert, FOemConvert)
  SX_MEMO_VALUE(Integer, PrintIndent, FPrintIndent)
  SX_MEMO_VALUE(TDCPrintOptions, PrintOptions, FPrintOptions)
  SX_MEMO_VALUE(TScrollStyle, ScrollBars, FScrollBars)
  SX_MEMO_VALUE(TColor, SelBackColor, FSelBackColor)
  SX_MEMO_VALUE(TColor, SelColor, FSelColor)
  SX_MEMO_VALUE(bool, UseDefaultMenu, FUseDefaultMenu)
  SX_MEMO_VALUE(bool, UsePrinterFont, FUsePrinterFont)
  SX_MEMO_VALUE(bool, WantReturns, FWantReturns)
  SX_MEMO_VALUE(bool, WantTabs, FWantTabs)
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
  // FIXME: the events below are published and kept; the typing, painting,
  // scrolling, gutter and completion code that fires them comes with the
  // control's visual side.
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
  bool StylesMonospacedLayout() override { return true; }
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

private:
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
  Integer FGutterWidth = 32;
  bool FHideCaret = false;
  bool FHideScrollBars = false;
  bool FHideSelection = false;
  AnsiString FKeyMapping = "Default";
  TColor FLineBookmarkColor = clRed;
  TAlignment FLineNumAlign = taRightJustify;
  TColor FLineNumBackColor = clWindow;
  TColor FLineNumColor = clBlack;
  Integer FMarginPos = 80;
  TColor FMatchBackColor = clWindowText;
  TColor FMatchColor = clLime;
  bool FOemConvert = false;
  Integer FPrintIndent = 0;
  TDCPrintOptions FPrintOptions{poShowProgress};
  TScrollStyle FScrollBars = ssNone;
  TColor FSelBackColor = clHighlight;
  TColor FSelColor = clHighlightText;
  bool FUseDefaultMenu = false;
  bool FUsePrinterFont = false;
  bool FWantReturns = true;
  bool FWantTabs = false;
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
};

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
};
