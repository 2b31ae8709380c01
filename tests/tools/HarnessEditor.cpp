#include "HarnessEditor.h"

#include <memory>
#include "editor/controls/DCMemo.h"

namespace {

// What both editors share in the main window's form description. Options,
// font and text styles are set although the global options replace them:
// the order is the form loader's, and a global option the library does not
// (yet) carry keeps the described value.
void ApplyCommonSettings(TCustomDCMemo& Memo) {
  Memo.SetTabStops("9,17");
  Memo.GetSource()->SetBlockIndent(4);
  Memo.SetSpacesInTab(8);
  Memo.SetBlockOption(bkStreamSel);
  Memo.SetStringsOptions({soBackUnindents, soGroupUndo, soForceCutCopy, soAutoIndent, soSmartTab,
                          soFindTextAtCursor, soOverwriteBlocks, soLimitEOL});
  Memo.SetOptions({moDrawGutter, moThumbTracking, moColorSyntax, moLineNumbers, moSelectOnlyText,
                   moLineNumbersOnGutter});
  TFont Font;
  Font.SetName("Tahoma");
  Font.SetHeight(-11);
  Font.SetColor(clBlack);
  Memo.SetFont(&Font);
  Memo.SetUseGlobalOptions(true);
}

}  // namespace

void ConfigureInputEditor(TCustomDCMemo& Memo) {
  Memo.SetReadOnly(false);
  ApplyCommonSettings(Memo);
  // Start-up takes the parser away from the input editor: imported text
  // keeps its own look instead of a syntax colouring.
  Memo.SetSyntaxParser(nullptr);
}

void ConfigureOutputEditor(TCustomDCMemo& Memo) {
  ApplyCommonSettings(Memo);
  Memo.SetReadOnly(true);
}
