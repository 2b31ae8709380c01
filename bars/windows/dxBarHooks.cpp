// dxBarHooks.cpp — the thread hooks that give bars their keys and clicks
// (Alt and F10 for the main menu, shortcuts anywhere on the form, keys to an
// open menu, clicks outside menus, context menus of bound controls), the
// owner form's messages, the hint timing, popup menus and their links.
#include <algorithm>
#include <cctype>
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarCustomizingHooks.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "bars/windows/dxBarItemControls.h"
#include "bars/windows/dxBarWindows.h"
#include "bars/windows/dxBarWindowsInternal.h"
#include "controls/base/cxClasses.h"
#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/forms/Screen.h"
#include "platform/win/Cursors.h"
#include "platform/win/Paint.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Font.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Hooks.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

namespace {
struct TUnitState {
  HHOOK Keyboard = nullptr, Mouse = nullptr, CallWnd = nullptr;
  TdxBarHintWindow* Hint = nullptr;
  HWND Utility = nullptr;
  bool AltAlone = false;
  WORD EatKeyUp = 0;
  bool CaptionButton = false;
  bool InMouseHook = false, InCallWndHook = false;
  std::vector<TCustomdxBarControl*> ToFree;
  bool FreePosted = false;
  // Hint timing.
  TdxBarManager* HintManager = nullptr;
  TCustomdxBarControl* HintBar = nullptr;
  UINT_PTR HintTimer = 0, QuickTimer = 0;
  bool HintShowTimer = false;  // the hint timer waits to show (else to hide)
  bool QuickReshow = false;
  bool HintShown = false;
  AnsiString HintText;
};
TUnitState& U() {
  static TUnitState S;
  return S;
}

constexpr UINT WM_DXBAR_FREE = WM_USER + 3;

void FreePending() {
  U().FreePosted = false;
  std::vector<TCustomdxBarControl*> List;
  List.swap(U().ToFree);
  for (TCustomdxBarControl* B : List)
    if (IsLiveBarControl(B)) delete B;
}

void UtilityWndProc(TMessage& M) {
  if (M.Msg == WM_DXBAR_FREE) {
    FreePending();
    return;
  }
  M.Result = DefWindowProcA(U().Utility, M.Msg, M.WParam, M.LParam);
}

TdxBarManager* ManagerOfWindow(HWND Wnd) {
  TWinControl* C = FindControl(Wnd);
  while (!C && Wnd) {
    Wnd = ::GetParent(Wnd);
    C = FindControl(Wnd);
  }
  if (!C) return nullptr;
  TCustomForm* F = GetParentForm(C);
  return F ? GetBarManagerOfForm(F) : nullptr;
}

TdxBarManager* ManagerOfFocus() {
  HWND Focus = GetFocus();
  if (TdxBarManager* M = ManagerOfWindow(Focus)) return M;
  return ManagerOfWindow(GetActiveWindow());
}

// The state as of the key message being handled: input queued behind it
// (an Alt released right after Alt+E) must not change what it means.
bool KeyDown(int Vk) { return GetKeyState(Vk) < 0; }

bool SearchShortCut(TdxBarManager* M, TShortCut S) {
  if (TdxBar* Main = M->MainMenuBar())
    if (Main->ItemLinks()->FindShortCut(S)) return true;
  for (Integer I = 0; I < M->Bars()->Count(); ++I) {
    TdxBar* B = M->Bars()->GetItem(I);
    if (B->GetIsMainMenu() || !B->GetVisible()) continue;
    TCustomdxBarControl* W = B->ItemLinks()->BarControl();
    if (!W || !W->HandleAllocated() || !IsWindowVisible(W->Handle())) continue;
    if (B->ItemLinks()->FindShortCut(S)) return true;
  }
  return false;
}

bool ProcessShortCutKey(TdxBarManager* M, WORD Key) {
  TShortCut S = Key;
  if (KeyDown(VK_SHIFT)) S |= scShift;
  if (KeyDown(VK_CONTROL)) S |= scCtrl;
  if (KeyDown(VK_MENU)) S |= scAlt;
  if (auto* Focused = FindControl(GetFocus()))
    if (dxBarPopupMenuLinks(M)->ProcessShortCut(Focused, S)) return true;
  if (SearchShortCut(M, S)) return true;
  if (!KeyDown(VK_MENU)) return false;
  // Alt with a character: the accelerator of a main-menu title or of a
  // toolbar entry.
  char Ch = 0;
  if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) Ch = char(Key);
  if (!Ch) return false;
  TdxBarItemLink* L = nullptr;
  if (TdxBar* Main = M->MainMenuBar()) L = Main->ItemLinks()->FindAccelerator(Ch);
  for (Integer I = 0; !L && I < M->Bars()->Count(); ++I) {
    TdxBar* B = M->Bars()->GetItem(I);
    if (!B->GetIsMainMenu() && B->GetVisible() && B->ItemLinks()->BarControl()) L = B->ItemLinks()->FindAccelerator(Ch);
  }
  if (!L || !L->GetItem() || !L->GetItem()->GetEnabled() || !L->Control()) return false;
  auto* W = dynamic_cast<TdxBarControl*>(L->Links()->BarControl());
  if (!W) return false;
  TdxBarItemControl* C = L->Control();
  const bool Unique = L->NextWithSameAccelerator() == L;
  if (!Unique || dynamic_cast<TdxBarWinControl*>(C)) {
    W->EnterMenuMode(C);
    return true;
  }
  if (auto* Sub = dynamic_cast<TdxBarSubItemControl*>(C)) {
    W->EnterMenuMode(C);
    W->SetMenusOpenOnSelect(true);
    Sub->Click(false);
  } else C->Click(false);
  return true;
}

