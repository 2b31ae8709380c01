#include "export/pdf/PdfFont.h"
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include "export/engine/EngineBasics.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/FontSfnt.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ByteOrder.h"
#include "platform/rtl/CodePages.h"

namespace {
const char* const StandardNames[14] = {"Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic",
                                       "Helvetica", "Helvetica-Bold", "Helvetica-Oblique",
                                       "Helvetica-BoldOblique", "Courier", "Courier-Bold", "Courier-Oblique",
                                       "Courier-BoldOblique", "Symbol", "ZapfDingbats"};

// Big-endian reads that answer 0 outside the data, so a truncated or
// corrupt font never reads past its end.
std::uint32_t U32(const std::string& D, std::size_t O) {
  if (O + 4 > D.size() || O + 4 < O) return 0;
  return ByteOrder::ReadBE32(reinterpret_cast<const std::uint8_t*>(D.data() + O));
}
std::uint16_t U16(const std::string& D, std::size_t O) {
  if (O + 2 > D.size() || O + 2 < O) return 0;
  return ByteOrder::ReadBE16(reinterpret_cast<const std::uint8_t*>(D.data() + O));
}
void Put32(std::string& D, std::uint32_t V) {
  std::uint8_t B[4];
  ByteOrder::WriteBE32(B, V);
  D.append(reinterpret_cast<const char*>(B), 4);
}
void Put16(std::string& D, std::uint16_t V) {
  std::uint8_t B[2];
  ByteOrder::WriteBE16(B, V);
  D.append(reinterpret_cast<const char*>(B), 2);
}
void Set32(std::string& D, std::size_t O, std::uint32_t V) { ByteOrder::WriteBE32(reinterpret_cast<std::uint8_t*>(D.data() + O), V); }

struct TTable {
  std::uint32_t Checksum = 0, Offset = 0, Length = 0;
  bool Found = false;
};

// The table's bytes; the directory reader keeps every record inside the file.
std::string TableData(const std::string& File, const TTable& T) {
  if (!T.Found) return {};
  return File.substr(T.Offset, T.Length);
}

std::map<std::string, TTable> ReadDirectory(const std::string& File) {
  std::map<std::string, TTable> Dir;
  const TSfntDirectory D(reinterpret_cast<const std::uint8_t*>(File.data()), File.size());
  for (const TSfntTable& R : D.Tables()) {
    const char Tag[4] = {char(R.Tag >> 24), char(R.Tag >> 16), char(R.Tag >> 8), char(R.Tag)};
    Dir.emplace(std::string(Tag, 4), TTable{R.Checksum, R.Offset, R.Length, true});
  }
  return Dir;
}

std::uint32_t TableChecksum(const std::string& T) {
  return SfntChecksum(reinterpret_cast<const std::uint8_t*>(T.data()), T.size());
}

}  // namespace

UINT gtCodePageOfCharset(BYTE Charset) {
  // Symbol, Mac and OEM text has no Windows code page of its own here.
  UINT CodePage = 0;
  if (Charset != SYMBOL_CHARSET && Charset != MAC_CHARSET && Charset != OEM_CHARSET &&
      CharsetToCodePage(Charset, CodePage))
    return CodePage;
  return GetACP();
}

bool gtIsSimpleCharset(BYTE Charset) {
  return Charset == ANSI_CHARSET || Charset == SYMBOL_CHARSET || (Charset == DEFAULT_CHARSET && GetACP() == 1252);
}

TgtPDFFont::TgtPDFFont(TFont* Font, bool Subset, Integer ObjectNumber) : FInfo(ObjectNumber), FSubset(Subset) {
  FFont.Assign(Font);
  ReadMetrics();
  if (CanBeComposite() && (FSubset || !IsAnsiFont())) {
    const std::string& File = GetFontFile();
    ReadCmap(File);
    ReadGlyphWidths(File);
  }
}

bool TgtPDFFont::SameFont(TFont* Font) const {
  const auto Mask = [](TFontStyles S) { return S.Contains(fsBold) * 1 + S.Contains(fsItalic) * 2; };
  return FFont.GetName() == Font->GetName() && FFont.GetCharset() == Font->GetCharset() &&
         Mask(FFont.GetStyle()) == Mask(Font->GetStyle());
}

