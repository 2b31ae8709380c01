// myBarItems.h — the program's own bar items: a button whose caption is
// drawn bold (Convert, Convert To HTML, Indent, the Print drop-down), a
// hyperlink item that opens its address, and an edit that masks its text.
// Registered with the bar manager's item classes once at start-up.
//
// FIXME: the per-link control classes (TmyBarBoldButtonControl,
// TmyBarHyperLinkControl, TmyBarPasswordEditControl) that draw them come
// with the bar windows (bars/windows); until then the items register with
// no control class, as the library's own items do.
#pragma once
#include "bars/items/dxBarItems.h"

class TmyBarBoldButton : public TdxBarButton {
  SX_CLASS(TmyBarBoldButton, TdxBarButton)
public:
  explicit TmyBarBoldButton(TComponent* AOwner) : TdxBarButton(AOwner) {}
};

class TmyBarHyperLink : public TdxBarItem {
  SX_CLASS(TmyBarHyperLink, TdxBarItem)
public:
  explicit TmyBarHyperLink(TComponent* AOwner);
  static void Published(TPublished<TmyBarHyperLink>& P);

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  bool GetUnderline() const { return FUnderline; }
  void SetUnderline(bool Value);
  const AnsiString& GetURL() const { return FURL; }
  void SetURL(const AnsiString& Value) { FURL = Value; }

  // The accelerator search skips a hyperlink.
  bool CanSelectByKey() const { return false; }
  // OnClick (or the action) when assigned; else the address opens.
  void DoClick() override;

private:
  TColor FColor = TColor(0xFF0000);
  bool FUnderline = true;
  AnsiString FURL;
};

class TmyBarPasswordEdit : public TdxBarEdit {
  SX_CLASS(TmyBarPasswordEdit, TdxBarEdit)
public:
  explicit TmyBarPasswordEdit(TComponent* AOwner) : TdxBarEdit(AOwner) {}
  static void Published(TPublished<TmyBarPasswordEdit>& P);

  char GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  // The text as it is shown: every character masked when a mask is set.
  AnsiString DisplayText(const AnsiString& Text) const;

private:
  char FPasswordChar = '\0';
};

// Once per process; later calls do nothing.
void RegisterMyBarItems();
