#include "editor/exchange/DCRTFExporter.h"
#include <charconv>
#include "platform/rtl/Streams.h"

namespace {

const AnsiString CRLF = "\r\n";
const AnsiString TopicMarker = "{\\_page\\";

void Put(TStream* Stream, const AnsiString& S) {
  if (!S.empty()) Stream->WriteBuffer(S.data(), Integer(S.size()));
}

AnsiString RtfColor(TColor Color) {
  const COLORREF C = ColorToRGB(Color);
  return "red" + std::to_string(GetRValue(C)) + "\\green" + std::to_string(GetGValue(C)) +
         "\\blue" + std::to_string(GetBValue(C));
}

AnsiString RtfAlignName(Integer Align) {
  static const char* const Names[] = {"ql", "qc", "qr", "qj"};
  return Align >= 0 && Align < 4 ? Names[Align] : "";
}

AnsiString RtfFrameName(Byte Frame) {
  static const char* const Names[] = {"void", "trbrdrt", "trbrdrb", "trbrdrh", "trbrdrl", "trbrdrr", "trbrdrv"};
  if (Frame < 7) return Names[Frame];
  if (Frame <= 8) return "trbrdrt\\trbrdrb\\trbrdrh\\trbrdrl\\trbrdrr\\trbrdrv";
  return "";
}

AnsiString LinkWindowName(Byte Style) {
  switch (Style) {
    case 0: return "main";
    case 2: return "second";
    default: return "";
  }
}

AnsiString WithoutChars(const AnsiString& S, bool (*Drop)(char)) {
  AnsiString R;
  for (char C : S)
    if (!Drop(C)) R += C;
  return R;
}

}  // namespace

AnsiString WriterValueText(const TWriterValue& V) {
  if (auto* S = std::get_if<AnsiString>(&V)) return *S;
  return std::to_string(std::get<Integer>(V));
}

// A text that is no number counts as 0 rather than failing mid-document.
Integer WriterValueInt(const TWriterValue& V) {
  if (auto* I = std::get_if<Integer>(&V)) return *I;
  const AnsiString& S = std::get<AnsiString>(V);
  Integer R = 0;
  std::from_chars(S.data(), S.data() + S.size(), R);
  return R;
}

Integer WidthToTwips(Integer Width) {
  // Exactly Width × 567 / 20: 56.7 has no exact binary form, and the halves
  // (350 → 9922.5) must round to even, not drift up.
  const Int64 N = Int64(Width) * 567;
  Int64 Q = N / 20, R = N % 20;
  if (R < 0) {
    R += 20;
    --Q;
  }
  if (R * 2 > 20 || (R * 2 == 20 && (Q & 1))) ++Q;
  return Integer(Q);
}

AnsiString RtfFontName(const AnsiString& Name) {
  AnsiString R;
  for (char C : Name) {
    if (C == '\\' || C == '{' || C == '}') {
      R += '\\';
      R += C;
    } else if (C == ';') {
      R += "\\'3b";
    } else {
      R += C;
    }
  }
  return R;
}

// ---- writer objects ---------------------------------------------------------

void TWriterObject::OpenWord(const AnsiString&) {}
void TWriterObject::CloseWord(const AnsiString&) {}
bool TWriterObject::AcceptsWord(const AnsiString&) { return false; }
void TWriterObject::WriteText(TStream* Stream, const AnsiString& S) { Put(Stream, S); }
void TWriterObject::WriteObject(TStream*) {}
bool TWriterObject::AddText(const AnsiString&) { return false; }

void TWriterObject::WriteLine(TStream* Stream, const AnsiString& S) {
  WriteText(Stream, S);
  WriteText(Stream, CRLF);
}

bool TWriterFontObject::AcceptsWord(const AnsiString& Word) { return Word == "f"; }

Integer TWriterFontObject::AddFont(const AnsiString& Name, Byte Charset) {
  // A face used with two charsets is two entries: text in another code page
  // is read back in its own charset.
  for (size_t I = 0; I < FFonts.size(); ++I)
    if (!FFonts[I].Raw && FFonts[I].Name == Name && FFonts[I].Charset == Charset) return Integer(I);
  FFonts.push_back({Name, Charset, false});
  return Integer(FFonts.size() - 1);
}

