#include "export/pdf/ExPdfEngine.h"
#include "export/engine/StreamFilters.h"
#include "export/engine/WriterUtils.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Markup.h"
#include "platform/rtl/Streams.h"
#include "platform/gdi/Dib.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/DateTime.h"
#include <cmath>
#include <cstring>

namespace {
const char* const WhiteTerm[64] = {
    "00110101", "000111", "0111", "1000", "1011", "1100", "1110", "1111", "10011", "10100", "00111", "01000",
    "001000", "000011", "110100", "110101", "101010", "101011", "0100111", "0001100", "0001000", "0010111",
    "0000011", "0000100", "0101000", "0101011", "0010011", "0100100", "0011000", "00000010", "00000011",
    "00011010", "00011011", "00010010", "00010011", "00010100", "00010101", "00010110", "00010111", "00101000",
    "00101001", "00101010", "00101011", "00101100", "00101101", "00000100", "00000101", "00001010", "00001011",
    "01010010", "01010011", "01010100", "01010101", "00100100", "00100101", "01011000", "01011001", "01011010",
    "01011011", "01001010", "01001011", "00110010", "00110011", "00110100"};
const char* const BlackTerm[64] = {
    "0000110111", "010", "11", "10", "011", "0011", "0010", "00011", "000101", "000100", "0000100", "0000101",
    "0000111", "00000100", "00000111", "000011000", "0000010111", "0000011000", "0000001000", "00001100111",
    "00001101000", "00001101100", "00000110111", "00000101000", "00000010111", "00000011000", "000011001010",
    "000011001011", "000011001100", "000011001101", "000001101000", "000001101001", "000001101010",
    "000001101011", "000011010010", "000011010011", "000011010100", "000011010101", "000011010110",
    "000011010111", "000001101100", "000001101101", "000011011010", "000011011011", "000001010100",
    "000001010101", "000001010110", "000001010111", "000001100100", "000001100101", "000001010010",
    "000001010011", "000000100100", "000000110111", "000000111000", "000000100111", "000000101000",
    "000001011000", "000001011001", "000000101011", "000000101100", "000001011010", "000001100110",
    "000001100111"};
// Make-up codes for 64 x 1 .. 64 x 27.
const char* const WhiteMakeup[27] = {
    "11011", "10010", "010111", "0110111", "00110110", "00110111", "01100100", "01100101", "01101000",
    "01100111", "011001100", "011001101", "011010010", "011010011", "011010100", "011010101", "011010110",
    "011010111", "011011000", "011011001", "011011010", "011011011", "010011000", "010011001", "010011010",
    "011000", "010011011"};
const char* const BlackMakeup[27] = {
    "0000001111", "000011001000", "000011001001", "000001011011", "000000110011", "000000110100",
    "000000110101", "0000001101100", "0000001101101", "0000001001010", "0000001001011", "0000001001100",
    "0000001001101", "0000001110010", "0000001110011", "0000001110100", "0000001110101", "0000001110110",
    "0000001110111", "0000001010010", "0000001010011", "0000001010100", "0000001010101", "0000001011010",
    "0000001011011", "0000001100100", "0000001100101"};
// 1792 .. 2560, shared by both colours.
const char* const ExtMakeup[13] = {"00000001000", "00000001100", "00000001101", "000000010010", "000000010011",
                                   "000000010100", "000000010101", "000000010110", "000000010111", "000000011100",
                                   "000000011101", "000000011110", "000000011111"};

class TBitWriter {
public:
  void Put(const char* Code) {
    for (; *Code; ++Code) {
      FAcc = Byte(FAcc << 1 | (*Code == '1'));
      if (++FBits == 8) {
        FOut += char(FAcc);
        FAcc = 0;
        FBits = 0;
      }
    }
  }
  std::string Finish() {
    if (FBits) FOut += char(FAcc << (8 - FBits));
    FBits = 0;
    return FOut;
  }

private:
  std::string FOut;
  Byte FAcc = 0;
  int FBits = 0;
};

void PutRun(TBitWriter& W, Integer N, bool Black) {
  while (N >= 2560) {
    W.Put(ExtMakeup[12]);
    N -= 2560;
  }
  if (N > 63) {
    const Integer M = N / 64;
    W.Put(M <= 27 ? (Black ? BlackMakeup[M - 1] : WhiteMakeup[M - 1]) : ExtMakeup[M - 28]);
    N -= 64 * M;
  }
  W.Put(Black ? BlackTerm[N] : WhiteTerm[N]);
}

// First changing element at or after From (pixel x differs from x - 1;
// the pixel before the line is white); Width when none.
Integer NextChange(const std::vector<bool>& L, Integer From, Integer Width) {
  for (Integer X = std::max<Integer>(From, 0); X < Width; ++X)
    if (L[std::size_t(X)] != (X == 0 ? false : bool(L[std::size_t(X - 1)]))) return X;
  return Width;
}
}  // namespace

std::string gtEncodeFax(const std::vector<std::vector<bool>>& Rows, Integer Width, bool TwoDimensional) {
  TBitWriter W;
  if (!TwoDimensional) {
    for (const auto& Row : Rows) {
      Integer X = 0;
      while (X < Width) {
        Integer E = X;
        while (E < Width && !Row[std::size_t(E)]) ++E;
        PutRun(W, E - X, false);
        X = E;
        if (X >= Width) break;
        while (E < Width && Row[std::size_t(E)]) ++E;
        PutRun(W, E - X, true);
        X = E;
      }
    }
    return W.Finish();
  }
  std::vector<bool> Ref(std::size_t(std::max<Integer>(Width, 0)), false);
  for (const auto& Row : Rows) {
    Integer A0 = -1;
    bool Color = false;   // colour at a0: white
    while (A0 < Width) {
      const Integer A1 = NextChange(Row, A0 + 1, Width);
      // b1: a change on the reference line right of a0 to the colour opposite a0's.
      Integer B1 = NextChange(Ref, A0 + 1, Width);
      while (B1 < Width && bool(Ref[std::size_t(B1)]) == Color) B1 = NextChange(Ref, B1 + 1, Width);
      const Integer B2 = B1 < Width ? NextChange(Ref, B1 + 1, Width) : Width;
      if (B2 < A1) {
        W.Put("0001");
        A0 = B2;
      } else if (std::abs(A1 - B1) <= 3) {
        static const char* const V[7] = {"0000010", "000010", "010", "1", "011", "000011", "0000011"};
        W.Put(V[A1 - B1 + 3]);
        A0 = A1;
        Color = !Color;
      } else {
        const Integer A2 = A1 < Width ? NextChange(Row, A1 + 1, Width) : Width;
        W.Put("001");
        PutRun(W, A1 - std::max<Integer>(A0, 0), Color);
        PutRun(W, A2 - A1, !Color);
        A0 = A2;
      }
    }
    Ref = Row;
  }
  W.Put("000000000001000000000001");
  return W.Finish();
}

