// DocumentEngine_Draw.cpp — the engine's own drawing interface: text, images
// and shapes queued as items at band-area positions, metafiles played in,
// band switching, saved drawing states and the active page.
#include <algorithm>
#include <cmath>
#include "export/engine/DocumentEngine.h"
#include "platform/gdi/IconGraphic.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/AnsiStrings.h"

bool TgtCustomDocumentEngine::CanText() const {
  return FDocOpen && (FCapabilities & capText) && (FItemsToRender & (1 << irText));
}
bool TgtCustomDocumentEngine::CanImage() const {
  return FDocOpen && (FCapabilities & capImages) && (FItemsToRender & (1 << irImage));
}
bool TgtCustomDocumentEngine::CanShape() const {
  return FDocOpen && (FCapabilities & capShapes) && (FItemsToRender & (1 << irShape));
}

// ---- text -----------------------------------------------------------------------------

TSize TgtCustomDocumentEngine::GetTextExtent(const WideString& Text, TFont* Font) const {
  if (Text.empty()) return TSize(1, GetTextSize(u" ", Font).cy);
  return GetTextSize(Text, Font);
}

double TgtCustomDocumentEngine::TextHeight(const WideString& Text) const {
  if (Text.empty()) return 0;
  return GetTextExtent(Text, FFont.get()).cy / UnitToPixelsY(1);
}

void TgtCustomDocumentEngine::SetTextAngle(Integer Degrees) { FTextAngle = Degrees % 360; }

void TgtCustomDocumentEngine::TextOut(double X, double Y, const WideString& Text) {
  if (!CanText()) return;
  const double PX = UnitToPixelsX(X) + FBandArea.Left, PY = UnitToPixelsY(Y) + FBandArea.Top;
  if (!IsInsideArea(PY, PX)) return;
  auto Item = std::make_shared<TgtTextItem>();
  Item->X = PX;
  Item->Y = PY;
  Item->Lines.Add(Text);
  Item->Font.Assign(FFont.get());
  Item->Brush.Assign(FBrush.get());
  Item->Angle = FTextAngle;
  Item->Alignment = FTextAlignment;
  Item->TextEffects.Assign(FTextEffects.get());
  AddItem(Item);
}

void TgtCustomDocumentEngine::ClippedTextOut(const TgtDoubleRect& Rect, const WideString& Text, double X,
                                             double Y) {
  if (!CanText()) return;
  const std::size_t Before = CurrentItems().size() + CurrentTextItems().size();
  TextOut(X, Y, Text);
  if (CurrentItems().size() + CurrentTextItems().size() == Before) return;
  TgtItemList& L = FSplitTextList ? CurrentTextItems() : CurrentItems();
  auto* Item = static_cast<TgtTextItem*>(L.back().get());
  Item->SetClipped(true);
  Item->ClipRect = RectToPixels(Rect);
}

