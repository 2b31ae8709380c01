// MetafileProcessor_Bitmaps.cpp — bitmap records become image items whose
// pixels join the engine's image list; bitmaps drawn onto exactly the same
// rectangle are merged with their raster operation (a mask and its image
// become one picture), DIBs sent in bands of scan lines are joined, and
// records without a bitmap are fills drawn as rectangles or lines.
#include <algorithm>
#include <cmath>
#include <cstring>
#include "export/engine/MetafileProcessor.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/DibBitmaps.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ByteOrder.h"

namespace {
DWORD Le32(const std::vector<Byte>& B, std::size_t At) { return ByteOrder::ReadLE32(&B[At]); }
void Put32(Byte* P, DWORD V) { ByteOrder::WriteLE32(P, V); }
// Pixels a rebuilt picture may have; beyond this a record is not a page's.
constexpr Int64 MaxPixels = Int64(1) << 26;
}  // namespace

bool BuildBitmapStream(const std::vector<Byte>& Bmi, const std::vector<Byte>& Bits, TMemoryStream& Out,
                       std::optional<Integer> HeightOverride) {
  if (Bmi.size() < 40 || Bits.empty()) return false;
  const Integer Width = Integer(Le32(Bmi, 4));
  const Integer Height = Integer(Le32(Bmi, 8));
  const Word BitCount = ByteOrder::ReadLE16(&Bmi[14]);
  const DWORD Compression = Le32(Bmi, 16);
  const DWORD ClrUsed = Le32(Bmi, 32);
  std::size_t Table;
  if (Compression == 3) Table = 12;
  else if (Compression == 0 && BitCount > 8 && ClrUsed == 0) Table = 0;
  else if (ClrUsed != 0) Table = std::size_t(ClrUsed) * 4;
  else if (BitCount <= 16) Table = (std::size_t(1) << BitCount) * 4;
  else return false;
  if (Bmi.size() < 40 + Table) return false;
  if (Width <= 0 || Height == 0 || Int64(Width) * std::abs(Int64(Height)) > MaxPixels) return false;
  std::vector<Byte> Header(Bmi.begin(), Bmi.begin() + 40);
  if (HeightOverride) Put32(&Header[8], DWORD(*HeightOverride));
  Byte File[14] = {'B', 'M'};
  Put32(File + 2, DWORD(14 + Bmi.size() + Bits.size()));
  Put32(File + 10, DWORD(14 + 40 + Table));
  Out.WriteBuffer(File, 14);
  Out.WriteBuffer(Header.data(), 40);
  if (Table) Out.WriteBuffer(Bmi.data() + 40, Integer(Table));
  Out.WriteBuffer(Bits.data(), Integer(Bits.size()));
  Out.SetPosition(0);
  return true;
}

namespace {
bool LoadDib(const std::vector<Byte>& Bmi, const std::vector<Byte>& Bits, TBitmap& B,
             std::optional<Integer> HeightOverride = std::nullopt) {
  TMemoryStream S;
  if (!BuildBitmapStream(Bmi, Bits, S, HeightOverride)) return false;
  try {
    B.LoadFromStream(&S);
  } catch (const Exception&) {
    return false;
  }
  return !B.Empty();
}

TgtDoubleRect DRect(const TRect& R) { return {double(R.Left), double(R.Top), double(R.Right), double(R.Bottom)}; }

void MirrorBitmap(TBitmap& B, bool Across, bool Down) {
  const Integer W = B.GetWidth(), H = B.GetHeight();
  TBitmap Turned;
  Turned.SetPixelFormat(pf24bit);
  Turned.SetSize(W, H);
  // A destination rectangle with its edges swapped copies mirror-wise.
  Turned.Canvas()->CopyRect(TRect(Across ? W : 0, Down ? H : 0, Across ? 0 : W, Down ? 0 : H), B.Canvas(),
                            TRect(0, 0, W, H));
  B.Assign(&Turned);
}

bool IsZero(const TgtDoubleRect& R) { return R.Left == 0 && R.Top == 0 && R.Right == R.Left && R.Bottom == R.Top; }
}  // namespace

