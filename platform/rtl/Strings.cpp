#include "platform/rtl/Strings.h"

#include <algorithm>
#include <string>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/Streams.h"

namespace {

constexpr Integer MaxListSize = 0x7FFFFFFF / 16;

bool IsBlankOrControl(char C) { return static_cast<unsigned char>(C) <= ' '; }

// Blanks and control bytes, but not the NUL that ends the text.
bool IsSkippable(char C) { return C != '\0' && IsBlankOrControl(C); }

// Restores the delimiter settings when CommaText is done with them.
class TDelimiterOverride {
public:
  TDelimiterOverride(TStrings& AStrings, char Delimiter, char Quote)
      : FStrings(AStrings), FDelimiter(AStrings.GetDelimiter()), FQuote(AStrings.GetQuoteChar()) {
    FStrings.SetDelimiter(Delimiter);
    FStrings.SetQuoteChar(Quote);
  }
  ~TDelimiterOverride() {
    FStrings.SetDelimiter(FDelimiter);
    FStrings.SetQuoteChar(FQuote);
  }

private:
  TStrings& FStrings;
  char FDelimiter, FQuote;
};

}  // namespace

// --- TStrings ---------------------------------------------------------------------

void TStrings::IndexError(Integer Index) {
  throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

Integer TStrings::Add(const AnsiString& S) {
  const Integer Result = GetCount();
  Insert(Result, S);
  return Result;
}

Integer TStrings::AddObject(const AnsiString& S, TObject* AObject) {
  const Integer Result = Add(S);
  PutObject(Result, AObject);
  return Result;
}

void TStrings::AddStrings(const TStrings* Strings) {
  if (!Strings) return;
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    // Counted once: adding a list to itself doubles it, no more.
    const Integer N = Strings->GetCount();
    for (Integer I = 0; I < N; ++I) AddObject(Strings->Get(I), Strings->GetObject(I));
  }
}

void TStrings::InsertObject(Integer Index, const AnsiString& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Put(Integer Index, const AnsiString& S) {
  TObject* TempObject = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, TempObject);
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const AnsiString TempString = Get(Index1);
    TObject* TempObject = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, TempString);
    PutObject(Index2, TempObject);
  }
}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const AnsiString TempString = Get(CurIndex);
    TObject* TempObject = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, TempString, TempObject);
  }
}

Integer TStrings::IndexOf(const AnsiString& S) const {
  for (Integer I = 0, N = GetCount(); I < N; ++I)
    if (CompareStrings(Get(I), S) == 0) return I;
  return -1;
}

Integer TStrings::IndexOfName(const AnsiString& Name) const {
  for (Integer I = 0, N = GetCount(); I < N; ++I) {
    const AnsiString S = Get(I);
    const int P = AnsiPos(AnsiString(1, FNameValueSeparator), S);
    if (P != 0 && CompareStrings(S.substr(0, static_cast<size_t>(P - 1)), Name) == 0) return I;
  }
  return -1;
}

Integer TStrings::IndexOfObject(const TObject* AObject) const {
  for (Integer I = 0, N = GetCount(); I < N; ++I)
    if (GetObject(I) == AObject) return I;
  return -1;
}

bool TStrings::Equals(const TStrings* Strings) const {
  if (!Strings) return false;
  const Integer N = GetCount();
  if (N != Strings->GetCount()) return false;
  for (Integer I = 0; I < N; ++I)
    if (Get(I) != Strings->Get(I)) return false;
  return true;
}

void TStrings::DefineProperties(TFiler* Filer) {
  TPersistent::DefineProperties(Filer);
  Filer->DefineProperty(
      "Strings",
      [this](TReader* Reader) {
        Reader->ReadListBegin();
        BeginUpdate();
        {
          TUpdateGuard Update(*this, UpdateBegun);
          Clear();
          while (!Reader->EndOfList()) Add(Reader->ReadString());
        }
        Reader->ReadListEnd();
      },
      [this](TWriter* Writer) {
        Writer->WriteListBegin();
        for (Integer I = 0; I < GetCount(); ++I) Writer->WriteString(Get(I));
        Writer->WriteListEnd();
      },
      GetCount() > 0);
}

void TStrings::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TStrings*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    Clear();
    FDelimiter = Src->FDelimiter;
    FQuoteChar = Src->FQuoteChar;
    FNameValueSeparator = Src->FNameValueSeparator;
    AddStrings(Src);
  }
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

