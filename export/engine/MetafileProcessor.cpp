// MetafileProcessor.cpp — playback, the record dispatch, coordinate
// mapping, and the vector, path, clipping and end-of-file records.
#include "export/engine/MetafileProcessor.h"
#include <cmath>
#include "platform/gdi/Emf.h"
#include "platform/gdi/EmfMapping.h"

TgtMetafileProcessor::TgtMetafileProcessor(TgtCustomDocumentEngine& Engine) : FEngine(Engine) {
  const Word Caps = Engine.GetCapabilities();
  const TgtItemsToRender Items = Engine.GetItemsToRender();
  FTextOn = (Items & (1 << irText)) && (Caps & capText);
  FImagesOn = (Items & (1 << irImage)) && (Caps & capImages);
  FShapesOn = (Items & (1 << irShape)) && (Caps & capShapes);
  const double P = gtScreenPPI();
  FKx = Engine.GetInputXRes() > 0 ? P / Engine.GetInputXRes() : 1.0;
  FKy = Engine.GetInputYRes() > 0 ? P / Engine.GetInputYRes() : 1.0;
  UpdateMappingScale();
}

TgtMetafileProcessor::~TgtMetafileProcessor() = default;

TgtItemList& TgtMetafileProcessor::TextList() {
  return FEngine.GetSplitTextList() ? FEngine.CurrentTextItems() : FEngine.CurrentItems();
}

void TgtMetafileProcessor::Play(const TMetafile& Metafile, double X, double Y) {
  auto Bytes = EmfBytes(Metafile.GetHandle());
  if (Bytes) PlayBytes(*Bytes, X, Y);
}

void TgtMetafileProcessor::PlayBytes(const std::vector<Byte>& Bytes, double X, double Y) {
  FOriginX = X;
  FOriginY = Y;
  try {
    EmfValidate(Bytes);
  } catch (const EEmfError&) {
    return;  // not a metafile: nothing to play
  }
  EmfForEachRecord(Bytes, [this](const TEmfRecord& Rec) {
    PlayRecord(Rec);
    return true;
  });
}

void TgtMetafileProcessor::PlayRecord(const TEmfRecord& Rec) {
  try {
    Dispatch(Rec);
  } catch (const EEmfError&) {
    // A record whose fields run outside it changes nothing.
  }
}

// ---- mapping ---------------------------------------------------------------------------

TgtDoublePoint TgtMetafileProcessor::ApplyWorldTransform(double X, double Y) const {
  return {X * FXForm.eM11 + Y * FXForm.eM21 + FXForm.eDx, X * FXForm.eM12 + Y * FXForm.eM22 + FXForm.eDy};
}

TgtDoublePoint TgtMetafileProcessor::TransformPoint(double X, double Y) const {
  TgtDoublePoint W = ApplyWorldTransform(X, Y);
  if (IsoMode())
    return {(W.X - FWindowOrg.X) * FScaleX * FKx + FViewportOrg.X,
            (W.Y - FWindowOrg.Y) * FScaleY * FKy + FViewportOrg.Y};
  return {W.X - FWindowOrg.X + FViewportOrg.X, W.Y - FWindowOrg.Y + FViewportOrg.Y};
}

TgtDoubleRect TgtMetafileProcessor::TransformRect(const TgtDoubleRect& R) const {
  TgtDoublePoint A = TransformPoint(R.Left, R.Top), B = TransformPoint(R.Right, R.Bottom);
  return {A.X, A.Y, B.X, B.Y};
}

TgtDoublePoint TgtMetafileProcessor::T(TPoint P) const { return T(P.X, P.Y); }

TgtDoublePoint TgtMetafileProcessor::T(double X, double Y) const {
  TgtDoublePoint P = TransformPoint(X, Y);
  return {P.X + FOriginX, P.Y + FOriginY};
}

void TgtMetafileProcessor::UpdateMappingScale() {
  if (!IsoMode()) return;
  // A zero extent maps nothing; keep the last usable scale.
  if (FWindowExt.X != 0) FScaleX = double(FViewportExt.X) / FWindowExt.X;
  if (FWindowExt.Y != 0) FScaleY = double(FViewportExt.Y) / FWindowExt.Y;
}