std::shared_ptr<TgtImageItem> TgtMetafileProcessor::NewImageItem() {
  auto Item = std::make_shared<TgtImageItem>();
  Item->ImageSettings.Assign(FEngine.GetImageSettings());
  Item->ImageIndex = FEngine.ReserveImage();
  return Item;
}

Integer TgtMetafileProcessor::FindPreviousImage(double X, double Y, double W, double H) const {
  const TgtItemList& Items = FEngine.CurrentItems();
  if (Items.empty()) return -1;
  auto* Last = AsImageItem(Items.back().get());
  if (!Last || Last->X != X || Last->Y != Y || Last->Width != W || Last->Height != H) return -1;
  return Last->ImageIndex;
}

void TgtMetafileProcessor::StoreImage(DWORD Rop, Integer Index, std::shared_ptr<TgtImageItem> Item, TBitmap& B) {
  if (TBitmap* Prev = dynamic_cast<TBitmap*>(FEngine.GetImage(Index)); Prev && Index != Item->ImageIndex) {
    // Same rectangle as the last image: combine into it and drop the new item.
    TCanvas* C = Prev->Canvas();
    C->CopyMode = TCopyMode(Rop);
    C->CopyRect(TRect(0, 0, B.GetWidth(), B.GetHeight()), B.Canvas(), TRect(0, 0, B.GetWidth(), B.GetHeight()));
    C->CopyMode = cmSrcCopy;
    FEngine.DropLastImage();
    return;
  }
  auto Work = std::make_unique<TBitmap>();
  Work->SetPixelFormat(pf24bit);
  Work->SetSize(B.GetWidth(), B.GetHeight());
  TCanvas* C = Work->Canvas();
  // The raster operation may read the destination: start from white.
  C->Brush()->SetColor(clWhite);
  C->FillRect(TRect(0, 0, B.GetWidth(), B.GetHeight()));
  C->CopyMode = TCopyMode(Rop);
  C->CopyRect(TRect(0, 0, B.GetWidth(), B.GetHeight()), B.Canvas(), TRect(0, 0, B.GetWidth(), B.GetHeight()));
  C->CopyMode = cmSrcCopy;
  FEngine.SetImage(Item->ImageIndex, std::move(Work));
  FEngine.CurrentItems().push_back(Item);
}

