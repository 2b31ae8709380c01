// MemoSource.h — the text model behind every editor: TCustomMemoSource holds
// the lines (each a TStringItem with its parse-cache data and line state),
// the caret and the selection as tracked positions, undo and redo, the
// bookmarks, tab stops and word delimiters; TMemoSource publishes it.
//
// Every change runs inside a change group: BeginUpdate(Code) … EndUpdate.
// The outermost EndUpdate works out what changed (State(): a TMemoStates
// set, plus the range of changed lines) and calls each attached editor's
// change method once with (source, first line, last line). Groups nest by
// count; inner codes are ignored.
//
// Columns are display columns: 0-based positions in the line as shown, with
// TABs expanded to the tab stops. The stored text keeps its TAB characters;
// Lines reads give the expanded text, reads with the store's raw flag (as
// when saving) the stored text.
//
// The text changes only through the five elementary edits (MoveCaret,
// InsertText, DeleteChars, InsertLineBreak, DeleteChar); each keeps
// positions, bookmarks, the parse cache, the longest line and the undo list
// in step, and the commands (keys, selection, word operations) are built on
// them. Implementation files: MemoSource.cpp (store, groups, tabs, options),
// MemoUndo.cpp, MemoParse.cpp, MemoEdit.cpp, MemoSelection.cpp,
// MemoBookmarks.cpp, MemoFiles.cpp; Regions.cpp, Brackets.cpp, Clipboard.cpp,
// Search.cpp, MemoTemplates.cpp (the code templates of Templates.h).
//
// Ownership: the source owns its store, views, positions, undo lists and
// bookmarks. The parser and the editors are borrowed and watched through
// free notification.
#pragma once
#include <cstdint>
#include <functional>
#include <ostream>
#include <memory>
#include <vector>
#include "editor/base/LineSearch.h"
#include "editor/base/Notifiers.h"
#include "editor/text/LineGapBuffer.h"
#include "editor/text/MemoPositions.h"
#include "editor/text/Regions.h"
#include "editor/text/SimpleParser.h"
#include "editor/text/Templates.h"
#include "editor/text/UndoList.h"
#include "platform/rtl/Collection.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Strings.h"

class TStream;
class TCustomMemoSource;
class TSearchOptions;
class TForm;

SX_ENUM(TStringsOption, soBackUnindents, soGroupUndo, soBeyondFileEnd, soForceCutCopy, soAutoIndent, soSmartTab,
        soFindTextAtCursor, soCreateBackups, soPersistentBlocks, soOverwriteBlocks, soLimitEOL, soUseTabCharacter,
        soCursorOnTabs, soOptimalFill, soSelectFoundText, soExcludeReadOnlyLines, soCursorAlwaysOnTabs,
        soUsePrevIndent, soRetainColumn)
using TStringsOptions = TSet<TStringsOption>;

SX_ENUM(TMemoState, msPositionChanged, msEdited, msUndo, msBlockChanged, msInsState, msCountChanged,
        msModifiedChanged, msFoundRectChanged, msObjNameChanged, msNeedInvalidate, msParserChanged,
        msReadOnlyChanged)
using TMemoStates = TSet<TMemoState>;

SX_ENUM(TBlockOption, bkStreamSel, bkBlockSel, bkNone, bkBoth)
SX_ENUM(TSelectionType, stNotSelected, stStreamSel, stBlockSel)
SX_ENUM(TOutFormatType, ofWindows, ofMac, ofUnix)
SX_ENUM(TWordSelectionType, wsWordOnly, wsWordWithSpace, wsUntilNextWord)

inline constexpr TStringsOptions DefaultStringsOptionSet{soBackUnindents, soGroupUndo,        soForceCutCopy,
                                                         soAutoIndent,    soSmartTab,         soFindTextAtCursor,
                                                         soOverwriteBlocks};
inline TStringsOptions DefaultStringsOptions() { return DefaultStringsOptionSet; }
// What a new editor and a load report: every state that makes an editor
// repaint and re-read everything.
inline constexpr TMemoStates AllChangedStates{msPositionChanged, msUndo,            msBlockChanged,   msInsState,
                                              msCountChanged,    msModifiedChanged, msObjNameChanged, msParserChanged};

// Change codes the model uses. Users may open groups with codes of their own.
namespace MemoCode {
inline constexpr Integer MoveCaret = 2, DeleteChar = 3, LineBreak = 4, InsertText = 5, DeleteChars = 6,
                         Backspace = 8, DeleteLine = 9, DeleteToLineStart = 10, MarkBlockBegin = 11,
                         MarkBlockEnd = 12, SelectionType = 13, ExtendSelection = 16, SelectionRect = 17,
                         SelectAll = 18, SelectLine = 19, Cut = 20, PasteLines = 21, DeleteSelection = 22,
                         MoveCopySelection = 23, UpperCaseSelection = 25, LowerCaseSelection = 26,
                         ToggleCaseSelection = 27, SelectWord = 30, SetSelection = 31, DeleteToNextWord = 33,
                         DeleteWordLeft = 34, LowerCaseWord = 35, UpperCaseWord = 36, LinesInsert = 39,
                         NewLine = 40, InsState = 41, SetBookmark = 45, RemoveBookmark = 46, ResetPositions = 47,
                         LoadFromStream = 48, Modified = 49, AddEditor = 50, TabKey = 52, RepaintLine = 53,
                         Replace = 54, Search = 55, ObjectName = 56, ParserChanged = 57, Clear = 58,
                         LinesPut = 59, LinesText = 60, Loaded = 61, CapitalizeWord = 62,
                         CapitalizeSelection = 64, BlockIndent = 65, BlockUnindent = 66, QuoteSelection = 67,
                         LineHighlight = 68, DuplicateSelection = 69, ReadOnly = 70, LineState = 73;
// The editor's template insertion.
inline constexpr Integer TemplateInsert = 51;
}  // namespace MemoCode

// Line flags (TStringItem::Flags). Bits 5-7 are free for SetLineState users.
inline constexpr Byte lfParsed = 1;
inline constexpr Byte lfReadOnlyLine = 2;
inline constexpr Byte lfInRegion = 4;
inline constexpr Byte lfRegionExpanded = 8;
inline constexpr Byte lfRegionCollapsed = 16;

