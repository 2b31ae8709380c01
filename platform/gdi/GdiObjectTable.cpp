#include "platform/gdi/GdiObjectTable.h"

#include <cstring>
#include <mutex>

#include "platform/gdi/DcObject.h"
#include "platform/rtl/Exceptions.h"

namespace {
constexpr unsigned KindBits = 5, SlotBits = 16, GenBits = 11;
constexpr std::uint32_t KindMask = (1u << KindBits) - 1;
constexpr std::uint32_t SlotMask = (1u << SlotBits) - 1;
constexpr std::uint32_t GenMask = (1u << GenBits) - 1;

struct TSlot {
  std::unique_ptr<TGdiObject> Obj;
  std::uint32_t Gen = 0;
};

struct TTable {
  std::recursive_mutex Lock;
  std::vector<TSlot> Slots{1};  // slot 0 unused, so no handle is null
  std::vector<std::uint32_t> Free;
  std::size_t Live = 0;
};

TTable& Table() {
  static TTable* T = new TTable;  // never destroyed: handles may outlive main
  return *T;
}

HGDIOBJ Pack(DWORD Kind, std::uint32_t Slot, std::uint32_t Gen) {
  std::uintptr_t V = (std::uintptr_t(Gen) << (KindBits + SlotBits)) |
                     (std::uintptr_t(Slot) << KindBits) | Kind;
  return reinterpret_cast<HGDIOBJ>(V);
}

TSlot* Resolve(TTable& T, HGDIOBJ H) {
  std::uintptr_t V = reinterpret_cast<std::uintptr_t>(H);
  if (V == 0 || V > 0xFFFFFFFFu) return nullptr;
  std::uint32_t Slot = (V >> KindBits) & SlotMask;
  std::uint32_t Gen = (V >> (KindBits + SlotBits)) & GenMask;
  if (Slot == 0 || Slot >= T.Slots.size()) return nullptr;
  TSlot& S = T.Slots[Slot];
  if (!S.Obj || S.Gen != Gen || S.Obj->Kind != (V & KindMask)) return nullptr;
  return &S;
}

template <class T>
int CopyOut(const T& V, int Size, void* Buffer) {
  if (!Buffer) return int(sizeof(T));
  if (Size <= 0) return 0;
  int N = Size < int(sizeof(T)) ? Size : int(sizeof(T));
  std::memcpy(Buffer, &V, std::size_t(N));
  return N;
}
}  // namespace

int TGdiObject::GetObjectData(int, void*) const { return 0; }

HGDIOBJ GdiAddObject(std::unique_ptr<TGdiObject> Obj) {
  if (!Obj) return nullptr;
  TTable& T = Table();
  std::lock_guard<std::recursive_mutex> G(T.Lock);
  std::uint32_t Slot;
  if (!T.Free.empty()) {
    Slot = T.Free.back();
    T.Free.pop_back();
  } else {
    if (T.Slots.size() > SlotMask) return nullptr;
    Slot = std::uint32_t(T.Slots.size());
    T.Slots.emplace_back();
  }
  TSlot& S = T.Slots[Slot];
  S.Gen = (S.Gen + 1) & GenMask;
  if (S.Gen == 0) S.Gen = 1;
  HGDIOBJ H = Pack(Obj->Kind, Slot, S.Gen);
  Obj->Handle = H;
  S.Obj = std::move(Obj);
  ++T.Live;
  return H;
}

TGdiObject* GdiLookup(HGDIOBJ H, DWORD Kind) {
  TTable& T = Table();
  std::lock_guard<std::recursive_mutex> G(T.Lock);
  TSlot* S = Resolve(T, H);
  if (!S || (Kind != 0 && S->Obj->Kind != Kind)) return nullptr;
  return S->Obj.get();
}

BOOL GdiFreeObject(HGDIOBJ H) {
  TTable& T = Table();
  std::unique_ptr<TGdiObject> Dead;
  {
    std::lock_guard<std::recursive_mutex> G(T.Lock);
    TSlot* S = Resolve(T, H);
    if (!S) return FALSE;
    Dead = std::move(S->Obj);
    T.Free.push_back(std::uint32_t((reinterpret_cast<std::uintptr_t>(H) >> KindBits) & SlotMask));
    --T.Live;
  }
  return TRUE;  // Dead is destroyed outside the lock
}

void GdiAddSelection(HGDIOBJ H) {
  if (TGdiObject* O = GdiLookup(H)) ++O->SelectCount;
}

void GdiReleaseSelection(HGDIOBJ H) {
  TGdiObject* O = GdiLookup(H);
  if (!O) return;
  if (O->SelectCount > 0) --O->SelectCount;
  if (O->SelectCount == 0 && O->DeletePending) GdiFreeObject(H);
}

std::size_t GdiObjectCount() {
  TTable& T = Table();
  std::lock_guard<std::recursive_mutex> G(T.Lock);
  return T.Live;
}

// --- GetObject answers --------------------------------------------------------