LRESULT BarKeyboardHookProc(int Code, WPARAM W, LPARAM L) {
  TUnitState& S = U();
  const bool Up = L < 0 || (std::uintptr_t(L) & 0x80000000u);
  const WORD Key = WORD(W);
  auto Next = [&] { return CallNextHookEx(S.Keyboard, Code, W, L); };
  if (Code == HC_NOREMOVE) return Next();
  if (S.CaptionButton) return 1;
  if (Code < 0 || Key == VK_PROCESSKEY) return Next();
  if (Up && S.EatKeyUp == Key) {
    S.EatKeyUp = 0;
    return 1;
  }
  if (TCustomdxBarControl* Active = GetActiveBarControl()) {
    auto* Win = dynamic_cast<TdxBarWinControl*>(Active->SelectedControl());
    if (!Active->IsCustomizing() && !(Win && Win->Editing())) {
      if (!Up) S.EatKeyUp = Key;
      SendMessageA(Active->Handle(), Up ? WM_KEYUP : WM_KEYDOWN, W, L);
      if (GetActiveBarControl() || GetKeyState(Key) >= 0) S.EatKeyUp = 0;
      S.AltAlone = false;
      return 1;
    }
  }
  if (GetCapture()) return Next();
  TdxBarManager* M = ManagerOfFocus();
  // The context-menu key, or Shift+F10: the focused control's bound menu.
  if ((Up && Key == VK_APPS) || (!Up && Key == VK_F10 && KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL))) {
    if (M)
      if (auto* Focused = FindControl(GetFocus()))
        if (dxBarPopupMenuLinks(M)->ProcessContextMenu(Focused, {-1, -1})) return 1;
  }
  if (!M || M->IsDesigning() || M->IsCustomizing() || M->MenuModeBar()) return Next();
  if (!Up) {
    if (Key == VK_MENU) S.AltAlone = true;
    else {
      S.AltAlone = false;
      if (ProcessShortCutKey(M, Key)) {
        S.EatKeyUp = Key;
        return 1;
      }
    }
    return Next();
  }
  bool Swallow = false;
  if (TdxBar* Main = M->MainMenuBar())
    if (auto* MW = dynamic_cast<TdxBarControl*>(Main->ItemLinks()->BarControl()); MW && MW->HandleAllocated()) {
      BYTE State[256];
      GetKeyboardState(State);
      bool AnyDown = false;
      for (int I = 0; I < 256; ++I)
        if (State[I] & 0x80) AnyDown = true;
      const bool AltAlone = Key == VK_MENU && S.AltAlone && !AnyDown;
      const bool F10 = Key == VK_F10 && M->GetUseF10ForMenu() && !KeyDown(VK_SHIFT) && !KeyDown(VK_MENU) &&
                       !KeyDown(VK_CONTROL);
      if (AltAlone || F10) {
        MW->EnterMenuMode(nullptr);
        Swallow = true;
      }
    }
  S.AltAlone = false;
  return Swallow ? 1 : Next();
}

