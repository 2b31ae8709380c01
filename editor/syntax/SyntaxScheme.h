// SyntaxScheme.h — TSyntaxScheme, the description of a language for the
// syntax parser (SyntaxParser.h): its blocks (lexical contexts such as the
// text of an HTML file, a tag, a comment), what each block recognizes
// (comments, strings, numbers, identifiers, keyword sets, symbols, line
// directives, child blocks and their delimiters) and the attributes (font,
// colour, background) of every kind of token.
//
// Schemes are data: streamed with a form under the parser's SyntaxScheme or
// loaded from scheme files (.sch), the object text form of a TPersHolder
// whose P is the scheme. Compile turns the streamed lists into per-block
// look-up tables; UpdateFonts resolves each attribute's used font and
// background, following the global text styles when asked to.
//
// Ownership: a scheme owns its blocks and font table; the parser that owns
// the scheme (if any) is borrowed. Compiled data is derived and rebuilt on
// every change, never stored.
#pragma once
#include <array>
#include <memory>
#include <vector>
#include "editor/base/LineSearch.h"
#include "platform/gdi/DrawingTools.h"
#include "platform/rtl/Collection.h"

class TSyntaxParser;
class TSyntaxScheme;
class TSyntaxBlock;

// Raised for a scheme the parser cannot run: a cyclic parent chain, or more
// blocks, delimiters or items than a line state can address.
class ESyntaxSchemeError : public Exception {
public:
  using Exception::Exception;
};

// Limits of the 32-bit line state (SyntaxParser.h).
inline constexpr Integer MaxSyntaxBlocks = 256;
inline constexpr Integer MaxBlockDelimiters = 64;
inline constexpr Integer MaxSyntaxListItems = 256;
inline constexpr Integer MaxBlockStacks = 256;

// ---------------------------------------------------------------------------
// Token items

class TToken : public TCollectionItem {
  SX_CLASS(TToken, TCollectionItem)
public:
  explicit TToken(TCollection* ACollection) : TCollectionItem(ACollection) {}
  static void Published(TPublished<TToken>& P);
  // Copies every published property from an item of the same class.
  void Assign(TPersistent* Source) override;

  Integer FontID = -1;
  bool UseToken = true;  // an unused item is ignored by compiling
};

class TLineToken : public TToken {
  SX_CLASS(TLineToken, TToken)
public:
  explicit TLineToken(TCollection* ACollection) : TToken(ACollection) {}
  static void Published(TPublished<TLineToken>& P);
  AnsiString LeftDelimiter;
};

class TBlockToken : public TLineToken {
  SX_CLASS(TBlockToken, TLineToken)
public:
  explicit TBlockToken(TCollection* ACollection) : TLineToken(ACollection) {}
  static void Published(TPublished<TBlockToken>& P);
  AnsiString RightDelimiter;
};

class TKeywordSet : public TToken {
  SX_CLASS(TKeywordSet, TToken)
public:
  explicit TKeywordSet(TCollection* ACollection) : TToken(ACollection) {}
  static void Published(TPublished<TKeywordSet>& P);
  AnsiString Name;
  AnsiString Keywords;  // comma text
};

class TDelimiters : public TCollectionItem {
  SX_CLASS(TDelimiters, TCollectionItem)
public:
  explicit TDelimiters(TCollection* ACollection) : TCollectionItem(ACollection) {}
  static void Published(TPublished<TDelimiters>& P);
  void Assign(TPersistent* Source) override;

  AnsiString LeftDelimiter;
  AnsiString RightDelimiter;
  // False: the delimiters are coloured by the parent block; True: by this one.
  bool DelimitersArePartOfBlock = false;
  bool UseToken = true;
};

// Typed collections; writing a list property assigns into the existing one.
template <class TItem>
class TTypedCollection : public TCollection {
public:
  TTypedCollection() : TCollection(TItem::StaticClass()) {}
  TItem* Item(Integer Index) const { return static_cast<TItem*>(Items(Index)); }
  TItem* AddItem() { return static_cast<TItem*>(Add()); }
};

class TLineTokenList : public TTypedCollection<TLineToken> {
  SX_CLASS(TLineTokenList, TCollection)
};
class TBlockTokenList : public TTypedCollection<TBlockToken> {
  SX_CLASS(TBlockTokenList, TCollection)
};
class TKeywordSetList : public TTypedCollection<TKeywordSet> {
  SX_CLASS(TKeywordSetList, TCollection)
};
class TDelimitersList : public TTypedCollection<TDelimiters> {
  SX_CLASS(TDelimitersList, TCollection)
};

