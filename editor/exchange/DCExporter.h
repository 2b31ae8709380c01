// DCExporter.h — TDCExporter, the editor's abstract document writer.
//
// A fixed vocabulary of writing operations (text, paragraphs, fonts, sizes,
// styles, colours, lists, links, tables, images, topics) that each exporter
// turns into one output format. The editor's export walk drives it run by
// run; TDCHTMLExporter and TDCRTFExporter are the two writers.
//
// Ownership: the exporter borrows its stream (the caller creates and frees
// it) and writes to it from the stream's current position. Nothing is
// written at destruction. Stream errors pass through as the stream's
// exceptions; what was written before stays.
//
// Every piece of document text goes through ConvertText before WriteString;
// WriteString itself never escapes.
#pragma once
#include <memory>
#include "editor/exchange/IDCExporter.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

class TStream;

// What StartTable is told about a table. Frame is 0 to 8 and Rules 0 to 4;
// callers keep to those ranges.
struct TExportTableInfo {
  Integer Width = 0;
  Integer Border = 0;
  Byte Frame = 0;
  Byte Rules = 0;
  Integer CellSpacing = 0;
  Integer CellPadding = 0;
};

// Paragraph alignments of StartParagraph.
inline constexpr Integer eaLeft = 0;
inline constexpr Integer eaCenter = 1;
inline constexpr Integer eaRight = 2;
inline constexpr Integer eaJustify = 3;

class TDCExporter : public TInterfacedObject, public IDCExporter {
public:
  explicit TDCExporter(TStream* AStream);

  bool GetInterface(const TGUID& IID, void** Obj) override {
    return OfferInterface<IDCExporter>(this, IID, Obj) || TInterfacedObject::GetInterface(IID, Obj);
  }

  // The bytes of S, unchanged, to the stream (nothing for an empty S).
  virtual void WriteString(const AnsiString& S);
  // Escapes document text for the format.
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
  // False: the walk hands over displayed lines with TABs expanded; True:
  // stored lines with their TABs.
  virtual bool KeepsTabs() = 0;
  virtual void HorizontalRule() = 0;
  virtual void WriteHyperlink(const AnsiString& Text, const AnsiString& Target) = 0;

  TStream* GetStream() const { return FStream; }
  // Paragraph spacing; only the RTF writer reads it.
  Integer GetParaSpaceBefore() const { return FParaSpaceBefore; }
  void SetParaSpaceBefore(Integer Value) { FParaSpaceBefore = Value; }
  Integer GetParaSpaceAfter() const { return FParaSpaceAfter; }
  void SetParaSpaceAfter(Integer Value) { FParaSpaceAfter = Value; }

private:
  TStream* FStream;
  Integer FParaSpaceBefore = 0;
  Integer FParaSpaceAfter = 0;
};

// A class reference to an exporter: its virtual constructor, which takes
// the stream to write to. Pass e.g. &ExporterClassOf<TDCHTMLExporter>.
using TDCExporterClass = std::unique_ptr<TDCExporter> (*)(TStream* AStream);

template <class TExporter>
std::unique_ptr<TDCExporter> ExporterClassOf(TStream* AStream) {
  return std::make_unique<TExporter>(AStream);
}
