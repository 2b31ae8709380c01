#include "platform/ole/DragDrop.h"

#include <map>

#include "platform/ole/DataObject.h"
#include "platform/ole/DropFormats.h"
#include "platform/ole/OleState_p.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/ExternalDrop.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

namespace {

std::map<HWND, TIntfPtr<IDropTarget>>& Targets() {
  static std::map<HWND, TIntfPtr<IDropTarget>> T;
  return T;
}

void PruneDeadWindows() {
  auto& T = Targets();
  for (auto It = T.begin(); It != T.end();) It = IsWindow(It->first) ? std::next(It) : T.erase(It);
}

bool Dragging = false;

}  // namespace

void DragDropReset() {
  Targets().clear();
  Dragging = false;
}

HRESULT RegisterDragDrop(HWND Wnd, IDropTarget* Target) {
  if (!OleIsInitialized()) return CO_E_NOTINITIALIZED;
  if (!Target) return E_INVALIDARG;
  if (!IsWindow(Wnd)) return DRAGDROP_E_INVALIDHWND;
  PruneDeadWindows();
  auto [It, Added] = Targets().try_emplace(Wnd, Target);
  return Added ? S_OK : DRAGDROP_E_ALREADYREGISTERED;
}

HRESULT RevokeDragDrop(HWND Wnd) {
  if (!Wnd) return DRAGDROP_E_INVALIDHWND;
  auto& T = Targets();
  auto It = T.find(Wnd);
  if (It == T.end()) return IsWindow(Wnd) ? DRAGDROP_E_NOTREGISTERED : DRAGDROP_E_INVALIDHWND;
  // The target may revoke other registrations when released: take it out
  // of the table first.
  TIntfPtr<IDropTarget> Gone = std::move(It->second);
  T.erase(It);
  return S_OK;
}

IDropTarget* RegisteredDropTarget(HWND Wnd) {
  auto& T = Targets();
  auto It = T.find(Wnd);
  if (It == T.end()) return nullptr;
  if (!IsWindow(Wnd)) {
    T.erase(It);
    return nullptr;
  }
  return It->second.Get();
}

HWND DropTargetWindowAt(TPoint Screen) {
  for (HWND H = WindowFromPoint(Screen); H; H = GetAncestor(H, GA_PARENT)) {
    if (H == GetDesktopWindow()) break;
    if (RegisteredDropTarget(H)) return H;
  }
  return nullptr;
}

bool IsDragging() { return Dragging; }

DWORD DragKeyState() {
  DWORD K = 0;
  if (GetKeyState(VK_LBUTTON) < 0) K |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) K |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) K |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) K |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) K |= MK_CONTROL;
  if (GetKeyState(VK_MENU) < 0) K |= MK_ALT;
  return K;
}

DWORD StandardDropEffect(DWORD KeyState, DWORD Allowed) {
  Allowed &= DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  DWORD Want;
  if ((KeyState & MK_CONTROL) && (KeyState & MK_SHIFT)) Want = DROPEFFECT_LINK;
  else if (KeyState & MK_CONTROL) Want = DROPEFFECT_COPY;
  else if (KeyState & MK_SHIFT) Want = DROPEFFECT_MOVE;
  else Want = (Allowed & DROPEFFECT_MOVE) ? DROPEFFECT_MOVE : 0;
  if (Want & Allowed) return Want;
  for (DWORD E : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
    if (Allowed & E) return E;
  return DROPEFFECT_NONE;
}

// --- the usual source ---------------------------------------------------------------------------

bool TDropSource::GetInterface(const TGUID& IID, void** Obj) {
  return OfferInterface<IDropSource>(this, IID, Obj) || TInterfacedObject::GetInterface(IID, Obj);
}

HRESULT TDropSource::QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) {
  if (EscapePressed) return DRAGDROP_S_CANCEL;
  const DWORD Buttons = KeyState & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
  if (Buttons & ~FButton) return DRAGDROP_S_CANCEL;  // another button joined in
  if (!(Buttons & FButton)) return DRAGDROP_S_DROP;
  return S_OK;
}

HRESULT TDropSource::GiveFeedback(DWORD Effect) {
  Feedback.push_back(Effect);
  return DRAGDROP_S_USEDEFAULTCURSORS;
}

// --- the drag loop ------------------------------------------------------------------------------