void TgtDocEventJSAction::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TgtDocEventJSAction*>(Source);
  if (!S) return TPersistent::Assign(Source);
  BeforeClose = S->BeforeClose;
  BeforePrint = S->BeforePrint;
  BeforeSave = S->BeforeSave;
  AfterSave = S->AfterSave;
  AfterPrint = S->AfterPrint;
}

TgtExPDFEngine::TgtExPDFEngine(TComponent* AOwner)
    : TgtCustomPDFEngine(AOwner), FJavaScript(std::make_unique<TgtDocEventJSAction>()) {}

TgtExPDFEngine::~TgtExPDFEngine() = default;

void TgtExPDFEngine::StartDocument() {
  TgtCustomPDFEngine::StartDocument();
  TgtDocEventJSAction Empty;
  FJavaScript->Assign(&Empty);
  FActionNumber = FAcroFormNumber = FMetadataNumber = 0;
  FAnnotations.clear();
  FFields.clear();
  FMetadata.clear();
  FPageActions.clear();
  FRects.clear();
  FShapes.clear();
  FRadioWidgets.clear();
  FQueuesOpen = true;
}

void TgtExPDFEngine::AddAnnotation(std::unique_ptr<TgtPDFAnnotation> Annotation) {
  if (FQueuesOpen && Annotation) FAnnotations.emplace_back(NextObjectNumber(), std::move(Annotation));
}

void TgtExPDFEngine::AddFormField(std::unique_ptr<TgtPDFFormField> Field) {
  if (FQueuesOpen && Field) FFields.emplace_back(NextObjectNumber(), std::move(Field));
}

void TgtExPDFEngine::AddMetadata(const TgtPDFMetadataEntry& Entry) {
  if (FQueuesOpen) FMetadata.push_back(Entry);
}

void TgtExPDFEngine::AddPageAction(Integer PageNo, std::unique_ptr<TgtPDFPageAction> Action) {
  if (FQueuesOpen && Action) FPageActions.emplace_back(PageNo, std::move(Action));
}

AnsiString TgtExPDFEngine::ActionText(const TgtPDFAction& A, Integer N) {
  static const char* const Named[] = {" /NextPage", " /PrevPage", " /FirstPage", " /LastPage"};
  static const char* const Kinds[] = {"/XYZ", "/Fit", "/FitH", "/FitV", "/FitR"};
  auto Str = [&](const AnsiString& T) { return "(" + EscapePDFString(EncryptString(T, N)) + ")"; };
  auto Destination = [&]() -> AnsiString {
    AnsiString D = " " + AnsiString(Kinds[std::min<int>(A.Destination, 4)]);
    auto V = [&](double X) { D += " " + FormatNumber(X); };
    switch (A.Destination) {
      case dkXYZ: V(ToPDFX(A.Left)); V(ToPDFY(A.Top)); D += " " + std::to_string(A.Zoom); break;
      case dkFitH: V(ToPDFY(A.Top)); break;
      case dkFitV: V(ToPDFX(A.Left)); break;
      case dkFitR: V(ToPDFX(A.Left)); V(ToPDFY(A.Bottom)); V(ToPDFX(A.Right)); V(ToPDFY(A.Top)); break;
      case dkFit: break;
    }
    return D + " ]";
  };
  const AnsiString NewWindow = A.NewWindow ? "true" : "false";
  switch (A.ActionType) {
    case atJavaScript: return "/JavaScript /JS " + Str(A.Text);
    case atNamed: return AnsiString("/Named /N") + Named[std::min<int>(A.Named, 3)];
    case atURI: return "/URI /URI " + Str(A.Text);
    case atLaunch: return "/Launch /F " + Str(A.Text) + " /NewWindow " + NewWindow;
    case atGoTo: {
      const Integer Page = PageObjectNumber(A.PageNo);
      if (!Page) return "";
      return "/GoTo /D [" + ObjectRef(Page) + Destination();
    }
    case atGoToR:
      // The target lives in another file: its page is given by index.
      return "/GoToR/F " + Str(A.Text) + "/D [" + std::to_string(std::max(0, A.PageNo - 1)) + Destination() +
             " /NewWindow " + NewWindow;
  }
  return "";
}

AnsiString TgtExPDFEngine::PdfRect(const TgtPDFPageObject& O) const {
  return FormatNumber(ToPDFX(O.Left)) + " " + FormatNumber(ToPDFY(O.Bottom)) + " " + FormatNumber(ToPDFX(O.Right)) +
         " " + FormatNumber(ToPDFY(O.Top));
}

AnsiString TgtExPDFEngine::HexText(const WideString& Text, Integer N) { return "<" + TextString(Text, N) + ">"; }

AnsiString TgtExPDFEngine::PdfString(const AnsiString& Text, Integer N) {
  return "(" + EscapePDFString(EncryptString(Text, N)) + ")";
}

AnsiString TgtExPDFEngine::PointList(const TgtPoints& Points) const {
  AnsiString S;
  for (const auto& P : Points) {
    if (!S.empty()) S += " ";
    S += FormatNumber(ToPDFX(P.X)) + " " + FormatNumber(ToPDFY(P.Y));
  }
  return S;
}

