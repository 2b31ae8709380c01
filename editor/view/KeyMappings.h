// KeyMappings.h — the five key mappings of the editor control ("Default",
// "Classic", "Brief", "Epsilon", "Visual Studio"): builders that append
// bindings to an editor's key list in a fixed order (the binding added
// last wins a collision), registered for TCustomDCMemo.
#pragma once
#include "platform/rtl/AnsiStrings.h"

class TObject;

void InitDefaultKeyMapping(TObject* Control);
void InitClassicKeyMapping(TObject* Control);
void InitBriefKeyMapping(TObject* Control);
void InitEpsilonKeyMapping(TObject* Control);
void InitVisualStudioKeyMapping(TObject* Control);
// Registers the five once (later calls do nothing).
void RegisterMemoKeyMappings();
