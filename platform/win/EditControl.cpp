#include "platform/win/EditControl.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Cursors.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/StdControls_p.h"
#include "platform/win/WinState_p.h"
#include "platform/win/Window.h"

namespace {
constexpr const char* StateProp = "SxEditState";
constexpr std::size_t NoLimit = 0x7FFFFFFE;

struct TLine {
  std::size_t Start = 0;  // first character
  std::size_t Len = 0;    // characters shown (the break excluded)
  std::size_t Next = 0;   // first character of the next line
};

struct TEditState {
  HWND Wnd = nullptr;
  // The text is the window's own (WM_GETTEXT and WindowTextOf read it).
  std::string* TextPtr = nullptr;
  std::string& TextRef() const { return *TextPtr; }
  std::size_t Anchor = 0, Caret = 0;  // the selection runs between them; Caret moves
  std::size_t Limit = NoLimit;
  bool Modified = false;
  char PasswordChar = 0;
  HFONT Font = nullptr;
  int LeftMargin = 0, RightMargin = 0;
  bool RectSet = false;  // EM_SETRECT gave the format rectangle
  TRect FormatRect;
  // One level of undo: the text and selection before the last action.
  bool CanUndo = false;
  std::string UndoText;
  std::size_t UndoAnchor = 0, UndoCaret = 0;
  bool Typing = false;  // the last action was typing at the caret (joins the undo step)
  // Layout
  bool Dirty = true;
  std::vector<TLine> Lines;
  int LineHeight = 16, AveChar = 7;
  int CharW[256] = {};
  int TopLine = 0;   // first visible line
  int XOffset = 0;   // horizontal scroll in pixels
  int MaxWidth = 0;  // widest line (no-wrap multi-line edits)
  int GoalX = -1;    // the column up and down keep
  bool Focused = false;
  bool Tracking = false;
};

TEditState* StateOf(HWND Wnd) { return static_cast<TEditState*>(GetPropA(Wnd, StateProp)); }

DWORD Style(HWND Wnd) { return DWORD(GetWindowLongA(Wnd, GWL_STYLE)); }
bool Multi(const TEditState& E) { return Style(E.Wnd) & ES_MULTILINE; }
bool Wraps(const TEditState& E) { return Multi(E) && !(Style(E.Wnd) & ES_AUTOHSCROLL) && !(Style(E.Wnd) & WS_HSCROLL); }

void Notify(const TEditState& E, WORD Code) { NotifyParent(E.Wnd, Code); }

HFONT FontOf(const TEditState& E) { return E.Font ? E.Font : HFONT(GetStockObject(SYSTEM_FONT)); }

void MeasureFont(TEditState& E) {
  TMemoryDc Dc(FontOf(E));
  TEXTMETRICA Tm;
  GetTextMetricsA(Dc.Dc(), &Tm);
  E.LineHeight = std::max<int>(1, Tm.tmHeight);
  E.AveChar = std::max<int>(1, Tm.tmAveCharWidth);
  GetCharWidth32A(Dc.Dc(), 0, 255, E.CharW);
}

TRect ClientOf(HWND Wnd) {
  TRect R;
  GetClientRect(Wnd, &R);
  return R;
}

// The rectangle the text is laid out in: the client less the margins (and
// a single-line edit's text is centred on the line height), or what
// EM_SETRECT set.
TRect FormatRectOf(const TEditState& E) {
  if (E.RectSet) return E.FormatRect;
  TRect R = ClientOf(E.Wnd);
  R.Left += E.LeftMargin;
  R.Right -= E.RightMargin;
  if (!Multi(E)) {
    R.Top = std::max(0, (R.Height() - E.LineHeight) / 2);
    R.Bottom = R.Top + E.LineHeight;
  } else if (Style(E.Wnd) & WS_BORDER) {
    // A bordered multi-line edit keeps a pixel off its frame.
    R.Left += 1;
    R.Top += 1;
  }
  if (R.Right < R.Left) R.Right = R.Left;
  return R;
}

int TabWidth(const TEditState& E) { return 8 * E.AveChar; }

char Shown(const TEditState& E, char C) { return E.PasswordChar ? E.PasswordChar : C; }

// Width of Count characters from Pos of a line that starts at LineStart.
int Advance(const TEditState& E, int X, char C) {
  if (C == '\t' && !E.PasswordChar && Multi(E)) {
    const int T = TabWidth(E);
    return (X / T + 1) * T;
  }
  return X + E.CharW[Byte(Shown(E, C))];
}

int WidthOf(const TEditState& E, std::size_t Start, std::size_t Count) {
  int X = 0;
  for (std::size_t i = 0; i < Count; ++i) X = Advance(E, X, E.TextRef()[Start + i]);
  return X;
}

bool IsBreakChar(char C) { return C == '\r' || C == '\n'; }

std::size_t BreakLength(const std::string& T, std::size_t Pos) {
  if (Pos >= T.size()) return 0;
  if (T[Pos] == '\r' && Pos + 1 < T.size() && T[Pos + 1] == '\n') return 2;
  return IsBreakChar(T[Pos]) ? 1 : 0;
}

// Lays out the hard lines that start at From (a hard line's start) and
// before To, appending them to Out; returns the widest line's width.
int LayoutRange(TEditState& E, std::size_t From, std::size_t To, std::vector<TLine>& Out) {
  const std::string& T = E.TextRef();
  const bool Wrap = Wraps(E);
  const int Width = std::max(1, FormatRectOf(E).Width());
  int Widest = 0;
  std::size_t Pos = From;
  while (true) {
    // One hard line: Pos .. End (the break follows).
    std::size_t End = Pos;
    while (End < T.size() && !IsBreakChar(T[End])) ++End;
    const std::size_t Brk = BreakLength(T, End);
    if (!Wrap) {
      Out.push_back({Pos, End - Pos, End + Brk});
      Widest = std::max(Widest, WidthOf(E, Pos, End - Pos));
    } else {
      std::size_t S = Pos;
      do {
        int X = 0;
        std::size_t i = S, LastSpace = std::string::npos;
        while (i < End) {
          const int NX = Advance(E, X, T[i]);
          if (NX > Width && i > S) break;
          if (T[i] == ' ' || T[i] == '\t') LastSpace = i;
          X = NX;
          ++i;
        }
        if (i >= End) {
          Out.push_back({S, End - S, End + Brk});
          break;
        }
        // Break after the last blank that fits; a word wider than the line
        // breaks where it must.
        std::size_t Cut = LastSpace != std::string::npos && LastSpace >= S ? LastSpace + 1 : i;
        while (Cut < End && T[Cut] == ' ') ++Cut;  // trailing blanks stay on the line
        Out.push_back({S, Cut - S, Cut});
        S = Cut;
      } while (S < End);
    }
    if (Brk == 0) break;
    Pos = End + Brk;
    if (Pos >= To) break;
    if (Pos >= T.size()) {
      Out.push_back({Pos, 0, Pos});  // the empty line after a final line end
      break;
    }
  }
  return Widest;
}

void Layout(TEditState& E) {
  if (!E.Dirty) return;
  E.Dirty = false;
  E.Lines.clear();
  E.MaxWidth = 0;
  const std::string& T = E.TextRef();
  if (!Multi(E)) {
    E.Lines.push_back({0, T.size(), T.size()});
    E.MaxWidth = WidthOf(E, 0, T.size());
    return;
  }
  E.MaxWidth = LayoutRange(E, 0, std::string::npos, E.Lines);
  if (E.Lines.empty()) E.Lines.push_back({0, 0, 0});
}

int LineFromChar(TEditState& E, std::size_t Pos) {
  Layout(E);
  // The last line starting at or before Pos.
  auto It = std::upper_bound(E.Lines.begin(), E.Lines.end(), Pos,
                             [](std::size_t P, const TLine& L) { return P < L.Start; });
  int Line = int(It - E.Lines.begin()) - 1;
  return std::max(0, Line);
}

int VisibleLines(TEditState& E) {
  if (!Multi(E)) return 1;
  return std::max(1, FormatRectOf(E).Height() / E.LineHeight);
}

// X of a line's first character relative to the format rectangle
// (alignment of single-line edits).
int LineIndent(TEditState& E, int Line) {
  const DWORD S = Style(E.Wnd) & (ES_CENTER | ES_RIGHT);
  if (S == ES_LEFT) return 0;
  const TLine& L = E.Lines[std::size_t(Line)];
  const int Free = FormatRectOf(E).Width() - WidthOf(E, L.Start, L.Len);
  if (Free <= 0) return 0;
  return S == ES_RIGHT ? Free : Free / 2;
}

TPoint PosFromChar(TEditState& E, std::size_t Pos) {
  Layout(E);
  Pos = std::min(Pos, E.TextRef().size());
  const int Line = LineFromChar(E, Pos);
  const TLine& L = E.Lines[std::size_t(Line)];
  const std::size_t Col = std::min(Pos - L.Start, L.Len);
  const TRect R = FormatRectOf(E);
  return {R.Left + LineIndent(E, Line) + WidthOf(E, L.Start, Col) - E.XOffset,
          R.Top + (Line - E.TopLine) * E.LineHeight};
}

std::size_t CharInLine(TEditState& E, int Line, int X) {
  const TLine& L = E.Lines[std::size_t(Line)];
  int Cur = 0;
  for (std::size_t i = 0; i < L.Len; ++i) {
    const int Next = Advance(E, Cur, E.TextRef()[L.Start + i]);
    if (X < (Cur + Next + 1) / 2) return L.Start + i;
    Cur = Next;
  }
  return L.Start + L.Len;
}

std::size_t CharFromPoint(TEditState& E, TPoint P, int* LineOut = nullptr) {
  Layout(E);
  const TRect R = FormatRectOf(E);
  int Line = E.TopLine + (P.Y >= R.Top ? (P.Y - R.Top) / E.LineHeight : -1);
  Line = std::clamp(Line, 0, int(E.Lines.size()) - 1);
  if (LineOut) *LineOut = Line;
  return CharInLine(E, Line, P.X - R.Left - LineIndent(E, Line) + E.XOffset);
}

void UpdateScrollBars(TEditState& E) {
  const DWORD S = Style(E.Wnd);
  if (S & WS_VSCROLL) {
    SCROLLINFO Si;
    Si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    Si.nMin = 0;
    Si.nMax = int(E.Lines.size()) - 1;
    Si.nPage = UINT(VisibleLines(E));
    Si.nPos = E.TopLine;
    SetScrollInfo(E.Wnd, SB_VERT, &Si, TRUE);
  }
  if (S & WS_HSCROLL) {
    SCROLLINFO Si;
    Si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    Si.nMin = 0;
    Si.nMax = E.MaxWidth + E.AveChar;
    Si.nPage = UINT(std::max(1, FormatRectOf(E).Width()));
    Si.nPos = E.XOffset;
    SetScrollInfo(E.Wnd, SB_HORZ, &Si, TRUE);
  }
}

void PlaceCaret(TEditState& E) {
  if (!E.Focused) return;
  const TPoint P = PosFromChar(E, E.Caret);
  SetCaretPos(P.X, P.Y);
}

void SetTopLine(TEditState& E, int Line) {
  Layout(E);
  const int Max = std::max(0, int(E.Lines.size()) - (Multi(E) ? VisibleLines(E) : 1));
  Line = std::clamp(Line, 0, Max);
  if (Line == E.TopLine) return;
  E.TopLine = Line;
  InvalidateRect(E.Wnd, nullptr, TRUE);
  UpdateScrollBars(E);
  PlaceCaret(E);
  Notify(E, EN_VSCROLL);
}

void SetXOffset(TEditState& E, int X) {
  X = std::max(0, X);
  if (X == E.XOffset) return;
  E.XOffset = X;
  InvalidateRect(E.Wnd, nullptr, TRUE);
  UpdateScrollBars(E);
  PlaceCaret(E);
  Notify(E, EN_HSCROLL);
}

// Scrolls so that the caret is in view.
void ScrollToCaret(TEditState& E) {
  Layout(E);
  const int Line = LineFromChar(E, E.Caret);
  if (Multi(E)) {
    const int Vis = VisibleLines(E);
    if (Line < E.TopLine) SetTopLine(E, Line);
    else if (Line >= E.TopLine + Vis) SetTopLine(E, Line - Vis + 1);
  }
  const TLine& L = E.Lines[std::size_t(Line)];
  const int X = LineIndent(E, Line) + WidthOf(E, L.Start, std::min(E.Caret - L.Start, L.Len));
  const int W = FormatRectOf(E).Width();
  if (X < E.XOffset) SetXOffset(E, std::max(0, X - W / 4));
  else if (X > E.XOffset + W - 1) SetXOffset(E, X - W + 1 + (Multi(E) ? W / 4 : W / 4));
  PlaceCaret(E);
}

void Relayout(TEditState& E) {
  E.Dirty = true;
  Layout(E);
  SetTopLine(E, E.TopLine);
  UpdateScrollBars(E);
  InvalidateRect(E.Wnd, nullptr, TRUE);
}

void SetSelection(TEditState& E, std::size_t Anchor, std::size_t Caret) {
  Anchor = std::min(Anchor, E.TextRef().size());
  Caret = std::min(Caret, E.TextRef().size());
  // Never inside a CR LF pair.
  auto Fix = [&](std::size_t P) {
    if (P > 0 && P < E.TextRef().size() && E.TextRef()[P - 1] == '\r' && E.TextRef()[P] == '\n') --P;
    return P;
  };
  Anchor = Fix(Anchor);
  Caret = Fix(Caret);
  if (Anchor == E.Anchor && Caret == E.Caret) return;
  E.Anchor = Anchor;
  E.Caret = Caret;
  E.Typing = false;
  InvalidateRect(E.Wnd, nullptr, TRUE);
  ScrollToCaret(E);
}

std::size_t SelMin(const TEditState& E) { return std::min(E.Anchor, E.Caret); }
std::size_t SelMax(const TEditState& E) { return std::max(E.Anchor, E.Caret); }

void SaveUndo(TEditState& E) {
  E.UndoText = E.TextRef();
  E.UndoAnchor = E.Anchor;
  E.UndoCaret = E.Caret;
  E.CanUndo = true;
}

// What may enter the text: a multi-line edit gets CR LF line ends, a
// single-line edit stops at the first line end; the case styles apply.
std::string Filter(const TEditState& E, const char* Src, std::size_t Len) {
  std::string Out;
  Out.reserve(Len);
  const DWORD S = Style(E.Wnd);
  for (std::size_t i = 0; i < Len; ++i) {
    char C = Src[i];
    if (C == '\0') break;
    if (C == '\r' || C == '\n') {
      if (!Multi(E)) break;
      if (C == '\r' && i + 1 < Len && Src[i + 1] == '\n') ++i;
      Out += "\r\n";
      continue;
    }
    if (S & ES_UPPERCASE) C = char(std::toupper(Byte(C)));
    else if (S & ES_LOWERCASE) C = char(std::tolower(Byte(C)));
    Out += C;
  }
  return Out;
}

// Without ES_AUTOHSCROLL a single-line edit takes no text beyond its width,
// and without ES_AUTOVSCROLL a multi-line edit no lines beyond its height.
// A scroll bar implies the scrolling.
bool Bounded(const TEditState& E) {
  const DWORD S = Style(E.Wnd);
  return Multi(E) ? !(S & (ES_AUTOVSCROLL | WS_VSCROLL)) : !(S & (ES_AUTOHSCROLL | WS_HSCROLL));
}

// Does Text fit a bounded edit? Lays it out without touching the edit's own
// lines.
bool Fits(TEditState& E, std::string& Text) {
  std::swap(E.TextRef(), Text);
  bool Ok;
  if (!Multi(E)) {
    Ok = WidthOf(E, 0, E.TextRef().size()) <= FormatRectOf(E).Width();
  } else {
    std::vector<TLine> Lines;
    LayoutRange(E, 0, std::string::npos, Lines);
    Ok = int(std::max<std::size_t>(Lines.size(), 1)) <= VisibleLines(E);
  }
  std::swap(E.TextRef(), Text);
  return Ok;
}

// Never half a line end: Room characters of Insert, backed off a CR LF.
std::size_t WholeBreaks(const std::string& Insert, std::size_t Room) {
  if (Room > 0 && Room < Insert.size() && Insert[Room - 1] == '\r' && Insert[Room] == '\n') --Room;
  return Room;
}

// Replaces the selection by Insert (already filtered), cut at the limit (and
// at what a bounded edit shows). Returns false when nothing changed.
bool ReplaceSelection(TEditState& E, std::string Insert, bool Undoable, bool TypingStep = false) {
  const std::size_t A = SelMin(E), B = SelMax(E);
  const std::size_t Kept = E.TextRef().size() - (B - A);
  bool Cut = false;
  if (Kept + Insert.size() > E.Limit) {
    Insert.resize(WholeBreaks(Insert, E.Limit > Kept ? E.Limit - Kept : 0));
    Cut = true;
  }
  if (!Insert.empty() && Bounded(E)) {
    // The longest beginning of Insert that still fits (text only grows
    // wider or taller as characters are added).
    auto FitsWith = [&](std::size_t N) {
      std::string Candidate = E.TextRef().substr(0, A) + Insert.substr(0, N) + E.TextRef().substr(B);
      return Fits(E, Candidate);
    };
    if (!FitsWith(Insert.size())) {
      std::size_t Lo = 0, Hi = Insert.size();  // FitsWith(Lo) is taken as true; Hi fails
      while (Hi - Lo > 1) {
        const std::size_t Mid = Lo + (Hi - Lo) / 2;
        (FitsWith(Mid) ? Lo : Hi) = Mid;
      }
      Insert.resize(WholeBreaks(Insert, Lo));
      Cut = true;
    }
  }
  if (A == B && Insert.empty()) {
    if (Cut) Notify(E, EN_MAXTEXT);
    return false;
  }
  if (Undoable && !(TypingStep && E.Typing)) SaveUndo(E);
  // Only the hard lines the change touches are laid out again: from the
  // start of A's hard line to the first hard line that starts after B.
  Layout(E);
  const std::string& Old = E.TextRef();
  std::size_t HardStart = A;
  while (HardStart > 0 && !IsBreakChar(Old[HardStart - 1])) --HardStart;
  const std::size_t First = std::size_t(LineFromChar(E, HardStart));
  std::size_t Rest = std::size_t(LineFromChar(E, B)) + 1;
  while (Rest < E.Lines.size() && !(E.Lines[Rest].Start > B && IsBreakChar(Old[E.Lines[Rest].Start - 1]))) ++Rest;
  const std::ptrdiff_t Delta = std::ptrdiff_t(Insert.size()) - std::ptrdiff_t(B - A);
  const std::size_t To = Rest < E.Lines.size() ? std::size_t(std::ptrdiff_t(E.Lines[Rest].Start) + Delta)
                                               : std::string::npos;
  E.TextRef().replace(A, B - A, Insert);
  E.Anchor = E.Caret = A + Insert.size();
  E.Typing = TypingStep;
  E.Modified = true;
  E.GoalX = -1;
  if (Multi(E)) {
    std::vector<TLine> Fresh;
    const int Widest = LayoutRange(E, HardStart, To, Fresh);
    E.Lines.erase(E.Lines.begin() + std::ptrdiff_t(First), E.Lines.begin() + std::ptrdiff_t(Rest));
    E.Lines.insert(E.Lines.begin() + std::ptrdiff_t(First), Fresh.begin(), Fresh.end());
    for (std::size_t i = First + Fresh.size(); i < E.Lines.size(); ++i) {
      E.Lines[i].Start = std::size_t(std::ptrdiff_t(E.Lines[i].Start) + Delta);
      E.Lines[i].Next = std::size_t(std::ptrdiff_t(E.Lines[i].Next) + Delta);
    }
    if (E.Lines.empty()) E.Lines.push_back({0, 0, 0});
    E.MaxWidth = std::max(E.MaxWidth, Widest);
    SetTopLine(E, E.TopLine);
    UpdateScrollBars(E);
    InvalidateRect(E.Wnd, nullptr, TRUE);
  } else {
    Relayout(E);
  }
  Notify(E, EN_UPDATE);
  ScrollToCaret(E);
  Notify(E, EN_CHANGE);
  if (Cut) Notify(E, EN_MAXTEXT);
  return true;
}

bool ReadOnly(const TEditState& E) { return Style(E.Wnd) & ES_READONLY; }

void Copy(TEditState& E) {
  if (SelMin(E) == SelMax(E) || E.PasswordChar) return;
  const std::string Sel = E.TextRef().substr(SelMin(E), SelMax(E) - SelMin(E));
  if (!OpenClipboard(E.Wnd)) return;
  EmptyClipboard();
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, Sel.size() + 1);
  if (Mem) {
    char* P = static_cast<char*>(GlobalLock(Mem));
    std::memcpy(P, Sel.c_str(), Sel.size() + 1);
    GlobalUnlock(Mem);
    SetClipboardData(CF_TEXT, Mem);
  }
  CloseClipboard();
}

