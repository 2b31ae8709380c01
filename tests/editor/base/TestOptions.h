// TestOptions.h — option and persistent classes for the editor-base tests,
// and a fixture that points the registry store at a fresh folder.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "editor/base/NamedItems.h"
#include "editor/base/OptionExt.h"
#include "editor/base/RegStorage.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Strings.h"

SX_ENUM(TTestFlag, tfOne, tfTwo, tfThree)
using TTestFlags = TSet<TTestFlag>;

class TTestFont : public TPersistent {
  SX_CLASS(TTestFont, TPersistent)
public:
  static void Published(TPublished<TTestFont>& P) {
    P.Property("Name", &TTestFont::FName, &TTestFont::FName);
    P.Property("Size", &TTestFont::FSize, &TTestFont::FSize);
  }
  AnsiString FName = "Courier New";
  Integer FSize = 10;
};

class TTestItem : public TDCNamedItem {
  SX_CLASS(TTestItem, TDCNamedItem)
public:
  explicit TTestItem(TCollection* C) : TDCNamedItem(C) {}
  static void Published(TPublished<TTestItem>& P) {
    P.Property("Name", &TTestItem::FName, &TTestItem::FName);
    P.Property("Value", &TTestItem::FValue, &TTestItem::FValue).Default(0);
  }
  Integer FValue = 0;
};

// Published in non-alphabetical order, so storage order shows.
class TTestOptions : public TOptionExt {
  SX_CLASS(TTestOptions, TOptionExt)
public:
  TTestOptions() : FItems(nullptr, TTestItem::StaticClass()) {}
  static void Published(TPublished<TTestOptions>& P) {
    P.Property("Width", &TTestOptions::FWidth, &TTestOptions::FWidth);
    P.Property("AutoIndent", &TTestOptions::FAutoIndent, &TTestOptions::FAutoIndent);
    P.Property("Flags", &TTestOptions::FFlags, &TTestOptions::FFlags);
    P.Property("Caption", &TTestOptions::FCaption, &TTestOptions::FCaption);
    P.Property("Ratio", &TTestOptions::FRatio, &TTestOptions::FRatio);
    P.Property("Font", &TTestOptions::GetFont, nullptr);
    P.Property("Lines", &TTestOptions::GetLines, nullptr);
    P.Property("Items", &TTestOptions::GetItems, nullptr);
    P.Property("Secret", &TTestOptions::FSecret, &TTestOptions::FSecret).Stored(false);
  }
  AnsiString GetKeyName() override { return "TestOpts\\"; }
  void SetDefaults() override {
    FWidth = 80;
    FAutoIndent = true;
    FCaption = "default";
  }
  void Changed() override {
    if (!SuppressChanged()) ++ChangedCount;
  }
  TTestFont* GetFont() { return &FFont; }
  TStringList* GetLines() { return &FLines; }
  TDCNamedItems* GetItems() { return &FItems; }

  Integer FWidth = 0;
  bool FAutoIndent = false;
  TTestFlags FFlags;
  AnsiString FCaption;
  double FRatio = 0;
  Integer FSecret = 0;
  int ChangedCount = 0;
  TTestFont FFont;
  TStringList FLines;
  TDCNamedItems FItems;
};

// A fresh registry store per test, and no option objects left behind.
class RegistryTest : public testing::Test {
protected:
  void SetUp() override {
    char Tmpl[] = "/tmp/sx_edreg_XXXXXX";
    FDir = ::mkdtemp(Tmpl);
    const char* Old = std::getenv("XDG_CONFIG_HOME");
    FHadOld = Old != nullptr;
    if (Old) FOld = Old;
    ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
    RegResetStore();
  }
  void TearDown() override {
    DoneGlobalOptions();
    SetEdPlatformId(VER_PLATFORM_WIN32_NT);
    RegResetStore();
    if (FHadOld)
      ::setenv("XDG_CONFIG_HOME", FOld.c_str(), 1);
    else
      ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(FDir);
  }
  // Opens Key (below the library root) in a registry object of the test's.
  bool Open(TRegistry& R, const AnsiString& Key) {
    return R.OpenKeyReadOnly("\\" + AnsiString(EdRegistryRoot) + (Key.empty() ? "" : "\\" + Key));
  }
  std::string FDir, FOld;
  bool FHadOld = false;
};
