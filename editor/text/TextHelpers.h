// TextHelpers.h — small string helpers the memo source and the editor
// control share: line breaks, padding, blanks and TABs, and reading the
// clipboard's text as lines. Positions are 1-based, as in the class
// library's strings.
#pragma once
#include <functional>
#include "editor/base/LineSearch.h"
#include "platform/rtl/Strings.h"

// Removes a trailing CR or LF, then once more; true when anything went.
bool StripLineBreak(AnsiString& S);
// Cuts S or pads it with character 0.
void SetLengthPadded(AnsiString& S, Integer Len);
// 1-based position of C at or after Offset + 1; 0 when none.
Integer PosCharFrom(const AnsiString& S, char C, Integer Offset);
Integer NextTab(const AnsiString& S, Integer Offset);
Integer NextSpace(const AnsiString& S, Integer Offset);
// S[Pos] is C (false outside S).
bool CharAt(const AnsiString& S, Integer Pos, char C);
// Side 0: leading blanks (bytes up to space); 1: trailing ones, where with
// KeepTabs a trailing TAB stops the removal; 2: both.
AnsiString TrimBlanks(const AnsiString& S, bool KeepTabs, Integer Side);
AnsiString TrimRightBlanks(const AnsiString& S);
AnsiString TrimLeftBlanks(const AnsiString& S);
// Every TAB becomes Width spaces.
AnsiString ExpandTabsFixed(const AnsiString& S, Integer Width);
void ExpandTabsInList(const TStrings* Source, TStrings* Destination, Integer Width);
// The class library's copy (1-based Start) and length.
AnsiString CopyText(const AnsiString& S, Integer Start, Integer Count);
inline Integer TextLength(const AnsiString& S) { return Integer(S.size()); }
// Columns pass through unchanged; the editor may give them meaning.
inline Integer MapColumnA(Integer Column) { return Column; }
inline Integer MapColumnB(Integer Column) { return Column; }

// Where the clipboard's plain text comes from: true and the text when the
// clipboard holds text. Without a reader of its own (nil restores that) the
// window layer's clipboard is read.
using TClipboardTextReader = std::function<bool(AnsiString& Text)>;
void SetClipboardTextReader(TClipboardTextReader Reader);
// The window layer's clipboard text (CF_TEXT); false when there is none.
bool ReadClipboardText(AnsiString& Text);
// List is cleared, then gets the clipboard's text as lines; a text that
// ends with a line break gets an empty last line.
void ReadClipboardLines(TStrings* List);