void TgtMetafileProcessor::PlayBlt(const TEmfRecord& Rec) {
  const DWORD Type = Rec.Type();
  TRect Bounds;
  Integer XDest = 0, YDest = 0, CxDest = 0, CyDest = 0;
  DWORD Rop = 0;
  std::vector<Byte> Bmi, Bits;
  switch (Type) {
    case EMR_BITBLT:
    case EMR_STRETCHBLT: {
      auto R = TEmrBitBlt::Read(Rec);
      Bounds = R.Bounds; XDest = R.xDest; YDest = R.yDest; CxDest = R.cxDest; CyDest = R.cyDest;
      Rop = R.Rop; Bmi = std::move(R.Bmi); Bits = std::move(R.Bits);
      break;
    }
    case EMR_MASKBLT: {
      auto R = TEmrMaskBlt::Read(Rec);
      Bounds = R.Bounds; XDest = R.xDest; YDest = R.yDest; CxDest = R.cxDest; CyDest = R.cyDest;
      Rop = R.Rop; Bmi = std::move(R.Bmi); Bits = std::move(R.Bits);
      break;
    }
    default: {
      auto R = TEmrStretchDIBits::Read(Rec);
      Bounds = R.Bounds; XDest = R.xDest; YDest = R.yDest; CxDest = R.cxDest; CyDest = R.cyDest;
      Rop = R.Rop; Bmi = std::move(R.Bmi); Bits = std::move(R.Bits);
      break;
    }
  }
  if (Bmi.empty() || Bits.empty()) {
    TgtDoubleRect F;
    if (Type == EMR_BITBLT)
      F = FTextOn && !TextList().empty()
              ? DRect(Bounds)
              : TgtDoubleRect{double(XDest), double(YDest), double(XDest) + CxDest, double(YDest) + CyDest};
    else if (Type == EMR_STRETCHBLT) F = DRect(Bounds);
    else F = TransformRect(DRect(Bounds));
    Fill(Type, F);
    return;
  }
  if (Type != EMR_BITBLT && !FImagesOn) return;
  TBitmap B;
  if (!LoadDib(Bmi, Bits, B)) return;
  auto Item = NewImageItem();
  TgtDoublePoint P1 = TransformPoint(XDest, YDest);
  const TgtDoubleRect R = TransformRect(DRect(Bounds));
  // The destination's size is the distance between its two corners, each
  // mapped as a point: the window and viewport origins cancel out. (Mapped
  // as a point itself, the size of a picture played inside a page would
  // grow by the picture's place on the page.)
  const TgtDoublePoint Far = TransformPoint(double(XDest) + CxDest, double(YDest) + CyDest);
  const TgtDoublePoint MappedSize{Far.X - P1.X, Far.Y - P1.Y};
  double X = P1.X, Y = P1.Y, W, H;
  if (Type == EMR_BITBLT || Type == EMR_MASKBLT) {
    W = R.Right - R.Left;
    H = R.Bottom - R.Top;
  } else {
    W = MappedSize.X;
    H = MappedSize.Y;
    // A mapping that turns an axis over draws the bitmap mirrored on the
    // rectangle it covers, as a device does; items keep a positive size.
    if (W < 0 || H < 0) {
      MirrorBitmap(B, W < 0, H < 0);
      if (W < 0) {
        X += W;
        W = -W;
      }
      if (H < 0) {
        Y += H;
        H = -H;
      }
      P1 = {X, Y};
    }
  }
  Item->DisplayRect = {X, Y, X + W, Y + H};
  TgtDoubleRect& C = FClipRect;
  if (Type == EMR_STRETCHBLT && !IsZero(C)) C = DRect(Bounds);
  if ((Type != EMR_STRETCHDIBITS && FClipSet) || Type == EMR_STRETCHDIBITS) C = DRect(Bounds);
  if (IsZero(C)) {
    if (Type == EMR_STRETCHBLT || Type == EMR_STRETCHDIBITS) {
      Item->ImageSettings.Stretch = true;
    } else if (MappedSize.X != W || MappedSize.Y != H) {
      Item->ImageSettings.Stretch = true;
      if (Type == EMR_MASKBLT) {
        X = R.Left;
        Y = R.Top;
        W = R.Right - R.Left;
        H = R.Bottom - R.Top;
      }
    }
  } else {
    if (C.Left != P1.X || C.Top != P1.Y) Item->ImageSettings.Center = true;
    if (R.Left == C.Left && R.Top == C.Top) {
      X = C.Left;
      Y = C.Top;
      if (Type != EMR_BITBLT) {
        W = C.Right - C.Left;
        H = C.Bottom - C.Top;
      }
    }
    if (Type == EMR_BITBLT || Type == EMR_MASKBLT) C = {};
  }
  if (!CropToVisible(X, Y, W, H, B)) return;
  Item->DisplayRect = {X, Y, X + W, Y + H};
  X += FOriginX;
  Y += FOriginY;
  Item->X = X;
  Item->Y = Y;
  Item->Width = W;
  Item->Height = H;
  if (Type == EMR_BITBLT) {
    auto Copy = std::make_unique<TBitmap>();
    Copy->Assign(&B);
    FEngine.SetImage(Item->ImageIndex, std::move(Copy));
    FEngine.CurrentItems().push_back(Item);
    return;
  }
  Integer Prev = FindPreviousImage(X, Y, W, H);
  StoreImage(Rop, Prev >= 0 ? Prev : Item->ImageIndex, Item, B);
}

