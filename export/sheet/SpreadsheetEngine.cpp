#include "export/sheet/SpreadsheetEngine.h"
#include <algorithm>
#include <cmath>
#include "export/engine/EngineBasics.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"

const TColor TgtCustomSpreadSheetEngine::DefaultPalette[56] = {
#define C(rgb) TColor(((rgb >> 16) & 0xFF) | ((rgb) & 0xFF00) | (((rgb) & 0xFF) << 16))
    C(0x000000), C(0xFFFFFF), C(0xFF0000), C(0x00FF00), C(0x0000FF), C(0xFFFF00), C(0xFF00FF), C(0x00FFFF),
    C(0x800000), C(0x008000), C(0x000080), C(0x808000), C(0x800080), C(0x008080), C(0xC0C0C0), C(0x808080),
    C(0x9999FF), C(0x993366), C(0xFFFFCC), C(0xCCFFFF), C(0x660066), C(0xFF8080), C(0x0066CC), C(0xCCCCFF),
    C(0x000080), C(0xFF00FF), C(0xFFFF00), C(0x00FFFF), C(0x800080), C(0x800000), C(0x008080), C(0x0000FF),
    C(0x00CCFF), C(0xCCFFFF), C(0xCCFFCC), C(0xFFFF99), C(0x99CCFF), C(0xFF99CC), C(0xCC99FF), C(0xE3E3E3),
    C(0x3366FF), C(0x33CCCC), C(0x99CC00), C(0xFFCC00), C(0xFF9900), C(0xFF6600), C(0x666699), C(0x969696),
    C(0x003366), C(0x339966), C(0x003300), C(0x333300), C(0x993300), C(0x993366), C(0x333399), C(0x333333),
#undef C
};

namespace {
bool IsDigit(char C) { return C >= '0' && C <= '9'; }
WideString TrimW(const WideString& S) {
  std::size_t B = 0, E = S.size();
  while (B < E && S[B] <= u' ') ++B;
  while (E > B && S[E - 1] <= u' ') --E;
  return S.substr(B, E - B);
}
}  // namespace

TgtCustomSpreadSheetEngine::TgtCustomSpreadSheetEngine(TComponent* AOwner)
    : TgtCustomDocumentEngine(AOwner), FFormatting(std::make_unique<TgtSheetFormatting>()) {
  RecreatePreferences();
  SetSplitTextList(true);
  SetItemsToRender(1 << irText);
}

TgtCustomSpreadSheetEngine::~TgtCustomSpreadSheetEngine() = default;

std::unique_ptr<TgtPreferences> TgtCustomSpreadSheetEngine::GetPreferencesClass() {
  return std::make_unique<TgtSpreadSheetPreferences>();
}

// ---- document ---------------------------------------------------------------------------

void TgtCustomSpreadSheetEngine::StartDocument() {
  TgtCustomDocumentEngine::StartDocument();
  TFont Probe;
  Probe.SetName("Arial");
  Probe.SetSize(10);
  const TSize A = GetTextExtent(u"a", &Probe);
  FColumnWidth = A.cx * 8.43 * FFormatting->GetScaleX();
  SetLineTolerance(A.cy * FFormatting->GetScaleY());
  FDefaultRowHeight = std::max<Integer>(1, A.cy);
  FColumnWidths.clear();
  FWrittenTables.clear();
  FRowOffset = 0;
  FHighestRow = -1;
}

void TgtCustomSpreadSheetEngine::BeginPage() { FHighestRow = -1; }

void TgtCustomSpreadSheetEngine::EndPage() {
  Integer PageRows = 0;
  if (TgtPageItem* Page = GetCurrentPageItem())
    PageRows = RoundInt(RoundInt(Page->PageSettings.GetHeight()) / double(FDefaultRowHeight));
  FRowOffset += std::max(PageRows, FHighestRow) + 1;
  FHighestRow = -1;
  TgtCustomDocumentEngine::EndPage();
}

void TgtCustomSpreadSheetEngine::FinishDocument() {
  TgtCustomDocumentEngine::FinishDocument();
  FColumnWidths.clear();
  FWrittenTables.clear();
}

void TgtCustomSpreadSheetEngine::EndParagraph() { ParagraphToTextItems(); }