bool IsMouseButtonMessage(UINT Msg) {
  switch (Msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

LRESULT BarMouseHookProc(int Code, WPARAM W, LPARAM L) {
  TUnitState& S = U();
  auto Next = [&] { return CallNextHookEx(S.Mouse, Code, W, L); };
  if (Code < 0 || S.InMouseHook) return Next();
  const UINT Msg = UINT(W);
  auto* H = reinterpret_cast<MOUSEHOOKSTRUCT*>(L);
  S.InMouseHook = true;
  struct TGuard {
    ~TGuard() { U().InMouseHook = false; }
  } Guard;
  if (Code == HC_ACTION && GetActiveBarControl()) {
    // A press outside every open menu closes the chain.
    while (TCustomdxBarControl* Active = GetActiveBarControl()) {
      if (!IsMouseButtonMessage(Msg)) break;
      if (dxBarIsOpenBarWindow(H->hwnd)) break;
      Active->HideAll();
    }
    if (!IsWindow(H->hwnd) || !IsWindowVisible(H->hwnd)) return 1;
  }
  if (Code == HC_ACTION && (Msg == WM_RBUTTONUP || Msg == WM_NCRBUTTONUP) && !GetActiveBarControl()) {
    TWinControl* C = FindControl(H->hwnd);
    if (C && C->GetEnabled() && !dynamic_cast<TCustomdxBarControl*>(C))
      if (TCustomForm* F = GetParentForm(C))
        if (TdxBarManager* M = GetBarManagerOfForm(F); M && !M->IsDesigning()) {
          TPoint P = H->pt;
          // Shown once the release is through, from the queue.
          PostMessageA(S.Utility, WM_USER + 4, WPARAM(H->hwnd), LPARAM((std::uint32_t(P.Y) << 16) | std::uint16_t(P.X)));
        }
  }
  return Next();
}

LRESULT BarCallWndProcHookProc(int Code, WPARAM W, LPARAM L) {
  TUnitState& S = U();
  if (Code >= 0 && !S.InCallWndHook) {
    auto* C = reinterpret_cast<CWPSTRUCT*>(L);
    S.InCallWndHook = true;
    try {
      if (auto* F = dynamic_cast<TCustomForm*>(FindControl(C->hwnd)))
        if (TdxBarManager* M = GetBarManagerOfForm(F)) dxBarHandleFormMessage(M, C->message, C->wParam, C->lParam);
    } catch (...) {
      S.InCallWndHook = false;
      throw;
    }
    S.InCallWndHook = false;
  }
  return CallNextHookEx(S.CallWnd, Code, W, L);
}

struct TUtilityTarget : TObject {
  void WndProc(TMessage& M);
};
TUtilityTarget GUtilityTarget;

void TUtilityTarget::WndProc(TMessage& M) {
  if (M.Msg == WM_USER + 4) {
    HWND Wnd = HWND(M.WParam);
    TPoint P{short(M.LParam & 0xFFFF), short((std::uint32_t(M.LParam) >> 16) & 0xFFFF)};
    if (!IsWindow(Wnd)) return;
    TWinControl* C = FindControl(Wnd);
    if (!C) return;
    if (TCustomForm* F = GetParentForm(C))
      if (TdxBarManager* Mgr = GetBarManagerOfForm(F)) dxBarPopupMenuLinks(Mgr)->ProcessContextMenu(C, P);
    return;
  }
  UtilityWndProc(M);
}

// --- hints -----------------------------------------------------------------

void StopHintTimer() {
  if (U().HintTimer) KillTimer(nullptr, U().HintTimer);
  U().HintTimer = 0;
}
void StopQuickReshowTimer() {
  if (U().QuickTimer) KillTimer(nullptr, U().QuickTimer);
  U().QuickTimer = 0;
  U().QuickReshow = false;
}

void HideHintWindow() {
  if (U().Hint && U().Hint->HandleAllocated()) U().Hint->ReleaseHandle();
  U().HintShown = false;
}

void QuickTimerProc(HWND, UINT, UINT_PTR, DWORD) { StopQuickReshowTimer(); }

void HintTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  StopHintTimer();
  if (U().HintShowTimer) dxBarShowHintNow(U().HintManager);
  else {
    HideHintWindow();
    U().HintManager = nullptr;
  }
}

AnsiString HintTextOf(TdxBarItemControl* C, TdxBarManager* M) {
  AnsiString H = C->GetHint();
  if (std::size_t Bar = H.find('|'); Bar != AnsiString::npos) H = H.substr(0, Bar);
  if (H.empty()) return H;
  if (M->GetShowShortCutInHint() && C->GetShortCut()) H += " (" + ShortCutToText(C->GetShortCut()) + ")";
  return H;
}
}  // namespace

void dxBarFreeLater(TCustomdxBarControl* ABar) {
  TUnitState& S = U();
  if (std::find(S.ToFree.begin(), S.ToFree.end(), ABar) == S.ToFree.end()) S.ToFree.push_back(ABar);
  if (!S.FreePosted && S.Utility) {
    S.FreePosted = true;
    PostMessageA(S.Utility, WM_DXBAR_FREE, 0, 0);
  }
}

bool& dxBarCaptionButtonFlag() { return U().CaptionButton; }
HWND dxBarCaptureWindow() { return U().Utility; }

void dxBarSetHintBar(TCustomdxBarControl* ABar) { U().HintBar = ABar; }
void dxBarHintBarDestroyed(TCustomdxBarControl* ABar) {
  if (U().HintBar == ABar) U().HintBar = nullptr;
  std::erase(U().ToFree, ABar);
}

TFont* dxBarMenuFont(TdxBarManager* AManager) { return AManager ? AManager->Font() : nullptr; }

TdxBarHintWindow* dxBarHintWindow() { return U().Hint; }

void dxBarManagerAdded(TdxBarManager* AManager) {
  TUnitState& S = U();
  if (!AManager->IsDesigning() && !S.Hint) S.Hint = new TdxBarHintWindow(nullptr);
  if (!S.Utility) S.Utility = AllocateHWnd(TWndMethod(&GUtilityTarget, &TUtilityTarget::WndProc));
  if (!S.Keyboard) S.Keyboard = SetWindowsHookExA(WH_KEYBOARD, BarKeyboardHookProc, nullptr, 0);
  if (!S.Mouse) S.Mouse = SetWindowsHookExA(WH_MOUSE, BarMouseHookProc, nullptr, 0);
  if (!S.CallWnd) S.CallWnd = SetWindowsHookExA(WH_CALLWNDPROC, BarCallWndProcHookProc, nullptr, 0);
}

