#include "editor/exchange/DCRtfImporter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"

namespace {

// Sorted case-insensitively: a word's code is its index.
const char* const RtfWords[rwCount] = {
    "\\b",      "\\blue",      "\\cell",     "\\cf",       "\\colortbl", "\\deff",   "\\deflang",
    "\\endash", "\\f",         "\\fonttbl",  "\\fs",       "\\green",    "\\highlight", "\\i",
    "\\line",   "\\lquote",    "\\nosupersub", "\\par",    "\\pard",     "\\plain",  "\\pnf",
    "\\pnlvlblt", "\\pnlvlbody", "\\pntext", "\\qc",       "\\qr",       "\\red",    "\\row",
    "\\rquote", "\\rtf",       "\\strike",   "\\sub",      "\\super",    "\\tab",    "\\trowd",
    "\\u",      "\\ul",        "\\ulnone",   "\\v"};

// Destinations whose groups carry no document text. Matched as whole
// words: "\s1" and "\pnlvlblt" groups are text.
const std::string_view SkipDestinations[] = {
    "\\stylesheet", "\\pntxta",  "\\pntxtb",  "\\propname", "\\staticval", "\\object",
    "\\*",          "\\title",   "\\author",  "\\operator", "\\pict",
    // The document information, page furniture, notes and field codes: none
    // of it is body text, whichever producer leaves out the "\*".
    "\\info",       "\\subject",   "\\keywords",  "\\doccomm",   "\\comment",   "\\company",
    "\\category",   "\\manager",   "\\hlinkbase", "\\header",    "\\headerl",   "\\headerr",
    "\\headerf",    "\\footer",    "\\footerl",   "\\footerr",   "\\footerf",   "\\footnote",
    "\\annotation", "\\atnid",     "\\atnauthor", "\\atndate",   "\\atnref",    "\\atrfstart",
    "\\atrfend",    "\\fldinst",   "\\xe",        "\\tc",        "\\txe",       "\\bkmkstart",
    "\\bkmkend",    "\\listtable", "\\listoverridetable", "\\revtbl", "\\rsidtbl", "\\filetbl",
    "\\generator",  "\\themedata", "\\colorschememapping", "\\latentstyles", "\\datastore",
    "\\xmlnstbl",   "\\pgdsctbl",  "\\nonshppict", "\\objdata"};

bool IsSkipDestination(const AnsiString& W) {
  // Views compare lengths first: most words are rejected without reading them.
  const std::string_view V(W);
  for (const std::string_view D : SkipDestinations)
    if (V == D) return true;
  return false;
}

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// A stray non-hex byte in \'hh counts as 0.
Integer HexDigit(char C) { return std::max(0, HexDigitValue(C)); }

// A decimal integer token as RTF writes parameters; no range surprises.
bool ParseInt(const AnsiString& S, Integer& Value) {
  if (S.empty() || S.size() > 11) return false;
  return TryStrToInt(S, Value);
}

const AnsiString CRLF = "\r\n";

}  // namespace

const char* RtfWordText(Integer Code) { return Code >= 0 && Code < rwCount ? RtfWords[Code] : ""; }

// ---------------------------------------------------------------------------
// Tokenizer

TDCRtfParser::TDCRtfParser(TComponent* AOwner) : TCustomDCParser(AOwner) { InitStates(); }

void TDCRtfParser::InitStates() {
  inherited::InitStates();
  TCharSet Text;
  Text.set('\t');
  for (int C = 32; C <= 255; ++C) Text.set(C);
  SetHandler(Text, static_cast<THandler>(&TDCRtfParser::ScanText));
  TCharSet Open, Close, Slash, Digits;
  Open.set('{');
  Close.set('}');
  Slash.set('\\');
  for (int C = '0'; C <= '9'; ++C) Digits.set(C);
  SetHandler(Open, static_cast<THandler>(&TDCRtfParser::ScanGroupOpen));
  SetHandler(Close, static_cast<THandler>(&TDCRtfParser::ScanGroupClose));
  SetHandler(Slash, static_cast<THandler>(&TDCRtfParser::ScanControl));
  SetHandler(Digits, &TDCRtfParser::ScanNumber);
  SetLineHandlers(0);
}

Integer TDCRtfParser::ScanText() {
  ++FSourcePtr;
  while (!IsTerminator(*FSourcePtr)) ++FSourcePtr;
  return rtkText;
}

