// RichLayout.cpp — font measuring, wrapping of paragraphs and rows, and
// pagination. All widths and heights are target device pixels.
#include "platform/richedit/RichLayout.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePages.h"

namespace {

constexpr char16_t chTab = u'\t';
constexpr char16_t chLine = u'\v';
constexpr char16_t chPage = u'\f';
constexpr char16_t chPara = u'\r';
constexpr char16_t chCell = u'\a';
constexpr char16_t chObject = u'\uFFFC';
constexpr int DefaultTabTwips = 720;

int MulDivRound(long long A, long long B, long long C) {
  if (C == 0) return 0;
  const long long P = A * B;
  const long long Q = (P >= 0 ? P + C / 2 : P - C / 2) / C;
  return int(std::clamp<long long>(Q, -(1LL << 30), 1LL << 30));
}

bool IsHighSurrogate(char16_t C) { return C >= 0xD800 && C <= 0xDBFF; }
bool IsLowSurrogate(char16_t C) { return C >= 0xDC00 && C <= 0xDFFF; }

// Ideographic and kana text breaks between any two characters.
bool BreaksAnywhere(char32_t C) {
  return (C >= 0x2E80 && C <= 0x9FFF) || (C >= 0xAC00 && C <= 0xD7AF) ||
         (C >= 0xF900 && C <= 0xFAFF) || (C >= 0xFF00 && C <= 0xFFEF) || C >= 0x20000;
}

bool IsSpace(char16_t C) { return C == u' ' || C == 0x3000; }

// Where a line ends and why.
enum class TBreak { Wrap, Paragraph, Forced, Page };

// The run that holds Offset (runs cover the text in order).
std::size_t RunAt(const TRichParagraph& P, Integer Offset) {
  auto It = std::upper_bound(P.Runs.begin(), P.Runs.end(), Offset,
                             [](Integer O, const TRichRun& R) { return O < R.Start; });
  return It == P.Runs.begin() ? 0 : std::size_t(It - P.Runs.begin() - 1);
}

// Positions after a tab: left tabs jump at once; centre, right and decimal
// tabs pull the text that follows them back against their stop, so the
// tab's width is known only when that text is.
struct TPendingTab {
  bool Active = false;
  TRichTabKind Kind = TRichTabKind::Left;
  int Start = 0;     // where the tab begins
  int Stop = 0;
  int Segment = 0;   // width of the text after the tab so far
  int BeforeDecimal = 0;
  bool DecimalSeen = false;
  int TabWidth() const {
    if (!Active) return 0;
    int Aligned = Segment;
    if (Kind == TRichTabKind::Center) Aligned = Segment / 2;
    else if (Kind == TRichTabKind::Decimal) Aligned = DecimalSeen ? BeforeDecimal : Segment;
    return std::max(0, Stop - Start - Aligned);
  }
  int End() const { return Start + TabWidth() + Segment; }
};

}  // namespace

// ---- fonts --------------------------------------------------------------------

TRichMeasureFonts::TRichMeasureFonts(int DpiX, int DpiY, WideString DefaultFace)
    : FDpiX(DpiX > 0 ? DpiX : 96), FDpiY(DpiY > 0 ? DpiY : 96), FDefaultFace(std::move(DefaultFace)) {}

TRichMeasureFonts::~TRichMeasureFonts() {
  // Our fonts out of the DC before they are deleted; FDc deletes the DC.
  if (FDc) SelectObject(FDc.Dc(), GetStockObject(SYSTEM_FONT));
  for (auto& F : FByFormat)
    if (F && F->Handle) DeleteObject(F->Handle);
}

int TRichMeasureFonts::EffectiveHalfPoints(const TRichCharFormat& F) {
  const int Size = std::clamp<int>(F.Size, 1, 3276);
  if (F.VerticalPosition != TRichVerticalPosition::Normal) return std::max(1, Size * 2 / 3);
  return Size;
}

int TRichMeasureFonts::ShiftTwips(const TRichCharFormat& F) {
  const int Size = std::clamp<int>(F.Size, 1, 3276);
  int Shift = std::clamp<int>(F.Offset, -3276, 3276) * 10;
  // Superscripts sit a third of the em above the baseline, subscripts a
  // fifth below it.
  if (F.VerticalPosition == TRichVerticalPosition::Superscript) Shift += Size * 10 / 3;
  if (F.VerticalPosition == TRichVerticalPosition::Subscript) Shift -= Size * 10 / 5;
  return Shift;
}

LOGFONTW TRichMeasureFonts::FontFor(const TRichCharFormat& F, const WideString& DefaultFace, int Height) {
  LOGFONTW Lf;
  Lf.lfHeight = -std::max(1, Height);
  Lf.lfWeight = F.Bold ? FW_BOLD : FW_NORMAL;
  Lf.lfItalic = F.Italic;
  Lf.lfUnderline = F.Underline != TRichUnderline::None;
  Lf.lfStrikeOut = F.StrikeOut;
  Lf.lfCharSet = F.Charset;
  Lf.lfPitchAndFamily = F.PitchAndFamily;
  const WideString& Face = F.Face.empty() ? DefaultFace : F.Face;
  const std::size_t N = std::min<std::size_t>(Face.size(), LF_FACESIZE - 1);
  std::copy_n(Face.begin(), N, Lf.lfFaceName);
  Lf.lfFaceName[N] = 0;
  return Lf;
}

const TRichMeasureFonts::TFont& TRichMeasureFonts::Get(Integer FormatIndex, const TRichCharFormat& F) {
  const std::size_t I = std::size_t(std::max<Integer>(FormatIndex, 0));
  if (I >= FByFormat.size()) FByFormat.resize(I + 1);
  if (!FByFormat[I]) {
    auto Font = std::make_unique<TFont>();
    Font->Owner = this;
    const int Height = MulDivRound(EffectiveHalfPoints(F) * 10, FDpiY, 1440);
    const LOGFONTW Lf = FontFor(F, FDefaultFace, Height);
    Font->Handle = CreateFontIndirectW(&Lf);
    SelectObject(FDc.Dc(), Font->Handle);
    TEXTMETRICW Tm;
    if (GetTextMetricsW(FDc.Dc(), &Tm)) {
      Font->Ascent = Tm.tmAscent;
      Font->Descent = Tm.tmDescent;
    } else {
      Font->Ascent = Height * 4 / 5;
      Font->Descent = Height - Font->Ascent;
    }
    Font->Shift = MulDivRound(ShiftTwips(F), FDpiY, 1440);
    FByFormat[I] = std::move(Font);
  }
  return *FByFormat[I];
}

