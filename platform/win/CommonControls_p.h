// CommonControls_p.h — what the common control classes share: sending
// notifications to the parent, the control's font, item text drawing in the
// classic colours and the drag-start threshold.
#pragma once
#include <functional>
#include <string>
#include <type_traits>

#include "platform/gdi/Gdi.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Window.h"

namespace commctrl {

// Sends WM_NOTIFY to the control's parent with Hdr's header filled in.
LRESULT Notify(HWND Wnd, UINT Code, NMHDR* Hdr);

// The font a control draws with: the one WM_SETFONT gave, else the GUI font.
HFONT ControlFont(HFONT Set);
// Line height of a font: its character height.
int FontHeight(HFONT Font);
int TextWidth(HDC Dc, const std::string& Text);

// Text in a row at Left, vertically centred in Row; selected rows get the
// highlight (Focused) or the button face (selection shown without focus).
enum class TItemLook { Normal, Selected, SelectedInactive };
// Draws the label box (text plus 2 pixels each side) and answers its
// rectangle.
TRect DrawLabel(HDC Dc, const std::string& Text, TRect Box, TItemLook Look, bool FocusRect, UINT Align = 0);

// True when the mouse moved from Down to P far enough to start a drag.
bool BeyondDragThreshold(TPoint Down, TPoint P);

// The state a common control keeps in its window property Prop. It is made
// on the first message, not at WM_CREATE: a class library control that adopts
// the procedure after its window exists has missed that one. At WM_NCDESTROY
// the state is deleted and the answer is null, so the procedure hands the
// message to DefWindowProcA.
template <class T>
T* ControlState(HWND Wnd, UINT Msg, const char* Prop) {
  if (Msg == WM_NCDESTROY) {
    delete static_cast<T*>(RemovePropA(Wnd, Prop));
    return nullptr;
  }
  auto* S = static_cast<T*>(GetPropA(Wnd, Prop));
  if (!S) {
    // A class takes its window; a plain record of fields does not (an
    // aggregate would otherwise take Wnd as its first field).
    if constexpr (!std::is_aggregate_v<T> && std::is_constructible_v<T, HWND>) S = new T(Wnd);
    else S = new T;
    SetPropA(Wnd, Prop, S);
  }
  return S;
}

// The in-place edit of an item's label (TVM_EDITLABEL, LVM_EDITLABEL): an
// "EDIT" child of the view over the item's label. The view owns it and
// ends it; the edit reports Enter and Esc to the view with
// LabelEditEndMessage, and its lost focus arrives as EN_KILLFOCUS.
class TLabelEdit {
public:
  // The live edit, or null.
  HWND Wnd() const { return IsWindow(FEdit) ? FEdit : nullptr; }
  // Makes the edit, hidden, over Box with Text; null when it cannot.
  HWND Create(HWND Owner, HFONT Font, const std::string& Text, const TRect& Box);
  // Shows it fitted to its text, selects the text and gives it the focus.
  void Show();
  // Widens or narrows the edit to its text, within the owner's client area.
  void Fit();
  // Hands the edit over to the caller, who ends it; the view no longer
  // counts as editing.
  HWND Release();

  // Starts editing Item: makes the edit over Box with Text, sets Editing to
  // Item, and lets Ask (the parent's begin notification, true to refuse)
  // decide while the edit exists, so the parent may change its text or
  // limit. The edit is kept and shown when allowed, still this view's and
  // Alive (the item survived); otherwise it is closed and the answer null.
  template <class TItem, class FAsk, class FAlive>
  HWND Open(HWND View, HFONT Font, const std::string& Text, const TRect& Box, TItem*& Editing, TItem* Item,
            FAsk Ask, FAlive Alive);
  // Ends the edit: hides it and gives the focus back to the view, then
  // Tell hears its text (the view is idle again, so a handler may show a
  // message or start a new edit); the edit is destroyed afterwards, also
  // when Tell raises. False when no edit ran.
  bool Finish(HWND View, const std::function<void(std::string& Text)>& Tell);
  // The edit's messages to its view: Enter or Esc (LabelEditEndMessage)
  // and the lost focus end it through End (with Cancel), a text change
  // refits it. True when the message was the edit's; its answer is 0.
  bool Route(UINT Msg, WPARAM W, LPARAM L, const std::function<void(bool Cancel)>& End);

private:
  HWND FEdit = nullptr;
  HWND FOwner = nullptr;
  TRect FBox;
};
// Sent by the edit to its view: wParam TRUE for Esc (cancel), FALSE for
// Enter; lParam the edit.
constexpr UINT LabelEditEndMessage = WM_USER + 0x1F0;
// Puts the focus back on the view (when the edit had it) and destroys the
// edit; safe when the edit is already gone.
void CloseLabelEdit(HWND View, HWND Edit);

template <class TItem, class FAsk, class FAlive>
HWND TLabelEdit::Open(HWND View, HFONT Font, const std::string& Text, const TRect& Box, TItem*& Editing, TItem* Item,
                      FAsk Ask, FAlive Alive) {
  HWND E = Create(View, Font, Text, Box);
  if (!E) return nullptr;
  Editing = Item;
  // A handler may have started another edit meanwhile: that one stays.
  auto Abandon = [&] {
    if (Wnd() == E) {
      Release();
      Editing = nullptr;
    }
    CloseLabelEdit(View, E);
  };
  bool Refused = true;
  try {
    Refused = Ask();
  } catch (...) {
    Abandon();
    throw;
  }
  if (Refused || Wnd() != E || !Alive()) {
    Abandon();
    return nullptr;
  }
  Show();
  return E;
}

// Registers one class (once per window system).
void RegisterCommonClass(const char* Name, WNDPROC Proc);

LRESULT TreeViewProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
LRESULT ListViewProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
LRESULT UpDownProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
LRESULT HotKeyProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
LRESULT ProgressProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
LRESULT ScrollBarProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);

}  // namespace commctrl
