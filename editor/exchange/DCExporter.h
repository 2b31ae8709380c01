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
  void WriteString(const AnsiString& S) override;
  // Escapes document text for the format.
  AnsiString ConvertText(const AnsiString& S) override = 0;

  void StartParagraph(Integer Align) override = 0;
  void EndParagraph() override = 0;
  void StartNonScrollRegion() override = 0;
  void EndNonScrollRegion() override = 0;
  void LineBreak() override = 0;
  void StartFont(const AnsiString& Face) override = 0;
  void StartFontCharset(const AnsiString& Face, Byte Charset) override = 0;
  void EndFont() override = 0;
  void StartBigger() override = 0;
  void EndBigger() override = 0;
  void StartSmaller() override = 0;
  void EndSmaller() override = 0;
  void StartFontSize(Integer Points) override = 0;
  void EndFontSize() override = 0;
  void StartItalic() override = 0;
  void EndItalic() override = 0;
  void StartBold() override = 0;
  void EndBold() override = 0;
  void StartUnderline() override = 0;
  void EndUnderline() override = 0;
  void StartStrikeOut() override = 0;
  void EndStrikeOut() override = 0;
  void StartNumberedList() override = 0;
  void EndNumberedList() override = 0;
  void StartBulletList() override = 0;
  void EndBulletList() override = 0;
  void StartBulletItem() override = 0;
  void EndBulletItem() override = 0;
  void StartNumberedItem() override = 0;
  void EndNumberedItem() override = 0;
  void StartBlockQuote() override = 0;
  void EndBlockQuote() override = 0;
  void StartSubscript() override = 0;
  void EndSubscript() override = 0;
  void StartSuperscript() override = 0;
  void EndSuperscript() override = 0;
  void StartColor(TColor Color) override = 0;
  void EndColor() override = 0;
  void StartPageColor(TColor Color) override = 0;
  void EndPageColor() override = 0;
  void StartBackColor(TColor Color) override = 0;
  void EndBackColor() override = 0;
  void StartLink(const AnsiString& Target, Byte Style) override = 0;
  void EndLink() override = 0;
  void StartTable(const TExportTableInfo& Info) override = 0;
  void EndTable() override = 0;
  void StartRow() override = 0;
  void EndRow() override = 0;
  void StartCell(Integer Width) override = 0;
  void EndCell() override = 0;
  void StartDocument(const AnsiString& Title) override = 0;
  void EndDocument() override = 0;
  void StartTopic(const AnsiString& Topic) override = 0;
  void EndTopic() override = 0;
  void WriteSpaces(Integer Count) override = 0;
  void WriteImage(const AnsiString& FileName, Integer Width, Integer Height) override = 0;
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
