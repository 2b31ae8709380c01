#include "platform/shell/ShlObj.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>

#include "platform/ole/DataObject.h"
#include "platform/ole/DropFormats.h"
#include "platform/rtl/ByteOrder.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/FileUtils.h"
#include "platform/shell/ShellItems_p.h"
#include "platform/shell/ShellData.h"
#include "platform/win/Modules.h"

constexpr HRESULT HRESULT_FILE_NOT_FOUND = HRESULT(0x80070002u);
constexpr HRESULT HRESULT_PATH_NOT_FOUND = HRESULT(0x80070003u);

// --- items ------------------------------------------------------------------------------------------

namespace {

const Byte* ListBytes(LPCITEMIDLIST P) { return reinterpret_cast<const Byte*>(P); }

// The byte length of a list including its terminator, bounded by the cap;
// 0 for a malformed one.
std::size_t SafeSize(LPCITEMIDLIST P) {
  if (!P) return 0;
  const Byte* B = ListBytes(P);
  std::size_t At = 0;
  while (At + 2 <= ShellMaxIDListSize) {
    const std::size_t Cb = ByteOrder::ReadLE16(B + At);
    if (Cb == 0) return At + 2;
    if (Cb < 2) return 0;
    At += Cb;
  }
  return 0;
}

bool ValidName(const std::string& N) {
  return !N.empty() && N != "." && N != ".." && N.find('/') == std::string::npos &&
         N.find('\0') == std::string::npos;
}

}  // namespace

std::optional<std::vector<TShellItem>> SplitIDList(LPCITEMIDLIST Pidl) {
  std::vector<TShellItem> Items;
  if (!Pidl) return Items;
  const std::size_t Size = SafeSize(Pidl);
  if (!Size) return std::nullopt;
  const Byte* B = ListBytes(Pidl);
  std::size_t At = 0;
  while (At + 2 < Size) {
    const std::size_t Cb = ByteOrder::ReadLE16(B + At);
    if (Cb < 3) return std::nullopt;
    const Byte Kind = B[At + 2];
    TShellItem I{TItemKind(Kind), std::string(reinterpret_cast<const char*>(B + At + 3), Cb - 3)};
    switch (I.Kind) {
      case TItemKind::DesktopPlace:
      case TItemKind::HomePlace:
      case TItemKind::RootPlace:
      case TItemKind::VolumePlace:
        if (I.Name.empty() || I.Name[0] != '/' || I.Name.find('\0') != std::string::npos) return std::nullopt;
        break;
      case TItemKind::File:
      case TItemKind::Folder:
        if (!ValidName(I.Name)) return std::nullopt;
        break;
      default: return std::nullopt;
    }
    Items.push_back(std::move(I));
    At += Cb;
  }
  return Items;
}

std::string MakeItemBytes(const TShellItem& Item) {
  std::string S(3, '\0');
  const std::size_t Cb = 3 + Item.Name.size();
  ByteOrder::WriteLE16(reinterpret_cast<std::uint8_t*>(S.data()), std::uint16_t(Cb));
  S[2] = char(Item.Kind);
  return S + Item.Name;
}

LPITEMIDLIST MakeIDList(const std::vector<TShellItem>& Items) {
  std::string All;
  for (const TShellItem& I : Items) All += MakeItemBytes(I);
  All.append(2, '\0');
  void* P = CoTaskMemAlloc(All.size());
  if (!P) return nullptr;
  std::memcpy(P, All.data(), All.size());
  return static_cast<LPITEMIDLIST>(P);
}

std::optional<std::string> PathOfItems(const std::vector<TShellItem>& Items) {
  if (Items.empty() || !Items[0].IsPlace()) return std::nullopt;
  std::string P = Items[0].Name;
  for (std::size_t I = 1; I < Items.size(); ++I) {
    if (Items[I].IsPlace()) return std::nullopt;
    if (P.back() != '/') P += '/';
    P += Items[I].Name;
  }
  return P;
}

// --- places ------------------------------------------------------------------------------------------

namespace {

std::mutex PlacesLock;
std::unique_ptr<TShellPlaces> PinnedPlaces;

std::string HomeFolder() {
  if (const char* H = std::getenv("HOME"); H && *H == '/') return H;
  if (const passwd* Pw = getpwuid(getuid()); Pw && Pw->pw_dir) return Pw->pw_dir;
  return "/";
}

bool IsDir(const std::string& P) {
  struct stat S;
  return stat(P.c_str(), &S) == 0 && S_ISDIR(S.st_mode);
}

// An XDG user folder ("DESKTOP", "DOCUMENTS" …) from user-dirs.dirs; ""
// when it is not set there.
std::string XdgUserDir(const char* Which) {
  const std::string Home = HomeFolder();
  const char* Config = std::getenv("XDG_CONFIG_HOME");
  const std::string File = (Config && *Config ? std::string(Config) : Home + "/.config") + "/user-dirs.dirs";
  std::ifstream In(File);
  const std::string Key = std::string("XDG_") + Which + "_DIR=";
  std::string Line;
  while (std::getline(In, Line)) {
    if (Line.compare(0, Key.size(), Key) != 0) continue;
    std::string V = Line.substr(Key.size());
    if (V.size() >= 2 && V.front() == '"' && V.back() == '"') V = V.substr(1, V.size() - 2);
    if (V.compare(0, 5, "$HOME") == 0) V = Home + V.substr(5);
    if (!V.empty() && V[0] == '/') return V;
  }
  return "";
}

// Mount points as /proc/self/mounts writes them (\040 for a space).
std::string UnescapeMount(const std::string& S) {
  std::string Out;
  for (std::size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '\\' && I + 3 < S.size() && std::isdigit(Byte(S[I + 1])) && std::isdigit(Byte(S[I + 2])) &&
        std::isdigit(Byte(S[I + 3]))) {
      Out.push_back(char((S[I + 1] - '0') * 64 + (S[I + 2] - '0') * 8 + (S[I + 3] - '0')));
      I += 3;
    } else {
      Out.push_back(S[I]);
    }
  }
  return Out;
}

