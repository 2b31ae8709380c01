// DocumentEngine_Render.cpp — rendering a page to the writer: band order,
// dispatch by item class, the reading-order sort and the base encoders,
// which hand shapes to writers without vectors as positioned bitmaps.
#include <algorithm>
#include <cmath>
#include "export/engine/DocumentEngine.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"

void TgtCustomDocumentEngine::RenderPage() {
  TgtPageItem* Page = GetCurrentPageItem();
  if (!Page) return;
  const Integer N = FCurrentPage;
  struct TFreeGuard {
    TgtCustomDocumentEngine* E;
    Integer Index;
    ~TFreeGuard() {
      // A writer that failed may have freed the whole document already.
      if (std::size_t(Index) >= E->FPages.size()) return;
      auto& Slot = E->FPages[std::size_t(Index)];
      if (Slot) {
        E->FreeItems(Slot->TextItems);
        E->FreeItems(Slot->Items);
        Slot.reset();
      }
      if (E->FCurrentBandItem && E->FCurrentBand == bdPageBody) E->FCurrentBandItem = nullptr;
    }
  } Guard{this, N - 1};
  if (!IsPageInRange(N)) return;
  FCurrentBand = bdPageBody;
  if (OnBeforeBeginPage) OnBeforeBeginPage(this);
  BeginPage();
  if (OnAfterBeginPage) OnAfterBeginPage(this);
  EncodePageBorder();
  auto& Header = *FBands[0];
  auto& Footer = *FBands[1];
  auto& Underlay = *FBands[2];
  auto& Overlay = *FBands[3];
  if (FSplitTextList && N == 1) {
    SortItems(Header.TextItems);
    SortItems(Footer.TextItems);
  }
  if (!((FCapabilities & capHeaderFirstOnly) && N > 1)) {
    FCurrentBand = bdHeader;
    EncodeItems(Header.Items);
    EncodeTextList(Header.TextItems);
  }
  if (!((FCapabilities & capUnderlayFirstOnly) && N > 1)) {
    FCurrentBand = bdUnderlay;
    SortItems(Underlay.TextItems);
    EncodeItems(Underlay.Items);
    EncodeTextList(Underlay.TextItems);
  }
  FCurrentBand = bdPageBody;
  SortItems(Page->TextItems);
  EncodeItems(Page->Items);
  EncodeTextList(Page->TextItems);
  if (!((FCapabilities & capFooterFirstOnly) && N > 1)) {
    FCurrentBand = bdFooter;
    EncodeItems(Footer.Items);
    EncodeTextList(Footer.TextItems);
  }
  if (!((FCapabilities & capOverlayFirstOnly) && N > 1)) {
    FCurrentBand = bdOverlay;
    SortItems(Overlay.TextItems);
    EncodeItems(Overlay.Items);
    EncodeTextList(Overlay.TextItems);
  }
  FCurrentBand = bdPageBody;
  if (OnBeforeEndPage) OnBeforeEndPage(this);
  EndPage();
  if (OnAfterEndPage) OnAfterEndPage(this);
}

