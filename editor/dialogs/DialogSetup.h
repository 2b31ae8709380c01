// DialogSetup.h — what every dialog of the editor library does to itself on
// creation: the main window's font for forms that take their parent's, the
// hidden Help button with OK and Cancel moved into its row, and the
// broadcast that makes edit controls commit what was typed.
#pragma once
#include "platform/forms/Forms.h"

class TButton;

// Edit controls with buttons commit their text to their edit source on it.
inline constexpr UINT DCM_COMMITTEXT = 2035;

// The library shows Help buttons only while this is on (it is off).
bool GetShowHelpButtons();
void SetShowHelpButtons(bool Value);
// The library's switch for ApplyMainFormFont (on).
bool GetUseMainFormFont();
void SetUseMainFormFont(bool Value);

// For a form that takes its parent's font (the caller knows which do): the
// main window's font, when there is a main window and the switch is on.
void ApplyMainFormFont(TCustomForm* Form);
// Help visible only with the switch; hidden, OK moves to Cancel's place and
// Cancel to Help's. Captions "OK", "Cancel", "&Help". Any button may be nil.
void SetupDialogButtons(TButton* OK, TButton* Cancel, TButton* Help);
// Sends Msg to every control placed directly on Parent.
void BroadcastToControls(TWinControl* Parent, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
