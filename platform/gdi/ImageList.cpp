#include "platform/gdi/ImageList.h"

#include <algorithm>
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GraphicsBitmaps_p.h"

namespace {
std::uint32_t ToPixel(COLORREF C) { return (DWORD(GetRValue(C)) << 16) | (DWORD(GetGValue(C)) << 8) | GetBValue(C); }

std::uint32_t Blend(std::uint32_t A, std::uint32_t B, unsigned PercentB) {
  auto Mix = [&](int Shift) {
    const unsigned X = (A >> Shift) & 0xFF, Y = (B >> Shift) & 0xFF;
    return ((X * (100 - PercentB) + Y * PercentB + 50) / 100) << Shift;
  };
  return Mix(16) | Mix(8) | Mix(0);
}

// A 32-bit bitmap of top-down 0x00RRGGBB pixels.
std::unique_ptr<TBitmap> BitmapOf(const std::vector<std::uint32_t>& Px, Integer W, Integer H) {
  auto B = std::make_unique<TBitmap>();
  B->LoadFromDib(DibFromBgra32(Px.data(), W, H, 32));
  return B;
}

// A monochrome device bitmap: white where Bits is 1.
HBITMAP MonoOf(const std::vector<Byte>& Bits, Integer W, Integer H) {
  std::vector<std::uint32_t> Px(Bits.size());
  for (std::size_t I = 0; I < Bits.size(); ++I) Px[I] = Bits[I] ? 0xFFFFFF : 0;
  auto Colour = BitmapOf(Px, W, H);
  return GxMakeMask(Colour->GetHandle(), RGB(255, 255, 255));
}
}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, Integer AWidth, Integer AHeight)
    : TComponent(AOwner) {
  SetSize(AWidth, AHeight);
}

void TImageList::Published(TPublished<TImageList>& P) {
  P.Property("AllocBy", &TImageList::AllocBy, &TImageList::AllocBy).Default(4);
  P.Property("BlendColor", &TImageList::GetBlendColor, &TImageList::SetBlendColor).Default(clNone);
  P.Property("BkColor", &TImageList::GetBkColor, &TImageList::SetBkColor).Default(clNone);
  P.Property("DrawingStyle", &TImageList::DrawingStyle, &TImageList::DrawingStyle).Default(dsNormal);
  P.Property("Height", &TImageList::GetHeight, &TImageList::SetHeight).Default(16);
  P.Property("ImageType", &TImageList::ImageType, &TImageList::ImageType).Default(itImage);
  P.Property("Masked", &TImageList::GetMasked, &TImageList::SetMasked).Default(true);
  P.Property("Width", &TImageList::GetWidth, &TImageList::SetWidth).Default(16);
  P.Property("OnChange", &TImageList::OnChange, &TImageList::OnChange);
}

void TCustomImageList::Change() {
  if (FUpdateCount > 0) {
    FChanged = true;
    return;
  }
  if (OnChange.Assigned()) OnChange(this);
  // A copy: a link may unregister itself when told.
  const std::vector<TChangeLink*> Links = FLinks;
  for (TChangeLink* L : Links) L->Change();
}

void TCustomImageList::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged) {
    FChanged = false;
    Change();
  }
}

void TCustomImageList::Assign(TPersistent* Source) {
  if (auto* L = dynamic_cast<TCustomImageList*>(Source)) {
    FWidth = L->FWidth;
    FHeight = L->FHeight;
    FMasked = L->FMasked;
    FBkColor = L->FBkColor;
    FBlendColor = L->FBlendColor;
    DrawingStyle = L->DrawingStyle;
    ImageType = L->ImageType;
    AllocBy = L->AllocBy;
    FImages = L->FImages;
    Change();
    return;
  }
  inherited::Assign(Source);
}

void TCustomImageList::SetSize(Integer AWidth, Integer AHeight) {
  if (AWidth <= 0 || AHeight <= 0 || Int64(AWidth) * AHeight > (Int64(1) << 24))
    throw EInvalidOperation("Invalid image size");
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  FImages.clear();
  Change();
}

void TCustomImageList::SetWidth(Integer Value) { SetSize(Value, FHeight); }
void TCustomImageList::SetHeight(Integer Value) { SetSize(FWidth, Value); }

void TCustomImageList::SetMasked(bool Value) {
  if (Value == FMasked) return;
  FMasked = Value;
  Change();
}

void TCustomImageList::SetBkColor(TColor Value) {
  if (Value == FBkColor) return;
  FBkColor = Value;
  Change();
}

void TCustomImageList::SetBlendColor(TColor Value) {
  if (Value == FBlendColor) return;
  FBlendColor = Value;
  Change();
}

