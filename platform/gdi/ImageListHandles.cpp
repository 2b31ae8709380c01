#include "platform/gdi/ImageListHandles.h"

#include <cstring>
#include <set>

#include "platform/gdi/Blit.h"
#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/IconApi.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/ByteOrder.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/Streams.h"

using namespace ByteOrder;

// The class's private parts, for the handle calls and the stream.
struct TImageListAccess {
  static auto& Images(TCustomImageList* L) { return L->FImages; }
  static HIMAGELIST& Handle(TCustomImageList* L) { return L->FHandle; }
  static auto& Links(TCustomImageList* L) { return L->FLinks; }
};

namespace {
// Live lists by handle (the handle is the list's address, checked here).
std::set<TCustomImageList*>& LiveLists() {
  static std::set<TCustomImageList*> S;
  return S;
}
}  // namespace

TCustomImageList* ImageListFromHandle(HIMAGELIST List) {
  auto* L = reinterpret_cast<TCustomImageList*>(List);
  return LiveLists().count(L) ? L : nullptr;
}

HIMAGELIST TCustomImageList::GetHandle() {
  if (!FHandle) {
    LiveLists().insert(this);
    FHandle = reinterpret_cast<HIMAGELIST>(this);
  }
  return FHandle;
}

TCustomImageList::~TCustomImageList() {
  LiveLists().erase(this);
  for (TChangeLink* L : FLinks) L->Sender = nullptr;
}

