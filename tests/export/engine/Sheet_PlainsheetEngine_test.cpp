#include <gtest/gtest.h>
#include "export/engine/PlainsheetEngine.h"

namespace {
// A plain-sheet writer that writes nothing and notes the outline its
// FinishDocument sees.
class TOutlineEngine : public TgtCustomPlainsheetEngine {
public:
  TOutlineEngine() : TgtCustomPlainsheetEngine(nullptr) {
    SetMeasurementUnit(muPixels);
    GetPreferences()->SetShowSetupDialog(false);
    GetPreferences()->SetOpenAfterCreate(false);
  }
  Word SetupResult = 1;
  Integer SeenAtFinish = -1;
  Word ShowSetupDialog() override { return SetupResult; }
  void FinishDocument() override { SeenAtFinish = GetOutline() ? Integer(GetOutline()->size()) : -1; }
};
}  // namespace

TEST(TgtCustomPlainsheetEngine, OutlineExistsOnlyWhileADocumentIsOpen) {
  TOutlineEngine E;
  EXPECT_EQ(E.GetOutline(), nullptr);
  EXPECT_EQ(E.AddOutline(u"a", -1, 1, 0), -1);
  EXPECT_EQ(E.AddOutlineLink(u"a", -1, "http://x"), -1);
  E.BeginDoc();
  ASSERT_NE(E.GetOutline(), nullptr);
  EXPECT_EQ(E.AddOutline(u"a", -1, 1, 12.5), 0);
  EXPECT_EQ(E.AddOutlineLink(u"b", 0, "http://x"), 1);
  E.EndDoc();
  EXPECT_EQ(E.SeenAtFinish, 2) << "the writer reads the outline while finishing";
  EXPECT_EQ(E.GetOutline(), nullptr);
  EXPECT_EQ(E.AddOutline(u"a", -1, 1, 0), -1);
  E.BeginDoc();
  EXPECT_TRUE(E.GetOutline()->empty()) << "entries never carry over to the next document";
  E.EndDoc();
}

TEST(TgtCustomPlainsheetEngine, AddOutlineChecksParentAndPage) {
  TOutlineEngine E;
  E.BeginDoc();
  struct { const char* Why; Integer Parent, Page, Want; } FirstPage[] = {
      {"page 0", -1, 0, -1},
      {"page not begun yet", -1, 2, -1},
      {"first entry under itself", 0, 1, -1},
      {"parent below -1", -2, 1, -1},
      {"first entry at the top", -1, 1, 0},
      {"parent equal to the count", 1, 1, -1},
      {"child of the first", 0, 1, 1},
  };
  for (auto& C : FirstPage) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(E.AddOutline(u"t", C.Parent, C.Page, 0), C.Want);
  }
  E.NewPage();
  EXPECT_EQ(E.AddOutline(u"p2", 1, 2, 40), 2);
  EXPECT_EQ(E.AddOutline(u"p3", -1, 3, 0), -1);
  const TgtTOCItem& Last = *E.GetOutline()->back();
  EXPECT_EQ(Last.Title, u"p2");
  EXPECT_EQ(Last.ParentIndex, 1);
  EXPECT_EQ(Last.PageNo, 2);
  EXPECT_EQ(Last.Y, 40);
  EXPECT_EQ(Last.X, 0);
  EXPECT_TRUE(Last.URL.empty());
  E.EndDoc();
}

TEST(TgtCustomPlainsheetEngine, AddOutlineLinkIgnoresPagesButChecksTheParent) {
  TOutlineEngine E;
  E.BeginDoc();
  EXPECT_EQ(E.AddOutlineLink(u"l", 0, "u"), -1);
  EXPECT_EQ(E.AddOutlineLink(u"l", -1, "http://a"), 0);
  EXPECT_EQ(E.AddOutlineLink(u"m", 0, "http://b"), 1);
  const TgtTOCItem& Link = *E.GetOutline()->back();
  EXPECT_EQ(Link.PageNo, 0);
  EXPECT_EQ(Link.URL, "http://b");
  EXPECT_EQ(Link.ParentIndex, 0);
  E.EndDoc();
}

TEST(TgtCustomPlainsheetEngine, CancelledSetupStillReleasesTheOutlineAtEndDoc) {
  TOutlineEngine E;
  E.GetPreferences()->SetShowSetupDialog(true);
  E.SetupResult = 2;
  E.BeginDoc();
  EXPECT_FALSE(E.IsDocumentOpen());
  EXPECT_NE(E.GetOutline(), nullptr);
  EXPECT_EQ(E.AddOutlineLink(u"l", -1, "u"), -1);
  E.EndDoc();
  EXPECT_EQ(E.GetOutline(), nullptr);
}

TEST(TgtPlainSheetPreferences, AssignCopiesTheBaseFlagsOnly) {
  TOutlineEngine A, B;
  EXPECT_TRUE(A.GetPreferences()->GetActiveHyperLinks()) << "a new object links web addresses";
  A.GetPreferences()->SetActiveHyperLinks(false);
  A.GetPreferences()->SetProcessAfterEachPage(true);
  A.GetPreferences()->SetEmailAfterCreate(true);
  B.SetPreferences(A.GetPreferences());
  EXPECT_TRUE(B.GetPreferences()->GetProcessAfterEachPage());
  EXPECT_TRUE(B.GetPreferences()->GetEmailAfterCreate());
  EXPECT_TRUE(B.GetPreferences()->GetActiveHyperLinks());
}

TEST(TgtCustomPlainsheetEngine, PreferencesAreOfThePlainSheetClassFromTheStart) {
  TgtCustomPlainsheetEngine E(nullptr);
  EXPECT_NE(dynamic_cast<TgtPlainSheetPreferences*>(static_cast<TgtCustomDocumentEngine&>(E).GetPreferences()),
            nullptr);
  // The base's defaults survive the exchange.
  EXPECT_TRUE(E.GetPreferences()->GetShowSetupDialog());
  EXPECT_TRUE(E.GetPreferences()->GetOpenAfterCreate());
}
