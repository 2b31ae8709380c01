// Image XObjects: one per distinct rendering of an image-list entry.
#include <array>
#include <cmath>
#include "export/pdf/CustomPdfEngine.h"
#include "platform/gdi/Dib.h"

namespace {
// Rows from the top, red-green-blue, no row padding.
std::string BitmapToRGB(TBitmap* Bitmap) {
  TBitmap Copy;
  Copy.Assign(Bitmap);
  Copy.SetPixelFormat(pf24bit);
  const TDib Dib = Copy.SaveToDib();
  const Integer W = Dib.Width(), H = Dib.Height();
  std::string Out;
  Out.reserve(std::size_t(W) * 3 * std::size_t(H));
  for (Integer Y = 0; Y < H; ++Y) {
    const Byte* Row = Dib.ScanLine(Y);
    for (Integer X = 0; X < W; ++X) {
      Out += char(Row[3 * X + 2]);
      Out += char(Row[3 * X + 1]);
      Out += char(Row[3 * X]);
    }
  }
  return Out;
}

std::string StreamBytes(TStream* S) {
  std::string Out(std::size_t(S->GetSize()), '\0');
  S->SetPosition(0);
  if (!Out.empty()) S->ReadBuffer(Out.data(), Integer(Out.size()));
  return Out;
}

}  // namespace

// A variant serves an item when it was rendered from the same settings and
// its size fits the way the item places the picture (gw x gh is the
// graphic's own pixel size).
bool TgtPDFImageSettings::SameImage(TgtImageItem* Item, double GraphicWidth, double GraphicHeight) const {
  const TgtImageSettings& S = Item->ImageSettings;
  if (GetOutputImageFormat() != S.GetOutputImageFormat() || ImagePixelFormat != S.ImagePixelFormat ||
      SourceDPI != S.SourceDPI || ActualSize != S.ActualSize)
    return false;
  if (S.GetOutputImageFormat() == ifJPEG && JPEGQuality != S.JPEGQuality) return false;
  const bool SameItemSize = ItemWidth == Item->Width && ItemHeight == Item->Height;
  const bool GraphicIsOwnSize = GraphicWidth == ItemWidth && GraphicHeight == ItemHeight;
  if (Stretch != S.Stretch) {
    if (!Stretch) return GraphicWidth == ItemWidth || GraphicHeight == ItemHeight;
    return GraphicWidth == Item->Width || GraphicHeight == Item->Height;
  }
  if (Stretch) return true;
  if (Center != S.Center) {
    if (!(SameItemSize && GraphicIsOwnSize)) return false;
  } else if (Center) {
    if (!GraphicIsOwnSize) {
      if (!SameItemSize) return false;
    } else if (GraphicWidth > Item->Width || GraphicHeight > Item->Height) {
      return false;
    }
  }
  return SameItemSize;
}

void TgtCustomPDFEngine::WriteImageObject(Integer N, const AnsiString& Name, Integer W, Integer H,
                                          TgtOutputImageFormat Format, std::string Data) {
  const bool Fax = Format == ifCCITT3 || Format == ifCCITT4;
  EncryptStream(Data, N);
  AnsiString Dict = ObjectHeader(N) + "\r\n<< /Type/XObject/Subtype/Image/Name/Img" + Name + "/Width " +
                    std::to_string(W) + "/Height " + std::to_string(H) + "/BitsPerComponent " + (Fax ? "1" : "8") +
                    FilterEntry(Format);
  if (Fax)
    Dict += AnsiString("/ColorSpace/DeviceGray /DecodeParms [<</K ") + (Format == ifCCITT3 ? "0" : "-1") +
            " /Columns " + std::to_string(W) + " /Rows " + std::to_string(H) + " >>]";
  else Dict += "/ColorSpace/DeviceRGB";
  Dict += "/Length " + std::to_string(Data.size()) + ">>\r\nstream\r\n";
  FDeferredOffsets.emplace_back(Int64(FDeferred.size()), N);
  FDeferred += Dict;
  FDeferred += Data;
  FDeferred += "\r\nendstream\r\nendobj\r\n";
}

