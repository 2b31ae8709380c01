// RtfReader.cpp — the RTF tokenizer and the group/destination state machine
// that turns RTF into a TRichDocument. Pictures are decoded in
// RtfPicture.cpp; the word table is in RtfWords.cpp.
#include "platform/richedit/RtfReader.h"

#include <algorithm>
#include <unordered_map>

#include "platform/richedit/RtfReader_p.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"

namespace {

using namespace RtfInternal;

enum class TDest : Byte {
  Normal,        // text goes into the document
  FontTable,     // entries of \fonttbl, flat or one group each
  ColorTable,
  StyleSheet,    // the \stylesheet group itself
  StyleEntry,    // one style's group
  Pict,
  Numbering,     // \pn: numbering words for the enclosing paragraph
  NumberingBefore,  // \pntxtb
  NumberingAfter,   // \pntxta
  NestProps,     // \nesttableprops: only \nestrow matters
  UprFallback,   // \upr: the ANSI half, dropped in favour of \ud
  Ignore,        // text dropped, groups still parsed (unused font-table text and the like)
  Shape,         // \shp: text dropped; only the picture property (pib) is read
  ShapeName,     // \sn: a shape property's name
  ShapePicture,  // \sv of the pib property: its \pict is the shape's picture
};

enum class TBorderTarget : Byte {
  None, ParaLeft, ParaTop, ParaRight, ParaBottom, ParaBox,
  CellLeft, CellTop, CellRight, CellBottom,
  RowLeft, RowTop, RowRight, RowBottom, RowInsideH, RowInsideV,
};

constexpr int FollowDefaultFont = -2;  // \plain: the font is \deff's, whenever that is read
constexpr Integer MaxLength = 0x7FFFF;  // twips; about 360 inches
constexpr Integer MaxFontSize = 3276;   // half-points
constexpr size_t MaxTabs = 32;
constexpr size_t MaxCells = 256;

// What a \pn group says about its mark's look; unset parts follow the
// paragraph's first character.
struct TNumberingLook {
  int Font = -1;          // \pnf
  Integer Size = 0;       // \pnfs, half-points
  int Bold = -1, Italic = -1;  // \pnb, \pni: -1 not given
  int Color = -1;         // \pncf: colour-table index
  bool Given() const { return Font >= 0 || Size > 0 || Bold >= 0 || Italic >= 0 || Color >= 0; }
};

struct TState {
  TDest Dest = TDest::Normal;
  TRichCharFormat Cf;
  int Font = FollowDefaultFont;
  TRichParaFormat Pf;
  TNumberingLook PnLook;    // travels with Pf's numbering
  bool InTable = false;
  int Itap = 0;             // table depth of the paragraph: 2 and deeper is the nested level
  int Uc = 1;
  TRichTabKind TabKind = TRichTabKind::Left;
  TRichTabLeader TabLeader = TRichTabLeader::None;
  TBorderTarget Border = TBorderTarget::None;
  bool BorderStyled = false;
  Integer BorderWidth = 0;
  // Style entries: the number and whether it is a paragraph or a character style.
  int StyleNumber = 0;
  bool StyleIsParagraph = true;
  bool StyleSkip = false;   // \ds, \ts: not ours
  bool StyleSaved = false;
  int DefinedFont = -1;     // the font-table entry this group's \f started
};

struct TFontEntry {
  WideString Name;
  int Charset = -1;       // -1: not given
  UINT CodePage = 0;      // \cpg; 0: not given
  BYTE PitchAndFamily = 0;
  bool Named = false;
};

struct TColorEntry {
  bool Auto = true;
  COLORREF Color = 0;
};

struct TStyle {
  TRichCharFormat Cf;
  int Font = FollowDefaultFont;
  TRichParaFormat Pf;
  bool IsParagraph = true;
};

// A code page we can convert: Mac East Asian pages read as the Windows
// pages they extend; 0 for anything else we cannot read.
UINT UsableCodePage(UINT Cp) {
  if (IsValidCodePage(Cp)) return Cp;
  switch (Cp) {
    case 10001: return 932;
    case 10002: return 950;
    case 10003: return 949;
    case 10008: return 936;
    default: return 0;
  }
}

// Charsets the Mac writers use that TranslateCharsetInfo does not know.
UINT MacCharsetCodePage(int Charset) {
  switch (Charset) {
    case 77: return UsableCodePage(10000);
    case 78: return 932;
    case 79: return 949;
    case 80: return 936;
    case 81: return 950;
    default: return 0;
  }
}

Integer ClampLength(Int64 V) { return Integer(std::clamp<Int64>(V, -MaxLength, MaxLength)); }

class TRtfParser {
public:
  TRtfParser(std::string_view In, const TRtfConsumed& Consumed) : FIn(In), FConsumed(Consumed) {}
  TRichDocument Run();

private:
  TState& St() { return FStack.back(); }
  bool AtTop() const { return FOverflow == 0; }

  // Tokens.
  void ParseControl();
  void TextChunk();
  void HexByte();
  void SkipGroup();
  void SkipBinary(Int64 N, bool Keep);
  void PushGroup();
  void PopGroup();
  void CloseDestination(TState& Closing, TState* Parent);

  // Text.
  UINT CurrentCodePage();
  void AddBytes(std::string_view B);
  void FlushBytes();
  void FlushText();
  void EmitWide(std::u16string_view W);
  void EmitUnicode(Int64 N);
  void EmitByteAsText(char C);
  void EndOfEntry();
  TRichCharFormat EffectiveFormat();

  // Words.
  void Word(std::string_view Name, bool HasParam, Int64 Param);
  bool Destination(TRtfWord W, bool Ignorable);
  void CharWord(TRtfWord W, bool HasParam, Int64 Param);
  void ParaWord(TRtfWord W, bool HasParam, Int64 Param);
  void TableWord(TRtfWord W, Int64 Param);
  void BorderWord(TRtfWord W, bool HasParam, Int64 Param);
  void FontTableWord(TRtfWord W, Int64 Param);
  void ApplyStyle(int Number);
  void ApplyBorder();
  std::vector<TRichBorder*> BorderTargets();
  void AddTab(Integer Position, TRichTabKind Kind);

  // Structure.
  void EndParagraph(TRichParagraphEnd End, bool NestedCell = false);
  void EndParagraphWith(TRichParagraphEnd End, const TRichParaFormat& Pf, const TRichCharFormat& Mark,
                        bool NestedCell);
  void NestedRowEnd(const TRichTableRow* Def);
  void CloseNestedRow(const TRichTableRow* Def);
  void ApplyNumberingLook(TRichParaFormat& Pf, const TRichCharFormat& Mark);
  void StartSection(TRichParaFormat& Pf);
  Integer EnsureRow();
  void CloseRow();

  std::string_view FIn;
  size_t FPos = 0;
  // Reported between tokens only: a token being read still looks at its
  // first byte, nothing before the token is looked at again.
  const TRtfConsumed& FConsumed;
  static constexpr size_t ConsumedStep = size_t(1) << 20;
  size_t FNextConsumed = ConsumedStep;
  bool FDone = false;
  TRichDocument FDoc;
  std::vector<TState> FStack;
  int FOverflow = 0;         // groups opened beyond RtfMaxDepth
  bool FIgnorableNext = false;
  Int64 FSkip = 0;           // \uc fallback characters still to skip

  std::string FBytes;        // text bytes not decoded yet, all in FBytesCp
  UINT FBytesCp = 1252;
  WideString FWide;          // decoded text not yet handed to its destination

  UINT FAnsiCp = 1252;
  int FDeff = 0;
  std::unordered_map<int, TFontEntry> FFonts;
  int FCurFont = -1;         // entry being defined in the font table
  int FLastFontLookup = -3;  // cache for CurrentCodePage
  UINT FLastFontCp = 1252;
  std::vector<TColorEntry> FColors;
  TColorEntry FPendingColor;
  bool FColorStarted = false;
  std::unordered_map<int, TStyle> FStyles;
  WideString FNumberingText;