void TRichMeasureFonts::FillPage(const TFont& F, int Page) const {
  auto Widths = std::make_unique<int[]>(256);
  SelectObject(FDc.Dc(), F.Handle);
  if (!GetCharWidth32W(FDc.Dc(), UINT(Page) * 256, UINT(Page) * 256 + 255, Widths.get()))
    std::fill_n(Widths.get(), 256, 0);
  F.Pages[std::size_t(Page)] = std::move(Widths);
}

int TRichMeasureFonts::TFont::Advance(char16_t Ch) const {
  const int Page = Ch >> 8;
  if (!Pages[std::size_t(Page)]) Owner->FillPage(*this, Page);
  return Pages[std::size_t(Page)][Ch & 0xFF];
}

// ---- wrapping -------------------------------------------------------------------

TRichLayout::TRichLayout(const TRichDocument& Doc, TRichLayoutParams Params)
    : FDoc(Doc),
      FParams(std::move(Params)),
      FFonts(FParams.DpiX, FParams.DpiY, FParams.DefaultFace),
      FWidthPx(0) {
  FWidthPx = std::max(0, TwipsToPxX(FParams.WidthTwips));
  FParas.resize(FDoc.Paragraphs().size());
  FRows.resize(FDoc.Paragraphs().size());
}

TRichLayout::~TRichLayout() = default;

int TRichLayout::TwipsToPxX(long long Twips) const { return MulDivRound(Twips, FFonts.DpiX(), 1440); }
int TRichLayout::TwipsToPxY(long long Twips) const { return MulDivRound(Twips, FFonts.DpiY(), 1440); }

namespace {

// Wraps one paragraph; a small object so the two passes share their setup.
class TWrapper {
public:
  TWrapper(TRichLayout& L, TRichMeasureFonts& Fonts, const TRichDocument& Doc, Integer Index, int Width)
      : FL(L), FFonts(Fonts), FDoc(Doc), FP(Doc.Paragraphs()[std::size_t(Index)]), FPF(*FP.Format),
        FWidth(Width) {
    FLeftIndent = L.TwipsToPxX(FPF.LeftIndent);
    FRightIndent = L.TwipsToPxX(FPF.RightIndent);
    FFirstIndent = L.TwipsToPxX(FPF.FirstIndent);
    FDefaultTab = std::max(1, L.TwipsToPxX(DefaultTabTwips));
  }

  void Run(TRichParaLayout& Out, Integer StartOffset, int StopBelow) {
    const Integer Len = Integer(FP.Text.size());
    int Y = Out.SpaceBefore;
    Integer Offset = std::clamp<Integer>(StartOffset, 0, Len);
    bool First = StartOffset == 0;
    int TextStart = -1;   // where line one's text starts after a numbering mark
    if (First && !Out.Marker.empty()) {
      // The mark sits at the first-line indent; the text follows at the
      // hanging indent (or the numbering indent past the mark), and at the
      // next default tab stop when the mark reaches that far.
      const Integer Look = FPF.NumberingFormat;
      Out.MarkerFormat = Look >= 0 && std::size_t(Look) < FDoc.CharFormats().size() ? Look : FP.Runs.front().Format;
      Out.MarkerX = std::max(0, FLeftIndent + FFirstIndent);
      TRichRun MarkRun;
      MarkRun.Format = Out.MarkerFormat;
      const auto& Font = FontOf(MarkRun);
      int W = 0;
      for (char16_t C : Out.Marker) W += Font.Advance(C);
      FMarkAscent = Font.Ascent + Font.Shift;
      FMarkDescent = Font.Descent - Font.Shift;
      const int MarkEnd = Out.MarkerX + W;
      const int Gap = FFirstIndent < 0 ? FLeftIndent : Out.MarkerX + FL.TwipsToPxX(FPF.NumberingIndent);
      TextStart = MarkEnd < Gap ? Gap : (MarkEnd / FDefaultTab + 1) * FDefaultTab;
    }
    while (Offset < Len) {
      TRichLine Line;
      Line.Start = Offset;
      int Indent = std::max(0, FLeftIndent + (First ? FFirstIndent : 0));
      if (First && TextStart >= 0) Indent = TextStart;
      TBreak Why = TBreak::Wrap;
      const Integer End = FindBreak(Offset, Indent, First, Why);
      Build(Line, Offset, End, Indent, First, Why);
      Line.Top = Y;
      Y += Line.Height;
      const bool PageBreak = Line.PageBreak;
      Out.Lines.push_back(std::move(Line));
      Offset = End;
      First = false;
      if (StopBelow >= 0 && Offset < Len && (Y > StopBelow || PageBreak)) {
        Out.Partial = true;
        Out.Height = Y;
        return;
      }
    }
    Out.Height = Y + FL.TwipsToPxY(std::max<Integer>(0, FPF.SpaceAfter));
  }

private:
  const TRichCharFormat& FormatOf(const TRichRun& R) const {
    const auto& Formats = FDoc.CharFormats();
    if (R.Format >= 0 && std::size_t(R.Format) < Formats.size()) return Formats[std::size_t(R.Format)];
    static const TRichCharFormat Default;
    return Default;
  }
  const TRichMeasureFonts::TFont& FontOf(const TRichRun& R) {
    return FFonts.Get(R.Format >= 0 && std::size_t(R.Format) < FDoc.CharFormats().size() ? R.Format : 0,
                      FormatOf(R));
  }
  const TRichPicture* PictureOf(const TRichRun& R) const {
    if (R.Picture < 0 || std::size_t(R.Picture) >= FDoc.Pictures().size()) return nullptr;
    return &FDoc.Pictures()[std::size_t(R.Picture)];
  }
  TSize PictureSize(const TRichPicture& Pic) const {
    const TSize S = Pic.DisplaySize();
    return {std::max(0, FL.TwipsToPxX(S.cx)), std::max(0, FL.TwipsToPxY(S.cy))};
  }

  int LineRight() const { return FWidth - std::max(0, FRightIndent); }

  // The next tab stop after Pos: the paragraph's stops, the hanging
  // indent's implicit stop on the first line, then the default grid.
  std::pair<int, TRichTabKind> NextTab(int Pos, bool First) const {
    int Best = -1;
    TRichTabKind Kind = TRichTabKind::Left;
    for (const auto& T : FPF.Tabs) {
      if (T.Kind == TRichTabKind::Bar) continue;
      const int X = FL.TwipsToPxX(T.Position);
      if (X > Pos) {
        Best = X;
        Kind = T.Kind;
        break;
      }
    }
    if (First && FFirstIndent < 0 && FLeftIndent > Pos && (Best < 0 || FLeftIndent < Best)) {
      Best = FLeftIndent;
      Kind = TRichTabKind::Left;
    }
    if (Best < 0) Best = (Pos / FDefaultTab + 1) * FDefaultTab;
    return {Best, Kind};
  }

