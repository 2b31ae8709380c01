#include "platform/rtl/IniFiles.h"

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/Strings.h"

// --- TCustomIniFile -----------------------------------------------------------------

void TCustomIniFile::RaiseWriteError() const {
  throw EIniFileException("Unable to write to " + FFileName);
}

Integer TCustomIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident,
                                    Integer Default) const {
  return StrToIntDef(ReadString(Section, Ident, AnsiString()), Default);
}

void TCustomIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default) const {
  const AnsiString S = ReadString(Section, Ident, AnsiString());
  double Value = Default;
  if (!S.empty() && !TryStrToFloat(S, Value)) Value = Default;
  return Value;
}

void TCustomIniFile::WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

bool TCustomIniFile::SectionExists(const AnsiString& Section) const {
  TStringList Keys;
  ReadSection(Section, &Keys);
  return Keys.GetCount() > 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident) const {
  TStringList Keys;
  ReadSection(Section, &Keys);
  return Keys.IndexOf(Ident) >= 0;
}

// --- TIniFile ---------------------------------------------------------------------
// The file is kept as its lines; each line is classified on reading.

namespace {

struct TIniLine {
  enum TKind { Other, Header, Pair } Kind = Other;
  AnsiString Text;   // the line as in the file
  AnsiString Name;   // section name for a header, key for a pair
  AnsiString Value;  // trimmed value of a pair
};

TIniLine ParseLine(AnsiString Text) {
  TIniLine L;
  const AnsiString T = Trim(Text);
  L.Text = std::move(Text);
  if (T.empty() || T[0] == ';') return L;
  if (T[0] == '[') {
    const auto Close = T.find(']');
    if (Close == AnsiString::npos) return L;  // malformed header
    L.Kind = TIniLine::Header;
    L.Name = Trim(T.substr(1, Close - 1));
    return L;
  }
  const auto Eq = T.find('=');
  if (Eq == AnsiString::npos) return L;
  L.Name = Trim(T.substr(0, Eq));
  if (L.Name.empty()) return L;
  L.Kind = TIniLine::Pair;
  L.Value = Trim(T.substr(Eq + 1));
  return L;
}

enum class TMissing { Empty, Raise };

// Reads the file's lines. A missing file is empty; an unreadable one is
// empty for a reader and an error for a writer (which must not replace it).
std::vector<TIniLine> LoadLines(const AnsiString& FileName, TMissing Unreadable) {
  std::vector<TIniLine> Result;
  if (!FileExists(FileName)) return Result;
  TStringList Raw;
  try {
    Raw.LoadFromFile(FileName);
  } catch (const EStreamError&) {
    if (Unreadable == TMissing::Raise) throw;
    return Result;
  }
  Result.reserve(static_cast<size_t>(Raw.GetCount()));
  for (Integer I = 0; I < Raw.GetCount(); ++I) Result.push_back(ParseLine(Raw[I]));
  return Result;
}

// [First, End) are the lines of the first section of that name, First being
// its header; First == npos when there is none.
struct TSectionRange {
  size_t First = AnsiString::npos;
  size_t End = 0;
};

TSectionRange FindSection(const std::vector<TIniLine>& Lines, const AnsiString& Section) {
  TSectionRange R;
  for (size_t I = 0; I < Lines.size(); ++I) {
    if (Lines[I].Kind == TIniLine::Header && AnsiSameText(Lines[I].Name, Section)) {
      R.First = I;
      R.End = I + 1;
      while (R.End < Lines.size() && Lines[R.End].Kind != TIniLine::Header) ++R.End;
      return R;
    }
  }
  return R;
}

size_t FindKey(const std::vector<TIniLine>& Lines, const TSectionRange& R, const AnsiString& Ident) {
  if (R.First == AnsiString::npos) return AnsiString::npos;
  for (size_t I = R.First + 1; I < R.End; ++I)
    if (Lines[I].Kind == TIniLine::Pair && AnsiSameText(Lines[I].Name, Ident)) return I;
  return AnsiString::npos;
}

AnsiString StripQuotes(const AnsiString& V) {
  if (V.size() >= 2 && (V.front() == '"' || V.front() == '\'') && V.back() == V.front())
    return V.substr(1, V.size() - 2);
  return V;
}

}  // namespace

