// RichEditControl.cpp — the control's messages behind the target seam, and
// the engine's rendering of a control.
#include "export/engine/RichEditControl.h"
#include "export/engine/DocumentEngine.h"
#include "platform/forms/Forms.h"
#include "platform/richedit/RichEdit.h"

LRESULT TgtRichEditControlTarget::FormatRange(WPARAM Render, FORMATRANGE* Range) {
  return FRichEdit.Perform(EM_FORMATRANGE, Render, reinterpret_cast<LPARAM>(Range));
}

Integer TgtRichEditControlTarget::GetTextLen() { return FRichEdit.GetTextLen(); }

void TgtCustomDocumentEngine::RenderRichEdit(TCustomRichEdit* RichEdit, Integer StartChar, double Left,
                                             double Top, double Right, double Bottom, Integer EndChar,
                                             TColor BackColor) {
  if (!RichEdit) return;
  TgtRichEditControlTarget Target(*RichEdit);
  RenderRichEdit(Target, StartChar, Left, Top, Right, Bottom, EndChar, BackColor);
}

namespace {
// A hidden control on a form of its own, freed (control first) however the
// rendering ends.
struct THiddenRichEdit {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  std::unique_ptr<TRichEdit> RichEdit = std::make_unique<TRichEdit>(nullptr);
  THiddenRichEdit() {
    RichEdit->SetParent(Form.get());
    RichEdit->SetVisible(false);
  }
};
}  // namespace

void TgtCustomDocumentEngine::RenderRTFFile(const AnsiString& FileName, Integer StartChar, double Left,
                                            double Top, double Right, double Bottom, Integer EndChar,
                                            TColor BackColor) {
  THiddenRichEdit Hidden;
  Hidden.RichEdit->GetLines()->LoadFromFile(FileName);
  RenderRichEdit(Hidden.RichEdit.get(), StartChar, Left, Top, Right, Bottom, EndChar, BackColor);
}

void TgtCustomDocumentEngine::RenderRTFStream(TStream* Stream, Integer StartChar, double Left, double Top,
                                              double Right, double Bottom, Integer EndChar, TColor BackColor) {
  if (!Stream) return;
  THiddenRichEdit Hidden;
  Stream->SetPosition(0);
  Hidden.RichEdit->GetLines()->LoadFromStream(Stream);
  RenderRichEdit(Hidden.RichEdit.get(), StartChar, Left, Top, Right, Bottom, EndChar, BackColor);
}
