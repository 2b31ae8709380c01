// The export walk: the editor's lines and style strings as exporter calls.
#include <algorithm>
#include <array>
#include <optional>

#include "editor/controls/DCMemo.h"
#include "platform/rtl/CodePages.h"

// Which groups a run (or the document level) opens and must close.
struct TCustomDCMemo::TGroups {
  bool Face = false, Size = false, Bold = false, Italic = false, Underline = false, StrikeOut = false,
       Color = false, Back = false;
};

// What the walk needs of a style's look, read once per walk: reading a
// style's font refreshes it and converts its height on every call.
struct TCustomDCMemo::TRunLook {
  AnsiString Name;
  Integer Size = 0;
  TColor Color = clBlack;
  TFontStyles Style;
  Byte Charset = 0;
  UINT CodePage = 0;  // the charset's: which code page the run's bytes are in
  TColor Back = clWindow;
  bool Upper = false;
  HFONT Handle = nullptr;

  TRunLook() = default;
  TRunLook(TFont* F, TColor ABack)
      : Name(F->GetName()), Size(F->GetSize()), Color(F->GetColor()), Style(F->GetStyle()),
        Charset(Byte(F->GetCharset())), CodePage(CodePageFromCharset(Charset)), Back(ABack) {}
};

struct TCustomDCMemo::TWalk {
  TDCExporter* E = nullptr;
  bool SelectionOnly = false;
  bool KeepsTabs = false;
  Integer FirstLine = 0, LastLine = -1;
  TSelectionType SelType = stNotSelected;
  TRect Sel;
  const TRunLook* Prev = nullptr;
  // The looks of the style indexes met so far.
  std::array<std::optional<TRunLook>, 256> Looks;
};

void TCustomDCMemo::WriteText(TWalk& W, const AnsiString& S) {
  AnsiString T = W.E->ConvertText(S);
  if (OnExportString.Assigned()) OnExportString(W.E, T);
  W.E->WriteString(T);
}

void TCustomDCMemo::OpenGroups(TDCExporter* E, const TGroups& G, const TRunLook& Look) {
  if (G.Face) E->StartFontCharset(Look.Name, Look.Charset);
  if (G.Size) E->StartFontSize(Look.Size);
  if (G.Bold) E->StartBold();
  if (G.Italic) E->StartItalic();
  if (G.Underline) E->StartUnderline();
  if (G.StrikeOut) E->StartStrikeOut();
  if (G.Color) E->StartColor(Look.Color);
  if (G.Back) E->StartBackColor(Look.Back);
}

const TCustomDCMemo::TRunLook& TCustomDCMemo::WalkLook(TWalk& W, Integer Style) const {
  std::optional<TRunLook>& L = W.Looks[size_t(Byte(Style))];
  if (!L) {
    TFont* F = GetStyleFont(Style);
    L.emplace(F, GetStyleColor(Style));
    L->Upper = IsUpperCaseStyle(Style);
    L->Handle = F->GetHandle();
  }
  return *L;
}

// The look test of SameStyleLook on the looks read for the walk.
bool TCustomDCMemo::WalkSameLook(TWalk& W, Integer A, Integer B) const {
  if (A == B) return true;
  const TRunLook& LA = WalkLook(W, A);
  const TRunLook& LB = WalkLook(W, B);
  return LA.Back == LB.Back && LA.Upper == LB.Upper && LA.Handle == LB.Handle && LA.Color == LB.Color;
}

void TCustomDCMemo::CloseGroups(TDCExporter* E, const TGroups& G) {
  if (G.Back) E->EndBackColor();
  if (G.Color) E->EndColor();
  if (G.StrikeOut) E->EndStrikeOut();
  if (G.Underline) E->EndUnderline();
  if (G.Italic) E->EndItalic();
  if (G.Bold) E->EndBold();
  if (G.Size) E->EndFontSize();
  if (G.Face) E->EndFont();
}

AnsiString TCustomDCMemo::WalkLineText(const TWalk& W, Integer Line) const {
  TCustomMemoSource* S = GetSource();
  if (W.KeepsTabs) return Line >= 0 && Line < S->GetLineCount() ? S->GetLineText(Line) : AnsiString();
  return S->GetLines()->GetStrings(Line);
}

// The 1-based, inclusive column range of Line written by the walk; false
// when nothing of it is.
bool TCustomDCMemo::WalkColumns(const TWalk& W, Integer Line, const AnsiString& Text, Integer& First,
                                Integer& Last) const {
  const Integer Len = Integer(Text.size());
  First = 1;
  Last = Len;
  if (W.SelectionOnly) {
    // Selection columns are display columns.
    Integer From = 0, To = -1;  // 0-based display columns, To exclusive; -1: to the end
    if (W.SelType == stStreamSel) {
      if (Line == W.Sel.Top) From = W.Sel.Left;
      if (Line == W.Sel.Bottom) To = W.Sel.Right;
    } else if (W.SelType == stBlockSel) {
      From = W.Sel.Left;
      To = W.Sel.Right + 1;
    }
    if (W.KeepsTabs) {
      TCustomMemoSource* S = GetSource();
      S->VisualToCharIndex(Text, From);
      if (To >= 0) S->VisualToCharIndex(Text, To);
    }
    First = From + 1;
    if (To >= 0) Last = std::min(Len, To);
  }
  return Last >= First;
}

