#include "platform/gdi/GdiGuards.h"
#include <gtest/gtest.h>
#include "platform/gdi/GdiObjectTable.h"

namespace {

TEST(GdiGuards, SelectionAndSavedStateComeBackAtTheEndOfTheScope) {
  TMemoryDc Dc;
  ASSERT_TRUE(Dc);
  const HGDIOBJ Before = GetCurrentObject(Dc.Dc(), OBJ_PEN);
  SetTextColor(Dc.Dc(), RGB(1, 2, 3));
  {
    TUniqueGdiObject<HPEN> Pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    TSelectObjectGuard Select(Dc.Dc(), Pen.Get());
    EXPECT_TRUE(Select.Selected());
    EXPECT_EQ(GetCurrentObject(Dc.Dc(), OBJ_PEN), Pen.Get());
    TSaveDcGuard Save(Dc.Dc());
    SetTextColor(Dc.Dc(), RGB(9, 9, 9));
  }
  EXPECT_EQ(GetTextColor(Dc.Dc()), RGB(1, 2, 3));
  EXPECT_EQ(GetCurrentObject(Dc.Dc(), OBJ_PEN), Before);
}

TEST(GdiGuards, AMemoryDcGivesItsObjectBackSoTheOwnerCanDeleteIt) {
  HBITMAP Bmp = CreateBitmap(4, 4, 1, 1, nullptr);
  {
    TMemoryDc Dc(Bmp);
    EXPECT_TRUE(Dc.Selected());
  }
  EXPECT_TRUE(DeleteObject(Bmp));
  TMemoryDc Bad(HGDIOBJ(nullptr));
  EXPECT_FALSE(Bad.Selected());
}

}  // namespace
