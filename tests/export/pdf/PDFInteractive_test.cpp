// The interactive objects a library caller queues on the engine: they must
// reach the file in a form the readers accept and understand, and a
// document rendered without them must carry none of their entries.
#include "PdfTestSupport.h"
#include "export/pdf/ExPdfEngine.h"

using namespace pdftest;

namespace {
std::string Normalised(const std::string& File) {
  return Words(pdftest::Run("qpdf --qdf --object-streams=disable '" + File + "' -"));
}

template <class T>
std::unique_ptr<T> At(Integer Page, double L, double T_, double R, double B) {
  auto O = std::make_unique<T>();
  O->PageNo = Page;
  O->Left = L;
  O->Top = T_;
  O->Right = R;
  O->Bottom = B;
  return O;
}

// Two pages with every kind of queue filled.
std::string WriteQueued(const TTempDir& Dir, bool Encrypted) {
  TgtPDFEngine E;
  SetUpLikeTheApplication(E, Dir.File("queued"));
  if (Encrypted) {
    E.GetEncryption()->SetEnabled(true);
    E.GetEncryption()->SetUserPassword("u");
  }
  E.BeginDoc();
  E.TextOut(10, 10, u"first");

  auto Note = At<TgtPDFTextAnnotation>(1, 50, 50, 70, 70);
  Note->Title = u"Reviewer";
  Note->Contents = u"Check this";
  Note->Icon = tiHelp;
  E.AddAnnotation(std::move(Note));
  auto Link = At<TgtPDFLinkAnnotation>(1, 100, 100, 200, 120);
  Link->Action.ActionType = atGoTo;
  Link->Action.PageNo = 2;
  E.AddAnnotation(std::move(Link));
  auto Stamp = At<TgtPDFStampAnnotation>(2, 100, 100, 300, 160);
  Stamp->Stamp = snConfidential;
  E.AddAnnotation(std::move(Stamp));

  auto Text = At<TgtPDFTextField>(1, 100, 200, 300, 225);
  Text->Name = u"City";
  Text->Text = u"Lyon";
  Text->MaxLength = 20;
  Text->Required = true;
  E.AddFormField(std::move(Text));
  auto Box = At<TgtPDFCheckBox>(1, 100, 240, 115, 255);
  Box->Checked = true;
  E.AddFormField(std::move(Box));

  E.AddMetadata({xsDC, "title", "Queued <objects>"});
  auto Actions = std::make_unique<TgtPDFPageAction>();
  Actions->OpenAction = std::make_unique<TgtPDFAction>();
  Actions->OpenAction->ActionType = atJavaScript;
  Actions->OpenAction->Text = "app.alert('open')";
  Actions->CloseAction = std::make_unique<TgtPDFAction>();
  Actions->CloseAction->ActionType = atNamed;
  Actions->CloseAction->Named = naFirstPage;
  E.AddPageAction(2, std::move(Actions));

  E.NewPage();
  E.TextOut(10, 10, u"second");
  E.EndDoc();
  return Dir.File("queued.pdf");
}
}  // namespace

