// CustomPdfEngine.h — TgtCustomPDFEngine, the PDF 1.4 writer of the export
// library. It writes strictly front to back: the catalog when the first page
// begins, each page's annotations, page object, content stream and images
// when the page ends, and the page tree, resources, fonts, information
// dictionary and cross-reference table at the end. The engine owns the
// output stream (unless it is the caller's), its fonts, page records and
// the encryption state; all of them live from StartDocument to the end of
// FinishDocument.
//
// Units: page items arrive in page pixels; everything in the file is in
// points (FormatNumber, four decimals, a full stop whatever the locale).
#pragma once
#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include "export/engine/PlainsheetEngine.h"
#include "export/pdf/PdfCrypt.h"
#include "export/pdf/PdfFont.h"
#include "platform/rtl/Strings.h"

enum TgtCompressionLevel : Byte { clFastest, clNormal, clMaxCompress };
enum TgtTTFontEmbedding : Byte { etfNone, etfFull, etfSubset };
enum TgtPDFFontEncoding : Byte {
  feWinAnsiEncoding, feMacRomanEncoding, feMacExpertEncoding, feStandardEncoding, fePDFDocEncoding
};
enum TgtPageLayout : Byte { plSinglePage, plOneColumn, plTwoColumnLeft, plTwoColumnRight };
enum TgtPageMode : Byte { pmUseNone, pmUseOutlines, pmUseThumbs, pmFullScreen };
enum TgtNonFullScreenPageMode : Byte { nfspmUseNone, nfspmUseOutlines, nfspmUseThumbs };
enum TgtTransitionEffect : Byte {
  teNone, teSplitHorizontalInward, teSplitHorizontalOutward, teSplitVerticalInward, teSplitVerticalOutward,
  teBlindsHorizontal, teBlindsVertical, teBoxInward, teBoxOutward, teWipeLeftToRight, teWipeBottomToTop,
  teWipeRightToLeft, teWipeTopToBottom, teDissolve, teGlitterLeftToRight, teGlitterTopToBottom,
  teGlitterTopLeftToBottomRight
};

class TgtCompression : public TPersistent {
public:
  void Assign(TPersistent* Source) override;
  bool Enabled = true;
  TgtCompressionLevel Level = clMaxCompress;
};

class TgtPDFPreferences : public TgtPlainSheetPreferences {
public:
  using TgtPlainSheetPreferences::TgtPlainSheetPreferences;
  void Assign(TPersistent* Source) override;
  TgtTTFontEmbedding GetEmbedTrueTypeFonts() const { return FEmbedTrueTypeFonts; }
  void SetEmbedTrueTypeFonts(TgtTTFontEmbedding V) { FEmbedTrueTypeFonts = V; }

private:
  TgtTTFontEmbedding FEmbedTrueTypeFonts = etfNone;
};

class TgtPresentationMode : public TPersistent {
public:
  void Assign(TPersistent* Source) override;
  Integer Duration = 1;
  TgtTransitionEffect TransitionEffect = teNone;
};

class TgtViewerPreferences : public TPersistent {
public:
  TgtViewerPreferences() : PresentationMode(std::make_unique<TgtPresentationMode>()) {}
  void Assign(TPersistent* Source) override;
  TgtPageLayout PageLayout = plOneColumn;
  TgtPageMode PageMode = pmUseNone;
  bool HideToolBar = false, HideMenuBar = false, HideWindowUI = false, FitWindow = false, CenterWindow = false;
  TgtNonFullScreenPageMode NonFullScreenPageMode = nfspmUseNone;
  std::unique_ptr<TgtPresentationMode> PresentationMode;
};

class TgtPageInfo {
public:
  Integer ObjectNumber = 0;
  double Width = 0, Height = 0;   // points
};

// One written variant of an image-list entry.
class TgtPDFImageSettings : public TgtImageSettings {
public:
  Integer ObjectNumber = 0;
  double ItemWidth = 0, ItemHeight = 0, DisplayWidth = 0, DisplayHeight = 0;
  AnsiString Name;
  // Whether this variant can be placed for Item, whose graphic is
  // GraphicWidth x GraphicHeight pixels.
  bool SameImage(TgtImageItem* Item, double GraphicWidth, double GraphicHeight) const;
};

// A request for a page's thumbnail: the picture of an image-list entry,
// written raw (kind 0, Flate when compression is on) or as JPEG (kind 1).
// Pages asking for the same picture the same way share one thumbnail.
class TgtPDFThumbnailItem : public TgtDocumentItem {
public:
  bool SameThumbnail(const TgtPDFThumbnailItem& Other) const {
    return ImageKind == Other.ImageKind && PixelFormat == Other.PixelFormat &&
           (ImageKind != 1 || JPEGQuality == Other.JPEGQuality);
  }
  Byte ImageKind = 0;
  Byte PixelFormat = pf24bit;
  Integer JPEGQuality = 100;
  Integer ImageIndex = -1;
  Integer ObjectNumber = 0;
};