Integer TDCRtfParser::ScanGroupOpen() {
  ++FSourcePtr;
  const char* Start = FSourcePtr;
  const char C = *FSourcePtr;
  if (C != '\\' && C != '{' && C != '}')
    while (!IsTerminator(*FSourcePtr)) ++FSourcePtr;
  TextAfterBrace.assign(Start, FSourcePtr);
  return rtkGroupOpen;
}

Integer TDCRtfParser::ScanGroupClose() {
  ++FSourcePtr;
  return rtkGroupClose;
}

Integer TDCRtfParser::ScanControl() {
  const char Next = FSourcePtr[1];
  if (Next == '\'') {
    // A missing digit (the text ends) reads as 0 and is not stepped over.
    FSourcePtr += 2;
    Integer V = 0;
    if (*FSourcePtr) {
      V = HexDigit(*FSourcePtr++);
      if (*FSourcePtr) V = V * 16 + HexDigit(*FSourcePtr++);
    }
    SpecialChar = Byte(V);
    return rtkHex;
  }
  if (Next == '\\' || Next == '{' || Next == '}') {
    ++FSourcePtr;
    FTokenPtr = FSourcePtr;
    ++FSourcePtr;
    while (!IsTerminator(*FSourcePtr)) ++FSourcePtr;
    return rtkText;
  }
  ++FSourcePtr;
  const char* Start = FSourcePtr;
  for (;;) {
    const char C = *FSourcePtr;
    if ((C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '*' || C == '_') ++FSourcePtr;
    else break;
  }
  RtfWordIndex = LookupWord(Start, size_t(FSourcePtr - Start));
  return RtfWordIndex >= 0 ? rtkWord : rtkOtherWord;
}

Integer TDCRtfParser::LookupWord(const char* P, size_t Len) {
  if (Len == 0 || Len > 12) return -1;
  char Buf[16];
  for (size_t I = 0; I < Len; ++I) {
    char C = P[I];
    if (C >= 'A' && C <= 'Z') C = char(C - 'A' + 'a');
    Buf[I] = C;
  }
  // The words of one first letter lie together in the sorted list.
  struct TRange {
    Byte First = 0, Last = 0;
  };
  static const auto Ranges = [] {
    std::array<TRange, 128> R{};
    for (Integer I = rwCount; I-- > 0;) {
      TRange& E = R[static_cast<unsigned char>(RtfWords[I][1])];
      if (E.Last == 0) E.Last = Byte(I + 1);
      E.First = Byte(I);
    }
    return R;
  }();
  const unsigned char Lead = static_cast<unsigned char>(Buf[0]);
  if (Lead >= 128) return -1;
  const TRange& R = Ranges[Lead];
  for (Integer I = R.First; I < R.Last; ++I) {
    const char* W = RtfWords[I] + 1;
    if (std::strlen(W) == Len && std::memcmp(W, Buf, Len) == 0) return I;
  }
  return -1;
}

std::string_view TDCRtfParser::PlainIntegerAhead() const {
  const char* P = FSourcePtr;
  if (!IsDigit(*P)) return {};
  while (IsDigit(*P)) ++P;
  // A fraction or an exponent makes a real number token.
  if ((P[0] == '.' && IsDigit(P[1])) || P[0] == 'e' || P[0] == 'E') return {};
  return {FSourcePtr, size_t(P - FSourcePtr)};
}

std::string_view TDCRtfParser::ControlWordAhead() const {
  if (FSourcePtr[0] != '\\') return {};
  const char Next = FSourcePtr[1];
  if (Next == '\'' || Next == '\\' || Next == '{' || Next == '}') return {};
  const char* P = FSourcePtr + 1;
  for (;; ++P) {
    const char C = *P;
    if (!((C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '*' || C == '_')) break;
  }
  return {FSourcePtr, size_t(P - FSourcePtr)};
}

void TDCRtfParser::TakeAhead(std::string_view Token, Integer Code) {
  FTokenPtr = FSourcePtr;
  FSourcePtr += Token.size();
  FToken = Code;
  if (Code == rtkWord || Code == rtkOtherWord) RtfWordIndex = Code == rtkWord ? WordCode(Token) : -1;
}

Integer TDCRtfParser::Peek(AnsiString& Text) {
  const char* Src = FSourcePtr;
  const char* Tok = FTokenPtr;
  const char* Line = FLineStart;
  const Integer Token = FToken, State = FState, LineNo = LineNumber(), Word = RtfWordIndex;
  const Byte Special = SpecialChar;
  // Moved aside, not copied: the look-ahead may overwrite it and it is put back.
  AnsiString After = std::move(TextAfterBrace);
  TextAfterBrace.clear();
  const Integer Result = NextToken();
  GetTokenString(Text);
  FSourcePtr = Src;
  FTokenPtr = Tok;
  FLineStart = Line;
  FToken = Token;
  FState = State;
  SetLineNumber(LineNo);
  RtfWordIndex = Word;
  SpecialChar = Special;
  TextAfterBrace = std::move(After);
  return Result;
}

void TDCRtfParser::SkipParameter() {
  if (FSourcePtr[0] == '-' && IsDigit(FSourcePtr[1])) ++FSourcePtr;
  while (IsDigit(*FSourcePtr)) ++FSourcePtr;
}

Integer TDCRtfParser::ReadDigits() {
  Integer V = 0;
  while (IsDigit(*FSourcePtr)) {
    if (V < 100000000) V = V * 10 + (*FSourcePtr - '0');
    ++FSourcePtr;
  }
  return V;
}

AnsiString TDCRtfParser::TakeText() {
  const char* Start = FSourcePtr;
  while (!IsTerminator(*FSourcePtr)) ++FSourcePtr;
  return AnsiString(Start, FSourcePtr);
}

void TDCRtfParser::SkipBytes(Int64 Count, const char* End) {
  if (Count <= 0 || FSourcePtr >= End) return;
  FSourcePtr += std::min<Int64>(Count, End - FSourcePtr);
}

// ---------------------------------------------------------------------------
// Tables

const TRtfFontEntry* TRtfFontTable::Find(Integer N) const {
  const auto It = FFonts.find(N);
  return It == FFonts.end() ? nullptr : &It->second;
}

void TRtfFontTable::Set(Integer N, const AnsiString& Name, Byte Charset) {
  if (N < 0) return;
  FFonts[N] = TRtfFontEntry{Name, Charset};
  FCount = std::max(FCount, N + 1);
}

void TRtfFontTable::Clear() {
  FFonts.clear();
  FCount = 0;
}

TRTFConverter::TRTFConverter(const AnsiString& Text)
    : FText(Text), FEnd(Text.c_str() + Text.size()), FParser(std::make_unique<TDCRtfParser>()) {
  FParser->SetSource(FText.c_str(), FEnd);
}

TRTFConverter::~TRTFConverter() = default;

bool TRTFConverter::ReadIntParam(Integer& Value) {
  if (const std::string_view Ahead = FParser->PlainIntegerAhead(); !Ahead.empty()) {
    if (!ParseInt(AnsiString(Ahead), Value)) return false;
    FParser->TakeAhead(Ahead, rtkInteger);
    return true;
  }
  AnsiString S;
  const Integer Tok = FParser->Peek(S);
  if (Tok != rtkInteger || !ParseInt(S, Value)) return false;
  FParser->NextToken();
  return true;
}

Integer TRTFConverter::NextInGroup(Integer& Depth) {
  for (;;) {
    const Integer Tok = FParser->NextToken();
    if (Tok == rtkGroupOpen) {
      ++Depth;
    } else if (Tok == rtkGroupClose) {
      if (Depth == 0) return rtkEnd;
      --Depth;
    } else {
      return Tok;
    }
  }
}

void TRTFConverter::ReadFontTable(Byte DocCharset) {
  TDCRtfParser& P = *FParser;
  Integer Depth = 0, Font = -1;
  Byte Charset = DEFAULT_CHARSET;
  bool CharsetGiven = false;
  AnsiString S;
  for (Integer Tok; (Tok = NextInGroup(Depth)) != rtkEnd;) {
    switch (Tok) {
      case rtkWord:
        if (P.RtfWordIndex == rwF) {
          Integer N;
          if (ReadIntParam(N)) Font = N;
        }
        P.SkipParameter();
        break;
      case rtkOtherWord:
        P.GetTokenString(S);
        if (SameText(S, "\\fcharset")) {
          Charset = Byte(P.ReadDigits() & 0xFF);
          CharsetGiven = true;
        }
        else if (S == "\\bin") P.SkipBytes(P.ReadDigits(), FEnd);
        else P.SkipParameter();
        break;
      case rtkText:
        if (Depth <= 1) {
          P.GetTokenString(S);
          S = Trim(S);
          S.erase(std::remove(S.begin(), S.end(), ';'), S.end());
          if (!S.empty()) {
            if (!CharsetGiven && DocCharset != DEFAULT_CHARSET) Charset = DocCharset;
            FFontTable.Set(Font < 0 ? FFontTable.Count() : Font, S, Charset);
            Charset = 0;
            CharsetGiven = false;
          }
        }
        break;
      default: break;
    }
  }
}

void TRTFConverter::ReadColorTable() {
  // Each ";" ends an entry; an entry without components (the automatic
  // colour) is black, so the document's indexes stay valid.
  TDCRtfParser& P = *FParser;
  Integer Depth = 0, Red = 0, Green = 0, Blue = 0;
  AnsiString S;
  for (Integer Tok; (Tok = NextInGroup(Depth)) != rtkEnd;) {
    switch (Tok) {
      case rtkText:
      case rtkChar:
        P.GetTokenString(S);
        for (char C : S)
          if (C == ';') {
            FColorTable.push_back(TColor(Red + Green * 256 + Blue * 65536));
            Red = Green = Blue = 0;
          }
        break;
      case rtkWord: {
        Integer* Channel = P.RtfWordIndex == rwRed     ? &Red
                           : P.RtfWordIndex == rwGreen ? &Green
                           : P.RtfWordIndex == rwBlue  ? &Blue
                                                       : nullptr;
        Integer N;
        if (Channel && ReadIntParam(N)) *Channel = std::clamp(N, 0, 255);
        P.SkipParameter();
        break;
      }
      case rtkOtherWord: P.SkipParameter(); break;
      default: break;
    }
  }
}

void TRTFConverter::SkipGroup() {
  TDCRtfParser& P = *FParser;
  Integer Depth = 0;
  AnsiString S;
  for (Integer Tok; (Tok = NextInGroup(Depth)) != rtkEnd;) {
    switch (Tok) {
      case rtkOtherWord:
        // Binary picture data may hold braces: step over it unread.
        P.GetTokenString(S);
        if (S == "\\bin") {
          const Integer N = P.ReadDigits();
          if (P.CurrentChar() == ' ') P.StepChar();
          P.SkipBytes(N, FEnd);
        }
        break;
      default: break;
    }
  }
}

// ---------------------------------------------------------------------------
// Style stack

TInternalImporter::TInternalImporter(TDCImporter* Owner, const TRtfFontTable* FontTable)
    : FRunFont(std::make_unique<TFont>()), FOwner(Owner), FFontTable(FontTable) {}

TInternalImporter::~TInternalImporter() = default;

void TInternalImporter::ClearRecord(TImportRecord& R) { R = TImportRecord{}; }

void TInternalImporter::PushStyle(Integer Key) {
  if (FStack.size() >= MaxDepth) {
    ++FOverflow;
    return;
  }
  FStack.emplace_back();
  FStack.back().Key = Key;
}

void TInternalImporter::PopStyle(Integer Key) {
  if (Key == -1 && FOverflow > 0) {
    --FOverflow;
    return;
  }
  if (FStack.empty()) return;
  const auto SetsSomething = [](const TImportRecord& R) {
    return !R.FontName.empty() || R.Size != -1 || R.Color != -1 || R.StylesSet || R.BackSet || R.Hidden != -1;
  };
  if (Key == -1) {
    if (SetsSomething(FStack.back())) FLookStale = true;
    FStack.pop_back();
    return;
  }
  for (size_t I = FStack.size(); I-- > 0;)
    if (FStack[I].Key == Key) {
      if (SetsSomething(FStack[I])) FLookStale = true;
      FStack.erase(FStack.begin() + std::ptrdiff_t(I));
      return;
    }
}

void TInternalImporter::PopAll() {
  FStack.clear();
  FOverflow = 0;
  FLookStale = true;
}

TImportRecord& TInternalImporter::TopRecord() {
  if (FStack.empty()) PushStyle(-1);
  // Every setter comes through here.
  FLookStale = true;
  return FStack.back();
}

void TInternalImporter::SetStyle(TFontStyle Style, bool On) {
  TImportRecord& R = TopRecord();
  R.StylesSet = true;
  if (On) {
    R.RemoveStyles.Exclude(Style);
    R.AddStyles.Include(Style);
  } else {
    R.AddStyles.Exclude(Style);
    R.RemoveStyles.Include(Style);
  }
}

void TInternalImporter::SetFontName(const AnsiString& Name, Byte Charset) {
  TImportRecord& R = TopRecord();
  R.FontName = Name;
  R.Charset = Charset;
}

void TInternalImporter::SetBackColor(Integer Value) {
  TImportRecord& R = TopRecord();
  R.BackColor = Value;
  R.BackSet = true;
}

void TInternalImporter::ResetStyle() {
  TImportRecord& R = TopRecord();
  GetDefaultFont(R.FontName, R.Charset);
  R.Size = 12;
  R.Color = 0;
  R.BackColor = -1;
  R.AddStyles = {};
  R.RemoveStyles = {};
  R.StylesSet = true;
  R.BackSet = false;
  R.Hidden = 0;
}

Integer TInternalImporter::UnicodeSkip() const {
  for (size_t I = FStack.size(); I-- > 0;)
    if (FStack[I].Uc >= 0) return FStack[I].Uc;
  return 1;
}

void TInternalImporter::GetDefaultFont(AnsiString& Name, Byte& Charset) const {
  const TRtfFontEntry* E = FFontTable ? FFontTable->Find(0) : nullptr;
  if (E) {
    Name = E->Name;
    Charset = E->Charset;
  } else {
    Name.clear();
    Charset = DEFAULT_CHARSET;
  }
}

void TInternalImporter::ComputeFont() {
  const AnsiString* Name = nullptr;
  Byte Charset = FRunFont->GetCharset();
  bool NameSet = false;
  Integer Size = -1, Color = -1;
  TFontStyles Style;
  FBackColor = -1;
  FHidden = false;
  for (const TImportRecord& R : FStack) {
    if (R.Hidden != -1) FHidden = R.Hidden == 1;
    if (!R.FontName.empty()) {
      Name = &R.FontName;
      Charset = R.Charset;
      NameSet = true;
    }
    if (R.Size != -1) Size = R.Size;
    if (R.Color != -1) Color = R.Color;
    if (R.StylesSet) {
      if (R.AddStyles.Empty() && R.RemoveStyles.Empty()) Style = {};
      else Style = (Style + R.AddStyles) - R.RemoveStyles;
    }
    if (R.BackSet) FBackColor = R.BackColor;
  }
  if (NameSet) {
    FRunFont->SetName(*Name);
  } else {
    AnsiString Default;
    Byte Unused;
    GetDefaultFont(Default, Unused);
    FRunFont->SetName(Default);
  }
  FRunFont->SetCharset(Charset);
  FRunFont->SetSize(Size < 0 ? 12 : Size);
  FRunFont->SetColor(TColor(Color < 0 ? 0 : Color));
  FRunFont->SetStyle(Style);
}

void TInternalImporter::AddText(const AnsiString& Text) {
  if (Text.empty()) return;
  if (FLookStale) {
    ComputeFont();
    FLookStale = false;
  }
  // Hidden text is not part of what the document shows.
  if (FHidden) return;
  if (FOwner) FOwner->DoAddText(Text, FRunFont.get(), FBackColor);
}

UINT TInternalImporter::RunCodePage() {
  if (FLookStale) {
    ComputeFont();
    FLookStale = false;
  }
  const Byte Charset = Byte(FRunFont->GetCharset());
  // A symbol font's bytes are glyph numbers, not text of a code page.
  if (Charset == DEFAULT_CHARSET || Charset == SYMBOL_CHARSET) return GetACP();
  const UINT CodePage = CodePageFromCharset(Charset);
  return IsValidCodePage(CodePage) ? CodePage : GetACP();
}

void TInternalImporter::AddTextInCharset(const AnsiString& Text, Byte Charset) {
  if (FLookStale) {
    ComputeFont();
    FLookStale = false;
  }
  const Byte Saved = Byte(FRunFont->GetCharset());
  if (Saved == Charset) {
    AddText(Text);
    return;
  }
  FRunFont->SetCharset(Charset);
  try {
    AddText(Text);
  } catch (...) {
    FRunFont->SetCharset(Saved);
    throw;
  }
  FRunFont->SetCharset(Saved);
}

// ---------------------------------------------------------------------------
// The import loop

TRtfImporter::TRtfImporter(const AnsiString& Text, TDCImporter* Owner)
    : TRTFConverter(Text), FStyles(std::make_unique<TInternalImporter>(Owner, &FFontTable)) {}

TRtfImporter::~TRtfImporter() = default;

void TRtfImporter::AddRun(const AnsiString& Text) { FStyles->AddText(Text); }

void TRtfImporter::CleanTextToken(AnsiString& S, Integer PrevToken) {
  if (!S.empty() && S[0] == ' ' && !FParser->AtLineStart() &&
      (PrevToken == rtkWord || PrevToken == rtkOtherWord))
    S.erase(0, 1);
  if (S.find('\\') == AnsiString::npos) return;
  AnsiString R;
  R.reserve(S.size());
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '\\' && I + 1 < S.size() && (S[I + 1] == '\\' || S[I + 1] == '{' || S[I + 1] == '}'))
      continue;
    R += S[I];
  }
  S.swap(R);
}

