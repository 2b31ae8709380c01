// ShortCuts.h — keyboard shortcuts as menus, bar items and the settings files
// keep them: a 16-bit value holding the virtual key in the low byte and the
// Shift, Ctrl and Alt flags in bits 13 to 15 (the hot-key value of the
// settings shares this layout), and its text form "Shift+Ctrl+F9".
//
// Key names are those of the US English layout: the fixed ones ("BkSp",
// "PgUp", "Del", "F1") and, for the other keys, the names that layout gives
// its keys ("Num +", ";", "Caps Lock"). A key without a name has no text.
#pragma once
#include "platform/rtl/Sets.h"
#include "platform/rtl/Types.h"

// Which modifier keys and mouse buttons were down, and whether a click was
// the second of a double click; key and mouse events carry it.
enum TShiftStateElem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateElem>;

using TShortCut = Word;

constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// The shortcut of a key with the Shift, Ctrl and Alt members of Shift (the
// mouse members are ignored); 0 for a key above 255.
TShortCut ShortCut(Word Key, TShiftState Shift);
// Splits a shortcut into its key and its Shift, Ctrl and Alt members.
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);

// "Shift+", "Ctrl+" and "Alt+" (in that order) before the key's name; ''
// when the key has no name, whatever the modifiers.
AnsiString ShortCutToText(TShortCut ShortCut);

// Reads modifier prefixes "Shift+", "Ctrl+", "Alt+" or "^" (Ctrl) in any
// order and case, then the key by name, ignoring case: the first virtual key
// from 8 to 255 whose text matches. 0 for a text that names no key (an empty
// text, "Ctrl+", "Ctrl+$", "Foo+A"). Blanks are not skipped.
TShortCut TextToShortCut(const AnsiString& Text);
