// The colour, font and printer set-up dialogs: the values they return
// through the hook and through their forms, the stored custom colours,
// and the checks that keep a dialog open.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "platform/forms/ColorDialog.h"
#include "platform/forms/DialogForms_p.h"
#include "platform/forms/FontDialog.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/PrinterDialogs.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/VirtualKeys.h"

namespace {
using ColorDialogs = TDialogsTest;
using FontDialogs = TDialogsTest;
using PrinterDialogs = TDialogsTest;

void ClickListItem(TListBox* L, Integer Index) {
  const TRect R = L->ItemRect(Index);
  TDialogsTest::ClickAt(L, R.Left + 5, (R.Top + R.Bottom) / 2);
}
}  // namespace

TEST_F(ColorDialogs, CustomColorsReadAndWriteTheStoredLines) {
  TColorDialog D(nullptr);
  TStrings* C = D.GetCustomColors();
  C->Add("ColorA=FF0000");
  C->Add("ColorC=00ff80");
  C->Add("ColorB=not a colour");
  C->Add("ColorQ=000000");   // no such slot
  C->Add("Other=000000");
  const auto V = D.CustomColorValues();
  EXPECT_EQ(V[0], clRed) << "red first in the stored text";
  EXPECT_EQ(V[1], clWhite) << "an unreadable value is an unused slot";
  EXPECT_EQ(V[2], TColor(0x80FF00));
  EXPECT_EQ(V[15], clWhite);
  D.SetCustomColorValues(V);
  ASSERT_EQ(C->GetCount(), 16);
  EXPECT_EQ(C->GetStrings(0), "ColorA=FF0000");
  EXPECT_EQ(C->GetStrings(2), "ColorC=00FF80");
  EXPECT_EQ(C->GetStrings(15), "ColorP=FFFFFF");
}

TEST_F(ColorDialogs, TheHookAnswersAColourAsPlainRGB) {
  TColorDialog D(nullptr);
  D.SetColor(clGreen);
  TDialogScript S;
  S.ThenColor(clBtnFace).Then(mrCancel);
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(D.GetColor(), TColor(ColorToRGB(clBtnFace)));
  EXPECT_EQ(S.Asked()[0].Caption, "Color");
  EXPECT_FALSE(D.Execute());
  EXPECT_EQ(D.GetColor(), TColor(ColorToRGB(clBtnFace))) << "cancel keeps the colour";
}

TEST_F(ColorDialogs, TheFormTakesABasicColourOrOneMadeFromItsPartsIntoACustomSlot) {
  TColorDialog D(nullptr);
  TDialogScript S;
  S.ThenShowForm().ThenShowForm();
  // A basic colour: red is in the second row.
  const auto& Basic = BasicDialogColors();
  const Integer RedCell = Integer(std::find(Basic.begin(), Basic.end(), clRed) - Basic.begin());
  ASSERT_LT(RedCell, 48);
  ASSERT_TRUE(Drive(D, [&] { return D.Execute(); },
                    {
                        [&](TForm* F) {
                          auto* G = Named<TColorSwatches>(F, "BasicColors");
                          const TRect R = G->CellRect(RedCell);
                          ClickAt(G, R.Left + 4, R.Top + 4);
                        },
                        [&](TForm*) { Key(VK_RETURN); },
                    }));
  EXPECT_EQ(D.GetColor(), clRed);
  // Opened fully, the parts make a colour that Add puts in the first slot.
  ASSERT_TRUE(Drive(D, [&] { return D.Execute(); },
                    {
                        [&](TForm* F) {
                          EXPECT_FALSE(Named<TEdit>(F, "RedEdit")->GetVisible()) << "not opened fully yet";
                          ClickAt(Named<TButton>(F, "DefineButton"), 10, 10);
                        },
                        [&](TForm* F) {
                          EXPECT_TRUE(Named<TEdit>(F, "RedEdit")->GetVisible());
                          EXPECT_EQ(Named<TEdit>(F, "RedEdit")->GetText(), "255");
                          Type("16"), Key(VK_TAB), Type("32"), Key(VK_TAB), Type("48");
                        },
                        [&](TForm* F) { ClickAt(Named<TButton>(F, "AddButton"), 10, 10); },
                        // Enter would press the focused Add button again.
                        [&](TForm* F) { ClickAt(Named<TButton>(F, "OkButton"), 10, 10); },
                    }));
  EXPECT_EQ(D.GetColor(), TColor(0x302010));
  ASSERT_EQ(D.GetCustomColors()->GetCount(), 16);
  EXPECT_EQ(D.GetCustomColors()->GetStrings(0), "ColorA=102030");
  EXPECT_EQ(D.GetCustomColors()->GetStrings(1), "ColorB=FFFFFF");
}

