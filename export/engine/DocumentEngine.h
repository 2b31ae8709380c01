// DocumentEngine.h — TgtCustomDocumentEngine, the base of every export engine.
//
// It owns the document life cycle (BeginDoc, NewPage, EndDoc), one page
// metafile with a metafile canvas per page, the pages' and bands' items,
// the settings objects, the output files and the image list. Whatever is
// drawn on a page canvas is played back into items (TgtMetafileProcessor)
// when the page ends; RenderPage hands the items, band by band, to the
// writer.
//
// The writer's interface (protected, below). A new format derives from this
// class, or from a family base (plain-sheet, spreadsheet, graphics), and
// overrides what it needs of these, which the engine calls in this order:
//   1. StartDocument   at BeginDoc, once page 1 exists: open the output
//                      (OpenDocumentOutput or CreateOutputFile) and write
//                      the file's head.
//   2. BeginPage       for each page in range: reset what is kept per page.
//   3. EncodePageBorder  the page border; the base draws it through EncodeLine.
//   4. the items of the header, underlay, page body, footer and overlay, each
//      list in order, one Encode…Item per item (EncodeItems switches on the
//      item's kind); shape items reach EncodeLine … EncodePolyBezier and
//      EncodePolyShape. The base draws every shape into a bitmap and hands
//      it to EncodeBitmap, so a writer without vectors overrides EncodeBitmap
//      alone. Text boxes, paragraphs and tables have base encoders made of
//      the simpler ones.
//   5. SortItems and EncodeTextList for the text lists kept apart (only the
//      spreadsheet writers keep them, SetSplitTextList).
//   6. EndPage         the page is complete.
//   7. FinishDocument  at EndDoc: write the tail and close the output.
// Besides the order: ValidateOutputImageFormat refuses image formats the
// writer cannot embed (asked by TgtImageSettings), PlayMetafile may wrap the
// player, GetPreferencesClass names a richer preferences class and
// ShowSetupDialog shows the format's setup form.
// A writer sees items and page settings, never a device context, a metafile
// record or the rich edit.
//
// Calls that need an open document do nothing without one; calls in the
// wrong state never raise. Output files are written under a temporary name
// and take their real names only when the document is complete, so an
// existing file is never lost to a document that fails.
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <vector>
#include "export/engine/PageItems.h"
#include "export/engine/ParagraphItems.h"
#include "export/engine/RichEditTarget.h"
#include "platform/gdi/GraphicsClasses.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/FileUtils.h"

class TgtDocSettings;
class TgtBaseDlg;
class TgtMetafileProcessor;
class TCustomRichEdit;

enum TgtItemToRender : Byte { irText, irImage, irShape };
// A set of TgtItemToRender as bits (1 << member).
using TgtItemsToRender = Byte;
constexpr TgtItemsToRender gtAllItems = (1 << irText) | (1 << irImage) | (1 << irShape);

enum TgtReferencePoint : Byte { rpPage, rpMargin, rpBand };
enum TgtBackgroundDisplayType : Byte {
  dtTile, dtTopLeft, dtTopCenter, dtTopRight, dtCenterLeft, dtCenter, dtCenterRight, dtBottomLeft,
  dtBottomCenter, dtBottomRight
};
enum TgtBand : Byte { bdPageBody, bdHeader, bdFooter, bdUnderlay, bdOverlay };

// Capability bits of the engines.
enum : Word {
  capText = 1 << 0, capImages = 1 << 1, capShapes = 1 << 2,
  capHeaderFirstOnly = 1 << 3, capFooterFirstOnly = 1 << 4, capUnderlayFirstOnly = 1 << 5,
  capOverlayFirstOnly = 1 << 6, capImageOwnSize = 1 << 7, capPDF = 1 << 8, capOwnInputRes = 1 << 9,
};

enum TgtDocumentState : Byte { dsIdle, dsInDocument, dsFinished, dsCancelled, dsFileError };

using TgtNotifyEvent = TEvent<void(TObject* Sender)>;
// The handler receives the error instead of it being raised.
using TgtErrorMessageEvent = TEvent<void(TObject* Sender, const Exception& AException)>;
using TgtOnCalcVariablesEvent = TEvent<void(TObject* Sender, const WideString& Variable, WideString& Value)>;
using TgtOnNeedFileNameEvent = TEvent<void(TObject* Sender, AnsiString& FileName, Integer PageNo)>;
// Offered fresh copies of a table cell's pen, brush, font and frame before
// the cell is drawn; row -1 is the title row.
using TgtOnCellDrawEvent = TEvent<void(TObject* Sender, Integer Row, Integer Column, TPen* Pen, TBrush* Brush,
                                       TFont* Font, TgtFrame* Frame)>;

