#include "platform/forms/HintWindow.h"

#include <algorithm>

#include "platform/forms/Application.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

THintWindowClass HintWindowClass = THintWindow::StaticClass();

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  GetFont()->SetColor(clInfoText);
  SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WndParent = Application ? Application->Handle() : nullptr;
  Params.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(Integer MaxWidth, const AnsiString& Hint, void*) {
  TRect R{0, 0, MaxWidth, 0};
  AnsiString Text = Hint;
  Canvas()->SetFont(GetFont());
  HDC Dc = Canvas()->GetHandle();
  DrawTextA(Dc, Text.data(), Integer(Text.size()), &R, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  // Room for the border and a margin around the text.
  R.Right += 6;
  R.Bottom += 2;
  return R;
}

void THintWindow::ActivateHint(TRect Rect, const AnsiString& Hint) {
  SetCaption(Hint);
  // Keep it on the screen: moved left or up rather than cut.
  const Integer ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
  const Integer W = Rect.Width(), H = Rect.Height();
  Rect.Left = std::max(0, std::min(Rect.Left, ScreenW - W));
  Rect.Top = std::max(0, std::min(Rect.Top, ScreenH - H));
  SetBounds(Rect.Left, Rect.Top, W, H);
  SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, W, H, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ReleaseHandle() { DestroyHandle(); }

bool THintWindow::IsHintShowing() { return HandleAllocated() && IsWindowVisible(FHandle); }

void THintWindow::Paint() {
  TRect R = GetClientRect();
  Canvas()->Brush()->SetColor(GetColor());
  Canvas()->FillRect(R);
  R.Left += 2;
  R.Top += 2;
  Canvas()->SetFont(GetFont());
  Canvas()->Brush()->SetStyle(bsClear);
  AnsiString Text = GetCaption();
  DrawTextA(Canvas()->GetHandle(), Text.data(), Integer(Text.size()), &R, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}