double TgtMetafileProcessor::ScaleWidth(double W) const {
  if (IsoMode()) {
    const double K = std::nearbyint(FViewportExt.X / FKx);
    if (FWindowExt.X != 0) W = std::nearbyint(W * K / FWindowExt.X * FKx);
  }
  return W * FXForm.eM11;
}

namespace {
TgtDoubleRect DRect(const TRect& R) { return {double(R.Left), double(R.Top), double(R.Right), double(R.Bottom)}; }
}  // namespace

// ---- dispatch ---------------------------------------------------------------------------

void TgtMetafileProcessor::Dispatch(const TEmfRecord& Rec) {
  switch (Rec.Type()) {
    case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYBEZIERTO: case EMR_POLYBEZIER16:
    case EMR_POLYGON16: case EMR_POLYLINE16: case EMR_POLYLINETO16: case EMR_POLYBEZIERTO16:
      PlayPoly(Rec);
      break;
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON: case EMR_POLYPOLYLINE16: case EMR_POLYPOLYGON16:
      PlayPolyPoly(Rec);
      break;
    case EMR_SETWINDOWEXTEX: FWindowExt = TEmrPointL::Read(Rec).Pt; UpdateMappingScale(); break;
    case EMR_SETWINDOWORGEX: FWindowOrg = TEmrPointL::Read(Rec).Pt; break;
    case EMR_SETVIEWPORTEXTEX: FViewportExt = TEmrPointL::Read(Rec).Pt; UpdateMappingScale(); break;
    case EMR_SETVIEWPORTORGEX: FViewportOrg = TEmrPointL::Read(Rec).Pt; break;
    case EMR_EOF: {
      auto Item = std::make_shared<TgtEOFItem>();
      Item->Flag = true;
      FEngine.CurrentItems().push_back(Item);
      FClipSet = false;
      FVisibleSet = false;
      break;
    }
    case EMR_SETMAPMODE:
      FMapMode = Integer(TEmrDword::Read(Rec).Value);
      if (FMapMode == MM_TEXT) {
        FWindowOrg = FViewportOrg = TPoint();
        FWindowExt = FViewportExt = TPoint(1, 1);
        FScaleX = FScaleY = 1;
      }
      break;
    case EMR_SETBKMODE: FBkMode = Integer(TEmrDword::Read(Rec).Value & 0xFF); break;
    case EMR_SETPOLYFILLMODE: FPolyFillMode = Integer(TEmrDword::Read(Rec).Value); break;
    case EMR_SETROP2: FRop2 = Integer(TEmrDword::Read(Rec).Value); break;
    case EMR_SETTEXTCOLOR: FTextColor = TEmrDword::Read(Rec).Value; break;
    case EMR_SETBKCOLOR: FBkColor = TEmrDword::Read(Rec).Value; break;
    case EMR_SETTEXTALIGN: FTextAlign = TextAlignFromMode(TEmrDword::Read(Rec).Value); break;
    case EMR_MOVETOEX:
      FCurPos = TEmrPointL::Read(Rec).Pt;
      FCurPosAdvance = 0;
      break;
    case EMR_INTERSECTCLIPRECT:
      FClipRect = TransformRect(DRect(TEmrRectL::Read(Rec).Rect));
      FClipSet = true;
      {
        TgtDoubleRect V = FClipRect;
        if (V.Left > V.Right) std::swap(V.Left, V.Right);
        if (V.Top > V.Bottom) std::swap(V.Top, V.Bottom);
        if (FVisibleSet)
          V = {std::max(V.Left, FVisible.Left), std::max(V.Top, FVisible.Top), std::min(V.Right, FVisible.Right),
               std::min(V.Bottom, FVisible.Bottom)};
        FVisible = V;
        FVisibleSet = true;
      }
      break;
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
      auto S = TEmrScaleExt::Read(Rec);
      if (S.xDenom == 0 || S.yDenom == 0) break;   // no scale to take
      TPoint& E = Rec.Type() == EMR_SCALEVIEWPORTEXTEX ? FViewportExt : FWindowExt;
      E.X = Integer(Int64(E.X) * S.xNum / S.xDenom);
      E.Y = Integer(Int64(E.Y) * S.yNum / S.yDenom);
      UpdateMappingScale();
      break;
    }
    case EMR_SAVEDC: SaveDCState(); break;
    case EMR_RESTOREDC:
      RestoreDCState(Integer(TEmrDword::Read(Rec).Value));
      break;
    case EMR_SETWORLDTRANSFORM: FXForm = TEmrXForm::Read(Rec).XForm; break;
    case EMR_MODIFYWORLDTRANSFORM: {
      auto X = TEmrXForm::Read(Rec);
      switch (X.Mode) {
        case MWT_IDENTITY: FXForm = TEmfXForm(); break;
        case MWT_LEFTMULTIPLY: FXForm = EmfCombine(X.XForm, FXForm); break;
        case MWT_RIGHTMULTIPLY: FXForm = EmfCombine(FXForm, X.XForm); break;
        default: FXForm = X.XForm;
      }
      break;
    }
    case EMR_SELECTOBJECT: SelectObject(TEmrDword::Read(Rec).Value); break;
    case EMR_CREATEPEN: case EMR_EXTCREATEPEN: CreatePen(Rec); break;
    case EMR_CREATEBRUSHINDIRECT: CreateBrush(Rec); break;
    case EMR_CREATEMONOBRUSH: case EMR_CREATEDIBPATTERNBRUSHPT: CreateDibBrush(Rec); break;
    case EMR_DELETEOBJECT: DeleteObject(TEmrDword::Read(Rec).Value); break;
    case EMR_SELECTPALETTE: {
      DWORD Index = TEmrDword::Read(Rec).Value;
      if (Index & ENHMETA_STOCK_OBJECT) SelectStockObject(Index & ~ENHMETA_STOCK_OBJECT);
      else if (Index >= 1 && Index <= FObjects.size()) FPalette = FObjects[Index - 1]->Palette;
      break;
    }
    case EMR_CREATEPALETTE: {
      auto P = TEmrCreatePalette::Read(Rec);
      auto Obj = std::make_unique<TgtGDIOBJ>(gkPalette);
      Obj->Palette.Version = 0x300;
      Obj->Palette.Count = Word(P.Entries.size());
      Obj->Palette.FirstEntry = P.Entries.empty() ? 0 : P.Entries[0];
      StoreObject(P.ihPal, std::move(Obj));
      break;
    }
    case EMR_ELLIPSE: {
      if (!FShapesOn) break;
      TRect R = TEmrRectL::Read(Rec).Rect;
      AddShape(TgtShapeType::stEllipse, {T(R.Left, R.Top), T(R.Right, R.Bottom)});
      break;
    }
    case EMR_RECTANGLE: {
      if (!FShapesOn) break;
      TRect R = TEmrRectL::Read(Rec).Rect;
      AddShape(TgtShapeType::stRectangle, {T(R.Left, R.Top), T(R.Right, R.Bottom)});
      break;
    }
    case EMR_ROUNDRECT: {
      if (!FShapesOn) break;
      auto R = TEmrRoundRect::Read(Rec);
      AddShape(TgtShapeType::stRoundRect, {T(R.Box.Left, R.Box.Top), T(R.Box.Right, R.Box.Bottom),
                             {R.Corner.cx * FScaleX, R.Corner.cy * FScaleY}});
      break;
    }
    case EMR_ARC: case EMR_CHORD: case EMR_PIE: {
      if (!FShapesOn) break;
      auto A = TEmrArc::Read(Rec);
      TgtShapeType Type = Rec.Type() == EMR_ARC ? TgtShapeType::stArc : Rec.Type() == EMR_CHORD ? TgtShapeType::stChord : TgtShapeType::stPie;
      AddShape(Type, {T(A.Box.Left, A.Box.Top), T(A.Box.Right, A.Box.Bottom), T(A.Start), T(A.End)});
      break;
    }
    case EMR_LINETO: {
      TPoint P = TEmrPointL::Read(Rec).Pt;
      if (FShapesOn) AddShape(TgtShapeType::stLine, {T(FCurPos), T(P)});
      FCurPos = P;
      FCurPosAdvance = 0;
      break;
    }
    case EMR_BEGINPATH: AddPath(pcBeginPath, Rec); break;
    case EMR_ENDPATH: AddPath(pcEndPath, Rec); break;
    case EMR_CLOSEFIGURE: AddPath(pcCloseFigure, Rec); break;
    case EMR_FILLPATH: AddPath(pcFillPath, Rec); break;
    case EMR_STROKEANDFILLPATH: AddPath(pcStrokeAndFillPath, Rec); break;
    case EMR_STROKEPATH: AddPath(pcStrokePath, Rec); break;
    case EMR_SELECTCLIPPATH: AddPath(pcSelectClipPath, Rec); break;
    case EMR_ABORTPATH: AddPath(pcAbortPath, Rec); break;
    case EMR_FILLRGN: {
      if (!FShapesOn) break;
      auto R = TEmrRegion::Read(Rec);
      const TRect& B = R.Region.Bound;
      auto Shape = std::make_shared<TgtShapeItem>();
      Shape->ShapeType = TgtShapeType::stRectangle;
      Shape->Brush = std::make_unique<TBrush>();
      if (R.ihBrush & ENHMETA_STOCK_OBJECT) {
        // A stock brush: the colours of SelectStockObject.
        TBrush Saved;
        Saved.Assign(&FBrush);
        SelectStockObject(R.ihBrush & ~ENHMETA_STOCK_OBJECT);
        Shape->Brush->Assign(&FBrush);
        FBrush.Assign(&Saved);
      } else if (R.ihBrush >= 1 && R.ihBrush <= FObjects.size()) {
        Shape->Brush->Assign(&FObjects[R.ihBrush - 1]->Brush);
      }
      Shape->Pen.SetWidth(0);
      Shape->Points = {{B.Left + FOriginX, B.Top + FOriginY}, {B.Right + FOriginX, B.Bottom + FOriginY}};
      FEngine.CurrentItems().push_back(Shape);
      break;
    }
    case EMR_EXTSELECTCLIPRGN: PlayClipRegion(Rec); break;
    case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_MASKBLT: case EMR_STRETCHDIBITS: PlayBlt(Rec); break;
    case EMR_SETDIBITSTODEVICE: PlayDIBitsToDevice(Rec); break;
    case EMR_ALPHABLEND: case EMR_TRANSPARENTBLT: case EMR_GRADIENTFILL: PlayPaintedRecord(Rec); break;
    case EMR_EXTCREATEFONTINDIRECTW: CreateFont(Rec); break;
    case EMR_EXTTEXTOUTA: case EMR_EXTTEXTOUTW: PlayText(Rec); break;
    case EMR_POLYDRAW16: {
      auto P = TEmrPolyDraw::Read(Rec);
      if (P.Points.empty()) break;
      auto Item = std::make_shared<TgtPolyDrawItem>();
      Item->Pen.Assign(&FPen);
      Item->Brush.Assign(&FBrush);
      for (const TPoint& Pt : P.Points) Item->Points.push_back(TransformPoint(Pt.X, Pt.Y));
      Item->PointTypes = P.Types;
      Item->PointTypes.resize(Item->Points.size());
      FEngine.CurrentItems().push_back(Item);
      break;
    }
    default:
      break;   // header, comments and the records without an item
  }
}

