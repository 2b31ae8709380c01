#include "platform/forms/Menus.h"

void TPopupMenu::Popup(Integer, Integer) {
  if (OnPopup.Assigned()) OnPopup(this);
  SX_NOT_IMPLEMENTED("TPopupMenu.Popup");
}
