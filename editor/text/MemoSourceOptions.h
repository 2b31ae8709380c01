// MemoSourceOptions.h — TMemoSourceOptions, the environment's settings for
// memo sources. The global object lives in the registry under
// "CodeEdit\MemoSource\"; a change of it is applied to every memo source
// whose UseGlobalOptions is on.
#pragma once
#include "editor/base/OptionExt.h"
#include "editor/text/MemoSource.h"

class TMemoSourceOptions : public TOptionExt {
  SX_CLASS(TMemoSourceOptions, TOptionExt)
public:
  TMemoSourceOptions() = default;
  static void Published(TPublished<TMemoSourceOptions>& P) {
    P.Property("KeepTrailingBlanks", &TMemoSourceOptions::GetKeepTrailingBlanks,
               &TMemoSourceOptions::SetKeepTrailingBlanks)
        .Default(false);
    P.Property("Options", &TMemoSourceOptions::GetOptions, &TMemoSourceOptions::SetOptions);
    P.Property("TabStops", &TMemoSourceOptions::GetTabStops, &TMemoSourceOptions::SetTabStops);
    P.Property("Delimeters", &TMemoSourceOptions::GetDelimeters, &TMemoSourceOptions::SetDelimeters);
    P.Property("BlockIndent", &TMemoSourceOptions::GetBlockIndent, &TMemoSourceOptions::SetBlockIndent);
  }

  AnsiString GetKeyName() override { return "CodeEdit\\MemoSource\\"; }
  void SetDefaults() override;
  // Re-applies the options to the sources that use them.
  void Changed() override;

  bool GetKeepTrailingBlanks() const { return FKeepTrailingBlanks; }
  void SetKeepTrailingBlanks(bool Value);
  TStringsOptions GetOptions() const { return FOptions; }
  void SetOptions(TStringsOptions Value);
  AnsiString GetTabStops() const { return FTabStops; }
  void SetTabStops(const AnsiString& Value);
  AnsiString GetDelimeters() const { return FDelimeters; }
  void SetDelimeters(const AnsiString& Value);
  Integer GetBlockIndent() const { return FBlockIndent; }
  void SetBlockIndent(Integer Value);

private:
  bool FKeepTrailingBlanks = false;
  TStringsOptions FOptions = DefaultStringsOptions();
  AnsiString FTabStops = "9,17";
  AnsiString FDelimeters;
  Integer FBlockIndent = 1;
};

// Registers the option class with the environment options (once).
void RegisterMemoSourceOptions();