void TgtCustomSpreadSheetEngine::EncodeTableItem(TgtTableItem* Item) {
  if (!Item) return;
  for (const TWrittenTable& W : FWrittenTables)
    if (W.Item == Item && W.CurrentRow == Item->CurrentRow && W.ColumnCount == Item->ColumnCount) return;
  FWrittenTables.push_back({Item, Item->CurrentRow, Item->ColumnCount});
  const double CW = FColumnWidth > 0 ? FColumnWidth : 1, RH = GetRowHeightPx() > 0 ? GetRowHeightPx() : 1;
  TgtFmTextItem Cell;
  auto Write = [&](double X, double Y, const WideString& Text, TFont* Font, TBrush* Brush) {
    Cell.Column = RoundInt(X / CW);
    Cell.Row = RoundInt(Y / RH);
    Cell.X = X;
    Cell.Y = Y;
    Cell.Font.Assign(Font);
    Cell.Brush.Assign(Brush);
    Cell.Lines.Clear();
    Cell.Lines.Add(Text);
    EncodeTextItem(&Cell);
    // Rows written below the page's own keep the next page clear of them.
    FHighestRow = std::max(FHighestRow, Cell.Row);
  };
  const Integer Columns = std::min<Integer>(Item->ColumnCount, Integer(Item->Columns.size()));
  const Integer LastRow = std::min<Integer>(Item->CurrentRow, Integer(Item->Rows.size()) - 1);
  double YOff = 0;
  for (Integer Row = Item->Settings.TitleRow ? -1 : 0; Row <= LastRow; ++Row) {
    double XOff = 0;
    for (Integer C = 0; C < Columns; ++C) {
      XOff += Item->Columns[std::size_t(C)]->Width;
      const double X = Item->X + XOff, Y = Item->Y + YOff;
      if (Row < 0) {
        Write(X, Y, Item->Columns[std::size_t(C)]->Caption, &Item->Font, &Item->Brush);
        continue;
      }
      for (const TgtItemRef& Ref : Item->Rows[std::size_t(Row)]) {
        if (auto* Text = AsTextItem(Ref.get())) {
          if (RoundInt(Text->X) != C) continue;
          WideString First;
          ReplaceVariables(Text->Lines.Count() > 0 ? Text->Lines.Get(0) : WideString(), true, First);
          Write(X, Y, First, &Text->Font, &Text->Brush);
          break;
        }
        if (auto* Image = AsImageItem(Ref.get())) {
          if (RoundInt(Image->X) != C) continue;
          Image->X = X;
          Image->Y = Y;
          EncodeImageItem(Image);
          break;
        }
      }
    }
    if (Row < 0) YOff += Item->Settings.TitleRowHeightPx();
    else if (std::size_t(Row) < Item->RowHeights.size()) YOff += Item->RowHeights[std::size_t(Row)];
  }
}

void TgtCustomSpreadSheetEngine::SetColumnWidth(Integer Column, double Width) {
  if (IsDocumentOpen()) FColumnWidths.push_back({Column, Width});
}

void TgtCustomSpreadSheetEngine::CellText(Integer Row, Integer Column, const WideString& Text, Byte Alignment,
                                          Byte FormatKind) {
  CellTextWrapped(Row, Column, Text, Alignment, FormatKind, GetPreferences()->GetWordWrap());
}

void TgtCustomSpreadSheetEngine::CellTextWrapped(Integer Row, Integer Column, const WideString& Text,
                                                 Byte Alignment, Byte FormatKind, bool WordWrap) {
  if (!IsDocumentOpen() || !CanText() || !(GetItemsToRender() & (1 << irText))) return;
  auto Item = std::make_shared<TgtSheetTextItem>();
  Item->X = Column * FColumnWidth;
  Item->Y = Row * GetRowHeightPx();
  Item->Row = Row;
  Item->Column = Column;
  Item->Font.Assign(GetFont());
  Item->Brush.Assign(GetBrush());
  Item->HorzAlignment = Alignment;
  Item->FormatKind = FormatKind;
  Item->WordWrap = WordWrap;
  Item->Lines.Add(Text);
  AddItem(Item);
}

// ---- sheet lists ------------------------------------------------------------------------------

void TgtCustomSpreadSheetEngine::CreateSheetLists() {
  FreeSheetLists();
  FSheetListsOpen = true;
}

void TgtCustomSpreadSheetEngine::FreeSheetLists() {
  FFonts.clear();
  FFontKeys.clear();
  FCellAttribs.clear();
  FCellAttribKeys.clear();
  FColors.clear();
  FColorKeys.clear();
  FSheetListsOpen = false;
}