void TRtfImporter::Execute() {
  TDCRtfParser& P = *FParser;
  Integer Prev = rtkChar;
  AnsiString S;
  for (;;) {
    const Integer Tok = P.NextToken();
    if (Tok == rtkEnd) break;
    switch (Tok) {
      case rtkText:
      case rtkInteger:
      case rtkReal:
        P.GetTokenString(S);
        CleanTextToken(S, Prev);
        AddRun(S);
        break;
      case rtkWord:
        DoWord(P.RtfWordIndex);
        P.SkipParameter();
        break;
      case rtkGroupOpen:
        DoGroupOpen(Prev);
        continue;  // DoGroupOpen decides about Prev
      case rtkGroupClose: FStyles->PopStyle(-1); break;
      case rtkOtherWord:
        if (P.CurrentChar() == '~') {
          AddRun(" ");
          P.StepChar();
        } else if (P.SourcePtr() - P.TokenPtr() == 1 && (P.CurrentChar() == '\r' || P.CurrentChar() == '\n')) {
          // A lone backslash ending a source line is a paragraph mark (as
          // Cocoa writes them); after a control word the line end is only
          // the source's own layout.
          AddRun(CRLF);
        } else {
          P.GetTokenString(S);
          if (S == "\\bin") {
            const Integer N = P.ReadDigits();
            if (P.CurrentChar() == ' ') P.StepChar();
            P.SkipBytes(N, FEnd);
          } else if (S == "\\ansicpg" && IsDigit(P.CurrentChar())) {
            const UINT CodePage = UINT(P.ReadDigits());
            FDocCodePage = CodePage != GetACP() && IsValidCodePage(CodePage) ? CodePage : 0;
          } else if (S == "\\uc" && IsDigit(P.CurrentChar())) {
            FStyles->SetUnicodeSkip(P.ReadDigits());
          } else {
            // A nested table's cell ends like any other cell.
            if (S == "\\nestcell") AddRun("\t");
            P.SkipParameter();
          }
        }
        break;
      case rtkHex: AddHexChars(); break;
      default: break;
    }
    Prev = FPrevOverride >= 0 ? FPrevOverride : Tok;
    FPrevOverride = -1;
  }
  FStyles->PopAll();
}

