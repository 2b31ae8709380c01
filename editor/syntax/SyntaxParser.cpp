#include "editor/syntax/SyntaxParser.h"

#include <cstring>

#include "platform/rtl/AnsiStrings.h"

namespace {

inline unsigned char Lower(unsigned char C) { return (C >= 'A' && C <= 'Z') ? C + ('a' - 'A') : C; }

bool SameChars(const char* P, const AnsiString& D, bool CaseSensitive) {
  if (CaseSensitive) return std::memcmp(P, D.data(), D.size()) == 0;
  for (size_t I = 0; I < D.size(); ++I)
    if (Lower(static_cast<unsigned char>(P[I])) != Lower(static_cast<unsigned char>(D[I]))) return false;
  return true;
}

bool IsDigit(char C) { return C >= '0' && C <= '9'; }
bool IsHexDigit(char C) { return HexDigitValue(C) >= 0; }

// Passes over one position: entering and leaving blocks at the same place
// can chain, but never further than every interned stack plus a margin.
constexpr int MaxBlockPasses = MaxBlockStacks * 2 + 8;

}  // namespace

TSyntaxParser::TSyntaxParser(TComponent* AOwner)
    : TSimpleParser(AOwner), FScheme(std::make_unique<TSyntaxScheme>()), FDefaultAttr(std::make_unique<TDefAttrItem>(nullptr)) {
  FScheme->Parser = this;
  FDefaultAttr->GetFont()->SetName("Courier New");
  FDefaultAttr->GetFont()->SetSize(10);
  FDefaultAttr->SetBackColor(clWindow);
  FDefaultAttr->Parser = this;
  FDefaultAttr->GetFont()->OnChange = TNotifyEvent(this, &TSyntaxParser::DefaultAttrFontChanged);
  AddOptionListener(this);
  if (!(AOwner && AOwner->ComponentState().Contains(csLoading))) Reset();
}

TSyntaxParser::~TSyntaxParser() {
  RemoveOptionListener(this);
  FDefaultAttr->GetFont()->OnChange = nullptr;
  FDefaultAttr->Parser = nullptr;
  FScheme->Parser = nullptr;
}

void TSyntaxParser::Published(TPublished<TSyntaxParser>& P) {
  P.Property("SyntaxScheme", &TSyntaxParser::GetSyntaxScheme, &TSyntaxParser::SetSyntaxScheme);
  P.Property("DefaultAttr", &TSyntaxParser::GetDefaultAttr, &TSyntaxParser::SetDefaultAttr);
  P.Property("UseGlobalOptions", &TSyntaxParser::GetUseGlobalOptions, &TSyntaxParser::SetUseGlobalOptions)
      .Default(false);
  P.Property("OnGetToken", &TSyntaxParser::OnGetToken, &TSyntaxParser::OnGetToken);
}

void TSyntaxParser::Loaded() {
  inherited::Loaded();
  Reset();
}

void TSyntaxParser::SetSyntaxScheme(TSyntaxScheme* Value) {
  if (!Value || Value == FScheme.get()) return;
  FScheme->Clear();
  FScheme->Assign(Value);
}

void TSyntaxParser::SetDefaultAttr(TDefAttrItem* Value) {
  if (Value && Value != FDefaultAttr.get()) FDefaultAttr->Assign(Value);
  RefreshAttributes();
}

void TSyntaxParser::SetUseGlobalOptions(bool Value) {
  if (FScheme->UseGlobalOptions == Value) return;
  FScheme->UseGlobalOptions = Value;
  RefreshAttributes();
}

void TSyntaxParser::DefaultAttrFontChanged(TObject* /*Sender*/) { RefreshAttributes(); }

void TSyntaxParser::Reset() {
  FScheme->Compile();
  FStackIndex = 0;
  FBlockIndex = 0;
  FDelimIndex = 0;
  FItemIndex = 0;
  FToken = 0;
  FPos = nullptr;
  FBlock = FScheme->GetSyntaxBlocks()->Count() ? FScheme->GetSyntaxBlocks()->Item(0) : nullptr;
}