void TCustomImageList::CheckIndex(Integer Index, bool AllowEnd) const {
  if (Index < 0 || Index > Count() || (!AllowEnd && Index == Count()))
    throw EInvalidOperation("Invalid ImageList Index");
}

std::vector<TCustomImageList::TImage> TCustomImageList::Cut(TBitmap* Image, TBitmap* Mask, bool ByColor,
                                                            TColor MaskColor) const {
  if (!Image || Image->Empty()) throw EInvalidOperation("Invalid image");
  const TDib D = Image->SaveToDib();
  const std::vector<std::uint32_t> Px = DibToBgra32(D);
  const Integer W = D.Width(), H = D.Height();
  std::vector<std::uint32_t> MaskPx;
  if (!ByColor && Mask && !Mask->Empty()) {
    const TDib M = Mask->SaveToDib();
    if (M.Width() < W || M.Height() < H) throw EInvalidOperation("Invalid mask");
    std::vector<std::uint32_t> All = DibToBgra32(M);
    MaskPx.resize(std::size_t(W) * H);
    for (Integer Y = 0; Y < H; ++Y)
      std::copy_n(All.begin() + std::ptrdiff_t(Y) * M.Width(), W, MaskPx.begin() + std::ptrdiff_t(Y) * W);
  }
  std::uint32_t Key = 0;
  if (ByColor) Key = MaskColor == clDefault ? Px[0] & 0xFFFFFF : ToPixel(ColorToRGB(MaskColor));
  const Integer N = std::max(1, W / FWidth);
  std::vector<TImage> Out;
  Out.resize(std::size_t(N));
  for (Integer I = 0; I < N; ++I) {
    TImage& Img = Out[std::size_t(I)];
    Img.Pixels.assign(std::size_t(FWidth) * FHeight, 0);
    Img.Mask.assign(std::size_t(FWidth) * FHeight, 1);  // outside the source: transparent
    for (Integer Y = 0; Y < std::min(H, FHeight); ++Y)
      for (Integer X = 0; X < FWidth && I * FWidth + X < W; ++X) {
        const std::size_t S = std::size_t(Y) * W + std::size_t(I * FWidth + X), T = std::size_t(Y) * FWidth + X;
        const std::uint32_t P = Px[S] & 0xFFFFFF;
        bool Clear = false;
        if (ByColor)
          Clear = P == Key;
        else if (!MaskPx.empty())
          Clear = (MaskPx[S] & 0xFFFFFF) == 0xFFFFFF;
        Img.Mask[T] = Clear;
        // Transparent pixels are kept black so the image ORs onto the hole
        // the mask cuts.
        Img.Pixels[T] = Clear ? 0 : P;
      }
    if (!FMasked) std::fill(Img.Mask.begin(), Img.Mask.end(), Byte(0));
  }
  return Out;
}

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  const Integer First = Count();
  auto New = Cut(Image, Mask, false, clNone);
  FImages.insert(FImages.end(), New.begin(), New.end());
  Change();
  return First;
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  const Integer First = Count();
  auto New = Cut(Image, nullptr, true, MaskColor);
  FImages.insert(FImages.end(), New.begin(), New.end());
  Change();
  return First;
}

void TCustomImageList::Insert(Integer Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index, true);
  auto New = Cut(Image, Mask, false, clNone);
  FImages.insert(FImages.begin() + Index, New.begin(), New.end());
  Change();
}

void TCustomImageList::InsertMasked(Integer Index, TBitmap* Image, TColor MaskColor) {
  CheckIndex(Index, true);
  auto New = Cut(Image, nullptr, true, MaskColor);
  FImages.insert(FImages.begin() + Index, New.begin(), New.end());
  Change();
}

void TCustomImageList::Replace(Integer Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index);
  FImages[std::size_t(Index)] = Cut(Image, Mask, false, clNone).front();
  Change();
}

void TCustomImageList::ReplaceMasked(Integer Index, TBitmap* NewImage, TColor MaskColor) {
  CheckIndex(Index);
  FImages[std::size_t(Index)] = Cut(NewImage, nullptr, true, MaskColor).front();
  Change();
}

void TCustomImageList::Delete(Integer Index) {
  if (Index == -1) {
    Clear();
    return;
  }
  CheckIndex(Index);
  FImages.erase(FImages.begin() + Index);
  Change();
}

void TCustomImageList::Move(Integer CurIndex, Integer NewIndex) {
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  if (CurIndex == NewIndex) return;
  TImage Img = std::move(FImages[std::size_t(CurIndex)]);
  FImages.erase(FImages.begin() + CurIndex);
  FImages.insert(FImages.begin() + NewIndex, std::move(Img));
  Change();
}

