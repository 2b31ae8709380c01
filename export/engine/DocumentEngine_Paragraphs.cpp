// DocumentEngine_Paragraphs.cpp — flowing text: word wrap, text boxes, paragraphs that
// flow onto following pages, tables split over pages, and the base encoders
// that turn them into text, line and rectangle calls.
#include <algorithm>
#include <cmath>
#include "export/engine/DocumentEngine.h"

namespace {
bool IsBreak(char16_t C) { return C == u'\r' || C == u'\n'; }
bool IsSeparator(char16_t C) { return C == u' ' || C == 0 || IsBreak(C); }
WideString WithoutBreaks(WideString S) {
  while (!S.empty() && IsBreak(S.back())) S.pop_back();
  return S;
}
}  // namespace

void TgtCustomDocumentEngine::ResetFlowState() noexcept {
  FParagraph.reset();
  FOverflow.clear();
  FTable.reset();
  FTableRecords.clear();
  FCurrentTable = -1;
}

// ---- word wrap -----------------------------------------------------------------------------

double TgtCustomDocumentEngine::WrapText(const WideString& Text, TWideStrings& Lines, TFont* Font,
                                         bool SingleLine, double FirstWidth, double Width) {
  auto TextWidth = [&](const WideString& S) { return S.empty() ? 0.0 : double(GetTextSize(S, Font).cx); };
  if (SingleLine) {
    Lines.Clear();
    Lines.Add(Text);
    return RoundInt(TextWidth(Text) + TextWidth(u" ") + 2.0 * FPen->GetWidth());
  }
  if (Width <= 0) return RoundInt(Width);
  double Left = Lines.Count() <= 1 ? FirstWidth : Width;
  if (Lines.Count() > 0) Left -= TextWidth(WithoutBreaks(Lines.Get(Lines.Count() - 1)));
  else Lines.Add(u"");
  auto Last = [&] { return Lines.Count() - 1; };
  auto Append = [&](const WideString& S) { Lines.Put(Last(), Lines.Get(Last()) + S); };

  const Integer N = Integer(Text.size());
  Integer Prev = -1;   // end of the previous word (exclusive start of the next)
  for (Integer I = 0; I < N; ++I) {
    const char16_t C = Text[std::size_t(I)];
    const bool WordEnd = (IsSeparator(C) && I > 0 && !IsSeparator(Text[std::size_t(I - 1)])) || I == N - 1;
    if (WordEnd) {
      WideString Word;
      for (Integer K = Prev + 1; K <= I; ++K)
        if (!IsBreak(Text[std::size_t(K)])) Word += Text[std::size_t(K)];
      Prev = I;
      const double W = TextWidth(Word);
      if (W > 0) {
        if (W <= Left) {
          Append(Word);
          Left -= W;
        } else if (W <= Width) {
          Lines.Add(Word);
          Left = Width - W;
        } else {
          // Wider than a whole line: cut into lines of the longest prefix
          // that fits (at least one character, so the cut always advances).
          if (!Lines.Get(Last()).empty()) Lines.Add(u"");
          WideString Rest = Word;
          while (Rest.size() > 1 && TextWidth(Rest) > Width) {
            std::size_t Fit = 1;
            while (Fit < Rest.size() && TextWidth(Rest.substr(0, Fit + 1)) <= Width) ++Fit;
            Lines.Put(Last(), Rest.substr(0, Fit));
            Lines.Add(u"");
            Rest.erase(0, Fit);
          }
          Lines.Put(Last(), Rest);
          Left = Width - TextWidth(Rest);
        }
      }
    }
    // A line break ends the line; a CR LF pair counts once.
    if (IsBreak(C) && !(C == u'\n' && I > 0 && Text[std::size_t(I - 1)] == u'\r')) {
      Append(u"\r\n");
      Lines.Add(u"");
      Left = Width;
      Prev = I;
    } else if (C == u'\n') {
      Prev = I;
    }
  }
  if (Lines.Count() > 0 && Lines.Get(Last()).empty()) Lines.Delete(Last());
  return RoundInt(Width);
}

// ---- text boxes ------------------------------------------------------------------------------