std::vector<std::string> MountedVolumes() {
  std::vector<std::string> Out;
  std::ifstream In("/proc/self/mounts");
  std::string Dev, Dir, Rest;
  while (In >> Dev >> Dir && std::getline(In, Rest)) {
    Dir = UnescapeMount(Dir);
    for (const char* Root : {"/media/", "/run/media/", "/mnt/"})
      if (Dir.compare(0, std::strlen(Root), Root) == 0 && Dir.size() > std::strlen(Root) &&
          std::find(Out.begin(), Out.end(), Dir) == Out.end())
        Out.push_back(Dir);
  }
  return Out;
}

}  // namespace

TShellPlaces ShellPlaces() {
  {
    std::lock_guard<std::mutex> L(PlacesLock);
    if (PinnedPlaces) return *PinnedPlaces;
  }
  TShellPlaces P;
  P.Home = HomeFolder();
  std::string Desk = XdgUserDir("DESKTOP");
  if (Desk.empty()) Desk = P.Home + "/Desktop";
  if (Desk != P.Home && IsDir(Desk)) P.Desktop = Desk;
  P.Volumes = MountedVolumes();
  return P;
}

void SetShellPlacesForTest(const TShellPlaces* Places) {
  std::lock_guard<std::mutex> L(PlacesLock);
  PinnedPlaces = Places ? std::make_unique<TShellPlaces>(*Places) : nullptr;
}

namespace {

std::vector<TShellItem> PlaceItems() {
  const TShellPlaces P = ShellPlaces();
  std::vector<TShellItem> Out;
  if (!P.Desktop.empty()) Out.push_back({TItemKind::DesktopPlace, P.Desktop});
  Out.push_back({TItemKind::HomePlace, P.Home});
  Out.push_back({TItemKind::RootPlace, "/"});
  for (const std::string& V : P.Volumes) Out.push_back({TItemKind::VolumePlace, V});
  return Out;
}

// "/a/./b//c/../d" -> "/a/b/d"; "" for a relative path.
std::string NormalisePath(const std::string& Path) {
  if (Path.empty() || Path[0] != '/') return "";
  std::vector<std::string> Parts;
  std::size_t At = 0;
  while (At <= Path.size()) {
    std::size_t End = Path.find('/', At);
    if (End == std::string::npos) End = Path.size();
    const std::string Part = Path.substr(At, End - At);
    if (Part == "..") {
      if (!Parts.empty()) Parts.pop_back();
    } else if (!Part.empty() && Part != ".") {
      Parts.push_back(Part);
    }
    At = End + 1;
  }
  std::string Out;
  for (const std::string& P : Parts) Out += "/" + P;
  return Out.empty() ? "/" : Out;
}

// Whether Path lies in Folder (or is it); Rest gets what follows.
bool Within(const std::string& Folder, const std::string& Path, std::string& Rest) {
  if (Folder == "/") {
    Rest = Path.substr(1);
    return true;
  }
  if (Path.compare(0, Folder.size(), Folder) != 0) return false;
  if (Path.size() == Folder.size()) {
    Rest.clear();
    return true;
  }
  if (Path[Folder.size()] != '/') return false;
  Rest = Path.substr(Folder.size() + 1);
  return true;
}

}  // namespace

std::optional<std::vector<TShellItem>> ItemsOfPath(const std::string& RawPath) {
  const std::string Path = NormalisePath(RawPath);
  if (Path.empty()) return std::nullopt;
  struct stat S;
  if (lstat(Path.c_str(), &S) != 0) return std::nullopt;
  // The place that holds the path most closely.
  const TShellItem* Best = nullptr;
  std::string BestRest;
  const std::vector<TShellItem> Places = PlaceItems();
  for (const TShellItem& P : Places) {
    std::string Rest;
    if (Within(P.Name, Path, Rest) && (!Best || P.Name.size() > Best->Name.size())) {
      Best = &P;
      BestRest = Rest;
    }
  }
  if (!Best) return std::nullopt;
  std::vector<TShellItem> Items{*Best};
  std::string Walk = Best->Name;
  std::size_t At = 0;
  while (At < BestRest.size()) {
    std::size_t End = BestRest.find('/', At);
    if (End == std::string::npos) End = BestRest.size();
    const std::string Name = BestRest.substr(At, End - At);
    if (Walk.back() != '/') Walk += '/';
    Walk += Name;
    Items.push_back({IsDir(Walk) ? TItemKind::Folder : TItemKind::File, Name});
    At = End + 1;
  }
  return Items;
}