void TSyntaxParser::RefreshAttributes() {
  if (FUpdateCount > 0) return;
  FScheme->UpdateFonts();
  NotifyListeners();
}

void TSyntaxParser::EndUpdate() {
  --FUpdateCount;
  RefreshAttributes();
}

void TSyntaxParser::OptionsChanged() {
  if (GetUseGlobalOptions()) RefreshAttributes();
}

TFont* TSyntaxParser::GetFont(Integer StyleIndex) { return FScheme->GetAttr(StyleIndex)->UsedFont(); }

bool TSyntaxParser::GetBackColor(Integer StyleIndex, TColor& Color) {
  Color = FScheme->GetAttr(StyleIndex)->UsedBack();
  return true;
}

// ---------------------------------------------------------------------------
// Block stacks

Integer TSyntaxParser::SetBlockStack(Integer Code, Integer Direction) {
  const auto& Stacks = FScheme->BlockStacks();
  Integer Index = 0;
  if (Direction == 0) {
    Index = (Code >= 0 && Code < Integer(Stacks.size())) ? Code : 0;
  } else if (Direction > 0) {
    const Integer Block = (Code >> 8) & 255, Delim = Code & 255;
    std::vector<std::pair<Integer, Integer>> Chain;
    Chain.reserve(Stacks[FStackIndex].Chain.size() + 1);
    Chain.push_back({Block, Delim});
    Chain.insert(Chain.end(), Stacks[FStackIndex].Chain.begin(), Stacks[FStackIndex].Chain.end());
    Index = -1;
    for (size_t I = 0; I < Stacks.size(); ++I)
      if (Stacks[I].Chain == Chain) {
        Index = Integer(I);
        break;
      }
    if (Index < 0) {
      TBlockInfo Info;
      Info.BlockIndex = Block;
      Info.DelimIndex = Delim;
      Info.Chain = std::move(Chain);
      Index = FScheme->AddBlockStack(std::move(Info));
      if (Index < 0) return -1;  // the line state could not name it
    }
  } else {
    const auto& Cur = Stacks[FStackIndex].Chain;
    if (Cur.size() > 1) {
      const std::vector<std::pair<Integer, Integer>> Outer(Cur.begin() + 1, Cur.end());
      for (size_t I = 0; I < Stacks.size(); ++I)
        if (Stacks[I].Chain == Outer) {
          Index = Integer(I);
          break;
        }
    }
  }
  const TBlockInfo& E = FScheme->BlockStacks()[Index];
  TSyntaxBlockList* Blocks = FScheme->GetSyntaxBlocks();
  FStackIndex = Index;
  FBlockIndex = (E.BlockIndex >= 0 && E.BlockIndex < Blocks->Count()) ? E.BlockIndex : 0;
  FBlock = Blocks->Item(FBlockIndex);
  FStateIndex = 0;
  FDelimIndex = E.DelimIndex;
  FCaseSensitive = FBlock->CaseSensitive;
  FPartOfBlock = false;
  if (Index != 0 && FDelimIndex >= 0 && FDelimIndex < FBlock->GetBlockDelimiters()->Count())
    FPartOfBlock = FBlock->GetBlockDelimiters()->Item(FDelimIndex)->DelimitersArePartOfBlock;
  return Index;
}

// ---------------------------------------------------------------------------
// Matching

bool TSyntaxParser::MatchAhead(const char* P, const AnsiString& Delim, bool CaseSensitive) const {
  if (Delim.empty() || size_t(FEnd - P) < Delim.size()) return false;
  if (!SameChars(P, Delim, CaseSensitive)) return false;
  const char* After = P + Delim.size();
  if (IsFirst(Delim[0]) && After < FEnd && IsOther(*After)) return false;
  return true;
}

bool TSyntaxParser::MatchBack(const char* P, const AnsiString& Delim, bool CaseSensitive) const {
  if (Delim.empty() || size_t(P - FLine) < Delim.size()) return false;
  const char* Start = P - Delim.size();
  if (!SameChars(Start, Delim, CaseSensitive)) return false;
  if (IsFirst(Delim[0]) && Start > FLine && IsOther(Start[-1])) return false;
  return true;
}

