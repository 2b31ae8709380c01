#include "editor/exchange/DCHTMLExporter.h"
#include <string_view>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Markup.h"

namespace {

constexpr std::string_view CRLF = "\r\n";

const char* const AlignNames[] = {"left", "center", "right", "justify"};

}  // namespace

AnsiString HtmlEscape(const AnsiString& S) { return MarkupEscape(S, TMarkupEscape::HtmlText); }

AnsiString HtmlEscapeAttr(const AnsiString& S) { return MarkupEscape(S, TMarkupEscape::HtmlAttr); }

Integer HtmlFontSize(Integer Points) {
  if (Points <= 0) return 7;
  if (Points <= 8) return 1;
  if (Points <= 11) return 2;
  if (Points <= 13) return 3;
  if (Points <= 17) return 4;
  if (Points <= 23) return 5;
  if (Points <= 35) return 6;
  return 7;
}

AnsiString HtmlColor(TColor Color) {
  static const char Hex[] = "0123456789ABCDEF";
  const COLORREF C = ColorToRGB(Color);
  const Byte Parts[3] = {GetRValue(C), GetGValue(C), GetBValue(C)};
  AnsiString R = "#";
  for (Byte P : Parts) {
    R += Hex[P >> 4];
    R += Hex[P & 15];
  }
  return R;
}

AnsiString HtmlFrameName(Byte Frame) {
  static const char* const Names[] = {"void", "above", "below", "hsides", "lhs",
                                      "rhs",  "vsides", "box",  "border"};
  return Frame < std::size(Names) ? Names[Frame] : "";
}

AnsiString HtmlRulesName(Byte Rules) {
  static const char* const Names[] = {"none", "groups", "rows", "cols", "all"};
  return Rules < std::size(Names) ? Names[Rules] : "";
}

TDCHTMLExporter::TDCHTMLExporter(TStream* AStream) : TDCExporter(AStream) {}

void TDCHTMLExporter::WriteOpenTag(std::string_view Name) {
  FTag.clear();
  FTag.append(1, '<').append(Name).append(1, '>');
  WriteString(FTag);
}

void TDCHTMLExporter::WriteCloseTag(std::string_view Name) {
  FTag.assign("</").append(Name).append(">");
  WriteString(FTag);
}

void TDCHTMLExporter::WriteTag(std::string_view Name, std::string_view TagText) {
  FTag.clear();
  if (!FLastTag.empty() && FLastTag != Name) FTag.append(CRLF);
  FTag.append("<").append(TagText).append(">");
  WriteString(FTag);
  FLastTag.assign(Name);
}

void TDCHTMLExporter::WriteSimpleTag(std::string_view Name) { WriteTag(Name, Name); }

void TDCHTMLExporter::WriteTagAttr(std::string_view Name, std::string_view AttrName, std::string_view Value) {
  if (Value.empty()) {
    WriteTag(Name, Name);
    return;
  }
  FTagText.assign(Name).append(" ").append(AttrName).append("=\"");
  AppendMarkupEscaped(FTagText, Value, TMarkupEscape::HtmlAttr);
  FTagText += '"';
  WriteTag(Name, FTagText);
}

void TDCHTMLExporter::WriteTagAttrs(std::string_view Name, const TAttrs& Attrs) {
  FTagText.assign(Name);
  for (const auto& [AttrName, Value] : Attrs) {
    if (Value.empty()) continue;
    FTagText.append(" ").append(AttrName).append("=\"");
    AppendMarkupEscaped(FTagText, Value, TMarkupEscape::HtmlAttr);
    FTagText += '"';
  }
  WriteTag(Name, FTagText);
}

AnsiString TDCHTMLExporter::ConvertText(const AnsiString& S) {
  const UINT CodePage = FCodePages.empty() ? GetACP() : FCodePages.back();
  if (CodePage == GetACP()) return HtmlEscape(S);
  // The page is in the ANSI code page: the text is read in its own, and what
  // the page's code page lacks becomes a character reference.
  const WideString W = AnsiToWide(S, CodePage);
  AnsiString R;
  R.reserve(S.size() * 2);
  char Buf[8];
  for (size_t I = 0; I < W.size(); ++I) {
    const char16_t C = W[I];
    if (C < 0x80) {
      const char Ch = char(C);
      AppendMarkupEscaped(R, std::string_view(&Ch, 1), TMarkupEscape::HtmlText);
      continue;
    }
    BOOL Default = FALSE;
    const int N = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &W[I], 1, Buf, sizeof Buf, nullptr, &Default);
    if (N > 0 && !Default) {
      R.append(Buf, size_t(N));
      continue;
    }
    unsigned Code = C;
    if (C >= 0xD800 && C < 0xDC00 && I + 1 < W.size() && W[I + 1] >= 0xDC00 && W[I + 1] < 0xE000)
      Code = 0x10000 + ((C - 0xD800) << 10) + (W[++I] - 0xDC00);
    R += "&#" + std::to_string(Code) + ';';
  }
  return R;
}

