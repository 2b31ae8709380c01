// cxPCGoDialog.h — the go dialog: the drop-down list of a tab control's
// tabs that its go-dialog navigator button opens; choosing an entry makes
// that tab current.
#pragma once
#include "platform/forms/Menus.h"

class TcxCustomTabControl;

class TcxPCGoDialog : public TPopupMenu {
  SX_CLASS(TcxPCGoDialog, TPopupMenu)
public:
  TcxPCGoDialog(TComponent* AOwner, TcxCustomTabControl* AControl);
  // Rebuilds the entries (sorted by caption without accelerators when
  // ASort), shows them below the go-dialog button and runs the menu; the
  // control is told of the choice, or of none (-1) when it closes.
  void Popup(bool ASort);

private:
  void ItemClick(TObject* Sender);
  TcxCustomTabControl* FControl;
  int FChosen = -1;
};
