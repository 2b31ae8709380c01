// The memo source's side of the code templates: its collection, the
// template set and inserting a template's text.
#include "editor/text/MemoSource.h"
#include "platform/rtl/Guards.h"

void TCustomMemoSource::SetCodeTemplates(TMemoCodeTemplates* Value) {
  if (Value == FCodeTemplates.get()) return;
  FCodeTemplates->Assign(Value);
}

void TCustomMemoSource::SetTemplatesType(const AnsiString& Value) {
  if (Value == FTemplatesType) return;
  TFillTemplatesProc Fill = nullptr;
  if (!FindCodeTemplates(Value, Fill)) return;
  FTemplatesType = Value;
  if (Fill) Fill(FCodeTemplates.get());
}

void TCustomMemoSource::InsertTemplateLines(TStrings* Lines) {
  if (!Lines || Lines->GetCount() == 0) return;
  BeginUpdate(MemoCode::TemplateInsert);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const TPoint Target = PrepareTemplateLines(Lines, GetCaretChar(), GetCaretLine());
    InsertLines(Lines, /*Block=*/false);
    ClearSelection();
    SetCaret(Target.X, Target.Y);
  }
}