  // Pass 1: the offset after the last character of the line that starts at
  // Offset.
  Integer FindBreak(Integer Offset, int Indent, bool First, TBreak& Why) {
    const TRichText& T = FP.Text;
    const Integer Len = Integer(T.size());
    const int Right = LineRight();
    std::size_t RunIndex = RunAt(FP, Offset);
    int Pos = Indent;
    TPendingTab Tab;
    Integer LastOpportunity = -1;
    auto CurrentEnd = [&] { return Tab.Active ? Tab.End() : Pos; };
    auto Add = [&](int W) {
      if (Tab.Active) {
        Tab.Segment += W;
        if (!Tab.DecimalSeen) Tab.BeforeDecimal += W;
      } else {
        Pos += W;
      }
    };
    for (Integer I = Offset; I < Len; ++I) {
      while (RunIndex + 1 < FP.Runs.size() && FP.Runs[RunIndex + 1].Start <= I) ++RunIndex;
      const TRichRun& R = FP.Runs[RunIndex];
      const char16_t Ch = T[std::size_t(I)];
      if (Ch == chPara || Ch == chCell) {
        Why = TBreak::Paragraph;
        return I + 1;
      }
      if (Ch == chLine) {
        Why = TBreak::Forced;
        return I + 1;
      }
      if (Ch == chPage) {
        Why = TBreak::Page;
        return I + 1;
      }
      if (FormatOf(R).Hidden && R.Picture < 0) continue;
      if (Ch == chTab) {
        Pos = CurrentEnd();
        const auto [Stop, Kind] = NextTab(Pos, First);
        Tab = {};
        if (Kind == TRichTabKind::Left) {
          Pos = std::max(Pos, std::min(Stop, std::max(Pos, Right)));
        } else {
          Tab.Active = true;
          Tab.Kind = Kind;
          Tab.Start = Pos;
          Tab.Stop = Stop;
        }
        LastOpportunity = I + 1;
        continue;
      }
      if (IsSpace(Ch)) {
        Add(FontOf(R).Advance(Ch));
        LastOpportunity = I + 1;
        continue;
      }
      int W = 0;
      Integer Units = 1;
      char32_t Code = Ch;
      if (Ch == chObject && R.Picture >= 0) {
        if (const TRichPicture* Pic = PictureOf(R)) W = PictureSize(*Pic).cx;
        if (I > Offset) LastOpportunity = std::max(LastOpportunity, I);
      } else if (IsHighSurrogate(Ch) && I + 1 < Len && IsLowSurrogate(T[std::size_t(I + 1)])) {
        Code = 0x10000 + ((char32_t(Ch) - 0xD800) << 10) + (char32_t(T[std::size_t(I + 1)]) - 0xDC00);
        W = FontOf(R).Advance(Ch);
        Units = 2;
      } else {
        W = FontOf(R).Advance(Ch);
      }
      if (BreaksAnywhere(Code) && I > Offset) LastOpportunity = std::max(LastOpportunity, I);
      if (I > Offset && CurrentEnd() + W > Right) {
        Why = TBreak::Wrap;
        return LastOpportunity > Offset ? LastOpportunity : I;
      }
      if (Tab.Active && Tab.Kind == TRichTabKind::Decimal && Ch == u'.') Tab.DecimalSeen = true;
      Add(W);
      I += Units - 1;
      if (Ch == u'-' || Ch == 0x2010 || Ch == 0x2013 || Ch == 0x2014 || BreaksAnywhere(Code) ||
          Ch == chObject)
        LastOpportunity = I + 1;
    }
    Why = TBreak::Paragraph;
    return Len;
  }