bool TgtMetafileProcessor::CropToVisible(double& X, double& Y, double& W, double& H, TBitmap& B) const {
  if (!FVisibleSet || !(W > 0) || !(H > 0) || B.Empty()) return true;
  const TgtDoubleRect& V = FVisible;
  const double L = std::max(X, V.Left), T = std::max(Y, V.Top);
  const double R = std::min(X + W, V.Right), Bt = std::min(Y + H, V.Bottom);
  // Nothing of the picture shows: it is left out, its frame stays.
  if (!(R > L) || !(Bt > T)) return false;
  if (L == X && T == Y && R == X + W && Bt == Y + H) return true;
  // Only the visible part is kept, at no more pixels than it covers on the
  // page: a few source pixels stretched far beyond the frame cost no more
  // than the frame.
  const Integer DW = std::max(1, RoundInt(R - L)), DH = std::max(1, RoundInt(Bt - T));
  if (Int64(DW) * DH > MaxPixels) return false;
  const double Sx = B.GetWidth() / W, Sy = B.GetHeight() / H;  // source pixels per unit
  const double S0x = (L - X) * Sx, S1x = (R - X) * Sx, S0y = (T - Y) * Sy, S1y = (Bt - Y) * Sy;
  const Integer IX0 = Integer(std::floor(S0x)), IY0 = Integer(std::floor(S0y));
  const Integer IX1 = std::max(IX0 + 1, Integer(std::ceil(S1x))), IY1 = std::max(IY0 + 1, Integer(std::ceil(S1y)));
  // Where the whole source pixels IX0..IX1 land in the cut picture; the
  // parts outside it are clipped away by the transfer.
  const double Kx = DW / (R - L), Ky = DH / (Bt - T);
  auto Place = [](double V) { return Integer(std::clamp(std::round(V), -1e9, 1e9)); };
  const TRect Dest(Place((X + IX0 / Sx - L) * Kx), Place((Y + IY0 / Sy - T) * Ky), Place((X + IX1 / Sx - L) * Kx),
                   Place((Y + IY1 / Sy - T) * Ky));
  TBitmap Cut;
  Cut.SetPixelFormat(pf24bit);
  Cut.SetSize(DW, DH);
  Cut.Canvas()->CopyRect(Dest, B.Canvas(), TRect(IX0, IY0, IX1, IY1));
  B.Assign(&Cut);
  X = L;
  Y = T;
  W = R - L;
  H = Bt - T;
  return true;
}

void TgtMetafileProcessor::PlayDIBitsToDevice(const TEmfRecord& Rec) {
  auto R = TEmrSetDIBitsToDevice::Read(Rec);
  if (R.Bmi.empty() || R.Bits.empty()) {
    Fill(EMR_SETDIBITSTODEVICE, TransformRect(DRect(R.Bounds)));
    return;
  }
  if (!FImagesOn) return;
  std::optional<Integer> Height;
  if (R.Bmi.size() >= 12 && Integer(Le32(R.Bmi, 8)) < 0) Height = R.cySrc;
  if (R.StartScan == 0) {
    auto Item = NewImageItem();
    // The bitmap keeps its own pixels: it lands at its mapped destination
    // point, as large as the bounds (already device pixels) say. Mapping
    // the bounds again would move a picture played inside a page by its
    // place on the page a second time.
    const TgtDoublePoint P = TransformPoint(R.xDest, R.yDest);
    const TgtDoubleRect B{P.X, P.Y, P.X + (R.Bounds.Right - R.Bounds.Left), P.Y + (R.Bounds.Bottom - R.Bounds.Top)};
    Item->X = B.Left + FOriginX;
    Item->Y = B.Top + FOriginY;
    Item->Width = B.Right - B.Left;
    Item->Height = B.Bottom - B.Top;
    Item->DisplayRect = {B.Left, B.Top, B.Right, B.Bottom};
    FEngine.CurrentItems().push_back(Item);
  }
  TBitmap Band;
  if (!LoadDib(R.Bmi, R.Bits, Band, Height)) return;
  AppendImageBand(Band);
  if (R.StartScan != 0) {
    auto* Last = AsImageItem(FEngine.CurrentItems().back().get());
    if (Last)
      if (TGraphic* G = FEngine.GetImage(Last->ImageIndex)) Last->Height = G->GetHeight();
  }
}