void dxBarManagerRemoved(TdxBarManager* AManager) {
  TUnitState& S = U();
  if (S.HintManager == AManager) {
    StopHintTimer();
    StopQuickReshowTimer();
    HideHintWindow();
    S.HintManager = nullptr;
  }
  if (BarManagers().Count() > 0) return;
  FreePending();
  if (S.CallWnd) UnhookWindowsHookEx(S.CallWnd);
  if (S.Mouse) UnhookWindowsHookEx(S.Mouse);
  if (S.Keyboard) UnhookWindowsHookEx(S.Keyboard);
  S.CallWnd = S.Mouse = S.Keyboard = nullptr;
  StopHintTimer();
  StopQuickReshowTimer();
  delete S.Hint;
  S.Hint = nullptr;
  if (S.Utility) DeallocateHWnd(S.Utility);
  S.Utility = nullptr;
  S.AltAlone = false;
  S.EatKeyUp = 0;
  S.CaptionButton = false;
  S.HintBar = nullptr;
}

TdxBarPopupMenuLinks* dxBarPopupMenuLinks(TdxBarManager* AManager) { return AManager->GetPopupMenuLinks(); }

// Hint timing: 1000 ms before a hint shows, 10000 ms before it hides, and
// within 400 ms after one hid the next shows at once.
void dxBarUpdateHint(TdxBarManager* AManager, bool Show, const AnsiString& Text) {
  TUnitState& S = U();
  if (!S.Hint || !AManager) return;
  S.HintText = Text;
  if (!Show) {
    StopHintTimer();
    if (S.HintShown) {
      HideHintWindow();
      StopQuickReshowTimer();
      S.QuickReshow = true;
      S.QuickTimer = SetTimer(nullptr, 0, 400, QuickTimerProc);
    }
    S.HintManager = nullptr;
    return;
  }
  S.HintManager = AManager;
  StopHintTimer();
  // Moving from one item straight to the next while a hint shows, or soon
  // after one hid, shows the next hint at once.
  const bool WasShown = S.HintShown;
  if (S.HintShown) HideHintWindow();
  if (WasShown || S.QuickReshow) {
    dxBarShowHintNow(AManager);
    return;
  }
  S.HintShowTimer = true;
  S.HintTimer = SetTimer(nullptr, 0, 1000, HintTimerProc);
}

void dxBarShowHintNow(TdxBarManager* AManager) {
  TUnitState& S = U();
  if (!S.Hint || !AManager || !AManager->GetShowHint()) return;
  AnsiString Text = S.HintText;
  TCustomdxBarControl* Bar = IsLiveBarControl(S.HintBar) ? S.HintBar : nullptr;
  if (Text.empty()) {
    TdxBarItemControl* C = Bar ? Bar->SelectedControl() : nullptr;
    if (!C || !C->ShowsHint() || GetActiveBarControl()) return;
    if (!C->GetEnabled() && !AManager->GetShowHintForDisabledItems()) return;
    Text = HintTextOf(C, AManager);
  }
  if (Text.empty()) return;
  TPoint P;
  GetCursorPos(&P);
  S.Hint->ActivateHintAt({P.X, P.Y + 20}, Text, AManager);
  S.HintShown = true;
  StopQuickReshowTimer();
  StopHintTimer();
  S.HintShowTimer = false;
  S.HintTimer = SetTimer(nullptr, 0, 10000, HintTimerProc);
}

TdxBarHintWindow::TdxBarHintWindow(TComponent* AOwner) : THintWindow(AOwner) { SetColor(clInfoBk); }

void TdxBarHintWindow::ActivateHintAt(TPoint ScreenPt, const AnsiString& Text, TdxBarManager* AManager) {
  if (AManager) GetFont()->Assign(AManager->Font());
  TRect R = CalcHintRect(400, Text, nullptr);
  OffsetRect(&R, ScreenPt.X, ScreenPt.Y);
  ActivateHint(R, Text);
}

// ---------------------------------------------------------------------------
// Form messages

