// The engines' setup dialogs as BeginDoc shows them: the engine's values
// in the controls, OK writing the changed ones back into the document that
// follows, Cancel writing nothing, the background picture's preview, and
// the dialogs' look at chosen pixels.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "export/dialogs/EngineDlgs.h"
#include "export/dialogs/SheetDlgs.h"
#include "export/image/PngEngine.h"
#include "export/image/RasterSupport.h"
#include "export/pdf/PdfEngine.h"
#include "export/sheet/SheetSupport.h"
#include "export/svg/SvgEngine.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Timers.h"
#include "platform/win/Win.h"

namespace {
using raster::OutDir;
using raster::Py;
using sxtest::ReadFile;
using sxtest::RunCommand;

class EngineDialogs : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterFormsClasses();
    ResetWindowSystem();
    UseVirtualClock();
    HeadlessDisplay().SetWorkArea({0, 0, 1024, 738});
    App = std::make_unique<TApplication>(nullptr);
    App->SetTitle("Engine dialogs test");
  }
  void TearDown() override {
    App.reset();
    HeadlessDisplay().SetIdleHandler(nullptr);
    ResetWindowSystem();
    UseRealClock();
  }

  using TStep = std::function<void(TgtDocumentDlg* Dialog)>;
  // Runs Steps against the setup dialog while Run shows it, one per idle
  // turn once the screen has settled (a form over the dialog, such as the
  // preview, gets its turns too).
  void Drive(const std::function<void()>& Run, std::vector<TStep> Steps) {
    size_t Next = 0;
    int Idle = 0;
    HeadlessDisplay().SetIdleHandler([&] {
      auto* D = dynamic_cast<TgtDocumentDlg*>(TgtBaseDlg::Showing());
      if (!D || Next >= Steps.size()) {
        ADD_FAILURE() << "a modal loop waits with no step left (after step " << Next << ")";
        return false;
      }
      if (++Idle % 2 == 1) return true;  // let the screen paint between steps
      Steps[Next++](D);
      return true;
    });
    Run();
    HeadlessDisplay().SetIdleHandler(nullptr);
    EXPECT_EQ(Next, Steps.size()) << "the dialog closed before every step ran";
  }

  static void ClickAt(TControl* C, int X, int Y) {
    const TPoint P = C->ClientToScreen({X, Y});
    HeadlessDisplay().Click(P.X, P.Y);
  }
  static void Click(TControl* C) { ClickAt(C, C->GetWidth() / 2, C->GetHeight() / 2); }
  static void TypeInto(TWinControl* Edit, const AnsiString& Text) {
    Click(Edit);
    HeadlessDisplay().TypeText(Text);
  }
  static void OpenPage(TgtDocumentDlg* D, const AnsiString& Line) {
    const Integer I = D->lbDocumentDlg->GetItems()->IndexOf(Line);
    ASSERT_GE(I, 0) << Line.c_str();
    const TRect R = D->lbDocumentDlg->ItemRect(I);
    ClickAt(D->lbDocumentDlg, R.Left + 5, (R.Top + R.Bottom) / 2);
  }
  static COLORREF PixelAt(TControl* C, int X, int Y) {
    const TPoint P = C->ClientToScreen({X, Y});
    return HeadlessDisplay().ScreenPixel(P.X, P.Y);
  }
  static void SaveShot(TForm* Form, const std::string& Name) {
    TRect R;
    GetWindowRect(Form->Handle(), &R);
    HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/" + Name + ".png", &R);
  }
  static AnsiString Selected(TComboBox* C) {
    const Integer I = C->GetItemIndex();
    return I < 0 ? AnsiString() : C->GetItems()->GetStrings(I);
  }
  static std::vector<AnsiString> Lines(TStrings* S) {
    std::vector<AnsiString> V;
    for (Integer I = 0; I < S->GetCount(); ++I) V.push_back(S->GetStrings(I));
    return V;
  }

  std::unique_ptr<TApplication> App;
};

template <class E>
std::unique_ptr<E> MakeEngine(const std::string& FileName) {
  auto En = std::make_unique<E>(nullptr);
  En->SetMeasurementUnit(muPixels);
  En->GetPreferences()->SetOpenAfterCreate(false);
  En->GetPage()->SetPaperSize(Custom);
  En->GetPage()->SetWidth(120);
  En->GetPage()->SetHeight(60);
  En->SetFileName(FileName);
  return En;
}