void TgtCustomDocumentEngine::FormattedTextOut(const WideString& Text, double X, double Y) {
  if (!CanText()) return;
  double PX = X, PY = Y;
  switch (FMeasurementUnit) {
    case muInches: PX = PointsToPixels(X * 72); PY = PointsToPixels(Y * 72); break;
    case muMM: PX = PointsToPixels(X * 2.83464); PY = PointsToPixels(Y * 2.83464); break;
    case muTwips: PX = PointsToPixels(X * 0.05); PY = PointsToPixels(Y * 0.05); break;
    case muPoints: PX = PointsToPixels(X); PY = PointsToPixels(Y); break;
    case muPixels: break;
  }
  const TgtUnitType SavedUnit = FMeasurementUnit;
  SetMeasurementUnit(muPixels);
  const TFontStyles SavedStyle = FFont->GetStyle();
  struct TRestore {
    TgtCustomDocumentEngine* E;
    TgtUnitType Unit;
    ~TRestore() { E->SetMeasurementUnit(Unit); }
  } Restore{this, SavedUnit};
  double CurX = PX;
  WideString Run;
  auto Flush = [&] {
    if (Run.empty()) return;
    const std::size_t Before = CurrentItems().size() + CurrentTextItems().size();
    TextOut(CurX, PY, Run);
    if (CurrentItems().size() + CurrentTextItems().size() != Before)
      CurX += GetTextExtent(Run, FFont.get()).cx;
    Run.clear();
  };
  auto Upper = [](WideString S) {
    for (char16_t& C : S) C = WideCharUpper(C);
    return S;
  };
  static const struct { const char16_t* Tag; TFontStyle Style; } Tags[] = {
      {u"<B>", fsBold}, {u"<I>", fsItalic}, {u"<U>", fsUnderline}, {u"<S>", fsStrikeOut}};
  for (std::size_t I = 0; I < Text.size();) {
    const char16_t C = Text[I];
    if (C == u'/' && I + 1 < Text.size() && (Text[I + 1] == u'/' || Text[I + 1] == u'<')) {
      Run += Text[I + 1];
      I += 2;
      continue;
    }
    if (C == u'<') {
      bool Matched = false;
      for (const auto& T : Tags) {
        const WideString Open(T.Tag), Close = u"</" + WideString(T.Tag + 1);
        if (Upper(Text.substr(I, Open.size())) == Open) {
          Flush();
          FFont->SetStyle(FFont->GetStyle() << T.Style);
          I += Open.size();
          Matched = true;
          break;
        }
        if (Upper(Text.substr(I, Close.size())) == Close) {
          Flush();
          TFontStyles S = FFont->GetStyle();
          S.Exclude(T.Style);
          FFont->SetStyle(S);
          I += Close.size();
          Matched = true;
          break;
        }
      }
      if (Matched) continue;
    }
    Run += C;
    ++I;
  }
  Flush();
  FFont->SetStyle(SavedStyle);
}

void TgtCustomDocumentEngine::AngledTextOut(const WideString& Text, Integer Direction, double X, double Y) {
  if (!CanText()) return;
  const double A = FTextAngle * 3.14159265358979323846 / 180.0;
  const double H = TextHeight(Text);
  for (char16_t C : Text) {
    TextOut(X, Y, WideString(1, C));
    const double DX = std::cos(A) * H, DY = std::sin(A) * H;
    if (Direction == 1) { X += DX; Y += DY; }
    else { X -= DX; Y -= DY; }
  }
}

// ---- images ---------------------------------------------------------------------------

Integer TgtCustomDocumentEngine::AddImageToList(TGraphic* Graphic) {
  if (!FDocOpen || !(FCapabilities & capImages) || !Graphic) return -1;
  std::unique_ptr<TGraphic> Copy;
  if (dynamic_cast<TBitmap*>(Graphic)) Copy = std::make_unique<TBitmap>();
  else if (dynamic_cast<TMetafile*>(Graphic)) Copy = std::make_unique<TMetafile>();
  else if (dynamic_cast<TJPEGImage*>(Graphic)) Copy = std::make_unique<TJPEGImage>();
  else if (dynamic_cast<TIcon*>(Graphic)) Copy = std::make_unique<TIcon>();
  if (!Copy) {
    ReportError<EUnsupportedGraphics>(SUnsupportedGraphics);
    return -1;
  }
  Copy->Assign(Graphic);
  FImages.push_back(std::move(Copy));
  return Integer(FImages.size()) - 1;
}

TGraphic* TgtCustomDocumentEngine::GetImage(Integer Index) const {
  if (Index < 0 || Index >= Integer(FImages.size())) return nullptr;
  return dynamic_cast<TGraphic*>(FImages[std::size_t(Index)].get());
}

Integer TgtCustomDocumentEngine::ReserveImage() {
  FImages.push_back(nullptr);
  return Integer(FImages.size()) - 1;
}

void TgtCustomDocumentEngine::SetImage(Integer Index, std::unique_ptr<TGraphic> Graphic) {
  if (Index >= 0 && Index < Integer(FImages.size())) FImages[std::size_t(Index)] = std::move(Graphic);
}

void TgtCustomDocumentEngine::DropLastImage() {
  if (!FImages.empty()) FImages.pop_back();
}