// A string that takes one pointer's room while it is empty and makes its
// text on first use: every line has a record, but few lines ever get
// attributes or user data. Reads of an empty one allocate nothing; a write
// (or a reference handed out for writing) makes the text.
class TLineSideString {
public:
  TLineSideString() = default;
  TLineSideString(const TLineSideString& O) { *this = O; }
  TLineSideString(TLineSideString&&) noexcept = default;
  TLineSideString& operator=(const TLineSideString& O) {
    if (this != &O) *this = O.Str();
    return *this;
  }
  TLineSideString& operator=(TLineSideString&&) noexcept = default;
  TLineSideString& operator=(AnsiString S) {
    if (S.empty()) FText.reset();
    else Ref() = std::move(S);
    return *this;
  }

  // Made on use: the text to change in place.
  AnsiString& Ref() {
    if (!FText) FText = std::make_unique<AnsiString>();
    return *FText;
  }
  const AnsiString& Str() const { return FText ? *FText : Empty(); }
  bool Made() const { return FText != nullptr; }
  // The text moved out, this left empty (for callers that want a plain
  // string to fill and give back with operator=).
  AnsiString Take() {
    AnsiString S = FText ? std::move(*FText) : AnsiString();
    FText.reset();
    return S;
  }
  operator AnsiString&() { return Ref(); }
  operator const AnsiString&() const { return Str(); }

  std::size_t size() const { return Str().size(); }
  bool empty() const { return Str().empty(); }
  char operator[](std::size_t I) const { return Str()[I]; }
  char& operator[](std::size_t I) { return Ref()[I]; }
  char back() const { return Str().back(); }
  AnsiString substr(std::size_t Pos, std::size_t N = AnsiString::npos) const { return Str().substr(Pos, N); }
  // An empty one hands out the iterators of a shared empty text: nothing
  // can be written through an empty range.
  AnsiString::iterator begin() { return FText ? FText->begin() : MutableEmpty().begin(); }
  AnsiString::iterator end() { return FText ? FText->end() : MutableEmpty().end(); }
  AnsiString::const_iterator begin() const { return Str().begin(); }
  AnsiString::const_iterator end() const { return Str().end(); }

  void clear() { FText.reset(); }
  void resize(std::size_t N, char C = '\0') {
    if (N == 0) FText.reset();
    else Ref().resize(N, C);
  }
  void assign(std::size_t N, char C) { *this = AnsiString(N, C); }
  void insert(std::size_t Pos, const AnsiString& S) {
    if (!S.empty()) Ref().insert(Pos, S);
  }
  void insert(std::size_t Pos, std::size_t N, char C) {
    if (N) Ref().insert(Pos, N, C);
  }
  void erase(std::size_t Pos, std::size_t N = AnsiString::npos) {
    if (FText) FText->erase(Pos, N);
  }
  void append(std::size_t N, char C) {
    if (N) Ref().append(N, C);
  }
  void replace(std::size_t Pos, std::size_t N, const AnsiString& S) {
    if (FText || !S.empty()) Ref().replace(Pos, N, S);
  }
  TLineSideString& operator+=(const AnsiString& S) {
    if (!S.empty()) Ref() += S;
    return *this;
  }
  TLineSideString& operator+=(const TLineSideString& S) { return *this += S.Str(); }

  friend bool operator==(const TLineSideString& A, const AnsiString& B) { return A.Str() == B; }
  friend std::ostream& operator<<(std::ostream& Os, const TLineSideString& S) { return Os << S.Str(); }

private:
  static const AnsiString& Empty() {
    static const AnsiString E;
    return E;
  }
  static AnsiString& MutableEmpty() {
    static AnsiString E;
    return E;
  }
  std::unique_ptr<AnsiString> FText;
};

// One line of a memo source. A descendant source may use a larger record
// (GetStringItemClass).
class TStringItem : public TObject {
  SX_CLASS(TStringItem, TObject)
public:
  TStringItem() = default;
  AnsiString Text;        // without line break; TABs stay
  TLineSideString LineData;    // attached by users of the source; the source only moves it
  TObject* Objects = nullptr;  // not owned
  TLineSideString Attributes;  // one style byte per character; empty when not parsed
  Integer EndState = 0;
  Integer BeginState = 0;
  Word Marks = 0;         // gutter marks, bits 0-15
  Byte Flags = 0;         // lf… bits
  Byte LineStyle = 0;     // style of the whole line, 0 none
  Integer MeasureInfo = 0;
  Integer MeasuredWidth = 0;  // 0: use the text length
  Integer MeasureExtra = 0;
};

using TStringItemGetHook = TEvent<void(AnsiString& S)>;
using TStringsEvent = TEvent<void(TObject* Sender, TStrings* Strings)>;

// The real line store. Index errors are silent: Get out of range gives "",
// Put/Delete/PutObject out of range and Insert beyond Count do nothing.
class TInternalStrings : public TStrings {
  SX_CLASS(TInternalStrings, TStrings)
public:
  explicit TInternalStrings(TClass AItemClass = nullptr);
  ~TInternalStrings() override;

  Integer GetCount() const override { return Integer(FItems.Size()); }
  Integer GetCapacity() const override { return Integer(FItems.Capacity()); }
  void Insert(Integer Index, const AnsiString& S) override;
  void Delete(Integer Index) override;
  void Clear() override;
  void Exchange(Integer, Integer) override {}