// ---- vector records ------------------------------------------------------------------------

void TgtMetafileProcessor::AddShape(TgtShapeType Type, TgtPoints Points) {
  auto Shape = std::make_shared<TgtShapeItem>();
  Shape->ShapeType = Type;
  Shape->Pen.Assign(&FPen);
  Shape->Brush = std::make_unique<TBrush>();
  Shape->Brush->Assign(&FBrush);
  Shape->Points = std::move(Points);
  FEngine.CurrentItems().push_back(Shape);
}

void TgtMetafileProcessor::PlayPoly(const TEmfRecord& Rec) {
  const DWORD Type = Rec.Type();
  const bool Bezier = Type == EMR_POLYBEZIER || Type == EMR_POLYBEZIER16 || Type == EMR_POLYBEZIERTO ||
                      Type == EMR_POLYBEZIERTO16;
  if (!Bezier && !FShapesOn) return;
  auto P = TEmrPoly::Read(Rec);
  TgtPoints Points;
  Points.reserve(P.Points.size() + 1);
  switch (Type) {
    case EMR_POLYBEZIER:
      // Taken as drawn: no transform, only the origin.
      for (const TPoint& Pt : P.Points) Points.push_back({Pt.X + FOriginX, Pt.Y + FOriginY});
      AddShape(TgtShapeType::stBezier, std::move(Points));
      return;
    case EMR_POLYBEZIERTO:
    case EMR_POLYBEZIERTO16:
      Points.push_back(T(FCurPos));
      for (const TPoint& Pt : P.Points) Points.push_back(T(Pt));
      if (!P.Points.empty()) FCurPos = P.Points.back();
      AddShape(TgtShapeType::stBezier, std::move(Points));
      return;
    default:
      for (const TPoint& Pt : P.Points) Points.push_back(T(Pt));
      AddShape(Bezier ? TgtShapeType::stBezier : (Type == EMR_POLYGON || Type == EMR_POLYGON16) ? TgtShapeType::stPolygon : TgtShapeType::stPolyline,
               std::move(Points));
  }
}