void TgtCustomDocumentEngine::DrawImage(TGraphic* Graphic, double X, double Y) {
  if (!CanImage() || !Graphic) return;
  const double PX = UnitToPixelsX(X), PY = UnitToPixelsY(Y), K = gtScreenPPI() / 96.0;
  const Integer Index = AddImageToList(Graphic);
  if (Index < 0) return;
  AddImageItem({PX, PY, PX + Graphic->GetWidth() * K, PY + Graphic->GetHeight() * K}, Index);
}

void TgtCustomDocumentEngine::StretchImage(const TgtDoubleRect& Rect, TGraphic* Graphic) {
  if (!CanImage() || !Graphic) return;
  const Integer Index = AddImageToList(Graphic);
  if (Index >= 0) AddImageItem(RectToPixels(Rect), Index);
}

void TgtCustomDocumentEngine::DrawImageByIndex(const TgtDoubleRect& Rect, Integer Index) {
  if (!CanImage()) return;
  AddImageItem(RectToPixels(Rect), Index);
}

void TgtCustomDocumentEngine::DrawImageStream(const TgtDoubleRect& Rect, Integer ImageWidth,
                                              std::unique_ptr<TStream> Stream, Integer ImageHeight) {
  if (!CanImage() || !Stream) return;
  const TgtDoubleRect R = RectToPixels(Rect);
  auto Item = std::make_shared<TgtImageStream>();
  Item->SetRect(R.Left + FBandArea.Left, R.Top + FBandArea.Top, R.Right + FBandArea.Left,
                R.Bottom + FBandArea.Top);
  Stream->SetPosition(0);
  Item->Stream.CopyFrom(Stream.get(), 0);
  Item->ImageWidth = ImageWidth;
  Item->ImageHeight = ImageHeight;
  Item->ImageSettings.Assign(FImageSettings.get());
  FImages.push_back(std::move(Stream));
  Item->ImageIndex = Integer(FImages.size()) - 1;
  AddItem(Item);
}

void TgtCustomDocumentEngine::AddImageItem(const TgtDoubleRect& PixelRect, Integer Index) {
  TGraphic* G = GetImage(Index);
  if (!G) return;
  const TgtDoubleRect R{PixelRect.Left + FBandArea.Left, PixelRect.Top + FBandArea.Top,
                        PixelRect.Right + FBandArea.Left, PixelRect.Bottom + FBandArea.Top};
  if (!IsInsideArea(R.Top, R.Left)) return;
  auto Item = std::make_shared<TgtImageItem>();
  Item->SetRect(R.Left, R.Top, R.Right, R.Bottom);
  Item->ImageSettings.Assign(FImageSettings.get());
  const TgtImageSettings& S = *FImageSettings;
  const double W = Item->Width, H = Item->Height, GW = G->GetWidth(), GH = G->GetHeight();
  if (S.ActualSize) {
    const double K = S.SourceDPI > 0 ? double(S.SourceDPI) / gtScreenPPI() : 1.0;
    Item->Width = GW / K;
    Item->Height = GH / K;
    Item->DisplayRect = {Item->X, Item->Y, Item->X + Item->Width, Item->Y + Item->Height};
  } else {
    double NW = W, NH = H;
    if (S.KeepAspectRatio && GW > 0 && GH > 0 && (S.Stretch || GW > W || GH > H)) {
      const double Ratio = GW / GH;
      if (GW > GH) {
        if (H >= W / Ratio) NH = W / Ratio;
        else NW = H * Ratio;
      } else {
        if (W >= H * Ratio) NW = H * Ratio;
        else NH = W / Ratio;
      }
    }
    NW = std::nearbyint(NW);
    NH = std::nearbyint(NH);
    if (S.Center) {
      Item->X += (W - NW) / 2;
      Item->Y += (H - NH) / 2;
    }
    Item->Width = NW;
    Item->Height = NH;
  }
  if (S.DrawFrame) {
    Item->Frame.Assign(FFrame.get());
    Item->Pen.Assign(FPen.get());
  }
  Item->Brush.Assign(FBrush.get());
  Item->ImageIndex = Index;
  AddItem(Item);
}