  TStringItem* Item(Integer Index) const {
    return Index >= 0 && Index < GetCount() ? FItems.At(size_t(Index)) : nullptr;
  }
  // The stored text ("" out of range), never through the get-hook.
  const AnsiString& RawText(Integer Index) const;
  // Reads give the stored text while set (saving, copying with TABs).
  bool Raw = false;
  TStringItemGetHook GetHook;

protected:
  AnsiString Get(Integer Index) const override;
  void Put(Integer Index, const AnsiString& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  // The class library's text without its last line break.
  AnsiString GetTextStr() const override;

private:
  TStringItem* NewItem() const;
  TClass FItemClass;
  // Owned records.
  TGapBuffer<TStringItem> FItems;
};

// A TStrings view bound to a source.
class TSourceStrings : public TStrings {
  SX_CLASS(TSourceStrings, TStrings)
public:
  explicit TSourceStrings(TCustomMemoSource* ASource) : FSource(ASource) {}
  TCustomMemoSource* Source() const { return FSource; }

protected:
  TCustomMemoSource* FSource;
};

// The published Lines: reads go to the store, every write is a change group
// of the source that cannot be undone (the undo lists are cleared).
class TExternalStrings : public TSourceStrings {
  SX_CLASS(TExternalStrings, TSourceStrings)
public:
  explicit TExternalStrings(TCustomMemoSource* ASource) : TSourceStrings(ASource) {}
  Integer GetCount() const override;
  void Insert(Integer Index, const AnsiString& S) override;
  void Delete(Integer Index) override;
  void Clear() override;
  void Exchange(Integer, Integer) override {}
  void Assign(TPersistent* Source) override;
  void LoadFromStream(TStream* Stream) override;
  // Writes the stored lines (TABs kept) with the source's OutFormat.
  void SaveToStream(TStream* Stream) const override;

protected:
  AnsiString Get(Integer Index) const override;
  void Put(Integer Index, const AnsiString& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  AnsiString GetTextStr() const override;
  void SetTextStr(const AnsiString& Value) override;
  void SetUpdateState(bool Updating) override;
};

// The selected text as lines. Read-only apart from Clear, which deletes the
// selection. With WithAttributes the lines' expanded attribute strings are
// returned instead, cut the same way.
class TSelectionStrings : public TSourceStrings {
  SX_CLASS(TSelectionStrings, TSourceStrings)
public:
  explicit TSelectionStrings(TCustomMemoSource* ASource) : TSourceStrings(ASource) {}
  Integer GetCount() const override;
  void Insert(Integer, const AnsiString&) override {}
  void Delete(Integer) override {}
  void Clear() override;
  void Exchange(Integer, Integer) override {}
  bool WithAttributes = false;

protected:
  AnsiString Get(Integer Index) const override;
  AnsiString GetTextStr() const override;
};

class TPosition;
// Asked before an edit moves the position; both flags arrive True.
using TPositionAdjustEvent = TEvent<void(TPosition* Position, bool& AdjustColumn, bool& AdjustLine)>;

// A tracked point of the text. Only positions with an adjust callback
// follow edits.
class TPosition : public TCollectionItem {
  SX_CLASS(TPosition, TCollectionItem)
public:
  explicit TPosition(TCollection* ACollection) : TCollectionItem(ACollection) {}
  Integer LinePos = 0;
  Integer CharPos = 0;
  TPositionAdjustEvent OnAdjust;
  void Assign(TPersistent* Source) override;
  TPoint Point() const { return {CharPos, LinePos}; }
  bool SameAs(const TPosition& Other) const { return LinePos == Other.LinePos && CharPos == Other.CharPos; }
};

// Hooks the active editor fills (word wrap, proportional fonts).
using TCaretMoveHook = TEvent<void(TObject* Sender, Integer& DeltaLine, Integer& DeltaChar)>;
// Sets the item's MeasureInfo, MeasuredWidth and MeasureExtra for the line.
using TLineMeasureHook = TEvent<void(TObject* Sender, Integer Line, TStringItem* Item)>;
using TAfterParseEvent = TEvent<void(TObject* Sender, Integer Line, const AnsiString& Text, AnsiString& Attrs)>;
using TGetBackpNameEvent = TEvent<void(TObject* Sender, const AnsiString& FileName, AnsiString& BackFileName)>;
using TGetSelectionTypeEvent = TEvent<void(TObject* Sender, TSelectionType& SelType)>;
using TSearchExceptionEvent = TEvent<void(TObject* Sender, Exception& Error, bool& Handled)>;
using TBeforeFindReplaceEvent = TEvent<void(TObject* Sender, bool Replace)>;
using TCreateDialogEvent = TEvent<void(TObject* Sender, TForm* Dialog)>;
// A caret command run by ExtendSelection.
using TCaretCommand = void (TCustomMemoSource::*)();

class TCustomMemoSource : public TComponent {
  SX_CLASS(TCustomMemoSource, TComponent)
public:
  explicit TCustomMemoSource(TComponent* AOwner);
  ~TCustomMemoSource() override;

  // --- Store, views and lines --------------------------------------------
  virtual TClass GetStringItemClass() { return TStringItem::StaticClass(); }
  virtual TInternalStrings* GetStrings() { return FStrings.get(); }
  TStrings* GetLines() { return FLines.get(); }
  void SetLines(TStrings* Value);
  TSelectionStrings* GetSelectionStrings() { return FSelStrings.get(); }
  Integer GetLineCount() const { return FStrings->GetCount(); }
  // The record, or nil outside the text.
  TStringItem* GetLineItem(Integer Line) const { return FStrings->Item(Line); }
  // The stored text of a line ("" outside the text).
  const AnsiString& GetLineText(Integer Line) const { return FStrings->RawText(Line); }
  // Whether the lines' text is "", without building it: no lines, or one
  // empty line (a second line always brings a line break).
  bool IsTextEmpty() const { return GetLineCount() == 0 || (GetLineCount() == 1 && GetLineText(0).empty()); }
  // The line with TABs expanded ("" outside the text).
  AnsiString GetExpandedLine(Integer Line) const;
  // Undoable: selects everything and deletes it.
  void Clear();

  // --- Change groups and editors ---------------------------------------------
  void BeginUpdate(Integer Code);
  // For writes through Lines: caret and selection follow the text they were in.
  void BeginSafeUpdate(Integer Code);
  virtual void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }
  Integer ChangeCode() const { return FChangeCode; }
  const TMemoStates& State() const { return FState; }
  void AddState(TMemoState S) { FState.Include(S); }
  Integer FirstChangedLine() const { return FFirstChanged; }
  Integer LastChangedLine() const { return FLastChanged; }
  // Sets msEdited and widens the changed range.
  void MarkLinesChanged(Integer First, Integer Last);
  void WidenChangedRange(Integer First, Integer Last);
  virtual void NotifyChanged(Integer FirstLine, Integer LastLine);
  // Notify: the editor repaints everything at once (a group with code 50).
  void AddEditor(bool Notify, const TNotifierProc& Method, TComponent* Editor);
  void RemoveEditor(const TNotifierProc& Method, TComponent* Editor);
  Integer EditorCount() const { return FEditors.Count(); }
  TComponent* GetActiveEditor() const { return FActiveEditor; }
  // A number no other source of the process ever had: what an editor keys
  // its remembered views by, since an address may be reused after a free.
  std::uint64_t GetSerial() const { return FSerial; }
  void SetActiveEditor(TComponent* Editor);
  TCaretMoveHook CaretMoveHook;
  TLineMeasureHook LineMeasureHook;
  TAfterParseEvent OnAfterParse;
  // The editor asks before its default focus and double-click handling.
  virtual bool AllowEditorMessage(TComponent* /*Editor*/, UINT /*Message*/) { return true; }
  virtual void Escape() {}

