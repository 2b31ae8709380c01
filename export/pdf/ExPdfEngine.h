// ExPdfEngine.h — TgtExPDFEngine: the PDF writer with the fax encoder of
// monochrome images (Modified Huffman for K 0, Group 4 for K -1), the
// document JavaScript object and the queues of interactive objects:
// annotations, form fields, XMP metadata and page open/close actions. The
// application renders rich text only and leaves the queues empty; a caller
// of the library fills them between BeginDoc and EndDoc.
#pragma once
#include <map>
#include <memory>
#include <utility>
#include <vector>
#include "export/pdf/CustomPdfEngine.h"
#include "platform/rtl/DateTime.h"

enum TgtPDFActionType : Byte { atGoTo, atURI, atNamed, atGoToR, atLaunch, atJavaScript };
enum TgtPDFNamedAction : Byte { naNextPage, naPrevPage, naFirstPage, naLastPage };
enum TgtPDFDestinationKind : Byte { dkXYZ, dkFit, dkFitH, dkFitV, dkFitR };

// An action of a link or of a page's opening or closing.
class TgtPDFAction {
public:
  TgtPDFActionType ActionType = atURI;
  AnsiString Text;   // the script, the address or the file
  TgtPDFNamedAction Named = naNextPage;
  Integer PageNo = 1;   // target of GoTo and GoToR
  TgtPDFDestinationKind Destination = dkFit;
  double Left = 0, Top = 0, Right = 0, Bottom = 0;   // page pixels
  Integer Zoom = 0;
  bool NewWindow = false;
};

class TgtPDFPageAction {
public:
  std::unique_ptr<TgtPDFAction> OpenAction, CloseAction;
};

