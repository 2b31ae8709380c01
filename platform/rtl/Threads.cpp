#include "platform/rtl/Threads.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <exception>
#include <memory>
#include <vector>

std::function<void()> WakeMainThread;

namespace {
using TClock = std::chrono::steady_clock;

struct TKernelObject {
  enum TKind { Event, Thread, Other } Kind = Event;
  bool ManualReset = true;
  bool Signalled = false;
  DWORD ExitCode = STILL_ACTIVE;
  std::shared_ptr<TKernelObjectBase> Object;  // Kind Other
  bool IsSignalled() const { return Kind == Other ? Object->Signalled() : Signalled; }
};

// Every kernel object of the process; one lock and one condition for all
// waits keep WaitForMultipleObjects simple (waits are rare and short).
struct TKernelTable {
  std::mutex Lock;
  std::condition_variable Changed;
  std::vector<std::shared_ptr<TKernelObject>> Slots;
  std::vector<std::uint32_t> Generations;
  std::vector<size_t> Free;
};

// Never destroyed: a child's reaper thread may signal while the program
// is already running its static destructors.
TKernelTable& Kernel() {
  static TKernelTable& T = *new TKernelTable;
  return T;
}

// Slot + 1 in the low 20 bits, the generation above: never null.
HANDLE Pack(size_t Slot, std::uint32_t Gen) {
  return reinterpret_cast<HANDLE>((std::uintptr_t(Gen) << 20) | std::uintptr_t(Slot + 1));
}

// Caller holds the lock.
std::shared_ptr<TKernelObject> Find(HANDLE H) {
  auto& K = Kernel();
  const std::uintptr_t V = reinterpret_cast<std::uintptr_t>(H);
  const size_t Slot = (V & 0xFFFFF);
  if (Slot == 0 || Slot > K.Slots.size()) return nullptr;
  if (K.Generations[Slot - 1] != std::uint32_t(V >> 20)) return nullptr;
  return K.Slots[Slot - 1];
}

HANDLE Add(std::shared_ptr<TKernelObject> Obj) {
  auto& K = Kernel();
  std::lock_guard<std::mutex> L(K.Lock);
  size_t Slot;
  if (!K.Free.empty()) {
    Slot = K.Free.back();
    K.Free.pop_back();
  } else {
    Slot = K.Slots.size();
    K.Slots.emplace_back();
    K.Generations.push_back(0);
  }
  K.Slots[Slot] = std::move(Obj);
  K.Generations[Slot] = (K.Generations[Slot] + 1) & 0xFFFFF;
  return Pack(Slot, K.Generations[Slot]);
}

void Signal(HANDLE H, bool On, DWORD ExitCode = STILL_ACTIVE) {
  auto& K = Kernel();
  {
    std::lock_guard<std::mutex> L(K.Lock);
    if (auto O = Find(H)) {
      O->Signalled = On;
      if (O->Kind == TKernelObject::Thread) O->ExitCode = ExitCode;
    }
  }
  K.Changed.notify_all();
}

const DWORD MainThread = GetCurrentThreadId();
}  // namespace

DWORD GetCurrentThreadId() { return DWORD(::syscall(SYS_gettid)); }

DWORD MainThreadID() { return MainThread; }

void Sleep(DWORD Milliseconds) {
  if (Milliseconds == 0) std::this_thread::yield();
  else std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}

HANDLE CreateEventA(void*, BOOL ManualReset, BOOL InitialState, const char*) {
  auto O = std::make_shared<TKernelObject>();
  O->ManualReset = ManualReset != 0;
  O->Signalled = InitialState != 0;
  return Add(std::move(O));
}

BOOL SetEvent(HANDLE Event) {
  auto& K = Kernel();
  {
    std::lock_guard<std::mutex> L(K.Lock);
    auto O = Find(Event);
    if (!O || O->Kind != TKernelObject::Event) return 0;
    O->Signalled = true;
  }
  K.Changed.notify_all();
  return 1;
}

BOOL ResetEvent(HANDLE Event) {
  auto& K = Kernel();
  std::lock_guard<std::mutex> L(K.Lock);
  auto O = Find(Event);
  if (!O || O->Kind != TKernelObject::Event) return 0;
  O->Signalled = false;
  return 1;
}

