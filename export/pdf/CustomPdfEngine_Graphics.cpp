// Shapes, path brackets, clips, the page background and hatch patterns.
#include <cmath>
#include "export/engine/WriterUtils.h"
#include "export/pdf/CustomPdfEngine.h"

namespace {
constexpr double Kappa = 0.5522847498307935;
}

AnsiString TgtCustomPDFEngine::Pt(double X, double Y) const {
  return FormatNumber(ToPDFX(X)) + " " + FormatNumber(ToPDFY(Y));
}

AnsiString TgtCustomPDFEngine::ColorText(TColor C) const { return ColorToPDFRGB(C); }

AnsiString TgtCustomPDFEngine::DashPattern(TPen* Pen) const {
  switch (Pen->GetStyle()) {
    case psSolid: return "[]0 d ";
    case psDash: return "[16 8]0 d ";
    case psDot: return "[3 4]0 d ";
    case psDashDot: return "[8 4 2 4]0 d ";
    case psDashDotDot: return "[8 4 2 4 2 8]0 d ";
    default: return "";
  }
}

AnsiString TgtCustomPDFEngine::LineWidth(TPen* Pen) const {
  return FormatNumber(Pen->GetWidth() * FPointsPerPixel) + " w ";
}

bool TgtCustomPDFEngine::PenPaints(TPen* Pen) { return Pen && Pen->GetStyle() != psClear; }
bool TgtCustomPDFEngine::BrushPaints(TBrush* Brush) { return Brush && Brush->GetStyle() != bsClear; }

AnsiString TgtCustomPDFEngine::StrokeSetup(TPen* Pen) const {
  return DashPattern(Pen) + LineWidth(Pen) + ColorText(Pen->GetColor()) + " RG ";
}

AnsiString TgtCustomPDFEngine::PatternName(TBrushStyle Style) {
  const char* Name = nullptr;
  switch (Style) {
    case bsHorizontal: Name = "PH"; break;
    case bsVertical: Name = "PV"; break;
    case bsFDiagonal: Name = "PFD"; break;
    case bsBDiagonal: Name = "PBD"; break;
    case bsCross: Name = "PC"; break;
    case bsDiagCross: Name = "PDC"; break;
    default: return "";
  }
  for (auto& P : FPatterns)
    if (P.first == Name) return Name;
  FPatterns.emplace_back(Name, NextObjectNumber());
  return Name;
}

// The fill colour of a brush: plain, or the hatch pattern in the brush colour.
AnsiString TgtCustomPDFEngine::FillColor(TBrush* Brush) {
  const AnsiString P = PatternName(Brush->GetStyle());
  if (P.empty()) return ColorText(Brush->GetColor()) + " rg ";
  return "/CSP cs " + ColorText(Brush->GetColor()) + " /" + P + " scn ";
}

void TgtCustomPDFEngine::WriteItem(const AnsiString& Ops, bool IsLine) {
  if (FClipActive) FContent += "\r\n" + Ops + "\r\n";
  else FContent += (IsLine ? "\r\nq " : "\r\nq\r\n") + Ops + "\r\nQ";
}

void TgtCustomPDFEngine::AppendToPath(const AnsiString& Ops, double SX, double SY) {
  if (FNewSubpath) {
    FSubpathX = SX;
    FSubpathY = SY;
    FNewSubpath = false;
  }
  FOpenPath += Ops;
}

void TgtCustomPDFEngine::EncodeLine(TPen* Pen, double X1, double Y1, double X2, double Y2) {
  if (FPathState == TPathState::Recording) {
    if (FNewSubpath) AppendToPath(Pt(X1, Y1) + " m " + Pt(X2, Y2) + " l ", ToPDFX(X1), ToPDFY(Y1));
    else FOpenPath += Pt(X2, Y2) + " l ";
    return;
  }
  if (!PenPaints(Pen)) return;
  WriteItem(StrokeSetup(Pen) + Pt(X1, Y1) + " m " + Pt(X2, Y2) + " l S", true);
}

void TgtCustomPDFEngine::EncodeRectangle(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) {
  const double L = std::min(X1, X2), T = std::min(Y1, Y2), R = std::max(X1, X2), B = std::max(Y1, Y2);
  const double P = gtScreenPPI();
  const AnsiString Rect = Pt(L, B) + " " + FormatNumber((R - L) * FPointsPerPixel * GetInputXRes() / P) + " " +
                          FormatNumber((B - T) * FPointsPerPixel * GetInputYRes() / P) + " re";
  if (FPathState == TPathState::Recording) {
    FOpenPath += Rect + " ";
    return;
  }
  AnsiString Ops;
  if (BrushPaints(Brush)) Ops += FillColor(Brush) + Rect + " f ";
  if (PenPaints(Pen)) Ops += StrokeSetup(Pen) + Rect + " s";
  if (!Ops.empty()) WriteItem(Ops);
}