void TgtCustomPDFEngine::EncodeImageItem(TgtImageItem* Item) {
  if (!Item || !(GetItemsToRender() & (1 << irImage))) return;
  TGraphic* G = GetImage(Item->ImageIndex);
  if (!G || G->Empty() || Item->ImageIndex < 0) return;
  const std::size_t P = std::size_t(Item->ImageIndex);
  if (FImageVariants.size() <= P) FImageVariants.resize(P + 1);
  auto& List = FImageVariants[P];
  AnsiString Name;
  for (auto& V : List)
    if (V->SameImage(Item, G->GetWidth(), G->GetHeight())) {
      Name = V->Name;
      break;
    }
  if (Name.empty()) {
    TgtOutputImageFormat Format = Item->ImageSettings.GetOutputImageFormat();
    std::unique_ptr<TBitmap> Bmp;
    std::string Data;
    if (Format == ifCCITT3 || Format == ifCCITT4) {
      Item->ImageSettings.ImagePixelFormat = pf1bit;
      Bmp = ImageItemToBitmap(Item);
      if (auto S = EncodeCCITT(Bmp.get(), Format)) Data = StreamBytes(S.get());
      else Format = ifBMP;   // no encoder: written as a colour image
    } else {
      Bmp = ImageItemToBitmap(Item);
    }
    if (Bmp->Empty()) return;
    if (Format == ifJPEG) Data = StreamBytes(BitmapToJPEGStream(Bmp.get(), Item->ImageSettings.JPEGQuality).get());
    else if (Format != ifCCITT3 && Format != ifCCITT4) {
      Format = ifBMP;
      Data = CompressData(BitmapToRGB(Bmp.get()));
    }
    auto V = std::make_unique<TgtPDFImageSettings>();
    V->Assign(&Item->ImageSettings);
    V->ObjectNumber = NextObjectNumber();
    V->ItemWidth = Item->Width;
    V->ItemHeight = Item->Height;
    V->DisplayWidth = Item->DisplayRect.Right - Item->DisplayRect.Left;
    V->DisplayHeight = Item->DisplayRect.Bottom - Item->DisplayRect.Top;
    // Index and variant separated, so no two entries can share a name.
    V->Name = std::to_string(P) + "_" + std::to_string(List.size());
    Name = V->Name;
    WriteImageObject(V->ObjectNumber, Name, Bmp->GetWidth(), Bmp->GetHeight(), Format, std::move(Data));
    List.push_back(std::move(V));
  }
  PlaceImage(Name, Item);
}

void TgtCustomPDFEngine::EncodeImageStreamItem(TgtImageStream* Item) {
  if (!Item || !(GetItemsToRender() & (1 << irImage)) || Item->ImageIndex < 0) return;
  const std::size_t P = std::size_t(Item->ImageIndex);
  if (FImageVariants.size() <= P) FImageVariants.resize(P + 1);
  auto& List = FImageVariants[P];
  auto V = std::make_unique<TgtPDFImageSettings>();
  V->Assign(&Item->ImageSettings);
  V->ObjectNumber = NextObjectNumber();
  V->Name = std::to_string(P) + "_" + std::to_string(List.size());
  const AnsiString Name = V->Name;
  WriteImageObject(V->ObjectNumber, Name, Item->ImageWidth, Item->ImageHeight, ifJPEG, StreamBytes(&Item->Stream));
  List.push_back(std::move(V));
  PlaceImage(Name, Item);
}

