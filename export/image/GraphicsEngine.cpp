#include "export/image/GraphicsEngine.h"
#include <algorithm>
#include <cmath>
#include "export/image/PngPieces.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Metafile.h"
#include "platform/rtl/CodePages.h"

TgtCustomGraphicsEngine::TgtCustomGraphicsEngine(TComponent* AOwner) : TgtCustomDocumentEngine(AOwner) {}

TgtCustomGraphicsEngine::~TgtCustomGraphicsEngine() = default;

void TgtCustomGraphicsEngine::StartDocument() {
  TgtCustomDocumentEngine::StartDocument();
  FGfxMetafile = std::make_unique<TMetafile>();
  FGfxMetafile->SetEnhanced(true);
}

void TgtCustomGraphicsEngine::FinishDocument() {
  TgtCustomDocumentEngine::FinishDocument();
  FPageCanvas.reset();
  FGfxMetafile.reset();
}

void TgtCustomGraphicsEngine::BeginPage() {
  TgtCustomDocumentEngine::BeginPage();
  if (!FGfxMetafile) return;
  TgtPageItem* Page = GetCurrentPageItem();
  const Integer W = Page ? RoundInt(Page->PageSettings.WidthPx()) : 0;
  const Integer H = Page ? RoundInt(Page->PageSettings.HeightPx()) : 0;
  FPageCanvas.reset();
  FGfxMetafile->Clear();
  FGfxMetafile->SetEnhanced(true);
  FGfxMetafile->SetWidth(std::max(1, W));
  FGfxMetafile->SetHeight(std::max(1, H));
  FPageCanvas = std::make_unique<TMetafileCanvas>(FGfxMetafile.get(), nullptr);
  DrawBackground(W, H);
}

void TgtCustomGraphicsEngine::DrawBackground(Integer W, Integer H) {
  TCanvas* C = FPageCanvas.get();
  // The page bitmap starts white: a white ground needs no fill of its own.
  if (ColorToRGB(GetBackgroundColor()) != RGB(255, 255, 255)) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(GetBackgroundColor());
    C->FillRect(TRect(0, 0, W, H));
  }
  ResetCanvasBrush();
  TGraphic* G = GetBackgroundImage() ? GetBackgroundImage()->GetGraphic() : nullptr;
  if (!G || G->Empty()) return;
  const Integer GW = G->GetWidth(), GH = G->GetHeight();
  // A picture without area would tile forever without moving.
  if (GW <= 0 || GH <= 0) return;
  if (GetBackgroundImageDisplayType() == dtTile) {
    for (Integer Y = 0; Y < H; Y += GH)
      for (Integer X = 0; X < W; X += GW) C->Draw(X, Y, G);
    return;
  }
  Integer X = 0, Y = 0;
  switch (GetBackgroundImageDisplayType()) {
    case dtTopCenter: case dtCenter: case dtBottomCenter: X = (W - GW) / 2; break;
    case dtTopRight: case dtCenterRight: case dtBottomRight: X = W - GW; break;
    default: break;
  }
  switch (GetBackgroundImageDisplayType()) {
    case dtCenterLeft: case dtCenter: case dtCenterRight: Y = (H - GH) / 2; break;
    case dtBottomLeft: case dtBottomCenter: case dtBottomRight: Y = H - GH; break;
    default: break;
  }
  C->Draw(X, Y, G);
}

void TgtCustomGraphicsEngine::EndPage() {
  // Destroying the canvas completes the page metafile.
  FPageCanvas.reset();
  TgtCustomDocumentEngine::EndPage();
}

std::unique_ptr<TBitmap> TgtCustomGraphicsEngine::PageToBitmap(TPixelFormat Format) {
  const double MW = FGfxMetafile ? FGfxMetafile->GetWidth() : 0, MH = FGfxMetafile ? FGfxMetafile->GetHeight() : 0;
  const double SW = MW * FScaleX, SH = MH * FScaleY;
  // A scale that gives no pixels still makes a picture of one pixel.
  const Integer W = std::isfinite(SW) ? std::max<Integer>(1, RoundInt(std::min(SW, 1e9))) : 1;
  const Integer H = std::isfinite(SH) ? std::max<Integer>(1, RoundInt(std::min(SH, 1e9))) : 1;
  auto Bmp = std::make_unique<TBitmap>();
  if (Format != pfDevice) Bmp->SetPixelFormat(Format);
  // A new bitmap starts white.
  Bmp->SetSize(W, H);
  if (FGfxMetafile) Bmp->Canvas()->StretchDraw(TRect(0, 0, W, H), FGfxMetafile.get());
  return Bmp;
}

