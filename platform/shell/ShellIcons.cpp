#include "platform/shell/ShellIcons.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <unordered_map>

#include "platform/gdi/Dib.h"
#include "platform/gdi/ImageListHandles.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/shell/ShellItems_p.h"

namespace {

std::recursive_mutex& IconLock() {
  static std::recursive_mutex M;
  return M;
}

std::string Home() {
  const char* H = std::getenv("HOME");
  return H ? H : "";
}

// $XDG_DATA_HOME then $XDG_DATA_DIRS, as the freedesktop base directories.
std::vector<std::string> DataDirs() {
  std::vector<std::string> Out;
  const char* DataHome = std::getenv("XDG_DATA_HOME");
  Out.push_back(DataHome && *DataHome ? DataHome : Home() + "/.local/share");
  const char* Dirs = std::getenv("XDG_DATA_DIRS");
  std::stringstream S(Dirs && *Dirs ? Dirs : "/usr/local/share:/usr/share");
  std::string D;
  while (std::getline(S, D, ':'))
    if (!D.empty()) Out.push_back(D);
  return Out;
}

bool IsFile(const std::string& P) {
  struct stat S;
  return stat(P.c_str(), &S) == 0 && S_ISREG(S.st_mode);
}

std::string Lower(const std::string& S) {
  std::string R = S;
  for (char& C : R) C = char(std::tolower(Byte(C)));
  return R;
}

// --- the content-type database ------------------------------------------------------------------

struct TGlob {
  int Weight;
  std::string Mime;
  std::string Pattern;
  bool CaseSensitive;
};

struct TMimeDb {
  std::unordered_map<std::string, TGlob> Extensions;  // "*.rtf" by its lowered ending
  std::unordered_map<std::string, TGlob> Literals;
  std::vector<TGlob> Others;
  std::map<std::string, std::string> GenericIcons, Icons;
  std::map<std::string, std::string> Comments;  // filled as asked
  std::vector<std::string> MimeDirs;
};

void ReadPairs(const std::string& File, std::map<std::string, std::string>& Out) {
  std::ifstream In(File);
  std::string Line;
  while (std::getline(In, Line)) {
    const std::size_t C = Line.find(':');
    if (Line.empty() || Line[0] == '#' || C == std::string::npos) continue;
    Out.emplace(Line.substr(0, C), Line.substr(C + 1));
  }
}

TMimeDb& MimeDb() {
  static TMimeDb Db = [] {
    TMimeDb D;
    // The earlier folders win, as the base-directory rules say.
    for (const std::string& Dir : DataDirs()) {
      const std::string M = Dir + "/mime";
      if (!IsFile(M + "/globs2")) continue;
      D.MimeDirs.push_back(M);
      std::ifstream In(M + "/globs2");
      std::string Line;
      while (std::getline(In, Line)) {
        if (Line.empty() || Line[0] == '#') continue;
        std::vector<std::string> F;
        std::stringstream S(Line);
        std::string Part;
        while (std::getline(S, Part, ':')) F.push_back(Part);
        if (F.size() < 3) continue;
        TGlob G{std::atoi(F[0].c_str()), F[1], F[2], F.size() > 3 && F[3].find("cs") != std::string::npos};
        const std::string& P = G.Pattern;
        if (P.size() > 2 && P[0] == '*' && P[1] == '.' && P.find_first_of("*?[", 2) == std::string::npos) {
          const std::string Key = G.CaseSensitive ? P.substr(1) : Lower(P.substr(1));
          auto It = D.Extensions.find(Key);
          if (It == D.Extensions.end() || It->second.Weight < G.Weight) D.Extensions[Key] = G;
        } else if (P.find_first_of("*?[") == std::string::npos) {
          D.Literals.emplace(G.CaseSensitive ? P : Lower(P), G);
        } else {
          D.Others.push_back(G);
        }
      }
      ReadPairs(M + "/generic-icons", D.GenericIcons);
      ReadPairs(M + "/icons", D.Icons);
    }
    return D;
  }();
  return Db;
}

}  // namespace