  // Pass 2: the items, height and alignment of the line [Start, End).
  void Build(TRichLine& Line, Integer Start, Integer End, int Indent, bool First, TBreak Why) {
    const TRichText& T = FP.Text;
    const int Right = LineRight();
    Line.End = End;
    Line.PageBreak = Why == TBreak::Page;
    std::size_t RunIndex = RunAt(FP, Start);
    int Pos = Indent;
    int Ascent = 0, Descent = 0;
    bool Visible = false;
    int ContentEnd = Indent;        // after the last non-space
    std::size_t PendingItem = 0;    // the item of an aligned tab
    TPendingTab Tab;
    std::size_t AfterLastTab = 0;   // justification spreads spaces after the last tab
    // Items are placed as if pending tabs were empty; CloseTab shifts them.
    int Cursor = Indent;

    auto CloseTab = [&] {
      if (!Tab.Active) return;
      const int Width = Tab.TabWidth();
      Line.Items[PendingItem].Width = Width;
      for (std::size_t K = PendingItem + 1; K < Line.Items.size(); ++K) Line.Items[K].X += Width;
      Cursor += Width;
      Pos = Cursor;
      if (ContentEnd > Tab.Start) ContentEnd += Width;
      Tab = {};
    };
    auto Advance = [&](int W) {
      if (Tab.Active) {
        Tab.Segment += W;
        if (!Tab.DecimalSeen) Tab.BeforeDecimal += W;
      }
    };

    for (Integer I = Start; I < End; ++I) {
      while (RunIndex + 1 < FP.Runs.size() && FP.Runs[RunIndex + 1].Start <= I) ++RunIndex;
      const TRichRun& R = FP.Runs[RunIndex];
      const char16_t Ch = T[std::size_t(I)];
      if (Ch == chPara || Ch == chCell || Ch == chLine || Ch == chPage) continue;
      const TRichCharFormat& F = FormatOf(R);
      if (F.Hidden && R.Picture < 0) continue;
      if (Ch == chTab) {
        CloseTab();
        const auto [Stop, Kind] = NextTab(Pos, First);
        TRichLineItem Item;
        Item.Kind = TRichLineItem::TKind::Tab;
        Item.Start = I;
        Item.Length = 1;
        Item.Format = R.Format;
        Item.X = Pos;
        if (Kind == TRichTabKind::Left) {
          const int To = std::max(Pos, std::min(Stop, std::max(Pos, Right)));
          Item.Width = To - Pos;
          Pos = To;
        } else {
          Tab.Active = true;
          Tab.Kind = Kind;
          Tab.Start = Pos;
          Tab.Stop = Stop;
          PendingItem = Line.Items.size();
        }
        Cursor = Pos;
        Line.Items.push_back(Item);
        AfterLastTab = Line.Items.size();
        ContentEnd = std::max(ContentEnd, Pos);
        continue;
      }
      if (Ch == chObject && R.Picture >= 0) {
        TRichLineItem Item;
        Item.Kind = TRichLineItem::TKind::Picture;
        Item.Start = I;
        Item.Length = 1;
        Item.Format = R.Format;
        Item.Picture = R.Picture;
        Item.X = Cursor;
        if (const TRichPicture* Pic = PictureOf(R)) {
          const TSize S = PictureSize(*Pic);
          Item.Width = S.cx;
          Ascent = std::max(Ascent, S.cy);
        }
        Cursor += Item.Width;
        Advance(Item.Width);
        if (!Tab.Active) Pos = Cursor;
        Line.Items.push_back(Item);
        ContentEnd = Tab.Active ? Cursor : Pos;
        Visible = true;
        continue;
      }
      const auto& Font = FontOf(R);
      Ascent = std::max(Ascent, Font.Ascent + Font.Shift);
      Descent = std::max(Descent, Font.Descent - Font.Shift);
      Visible = true;
      int W = Font.Advance(Ch);
      Integer Units = 1;
      if (IsHighSurrogate(Ch) && I + 1 < End && IsLowSurrogate(T[std::size_t(I + 1)])) Units = 2;
      TRichLineItem* Item = Line.Items.empty() ? nullptr : &Line.Items.back();
      if (!Item || Item->Kind != TRichLineItem::TKind::Text || Item->Format != R.Format ||
          Item->Start + Item->Length != I) {
        TRichLineItem New;
        New.Start = I;
        New.Format = R.Format;
        New.X = Cursor;
        Line.Items.push_back(New);
        Item = &Line.Items.back();
      }
      Item->Length += Units;
      Item->Width += W;
      Cursor += W;
      if (Tab.Active && Tab.Kind == TRichTabKind::Decimal && Ch == u'.') Tab.DecimalSeen = true;
      Advance(W);
      if (!Tab.Active) Pos = Cursor;
      if (!IsSpace(Ch)) ContentEnd = Cursor;
      I += Units - 1;
    }
    CloseTab();

    // Height: the tallest run; an empty line takes its end mark's font.
    if (!Visible) {
      const std::size_t K = RunAt(FP, std::max<Integer>(Start, End - 1));
      const auto& Font = FontOf(FP.Runs[K]);
      Ascent = Font.Ascent;
      Descent = Font.Descent;
    }
    if (First) {
      // The numbering mark stands on line one: its font counts too.
      Ascent = std::max(Ascent, FMarkAscent);
      Descent = std::max(Descent, FMarkDescent);
    }
    const int Natural = Ascent + Descent;
    int Height = Natural;
    int Baseline = Ascent;
    const Integer Sl = FPF.LineSpacing;
    if (FPF.LineSpacingMultiple && Sl > 0) {
      Height = std::max(1, int((long long)Natural * std::min<Integer>(Sl, 240 * 100) / 240));
    } else if (Sl > 0) {
      Height = std::max(Natural, FL.TwipsToPxY(Sl));
      Baseline = Height - Descent;
    } else if (Sl < 0) {
      Height = std::max(1, FL.TwipsToPxY(-(long long)Sl));
      Baseline = Height - Descent;
    }
    Line.Height = Height;
    Line.Baseline = Baseline;
    Line.Ascent = Ascent;
    Line.Descent = Descent;

    // Alignment of the content between the indents (trailing spaces hang).
    TRichAlignment Align = FPF.Alignment;
    if (FPF.RightToLeft) {
      if (Align == TRichAlignment::Left) Align = TRichAlignment::Right;
      else if (Align == TRichAlignment::Right) Align = TRichAlignment::Left;
    }
    const int Slack = Right - ContentEnd;
    int Shift = 0;
    if (Align == TRichAlignment::Center) Shift = std::max(0, Slack / 2);
    else if (Align == TRichAlignment::Right) Shift = std::max(0, Slack);
    else if (Align == TRichAlignment::Justify && Why == TBreak::Wrap && Slack > 0) {
      // Spaces after the last tab and before the content's end share the slack.
      int Spaces = 0;
      for (std::size_t K = AfterLastTab; K < Line.Items.size(); ++K) {
        TRichLineItem& It = Line.Items[K];
        if (It.Kind != TRichLineItem::TKind::Text) continue;
        int Count = 0;
        for (Integer C = It.Start; C < It.Start + It.Length; ++C)
          if (IsSpace(T[std::size_t(C)])) ++Count;
        It.Spaces = Count;
        Spaces += Count;
      }
      // Trailing spaces take nothing: remove them from the count.
      for (std::size_t K = Line.Items.size(); K-- > AfterLastTab && Spaces > 0;) {
        TRichLineItem& It = Line.Items[K];
        if (It.Kind != TRichLineItem::TKind::Text) break;
        Integer C = It.Start + It.Length;
        while (C > It.Start && IsSpace(T[std::size_t(C - 1)])) {
          --C;
          --It.Spaces;
          --Spaces;
        }
        if (C > It.Start) break;
      }
      if (Spaces > 0) {
        Line.JustifyExtra = Slack;
        Line.JustifySpaces = Spaces;
        int Before = 0;
        for (std::size_t K = 0; K < Line.Items.size(); ++K) {
          TRichLineItem& It = Line.Items[K];
          const int Start0 = int((long long)Slack * Before / Spaces);
          const int End0 = int((long long)Slack * (Before + It.Spaces) / Spaces);
          It.X += Start0;
          It.Width += End0 - Start0;
          Before += It.Spaces;
        }
      }
    }
    if (Shift)
      for (auto& It : Line.Items) It.X += Shift;
  }

  TRichLayout& FL;
  TRichMeasureFonts& FFonts;
  const TRichDocument& FDoc;
  const TRichParagraph& FP;
  const TRichParaFormat& FPF;
  int FWidth;
  int FLeftIndent = 0, FRightIndent = 0, FFirstIndent = 0, FDefaultTab = 1;
  int FMarkAscent = 0, FMarkDescent = 0;   // the numbering mark's font, when there is a mark
};

}  // namespace

TRichParaLayout TRichLayout::Wrap(Integer Index, Integer StartOffset, int Left, int Width, int StopBelow) {
  TRichParaLayout Out;
  Out.Paragraph = Index;
  Out.Left = Left;
  Out.Width = Width;
  const TRichParagraph& P = FDoc.Paragraphs()[std::size_t(Index)];
  if (FDoc.ParagraphHidden(Index)) return Out;  // no lines, no spacing, no mark
  if (StartOffset == 0 && P.Format->Numbering != TRichNumbering::None && !P.Runs.empty())
    Out.Marker = NumberingText(Index);
  Out.SpaceBefore = StartOffset == 0 ? std::max(0, TwipsToPxY(P.Format->SpaceBefore)) : 0;
  if (P.Runs.empty() || P.Text.empty()) {
    Out.Height = Out.SpaceBefore;
    return Out;
  }
  TWrapper(*this, FFonts, FDoc, Index, Width).Run(Out, StartOffset, StopBelow);
  return Out;
}

