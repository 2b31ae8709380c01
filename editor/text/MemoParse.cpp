// The parse cache of the memo source: lazy line-by-line parsing with carried
// states, the URL pass, attributes of parsers that keep them, and the
// longest line.
#include <algorithm>
#include <bitset>
#include <climits>

#include "editor/text/MemoSource.h"
#include "editor/view/DCControl.h"
#include "platform/rtl/AnsiStrings.h"

namespace {
constexpr Integer MaxInt = INT_MAX;
constexpr char UrlAttribute = 12;

std::bitset<256> MakeSet(const char* Extra) {
  std::bitset<256> S;
  for (int C = 'A'; C <= 'Z'; ++C) S.set(size_t(C));
  for (int C = 'a'; C <= 'z'; ++C) S.set(size_t(C));
  for (int C = '0'; C <= '9'; ++C) S.set(size_t(C));
  S.set('_');
  for (const char* P = Extra; *P; ++P) S.set(Byte(*P));
  return S;
}
const std::bitset<256>& WordChars() {
  static const std::bitset<256> S = MakeSet("");
  return S;
}
const std::bitset<256>& UrlBodyChars() {
  static const std::bitset<256> S = MakeSet("-./:=?@~");
  return S;
}


}  // namespace

void TCustomMemoSource::DoAfterParse(Integer Line, const AnsiString& Text, AnsiString& Attrs) {
  if (OnAfterParse.Assigned()) OnAfterParse(this, Line, Text, Attrs);
}

bool TCustomMemoSource::IsSyntaxParser() {
  return FSyntaxParser && SameText(FSyntaxParser->ClassName(), "TSyntaxParser");
}

void TCustomMemoSource::AdjustAttrLength(TStringItem* Item) {
  if (Item && Item->Attributes.size() != Item->Text.size()) Item->Attributes.resize(Item->Text.size(), '\0');
}

void TCustomMemoSource::UrlPass(TStringItem* Item, Integer Line) {
  if (InColorUpdate || Item->Attributes.size() != Item->Text.size()) return;
  const AnsiString& S = Item->Text;
  const size_t N = S.size();
  size_t I = 0;
  while (I < N) {
    while (I < N && !WordChars()[Byte(S[I])]) ++I;
    if (I >= N) break;
    size_t J = I;
    while (J < N && UrlBodyChars()[Byte(S[J])]) ++J;
    // The character that ended the run counts for the test (a closing
    // bracket after a mail address, say), not for the marking.
    const AnsiString Candidate = S.substr(I, (J < N ? J + 1 : J) - I);
    if (IsUrlText(Candidate)) {
      const AnsiString Marked(J - I, UrlAttribute);
      if (ParserKeepsAttributes())
        ReplaceAttrs(Marked, Item->Attributes, Integer(I) + 1, Line);
      else
        Item->Attributes.replace(I, J - I, Marked);
    }
    I = J;
  }
}

void TCustomMemoSource::ParseOneLine(Integer Line, TStringItem* Item, Integer& Carried, Integer& Result) {
  FSyntaxParser->InitAttributes(Line, Item->Text, Item->Attributes);
  Item->BeginState = Carried;
  FSyntaxParser->SetLinePos(Line);
  Carried = FSyntaxParser->ParseLine(Item->Text, Carried, Item->Attributes);
  Item->Flags |= lfParsed;
  DoAfterParse(Line, Item->Text, Item->Attributes);
  if (FHighlightUrls) UrlPass(Item, Line);
  if (Carried != Item->EndState) {
    Result = std::max(Result, Line + 1);
    Item->EndState = Carried;
  }
  if (LineMeasureHook.Assigned()) LineMeasureHook(this, Line, Item);
}

Integer TCustomMemoSource::ParseRange(Integer First, Integer Last, bool Force) {
  Last = std::min(Last, GetLineCount() - 1);
  First = std::max(First, 0);
  if (Last < First) return FParseResult;
  Integer Result = FParseResult;
  if (FSyntaxParser) {
    Integer Carried = First == 0 ? DefaultParserState : GetLineItem(First - 1)->EndState;
    for (Integer I = First; I <= Last; ++I) {
      TStringItem* Item = GetLineItem(I);
      if ((Item->Flags & lfParsed) && Item->BeginState == Carried) {
        Carried = Item->EndState;
        continue;
      }
      ParseOneLine(I, Item, Carried, Result);
    }
  } else if (Force || FHighlightUrls) {
    for (Integer I = First; I <= Last; ++I) {
      TStringItem* Item = GetLineItem(I);
      if (Item->Flags & lfParsed) continue;
      if (FHighlightUrls) {
        Item->Attributes.assign(Item->Text.size(), '\0');
        UrlPass(Item, I);
      } else {
        Item->Attributes.clear();
      }
      Item->Flags |= lfParsed;
      // Through a plain string, so that a line without styles keeps none.
      AnsiString Attrs = Item->Attributes.Take();
      DoAfterParse(I, Item->Text, Attrs);
      Item->Attributes = std::move(Attrs);
      if (LineMeasureHook.Assigned()) LineMeasureHook(this, I, Item);
    }
  }
  FFirstUnparsed = Last + 1;
  FParseResult = Result;
  return Result;
}

Integer TCustomMemoSource::ParseUpTo(Integer Line, bool Force) {
  if (Line >= FFirstUnparsed && Line < MaxInt - 100) Line += 100;
  if (Line < FFirstUnparsed) return FParseResult;
  return ParseRange(FFirstUnparsed, Line, Force);
}