void TgtCustomDocumentEngine::EncodeItems(TgtItemList& List) {
  // Encoders may add to the list being walked (none of ours do); index it.
  for (std::size_t I = 0; I < List.size(); ++I) {
    TgtDocumentItem* Item = List[I].get();
    // No default: a new kind must be given its encoder here.
    switch (Item ? Item->Kind() : TgtItemKind::Other) {
      case TgtItemKind::Text: EncodeTextItem(static_cast<TgtTextItem*>(Item)); break;
      case TgtItemKind::TextBox: EncodeTextBoxItem(static_cast<TgtTextBoxItem*>(Item)); break;
      case TgtItemKind::Image: EncodeImageItem(static_cast<TgtImageItem*>(Item)); break;
      case TgtItemKind::ImageStream: EncodeImageStreamItem(static_cast<TgtImageStream*>(Item)); break;
      case TgtItemKind::Shape: EncodeShapeItem(static_cast<TgtShapeItem*>(Item)); break;
      case TgtItemKind::PolyShape: EncodePolyShapeItem(static_cast<TgtPolyShapeItem*>(Item)); break;
      case TgtItemKind::Clip: EncodeClipItem(static_cast<TgtClipItem*>(Item)); break;
      case TgtItemKind::Path: EncodePathItem(static_cast<TgtPathItem*>(Item)); break;
      case TgtItemKind::PolyPolygon: EncodePolyPolygonItem(static_cast<TgtPolyPolygonItem*>(Item)); break;
      case TgtItemKind::EndOfFile: EncodeEOFItem(static_cast<TgtEOFItem*>(Item)); break;
      case TgtItemKind::PolyDraw: EncodePolyDrawItem(static_cast<TgtPolyDrawItem*>(Item)); break;
      case TgtItemKind::Paragraph: EncodeParagraphItem(static_cast<TgtParagraphItem*>(Item)); break;
      case TgtItemKind::Table: EncodeTableItem(static_cast<TgtTableItem*>(Item)); break;
      case TgtItemKind::Other: EncodeOtherItem(Item); break;
    }
  }
}

void TgtCustomDocumentEngine::EncodeTextList(TgtItemList& List) {
  for (std::size_t I = 0; I < List.size(); ++I)
    if (auto* Text = AsTextItem(List[I].get())) EncodeTextItem(Text);
}

namespace {
double ItemY(const TgtItemRef& I) {
  auto* T = AsTextItem(I.get());
  return T ? T->Y : 0;
}
double ItemX(const TgtItemRef& I) {
  auto* T = AsTextItem(I.get());
  return T ? T->X : 0;
}
}  // namespace

void TgtCustomDocumentEngine::SortItems(TgtItemList& List) {
  // Stable by Y.
  std::stable_sort(List.begin(), List.end(),
                   [](const TgtItemRef& A, const TgtItemRef& B) { return ItemY(A) < ItemY(B); });
  const double T = FLineTolerance;
  double PrevY = -T;
  for (std::size_t I = 0; I < List.size(); ++I) {
    const double Y = ItemY(List[I]), X = ItemX(List[I]);
    if (Y < PrevY + T && Y == PrevY) {
      std::size_t J = I;
      while (J > 0 && ItemY(List[J - 1]) >= Y && ItemX(List[J - 1]) > X) {
        std::swap(List[J - 1], List[J]);
        --J;
      }
    }
    PrevY = Y;
  }
}

void TgtCustomDocumentEngine::EncodeShapeItem(TgtShapeItem* Shape) {
  const TgtPoints& P = Shape->Points;
  if (P.empty()) return;
  TBrush* Brush = Shape->Brush.get();
  TPen* Pen = &Shape->Pen;
  auto Need = [&](std::size_t N) { return P.size() >= N; };
  switch (Shape->ShapeType) {
    case TgtShapeType::stLine: if (Need(2)) EncodeLine(Pen, P[0].X, P[0].Y, P[1].X, P[1].Y); break;
    case TgtShapeType::stRectangle: if (Need(2)) EncodeRectangle(Pen, Brush, P[0].X, P[0].Y, P[1].X, P[1].Y); break;
    case TgtShapeType::stRoundRect:
      if (Need(3)) EncodeRoundRect(Pen, Brush, P[0].X, P[0].Y, P[1].X, P[1].Y, P[2].X, P[2].Y);
      break;
    case TgtShapeType::stEllipse: if (Need(2)) EncodeEllipse(Pen, Brush, P[0].X, P[0].Y, P[1].X, P[1].Y); break;
    case TgtShapeType::stPolygon: EncodePolygon(P, true, Pen, Brush); break;
    case TgtShapeType::stPolyline: EncodePolygon(P, false, Pen, Brush); break;
    case TgtShapeType::stArc: if (Need(4)) EncodeArc(Pen, P[0].X, P[0].Y, P[1].X, P[1].Y, P[2].X, P[2].Y, P[3].X, P[3].Y); break;
    case TgtShapeType::stChord:
      if (Need(4)) EncodeChord(Pen, Brush, P[0].X, P[0].Y, P[1].X, P[1].Y, P[2].X, P[2].Y, P[3].X, P[3].Y);
      break;
    case TgtShapeType::stPie:
      if (Need(4)) EncodePie(Pen, Brush, P[0].X, P[0].Y, P[1].X, P[1].Y, P[2].X, P[2].Y, P[3].X, P[3].Y);
      break;
    case TgtShapeType::stBezier: EncodePolyBezier(P, Pen); break;
  }
}