void TgtCustomDocumentEngine::TextBox(const TgtDoubleRect& Rect, const WideString& Text, Byte HorzAlignment,
                                      Byte VertAlignment) {
  if (!CanText()) return;
  const TgtDoubleRect R = RectToPixels(Rect);
  const double L = R.Left + FBandArea.Left, T = R.Top + FBandArea.Top;
  if (!IsInsideArea(T, L)) return;
  const double Right = std::min(R.Right + FBandArea.Left, FBandArea.Right);
  const double Bottom = std::min(R.Bottom + FBandArea.Top, FBandArea.Bottom);
  auto Item = std::make_shared<TgtTextBoxItem>();
  Item->X = L;
  Item->Y = T;
  Item->Font.Assign(FFont.get());
  Item->Brush.Assign(FBrush.get());
  Item->Pen.Assign(FPen.get());
  Item->Frame.Assign(FFrame.get());
  // The item's frame is not linked to the engine: it keeps pixels.
  Item->Frame.Margins = FFrame->GetMargins();
  Item->TextEffects.Assign(FTextEffects.get());
  Item->BoxWidth = Right - L;
  Item->BoxHeight = Bottom - T;
  Item->HorzAlignment = HorzAlignment;
  Item->VertAlignment = VertAlignment;
  WideString Replaced;
  ReplaceVariables(Text, false, Replaced);
  const TgtDoubleRect M = Item->Frame.Margins;
  const double Avail = Item->BoxWidth - M.Left - M.Right;
  WrapText(Replaced, Item->Lines, &Item->Font, false, Avail, Avail);
  AddItem(Item);
}

void TgtCustomDocumentEngine::EncodeTextLines(TgtTextItem* Item, Byte HorzAlignment, const TgtDoubleRect& M,
                                              double Height, double Width, Byte VertAlignment) {
  const double X = Item->X, Y = Item->Y;
  const double L = GetTextExtent(u"W", &Item->Font).cy;
  const double Usable = Height - M.Top - M.Bottom;
  const Integer Count = L > 0 ? std::min<Integer>(RoundInt(Usable / L), Item->Lines.Count()) : 0;
  double LineY = Y + M.Top;
  if (VertAlignment == 1) LineY = Y + (Usable - Count * L) / 2;
  else if (VertAlignment == 2) LineY = Y + Usable - Count * L;
  TgtTextItem Temp;
  Temp.Font.Assign(&Item->Font);
  Temp.Brush.Assign(&Item->Brush);
  Temp.TextEffects.Assign(&Item->TextEffects);
  Temp.Angle = Item->Angle;
  Temp.Alignment = Item->Alignment;
  const double Avail = Width - M.Left - M.Right;
  for (Integer I = 0; I < Count; ++I) {
    WideString Line = Item->Lines.Get(I);
    while (!Line.empty() && Line.back() <= u' ') Line.pop_back();
    while (!Line.empty() && Line.front() <= u' ') Line.erase(0, 1);
    double LX = X + M.Left;
    const double W = GetTextExtent(Line, &Temp.Font).cx;
    if (HorzAlignment == haRight) LX += Avail - W;
    else if (HorzAlignment == haCenter) LX += (Avail - W) / 2;
    else if (HorzAlignment == haJustify && I + 1 < Item->Lines.Count()) Line = JustifyLine(Line, &Temp.Font, Avail);
    Temp.X = LX;
    Temp.Y = LineY;
    Temp.Lines.Clear();
    Temp.Lines.Add(Line);
    EncodeTextItem(&Temp);
    LineY += GetTextExtent(Line, &Temp.Font).cy;
  }
}

// ---- paragraphs ------------------------------------------------------------------------------

void TgtCustomDocumentEngine::SetTextFormatting(TgtTextFormatting* Value) {
  if (!Value) return;
  const double Left = Value->GetLeftIndent(), Right = Value->GetRightIndent(), First = Value->GetFirstIndent();
  FTextFormatting->Assign(Value);
  FTextFormatting->SetUnitFactor(FUnitFactor);
  FTextFormatting->SetLeftIndent(Left);
  FTextFormatting->SetRightIndent(Right);
  FTextFormatting->SetFirstIndent(First);
}

