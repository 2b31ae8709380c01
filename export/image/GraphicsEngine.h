// GraphicsEngine.h — TgtCustomGraphicsEngine, the base of the engines that
// write one picture per page (BMP, JPEG, PNG).
//
// Each page's items are drawn again onto a page metafile of their own
// through a metafile canvas (open from BeginPage to EndPage); a concrete
// engine's EndPage stretches that metafile into a bitmap of the scaled page
// size and writes it. Page files are named FileName + page number + "." +
// FileExtension (OnNeedFileName may rename) and go through the base's
// output files, so a document that fails leaves none of them behind.
#pragma once
#include <functional>
#include <memory>
#include "export/engine/DocumentEngine.h"

// A picture of the document image list placed at (X, Y); nothing in the
// program makes one, but the writer draws it when given.
class TgtGfxMetafileItem : public TgtDocumentItem {
public:
  double X = 0, Y = 0;
  Integer ImageIndex = -1;
};

class TgtCustomGraphicsEngine : public TgtCustomDocumentEngine {
public:
  explicit TgtCustomGraphicsEngine(TComponent* AOwner);
  ~TgtCustomGraphicsEngine() override;

  bool GetMonochrome() const { return FMonochrome; }
  void SetMonochrome(bool Value) { FMonochrome = Value; }
  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value) { FPixelFormat = Value; }
  double GetScaleX() const { return FScaleX; }
  void SetScaleX(double Value) { FScaleX = Value; }
  double GetScaleY() const { return FScaleY; }
  void SetScaleY(double Value) { FScaleY = Value; }

  // The canvas of the page being written, nil outside BeginPage..EndPage.
  TCanvas* GetPageCanvas() const { return FPageCanvas.get(); }

  // The canvas brush back to solid white without a pattern.
  void ResetCanvasBrush();
  // The canvas font turned by Angle degrees (TrueType output precision).
  void SetCanvasFontAngle(Integer Angle);

protected:
  // --- the writer's interface ---
  void StartDocument() override;
  void FinishDocument() override;
  void BeginPage() override;
  void EndPage() override;
  void EncodeTextItem(TgtTextItem* Item) override;
  void EncodeImageItem(TgtImageItem* Item) override;
  void EncodeOtherItem(TgtDocumentItem* Item) override;
  void EncodeLine(TPen* Pen, double X1, double Y1, double X2, double Y2) override;
  void EncodeRectangle(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) override;
  void EncodeRoundRect(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2, double CW,
                       double CH) override;
  void EncodeEllipse(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) override;
  void EncodePolygon(const TgtPoints& Points, bool Closed, TPen* Pen, TBrush* Brush) override;
  void EncodeArc(TPen* Pen, double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                 double Y4) override;
  void EncodePie(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                 double X4, double Y4) override;
  void EncodeChord(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                   double X4, double Y4) override;
  void EncodePolyBezier(const TgtPoints& Points, TPen* Pen) override;
  void EncodeBitmap(TBitmap* Bitmap, double X, double Y) override;

  // The finished page metafile stretched over a new bitmap of the scaled
  // page size. Format: pfDevice leaves the bitmap's own format.
  std::unique_ptr<TBitmap> PageToBitmap(TPixelFormat Format);
  // Writes this page's picture: to the user stream with OutputToUserStream,
  // otherwise to the page's file. A picture that cannot be written raises
  // EFileCreateError, and the document's files go.
  void SavePage(const std::function<void(TStream*)>& Write);
  // The page file's name without extension, after OnNeedFileName.
  AnsiString PageFileName();

private:
  // Pen and brush of a shape on the canvas; an unfilled shape leaves the
  // inside alone.
  void SelectShapeTools(TPen* Pen, TBrush* Brush);
  void AfterShape(TBrush* Brush);
  void DrawBackground(Integer W, Integer H);

  bool FMonochrome = false;
  TPixelFormat FPixelFormat = pf24bit;
  double FScaleX = 1.0, FScaleY = 1.0;
  std::unique_ptr<TMetafile> FGfxMetafile;
  std::unique_ptr<TMetafileCanvas> FPageCanvas;
};