namespace {

LRESULT DragWindowProc(HWND H, UINT M, WPARAM W, LPARAM L) { return DefWindowProcA(H, M, W, L); }

const char* DragWindowClass() {
  static const char* Name = "SxOleDragLoop";
  WNDCLASSA C;
  if (!GetClassInfoA(nullptr, Name, &C)) {
    WNDCLASSA N;
    N.lpfnWndProc = &DragWindowProc;
    N.lpszClassName = Name;
    RegisterClassA(&N);
  }
  return Name;
}

// The target side of one drag: which window's target is entered, and the
// effect it answered last.
class TDragTargetTracker {
public:
  TDragTargetTracker(IDataObject* Data, DWORD Ok) : FData(Data), FOk(Ok) {}
  // Enters, moves over or leaves targets so that the one at Pt is entered;
  // returns the effect (cut to the allowed ones).
  DWORD Track(TPoint Pt, DWORD Keys) {
    HWND Wnd = DropTargetWindowAt(Pt);
    if (Wnd != FWnd || (FWnd && !IsWindow(FWnd))) {
      Leave();
      FWnd = Wnd;
      FTarget = Wnd ? RegisteredDropTarget(Wnd) : nullptr;
      if (FTarget) {
        DWORD E = FOk;
        if (!Succeeded(FTarget->DragEnter(FData, Keys, Pt, &E))) E = DROPEFFECT_NONE;
        FEffect = E & (FOk | DROPEFFECT_SCROLL);
        return FEffect;
      }
      FEffect = DROPEFFECT_NONE;
      return FEffect;
    }
    if (!FTarget) return DROPEFFECT_NONE;
    DWORD E = FOk;
    if (!Succeeded(FTarget->DragOver(Keys, Pt, &E))) E = DROPEFFECT_NONE;
    FEffect = E & (FOk | DROPEFFECT_SCROLL);
    return FEffect;
  }
  void Leave() {
    if (FTarget) FTarget->DragLeave();
    FTarget.Reset();
    FWnd = nullptr;
    FEffect = DROPEFFECT_NONE;
  }
  // Drops when the target last took the data, else leaves; the effect done.
  DWORD Drop(TPoint Pt, DWORD Keys) {
    if (!FTarget || !(FEffect & ~DROPEFFECT_SCROLL)) {
      Leave();
      return DROPEFFECT_NONE;
    }
    DWORD E = FEffect & ~DROPEFFECT_SCROLL;
    TIntfPtr<IDropTarget> T = FTarget;
    FTarget.Reset();
    FWnd = nullptr;
    if (!Succeeded(T->Drop(FData, Keys, Pt, &E))) E = DROPEFFECT_NONE;
    return E & FOk;
  }

private:
  IDataObject* FData;
  DWORD FOk;
  HWND FWnd = nullptr;
  TIntfPtr<IDropTarget> FTarget;
  DWORD FEffect = DROPEFFECT_NONE;
};

}  // namespace