bool TSyntaxParser::TryCloseBlock() {
  if (FStackIndex == 0 || !FBlock) return false;
  TDelimitersList* Dels = FBlock->GetBlockDelimiters();
  if (FDelimIndex < 0 || FDelimIndex >= Dels->Count()) return false;
  const AnsiString& Right = Dels->Item(FDelimIndex)->RightDelimiter;
  if (Right.empty()) return false;
  bool Match;
  if (FPartOfBlock) {
    Match = MatchBack(FPos, Right, FBlock->CaseSensitive);
  } else {
    const bool FirstCase = FScheme->GetSyntaxBlocks()->Item(0)->CaseSensitive;
    Match = MatchAhead(FPos, Right, FirstCase);
  }
  if (!Match) return false;
  SetBlockStack(0, -1);
  return true;
}

const char* TSyntaxParser::FindRight(const AnsiString& Delim, const char*& Found) const {
  Found = nullptr;
  if (Delim.empty() || size_t(FEnd - FPos) < Delim.size()) return nullptr;
  const char* Last = FEnd - Delim.size();
  const char* P = FPos;
  for (; P <= Last; ++P)
    if (SameChars(P, Delim, FCaseSensitive)) break;
  if (P > Last) return nullptr;
  // Only the first occurrence counts; an identifier-like delimiter glued to
  // identifier characters is no delimiter.
  if (IsFirst(Delim[0])) {
    const char* After = P + Delim.size();
    if ((After < FEnd && IsOther(*After)) || (P > FLine && IsOther(P[-1]))) return nullptr;
  }
  Found = P;
  return P + Delim.size();
}

// ---------------------------------------------------------------------------
// Recognizers

bool TSyntaxParser::ParseComment() {
  TSyntaxBlock* B = FBlock;
  if (B->UseMultiLineComments)
    for (Integer I = 0; I < B->CMultiLineComments.Count(); ++I)
      if (MatchAhead(FPos, B->CMultiLineComments.Delims[I], FCaseSensitive)) {
        FToken = tcMultiLineComment;
        FStateIndex = 1;
        FItemIndex = B->CMultiLineComments.Items[I];
        FPos += B->CMultiLineComments.Delims[I].size();
        return true;
      }
  if (B->UseFullLineComments && FFullLineMayStart)
    for (Integer I = 0; I < B->CFullLineComments.Count(); ++I)
      if (MatchAhead(FPos, B->CFullLineComments.Delims[I], FCaseSensitive)) {
        FToken = tcFullLineComment;
        FStateIndex = 0;
        FItemIndex = B->CFullLineComments.Items[I];
        FPos = FEnd;
        return true;
      }
  if (B->UseSingleLineComments)
    for (Integer I = 0; I < B->CSingleLineComments.Count(); ++I)
      if (MatchAhead(FPos, B->CSingleLineComments.Delims[I], FCaseSensitive)) {
        FToken = tcSingleLineComment;
        FStateIndex = 0;
        FItemIndex = B->CSingleLineComments.Items[I];
        FPos = FEnd;
        return true;
      }
  return false;
}

bool TSyntaxParser::ParseLineDirective() {
  const AnsiString& Prefix = FBlock->LineDirectivePrefix;
  if (!MatchAhead(FPos, Prefix, FCaseSensitive)) return false;
  FPos += Prefix.size();
  FDirectiveFound = true;
  FToken = tcDirective;
  FStateIndex = FPos < FEnd ? 4 : 0;
  return true;
}