AnsiString TStrings::GetTextStr() const {
  // Sized before it is filled: a text grown by appending holds up to twice
  // its length at the last reallocation, and the text may be the whole
  // document.
  const Integer N = GetCount();
  const size_t BreakLength = std::char_traits<char>::length(sLineBreak);
  size_t Length = 0;
  for (Integer I = 0; I < N; ++I) Length += Get(I).size() + BreakLength;
  AnsiString Result;
  Result.reserve(Length);
  for (Integer I = 0; I < N; ++I) {
    Result += Get(I);
    Result += sLineBreak;
  }
  return Result;
}

void TStrings::SetTextStr(const AnsiString& Value) {
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    Clear();
    const char* P = Value.c_str();  // the terminating NUL, or an embedded one, ends the text
    while (*P != '\0') {
      const char* Start = P;
      while (*P != '\0' && *P != '\n' && *P != '\r') ++P;
      Add(AnsiString(Start, static_cast<size_t>(P - Start)));
      if (*P == '\r') ++P;
      if (*P == '\n') ++P;
    }
  }
}

Integer TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
  return AnsiCompareText(S1, S2);
}

AnsiString TStrings::GetCommaText() const {
  auto& Self = const_cast<TStrings&>(*this);
  TDelimiterOverride Override(Self, ',', '"');
  return GetDelimitedText();
}

void TStrings::SetCommaText(const AnsiString& Value) {
  TDelimiterOverride Override(*this, ',', '"');
  SetDelimitedText(Value);
}

AnsiString TStrings::GetDelimitedText() const {
  const Integer N = GetCount();
  if (N == 1 && Get(0).empty()) return AnsiString(2, FQuoteChar);
  AnsiString Result;
  for (Integer I = 0; I < N; ++I) {
    AnsiString S = Get(I);
    // Scanned as a C string: bytes after an embedded NUL do not count.
    const char* P = S.c_str();
    while (*P != '\0' && !IsBlankOrControl(*P) && *P != FQuoteChar && *P != FDelimiter) ++P;
    if (*P != '\0') S = AnsiQuotedStr(S, FQuoteChar);
    if (I > 0) Result += FDelimiter;
    Result += S;
  }
  return Result;
}

void TStrings::SetDelimitedText(const AnsiString& Value) {
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    Clear();
    const char* P = Value.c_str();
    while (IsSkippable(*P)) ++P;
    while (*P != '\0') {
      AnsiString S;
      if (*P == FQuoteChar) {
        S = AnsiExtractQuotedStr(P, FQuoteChar);
      } else {
        const char* P1 = P;
        while (!IsBlankOrControl(*P) && *P != FDelimiter) ++P;
        S.assign(P1, static_cast<size_t>(P - P1));
      }
      Add(S);
      while (IsSkippable(*P)) ++P;
      if (*P == FDelimiter) {
        if (P[1] == '\0') Add(AnsiString());  // a trailing delimiter ends with an empty item
        do ++P;
        while (IsSkippable(*P));
      }
    }
  }
}

AnsiString TStrings::GetNames(Integer Index) const {
  const AnsiString S = Get(Index);
  const int P = AnsiPos(AnsiString(1, FNameValueSeparator), S);
  return P != 0 ? S.substr(0, static_cast<size_t>(P - 1)) : AnsiString();
}

AnsiString TStrings::GetValues(const AnsiString& Name) const {
  const Integer I = IndexOfName(Name);
  if (I < 0) return AnsiString();
  const AnsiString S = Get(I);
  return Name.size() + 1 < S.size() ? S.substr(Name.size() + 1) : AnsiString();
}

void TStrings::SetValues(const AnsiString& Name, const AnsiString& Value) {
  Integer I = IndexOfName(Name);
  if (!Value.empty()) {
    if (I < 0) I = Add(AnsiString());
    Put(I, Name + FNameValueSeparator + Value);
  } else if (I >= 0) {
    Delete(I);
  }
}

AnsiString TStrings::GetValueFromIndex(Integer Index) const {
  if (Index < 0) return AnsiString();
  const AnsiString S = Get(Index);
  const size_t From = GetNames(Index).size() + 1;
  return From < S.size() ? S.substr(From) : AnsiString();
}

void TStrings::SetValueFromIndex(Integer Index, const AnsiString& Value) {
  if (!Value.empty()) {
    if (Index < 0) Index = Add(AnsiString());
    Put(Index, GetNames(Index) + FNameValueSeparator + Value);
  } else if (Index >= 0) {
    Delete(Index);
  }
}