HRESULT DoDragDrop(IDataObject* Data, IDropSource* Source, DWORD OkEffects, DWORD* Effect) {
  if (Effect) *Effect = DROPEFFECT_NONE;
  if (!Data || !Source || !Effect) return E_INVALIDARG;
  if (Dragging) return E_UNEXPECTED;
  TIntfPtr<IDataObject> HoldData(Data);
  TIntfPtr<IDropSource> HoldSource(Source);
  HWND Catcher = CreateWindowExA(0, DragWindowClass(), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  TDragTargetTracker Tracker(Data, OkEffects);
  // Whatever ends the loop (an exception from a handler included), the
  // target is left, the capture let go and the next drag can start.
  struct TEndOfDrag {
    HWND Catcher;
    TDragTargetTracker& Tracker;
    bool Done = false;
    ~TEndOfDrag() {
      if (!Done) Tracker.Leave();
      if (GetCapture() == Catcher) ReleaseCapture();
      DestroyWindow(Catcher);
      Dragging = false;
    }
  } End{Catcher, Tracker};
  Dragging = true;
  SetCapture(Catcher);

  TPoint Pt;
  GetCursorPos(&Pt);
  DWORD Keys = DragKeyState();
  bool Escape = false;
  HRESULT Result = S_OK;
  DWORD Done = DROPEFFECT_NONE;
  bool Moved = true;
  for (;;) {
    Result = Source->QueryContinueDrag(Escape ? TRUE : FALSE, Keys);
    if (Result == DRAGDROP_S_DROP) {
      Done = Tracker.Drop(Pt, Keys);
      break;
    }
    if (Result != S_OK) {
      Tracker.Leave();
      Result = DRAGDROP_S_CANCEL;
      break;
    }
    if (Moved) {
      const DWORD E = Tracker.Track(Pt, Keys);
      Source->GiveFeedback(E);
      Moved = false;
    }
    MSG M;
    if (!GetMessageA(&M, nullptr, 0, 0)) {
      PostQuitMessage(int(M.wParam));
      Tracker.Leave();
      Result = DRAGDROP_S_CANCEL;
      break;
    }
    const DWORD OldKeys = Keys;
    if (M.message >= WM_MOUSEFIRST && M.message <= WM_MOUSELAST) {
      GetCursorPos(&Pt);
      Keys = DragKeyState();
      Moved = true;
    } else if (M.message == WM_KEYDOWN || M.message == WM_KEYUP || M.message == WM_SYSKEYDOWN ||
               M.message == WM_SYSKEYUP) {
      if (M.message == WM_KEYDOWN && M.wParam == VK_ESCAPE) Escape = true;
      Keys = DragKeyState();
      // A change of modifier changes the effect where the cursor stands.
      Moved = Keys != OldKeys;
    } else if (M.message == WM_CAPTURECHANGED || GetCapture() != Catcher) {
      Escape = true;
    } else {
      TranslateMessage(&M);
      DispatchMessageA(&M);
    }
  }
  End.Done = true;
  *Effect = Result == DRAGDROP_S_DROP ? Done : DROPEFFECT_NONE;
  return Result;
}

// --- drops from other programs -------------------------------------------------------------------

namespace {

class TExternalDataObject : public TDataObject {
public:
  explicit TExternalDataObject(const TExternalDropData& D) {
    if (D.HasFiles && !D.Files.empty()) SetBytes(CF_HDROP, MakeDropFiles(D.Files));
    if (D.HasText) {
      const WideString W = UTF8Decode(D.Text);
      SetBytes(CF_TEXT, WideToAnsi(W) + '\0');
      std::string U(reinterpret_cast<const char*>(W.data()), W.size() * 2);
      SetBytes(CF_UNICODETEXT, U + std::string(2, '\0'));
    }
  }
};

// One outside drag at a time, as the display reports it.
class TOleExternalSink : public TExternalDropSink {
public:
  bool DragOver(TPoint Screen, DWORD KeyState, DWORD Allowed, const std::function<TExternalDropData()>& Fetch,
                DWORD& Effect) override {
    Effect = DROPEFFECT_NONE;
    HWND Wnd = DropTargetWindowAt(Screen);
    if (!Wnd) {
      DragLeave();
      return false;
    }
    if (!FData) {
      TDataObject* D = new TExternalDataObject(Fetch());
      FData = TIntfPtr<IDataObject>(static_cast<IDataObject*>(D));
    }
    if (!FTracker || FAllowed != Allowed) {
      DragLeave(/*KeepData=*/true);
      FAllowed = Allowed;
      FTracker = std::make_unique<TDragTargetTracker>(FData.Get(), Allowed);
    }
    Effect = FTracker->Track(Screen, KeyState) & ~DROPEFFECT_SCROLL;
    return true;
  }
  void DragLeave() override { DragLeave(false); }
  bool Drop(TPoint Screen, DWORD KeyState, DWORD Allowed, const std::function<TExternalDropData()>& Fetch,
            DWORD& Effect) override {
    Effect = DROPEFFECT_NONE;
    // A drop ends the drag the moves built (the display may not repeat the
    // point or the source's actions with it); without one, it is a drop
    // out of nowhere at the point.
    DWORD Over = DROPEFFECT_NONE;
    if (!FTracker && !DragOver(Screen, KeyState, Allowed, Fetch, Over)) return false;
    if (!FTracker) return false;
    Effect = FTracker->Drop(Screen, KeyState);
    FTracker.reset();
    FData.Reset();
    return true;
  }

private:
  void DragLeave(bool KeepData) {
    if (FTracker) FTracker->Leave();
    FTracker.reset();
    if (!KeepData) FData.Reset();
  }
  TIntfPtr<IDataObject> FData;
  std::unique_ptr<TDragTargetTracker> FTracker;
  DWORD FAllowed = 0;
};

}  // namespace

void InstallExternalDropSink() {
  static TOleExternalSink Sink;
  SetExternalDropSink(&Sink);
}