class TgtCustomPDFEngine : public TgtCustomPlainsheetEngine {
public:
  explicit TgtCustomPDFEngine(TComponent* AOwner);
  ~TgtCustomPDFEngine() override;
  std::unique_ptr<TgtPreferences> GetPreferencesClass() override;
  TgtPDFPreferences* GetPreferences() const;

  bool GetBiDi() const { return FBiDi; }
  void SetBiDi(bool V) { FBiDi = V; }
  TStringList* GetFontEmbedExcludeList() const { return FFontEmbedExcludeList.get(); }
  void SetFontEmbedExcludeList(TStrings* V) { FFontEmbedExcludeList->Assign(V); }
  TgtCompression* GetCompression() const { return FCompression.get(); }
  TgtViewerPreferences* GetViewerPreferences() const { return FViewerPreferences.get(); }
  TgtPDFEncryptionSettings* GetEncryption() const { return FEncryption.get(); }
  TgtPDFFontEncoding GetFontEncoding() const { return FFontEncoding; }
  void SetFontEncoding(TgtPDFFontEncoding V) { FFontEncoding = V; }

  // Gives page PageNo (1-based) of the open document the picture of
  // image-list entry ImageIndex as its thumbnail; a later request for the
  // same page replaces it. Nothing without an open document.
  void AddThumbnail(Integer PageNo, Integer ImageIndex, Byte ImageKind = 0, TPixelFormat PixelFormat = pf24bit,
                    Integer JPEGQuality = 100);

  // --- new virtual operations ------------------------------------------------------
  virtual void BuildCatalog(AnsiString& Text);
  virtual void BuildPageObject(AnsiString& Text);
  virtual void BuildEncryptDictionary();
  virtual void BuildTrailer(AnsiString& Text);
  virtual void EncryptStream(std::string& Data, Integer ObjectNumber);
  virtual AnsiString EncryptString(const AnsiString& Text, Integer ObjectNumber);
  // The CCITT encoder of monochrome images; the base has none (null).
  virtual std::unique_ptr<TMemoryStream> EncodeCCITT(TBitmap* Bitmap, TgtOutputImageFormat Format);

  // --- object primitives ---------------------------------------------------------------
  static AnsiString FormatNumber(double V);
  static AnsiString ObjectHeader(Integer N) { return std::to_string(N) + " 0 obj"; }
  static AnsiString ObjectRef(Integer N) { return std::to_string(N) + " 0 R"; }
  Integer NextObjectNumber() { return ++FObjectCount; }
  Integer GetObjectCount() const { return FObjectCount; }
  void WriteObject(const AnsiString& Text, Integer N, bool Close);
  // The deflated (or copied) data.
  std::string CompressData(const std::string& Data) const;
  AnsiString FilterEntry(TgtOutputImageFormat Format) const;
  AnsiString TextString(const WideString& Text, Integer ObjectNumber);
  double ToPDFX(double X) const;
  double ToPDFY(double Y) const;
  const AnsiString& GetCreationDate() const { return FCreationDate; }
  // "+hh'mm'" of a bias in minutes as the time-zone calls give it (UTC = local + bias).
  static AnsiString ZoneText(Integer BiasMinutes);

protected:
  // --- the writer's interface -------------------------------------------------------------
  void StartDocument() override;
  void BeginPage() override;
  void EndPage() override;
  void FinishDocument() override;
  void EncodeTextItem(TgtTextItem* Item) override;
  void EncodeImageItem(TgtImageItem* Item) override;
  void EncodeImageStreamItem(TgtImageStream* Item) override;
  void EncodeClipItem(TgtClipItem* Item) override;
  void EncodePathItem(TgtPathItem* Item) override;
  void EncodeEOFItem(TgtEOFItem* Item) override;
  void EncodePolyPolygonItem(TgtPolyPolygonItem* Item) override;
  void EncodePolyDrawItem(TgtPolyDrawItem* Item) override;
  void EncodeLine(TPen* Pen, double X1, double Y1, double X2, double Y2) override;
  void EncodeRectangle(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) override;
  void EncodeRoundRect(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2, double CW,
                       double CH) override;
  void EncodeEllipse(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) override;
  void EncodePolygon(const TgtPoints& Points, bool Closed, TPen* Pen, TBrush* Brush) override;
  void EncodePolyShape(TgtPolyShapeItem* Item, bool Closed) override;
  void EncodeArc(TPen* Pen, double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                 double Y4) override;
  void EncodePie(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                 double X4, double Y4) override;
  void EncodeChord(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                   double X4, double Y4) override;
  void EncodePolyBezier(const TgtPoints& Points, TPen* Pen) override;
  bool ValidateOutputImageFormat(TgtOutputImageFormat Format, AnsiString& Message) override;