// Positions become page coordinates while their page is the current one.
void TgtExPDFEngine::EndPage() {
  const Integer Page = GetPageNo();
  for (auto& [N, A] : FAnnotations)
    if (A->PageNo == Page) {
      AnnotationRefs() += " " + ObjectRef(N);
      FRects[N] = PdfRect(*A);
      if (auto* L = dynamic_cast<TgtPDFLineAnnotation*>(A.get()))
        FShapes[N] = PointList({{L->X1, L->Y1}, {L->X2, L->Y2}});
      else if (auto* P = dynamic_cast<TgtPDFPolygonAnnotation*>(A.get()))
        FShapes[N] = PointList(P->Points);
      else if (auto* I = dynamic_cast<TgtPDFInkAnnotation*>(A.get()))
        FShapes[N] = PointList(I->Points);
      else if (dynamic_cast<TgtPDFMarkupAnnotation*>(A.get()))
        // Upper left, upper right, lower left, lower right.
        FShapes[N] = PointList({{A->Left, A->Top}, {A->Right, A->Top}, {A->Left, A->Bottom}, {A->Right, A->Bottom}});
    }
  for (auto& [N, F] : FFields) {
    if (F->PageNo != Page) continue;
    if (auto* G = dynamic_cast<TgtPDFRadioGroup*>(F.get())) {
      auto& Widgets = FRadioWidgets[N];
      for (const auto& B : G->Buttons) {
        TgtPDFPageObject O;
        O.Left = B.Left, O.Top = B.Top, O.Right = B.Right, O.Bottom = B.Bottom;
        Widgets.emplace_back(NextObjectNumber(), PdfRect(O));
        AnnotationRefs() += " " + ObjectRef(Widgets.back().first);
      }
      continue;
    }
    AnnotationRefs() += " " + ObjectRef(N);
    FRects[N] = PdfRect(*F);
  }
  TgtCustomPDFEngine::EndPage();
}

void TgtExPDFEngine::BuildPageObject(AnsiString& Text) {
  TgtCustomPDFEngine::BuildPageObject(Text);
  const Integer N = CurrentPageInfoNumber();
  for (auto& [PageNo, A] : FPageActions) {
    if (PageNo != GetPageNo() || (!A->OpenAction && !A->CloseAction)) continue;
    AnsiString AA = "/AA << ";
    if (A->OpenAction) AA += "/O <</S " + ActionText(*A->OpenAction, N) + ">>";
    if (A->CloseAction) AA += "/C <</S " + ActionText(*A->CloseAction, N) + ">>";
    Text += AA + " >>";
    break;
  }
}

void TgtExPDFEngine::BuildCatalog(AnsiString& Text) {
  TgtCustomPDFEngine::BuildCatalog(Text);
  if (!FFields.empty()) {
    FAcroFormNumber = NextObjectNumber();
    Text += " /AcroForm " + ObjectRef(FAcroFormNumber);
  }
  if (!FMetadata.empty()) {
    FMetadataNumber = NextObjectNumber();
    Text += " /Metadata " + ObjectRef(FMetadataNumber);
  }
  if (!FJavaScript->Empty()) {
    FActionNumber = NextObjectNumber();
    Text += " /AA " + ObjectRef(FActionNumber);
  }
}

namespace {
AnsiString DateText(TDateTime T, const AnsiString& CreationDate) {
  // The zone is the one the document's own date carries.
  const std::size_t Zone = CreationDate.find_first_of("+-Z", 2);
  const AnsiString ZoneText = Zone == std::string::npos ? AnsiString() : CreationDate.substr(Zone);
  if (T == 0) return CreationDate;
  return "D:" + FormatDateTime("yyyymmddhhnnss", T) + ZoneText;
}

// The caller names the element; a name with a space, a markup character or
// a leading digit would break the packet, so such characters become '_'
// rather than the entry being lost.
AnsiString XmlElementName(const AnsiString& S) {
  auto NameChar = [](unsigned char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '_' || C == '-' ||
           C == '.' || C >= 0x80;
  };
  AnsiString Out;
  for (char C : S) Out += NameChar(static_cast<unsigned char>(C)) ? C : '_';
  const unsigned char First = Out.empty() ? 0 : static_cast<unsigned char>(Out[0]);
  if (First == 0 || (First >= '0' && First <= '9') || First == '-' || First == '.') Out.insert(0, 1, '_');
  return Out;
}
}  // namespace

