#include "platform/win/Resources.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/IconApi.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/win/WinState_p.h"
#include "platform/win/Window.h"

namespace {
constexpr DWORD ErrorResourceNameNotFound = 1814;

TResourceTable& State() { return WinState().Resources; }

AnsiString Key(TResourceKind Kind, const char* Name) {
  const auto Id = reinterpret_cast<std::uintptr_t>(Name);
  const AnsiString N = Id <= 0xFFFF ? AnsiString(1, '#').append(std::to_string(Id)) : UpperCase(AnsiString(Name));
  return AnsiString(1, char('0' + int(Kind))) + N;
}

// "\n", "\t", "\\" in string tables.
AnsiString Unescape(const AnsiString& S) {
  AnsiString R;
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == '\\' && i + 1 < S.size()) {
      const char C = S[++i];
      R += C == 'n' ? '\n' : C == 't' ? '\t' : C;
    } else {
      R += S[i];
    }
  }
  return R;
}

void Load() {
  auto& St = State();
  if (St.Loaded) return;
  St.Loaded = true;
  std::ifstream In(ResourceDir() + "resources.txt");
  for (std::string Line; std::getline(In, Line);) {
    if (Line.empty() || Line[0] == '#') continue;
    std::istringstream L(Line);
    std::string Kind, Name, File;
    TResourceEntry E;
    if (!(L >> Kind >> Name >> File)) continue;
    if (Kind == "BITMAP") E.Kind = TResourceKind::Bitmap;
    else if (Kind == "CURSOR") E.Kind = TResourceKind::Cursor;
    else if (Kind == "ICON") E.Kind = TResourceKind::Icon;
    else continue;
    L >> E.HotX >> E.HotY;
    E.File = File;
    St.Entries[Key(E.Kind, Name.c_str())] = E;
  }
  std::ifstream Strings(ResourceDir() + "strings.txt");
  for (std::string Line; std::getline(Strings, Line);) {
    if (Line.empty() || Line[0] == '#') continue;
    const size_t Space = Line.find(' ');
    if (Space == std::string::npos) continue;
    char* End = nullptr;
    const unsigned long Id = std::strtoul(Line.c_str(), &End, 10);
    if (End != Line.c_str() + Space) continue;
    St.Strings[UINT(Id)] = Unescape(Line.substr(Space + 1));
  }
}

const TResourceEntry* Find(TResourceKind Kind, const char* Name) {
  Load();
  if (!Name) return nullptr;
  auto& E = State().Entries;
  auto It = E.find(Key(Kind, Name));
  return It == E.end() ? nullptr : &It->second;
}

// The picture of an entry as top-down BGRA with alpha; nullopt when its
// file cannot be read.
struct TPicture {
  int W = 0, H = 0;
  std::vector<std::uint32_t> Px;
};
std::optional<TPicture> ReadPicture(const TResourceEntry& E, int Width, int Height) {
  std::ifstream In(ResourceDir() + E.File, std::ios::binary);
  std::vector<Byte> Data((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  if (!IsPngData(Data.data(), Data.size())) return std::nullopt;
  TDib Dib;
  try {
    Dib = ReadPng(Data);
  } catch (const Exception&) {
    return std::nullopt;
  }
  TPicture P{Dib.Width(), Dib.Height(), DibToBgra32(Dib)};
  if ((Width > 0 && Width != P.W) || (Height > 0 && Height != P.H)) {
    // Nearest-neighbour: the pictures are pixel drawings.
    const int W = Width > 0 ? Width : P.W, H = Height > 0 ? Height : P.H;
    std::vector<std::uint32_t> S(size_t(W) * H);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) S[size_t(y) * W + x] = P.Px[size_t(y * P.H / H) * P.W + size_t(x * P.W / W)];
    P = {W, H, std::move(S)};
  }
  return P;
}

HBITMAP BitmapOf(const TPicture& P, int BitCount) {
  TBitmap B;
  B.LoadFromDib(DibFromBgra32(P.Px.data(), P.W, P.H, BitCount));
  return B.ReleaseHandle();
}

HICON IconOf(const TResourceEntry& E, bool Cursor, int Width, int Height) {
  auto P = ReadPicture(E, Width, Height);
  if (!P) return nullptr;
  TPicture Colour = *P, Mask = *P;
  for (size_t i = 0; i < P->Px.size(); ++i) {
    const bool Clear = (P->Px[i] >> 24) < 128;
    Mask.Px[i] = Clear ? 0xFFFFFF : 0;
    Colour.Px[i] = Clear ? 0 : (P->Px[i] | 0xFF000000u);
  }
  ICONINFO Info;
  Info.fIcon = Cursor ? FALSE : TRUE;
  Info.xHotspot = DWORD(E.HotX);
  Info.yHotspot = DWORD(E.HotY);
  Info.hbmColor = BitmapOf(Colour, 32);
  Info.hbmMask = BitmapOf(Mask, 1);
  HICON Icon = CreateIconIndirect(&Info);
  DeleteObject(Info.hbmColor);
  DeleteObject(Info.hbmMask);
  return Icon;
}

template <class T>
T NotFound() {
  SetLastError(ErrorResourceNameNotFound);
  return nullptr;
}
}  // namespace

