// The editor's view: metrics, the mapping between text and pixels, word
// wrap (monospaced grid), the caret, scrolling and painting.
#include <algorithm>
#include <climits>

#include "editor/controls/DCMemo.h"
#include "editor/options/GutterBackground.h"
#include "editor/text/MemoSource.h"
#include "editor/view/GutterImages.h"
#include "editor/view/FontManager.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Guards.h"
#include "platform/win/Modules.h"
#include "platform/win/Win.h"

namespace {
constexpr Integer MaxLine = INT_MAX;
constexpr Integer MaxRun = 512;
constexpr Byte UrlStyle = 12;

Integer Digits(Integer N) {
  Integer D = 1;
  while (N >= 10) {
    N /= 10;
    ++D;
  }
  return D;
}
}  // namespace

// ---------------------------------------------------------------------------
// Properties that move the layout

void TCustomDCMemo::SetMarginPos(Integer Value) {
  if (Value == FMarginPos) return;
  FMarginPos = Value;
  if (FWordWrap && FOptions.Contains(moBreakWordAtMargin)) RecomputeWrap(0, MaxLine);
  Invalidate();
}

void TCustomDCMemo::SetGutterWidth(Integer Value) {
  if (Value == FGutterWidth) return;
  FGutterWidth = Value;
  if (FWordWrap) RecomputeWrap(0, MaxLine);
  UpdateCaret();
  Invalidate();
}

void TCustomDCMemo::SetHideCaret(bool Value) {
  if (Value == FHideCaret) return;
  FHideCaret = Value;
  if (Focused()) CreateTheCaret();
}

void TCustomDCMemo::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomDCMemo::SetHideScrollBars(bool Value) {
  if (Value == FHideScrollBars) return;
  FHideScrollBars = Value;
  // The horizontal range then follows the longest line.
  GetSource()->TrackLongestLine(Value);
  UpdateScrollBars();
}

Integer TCustomDCMemo::ThumbColumn(Integer Pos) { return FHorzInPixels ? Pos / CharWidth() : Pos; }

