// RichFormatRange.h — EM_FORMATRANGE: lays a document out from a character
// position into a rectangle in twips against hdcTarget, and draws it into
// hdc when asked.
//
// Drawing goes through the DC calls only, so a metafile DC records it:
// text as ExtTextOutW with a dx array and TA_TOP | TA_LEFT (positions follow
// the target's measure, whatever the drawing DC's own font metrics),
// underline and strike-out as font attributes, backgrounds with FillRect,
// bitmaps with StretchDIBits. Twips map to hdc's logical units through its
// LOGPIXELS and current mapping mode, with twips (0, 0) at logical (0, 0);
// hdc's clip is left as it is, so the caller's clip applies.
//
// The layout is kept between calls with the same document, target
// resolution and width, which makes paging through a document linear; it
// is dropped by Release (EM_FORMATRANGE with a null record) and whenever the
// document changes (the control calls Release).
#pragma once
#include <memory>

#include "platform/richedit/RichEditMessages.h"
#include "platform/richedit/RichLayout.h"

class TRichFormatRange {
public:
  TRichFormatRange();
  ~TRichFormatRange();

  // EM_FORMATRANGE. Range null: releases the cached layout and answers 0.
  // Otherwise answers the first character not laid out (at least one past
  // chrg.cpMin while text remains) and sets Range->rc.bottom to the bottom of
  // what was laid out. DefaultFace names the face of runs without one.
  LRESULT Format(const TRichDocument& Doc, const WideString& DefaultFace, bool Render, FORMATRANGE* Range);
  void Release();
  // The cached layout, for tests and the control (null when released).
  TRichLayout* Layout() const { return FLayout.get(); }

private:
  TRichLayout& LayoutFor(const TRichDocument& Doc, const TRichLayoutParams& Params);
  std::unique_ptr<TRichLayout> FLayout;
  const TRichDocument* FDoc = nullptr;
};

// Draws a laid-out page into Dc with its text rectangle at Rect (twips).
// Exposed for tests; Format calls it when rendering.
void RichRenderPage(HDC Dc, TRichLayout& Layout, const TRichPage& Page, const TRect& Rect);
