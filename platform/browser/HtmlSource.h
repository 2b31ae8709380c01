// HtmlSource.h — a page's bytes made ready for the layout engine: decoded
// to UTF-8 by its declared (or guessed) character set, its nesting cut to a
// depth the layout's recursion stands, and, when the page is large, split
// into pieces that lay out on their own.
//
// A piece is a whole small page: the original head and body tag, the chain
// of elements open where the piece begins (re-opened), its part of the body,
// and closing tags for what is still open where it ends. Pieces are cut only
// between blocks or at a line break, and only where every open element is a
// plain text container (fonts, emphasis, paragraphs, divisions), so stacking
// the pieces' layouts gives the page's layout; a page whose body is one table
// or list stays one piece. Small pages are always one piece.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Types.h"

// The character set of a page: a byte-order mark, else a charset named in
// a meta tag near the start, else UTF-8 when the bytes are valid UTF-8,
// else the ANSI code page. Returns a code page number (CP_UTF8 for UTF-8;
// 1200/1201 for UTF-16 with a mark).
UINT DetectHtmlCodePage(std::string_view Bytes);
// The page's text in UTF-8 (a byte-order mark dropped).
std::string DecodeHtml(std::string_view Bytes);

struct THtmlPiece {
  std::string Text;     // a complete page in UTF-8
  std::size_t Bytes = 0;  // the length of the body part it holds (for estimates)
};

struct THtmlSplitOptions {
  // Pages with a body shorter than this stay whole.
  std::size_t SplitAbove = 256 * 1024;
  // A piece ends at the first cut point past this many bytes of body.
  std::size_t PieceSize = 32 * 1024;
  // Elements opened deeper than this are dropped (their content stays).
  int MaxDepth = 160;
};

// Splits UTF-8 page text into pieces (at least one).
std::vector<THtmlPiece> SplitHtml(std::string_view Utf8, const THtmlSplitOptions& Options = {});
