#include "platform/rtl/Threads.h"

#include <gtest/gtest.h>

namespace {
// Runs Body in a worker; Execute's result becomes the return value.
class TLambdaThread : public TThread {
public:
  explicit TLambdaThread(std::function<Integer(TLambdaThread&)> Body, bool Suspended = false)
      : TThread(true), FBody(std::move(Body)) {
    if (!Suspended) Resume();
  }
  using TThread::Terminated;

protected:
  void Execute() override { SetReturnValue(FBody(*this)); }

private:
  std::function<Integer(TLambdaThread&)> FBody;
};
struct TRecorder : TObject {
  DWORD RanIn = 0;
  void Record() { RanIn = GetCurrentThreadId(); }
};
}  // namespace

TEST(Events, WaitsSeeSignalsAndAutoResetEventsResetThemselves) {
  HANDLE Manual = CreateEventA(nullptr, true, false, nullptr);
  HANDLE Auto = CreateEventA(nullptr, false, true, nullptr);
  EXPECT_EQ(WaitForSingleObject(Manual, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(Auto, 0), WAIT_OBJECT_0) << "created signalled";
  EXPECT_EQ(WaitForSingleObject(Auto, 0), WAIT_TIMEOUT) << "the wait that saw it reset it";
  SetEvent(Manual);
  EXPECT_EQ(WaitForSingleObject(Manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(Manual, 0), WAIT_OBJECT_0) << "a manual-reset event stays signalled";
  ResetEvent(Manual);
  HANDLE Both[] = {Manual, Auto};
  SetEvent(Auto);
  EXPECT_EQ(WaitForMultipleObjects(2, Both, false, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForMultipleObjects(2, Both, false, 1), WAIT_TIMEOUT);
  EXPECT_TRUE(CloseHandle(Manual));
  EXPECT_FALSE(CloseHandle(Manual)) << "a closed handle is stale";
  EXPECT_EQ(WaitForSingleObject(Manual, 0), WAIT_FAILED);
  EXPECT_FALSE(SetEvent(nullptr));
  CloseHandle(Auto);
}

TEST(TThread, WorkerWakesOnAnEventAndItsHandleSignalsTheEnd) {
  TSimpleEvent Go;
  TLambdaThread T([&](TLambdaThread&) {
    Go.WaitFor();
    return 42;
  });
  EXPECT_EQ(WaitForSingleObject(T.Handle(), 0), WAIT_TIMEOUT) << "still waiting for the event";
  Go.SetEvent();
  EXPECT_EQ(WaitForSingleObject(T.Handle(), INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(T.WaitFor(), 42);
  DWORD Code = 0;
  EXPECT_TRUE(GetExitCodeThread(T.Handle(), &Code));
  EXPECT_EQ(Code, 42u);
  EXPECT_NE(T.ThreadID(), GetCurrentThreadId());
}

TEST(TThread, SuspendedThreadWaitsAndTerminateIsSeen) {
  std::atomic<int> Loops{0};
  TLambdaThread T(
      [&](TLambdaThread& Self) {
        while (!Self.Terminated()) {
          ++Loops;
          Sleep(0);
        }
        return 7;
      },
      /*Suspended=*/true);
  EXPECT_EQ(WaitForSingleObject(T.Handle(), 5), WAIT_TIMEOUT);
  EXPECT_EQ(Loops, 0) << "nothing ran before Resume";
  T.Resume();
  T.Terminate();
  EXPECT_EQ(T.WaitFor(), 7);
}

TEST(TThread, SynchronizeRunsInTheMainThreadAndCarriesExceptionsBack) {
  TRecorder R;
  bool Raised = false;
  TLambdaThread T([&](TLambdaThread& Self) {
    Self.Synchronize(TThreadMethod(&R, &TRecorder::Record));
    try {
      TThread::Synchronize([] { throw EConvertError("bad"); });
    } catch (const EConvertError&) {
      Raised = true;
    }
    return 0;
  });
  T.WaitFor();  // runs the queued calls while it waits
  EXPECT_EQ(R.RanIn, MainThreadID());
  EXPECT_TRUE(Raised);
}