DWORD WaitForMultipleObjects(DWORD Count, const HANDLE* Handles, BOOL WaitAll, DWORD Milliseconds) {
  auto& K = Kernel();
  std::unique_lock<std::mutex> L(K.Lock);
  std::vector<std::shared_ptr<TKernelObject>> Objs;
  for (DWORD i = 0; i < Count; ++i) {
    auto O = Find(Handles[i]);
    if (!O) return WAIT_FAILED;
    Objs.push_back(std::move(O));
  }
  if (Objs.empty()) return WAIT_FAILED;
  const auto Deadline = TClock::now() + std::chrono::milliseconds(Milliseconds);
  for (;;) {
    if (WaitAll) {
      bool All = true;
      for (auto& O : Objs) All = All && O->IsSignalled();
      if (All) {
        for (auto& O : Objs)
          if (!O->ManualReset) O->Signalled = false;
        return WAIT_OBJECT_0;
      }
    } else {
      for (size_t i = 0; i < Objs.size(); ++i)
        if (Objs[i]->IsSignalled()) {
          if (!Objs[i]->ManualReset) Objs[i]->Signalled = false;
          return WAIT_OBJECT_0 + DWORD(i);
        }
    }
    if (Milliseconds == 0) return WAIT_TIMEOUT;
    if (Milliseconds == INFINITE) K.Changed.wait(L);
    else if (K.Changed.wait_until(L, Deadline) == std::cv_status::timeout && TClock::now() >= Deadline) {
      // One last look, then give up.
      Milliseconds = 0;
    }
  }
}

DWORD WaitForSingleObject(HANDLE Handle, DWORD Milliseconds) {
  return WaitForMultipleObjects(1, &Handle, 0, Milliseconds);
}

BOOL CloseHandle(HANDLE Handle) {
  auto& K = Kernel();
  std::shared_ptr<TKernelObject> Dying;  // freed after the lock is let go
  std::lock_guard<std::mutex> L(K.Lock);
  if (!Find(Handle)) return 0;
  const size_t Slot = (reinterpret_cast<std::uintptr_t>(Handle) & 0xFFFFF) - 1;
  Dying = std::move(K.Slots[Slot]);
  K.Generations[Slot] = (K.Generations[Slot] + 1) & 0xFFFFF;
  K.Free.push_back(Slot);
  return 1;
}

HANDLE KernelAddObject(std::shared_ptr<TKernelObjectBase> Object) {
  if (!Object) return nullptr;
  auto O = std::make_shared<TKernelObject>();
  O->Kind = TKernelObject::Other;
  O->Object = std::move(Object);
  return Add(std::move(O));
}

std::shared_ptr<TKernelObjectBase> KernelLookup(HANDLE H) {
  auto& K = Kernel();
  std::lock_guard<std::mutex> L(K.Lock);
  auto O = Find(H);
  return O && O->Kind == TKernelObject::Other ? O->Object : nullptr;
}

void KernelObjectChanged() {
  auto& K = Kernel();
  { std::lock_guard<std::mutex> L(K.Lock); }
  K.Changed.notify_all();
}

BOOL GetExitCodeThread(HANDLE Thread, DWORD* ExitCode) {
  auto& K = Kernel();
  std::lock_guard<std::mutex> L(K.Lock);
  auto O = Find(Thread);
  if (!O || O->Kind != TKernelObject::Thread || !ExitCode) return 0;
  *ExitCode = O->ExitCode;
  return 1;
}

// ---------------------------------------------------------------------------

TSimpleEvent::TSimpleEvent(bool ManualReset, bool InitialState)
    : FHandle(CreateEventA(nullptr, ManualReset, InitialState, nullptr)) {}

TSimpleEvent::~TSimpleEvent() { CloseHandle(FHandle); }

void TSimpleEvent::SetEvent() { ::SetEvent(FHandle); }

void TSimpleEvent::ResetEvent() { ::ResetEvent(FHandle); }

TWaitResult TSimpleEvent::WaitFor(DWORD Timeout) {
  switch (WaitForSingleObject(FHandle, Timeout)) {
    case WAIT_OBJECT_0: return wrSignaled;
    case WAIT_TIMEOUT: return wrTimeout;
    case WAIT_ABANDONED: return wrAbandoned;
    default: return wrError;
  }
}

// ---------------------------------------------------------------------------
// Synchronize