void TgtCustomPDFEngine::PlaceImage(const AnsiString& Name, TgtImageItem* Item) {
  if (Item->ImageSettings.DrawFrame) {
    DrawImageFrame(Item);
    FContent += "\r\n";
  }
  const double P = gtScreenPPI();
  const double Wpx = Item->Width == 0 ? 1 : Item->Width, Hpx = Item->Height == 0 ? 1 : Item->Height;
  const double W = Wpx * FPointsPerPixel * GetInputXRes() / P, H = Hpx * FPointsPerPixel * GetInputYRes() / P;
  const Integer A = Item->ImageSettings.RotationAngle % 360;
  if (A == 0) {
    FContent += "\r\nq\r\n" + FormatNumber(W) + " 0 0 " + FormatNumber(H) + " " + FormatNumber(ToPDFX(Item->X)) + " " +
                FormatNumber(ToPDFY(Item->Y + Hpx)) + " cm\r\n/Img" + Name + " Do\r\nQ";
    return;
  }
  const double R = A * M_PI / 180, C = std::cos(R), S = std::sin(R);
  // The bottom-left corner turned about the display rectangle's top-left.
  const double OX = Item->DisplayRect.Left, OY = Item->DisplayRect.Top;
  const double DX = Item->X - OX, DY = Item->Y + Hpx - OY;
  const double CX = OX + DX * C + DY * S, CY = OY - DX * S + DY * C;
  FContent += "\r\nq 1 0 0 1 " + FormatNumber(ToPDFX(CX)) + " " + FormatNumber(ToPDFY(CY)) + " cm\r" + FormatNumber(C) +
              " " + FormatNumber(S) + " " + FormatNumber(-S) + " " + FormatNumber(C) + " 0 0 cm\r" + FormatNumber(W) +
              " 0 0 " + FormatNumber(H) + " 0 0 cm\r /Img" + Name + " Do\r\nQ";
}

// The display rectangle's corners, turned with the picture about its
// top-left corner, in the order top-left, top-right, bottom-right, bottom-left.
std::array<TgtDoublePoint, 4> TgtCustomPDFEngine::FrameCorners(TgtImageItem* Item) const {
  const TgtDoubleRect& D = Item->DisplayRect;
  const double R = (Item->ImageSettings.RotationAngle % 360) * M_PI / 180, C = std::cos(R), S = std::sin(R);
  auto Turn = [&](double X, double Y) {
    const double DX = X - D.Left, DY = Y - D.Top;
    return TgtDoublePoint{ToPDFX(D.Left + DX * C + DY * S), ToPDFY(D.Top - DX * S + DY * C)};
  };
  return {Turn(D.Left, D.Top), Turn(D.Right, D.Top), Turn(D.Right, D.Bottom), Turn(D.Left, D.Bottom)};
}

void TgtCustomPDFEngine::DrawImageFrame(TgtImageItem* Item) {
  const auto Corners = FrameCorners(Item);
  auto P = [](const TgtDoublePoint& Pt) { return FormatNumber(Pt.X) + " " + FormatNumber(Pt.Y); };
  const AnsiString Path = P(Corners[0]) + " m " + P(Corners[1]) + " l " + P(Corners[2]) + " l " + P(Corners[3]) +
                          " l " + P(Corners[0]) + " l";
  TBrush* Brush = &Item->Brush;
  if (BrushPaints(Brush)) {
    const AnsiString Pattern = PatternName(Brush->GetStyle());
    if (Pattern.empty()) FContent += "\r\nq\r\n" + ColorText(Brush->GetColor()) + " rg\r\n" + Path + "\r\nf\r\nQ";
    else
      FContent += "\r\nq\r\n/CSP cs " + ColorText(Brush->GetColor()) + " /" + Pattern + " scn\r\nn\r\n" + Path +
                  "\r\nf\r\nQ";
  }
  TPen* Pen = &Item->Pen;
  const TgtFrame& F = Item->Frame;
  if (!Item->ImageSettings.DrawFrame || !PenPaints(Pen) || !(F.Left || F.Top || F.Right || F.Bottom)) return;
  AnsiString Ops = "\r\nq\r\n" + DashPattern(Pen) + FormatNumber(Pen->GetWidth() * FPointsPerPixel) + " w\r" +
                   ColorText(Pen->GetColor()) + " RG";
  if (F.Left && F.Top && F.Right && F.Bottom) {
    FContent += Ops + " " + Path + " s Q";
    return;
  }
  auto Side = [&](const TgtDoublePoint& A, const TgtDoublePoint& B) { Ops.append(1, ' ').append(P(A)).append(" m ").append(P(B)).append(" l"); };
  if (F.Top) Side(Corners[0], Corners[1]);
  if (F.Right) Side(Corners[1], Corners[2]);
  if (F.Bottom) Side(Corners[2], Corners[3]);
  if (F.Left) Side(Corners[3], Corners[0]);
  FContent += Ops + "\r\nS\r\nQ";
}