// ---------------------------------------------------------------------------
// Attributes

class TAttrItem : public TCollectionItem {
  SX_CLASS(TAttrItem, TCollectionItem)
public:
  // In a collection the item takes the smallest font id 1 to 255 that no
  // other item uses (-1 when all are taken); without one, -1.
  explicit TAttrItem(TCollection* ACollection);
  static void Published(TPublished<TAttrItem>& P);
  void Assign(TPersistent* Source) override;

  Integer GetFontID() const { return FFontID; }
  void SetFontID(Integer Value) { FFontID = Value; }
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TColor GetBackColor() const { return FBackColor; }
  virtual void SetBackColor(TColor Value) { FBackColor = Value; }
  bool GetUseDefFont() const { return FUseDefFont; }
  virtual void SetUseDefFont(bool Value) { FUseDefFont = Value; }
  bool GetUseDefBack() const { return FUseDefBack; }
  virtual void SetUseDefBack(bool Value) { FUseDefBack = Value; }

  // What UpdateFonts resolved: the font and background painted with.
  TFont* UsedFont() const { return FUsedFont.get(); }
  TColor UsedBack() const { return FUsedBack; }
  void SetUsedBack(TColor Value) { FUsedBack = Value; }

  AnsiString GlobalAttrID;  // the global text style it follows
  Integer BlockID = 0;      // the block whose text attribute it defaults to

protected:
  Integer FFontID = -1;
  std::unique_ptr<TFont> FFont;
  TColor FBackColor = clWindow;
  bool FUseDefFont = true;
  bool FUseDefBack = true;
  std::unique_ptr<TFont> FUsedFont;
  TColor FUsedBack = clWindow;
};

// The parser's DefaultAttr: a change of its font or background refreshes
// the parser; it always takes the block defaults.
class TDefAttrItem : public TAttrItem {
  SX_CLASS(TDefAttrItem, TAttrItem)
public:
  explicit TDefAttrItem(TCollection* ACollection) : TAttrItem(ACollection) {}
  void SetBackColor(TColor Value) override;
  void SetUseDefFont(bool /*Value*/) override {}
  void SetUseDefBack(bool /*Value*/) override {}
  TSyntaxParser* Parser = nullptr;  // borrowed
};

class TFontList : public TTypedCollection<TAttrItem> {
  SX_CLASS(TFontList, TCollection)
public:
  // The item with that font id, or nil.
  TAttrItem* FindFontID(Integer FontID) const;
};

// ---------------------------------------------------------------------------
// Blocks

// A child block reachable from a block through one of its delimiters.
struct TChildDelimiter {
  AnsiString Delimiter;
  // PartOfBlock × 131072 + CaseSensitive × 65536 + child index × 256 + delimiter index.
  Integer Code = 0;
};

// One compiled list of delimiters with the item index each came from.
struct TDelimiterList {
  std::vector<AnsiString> Delims;
  std::vector<Integer> Items;
  Integer Count() const { return Integer(Delims.size()); }
};

class TSyntaxBlock : public TCollectionItem {
  SX_CLASS(TSyntaxBlock, TCollectionItem)
public:
  explicit TSyntaxBlock(TCollection* ACollection);
  static void Published(TPublished<TSyntaxBlock>& P);
  void Assign(TPersistent* Source) override;

  static const TCharSet& DefaultFirstIdentChars();
  static const TCharSet& DefaultOtherIdentChars();