AnsiString TgtCustomGraphicsEngine::PageFileName() {
  AnsiString Name = GetFileName() + std::to_string(GetPageNo());
  if (OnNeedFileName) OnNeedFileName(this, Name, GetPageNo());
  return Name;
}

void TgtCustomGraphicsEngine::SavePage(const std::function<void(TStream*)>& Write) {
  if (GetPreferences()->GetOutputToUserStream()) {
    if (!GetUserStream()) throw EStreamError("No user stream to write the page to");
    Write(GetUserStream());
    return;
  }
  const AnsiString Name = PageFileName() + "." + GetFileExtension();
  TStream* S = CreateOutputFile(Name);
  try {
    Write(S);
    CloseOutputFile();
  } catch (const EFileCreateError&) {
    throw;
  } catch (const Exception& E) {
    // The document ends here; EndDoc removes every file it wrote.
    throw EFileCreateError(FileCreateErrorText(E.Message()));
  }
}

// ---- text -----------------------------------------------------------------------------

void TgtCustomGraphicsEngine::ResetCanvasBrush() {
  if (!FPageCanvas) return;
  TBrush* B = FPageCanvas->Brush();
  B->SetColor(TColor(0xFFFFFF));
  B->SetBitmap(nullptr);
  B->SetStyle(bsSolid);
}

void TgtCustomGraphicsEngine::SetCanvasFontAngle(Integer Angle) {
  if (!FPageCanvas) return;
  LOGFONTA Lf{};
  GetObjectA(FPageCanvas->Font()->GetHandle(), sizeof(Lf), &Lf);
  Lf.lfEscapement = Angle * 10;
  Lf.lfOrientation = Angle * 10;
  Lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  FPageCanvas->Font()->SetHandle(CreateFontIndirectA(&Lf));
}

void TgtCustomGraphicsEngine::EncodeTextItem(TgtTextItem* Item) {
  TCanvas* C = FPageCanvas.get();
  if (!C) return;
  WideString Line;
  ReplaceVariables(Item->Lines.Get(0), true, Line);
  const AnsiString Text = WideToAnsi(Line);
  C->Font()->Assign(&Item->Font);
  TBrush* B = &Item->Brush;
  const bool Plain = B->GetStyle() == bsSolid || B->GetStyle() == bsClear || Item->Angle != 0;
  int BkMode = TRANSPARENT;
  COLORREF BkColor = ColorToRGB(B->GetColor());
  if (Plain) {
    if (BkColor != ColorToRGB(clWindow)) BkMode = OPAQUE;
  } else {
    // A hatch behind text is a hatched rectangle under a transparent text.
    const TSize Ext = C->TextExtent(Text);
    TPen Clear;
    Clear.SetStyle(psClear);
    EncodeRectangle(&Clear, B, Item->X, Item->Y, Item->X + Ext.cx, Item->Y + Ext.cy);
  }
  C->Brush()->Assign(B);
  if (!Item->GetClipped()) SetCanvasFontAngle(Item->Angle);
  // Selecting the brush sets its own background mode; ours comes after.
  C->RequiredState({csHandleValid, csFontValid, csBrushValid});
  SetBkMode(C->GetHandle(), BkMode);
  SetBkColor(C->GetHandle(), BkColor);
  if (Item->GetClipped()) {
    const TgtDoubleRect& R = Item->ClipRect;
    C->TextRect(TRect(RoundInt(R.Left), RoundInt(R.Top), RoundInt(R.Right), RoundInt(R.Bottom)), RoundInt(Item->X),
                RoundInt(Item->Y), Text);
  } else {
    C->TextOut(RoundInt(Item->X), RoundInt(Item->Y), Text);
  }
  ResetCanvasBrush();
}

// ---- images ----------------------------------------------------------------------------