void TgtMetafileProcessor::AppendImageBand(TBitmap& Band) {
  TgtItemList& Items = FEngine.CurrentItems();
  if (Items.empty()) return;
  auto* Last = AsImageItem(Items.back().get());
  if (!Last) return;   // a band that follows no image is dropped
  auto* Prev = dynamic_cast<TBitmap*>(FEngine.GetImage(Last->ImageIndex));
  const Integer PrevH = Prev ? Prev->GetHeight() : 0;
  if (Int64(Band.GetWidth()) * (Int64(PrevH) + Band.GetHeight()) > MaxPixels) return;
  auto Work = std::make_unique<TBitmap>();
  Work->SetPixelFormat(pf24bit);
  Work->SetSize(Band.GetWidth(), PrevH + Band.GetHeight());
  TCanvas* C = Work->Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(TRect(0, 0, Work->GetWidth(), Work->GetHeight()));
  if (Prev) C->Draw(0, 0, Prev);
  C->Draw(0, PrevH, &Band);
  FEngine.SetImage(Last->ImageIndex, std::move(Work));
}

void TgtMetafileProcessor::Fill(DWORD Type, const TgtDoubleRect& F) {
  if (Type != EMR_BITBLT && Type != EMR_SETDIBITSTODEVICE && !FTextOn && !FImagesOn && !FShapesOn) return;
  if (FTextOn && !TextList().empty()) {
    FPending = F;
    if (FCountdown > 0) --FCountdown;
    FPendingFill = true;
  } else if (FShapesOn) {
    FPending = F;
    FPendingFill = true;
  }
  FlushPendingFill();
}

void TgtMetafileProcessor::FlushPendingFill() {
  // The countdown after a text item would let a fill under it be taken as
  // its underline; the fonts carry their decorations, so fills are always
  // drawn.
  if (FCountdown > 0) --FCountdown;
  if (!FPendingFill || !FShapesOn) return;
  const TgtDoubleRect& R = FPending;
  auto Shape = std::make_shared<TgtShapeItem>();
  if (R.Left == R.Right || R.Top == R.Bottom) {
    Shape->ShapeType = TgtShapeType::stLine;
    Shape->Pen.SetColor(FBrush.GetColor());
    Shape->Brush = std::make_unique<TBrush>();
  } else {
    Shape->ShapeType = TgtShapeType::stRectangle;
    Shape->Brush = std::make_unique<TBrush>();
    Shape->Brush->Assign(&FBrush);
    Shape->Pen.Assign(&FPen);
    if (FBkMode == OPAQUE) {
      Shape->Pen.SetColor(TColor(FBkColor & 0xFFFFFF));
      Shape->Pen.SetStyle(psSolid);
    } else {
      Shape->Pen.SetStyle(psClear);
    }
    if (FRop2 == R2_COPYPEN) Shape->Pen.SetColor(Shape->Brush->GetColor());
  }
  Shape->Points = {{R.Left * FKx + FOriginX, R.Top * FKy + FOriginY},
                   {R.Right * FKx + FOriginX, R.Bottom * FKy + FOriginY}};
  FEngine.CurrentItems().push_back(Shape);
  FPendingFill = false;
}

