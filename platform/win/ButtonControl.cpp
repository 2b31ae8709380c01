#include "platform/win/ButtonControl.h"

#include <algorithm>
#include <memory>
#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/IconApi.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/StdControls_p.h"
#include "platform/win/Window.h"

namespace {
constexpr const char* StateProp = "SxButtonState";
// The check box and radio button glyph's side.
constexpr int GlyphSize = 13;

struct TButtonState {
  LRESULT Check = BST_UNCHECKED;
  bool Pushed = false;     // drawn pressed (mouse or Space held, BM_SETSTATE)
  bool Focused = false;
  bool Tracking = false;   // the mouse went down on it and holds the capture
  bool SpaceDown = false;
  bool MouseFocusing = false;  // the focus comes from a click, not the keyboard
  HFONT Font = nullptr;
  HANDLE Image = nullptr;  // BM_SETIMAGE
};

TButtonState* StateOf(HWND Wnd) { return static_cast<TButtonState*>(GetPropA(Wnd, StateProp)); }
DWORD StyleOf(HWND Wnd) { return DWORD(GetWindowLongA(Wnd, GWL_STYLE)); }
DWORD KindOf(HWND Wnd) { return StyleOf(Wnd) & BS_TYPEMASK; }

bool IsPush(DWORD K) { return K == BS_PUSHBUTTON || K == BS_DEFPUSHBUTTON || K == BS_PUSHBOX || K == BS_USERBUTTON; }
bool IsCheck(DWORD K) { return K == BS_CHECKBOX || K == BS_AUTOCHECKBOX || K == BS_3STATE || K == BS_AUTO3STATE; }
bool IsRadio(DWORD K) { return K == BS_RADIOBUTTON || K == BS_AUTORADIOBUTTON; }

HFONT FontOf(const TButtonState& B) { return B.Font ? B.Font : HFONT(GetStockObject(SYSTEM_FONT)); }

void Redraw(HWND Wnd) { InvalidateRect(Wnd, nullptr, FALSE); }

// Unchecks the other automatic radio buttons of Wnd's group.
void UncheckGroup(HWND Wnd) {
  HWND Parent = GetParent(Wnd);
  if (!Parent) return;
  // The group starts at the nearest sibling at or before Wnd with WS_GROUP
  // and ends before the next one after it.
  std::vector<HWND> Siblings;
  for (HWND C = GetWindow(Parent, GW_CHILD); C; C = GetWindow(C, GW_HWNDNEXT)) Siblings.push_back(C);
  auto It = std::find(Siblings.begin(), Siblings.end(), Wnd);
  if (It == Siblings.end()) return;
  auto First = It;
  while (First != Siblings.begin() && !(GetWindowLongA(*First, GWL_STYLE) & WS_GROUP)) --First;
  for (auto C = First; C != Siblings.end(); ++C) {
    if (C != First && (GetWindowLongA(*C, GWL_STYLE) & WS_GROUP)) break;
    if (*C == Wnd) continue;
    // Buttons of every class built on this one answer as radio buttons.
    if ((GetWindowLongA(*C, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
        (SendMessageA(*C, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
      SendMessageA(*C, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

// Sets the check; a checked radio button becomes its group's tab stop.
void SetCheck(HWND Wnd, TButtonState& B, LRESULT V) {
  if (B.Check != V) {
    B.Check = V;
    Redraw(Wnd);
  }
  if (IsRadio(KindOf(Wnd))) {
    DWORD S = StyleOf(Wnd);
    S = V == BST_CHECKED ? (S | WS_TABSTOP) : (S & ~DWORD(WS_TABSTOP));
    if (S != StyleOf(Wnd)) SetWindowLongA(Wnd, GWL_STYLE, LONG_PTR(S));
  }
}

// A completed click: automatic kinds change their check, then the parent hears.
void Clicked(HWND Wnd, TButtonState& B) {
  switch (KindOf(Wnd)) {
    case BS_AUTOCHECKBOX: B.Check = B.Check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED; Redraw(Wnd); break;
    case BS_AUTO3STATE:
      B.Check = B.Check == BST_UNCHECKED ? BST_CHECKED : B.Check == BST_CHECKED ? BST_INDETERMINATE : BST_UNCHECKED;
      Redraw(Wnd);
      break;
    case BS_AUTORADIOBUTTON:
      SetCheck(Wnd, B, BST_CHECKED);
      UncheckGroup(Wnd);
      break;
    default: break;
  }
  NotifyParent(Wnd, BN_CLICKED);
}

void SetPushed(HWND Wnd, TButtonState& B, bool Pushed) {
  if (B.Pushed == Pushed) return;
  B.Pushed = Pushed;
  Redraw(Wnd);
}

HBRUSH Background(HWND Wnd, HDC Dc) {
  SetTextColor(Dc, GetSysColor(COLOR_BTNTEXT));
  SetBkColor(Dc, GetSysColor(COLOR_3DFACE));
  HBRUSH Br = nullptr;
  // Push buttons ask with WM_CTLCOLORBTN, the others with WM_CTLCOLORSTATIC.
  const UINT Msg = IsPush(KindOf(Wnd)) ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC;
  if (HWND Parent = GetParent(Wnd)) Br = HBRUSH(SendMessageA(Parent, Msg, WPARAM(Dc), LPARAM(Wnd)));
  return Br ? Br : GetSysColorBrush(COLOR_3DFACE);
}

// The caption in R with the DrawText format; greyed in relief when disabled.
void DrawCaption(HWND Wnd, HDC Dc, TRect R, UINT Format) {
  std::string Text = WindowTextOf(Wnd);
  if (Text.empty()) return;
  SetBkMode(Dc, TRANSPARENT);
  if (!IsWindowEnabled(Wnd)) {
    TRect Lit = R;
    OffsetRect(&Lit, 1, 1);
    SetTextColor(Dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextA(Dc, Text.data(), int(Text.size()), &Lit, Format);
    SetTextColor(Dc, GetSysColor(COLOR_3DSHADOW));
  }
  DrawTextA(Dc, Text.data(), int(Text.size()), &R, Format);
}

UINT HorzFormat(DWORD Style, UINT Default) {
  switch (Style & BS_CENTER) {
    case BS_LEFT: return DT_LEFT;
    case BS_RIGHT: return DT_RIGHT;
    case BS_CENTER: return DT_CENTER;
    default: return Default;
  }
}

void DrawImage(HDC Dc, DWORD Style, HANDLE Image, const TRect& R) {
  TSize Size{0, 0};
  ICONINFO Ii;
  BITMAP Bm;
  if (Style & BS_BITMAP) {
    if (GetObjectA(HGDIOBJ(Image), sizeof Bm, &Bm)) Size = {Bm.bmWidth, Bm.bmHeight};
  } else if (GetIconInfo(HICON(Image), &Ii)) {
    if (Ii.hbmColor && GetObjectA(Ii.hbmColor, sizeof Bm, &Bm)) Size = {Bm.bmWidth, Bm.bmHeight};
    if (Ii.hbmColor) DeleteObject(Ii.hbmColor);
    if (Ii.hbmMask) DeleteObject(Ii.hbmMask);
  }
  const int X = R.Left + (R.Width() - Size.cx) / 2, Y = R.Top + (R.Height() - Size.cy) / 2;
  if (Style & BS_BITMAP) {
    TMemoryDc Mem(HGDIOBJ(Image), Dc);
    BitBlt(Dc, X, Y, Size.cx, Size.cy, Mem.Dc(), 0, 0, SRCCOPY);
  } else {
    DrawIconEx(Dc, X, Y, HICON(Image), Size.cx, Size.cy, 0, nullptr, DI_NORMAL);
  }
}

void PaintPush(HWND Wnd, TButtonState& B, HDC Dc, const TRect& Client) {
  TRect R = Client;
  const bool Default = KindOf(Wnd) == BS_DEFPUSHBUTTON;
  const bool Down = B.Pushed || ((StyleOf(Wnd) & BS_PUSHLIKE) && B.Check == BST_CHECKED);
  if (Default) {
    // The default button's extra dark frame.
    FrameRect(Dc, &R, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&R, -1, -1);
  }
  if (Down && Default) {
    FrameRect(Dc, &R, GetSysColorBrush(COLOR_3DSHADOW));
    TRect In = R;
    InflateRect(&In, -1, -1);
    FillRect(Dc, &In, GetSysColorBrush(COLOR_3DFACE));
  } else {
    UINT State = DFCS_BUTTONPUSH;
    if (Down) State |= DFCS_PUSHED;
    if (StyleOf(Wnd) & BS_FLAT) State |= DFCS_FLAT;
    if (!IsWindowEnabled(Wnd)) State |= DFCS_INACTIVE;
    TRect Face = R;
    DrawFrameControl(Dc, &Face, DFC_BUTTON, State);
  }
  TRect TextR = R;
  InflateRect(&TextR, -3, -3);
  if (Down) OffsetRect(&TextR, 1, 1);
  if ((StyleOf(Wnd) & (BS_ICON | BS_BITMAP)) && B.Image) {
    // An image button shows its picture, centred, instead of the caption.
    DrawImage(Dc, StyleOf(Wnd), B.Image, TextR);
  } else {
    UINT Format = HorzFormat(StyleOf(Wnd), DT_CENTER);
    Format |= (StyleOf(Wnd) & BS_MULTILINE) ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
    DrawCaption(Wnd, Dc, TextR, Format);
  }
  if (B.Focused) {
    TRect F = R;
    InflateRect(&F, -3, -3);
    DrawFocusRect(Dc, &F);
  }
}

void PaintCheck(HWND Wnd, TButtonState& B, HDC Dc, const TRect& Client, HBRUSH Brush) {
  FillRect(Dc, &Client, Brush);
  const DWORD Style = StyleOf(Wnd);
  const DWORD K = KindOf(Wnd);
  const bool LeftText = Style & BS_LEFTTEXT;
  const int Y = Client.Top + (Client.Height() - GlyphSize) / 2;
  TRect Box{0, Y, GlyphSize, Y + GlyphSize};
  if (LeftText) OffsetRect(&Box, Client.Right - GlyphSize, 0);
  UINT State = DFCS_BUTTONCHECK;
  if (IsRadio(K)) State = DFCS_BUTTONRADIO;
  else if ((K == BS_3STATE || K == BS_AUTO3STATE) && B.Check == BST_INDETERMINATE) State = DFCS_BUTTON3STATE;
  if (B.Check != BST_UNCHECKED) State |= DFCS_CHECKED;
  if (B.Pushed) State |= DFCS_PUSHED;
  if (!IsWindowEnabled(Wnd)) State |= DFCS_INACTIVE;
  if (Style & BS_FLAT) State |= DFCS_FLAT;
  DrawFrameControl(Dc, &Box, DFC_BUTTON, State);

  TRect TextR = Client;
  if (LeftText) TextR.Right = Box.Left - 4;
  else TextR.Left = Box.Right + 4;
  UINT Format = HorzFormat(Style, DT_LEFT);
  Format |= (Style & BS_MULTILINE) ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
  DrawCaption(Wnd, Dc, TextR, Format);
  if (B.Focused) {
    // The focus rectangle hugs the caption.
    std::string Text = WindowTextOf(Wnd);
    TRect Calc = TextR;
    DrawTextA(Dc, Text.data(), int(Text.size()), &Calc, Format | DT_CALCRECT);
    TRect F{TextR.Left - 1, TextR.Top + (TextR.Height() - Calc.Height()) / 2 - 1, TextR.Left + Calc.Width() + 1,
            0};
    F.Bottom = F.Top + Calc.Height() + 2;
    IntersectRect(&F, &F, &Client);
    if (!Text.empty()) DrawFocusRect(Dc, &F);
  }
}

void PaintGroup(HWND Wnd, HDC Dc, const TRect& Client, HBRUSH Brush) {
  FillRect(Dc, &Client, Brush);
  std::string Text = WindowTextOf(Wnd);
  TEXTMETRICA Tm;
  GetTextMetricsA(Dc, &Tm);
  TRect Frame = Client;
  Frame.Top += Tm.tmHeight / 2;
  DrawEdge(Dc, &Frame, EDGE_ETCHED, BF_RECT);
  if (Text.empty()) return;
  TRect TextR{8, 0, Client.Right - 8, Tm.tmHeight};
  TRect Calc = TextR;
  DrawTextA(Dc, Text.data(), int(Text.size()), &Calc, DT_SINGLELINE | DT_CALCRECT);
  TRect Back{6, 0, std::min(Client.Right - 6, 8 + Calc.Width() + 2), Tm.tmHeight};
  FillRect(Dc, &Back, Brush);
  DrawCaption(Wnd, Dc, TextR, DT_SINGLELINE | DT_LEFT | DT_TOP);
}

void PaintOwnerDraw(HWND Wnd, TButtonState& B, HDC Dc, const TRect& Client, UINT Action) {
  DRAWITEMSTRUCT Di;
  Di.CtlType = ODT_BUTTON;
  Di.CtlID = UINT(GetDlgCtrlID(Wnd));
  Di.itemAction = Action;
  Di.itemState = (B.Pushed ? ODS_SELECTED : 0) | (B.Focused ? ODS_FOCUS : 0) | (IsWindowEnabled(Wnd) ? 0 : ODS_DISABLED);
  Di.hwndItem = Wnd;
  Di.hDC = Dc;
  Di.rcItem = Client;
  HWND Parent = GetParent(Wnd);
  if (!Parent) return;
  TSaveDcGuard Saved(Dc);
  SendMessageA(Parent, WM_DRAWITEM, WPARAM(Di.CtlID), LPARAM(&Di));
}

void Paint(HWND Wnd, TButtonState& B, HDC Dc) {
  TRect Client;
  GetClientRect(Wnd, &Client);
  TSaveDcGuard Saved(Dc);
  SelectObject(Dc, FontOf(B));
  HBRUSH Brush = Background(Wnd, Dc);
  const DWORD K = KindOf(Wnd);
  if (K == BS_OWNERDRAW) PaintOwnerDraw(Wnd, B, Dc, Client, ODA_DRAWENTIRE);
  else if (K == BS_GROUPBOX) PaintGroup(Wnd, Dc, Client, Brush);
  else if ((IsCheck(K) || IsRadio(K)) && !(StyleOf(Wnd) & BS_PUSHLIKE)) PaintCheck(Wnd, B, Dc, Client, Brush);
  else PaintPush(Wnd, B, Dc, Client);
}

bool Inside(HWND Wnd, LPARAM L) {
  TRect R;
  GetClientRect(Wnd, &R);
  const TPoint P{GET_X_LPARAM(L), GET_Y_LPARAM(L)};
  return PtInRect(&R, P);
}
}  // namespace

LRESULT ButtonWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  TButtonState* B = StateOf(Wnd);
  if (!B) {
    if (Msg != WM_NCCREATE) return DefWindowProcA(Wnd, Msg, W, L);
    SetPropA(Wnd, StateProp, new TButtonState);
    return DefWindowProcA(Wnd, Msg, W, L);
  }
  const DWORD K = KindOf(Wnd);
  switch (Msg) {
    case WM_NCDESTROY:
      RemovePropA(Wnd, StateProp);
      delete B;
      return DefWindowProcA(Wnd, Msg, W, L);
    case WM_GETDLGCODE:
      if (K == BS_GROUPBOX) return DLGC_STATIC;
      if (K == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (IsPush(K)) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      if (IsRadio(K)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      return DLGC_BUTTON;
    case WM_NCHITTEST:
      // A group box lets the mouse through to what it frames.
      if (K == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProcA(Wnd, Msg, W, L);
    case WM_SETTEXT: {
      const LRESULT R = DefWindowProcA(Wnd, Msg, W, L);
      InvalidateRect(Wnd, nullptr, TRUE);
      return R;
    }
    case WM_SETFONT:
      B->Font = HFONT(W);
      if (LOWORD(L)) InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return LRESULT(B->Font);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      TControlPaintDc Dc(Wnd, W);
      Paint(Wnd, *B, Dc.Dc());
      return 0;
    }
    case WM_ENABLE: InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case WM_SETFOCUS:
      B->Focused = true;
      Redraw(Wnd);
      // A radio button reached by the keyboard is chosen.
      if (IsRadio(K) && B->Check != BST_CHECKED && !B->MouseFocusing) Clicked(Wnd, *B);
      if (StyleOf(Wnd) & BS_NOTIFY) NotifyParent(Wnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      B->Focused = false;
      B->SpaceDown = false;
      if (B->Tracking && GetCapture() == Wnd) ReleaseCapture();
      B->Tracking = false;
      SetPushed(Wnd, *B, false);
      Redraw(Wnd);
      if (StyleOf(Wnd) & BS_NOTIFY) NotifyParent(Wnd, BN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (IsRadio(K) || K == BS_OWNERDRAW || (StyleOf(Wnd) & BS_NOTIFY)) {
        NotifyParent(Wnd, BN_DOUBLECLICKED);
        return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (K == BS_GROUPBOX) return 0;
      if (GetFocus() != Wnd) {
        B->MouseFocusing = true;
        SetFocus(Wnd);
        if (!IsWindow(Wnd)) return 0;
        B->MouseFocusing = false;
      }
      if (!IsWindow(Wnd)) return 0;
      B->Tracking = true;
      SetCapture(Wnd);
      SetPushed(Wnd, *B, true);
      return 0;
    case WM_MOUSEMOVE:
      if (B->Tracking) SetPushed(Wnd, *B, Inside(Wnd, L));
      return 0;
    case WM_LBUTTONUP: {
      if (!B->Tracking) return 0;
      B->Tracking = false;
      const bool Was = B->Pushed;
      SetPushed(Wnd, *B, false);
      if (GetCapture() == Wnd) ReleaseCapture();
      if (Was && Inside(Wnd, L)) Clicked(Wnd, *B);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (B->Tracking) {
        B->Tracking = false;
        SetPushed(Wnd, *B, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (W == VK_SPACE && K != BS_GROUPBOX) {
        B->SpaceDown = true;
        SetPushed(Wnd, *B, true);
        return 0;
      }
      return DefWindowProcA(Wnd, Msg, W, L);
    case WM_KEYUP:
      if (W == VK_SPACE && B->SpaceDown) {
        B->SpaceDown = false;
        SetPushed(Wnd, *B, false);
        Clicked(Wnd, *B);
        return 0;
      }
      return DefWindowProcA(Wnd, Msg, W, L);
    case WM_CHAR:
      // A check box toggles with the plus and minus keys too.
      if (IsCheck(K) && (W == '+' || W == '=' || W == '-')) {
        const LRESULT Want = W == '-' ? BST_UNCHECKED : BST_CHECKED;
        if (B->Check != Want && (K == BS_AUTOCHECKBOX || K == BS_AUTO3STATE)) {
          B->Check = Want;
          Redraw(Wnd);
          NotifyParent(Wnd, BN_CLICKED);
        }
        return 0;
      }
      return DefWindowProcA(Wnd, Msg, W, L);
    case BM_GETCHECK: return IsCheck(K) || IsRadio(K) || (StyleOf(Wnd) & BS_PUSHLIKE) ? B->Check : BST_UNCHECKED;
    case BM_SETCHECK: {
      LRESULT V = LRESULT(W);
      if (V == BST_INDETERMINATE && K != BS_3STATE && K != BS_AUTO3STATE) V = BST_CHECKED;
      if (!(IsCheck(K) || IsRadio(K))) return 0;
      SetCheck(Wnd, *B, V);
      return 0;
    }
    case BM_GETSTATE: return B->Check | (B->Pushed ? BST_PUSHED : 0) | (B->Focused ? BST_FOCUS : 0);
    case BM_SETSTATE: SetPushed(Wnd, *B, W != 0); return 0;
    case BM_SETSTYLE: {
      const DWORD S = (StyleOf(Wnd) & ~DWORD(0xFFFF)) | DWORD(W & 0xFFFF);
      SetWindowLongA(Wnd, GWL_STYLE, LONG_PTR(S));
      if (L) InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    }
    case BM_CLICK:
      if (!IsWindowEnabled(Wnd) || K == BS_GROUPBOX) return 0;
      Clicked(Wnd, *B);
      return 0;
    case BM_SETIMAGE: {
      HANDLE Old = B->Image;
      B->Image = HANDLE(L);
      InvalidateRect(Wnd, nullptr, TRUE);
      return LRESULT(Old);
    }
    case BM_GETIMAGE: return LRESULT(B->Image);
    default: return DefWindowProcA(Wnd, Msg, W, L);
  }
}
