// RichEdit.cpp — TCustomRichEdit's messages and its Lines view.
#include "platform/richedit/RichEdit.h"

#include <sys/mman.h>
#include <unistd.h>
#include <algorithm>
#include <new>

#include "platform/richedit/RtfReader.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

namespace {

constexpr UINT CpUtf16 = 1200;

// Copies paragraph P of Src into Dst, run by run; Last closes the document.
void CopyParagraph(TRichDocument& Dst, const TRichDocument& Src, const TRichParagraph& P, bool Last) {
  const Integer Body = Integer(P.Text.size()) - 1;   // without the end character
  for (const TRichRun& R : P.Runs) {
    const Integer End = std::min(R.Start + R.Length, Body);
    if (End <= R.Start) continue;
    const TRichCharFormat& F = Src.CharFormat(R.Format);
    if (R.Picture >= 0 && std::size_t(R.Picture) < Src.Pictures().size())
      Dst.AppendPicture(Src.Pictures()[std::size_t(R.Picture)], F);
    else
      Dst.AppendText(P.Text.substr(std::size_t(R.Start), std::size_t(End - R.Start)), F);
  }
  const TRichCharFormat& Mark = Src.CharFormat(P.Runs.empty() ? 0 : P.Runs.back().Format);
  if (Last) Dst.Finish(*P.Format, Mark);
  else Dst.EndParagraph(*P.Format, Mark, P.End(), P.Row, P.Cell);
}

// A document with paragraph Index replaced (Replace), removed (neither) or
// preceded by a new one (Insert), the text of the new paragraph being Text.
enum class TEdit { Insert, Replace, Remove };
TRichDocument Edited(const TRichDocument& Src, Integer Index, TEdit Edit, const WideString& Text,
                     const TRichCharFormat& DefaultFormat) {
  TRichDocument Dst;
  for (const auto& Row : Src.Rows()) Dst.AddRow(Row);
  const auto& Paras = Src.Paragraphs();
  const bool Empty = Src.TextLength() == 0;
  const Integer Count = Empty ? 0 : Integer(Paras.size());
  std::vector<std::pair<const TRichParagraph*, const WideString*>> Out;   // null paragraph: new text
  for (Integer I = 0; I < Count; ++I) {
    if (I == Index && Edit != TEdit::Remove) Out.push_back({nullptr, &Text});
    if (I == Index && Edit != TEdit::Insert) continue;
    Out.push_back({&Paras[std::size_t(I)], nullptr});
  }
  if (Index >= Count && Edit == TEdit::Insert) Out.push_back({nullptr, &Text});
  for (std::size_t K = 0; K < Out.size(); ++K) {
    const bool Last = K + 1 == Out.size();
    if (Out[K].first) {
      CopyParagraph(Dst, Src, *Out[K].first, Last);
      continue;
    }
    // A new line takes the format of the paragraph it replaces or precedes.
    const Integer Near = std::min<Integer>(Index, Integer(Paras.size()) - 1);
    const TRichParagraph& Model = Paras[std::size_t(std::max<Integer>(Near, 0))];
    TRichCharFormat F = DefaultFormat;
    if (!Empty && !Model.Runs.empty()) F = Src.CharFormat(Model.Runs.front().Format);
    TRichParaFormat PF = Empty ? TRichParaFormat() : *Model.Format;
    Dst.AppendText(*Out[K].second, F);
    if (Last) Dst.Finish(PF, F);
    else Dst.EndParagraph(PF, F);
  }
  if (Out.empty()) Dst = TRichDocument();
  return Dst;
}

}  // namespace

// ---- Lines -----------------------------------------------------------------------

Integer TRichEditStrings::GetCount() const {
  if (!FEdit || FEdit->FDoc.TextLength() == 0) return 0;
  return Integer(FEdit->FDoc.Paragraphs().size());
}

AnsiString TRichEditStrings::Get(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
  const TRichParagraph& P = FEdit->FDoc.Paragraphs()[std::size_t(Index)];
  return WideToAnsi(P.Text.substr(0, P.Text.size() - 1));
}