const TRichParaLayout& TRichLayout::Paragraph(Integer Index) {
  auto& Slot = FParas.at(std::size_t(Index));
  if (!Slot) Slot = std::make_unique<TRichParaLayout>(Wrap(Index, 0, 0, FWidthPx));
  return *Slot;
}

const TRichParaLayout& TRichLayout::Continuation(Integer Index, Integer Offset) {
  if (!FContinuation || FContinuation->Paragraph != Index || FContinuationOffset != Offset ||
      FContinuation->Partial) {
    FContinuation = std::make_unique<TRichParaLayout>(Wrap(Index, Offset, 0, FWidthPx));
    FContinuationOffset = Offset;
    FContinuationRoom = -1;
  }
  return *FContinuation;
}

const TRichParaLayout& TRichLayout::Window(Integer Index, Integer Offset, int Room) {
  // A window wrapped for at least this much room (or to the end) serves.
  if (!FContinuation || FContinuation->Paragraph != Index || FContinuationOffset != Offset ||
      (FContinuation->Partial && FContinuationRoom < Room)) {
    FContinuation.reset();   // first, so that the old and the new never coexist
    FContinuation = std::make_unique<TRichParaLayout>(Wrap(Index, Offset, 0, FWidthPx, Room));
    FContinuationOffset = Offset;
    FContinuationRoom = Room;
  }
  return *FContinuation;
}

namespace {

// The visible cells of a row in twips from the row's origin: a merged cell
// widens the one before it. Without \cellx the row is one cell as wide as
// Avail. Shift moves the row for its alignment within Avail.
struct TCellEdges {
  std::vector<std::pair<long long, long long>> Edges;
  std::vector<const TRichTableCell*> Specs;
  std::vector<int> CellOfSpec;   // visible cell of each \cellx
  long long Shift = 0;
};

TCellEdges CellEdges(const TRichTableRow& R, long long Avail) {
  TCellEdges E;
  long long Prev = R.Left;
  int Visible = -1;
  for (const auto& C : R.Cells) {
    const long long Right = std::max<long long>(C.Right, Prev);
    if (C.MergedWithPrevious && !E.Edges.empty()) {
      E.Edges.back().second = Right;
    } else {
      E.Edges.push_back({Prev, Right});
      E.Specs.push_back(&C);
      ++Visible;
    }
    E.CellOfSpec.push_back(Visible);
    Prev = Right;
  }
  if (E.Edges.empty()) {
    E.Edges.push_back({0, Avail});
    E.Specs.push_back(nullptr);
  }
  const long long RowRight = E.Edges.back().second;
  if (R.Alignment == TRichAlignment::Center) E.Shift = std::max<long long>(0, (Avail - RowRight - R.Left) / 2);
  else if (R.Alignment == TRichAlignment::Right) E.Shift = std::max<long long>(0, Avail - RowRight);
  return E;
}

// The visible cell that holds a paragraph naming cell Index: a cell past the
// last lands in the last one.
std::size_t CellFor(const TCellEdges& E, Integer Index) {
  if (Index >= 0 && std::size_t(Index) < E.CellOfSpec.size()) return std::size_t(E.CellOfSpec[std::size_t(Index)]);
  return E.Edges.size() - 1;
}

int RowHeight(const std::vector<int>& CellHeights, Integer Rule, int RulePx) {
  int Height = 0;
  for (int H : CellHeights) Height = std::max(Height, H);
  if (Rule > 0) Height = std::max(Height, RulePx);
  else if (Rule < 0) Height = std::max(1, RulePx);
  return Height;
}

}  // namespace