void TCustomImageList::Clear() {
  FImages.clear();
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  Draw(Canvas, X, Y, Index, DrawingStyle, ImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled) {
  if (!Canvas || Index < 0 || Index >= Count()) return;
  DoDraw(Canvas, X, Y, FImages[std::size_t(Index)], ADrawingStyle, AImageType, Enabled);
}

void TCustomImageList::DoDraw(TCanvas* Canvas, Integer X, Integer Y, const TImage& Img, TDrawingStyle Style,
                              TImageType Type, bool Enabled) {
  HDC Dc = Canvas->GetHandle();
  const COLORREF OldText = SetTextColor(Dc, RGB(0, 0, 0));
  const COLORREF OldBk = ::SetBkColor(Dc, RGB(255, 255, 255));
  if (!Enabled) {
    // The embossed look: the image's dark opaque pixels become a shape that
    // is painted in the highlight colour one pixel down and right, then in
    // the shadow colour in place.
    std::vector<Byte> Shape(Img.Mask.size());
    for (std::size_t I = 0; I < Shape.size(); ++I) Shape[I] = Img.Mask[I] || Img.Pixels[I] == 0xFFFFFF;
    HBITMAP Mono = MonoOf(Shape, FWidth, FHeight);
    {
      TGxBitmapDC Src(Mono);
      const TColor OldBrush = Canvas->Brush()->GetColor();
      const TBrushStyle OldStyle = Canvas->Brush()->GetStyle();
      for (int Pass = 0; Pass < 2; ++Pass) {
        Canvas->Brush()->SetColor(Pass == 0 ? clBtnHighlight : clBtnShadow);
        Canvas->RequiredState({csHandleValid, csBrushValid});
        SetTextColor(Dc, RGB(255, 255, 255));
        ::SetBkColor(Dc, RGB(0, 0, 0));
        BitBlt(Dc, X + 1 - Pass, Y + 1 - Pass, FWidth, FHeight, Src.Dc(), 0, 0, DSPDxax);
      }
      Canvas->Brush()->SetColor(OldBrush);
      Canvas->Brush()->SetStyle(OldStyle);
    }
    DeleteObject(Mono);
    SetTextColor(Dc, OldText);
    ::SetBkColor(Dc, OldBk);
    return;
  }
  HBITMAP Mask = MonoOf(Img.Mask, FWidth, FHeight);
  {
    TGxBitmapDC MaskDc(Mask);
    if (Type == itMask) {
      BitBlt(Dc, X, Y, FWidth, FHeight, MaskDc.Dc(), 0, 0, SRCCOPY);
    } else {
      std::vector<std::uint32_t> Px = Img.Pixels;
      if (Style == dsFocus || Style == dsSelected) {
        const TColor B = FBlendColor == clNone || FBlendColor == clDefault ? clHighlight : FBlendColor;
        const std::uint32_t Bp = ToPixel(ColorToRGB(B));
        for (std::size_t I = 0; I < Px.size(); ++I)
          if (!Img.Mask[I]) Px[I] = Blend(Px[I], Bp, Style == dsFocus ? 25 : 50);
      }
      auto Colour = BitmapOf(Px, FWidth, FHeight);
      TGxBitmapDC Src(Colour->GetHandle());
      const bool Opaque = !FMasked || (Style == dsNormal && FBkColor != clNone);
      if (Opaque && FMasked) {
        // Normal drawing on the list's background colour.
        HBRUSH Bk = CreateSolidBrush(ColorToRGB(FBkColor));
        const TRect R{X, Y, X + FWidth, Y + FHeight};
        FillRect(Dc, &R, Bk);
        DeleteObject(Bk);
      }
      if (Opaque && !FMasked) {
        BitBlt(Dc, X, Y, FWidth, FHeight, Src.Dc(), 0, 0, SRCCOPY);
      } else {
        BitBlt(Dc, X, Y, FWidth, FHeight, MaskDc.Dc(), 0, 0, SRCAND);
        BitBlt(Dc, X, Y, FWidth, FHeight, Src.Dc(), 0, 0, SRCPAINT);
      }
    }
  }
  DeleteObject(Mask);
  SetTextColor(Dc, OldText);
  ::SetBkColor(Dc, OldBk);
}

bool TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) {
  if (!Image || Index < 0 || Index >= Count()) return false;
  Image->SetSize(FWidth, FHeight);
  Draw(Image->Canvas(), 0, 0, Index);
  return true;
}
