// RichEdit.h — the rich-edit control: TCustomRichEdit holds a document
// (RichDocument.h), a selection and the range formatter, and answers the
// rich-edit messages by number through Perform/Dispatch; TRichEdit
// publishes it for form descriptions.
//
// Lines is a TStrings view of the paragraphs: LoadFromFile/LoadFromStream
// read RTF when the bytes start with "{\rtf" and PlainText is off, plain
// text otherwise; edits through Lines keep the other paragraphs' formats.
// Every change of the document drops the cached range layout.
//
// Character positions are the document's: a paragraph mark counts one
// position, and WM_GETTEXTLENGTH answers the same count as
// EM_GETTEXTLENGTHEX with GTL_DEFAULT, so a caller can compare it with the
// positions EM_FORMATRANGE returns.
//
// Messages reach the control through Perform and, once it has a window
// (Handle creates it on demand, also for a hidden control), through
// SendMessage to that window.
#pragma once
#include <memory>

#include "platform/forms/Controls.h"
#include "platform/richedit/RichDocument.h"
#include "platform/richedit/RichEditMessages.h"
#include "platform/richedit/RichFormatRange.h"
#include "platform/rtl/Strings.h"
#include "platform/win/Messages.h"

class TCustomRichEdit;

// Lines: one string per paragraph, without its end mark, in the ANSI code
// page. A cell's paragraphs read as the row's text up to the mark.
class TRichEditStrings : public TStrings {
  SX_CLASS(TRichEditStrings, TStrings)
public:
  explicit TRichEditStrings(TCustomRichEdit* AEdit = nullptr) : FEdit(AEdit) {}
  Integer GetCount() const override;
  void Insert(Integer Index, const AnsiString& S) override;
  void Delete(Integer Index) override;
  void Clear() override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) const override;

protected:
  AnsiString Get(Integer Index) const override;
  void Put(Integer Index, const AnsiString& S) override;
  void SetTextStr(const AnsiString& Value) override;

private:
  TCustomRichEdit* FEdit;
};

class TCustomRichEdit : public TWinControl {
  SX_CLASS(TCustomRichEdit, TWinControl)
public:
  explicit TCustomRichEdit(TComponent* AOwner);
  ~TCustomRichEdit() override;

  TStrings* GetLines() const { return FLines.get(); }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  bool GetPlainText() const { return FPlainText; }
  void SetPlainText(bool Value) { FPlainText = Value; }
  Integer GetSelStart() const { return FSelStart; }
  void SetSelStart(Integer Value);
  Integer GetSelLength() const { return FSelLength; }
  void SetSelLength(Integer Value);
  void SelectAll();
  void Clear();
  // WM_GETTEXTLENGTH.
  Integer GetTextLen() { return Integer(Perform(WM_GETTEXTLENGTH)); }

  // The format plain text and runs without a face get: the control's Font,
  // followed on every change of it (text already loaded keeps its format).
  const TRichCharFormat& GetDefaultFormat() const { return FDefaultFormat; }
  void SetDefaultFormat(const TRichCharFormat& Value) { FDefaultFormat = Value; }

  const TRichDocument& Document() const { return FDoc; }
  // Replaces the content; the selection collapses to the start.
  void SetDocument(TRichDocument Doc);
  // RTF (unless PlainText) or plain text, as LoadFromStream reads them.
  void LoadBytes(std::string_view Bytes);

  void Dispatch(TMessage& Message) override;

protected:
  AnsiString GetTextInternal() const override;
  void SetTextInternal(const AnsiString& Value) override;

private:
  friend class TRichEditStrings;
  LRESULT GetTextLengthEx(const GETTEXTLENGTHEX* Info) const;
  LRESULT ExSetSel(const CHARRANGE* Range);
  LRESULT StreamIn(UINT Format, EDITSTREAM* Stream);
  LRESULT StreamOut(UINT Format, EDITSTREAM* Stream);
  void FollowFont();

  TRichDocument FDoc;
  TRichCharFormat FDefaultFormat;
  std::unique_ptr<TRichEditStrings> FLines;
  TRichFormatRange FFormatRange;
  bool FPlainText = false;
  Integer FSelStart = 0;
  Integer FSelLength = 0;
};

class TRichEdit : public TCustomRichEdit {
  SX_CLASS(TRichEdit, TCustomRichEdit)
public:
  explicit TRichEdit(TComponent* AOwner) : TCustomRichEdit(AOwner) {}
  static void Published(TPublished<TRichEdit>& P) {
    P.Property("Align", &TRichEdit::GetAlign, &TRichEdit::SetAlign).Default(alNone);
    P.Property("Font", &TRichEdit::GetFont, &TRichEdit::SetFont);
    P.Property("ParentFont", &TRichEdit::GetParentFont, &TRichEdit::SetParentFont).Default(true);
    P.Property("TabOrder", &TRichEdit::GetTabOrder, &TRichEdit::SetTabOrder);
    P.Property("TabStop", &TRichEdit::GetTabStop, &TRichEdit::SetTabStop).Default(true);
    P.Property("Visible", &TRichEdit::GetVisible, &TRichEdit::SetVisible).Default(true);
    P.Property("Lines", &TRichEdit::GetLines, &TRichEdit::SetLines);
    P.Property("PlainText", &TRichEdit::GetPlainText, &TRichEdit::SetPlainText).Default(false);
  }
};

// Registers TRichEdit for form descriptions (FindClass by name).
void RegisterRichEditClasses();