const TRichRowLayout& TRichLayout::RowOf(Integer Paragraph) {
  const auto& Paras = FDoc.Paragraphs();
  const Integer RowIndex = Paras.at(std::size_t(Paragraph)).Row;
  Integer First = Paragraph;
  while (First > 0 && Paras[std::size_t(First - 1)].Row == RowIndex) --First;
  auto& Slot = FRows[std::size_t(First)];
  if (Slot) return *Slot;
  Integer Last = Paragraph;
  while (std::size_t(Last + 1) < Paras.size() && Paras[std::size_t(Last + 1)].Row == RowIndex) ++Last;

  auto Row = std::make_unique<TRichRowLayout>();
  Row->Row = RowIndex;
  Row->FirstParagraph = First;
  Row->LastParagraph = Last;
  Row->FirstCp = Paras[std::size_t(First)].FirstCp;
  Row->EndCp = Paras[std::size_t(Last)].FirstCp + Integer(Paras[std::size_t(Last)].Text.size());
  TRichTableRow Def;
  const TRichTableRow& R =
      RowIndex >= 0 && std::size_t(RowIndex) < FDoc.Rows().size() ? FDoc.Rows()[std::size_t(RowIndex)] : Def;
  const TCellEdges E = CellEdges(R, FParams.WidthTwips);
  const int Gap = std::max(0, TwipsToPxX(R.Gap));
  // Cells go into bands: a cell that would pass the right edge starts a
  // new band, its left edge where the row's first band starts (never left
  // of the rectangle); a cell wider than the rectangle is narrowed to it.
  // Tables may reach half an inch into the margin, as word processors
  // let them, before a cell moves.
  const long long Avail = std::max(FParams.WidthTwips, 1);
  const long long Reach = Avail + 720;
  const long long RowStart = E.Edges.front().first + E.Shift;
  const long long BandStart = RowStart < 0 || RowStart >= Avail ? 0 : RowStart;
  std::vector<int> BandOf(E.Edges.size(), 0);
  long long Move = RowStart >= Avail ? RowStart : 0;   // twips the current band is moved left
  int Band = 0;
  for (std::size_t C = 0; C < E.Edges.size(); ++C) {
    long long L = E.Edges[C].first + E.Shift - Move, Rt = E.Edges[C].second + E.Shift - Move;
    if (C > 0 && Rt > Reach && L > BandStart) {
      ++Band;
      Move = E.Edges[C].first + E.Shift - BandStart;
      L = BandStart;
      Rt = E.Edges[C].second + E.Shift - Move;
    }
    if (Rt > Reach) Rt = std::max(Reach, L + 1);
    BandOf[C] = Band;
    TRichCellLayout Cell;
    Cell.Left = TwipsToPxX(L);
    Cell.Right = TwipsToPxX(Rt);
    if (E.Specs[C]) {
      Cell.HasShading = E.Specs[C]->HasShading;
      Cell.Shading = E.Specs[C]->Shading;
      Cell.Borders = E.Specs[C]->Borders;
      Cell.Flow = E.Specs[C]->TextFlow;
    }
    Row->Cells.push_back(std::move(Cell));
  }
  // A cell that holds a nested table is not turned.
  std::vector<std::vector<Integer>> CellParagraphs(Row->Cells.size());
  for (Integer P = First; P <= Last; ++P) {
    const std::size_t C = CellFor(E, Paras[std::size_t(P)].Cell);
    CellParagraphs[C].push_back(P);
    if (Paras[std::size_t(P)].NestRow >= 0) Row->Cells[C].Flow = TRichTextFlow::Horizontal;
  }
  // Paragraphs go to their cells; a merged cell's paragraphs join the cell
  // it extends. The paragraphs of a nested row go in as one block.
  std::vector<int> CellHeights(Row->Cells.size(), 0);
  for (Integer P = First; P <= Last;) {
    const TRichParagraph& Para = Paras[std::size_t(P)];
    const std::size_t C = CellFor(E, Para.Cell);
    TRichCellLayout& Cell = Row->Cells[C];
    const int Left = Cell.Left + Gap;
    const int Width = std::max(0, Cell.Right - Gap - Left);
    if (Cell.Flow != TRichTextFlow::Horizontal && Para.NestRow < 0) {
      ++P;   // laid out once the band's height is known
      continue;
    }
    if (Para.NestRow >= 0) {
      Integer Q = P;
      while (Q < Last && Paras[std::size_t(Q + 1)].NestRow == Para.NestRow && Paras[std::size_t(Q + 1)].Cell == Para.Cell)
        ++Q;
      CellHeights[C] += NestedRow(Cell, P, Q, Left, Width, CellHeights[C]);
      P = Q + 1;
      continue;
    }
    TRichParaLayout L = Wrap(P, 0, Left, Width);
    for (auto& Line : L.Lines) Line.Top += CellHeights[C];
    CellHeights[C] += L.Height;
    Cell.Paragraphs.push_back(std::move(L));
    ++P;
  }
  // Bands stack; each is as tall as its tallest cell and the row's rule.
  const int RulePx = TwipsToPxY(R.Height < 0 ? -(long long)R.Height : R.Height);
  int Top = 0;
  for (int B = 0; B <= Band; ++B) {
    std::vector<int> Heights;
    std::size_t Driver = Row->Cells.size();
    for (std::size_t C = 0; C < Row->Cells.size(); ++C)
      if (BandOf[C] == B && Row->Cells[C].Flow == TRichTextFlow::Horizontal) {
        Heights.push_back(CellHeights[C]);
        if (Driver == Row->Cells.size() || CellHeights[C] > CellHeights[Driver]) Driver = C;
      }
    // Turned cells: their lines run along the band's height, which they
    // stretch up to their text's length (at most the rectangle's width).
    const int Upright = RowHeight(Heights, R.Height, RulePx);
    for (std::size_t C = 0; C < Row->Cells.size(); ++C)
      if (BandOf[C] == B && Row->Cells[C].Flow != TRichTextFlow::Horizontal)
        Heights.push_back(TurnedCell(Row->Cells[C], CellParagraphs[C], Gap, Upright));
    const int Height = RowHeight(Heights, R.Height, RulePx);
    for (std::size_t C = 0; C < Row->Cells.size(); ++C) {
      if (BandOf[C] != B) continue;
      TRichCellLayout& Cell = Row->Cells[C];
      Cell.Top = Top;
      Cell.Bottom = Top + Height;
      if (Top == 0) continue;
      for (auto& L : Cell.Paragraphs)
        for (auto& Line : L.Lines) Line.Top += Top;
      for (auto& F : Cell.NestedCells) {
        F.Top += Top;
        F.Bottom += Top;
      }
    }
    if (Driver < Row->Cells.size()) AddBreaks(*Row, Row->Cells[Driver]);
    Top += Height;
  }
  Row->Height = Top;
  Slot = std::move(Row);
  return *Slot;
}

int TRichLayout::TurnedCell(TRichCellLayout& Cell, const std::vector<Integer>& Paragraphs, int Gap, int Upright) {
  // The text's length unwrapped, then the length its lines get.
  int Natural = 0;
  for (Integer P : Paragraphs)
    for (const TRichLine& Line : Wrap(P, 0, 0, 1 << 24).Lines) {
      int W = 0;
      for (const TRichLineItem& It : Line.Items) W += It.Width;
      Natural = std::max(Natural, W);
    }
  Cell.Along = std::max({1, Upright - 2 * Gap, std::min(Natural, FWidthPx)});
  Cell.Gap = Gap;
  int Across = 0;
  for (Integer P : Paragraphs) {
    TRichParaLayout L = Wrap(P, 0, 0, Cell.Along);
    for (auto& Line : L.Lines) Line.Top += Across;
    Across += L.Height;
    Cell.Paragraphs.push_back(std::move(L));
  }
  return Cell.Along + 2 * Gap;
}

// The lines of a band's tallest cell are where its row may be cut; inside a
// nested row, the lines of that row's tallest cell.
void TRichLayout::AddBreaks(TRichRowLayout& Row, const TRichCellLayout& Cell) const {
  const auto& Paras = FDoc.Paragraphs();
  auto Add = [&](const TRichParaLayout& L) {
    const Integer FirstCp = Paras[std::size_t(L.Paragraph)].FirstCp;
    for (const TRichLine& Line : L.Lines) {
      const Integer Cp = FirstCp + Line.Start;
      if (!Row.Breaks.empty() && (Line.Top <= Row.Breaks.back().first || Cp <= Row.Breaks.back().second)) continue;
      Row.Breaks.push_back({Line.Top, Cp});
    }
  };
  auto Bottom = [](const TRichParaLayout& L) {
    return L.Lines.empty() ? 0 : L.Lines.back().Top + L.Lines.back().Height;
  };
  const auto& Ps = Cell.Paragraphs;
  for (std::size_t I = 0; I < Ps.size();) {
    const TRichParagraph& Para = Paras[std::size_t(Ps[I].Paragraph)];
    if (Para.NestRow < 0) {
      Add(Ps[I++]);
      continue;
    }
    // A nested row: its paragraphs, cell by cell; follow its tallest cell.
    std::size_t J = I;
    while (J < Ps.size() && Paras[std::size_t(Ps[J].Paragraph)].NestRow == Para.NestRow) ++J;
    Integer Tallest = -1;
    int Deepest = -1;
    for (std::size_t K = I; K < J; ++K) {
      const Integer NestCell = Paras[std::size_t(Ps[K].Paragraph)].NestCell;
      if (Bottom(Ps[K]) > Deepest) {
        Deepest = Bottom(Ps[K]);
        Tallest = NestCell;
      }
    }
    for (std::size_t K = I; K < J; ++K)
      if (Paras[std::size_t(Ps[K].Paragraph)].NestCell == Tallest) Add(Ps[K]);
    I = J;
  }
}