bool TgtPDFFont::IsAnsiFont() const {
  const BYTE C = FFont.GetCharset();
  return C == ANSI_CHARSET || (C == DEFAULT_CHARSET && GetACP() == 1252);
}

void TgtPDFFont::ReadMetrics() {
  TFont Big;
  Big.Assign(&FFont);
  Big.SetSize(1000);
  TMemoryDc Dc(Big.GetHandle());  // a DC with the font selected, for measuring
  TEXTMETRICA Tm{};
  GetTextMetricsA(Dc.Dc(), &Tm);
  const double P = gtScreenPPI();
  const bool TrueType = (Tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
  if (TrueType) FInfo.Kind = 0;
  else if ((Tm.tmPitchAndFamily & (TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_DEVICE)) ==
           (TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_DEVICE))
    FInfo.Kind = 1;
  else FInfo.Kind = 2;
  // TMPF_FIXED_PITCH set means variable pitch, as GDI has it.
  FInfo.FixedPitch = (Tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
  if (!FInfo.FixedPitch || FSubset) {
    for (int C = 32; C <= 255; ++C) {
      const char Ch = char(C);
      TSize S{};
      GetTextExtentPoint32A(Dc.Dc(), &Ch, 1, &S);
      FInfo.Widths[std::size_t(C - 32)] = RoundInt(PixelsToPoints(S.cx));
    }
    // A fixed-pitch face's one width is its blank's, subset or not.
    if (FInfo.FixedPitch) FInfo.MaxWidth = FInfo.Widths[0];
  } else {
    TSize S{};
    GetTextExtentPoint32A(Dc.Dc(), " ", 1, &S);
    FInfo.MaxWidth = RoundInt(PixelsToPoints(S.cx));
  }
  const Integer Family = Tm.tmPitchAndFamily >> 4;
  Integer Flags = FFont.GetCharset() == SYMBOL_CHARSET ? 4 : 32;
  if (FInfo.FixedPitch) Flags += 1;
  if (Family & 0x1) Flags += 2;   // FF_ROMAN: serifs
  if (Family & 0x4) Flags += 8;   // FF_SCRIPT
  if (Tm.tmItalic) Flags += 64;
  FInfo.Flags = Flags;
  // Exact thousandths, not whole inches scaled: the metrics keep their shape.
  FInfo.Ascent = RoundInt(Tm.tmAscent * 72.0 / P);
  FInfo.Descent = -RoundInt(std::abs(Tm.tmDescent) * 72.0 / P);
  FInfo.CapHeight = FInfo.Ascent;
  FInfo.AvgWidth = RoundInt(Tm.tmAveCharWidth * 72.0 / P);
  if (!FInfo.FixedPitch) FInfo.MaxWidth = RoundInt(Tm.tmMaxCharWidth * 72.0 / P);
  FInfo.BBoxBottom = FInfo.Descent;
  FInfo.BBoxRight = FInfo.MaxWidth;
  FInfo.BBoxTop = FInfo.Ascent;
  const double Size = FFont.GetSize();
  FInfo.StrikeOutThickness = Integer(Size) / 20;
  FInfo.StrikeOutPosition = std::abs(FFont.GetHeight()) / 5;
  FInfo.UnderlineThickness = Integer(Size) / 10;
  FInfo.UnderlinePosition = -1;
  if (FInfo.Kind == 0) {
    OUTLINETEXTMETRICA Otm{};
    if (GetOutlineTextMetricsA(Dc.Dc(), sizeof(Otm), &Otm)) {
      FInfo.ItalicAngle = Otm.otmItalicAngle / 10;
      FInfo.Stem = 78;
      auto Scale = [&](double V) { return RoundInt(Size * (V / P * 72.0) / 1000.0); };
      FInfo.StrikeOutThickness = Scale(Otm.otmsStrikeoutSize);
      FInfo.StrikeOutPosition = Scale(Otm.otmsStrikeoutPosition);
      FInfo.UnderlineThickness = Scale(Otm.otmsUnderscoreSize);
      FInfo.UnderlinePosition = Scale(Otm.otmsUnderscorePosition) - 1;
    }
    // The family of the face actually used, for a face name the ANSI code
    // page could not carry.
    const UINT Need = GetOutlineTextMetricsA(Dc.Dc(), 0, nullptr);
    if (Need >= sizeof(OUTLINETEXTMETRICA)) {
      std::vector<char> Blob(Need);
      auto* Full = reinterpret_cast<OUTLINETEXTMETRICA*>(Blob.data());
      if (GetOutlineTextMetricsA(Dc.Dc(), Need, Full)) {
        const std::size_t At = reinterpret_cast<std::size_t>(Full->otmpFamilyName);
        if (At < Need) FRealFamily.assign(Blob.data() + At, strnlen(Blob.data() + At, Need - At));
      }
    }
    FFormat = GdiFontFormat(Dc.Dc());
    char Used[LF_FACESIZE] = {};
    if (GetTextFaceA(Dc.Dc(), LF_FACESIZE, Used) > 0) FUsedFace = Used;
  }
  ResolveBaseFontName(Family << 4, Tm.tmWeight, Tm.tmItalic != 0);
}

namespace {
// A face name as the text of a PDF name: blanks go (a name has none), and
// delimiters, '#' and bytes outside printable ASCII are written #xx.
AnsiString PdfNameText(const AnsiString& Face) {
  AnsiString N;
  for (char C : Face) {
    if (C == ' ') continue;
    const bool Plain = C > ' ' && C <= '~' && !std::strchr("()<>[]{}/%#", C);
    if (Plain) N += C;
    else {
      char Esc[4];
      std::snprintf(Esc, sizeof Esc, "#%02X", unsigned(Byte(C)));
      N += Esc;
    }
  }
  return N;
}
}  // namespace

void TgtPDFFont::ResolveBaseFontName(Integer Family, Integer Weight, bool Italic) {
  const AnsiString Face = FFont.GetName();
  const bool Bold = FFont.GetStyle().Contains(fsBold);
  const bool It = FFont.GetStyle().Contains(fsItalic);
  if (FInfo.Kind != 2) {
    // A name that lost characters to the code page ("??") or carries bytes
    // outside printable ASCII says nothing to a reader: the face used does.
    const auto Printable = [](const AnsiString& S) {
      return std::all_of(S.begin(), S.end(), [](char C) { return C >= ' ' && C <= '~' && C != '?'; });
    };
    // When the font layer drew another family than the one named (no such
    // face here), the file names the face that was measured: a reader that
    // substitutes for it then picks a face with the widths the text was
    // laid out with. Metric-compatible stand-ins keep the document's name.
    const auto SameName = [](const AnsiString& A, const AnsiString& B) {
      return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return std::tolower(static_cast<unsigned char>(X)) == std::tolower(static_cast<unsigned char>(Y));
             });
    };
    AnsiString From = Printable(Face) || FRealFamily.empty() || !Printable(FRealFamily) ? Face : FRealFamily;
    if (!FUsedFace.empty() && Printable(FUsedFace) && !SameName(FUsedFace, Face)) From = FUsedFace;
    AnsiString N = PdfNameText(From);
    if (Face != "Symbol" && (Bold || It)) N.append(1, ',').append(Bold ? "Bold" : "").append(It ? "Italic" : "");
    FBaseFontName = N;
    return;
  }
  for (const char* S : StandardNames)
    if (Face == S) {
      FBaseFontName = Face;
      return;
    }
  const BYTE Cs = FFont.GetCharset();
  if (Cs == SYMBOL_CHARSET) {
    FBaseFontName = "ZapfDingbats";
    return;
  }
  Integer I = -1;
  if (FInfo.FixedPitch || (Family & 0x30) == 0x30) I = 11;
  if (Family & 0x10) I = 3;
  if (Family & 0x20) I = 7;
  if (I >= 0) {
    if (!Italic && !It) I -= 2;
    if (Weight < 700 && !Bold) I -= 1;
  }
  FBaseFontName = I < 0 ? PdfNameText(Face) : AnsiString(StandardNames[I]);
}

