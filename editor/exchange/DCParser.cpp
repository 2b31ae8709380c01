#include "editor/exchange/DCParser.h"

#include <cstring>

#include "editor/base/EdConsts.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Guards.h"

namespace {
const char* const SPosition = " at Line:%d, Char:%d. ";
}  // namespace

TCustomDCParser::TCustomDCParser(TComponent* AOwner)
    : TSimpleParser(AOwner),
      FReservedWords(std::make_unique<TStringList>()),
      FWordList(std::make_unique<TStringList>()),
      FSavedStates(TTokenData::StaticClass()) {
  FWordList->SetSorted(true);
  FWordList->SetDuplicates(dupIgnore);
  for (auto& B : FBuckets) {
    B = std::make_unique<TStringList>();
    B->SetSorted(true);
  }
  FReservedWords->OnChange = TNotifyEvent(this, &TCustomDCParser::WordListChanged);
}

TCustomDCParser::~TCustomDCParser() { FReservedWords->OnChange = nullptr; }

void TCustomDCParser::Published(TPublished<TCustomDCParser>& P) {
  P.Property("OnGetColorData", &TCustomDCParser::OnGetColorData, &TCustomDCParser::OnGetColorData);
  P.Property("Version", &TCustomDCParser::Version, &TCustomDCParser::Version);
}

void TCustomDCParser::Loaded() {
  inherited::Loaded();
  UpdateWordLists();
}

// ---------------------------------------------------------------------------
// Tables

void TCustomDCParser::EnsureStates(Integer MaxState) {
  if (MaxState < 0) return;
  while (Integer(FStates.size()) <= MaxState) FStates.push_back(std::make_unique<TTable>(TTable{}));
}

void TCustomDCParser::SetStateHandler(std::initializer_list<Integer> States, THandler Handler,
                                      const TCharSet& Chars) {
  Integer Max = -1;
  for (Integer S : States) Max = std::max(Max, S);
  EnsureStates(Max);
  for (Integer S : States) {
    if (S < 0) continue;
    TTable& T = *FStates[S];
    for (int C = 0; C < 256; ++C)
      if (Chars.test(C)) T[C] = Handler;
  }
}

void TCustomDCParser::SetLineHandlers(Integer State) {
  TCharSet Cr, Lf;
  Cr.set('\r');
  Lf.set('\n');
  SetStateHandler({State}, &TCustomDCParser::ScanCR, Cr);
  SetStateHandler({State}, &TCustomDCParser::ScanLF, Lf);
}

void TCustomDCParser::InitStates() {
  TCharSet Printable;
  for (int C = '!'; C <= 255; ++C) Printable.set(C);
  SetHandler(Printable, &TCustomDCParser::ScanSingleChar);
  SetLineHandlers(0);
}

// ---------------------------------------------------------------------------
// Reading tokens

void TCustomDCParser::SetSource(const char* P, const char* End) {
  FSourceEnd = End;
  if (P == FSourcePtr) return;
  FSourcePtr = P;
  FLineStart = P;
  FTokenPtr = P;
  FToken = -1;
}

Integer TCustomDCParser::NextToken() {
  Integer Result;
  do {
    FTokenPtr = FSourcePtr;
    const unsigned char C = static_cast<unsigned char>(*FSourcePtr);
    if (C == 0) {
      if (FSourcePtr < FSourceEnd) {
        ++FSourcePtr;
        Result = -1;
        continue;
      }
      Result = 0;
      break;
    }
    // A handler may switch to a state nobody installed; that is a fault of
    // the descendant, reported rather than read out of bounds.
    if (FState < 0 || FState >= Integer(FStates.size()))
      Error("No character table for state %d", {FState});
    const THandler H = (*FStates[FState])[C];
    if (H) {
      Result = (this->*H)();
    } else {
      ++FSourcePtr;
      Result = -1;
    }
  } while (Result == -1);
  FToken = Result;
  return Result;
}

void TCustomDCParser::GetTokenString(AnsiString& S) const {
  if (!FTokenPtr || !FSourcePtr || FSourcePtr < FTokenPtr) {
    S.clear();
    return;
  }
  S.assign(FTokenPtr, FSourcePtr);
}

AnsiString TCustomDCParser::TokenString() const {
  AnsiString S;
  GetTokenString(S);
  return S;
}

