#include <gtest/gtest.h>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fstream>
#include "TraceEngine.h"
#include "platform/rtl/FileUtils.h"
#include "support/TestFiles.h"
#include "platform/gdi/IconGraphic.h"

namespace {
std::string TempBase(const char* Name) { return GetTempPath() + "sx_engine_" + Name; }
using sxtest::ReadFile;
}  // namespace

TEST(TgtCustomDocumentEngine, CallsOutsideADocumentDoNothing) {
  TTraceEngine E;
  E.EndDoc();
  E.NewPage();
  E.TextOut(1, 1, u"x");
  EXPECT_TRUE(E.Lines.empty());
  E.BeginDoc();
  E.BeginDoc();   // second call changes nothing
  E.EndDoc();
  // The page's metafile was played: its end is the page's only item.
  EXPECT_EQ(E.Joined(), "StartDocument\nBeginPage 1\nEOF\nEndPage 1\nFinishDocument\n");
  EXPECT_EQ(E.GetDocumentState(), dsFinished);
}

TEST(TgtCustomDocumentEngine, CancelledSetupOpensNoDocument) {
  TTraceEngine E;
  E.GetPreferences()->SetShowSetupDialog(true);
  E.SetupResult = 2;
  E.BeginDoc();
  E.EndDoc();
  EXPECT_EQ(E.Joined(), "SetupDialog\n");
  EXPECT_EQ(E.GetDocumentState(), dsCancelled);
  E.SetupResult = 1;
  E.BeginDoc();
  EXPECT_TRUE(E.IsDocumentOpen());
  E.EndDoc();
}

TEST(TgtCustomDocumentEngine, FileNameDropsItsLastExtensionAndIsFixedWhileOpen) {
  TTraceEngine E;
  struct { const char* In; const char* Want; } Cases[] = {
      {"/tmp/a.pdf", "/tmp/a"}, {"/tmp/a.txt.pdf", "/tmp/a.txt"}, {"/tmp/a", "/tmp/a"}};
  for (auto& C : Cases) {
    E.SetFileName(C.In);
    EXPECT_EQ(E.GetFileName(), C.Want);
  }
  E.BeginDoc();
  E.SetFileName("/tmp/other");
  EXPECT_EQ(E.GetFileName(), "/tmp/a");
  E.EndDoc();
}

TEST(TgtCustomDocumentEngine, BandsAreEncodedOnEveryPageInTheirOrder) {
  TTraceEngine E;
  E.GetPage()->SetHeaderHeight(20);
  E.GetPage()->SetFooterHeight(20);
  E.BeginDoc();
  E.BeginOverlay(); E.TextOut(0, 0, u"over"); E.EndOverlay();
  E.BeginFooter(); E.TextOut(0, 0, u"foot"); E.EndFooter();
  E.BeginHeader(); E.TextOut(0, 0, u"head <%Pg#%>/<%PgCnt%>"); E.EndHeader();
  E.BeginUnderlay(); E.TextOut(0, 0, u"under"); E.EndUnderlay();
  E.TextOut(5, 5, u"body1");
  E.NewPage();
  E.TextOut(5, 5, u"body2");
  E.EndDoc();
  EXPECT_EQ(E.Joined("BeginPage"), "BeginPage 1\nBeginPage 2\n");
  auto Texts = E.Joined("Text");
  EXPECT_NE(Texts.find("\"head <%Pg#%>/<%PgCnt%>\""), std::string::npos);
  // Per page: header, underlay, body, footer, overlay.
  std::vector<std::string> Order;
  for (auto& L : E.Lines)
    if (L.rfind("Text", 0) == 0) Order.push_back(L.substr(L.find('"') + 1, 4));
  EXPECT_EQ(Order, (std::vector<std::string>{"head", "unde", "body", "foot", "over", "head", "unde", "body",
                                              "foot", "over"}));
}

TEST(TgtCustomDocumentEngine, PagesOutsidePagesToRenderAreSkipped) {
  TTraceEngine E;
  E.SetPagesToRender("1, 3-4 x");
  E.BeginDoc();
  for (int I = 0; I < 4; ++I) E.NewPage();
  E.EndDoc();
  EXPECT_EQ(E.Joined("BeginPage"), "BeginPage 1\nBeginPage 3\nBeginPage 4\n");
}

TEST(TgtCustomDocumentEngine, MalformedPageRangesAreRejectedWhenSet) {
  TTraceEngine E;
  for (const char* Bad : {"3-", "-", "-2", "1,4-"}) {
    EXPECT_THROW(E.SetPagesToRender(Bad), EConvertError) << Bad;
    EXPECT_EQ(E.GetPagesToRender(), "");
  }
  E.SetPagesToRender("2 5");
  EXPECT_FALSE(E.IsPageInRange(1));
  EXPECT_TRUE(E.IsPageInRange(5));
}