std::string TgtPDFFont::GetFontFile() {
  if (FFileRead) return FFileCache;
  FFileRead = true;
  if (FInfo.Kind != 0) return FFileCache;
  TMemoryDc Dc(FFont.GetHandle());
  if (FFormat == TFontFormat::Type1) {
    if (!gtType1Program(GdiFontFileBytes(Dc.Dc()), FFileCache, FType1Lengths)) FFileCache.clear();
    return FFileCache;
  }
  if (FFormat != TFontFormat::TrueType && FFormat != TFontFormat::OpenTypeCFF) return FFileCache;
  const DWORD Size = GetFontData(Dc.Dc(), 0, 0, nullptr, 0);
  if (Size == 0 || Size == DWORD(GDI_ERROR)) return FFileCache;
  FFileCache.resize(Size);
  if (GetFontData(Dc.Dc(), 0, 0, FFileCache.data(), Size) != Size) FFileCache.clear();
  return FFileCache;
}

namespace {
// A subtable of a Unicode map, ranked: full-repertoire maps first.
Integer CmapRank(std::uint16_t Platform, std::uint16_t Encoding, std::uint16_t Format) {
  if (Format == 12 && ((Platform == 3 && Encoding == 10) || Platform == 0)) return 3;
  if (Format == 4 && Platform == 3 && Encoding == 1) return 2;
  if (Format == 4 && Platform == 0) return 1;
  return 0;
}
}  // namespace

