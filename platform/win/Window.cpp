#include "platform/win/Window.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>
#include <sys/syscall.h>

#include "platform/gdi/GdiObjectTable.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Display.h"
#include "platform/win/HotKeys.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/StdControls_p.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WinState_p.h"

namespace {
thread_local DWORD LastError = 0;

constexpr std::uint32_t SlotBits = 20;
constexpr std::uint32_t SlotMask = (1u << SlotBits) - 1;

std::uint32_t HandleValue(HWND H) { return std::uint32_t(reinterpret_cast<std::uintptr_t>(H)); }

AnsiString ClassKey(const char* Name) { return AnsiUpperCase(Name ? Name : ""); }

bool IsAtomName(const char* Name) { return reinterpret_cast<std::uintptr_t>(Name) <= 0xFFFF; }
AnsiString AtomKey(const char* Name) {
  return AnsiString(1, '#').append(std::to_string(reinterpret_cast<std::uintptr_t>(Name)));
}

std::shared_ptr<TWndClass> FindClassIn(const char* Name) {
  auto& St = WinState();
  if (!Name) return nullptr;
  if (IsAtomName(Name)) {
    ATOM A = ATOM(reinterpret_cast<std::uintptr_t>(Name));
    for (auto& C : St.Classes)
      if (C->Atom == A) return C;
    return nullptr;
  }
  AnsiString Key = ClassKey(Name);
  for (auto& C : St.Classes)
    if (ClassKey(C->Name.c_str()) == Key) return C;
  return nullptr;
}

std::shared_ptr<TWndClass> FindClass(const char* Name) {
  if (auto C = FindClassIn(Name)) return C;
  auto& St = WinState();
  if (St.SystemClassesRegistered) return nullptr;
  St.SystemClassesRegistered = true;
  RegisterSystemControlClasses();
  return FindClassIn(Name);
}

// Children vector of the parent (the desktop's for top-level windows).
std::vector<HWND>* SiblingList(const TWindow& W) {
  if (W.MessageOnly) return nullptr;
  TWindow* P = WinPtr(W.Parent ? W.Parent : WinState().Desktop);
  return P ? &P->Children : nullptr;
}

void Unlink(TWindow& W) {
  if (auto* L = SiblingList(W)) L->erase(std::remove(L->begin(), L->end(), W.Handle), L->end());
}

bool IsTopmost(HWND H) {
  TWindow* W = WinPtr(H);
  return W && (W->ExStyle & WS_EX_TOPMOST);
}

// Inserts W into its sibling list after InsertAfter (HWND_TOP/BOTTOM/TOPMOST/
// NOTOPMOST or a sibling), keeping topmost top-level windows first.
void InsertZ(TWindow& W, HWND InsertAfter) {
  auto* L = SiblingList(W);
  if (!L) return;
  L->erase(std::remove(L->begin(), L->end(), W.Handle), L->end());
  bool TopLevel = !W.Parent;
  if (TopLevel) {
    if (InsertAfter == HWND_TOPMOST) W.ExStyle |= WS_EX_TOPMOST;
    else if (InsertAfter == HWND_NOTOPMOST || InsertAfter == HWND_BOTTOM) W.ExStyle &= ~WS_EX_TOPMOST;
  }
  bool Top = TopLevel && (W.ExStyle & WS_EX_TOPMOST);
  // Band: topmost windows occupy [0, FirstNormal).
  auto FirstNormal = [&] {
    std::size_t I = 0;
    if (TopLevel)
      while (I < L->size() && IsTopmost((*L)[I])) ++I;
    return I;
  };
  std::size_t Pos;
  if (InsertAfter == HWND_BOTTOM) {
    Pos = L->size();
  } else if (InsertAfter == HWND_TOP || InsertAfter == HWND_TOPMOST) {
    Pos = Top ? 0 : FirstNormal();
  } else if (InsertAfter == HWND_NOTOPMOST) {
    Pos = FirstNormal();
  } else {
    auto It = std::find(L->begin(), L->end(), InsertAfter);
    Pos = It == L->end() ? (Top ? 0 : FirstNormal()) : std::size_t(It - L->begin()) + 1;
    std::size_t Band = FirstNormal();
    if (Top) Pos = std::min(Pos, Band);
    else Pos = std::max(Pos, Band);
  }
  L->insert(L->begin() + std::ptrdiff_t(std::min(Pos, L->size())), W.Handle);
}

// Owned windows stay above their owner: moves each of Owner's owned popups
// (keeping their order) to just above it, recursively.
void LiftOwned(HWND Owner) {
  TWindow* O = WinPtr(Owner);
  if (!O || O->Parent) return;
  auto* L = SiblingList(*O);
  if (!L) return;
  std::vector<HWND> Owned;
  for (HWND H : *L)
    if (TWindow* W = WinPtr(H); W && W->Owner == Owner) Owned.push_back(H);
  for (auto It = Owned.begin(); It != Owned.end(); ++It) {
    TWindow* W = WinPtr(*It);
    auto OwnerIt = std::find(L->begin(), L->end(), Owner);
    auto SelfIt = std::find(L->begin(), L->end(), *It);
    if (SelfIt < OwnerIt) continue;  // already above
    L->erase(SelfIt);
    OwnerIt = std::find(L->begin(), L->end(), Owner);
    (void)W;
    L->insert(OwnerIt, *It);
  }
  for (HWND H : Owned) LiftOwned(H);
}

void NotifyParents(HWND H, WPARAM W) {
  TWindow* Child = WinPtr(H);
  if (!Child) return;
  HWND Cur = H;
  while (true) {
    TWindow* C = WinPtr(Cur);
    if (!C || !(C->Style & WS_CHILD) || (C->ExStyle & WS_EX_NOPARENTNOTIFY) || !C->Parent) break;
    HWND P = C->Parent;
    WinSend(P, WM_PARENTNOTIFY, W, LPARAM(reinterpret_cast<std::intptr_t>(H)));
    Cur = P;
  }
}

TRect DefaultTopLevelRect(int X, int Y, int Cx, int Cy) {
  TRect Work = GetWorkAreaRect();
  if (X == CW_USEDEFAULT) {
    int Step = (WinState().DefaultPlacements++ % 8) * 26;
    X = Work.Left + 26 + Step;
    Y = Work.Top + 26 + Step;
  }
  if (Cx == CW_USEDEFAULT) {
    Cx = Work.Width() * 3 / 4;
    Cy = Work.Height() * 3 / 4;
  }
  return Bounds(X, Y, Cx, Cy);
}

void ApplyMinMax(HWND H, TRect& R) {
  MINMAXINFO Mmi;
  TRect Work = GetWorkAreaRect();
  Mmi.ptMaxSize = {Work.Width() + 2 * GetSystemMetrics(SM_CXFRAME),
                   Work.Height() + 2 * GetSystemMetrics(SM_CYFRAME)};
  Mmi.ptMaxPosition = {-GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME)};
  Mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  Mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  WinSend(H, WM_GETMINMAXINFO, 0, LPARAM(&Mmi));
  int W = std::clamp(R.Width(), Mmi.ptMinTrackSize.X, std::max(Mmi.ptMinTrackSize.X, Mmi.ptMaxTrackSize.X));
  int Hh = std::clamp(R.Height(), Mmi.ptMinTrackSize.Y, std::max(Mmi.ptMinTrackSize.Y, Mmi.ptMaxTrackSize.Y));
  R.Right = R.Left + W;
  R.Bottom = R.Top + Hh;
}