std::string ItemLabel(const TShellItem& Item) {
  switch (Item.Kind) {
    case TItemKind::HomePlace: return "Home";
    case TItemKind::RootPlace: return "File System";
    case TItemKind::DesktopPlace:
    case TItemKind::VolumePlace: {
      const std::size_t Slash = Item.Name.find_last_of('/');
      return Slash == std::string::npos ? Item.Name : Item.Name.substr(Slash + 1);
    }
    default: return Item.Name;
  }
}

// --- the IL helpers ------------------------------------------------------------------------------------

namespace {
// Items are packed: an item's size field sits at any address, so it is
// read as bytes.
std::size_t ItemSize(LPCITEMIDLIST P) { return ByteOrder::ReadLE16(ListBytes(P)); }
}  // namespace

UINT ILGetSize(LPCITEMIDLIST Pidl) { return UINT(SafeSize(Pidl)); }

LPITEMIDLIST ILGetNext(LPCITEMIDLIST Pidl) {
  if (!Pidl || ItemSize(Pidl) == 0) return nullptr;
  auto* Next = reinterpret_cast<LPITEMIDLIST>(const_cast<Byte*>(ListBytes(Pidl)) + ItemSize(Pidl));
  return Next;
}

bool ILIsEmpty(LPCITEMIDLIST Pidl) { return !Pidl || ItemSize(Pidl) == 0; }

LPITEMIDLIST ILClone(LPCITEMIDLIST Pidl) {
  const std::size_t Size = SafeSize(Pidl);
  if (!Size) return nullptr;
  void* P = CoTaskMemAlloc(Size);
  if (P) std::memcpy(P, Pidl, Size);
  return static_cast<LPITEMIDLIST>(P);
}

LPITEMIDLIST ILCloneFirst(LPCITEMIDLIST Pidl) {
  if (!SafeSize(Pidl)) return nullptr;
  const std::size_t First = ItemSize(Pidl);
  auto* P = static_cast<Byte*>(CoTaskMemAlloc(First + 2));
  if (!P) return nullptr;
  std::memcpy(P, Pidl, First);
  P[First] = P[First + 1] = 0;
  return reinterpret_cast<LPITEMIDLIST>(P);
}

LPITEMIDLIST ILCombine(LPCITEMIDLIST Parent, LPCITEMIDLIST Child) {
  if (!Parent && !Child) return nullptr;
  if (!Parent) return ILClone(Child);
  if (!Child) return ILClone(Parent);
  const std::size_t A = SafeSize(Parent), B = SafeSize(Child);
  if (!A || !B || A - 2 + B > ShellMaxIDListSize) return nullptr;
  auto* P = static_cast<Byte*>(CoTaskMemAlloc(A - 2 + B));
  if (!P) return nullptr;
  std::memcpy(P, Parent, A - 2);
  std::memcpy(P + A - 2, Child, B);
  return reinterpret_cast<LPITEMIDLIST>(P);
}

void ILFree(LPITEMIDLIST Pidl) { CoTaskMemFree(Pidl); }

LPITEMIDLIST ILFindLastID(LPCITEMIDLIST Pidl) {
  if (!SafeSize(Pidl)) return nullptr;
  LPCITEMIDLIST Last = Pidl;
  for (LPCITEMIDLIST P = Pidl; ItemSize(P); P = ILGetNext(P)) Last = P;
  return const_cast<LPITEMIDLIST>(Last);
}

BOOL ILRemoveLastID(LPITEMIDLIST Pidl) {
  if (ILIsEmpty(Pidl) || !SafeSize(Pidl)) return FALSE;
  LPITEMIDLIST Last = ILFindLastID(Pidl);
  std::memset(Last, 0, 2);  // the terminator, at whatever alignment
  return TRUE;
}

BOOL ILIsEqual(LPCITEMIDLIST A, LPCITEMIDLIST B) {
  const std::size_t SA = SafeSize(A), SB = SafeSize(B);
  return SA && SA == SB && std::memcmp(A, B, SA) == 0;
}

LPITEMIDLIST ILFindChild(LPCITEMIDLIST Parent, LPCITEMIDLIST Child) {
  const std::size_t SP = SafeSize(Parent), SC = SafeSize(Child);
  if (!SP || !SC || SP > SC) return nullptr;
  // The parent's items must be whole items of the child.
  LPCITEMIDLIST C = Child;
  for (LPCITEMIDLIST P = Parent; ItemSize(P); P = ILGetNext(P), C = ILGetNext(C))
    if (ItemSize(C) != ItemSize(P) || std::memcmp(C, P, ItemSize(P)) != 0) return nullptr;
  return const_cast<LPITEMIDLIST>(C);
}

BOOL ILIsParent(LPCITEMIDLIST Parent, LPCITEMIDLIST Child, BOOL Immediate) {
  LPCITEMIDLIST Rest = ILFindChild(Parent, Child);
  if (!Rest) return FALSE;
  if (!Immediate) return TRUE;
  return ItemSize(Rest) && ItemSize(ILGetNext(Rest)) == 0;
}