  TRichTableRow FRowDef;
  TRichTableCell FCellDef;
  Integer FRow = -1;
  Integer FCellIndex = 0;
  Integer FCellsUsed = 0;    // cells the open row's paragraphs name
  // The open nested row, as the outer one above; its definition arrives
  // last, in \nesttableprops, whose table words must not touch the outer
  // row's definition: it is kept aside meanwhile.
  Integer FNestRow = -1;
  Integer FNestCellIndex = 0;
  Integer FNestCellsUsed = 0;
  TRichTableRow FOuterRowDef;
  TRichTableCell FOuterCellDef;

  TRtfPictureData FPict;
  WideString FShapeName;     // the name of the shape property being read

  // A section ended (\sect): the next paragraph starts the new section, on
  // a new page unless the section's break kind (\sbk…) says otherwise.
  bool FSectionPending = false;
  bool FSectionNewPage = true;
};

TRichDocument TRtfParser::Run() {
  FStack.emplace_back();  // the state outside the document group
  const size_t N = FIn.size();
  while (FPos < N && !FDone) {
    if (FPos >= FNextConsumed && FConsumed) {
      FConsumed(FPos);
      FNextConsumed = FPos + ConsumedStep;
    }
    const char C = FIn[FPos];
    switch (C) {
      case '{':
        ++FPos;
        PushGroup();
        break;
      case '}':
        ++FPos;
        PopGroup();
        break;
      case '\\':
        ParseControl();
        break;
      case '\r':
      case '\n':
        ++FPos;
        break;
      default:
        TextChunk();
        break;
    }
  }
  // A truncated file: close what is open, so that a picture or a table
  // entry in progress still counts.
  while (!FDone && (FOverflow > 0 || FStack.size() > 1)) PopGroup();
  FlushText();
  CloseRow();
  TState& S = St();
  const TRichCharFormat Mark = EffectiveFormat();
  TRichParaFormat Pf = S.Pf;
  ApplyNumberingLook(Pf, Mark);
  if (!FDoc.OpenParagraphEmpty()) StartSection(Pf);
  FDoc.Finish(Pf, Mark);
  return std::move(FDoc);
}

// ---- tokens ---------------------------------------------------------------

void TRtfParser::PushGroup() {
  FlushText();
  FSkip = 0;
  FIgnorableNext = false;
  if (FStack.size() > size_t(RtfMaxDepth)) {
    ++FOverflow;
    return;
  }
  const TDest Parent = St().Dest;
  FStack.push_back(FStack.back());
  TState& S = St();
  switch (Parent) {
    case TDest::StyleSheet:
      // Each style starts from the plain formats.
      S.Dest = TDest::StyleEntry;
      S.Cf = TRichCharFormat();
      S.Font = FollowDefaultFont;
      S.Pf = TRichParaFormat();
      S.StyleNumber = 0;
      S.StyleIsParagraph = true;
      S.StyleSkip = false;
      S.StyleSaved = false;
      break;
    case TDest::NumberingBefore:
    case TDest::NumberingAfter:
      S.Dest = TDest::Ignore;
      break;
    default:
      break;
  }
}

void TRtfParser::PopGroup() {
  FlushText();
  FSkip = 0;
  FIgnorableNext = false;
  if (FOverflow > 0) {
    --FOverflow;
    return;
  }
  if (FStack.size() <= 1) {
    FDone = true;  // a stray '}' before any '{'
    return;
  }
  TState Closing = std::move(FStack.back());
  FStack.pop_back();
  CloseDestination(Closing, FStack.size() > 1 ? &FStack.back() : nullptr);
  if (FStack.size() == 1) {
    // The document group is closed; what follows is not read. The final
    // state is the document group's.
    FStack.back() = std::move(Closing);
    FStack.back().Dest = TDest::Normal;
    FDone = true;
  }
}

void TRtfParser::CloseDestination(TState& Closing, TState* Parent) {
  const TDest ParentDest = Parent ? Parent->Dest : TDest::Normal;
  if (Closing.Dest == TDest::FontTable && Closing.DefinedFont >= 0 &&
      Closing.DefinedFont == FCurFont && (!Parent || Parent->DefinedFont != FCurFont)) {
    // An entry's group closed without its ';'.
    const TDest Saved = FStack.back().Dest;
    FStack.back().Dest = TDest::FontTable;
    EndOfEntry();
    FStack.back().Dest = Saved;
  }
  if (Closing.Dest == ParentDest) return;
  switch (Closing.Dest) {
    case TDest::Pict: {
      std::optional<TRichPicture> P = DecodeRtfPicture(FPict);
      FPict = TRtfPictureData();
      if (P && (ParentDest == TDest::Normal || ParentDest == TDest::ShapePicture)) FDoc.AppendPicture(std::move(*P), EffectiveFormat());
      break;
    }
    case TDest::Numbering:
      if (Parent) {
        TRichParaFormat& Pf = Parent->Pf;
        Pf.Numbering = Closing.Pf.Numbering;
        Pf.NumberingStart = Closing.Pf.NumberingStart;
        Pf.NumberingIndent = Closing.Pf.NumberingIndent;
        Pf.NumberingTextBefore = Closing.Pf.NumberingTextBefore;
        Pf.NumberingTextAfter = Closing.Pf.NumberingTextAfter;
        Parent->PnLook = Closing.PnLook;
      }
      break;
    case TDest::NumberingBefore:
      if (Parent) Parent->Pf.NumberingTextBefore = std::move(FNumberingText);
      FNumberingText.clear();
      break;
    case TDest::NumberingAfter:
      if (Parent) Parent->Pf.NumberingTextAfter = std::move(FNumberingText);
      FNumberingText.clear();
      break;
    case TDest::StyleEntry:
      if (!Closing.StyleSaved && !Closing.StyleSkip)
        FStyles[Closing.StyleNumber] = {Closing.Cf, Closing.Font, Closing.Pf, Closing.StyleIsParagraph};
      break;
    case TDest::FontTable:
      FCurFont = -1;
      break;
    case TDest::NestProps:
      FRowDef = std::move(FOuterRowDef);
      FCellDef = std::move(FOuterCellDef);
      break;
    case TDest::ColorTable:
      // A last entry without its ';' still counts.
      if (FColorStarted && FColors.size() < 65536) FColors.push_back(FPendingColor);
      FColorStarted = false;
      break;
    default:
      break;
  }
}

void TRtfParser::ParseControl() {
  ++FPos;  // the backslash
  const size_t N = FIn.size();
  if (FPos >= N) return;
  const char C = FIn[FPos];
  if (IsRtfLetter(C)) {
    const size_t Start = FPos;
    while (FPos < N && IsRtfLetter(FIn[FPos])) ++FPos;
    std::string_view Name = FIn.substr(Start, std::min<size_t>(FPos - Start, 32));
    bool HasParam = false;
    Int64 Param = 0;
    bool Negative = false;
    if (FPos < N && FIn[FPos] == '-' && FPos + 1 < N && IsRtfDigit(FIn[FPos + 1])) {
      Negative = true;
      ++FPos;
    }
    while (FPos < N && IsRtfDigit(FIn[FPos])) {
      HasParam = true;
      if (Param < 0x80000000ll) Param = Param * 10 + (FIn[FPos] - '0');
      ++FPos;
    }
    Param = std::min<Int64>(Param, 0x7FFFFFFF);
    if (Negative) Param = -Param;
    if (FPos < N && FIn[FPos] == ' ') ++FPos;
    if (Name == "bin") {
      FlushText();
      const bool Counted = FSkip > 0;
      if (Counted) --FSkip;
      SkipBinary(HasParam ? Param : 0, !Counted && St().Dest == TDest::Pict && AtTop());
      return;
    }
    if (FSkip > 0) {
      --FSkip;
      return;
    }
    Word(Name, HasParam, Param);
    return;
  }
  // Control symbols.
  ++FPos;
  switch (C) {
    case '\'':
      HexByte();
      return;
    case '*':
      FIgnorableNext = true;
      return;
    case '\r':
    case '\n':
      if (FSkip > 0) {
        --FSkip;
        return;
      }
      FlushText();
      if (St().Dest == TDest::Normal) EndParagraph(TRichParagraphEnd::Paragraph);
      return;
    default:
      break;
  }
  if (FSkip > 0) {
    --FSkip;
    return;
  }
  switch (C) {
    case '\\':
    case '{':
    case '}':
      EmitByteAsText(C);
      break;
    case '~':
      EmitWide(u"\u00A0");
      break;
    case '-':
      EmitWide(u"\u00AD");
      break;
    case '_':
      EmitWide(u"\u2011");
      break;
    case '\t':
      EmitWide(u"\t");
      break;
    default:
      break;  // \| \: and unknown symbols have no text
  }
}

void TRtfParser::HexByte() {
  const size_t N = FIn.size();
  int V = 0, Digits = 0;
  while (Digits < 2 && FPos < N) {
    const int D = HexDigitValue(FIn[FPos]);
    if (D < 0) break;
    V = V * 16 + D;
    ++Digits;
    ++FPos;
  }
  if (FSkip > 0) {
    --FSkip;
    return;
  }
  if (Digits == 0) return;
  if (St().Dest == TDest::Pict) return;
  EmitByteAsText(char(V));
}

void TRtfParser::SkipBinary(Int64 N, bool Keep) {
  const size_t Count = size_t(std::clamp<Int64>(N, 0, Int64(FIn.size() - FPos)));
  if (Keep) {
    FPict.Data.insert(FPict.Data.end(), FIn.begin() + Int64(FPos),
                      FIn.begin() + Int64(FPos + Count));
    FPict.Binary = true;
  }
  FPos += Count;
}

// Consumes the rest of the current group, its closing brace included, without
// interpreting anything but nesting and \bin.
void TRtfParser::SkipGroup() {
  FlushText();
  const size_t N = FIn.size();
  int Depth = 1;
  while (FPos < N) {
    const char C = FIn[FPos++];
    if (C == '{') {
      ++Depth;
    } else if (C == '}') {
      if (--Depth == 0) {
        PopGroup();
        return;
      }
    } else if (C == '\\' && FPos < N) {
      if (!IsRtfLetter(FIn[FPos])) {
        ++FPos;
        continue;
      }
      const size_t Start = FPos;
      while (FPos < N && IsRtfLetter(FIn[FPos])) ++FPos;
      const bool IsBin = FIn.substr(Start, FPos - Start) == "bin";
      Int64 Param = 0;
      if (FPos < N && FIn[FPos] == '-') ++FPos;
      while (FPos < N && IsRtfDigit(FIn[FPos])) {
        if (Param < 0x80000000ll) Param = Param * 10 + (FIn[FPos] - '0');
        ++FPos;
      }
      if (FPos < N && FIn[FPos] == ' ') ++FPos;
      if (IsBin) SkipBinary(Param, false);
    }
  }
}

void TRtfParser::TextChunk() {
  const size_t N = FIn.size();
  const TDest D = St().Dest;
  if (D == TDest::Pict) {
    while (FPos < N) {
      const char C = FIn[FPos];
      if (C == '{' || C == '}' || C == '\\') break;
      ++FPos;
      if (FSkip > 0) {
        --FSkip;
        continue;
      }
      const int V = HexDigitValue(C);
      if (V >= 0 && AtTop()) FPict.AddNibble(V);
    }
    return;
  }
  if (FSkip > 0 || D == TDest::FontTable || D == TDest::ColorTable || D == TDest::StyleEntry ||
      D == TDest::StyleSheet) {
    // Byte by byte: fallback skipping and the tables' ';' need it.
    const char C = FIn[FPos++];
    if (FSkip > 0) {
      --FSkip;
      return;
    }
    if (C == ';' && D != TDest::StyleSheet) {
      FlushText();
      EndOfEntry();
      return;
    }
    if (D == TDest::ColorTable || D == TDest::StyleSheet) return;
    EmitByteAsText(C);
    return;
  }
  const size_t Start = FPos;
  while (FPos < N) {
    const char C = FIn[FPos];
    if (C == '{' || C == '}' || C == '\\' || C == '\r' || C == '\n') break;
    ++FPos;
  }
  if (D == TDest::Ignore || D == TDest::UprFallback || D == TDest::Numbering ||
      D == TDest::NestProps || D == TDest::Shape || D == TDest::ShapePicture)
    return;
  const UINT Cp = CurrentCodePage();
  if (IsDBCSCodePage(Cp) && FPos < N && FPos > Start && FIn[FPos] != '\r' && FIn[FPos] != '\n') {
    // A raw lead byte at the end of the chunk takes the next byte as its
    // trail, even when that is a brace or a backslash.
    size_t I = Start;
    bool PendingLead = false;
    for (; I < FPos; ++I) {
      if (PendingLead) {
        PendingLead = false;
      } else if (IsDBCSLeadByteEx(Cp, BYTE(FIn[I]))) {
        PendingLead = true;
      }
    }
    if (PendingLead) ++FPos;
  }
  AddBytes(FIn.substr(Start, FPos - Start));
}

// ---- text -----------------------------------------------------------------

UINT TRtfParser::CurrentCodePage() {
  const TState& S = St();
  int Font = S.Dest == TDest::FontTable ? FCurFont : (S.Font == FollowDefaultFont ? FDeff : S.Font);
  if (S.Dest == TDest::FontTable && Font < 0) return FAnsiCp;
  if (Font == FLastFontLookup) return FLastFontCp;
  UINT Cp = FAnsiCp;
  auto It = FFonts.find(Font);
  if (It != FFonts.end()) {
    const TFontEntry& E = It->second;
    UINT FromCharset = 0;
    if (E.CodePage != 0 && UsableCodePage(E.CodePage) != 0) {
      Cp = UsableCodePage(E.CodePage);
    } else if (MacCharsetCodePage(E.Charset) != 0) {
      Cp = MacCharsetCodePage(E.Charset);
    } else if (E.Charset == SYMBOL_CHARSET) {
      // A symbol font's name is ordinary text; only its runs keep raw bytes.
      Cp = S.Dest == TDest::FontTable ? FAnsiCp : CP_SYMBOL;
    } else if (E.Charset >= 0 && E.Charset != DEFAULT_CHARSET &&
               CharsetToCodePage(BYTE(E.Charset), FromCharset) && IsValidCodePage(FromCharset)) {
      Cp = FromCharset;
    }
  }
  // The font table may still grow while it is read; cache body lookups only.
  if (S.Dest != TDest::FontTable) {
    FLastFontLookup = Font;
    FLastFontCp = Cp;
  }
  return Cp;
}

void TRtfParser::AddBytes(std::string_view B) {
  if (B.empty()) return;
  const UINT Cp = CurrentCodePage();
  if (!FBytes.empty() && Cp != FBytesCp) FlushBytes();
  FBytesCp = Cp;
  FBytes.append(B);
}

void TRtfParser::EmitByteAsText(char C) {
  const TDest D = St().Dest;
  if (D == TDest::Ignore || D == TDest::UprFallback || D == TDest::Numbering ||
      D == TDest::NestProps || D == TDest::ColorTable || D == TDest::StyleSheet || D == TDest::Shape ||
      D == TDest::ShapePicture)
    return;
  AddBytes(std::string_view(&C, 1));
}

void TRtfParser::FlushBytes() {
  if (FBytes.empty()) return;
  if (FBytesCp == CP_SYMBOL) {
    for (char C : FBytes) {
      const BYTE B = BYTE(C);
      // A symbol font's blank is a blank: it separates words and lines.
      FWide += B > 0x20 ? char16_t(0xF000 + B) : char16_t(B);
    }
  } else {
    try {
      FWide += AnsiToWide(FBytes, FBytesCp);
    } catch (const Exception&) {
      FWide += AnsiToWide(FBytes, 1252);
    }
  }
  FBytes.clear();
}

void TRtfParser::EmitWide(std::u16string_view W) {
  const TDest D = St().Dest;
  if (D == TDest::Ignore || D == TDest::UprFallback || D == TDest::Numbering ||
      D == TDest::NestProps || D == TDest::ColorTable || D == TDest::StyleSheet ||
      D == TDest::Pict || D == TDest::Shape || D == TDest::ShapePicture)
    return;
  FlushBytes();
  FWide.append(W);
}

void TRtfParser::EmitUnicode(Int64 N) {
  if (N < 0) N += 65536;
  char16_t Buf[2];
  size_t Len = 1;
  if (N < 0 || N > 0x10FFFF) {
    Buf[0] = 0xFFFD;
  } else if (N > 0xFFFF) {
    N -= 0x10000;
    Buf[0] = char16_t(0xD800 + (N >> 10));
    Buf[1] = char16_t(0xDC00 + (N & 0x3FF));
    Len = 2;
  } else {
    Buf[0] = char16_t(N);
  }
  EmitWide(std::u16string_view(Buf, Len));
}

// Hands decoded text to the destination it belongs to.
void TRtfParser::FlushText() {
  FlushBytes();
  if (FWide.empty()) return;
  switch (St().Dest) {
    case TDest::Normal:
      FDoc.AppendText(FWide, EffectiveFormat());
      break;
    case TDest::FontTable:
      if (FCurFont >= 0) FFonts[FCurFont].Name += FWide;
      break;
    case TDest::NumberingBefore:
    case TDest::NumberingAfter:
      FNumberingText += FWide;
      break;
    case TDest::ShapeName:
      if (FShapeName.size() < 64) FShapeName += FWide;
      break;
    default:
      break;  // style names and the like
  }
  FWide.clear();
}

// A ';' in the font, colour or style table.
void TRtfParser::EndOfEntry() {
  switch (St().Dest) {
    case TDest::FontTable:
      if (FCurFont >= 0) {
        TFontEntry& E = FFonts[FCurFont];
        WideString& Name = E.Name;
        while (!Name.empty() && Name.front() == u' ') Name.erase(Name.begin());
        while (!Name.empty() && Name.back() == u' ') Name.pop_back();
        E.Named = true;
      }
      FCurFont = -1;
      break;
    case TDest::ColorTable:
      if (FColors.size() < 65536) FColors.push_back(FPendingColor);
      FPendingColor = TColorEntry();
      FColorStarted = false;
      break;
    case TDest::StyleEntry: {
      TState& S = St();
      if (!S.StyleSaved && !S.StyleSkip)
        FStyles[S.StyleNumber] = {S.Cf, S.Font, S.Pf, S.StyleIsParagraph};
      S.StyleSaved = true;
      break;
    }
    default:
      break;
  }
}

TRichCharFormat TRtfParser::EffectiveFormat() {
  const TState& S = St();
  TRichCharFormat F = S.Cf;
  const int Font = S.Font == FollowDefaultFont ? FDeff : S.Font;
  auto It = FFonts.find(Font);
  if (It != FFonts.end()) {
    F.Face = It->second.Name;
    F.Charset = It->second.Charset >= 0 ? BYTE(It->second.Charset) : DEFAULT_CHARSET;
    F.PitchAndFamily = It->second.PitchAndFamily;
  }
  return F;
}

// ---- words ----------------------------------------------------------------

void TRtfParser::Word(std::string_view Name, bool HasParam, Int64 Param) {
  const TRtfWord W = LookupRtfWord(Name);
  const bool Ignorable = FIgnorableNext;
  FIgnorableNext = false;
  FlushText();
  if (IsRtfDestinationWord(W) || Ignorable) {
    if (!AtTop() || !Destination(W, Ignorable)) {
      SkipGroup();
      return;
    }
    if (W != TRtfWord::cs) return;
  }
  TState& S = St();
  switch (W) {
    case TRtfWord::uc:
      S.Uc = int(std::clamp<Int64>(Param, 0, 16));
      return;
    case TRtfWord::u:
      if (S.Dest == TDest::Pict) return;
      EmitUnicode(Param);
      FSkip = S.Uc;
      return;
    default:
      break;
  }
  switch (S.Dest) {
    case TDest::FontTable:
      FontTableWord(W, Param);
      return;
    case TDest::ColorTable:
      switch (W) {
        case TRtfWord::red:
          FPendingColor.Color = (FPendingColor.Color & 0xFFFF00) | BYTE(Param);
          break;
        case TRtfWord::green:
          FPendingColor.Color = (FPendingColor.Color & 0xFF00FF) | (COLORREF(BYTE(Param)) << 8);
          break;
        case TRtfWord::blue:
          FPendingColor.Color = (FPendingColor.Color & 0x00FFFF) | (COLORREF(BYTE(Param)) << 16);
          break;
        default:
          return;
      }
      FPendingColor.Auto = false;
      FColorStarted = true;
      return;
    case TDest::Pict:
      FPict.Word(W, HasParam, Param);
      return;
    case TDest::NestProps:
      // The nested row's definition, then its end.
      if (W == TRtfWord::nestrow) {
        NestedRowEnd(&FRowDef);
        return;
      }
      TableWord(W, Param);
      BorderWord(W, HasParam, Param);
      return;
    case TDest::Ignore:
    case TDest::UprFallback:
    case TDest::Shape:
    case TDest::ShapeName:
    case TDest::ShapePicture:
      return;
    default:
      break;
  }
  switch (W) {
    case TRtfWord::rtf:
    case TRtfWord::ansi:
      FAnsiCp = 1252;
      break;
    case TRtfWord::mac:
      FAnsiCp = IsValidCodePage(10000) ? 10000 : 1252;
      break;
    case TRtfWord::pc:
      FAnsiCp = 437;
      break;
    case TRtfWord::pca:
      FAnsiCp = 850;
      break;
    case TRtfWord::ansicpg:
      if (HasParam && Param > 0 && UsableCodePage(UINT(Param)) != 0)
        FAnsiCp = UsableCodePage(UINT(Param));
      break;
    case TRtfWord::deff:
      FDeff = int(Param);
      break;
    default:
      break;
  }
  if (W == TRtfWord::ansicpg || W == TRtfWord::deff || W == TRtfWord::mac || W == TRtfWord::pc ||
      W == TRtfWord::pca || W == TRtfWord::ansi || W == TRtfWord::rtf)
    FLastFontLookup = -3;
  if (S.Dest == TDest::StyleEntry) {
    switch (W) {
      case TRtfWord::s:
        S.StyleNumber = int(Param);
        S.StyleIsParagraph = true;
        return;
      case TRtfWord::cs:
        S.StyleNumber = int(Param);
        S.StyleIsParagraph = false;
        return;
      case TRtfWord::ds:
      case TRtfWord::ts:
        S.StyleSkip = true;
        return;
      default:
        break;
    }
  }
  CharWord(W, HasParam, Param);
  ParaWord(W, HasParam, Param);
  if (S.Dest != TDest::Normal) return;
  TableWord(W, Param);
  BorderWord(W, HasParam, Param);
  switch (W) {
    case TRtfWord::par:
      EndParagraph(TRichParagraphEnd::Paragraph);
      break;
    case TRtfWord::sect:
      EndParagraph(TRichParagraphEnd::Paragraph);
      FSectionPending = true;
      break;
    case TRtfWord::sectd:
    case TRtfWord::sbkpage:
    case TRtfWord::sbkcol:
    case TRtfWord::sbkeven:
    case TRtfWord::sbkodd:
      FSectionNewPage = true;
      break;
    case TRtfWord::sbknone:
      FSectionNewPage = false;
      break;
    case TRtfWord::cell:
      EndParagraph(TRichParagraphEnd::Cell);
      break;
    case TRtfWord::nestcell:
      EndParagraph(TRichParagraphEnd::Cell, /*NestedCell=*/true);
      break;
    case TRtfWord::nestrow:
      NestedRowEnd(nullptr);
      break;
    case TRtfWord::row:
      CloseRow();
      break;
    case TRtfWord::line:
      EmitWide(u"\u000B");
      break;
    case TRtfWord::page:
      EmitWide(u"\u000C");
      break;
    case TRtfWord::tab:
      EmitWide(u"\t");
      break;
    case TRtfWord::emdash: EmitWide(u"\u2014"); break;
    case TRtfWord::endash: EmitWide(u"\u2013"); break;
    case TRtfWord::emspace: EmitWide(u"\u2003"); break;
    case TRtfWord::enspace: EmitWide(u"\u2002"); break;
    case TRtfWord::qmspace: EmitWide(u"\u2005"); break;
    case TRtfWord::bullet: EmitWide(u"\u2022"); break;
    case TRtfWord::lquote: EmitWide(u"\u2018"); break;
    case TRtfWord::rquote: EmitWide(u"\u2019"); break;
    case TRtfWord::ldblquote: EmitWide(u"\u201C"); break;
    case TRtfWord::rdblquote: EmitWide(u"\u201D"); break;
    case TRtfWord::zwj: EmitWide(u"\u200D"); break;
    case TRtfWord::zwnj: EmitWide(u"\u200C"); break;
    case TRtfWord::ltrmark: EmitWide(u"\u200E"); break;
    case TRtfWord::rtlmark: EmitWide(u"\u200F"); break;
    default:
      break;
  }
}

// Opens the destination W names in the current group; false when the
// group is to be skipped.
bool TRtfParser::Destination(TRtfWord W, bool /*Ignorable*/) {
  TState& S = St();
  const TDest Parent = S.Dest;
  switch (W) {
    case TRtfWord::fonttbl:
      S.Dest = TDest::FontTable;
      FCurFont = -1;
      return true;
    case TRtfWord::colortbl:
      S.Dest = TDest::ColorTable;
      FPendingColor = TColorEntry();
      FColorStarted = false;
      return true;
    case TRtfWord::stylesheet:
      S.Dest = TDest::StyleSheet;
      return true;
    case TRtfWord::cs:
      return Parent == TDest::StyleEntry;  // \*\cs opens a character style's entry
    case TRtfWord::pict:
      if (Parent != TDest::Normal && Parent != TDest::ShapePicture) return false;
      S.Dest = TDest::Pict;
      FPict = TRtfPictureData();
      return true;
    case TRtfWord::pn:
      if (Parent != TDest::Normal) return false;
      S.Dest = TDest::Numbering;
      S.Pf.Numbering = TRichNumbering::None;
      S.Pf.NumberingStart = 1;
      S.Pf.NumberingTextBefore.clear();
      S.Pf.NumberingTextAfter.clear();
      S.Pf.NumberingFormat = -1;
      S.PnLook = TNumberingLook();
      return true;
    case TRtfWord::pntxtb:
    case TRtfWord::pntxta:
      if (Parent != TDest::Normal && Parent != TDest::Numbering) return false;
      S.Dest = W == TRtfWord::pntxtb ? TDest::NumberingBefore : TDest::NumberingAfter;
      FNumberingText.clear();
      return true;
    case TRtfWord::nesttableprops:
      if (Parent != TDest::Normal) return false;
      S.Dest = TDest::NestProps;
      FOuterRowDef = FRowDef;
      FOuterCellDef = FCellDef;
      FRowDef = TRichTableRow();
      FCellDef = TRichTableCell();
      return true;
    case TRtfWord::upr:
      if (Parent != TDest::Normal) return false;
      S.Dest = TDest::UprFallback;
      return true;
    case TRtfWord::ud:
      if (Parent != TDest::UprFallback) return false;
      S.Dest = TDest::Normal;
      return true;
    case TRtfWord::shp:
      // A shape: its picture is drawn where the shape is anchored. The
      // shape's result (\shprslt) repeats it for older readers and stays
      // out, as do text boxes and drawing objects.
      if (Parent != TDest::Normal) return false;
      S.Dest = TDest::Shape;
      return true;
    case TRtfWord::shpinst:
    case TRtfWord::sp:
      return Parent == TDest::Shape;
    case TRtfWord::sn:
      if (Parent != TDest::Shape) return false;
      S.Dest = TDest::ShapeName;
      FShapeName.clear();
      return true;
    case TRtfWord::sv:
      if (Parent != TDest::Shape || FShapeName != u"pib") return false;
      S.Dest = TDest::ShapePicture;
      return true;
    case TRtfWord::fldrslt:
    case TRtfWord::result:
    case TRtfWord::shppict:
    case TRtfWord::shprslt:
    case TRtfWord::field:
    case TRtfWord::object:
    case TRtfWord::listtext:
      return Parent == TDest::Normal;
    default:
      return false;  // skipped destinations, and any unknown \* one
  }
}

void TRtfParser::FontTableWord(TRtfWord W, Int64 Param) {
  FLastFontLookup = -3;
  if (W == TRtfWord::f) {
    FCurFont = int(Param);
    FFonts[FCurFont] = TFontEntry();
    St().DefinedFont = FCurFont;
    return;
  }
  if (FCurFont < 0) return;
  TFontEntry& E = FFonts[FCurFont];
  switch (W) {
    case TRtfWord::fnil: E.PitchAndFamily = (E.PitchAndFamily & 0x0F) | 0x00; break;
    case TRtfWord::froman: E.PitchAndFamily = (E.PitchAndFamily & 0x0F) | 0x10; break;
    case TRtfWord::fswiss: E.PitchAndFamily = (E.PitchAndFamily & 0x0F) | 0x20; break;
    case TRtfWord::fmodern: E.PitchAndFamily = (E.PitchAndFamily & 0x0F) | 0x30; break;
    case TRtfWord::fscript: E.PitchAndFamily = (E.PitchAndFamily & 0x0F) | 0x40; break;
    case TRtfWord::fdecor: E.PitchAndFamily = (E.PitchAndFamily & 0x0F) | 0x50; break;
    case TRtfWord::fprq:
      E.PitchAndFamily = BYTE((E.PitchAndFamily & 0xF0) | (Param >= 0 && Param <= 2 ? Param : 0));
      break;
    case TRtfWord::fcharset:
      E.Charset = int(Param >= 0 && Param <= 255 ? Param : -1);
      break;
    case TRtfWord::cpg:
      E.CodePage = Param > 0 ? UINT(Param) : 0;
      break;
    default:
      break;
  }
}

void TRtfParser::CharWord(TRtfWord W, bool HasParam, Int64 Param) {
  TState& S = St();
  TRichCharFormat& F = S.Cf;
  const bool On = !HasParam || Param != 0;
  auto Color = [&](bool& Auto, COLORREF& Out) {
    if (Param >= 0 && size_t(Param) < FColors.size() && !FColors[size_t(Param)].Auto) {
      Auto = false;
      Out = FColors[size_t(Param)].Color;
    } else {
      Auto = true;
    }
  };
  switch (W) {
    case TRtfWord::plain:
      F = TRichCharFormat();
      S.Font = FollowDefaultFont;
      break;
    case TRtfWord::b: F.Bold = On; break;
    case TRtfWord::i: F.Italic = On; break;
    case TRtfWord::strike:
    case TRtfWord::striked: F.StrikeOut = On; break;
    case TRtfWord::v: F.Hidden = On; break;
    case TRtfWord::protect: F.Protected = On; break;
    case TRtfWord::ul: F.Underline = On ? TRichUnderline::Single : TRichUnderline::None; break;
    case TRtfWord::ulnone: F.Underline = TRichUnderline::None; break;
    case TRtfWord::ulw: F.Underline = On ? TRichUnderline::Words : TRichUnderline::None; break;
    case TRtfWord::uldb: F.Underline = On ? TRichUnderline::Double : TRichUnderline::None; break;
    case TRtfWord::uld: F.Underline = On ? TRichUnderline::Dotted : TRichUnderline::None; break;
    case TRtfWord::uldash: F.Underline = On ? TRichUnderline::Dash : TRichUnderline::None; break;
    case TRtfWord::uldashd: F.Underline = On ? TRichUnderline::DashDot : TRichUnderline::None; break;
    case TRtfWord::uldashdd:
      F.Underline = On ? TRichUnderline::DashDotDot : TRichUnderline::None;
      break;
    case TRtfWord::ulth: F.Underline = On ? TRichUnderline::Thick : TRichUnderline::None; break;
    case TRtfWord::ulwave: F.Underline = On ? TRichUnderline::Wave : TRichUnderline::None; break;
    case TRtfWord::cf: {
      bool Auto = F.AutoColor;
      Color(Auto, F.Color);
      F.AutoColor = Auto;
      break;
    }
    case TRtfWord::cb:
    case TRtfWord::chcbpat:
    case TRtfWord::highlight: {
      bool None = !F.HasBackground;
      Color(None, F.Background);
      F.HasBackground = !None;
      break;
    }
    case TRtfWord::f:
      S.Font = int(Param);
      break;
    case TRtfWord::fs:
      F.Size = Param <= 0 ? 24 : Integer(std::min<Int64>(Param, MaxFontSize));
      break;
    case TRtfWord::super: F.VerticalPosition = TRichVerticalPosition::Superscript; break;
    case TRtfWord::sub: F.VerticalPosition = TRichVerticalPosition::Subscript; break;
    case TRtfWord::nosupersub: F.VerticalPosition = TRichVerticalPosition::Normal; break;
    case TRtfWord::up:
      F.Offset = Integer(std::clamp<Int64>(HasParam ? Param : 6, -MaxFontSize, MaxFontSize));
      break;
    case TRtfWord::dn:
      F.Offset = -Integer(std::clamp<Int64>(HasParam ? Param : 6, -MaxFontSize, MaxFontSize));
      break;
    case TRtfWord::cs:
      if (S.Dest == TDest::Normal) {
        auto It = FStyles.find(int(Param));
        if (It != FStyles.end()) {
          S.Cf = It->second.Cf;
          S.Font = It->second.Font;
        }
      }
      break;
    default:
      break;
  }
}

void TRtfParser::ApplyStyle(int Number) {
  auto It = FStyles.find(Number);
  if (It == FStyles.end()) return;
  TState& S = St();
  S.Pf = It->second.Pf;
  S.Cf = It->second.Cf;
  S.Font = It->second.Font;
}

void TRtfParser::AddTab(Integer Position, TRichTabKind Kind) {
  TState& S = St();
  std::vector<TRichTabStop>& Tabs = S.Pf.Tabs;
  const TRichTabStop T{ClampLength(Position), Kind, S.TabLeader};
  S.TabKind = TRichTabKind::Left;
  S.TabLeader = TRichTabLeader::None;
  auto It = std::lower_bound(Tabs.begin(), Tabs.end(), T.Position,
                             [](const TRichTabStop& A, Integer P) { return A.Position < P; });
  if (It != Tabs.end() && It->Position == T.Position) {
    *It = T;
  } else if (Tabs.size() < MaxTabs) {
    Tabs.insert(It, T);
  }
}

void TRtfParser::ParaWord(TRtfWord W, bool HasParam, Int64 Param) {
  TState& S = St();
  TRichParaFormat& P = S.Pf;
  const bool On = !HasParam || Param != 0;
  switch (W) {
    case TRtfWord::pard:
      P = TRichParaFormat();
      S.PnLook = TNumberingLook();
      S.InTable = false;
      S.Itap = 0;
      S.TabKind = TRichTabKind::Left;
      S.TabLeader = TRichTabLeader::None;
      S.Border = TBorderTarget::None;
      break;
    case TRtfWord::s:
      if (S.Dest == TDest::Normal) ApplyStyle(int(Param));
      break;
    case TRtfWord::ql: P.Alignment = TRichAlignment::Left; break;
    case TRtfWord::qc: P.Alignment = TRichAlignment::Center; break;
    case TRtfWord::qr: P.Alignment = TRichAlignment::Right; break;
    case TRtfWord::qj:
    case TRtfWord::qd: P.Alignment = TRichAlignment::Justify; break;
    case TRtfWord::li:
    case TRtfWord::lin: P.LeftIndent = ClampLength(Param); break;
    case TRtfWord::ri:
    case TRtfWord::rin: P.RightIndent = ClampLength(Param); break;
    case TRtfWord::fi: P.FirstIndent = ClampLength(Param); break;
    case TRtfWord::sb: P.SpaceBefore = std::max(ClampLength(Param), 0); break;
    case TRtfWord::sa: P.SpaceAfter = std::max(ClampLength(Param), 0); break;
    case TRtfWord::sl: P.LineSpacing = ClampLength(Param); break;
    case TRtfWord::slmult: P.LineSpacingMultiple = On; break;
    case TRtfWord::rtlpar: P.RightToLeft = true; break;
    case TRtfWord::ltrpar: P.RightToLeft = false; break;
    case TRtfWord::keep: P.KeepTogether = On; break;
    case TRtfWord::keepn: P.KeepWithNext = On; break;
    case TRtfWord::pagebb: P.PageBreakBefore = On; break;
    case TRtfWord::intbl:
      S.InTable = On;
      S.Itap = On ? std::max(S.Itap, 1) : 0;
      break;
    case TRtfWord::itap:
      S.Itap = int(std::clamp<Int64>(Param, 0, 1000));
      S.InTable = S.Itap > 0;
      break;
    case TRtfWord::tqr: S.TabKind = TRichTabKind::Right; break;
    case TRtfWord::tqc: S.TabKind = TRichTabKind::Center; break;
    case TRtfWord::tqdec: S.TabKind = TRichTabKind::Decimal; break;
    case TRtfWord::tldot: S.TabLeader = TRichTabLeader::Dots; break;
    case TRtfWord::tlmdot: S.TabLeader = TRichTabLeader::MiddleDots; break;
    case TRtfWord::tlhyph: S.TabLeader = TRichTabLeader::Hyphens; break;
    case TRtfWord::tlul: S.TabLeader = TRichTabLeader::Underline; break;
    case TRtfWord::tlth: S.TabLeader = TRichTabLeader::Thick; break;
    case TRtfWord::tleq: S.TabLeader = TRichTabLeader::Equals; break;
    case TRtfWord::tx: AddTab(Integer(ClampLength(Param)), S.TabKind); break;
    case TRtfWord::tb: AddTab(Integer(ClampLength(Param)), TRichTabKind::Bar); break;
    case TRtfWord::cbpat: {
      if (Param >= 0 && size_t(Param) < FColors.size() && !FColors[size_t(Param)].Auto) {
        P.HasShading = true;
        P.Shading = FColors[size_t(Param)].Color;
      } else {
        P.HasShading = false;
      }
      break;
    }
    case TRtfWord::pnlvlblt: P.Numbering = TRichNumbering::Bullet; break;
    case TRtfWord::pnlvlbody:
      if (P.Numbering == TRichNumbering::None) P.Numbering = TRichNumbering::Arabic;
      break;
    case TRtfWord::pndec: P.Numbering = TRichNumbering::Arabic; break;
    case TRtfWord::pnlcltr: P.Numbering = TRichNumbering::LowerLetter; break;
    case TRtfWord::pnucltr: P.Numbering = TRichNumbering::UpperLetter; break;
    case TRtfWord::pnlcrm: P.Numbering = TRichNumbering::LowerRoman; break;
    case TRtfWord::pnucrm: P.Numbering = TRichNumbering::UpperRoman; break;
    case TRtfWord::pnstart: P.NumberingStart = Integer(std::clamp<Int64>(Param, 0, 32767)); break;
    case TRtfWord::pnindent: P.NumberingIndent = ClampLength(Param); break;
    case TRtfWord::pnf:
      S.PnLook.Font = int(std::clamp<Int64>(Param, 0, 0x7FFFFFFF));
      // The mark's texts (\pntxtb …) are in its font's code page.
      if (S.Dest == TDest::Numbering) S.Font = S.PnLook.Font;
      break;
    case TRtfWord::pnfs:
      S.PnLook.Size = Param <= 0 ? 0 : Integer(std::min<Int64>(Param, MaxFontSize));
      break;
    case TRtfWord::pnb: S.PnLook.Bold = On; break;
    case TRtfWord::pni: S.PnLook.Italic = On; break;
    case TRtfWord::pncf: S.PnLook.Color = int(std::clamp<Int64>(Param, -1, 0x7FFFFFFF)); break;
    default:
      break;
  }
}

void TRtfParser::TableWord(TRtfWord W, Int64 Param) {
  switch (W) {
    case TRtfWord::trowd:
      FRowDef = TRichTableRow();
      FCellDef = TRichTableCell();
      break;
    case TRtfWord::trleft: FRowDef.Left = ClampLength(Param); break;
    case TRtfWord::trgaph: FRowDef.Gap = ClampLength(Param); break;
    case TRtfWord::trrh: FRowDef.Height = ClampLength(Param); break;
    case TRtfWord::trql: FRowDef.Alignment = TRichAlignment::Left; break;
    case TRtfWord::trqc: FRowDef.Alignment = TRichAlignment::Center; break;
    case TRtfWord::trqr: FRowDef.Alignment = TRichAlignment::Right; break;
    case TRtfWord::cellx:
      FCellDef.Right = ClampLength(Param);
      if (FRowDef.Cells.size() < MaxCells) FRowDef.Cells.push_back(FCellDef);
      FCellDef = TRichTableCell();
      break;
    case TRtfWord::clmrg: FCellDef.MergedWithPrevious = true; break;
    case TRtfWord::cltxlrtb:
    case TRtfWord::cltxlrtbv: FCellDef.TextFlow = TRichTextFlow::Horizontal; break;
    case TRtfWord::cltxbtlr: FCellDef.TextFlow = TRichTextFlow::BottomToTop; break;
    case TRtfWord::cltxtbrl:
    case TRtfWord::cltxtbrlv: FCellDef.TextFlow = TRichTextFlow::TopToBottom; break;
    case TRtfWord::clcbpat:
      if (Param >= 0 && size_t(Param) < FColors.size() && !FColors[size_t(Param)].Auto) {
        FCellDef.HasShading = true;
        FCellDef.Shading = FColors[size_t(Param)].Color;
      }
      break;
    default:
      break;
  }
}

std::vector<TRichBorder*> TRtfParser::BorderTargets() {
  TRichBorders& P = St().Pf.Borders;
  TRichBorders& C = FCellDef.Borders;
  TRichBorders& R = FRowDef.Borders;
  switch (St().Border) {
    case TBorderTarget::ParaLeft: return {&P.Left};
    case TBorderTarget::ParaTop: return {&P.Top};
    case TBorderTarget::ParaRight: return {&P.Right};
    case TBorderTarget::ParaBottom: return {&P.Bottom};
    case TBorderTarget::ParaBox: return {&P.Left, &P.Top, &P.Right, &P.Bottom};
    case TBorderTarget::CellLeft: return {&C.Left};
    case TBorderTarget::CellTop: return {&C.Top};
    case TBorderTarget::CellRight: return {&C.Right};
    case TBorderTarget::CellBottom: return {&C.Bottom};
    case TBorderTarget::RowLeft: return {&R.Left};
    case TBorderTarget::RowTop: return {&R.Top};
    case TBorderTarget::RowRight: return {&R.Right};
    case TBorderTarget::RowBottom: return {&R.Bottom};
    case TBorderTarget::RowInsideH: return {&FRowDef.InsideHorizontal};
    case TBorderTarget::RowInsideV: return {&FRowDef.InsideVertical};
    default: return {};
  }
}

void TRtfParser::ApplyBorder() {
  const TState& S = St();
  for (TRichBorder* B : BorderTargets())
    B->Width = S.BorderStyled ? (S.BorderWidth > 0 ? S.BorderWidth : 15) : 0;
}

void TRtfParser::BorderWord(TRtfWord W, bool HasParam, Int64 Param) {
  TState& S = St();
  auto Target = [&](TBorderTarget T) {
    S.Border = T;
    S.BorderStyled = false;
    S.BorderWidth = 0;
  };
  switch (W) {
    case TRtfWord::brdrl: Target(TBorderTarget::ParaLeft); break;
    case TRtfWord::brdrt: Target(TBorderTarget::ParaTop); break;
    case TRtfWord::brdrr: Target(TBorderTarget::ParaRight); break;
    case TRtfWord::brdrb: Target(TBorderTarget::ParaBottom); break;
    case TRtfWord::box: Target(TBorderTarget::ParaBox); break;
    case TRtfWord::clbrdrl: Target(TBorderTarget::CellLeft); break;
    case TRtfWord::clbrdrt: Target(TBorderTarget::CellTop); break;
    case TRtfWord::clbrdrr: Target(TBorderTarget::CellRight); break;
    case TRtfWord::clbrdrb: Target(TBorderTarget::CellBottom); break;
    case TRtfWord::trbrdrl: Target(TBorderTarget::RowLeft); break;
    case TRtfWord::trbrdrt: Target(TBorderTarget::RowTop); break;
    case TRtfWord::trbrdrr: Target(TBorderTarget::RowRight); break;
    case TRtfWord::trbrdrb: Target(TBorderTarget::RowBottom); break;
    case TRtfWord::trbrdrh: Target(TBorderTarget::RowInsideH); break;
    case TRtfWord::trbrdrv: Target(TBorderTarget::RowInsideV); break;
    case TRtfWord::brdrstyle:
      S.BorderStyled = true;
      ApplyBorder();
      break;
    case TRtfWord::brdrnone:
      S.BorderStyled = false;
      ApplyBorder();
      break;
    case TRtfWord::brdrw:
      S.BorderWidth = HasParam ? Integer(std::clamp<Int64>(Param, 0, 1440)) : 0;
      ApplyBorder();
      break;
    case TRtfWord::brdrcf:
      for (TRichBorder* B : BorderTargets()) {
        if (Param >= 0 && size_t(Param) < FColors.size() && !FColors[size_t(Param)].Auto) {
          B->AutoColor = false;
          B->Color = FColors[size_t(Param)].Color;
        } else {
          B->AutoColor = true;
        }
      }
      break;
    default:
      break;
  }
}

// ---- structure ------------------------------------------------------------

Integer TRtfParser::EnsureRow() {
  if (FRow < 0) {
    FRow = FDoc.AddRow(FRowDef);
    FCellIndex = 0;
    FCellsUsed = 0;
  }
  return FRow;
}

namespace {

// Makes up boundaries for cells that text names beyond the row's \cellx.
void AddMissingCells(TRichTableRow& R, Integer Used) {
  const size_t Needed = size_t(std::max<Integer>(Used, 1));
  while (R.Cells.size() < Needed) {
    TRichTableCell C;
    const Integer Prev = R.Cells.empty() ? R.Left : R.Cells.back().Right;
    const Integer Width = R.Cells.size() >= 2
                              ? R.Cells.back().Right - R.Cells[R.Cells.size() - 2].Right
                              : 1440;
    // Not clamped to a length: a thousand made-up cells reach past it, and
    // layout wraps cells past the right edge into bands.
    C.Right = Integer(std::min<Int64>(Int64(Prev) + std::max<Integer>(Width, 1), Int64(1) << 30));
    R.Cells.push_back(C);
  }
}

}  // namespace

// Gives the open row the definition in effect now (writers repeat it
// before \row) and enough cells for the cells its paragraphs name.
void TRtfParser::CloseRow() {
  CloseNestedRow(nullptr);
  if (FRow < 0) return;
  TRichTableRow& R = FDoc.MutableRow(FRow);
  R = FRowDef;
  AddMissingCells(R, FCellsUsed);
  FRow = -1;
  FCellIndex = 0;
}

// Closes the open nested row with its definition (none: the cells its
// paragraphs name, made up).
void TRtfParser::CloseNestedRow(const TRichTableRow* Def) {
  if (FNestRow < 0) return;
  TRichTableRow& R = FDoc.MutableRow(FNestRow);
  if (Def) R = *Def;
  AddMissingCells(R, FNestCellsUsed);
  FNestRow = -1;
  FNestCellIndex = 0;
}

// \nestrow: text left after the last \nestcell is one more nested cell, so
// nothing is lost; then the row is closed.
void TRtfParser::NestedRowEnd(const TRichTableRow* Def) {
  if (!FDoc.OpenParagraphEmpty()) EndParagraph(TRichParagraphEnd::Cell, /*NestedCell=*/true);
  CloseNestedRow(Def);
}

// The look of a numbered paragraph's mark: its first character's, with
// what the \pn group set. A bullet without a font of its own is the
// control's bullet, in Symbol, as the control itself writes it
// (\pnf Symbol, \pntxtb \'B7): text bytes given for it are symbol codes.
void TRtfParser::ApplyNumberingLook(TRichParaFormat& Pf, const TRichCharFormat& Mark) {
  const TNumberingLook& L = St().PnLook;
  const bool SymbolBullet = Pf.Numbering == TRichNumbering::Bullet && L.Font < 0;
  if (Pf.Numbering == TRichNumbering::None || (!L.Given() && !SymbolBullet)) return;
  const TRichParagraph& Open = FDoc.Paragraphs().back();
  TRichCharFormat F = Open.Runs.empty() || FDoc.OpenParagraphEmpty() ? Mark : FDoc.CharFormat(Open.Runs.front().Format);
  if (SymbolBullet) {
    F.Face = u"Symbol";
    F.Charset = SYMBOL_CHARSET;
    F.PitchAndFamily = 0;
  } else if (auto It = FFonts.find(L.Font); It != FFonts.end()) {
    F.Face = It->second.Name;
    F.Charset = It->second.Charset >= 0 ? BYTE(It->second.Charset) : DEFAULT_CHARSET;
    F.PitchAndFamily = It->second.PitchAndFamily;
  }
  if (L.Size > 0) F.Size = L.Size;
  if (L.Bold >= 0) F.Bold = L.Bold != 0;
  if (L.Italic >= 0) F.Italic = L.Italic != 0;
  if (L.Color >= 0) {
    F.AutoColor = size_t(L.Color) >= FColors.size() || FColors[size_t(L.Color)].Auto;
    if (!F.AutoColor) F.Color = FColors[size_t(L.Color)].Color;
  }
  // The mark is drawn whatever its text's effects.
  F.Hidden = false;
  F.Underline = TRichUnderline::None;
  if (F.Charset == SYMBOL_CHARSET) {
    for (WideString* T : {&Pf.NumberingTextBefore, &Pf.NumberingTextAfter})
      for (char16_t& C : *T)
        if (C >= 0x20 && C <= 0xFF) C = char16_t(0xF000 + C);
  }
  Pf.NumberingFormat = FDoc.InternFormat(F);
}

void TRtfParser::EndParagraph(TRichParagraphEnd End, bool NestedCell) {
  FlushText();
  TState& S = St();
  const TRichCharFormat Mark = EffectiveFormat();
  if (S.Pf.Numbering != TRichNumbering::None) {
    TRichParaFormat Pf = S.Pf;
    ApplyNumberingLook(Pf, Mark);
    EndParagraphWith(End, Pf, Mark, NestedCell);
  } else {
    EndParagraphWith(End, S.Pf, Mark, NestedCell);
  }
}

// The first paragraph of a new section starts its page.
void TRtfParser::StartSection(TRichParaFormat& Pf) {
  if (!FSectionPending) return;
  FSectionPending = false;
  if (FSectionNewPage) Pf.PageBreakBefore = true;
}

void TRtfParser::EndParagraphWith(TRichParagraphEnd End, const TRichParaFormat& PfIn, const TRichCharFormat& Mark,
                                  bool NestedCell) {
  TRichParaFormat Pf = PfIn;
  StartSection(Pf);
  const TState& S = St();
  if (NestedCell || (S.InTable && S.Itap >= 2)) {
    // A paragraph of a nested table: in the outer row's current cell.
    const Integer Row = EnsureRow();
    const Integer Cell = FCellIndex;
    if (FNestRow < 0) {
      FNestRow = FDoc.AddRow(TRichTableRow());
      FNestCellIndex = 0;
      FNestCellsUsed = 0;
    }
    const Integer NestCell = FNestCellIndex;
    FDoc.EndParagraph(Pf, Mark, End, Row, Cell, FNestRow, NestCell);
    FCellsUsed = std::max(FCellsUsed, Cell + 1);
    FNestCellsUsed = std::max(FNestCellsUsed, NestCell + 1);
    if (End == TRichParagraphEnd::Cell && FNestCellIndex < Integer(MaxCells) * 4) ++FNestCellIndex;
    return;
  }
  if (End == TRichParagraphEnd::Cell || S.InTable) {
    // Back at the outer level: a nested row left open ends here.
    CloseNestedRow(nullptr);
    const Integer Row = EnsureRow();
    const Integer Cell = FCellIndex;
    FDoc.EndParagraph(Pf, Mark, End, Row, Cell);
    FCellsUsed = std::max(FCellsUsed, Cell + 1);
    if (End == TRichParagraphEnd::Cell && FCellIndex < Integer(MaxCells) * 4) ++FCellIndex;
    return;
  }
  CloseRow();
  FDoc.EndParagraph(Pf, Mark);
}

}  // namespace

