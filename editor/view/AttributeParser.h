// AttributeParser.h — TAttributeParser, the line parser of text that carries
// its own fonts and colours (imported or pasted RTF), and TMemoAttributes,
// one such set of character attributes.
//
// The parser does not tokenize: each line keeps the style bytes stored with
// it, and the parser owns the table that maps a style index to concrete
// attributes. Painting and the export walk ask it for the font and
// background of an index. Index 12 stays reserved for URL highlighting.
//
// Ownership: the parser owns its table entries. Its owning editor, when it
// has one, is reached through TAttributeParserHost (borrowed).
#pragma once
#include <map>
#include <memory>
#include <tuple>
#include <vector>
#include "editor/text/SimpleParser.h"
#include "platform/gdi/DrawingTools.h"

class TCustomMemoSource;
class TTextStyles;
class TMemoAttributes;

// What the attribute parser and its attribute sets ask of the editor that
// owns them.
class TAttributeParserHost {
public:
  virtual ~TAttributeParserHost() = default;
  virtual TFont* AttrHostFont() = 0;      // the editor's Font
  virtual TColor AttrHostColor() = 0;     // the editor's Color
  virtual bool AttrHostAllowUndo() = 0;
  virtual TTextStyles* AttrHostTextStyles() = 0;      // nil without styles
  virtual TCustomMemoSource* AttrHostSource() = 0;    // the memo source in use, or nil
  // Applies the fields that Attrs.GetState() marks to the selection, or
  // makes them the attribute of text typed next when nothing is selected.
  virtual void AttrHostApply(TMemoAttributes& Attrs) = 0;
  // Bits of the attributes that are the same over the whole selection.
  virtual Word AttrHostConsistentMask(TMemoAttributes& Attrs) = 0;
};

// State bits: which attributes were set since the last propagation.
inline constexpr Word maColor = 1;
inline constexpr Word maBackColor = 2;
inline constexpr Word maName = 4;
inline constexpr Word maCharset = 8;
inline constexpr Word maPitch = 16;
inline constexpr Word maSize = 32;
inline constexpr Word maBold = 64;
inline constexpr Word maItalic = 128;
inline constexpr Word maStrikeOut = 256;
inline constexpr Word maUnderline = 512;
inline constexpr Word maStyle = 1024;
inline constexpr Word maAll = 2047;

class TMemoAttributes : public TPersistent {
  SX_CLASS(TMemoAttributes, TPersistent)
public:
  // AHost is borrowed and may be nil; with a host the set starts from the
  // editor's Font and Color.
  explicit TMemoAttributes(TAttributeParserHost* AHost = nullptr);
  ~TMemoAttributes() override;

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TColor GetBackColor() const { return FBackColor; }
  void SetBackColor(TColor Value);
  const AnsiString& GetName() const { return FName; }
  void SetName(const AnsiString& Value);
  Byte GetCharset() const { return FCharset; }
  void SetCharset(Byte Value);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  Integer GetSize() const { return FSize; }
  void SetSize(Integer Value);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles Value);

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  // From a TFont or another TMemoAttributes, with one Changed at the end.
  void Assign(TPersistent* Source) override;
  // The same copy without Changed; State is kept.
  void AssignNoNotify(TPersistent* Source);
  // Every field from the font, the background from Back; no Changed, State
  // cleared. How an editor puts its selection attributes back to its own look.
  void ResetTo(TFont* Font, TColor Back);
  // Sets the background without Changed and without a State bit.
  void SetBackColorNoNotify(TColor Value) { FBackColor = Value; }
  // The font with all fields applied; owned by this set.
  TFont* GetFont();
  Word GetState() const { return FState; }
  void SetState(Word Value) { FState = Value; }
  // maAll when every attribute is the same over the selection. Cached until
  // the next propagation, a refill (AssignNoNotify) or an explicit drop when
  // the selection moves.
  Word ConsistentMask();
  void InvalidateConsistentMask() { FMaskValid = false; }
  TAttributeParserHost* Host() const { return FHost; }

