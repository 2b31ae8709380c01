#include "platform/win/FileMapping.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "platform/rtl/Threads.h"
#include "platform/win/Input.h"
#include "platform/win/Window.h"

namespace {

// ---- names and the runtime folder -------------------------------------------

AnsiString StripNamespace(AnsiString Name) {
  for (const char* P : {"Local\\", "Global\\"})
    if (Name.rfind(P, 0) == 0) return Name.substr(std::strlen(P));
  return Name;
}

// A short, fixed-length key for a mapping name (names may hold any byte
// and be long; shm and socket names may not).
AnsiString KeyOf(const AnsiString& Name) {
  std::uint64_t H = 0xcbf29ce484222325ull;
  for (unsigned char C : StripNamespace(Name)) H = (H ^ C) * 0x100000001b3ull;
  char Buf[17];
  std::snprintf(Buf, sizeof Buf, "%016llx", static_cast<unsigned long long>(H));
  return Buf;
}

// A folder only this user can enter: owned by us, no access for others,
// not a link.
bool PrivateDir(const AnsiString& Dir) {
  if (::mkdir(Dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat St{};
  return ::lstat(Dir.c_str(), &St) == 0 && S_ISDIR(St.st_mode) && St.st_uid == ::getuid() &&
         (St.st_mode & 077) == 0;
}

// Owned by us and closed to others (a shm object someone else made under
// our name must not be trusted).
bool PrivateObject(int Fd) {
  struct stat St{};
  return ::fstat(Fd, &St) == 0 && St.st_uid == ::getuid() && (St.st_mode & 077) == 0;
}

// Takes the lock on Fd, trying for at most a few seconds.
bool LockWithin(int Fd, int Operation, int Ms = 5000) {
  for (int Waited = 0;; Waited += 10) {
    if (::flock(Fd, Operation | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK || Waited >= Ms) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// Serialises creating, opening and closing a named mapping between
// processes: held only for a few system calls.
class TCreationLock {
public:
  explicit TCreationLock(const AnsiString& Key) {
    const AnsiString Dir = SourceluxRuntimeDir();
    if (Dir.empty()) return;
    FFd = ::open((Dir + "map-" + Key + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (FFd >= 0 && !LockWithin(FFd, LOCK_EX)) {
      ::close(FFd);
      FFd = -1;
      FTimedOut = true;
    }
  }
  ~TCreationLock() {
    if (FFd >= 0) ::close(FFd);  // closing lets the lock go
  }
  bool Held() const { return FFd >= 0; }
  DWORD Failure() const { return FTimedOut ? ERROR_TIMEOUT : ERROR_ACCESS_DENIED; }

private:
  int FFd = -1;
  bool FTimedOut = false;
};

// ---- the peer link ----------------------------------------------------------

// The record both ways: a request names an operation and a window; the
// answer repeats the magic with the result in Window.
struct TPeerRecord {
  char Magic[4];
  std::uint32_t Op;
  std::uint32_t Window;
  std::uint32_t Reserved;
};
static_assert(sizeof(TPeerRecord) == 16);
constexpr char PeerMagic[4] = {'S', 'X', 'W', '1'};
constexpr std::uint32_t OpActivate = 1;

bool IsAllowedTopLevel(HWND H) { return IsWindow(H) && !GetParent(H); }

// Runs on the GUI thread.
std::uint32_t ActivateOwnWindow(HWND H) {
  if (!IsAllowedTopLevel(H)) return 0;
  if (IsIconic(H)) ShowWindow(H, SW_RESTORE);
  SetForegroundWindow(H);
  return 1;
}

bool ReadWhole(int Fd, void* Buf, std::size_t N) {
  auto* P = static_cast<char*>(Buf);
  while (N) {
    const ssize_t R = ::recv(Fd, P, N, 0);
    if (R <= 0) return false;
    P += R;
    N -= std::size_t(R);
  }
  return true;
}

void SetTimeouts(int Fd, DWORD Ms) {
  timeval Tv{time_t(Ms / 1000), suseconds_t((Ms % 1000) * 1000)};
  ::setsockopt(Fd, SOL_SOCKET, SO_RCVTIMEO, &Tv, sizeof Tv);
  ::setsockopt(Fd, SOL_SOCKET, SO_SNDTIMEO, &Tv, sizeof Tv);
}

// Listens for the other holders' requests while this process holds the
// mapping. One connection at a time, one record each.
class TPeerServer {
public:
  explicit TPeerServer(const AnsiString& Path) : FPath(Path) {
    FFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un A{};
    A.sun_family = AF_UNIX;
    if (FFd < 0 || Path.size() >= sizeof A.sun_path) return;
    std::memcpy(A.sun_path, Path.c_str(), Path.size() + 1);
    ::unlink(Path.c_str());
    if (::bind(FFd, reinterpret_cast<sockaddr*>(&A), sizeof A) != 0 || ::listen(FFd, 4) != 0) {
      ::close(FFd);
      FFd = -1;
      return;
    }
    FThread = std::thread([this] { Serve(); });
  }
  ~TPeerServer() {
    if (FFd < 0) return;
    FStopping = true;
    ::shutdown(FFd, SHUT_RDWR);  // wakes accept
    // A request may wait for the GUI thread: keep serving it meanwhile.
    const bool Main = GetCurrentThreadId() == MainThreadID();
    while (!FDone) {
      if (Main) CheckSynchronize(10);
      else std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    FThread.join();
    ::close(FFd);
    ::unlink(FPath.c_str());
  }

private:
  void Serve() {
    while (!FStopping) {
      const int C = ::accept4(FFd, nullptr, nullptr, SOCK_CLOEXEC);
      if (C < 0) {
        if (FStopping || (errno != EINTR && errno != ECONNABORTED)) break;
        continue;
      }
      Answer(C);
      ::close(C);
    }
    FDone = true;
  }

  void Answer(int C) {
    SetTimeouts(C, 1000);
    ucred Cred{};
    socklen_t Len = sizeof Cred;
    if (::getsockopt(C, SOL_SOCKET, SO_PEERCRED, &Cred, &Len) != 0 || Cred.uid != ::getuid()) return;
    TPeerRecord R{};
    if (!ReadWhole(C, &R, sizeof R) || std::memcmp(R.Magic, PeerMagic, 4) != 0 || R.Op != OpActivate) return;
    std::uint32_t Result = 0;
    const HWND H = HandleFromInt<HWND>(std::intptr_t(R.Window));
    if (!FStopping) TThread::Synchronize([&] { Result = ActivateOwnWindow(H); });
    TPeerRecord Answer{};
    std::memcpy(Answer.Magic, PeerMagic, 4);
    Answer.Op = OpActivate;
    Answer.Window = Result;
    ::send(C, &Answer, sizeof Answer, MSG_NOSIGNAL);
  }

  AnsiString FPath;
  int FFd = -1;
  std::thread FThread;
  std::atomic<bool> FStopping{false}, FDone{false};
};

AnsiString SocketPrefix(const AnsiString& Key) { return "map-" + Key + "."; }

// ---- the mapping object -----------------------------------------------------

class TFileMappingObject : public TKernelObjectBase {
public:
  ~TFileMappingObject() override {
    FServer.reset();
    if (!FShmName.empty()) {
      // The last holder takes the name away; a holder that keeps a view
      // still holds its lock, so the object stays for it.
      TCreationLock Lock(FKey);
      if (Lock.Held() && ::flock(Fd, LOCK_EX | LOCK_NB) == 0) ::shm_unlink(FShmName.c_str());
    }
    ::close(Fd);
  }
  int Fd = -1;
  std::size_t Size = 0;
  bool Writable = true;
  AnsiString FKey, FShmName;
  std::unique_ptr<TPeerServer> FServer;
};

struct TView {
  std::size_t Size;
  std::shared_ptr<TFileMappingObject> Mapping;
};

std::mutex& ViewLock() {
  static std::mutex M;
  return M;
}
std::map<const void*, TView>& Views() {
  static std::map<const void*, TView> V;
  return V;
}

void StartServing(TFileMappingObject& M) {
  const AnsiString Dir = SourceluxRuntimeDir();
  if (!Dir.empty())
    M.FServer = std::make_unique<TPeerServer>(Dir + SocketPrefix(M.FKey) + std::to_string(::getpid()) + ".sock");
}

HANDLE Fail(DWORD Error) {
  SetLastError(Error);
  return nullptr;
}

// Opens (Create: or makes) the named object under the creation lock.
HANDLE OpenNamed(const AnsiString& Name, std::size_t Size, bool Create, bool Writable) {
  const AnsiString Key = KeyOf(Name);
  TCreationLock Lock(Key);
  if (!Lock.Held()) return Fail(Lock.Failure());
  auto M = std::make_shared<TFileMappingObject>();
  M->FKey = Key;
  const AnsiString ShmName = FileMappingObjectName(Name);
  M->Fd = ::shm_open(ShmName.c_str(), O_RDWR | O_CLOEXEC | (Create ? O_CREAT : 0), 0600);
  if (M->Fd < 0) return Fail(errno == ENOENT ? 2 /* ERROR_FILE_NOT_FOUND */ : ERROR_ACCESS_DENIED);
  if (!PrivateObject(M->Fd)) return Fail(ERROR_ACCESS_DENIED);
  M->FShmName = ShmName;
  bool Existed = true;
  if (::flock(M->Fd, LOCK_EX | LOCK_NB) == 0) {
    // Nobody holds it: a new object, or one a crashed process left behind.
    if (!Create) return Fail(2);  // ERROR_FILE_NOT_FOUND
    Existed = false;
    if (::ftruncate(M->Fd, 0) != 0 || ::ftruncate(M->Fd, off_t(Size)) != 0) return Fail(ERROR_NOT_ENOUGH_MEMORY);
  }
  if (::flock(M->Fd, LOCK_SH | LOCK_NB) != 0) return Fail(ERROR_ACCESS_DENIED);
  struct stat St{};
  ::fstat(M->Fd, &St);
  M->Size = std::size_t(St.st_size);
  M->Writable = Writable;
  StartServing(*M);
  HANDLE H = KernelAddObject(M);
  SetLastError(Existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return H;
}
}  // namespace

AnsiString FileMappingObjectName(const AnsiString& Name) {
  return "/sx-" + std::to_string(::getuid()) + "-" + KeyOf(Name);
}

AnsiString SourceluxRuntimeDir() {
  const char* Xdg = std::getenv("XDG_RUNTIME_DIR");
  if (Xdg && Xdg[0] == '/' && PrivateDir(Xdg)) {
    const AnsiString Dir = AnsiString(Xdg) + "/sourcelux";
    if (PrivateDir(Dir)) return Dir + "/";
  }
  const AnsiString Tmp = "/tmp/sourcelux-" + std::to_string(::getuid());
  return PrivateDir(Tmp) ? Tmp + "/" : AnsiString();
}

HANDLE CreateFileMappingA(HANDLE File, SECURITY_ATTRIBUTES*, DWORD Protect, DWORD SizeHigh, DWORD SizeLow,
                          const char* Name) {
  if (File != INVALID_HANDLE_VALUE) SX_NOT_IMPLEMENTED("CreateFileMapping of a file");
  const std::size_t Size = (std::size_t(SizeHigh) << 32) | SizeLow;
  if (Size == 0) return Fail(ERROR_INVALID_PARAMETER);
  const bool Writable = (Protect & 0xFF) == PAGE_READWRITE;
  if (Name && *Name) return OpenNamed(Name, Size, /*Create=*/true, Writable);
  auto M = std::make_shared<TFileMappingObject>();
  M->Fd = ::memfd_create("sx-mapping", MFD_CLOEXEC);
  if (M->Fd < 0 || ::ftruncate(M->Fd, off_t(Size)) != 0) return Fail(ERROR_NOT_ENOUGH_MEMORY);
  M->Size = Size;
  M->Writable = Writable;
  HANDLE H = KernelAddObject(M);
  SetLastError(ERROR_SUCCESS);
  return H;
}

HANDLE OpenFileMappingA(DWORD Access, BOOL, const char* Name) {
  if (!Name || !*Name) return Fail(ERROR_INVALID_PARAMETER);
  return OpenNamed(Name, 0, /*Create=*/false, (Access & FILE_MAP_WRITE) != 0);
}

void* MapViewOfFile(HANDLE Mapping, DWORD Access, DWORD OffsetHigh, DWORD OffsetLow, std::size_t Bytes) {
  auto M = KernelLookupAs<TFileMappingObject>(Mapping);
  if (!M) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  const std::size_t Offset = (std::size_t(OffsetHigh) << 32) | OffsetLow;
  if (Offset % std::size_t(::sysconf(_SC_PAGESIZE))) {
    SetLastError(ERROR_MAPPED_ALIGNMENT);
    return nullptr;
  }
  const bool Write = (Access & FILE_MAP_WRITE) != 0;
  if (Offset >= M->Size || (Bytes && Offset + Bytes > M->Size) || (Write && !M->Writable)) {
    SetLastError(Write && !M->Writable ? ERROR_ACCESS_DENIED : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!Bytes) Bytes = M->Size - Offset;
  void* P = ::mmap(nullptr, Bytes, PROT_READ | (Write ? PROT_WRITE : 0), MAP_SHARED, M->Fd, off_t(Offset));
  if (P == MAP_FAILED) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::lock_guard<std::mutex> L(ViewLock());
  Views()[P] = {Bytes, M};
  return P;
}

BOOL UnmapViewOfFile(const void* Address) {
  std::shared_ptr<TFileMappingObject> Keep;  // may be the last reference: freed after the lock
  std::lock_guard<std::mutex> L(ViewLock());
  auto It = Views().find(Address);
  if (It == Views().end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ::munmap(const_cast<void*>(Address), It->second.Size);
  Keep = std::move(It->second.Mapping);
  Views().erase(It);
  return TRUE;
}

BOOL ActivatePeerWindow(HANDLE Mapping, HWND Window, DWORD TimeoutMs) {
  auto M = KernelLookupAs<TFileMappingObject>(Mapping);
  const AnsiString Dir = SourceluxRuntimeDir();
  if (!M || M->FKey.empty() || Dir.empty()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  // The other holders' sockets, newest first.
  const AnsiString Prefix = SocketPrefix(M->FKey), Own = Prefix + std::to_string(::getpid()) + ".sock";
  std::vector<std::pair<std::int64_t, AnsiString>> Peers;
  if (DIR* D = ::opendir(Dir.c_str())) {
    while (dirent* E = ::readdir(D)) {
      const AnsiString N = E->d_name;
      if (N.rfind(Prefix, 0) != 0 || N == Own || N.size() < 5 || N.compare(N.size() - 5, 5, ".sock") != 0) continue;
      struct stat St{};
      if (::lstat((Dir + N).c_str(), &St) != 0 || !S_ISSOCK(St.st_mode) || St.st_uid != ::getuid()) continue;
      Peers.emplace_back(std::int64_t(St.st_mtim.tv_sec) * 1000000000 + St.st_mtim.tv_nsec, Dir + N);
    }
    ::closedir(D);
  }
  std::sort(Peers.begin(), Peers.end(), [](auto& A, auto& B) { return A.first > B.first; });
  for (const auto& P : Peers) {
    const int S = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un A{};
    A.sun_family = AF_UNIX;
    if (S < 0 || P.second.size() >= sizeof A.sun_path) {
      if (S >= 0) ::close(S);
      continue;
    }
    std::memcpy(A.sun_path, P.second.c_str(), P.second.size() + 1);
    SetTimeouts(S, TimeoutMs);
    if (::connect(S, reinterpret_cast<sockaddr*>(&A), sizeof A) != 0) {
      if (errno == ECONNREFUSED) ::unlink(P.second.c_str());  // left by a process that ended
      ::close(S);
      continue;
    }
    TPeerRecord R{};
    std::memcpy(R.Magic, PeerMagic, 4);
    R.Op = OpActivate;
    R.Window = std::uint32_t(reinterpret_cast<std::uintptr_t>(Window));
    TPeerRecord Answer{};
    const bool Ok = ::send(S, &R, sizeof R, MSG_NOSIGNAL) == ssize_t(sizeof R) && ReadWhole(S, &Answer, sizeof Answer) &&
                    std::memcmp(Answer.Magic, PeerMagic, 4) == 0 && Answer.Window == 1;
    ::close(S);
    if (Ok) return TRUE;
  }
  SetLastError(2);  // ERROR_FILE_NOT_FOUND
  return FALSE;
}