bool TSyntaxParser::ParseString() {
  TSyntaxBlock* B = FBlock;
  if (B->UseMultiLineStrings)
    for (Integer I = 0; I < B->CMultiLineStrings.Count(); ++I)
      if (MatchAhead(FPos, B->CMultiLineStrings.Delims[I], FCaseSensitive)) {
        FToken = tcMultiLineString;
        FStateIndex = 3;
        FItemIndex = B->CMultiLineStrings.Items[I];
        FPos += B->CMultiLineStrings.Delims[I].size();
        return true;
      }
  if (B->UseSingleLineStrings)
    for (Integer I = 0; I < B->CSingleLineStrings.Count(); ++I) {
      const AnsiString& D = B->CSingleLineStrings.Delims[I];
      if (D.empty() || size_t(FEnd - FPos) < D.size() || !SameChars(FPos, D, FCaseSensitive)) continue;
      const char* After = FPos + D.size();
      if (IsFirst(D[0]) && IsOther(D.back()) && After < FEnd && IsOther(*After)) continue;
      FToken = tcSingleLineString;
      FItemIndex = B->CSingleLineStrings.Items[I];
      FPos = After;
      FStateIndex = FPos < FEnd ? 2 : 0;
      return true;
    }
  return false;
}

bool TSyntaxParser::ScanDigits() {
  const char* Start = FPos;
  while (FPos < FEnd && IsDigit(*FPos)) ++FPos;
  return FPos > Start;
}

bool TSyntaxParser::ScanHexDigits() {
  const char* Start = FPos;
  while (FPos < FEnd && IsHexDigit(*FPos)) ++FPos;
  if (FPos == Start) return false;
  FToken = tcHex;
  return true;
}

bool TSyntaxParser::ScanIdentChars() {
  if (FPos >= FEnd || !IsFirst(*FPos)) return false;
  ++FPos;
  while (FPos < FEnd && IsOther(*FPos)) ++FPos;
  return true;
}

bool TSyntaxParser::MatchList(const std::vector<AnsiString>& List) {
  for (const AnsiString& D : List)
    if (!D.empty() && size_t(FEnd - FPos) >= D.size() && SameChars(FPos, D, FCaseSensitive)) {
      FPos += D.size();
      return true;
    }
  return false;
}

bool TSyntaxParser::ScanSuffixes() {
  if (!MatchList(FBlock->CNumSuffixes)) return false;
  if (FBlock->UseMultipleNumSuffixes)
    while (MatchList(FBlock->CNumSuffixes)) {
    }
  return true;
}

bool TSyntaxParser::ParseInteger() {
  if (!ScanDigits()) return false;
  FToken = tcInteger;
  return true;
}

bool TSyntaxParser::ParseNumber() {
  if (!ScanDigits()) return false;
  FToken = tcInteger;
  if (FPos < FEnd && *FPos == '.') {
    ++FPos;
    ScanDigits();
    FToken = tcFloat;
  }
  if (FPos < FEnd && (*FPos == 'e' || *FPos == 'E')) {
    const char* Save = FPos;
    ++FPos;
    if (FPos < FEnd && (*FPos == '+' || *FPos == '-')) ++FPos;
    if (ScanDigits())
      FToken = tcFloat;
    else
      FPos = Save;  // an "e" without digits is not part of the number
  }
  return true;
}

bool TSyntaxParser::ParsePrefixedNumber() {
  if (!MatchList(FBlock->CNumPrefixes)) return false;
  if (ParseNumber()) {
    if (FToken == tcInteger) {
      ScanHexDigits();
      FToken = tcHex;
    }
  } else if (!ScanHexDigits()) {
    FToken = tcSymbol;  // the prefix alone
  }
  return true;
}