protected:
  void Changed();

private:
  friend class TAttributeParser;
  void CopyFrom(TPersistent* Source);
  // False when the value is unchanged and uniform over the selection.
  bool NeedsSet(bool Unchanged, Word Bit);
  TAttributeParserHost* FHost;
  TColor FColor = clWindowText;
  TColor FBackColor = clWindow;
  AnsiString FName;
  Byte FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  Integer FSize = 8;
  TFontStyles FStyle;
  std::unique_ptr<TFont> FFont;
  Integer FUpdateCount = 0;
  Word FState = 0;
  Word FMask = maAll;
  bool FMaskValid = false;
};

class TAttributeParser : public TSimpleParser {
  SX_CLASS(TAttributeParser, TSimpleParser)
public:
  static constexpr Integer MaxAttributes = 256;
  static constexpr Integer UrlIndex = 12;

  // AOwner is the editor when it implements TAttributeParserHost.
  explicit TAttributeParser(TComponent* AOwner);
  ~TAttributeParser() override;

  static void Published(TPublished<TAttributeParser>& P) {
    P.Property("ResetOnOverFlow", &TAttributeParser::FResetOnOverFlow, &TAttributeParser::FResetOnOverFlow)
        .Default(false);
  }
  bool GetResetOnOverFlow() const { return FResetOnOverFlow; }
  void SetResetOnOverFlow(bool Value) { FResetOnOverFlow = Value; }

  TFont* GetFont(Integer StyleIndex) override;
  bool GetBackColor(Integer StyleIndex, TColor& Color) override;
  Integer ParseLine(const AnsiString& Text, Integer BeginState, AnsiString& Attrs) override;
  bool KeepsAttributes() override { return !FClearingStyles; }
  void InitAttributes(Integer LineIndex, const AnsiString& Text, AnsiString& Attrs) override;

  // The index of an equal entry, else a new or reused one; 0 when the table
  // is full and nothing may be reused.
  Integer AddAttr(TMemoAttributes& Attrs);
  // Frees every entry but 0; the memo source re-reads its lines.
  void ClearStyles();
  // The style index text inserted at the point would get.
  Integer AttrAt(TPoint Pos);
  void GetAttributesAt(TPoint Pos, TMemoAttributes& Attrs);

  // Entry 0 takes the editor's font and colour (the editor's Font changed).
  void SetDefaultAttr(TFont* Font, TColor Back);

  Integer AttrCount() const { return Integer(FAttrs.size()); }
  TMemoAttributes* GetAttr(Integer Index) const { return FAttrs.at(size_t(Index)).get(); }
  TAttributeParserHost* Host() const;

private:
  using TKey = std::tuple<HFONT, TColor, TColor>;
  static std::unique_ptr<TMemoAttributes> NewEntry(TPersistent* From);
  TKey KeyOf(TMemoAttributes& Attrs);
  void Register(Integer Index);
  void Unregister(Integer Index);
  void InsertUrlEntry();
  void BuildFreeList();
  Integer AddAttrLookup(TMemoAttributes& Attrs);
  // The field-by-field look of two sets, without building fonts.
  static bool SameLook(const TMemoAttributes& A, const TMemoAttributes& B);

  std::vector<std::unique_ptr<TMemoAttributes>> FAttrs;  // position = style index
  std::map<TKey, Integer> FLookup;
  std::vector<Integer> FFreeIndexes;  // ascending; built only when the table is full
  bool FResetOnOverFlow = false;
  bool FClearingStyles = false;
  // The indexes AddAttr gave last, newest first: imported runs keep coming
  // back to a few looks, and comparing fields is far cheaper than making a
  // font handle. Checked against the entries themselves, so never stale.
  static constexpr size_t RecentCount = 8;
  Integer FRecent[RecentCount] = {-1, -1, -1, -1, -1, -1, -1, -1};
};
