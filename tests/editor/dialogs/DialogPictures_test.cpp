// The dialogs as drawn: each is saved under build/ for a person to look at,
// and chosen pixels are checked against what the layout puts there.
#include <gtest/gtest.h>

#include <memory>

#include "DialogsTestSupport.h"
#include "editor/controls/HistoryEditor.h"
#include "editor/dialogs/SearchDialogs.h"
#include "editor/text/Search.h"
#include "platform/rtl/Colors.h"

namespace {
using DialogPictures = TEditorDialogsTest;
}  // namespace

namespace {
COLORREF Rgb(TColor C) { return ColorToRGB(C); }
// Where OK stood before the hidden Help button's row moved it 80 pixels
// right: plain face now.
COLORREF WhereOkWas(TButton* OK) {
  return TEditorDialogsTest::PixelAt(OK->GetParent(), OK->GetLeft() - 80 + 5, OK->GetTop() + 12);
}
}  // namespace

TEST_F(DialogPictures, FindReplaceAndGoToDrawTheirControls) {
  GetSearchOptions()->TextToFind = "needle";
  for (const char* ClassName : {FindDialogClass, ReplaceDialogClass, InputLineFormClass}) {
    std::unique_ptr<TForm> F(CreateEditorDialog(ClassName));
    F->Show();
    Pump();
    SaveShot(F.get(), std::string("editor-dialogs-") + ClassName);
    if (auto* D = dynamic_cast<TSearchDialogBase*>(F.get())) {
      // The field's white beyond its text; the chosen direction's dot.
      EXPECT_EQ(PixelAt(D->SearText, 250, 10), Rgb(clWindow)) << ClassName;
      EXPECT_NE(PixelAt(D->dirForward, 6, 8), PixelAt(D->dirBackward, 6, 8)) << ClassName;
      // The default OK button has its dark frame where it moved to.
      EXPECT_EQ(PixelAt(D->OKBut, 0, 12), Rgb(clBlack)) << ClassName;
      EXPECT_EQ(WhereOkWas(D->OKBut), Rgb(clBtnFace)) << ClassName;
    } else {
      auto* In = dynamic_cast<TInputLineForm*>(F.get());
      ASSERT_NE(In, nullptr);
      EXPECT_EQ(PixelAt(In->PropEdit, 100, 10), Rgb(clWindow));
      EXPECT_EQ(PixelAt(In->OkBut, 0, 12), Rgb(clBlack));
      EXPECT_EQ(WhereOkWas(In->OkBut), Rgb(clBtnFace));
    }
  }
}