void TCustomDCMemo::WriteToExporter(TDCExporter* Exporter, bool SelectionOnly) {
  TCustomMemoSource* S = GetSource();
  TWalk W;
  W.E = Exporter;
  W.SelectionOnly = SelectionOnly;
  W.KeepsTabs = Exporter->KeepsTabs();
  Exporter->StartDocument(!S->GetObjectName().empty() ? S->GetObjectName() : S->GetName());
  Exporter->StartPageColor(GetColor());
  const bool Styled = ParserStylesInUse() || GetHighlightUrls();
  TGroups Doc;
  Doc.Face = Doc.Size = Doc.Color = true;
  if (!Styled) {
    const TFontStyles St = FFont->GetStyle();
    Doc.Bold = St.Contains(fsBold);
    Doc.Italic = St.Contains(fsItalic);
    Doc.Underline = St.Contains(fsUnderline);
    Doc.StrikeOut = St.Contains(fsStrikeOut);
  }
  const TRunLook EditorLook(FFont.get(), GetColor());
  OpenGroups(Exporter, Doc, EditorLook);
  W.Prev = &EditorLook;
  W.LastLine = S->GetLineCount() - 1;
  if (SelectionOnly) {
    W.SelType = S->GetSelectionType();
    W.Sel = S->GetSelectionRect();
    if (W.SelType == stNotSelected) {
      W.FirstLine = 0;
      W.LastLine = -1;
    } else {
      W.FirstLine = W.Sel.Top;
      W.LastLine = std::min(W.Sel.Bottom, S->GetLineCount() - 1);
    }
  }
  try {
    if (Styled) StyledWalk(W);
    else PlainWalk(W);
  } catch (...) {
    CloseGroups(Exporter, Doc);
    Exporter->EndPageColor();
    Exporter->EndDocument();
    throw;
  }
  CloseGroups(Exporter, Doc);
  Exporter->EndPageColor();
  Exporter->EndDocument();
}

void TCustomDCMemo::PlainWalk(TWalk& W) {
  for (Integer L = W.FirstLine; L <= W.LastLine; ++L) {
    if (L != W.FirstLine) W.E->LineBreak();
    const AnsiString Text = WalkLineText(W, L);
    Integer First, Last;
    if (WalkColumns(W, L, Text, First, Last)) WriteText(W, Text.substr(size_t(First - 1), size_t(Last - First + 1)));
    else WriteText(W, AnsiString());
  }
}

void TCustomDCMemo::StyledWalk(TWalk& W) {
  TCustomMemoSource* S = GetSource();
  const bool UrlOnly = GetHighlightUrls() && !ParserStylesInUse();
  const TRunLook Editor(FFont.get(), GetColor());
  AnsiString Styles;
  for (Integer L = W.FirstLine; L <= W.LastLine; ++L) {
    const AnsiString Text = WalkLineText(W, L);
    if (L != W.FirstLine) W.E->LineBreak();
    if (Text.empty()) continue;
    if (W.KeepsTabs) S->GetColorData(L, Styles);
    else S->GetExpandedColorData(L, Styles);
    Integer First, Last;
    if (!WalkColumns(W, L, Text, First, Last)) continue;
    auto StyleAt = [&](Integer Col) -> Integer {
      return Col - 1 < Integer(Styles.size()) ? Integer(Byte(Styles[size_t(Col - 1)])) : 0;
    };
    Integer Cur = Styles.empty() ? 0 : StyleAt(First);
    Integer Start = First;
    bool FirstRun = true;
    while (Start <= Last) {
      Integer End = Start + 1;
      while (End <= Last && WalkSameLook(W, StyleAt(End), Cur)) ++End;
      // Style 0 is the editor's own look when only URLs are highlighted.
      const TRunLook& F = Cur == 0 && UrlOnly ? Editor : WalkLook(W, Cur);
      TGroups G;
      // A run in another code page opens its face again: its charset goes with it.
      G.Face = FirstRun || F.Name != W.Prev->Name || F.Name != Editor.Name || F.CodePage != W.Prev->CodePage ||
               F.CodePage != Editor.CodePage;
      G.Size = FirstRun || F.Size != W.Prev->Size || F.Size != Editor.Size;
      G.Color = FirstRun || F.Color != W.Prev->Color || F.Color != Editor.Color;
      G.Back = F.Back != GetColor();
      G.Bold = F.Style.Contains(fsBold);
      G.Italic = F.Style.Contains(fsItalic);
      G.Underline = F.Style.Contains(fsUnderline);
      G.StrikeOut = F.Style.Contains(fsStrikeOut);
      W.Prev = &F;
      OpenGroups(W.E, G, F);
      WriteText(W, Text.substr(size_t(Start - 1), size_t(End - Start)));
      if (End > Last) {
        // Empty lines that follow go out inside this run's groups.
        while (L < W.LastLine && S->GetLines()->GetStrings(L + 1).empty()) {
          W.E->LineBreak();
          ++L;
        }
      }
      CloseGroups(W.E, G);
      Start = End;
      if (Start <= Last) Cur = StyleAt(Start);
      FirstRun = false;
    }
  }
}