bool TSyntaxParser::ParseAffixedNumber() {
  TSyntaxBlock* B = FBlock;
  const char* Save = FPos;
  if (B->UsePrefixedSuffixedNumbers && !B->UsePSNumComposition) {
    TBlockTokenList* L = B->GetNumPrefixesSuffixes();
    for (Integer I = 0; I < L->Count(); ++I) {
      TBlockToken* T = L->Item(I);
      if (!T->UseToken) continue;
      FPos = Save;
      if (T->LeftDelimiter.empty() || size_t(FEnd - FPos) < T->LeftDelimiter.size() ||
          !SameChars(FPos, T->LeftDelimiter, FCaseSensitive))
        continue;
      FPos += T->LeftDelimiter.size();
      if (!ScanHexDigits()) continue;
      if (!T->RightDelimiter.empty()) {
        if (size_t(FEnd - FPos) < T->RightDelimiter.size() || !SameChars(FPos, T->RightDelimiter, FCaseSensitive))
          continue;
        FPos += T->RightDelimiter.size();
      }
      FToken = tcHex;
      return true;
    }
    FPos = Save;
  }
  if (B->UsePrefixedSuffixedNumbers && B->UsePSNumComposition) {
    if (ParsePrefixedNumber() && FToken != tcSymbol && ScanSuffixes()) return true;
    FPos = Save;
  }
  if (!B->UsePSNumComposition && B->UsePrefixedNumbers) {
    if (ParsePrefixedNumber()) return true;
    FPos = Save;
  }
  if (B->UseSuffixedNumbers) {
    if (ParseNumber() && ScanSuffixes()) return true;
    FPos = Save;
  }
  return false;
}

bool TSyntaxParser::FindKeyword(const char* Start) {
  AnsiString Word(Start, FPos);
  if (Word.empty()) return false;
  if (!FBlock->CaseSensitive) Word = AnsiLowerCase(Word);
  const AnsiString Needle = "," + Word + ",";
  const unsigned char First = static_cast<unsigned char>(Word[0]);
  for (size_t K = 0; K < FBlock->CKeywordTables.size(); ++K) {
    const AnsiString& Entry = FBlock->CKeywordTables[K][First];
    if (!Entry.empty() && Entry.find(Needle) != AnsiString::npos) {
      FToken = tcKeyword;
      FItemIndex = FBlock->CKeywordItems[K];
      return true;
    }
  }
  return false;
}

bool TSyntaxParser::ParseIdentifier() {
  TSyntaxBlock* B = FBlock;
  const char* Start = FPos;
  bool Found = false;
  if (B->UsePrefixedSuffixedIdentifiers) {
    TBlockTokenList* L = B->GetIdentPrefixesSuffixes();
    for (Integer I = 0; I < L->Count() && !Found; ++I) {
      TBlockToken* T = L->Item(I);
      if (!T->UseToken || T->LeftDelimiter.empty()) continue;
      FPos = Start;
      if (size_t(FEnd - FPos) < T->LeftDelimiter.size() || !SameChars(FPos, T->LeftDelimiter, FCaseSensitive))
        continue;
      FPos += T->LeftDelimiter.size();
      if (!ScanIdentChars()) continue;
      if (!T->RightDelimiter.empty()) {
        if (size_t(FEnd - FPos) < T->RightDelimiter.size() || !SameChars(FPos, T->RightDelimiter, FCaseSensitive))
          continue;
        FPos += T->RightDelimiter.size();
      }
      Found = true;
    }
    if (!Found) FPos = Start;
  }
  if (!Found && B->UsePrefixedIdentifiers && MatchList(B->CIdentPrefixes)) {
    if (!ScanIdentChars()) {
      FToken = tcSymbol;  // a prefix with nothing after it
      return true;
    }
    Found = true;
  }
  if (!Found && ScanIdentChars()) {
    if (B->UseSuffixedIdentifiers) MatchList(B->CIdentSuffixes);
    Found = true;
  }
  if (!Found) {
    FPos = Start;
    return false;
  }
  FToken = tcIdentifier;
  if (B->UseKeywords) FindKeyword(Start);
  return true;
}

// ---------------------------------------------------------------------------
// Tokens

