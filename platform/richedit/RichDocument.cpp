// RichDocument.cpp — building and querying the document model.
#include "platform/richedit/RichDocument.h"

#include <algorithm>
#include <functional>

namespace {

constexpr char16_t CharCr = u'\r';
constexpr char16_t CharCellEnd = 0x0007;
constexpr char16_t CharObject = 0xFFFC;
constexpr size_t FormatBucketCount = 256;

size_t HashFormat(const TRichCharFormat& F) {
  size_t H = std::hash<std::u16string>()(F.Face);
  auto Mix = [&H](size_t V) { H = (H ^ V) * 1099511628211ull; };
  Mix(F.Charset);
  Mix(F.PitchAndFamily);
  Mix(size_t(F.Size));
  Mix(size_t(F.Bold) | size_t(F.Italic) << 1 | size_t(F.StrikeOut) << 2 | size_t(F.Hidden) << 3 |
      size_t(F.Protected) << 4 | size_t(F.AutoColor) << 5 | size_t(F.HasBackground) << 6);
  Mix(size_t(F.Underline) | size_t(F.VerticalPosition) << 8);
  Mix(F.Color);
  Mix(F.Background);
  Mix(size_t(F.Offset));
  return H;
}

size_t HashParaFormat(const TRichParaFormat& F) {
  size_t H = 14695981039346656037ull;
  auto Mix = [&H](size_t V) { H = (H ^ V) * 1099511628211ull; };
  Mix(size_t(F.Alignment));
  Mix(size_t(F.LeftIndent));
  Mix(size_t(F.RightIndent));
  Mix(size_t(F.FirstIndent));
  Mix(size_t(F.SpaceBefore));
  Mix(size_t(F.SpaceAfter));
  Mix(size_t(F.LineSpacing));
  Mix(size_t(F.Numbering));
  Mix(F.Tabs.size());
  Mix(size_t(F.Borders.Top.Width) ^ size_t(F.Borders.Bottom.Width) << 16);
  return H;
}

// Pixels at 96 dpi or 0.01 mm, to twips.
Integer PixelsToTwips(Integer Px) { return Integer(Int64(Px) * 15); }
Integer HundredthsMmToTwips(Integer V) { return Integer((Int64(V) * 1440 + 1270) / 2540); }

Integer Scale(Integer V, Integer Percent) {
  if (Percent <= 0) Percent = 100;
  Int64 R = Int64(V) * Percent / 100;
  return Integer(std::clamp<Int64>(R, 0, 0x7FFFFFF));
}

}  // namespace

TSize TRichPicture::DisplaySize() const {
  const bool Metafile = Kind == TRichPictureKind::Emf;
  auto Natural = [&](Integer Goal, Integer Raw) {
    if (Goal > 0) return Goal;
    if (Raw <= 0) return 0;
    return Metafile ? HundredthsMmToTwips(Raw) : PixelsToTwips(Raw);
  };
  return {Scale(Natural(GoalWidth, Width), ScaleX), Scale(Natural(GoalHeight, Height), ScaleY)};
}

TRichParagraphEnd TRichParagraph::End() const {
  return !Text.empty() && Text.back() == CharCellEnd ? TRichParagraphEnd::Cell
                                                     : TRichParagraphEnd::Paragraph;
}

const std::shared_ptr<const TRichParaFormat>& DefaultRichParaFormat() {
  static const std::shared_ptr<const TRichParaFormat> Default = std::make_shared<const TRichParaFormat>();
  return Default;
}

TRichDocument::TRichDocument() : FFormatBuckets(FormatBucketCount), FParaFormatBuckets(FormatBucketCount) {
  FParagraphs.emplace_back();
  FFinished = false;
  Finish(TRichParaFormat(), TRichCharFormat());
}

Integer TRichDocument::InternFormat(const TRichCharFormat& F) {
  if (FLastFormat >= 0 && FCharFormats[size_t(FLastFormat)] == F) return FLastFormat;
  auto& Bucket = FFormatBuckets[HashFormat(F) % FormatBucketCount];
  for (Integer I : Bucket)
    if (FCharFormats[size_t(I)] == F) return FLastFormat = I;
  FCharFormats.push_back(F);
  FLastFormat = Integer(FCharFormats.size() - 1);
  Bucket.push_back(FLastFormat);
  return FLastFormat;
}

