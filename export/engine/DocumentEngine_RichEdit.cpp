// DocumentEngine_RichEdit.cpp — a rich edit rendered page by page onto the page
// canvases through the control's range formatting.
#include <cmath>
#include "export/engine/DocumentEngine.h"

LRESULT TgtRichDocumentTarget::FormatRange(WPARAM Render, FORMATRANGE* Range) {
  if (!Range) {
    FFormatter.Release();
    return 0;
  }
  return FFormatter.Format(FDoc, FFace, Render != 0, Range);
}

Integer TgtRichDocumentTarget::GetTextLen() { return FDoc.TextLength(); }

namespace {
// Pixels to twips against the screen resolution; the width and height go
// through as differences so that the far edges round like the near ones.
Int64 Twips(double Px, Integer Ppi) { return RoundHalfEven(Px) * 1440 / Ppi; }
}  // namespace

TRect gtRectToTwips(double L, double T, double R, double B, Integer Ppi) {
  const Int64 Left = Twips(L, Ppi), Top = Twips(T, Ppi);
  return TRect(Integer(Left), Integer(Top), Integer(Twips(R - L, Ppi) + Left), Integer(Twips(B - T, Ppi) + Top));
}

void TgtCustomDocumentEngine::RenderRichEdit(IgtRichEditTarget& RichEdit, Integer StartChar, double Left,
                                             double Top, double Right, double Bottom, Integer EndChar,
                                             TColor BackColor) {
  if (!FDocOpen || !FCanvas) return;
  const double L = UnitToPixelsX(Left), R = UnitToPixelsX(Right), T = UnitToPixelsY(Top),
               B = UnitToPixelsY(Bottom);
  const TRect Twip = gtRectToTwips(L, T, R, B, gtScreenPPI());
  FORMATRANGE Range;
  Range.hdc = Range.hdcTarget = FCanvas->GetHandle();
  Range.rc = Range.rcPage = Twip;
  Range.chrg.cpMin = StartChar;
  Range.chrg.cpMax = EndChar;
  const Integer Last = RichEdit.GetTextLen() - 1;
  Integer Start = StartChar;
  for (;;) {
    if (BackColor != TColor(0xFFFFFF)) {
      FCanvas->Brush()->SetColor(BackColor);
      auto Px = [](Integer V) { return RoundInt(V * 96.0 / 1440.0); };
      FCanvas->FillRect(TRect(Px(Range.rc.Left), Px(Range.rc.Top), Px(Range.rc.Right), Px(Range.rc.Bottom)));
    }
    Range.rc = Twip;
    Range.chrg.cpMin = Start;
    const LRESULT Next = RichEdit.FormatRange(1, &Range);
    // A control that makes no progress would open pages for ever.
    if (Next < Last && Next != -1 && Next > Start) {
      NewPage();
      // NewPage may have ended the document (an abort): nothing to draw on.
      if (!FDocOpen || !FCanvas) break;
      Range.hdc = Range.hdcTarget = FCanvas->GetHandle();
      Start = Integer(Next);
    } else {
      break;
    }
  }
  RichEdit.FormatRange(0, nullptr);
}