void TCustomDCMemo::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_TABSTOP;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  Params.WindowClass.style = CS_DBLCLKS;
  if (FBorderStyle == bsSingle) {
    Params.Style &= ~WS_BORDER;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

// ---------------------------------------------------------------------------
// Metrics

void TCustomDCMemo::MeasureFonts() {
  // A memory DC: the screen's would make the whole screen's surface for a
  // few font metrics.
  HDC Dc = CreateCompatibleDC(nullptr);
  auto Measure = [&](TFont* F, bool Width) {
    HGDIOBJ Old = SelectObject(Dc, F->GetHandle());
    TEXTMETRICA Tm{};
    GetTextMetricsA(Dc, &Tm);
    TSize Sz{};
    GetTextExtentPoint32A(Dc, "W", 1, &Sz);
    SelectObject(Dc, Old);
    FLineHeight = std::max<Integer>(FLineHeight, Tm.tmHeight);
    FMaxAscent = std::max<Integer>(FMaxAscent, Tm.tmAscent);
    if (Width) FCharWidth = std::max<Integer>(FCharWidth, std::max<Integer>(Tm.tmAveCharWidth, Sz.cx));
  };
  FLineHeight = FCharWidth = FMaxAscent = 0;
  Measure(FFont.get(), true);
  // The grid holds every style's glyphs: the largest cell wins. Measured
  // rows take their own heights from the fonts they show; the line height
  // is then Font's, the height of an empty row.
  if (FUseMonoFont) {
    for (Integer I = 0; I < FTextStyles->Count(); ++I) Measure(FTextStyles->GetItem(I)->GetFont(), true);
    // Imported text keeps its own fonts: the rows must hold the tallest of
    // them or a large heading loses its top. The cells keep their width,
    // so the common text stays readable.
    if (TAttributeParser* P = AttrParser())
      for (Integer I = 0; I < P->AttrCount(); ++I) Measure(P->GetAttr(I)->GetFont(), false);
  }
  DeleteDC(Dc);
  FLineHeight = std::max<Integer>(FLineHeight, 1);
  FCharWidth = std::max<Integer>(FCharWidth, 1);
}

Integer TCustomDCMemo::CharWidth() {
  if (FCharWidth <= 0) MeasureFonts();
  return FCharWidth;
}

Integer TCustomDCMemo::LineHeight() {
  if (FLineHeight <= 0) MeasureFonts();
  return FLineHeight;
}

Integer TCustomDCMemo::GutterWidthInEffect() {
  if (!FOptions.Contains(moDrawGutter)) return 0;
  if (FOptions.Contains(moLineNumbers) && FOptions.Contains(moLineNumbersOnGutter))
    return std::max(FGutterWidth, LineNumberColumnWidth() + FGutterLineIndent + 2);
  return FGutterWidth;
}

Integer TCustomDCMemo::LineNumberDigits() {
  const Integer Count = GetSource()->GetLineCount();
  if (FOptions.Contains(moLimitLineNumbers)) return Digits(std::max<Integer>(Count, 1));
  // The digits of the last line the view can show, so that the column does
  // not jump while scrolling.
  const Integer Shown = FTopLine + VisibleRows() + 1;
  return Digits(std::max(Count, Shown + 1));
}

Integer TCustomDCMemo::LineNumberColumnWidth() {
  if (!FOptions.Contains(moLineNumbers)) return 0;
  Integer Digits = LineNumberDigits();
  if (OnGetLineNumber.Assigned()) {
    AnsiString S;
    Integer Len = Digits;
    OnGetLineNumber(this, S, Len);
    if (!S.empty()) Digits = Integer(S.size());
  }
  FNumberDigits = Digits;
  return CharWidth() * (Digits + 1);
}

bool TCustomDCMemo::FoldingShown() const { return !FWordWrap && FOptions.Contains(moHideInvisibleLines); }

Integer TCustomDCMemo::TextLeftEdge() {
  Integer X = GutterWidthInEffect();
  if (FOptions.Contains(moLineNumbers) && !(FOptions.Contains(moLineNumbersOnGutter) && FOptions.Contains(moDrawGutter)))
    X += LineNumberColumnWidth();
  if (FOptions.Contains(moLeftIndent) && FLeftIndent > 0) X += FLeftIndent;
  if (FoldingShown()) X += LineHeight();
  return X;
}

Integer TCustomDCMemo::VisibleRows() {
  if (FUseMonoFont) return std::max<Integer>(0, ClientHeight() / LineHeight() - 1);
  // The rows that fit whole, less one as on the grid.
  const Integer H = ClientHeight();
  Integer Y = 0, N = 0;
  for (Integer Row = FTopLine; N <= H; ++Row) {
    Y += RowHeight(Row);
    if (Y > H) break;
    ++N;
  }
  return std::max<Integer>(0, N - 1);
}

// ---------------------------------------------------------------------------
// Row heights

TCustomDCMemo::TRowMetrics TCustomDCMemo::RowMetrics(Integer Row) {
  if (FUseMonoFont) return {LineHeight(), FMaxAscent};
  LineHeight();
  if (Row < 0) return {FLineHeight, FMaxAscent};
  Integer Line, Start, Stop;
  RowColumns(Row, Line, Start, Stop);
  if (Line < 0 || Line >= GetSource()->GetLineCount()) {
    // The end-of-text row is measured like a line; rows below it are empty.
    if (Line != GetSource()->GetLineCount() || !FOptions.Contains(moDrawSpecialSymbols))
      return {FLineHeight, FMaxAscent};
  }
  const std::vector<TRowMetrics>& Rows = LineRowMetrics(Line);
  Integer K = 0;
  if (FWordWrap) K = Row - TextToRow(0, Line).Y;
  if (K < 0 || K >= Integer(Rows.size())) return {FLineHeight, FMaxAscent};
  return Rows[size_t(K)];
}

const std::vector<TCustomDCMemo::TRowMetrics>& TCustomDCMemo::LineRowMetrics(Integer Line) {
  auto Found = FRowMetrics.find(Line);
  if (Found != FRowMetrics.end()) return Found->second;
  // A bounded cache: what the view shows is measured again at once.
  if (FRowMetrics.size() > 8192) FRowMetrics.clear();
  TCustomMemoSource* S = GetSource();
  const bool Styled = StyledPainting();
  if (Styled && Line < S->GetLineCount()) S->ParseUpTo(Line, false);
  AnsiString Text, Attrs;
  LineDisplay(Line, Styled, Text, Attrs);
  std::vector<Integer> Edges;
  std::vector<TRunExtent> Extents;
  MeasureRuns(Line, Text, Attrs, Edges, &Extents);
  // Where the line's rows begin: at 0 and after every soft break.
  std::vector<Integer> Starts{0};
  if (FWordWrap) {
    auto It = std::lower_bound(FBreaks.begin(), FBreaks.end(), Line,
                               [](const TWrapBreak& B, Integer L) { return B.Line < L; });
    for (; It != FBreaks.end() && It->Line == Line; ++It) Starts.push_back(It->Pos);
  }
  const Integer N = Integer(Text.size());
  std::vector<TRowMetrics> Rows;
  size_t Run = 0;
  for (size_t K = 0; K < Starts.size(); ++K) {
    const Integer From = Starts[K], To = K + 1 < Starts.size() ? Starts[K + 1] : N;
    Integer Ascent = 0, Descent = 0;
    while (Run < Extents.size() && Extents[Run].End <= From) ++Run;
    for (size_t R = Run; R < Extents.size(); ++R) {
      Ascent = std::max(Ascent, Extents[R].Ascent);
      Descent = std::max(Descent, Extents[R].Descent);
      if (Extents[R].End >= To) break;
    }
    if (From >= To || Ascent + Descent <= 0) Rows.push_back({FLineHeight, FMaxAscent});
    else Rows.push_back({Ascent + Descent, Ascent});
  }
  return FRowMetrics.emplace(Line, std::move(Rows)).first->second;
}

void TCustomDCMemo::ForgetRowMetrics(Integer First, Integer Last) {
  if (FRowMetrics.empty()) return;
  if (First <= 0 && Last == MaxLine) {
    FRowMetrics.clear();
    return;
  }
  for (auto It = FRowMetrics.begin(); It != FRowMetrics.end();)
    if (It->first >= First && It->first <= Last) It = FRowMetrics.erase(It);
    else ++It;
}

Integer TCustomDCMemo::RowHeight(Integer Row) { return RowMetrics(Row).Height; }

Integer TCustomDCMemo::CaretRowHeight() {
  if (FUseMonoFont) return LineHeight();
  TCustomMemoSource* S = GetSource();
  return RowHeight(TextToRow(S->GetCaretChar(), S->GetCaretLine()).Y);
}

bool TCustomDCMemo::CaretRowShown() {
  TCustomMemoSource* S = GetSource();
  const Integer Row = TextToRow(S->GetCaretChar(), S->GetCaretLine()).Y;
  if (Row < FTopLine) return false;
  return RowTop(Row) + RowHeight(Row) <= ClientHeight();
}

Integer TCustomDCMemo::RowTop(Integer Row) {
  if (FUseMonoFont) return (Row - FTopLine) * LineHeight();
  // Rows far outside the window count as empty ones: the caret's or a
  // click's position there only needs to be out of sight.
  const Integer Far = 2 * ClientHeight() + LineHeight();
  Integer Y = 0;
  if (Row >= FTopLine) {
    for (Integer R = FTopLine; R < Row; ++R) {
      if (Y > Far) return Y + (Row - R) * LineHeight();
      Y += RowHeight(R);
    }
    return Y;
  }
  for (Integer R = FTopLine - 1; R >= Row; --R) {
    if (-Y > Far) return Y - (R - Row + 1) * LineHeight();
    Y -= RowHeight(R);
  }
  return Y;
}

Integer TCustomDCMemo::RowAtY(Integer Y) {
  const Integer Lh = LineHeight();
  if (FUseMonoFont) return (Y >= 0 ? Y / Lh : -((-Y + Lh - 1) / Lh)) + FTopLine;
  const Integer Far = 2 * ClientHeight() + Lh;
  Integer Row = FTopLine, Top = 0;
  if (Y >= 0) {
    for (;;) {
      if (Top > Far) return Row + (Y - Top) / Lh;
      const Integer H = RowHeight(Row);
      if (Y < Top + H) return Row;
      Top += H;
      ++Row;
    }
  }
  while (Y < Top) {
    if (-Top > Far) return Row - (Top - Y + Lh - 1) / Lh;
    --Row;
    Top -= RowHeight(Row);
  }
  return Row;
}

Integer TCustomDCMemo::TopShowingRow(Integer Row) {
  const Integer H = ClientHeight();
  Integer Top = Row, Y = RowHeight(Row);
  while (Top > 0) {
    const Integer Above = RowHeight(Top - 1);
    if (Y + Above > H) break;
    Y += Above;
    --Top;
  }
  return Top;
}

// ---------------------------------------------------------------------------
// What a line shows, and its measure in proportional layout

bool TCustomDCMemo::StyledPainting() {
  TCustomMemoSource* S = GetSource();
  return ((S->GetSyntaxParser() && FOptions.Contains(moColorSyntax)) || S->GetHighlightUrls()) &&
         FTextStyles->Count() > 0;
}

Integer TCustomDCMemo::CharStyleAt(const AnsiString& Attrs, Integer P, Integer Line, bool UrlsOnly) {
  if (P >= Integer(Attrs.size())) return -1;
  Integer St = Byte(Attrs[size_t(P)]);
  if (UrlsOnly && St != UrlStyle) St = 0;
  if (OnGetColorStyle.Assigned()) DoGetColorStyle({P, Line}, St);
  return St;
}

TFont* TCustomDCMemo::RunFont(Integer Style, bool UrlsOnly) {
  if (Style < 0 || (Style == 0 && UrlsOnly)) return FFont.get();
  return GetStyleFont(Style);
}

void TCustomDCMemo::LineDisplay(Integer Line, bool Styled, AnsiString& Text, AnsiString& Attrs) {
  TCustomMemoSource* S = GetSource();
  Text.clear();
  Attrs.clear();
  const bool Special = FOptions.Contains(moDrawSpecialSymbols);
  if (Line < 0 || Line > S->GetLineCount() || (Line == S->GetLineCount() && !Special)) return;
  if (Line == S->GetLineCount()) {
    // The row after the last line shows the end of the text.
    Text = FSpecialSymbols->GetEOFString();
    if (Styled) Attrs.assign(Text.size(), '\0');
  } else {
    if (Special)
      S->GetDisplayText(Line, true, Text, FSpecialSymbols->GetTabChar(), FSpecialSymbols->GetSpaceChar());
    else
      Text = S->GetExpandedLine(Line);
    if (Styled) S->GetExpandedColorData(Line, Attrs);
    if (Special) {
      if (Styled) Attrs.resize(Text.size(), '\0');
      Text += FSpecialSymbols->GetEOLString();
      if (Styled) Attrs.resize(Text.size(), '\0');
    }
  }
  DoCustomString(Text, Attrs);
}

void TCustomDCMemo::MeasureRuns(Integer Line, const AnsiString& Text, const AnsiString& Attrs,
                                std::vector<Integer>& Edges, std::vector<TRunExtent>* Extents) {
  const Integer N = Integer(Text.size());
  Edges.assign(size_t(N) + 1, 0);
  const bool UrlsOnly = !FOptions.Contains(moColorSyntax) && GetSource()->GetHighlightUrls();
  std::vector<Integer> W(size_t(N), 0);
  Integer P = 0;
  while (P < N) {
    const Integer St = CharStyleAt(Attrs, P, Line, UrlsOnly);
    TFont* F = RunFont(St, UrlsOnly);
    const bool Upper = St >= 0 && IsUpperCaseStyle(St);
    Integer E = P + 1;
    while (E < N && E - P < MaxRun) {
      const Integer St2 = CharStyleAt(Attrs, E, Line, UrlsOnly);
      if (RunFont(St2, UrlsOnly) != F || (St2 >= 0 && IsUpperCaseStyle(St2)) != Upper) break;
      ++E;
    }
    AnsiString Run = Text.substr(size_t(P), size_t(E - P));
    if (Upper) Run = UpperCase(Run);
    FontManager().MeasureText(F->GetHandle(), Run.data(), E - P, &W[size_t(P)], nullptr);
    if (Extents) {
      const TFontMetricsRec& M = FontManager().GetFontMetrics(F->GetHandle());
      Extents->push_back({E, M.Ascent, M.Descent});
    }
    P = E;
  }
  for (Integer I = 0; I < N; ++I) Edges[size_t(I) + 1] = Edges[size_t(I)] + W[size_t(I)];
}

void TCustomDCMemo::MeasureLine(Integer Line, AnsiString& Text, std::vector<Integer>& Edges) {
  const bool Styled = StyledPainting();
  TCustomMemoSource* S = GetSource();
  if (Styled && Line < S->GetLineCount()) S->ParseUpTo(Line, false);
  AnsiString Attrs;
  LineDisplay(Line, Styled, Text, Attrs);
  MeasureRuns(Line, Text, Attrs, Edges);
}

Integer TCustomDCMemo::BlankWidth() {
  return std::max<Integer>(1, FontManager().MeasureText(FFont->GetHandle(), " ", 1, nullptr, nullptr));
}

Integer TCustomDCMemo::EdgeAt(const std::vector<Integer>& Edges, Integer Column) {
  const Integer N = Integer(Edges.size()) - 1;
  if (Column <= 0) return 0;
  if (Column <= N) return Edges[size_t(Column)];
  return Edges[size_t(N)] + (Column - N) * BlankWidth();
}

// ---------------------------------------------------------------------------
// Rows: visible lines plus the soft breaks of word wrap

Integer TCustomDCMemo::RowOfLine(Integer Line) {
  if (FWordWrap) return TextToRow(0, Line).Y;
  return FoldingShown() ? GetSource()->RealToVisible(Line) : Line;
}

Integer TCustomDCMemo::LineOfRow(Integer Row) {
  if (FWordWrap) return RowToText(0, Row).Y;
  return FoldingShown() ? GetSource()->VisibleToReal(Row) : Row;
}

Integer TCustomDCMemo::LastRow() {
  TCustomMemoSource* S = GetSource();
  const Integer LastLine = std::max<Integer>(S->GetLineCount() - 1, 0);
  if (FWordWrap) {
    EnsureWrappedTo(LastLine);
    return LastLine + Integer(FBreaks.size());
  }
  return FoldingShown() ? S->RealToVisible(LastLine) : LastLine;
}

Integer TCustomDCMemo::KnownLastRow() {
  TCustomMemoSource* S = GetSource();
  const Integer LastLine = std::max<Integer>(S->GetLineCount() - 1, 0);
  if (FWordWrap) return LastLine + Integer(FBreaks.size());
  return FoldingShown() ? S->RealToVisible(LastLine) : LastLine;
}

Integer TCustomDCMemo::LastRowNear(Integer Row) {
  // Breaks are known at least 100 lines past any row asked for, so a row
  // that exists lies within what is known.
  if (FWordWrap) EnsureWrappedTo(std::max<Integer>(Row, 0));
  return KnownLastRow();
}

void TCustomDCMemo::RowColumns(Integer Row, Integer& Line, Integer& Start, Integer& Stop) {
  if (!FWordWrap) {
    Line = LineOfRow(Row);
    Start = 0;
    Stop = MaxLine;
    return;
  }
  const TPoint P = RowToText(0, Row);
  Line = P.Y;
  Start = P.X;
  // The row ends where the next break of the same line begins.
  const TPoint Next = TextToRow(Start, Line);
  auto It = std::upper_bound(FBreaks.begin(), FBreaks.end(), TWrapBreak{Start, Line},
                             [](const TWrapBreak& A, const TWrapBreak& B) {
                               return A.Line != B.Line ? A.Line < B.Line : A.Pos < B.Pos;
                             });
  (void)Next;
  Stop = (It != FBreaks.end() && It->Line == Line) ? It->Pos : MaxLine;
}

Integer TCustomDCMemo::CountBreaks(Integer First, Integer Last) const {
  auto Lo = std::lower_bound(FBreaks.begin(), FBreaks.end(), First,
                             [](const TWrapBreak& B, Integer L) { return B.Line < L; });
  auto Hi = std::upper_bound(FBreaks.begin(), FBreaks.end(), Last,
                             [](Integer L, const TWrapBreak& B) { return L < B.Line; });
  return Integer(Hi - Lo);
}

TPoint TCustomDCMemo::TextToRow(Integer Column, Integer Line) {
  if (!FWordWrap) return {Column, FoldingShown() ? GetSource()->RealToVisible(Line) : Line};
  EnsureWrappedTo(Line);
  // The last break at or before (Column, Line).
  auto It = std::upper_bound(FBreaks.begin(), FBreaks.end(), TWrapBreak{Column, Line},
                             [](const TWrapBreak& A, const TWrapBreak& B) {
                               return A.Line != B.Line ? A.Line < B.Line : A.Pos < B.Pos;
                             });
  const Integer Index = Integer(It - FBreaks.begin()) - 1;
  if (Index >= 0 && FBreaks[size_t(Index)].Line == Line) Column -= FBreaks[size_t(Index)].Pos;
  Integer Row = Line + Index + 1;
  if (FUseMonoFont && Column > FWrapColumns + 1) {
    // A caret past the wrapped text.
    Row += Column / FWrapColumns;
    Column = 0;
  }
  return {Column, Row};
}

TPoint TCustomDCMemo::RowToText(Integer Column, Integer Row) {
  if (!FWordWrap) return {Column, FoldingShown() ? GetSource()->VisibleToReal(Row) : Row};
  EnsureWrappedTo(Row);
  // Entry i begins visual row Line + i + 1: the last entry whose row is at
  // or before Row.
  Integer Lo = 0, Hi = Integer(FBreaks.size());
  while (Lo < Hi) {
    const Integer Mid = (Lo + Hi) / 2;
    if (FBreaks[size_t(Mid)].Line + Mid + 1 <= Row)
      Lo = Mid + 1;
    else
      Hi = Mid;
  }
  const Integer Index = Lo - 1;
  if (Index >= 0 && FBreaks[size_t(Index)].Line + Index + 1 == Row) Column += FBreaks[size_t(Index)].Pos;
  return {Column, Row - (Index + 1)};
}

bool TCustomDCMemo::NextWrapSegment(const AnsiString& Text, const std::vector<Integer>* Edges, Integer& Pos,
                                    Integer& Break) {
  const Integer Len = Integer(Text.size());
  Integer Limit = FWrapColumns;
  if (Edges) {
    // The characters from Pos that fit into the wrap width, less one.
    const Integer Base = (*Edges)[size_t(Pos - 1)];
    Integer Fit = 0;
    while (Pos - 1 + Fit < Len && (*Edges)[size_t(Pos + Fit)] - Base <= FWrapPixels) ++Fit;
    Limit = std::max<Integer>(1, Fit - 1);
  }
  if (Len - Pos + 1 <= Limit + 1) {
    Break = Len;
    Pos = Len + 1;
    return false;
  }
  TCustomMemoSource* S = GetSource();
  Break = Pos + Limit;
  for (Integer I = Pos + Limit; I >= Pos; --I)
    if (S->IsDelimiter(Text, I)) {
      Break = I;
      break;
    }
  Pos = Break + 1;
  return Pos <= Len;
}

void TCustomDCMemo::EnsureWrappedTo(Integer Line) {
  if (!FWordWrap || Line < FWrappedUpTo || FInLazyWrap) return;
  FInLazyWrap = true;
  try {
    RecomputeWrap(FWrappedUpTo, Line + 100);
  } catch (...) {
    FInLazyWrap = false;
    throw;
  }
  FInLazyWrap = false;
}

void TCustomDCMemo::RecomputeWrap(Integer First, Integer Last) {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  TCustomMemoSource* S = GetSource();
  if (!FWordWrap || S->GetLineCount() == 0) {
    FBreaks.clear();
    FWrappedUpTo = 0;
    return;
  }
  const Integer Cw = CharWidth();
  FWrapColumns = std::max<Integer>(
      1, FOptions.Contains(moBreakWordAtMargin) ? FMarginPos - 1 : (ClientWidth() - Cw - TextLeftEdge()) / Cw);
  FWrapPixels =
      std::max<Integer>(1, FOptions.Contains(moBreakWordAtMargin) ? Cw * FMarginPos : ClientWidth() - TextLeftEdge());
  if (!FUseMonoFont && StyledPainting()) S->ParseUpTo(std::min<Integer>(Last, S->GetLineCount() - 1), false);
  First = std::max<Integer>(First, 0);
  bool Whole = false;
  if (Last == MaxLine) {
    Last = First + FTopLine + 255;
    FWrappedUpTo = Last;
    Whole = true;
  } else {
    FWrappedUpTo = std::max(FWrappedUpTo, Last);
  }
  Last = std::min<Integer>(Last, S->GetLineCount() - 1);
  if (Whole) {
    // Everything from First on is recomputed now or lazily later.
    FBreaks.erase(std::lower_bound(FBreaks.begin(), FBreaks.end(), First,
                                   [](const TWrapBreak& B, Integer L) { return B.Line < L; }),
                  FBreaks.end());
  }
  const Integer OldCount = CountBreaks(First, Last);
  std::vector<TWrapBreak> New;
  std::vector<Integer> Edges;
  for (Integer Line = First; Line <= Last; ++Line) {
    const AnsiString& Raw = S->GetLineText(Line);
    if (Raw.empty()) continue;
    AnsiString Text;
    if (FUseMonoFont) {
      Text = Raw;
      if (Text.find('\t') != AnsiString::npos) S->ExpandTabs(Text);
      if (Integer(Text.size()) <= FWrapColumns) continue;
    } else {
      MeasureLine(Line, Text, Edges);
      if (Edges.back() <= FWrapPixels) continue;
    }
    Integer Pos = 1, Break = 0;
    while (NextWrapSegment(Text, FUseMonoFont ? nullptr : &Edges, Pos, Break)) New.push_back({Pos - 1, Line});
  }
  auto Lo = std::lower_bound(FBreaks.begin(), FBreaks.end(), First,
                             [](const TWrapBreak& B, Integer L) { return B.Line < L; });
  auto Hi = std::upper_bound(Lo, FBreaks.end(), Last, [](Integer L, const TWrapBreak& B) { return L < B.Line; });
  Lo = FBreaks.erase(Lo, Hi);
  FBreaks.insert(Lo, New.begin(), New.end());
  ForgetRowMetrics(First, Whole ? MaxLine : Last);
  if (FInLazyWrap) return;
  UpdateScrollBars();
  UpdateCaret();
  if (Whole || Integer(New.size()) != OldCount)
    InvalidateLines(First, MaxLine);
  else
    InvalidateLines(First, Last);
}

// ---------------------------------------------------------------------------
// Points

TPoint TCustomDCMemo::TextToPoint(Integer Column, Integer Line) {
  const TPoint R = TextToRow(Column, Line);
  const Integer Y = RowTop(R.Y);
  if (FUseMonoFont) return {TextLeftEdge() + (R.X - (FWordWrap ? 0 : FFirstColumn)) * CharWidth(), Y};
  // Measured: the row's text up to the column in its fonts; a horizontal
  // scroll moves by whole average characters.
  AnsiString Text;
  std::vector<Integer> Edges;
  MeasureLine(Line, Text, Edges);
  const Integer Shift = FWordWrap ? EdgeAt(Edges, Column - R.X) : FFirstColumn * CharWidth();
  return {TextLeftEdge() + EdgeAt(Edges, Column) - Shift, Y};
}

TPoint TCustomDCMemo::PointToText(Integer X, Integer Y, bool Limit) {
  const Integer Cw = CharWidth(), Lh = LineHeight();
  const Integer WrapWidth =
      FOptions.Contains(moBreakWordAtMargin) ? Cw * FMarginPos + TextLeftEdge() : ClientWidth();
  if (FWordWrap) X = std::min(X, WrapWidth);
  (void)Lh;
  Integer Row = std::max<Integer>(RowAtY(Y), 0);
  if (Limit && !GetSource()->HasOption(soBeyondFileEnd)) Row = std::min(Row, LastRowNear(Row));
  const Integer Left = TextLeftEdge();
  if (!FUseMonoFont) return MeasuredPointToText(X, Row, X < WrapWidth);
  Integer Column = X >= Left ? (X - Left) / Cw : 0;
  if (X >= Left && X < WrapWidth && (X - Left) % Cw > Cw / 2) ++Column;
  if (!FWordWrap) return {Column + FFirstColumn, LineOfRow(Row)};
  Integer Line, Start, Stop;
  RowColumns(Row, Line, Start, Stop);
  if (Stop != MaxLine && Start + Column >= Stop) Column = Stop - Start - 1;
  return {Start + Column, Line};
}

TPoint TCustomDCMemo::MeasuredPointToText(Integer X, Integer Row, bool Round) {
  Integer Line, Start, Stop;
  RowColumns(Row, Line, Start, Stop);
  AnsiString Text;
  std::vector<Integer> Edges;
  MeasureLine(Line, Text, Edges);
  const Integer Left = TextLeftEdge();
  if (X < Left) return {FWordWrap ? Start : FFirstColumn, Line};
  const Integer N = Integer(Text.size());
  const Integer Px = X - Left + (FWordWrap ? EdgeAt(Edges, Start) : FFirstColumn * CharWidth());
  const Integer RowEnd = std::min(Stop, N);
  // The character whose cell holds the point, rounded to the nearer edge.
  auto Hit = std::upper_bound(Edges.begin() + std::min(Start, N) + 1, Edges.begin() + RowEnd + 1, Px);
  Integer Column;
  if (Start < RowEnd && Hit != Edges.begin() + RowEnd + 1) {
    Column = Integer(Hit - Edges.begin()) - 1;
    const Integer W = Edges[size_t(Column) + 1] - Edges[size_t(Column)];
    if (Round && Px - Edges[size_t(Column)] > W / 2) ++Column;
  } else if (Stop != MaxLine) {
    Column = Stop - 1;
  } else {
    const Integer Bw = BlankWidth();
    const Integer Past = std::max<Integer>(0, Px - Edges[size_t(N)]);
    Column = std::max(N, Start) + Past / Bw + (Round && Past % Bw > Bw / 2 ? 1 : 0);
  }
  if (Stop != MaxLine && Column >= Stop) Column = Stop - 1;
  return {Column, Line};
}

// ---------------------------------------------------------------------------
// View

void TCustomDCMemo::InvalidateLines(Integer First, Integer Last) {
  if (!HandleAllocated()) return;
  if (First <= 0 && Last == MaxLine) {
    Invalidate();
    return;
  }
  const Integer Top = RowTop(RowOfLine(std::max<Integer>(First, 0)));
  Integer Bottom = ClientHeight();
  if (Last != MaxLine && Last < GetSource()->GetLineCount() - 1 && Top < Bottom)
    Bottom = std::min(Bottom, RowTop(RowOfLine(Last + 1)));
  if (Bottom <= 0 || Top >= ClientHeight()) return;
  const TRect R{0, std::max<Integer>(Top, 0), ClientWidth(), Bottom};
  InvalidateRect(Handle(), &R, FALSE);
}

void TCustomDCMemo::InvalidateCaretLine() {
  if (!HandleAllocated()) return;
  const Integer Line = GetSource()->GetCaretLine();
  InvalidateLines(Line, Line);
}

void TCustomDCMemo::ViewMoved(Integer OldTop, Integer OldColumn) {
  if (!HandleAllocated()) return;
  if (FMemoBackground->ShowsBackground()) {
    // The picture stays where it is while the text moves over it.
    Invalidate();
    UpdateCaret();
    return;
  }
  const Integer Cw = CharWidth();
  if (FTopLine == OldTop && FFirstColumn != OldColumn && std::abs(FFirstColumn - OldColumn) == 1) {
    const Integer Left = TextLeftEdge();
    const TRect Area{Left, 0, ClientWidth(), ClientHeight()};
    ScrollWindowEx(Handle(), (OldColumn - FFirstColumn) * Cw, 0, &Area, &Area, nullptr, nullptr, SW_INVALIDATE);
  } else if (FFirstColumn == OldColumn && std::abs(FTopLine - OldTop) == 1) {
    const TRect Area{0, 0, ClientWidth(), ClientHeight()};
    // By the height of the row that left at the top or came in there.
    const Integer Dy = FTopLine > OldTop ? -RowHeight(OldTop) : RowHeight(FTopLine);
    ScrollWindowEx(Handle(), 0, Dy, &Area, &Area, nullptr, nullptr, SW_INVALIDATE);
    // The line-number column may widen with the rows shown.
    if (FOptions.Contains(moLineNumbers)) {
      const TRect G{0, 0, TextLeftEdge(), ClientHeight()};
      InvalidateRect(Handle(), &G, FALSE);
    }
  } else {
    Invalidate();
  }
  UpdateCaret();
}

void TCustomDCMemo::SetTopLine(Integer Row) {
  Row = std::max<Integer>(Row, 0);
  if (!GetSource()->HasOption(soBeyondFileEnd)) Row = std::min(Row, LastRowNear(Row));
  if (Row == FTopLine) return;
  const Integer Old = FTopLine;
  FTopLine = Row;
  if (FWordWrap) EnsureWrappedTo(LineOfRow(Row) + VisibleRows() + 1);
  ViewMoved(Old, FFirstColumn);
  UpdateScrollBars();
}

void TCustomDCMemo::SetFirstColumn(Integer Column) {
  Column = std::max<Integer>(Column, 0);
  if (Column == FFirstColumn) return;
  const Integer Old = FFirstColumn;
  FFirstColumn = Column;
  ViewMoved(FTopLine, Old);
  UpdateScrollBars();
}

void TCustomDCMemo::ScrollVert(Integer Delta) {
  const Integer Old = FTopLine;
  SetTopLine(FTopLine + Delta);
  if (FTopLine != Old) DoMemoScroll(ssVertical, FTopLine - Old);
}

void TCustomDCMemo::ScrollHorz(Integer Delta) {
  const Integer Old = FFirstColumn;
  SetFirstColumn(FFirstColumn + Delta);
  if (FFirstColumn != Old) DoMemoScroll(ssHorizontal, FFirstColumn - Old);
}

void TCustomDCMemo::MakeCaretVisible() {
  TCustomMemoSource* S = GetSource();
  const TPoint R = TextToRow(S->GetCaretChar(), S->GetCaretLine());
  if (!FUseMonoFont) {
    // Measured rows: the caret's row must show whole.
    if (R.Y < FTopLine)
      SetTopLine(R.Y);
    else if (RowTop(R.Y) + RowHeight(R.Y) > ClientHeight() && R.Y > FTopLine)
      SetTopLine(std::max(TopShowingRow(R.Y), FTopLine + 1));
  } else {
    const Integer Rows = std::max<Integer>(VisibleRows(), 1);
    if (R.Y < FTopLine)
      SetTopLine(R.Y);
    else if (R.Y >= FTopLine + Rows)
      SetTopLine(R.Y - Rows + 1);
  }
  if (!FWordWrap) {
    const Integer Cw = CharWidth(), Left = TextLeftEdge();
    const Integer X = TextToPoint(S->GetCaretChar(), S->GetCaretLine()).X;
    if (X < Left)
      SetFirstColumn(FFirstColumn - (Left + Cw - X - 1) / Cw);
    else if (X + Cw > ClientWidth())
      SetFirstColumn(FFirstColumn + (X + Cw - ClientWidth()) / Cw + 1);
  }
  UpdateCaret();
}

void TCustomDCMemo::CenterCaretLine() {
  MakeCaretVisible();
  const Integer Row = RowOfLine(GetSource()->GetCaretLine());
  const Integer Top = Row - VisibleRows() / 2;
  SetTopLine(Top < 1 ? 0 : Top);
}

void TCustomDCMemo::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
    const Integer Page = VisibleRows() + 1;
    // Rows below what word wrap has reached count as one per line until
    // they are wrapped: a large text is never wrapped at once.
    // The end-of-text mark stands on a row of its own below the last line:
    // the range takes it in so that the thumb at the bottom shows it.
    const Integer Last = KnownLastRow() + (FOptions.Contains(moDrawSpecialSymbols) ? 1 : 0);
    SCROLLINFO Si{};
    Si.cbSize = sizeof(Si);
    Si.fMask = SIF_RANGE | SIF_PAGE;
    Si.nMin = 0;
    Si.nMax = std::max(Last, Page);
    Si.nPage = UINT(Page);
    if (FHideScrollBars && Last < Page) Si.nMax = 0, Si.nPage = 0;
    const Integer WidthBefore = ClientWidth();
    SetScrollInfo(Handle(), SB_VERT, &Si, TRUE);
    if (GetScrollPos(Handle(), SB_VERT) != FTopLine) SetScrollPos(Handle(), SB_VERT, FTopLine, TRUE);
    // The bar came or went: the rows have another width to fill.
    if (FWordWrap && ClientWidth() != WidthBefore && !FRewrapping) {
      FRewrapping = true;
      try {
        RecomputeWrap(0, MaxLine);
      } catch (...) {
        FRewrapping = false;
        throw;
      }
      FRewrapping = false;
    }
  }
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
    SCROLLINFO Si{};
    Si.cbSize = sizeof(Si);
    Si.fMask = SIF_RANGE | SIF_PAGE;
    Si.nMin = 0;
    const Integer Cw = CharWidth(), Columns = (ClientWidth() - TextLeftEdge()) / Cw + 1;
    FHorzInPixels = false;
    Integer Max = FHorzMaxPos, Page = std::max<Integer>(1, Columns);
    bool Hidden = false;
    if (FHideScrollBars && FWordWrap) {
      // Wrapped text needs the bar only when the wrap width passes the window.
      const Integer Wrap =
          FOptions.Contains(moBreakWordAtMargin) ? Cw * FMarginPos + TextLeftEdge() : ClientWidth();
      FHorzInPixels = true;
      Max = Wrap;
      Page = ClientWidth();
      Hidden = Wrap <= ClientWidth();
    } else if (FHideScrollBars) {
      TCustomMemoSource* S = GetSource();
      if (FUseMonoFont) {
        Max = S->GetLongestLineLength();
      } else {
        // The longest line by columns, measured in its fonts.
        FHorzInPixels = true;
        Max = 0;
        if (const Integer Longest = S->GetLongestLineIndex(); Longest >= 0) {
          AnsiString Text;
          std::vector<Integer> Edges;
          MeasureLine(Longest, Text, Edges);
          Max = Edges.back();
        }
        Page = std::max<Integer>(1, ClientWidth() - TextLeftEdge());
      }
      Hidden = Page > Max;
    }
    Si.nMax = Hidden ? 0 : Max;
    Si.nPage = Hidden ? 0 : UINT(Page);
    SetScrollInfo(Handle(), SB_HORZ, &Si, TRUE);
    const Integer Pos = FHorzInPixels ? FFirstColumn * Cw : FFirstColumn;
    if (GetScrollPos(Handle(), SB_HORZ) != Pos) SetScrollPos(Handle(), SB_HORZ, Pos, TRUE);
  }
}