void dxBarHandleFormMessage(TdxBarManager* M, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TCustomForm* F = M->OwnerForm();
  if (!F) return;
  auto FloatingWindows = [M] {
    std::vector<TdxBarControl*> L;
    for (Integer I = 0; I < M->Bars()->Count(); ++I)
      if (auto* W = dynamic_cast<TdxBarControl*>(M->Bars()->GetItem(I)->ItemLinks()->BarControl()))
        if (W->DockingStyle() == dsNone && M->Bars()->GetItem(I)->GetVisible()) L.push_back(W);
    return L;
  };
  if (F->ComponentState().Contains(csDestroying)) {
    if (Msg != WM_DESTROY || M->IsDesigning()) return;
    // Saving on the way out must never throw out of the form's destructor:
    // a store that cannot be written loses the layout, not the program.
    try {
      if (M->GetStoreInRegistry()) M->SaveToRegistry(M->GetRegistryPath());
    } catch (...) {
    }
    try {
      if (M->GetStoreInIniFile()) M->SaveToIniFile(M->GetIniFileName());
    } catch (...) {
    }
    return;
  }
  switch (Msg) {
    case WM_ACTIVATE: {
      const bool Active = (WParam & 0xFFFF) != WA_INACTIVE;
      // Activation going to one of this manager's own bar windows is no
      // deactivation.
      if (!Active && LParam)
        if (auto* B = dynamic_cast<TCustomdxBarControl*>(FindControl(HWND(LParam))); B && B->BarManager() == M) return;
      M->SetFormActiveFlag(Active);
      if (!Active && M->GetHideFloatingBarsWhenInactive()) {
        HWND Other = HWND(LParam);
        // A message box or dialog of the program keeps them.
        if (Other && dynamic_cast<TCustomForm*>(FindControl(Other)) == nullptr && IsWindow(Other)) return;
        if (Other) return;
        for (TdxBarControl* W : FloatingWindows())
          if (W->HandleAllocated())
            SetWindowPos(W->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
      } else if (Active && !IsIconic(F->Handle())) {
        for (TdxBarControl* W : FloatingWindows())
          if (W->HandleAllocated()) ShowWindow(W->Handle(), SW_SHOWNOACTIVATE);
      }
      return;
    }
    case WM_ACTIVATEAPP:
      if (WParam == 0) {
        M->SetFormActiveFlag(false);
        if (TCustomdxBarControl* A = GetActiveBarControl(); A && A->BarManager() == M) A->HideAll();
      }
      return;
    case WM_WINDOWPOSCHANGED:
      // A sub-menu editor of a customizing manager comes and goes with the form.
      if (M->IsCustomizing() && LParam)
        if (auto Follow = dxBarCustomizingHooks().OwnerFormShown) {
          const UINT Flags = reinterpret_cast<const WINDOWPOS*>(LParam)->flags;
          if (Flags & SWP_SHOWWINDOW) Follow(M, true);
          else if (Flags & SWP_HIDEWINDOW) Follow(M, false);
        }
      return;
    case WM_SYSCOMMAND:
      // The low four bits of the command belong to the system: compared
      // masked, a minimize sent from the window menu is recognised too.
      switch (WParam & 0xFFF0) {
        case SC_MINIMIZE:
        case SC_CLOSE:
          for (TdxBarControl* W : FloatingWindows())
            if (W->HandleAllocated()) ShowWindow(W->Handle(), SW_HIDE);
          break;
        case SC_MAXIMIZE:
        case SC_RESTORE:
          for (TdxBarControl* W : FloatingWindows())
            if (W->HandleAllocated()) {
              ShowWindow(W->Handle(), SW_SHOWNOACTIVATE);
              W->Update();
            }
          break;
        default:
          break;
      }
      return;
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE: {
      // Floating bars come back onto the work area, top and left edges first.
      TRect Work = Screen ? Screen->WorkAreaRect() : TRect{};
      for (TdxBarControl* W : FloatingWindows()) {
        TRect R = W->BoundsRect();
        if (R.Bottom > Work.Bottom) OffsetRect(&R, 0, Work.Bottom - R.Bottom);
        if (R.Top < Work.Top) OffsetRect(&R, 0, Work.Top - R.Top);
        if (R.Right > Work.Right) OffsetRect(&R, Work.Right - R.Right, 0);
        if (R.Left < Work.Left) OffsetRect(&R, Work.Left - R.Left, 0);
        W->SetBounds(R.Left, R.Top, R.Width(), R.Height());
      }
      return;
    }
    default:
      return;
  }
}

// ---------------------------------------------------------------------------
// Popup menus

TdxBarPopupMenu::TdxBarPopupMenu(TComponent* AOwner) : TComponent(AOwner) {
  if (BarManagers().Count() == 0) throw Exception(dxBarStr(dxSBAR_NOBARMANAGERS));
  TdxBarManager* M = nullptr;
  if (auto* F = dynamic_cast<TCustomForm*>(AOwner)) M = GetBarManagerOfForm(F);
  if (!M) M = BarManagers().Get(0);
  FItemLinks = std::make_unique<TdxBarItemLinks>(M, this);
  FItemLinks->SetKeepsUsage(false);
  SetBarManager(M);
}

TdxBarPopupMenu::~TdxBarPopupMenu() {
  Destroying();
  ClearObjectLinks(this);
  FItemLinks.reset();
  if (FBarManager) FBarManager->RemovePopupMenu(this);
}

void TdxBarPopupMenu::Published(TPublished<TdxBarPopupMenu>& P) {
  P.Property("ItemLinks", &TdxBarPopupMenu::GetItemLinksProp, &TdxBarPopupMenu::SetItemLinksProp);
  P.Property("OnCloseUp", &TdxBarPopupMenu::OnCloseUp, &TdxBarPopupMenu::OnCloseUp);
  P.Property("OnPopup", &TdxBarPopupMenu::OnPopup, &TdxBarPopupMenu::OnPopup);
}

void TdxBarPopupMenu::SetItemLinksProp(TdxBarItemLinks* Value) { FItemLinks->Assign(Value); }

void TdxBarPopupMenu::SetBarManager(TdxBarManager* Value) {
  if (!Value && !ComponentState().Contains(csDestroying)) return;
  if (FBarManager == Value) return;
  if (FBarManager) FBarManager->RemovePopupMenu(this);
  FBarManager = Value;
  if (FBarManager) FBarManager->AddPopupMenu(this);
  if (FItemLinks) FItemLinks->SetBarManager(Value);
}

void TdxBarPopupMenu::Loaded() {
  TComponent::Loaded();
  FItemLinks->ApplyLoadedUsage(true);
}

TdxBarSubMenuControl* TdxBarPopupMenu::GetBarControl() const {
  return dynamic_cast<TdxBarSubMenuControl*>(FItemLinks->BarControl());
}

bool TdxBarPopupMenu::FindShortCut(TShortCut AShortCut) { return FItemLinks->FindShortCut(AShortCut); }

void TdxBarPopupMenu::DoCloseUp(TObject*) {
  FPoppedUp = false;
  if (OnCloseUp) OnCloseUp(this);
}

void TdxBarPopupMenu::DoPopup(TObject*) {
  FPoppedUp = true;
  if (OnPopup) OnPopup(this);
}

void TdxBarPopupMenu::PopupAt(Integer X, Integer Y) {
  if (GetBarControl() || !FBarManager) return;
  TCustomForm* F = dynamic_cast<TCustomForm*>(Owner());
  if (!F) F = FBarManager->OwnerForm();
  if (F && F->HandleAllocated()) F->Perform(CM_CANCELMODE);
  if (HWND Cap = GetCapture()) {
    SendMessageA(Cap, CM_CANCELMODE, 0, 0);
    ReleaseCapture();
  }
  auto* W = new TdxBarSubMenuControl(FBarManager);
  W->SetItemLinks(FItemLinks.get());
  W->SetBounds(X, Y, W->GetWidth(), W->GetHeight());
  if (FHasExclude) W->SetOwnerRect(FExclude, nullptr);
  W->OwnerWidth = FOwnerWidth;
  W->OwnerHeight = FOwnerHeight;
  W->Animate = FAnimate;
  W->OnCloseUp = TNotifyEvent(this, &TdxBarPopupMenu::DoCloseUp);
  W->OnPopup = TNotifyEvent(this, &TdxBarPopupMenu::DoPopup);
  try {
    W->Show();
  } catch (...) {
    W->CloseAndFree();
    throw;
  }
  if (FDropDown) return;
  // The modal loop: every message is delivered (a command posted while the
  // menu is open reaches its window) until the menu closes. The bar hooks
  // close the menu on Escape or a press outside while the input is being
  // read and then swallow it, so reading can come back empty-handed with the
  // menu already gone: look again before sleeping, never block in a read.
  TcxObjectLinkGuard Alive(this);
  auto Open = [&] { return Alive.Alive() && FPoppedUp && GetBarControl(); };
  MSG Msg;
  while (Open()) {
    if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) {
      if (Open()) WaitMessage();
      continue;
    }
    if (Msg.message == WM_QUIT) {
      PostQuitMessage(int(Msg.wParam));
      break;
    }
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  // A menu window freed without closing leaves nobody to report the close.
  if (Alive.Alive() && FPoppedUp && !GetBarControl()) DoCloseUp(this);
}

void TdxBarPopupMenu::PopupAtCursor() {
  TPoint P;
  GetCursorPos(&P);
  PopupAt(P.X, P.Y);
}

void TdxBarPopupMenu::PopupFromItem(Integer X, Integer Y, Integer AOwnerWidth, Integer AOwnerHeight, bool AAnimate,
                                    const TRect* AExclude, bool ADropDown) {
  FOwnerWidth = AOwnerWidth;
  FOwnerHeight = AOwnerHeight;
  FAnimate = AAnimate;
  FHasExclude = AExclude != nullptr;
  if (AExclude) FExclude = *AExclude;
  FDropDown = ADropDown;
  struct TRestore {
    TdxBarPopupMenu* M;
    ~TRestore() {
      M->FOwnerWidth = M->FOwnerHeight = 0;
      M->FAnimate = true;
      M->FHasExclude = false;
      M->FDropDown = false;
    }
  } Restore{this};
  PopupAt(X, Y);
}

// ---------------------------------------------------------------------------
// Popup-menu links

TdxBarPopupMenuLink::TdxBarPopupMenuLink(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TdxBarPopupMenuLink::Published(TPublished<TdxBarPopupMenuLink>& P) {
  P.Property("Control", &TdxBarPopupMenuLink::GetControl, &TdxBarPopupMenuLink::SetControl);
  P.Property("PopupMenu", &TdxBarPopupMenuLink::GetPopupMenu, &TdxBarPopupMenuLink::SetPopupMenu);
  P.Property("ProcessChildren", &TdxBarPopupMenuLink::FProcessChildren, &TdxBarPopupMenuLink::FProcessChildren)
      .Default(true);
}

TdxBarManager* TdxBarPopupMenuLink::Manager() const {
  auto* L = dynamic_cast<TdxBarPopupMenuLinks*>(Collection());
  return L ? L->BarManager() : nullptr;
}

void TdxBarPopupMenuLink::SetControl(TWinControl* Value) {
  TdxBarManager* M = Manager();
  if (Value && M && GetBarManagerOfForm(GetParentForm(Value)) != M) Value = nullptr;
  FControl = Value;
  if (Value && M) Value->FreeNotification(M);
}

void TdxBarPopupMenuLink::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TdxBarPopupMenuLink*>(Source);
  if (!S) {
    TCollectionItem::Assign(Source);
    return;
  }
  TdxBarManager* M = Manager();
  TComponent* Root = M ? M->Owner() : nullptr;
  auto Find = [Root](TComponent* C) -> TComponent* {
    return C && Root && !C->GetName().empty() ? Root->FindComponent(C->GetName()) : nullptr;
  };
  TComponent* Ctl = Find(S->FControl);
  if (Ctl && !dynamic_cast<TWinControl*>(Ctl)) throw EInvalidCast("Invalid class typecast");
  SetControl(static_cast<TWinControl*>(Ctl));
  TComponent* Menu = Find(S->FPopupMenu);
  if (Menu && !dynamic_cast<TdxBarPopupMenu*>(Menu)) throw EInvalidCast("Invalid class typecast");
  FPopupMenu = static_cast<TdxBarPopupMenu*>(Menu);
  FProcessChildren = S->FProcessChildren;
}

TdxBarPopupMenuLinks::TdxBarPopupMenuLinks(TdxBarManager* AManager)
    : TCollection(TdxBarPopupMenuLink::StaticClass()), FBarManager(AManager) {}

TPersistent* TdxBarPopupMenuLinks::GetOwner() { return FBarManager; }

TdxBarPopupMenuLink* TdxBarPopupMenuLinks::GetItem(Integer Index) const {
  return static_cast<TdxBarPopupMenuLink*>(Items(Index));
}

TdxBarPopupMenuLink* TdxBarPopupMenuLinks::Add() { return static_cast<TdxBarPopupMenuLink*>(TCollection::Add()); }

void TdxBarPopupMenuLinks::ComponentRemoved(TComponent* AComponent) {
  for (Integer I = 0; I < Count(); ++I) {
    TdxBarPopupMenuLink* L = GetItem(I);
    if (L->FControl == AComponent) L->FControl = nullptr;
    if (L->FPopupMenu == AComponent) L->FPopupMenu = nullptr;
  }
}

template <class F>
bool TdxBarPopupMenuLinks::Walk(TWinControl* AControl, F Try) {
  if (FBarManager->IsDesigning()) return false;
  for (Integer I = 0; I < Count(); ++I)
    if (GetItem(I)->FControl == AControl && Try(GetItem(I))) return true;
  for (TWinControl* P = AControl ? AControl->GetParent() : nullptr; P; P = P->GetParent())
    for (Integer I = 0; I < Count(); ++I)
      if (GetItem(I)->FControl == P && GetItem(I)->FProcessChildren && Try(GetItem(I))) return true;
  return false;
}

bool TdxBarPopupMenuLinks::ProcessContextMenu(TWinControl* AControl, TPoint ScreenPt) {
  return Walk(AControl, [&](TdxBarPopupMenuLink* L) {
    const bool ByMouse = ScreenPt.X != -1;
    TPoint P = ByMouse ? L->FControl->ScreenToClient(ScreenPt) : TPoint{-1, -1};
    bool Handled = false;
    L->FControl->Perform(WM_CONTEXTMENU, WPARAM(AControl->Handle()),
                         LPARAM((std::uint32_t(std::uint16_t(ScreenPt.Y)) << 16) | std::uint16_t(ScreenPt.X)));
    (void)Handled;
    bool Allow = L->FPopupMenu != nullptr;
    Integer X = P.X, Y = P.Y;
    if (L->OnAction) L->OnAction(L, X, Y, ByMouse, Allow);
    if (!Allow || !L->FPopupMenu) return Allow;
    TPoint Screen = ByMouse ? L->FControl->ClientToScreen({X, Y}) : AControl->ClientToScreen({0, 0});
    if (AControl->GetEnabled() && AControl->CanFocus()) AControl->SetFocus();
    L->FPopupMenu->PopupAt(Screen.X, Screen.Y);
    return true;
  });
}

bool TdxBarPopupMenuLinks::ProcessShortCut(TWinControl* AControl, TShortCut AShortCut) {
  return Walk(AControl, [&](TdxBarPopupMenuLink* L) {
    bool Allow = L->FPopupMenu != nullptr;
    Integer X = -1, Y = -1;
    if (L->OnAction) L->OnAction(L, X, Y, false, Allow);
    return Allow && L->FPopupMenu && L->FPopupMenu->FindShortCut(AShortCut);
  });
}

// ---------------------------------------------------------------------------
// Shadow outline

TdxBarShadowPart::TdxBarShadowPart(TdxBarShadow* AShadow, const TRect& ABounds)
    : TCustomControl(nullptr), FShadow(AShadow) {
  SetVisible(false);
  SetBounds(ABounds.Left, ABounds.Top, ABounds.Width(), ABounds.Height());
}

void TdxBarShadowPart::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = 0;
  TCustomdxBarControl* Owner = FShadow->Owner();
  if (Owner && Owner->HandleAllocated() && (GetWindowLongA(Owner->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
    Params.ExStyle |= WS_EX_TOPMOST;
  Params.WindowClass.style = 0;
}

void TdxBarShadowPart::WndProc(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  TCustomControl::WndProc(Message);
}

void TdxBarShadowPart::Paint() {
  const TRect R = GetClientRect();
  FillRect(Canvas()->GetHandle(), &R, GetSysColorBrush(COLOR_BTNSHADOW));
}

void TdxBarShadowPart::ShowPart() {
  TCustomdxBarControl* Owner = FShadow->Owner();
  if (Owner && Owner->HandleAllocated() && !GetParentWindow()) SetParentWindow(Owner->Handle());
  HandleNeeded();
  // Just below the window that casts it.
  HWND After = Owner && Owner->HandleAllocated() ? Owner->Handle() : HWND_TOP;
  SetWindowPos(Handle(), After, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TdxBarShadowPart::HidePart() {
  if (HandleAllocated()) {
    ShowWindow(Handle(), SW_HIDE);
    DestroyHandle();
  }
}

TdxBarShadow::~TdxBarShadow() {
  for (auto& W : FWindows) W->HidePart();
  FWindows.clear();
}

void TdxBarShadow::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  for (auto& W : FWindows) {
    if (Value) W->ShowPart();
    else W->HidePart();
  }
}

void TdxBarShadow::Refresh() {
  for (auto& W : FWindows) W->HidePart();
  FWindows.clear();
  for (std::size_t I = 0; I < FParts.size(); ++I) {
    if (!FUsable[I]) continue;
    FWindows.push_back(std::make_unique<TdxBarShadowPart>(this, FParts[I]));
    if (FVisible) FWindows.back()->ShowPart();
  }
}

void TdxBarShadow::SetOwnerBounds(const TRect& AR1, const TRect& AR2) {
  TRect R1 = AR1, R2 = AR2;
  const Integer S = ShadowSize();
  FParts.clear();
  FUsable.clear();
  const bool Empty1 = IsRectEmpty(&R1);
  const bool Horizontal = Empty1 || R1.Bottom == R2.Top || R1.Top == R2.Bottom;
  if ((Horizontal && !Empty1 && R1.Top == R2.Bottom) || (!Horizontal && R1.Left == R2.Right)) std::swap(R1, R2);
  auto Add = [this, S](TRect R, bool Faded = true) {
    if (IsRectEmpty(&R)) return;
    FParts.push_back(R);
    FUsable.push_back(!Faded || (R.Width() >= S && R.Height() >= S));
  };
  if (Horizontal) {
    if (!Empty1) Add({R1.Right, R1.Top + S, R1.Right + S, R1.Bottom});
    Add({R2.Left + S, R2.Bottom, R2.Right + S, R2.Bottom + S});
    if (!Empty1) {
      if (R1.Left + S < R2.Left) Add({R1.Left + S, R1.Bottom, R2.Left, R1.Bottom + S});
      if (R2.Right < R1.Right) Add({R2.Right, R1.Bottom, R1.Right + S, R1.Bottom + S});
    }
    if (Empty1 || R1.Right < R2.Right) Add({R2.Right, R2.Top + S, R2.Right + S, R2.Bottom});
    else Add({R2.Right, R2.Top, R2.Right + S, R2.Bottom}, false);
  } else {
    Add({R2.Right, R2.Top + S, R2.Right + S, R2.Bottom});
    if (R1.Top + S < R2.Top) Add({R1.Right, R1.Top + S, R1.Right + S, R2.Top});
    if (R2.Bottom < R1.Bottom) {
      Add({R1.Left + S, R1.Bottom, R1.Right + S, R1.Bottom + S});
      Add({R1.Right, R2.Bottom, R1.Right + S, R1.Bottom}, false);
    } else Add({R1.Left + S, R1.Bottom, R1.Right, R1.Bottom + S});
    if (R1.Bottom < R2.Bottom) Add({R2.Left + S, R2.Bottom, R2.Right + S, R2.Bottom + S});
    else Add({R2.Left, R2.Bottom, R2.Right + S, R2.Bottom + S});
  }
  Refresh();
}