void TgtCustomDocumentEngine::SetTableSettings(TgtTableSettings* Value) {
  if (!Value) return;
  TgtTableSettings& S = *FTableSettings;
  S.ColumnWidth = Value->ColumnWidth * FUnitFactor;
  S.SetRowHeightPx(Value->GetRowHeight() * FUnitFactor);
  S.SetTitleRowHeightPx(Value->GetTitleRowHeight() * FUnitFactor);
  S.CellMargins = ScaleDoubleRect(Value->CellMargins, FUnitFactor);
  S.AutoSizeColumns = Value->AutoSizeColumns;
  S.TitleRow = Value->TitleRow;
}

std::shared_ptr<TgtParagraphItem> TgtCustomDocumentEngine::NewParagraphAt(double X, double Y) const {
  auto P = std::make_shared<TgtParagraphItem>();
  const TgtTextFormatting& F = FParagraph ? FParagraph->Formatting : *FTextFormatting;
  P->Formatting.Assign(const_cast<TgtTextFormatting*>(&F));
  if (FParagraph) {
    P->Font.Assign(&FParagraph->Font);
    P->Brush.Assign(&FParagraph->Brush);
    P->TextEffects.Assign(&FParagraph->TextEffects);
  } else {
    P->Font.Assign(FFont.get());
    P->Brush.Assign(FBrush.get());
    P->TextEffects.Assign(FTextEffects.get());
  }
  P->X = X;
  P->Y = Y;
  P->Width = FBandArea.Right - X - P->Formatting.RightIndentPx() - P->Formatting.LeftIndentPx();
  P->Height = FBandArea.Bottom - Y;
  return P;
}

double TgtCustomDocumentEngine::ParagraphLineHeight(TgtParagraphItem* P) const {
  return GetTextExtent(u"W", &P->Font).cy * P->Formatting.LineSpacing;
}

void TgtCustomDocumentEngine::BeginParagraph() {
  if (!FDocOpen || FParagraph) return;
  FParagraphCursor += FTextFormatting->SpaceBefore;
  const double X = FBandArea.Left, Y = FParagraphCursor + FBandArea.Top;
  if (!IsInsideArea(Y, X)) return;
  FOverflow.clear();
  FParagraph = NewParagraphAt(X, Y);
}

void TgtCustomDocumentEngine::WrapIntoParagraph(TgtParagraphItem* P, const WideString& Text) {
  WrapText(Text, P->Lines, &P->Font, false, P->Width - P->Formatting.FirstIndentPx(), P->Width);
}

double TgtCustomDocumentEngine::ParagraphTextOut(const WideString& Text) {
  if (!CanText() || !FParagraph) return 0;
  WideString Replaced;
  ReplaceVariables(Text, false, Replaced);
  TgtParagraphItem* Last = FOverflow.empty() ? FParagraph.get() : FOverflow.back().get();
  WrapIntoParagraph(Last, Replaced);
  const double LH = ParagraphLineHeight(Last);
  double Remaining = Last->Height - LH * Last->Lines.Count();
  while (Remaining < 0 && LH > 0) {
    auto Next = NewParagraphAt(FBandArea.Left, FBandArea.Top);
    // A band area lower than one line would overflow for ever.
    if (Next->Height < LH) break;
    const Integer Move = std::min<Integer>(Integer(std::ceil(-Remaining / LH)), Last->Lines.Count());
    WideString Moved;
    for (Integer I = Last->Lines.Count() - Move; I < Last->Lines.Count(); ++I) Moved += Last->Lines.Get(I);
    for (Integer I = 0; I < Move; ++I) Last->Lines.Delete(Last->Lines.Count() - 1);
    WrapIntoParagraph(Next.get(), Moved);
    FOverflow.push_back(Next);
    Last = Next.get();
    Remaining = Last->Height - LH * Last->Lines.Count();
  }
  return Remaining / FUnitFactor;
}

void TgtCustomDocumentEngine::AddParagraphAsTextItems(TgtParagraphItem* P) {
  const double LH = ParagraphLineHeight(P);
  const TgtTextFormatting& F = P->Formatting;
  for (Integer I = 0; I < P->Lines.Count(); ++I) {
    WideString Line = WithoutBreaks(P->Lines.Get(I));
    double X = P->X + F.LeftIndentPx() + (I == 0 ? F.FirstIndentPx() : 0);
    const double Avail = P->Width - (I == 0 ? F.FirstIndentPx() : 0);
    const double W = GetTextExtent(Line, &P->Font).cx;
    if (F.Alignment == haRight) X += Avail - W;
    else if (F.Alignment == haCenter) X += (Avail - W) / 2;
    else if (F.Alignment == haJustify && I + 1 < P->Lines.Count()) Line = JustifyLine(Line, &P->Font, Avail);
    auto Item = std::make_shared<TgtTextItem>();
    Item->X = X;
    Item->Y = P->Y + I * LH;
    Item->Lines.Add(Line);
    Item->Font.Assign(&P->Font);
    Item->Brush.Assign(&P->Brush);
    Item->TextEffects.Assign(&P->TextEffects);
    AddItem(Item);
  }
}