TEST_F(FontDialogs, TheHookAnswersAFontAndAnUnknownFamilyOrSizeIsRefused) {
  TFontDialog D(nullptr);
  D.GetFont()->SetName("Liberation Sans");
  D.GetFont()->SetSize(10);
  D.SetOptions({fdEffects, fdLimitSize});
  D.SetMinFontSize(6);
  D.SetMaxFontSize(30);
  TDialogScript S;
  S.ThenFont({"No Such Family", 12, {}, clBlack})
      .Then(mrOk)
      .ThenFont({"liberation serif", 40, {}, clBlack})
      .Then(mrOk)
      .ThenFont({"liberation serif", 14, {fsBold, fsUnderline}, clRed});
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(D.GetFont()->GetName(), "Liberation Serif") << "spelled as the list spells it";
  EXPECT_EQ(D.GetFont()->GetSize(), 14);
  EXPECT_EQ(D.GetFont()->GetStyle(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(D.GetFont()->GetColor(), clRed);
  ASSERT_EQ(S.Asked().size(), 5u);
  EXPECT_EQ(S.Asked()[1].Text.substr(0, 32), "There is no font with that name.");
  EXPECT_EQ(S.Asked()[3].Text, "Size must be between 6 and 30 points.");
}

TEST_F(FontDialogs, FamiliesComeFromTheFontLayer) {
  TFontDialog D(nullptr);
  const std::vector<AnsiString> All = D.Families();
  for (const char* Name : {"Liberation Sans", "Liberation Serif", "DejaVu Sans", "Arial", "Times New Roman"}) {
    SCOPED_TRACE(Name);
    EXPECT_NE(std::find(All.begin(), All.end(), Name), All.end());
  }
  EXPECT_TRUE(std::is_sorted(All.begin(), All.end(),
                             [](const AnsiString& A, const AnsiString& B) { return CompareText(A, B) < 0; }));
  D.SetOptions({fdTrueTypeOnly});
  EXPECT_LE(D.Families().size(), All.size());
}

TEST_F(FontDialogs, TheFormTakesTheFamilyStyleSizeAndEffectsChosen) {
  TFontDialog D(nullptr);
  D.GetFont()->SetName("Liberation Sans");
  D.GetFont()->SetSize(10);
  TDialogScript S;
  S.ThenShowForm();
  ASSERT_TRUE(Drive(D, [&] { return D.Execute(); },
                    {
                        [&](TForm* F) {
                          EXPECT_EQ(Named<TEdit>(F, "FamilyEdit")->GetText(), "Liberation Sans");
                          Type("Liberation Serif");
                        },
                        [&](TForm* F) { ClickListItem(Named<TListBox>(F, "StyleList"), 3); },
                        [&](TForm* F) {
                          auto* Sizes = Named<TListBox>(F, "SizeList");
                          ClickListItem(Sizes, Sizes->GetItems()->IndexOf("14"));
                        },
                        [&](TForm* F) { ClickAt(Named<TCheckBox>(F, "UnderlineCheck"), 4, 8); },
                        [&](TForm*) { Key(VK_RETURN); },
                    }));
  EXPECT_EQ(D.GetFont()->GetName(), "Liberation Serif");
  EXPECT_EQ(D.GetFont()->GetSize(), 14);
  EXPECT_EQ(D.GetFont()->GetStyle(), (TFontStyles{fsBold, fsItalic, fsUnderline}));
}

TEST_F(PrinterDialogs, OffersTheBuiltInFilePrinterAndKeepsTheChoice) {
  TPrinterSetupDialog D(nullptr);
  EXPECT_EQ(SetupPrinterNames(), std::vector<AnsiString>{"File Printer"});
  TDialogScript S;
  S.ThenPrinter("Laser 9000").Then(mrOk).ThenPrinter("File Printer").ThenShowForm();
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(S.Asked()[1].Text, "There is no printer named \"Laser 9000\".");
  EXPECT_EQ(D.GetPrinterName(), "File Printer");
  EXPECT_FALSE(D.GetLandscape());
  ASSERT_TRUE(Drive(D, [&] { return D.Execute(); },
                    {
                        [&](TForm* F) {
                          EXPECT_EQ(F->GetCaption(), "Print Setup");
                          EXPECT_EQ(Named<TComboBox>(F, "PrinterCombo")->GetItems()->GetCount(), 1);
                          ClickAt(Named<TRadioButton>(F, "LandscapeRadio"), 4, 8);
                        },
                        [&](TForm*) { Key(VK_RETURN); },
                    }));
  EXPECT_TRUE(D.GetLandscape());
}

TEST_F(FontDialogs, ApplyHandsOverTheFontWhileTheDialogStaysOpen) {
  struct TApplied : TObject {
    AnsiString Name;
    void Apply(TObject* Sender) { Name = static_cast<TFontDialog*>(Sender)->GetFont()->GetName(); }
  } Applied;
  TFontDialog D(nullptr);
  D.GetFont()->SetName("Liberation Sans");
  D.SetOptions({fdEffects, fdApplyButton});
  D.OnApply = TNotifyEvent(&Applied, &TApplied::Apply);
  TDialogScript S;
  S.ThenShowForm();
  EXPECT_FALSE(Drive(D, [&] { return D.Execute(); },
                     {
                         [&](TForm*) { Type("DejaVu Sans"); },
                         [&](TForm* F) { ClickAt(Named<TButton>(F, "ApplyButton"), 10, 10); },
                         [&](TForm* F) {
                           EXPECT_TRUE(F->GetVisible());
                           EXPECT_EQ(Applied.Name, "DejaVu Sans");
                           Key(VK_ESCAPE);
                         },
                     }));
  EXPECT_EQ(D.GetFont()->GetName(), "DejaVu Sans") << "what was applied stays after Cancel";
}
