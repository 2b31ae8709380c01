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

// Every remaining kind: push buttons, a radio group, combo and list boxes,
// and each drawn, markup and attachment annotation. The readers must see
// the fields' kinds and values, every annotation subtype and the carried
// file's bytes.
TEST(TgtExPDFEngine, EveryFieldAndAnnotationKindReachesTheReaders) {
  TTempDir Dir;
  {
    std::ofstream(Dir.File("carried.txt")) << "carried bytes";
  }
  TgtPDFEngine E;
  SetUpLikeTheApplication(E, Dir.File("kinds"));
  E.BeginDoc();
  E.TextOut(10, 10, u"kinds");

  auto Reset = At<TgtPDFPushButton>(1, 20, 300, 120, 325);
  Reset->Caption = u"Reset";
  Reset->Action = baResetForm;
  E.AddFormField(std::move(Reset));
  auto Submit = At<TgtPDFPushButton>(1, 140, 300, 240, 325);
  Submit->Name = u"Send";
  Submit->Action = baSubmitForm;
  Submit->SubmitFormat = sfXFDF;
  Submit->Address = "https://example.org/form";
  E.AddFormField(std::move(Submit));
  auto Radio = At<TgtPDFRadioGroup>(1, 0, 0, 0, 0);
  Radio->Name = u"Size";
  for (const char* O : {"small", "medium", "large"}) {
    const double X = 20 + 30 * double(Radio->Buttons.size());
    Radio->Buttons.push_back({X, 340, X + 15, 355, O});
  }
  Radio->Selected = 1;
  Radio->NoToggleToOff = true;
  E.AddFormField(std::move(Radio));
  auto Combo = At<TgtPDFComboBox>(1, 20, 370, 160, 390);
  Combo->Name = u"Colour";
  Combo->Items = {u"red", u"green"};
  Combo->Selected = 1;
  Combo->Editable = true;
  E.AddFormField(std::move(Combo));
  auto List = At<TgtPDFListBox>(1, 180, 370, 300, 430);
  List->Items = {u"one", u"two", u"three"};
  List->MultiSelect = true;
  E.AddFormField(std::move(List));

  auto Free = At<TgtPDFFreeTextAnnotation>(1, 300, 40, 450, 80);
  Free->Contents = u"Typed on the page";
  E.AddAnnotation(std::move(Free));
  auto Line = At<TgtPDFLineAnnotation>(1, 20, 450, 200, 500);
  Line->X1 = 20, Line->Y1 = 450, Line->X2 = 200, Line->Y2 = 500;
  Line->EndEnding = leClosedArrow;
  E.AddAnnotation(std::move(Line));
  auto Square = At<TgtPDFSquareAnnotation>(1, 220, 450, 300, 500);
  E.AddAnnotation(std::move(Square));
  auto Circle = At<TgtPDFSquareAnnotation>(1, 320, 450, 400, 500);
  Circle->Circle = true;
  Circle->Effect = pbeCloudy;
  Circle->Intensity = 1;
  E.AddAnnotation(std::move(Circle));
  auto Polygon = At<TgtPDFPolygonAnnotation>(1, 20, 520, 120, 600);
  Polygon->Points = {{20, 600}, {70, 520}, {120, 600}};
  E.AddAnnotation(std::move(Polygon));
  auto PolyLine = At<TgtPDFPolygonAnnotation>(1, 140, 520, 240, 600);
  PolyLine->Closed = false;
  PolyLine->Points = {{140, 600}, {190, 520}, {240, 600}};
  E.AddAnnotation(std::move(PolyLine));
  auto Mark = At<TgtPDFMarkupAnnotation>(1, 10, 5, 60, 25);
  Mark->Markup = mkStrikeOut;
  E.AddAnnotation(std::move(Mark));
  auto Caret = At<TgtPDFCaretAnnotation>(1, 60, 5, 70, 25);
  Caret->Paragraph = true;
  E.AddAnnotation(std::move(Caret));
  auto Ink = At<TgtPDFInkAnnotation>(1, 260, 520, 360, 600);
  Ink->Points = {{260, 600}, {300, 520}, {360, 560}};
  E.AddAnnotation(std::move(Ink));
  auto File = At<TgtPDFFileAttachmentAnnotation>(1, 400, 520, 420, 540);
  File->FileName = Dir.File("carried.txt");
  File->Icon = aiPaperclip;
  E.AddAnnotation(std::move(File));
  E.EndDoc();

  const std::string Pdf = Dir.File("kinds.pdf");
  std::string Report;
  ASSERT_TRUE(QpdfAccepts(Pdf, &Report)) << Report;

  // The fields as the form reader sees them: "name kind value flags".
  const std::string Fields = pdftest::Run(
      "qpdf --json --json-key=acroform '" + Pdf + "' | python3 -c \"import json,sys; "
      "f=json.load(sys.stdin)['acroform']['fields']; "
      "[print(x['fullname'], 'radio' if x['isradiobutton'] else 'choice' if x['ischoice'] else "
      "'push' if x['fieldtype'] == '/Btn' and not x['ischeckbox'] else 'other', x['value'], x['fieldflags'], ','.join(x['choices'])) for x in f]\"");
  for (const char* Want : {"Btn0 push", "Send push", "Size radio /medium 49152", "Colour choice u:green 393216 red,green",
                           "List4 choice u:Choice 2097152 one,two,three"})
    EXPECT_NE(Fields.find(Want), std::string::npos) << Want << " in\n" << Fields;
  EXPECT_EQ(std::count(Fields.begin(), Fields.end(), '\n'), 7) << "one line per radio button\n" << Fields;

  // Every annotation subtype on the page, the buttons' actions.
  const std::string Subtypes = pdftest::Run(
      "qpdf --json '" + Pdf + "' | python3 -c \"import json,sys; d=json.load(sys.stdin)['qpdf'][1]; "
      "print(' '.join(sorted(set(o['value'].get('/Subtype','') for o in d.values() "
      "if isinstance(o.get('value'),dict) and o['value'].get('/Type')=='/Annot'))))\"");
  EXPECT_NE(Subtypes.find("/Caret /Circle /FileAttachment /FreeText /Ink /Line /PolyLine /Polygon /Square "
                          "/StrikeOut /Widget"),
            std::string::npos)
      << Subtypes;
  const std::string Q = Normalised(Pdf);
  EXPECT_NE(Q.find("/S /ResetForm"), std::string::npos);
  EXPECT_NE(Q.find("/Flags 32 /S /SubmitForm"), std::string::npos) << Q;
  EXPECT_NE(Q.find("/LE [ /None /ClosedArrow ]"), std::string::npos);

  // The carried file comes back out whole.
  const std::string Out = Dir.File("out.txt");
  pdftest::Run("pdfdetach -save 1 -o '" + Out + "' '" + Pdf + "'");
  EXPECT_EQ(ReadFile(Out), "carried bytes");
}