void TCustomImageList::RegisterChanges(TChangeLink* Link) {
  if (!Link) return;
  Link->Sender = this;
  FLinks.push_back(Link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Link) {
  for (auto It = FLinks.begin(); It != FLinks.end(); ++It)
    if (*It == Link) {
      Link->Sender = nullptr;
      FLinks.erase(It);
      return;
    }
}

TChangeLink::~TChangeLink() {
  if (Sender) Sender->UnRegisterChanges(this);
}

// ---------------------------------------------------------------------------
// Handle calls

int ImageList_GetImageCount(HIMAGELIST List) {
  TCustomImageList* L = ImageListFromHandle(List);
  return L ? L->Count() : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST List, int* Cx, int* Cy) {
  TCustomImageList* L = ImageListFromHandle(List);
  if (!L || !Cx || !Cy) return FALSE;
  *Cx = L->GetWidth();
  *Cy = L->GetHeight();
  return TRUE;
}

BOOL ImageList_DrawEx(HIMAGELIST List, int Index, HDC Dc, int X, int Y, int Dx, int Dy, COLORREF Bk, COLORREF,
                      UINT Style) {
  TCustomImageList* L = ImageListFromHandle(List);
  if (!L || Index < 0 || Index >= L->Count() || !Dc) return FALSE;
  const int W = Dx > 0 ? Dx : L->GetWidth(), H = Dy > 0 ? Dy : L->GetHeight();
  const int Saved = SaveDC(Dc);
  IntersectClipRect(Dc, X, Y, X + W, Y + H);
  TDrawingStyle DS = dsNormal;
  if (Style & ILD_BLEND50) DS = dsSelected;
  else if (Style & ILD_BLEND25) DS = dsFocus;
  else if (Style & ILD_TRANSPARENT) DS = dsTransparent;
  if (!(Style & (ILD_TRANSPARENT | ILD_MASK)) && Bk != CLR_NONE && Bk != CLR_DEFAULT) {
    HBRUSH B = CreateSolidBrush(Bk);
    const TRect R{X, Y, X + W, Y + H};
    FillRect(Dc, &R, B);
    DeleteObject(B);
  }
  TCanvas Canvas;
  Canvas.SetHandle(Dc);
  L->Draw(&Canvas, X, Y, Index, DS, (Style & ILD_MASK) ? itMask : itImage, true);
  Canvas.SetHandle(nullptr);
  RestoreDC(Dc, Saved);
  return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST List, int Index, HDC Dc, int X, int Y, UINT Style) {
  return ImageList_DrawEx(List, Index, Dc, X, Y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, Style);
}

HICON ImageList_GetIcon(HIMAGELIST List, int Index, UINT) {
  TCustomImageList* L = ImageListFromHandle(List);
  if (!L || Index < 0 || Index >= L->Count()) return nullptr;
  const auto& Img = TImageListAccess::Images(L)[size_t(Index)];
  const int W = L->GetWidth(), H = L->GetHeight();
  // The icon's colour keeps black under transparent pixels, as its mask
  // then shows the screen through them.
  std::vector<std::uint32_t> Colour(Img.Pixels), Mask(Img.Mask.size());
  for (size_t i = 0; i < Mask.size(); ++i) {
    Mask[i] = Img.Mask[i] ? 0xFFFFFF : 0;
    if (Img.Mask[i]) Colour[i] = 0;
  }
  TBitmap C, M;
  C.LoadFromDib(DibFromBgra32(Colour.data(), W, H, 32));
  M.LoadFromDib(DibFromBgra32(Mask.data(), W, H, 1));
  ICONINFO Info;
  Info.hbmColor = C.GetHandle();
  Info.hbmMask = M.GetHandle();
  return CreateIconIndirect(&Info);
}

int ImageList_ReplaceIcon(HIMAGELIST List, int Index, HICON Icon) {
  TCustomImageList* L = ImageListFromHandle(List);
  ICONINFO Info;
  if (!L || !GetIconInfo(Icon, &Info) || Index < -1 || Index >= L->Count()) return -1;
  TBitmap Image, Mask;
  Image.SetHandle(Info.hbmColor);
  Mask.SetHandle(Info.hbmMask);
  // The list's images have its size: the icon is drawn into one.
  TBitmap Cell, CellMask;
  Cell.SetSize(L->GetWidth(), L->GetHeight());
  CellMask.SetSize(L->GetWidth(), L->GetHeight());
  StretchBlt(Cell.Canvas()->GetHandle(), 0, 0, L->GetWidth(), L->GetHeight(), Image.Canvas()->GetHandle(), 0, 0,
             Image.GetWidth(), Image.GetHeight(), SRCCOPY);
  StretchBlt(CellMask.Canvas()->GetHandle(), 0, 0, L->GetWidth(), L->GetHeight(), Mask.Canvas()->GetHandle(), 0, 0,
             Mask.GetWidth(), Mask.GetHeight(), SRCCOPY);
  if (Index == -1) return L->Add(&Cell, &CellMask);
  L->Replace(Index, &Cell, &CellMask);
  return Index;
}

BOOL ImageList_Remove(HIMAGELIST List, int Index) {
  TCustomImageList* L = ImageListFromHandle(List);
  if (!L || Index < -1 || Index >= L->Count()) return FALSE;
  L->Delete(Index);
  return TRUE;
}

// ---------------------------------------------------------------------------
// The image-list stream

namespace {
constexpr Word IlMagic = 0x4C49;  // "IL"
constexpr Word IlVersion = 0x0101;
constexpr Word IlcMask = 0x0001;
constexpr int PerRow = 4;
constexpr int HeaderSize = 28;

[[noreturn]] void BadData(const AnsiString& Why) { throw EReadError("Invalid image list data: " + Why); }

// One BMP file from the stream, sized by its file header.
TDib ReadBmpFrom(TStream* S) {
  Byte Head[14];
  S->ReadBuffer(Head, 14);
  if (Head[0] != 'B' || Head[1] != 'M') BadData("no bitmap");
  const DWORD Size = ReadLE32(Head + 2);
  if (Size < 14 + 40 || Size > 64u * 1024 * 1024) BadData("bitmap size " + std::to_string(Size));
  std::vector<Byte> Data(Size);
  std::memcpy(Data.data(), Head, 14);
  S->ReadBuffer(Data.data() + 14, Integer(Size - 14));
  return ReadBmp(Data);
}
}  // namespace

void TCustomImageList::ReadData(TStream* Stream) {
  Byte H[HeaderSize];
  Stream->ReadBuffer(H, HeaderSize);
  if (ReadLE16(H) != IlMagic) BadData("no 'IL' header");
  const int Count = std::int16_t(ReadLE16(H + 4));
  const int Cx = std::int16_t(ReadLE16(H + 10)), Cy = std::int16_t(ReadLE16(H + 12));
  const COLORREF Bk = ReadLE32(H + 14);
  const Word Flags = ReadLE16(H + 18);
  if (Count < 0 || Cx <= 0 || Cy <= 0 || Cx > 4096 || Cy > 4096) BadData("size or count out of range");
  const TDib Colour = ReadBmpFrom(Stream);
  TDib MaskDib;
  if (Flags & IlcMask) MaskDib = ReadBmpFrom(Stream);
  const int Rows = (Count + PerRow - 1) / PerRow;
  if (Count > 0 && (Colour.Width() < Cx * std::min(Count, PerRow) || Colour.Height() < Cy * Rows))
    BadData("bitmap smaller than its images");
  const std::vector<std::uint32_t> Px = DibToBgra32(Colour);
  std::vector<std::uint32_t> MaskPx;
  if (!MaskDib.Empty()) MaskPx = DibToBgra32(MaskDib);
  TUpdateGuard Update(*this);
  Clear();
  SetSize(Cx, Cy);
  FBkColor = Bk == CLR_NONE ? clNone : TColor(Bk);
  for (int i = 0; i < Count; ++i) {
    const int Ox = (i % PerRow) * Cx, Oy = (i / PerRow) * Cy;
    TImage Img;
    Img.Pixels.resize(size_t(Cx) * Cy);
    Img.Mask.assign(size_t(Cx) * Cy, 0);
    for (int y = 0; y < Cy; ++y)
      for (int x = 0; x < Cx; ++x) {
        const size_t Src = size_t(Oy + y) * Colour.Width() + size_t(Ox + x);
        Img.Pixels[size_t(y) * Cx + x] = Px[Src] & 0xFFFFFF;
        if (!MaskPx.empty() && Oy + y < MaskDib.Height() && Ox + x < MaskDib.Width())
          Img.Mask[size_t(y) * Cx + x] =
              (MaskPx[size_t(Oy + y) * MaskDib.Width() + size_t(Ox + x)] & 0xFFFFFF) != 0;
      }
    FImages.push_back(std::move(Img));
  }
  FChanged = true;
}

void TCustomImageList::WriteData(TStream* Stream) {
  const int N = Count();
  const int Cols = std::max(1, std::min(N, PerRow)), Rows = std::max(1, (N + PerRow - 1) / PerRow);
  const int W = Cols * FWidth, H = Rows * FHeight;
  std::vector<std::uint32_t> Px(size_t(W) * H, 0), MaskPx(size_t(W) * H, 0);
  for (int i = 0; i < N; ++i) {
    const int Ox = (i % PerRow) * FWidth, Oy = (i / PerRow) * FHeight;
    for (int y = 0; y < FHeight; ++y)
      for (int x = 0; x < FWidth; ++x) {
        const size_t D = size_t(Oy + y) * W + size_t(Ox + x), S = size_t(y) * FWidth + x;
        Px[D] = FImages[size_t(i)].Pixels[S];
        MaskPx[D] = FImages[size_t(i)].Mask[S] ? 0xFFFFFF : 0;
      }
  }
  Byte Hd[HeaderSize] = {};
  WriteLE16(Hd, IlMagic);
  WriteLE16(Hd + 2, IlVersion);
  WriteLE16(Hd + 4, Word(N));
  WriteLE16(Hd + 6, Word(std::max(N, 1)));
  WriteLE16(Hd + 8, Word(AllocBy));
  WriteLE16(Hd + 10, Word(FWidth));
  WriteLE16(Hd + 12, Word(FHeight));
  WriteLE32(Hd + 14, FBkColor == clNone ? CLR_NONE : COLORREF(FBkColor));
  WriteLE16(Hd + 18, Word(0x0018 | (FMasked ? IlcMask : 0)));  // 24-bit colour
  for (int i = 0; i < 4; ++i) WriteLE16(Hd + 20 + 2 * i, 0xFFFF);
  Stream->WriteBuffer(Hd, HeaderSize);
  const auto Colour = WriteBmp(DibFromBgra32(Px.data(), W, H, 24));
  Stream->WriteBuffer(Colour.data(), Integer(Colour.size()));
  if (FMasked) {
    const auto Mask = WriteBmp(DibFromBgra32(MaskPx.data(), W, H, 1));
    Stream->WriteBuffer(Mask.data(), Integer(Mask.size()));
  }
}

void TCustomImageList::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty("Bitmap", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); },
                              Count() > 0);
}
