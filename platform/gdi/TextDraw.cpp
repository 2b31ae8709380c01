// DrawText: prefix marks, line and word breaking, tabs, ellipses, alignment
// and the calc-rect measure, drawn through the DC's own text output.
#include <algorithm>
#include <cstring>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/DcObject.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePages.h"

namespace {

struct TLine {
  std::u16string Text;
  int Prefix = -1;  // index of the character to underline
};

class TTextFormatter {
public:
  TTextFormatter(HDC Dc, UINT Format, int TabChars) : FDc(Dc), FFormat(Format) {
    GetTextMetricsW(Dc, &FTm);
    FTab = TabChars * FTm.tmAveCharWidth;
  }

  int Width(const std::u16string& S) const {
    if (S.empty()) return 0;
    if (FFormat & DT_EXPANDTABS) {
      const int Tabs[1] = {FTab};
      return int(GetTabbedTextExtentW(FDc, S.c_str(), int(S.size()), 1, Tabs) & 0xFFFF);
    }
    TSize Sz;
    GetTextExtentPoint32W(FDc, S.c_str(), int(S.size()), &Sz);
    return Sz.cx;
  }

  // The visible text of S with its prefix marks taken out.
  TLine StripPrefix(const std::u16string& S) const {
    TLine L;
    if (FFormat & DT_NOPREFIX) {
      L.Text = S;
      return L;
    }
    for (size_t I = 0; I < S.size(); ++I) {
      if (S[I] == u'&') {
        if (I + 1 < S.size() && S[I + 1] == u'&') {
          L.Text += u'&';
          ++I;
        } else if (I + 1 < S.size()) {
          L.Prefix = int(L.Text.size());
        }
        continue;
      }
      L.Text += S[I];
    }
    return L;
  }

  // Breaks one paragraph into lines no wider than Avail, at blanks; a word
  // wider than a line is cut between characters only for edit-control text.
  void Wrap(const TLine& Para, int Avail, std::vector<TLine>& Out) const {
    const std::u16string& T = Para.Text;
    size_t Start = 0;
    if (T.empty()) {
      Out.push_back(Para);
      return;
    }
    while (Start < T.size()) {
      size_t End = Start, LastBreak = std::u16string::npos;
      while (End < T.size()) {
        if (T[End] == u' ' || T[End] == u'\t') LastBreak = End;
        if (Width(T.substr(Start, End + 1 - Start)) > Avail && End > Start && T[End] != u' ') break;
        ++End;
      }
      size_t Cut = End, Next = End;
      if (End < T.size()) {
        if (LastBreak != std::u16string::npos && LastBreak >= Start && LastBreak < End) {
          Cut = LastBreak;
          Next = LastBreak + 1;
        } else if (!(FFormat & (DT_EDITCONTROL | DT_WORD_ELLIPSIS))) {
          // The word stays whole and runs past the edge.
          while (End < T.size() && T[End] != u' ') ++End;
          Cut = Next = End;
          if (Next < T.size()) ++Next;
        }
      }
      while (Cut > Start && T[Cut - 1] == u' ') --Cut;  // trailing blanks do not count
      TLine L;
      L.Text = T.substr(Start, Cut - Start);
      if (Para.Prefix >= int(Start) && Para.Prefix < int(Cut)) L.Prefix = Para.Prefix - int(Start);
      Out.push_back(L);
      Start = Next;
      while (Start < T.size() && T[Start] == u' ') ++Start;
    }
  }

  // Shortens a line that is too wide with "..." at its end, or inside a path.
  bool Ellipsize(TLine& L, int Avail) const {
    if (Width(L.Text) <= Avail) return false;
    const std::u16string Dots = u"...";
    if (FFormat & DT_PATH_ELLIPSIS) {
      const size_t Sep = L.Text.find_last_of(u"\\/");
      if (Sep != std::u16string::npos && Sep > 0) {
        const std::u16string Tail = L.Text.substr(Sep);
        std::u16string Head = L.Text.substr(0, Sep);
        while (!Head.empty() && Width(Head + Dots + Tail) > Avail) Head.pop_back();
        L.Text = Head + Dots + Tail;
        L.Prefix = L.Prefix < int(Head.size()) ? L.Prefix : -1;
        if (Width(L.Text) <= Avail) return true;
      }
    }
    std::u16string Head = L.Text;
    while (!Head.empty() && Width(Head + Dots) > Avail) Head.pop_back();
    L.Text = Head + Dots;
    if (L.Prefix >= int(Head.size())) L.Prefix = -1;
    return true;
  }