void TgtPDFFont::ReadCmap(const std::string& File) {
  FCmapRead = true;
  FCmap = gtReadUnicodeMap(File);
}

std::vector<TgtCharRange> gtReadUnicodeMap(const std::string& File) {
  std::vector<TgtCharRange> Map;
  const auto Dir = ReadDirectory(File);
  const auto It = Dir.find("cmap");
  if (It == Dir.end()) return Map;
  const std::string Cmap = TableData(File, It->second);
  const Integer Count = U16(Cmap, 2);
  std::size_t Sub = 0;
  Integer Best = 0;
  for (Integer I = 0; I < Count; ++I) {
    const std::size_t R = 4 + 8 * std::size_t(I);
    if (R + 8 > Cmap.size()) break;
    const std::size_t At = U32(Cmap, R + 4);
    const Integer Rank = CmapRank(U16(Cmap, R), U16(Cmap, R + 2), U16(Cmap, At));
    if (Rank > Best) {
      Best = Rank;
      Sub = At;
    }
  }
  if (Best == 0) return Map;
  std::vector<TgtCharRange> Ranges;
  auto Add = [&](char32_t C, std::uint32_t G) {
    if (G == 0 || G > 0xFFFF) return;
    if (!Ranges.empty() && Ranges.back().Last + 1 == C && Ranges.back().Glyph + (C - Ranges.back().First) == G)
      ++Ranges.back().Last;
    else Ranges.push_back({C, C, Word(G)});
  };
  if (U16(Cmap, Sub) == 12) {
    const std::size_t Len = std::min<std::size_t>(U32(Cmap, Sub + 4), Cmap.size() - std::min(Cmap.size(), Sub));
    const std::size_t Groups = std::min<std::size_t>(U32(Cmap, Sub + 12), Len >= 16 ? (Len - 16) / 12 : 0);
    for (std::size_t I = 0; I < Groups; ++I) {
      const std::size_t G = Sub + 16 + 12 * I;
      const std::uint32_t First = U32(Cmap, G), StartGlyph = U32(Cmap, G + 8);
      std::uint32_t Last = std::min<std::uint32_t>(U32(Cmap, G + 4), 0x10FFFF);
      if (First > Last || StartGlyph > 0xFFFF) continue;
      // Glyph ids stop at 65535; the range stops with them.
      Last = std::min<std::uint32_t>(Last, First + (0xFFFF - StartGlyph));
      if (StartGlyph == 0) {
        if (First == Last) continue;
        Ranges.push_back({First + 1, Last, 1});
      } else Ranges.push_back({First, Last, Word(StartGlyph)});
    }
  } else {
    const std::size_t Len = std::min<std::size_t>(U16(Cmap, Sub + 2), Cmap.size() - std::min(Cmap.size(), Sub));
    const std::string T = Cmap.substr(Sub, Len);
    const std::size_t SegCount = U16(T, 6) / 2;
    const std::size_t Ends = 14, Starts = Ends + 2 * SegCount + 2, Deltas = Starts + 2 * SegCount,
                      RangeOffsets = Deltas + 2 * SegCount;
    // Four arrays that do not fit the subtable describe no map at all.
    if (RangeOffsets + 2 * SegCount > T.size()) return Map;
    for (std::size_t I = 0; I < SegCount; ++I) {
      const std::uint32_t End = U16(T, Ends + 2 * I), Start = U16(T, Starts + 2 * I);
      const std::uint16_t Delta = U16(T, Deltas + 2 * I), Range = U16(T, RangeOffsets + 2 * I);
      if (End < Start) continue;
      for (std::uint32_t C = Start; C <= End && C < 65535; ++C) {
        std::uint16_t G;
        if (Range == 0) G = std::uint16_t(C + Delta);
        else {
          // The offset counts from the idRangeOffset entry itself; the
          // read answers 0 (the missing glyph) outside the subtable.
          const std::size_t At = RangeOffsets + 2 * I + Range + 2 * std::size_t(C - Start);
          G = U16(T, At);
          if (G) G = std::uint16_t(G + Delta);
        }
        Add(C, G);
      }
    }
  }
  // Ordered and without overlaps, whatever order the file had: the first
  // mapping of a character wins.
  std::stable_sort(Ranges.begin(), Ranges.end(), [](const TgtCharRange& A, const TgtCharRange& B) { return A.First < B.First; });
  for (TgtCharRange& R : Ranges) {
    if (!Map.empty() && R.First <= Map.back().Last) {
      if (R.Last <= Map.back().Last) continue;
      const char32_t Skip = Map.back().Last + 1 - R.First;
      R.First += Skip;
      R.Glyph = Word(R.Glyph + Skip);
    }
    Map.push_back(R);
  }
  return Map;
}

