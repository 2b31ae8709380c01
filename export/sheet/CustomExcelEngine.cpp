#include "export/sheet/CustomExcelEngine.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include "export/engine/EngineBasics.h"
#include "export/sheet/ExcelOleStream.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Format.h"

namespace {
constexpr Word BOF = 0x0809, EOF_ = 0x000A, NUMBER = 0x0203, LABEL = 0x0204, FONT = 0x0031, XF = 0x00E0;

WideString TrimW(const WideString& S) {
  std::size_t B = 0, E = S.size();
  while (B < E && S[B] <= u' ') ++B;
  while (E > B && S[E - 1] <= u' ') --E;
  return S.substr(B, E - B);
}

void WriteBytes(TStream* S, std::initializer_list<Byte> Bytes) {
  for (Byte B : Bytes) S->WriteU8(B);
}

bool SameTextA(const AnsiString& A, const AnsiString& B) { return UpperCase(A) == UpperCase(B); }
}  // namespace

TgtCustomExcelEngine::TgtCustomExcelEngine(TComponent* AOwner)
    : TgtCustomSpreadSheetEngine(AOwner), FCellBorder(std::make_unique<TgtCellBorder>()) {
  RecreatePreferences();
  SetFileExtension("xls");
  SetFileDescription("Microsoft Excel Workbook");
  SetItemsToRender((1 << irText) | (1 << irImage));
  GetImageSettings()->SetOutputImageFormat(ifMetafile);
}

TgtCustomExcelEngine::~TgtCustomExcelEngine() = default;

std::unique_ptr<TgtPreferences> TgtCustomExcelEngine::GetPreferencesClass() {
  return std::make_unique<TgtExcelPreferences>();
}

Byte TgtCustomExcelEngine::ExcelFillPattern(TBrushStyle Style) {
  switch (Style) {
    case bsSolid: return 1;
    case bsClear: return 0;
    case bsHorizontal: return 11;
    case bsVertical: return 12;
    case bsFDiagonal: return 7;
    case bsBDiagonal: return 8;
    case bsCross: return 15;
    case bsDiagCross: return 9;
    default: return 0;
  }
}

Integer TgtCustomExcelEngine::GetPaletteIndex(TColor Color) { return PaletteIndexWithin(Color, gtExcelPaletteSize); }

std::vector<AnsiString> TgtCustomExcelEngine::SheetNames() const {
  std::vector<AnsiString> Out;
  for (auto& S : FSheets) Out.push_back(S.Name);
  return Out;
}

// ---- document ------------------------------------------------------------------------------

void TgtCustomExcelEngine::StartDocument() {
  TgtCustomSpreadSheetEngine::StartDocument();
  FSheetScratch.reset();
  FOutput = OpenDocumentOutput(GetFileName() + ".xls");
  if (GetPreferences()->GetOutputToUserStream()) {
    FSheetScratch = std::make_unique<TMemoryStream>();
    FOutput = FSheetScratch.get();
  }
  FCells = std::make_unique<TMemoryStream>();
  FSheets.clear();
  FSheetCount = 0;
  FSheetHasCells = false;
  CreateSheetLists();
}

void TgtCustomExcelEngine::EndPage() {
  TgtCustomSpreadSheetEngine::EndPage();
  const Integer Per = GetPreferences()->GetPagesPerWorksheet();
  if (Per > 0 && GetPageNo() % Per == 0) WriteWorksheet(++FSheetCount);
}

void TgtCustomExcelEngine::FinishDocument() {
  const Integer Per = GetPreferences()->GetPagesPerWorksheet();
  // A workbook needs one sheet even when no page was rendered.
  if (Per == 0 || GetPageCount() % Per != 0 || FSheetCount == 0) WriteWorksheet(++FSheetCount);
  FCells->Clear();
  WriteWorkbookGlobals(FCells.get());
  FOutput->SetPosition(0);
  FCells->SetPosition(FCells->GetSize());
  FCells->CopyFrom(FOutput, FOutput->GetSize());
  TgtExcelOLEStream Ole;
  Ole.SetWorkbook(FCells.get());
  Ole.WriteCompoundFile();
  if (FSheetScratch) {
    FSheetScratch.reset();
    FOutput = GetUserStream();
  } else {
    FOutput->SetSize(0);
    FOutput->SetPosition(0);
  }
  Ole.GetOutput()->SetPosition(0);
  FOutput->CopyFrom(Ole.GetOutput(), Ole.GetOutput()->GetSize());
  CloseDocumentOutput();
  FOutput = nullptr;
  FCells.reset();
  FreeSheetLists();
  TgtCustomSpreadSheetEngine::FinishDocument();
}