void Draw(TgtCustomDocumentEngine& E, int Pages = 1) {
  if (E.GetDocumentState() != dsInDocument) return;
  for (int P = 0; P < Pages; ++P) {
    if (P > 0) E.NewPage();
    E.TextOut(5, 5, u"Ink");
  }
  E.EndDoc();
}

template <class E>
std::unique_ptr<TgtCustomDocumentEngine> Make(const std::string& F) {
  return std::unique_ptr<TgtCustomDocumentEngine>(MakeEngine<E>(F));
}
}  // namespace

TEST_F(EngineDialogs, PdfDialogShowsTheEngineValuesAndOkEncryptsWithTheTypedPasswords) {
  if (!raster::HaveTool("/usr/bin/qpdf")) GTEST_SKIP() << "qpdf is not installed";
  const std::string Dir = OutDir("pdf_ok");
  auto E = MakeEngine<TgtPDFEngine>(Dir + "doc");
  E->GetDocInfo()->SetTitle(u"Quarterly");
  E->GetViewerPreferences()->PageLayout = plTwoColumnLeft;
  TDialogScript S;
  S.ThenShowForm();
  Drive([&] { E->BeginDoc(); },
        {
            [&](TgtDocumentDlg* D) {
              EXPECT_EQ(D->GetCaption(), "PDF Setup");
              EXPECT_EQ(Lines(D->lbDocumentDlg->GetItems()),
                        (std::vector<AnsiString>{"Preferences", "Content", "Background", "Advanced",
                                                 "Viewer Preferences"}));
              EXPECT_EQ(D->edTitle->GetText(), "Quarterly");
              auto* P = dynamic_cast<TgtPDFEngineDlg*>(D);
              ASSERT_NE(P, nullptr);
              EXPECT_EQ(Selected(P->cbPageLayout), "Two Column Left");
              EXPECT_FALSE(P->chkEnableEncryption->GetChecked());
              EXPECT_FALSE(P->edUserPassword->GetEnabled()) << "passwords wait for the encryption box";
              OpenPage(D, "Advanced");
            },
            [&](TgtDocumentDlg* D) {
              auto* P = dynamic_cast<TgtPDFEngineDlg*>(D);
              EXPECT_EQ(D->pcDocument->GetActivePage(), P->tsPDFAdvanced);
              EXPECT_EQ(D->lblDialogCaption->GetCaption(), "Advanced");
              Click(P->chkEnableEncryption);
              TypeInto(P->edOwnerPassword, "boss");
              TypeInto(P->edConfirmOwnerPassword, "boss");
              TypeInto(P->edUserPassword, "reader");
              TypeInto(P->edConfirmUserPassword, "reader");
              OpenPage(D, "Content");
            },
            [&](TgtDocumentDlg* D) {
              D->edTitle->SetText("");
              TypeInto(D->edTitle, "Annual");
              Click(D->btnOK);
            },
        });
  ASSERT_EQ(S.Asked().size(), 1u);
  EXPECT_EQ(S.Asked()[0].Kind, "TgtPDFEngineDlg");
  ASSERT_EQ(E->GetDocumentState(), dsInDocument);
  EXPECT_TRUE(E->GetEncryption()->GetEnabled());
  EXPECT_EQ(E->GetEncryption()->GetUserPassword(), "reader");
  EXPECT_EQ(E->GetViewerPreferences()->PageLayout, plTwoColumnLeft) << "an untouched list keeps its value";
  Draw(*E);
  const std::string File = Dir + "doc.pdf";
  int Rc = 0;
  const std::string Without = RunCommand("timeout 20 qpdf --check '" + File + "' 2>&1", &Rc);
  EXPECT_NE(Rc, 0) << "a user password is asked for:\n" << Without;
  const std::string With = RunCommand("timeout 20 qpdf --password=reader --check '" + File + "' 2>&1", &Rc);
  EXPECT_EQ(Rc, 0) << With;
  EXPECT_NE(With.find("No syntax or stream encoding errors"), std::string::npos) << With;
  const std::string Info = RunCommand("timeout 20 pdfinfo -upw reader '" + File + "' 2>&1");
  EXPECT_NE(Info.find("Annual"), std::string::npos) << Info;
}