void Clear(TEditState& E) {
  if (ReadOnly(E) || SelMin(E) == SelMax(E)) return;
  ReplaceSelection(E, "", true);
}

void Paste(TEditState& E) {
  if (ReadOnly(E) || !OpenClipboard(E.Wnd)) return;
  std::string Got;
  if (HANDLE H = GetClipboardData(CF_TEXT)) {
    const char* P = static_cast<const char*>(GlobalLock(HGLOBAL(H)));
    // The clipboard's text ends at its first NUL.
    if (P) Got.assign(P, strnlen(P, GlobalSize(HGLOBAL(H))));
    GlobalUnlock(HGLOBAL(H));
  }
  CloseClipboard();
  if (Style(E.Wnd) & ES_NUMBER)
    if (Got.find_first_not_of("0123456789") != std::string::npos) {
      MessageBeep(0);
      return;
    }
  ReplaceSelection(E, Filter(E, Got.data(), Got.size()), true);
}

void Undo(TEditState& E) {
  if (!E.CanUndo) return;
  std::swap(E.TextRef(), E.UndoText);
  const std::size_t A = E.UndoAnchor, C = E.UndoCaret;
  E.UndoAnchor = E.Anchor;
  E.UndoCaret = E.Caret;
  E.Anchor = std::min(A, E.TextRef().size());
  E.Caret = std::min(C, E.TextRef().size());
  E.Typing = false;
  E.Modified = true;
  Relayout(E);
  Notify(E, EN_UPDATE);
  ScrollToCaret(E);
  Notify(E, EN_CHANGE);
}