LPITEMIDLIST ILCreateFromPathA(const char* Path) {
  if (!Path) return nullptr;
  auto Items = ItemsOfPath(Path);
  return Items ? MakeIDList(*Items) : nullptr;
}

std::string IDListToBytes(LPCITEMIDLIST Pidl) {
  const std::size_t Size = SafeSize(Pidl);
  return Size ? std::string(reinterpret_cast<const char*>(Pidl), Size) : std::string();
}

LPITEMIDLIST IDListFromBytes(const std::string& Bytes) {
  const std::size_t Size = BoundedIDListSize(Bytes.data(), Bytes.size());
  if (!Size) return nullptr;
  void* P = CoTaskMemAlloc(Size);
  if (P) std::memcpy(P, Bytes.data(), Size);
  return static_cast<LPITEMIDLIST>(P);
}

// --- names ----------------------------------------------------------------------------------------------

WideString PathToWide(const std::string& Path) {
  WideString Out;
  const auto* B = reinterpret_cast<const Byte*>(Path.data());
  const std::size_t N = Path.size();
  std::size_t I = 0;
  while (I < N) {
    const Byte C = B[I];
    std::uint32_t Cp = 0;
    std::size_t Len = 0;
    if (C < 0x80) {
      Cp = C;
      Len = 1;
    } else if ((C & 0xE0) == 0xC0) {
      Cp = C & 0x1F;
      Len = 2;
    } else if ((C & 0xF0) == 0xE0) {
      Cp = C & 0x0F;
      Len = 3;
    } else if ((C & 0xF8) == 0xF0) {
      Cp = C & 0x07;
      Len = 4;
    }
    bool Ok = Len > 0 && I + Len <= N;
    for (std::size_t K = 1; Ok && K < Len; ++K) {
      if ((B[I + K] & 0xC0) != 0x80) Ok = false;
      else Cp = Cp << 6 | (B[I + K] & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not UTF-8.
    static const std::uint32_t Min[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (Ok && (Cp < Min[Len] || Cp > 0x10FFFF || (Cp >= 0xD800 && Cp <= 0xDFFF))) Ok = false;
    if (!Ok) {
      Out.push_back(char16_t(0xDC00 + C));
      ++I;
      continue;
    }
    if (Cp >= 0x10000) {
      Cp -= 0x10000;
      Out.push_back(char16_t(0xD800 + (Cp >> 10)));
      Out.push_back(char16_t(0xDC00 + (Cp & 0x3FF)));
    } else {
      Out.push_back(char16_t(Cp));
    }
    I += Len;
  }
  return Out;
}

std::string WideToPath(std::u16string_view W) {
  std::string Out;
  for (std::size_t I = 0; I < W.size(); ++I) {
    std::uint32_t Cp = W[I];
    if (Cp >= 0xDC80 && Cp <= 0xDCFF) {
      Out.push_back(char(Cp - 0xDC00));
      continue;
    }
    if (Cp >= 0xD800 && Cp <= 0xDBFF && I + 1 < W.size() && W[I + 1] >= 0xDC00 && W[I + 1] <= 0xDFFF) {
      Cp = 0x10000 + ((Cp - 0xD800) << 10) + (W[I + 1] - 0xDC00);
      ++I;
    } else if (Cp >= 0xD800 && Cp <= 0xDFFF) {
      Cp = 0xFFFD;
    }
    if (Cp < 0x80) {
      Out.push_back(char(Cp));
    } else if (Cp < 0x800) {
      Out.push_back(char(0xC0 | (Cp >> 6)));
      Out.push_back(char(0x80 | (Cp & 0x3F)));
    } else if (Cp < 0x10000) {
      Out.push_back(char(0xE0 | (Cp >> 12)));
      Out.push_back(char(0x80 | ((Cp >> 6) & 0x3F)));
      Out.push_back(char(0x80 | (Cp & 0x3F)));
    } else {
      Out.push_back(char(0xF0 | (Cp >> 18)));
      Out.push_back(char(0x80 | ((Cp >> 12) & 0x3F)));
      Out.push_back(char(0x80 | ((Cp >> 6) & 0x3F)));
      Out.push_back(char(0x80 | (Cp & 0x3F)));
    }
  }
  return Out;
}

namespace {

void SetStrRet(STRRET* R, const std::string& Bytes) {
  const WideString W = PathToWide(Bytes);
  auto* P = static_cast<char16_t*>(CoTaskMemAlloc((W.size() + 1) * sizeof(char16_t)));
  if (!P) {
    R->uType = STRRET_CSTR;
    R->cStr[0] = 0;
    return;
  }
  std::copy(W.begin(), W.end(), P);
  P[W.size()] = 0;
  R->uType = STRRET_WSTR;
  R->pOleStr = P;
}

std::u16string_view WideView(const char16_t* S) {
  if (!S) return {};
  std::size_t N = 0;
  while (S[N]) ++N;
  return {S, N};
}

bool StrRetBytes(STRRET* Str, LPCITEMIDLIST Item, std::string& Out) {
  if (!Str) return false;
  switch (Str->uType) {
    case STRRET_WSTR:
      Out = WideToPath(WideView(Str->pOleStr));
      CoTaskMemFree(Str->pOleStr);
      Str->pOleStr = nullptr;
      Str->uType = STRRET_CSTR;
      Str->cStr[0] = 0;
      return true;
    case STRRET_CSTR: Out.assign(Str->cStr, strnlen(Str->cStr, sizeof Str->cStr)); return true;
    case STRRET_OFFSET: {
      const std::size_t Size = SafeSize(Item);
      if (!Size || Str->uOffset >= Size) return false;
      const char* S = reinterpret_cast<const char*>(Item) + Str->uOffset;
      Out.assign(S, strnlen(S, Size - Str->uOffset));
      return true;
    }
    default: return false;
  }
}

}  // namespace

HRESULT StrRetToStrA(STRRET* Str, LPCITEMIDLIST Item, char** Out) {
  if (!Out) return E_INVALIDARG;
  *Out = nullptr;
  std::string S;
  if (!StrRetBytes(Str, Item, S)) return E_FAIL;
  auto* P = static_cast<char*>(CoTaskMemAlloc(S.size() + 1));
  if (!P) return E_OUTOFMEMORY;
  std::memcpy(P, S.c_str(), S.size() + 1);
  *Out = P;
  return S_OK;
}

HRESULT StrRetToBufA(STRRET* Str, LPCITEMIDLIST Item, char* Buffer, UINT Size) {
  if (!Buffer || !Size) return E_INVALIDARG;
  std::string S;
  if (!StrRetBytes(Str, Item, S)) {
    Buffer[0] = 0;
    return E_FAIL;
  }
  const std::size_t N = std::min<std::size_t>(S.size(), Size - 1);
  std::memcpy(Buffer, S.data(), N);
  Buffer[N] = 0;
  return S_OK;
}

// --- folders ---------------------------------------------------------------------------------------

namespace {

class TEnumIDList : public TInterfacedObject, public IEnumIDList {
public:
  explicit TEnumIDList(std::vector<TShellItem> Items, std::size_t At = 0) : FItems(std::move(Items)), FAt(At) {}
  HRESULT Next(ULONG Count, LPITEMIDLIST* Out, ULONG* Fetched) override {
    if (!Out) return E_POINTER;
    ULONG N = 0;
    while (N < Count && FAt < FItems.size()) Out[N++] = MakeIDList({FItems[FAt++]});
    if (Fetched) *Fetched = N;
    return N == Count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG Count) override {
    const std::size_t Left = FItems.size() - FAt;
    FAt += std::min<std::size_t>(Count, Left);
    return Count <= Left ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    FAt = 0;
    return S_OK;
  }
  HRESULT Clone(IEnumIDList** Enum) override {
    if (!Enum) return E_POINTER;
    auto* E = new TEnumIDList(FItems, FAt);
    E->_AddRef();
    *Enum = E;
    return S_OK;
  }

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override {
    return OfferInterface<IEnumIDList>(this, IID, Obj) || TInterfacedObject::GetInterface(IID, Obj);
  }

private:
  std::vector<TShellItem> FItems;
  std::size_t FAt;
};

int CompareNoCase(const std::string& A, const std::string& B) {
  const std::size_t N = std::min(A.size(), B.size());
  for (std::size_t I = 0; I < N; ++I) {
    const int CA = std::tolower(Byte(A[I])), CB = std::tolower(Byte(B[I]));
    if (CA != CB) return CA < CB ? -1 : 1;
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

ULONG AttributesOfPath(const std::string& Path, ULONG Wanted, bool& Exists) {
  struct stat L, S;
  Exists = lstat(Path.c_str(), &L) == 0;
  if (!Exists) return 0;
  const bool Link = S_ISLNK(L.st_mode);
  // A link that loops or points nowhere is an item of its own, not a folder.
  const bool Resolved = !Link || stat(Path.c_str(), &S) == 0;
  if (!Link) S = L;
  ULONG A = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_FILESYSTEM;
  if (Link) A |= SFGAO_LINK;
  const std::size_t Slash = Path.find_last_of('/');
  if (Slash != std::string::npos && Slash + 1 < Path.size() && Path[Slash + 1] == '.') A |= SFGAO_HIDDEN;
  if (Resolved && S_ISDIR(S.st_mode)) {
    A |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_DROPTARGET;
    if (Wanted & SFGAO_HASSUBFOLDER) {
      // Enough to draw an expand button: stop at the first sub-folder, and
      // after a bounded look assume there may be one.
      if (DIR* D = opendir(Path.c_str())) {
        int Looked = 0;
        while (dirent* E = readdir(D)) {
          if (E->d_name[0] == '.' && (!E->d_name[1] || (E->d_name[1] == '.' && !E->d_name[2]))) continue;
          if (++Looked > 4096) {
            A |= SFGAO_HASSUBFOLDER;
            break;
          }
          if (E->d_type == DT_DIR) {
            A |= SFGAO_HASSUBFOLDER;
            break;
          }
          if (E->d_type == DT_LNK || E->d_type == DT_UNKNOWN) {
            struct stat C;
            if (stat((Path + "/" + E->d_name).c_str(), &C) == 0 && S_ISDIR(C.st_mode)) {
              A |= SFGAO_HASSUBFOLDER;
              break;
            }
          }
        }
        closedir(D);
      }
    }
  } else {
    A |= SFGAO_STREAM;
  }
  if (access(Path.c_str(), W_OK) != 0) A |= SFGAO_READONLY;
  return A;
}

class TShellFolderImpl : public TInterfacedObject, public IShellFolder {
public:
  // Items: the folder's absolute items (empty for the desktop).
  explicit TShellFolderImpl(std::vector<TShellItem> Items) : FItems(std::move(Items)) {
    if (!FItems.empty()) FPath = PathOfItems(FItems).value_or("");
  }
  bool IsDesktop() const { return FItems.empty(); }

  HRESULT ParseDisplayName(HWND, void*, const char16_t* Name, ULONG* Eaten, LPITEMIDLIST* Pidl,
                           ULONG* Attributes) override {
    if (!Pidl) return E_POINTER;
    *Pidl = nullptr;
    if (!Name) return E_INVALIDARG;
    const std::string Text = WideToPath(WideView(Name));
    std::string Full;
    if (IsDesktop()) {
      if (Text.empty() || Text[0] != '/') return E_INVALIDARG;
      Full = Text;
    } else {
      if (Text.empty()) return E_INVALIDARG;
      Full = Text[0] == '/' ? Text : FPath + (FPath == "/" ? "" : "/") + Text;
    }
    auto Items = ItemsOfPath(Full);
    if (!Items) return HRESULT_FILE_NOT_FOUND;
    std::vector<TShellItem> Rel;
    if (IsDesktop()) {
      Rel = *Items;
    } else {
      // Relative to this folder: the path must lie below it.
      std::string Rest;
      if (!Within(FPath, NormalisePath(Full), Rest) || Rest.empty()) return E_INVALIDARG;
      std::string Walk = FPath;
      std::size_t At = 0;
      while (At < Rest.size()) {
        std::size_t End = Rest.find('/', At);
        if (End == std::string::npos) End = Rest.size();
        const std::string N = Rest.substr(At, End - At);
        Walk += (Walk == "/" ? "" : "/") + N;
        Rel.push_back({IsDir(Walk) ? TItemKind::Folder : TItemKind::File, N});
        At = End + 1;
      }
    }
    *Pidl = MakeIDList(Rel);
    if (!*Pidl) return E_OUTOFMEMORY;
    if (Eaten) *Eaten = ULONG(WideView(Name).size());
    if (Attributes) {
      bool Exists = false;
      *Attributes &= AttributesOfPath(NormalisePath(Full), *Attributes, Exists);
    }
    return S_OK;
  }

  HRESULT EnumObjects(HWND, DWORD Flags, IEnumIDList** Enum) override {
    if (!Enum) return E_POINTER;
    *Enum = nullptr;
    std::vector<TShellItem> Items;
    if (IsDesktop()) {
      if (Flags & SHCONTF_FOLDERS) Items = PlaceItems();
    } else {
      if (FPath.empty()) return S_FALSE;
      DIR* D = opendir(FPath.c_str());
      if (!D) return S_FALSE;  // gone or unreadable: nothing to list
      const std::string Base = FPath == "/" ? "" : FPath;
      while (dirent* E = readdir(D)) {
        const std::string N = E->d_name;
        if (N == "." || N == "..") continue;
        if (N[0] == '.' && !(Flags & SHCONTF_INCLUDEHIDDEN)) continue;
        bool Folder = E->d_type == DT_DIR;
        if (E->d_type == DT_LNK || E->d_type == DT_UNKNOWN) {
          struct stat S;
          const std::string P = Base + "/" + N;
          if (stat(P.c_str(), &S) == 0) Folder = S_ISDIR(S.st_mode);
          else if (E->d_type == DT_UNKNOWN && lstat(P.c_str(), &S) != 0)
            continue;  // vanished since it was listed
        }
        if (Folder ? !(Flags & SHCONTF_FOLDERS) : !(Flags & SHCONTF_NONFOLDERS)) continue;
        Items.push_back({Folder ? TItemKind::Folder : TItemKind::File, N});
      }
      closedir(D);
    }
    auto* R = new TEnumIDList(std::move(Items));
    R->_AddRef();
    *Enum = R;
    return S_OK;
  }

  HRESULT BindToObject(LPCITEMIDLIST Pidl, void*, const TIID& Iid, void** Out) override {
    if (!Out) return E_POINTER;
    *Out = nullptr;
    auto Rel = SplitIDList(Pidl);
    if (!Rel || Rel->empty()) return E_INVALIDARG;
    std::vector<TShellItem> All = FItems;
    All.insert(All.end(), Rel->begin(), Rel->end());
    auto Path = PathOfItems(All);
    if (!Path) return E_INVALIDARG;
    if (!IsDir(*Path)) return HRESULT_PATH_NOT_FOUND;
    auto* F = new TShellFolderImpl(std::move(All));
    TIntfPtr<IShellFolder> Hold(F);
    return F->QueryInterface(Iid, Out);
  }

  HRESULT BindToStorage(LPCITEMIDLIST, void*, const TIID&, void** Out) override {
    if (Out) *Out = nullptr;
    return E_NOTIMPL;
  }

  HRESULT CompareIDs(LPARAM, LPCITEMIDLIST A, LPCITEMIDLIST B) override {
    auto IA = SplitIDList(A), IB = SplitIDList(B);
    if (!IA || !IB) return E_INVALIDARG;
    int R = 0;
    const std::size_t N = std::min(IA->size(), IB->size());
    for (std::size_t I = 0; I < N && R == 0; ++I) {
      const TShellItem &X = (*IA)[I], &Y = (*IB)[I];
      if (X.IsPlace() || Y.IsPlace()) {
        // Places keep the desktop's own order.
        R = X.Kind == Y.Kind ? X.Name.compare(Y.Name) : (X.Kind < Y.Kind ? -1 : 1);
      } else if (X.IsFolderLike() != Y.IsFolderLike()) {
        R = X.IsFolderLike() ? -1 : 1;
      } else {
        R = CompareNoCase(X.Name, Y.Name);
        if (R == 0) R = X.Name.compare(Y.Name);
      }
      R = R < 0 ? -1 : (R > 0 ? 1 : 0);
    }
    if (R == 0 && IA->size() != IB->size()) R = IA->size() < IB->size() ? -1 : 1;
    return HRESULT(std::uint16_t(std::int16_t(R)));
  }

  HRESULT CreateViewObject(HWND, const TIID&, void** Out) override {
    if (Out) *Out = nullptr;
    return E_NOTIMPL;
  }

  HRESULT GetAttributesOf(UINT Count, LPCITEMIDLIST* Items, ULONG* InOut) override {
    if (!InOut) return E_POINTER;
    const ULONG Wanted = *InOut;
    if (Count == 0 || !Items) {
      // The folder itself.
      *InOut &= SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR | (IsDesktop() ? 0 : SFGAO_FILESYSTEM);
      return S_OK;
    }
    ULONG All = ~ULONG(0);
    for (UINT I = 0; I < Count; ++I) {
      auto Rel = SplitIDList(Items[I]);
      if (!Rel || Rel->empty()) return E_INVALIDARG;
      std::vector<TShellItem> Abs = FItems;
      Abs.insert(Abs.end(), Rel->begin(), Rel->end());
      auto Path = PathOfItems(Abs);
      if (!Path) return E_INVALIDARG;
      bool Exists = false;
      ULONG A = AttributesOfPath(*Path, Wanted, Exists);
      if (!Exists) {
        if (Wanted & SFGAO_VALIDATE) return E_FAIL;
        A = 0;
      }
      if (Abs.size() == 1 && Abs[0].IsPlace()) {
        A |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER;
        A &= ~(SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANMOVE | SFGAO_HIDDEN);
        if (Abs[0].Kind == TItemKind::VolumePlace) A |= SFGAO_REMOVABLE;
      }
      All &= A;
    }
    *InOut = Wanted & All & ~SFGAO_VALIDATE;
    return S_OK;
  }

  HRESULT GetUIObjectOf(HWND, UINT Count, LPCITEMIDLIST* Items, const TIID& Iid, UINT*, void** Out) override {
    if (!Out) return E_POINTER;
    *Out = nullptr;
    if (!(Iid == IDataObject::IID())) return E_NOINTERFACE;
    if (!Count || !Items) return E_INVALIDARG;
    std::vector<std::string> Paths;
    for (UINT I = 0; I < Count; ++I) {
      auto Rel = SplitIDList(Items[I]);
      if (!Rel || Rel->empty()) return E_INVALIDARG;
      std::vector<TShellItem> Abs = FItems;
      Abs.insert(Abs.end(), Rel->begin(), Rel->end());
      auto Path = PathOfItems(Abs);
      if (!Path) return E_INVALIDARG;
      Paths.push_back(*Path);
    }
    TIntfPtr<IDataObject> D = CreateShellDataObject(Paths);
    if (!D) return E_FAIL;
    *Out = D.Get();
    D->_AddRef();
    return S_OK;
  }

  HRESULT GetDisplayNameOf(LPCITEMIDLIST Pidl, DWORD Flags, STRRET* Name) override {
    if (!Name) return E_POINTER;
    auto Rel = SplitIDList(Pidl);
    if (!Rel) return E_INVALIDARG;
    std::vector<TShellItem> Abs = FItems;
    Abs.insert(Abs.end(), Rel->begin(), Rel->end());
    if (Abs.empty()) {
      SetStrRet(Name, (Flags & SHGDN_FORPARSING) ? "" : "Desktop");
      return S_OK;
    }
    const TShellItem& Last = Abs.back();
    if (Flags & SHGDN_FORPARSING) {
      if (Flags & SHGDN_INFOLDER) {
        SetStrRet(Name, Last.Name);
      } else {
        auto Path = PathOfItems(Abs);
        if (!Path) return E_INVALIDARG;
        SetStrRet(Name, *Path);
      }
    } else {
      SetStrRet(Name, ItemLabel(Last));
    }
    return S_OK;
  }

  HRESULT SetNameOf(HWND, LPCITEMIDLIST, const char16_t*, DWORD, LPITEMIDLIST* Out) override {
    if (Out) *Out = nullptr;
    return E_NOTIMPL;
  }

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override {
    return OfferInterface<IShellFolder>(this, IID, Obj) || TInterfacedObject::GetInterface(IID, Obj);
  }

private:
  std::vector<TShellItem> FItems;
  std::string FPath;
};

}  // namespace

HRESULT SHGetDesktopFolder(IShellFolder** Folder) {
  if (!Folder) return E_INVALIDARG;
  auto* F = new TShellFolderImpl({});
  F->_AddRef();
  *Folder = F;
  return S_OK;
}

HRESULT SHGetMalloc(IMalloc** Malloc) { return CoGetMalloc(1, Malloc); }

std::string ShellPathOfIDList(LPCITEMIDLIST Pidl) {
  auto Items = SplitIDList(Pidl);
  if (!Items) return "";
  return PathOfItems(*Items).value_or("");
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST Pidl, char* Path) {
  if (!Path) return FALSE;
  Path[0] = 0;
  const std::string P = ShellPathOfIDList(Pidl);
  if (P.empty() || P.size() >= MAX_PATH) return FALSE;
  std::memcpy(Path, P.c_str(), P.size() + 1);
  return TRUE;
}

namespace {

std::string SpecialFolderPath(int Folder) {
  const std::string Home = HomeFolder();
  auto Xdg = [&](const char* Which) {
    const std::string D = XdgUserDir(Which);
    return D.empty() ? Home : D;
  };
  auto EnvOr = [&](const char* Var, const std::string& Default) {
    const char* V = std::getenv(Var);
    return V && *V == '/' ? std::string(V) : Default;
  };
  switch (Folder & 0xFF) {
    case CSIDL_DESKTOPDIRECTORY: {
      const std::string D = XdgUserDir("DESKTOP");
      return D.empty() ? Home + "/Desktop" : D;
    }
    case CSIDL_PERSONAL: return Xdg("DOCUMENTS");
    case CSIDL_TEMPLATES: return Xdg("TEMPLATES");
    case CSIDL_MYPICTURES: return Xdg("PICTURES");
    case CSIDL_PROFILE: return Home;
    case CSIDL_APPDATA: return EnvOr("XDG_CONFIG_HOME", Home + "/.config");
    case CSIDL_LOCAL_APPDATA: return EnvOr("XDG_DATA_HOME", Home + "/.local/share");
    case CSIDL_FONTS: return EnvOr("XDG_DATA_HOME", Home + "/.local/share") + "/fonts";
    case CSIDL_DRIVES: return "/";
    default: return "";
  }
}

}  // namespace

HRESULT SHGetSpecialFolderLocation(HWND, int Folder, LPITEMIDLIST* Pidl) {
  if (!Pidl) return E_INVALIDARG;
  *Pidl = nullptr;
  if ((Folder & 0xFF) == CSIDL_DESKTOP) {
    *Pidl = MakeIDList({});
    return *Pidl ? S_OK : E_OUTOFMEMORY;
  }
  const std::string P = SpecialFolderPath(Folder);
  if (P.empty()) return E_INVALIDARG;
  if ((Folder & CSIDL_FLAG_CREATE) && !IsDir(P)) ForceDirectories(P);
  auto Items = ItemsOfPath(P);
  if (!Items) return HRESULT_FILE_NOT_FOUND;
  *Pidl = MakeIDList(*Items);
  return *Pidl ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetSpecialFolderPathA(HWND, char* Path, int Folder, BOOL Create) {
  if (!Path) return FALSE;
  Path[0] = 0;
  const std::string P = SpecialFolderPath(Folder);
  if (P.empty() || P.size() >= MAX_PATH) return FALSE;
  if (Create && !IsDir(P)) ForceDirectories(P);
  if (!IsDir(P)) return FALSE;
  std::memcpy(Path, P.c_str(), P.size() + 1);
  return TRUE;
}

void RegisterShellLibraryModule() {
  // The export numbers of the IL helpers are the ones programs bind by.
  RegisterLibraryModule(
      "shell32.dll",
      {ModuleEntry("ILFindLastID", &ILFindLastID, 16), ModuleEntry("ILRemoveLastID", &ILRemoveLastID, 17),
       ModuleEntry("ILClone", &ILClone, 18), ModuleEntry("ILCloneFirst", &ILCloneFirst, 19),
       ModuleEntry("ILIsEqual", &ILIsEqual, 21), ModuleEntry("ILIsParent", &ILIsParent, 23),
       ModuleEntry("ILFindChild", &ILFindChild, 24), ModuleEntry("ILCombine", &ILCombine, 25),
       ModuleEntry("ILGetSize", &ILGetSize, 152), ModuleEntry("ILGetNext", &ILGetNext, 153),
       ModuleEntry("ILFree", &ILFree, 155), ModuleEntry("ILCreateFromPathA", &ILCreateFromPathA, 189),
       ModuleEntry("SHGetDesktopFolder", &SHGetDesktopFolder), ModuleEntry("SHGetMalloc", &SHGetMalloc),
       ModuleEntry("SHGetPathFromIDListA", &SHGetPathFromIDListA),
       ModuleEntry("SHGetSpecialFolderLocation", &SHGetSpecialFolderLocation),
       ModuleEntry("SHGetSpecialFolderPathA", &SHGetSpecialFolderPathA)});
}
