// dxBarCustDrag.cpp — dragging items and links while customizing: where a
// drop lands in a bar window, the insertion mark, the modal drag loop that
// moves, copies or removes links, and the customizing selection.
#include <algorithm>
#include <cstdlib>
#include "bars/customize/dxBarCustForm.h"
#include "bars/customize/dxBarCustomizing.h"
#include "bars/items/dxBarItem.h"
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarItemControls.h"
#include "bars/windows/dxBarWindows.h"
#include "platform/forms/Application.h"
#include "platform/forms/Screen.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Rects.h"
#include "platform/win/MessageQueue.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Cursors.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Resources.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

namespace {

struct TSelection {
  TCustomdxBarControl* Window = nullptr;
  TdxBarItemControl* Control = nullptr;
};
TSelection GSelected;
bool GDragging = false;

bool IsLiveControl(TCustomdxBarControl* W, TdxBarItemControl* C) {
  return W && C && IsLiveBarControl(W) && W->HasControl(C);
}

// The bar window that holds a control (its parent), when still alive.
TCustomdxBarControl* WindowOf(TdxBarItemControl* C) {
  if (!C || !C->ItemLink() || !C->ItemLink()->Links()) return nullptr;
  TCustomdxBarControl* W = C->ItemLink()->Links()->BarControl();
  return IsLiveControl(W, C) ? W : nullptr;
}

// The drag cursors are the program's own, registered on first use.
HCURSOR DragCursor(Integer Id) {
  static bool Loaded = false;
  if (!Loaded && Screen) {
    Loaded = true;
    const char* Names[] = {"DXBARDRAGCURSOR", "DXBARDRAGCOPYCURSOR", "DXBARDRAGNODROPCURSOR", "DXBAREDITSIZINGCURSOR"};
    for (Integer I = 0; I < 4; ++I)
      if (HCURSOR H = LoadCursorA(ProgramInstance(), Names[I])) Screen->SetCursors(dxBarDragCursorId + I, H);
  }
  return Screen ? Screen->Cursors(Id) : nullptr;
}

// The previous or next shown link of a link's collection.
TdxBarItemLink* ShownNeighbour(TdxBarItemLink* L, Integer Delta) {
  if (!L || !L->Links()) return nullptr;
  const Integer I = L->GetShownIndex();
  return I < 0 ? nullptr : L->Links()->GetShownLink(I + Delta);
}

// Whether two shown rectangles lie on one line of a bar.
bool SameLine(const TRect& A, const TRect& B, bool Vertical) {
  return Vertical ? (A.Left < B.Right && B.Left < A.Right) : (A.Top < B.Bottom && B.Top < A.Bottom);
}

}  // namespace

bool dxBarAcceptsCustomizing(TCustomdxBarControl* W) {
  if (!W || !IsLiveBarControl(W)) return false;
  TdxBarManager* M = W->BarManager();
  if (M && M->IsDesigning()) return true;
  if (auto* T = dynamic_cast<TdxBarControl*>(W)) return T->Bar()->GetAllowCustomizing();
  if (dynamic_cast<TdxBarSubMenuControl*>(W) && W->ItemLinks()) {
    TObject* Owner = W->ItemLinks()->OwnerObject();
    return dynamic_cast<TdxBarSubItem*>(Owner) || dynamic_cast<TdxBarPopupMenu*>(Owner);
  }
  return false;
}

