// DCRtfImporter.h — the RTF importer: every input document enters the
// editor through it. A small RTF reader over TDCRtfParser (the table-driven
// tokenizer set up for RTF): it reads the font and colour tables, keeps one
// character-format record per open group and hands each piece of text to
// the importer's OnAddText as a run with a font and a background colour.
// Paragraph formatting, lists, pictures and objects are not imported;
// tables come in as TAB-separated text.
//
// Everything but TDCRtfImporter lives for one Import call.
#pragma once
#include <string_view>
#include <map>
#include <memory>
#include <vector>
#include "editor/exchange/DCImporter.h"
#include "editor/exchange/DCParser.h"

// Token codes of TDCRtfParser.
enum : Integer {
  rtkEnd = 0,
  rtkText = 1,
  rtkInteger = 4,
  rtkReal = 5,
  rtkWord = 6,         // a control word of the importer's word list
  rtkChar = 7,         // one character no other handler took
  rtkGroupOpen = 20,
  rtkGroupClose = 21,
  rtkOtherWord = 22,   // an unlisted control word or a control symbol
  rtkHex = 23,         // \'hh
};

// The importer's control words, in the order of their codes.
enum TRtfImportWord : Integer {
  rwB, rwBlue, rwCell, rwCf, rwColortbl, rwDeff, rwDeflang, rwEndash, rwF, rwFonttbl,
  rwFs, rwGreen, rwHighlight, rwI, rwLine, rwLquote, rwNosupersub, rwPar, rwPard, rwPlain,
  rwPnf, rwPnlvlblt, rwPnlvlbody, rwPntext, rwQc, rwQr, rwRed, rwRow, rwRquote, rwRtf,
  rwStrike, rwSub, rwSuper, rwTab, rwTrowd, rwU, rwUl, rwUlnone, rwV, rwCount
};
// "\b", "\blue", … by code.
const char* RtfWordText(Integer Code);

class TDCRtfParser : public TCustomDCParser {
  SX_CLASS(TDCRtfParser, TCustomDCParser)
public:
  explicit TDCRtfParser(TComponent* AOwner = nullptr);

  // The word-list code of the last control word; -1 for an unlisted one.
  Integer RtfWordIndex = -1;
  // The byte of the last \'hh.
  Byte SpecialChar = 0;
  // Plain text that directly followed the last "{".
  AnsiString TextAfterBrace;

  // The next token's code and text, the position left unchanged.
  Integer Peek(AnsiString& Text);
  // Look-aheads for the usual cases, with no state to save and restore: the
  // digits of a plain integer token at the source position (empty when the
  // next token may be something else), and a control word there with its
  // backslash (empty when the source does not start with one).
  std::string_view PlainIntegerAhead() const;
  std::string_view ControlWordAhead() const;
  // Takes a token found ahead, as NextToken would have.
  void TakeAhead(std::string_view Token, Integer Code);
  // The word-list code of a control word given with its backslash; -1 for
  // an unlisted one.
  static Integer WordCode(std::string_view Word) {
    return Word.size() > 1 ? LookupWord(Word.data() + 1, Word.size() - 1) : -1;
  }
  // A "-" directly followed by a digit, then digits.
  void SkipParameter();
  // Unsigned decimal digits at the source position; 0 when there are none.
  Integer ReadDigits();
  // The characters up to the next terminator; the source moves past them.
  AnsiString TakeText();
  // Steps over Count bytes, never past End.
  void SkipBytes(Int64 Count, const char* End);
  char CurrentChar() const { return *FSourcePtr; }
  char NextChar() const { return *FSourcePtr ? FSourcePtr[1] : 0; }
  void StepChar() {
    if (*FSourcePtr) ++FSourcePtr;
  }
  bool AtLineStart() const { return FTokenPtr == FLineStart; }

  static bool IsTerminator(char C) {
    const unsigned char U = static_cast<unsigned char>(C);
    return U < 32 || C == '\\' || C == '{' || C == '}';
  }

protected:
  void InitStates() override;

private:
  Integer ScanText();
  Integer ScanGroupOpen();
  Integer ScanGroupClose();
  Integer ScanControl();
  static Integer LookupWord(const char* P, size_t Len);
};

// The font table: sparse, so that "\f99999" costs one entry, not 100000.
struct TRtfFontEntry {
  AnsiString Name;
  Byte Charset = DEFAULT_CHARSET;
};
class TRtfFontTable {
public:
  // One past the highest number; what "append" means.
  Integer Count() const { return FCount; }
  // Nil when no font has that number.
  const TRtfFontEntry* Find(Integer N) const;
  void Set(Integer N, const AnsiString& Name, Byte Charset);
  void Clear();

private:
  std::map<Integer, TRtfFontEntry> FFonts;
  Integer FCount = 0;
};

// Reads the tables; descendants run the document.
class TRTFConverter : public TObject {
  SX_CLASS(TRTFConverter, TObject)
public:
  // Text is borrowed and must outlive the converter.
  explicit TRTFConverter(const AnsiString& Text);
  ~TRTFConverter() override;

  static TClass ParserClass() { return TDCRtfParser::StaticClass(); }