std::string MimeTypeOfName(const std::string& FileName) {
  std::lock_guard<std::recursive_mutex> L(IconLock());
  TMimeDb& D = MimeDb();
  const std::size_t Slash = FileName.find_last_of('/');
  const std::string Name = Slash == std::string::npos ? FileName : FileName.substr(Slash + 1);
  const std::string Lo = Lower(Name);
  if (auto It = D.Literals.find(Lo); It != D.Literals.end()) return It->second.Mime;
  // The longest ending first ("a.tar.gz" is a gzip'd tar, not a gzip).
  const TGlob* Best = nullptr;
  for (std::size_t Dot = Name.find('.'); Dot != std::string::npos; Dot = Name.find('.', Dot + 1)) {
    auto Cs = D.Extensions.find(Name.substr(Dot));
    if (Cs != D.Extensions.end() && Cs->second.CaseSensitive) {
      Best = &Cs->second;
      break;
    }
    auto It = D.Extensions.find(Lo.substr(Dot));
    if (It != D.Extensions.end() && !It->second.CaseSensitive) {
      Best = &It->second;
      break;
    }
  }
  if (Best) return Best->Mime;
  int Weight = -1;
  std::string Mime;
  for (const TGlob& G : D.Others)
    if (G.Weight > Weight &&
        fnmatch(G.Pattern.c_str(), (G.CaseSensitive ? Name : Lo).c_str(), 0) == 0) {
      Weight = G.Weight;
      Mime = G.Mime;
    }
  return Mime.empty() ? "application/octet-stream" : Mime;
}

std::string MimeTypeComment(const std::string& MimeType) {
  std::lock_guard<std::recursive_mutex> L(IconLock());
  TMimeDb& D = MimeDb();
  if (auto It = D.Comments.find(MimeType); It != D.Comments.end()) return It->second;
  std::string Comment;
  if (MimeType.find("..") == std::string::npos && MimeType.find('/') != std::string::npos) {
    for (const std::string& Dir : D.MimeDirs) {
      std::ifstream In(Dir + "/" + MimeType + ".xml");
      if (!In) continue;
      std::stringstream S;
      S << In.rdbuf();
      const std::string X = S.str();
      // The untranslated description: a <comment> without xml:lang.
      const std::size_t At = X.find("<comment>");
      const std::size_t End = At == std::string::npos ? At : X.find("</comment>", At);
      if (End != std::string::npos) Comment = X.substr(At + 9, End - At - 9);
      break;
    }
  }
  D.Comments[MimeType] = Comment;
  return Comment;
}

std::vector<std::string> MimeIconNames(const std::string& MimeType) {
  std::lock_guard<std::recursive_mutex> L(IconLock());
  TMimeDb& D = MimeDb();
  std::vector<std::string> Out;
  if (auto It = D.Icons.find(MimeType); It != D.Icons.end()) Out.push_back(It->second);
  std::string Own = MimeType;
  std::replace(Own.begin(), Own.end(), '/', '-');
  Out.push_back(Own);
  if (auto It = D.GenericIcons.find(MimeType); It != D.GenericIcons.end()) Out.push_back(It->second);
  else Out.push_back(MimeType.compare(0, 5, "text/") == 0 ? "text-x-generic" : "application-x-generic");
  Out.push_back("text-x-generic");
  return Out;
}

// --- icon themes ----------------------------------------------------------------------------------

