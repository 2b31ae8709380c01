// HarnessEditor.h — the main window's two editors as its form sets them up,
// for the conversion harness: the input editor that documents are imported
// into, and the read-only output editor that shows the tidied HTML.
#pragma once

class TCustomDCMemo;

// The form description's settings, then UseGlobalOptions (read last, so the
// global editor options replace the look), then start-up's removal of the
// input editor's syntax parser.
void ConfigureInputEditor(TCustomDCMemo& Memo);

// The same settings, read-only.
void ConfigureOutputEditor(TCustomDCMemo& Memo);
