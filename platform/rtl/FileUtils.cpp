#include "platform/rtl/FileUtils.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <algorithm>
#include <string_view>
#include <memory>
#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"

// ---- names ------------------------------------------------------------------

bool IsPathDelimiter(const AnsiString& S, int Index) {
  return Index >= 1 && static_cast<std::size_t>(Index) <= S.size() && S[Index - 1] == PathDelim;
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& S) {
  if (!S.empty() && S.back() == PathDelim) return S;
  return S + PathDelim;
}

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S) {
  if (!S.empty() && S.back() == PathDelim) return S.substr(0, S.size() - 1);
  return S;
}

AnsiString ExtractFilePath(const AnsiString& FileName) {
  const int I = LastDelimiter(AnsiString(1, PathDelim), FileName);
  return FileName.substr(0, static_cast<std::size_t>(I));
}

AnsiString ExtractFileDir(const AnsiString& FileName) {
  int I = LastDelimiter(AnsiString(1, PathDelim), FileName);
  // Keep the separator of the root, and of "a//b" where two stand together.
  if (I > 1 && !IsPathDelimiter(FileName, I - 1)) --I;
  return FileName.substr(0, static_cast<std::size_t>(I));
}

AnsiString ExtractFileName(const AnsiString& FileName) {
  const int I = LastDelimiter(AnsiString(1, PathDelim), FileName);
  return FileName.substr(static_cast<std::size_t>(I));
}

AnsiString ExtractFileExt(const AnsiString& FileName) {
  const int I = LastDelimiter(AnsiString(".") + PathDelim, FileName);
  if (I > 0 && FileName[I - 1] == '.') return FileName.substr(static_cast<std::size_t>(I - 1));
  return AnsiString();
}

AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension) {
  const int I = LastDelimiter(AnsiString(".") + PathDelim, FileName);
  if (I > 0 && FileName[I - 1] == '.') return FileName.substr(0, static_cast<std::size_t>(I - 1)) + Extension;
  return FileName + Extension;
}

AnsiString ExpandFileName(const AnsiString& FileName) {
  if (FileName.empty()) return AnsiString();
  const AnsiString Full = FileName[0] == PathDelim ? FileName : IncludeTrailingPathDelimiter(GetCurrentDir()) + FileName;
  std::vector<AnsiString> Parts;
  std::size_t Start = 0;
  while (Start <= Full.size()) {
    std::size_t End = Full.find(PathDelim, Start);
    if (End == AnsiString::npos) End = Full.size();
    const AnsiString Seg = Full.substr(Start, End - Start);
    if (Seg == "..") {
      if (!Parts.empty()) Parts.pop_back();
    } else if (!Seg.empty() && Seg != ".") {
      Parts.push_back(Seg);
    }
    Start = End + 1;
  }
  AnsiString R;
  for (const auto& P : Parts) R += PathDelim + P;
  if (R.empty() || Full.back() == PathDelim) R += PathDelim;
  return R;
}

// ---- the file system --------------------------------------------------------

namespace {
bool StatOf(const AnsiString& Name, struct stat& St) {
  return !Name.empty() && ::stat(Name.c_str(), &St) == 0;
}
}  // namespace

bool FileExists(const AnsiString& FileName) {
  struct stat St;
  return StatOf(FileName, St) && !S_ISDIR(St.st_mode);
}

bool DirectoryExists(const AnsiString& Directory) {
  struct stat St;
  return StatOf(Directory, St) && S_ISDIR(St.st_mode);
}

bool ForceDirectories(const AnsiString& Dir) {
  if (Dir.empty()) throw EInOutError("Unable to create directory");
  const AnsiString D = ExcludeTrailingPathDelimiter(Dir);
  if (D.empty() || DirectoryExists(D)) return true;
  const AnsiString Parent = ExtractFilePath(D);
  if (!Parent.empty() && Parent != D && !ForceDirectories(Parent)) return false;
  return CreateDir(D) || DirectoryExists(D);  // another process may have made it meanwhile
}

bool CreateDir(const AnsiString& Dir) { return !Dir.empty() && ::mkdir(Dir.c_str(), 0777) == 0; }
bool RemoveDir(const AnsiString& Dir) { return !Dir.empty() && ::rmdir(Dir.c_str()) == 0; }

bool DeleteFile(const AnsiString& FileName) {
  return !FileName.empty() && !DirectoryExists(FileName) && ::unlink(FileName.c_str()) == 0;
}