std::shared_ptr<const TRichParaFormat> TRichDocument::InternParaFormat(const TRichParaFormat& F) {
  if (FLastParaFormat && *FLastParaFormat == F) return FLastParaFormat;
  if (*DefaultRichParaFormat() == F) return FLastParaFormat = DefaultRichParaFormat();
  auto& Bucket = FParaFormatBuckets[HashParaFormat(F) % FormatBucketCount];
  for (const auto& Known : Bucket)
    if (*Known == F) return FLastParaFormat = Known;
  Bucket.push_back(std::make_shared<const TRichParaFormat>(F));
  return FLastParaFormat = Bucket.back();
}

void TRichDocument::Reopen() {
  if (!FFinished) return;
  FFinished = false;
  TRichParagraph& P = FParagraphs.back();
  P.Text.pop_back();
  TRichRun& Last = P.Runs.back();
  if (--Last.Length == 0) P.Runs.pop_back();
}

bool TRichDocument::OpenParagraphEmpty() const {
  return FFinished ? FParagraphs.back().Text.size() == 1 : FParagraphs.back().Text.empty();
}

void TRichDocument::AppendRun(std::u16string_view Text, Integer Format, Integer Picture) {
  TRichParagraph& P = FParagraphs.back();
  if (Text.empty()) return;
  if (Picture < 0 && !P.Runs.empty()) {
    TRichRun& Last = P.Runs.back();
    if (Last.Picture < 0 && Last.Format == Format) {
      P.Text.append(Text);
      Last.Length += Integer(Text.size());
      return;
    }
  }
  P.Runs.push_back({Integer(P.Text.size()), Integer(Text.size()), Format, Picture});
  P.Text.append(Text);
}

void TRichDocument::AppendText(std::u16string_view Text, const TRichCharFormat& Format) {
  Reopen();
  const Integer F = InternFormat(Format);
  // Copy in spans of accepted characters so that ordinary text is one append.
  size_t Start = 0;
  for (size_t I = 0; I <= Text.size(); ++I) {
    const bool Drop = I < Text.size() && Text[I] < 0x20 && Text[I] != u'\t' &&
                      Text[I] != 0x000B && Text[I] != 0x000C;
    if (I == Text.size() || Drop) {
      AppendRun(Text.substr(Start, I - Start), F, -1);
      Start = I + 1;
    }
  }
}

void TRichDocument::AppendPicture(TRichPicture Picture, const TRichCharFormat& Format) {
  Reopen();
  FPictures.push_back(std::move(Picture));
  const char16_t Obj = CharObject;
  AppendRun(std::u16string_view(&Obj, 1), InternFormat(Format), Integer(FPictures.size() - 1));
}

void TRichDocument::EndParagraph(const TRichParaFormat& Format, const TRichCharFormat& MarkFormat,
                                 TRichParagraphEnd End, Integer Row, Integer Cell, Integer NestRow,
                                 Integer NestCell) {
  Reopen();
  TRichParagraph& P = FParagraphs.back();
  const char16_t Ch = End == TRichParagraphEnd::Cell ? CharCellEnd : CharCr;
  // The end character gets its own run unless the mark's format is the last run's.
  P.Format = InternParaFormat(Format);
  P.Row = Row;
  P.Cell = Row >= 0 ? Cell : -1;
  P.NestRow = Row >= 0 && NestRow >= 0 ? NestRow : -1;
  P.NestCell = P.NestRow >= 0 ? std::max<Integer>(NestCell, 0) : -1;
  AppendRun(std::u16string_view(&Ch, 1), InternFormat(MarkFormat), -1);
  // A closed paragraph keeps its text for the document's life: drop the slack
  // its text and runs gathered while growing, which for short lines is about
  // as much again as the text itself.
  P.Text.shrink_to_fit();
  P.Runs.shrink_to_fit();
  FParagraphs.emplace_back();
}