bool IsRtf(std::string_view Bytes) { return Bytes.substr(0, 5) == "{\\rtf"; }

TRichDocument RtfRead(std::string_view Rtf, const TRtfConsumed& Consumed) {
  if (!IsRtf(Rtf)) return PlainTextRead(Rtf);
  TRtfParser Parser(Rtf, Consumed);
  return Parser.Run();
}

TRichDocument PlainTextRead(std::u16string_view Text, const TRichCharFormat& Format) {
  TRichDocument D;
  size_t Start = 0;
  const TRichParaFormat Pf;
  for (size_t I = 0; I < Text.size(); ++I) {
    const char16_t C = Text[I];
    if (C != u'\r' && C != u'\n') continue;
    D.AppendText(Text.substr(Start, I - Start), Format);
    D.EndParagraph(Pf, Format);
    if (C == u'\r' && I + 1 < Text.size() && Text[I + 1] == u'\n') ++I;
    Start = I + 1;
  }
  D.AppendText(Text.substr(Start), Format);
  D.Finish(Pf, Format);
  return D;
}

TRichDocument PlainTextRead(std::string_view Bytes, const TRichCharFormat& Format, UINT CodePage) {
  WideString W;
  try {
    W = AnsiToWide(Bytes, CodePage);
  } catch (const Exception&) {
    W = AnsiToWide(Bytes, 1252);
  }
  return PlainTextRead(std::u16string_view(W), Format);
}

TRichDocument LoadRichText(std::string_view Bytes, bool PlainText, const TRichCharFormat& Format,
                           const TRtfConsumed& Consumed) {
  if (!PlainText && IsRtf(Bytes)) return RtfRead(Bytes, Consumed);
  return PlainTextRead(Bytes, Format);
}