AnsiString TgtCustomPDFEngine::EllipsePath(double L, double T, double R, double B) const {
  const double X0 = ToPDFX(L), X1 = ToPDFX(R), Y0 = ToPDFY(T), Y1 = ToPDFY(B);
  const double CX = (X0 + X1) / 2, CY = (Y0 + Y1) / 2, RX = (X1 - X0) / 2, RY = (Y0 - Y1) / 2;
  const double KX = RX * Kappa, KY = RY * Kappa;
  auto N = [](double V) { return FormatNumber(V); };
  auto C = [&](double A, double B2, double C2, double D, double E, double F) {
    return N(A) + " " + N(B2) + " " + N(C2) + " " + N(D) + " " + N(E) + " " + N(F) + " c ";
  };
  return N(CX - RX) + " " + N(CY) + " m " + C(CX - RX, CY + KY, CX - KX, CY + RY, CX, CY + RY) +
         C(CX + KX, CY + RY, CX + RX, CY + KY, CX + RX, CY) + C(CX + RX, CY - KY, CX + KX, CY - RY, CX, CY - RY) +
         C(CX - KX, CY - RY, CX - RX, CY - KY, CX - RX, CY);
}

void TgtCustomPDFEngine::EncodeEllipse(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) {
  const AnsiString Path = EllipsePath(std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2));
  AnsiString Ops;
  if (BrushPaints(Brush)) Ops += FillColor(Brush) + Path + "f ";
  if (PenPaints(Pen)) Ops += StrokeSetup(Pen) + Path + "s";
  if (!Ops.empty()) WriteItem(Ops);
}

void TgtCustomPDFEngine::EncodeRoundRect(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2,
                                         double CW, double CH) {
  const double L = ToPDFX(std::min(X1, X2)), R = ToPDFX(std::max(X1, X2));
  const double T = ToPDFY(std::min(Y1, Y2)), B = ToPDFY(std::max(Y1, Y2));
  const double RX = std::min(ToPDFX(CW) / 2, (R - L) / 2), RY = std::min(ToPDFX(CH) / 2, (T - B) / 2);
  const double KX = RX * Kappa, KY = RY * Kappa;
  auto N = [](double V) { return FormatNumber(V); };
  auto P = [&](double X, double Y) { return N(X) + " " + N(Y); };
  const AnsiString Path = P(L + RX, T) + " m " + P(R - RX, T) + " l " + P(R - RX + KX, T) + " " +
                          P(R, T - RY + KY) + " " + P(R, T - RY) + " c " + P(R, B + RY) + " l " +
                          P(R, B + RY - KY) + " " + P(R - RX + KX, B) + " " + P(R - RX, B) + " c " +
                          P(L + RX, B) + " l " + P(L + RX - KX, B) + " " + P(L, B + RY - KY) + " " +
                          P(L, B + RY) + " c " + P(L, T - RY) + " l " + P(L, T - RY + KY) + " " +
                          P(L + RX - KX, T) + " " + P(L + RX, T) + " c ";
  AnsiString Ops;
  if (BrushPaints(Brush)) Ops += FillColor(Brush) + Path + "f ";
  if (PenPaints(Pen) && Pen->GetWidth() > 0) Ops += StrokeSetup(Pen) + Path + "s";
  if (!Ops.empty()) WriteItem(Ops);
}

void TgtCustomPDFEngine::EncodePolygon(const TgtPoints& Points, bool Closed, TPen* Pen, TBrush* Brush) {
  if (Points.empty()) return;
  if (FPathState == TPathState::Recording) {
    for (std::size_t I = 0; I < Points.size(); ++I) {
      if (I == 0 && FNewSubpath)
        AppendToPath(Pt(Points[0].X, Points[0].Y) + " m ", ToPDFX(Points[0].X), ToPDFY(Points[0].Y));
      else FOpenPath += Pt(Points[I].X, Points[I].Y) + " l ";
    }
    return;
  }
  AnsiString Path = Pt(Points[0].X, Points[0].Y) + " m ";
  for (std::size_t I = 1; I < Points.size(); ++I) Path += Pt(Points[I].X, Points[I].Y) + " l ";
  if (!Closed) {
    if (PenPaints(Pen)) WriteItem(StrokeSetup(Pen) + Path + " S ");
    return;
  }
  const bool Fill = BrushPaints(Brush), Stroke = PenPaints(Pen) && Pen->GetWidth() > 0;
  if (!Fill && !Stroke) return;
  AnsiString Ops;
  if (Fill) Ops += FillColor(Brush);
  if (Stroke) Ops += StrokeSetup(Pen);
  Ops += Path + "h " + (Fill && Stroke ? "B " : Stroke ? "S " : "f ");
  WriteItem(Ops);
}