  // --- Positions -----------------------------------------------------------
  TPosition* GetCaret() const { return FCaret; }
  Integer GetCaretChar() const { return FCaret->CharPos; }
  Integer GetCaretLine() const { return FCaret->LinePos; }
  TPoint GetCaretPoint() const { return FCaret->Point(); }
  // Absolute moves; they go through MoveCaret.
  void SetCaret(Integer Char, Integer Line);
  void SetCaretChar(Integer Value) { SetCaret(Value, GetCaretLine()); }
  void SetCaretLine(Integer Value) { SetCaret(GetCaretChar(), Value); }
  void SetCaretPoint(const TPoint& P) { SetCaret(P.X, P.Y); }
  // A tracked copy that follows edits; free it with RestorePosition.
  TPosition* CopyPosition(TPosition* Position);
  // Moves the caret to the copy and frees it.
  void RestorePosition(TPosition* Copy);
  void ResetPositions();
  // Kind 1: Count characters inserted at the caret; 2: line break at the
  // caret; 3: next line joined to the caret line; 4: Count characters
  // deleted at the caret.
  void AdjustPositions(Integer Kind, Integer Count);
  bool GetManualPosition() const { return FManualPosition; }

  // --- Tab stops and delimiters ----------------------------------------------
  const AnsiString& GetTabStops() const { return FTabStopsText; }
  // Raises "Invalid Tab Rack" and keeps the old rack for a bad one.
  void SetTabStops(const AnsiString& Value);
  Integer GetTabStop(Integer Index) const;
  Integer GetTabStep() const;
  // 1-based Column on the expanded line: the columns to the TAB's end
  // (ToEnd) or from its start, 1 outside a TAB.
  Integer GetTabWidthAt(Integer Column, Integer Line, bool ToEnd);
  void ExpandTabs(AnsiString& S) const;
  // Expands the TAB at 1-based Pos; StopIndex carries over to the next TAB.
  // Returns the number of fill characters.
  Integer ExpandTabAt(AnsiString& S, Integer Pos, char FillChar, Integer& StopIndex) const;
  // Display column to a 0-based character index of the stored text.
  void VisualToCharIndex(const AnsiString& S, Integer& Column) const;
  // The display column of a 0-based character index.
  Integer CharToVisualIndex(const AnsiString& S, Integer Index) const;
  const AnsiString& GetDelimeters() const { return FDelimetersText; }
  void SetDelimeters(const AnsiString& Value);
  // S[Pos] (1-based) is a delimiter; outside S counts as one.
  bool IsDelimiter(const AnsiString& S, Integer Pos) const;
  bool IsDelimChar(char C) const { return FDelimSet[Byte(C)]; }
  const TCharSet& DelimiterSet() const { return FDelimSet; }

  // --- Options and properties -----------------------------------------------
  const TStringsOptions& GetOptions() const { return FOptions; }
  void SetOptions(const TStringsOptions& Value);
  bool HasOption(TStringsOption O) const { return FOptions.Contains(O); }
  TSimpleParser* GetSyntaxParser() const { return FSyntaxParser; }
  void SetSyntaxParser(TSimpleParser* Value);
  virtual bool GetReadOnly() { return FReadOnly; }
  void SetReadOnly(bool Value);
  Integer GetBlockIndent() const { return FBlockIndent; }
  void SetBlockIndent(Integer Value) { FBlockIndent = Value < 0 ? 0 : Value; }
  Integer GetSpacesInTab() const { return FSpacesInTab; }
  void SetSpacesInTab(Integer Value) { FSpacesInTab = Value < 1 || Value > 10 ? 8 : Value; }
  bool GetHighlightUrls() const { return FHighlightUrls; }
  void SetHighlightUrls(bool Value);
  TBlockOption GetBlockOption() const { return FBlockOption; }
  void SetBlockOption(TBlockOption Value);
  TOutFormatType GetOutFormat() const { return FOutFormat; }
  void SetOutFormat(TOutFormatType Value) { FOutFormat = Value; }
  bool GetUseGlobalOptions() const { return FUseGlobalOptions; }
  virtual void SetUseGlobalOptions(bool Value);
  // Options, TabStops, Delimeters and BlockIndent from the global memo
  // source options, and the keep-blanks switch from KeepTrailingBlanks.
  void ApplyGlobalOptions();
  bool GetKeepBlanks() const { return FKeepBlanks; }
  void SetKeepBlanks(bool Value) { FKeepBlanks = Value; }
  const AnsiString& GetObjectName() const { return FObjectName; }
  const AnsiString& GetOldObjectName() const { return FOldObjectName; }
  virtual bool ChangeObjectName(const AnsiString& Name);
  virtual void SetFileName(const AnsiString& Name) { ChangeObjectName(Name); }
  // The match the search engine marks; each change group starts it empty.
  const TRect& GetFoundRect() const { return FFoundRect; }
  void SetFoundRect(const TRect& R) { FFoundRect = R; }
  const AnsiString& GetTabString() const { return FTabString; }
  void SetTabString(const AnsiString& Value) { FTabString = Value; }
  TGetBackpNameEvent OnGetBackupName;
  TGetSelectionTypeEvent OnGetSelectionType;
  // Stored and read back; no effect.
  const AnsiString& GetVersion() const { return FVersion; }
  void SetVersion(const AnsiString& Value) { FVersion = Value; }
  static void Published(TPublished<TCustomMemoSource>& P) {
    P.Property("Version", &TCustomMemoSource::GetVersion, &TCustomMemoSource::SetVersion);
  }

  // --- Code templates (Templates.h) ----------------------------------------------
  TMemoCodeTemplates* GetCodeTemplates() const { return FCodeTemplates.get(); }
  void SetCodeTemplates(TMemoCodeTemplates* Value);
  const AnsiString& GetTemplatesType() const { return FTemplatesType; }
  // A registered set's name: its fill procedure (if any) refills
  // CodeTemplates. Any other name leaves the property as it is.
  void SetTemplatesType(const AnsiString& Value);
  // Inserts a template's copied lines at the caret as running text (one
  // change group): the lines after the first are indented to the caret
  // column, the selection is removed and the caret goes where the first "|"
  // was (PrepareTemplateLines). Lines is changed.
  void InsertTemplateLines(TStrings* Lines);

