#include "editor/view/AttributeParser.h"

#include <gtest/gtest.h>
#include "editor/text/MemoSource.h"
#include "editor/view/TextStyles.h"

namespace {

// An editor stand-in: font, colour, undo switch, styles and a memo source,
// counting what the attribute sets ask it to apply.
class TTestHost : public TComponent, public TAttributeParserHost {
public:
  TTestHost() : TComponent(nullptr) {
    Font.SetName("Courier New");
    Font.SetSize(10);
  }
  TFont* AttrHostFont() override { return &Font; }
  TColor AttrHostColor() override { return Color; }
  bool AttrHostAllowUndo() override { return AllowUndo; }
  TTextStyles* AttrHostTextStyles() override { return Styles; }
  TCustomMemoSource* AttrHostSource() override { return Source; }
  void AttrHostApply(TMemoAttributes& A) override {
    ++Applied;
    LastState = A.GetState();
  }
  Word AttrHostConsistentMask(TMemoAttributes&) override { return Mask; }

  TFont Font;
  TColor Color = clWindow;
  bool AllowUndo = true;
  TTextStyles* Styles = nullptr;
  TCustomMemoSource* Source = nullptr;
  int Applied = 0;
  Word LastState = 0;
  Word Mask = maAll;
};

// A distinct look per number: colour varies, font stays.
std::unique_ptr<TMemoAttributes> Look(int N) {
  auto A = std::make_unique<TMemoAttributes>();
  A->SetColor(TColor(0x010000 * (N % 256) + N / 256 + 1));
  return A;
}

TEST(TAttributeParser, EqualSetsShareAnIndexAndIndexTwelveIsNeverHandedOut) {
  TAttributeParser P(nullptr);
  ASSERT_EQ(P.AttrCount(), 1);
  std::vector<Integer> Got;
  for (int I = 0; I < 14; ++I) {
    auto A = Look(I);
    Got.push_back(P.AddAttr(*A));
  }
  const std::vector<Integer> Want = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15};
  EXPECT_EQ(Got, Want);
  auto Again = Look(3);
  EXPECT_EQ(P.AddAttr(*Again), 4);
  EXPECT_EQ(P.AttrCount(), 16);  // the URL entry sits at 12
}

struct TOverflowCase {
  bool HasHost, AllowUndo, ResetOnOverFlow;
  Integer Want;
  const char* Why;
};