void TgtExPDFEngine::WriteAnnotation(Integer N, TgtPDFAnnotation& A) {
  static const char* const Icons[] = {"Comment", "Key", "Note", "Help", "NewParagraph", "Paragraph", "Insert"};
  static const char* const Highlights[] = {"/N", "/I", "/O", "/P"};
  static const char* const Stamps[] = {"/Approved", "/Experimental", "/NotApproved", "/AsIs", "/Expired",
                                       "/NotForPublicRelease", "/Confidential", "/Final", "/Sold", "/Departmental",
                                       "/ForComment", "/TopSecret", "/Draft", "/ForPublicRelease"};
  const AnsiString Rect = FRects.count(N) ? FRects[N] : PdfRect(A);
  AnsiString T = "/Type /Annot/Rect [" + Rect + "]";
  const AnsiString Color = "/C [" + ColorToPDFRGB(A.Color) + "]";
  const AnsiString Common = "/T " + HexText(A.Title, N) + "/Subj " + HexText(A.Subject, N);
  const AnsiString Date = "/M" + PdfString(DateText(A.Modified, GetCreationDate()), N);
  if (auto* Tx = dynamic_cast<TgtPDFTextAnnotation*>(&A)) {
    T += "/Subtype /Text" + Common.substr(0, Common.find("/Subj")) + Color + Common.substr(Common.find("/Subj")) +
         Date + "/Name /" + Icons[std::min<int>(Tx->Icon, 6)] + "/Contents " + HexText(A.Contents, N) +
         (Tx->Open ? "/Open true" : "/Open false");
  } else if (auto* L = dynamic_cast<TgtPDFLinkAnnotation*>(&A)) {
    T += "/Subtype /Link/H " + AnsiString(Highlights[std::min<int>(L->Highlight, 3)]) + "/Border [0 0 " +
         std::to_string(L->BorderWidth) + "]" + Color;
    const AnsiString Action = ActionText(L->Action, N);
    if (!Action.empty()) T += "/A << /Type /Action/S " + Action + " >> ";
  } else if (auto* S = dynamic_cast<TgtPDFStampAnnotation*>(&A)) {
    T += "/Subtype /Stamp /Name " + AnsiString(Stamps[std::min<int>(S->Stamp, 13)]) + Color + "/Contents " +
         HexText(A.Contents, N) + Common + Date;
  } else if (auto* F = dynamic_cast<TgtPDFFreeTextAnnotation*>(&A)) {
    static const char* const Align[] = {"left", "right", "center"};
    T += "/Subtype /FreeText/Contents " + HexText(A.Contents, N) + "/DA " +
         PdfString(ColorToPDFRGB(A.Color) + " rg", N) + "/DS " +
         PdfString("font: " + F->FontName + " " + std::to_string(F->FontSize) + "pt; text-align:" +
                       Align[std::min<int>(F->Alignment, 2)] + "; color: #" + ColorToHexRGB(A.Color),
                   N);
  } else if (auto* D = dynamic_cast<TgtPDFDrawnAnnotation*>(&A)) {
    static const char* const Styles[] = {"/S", "/D", "/B", "/I", "/U"};
    static const char* const Endings[] = {"None", "Butt", "Square", "Circle", "Diamond", "OpenArrow", "ClosedArrow",
                                          "ROpenArrow", "RClosedArrow"};
    AnsiString Dash;
    for (Integer V : D->Dash) Dash += (Dash.empty() ? "" : " ") + std::to_string(V);
    const AnsiString BS = "/BS << /W " + std::to_string(D->BorderWidth) + " /D [" + Dash + "] /S " +
                          Styles[std::min<int>(D->BorderStyle, 4)] + " >>";
    const AnsiString IC = "/IC [" + ColorToPDFRGB(D->InteriorColor) + "]";
    const AnsiString BE = AnsiString("/BE << /S ") + (D->Effect == pbeCloudy ? "/C" : "/S") + " /I " +
                          std::to_string(D->Intensity) + " >>";
    const AnsiString Contents = "/Contents " + HexText(A.Contents, N);
    const AnsiString Title = "/T " + HexText(A.Title, N), Subj = "/Subj " + HexText(A.Subject, N);
    auto LE = [&](TgtPDFLineEnding S, TgtPDFLineEnding E) {
      return AnsiString("/LE [/") + Endings[std::min<int>(S, 8)] + " /" + Endings[std::min<int>(E, 8)] + "]";
    };
    auto Inset = [&](const double (&I)[4]) {
      return "/RD [" + FormatNumber(I[0]) + " " + FormatNumber(I[3]) + " " + FormatNumber(I[2]) + " " +
             FormatNumber(I[1]) + "]";
    };
    if (auto* L = dynamic_cast<TgtPDFLineAnnotation*>(D)) {
      T += "/Subtype /Line/L [" + FShapes[N] + "]" + BS + LE(L->StartEnding, L->EndEnding) + Color + IC + Contents +
           Title + Subj + Date;
    } else if (auto* Q = dynamic_cast<TgtPDFSquareAnnotation*>(D)) {
      T += AnsiString(Q->Circle ? "/Subtype /Circle" : "/Subtype /Square") + BS + Color + IC + Contents + BE +
           Inset(Q->Inset) + Title + Subj + Date;
    } else if (auto* P = dynamic_cast<TgtPDFPolygonAnnotation*>(D)) {
      if (P->Closed)
        T += "/Subtype /Polygon /Vertices [" + FShapes[N] + "]" + BS + Color + IC + Contents + BE + Title + Subj +
             Date;
      else
        T += "/Subtype /PolyLine /Vertices [" + FShapes[N] + "]" + BS + Color + LE(P->StartEnding, P->EndEnding) +
             IC + BE + Title + Contents + Subj + Date;
    }
  } else if (auto* M = dynamic_cast<TgtPDFMarkupAnnotation*>(&A)) {
    static const char* const Kinds[] = {"/Highlight", "/Underline", "/Squiggly", "/StrikeOut"};
    T += AnsiString("/Subtype ") + Kinds[std::min<int>(M->Markup, 3)] + "/QuadPoints [" + FShapes[N] + "]" +
         "/Contents " + HexText(A.Contents, N) + Color + Common + Date;
  } else if (auto* K = dynamic_cast<TgtPDFCaretAnnotation*>(&A)) {
    T += AnsiString("/Subtype /Caret /Sy ") + (K->Paragraph ? "/P" : "/None") + Color + "/Contents " +
         HexText(A.Contents, N) + "/RD [" + FormatNumber(K->Inset[0]) + " " + FormatNumber(K->Inset[3]) + " " +
         FormatNumber(K->Inset[2]) + " " + FormatNumber(K->Inset[1]) + "]" + Common + Date;
  } else if (dynamic_cast<TgtPDFInkAnnotation*>(&A)) {
    T += "/Subtype /Ink /InkList [[" + FShapes[N] + "]]" + Color + "/Contents " + HexText(A.Contents, N) + Common +
         Date;
  } else if (auto* FA = dynamic_cast<TgtPDFFileAttachmentAnnotation*>(&A)) {
    static const char* const Icons2[] = {"/Graph", "/PushPin", "/Paperclip", "/Tag"};
    // The file is read now; one that cannot be read is carried empty
    // rather than failing the whole document.
    std::string Data;
    try {
      TFileStream In(FA->FileName, fmOpenRead | fmShareDenyNone);
      Data = In.ReadBytes(Integer(In.GetSize()));
    } catch (const Exception&) {
    }
    AnsiString Packed;
    TgtFlateFilter().EncodeString(Data, 3, Packed);
    const Integer FileObject = NextObjectNumber();
    T += "/Subtype /FileAttachment/Name " + AnsiString(Icons2[std::min<int>(FA->Icon, 3)]) + Color + "/Subj " +
         HexText(A.Subject, N) + "/Contents " + HexText(A.Contents, N) + "/T " + HexText(A.Title, N) + Date +
         "/FS << /F " + PdfString(ExtractFileName(FA->FileName), N) + " /EF << /F " + ObjectRef(FileObject) +
         " >> /Type /Filespec >>";
    WriteObject(T + "\r\n", N, true);
    std::string Stream = Packed;
    EncryptStream(Stream, FileObject);
    WriteObject("/Length " + std::to_string(Stream.size()) + "/Filter /FlateDecode\r\n", FileObject, false);
    WriteRaw("stream\r\n");
    WriteRaw(Stream);
    WriteRaw("\r\nendstream\r\nendobj\r\n");
    return;
  }
  WriteObject(T + "\r\n", N, true);
}

