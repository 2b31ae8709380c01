// myBarItems.h — the program's own bar items: a button whose caption is
// drawn bold (Convert, Convert To HTML, Indent, the Print drop-down), a
// hyperlink item that opens its address, and an edit that masks its text.
// Registered with the bar manager's item classes once at start-up, each
// with the per-link control that draws it.
#pragma once
#include "bars/items/dxBarItems.h"
#include "bars/windows/dxBarItemControls.h"

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

// The bold button's control: the library's button drawn and measured with
// the bar's font made bold, so the button is as wide as its bold caption.
class TmyBarBoldButtonControl : public TdxBarButtonControl {
  SX_CLASS(TmyBarBoldButtonControl, TdxBarButtonControl)
public:
  explicit TmyBarBoldButtonControl(TdxBarItemLink* ALink) : TdxBarButtonControl(ALink) {}
  Integer GetWidth() const override;
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
};

// The hyperlink's control: the caption alone, in the item's colour and
// underlined when the item says so, embossed in the system's highlight and
// shadow colours when disabled. On a toolbar docked left or right that
// turns its items the caption runs top to bottom and the control's width
// and height swap.
class TmyBarHyperLinkControl : public TdxBarItemControl {
  SX_CLASS(TmyBarHyperLinkControl, TdxBarItemControl)
public:
  explicit TmyBarHyperLinkControl(TdxBarItemLink* ALink) : TdxBarItemControl(ALink) {}
  TmyBarHyperLink* HyperLink() const;
  Integer GetHeight() const override;
  Integer GetWidth() const override;
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
  // The bar window's item size (its text height plus 6).
  Integer GetItemSize() const;
  // The length the caption needs: in a menu with room for the glyph
  // column and the margins, on a bar with a margin of the font's size.
  Integer GetTextExtent() const;
};

// The password edit's control: its edit window masks what is typed, and
// the text drawn when no edit window shows it is masked too.
class TmyBarPasswordEditControl : public TdxBarEditControl {
  SX_CLASS(TmyBarPasswordEditControl, TdxBarEditControl)
public:
  explicit TmyBarPasswordEditControl(TdxBarItemLink* ALink) : TdxBarEditControl(ALink) {}
  TmyBarPasswordEdit* GetItem() const;
  void StartEditing() override;
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
  // The item's mask changed: the open edit window takes it at once.
  void PasswordCharChanged();

protected:
  AnsiString ItemText() const override;

private:
  bool FDrawing = false;
};

// Once per process; later calls do nothing.
void RegisterMyBarItems();