Integer TWriterFontObject::AddRawFont(const AnsiString& Text, Byte Charset) {
  FFonts.push_back({Text, Charset, true});
  return Integer(FFonts.size() - 1);
}

void TWriterFontObject::WriteObject(TStream* Stream) {
  if (FFonts.empty()) return;
  WriteLine(Stream, "{\\fonttbl");
  for (size_t I = 0; I < FFonts.size(); ++I) {
    const TFontEntry& F = FFonts[I];
    AnsiString Line = "{\\f" + std::to_string(I);
    if (!IgnoreCharset) Line += "\\fcharset" + std::to_string(F.Charset);
    // A face from the document is data: its backslash, brace or ';' must not
    // end the entry or start a control word.
    Line += ' ' + (F.Raw ? F.Name : RtfFontName(F.Name)) + ";}";
    WriteLine(Stream, Line);
  }
  WriteLine(Stream, "}");
}

bool TWriterColorObject::AcceptsWord(const AnsiString& Word) { return Word == "cf" || Word == "highlight"; }

Integer TWriterColorObject::AddColor(TColor Color) {
  const AnsiString Text = RtfColor(Color);
  for (size_t I = 0; I < FColors.size(); ++I)
    if (FColors[I] == Text) return Integer(I);
  FColors.push_back(Text);
  return Integer(FColors.size() - 1);
}

void TWriterColorObject::WriteObject(TStream* Stream) {
  if (FColors.empty()) return;
  WriteLine(Stream, "{\\colortbl");
  for (const AnsiString& C : FColors) WriteLine(Stream, "\\" + C + ";");
  WriteLine(Stream, "}");
}

bool TWriterTableObject::AcceptsWord(const AnsiString& Word) { return Word == "\\trowd\\" || Word == "cell"; }

void TWriterTableObject::OpenWord(const AnsiString& Word) {
  if (Word == "\\trowd\\") NewRow();
  else if (Word == "cell") NewCell();
}

void TWriterTableObject::NewRow() { FRows.push_back({"{\\trowd\\" + RtfFrameName(FInfo.Frame), {}}); }

void TWriterTableObject::NewCell() {
  if (FRows.empty()) return;
  const Integer Width = WriterValueInt(Value);
  FRows.back().Cells.push_back({Width != 0 ? Width : 250, AnsiString()});
}

bool TWriterTableObject::AddText(const AnsiString& S) {
  if (!FRows.empty() && !FRows.back().Cells.empty()) FRows.back().Cells.back().Content += S;
  return true;
}

void TWriterTableObject::WriteObject(TStream* Stream) {
  if (FRows.empty()) {
    WriteText(Stream, "{");
    return;
  }
  WriteLine(Stream, "{\\par");
  for (const TRow& Row : FRows) {
    WriteLine(Stream, Row.Text);
    Integer X = 0;
    for (const TCell& Cell : Row.Cells) {
      X += Cell.Width;
      WriteLine(Stream, "\\cellx" + std::to_string(WidthToTwips(X)));
    }
    for (const TCell& Cell : Row.Cells) WriteLine(Stream, "\\pard \\intbl " + Cell.Content + "\\cell");
    WriteLine(Stream, "\\row\\pard}");
  }
}

// ---- writer list ------------------------------------------------------------

TRTFWriterList::TRTFWriterList()
    : FFontObject(std::make_unique<TWriterFontObject>()), FColorObject(std::make_unique<TWriterColorObject>()) {
  // Entry 0 is the family-less default that runs without a font group use.
  FFontObject->AddRawFont("\\fnil Times New Roman", 1);
}

TRTFWriterList::~TRTFWriterList() = default;

namespace {
const AnsiString DocumentHeader = "{\\rtf1\\ansi";
bool StartsWith(const AnsiString& S, const AnsiString& Prefix) { return S.compare(0, Prefix.size(), Prefix) == 0; }
// Items that WriteTo treats by how they start.
bool IsMarkerText(const AnsiString& S) { return StartsWith(S, DocumentHeader) || StartsWith(S, TopicMarker); }
// Plain text joins the item before it up to this size: an item per word
// would cost several times the document in item overhead.
constexpr std::size_t ItemChunk = 64 * 1024;
}  // namespace

