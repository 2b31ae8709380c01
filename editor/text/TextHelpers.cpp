#include "editor/text/TextHelpers.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/win/Clipboard.h"
#include "platform/win/GlobalMemory.h"

namespace {
TClipboardTextReader& ClipboardReader() {
  static TClipboardTextReader Reader;
  return Reader;
}
bool IsBlankChar(char C) { return Byte(C) <= 32; }
}  // namespace

bool StripLineBreak(AnsiString& S) {
  bool Removed = false;
  for (int I = 0; I < 2; ++I) {
    if (S.empty() || (S.back() != '\r' && S.back() != '\n')) break;
    S.pop_back();
    Removed = true;
  }
  return Removed;
}

void SetLengthPadded(AnsiString& S, Integer Len) { S.resize(size_t(std::max(Len, 0)), '\0'); }

Integer PosCharFrom(const AnsiString& S, char C, Integer Offset) {
  return PosFrom(AnsiString(1, C), S, std::max(Offset, 0) + 1);
}

Integer NextTab(const AnsiString& S, Integer Offset) { return PosCharFrom(S, '\t', Offset); }
Integer NextSpace(const AnsiString& S, Integer Offset) { return PosCharFrom(S, ' ', Offset); }

bool CharAt(const AnsiString& S, Integer Pos, char C) {
  return Pos >= 1 && Pos <= Integer(S.size()) && S[size_t(Pos - 1)] == C;
}

AnsiString TrimBlanks(const AnsiString& S, bool KeepTabs, Integer Side) {
  size_t From = 0, To = S.size();
  if (Side == 0 || Side == 2)
    while (From < To && IsBlankChar(S[From])) ++From;
  if (Side == 1 || Side == 2)
    while (To > From && IsBlankChar(S[To - 1]) && !(KeepTabs && S[To - 1] == '\t')) --To;
  return S.substr(From, To - From);
}

AnsiString TrimRightBlanks(const AnsiString& S) { return TrimBlanks(S, false, 1); }
AnsiString TrimLeftBlanks(const AnsiString& S) { return TrimBlanks(S, false, 0); }

AnsiString ExpandTabsFixed(const AnsiString& S, Integer Width) {
  if (S.find('\t') == AnsiString::npos) return S;
  AnsiString Out;
  Out.reserve(S.size() + size_t(std::max(Width, 0)) * 4);
  for (char C : S) {
    if (C == '\t')
      Out.append(size_t(std::max(Width, 0)), ' ');
    else
      Out += C;
  }
  return Out;
}

void ExpandTabsInList(const TStrings* Source, TStrings* Destination, Integer Width) {
  Destination->Clear();
  for (Integer I = 0; I < Source->GetCount(); ++I) Destination->Add(ExpandTabsFixed(Source->GetStrings(I), Width));
}

AnsiString CopyText(const AnsiString& S, Integer Start, Integer Count) {
  if (Start < 1) Start = 1;
  if (Count <= 0 || Start > Integer(S.size())) return AnsiString();
  return S.substr(size_t(Start - 1), size_t(Count));
}

void SetClipboardTextReader(TClipboardTextReader Reader) { ClipboardReader() = std::move(Reader); }

bool ReadClipboardText(AnsiString& Text) {
  Text.clear();
  if (!IsClipboardFormatAvailable(CF_TEXT)) return false;
  if (!OpenClipboard(nullptr)) throw Exception("Cannot open clipboard");
  bool Got = false;
  if (HANDLE Data = GetClipboardData(CF_TEXT)) {
    if (const char* P = static_cast<const char*>(GlobalLock(Data))) {
      // The block may be larger than the text; the text ends at its NUL.
      const size_t Size = size_t(GlobalSize(Data));
      size_t N = 0;
      while (N < Size && P[N]) ++N;
      Text.assign(P, N);
      GlobalUnlock(Data);
      Got = true;
    }
  }
  CloseClipboard();
  return Got;
}

void ReadClipboardLines(TStrings* List) {
  List->Clear();
  AnsiString Text;
  if (!(ClipboardReader() ? ClipboardReader()(Text) : ReadClipboardText(Text))) return;
  List->SetText(Text);
  if (!Text.empty() && (Text.back() == '\r' || Text.back() == '\n')) List->Add(AnsiString());
}