void DestroyTree(HWND H);
}  // namespace

DWORD GetLastError() { return LastError; }
void SetLastError(DWORD Code) { LastError = Code; }

// --- state and handle table ----------------------------------------------------------

namespace {
// Never destroyed: it outlives the static destructors of its callers.
TWinState*& CurrentState() {
  static TWinState* St = new TWinState;
  return St;
}
}  // namespace

TWinState& WinState() { return *CurrentState(); }

void WinStateRenew() {
  TWinState*& Slot = CurrentState();
  TWinState& Old = *Slot;
  auto* New = new TWinState;
  New->Slots = std::move(Old.Slots);
  New->Generations = std::move(Old.Generations);
  New->FreeSlots = std::move(Old.FreeSlots);
  New->NextAtom = Old.NextAtom;
  New->Desktop = Old.Desktop;
  // Timer and hook numbers keep counting, so a stale id never names a new one.
  New->NextThreadTimerId = Old.NextThreadTimerId;
  New->NextHook = Old.NextHook;
  New->LiveDCs = std::move(Old.LiveDCs);
  New->RegisteredMessages = std::move(Old.RegisteredMessages);
  New->RegisteredNames = std::move(Old.RegisteredNames);
  New->GuiThread = Old.GuiThread;
  New->Themes = std::move(Old.Themes);
  New->LibraryModules = std::move(Old.LibraryModules);
  New->Resources = std::move(Old.Resources);
  delete Slot;
  Slot = New;
}

HWND WinAddWindow(TWindowRef W) {
  auto& St = WinState();
  std::size_t Slot;
  if (!St.FreeSlots.empty()) {
    Slot = St.FreeSlots.back();
    St.FreeSlots.pop_back();
  } else {
    Slot = St.Slots.size();
    if (Slot >= SlotMask) return nullptr;
    St.Slots.emplace_back();
    St.Generations.push_back(0);
  }
  std::uint32_t& Gen = St.Generations[Slot];
  Gen = (Gen % 0xFFF) + 1;
  HWND H = reinterpret_cast<HWND>(std::uintptr_t((Gen << SlotBits) | std::uint32_t(Slot + 1)));
  W->Handle = H;
  St.Slots[Slot] = std::move(W);
  return H;
}

TWindowRef WinLookup(HWND H) {
  auto& St = WinState();
  std::uint32_t V = HandleValue(H);
  if (reinterpret_cast<std::uintptr_t>(H) > 0xFFFFFFFFu || V == 0) return nullptr;
  std::size_t Slot = (V & SlotMask);
  if (Slot == 0 || Slot > St.Slots.size()) return nullptr;
  --Slot;
  if (St.Generations[Slot] != (V >> SlotBits) || !St.Slots[Slot]) return nullptr;
  return St.Slots[Slot];
}

TWindow* WinPtr(HWND H) {
  auto& St = WinState();
  std::uint32_t V = HandleValue(H);
  if (reinterpret_cast<std::uintptr_t>(H) > 0xFFFFFFFFu || V == 0) return nullptr;
  std::size_t Slot = (V & SlotMask);
  if (Slot == 0 || Slot > St.Slots.size()) return nullptr;
  --Slot;
  if (St.Generations[Slot] != (V >> SlotBits)) return nullptr;
  return St.Slots[Slot].get();
}

void WinRemoveHandle(HWND H) {
  auto& St = WinState();
  std::uint32_t V = HandleValue(H);
  std::size_t Slot = (V & SlotMask);
  if (Slot == 0 || Slot > St.Slots.size()) return;
  --Slot;
  if (St.Generations[Slot] != (V >> SlotBits)) return;
  St.Slots[Slot].reset();
  St.Generations[Slot] = (St.Generations[Slot] % 0xFFF) + 1;  // the old handle is dead now
  St.FreeSlots.push_back(Slot);
}

std::vector<HWND> WinAllWindows() {
  std::vector<HWND> R;
  for (auto& W : WinState().Slots)
    if (W && !W->Destroyed) R.push_back(W->Handle);
  return R;
}

std::vector<HWND> WinTopLevels() {
  TWindow* D = WinPtr(GetDesktopWindow());
  return D ? D->Children : std::vector<HWND>{};
}

TPoint WinClientOrigin(const TWindow& W) {
  TPoint P{W.Rect.Left + W.Client.Left, W.Rect.Top + W.Client.Top};
  if (W.Parent)
    if (TWindow* Par = WinPtr(W.Parent)) {
      TPoint O = WinClientOrigin(*Par);
      P.X += O.X;
      P.Y += O.Y;
    }
  return P;
}

TRect WinScreenRect(const TWindow& W) {
  TRect R = W.Rect;
  if (W.Parent)
    if (TWindow* Par = WinPtr(W.Parent)) {
      TPoint O = WinClientOrigin(*Par);
      R = {R.Left + O.X, R.Top + O.Y, R.Right + O.X, R.Bottom + O.Y};
    }
  return R;
}

TRect WinScreenClient(const TWindow& W) {
  TPoint O = WinClientOrigin(W);
  return Bounds(O.X, O.Y, W.Client.Width(), W.Client.Height());
}

HWND WinTopLevelOf(HWND H) {
  TWindow* W = WinPtr(H);
  while (W && W->Parent) {
    H = W->Parent;
    W = WinPtr(H);
  }
  return W ? H : nullptr;
}

bool WinIsVisibleDeep(HWND H) {
  for (TWindow* W = WinPtr(H); W; W = W->Parent ? WinPtr(W->Parent) : nullptr) {
    if (!(W->Style & WS_VISIBLE) || W->MessageOnly) return false;
    if (!W->Parent) return true;
  }
  return false;
}

bool WinIsDescendant(HWND Ancestor, HWND H) {
  for (TWindow* W = WinPtr(H); W; W = WinPtr(W->Parent)) {
    if (H == Ancestor) return true;
    H = W->Parent;
    if (!H) break;
  }
  return false;
}

HWND GetDesktopWindow() {
  auto& St = WinState();
  if (TWindow* D = WinPtr(St.Desktop)) return D->Handle;
  auto D = std::make_shared<TWindow>();
  D->Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  D->Rect = GetScreenRect();
  D->Client = Bounds(0, 0, D->Rect.Width(), D->Rect.Height());
  D->Proc = DefWindowProcA;
  St.Desktop = WinAddWindow(D);
  return St.Desktop;
}

HINSTANCE GetModuleHandleA(const char*) {
  static char Module;
  return reinterpret_cast<HINSTANCE>(&Module);
}