void TgtCustomDocumentEngine::EncodePolyShapeItem(TgtPolyShapeItem* Item) {
  if (Item->Shapes.empty()) return;
  auto Type = Item->Shapes.front()->ShapeType;
  if (Type == TgtShapeType::stPolygon || Type == TgtShapeType::stPolyline) EncodePolyShape(Item, Type == TgtShapeType::stPolygon);
}

void TgtCustomDocumentEngine::EncodeTextItem(TgtTextItem* Item) {
  // Writers replace variables and clip in their overrides; the base only
  // gives OnCalcVariables its call.
  WideString Result;
  ReplaceVariables(Item->Lines.Get(0), true, Result);
}

void TgtCustomDocumentEngine::EncodeTextBoxItem(TgtTextBoxItem* Item) {
  const double X = Item->X, Y = Item->Y, R = X + Item->BoxWidth, B = Y + Item->BoxHeight;
  if (Item->Frame.Left) EncodeLine(&Item->Pen, X, Y, X, B);
  if (Item->Frame.Top) EncodeLine(&Item->Pen, X, Y, R, Y);
  if (Item->Frame.Right) EncodeLine(&Item->Pen, R, Y, R, B);
  if (Item->Frame.Bottom) EncodeLine(&Item->Pen, X, B, R, B);
  TPen Clear;
  Clear.Assign(&Item->Pen);
  Clear.SetStyle(psClear);
  EncodeRectangle(&Clear, &Item->Brush, X, Y, R, B);
  Item->Brush.SetStyle(bsClear);
  EncodeTextLines(Item, Item->HorzAlignment, Item->Frame.GetMargins(), Item->BoxHeight, Item->BoxWidth,
                  Item->VertAlignment);
}

void TgtCustomDocumentEngine::EncodePageBorder() {
  const TgtBorder& B = *FPageBorder;
  if (!(B.DrawLeft || B.DrawRight || B.DrawTop || B.DrawBottom)) return;
  TgtPageItem* Page = GetCurrentPageItem();
  if (!Page) return;
  TPen Pen;
  Pen.SetWidth(B.Width);
  Pen.SetColor(B.Color);
  Pen.SetStyle(B.Style);
  const TgtPageSettings& P = Page->PageSettings;
  const double W = P.WidthPx(), H = P.HeightPx(), LM = P.LeftMarginPx(), TM = P.TopMarginPx(),
               RM = P.RightMarginPx(), BM = P.BottomMarginPx();
  if (B.DrawLeft) EncodeLine(&Pen, LM, TM, LM, H - BM);
  if (B.DrawRight) EncodeLine(&Pen, W - RM, TM, W - RM, H - BM);
  if (B.DrawTop) EncodeLine(&Pen, LM, TM, W - RM, TM);
  if (B.DrawBottom) EncodeLine(&Pen, LM, H - BM, W - RM, H - BM);
}

// ---- shapes as bitmaps ---------------------------------------------------------------------