bool IsWordChar(char C) { return std::isalnum(Byte(C)) || C == '_' || Byte(C) >= 0xC0; }

std::size_t WordLeft(const TEditState& E, std::size_t P) {
  const std::string& T = E.TextRef();
  while (P > 0 && !IsWordChar(T[P - 1])) --P;
  while (P > 0 && IsWordChar(T[P - 1])) --P;
  return P;
}

std::size_t WordRight(const TEditState& E, std::size_t P) {
  const std::string& T = E.TextRef();
  while (P < T.size() && IsWordChar(T[P])) ++P;
  while (P < T.size() && !IsWordChar(T[P])) ++P;
  return P;
}

std::size_t NextChar(const TEditState& E, std::size_t P) {
  if (P >= E.TextRef().size()) return P;
  const std::size_t B = BreakLength(E.TextRef(), P);
  return P + std::max<std::size_t>(1, B);
}

std::size_t PrevChar(const TEditState& E, std::size_t P) {
  if (P == 0) return 0;
  if (P >= 2 && E.TextRef()[P - 2] == '\r' && E.TextRef()[P - 1] == '\n') return P - 2;
  return P - 1;
}

// Moves the caret for a navigation key; Shift extends the selection.
void Navigate(TEditState& E, WORD Vk, bool Shift, bool Ctrl) {
  Layout(E);
  std::size_t P = E.Caret;
  const bool HasSel = E.Anchor != E.Caret;
  const int Line = LineFromChar(E, P);
  bool KeepGoal = false;
  auto Vertical = [&](int ToLine) {
    ToLine = std::clamp(ToLine, 0, int(E.Lines.size()) - 1);
    if (E.GoalX < 0) E.GoalX = WidthOf(E, E.Lines[std::size_t(Line)].Start, P - E.Lines[std::size_t(Line)].Start);
    KeepGoal = true;
    return CharInLine(E, ToLine, E.GoalX);
  };
  switch (Vk) {
    case VK_LEFT:
      if (!Shift && HasSel && !Ctrl) P = SelMin(E);
      else P = Ctrl ? WordLeft(E, P) : PrevChar(E, P);
      break;
    case VK_RIGHT:
      if (!Shift && HasSel && !Ctrl) P = SelMax(E);
      else P = Ctrl ? WordRight(E, P) : NextChar(E, P);
      break;
    case VK_HOME: P = Ctrl ? 0 : E.Lines[std::size_t(Line)].Start; break;
    case VK_END: {
      if (Ctrl) P = E.TextRef().size();
      else P = E.Lines[std::size_t(Line)].Start + E.Lines[std::size_t(Line)].Len;
      break;
    }
    case VK_UP:
      if (!Multi(E)) {
        P = PrevChar(E, P);
        break;
      }
      P = Vertical(Line - 1);
      break;
    case VK_DOWN:
      if (!Multi(E)) {
        P = NextChar(E, P);
        break;
      }
      P = Vertical(Line + 1);
      break;
    case VK_PRIOR:
      if (!Multi(E)) return;
      P = Vertical(Line - VisibleLines(E));
      SetTopLine(E, E.TopLine - VisibleLines(E));
      break;
    case VK_NEXT:
      if (!Multi(E)) return;
      P = Vertical(Line + VisibleLines(E));
      SetTopLine(E, E.TopLine + VisibleLines(E));
      break;
    default: return;
  }
  const int Goal = E.GoalX;
  SetSelection(E, Shift ? E.Anchor : P, P);
  E.GoalX = KeepGoal ? Goal : -1;
}

