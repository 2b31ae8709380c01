// FontEngine.h — turns a logical font into a realized font at a device pixel
// size: face resolution through fontconfig (with the metric-compatible
// substitutes for the Windows core faces), GDI-style metrics from the sfnt
// tables through FreeType, glyph advances and anti-aliased glyph bitmaps from
// a per-instance cache, and the raw sfnt bytes for GetFontData.
//
// Everything here works in device pixels with y growing downwards; the text
// API converts to and from logical units. Instances are shared and cached by
// their full description, live as long as any holder, and are not thread-safe
// (the graphics layer runs on the GUI thread).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include "platform/gdi/FontTypes.h"

// One anti-aliased glyph image: coverage 0..255, row-major, Width bytes a row.
// (Left, Top) is the offset of the image's top-left pixel from the pen
// position on the baseline, in device pixels, y down.
struct TGlyphBitmap {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Coverage;
};

// A face as found on disk, mapped and loaded once per file and face index.
class TFontFile;

// The outline format of a face's file.
enum class TFontFormat {
  None,         // no file: the built-in faces and the Symbol code map
  TrueType,     // sfnt with glyf outlines (alone or in a collection)
  OpenTypeCFF,  // sfnt with PostScript (CFF) outlines
  Type1,        // PostScript Type 1 (PFB or PFA)
  Other,        // anything else FreeType reads
};

// How a logical font's face name was resolved.
struct TResolvedFace {
  std::shared_ptr<TFontFile> File;  // null for the built-in procedural faces
  std::u16string FaceName;          // what GetTextFace answers
  bool SynthBold = false;
  bool SynthItalic = false;
  enum class TKind { Sfnt, Marlett } Kind = TKind::Sfnt;
  bool SymbolMap = false;  // codes 0x20..0xFF drawn through the Symbol encoding
};

// A realized font: one face at one device size and orientation.
class TFontInstance {
public:
  // The cached instance for Lf with lfHeight/lfWidth already in device pixels.
  static std::shared_ptr<TFontInstance> Get(const LOGFONTW& DeviceLf);

  ~TFontInstance();
  TFontInstance(const TFontInstance&) = delete;
  TFontInstance& operator=(const TFontInstance&) = delete;

  const LOGFONTW& LogFont() const { return FLogFont; }
  const TResolvedFace& Face() const { return FFace; }
  const TEXTMETRICW& Metrics() const { return FMetrics; }
  // Outline metrics with the name fields left null (the API packs them).
  const OUTLINETEXTMETRICW& OutlineMetrics() const { return FOutline; }
  std::u16string FamilyName() const;
  std::u16string StyleName() const;
  std::u16string FullName() const;
  bool IsTrueType() const { return FFace.Kind == TResolvedFace::TKind::Sfnt; }
  bool IsSymbolCharset() const { return FMetrics.tmCharSet == SYMBOL_CHARSET; }
  // Em height in device pixels.
  int EmPixels() const { return FEmPixels; }

  // Glyph index of a UTF-16 code unit (0 = the missing glyph).
  std::uint32_t GlyphIndex(char32_t Ch) const;
  // The glyph that draws Ch: the face's own, or, when the face lacks it,
  // the glyph of an installed face that has it, realized at the same em
  // size, weight, slant and escapement (what font linking does). Symbol
  // faces and control codes do not fall back; a character no face has is
  // the face's missing glyph. The fallback instance lives as long as this
  // one. Costs one cmap look-up when the face has the character.
  struct TGlyphRef {
    const TFontInstance* Font;
    std::uint32_t Glyph;
  };
  TGlyphRef ResolveGlyph(char32_t Ch) const;
  // Horizontal advance of a glyph in device pixels along the baseline,
  // including the synthetic-bold pixel.
  int GlyphAdvance(std::uint32_t Glyph) const;
  // The a, b and c spacing of a glyph, from its unhinted outline box.
  ABC GlyphABC(std::uint32_t Glyph) const;
  // The cached image of a glyph, rotated by the font's escapement.
  const TGlyphBitmap& Glyph(std::uint32_t Glyph) const;

  // GetFontData: a table (Tag 0 = the whole standalone face) from Offset.
  // Answers the size available from Offset when Buffer is null, GDI_FONTDATA_ERROR on
  // an absent table, an offset past the end, or a face that has no file.
  DWORD FontData(DWORD Tag, DWORD Offset, void* Buffer, DWORD Size) const;
  // The face has PostScript (CFF) outlines: the PDF side must not subset it.
  bool IsCFF() const;
  TFontFormat Format() const;
  // The face's whole file as mapped (a collection is the whole collection);
  // empty for faces without one.
  std::string_view FileBytes() const;
  std::string FilePath() const;
  // Code pages the face covers, as the OS/2 table's ulCodePageRange bits.
  DWORD CodePageRange1() const;

private:
  TFontInstance(const LOGFONTW& DeviceLf, TResolvedFace Face);
  void Realize();
  void RealizeMarlett();
  const TFontInstance* Fallback(char32_t Ch) const;
  std::shared_ptr<TFontInstance> FallbackInstance(const std::u16string& Family) const;
  struct TGlyphSlot;
  struct TImpl;

  LOGFONTW FLogFont;
  TResolvedFace FFace;
  TEXTMETRICW FMetrics;
  OUTLINETEXTMETRICW FOutline;
  int FEmPixels = 0;
  std::unique_ptr<TImpl> FImpl;
};

// Face resolution alone (fontconfig plus substitutes; never nothing).
TResolvedFace ResolveFontFace(const LOGFONTW& Lf);

// The family of an installed scalable face that has a glyph for Ch, the
// closest fontconfig knows to Lf's weight and slant, preferring faces with
// TrueType outlines; empty when no installed face has one. For writers that
// must carry characters the chosen face lacks.
std::u16string FindFaceForCharacter(char32_t Ch, const LOGFONTW& Lf);

// A face family offered by EnumFontFamiliesEx, with the charsets it covers.
struct TFontFamilyInfo {
  std::u16string Name;
  std::vector<BYTE> CharSets;
  bool TrueType = true;
};
// Every family the layer can realize: installed families plus the Windows
// names mapped onto them and the built-in symbol faces, sorted by name.
const std::vector<TFontFamilyInfo>& AvailableFontFamilies();
// The one family of that name (any case) the layer can realize, without
// listing the others; false when there is none.
bool FindFontFamily(const std::u16string& Name, TFontFamilyInfo& Out);

// Windows charset of a code page bit of OS/2 ulCodePageRange1 (-1 when none).
int CharSetOfCodePageBit(int Bit);

// Cuts face Index out of a font collection ("ttcf") into a standalone sfnt;
// raises EInvalidGraphic for data that is not a collection or is cut short.
std::vector<std::uint8_t> ExtractCollectionFace(const std::vector<std::uint8_t>& Collection, int Index);

// Unicode for a byte of the Symbol encoding (0 when the code has no glyph).
char16_t SymbolCodeToUnicode(BYTE Code);
