// The editor's print options form and its printing status box: the options
// the boxes show and give back, the caption that follows the selection box,
// the printer set-up, and the button row without Help.
#include <gtest/gtest.h>

#include <memory>

#include "DialogsTestSupport.h"
#include "editor/dialogs/PrintDialogs.h"
#include "editor/text/SearchUi.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/StdCtrls.h"

namespace {

class PrintDialogs : public TEditorDialogsTest {
protected:
  void SetUp() override {
    TEditorDialogsTest::SetUp();
    RegisterPrintDialogs();
  }
  static std::unique_ptr<TMemoPrintForm> MakeForm() {
    return std::unique_ptr<TMemoPrintForm>(dynamic_cast<TMemoPrintForm*>(CreateEditorDialog(MemoPrintFormClass)));
  }
};

TEST_F(PrintDialogs, OptionsFormShowsAndGivesBackItsFlags) {
  struct {
    TDCPrintOptions In;
    bool SelectBlock;
    TDCPrintOptions Out;
    const char* Caption;
  } Cases[] = {
      {{poWrapLines, poShowProgress}, false, {poWrapLines, poShowProgress}, "Print"},
      {{}, false, {}, "Print"},
      {{poInColor, poPrintHeader, poLineNumbers, poPrintSyntax}, false,
       {poInColor, poPrintHeader, poLineNumbers, poPrintSyntax}, "Print"},
      // The selection box is the form's own: it is not taken from Flags.
      {{poPrintSel, poWrapLines}, false, {poWrapLines}, "Print"},
      {{poShowProgress}, true, {poShowProgress, poPrintSel}, "Print Selection"},
  };
  for (const auto& C : Cases) {
    auto F = MakeForm();
    ASSERT_TRUE(F);
    F->Flags = C.In;
    TModalResult R = mrNone;
    Drive([&] { R = F->ShowModal(); }, {[&](TForm*) {
                                          EXPECT_EQ(F->WrapLinesCheck->GetChecked(), C.In.Contains(poWrapLines));
                                          EXPECT_EQ(F->ShowPrintProgress->GetChecked(), C.In.Contains(poShowProgress));
                                          EXPECT_EQ(F->UseColorCheck->GetChecked(), C.In.Contains(poInColor));
                                          EXPECT_FALSE(F->PrintSelCheck->GetChecked());
                                          if (C.SelectBlock) Click(F->PrintSelCheck);
                                        },
                                        [&](TForm*) {
                                          EXPECT_EQ(F->GetCaption(), C.Caption);
                                          Click(F->OkBut);
                                        }});
    EXPECT_EQ(R, mrOk);
    EXPECT_EQ(F->Flags, C.Out);
  }
}

TEST_F(PrintDialogs, CancelKeepsTheFlagsAndSetupOpensThePrinterDialog) {
  auto F = MakeForm();
  ASSERT_TRUE(F);
  F->Flags = {poWrapLines};
  TDialogScript Script;
  Script.Then(mrCancel);
  TModalResult R = mrNone;
  Drive([&] { R = F->ShowModal(); }, {[&](TForm*) {
                                        Click(F->HeaderCheck);
                                        Click(F->SetupBut);
                                      },
                                      [&](TForm*) { Click(F->CancelBut); }});
  EXPECT_EQ(R, mrCancel);
  EXPECT_EQ(F->Flags, TDCPrintOptions{poWrapLines});
  ASSERT_EQ(Script.Asked().size(), 1u);
  EXPECT_EQ(Script.Asked()[0].Kind, "TPrinterSetupDialog");
}

TEST_F(PrintDialogs, TextsAndButtonRow) {
  auto F = MakeForm();
  ASSERT_TRUE(F);
  EXPECT_EQ(F->GetCaption(), "Print");
  EXPECT_EQ(F->ClientWidth(), 425);
  EXPECT_EQ(F->ClientHeight(), 249);
  EXPECT_EQ(F->gbxPrintDestination->GetCaption(), "File To Print:");
  EXPECT_EQ(F->HeaderCheck->GetCaption(), "Header/page &number");
  EXPECT_EQ(F->SetupBut->GetCaption(), "Se&tup...");
  // Help hidden: Setup, OK and Cancel each move one place right.
  EXPECT_FALSE(F->HelpBut->GetVisible());
  EXPECT_EQ(F->SetupBut->GetLeft(), 184);
  EXPECT_EQ(F->OkBut->GetLeft(), 264);
  EXPECT_EQ(F->CancelBut->GetLeft(), 344);

  std::unique_ptr<TForm> P(CreateEditorDialog(MemoPrintProgressClass));
  auto* Progress = dynamic_cast<TMemoPrintProgress*>(P.get());
  ASSERT_NE(Progress, nullptr);
  EXPECT_EQ(Progress->GetCaption(), "Printing Status");
  EXPECT_EQ(Progress->lblPrinter->GetCaption(), "Searching printers ...");
  EXPECT_EQ(Progress->lblProgress->GetCaption(), "Printing pages:    calculation ...");
  EXPECT_EQ(Progress->btnCancel->GetCaption(), "Cancel");
  EXPECT_EQ(Progress->ProgressBar->GetMax(), 100);
  EXPECT_EQ(Progress->ClientWidth(), 353);
}

}  // namespace