void TRtfImporter::DoGroupOpen(Integer& Prev) {
  TDCRtfParser& P = *FParser;
  // Peek puts the parser's text back as it was, so a reference stays valid.
  const AnsiString& After = P.TextAfterBrace;
  if (After.empty() && P.CurrentChar() != '{' && P.CurrentChar() != '}') {
    // Mostly a control word follows the brace; anything else is looked at
    // the general way.
    Integer Tok, Code;
    AnsiString Peeked;
    if (const std::string_view Word = P.ControlWordAhead(); !Word.empty()) {
      Code = TDCRtfParser::WordCode(Word);
      Tok = Code >= 0 ? rtkWord : rtkOtherWord;
      Peeked.assign(Word);
    } else {
      Tok = P.Peek(Peeked);
      Code = Tok == rtkWord ? TDCRtfParser::WordCode(Peeked) : -1;
    }
    // A group read or skipped whole counts as closed: the blank after it
    // is text, not a control word's delimiter.
    if (Tok == rtkWord && Code == rwColortbl) {
      ReadColorTable();
      Prev = rtkGroupClose;
      return;
    }
    if (Tok == rtkWord && Code == rwFonttbl) {
      P.NextToken();
      ReadFontTable(FDocCodePage ? CharsetFromCodePage(FDocCodePage) : DEFAULT_CHARSET);
      // Runs without a face of their own take the table's first.
      FStyles->LookMayHaveChanged();
      Prev = rtkGroupClose;
      return;
    }
    if ((Tok == rtkWord || Tok == rtkOtherWord) && IsSkipDestination(Peeked)) {
      SkipGroup();
      Prev = rtkGroupClose;
      return;
    }
  }
  FStyles->PushStyle(-1);
  AddRun(After);
  Prev = rtkGroupOpen;
}