// Loads, lets Edit change the lines, and writes them back atomically when it
// returns true. Any failure becomes the class library's ini write error.
template <class F>
static void EditIniFile(const TCustomIniFile& Ini, const AnsiString& FileName, F&& Edit,
                        void (TCustomIniFile::*Fail)() const) {
  std::vector<TIniLine> Lines;
  try {
    Lines = LoadLines(FileName, TMissing::Raise);
  } catch (const Exception&) {
    (Ini.*Fail)();
  }
  if (!Edit(Lines)) return;
  AnsiString Text;
  for (const auto& L : Lines) {
    Text += L.Text;
    Text += sLineBreak;
  }
  try {
    SaveFileAtomically(FileName, Text);
  } catch (const Exception&) {
    (Ini.*Fail)();
  }
}

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) const {
  const auto Lines = LoadLines(FileName(), TMissing::Empty);
  const size_t K = FindKey(Lines, FindSection(Lines, Section), Ident);
  return K == AnsiString::npos ? Default : StripQuotes(Lines[K].Value);
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) {
  EditIniFile(*this, FileName(), [&](std::vector<TIniLine>& Lines) {
    TIniLine New = ParseLine(Ident + "=" + Value);
    const TSectionRange R = FindSection(Lines, Section);
    if (R.First == AnsiString::npos) {
      Lines.push_back(ParseLine("[" + Section + "]"));
      Lines.push_back(std::move(New));
      return true;
    }
    const size_t K = FindKey(Lines, R, Ident);
    if (K != AnsiString::npos) {
      Lines[K] = std::move(New);
      return true;
    }
    // After the section's last non-blank line, so blank lines that separate
    // it from the next section stay where they are.
    size_t At = R.End;
    while (At > R.First + 1 && Trim(Lines[At - 1].Text).empty()) --At;
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(At), std::move(New));
    return true;
  }, &TIniFile::RaiseWriteError);
}

void TIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) const {
  Strings->BeginUpdate();
  {
    TUpdateGuard Update(*Strings, UpdateBegun);
    Strings->Clear();
    const auto Lines = LoadLines(FileName(), TMissing::Empty);
    const TSectionRange R = FindSection(Lines, Section);
    if (R.First != AnsiString::npos)
      for (size_t I = R.First + 1; I < R.End; ++I)
        if (Lines[I].Kind == TIniLine::Pair) Strings->Add(Lines[I].Name);
  }
}

void TIniFile::ReadSections(TStrings* Strings) const {
  Strings->BeginUpdate();
  {
    TUpdateGuard Update(*Strings, UpdateBegun);
    Strings->Clear();
    TStringList Seen;
    for (const auto& L : LoadLines(FileName(), TMissing::Empty)) {
      if (L.Kind != TIniLine::Header || Seen.IndexOf(L.Name) >= 0) continue;
      Seen.Add(L.Name);
      Strings->Add(L.Name);
    }
  }
}

void TIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) const {
  Strings->BeginUpdate();
  {
    TUpdateGuard Update(*Strings, UpdateBegun);
    Strings->Clear();
    const auto Lines = LoadLines(FileName(), TMissing::Empty);
    const TSectionRange R = FindSection(Lines, Section);
    if (R.First != AnsiString::npos) {
      TStringList Seen;
      for (size_t I = R.First + 1; I < R.End; ++I) {
        if (Lines[I].Kind != TIniLine::Pair || Seen.IndexOf(Lines[I].Name) >= 0) continue;
        Seen.Add(Lines[I].Name);
        Strings->Add(Lines[I].Name + "=" + StripQuotes(Lines[I].Value));
      }
    }
  }
}

void TIniFile::EraseSection(const AnsiString& Section) {
  EditIniFile(*this, FileName(), [&](std::vector<TIniLine>& Lines) {
    const TSectionRange R = FindSection(Lines, Section);
    if (R.First == AnsiString::npos) return false;
    Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(R.First),
                Lines.begin() + static_cast<std::ptrdiff_t>(R.End));
    return true;
  }, &TIniFile::RaiseWriteError);
}

void TIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
  EditIniFile(*this, FileName(), [&](std::vector<TIniLine>& Lines) {
    const size_t K = FindKey(Lines, FindSection(Lines, Section), Ident);
    if (K == AnsiString::npos) return false;
    Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(K));
    return true;
  }, &TIniFile::RaiseWriteError);
}