  // --- Undo and redo ---------------------------------------------------------
  // The record to fill, or nil while AllowUndo is off.
  TUndoRecord* AddUndoRecord(Byte Kind);
  void AddAttrUndo(const AnsiString& OldAttrs, Integer Line, Integer Column);
  // Column is 1-based in the stored attribute string.
  void ReplaceAttrs(const AnsiString& NewAttrs, AnsiString& LineAttrs, Integer Column, Integer Line);
  void BeginUndoBlock() { ++FUndoBlockCount; }
  void EndUndoBlock();
  void Undo();
  void Redo();
  bool CanUndo() const { return !ActiveUndoList().Empty(); }
  bool CanRedo() const { return !OtherUndoList().Empty(); }
  void ClearUndo();
  void ClearRedo();
  const TUndoList& GetUndoList() const { return FUndoList; }
  const TUndoList& GetRedoList() const { return FRedoList; }
  bool GetAllowUndo() const { return FAllowUndo; }
  void SetAllowUndo(bool Value);
  Integer GetUndoLimit() const { return FUndoLimit; }
  void SetUndoLimit(Integer Value);
  bool GetModified() const { return FModified; }
  void SetModified(bool Value);
  bool IsModified() const;

  // --- Parse cache -------------------------------------------------------------
  Integer ParseRange(Integer First, Integer Last, bool Force);
  Integer ParseUpTo(Integer Line, bool Force);
  void GetColorData(Integer Line, AnsiString& Attrs);
  void GetExpandedColorData(Integer Line, AnsiString& Attrs);
  bool ReparseLine(Integer Line);
  void InvalidateParseCache();
  virtual void ParserChanged(TSimpleParser* Parser);
  Integer GetLineLength(Integer Line);
  void UpdateLongestLine();
  void TrackLongestLine(bool On);
  Integer GetLongestLineLength() const { return FLongestLength; }
  Integer GetLongestLineIndex() const { return FLongestIndex; }
  // The style byte that text inserted at a point gets.
  Integer GetAttributeAt(Integer Column, Integer Line);
  // Cuts or zero-pads the line's attributes to its text (parsers that keep
  // attributes).
  void AdjustAttrLength(TStringItem* Item);
  bool ParserKeepsAttributes() const { return FSyntaxParser && FSyntaxParser->KeepsAttributes(); }
  Integer GetFirstUnparsedLine() const { return FFirstUnparsed; }
  Integer GetParseResult() const { return FParseResult; }
  Integer DefaultParserState = 0;
  virtual void AttributesChanged() {}
  virtual void DoAfterParse(Integer Line, const AnsiString& Text, AnsiString& Attrs);
  virtual bool IsSyntaxParser();
  // The style index for inserted text (-1: take it from the insertion point).
  Integer DefaultAttribute = -1;
  bool InImport = false;
  bool InColorUpdate = false;

  // --- Line state (flags kept per line) --------------------------------------
  bool IsLineReadOnly(Integer Line);
  bool IsCaretLineReadOnly() { return IsLineReadOnly(GetCaretLine()); }
  bool IsNextLineReadOnly() { return IsLineReadOnly(GetCaretLine() + 1); }
  bool TestLineMark(Integer Line, Integer Bit) const;
  Integer GetLineStyle(Integer Line) const;
  void SetLineStyle(Integer Line, Integer Style);
  virtual void HighlightLine(Integer Line, Integer Style);
  virtual void ClearLineHighlight();

  // --- Elementary edits ----------------------------------------------------------
  virtual void MoveCaret(Integer DeltaLine, Integer DeltaChar);
  virtual void InsertLineBreak();
  virtual void DeleteChar();
  virtual bool InsertText(const AnsiString& Text);
  virtual void DeleteChars(Integer Count);
  virtual void NewLine();
  Integer InsertTextWithAttrs(const AnsiString& Text, const AnsiString& Attrs);
  // Display columns the last InsertText added.
  Integer InsertedLength() const { return FInsertedLength; }
  void GetDisplayText(Integer Line, bool Special, AnsiString& Text, char TabChar, char SpaceChar);
  void TrimTrailingBlanks(bool MoveCaret);
  bool DeleteSelectionIfOverwrite();

  // --- Commands --------------------------------------------------------------------
  void CaretLeft();
  void CaretRight();
  void CaretUp();
  void CaretDown();
  void CaretLeftOverTab();
  void CaretRightOverTab();
  void CaretToLineStart();
  void CaretToLineEnd();
  void CaretToFileStart();
  void CaretToFileEnd();
  void WordLeft();
  void WordRight();
  void Backspace();
  void DeleteKey();
  void DeleteLine();
  void DeleteToLineStart();
  void DeleteToLineEnd();
  // A line break at the caret; the caret stays before it.
  void OpenLine();
  // The selection moved to the caret (the block chord's move).
  void MoveBlock() { MoveSelectionToCaret(); }
  void DeleteToNextWord();
  void DeleteWordRight();
  void DeleteWordLeft();
  void TabKey();
  void ShiftTabKey();
  Integer SmartTabTarget(Integer StopIndex, Integer Column, Integer Line);
  // Process-wide: all sources share one insert/overwrite mode.
  void SetOverwriteMode(bool Value);
  void ToggleOverwriteMode() { SetOverwriteMode(!GetOverwriteMode()); }
  static bool GetOverwriteMode();
  // --- Clipboard, paste and block operations (Clipboard.cpp) ------------------
  virtual void CopyToClipboard();
  virtual void CutToClipboard();
  virtual void PasteFromClipboard();
  // The clipboard holds plain text.
  bool CanPaste();
  void InsertLines(TStrings* List, bool Block);
  // As InsertLines with the lines a string list's text setter makes of Text
  // (split at CR LF, CR or LF; no empty line after a last break), taken
  // from Text one at a time instead of from a list of them all.
  void InsertTextLines(const AnsiString& Text, bool Block);
  // AttrList (may be nil) holds each line's attribute bytes.
  void PasteLines(TStrings* List, TStrings* AttrList, bool Block);
  void InsertTextBlock(const AnsiString& Text);
  void InsertGuid();
  void DuplicateSelection();
  void SelectionToStream(TStream* Stream);
  void InsertFromStream(TStream* Stream, bool Block);
  bool MoveSelectionToCaret();
  bool CopySelectionToCaret();
  using TLineFunction = std::function<void(AnsiString& Line)>;
  void ApplyToSelectedLines(Integer Code, bool RestoreCaret, const TLineFunction& LineFunction);
  void KeepSelectionDo(Integer Code, bool RestoreCaret, TCaretCommand Action, TCaretCommand Prepare);
  // Block indent and unindent of the selected lines by the tab string.
  void BlockIndent();
  void BlockUnindent();
  void UpperCaseSelection();
  void LowerCaseSelection();
  void ToggleCaseSelection();
  void CapitalizeSelection();
  void QuoteSelection();
  void LowerCaseWord();
  void UpperCaseWord();
  void CapitalizeWord();
  // Process-wide: the last copy to the clipboard was a block.
  static bool GetBlockCopy();
  static void SetBlockCopy(bool Value);
  TStringsEvent OnPasteFromClipboard;