void TCustomDCMemo::WMScroll(TMessage& Message, bool Vertical) {
  if (GetVisible() && CanFocus() && GetTabStop() && !Focused()) SetFocus();
  const int Code = LOWORD(Message.WParam);
  SCROLLINFO Si{};
  Si.cbSize = sizeof(Si);
  Si.fMask = SIF_TRACKPOS | SIF_POS;
  GetScrollInfo(Handle(), Vertical ? SB_VERT : SB_HORZ, &Si);
  const bool Track = FOptions.Contains(moThumbTracking);
  if (Vertical) {
    const Integer Page = std::max<Integer>(ClientHeight() / LineHeight(), 1);
    switch (Code) {
      case SB_LINEUP: ScrollVert(-1); break;
      case SB_LINEDOWN: ScrollVert(1); break;
      case SB_PAGEUP: ScrollVert(-Page); break;
      case SB_PAGEDOWN: ScrollVert(Page); break;
      case SB_THUMBPOSITION: ScrollVert(Si.nTrackPos - FTopLine); break;
      case SB_THUMBTRACK:
        if (Track) ScrollVert(Si.nTrackPos - FTopLine);
        break;
      case SB_TOP: GetSource()->CaretToFileStart(); break;
      case SB_BOTTOM: GetSource()->CaretToFileEnd(); break;
      default: break;
    }
    DoVerticalScroll(Code);
  } else {
    const Integer Page = std::max<Integer>((ClientWidth() - TextLeftEdge()) / CharWidth(), 1);
    switch (Code) {
      case SB_LINELEFT: ScrollHorz(-1); break;
      case SB_LINERIGHT: ScrollHorz(1); break;
      case SB_PAGELEFT: ScrollHorz(-Page); break;
      case SB_PAGERIGHT: ScrollHorz(Page); break;
      case SB_THUMBPOSITION: ScrollHorz(ThumbColumn(Si.nTrackPos) - FFirstColumn); break;
      case SB_THUMBTRACK:
        if (Track) ScrollHorz(ThumbColumn(Si.nTrackPos) - FFirstColumn);
        break;
      case SB_LEFT: ScrollHorz(-std::min(GetSource()->GetCaretChar(), FFirstColumn)); break;
      case SB_RIGHT: ScrollHorz(FHorzMaxPos - GetSource()->GetCaretChar()); break;
      default: break;
    }
  }
  Message.Result = 0;
}

