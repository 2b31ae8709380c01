#include "platform/gdi/IconApi.h"

#include <map>
#include <memory>
#include <mutex>
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/GdiObjectTable.h"
#include "platform/gdi/GraphicsBitmaps_p.h"

namespace {
struct TIconData {
  bool IsIcon = true;
  DWORD HotX = 0, HotY = 0;
  int Width = 0, Height = 0;
  HBITMAP Mask = nullptr;   // monochrome, Width x Height
  HBITMAP Color = nullptr;  // null for monochrome icons
  ~TIconData() {
    if (Mask) DeleteObject(Mask);
    if (Color) DeleteObject(Color);
  }
};

struct TIconTable {
  std::mutex Lock;
  std::map<std::uintptr_t, std::unique_ptr<TIconData>> Icons;
  std::uintptr_t Next = 0x7A000;
};

TIconTable& Table() {
  static TIconTable T;
  return T;
}

TIconData* Find(HICON H) {
  auto& T = Table();
  std::lock_guard G(T.Lock);
  auto It = T.Icons.find(reinterpret_cast<std::uintptr_t>(H));
  return It == T.Icons.end() ? nullptr : It->second.get();
}

HICON Add(std::unique_ptr<TIconData> D) {
  auto& T = Table();
  std::lock_guard G(T.Lock);
  T.Next += 4;
  T.Icons[T.Next] = std::move(D);
  return reinterpret_cast<HICON>(T.Next);
}

// A copy of part of a bitmap, as a bitmap of the same kind (mono stays mono).
HBITMAP CopyPart(HBITMAP Src, int Y0, int W, int H) {
  auto* S = static_cast<TBitmapObject*>(GdiLookup(Src, OBJ_BITMAP));
  if (!S) return nullptr;
  HBITMAP Dst = S->BitsPerPixel == 1 ? CreateBitmap(W, H, 1, 1, nullptr) : CreateBitmap(W, H, 1, 32, nullptr);
  if (!Dst) return nullptr;
  TGxBitmapDC D(Dst), Sc(Src);
  BitBlt(D.Dc(), 0, 0, W, H, Sc.Dc(), 0, Y0, SRCCOPY);
  return Dst;
}
}  // namespace

HICON CreateIconIndirect(const ICONINFO* Info) {
  if (!Info || !Info->hbmMask) return nullptr;
  BITMAP Bm;
  if (GetObjectA(Info->hbmMask, sizeof Bm, &Bm) != int(sizeof Bm)) return nullptr;
  auto D = std::make_unique<TIconData>();
  D->IsIcon = Info->fIcon != FALSE;
  D->HotX = Info->xHotspot;
  D->HotY = Info->yHotspot;
  D->Width = Bm.bmWidth;
  D->Height = Info->hbmColor ? Bm.bmHeight : Bm.bmHeight / 2;
  if (D->Width <= 0 || D->Height <= 0) return nullptr;
  // A monochrome icon keeps its AND mask on top and the XOR image below.
  D->Mask = CopyPart(Info->hbmMask, 0, D->Width, D->Height);
  if (Info->hbmColor) {
    D->Color = CopyPart(Info->hbmColor, 0, D->Width, D->Height);
  } else {
    D->Color = CopyPart(Info->hbmMask, D->Height, D->Width, D->Height);
  }
  if (!D->Mask || !D->Color) return nullptr;
  return Add(std::move(D));
}

BOOL GetIconInfo(HICON Icon, ICONINFO* Info) {
  TIconData* D = Find(Icon);
  if (!D || !Info) return FALSE;
  Info->fIcon = D->IsIcon;
  Info->xHotspot = D->IsIcon ? DWORD(D->Width / 2) : D->HotX;
  Info->yHotspot = D->IsIcon ? DWORD(D->Height / 2) : D->HotY;
  Info->hbmMask = CopyPart(D->Mask, 0, D->Width, D->Height);
  Info->hbmColor = CopyPart(D->Color, 0, D->Width, D->Height);
  return Info->hbmMask && Info->hbmColor;
}

HICON CopyIcon(HICON Icon) {
  TIconData* D = Find(Icon);
  if (!D) return nullptr;
  ICONINFO I;
  I.fIcon = D->IsIcon;
  I.xHotspot = D->HotX;
  I.yHotspot = D->HotY;
  I.hbmMask = D->Mask;
  I.hbmColor = D->Color;
  return CreateIconIndirect(&I);
}

BOOL DestroyIcon(HICON Icon) {
  auto& T = Table();
  std::lock_guard G(T.Lock);
  return T.Icons.erase(reinterpret_cast<std::uintptr_t>(Icon)) ? TRUE : FALSE;
}

TSize GdiIconSize(HICON Icon) {
  TIconData* D = Find(Icon);
  return D ? TSize{D->Width, D->Height} : TSize{};
}

BOOL DrawIconEx(HDC Dc, int X, int Y, HICON Icon, int Width, int Height, UINT Step, HBRUSH FlickerFree,
                UINT Flags) {
  TIconData* D = Find(Icon);
  if (!D || Step != 0 || FlickerFree) return FALSE;
  if (Width == 0) Width = D->Width;
  if (Height == 0) Height = D->Height;
  if ((Flags & DI_NORMAL) == 0) Flags |= DI_NORMAL;
  const COLORREF OldText = SetTextColor(Dc, RGB(0, 0, 0));
  const COLORREF OldBk = SetBkColor(Dc, RGB(255, 255, 255));
  const int OldMode = SetStretchBltMode(Dc, COLORONCOLOR);
  BOOL Ok = TRUE;
  const bool Both = (Flags & DI_NORMAL) == DI_NORMAL;
  if (Flags & DI_MASK) {
    TGxBitmapDC M(D->Mask);
    Ok &= StretchBlt(Dc, X, Y, Width, Height, M.Dc(), 0, 0, D->Width, D->Height, Both ? SRCAND : SRCCOPY);
  }
  if (Flags & DI_IMAGE) {
    TGxBitmapDC C(D->Color);
    Ok &= StretchBlt(Dc, X, Y, Width, Height, C.Dc(), 0, 0, D->Width, D->Height, Both ? SRCINVERT : SRCCOPY);
  }
  SetStretchBltMode(Dc, OldMode);
  SetTextColor(Dc, OldText);
  SetBkColor(Dc, OldBk);
  return Ok;
}

BOOL DrawIcon(HDC Dc, int X, int Y, HICON Icon) { return DrawIconEx(Dc, X, Y, Icon, 0, 0, 0, nullptr, DI_NORMAL); }