Integer TgtExPDFEngine::WriteAppearance(const AnsiString& Content, double W, double H, TgtPDFFont* Font) {
  const Integer N = NextObjectNumber();
  std::string Data = Content;
  EncryptStream(Data, N);
  AnsiString Res = "/Resources << /ProcSet [/PDF";
  if (Font) {
    Res += " /Text] /Font << /F" + std::to_string(FontIndex(Font)) + " " + ObjectRef(Font->Info().ObjectNumber) + " >>";
  } else {
    Res += "]";
  }
  WriteObject("/Length " + std::to_string(Data.size()) + "/Subtype /Form /BBox [0 0 " + FormatNumber(W) + " " +
                  FormatNumber(H) + "]" + Res + " >>\r\n",
              N, false);
  WriteRaw("stream\r\n");
  WriteRaw(Data);
  WriteRaw("\r\nendstream\r\nendobj\r\n");
  return N;
}

Integer TgtExPDFEngine::FormAppearance(const AnsiString& Content, double W, double H, const AnsiString& Resources) {
  const Integer A = NextObjectNumber();
  std::string Data = Content;
  EncryptStream(Data, A);
  WriteObject("/Length " + std::to_string(Data.size()) + "/Subtype /Form /BBox [0 0 " + FormatNumber(W) + " " +
                  FormatNumber(H) + "]" + Resources + "\r\n",
              A, false);
  WriteRaw("stream\r\n");
  WriteRaw(Data);
  WriteRaw("\r\nendstream\r\nendobj\r\n");
  return A;
}

// The group holds the value; each button is a widget of its own, on with
// its option's name, off with /Off.
void TgtExPDFEngine::WriteRadioGroup(Integer N, std::size_t Index, TgtPDFRadioGroup& G, const AnsiString& DA) {
  static const char* const Symbols[] = {"4", "l", "8", "u", "n", "H"};
  const AnsiString Sym = Symbols[std::min<int>(G.Symbol, 5)];
  const AnsiString Bg = ColorToPDFRGB(G.BackgroundColor), Bc = ColorToPDFRGB(G.BorderColor);
  const AnsiString TextColor = ColorToPDFRGB(G.Font->GetColor());
  const double Size = G.Font->GetSize();
  const auto& Widgets = FRadioWidgets[N];
  const bool HasSelection = G.Selected >= 0 && std::size_t(G.Selected) < G.Buttons.size();
  // An option is a PDF name: only characters a name may hold.
  auto OptionName = [](const AnsiString& S) {
    AnsiString Out;
    for (char C : S)
      Out += (C > ' ' && C < 0x7F && !std::strchr("()<>[]{}/%#", C)) ? C : '_';
    return Out.empty() ? AnsiString("Option") : Out;
  };
  const AnsiString Value = HasSelection ? "/" + OptionName(G.Buttons[std::size_t(G.Selected)].Option) : "/Off";
  AnsiString Kids;
  for (const auto& W : Widgets) Kids += " " + ObjectRef(W.first);
  Integer Flags = G.OptionFlags() | 32768 | (G.NoToggleToOff ? 16384 : 0);
  const AnsiString Title = "/T " + HexText(G.Name.empty() ? WideString(UTF8Decode("RBtn" + std::to_string(Index))) : G.Name, N);
  WriteObject(DA + " /FT /Btn /Kids [" + Kids + " ] /DV " + Value + " /V " + Value + " " + Title + " /Ff " +
                  std::to_string(Flags) + "\r\n",
              N, true);
  const AnsiString Zadb = "/Resources << /ProcSet [/PDF /Text] /Font << /ZaDb << /Type /Font /Subtype /Type1 "
                          "/BaseFont /ZapfDingbats >> >> >>";
  for (std::size_t I = 0; I < Widgets.size() && I < G.Buttons.size(); ++I) {
    const auto& B = G.Buttons[I];
    const double W = std::abs(ToPDFX(B.Right) - ToPDFX(B.Left)), H = std::abs(ToPDFY(B.Top) - ToPDFY(B.Bottom));
    const AnsiString Opt = "/" + OptionName(B.Option);
    auto Look = [&](bool On) {
      AnsiString S = Bg + " rg 0 0 " + FormatNumber(W) + " " + FormatNumber(H) + " re f " + Bc + " RG 1 w 0.5 0.5 " +
                     FormatNumber(W - 1) + " " + FormatNumber(H - 1) + " re S";
      if (On)
        S += " " + TextColor + " rg 2 2 " + FormatNumber(W - 4) + " " + FormatNumber(H - 4) + " re f BT /ZaDb " +
             FormatNumber(Size) + " Tf 1 g 1 0 0 1 0.77 1.405 Tm (" + Sym + ") Tj ET";
      return FormAppearance(S, W, H, Zadb);
    };
    const Integer NOn = Look(true), NOff = Look(false), DOn = Look(true), DOff = Look(false);
    const bool On = Integer(I) == G.Selected;
    const Integer WN = Widgets[I].first;
    WriteObject("/Type /Annot/Subtype /Widget/P " + ObjectRef(PageObjectNumber(G.PageNo)) + " /Rect [ " +
                    Widgets[I].second + " ] /Parent " + ObjectRef(N) + " /MK << /BG [" + Bg + "] /BC [" + Bc +
                    "] /CA " + PdfString(Sym, WN) + " >> /AS " + (On ? Opt : AnsiString("/Off")) + " /F 4 /AP << /N << " +
                    Opt + " " + ObjectRef(NOn) + " /Off " + ObjectRef(NOff) + " >> /D << " + Opt + " " +
                    ObjectRef(DOn) + " /Off " + ObjectRef(DOff) + " >> >>\r\n",
                WN, true);
  }
}

