#include "platform/gdi/Metafile.h"
#include "platform/rtl/ByteOrder.h"

#include <cstring>
#include <vector>
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Emf.h"
#include "platform/gdi/EmfPlayer.h"
#include "platform/gdi/EmfRecorder.h"
#include "platform/gdi/GraphicsBitmaps_p.h"
#include "platform/rtl/MulDiv.h"
#include "platform/gdi/Wmf.h"
#include "platform/rtl/CodePages.h"

namespace {
constexpr Integer ScreenPpi = 96;
constexpr Integer HundredthMMPerInch = 2540;
constexpr std::size_t PlaceableHeaderSize = 22;

using ByteOrder::ReadLE16;
using ByteOrder::ReadLE32;
SmallInt ReadS16(const Byte* P) { return SmallInt(ReadLE16(P)); }
void PutLE16(std::vector<Byte>& O, Word V) { O.push_back(Byte(V)); O.push_back(Byte(V >> 8)); }
}  // namespace

TMetafile::~TMetafile() {
  if (FHandle) DeleteEnhMetaFile(FHandle);
}

void TMetafile::Clear() {
  if (FHandle) DeleteEnhMetaFile(FHandle);
  FHandle = nullptr;
  FMMWidth = FMMHeight = 0;
  FInch = 0;
  Changed(this);
}

Integer TMetafile::GetWidth() const { return MulDiv(FMMWidth, ScreenPpi, HundredthMMPerInch); }
Integer TMetafile::GetHeight() const { return MulDiv(FMMHeight, ScreenPpi, HundredthMMPerInch); }
void TMetafile::SetWidth(Integer Value) { SetMMWidth(MulDiv(Value, HundredthMMPerInch, ScreenPpi)); }
void TMetafile::SetHeight(Integer Value) { SetMMHeight(MulDiv(Value, HundredthMMPerInch, ScreenPpi)); }

void TMetafile::SetMMWidth(Integer Value) {
  if (Value == FMMWidth) return;
  FMMWidth = std::max(Value, 0);
  Changed(this);
}

void TMetafile::SetMMHeight(Integer Value) {
  if (Value == FMMHeight) return;
  FMMHeight = std::max(Value, 0);
  Changed(this);
}

void TMetafile::SetEnhanced(bool Value) {
  if (Value == FEnhanced) return;
  FEnhanced = Value;
  Changed(this);
}

void TMetafile::SetInch(Word Value) {
  if (Value == FInch) return;
  FInch = Value;
  Changed(this);
}

void TMetafile::SetHandle(HENHMETAFILE Value) {
  if (Value == FHandle) return;
  ENHMETAHEADER H;
  if (Value && GetEnhMetaFileHeader(Value, sizeof H, &H) == 0) throw EInvalidGraphic("Metafile is not valid");
  if (FHandle) DeleteEnhMetaFile(FHandle);
  FHandle = Value;
  if (Value) {
    FMMWidth = H.rclFrame.Right - H.rclFrame.Left;
    FMMHeight = H.rclFrame.Bottom - H.rclFrame.Top;
  }
  Changed(this);
}

HENHMETAFILE TMetafile::ReleaseHandle() {
  HENHMETAFILE H = FHandle;
  FHandle = nullptr;
  return H;
}

namespace {
// The description's two strings: creator, then title.
AnsiString DescriptionPart(HENHMETAFILE Mf, int Part) {
  if (!Mf) return "";
  const UINT N = GetEnhMetaFileDescriptionW(Mf, 0, nullptr);
  if (N == 0 || N == UINT(-1)) return "";
  std::u16string D(N, u'\0');
  GetEnhMetaFileDescriptionW(Mf, N, D.data());
  std::size_t Start = 0;
  for (int I = 0; I < Part; ++I) {
    const std::size_t Z = D.find(u'\0', Start);
    if (Z == std::u16string::npos) return "";
    Start = Z + 1;
  }
  const std::size_t End = D.find(u'\0', Start);
  return WideToAnsi(D.substr(Start, End == std::u16string::npos ? std::u16string::npos : End - Start));
}
}  // namespace