void TgtMetafileProcessor::PlayPolyPoly(const TEmfRecord& Rec) {
  if (!FShapesOn) return;
  auto P = TEmrPolyPoly::Read(Rec);
  const bool Polygon = Rec.Type() == EMR_POLYPOLYGON || Rec.Type() == EMR_POLYPOLYGON16;
  if (Polygon) {
    auto Item = std::make_shared<TgtPolyPolygonItem>();
    Item->Pen.Assign(&FPen);
    Item->Brush.Assign(&FBrush);
    Item->Alternate = FPolyFillMode == ALTERNATE;
    Item->Counts.push_back(Integer(P.Points.size()));
    for (DWORD C : P.Counts) Item->Counts.push_back(Integer(C));
    for (const TPoint& Pt : P.Points) Item->Points.push_back(T(Pt));
    FEngine.CurrentItems().push_back(Item);
    return;
  }
  std::size_t At = 0;
  for (DWORD C : P.Counts) {
    TgtPoints Points;
    for (DWORD I = 0; I < C && At < P.Points.size(); ++I) Points.push_back(T(P.Points[At++]));
    AddShape(TgtShapeType::stPolyline, std::move(Points));
  }
  FEngine.CurrentItems().push_back(std::make_shared<TgtPolyShapeItem>());
}