void TgtCustomPDFEngine::WriteBackgroundImage() {
  TPicture* Pic = GetBackgroundImage();
  TGraphic* G = Pic ? Pic->GetGraphic() : nullptr;
  if (!G || G->Empty()) return;
  TBitmap Bmp;
  Bmp.SetPixelFormat(pf24bit);
  Bmp.SetSize(G->GetWidth(), G->GetHeight());
  Bmp.Canvas()->Draw(0, 0, G);
  // The background's own filter always matches its data: JPEG stays DCT,
  // anything else (the fax formats included) is Flate RGB.
  const bool Jpeg = GetImageSettings()->GetOutputImageFormat() == ifJPEG;
  std::string Data = Jpeg ? StreamBytes(BitmapToJPEGStream(&Bmp, GetImageSettings()->JPEGQuality).get())
                          : CompressData(BitmapToRGB(&Bmp));
  FBackgroundImageNumber = NextObjectNumber();
  WriteImageObject(FBackgroundImageNumber, "0", Bmp.GetWidth(), Bmp.GetHeight(), Jpeg ? ifJPEG : ifBMP, std::move(Data));
}

void TgtCustomPDFEngine::AddThumbnail(Integer PageNo, Integer ImageIndex, Byte ImageKind, TPixelFormat PixelFormat,
                                      Integer JPEGQuality) {
  if (!IsDocumentOpen() || PageNo < 1) return;
  TgtPDFThumbnailItem& R = FThumbnailRequests[PageNo];
  R = TgtPDFThumbnailItem();
  R.ImageIndex = ImageIndex;
  R.ImageKind = ImageKind == 1 ? 1 : 0;
  R.PixelFormat = Byte(PixelFormat);
  R.JPEGQuality = JPEGQuality;
}

Integer TgtCustomPDFEngine::PageThumbnail() {
  const auto Request = FThumbnailRequests.find(GetPageNo());
  if (Request == FThumbnailRequests.end()) return 0;
  TGraphic* G = GetImage(Request->second.ImageIndex);
  if (!G || G->Empty()) return 0;
  auto& Written = FThumbnails[Request->second.ImageIndex];
  for (const auto& T : Written)
    if (T.SameThumbnail(Request->second)) return T.ObjectNumber;
  TgtPDFThumbnailItem Copy = Request->second;
  Copy.ObjectNumber = NextObjectNumber();
  Written.push_back(Copy);
  return Copy.ObjectNumber;
}

void TgtCustomPDFEngine::WriteThumbnails() {
  for (auto& [Index, List] : FThumbnails) {
    TGraphic* G = GetImage(Index);
    for (const auto& T : List) {
      TBitmap Bmp;
      Bmp.SetPixelFormat(TPixelFormat(T.PixelFormat));
      Bmp.SetSize(G->GetWidth(), G->GetHeight());
      Bmp.Canvas()->Brush()->SetColor(clWhite);
      Bmp.Canvas()->FillRect(TRect(0, 0, Bmp.GetWidth(), Bmp.GetHeight()));
      Bmp.Canvas()->Draw(0, 0, G);
      const TgtOutputImageFormat Format = T.ImageKind == 1 ? ifJPEG : ifBMP;
      std::string Data = Format == ifJPEG ? StreamBytes(BitmapToJPEGStream(&Bmp, T.JPEGQuality).get())
                                          : CompressData(BitmapToRGB(&Bmp));
      EncryptStream(Data, T.ObjectNumber);
      WriteObject("/Width " + std::to_string(Bmp.GetWidth()) + "/Height " + std::to_string(Bmp.GetHeight()) +
                      "/ColorSpace /DeviceRGB /BitsPerComponent 8 /Length " + std::to_string(Data.size()) +
                      FilterEntry(Format) + "\r\n",
                  T.ObjectNumber, false);
      WriteRaw("stream\r\n");
      WriteRaw(Data);
      WriteRaw("\r\nendstream\r\nendobj\r\n");
    }
  }
  FThumbnails.clear();
}