void TgtCustomGraphicsEngine::EncodeImageItem(TgtImageItem* Item) {
  TCanvas* C = FPageCanvas.get();
  if (!C) return;
  std::unique_ptr<TBitmap> Pic = ImageItemToBitmap(Item);
  if (!Pic || Pic->Empty()) return;
  double X = Item->X, Y = Item->Y;
  if (Item->ImageSettings.DrawFrame) {
    const Integer PW = std::max(1, Item->Pen.GetWidth());
    const TgtFrame& F = Item->Frame;
    const Integer L = F.Left ? PW : 0, T = F.Top ? PW : 0, R = F.Right ? PW : 0, B = F.Bottom ? PW : 0;
    const Integer W = Pic->GetWidth() + L + R, H = Pic->GetHeight() + T + B;
    auto Framed = std::make_unique<TBitmap>();
    Framed->SetSize(W, H);
    TCanvas* FC = Framed->Canvas();
    FC->Pen()->Assign(&Item->Pen);
    const Integer Half = PW / 2;
    if (F.Left) { FC->MoveTo(Half, 0); FC->LineTo(Half, H); }
    if (F.Top) { FC->MoveTo(0, Half); FC->LineTo(W, Half); }
    if (F.Right) { FC->MoveTo(W - PW + Half, 0); FC->LineTo(W - PW + Half, H); }
    if (F.Bottom) { FC->MoveTo(0, H - PW + Half); FC->LineTo(W, H - PW + Half); }
    FC->Draw(L, T, Pic.get());
    Pic = std::move(Framed);
    // The frame grows outwards: the picture itself stays where the item is.
    X -= L;
    Y -= T;
  }
  if (Item->ImageSettings.RotationAngle % 360 != 0)
    Pic = RotateBitmap(Pic.get(), X, Y, GetBackgroundColor(), Item->ImageSettings.RotationAngle);
  C->Draw(RoundInt(X), RoundInt(Y), Pic.get());
}

void TgtCustomGraphicsEngine::EncodeOtherItem(TgtDocumentItem* Item) {
  auto* M = dynamic_cast<TgtGfxMetafileItem*>(Item);
  if (!M || !FPageCanvas) return;
  if (TGraphic* G = GetImage(M->ImageIndex)) FPageCanvas->Draw(RoundInt(M->X), RoundInt(M->Y), G);
}

void TgtCustomGraphicsEngine::EncodeBitmap(TBitmap* Bitmap, double X, double Y) {
  // Shapes the base can only rasterise arrive here on a white, transparent
  // ground; drawing them keeps them in the picture.
  if (FPageCanvas && Bitmap) FPageCanvas->Draw(RoundInt(X), RoundInt(Y), Bitmap);
}

// ---- shapes ----------------------------------------------------------------------------

void TgtCustomGraphicsEngine::SelectShapeTools(TPen* Pen, TBrush* Brush) {
  TCanvas* C = FPageCanvas.get();
  if (Pen) C->Pen()->Assign(Pen);
  if (Brush) C->Brush()->Assign(Brush);
  else C->Brush()->SetStyle(bsClear);
}

void TgtCustomGraphicsEngine::AfterShape(TBrush*) { ResetCanvasBrush(); }

void TgtCustomGraphicsEngine::EncodeLine(TPen* Pen, double X1, double Y1, double X2, double Y2) {
  if (!FPageCanvas) return;
  SelectShapeTools(Pen, nullptr);
  FPageCanvas->MoveTo(RoundInt(X1), RoundInt(Y1));
  FPageCanvas->LineTo(RoundInt(X2), RoundInt(Y2));
  AfterShape(nullptr);
}

void TgtCustomGraphicsEngine::EncodeRectangle(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2,
                                              double Y2) {
  if (!FPageCanvas) return;
  if ((!Pen || Pen->GetStyle() == psClear) && Brush && Brush->GetStyle() != bsClear) {
    // A filled rectangle without outline covers its area as the vector
    // pages do (a null pen's rectangle would lose its last row and column),
    // and one thinner than a pixel still shows one: a hairline border
    // drawn as a fill must not vanish.
    TRect R(RoundInt(std::min(X1, X2)), RoundInt(std::min(Y1, Y2)), RoundInt(std::max(X1, X2)),
            RoundInt(std::max(Y1, Y2)));
    if (R.Right == R.Left) ++R.Right;
    if (R.Bottom == R.Top) ++R.Bottom;
    FPageCanvas->Brush()->Assign(Brush);
    FPageCanvas->FillRect(R);
    AfterShape(Brush);
    return;
  }
  SelectShapeTools(Pen, Brush);
  FPageCanvas->Rectangle(RoundInt(X1), RoundInt(Y1), RoundInt(X2), RoundInt(Y2));
  AfterShape(Brush);
}