void TRichEditStrings::Put(Integer Index, const AnsiString& S) {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
  FEdit->SetDocument(Edited(FEdit->FDoc, Index, TEdit::Replace, AnsiToWide(S), FEdit->FDefaultFormat));
}

void TRichEditStrings::Insert(Integer Index, const AnsiString& S) {
  if (Index < 0 || Index > GetCount()) IndexError(Index);
  FEdit->SetDocument(Edited(FEdit->FDoc, Index, TEdit::Insert, AnsiToWide(S), FEdit->FDefaultFormat));
}

void TRichEditStrings::Delete(Integer Index) {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
  FEdit->SetDocument(Edited(FEdit->FDoc, Index, TEdit::Remove, {}, FEdit->FDefaultFormat));
}

void TRichEditStrings::Clear() { FEdit->SetDocument(TRichDocument()); }

void TRichEditStrings::SetTextStr(const AnsiString& Value) {
  FEdit->SetDocument(PlainTextRead(std::u16string_view(AnsiToWide(Value)), FEdit->FDefaultFormat));
}

namespace {

// The bytes of a stream being loaded, in pages of their own that go back to
// the system as the reader passes them: a long file is not held whole beside
// the document it becomes.
class TPassingBytes {
public:
  explicit TPassingBytes(size_t Size) : FSize(Size) {
    if (Size == 0) return;
    void* P = mmap(nullptr, Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (P == MAP_FAILED) throw std::bad_alloc();
    FData = static_cast<char*>(P);
  }
  ~TPassingBytes() {
    if (FData) munmap(FData, FSize);
  }
  TPassingBytes(const TPassingBytes&) = delete;
  TPassingBytes& operator=(const TPassingBytes&) = delete;

  char* Data() { return FData; }
  std::string_view View() const { return FData ? std::string_view(FData, FSize) : std::string_view(); }
  // The whole pages below Position are given back; they read as zeros after.
  void Release(size_t Position) {
    const size_t Page = size_t(sysconf(_SC_PAGESIZE));
    const size_t End = std::min(Position, FSize) / Page * Page;
    if (End <= FReleased) return;
    madvise(FData + FReleased, End - FReleased, MADV_DONTNEED);
    FReleased = End;
  }

private:
  char* FData = nullptr;
  size_t FSize = 0;
  size_t FReleased = 0;
};

}  // namespace

void TRichEditStrings::LoadFromStream(TStream* Stream) {
  const Int64 Left = Stream->GetSize() - Stream->GetPosition();
  if (Left < 0 || Left > 0x7FFFFFFF) throw EReadError("Stream read error");
  TPassingBytes Bytes{size_t(Left)};
  Stream->ReadBuffer(Bytes.Data(), static_cast<Integer>(Left));
  FEdit->SetDocument(LoadRichText(Bytes.View(), FEdit->FPlainText, FEdit->FDefaultFormat,
                                  [&Bytes](size_t Position) { Bytes.Release(Position); }));
}

void TRichEditStrings::SaveToStream(TStream* Stream) const {
  // FIXME: RTF output waits for an RTF writer; callers only load.
  if (!FEdit->FPlainText) SX_NOT_IMPLEMENTED("TRichEdit.Lines.SaveToStream as RTF");
  TStrings::SaveToStream(Stream);
}

// ---- the control ------------------------------------------------------------------

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner)
    : TWinControl(AOwner), FLines(std::make_unique<TRichEditStrings>(this)) {
  SetTabStop(true);
  FollowFont();
}

void TCustomRichEdit::FollowFont() {
  const TFont* F = GetFont();
  TRichCharFormat D;
  D.Face = AnsiToWide(F->GetName());
  D.Charset = BYTE(F->GetCharset());
  D.Size = F->GetSize() * 2;
  const TFontStyles St = F->GetStyle();
  D.Bold = St.Contains(fsBold);
  D.Italic = St.Contains(fsItalic);
  D.StrikeOut = St.Contains(fsStrikeOut);
  D.Underline = St.Contains(fsUnderline) ? TRichUnderline::Single : TRichUnderline::None;
  // The window-text colour stays "automatic", as the control draws it.
  D.AutoColor = F->GetColor() == clWindowText;
  D.Color = D.AutoColor ? 0 : ColorToRGB(F->GetColor());
  if (D == FDefaultFormat) return;
  FDefaultFormat = D;
  FFormatRange.Release();
}

