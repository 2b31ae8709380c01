// FontMarlett.h — the built-in "Marlett" face: the check box, radio button,
// arrow and caption-button glyphs that the controls and the printing system
// draw as characters. Each glyph is a set of polygons on a 13-unit grid (the
// classic 13-pixel check box at 10 pt on a 96-dpi screen) filling the em
// square, which is also the font's cell: ascent = em, descent = 0.
#pragma once
#include <ft2build.h>
#include FT_FREETYPE_H
#include <vector>

// The outline of Marlett character Code scaled to an em of XEm by YEm pixels,
// in 26.6 units with y up and the origin on the baseline at the pen. Empty
// for characters the face does not draw. Contours are filled even-odd.
void MarlettGlyphOutline(char Code, double XEm, double YEm, std::vector<FT_Vector>& Points, std::vector<short>& Ends);