namespace {

struct TThemeDir {
  std::string Path;  // relative to the theme folder
  int Size = 0, MinSize = 0, MaxSize = 0, Threshold = 2;
  enum { Fixed, Scalable, Threshold_ } Type = Threshold_;
};

struct TTheme {
  std::string Name;
  std::vector<std::string> Roots;  // the theme's folder under each base folder
  std::vector<TThemeDir> Dirs;
  std::vector<std::string> Inherits;
};

struct TThemeState {
  bool Pinned = false;
  TIconThemeSettings Settings;
  std::map<std::string, std::unique_ptr<TTheme>> Themes;  // loaded, by name ("" for missing)
  std::map<std::pair<std::string, int>, std::string> Found;
};

TThemeState& Themes() {
  static TThemeState S;
  return S;
}

std::vector<std::string> DefaultBaseDirs() {
  std::vector<std::string> Out{Home() + "/.icons"};
  for (const std::string& D : DataDirs()) Out.push_back(D + "/icons");
  Out.push_back("/usr/share/pixmaps");
  return Out;
}

// The theme the desktop's toolkit settings name, if any.
std::string SettingsThemeName() {
  const char* Config = std::getenv("XDG_CONFIG_HOME");
  const std::string Dir = Config && *Config ? Config : Home() + "/.config";
  for (const char* F : {"/gtk-3.0/settings.ini", "/gtk-4.0/settings.ini"}) {
    std::ifstream In(Dir + F);
    std::string Line;
    while (std::getline(In, Line)) {
      const std::string Key = "gtk-icon-theme-name";
      if (Line.compare(0, Key.size(), Key) != 0) continue;
      std::string V = Line.substr(Line.find('=') == std::string::npos ? Line.size() : Line.find('=') + 1);
      V.erase(0, V.find_first_not_of(" \t\""));
      V.erase(V.find_last_not_of(" \t\"") + 1);
      if (!V.empty()) return V;
    }
  }
  return "";
}

const TTheme* LoadTheme(const std::string& Name) {
  TThemeState& S = Themes();
  if (auto It = S.Themes.find(Name); It != S.Themes.end()) return It->second.get();
  auto T = std::make_unique<TTheme>();
  T->Name = Name;
  std::string Index;
  for (const std::string& Base : S.Settings.BaseDirs) {
    const std::string Root = Base + "/" + Name;
    struct stat St;
    if (stat(Root.c_str(), &St) != 0 || !S_ISDIR(St.st_mode)) continue;
    T->Roots.push_back(Root);
    if (Index.empty() && IsFile(Root + "/index.theme")) Index = Root + "/index.theme";
  }
  if (Index.empty()) {
    S.Themes[Name] = nullptr;
    return nullptr;
  }
  std::ifstream In(Index);
  std::string Line, Section;
  std::map<std::string, TThemeDir> Sections;
  std::vector<std::string> Order;
  while (std::getline(In, Line)) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    if (Line.empty() || Line[0] == '#') continue;
    if (Line[0] == '[') {
      Section = Line.substr(1, Line.find(']') == std::string::npos ? 0 : Line.find(']') - 1);
      continue;
    }
    const std::size_t Eq = Line.find('=');
    if (Eq == std::string::npos) continue;
    const std::string Key = Line.substr(0, Eq), Value = Line.substr(Eq + 1);
    if (Section == "Icon Theme") {
      if (Key == "Directories" || Key == "ScaledDirectories") {
        std::stringstream Ss(Value);
        std::string D;
        while (std::getline(Ss, D, ','))
          if (!D.empty() && Key == "Directories") Order.push_back(D);
      } else if (Key == "Inherits") {
        std::stringstream Ss(Value);
        std::string D;
        while (std::getline(Ss, D, ','))
          if (!D.empty()) T->Inherits.push_back(D);
      }
      continue;
    }
    TThemeDir& D = Sections[Section];
    const int N = std::atoi(Value.c_str());
    if (Key == "Size") D.Size = N;
    else if (Key == "MinSize") D.MinSize = N;
    else if (Key == "MaxSize") D.MaxSize = N;
    else if (Key == "Threshold") D.Threshold = N;
    else if (Key == "Scale" && N != 1) D.Size = -1;  // high-density copies: not ours
    else if (Key == "Type") D.Type = Value == "Fixed" ? TThemeDir::Fixed : Value == "Scalable" ? TThemeDir::Scalable : TThemeDir::Threshold_;
  }
  for (const std::string& Name2 : Order) {
    auto It = Sections.find(Name2);
    if (It == Sections.end() || It->second.Size <= 0) continue;
    TThemeDir D = It->second;
    D.Path = Name2;
    if (!D.MinSize) D.MinSize = D.Size;
    if (!D.MaxSize) D.MaxSize = D.Size;
    T->Dirs.push_back(D);
  }
  const TTheme* R = T.get();
  S.Themes[Name] = std::move(T);
  return R;
}

int DirDistance(const TThemeDir& D, int Size) {
  switch (D.Type) {
    case TThemeDir::Fixed: return std::abs(D.Size - Size);
    case TThemeDir::Scalable:
      if (Size < D.MinSize) return D.MinSize - Size;
      if (Size > D.MaxSize) return Size - D.MaxSize;
      return 0;
    default:
      if (Size < D.Size - D.Threshold) return D.MinSize - Size;
      if (Size > D.Size + D.Threshold) return Size - D.MaxSize;
      return 0;
  }
}