  // Published list properties.
  TDelimitersList* GetBlockDelimiters() const { return FBlockDelimiters.get(); }
  TLineTokenList* GetSingleLineCommentDelimiters() const { return FSingleLineComments.get(); }
  TBlockTokenList* GetMultiLineCommentDelimiters() const { return FMultiLineComments.get(); }
  TLineTokenList* GetFullLineCommentDelimiters() const { return FFullLineComments.get(); }
  TBlockTokenList* GetSingleLineStringDelimiters() const { return FSingleLineStrings.get(); }
  TBlockTokenList* GetMultiLineStringDelimiters() const { return FMultiLineStrings.get(); }
  TLineTokenList* GetNumPrefixes() const { return FNumPrefixes.get(); }
  TLineTokenList* GetNumSuffixes() const { return FNumSuffixes.get(); }
  TBlockTokenList* GetNumPrefixesSuffixes() const { return FNumPrefixesSuffixes.get(); }
  TLineTokenList* GetIdentPrefixes() const { return FIdentPrefixes.get(); }
  TLineTokenList* GetIdentSuffixes() const { return FIdentSuffixes.get(); }
  TBlockTokenList* GetIdentPrefixesSuffixes() const { return FIdentPrefixesSuffixes.get(); }
  TKeywordSetList* GetKeywordSets() const { return FKeywordSets.get(); }
  void SetBlockDelimiters(TDelimitersList* V) { FBlockDelimiters->Assign(V); }
  void SetSingleLineCommentDelimiters(TLineTokenList* V) { FSingleLineComments->Assign(V); }
  void SetMultiLineCommentDelimiters(TBlockTokenList* V) { FMultiLineComments->Assign(V); }
  void SetFullLineCommentDelimiters(TLineTokenList* V) { FFullLineComments->Assign(V); }
  void SetSingleLineStringDelimiters(TBlockTokenList* V) { FSingleLineStrings->Assign(V); }
  void SetMultiLineStringDelimiters(TBlockTokenList* V) { FMultiLineStrings->Assign(V); }
  void SetNumPrefixes(TLineTokenList* V) { FNumPrefixes->Assign(V); }
  void SetNumSuffixes(TLineTokenList* V) { FNumSuffixes->Assign(V); }
  void SetNumPrefixesSuffixes(TBlockTokenList* V) { FNumPrefixesSuffixes->Assign(V); }
  void SetIdentPrefixes(TLineTokenList* V) { FIdentPrefixes->Assign(V); }
  void SetIdentSuffixes(TLineTokenList* V) { FIdentSuffixes->Assign(V); }
  void SetIdentPrefixesSuffixes(TBlockTokenList* V) { FIdentPrefixesSuffixes->Assign(V); }
  void SetKeywordSets(TKeywordSetList* V) { FKeywordSets->Assign(V); }

  Integer GetID() const { return FBlockID; }
  void SetID(Integer Value) { FBlockID = Value; }

  AnsiString Name;
  Integer ParentID = -1;
  bool CaseSensitive = false;
  bool UseMetaSymbol = false;
  bool UseMetaToWrapLines = true;
  char MetaSymbol = '\0';
  Integer FIText = -1, FIIntNum = -1, FIFloatNum = -1, FIHexNum = -1, FIDirective = -1, FISymbol = -1,
          FIIdentifier = -1;
  bool UseSymbols = false, UseLineDirectives = false, UseComments = false, UseSingleLineComments = false,
       UseMultiLineComments = false, UseFullLineComments = false, UseStrings = false,
       UseSingleLineStrings = false, UseMultiLineStrings = false, UseNumbers = false,
       UsePrefixedNumbers = false, UseSuffixedNumbers = false, UseMultipleNumSuffixes = false,
       UsePrefixedSuffixedNumbers = false, UsePSNumComposition = false, UseIdentifiers = false,
       UsePrefixedIdentifiers = false, UseSuffixedIdentifiers = false,
       UsePrefixedSuffixedIdentifiers = false, UseKeywords = false;
  AnsiString LineDirectivePrefix;
  TCharSet FirstIdentChars;
  TCharSet OtherIdentChars;

  // Compiled data (Compile), read by the parser.
  TDelimiterList CSingleLineComments, CMultiLineComments, CFullLineComments, CSingleLineStrings,
      CMultiLineStrings;
  std::vector<AnsiString> CNumPrefixes, CNumSuffixes, CIdentPrefixes, CIdentSuffixes;
  // Per used keyword set: 256 entries by first character, each ",w1,w2,".
  std::vector<std::array<AnsiString, 256>> CKeywordTables;
  std::vector<Integer> CKeywordItems;
  std::vector<TChildDelimiter> CInnerChildren;  // delimiters that are part of the child
  std::vector<TChildDelimiter> COuterChildren;

protected:
  void DefineProperties(TFiler* Filer) override;

private:
  Integer FBlockID = -1;
  std::unique_ptr<TDelimitersList> FBlockDelimiters;
  std::unique_ptr<TLineTokenList> FSingleLineComments;
  std::unique_ptr<TBlockTokenList> FMultiLineComments;
  std::unique_ptr<TLineTokenList> FFullLineComments;
  std::unique_ptr<TBlockTokenList> FSingleLineStrings;
  std::unique_ptr<TBlockTokenList> FMultiLineStrings;
  std::unique_ptr<TLineTokenList> FNumPrefixes;
  std::unique_ptr<TLineTokenList> FNumSuffixes;
  std::unique_ptr<TBlockTokenList> FNumPrefixesSuffixes;
  std::unique_ptr<TLineTokenList> FIdentPrefixes;
  std::unique_ptr<TLineTokenList> FIdentSuffixes;
  std::unique_ptr<TBlockTokenList> FIdentPrefixesSuffixes;
  std::unique_ptr<TKeywordSetList> FKeywordSets;
};

