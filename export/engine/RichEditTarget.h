// RichEditTarget.h — what RenderRichEdit needs of a rich-edit control: the
// range formatting message and the text length. The control answers both;
// TgtRichDocumentTarget answers them for a document without a window.
#pragma once
#include "platform/richedit/RichFormatRange.h"

class IgtRichEditTarget {
public:
  virtual ~IgtRichEditTarget() = default;
  // EM_FORMATRANGE: Render 1 draws, 0 measures; a null Range releases the
  // control's cached formatting. Answers the first character not drawn.
  virtual LRESULT FormatRange(WPARAM Render, FORMATRANGE* Range) = 0;
  // The text length in characters (paragraph marks count one).
  virtual Integer GetTextLen() = 0;
};

// A rich-edit document formatted through the control's own range
// formatting, without a window. Borrows the document.
class TgtRichDocumentTarget : public IgtRichEditTarget {
public:
  explicit TgtRichDocumentTarget(const TRichDocument& Doc, WideString DefaultFace = u"Arial")
      : FDoc(Doc), FFace(std::move(DefaultFace)) {}
  LRESULT FormatRange(WPARAM Render, FORMATRANGE* Range) override;
  Integer GetTextLen() override;

private:
  const TRichDocument& FDoc;
  WideString FFace;
  TRichFormatRange FFormatter;
};