// --- TMemIniFile ------------------------------------------------------------------

struct TMemIniFile::TSection {
  AnsiString Name;
  TStringList Values;  // "Key=Value" lines
};

TMemIniFile::TMemIniFile(AnsiString AFileName) : TCustomIniFile(std::move(AFileName)) {
  if (!FileExists(FileName())) return;
  TStringList List;
  List.LoadFromFile(FileName());
  SetStrings(&List);
}

TMemIniFile::~TMemIniFile() = default;

TMemIniFile::TSection* TMemIniFile::FindSection(const AnsiString& Name) const {
  for (const auto& S : FSections)
    if (AnsiCompareText(S->Name, Name) == 0) return S.get();
  return nullptr;
}

AnsiString TMemIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                   const AnsiString& Default) const {
  const TSection* S = FindSection(Section);
  if (!S) return Default;
  const Integer I = S->Values.IndexOfName(Ident);
  return I >= 0 ? S->Values.GetValueFromIndex(I) : Default;
}

void TMemIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) {
  TSection* S = FindSection(Section);
  if (!S) {
    FSections.push_back(std::make_unique<TSection>());
    S = FSections.back().get();
    S->Name = Section;
  }
  const AnsiString Line = Ident + "=" + Value;
  const Integer I = S->Values.IndexOfName(Ident);
  if (I >= 0)
    S->Values.SetStrings(I, Line);
  else
    S->Values.Add(Line);
}

void TMemIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) const {
  Strings->BeginUpdate();
  {
    TUpdateGuard Update(*Strings, UpdateBegun);
    Strings->Clear();
    if (const TSection* S = FindSection(Section))
      for (Integer I = 0; I < S->Values.GetCount(); ++I) Strings->Add(S->Values.GetNames(I));
  }
}

void TMemIniFile::ReadSections(TStrings* Strings) const {
  Strings->BeginUpdate();
  {
    TUpdateGuard Update(*Strings, UpdateBegun);
    Strings->Clear();
    for (const auto& S : FSections) Strings->Add(S->Name);
  }
}

void TMemIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) const {
  Strings->BeginUpdate();
  {
    TUpdateGuard Update(*Strings, UpdateBegun);
    Strings->Clear();
    if (const TSection* S = FindSection(Section)) Strings->AddStrings(&S->Values);
  }
}

void TMemIniFile::EraseSection(const AnsiString& Section) {
  for (auto It = FSections.begin(); It != FSections.end(); ++It) {
    if (AnsiCompareText((*It)->Name, Section) == 0) {
      FSections.erase(It);
      return;
    }
  }
}

void TMemIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
  if (TSection* S = FindSection(Section)) {
    const Integer I = S->Values.IndexOfName(Ident);
    if (I >= 0) S->Values.Delete(I);
  }
}

void TMemIniFile::Clear() { FSections.clear(); }

void TMemIniFile::GetStrings(TStrings* List) const {
  List->BeginUpdate();
  {
    TUpdateGuard Update(*List, UpdateBegun);
    for (const auto& S : FSections) {
      List->Add("[" + S->Name + "]");
      List->AddStrings(&S->Values);
      List->Add(AnsiString());
    }
  }
}

void TMemIniFile::SetStrings(const TStrings* List) {
  Clear();
  TSection* Current = nullptr;
  for (Integer I = 0; I < List->GetCount(); ++I) {
    const AnsiString S = Trim(List->GetStrings(I));
    if (S.empty() || S[0] == ';') continue;
    if (S[0] == '[' && S.back() == ']') {
      // A repeated header starts a section that lookups never reach, as in
      // the class library; UpdateFile writes it back all the same.
      FSections.push_back(std::make_unique<TSection>());
      Current = FSections.back().get();
      Current->Name = Trim(S.substr(1, S.size() - 2));
      continue;
    }
    const auto Eq = S.find('=');
    if (!Current || Eq == AnsiString::npos) continue;  // outside a section, or no key
    Current->Values.Add(Trim(S.substr(0, Eq)) + "=" + Trim(S.substr(Eq + 1)));
  }
}

void TMemIniFile::UpdateFile() {
  TStringList List;
  GetStrings(&List);
  SaveFileAtomically(FileName(), List.GetText());
}