std::unique_ptr<TBitmap> TgtCustomDocumentEngine::ImageItemToBitmap(TgtImageItem* Item) {
  TGraphic* G = GetImage(Item->ImageIndex);
  auto Bmp = std::make_unique<TBitmap>();
  if (!G) return Bmp;
  Bmp->SetPixelFormat(Item->ImageSettings.ImagePixelFormat);
  auto Fill = [&] {
    TCanvas* C = Bmp->Canvas();
    C->Brush()->Assign(&Item->Brush);
    C->FillRect(TRect(0, 0, Bmp->GetWidth(), Bmp->GetHeight()));
  };
  Bmp->SetSize(G->GetWidth(), G->GetHeight());
  Fill();
  if (!Item->ImageSettings.ActualSize) Item->ImageSettings.Stretch = true;
  if (Item->ImageSettings.Transparent) {
    Bmp->SetTransparentColor(Item->Brush.GetColor());
    Bmp->SetTransparentMode(tmFixed);
    Bmp->Canvas()->CopyMode = cmSrcAnd;
  }
  if (Item->ImageSettings.ActualSize || !(FCapabilities & capImageOwnSize)) {
    Bmp->SetSize(std::max(1, RoundInt(Item->Width)), std::max(1, RoundInt(Item->Height)));
    Fill();
    Bmp->Canvas()->StretchDraw(TRect(0, 0, Bmp->GetWidth(), Bmp->GetHeight()), G);
  } else {
    Bmp->Canvas()->Draw(0, 0, G);
  }
  return Bmp;
}

std::unique_ptr<TMetafile> TgtCustomDocumentEngine::ImageItemToMetafile(TgtImageItem* Item) {
  auto Mf = std::make_unique<TMetafile>();
  TGraphic* G = GetImage(Item->ImageIndex);
  const TgtImageSettings& S = Item->ImageSettings;
  Integer W = std::max(1, RoundInt(Item->Width)), H = std::max(1, RoundInt(Item->Height));
  const bool OwnSize = S.Stretch && (FCapabilities & capImageOwnSize) && !S.ActualSize;
  if (OwnSize && G) {
    W = G->GetWidth();
    H = G->GetHeight();
  }
  Mf->SetWidth(W);
  Mf->SetHeight(H);
  {
    TMetafileCanvas C(Mf.get(), nullptr);
    C.Brush()->Assign(&Item->Brush);
    C.FillRect(TRect(0, 0, W, H));
    if (G) {
      if (S.ActualSize || (S.Stretch && !(FCapabilities & capImageOwnSize))) C.StretchDraw(TRect(0, 0, W, H), G);
      else if (OwnSize) C.Draw(0, 0, G);
      else if (S.Center) C.Draw(RoundInt((W - G->GetWidth()) / 2.0), RoundInt((H - G->GetHeight()) / 2.0), G);
      else C.Draw(0, 0, G);
    }
  }
  return Mf;
}

std::unique_ptr<TMemoryStream> TgtCustomDocumentEngine::BitmapToJPEGStream(TBitmap* Bitmap, Integer Quality) {
  TBitmap Copy;
  Copy.Assign(Bitmap);
  // The JPEG coder needs two rows at least.
  if (Copy.GetHeight() == 1) {
    Copy.SetHeight(2);
    Copy.Canvas()->Draw(0, 1, Bitmap);
  }
  TJPEGImage Jpeg;
  Jpeg.Assign(&Copy);
  Jpeg.SetCompressionQuality(Quality);
  auto Out = std::make_unique<TMemoryStream>();
  Jpeg.SaveToStream(Out.get());
  Out->SetPosition(0);
  return Out;
}

// ---- shapes ---------------------------------------------------------------------------

TgtDoublePoint TgtCustomDocumentEngine::ShapePoint(double X, double Y) const {
  return {std::clamp(UnitToPixelsX(X) + FBandArea.Left, FBandArea.Left, std::max(FBandArea.Left, FBandArea.Right)),
          std::clamp(UnitToPixelsY(Y) + FBandArea.Top, FBandArea.Top, std::max(FBandArea.Top, FBandArea.Bottom))};
}