int TPenObject::GetObjectData(int Size, void* Buffer) const {
  if (Kind == OBJ_PEN) {
    LOGPEN P;
    P.lopnStyle = Style;
    P.lopnWidth.x = Width;
    P.lopnColor = Color;
    return CopyOut(P, Size, Buffer);
  }
  // EXTLOGPEN with its style entries following the fixed part.
  std::size_t Need = offsetof(EXTLOGPEN, elpStyleEntry) + sizeof(DWORD) * std::max<std::size_t>(UserStyle.size(), 0);
  if (Need < sizeof(EXTLOGPEN)) Need = sizeof(EXTLOGPEN);
  if (!Buffer) return int(Need);
  if (Size < int(offsetof(EXTLOGPEN, elpStyleEntry))) return 0;
  std::vector<Byte> Tmp(Need, 0);
  auto* E = reinterpret_cast<EXTLOGPEN*>(Tmp.data());
  E->elpPenStyle = Style;
  E->elpWidth = DWORD(Width);
  E->elpBrushStyle = BrushStyle;
  E->elpColor = Color;
  E->elpHatch = Hatch;
  E->elpNumEntries = DWORD(UserStyle.size());
  if (!UserStyle.empty())
    std::memcpy(Tmp.data() + offsetof(EXTLOGPEN, elpStyleEntry), UserStyle.data(),
                UserStyle.size() * sizeof(DWORD));
  int N = std::min<int>(Size, int(Need));
  std::memcpy(Buffer, Tmp.data(), std::size_t(N));
  return N;
}

int TBrushObject::GetObjectData(int Size, void* Buffer) const {
  LOGBRUSH B;
  B.lbStyle = Style;
  B.lbColor = Style == BS_SOLID || Style == BS_HATCHED ? Color : 0;
  B.lbHatch = Style == BS_HATCHED ? std::uintptr_t(Hatch)
              : Style == BS_PATTERN ? reinterpret_cast<std::uintptr_t>(PatternHandle) : 0;
  return CopyOut(B, Size, Buffer);
}

int TPaletteObject::GetObjectData(int Size, void* Buffer) const {
  WORD N = WORD(Entries.size());
  return CopyOut(N, Size, Buffer);
}

int TBitmapObject::GetObjectData(int Size, void* Buffer) const {
  BITMAP B;
  B.bmType = 0;
  B.bmWidth = Width;
  B.bmHeight = Height;
  B.bmWidthBytes = IsDIBSection ? Stride : ((Width * BitsPerPixel + 15) / 16) * 2;
  B.bmPlanes = 1;
  B.bmBitsPixel = WORD(BitsPerPixel);
  B.bmBits = IsDIBSection ? Bits : nullptr;
  return CopyOut(B, Size, Buffer);
}

// --- bitmap storage -------------------------------------------------------------

void TBitmapObject::Allocate(int AWidth, int AHeight, int ABitsPerPixel) {
  if (AWidth < 0 || AHeight < 0)
    throw EOutOfMemory("Bitmap size " + std::to_string(AWidth) + "x" + std::to_string(AHeight) +
                       " is invalid");
  switch (ABitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: throw EInvalidGraphicOperation("Unsupported bits per pixel: " + std::to_string(ABitsPerPixel));
  }
  std::int64_t StrideL = ((std::int64_t(AWidth) * ABitsPerPixel + 31) / 32) * 4;
  std::int64_t Total = StrideL * AHeight;
  // 1 GiB is beyond any page or image this program makes.
  if (Total > (std::int64_t(1) << 30))
    throw EOutOfMemory("Bitmap " + std::to_string(AWidth) + "x" + std::to_string(AHeight) +
                       " is too large");
  Width = AWidth;
  Height = AHeight;
  BitsPerPixel = ABitsPerPixel;
  Stride = int(StrideL);
  Storage.assign(std::size_t(Total), 0);
  Bits = Storage.data();
  if (BitsPerPixel <= 8 && ColorTable.empty()) {
    if (BitsPerPixel == 1) {
      ColorTable = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    } else {
      const auto& Pal = DefaultPaletteEntries();
      std::size_t N = std::size_t(1) << BitsPerPixel;
      for (std::size_t I = 0; I < N; ++I) {
        const PALETTEENTRY& E = Pal[I < Pal.size() ? I : Pal.size() - 1];
        ColorTable.push_back(RGBQUAD{E.peBlue, E.peGreen, E.peRed, 0});
      }
    }
  }
}

std::uint32_t TBitmapObject::PixelMask() const {
  switch (BitsPerPixel) {
    case 1: return 1;
    case 4: return 0xF;
    case 8: return 0xFF;
    case 16: return 0xFFFF;
    default: return 0xFFFFFF;
  }
}