void TRtfImporter::DoWord(Integer Code) {
  TDCRtfParser& P = *FParser;
  TInternalImporter& St = *FStyles;
  Integer N;
  switch (Code) {
    case rwB: St.SetStyle(fsBold, P.CurrentChar() != '0'); break;
    case rwI: St.SetStyle(fsItalic, P.CurrentChar() != '0'); break;
    case rwStrike: St.SetStyle(fsStrikeOut, P.CurrentChar() != '0'); break;
    case rwUl: St.SetStyle(fsUnderline, P.CurrentChar() != '0'); break;
    case rwUlnone: St.SetStyle(fsUnderline, false); break;
    case rwCell:
    case rwTab: AddRun("\t"); break;
    case rwPar:
    case rwLine:
    case rwRow: AddRun(CRLF); break;
    case rwEndash: AddRun("-"); break;
    case rwLquote:
    case rwRquote: AddRun("'"); break;
    case rwPlain: St.ResetStyle(); break;
    case rwCf:
      if (ReadIntParam(N) && N >= 0 && size_t(N) < FColorTable.size()) St.SetColor(FColorTable[size_t(N)]);
      break;
    case rwF:
    case rwPnf:
      if (ReadIntParam(N))
        if (const TRtfFontEntry* E = FFontTable.Find(N)) St.SetFontName(E->Name, E->Charset);
      break;
    case rwFs: {
      if (const std::string_view Ahead = P.PlainIntegerAhead(); !Ahead.empty()) {
        P.TakeAhead(Ahead, rtkInteger);
        St.SetFontSize(std::min((ParseInt(AnsiString(Ahead), N) ? N : 24) / 2, 1638));
        break;
      }
      // A size that is not a number reads as 12 points; braces stay for the loop.
      AnsiString S;
      const Integer Tok = P.Peek(S);
      if (Tok == rtkGroupOpen || Tok == rtkGroupClose || Tok == rtkEnd) {
        St.SetFontSize(12);
        break;
      }
      P.NextToken();
      if (S == "-") {
        const Integer T2 = P.Peek(S);
        if (T2 != rtkGroupOpen && T2 != rtkGroupClose && T2 != rtkEnd) P.NextToken();
        St.SetFontSize(72);
      } else {
        St.SetFontSize(std::min((Tok == rtkInteger && ParseInt(S, N) ? N : 24) / 2, 1638));
      }
      break;
    }
    case rwHighlight:
      if (ReadIntParam(N)) {
        Integer C = N >= 0 && size_t(N) < FColorTable.size() ? Integer(FColorTable[size_t(N)]) : -1;
        if (N == 0 && C == 0) C = -1;
        St.SetBackColor(C);
      }
      break;
    case rwU: AddUnicodeChar(); break;
    case rwV: St.SetHidden(P.CurrentChar() != '0'); break;
    default: break;  // words kept only so that their parameters are dropped
  }
}