void TgtExPDFEngine::WriteField(Integer N, std::size_t Index, TgtPDFFormField& F) {
  static const char* const Symbols[] = {"4", "l", "8", "u", "n", "H"};
  TgtPDFFont* Font = FontFor(F.Font.get());
  const double Size = F.Font->GetSize();
  const AnsiString FontName = "/F" + std::to_string(FontIndex(Font));
  const AnsiString TextColor = ColorToPDFRGB(F.Font->GetColor());
  const AnsiString DA = "/DA " + PdfString(FontName + " " + FormatNumber(Size) + " Tf " + TextColor + " rg ", N);
  const AnsiString Rect = FRects.count(N) ? FRects[N] : PdfRect(F);
  const double W = std::abs(ToPDFX(F.Right) - ToPDFX(F.Left)), H = std::abs(ToPDFY(F.Top) - ToPDFY(F.Bottom));
  const AnsiString Bg = ColorToPDFRGB(F.BackgroundColor), Bc = ColorToPDFRGB(F.BorderColor);
  const AnsiString MK = "/MK << /BC [" + Bc + "] /BG [" + Bg + "]";
  auto Name = [&](const char* Prefix) {
    return "/T " + HexText(F.Name.empty() ? WideString(UTF8Decode(Prefix + std::to_string(Index))) : F.Name, N);
  };
  const AnsiString Border = Bg + " rg 0 0 " + FormatNumber(W) + " " + FormatNumber(H) + " re f " + Bc +
                            " RG 0.5 0.5 " + FormatNumber(W - 1) + " " + FormatNumber(H - 1) + " re S ";
  Integer Flags = F.OptionFlags();
  AnsiString T;
  if (auto* Tx = dynamic_cast<TgtPDFTextField*>(&F)) {
    if (Tx->Multiline) Flags |= 4096;
    if (Tx->Password) Flags |= 8192;
    if (Tx->FileSelect) Flags |= 1048576;
    if (Tx->DoNotSpellCheck) Flags |= 4194304;
    if (Tx->DoNotScroll) Flags |= 8388608;
    const AnsiString Text = UTF8Encode(Tx->Text);
    AnsiString Pos;
    if (Tx->Multiline) {
      Pos = " 4 " + FormatNumber(H - Size);
    } else {
      const double TextW = Size * 0.5 * double(Text.size());   // an average glyph width
      Pos = " " + FormatNumber(std::max(2.0, (W - TextW) / 2)) + " " + FormatNumber(std::max(2.0, (H - Size) / 2 + 2));
    }
    const Integer Ap = WriteAppearance(Border + "/Tx BMC q 1 1 " + FormatNumber(W - 2) + " " + FormatNumber(H - 2) +
                                           " re W n BT " + FontName + " " + FormatNumber(Size) + " Tf " +
                                           TextColor + " rg" + Pos + " Td (" + EscapePDFString(Text) +
                                           ") Tj ET Q EMC",
                                       W, H, Font);
    T = "/Type /Annot /Subtype /Widget " + MK + " >> /Rect [ " + Rect + " ] " + DA + " /FT /Tx /Q 0 /V " +
        HexText(Tx->Text, N) + " /DV " + HexText(Tx->Text, N) + " /AP << /N " + ObjectRef(Ap) + " >> " +
        Name("Text");
    if (Tx->MaxLength > 0) T += " /MaxLen " + std::to_string(Tx->MaxLength);
  } else if (auto* C = dynamic_cast<TgtPDFCheckBox*>(&F)) {
    const AnsiString Sym = Symbols[std::min<int>(C->Symbol, 5)];
    auto Box = [&](bool On) {
      const AnsiString Base = Bg + " rg 0 0 " + FormatNumber(W) + " " + FormatNumber(H) + " re f " + Bc +
                              " RG 1 w 0.5 0.5 " + FormatNumber(W - 1) + " " + FormatNumber(H - 1) + " re S";
      if (!On) return Base;
      return Base + " BT /ZaDb " + FormatNumber(Size) + " Tf " + TextColor + " rg 1 0 0 1 0.77 1.405 Tm (" + Sym +
             ") Tj ET";
    };
    // The symbol's face is ZapfDingbats, one of the readers' standard fonts.
    const AnsiString Zadb = "/ZaDb << /Type /Font /Subtype /Type1 /BaseFont /ZapfDingbats >>";
    auto Ap = [&](bool On) {
      return FormAppearance(Box(On), W, H, "/Resources << /ProcSet [/PDF /Text] /Font << " + Zadb + " >> >>");
    };
    const Integer NOn = Ap(true), NOff = Ap(false), DOn = Ap(true), DOff = Ap(false);
    const AnsiString State = C->Checked ? "/Yes" : "/Off";
    T = "/Type /Annot /Rect [ " + Rect + " ] /H /N /FT /Btn /Subtype /Widget " + DA + " " + MK + " /CA " +
        PdfString(Sym, N) + " >> /AP << /N << /Yes " + ObjectRef(NOn) + " /Off " + ObjectRef(NOff) +
        " >> /D << /Yes " + ObjectRef(DOn) + " /Off " + ObjectRef(DOff) + " >> >> " + Name("ChBtn") + " /V " +
        State + " /DV " + State + " /AS " + State;
  } else if (auto* B = dynamic_cast<TgtPDFPushButton*>(&F)) {
    Flags |= 65536;
    const AnsiString FontRes =
        "/Resources << /ProcSet [/PDF /Text] /Font << " + FontName + " " + ObjectRef(Font->Info().ObjectNumber) + " >> >>";
    // A raised button: a 2-unit border and a bevel, lit from the top left
    // (from the bottom right while pressed, with the caption moved in).
    auto Look = [&](const WideString& Caption, bool Down) {
      const AnsiString Wd = FormatNumber(W), Hd = FormatNumber(H);
      const AnsiString Light = Down ? "0.502 g " : "1 g ", Dark = Down ? "1 g " : "0.502 g ";
      AnsiString S = Bg + " rg 0 0 " + Wd + " " + Hd + " re f " + Bc + " RG 2 w 1 1 " + FormatNumber(W - 2) + " " +
                     FormatNumber(H - 2) + " re S " + Light + "2 2 m 2 " + FormatNumber(H - 2) + " l " +
                     FormatNumber(W - 2) + " " + FormatNumber(H - 2) + " l " + FormatNumber(W - 4) + " " +
                     FormatNumber(H - 4) + " l 4 " + FormatNumber(H - 4) + " l 4 4 l f " + Dark +
                     FormatNumber(W - 2) + " " + FormatNumber(H - 2) + " m " + FormatNumber(W - 2) + " 2 l 2 2 l 4 4 l " +
                     FormatNumber(W - 4) + " 4 l " + FormatNumber(W - 4) + " " + FormatNumber(H - 4) + " l f";
      const AnsiString Text = UTF8Encode(Caption);
      const double TextW = Size * 0.5 * double(Text.size());
      S += AnsiString(" q") + (Down ? " 1 0 0 1 2 -2 cm" : "") + " BT " + FontName + " " + FormatNumber(Size) +
           " Tf " + TextColor + " rg " + FormatNumber(std::max(2.0, (W - TextW) / 2)) + " " +
           FormatNumber(std::max(2.0, (H - Size) / 2 + 2)) + " Td (" + EscapePDFString(Text) + ") Tj ET Q";
      return FormAppearance(S, W, H, FontRes);
    };
    T = "/Type /Annot /Subtype /Widget /Rect [ " + Rect + " ] /TU " + HexText(B->Tooltip, N) + " " + DA +
        " /FT /Btn ";
    if (!B->Caption.empty()) {
      const WideString DownText = B->DownCaption.empty() ? B->Caption : B->DownCaption;
      const WideString OverText = B->RolloverCaption.empty() ? B->Caption : B->RolloverCaption;
      const Integer Up = Look(B->Caption, false), Dn = Look(DownText, true), Over = Look(OverText, false);
      T += MK + " /AC " + HexText(DownText, N) + " /RC " + HexText(OverText, N) + " /CA " + HexText(B->Caption, N) +
           " >> /H /P /AP << /N " + ObjectRef(Up) + " /D " + ObjectRef(Dn) + " /R " + ObjectRef(Over) + " >> ";
    } else {
      T += "/H /N ";
    }
    T += Name("Btn");
    switch (B->Action) {
      case baResetForm: T += " /A << /S /ResetForm >>"; break;
      case baSubmitForm:
        T += AnsiString(" /A << /S /SubmitForm ") + (B->SubmitFormat == sfXFDF ? "/Flags 32 " : "/Flags 4 ") +
             "/F " + PdfString(B->Address, N) + " >>";
        break;
      case baJavaScript: T += " /A << /S /JavaScript /JS " + PdfString(B->Script, N) + " >>"; break;
      case baNone: break;
    }
  } else if (auto* G = dynamic_cast<TgtPDFRadioGroup*>(&F)) {
    WriteRadioGroup(N, Index, *G, DA);
    return;
  } else if (auto* Ch = dynamic_cast<TgtPDFChoiceField*>(&F)) {
    auto* Combo = dynamic_cast<TgtPDFComboBox*>(Ch);
    auto* List = dynamic_cast<TgtPDFListBox*>(Ch);
    if (Combo) Flags |= 131072 | (Combo->Editable ? 262144 : 0);
    if (List && List->MultiSelect) Flags |= 2097152;
    const bool HasSelection = Ch->Selected >= 0 && std::size_t(Ch->Selected) < Ch->Items.size();
    const WideString Value = HasSelection ? Ch->Items[std::size_t(Ch->Selected)] : WideString(u"Choice");
    AnsiString Opt = "/Opt [";
    for (const WideString& I : Ch->Items) Opt += " " + HexText(I, N);
    Opt += " ]";
    // A sunken box: a 1-unit border and a grey bevel; a list shows its
    // lines from the top, the chosen one on a dark bar.
    const AnsiString Wd = FormatNumber(W), Hd = FormatNumber(H);
    AnsiString S = Bg + " rg 0 0 " + Wd + " " + Hd + " re f " + Bc + " RG 1 w 0.5 0.5 " + FormatNumber(W - 1) + " " +
                   FormatNumber(H - 1) + " re S 0.502 g 1 1 m 1 " + FormatNumber(H - 1) + " l " +
                   FormatNumber(W - 1) + " " + FormatNumber(H - 1) + " l " + FormatNumber(W - 2) + " " +
                   FormatNumber(H - 2) + " l 2 " + FormatNumber(H - 2) + " l 2 2 l f 0.7529 g " +
                   FormatNumber(W - 1) + " " + FormatNumber(H - 1) + " m " + FormatNumber(W - 1) + " 1 l 1 1 l 2 2 l " +
                   FormatNumber(W - 2) + " 2 l " + FormatNumber(W - 2) + " " + FormatNumber(H - 2) + " l f";
    S += " /Tx BMC q 2 2 " + FormatNumber(W - 4) + " " + FormatNumber(H - 4) + " re W n";
    if (List) {
      for (std::size_t I = 0; I < Ch->Items.size(); ++I) {
        const double Y = H - 2 - Size * double(I + 1) - 1;
        if (Y < 0) break;
        const bool On = Integer(I) == Ch->Selected;
        if (On) S += " 0 0 0.502 rg 2 " + FormatNumber(Y - 1) + " " + FormatNumber(W - 4) + " " +
                     FormatNumber(Size + 1) + " re f";
        S += " BT " + FontName + " " + FormatNumber(Size) + " Tf " + (On ? AnsiString("1 1 1") : TextColor) +
             " rg 4 " + FormatNumber(Y + 1) + " Td (" + EscapePDFString(UTF8Encode(Ch->Items[I])) + ") Tj ET";
      }
    } else if (HasSelection) {
      S += " BT " + FontName + " " + FormatNumber(Size) + " Tf " + TextColor + " rg 4 " +
           FormatNumber(std::max(2.0, (H - Size) / 2 + 2)) + " Td (" + EscapePDFString(UTF8Encode(Value)) + ") Tj ET";
    }
    S += " Q EMC";
    const Integer Ap = FormAppearance(S, W, H,
                                      "/Resources << /ProcSet [/PDF /Text] /Font << " + FontName + " " +
                                          ObjectRef(Font->Info().ObjectNumber) + " >> >>");
    const AnsiString V = " /V " + HexText(Value, N) + " /DV " + HexText(Value, N);
    T = "/Type /Annot /Subtype /Widget /Rect [ " + Rect + " ] " + Opt + " " + DA + " /FT /Ch " + MK + " >> ";
    if (List) T += V + " /AP << /N " + ObjectRef(Ap) + " >> " + Name("List");
    else T += "/AP << /N " + ObjectRef(Ap) + " >> " + Name("Combo") + V;
  } else {
    return;
  }
  T += " /F 4 /Ff " + std::to_string(Flags) + "\r\n";
  WriteObject(T, N, true);
}