void TgtCustomPDFEngine::EncodePolyShape(TgtPolyShapeItem* Item, bool Closed) {
  if (!Item || Item->Shapes.empty()) return;
  AnsiString Path;
  for (auto& S : Item->Shapes) {
    if (S->Points.empty()) continue;
    Path += Pt(S->Points[0].X, S->Points[0].Y) + " m ";
    for (std::size_t I = 1; I < S->Points.size(); ++I) Path += Pt(S->Points[I].X, S->Points[I].Y) + " l ";
    if (Closed) Path += Pt(S->Points[0].X, S->Points[0].Y) + " l ";
  }
  TgtShapeItem* First = Item->Shapes.front().get();
  AnsiString Ops;
  // Polylines carry no fill: they are stroked with the first shape's pen.
  if (Closed && First->Brush && BrushPaints(First->Brush.get()))
    Ops = FillColor(First->Brush.get()) + Path + (Item->Alternate ? "f*" : "f");
  else if (PenPaints(&First->Pen))
    Ops = StrokeSetup(&First->Pen) + Path + "S";
  if (!Ops.empty()) WriteItem(Ops);
}

AnsiString TgtCustomPDFEngine::ArcPath(TPen* Pen, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                                       double X4, double Y4, double& CX, double& CY) const {
  const double L = ToPDFX(std::min(X1, X2)), R = ToPDFX(std::max(X1, X2));
  const double T = ToPDFY(std::min(Y1, Y2)), B = ToPDFY(std::max(Y1, Y2));
  CX = (L + R) / 2;
  CY = (T + B) / 2;
  const double RX = (R - L) / 2, RY = (T - B) / 2;
  auto Angle = [&](double X, double Y) {
    double A = std::atan2(ToPDFY(Y) - CY, ToPDFX(X) - CX) * 180 / M_PI;
    return A < 0 ? A + 360 : A;
  };
  // Counter-clockwise from start to end, as GDI's default arc direction
  // appears once y points up.
  const double A0 = Angle(X3, Y3);
  double A1 = Angle(X4, Y4);
  while (A1 <= A0) A1 += 360;
  AnsiString Ops;
  if (PenPaints(Pen)) Ops = StrokeSetup(Pen);
  auto N = [](double V) { return FormatNumber(V); };
  auto PX = [&](double A) { return CX + RX * std::cos(A * M_PI / 180); };
  auto PY = [&](double A) { return CY + RY * std::sin(A * M_PI / 180); };
  Ops += N(PX(A0)) + " " + N(PY(A0)) + " m";
  for (double A = A0; A < A1 - 1e-9;) {
    const double E = std::min(A + 90, A1), D = (E - A) * M_PI / 180;
    const double K = 4.0 / 3.0 * (1 - std::cos(D / 2)) / std::sin(D / 2);
    const double A0r = A * M_PI / 180, A1r = E * M_PI / 180;
    const double C1X = PX(A) - K * RX * std::sin(A0r), C1Y = PY(A) + K * RY * std::cos(A0r);
    const double C2X = PX(E) + K * RX * std::sin(A1r), C2Y = PY(E) - K * RY * std::cos(A1r);
    for (const double V : {C1X, C1Y, C2X, C2Y, PX(E), PY(E)}) Ops.append(1, ' ').append(N(V));
    Ops += " c";
    A = E;
  }
  return Ops;
}

void TgtCustomPDFEngine::EncodeArc(TPen* Pen, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                                   double X4, double Y4) {
  if (!PenPaints(Pen) || Pen->GetWidth() <= 0) return;
  double CX, CY;
  WriteItem(ArcPath(Pen, X1, Y1, X2, Y2, X3, Y3, X4, Y4, CX, CY) + " S");
}