std::string LookupInTheme(const TTheme& T, const std::string& Name, int Size) {
  std::string Best;
  int BestDistance = 1 << 30;
  for (const TThemeDir& D : T.Dirs)
    for (const std::string& Root : T.Roots) {
      const std::string F = Root + "/" + D.Path + "/" + Name + ".png";
      const int Dist = DirDistance(D, Size);
      if (Dist >= BestDistance || !IsFile(F)) continue;
      Best = F;
      BestDistance = Dist;
      if (Dist == 0) return Best;
    }
  return Best;
}

std::string ThemeName() {
  TThemeState& S = Themes();
  if (!S.Settings.Theme.empty()) return S.Settings.Theme;
  for (const std::string& N : {SettingsThemeName(), std::string("Adwaita")})
    if (!N.empty() && LoadTheme(N)) return N;
  return "hicolor";
}

void EnsureSettings() {
  TThemeState& S = Themes();
  if (!S.Pinned && S.Settings.BaseDirs.empty()) S.Settings.BaseDirs = DefaultBaseDirs();
}

}  // namespace

std::string FindThemeIcon(const std::string& Name, int Size) {
  std::lock_guard<std::recursive_mutex> L(IconLock());
  if (Name.empty() || Name.find('/') != std::string::npos) return "";
  EnsureSettings();
  TThemeState& S = Themes();
  auto Key = std::make_pair(Name, Size);
  if (auto It = S.Found.find(Key); It != S.Found.end()) return It->second;
  std::string Result;
  // The theme, its parents (breadth first, each once), then hicolor.
  std::vector<std::string> Chain{ThemeName()};
  for (std::size_t I = 0; I < Chain.size() && I < 16; ++I)
    if (const TTheme* T = LoadTheme(Chain[I]))
      for (const std::string& P : T->Inherits)
        if (std::find(Chain.begin(), Chain.end(), P) == Chain.end()) Chain.push_back(P);
  if (std::find(Chain.begin(), Chain.end(), "hicolor") == Chain.end()) Chain.push_back("hicolor");
  for (const std::string& N : Chain) {
    const TTheme* T = LoadTheme(N);
    if (!T) continue;
    Result = LookupInTheme(*T, Name, Size);
    if (!Result.empty()) break;
  }
  if (Result.empty())
    for (const std::string& Base : S.Settings.BaseDirs)
      if (Base.size() >= 8 && Base.compare(Base.size() - 8, 8, "/pixmaps") == 0 && IsFile(Base + "/" + Name + ".png")) {
        Result = Base + "/" + Name + ".png";
        break;
      }
  S.Found[Key] = Result;
  return Result;
}

// --- the system image lists ------------------------------------------------------------------------

