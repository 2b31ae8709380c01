// RichEditControl.h — the rich-edit control as a rendering target: range
// formatting and the text length go to the control as messages, as the
// application's engines send them. Borrows the control.
#pragma once
#include "export/engine/RichEditTarget.h"

class TCustomRichEdit;

class TgtRichEditControlTarget : public IgtRichEditTarget {
public:
  explicit TgtRichEditControlTarget(TCustomRichEdit& RichEdit) : FRichEdit(RichEdit) {}
  LRESULT FormatRange(WPARAM Render, FORMATRANGE* Range) override;
  Integer GetTextLen() override;

private:
  TCustomRichEdit& FRichEdit;
};