class TSyntaxBlockList : public TTypedCollection<TSyntaxBlock> {
  SX_CLASS(TSyntaxBlockList, TCollection)
public:
  // The first block with that id, or nil.
  TSyntaxBlock* FindBlockID(Integer ID) const;
};

// One interned block nesting: the chain from a block out to the root, as
// (block index, delimiter index) pairs, innermost first.
struct TBlockInfo {
  Integer BlockIndex = 0;
  Integer DelimIndex = -1;
  std::vector<std::pair<Integer, Integer>> Chain;
};

// ---------------------------------------------------------------------------
// The scheme

class TSyntaxScheme : public TPersistent {
  SX_CLASS(TSyntaxScheme, TPersistent)
public:
  TSyntaxScheme();
  ~TSyntaxScheme() override;
  static void Published(TPublished<TSyntaxScheme>& P);

  // From another scheme: version, name, font table, blocks, then Changed.
  void Assign(TPersistent* Source) override;
  void Clear();
  // The owning parser's Reset, or Compile for a free-standing scheme.
  void Changed();
  // Loads a scheme file. A file that cannot be opened raises the file
  // stream's exception; one that cannot be read, or that describes a
  // scheme the parser cannot run, shows "Can't read syntax scheme from
  // file "…"." and raises, leaving this scheme as it was.
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);

  virtual void UpgradeVersion();
  // Upgrades, checks the limits and the parent chains (ESyntaxSchemeError),
  // and builds the compiled lists and the free-symbol set.
  virtual void Compile();
  void UpdateFonts();

  const AnsiString& GetName() const { return FName; }
  void SetName(const AnsiString& Value) { FName = Value; }
  TSyntaxBlockList* GetSyntaxBlocks() const { return FBlocks.get(); }
  void SetSyntaxBlocks(TSyntaxBlockList* Value) { FBlocks->Assign(Value); }
  TFontList* GetFontTable() const { return FFontTable.get(); }
  void SetFontTable(TFontList* Value) { FFontTable->Assign(Value); }
  Integer SyntaxVersion = 1;

  // The attribute painted for a font id: the table's entry, else the
  // whitespace attribute.
  TAttrItem* GetAttr(Integer FontID) const;
  TAttrItem* UrlAttr() const { return FUrlAttr.get(); }
  TAttrItem* WhitespaceAttr() const { return FWhitespaceAttr.get(); }
  const TCharSet& FreeSymbols() const { return FFreeSymbols; }
  Integer FindFreeBlockID() const;

  TSyntaxParser* Parser = nullptr;  // borrowed; nil for a free-standing scheme
  bool UseGlobalOptions = false;

  // Block stacks: entry 0 is the root. Add returns -1 when the list is
  // full (MaxBlockStacks): the line state cannot address more.
  const std::vector<TBlockInfo>& BlockStacks() const { return FBlockStacks; }
  void ResetBlockStacks();
  Integer AddBlockStack(TBlockInfo Info);

protected:
  void DefineProperties(TFiler* Filer) override;

private:
  void CheckScheme() const;
  void CompileBlock(TSyntaxBlock* B, Integer Index, TCharSet& Used);
  TAttrItem* FindInheritedAttr(Integer BlockID, bool ForFont) const;
  void SetAttrBlockID(Integer FontID, Integer BlockID);

  AnsiString FName;
  std::unique_ptr<TSyntaxBlockList> FBlocks;
  std::unique_ptr<TFontList> FFontTable;
  std::array<TAttrItem*, 256> FAttrs{};
  TCharSet FFreeSymbols;
  std::unique_ptr<TAttrItem> FUrlAttr;
  std::unique_ptr<TAttrItem> FWhitespaceAttr;
  std::vector<TBlockInfo> FBlockStacks;
};

// Character-set text: runs as "a-z", "\" before a literal "\" or "-".
AnsiString CharSetToStr(const TCharSet& Set);
TCharSet StrToCharSet(const AnsiString& S);