// ---- cells ------------------------------------------------------------------------------------

void TgtCustomExcelEngine::EncodeTextItem(TgtTextItem* Item) {
  TgtCustomSpreadSheetEngine::EncodeTextItem(Item);
  auto* Fm = dynamic_cast<TgtFmTextItem*>(Item);
  if (!Fm || !FCells) return;
  WideString Replaced;
  ReplaceVariables(Item->Lines.Get(0), true, Replaced);
  AnsiString Text = WideToAnsi(TrimW(Replaced));
  if (Text.empty()) return;
  {
    AnsiString Digits;
    for (char C : Text)
      if (C != ',' && C != '-' && C != '.') Digits += C;
    const bool AllDigits =
        !Digits.empty() && std::all_of(Digits.begin(), Digits.end(), [](char C) { return C >= '0' && C <= '9'; });
    if (AllDigits && Text.back() == '-') {
      Text.pop_back();
      Text.insert(0, 1, '-');
    }
  }
  bool WordWrap = GetPreferences()->GetWordWrap();
  Byte Kind, Alignment;
  if (auto* Sheet = dynamic_cast<TgtSheetTextItem*>(Item)) {
    Kind = Sheet->FormatKind;
    Alignment = Sheet->HorzAlignment;
    WordWrap = Sheet->WordWrap;
  } else {
    Kind = DetectCellFormat(Text);
    Alignment = 4;
  }
  static const Word FormatOfKind[7] = {0, 1, 2, 5, 19, 15, 22};
  const Word Format = Kind < 7 ? FormatOfKind[Kind] : 0;
  const Integer FontIndex = AddFont(&Item->Font) + 5;
  const Integer XFIndex = AddCellAttrib(FontIndex, Alignment, WordWrap, &Item->Brush, Format) + 16;

  Integer Row = Fm->Row + FRowOffset;
  // Rows past the sheet's end continue on a new worksheet; a single page
  // taller than a sheet keeps its last rows on the sheet's last row.
  if (Row >= gtExcelMaxRows && FRowOffset > 0 && FSheetHasCells) {
    const Integer Shift = FRowOffset;
    WriteWorksheet(++FSheetCount);
    FRowOffset = 0;
    Row -= Shift;
  }
  Row = std::clamp<Integer>(Row, 0, gtExcelMaxRows - 1);
  const Integer Column = std::clamp<Integer>(Fm->Column, 0, gtExcelMaxColumns - 1);

  if (Kind >= fkInteger && Kind <= fkCurrency) {
    AnsiString N = Text;
    if (N.size() >= 2 && N.front() == '(' && N.back() == ')') {
      N.pop_back();
      N[0] = '-';
    }
    double Value;
    // A text that only looked numeric stays a label rather than ending the export.
    if (TryStrToFloat(CleanNumberText(N), Value)) {
      WriteRecord(NUMBER, 14, FCells.get());
      FCells->WriteU16(Word(Row));
      FCells->WriteU16(Word(Column));
      FCells->WriteU16(Word(XFIndex));
      FCells->WriteDouble(Value);
      FSheetHasCells = true;
      return;
    }
  }
  const std::size_t Len = std::min<std::size_t>(Text.size(), 255);
  WriteRecord(LABEL, Word(Len + 8), FCells.get());
  FCells->WriteU16(Word(Row));
  FCells->WriteU16(Word(Column));
  FCells->WriteU16(Word(XFIndex));
  FCells->WriteU16(Word(Len));
  FCells->WriteBuffer(Text.data(), Integer(Len));
  FSheetHasCells = true;
}

// ---- worksheets -------------------------------------------------------------------------------

AnsiString TgtCustomExcelEngine::ValidSheetName(AnsiString Name, Integer SheetNo) const {
  const AnsiString Fallback = "Sheet" + IntToStr(SheetNo);
  AnsiString Clean;
  for (char C : Name)
    if (Byte(C) >= 0x20 && !std::strchr("[]:*?/\\", C)) Clean += C;
  while (!Clean.empty() && (Clean.front() == '\'' || Clean.front() == ' ')) Clean.erase(0, 1);
  while (!Clean.empty() && (Clean.back() == '\'' || Clean.back() == ' ')) Clean.pop_back();
  if (Clean.size() > 31) Clean.resize(31);
  auto Taken = [&](const AnsiString& N) {
    return std::any_of(FSheets.begin(), FSheets.end(), [&](const TSheetItem& S) { return SameTextA(S.Name, N); });
  };
  if (Clean.empty() || Taken(Clean)) Clean = Fallback;
  // A handler may have used "SheetN" for an earlier sheet.
  for (Integer K = 2; Taken(Clean); ++K) Clean = Fallback + " (" + IntToStr(K) + ")";
  return Clean;
}

