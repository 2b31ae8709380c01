// DCHTMLExporter.h — TDCHTMLExporter, the HTML writer of the exporter
// interface.
//
// Writes every call straight to the stream as it comes: raw markup whose
// tidying is left to the outside tidier. It keeps no document model, checks
// no nesting and closes nothing on its own. Its one piece of state is the
// name of the last tracked tag: a tracked tag with another name starts a new
// output line, so a run of font, size and colour tags stays on one line.
#pragma once
#include <string_view>
#include <utility>
#include <vector>
#include "editor/exchange/DCExporter.h"

// Document text for HTML: blank → &nbsp;, " & < > → entities; every other
// byte (TAB and bytes above 127 included) unchanged.
AnsiString HtmlEscape(const AnsiString& S);
// An attribute value or title: " & < > → entities, blanks kept, so a file
// name or face with one of those characters cannot break the markup.
AnsiString HtmlEscapeAttr(const AnsiString& S);
// Points → the SIZE value 1..7 of a font tag.
Integer HtmlFontSize(Integer Points);
// "#RRGGBB" of the colour, system colours resolved.
AnsiString HtmlColor(TColor Color);
AnsiString HtmlFrameName(Byte Frame);
AnsiString HtmlRulesName(Byte Rules);

class TDCHTMLExporter : public TDCExporter {
public:
  using TAttrs = std::vector<std::pair<AnsiString, AnsiString>>;

  explicit TDCHTMLExporter(TStream* AStream);

  AnsiString ConvertText(const AnsiString& S) override;
  void StartParagraph(Integer Align) override;
  void EndParagraph() override;
  void StartNonScrollRegion() override;
  void EndNonScrollRegion() override;
  void LineBreak() override;
  void StartFont(const AnsiString& Face) override;
  void StartFontCharset(const AnsiString& Face, Byte Charset) override;
  void EndFont() override;
  void StartBigger() override;
  void EndBigger() override;
  void StartSmaller() override;
  void EndSmaller() override;
  void StartFontSize(Integer Points) override;
  void EndFontSize() override;
  void StartItalic() override;
  void EndItalic() override;
  void StartBold() override;
  void EndBold() override;
  void StartUnderline() override;
  void EndUnderline() override;
  void StartStrikeOut() override;
  void EndStrikeOut() override;
  void StartNumberedList() override;
  void EndNumberedList() override;
  void StartBulletList() override;
  void EndBulletList() override;
  void StartBulletItem() override;
  void EndBulletItem() override;
  void StartNumberedItem() override;
  void EndNumberedItem() override;
  void StartBlockQuote() override;
  void EndBlockQuote() override;
  void StartSubscript() override;
  void EndSubscript() override;
  void StartSuperscript() override;
  void EndSuperscript() override;
  void StartColor(TColor Color) override;
  void EndColor() override;
  void StartPageColor(TColor Color) override;
  void EndPageColor() override;
  void StartBackColor(TColor Color) override;
  void EndBackColor() override;
  void StartLink(const AnsiString& Target, Byte Style) override;
  void EndLink() override;
  void StartTable(const TExportTableInfo& Info) override;
  void EndTable() override;
  void StartRow() override;
  void EndRow() override;
  void StartCell(Integer Width) override;
  void EndCell() override;
  void StartDocument(const AnsiString& Title) override;
  void EndDocument() override;
  void StartTopic(const AnsiString& Topic) override;
  void EndTopic() override;
  void WriteSpaces(Integer Count) override;
  void WriteImage(const AnsiString& FileName, Integer Width, Integer Height) override;
  bool KeepsTabs() override { return false; }
  void HorizontalRule() override;
  void WriteHyperlink(const AnsiString& Text, const AnsiString& Target) override;

protected:
  // "<Name>", not tracked.
  void WriteOpenTag(std::string_view Name);
  // "</Name>", never tracked.
  void WriteCloseTag(std::string_view Name);
  // A tracked tag: CR LF first when the last tracked name differs.
  void WriteTag(std::string_view Name, std::string_view TagText);
  void WriteSimpleTag(std::string_view Name);
  // Attributes with an empty value are left out; values are escaped.
  void WriteTagAttr(std::string_view Name, std::string_view AttrName, std::string_view Value);
  void WriteTagAttrs(std::string_view Name, const TAttrs& Attrs);

private:
  AnsiString FLastTag;
  // The code page of each open font group, innermost last: text in a font
  // of another charset is read in that charset's code page.
  std::vector<UINT> FCodePages;
  // The tag and its inner text being composed, kept to spare allocations.
  AnsiString FTag, FTagText;
};