void TRTFWriterList::AddText(const AnsiString& S) {
  if (S.empty()) return;
  if (!FStack.empty() && FStack.back()->AddText(S)) return;
  if (!FItems.empty() && !FItems.back().Object && !IsMarkerText(S) && !IsMarkerText(FItems.back().Text) &&
      FItems.back().Text.size() < ItemChunk) {
    FItems.back().Text += S;
    return;
  }
  FItems.push_back({S, nullptr});
}

void TRTFWriterList::AddTable(const TExportTableInfo& Info) {
  auto Table = std::make_unique<TWriterTableObject>(Info);
  FStack.push_back(Table.get());
  FItems.push_back({AnsiString(), std::move(Table)});
}

void TRTFWriterList::PopObject() {
  if (!FStack.empty()) FStack.pop_back();
}

TWriterObject* TRTFWriterList::FindAccepting(const AnsiString& Word) {
  for (auto It = FStack.rbegin(); It != FStack.rend(); ++It)
    if ((*It)->AcceptsWord(Word)) return *It;
  return nullptr;
}

void TRTFWriterList::OpenGroup(const AnsiString& Word) {
  // Font and colour groups stay on the line of their text; every other
  // opening ends its output line.
  if (FFontObject->AcceptsWord(Word)) {
    const Integer Index = FFontObject->AddFont(WriterValueText(FPendingValue), FPendingCharset);
    AddText("{\\" + Word + std::to_string(Index) + " ");
    return;
  }
  if (FColorObject->AcceptsWord(Word)) {
    const Integer Index = FColorObject->AddColor(TColor(WriterValueInt(FPendingValue)));
    AddText("{\\" + Word + std::to_string(Index) + " ");
    return;
  }
  if (TWriterObject* Obj = FindAccepting(Word)) {
    Obj->Value = FPendingValue;
    Obj->OpenWord(Word);
    return;
  }
  AddText(Word.empty() ? AnsiString("{") : "{\\" + Word + " ");
  AddText(CRLF);
}

void TRTFWriterList::CloseGroup(const AnsiString& Word) {
  if (TWriterObject* Obj = FindAccepting(Word)) {
    Obj->CloseWord(Word);
    return;
  }
  AddText(Word.empty() ? AnsiString("}") : "\\" + Word + "}");
}

void TRTFWriterList::WriteTo(TStream* Stream) {
  for (const TItem& Item : FItems) {
    if (Item.Object) {
      Item.Object->WriteObject(Stream);
      continue;
    }
    const AnsiString& S = Item.Text;
    // Every document header's opening is followed by the tables; text with
    // the same letters (a raw hyperlink target, say) is not a header, and
    // tables inside it would break the document.
    if (StartsWith(S, DocumentHeader)) {
      Put(Stream, S);
      FFontObject->WriteObject(Stream);
      FColorObject->WriteObject(Stream);
    } else if (StartsWith(S, TopicMarker)) {
      Put(Stream, "{\\page}");
      WriteTopicFootnotes(Stream, WithoutChars(S.substr(TopicMarker.size()),
                                               [](char C) { return C == '{' || C == '}'; }));
    } else {
      Put(Stream, S);
    }
  }
}

// FIXME: the keyword footnote (" K") needs an index list of topic!keyword
// entries; nothing in the program builds one, so it is never written.
void TRTFWriterList::WriteTopicFootnotes(TStream* Stream, const AnsiString& Topic) {
  WriteFootnote(Stream, " #", Topic);
  WriteFootnote(Stream, " $", WithoutChars(Topic, [](char C) { return C >= '0' && C <= '9'; }));
  WriteFootnote(Stream, " A", Topic);
}

void TRTFWriterList::WriteFootnote(TStream* Stream, const AnsiString& Mark, const AnsiString& Text) {
  Put(Stream, "\\super" + Mark + "{\\footnote {\\super" + Mark + " }" + Text + "}");
}

// ---- exporter ---------------------------------------------------------------

TDCRTFExporter::TDCRTFExporter(TStream* AStream) : TDCExporter(AStream) {}

TDCRTFExporter::~TDCRTFExporter() = default;

TRTFWriterListClass TDCRTFExporter::GetWriterListClass() {
  return []() { return std::make_unique<TRTFWriterList>(); };
}

TRTFWriterList& TDCRTFExporter::WriterList() {
  if (!FWriterList) FWriterList = GetWriterListClass()();
  return *FWriterList;
}

