// DCParser.h — TCustomDCParser, the table-driven tokenizer: a line parser
// whose scanning is done by per-state tables of 256 character handlers.
//
// A descendant installs handlers (member functions returning a token code)
// for sets of characters in numbered states; NextToken looks up the handler
// of the current character in the current state's table. Tokens are
// pointer ranges into a text the caller owns and keeps unchanged while
// tokens are read. The tokenizer can push and pop its position to look
// ahead, keeps a list of reserved words (sorted copy and 256 hash buckets)
// and can colour a line by writing each token's code into its attributes.
//
// Token codes of the base handlers: 0 end of text, 2 brace comment,
// 4 integer, 5 real number, 7 one character; -1 (internal) means "no token
// yet, go on scanning".
#pragma once
#include <array>
#include <memory>
#include <vector>
#include "editor/base/LineSearch.h"
#include "editor/text/SimpleParser.h"
#include "platform/rtl/Collection.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Types.h"

class TCustomDCParser;

using TDCVersion = AnsiString;
using TGetColorDataEvent =
    TEvent<void(TObject* Sender, Integer Token, const AnsiString& TokenStr, AnsiString& ColorData)>;

// One saved position of the tokenizer (PushState / PopState).
class TTokenData : public TCollectionItem {
  SX_CLASS(TTokenData, TCollectionItem)
public:
  explicit TTokenData(TCollection* ACollection) : TCollectionItem(ACollection) {}
  // Called just before the item is restored; descendants add their own data.
  virtual void BeforeRestore() {}

  Integer CondLevel = 0;
  Integer SkipTokens = 0;
  Integer Token = 0;
  Integer State = 0;
  Integer LineNumber = 0;
  Integer SourceOffset = 0;  // from the line start
  Integer TokenOffset = 0;   // from the line start
  const char* LineStart = nullptr;
  Integer ResWordID = 0;
  bool Continue = false;
};

class TCustomDCParser : public TSimpleParser {
  SX_CLASS(TCustomDCParser, TSimpleParser)
public:
  // A character handler: advances the source and returns the token code,
  // or -1 to go on scanning.
  using THandler = Integer (TCustomDCParser::*)();

  explicit TCustomDCParser(TComponent* AOwner);
  ~TCustomDCParser() override;

  static void Published(TPublished<TCustomDCParser>& P);

  // Colours a line: each token's code becomes the attribute byte of its
  // characters; characters without a handler keep theirs. Returns the
  // state the line ends in.
  Integer ParseLine(const AnsiString& Text, Integer BeginState, AnsiString& Attrs) override;

  // Reading tokens. P must point into a NUL-terminated text. With End (the
  // text's real end) a NUL before End is stepped over like any character
  // without a handler, so that a stray NUL byte does not end the text.
  void SetSource(const char* P, const char* End = nullptr);
  Integer NextToken();
  bool AtEnd() const { return FToken == 0; }
  Integer Token() const { return FToken; }
  // The characters from the token start up to the source position.
  void GetTokenString(AnsiString& S) const;
  AnsiString TokenString() const;
  void PeekTokenString(AnsiString& S);
  // Column = token offset + 1, line = line number + 1.
  TPoint GetTokenPos() const;
  const char* SourcePtr() const { return FSourcePtr; }
  const char* TokenPtr() const { return FTokenPtr; }
  Integer State() const { return FState; }
  void SetState(Integer Value) { FState = Value; }
  virtual void SetLineNumber(Integer N) { SetLinePos(N); }
  Integer LineNumber() const { return GetLinePos(); }

  // Saving and restoring the position. PushState returns the item's index.
  Integer PushState();
  bool PopState();
  Integer PopStates();

  // Raises Exception with Message (formatted with Args), the position text
  // " at Line:%d, Char:%d. " and GetErrorSuffix.
  [[noreturn]] void Error(const AnsiString& Message, std::initializer_list<TVarRec> Args);
  [[noreturn]] void ErrorStr(const AnsiString& Message);

  // Reserved words; setting them rebuilds the word lists once.
  TStringList* GetReservedWords() const { return FReservedWords.get(); }
  void SetReservedWords(const std::vector<AnsiString>& Words);
  // The sorted, trimmed, duplicate-free words: a word's code is its index.
  TStringList* GetWordList() const { return FWordList.get(); }
  // Bucket of HashWord(W): items are words, objects their codes.
  TStringList* GetBucket(Integer Index) const { return FBuckets[Index & 255].get(); }
  static Integer HashWord(const AnsiString& Word);
  static Integer BucketCode(TObject* Obj) { return Integer(reinterpret_cast<std::intptr_t>(Obj)); }

  TGetColorDataEvent OnGetColorData;
  TDCVersion Version;

  // Number of state tables installed.
  Integer StateCount() const { return Integer(FStates.size()); }

  // Installs Handler for every character of Chars in each listed state,
  // creating the tables up to the highest one. A descendant's handler is
  // passed as static_cast<THandler>(&TMine::ScanX).
  void SetStateHandler(std::initializer_list<Integer> States, THandler Handler, const TCharSet& Chars);
  void SetHandler(const TCharSet& Chars, THandler Handler) { SetStateHandler({0}, Handler, Chars); }
  void SetLineHandlers(Integer State);
  void EnsureStates(Integer MaxState);

  Integer CondLevel = 0;
  Integer SkipTokens = 0;
  Integer ResWordID = 0;

  void Loaded() override;

protected:
  virtual void GetErrorSuffix(AnsiString& S) { (void)S; }
  // Fires OnGetColorData, then fits ColorData to TokenStr's length: cut,
  // or padded with bytes equal to Token.
  virtual void DoGetColorData(Integer Token, const AnsiString& TokenStr, AnsiString& ColorData);
  virtual void InitStates();
  virtual void StateRestored() {}
  virtual void RestoreState(TTokenData* Data);
  virtual void SaveState(TTokenData* Data);
  virtual TClass TokenDataClass() { return TTokenData::StaticClass(); }
  virtual void UpdateWordLists();
  void WordListChanged(TObject* Sender);

  // Handlers and helpers for descendants.
  Integer ScanSingleChar();
  Integer ScanCR();
  Integer ScanLF();
  Integer NewLine(char Partner);
  Integer ScanNumber();
  Integer SkipBraceComment();
  void SkipDigits();
  void SkipExponent();
  // Moves to C (true) or to the end of the line's text (false).
  bool SkipToChar(char C);
  static bool IsLineTextChar(char C) { return static_cast<unsigned char>(C) > 31 || C == '\t'; }

  const char* FSourcePtr = nullptr;
  const char* FTokenPtr = nullptr;
  const char* FLineStart = nullptr;
  const char* FSourceEnd = nullptr;
  Integer FToken = -1;
  Integer FState = 0;

private:
  void ParseWithEvent(const char* Text, AnsiString& Attrs);
  using TTable = std::array<THandler, 256>;
  std::vector<std::unique_ptr<TTable>> FStates;
  std::unique_ptr<TStringList> FReservedWords;
  std::unique_ptr<TStringList> FWordList;
  std::array<std::unique_ptr<TStringList>, 256> FBuckets;
  TCollection FSavedStates;
};