void TCustomDCMemo::WMMouseWheel(TMessage& Message) {
  FWheelRemainder += GET_WHEEL_DELTA_WPARAM(Message.WParam);
  UINT Lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
  const Integer PerNotch = std::max<Integer>(Integer(Lines), 1);
  const Integer Notches = FWheelRemainder / WHEEL_DELTA;
  if (Notches != 0) {
    FWheelRemainder -= Notches * WHEEL_DELTA;
    ScrollVert(-Notches * PerNotch);
  }
  Message.Result = 1;
}

// ---------------------------------------------------------------------------
// Caret

void TCustomDCMemo::CreateTheCaret() {
  if (!HandleAllocated() || !Focused()) return;
  TSize Size{1, 1};
  if (!FHideCaret) {
    const bool Wide = TCustomMemoSource::GetOverwriteMode() && FOptions.Contains(moOverwriteCaret);
    Size = {Wide ? CharWidth() : 2 * GetSystemMetrics(SM_CXBORDER), CaretRowHeight()};
  }
  DestroyCaret();
  ::CreateCaret(Handle(), nullptr, Size.cx, Size.cy);
  FCaretSize = Size;
  FCaretCreated = true;
  FCaretPixel = {-1, -1};
  UpdateCaret();
  ShowCaret(Handle());
}