void TgtCustomDocumentEngine::AddShape(TgtShapeType Type, bool Filled, TgtPoints Points) {
  auto Shape = std::make_shared<TgtShapeItem>();
  Shape->ShapeType = Type;
  Shape->Pen.Assign(FPen.get());
  if (Filled) {
    Shape->Brush = std::make_unique<TBrush>();
    Shape->Brush->Assign(FBrush.get());
  }
  Shape->Points = std::move(Points);
  AddItem(Shape);
}

void TgtCustomDocumentEngine::Line(double X1, double Y1, double X2, double Y2) {
  if (CanShape()) AddShape(TgtShapeType::stLine, false, {ShapePoint(X1, Y1), ShapePoint(X2, Y2)});
}
void TgtCustomDocumentEngine::Rectangle(bool Filled, double X1, double Y1, double X2, double Y2) {
  if (CanShape()) AddShape(TgtShapeType::stRectangle, Filled, {ShapePoint(X1, Y1), ShapePoint(X2, Y2)});
}
void TgtCustomDocumentEngine::RoundRect(bool Filled, double X1, double Y1, double X2, double Y2, double CW,
                                        double CH) {
  if (CanShape())
    AddShape(TgtShapeType::stRoundRect, Filled, {ShapePoint(X1, Y1), ShapePoint(X2, Y2), {UnitToPixelsX(CW), UnitToPixelsY(CH)}});
}
void TgtCustomDocumentEngine::Ellipse(bool Filled, double X1, double Y1, double X2, double Y2) {
  if (CanShape()) AddShape(TgtShapeType::stEllipse, Filled, {ShapePoint(X1, Y1), ShapePoint(X2, Y2)});
}
void TgtCustomDocumentEngine::Polygon(const TgtPoints& Points, bool Filled) {
  if (!CanShape()) return;
  TgtPoints P;
  for (const auto& Pt : Points) P.push_back(ShapePoint(Pt.X, Pt.Y));
  AddShape(TgtShapeType::stPolygon, Filled, std::move(P));
}
void TgtCustomDocumentEngine::Polyline(const TgtPoints& Points) {
  if (!CanShape()) return;
  TgtPoints P;
  for (const auto& Pt : Points) P.push_back(ShapePoint(Pt.X, Pt.Y));
  AddShape(TgtShapeType::stPolyline, false, std::move(P));
}
void TgtCustomDocumentEngine::Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                  double Y4) {
  if (CanShape())
    AddShape(TgtShapeType::stArc, false, {ShapePoint(X1, Y1), ShapePoint(X2, Y2), ShapePoint(X3, Y3), ShapePoint(X4, Y4)});
}
void TgtCustomDocumentEngine::Pie(bool Filled, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                                  double X4, double Y4) {
  if (CanShape())
    AddShape(TgtShapeType::stPie, Filled, {ShapePoint(X1, Y1), ShapePoint(X2, Y2), ShapePoint(X3, Y3), ShapePoint(X4, Y4)});
}
void TgtCustomDocumentEngine::Chord(bool Filled, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                                    double X4, double Y4) {
  if (CanShape())
    AddShape(TgtShapeType::stChord, Filled, {ShapePoint(X1, Y1), ShapePoint(X2, Y2), ShapePoint(X3, Y3), ShapePoint(X4, Y4)});
}
void TgtCustomDocumentEngine::PolyBezier(const TgtPoints& Points) {
  if (!CanShape()) return;
  TgtPoints P;
  for (const auto& Pt : Points) P.push_back(ShapePoint(Pt.X, Pt.Y));
  AddShape(TgtShapeType::stBezier, false, std::move(P));
}

// ---- metafiles ------------------------------------------------------------------------

void TgtCustomDocumentEngine::DrawMetafile(TMetafile* Metafile) {
  if (FDocOpen) PlayMetafile(Metafile, 0, 0);
}