void TgtExPDFEngine::WriteMetadata() {
  static const char* const Prefix[] = {"pdf", "xmp", "dc", "xmpBJ", "xmpRights", "xmpTPg"};
  static const char* const Uri[] = {"http://ns.adobe.com/pdf/1.3/", "http://ns.adobe.com/xap/1.0/",
                                    "http://purl.org/dc/elements/1.1/", "http://ns.adobe.com/xap/1.0/bj/",
                                    "http://ns.adobe.com/xap/1.0/rights/", "http://ns.adobe.com/xap/1.0/t/pg/"};
  std::string P = "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>"
                  "<x:xmpmeta xmlns:x='adobe:ns:meta/'>"
                  "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
                  "xmlns:iX='http://ns.adobe.com/iX/1.0/'>\r\n\r\n";
  for (const auto& E : FMetadata) {
    const int K = std::min<int>(E.Schema, 5);
    const AnsiString Name = XmlElementName(E.Name);
    P += "<rdf:Description about=''\r\n xmlns:" + std::string(Prefix[K]) + "='" + Uri[K] + "'>\r\n<" + Prefix[K] +
         ":" + Name + ">" + MarkupEscape(E.Value, TMarkupEscape::XmlLines) + "</" + Prefix[K] + ":" + Name + ">\r\n</rdf:Description>\r\n\r\n";
  }
  P += "</rdf:RDF>\r\n</x:xmpmeta>\r\n<?xpacket end='w'?>";
  std::string Data = P;
  EncryptStream(Data, FMetadataNumber);
  WriteObject("/Type /Metadata\r\n/Subtype /XML\r\n/Length " + std::to_string(Data.size()) + "\r\n", FMetadataNumber,
              false);
  WriteRaw("stream\r\n");
  WriteRaw(Data);
  WriteRaw("\r\nendstream\r\nendobj\r\n");
}