void TCustomDCMemo::UpdateCaret() {
  if (!FCaretCreated || !HandleAllocated() || !Focused()) return;
  TPoint P{-5, -5};
  // A measured row of another height needs a caret of its height.
  if (!FHideCaret && !FUseMonoFont && CaretRowHeight() != FCaretSize.cy) return CreateTheCaret();
  if (!FHideCaret) {
    TCustomMemoSource* S = GetSource();
    P = TextToPoint(S->GetCaretChar(), S->GetCaretLine());
    if (P.X < TextLeftEdge() || P.Y < 0) P = {-CharWidth() - 10, -10};
  }
  if (P == FCaretPixel) return;
  FCaretPixel = P;
  SetCaretPos(P.X, P.Y);
}

void TCustomDCMemo::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const Integer OldWidth = GetWidth(), OldHeight = GetHeight();
  const bool Numbers = FCreated && HandleAllocated() && FOptions.Contains(moLineNumbers);
  const Integer OldNumbers = Numbers ? LineNumberColumnWidth() : 0;
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FWordWrap && !FOptions.Contains(moBreakWordAtMargin) && OldWidth != GetWidth() && FCreated) {
    RecomputeWrap(0, MaxLine);
    // A caret left past its line's end by the old rows goes to the end.
    TCustomMemoSource* S = GetSource();
    const Integer Line = S->GetCaretLine();
    if (Line < S->GetLineCount() && S->GetCaretChar() > S->GetLineLength(Line)) {
      S->BeginUpdate(MemoCode::MoveCaret);
      TUpdateGuard Update(*S, UpdateBegun);
      S->SetCaret(S->GetLineLength(Line), Line);
    }
  }
  // More rows may need wider numbers.
  if (Numbers && OldHeight != GetHeight() && LineNumberColumnWidth() != OldNumbers) Invalidate();
  if (FCreated) UpdateScrollBars();
}

