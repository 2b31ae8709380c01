#include "platform/rtl/FormatSettings.h"

TFormatSettings DefaultFormatSettings() { return TFormatSettings(); }

TFormatSettings& FormatSettings() {
  static TFormatSettings Settings;
  return Settings;
}

TFormatSettingsOverride::TFormatSettingsOverride(const TFormatSettings& Settings)
    : FSaved(FormatSettings()) {
  FormatSettings() = Settings;
}

TFormatSettingsOverride::~TFormatSettingsOverride() { FormatSettings() = FSaved; }
