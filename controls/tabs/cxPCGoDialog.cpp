#include "controls/tabs/cxPCGoDialog.h"

#include "controls/tabs/cxPC.h"
#include "controls/tabs/cxPCPainters.h"

TcxPCGoDialog::TcxPCGoDialog(TComponent* AOwner, TcxCustomTabControl* AControl)
    : TPopupMenu(AOwner), FControl(AControl) {}

void TcxPCGoDialog::Popup(bool ASort) {
  TMenuItem* Root = Items();
  Root->Clear();
  (void)ASort;  // the entries come sorted by the control's pcoSort
  for (auto& [Caption, Index] : FControl->GoDialogEntries()) {
    auto* Item = new TMenuItem(nullptr);
    Item->SetCaption(Caption);
    Item->SetTag(Index);
    Item->OnClick = TNotifyEvent(this, &TcxPCGoDialog::ItemClick);
    Root->Add(Item);
  }
  const TRect B = FControl->Painter()->GetGoDialogButtonBounds();
  const TPoint P = FControl->ClientToScreen({B.Left, B.Bottom});
  FChosen = -1;
  TPopupMenu::Popup(P.X, P.Y);
  // The choice (or none) is handed on once the menu has closed.
  FControl->GoDialogItemClicked(FChosen);
}

void TcxPCGoDialog::ItemClick(TObject* Sender) {
  if (auto* Item = dynamic_cast<TMenuItem*>(Sender)) FChosen = Item->GetTag();
}
