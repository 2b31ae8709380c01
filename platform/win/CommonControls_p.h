// CommonControls_p.h — what the common control classes share: sending
// notifications to the parent, the control's font, item text drawing in the
// classic colours and the drag-start threshold.
#pragma once
#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/win/CommCtrl.h"

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

// Registers one class (once per window system).
void RegisterCommonClass(const char* Name, WNDPROC Proc);

LRESULT TreeViewProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
LRESULT ListViewProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
LRESULT UpDownProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
LRESULT ProgressProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
LRESULT ScrollBarProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);

}  // namespace commctrl