void TRtfImporter::AddHexChars() {
  TDCRtfParser& P = *FParser;
  // A NUL would end the editor's line text early, and a CR or LF inside a
  // run would split a line behind the editor's back: none of them is kept.
  AnsiString Bytes;
  const auto Keep = [&Bytes](Byte C) {
    if (C != 0 && C != '\r' && C != '\n') Bytes += char(C);
  };
  Keep(P.SpecialChar);
  while (P.CurrentChar() == '\\' && P.NextChar() == '\'') {
    P.NextToken();
    Keep(P.SpecialChar);
  }
  AddRun(Bytes);
  AddRun(P.TakeText());
}

void TRtfImporter::AddUnicodeChar() {
  TDCRtfParser& P = *FParser;
  AnsiString S;
  Integer Value;
  // Writers put code units above 32767 as negative numbers.
  const bool Negative = P.CurrentChar() == '-' && IsDigit(P.NextChar());
  if (Negative) P.StepChar();
  Integer Tok = P.Peek(S);
  if (Tok != rtkInteger || !ParseInt(S, Value)) return;  // the next token is ordinary content
  P.NextToken();
  if (Negative) Value = -Value;
  const WCHAR W = WCHAR(Value & 0xFFFF);
  char Buf[2] = {0, 0};
  // The character goes into the run's code page (a Cyrillic font's text
  // stays Cyrillic bytes); one that code page lacks goes in the editor's.
  const UINT RunCodePage = FStyles->RunCodePage();
  BOOL Missing = FALSE;
  int Len = WideCharToMultiByte(RunCodePage, WC_NO_BEST_FIT_CHARS, &W, 1, Buf, 2, nullptr, &Missing);
  const bool InRunCodePage = Len > 0 && !Missing;
  // Else the first code page that has it, the editor's first, so that a
  // Chinese character in a Latin font is not lost as "?".
  UINT CodePage = RunCodePage;
  if (!InRunCodePage) {
    static const UINT Others[] = {0,   1251, 1253, 1250, 1254, 1257, 1255, 1256,
                                  1258, 874, 936,  932,  949,  950};
    CodePage = GetACP();
    for (const UINT Cp : Others) {
      const UINT Try = Cp ? Cp : GetACP();
      if (Try == RunCodePage || !IsValidCodePage(Try)) continue;
      Missing = FALSE;
      Len = WideCharToMultiByte(Try, WC_NO_BEST_FIT_CHARS, &W, 1, Buf, 2, nullptr, &Missing);
      if (Len > 0 && !Missing) {
        CodePage = Try;
        break;
      }
    }
    if (CodePage == GetACP()) Len = WideCharToMultiByte(CP_ACP, 0, &W, 1, Buf, 2, nullptr, nullptr);
  }
  if (Len == 2 && Buf[1] == 0) Len = 1;
  // As with hex escapes: a NUL, CR or LF would cut or split the editor's line.
  if (Len == 1 && (Buf[0] == 0 || Buf[0] == '\r' || Buf[0] == '\n')) Len = 0;
  if (Len > 0) {
    if (CodePage == RunCodePage) AddRun(AnsiString(Buf, size_t(Len)));
    else FStyles->AddTextInCharset(AnsiString(Buf, size_t(Len)), CharsetFromCodePage(CodePage));
  }
  SkipUnicodeFallback(FStyles->UnicodeSkip());
}