void TgtExPDFEngine::FinishDocument() {
  FQueuesOpen = false;
  for (auto& [N, A] : FAnnotations) WriteAnnotation(N, *A);
  for (std::size_t I = 0; I < FFields.size(); ++I) WriteField(FFields[I].first, I, *FFields[I].second);
  if (FAcroFormNumber) {
    AnsiString T = "/Fields [";
    AnsiString Fonts;
    for (auto& [N, F] : FFields) {
      T += std::to_string(N) + " 0 R ";
      TgtPDFFont* Font = FontFor(F->Font.get());
      const AnsiString Entry = " /F" + std::to_string(FontIndex(Font)) + " " + ObjectRef(Font->Info().ObjectNumber);
      if (Fonts.find(Entry) == std::string::npos) Fonts += Entry;
    }
    T += "]";
    if (!FFields.empty())
      T += "/DA " + PdfString("/F" + std::to_string(FontIndex(FontFor(FFields.front().second->Font.get()))) +
                                  " 12 Tf 0 g",
                              FAcroFormNumber);
    T += "/DR << /Font <<" + Fonts + ">> >>\r\n";
    WriteObject(T, FAcroFormNumber, true);
    FAcroFormNumber = 0;
  }
  if (FMetadataNumber) {
    WriteMetadata();
    FMetadataNumber = 0;
  }
  FAnnotations.clear();
  FFields.clear();
  FMetadata.clear();
  FPageActions.clear();
  FRects.clear();
  FShapes.clear();
  FRadioWidgets.clear();
  if (FActionNumber) {
    AnsiString T;
    auto Add = [&](const char* Key, const AnsiString& Js) {
      if (Js.empty()) return;
      T += AnsiString(Key) + " << /S /JavaScript/JS <" + StrToHex(EncryptString(Js, FActionNumber)) + "> >>\r\n";
    };
    Add("/WP", FJavaScript->BeforePrint);
    Add("/DP", FJavaScript->AfterPrint);
    Add("/WS", FJavaScript->BeforeSave);
    Add("/DS", FJavaScript->AfterSave);
    Add("/WC", FJavaScript->BeforeClose);
    WriteObject(T, FActionNumber, true);
    FActionNumber = 0;
  }
  TgtCustomPDFEngine::FinishDocument();
}

std::unique_ptr<TMemoryStream> TgtExPDFEngine::EncodeCCITT(TBitmap* Bitmap, TgtOutputImageFormat Format) {
  auto Out = std::make_unique<TMemoryStream>();
  if (!Bitmap || Bitmap->Empty()) {
    if (Format != ifCCITT3) {
      const std::string E = gtEncodeFax({}, 0, true);
      Out->WriteBuffer(E.data(), Integer(E.size()));
      Out->SetPosition(0);
    }
    return Out;
  }
  TBitmap Copy;
  Copy.Assign(Bitmap);
  Copy.SetPixelFormat(pf24bit);
  const TDib Dib = Copy.SaveToDib();
  const Integer W = Dib.Width(), H = Dib.Height();
  std::vector<std::vector<bool>> Rows(std::size_t(H), std::vector<bool>(std::size_t(W), false));
  for (Integer Y = 0; Y < H; ++Y) {
    const Byte* R = Dib.ScanLine(Y);
    for (Integer X = 0; X < W; ++X) {
      // Dark pixels are black, as a monochrome conversion would leave them.
      const Integer Lum = (R[3 * X] * 114 + R[3 * X + 1] * 587 + R[3 * X + 2] * 299) / 1000;
      Rows[std::size_t(Y)][std::size_t(X)] = Lum < 128;
    }
  }
  const std::string E = gtEncodeFax(Rows, W, Format != ifCCITT3);
  if (!E.empty()) Out->WriteBuffer(E.data(), Integer(E.size()));
  Out->SetPosition(0);
  return Out;
}
