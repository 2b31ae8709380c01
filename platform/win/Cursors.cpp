#include "platform/win/Cursors.h"

#include "platform/win/Display.h"
#include "platform/win/Resources.h"
#include "platform/win/WinState_p.h"

namespace {
constexpr std::uintptr_t StandardBase = 0x7F000000;  // standard handles: base + id
const WORD Standard[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642,
                         32643, 32644, 32645, 32646, 32648, 32649, 32650, 32651};
}  // namespace

HCURSOR LoadCursorA(HINSTANCE Instance, const char* Name) {
  auto Id = reinterpret_cast<std::uintptr_t>(Name);
  if (!Instance && Id <= 0xFFFF)
    for (WORD S : Standard)
      if (S == Id) return reinterpret_cast<HCURSOR>(StandardBase + Id);
  if (Instance) return LoadProgramCursor(Name);
  SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
  return nullptr;
}

WORD StandardCursorId(HCURSOR C) {
  auto V = reinterpret_cast<std::uintptr_t>(C);
  if (V < StandardBase || V > StandardBase + 0xFFFF) return 0;
  return WORD(V - StandardBase);
}

HCURSOR SetCursor(HCURSOR Cursor) {
  auto& St = WinState();
  HCURSOR Old = St.Cursor;
  if (Old != Cursor) {
    St.Cursor = Cursor;
    Display().CursorChanged(Cursor);
  }
  return Old;
}

HCURSOR GetCursor() { return WinState().Cursor; }

int ShowCursor(BOOL Show) {
  auto& St = WinState();
  St.CursorShowCount += Show ? 1 : -1;
  return St.CursorShowCount;
}

BOOL DestroyCursor(HCURSOR Cursor) {
  // Shared standard cursors stay; others belong to the resource layer.
  return StandardCursorId(Cursor) ? TRUE : FALSE;
}