void TgtCustomDocumentEngine::PlaceParagraphs(bool AsTextItems) {
  if (!FParagraph) return;
  std::shared_ptr<TgtParagraphItem> First = std::move(FParagraph);
  std::vector<std::shared_ptr<TgtParagraphItem>> Overflow = std::move(FOverflow);
  FParagraph.reset();
  FOverflow.clear();
  auto Place = [&](const std::shared_ptr<TgtParagraphItem>& P) {
    P->Height = ParagraphLineHeight(P.get()) * P->Lines.Count();
    FParagraphCursor += P->Height;
    if (AsTextItems) AddParagraphAsTextItems(P.get());
    else AddItem(P);
  };
  Place(First);
  if (!FAutoPaginate) return;
  for (auto& P : Overflow) {
    NewPage();
    if (!FDocOpen) return;   // an abort ended the document
    Place(P);
  }
}

void TgtCustomDocumentEngine::EndParagraph() { PlaceParagraphs(/*AsTextItems=*/false); }

void TgtCustomDocumentEngine::ParagraphToTextItems() { PlaceParagraphs(/*AsTextItems=*/true); }

void TgtCustomDocumentEngine::EncodeParagraphItem(TgtParagraphItem* P) {
  const double LH = ParagraphLineHeight(P);
  const TgtTextFormatting& F = P->Formatting;
  TgtTextItem Temp;
  Temp.Font.Assign(&P->Font);
  Temp.Brush.Assign(&P->Brush);
  Temp.TextEffects.Assign(&P->TextEffects);
  for (Integer I = 0; I < P->Lines.Count(); ++I) {
    WideString Line = WithoutBreaks(P->Lines.Get(I));
    double X = P->X + F.LeftIndentPx() + (I == 0 ? F.FirstIndentPx() : 0);
    const double Avail = P->Width - (I == 0 ? F.FirstIndentPx() : 0);
    const double W = GetTextExtent(Line, &P->Font).cx;
    if (F.Alignment == haRight) X += Avail - W;
    else if (F.Alignment == haCenter) X += (Avail - W) / 2;
    else if (F.Alignment == haJustify && I + 1 < P->Lines.Count()) Line = JustifyLine(Line, &P->Font, Avail);
    Temp.X = X;
    Temp.Y = P->Y + I * LH;
    Temp.Lines.Clear();
    Temp.Lines.Add(Line);
    EncodeTextItem(&Temp);
  }
}

// ---- tables ------------------------------------------------------------------------------------

TgtColumnList* TgtCustomDocumentEngine::BeginTable(Integer ColumnCount, double X, double Y) {
  if (!FDocOpen || FTable || ColumnCount <= 0) return nullptr;
  const double PX = UnitToPixelsX(X) + FBandArea.Left, PY = UnitToPixelsY(Y) + FBandArea.Top;
  if (!IsInsideArea(PY, PX)) return nullptr;
  auto T = std::make_shared<TgtTableItem>(this);
  T->X = PX;
  T->Y = PY;
  T->ColumnCount = ColumnCount;
  T->Settings.Assign(FTableSettings.get());
  T->Font.Assign(FFont.get());
  T->Pen.Assign(FPen.get());
  T->Brush.Assign(FBrush.get());
  T->TextEffects.Assign(FTextEffects.get());
  T->MaxWidth = FBandArea.Right - PX;
  T->MaxHeight = FBandArea.Bottom - PY;
  for (Integer I = 0; I < ColumnCount; ++I) {
    auto C = std::make_unique<TgtColumn>(T.get());
    C->Width = T->Settings.ColumnWidth;
    T->Columns.push_back(std::move(C));
  }
  FTable = T;
  FCurrentTable = Integer(FTableRecords.size());
  return &T->Columns;
}