  void WriteRaw(const std::string& S);
  Int64 OutputSize() const { return FOutputSize; }
  std::string& Content() { return FContent; }
  Integer CurrentPageInfoNumber() const;
  AnsiString& AnnotationRefs() { return FAnnotationRefs; }
  TgtPDFFont* FontFor(TFont* Font, bool Fallback = false);
  Integer FontIndex(const TgtPDFFont* Font) const;
  // The page object number of page PageNo (1-based), 0 when it has none.
  Integer PageObjectNumber(Integer PageNo) const {
    return PageNo >= 1 && std::size_t(PageNo) <= FPageInfos.size() && FPageInfos[std::size_t(PageNo - 1)]
               ? FPageInfos[std::size_t(PageNo - 1)]->ObjectNumber
               : 0;
  }

private:
  // Graphics helpers (CustomPdfEngine_Graphics.cpp).
  AnsiString Pt(double X, double Y) const;
  AnsiString ColorText(TColor C) const;
  AnsiString DashPattern(TPen* Pen) const;
  AnsiString LineWidth(TPen* Pen) const;
  AnsiString PatternName(TBrushStyle Style);
  AnsiString FillColor(TBrush* Brush);
  AnsiString StrokeSetup(TPen* Pen) const;
  static bool PenPaints(TPen* Pen);
  static bool BrushPaints(TBrush* Brush);
  void WriteItem(const AnsiString& Ops, bool IsLine = false);
  AnsiString EllipsePath(double L, double T, double R, double B) const;
  AnsiString ArcPath(TPen* Pen, double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                     double Y4, double& CX, double& CY) const;
  void AppendToPath(const AnsiString& Ops, double SX, double SY);
  AnsiString PathColors(TgtPathItem* Item);
  void WriteBackground();
  void WriteOutlines();
  void WritePatterns();
  // Text helpers (CustomPdfEngine_Text.cpp).
  TgtPDFFont* FallbackFontFor(char32_t C, const TFont& Font);
  AnsiString CompositeText(TgtPDFFont* Primary, const WideString& Text, TgtTextItem* Item, double TfSize);
  void WriteFonts();
  void WriteLinks(TgtTextItem* Item, const WideString& Text, double X0, double Y0, TFont* Font);
  // Images (CustomPdfEngine_Images.cpp).
  void WriteImageObject(Integer N, const AnsiString& Name, Integer W, Integer H, TgtOutputImageFormat Format,
                        std::string Data);
  void PlaceImage(const AnsiString& Name, TgtImageItem* Item);
  std::array<TgtDoublePoint, 4> FrameCorners(TgtImageItem* Item) const;
  // The background fill and frame lines of a picture with DrawFrame.
  void DrawImageFrame(TgtImageItem* Item);
  void WriteBackgroundImage();
  // The object number of the current page's thumbnail, 0 when it has none.
  Integer PageThumbnail();
  void WriteThumbnails();

  // Output
  TStream* FOutput = nullptr;
  Int64 FOutputSize = 0;
  std::vector<std::pair<Int64, Integer>> FOffsets;   // (offset, object number) in writing order
  Integer FObjectCount = 0;
  std::vector<std::unique_ptr<TgtPageInfo>> FPageInfos;
  Integer FContentsNumber = 0, FLengthNumber = 0;
  std::string FContent;
  std::string FDeferred;
  std::vector<std::pair<Int64, Integer>> FDeferredOffsets;
  AnsiString FAnnotationRefs;
  bool FCatalogWritten = false;
  // Resources
  std::vector<std::unique_ptr<TgtPDFFont>> FFonts;
  std::vector<TgtPDFFont*> FFallbackFaces;   // the first resource of each face fallen back to
  std::set<char32_t> FNoFace;                 // characters no installed face carries
  std::vector<std::vector<std::unique_ptr<TgtPDFImageSettings>>> FImageVariants;
  std::vector<std::pair<AnsiString, Integer>> FPatterns;
  Integer FBackgroundImageNumber = -1;
  std::map<Integer, TgtPDFThumbnailItem> FThumbnailRequests;   // by page number
  // Per image index, the thumbnails given to pages, each with its number.
  std::map<Integer, std::vector<TgtPDFThumbnailItem>> FThumbnails;
  Integer FThumbNumber = 0;   // of the page being written
  double FBackW = 0, FBackH = 0, FBackX = 0, FBackY = 0;
  std::unique_ptr<TgtPDFEncryption> FCrypt;
  Integer FEncryptNumber = 0;
  Integer FOutlineRoot = 0;
  AnsiString FCreationDate;
  double FPointsPerPixel;
  // Graphics state of the page
  bool FClipActive = false;
  // Where EMF path brackets stand: drawing calls add to FOpenPath while
  // Recording; Ended waits for the stroke, fill or clip that uses the path.
  enum class TPathState : Byte { Recording, Ended, None };
  TPathState FPathState = TPathState::None;
  bool FFigureClosed = false, FNewSubpath = true, FPathClipActive = false;
  AnsiString FOpenPath;
  double FSubpathX = 0, FSubpathY = 0;
  Integer FOpenSaves = 0;   // "q" written by clips and not yet closed
  // Settings
  bool FBiDi = false;
  std::unique_ptr<TStringList> FFontEmbedExcludeList;
  std::unique_ptr<TgtCompression> FCompression;
  std::unique_ptr<TgtViewerPreferences> FViewerPreferences;
  std::unique_ptr<TgtPDFEncryptionSettings> FEncryption;
  TgtPDFFontEncoding FFontEncoding = feWinAnsiEncoding;
};