// Common to annotations and fields: the page and the rectangle in page pixels.
class TgtPDFPageObject {
public:
  virtual ~TgtPDFPageObject() = default;
  Integer PageNo = 1;
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class TgtPDFAnnotation : public TgtPDFPageObject {
public:
  WideString Title, Subject, Contents;
  TColor Color = clYellow;
  TDateTime Modified = 0;   // 0: the document's time
};

enum TgtPDFTextIcon : Byte { tiComment, tiKey, tiNote, tiHelp, tiNewParagraph, tiParagraph, tiInsert };
class TgtPDFTextAnnotation : public TgtPDFAnnotation {
public:
  TgtPDFTextIcon Icon = tiNote;
  bool Open = false;
};

enum TgtPDFHighlightMode : Byte { hmNone, hmInvert, hmOutline, hmPush };
class TgtPDFLinkAnnotation : public TgtPDFAnnotation {
public:
  TgtPDFHighlightMode Highlight = hmInvert;
  Integer BorderWidth = 0;
  TgtPDFAction Action;
};

enum TgtPDFStampName : Byte {
  snApproved, snExperimental, snNotApproved, snAsIs, snExpired, snNotForPublicRelease, snConfidential, snFinal,
  snSold, snDepartmental, snForComment, snTopSecret, snDraft, snForPublicRelease
};
class TgtPDFStampAnnotation : public TgtPDFAnnotation {
public:
  TgtPDFStampName Stamp = snDraft;
};

// What the drawn annotations share: the border (width, style, dash), the
// inside colour, and the border effect of the shapes that have one.
enum TgtPDFBorderStyle : Byte { pbsSolid, pbsDashed, pbsBeveled, pbsInset, pbsUnderline };
enum TgtPDFBorderEffect : Byte { pbeNone, pbeCloudy };
enum TgtPDFLineEnding : Byte {
  leNone, leButt, leSquare, leCircle, leDiamond, leOpenArrow, leClosedArrow, leROpenArrow, leRClosedArrow
};
class TgtPDFDrawnAnnotation : public TgtPDFAnnotation {
public:
  Integer BorderWidth = 1;
  TgtPDFBorderStyle BorderStyle = pbsSolid;
  std::vector<Integer> Dash{3};
  TColor InteriorColor = clWhite;
  TgtPDFBorderEffect Effect = pbeNone;
  Integer Intensity = 0;
};

enum TgtPDFFreeTextAlignment : Byte { ftaLeft, ftaRight, ftaCenter };
class TgtPDFFreeTextAnnotation : public TgtPDFAnnotation {
public:
  AnsiString FontName = "Helvetica";
  Integer FontSize = 12;
  TgtPDFFreeTextAlignment Alignment = ftaLeft;
};

// A line from (X1, Y1) to (X2, Y2), page pixels.
class TgtPDFLineAnnotation : public TgtPDFDrawnAnnotation {
public:
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  TgtPDFLineEnding StartEnding = leNone, EndEnding = leNone;
};

// A rectangle or an ellipse inside the rectangle, Inset (page pixels) in
// from its sides.
class TgtPDFSquareAnnotation : public TgtPDFDrawnAnnotation {
public:
  bool Circle = false;
  double Inset[4] = {0, 0, 0, 0};   // left, top, right, bottom
};

// A closed polygon or an open polyline through Points (page pixels).
class TgtPDFPolygonAnnotation : public TgtPDFDrawnAnnotation {
public:
  bool Closed = true;
  TgtPoints Points;
  TgtPDFLineEnding StartEnding = leNone, EndEnding = leNone;
};

// Marks the text under the annotation's rectangle.
enum TgtPDFMarkup : Byte { mkHighlight, mkUnderline, mkSquiggly, mkStrikeOut };
class TgtPDFMarkupAnnotation : public TgtPDFAnnotation {
public:
  TgtPDFMarkup Markup = mkHighlight;
};

class TgtPDFCaretAnnotation : public TgtPDFAnnotation {
public:
  bool Paragraph = false;   // the caret marks a new paragraph
  double Inset[4] = {0, 0, 0, 0};
};

// A freehand stroke through Points (page pixels).
class TgtPDFInkAnnotation : public TgtPDFAnnotation {
public:
  TgtPoints Points;
};

// A file carried inside the document; read when the document is written.
enum TgtPDFAttachmentIcon : Byte { aiGraph, aiPushPin, aiPaperclip, aiTag };
class TgtPDFFileAttachmentAnnotation : public TgtPDFAnnotation {
public:
  AnsiString FileName;
  TgtPDFAttachmentIcon Icon = aiPushPin;
};

// Form fields. The font gives the appearance's face, size and text colour.
class TgtPDFFormField : public TgtPDFPageObject {
public:
  TgtPDFFormField() : Font(std::make_unique<TFont>()) {}
  WideString Name;   // empty: a kind prefix and the queue index
  std::unique_ptr<TFont> Font;
  TColor BackgroundColor = clWhite, BorderColor = clBlack;
  bool ReadOnly = false, Required = false, NoExport = false;
  Integer OptionFlags() const { return (ReadOnly ? 1 : 0) | (Required ? 2 : 0) | (NoExport ? 4 : 0); }
};

class TgtPDFTextField : public TgtPDFFormField {
public:
  WideString Text;
  Integer MaxLength = 0;   // 0: none
  bool Multiline = false, Password = false, FileSelect = false, DoNotSpellCheck = false, DoNotScroll = false;
};

enum TgtPDFCheckSymbol : Byte { csCheck, csCircle, csCross, csDiamond, csSquare, csStar };
class TgtPDFCheckBox : public TgtPDFFormField {
public:
  bool Checked = false;
  TgtPDFCheckSymbol Symbol = csCheck;
};

enum TgtPDFButtonAction : Byte { baNone, baResetForm, baSubmitForm, baJavaScript };
enum TgtPDFSubmitFormat : Byte { sfHTML, sfXFDF };
class TgtPDFPushButton : public TgtPDFFormField {
public:
  // With a caption the button is drawn (up, down and rollover looks);
  // without one it is an invisible hot area.
  WideString Caption, DownCaption, RolloverCaption, Tooltip;
  TgtPDFButtonAction Action = baNone;
  TgtPDFSubmitFormat SubmitFormat = sfHTML;
  AnsiString Address;   // where SubmitForm sends the fields
  AnsiString Script;    // the JavaScript action's script
};

// A group of choices of which one is on; each button is its own widget.
class TgtPDFRadioGroup : public TgtPDFFormField {
public:
  struct TButton {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;   // page pixels
    AnsiString Option;   // the value the group takes when it is on (a PDF name)
  };
  std::vector<TButton> Buttons;
  Integer Selected = -1;
  bool NoToggleToOff = false;
  TgtPDFCheckSymbol Symbol = csCircle;
};

class TgtPDFChoiceField : public TgtPDFFormField {
public:
  std::vector<WideString> Items;
  Integer Selected = -1;
};
class TgtPDFComboBox : public TgtPDFChoiceField {
public:
  bool Editable = false;
};
class TgtPDFListBox : public TgtPDFChoiceField {
public:
  bool MultiSelect = false;
};

enum TgtXMPSchema : Byte { xsPDF, xsXMP, xsDC, xsXMPBJ, xsXMPRights, xsXMPTPg };
struct TgtPDFMetadataEntry {
  TgtXMPSchema Schema = xsDC;
  AnsiString Name, Value;   // the value as XML text (UTF-8, escaped by the writer)
};

class TgtDocEventJSAction : public TPersistent {
public:
  void Assign(TPersistent* Source) override;
  AnsiString BeforeClose, BeforePrint, BeforeSave, AfterSave, AfterPrint;
  bool Empty() const {
    return BeforeClose.empty() && BeforePrint.empty() && BeforeSave.empty() && AfterSave.empty() && AfterPrint.empty();
  }
};

class TgtExPDFEngine : public TgtCustomPDFEngine {
public:
  explicit TgtExPDFEngine(TComponent* AOwner);
  ~TgtExPDFEngine() override;
  void BuildCatalog(AnsiString& Text) override;
  void BuildPageObject(AnsiString& Text) override;
  std::unique_ptr<TMemoryStream> EncodeCCITT(TBitmap* Bitmap, TgtOutputImageFormat Format) override;
  TgtDocEventJSAction* GetDocumentJavaScript() const { return FJavaScript.get(); }