void KeyDown(TEditState& E, WORD Vk) {
  const bool Shift = GetKeyState(VK_SHIFT) < 0, Ctrl = GetKeyState(VK_CONTROL) < 0;
  switch (Vk) {
    case VK_DELETE:
      if (ReadOnly(E)) return;
      if (Shift) {
        Copy(E);
        Clear(E);
        return;
      }
      if (SelMin(E) == SelMax(E)) {
        if (E.Caret >= E.TextRef().size()) return;
        const std::size_t To = Ctrl ? WordRight(E, E.Caret) : NextChar(E, E.Caret);
        E.Anchor = To;
        E.Typing = false;
      }
      ReplaceSelection(E, "", true);
      return;
    case VK_INSERT:
      if (Ctrl) Copy(E);
      else if (Shift) Paste(E);
      return;
    default: Navigate(E, Vk, Shift, Ctrl);
  }
}

void Char(TEditState& E, char C) {
  const DWORD S = Style(E.Wnd);
  switch (Byte(C)) {
    case 1:  // Ctrl+A
      SetSelection(E, 0, E.TextRef().size());
      return;
    case 3: Copy(E); return;  // Ctrl+C
    case 0x16: Paste(E); return;  // Ctrl+V
    case 0x18:  // Ctrl+X
      if (ReadOnly(E)) return;
      Copy(E);
      Clear(E);
      return;
    case 0x1A: Undo(E); return;  // Ctrl+Z
    default: break;
  }
  if (ReadOnly(E)) {
    if (Byte(C) >= 0x20) MessageBeep(0);
    return;
  }
  if (C == '\b') {
    if (SelMin(E) == SelMax(E)) {
      if (E.Caret == 0) return;
      E.Anchor = PrevChar(E, E.Caret);
      E.Typing = false;
    }
    ReplaceSelection(E, "", true);
    return;
  }
  if (C == '\r' || C == '\n') {
    if (!Multi(E)) return;
    ReplaceSelection(E, "\r\n", true);
    return;
  }
  if (C == '\t') {
    if (!Multi(E)) return;
  } else if (Byte(C) < 0x20 || Byte(C) == 0x7F) {
    return;
  }
  if ((S & ES_NUMBER) && !(C >= '0' && C <= '9')) {
    MessageBeep(0);
    return;
  }
  ReplaceSelection(E, Filter(E, &C, 1), true, /*TypingStep=*/true);
}