void TSyntaxParser::ParseToken() {
  TSyntaxBlock* B = FBlock;
  switch (FStateIndex) {
    case 1: {
      FToken = tcMultiLineComment;
      TBlockTokenList* L = B->GetMultiLineCommentDelimiters();
      const char* Found;
      const char* End = (FItemIndex < L->Count()) ? FindRight(L->Item(FItemIndex)->RightDelimiter, Found) : nullptr;
      if (End) {
        FPos = End;
        FStateIndex = (FDirectiveFound && FPos < FEnd) ? 4 : 0;
      } else {
        FPos = FEnd;
      }
      return;
    }
    case 2:
    case 3: {
      const bool Single = FStateIndex == 2;
      FToken = Single ? tcSingleLineString : tcMultiLineString;
      TBlockTokenList* L = Single ? B->GetSingleLineStringDelimiters() : B->GetMultiLineStringDelimiters();
      const AnsiString Right = FItemIndex < L->Count() ? L->Item(FItemIndex)->RightDelimiter : AnsiString();
      const char* SearchStart = FPos;
      const char* Found;
      const char* End = FindRight(Right, Found);
      if (!End) {
        FPos = FEnd;
        if (Single && !(B->UseMetaSymbol && B->UseMetaToWrapLines && FEnd > FLine && FEnd[-1] == B->MetaSymbol))
          FCloseString = true;
        return;
      }
      if (B->UseMetaSymbol && Found > SearchStart && Found[-1] == B->MetaSymbol) {
        Integer Run = 0;
        for (const char* Q = Found - 1; Q >= SearchStart && *Q == B->MetaSymbol; --Q) ++Run;
        if ((Run & 1) && End < FEnd) {
          FPos = Found + 1;  // escaped: the string goes on
          return;
        }
      }
      FPos = End;
      FStateIndex = 0;
      return;
    }
    case 4: {
      if (B->UseComments && ParseComment()) return;
      FToken = tcDirective;
      const char C = *FPos++;
      if (FPos >= FEnd && !(B->UseMetaSymbol && B->UseMetaToWrapLines && C == B->MetaSymbol)) FStateIndex = 0;
      return;
    }
    default: break;
  }
  const unsigned char C = static_cast<unsigned char>(*FPos);
  if (C <= 32) {
    while (FPos < FEnd && static_cast<unsigned char>(*FPos) <= 32) ++FPos;
    FToken = tcText;
    return;
  }
  if (FScheme->FreeSymbols().test(C)) {
    while (FPos < FEnd && FScheme->FreeSymbols().test(static_cast<unsigned char>(*FPos))) ++FPos;
    FToken = tcSymbol;
    return;
  }
  if (B->UseComments && ParseComment()) return;
  if (B->UseStrings && ParseString()) return;
  if (B->UseNumbers) {
    if (ParseAffixedNumber() || ParseNumber()) return;
  } else if (ParseInteger()) {
    return;
  }
  if (B->UseLineDirectives && FDirectiveMayStart && ParseLineDirective()) return;
  if (ParseIdentifier()) return;
  ++FPos;
  const bool Symbol = (C >= 33 && C <= 47) || (C >= 58 && C <= 64) || (C >= 91 && C <= 94) || C == 96 ||
                      (C >= 123 && C <= 127);
  FToken = Symbol ? tcSymbol : tcText;
}

Integer TSyntaxParser::TokenFontID() const {
  TSyntaxBlock* B = FBlock;
  auto ItemFont = [&](const TCollection* L) {
    return FItemIndex < L->Count() ? static_cast<TToken*>(L->Items(FItemIndex))->FontID : -1;
  };
  Integer Id = -1;
  switch (FToken) {
    case tcSingleLineComment: Id = ItemFont(B->GetSingleLineCommentDelimiters()); break;
    case tcMultiLineComment: Id = ItemFont(B->GetMultiLineCommentDelimiters()); break;
    case tcFullLineComment: Id = ItemFont(B->GetFullLineCommentDelimiters()); break;
    case tcDirective: Id = B->UseLineDirectives ? B->FIDirective : B->FIText; break;
    case tcSingleLineString: Id = ItemFont(B->GetSingleLineStringDelimiters()); break;
    case tcMultiLineString: Id = ItemFont(B->GetMultiLineStringDelimiters()); break;
    case tcInteger: Id = B->UseNumbers ? B->FIIntNum : B->FIText; break;
    case tcFloat: Id = B->UseNumbers ? B->FIFloatNum : B->FIText; break;
    case tcHex: Id = B->UseNumbers ? B->FIHexNum : B->FIText; break;
    case tcIdentifier: Id = B->UseIdentifiers ? B->FIIdentifier : B->FIText; break;
    case tcKeyword: Id = ItemFont(B->GetKeywordSets()); break;
    case tcSymbol: Id = B->UseSymbols ? B->FISymbol : B->FIText; break;
    default: Id = B->FIText; break;
  }
  if ((Id & 255) == 255) Id = B->FIText;
  return Id & 255;
}

