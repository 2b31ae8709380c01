// The main window's two editors take the global editor options (the
// description reads UseGlobalOptions last), so they show the global font
// and follow a change of it at once.
#include "MainWindowFixture.h"

#include "editor/controls/DCMemo.h"
#include "editor/options/MemoEnvOptions.h"

namespace {
using sxtest::MainWindowTest;
}  // namespace

TEST_F(MainWindowTest, EditorsTakeTheGlobalEditorFont) {
  CreateMainWindow();
  TMemoEnvOptions* Global = GetMemoEnvOptions();
  for (TDCMemo* M : {Main->DCMemo, Main->DCMemo1}) {
    SCOPED_TRACE(M->GetName());
    EXPECT_TRUE(M->GetUseGlobalOptions());
    EXPECT_EQ(M->GetFont()->GetName(), Global->GetFont()->GetName());
    EXPECT_EQ(M->GetFont()->GetSize(), Global->GetFont()->GetSize());
  }
  const AnsiString Before = Global->GetFont()->GetName();
  Global->GetFont()->SetName(Before == "Courier New" ? "DejaVu Sans Mono" : "Courier New");
  EXPECT_EQ(Main->DCMemo->GetFont()->GetName(), Global->GetFont()->GetName()) << "a change reaches the editors";
  Global->GetFont()->SetName(Before);
}

