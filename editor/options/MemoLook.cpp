#include "editor/options/MemoLook.h"

#include <cstdint>

#include "editor/controls/DCMemo.h"
#include "platform/rtl/ByteOrder.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Streams.h"
#include "platform/win/Clipboard.h"

namespace {

// A wider pen is set back to the limit, which fires its change once more;
// true when the pen was within the limit already.
bool WithinPenLimit(TPen* Pen) {
  if (Pen->GetWidth() <= MaxLookPenWidth) return true;
  Pen->SetWidth(MaxLookPenWidth);
  return false;
}

void WriteLengthPrefixed(TStream* Stream, const AnsiString& S) {
  std::uint8_t Len[4];
  ByteOrder::WriteLE32(Len, std::uint32_t(S.size()));
  Stream->WriteBuffer(Len, 4);
  if (!S.empty()) Stream->WriteBuffer(S.data(), Integer(S.size()));
}

AnsiString ReadLengthPrefixed(TStream* Stream) {
  std::uint8_t Len[4];
  Stream->ReadBuffer(Len, 4);
  const std::uint32_t N = ByteOrder::ReadLE32(Len);
  // A length the stream cannot hold is a broken stream, not a huge string.
  if (N > std::uint32_t(Stream->GetSize() - Stream->GetPosition())) throw EReadError("Stream read error");
  AnsiString S(N, '\0');
  if (N) Stream->ReadBuffer(S.data(), Integer(N));
  return S;
}

}  // namespace

// ---------------------------------------------------------------------------
// TLineSeparator

TLineSeparator::TLineSeparator(TCustomDCMemo* AEditor) : FPen(std::make_unique<TPen>()), FEditor(AEditor) {
  FPen->SetColor(clGrayText);
  FPen->OnChange = TNotifyEvent(this, &TLineSeparator::PenChanged);
}

TLineSeparator::~TLineSeparator() { FPen->OnChange = nullptr; }

void TLineSeparator::Published(TPublished<TLineSeparator>& P) {
  P.Property("Pen", &TLineSeparator::GetPen, &TLineSeparator::SetPen);
  P.Property("Options", &TLineSeparator::GetOptions, &TLineSeparator::SetOptions);
}

void TLineSeparator::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TLineSeparator*>(Source)) {
    SetOptions(S->GetOptions());
    FPen->Assign(S->GetPen());
    WithinPenLimit(FPen.get());
    return;
  }
  inherited::Assign(Source);
}

void TLineSeparator::Changed() {
  if (FEditor && FOptions.Contains(moDrawLineSeparator)) FEditor->Invalidate();
}

void TLineSeparator::SetOptions(TSeparatorOptions Value) {
  if (FOptions == Value) return;
  FOptions = Value;
  if (FEditor) FEditor->Invalidate();
  Changed();
}

void TLineSeparator::PenChanged(TObject*) {
  // Narrowing fires this handler again, which then reports the change.
  if (WithinPenLimit(FPen.get())) Changed();
}

// ---------------------------------------------------------------------------
// TLineHighlight

TLineHighlight::TLineHighlight(TCustomDCMemo* AEditor)
    : FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()), FEditor(AEditor) {
  FPen->SetColor(clGrayText);
  FBrush->SetColor(clBtnFace);
  FPen->OnChange = TNotifyEvent(this, &TLineHighlight::PenChanged);
  FBrush->OnChange = TNotifyEvent(this, &TLineHighlight::BrushChanged);
}

TLineHighlight::~TLineHighlight() {
  FPen->OnChange = nullptr;
  FBrush->OnChange = nullptr;
}

void TLineHighlight::Published(TPublished<TLineHighlight>& P) {
  P.Property("Pen", &TLineHighlight::GetPen, &TLineHighlight::SetPen);
  P.Property("Brush", &TLineHighlight::GetBrush, &TLineHighlight::SetBrush);
  P.Property("Visible", &TLineHighlight::GetVisible, &TLineHighlight::SetVisible).Default(false);
  P.Property("Shape", &TLineHighlight::GetShape, &TLineHighlight::SetShape).Default(shDoubleLine);
}

void TLineHighlight::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TLineHighlight*>(Source)) {
    SetVisible(S->GetVisible());
    FPen->Assign(S->GetPen());
    WithinPenLimit(FPen.get());
    FBrush->Assign(S->GetBrush());
    return;
  }
  inherited::Assign(Source);
}

void TLineHighlight::Changed() {
  if (FEditor) FEditor->InvalidateCaretLine();
}

void TLineHighlight::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed();
}

void TLineHighlight::SetShape(TShapeHighlightType Value) {
  if (FShape == Value) return;
  FShape = Value;
  Changed();
}

void TLineHighlight::PenChanged(TObject*) {
  if (WithinPenLimit(FPen.get())) Changed();
}

void TLineHighlight::BrushChanged(TObject*) { Changed(); }

// ---------------------------------------------------------------------------
// TSpecialSymbols

TSpecialSymbols::TSpecialSymbols(TCustomDCMemo* AEditor) : FEditor(AEditor) {}

void TSpecialSymbols::Published(TPublished<TSpecialSymbols>& P) {
  P.Property("EOLString", &TSpecialSymbols::GetEOLString, &TSpecialSymbols::SetEOLString);
  P.Property("EOFString", &TSpecialSymbols::GetEOFString, &TSpecialSymbols::SetEOFString);
  P.Property("SpaceChar", &TSpecialSymbols::GetSpaceChar, &TSpecialSymbols::SetSpaceChar).Default(0);
  P.Property("TabChar", &TSpecialSymbols::GetTabChar, &TSpecialSymbols::SetTabChar).Default(0);
}

void TSpecialSymbols::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TSpecialSymbols*>(Source);
  if (!S) return;
  FEOLString = S->FEOLString;
  FEOFString = S->FEOFString;
  SetSpaceChar(S->FSpaceChar);
  SetTabChar(S->FTabChar);
  Changed();
}

void TSpecialSymbols::Changed() {
  if (FEditor && FEditor->GetOptions().Contains(moDrawSpecialSymbols)) FEditor->Invalidate();
}

void TSpecialSymbols::SetEOLString(const AnsiString& Value) {
  if (FEOLString == Value) return;
  FEOLString = Value;
  Changed();
}

void TSpecialSymbols::SetEOFString(const AnsiString& Value) {
  if (FEOFString == Value) return;
  FEOFString = Value;
  Changed();
}

void TSpecialSymbols::SetSpaceChar(char Value) {
  if (FSpaceChar == Value) return;
  FSpaceChar = Value;
  Changed();
}

void TSpecialSymbols::SetTabChar(char Value) {
  if (FTabChar == Value) return;
  FTabChar = Value;
  Changed();
}

void TSpecialSymbols::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "EOLStringBinary", [this](TStream* S) { SetEOLString(ReadLengthPrefixed(S)); },
      [this](TStream* S) { WriteLengthPrefixed(S, FEOLString); }, /*HasData=*/true);
  Filer->DefineBinaryProperty(
      "EOFStringBinary", [this](TStream* S) { SetEOFString(ReadLengthPrefixed(S)); },
      [this](TStream* S) { WriteLengthPrefixed(S, FEOFString); }, /*HasData=*/true);
}

// ---------------------------------------------------------------------------

bool ClipboardHasRtf() {
  static const UINT CF_RTF = RegisterClipboardFormatA("Rich Text Format");
  return CF_RTF != 0 && IsClipboardFormatAvailable(CF_RTF);
}
