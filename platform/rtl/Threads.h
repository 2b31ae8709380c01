// Threads.h — worker threads and the kernel objects they wait on: events,
// critical sections, thread handles, WaitForSingleObject and Sleep, and
// TThread with Synchronize into the main (GUI) thread.
//
// Kernel objects are handles in one table (kind, slot, generation): a
// stale or closed handle fails WaitForSingleObject with WAIT_FAILED, as on
// Windows. A thread's handle is signalled when the thread ends.
//
// Synchronize queues a method for the main thread and blocks the worker
// until it ran there. The main thread runs the queue in CheckSynchronize;
// WakeMainThread (set by the application) makes an idle main thread look.
// An exception thrown by the method is re-raised in the worker.
#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include "platform/rtl/Component.h"

using HANDLE = void*;
constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED = 0x80;
constexpr DWORD WAIT_TIMEOUT = 0x102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
constexpr DWORD STILL_ACTIVE = 0x103;

HANDLE CreateEventA(void* Attributes, BOOL ManualReset, BOOL InitialState, const char* Name);
inline HANDLE CreateEvent(void* A, BOOL M, BOOL I, const char* N) { return CreateEventA(A, M, I, N); }
BOOL SetEvent(HANDLE Event);
BOOL ResetEvent(HANDLE Event);
// Waits until the object is signalled (an auto-reset event is reset by the
// wait that sees it) or the time runs out.
DWORD WaitForSingleObject(HANDLE Handle, DWORD Milliseconds);
// WaitAll false: the index of the first signalled object (WAIT_OBJECT_0 + i).
DWORD WaitForMultipleObjects(DWORD Count, const HANDLE* Handles, BOOL WaitAll, DWORD Milliseconds);
// Closes an event, a thread handle (the thread itself runs on) or an
// object another layer added (TKernelObjectBase).
BOOL CloseHandle(HANDLE Handle);
BOOL GetExitCodeThread(HANDLE Thread, DWORD* ExitCode);
// Real time: the virtual clock of the window system does not reach it.
void Sleep(DWORD Milliseconds);
DWORD GetCurrentThreadId();
// The thread that loaded the program (the GUI thread).
DWORD MainThreadID();

class TCriticalSection : public TObject {
public:
  void Acquire() { FLock.lock(); }
  void Release() { FLock.unlock(); }
  bool TryEnter() { return FLock.try_lock(); }
  void Enter() { Acquire(); }
  void Leave() { Release(); }

private:
  std::recursive_mutex FLock;
};

SX_ENUM(TWaitResult, wrSignaled, wrTimeout, wrAbandoned, wrError)

// An event object owned by this object (the handle closes with it).
class TSimpleEvent : public TObject {
public:
  explicit TSimpleEvent(bool ManualReset = true, bool InitialState = false);
  ~TSimpleEvent() override;
  void SetEvent();
  void ResetEvent();
  TWaitResult WaitFor(DWORD Timeout = INFINITE);
  HANDLE Handle() const { return FHandle; }

private:
  HANDLE FHandle;
};

using TThreadMethod = TEvent<void()>;

class TThread : public TObject {
public:
  // A suspended thread waits for Resume (or Start) before Execute runs.
  explicit TThread(bool CreateSuspended);
  // Terminates, resumes and waits for a thread that still runs, then closes
  // its handle. (Freeing from inside Execute is FreeOnTerminate's job.)
  ~TThread() override;

  void Resume();
  void Start() { Resume(); }
  // Asks Execute to stop: it looks at Terminated.
  void Terminate() { FTerminated = true; }
  // Waits for the end of Execute (running Synchronize calls meanwhile when
  // called from the main thread); answers ReturnValue.
  Integer WaitFor();
  bool Suspended() const { return FSuspended; }
  bool Finished() const { return FFinished; }
  HANDLE Handle() const { return FHandle; }
  DWORD ThreadID() const { return FThreadID; }
  bool FreeOnTerminate = false;
  // Runs in the main thread after Execute ended.
  TNotifyEvent OnTerminate;
  Integer ReturnValue() const { return FReturnValue; }
  // What escaped Execute, if anything (kept as its message).
  const AnsiString& FatalException() const { return FFatalException; }

  // Runs Method in the main thread and waits for it; from the main thread
  // itself it runs at once.
  static void Synchronize(TThread* Thread, const TThreadMethod& Method);
  void Synchronize(const TThreadMethod& Method) { Synchronize(this, Method); }
  static void Synchronize(const std::function<void()>& Proc);

protected:
  virtual void Execute() = 0;
  virtual void DoTerminate();
  bool Terminated() const { return FTerminated; }
  void SetReturnValue(Integer Value) { FReturnValue = Value; }

private:
  void Run();
  std::thread FThread;
  HANDLE FHandle = nullptr;
  DWORD FThreadID = 0;
  std::mutex FStartLock;
  std::condition_variable FStartCond;
  bool FSuspended;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  Integer FReturnValue = 0;
  AnsiString FFatalException;
};

// Runs the queued Synchronize calls; from the main thread only. Waits up to
// Timeout ms for one when none is queued. True when one ran.
bool CheckSynchronize(int Timeout = 0);
// Set by the application: wakes an idle main thread (from any thread).
extern std::function<void()> WakeMainThread;

// Kernel objects that other layers define (processes and pipe ends in
// platform/shell, file mappings in platform/win) live in the same handle
// table, so CloseHandle and the waits treat every handle alike. The table
// owns the object: CloseHandle drops the table's reference, and the object
// goes when its last reference does (outside the table's lock, so a
// destructor may block briefly). An object that turns signalled calls
// KernelObjectChanged afterwards, which wakes the waits.
class TKernelObjectBase {
public:
  virtual ~TKernelObjectBase() = default;
  // Read under the table's lock by the waits; never reset by a wait.
  virtual bool Signalled() const { return false; }
};
HANDLE KernelAddObject(std::shared_ptr<TKernelObjectBase> Object);
// The object behind H; null for a stale handle or one of another kind.
std::shared_ptr<TKernelObjectBase> KernelLookup(HANDLE H);
template <class T> std::shared_ptr<T> KernelLookupAs(HANDLE H) {
  return std::dynamic_pointer_cast<T>(KernelLookup(H));
}
void KernelObjectChanged();