void TgtCustomExcelEngine::WriteWorksheet(Integer SheetNo) {
  TStream* S = FOutput;
  WriteRecord(BOF, 8, S, true, {0x0500, 0x0010, 0x126B, 0x07CC});
  for (const TColumnWidth& C : FColumnWidths) {
    const Word Col = Word(std::clamp<Integer>(C.Column, 0, gtExcelMaxColumns - 1));
    WriteRecord(0x007D, 11, S, true,
                {Col, Col, Word(std::clamp<Integer>(RoundInt(C.Width * 256), 0, 0xFFFF)), 15, 0});
    S->WriteU8(0);
  }
  WriteRecord(0x0200, 10, S, true, {0, 1, 0, 1, 0});
  if (SheetNo == 1) WriteBytes(S, {0x3E, 0x02, 0x0A, 0x00, 0xB6, 0x02, 0, 0, 0, 0, 0, 0, 0, 0});
  if (GetPreferences()->GetPageMargins()) {
    const TgtPageSettings* P = GetPage();
    const double Ppi = gtScreenPPI();
    const double Margins[4] = {UnitToPixelsX(P->GetLeftMargin()) / Ppi, UnitToPixelsX(P->GetRightMargin()) / Ppi,
                               UnitToPixelsY(P->GetTopMargin()) / Ppi, UnitToPixelsY(P->GetBottomMargin()) / Ppi};
    for (int I = 0; I < 4; ++I) {
      WriteRecord(Word(0x0026 + I), 8, S);
      S->WriteDouble(Margins[I]);
    }
  }
  if (GetPreferences()->GetPrintGridLines()) WriteRecord(0x002B, 4, S, true, {1, 0});
  WriteSheetObjects();
  FCells->SetPosition(0);
  if (FCells->GetSize() > 0) S->CopyFrom(FCells.get(), FCells->GetSize());
  FCells->Clear();
  FSheetHasCells = false;
  WriteRecord(EOF_, 0, S);

  AnsiString Name = "Sheet" + IntToStr(SheetNo);
  if (OnNeedSheetName) OnNeedSheetName(this, Name, SheetNo);
  FSheets.push_back({ValidSheetName(Name, SheetNo), S->GetSize()});
  FRowOffset = 0;
  FHighestRow = 0;
  OnWorksheetWritten();
}

// ---- workbook globals --------------------------------------------------------------------------

void TgtCustomExcelEngine::WriteFont(TStream* S, TFont* Font) {
  const AnsiString Name = Font->GetName().substr(0, 255);
  const TFontStyles St = Font->GetStyle();
  WriteRecord(FONT, Word(Name.size() + 15), S);
  S->WriteU16(Word(std::clamp<Integer>(std::abs(Font->GetSize()) * 20, 0, 0x7FFF)));
  // Bit 0 repeats the bold weight; readers take boldness from either.
  S->WriteU16(Word((St.Contains(fsBold) ? 1 : 0) | (St.Contains(fsItalic) ? 2 : 0) |
                   (St.Contains(fsStrikeOut) ? 8 : 0)));
  S->WriteU16(Word(GetPaletteIndex(Font->GetColor()) + 8));
  S->WriteU16(St.Contains(fsBold) ? 700 : 400);
  S->WriteU16(0);
  S->WriteU8(St.Contains(fsUnderline) ? 1 : 0);
  S->WriteU8(0);
  S->WriteU8(Byte(Font->GetCharset()));
  S->WriteU8(0);
  S->WriteU8(Byte(Name.size()));
  S->WriteBuffer(Name.data(), Integer(Name.size()));
}

