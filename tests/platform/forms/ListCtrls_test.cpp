#include "platform/forms/ListCtrls.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/forms/Forms.h"
#include "platform/win/Menus.h"
#include "platform/win/Win.h"

namespace {
// A list box in a window of its own, as drop-down lists are.
class TTopLevelList : public TListBox {
  SX_CLASS(TTopLevelList, TListBox)
public:
  using TListBox::TListBox;

protected:
  void CreateParams(TCreateParams& Params) override {
    TListBox::CreateParams(Params);
    Params.Style = (Params.Style & 0xFFFF) | WS_POPUP | WS_BORDER;
    Params.WndParent = nullptr;
  }
};

TEST(TCustomListBox, OnlyAChildListHasAControlId) {
  auto Form = std::make_unique<TForm>(nullptr);
  Form->SetBounds(0, 0, 200, 150);
  auto* A = new TListBox(Form.get());
  A->SetParent(Form.get());
  auto* B = new TListBox(Form.get());
  B->SetParent(Form.get());
  EXPECT_NE(GetDlgCtrlID(A->Handle()), 0);
  EXPECT_NE(GetDlgCtrlID(A->Handle()), GetDlgCtrlID(B->Handle())) << "each child its own id";

  // In a top-level window the id field holds the menu: a list there must
  // not get a menu bar, and its client area is the window less the border.
  auto Top = std::make_unique<TTopLevelList>(nullptr);
  Top->SetBounds(10, 10, 80, 60);
  Top->HandleNeeded();
  EXPECT_EQ(GetWindowLongPtrA(Top->Handle(), GWLP_ID), 0);
  EXPECT_EQ(GetMenu(Top->Handle()), nullptr);
  TRect W, C;
  GetWindowRect(Top->Handle(), &W);
  GetClientRect(Top->Handle(), &C);
  EXPECT_EQ((W.Bottom - W.Top) - (C.Bottom - C.Top), (W.Right - W.Left) - (C.Right - C.Left))
      << "no strip above the rows";
}
}  // namespace
