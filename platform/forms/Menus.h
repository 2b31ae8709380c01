// Menus.h — the popup menu as far as the controls know it: a component a
// control names as its PopupMenu, shown at a screen point when the control
// gets WM_CONTEXTMENU and nobody handled OnContextPopup.
//
// FIXME: the menu itself (items, the popup window, tracking) comes with the
// menus; until then Popup fails loudly, and tests override it.
#pragma once
#include "platform/rtl/Component.h"

class TPopupMenu : public TComponent {
  SX_CLASS(TPopupMenu, TComponent)
public:
  explicit TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}
  static void Published(TPublished<TPopupMenu>& P) {
    P.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::AutoPopup).Default(true);
    P.Property("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::OnPopup);
  }
  // Shows the menu with its top-left corner at the screen point X, Y.
  virtual void Popup(Integer X, Integer Y);
  // The control whose context menu this is, while it shows.
  TComponent* PopupComponent = nullptr;
  bool AutoPopup = true;
  TNotifyEvent OnPopup;
};