TEST(TgtCustomDocumentEngine, ProcessAfterEachPageRendersAtOnce) {
  TTraceEngine E;
  E.GetPreferences()->SetProcessAfterEachPage(true);
  E.BeginDoc();
  E.TextOut(0, 0, u"<%PgCnt%>");
  E.NewPage();
  EXPECT_EQ(E.Joined("BeginPage"), "BeginPage 1\n");
  E.EndDoc();
  EXPECT_EQ(E.Joined("BeginPage"), "BeginPage 1\nBeginPage 2\n");
}

TEST(TgtCustomDocumentEngine, StreamedPagesAreRenderedAsTheyCloseAndGiveTheSameOutput) {
  // Page texts; a page that may name a variable waits for the end of the
  // document, and every page after it waits too, so the page order holds.
  struct TCase {
    std::vector<const char16_t*> Pages;
    std::vector<std::string> RenderedBeforeEnd;   // after each NewPage: the pages begun so far
  } Cases[] = {
      {{u"one", u"two", u"three"}, {"BeginPage 1\n", "BeginPage 1\nBeginPage 2\n"}},
      {{u"one", u"<%PgCnt%>", u"three", u"four"},
       {"BeginPage 1\n", "BeginPage 1\n", "BeginPage 1\n"}},
  };
  for (const TCase& C : Cases) {
    TTraceEngine Deferred, Streamed;
    Streamed.SetStreamPages(true);
    for (TTraceEngine* E : {&Deferred, &Streamed}) {
      E->BeginDoc();
      for (std::size_t I = 0; I < C.Pages.size(); ++I) {
        if (I > 0) {
          E->NewPage();
          if (E == &Streamed) {
            EXPECT_EQ(E->Joined("BeginPage"), C.RenderedBeforeEnd[I - 1]) << I;
          }
        }
        E->TextOut(5, 5, C.Pages[I]);
      }
      E->EndDoc();
    }
    EXPECT_EQ(Streamed.Joined(), Deferred.Joined());
  }
  // A page already written cannot be gone back to.
  TTraceEngine E;
  E.SetStreamPages(true);
  E.BeginDoc();
  E.NewPage();
  EXPECT_THROW(E.SetActivePage(1), EInvalidPageNumber);
  E.EndDoc();
}

TEST(TgtCustomDocumentEngine, AWriteThatFailsAtTheEndNamesTheOutputFileNotItsTemporary) {
  const std::string Base = TempBase("full");
  // A file size limit stands in for a full disk; the engine gathers its
  // writes, so the failure comes when the document ends.
  const pid_t Child = ::fork();
  if (Child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit L{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &L);
    TFileTraceEngine E;
    E.SetFileName(Base);
    E.BeginDoc();
    E.GetOutputStream()->WriteBytes(std::string(10000, 'x'));
    try {
      E.EndDoc();
    } catch (const Exception& Ex) {
      const AnsiString& M = Ex.Message();
      const bool Named = M.find("\"" + Base + ".txt\"") != AnsiString::npos && M.find(".part") == AnsiString::npos &&
                         M.find("too large") != AnsiString::npos;
      ::_exit(Named && !FileExists(Base + ".txt") ? 0 : 2);
    }
    ::_exit(1);
  }
  int Status = 0;
  ASSERT_EQ(::waitpid(Child, &Status, 0), Child);
  ASSERT_TRUE(WIFEXITED(Status));
  EXPECT_EQ(WEXITSTATUS(Status), 0) << "1: no error, 2: the message or the files are wrong";
}

TEST(TgtCustomDocumentEngine, ExistingOutputFileSurvivesAFailedDocument) {
  TFileTraceEngine E;
  const std::string Base = TempBase("keep");
  {
    std::ofstream(Base + ".txt") << "old";
  }
  E.SetFileName(Base);
  E.FailOnFinish = true;
  E.BeginDoc();
  EXPECT_THROW(E.EndDoc(), EWriteError);
  EXPECT_FALSE(E.IsDocumentOpen());
  EXPECT_EQ(ReadFile(Base + ".txt"), "old");
  EXPECT_FALSE(FileExists(Base + ".txt.part"));
  E.FailOnFinish = false;
  E.BeginDoc();
  E.NewPage();
  E.EndDoc();
  EXPECT_EQ(ReadFile(Base + ".txt"), "page\npage\n");
  std::remove((Base + ".txt").c_str());
}

