#include "platform/forms/FileListModel.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

namespace {
AnsiString FoldAscii(const AnsiString& S) {
  AnsiString R = S;
  for (char& C : R)
    if (C >= 'A' && C <= 'Z') C = char(C + 32);
  return R;
}

AnsiString StripTrailing(AnsiString S) {
  while (S.size() > 1 && S.back() == '/') S.pop_back();
  return S;
}

// Octal escapes of /proc/self/mounts ("\040" for a blank).
AnsiString UnescapeMount(const AnsiString& S) {
  AnsiString R;
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == '\\' && i + 3 < S.size() && std::isdigit(static_cast<unsigned char>(S[i + 1]))) {
      R += static_cast<char>(std::strtol(S.substr(i + 1, 3).c_str(), nullptr, 8));
      i += 3;
    } else {
      R += S[i];
    }
  }
  return R;
}
}  // namespace

bool TFileListModel::Load(const AnsiString& Folder, AnsiString& Error) {
  const AnsiString Dir = StripTrailing(Folder);
  std::unique_ptr<DIR, int (*)(DIR*)> D(opendir(Dir.c_str()), closedir);
  if (!D) {
    Error = "Cannot open the folder \"" + Dir + "\": " + std::strerror(errno) + ".";
    return false;
  }
  std::vector<TFileEntry> All;
  const int Fd = dirfd(D.get());
  while (dirent* E = readdir(D.get())) {
    const char* N = E->d_name;
    if (std::strcmp(N, ".") == 0 || std::strcmp(N, "..") == 0) continue;
    TFileEntry F;
    F.Name = N;
    F.Hidden = N[0] == '.';
    struct stat St {};
    // stat follows links, so a link to a folder opens as one; an entry that
    // vanished or a dangling link still lists, as a file of no size.
    if (fstatat(Fd, N, &St, 0) == 0) {
      F.IsDir = S_ISDIR(St.st_mode);
      F.Size = F.IsDir ? 0 : std::int64_t(St.st_size);
      F.Modified = std::int64_t(St.st_mtime);
    } else {
      F.IsDir = E->d_type == DT_DIR;
    }
    All.push_back(std::move(F));
  }
  FFolder = Dir == "/" ? Dir : Dir + "/";
  FAll = std::move(All);
  FKeys.clear();
  FKeys.reserve(FAll.size());
  for (const TFileEntry& E : FAll) FKeys.push_back(FoldAscii(E.Name));
  Rebuild();
  return true;
}

void TFileListModel::SetMask(const AnsiString& Mask) {
  if (Mask == FMask) return;
  FMask = Mask;
  Rebuild();
}

void TFileListModel::SetShowHidden(bool Value) {
  if (Value == FShowHidden) return;
  FShowHidden = Value;
  Rebuild();
}

void TFileListModel::SetSort(TFileSortColumn Column, bool Ascending) {
  if (Column == FSortColumn && Ascending == FAscending) return;
  FSortColumn = Column;
  FAscending = Ascending;
  Rebuild();
}

Integer TFileListModel::IndexOf(const AnsiString& Name) const {
  for (size_t i = 0; i < FShown.size(); ++i)
    if (FAll[FShown[i]].Name == Name) return Integer(i);
  return -1;
}

void TFileListModel::Rebuild() {
  FShown.clear();
  FShown.reserve(FAll.size());
  const bool AllFiles = FMask.empty() || FMask == "*" || FMask == "*.*";
  for (size_t i = 0; i < FAll.size(); ++i) {
    const TFileEntry& E = FAll[i];
    if (E.Hidden && !FShowHidden) continue;
    if (!E.IsDir && !AllFiles && !PathMatchSpec(E.Name, FMask)) continue;
    FShown.push_back(i);
  }
  auto Less = [this](size_t a, size_t b) {
    const TFileEntry& A = FAll[a];
    const TFileEntry& B = FAll[b];
    if (A.IsDir != B.IsDir) return A.IsDir;
    int C = 0;
    if (FSortColumn == TFileSortColumn::Size && A.Size != B.Size) C = A.Size < B.Size ? -1 : 1;
    if (FSortColumn == TFileSortColumn::Modified && A.Modified != B.Modified) C = A.Modified < B.Modified ? -1 : 1;
    if (C == 0) C = FKeys[a].compare(FKeys[b]);
    if (C == 0) C = A.Name.compare(B.Name);
    return FAscending ? C < 0 : C > 0;
  };
  std::sort(FShown.begin(), FShown.end(), Less);
}