void TgtCustomPDFEngine::EncodePie(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2, double X3,
                                   double Y3, double X4, double Y4) {
  if (!PenPaints(Pen) && !BrushPaints(Brush)) return;
  double CX, CY;
  // The arc sets the centre: it must be made before the centre is read (the
  // operands of one + chain are not sequenced).
  const AnsiString Arc = ArcPath(nullptr, X1, Y1, X2, Y2, X3, Y3, X4, Y4, CX, CY);
  const AnsiString Path = Arc + " " + FormatNumber(CX) + " " + FormatNumber(CY) + " l";
  AnsiString Ops;
  if (BrushPaints(Brush)) Ops += FillColor(Brush) + Path + " f ";
  if (PenPaints(Pen) && Pen->GetWidth() > 0) Ops += StrokeSetup(Pen) + Path + " s";
  WriteItem(Ops);
}

void TgtCustomPDFEngine::EncodeChord(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2,
                                     double X3, double Y3, double X4, double Y4) {
  if (!PenPaints(Pen) && !BrushPaints(Brush)) return;
  double CX, CY;
  const AnsiString Path = ArcPath(nullptr, X1, Y1, X2, Y2, X3, Y3, X4, Y4, CX, CY);
  AnsiString Ops;
  if (BrushPaints(Brush)) Ops += FillColor(Brush) + Path + " f ";
  if (PenPaints(Pen) && Pen->GetWidth() > 0) Ops += StrokeSetup(Pen) + Path + " s";
  WriteItem(Ops);
}

void TgtCustomPDFEngine::EncodePolyBezier(const TgtPoints& Points, TPen* Pen) {
  if (Points.size() < 4) return;
  AnsiString Path;
  const std::size_t Segs = (Points.size() - 1) / 3;
  for (std::size_t S = 0; S < Segs; ++S) {
    const auto& A = Points[1 + 3 * S];
    const auto& B = Points[2 + 3 * S];
    const auto& C = Points[3 + 3 * S];
    Path += Pt(A.X, A.Y) + " " + Pt(B.X, B.Y) + " " + Pt(C.X, C.Y) + " c ";
  }
  if (FPathState == TPathState::Recording) {
    if (FNewSubpath) AppendToPath(Pt(Points[0].X, Points[0].Y) + " m ", ToPDFX(Points[0].X), ToPDFY(Points[0].Y));
    FOpenPath += Path;
    return;
  }
  if (!PenPaints(Pen) || Pen->GetWidth() <= 0) return;
  WriteItem(StrokeSetup(Pen) + Pt(Points[0].X, Points[0].Y) + " m " + Path + "S");
}

void TgtCustomPDFEngine::EncodePolyPolygonItem(TgtPolyPolygonItem* Item) {
  if (!Item || Item->Counts.empty()) return;
  AnsiString Path;
  std::size_t P = 0;
  for (Integer I = 1; I <= Item->PolygonCount(); ++I) {
    const Integer N = Item->Counts[std::size_t(I)];
    for (Integer J = 0; J < N && P < Item->Points.size(); ++J, ++P)
      Path += Pt(Item->Points[P].X, Item->Points[P].Y) + (J == 0 ? " m\r\n" : " l\r\n");
  }
  if (Path.empty() || !BrushPaints(&Item->Brush)) return;
  WriteItem(FillColor(&Item->Brush) + Path + (Item->Alternate ? "f*" : "f"));
}

void TgtCustomPDFEngine::EncodePolyDrawItem(TgtPolyDrawItem* Item) {
  if (!Item || FPathState != TPathState::Recording) return;
  constexpr Byte PtClose = 1, PtLine = 2, PtBezier = 4, PtMove = 6;
  const auto& Pts = Item->Points;
  for (std::size_t I = 0; I < Pts.size() && I < Item->PointTypes.size(); ++I) {
    const Byte T = Item->PointTypes[I] & ~PtClose;
    if (T == PtMove) AppendToPath(Pt(Pts[I].X, Pts[I].Y) + " m ", ToPDFX(Pts[I].X), ToPDFY(Pts[I].Y)), FNewSubpath = false;
    else if (T == PtLine) FOpenPath += Pt(Pts[I].X, Pts[I].Y) + " l ";
    else if (T == PtBezier && I + 2 < Pts.size()) {
      FOpenPath += Pt(Pts[I].X, Pts[I].Y) + " " + Pt(Pts[I + 1].X, Pts[I + 1].Y) + " " + Pt(Pts[I + 2].X, Pts[I + 2].Y) + " c ";
      I += 2;
    }
  }
}