AnsiString TMetafile::GetCreatedBy() const { return DescriptionPart(FHandle, 0); }
AnsiString TMetafile::GetDescription() const { return DescriptionPart(FHandle, 1); }

void TMetafile::Assign(TPersistent* Source) {
  if (!Source) {
    Clear();
    return;
  }
  auto* M = dynamic_cast<TMetafile*>(Source);
  if (!M) {
    inherited::Assign(Source);
    return;
  }
  if (M == this) return;
  HENHMETAFILE Copy = M->FHandle ? CopyEnhMetaFileA(M->FHandle, nullptr) : nullptr;
  if (M->FHandle && !Copy) throw EOutOfMemory("Out of system resources");
  if (FHandle) DeleteEnhMetaFile(FHandle);
  FHandle = Copy;
  FMMWidth = M->FMMWidth;
  FMMHeight = M->FMMHeight;
  FEnhanced = M->FEnhanced;
  FInch = M->FInch;
  Changed(this);
}

void TMetafile::LoadFromBytes(const std::vector<Byte>& Data) {
  const Byte* P = Data.data();
  const std::size_t N = Data.size();
  if (N >= 44 && ReadLE32(P) == 1 && std::memcmp(P + 40, " EMF", 4) == 0) {
    HENHMETAFILE Mf = SetEnhMetaFileBits(UINT(N), P);
    if (!Mf) throw EInvalidGraphic("Metafile is not valid");
    SetHandle(Mf);
    FEnhanced = true;
    FInch = 0;
    return;
  }
  if (N >= PlaceableHeaderSize && ReadLE32(P) == WMF_PLACEABLE_KEY) {
    // Key, handle, bounding box (four 16-bit values), units per inch.
    const Integer L = ReadS16(P + 6), T = ReadS16(P + 8), R = ReadS16(P + 10), B = ReadS16(P + 12);
    const Word Inch = ReadLE16(P + 14);
    if (Inch == 0 || R <= L || B <= T) throw EInvalidGraphic("Metafile is not valid");
    METAFILEPICT Pict;
    Pict.mm = MM_ANISOTROPIC;
    Pict.xExt = MulDiv(R - L, HundredthMMPerInch, Inch);
    Pict.yExt = MulDiv(B - T, HundredthMMPerInch, Inch);
    HENHMETAFILE Mf = SetWinMetaFileBits(UINT(N - PlaceableHeaderSize), P + PlaceableHeaderSize, nullptr, &Pict);
    if (!Mf) throw EInvalidGraphic("Metafile is not valid");
    SetHandle(Mf);
    FMMWidth = Pict.xExt;
    FMMHeight = Pict.yExt;
    FEnhanced = false;
    FInch = Inch;
    return;
  }
  throw EInvalidGraphic("Metafile is not valid");
}

void TMetafile::LoadFromStream(TStream* Stream) {
  const Int64 Size = Stream->GetSize() - Stream->GetPosition();
  if (Size <= 0 || Size > (Int64(1) << 30)) throw EInvalidGraphic("Metafile is not valid");
  std::vector<Byte> Data(static_cast<std::size_t>(Size));
  Stream->ReadBuffer(Data.data(), Integer(Size));
  LoadFromBytes(Data);
}

