// DCRTFExporter.h — TDCRTFExporter, the RTF writer of the exporter
// interface, and TRTFWriterList, the buffer it writes into.
//
// Unlike the HTML writer it holds the whole document until EndDocument: the
// font and colour tables sit near the start of the file but are complete
// only at the end. Group-opening words pass a stack of writer objects that
// may take them over (a table collects its rows and cells and writes them
// as one block). Nothing reaches the stream before EndDocument; the buffer
// is not cleared, so a second EndDocument writes everything again.
//
// Ownership: the exporter owns its writer list; the list owns the font and
// colour objects and every writer object it holds as an item; the stack
// only points at items.
#pragma once
#include <memory>
#include <variant>
#include <vector>
#include "editor/exchange/DCExporter.h"

// The value the next opened group takes: a face name, a colour or a width.
using TWriterValue = std::variant<AnsiString, Integer>;
AnsiString WriterValueText(const TWriterValue& V);
Integer WriterValueInt(const TWriterValue& V);

// A handler for group words. The base class accepts no word, adds no text
// and writes nothing.
class TWriterObject : public TObject {
public:
  virtual void OpenWord(const AnsiString& Word);
  virtual void CloseWord(const AnsiString& Word);
  virtual bool AcceptsWord(const AnsiString& Word);
  virtual void WriteText(TStream* Stream, const AnsiString& S);
  virtual void WriteObject(TStream* Stream);
  // True when the object took S, so the list does not append it.
  virtual bool AddText(const AnsiString& S);
  // S, then CR LF.
  void WriteLine(TStream* Stream, const AnsiString& S);

  TWriterValue Value;  // a copy of the list's pending value at OpenWord
};

// The font table. Accepts "f".
class TWriterFontObject : public TWriterObject {
public:
  bool AcceptsWord(const AnsiString& Word) override;
  void WriteObject(TStream* Stream) override;
  // The index of Name with Charset, appending it when new.
  Integer AddFont(const AnsiString& Name, Byte Charset);
  // An entry written as it stands: its name carries control words.
  Integer AddRawFont(const AnsiString& Text, Byte Charset);
  Integer FontCount() const { return Integer(FFonts.size()); }

  bool IgnoreCharset = false;

private:
  struct TFontEntry {
    AnsiString Name;
    Byte Charset;
    bool Raw;
  };
  std::vector<TFontEntry> FFonts;
};

// The colour table. Accepts "cf" and "highlight". Index 0 is the first
// colour used: there is no automatic entry.
class TWriterColorObject : public TWriterObject {
public:
  bool AcceptsWord(const AnsiString& Word) override;
  void WriteObject(TStream* Stream) override;
  Integer AddColor(TColor Color);
  Integer ColorCount() const { return Integer(FColors.size()); }

private:
  std::vector<AnsiString> FColors;  // RtfColor texts
};

// A table: collects rows and cells, writes them as one block. Accepts
// "\trowd\" (a new row) and "cell" (a new cell of the pending width).
class TWriterTableObject : public TWriterObject {
public:
  explicit TWriterTableObject(const TExportTableInfo& AInfo) : FInfo(AInfo) {}
  void OpenWord(const AnsiString& Word) override;
  bool AcceptsWord(const AnsiString& Word) override;
  void WriteObject(TStream* Stream) override;
  // Into the last cell; text outside any cell is dropped. Always True.
  bool AddText(const AnsiString& S) override;
  void NewRow();
  void NewCell();

private:
  struct TCell {
    Integer Width;
    AnsiString Content;
  };
  struct TRow {
    AnsiString Text;
    std::vector<TCell> Cells;
  };
  TExportTableInfo FInfo;
  std::vector<TRow> FRows;
};

class TRTFWriterList : public TObject {
public:
  TRTFWriterList();
  ~TRTFWriterList() override;

  // Appends S (ignored when empty) unless the top writer object takes it.
  void AddText(const AnsiString& S);
  // Appends a table object as an item and pushes it on the stack.
  void AddTable(const TExportTableInfo& Info);
  // Pops the top writer object (it stays in the list as an item).
  void PopObject();
  void OpenGroup(const AnsiString& Word);
  void CloseGroup(const AnsiString& Word);
  void WriteTo(TStream* Stream);

  void SetPending(TWriterValue Value, Byte Charset = 0) {
    FPendingValue = std::move(Value);
    FPendingCharset = Charset;
  }
  TWriterFontObject& FontObject() { return *FFontObject; }
  TWriterColorObject& ColorObject() { return *FColorObject; }
  Integer Count() const { return Integer(FItems.size()); }

protected:
  void WriteTopicFootnotes(TStream* Stream, const AnsiString& Topic);
  void WriteFootnote(TStream* Stream, const AnsiString& Mark, const AnsiString& Text);

private:
  struct TItem {
    AnsiString Text;
    std::unique_ptr<TWriterObject> Object;
  };
  TWriterObject* FindAccepting(const AnsiString& Word);
  std::vector<TItem> FItems;
  std::vector<TWriterObject*> FStack;  // top last
  std::unique_ptr<TWriterFontObject> FFontObject;
  std::unique_ptr<TWriterColorObject> FColorObject;
  TWriterValue FPendingValue;
  Byte FPendingCharset = 0;
};

// A class reference to a writer list.
using TRTFWriterListClass = std::unique_ptr<TRTFWriterList> (*)();

class TDCRTFExporter : public TDCExporter {
public:
  explicit TDCRTFExporter(TStream* AStream);
  ~TDCRTFExporter() override;

  void WriteString(const AnsiString& S) override;
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
  bool KeepsTabs() override { return true; }
  void HorizontalRule() override;
  void WriteHyperlink(const AnsiString& Text, const AnsiString& Target) override;

  // The class of the writer list; a descendant returns its own. Asked when
  // the list is first needed, so an override takes effect.
  virtual TRTFWriterListClass GetWriterListClass();
  TRTFWriterList& WriterList();
  // The size in half-points that StartBigger and StartSmaller step from.
  Integer GetSize() const { return FSize; }

protected:
  // "{\" Text "}" and then CR LF.
  void WriteGroup(const AnsiString& Text);

private:
  Integer FSize = 24;
  AnsiString FLinkTarget;
  Byte FLinkStyle = 0;
  std::unique_ptr<TRTFWriterList> FWriterList;
};

// Cell boundaries: the running width sum × 56.7 / 2, halves to even.
Integer WidthToTwips(Integer Width);
// An RTF font name as written in the font table: backslash and braces
// escaped, ';' (which ends the entry) as \'3b.
AnsiString RtfFontName(const AnsiString& Name);