int TRichLayout::RowTopAt(const TRichRowLayout& Row, Integer Cp) const {
  const auto& Paras = FDoc.Paragraphs();
  for (const TRichCellLayout& Cell : Row.Cells)
    for (const TRichParaLayout& L : Cell.Paragraphs) {
      if (Cell.Flow != TRichTextFlow::Horizontal) break;
      const TRichParagraph& Para = Paras[std::size_t(L.Paragraph)];
      if (Cp < Para.FirstCp || Cp >= Para.FirstCp + Integer(Para.Text.size())) continue;
      for (const TRichLine& Line : L.Lines)
        if (Cp - Para.FirstCp < Line.End) return Line.Top;
    }
  return 0;
}

int TRichLayout::NestedRow(TRichCellLayout& Cell, Integer First, Integer Last, int Left, int Width, int Top) {
  const auto& Paras = FDoc.Paragraphs();
  const Integer RowIndex = Paras[std::size_t(First)].NestRow;
  TRichTableRow Def;
  const TRichTableRow& R =
      RowIndex >= 0 && std::size_t(RowIndex) < FDoc.Rows().size() ? FDoc.Rows()[std::size_t(RowIndex)] : Def;
  const long long AvailTwips = (long long)Width * 1440 / FFonts.DpiX();
  const TCellEdges E = CellEdges(R, AvailTwips);
  const int Gap = std::max(0, TwipsToPxX(R.Gap));
  const std::size_t FirstFrame = Cell.NestedCells.size();
  for (std::size_t C = 0; C < E.Edges.size(); ++C) {
    TRichCellFrame F;
    F.Left = Left + TwipsToPxX(E.Edges[C].first + E.Shift);
    F.Right = Left + TwipsToPxX(E.Edges[C].second + E.Shift);
    F.Top = Top;
    if (E.Specs[C]) {
      F.HasShading = E.Specs[C]->HasShading;
      F.Shading = E.Specs[C]->Shading;
      F.Borders = E.Specs[C]->Borders;
    }
    Cell.NestedCells.push_back(F);
  }
  std::vector<int> Heights(E.Edges.size(), 0);
  for (Integer P = First; P <= Last; ++P) {
    const std::size_t C = CellFor(E, Paras[std::size_t(P)].NestCell);
    const TRichCellFrame& F = Cell.NestedCells[FirstFrame + C];
    const int TextLeft = F.Left + Gap;
    TRichParaLayout L = Wrap(P, 0, TextLeft, std::max(0, F.Right - Gap - TextLeft));
    for (auto& Line : L.Lines) Line.Top += Top + Heights[C];
    Heights[C] += L.Height;
    Cell.Paragraphs.push_back(std::move(L));
  }
  const int Height = RowHeight(Heights, R.Height, TwipsToPxY(R.Height < 0 ? -(long long)R.Height : R.Height));
  for (std::size_t C = FirstFrame; C < Cell.NestedCells.size(); ++C) Cell.NestedCells[C].Bottom = Top + Height;
  return Height;
}

// ---- pagination -------------------------------------------------------------------

namespace {
// Characters from which a paragraph is paged as it goes rather than wrapped
// whole (far beyond any paragraph a person writes).
constexpr std::size_t LongParagraph = 16384;
}  // namespace

void TRichLayout::ReleaseBefore(std::size_t Paragraph) {
  if (Paragraph <= FReleasedTo) {
    FReleasedTo = Paragraph;   // paging back: what lies from here on may fill again
    return;
  }
  std::size_t Kept = Paragraph;
  for (std::size_t I = FReleasedTo; I < Paragraph; ++I) {
    FParas[I].reset();
    // A row is kept under its first paragraph; one that reaches Paragraph
    // stays, and the next release looks at it again.
    if (!FRows[I]) continue;
    if (std::size_t(FRows[I]->LastParagraph) < Paragraph) FRows[I].reset();
    else Kept = std::min(Kept, I);
  }
  if (FContinuation && std::size_t(FContinuation->Paragraph) < Paragraph) {
    FContinuation.reset();
    FContinuationOffset = -1;
  }
  FReleasedTo = Kept;
}

