#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

namespace {

TEST(TFormatSettings, DefaultsToUsEnglish) {
  const TFormatSettings S = DefaultFormatSettings();
  EXPECT_EQ(S.DecimalSeparator, '.');
  EXPECT_EQ(S.ThousandSeparator, ',');
  EXPECT_EQ(S.DateSeparator, '/');
  EXPECT_EQ(S.TimeSeparator, ':');
  EXPECT_EQ(S.ShortDateFormat, "M/d/yyyy");
  EXPECT_EQ(S.CurrencyString, "$");
  EXPECT_EQ(S.LongMonthNames[0], "January");
  EXPECT_EQ(S.ShortDayNames[0], "Sun");
}

TEST(TFormatSettingsOverride, RestoresTheLiveSettingsEvenAfterAThrow) {
  TFormatSettings German = DefaultFormatSettings();
  German.DecimalSeparator = ',';
  German.ThousandSeparator = '.';
  try {
    TFormatSettingsOverride O(German);
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
    FormatSettings().CurrencyString = "EUR";  // changes made inside go too
    throw 1;
  } catch (int) {
  }
  EXPECT_EQ(FormatSettings().DecimalSeparator, '.');
  EXPECT_EQ(FormatSettings().CurrencyString, "$");
}

}  // namespace