// Copies of the drawing state, taken by SaveEngineState.
class TgtEngineState {
public:
  TgtEngineState() : ImageSettings(nullptr) {}
  TFont Font;
  TPen Pen;
  TBrush Brush;
  TgtImageSettings ImageSettings;
  TgtTextFormatting TextFormatting;
  TgtTableSettings TableSettings;
  TgtPageSettings Page;
  TgtTextEffects TextEffects;
};

class TgtComponent : public TComponent {
public:
  explicit TgtComponent(TComponent* AOwner) : TComponent(AOwner) {}
  // Published, read-only and never filled.
  AnsiString GetAbout() const { return ""; }
  void SetAbout(const AnsiString&) {}
  AnsiString GetVersion() const { return ""; }
  void SetVersion(const AnsiString&) {}
};

// The engine is reached through this class itself: a holder of a
// TgtCustomDocumentEngine pointer gets the settings, the life cycle and the
// drawing interface, the final class's overrides included. There is no
// separate interface table beside it (nothing would use it, and its 92
// forwarding entries would have to follow every change by hand).
class TgtCustomDocumentEngine : public TgtComponent {
public:
  explicit TgtCustomDocumentEngine(TComponent* AOwner);
  ~TgtCustomDocumentEngine() override;
  // Makes the preferences object. The engine calls it on first use of its
  // preferences, once the object is whole, so the most derived override
  // decides the class (a constructor would reach only its own level's).
  virtual std::unique_ptr<TgtPreferences> GetPreferencesClass();

  // --- document life cycle --------------------------------------------------
  virtual void BeginDoc();
  virtual void NewPage();
  virtual void EndDoc();
  // Renders a rich edit page by page into the open document (pixels of
  // MeasurementUnit for the rectangle); EndChar -1 = to the end.
  void RenderRichEdit(IgtRichEditTarget& RichEdit, Integer StartChar, double Left, double Top,
                      double Right, double Bottom, Integer EndChar = -1, TColor BackColor = TColor(0xFFFFFF));
  // The same for the control, as the application calls it (nil: nothing).
  void RenderRichEdit(TCustomRichEdit* RichEdit, Integer StartChar, double Left, double Top, double Right,
                      double Bottom, Integer EndChar = -1, TColor BackColor = TColor(0xFFFFFF));
  // RTF from a file or a stream (read from its start) through a hidden
  // control; a file that cannot be read raises as loading it does.
  void RenderRTFFile(const AnsiString& FileName, Integer StartChar, double Left, double Top, double Right,
                     double Bottom, Integer EndChar = -1, TColor BackColor = TColor(0xFFFFFF));
  void RenderRTFStream(TStream* Stream, Integer StartChar, double Left, double Top, double Right,
                       double Bottom, Integer EndChar = -1, TColor BackColor = TColor(0xFFFFFF));
  // The modal result of the built-in setup dialog (2 cancels); the base
  // shows nothing and confirms.
  virtual Word ShowSetupDialog();
  // Sets the abort flag: the next NewPage ends the document and deletes
  // what it wrote.
  void AbortDocument() { FAborted = true; }

  // For a caller that draws nothing more on a page once the next one has
  // started and sets its bands before the first page closes (a conversion
  // does both): each page is then rendered and freed as it closes, as with
  // ProcessAfterEachPage, so a long document never holds all its pages. Unlike
  // that preference the output stays what rendering at EndDoc gives: a page
  // whose text may name a variable (the page count is the document's total),
  // or that holds a paragraph or table still being placed, waits for EndDoc
  // with every page after it. A page already rendered cannot be made active.
  bool GetStreamPages() const { return FStreamPages; }
  void SetStreamPages(bool Value) { FStreamPages = Value; }

  bool IsDocumentOpen() const { return FDocOpen; }
  TgtDocumentState GetDocumentState() const { return FDocState; }

