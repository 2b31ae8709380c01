#include "export/sheet/QuattroProEngine.h"
#include <algorithm>
#include <cstring>
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Format.h"

TgtQuattroProEngine::TgtQuattroProEngine(TComponent* AOwner) : TgtCustomSpreadSheetEngine(AOwner) {
  SetFileExtension("wb1");
  SetFileDescription("Quattro Pro for Windows");
  SetCapabilities(capText);
}

TgtQuattroProEngine::~TgtQuattroProEngine() = default;

Integer TgtQuattroProEngine::GetPaletteIndex(TColor Color) { return PaletteIndexWithin(Color, gtQuattroPaletteSize); }

void TgtQuattroProEngine::StartDocument() {
  TgtCustomSpreadSheetEngine::StartDocument();
  FOutput = OpenDocumentOutput(GetFileName() + "." + GetFileExtension());
  FCells = std::make_unique<TMemoryStream>();
  CreateSheetLists();
  WriteRecord(0x0000, 2, FOutput, true, {0x1001});
  GetPaletteIndex(TColor(0xFFFFFF));
  const Integer F = AddFont(GetDefaultFont());
  TBrush Background;
  Background.SetColor(GetBackgroundColor());
  Background.SetStyle(bsSolid);
  AddCellAttrib(F + 1, 0, false, &Background, 2);
}

void TgtQuattroProEngine::EncodeTextItem(TgtTextItem* Item) {
  TgtCustomSpreadSheetEngine::EncodeTextItem(Item);
  auto* Fm = dynamic_cast<TgtFmTextItem*>(Item);
  if (!Fm || !FCells) return;
  WideString Replaced;
  ReplaceVariables(Item->Lines.Get(0), true, Replaced);
  if (Replaced.empty()) return;
  const AnsiString Text = WideToAnsi(Replaced);
  const auto* Sheet = dynamic_cast<TgtSheetTextItem*>(Item);
  const Byte Kind = Sheet ? Sheet->FormatKind : DetectCellFormat(Text);
  const Byte Alignment = Sheet ? Sheet->HorzAlignment : 0;
  const Integer FontNo = AddFont(&Item->Font) + 1;
  Integer Code = 0;
  switch (Kind) {
    case fkText: Code = 2; break;
    case fkCurrency: Code = 48; break;
    case fkTime: Code = 12; break;
    case fkDate: Code = 8; break;
    case fkDateTime: Code = 5; break;
    default: Code = 0; break;
  }
  const Integer Style = AddCellAttrib(FontNo, Alignment, false, &Item->Brush, Code);
  const Word Attr = Word((Style + 1) * 8);
  const Byte Column = Byte(std::clamp<Integer>(Fm->Column, 0, gtQuattroMaxColumns - 1));
  const Word Row = Word(std::clamp<Integer>(Fm->Row + FRowOffset, 0, 0xFFFF));
  if (Kind == fkInteger || Kind == fkDecimal) {
    double Value;
    if (TryStrToFloat(CleanNumberText(Trim(Text)), Value)) {
      WriteRecord(0x000E, 14, FCells.get());
      FCells->WriteU8(Column);
      FCells->WriteU8(0);
      FCells->WriteU16(Row);
      FCells->WriteU16(Attr);
      FCells->WriteDouble(Value);
      return;
    }
  }
  const std::size_t N = std::min<std::size_t>(Text.size(), gtQuattroMaxLabel);
  WriteRecord(0x000F, Word(N + 8), FCells.get());
  FCells->WriteU8(Column);
  FCells->WriteU8(0);
  FCells->WriteU16(Row);
  FCells->WriteU16(Attr);
  FCells->WriteU8(0);
  FCells->WriteBuffer(Text.data(), Integer(N));
  FCells->WriteU8(0);
}

void TgtQuattroProEngine::FinishDocument() {
  TStream* S = FOutput;
  for (auto& F : FFonts) {
    GetPaletteIndex(F->GetColor());
    WriteRecord(0x00CF, 36, S);
    S->WriteU16(Word(std::clamp<Integer>(std::abs(F->GetSize()), 0, 0xFFFF)));
    const TFontStyles St = F->GetStyle();
    S->WriteU16(Word((St.Contains(fsBold) ? 1 : 0) | (St.Contains(fsItalic) ? 2 : 0) |
                     (St.Contains(fsUnderline) ? 4 : 0) | (St.Contains(fsStrikeOut) ? 0x20 : 0)));
    char Name[32] = {};
    std::memcpy(Name, F->GetName().data(), std::min<std::size_t>(F->GetName().size(), 32));
    S->WriteBuffer(Name, 32);
  }
  std::vector<TColor> Colors = PaletteColors();
  WriteRecord(0x00E8, 64, S);
  for (Integer I = 0; I < gtQuattroPaletteSize; ++I) {
    const COLORREF C = I < Integer(Colors.size()) ? ColorToRGB(Colors[std::size_t(I)]) : 0;
    S->WriteU8(Byte(C & 0xFF));
    S->WriteU8(Byte((C >> 8) & 0xFF));
    S->WriteU8(Byte((C >> 16) & 0xFF));
    S->WriteU8(0);
  }
  const Integer White = GetPaletteIndex(TColor(0xFFFFFF));
  for (auto& A : FCellAttribs) {
    WriteRecord(0x00CE, 12, S);
    S->WriteU8(Byte(A->FormatIndex));
    S->WriteU8(A->Alignment == 1 ? 3 : A->Alignment == 2 ? 2 : 1);
    Integer Word_ = 0x100 + 16 * White + GetPaletteIndex(A->Brush.GetColor());
    const Integer FontPos = A->FontIndex - 1;
    if (FontPos >= 0 && FontPos < Integer(FFonts.size()))
      Word_ += 4096 * GetPaletteIndex(FFonts[std::size_t(FontPos)]->GetColor());
    S->WriteU16(Word(Word_));
    S->WriteU8(Byte(A->FontIndex));
    S->WriteU8(0);
    S->WriteU8(0xFF);
    for (int I = 0; I < 5; ++I) S->WriteU8(0);
  }
  WriteRecordBytes(0x00CA, 1, S, true, {0});
  FCells->SetPosition(0);
  if (FCells->GetSize() > 0) S->CopyFrom(FCells.get(), FCells->GetSize());
  WriteRecordBytes(0x00CB, 1, S, true, {0});
  WriteRecord(0x0001, 0, S);
  CloseDocumentOutput();
  FOutput = nullptr;
  FCells.reset();
  FreeSheetLists();
  TgtCustomSpreadSheetEngine::FinishDocument();
}