  // --- Selection -------------------------------------------------------------------
  TSelectionType GetSelectionType() const { return FSelectionType; }
  void SetSelectionType(TSelectionType Value);
  void ClearSelection() { SetSelectionType(stNotSelected); }
  virtual void DoGetSelectionType(TSelectionType& SelType);
  TRect GetSelectionRect() const;
  void SetSelectionRect(const TRect& R);
  void SetSelection(TSelectionType Type, Integer Left, Integer Top, Integer Right, Integer Bottom);
  bool HasSelection() const { return FSelectionType != stNotSelected; }
  bool IsSelectionEmpty(TSelectionType Type) const;
  // Moves the caret with Move (may be nil) and extends the selection to it.
  Integer ExtendSelection(TSelectionType Type, TCaretCommand Move);
  void SelectLeft() { ExtendSelection(stStreamSel, &TCustomMemoSource::CaretLeft); }
  void SelectRight() { ExtendSelection(stStreamSel, &TCustomMemoSource::CaretRight); }
  void SelectUp() { ExtendSelection(stStreamSel, &TCustomMemoSource::CaretUp); }
  void SelectDown() { ExtendSelection(stStreamSel, &TCustomMemoSource::CaretDown); }
  void SelectToLineStart() { ExtendSelection(stStreamSel, &TCustomMemoSource::CaretToLineStart); }
  void SelectToLineEnd() { ExtendSelection(stStreamSel, &TCustomMemoSource::CaretToLineEnd); }
  void SelectToFileStart() { ExtendSelection(stStreamSel, &TCustomMemoSource::CaretToFileStart); }
  void SelectToFileEnd() { ExtendSelection(stStreamSel, &TCustomMemoSource::CaretToFileEnd); }
  void SelectWordLeft() { ExtendSelection(stStreamSel, &TCustomMemoSource::WordLeft); }
  void SelectWordRight() { ExtendSelection(stStreamSel, &TCustomMemoSource::WordRight); }
  void StartStreamSelection() { ExtendSelection(stStreamSel, nullptr); }
  void BlockSelectLeft() { ExtendSelection(stBlockSel, &TCustomMemoSource::CaretLeft); }
  void BlockSelectRight() { ExtendSelection(stBlockSel, &TCustomMemoSource::CaretRight); }
  void BlockSelectUp() { ExtendSelection(stBlockSel, &TCustomMemoSource::CaretUp); }
  void BlockSelectDown() { ExtendSelection(stBlockSel, &TCustomMemoSource::CaretDown); }
  void BlockSelectToLineStart() { ExtendSelection(stBlockSel, &TCustomMemoSource::CaretToLineStart); }
  void BlockSelectToLineEnd() { ExtendSelection(stBlockSel, &TCustomMemoSource::CaretToLineEnd); }
  void BlockSelectToFileStart() { ExtendSelection(stBlockSel, &TCustomMemoSource::CaretToFileStart); }
  void BlockSelectToFileEnd() { ExtendSelection(stBlockSel, &TCustomMemoSource::CaretToFileEnd); }
  void BlockSelectWordLeft() { ExtendSelection(stBlockSel, &TCustomMemoSource::WordLeft); }
  void BlockSelectWordRight() { ExtendSelection(stBlockSel, &TCustomMemoSource::WordRight); }
  void StartBlockSelection() { ExtendSelection(stBlockSel, nullptr); }
  // A computed target for ExtendSelection (mouse and page moves of the
  // editor): set it, then extend with CaretToMoveTarget.
  void SetMoveTarget(const TPoint& P) { FMoveTarget = P; }
  void CaretToMoveTarget() { SetCaret(FMoveTarget.X, FMoveTarget.Y); }
  void MarkBlockBegin();
  void MarkBlockEnd();
  void SelectAll();
  void SelectLine();
  void SelectWord(TWordSelectionType Type);
  void SelectWord() { SelectWord(wsWordOnly); }
  void SelectWordForDelete();
  void CaretToSelectionStart();
  void CaretToSelectionEnd();
  void DeleteSelection();
  bool IsCaretAtCorner(Integer Column, Integer Line) const;
  // Half-open: Start..Stop - 1 are selected on the line.
  void GetSelectedColumns(Integer Line, Integer& Start, Integer& Stop) const;
  bool IsInSelection(Integer Column, Integer Line) const;
  // 1-based Start and Stop of the word at or left of the column, else the
  // next one to the right; both 0 when there is none.
  void GetWordBounds(Integer Column, Integer Line, TWordSelectionType Type, Integer& Stop, Integer& Start);
  void GetWordAt(Integer Column, Integer Line, AnsiString& Text);
  void GetWordAtCaret(AnsiString& Text) { GetWordAt(GetCaretChar(), GetCaretLine(), Text); }
  // Raised while a command moves the caret for its own bookkeeping, so the
  // move does not drop the selection.
  Integer SkipClearSelection = 0;

  // --- Bookmarks -------------------------------------------------------------------
  void ToggleBookmark(Integer Number);
  void SetBookmark(Integer Number);
  void RemoveBookmarkCmd(Integer Number);
  bool GetBookmark(Integer Number, TPoint& Point) const;
  void GotoBookmark(Integer Number);
  // Whether the change group reported last moved the caret to a bookmark.
  bool BookmarkJumped() const { return FBookmarkJumped; }
  Integer BookmarkOnLine(Integer Line) const;
  Integer BookmarkInColumns(Integer Line, Integer FromColumn, Integer ToColumn) const;
  void BookmarksInColumns(Integer Line, Integer FromColumn, TList* List, Integer ToColumn) const;
  void RepaintLine(Integer Line);
  TMemoBookMarkList& GetBookmarks() { return FBookmarks; }
  void ToggleBookmark1() { ToggleBookmark(1); }
  void ToggleBookmark2() { ToggleBookmark(2); }
  void ToggleBookmark3() { ToggleBookmark(3); }
  void ToggleBookmark4() { ToggleBookmark(4); }
  void ToggleBookmark5() { ToggleBookmark(5); }
  void ToggleBookmark6() { ToggleBookmark(6); }
  void ToggleBookmark7() { ToggleBookmark(7); }
  void ToggleBookmark8() { ToggleBookmark(8); }
  void ToggleBookmark9() { ToggleBookmark(9); }
  void ToggleBookmark10() { ToggleBookmark(10); }
  void GotoBookmark1() { GotoBookmark(1); }
  void GotoBookmark2() { GotoBookmark(2); }
  void GotoBookmark3() { GotoBookmark(3); }
  void GotoBookmark4() { GotoBookmark(4); }
  void GotoBookmark5() { GotoBookmark(5); }
  void GotoBookmark6() { GotoBookmark(6); }
  void GotoBookmark7() { GotoBookmark(7); }
  void GotoBookmark8() { GotoBookmark(8); }
  void GotoBookmark9() { GotoBookmark(9); }
  void GotoBookmark10() { GotoBookmark(10); }