void TCustomMemoSource::GetColorData(Integer Line, AnsiString& Attrs) {
  TStringItem* Item = GetLineItem(Line);
  if (!Item) {
    Attrs.clear();
    return;
  }
  if (!(Item->Flags & lfParsed)) {
    if (Line < FFirstUnparsed) {
      // An edited line inside the parsed part.
      const Integer OldFirst = FFirstUnparsed;
      ParseRange(Line, Line, true);
      FFirstUnparsed = OldFirst;
    } else {
      ParseUpTo(Line, true);
    }
  }
  Attrs = Item->Attributes;
}

void TCustomMemoSource::GetExpandedColorData(Integer Line, AnsiString& Attrs) {
  GetColorData(Line, Attrs);
  const TStringItem* Item = GetLineItem(Line);
  if (!Item || Item->Text.find('\t') == AnsiString::npos) return;
  const AnsiString& S = Item->Text;
  AnsiString Out;
  Out.reserve(S.size() + 16);
  Integer Col = 0, StopIndex = 0;
  for (size_t I = 0; I < S.size(); ++I) {
    const char A = I < Attrs.size() ? Attrs[I] : '\0';
    if (S[I] != '\t') {
      if (I < Attrs.size()) Out += A;
      ++Col;
      continue;
    }
    Integer Stop = GetTabStop(StopIndex);
    while (Stop < Col + 1) Stop = GetTabStop(++StopIndex);
    // A line without attributes stays without them: only widen what is there.
    if (I < Attrs.size()) Out.append(size_t(Stop - Col), A);
    Col = Stop;
  }
  Attrs.swap(Out);
}

bool TCustomMemoSource::ReparseLine(Integer Line) {
  TStringItem* Item = GetLineItem(Line);
  if (!Item || (InImport && Line == GetLineCount() - 1)) {
    MarkLinesChanged(Line, Line);
    return false;
  }
  const Integer OldInfo = Item->MeasureInfo;
  const Integer OldEnd = Item->EndState;
  MarkLinesChanged(Line, Line);
  const Integer OldFirst = FFirstUnparsed;
  ParseRange(Line, Line, true);
  FFirstUnparsed = OldFirst;
  if (Item->MeasureInfo == OldInfo && Item->EndState == OldEnd) return false;
  MarkLinesChanged(Line, MaxInt);
  return Item->EndState != OldEnd && !ParserKeepsAttributes();
}

void TCustomMemoSource::InvalidateParseCache() {
  if (ComponentState().Contains(csDestroying)) return;
  BeginUpdate(MemoCode::ParserChanged);
  FState.Include(msParserChanged);
  const bool Keeps = ParserKeepsAttributes();
  for (Integer I = 0; I < GetLineCount(); ++I) {
    TStringItem* Item = GetLineItem(I);
    Item->Flags &= Byte(~lfParsed);
    if (!Keeps) Item->Attributes.clear();
    Item->MeasureInfo = 0;
    Item->MeasuredWidth = 0;
    Item->MeasureExtra = 0;
  }
  FFirstUnparsed = 0;
  UpdateLongestLine();
  EndUpdate();
}

Integer TCustomMemoSource::GetLineLength(Integer Line) {
  const TStringItem* Item = GetLineItem(Line);
  if (!Item) return 0;
  if (LineMeasureHook.Assigned() && Item->MeasuredWidth != 0) return Item->MeasuredWidth;
  return CharToVisualIndex(Item->Text, Integer(Item->Text.size()));
}

void TCustomMemoSource::UpdateLongestLine() {
  if (FInBlock > 0) {
    FBlockUpdate = true;
    return;
  }
  FLongestLength = 0;
  FLongestIndex = -1;
  if (!FTrackLongest) return;
  if (LineMeasureHook.Assigned()) ParseRange(0, GetLineCount() - 1, true);
  for (Integer I = 0; I < GetLineCount(); ++I) {
    const Integer Len = GetLineLength(I);
    if (Len >= FLongestLength) {
      FLongestLength = Len;
      FLongestIndex = I;
    }
  }
}

void TCustomMemoSource::TrackLongestLine(bool On) {
  if (On) FTrackLongest = true;
  UpdateLongestLine();
}

void TCustomMemoSource::LongestAfterInsert(Integer Line) {
  if (!FTrackLongest) return;
  if (FInBlock > 0) {
    FBlockUpdate = true;
    return;
  }
  const Integer Len = GetLineLength(Line);
  if (Len >= FLongestLength) {
    FLongestLength = Len;
    FLongestIndex = Line;
  }
}

Integer TCustomMemoSource::GetAttributeAt(Integer Column, Integer Line) {
  if (DefaultAttribute >= 0) return DefaultAttribute;
  AnsiString Attrs;
  GetExpandedColorData(Line, Attrs);
  if (Attrs.empty()) return 0;
  Integer I = Column <= 0 ? 0 : std::min<Integer>(Column - 1, Integer(Attrs.size()) - 1);
  if (Attrs[size_t(I)] != UrlAttribute) return Byte(Attrs[size_t(I)]);
  // Text typed next to a link does not continue the link's style.
  while (I >= 0 && Attrs[size_t(I)] == UrlAttribute) --I;
  return I >= 0 ? Byte(Attrs[size_t(I)]) : 0;
}