Integer TRichDocument::AddRow(TRichTableRow Row) {
  FRows.push_back(std::move(Row));
  return Integer(FRows.size() - 1);
}

void TRichDocument::Finish(const TRichParaFormat& LastFormat,
                           const TRichCharFormat& LastMarkFormat) {
  if (FFinished) return;
  // A closing paragraph break leaves an empty open paragraph: the break
  // before it becomes the end mark, unless it closed a table cell.
  if (FParagraphs.size() > 1 && FParagraphs.back().Text.empty() &&
      FParagraphs[FParagraphs.size() - 2].End() == TRichParagraphEnd::Paragraph) {
    FParagraphs.pop_back();
  } else {
    TRichParagraph& P = FParagraphs.back();
    P.Format = InternParaFormat(LastFormat);
    const char16_t Ch = CharCr;
    AppendRun(std::u16string_view(&Ch, 1), InternFormat(LastMarkFormat), -1);
  }
  Integer Cp = 0;
  for (TRichParagraph& P : FParagraphs) {
    P.FirstCp = Cp;
    Cp += Integer(P.Text.size());
  }
  FFinished = true;
}

Integer TRichDocument::TextLength() const {
  const TRichParagraph& Last = FParagraphs.back();
  return Last.FirstCp + Integer(Last.Text.size()) - 1;
}

Integer TRichDocument::ParagraphAt(Integer Cp) const {
  Cp = std::clamp(Cp, 0, TextLength());
  auto It = std::upper_bound(FParagraphs.begin(), FParagraphs.end(), Cp,
                             [](Integer C, const TRichParagraph& P) { return C < P.FirstCp; });
  return Integer(It - FParagraphs.begin()) - 1;
}

WideString TRichDocument::GetText(Integer CpMin, Integer CpMax) const {
  const Integer Total = TextLength() + 1;
  if (CpMax < 0 || CpMax > Total) CpMax = Total;
  CpMin = std::clamp(CpMin, 0, Total);
  WideString R;
  if (CpMin >= CpMax) return R;
  for (size_t I = size_t(ParagraphAt(CpMin)); I < FParagraphs.size(); ++I) {
    const TRichParagraph& P = FParagraphs[I];
    if (P.FirstCp >= CpMax) break;
    const Integer From = std::max(CpMin - P.FirstCp, 0);
    const Integer To = std::min(CpMax - P.FirstCp, Integer(P.Text.size()));
    P.Text.AppendTo(R, size_t(From), size_t(To - From));
  }
  return R;
}

bool TRichDocument::ParagraphHidden(Integer Index) const {
  const TRichParagraph& P = FParagraphs.at(size_t(Index));
  if (P.Runs.empty()) return false;
  for (const TRichRun& R : P.Runs)
    if (R.Picture >= 0 || !CharFormat(R.Format).Hidden) return false;
  return true;
}

WideString TRichDocument::PlainText() const {
  WideString R;
  const TRichParagraph* Prev = nullptr;
  for (size_t I = 0; I < FParagraphs.size(); ++I) {
    const TRichParagraph& P = FParagraphs[I];
    // A hidden paragraph outside tables leaves no line; in a table its cell
    // end still separates the cells.
    if (P.Row < 0 && ParagraphHidden(Integer(I))) continue;
    if (Prev) {
      // A cell end is a TAB while its row goes on: an outer cell's while the
      // outer row does, a nested cell's while its nested row does.
      const bool RowGoesOn = P.Row == Prev->Row && (Prev->NestRow < 0 || P.NestRow == Prev->NestRow);
      R += Prev->End() == TRichParagraphEnd::Cell && RowGoesOn ? u"\t" : u"\r\n";
    }
    Prev = &P;
    for (const TRichRun& Run : P.Runs) {
      const Integer End = std::min<Integer>(Run.Start + Run.Length, Integer(P.Text.size()) - 1);
      if (Run.Start >= End || (Run.Picture < 0 && CharFormat(Run.Format).Hidden)) continue;
      P.Text.AppendTo(R, size_t(Run.Start), size_t(End - Run.Start));
    }
  }
  return R;
}