  // --- settings ----------------------------------------------------------------
  const AnsiString& GetFileName() const { return FFileName; }
  void SetFileName(const AnsiString& Value);
  const AnsiString& GetFileExtension() const { return FFileExtension; }
  void SetFileExtension(const AnsiString& Value) { FFileExtension = Value; }
  const AnsiString& GetFileDescription() const { return FFileDescription; }
  void SetFileDescription(const AnsiString& Value) { FFileDescription = Value; }
  TgtUnitType GetMeasurementUnit() const { return FMeasurementUnit; }
  void SetMeasurementUnit(TgtUnitType Value);
  double GetUnitFactor() const { return FUnitFactor; }
  Integer GetInputXRes() const { return FInputXRes; }
  void SetInputXRes(Integer Value) { FInputXRes = Value; }
  Integer GetInputYRes() const { return FInputYRes; }
  void SetInputYRes(Integer Value) { FInputYRes = Value; }
  TgtItemsToRender GetItemsToRender() const { return FItemsToRender; }
  void SetItemsToRender(TgtItemsToRender Value) { FItemsToRender = Value; }
  const AnsiString& GetPagesToRender() const { return FPagesToRender; }
  // Raises EConvertError for an entry with a side of its range missing
  // ("3-", "-"); the old value stays.
  void SetPagesToRender(const AnsiString& Value);
  TgtReferencePoint GetReferencePoint() const { return FReferencePoint; }
  void SetReferencePoint(TgtReferencePoint Value);
  bool GetAutoPaginate() const { return FAutoPaginate; }
  void SetAutoPaginate(bool Value) { FAutoPaginate = Value; }
  TColor GetBackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor Value) { FBackgroundColor = Value; }
  TgtBackgroundDisplayType GetBackgroundImageDisplayType() const { return FBackgroundImageDisplayType; }
  void SetBackgroundImageDisplayType(TgtBackgroundDisplayType V) { FBackgroundImageDisplayType = V; }
  TPicture* GetBackgroundImage() const { return FBackgroundImage.get(); }
  void SetBackgroundImage(TPicture* Value) { FBackgroundImage->Assign(Value); }
  Word GetCapabilities() const { return FCapabilities; }
  void SetCapabilities(Word Value) { FCapabilities = Value; }
  double GetLineTolerance() const { return FLineTolerance; }
  void SetLineTolerance(double Value) { FLineTolerance = Value; }
  bool GetSplitTextList() const { return FSplitTextList; }
  void SetSplitTextList(bool Value) { FSplitTextList = Value; }
  TgtDocSettings* GetSettings() const { return FSettings; }
  void SetSettings(TgtDocSettings* Value);
  // A setup dialog of the caller's that BeginDoc shows in place of the
  // engine's own; the link clears itself when the dialog is freed.
  TgtBaseDlg* GetSetupDialog() const { return FSetupDialog; }
  void SetSetupDialog(TgtBaseDlg* Value);

  // The engine's own objects; the setters copy.
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  TPen* GetPen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* GetBrush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TgtTextEffects* GetTextEffects() const { return FTextEffects.get(); }
  void SetTextEffects(TgtTextEffects* Value) { FTextEffects->Assign(Value); }
  TgtFrame* GetFrame() const { return FFrame.get(); }
  void SetFrame(TgtFrame* Value) { FFrame->Assign(Value); }
  TgtImageSettings* GetImageSettings() const { return FImageSettings.get(); }
  void SetImageSettings(TgtImageSettings* Value) { FImageSettings->Assign(Value); }
  TgtPageSettings* GetPage() const { return FPage.get(); }
  void SetPage(TgtPageSettings* Value) { FPage->Assign(Value); }
  TgtBorder* GetPageBorder() const { return FPageBorder.get(); }
  void SetPageBorder(TgtBorder* Value) { FPageBorder->Assign(Value); }
  TgtDocInfo* GetDocInfo() const { return FDocInfo.get(); }
  void SetDocInfo(TgtDocInfo* Value) { FDocInfo->Assign(Value); }
  // Made by GetPreferencesClass on first use; never nil.
  TgtPreferences* GetPreferences() const;
  void SetPreferences(TgtPreferences* Value) { GetPreferences()->Assign(Value); }
  TgtTextFormatting* GetTextFormatting() const { return FTextFormatting.get(); }
  TgtTableSettings* GetTableSettings() const { return FTableSettings.get(); }

  // --- units and band area (pixels) ------------------------------------------------
  double UnitToPixelsX(double Value) const;
  double UnitToPixelsY(double Value) const;
  TgtDoubleRect RectToPixels(const TgtDoubleRect& R) const;
  bool IsInsideArea(double Y, double X) const;
  const TgtDoubleRect& GetBandArea() const { return FBandArea; }
  TgtBand GetCurrentBand() const { return FCurrentBand; }
  void SetCurrentBand(TgtBand Band);

  // --- accessors used by writers --------------------------------------------------
  TCanvas* GetCanvas() const { return FCanvas.get(); }
  Integer GetPageNo() const { return FCurrentPage; }
  Integer GetPageCount() const { return FPageCount; }
  TgtPageItem* GetPageItem(Integer Index) const;
  TgtPageItem* GetCurrentPageItem() const { return GetPageItem(FCurrentPage - 1); }
  // Where the document goes: the user stream with
  // Preferences.OutputToUserStream, else the latest output file's stream
  // (nil when there is none).
  TStream* GetOutputStream() const;
  // The caller's stream for Preferences.OutputToUserStream; borrowed. The
  // writers append to it and leave it open.
  TStream* GetUserStream() const { return FUserStream; }
  void SetUserStream(TStream* Value) { FUserStream = Value; }
  const std::vector<AnsiString>& GetOutputFiles() const { return FOutputFileNames; }
  // Entries of the document image list (nil for an empty entry or an index
  // outside the list).
  TGraphic* GetImage(Integer Index) const;
  Integer ImageCount() const { return Integer(FImages.size()); }
  // The player's use of the image list: an empty entry reserved at the end,
  // an entry filled, and the last entry taken back after a merge.
  Integer ReserveImage();
  void SetImage(Integer Index, std::unique_ptr<TGraphic> Graphic);
  void DropLastImage();

  // --- items ----------------------------------------------------------------------------
  void AddItem(TgtItemRef Item);
  TgtItemList& CurrentItems();
  TgtItemList& CurrentTextItems();

  // --- text services ------------------------------------------------------------------
  virtual void ReplaceVariables(const WideString& Text, bool IncludePageVariables, WideString& Result);
  virtual void ReplacePageVariables(const WideString& Text, WideString& Result);
  bool IsPageInRange(Integer PageNo) const;
  virtual void ReorderBiDiText(const WideString& Text, WideString& Result);
  // First link at or after the 1-based Start; Start moves to its first
  // character. An empty Link when there is none.
  void ExtractLink(const WideString& Text, Integer& Start, WideString& Link) const;

  // --- drawing interface ------------------------------------------------------------------
  virtual void TextOut(double X, double Y, const WideString& Text);
  virtual void ClippedTextOut(const TgtDoubleRect& Rect, const WideString& Text, double X, double Y);
  virtual void FormattedTextOut(const WideString& Text, double X, double Y);
  virtual void AngledTextOut(const WideString& Text, Integer Direction, double X, double Y);
  virtual void SetTextAngle(Integer Degrees);
  Integer GetTextAngle() const { return FTextAngle; }
  virtual void SetTextAlignment(Byte Value) { FTextAlignment = Value; }
  Byte GetTextAlignment() const { return FTextAlignment; }
  // Pixels; an empty text measures one blank high and 1 wide.
  TSize GetTextExtent(const WideString& Text, TFont* Font) const;
  double TextHeight(const WideString& Text) const;

  virtual Integer AddImageToList(TGraphic* Graphic);
  virtual void DrawImage(TGraphic* Graphic, double X, double Y);
  virtual void StretchImage(const TgtDoubleRect& Rect, TGraphic* Graphic);
  virtual void DrawImageByIndex(const TgtDoubleRect& Rect, Integer Index);
  // The engine takes the stream (it joins the image list).
  virtual void DrawImageStream(const TgtDoubleRect& Rect, Integer ImageWidth,
                               std::unique_ptr<TStream> Stream, Integer ImageHeight);
  void AddImageItem(const TgtDoubleRect& PixelRect, Integer Index);
  std::unique_ptr<TBitmap> ImageItemToBitmap(TgtImageItem* Item);
  std::unique_ptr<TMetafile> ImageItemToMetafile(TgtImageItem* Item);
  std::unique_ptr<TMemoryStream> BitmapToJPEGStream(TBitmap* Bitmap, Integer Quality);

  virtual void Line(double X1, double Y1, double X2, double Y2);
  virtual void Rectangle(bool Filled, double X1, double Y1, double X2, double Y2);
  virtual void RoundRect(bool Filled, double X1, double Y1, double X2, double Y2, double CW, double CH);
  virtual void Ellipse(bool Filled, double X1, double Y1, double X2, double Y2);
  virtual void Polygon(const TgtPoints& Points, bool Filled);
  virtual void Polyline(const TgtPoints& Points);
  virtual void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4);
  virtual void Pie(bool Filled, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                   double X4, double Y4);
  virtual void Chord(bool Filled, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                     double X4, double Y4);
  virtual void PolyBezier(const TgtPoints& Points);

  virtual void DrawMetafile(TMetafile* Metafile);
  virtual void DrawMetafileAt(TMetafile* Metafile, double X, double Y);
  virtual void StretchDrawGraphic(const TgtDoubleRect& Rect, TGraphic* Graphic);

  virtual void BeginHeader() { BeginBand(bdHeader); }
  virtual void EndHeader() { EndBand(); }
  virtual void BeginFooter() { BeginBand(bdFooter); }
  virtual void EndFooter() { EndBand(); }
  virtual void BeginUnderlay() { BeginBand(bdUnderlay); }
  virtual void EndUnderlay() { EndBand(); }
  virtual void BeginOverlay() { BeginBand(bdOverlay); }
  virtual void EndOverlay() { EndBand(); }

  // --- text boxes, paragraphs and tables (DocumentEngine_Paragraphs.cpp) ----------------------
  // A framed box of wrapped text; the rectangle is clamped to the band area.
  virtual void TextBox(const TgtDoubleRect& Rect, const WideString& Text, Byte HorzAlignment,
                       Byte VertAlignment);
  // Copies the formatting; its indents are taken in MeasurementUnit.
  void SetTextFormatting(TgtTextFormatting* Value);
  // Copies the table settings; lengths are taken in MeasurementUnit.
  void SetTableSettings(TgtTableSettings* Value);
  virtual void BeginParagraph();
  // Wraps text into the open paragraph, opening overflow paragraphs when it
  // runs out of room; answers the height left (MeasurementUnit), 0 when
  // nothing was added.
  virtual double ParagraphTextOut(const WideString& Text);
  // Places the paragraph; with AutoPaginate each overflow paragraph goes on
  // a new page, without it they are dropped.
  virtual void EndParagraph();
  // EndParagraph for writers that re-flow text: one text item per line.
  void ParagraphToTextItems();
  // Opens a table at X, Y; answers its columns for the caller to size, or
  // nil when the corner is outside the band area or a table is open.
  virtual TgtColumnList* BeginTable(Integer ColumnCount, double X, double Y);
  // Start the next row; answer the room below the rows before the previous
  // one (MeasurementUnit), or -1 without an open table.
  virtual double NewRowHeight(double Height);
  virtual double NewRow();
  virtual void CellTextOut(Integer Column, const WideString& Text);
  virtual void CellImage(Integer Column, TGraphic* Graphic, double Width, double Height);
  // Distributes the rows over pages and places the table on each of them.
  virtual void EndTable();
  bool IsParagraphOpen() const { return FParagraph != nullptr; }
  TgtTableItem* GetOpenTable() const { return FTable.get(); }
  // Wraps Text onto the end of Lines (see DocumentEngine_Paragraphs.cpp); answers
  // the rounded width, or in single-line mode the text's width plus a blank
  // and twice the pen width.
  double WrapText(const WideString& Text, TWideStrings& Lines, TFont* Font, bool SingleLine, double FirstWidth,
                  double Width);
  virtual Integer SaveEngineState();
  // -1: the last saved state. Raises EInvalidEngineState (or reports it)
  // for an identifier not in the list.
  virtual void RestoreEngineState(Integer Index);
  virtual void ClearEngineStates();
  virtual void SetActivePage(Integer PageNo);

  // --- events ------------------------------------------------------------------------------
  TgtNotifyEvent OnBeforeBeginDoc, OnAfterBeginDoc, OnBeforeEndDoc, OnAfterEndDoc;
  TgtNotifyEvent OnBeforeBeginPage, OnAfterBeginPage, OnBeforeEndPage, OnAfterEndPage;
  TgtErrorMessageEvent OnErrorMessage;
  TgtOnCalcVariablesEvent OnCalcVariables;
  TgtOnNeedFileNameEvent OnNeedFileName;
  TgtOnCellDrawEvent OnCellDraw;

