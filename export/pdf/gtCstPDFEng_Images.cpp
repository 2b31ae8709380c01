// Image XObjects: one per distinct rendering of an image-list entry.
#include <cmath>
#include "export/pdf/gtCstPDFEng.h"
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

bool SameVariant(const TgtPDFImageSettings& V, TgtImageItem* I, TGraphic* G) {
  const TgtImageSettings& S = I->ImageSettings;
  if (V.GetOutputImageFormat() != S.GetOutputImageFormat() || V.ImagePixelFormat != S.ImagePixelFormat ||
      V.SourceDPI != S.SourceDPI || V.ActualSize != S.ActualSize || V.Stretch != S.Stretch ||
      V.Center != S.Center || V.Transparent != S.Transparent)
    return false;
  if (S.GetOutputImageFormat() == ifJPEG && V.JPEGQuality != S.JPEGQuality) return false;
  if (V.Stretch && S.Stretch && !S.ActualSize) return true;
  // Rendered at the item's size: the same size and the same picture size.
  (void)G;
  return V.ItemWidth == I->Width && V.ItemHeight == I->Height;
}
}  // namespace

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
    if (SameVariant(*V, Item, G)) {
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