TCustomRichEdit::~TCustomRichEdit() = default;

void TCustomRichEdit::SetDocument(TRichDocument Doc) {
  FFormatRange.Release();
  FDoc = std::move(Doc);
  FSelStart = 0;
  FSelLength = 0;
}

void TCustomRichEdit::LoadBytes(std::string_view Bytes) {
  SetDocument(LoadRichText(Bytes, FPlainText, FDefaultFormat));
}

void TCustomRichEdit::Clear() { SetDocument(TRichDocument()); }

void TCustomRichEdit::SetSelStart(Integer Value) {
  FSelStart = std::clamp<Integer>(Value, 0, FDoc.TextLength());
  FSelLength = 0;
}

void TCustomRichEdit::SetSelLength(Integer Value) {
  const Integer End = std::clamp<Integer>(FSelStart + std::max<Integer>(Value, 0), FSelStart, FDoc.TextLength());
  FSelLength = End - FSelStart;
}

void TCustomRichEdit::SelectAll() {
  FSelStart = 0;
  FSelLength = FDoc.TextLength();
}

AnsiString TCustomRichEdit::GetTextInternal() const { return WideToAnsi(FDoc.PlainText()); }

void TCustomRichEdit::SetTextInternal(const AnsiString& Value) { FLines->SetText(Value); }

LRESULT TCustomRichEdit::GetTextLengthEx(const GETTEXTLENGTHEX* Info) const {
  const Integer Len = FDoc.TextLength();
  if (!Info) return Len;
  if (Info->flags & GTL_NUMBYTES) {
    WideString Text = FDoc.GetText(0, Len);
    if (Info->flags & GTL_USECRLF) {
      WideString Crlf;
      for (char16_t C : Text) {
        Crlf += C;
        if (C == u'\r') Crlf += u'\n';
      }
      Text = std::move(Crlf);
    }
    if (Info->codepage == CpUtf16) return LRESULT(Text.size() * 2);
    return LRESULT(WideToAnsi(Text, Info->codepage).size());
  }
  if (Info->flags & GTL_USECRLF) {
    const WideString Text = FDoc.GetText(0, Len);
    return Len + LRESULT(std::count(Text.begin(), Text.end(), u'\r'));
  }
  return Len;
}

LRESULT TCustomRichEdit::ExSetSel(const CHARRANGE* Range) {
  if (!Range) return FSelStart + FSelLength;
  const Integer Len = FDoc.TextLength();
  if (Range->cpMin < 0) {
    // Deselects, leaving the caret at the selection's end.
    FSelStart += FSelLength;
    FSelLength = 0;
  } else {
    const Integer Min = std::min<Integer>(Range->cpMin, Len);
    const Integer Max = Range->cpMax < 0 ? Len : std::clamp<Integer>(Range->cpMax, 0, Len);
    FSelStart = std::min(Min, Max);
    FSelLength = std::max(Min, Max) - FSelStart;
  }
  return FSelStart + FSelLength;
}