  // The queues, open from StartDocument to FinishDocument; outside a
  // document the Add calls do nothing. Annotations and fields must be
  // queued before their page ends, metadata before the first page begins
  // or before EndDoc when no page is rendered.
  void AddAnnotation(std::unique_ptr<TgtPDFAnnotation> Annotation);
  void AddFormField(std::unique_ptr<TgtPDFFormField> Field);
  void AddMetadata(const TgtPDFMetadataEntry& Entry);
  void AddPageAction(Integer PageNo, std::unique_ptr<TgtPDFPageAction> Action);

  // The text after "/S " of an action dictionary; empty when its target
  // page does not exist.
  AnsiString ActionText(const TgtPDFAction& Action, Integer ObjectNumber);

protected:
  // --- the writer's interface ---
  void StartDocument() override;
  void EndPage() override;
  void FinishDocument() override;

private:
  AnsiString PdfRect(const TgtPDFPageObject& O) const;
  AnsiString HexText(const WideString& Text, Integer ObjectNumber);
  AnsiString PdfString(const AnsiString& Text, Integer ObjectNumber);
  void WriteAnnotation(Integer N, TgtPDFAnnotation& A);
  void WriteField(Integer N, std::size_t Index, TgtPDFFormField& F);
  AnsiString PointList(const TgtPoints& Points) const;
  Integer FormAppearance(const AnsiString& Content, double W, double H, const AnsiString& Resources);
  void WriteRadioGroup(Integer N, std::size_t Index, TgtPDFRadioGroup& G, const AnsiString& DA);
  Integer WriteAppearance(const AnsiString& Content, double W, double H, TgtPDFFont* Font);
  void WriteMetadata();

  std::unique_ptr<TgtDocEventJSAction> FJavaScript;
  Integer FActionNumber = 0;
  bool FQueuesOpen = false;
  std::vector<std::pair<Integer, std::unique_ptr<TgtPDFAnnotation>>> FAnnotations;
  std::vector<std::pair<Integer, std::unique_ptr<TgtPDFFormField>>> FFields;
  std::vector<TgtPDFMetadataEntry> FMetadata;
  std::vector<std::pair<Integer, std::unique_ptr<TgtPDFPageAction>>> FPageActions;
  Integer FAcroFormNumber = 0, FMetadataNumber = 0;
  std::map<Integer, AnsiString> FRects;   // by object number, fixed when its page ends
  std::map<Integer, AnsiString> FShapes;  // point lists, fixed when their page ends
  // A radio group's buttons: their widgets' numbers and rectangles.
  std::map<Integer, std::vector<std::pair<Integer, AnsiString>>> FRadioWidgets;
};

// The fax codes of a 1-bit image given as rows of booleans (true = black),
// packed most significant bit first; exposed for tests.
std::string gtEncodeFax(const std::vector<std::vector<bool>>& Rows, Integer Width, bool TwoDimensional);