TdxBarItemControl* dxBarGetDropControl(TCustomdxBarControl* W, TPoint P, bool& InGroupGap, bool& Vertical, bool& Before) {
  InGroupGap = false;
  Before = false;
  Vertical = W->IsVertical();
  TdxBarItemLinks* Links = W->ItemLinks();
  if (!Links) return nullptr;
  TdxBarItemLink* Prev = nullptr;
  for (Integer I = 0; I < Links->GetShownCount(); ++I) {
    TdxBarItemLink* L = Links->GetShownLink(I);
    TdxBarItemLink* Before1 = Prev;
    Prev = L;
    if (!L->Control()) continue;
    const TRect R = L->GetItemRect();
    // The region of a link reaches back over the gap that separates it
    // from the previous link on its line (the group separator).
    TRect Region = R;
    if (Before1 && SameLine(Before1->GetItemRect(), R, !W->IsVertical())) {
      if (W->IsVertical()) Region.Top = std::min(Region.Top, Before1->GetItemRect().Bottom);
      else Region.Left = std::min(Region.Left, Before1->GetItemRect().Right);
    }
    if (!PtInRect(&Region, P)) continue;
    TRect Part = R;
    if (!PtInRect(&R, P) && L->GetBeginGroup()) {
      InGroupGap = true;
      if (W->IsVertical() || P.Y < R.Top) Vertical = true;
      Part = Region;
      if (W->IsVertical()) Part.Bottom = R.Top;
      else Part.Right = R.Left;
    }
    Before = Vertical ? P.Y < (Part.Top + Part.Bottom) / 2 : P.X < (Part.Left + Part.Right) / 2;
    return L->Control();
  }
  // A toolbar finds the line under the point: a drop after its last link.
  auto* T = dynamic_cast<TdxBarControl*>(W);
  if (!T || P.X < 0 || P.Y < 0 || P.X >= W->ClientWidth() || P.Y >= W->ClientHeight()) return nullptr;
  for (Integer I = 0; I < Links->GetShownCount(); ++I) {
    TdxBarItemLink* L = Links->GetShownLink(I);
    TdxBarItemLink* Next = Links->GetShownLink(I + 1);
    if (!L->Control()) continue;
    const TRect R = L->GetItemRect();
    if (Next && SameLine(R, Next->GetItemRect(), !W->IsVertical())) continue;  // not the line's last
    const bool Across = W->IsVertical() ? (P.X >= R.Left && P.X < R.Right) : (P.Y >= R.Top && P.Y < R.Bottom);
    if (!Across) continue;
    const bool BeforeIt = W->IsVertical() ? P.Y < R.Top : P.X < R.Left;
    if (BeforeIt) return nullptr;
    Vertical = W->IsVertical();
    return L->Control();
  }
  return nullptr;
}

void dxBarDrawInsertMark(TCustomdxBarControl* W, TdxBarItemControl* C, bool InGroupGap, bool Vertical, bool Before) {
  if (!IsLiveControl(W, C) || !W->HandleAllocated()) return;
  TdxBarItemLink* L = C->ItemLink();
  if (InGroupGap) {
    if (Before)
      if (TdxBarItemLink* P = ShownNeighbour(L, -1); P && P->Control()) L = P;
    Before = !Before;
  } else if (!Before) {
    TdxBarItemLink* N = ShownNeighbour(L, 1);
    if (N && N->Control() && !N->GetBeginGroup() && SameLine(L->GetItemRect(), N->GetItemRect(), !W->IsVertical())) {
      L = N;
      Before = true;
    }
  }
  const TRect R = L->GetItemRect();
  UpdateWindow(W->Handle());
  HDC DC = GetDC(W->Handle());
  const int Old = SetROP2(DC, R2_NOT);
  auto Line = [DC](Integer X1, Integer Y1, Integer X2, Integer Y2) {
    const TPoint Pts[2] = {{X1, Y1}, {X2, Y2}};
    Polyline(DC, Pts, 2);
  };
  if (Vertical) {
    const Integer Lf = R.Left, T = Before ? R.Top : R.Bottom - 6, Rt = R.Right;
    Line(Lf, T, Lf, T + 6);
    Line(Lf + 1, T + 1, Lf + 1, T + 5);
    Line(Lf + 2, T + 2, Rt - 2, T + 2);
    Line(Lf + 2, T + 3, Rt - 2, T + 3);
    Line(Rt - 2, T + 1, Rt - 2, T + 5);
    Line(Rt - 1, T, Rt - 1, T + 6);
  } else {
    const Integer T = R.Top, Lf = Before ? R.Left : R.Right - 6, B = R.Bottom;
    Line(Lf, T, Lf + 6, T);
    Line(Lf + 1, T + 1, Lf + 5, T + 1);
    Line(Lf + 2, T + 2, Lf + 2, B - 2);
    Line(Lf + 3, T + 2, Lf + 3, B - 2);
    Line(Lf + 1, B - 2, Lf + 5, B - 2);
    Line(Lf, B - 1, Lf + 6, B - 1);
  }
  SetROP2(DC, Old);
  ReleaseDC(W->Handle(), DC);
}

