// SvgEngine.h — TgtSVGEngine: one SVG file per page. Text items become text
// elements with inline CSS (web addresses as links), shapes SVG shapes
// (hatched brushes as patterns defined once per page), and pictures side
// files that image elements name.
//
// Files are UTF-8 and say so. Side files sit beside the page files, are
// named F_c_I.png/.jpg (image items) and F_c_S.png (shapes the base can only
// rasterise, kept transparent around the shape), and join the document's
// output files, so a document that fails takes them away with its pages.
#pragma once
#include <map>
#include <memory>
#include <vector>
#include "export/engine/PlainsheetEngine.h"

// One side file written for an image of the document image list.
class TgtSVGImageSettings : public TgtImageSettings {
public:
  TgtSVGImageSettings() : TgtImageSettings(nullptr) {}
  AnsiString FileName;  // without its folder
  double DispWidth = 0, DispHeight = 0, ImageWidth = 0, ImageHeight = 0;
};

class TgtSVGEngine : public TgtCustomPlainsheetEngine {
public:
  explicit TgtSVGEngine(TComponent* AOwner);
  ~TgtSVGEngine() override;
  // The "SVG Setup" dialog (export/dialogs).
  Word ShowSetupDialog() override;

  // Full names of every side file this engine wrote.
  const std::vector<AnsiString>& GetSideFiles() const { return FSideFiles; }

protected:
  // --- the writer's interface ---
  bool ValidateOutputImageFormat(TgtOutputImageFormat Format, AnsiString& Message) override;
  void StartDocument() override;
  void FinishDocument() override;
  void BeginPage() override;
  void EndPage() override;
  void EncodeTextItem(TgtTextItem* Item) override;
  void EncodeImageItem(TgtImageItem* Item) override;
  void EncodeBitmap(TBitmap* Bitmap, double X, double Y) override;
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

private:
  void Write(const AnsiString& Text);
  void Shape(const AnsiString& Start, TPen* Pen, TBrush* Brush);
  AnsiString Paint(TPen* Pen, TBrush* Brush);
  AnsiString ArcPath(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4);
  void SetRotation(Integer Angle, double X, double Y);
  // Writes Bytes to a new side file Base + Ext and answers its name part.
  AnsiString WriteSideFile(const AnsiString& Base, const AnsiString& Ext, TMemoryStream& Bytes);
  bool Matches(const TgtSVGImageSettings& S, const TgtImageItem& Item, double GW, double GH) const;

  TStream* FPage = nullptr;
  Integer FSideCounter = 1;
  std::vector<AnsiString> FSideFiles;
  std::vector<AnsiString> FPatterns;
  AnsiString FPatternDefs;
  Integer FAngle = 0;
  double FAngleX = 0, FAngleY = 0;
  std::map<Integer, std::vector<std::unique_ptr<TgtSVGImageSettings>>> FSideImages;
};

extern const char* const SSVGDescription;
extern const char* const SSVGImageFormats;