TEST(TAttributeParser, FullTableReusesFreeIndexesOnlyWhenUndoCannotReturnThem) {
  const TOverflowCase Cases[] = {
      {true, true, false, 0, "undo on: the default look"},
      {true, false, false, 1, "undo off: first index no line uses"},
      {true, true, true, 1, "ResetOnOverFlow reuses even with undo"},
      {false, true, false, 1, "no editor: reuse"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTestHost Host;
    Host.AllowUndo = C.AllowUndo;
    TAttributeParser P(C.HasHost ? &Host : nullptr);
    P.SetResetOnOverFlow(C.ResetOnOverFlow);
    for (int I = 0; I < 300; ++I) {
      auto A = Look(I);
      const Integer Index = P.AddAttr(*A);
      EXPECT_NE(Index, TAttributeParser::UrlIndex);
      if (I == 253) {
        EXPECT_EQ(Index, 255);
      }
      if (I == 254) {
        EXPECT_EQ(Index, C.Want);
      }
    }
    EXPECT_EQ(P.AttrCount(), TAttributeParser::MaxAttributes);
  }
}

TEST(TAttributeParser, ReuseSkipsIndexesStillInTheText) {
  TTestHost Host;
  Host.AllowUndo = false;
  TMemoSource Source(nullptr);
  Host.Source = &Source;
  TAttributeParser P(&Host);
  Source.GetLines()->Add("abc");
  Source.GetLines()->Add("de");
  Source.SetSyntaxParser(&P);
  AnsiString Attrs;
  Source.GetColorData(1, Attrs);
  Source.GetLineItem(0)->Attributes = AnsiString("\x01\x02\x03", 3);
  Source.GetLineItem(1)->Attributes = AnsiString("\x05\x05", 2);
  for (int I = 0; I < 254; ++I) {
    auto A = Look(I);
    P.AddAttr(*A);
  }
  std::vector<Integer> Reused;
  for (int I = 254; I < 257; ++I) {
    auto A = Look(I);
    Reused.push_back(P.AddAttr(*A));
  }
  EXPECT_EQ(Reused, (std::vector<Integer>{4, 6, 7}));
  // The reused entry now has the new look and is found by it.
  auto Same = Look(255);
  EXPECT_EQ(P.AddAttr(*Same), 6);
  EXPECT_EQ(P.GetAttr(6)->GetColor(), Same->GetColor());
  Source.SetSyntaxParser(nullptr);
}

TEST(TAttributeParser, IndexesBeyondTheTableFallBackToTheEditorExceptTwelve) {
  TTestHost Host;
  Host.Color = clYellow;
  TAttributeParser P(&Host);
  TColor C = clNone;
  EXPECT_EQ(P.GetFont(40), &Host.Font);
  EXPECT_TRUE(P.GetBackColor(40, C));
  EXPECT_EQ(C, clYellow);
  EXPECT_EQ(P.GetFont(12), nullptr);
  EXPECT_FALSE(P.GetBackColor(12, C));
  // Entry 0 is the editor's look at creation.
  EXPECT_EQ(P.GetFont(0)->GetName(), "Courier New");
  EXPECT_EQ(P.GetFont(0)->GetSize(), 10);
  EXPECT_TRUE(P.GetBackColor(0, C));
  EXPECT_EQ(C, clYellow);

  TAttributeParser Alone(nullptr);
  EXPECT_EQ(Alone.GetFont(40), nullptr);
  EXPECT_TRUE(Alone.GetBackColor(40, C));
  EXPECT_EQ(C, TColor(-1));
}

TEST(TAttributeParser, UrlEntryTakesTheLookOfTextStyleTwelve) {
  TTestHost Host;
  TTextStyles Styles(nullptr);
  Styles.SetDefaultStyles();
  Styles.GetItem(12)->SetColor(clAqua);
  Styles.GetItem(12)->GetFont()->SetColor(clMaroon);
  Host.Styles = &Styles;
  TAttributeParser P(&Host);
  for (int I = 0; I < 12; ++I) {
    auto A = Look(I);
    P.AddAttr(*A);
  }
  ASSERT_EQ(P.AttrCount(), 14);
  TColor C = clNone;
  EXPECT_TRUE(P.GetBackColor(12, C));
  EXPECT_EQ(C, clAqua);
  EXPECT_EQ(P.GetFont(12)->GetColor(), clMaroon);
}

TEST(TAttributeParser, LinesKeepTheirStyleBytesAndClearStylesZeroesThem) {
  TTestHost Host;
  TMemoSource Source(nullptr);
  Host.Source = &Source;
  TAttributeParser P(&Host);
  Source.GetLines()->Add("abcd");
  Source.SetSyntaxParser(&P);
  EXPECT_TRUE(P.KeepsAttributes());
  AnsiString Attrs = "\x03";
  P.InitAttributes(0, "abc", Attrs);
  EXPECT_EQ(Attrs, AnsiString("\x03\0\0", 3));
  Attrs = "\x03\x04\x05\x06";
  P.InitAttributes(0, "ab", Attrs);
  EXPECT_EQ(Attrs, "\x03\x04");
  EXPECT_EQ(P.ParseLine("ab", 7, Attrs), 7);
  EXPECT_EQ(Attrs, "\x03\x04");

  Source.GetColorData(0, Attrs);
  auto A = Look(1);
  const Integer Index = P.AddAttr(*A);
  Source.GetLineItem(0)->Attributes = AnsiString(4, char(Index));
  Source.InvalidateParseCache();  // a kept attribute survives a re-parse
  Source.GetColorData(0, Attrs);
  EXPECT_EQ(Attrs, AnsiString(4, char(Index)));

  P.ClearStyles();
  EXPECT_EQ(P.AttrCount(), 1);
  EXPECT_TRUE(P.KeepsAttributes());
  Source.GetColorData(0, Attrs);
  EXPECT_EQ(Attrs, AnsiString(4, '\0'));
  TMemoAttributes Default;
  Default.AssignNoNotify(P.GetAttr(0));
  EXPECT_EQ(P.AddAttr(Default), 0);
  Source.SetSyntaxParser(nullptr);
}

TEST(TMemoAttributes, SettersMarkStateAndApplyThroughTheEditor) {
  TTestHost Host;
  TMemoSource Source(nullptr);
  Host.Source = &Source;
  TMemoAttributes A(&Host);
  EXPECT_EQ(A.GetName(), "Courier New");
  A.SetColor(clRed);
  EXPECT_EQ(Host.Applied, 0) << "no attribute parser: nothing to apply";
  EXPECT_EQ(A.GetState(), maColor);

  TAttributeParser P(&Host);
  Source.SetSyntaxParser(&P);
  A.SetState(0);
  A.SetStyle(TFontStyles{fsBold, fsUnderline});
  EXPECT_EQ(Host.Applied, 1);
  EXPECT_EQ(Host.LastState, maStyle | maBold | maUnderline);
  EXPECT_EQ(A.GetState(), 0);

  A.SetSize(10);  // unchanged and uniform: nothing
  EXPECT_EQ(Host.Applied, 1);
  Host.Mask = maAll & ~maSize;  // the selection moved over mixed sizes
  A.InvalidateConsistentMask();
  A.SetSize(10);
  EXPECT_EQ(Host.Applied, 2);
  EXPECT_EQ(Host.LastState, maSize);

  TFont F;
  F.SetName("Arial");
  F.SetSize(14);
  F.SetColor(clBlue);
  A.Assign(&F);
  EXPECT_EQ(Host.Applied, 3) << "one application for the whole assignment";
  EXPECT_EQ(A.GetFont()->GetName(), "Arial");
  EXPECT_EQ(A.GetFont()->GetSize(), 14);
  EXPECT_EQ(A.GetFont()->GetColor(), clBlue);
  Source.SetSyntaxParser(nullptr);
}

}  // namespace