TdxBarItemControl* dxBarSelectedItem() {
  if (!IsLiveControl(GSelected.Window, GSelected.Control)) GSelected = {};
  return GSelected.Control;
}

void dxBarSetSelectedItem(TdxBarItemControl* C) {
  TdxBarItemControl* Old = dxBarSelectedItem();
  if (Old == C) return;
  TCustomdxBarControl* OldWindow = GSelected.Window;
  GSelected = {WindowOf(C), C};
  if (!GSelected.Window) GSelected = {};
  // The old selection repaints without its frame (not while dragging: the
  // mark would be painted over).
  if (Old && !GDragging && IsLiveControl(OldWindow, Old)) {
    if (OldWindow->SelectedControl() == Old) OldWindow->SetSelectedControl(nullptr);
    else OldWindow->DrawItem(Old);
  }
}

bool dxBarIsDraggingItem() { return GDragging; }

bool dxBarDragDetect(HWND Wnd, TPoint ScreenPt) {
  // The press point sits in the middle of a threshold-sized rectangle.
  const int DX = std::max(GetSystemMetrics(SM_CXDRAG) / 2, 1), DY = std::max(GetSystemMetrics(SM_CYDRAG) / 2, 1);
  SetCapture(Wnd);
  bool Started = false;
  MSG Msg;
  while (GetCapture() == Wnd) {
    if (GetMessageA(&Msg, nullptr, 0, 0) <= 0) {
      if (Msg.message == WM_QUIT) PostQuitMessage(int(Msg.wParam));
      break;
    }
    if (Msg.message == WM_MOUSEMOVE) {
      TPoint P{short(LOWORD(Msg.lParam)), short(HIWORD(Msg.lParam))};
      ClientToScreen(Msg.hwnd, &P);
      if (std::abs(P.X - ScreenPt.X) > DX || std::abs(P.Y - ScreenPt.Y) > DY) {
        Started = true;
        break;
      }
      continue;
    }
    if (Msg.message == WM_LBUTTONUP || Msg.message == WM_RBUTTONDOWN) break;
    if (Msg.message == WM_KEYDOWN && Msg.wParam == VK_ESCAPE) break;
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  if (GetCapture() == Wnd) ReleaseCapture();
  return Started;
}

namespace {

// The window that holds the mouse during a drag.
HWND CaptureWindow(TdxBarManager* M) {
  if (TdxBarCustomizingForm* F = dxBarCustomizingForm(); F && F->HandleAllocated()) return F->Handle();
  if (Application && Application->Handle() && IsWindowVisible(Application->Handle())) return Application->Handle();
  return M->OwnerForm() ? M->OwnerForm()->Handle() : nullptr;
}

// The bar window of a manager under a screen point (a child window of one
// counts as the bar window), nil when none.
TCustomdxBarControl* BarWindowAt(TdxBarManager* M, TPoint ScreenPt) {
  for (HWND H = WindowFromPoint(ScreenPt); H; H = GetParent(H))
    if (auto* W = dynamic_cast<TCustomdxBarControl*>(FindControl(H)))
      return IsLiveBarControl(W) && W->BarManager() == M ? W : nullptr;
  return nullptr;
}

bool OverCustomizingForm(TPoint ScreenPt) {
  TdxBarCustomizingForm* F = dxBarCustomizingForm();
  if (!F || !F->HandleAllocated() || !IsWindowVisible(F->Handle())) return false;
  TRect R;
  GetWindowRect(F->Handle(), &R);
  return PtInRect(&R, ScreenPt);
}

struct TDrag {
  TdxBarManager* M = nullptr;
  TdxBarItem* Item = nullptr;
  TdxBarItemLink* Link = nullptr;
  TCustomdxBarControl* DropWindow = nullptr;
  TdxBarItemControl* DropControl = nullptr;
  bool InGroupGap = false, Vertical = false, Before = false;
  // The mark on screen and what it was drawn for.
  bool MarkShown = false;
  TCustomdxBarControl* MarkWindow = nullptr;
  TdxBarItemControl* MarkControl = nullptr;
  bool MarkGap = false, MarkVertical = false, MarkBefore = false;
  bool Moved = false, Released = false, Ctrl = false, CopyStateChanged = false;
  HWND Capture = nullptr;
  TPoint Offset;  // the press point inside the dragged link's rectangle
  TPoint LastPoint;

  // The dragged link's own control while it is shown.
  TdxBarItemControl* LinkControl() const { return Link ? Link->Control() : nullptr; }

  bool IsDropAllowed() const {
    if (!DropControl) return false;
    if (!Link || Ctrl) return true;
    TdxBarItemControl* Own = LinkControl();
    if (DropControl == Own) return InGroupGap && Before;
    TdxBarItemLink* Prev = ShownNeighbour(Link, -1);
    if (Prev && Prev->Control() == DropControl && !Link->GetBeginGroup() && !InGroupGap && !Before) return false;
    TdxBarItemLink* Next = ShownNeighbour(Link, 1);
    if (!Next) return true;
    if (Next->Control() == DropControl && ((InGroupGap && Before) || (!Next->GetBeginGroup() && Before))) return false;
    return true;
  }

  void ToggleMark() {
    if (MarkShown) {
      dxBarDrawInsertMark(MarkWindow, MarkControl, MarkGap, MarkVertical, MarkBefore);
      MarkShown = false;
      return;
    }
    MarkWindow = DropWindow;
    MarkControl = DropControl;
    MarkGap = InGroupGap;
    MarkVertical = Vertical;
    MarkBefore = Before;
    dxBarDrawInsertMark(MarkWindow, MarkControl, MarkGap, MarkVertical, MarkBefore);
    MarkShown = true;
  }
  void EraseMark() {
    if (MarkShown) ToggleMark();
  }

  void SetCursorFor() {
    Integer Id = dxBarDragCursorId;
    if (!DropWindow || (!DropControl && DropWindow->ItemLinks() && DropWindow->ItemLinks()->GetShownCount() > 0))
      Id = dxBarDragCursorId + 2;
    else if (!Link || Ctrl)
      Id = dxBarDragCursorId + 1;
    if (HCURSOR H = DragCursor(Id)) SetCursor(H);
  }

  void MouseMove(TPoint ScreenPt) {
    Moved = true;
    LastPoint = ScreenPt;
    // Over the sub-menu editor its menu opens, to be dropped into.
    if (TdxBarSubMenuEditor* E = dxBarSubMenuEditor(); E && E->HandleAllocated() && IsWindowVisible(E->Handle())) {
      TRect R;
      GetWindowRect(E->Handle(), &R);
      if (PtInRect(&R, ScreenPt)) {
        E->OpenMenu();
        // The opened menu must not take the drag's mouse.
        if (Capture && GetCapture() != Capture) SetCapture(Capture);
      }
    }
    TCustomdxBarControl* W = BarWindowAt(M, ScreenPt);
    if (!W && !OverCustomizingForm(ScreenPt)) {
      // Anywhere else the first bar window of the manager under the point.
      for (Integer I = 0; I < M->Bars()->Count() && !W; ++I) {
        TCustomdxBarControl* B = M->Bars()->GetItem(I)->ItemLinks()->BarControl();
        if (!B || !IsLiveBarControl(B) || !B->HandleAllocated() || !IsWindowVisible(B->Handle())) continue;
        TRect R;
        GetWindowRect(B->Handle(), &R);
        if (PtInRect(&R, ScreenPt)) W = B;
      }
    }
    if (W && !dxBarAcceptsCustomizing(W)) W = nullptr;
    if (W && (W != MarkWindow || !MarkShown) && MarkShown) EraseMark();
    if (!W) {
      EraseMark();
      DropWindow = nullptr;
      DropControl = nullptr;
      SetCursorFor();
      return;
    }
    bool Gap = false, Vert = false, Bef = false;
    TdxBarItemControl* C = dxBarGetDropControl(W, W->ScreenToClient(ScreenPt), Gap, Vert, Bef);
    const bool Changed = W != DropWindow || C != DropControl || Gap != InGroupGap || Vert != Vertical || Bef != Before;
    const bool NewControl = W != DropWindow || C != DropControl;
    DropWindow = W;
    if (Changed || CopyStateChanged) {
      EraseMark();
      DropControl = C;
      InGroupGap = Gap;
      Vertical = Vert;
      Before = Bef;
      if (NewControl && C) {
        if (dynamic_cast<TdxBarSubItemControl*>(C)) W->HotTrackControl(C);  // its menu opens to drop into
        else {
          dxBarSetSelectedItem(C);
          W->SetSelectedControl(C);
        }
        if (!IsLiveBarControl(W)) {
          DropWindow = nullptr;
          DropControl = nullptr;
        }
      }
      if (DropControl && IsDropAllowed()) ToggleMark();
    }
    CopyStateChanged = false;
    SetCursorFor();
  }

  // Places the drop: a new link, a moved or copied one, or a removed one.
  void Drop() {
    if (!DropWindow || !IsLiveBarControl(DropWindow)) {
      if (Link && !Ctrl) {
        TdxBarItemLinks* From = Link->Links();
        delete Link;
        Link = nullptr;
        M->DesignerModified();
        if (From && From->BarControl() && IsLiveBarControl(From->BarControl())) From->BarControl()->Recalculate();
      }
      dxBarSetSelectedItem(nullptr);
      return;
    }
    const bool RealChange = !DropControl || !Link || (DropControl != LinkControl() && IsDropAllowed()) || Ctrl ||
                            (InGroupGap && Before);
    if (!RealChange) {
      GroupByNudge();
      return;
    }
    TdxBarItemLinks* To = DropWindow->ItemLinks();
    const TPoint ClientPt = DropWindow->ScreenToClient(LastPoint);
    const bool Inside = ClientPt.X >= 0 && ClientPt.Y >= 0 && ClientPt.X < DropWindow->ClientWidth() &&
                        ClientPt.Y < DropWindow->ClientHeight();
    if (!To || !(DropControl || (Inside && To->Count() == 0))) {
      dxBarSetSelectedItem(nullptr);
      return;
    }
    if (DropControl && !IsLiveControl(DropWindow, DropControl)) return;
    TdxBarItemLink* NewLink = To->Add();
    TdxBarItemLinks* From = Link ? Link->Links() : nullptr;
    if (Link) NewLink->Assign(Link);
    else NewLink->SetItem(Item);
    if (NewLink->GetItem() != Item) NewLink->SetItem(Item);
    NewLink->SetBeginGroup(false);
    NewLink->MarkRecentlyUsed(false);
    if (DropControl) {
      TdxBarItemLink* Target = DropControl->ItemLink();
      NewLink->SetIndex(Target->Index() + ((InGroupGap || Before) ? 0 : 1));
      if ((InGroupGap && !Before) || (Before && !InGroupGap && Target->GetBeginGroup())) {
        NewLink->SetBeginGroup(true);
        Target->SetBeginGroup(false);
      }
    }
    if (Link && !Ctrl) {
      delete Link;
      Link = nullptr;
      if (From && From != To && From->BarControl() && IsLiveBarControl(From->BarControl()))
        From->BarControl()->Recalculate();
    }
    To->RebuildLists();
    DropWindow->Recalculate();
    if (IsLiveBarControl(DropWindow) && NewLink->Control()) {
      dxBarSetSelectedItem(NewLink->Control());
      DropWindow->SetSelectedControl(NewLink->Control());
    }
    M->DesignerModified();
  }

  // A link dropped onto its own place: a nudge of more than 3 pixels along
  // the bar starts (forward) or removes (backward) its group line.
  void GroupByNudge() {
    if (!Link || !Link->Control()) return;
    TCustomdxBarControl* W = Link->Links() ? Link->Links()->BarControl() : nullptr;
    if (!IsLiveBarControl(W)) return;
    const TRect R = Link->GetItemRect();
    const TPoint P = W->ScreenToClient(LastPoint);
    const Integer D = W->IsVertical() ? (P.Y - R.Top) - Offset.Y : (P.X - R.Left) - Offset.X;
    if (std::abs(D) <= 3) return;
    TdxBarItemControl* C = Link->Control();
    if (Link->GetBeginGroup() != (D > 0)) Link->SetBeginGroup(D > 0);
    W->Recalculate();
    if (IsLiveBarControl(W) && (C = Link->Control())) {
      dxBarSetSelectedItem(C);
      W->SetSelectedControl(C);
    }
  }
};

}  // namespace

void dxBarDragItemOrLink(TdxBarManager* M, TdxBarItem* Item, TdxBarItemLink* Link, const TPoint* PressPt) {
  if (!M || !Item || GDragging) return;
  TDrag D;
  D.M = M;
  D.Item = Item;
  D.Link = Link;
  GDragging = true;
  TPoint Cursor;
  GetCursorPos(&Cursor);
  D.LastPoint = Cursor;
  if (PressPt) Cursor = *PressPt;
  if (Link && Link->Links() && IsLiveBarControl(Link->Links()->BarControl())) {
    const TPoint P = Link->Links()->BarControl()->ScreenToClient(Cursor);
    D.Offset = {P.X - Link->GetItemRect().Left, P.Y - Link->GetItemRect().Top};
  }
  D.Ctrl = GetKeyState(VK_CONTROL) < 0;
  HWND Capture = CaptureWindow(M);
  D.Capture = Capture;
  const TCursor SavedCursor = Screen ? Screen->GetCursor() : crDefault;
  if (Capture) SetCapture(Capture);
  try {
    // A drag that began with a move beyond the threshold starts where the
    // pointer is now.
    if (PressPt) D.MouseMove(D.LastPoint);
    MSG Msg;
    while (Capture && GetCapture() == Capture) {
      if (GetMessageA(&Msg, nullptr, 0, 0) <= 0) {
        if (Msg.message == WM_QUIT) PostQuitMessage(int(Msg.wParam));
        break;
      }
      if (Msg.message == WM_KEYDOWN || Msg.message == WM_KEYUP) {
        if (Msg.wParam == VK_CONTROL) {
          const bool Ctrl = Msg.message == WM_KEYDOWN;
          D.CopyStateChanged = Ctrl != D.Ctrl;
          D.Ctrl = Ctrl;
          D.MouseMove(D.LastPoint);
          continue;
        }
        if (Msg.message == WM_KEYDOWN && Msg.wParam == VK_ESCAPE) break;
        continue;  // other keys are swallowed
      }
      if (Msg.message == WM_LBUTTONUP) {
        TPoint P{short(LOWORD(Msg.lParam)), short(HIWORD(Msg.lParam))};
        ClientToScreen(Msg.hwnd, &P);
        if (P != D.LastPoint) D.MouseMove(P);
        D.Released = true;
        break;
      }
      if (Msg.message == WM_MOUSEMOVE) {
        TPoint P{short(LOWORD(Msg.lParam)), short(HIWORD(Msg.lParam))};
        ClientToScreen(Msg.hwnd, &P);
        D.MouseMove(P);
        continue;
      }
      TranslateMessage(&Msg);
      DispatchMessageA(&Msg);
    }
  } catch (...) {
    D.EraseMark();
    if (Capture && GetCapture() == Capture) ReleaseCapture();
    if (Screen) Screen->SetCursor(SavedCursor);
    GDragging = false;
    throw;
  }
  D.EraseMark();
  if (Capture && GetCapture() == Capture) ReleaseCapture();
  if (Screen) {
    Screen->SetCursor(SavedCursor);
    SetCursor(Screen->Cursors(SavedCursor));
  }
  GDragging = false;
  if (D.Released && D.Moved) D.Drop();
  if (D.Link && D.Link->Control())
    if (TCustomdxBarControl* W = WindowOf(D.Link->Control())) W->DrawItem(D.Link->Control());
}