void TDCHTMLExporter::StartParagraph(Integer Align) {
  const char* Value = Align >= 0 && Align < 4 ? AlignNames[Align] : "";
  WriteTagAttrs("P", {{"Align", Value}});
}
void TDCHTMLExporter::EndParagraph() { WriteCloseTag("P"); }
void TDCHTMLExporter::StartNonScrollRegion() { StartParagraph(eaLeft); }
void TDCHTMLExporter::EndNonScrollRegion() { EndParagraph(); }

void TDCHTMLExporter::LineBreak() {
  WriteOpenTag("BR");
  WriteString(AnsiString(CRLF));
}

void TDCHTMLExporter::StartFont(const AnsiString& Face) {
  // A face without a charset reads its text as the group around it does.
  FCodePages.push_back(FCodePages.empty() ? GetACP() : FCodePages.back());
  WriteTagAttr("font", "face", Face);
}
// HTML has no charset per run: the charset tells in which code page the
// run's text is to be read (a symbol font's bytes stay as they are).
void TDCHTMLExporter::StartFontCharset(const AnsiString& Face, Byte Charset) {
  UINT CodePage = Charset == DEFAULT_CHARSET || Charset == SYMBOL_CHARSET ? GetACP() : CodePageFromCharset(Charset);
  if (!IsValidCodePage(CodePage)) CodePage = GetACP();
  FCodePages.push_back(CodePage);
  WriteTagAttr("font", "face", Face);
}
void TDCHTMLExporter::EndFont() {
  if (!FCodePages.empty()) FCodePages.pop_back();
  WriteCloseTag("font");
}
void TDCHTMLExporter::StartBigger() { WriteOpenTag("BIG"); }
void TDCHTMLExporter::EndBigger() { WriteCloseTag("BIG"); }
void TDCHTMLExporter::StartSmaller() { WriteOpenTag("SMALL"); }
void TDCHTMLExporter::EndSmaller() { WriteCloseTag("SMALL"); }

void TDCHTMLExporter::StartFontSize(Integer Points) {
  WriteTagAttr("font", "SIZE", std::to_string(HtmlFontSize(Points)));
}
void TDCHTMLExporter::EndFontSize() { WriteCloseTag("font"); }

void TDCHTMLExporter::StartItalic() { WriteOpenTag("I"); }
void TDCHTMLExporter::EndItalic() { WriteCloseTag("I"); }
void TDCHTMLExporter::StartBold() { WriteOpenTag("B"); }
void TDCHTMLExporter::EndBold() { WriteCloseTag("B"); }
void TDCHTMLExporter::StartUnderline() { WriteOpenTag("U"); }
void TDCHTMLExporter::EndUnderline() { WriteCloseTag("U"); }
void TDCHTMLExporter::StartStrikeOut() { WriteOpenTag("S"); }
void TDCHTMLExporter::EndStrikeOut() { WriteCloseTag("S"); }

void TDCHTMLExporter::StartNumberedList() { WriteSimpleTag("ol"); }
void TDCHTMLExporter::EndNumberedList() { WriteCloseTag("ol"); }
void TDCHTMLExporter::StartBulletList() { WriteSimpleTag("ul"); }
void TDCHTMLExporter::EndBulletList() { WriteCloseTag("ul"); }
void TDCHTMLExporter::StartBulletItem() { WriteSimpleTag("li"); }
void TDCHTMLExporter::EndBulletItem() { WriteCloseTag("li"); }
void TDCHTMLExporter::StartNumberedItem() { WriteSimpleTag("li"); }
void TDCHTMLExporter::EndNumberedItem() { WriteCloseTag("li"); }
void TDCHTMLExporter::StartBlockQuote() { WriteOpenTag("blockquote"); }
void TDCHTMLExporter::EndBlockQuote() { WriteCloseTag("blockquote"); }
void TDCHTMLExporter::StartSubscript() { WriteOpenTag("sub"); }
void TDCHTMLExporter::EndSubscript() { WriteCloseTag("sub"); }
void TDCHTMLExporter::StartSuperscript() { WriteOpenTag("sup"); }
void TDCHTMLExporter::EndSuperscript() { WriteCloseTag("sup"); }