double TgtCustomDocumentEngine::TableRowLimit() const {
  const TgtPageItem* Page = GetCurrentPageItem();
  const TgtPageSettings& P = Page ? Page->PageSettings : *FPage;
  const double Body =
      P.HeightPx() - P.TopMarginPx() - P.HeaderHeightPx() - P.BottomMarginPx() - P.FooterHeightPx();
  return Body - FTable->Settings.TitleRowHeightPx();
}

double TgtCustomDocumentEngine::StartTableRow(Integer Height) {
  TgtTableItem& T = *FTable;
  // The room below the rows before the one being closed.
  double Room = FBandArea.Bottom - T.Y - (T.Settings.TitleRow ? T.Settings.TitleRowHeightPx() : 0);
  for (std::size_t I = 0; I + 1 < T.RowHeights.size(); ++I) Room -= T.RowHeights[I];
  T.RowHeights.push_back(Height);
  T.Rows.emplace_back();
  ++T.CurrentRow;
  return Room / FUnitFactor;
}

double TgtCustomDocumentEngine::NewRowHeight(double Height) {
  if (!FTable) return -1;
  Integer H = RoundInt(UnitToPixelsY(Height));
  const double Limit = TableRowLimit();
  if (H > Limit) H = Integer(std::floor(Limit));
  return StartTableRow(std::max(H, 0));
}

double TgtCustomDocumentEngine::NewRow() {
  if (!FTable) return -1;
  const double Limit = TableRowLimit();
  if (FTable->Settings.RowHeightPx() > Limit) FTable->Settings.SetRowHeightPx(Limit - 1);
  return StartTableRow(std::max(RoundInt(FTable->Settings.RowHeightPx()), 0));
}

void TgtCustomDocumentEngine::RaiseRowHeight(Integer Row, double Height) {
  Integer& H = FTable->RowHeights[std::size_t(Row)];
  const Integer Want = Integer(std::ceil(Height));
  if (Want > H) H = Want;
}

void TgtCustomDocumentEngine::CellTextOut(Integer Column, const WideString& Text) {
  if (!CanText() || !FTable || FTable->CurrentRow < 0 || Column < 0 || Column >= FTable->ColumnCount) return;
  TgtTableItem& T = *FTable;
  TgtColumn& Col = *T.Columns[std::size_t(Column)];
  const TgtDoubleRect& M = T.Settings.CellMargins;
  WideString Replaced;
  ReplaceVariables(Text, false, Replaced);
  auto Item = std::make_shared<TgtTextItem>();
  Item->X = Column;
  Item->Y = T.CurrentRow;
  Item->Font.Assign(FFont.get());
  Item->Brush.Assign(FBrush.get());
  if (T.Settings.AutoSizeColumns) {
    const double Needed = WrapText(Replaced, Item->Lines, &Item->Font, true, 0, 0) + M.Left + M.Right;
    if (Needed > Col.Width) {
      Col.Width = Needed;
      if (Col.OnWidthChange) Col.OnWidthChange(&Col);
    }
  } else {
    const double W = Col.Width - RoundInt(M.Left) - RoundInt(M.Right);
    WrapText(Replaced, Item->Lines, &Item->Font, false, W, W);
  }
  RaiseRowHeight(T.CurrentRow,
                 Item->Lines.Count() * double(GetTextExtent(u"W", &Item->Font).cy) + M.Top + M.Bottom);
  T.Rows[std::size_t(T.CurrentRow)].push_back(Item);
}

