#include "export/sheet/LotusEngine.h"
#include <algorithm>
#include "export/engine/EngineBasics.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"

TgtLotusEngine::TgtLotusEngine(TComponent* AOwner) : TgtCustomSpreadSheetEngine(AOwner) {
  SetFileExtension("WK1");
  SetFileDescription("Lotus 1-2-3");
  SetCapabilities(capText);
}

TgtLotusEngine::~TgtLotusEngine() = default;

void TgtLotusEngine::StartDocument() {
  TgtCustomSpreadSheetEngine::StartDocument();
  FOutput = OpenDocumentOutput(GetFileName() + "." + GetFileExtension());
  FCells = std::make_unique<TMemoryStream>();
  WriteRecord(0x0000, 2, FOutput, true, {0x0404});
}

void TgtLotusEngine::EncodeTextItem(TgtTextItem* Item) {
  TgtCustomSpreadSheetEngine::EncodeTextItem(Item);
  auto* Fm = dynamic_cast<TgtFmTextItem*>(Item);
  if (!Fm || !FCells) return;
  WideString Replaced;
  ReplaceVariables(Item->Lines.Get(0), true, Replaced);
  if (Replaced.empty()) return;
  const AnsiString Text = WideToAnsi(Replaced);
  const auto* Sheet = dynamic_cast<TgtSheetTextItem*>(Item);
  const Byte Kind = Sheet ? Sheet->FormatKind : DetectCellFormat(Text);
  Byte Format = 0xF5;
  if (Kind == fkInteger) Format = 0x80;
  else if (Kind == fkDecimal) {
    const auto D = Text.find(FormatSettings().DecimalSeparator);
    // The decimals field holds 0..15.
    if (D != AnsiString::npos) Format = Byte(0x80 + std::min<std::size_t>(Text.size() - D - 1, 15));
    else Format = 0x80;
  } else if (Kind == fkCurrency) Format = 0xA0;
  // Rows below the sheet's last row stay on it rather than wrapping to the top.
  const Word Row = Word(std::clamp<Integer>(Fm->Row + FRowOffset, 0, gtLotusMaxRows - 1));
  const Word Column = Word(std::clamp<Integer>(Fm->Column, 0, gtLotusMaxColumns - 1));
  if (Kind >= fkInteger && Kind <= fkCurrency) {
    double Value;
    if (TryStrToFloat(CleanNumberText(Trim(Text)), Value)) {
      WriteRecord(0x000E, 13, FCells.get());
      FCells->WriteU8(Format);
      FCells->WriteU16(Column);
      FCells->WriteU16(Row);
      FCells->WriteDouble(Value);
      return;
    }
    Format = 0xF5;
  }
  const std::size_t N = std::min<std::size_t>(Text.size(), gtLotusMaxLabel - 1);   // with the prefix
  WriteRecord(0x000F, Word(N + 7), FCells.get());
  FCells->WriteU8(Format);
  FCells->WriteU16(Column);
  FCells->WriteU16(Row);
  FCells->WriteU8('\'');
  FCells->WriteBuffer(Text.data(), Integer(N));
  FCells->WriteU8(0);
}

void TgtLotusEngine::FinishDocument() {
  TgtCustomSpreadSheetEngine::FinishDocument();
  // Margins in pixels; the caller's unit comes back afterwards.
  const TgtUnitType Unit = GetMeasurementUnit();
  SetMeasurementUnit(muPixels);
  const TgtPageSettings* P = GetPage();
  const double Values[5] = {P->GetLeftMargin(), P->GetRightMargin(), P->GetHeight(), P->GetTopMargin(),
                            P->GetBottomMargin()};
  SetMeasurementUnit(Unit);
  WriteRecord(0x0028, 10, FOutput);
  for (double V : Values) FOutput->WriteU16(Word(std::clamp<Integer>(RoundInt(V), 0, 0xFFFF)));
  FCells->SetPosition(0);
  if (FCells->GetSize() > 0) FOutput->CopyFrom(FCells.get(), FCells->GetSize());
  WriteRecord(0x0001, 0, FOutput);
  CloseDocumentOutput();
  FOutput = nullptr;
  FCells.reset();
}
