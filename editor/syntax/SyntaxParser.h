// SyntaxParser.h — TSyntaxParser, the editor's scheme-driven highlighter.
//
// It owns a TSyntaxScheme and turns each line into attribute bytes: every
// character gets the font id of the token it belongs to in the current
// block. The line state handed from line to line packs the block nesting
// (an index into the scheme's interned block stacks) and an open
// multi-line comment, string or line directive:
//
//   bits 24-31 block stack index   bit 23 part-of-block flag
//   bit 22 case sensitivity        bits 16-21 delimiter index
//   bits 8-15 state (0 normal, 1 comment, 2/3 single/multi-line string,
//             4 line directive)    bits 0-7 item index
//
// The scheme refuses what does not fit (ESyntaxSchemeError when compiled),
// and a nesting beyond the 256 interned stacks is not entered.
#pragma once
#include "editor/options/OptionListeners.h"
#include "editor/syntax/SyntaxScheme.h"
#include "editor/text/SimpleParser.h"

using TGetTokenEvent = TEvent<void(TObject* Sender, Integer TokenID, const AnsiString& TokenStr)>;

class TSyntaxParser : public TSimpleParser, public TOptionsListener {
  SX_CLASS(TSyntaxParser, TSimpleParser)
public:
  explicit TSyntaxParser(TComponent* AOwner);
  ~TSyntaxParser() override;
  static void Published(TPublished<TSyntaxParser>& P);

  Integer ParseLine(const AnsiString& Text, Integer BeginState, AnsiString& Attrs) override;
  // The resolved font of a style index; the whitespace attribute's for an
  // index without attribute.
  TFont* GetFont(Integer StyleIndex) override;
  // Always answers, so every parsed character gets the scheme's background.
  bool GetBackColor(Integer StyleIndex, TColor& Color) override;

  // Compiles the scheme and starts over at the root block.
  virtual void Reset();
  // Resolves the scheme's fonts and tells the listening memo sources.
  virtual void RefreshAttributes();
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  // The global options changed: follow them when UseGlobalOptions.
  void OptionsChanged() override;

  TSyntaxScheme* GetSyntaxScheme() const { return FScheme.get(); }
  void SetSyntaxScheme(TSyntaxScheme* Value);
  TDefAttrItem* GetDefaultAttr() const { return FDefaultAttr.get(); }
  void SetDefaultAttr(TDefAttrItem* Value);
  bool GetUseGlobalOptions() const { return FScheme->UseGlobalOptions; }
  void SetUseGlobalOptions(bool Value);
  TGetTokenEvent OnGetToken;

  void Loaded() override;

  // Token codes of ParseToken.
  enum : Integer {
    tcText = 0, tcSingleLineComment, tcMultiLineComment, tcDirective, tcFullLineComment,
    tcSingleLineString, tcMultiLineString, tcInteger, tcFloat, tcHex, tcIdentifier, tcKeyword, tcSymbol
  };

protected:
  virtual bool ParseComment();
  virtual bool ParseLineDirective();
  virtual bool ParseString();
  virtual bool ParseInteger();
  virtual bool ParseNumber();
  virtual bool ParseAffixedNumber();
  virtual bool ParseIdentifier();
  bool ParsePrefixedNumber();
  bool FindKeyword(const char* Start);
  void ParseToken();
  Integer TokenFontID() const;
  // Direction 0 selects Code as a stack index, > 0 enters the child that
  // Code names (bits 8-15 block, 0-7 delimiter), < 0 leaves the current
  // block. Returns the new stack index; -1 when a child could not be
  // entered because the stack list is full (nothing changes then).
  Integer SetBlockStack(Integer Code, Integer Direction);
  bool TryCloseBlock();

private:
  void DefaultAttrFontChanged(TObject* Sender);
  bool MatchAhead(const char* P, const AnsiString& Delim, bool CaseSensitive) const;
  bool MatchBack(const char* P, const AnsiString& Delim, bool CaseSensitive) const;
  bool IsFirst(char C) const { return FBlock->FirstIdentChars.test(static_cast<unsigned char>(C)); }
  bool IsOther(char C) const { return FBlock->OtherIdentChars.test(static_cast<unsigned char>(C)); }
  // The end of the first acceptable occurrence of Delim in the rest of the
  // line, or nil.
  const char* FindRight(const AnsiString& Delim, const char*& Found) const;
  bool ScanIdentChars();
  bool ScanHexDigits();
  bool ScanDigits();
  bool ScanSuffixes();
  bool MatchList(const std::vector<AnsiString>& List);

  std::unique_ptr<TSyntaxScheme> FScheme;
  std::unique_ptr<TDefAttrItem> FDefaultAttr;
  Integer FUpdateCount = 0;

  // Scanning state of the line being parsed.
  TSyntaxBlock* FBlock = nullptr;
  Integer FBlockIndex = 0;
  Integer FStackIndex = 0;
  Integer FDelimIndex = 0;
  Integer FStateIndex = 0;
  Integer FItemIndex = 0;
  Integer FToken = 0;
  bool FPartOfBlock = false;
  bool FCaseSensitive = false;
  bool FDirectiveMayStart = false, FFullLineMayStart = false, FDirectiveFound = false, FCloseString = false;
  const char* FLine = nullptr;  // the text being parsed
  const char* FEnd = nullptr;
  const char* FPos = nullptr;
};