// ---------------------------------------------------------------------------
// Painting

void TCustomDCMemo::DoDrawGutter(TCanvas* ACanvas, const TRect& R, TDrawState State, bool& OwnerDraw) {
  if (OnDrawGutter.Assigned()) OnDrawGutter(this, ACanvas, R, State, OwnerDraw);
}

bool TCustomDCMemo::DoCustomDraw(TCanvas* ACanvas, const TRect& R, Integer Line, Integer Char, const AnsiString& S,
                                 TDrawStates State) {
  bool Handled = false;
  if (OnCustomDraw.Assigned()) OnCustomDraw(this, ACanvas, R, Line, Char, S, State, Handled);
  return Handled;
}

void TCustomDCMemo::DoCustomString(AnsiString& S, AnsiString& ColorS) {
  if (OnCustomString.Assigned()) OnCustomString(this, S, ColorS);
}

void TCustomDCMemo::DoGetColorStyle(TPoint Point, Integer& Style) {
  if (OnGetColorStyle.Assigned()) OnGetColorStyle(this, Point, Style);
}

void TCustomDCMemo::PaintGutter(TCanvas* C, const TRect& PaintRect) {
  const Integer Gw = GutterWidthInEffect();
  const Integer Lh = LineHeight();
  const Integer H = ClientHeight();
  if (FOptions.Contains(moDrawGutter)) {
    const TRect G{0, 0, Gw, H + 1};
    bool OwnerDraw = false;
    if (G.Left < PaintRect.Right && PaintRect.Left < G.Right && G.Top < PaintRect.Bottom && PaintRect.Top < G.Bottom) {
      DoDrawGutter(C, G, dsBeforePaint, OwnerDraw);
      if (!OwnerDraw && FGutterBackground->ShowsBackground()) {
        FGutterBackground->EnsureRendered();
        TBitmap* Work = FGutterBackground->WorkBitmap();
        const TRect Area{0, 0, Work->GetWidth(), Work->GetHeight()};
        C->CopyRect(Area, Work->Canvas(), Area);
        // The edge colours may have changed since the picture was rendered.
        DrawGutterEdge(C, Gw, 0, H, FGutterBackColor, FGutterLineColor);
      } else if (!OwnerDraw) {
        C->Brush()->Assign(FGutterBrush.get());
        C->FillRect({0, 0, std::max<Integer>(Gw - 2, 0), H + 1});
        DrawGutterEdge(C, Gw, 0, H, FGutterBackColor, FGutterLineColor);
      }
    }
  }
  if (FOptions.Contains(moLeftIndent) && FLeftIndent > 0) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(GetStyleColor(-1));
    C->FillRect({Gw, 0, Gw + FLeftIndent, H});
  }
  if (FOptions.Contains(moLineNumbers)) {
    const Integer NumWidth = LineNumberColumnWidth();
    const bool OnGutter = FOptions.Contains(moLineNumbersOnGutter) && FOptions.Contains(moDrawGutter);
    Integer X;
    if (!OnGutter)
      X = Gw + (FOptions.Contains(moLeftIndent) ? FLeftIndent : 0);
    else
      X = FLineNumAlign == taRightJustify ? Gw - NumWidth - FGutterLineIndent : FGutterLineIndent;
    C->Font()->Assign(FFont.get());
    C->Font()->SetColor(FLineNumColor);
    const Integer Count = GetSource()->GetLineCount();
    for (Integer Row = FTopLine, Y = 0; Y < H; ++Row) {
      const Integer Rh = RowHeight(Row);
      if (!OnGutter) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FLineNumBackColor);
        C->FillRect({X, Y, X + NumWidth, Y + Rh});
      }
      Integer Line, Start, Stop;
      RowColumns(Row, Line, Start, Stop);
      const Integer Top = Y;
      Y += Rh;
      if (Start != 0) continue;  // a continuation row of a wrapped line
      if (FOptions.Contains(moLimitLineNumbers) && Line >= Count) continue;
      AnsiString S = IntToStr(Line + 1);
      while (Integer(S.size()) < FNumberDigits) S = FLineNumAlign == taLeftJustify ? S + " " : " " + S;
      if (OnGetLineNumber.Assigned()) OnGetLineNumber(this, S, FNumberDigits);
      SetBkMode(C->GetHandle(), TRANSPARENT);
      // A taller measured row shows its number in the middle.
      C->TextOut(X + CharWidth() / 2, Top + std::max<Integer>(0, (Rh - Lh) / 2), S);
      SetBkMode(C->GetHandle(), OPAQUE);
    }
  }
  if (FOptions.Contains(moDrawGutter) && FGutterImgs->Count() > 0) {
    for (Integer Row = FTopLine, Y = 0; Y < H; ++Row) {
      Integer Line, Start, Stop;
      RowColumns(Row, Line, Start, Stop);
      const Integer Rh = RowHeight(Row);
      const Integer Top = Y;
      Y += Rh;
      for (const TGutterCell& Cell : GutterRowImages(Line, Start, Stop, Top, Rh)) {
        TBitmap* Glyph = FGutterImgs->Image(Cell.Index)->GetGlyph();
        TransparentBlt(C->GetHandle(), Cell.Rect.Left, Cell.Rect.Top, Cell.Rect.Width(), Cell.Rect.Height(),
                       Glyph->Canvas()->GetHandle(), 0, 0, Glyph->GetWidth(), Glyph->GetHeight(),
                       ColorToRGB(Glyph->GetTransparentColor()));
      }
    }
  }
  if (FOptions.Contains(moDrawGutter)) {
    bool OwnerDraw = false;
    DoDrawGutter(C, {0, 0, Gw, H + 1}, dsAfterPaint, OwnerDraw);
  }
}