void TgtCustomDocumentEngine::RasterizeShape(TPen* Pen, TBrush* Brush, const TgtPoints& Points, double Pad,
                                             const std::function<void(TCanvas*, double, double)>& Draw) {
  if (Points.empty()) return;
  double MinX = Points[0].X, MinY = Points[0].Y, MaxX = MinX, MaxY = MinY;
  for (const auto& P : Points) {
    MinX = std::min(MinX, P.X);
    MinY = std::min(MinY, P.Y);
    MaxX = std::max(MaxX, P.X);
    MaxY = std::max(MaxY, P.Y);
  }
  const Integer W = std::max(1, RoundInt(MaxX - MinX + Pad)), H = std::max(1, RoundInt(MaxY - MinY + Pad));
  // A page-sized shape is the most a writer can want as a bitmap.
  if (W > 20000 || H > 20000) return;
  TBitmap Bmp;
  Bmp.SetSize(W, H);
  Bmp.SetTransparent(true);
  TCanvas* C = Bmp.Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(TRect(0, 0, W, H));
  if (Pen) C->Pen()->Assign(Pen);
  if (Brush) C->Brush()->Assign(Brush);
  else C->Brush()->SetStyle(bsClear);
  Draw(C, MinX, MinY);
  EncodeBitmap(&Bmp, MinX, MinY);
}

namespace {
std::vector<TPoint> Shifted(const TgtPoints& P, double DX, double DY) {
  std::vector<TPoint> Out;
  Out.reserve(P.size());
  for (const auto& Pt : P) Out.push_back(TPoint(RoundInt(Pt.X - DX), RoundInt(Pt.Y - DY)));
  return Out;
}
}  // namespace

void TgtCustomDocumentEngine::EncodeLine(TPen* Pen, double X1, double Y1, double X2, double Y2) {
  TgtPoints P{{X1, Y1}, {X2, Y2}};
  RasterizeShape(Pen, nullptr, P, 0, [&](TCanvas* C, double DX, double DY) {
    auto Q = Shifted(P, DX, DY);
    C->MoveTo(Q[0].X, Q[0].Y);
    C->LineTo(Q[1].X, Q[1].Y);
  });
}

void TgtCustomDocumentEngine::EncodeRectangle(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2,
                                              double Y2) {
  TgtPoints P{{X1, Y1}, {X2, Y2}};
  RasterizeShape(Pen, Brush, P, 0, [&](TCanvas* C, double DX, double DY) {
    auto Q = Shifted(P, DX, DY);
    C->Rectangle(Q[0].X, Q[0].Y, Q[1].X, Q[1].Y);
  });
}

void TgtCustomDocumentEngine::EncodeRoundRect(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2,
                                              double Y2, double CW, double CH) {
  TgtPoints P{{X1, Y1}, {X2, Y2}};
  RasterizeShape(Pen, Brush, P, 0, [&](TCanvas* C, double DX, double DY) {
    auto Q = Shifted(P, DX, DY);
    C->RoundRect(Q[0].X, Q[0].Y, Q[1].X, Q[1].Y, RoundInt(CW), RoundInt(CH));
  });
}

void TgtCustomDocumentEngine::EncodeEllipse(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2,
                                            double Y2) {
  TgtPoints P{{X1, Y1}, {X2, Y2}};
  RasterizeShape(Pen, Brush, P, 0, [&](TCanvas* C, double DX, double DY) {
    auto Q = Shifted(P, DX, DY);
    C->Ellipse(Q[0].X, Q[0].Y, Q[1].X, Q[1].Y);
  });
}

void TgtCustomDocumentEngine::EncodePolygon(const TgtPoints& Points, bool Closed, TPen* Pen, TBrush* Brush) {
  RasterizeShape(Pen, Brush, Points, 2, [&](TCanvas* C, double DX, double DY) {
    auto Q = Shifted(Points, DX, DY);
    if (Closed) C->Polygon(Q);
    else C->Polyline(Q);
  });
}

void TgtCustomDocumentEngine::EncodePolyShape(TgtPolyShapeItem* Item, bool /*Closed*/) {
  TgtPoints All;
  for (auto& S : Item->Shapes) All.insert(All.end(), S->Points.begin(), S->Points.end());
  if (All.empty()) return;
  TgtShapeItem* First = Item->Shapes.front().get();
  RasterizeShape(&First->Pen, First->Brush.get(), All, 2, [&](TCanvas* C, double DX, double DY) {
    std::vector<TPoint> Q;
    std::vector<int> Counts;
    for (auto& S : Item->Shapes) {
      auto P = Shifted(S->Points, DX, DY);
      Q.insert(Q.end(), P.begin(), P.end());
      Counts.push_back(int(P.size()));
    }
    if (First->Brush) SetPolyFillMode(C->GetHandle(), Item->Alternate ? ALTERNATE : WINDING);
    C->RequiredState({csHandleValid, csPenValid, csBrushValid});
    PolyPolygon(C->GetHandle(), Q.data(), Counts.data(), int(Counts.size()));
  });
}

