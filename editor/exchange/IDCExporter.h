// IDCExporter.h — the exporter's operations as an interface, for callers
// that hold an exporter as an interface rather than through its class.
// TDCExporter implements it; the editor itself calls the class.
#pragma once
#include "platform/rtl/Colors.h"
#include "platform/rtl/Interfaces.h"

struct TExportTableInfo;

// The operations in the order of TDCExporter's (DCExporter.h says what each
// writes).
class IDCExporter : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IDCExporter, "{CAF76A50-7B3F-4254-B461-D24435DB9B78}")
  virtual void WriteString(const AnsiString& S) = 0;
  virtual AnsiString ConvertText(const AnsiString& S) = 0;
  virtual void StartParagraph(Integer Align) = 0;
  virtual void EndParagraph() = 0;
  virtual void StartNonScrollRegion() = 0;
  virtual void EndNonScrollRegion() = 0;
  virtual void LineBreak() = 0;
  virtual void StartFont(const AnsiString& Face) = 0;
  virtual void StartFontCharset(const AnsiString& Face, Byte Charset) = 0;
  virtual void EndFont() = 0;
  virtual void StartBigger() = 0;
  virtual void EndBigger() = 0;
  virtual void StartSmaller() = 0;
  virtual void EndSmaller() = 0;
  virtual void StartFontSize(Integer Points) = 0;
  virtual void EndFontSize() = 0;
  virtual void StartItalic() = 0;
  virtual void EndItalic() = 0;
  virtual void StartBold() = 0;
  virtual void EndBold() = 0;
  virtual void StartUnderline() = 0;
  virtual void EndUnderline() = 0;
  virtual void StartStrikeOut() = 0;
  virtual void EndStrikeOut() = 0;
  virtual void StartNumberedList() = 0;
  virtual void EndNumberedList() = 0;
  virtual void StartBulletList() = 0;
  virtual void EndBulletList() = 0;
  virtual void StartBulletItem() = 0;
  virtual void EndBulletItem() = 0;
  virtual void StartNumberedItem() = 0;
  virtual void EndNumberedItem() = 0;
  virtual void StartBlockQuote() = 0;
  virtual void EndBlockQuote() = 0;
  virtual void StartSubscript() = 0;
  virtual void EndSubscript() = 0;
  virtual void StartSuperscript() = 0;
  virtual void EndSuperscript() = 0;
  virtual void StartColor(TColor Color) = 0;
  virtual void EndColor() = 0;
  virtual void StartPageColor(TColor Color) = 0;
  virtual void EndPageColor() = 0;
  virtual void StartBackColor(TColor Color) = 0;
  virtual void EndBackColor() = 0;
  virtual void StartLink(const AnsiString& Target, Byte Style) = 0;
  virtual void EndLink() = 0;
  virtual void StartTable(const TExportTableInfo& Info) = 0;
  virtual void EndTable() = 0;
  virtual void StartRow() = 0;
  virtual void EndRow() = 0;
  virtual void StartCell(Integer Width) = 0;
  virtual void EndCell() = 0;
  virtual void StartDocument(const AnsiString& Title) = 0;
  virtual void EndDocument() = 0;
  virtual void StartTopic(const AnsiString& Topic) = 0;
  virtual void EndTopic() = 0;
  virtual void WriteSpaces(Integer Count) = 0;
  virtual void WriteImage(const AnsiString& FileName, Integer Width, Integer Height) = 0;
  virtual bool KeepsTabs() = 0;
  virtual void HorizontalRule() = 0;
  virtual void WriteHyperlink(const AnsiString& Text, const AnsiString& Target) = 0;

protected:
  ~IDCExporter() = default;
};