void TDCHTMLExporter::StartColor(TColor Color) { WriteTagAttr("font", "color", HtmlColor(Color)); }
void TDCHTMLExporter::EndColor() { WriteCloseTag("font"); }
void TDCHTMLExporter::StartPageColor(TColor Color) { WriteTagAttrs("Body", {{"BGCOLOR", HtmlColor(Color)}}); }
void TDCHTMLExporter::EndPageColor() { WriteCloseTag("Body"); }
// A run's background has no tag of the markup this writer produces.
void TDCHTMLExporter::StartBackColor(TColor /*Color*/) {}
void TDCHTMLExporter::EndBackColor() {}

void TDCHTMLExporter::StartLink(const AnsiString& Target, Byte /*Style*/) {
  WriteTagAttrs("A", {{"href", Target + ".html"}});
}
void TDCHTMLExporter::EndLink() { WriteCloseTag("A"); }

void TDCHTMLExporter::StartTable(const TExportTableInfo& Info) {
  auto NonZero = [](Integer V) { return V != 0 ? std::to_string(V) : AnsiString(); };
  WriteTagAttrs("TABLE", {{"width", NonZero(Info.Width)},
                          {"border", NonZero(Info.Border)},
                          {"frame", HtmlFrameName(Info.Frame)},
                          {"rules", HtmlRulesName(Info.Rules)},
                          {"cellspacing", NonZero(Info.CellSpacing)},
                          {"cellpadding", NonZero(Info.CellPadding)}});
}
void TDCHTMLExporter::EndTable() { WriteCloseTag("TABLE"); }
void TDCHTMLExporter::StartRow() { WriteSimpleTag("TR"); }
void TDCHTMLExporter::EndRow() { WriteCloseTag("TR"); }

void TDCHTMLExporter::StartCell(Integer Width) {
  WriteTagAttrs("TD", {{"width", Width != 0 ? std::to_string(Width) : AnsiString()}});
}
void TDCHTMLExporter::EndCell() { WriteCloseTag("TD"); }

void TDCHTMLExporter::StartDocument(const AnsiString& Title) {
  WriteOpenTag("Html");
  WriteOpenTag("Head");
  WriteCloseTag("Head");
  WriteOpenTag("Title");
  // The title is a file name: escaped, so "a&b<1>.rtf" stays text.
  WriteString(HtmlEscapeAttr(Title));
  WriteCloseTag("Title");
  WriteOpenTag("Body");
  StartFont("Times New Roman");
}

void TDCHTMLExporter::EndDocument() {
  EndFont();
  WriteCloseTag("Body");
  WriteCloseTag("Html");
}

void TDCHTMLExporter::StartTopic(const AnsiString& Topic) { StartDocument(Topic); }
void TDCHTMLExporter::EndTopic() { EndDocument(); }

void TDCHTMLExporter::WriteSpaces(Integer Count) {
  AnsiString S;
  for (Integer I = 0; I < Count; ++I) S += "&nbsp;";
  WriteString(S);
}

void TDCHTMLExporter::WriteImage(const AnsiString& FileName, Integer Width, Integer Height) {
  if (FileName.empty()) return;
  TAttrs Attrs = {{"src", FileName}};
  if (Width != 0 || Height != 0) {
    Attrs.emplace_back("WIDTH", std::to_string(Width));
    Attrs.emplace_back("HEIGHT", std::to_string(Height));
  }
  WriteTagAttrs("img", Attrs);
}

void TDCHTMLExporter::HorizontalRule() { WriteString("<HR>"); }

// Text is markup the caller composed; only the target is an attribute value.
void TDCHTMLExporter::WriteHyperlink(const AnsiString& Text, const AnsiString& Target) {
  WriteTagAttrs("A", {{"href", Target}, {"target", "_blank"}});
  WriteString(Text);
  WriteCloseTag("A");
}
