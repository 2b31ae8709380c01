// The options dialog's pages, the combined Find and Replace window and the
// print form as the screen shows them, compared at chosen pixels with small
// golden pictures a person has looked at (tests/fixtures/editor/dialogs).
// The chosen pixels lie on what the forms draw themselves (swatches, style
// samples, check marks, the arrow glyph), not on text, which differs with
// the machine's fonts. SX_UPDATE_GOLDENS=1 writes the pictures anew (then
// look at them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "DialogsTestSupport.h"
#include "editor/dialogs/EnvOptions.h"
#include "editor/dialogs/OptionPages.h"
#include "editor/dialogs/PrintDialogs.h"
#include "editor/dialogs/SearchDialogs.h"
#include "editor/options/MemoEnvOptions.h"
#include "editor/text/SearchUi.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/Colors.h"
#include "platform/win/Win.h"
#include "support/TestFiles.h"

namespace {

class OptionPictures : public TEditorDialogsTest {
protected:
  void SetUp() override {
    TEditorDialogsTest::SetUp();
    RegisterEnvironmentDialog();
    RegisterPrintDialogs();
  }
  void TearDown() override {
    FreeEnvWorkingOptions();
    TEditorDialogsTest::TearDown();
  }
};

// A control's part of the picture and points in it (control coordinates).
struct TShownPart {
  TControl* Control;
  std::vector<TPoint> Pixels;
};

// Saves the form's picture under build/ and compares the chosen pixels of
// each part with its golden picture (or writes the goldens on request).
void CheckPicture(TForm* Form, const std::string& Name, const std::vector<TShownPart>& Parts) {
  TEditorDialogsTest::SaveShot(Form, "editor-dialogs-" + Name);
  for (size_t i = 0; i < Parts.size(); ++i) {
    TControl* C = Parts[i].Control;
    const TPoint O = C->ClientToScreen({0, 0});
    const TRect Area{O.X, O.Y, O.X + C->GetWidth(), O.Y + C->GetHeight()};
    const std::string Golden = std::string(SX_SOURCE_DIR) + "/tests/fixtures/editor/dialogs/" + Name + "-" +
                               std::to_string(i + 1) + ".png";
    if (std::getenv("SX_UPDATE_GOLDENS")) {
      std::filesystem::create_directories(std::filesystem::path(Golden).parent_path());
      HeadlessDisplay().SaveScreenshot(Golden, &Area);
      continue;
    }
    ASSERT_TRUE(std::filesystem::exists(Golden)) << Golden;
    const TDib G = ReadPng(sxtest::ReadFileBytes(Golden), TPngAlpha::OverWhite);
    ASSERT_EQ(G.BitCount(), 24);
    ASSERT_EQ(G.Width(), Area.Width());
    ASSERT_EQ(G.Height(), Area.Height());
    for (const TPoint& P : Parts[i].Pixels) {
      const COLORREF Got = HeadlessDisplay().ScreenPixel(O.X + P.X, O.Y + P.Y);
      const Byte* Px = G.ScanLine(P.Y) + P.X * 3;  // blue, green, red
      EXPECT_EQ(Got, RGB(Px[2], Px[1], Px[0])) << Name << " part " << i + 1 << " at " << P.X << "," << P.Y;
    }
  }
}

TDCFormTabSheet* Sheet(TEnvForm* D, Integer I) { return static_cast<TDCFormTabSheet*>(D->PageProps->Pages(I)); }

TEST_F(OptionPictures, OptionPagesDrawTheirSwatchesAndSamples) {
  GetMemoEnvOptions()->GetMarginPen()->SetStyle(psDot);
  GetMemoEnvOptions()->GetGutterBrush()->SetStyle(bsCross);
  Drive(ShowEnvironmentOptions,
        {[&](TForm* F) {
           auto* D = dynamic_cast<TEnvForm*>(F);
           ASSERT_TRUE(D);
           auto* E = dynamic_cast<TEditorOptForm*>(Sheet(D, 0)->PageForm());
           ASSERT_TRUE(E);
           // A check mark, and an empty box.
           E->GroupUndoChk->SetChecked(true);
           E->DisDragChk->SetChecked(false);
           Pump();
           CheckPicture(F, "Editor", {{E->GroupUndoChk, {{6, 8}, {7, 9}, {3, 4}}}, {E->DisDragChk, {{6, 8}}}});
           D->PageProps->SetActivePageIndex(1);
         },
         [&](TForm* F) {
           auto* D = dynamic_cast<TEnvForm*>(F);
           auto* P = dynamic_cast<TDisplayOptForm*>(Sheet(D, 1)->PageForm());
           ASSERT_TRUE(P);
           P->GutterColorEdit->SetSelectedColor(clRed);
           Pump();
           // The red swatch, the cross-hatched gutter sample and the dotted margin line.
           // Both pickers are edits with a button: the swatch and the line
           // stand in the inner edit, a pixel below the client's top.
           const Integer Mid = P->MarginStyleEdit->ClientHeight() / 2;
           CheckPicture(F, "Display",
                        {{P->GutterColorEdit, {{10, 10}, {20, 8}}},
                         {P->GutterStyleEdit, {{3, 8}, {7, 10}, {10, 8}, {5, 5}, {12, 12}, {30, 3}}},
                         {P->MarginStyleEdit, {{2, Mid}, {3, Mid}, {5, Mid}, {6, Mid}, {8, Mid}, {6, Mid - 3}}}});
           D->PageProps->SetActivePageIndex(2);
         },
         [&](TForm* F) {
           auto* D = dynamic_cast<TEnvForm*>(F);
           auto* C = dynamic_cast<TColorsOptForm*>(Sheet(D, 2)->PageForm());
           ASSERT_TRUE(C);
           C->ComboBox1->SetItemIndex(1);  // Classic: yellow on navy
           C->ComboBox1Change(C->ComboBox1);
           Pump();
           CheckPicture(F, "Colors", {{C->ForeColor, {{10, 10}, {20, 8}}}, {C->BackColor, {{10, 10}, {20, 8}}}});
           Click(D->CancelBut);
         }});
}

TEST_F(OptionPictures, SearchReplaceWindowAndPrintForm) {
  std::unique_ptr<TForm> W(CreateEditorDialog(SearchReplaceFormClass));
  auto* S = dynamic_cast<TFrmSearRepl*>(W.get());
  ASSERT_TRUE(S);
  S->Show();
  S->ExBtnClick(S->ExBtn);  // the options panel open: the arrow points up
  S->dirBackward->SetChecked(true);
  Pump();
  CheckPicture(S, "FrmSearRepl", {{S->ExBtn, {{49, 11}, {46, 14}, {53, 14}, {45, 14}, {49, 10}}},
                                  {S->dirBackward, {{6, 8}, {7, 8}, {2, 8}}}});
  W.reset();

  std::unique_ptr<TForm> P(CreateEditorDialog(MemoPrintFormClass));
  auto* Print = dynamic_cast<TMemoPrintForm*>(P.get());
  ASSERT_TRUE(Print);
  Print->Flags = {poLineNumbers};
  Print->Show();
  Pump();
  CheckPicture(Print, "MemoPrintForm", {{Print->LineNumbersCheck, {{6, 8}, {7, 9}}}, {Print->HeaderCheck, {{6, 8}}}});
  P.reset();

  std::unique_ptr<TForm> Progress(CreateEditorDialog(MemoPrintProgressClass));
  auto* Box = dynamic_cast<TMemoPrintProgress*>(Progress.get());
  ASSERT_TRUE(Box);
  Box->ProgressBar->SetPosition(50);
  Box->Show();
  Pump();
  const Integer Mid = Box->ProgressBar->GetHeight() / 2;
  CheckPicture(Box, "MemoPrintProgress", {{Box->ProgressBar, {{20, Mid}, {150, Mid}, {250, Mid}}}});
}

}  // namespace