  // --- Search and replace (Search.cpp) ------------------------------------------
  // The global search settings (Search.h); never keep the pointer.
  TSearchOptions* GetSearchOptions() const;
  virtual TForm* CreateReplaceDialog();
  virtual TForm* CreateFindDialog();
  virtual TForm* CreateSearchReplaceDialog();
  // True when the error is dealt with; false makes the engine show or raise it.
  virtual bool DoSearchException(Exception& Error);
  virtual void DoBeforeFindReplace(bool Replace);
  virtual void ShowFindDialog();
  virtual void ShowReplaceDialog();
  virtual void FindText();
  virtual void ReplaceText();
  virtual void FindNext();
  bool SearchText(Integer& Len);
  bool ReplaceRun();
  void PrepareSearchOptions();
  bool ShowSearchReplaceForm(bool Replace);
  void ToggleCaseSensitive();
  void ToggleRegularExpr();
  Integer GetReplacedCount() const { return FReplacedCount; }
  // Process-wide: 1 selects the modal find and replace dialogs, 0 the
  // combined modeless form.
  static Integer& SearchDialogMode();
  TSearchExceptionEvent OnSearchException;
  TBeforeFindReplaceEvent OnBeforeFindReplace;
  TCreateDialogEvent OnCreateDialog;

  // --- Files ---------------------------------------------------------------------
  void OpenFile(const AnsiString& FileName) { LoadFromFile(FileName); }
  virtual void LoadFromFile(const AnsiString& FileName);
  void LoadFromStream(TStream* Stream);
  virtual void SaveToFile(const AnsiString& FileName);
  // Writes FileName.tmp-like name first, then renames, so the original is
  // never gone while the new text is not yet on disk.
  void SaveToFileWithBackup(const AnsiString& FileName);
  virtual void GetBackupName(const AnsiString& FileName, AnsiString& BackFileName);

  // --- Hidden lines (collapsible regions; Regions.cpp) ------------------------------
  bool IsLineVisible(Integer Line);
  Integer RealToVisible(Integer Line) const;
  Integer VisibleToReal(Integer Visible) const;
  const TVisibleLinesList& GetHiddenLines() const { return FHiddenLines; }
  // 1 expanded head, 0 collapsed head, 2 anything else (also outside the text).
  Integer GetRegionState(Integer Line) const;
  void SetRegionState(Integer Line, Integer State);
  void SetLineInRegion(Integer Line, bool Value);
  // Sets or clears flag bit Bit (0-7); false when it had that value already.
  bool SetLineState(Integer Line, Integer LastLine, Integer Bit, bool Value);
  // The edits keep the hidden-line list in step through these.
  virtual void ExpandHiddenAbove(Integer Line);
  virtual void ExpandCollapsedHead(Integer Line);
  virtual void ShiftHiddenLines(Integer AfterLine, Integer Delta);
  virtual void ClearHiddenLines();
  // After a break of Line: a new line inside a region joins it.
  void LineBreakInRegion(Integer Line);

  // --- Bracket matching (Brackets.cpp) ----------------------------------------------
  void MatchBracket();
  // The bracket at the one selected character or at the caret, else 0.
  char GetBracketAt(TPoint& Point);
  void FindClosingBracket();
  void FindOpeningBracket();
  bool ScanForBracket(char Bracket, bool Move, TPoint& Point);
  // 1-based position of the next (previous) counting Char after (before)
  // the 1-based Point.X of line Point.Y; 0 when none.
  Integer FindCharInLine(char Char, const TPoint& Point, bool Forward);

  // Multi-line operations set it so that the longest line is found once,
  // at EndInBlock.
  void BeginInBlock() { ++FInBlock; }
  void EndInBlock();

protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Fires OnPasteFromClipboard, which may change the lines first.
  virtual void DoPasteFromClipboard(TStrings* Strings);

  // Options setter helpers for TMemoSource's published Options.
  TStringsOptions FOptions;

private:
  friend class TExternalStrings;
  friend class TSelectionStrings;

  TUndoList& ActiveUndoList() { return FUseRedo ? FRedoList : FUndoList; }
  const TUndoList& ActiveUndoList() const { return FUseRedo ? FRedoList : FUndoList; }
  TUndoList& OtherUndoList() { return FUseRedo ? FUndoList : FRedoList; }
  const TUndoList& OtherUndoList() const { return FUseRedo ? FUndoList : FRedoList; }
  void TrimUndo();
  void UndoRecord(const TUndoRecord& R, bool KeepsAttrs);
  void CornerAdjust(TPosition* Position, bool& AdjustColumn, bool& AdjustLine);
  TPosition* NewPosition(bool Tracked);
  void ExpandTabsHook(AnsiString& S) { ExpandTabs(S); }
  AnsiString ConvertWrittenLine(const AnsiString& S) const;
  // Pastes N lines, line I being LineAt(I) (PasteLines and InsertLines).
  void PasteLineSource(Integer N, const std::function<AnsiString(Integer)>& LineAt, TStrings* AttrList, bool Block);
  void UrlPass(TStringItem* Item, Integer Line);
  void ParseOneLine(Integer Line, TStringItem* Item, Integer& Carried, Integer& Result);
  void LongestAfterInsert(Integer Line);
  bool SelectionGone() const;
  void DoSetSelectionRect(const TRect& R);
  void SetCaretDirect(Integer Char, Integer Line);
  void ParserNotify(TObject* Sender, Integer A, Integer B);
  Integer LineIndent(Integer Line);

  std::unique_ptr<TInternalStrings> FStrings;
  std::unique_ptr<TExternalStrings> FLines;
  std::unique_ptr<TSelectionStrings> FSelStrings;
  TCollection FPositions;
  TPosition* FCaret = nullptr;
  TPosition* FTopLeft = nullptr;
  TPosition* FBottomRight = nullptr;
  TPosition* FOldTopLeft = nullptr;
  TPosition* FOldBottomRight = nullptr;
  TSelectionType FSelectionType = stNotSelected;
  TSelectionType FOldSelectionType = stNotSelected;
  TNotifierList FEditors;
  TComponent* FActiveEditor = nullptr;