Word TgtPDFFont::GlyphOf(char32_t C) const {
  auto It = std::upper_bound(FCmap.begin(), FCmap.end(), C, [](char32_t V, const TgtCharRange& R) { return V < R.First; });
  if (It == FCmap.begin()) return 0;
  --It;
  return C <= It->Last ? Word(It->Glyph + (C - It->First)) : 0;
}

void TgtPDFFont::ReadGlyphWidths(const std::string& File) {
  const auto Dir = ReadDirectory(File);
  auto Find = [&](const char* Tag) {
    auto It = Dir.find(Tag);
    return It == Dir.end() ? std::string() : TableData(File, It->second);
  };
  const std::string Head = Find("head"), Hhea = Find("hhea"), Hmtx = Find("hmtx"), Maxp = Find("maxp");
  const Integer Units = U16(Head, 18);
  if (Units == 0) return;
  const std::size_t Long = std::min<std::size_t>(U16(Hhea, 34), Hmtx.size() / 4);
  const std::size_t Glyphs = std::max<std::size_t>(U16(Maxp, 4), Long);
  FWidths.reserve(Glyphs);
  for (std::size_t G = 0; G < Glyphs; ++G) {
    // Glyphs past the long metrics share the last advance.
    const std::size_t From = std::min(G, Long ? Long - 1 : 0);
    FWidths.push_back(Long ? RoundInt(U16(Hmtx, 4 * From) * 1000.0 / Units) : FInfo.MaxWidth);
  }
}

Integer TgtPDFFont::GlyphWidth(Word Glyph) const {
  if (Glyph < FWidths.size()) return FWidths[Glyph];
  return FWidths.empty() ? FInfo.MaxWidth : FWidths.back();
}

void TgtPDFFont::UseGlyph(Word Glyph, char32_t C) {
  FUsedGlyphs.emplace(Glyph, C);
}

AnsiString TgtPDFFont::GlyphString(const WideString& Text) {
  static const char Hex[] = "0123456789ABCDEF";
  AnsiString Out;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    char32_t C = Text[I];
    if (C >= 0xD800 && C < 0xDC00 && I + 1 < Text.size() && Text[I + 1] >= 0xDC00 && Text[I + 1] < 0xE000)
      C = 0x10000 + ((C - 0xD800) << 10) + (Text[++I] - 0xDC00);
    const Word G = GlyphOf(C);
    if (G == 0) continue;
    for (int S = 12; S >= 0; S -= 4) Out += Hex[(G >> S) & 0xF];
    UseGlyph(G, C);
  }
  return Out;
}

void TgtPDFFont::UseCharacters(const WideString& Text) {
  for (char16_t C : Text)
    if (C != u' ') FUsedChars.insert(C);
}

