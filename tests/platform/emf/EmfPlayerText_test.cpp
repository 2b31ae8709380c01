// Text records played back: every code unit of a recorded text reaches the
// target's font as it was drawn, in symbol faces too, so a recorded glyph
// plays as itself and never as the glyph of its low byte.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/EmfPlayer.h"
#include "platform/gdi/EmfRecorder.h"
#include "platform/gdi/Text.h"
#include "EmfTestPage.h"

namespace {

constexpr int W = 60, H = 40;

HFONT MakeFont(const char16_t* Face, BYTE CharSet) {
  LOGFONTW Lf;
  Lf.lfHeight = -24;
  Lf.lfCharSet = CharSet;
  for (int I = 0; Face[I]; ++I) Lf.lfFaceName[I] = Face[I];
  return CreateFontIndirectW(&Lf);
}

void DrawSample(HDC Dc, const char16_t* Face, const std::u16string& Text, bool Ansi) {
  HFONT F = MakeFont(Face, SYMBOL_CHARSET);
  HGDIOBJ Old = SelectObject(Dc, F);
  SetBkMode(Dc, TRANSPARENT);
  if (Ansi) {
    const std::string Bytes(Text.begin(), Text.end());
    TextOutA(Dc, 6, 6, Bytes.data(), int(Bytes.size()));
  } else {
    TextOutW(Dc, 6, 6, Text.c_str(), int(Text.size()));
  }
  SelectObject(Dc, Old);
  DeleteObject(F);
}

void Play(const char16_t* Face, const std::u16string& Text, bool Ansi, TRasterTarget& Target) {
  HDC Rec = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  DrawSample(Rec, Face, Text, Ansi);
  HENHMETAFILE Mf = CloseEnhMetaFile(Rec);
  ASSERT_NE(Mf, nullptr);
  EXPECT_TRUE(PlayEnhMetaFile(Target.Dc, Mf, nullptr));
  DeleteEnhMetaFile(Mf);
}

}  // namespace

TEST(PlayEnhMetaFile, SymbolFontTextPlaysBackAsTheRecordedGlyphs) {
  struct TCase {
    const char16_t* Face;
    std::u16string Text;
    std::u16string LowBytes;  // the text cut to the low byte of each unit, when that draws otherwise
    bool Ansi;
    const char* Why;
  };
  const TCase Cases[] = {
      {u"Marlett", u"\xF067\xF061", u"", false, "Marlett's private-use codes are its glyphs"},
      {u"Marlett", u"\x0167", u"g", false, "a code Marlett lacks stays blank, not the glyph of its low byte"},
      {u"Symbol", u"\x03B1\x03B2", u"\xB1\xB2", false, "Unicode Greek in Symbol is Greek, not the codes B1 and B2"},
      {u"Symbol", u"\xF061", u"", false, "the Symbol encoding through the private-use range"},
      {u"Marlett", u"gab", u"", true, "ANSI text of a symbol face keeps its bytes"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TRasterTarget Direct(W, H), Played(W, H), LowByte(W, H);
    DrawSample(Direct.Dc, C.Face, C.Text, C.Ansi);
    Play(C.Face, C.Text, C.Ansi, Played);
    DrawSample(LowByte.Dc, C.Face, C.LowBytes, C.Ansi);
    EXPECT_EQ(DifferentPixels(Direct, Played, 0), 0);
    if (!C.LowBytes.empty()) {
      EXPECT_GT(DifferentPixels(Played, LowByte, 0), 10) << "the low bytes draw something else";
    }
  }
}