Integer TSyntaxParser::ParseLine(const AnsiString& Text, Integer BeginState, AnsiString& Attrs) {
  if (Attrs.empty() || Text.empty() || ComponentState().Contains(csLoading)) return BeginState;
  if (FScheme->GetSyntaxBlocks()->Count() == 0) return BeginState;
  if (Attrs.size() < Text.size()) Attrs.resize(Text.size());
  const std::uint32_t S = std::uint32_t(BeginState);
  SetBlockStack(Integer(S >> 24), 0);
  FPartOfBlock = (S >> 23) & 1;
  FCaseSensitive = (S >> 22) & 1;
  FDelimIndex = Integer((S >> 16) & 63);
  FStateIndex = Integer((S >> 8) & 255);
  FItemIndex = Integer(S & 255);
  if (FStateIndex > 4) FStateIndex = 0;
  FDirectiveMayStart = FFullLineMayStart = true;
  FDirectiveFound = FCloseString = false;
  FLine = Text.data();
  FEnd = FLine + Text.size();
  FPos = FLine;
  AnsiString Pending;  // text of a token that runs on over several pieces

  for (;;) {
    if (FStateIndex == 0) {
      bool RepeatPos = false;
      for (int Pass = 0; Pass < MaxBlockPasses; ++Pass) {
        bool Left = false, Entered = false, Stay = false;
        if (!RepeatPos) Left = TryCloseBlock();
        for (const TChildDelimiter& D : FBlock->COuterChildren) {
          if (!MatchBack(FPos, D.Delimiter, FCaseSensitive)) continue;
          if (SetBlockStack(D.Code, 1) < 0) continue;
          Entered = true;
          Stay = Left || !TryCloseBlock();
          break;
        }
        if (!Entered)
          for (const TChildDelimiter& D : FBlock->CInnerChildren) {
            if (!MatchAhead(FPos, D.Delimiter, FCaseSensitive)) continue;
            if (SetBlockStack(D.Code, 1) < 0) continue;
            Entered = true;
            break;
          }
        bool LeftNow = false;
        if (!Entered && !Left && RepeatPos) LeftNow = TryCloseBlock();
        if (!(Stay || LeftNow)) break;
        RepeatPos = true;
      }
    }
    if (FCloseString) FStateIndex = 0;
    if (FPos >= FEnd) break;
    const char* TokenStart = FPos;
    const Integer StateBefore = FStateIndex;
    ParseToken();
    if (FPos == TokenStart && FStateIndex == StateBefore) ++FPos;  // never stand still
    if (FToken >= 4) FDirectiveMayStart = false;
    if (FToken != 0) FFullLineMayStart = false;
    const size_t From = size_t(TokenStart - FLine), To = size_t(FPos - FLine);
    if (To > From) std::memset(&Attrs[From], TokenFontID(), To - From);
    if (OnGetToken.Assigned()) {
      Pending.append(TokenStart, FPos);
      if (FStateIndex == 0) {
        OnGetToken(this, FToken, Pending);
        Pending.clear();
      }
    }
  }
  const std::uint32_t Result = (std::uint32_t(FStackIndex & 255) << 24) | (std::uint32_t(FPartOfBlock) << 23) |
                               (std::uint32_t(FCaseSensitive) << 22) | (std::uint32_t(FDelimIndex & 63) << 16) |
                               (std::uint32_t(FStateIndex & 255) << 8) | std::uint32_t(FItemIndex & 255);
  return Integer(Result);
}