void TgtCustomDocumentEngine::EncodePolyPolygonItem(TgtPolyPolygonItem* Item) {
  if (Item->Points.empty() || Item->Counts.size() < 2) return;
  RasterizeShape(&Item->Pen, &Item->Brush, Item->Points, 2, [&](TCanvas* C, double DX, double DY) {
    auto Q = Shifted(Item->Points, DX, DY);
    std::vector<int> Counts;
    std::size_t Total = 0;
    for (std::size_t I = 1; I < Item->Counts.size(); ++I) {
      int N = std::max(0, Item->Counts[I]);
      if (Total + std::size_t(N) > Q.size()) break;
      Counts.push_back(N);
      Total += std::size_t(N);
    }
    SetPolyFillMode(C->GetHandle(), Item->Alternate ? ALTERNATE : WINDING);
    C->RequiredState({csHandleValid, csPenValid, csBrushValid});
    PolyPolygon(C->GetHandle(), Q.data(), Counts.data(), int(Counts.size()));
  });
}

namespace {
using TArcDraw = void (TCanvas::*)(Integer, Integer, Integer, Integer, Integer, Integer, Integer, Integer);
}

void TgtCustomDocumentEngine::EncodeArc(TPen* Pen, double X1, double Y1, double X2, double Y2, double X3,
                                        double Y3, double X4, double Y4) {
  TgtPoints Box{{X1, Y1}, {X2, Y2}};
  RasterizeShape(Pen, nullptr, Box, 0, [&](TCanvas* C, double DX, double DY) {
    C->Arc(RoundInt(X1 - DX), RoundInt(Y1 - DY), RoundInt(X2 - DX), RoundInt(Y2 - DY), RoundInt(X3 - DX),
           RoundInt(Y3 - DY), RoundInt(X4 - DX), RoundInt(Y4 - DY));
  });
}

void TgtCustomDocumentEngine::EncodePie(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2,
                                        double X3, double Y3, double X4, double Y4) {
  TgtPoints Box{{X1, Y1}, {X2, Y2}};
  RasterizeShape(Pen, Brush, Box, 0, [&](TCanvas* C, double DX, double DY) {
    C->Pie(RoundInt(X1 - DX), RoundInt(Y1 - DY), RoundInt(X2 - DX), RoundInt(Y2 - DY), RoundInt(X3 - DX),
           RoundInt(Y3 - DY), RoundInt(X4 - DX), RoundInt(Y4 - DY));
  });
}

void TgtCustomDocumentEngine::EncodeChord(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2,
                                          double Y2, double X3, double Y3, double X4, double Y4) {
  TgtPoints Box{{X1, Y1}, {X2, Y2}};
  RasterizeShape(Pen, Brush, Box, 0, [&](TCanvas* C, double DX, double DY) {
    C->Chord(RoundInt(X1 - DX), RoundInt(Y1 - DY), RoundInt(X2 - DX), RoundInt(Y2 - DY), RoundInt(X3 - DX),
             RoundInt(Y3 - DY), RoundInt(X4 - DX), RoundInt(Y4 - DY));
  });
}

void TgtCustomDocumentEngine::EncodePolyBezier(const TgtPoints& Points, TPen* Pen) {
  RasterizeShape(Pen, nullptr, Points, 0, [&](TCanvas* C, double DX, double DY) {
    auto Q = Shifted(Points, DX, DY);
    // A Bezier needs 3n + 1 points; drop a trailing remainder.
    Q.resize(Q.size() < 4 ? 0 : 1 + (Q.size() - 1) / 3 * 3);
    if (!Q.empty()) C->PolyBezier(Q);
  });
}