void TDCRTFExporter::WriteString(const AnsiString& S) {
  if (S.find('\xFF') == AnsiString::npos) {
    WriterList().AddText(S);
    return;
  }
  AnsiString R;
  for (char C : S) {
    if (C == '\xFF') R += "\\'FF";
    else R += C;
  }
  WriterList().AddText(R);
}

AnsiString TDCRTFExporter::ConvertText(const AnsiString& S) {
  AnsiString R;
  R.reserve(S.size() + 8);
  for (char C : S) {
    if (C == '\t') {
      R += "\\tab ";
    } else {
      if (C == '\\' || C == '{' || C == '}') R += '\\';
      R += C;
    }
  }
  return R;
}

void TDCRTFExporter::WriteGroup(const AnsiString& Text) {
  WriteString("{\\" + Text + "}");
  WriteString(CRLF);
}

void TDCRTFExporter::StartParagraph(Integer Align) { WriterList().OpenGroup("par \\" + RtfAlignName(Align)); }
void TDCRTFExporter::EndParagraph() { WriterList().CloseGroup("par\\pard"); }
void TDCRTFExporter::StartNonScrollRegion() { WriterList().OpenGroup(""); }

void TDCRTFExporter::EndNonScrollRegion() {
  WriteGroup("keepn\\par");
  WriterList().CloseGroup("");
}

void TDCRTFExporter::LineBreak() {
  WriterList().OpenGroup("line");
  WriterList().CloseGroup("");
}

void TDCRTFExporter::StartFont(const AnsiString& Face) { StartFontCharset(Face, 1); }

void TDCRTFExporter::StartFontCharset(const AnsiString& Face, Byte Charset) {
  WriterList().SetPending(Face, Charset);
  WriterList().OpenGroup("f");
}

void TDCRTFExporter::EndFont() { WriterList().CloseGroup(""); }

void TDCRTFExporter::StartBigger() {
  FSize += 6;
  WriterList().OpenGroup("fs" + std::to_string(FSize));
}

void TDCRTFExporter::EndBigger() {
  FSize -= 6;
  WriterList().CloseGroup("");
}

void TDCRTFExporter::StartSmaller() {
  FSize -= 6;
  WriterList().OpenGroup(FSize > 0 ? "fs" + std::to_string(FSize) : AnsiString("fs1"));
}

void TDCRTFExporter::EndSmaller() {
  FSize += 6;
  WriterList().CloseGroup("");
}

void TDCRTFExporter::StartFontSize(Integer Points) { WriterList().OpenGroup("fs" + std::to_string(2 * Int64(Points))); }
void TDCRTFExporter::EndFontSize() { WriterList().CloseGroup(""); }
void TDCRTFExporter::StartItalic() { WriterList().OpenGroup("i"); }
void TDCRTFExporter::EndItalic() { WriterList().CloseGroup(""); }
void TDCRTFExporter::StartBold() { WriterList().OpenGroup("b"); }
void TDCRTFExporter::EndBold() { WriterList().CloseGroup(""); }
void TDCRTFExporter::StartUnderline() { WriterList().OpenGroup("ul"); }
void TDCRTFExporter::EndUnderline() { WriterList().CloseGroup(""); }
void TDCRTFExporter::StartStrikeOut() { WriterList().OpenGroup("strike"); }
void TDCRTFExporter::EndStrikeOut() { WriterList().CloseGroup(""); }

void TDCRTFExporter::StartNumberedList() {
  WriterList().OpenGroup("");
  WriteGroup("par");
  WriteGroup("pntext");
  WriteGroup("pn\\pnlvlbody\\pnstart1{\\pntxta .}");
}

void TDCRTFExporter::EndNumberedList() { WriterList().CloseGroup(""); }

void TDCRTFExporter::StartBulletList() {
  WriterList().OpenGroup("");
  WriteGroup("par");
  WriteGroup("pntext");
  WriteGroup("pn\\pnlvlblt");
}

void TDCRTFExporter::EndBulletList() { WriterList().CloseGroup(""); }

void TDCRTFExporter::StartBulletItem() {
  WriterList().OpenGroup("");
  WriteGroup("pntext");
  WriteGroup("pntxtb\\'b7");
}

void TDCRTFExporter::EndBulletItem() { WriterList().CloseGroup("par"); }