void TgtCustomDocumentEngine::CellImage(Integer Column, TGraphic* Graphic, double Width, double Height) {
  if (!CanImage() || !Graphic || !FTable || FTable->CurrentRow < 0 || Column < 0 ||
      Column >= FTable->ColumnCount)
    return;
  TgtTableItem& T = *FTable;
  TgtColumn& Col = *T.Columns[std::size_t(Column)];
  const TgtDoubleRect& M = T.Settings.CellMargins;
  const Integer Index = AddImageToList(Graphic);
  if (Index < 0) return;
  auto Item = std::make_shared<TgtImageItem>();
  Item->ImageSettings.Assign(FImageSettings.get());
  if (Item->ImageSettings.DrawFrame) {
    Item->Frame.Assign(FFrame.get());
    Item->Frame.Margins = FFrame->GetMargins();
    Item->Pen.Assign(FPen.get());
  }
  Item->Brush.Assign(FBrush.get());
  Item->ImageIndex = Index;
  const double GW = Graphic->GetWidth(), GH = Graphic->GetHeight();
  double W = FImageSettings->ActualSize ? GW : UnitToPixelsX(Width);
  double H = FImageSettings->ActualSize ? GH : UnitToPixelsY(Height);
  if (T.Settings.AutoSizeColumns) {
    if (W + M.Left + M.Right > Col.Width) {
      Col.Width = W + M.Left + M.Right;
      if (Col.OnWidthChange) Col.OnWidthChange(&Col);
    }
  } else if (W > Col.Width) {
    W = Col.Width;
    if (GW > 0) H = W * GH / GW;
  }
  RaiseRowHeight(T.CurrentRow, H + M.Top + M.Bottom);
  Item->X = Column;
  Item->Y = T.CurrentRow;
  Item->Width = W;
  Item->Height = H;
  Item->DisplayRect = {0, 0, W, H};
  Item->ImageSettings.ActualSize = false;
  T.Rows[std::size_t(T.CurrentRow)].push_back(Item);
}

void TgtCustomDocumentEngine::EndTable() {
  if (!FTable) return;
  std::shared_ptr<TgtTableItem> T = std::move(FTable);
  FTable.reset();
  TTableRecord Rec;
  Rec.Item = T;
  Rec.StartPage = FCurrentPage;
  const TgtPageItem* Page = GetCurrentPageItem();
  const TgtPageSettings& P = Page ? Page->PageSettings : *FPage;
  const double BodyTop = P.TopMarginPx() + P.HeaderHeightPx();
  const double BodyBottom = P.HeightPx() - P.BottomMarginPx() - P.FooterHeightPx();
  const double Body = BodyBottom - BodyTop;
  double Y = T->Y + (T->Settings.TitleRow ? T->Settings.TitleRowHeightPx() : 0);
  Integer Count = 0;
  for (Integer& H : T->RowHeights) {
    if (H > Body) H = Integer(std::floor(std::max(Body, 0.0)));
    // A row goes on this page when it ends above the body's bottom; a row
    // that does not fit on an empty page either stays, so the loop ends.
    if (Y + H <= BodyBottom || (Count == 0 && Y <= BodyTop)) {
      ++Count;
      Y += H;
      continue;
    }
    Rec.Counts.push_back(Count);
    AddItem(T);
    if (FAutoPaginate) {
      NewPage();
      if (!FDocOpen) return;   // an abort ended the document
    }
    Count = 1;
    Y = BodyTop + H;
  }
  Rec.Counts.push_back(Count);
  Rec.Counts.push_back(0);
  AddItem(T);
  FTableRecords.push_back(std::move(Rec));
  FCurrentTable = -1;
}