void TgtCustomGraphicsEngine::EncodeRoundRect(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2,
                                              double Y2, double CW, double CH) {
  if (!FPageCanvas) return;
  SelectShapeTools(Pen, Brush);
  FPageCanvas->RoundRect(RoundInt(X1), RoundInt(Y1), RoundInt(X2), RoundInt(Y2), RoundInt(CW), RoundInt(CH));
  AfterShape(Brush);
}

void TgtCustomGraphicsEngine::EncodeEllipse(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2,
                                            double Y2) {
  if (!FPageCanvas) return;
  SelectShapeTools(Pen, Brush);
  FPageCanvas->Ellipse(RoundInt(X1), RoundInt(Y1), RoundInt(X2), RoundInt(Y2));
  AfterShape(Brush);
}

namespace {
std::vector<TPoint> Rounded(const TgtPoints& P) {
  std::vector<TPoint> Q;
  Q.reserve(P.size());
  for (const auto& Pt : P) Q.push_back(TPoint(RoundInt(Pt.X), RoundInt(Pt.Y)));
  return Q;
}
}  // namespace

void TgtCustomGraphicsEngine::EncodePolygon(const TgtPoints& Points, bool Closed, TPen* Pen, TBrush* Brush) {
  if (!FPageCanvas || Points.empty()) return;
  SelectShapeTools(Pen, Closed ? Brush : nullptr);
  const auto Q = Rounded(Points);
  if (Closed) FPageCanvas->Polygon(Q);
  else FPageCanvas->Polyline(Q);
  AfterShape(Brush);
}

void TgtCustomGraphicsEngine::EncodeArc(TPen* Pen, double X1, double Y1, double X2, double Y2, double X3,
                                        double Y3, double X4, double Y4) {
  if (!FPageCanvas) return;
  SelectShapeTools(Pen, nullptr);
  FPageCanvas->Arc(RoundInt(X1), RoundInt(Y1), RoundInt(X2), RoundInt(Y2), RoundInt(X3), RoundInt(Y3), RoundInt(X4),
                   RoundInt(Y4));
  AfterShape(nullptr);
}

void TgtCustomGraphicsEngine::EncodePie(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2,
                                        double X3, double Y3, double X4, double Y4) {
  if (!FPageCanvas) return;
  SelectShapeTools(Pen, Brush);
  FPageCanvas->Pie(RoundInt(X1), RoundInt(Y1), RoundInt(X2), RoundInt(Y2), RoundInt(X3), RoundInt(Y3), RoundInt(X4),
                   RoundInt(Y4));
  AfterShape(Brush);
}

void TgtCustomGraphicsEngine::EncodeChord(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2,
                                          double X3, double Y3, double X4, double Y4) {
  if (!FPageCanvas) return;
  SelectShapeTools(Pen, Brush);
  FPageCanvas->Chord(RoundInt(X1), RoundInt(Y1), RoundInt(X2), RoundInt(Y2), RoundInt(X3), RoundInt(Y3),
                     RoundInt(X4), RoundInt(Y4));
  AfterShape(Brush);
}

void TgtCustomGraphicsEngine::EncodePolyBezier(const TgtPoints& Points, TPen* Pen) {
  if (!FPageCanvas) return;
  auto Q = Rounded(Points);
  // A Bezier takes 3n + 1 points; a trailing remainder is dropped.
  Q.resize(Q.size() < 4 ? 0 : 1 + (Q.size() - 1) / 3 * 3);
  if (Q.empty()) return;
  SelectShapeTools(Pen, nullptr);
  FPageCanvas->PolyBezier(Q);
  AfterShape(nullptr);
}
