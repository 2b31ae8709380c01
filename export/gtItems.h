// gtItems.h — page items: what the metafile player and the drawing interface
// make, the engine keeps per page and band, and the writers receive through
// the encode operations. Coordinates are doubles in page pixels. Every item
// owns its font, pen, brush and settings copies.
//
// Lists hold shared pointers: a table that runs over several pages sits in
// each of those pages' lists, and lives until the last of them lets go.
#pragma once
#include <memory>
#include <vector>
#include "export/gtClasses.h"
#include "export/gtSettings.h"
#include "platform/gdi/GraphicsObjects.h"

class TgtCustomDocumentEngine;

struct TgtDoublePoint {
  double X = 0, Y = 0;
  friend bool operator==(const TgtDoublePoint&, const TgtDoublePoint&) = default;
};
using TgtPoints = std::vector<TgtDoublePoint>;

class TgtDocumentItem {
public:
  virtual ~TgtDocumentItem() = default;
};
using TgtItemRef = std::shared_ptr<TgtDocumentItem>;
using TgtItemList = std::vector<TgtItemRef>;

class TgtTextItem : public TgtDocumentItem {
public:
  double X = 0, Y = 0;
  TWideStrings Lines;
  Integer Angle = 0;
  TFont Font;
  TBrush Brush;
  TgtTextEffects TextEffects;
  bool GetClipped() const { return FClipped; }
  // Clearing the flag clears the rectangle.
  void SetClipped(bool Value) {
    FClipped = Value;
    if (!Value) ClipRect = {};
  }
  TgtDoubleRect ClipRect;
  Byte Alignment = 0;
  bool FromMetafile = false;
  std::vector<double> CharAdvances;

private:
  bool FClipped = false;
};

class TgtTextBoxItem : public TgtTextItem {
public:
  TgtTextBoxItem() : Frame(nullptr) {}
  double BoxWidth = 0, BoxHeight = 0;
  TgtFrame Frame;
  Byte HorzAlignment = 0, VertAlignment = 0;
  TPen Pen;
};

class TgtImageItem : public TgtDocumentItem {
public:
  TgtImageItem() : Frame(nullptr), ImageSettings(nullptr) {}
  // From a rectangle of any corner order.
  void SetRect(double L, double T, double R, double B);
  double X = 0, Y = 0, Width = 0, Height = 0;
  Integer ImageIndex = -1;
  TgtFrame Frame;
  TPen Pen;
  TBrush Brush;
  TgtImageSettings ImageSettings;
  TgtDoubleRect DisplayRect;
};

class TgtImageStream : public TgtImageItem {
public:
  TMemoryStream Stream;
  Integer ImageWidth = 0, ImageHeight = 0;
};

enum TgtShapeType : Byte {
  stLine, stRectangle, stRoundRect, stEllipse, stPolygon, stPolyline, stArc, stChord, stPie, stBezier
};

class TgtShapeItem : public TgtDocumentItem {
public:
  // Present only for a filled shape.
  std::unique_ptr<TBrush> Brush;
  TPen Pen;
  TgtShapeType ShapeType = stLine;
  TgtPoints Points;
  Integer PointCount() const { return Integer(Points.size()); }
};

class TgtPolyShapeItem : public TgtDocumentItem {
public:
  std::vector<std::unique_ptr<TgtShapeItem>> Shapes;
  bool Alternate = false;
};

class TgtPolyPolygonItem : public TgtDocumentItem {
public:
  TBrush Brush;
  TPen Pen;
  bool Alternate = false;
  // Entry 0: total points; entries 1..PolygonCount: points per polygon.
  std::vector<Integer> Counts;
  TgtPoints Points;
  Integer PolygonCount() const { return Counts.empty() ? 0 : Integer(Counts.size()) - 1; }
};

class TgtPolyDrawItem : public TgtDocumentItem {
public:
  TBrush Brush;
  TPen Pen;
  std::vector<Byte> PointTypes;
  TgtPoints Points;
  Integer PointCount() const { return Integer(Points.size()); }
};

enum TgtClipKind : Byte { ckSet = 0, ckReset = 1 };

class TgtClipItem : public TgtDocumentItem {
public:
  TBrush Brush;
  TPen Pen;
  Byte ClipKind = ckSet;
  Integer CombineMode = 0;
  std::vector<TRect> Rects;
  Integer RectCount() const { return Integer(Rects.size()); }
  TRect GetRect(Integer Index) const {
    return Index >= 0 && Index < RectCount() ? Rects[std::size_t(Index)] : TRect();
  }
};

// Path brackets and operations, in the order the player numbers them.
enum TgtPathCommand : Byte {
  pcBeginPath, pcEndPath, pcCloseFigure, pcAbortPath, pcFillPath, pcStrokeAndFillPath, pcStrokePath,
  pcSelectClipPath
};

class TgtPathItem : public TgtDocumentItem {
public:
  std::unique_ptr<TBrush> Brush;   // nil until assigned
  std::unique_ptr<TPen> Pen;
  Byte PathCommand = pcBeginPath;
  bool Alternate = false;
  Integer CombineMode = 0;         // of a clip-path item
  void AssignPen(TPen* Source);
  void AssignBrush(TBrush* Source);
};

class TgtEOFItem : public TgtDocumentItem {
public:
  bool Flag = false;
};

// The items of one band or page. Destroying a band drops its references.
class TgtBandItem {
public:
  virtual ~TgtBandItem() = default;
  TgtItemList Items;
  TgtItemList TextItems;
  double ParagraphCursor = 0;
};

class TgtPageItem : public TgtBandItem {
public:
  explicit TgtPageItem(TgtCustomDocumentEngine* Engine) : FEngine(Engine) {}
  TgtCustomDocumentEngine* Engine() const { return FEngine; }
  TgtPageSettings PageSettings;   // a pixel copy (factor 1.0) of the engine's Page

private:
  TgtCustomDocumentEngine* FEngine;
};