void TgtCustomDocumentEngine::EncodeTableItem(TgtTableItem* Item) {
  auto It = std::find_if(FTableRecords.begin(), FTableRecords.end(),
                         [&](const TTableRecord& R) { return R.Item.get() == Item && !R.Finished; });
  if (It == FTableRecords.end()) return;
  // Keep the table alive while it is drawn, whatever the record does.
  const std::shared_ptr<TgtTableItem> Keep = It->Item;
  TgtTableItem& T = *Keep;
  const std::size_t PageIndex = It->NextPage++;
  if (PageIndex >= It->Counts.size() || It->Counts[PageIndex] == 0) {
    It->Finished = true;
    It->Item.reset();
    return;
  }
  Integer FirstRow = 0;
  for (std::size_t I = 0; I < PageIndex; ++I) FirstRow += It->Counts[I];
  const Integer RowCount = It->Counts[PageIndex];
  if (PageIndex + 1 >= It->Counts.size() || It->Counts[PageIndex + 1] == 0) {
    It->Finished = true;
    It->Item.reset();
  }
  if (PageIndex >= 1) T.Y = FPage->TopMarginPx() + FPage->HeaderHeightPx();

  const TgtDoubleRect& M = T.Settings.CellMargins;
  const double LineH = GetTextExtent(u"W", &T.Font).cy;
  const bool Title = PageIndex == 0 && T.Settings.TitleRow;
  double TitleHeight = T.Settings.TitleRowHeightPx();
  std::vector<TWideStrings> Captions(T.Columns.size());
  if (Title)
    for (std::size_t C = 0; C < T.Columns.size(); ++C) {
      WideString Caption;
      ReplaceVariables(T.Columns[C]->Caption, true, Caption);
      const double W = T.Columns[C]->Width - RoundInt(M.Left) - RoundInt(M.Right);
      WrapText(Caption, Captions[C], &T.Font, false, W, W);
      TitleHeight = std::max(TitleHeight, Captions[C].Count() * LineH + M.Top + M.Bottom);
    }

  double Y = T.Y;
  const Integer LastRow = std::min<Integer>(FirstRow + RowCount, Integer(T.RowHeights.size()));
  for (Integer Row = Title ? -1 : FirstRow; Row < LastRow; Row = Row < 0 ? FirstRow : Row + 1) {
    const double H = Row < 0 ? TitleHeight : T.RowHeights[std::size_t(Row)];
    double X = T.X;
    for (Integer C = 0; C < T.ColumnCount && X - T.X < T.MaxWidth; ++C) {
      TgtColumn& Col = *T.Columns[std::size_t(C)];
      TPen Pen;
      Pen.Assign(&T.Pen);
      TBrush Brush;
      Brush.Assign(&T.Brush);
      TFont Font;
      Font.Assign(&T.Font);
      TgtFrame Frame;
      if (OnCellDraw) OnCellDraw(this, Row, C, &Pen, &Brush, &Font, &Frame);
      TPen Clear;
      Clear.Assign(&Pen);
      Clear.SetStyle(psClear);
      const double R = X + Col.Width, B = Y + H;
      EncodeRectangle(&Clear, &Brush, X, Y, R, B);
      if (Frame.Left) EncodeLine(&Pen, X, Y, X, B);
      if (Frame.Top) EncodeLine(&Pen, X, Y, R, Y);
      if (Frame.Right) EncodeLine(&Pen, R, Y, R, B);
      if (Frame.Bottom) EncodeLine(&Pen, X, B, R, B);
      const bool Room = Col.Width - M.Left - M.Right > 0 && H - M.Top - M.Bottom > 0;
      if (Room && Row < 0) {
        TgtTextItem Caption;
        Caption.Lines.Assign(Captions[std::size_t(C)]);
        Caption.Font.Assign(&Font);
        Caption.Brush.Assign(&Brush);
        Caption.TextEffects.Assign(&T.TextEffects);
        Caption.X = X;
        Caption.Y = Y;
        EncodeTextLines(&Caption, Col.Alignment, M, H, Col.Width, 0);
      } else if (Room) {
        for (const TgtItemRef& Cell : T.Rows[std::size_t(Row)]) {
          if (auto* Text = AsTextItem(Cell.get())) {
            if (RoundInt(Text->X) != C) continue;
            const double SX = Text->X, SY = Text->Y;
            const WideString SavedFirst = Text->Lines.Get(0);
            Text->Font.Assign(&Font);
            Text->Brush.Assign(&Brush);
            WideString First;
            ReplaceVariables(SavedFirst, true, First);
            if (Text->Lines.Count() > 0) Text->Lines.Put(0, First);
            Text->X = X;
            Text->Y = Y;
            EncodeTextLines(Text, Col.Alignment, M, H, Col.Width, 0);
            Text->X = SX;
            Text->Y = SY;
            if (Text->Lines.Count() > 0) Text->Lines.Put(0, SavedFirst);
          } else if (auto* Image = AsImageItem(Cell.get())) {
            if (RoundInt(Image->X) != C) continue;
            const double SX = Image->X, SY = Image->Y, SW = Image->Width, SH = Image->Height;
            Image->Pen.Assign(&Pen);
            Image->Brush.Assign(&Brush);
            Image->X = X + M.Left;
            Image->Y = Y + M.Top;
            Image->Width = std::min(Image->Width, Col.Width - M.Left - M.Right);
            Image->Height = std::min(Image->Height, H - M.Top - M.Bottom);
            EncodeImageItem(Image);
            Image->X = SX;
            Image->Y = SY;
            Image->Width = SW;
            Image->Height = SH;
          }
        }
      }
      X = R;
    }
    Y += H;
  }
}