Integer TgtCustomSpreadSheetEngine::GetPaletteIndex(TColor Color) {
  if (!GetPreferences()->GetUseDefaultPalette()) {
    const AnsiString Key = ColorToString(Color);
    auto It = FColorKeys.find(Key);
    if (It != FColorKeys.end()) return It->second;
    FColors.push_back(Color);
    return FColorKeys[Key] = Integer(FColors.size()) - 1;
  }
  if (!FPaletteInitialised) {
    FColorTable.assign(std::begin(DefaultPalette), std::end(DefaultPalette));
    FPaletteInitialised = true;
  }
  const TColor Rgb = TColor(ColorToRGB(Color));
  for (std::size_t I = 0; I < FColorTable.size(); ++I)
    if (FColorTable[I] == Rgb) return Integer(I);
  if (Integer(FColorTable.size()) < ColorTableSize) {
    FColorTable.push_back(Rgb);
    return Integer(FColorTable.size()) - 1;
  }
  // A full table keeps its entries; the colour takes the closest one.
  auto Dist = [](TColor A, TColor B) {
    const int DR = int(A & 0xFF) - int(B & 0xFF), DG = int((A >> 8) & 0xFF) - int((B >> 8) & 0xFF),
              DB = int((A >> 16) & 0xFF) - int((B >> 16) & 0xFF);
    return DR * DR + DG * DG + DB * DB;
  };
  Integer Best = 0;
  for (std::size_t I = 1; I < FColorTable.size(); ++I)
    if (Dist(FColorTable[I], Rgb) < Dist(FColorTable[std::size_t(Best)], Rgb)) Best = Integer(I);
  return Best;
}

Integer TgtCustomSpreadSheetEngine::PaletteIndexWithin(TColor Color, Integer PaletteSize) {
  const Integer Index = TgtCustomSpreadSheetEngine::GetPaletteIndex(Color);
  if (Index < PaletteSize) return Index;
  const std::vector<TColor> Table = PaletteColors();
  const COLORREF Rgb = ColorToRGB(Color);
  auto Dist = [&](TColor C) {
    const int DR = int(C & 0xFF) - int(Rgb & 0xFF), DG = int((C >> 8) & 0xFF) - int((Rgb >> 8) & 0xFF),
              DB = int((C >> 16) & 0xFF) - int((Rgb >> 16) & 0xFF);
    return DR * DR + DG * DG + DB * DB;
  };
  Integer Best = 0;
  for (Integer I = 1; I < PaletteSize && I < Integer(Table.size()); ++I)
    if (Dist(Table[std::size_t(I)]) < Dist(Table[std::size_t(Best)])) Best = I;
  return Best;
}

std::vector<TColor> TgtCustomSpreadSheetEngine::PaletteColors() const {
  if (GetPreferences()->GetUseDefaultPalette()) {
    if (FPaletteInitialised) return FColorTable;
    return std::vector<TColor>(std::begin(DefaultPalette), std::end(DefaultPalette));
  }
  std::vector<TColor> Out;
  for (TColor C : FColors) Out.push_back(TColor(ColorToRGB(C)));
  return Out;
}

Integer TgtCustomSpreadSheetEngine::AddFont(TFont* Font) {
  AnsiString Key = Font->GetName() + " " + IntToStr(Font->GetSize()) + " " + ColorToString(Font->GetColor());
  const TFontStyles S = Font->GetStyle();
  if (S.Contains(fsBold)) Key += " Bold";
  if (S.Contains(fsItalic)) Key += " Italic";
  if (S.Contains(fsUnderline)) Key += " UnderLine";
  if (S.Contains(fsStrikeOut)) Key += " StrikeOut";
  auto It = FFontKeys.find(Key);
  if (It != FFontKeys.end()) return It->second;
  auto Copy = std::make_unique<TFont>();
  Copy->Assign(Font);
  // Window-coloured text would vanish on the sheet's window-coloured cells.
  if (ColorToRGB(Copy->GetColor()) == ColorToRGB(clWindow)) Copy->SetColor(clWindowText);
  GetPaletteIndex(Copy->GetColor());
  FFonts.push_back(std::move(Copy));
  return FFontKeys[Key] = Integer(FFonts.size()) - 1;
}

