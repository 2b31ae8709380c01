// PageItems.h — page items: what the metafile player and the drawing interface
// make, the engine keeps per page and band, and the writers receive through
// the encode operations. Coordinates are doubles in page pixels. Every item
// owns its font, pen, brush and settings copies.
//
// Lists hold shared pointers: a table that runs over several pages sits in
// each of those pages' lists, and lives until the last of them lets go.
#pragma once
#include <memory>
#include <vector>
#include "export/engine/Containers.h"
#include "export/engine/EngineSettings.h"
#include "platform/gdi/DrawingTools.h"

class TgtCustomDocumentEngine;

struct TgtDoublePoint {
  double X = 0, Y = 0;
  friend bool operator==(const TgtDoublePoint&, const TgtDoublePoint&) = default;
};
using TgtPoints = std::vector<TgtDoublePoint>;

// What an item is, for dispatch: a switch over the kinds lets the compiler
// name a kind that a writer's dispatch forgot. Every item class answers its
// own kind; a class derived from one of these keeps its base's kind (a
// spreadsheet's formatted text is still text). Items only one engine knows
// (its own additions) are Other and reach that engine's EncodeOtherItem.
enum class TgtItemKind : Byte {
  Other, Text, TextBox, Image, ImageStream, Shape, PolyShape, PolyPolygon, PolyDraw, Clip, Path, EndOfFile,
  Paragraph, Table
};

class TgtDocumentItem {
public:
  virtual ~TgtDocumentItem() = default;
  virtual TgtItemKind Kind() const { return TgtItemKind::Other; }
};
using TgtItemRef = std::shared_ptr<TgtDocumentItem>;
using TgtItemList = std::vector<TgtItemRef>;

class TgtTextItem : public TgtDocumentItem {
public:
  TgtItemKind Kind() const override { return TgtItemKind::Text; }
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
  TgtItemKind Kind() const override { return TgtItemKind::TextBox; }
  TgtTextBoxItem() : Frame(nullptr) {}
  double BoxWidth = 0, BoxHeight = 0;
  TgtFrame Frame;
  Byte HorzAlignment = 0, VertAlignment = 0;
  TPen Pen;
};

class TgtImageItem : public TgtDocumentItem {
public:
  TgtItemKind Kind() const override { return TgtItemKind::Image; }
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
  TgtItemKind Kind() const override { return TgtItemKind::ImageStream; }
  TMemoryStream Stream;
  Integer ImageWidth = 0, ImageHeight = 0;
};

// Scoped: the class library's TShapeType (TShape) has enumerators of the
// same names, and a unit may need both.
enum class TgtShapeType : Byte {
  stLine, stRectangle, stRoundRect, stEllipse, stPolygon, stPolyline, stArc, stChord, stPie, stBezier
};

class TgtShapeItem : public TgtDocumentItem {
public:
  TgtItemKind Kind() const override { return TgtItemKind::Shape; }
  // Present only for a filled shape.
  std::unique_ptr<TBrush> Brush;
  TPen Pen;
  TgtShapeType ShapeType = TgtShapeType::stLine;
  TgtPoints Points;
  Integer PointCount() const { return Integer(Points.size()); }
};

class TgtPolyShapeItem : public TgtDocumentItem {
public:
  TgtItemKind Kind() const override { return TgtItemKind::PolyShape; }
  std::vector<std::unique_ptr<TgtShapeItem>> Shapes;
  bool Alternate = false;
};

class TgtPolyPolygonItem : public TgtDocumentItem {
public:
  TgtItemKind Kind() const override { return TgtItemKind::PolyPolygon; }
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
  TgtItemKind Kind() const override { return TgtItemKind::PolyDraw; }
  TBrush Brush;
  TPen Pen;
  std::vector<Byte> PointTypes;
  TgtPoints Points;
  Integer PointCount() const { return Integer(Points.size()); }
};

enum TgtClipKind : Byte { ckSet = 0, ckReset = 1 };

class TgtClipItem : public TgtDocumentItem {
public:
  TgtItemKind Kind() const override { return TgtItemKind::Clip; }
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
  TgtItemKind Kind() const override { return TgtItemKind::Path; }
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
  TgtItemKind Kind() const override { return TgtItemKind::EndOfFile; }
  bool Flag = false;
};

// The item as text (a text box is text too), or nil for any other item
// and for nil.
inline TgtTextItem* AsTextItem(TgtDocumentItem* Item) {
  if (!Item) return nullptr;
  const TgtItemKind K = Item->Kind();
  return K == TgtItemKind::Text || K == TgtItemKind::TextBox ? static_cast<TgtTextItem*>(Item) : nullptr;
}
// The item as an image (an image stream is an image too), or nil.
inline TgtImageItem* AsImageItem(TgtDocumentItem* Item) {
  if (!Item) return nullptr;
  const TgtItemKind K = Item->Kind();
  return K == TgtItemKind::Image || K == TgtItemKind::ImageStream ? static_cast<TgtImageItem*>(Item) : nullptr;
}

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
