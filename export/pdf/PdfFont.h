// PdfFont.h — one font resource of the PDF writer: metrics measured with
// the font calls, the base font name, the Unicode map and widths read from
// the TrueType file, and the font file to embed (whole or as a subset).
// Owns its copy of the font; the writer owns the TgtPDFFont objects.
#pragma once
#include <map>
#include <memory>
#include <set>
#include <array>
#include <string_view>
#include <string>
#include <vector>
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/DrawingTools.h"
#include "platform/rtl/Types.h"

class TgtPDFFontInfo {
public:
  explicit TgtPDFFontInfo(Integer ObjectNumber) : ObjectNumber(ObjectNumber) { Widths.fill(600); }
  Integer ObjectNumber;
  std::array<Integer, 224> Widths;   // characters 32..255
  Integer Flags = 0;
  Integer BBoxLeft = -250, BBoxTop = 0, BBoxRight = 0, BBoxBottom = 0;
  Integer Ascent = 800, Descent = -200, CapHeight = 700;
  Integer AvgWidth = 576, MaxWidth = 576;
  Integer Stem = 0;
  Integer ItalicAngle = 0;
  Integer StrikeOutThickness = 0, StrikeOutPosition = 0, UnderlineThickness = 0, UnderlinePosition = -1;
  Byte Kind = 2;   // 0 TrueType, 1 device, 2 base-14
  bool FixedPitch = false;
};

// The Windows code page of a charset (the system's for unknown ones).
UINT gtCodePageOfCharset(BYTE Charset);
// The charset sits on the simple-font path (ANSI, symbol, or default on a 1252 system).
bool gtIsSimpleCharset(BYTE Charset);

// Characters First..Last map one to one onto glyphs from Glyph on.
struct TgtCharRange {
  char32_t First, Last;
  Word Glyph;
};
// The Unicode map of a TrueType file (format 12, else format 4), as sorted,
// disjoint ranges; empty when it has none. Reads nothing outside the file.
std::vector<TgtCharRange> gtReadUnicodeMap(const std::string& File);

class TgtPDFFont {
public:
  TgtPDFFont(TFont* Font, bool Subset, Integer ObjectNumber);
  bool SameFont(TFont* Font) const;
  bool IsAnsiFont() const;
  const AnsiString& GetBaseFontName() const { return FBaseFontName; }
  TgtPDFFontInfo& Info() { return FInfo; }
  TFont* GetFont() { return &FFont; }
  bool GetSubset() const { return FSubset; }
  // The writer chose the face to carry characters the document's faces lack.
  bool IsFallback() const { return FFallback; }
  void SetFallback(bool V) { FFallback = V; }
  // The glyph of a character (a code point) in the face's Unicode map; 0,
  // the missing glyph, when the face lacks it or the map was not read.
  Word GlyphOf(char32_t C) const;
  // Advance of a glyph in thousandths of an em (hmtx; glyphs past its long
  // metrics share the last advance); the descriptor's MaxWidth when unknown.
  Integer GlyphWidth(Word Glyph) const;
  // Records a glyph written through the composite path and the character it
  // stands for: its width, its ToUnicode entry and, for a subset, its outline.
  void UseGlyph(Word Glyph, char32_t C);
  // Glyphs drawn through the composite path, with the character of each.
  const std::map<Word, char32_t>& UsedGlyphs() const { return FUsedGlyphs; }
  // Four hex digits per mapped character (others skipped), recording each glyph as used.
  AnsiString GlyphString(const WideString& Text);
  // Records the characters drawn through the simple path.
  void UseCharacters(const WideString& Text);

  // The outline format of the face the font was measured with.
  TFontFormat Format() const { return FFormat; }
  // The face can be written as a composite font: an sfnt face (glyf or
  // CFF outlines) whose Unicode map was read or can be.
  bool CanBeComposite() const {
    return FInfo.Kind == 0 && (FFormat == TFontFormat::TrueType || FFormat == TFontFormat::OpenTypeCFF);
  }
  // The font program to embed: the sfnt face (TrueType or OpenType), or a
  // Type 1 program as PDF keeps it (clear text, binary encrypted part,
  // trailer; see Type1Lengths). Empty when the face has none or it cannot
  // be read.
  std::string GetFontFile();
  // The three parts of the Type 1 program GetFontFile answered.
  std::array<std::size_t, 3> Type1Lengths() const { return FType1Lengths; }
  // The subset when it can be built and is smaller, else the whole file.
  std::string GetSubsetFontFile();

private:
  void ReadMetrics();
  void ResolveBaseFontName(Integer Family, Integer Weight, bool Italic);
  void ReadCmap(const std::string& File);
  void ReadGlyphWidths(const std::string& File);
  TFont FFont;
  TgtPDFFontInfo FInfo;
  AnsiString FBaseFontName;
  AnsiString FRealFamily;   // of the face the font layer resolved the name to
  bool FSubset;
  bool FFallback = false;
  bool FCmapRead = false;
  std::vector<TgtCharRange> FCmap;   // sorted, disjoint
  std::vector<Integer> FWidths;    // index = glyph
  std::map<Word, char32_t> FUsedGlyphs;
  std::set<char32_t> FUsedChars;
  std::string FFileCache;
  bool FFileRead = false;
  TFontFormat FFormat = TFontFormat::None;
  AnsiString FUsedFace;   // what the font layer answers for the face drawn (GetTextFace)
  std::array<std::size_t, 3> FType1Lengths{0, 0, 0};
};

// A Type 1 program (PFB segments, or PFA with a binary or hexadecimal
// encrypted part) in the form a PDF FontFile holds: the clear text, the
// encrypted part in binary, the trailer; Lengths gets their sizes. False
// when the data is no Type 1 program.
bool gtType1Program(std::string_view File, std::string& Out, std::array<std::size_t, 3>& Lengths);

// Builds a subset of a TrueType file keeping the given glyphs (and glyph 0);
// empty when the font cannot be subset (composite glyph, missing tables).
std::string gtSubsetTrueType(const std::string& File, const std::set<Word>& KeepGlyphs);