Integer TgtCustomSpreadSheetEngine::AddCellAttrib(Integer FontIndex, Byte Alignment, bool WordWrap, TBrush* Brush,
                                                  Integer FormatIndex) {
  TBrush Clear;
  Clear.SetStyle(bsClear);
  if (!Brush) Brush = &Clear;
  const AnsiString Key = IntToStr(FontIndex) + IntToStr(Alignment) + IntToStr(FormatIndex) +
                         ColorToString(Brush->GetColor()) + IntToStr(Integer(Brush->GetStyle()) & 127) +
                         (WordWrap ? "-1" : "0");
  auto It = FCellAttribKeys.find(Key);
  if (It != FCellAttribKeys.end()) return It->second;
  auto A = std::make_unique<TgtCellAttrib>();
  A->FontIndex = FontIndex;
  A->FormatIndex = Word(FormatIndex);
  A->Alignment = Alignment;
  A->Brush.Assign(Brush);
  A->WordWrap = WordWrap;
  GetPaletteIndex(Brush->GetColor());
  FCellAttribs.push_back(std::move(A));
  return FCellAttribKeys[Key] = Integer(FCellAttribs.size()) - 1;
}

// ---- number formats --------------------------------------------------------------------------

Byte TgtCustomSpreadSheetEngine::DetectCellFormat(const AnsiString& Source) const {
  if (!GetPreferences()->GetAutoFormatCells()) return fkText;
  const TFormatSettings& F = FormatSettings();
  const char T = F.ThousandSeparator, D = F.DecimalSeparator, S = F.DateSeparator;
  AnsiString Text = Source;
  const auto FirstD = Text.find(D);
  const bool TAfterD = FirstD != AnsiString::npos && Text.find(T, FirstD + 1) != AnsiString::npos;
  auto GroupingValid = [&] {
    const auto LastT = Text.rfind(T);
    if (LastT == AnsiString::npos) return true;
    std::size_t Digits = 0;
    for (std::size_t I = LastT + 1; I < Text.size() && Digits < 4 && IsDigit(Text[I]); ++I) ++Digits;
    return Digits == 3;
  };
  auto RemoveT = [&] { Text.erase(std::remove(Text.begin(), Text.end(), T), Text.end()); };
  if (T == D) {
  } else if (T == S) {
    if (!TAfterD && GroupingValid()) RemoveT();
  } else if (S == D) {
    if (std::count(Text.begin(), Text.end(), S) < 2 && !TAfterD && GroupingValid()) RemoveT();
  } else {
    if (!TAfterD && GroupingValid()) RemoveT();
    if (Text.size() >= 2 && Text.front() == '(' && Text.back() == ')') {
      Text.pop_back();
      Text[0] = '-';
    }
  }
  double V;
  if (!Text.empty() && TryStrToFloat(Text, V)) {
    const char Last = Text.back();
    if (Last == '+' || Last == '-' || Last == 'e' || Last == 'E') return fkText;
    if (Text.find(D) != AnsiString::npos || Text.find_first_of("eE") != AnsiString::npos) return fkDecimal;
    return fkInteger;
  }
  if (!Text.empty() && F.CurrencyString.size() == 1 && Text[0] == F.CurrencyString[0] &&
      TryStrToCurr(Text.substr(1), V))
    return fkCurrency;
  TDateTime Time;
  if (!Text.empty() && TryStrToTime(Text, Time)) return fkTime;
  return fkText;
}

AnsiString TgtCustomSpreadSheetEngine::CleanNumberText(const AnsiString& Source) {
  const AnsiString Text = Trim(Source);
  const char D = FormatSettings().DecimalSeparator;
  AnsiString Out;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    const char C = Text[I];
    const bool Sign = C == '+' || C == '-';
    if (!(Sign || IsDigit(C) || C == 'E' || C == 'e' || C == D)) continue;
    if (I > 0 && (Text[I - 1] == 'E' || Text[I - 1] == 'e') && !Sign) Out += '+';
    Out += C;
  }
  return Out;
}

// ---- records ------------------------------------------------------------------------------------

void TgtCustomSpreadSheetEngine::WriteRecord(Word Id, Word Length, TStream* Stream, bool HasData,
                                             std::initializer_list<Word> Data) {
  Stream->WriteU16(Id);
  Stream->WriteU16(Length);
  if (HasData)
    for (Word W : Data) Stream->WriteU16(W);
}

void TgtCustomSpreadSheetEngine::WriteRecordBytes(Word Id, Word Length, TStream* Stream, bool HasData,
                                                  std::initializer_list<Byte> Data) {
  Stream->WriteU16(Id);
  Stream->WriteU16(Length);
  if (HasData)
    for (Byte B : Data) Stream->WriteU8(B);
}

// ---- grid mapping ------------------------------------------------------------------------------

double TgtCustomSpreadSheetEngine::LineWidth(TgtTextItem* Item, bool Trimmed) const {
  const WideString L = Trimmed ? TrimW(Item->Lines.Get(0)) : Item->Lines.Get(0);
  return GetTextExtent(L, &Item->Font).cx;
}