void TDCRTFExporter::StartNumberedItem() {
  WriterList().OpenGroup("");
  WriteGroup("pntext");
  WriteGroup("pntxtb\\pndec");
}

void TDCRTFExporter::EndNumberedItem() { WriterList().CloseGroup("par"); }
void TDCRTFExporter::StartBlockQuote() { WriterList().OpenGroup("pard\\li500"); }
void TDCRTFExporter::EndBlockQuote() { WriterList().CloseGroup("par"); }
void TDCRTFExporter::StartSubscript() { WriterList().OpenGroup("sub"); }
void TDCRTFExporter::EndSubscript() { WriterList().CloseGroup(""); }
void TDCRTFExporter::StartSuperscript() { WriterList().OpenGroup("super"); }
void TDCRTFExporter::EndSuperscript() { WriterList().CloseGroup(""); }

void TDCRTFExporter::StartColor(TColor Color) {
  WriterList().SetPending(Integer(Color));
  WriterList().OpenGroup("cf");
}

void TDCRTFExporter::EndColor() { WriterList().CloseGroup(""); }
// The page colour has no place in the file: readers show their own.
void TDCRTFExporter::StartPageColor(TColor) {}
void TDCRTFExporter::EndPageColor() {}

void TDCRTFExporter::StartBackColor(TColor Color) {
  WriterList().SetPending(Integer(Color));
  WriterList().OpenGroup("highlight");
}

void TDCRTFExporter::EndBackColor() { WriterList().CloseGroup(""); }

void TDCRTFExporter::StartLink(const AnsiString& Target, Byte Style) {
  WriterList().OpenGroup(Style == 1 ? "ul" : "uldb");
  FLinkTarget = Target;
  FLinkStyle = Style;
}

void TDCRTFExporter::EndLink() {
  if (FLinkStyle == 1) WriteGroup("v " + FLinkTarget);
  else WriteGroup("v " + FLinkTarget + ">" + LinkWindowName(FLinkStyle));
  WriterList().CloseGroup("");
}

void TDCRTFExporter::StartTable(const TExportTableInfo& Info) { WriterList().AddTable(Info); }

void TDCRTFExporter::EndTable() {
  WriterList().PopObject();
  WriterList().CloseGroup("");
}

void TDCRTFExporter::StartRow() { WriterList().OpenGroup("\\trowd\\"); }
void TDCRTFExporter::EndRow() { WriterList().CloseGroup("\\trowd\\"); }

void TDCRTFExporter::StartCell(Integer Width) {
  WriterList().SetPending(Width);
  WriterList().OpenGroup("cell");
}

void TDCRTFExporter::EndCell() { WriterList().CloseGroup("cell"); }

void TDCRTFExporter::StartDocument(const AnsiString& /*Title*/) {
  WriterList().OpenGroup("rtf1\\ansi");
  AnsiString Plain = "plain";
  if (GetParaSpaceBefore() > 0) Plain += "\\sb" + std::to_string(GetParaSpaceBefore());
  if (GetParaSpaceAfter() > 0) Plain += "\\sa" + std::to_string(GetParaSpaceAfter());
  WriterList().OpenGroup(Plain);
}

void TDCRTFExporter::EndDocument() {
  WriterList().CloseGroup("");
  WriterList().CloseGroup("");
  WriterList().WriteTo(GetStream());
}

void TDCRTFExporter::StartTopic(const AnsiString& Topic) {
  WriterList().OpenGroup("");
  WriteGroup("_page\\" + Topic);
}

void TDCRTFExporter::EndTopic() { WriterList().CloseGroup(""); }

void TDCRTFExporter::WriteSpaces(Integer Count) {
  if (Count > 0) WriteString(AnsiString(size_t(Count), ' '));
}

void TDCRTFExporter::WriteImage(const AnsiString& FileName, Integer, Integer) {
  WriteString(" \\{bmc " + FileName + "\\}");
}

void TDCRTFExporter::HorizontalRule() { WriteString("\\par\\pard\\brdrt\\brdrs{\\f0\\fs2\\cf0  }\\par\\pard "); }

void TDCRTFExporter::WriteHyperlink(const AnsiString& Text, const AnsiString& Target) {
  WriteString("{\\uldb " + Text + "}{\\v *!ExecFile('" + Target + "')}");
}