TEST_F(EngineDialogs, CancelWritesNoFileAndLeavesAnExistingOneAlone) {
  struct TCase {
    const char* Name;
    bool ThroughForm;  // the user presses Cancel on the form, or the hook answers Cancel
  };
  for (const TCase& C : {TCase{"hook", false}, TCase{"form", true}}) {
    SCOPED_TRACE(C.Name);
    const std::string Dir = OutDir(std::string("cancel_") + C.Name);
    {
      std::ofstream(Dir + "old.pdf") << "earlier bytes";
    }
    auto E = MakeEngine<TgtPDFEngine>(Dir + "old");
    auto N = MakeEngine<TgtPNGEngine>(Dir + "new");
    TDialogScript S;
    if (C.ThroughForm) {
      S.ThenShowForm().ThenShowForm();
      Drive([&] { E->BeginDoc(); }, {[&](TgtDocumentDlg* D) { Click(D->btnCancel); }});
      Drive([&] { N->BeginDoc(); }, {[&](TgtDocumentDlg*) { HeadlessDisplay().KeyPress(VK_ESCAPE); }});
    } else {
      S.Then(mrCancel).Then(mrCancel);
      E->BeginDoc();
      N->BeginDoc();
    }
    EXPECT_EQ(E->GetDocumentState(), dsCancelled);
    EXPECT_EQ(N->GetDocumentState(), dsCancelled);
    Draw(*E);
    Draw(*N);
    E->EndDoc();
    N->EndDoc();
    EXPECT_EQ(ReadFile(Dir + "old.pdf"), "earlier bytes");
    EXPECT_FALSE(std::filesystem::exists(Dir + "new1.png"));
    EXPECT_EQ(S.Pending(), 0u);
  }
}

TEST_F(EngineDialogs, PngDialogWritesTheScaleAndColourTypeTheFileIsMadeWith) {
  const std::string Dir = OutDir("png_ok");
  auto E = MakeEngine<TgtPNGEngine>(Dir + "p");
  E->SetColorType(ctRGB);
  TDialogScript S;
  S.ThenShowForm();
  Drive([&] { E->BeginDoc(); },
        {[&](TgtDocumentDlg* D) {
          auto* P = dynamic_cast<TgtPNGEngineDlg*>(D);
          ASSERT_NE(P, nullptr);
          EXPECT_EQ(D->GetCaption(), "PNG Setup");
          EXPECT_EQ(Lines(D->lbDocumentDlg->GetItems()),
                    (std::vector<AnsiString>{"Preferences", "Content", "Background", "Advanced"}));
          EXPECT_EQ(Selected(P->cbColorType), "RGB");
          EXPECT_EQ(P->edScaleX->GetText(), "1");
          // The scale page is not offered, yet its fields are written back.
          P->edScaleX->SetText("2");
          P->edScaleY->SetText("1.5");
          P->cbColorType->SetItemIndex(0);
          Click(D->btnOK);
        }});
  ASSERT_EQ(E->GetDocumentState(), dsInDocument);
  EXPECT_EQ(E->GetScaleX(), 2.0);
  EXPECT_EQ(E->GetColorType(), ctGrayscale);
  Draw(*E);
  ASSERT_TRUE(std::filesystem::exists(Dir + "p1.png"));
  EXPECT_EQ(Py("im = Image.open(sys.argv[1]); print(im.size[0], im.size[1], im.mode)", Dir + "p1.png"), "240 90 L");
}

TEST_F(EngineDialogs, AnUnansweredDialogFailsWithItsCaption) {
  auto E = MakeEngine<TgtSVGEngine>(OutDir("unanswered") + "s");
  try {
    E->BeginDoc();
    FAIL() << "the dialog was not refused";
  } catch (const EDialogNotAnswered& X) {
    EXPECT_EQ(X.Request.Caption, "SVG Setup");
    EXPECT_EQ(X.Request.Kind, "TgtSVGEngineDlg");
  }
}