void TMetafile::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  if (FEnhanced) {
    const UINT N = GetEnhMetaFileBits(FHandle, 0, nullptr);
    std::vector<Byte> Data(N);
    GetEnhMetaFileBits(FHandle, N, Data.data());
    Stream->WriteBuffer(Data.data(), Integer(N));
    return;
  }
  TGxBitmapDC Ref(nullptr);
  const UINT N = GetWinMetaFileBits(FHandle, 0, nullptr, MM_ANISOTROPIC, Ref.Dc());
  if (N == 0) throw EInvalidGraphic("Metafile is not valid");
  std::vector<Byte> Wmf(N);
  GetWinMetaFileBits(FHandle, N, Wmf.data(), MM_ANISOTROPIC, Ref.Dc());
  // The placeable header: its box in Inch units, checksum over its words.
  const Word Inch = FInch ? FInch : 1440;
  std::vector<Byte> H;
  PutLE16(H, Word(WMF_PLACEABLE_KEY & 0xFFFF));
  PutLE16(H, Word(WMF_PLACEABLE_KEY >> 16));
  PutLE16(H, 0);
  PutLE16(H, 0);
  PutLE16(H, 0);
  PutLE16(H, Word(std::min(MulDiv(FMMWidth, Inch, HundredthMMPerInch), 32767)));
  PutLE16(H, Word(std::min(MulDiv(FMMHeight, Inch, HundredthMMPerInch), 32767)));
  PutLE16(H, Inch);
  PutLE16(H, 0);
  PutLE16(H, 0);
  Word Sum = 0;
  for (std::size_t I = 0; I < H.size(); I += 2) Sum ^= ReadLE16(&H[I]);
  PutLE16(H, Sum);
  Stream->WriteBuffer(H.data(), Integer(H.size()));
  Stream->WriteBuffer(Wmf.data(), Integer(Wmf.size()));
}

void TMetafile::ReadData(TStream* Stream) {
  const DWORD Size = Stream->ReadU32();
  const AnsiString Data = Stream->ReadBytes(Integer(Size));
  LoadFromBytes(std::vector<Byte>(Data.begin(), Data.end()));
}

void TMetafile::WriteData(TStream* Stream) {
  TMemoryStream M;
  SaveToStream(&M);
  Stream->WriteU32(DWORD(M.GetSize()));
  if (M.GetSize()) Stream->WriteBuffer(M.Memory(), Integer(M.GetSize()));
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  PlayEnhMetaFile(ACanvas->GetHandle(), FHandle, &Rect);
}

// --- TMetafileCanvas --------------------------------------------------------------------

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice) : FMetafile(AMetafile) {
  Start(ReferenceDevice, "", "", false);
}

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice, const AnsiString& CreatedBy,
                                 const AnsiString& Description)
    : FMetafile(AMetafile) {
  Start(ReferenceDevice, CreatedBy, Description, true);
}

void TMetafileCanvas::Start(HDC ReferenceDevice, const AnsiString& CreatedBy, const AnsiString& Description,
                            bool Comment) {
  HDC Ref = ReferenceDevice ? ReferenceDevice : GxScreenDC();
  const int HorzMM = GetDeviceCaps(Ref, HORZSIZE), VertMM = GetDeviceCaps(Ref, VERTSIZE);
  const int HorzRes = GetDeviceCaps(Ref, HORZRES), VertRes = GetDeviceCaps(Ref, VERTRES);
  if (FMetafile->GetMMWidth() == 0)
    FMetafile->SetMMWidth(FMetafile->GetWidth() == 0 ? HorzMM * 100
                                                     : MulDiv(FMetafile->GetWidth(), HorzMM * 100, HorzRes));
  if (FMetafile->GetMMHeight() == 0)
    FMetafile->SetMMHeight(FMetafile->GetHeight() == 0 ? VertMM * 100
                                                       : MulDiv(FMetafile->GetHeight(), VertMM * 100, VertRes));
  const TRect Frame{0, 0, FMetafile->GetMMWidth(), FMetafile->GetMMHeight()};
  AnsiString Desc;
  if (Comment) Desc = CreatedBy + '\0' + Description + '\0' + '\0';
  HDC Dc = CreateEnhMetaFileA(Ref, nullptr, &Frame, Comment ? Desc.c_str() : nullptr);
  if (!Dc) throw EOutOfMemory("Out of system resources");
  SetHandle(Dc);
}

TMetafileCanvas::~TMetafileCanvas() {
  HDC Dc = GetHandle();
  SetHandle(nullptr);
  const Integer W = FMetafile->GetMMWidth(), H = FMetafile->GetMMHeight();
  if (HENHMETAFILE Mf = CloseEnhMetaFile(Dc)) {
    try {
      FMetafile->SetHandle(Mf);
      // The frame asked for is the size, whatever the recorder rounded.
      FMetafile->SetMMWidth(W);
      FMetafile->SetMMHeight(H);
    } catch (...) {
      // A destructor must not throw; the metafile stays as it was.
    }
  }
}
