// Layout_TestSupport.h — small documents built in code, a white raster DC,
// and the metrics of the fonts the documents use, for the layout, range
// formatting and control tests.
#pragma once
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/richedit/RichDocument.h"
#include "platform/richedit/RichFormatRange.h"

namespace richtest {

// Courier New maps to a monospaced face: every character has one advance.
inline TRichCharFormat Mono(int HalfPoints = 20) {
  TRichCharFormat F;
  F.Face = u"Courier New";
  F.Size = HalfPoints;
  return F;
}

// Builds a document paragraph by paragraph.
class TDocBuilder {
public:
  TDocBuilder& Para(std::u16string_view Text, const TRichParaFormat& P = {}, const TRichCharFormat& F = Mono()) {
    FDoc.AppendText(Text, F);
    FDoc.EndParagraph(P, F);
    FLast = P;
    FLastChar = F;
    return *this;
  }
  TDocBuilder& Text(std::u16string_view Text, const TRichCharFormat& F = Mono()) {
    FDoc.AppendText(Text, F);
    return *this;
  }
  TDocBuilder& Picture(TRichPicture P, const TRichCharFormat& F = Mono()) {
    FDoc.AppendPicture(std::move(P), F);
    return *this;
  }
  TDocBuilder& End(const TRichParaFormat& P = {}, const TRichCharFormat& F = Mono()) {
    FDoc.EndParagraph(P, F);
    FLast = P;
    FLastChar = F;
    return *this;
  }
  TRichDocument Done() {
    FDoc.Finish(FLast, FLastChar);
    return std::move(FDoc);
  }

private:
  TRichDocument FDoc;
  TRichParaFormat FLast;
  TRichCharFormat FLastChar = Mono();
};

// Metrics of a font at 96 dpi, as the layout's target sees them.
struct TFontMetrics {
  int Height = 0;    // ascent + descent, pixels
  int Advance = 0;   // of 'a'
};
inline TFontMetrics MetricsOf(const TRichCharFormat& F, int Dpi = 96) {
  HDC Dc = CreateCompatibleDC(nullptr);
  const int Px = (TRichMeasureFonts::EffectiveHalfPoints(F) * 10 * Dpi + 720) / 1440;
  LOGFONTW Lf = TRichMeasureFonts::FontFor(F, u"MS Sans Serif", Px);
  HFONT H = CreateFontIndirectW(&Lf);
  SelectObject(Dc, H);
  TEXTMETRICW Tm;
  GetTextMetricsW(Dc, &Tm);
  int W = 0;
  GetCharWidth32W(Dc, 'a', 'a', &W);
  SelectObject(Dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(H);
  DeleteDC(Dc);
  return {Tm.tmAscent + Tm.tmDescent, W};
}

// A white 32-bit bitmap in a memory DC (96 dpi).
class TCanvas {
public:
  TCanvas(int W, int H) : FW(W), FH(H) {
    FDc = CreateCompatibleDC(nullptr);
    FBm = CreateBitmap(W, H, 1, 32, nullptr);
    FOld = SelectObject(FDc, FBm);
    HBRUSH White = CreateSolidBrush(RGB(255, 255, 255));
    TRect All{0, 0, W, H};
    FillRect(FDc, &All, White);
    DeleteObject(White);
  }
  ~TCanvas() {
    SelectObject(FDc, FOld);
    DeleteObject(FBm);
    DeleteDC(FDc);
  }
  HDC Dc() const { return FDc; }
  // The box of every non-white pixel (empty when none), read in device
  // pixels with the clip removed.
  TRect Ink() const {
    SelectClipRgn(FDc, nullptr);
    SetMapMode(FDc, MM_TEXT);
    SetWindowOrgEx(FDc, 0, 0, nullptr);
    SetViewportOrgEx(FDc, 0, 0, nullptr);
    TRect R{FW, FH, 0, 0};
    for (int Y = 0; Y < FH; ++Y)
      for (int X = 0; X < FW; ++X)
        if (GetPixel(FDc, X, Y) != RGB(255, 255, 255)) {
          R.Left = std::min(R.Left, X);
          R.Top = std::min(R.Top, Y);
          R.Right = std::max(R.Right, X + 1);
          R.Bottom = std::max(R.Bottom, Y + 1);
        }
    return R.Right > R.Left ? R : TRect{};
  }

private:
  int FW, FH;
  HDC FDc;
  HBITMAP FBm;
  HGDIOBJ FOld;
};

// Pages a document as the export engine does: from cp 0, a new page while
// the returned position is before the last character.
struct TPaging {
  std::vector<LONG> Starts;
  std::vector<int> Bottoms;
};
inline TPaging PageThrough(const TRichDocument& Doc, TRect Rect, HDC Dc = nullptr, bool Render = false) {
  TRichFormatRange Fr;
  FORMATRANGE R;
  R.hdc = R.hdcTarget = Dc;
  R.rc = R.rcPage = Rect;
  R.chrg = {0, -1};
  TPaging Out;
  const LONG Last = Doc.TextLength() - 1;
  LONG Start = 0;
  for (int Guard = 0; Guard < 10000; ++Guard) {
    Out.Starts.push_back(Start);
    R.rc = Rect;
    R.chrg.cpMin = Start;
    const LONG Next = LONG(Fr.Format(Doc, u"MS Sans Serif", Render, &R));
    Out.Bottoms.push_back(R.rc.Bottom);
    if (Next >= Last || Next == -1) break;
    Start = Next;
  }
  Fr.Format(Doc, u"MS Sans Serif", false, nullptr);
  return Out;
}

}  // namespace richtest