AnsiString TgtCustomPDFEngine::PathColors(TgtPathItem* Item) {
  TPen* Pen = Item->Pen.get();
  TBrush* Brush = Item->Brush.get();
  const bool Stroke = PenPaints(Pen), Fill = BrushPaints(Brush);
  AnsiString S;
  if (Stroke) S += StrokeSetup(Pen);
  if (Fill) S += FillColor(Brush);
  return S + "\r\n";
}

void TgtCustomPDFEngine::EncodePathItem(TgtPathItem* Item) {
  if (!Item) return;
  auto Flush = [&](const AnsiString& Text) {
    FContent += "\r\n" + Text;
    FOpenPath.clear();
    FPathState = TPathState::None;
  };
  const bool Stroke = PenPaints(Item->Pen.get()), Fill = BrushPaints(Item->Brush.get());
  switch (Item->PathCommand) {
    case pcBeginPath:
      FPathState = TPathState::Recording;
      FNewSubpath = true;
      FFigureClosed = false;
      FOpenPath.clear();
      break;
    case pcEndPath:
      if (FPathState == TPathState::Recording) FPathState = TPathState::Ended;
      break;
    case pcCloseFigure:
      if (FPathState == TPathState::Recording) {
        FFigureClosed = true;
        FOpenPath += "h ";
        FNewSubpath = true;
      }
      break;
    case pcAbortPath: Flush(" n \r\n"); break;
    case pcFillPath:
      if (FOpenPath.empty()) { FPathState = TPathState::None; break; }
      Flush("q " + (Fill ? FillColor(Item->Brush.get()) : AnsiString("0 0 0 rg ")) + FOpenPath +
            (Item->Alternate ? "h f*" : "h f") + "\r\nQ");
      break;
    case pcStrokeAndFillPath: {
      if (FOpenPath.empty()) { FPathState = TPathState::None; break; }
      AnsiString Op;
      if (!Stroke) Op = Item->Alternate ? "f*" : "f";
      else if (!Fill) Op = FFigureClosed ? "s" : "S";
      else Op = FFigureClosed ? (Item->Alternate ? "b*" : "b") : (Item->Alternate ? "B*" : "B");
      if (!Stroke && !Fill) Op = "n";
      Flush("q " + PathColors(Item) + FOpenPath + Op + "\r\nQ");
      break;
    }
    case pcStrokePath:
      if (FOpenPath.empty()) { FPathState = TPathState::None; break; }
      Flush("q " + PathColors(Item) + FOpenPath + (Stroke ? (FFigureClosed ? "s" : "S") : "n") + "\r\nQ");
      break;
    case pcSelectClipPath: {
      if (FOpenPath.empty()) { FPathState = TPathState::None; break; }
      // Each clip is its own saved state, closed by a reset or at the page end.
      if (FPathClipActive && Item->CombineMode == 5 && FOpenSaves > 0) {
        FContent += "\r\nQ";
        --FOpenSaves;
      }
      Flush("q " + FOpenPath + " W* n\r\n");
      ++FOpenSaves;
      FPathClipActive = true;
      FClipActive = true;
      break;
    }
  }
}

void TgtCustomPDFEngine::EncodeClipItem(TgtClipItem* Item) {
  if (!Item) return;
  if (Item->ClipKind == ckReset) {
    for (; FOpenSaves > 0; --FOpenSaves) FContent += " Q ";
    FContent += "\r\n";
    FClipActive = false;
    FPathClipActive = false;
    return;
  }
  AnsiString Path;
  const Integer N = Item->RectCount();
  for (Integer I = N < 2 ? 0 : 1; I < std::max<Integer>(N, 1) && I < N; ++I) {
    const TRect R = Item->GetRect(I);
    Path += Pt(R.Left, R.Top) + " m \r\n" + Pt(R.Right, R.Top) + " l \r\n" + Pt(R.Right, R.Bottom) + " l \r\n" +
            Pt(R.Left, R.Bottom) + " l \r\n" + Pt(R.Left, R.Top) + " l \r\n";
  }
  if (Path.empty()) return;
  // A copy replaces the clip in force; an intersection nests inside it.
  if (Item->CombineMode == 5)
    for (; FOpenSaves > 0; --FOpenSaves) FContent += " Q ";
  if (Item->CombineMode == 1 || Item->CombineMode == 5) {
    FContent += " q " + Path + " W* n \r\n";
    ++FOpenSaves;
  }
  FClipActive = true;
}

void TgtCustomPDFEngine::EncodeEOFItem(TgtEOFItem* Item) {
  if (!Item || !Item->Flag) return;
  for (; FOpenSaves > 0; --FOpenSaves) FContent += " Q ";
  FClipActive = false;
  FPathClipActive = false;
}