HBRUSH ColorBrush(TEditState& E, HDC Dc) {
  const bool Grey = ReadOnly(E) || !IsWindowEnabled(E.Wnd);
  SetTextColor(Dc, GetSysColor(IsWindowEnabled(E.Wnd) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  SetBkColor(Dc, GetSysColor(Grey ? COLOR_3DFACE : COLOR_WINDOW));
  HWND Parent = GetParent(E.Wnd);
  HBRUSH B = nullptr;
  if (Parent)
    B = HBRUSH(SendMessageA(Parent, Grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, WPARAM(Dc), LPARAM(E.Wnd)));
  if (!B) B = GetSysColorBrush(Grey ? COLOR_3DFACE : COLOR_WINDOW);
  return B;
}

// Draws Count characters from Start at X (LineX0: where their line starts,
// so that tabs stop at the line's tab positions).
void DrawRun(TEditState& E, HDC Dc, int X, int Y, std::size_t Start, std::size_t Count, int LineX0) {
  std::string Run;
  Run.reserve(Count);
  int Rel = X - LineX0, RunX = X;
  auto Flush = [&] {
    if (!Run.empty()) TextOutA(Dc, RunX, Y, Run.data(), int(Run.size()));
    Run.clear();
  };
  for (std::size_t i = 0; i < Count; ++i) {
    const char C = E.TextRef()[Start + i];
    if (Run.empty()) RunX = LineX0 + Rel;
    if (C == '\t' && !E.PasswordChar && Multi(E)) {
      Flush();
      Rel = Advance(E, Rel, C);
      continue;
    }
    Run += Shown(E, C);
    Rel = Advance(E, Rel, C);
  }
  Flush();
}

void Paint(TEditState& E, HDC Dc) {
  Layout(E);
  const TRect Client = ClientOf(E.Wnd);
  HBRUSH Brush = ColorBrush(E, Dc);
  FillRect(Dc, &Client, Brush);
  const COLORREF Text = GetTextColor(Dc);
  TSelectObjectGuard FontSel(Dc, FontOf(E));
  SetBkMode(Dc, TRANSPARENT);
  const TRect R = FormatRectOf(E);
  TSaveDcGuard Saved(Dc);
  IntersectClipRect(Dc, R.Left, R.Top, R.Right, Multi(E) ? R.Bottom : Client.Bottom);
  const bool ShowSel =
      SelMin(E) != SelMax(E) && (E.Focused || (Style(E.Wnd) & ES_NOHIDESEL)) && IsWindowEnabled(E.Wnd);
  const int Last = std::min(int(E.Lines.size()), E.TopLine + VisibleLines(E) + 1);
  for (int Line = E.TopLine; Line < Last; ++Line) {
    const TLine& L = E.Lines[std::size_t(Line)];
    const int Y = R.Top + (Line - E.TopLine) * E.LineHeight;
    const int X0 = R.Left + LineIndent(E, Line) - E.XOffset;
    // Three runs: before, inside and after the selection.
    const std::size_t A = std::clamp(SelMin(E), L.Start, L.Start + L.Len);
    const std::size_t B = std::clamp(SelMax(E), L.Start, L.Start + L.Len);
    auto Run = [&](std::size_t From, std::size_t To, bool Selected) {
      if (To <= From) return;
      const int XA = X0 + WidthOf(E, L.Start, From - L.Start);
      if (Selected) {
        const int XB = X0 + WidthOf(E, L.Start, To - L.Start);
        const TRect Hi{XA, Y, XB, Y + E.LineHeight};
        FillRect(Dc, &Hi, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(Dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      } else {
        SetTextColor(Dc, Text);
      }
      DrawRun(E, Dc, XA, Y, From, To - From, X0);
    };
    if (ShowSel) {
      Run(L.Start, A, false);
      Run(A, B, true);
      Run(B, L.Start + L.Len, false);
      // A selected line end shows as a blank's width of highlight.
      if (SelMax(E) > L.Start + L.Len && SelMin(E) <= L.Start + L.Len && L.Next > L.Start + L.Len) {
        const int XE = X0 + WidthOf(E, L.Start, L.Len);
        const TRect Hi{XE, Y, XE + E.CharW[Byte(' ')], Y + E.LineHeight};
        FillRect(Dc, &Hi, GetSysColorBrush(COLOR_HIGHLIGHT));
      }
    } else {
      Run(L.Start, L.Start + L.Len, false);
    }
  }
}

void MouseSelect(TEditState& E, LPARAM L, bool Extend) {
  const std::size_t P = CharFromPoint(E, {GET_X_LPARAM(L), GET_Y_LPARAM(L)});
  SetSelection(E, Extend ? E.Anchor : P, P);
}

void SelectWordAt(TEditState& E, LPARAM L) {
  const std::size_t P = CharFromPoint(E, {GET_X_LPARAM(L), GET_Y_LPARAM(L)});
  const std::string& T = E.TextRef();
  std::size_t A = P, B = P;
  if (P < T.size() && IsWordChar(T[P])) {
    while (A > 0 && IsWordChar(T[A - 1])) --A;
    while (B < T.size() && IsWordChar(T[B])) ++B;
  } else if (P < T.size() && !IsBreakChar(T[P])) {
    B = P + 1;
  }
  // The blanks after a word belong to it, as in a double click elsewhere.
  while (B < T.size() && T[B] == ' ') ++B;
  SetSelection(E, A, B);
}

void Scroll(TEditState& E, int Bar, int Code) {
  Layout(E);
  if (Bar == SB_VERT) {
    int Top = E.TopLine;
    const int Page = VisibleLines(E);
    switch (Code) {
      case SB_LINEUP: --Top; break;
      case SB_LINEDOWN: ++Top; break;
      case SB_PAGEUP: Top -= Page; break;
      case SB_PAGEDOWN: Top += Page; break;
      case SB_TOP: Top = 0; break;
      case SB_BOTTOM: Top = int(E.Lines.size()); break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        SCROLLINFO Si;
        Si.fMask = SIF_TRACKPOS;
        GetScrollInfo(E.Wnd, SB_VERT, &Si);
        Top = Si.nTrackPos;
        break;
      }
      default: return;
    }
    SetTopLine(E, Top);
  } else {
    int X = E.XOffset;
    const int Page = FormatRectOf(E).Width();
    switch (Code) {
      case SB_LINELEFT: X -= E.AveChar; break;
      case SB_LINERIGHT: X += E.AveChar; break;
      case SB_PAGELEFT: X -= Page; break;
      case SB_PAGERIGHT: X += Page; break;
      case SB_LEFT: X = 0; break;
      case SB_RIGHT: X = E.MaxWidth; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        SCROLLINFO Si;
        Si.fMask = SIF_TRACKPOS;
        GetScrollInfo(E.Wnd, SB_HORZ, &Si);
        X = Si.nTrackPos;
        break;
      }
      default: return;
    }
    SetXOffset(E, std::min(X, std::max(0, E.MaxWidth - Page + E.AveChar)));
  }
}

LRESULT GetLine(TEditState& E, WPARAM W, LPARAM L) {
  Layout(E);
  char* Buf = reinterpret_cast<char*>(L);
  if (!Buf) return 0;
  WORD Size = 0;
  std::memcpy(&Size, Buf, sizeof Size);
  const std::size_t Line = Multi(E) ? std::size_t(W) : 0;
  if (Line >= E.Lines.size()) return 0;
  const TLine& Ln = E.Lines[Line];
  const std::size_t N = std::min<std::size_t>(Size, Ln.Len);
  std::memcpy(Buf, E.TextRef().data() + Ln.Start, N);
  return LRESULT(N);
}
}  // namespace

LRESULT EditWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  TEditState* E = StateOf(Wnd);
  if (!E) {
    if (Msg != WM_NCCREATE) return DefWindowProcA(Wnd, Msg, W, L);
    auto New = std::make_unique<TEditState>();
    New->Wnd = Wnd;
    New->TextPtr = &WinPtr(Wnd)->Text;
    if (Style(Wnd) & ES_PASSWORD) New->PasswordChar = '*';
    MeasureFont(*New);
    SetPropA(Wnd, StateProp, New.release());
    return DefWindowProcA(Wnd, Msg, W, L);
  }
  switch (Msg) {
    case WM_NCDESTROY: {
      RemovePropA(Wnd, StateProp);
      delete E;
      return DefWindowProcA(Wnd, Msg, W, L);
    }
    case WM_CREATE: {
      const auto* Cs = reinterpret_cast<const CREATESTRUCTA*>(L);
      if (Cs && Cs->lpszName) E->TextRef() = Cs->lpszName;
      Relayout(*E);
      return 0;
    }
    case WM_GETDLGCODE: {
      LRESULT R = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      // A multi-line edit wants Enter; the class library's memo may refuse it.
      if (Multi(*E)) R |= DLGC_WANTALLKEYS;
      return R;
    }
    case WM_SETTEXT: {
      const char* T = reinterpret_cast<const char*>(L);
      E->TextRef() = T ? T : "";
      E->Anchor = E->Caret = 0;
      E->CanUndo = false;
      E->Typing = false;
      E->Modified = false;
      E->TopLine = 0;
      E->XOffset = 0;
      Relayout(*E);
      PlaceCaret(*E);
      Notify(*E, EN_UPDATE);
      Notify(*E, EN_CHANGE);
      return TRUE;
    }
    case WM_GETTEXT: {
      char* Buf = reinterpret_cast<char*>(L);
      if (!Buf || W == 0) return 0;
      const std::size_t N = std::min<std::size_t>(E->TextRef().size(), W - 1);
      std::memcpy(Buf, E->TextRef().data(), N);
      Buf[N] = 0;
      return LRESULT(N);
    }
    case WM_GETTEXTLENGTH: return LRESULT(E->TextRef().size());
    case WM_SETFONT:
      E->Font = HFONT(W);
      MeasureFont(*E);
      Relayout(*E);
      if (E->Focused) {
        CreateCaret(Wnd, nullptr, 1, E->LineHeight);
        PlaceCaret(*E);
        ShowCaret(Wnd);
      }
      if (LOWORD(L)) InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return LRESULT(E->Font);
    case WM_SIZE:
      Relayout(*E);
      ScrollToCaret(*E);
      return DefWindowProcA(Wnd, Msg, W, L);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      TControlPaintDc Dc(Wnd, W);
      if (E->Focused) HideCaret(Wnd);
      Paint(*E, Dc.Dc());
      if (E->Focused) ShowCaret(Wnd);
      return 0;
    }
    case WM_SETFOCUS:
      E->Focused = true;
      CreateCaret(Wnd, nullptr, 1, E->LineHeight);
      PlaceCaret(*E);
      ShowCaret(Wnd);
      InvalidateRect(Wnd, nullptr, TRUE);
      Notify(*E, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      E->Focused = false;
      E->Tracking = false;
      DestroyCaret();
      InvalidateRect(Wnd, nullptr, TRUE);
      Notify(*E, EN_KILLFOCUS);
      return 0;
    case WM_ENABLE: InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case WM_KEYDOWN: KeyDown(*E, WORD(W)); return 0;
    case WM_CHAR: Char(*E, char(W)); return 0;
    case WM_LBUTTONDOWN:
      if (GetFocus() != Wnd) SetFocus(Wnd);
      if (!IsWindow(Wnd)) return 0;
      MouseSelect(*E, L, (W & MK_SHIFT) != 0);
      E->Tracking = true;
      SetCapture(Wnd);
      return 0;
    case WM_LBUTTONDBLCLK:
      SelectWordAt(*E, L);
      return 0;
    case WM_MOUSEMOVE:
      if (E->Tracking && (W & MK_LBUTTON)) MouseSelect(*E, L, true);
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (E->Tracking) {
        E->Tracking = false;
        if (GetCapture() == Wnd) ReleaseCapture();
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(L) == HTCLIENT) {
        SetCursor(LoadCursorA(nullptr, IDC_IBEAM));
        return TRUE;
      }
      return DefWindowProcA(Wnd, Msg, W, L);
    case WM_MOUSEWHEEL:
      if (Multi(*E)) SetTopLine(*E, E->TopLine - GET_WHEEL_DELTA_WPARAM(W) / 120 * 3);
      return 0;
    case WM_VSCROLL: Scroll(*E, SB_VERT, LOWORD(W)); return 0;
    case WM_HSCROLL: Scroll(*E, SB_HORZ, LOWORD(W)); return 0;
    case WM_CUT:
      if (!ReadOnly(*E)) {
        Copy(*E);
        Clear(*E);
      }
      return 0;
    case WM_COPY: Copy(*E); return 0;
    case WM_PASTE: Paste(*E); return 0;
    case WM_CLEAR: Clear(*E); return 0;
    case WM_UNDO:
    case EM_UNDO: {
      const bool Could = E->CanUndo;
      Undo(*E);
      return Could;
    }
    case EM_CANUNDO: return E->CanUndo;
    case EM_EMPTYUNDOBUFFER:
      E->CanUndo = false;
      E->UndoText.clear();
      return 0;
    case EM_GETSEL: {
      if (W) *reinterpret_cast<DWORD*>(W) = DWORD(SelMin(*E));
      if (L) *reinterpret_cast<DWORD*>(L) = DWORD(SelMax(*E));
      return MAKELRESULT(int(std::min<std::size_t>(SelMin(*E), 0xFFFF)), int(std::min<std::size_t>(SelMax(*E), 0xFFFF)));
    }
    case EM_SETSEL: {
      // -1 as the start removes the selection; -1 as the end means the end.
      const long long S = (long long)(std::intptr_t(W)), En = (long long)(std::intptr_t(L));
      if (S == -1 || int(W) == -1) {
        SetSelection(*E, E->Caret, E->Caret);
        return 0;
      }
      const std::size_t Max = E->TextRef().size();
      const std::size_t A = S < 0 ? Max : std::size_t(S);
      const std::size_t B = En < 0 || int(L) == -1 ? Max : std::size_t(En);
      SetSelection(*E, A, B);
      return 0;
    }
    case EM_REPLACESEL: {
      const char* T = reinterpret_cast<const char*>(L);
      std::string In = Filter(*E, T ? T : "", T ? std::strlen(T) : 0);
      ReplaceSelection(*E, In, W != 0);
      return 0;
    }
    case EM_SETREADONLY: {
      DWORD S = Style(Wnd);
      S = W ? (S | ES_READONLY) : (S & ~DWORD(ES_READONLY));
      SetWindowLongA(Wnd, GWL_STYLE, LONG_PTR(S));
      InvalidateRect(Wnd, nullptr, TRUE);
      return TRUE;
    }
    case EM_GETMODIFY: return E->Modified;
    case EM_SETMODIFY: E->Modified = W != 0; return 0;
    case EM_LIMITTEXT: E->Limit = W == 0 ? NoLimit : std::size_t(W); return 0;
    case EM_GETLIMITTEXT: return LRESULT(E->Limit);
    case EM_SETPASSWORDCHAR:
      if (Multi(*E)) return 0;
      E->PasswordChar = char(W);
      Relayout(*E);
      PlaceCaret(*E);
      return 0;
    case EM_GETPASSWORDCHAR: return Byte(E->PasswordChar);
    case EM_SETMARGINS: {
      if (W & EC_LEFTMARGIN) E->LeftMargin = LOWORD(L) == EC_USEFONTINFO ? E->AveChar / 2 : LOWORD(L);
      if (W & EC_RIGHTMARGIN) E->RightMargin = HIWORD(L) == EC_USEFONTINFO ? E->AveChar / 2 : HIWORD(L);
      Relayout(*E);
      PlaceCaret(*E);
      return 0;
    }
    case EM_GETMARGINS: return MAKELRESULT(E->LeftMargin, E->RightMargin);
    case EM_GETRECT:
      if (L) *reinterpret_cast<TRect*>(L) = FormatRectOf(*E);
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
      if (L) {
        E->FormatRect = *reinterpret_cast<const TRect*>(L);
        E->RectSet = true;
      } else {
        E->RectSet = false;
      }
      E->Dirty = true;
      if (Msg == EM_SETRECT) Relayout(*E);
      PlaceCaret(*E);
      return 0;
    case EM_GETLINECOUNT: Layout(*E); return LRESULT(E->Lines.size());
    case EM_GETFIRSTVISIBLELINE: return Multi(*E) ? E->TopLine : 0;
    case EM_LINEINDEX: {
      Layout(*E);
      const int Line = int(W) == -1 ? LineFromChar(*E, E->Caret) : int(W);
      if (Line < 0 || std::size_t(Line) >= E->Lines.size()) return -1;
      return LRESULT(E->Lines[std::size_t(Line)].Start);
    }
    case EM_LINELENGTH: {
      Layout(*E);
      if (int(W) == -1) {
        // The characters of the selected lines outside the selection.
        const TLine& A = E->Lines[std::size_t(LineFromChar(*E, SelMin(*E)))];
        const TLine& B = E->Lines[std::size_t(LineFromChar(*E, SelMax(*E)))];
        return LRESULT((SelMin(*E) - A.Start) + (B.Start + B.Len - std::min(SelMax(*E), B.Start + B.Len)));
      }
      const std::size_t P = std::min<std::size_t>(W, E->TextRef().size());
      return LRESULT(E->Lines[std::size_t(LineFromChar(*E, P))].Len);
    }
    case EM_LINEFROMCHAR: {
      const std::size_t P = int(W) == -1 ? E->Caret : std::size_t(W);
      return LineFromChar(*E, P);
    }
    case EM_GETLINE: return GetLine(*E, W, L);
    case EM_LINESCROLL:
      if (Multi(*E)) {
        if (int(W) != 0 && !Wraps(*E)) SetXOffset(*E, E->XOffset + int(W) * E->AveChar);
        SetTopLine(*E, E->TopLine + int(L));
      }
      return TRUE;
    case EM_SCROLL: {
      const int Before = E->TopLine;
      Scroll(*E, SB_VERT, int(W));
      return MAKELRESULT(E->TopLine - Before, 1);
    }
    case EM_SCROLLCARET: ScrollToCaret(*E); return TRUE;
    case EM_POSFROMCHAR: {
      if (W > E->TextRef().size()) return -1;
      const TPoint P = PosFromChar(*E, std::size_t(W));
      return MAKELRESULT(P.X, P.Y);
    }
    case EM_CHARFROMPOS: {
      int Line = 0;
      const std::size_t P = CharFromPoint(*E, {GET_X_LPARAM(L), GET_Y_LPARAM(L)}, &Line);
      return MAKELRESULT(int(std::min<std::size_t>(P, 0xFFFF)), Line);
    }
    default: return DefWindowProcA(Wnd, Msg, W, L);
  }
}