namespace {

enum class TBuiltin { Document, Generic, Folder, FolderOpen, Home, Drive };

TBuiltin BuiltinFor(const std::vector<std::string>& Names) {
  const std::string First = Names.empty() ? "" : Names.front();
  if (First == "folder-open") return TBuiltin::FolderOpen;
  if (First.find("folder") != std::string::npos || First == "user-desktop") return TBuiltin::Folder;
  if (First == "user-home") return TBuiltin::Home;
  if (First.compare(0, 5, "drive") == 0) return TBuiltin::Drive;
  for (const std::string& N : Names)
    if (N == "x-office-document" || N.compare(0, 5, "text-") == 0) return TBuiltin::Document;
  return TBuiltin::Generic;
}

// The built-in icons, drawn on a 16-unit grid at Scale pixels a unit, as
// 0xAARRGGBB pixels.
std::vector<std::uint32_t> DrawBuiltin(TBuiltin Kind, int Size) {
  std::vector<std::uint32_t> Px(std::size_t(Size) * Size, 0);
  const int K = Size / 16;
  auto Rect = [&](int L, int T, int R, int B, std::uint32_t C) {
    for (int Y = T * K; Y < B * K; ++Y)
      for (int X = L * K; X < R * K; ++X) Px[std::size_t(Y) * Size + X] = C;
  };
  constexpr std::uint32_t Edge = 0xFF505050, Paper = 0xFFFFFFFF, Ink = 0xFF7A8DA8;
  constexpr std::uint32_t Manila = 0xFFE8B84A, ManilaDark = 0xFFB8862A;
  switch (Kind) {
    case TBuiltin::Document:
    case TBuiltin::Generic:
      Rect(3, 1, 13, 15, Edge);
      Rect(4, 2, 12, 14, Paper);
      Rect(10, 1, 13, 4, 0);  // the folded corner
      Rect(10, 2, 11, 4, Edge);
      Rect(10, 4, 13, 5, Edge);
      if (Kind == TBuiltin::Document)
        for (int Y = 6; Y < 13; Y += 2) Rect(5, Y, 11, Y + 1, Ink);
      break;
    case TBuiltin::Folder:
    case TBuiltin::FolderOpen:
      Rect(1, 3, 7, 5, ManilaDark);
      Rect(1, 4, 15, 14, ManilaDark);
      Rect(2, 5, 14, 13, Kind == TBuiltin::Folder ? Manila : Paper);
      if (Kind == TBuiltin::FolderOpen) Rect(3, 8, 15, 14, Manila);
      break;
    case TBuiltin::Home:
      for (int R = 0; R < 6; ++R) Rect(7 - R, 2 + R, 9 + R, 3 + R, 0xFFB03A2E);
      Rect(3, 8, 13, 15, Edge);
      Rect(4, 9, 12, 15, Paper);
      Rect(7, 11, 9, 15, Edge);
      break;
    case TBuiltin::Drive:
      Rect(1, 5, 15, 12, Edge);
      Rect(2, 6, 14, 11, 0xFFC8C8C8);
      Rect(11, 9, 13, 10, 0xFF3CB043);
      break;
  }
  return Px;
}

// Fits 32-bit pixels of W by H into Size by Size (area average when
// shrinking, nearest when growing), keeping alpha.
std::vector<std::uint32_t> FitIcon(const std::vector<std::uint32_t>& In, int W, int H, int Size) {
  if (W == Size && H == Size) return In;
  std::vector<std::uint32_t> Out(std::size_t(Size) * Size, 0);
  for (int Y = 0; Y < Size; ++Y)
    for (int X = 0; X < Size; ++X) {
      const int X0 = X * W / Size, X1 = std::max(X0 + 1, (X + 1) * W / Size);
      const int Y0 = Y * H / Size, Y1 = std::max(Y0 + 1, (Y + 1) * H / Size);
      std::uint64_t A = 0, R = 0, G = 0, B = 0, N = 0;
      for (int Sy = Y0; Sy < Y1 && Sy < H; ++Sy)
        for (int Sx = X0; Sx < X1 && Sx < W; ++Sx) {
          const std::uint32_t P = In[std::size_t(Sy) * W + Sx];
          const std::uint32_t Al = P >> 24;
          A += Al;
          R += ((P >> 16) & 0xFF) * Al;
          G += ((P >> 8) & 0xFF) * Al;
          B += (P & 0xFF) * Al;
          ++N;
        }
      if (!N || !A) continue;
      Out[std::size_t(Y) * Size + X] =
          std::uint32_t(A / N) << 24 | std::uint32_t(R / A) << 16 | std::uint32_t(G / A) << 8 | std::uint32_t(B / A);
    }
  return Out;
}

// Pixels of a theme icon at Size; empty when the file cannot be read.
std::vector<std::uint32_t> LoadIconPng(const std::string& File, int Size) {
  std::ifstream In(File, std::ios::binary);
  std::vector<Byte> Data((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  // Icons are small; a file past a few megabytes is not one.
  if (Data.empty() || Data.size() > (8u << 20) || !IsPngData(Data.data(), Data.size())) return {};
  try {
    const TDib Dib = ReadPng(Data, TPngAlpha::Keep);
    if (Dib.Width() <= 0 || Dib.Height() <= 0 || Dib.Width() > 1024 || Dib.Height() > 1024) return {};
    return FitIcon(DibToBgra32(Dib), Dib.Width(), Dib.Height(), Size);
  } catch (const Exception&) {
    return {};
  }
}

// Adds pixels with alpha to an image list of masks: half-covered and more
// is drawn, composed over the window colour (white); less is transparent.
void AddToList(TCustomImageList* List, const std::vector<std::uint32_t>& Px, int Size) {
  std::vector<std::uint32_t> Colour(Px.size()), Mask(Px.size());
  for (std::size_t I = 0; I < Px.size(); ++I) {
    const std::uint32_t A = Px[I] >> 24;
    auto Over = [&](int Shift) { return ((Px[I] >> Shift & 0xFF) * A + 255 * (255 - A)) / 255; };
    Colour[I] = 0xFF000000u | Over(16) << 16 | Over(8) << 8 | Over(0);
    Mask[I] = A >= 128 ? 0xFF000000u : 0xFFFFFFFFu;
  }
  TBitmap Image, MaskBmp;
  Image.LoadFromDib(DibFromBgra32(Colour.data(), Size, Size, 24));
  MaskBmp.LoadFromDib(DibFromBgra32(Mask.data(), Size, Size, 24));
  List->Add(&Image, &MaskBmp);
}

struct TSystemImages {
  TCustomImageList* Small = nullptr;
  TCustomImageList* Large = nullptr;
  std::map<std::string, int> Index;  // by the joined names
  std::vector<bool> FromTheme;
};

TSystemImages& SystemImages() {
  // Process-wide, never freed: handles to them are handed out to callers
  // that may outlive any owner we could give them.
  static TSystemImages S = [] {
    TSystemImages R;
    R.Small = new TCustomImageList(nullptr, 16, 16);
    R.Large = new TCustomImageList(nullptr, 32, 32);
    return R;
  }();
  return S;
}

void ResetIcons() {
  TSystemImages& S = SystemImages();
  S.Small->Clear();
  S.Large->Clear();
  S.Index.clear();
  S.FromTheme.clear();
  Themes().Themes.clear();
  Themes().Found.clear();
}

}  // namespace

void SetIconThemeForTest(const TIconThemeSettings* Settings) {
  std::lock_guard<std::recursive_mutex> L(IconLock());
  ResetIcons();
  TThemeState& S = Themes();
  S.Pinned = Settings != nullptr;
  S.Settings = Settings ? *Settings : TIconThemeSettings{};
}

int ShellIconIndex(const std::vector<std::string>& Names) {
  std::lock_guard<std::recursive_mutex> L(IconLock());
  TSystemImages& S = SystemImages();
  std::string Key;
  for (const std::string& N : Names) Key += N + "\n";
  if (auto It = S.Index.find(Key); It != S.Index.end()) return It->second;
  std::vector<std::uint32_t> Small, Large;
  for (const std::string& N : Names) {
    const std::string F16 = FindThemeIcon(N, 16), F32 = FindThemeIcon(N, 32);
    if (F16.empty() && F32.empty()) continue;
    Small = LoadIconPng(F16.empty() ? F32 : F16, 16);
    Large = LoadIconPng(F32.empty() ? F16 : F32, 32);
    if (!Small.empty() && !Large.empty()) break;
  }
  const bool Theme = !Small.empty() && !Large.empty();
  if (!Theme) {
    const TBuiltin B = BuiltinFor(Names);
    Small = DrawBuiltin(B, 16);
    Large = DrawBuiltin(B, 32);
  }
  AddToList(S.Small, Small, 16);
  AddToList(S.Large, Large, 32);
  const int Index = S.Small->Count() - 1;
  S.Index[Key] = Index;
  S.FromTheme.push_back(Theme);
  return Index;
}

bool ShellIconFromTheme(int Index) {
  std::lock_guard<std::recursive_mutex> L(IconLock());
  const TSystemImages& S = SystemImages();
  return Index >= 0 && std::size_t(Index) < S.FromTheme.size() && S.FromTheme[std::size_t(Index)];
}

TCustomImageList* ShellImageList(bool Small) {
  std::lock_guard<std::recursive_mutex> L(IconLock());
  return Small ? SystemImages().Small : SystemImages().Large;
}

// --- SHGetFileInfo ---------------------------------------------------------------------------------

namespace {

std::vector<std::string> IconNamesOf(const TShellItem* Place, bool Folder, const std::string& Name, bool Open) {
  if (Place) {
    switch (Place->Kind) {
      case TItemKind::DesktopPlace: return {"user-desktop", "folder"};
      case TItemKind::HomePlace: return {"user-home", "folder"};
      case TItemKind::RootPlace: return {"drive-harddisk", "folder"};
      case TItemKind::VolumePlace: return {"drive-removable-media", "drive-harddisk", "folder"};
      default: break;
    }
  }
  if (Folder) return Open ? std::vector<std::string>{"folder-open", "folder"} : std::vector<std::string>{"folder"};
  return MimeIconNames(MimeTypeOfName(Name));
}

std::string TypeNameOf(bool Folder, const std::string& Name) {
  if (Folder) return "Folder";
  const std::string Mime = MimeTypeOfName(Name);
  // An unknown type says so in the database; the ending says more.
  std::string C = Mime == "application/octet-stream" ? "" : MimeTypeComment(Mime);
  if (!C.empty()) return C;
  const std::size_t Dot = Name.find_last_of('.');
  if (Dot != std::string::npos && Dot + 1 < Name.size() && Dot > 0)
    return UpperCase(AnsiString(Name.substr(Dot + 1))) + " File";
  return "File";
}

void CopyField(char* Dst, std::size_t Size, const std::string& S) {
  const std::size_t N = std::min(S.size(), Size - 1);
  std::memcpy(Dst, S.data(), N);
  Dst[N] = 0;
}

}  // namespace

std::vector<std::string> ShellItemIconNames(LPCITEMIDLIST Pidl, bool Open) {
  auto Items = SplitIDList(Pidl);
  if (!Items || Items->empty()) return {"user-desktop", "folder"};
  const TShellItem& Last = Items->back();
  return IconNamesOf(Items->size() == 1 ? &Last : nullptr, Last.IsFolderLike(), Last.Name, Open);
}

DWORD_PTR SHGetFileInfoA(const char* Path, DWORD FileAttributes, SHFILEINFOA* Info, UINT InfoSize, UINT Flags) {
  if (!Path || (Flags & (SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ATTRIBUTES | SHGFI_SYSICONINDEX) &&
                (!Info || InfoSize < sizeof(SHFILEINFOA))))
    return 0;
  SHFILEINFOA Out;
  std::optional<std::vector<TShellItem>> Items;
  std::string FullPath, Name;
  bool Folder = false;
  if (Flags & SHGFI_PIDL) {
    Items = SplitIDList(reinterpret_cast<LPCITEMIDLIST>(Path));
    if (!Items) return 0;
    FullPath = PathOfItems(*Items).value_or("");
    Folder = Items->empty() || Items->back().IsFolderLike();
    Name = Items->empty() ? "Desktop" : ItemLabel(Items->back());
  } else {
    FullPath = Path;
    const std::size_t Slash = FullPath.find_last_of('/');
    Name = Slash == std::string::npos || Slash + 1 == FullPath.size() ? FullPath : FullPath.substr(Slash + 1);
    if (Flags & SHGFI_USEFILEATTRIBUTES) {
      Folder = (FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    } else {
      struct stat S;
      if (stat(FullPath.c_str(), &S) != 0) {
        struct stat L;
        if (lstat(FullPath.c_str(), &L) != 0) return 0;  // gone (a dangling link still shows)
      } else {
        Folder = S_ISDIR(S.st_mode);
      }
      Items = ItemsOfPath(FullPath);
      if (Items && Items->size() == 1) Name = ItemLabel(Items->front());
    }
  }
  const TShellItem* Place = Items && Items->size() == 1 ? &Items->front() : nullptr;
  const bool Open = (Flags & SHGFI_OPENICON) != 0;
  if (Flags & SHGFI_DISPLAYNAME) CopyField(Out.szDisplayName, sizeof Out.szDisplayName, Name);
  if (Flags & SHGFI_TYPENAME) CopyField(Out.szTypeName, sizeof Out.szTypeName, TypeNameOf(Folder, Name));
  if (Flags & SHGFI_ATTRIBUTES) {
    ULONG A = SFGAO_FILESYSTEM | (Folder ? SFGAO_FOLDER : SFGAO_STREAM);
    if (Name.size() > 1 && Name[0] == '.') A |= SFGAO_HIDDEN;
    Out.dwAttributes = A;
  }
  DWORD_PTR Result = 1;
  if (Flags & (SHGFI_SYSICONINDEX | SHGFI_ICON)) {
    const std::vector<std::string> Names =
        Items && Items->empty() ? std::vector<std::string>{"user-desktop", "folder"} : IconNamesOf(Place, Folder, Name, Open);
    Out.iIcon = ShellIconIndex(Names);
    TCustomImageList* List = ShellImageList((Flags & SHGFI_SMALLICON) != 0);
    if (Flags & SHGFI_ICON) Out.hIcon = ImageList_GetIcon(List->GetHandle(), Out.iIcon, ILD_NORMAL);
    if (Flags & SHGFI_SYSICONINDEX) Result = reinterpret_cast<DWORD_PTR>(List->GetHandle());
  }
  if (Info) *Info = Out;
  return Result;
}
