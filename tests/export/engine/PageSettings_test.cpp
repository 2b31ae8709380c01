#include <gtest/gtest.h>
#include "TraceEngine.h"
#include "export/engine/EngineSettings.h"

TEST(UnitFactor, PixelsPerUnitAtTheScreenResolution) {
  ASSERT_EQ(gtScreenPPI(), 96);
  struct { TgtUnitType Unit; double Want; } Cases[] = {
      {muPixels, 1.0}, {muInches, 96.0}, {muMM, 3.7795}, {muPoints, 1.3333}, {muTwips, 0.0667},
      {TgtUnitType(9), 1.0}};
  for (auto& C : Cases) {
    SCOPED_TRACE(int(C.Unit));
    EXPECT_NEAR(UnitFactor(C.Unit), C.Want, 5e-5);
  }
}

TEST(TgtPageSettings, PaperSizesInPixelsAndInches) {
  struct { TgtPaperSize Size; double W, H; const char* Why; } Cases[] = {
      {A4, 793.6992, 1122.5184, "A4 at 96 dpi"},
      {ps11X17, 11 * 96.0, 17 * 96.0, "11x17 is eleven inches wide"},
      {Ledger, 17 * 96.0, 11 * 96.0, "stored wider than high"},
      {Letter, 8.5 * 96, 11 * 96.0, "letter"}};
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TgtPageSettings P;
    P.SetPaperSize(C.Size);
    EXPECT_NEAR(P.WidthPx(), C.W, 1e-6);
    EXPECT_NEAR(P.HeightPx(), C.H, 1e-6);
  }
  TgtPageSettings P;
  P.SetUnitFactor(UnitFactor(muInches));
  EXPECT_NEAR(P.GetWidth(), 8.2677, 1e-9);
  EXPECT_NEAR(P.GetHeight(), 11.6929, 1e-9);
}

TEST(TgtPageSettings, LandscapeSwapsOnceAndTableSizesFollowIt) {
  TgtPageSettings P;
  P.SetOrientation(poLandscape);
  P.SetOrientation(poLandscape);
  EXPECT_NEAR(P.WidthPx(), 1122.5184, 1e-6);
  P.SetPaperSize(Letter);
  EXPECT_DOUBLE_EQ(P.WidthPx(), 11 * 96.0);
}

TEST(TgtPageSettings, WidthTakesEffectOnlyForCustomPaper) {
  TgtPageSettings P;
  P.SetWidth(500);
  EXPECT_NEAR(P.WidthPx(), 793.6992, 1e-6);
  P.SetPaperSize(Custom);
  P.SetWidth(500);
  EXPECT_DOUBLE_EQ(P.WidthPx(), 500);
  P.SetPaperSize(A5);
  EXPECT_NEAR(P.WidthPx(), 5.8267 * 96, 1e-6);
}

TEST(TgtCustomDocumentEngine, ChangingTheUnitKeepsThePagePhysicallyTheSame) {
  TTraceEngine E;
  E.SetMeasurementUnit(muInches);
  E.GetPage()->SetLeftMargin(1);
  E.SetMeasurementUnit(muMM);
  EXPECT_NEAR(E.GetPage()->GetLeftMargin(), 25.4, 1e-3);
  EXPECT_DOUBLE_EQ(E.GetPage()->LeftMarginPx(), 96);
}

TEST(TgtCustomDocumentEngine, PixelsOfAnotherInputResolutionAreRescaled) {
  TTraceEngine E;
  E.SetInputXRes(300);
  EXPECT_DOUBLE_EQ(E.UnitToPixelsX(300), 96);
  EXPECT_DOUBLE_EQ(E.UnitToPixelsY(300), 300);
  E.SetMeasurementUnit(muInches);
  EXPECT_DOUBLE_EQ(E.UnitToPixelsX(0.25), 24);
}

TEST(gtRectToTwips, WidthAndHeightConvertAsDifferences) {
  EXPECT_EQ(gtRectToTwips(25, 25, 600, 800, 96), TRect(375, 375, 9000, 12000));
  EXPECT_EQ(gtRectToTwips(25, 25, 600, 800, 120), TRect(300, 300, 7200, 9600));
  // 24.5 rounds to 24 (even), 25.5 to 26.
  EXPECT_EQ(gtRectToTwips(24.5, 25.5, 100, 100, 96).Left, 360);
  EXPECT_EQ(gtRectToTwips(24.5, 25.5, 100, 100, 96).Top, 390);
}

TEST(TgtCustomDocumentEngine, BandAreaFollowsTheReferencePointAndBand) {
  TTraceEngine E;
  TgtPageSettings* P = E.GetPage();
  P->SetLeftMargin(10);
  P->SetRightMargin(20);
  P->SetTopMargin(30);
  P->SetBottomMargin(40);
  P->SetHeaderHeight(50);
  P->SetFooterHeight(60);
  E.BeginDoc();
  struct { TgtReferencePoint Ref; TgtBand Band; TgtDoubleRect Want; } Cases[] = {
      {rpBand, bdPageBody, {10, 80, 580, 700}}, {rpBand, bdHeader, {10, 30, 580, 80}},
      {rpBand, bdFooter, {10, 700, 580, 760}},  {rpBand, bdOverlay, {10, 30, 580, 760}},
      {rpMargin, bdPageBody, {10, 30, 580, 760}}, {rpPage, bdPageBody, {0, 0, 580, 760}}};
  for (auto& C : Cases) {
    E.SetReferencePoint(C.Ref);
    E.SetCurrentBand(C.Band);
    EXPECT_EQ(E.GetBandArea(), C.Want) << int(C.Ref) << " " << int(C.Band);
  }
  E.SetReferencePoint(rpBand);
  E.SetCurrentBand(bdPageBody);
  E.EndDoc();
}

TEST(TgtDocSettings, SharedChangesReachOnlyEnginesThatStillFollow) {
  TgtDocSettings S(nullptr);
  TTraceEngine A, B;
  A.SetSettings(&S);
  B.SetSettings(&S);
  EXPECT_EQ(A.GetMeasurementUnit(), muPixels);
  B.SetBackgroundColor(clRed);
  S.SetBackgroundColor(clBlue);
  EXPECT_EQ(A.GetBackgroundColor(), clBlue);
  EXPECT_EQ(B.GetBackgroundColor(), clRed);
  B.GetPage()->SetPaperSize(Letter);
  S.GetPage()->SetPaperSize(A5);
  EXPECT_EQ(A.GetPage()->GetPaperSize(), A5);
  EXPECT_EQ(B.GetPage()->GetPaperSize(), Letter);
  S.GetPreferences()->SetProcessAfterEachPage(true);
  EXPECT_TRUE(A.GetPreferences()->GetProcessAfterEachPage());
  A.SetSettings(nullptr);
  S.SetBackgroundColor(clGreen);
  EXPECT_EQ(A.GetBackgroundColor(), clBlue);
}