TEST(TgtCustomDocumentEngine, UncreatableOutputFileRaisesAndLeavesTheEngineIdle) {
  TFileTraceEngine E;
  E.SetFileName("/nonexistent-dir/x");
  try {
    E.BeginDoc();
    FAIL() << "no exception";
  } catch (const EFileCreateError& Ex) {
    // The message's own text, then the file and the system's reason.
    EXPECT_EQ(Ex.Message(),
              "File could not be created!\r\n\r\nPossible cause: It could be in use by some other application\r\n\r\n"
              "Cannot create file \"/nonexistent-dir/x.txt\". No such file or directory");
  }
  EXPECT_FALSE(E.IsDocumentOpen());
  EXPECT_EQ(E.GetDocumentState(), dsFileError);
  E.SetFileName(TempBase("next"));
  E.BeginDoc();
  EXPECT_TRUE(E.IsDocumentOpen());
  E.EndDoc();
  std::remove((TempBase("next") + ".txt").c_str());
}

TEST(TgtCustomDocumentEngine, AbortEndsTheDocumentAndRemovesItsFiles) {
  TFileTraceEngine E;
  E.SetFileName(TempBase("abort"));
  E.BeginDoc();
  E.AbortDocument();
  E.NewPage();
  EXPECT_FALSE(E.IsDocumentOpen());
  EXPECT_FALSE(FileExists(TempBase("abort") + ".txt"));
  EXPECT_FALSE(FileExists(TempBase("abort") + ".txt.part"));
}

TEST(TgtCustomDocumentEngine, SavedStatesRestoreAndReportBadIdentifiers) {
  TTraceEngine E;
  E.RestoreEngineState(-1);   // nothing saved, nothing open: no effect
  E.BeginDoc();
  E.GetFont()->SetName("Arial");
  Integer Id = E.SaveEngineState();
  E.GetFont()->SetName("Courier New");
  E.RestoreEngineState(Id);
  EXPECT_EQ(E.GetFont()->GetName(), "Arial");
  EXPECT_THROW(E.RestoreEngineState(5), EInvalidEngineState);
  std::string Reported;
  E.OnErrorMessage = TgtErrorMessageEvent(&E, &TTraceEngine::NoteError);
  E.ClearEngineStates();
  E.RestoreEngineState(-1);   // an empty list: no effect, no report
  E.RestoreEngineState(0);
  EXPECT_EQ(E.Errors, "Not a valid Engine State identifier\n");
  E.EndDoc();   // the BeginDoc state is gone: EndDoc still completes
  EXPECT_EQ(E.GetFont()->GetName(), "Arial");
}

TEST(TgtCustomDocumentEngine, EndDocRestoresTheDrawingStateOfBeginDoc) {
  TTraceEngine E;
  E.GetFont()->SetName("Arial");
  E.BeginDoc();
  E.GetFont()->SetName("Courier New");
  E.SetTextAngle(450);
  EXPECT_EQ(E.GetTextAngle(), 90);
  E.SetTextAngle(-90);
  EXPECT_EQ(E.GetTextAngle(), -90);
  E.EndDoc();
  EXPECT_EQ(E.GetFont()->GetName(), "Arial");
  EXPECT_EQ(E.GetTextAngle(), 0);
}

TEST(TgtCustomDocumentEngine, SortItemsOrdersEqualLinesByXOnlyWithATolerance) {
  TTraceEngine E;
  auto Make = [](double X, double Y) {
    auto T = std::make_shared<TgtTextItem>();
    T->X = X;
    T->Y = Y;
    return T;
  };
  for (double Tol : {0.0, 1.0}) {
    E.SetLineTolerance(Tol);
    TgtItemList L{Make(50, 100), Make(30, 100.5), Make(10, 100), Make(0, 20)};
    E.SortItems(L);
    std::string Got;
    for (auto& I : L) Got += TTraceEngine::N(static_cast<TgtTextItem*>(I.get())->X) + " ";
    EXPECT_EQ(Got, Tol == 0 ? "0 50 10 30 " : "0 10 50 30 ") << Tol;
  }
}

TEST(TgtCustomDocumentEngine, VariablesAreReplacedOnceEvenWhenAValueNamesItself) {
  TTraceEngine E;
  E.GetDocInfo()->SetAuthor(u"Ann");
  E.OnCalcVariables = TgtOnCalcVariablesEvent(&E, &TTraceEngine::CalcSelf);
  WideString R;
  E.ReplaceVariables(u"<%author%> <%Me%> <%Pg#%> <%Empty%>.", false, R);
  EXPECT_EQ(R, u"Ann [<%Me%>] <%Pg#%> .");
  E.GetPreferences()->SetCalculateVariables(false);
  E.ReplaceVariables(u"<%Author%>", true, R);
  EXPECT_EQ(R, u"<%Author%>");
}