std::uint32_t TBitmapObject::GetPixelValue(int X, int Y) const {
  const Byte* L = ScanLine(Y);
  switch (BitsPerPixel) {
    case 32: { std::uint32_t V; std::memcpy(&V, L + X * 4, 4); return V & 0xFFFFFF; }
    case 24: return std::uint32_t(L[X * 3]) | (std::uint32_t(L[X * 3 + 1]) << 8) |
                    (std::uint32_t(L[X * 3 + 2]) << 16);
    case 16: return std::uint32_t(L[X * 2]) | (std::uint32_t(L[X * 2 + 1]) << 8);
    case 8: return L[X];
    case 4: return (L[X / 2] >> ((X & 1) ? 0 : 4)) & 0xF;
    case 1: return (L[X / 8] >> (7 - (X & 7))) & 1;
  }
  return 0;
}

void TBitmapObject::SetPixelValue(int X, int Y, std::uint32_t V) {
  Byte* L = ScanLine(Y);
  switch (BitsPerPixel) {
    case 32: { V &= 0xFFFFFF; std::memcpy(L + X * 4, &V, 4); break; }
    case 24: L[X * 3] = Byte(V); L[X * 3 + 1] = Byte(V >> 8); L[X * 3 + 2] = Byte(V >> 16); break;
    case 16: L[X * 2] = Byte(V); L[X * 2 + 1] = Byte(V >> 8); break;
    case 8: L[X] = Byte(V); break;
    case 4: {
      int Sh = (X & 1) ? 0 : 4;
      L[X / 2] = Byte((L[X / 2] & ~(0xF << Sh)) | ((V & 0xF) << Sh));
      break;
    }
    case 1: {
      Byte M = Byte(0x80 >> (X & 7));
      L[X / 8] = (V & 1) ? Byte(L[X / 8] | M) : Byte(L[X / 8] & ~M);
      break;
    }
  }
}

namespace {
int MaskShift(DWORD M) { int S = 0; while (M && !(M & 1)) { M >>= 1; ++S; } return S; }
int MaskBits(DWORD M) { M >>= MaskShift(M); int B = 0; while (M & 1) { M >>= 1; ++B; } return B; }
std::uint32_t ToField(Byte C, DWORD M) {
  int B = MaskBits(M);
  if (B == 0) return 0;
  return (std::uint32_t(C) >> (8 - std::min(B, 8))) << MaskShift(M);
}
Byte FromField(std::uint32_t V, DWORD M) {
  int B = MaskBits(M);
  if (B == 0) return 0;
  std::uint32_t F = (V & M) >> MaskShift(M);
  if (B >= 8) return Byte(F >> (B - 8));
  // Replicate the high bits so full scale maps to 255.
  std::uint32_t Out = 0;
  int Have = 0;
  while (Have < 8) { Out = (Out << B) | F; Have += B; }
  return Byte(Out >> (Have - 8));
}
}  // namespace

std::uint32_t TBitmapObject::ColorToPixel(COLORREF C) const {
  Byte R = GetRValue(C), G = GetGValue(C), B = GetBValue(C);
  switch (BitsPerPixel) {
    case 32:
    case 24:
      return (std::uint32_t(R) << 16) | (std::uint32_t(G) << 8) | B;
    case 16: {
      DWORD RM = RedMask ? RedMask : 0x7C00, GM = RedMask ? GreenMask : 0x03E0,
            BM = RedMask ? BlueMask : 0x001F;
      return ToField(R, RM) | ToField(G, GM) | ToField(B, BM);
    }
    default: {
      if (DDBMono || (BitsPerPixel == 1 && ColorTable.size() == 2 &&
                      ColorTable[0] == RGBQUAD{0, 0, 0, 0} &&
                      ColorTable[1] == RGBQUAD{255, 255, 255, 0}))
        return (int(R) + G + B) >= 384 ? 1u : 0u;
      std::uint32_t Best = 0;
      long BestD = -1;
      for (std::size_t I = 0; I < ColorTable.size(); ++I) {
        long DR = long(ColorTable[I].rgbRed) - R, DG = long(ColorTable[I].rgbGreen) - G,
             DB = long(ColorTable[I].rgbBlue) - B;
        long D = DR * DR + DG * DG + DB * DB;
        if (BestD < 0 || D < BestD) { BestD = D; Best = std::uint32_t(I); }
      }
      return Best;
    }
  }
}

COLORREF TBitmapObject::PixelToColor(std::uint32_t V) const {
  switch (BitsPerPixel) {
    case 32:
    case 24:
      return RGB(Byte(V >> 16), Byte(V >> 8), Byte(V));
    case 16: {
      DWORD RM = RedMask ? RedMask : 0x7C00, GM = RedMask ? GreenMask : 0x03E0,
            BM = RedMask ? BlueMask : 0x001F;
      return RGB(FromField(V, RM), FromField(V, GM), FromField(V, BM));
    }
    default:
      if (V < ColorTable.size())
        return RGB(ColorTable[V].rgbRed, ColorTable[V].rgbGreen, ColorTable[V].rgbBlue);
      return 0;
  }
}

const std::vector<PALETTEENTRY>& DefaultPaletteEntries() {
  // The 20 static colours: 10 at the bottom, 10 at the top of a 256 palette;
  // the 16-colour VGA set first for 4-bit bitmaps.
  static const std::vector<PALETTEENTRY> P = {
      {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
      {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
      {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
      {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
  };
  return P;
}