std::vector<TCustomDCMemo::TGutterCell> TCustomDCMemo::GutterRowImages(Integer Line, Integer Start, Integer Stop,
                                                                       Integer Y, Integer RowH) {
  std::vector<TGutterCell> Cells;
  TCustomMemoSource* S = GetSource();
  if (FGutterImgs->Count() == 0 || Line < 0 || Line >= S->GetLineCount()) return Cells;
  std::vector<Integer> Shown;
  if (Start == 0)
    for (Integer Bit = 0; Bit < 16 && Bit < FGutterImgs->Count(); ++Bit)
      if (S->TestLineMark(Line, Bit)) Shown.push_back(Bit);
  if (const Integer B = S->BookmarkInColumns(Line, Start, Stop); B > 0)
    if (TGutterImage* G = FGutterImgs->BookmarkImage(B % 10)) Shown.push_back(G->Index());
  const Integer Lh = LineHeight(), Gw = GutterWidthInEffect();
  Integer Pos = FGutterImgsAlign == iaLeft ? 1 : Gw - 4;
  for (Integer Index : Shown) {
    TBitmap* Glyph = FGutterImgs->Image(Index)->GetGlyph();
    if (Glyph->Empty()) continue;
    // At most a row high less one pixel, the width in proportion.
    const Integer H = std::min<Integer>(Glyph->GetHeight(), Lh - 1);
    if (H <= 0) break;
    const Integer W = Glyph->GetWidth() * H / Glyph->GetHeight();
    const Integer Top = Y + ((RowH > 0 ? RowH : Lh) - H) / 2;
    TRect R;
    if (FGutterImgsAlign == iaLeft) {
      R = {Pos, Top, Pos + W, Top + H};
      if (R.Right > Gw - 3) break;
      Pos = R.Right + 1;
    } else {
      R = {Pos - 1 - W, Top, Pos - 1, Top + H};
      if (R.Left < 0) break;
      Pos = R.Left;
    }
    Cells.push_back({Index, R});
  }
  return Cells;
}

void TCustomDCMemo::Paint() {
  TCanvas* C = Canvas();
  C->Font()->Assign(FFont.get());
  TRect PaintRect = C->ClipRect();
  const Integer Lh = LineHeight();
  if (FUseMonoFont) PaintRect.Top = PaintRect.Top / Lh * Lh;
  if (FOptions.Contains(moLineNumbers)) LineNumberColumnWidth();
  if (FoldingShown()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(GetStyleColor(-1));
    const Integer Left = TextLeftEdge();
    C->FillRect({Left - Lh, 0, Left, ClientHeight()});
  }
  PaintGutter(C, PaintRect);
  FPaintPicture = FMemoBackground->ShowsBackground();
  if (FPaintPicture) FMemoBackground->EnsureRendered();
  FPaintFewColours = GetDeviceCaps(C->GetHandle(), BITSPIXEL) <= 8;
  {
    OSVERSIONINFOA Vi{};
    Vi.dwOSVersionInfoSize = sizeof(Vi);
    FPaintClearsOverhang = GetVersionExA(&Vi) && Vi.dwPlatformId != VER_PLATFORM_WIN32_NT;
  }
  const Integer Left = TextLeftEdge();
  TRect TextRect{std::max(Left, PaintRect.Left), PaintRect.Top, std::min<Integer>(ClientWidth(), PaintRect.Right),
                 PaintRect.Bottom};
  if (TextRect.Right <= TextRect.Left) return;
  TCustomMemoSource* S = GetSource();
  const bool Styled = StyledPainting();
  if (Styled && FUseMonoFont) {
    const Integer LastShown = LineOfRow(FTopLine + TextRect.Bottom / Lh + 1);
    S->ParseUpTo(std::min<Integer>(LastShown, S->GetLineCount() - 1), false);
  }
  // The folding column shares the text's clipping: its buttons are drawn by rows.
  const HRGN Clip = CreateRectRgn(FoldingShown() ? Left - Lh : Left, 0, ClientWidth(), ClientHeight());
  SelectClipRgn(C->GetHandle(), Clip);
  DeleteObject(Clip);
  if (FUseMonoFont) {
    for (Integer Y = TextRect.Top; Y < TextRect.Bottom; Y += Lh) PaintRow(C, FTopLine + Y / Lh, Y, TextRect, Styled);
  } else {
    // Measured rows: each as tall as its fonts; those that meet the
    // paint rectangle are drawn.
    for (Integer Row = FTopLine, Y = 0; Y < TextRect.Bottom; ++Row) {
      const Integer Rh = RowHeight(Row);
      if (Y + Rh > TextRect.Top) PaintRow(C, Row, Y, TextRect, Styled);
      Y += Rh;
    }
  }
  SelectClipRgn(C->GetHandle(), nullptr);
}

void TCustomDCMemo::PaintBackgroundPart(TCanvas* C, const TRect& R) {
  C->CopyRect(R, FMemoBackground->WorkBitmap()->Canvas(), R);
}