// ---- paths and clipping ---------------------------------------------------------------------

void TgtMetafileProcessor::AddPath(Byte Command, const TEmfRecord& Rec) {
  auto Item = std::make_shared<TgtPathItem>();
  Item->PathCommand = Command;
  if (Command == pcFillPath || Command == pcStrokeAndFillPath || Command == pcStrokePath) {
    Item->AssignPen(&FPen);
    Item->AssignBrush(&FBrush);
    if (Command != pcStrokePath) Item->Alternate = FPolyFillMode == ALTERNATE;
  } else if (Command == pcSelectClipPath) {
    Item->CombineMode = Integer(TEmrDword::Read(Rec).Value);
  }
  FEngine.CurrentItems().push_back(Item);
}

void TgtMetafileProcessor::AddClipReset() {
  auto Item = std::make_shared<TgtClipItem>();
  Item->ClipKind = ckReset;
  Item->Pen.Assign(&FPen);
  Item->Brush.Assign(&FBrush);
  FEngine.CurrentItems().push_back(Item);
}

void TgtMetafileProcessor::PlayClipRegion(const TEmfRecord& Rec) {
  auto R = TEmrExtSelectClipRgn::Read(Rec);
  if (!R.HasRegion) {
    FClipRect = {};
    FVisibleSet = false;
    AddClipReset();
    return;
  }
  const auto& Rects = R.Region.Rects;
  if (Rects.empty()) return;
  auto Shift = [this](const TRect& Q) {
    return TRect(RoundInt(Q.Left + FOriginX), RoundInt(Q.Top + FOriginY), RoundInt(Q.Right + FOriginX),
                 RoundInt(Q.Bottom + FOriginY));
  };
  auto Item = std::make_shared<TgtClipItem>();
  Item->ClipKind = ckSet;
  Item->CombineMode = Integer(R.Mode);
  Item->Pen.Assign(&FPen);
  Item->Brush.Assign(&FBrush);
  // Entry 0 is the bounding box; the writers clip to the union of the rest.
  Item->Rects.push_back(Shift(R.Region.Bound));
  if (Rects.size() == 1) FClipSet = true;
  for (std::size_t I = 1; I < Rects.size(); ++I) Item->Rects.push_back(Shift(Rects[I]));
  FEngine.CurrentItems().push_back(Item);
}
