#include "app/Lbox.h"

TMyListBox::TMyListBox(TComponent* AOwner) : TListBox(AOwner) {}

void TMyListBox::Published(TPublished<TMyListBox>& P) {
  P.Property("OnChange", &TMyListBox::OnChange, &TMyListBox::OnChange);
}

void TMyListBox::Click() {
  TListBox::Click();
  if (GetItemIndex() != FLastIndex) Change();
}

void TMyListBox::Change() {
  FLastIndex = GetItemIndex();
  if (OnChange.Assigned()) OnChange(this);
}