std::vector<TFileFilter> ParseFileFilter(const AnsiString& Filter) {
  std::vector<TFileFilter> R;
  std::vector<AnsiString> Parts;
  size_t Start = 0;
  for (;;) {
    const size_t Bar = Filter.find('|', Start);
    Parts.push_back(Filter.substr(Start, Bar == AnsiString::npos ? AnsiString::npos : Bar - Start));
    if (Bar == AnsiString::npos) break;
    Start = Bar + 1;
  }
  if (Filter.empty()) return R;
  for (size_t i = 0; i < Parts.size(); i += 2) {
    TFileFilter F{Parts[i], i + 1 < Parts.size() ? Parts[i + 1] : AnsiString()};
    if (F.Description.empty() && F.Mask.empty()) continue;
    if (F.Mask.empty()) F.Mask.push_back('*');
    if (F.Description.empty()) F.Description = F.Mask;
    R.push_back(F);
  }
  return R;
}

AnsiString HomeFolder() {
  if (const char* H = std::getenv("HOME"); H && *H) return StripTrailing(H);
  if (const passwd* P = getpwuid(getuid()); P && P->pw_dir) return StripTrailing(P->pw_dir);
  return "/";
}

AnsiString DesktopFolder() {
  const AnsiString Home = HomeFolder();
  AnsiString Config;
  if (const char* X = std::getenv("XDG_CONFIG_HOME"); X && *X == '/')
    Config = X;
  else
    Config = Home + "/.config";
  std::ifstream In(Config + "/user-dirs.dirs");
  std::string Line;
  while (std::getline(In, Line)) {
    const std::string Key = "XDG_DESKTOP_DIR=";
    if (Line.compare(0, Key.size(), Key) != 0) continue;
    std::string V = Line.substr(Key.size());
    if (V.size() >= 2 && V.front() == '"' && V.back() == '"') V = V.substr(1, V.size() - 2);
    if (V.compare(0, 5, "$HOME") == 0) V = Home + V.substr(5);
    if (!V.empty() && V[0] == '/') return StripTrailing(V);
  }
  return Home + "/Desktop";
}

std::vector<TFilePlace> FilePlaces(const AnsiString& MountsFile) {
  std::vector<TFilePlace> R;
  const AnsiString Home = HomeFolder();
  R.push_back({"Home", IncludeTrailingPathDelimiter(Home)});
  const AnsiString Desktop = DesktopFolder();
  if (Desktop != Home && DirectoryExists(Desktop)) R.push_back({"Desktop", IncludeTrailingPathDelimiter(Desktop)});
  R.push_back({"File System", "/"});
  std::ifstream In(MountsFile);
  std::string Device, Point;
  std::string Rest;
  while (In >> Device >> Point) {
    std::getline(In, Rest);
    const AnsiString P = UnescapeMount(Point);
    for (const char* Base : {"/media/", "/mnt/", "/run/media/"}) {
      if (P.compare(0, std::strlen(Base), Base) == 0 && P.size() > std::strlen(Base)) {
        R.push_back({ExtractFileName(P), IncludeTrailingPathDelimiter(P)});
        break;
      }
    }
  }
  return R;
}

AnsiString ExpandTypedPath(const AnsiString& Typed, const AnsiString& Folder) {
  if (Typed.empty()) return Typed;
  AnsiString Path;
  if (Typed == "~")
    Path = HomeFolder();
  else if (Typed.compare(0, 2, "~/") == 0)
    Path = HomeFolder() + Typed.substr(1);
  else if (Typed[0] == '/')
    Path = Typed;
  else
    Path = IncludeTrailingPathDelimiter(Folder) + Typed;
  // Resolve "." and ".." by text; keep a trailing '/' as typed.
  const bool Trailing = Path.back() == '/';
  std::vector<AnsiString> Parts;
  size_t Start = 0;
  while (Start <= Path.size()) {
    size_t Slash = Path.find('/', Start);
    if (Slash == AnsiString::npos) Slash = Path.size();
    const AnsiString Part = Path.substr(Start, Slash - Start);
    if (Part == "..") {
      if (!Parts.empty()) Parts.pop_back();
    } else if (!Part.empty() && Part != ".") {
      Parts.push_back(Part);
    }
    Start = Slash + 1;
  }
  AnsiString R;
  for (const AnsiString& P : Parts) R += "/" + P;
  if (R.empty()) return "/";
  if (Trailing) R += "/";
  return R;
}

std::vector<AnsiString> SplitTypedNames(const AnsiString& Text) {
  std::vector<AnsiString> R;
  if (Text.find('"') == AnsiString::npos) {
    if (!Text.empty()) R.push_back(Text);
    return R;
  }
  size_t i = 0;
  while (i < Text.size()) {
    while (i < Text.size() && Text[i] == ' ') ++i;
    if (i >= Text.size()) break;
    if (Text[i] == '"') {
      const size_t End = Text.find('"', i + 1);
      const size_t Stop = End == AnsiString::npos ? Text.size() : End;
      if (Stop > i + 1) R.push_back(Text.substr(i + 1, Stop - i - 1));
      i = Stop + 1;
    } else {
      size_t End = Text.find(' ', i);
      if (End == AnsiString::npos) End = Text.size();
      R.push_back(Text.substr(i, End - i));
      i = End;
    }
  }
  return R;
}