TEST(TgtCustomDocumentEngine, TextOutsideTheBandAreaIsDropped) {
  TTraceEngine E;
  E.GetPage()->SetLeftMargin(10);
  E.BeginDoc();
  E.TextOut(-11, 0, u"left of area");
  E.TextOut(0, 800, u"below area");
  E.TextOut(0, 0, u"in");
  E.FormattedTextOut(u"a <b>bold</B> //x /<B>", 0, 100);
  E.EndDoc();
  EXPECT_EQ(E.Joined("Text"),
            "Text 10,0 \"in\" MS Sans Serif 8\n"
            "Text 10,100 \"a \" MS Sans Serif 8\n"
            "Text 20,100 \"bold\" MS Sans Serif 8\n"
            "Text 48,100 \" /x <B>\" MS Sans Serif 8\n");
  EXPECT_FALSE(E.GetFont()->GetStyle().Contains(fsBold));
}

namespace {
class TOwnPreferences : public TgtPreferences {};
// Overrides the preferences class and does nothing else: no constructor has
// to remake the object for the override to count.
class TOwnPreferencesEngine : public TgtCustomDocumentEngine {
public:
  TOwnPreferencesEngine() : TgtCustomDocumentEngine(nullptr) {}
  std::unique_ptr<TgtPreferences> GetPreferencesClass() override { return std::make_unique<TOwnPreferences>(); }
};
}  // namespace

TEST(TgtCustomDocumentEngine, PreferencesAreMadeByTheMostDerivedClass) {
  TOwnPreferencesEngine E;
  EXPECT_NE(dynamic_cast<TOwnPreferences*>(E.GetPreferences()), nullptr);
  E.GetPreferences()->SetShowSetupDialog(false);
  EXPECT_FALSE(E.GetPreferences()->GetShowSetupDialog());   // one object, kept
}

// The engine's frame keeps its margins in MeasurementUnit, an item's frame in
// pixels: a copy between them converts, a copy between alike frames does not.
TEST(TgtFrame, AssignConvertsMarginsBetweenEngineUnitsAndPixels) {
  TTraceEngine E;
  E.SetMeasurementUnit(muInches);
  E.GetFrame()->Margins = MakeDoubleRect(0.5, 0.25, 1, 0);
  TgtFrame Item;
  Item.Assign(E.GetFrame());
  EXPECT_EQ(Item.Margins, MakeDoubleRect(48, 24, 96, 0));
  TgtFrame Copy;
  Copy.Assign(&Item);
  EXPECT_EQ(Copy.Margins, Item.Margins);
  Item.Margins = MakeDoubleRect(9.6, 0, 0, 0);
  E.SetFrame(&Item);
  EXPECT_DOUBLE_EQ(E.GetFrame()->Margins.Left, 0.1);
}

// The image list keeps its own copy of each picture, of the picture's class.
TEST(TgtCustomDocumentEngine, ImageListCopiesBitmapsMetafilesAndIcons) {
  // A 16 x 16 icon: 32-bit red image, a mask that shows every pixel.
  std::vector<Byte> Ico = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0};
  auto Put32 = [](std::vector<Byte>& O, DWORD V) {
    for (int S = 0; S < 32; S += 8) O.push_back(Byte(V >> S));
  };
  std::vector<Byte> Img;
  Put32(Img, 40);
  Put32(Img, 16);
  Put32(Img, 32);
  Img.insert(Img.end(), {1, 0, 32, 0});
  for (int K = 0; K < 6; ++K) Put32(Img, 0);
  for (int I = 0; I < 256; ++I) Put32(Img, 0xFFFF0000);
  Img.insert(Img.end(), 16 * 4, 0);
  Put32(Ico, DWORD(Img.size()));
  Put32(Ico, 22);
  Ico.insert(Ico.end(), Img.begin(), Img.end());
  TMemoryStream S;
  S.WriteBuffer(Ico.data(), Integer(Ico.size()));
  S.SetPosition(0);
  TIcon Icon;
  Icon.LoadFromStream(&S);
  ASSERT_FALSE(Icon.Empty());
  TBitmap Bmp;
  Bmp.SetSize(3, 2);
  TMetafile Mf;
  Mf.SetWidth(5);
  Mf.SetHeight(4);

  TTraceEngine E;
  E.BeginDoc();
  struct TCase { TGraphic* Graphic; const char* Class; Integer W, H; };
  const TCase Cases[] = {{&Bmp, "TBitmap", 3, 2}, {&Mf, "TMetafile", 5, 4}, {&Icon, "TIcon", 16, 16}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Class);
    const Integer Index = E.AddImageToList(C.Graphic);
    ASSERT_GE(Index, 0);
    TGraphic* Copy = E.GetImage(Index);
    ASSERT_NE(Copy, nullptr);
    EXPECT_NE(Copy, C.Graphic);
    EXPECT_EQ(std::string(Copy->ClassName()), C.Class);
    EXPECT_EQ(Copy->GetWidth(), C.W);
    EXPECT_EQ(Copy->GetHeight(), C.H);
  }
  E.EndDoc();
}
