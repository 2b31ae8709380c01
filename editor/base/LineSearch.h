// LineSearch.h — text search in a list of lines (plain or through a pattern
// matcher such as TRegExpr::Search), the substring searches it stands on,
// and the small string, string-list and rectangle helpers of the library.
//
// Positions are points: X the 1-based column, Y the 0-based line.
#pragma once
#include <bitset>
#include <functional>
#include <vector>
#include "platform/rtl/Interfaces.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Types.h"

using TCharSet = std::bitset<256>;

// Search flags, added together.
inline constexpr Byte sfCaseSensitive = 1;
inline constexpr Byte sfWholeWords = 2;
inline constexpr Byte sfBackward = 4;

// The contract of TRegExpr::Search: on success Pos is the 1-based column of
// the match and Len its length; on failure Pos is 0.
using TLineMatcher = std::function<bool(const AnsiString& Line, Integer& Pos, Integer& Len, bool Forward)>;

// Searches from Pos; on success Pos is the match and Len its length. A line
// shorter than the start column is not searched; the plain search never
// matches an empty line, a matcher may.
bool SearchInLines(const AnsiString& Text, TStrings* Lines, Byte Flags, const TLineMatcher& Matcher, Integer& Len,
                   TPoint& Pos, const TCharSet& Delimiters);
bool SearchLines(const AnsiString& Text, TStrings* Lines, bool CaseSensitive, const TLineMatcher& Matcher,
                 Integer& Len, TPoint& Pos);
bool SearchLinesFromStart(const AnsiString& Text, TStrings* Lines, bool CaseSensitive, const TLineMatcher& Matcher,
                          Integer& Len, TPoint& Pos);

// First occurrence starting at or after Start (1-based); 0 when none.
Integer PosFrom(const AnsiString& Text, const AnsiString& In, Integer Start);
// Last occurrence whose first character lies at or before Start; the match
// may run past Start. 0 when none.
Integer RPosFrom(const AnsiString& Text, const AnsiString& In, Integer Start);
void ReplaceAllText(AnsiString& S, const AnsiString& Find, const AnsiString& Replacement);
void ReplaceAtPos(AnsiString& S, Integer Position, const AnsiString& Find, const AnsiString& Replacement);

// Position of the first character that is not a blank; length + 1 if none.
Integer FirstNonBlank(const AnsiString& S);
// Every C becomes N + 1 copies of it (N = 1 doubles ampersands).
AnsiString MultiplyChar(const AnsiString& S, char C, Integer N);
AnsiString RemoveChars(const TCharSet& Chars, const AnsiString& S);
void IncludeCharsInSet(const AnsiString& S, TCharSet& Set);
TCharSet MakeCharSet(const TCharSet& Base, const AnsiString& S, bool CaseSensitive);
AnsiString Blanks(Integer N);
void PadWithBlanks(AnsiString& S, Integer Length);
// The largest element; 0 for none.
Integer MaxOfInts(const std::vector<Integer>& Values);

void SetStringsFromArray(TStrings* List, const std::vector<AnsiString>& Values);
TStringList* CreateSortedStringList();
// Frees every line's object, then clears the list (also after a failure).
void ClearStringsObjects(TStrings* List);
// Frees the objects from the last line to the first without clearing.
void FreeStringsObjects(TStrings* List);
void FreeStringsAndObjects(TStrings*& List);

// A random (version 4) GUID from the system's generator.
TGUID NewGuid();
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
AnsiString GuidToText(const TGUID& Guid);

inline Integer RectWidth(const TRect& R) { return R.Right - R.Left; }
inline Integer RectHeight(const TRect& R) { return R.Bottom - R.Top; }