LRESULT TCustomRichEdit::StreamIn(UINT Format, EDITSTREAM* Stream) {
  if (!Stream || !Stream->pfnCallback) return 0;
  if (Format & SFF_SELECTION) SX_NOT_IMPLEMENTED("EM_STREAMIN into the selection");
  std::string Bytes;
  Byte Buffer[4096];
  Stream->dwError = 0;
  for (;;) {
    LONG Done = 0;
    const DWORD Error = Stream->pfnCallback(Stream->dwCookie, Buffer, LONG(sizeof Buffer), &Done);
    if (Error) {
      Stream->dwError = Error;
      break;
    }
    if (Done <= 0) break;
    Bytes.append(reinterpret_cast<const char*>(Buffer), std::size_t(std::min<LONG>(Done, LONG(sizeof Buffer))));
  }
  if ((Format & 0x0F) == SF_RTF) {
    SetDocument(LoadRichText(Bytes, false, FDefaultFormat));
  } else if (Format & SF_UNICODE) {
    WideString Text(Bytes.size() / 2, u'\0');
    for (std::size_t I = 0; I < Text.size(); ++I)
      Text[I] = char16_t(Byte(Bytes[2 * I]) | (Byte(Bytes[2 * I + 1]) << 8));
    SetDocument(PlainTextRead(std::u16string_view(Text), FDefaultFormat));
  } else {
    SetDocument(PlainTextRead(std::string_view(Bytes), FDefaultFormat));
  }
  return LRESULT(Bytes.size());
}

LRESULT TCustomRichEdit::StreamOut(UINT Format, EDITSTREAM* Stream) {
  if (!Stream || !Stream->pfnCallback) return 0;
  // FIXME: RTF output waits for an RTF writer; callers only load.
  if ((Format & 0x0F) == SF_RTF || (Format & 0x0F) == SF_RTFNOOBJS) SX_NOT_IMPLEMENTED("EM_STREAMOUT as RTF");
  const Integer Len = FDoc.TextLength();
  const Integer Min = (Format & SFF_SELECTION) ? FSelStart : 0;
  const Integer Max = (Format & SFF_SELECTION) ? FSelStart + FSelLength : Len;
  WideString Text;
  for (char16_t C : FDoc.GetText(Min, Max)) {
    Text += C;
    if (C == u'\r') Text += u'\n';
  }
  std::string Bytes;
  if (Format & SF_UNICODE) {
    for (char16_t C : Text) {
      Bytes += char(C & 0xFF);
      Bytes += char(C >> 8);
    }
  } else {
    Bytes = WideToAnsi(Text);
  }
  Stream->dwError = 0;
  std::size_t Sent = 0;
  while (Sent < Bytes.size()) {
    LONG Done = 0;
    const LONG Chunk = LONG(std::min<std::size_t>(Bytes.size() - Sent, 4096));
    const DWORD Error = Stream->pfnCallback(Stream->dwCookie, reinterpret_cast<Byte*>(Bytes.data() + Sent), Chunk, &Done);
    if (Error) {
      Stream->dwError = Error;
      break;
    }
    if (Done <= 0) break;
    Sent += std::size_t(std::min(Done, Chunk));
  }
  return LRESULT(Sent);
}

void TCustomRichEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXTLENGTH: Message.Result = FDoc.TextLength(); break;
    case EM_GETTEXTLENGTHEX:
      Message.Result = GetTextLengthEx(reinterpret_cast<const GETTEXTLENGTHEX*>(Message.WParam));
      break;
    case EM_EXGETSEL:
      if (auto* R = reinterpret_cast<CHARRANGE*>(Message.LParam)) *R = {FSelStart, FSelStart + FSelLength};
      Message.Result = 0;
      break;
    case EM_EXSETSEL: Message.Result = ExSetSel(reinterpret_cast<const CHARRANGE*>(Message.LParam)); break;
    case EM_FORMATRANGE:
      Message.Result = FFormatRange.Format(FDoc, FDefaultFormat.Face, Message.WParam != 0,
                                           reinterpret_cast<FORMATRANGE*>(Message.LParam));
      break;
    case EM_STREAMIN:
      Message.Result = StreamIn(UINT(Message.WParam), reinterpret_cast<EDITSTREAM*>(Message.LParam));
      break;
    case EM_STREAMOUT:
      Message.Result = StreamOut(UINT(Message.WParam), reinterpret_cast<EDITSTREAM*>(Message.LParam));
      break;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      FollowFont();
      break;
    default: inherited::Dispatch(Message);
  }
}

void RegisterRichEditClasses() { RegisterClasses({TRichEdit::StaticClass()}); }