  // Change group.
  Integer FUpdateCount = 0;
  Integer FChangeCode = 0;
  TMemoStates FState;
  Integer FFirstChanged = 0;
  Integer FLastChanged = 0;
  Integer FSavedLineCount = 0;
  Integer FSavedCaretLine = 0;
  Integer FSavedCaretChar = 0;
  bool FSavedModified = false;
  bool FFirstRecord = false;
  bool FSafeUpdate = false;
  TSelectionType FSafeSelectionType = stNotSelected;
  TPosition* FSafeTopLeft = nullptr;
  TPosition* FSafeBottomRight = nullptr;
  TPosition* FSafeCaret = nullptr;
  bool FGotoBookmark = false;
  bool FBookmarkJumped = false;
  bool FManualPosition = false;
  std::uint64_t FSerial = 0;
  TPoint FMoveTarget{0, 0};
  TRect FFoundRect;
  TRect FSavedFoundRect;

  // Undo.
  TUndoList FUndoList;
  TUndoList FRedoList;
  bool FUseRedo = false;
  bool FAllowUndo = true;
  Integer FUndoLimit = 0;
  Integer FUndoBlockCount = 0;
  bool FModified = false;
  bool FSavedState = false;
  Integer FSavedUndoIndex = -1;

  // Parse cache and longest line.
  Integer FFirstUnparsed = 0;
  Integer FParseResult = -1;
  Integer FLongestLength = 0;
  Integer FLongestIndex = -1;
  bool FTrackLongest = false;
  Integer FInBlock = 0;
  bool FBlockUpdate = false;

  // Tabs, delimiters, options.
  std::vector<Integer> FTabStopList;
  AnsiString FTabStopsText;
  TCharSet FDelimSet;
  AnsiString FDelimetersText;
  TSimpleParser* FSyntaxParser = nullptr;
  bool FReadOnly = false;
  Integer FBlockIndent = 1;
  Integer FSpacesInTab = 8;
  bool FHighlightUrls = false;
  TBlockOption FBlockOption = bkBoth;
  TOutFormatType FOutFormat = ofWindows;
  bool FUseGlobalOptions = false;
  bool FQuickLoad = false;
  bool FKeepBlanks = false;
  AnsiString FObjectName;
  AnsiString FOldObjectName;
  AnsiString FTabString;
  Integer FHighlightedLine = 0;  // line + 1, 0 none
  Integer FHighlightOldStyle = 0;
  AnsiString FNextInsertAttrs;
  bool FHasNextInsertAttrs = false;
  Integer FInsertedLength = 0;
  bool FInUndo = false;

  TMemoBookMarkList FBookmarks;
  TVisibleLinesList FHiddenLines;
  std::unique_ptr<TMemoCodeTemplates> FCodeTemplates;
  AnsiString FTemplatesType = "None";
  AnsiString FVersion;
  Integer FReplacedCount = 0;
  // Groups a replace run opened for an All answer; the run closes them.
  Integer FReplaceAllGroups = 0;
  bool ReplaceStep();
  void ReplaceAllLoop();
};

// The component a form places: TCustomMemoSource with its properties
// published.
class TMemoSource : public TCustomMemoSource {
  SX_CLASS(TMemoSource, TCustomMemoSource)
public:
  explicit TMemoSource(TComponent* AOwner) : TCustomMemoSource(AOwner) {}
  static void Published(TPublished<TMemoSource>& P) {
    P.Property("Options", &TMemoSource::GetOptionsValue, &TMemoSource::SetOptionsValue);
    P.Property("SyntaxParser", &TMemoSource::GetSyntaxParser, &TMemoSource::SetSyntaxParser);
    P.Property("TabStops", &TMemoSource::GetTabStopsValue, &TMemoSource::SetTabStops);
    P.Property("Delimeters", &TMemoSource::GetDelimetersValue, &TMemoSource::SetDelimeters);
    P.Property("Lines", &TMemoSource::GetLines, &TMemoSource::SetLines);
    P.Property("ReadOnly", &TMemoSource::GetReadOnlyValue, &TMemoSource::SetReadOnly).Default(false);
    P.Property("BlockIndent", &TMemoSource::GetBlockIndent, &TMemoSource::SetBlockIndent).Default(1);
    P.Property("SpacesInTab", &TMemoSource::GetSpacesInTab, &TMemoSource::SetSpacesInTab);
    P.Property("CodeTemplates", &TMemoSource::GetCodeTemplates, &TMemoSource::SetCodeTemplates);
    P.Property("TemplatesType", &TMemoSource::GetTemplatesType, &TMemoSource::SetTemplatesType);
    P.Property("HighlightUrls", &TMemoSource::GetHighlightUrls, &TMemoSource::SetHighlightUrls).Default(false);
    P.Property("BlockOption", &TMemoSource::GetBlockOption, &TMemoSource::SetBlockOption).Default(bkBoth);
    P.Property("OutFormat", &TMemoSource::GetOutFormat, &TMemoSource::SetOutFormat).Default(ofWindows);
    P.Property("AllowUndo", &TMemoSource::GetAllowUndo, &TMemoSource::SetAllowUndo).Default(true);
    P.Property("UndoLimit", &TMemoSource::GetUndoLimit, &TMemoSource::SetUndoLimit).Default(0);
    P.Property("OnGetBackupName", &TMemoSource::OnGetBackupName, &TMemoSource::OnGetBackupName);
    P.Property("OnGetSelectionType", &TMemoSource::OnGetSelectionType, &TMemoSource::OnGetSelectionType);
    P.Property("OnSearchException", &TMemoSource::OnSearchException, &TMemoSource::OnSearchException);
    P.Property("OnPasteFromClipboard", &TMemoSource::OnPasteFromClipboard, &TMemoSource::OnPasteFromClipboard);
    P.Property("OnCreateDialog", &TMemoSource::OnCreateDialog, &TMemoSource::OnCreateDialog);
    P.Property("UseGlobalOptions", &TMemoSource::GetUseGlobalOptions, &TMemoSource::SetUseGlobalOptions)
        .Default(false);
  }

private:
  TStringsOptions GetOptionsValue() const { return GetOptions(); }
  void SetOptionsValue(TStringsOptions Value) { SetOptions(Value); }
  AnsiString GetTabStopsValue() const { return GetTabStops(); }
  AnsiString GetDelimetersValue() const { return GetDelimeters(); }
  bool GetReadOnlyValue() const { return const_cast<TMemoSource*>(this)->GetReadOnly(); }
};

// Every memo source that exists, in creation order.
std::vector<TCustomMemoSource*>& MemoSourceList();