DWORD GetWindowThreadProcessId(HWND Wnd, DWORD* ProcessId) {
  if (!WinPtr(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (ProcessId) *ProcessId = DWORD(::getpid());
  return MessageQueueThreadId();
}

// --- classes ---------------------------------------------------------------------------

ATOM RegisterClassExA(const WNDCLASSEXA* C) {
  if (!C || !C->lpszClassName || !C->lpfnWndProc || C->cbClsExtra < 0 || C->cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (FindClassIn(C->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto& St = WinState();
  auto K = std::make_shared<TWndClass>();
  K->Atom = St.NextAtom++;
  K->Name = C->lpszClassName;
  K->Style = C->style;
  K->Proc = C->lpfnWndProc;
  K->WndExtra = C->cbWndExtra;
  K->Instance = C->hInstance;
  K->Icon = C->hIcon;
  K->IconSm = C->hIconSm;
  K->Cursor = C->hCursor;
  K->Background = C->hbrBackground;
  if (C->lpszMenuName && !IsAtomName(C->lpszMenuName)) K->MenuName = C->lpszMenuName;
  K->ClassExtra.assign(std::size_t(C->cbClsExtra), 0);
  St.Classes.push_back(K);
  return K->Atom;
}

ATOM RegisterClassA(const WNDCLASSA* C) {
  if (!C) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXA E;
  E.style = C->style;
  E.lpfnWndProc = C->lpfnWndProc;
  E.cbClsExtra = C->cbClsExtra;
  E.cbWndExtra = C->cbWndExtra;
  E.hInstance = C->hInstance;
  E.hIcon = C->hIcon;
  E.hCursor = C->hCursor;
  E.hbrBackground = C->hbrBackground;
  E.lpszMenuName = C->lpszMenuName;
  E.lpszClassName = C->lpszClassName;
  return RegisterClassExA(&E);
}

BOOL UnregisterClassA(const char* Name, HINSTANCE) {
  auto K = FindClassIn(Name);
  if (!K) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (K->Windows > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  auto& L = WinState().Classes;
  L.erase(std::remove(L.begin(), L.end(), K), L.end());
  return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, const char* Name, WNDCLASSEXA* Out) {
  auto K = FindClass(Name);
  if (!K || !Out) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  Out->style = K->Style;
  Out->lpfnWndProc = K->Proc;
  Out->cbClsExtra = int(K->ClassExtra.size());
  Out->cbWndExtra = K->WndExtra;
  Out->hInstance = K->Instance;
  Out->hIcon = K->Icon;
  Out->hIconSm = K->IconSm;
  Out->hCursor = K->Cursor;
  Out->hbrBackground = K->Background;
  Out->lpszMenuName = K->MenuName.empty() ? nullptr : K->MenuName.c_str();
  Out->lpszClassName = K->Name.c_str();
  return TRUE;
}

BOOL GetClassInfoA(HINSTANCE I, const char* Name, WNDCLASSA* Out) {
  WNDCLASSEXA E;
  if (!Out || !GetClassInfoExA(I, Name, &E)) return FALSE;
  Out->style = E.style;
  Out->lpfnWndProc = E.lpfnWndProc;
  Out->cbClsExtra = E.cbClsExtra;
  Out->cbWndExtra = E.cbWndExtra;
  Out->hInstance = E.hInstance;
  Out->hIcon = E.hIcon;
  Out->hCursor = E.hCursor;
  Out->hbrBackground = E.hbrBackground;
  Out->lpszMenuName = E.lpszMenuName;
  Out->lpszClassName = E.lpszClassName;
  return TRUE;
}

int GetClassNameA(HWND Wnd, char* Buffer, int MaxCount) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !W->Class || !Buffer || MaxCount <= 0) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  int N = std::min<int>(int(W->Class->Name.size()), MaxCount - 1);
  std::memcpy(Buffer, W->Class->Name.data(), std::size_t(N));
  Buffer[N] = 0;
  return N;
}

ULONG_PTR GetClassLongPtrA(HWND Wnd, int Index) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !W->Class) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  TWndClass& K = *W->Class;
  switch (Index) {
    case GCL_HBRBACKGROUND: return ULONG_PTR(K.Background);
    case GCL_HCURSOR: return ULONG_PTR(K.Cursor);
    case GCL_HICON: return ULONG_PTR(K.Icon);
    case GCL_HICONSM: return ULONG_PTR(K.IconSm);
    case GCL_HMODULE: return ULONG_PTR(K.Instance);
    case GCL_CBWNDEXTRA: return ULONG_PTR(K.WndExtra);
    case GCL_CBCLSEXTRA: return ULONG_PTR(K.ClassExtra.size());
    case GCL_WNDPROC: return ULONG_PTR(K.Proc);
    case GCL_STYLE: return K.Style;
    case GCW_ATOM: return K.Atom;
    default:
      if (Index >= 0 && std::size_t(Index) + sizeof(LONG_PTR) <= K.ClassExtra.size()) {
        ULONG_PTR V;
        std::memcpy(&V, K.ClassExtra.data() + Index, sizeof V);
        return V;
      }
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

ULONG_PTR SetClassLongPtrA(HWND Wnd, int Index, LONG_PTR Value) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !W->Class) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  ULONG_PTR Old = GetClassLongPtrA(Wnd, Index);
  TWndClass& K = *W->Class;
  switch (Index) {
    case GCL_HBRBACKGROUND: K.Background = reinterpret_cast<HBRUSH>(Value); break;
    case GCL_HCURSOR: K.Cursor = reinterpret_cast<HCURSOR>(Value); break;
    case GCL_HICON: K.Icon = reinterpret_cast<HICON>(Value); break;
    case GCL_HICONSM: K.IconSm = reinterpret_cast<HICON>(Value); break;
    case GCL_WNDPROC: K.Proc = reinterpret_cast<WNDPROC>(Value); break;
    case GCL_STYLE: K.Style = UINT(Value); break;
    default:
      if (Index >= 0 && std::size_t(Index) + sizeof(LONG_PTR) <= K.ClassExtra.size()) {
        std::memcpy(K.ClassExtra.data() + Index, &Value, sizeof Value);
        break;
      }
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
  return Old;
}

// --- creation ---------------------------------------------------------------------------------

HWND CreateWindowExA(DWORD ExStyle, const char* ClassName, const char* WindowName, DWORD Style,
                     int X, int Y, int Width, int Height, HWND Parent, HMENU Menu,
                     HINSTANCE Instance, void* Param) {
  auto K = FindClass(ClassName);
  if (!K) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  bool MessageOnly = Parent == HWND_MESSAGE;
  if (MessageOnly) Parent = nullptr;
  if (Parent && !WinPtr(Parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  bool Child = (Style & WS_CHILD) && !MessageOnly;
  if (Child && !Parent) {
    SetLastError(1406);  // ERROR_TLW_WITH_WSCHILD
    return nullptr;
  }
  GetDesktopWindow();

  auto W = std::make_shared<TWindow>();
  W->Class = K;
  W->Proc = K->Proc;
  W->Instance = Instance;
  W->MessageOnly = MessageOnly;
  W->Extra.assign(std::size_t(K->WndExtra), 0);
  if (Child) {
    W->Parent = Parent;
    W->Id = LONG_PTR(reinterpret_cast<std::intptr_t>(Menu));
  } else {
    W->Owner = Parent ? WinTopLevelOf(Parent) : nullptr;
    W->Id = LONG_PTR(reinterpret_cast<std::intptr_t>(Menu));
    Style |= WS_CLIPSIBLINGS;
    if (!(Style & WS_POPUP)) Style |= WS_CAPTION;
  }
  if ((Style & WS_THICKFRAME) || (Style & WS_DLGFRAME) || (ExStyle & WS_EX_DLGMODALFRAME))
    if (!Child || (ExStyle & WS_EX_DLGMODALFRAME)) ExStyle |= WS_EX_WINDOWEDGE;
  DWORD InitialVisible = Style & (WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
  W->Style = Style & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
  W->ExStyle = ExStyle;

  TRect R;
  if (!Child && !(Style & WS_POPUP) && !MessageOnly)
    R = DefaultTopLevelRect(X, Y, Width, Height);
  else
    R = Bounds(X == CW_USEDEFAULT ? 0 : X, Y == CW_USEDEFAULT ? 0 : Y,
               Width == CW_USEDEFAULT ? 0 : std::max(0, Width),
               Height == CW_USEDEFAULT ? 0 : std::max(0, Height));
  if (R.Width() < 0) R.Right = R.Left;
  if (R.Height() < 0) R.Bottom = R.Top;
  W->Rect = R;
  W->NormalRect = R;
  HWND H = WinAddWindow(W);
  if (!H) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  ++K->Windows;
  // A new child goes below its siblings, so sibling order (GW_HWNDNEXT, tab
  // order of dialogs, radio groups) is creation order; a new top-level window
  // comes up on top of the others.
  InsertZ(*W, Child ? HWND_BOTTOM : (ExStyle & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_TOP);
  if (!Child && W->Owner) LiftOwned(W->Owner);

  CREATESTRUCTA Cs;
  Cs.lpCreateParams = Param;
  Cs.hInstance = Instance;
  Cs.hMenu = Menu;
  Cs.hwndParent = Parent;
  Cs.x = R.Left;
  Cs.y = R.Top;
  Cs.cx = R.Width();
  Cs.cy = R.Height();
  Cs.style = LONG(Style);
  Cs.lpszName = WindowName;
  Cs.lpszClass = ClassName;
  Cs.dwExStyle = ExStyle;

  auto Fail = [&] {
    if (IsWindow(H)) DestroyWindow(H);
    return static_cast<HWND>(nullptr);
  };
  if (!Child && ((Style & WS_THICKFRAME) || (Style & WS_CAPTION) == WS_CAPTION)) {
    TRect Adj = W->Rect;
    ApplyMinMax(H, Adj);
    if (!IsWindow(H)) return nullptr;
    W->Rect = Adj;
    Cs.cx = Adj.Width();
    Cs.cy = Adj.Height();
  }
  if (!WinSend(H, WM_NCCREATE, 0, LPARAM(&Cs))) return Fail();
  if (!IsWindow(H)) return nullptr;
  TRect Calc = W->Rect;
  WinSend(H, WM_NCCALCSIZE, FALSE, LPARAM(&Calc));
  if (!IsWindow(H)) return nullptr;
  W->Client = {Calc.Left - W->Rect.Left, Calc.Top - W->Rect.Top, Calc.Right - W->Rect.Left,
               Calc.Bottom - W->Rect.Top};
  if (W->Client.Right < W->Client.Left) W->Client.Right = W->Client.Left;
  if (W->Client.Bottom < W->Client.Top) W->Client.Bottom = W->Client.Top;
  if (WinSend(H, WM_CREATE, 0, LPARAM(&Cs)) == -1) return Fail();
  if (!IsWindow(H)) return nullptr;
  WinSend(H, WM_SIZE, SIZE_RESTORED, MAKELPARAM(W->Client.Width(), W->Client.Height()));
  if (!IsWindow(H)) return nullptr;
  {
    TPoint P{W->Rect.Left + W->Client.Left, W->Rect.Top + W->Client.Top};
    WinSend(H, WM_MOVE, 0, MAKELPARAM(P.X, P.Y));
  }
  if (!IsWindow(H)) return nullptr;
  if (Child) NotifyParents(H, MAKEWPARAM(WM_CREATE, int(W->Id)));
  if (!IsWindow(H)) return nullptr;
  if (InitialVisible & WS_VISIBLE) {
    int Cmd = (InitialVisible & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
              : (InitialVisible & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                               : SW_SHOW;
    ShowWindow(H, Cmd);
  } else if (InitialVisible & (WS_MAXIMIZE | WS_MINIMIZE)) {
    W->Style |= InitialVisible & (WS_MAXIMIZE | WS_MINIMIZE);
  }
  if (!IsWindow(H)) return nullptr;
  return H;
}

BOOL IsWindow(HWND Wnd) {
  TWindow* W = WinPtr(Wnd);
  return W && !W->Destroyed ? TRUE : FALSE;
}

namespace {
void SendDestroy(HWND H) {
  TWindowRef W = WinLookup(H);
  if (!W) return;
  WinSend(H, WM_DESTROY, 0, 0);
  std::vector<HWND> Kids = W->Children;
  for (HWND C : Kids)
    if (TWindow* CW = WinPtr(C); CW && !CW->Destroyed) {
      CW->Destroying = true;
      SendDestroy(C);
    }
}

void FreeTree(HWND H) {
  TWindowRef W = WinLookup(H);
  if (!W || W->Destroyed) return;
  std::vector<HWND> Kids = W->Children;
  for (HWND C : Kids) FreeTree(C);
  WinSend(H, WM_NCDESTROY, 0, 0);
  W->Destroyed = true;
  WinOnDestroyed(H);
  Unlink(*W);
  if (W->Class) --W->Class->Windows;
  if (W->WindowRgn) DeleteObject(W->WindowRgn);
  W->WindowRgn = nullptr;
  SurfaceFree(*W);
  WinRemoveHandle(H);
}

void DestroyTree(HWND H) {
  TWindowRef W = WinLookup(H);
  if (!W || W->Destroying) return;
  W->Destroying = true;
  // Owned windows go first.
  if (!W->Parent) {
    for (HWND O : WinAllWindows())
      if (TWindow* OW = WinPtr(O); OW && OW->Owner == H && !OW->Destroying) DestroyWindow(O);
  }
  if (!IsWindow(H)) return;
  if (W->Style & WS_VISIBLE)
    SetWindowPos(H, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                     (GetActiveWindow() == H ? 0u : UINT(SWP_NOACTIVATE)));
  if (!IsWindow(H)) return;
  if (W->Style & WS_CHILD) NotifyParents(H, MAKEWPARAM(WM_DESTROY, int(W->Id)));
  if (!IsWindow(H)) return;
  if (HWND C = GetCapture(); C && WinIsDescendant(H, C)) ReleaseCapture();
  if (!IsWindow(H)) return;
  SendDestroy(H);
  FreeTree(H);
}
}  // namespace

BOOL DestroyWindow(HWND Wnd) {
  TWindowRef W = WinLookup(Wnd);
  if (!W || W->Destroyed || Wnd == WinState().Desktop) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (W->Destroying) return TRUE;
  DestroyTree(Wnd);
  return TRUE;
}

// --- relations -----------------------------------------------------------------------------

HWND GetParent(HWND Wnd) {
  TWindow* W = WinPtr(Wnd);
  if (!W) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (W->Style & WS_CHILD) return W->Parent;
  if (W->Style & WS_POPUP) return W->Owner;
  return nullptr;
}

HWND SetParent(HWND Child, HWND NewParent) {
  TWindowRef W = WinLookup(Child);
  if (!W || (NewParent && !WinPtr(NewParent)) || WinIsDescendant(Child, NewParent)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HWND Old = W->Parent ? W->Parent : GetDesktopWindow();
  bool WasVisible = W->Style & WS_VISIBLE;
  if (WasVisible)
    SetWindowPos(Child, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!IsWindow(Child)) return nullptr;
  TRect Screen = WinScreenRect(*W);
  Unlink(*W);
  if (!W->Parent) SurfaceFree(*W);
  W->Parent = NewParent == GetDesktopWindow() ? nullptr : NewParent;
  // The window keeps its position relative to the new parent's client area,
  // as the numbers it had, like Windows.
  (void)Screen;
  InsertZ(*W, HWND_TOP);
  if (WasVisible) ShowWindow(Child, SW_SHOWNA);
  return Old;
}

HWND GetAncestor(HWND Wnd, UINT Flags) {
  TWindow* W = WinPtr(Wnd);
  if (!W || Wnd == WinState().Desktop) return nullptr;
  switch (Flags) {
    case GA_PARENT: return W->Parent ? W->Parent : GetDesktopWindow();
    case GA_ROOT: return WinTopLevelOf(Wnd);
    case GA_ROOTOWNER: {
      HWND H = WinTopLevelOf(Wnd);
      while (TWindow* T = WinPtr(H)) {
        if (!T->Owner) break;
        H = T->Owner;
      }
      return H;
    }
    default: return nullptr;
  }
}

HWND GetWindow(HWND Wnd, UINT Cmd) {
  TWindow* W = WinPtr(Wnd);
  if (!W) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (Cmd == GW_CHILD) return W->Children.empty() ? nullptr : W->Children.front();
  if (Cmd == GW_OWNER) return W->Parent ? nullptr : W->Owner;
  if (Cmd == GW_ENABLEDPOPUP) {
    for (HWND H : WinTopLevels())
      if (TWindow* P = WinPtr(H); P && P->Owner == Wnd && (P->Style & WS_VISIBLE) &&
                                  !(P->Style & WS_DISABLED))
        return H;
    return nullptr;
  }
  auto* L = SiblingList(*W);
  if (!L || L->empty()) return nullptr;
  auto It = std::find(L->begin(), L->end(), Wnd);
  switch (Cmd) {
    case GW_HWNDFIRST: return L->front();
    case GW_HWNDLAST: return L->back();
    case GW_HWNDNEXT: return It == L->end() || It + 1 == L->end() ? nullptr : *(It + 1);
    case GW_HWNDPREV: return It == L->end() || It == L->begin() ? nullptr : *(It - 1);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND GetTopWindow(HWND Wnd) { return GetWindow(Wnd ? Wnd : GetDesktopWindow(), GW_CHILD); }
HWND GetNextWindow(HWND Wnd, UINT Cmd) { return GetWindow(Wnd, Cmd); }

BOOL IsChild(HWND Parent, HWND Wnd) {
  TWindow* W = WinPtr(Wnd);
  while (W && (W->Style & WS_CHILD) && W->Parent) {
    if (W->Parent == Parent) return TRUE;
    W = WinPtr(W->Parent);
  }
  return FALSE;
}

HWND GetLastActivePopup(HWND Wnd) {
  if (!WinPtr(Wnd)) return nullptr;
  HWND A = GetActiveWindow();
  if (TWindow* AW = WinPtr(A); AW && AW->Owner == Wnd) return A;
  return Wnd;
}

namespace {
BOOL EnumList(const std::vector<HWND>& L, WNDENUMPROC Proc, LPARAM Param, bool Deep) {
  for (HWND H : L) {
    if (!IsWindow(H)) continue;
    if (!Proc(H, Param)) return FALSE;
    if (Deep)
      if (TWindow* W = WinPtr(H))
        if (!EnumList(std::vector<HWND>(W->Children), Proc, Param, true)) return FALSE;
  }
  return TRUE;
}
}  // namespace

BOOL EnumWindows(WNDENUMPROC Proc, LPARAM Param) {
  if (!Proc) return FALSE;
  EnumList(WinTopLevels(), Proc, Param, false);
  return TRUE;
}

BOOL EnumThreadWindows(DWORD, WNDENUMPROC Proc, LPARAM Param) { return EnumWindows(Proc, Param); }

BOOL EnumChildWindows(HWND Parent, WNDENUMPROC Proc, LPARAM Param) {
  TWindow* W = WinPtr(Parent ? Parent : GetDesktopWindow());
  if (!W || !Proc) return FALSE;
  EnumList(std::vector<HWND>(W->Children), Proc, Param, true);
  return TRUE;
}

HWND FindWindowExA(HWND Parent, HWND ChildAfter, const char* ClassName, const char* WindowName) {
  TWindow* P = WinPtr(Parent ? Parent : GetDesktopWindow());
  if (!P) return nullptr;
  bool Started = ChildAfter == nullptr;
  for (HWND H : P->Children) {
    if (!Started) {
      Started = H == ChildAfter;
      continue;
    }
    TWindow* W = WinPtr(H);
    if (!W) continue;
    if (ClassName) {
      auto K = FindClass(ClassName);
      if (K != W->Class) continue;
    }
    if (WindowName && W->Text != WindowName) continue;
    return H;
  }
  return nullptr;
}

HWND FindWindowA(const char* ClassName, const char* WindowName) {
  return FindWindowExA(nullptr, nullptr, ClassName, WindowName);
}

HWND GetDlgItem(HWND Dlg, int Id) {
  TWindow* P = WinPtr(Dlg);
  if (!P) return nullptr;
  for (HWND H : P->Children)
    if (TWindow* W = WinPtr(H); W && W->Id == Id) return H;
  return nullptr;
}

int GetDlgCtrlID(HWND Wnd) {
  TWindow* W = WinPtr(Wnd);
  return W && (W->Style & WS_CHILD) ? int(W->Id) : 0;
}

// --- data ------------------------------------------------------------------------------------

LONG_PTR GetWindowLongPtrA(HWND Wnd, int Index) {
  TWindow* W = WinPtr(Wnd);
  if (!W) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (Index) {
    case GWL_WNDPROC: return LONG_PTR(W->Proc);
    case GWL_HINSTANCE: return LONG_PTR(W->Instance);
    case GWL_HWNDPARENT: return LONG_PTR(W->Parent ? W->Parent : W->Owner);
    case GWL_ID: return W->Id;
    case GWL_STYLE: return LONG_PTR(std::int32_t(W->Style));
    case GWL_EXSTYLE: return LONG_PTR(W->ExStyle);
    case GWL_USERDATA: return W->UserData;
    default: break;
  }
  if (Index >= 0 && std::size_t(Index) + sizeof(LONG_PTR) <= W->Extra.size()) {
    LONG_PTR V;
    std::memcpy(&V, W->Extra.data() + Index, sizeof V);
    return V;
  }
  if (Index >= 0 && std::size_t(Index) + 4 <= W->Extra.size()) {
    std::int32_t V;
    std::memcpy(&V, W->Extra.data() + Index, sizeof V);
    return V;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

LONG_PTR SetWindowLongPtrA(HWND Wnd, int Index, LONG_PTR Value) {
  TWindowRef W = WinLookup(Wnd);
  if (!W) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  LONG_PTR Old = GetWindowLongPtrA(Wnd, Index);
  switch (Index) {
    case GWL_WNDPROC: W->Proc = reinterpret_cast<WNDPROC>(Value); return Old;
    case GWL_HINSTANCE: W->Instance = reinterpret_cast<HINSTANCE>(Value); return Old;
    case GWL_HWNDPARENT:
      if (!W->Parent) {
        W->Owner = reinterpret_cast<HWND>(Value);
        if (W->Owner) LiftOwned(W->Owner);
      }
      return Old;
    case GWL_ID: W->Id = Value; return Old;
    case GWL_USERDATA: W->UserData = Value; return Old;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      STYLESTRUCT Ss;
      Ss.styleOld = Index == GWL_STYLE ? W->Style : W->ExStyle;
      Ss.styleNew = DWORD(Value);
      WinSend(Wnd, WM_STYLECHANGING, WPARAM(Index), LPARAM(&Ss));
      if (!IsWindow(Wnd)) return 0;
      if (Index == GWL_STYLE) W->Style = Ss.styleNew;
      else W->ExStyle = Ss.styleNew;
      WinSend(Wnd, WM_STYLECHANGED, WPARAM(Index), LPARAM(&Ss));
      return LONG_PTR(std::int32_t(Ss.styleOld));
    }
    default: break;
  }
  if (Index >= 0 && std::size_t(Index) + sizeof(LONG_PTR) <= W->Extra.size()) {
    std::memcpy(W->Extra.data() + Index, &Value, sizeof Value);
    return Old;
  }
  if (Index >= 0 && std::size_t(Index) + 4 <= W->Extra.size()) {
    std::int32_t V = std::int32_t(Value);
    std::memcpy(W->Extra.data() + Index, &V, sizeof V);
    return Old;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

BOOL SetPropA(HWND Wnd, const char* Name, HANDLE Data) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !Name) return FALSE;
  W->Props[IsAtomName(Name) ? AtomKey(Name) : ClassKey(Name)] = Data;
  return TRUE;
}

HANDLE GetPropA(HWND Wnd, const char* Name) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !Name) return nullptr;
  auto It = W->Props.find(IsAtomName(Name) ? AtomKey(Name) : ClassKey(Name));
  return It == W->Props.end() ? nullptr : It->second;
}

HANDLE RemovePropA(HWND Wnd, const char* Name) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !Name) return nullptr;
  auto It = W->Props.find(IsAtomName(Name) ? AtomKey(Name) : ClassKey(Name));
  if (It == W->Props.end()) return nullptr;
  HANDLE D = It->second;
  W->Props.erase(It);
  return D;
}

LRESULT CallWindowProcA(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  if (!Proc) return 0;
  return Proc(Wnd, Msg, W, L);
}

// --- text ----------------------------------------------------------------------------------------

BOOL SetWindowTextA(HWND Wnd, const char* Text) {
  if (!IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return WinSend(Wnd, WM_SETTEXT, 0, LPARAM(Text ? Text : "")) ? TRUE : FALSE;
}

int GetWindowTextA(HWND Wnd, char* Buffer, int MaxCount) {
  if (!Buffer || MaxCount <= 0) return 0;
  Buffer[0] = 0;
  if (!IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return int(WinSend(Wnd, WM_GETTEXT, WPARAM(MaxCount), LPARAM(Buffer)));
}

int GetWindowTextLengthA(HWND Wnd) {
  if (!IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return int(WinSend(Wnd, WM_GETTEXTLENGTH, 0, 0));
}

AnsiString WindowTextOf(HWND Wnd) {
  TWindow* W = WinPtr(Wnd);
  return W ? W->Text : AnsiString();
}

// --- placement ----------------------------------------------------------------------------------

BOOL GetWindowRect(HWND Wnd, TRect* R) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !R) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *R = WinScreenRect(*W);
  return TRUE;
}

BOOL GetClientRect(HWND Wnd, TRect* R) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !R) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *R = {0, 0, W->Client.Width(), W->Client.Height()};
  return TRUE;
}

BOOL ClientToScreen(HWND Wnd, TPoint* P) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !P) return FALSE;
  TPoint O = WinClientOrigin(*W);
  P->X += O.X;
  P->Y += O.Y;
  return TRUE;
}

BOOL ScreenToClient(HWND Wnd, TPoint* P) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !P) return FALSE;
  TPoint O = WinClientOrigin(*W);
  P->X -= O.X;
  P->Y -= O.Y;
  return TRUE;
}

int MapWindowPoints(HWND From, HWND To, TPoint* Points, UINT Count) {
  TPoint A, B;
  if (From) {
    TWindow* W = WinPtr(From);
    if (!W) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    A = WinClientOrigin(*W);
  }
  if (To) {
    TWindow* W = WinPtr(To);
    if (!W) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    B = WinClientOrigin(*W);
  }
  int Dx = A.X - B.X, Dy = A.Y - B.Y;
  for (UINT I = 0; Points && I < Count; ++I) {
    Points[I].X += Dx;
    Points[I].Y += Dy;
  }
  SetLastError(0);
  return int(MAKELONG(Dx, Dy));
}

BOOL MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, BOOL Repaint) {
  return SetWindowPos(Wnd, nullptr, X, Y, Width, Height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (Repaint ? 0u : UINT(SWP_NOREDRAW)));
}

BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Cx, int Cy, UINT Flags) {
  TWindowRef W = WinLookup(Wnd);
  if (!W || Wnd == WinState().Desktop) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  bool TopLevel = !W->Parent;
  if (!TopLevel) Flags |= SWP_NOACTIVATE;
  if (W->Style & WS_VISIBLE) Flags &= ~SWP_SHOWWINDOW;
  else Flags &= ~SWP_HIDEWINDOW;
  WINDOWPOS Wp;
  Wp.hwnd = Wnd;
  Wp.hwndInsertAfter = InsertAfter;
  Wp.x = (Flags & SWP_NOMOVE) ? W->Rect.Left : X;
  Wp.y = (Flags & SWP_NOMOVE) ? W->Rect.Top : Y;
  Wp.cx = (Flags & SWP_NOSIZE) ? W->Rect.Width() : std::max(0, Cx);
  Wp.cy = (Flags & SWP_NOSIZE) ? W->Rect.Height() : std::max(0, Cy);
  Wp.flags = Flags;
  if (!(Flags & SWP_NOSENDCHANGING)) {
    WinSend(Wnd, WM_WINDOWPOSCHANGING, 0, LPARAM(&Wp));
    if (!IsWindow(Wnd)) return FALSE;
  }
  Flags = Wp.flags;
  Wp.cx = std::max(0, Wp.cx);
  Wp.cy = std::max(0, Wp.cy);
  TRect OldRect = W->Rect;
  TRect OldScreen = WinScreenRect(*W);
  TRect NewRect = Bounds(Wp.x, Wp.y, Wp.cx, Wp.cy);
  bool Moved = NewRect.TopLeft() != OldRect.TopLeft();
  bool Sized = NewRect.Width() != OldRect.Width() || NewRect.Height() != OldRect.Height();
  if (!Moved) Flags |= SWP_NOMOVE;
  if (!Sized) Flags |= SWP_NOSIZE;
  bool Showing = Flags & SWP_SHOWWINDOW;
  bool Hiding = Flags & SWP_HIDEWINDOW;

  bool ZChanged = false;
  if (!(Flags & SWP_NOZORDER)) {
    auto* L = SiblingList(*W);
    std::vector<HWND> Before = L ? *L : std::vector<HWND>{};
    DWORD OldEx = W->ExStyle;
    InsertZ(*W, Wp.hwndInsertAfter);
    if (TopLevel && !(Flags & SWP_NOOWNERZORDER)) LiftOwned(Wnd);
    ZChanged = (L && Before != *L) || OldEx != W->ExStyle;
  }

  if (Sized || (Flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS P;
    P.rgrc[0] = NewRect;
    P.rgrc[1] = OldRect;
    P.rgrc[2] = {OldRect.Left + W->Client.Left, OldRect.Top + W->Client.Top,
                 OldRect.Left + W->Client.Right, OldRect.Top + W->Client.Bottom};
    P.lppos = &Wp;
    W->Rect = NewRect;
    WinSend(Wnd, WM_NCCALCSIZE, TRUE, LPARAM(&P));
    if (!IsWindow(Wnd)) return FALSE;
    TRect C = P.rgrc[0];
    W->Client = {C.Left - NewRect.Left, C.Top - NewRect.Top,
                 std::max(C.Left, C.Right) - NewRect.Left, std::max(C.Top, C.Bottom) - NewRect.Top};
  }
  W->Rect = NewRect;
  if (Showing) W->Style |= WS_VISIBLE;
  if (Hiding) W->Style &= ~WS_VISIBLE;
  if (TopLevel && (W->Style & WS_VISIBLE)) SurfaceEnsure(*W);

  bool Changed = Moved || Sized || ZChanged || Showing || Hiding || (Flags & SWP_FRAMECHANGED);
  if (Changed && !(Flags & SWP_NOREDRAW)) {
    if (W->Style & WS_VISIBLE) {
      if (Showing || Sized || (Flags & SWP_FRAMECHANGED) || (!TopLevel && (Moved || ZChanged)))
        RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    if (!TopLevel && (Hiding || Moved || Sized) && W->Parent) {
      // Uncovered parts of the parent repaint; in parent client coordinates.
      TRect Old = OldRect;
      if (WinIsVisibleDeep(W->Parent) && (Hiding || (W->Style & WS_VISIBLE)))
        RedrawWindow(W->Parent, &Old, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
  }
  (void)OldScreen;
  if (TopLevel) Display().WindowChanged(Wnd);

  if (Hiding) {
    HWND Focus = GetFocus();
    if (Focus && WinIsDescendant(Wnd, Focus) && !TopLevel) SetFocus(W->Parent);
    if (TopLevel && GetActiveWindow() == Wnd) WinActivateNext(Wnd);
  }
  if (Changed) {
    Wp.flags = Flags;
    WinSend(Wnd, WM_WINDOWPOSCHANGED, 0, LPARAM(&Wp));
    if (!IsWindow(Wnd)) return TRUE;
  }
  if (TopLevel && !(Flags & SWP_NOACTIVATE) && (W->Style & WS_VISIBLE) && !W->MessageOnly &&
      !(W->ExStyle & WS_EX_NOACTIVATE))
    WinActivate(Wnd, WA_ACTIVE);
  return TRUE;
}

BOOL BringWindowToTop(HWND Wnd) {
  return SetWindowPos(Wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL ShowWindow(HWND Wnd, int Cmd) {
  TWindowRef W = WinLookup(Wnd);
  if (!W) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  bool WasVisible = W->Style & WS_VISIBLE;
  bool Child = W->Parent != nullptr;
  UINT Swp = SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE;
  WPARAM SizeType = SIZE_RESTORED;
  bool Activate = false;
  switch (Cmd) {
    case SW_HIDE:
      if (!WasVisible) return FALSE;
      WinSend(Wnd, WM_SHOWWINDOW, FALSE, 0);
      if (!IsWindow(Wnd)) return TRUE;
      SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, Swp | SWP_HIDEWINDOW | SWP_NOACTIVATE);
      return TRUE;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
      if (!(W->Style & (WS_MINIMIZE | WS_MAXIMIZE))) W->NormalRect = W->Rect;
      W->Style = (W->Style | WS_MINIMIZE) & ~WS_MAXIMIZE;
      SizeType = SIZE_MINIMIZED;
      Swp &= ~(SWP_NOMOVE | SWP_NOSIZE);
      Swp |= SWP_FRAMECHANGED;
      Activate = Cmd == SW_SHOWMINIMIZED;
      break;
    case SW_SHOWMAXIMIZED:
      if (!(W->Style & (WS_MINIMIZE | WS_MAXIMIZE))) W->NormalRect = W->Rect;
      W->Style = (W->Style | WS_MAXIMIZE) & ~WS_MINIMIZE;
      SizeType = SIZE_MAXIMIZED;
      Swp &= ~(SWP_NOMOVE | SWP_NOSIZE);
      Swp |= SWP_FRAMECHANGED;
      Activate = true;
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
      if (W->Style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        W->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        Swp &= ~(SWP_NOMOVE | SWP_NOSIZE);
        Swp |= SWP_FRAMECHANGED;
      }
      Activate = true;
      break;
    case SW_SHOW: Activate = true; break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE: break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
  if (!WasVisible) {
    WinSend(Wnd, WM_SHOWWINDOW, TRUE, 0);
    if (!IsWindow(Wnd)) return FALSE;
    Swp |= SWP_SHOWWINDOW;
  }
  if (!Activate || Child) Swp |= SWP_NOACTIVATE;
  else Swp &= ~SWP_NOZORDER;
  TRect R = W->Rect;
  if (SizeType == SIZE_MAXIMIZED) {
    TRect Work = GetWorkAreaRect();
    R = Work;
    if (!Child) {
      int Fx = W->Rect.Width() - W->Client.Width(), Fy = W->Rect.Height() - W->Client.Height();
      (void)Fx;
      (void)Fy;
      MINMAXINFO Mmi;
      Mmi.ptMaxSize = {Work.Width() + 2 * GetSystemMetrics(SM_CXFRAME),
                       Work.Height() + 2 * GetSystemMetrics(SM_CYFRAME)};
      Mmi.ptMaxPosition = {Work.Left - GetSystemMetrics(SM_CXFRAME),
                           Work.Top - GetSystemMetrics(SM_CYFRAME)};
      Mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
      Mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
      WinSend(Wnd, WM_GETMINMAXINFO, 0, LPARAM(&Mmi));
      if (!IsWindow(Wnd)) return FALSE;
      R = Bounds(Mmi.ptMaxPosition.X, Mmi.ptMaxPosition.Y, Mmi.ptMaxSize.X, Mmi.ptMaxSize.Y);
    } else if (TWindow* P = WinPtr(W->Parent)) {
      R = {0, 0, P->Client.Width(), P->Client.Height()};
    }
  } else if (SizeType == SIZE_MINIMIZED) {
    R = Bounds(-32000, -32000, GetSystemMetrics(SM_CXMINIMIZED), GetSystemMetrics(SM_CYMINIMIZED));
  } else if (!(Swp & SWP_NOSIZE)) {
    R = W->NormalRect;
  }
  SetWindowPos(Wnd, HWND_TOP, R.Left, R.Top, R.Width(), R.Height(), Swp);
  return WasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND Wnd) { return WinIsVisibleDeep(Wnd) ? TRUE : FALSE; }

BOOL IsIconic(HWND Wnd) {
  TWindow* W = WinPtr(Wnd);
  return W && (W->Style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND Wnd) {
  TWindow* W = WinPtr(Wnd);
  return W && (W->Style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL GetWindowPlacement(HWND Wnd, WINDOWPLACEMENT* P) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !P) return FALSE;
  P->flags = 0;
  P->showCmd = !(W->Style & WS_VISIBLE)    ? SW_HIDE
               : (W->Style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
               : (W->Style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                          : SW_SHOWNORMAL;
  P->ptMinPosition = {-1, -1};
  P->ptMaxPosition = {-1, -1};
  P->rcNormalPosition = (W->Style & (WS_MINIMIZE | WS_MAXIMIZE)) ? W->NormalRect : W->Rect;
  return TRUE;
}

BOOL SetWindowPlacement(HWND Wnd, const WINDOWPLACEMENT* P) {
  TWindowRef W = WinLookup(Wnd);
  if (!W || !P) return FALSE;
  W->NormalRect = P->rcNormalPosition;
  if (!(W->Style & (WS_MINIMIZE | WS_MAXIMIZE))) {
    const TRect& R = P->rcNormalPosition;
    SetWindowPos(Wnd, nullptr, R.Left, R.Top, R.Width(), R.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(Wnd, int(P->showCmd));
  return TRUE;
}

BOOL AdjustWindowRectEx(TRect* R, DWORD Style, BOOL Menu, DWORD ExStyle) {
  if (!R) return FALSE;
  TWindow Probe;
  Probe.Style = Style;
  Probe.ExStyle = ExStyle;
  Probe.Id = Menu ? 1 : 0;
  TRect Outer = Bounds(0, 0, 1000, 1000);
  TRect C = NcClientFromWindow(Probe, Outer);
  // The scroll bars are not part of the adjustment, as on Windows.
  if (Style & WS_VSCROLL) C.Right += GetSystemMetrics(SM_CXVSCROLL);
  if (Style & WS_HSCROLL) C.Bottom += GetSystemMetrics(SM_CYHSCROLL);
  R->Left -= C.Left - Outer.Left;
  R->Top -= C.Top - Outer.Top;
  R->Right += Outer.Right - C.Right;
  R->Bottom += Outer.Bottom - C.Bottom;
  return TRUE;
}

BOOL AdjustWindowRect(TRect* R, DWORD Style, BOOL Menu) { return AdjustWindowRectEx(R, Style, Menu, 0); }

// --- regions -----------------------------------------------------------------------------------

int SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw) {
  TWindowRef W = WinLookup(Wnd);
  if (!W) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (W->WindowRgn && W->WindowRgn != Rgn) DeleteObject(W->WindowRgn);
  W->WindowRgn = Rgn;
  if (Redraw && (W->Style & WS_VISIBLE))
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return 1;
}

int GetWindowRgn(HWND Wnd, HRGN Rgn) {
  TWindow* W = WinPtr(Wnd);
  if (!W || !W->WindowRgn || !Rgn) return ERROR;
  return CombineRgn(Rgn, W->WindowRgn, nullptr, RGN_COPY);
}

// --- hit testing ------------------------------------------------------------------------------

namespace {
bool InWindowShape(const TWindow& W, TPoint Screen) {
  TRect R = WinScreenRect(W);
  if (!R.Contains(Screen)) return false;
  if (W.WindowRgn) return PtInRegion(W.WindowRgn, Screen.X - R.Left, Screen.Y - R.Top);
  return true;
}
}  // namespace

HWND WindowFromPoint(TPoint Pt) {
  // Top-level first, then down through enabled, visible children; a window
  // answering HTTRANSPARENT passes the point to the next one below it.
  std::vector<HWND> Candidates;
  std::function<void(HWND)> Collect = [&](HWND H) {
    TWindow* W = WinPtr(H);
    if (!W) return;
    for (HWND C : W->Children) {
      TWindow* CW = WinPtr(C);
      if (!CW || !(CW->Style & WS_VISIBLE) || !InWindowShape(*CW, Pt)) continue;
      if ((CW->Style & WS_DISABLED) && (CW->Style & WS_CHILD)) continue;
      if (WinScreenClient(*CW).Contains(Pt)) Collect(C);
      Candidates.push_back(C);
    }
  };
  Collect(GetDesktopWindow());
  for (HWND H : Candidates) {
    if (!IsWindow(H)) continue;
    TWindow* W = WinPtr(H);
    if (W->Style & WS_DISABLED) return H;
    LRESULT Hit = WinSend(H, WM_NCHITTEST, 0, MAKELPARAM(Pt.X, Pt.Y));
    if (Hit != HTTRANSPARENT) return H;
  }
  return nullptr;
}

HWND ChildWindowFromPointEx(HWND Parent, TPoint Pt, UINT Flags) {
  TWindow* P = WinPtr(Parent);
  if (!P) return nullptr;
  if (!TRect(0, 0, P->Client.Width(), P->Client.Height()).Contains(Pt)) return nullptr;
  for (HWND C : P->Children) {
    TWindow* W = WinPtr(C);
    if (!W) continue;
    if ((Flags & CWP_SKIPINVISIBLE) && !(W->Style & WS_VISIBLE)) continue;
    if ((Flags & CWP_SKIPDISABLED) && (W->Style & WS_DISABLED)) continue;
    if ((Flags & CWP_SKIPTRANSPARENT) && (W->ExStyle & WS_EX_TRANSPARENT)) continue;
    if (W->Rect.Contains(Pt)) return C;
  }
  return Parent;
}

HWND ChildWindowFromPoint(HWND Parent, TPoint Pt) { return ChildWindowFromPointEx(Parent, Pt, CWP_ALL); }

HWND RealChildWindowFromPoint(HWND Parent, TPoint Pt) {
  return ChildWindowFromPointEx(Parent, Pt, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
}

// --- reset -----------------------------------------------------------------------------------------

namespace {
// Outlives every reset: the layers above register once.
std::vector<void (*)()>& ResetHooks() {
  static std::vector<void (*)()> Hooks;
  return Hooks;
}
}  // namespace

void AddWindowSystemResetHook(void (*Hook)()) {
  auto& Hooks = ResetHooks();
  if (Hook && std::find(Hooks.begin(), Hooks.end(), Hook) == Hooks.end()) Hooks.push_back(Hook);
}

void ResetWindowSystem() {
  for (auto* Hook : ResetHooks()) Hook();
  auto& St = WinState();
  for (HWND H : WinTopLevels()) DestroyWindow(H);
  for (HWND H : WinAllWindows())
    if (H != St.Desktop) DestroyWindow(H);
  ClipboardReset();  // frees the data it holds
  HotKeysReset();    // gives up the desktop's grabs
  WinStateRenew();
}