void TCustomDCParser::PeekTokenString(AnsiString& S) {
  PushState();
  try {
    NextToken();
    GetTokenString(S);
  } catch (...) {
    PopStates();
    throw;
  }
  PopStates();
}

TPoint TCustomDCParser::GetTokenPos() const {
  const Integer Col = (FTokenPtr && FLineStart) ? Integer(FTokenPtr - FLineStart) : 0;
  return TPoint{Col + 1, LineNumber() + 1};
}

// ---------------------------------------------------------------------------
// Base handlers

Integer TCustomDCParser::ScanSingleChar() {
  ++FSourcePtr;
  return 7;
}

Integer TCustomDCParser::ScanCR() { return NewLine('\n'); }

Integer TCustomDCParser::ScanLF() { return NewLine('\r'); }

Integer TCustomDCParser::NewLine(char Partner) {
  SetLineNumber(LineNumber() + 1);
  ++FSourcePtr;
  if (*FSourcePtr == Partner) ++FSourcePtr;
  FLineStart = FSourcePtr;
  return -1;
}

static bool IsDigit(char C) { return C >= '0' && C <= '9'; }

void TCustomDCParser::SkipDigits() {
  while (IsDigit(*FSourcePtr)) ++FSourcePtr;
}

void TCustomDCParser::SkipExponent() {
  if (*FSourcePtr != 'e' && *FSourcePtr != 'E') return;
  ++FSourcePtr;
  if (*FSourcePtr == '+' || *FSourcePtr == '-') ++FSourcePtr;
  SkipDigits();
}

Integer TCustomDCParser::ScanNumber() {
  ++FSourcePtr;
  SkipDigits();
  if (FSourcePtr[0] == '.' && IsDigit(FSourcePtr[1])) {
    ++FSourcePtr;
    SkipDigits();
    SkipExponent();
    return 5;
  }
  if (*FSourcePtr == 'e' || *FSourcePtr == 'E') {
    SkipExponent();
    return 5;
  }
  return 4;
}

bool TCustomDCParser::SkipToChar(char C) {
  while (IsLineTextChar(*FSourcePtr)) {
    if (*FSourcePtr == C) return true;
    ++FSourcePtr;
  }
  return false;
}

Integer TCustomDCParser::SkipBraceComment() {
  if (SkipToChar('}')) {
    ++FSourcePtr;
    FState = 0;
  } else {
    FState = 1;
  }
  return 2;
}

// ---------------------------------------------------------------------------
// Saved states

void TCustomDCParser::SaveState(TTokenData* Data) {
  Data->CondLevel = CondLevel;
  Data->SkipTokens = SkipTokens;
  Data->Token = FToken;
  Data->State = FState;
  Data->LineNumber = LineNumber();
  Data->SourceOffset = FSourcePtr && FLineStart ? Integer(FSourcePtr - FLineStart) : 0;
  Data->TokenOffset = FTokenPtr && FLineStart ? Integer(FTokenPtr - FLineStart) : 0;
  Data->LineStart = FLineStart;
  Data->ResWordID = ResWordID;
}

void TCustomDCParser::RestoreState(TTokenData* Data) {
  CondLevel = Data->CondLevel;
  SkipTokens = Data->SkipTokens;
  SetLineNumber(Data->LineNumber);
  SetSource(Data->LineStart, FSourceEnd);
  StateRestored();
  FLineStart = Data->LineStart;
  FSourcePtr = Data->LineStart ? Data->LineStart + Data->SourceOffset : nullptr;
  FTokenPtr = Data->LineStart ? Data->LineStart + Data->TokenOffset : nullptr;
  FToken = Data->Token;
  FState = Data->State;
  ResWordID = Data->ResWordID;
}

Integer TCustomDCParser::PushState() {
  auto* Item = dynamic_cast<TTokenData*>(static_cast<TObject*>(TokenDataClass()->Create(&FSavedStates)));
  if (!Item) throw EInvalidOperation("TokenDataClass must derive from TTokenData");
  SaveState(Item);
  return Item->Index();
}

bool TCustomDCParser::PopState() {
  if (FSavedStates.Count() == 0) ErrorStr(LoadResText(EdConsts::STokenListEmpty));
  auto* Item = static_cast<TTokenData*>(FSavedStates.Items(FSavedStates.Count() - 1));
  Item->BeforeRestore();
  RestoreState(Item);
  const bool Result = Item->Continue;
  delete Item;
  return Result;
}

