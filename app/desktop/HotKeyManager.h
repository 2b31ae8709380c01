// HotKeyManager.h — system-wide hot keys and their texts.
//
// A hot-key value is an unsigned 32-bit number: bits 0-7 the virtual key,
// $2000 Shift, $4000 Ctrl, $8000 Alt, $10000 the Windows key (for Shift,
// Ctrl and Alt the layout of a TShortCut, so a shortcut is a hot key).
// THotKeyManager registers hot keys with the window system under global
// atoms ("HotKeyManagerHotKey<value>"), owns the hidden window that gets
// WM_HOTKEY and fires OnHotKeyPressed with the value and the atom (the id).
// HotKeyToText and TextToHotKey convert between a value and its text
// ('Ctrl+Home', 'Alt+F5'), in the user's layout (Localized) or in US
// English. Main thread only.
#pragma once
#include <vector>

#include "platform/forms/Controls.h"

using TOnHotKeyPressed = TEvent<void(Cardinal HotKey, Word Index)>;

// Key plus the modifier flags (MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4,
// MOD_WIN 8) in the value's bits; only the key's low 8 bits are taken.
Cardinal HotKeyOf(Word Modifiers, Word Key);
void SeparateHotKey(Cardinal HotKey, Word& Modifiers, Word& Key);
// Modifier names in the order Ctrl, Shift, Alt, Win, each followed by "+",
// then the key's name ("Ctrl+" for a key without a name).
AnsiString HotKeyToText(Cardinal HotKey, bool Localized);
// 0 for a text that is no hot key: an unknown modifier word, a lone
// modifier, an empty text, a key name no key of the layout bears (so
// "Ctrl+$" is 0 on a layout without an unshifted "$").
Cardinal TextToHotKey(const AnsiString& Text, bool Localized);
// What a settings dialog shows for a hot-key text: the text itself, or
// "Not available on this keyboard" when no key of the layout has it.
AnsiString HotKeyDisplayText(const AnsiString& Text, bool Localized);
extern const char* const HotKeyNotAvailableText;

// The unit's state: the local names of Shift, Ctrl, Alt and the Windows key
// and the US English layout, set up on first use of a conversion. Ending
// unloads the English layout when the unit loaded it; the next conversion
// starts the unit again (the layout then active gives the local names).
void HotKeyUnitEnd();

class THotKeyManager : public TComponent {
  SX_CLASS(THotKeyManager, TComponent)
public:
  explicit THotKeyManager(TComponent* AOwner);
  ~THotKeyManager() override;

  static void Published(TPublished<THotKeyManager>& P) {
    P.Property("OnHotKeyPressed", &THotKeyManager::OnHotKeyPressed, &THotKeyManager::OnHotKeyPressed);
  }

  // The id (atom) the hot key is registered under; 0 when the value has no
  // key or the window system refused it (no atom is left behind then).
  Word AddHotKey(Cardinal HotKey);
  // Removes Index and registers NewHotKey: the new id; 0 when Index is
  // unknown (nothing changes) or the new key is refused (the old is gone).
  Word ChangeHotKey(Word Index, Cardinal NewHotKey);
  // False for an unknown id.
  bool RemoveHotKey(Word Index);
  void ClearHotKeys();

  // The hidden window that gets the hot-key messages.
  HWND Handle() const { return FHandle; }
  // The registered values in registration order.
  Integer HotKeyCount() const { return Integer(FHotKeys.size()); }
  Cardinal HotKeys(Integer Index) const { return FHotKeys.at(std::size_t(Index)).HotKey; }

  TOnHotKeyPressed OnHotKeyPressed;

private:
  struct THotKeyEntry {
    Cardinal HotKey;
    Word Atom;
  };
  void WndProc(TMessage& Message);
  std::vector<THotKeyEntry> FHotKeys;
  HWND FHandle = nullptr;
};