void TgtCustomDocumentEngine::DrawMetafileAt(TMetafile* Metafile, double X, double Y) {
  if (FDocOpen) PlayMetafile(Metafile, UnitToPixelsX(X), UnitToPixelsY(Y));
}

void TgtCustomDocumentEngine::StretchDrawGraphic(const TgtDoubleRect& Rect, TGraphic* Graphic) {
  if (!FDocOpen || !FCanvas || !Graphic) return;
  const TgtDoubleRect R = ScaleDoubleRect(Rect, FUnitFactor);
  FCanvas->StretchDraw(TRect(RoundInt(R.Left), RoundInt(R.Top), RoundInt(R.Right), RoundInt(R.Bottom)), Graphic);
}

// ---- bands ----------------------------------------------------------------------------

void TgtCustomDocumentEngine::BeginBand(TgtBand Band) {
  if (!FDocOpen) return;
  SetCurrentBand(Band);
  FParagraphCursor = FCurrentBandItem->ParagraphCursor;
}

void TgtCustomDocumentEngine::EndBand() {
  if (!FDocOpen || FCurrentBand == bdPageBody) return;
  FCurrentBandItem->ParagraphCursor = FParagraphCursor;
  SetCurrentBand(bdPageBody);
  if (FCurrentBandItem) FParagraphCursor = FCurrentBandItem->ParagraphCursor;
}

// ---- saved states -----------------------------------------------------------------------

Integer TgtCustomDocumentEngine::SaveEngineState() {
  if (!FDocOpen) return -1;
  auto S = std::make_unique<TgtEngineState>();
  S->Font.Assign(FFont.get());
  S->Brush.Assign(FBrush.get());
  S->Pen.Assign(FPen.get());
  S->ImageSettings.Assign(FImageSettings.get());
  S->TextFormatting.Assign(FTextFormatting.get());
  S->TableSettings.Assign(FTableSettings.get());
  S->TextEffects.Assign(FTextEffects.get());
  S->Page.Assign(FPage.get());
  FStates.push_back(std::move(S));
  return Integer(FStates.size()) - 1;
}

void TgtCustomDocumentEngine::RestoreEngineState(Integer Index) {
  if (Index == -1) Index = Integer(FStates.size()) - 1;
  // Nothing saved: nothing to go back to.
  if (FStates.empty() && Index == -1) return;
  if (Index < 0 || Index >= Integer(FStates.size())) {
    ReportError<EInvalidEngineState>(SInvalidEngineState);
    return;
  }
  TgtEngineState& S = *FStates[std::size_t(Index)];
  FFont->Assign(&S.Font);
  FPen->Assign(&S.Pen);
  FBrush->Assign(&S.Brush);
  FImageSettings->Assign(&S.ImageSettings);
  const double Factor = FUnitFactor;
  FTextFormatting->Assign(&S.TextFormatting);
  FTableSettings->Assign(&S.TableSettings);
  FTextFormatting->SetUnitFactor(Factor);
  FTableSettings->SetUnitFactor(Factor);
  FPage->Assign(&S.Page);
  FTextEffects->Assign(&S.TextEffects);
}

void TgtCustomDocumentEngine::ClearEngineStates() { FStates.clear(); }

void TgtCustomDocumentEngine::SetActivePage(Integer PageNo) {
  if (!FDocOpen || GetPreferences()->GetProcessAfterEachPage()) return;
  if (PageNo < 1 || PageNo > FPageCount || !GetPageItem(PageNo - 1)) {
    ReportError<EInvalidPageNumber>(SInvalidPageNumber);
    return;
  }
  if (TgtPageItem* Current = GetCurrentPageItem()) {
    Current->ParagraphCursor = FParagraphCursor;
    ClosePageCanvas();
    StartPageCanvas();
  }
  FCurrentPage = PageNo;
  TgtBand Band = FCurrentBand;
  if (Band == bdPageBody) FCurrentBandItem = GetCurrentPageItem();
  FParagraphCursor = GetCurrentPageItem()->ParagraphCursor;
}