namespace {
struct TSyncCall {
  std::function<void()> Proc;
  bool Done = false;
  std::exception_ptr Error;
};

struct TSyncQueue {
  std::mutex Lock;
  std::condition_variable Queued, Finished;
  std::deque<TSyncCall*> Calls;
};

TSyncQueue& SyncQueue() {
  static TSyncQueue Q;
  return Q;
}

void RunInMainThread(const std::function<void()>& Proc) {
  if (GetCurrentThreadId() == MainThreadID()) {
    Proc();
    return;
  }
  auto& Q = SyncQueue();
  TSyncCall Call;
  Call.Proc = Proc;
  {
    std::lock_guard<std::mutex> L(Q.Lock);
    Q.Calls.push_back(&Call);
  }
  Q.Queued.notify_all();
  if (WakeMainThread) WakeMainThread();
  std::unique_lock<std::mutex> L(Q.Lock);
  Q.Finished.wait(L, [&] { return Call.Done; });
  if (Call.Error) std::rethrow_exception(Call.Error);
}
}  // namespace

bool CheckSynchronize(int Timeout) {
  if (GetCurrentThreadId() != MainThreadID()) return false;
  auto& Q = SyncQueue();
  std::deque<TSyncCall*> Calls;
  {
    std::unique_lock<std::mutex> L(Q.Lock);
    if (Q.Calls.empty() && Timeout > 0)
      Q.Queued.wait_for(L, std::chrono::milliseconds(Timeout), [&] { return !Q.Calls.empty(); });
    Calls.swap(Q.Calls);
  }
  for (TSyncCall* C : Calls) {
    try {
      C->Proc();
    } catch (...) {
      C->Error = std::current_exception();
    }
    std::lock_guard<std::mutex> L(Q.Lock);
    C->Done = true;
  }
  if (!Calls.empty()) Q.Finished.notify_all();
  return !Calls.empty();
}

void TThread::Synchronize(TThread*, const TThreadMethod& Method) {
  RunInMainThread([&] { Method(); });
}

void TThread::Synchronize(const std::function<void()>& Proc) { RunInMainThread(Proc); }

// ---------------------------------------------------------------------------
// TThread

TThread::TThread(bool CreateSuspended) : FSuspended(CreateSuspended) {
  auto O = std::make_shared<TKernelObject>();
  O->Kind = TKernelObject::Thread;
  FHandle = Add(std::move(O));
  FThread = std::thread([this] { Run(); });
}

TThread::~TThread() {
  if (FThread.joinable()) {
    if (FThread.get_id() == std::this_thread::get_id()) {
      FThread.detach();
    } else {
      Terminate();
      Resume();
      // A Synchronize of the dying thread still needs the main thread.
      const bool Main = GetCurrentThreadId() == MainThreadID();
      while (!FFinished) {
        if (Main) CheckSynchronize(10);
        else WaitForSingleObject(FHandle, 10);
      }
      FThread.join();
    }
  }
  CloseHandle(FHandle);
}

void TThread::Resume() {
  {
    std::lock_guard<std::mutex> L(FStartLock);
    FSuspended = false;
  }
  FStartCond.notify_all();
}

void TThread::Run() {
  FThreadID = GetCurrentThreadId();
  {
    std::unique_lock<std::mutex> L(FStartLock);
    FStartCond.wait(L, [&] { return !FSuspended; });
  }
  // Execute runs even when terminated before it started: it looks itself.
  try {
    Execute();
  } catch (const Exception& E) {
    FFatalException = E.Message();
  } catch (const std::exception& E) {
    FFatalException = E.what();
  }
  try {
    DoTerminate();
  } catch (...) {
  }
  const bool FreeSelf = FreeOnTerminate;
  FFinished = true;
  Signal(FHandle, true, DWORD(FReturnValue));
  if (FreeSelf) delete this;
}

void TThread::DoTerminate() {
  if (OnTerminate.Assigned()) RunInMainThread([&] { OnTerminate(this); });
}

Integer TThread::WaitFor() {
  if (GetCurrentThreadId() == MainThreadID()) {
    while (WaitForSingleObject(FHandle, 0) != WAIT_OBJECT_0) CheckSynchronize(10);
  } else {
    WaitForSingleObject(FHandle, INFINITE);
  }
  return FReturnValue;
}