  const TEXTMETRICW& Tm() const { return FTm; }
  int Tab() const { return FTab; }

private:
  HDC FDc;
  UINT FFormat;
  TEXTMETRICW FTm;
  int FTab = 0;
};

}  // namespace

int DrawTextExW(HDC H, WCHAR* Str, int Count, TRect* Rect, UINT Format, DRAWTEXTPARAMS* Params) {
  TDC* D = GdiLookupDC(H);
  if (!D || !Rect || (!Str && Count != 0)) return 0;
  if (Count < 0) {
    Count = 0;
    while (Str[Count]) ++Count;
  }
  int TabChars = 8;
  if (Format & DT_TABSTOP) {
    TabChars = (Format >> 8) & 0xFF;
    Format &= ~0xFF00u;  // those bits held the tab length
  }
  if (Params && Params->iTabLength > 0) TabChars = Params->iTabLength;
  const int LeftMargin = Params ? Params->iLeftMargin : 0, RightMargin = Params ? Params->iRightMargin : 0;
  TTextFormatter F(H, Format, TabChars);
  const TEXTMETRICW& Tm = F.Tm();
  const int LineH = Tm.tmHeight + ((Format & DT_EXTERNALLEADING) ? Tm.tmExternalLeading : 0);
  const int Left = Rect->Left + LeftMargin, Right = Rect->Right - RightMargin;
  const int Avail = std::max(0, Right - Left);
  if (Params) Params->uiLengthDrawn = UINT(Count);

  const std::u16string Source(Str ? Str : u"", size_t(Count));
  std::vector<TLine> Lines;
  if (Format & DT_SINGLELINE) {
    Lines.push_back(F.StripPrefix(Source));
  } else {
    size_t Start = 0;
    for (size_t I = 0; I <= Source.size(); ++I) {
      if (I < Source.size() && Source[I] != u'\r' && Source[I] != u'\n') continue;
      const TLine Para = F.StripPrefix(Source.substr(Start, I - Start));
      if (Format & DT_WORDBREAK) F.Wrap(Para, Avail, Lines);
      else Lines.push_back(Para);
      if (I + 1 < Source.size() && Source[I] == u'\r' && Source[I + 1] == u'\n') ++I;
      Start = I + 1;
      if (I >= Source.size()) break;
    }
    // A final line break does not start another line.
    if (!Lines.empty() && Lines.back().Text.empty() && Source.size() &&
        (Source.back() == u'\n' || Source.back() == u'\r') && Lines.size() > 1)
      Lines.pop_back();
  }
  if (Source.empty()) Lines.clear();

  bool Modified = false;
  if (Format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))
    for (auto& L : Lines) Modified |= F.Ellipsize(L, Avail);
  if (Modified && (Format & DT_MODIFYSTRING) && Str && (Format & DT_SINGLELINE)) {
    // The caller's buffer holds Count + 4 characters.
    const std::u16string& T = Lines.front().Text;
    const size_t N = std::min(T.size(), size_t(Count) + 3);
    std::copy_n(T.begin(), N, Str);
    Str[N] = 0;
  }

  int MaxW = 0;
  std::vector<int> Widths;
  for (const auto& L : Lines) {
    Widths.push_back(F.Width(L.Text));
    MaxW = std::max(MaxW, Widths.back());
  }
  const int Height = int(Lines.size()) * LineH;
  int Y = Rect->Top;
  if (Format & DT_SINGLELINE) {
    if (Format & DT_VCENTER) Y = Rect->Top + (Rect->Height() - LineH) / 2;
    else if (Format & DT_BOTTOM) Y = Rect->Bottom - LineH;
  }
  if (Format & DT_CALCRECT) {
    if (Lines.empty()) {
      Rect->Right = Rect->Left;
      Rect->Bottom = Rect->Top;
      return 0;
    }
    if (Format & DT_CENTER) {
      const int Mid = (Left + Right) / 2;
      Rect->Left = Mid - MaxW / 2 - LeftMargin;
      Rect->Right = Rect->Left + LeftMargin + MaxW + RightMargin;
    } else if (Format & DT_RIGHT) {
      Rect->Left = Right - MaxW - LeftMargin;
    } else {
      Rect->Right = Left + MaxW + RightMargin;
    }
    if (Format & DT_RIGHT) Rect->Right = Right + RightMargin;
    Rect->Bottom = Rect->Top + Height;
    return Height;
  }
  if (Lines.empty()) return 0;

  const UINT SavedAlign = D->SetTextAlign(TA_LEFT | TA_TOP);
  const int SavedMode = (Format & DT_PREFIXONLY) ? D->SetBkMode(TRANSPARENT) : 0;
  const UINT Clip = (Format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
  int Bottom = Y;
  for (size_t K = 0; K < Lines.size(); ++K, Y += LineH) {
    const TLine& L = Lines[K];
    // An edit control shows no partly visible last line.
    if ((Format & DT_EDITCONTROL) && K > 0 && Y + LineH > Rect->Bottom) break;
    int X = Left;
    if (Format & DT_CENTER) X = Left + (Avail - Widths[K]) / 2;
    else if (Format & DT_RIGHT) X = Right - Widths[K];
    if (!(Format & DT_PREFIXONLY)) {
      if ((Format & DT_EXPANDTABS) && L.Text.find(u'\t') != std::u16string::npos) {
        const int Tabs[1] = {F.Tab()};
        // Tabs count from the line's start; clip as the plain route does.
        if (Clip) {
          SaveDC(H);
          IntersectClipRect(H, Rect->Left, Rect->Top, Rect->Right, Rect->Bottom);
        }
        TabbedTextOutW(H, X, Y, L.Text.c_str(), int(L.Text.size()), 1, Tabs, X);
        if (Clip) RestoreDC(H, -1);
      } else {
        D->ExtTextOutW(X, Y, Clip, Rect, L.Text.c_str(), UINT(L.Text.size()), nullptr);
      }
    }
    if (L.Prefix >= 0 && L.Prefix < int(L.Text.size()) && !(Format & DT_HIDEPREFIX)) {
      const int X0 = X + F.Width(L.Text.substr(0, size_t(L.Prefix)));
      const int X1 = X + F.Width(L.Text.substr(0, size_t(L.Prefix) + 1));
      HBRUSH B = CreateSolidBrush(D->State().TextColor);
      TRect U{X0, Y + Tm.tmAscent + 1, X1, Y + Tm.tmAscent + 2};
      if (Clip) {
        U.Left = std::max(U.Left, Rect->Left);
        U.Right = std::min(U.Right, Rect->Right);
        U.Top = std::max(U.Top, Rect->Top);
        U.Bottom = std::min(U.Bottom, Rect->Bottom);
      }
      if (!U.IsEmpty()) D->FillRect(U, B);
      DeleteObject(B);
    }
    Bottom = Y + LineH;
  }
  D->SetTextAlign(SavedAlign);
  if (Format & DT_PREFIXONLY) D->SetBkMode(SavedMode);
  return Bottom - Rect->Top;
}