Integer TCustomDCParser::PopStates() {
  while (PopState()) {
  }
  return FToken;
}

// ---------------------------------------------------------------------------
// Errors

void TCustomDCParser::Error(const AnsiString& Message, std::initializer_list<TVarRec> Args) {
  const TPoint P = GetTokenPos();
  AnsiString Suffix;
  GetErrorSuffix(Suffix);
  // The position is put in first so that a '%' in it cannot disturb Args.
  const AnsiString Where = Format(SPosition, {P.Y, P.X});
  throw Exception(Format(Message, Args) + Where + Suffix);
}

void TCustomDCParser::ErrorStr(const AnsiString& Message) { Error(Message, {}); }

// ---------------------------------------------------------------------------
// Words

void TCustomDCParser::SetReservedWords(const std::vector<AnsiString>& Words) {
  FReservedWords->BeginUpdate();
  {
    TUpdateGuard Update(*FReservedWords, UpdateBegun);
    FReservedWords->Clear();
    for (const AnsiString& W : Words) FReservedWords->Add(W);
  }
}

Integer TCustomDCParser::HashWord(const AnsiString& Word) {
  std::uint32_t H = std::uint32_t(Word.size()) - 1;
  for (char Ch : Word) {
    unsigned char C = static_cast<unsigned char>(Ch);
    if (C >= 'a' && C <= 'z') C = static_cast<unsigned char>(C - 'a' + 'A');
    H = (H ^ C) * 2;
  }
  return Integer((H >> 1) & 255);
}

void TCustomDCParser::UpdateWordLists() {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  FWordList->Clear();
  for (Integer I = FReservedWords->GetCount() - 1; I >= 0; --I) {
    const AnsiString W = Trim(FReservedWords->GetStrings(I));
    if (!W.empty()) FWordList->Add(W);
  }
  for (auto& B : FBuckets) B->Clear();
  for (Integer I = FWordList->GetCount() - 1; I >= 0; --I) {
    const AnsiString W = FWordList->GetStrings(I);
    FBuckets[HashWord(W)]->AddObject(W, reinterpret_cast<TObject*>(std::intptr_t(I)));
  }
}

void TCustomDCParser::WordListChanged(TObject* /*Sender*/) {
  UpdateWordLists();
  NotifyListeners();
}

// ---------------------------------------------------------------------------
// Colouring a line

void TCustomDCParser::DoGetColorData(Integer Token, const AnsiString& TokenStr, AnsiString& ColorData) {
  if (OnGetColorData.Assigned()) OnGetColorData(this, Token, TokenStr, ColorData);
  if (ColorData.size() > TokenStr.size())
    ColorData.resize(TokenStr.size());
  else if (ColorData.size() < TokenStr.size())
    ColorData.append(TokenStr.size() - ColorData.size(), static_cast<char>(Token));
}

void TCustomDCParser::ParseWithEvent(const char* Text, AnsiString& Attrs) {
  AnsiString TokenStr, ColorData;
  while (NextToken() != 0) {
    GetTokenString(TokenStr);
    ColorData.assign(TokenStr.size(), static_cast<char>(FToken));
    DoGetColorData(FToken, TokenStr, ColorData);
    const size_t Start = size_t(FTokenPtr - Text);
    if (Start < Attrs.size()) std::memcpy(&Attrs[Start], ColorData.data(), std::min(ColorData.size(), Attrs.size() - Start));
  }
}

Integer TCustomDCParser::ParseLine(const AnsiString& Text, Integer BeginState, AnsiString& Attrs) {
  if (Text.empty() || Attrs.empty()) return BeginState;
  FState = BeginState;
  FSourcePtr = nullptr;  // a new text, even if it happens to sit where the last one ended
  SetSource(Text.c_str());
  // The text may end early at a NUL; the attributes still cover all of it.
  Attrs.resize(Text.size());
  const char* Base = Text.c_str();
  if (OnGetColorData.Assigned()) {
    ParseWithEvent(Base, Attrs);
  } else {
    while (NextToken() != 0) {
      const size_t Start = size_t(FTokenPtr - Base);
      const size_t End = std::min(size_t(FSourcePtr - Base), Attrs.size());
      if (Start < End) std::memset(&Attrs[Start], static_cast<unsigned char>(FToken), End - Start);
    }
  }
  return FState;
}