std::string TgtPDFFont::GetSubsetFontFile() {
  const std::string File = GetFontFile();
  // Only glyf outlines are subset; other programs go in whole.
  if (File.empty() || FFormat != TFontFormat::TrueType) return File;
  if (!FCmapRead) ReadCmap(File);
  std::set<Word> Keep;
  for (char32_t C : FUsedChars)
    if (const Word G = GlyphOf(C)) Keep.insert(G);
  for (const auto& Used : FUsedGlyphs) Keep.insert(Used.first);
  const std::string Sub = gtSubsetTrueType(File, Keep);
  return !Sub.empty() && Sub.size() < File.size() ? Sub : File;
}

std::string gtSubsetTrueType(const std::string& File, const std::set<Word>& KeepGlyphs) {
  static const char* const Kept[10] = {"cmap", "cvt ", "fpgm", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "prep"};
  const auto Dir = ReadDirectory(File);
  for (const char* Need : {"glyf", "head", "loca", "maxp", "hhea", "hmtx"})
    if (!Dir.count(Need)) return {};
  const std::string Head = TableData(File, Dir.at("head"));
  const std::string Glyf = TableData(File, Dir.at("glyf"));
  const std::string Loca = TableData(File, Dir.at("loca"));
  const Integer NumGlyphs = U16(TableData(File, Dir.at("maxp")), 4);
  if (Head.size() < 54 || NumGlyphs == 0) return {};
  const bool Long = U16(Head, 50) == 1;
  auto GlyphRange = [&](Integer G, std::size_t& A, std::size_t& B) {
    if (Long) { A = U32(Loca, 4 * std::size_t(G)); B = U32(Loca, 4 * std::size_t(G) + 4); }
    else { A = 2 * std::size_t(U16(Loca, 2 * std::size_t(G))); B = 2 * std::size_t(U16(Loca, 2 * std::size_t(G) + 2)); }
    return A <= B && B <= Glyf.size();
  };
  if (Loca.size() < std::size_t(NumGlyphs + 1) * (Long ? 4 : 2)) return {};
  // Keep glyph 0 and the components of every kept composite glyph.
  std::set<Word> Keep = KeepGlyphs;
  Keep.insert(0);
  std::vector<Word> Work(Keep.begin(), Keep.end());
  while (!Work.empty()) {
    const Word G = Work.back();
    Work.pop_back();
    std::size_t A, B;
    if (G >= NumGlyphs || !GlyphRange(G, A, B) || B - A < 10) continue;
    if (std::int16_t(U16(Glyf, A)) >= 0) continue;
    std::size_t P = A + 10;
    for (int Guard = 0; Guard < 1000 && P + 4 <= B; ++Guard) {
      const std::uint16_t Flags = U16(Glyf, P), Comp = U16(Glyf, P + 2);
      if (Keep.insert(Comp).second) Work.push_back(Comp);
      P += 4 + ((Flags & 0x1) ? 4 : 2) + ((Flags & 0x8) ? 2 : (Flags & 0x40) ? 4 : (Flags & 0x80) ? 8 : 0);
      if (!(Flags & 0x20)) break;
    }
  }
  std::string NewGlyf, NewLoca;
  for (Integer G = 0; G <= NumGlyphs; ++G) {
    if (Long) Put32(NewLoca, std::uint32_t(NewGlyf.size()));
    else Put16(NewLoca, std::uint16_t(NewGlyf.size() / 2));
    if (G == NumGlyphs) break;
    std::size_t A, B;
    if (Keep.count(Word(G)) && GlyphRange(G, A, B)) {
      NewGlyf += Glyf.substr(A, B - A);
      while (NewGlyf.size() % (Long ? 1 : 2)) NewGlyf += '\0';
    }
  }
  if (!Long && NewGlyf.size() / 2 > 0xFFFF) return {};
  // Only the tables present, in tag order, with the search values of their count.
  std::vector<std::pair<std::string, std::string>> Tables;
  for (const char* Tag : Kept) {
    auto It = Dir.find(Tag);
    if (It == Dir.end()) continue;
    std::string Data = std::string(Tag) == "glyf" ? NewGlyf : std::string(Tag) == "loca" ? NewLoca : TableData(File, It->second);
    if (std::string(Tag) == "head") Set32(Data, 8, 0);
    Tables.emplace_back(Tag, std::move(Data));
  }
  const std::uint16_t N = std::uint16_t(Tables.size());
  std::uint16_t Pow = 1, Sel = 0;
  while (Pow * 2 <= N) { Pow *= 2; ++Sel; }
  std::string Out;
  Put32(Out, 0x00010000);
  Put16(Out, N);
  Put16(Out, std::uint16_t(Pow * 16));
  Put16(Out, Sel);
  Put16(Out, std::uint16_t(N * 16 - Pow * 16));
  std::uint32_t Offset = 12 + 16 * N, HeadOffset = 0;
  for (auto& [Tag, Data] : Tables) {
    Out += Tag;
    Put32(Out, TableChecksum(Data));
    Put32(Out, Offset);
    Put32(Out, std::uint32_t(Data.size()));
    if (Tag == "head") HeadOffset = Offset;
    Offset += std::uint32_t((Data.size() + 3) & ~std::size_t(3));
  }
  for (auto& [Tag, Data] : Tables) {
    Out += Data;
    while (Out.size() % 4) Out += '\0';
  }
  Set32(Out, HeadOffset + 8, 0xB1B0AFBAu - TableChecksum(Out));
  return Out;
}