void TgtCustomExcelEngine::WriteCellXF(TStream* S, Integer FontIndex, Integer FormatIndex, Byte Alignment,
                                       TBrush* Brush, bool WordWrap) {
  WriteRecord(XF, 16, S);
  S->WriteU16(Word(FontIndex));
  S->WriteU16(Word(FormatIndex));
  S->WriteU16(0x0001);
  Byte Align = Alignment == 1 ? 3 : Alignment == 2 ? 2 : Alignment == 4 ? 0 : 1;
  if (WordWrap) Align |= 8;
  S->WriteU8(Align);
  S->WriteU8(0);
  Byte B[8] = {0xC0, 0x20, 0, 0, 0, 0, 0, 0};
  if (Brush) {
    const Integer W = GetPaletteIndex(TColor(0xFFFFFF)), C = GetPaletteIndex(Brush->GetColor());
    B[0] = Byte(((W + 8) * 128 + (C + 8)) & 0xFF);
    B[2] = Byte(ExcelFillPattern(Brush->GetStyle()) & 0x3F);
  }
  if (FCellBorder->GetEnabled()) {
    const DWORD St = DWORD(FCellBorder->GetStyle()) & 7;
    const DWORD C = DWORD(GetPaletteIndex(FCellBorder->GetColor()) + 8) & 0x7F;
    B[2] = Byte(B[2] | ((St & 3) << 6));
    B[3] = Byte(((St >> 2) & 1) | (C << 1));
    const DWORD Lines = St | (St << 3) | (St << 6) | (C << 9) | (C << 16) | (C << 23);
    for (int I = 0; I < 4; ++I) B[4 + I] = Byte(Lines >> (8 * I));
  }
  S->WriteBuffer(B, 8);
}

void TgtCustomExcelEngine::WriteWorkbookGlobals(TStream* S) {
  const Int64 Start = S->GetSize();
  WriteRecord(BOF, 8, S, true, {0x0500, 0x0005, 0x126B, 0x07CC});
  WriteRecord(0x0042, 2, S, true, {Word(GetACP())});
  WriteBytes(S, {0x3D, 0x00, 0x12, 0x00, 0x00, 0x00, 0x69, 0x00, 0x9F, 0x33, 0x5D,
                 0x1B, 0x38, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x58, 0x02});
  TFont* Default = GetDefaultFont();
  GetPaletteIndex(Default->GetColor());
  for (int I = 0; I < 4; ++I) WriteFont(S, Default);
  for (auto& F : FFonts) WriteFont(S, F.get());
  for (int I = 0; I < 15; ++I) {
    WriteRecord(XF, 16, S);
    WriteBytes(S, {0x00, 0x00, 0x00, 0x00, 0xF5, 0xFF, 0x20, 0xF4, 0xC0, 0, 0, 0, 0, 0, 0, 0});
  }
  {
    TBrush Background;
    Background.SetColor(GetBackgroundColor());
    Background.SetStyle(bsSolid);
    const bool Plain = ColorToRGB(GetBackgroundColor()) == ColorToRGB(clWindow);
    WriteCellXF(S, 0, 0, 4, Plain ? nullptr : &Background, GetPreferences()->GetWordWrap());
  }
  for (auto& A : FCellAttribs) WriteCellXF(S, A->FontIndex, A->FormatIndex, A->Alignment, &A->Brush, A->WordWrap);
  WriteBytes(S, {0x93, 0x02, 0x04, 0x00, 0x00, 0x80, 0x00, 0xFF});
  // The colours the cells use; indexes past them keep the built-in ones.
  std::vector<TColor> Colors = PaletteColors();
  if (Colors.size() > std::size_t(gtExcelPaletteSize)) Colors.resize(gtExcelPaletteSize);
  WriteRecord(0x0092, Word(Colors.size() * 4 + 2), S);
  S->WriteU16(Word(Colors.size()));
  for (TColor C : Colors) {
    const COLORREF Rgb = ColorToRGB(C);
    WriteBytes(S, {Byte(Rgb & 0xFF), Byte((Rgb >> 8) & 0xFF), Byte((Rgb >> 16) & 0xFF), 0});
  }
  Int64 Directory = 4;   // the EOF
  for (auto& Sheet : FSheets) Directory += 11 + Int64(Sheet.Name.size());
  const Int64 GlobalsSize = S->GetSize() - Start + Directory;
  Int64 PrevEnd = 0;
  for (auto& Sheet : FSheets) {
    WriteRecord(0x0085, Word(Sheet.Name.size() + 7), S);
    S->WriteU32(DWORD(GlobalsSize + PrevEnd));
    S->WriteU8(0);
    S->WriteU8(0);
    S->WriteU8(Byte(Sheet.Name.size()));
    S->WriteBuffer(Sheet.Name.data(), Integer(Sheet.Name.size()));
    PrevEnd = Sheet.EndPosition;
  }
  WriteRecord(EOF_, 0, S);
}