TEST_F(EngineDialogs, TheBackgroundPreviewShowsThePictureAtItsSize) {
  const std::string Dir = OutDir("preview");
  {
    TBitmap B;
    B.SetWidth(160);
    B.SetHeight(90);
    B.Canvas()->Brush()->SetColor(TColor(0x0000C0));  // dark red
    B.Canvas()->FillRect({0, 0, 160, 90});
    B.SaveToFile(Dir + "bg.bmp");
  }
  auto E = MakeEngine<TgtPDFEngine>(Dir + "d");
  E->GetBackgroundImage()->LoadFromFile(Dir + "bg.bmp");
  E->SetBackgroundColor(clYellow);
  TDialogScript S;
  S.ThenShowForm().ThenShowForm();
  TgtImgPrvwDlg* Preview = nullptr;
  Drive([&] { E->BeginDoc(); },
        {
            [&](TgtDocumentDlg* D) {
              OpenPage(D, "Background");
            },
            [&](TgtDocumentDlg* D) {
              EXPECT_TRUE(D->btnImgPrvw->GetEnabled());
              EXPECT_EQ(D->SwatchColor(), clYellow);
              EXPECT_EQ(PixelAt(D->gbBackground, 180, 243), ColorToRGB(clYellow)) << "the swatch";
              SaveShot(D, "engine-dialog-pdf-background");
              Click(D->btnImgPrvw);
            },
            [&](TgtDocumentDlg* D) {
              for (Integer I = 0; I < D->ComponentCount(); ++I)
                if (auto* P = dynamic_cast<TgtImgPrvwDlg*>(D->Components(I))) Preview = P;
              ASSERT_NE(Preview, nullptr);
              EXPECT_EQ(Preview->GetCaption(), "Preview");
              EXPECT_EQ(Preview->ClientWidth(), 170);
              EXPECT_EQ(Preview->ClientHeight(), 100);
              EXPECT_EQ(PixelAt(Preview, 85, 50), COLORREF(0x0000C0)) << "the picture";
              EXPECT_EQ(PixelAt(Preview, 2, 2), ColorToRGB(clWhite)) << "the white border";
              SaveShot(Preview, "engine-dialog-preview");
              Preview->Close();
            },
            [&](TgtDocumentDlg* D) { Click(D->btnCancel); },
        });
  ASSERT_EQ(S.Asked().size(), 2u);
  EXPECT_EQ(S.Asked()[1].Caption, "Preview");
}

// Each dialog's frame at chosen pixels: the navy page list, the caption
// strip and the pages it lists.
TEST_F(EngineDialogs, EachDialogShowsItsPagesInTheCommonFrame) {
  struct TCase {
    const char* Shot;
    std::function<std::unique_ptr<TgtCustomDocumentEngine>(const std::string&)> Make;
    const char* Caption;
    std::vector<AnsiString> Pages;
  };
  const std::vector<TCase> Cases = {
      {"pdf", [](const std::string& F) { return std::unique_ptr<TgtCustomDocumentEngine>(MakeEngine<TgtPDFEngine>(F)); },
       "PDF Setup", {"Preferences", "Content", "Background", "Advanced", "Viewer Preferences"}},
      {"svg", [](const std::string& F) { return std::unique_ptr<TgtCustomDocumentEngine>(MakeEngine<TgtSVGEngine>(F)); },
       "SVG Setup", {"Preferences", "Content"}},
      {"png", [](const std::string& F) { return std::unique_ptr<TgtCustomDocumentEngine>(MakeEngine<TgtPNGEngine>(F)); },
       "PNG Setup", {"Preferences", "Content", "Background", "Advanced"}},
      {"excel", Make<TgtExcelEngine>, "Excel Setup", {"Preferences", "Content", "Background", "Formatting"}},
      {"quattro", Make<TgtQuattroProEngine>, "Quattro Pro Setup", {"Preferences", "Background", "Formatting"}},
      {"lotus", Make<TgtLotusEngine>, "Lotus Setup", {"Preferences", "Formatting"}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Shot);
    auto E = C.Make(OutDir(std::string("frame_") + C.Shot) + "f");
    TDialogScript S;
    S.ThenShowForm();
    Drive([&] { E->BeginDoc(); },
          {[&](TgtDocumentDlg* D) {
            EXPECT_EQ(D->GetCaption(), C.Caption);
            EXPECT_EQ(Lines(D->lbDocumentDlg->GetItems()), C.Pages);
            EXPECT_EQ(D->lblDialogCaption->GetCaption(), "Preferences");
            EXPECT_EQ(PixelAt(D, 60, 440), ColorToRGB(clNavy)) << "the page list's panel";
            EXPECT_EQ(PixelAt(D, 300, 10), ColorToRGB(clInfoBk)) << "the caption strip";
            EXPECT_FALSE(D->tsEMailInfo->GetVisible());
            SaveShot(D, std::string("engine-dialog-") + C.Shot);
            Click(D->btnCancel);
          }});
  }
}

