#include "helper/InstanceProgram.h"

#include <cstdint>
#include <cstdio>

#include "platform/rtl/Threads.h"
#include "platform/win/FileMapping.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

// A program guarded as the single-instance guard does it: an 8-byte block
// by name holds the first copy's window handle and the number of copies.
// The first copy shows its main window minimized (another window of its
// own in front), says "first" and waits; when a later copy has it restore
// and raise that window, it says "raised iconic=<0|1> foreground=<0|1>"
// and waits to be ended. A later copy asks the first to raise its window,
// says "second activated=<0|1> count=<n>" and ends.
int RunInstance(const char* Name) {
  WNDCLASSEXA C;
  C.lpfnWndProc = DefWindowProcA;
  C.lpszClassName = "SxInstanceMain";
  RegisterClassExA(&C);
  HWND Main = CreateWindowExA(0, "SxInstanceMain", "Main", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                              nullptr, nullptr, nullptr);

  HANDLE Mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, Name);
  if (!Mapping) {
    std::printf("error %u\n", unsigned(GetLastError()));
    return 3;
  }
  const bool Existed = GetLastError() == ERROR_ALREADY_EXISTS;
  auto* Block = static_cast<std::uint32_t*>(MapViewOfFile(Mapping, FILE_MAP_ALL_ACCESS, 0, 0, 8));
  if (Existed) {
    const BOOL Ok = ActivatePeerWindow(Mapping, HandleFromInt<HWND>(std::intptr_t(Block[0])));
    std::printf("second activated=%d count=%u\n", int(Ok), unsigned(Block[1]));
    return 0;
  }
  Block[0] = std::uint32_t(reinterpret_cast<std::uintptr_t>(Main));
  Block[1] = 1;
  ShowWindow(Main, SW_SHOWMINIMIZED);
  HWND Other = CreateWindowExA(0, "SxInstanceMain", "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100,
                               nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(Other);
  std::printf("first\n");
  std::fflush(stdout);
  bool Told = false;
  for (;;) {
    MSG M;
    while (PeekMessageA(&M, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&M);
      DispatchMessageA(&M);
    }
    CheckSynchronize(20);
    if (!Told && (!IsIconic(Main) || GetForegroundWindow() == Main)) {
      std::printf("raised iconic=%d foreground=%d\n", int(IsIconic(Main) != 0), int(GetForegroundWindow() == Main));
      std::fflush(stdout);
      Told = true;
    }
  }
}