int DrawTextW(HDC H, WCHAR* Str, int Count, TRect* Rect, UINT Format) {
  return DrawTextExW(H, Str, Count, Rect, Format, nullptr);
}

int DrawTextExA(HDC H, char* Str, int Count, TRect* Rect, UINT Format, DRAWTEXTPARAMS* Params) {
  if (!Str && Count != 0) return 0;
  if (Count < 0) Count = int(std::strlen(Str));
  WideString W = GdiTextToWide(H, Str, Count);
  const size_t Len = W.size();
  W.resize(Len + 4, 0);
  const int R = DrawTextExW(H, W.data(), int(Len), Rect, Format, Params);
  if ((Format & DT_MODIFYSTRING) && Str) {
    size_t N = 0;
    while (N < W.size() && W[N]) ++N;
    // Back into the code page the text came in: the font's.
    TEXTMETRICW Tm{};
    const UINT Cp = GetTextMetricsW(H, &Tm) && Tm.tmCharSet != SYMBOL_CHARSET ? CodePageFromCharset(Tm.tmCharSet) : CP_ACP;
    AnsiString A;
    if (Tm.tmCharSet == SYMBOL_CHARSET)
      for (size_t I = 0; I < N; ++I) A += char(W[I]);
    else
      A = WideToAnsi(std::u16string_view(W.data(), N), Cp);
    // Room for Count + 4 bytes, as with the wide call.
    const size_t Copy = std::min(A.size(), size_t(Count) + 3);
    std::memcpy(Str, A.data(), Copy);
    Str[Copy] = 0;
  }
  return R;
}

int DrawTextA(HDC H, char* Str, int Count, TRect* Rect, UINT Format) {
  return DrawTextExA(H, Str, Count, Rect, Format, nullptr);
}