void TCustomDCMemo::FillBack(TCanvas* C, const TRect& R, TColor Color) {
  if (FPaintPicture && Color == GetStyleColor(-1)) {
    PaintBackgroundPart(C, R);
    return;
  }
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

void TCustomDCMemo::PaintRow(TCanvas* C, Integer Row, Integer Y, const TRect& TextRect, bool Styled) {
  TCustomMemoSource* S = GetSource();
  const Integer Cw = CharWidth();
  // The row's own height and baseline (the grid's in monospaced layout).
  const TRowMetrics Metrics = RowMetrics(Row);
  const Integer Lh = Metrics.Height;
  const Integer Left = TextLeftEdge();
  const TColor Back = GetStyleColor(-1);
  Integer Line = 0, Start = 0, Stop = MaxLine;
  RowColumns(Row, Line, Start, Stop);
  const bool Past = Line >= S->GetLineCount();
  AnsiString Text, Attrs;
  LineDisplay(Line, Styled, Text, Attrs);
  // The current-line highlight: the caret's row of a focused editor.
  TLineHighlight* Hl = FLineHighlight.get();
  bool CaretRow = false;
  if (!Past && Hl->GetVisible() && Focused() && S->GetCaretLine() == Line)
    CaretRow = TextToRow(S->GetCaretChar(), Line).Y == Row;
  const bool HlBrush = CaretRow && Hl->GetBrush()->GetStyle() != bsClear;
  auto HighlightLines = [&](const TRect& R) {
    if (R.Right <= R.Left) return;
    const Integer W = Hl->GetPen()->GetWidth();
    const bool Double = Hl->GetShape() == shDoubleLine;
    std::vector<Integer> Ys{R.Bottom - 1};
    if (Double) Ys.push_back(R.Top + W - 1);
    if (W >= 2) {
      Ys.push_back(R.Bottom - 2);
      if (Double) Ys.push_back(R.Top);
    }
    C->Pen()->Assign(Hl->GetPen());
    C->Pen()->SetWidth(1);
    for (Integer Ly : Ys) {
      C->MoveTo(R.Left, Ly);
      C->LineTo(R.Right, Ly);
    }
  };
  const Integer ViewStart = FWordWrap ? Start : FFirstColumn;
  // Where a column stands: on the grid, or measured in the runs' fonts.
  std::vector<Integer> Edges;
  if (!FUseMonoFont) MeasureRuns(Line, Text, Attrs, Edges);
  const Integer Shift = FUseMonoFont ? 0 : FWordWrap ? EdgeAt(Edges, Start) : FFirstColumn * Cw;
  auto ColumnX = [&](Integer Column) {
    return FUseMonoFont ? Left + (Column - ViewStart) * Cw : Left + EdgeAt(Edges, Column) - Shift;
  };
  const Integer RowEnd = std::min<Integer>(Stop, Integer(Text.size()));
  const bool ShowSel = Focused() || !FHideSelection;
  Integer SelStart = 0, SelStop = 0;
  if (!Past && ShowSel) S->GetSelectedColumns(Line, SelStart, SelStop);
  const TRect Found = S->GetFoundRect();
  const bool HasFound = !Past && Found.Top == Line && Found.Right > Found.Left;
  const bool UrlsOnly = !FOptions.Contains(moColorSyntax) && S->GetHighlightUrls();
  TColor BaseText = GetEnabled() ? FFont->GetColor() : FDisabledColor;

  auto StyleAt = [&](Integer P) { return CharStyleAt(Attrs, P, Line, UrlsOnly); };
  auto Selected = [&](Integer P) { return P >= SelStart && P < SelStop; };
  auto InFound = [&](Integer P) { return HasFound && P >= Found.Left && P < Found.Right; };

  HDC Dc = C->GetHandle();
  Integer P = std::max(ViewStart, Start);
  if (!FUseMonoFont && !FWordWrap) {
    // The first character that reaches into the view.
    P = Integer(std::upper_bound(Edges.begin() + 1, Edges.end(), Shift) - Edges.begin()) - 1;
    if (P >= Integer(Text.size())) P = std::max<Integer>(ViewStart, Integer(Text.size()));
  }
  Integer X = ColumnX(P);
  while (P < RowEnd && X < TextRect.Right) {
    const Integer St = StyleAt(P);
    const bool Sel = Selected(P), Fnd = InFound(P);
    Integer E = P + 1;
    while (E < RowEnd && E - P < MaxRun && Selected(E) == Sel && InFound(E) == Fnd) {
      const Integer St2 = StyleAt(E);
      if (St2 != St && !SameStyleLook(St, St2, Sel || Fnd)) break;
      ++E;
    }
    TFont* F = FFont.get();
    TColor Fore = BaseText, Bk = Back;
    if (St > 0 || (St == 0 && !UrlsOnly)) {
      if (St >= 0) {
        F = GetStyleFont(St);
        Fore = F->GetColor();
        Bk = GetStyleColor(St);
      }
    }
    if (St == 0 && UrlsOnly) F = FFont.get(), Fore = BaseText, Bk = Back;
    if (Sel) {
      if (FOptions.Contains(moDisableInvertedSel) || St <= 0) {
        Fore = FSelColor;
        Bk = FSelBackColor;
      } else {
        std::swap(Fore, Bk);
      }
    }
    if (Fnd) {
      Fore = FMatchColor;
      Bk = FMatchBackColor;
    }
    AnsiString Run = Text.substr(size_t(P), size_t(E - P));
    if (St >= 0 && IsUpperCaseStyle(St)) Run = UpperCase(Run);
    const TRect Cell{X, Y, ColumnX(E), Y + Lh};
    TDrawStates Ds{dsText, dsBeforePaint};
    if (Sel) Ds.Include(dsSelection);
    if (Fnd) Ds.Include(dsMarkedText);
    if (!DoCustomDraw(C, Cell, Line, P, Run, Ds)) {
      C->Font()->Assign(F);
      // The text goes out through the DC itself: the canvas must select
      // the run's font first (otherwise the DC keeps the stock font).
      C->RequiredState({csHandleValid, csFontValid});
      SetTextColor(Dc, ColorToRGB(Fore));
      SetBkColor(Dc, ColorToRGB(Bk));
      // Over the background picture, text in the editor's own back colour
      // lets the picture show through.
      const bool Lit = CaretRow && Bk == Back;
      const bool OverPicture = FPaintPicture && Bk == Back && !(Lit && HlBrush);
      if (Lit && HlBrush) {
        C->Brush()->Assign(Hl->GetBrush());
        C->FillRect(Cell);
      } else if (OverPicture) {
        PaintBackgroundPart(C, Cell);
      }
      // Few colours: the cell in the nearest solid colour, the text over it.
      const bool FillFirst = FPaintFewColours && !FPaintPicture && !(Lit && HlBrush);
      if (FillFirst) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Bk);
        C->FillRect(Cell);
      }
      const bool Transparent = OverPicture || (Lit && HlBrush) || FillFirst;
      if (!Transparent && FPaintClearsOverhang) {
        TEXTMETRICA Tm{};
        if (GetTextMetricsA(Dc, &Tm) && Tm.tmOverhang > 0) {
          C->Brush()->SetStyle(bsSolid);
          C->Brush()->SetColor(Bk);
          C->FillRect({Cell.Right, Cell.Top, Cell.Right + Integer(Tm.tmOverhang), Cell.Bottom});
        }
      }
      SetTextColor(Dc, ColorToRGB(Fore));
      SetBkColor(Dc, ColorToRGB(Bk));
      SetBkMode(Dc, Transparent ? TRANSPARENT : OPAQUE);
      std::vector<int> Dx(Run.size(), Cw);
      Integer Baseline = 0;
      if (!FUseMonoFont) {
        for (Integer I = P; I < E; ++I) Dx[size_t(I - P)] = Edges[size_t(I) + 1] - Edges[size_t(I)];
        // Smaller fonts stand on the row's baseline.
        Baseline = std::max<Integer>(0, Metrics.Ascent - FontManager().GetFontMetrics(F->GetHandle()).Ascent);
      }
      ExtTextOutA(Dc, X, Y + Baseline, (Transparent ? 0 : ETO_OPAQUE) | ETO_CLIPPED, &Cell, Run.data(),
                  UINT(Run.size()), Dx.data());
      SetBkMode(Dc, OPAQUE);
      if (Lit) HighlightLines(Cell);
      Ds.Exclude(dsBeforePaint);
      Ds.Include(dsAfterPaint);
      DoCustomDraw(C, Cell, Line, P, Run, Ds);
    }
    X = Cell.Right;
    P = E;
  }
  // Right of the text: the line's background, or the selection where it
  // goes on past the line end.
  if (X < TextRect.Right) {
    bool SelRest = false;
    if (!Past && S->GetSelectionType() == stBlockSel)
      SelRest = SelStop > P;
    else if (!Past && S->GetSelectionType() == stStreamSel && !FOptions.Contains(moSelectOnlyText))
      SelRest = SelStop == MaxLine && Stop == MaxLine;
    const TRect Rest{X, Y, TextRect.Right, Y + Lh};
    C->Brush()->SetStyle(bsSolid);
    if (SelRest && S->GetSelectionType() == stBlockSel) {
      const Integer SelL = Left + (std::max(SelStart, P) - ViewStart) * Cw;
      const Integer SelR = Left + (SelStop - ViewStart) * Cw;
      FillBack(C, Rest, Back);
      C->Brush()->SetColor(FSelBackColor);
      C->FillRect({std::max(SelL, X), Y, std::min(SelR, TextRect.Right), Y + Lh});
    } else if (!SelRest && HlBrush) {
      C->Brush()->Assign(Hl->GetBrush());
      C->FillRect(Rest);
    } else {
      FillBack(C, Rest, SelRest ? FSelBackColor : Back);
    }
    if (CaretRow && !SelRest) HighlightLines(Rest);
  }
  if (FoldingShown() && !Past) {
    const Integer State = S->GetRegionState(Line);
    const Integer Fh = LineHeight();
    if (State != 2) DrawCollapseButton(C, Left - Fh, Y, State == 1, CollapseButtonInset(Fh), Fh);
  }
  // Separators: under every row, or under a line's last row.
  const TSeparatorOptions SepOptions = FLineSeparator->GetOptions();
  if (!Past && (SepOptions.Contains(moWrappedLineSeparator) ||
                (SepOptions.Contains(moDrawLineSeparator) && Stop == MaxLine))) {
    C->Pen()->Assign(FLineSeparator->GetPen());
    C->MoveTo(TextRect.Left, Y + Lh - 1);
    C->LineTo(TextRect.Right, Y + Lh - 1);
  }
  if (FOptions.Contains(moDrawMargin)) {
    const Integer Mx = Cw * (FMarginPos - (FWordWrap ? 0 : FFirstColumn)) + Left;
    if (Mx >= TextRect.Left && Mx < TextRect.Right) {
      C->Pen()->Assign(FMarginPen.get());
      C->MoveTo(Mx, Y);
      C->LineTo(Mx, Y + Lh + 1);
    }
  }
  if (FOptions.Contains(moDrawLineBookmarks) && !Past) {
    const Integer B = S->BookmarkInColumns(Line, Start, Stop);
    if (B > 0) {
      TPoint Bp;
      S->GetBookmark(B, Bp);
      const Integer Bx = ColumnX(Bp.X);
      C->Brush()->SetColor(FLineBookmarkColor);
      C->Pen()->SetColor(FLineBookmarkColor);
      C->Polygon({TPoint{Bx - Lh / 4, Y + Lh - 1}, TPoint{Bx + Lh / 4, Y + Lh - 1}, TPoint{Bx, Y + Lh - Lh / 4 - 1}});
    }
  }
}
