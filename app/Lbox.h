// Lbox.h — a list box that tells when its selected entry changed: Click
// runs Change (and OnChange) only when ItemIndex moved since the last time.
#pragma once
#include "platform/forms/ListCtrls.h"

class TMyListBox : public TListBox {
  SX_CLASS(TMyListBox, TListBox)
public:
  explicit TMyListBox(TComponent* AOwner);
  static void Published(TPublished<TMyListBox>& P);

  TNotifyEvent OnChange;

protected:
  void Click() override;
  virtual void Change();

private:
  Integer FLastIndex = -1;
};