void TStrings::LoadFromFile(const AnsiString& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TStrings::LoadFromStream(TStream* Stream) {
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const Int64 Left = Stream->GetSize() - Stream->GetPosition();
    if (Left < 0 || Left > 0x7FFFFFFF) throw EReadError("Stream read error");
    SetTextStr(Stream->ReadBytes(static_cast<Integer>(Left)));
  }
}

void TStrings::SaveToFile(const AnsiString& FileName) const {
  // Whole or not at all: a full disk leaves the old file, not half a new one.
  TAtomicFileStream Stream(FileName);
  SaveToStream(&Stream);
  Stream.Commit();
}

void TStrings::SaveToStream(TStream* Stream) const {
  Stream->WriteBytes(GetTextStr());
}

// --- TStringList ------------------------------------------------------------------

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TStringList::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange.Assigned()) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging.Assigned()) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

Integer TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::Grow() {
  const Integer Delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
  SetCapacity(FCapacity + Delta);
}

void TStringList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < GetCount() || NewCapacity > MaxListSize) IndexError(NewCapacity);
  FList.reserve(static_cast<size_t>(NewCapacity));
  FCapacity = NewCapacity;
}

void TStringList::InsertItem(Integer Index, const AnsiString& S, TObject* AObject) {
  Changing();
  if (GetCount() == FCapacity) Grow();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

Integer TStringList::Add(const AnsiString& S) { return AddObject(S, nullptr); }

Integer TStringList::AddObject(const AnsiString& S, TObject* AObject) {
  Integer Result;
  if (!FSorted) {
    Result = GetCount();
  } else if (Find(S, Result)) {
    if (FDuplicates == dupIgnore) return Result;
    if (FDuplicates == dupError) throw EStringListError("String list does not allow duplicates");
  }
  InsertItem(Result, S, AObject);
  return Result;
}

void TStringList::Insert(Integer Index, const AnsiString& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(Integer Index, const AnsiString& S, TObject* AObject) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
  if (Index < 0 || Index > GetCount()) IndexError(Index);
  InsertItem(Index, S, AObject);
}

void TStringList::Delete(Integer Index) {
  CheckIndex(Index);
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  FCapacity = 0;
  Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
  Changed();
}

AnsiString TStringList::Get(Integer Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].FString;
}

void TStringList::Put(Integer Index, const AnsiString& S) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].FString = S;
  Changed();
}

TObject* TStringList::GetObject(Integer Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].FObject;
}

void TStringList::PutObject(Integer Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].FObject = AObject;
  Changed();
}

Integer TStringList::IndexOf(const AnsiString& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  Integer Result;
  return Find(S, Result) ? Result : -1;
}

bool TStringList::Find(const AnsiString& S, Integer& Index) const {
  bool Result = false;
  Integer L = 0;
  Integer H = GetCount() - 1;
  while (L <= H) {
    const Integer I = (L + H) >> 1;
    const Integer C = CompareStrings(FList[static_cast<size_t>(I)].FString, S);
    if (C < 0) {
      L = I + 1;
    } else {
      H = I - 1;
      if (C == 0) {
        Result = true;
        if (FDuplicates != dupAccept) L = I;
      }
    }
  }
  Index = L;
  return Result;
}

void TStringList::Sort() {
  CustomSort([](TStringList* List, Integer Index1, Integer Index2) {
    return static_cast<int>(List->CompareStrings(List->FList[static_cast<size_t>(Index1)].FString,
                                                 List->FList[static_cast<size_t>(Index2)].FString));
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (FSorted || GetCount() < 2 || !Compare) return;
  Changing();
  QuickSort(0, GetCount() - 1, Compare);
  Changed();
}

// The pivot is followed by index as items are exchanged. The bound checks
// only matter for a comparer that is no consistent order.
void TStringList::QuickSort(Integer L, Integer R, const TStringListSortCompare& Compare) {
  Integer I;
  do {
    I = L;
    Integer J = R;
    Integer P = (L + R) >> 1;
    do {
      while (I < R && Compare(this, I, P) < 0) ++I;
      while (J > L && Compare(this, J, P) > 0) --J;
      if (I <= J) {
        std::swap(FList[static_cast<size_t>(I)], FList[static_cast<size_t>(J)]);
        if (P == I)
          P = J;
        else if (P == J)
          P = I;
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) QuickSort(L, J, Compare);
    L = I;
  } while (I < R);
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) {
    FSorted = false;
    Sort();
    FSorted = true;
  }
}