protected:
  // ===== the writer's interface (see the top of this file) =====================================
  // TgtImageSettings asks ValidateOutputImageFormat before it takes a format.
  friend class TgtImageSettings;

  // --- the document and its pages -----------------------------------------------------------
  virtual void StartDocument() {}
  virtual void BeginPage() {}
  // Draws the sides PageBorder asks for through EncodeLine.
  virtual void EncodePageBorder();
  virtual void EndPage() {}
  virtual void FinishDocument() {}

  // --- items, one encoder per kind ---------------------------------------------------------------
  // Replaces the variables of the first line (OnCalcVariables sees them) and
  // leaves the item as it was: writers replace and clip in their overrides.
  virtual void EncodeTextItem(TgtTextItem* Item);
  // Frame lines, background and the wrapped lines, through the encoders below.
  virtual void EncodeTextBoxItem(TgtTextBoxItem* Item);
  // One text item per line.
  virtual void EncodeParagraphItem(TgtParagraphItem* Item);
  // The table's rows on this page: cells as rectangles, lines, text and images.
  virtual void EncodeTableItem(TgtTableItem* Item);
  virtual void EncodeImageItem(TgtImageItem*) {}
  virtual void EncodeImageStreamItem(TgtImageStream*) {}
  // The player's clip, path, poly-draw and end-of-metafile items: only
  // writers that keep vectors act on them.
  virtual void EncodeClipItem(TgtClipItem*) {}
  virtual void EncodePathItem(TgtPathItem*) {}
  virtual void EncodePolyPolygonItem(TgtPolyPolygonItem* Item);
  virtual void EncodePolyDrawItem(TgtPolyDrawItem*) {}
  virtual void EncodeEOFItem(TgtEOFItem*) {}
  // Items of a kind only a derived engine adds.
  virtual void EncodeOtherItem(TgtDocumentItem*) {}

  // --- shapes (the base draws each into a bitmap for EncodeBitmap) -------------------------------
  virtual void EncodeLine(TPen* Pen, double X1, double Y1, double X2, double Y2);
  // Brush nil: not filled, here and below.
  virtual void EncodeRectangle(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2);
  virtual void EncodeRoundRect(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2,
                               double CW, double CH);
  virtual void EncodeEllipse(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2);
  virtual void EncodePolygon(const TgtPoints& Points, bool Closed, TPen* Pen, TBrush* Brush);
  virtual void EncodePolyShape(TgtPolyShapeItem* Item, bool Closed);
  virtual void EncodeArc(TPen* Pen, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                         double X4, double Y4);
  virtual void EncodePie(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2,
                         double X3, double Y3, double X4, double Y4);
  virtual void EncodeChord(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2,
                           double X3, double Y3, double X4, double Y4);
  virtual void EncodePolyBezier(const TgtPoints& Points, TPen* Pen);
  // A picture at X, Y (pixels); the bitmap is borrowed for the call.
  virtual void EncodeBitmap(TBitmap*, double /*X*/, double /*Y*/) {}

  // --- text lists kept apart (spreadsheet writers) ----------------------------------------------
  // Reading order: by Y; items of equal Y by X when the line tolerance is positive.
  virtual void SortItems(TgtItemList& List);
  // EncodeTextItem for every text item of the list, text boxes included.
  virtual void EncodeTextList(TgtItemList& List);

  // --- beside the order ---------------------------------------------------------------------------
  // Whether the writer can embed Format; False with the message to show.
  virtual bool ValidateOutputImageFormat(TgtOutputImageFormat Format, AnsiString& Message);
  // Plays a page metafile into the current lists (at X, Y plus the band
  // area's corner), resampled first when InputXRes/InputYRes differ from the
  // screen's and the writer does not apply them itself.
  virtual void PlayMetafile(TMetafile* Metafile, double X, double Y);

  // --- what writers call ------------------------------------------------------------------------
  // The dispatch RenderPage uses: one list, by item kind; a shape by its type.
  void EncodeItems(TgtItemList& List);
  void EncodeShapeItem(TgtShapeItem* Shape);
  void EncodePolyShapeItem(TgtPolyShapeItem* Item);
  // Draws an item's lines inside a box of Width x Height at its X, Y.
  void EncodeTextLines(TgtTextItem* Item, Byte HorzAlignment, const TgtDoubleRect& Margins, double Height,
                       double Width, Byte VertAlignment);

  // ===== the engine's own protected services ===================================================
  // Both in export/dialogs, where the dialog class is known.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  Word ShowLinkedSetupDialog();
  // Remakes an existing preferences object with GetPreferencesClass,
  // keeping its flags; nothing when none was made yet (first use makes it
  // with the right class). Not needed in constructors any more.
  void RecreatePreferences();
  // Opens FullName for writing (under a temporary name until the document
  // completes) and records it; raises EFileCreateError and frees the
  // document when the file cannot be made.
  TStream* CreateOutputFile(const AnsiString& FullName);
  // Closes the latest output stream; its file keeps waiting for the end of
  // the document.
  void CloseOutputFile();
  // A single-file writer's output: the user stream with
  // Preferences.OutputToUserStream, else CreateOutputFile(FullName). Without
  // a user stream to write to, the document is freed and EStreamError
  // raised.
  TStream* OpenDocumentOutput(const AnsiString& FullName);
  // Ends it: a file is closed, a user stream stays open.
  void CloseDocumentOutput();
  void DeleteOutputFiles();
  void RenderPage();
  void FreeItems(TgtItemList& List) { List.clear(); }
  // Raises the error, or hands it to OnErrorMessage when assigned.
  template <class E>
  void ReportError(const char* Message) {
    E Error(Message);
    if (!OnErrorMessage) throw Error;
    OnErrorMessage(this, Error);
  }
  // Gates of the drawing interface.
  bool CanText() const;
  bool CanImage() const;
  bool CanShape() const;
  // Opens the shell's "Open" on a file; nothing in a headless run.
  virtual void OpenOutputFile(const AnsiString& FileName);

