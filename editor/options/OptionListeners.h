// OptionListeners.h — the process-wide list of objects told when the global
// editor options change (DCM_OPTIONSCHANGED): editors and syntax parsers.
// Entries are borrowed; an object removes itself before it dies.
#pragma once
#include "platform/rtl/Object.h"

inline constexpr unsigned DCM_OPTIONSCHANGED = 2079;

// What a listener receives.
class TOptionsListener {
public:
  virtual ~TOptionsListener() = default;
  virtual void OptionsChanged() = 0;
};

// Adding twice keeps one entry.
void AddOptionListener(TOptionsListener* Listener);
void RemoveOptionListener(TOptionsListener* Listener);
// Tells every listener, first to last.
void BroadcastOptionsChanged();