// Alpha blends, transparent copies and gradient fills have no item of their
// own. Each becomes the picture it paints onto a white page and is played as
// a stretched copy of that picture, so what the page shows is kept, only
// what lay under it is not seen through.
void TgtMetafileProcessor::PlayPaintedRecord(const TEmfRecord& Rec) {
  TEmrBitBlt S;
  S.Type = EMR_STRETCHBLT;
  S.Rop = SRCCOPY;
  std::vector<std::uint32_t> Px;
  Integer W = 0, H = 0;
  if (Rec.Type() == EMR_GRADIENTFILL) {
    const TEmrGradientFill G = TEmrGradientFill::Read(Rec);
    if (G.Vertices.empty() || G.Indices.empty()) return;
    Int64 L = G.Vertices[0].x, T = G.Vertices[0].y, R = L, B = T;
    for (const TRIVERTEX& V : G.Vertices) {
      L = std::min<Int64>(L, V.x);
      T = std::min<Int64>(T, V.y);
      R = std::max<Int64>(R, V.x);
      B = std::max<Int64>(B, V.y);
    }
    if (R <= L || B <= T || R - L > INT32_MAX || B - T > INT32_MAX) return;
    // Painted at no more than 1024 pixels a side; the item stretches it.
    const double Scale = std::min(1.0, 1024.0 / double(std::max(R - L, B - T)));
    W = std::max<Integer>(1, Integer(std::lround(double(R - L) * Scale)));
    H = std::max<Integer>(1, Integer(std::lround(double(B - T) * Scale)));
    std::vector<TRIVERTEX> V = G.Vertices;
    for (TRIVERTEX& P : V) {
      P.x = LONG(std::lround(double(P.x - L) * Scale));
      P.y = LONG(std::lround(double(P.y - T) * Scale));
    }
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = W;
    Info.bmiHeader.biHeight = -H;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    void* Bits = nullptr;
    HBITMAP Bmp = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (!Bmp || !Bits) return;
    Px.assign(std::size_t(W) * H, 0x00FFFFFF);
    std::memcpy(Bits, Px.data(), Px.size() * 4);
    HDC Dc = CreateCompatibleDC(nullptr);
    HGDIOBJ Old = ::SelectObject(Dc, Bmp);
    ::GradientFill(Dc, V.data(), ULONG(V.size()), G.Indices.data(),
                   ULONG(G.Indices.size() / (G.Mode == GRADIENT_FILL_TRIANGLE ? 3 : 2)), G.Mode);
    std::memcpy(Px.data(), Bits, Px.size() * 4);
    ::SelectObject(Dc, Old);
    DeleteDC(Dc);
    ::DeleteObject(Bmp);
    S.Bounds = G.Bounds;
    S.xDest = Integer(L);
    S.yDest = Integer(T);
    S.cxDest = Integer(R - L);
    S.cyDest = Integer(B - T);
  } else {
    const TEmrBitBlt X = TEmrBitBlt::Read(Rec);
    if (X.Bmi.empty() || X.Bits.empty()) return;
    TDib D;
    try {
      D = DibFromInfo(X.Bmi.data(), X.Bmi.size(), X.Bits.data(), X.Bits.size(), X.UsageSrc);
    } catch (const Exception&) {
      return;
    }
    W = D.Width();
    H = D.Height();
    if (W <= 0 || H <= 0 || Int64(W) * H > MaxPixels) return;
    Px = DibToBgra32(D);
    const unsigned Sca = (X.Rop >> 16) & 0xFF;
    const bool PerPixel = (X.Rop >> 24) & AC_SRC_ALPHA;
    for (std::uint32_t& P : Px) {
      if (Rec.Type() == EMR_TRANSPARENTBLT) {
        if ((((P >> 16) & 0xFF) | (P & 0xFF00) | ((P & 0xFF) << 16)) == (X.Rop & 0xFFFFFF)) P = 0x00FFFFFF;
        continue;
      }
      // Source over white: premultiplied pixels with their own coverage,
      // or the whole picture at the constant opacity.
      const unsigned A = PerPixel ? ((P >> 24) * Sca + 127) / 255 : Sca;
      std::uint32_t Out = 0;
      for (int Sh = 0; Sh < 24; Sh += 8) {
        const unsigned C = (P >> Sh) & 0xFF;
        const unsigned V = PerPixel ? (C * Sca + 127) / 255 + (255 * (255 - A) + 127) / 255
                                    : (C * Sca + 255 * (255 - Sca) + 127) / 255;
        Out |= std::min(V, 255u) << Sh;
      }
      P = Out;
    }
    S.Bounds = X.Bounds;
    S.xDest = X.xDest;
    S.yDest = X.yDest;
    S.cxDest = X.cxDest;
    S.cyDest = X.cyDest;
  }
  TDib Pic = DibFromBgra32(Px.data(), W, H, 32);
  S.Bmi = DibInfoBytes(Pic);
  S.Bits = std::move(Pic.Bits);
  S.cxSrc = W;
  S.cySrc = H;
  TEmfWriter Out;
  S.Write(Out);
  const std::vector<Byte> Bytes = Out.TakeBytes();
  PlayBlt(TEmfRecord(Bytes.data(), Bytes.size()));
}