bool RenameFile(const AnsiString& OldName, const AnsiString& NewName) {
  if (OldName.empty() || NewName.empty()) return false;
  if (::renameat2(AT_FDCWD, OldName.c_str(), AT_FDCWD, NewName.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // The file system cannot refuse to replace by itself: check first.
  struct stat St;
  if (::lstat(NewName.c_str(), &St) == 0) return false;
  return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

namespace {
// A modification time as a packed DOS date and time in local time; -1 when
// a DOS date cannot hold it.
Integer DosDateTime(std::time_t T) {
  std::tm Tm{};
  if (!localtime_r(&T, &Tm)) return -1;
  const int Year = Tm.tm_year + 1900;
  if (Year < 1980 || Year > 2107) return -1;  // outside what a DOS date can hold
  const Cardinal Date = ((Year - 1980) << 9) | ((Tm.tm_mon + 1) << 5) | Tm.tm_mday;
  const Cardinal Time = (Tm.tm_hour << 11) | (Tm.tm_min << 5) | (Tm.tm_sec / 2);
  return static_cast<Integer>((Date << 16) | Time);
}
}  // namespace

Integer FileAge(const AnsiString& FileName) {
  struct stat St;
  if (!StatOf(FileName, St) || S_ISDIR(St.st_mode)) return -1;
  return DosDateTime(St.st_mtime);
}

Int64 FileSizeByName(const AnsiString& FileName) {
  struct stat St;
  if (!StatOf(FileName, St) || S_ISDIR(St.st_mode)) return -1;
  return static_cast<Int64>(St.st_size);
}

AnsiString GetCurrentDir() {
  std::vector<char> Buf(4096);
  while (!::getcwd(Buf.data(), Buf.size())) {
    if (errno != ERANGE) return AnsiString();
    Buf.resize(Buf.size() * 2);
  }
  return AnsiString(Buf.data());
}

bool SetCurrentDir(const AnsiString& Dir) { return !Dir.empty() && ::chdir(Dir.c_str()) == 0; }

void SaveFileAtomically(const AnsiString& FileName, const std::string& Bytes, TSaveMode Mode) {
  SaveFileAtomically(FileName, Bytes.data(), Bytes.size(), Mode);
}

void SaveFileAtomically(const AnsiString& FileName, const void* Data, std::size_t Size, TSaveMode Mode) {
  TAtomicFileStream F(FileName);
  const char* P = static_cast<const char*>(Data);
  for (std::size_t Left = Size; Left > 0;) {
    const Integer N = Integer(std::min<std::size_t>(Left, std::size_t(1) << 30));
    F.WriteBuffer(P, N);
    P += N;
    Left -= std::size_t(N);
  }
  F.Commit(Mode);
}

namespace {
void SyncFolderOf(const AnsiString& FileName) {
  const AnsiString Dir = ExtractFilePath(FileName);
  const int DirFd = ::open(Dir.empty() ? "." : Dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (DirFd >= 0) {
    ::fsync(DirFd);
    ::close(DirFd);
  }
}
}  // namespace

bool SyncFileToDisk(const AnsiString& FileName) {
  const int Fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (Fd < 0) return false;
  const bool Ok = ::fsync(Fd) == 0;
  ::close(Fd);
  SyncFolderOf(FileName);
  return Ok;
}

namespace {

// Removes the temporary files of Name that processes which have ended left
// behind: their names carry the writer's process id.
void RemoveStaleParts(const AnsiString& Dir, const AnsiString& Name) {
  DIR* D = ::opendir(Dir.empty() ? "." : Dir.c_str());
  if (!D) return;
  const AnsiString Prefix = "." + Name + ".";
  while (const dirent* E = ::readdir(D)) {
    const std::string_view N = E->d_name;
    if (N.size() <= Prefix.size() + 5 || N.substr(0, Prefix.size()) != Prefix ||
        N.substr(N.size() - 5) != ".part")
      continue;
    const std::string_view Pid = N.substr(Prefix.size(), N.size() - Prefix.size() - 5);
    if (Pid.empty() || Pid.size() > 9 || Pid.find_first_not_of("0123456789") != std::string_view::npos) continue;
    const pid_t Owner = pid_t(std::atol(std::string(Pid).c_str()));
    if (Owner == ::getpid() || ::kill(Owner, 0) == 0 || errno != ESRCH) continue;
    ::unlink((Dir + std::string(N)).c_str());
  }
  ::closedir(D);
}

}  // namespace

TAtomicFileStream::TAtomicFileStream(const AnsiString& FileName) : THandleStream(-1), FFileName(FileName) {
  if (FileName.empty() || FileName.back() == PathDelim) Fail(EINVAL);
  const AnsiString Dir = ExtractFilePath(FileName);
  struct stat Old;
  const bool Exists = ::stat(FileName.c_str(), &Old) == 0;
  if (Exists && S_ISDIR(Old.st_mode)) Fail(EISDIR);
  RemoveStaleParts(Dir, ExtractFileName(FileName));
  // One writer of a name per process at a time: a second one waits its turn
  // under a numbered name.
  const AnsiString Base = Dir + "." + ExtractFileName(FileName) + "." + std::to_string(::getpid());
  for (int K = 0; FHandle < 0; ++K) {
    FTempName = Base;
    if (K) FTempName.append(1, '-').append(std::to_string(K));
    FTempName.append(".part");
    FHandle = ::open(FTempName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (FHandle < 0 && (errno != EEXIST || K > 1000)) {
      FTempName.clear();
      Fail(errno);
    }
  }
  if (Exists) {
    ::fchmod(FHandle, Old.st_mode & 07777);
  } else {
    // A new file gets the usual 0666 less the umask.
    const mode_t Mask = ::umask(0);
    ::umask(Mask);
    ::fchmod(FHandle, 0666 & ~Mask);
  }
}

TAtomicFileStream::~TAtomicFileStream() { Discard(); }

void TAtomicFileStream::Fail(int Err) {
  Discard();
  throw EFCreateError("Cannot create file \"" + FFileName + "\". " + std::strerror(Err));
}

void TAtomicFileStream::Discard() noexcept {
  if (FHandle >= 0) ::close(FHandle);
  FHandle = -1;
  if (!FCommitted && !FTempName.empty()) ::unlink(FTempName.c_str());
  FTempName.clear();
}

AnsiString TAtomicFileStream::WriteFailure() const {
  const AnsiString Reason = THandleStream::WriteFailure();
  return Reason.empty() ? Reason : "\"" + FFileName + "\". " + Reason;
}

void TAtomicFileStream::Commit(TSaveMode Mode) {
  if (FCommitted) return;
  if (FHandle < 0) Fail(EBADF);
  if (FWriteErrno) Fail(FWriteErrno);
  if (Mode == TSaveMode::Durable && ::fsync(FHandle) != 0) Fail(errno);
  const int Fd = FHandle;
  FHandle = -1;
  if (::close(Fd) != 0) Fail(errno);
  if (::rename(FTempName.c_str(), FFileName.c_str()) != 0) Fail(errno);
  FCommitted = true;
  FTempName.clear();
  // Make the rename itself durable.
  if (Mode == TSaveMode::Durable) SyncFolderOf(FFileName);
}

// ---- the program's location -------------------------------------------------

AnsiString ExeName() {
  std::vector<char> Buf(4096);
  while (true) {
    const ssize_t N = ::readlink("/proc/self/exe", Buf.data(), Buf.size());
    if (N < 0) return AnsiString();
    if (static_cast<std::size_t>(N) < Buf.size()) return AnsiString(Buf.data(), static_cast<std::size_t>(N));
    Buf.resize(Buf.size() * 2);
  }
}

AnsiString ExeDir() { return ExtractFilePath(ExeName()); }

// ---- temporary names --------------------------------------------------------

AnsiString GetTempPath() {
  const char* T = std::getenv("TMPDIR");
  return IncludeTrailingPathDelimiter(T && *T ? AnsiString(T) : AnsiString("/tmp"));
}

UINT GetTempFileNameA(const char* PathName, const char* Prefix, UINT Unique, char* TempFileName) {
  if (!PathName || !TempFileName) return 0;
  TempFileName[0] = '\0';
  const AnsiString Base = IncludeTrailingPathDelimiter(PathName) + AnsiString(Prefix ? Prefix : "").substr(0, 3);
  auto NameFor = [&](UINT N) { return Base + IntToHex(N & 0xFFFF, 4) + ".tmp"; };
  auto Store = [&](const AnsiString& Name) {
    if (Name.size() + 1 > MAX_PATH) return false;
    std::memcpy(TempFileName, Name.c_str(), Name.size() + 1);
    return true;
  };
  if (Unique != 0) return Store(NameFor(Unique)) ? (Unique & 0xFFFF) : 0;
  // Start from a time-derived number and walk the 16-bit space once.
  const auto Ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  const UINT Start = static_cast<UINT>(Ticks ^ ::getpid()) & 0xFFFF;
  for (UINT k = 0; k < 0x10000; ++k) {
    UINT N = (Start + k) & 0xFFFF;
    if (N == 0) continue;
    const AnsiString Name = NameFor(N);
    if (Name.size() + 1 > MAX_PATH) return 0;
    const int Fd = ::open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (Fd >= 0) {
      ::close(Fd);
      Store(Name);
      return N;
    }
    if (errno != EEXIST) return 0;
  }
  return 0;
}

AnsiString CreateTempFileName(const AnsiString& Dir, const AnsiString& Prefix) {
  char Buf[MAX_PATH];
  return GetTempFileNameA(Dir.c_str(), Prefix.c_str(), 0, Buf) ? AnsiString(Buf) : AnsiString();
}

// ---- wildcard match ---------------------------------------------------------

namespace {
// Iterative glob with one backtrack point: linear in practice, no recursion
// to blow up on "*a*a*a*…".
bool MatchPattern(const AnsiString& Name, const AnsiString& Pat) {
  std::size_t n = 0, p = 0, StarP = AnsiString::npos, StarN = 0;
  while (n < Name.size()) {
    if (p < Pat.size() && (Pat[p] == '?' || Pat[p] == Name[n])) {
      ++n;
      ++p;
    } else if (p < Pat.size() && Pat[p] == '*') {
      StarP = p++;
      StarN = n;
    } else if (StarP != AnsiString::npos) {
      p = StarP + 1;
      n = ++StarN;
    } else {
      return false;
    }
  }
  while (p < Pat.size() && Pat[p] == '*') ++p;
  return p == Pat.size();
}
}  // namespace

bool PathMatchSpec(const AnsiString& FileName, const AnsiString& Spec) {
  const AnsiString Name = AnsiUpperCase(FileName);
  std::size_t Start = 0;
  while (Start <= Spec.size()) {
    std::size_t End = Spec.find(';', Start);
    if (End == AnsiString::npos) End = Spec.size();
    AnsiString Pat = TrimLeft(Spec.substr(Start, End - Start));
    Start = End + 1;
    if (Pat.empty()) continue;
    if (Pat == "*.*" || MatchPattern(Name, AnsiUpperCase(Pat))) return true;
  }
  return false;
}

bool TrySaveFileAtomically(const AnsiString& FileName, const void* Data, std::size_t Size) {
  try {
    SaveFileAtomically(FileName, Data, Size);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

// ---- searching folders ------------------------------------------------------

namespace {
struct TFindState {
  std::vector<TSearchRec> Found;  // sorted as the system lists a folder
  std::size_t Next = 0;
};

Integer AttributesOf(const AnsiString& Name, const struct stat& St) {
  Integer A = 0;
  if (S_ISDIR(St.st_mode)) A |= faDirectory;
  else if (S_ISREG(St.st_mode)) A |= faArchive;
  else A |= faSysFile;  // devices, pipes, sockets: nothing for a document search
  if (Name[0] == '.' && Name != "." && Name != "..") A |= faHidden;
  // The file's own flag, not whether this user may write it (root may).
  if (!(St.st_mode & S_IWUSR)) A |= faReadOnly;
  return A;
}

void Take(TSearchRec& F, TFindState& S) {
  TSearchRec& R = S.Found[S.Next++];
  F.Time = R.Time;
  F.Size = R.Size;
  F.Attr = R.Attr;
  F.Name = R.Name;
}
}  // namespace

Integer FindFirst(const AnsiString& Path, Integer Attr, TSearchRec& F) {
  FindClose(F);
  F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  const AnsiString Folder = ExtractFilePath(Path);
  const AnsiString Mask = AnsiUpperCase(ExtractFileName(Path));
  DIR* D = ::opendir(Folder.empty() ? "." : Folder.c_str());
  if (!D) return static_cast<Integer>(ERROR_PATH_NOT_FOUND);
  auto S = std::make_unique<TFindState>();
  while (dirent* E = ::readdir(D)) {
    const AnsiString Name = E->d_name;
    if (Mask.empty() || (Mask != "*.*" && !MatchPattern(AnsiUpperCase(Name), Mask))) continue;
    struct stat St;
    if (::stat((Folder + Name).c_str(), &St) != 0) continue;  // a dangling link
    TSearchRec R;
    R.Attr = AttributesOf(Name, St);
    if (R.Attr & F.ExcludeAttr) continue;
    R.Name = Name;
    R.Size = S_ISDIR(St.st_mode) ? 0 : static_cast<Int64>(St.st_size);
    R.Time = DosDateTime(St.st_mtime);
    S->Found.push_back(std::move(R));
  }
  ::closedir(D);
  if (S->Found.empty()) return static_cast<Integer>(ERROR_FILE_NOT_FOUND);
  std::sort(S->Found.begin(), S->Found.end(), [](const TSearchRec& A, const TSearchRec& B) {
    const AnsiString UA = AnsiUpperCase(A.Name), UB = AnsiUpperCase(B.Name);
    return UA != UB ? UA < UB : A.Name < B.Name;
  });
  Take(F, *S);
  F.FindHandle = S.release();
  return 0;
}

Integer FindNext(TSearchRec& F) {
  auto* S = static_cast<TFindState*>(F.FindHandle);
  if (!S || S->Next >= S->Found.size()) return static_cast<Integer>(ERROR_NO_MORE_FILES);
  Take(F, *S);
  return 0;
}

void FindClose(TSearchRec& F) {
  delete static_cast<TFindState*>(F.FindHandle);
  F.FindHandle = nullptr;
}