namespace {
bool IsHexDigit(char C) { return HexDigitValue(C) >= 0; }
bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }
}  // namespace

bool gtType1Program(std::string_view File, std::string& Out, std::array<std::size_t, 3>& Lengths) {
  Out.clear();
  Lengths = {0, 0, 0};
  if (File.size() >= 6 && Byte(File[0]) == 0x80) {
    // PFB: segments of clear text (1), binary (2), up to the end mark (3).
    std::string Parts[3];
    int Part = 0;
    for (std::size_t At = 0; At + 2 <= File.size() && Byte(File[At]) == 0x80;) {
      const Byte Type = Byte(File[At + 1]);
      if (Type == 3) break;
      if (At + 6 > File.size()) return false;
      const std::size_t Len = ByteOrder::ReadLE32(reinterpret_cast<const std::uint8_t*>(File.data() + At + 2));
      At += 6;
      if (Len > File.size() - At || (Type != 1 && Type != 2)) return false;
      if (Type == 2 && Part == 0) Part = 1;
      if (Type == 1 && Part == 1) Part = 2;
      Parts[Part].append(File.data() + At, Len);
      At += Len;
    }
    if (Parts[0].empty() || Parts[1].empty()) return false;
    for (int K = 0; K < 3; ++K) {
      Lengths[std::size_t(K)] = Parts[K].size();
      Out += Parts[K];
    }
    return true;
  }
  // PFA: clear text up to "eexec" and the blanks after it, the encrypted
  // part, then 512 zeros and cleartomark.
  if (File.rfind("%!", 0) != 0) return false;
  const std::size_t Eexec = File.find("eexec");
  if (Eexec == std::string_view::npos) return false;
  std::size_t Start = Eexec + 5;
  while (Start < File.size() && IsBlank(File[Start])) ++Start;
  std::size_t End = File.rfind("cleartomark");
  if (End == std::string_view::npos || End < Start) End = File.size();
  // The trailer: at most 512 zeros (with line breaks) before cleartomark.
  std::size_t Trailer = End;
  for (int Zeros = 0; Trailer > Start && Zeros < 512;) {
    const char C = File[Trailer - 1];
    if (C == '0') ++Zeros;
    else if (!IsBlank(C)) break;
    --Trailer;
  }
  std::string Encrypted;
  const bool Hex = Start + 4 <= Trailer && IsHexDigit(File[Start]) && IsHexDigit(File[Start + 1]) &&
                   IsHexDigit(File[Start + 2]) && IsHexDigit(File[Start + 3]);
  if (Hex) {
    int High = -1;
    for (std::size_t K = Start; K < Trailer; ++K) {
      if (!IsHexDigit(File[K])) continue;
      if (High < 0) High = HexDigitValue(File[K]);
      else {
        Encrypted += char(High << 4 | HexDigitValue(File[K]));
        High = -1;
      }
    }
  } else {
    Encrypted.assign(File.data() + Start, Trailer - Start);
  }
  if (Encrypted.empty()) return false;
  Out.assign(File.data(), Start);
  Out += Encrypted;
  Out.append(File.data() + Trailer, File.size() - Trailer);
  Lengths = {Start, Encrypted.size(), File.size() - Trailer};
  return true;
}
