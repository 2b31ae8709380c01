// What a viewer reads from the document: its opening preferences, the
// transition of every page and the pages' thumbnails.
#include "PdfTestSupport.h"
#include <set>
#include "export/pdf/ExPdfEngine.h"
#include "platform/gdi/Bitmap.h"

using namespace pdftest;

namespace {
// The whole file in qpdf's normalised form, its whitespace folded.
std::string Normalised(const std::string& File) {
  return Words(pdftest::Run("qpdf --qdf --object-streams=disable '" + File + "' -"));
}

std::size_t Count(const std::string& Text, const std::string& What) {
  std::size_t N = 0;
  for (auto P = Text.find(What); P != std::string::npos; P = Text.find(What, P + 1)) ++N;
  return N;
}
}  // namespace

TEST(TgtPDFEngine, ViewerPreferencesReachTheCatalog) {
  struct TCase {
    TgtPageMode Mode;
    TgtNonFullScreenPageMode NonFull;
    TgtPageLayout Layout;
    bool Flags;
    const char* Want;
  };
  const TCase Cases[] = {
      {pmUseNone, nfspmUseNone, plOneColumn, false,
       "/PageLayout /OneColumn /PageMode /UseNone /Pages 2 0 R /Type /Catalog /ViewerPreferences << >>"},
      {pmFullScreen, nfspmUseThumbs, plTwoColumnLeft, false,
       "/PageLayout /TwoColumnLeft /PageMode /FullScreen /Pages 2 0 R /Type /Catalog /ViewerPreferences << "
       "/NonFullScreenPageMode /UseThumbs >>"},
      {pmUseThumbs, nfspmUseThumbs, plSinglePage, true,
       "/PageLayout /SinglePage /PageMode /UseThumbs /Pages 2 0 R /Type /Catalog /ViewerPreferences << "
       "/CenterWindow true /FitWindow true /HideMenubar true /HideToolbar true /HideWindowUI true >>"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Want);
    TTempDir Dir;
    TgtPDFEngine E;
    SetUpLikeTheApplication(E, Dir.File("viewer"));
    TgtViewerPreferences* V = E.GetViewerPreferences();
    V->PageMode = C.Mode;
    V->NonFullScreenPageMode = C.NonFull;
    V->PageLayout = C.Layout;
    V->CenterWindow = V->FitWindow = V->HideWindowUI = V->HideMenuBar = V->HideToolBar = C.Flags;
    E.BeginDoc();
    E.TextOut(10, 10, u"x");
    E.EndDoc();
    const std::string File = Dir.File("viewer.pdf");
    EXPECT_TRUE(QpdfAccepts(File));
    EXPECT_EQ(Words(pdftest::Run("qpdf --show-object=1 '" + File + "'")), "<< " + std::string(C.Want) + " >>");
  }
}

TEST(TgtPDFEngine, EveryPageCarriesItsTransition) {
  struct TCase {
    TgtTransitionEffect Effect;
    const char* Want;   // the /Trans dictionary as qpdf sorts it
  };
  const TCase Cases[] = {
      {teNone, "/Trans << /D 3 /S /R /Type /Trans >>"},
      {teSplitVerticalOutward, "/Trans << /D 3 /Dm /V /M /O /S /Split /Type /Trans >>"},
      {teWipeBottomToTop, "/Trans << /D 3 /Di 90 /S /Wipe /Type /Trans >>"},
      {teGlitterTopLeftToBottomRight, "/Trans << /D 3 /Di 315 /S /Glitter /Type /Trans >>"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Want);
    TTempDir Dir;
    TgtPDFEngine E;
    SetUpLikeTheApplication(E, Dir.File("trans"));
    E.GetViewerPreferences()->PresentationMode->Duration = 3;
    E.GetViewerPreferences()->PresentationMode->TransitionEffect = C.Effect;
    E.BeginDoc();
    E.TextOut(10, 10, u"one");
    E.NewPage();
    E.TextOut(10, 10, u"two");
    E.EndDoc();
    const std::string File = Dir.File("trans.pdf");
    EXPECT_TRUE(QpdfAccepts(File));
    const std::string Q = Normalised(File);
    EXPECT_EQ(Count(Q, C.Want), 2u) << Q;
    EXPECT_EQ(Count(Q, "/Dur 3 "), 2u);
  }
}

TEST(TgtPDFEngine, PagesAskingForTheSamePictureShareOneThumbnail) {
  TTempDir Dir;
  TgtPDFEngine E;
  SetUpLikeTheApplication(E, Dir.File("thumbs"));
  E.BeginDoc();
  TBitmap Picture;
  Picture.SetPixelFormat(pf24bit);
  Picture.SetSize(12, 16);
  Picture.Canvas()->Brush()->SetColor(clRed);
  Picture.Canvas()->FillRect(TRect(0, 0, 12, 16));
  const Integer Index = E.AddImageToList(&Picture);
  for (int Page = 1; Page <= 4; ++Page) {
    if (Page > 1) E.NewPage();
    E.TextOut(10, 10, u"page");
  }
  E.AddThumbnail(1, Index);
  E.AddThumbnail(2, Index);                    // the same rendering: shared
  E.AddThumbnail(3, Index, /*ImageKind=*/1);   // JPEG: a second thumbnail
  E.AddThumbnail(9, Index);                    // a page that never comes
  E.EndDoc();
  const std::string File = Dir.File("thumbs.pdf");
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
  EXPECT_NE(Words(pdftest::Run("pdfinfo '" + File + "'")).find("Pages: 4 "), std::string::npos);
  const std::string Q = Normalised(File);
  std::vector<std::string> Refs;
  for (auto P = Q.find("/Thumb "); P != std::string::npos; P = Q.find("/Thumb ", P + 1))
    Refs.push_back(Q.substr(P + 7, Q.find(" R", P) - P - 7));
  ASSERT_EQ(Refs.size(), 3u) << Q;
  EXPECT_EQ(std::set<std::string>(Refs.begin(), Refs.end()).size(), 2u);
  // Each thumbnail is a picture of the image's own size (qpdf shows the
  // deflated one inflated, without its filter).
  EXPECT_EQ(Count(Q, "/BitsPerComponent 8 /ColorSpace /DeviceRGB /Filter /DCTDecode /Height 16 /Width 12"), 1u) << Q;
  EXPECT_EQ(Count(Q, "/BitsPerComponent 8 /ColorSpace /DeviceRGB /Height 16 /Width 12"), 1u) << Q;
}