  TDCRtfParser& Parser() { return *FParser; }
  const std::vector<TColor>& ColorTable() const { return FColorTable; }
  const TRtfFontTable& FontTable() const { return FFontTable; }

  // From just after "\fonttbl" to the brace that closes its group. A font
  // without "\fcharset" takes DocCharset when it is not DEFAULT_CHARSET.
  void ReadFontTable(Byte DocCharset = DEFAULT_CHARSET);
  // From the "\colortbl" word to the brace that closes its group.
  void ReadColorTable();
  // From just after a "{" through the brace that closes it.
  void SkipGroup();
  // The next token when it is an integer (consumed); false leaves it.
  bool ReadIntParam(Integer& Value);
  // The next token inside the group being read, tracking nested groups in
  // Depth; rtkEnd once that group closes or the input ends.
  Integer NextInGroup(Integer& Depth);

protected:
  const AnsiString& FText;
  const char* FEnd;
  std::unique_ptr<TDCRtfParser> FParser;
  std::vector<TColor> FColorTable;
  TRtfFontTable FFontTable;
};

// One record per open RTF group.
struct TImportRecord {
  Integer Key = -1;
  AnsiString FontName;  // empty: inherit
  Byte Charset = DEFAULT_CHARSET;
  TFontStyles AddStyles;
  TFontStyles RemoveStyles;
  Integer Color = -1;      // -1: inherit
  Integer Size = -1;       // points; -1: inherit
  Integer BackColor = -1;  // -1: none
  bool StylesSet = false;
  bool BackSet = false;
  Integer Hidden = -1;  // \v: 1 hidden, 0 shown, -1 inherit
  Integer Uc = -1;      // \uc: fallback characters after \u; -1 inherit
};

class TInternalImporter : public TObject {
  SX_CLASS(TInternalImporter, TObject)
public:
  // Both borrowed.
  TInternalImporter(TDCImporter* Owner, const TRtfFontTable* FontTable);
  ~TInternalImporter() override;

  void ClearRecord(TImportRecord& R);
  void PushStyle(Integer Key);
  void PopStyle(Integer Key);
  void PopAll();
  TImportRecord& TopRecord();
  void SetStyle(TFontStyle Style, bool On);
  void SetColor(TColor Value) { TopRecord().Color = Value; }
  void SetFontSize(Integer Points) { TopRecord().Size = Points; }
  void SetFontName(const AnsiString& Name, Byte Charset);
  void SetBackColor(Integer Value);
  void SetHidden(bool On) { TopRecord().Hidden = On ? 1 : 0; }
  void SetUnicodeSkip(Integer Count) { TopRecord().Uc = Count; }
  // The fallback count in force: the innermost group's that set one, else 1.
  Integer UnicodeSkip() const;
  void ResetStyle();
  void GetDefaultFont(AnsiString& Name, Byte& Charset) const;
  void ComputeFont();
  // The run font is computed again only after the stack or the font table
  // changed; a group that sets nothing changes no look.
  void LookMayHaveChanged() { FLookStale = true; }
  void AddText(const AnsiString& Text);
  // Text whose bytes are in Charset's code page rather than the run font's.
  void AddTextInCharset(const AnsiString& Text, Byte Charset);
  // The code page the run's bytes are read in (its font's charset).
  UINT RunCodePage();
  TFont* RunFont() const { return FRunFont.get(); }
  Integer RunBackColor() const { return FBackColor; }
  size_t Depth() const { return FStack.size() + size_t(FOverflow); }

  // Groups nested deeper than this share the deepest record.
  static constexpr size_t MaxDepth = 4096;

private:
  std::vector<TImportRecord> FStack;
  Integer FOverflow = 0;
  std::unique_ptr<TFont> FRunFont;
  Integer FBackColor = -1;
  bool FHidden = false;
  bool FLookStale = true;
  TDCImporter* FOwner;
  const TRtfFontTable* FFontTable;
};

class TRtfImporter : public TRTFConverter {
  SX_CLASS(TRtfImporter, TRTFConverter)
public:
  TRtfImporter(const AnsiString& Text, TDCImporter* Owner);
  ~TRtfImporter() override;

  void Execute();
  TInternalImporter& Styles() { return *FStyles; }

private:
  void AddRun(const AnsiString& Text);
  void CleanTextToken(AnsiString& S, Integer PrevToken);
  void DoWord(Integer Code);
  void DoGroupOpen(Integer& PrevToken);
  void AddHexChars();
  void AddUnicodeChar();
  void SkipUnicodeFallback(Integer Count);
  std::unique_ptr<TInternalImporter> FStyles;
  // Set by an action that read further tokens: the token code that counts
  // as the previous one for the next text.
  Integer FPrevOverride = -1;
  // \ansicpg when it names another code page than the editor's: fonts that
  // give no charset of their own are in it.
  UINT FDocCodePage = 0;
};

class TDCRtfImporter : public TDCImporter {
  SX_CLASS(TDCRtfImporter, TDCImporter)
public:
  TDCRtfImporter() = default;
  // True when more than 4 bytes follow and the first five are "{\rtf";
  // the stream is left at 0.
  bool CanImport(TStream* Stream) override;
  void Import(const AnsiString& Text) override;
};