void TgtCustomPDFEngine::WriteBackground() {
  const TgtPageInfo* Info = FPageInfos.empty() ? nullptr : FPageInfos.back().get();
  const double W = Info ? Info->Width : 0, H = Info ? Info->Height : 0;
  AnsiString S = "\r\nq\r\n" + ColorText(GetBackgroundColor()) + " rg n 0.0000 0.0000 " + FormatNumber(W) + " " +
                 FormatNumber(H) + " re f \r\n";
  TPicture* Pic = GetBackgroundImage();
  TGraphic* G = Pic ? Pic->GetGraphic() : nullptr;
  if (G && !G->Empty()) {
    if (FBackgroundImageNumber < 0) {
      double IW = G->GetWidth(), IH = G->GetHeight();
      const TgtBackgroundDisplayType D = GetBackgroundImageDisplayType();
      if (D == dtTile) IW = W, IH = H;
      double X = 0, Y = 0;
      if (D == dtTopCenter || D == dtCenter || D == dtBottomCenter) X = W / 2 - IW / 2;
      else if (D == dtTopRight || D == dtCenterRight || D == dtBottomRight) X = W - IW;
      if (D == dtCenterLeft || D == dtCenter || D == dtCenterRight) Y = H / 2 - IH / 2;
      else if (D == dtTopLeft || D == dtTopCenter || D == dtTopRight) Y = H - IH;
      FBackW = IW, FBackH = IH, FBackX = X, FBackY = Y;
      WriteBackgroundImage();
    }
    if (FBackgroundImageNumber >= 0) {
      // The pattern is written at the end; reserve its name now.
      S += "/CSP cs /PI scn n " + FormatNumber(FBackX) + " " + FormatNumber(FBackY) + " " + FormatNumber(FBackW) +
           " " + FormatNumber(FBackH) + " re f";
    }
  }
  FContent += S + "\r\nQ";
}

void TgtCustomPDFEngine::WritePatterns() {
  static const std::pair<const char*, const char*> Hatches[] = {
      {"PH", "2 J 2 j 0.3 w 0 2.5 m 5 2.5 l S"},
      {"PV", "2 J 2 j 0.3 w 2.5 0 m 2.5 5 l S"},
      {"PFD", "2 J 2 j 0.3 w 0 2.5 m 2.5 0 l 5 2.5 m 2.5 5 l S"},
      {"PBD", "2 J 2 j 0.3 w 0 2.5 m 2.5 5 l 2.5 0 m 5 2.5 l S"},
      {"PC", "2 J 2 j 0.3 w 0 2.5 m 5 2.5 l 2.5 0 m 2.5 5 l S"},
      {"PDC", "2 J 2 j 0.3 w 2.5 0 m 5 2.5 l 2.5 5 l 0 2.5 l s"}};
  for (auto& [Name, N] : FPatterns) {
    AnsiString Dict, Body;
    if (Name == "PI") {
      const AnsiString W = FormatNumber(FBackW), H = FormatNumber(FBackH);
      Dict = "/Type/Pattern/PatternType 1/PaintType 1/Resources << /ProcSet [/PDF /ImageC] /XObject << /Img0 " +
             ObjectRef(FBackgroundImageNumber) + " >> \r\n>>/TilingType 1/BBox [0 0 " + W + " " + H +
             "]/Matrix [1 0 0 1 " + FormatNumber(FBackX) + " " + FormatNumber(FBackY) + "]/XStep " + W + "/YStep " + H;
      Body = "\r\nq\r\n" + W + " 0 0 " + H + " 0 0 cm\r\n/Img0 Do\r\nQ";
    } else {
      Dict = "/Type /Pattern\r\n/Resources << /ProcSet [/PDF ] >>\r\n/PatternType 1\r\n/PaintType 2\r\n/TilingType 1\r\n"
             "/BBox [0 0 5 5]\r\n/XStep 5\r\n/YStep 5\r\n";
      for (auto& [HN, HB] : Hatches)
        if (Name == HN) Body = HB;
    }
    std::string Data = CompressData(Body);
    EncryptStream(Data, N);
    Dict += "/Length " + std::to_string(Data.size()) + (FCompression->Enabled ? "/Filter/FlateDecode" : "") + "\r\n";
    WriteObject(Dict, N, false);
    WriteRaw("stream\r\n" + Data + "\r\nendstream\r\nendobj\r\n");
  }
}