TRichPage TRichLayout::Paginate(Integer CpMin, Integer CpMax, int HeightTwips) {
  TRichPage Page;
  const Integer Len = FDoc.TextLength();
  CpMin = std::clamp<Integer>(CpMin, 0, Len);
  Integer Limit = CpMax < 0 || CpMax > Len ? Len : CpMax;
  if (Limit < CpMin) Limit = CpMin;
  Page.CpMin = CpMin;
  Page.CpLimit = Limit;
  Page.CpEnd = CpMin;
  const int Avail = std::max(0, TwipsToPxY(HeightTwips));
  const auto& Paras = FDoc.Paragraphs();

  Integer Cp = CpMin;
  int Y = 0;
  std::size_t P = std::size_t(FDoc.ParagraphAt(Cp));
  ReleaseBefore(P);
  bool Full = false;
  while (Cp < Limit && P < Paras.size() && !Full) {
    const TRichParagraph& Para = Paras[P];
    if (Para.Row >= 0) {
      const TRichRowLayout& Row = RowOf(Integer(P));
      if (Cp == Row.FirstCp && Para.Format->PageBreakBefore && !Page.Pieces.empty()) break;
      TRichPagePiece Piece;
      Piece.Row = &Row;
      Piece.Top = Y;
      Piece.RowFrom = Cp == Row.FirstCp ? 0 : RowTopAt(Row, Cp);
      Piece.RowTo = Row.Height;
      const int Rest = Row.Height - Piece.RowFrom;
      const int Room = Avail - Y;
      if (Rest > Room) {
        // A row that fits on a page of its own goes there whole.
        if (!Page.Pieces.empty() && Rest <= Avail) break;
        // Taller than a page: cut at the lowest break above the first line
        // that does not fit, so that the page ends at a cp that names the
        // cut and the next page starts there.
        const int Limit = Piece.RowFrom + Room;
        int FirstOut = Row.Height;
        for (const TRichCellLayout& Cell : Row.Cells)
          for (const TRichParaLayout& L : Cell.Paragraphs)
            if (Cell.Flow == TRichTextFlow::Horizontal)
            for (const TRichLine& Line : L.Lines)
              if (Line.Top >= Piece.RowFrom && Line.Top + Line.Height > Limit) FirstOut = std::min(FirstOut, Line.Top);
        Integer CutCp = Row.EndCp;
        if (FirstOut < Row.Height) {
          int Cut = -1;
          for (const auto& [Top, BreakCp] : Row.Breaks)
            if (Top > Piece.RowFrom && Top <= FirstOut && BreakCp > Cp) {
              Cut = Top;
              CutCp = BreakCp;
            }
          if (Cut < 0) {
            // Not even one line fits: on a page of its own the next break
            // ends the page, and what lies above it is drawn clipped.
            if (!Page.Pieces.empty()) break;
            Piece.Oversize = true;
            for (const auto& [Top, BreakCp] : Row.Breaks)
              if (Top > Piece.RowFrom && BreakCp > Cp) {
                Cut = Top;
                CutCp = BreakCp;
                break;
              }
          }
          if (Cut >= 0) Piece.RowTo = Cut;
        }
        Piece.Height = Room;
        Page.Pieces.push_back(Piece);
        Y = Avail;
        Cp = CutCp;
        if (CutCp < Row.EndCp) break;
        P = std::size_t(Row.LastParagraph) + 1;
        continue;
      }
      Piece.Height = Rest;
      Page.Pieces.push_back(Piece);
      Y += Rest;
      Cp = Row.EndCp;
      P = std::size_t(Row.LastParagraph) + 1;
      continue;
    }
    const Integer Offset = Cp - Para.FirstCp;
    const bool Long = Para.Text.size() > LongParagraph && !FParas[P];
    const TRichParaLayout* L = Long ? &Window(Integer(P), Offset, std::max(0, Avail - Y)) : &Paragraph(Integer(P));
    if (Offset == 0 && Para.Format->PageBreakBefore && !Page.Pieces.empty() && !L->Lines.empty()) break;
    std::size_t First = 0;
    if (Offset > 0 && !Long) {
      auto LineAt = [&] {
        auto It = std::lower_bound(L->Lines.begin(), L->Lines.end(), Offset,
                                   [](const TRichLine& Ln, Integer O) { return Ln.Start < O; });
        return It != L->Lines.end() && It->Start == Offset ? std::optional(std::size_t(It - L->Lines.begin()))
                                                           : std::nullopt;
      };
      if (const std::optional<std::size_t> At = LineAt()) First = *At;
      else L = &Continuation(Integer(P), Offset);
    }
    if (L->Lines.empty()) {
      ++P;
      Cp = P < Paras.size() ? Paras[P].FirstCp : Len;
      continue;
    }
    TRichPagePiece Piece;
    Piece.Para = L;
    Piece.FirstLine = First;
    Piece.Top = Y;
    Piece.LineOffset = First == 0 ? 0 : L->Lines[First].Top;
    std::size_t K = First;
    for (; K < L->Lines.size(); ++K) {
      const TRichLine& Line = L->Lines[K];
      if (Para.FirstCp + Line.Start >= Limit) break;
      const int Bottom = Y + Line.Top - Piece.LineOffset + Line.Height;
      if (Bottom > Avail) {
        if (!Page.Pieces.empty() || K > First) {
          Full = true;
          break;
        }
        Piece.Oversize = true;
      }
      Cp = Para.FirstCp + Line.End;
      if (Line.PageBreak || Piece.Oversize) {
        ++K;
        Full = true;
        break;
      }
    }
    Piece.LastLine = K;
    if (K > First) {
      const bool Whole = K == L->Lines.size() && !L->Partial;
      const int PieceBottom = Whole ? L->Height : L->Lines[K - 1].Top + L->Lines[K - 1].Height;
      Y = Piece.Top + PieceBottom - Piece.LineOffset;
      Page.Pieces.push_back(Piece);
    }
    if (K < L->Lines.size() || L->Partial) break;
    ++P;
  }
  // Hidden paragraphs right after the page have nothing to show: they end
  // this page, so that no page holds only them.
  while (Cp < Limit) {
    const std::size_t Q = std::size_t(FDoc.ParagraphAt(Cp));
    if (Paras[Q].FirstCp != Cp || Paras[Q].Row >= 0 || !FDoc.ParagraphHidden(Integer(Q))) break;
    Cp = Q + 1 < Paras.size() ? Paras[Q + 1].FirstCp : Len;
  }
  Page.CpEnd = std::min(std::max(Cp, CpMin), Limit);
  Page.Height = std::min(Y, Avail);
  Page.Avail = Avail;
  return Page;
}

// ---- numbering ----------------------------------------------------------------------

namespace {

WideString Letters(int N, char16_t A) {
  // 1 -> a ... 26 -> z, 27 -> aa, as word processors count list items.
  WideString S;
  const int Repeat = (N - 1) / 26 + 1;
  S.assign(std::size_t(std::min(Repeat, 64)), char16_t(A + (N - 1) % 26));
  return S;
}

WideString Roman(int N, bool Upper) {
  static const std::pair<int, const char*> Parts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"},
                                                       {100, "c"},  {90, "xc"},  {50, "l"},  {40, "xl"},
                                                       {10, "x"},   {9, "ix"},   {5, "v"},   {4, "iv"},
                                                       {1, "i"}};
  WideString S;
  for (const auto& [V, T] : Parts)
    while (N >= V) {
      for (const char* C = T; *C; ++C) S += char16_t(Upper ? *C - 'a' + 'A' : *C);
      N -= V;
    }
  return S;
}

}  // namespace

WideString TRichLayout::NumberingText(Integer Index) const {
  const auto& Paras = FDoc.Paragraphs();
  const TRichParaFormat& F = *Paras.at(std::size_t(Index)).Format;
  WideString Body;
  if (F.Numbering == TRichNumbering::Bullet) {
    // A bullet is one mark: the text the list gives before it is the bullet
    // itself (Word writes the Symbol bullet there), else the standard one.
    Body = F.NumberingTextBefore.empty() ? WideString(u"\u2022") : F.NumberingTextBefore;
    return Body + F.NumberingTextAfter;
  } else {
    int N = int(std::clamp<Integer>(F.NumberingStart, 0, 32767));
    for (Integer I = Index; I > 0; --I) {
      const TRichParaFormat& Prev = *Paras[std::size_t(I - 1)].Format;
      if (Prev.Numbering != F.Numbering || Prev.NumberingStart != F.NumberingStart) break;
      ++N;
    }
    switch (F.Numbering) {
      case TRichNumbering::Arabic: {
        const std::string D = std::to_string(N);
        Body.assign(D.begin(), D.end());
        break;
      }
      case TRichNumbering::LowerLetter: Body = Letters(std::max(N, 1), u'a'); break;
      case TRichNumbering::UpperLetter: Body = Letters(std::max(N, 1), u'A'); break;
      case TRichNumbering::LowerRoman: Body = Roman(N, false); break;
      case TRichNumbering::UpperRoman: Body = Roman(N, true); break;
      default: break;
    }
  }
  return F.NumberingTextBefore + Body + F.NumberingTextAfter;
}