private:
  friend class TgtDocSettings;
  void InitDocument();
  void FreeDocument() noexcept;
  void UpdateBandArea();
  void BeginBand(TgtBand Band);
  void EndBand();
  void StartPageCanvas();
  void ClosePageCanvas();
  void CommitOutputFiles();
  // Renders the closed pages that can no longer change, in page order, up
  // to the first one that must wait.
  void RenderClosedPages();
  bool PageMayWait(const TgtBandItem& Page) const;
  void AddShape(TgtShapeType Type, bool Filled, TgtPoints Points);
  TgtDoublePoint ShapePoint(double X, double Y) const;
  void RasterizeShape(TPen* Pen, TBrush* Brush, const TgtPoints& Points, double Pad,
                      const std::function<void(TCanvas*, double, double)>& Draw);

  // Paragraphs and tables
  struct TTableRecord {
    std::shared_ptr<TgtTableItem> Item;   // dropped once its last page is encoded
    Integer StartPage = 0;
    std::vector<Integer> Counts;          // rows per page, ended by 0
    std::size_t NextPage = 0;             // the table's page the next encode draws
    bool Finished = false;
  };
  void ResetFlowState() noexcept;
  std::shared_ptr<TgtParagraphItem> NewParagraphAt(double X, double Y) const;
  double ParagraphLineHeight(TgtParagraphItem* P) const;
  void WrapIntoParagraph(TgtParagraphItem* P, const WideString& Text);
  void PlaceParagraphs(bool AsTextItems);
  void AddParagraphAsTextItems(TgtParagraphItem* P);
  double StartTableRow(Integer Height);
  double TableRowLimit() const;
  void RaiseRowHeight(Integer Row, double Height);
  std::shared_ptr<TgtParagraphItem> FParagraph;
  std::vector<std::shared_ptr<TgtParagraphItem>> FOverflow;
  std::shared_ptr<TgtTableItem> FTable;
  std::vector<TTableRecord> FTableRecords;
  Integer FCurrentTable = -1;

  // Document
  bool FDocOpen = false;
  TgtDocumentState FDocState = dsIdle;
  std::vector<std::unique_ptr<TgtPageItem>> FPages;
  Integer FCurrentPage = 0;
  Integer FPageCount = 0;
  std::array<std::unique_ptr<TgtBandItem>, 4> FBands;   // header, footer, underlay, overlay
  TgtBand FCurrentBand = bdPageBody;
  TgtBandItem* FCurrentBandItem = nullptr;
  double FParagraphCursor = 0;
  TgtDoubleRect FBandArea;
  std::unique_ptr<TMetafile> FPageMetafile;
  std::unique_ptr<TMetafileCanvas> FCanvas;
  std::vector<std::unique_ptr<TObject>> FImages;       // graphics and streams
  std::vector<std::unique_ptr<TgtEngineState>> FStates;
  Integer FDocStateId = -1;
  struct TOutputFile {
    AnsiString FinalName, TempName;  // TempName is empty once the file is committed
    std::unique_ptr<TAtomicFileStream> File;
    // What the engine writes to: its many small writes reach File in blocks.
    std::unique_ptr<TWriteBufferStream> Stream;
    void Open();
    // Passes on what is gathered, raising when the file takes less, and closes.
    void Close();
    // Closes without reporting: the file is about to be removed.
    void Discard() noexcept;
  };
  std::vector<TOutputFile> FOutputFiles;
  std::vector<AnsiString> FOutputFileNames;
  bool FAborted = false;
  TStream* FUserStream = nullptr;
  bool FRendering = false;
  bool FStreamPages = false;
  Integer FPagesRendered = 0;   // pages 1..this were rendered as they closed

  // Drawing state
  std::unique_ptr<TFont> FFont, FDefaultFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TgtTextEffects> FTextEffects;
  std::unique_ptr<TgtFrame> FFrame;
  std::unique_ptr<TgtImageSettings> FImageSettings;
  std::unique_ptr<TgtTextFormatting> FTextFormatting;
  std::unique_ptr<TgtTableSettings> FTableSettings;
  Integer FTextAngle = 0;
  Byte FTextAlignment = 0;

  // Settings
  std::unique_ptr<TgtPageSettings> FPage;
  std::unique_ptr<TgtBorder> FPageBorder;
  std::unique_ptr<TgtDocInfo> FDocInfo;
  mutable std::unique_ptr<TgtPreferences> FPreferences;
  std::unique_ptr<TPicture> FBackgroundImage;
  TColor FBackgroundColor = TColor(0xFFFFFF);
  TgtBackgroundDisplayType FBackgroundImageDisplayType = dtCenter;
  TgtUnitType FMeasurementUnit = muInches;
  double FUnitFactor = 1.0;
  TgtItemsToRender FItemsToRender = gtAllItems;
  AnsiString FPagesToRender;
  TgtReferencePoint FReferencePoint = rpBand;
  Integer FInputXRes, FInputYRes;
  bool FAutoPaginate = true;
  TgtDocSettings* FSettings = nullptr;
  TgtBaseDlg* FSetupDialog = nullptr;
  AnsiString FFileName, FFileExtension, FFileDescription;
  double FLineTolerance = 0;
  bool FSplitTextList = false;
  Word FCapabilities = capText | capImages | capShapes;
};