TEST(TgtExPDFEngine, QueuedObjectsReachTheFile) {
  TTempDir Dir;
  const std::string File = WriteQueued(Dir, false);
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
  const std::string Q = Normalised(File);
  // Each page lists its own annotations and fields; page 2 also its actions.
  EXPECT_NE(Q.find("/Subtype /Text"), std::string::npos);
  EXPECT_NE(Q.find("/Name /Help"), std::string::npos);
  EXPECT_NE(Q.find("/Name /Confidential"), std::string::npos);
  EXPECT_NE(Q.find("/Subtype /Stamp"), std::string::npos);
  EXPECT_NE(Q.find("/S /GoTo"), std::string::npos);
  EXPECT_NE(Q.find("/FT /Tx"), std::string::npos);
  EXPECT_NE(Q.find("/MaxLen 20"), std::string::npos);
  EXPECT_NE(Q.find("/AS /Yes"), std::string::npos);
  EXPECT_NE(Q.find("/AA << /C << /N /FirstPage /S /Named >> /O << /JS (app.alert\\('open'\\)) /S /JavaScript >> >>"),
            std::string::npos)
      << Q;

  // The readers see the form's fields with their values and flags.
  const std::string Json = pdftest::Run("qpdf --json --json-key=acroform '" + File + "'");
  EXPECT_NE(Json.find("\"fullname\": \"City\""), std::string::npos) << Json;
  EXPECT_NE(Json.find("\"value\": \"u:Lyon\""), std::string::npos);
  EXPECT_NE(Json.find("\"fullname\": \"ChBtn1\""), std::string::npos);
  EXPECT_NE(Json.find("\"ischeckbox\": true"), std::string::npos);
  EXPECT_NE(Json.find("\"fieldflags\": 2"), std::string::npos);
  // Each page lists its own: two annotations and two widgets on page 1, the stamp on page 2.
  const std::string Annots = pdftest::Run(
      "qpdf --json '" + File + "' | python3 -c \"import json,sys; d=json.load(sys.stdin)['qpdf'][1]; "
      "print(sorted(len(o['value'].get('/Annots',[])) for o in d.values() "
      "if isinstance(o.get('value'),dict) and o['value'].get('/Type')=='/Page'))\"");
  EXPECT_NE(Annots.find("[1, 4]"), std::string::npos) << Annots;

  const std::string Meta = pdftest::Run("pdfinfo -meta '" + File + "'");
  EXPECT_NE(Meta.find("<dc:title>Queued &lt;objects&gt;</dc:title>"), std::string::npos) << Meta;
  EXPECT_NE(pdftest::Run("pdfinfo '" + File + "'").find("AcroForm"), std::string::npos);
}

TEST(TgtExPDFEngine, QueuedObjectsSurviveEncryption) {
  TTempDir Dir;
  const std::string File = WriteQueued(Dir, true);
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(File, &Report, "u")) << Report;
  const std::string Json = pdftest::Run("qpdf --password=u --json --json-key=acroform '" + File + "'");
  EXPECT_NE(Json.find("\"value\": \"u:Lyon\""), std::string::npos) << Json;
  EXPECT_NE(pdftest::Run("pdfinfo -upw u -meta '" + File + "'").find("<dc:title>"), std::string::npos);
}

TEST(TgtExPDFEngine, UnfilledQueuesLeaveNoTrace) {
  TTempDir Dir;
  TgtPDFEngine E;
  SetUpLikeTheApplication(E, Dir.File("plain"));
  // Cleared when the document starts, so this script never reaches the file.
  E.GetDocumentJavaScript()->BeforePrint = "print()";
  E.AddFormField(std::make_unique<TgtPDFTextField>());   // no open document: ignored
  E.BeginDoc();
  E.TextOut(10, 10, u"x");
  E.EndDoc();
  const std::string Q = Normalised(Dir.File("plain.pdf"));
  for (const char* Entry : {"/AcroForm", "/Metadata", "/AA", "/Annot"}) EXPECT_EQ(Q.find(Entry), std::string::npos) << Entry;
}

// Metadata names and values come from the library's caller: whatever they
// hold, the packet stays well-formed XML and every entry arrives.
TEST(TgtExPDFEngine, MetadataStaysWellFormedWhateverItsNamesHold) {
  TTempDir Dir;
  TgtPDFEngine E;
  SetUpLikeTheApplication(E, Dir.File("meta"));
  E.BeginDoc();
  E.AddMetadata({xsDC, "my title", "a\x01" "b & c"});
  E.AddMetadata({xsXMP, "3rd<x>", "\x1F" "kept\ttab"});
  E.AddMetadata({xsPDF, "", "empty name"});
  E.TextOut(10, 10, u"x");
  E.EndDoc();
  const std::string Meta = pdftest::Run("pdfinfo -meta '" + Dir.File("meta.pdf") + "'");
  {
    std::ofstream Out(Dir.File("meta.xml"), std::ios::binary);
    Out << Meta.substr(Meta.find("<?xpacket"));
  }
  int Status = -1;
  const std::string Lint = pdftest::Run("xmllint --noout '" + Dir.File("meta.xml") + "'", &Status);
  EXPECT_EQ(Status, 0) << Lint << Meta;
  EXPECT_NE(Meta.find("<dc:my_title>ab &amp; c</dc:my_title>"), std::string::npos) << Meta;
  EXPECT_NE(Meta.find("<xmp:_3rd_x_>kept\ttab</xmp:_3rd_x_>"), std::string::npos) << Meta;
  EXPECT_NE(Meta.find("<pdf:_>empty name</pdf:_>"), std::string::npos) << Meta;
}
