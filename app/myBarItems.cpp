#include "app/myBarItems.h"

#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarRegistry.h"
#include "platform/forms/Forms.h"
#include "platform/shell/ShellApi.h"
#include "platform/win/Win.h"

TmyBarHyperLink::TmyBarHyperLink(TComponent* AOwner) : TdxBarItem(AOwner) {}

void TmyBarHyperLink::Published(TPublished<TmyBarHyperLink>& P) {
  P.Property("Color", &TmyBarHyperLink::GetColor, &TmyBarHyperLink::SetColor).Default(TColor(0xFF0000));
  P.Property("Underline", &TmyBarHyperLink::GetUnderline, &TmyBarHyperLink::SetUnderline).Default(true);
  P.Property("URL", &TmyBarHyperLink::GetURL, &TmyBarHyperLink::SetURL);
  P.Property("OnClick", &TmyBarHyperLink::OnClick, &TmyBarHyperLink::OnClick);
}

void TmyBarHyperLink::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  GlyphChanged();
}

void TmyBarHyperLink::SetUnderline(bool Value) {
  if (FUnderline == Value) return;
  FUnderline = Value;
  GlyphChanged();
}

void TmyBarHyperLink::DoClick() {
  if (ComponentState().Contains(csDesigning)) return;
  if (OnClick.Assigned() || GetAction()) {
    TdxBarItem::DoClick();
    return;
  }
  if (FURL.empty()) return;
  HWND Owner = nullptr;
  if (BarManager())
    if (auto* Form = dynamic_cast<TCustomForm*>(BarManager()->Owner())) Owner = Form->Handle();
  ShellExecuteA(Owner, "open", FURL.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
}

void TmyBarPasswordEdit::Published(TPublished<TmyBarPasswordEdit>& P) {
  P.Property("PasswordChar", &TmyBarPasswordEdit::GetPasswordChar, &TmyBarPasswordEdit::SetPasswordChar)
      .Default('\0');
}

void TmyBarPasswordEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  // FIXME: send EM_SETPASSWORDCHAR to the edit windows of the links once
  // the bar windows (bars/windows) give their controls windows.
  GlyphChanged();
}

AnsiString TmyBarPasswordEdit::DisplayText(const AnsiString& Text) const {
  return FPasswordChar ? AnsiString(Text.size(), FPasswordChar) : Text;
}

void RegisterMyBarItems() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  dxBarRegisterItem(TmyBarBoldButton::StaticClass(), nullptr, true);
  dxBarRegisterItem(TmyBarHyperLink::StaticClass(), nullptr, true);
  dxBarRegisterItem(TmyBarPasswordEdit::StaticClass(), nullptr, true);
}