// One set of document settings shared by the engines linked to it: an
// engine follows a shared value as long as it has not been given its own.
class TgtDocSettings : public TgtComponent {
public:
  explicit TgtDocSettings(TComponent* AOwner);
  ~TgtDocSettings() override;
  void AddEngine(TgtCustomDocumentEngine* Engine);
  void RemoveEngine(TgtCustomDocumentEngine* Engine);
  const std::vector<TgtCustomDocumentEngine*>& Engines() const { return FEngines; }

  TColor GetBackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor Value);
  TgtBackgroundDisplayType GetBackgroundImageDisplayType() const { return FBackgroundImageDisplayType; }
  void SetBackgroundImageDisplayType(TgtBackgroundDisplayType Value);
  TgtUnitType GetMeasurementUnit() const { return FMeasurementUnit; }
  void SetMeasurementUnit(TgtUnitType Value);
  TPicture* GetBackgroundImage() const { return FBackgroundImage.get(); }
  void SetBackgroundImage(TPicture* Value);
  TgtPageSettings* GetPage() const { return FPage.get(); }
  TgtDocInfo* GetDocInfo() const { return FDocInfo.get(); }
  TgtPreferences* GetPreferences() const { return FPreferences.get(); }

private:
  std::vector<TgtCustomDocumentEngine*> FEngines;
  TColor FBackgroundColor = TColor(0xFFFFFF);
  TgtBackgroundDisplayType FBackgroundImageDisplayType = dtCenter;
  TgtUnitType FMeasurementUnit = muPixels;
  std::unique_ptr<TPicture> FBackgroundImage;
  std::unique_ptr<TgtPageSettings> FPage;
  std::unique_ptr<TgtDocInfo> FDocInfo;
  std::unique_ptr<TgtPreferences> FPreferences;
};

// The twips rectangle a pixel rectangle gives at Ppi pixels per inch.
TRect gtRectToTwips(double Left, double Top, double Right, double Bottom, Integer Ppi);
