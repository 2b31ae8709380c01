#include "app/desktop/InstanceControl.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>

#include "platform/forms/Application.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Threads.h"
#include "platform/win/FileMapping.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

namespace {
TadpInstanceControl*& TheInstanceControl() {
  static TadpInstanceControl* C = nullptr;
  return C;
}

// Posted to the guard's own window: bring the main window forward once the
// activation that asked for it is over.
constexpr UINT CM_BRINGFORWARD = WM_APP + 0x3A1;
// Seats beyond these are not looked at when counting (a limit in the
// thousands would make every start slow for a number only shown).
constexpr Cardinal MaxSeatsCounted = 64;

AnsiString SystemText(DWORD Code) {
  switch (Code) {
    case 2: return "The system cannot find the file specified.";
    case 5: return "Access is denied.";
    case 8: return "Not enough storage is available to process this command.";
    case 87: return "The parameter is incorrect.";
    case 1460: return "This operation returned because the timeout period expired.";
    default: return "Unknown error.";
  }
}

[[noreturn]] void RaiseLastOSError() {
  const DWORD Code = GetLastError();
  if (!Code) throw EOSError("A call to an OS function failed");
  char Buf[64];
  std::snprintf(Buf, sizeof Buf, "System Error.  Code: %u.\r\n", unsigned(Code));
  throw EOSError(AnsiString(Buf) + SystemText(Code));
}

std::atomic_ref<std::uint32_t> Field(void* View, int Index) {
  return std::atomic_ref<std::uint32_t>(static_cast<std::uint32_t*>(View)[Index]);
}
}  // namespace

TadpInstanceControl::TadpInstanceControl(TComponent* AOwner) : TComponent(AOwner) {
  if (TheInstanceControl()) throw EInstanceControl("Only one copy of this component can be dropped on a form!");
  TheInstanceControl() = this;
}

TadpInstanceControl::~TadpInstanceControl() {
  if (TheInstanceControl() == this) TheInstanceControl() = nullptr;
  if (FView && FCounted) {
    // Lowered without going below 0: the number is for the peers to read;
    // admission goes by the seats.
    auto Count = Field(FView, 1);
    std::uint32_t Old = Count.load();
    while (Old > 0 && !Count.compare_exchange_weak(Old, Old - 1)) {
    }
  }
  if (FSeat) CloseHandle(FSeat);
  if (FView) UnmapViewOfFile(FView);
  if (FMapping) CloseHandle(FMapping);
  if (FWindow) DeallocateHWnd(FWindow);
}

AnsiString TadpInstanceControl::MappingNameOf(const AnsiString& ExeName) {
  AnsiString Name;
  for (char C : ExeName)
    if (C != '\\' && C != ' ') Name += C;
  return Name;
}

void TadpInstanceControl::Loaded() {
  inherited::Loaded();
  if (Enabled) Admit();
}

void TadpInstanceControl::Admit() {
  FMappingName = MappingNameOf(ExeName());
  FMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, FMappingName.c_str());
  if (!FMapping) RaiseLastOSError();
  FView = MapViewOfFile(FMapping, FILE_MAP_ALL_ACCESS, 0, 0, 8);
  if (!FView) return;  // runs unguarded, as when the block cannot be opened

  // The first free seat admits this copy. Taking one is a single call that
  // the system serialises between processes; a copy that finds a seat held
  // lets go of it at once.
  const Cardinal Limit = MaxInstances ? MaxInstances : 1;
  bool SeatsWork = true;
  for (Cardinal I = 0; I < Limit && !FSeat; ++I) {
    const AnsiString SeatName = FMappingName + "|seat" + std::to_string(I);
    HANDLE Seat = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1, SeatName.c_str());
    if (!Seat) {
      SeatsWork = false;
      break;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
      CloseHandle(Seat);
    } else {
      FSeat = Seat;
      FSeatIndex = I;
    }
  }
  if (!FSeat && SeatsWork) {
    FAdmitted = false;
    ActivateFirstInstance(Field(FView, 0).load());
    return;
  }
  // Admitted (or, when no seat can be made, running unguarded).
  FWindow = AllocateHWnd(TWndMethod(this, &TadpInstanceControl::WndProc));
  Field(FView, 0).store(std::uint32_t(reinterpret_cast<std::uintptr_t>(FWindow)));
  // The number the block shows is counted afresh from the seats held, so a
  // copy that ended without lowering it is not counted for ever.
  std::uint32_t Held = 1;
  for (Cardinal I = 0; I < std::min<Cardinal>(Limit, MaxSeatsCounted) && FSeat; ++I) {
    const AnsiString SeatName = FMappingName + "|seat" + std::to_string(I);
    if (I == FSeatIndex) continue;
    if (HANDLE Other = OpenFileMappingA(FILE_MAP_READ, FALSE, SeatName.c_str())) {
      ++Held;
      CloseHandle(Other);
    }
  }
  Field(FView, 1).store(Held);
  FCounted = true;
}

void TadpInstanceControl::ActivateFirstInstance(Cardinal Handle) {
  if (Application) {
    Application->SetShowMainForm(false);
    ShowWindow(Application->Handle(), SW_HIDE);
  }
  if (OnMaxInstancesReached.Assigned()) OnMaxInstancesReached(this, Handle);
  // The window belongs to the other copy: it restores and raises it itself.
  if (FMapping) ActivatePeerWindow(FMapping, HandleFromInt<HWND>(std::intptr_t(Handle)));
  if (Application) Application->Terminate();
}

void TadpInstanceControl::WndProc(TMessage& Message) {
  // A later copy's request activates this window.
  if (Message.Msg == WM_ACTIVATE && LOWORD(Message.WParam) != WA_INACTIVE) PostMessageA(FWindow, CM_BRINGFORWARD, 0, 0);
  if (Message.Msg == CM_BRINGFORWARD) {
    BringForward();
    return;
  }
  Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
}

void TadpInstanceControl::BringForward() {
  if (!Application || !Application->MainForm()) return;
  TCustomForm* Main = Application->MainForm();
  // The main window may be minimized or hidden in the tray: it comes back
  // in its normal state (a tray icon stays where it is).
  Application->Restore();
  Main->SetVisible(true);
  if (Main->HandleAllocated()) {
    if (IsIconic(Main->Handle())) ShowWindow(Main->Handle(), SW_RESTORE);
    SetForegroundWindow(Main->Handle());
  }
}