// The characters after a \u for readers without Unicode: as many as \uc
// says (1 unless a group says otherwise), each a character of text or one
// \'hh. Braces and control words end the fallback early.
void TRtfImporter::SkipUnicodeFallback(Integer Count) {
  TDCRtfParser& P = *FParser;
  AnsiString S;
  bool First = true;
  while (Count > 0) {
    const Integer Tok = P.Peek(S);
    if (Tok == rtkHex) {
      P.NextToken();
      FPrevOverride = rtkHex;
      // As after any hex escape, what follows up to the next control is
      // text, digits too: "\u8216\'91000" is a quote and "000".
      if (--Count == 0) AddRun(P.TakeText());
    } else if (Tok == rtkText || Tok == rtkInteger || Tok == rtkReal) {
      P.NextToken();
      // The blank that ends the \u's parameter is no fallback.
      if (First && !S.empty() && S[0] == ' ' && !P.AtLineStart()) S.erase(0, 1);
      const size_t Dropped = std::min(size_t(Count), S.size());
      S.erase(0, Dropped);
      Count -= Integer(Dropped);
      // The rest is text, digits too: "\u8216\'91000" is a quote and "000".
      AddRun(S);
      FPrevOverride = rtkText;
    } else {
      break;
    }
    First = false;
  }
}

// ---------------------------------------------------------------------------

bool TDCRtfImporter::CanImport(TStream* Stream) {
  bool Result = false;
  if (Stream && Stream->GetSize() > 4) {
    char Head[5];
    Result = Stream->Read(Head, 5) == 5 && std::memcmp(Head, "{\\rtf", 5) == 0;
  }
  if (Stream) Stream->Seek(Int64(0), soBeginning);
  return Result;
}

void TDCRtfImporter::Import(const AnsiString& Text) {
  TRtfImporter Imp(Text, this);
  Imp.Execute();
}