TEST_F(EngineDialogs, KeyFiltersKeepOnlyTheCharactersAFieldTakes) {
  TgtPDFEngineDlg D(nullptr);
  D.Initialize();
  struct TCase {
    void (TgtDocumentDlg::*Filter)(TObject*, char&);
    const char* Kept;
    const char* Dropped;
  };
  for (const TCase& C : {TCase{&TgtDocumentDlg::edPagesKeyPress, "0123456789,-\b", "a. x"},
                         TCase{&TgtDocumentDlg::edKeyPress, "0123456789.\b", "a,- "},
                         TCase{&TgtDocumentDlg::edSourceDPIKeyPress, "0123456789\b", "a.,-"}}) {
    for (const char* K = C.Kept; *K; ++K) {
      char Key = *K;
      (D.*C.Filter)(nullptr, Key);
      EXPECT_EQ(Key, *K);
    }
    for (const char* K = C.Dropped; *K; ++K) {
      char Key = *K;
      (D.*C.Filter)(nullptr, Key);
      EXPECT_EQ(Key, 0) << *K;
    }
  }
}

// The spreadsheet dialogs: the engine's grid values in the Formatting page,
// OK writing the typed ones back, and the file made with them as the sheet
// readers see it (a column spacing of 2 puts the first column's text in
// column 2).
TEST_F(EngineDialogs, SheetDialogsWriteTheGridValuesTheFileIsMadeWith) {
  struct TCase {
    const char* Name;
    std::function<std::unique_ptr<TgtCustomDocumentEngine>(const std::string&)> Make;
    const char* Reader;
    const char* Extension;
    std::vector<std::string> Expected;  // lines the reader prints
  };
  const std::vector<TCase> Cases = {
      {"excel", Make<TgtExcelEngine>, "xls", ".xls", {"SHEET Sheet1 1 3", "SHEET Sheet2 1 3", "0 2 L Ink|"}},
      {"lotus", Make<TgtLotusEngine>, "wk1", ".WK1", {"0 2 L Ink fmt=F5"}},
      {"quattro", Make<TgtQuattroProEngine>, "wb1", ".wb1", {"0 2 L Ink attr="}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const std::string Dir = OutDir(std::string("sheet_") + C.Name);
    auto E = C.Make(Dir + "grid");
    auto* Sheet = dynamic_cast<TgtCustomSpreadSheetEngine*>(E.get());
    Sheet->GetPreferences()->SetAutoFormatCells(true);
    Sheet->GetFormatting()->SetRowSpacing(3);
    Sheet->GetFormatting()->SetScaleY(1.5f);
    auto* Excel = dynamic_cast<TgtExcelEngine*>(E.get());
    if (Excel) Excel->GetPreferences()->SetPagesPerWorksheet(2);
    TDialogScript S;
    S.ThenShowForm();
    Drive([&] { E->BeginDoc(); },
          {
              [&](TgtDocumentDlg* D) {
                auto* P = dynamic_cast<TgtSpreadSheetDlg*>(D);
                ASSERT_NE(P, nullptr);
                EXPECT_TRUE(P->chkAutoFormatCells->GetChecked());
                EXPECT_EQ(P->edColumnSpacing->GetText(), "-1");
                EXPECT_EQ(P->edRowSpacing->GetText(), "3");
                EXPECT_EQ(P->edScaleX->GetText(), "1");
                EXPECT_EQ(P->edScaleY->GetText(), "1.5");
                if (auto* X = dynamic_cast<TgtExcelEngineDlg*>(D)) {
                  EXPECT_EQ(X->edPagePerWorkSheet->GetText(), "2");
                  EXPECT_EQ(X->chkPrintGridLines->GetCaption(), "Print Grid Lines");
                  EXPECT_FALSE(X->cbBackgroundDisplayType->GetEnabled()) << "a sheet picture has no placement";
                  EXPECT_EQ(Lines(X->cbOutputImageFormat->GetItems()),
                            (std::vector<AnsiString>{"BMP", "Metafile", "CCITT3", "CCITT4"}));
                  X->edPagePerWorkSheet->SetText("");
                  TypeInto(X->edPagePerWorkSheet, "1");
                  Click(X->chkPrintGridLines);
                }
                Click(P->chkAutoFormatCells);
                OpenPage(D, "Formatting");
              },
              [&](TgtDocumentDlg* D) {
                auto* P = dynamic_cast<TgtSpreadSheetDlg*>(D);
                EXPECT_EQ(D->pcDocument->GetActivePage(), P->tsFormatting);
                SaveShot(D, std::string("engine-dialog-") + C.Name + "-formatting");
                P->edColumnSpacing->SetText("");
                TypeInto(P->edColumnSpacing, "x2");  // the letter is refused
                P->edRowSpacing->SetText("-1");
                P->edScaleY->SetText("");
                TypeInto(P->edScaleY, "1.2.5");  // a second full stop is refused
              },
              [&](TgtDocumentDlg* D) {
                auto* P = dynamic_cast<TgtSpreadSheetDlg*>(D);
                EXPECT_EQ(P->edColumnSpacing->GetText(), "2");
                EXPECT_EQ(P->edScaleY->GetText(), "1.25");
                Click(D->btnOK);
              },
          });
    ASSERT_EQ(E->GetDocumentState(), dsInDocument);
    EXPECT_FALSE(Sheet->GetPreferences()->GetAutoFormatCells());
    EXPECT_EQ(Sheet->GetFormatting()->GetColumnSpacing(), 2);
    EXPECT_EQ(Sheet->GetFormatting()->GetRowSpacing(), -1);
    EXPECT_FLOAT_EQ(Sheet->GetFormatting()->GetScaleY(), 1.25f);
    if (Excel) {
      EXPECT_EQ(Excel->GetPreferences()->GetPagesPerWorksheet(), 1);
      EXPECT_TRUE(Excel->GetPreferences()->GetPrintGridLines());
    }
    Draw(*E, 2);
    const std::string Out = RunSheetReader(C.Reader, Dir + "grid" + C.Extension);
    for (const std::string& L : C.Expected) EXPECT_NE(Out.find(L), std::string::npos) << L << " in\n" << Out;
  }
}

// A grid value the sheet cannot take is reported and the dialog stays open
// for it to be mended; nothing is written until OK succeeds.
TEST_F(EngineDialogs, ASheetValueOutOfItsRangeKeepsTheDialogOpen) {
  struct TCase {
    const char* Field;
    const char* Text;
    const char* Message;
  };
  for (const TCase& C : {TCase{"edColumnSpacing", "300", "Column Spacing must be between -1 and 256."},
                         TCase{"edRowSpacing", "-2", "Row Spacing must be between -1 and 65536."},
                         TCase{"edScaleX", "0", "'0' is not a valid scale."},
                         TCase{"edScaleY", "", "'' is not a valid floating point value."}}) {
    SCOPED_TRACE(C.Field);
    auto E = MakeEngine<TgtLotusEngine>(OutDir("sheet_range") + "r");
    TDialogScript S;
    S.ThenShowForm().Then(mrOk);
    Drive([&] { E->BeginDoc(); },
          {
              [&](TgtDocumentDlg* D) {
                dynamic_cast<TEdit*>(D->FindComponent(C.Field))->SetText(C.Text);
                Click(D->btnOK);
              },
              [&](TgtDocumentDlg* D) {
                ASSERT_EQ(S.Asked().size(), 2u) << "the error is shown";
                EXPECT_EQ(S.Asked()[1].Text, C.Message);
                dynamic_cast<TEdit*>(D->FindComponent(C.Field))->SetText("1");
                Click(D->btnOK);
              },
          });
    EXPECT_EQ(E->GetDocumentState(), dsInDocument);
    E->EndDoc();
  }
}

TEST_F(EngineDialogs, CancellingASheetDialogLeavesTheExistingFile) {
  struct TCase {
    const char* Name;
    std::function<std::unique_ptr<TgtCustomDocumentEngine>(const std::string&)> Make;
    const char* Extension;
  };
  for (const TCase& C : {TCase{"excel", Make<TgtExcelEngine>, ".xls"}, TCase{"lotus", Make<TgtLotusEngine>, ".WK1"},
                         TCase{"quattro", Make<TgtQuattroProEngine>, ".wb1"}}) {
    SCOPED_TRACE(C.Name);
    const std::string Dir = OutDir(std::string("sheet_cancel_") + C.Name);
    {
      std::ofstream(Dir + "old" + C.Extension) << "earlier bytes";
    }
    auto E = C.Make(Dir + "old");
    auto* Sheet = dynamic_cast<TgtCustomSpreadSheetEngine*>(E.get());
    TDialogScript S;
    S.ThenShowForm();
    Drive([&] { E->BeginDoc(); },
          {[&](TgtDocumentDlg* D) {
            dynamic_cast<TgtSpreadSheetDlg*>(D)->edColumnSpacing->SetText("5");
            HeadlessDisplay().KeyPress(VK_ESCAPE);
          }});
    EXPECT_EQ(E->GetDocumentState(), dsCancelled);
    EXPECT_EQ(Sheet->GetFormatting()->GetColumnSpacing(), -1) << "Cancel writes nothing back";
    Draw(*E);
    E->EndDoc();
    EXPECT_EQ(ReadFile(Dir + "old" + C.Extension), "earlier bytes");
  }
}

// Leaving a confirmation field that differs from its password warns and
// sends the focus back to the password; with encryption off nothing is said.
TEST_F(EngineDialogs, APasswordConfirmationThatDiffersIsReported) {
  struct TCase {
    const char* Name;
    bool Encrypt;
    bool Owner;
    const char* Message;  // nullptr: no message
  };
  for (const TCase& C : {TCase{"owner", true, true, "The Owner Passwords do not match.\r\nPlease re-enter."},
                         TCase{"user", true, false, "The User Passwords do not match.\r\nPlease re-enter."},
                         TCase{"unencrypted", false, true, nullptr}}) {
    SCOPED_TRACE(C.Name);
    auto E = MakeEngine<TgtPDFEngine>(OutDir("mismatch") + "m");
    E->GetEncryption()->SetEnabled(C.Encrypt);
    TDialogScript S;
    S.ThenShowForm();
    if (C.Message) S.Then(mrOk);
    Drive([&] { E->BeginDoc(); },
          {
              [&](TgtDocumentDlg* D) { OpenPage(D, "Advanced"); },
              [&](TgtDocumentDlg* D) {
                auto* P = dynamic_cast<TgtPDFEngineDlg*>(D);
                TEdit* First = C.Owner ? P->edOwnerPassword : P->edUserPassword;
                TEdit* Confirm = C.Owner ? P->edConfirmOwnerPassword : P->edConfirmUserPassword;
                // Fields that cannot be reached with encryption off are set directly.
                First->SetText("Secret");
                Confirm->SetText("secret");
                if (Confirm->CanFocus()) {
                  Click(Confirm);
                  Click(C.Owner ? P->edUserPassword : P->edOwnerPassword);  // leaves the confirmation
                } else {
                  P->edConfirmPasswordExit(Confirm);
                }
              },
              [&](TgtDocumentDlg* D) {
                auto* P = dynamic_cast<TgtPDFEngineDlg*>(D);
                TEdit* First = C.Owner ? P->edOwnerPassword : P->edUserPassword;
                if (C.Message) {
                  ASSERT_EQ(S.Asked().size(), 2u);
                  EXPECT_EQ(S.Asked()[1].Kind, "MessageDlg");
                  EXPECT_EQ(S.Asked()[1].Caption, "Error");
                  EXPECT_EQ(S.Asked()[1].Text, C.Message);
                  EXPECT_EQ(GetFocus(), First->Handle()) << "the password field takes the focus back";
                } else {
                  EXPECT_EQ(S.Asked().size(), 1u);
                }
                Click(D->btnOK);
              },
          });
    EXPECT_EQ(E->GetEncryption()->GetOwnerPassword(), C.Owner ? "Secret" : "");
    EXPECT_EQ(E->GetEncryption()->GetUserPassword(), C.Owner ? "" : "Secret") << "OK stores the first field";
    E->EndDoc();
  }
}

// At 40 bits the four permissions only 128-bit encryption knows are greyed
// and OK leaves them as they were; at 128 bits their boxes are taken.
TEST_F(EngineDialogs, FortyBitEncryptionLeavesTheExtendedPermissionsAlone) {
  for (const TgtPDFEncryptionLevel Level : {el40bit, el128bit}) {
    SCOPED_TRACE(Level == el40bit ? "40 bit" : "128 bit");
    auto E = MakeEngine<TgtPDFEngine>(OutDir("permissions") + "p");
    TgtPDFEncryptionSettings* Enc = E->GetEncryption();
    Enc->SetEnabled(true);
    Enc->SetLevel(Level);
    TgtUserPermissions Start;
    Start.Include(AllowCopy);
    Start.Include(AllowAnnotation);
    Enc->SetUserPermissions(Start);
    TDialogScript S;
    S.ThenShowForm();
    Drive([&] { E->BeginDoc(); },
          {[&](TgtDocumentDlg* D) {
            auto* P = dynamic_cast<TgtPDFEngineDlg*>(D);
            EXPECT_EQ(Selected(P->cbEncryptionLevel), Level == el40bit ? "40 Bit" : "128 Bit");
            for (TCheckBox* B : {P->chkAnnotation, P->chkAccessibility, P->chkDocumentAssembly,
                                 P->chkHighResolutionPrint})
              EXPECT_EQ(B->GetEnabled(), Level == el128bit) << B->GetName().c_str();
            EXPECT_TRUE(P->chkCopy->GetEnabled());
            EXPECT_TRUE(P->chkAnnotation->GetChecked());
            P->chkCopy->SetChecked(false);
            P->chkPrint->SetChecked(true);
            P->chkAnnotation->SetChecked(false);
            P->chkHighResolutionPrint->SetChecked(true);
            Click(D->btnOK);
          }});
    const TgtUserPermissions After = Enc->GetUserPermissions();
    EXPECT_FALSE(After.Contains(AllowCopy));
    EXPECT_TRUE(After.Contains(AllowPrint));
    EXPECT_EQ(After.Contains(AllowAnnotation), Level == el40bit);
    EXPECT_EQ(After.Contains(AllowHighResPrint), Level == el128bit);
    E->EndDoc();
  }
}

// Greying a group reaches every control inside it, nested groups too, and
// leaves the group itself (its caption stays readable); edits and combo
// boxes change colour with it.
TEST_F(EngineDialogs, SetControlsEnabledGreysWhatIsInsideAGroup) {
  TgtPDFEngineDlg D(nullptr);
  D.Initialize();
  TGroupBox* Outer = D.gbEncryption;
  for (const bool On : {false, true}) {
    SCOPED_TRACE(On ? "enabled" : "disabled");
    SetControlsEnabled(Outer, On);
    EXPECT_TRUE(Outer->GetEnabled()) << "the group itself keeps its state";
    for (TControl* C : {static_cast<TControl*>(D.lblOwnerPassword), static_cast<TControl*>(D.edOwnerPassword),
                        static_cast<TControl*>(D.cbEncryptionLevel), static_cast<TControl*>(D.gbUserPermissions),
                        static_cast<TControl*>(D.chkHighResolutionPrint)})
      EXPECT_EQ(C->GetEnabled(), On) << C->GetName().c_str();
    const TColor Want = On ? clWindow : clInactiveBorder;
    EXPECT_EQ(D.edOwnerPassword->GetColor(), Want);
    EXPECT_EQ(D.cbEncryptionLevel->GetColor(), Want);
  }
}

// A setup dialog linked to the engine is shown in place of the engine's own
// with the engine as its subject; freed, it unlinks itself and the engine
// shows its own again.
TEST_F(EngineDialogs, ALinkedSetupDialogGoesBeforeTheEnginesOwn) {
  const std::string Dir = OutDir("linked");
  auto E = MakeEngine<TgtLotusEngine>(Dir + "l");
  auto Linked = std::make_unique<TgtQuattroProEngineDlg>(nullptr);
  Linked->Initialize();
  Linked->SetCaption("Linked Setup");
  E->SetSetupDialog(Linked.get());
  TDialogScript S;
  S.ThenShowForm().Then(mrCancel);
  Drive([&] { E->BeginDoc(); },
        {[&](TgtDocumentDlg* D) {
          EXPECT_EQ(D, Linked.get());
          EXPECT_EQ(D->GetEngine(), E.get());
          Click(D->btnOK);
        }});
  EXPECT_EQ(Linked->GetEngine(), nullptr) << "the link to the engine ends with the dialog";
  EXPECT_EQ(E->GetDocumentState(), dsInDocument);
  E->EndDoc();
  Linked.reset();
  EXPECT_EQ(E->GetSetupDialog(), nullptr);
  E->BeginDoc();
  EXPECT_EQ(E->GetDocumentState(), dsCancelled);
  ASSERT_EQ(S.Asked().size(), 2u);
  EXPECT_EQ(S.Asked()[0].Caption, "Linked Setup");
  EXPECT_EQ(S.Asked()[1].Caption, "Lotus Setup");
}