AnsiString ResourceDir() {
  auto& St = State();
  if (St.Dir.empty()) St.Dir = ExtractFilePath(ExeName()) + "resources" + PathDelim;
  return St.Dir;
}

void SetResourceDir(const AnsiString& Dir) {
  auto& St = State();
  St = TResourceTable();
  St.Dir = Dir.empty() ? AnsiString() : IncludeTrailingPathDelimiter(Dir);
}

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

bool ProgramResourceExists(TResourceKind Kind, const char* Name) { return Find(Kind, Name) != nullptr; }

HBITMAP LoadProgramBitmap(const char* Name) {
  const TResourceEntry* E = Find(TResourceKind::Bitmap, Name);
  if (!E) return NotFound<HBITMAP>();
  auto P = ReadPicture(*E, 0, 0);
  // Bitmap resources carry no alpha: the glyphs mark transparency by colour.
  return P ? BitmapOf(*P, 24) : NotFound<HBITMAP>();
}

HCURSOR LoadProgramCursor(const char* Name) {
  const TResourceEntry* E = Find(TResourceKind::Cursor, Name);
  if (!E) return NotFound<HCURSOR>();
  if (!E->Cursor) E->Cursor = reinterpret_cast<HCURSOR>(IconOf(*E, true, 0, 0));
  return E->Cursor ? E->Cursor : NotFound<HCURSOR>();
}

HICON LoadIconA(HINSTANCE Instance, const char* Name) {
  if (!Instance) {
    // The system's icons, drawn for this project, live in the same table
    // under their IDI_ names.
    static const char* const Names[] = {"IDI_APPLICATION", "IDI_HAND", "IDI_QUESTION",
                                        "IDI_EXCLAMATION", "IDI_ASTERISK", "IDI_WINLOGO"};
    const auto Id = reinterpret_cast<std::uintptr_t>(Name);
    if (Id < 32512 || Id > 32517) return NotFound<HICON>();
    const TResourceEntry* E = Find(TResourceKind::Icon, Names[Id - 32512]);
    if (!E) return NotFound<HICON>();
    if (!E->SharedIcon) E->SharedIcon = IconOf(*E, false, 0, 0);
    return E->SharedIcon ? E->SharedIcon : NotFound<HICON>();
  }
  const TResourceEntry* E = Find(TResourceKind::Icon, Name);
  if (!E) return NotFound<HICON>();
  HICON I = IconOf(*E, false, 0, 0);
  return I ? I : NotFound<HICON>();
}

HANDLE LoadImageA(HINSTANCE Instance, const char* Name, UINT Type, int Width, int Height, UINT) {
  if (!Instance) return NotFound<HANDLE>();
  switch (Type) {
    case IMAGE_BITMAP: {
      const TResourceEntry* E = Find(TResourceKind::Bitmap, Name);
      auto P = E ? ReadPicture(*E, Width, Height) : std::nullopt;
      return P ? HANDLE(BitmapOf(*P, 24)) : NotFound<HANDLE>();
    }
    case IMAGE_ICON:
    case IMAGE_CURSOR: {
      const bool Cursor = Type == IMAGE_CURSOR;
      const TResourceEntry* E = Find(Cursor ? TResourceKind::Cursor : TResourceKind::Icon, Name);
      HICON I = E ? IconOf(*E, Cursor, Width, Height) : nullptr;
      return I ? HANDLE(I) : NotFound<HANDLE>();
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

int LoadStringA(HINSTANCE, UINT Id, char* Buffer, int BufferMax) {
  Load();
  auto& S = State().Strings;
  auto It = S.find(Id);
  if (It == S.end()) {
    SetLastError(ErrorResourceNameNotFound);
    if (Buffer && BufferMax > 0) Buffer[0] = 0;
    return 0;
  }
  if (!Buffer || BufferMax <= 0) return 0;
  const int N = std::min<int>(int(It->second.size()), BufferMax - 1);
  std::memcpy(Buffer, It->second.data(), size_t(N));
  Buffer[N] = 0;
  return N;
}

AnsiString LoadResString(UINT Id) {
  Load();
  auto& S = State().Strings;
  auto It = S.find(Id);
  return It == S.end() ? AnsiString() : It->second;
}
