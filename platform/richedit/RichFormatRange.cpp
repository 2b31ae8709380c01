// RichFormatRange.cpp — EM_FORMATRANGE and the drawing of a laid-out page.
#include "platform/richedit/RichFormatRange.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/gdi/Dib.h"
#include "platform/gdi/DibBitmaps.h"
#include "platform/gdi/EmfPlayer.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/JpegCodec.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Exceptions.h"

namespace {

int DpiOf(HDC Dc, int Index) {
  const int V = Dc ? GetDeviceCaps(Dc, Index) : 0;
  return V > 0 ? V : 96;
}

bool IsSpace(char16_t C) { return C == u' ' || C == 0x3000; }
bool IsLowSurrogate(char16_t C) { return C >= 0xDC00 && C <= 0xDFFF; }

// Target pixels of the layout -> logical units of the drawing DC.
struct TMapping {
  double OriginX = 0, OriginY = 0;   // the text rectangle's corner, twips
  double TwipsPerPxX = 15, TwipsPerPxY = 15;
  double Kx = 1, Ky = 1;             // logical units per twip, signed
  double X(double Px) const { return (OriginX + Px * TwipsPerPxX) * Kx; }
  double Y(double Px) const { return (OriginY + Px * TwipsPerPxY) * Ky; }
  int LX(double Px) const { return int(std::lround(X(Px))); }
  int LY(double Px) const { return int(std::lround(Y(Px))); }
  int LXTwips(double T) const { return int(std::lround(T * Kx)); }
  int LYTwips(double T) const { return int(std::lround(T * Ky)); }
};

TMapping MappingFor(HDC Dc, const TRichLayout& Layout, const TRect& Rect) {
  TMapping M;
  M.OriginX = Rect.Left;
  M.OriginY = Rect.Top;
  M.TwipsPerPxX = 1440.0 / Layout.Params().DpiX;
  M.TwipsPerPxY = 1440.0 / Layout.Params().DpiY;
  // Device pixels per logical unit, with sign (y grows upwards in the
  // metric map modes).
  TPoint P[2] = {{0, 0}, {1000, 1000}};
  double Sx = 1, Sy = 1;
  if (LPtoDP(Dc, P, 2)) {
    Sx = (P[1].X - P[0].X) / 1000.0;
    Sy = (P[1].Y - P[0].Y) / 1000.0;
  }
  if (Sx == 0) Sx = 1;
  if (Sy == 0) Sy = 1;
  M.Kx = DpiOf(Dc, LOGPIXELSX) / 1440.0 / Sx;
  M.Ky = DpiOf(Dc, LOGPIXELSY) / 1440.0 / Sy;
  return M;
}

TRect Normalized(int L, int T, int R, int B) {
  return {std::min(L, R), std::min(T, B), std::max(L, R), std::max(T, B)};
}

class TRenderer {
public:
  TRenderer(HDC Dc, TRichLayout& Layout, const TRichPage& Page, const TRect& Rect)
      : FDc(Dc), FLayout(Layout), FDoc(Layout.Document()), FPage(Page), FRect(Rect),
        FMap(MappingFor(Dc, Layout, Rect)) {}

  ~TRenderer() {
    for (auto& [Index, F] : FFonts) DeleteObject(F.Handle);
  }

  void Run() {
    const int Saved = SaveDC(FDc);
    SetBkMode(FDc, TRANSPARENT);
    SetTextAlign(FDc, TA_TOP | TA_LEFT);
    for (const TRichPagePiece& Piece : FPage.Pieces) {
      int Clip = 0;
      if (Piece.Oversize) {
        // A line or row taller than the rectangle: drawn, but kept inside it.
        Clip = SaveDC(FDc);
        FSelected = -1;
        const TRect R = Normalized(FMap.LXTwips(FRect.Left), FMap.LYTwips(FRect.Top),
                                   FMap.LXTwips(FRect.Right), FMap.LYTwips(FRect.Bottom));
        IntersectClipRect(FDc, R.Left, R.Top, R.Right, R.Bottom);
      }
      FOversize = Piece.Oversize;
      if (Piece.Para) DrawLines(*Piece.Para, Piece.FirstLine, Piece.LastLine, Piece.Top - Piece.LineOffset);
      if (Piece.Row) DrawRow(Piece);
      if (Clip) {
        RestoreDC(FDc, Clip);
        FSelected = -1;
      }
    }
    RestoreDC(FDc, Saved);
  }

private:
  struct TDcFont {
    HFONT Handle = nullptr;
    int Ascent = 0;   // logical units
  };

  const TRichCharFormat& FormatOf(Integer Index) const {
    const auto& Formats = FDoc.CharFormats();
    if (Index >= 0 && std::size_t(Index) < Formats.size()) return Formats[std::size_t(Index)];
    static const TRichCharFormat Default;
    return Default;
  }
  Integer SafeFormat(Integer Index) const {
    return Index >= 0 && std::size_t(Index) < FDoc.CharFormats().size() ? Index : 0;
  }

  // The drawing DC's font of a format, turned by Escapement (tenths of a
  // degree: 0, 900 or 2700).
  const TDcFont& Select(Integer Format, int Escapement = 0) {
    Format = SafeFormat(Format);
    const Integer Key = Format * 4 + Escapement / 900;
    auto It = FFonts.find(Key);
    if (It == FFonts.end()) {
      const TRichCharFormat& F = FormatOf(Format);
      const double Twips = TRichMeasureFonts::EffectiveHalfPoints(F) * 10.0;
      const int Height = std::max(1, int(std::lround(std::abs(Twips * FMap.Ky))));
      LOGFONTW Lf = TRichMeasureFonts::FontFor(F, FLayout.Params().DefaultFace, Height);
      Lf.lfEscapement = Lf.lfOrientation = Escapement;
      TDcFont D;
      D.Handle = CreateFontIndirectW(&Lf);
      It = FFonts.emplace(Key, D).first;
      SelectObject(FDc, D.Handle);
      FSelected = Key;
      TEXTMETRICW Tm;
      if (GetTextMetricsW(FDc, &Tm)) It->second.Ascent = Tm.tmAscent;
    }
    if (FSelected != Key) {
      SelectObject(FDc, It->second.Handle);
      FSelected = Key;
    }
    return It->second;
  }

  void Fill(const TRect& R, COLORREF Color) {
    HBRUSH B = CreateSolidBrush(Color);
    FillRect(FDc, &R, B);
    DeleteObject(B);
  }
  TRect PxRect(double L, double T, double R, double B) const {
    return Normalized(FMap.LX(L), FMap.LY(T), FMap.LX(R), FMap.LY(B));
  }

  // A row, or the slice of it that a page holds: the lines whose tops lie
  // in [RowFrom, RowTo), and the frames kept to the slice's room.
  void DrawRow(const TRichPagePiece& Piece) {
    const TRichRowLayout& Row = *Piece.Row;
    const bool Slice = Piece.RowFrom > 0 || Piece.RowTo < Row.Height;
    int Clip = 0;
    if (Slice && !Piece.Oversize) {
      Clip = SaveDC(FDc);
      FSelected = -1;
      const double Wide = 1440.0 * 100;
      const TRect R = Normalized(FMap.LXTwips(FRect.Left - Wide), FMap.LY(Piece.Top), FMap.LXTwips(FRect.Right + Wide),
                                 FMap.LY(Piece.Top + Piece.Height));
      IntersectClipRect(FDc, R.Left, R.Top, R.Right, R.Bottom);
    }
    const int Top = Piece.Top - Piece.RowFrom;
    auto Within = [&](int LineTop) { return LineTop >= Piece.RowFrom && LineTop < Piece.RowTo; };
    for (const TRichCellLayout& Cell : Row.Cells) {
      if (Cell.Bottom <= Piece.RowFrom || Cell.Top >= Piece.RowTo) continue;
      if (Cell.Flow != TRichTextFlow::Horizontal) {
        // A turned cell goes on the page where its band starts.
        if (Cell.Top < Piece.RowFrom) continue;
        if (Cell.HasShading) Fill(PxRect(Cell.Left, Top + Cell.Top, Cell.Right, Top + Cell.Bottom), Cell.Shading);
        DrawBorders(Cell.Borders, Cell.Left, Top + Cell.Top, Cell.Right, Top + Cell.Bottom);
        DrawTurned(Cell, Top);
        continue;
      }
      if (Cell.HasShading) Fill(PxRect(Cell.Left, Top + Cell.Top, Cell.Right, Top + Cell.Bottom), Cell.Shading);
      DrawBorders(Cell.Borders, Cell.Left, Top + Cell.Top, Cell.Right, Top + Cell.Bottom);
      for (const TRichCellFrame& F : Cell.NestedCells) {
        if (F.HasShading) Fill(PxRect(F.Left, Top + F.Top, F.Right, Top + F.Bottom), F.Shading);
        DrawBorders(F.Borders, F.Left, Top + F.Top, F.Right, Top + F.Bottom);
      }
      for (const TRichParaLayout& P : Cell.Paragraphs) {
        std::size_t First = 0;
        while (First < P.Lines.size() && !Within(P.Lines[First].Top) && P.Lines[First].Top < Piece.RowFrom) ++First;
        std::size_t Last = First;
        while (Last < P.Lines.size() && Within(P.Lines[Last].Top)) ++Last;
        if (First < Last) DrawLines(P, First, Last, Top);
      }
    }
    if (Clip) {
      RestoreDC(FDc, Clip);
      FSelected = -1;
    }
  }

  void DrawBorders(const TRichBorders& B, int L, int T, int R, int Bottom) {
    auto Side = [&](const TRichBorder& S, double X0, double Y0, double X1, double Y1) {
      if (S.Width <= 0) return;
      const COLORREF C = S.AutoColor ? GetSysColor(COLOR_WINDOWTEXT) : S.Color;
      // A border is a thin filled rectangle: its width in twips, at least
      // one logical unit.
      const double Wx = std::max(1.0 / std::abs(FMap.Kx), double(S.Width)) / FMap.TwipsPerPxX;
      const double Wy = std::max(1.0 / std::abs(FMap.Ky), double(S.Width)) / FMap.TwipsPerPxY;
      Fill(PxRect(X0, Y0, X1 == X0 ? X0 + Wx : X1, Y1 == Y0 ? Y0 + Wy : Y1), C);
    };
    Side(B.Top, L, T, R, T);
    Side(B.Left, L, T, L, Bottom);
    Side(B.Bottom, L, Bottom, R, Bottom);
    Side(B.Right, R, T, R, Bottom);
  }

  void DrawLines(const TRichParaLayout& P, std::size_t First, std::size_t Last, int Top) {
    const TRichParagraph& Para = FDoc.Paragraphs()[std::size_t(P.Paragraph)];
    Last = std::min(Last, P.Lines.size());
    const TRichParaFormat& PF = *Para.Format;
    if ((PF.HasShading || PF.Borders.Left.Width > 0 || PF.Borders.Top.Width > 0 || PF.Borders.Right.Width > 0 ||
         PF.Borders.Bottom.Width > 0) &&
        First < Last) {
      // Shading and borders frame the paragraph's lines on this page,
      // between its indents.
      const int L = P.Left + std::max(0, FLayout.TwipsToPxX(PF.LeftIndent + std::min<Integer>(PF.FirstIndent, 0)));
      const int R = P.Left + P.Width - std::max(0, FLayout.TwipsToPxX(PF.RightIndent));
      const int T = Top + P.Lines[First].Top;
      const int B = Top + P.Lines[Last - 1].Top + P.Lines[Last - 1].Height;
      if (PF.HasShading) Fill(PxRect(L, T, R, B), PF.Shading);
      TRichBorders Borders = PF.Borders;
      if (First > 0) Borders.Top = {};          // the paragraph began on an earlier page
      if (Last < P.Lines.size()) Borders.Bottom = {};
      DrawBorders(Borders, L, T, R, B);
    }
    for (std::size_t K = First; K < Last; ++K) {
      const TRichLine& Line = P.Lines[K];
      if (Para.FirstCp + Line.Start >= FPage.CpLimit) return;
      // Bar tabs are rules through every line, one pixel of the target wide.
      for (const TRichTabStop& T : PF.Tabs)
        if (T.Kind == TRichTabKind::Bar) {
          const int X = P.Left + FLayout.TwipsToPxX(T.Position);
          Fill(PxRect(X, Top + Line.Top, X + 1, Top + Line.Top + Line.Height), GetSysColor(COLOR_WINDOWTEXT));
        }
      // A line taller than the page (an exact line height beyond it) keeps
      // its text on the page: the content moves up into the empty room
      // above it, as far as it must to end on the page.
      int Lift = 0;
      if (FOversize && Top + Line.Top + Line.Height > FPage.Avail) {
        const int Baseline = Top + Line.Top + Line.Baseline;
        Lift = std::clamp(Baseline + Line.Descent - FPage.Avail, 0, std::max(0, Line.Baseline - Line.Ascent));
      }
      if (K == 0 && !P.Marker.empty())
        DrawText(P.Marker, P.MarkerFormat, P.Left + P.MarkerX, Top + Line.Top + Line.Baseline - Lift, {});
      DrawLine(Para, P.Left, Top + Line.Top - Lift, Line);
    }
  }

  void DrawLine(const TRichParagraph& Para, int Left, int Top, const TRichLine& Line) {
    const int Baseline = Top + Line.Baseline;
    int Space = 0;   // justified spaces met so far on the line
    for (const TRichLineItem& It : Line.Items) {
      const Integer Cp = Para.FirstCp + It.Start;
      if (Cp >= FPage.CpLimit) break;
      const TRichCharFormat& F = FormatOf(It.Format);
      if (F.HasBackground && It.Width > 0)
        Fill(PxRect(Left + It.X, Top, Left + It.X + It.Width, Top + Line.Height), F.Background);
      if (It.Kind == TRichLineItem::TKind::Picture) {
        DrawPicture(It, Left + It.X, Baseline);
        continue;
      }
      if (It.Kind != TRichLineItem::TKind::Text) continue;
      const Integer Count = std::min<Integer>(It.Length, FPage.CpLimit - Cp);
      TJustify J;
      J.Extra = Line.JustifyExtra;
      J.Spaces = Line.JustifySpaces;
      J.Before = Space;
      J.Mine = It.Spaces;
      DrawText(Para.Text.substr(std::size_t(It.Start), std::size_t(Count)), It.Format, Left + It.X, Baseline, J);
      Space += It.Spaces;
    }
  }

  // A turned cell: upwards, lines from the left (the text's start at the
  // band's bottom), or downwards, lines from the right (start at its top),
  // the line length centred in the band.
  void DrawTurned(const TRichCellLayout& Cell, int RowTop) {
    const bool Up = Cell.Flow == TRichTextFlow::BottomToTop;
    const int Inset = std::max(0, (Cell.Bottom - Cell.Top - Cell.Along) / 2);
    const double Start = Up ? RowTop + Cell.Bottom - Inset : RowTop + Cell.Top + Inset;
    const double Across = Up ? Cell.Left + Cell.Gap : Cell.Right - Cell.Gap;
    const double Dir = Up ? -1 : 1;   // along the text, in page y
    const double Side = Up ? 1 : -1;  // across the lines, in page x
    for (const TRichParaLayout& P : Cell.Paragraphs) {
      const TRichParagraph& Para = FDoc.Paragraphs()[std::size_t(P.Paragraph)];
      for (const TRichLine& Line : P.Lines) {
        for (const TRichLineItem& It : Line.Items) {
          const Integer Cp = Para.FirstCp + It.Start;
          if (Cp >= FPage.CpLimit) return;
          if (It.Kind == TRichLineItem::TKind::Picture) {
            // Its bottom edge on the line's baseline, its left edge where
            // the text along the line would stand, turned as the text is.
            const double From = Start + Dir * It.X, To = Start + Dir * (It.X + It.Width);
            const double Base = Across + Side * (Line.Top + Line.Baseline);
            DrawTurnedPicture(It, Up, Base, From, To);
            continue;
          }
          if (It.Kind != TRichLineItem::TKind::Text) continue;
          const Integer Count = std::min<Integer>(It.Length, FPage.CpLimit - Cp);
          const std::u16string Text = Para.Text.substr(std::size_t(It.Start), std::size_t(Count));
          const TRichCharFormat& F = FormatOf(It.Format);
          const auto& Measure = FLayout.Fonts().Get(SafeFormat(It.Format), F);
          const TDcFont& Font = Select(It.Format, Up ? 900 : 2700);
          SetTextColor(FDc, F.AutoColor ? GetSysColor(COLOR_WINDOWTEXT) : F.Color);
          std::vector<int> Dx(Text.size());
          double Pos = Start + Dir * It.X;
          int Prev = FMap.LY(Pos);
          const int Y0 = Prev;
          for (std::size_t I = 0; I < Text.size(); ++I) {
            Pos += Dir * (IsLowSurrogate(Text[I]) ? 0 : Measure.Advance(Text[I]));
            const int Next = FMap.LY(Pos);
            Dx[I] = std::abs(Next - Prev);
            Prev = Next;
          }
          const int Baseline = FMap.LX(Across + Side * (Line.Top + Line.Baseline - Measure.Shift));
          const int X = Baseline - int(Side) * Font.Ascent;
          ExtTextOutW(FDc, X, Y0, 0, nullptr, Text.data(), UINT(Text.size()), Dx.data());
        }
      }
    }
  }

  // How a justified line spreads its slack: space number Before + k of the
  // line gets its share, for the first Mine spaces of the text.
  struct TJustify {
    long long Extra = 0, Spaces = 0;
    int Before = 0, Mine = 0;
  };

  // One ExtTextOutW at the layout's positions: the dx array carries the
  // target's advances converted to logical units, rounded at each position
  // so the errors never add up along the line.
  void DrawText(const std::u16string& Text, Integer Format, int X, int Baseline, const TJustify& J) {
    if (Text.empty()) return;
    const TRichCharFormat& F = FormatOf(Format);
    const auto& Measure = FLayout.Fonts().Get(SafeFormat(Format), F);
    const TDcFont& Font = Select(Format);
    SetTextColor(FDc, F.AutoColor ? GetSysColor(COLOR_WINDOWTEXT) : F.Color);
    std::vector<int> Dx(Text.size());
    double Pos = X;
    int Prev = FMap.LX(Pos);
    const int X0 = Prev;
    int Space = J.Before, Left = J.Mine;
    for (std::size_t I = 0; I < Text.size(); ++I) {
      int Adv = IsLowSurrogate(Text[I]) ? 0 : Measure.Advance(Text[I]);
      if (Left > 0 && J.Spaces > 0 && IsSpace(Text[I])) {
        Adv += int(J.Extra * (Space + 1) / J.Spaces - J.Extra * Space / J.Spaces);
        ++Space;
        --Left;
      }
      Pos += Adv;
      const int Next = FMap.LX(Pos);
      Dx[I] = Next - Prev;
      Prev = Next;
    }
    const double Sign = FMap.Ky < 0 ? -1 : 1;
    const int Y = int(std::lround(FMap.Y(Baseline - Measure.Shift) - Sign * Font.Ascent));
    ExtTextOutW(FDc, X0, Y, 0, nullptr, Text.data(), UINT(Text.size()), Dx.data());
  }

  void DrawPicture(const TRichLineItem& It, int Left, int Baseline) {
    if (It.Picture < 0 || std::size_t(It.Picture) >= FDoc.Pictures().size()) return;
    const TRichPicture& Pic = FDoc.Pictures()[std::size_t(It.Picture)];
    const TSize S = Pic.DisplaySize();
    const int H = FLayout.TwipsToPxY(S.cy);
    if (It.Width <= 0 || H <= 0 || Pic.Data.empty()) return;
    const int X0 = FMap.LX(Left), Y0 = FMap.LY(Baseline - H);
    const int W = FMap.LX(Left + It.Width) - X0, Hl = FMap.LY(Baseline) - Y0;
    if (Pic.Kind == TRichPictureKind::Emf) {
      // The player maps the picture's frame onto the box; a metafile that
      // does not validate gives no handle and stays empty.
      HENHMETAFILE Mf = SetEnhMetaFileBits(UINT(Pic.Data.size()), Pic.Data.data());
      if (!Mf) return;
      const TRect Box{X0, Y0, X0 + W, Y0 + Hl};
      const int Saved = SaveDC(FDc);
      // A picture never draws outside its frame, whatever its records say.
      IntersectClipRect(FDc, std::min(Box.Left, Box.Right), std::min(Box.Top, Box.Bottom),
                        std::max(Box.Left, Box.Right), std::max(Box.Top, Box.Bottom));
      PlayEnhMetaFile(FDc, Mf, &Box);
      RestoreDC(FDc, Saved);
      FSelected = -1;
      DeleteEnhMetaFile(Mf);
      return;
    }
    TDib Dib;
    try {
      switch (Pic.Kind) {
        case TRichPictureKind::Dib: Dib = DibFromPacked(Pic.Data.data(), Pic.Data.size()); break;
        case TRichPictureKind::Jpeg: Dib = JpegDecompress(Pic.Data); break;
        case TRichPictureKind::Png: Dib = ReadPng(Pic.Data.data(), Pic.Data.size(), TPngAlpha::OverWhite); break;
        case TRichPictureKind::Emf: return;
      }
    } catch (const Exception&) {
      return;  // undecodable picture data: the picture stays empty
    }
    if (Dib.Empty()) return;
    const std::vector<Byte> Info = DibInfoBytes(Dib);
    StretchDIBits(FDc, X0, Y0, W, Hl, 0, 0, Dib.Width(), Dib.Height(), Dib.Bits.data(),
                  reinterpret_cast<const BITMAPINFO*>(Info.data()), DIB_RGB_COLORS, SRCCOPY);
  }

  // A picture in a turned cell: upwards it is turned a quarter left (its
  // top towards the page's left), downwards a quarter right. Base is the
  // line's baseline across the cell; From and To its ends along the cell
  // (page y, layout pixels). The target cannot be trusted to turn a
  // bitmap or a metafile, so the picture's pixels are turned here and
  // drawn upright onto the turned box.
  void DrawTurnedPicture(const TRichLineItem& It, bool Up, double Base, double From, double To) {
    if (It.Picture < 0 || std::size_t(It.Picture) >= FDoc.Pictures().size()) return;
    const TRichPicture& Pic = FDoc.Pictures()[std::size_t(It.Picture)];
    const int H = FLayout.TwipsToPxY(Pic.DisplaySize().cy);
    if (It.Width <= 0 || H <= 0 || Pic.Data.empty()) return;
    // Upwards the picture's top lies left of the baseline, downwards right.
    const double Top = Up ? Base - H : Base + H;
    const TRect Box = Normalized(FMap.LX(std::min(Base, Top)), FMap.LY(std::min(From, To)),
                                 FMap.LX(std::max(Base, Top)), FMap.LY(std::max(From, To)));
    if (Box.Right <= Box.Left || Box.Bottom <= Box.Top) return;
    // Upright the picture is as wide as the box is tall.
    int W = 0, Hu = 0;
    std::vector<std::uint32_t> Px = UprightPixels(Pic, Box.Bottom - Box.Top, Box.Right - Box.Left, W, Hu);
    if (Px.empty()) return;
    // Upwards, upright pixel (x, y) lands at column y, row W-1-x of the
    // turned picture; downwards at column Hu-1-y, row x.
    std::vector<std::uint32_t> Turned(Px.size());
    for (int Y = 0; Y < Hu; ++Y)
      for (int X = 0; X < W; ++X) {
        const int Col = Up ? Y : Hu - 1 - Y, Row = Up ? W - 1 - X : X;
        Turned[std::size_t(Row) * Hu + std::size_t(Col)] = Px[std::size_t(Y) * W + std::size_t(X)];
      }
    const TDib Dib = DibFromBgra32(Turned.data(), Hu, W, 32);
    const std::vector<Byte> Info = DibInfoBytes(Dib);
    StretchDIBits(FDc, Box.Left, Box.Top, Box.Right - Box.Left, Box.Bottom - Box.Top, 0, 0, Dib.Width(),
                  Dib.Height(), Dib.Bits.data(), reinterpret_cast<const BITMAPINFO*>(Info.data()), DIB_RGB_COLORS,
                  SRCCOPY);
  }

  // A picture's pixels upright, top row first, as 0xAARRGGBB: raster
  // pictures at their own size, metafiles played onto a white bitmap of
  // W x H (cut to a size a page can show). Empty when the data does not
  // decode.
  static std::vector<std::uint32_t> UprightPixels(const TRichPicture& Pic, int W, int H, int& OutW, int& OutH) {
    try {
      if (Pic.Kind == TRichPictureKind::Emf) {
        OutW = std::clamp(W, 1, 4096);
        OutH = std::clamp(H, 1, 4096);
        HENHMETAFILE Mf = SetEnhMetaFileBits(UINT(Pic.Data.size()), Pic.Data.data());
        if (!Mf) return {};
        HDC Dc = CreateCompatibleDC(nullptr);
        HBITMAP Bm = CreateBitmap(OutW, OutH, 1, 32, nullptr);
        HGDIOBJ Old = SelectObject(Dc, Bm);
        const TRect All{0, 0, OutW, OutH};
        HBRUSH White = CreateSolidBrush(RGB(255, 255, 255));
        FillRect(Dc, &All, White);
        DeleteObject(White);
        IntersectClipRect(Dc, 0, 0, OutW, OutH);
        PlayEnhMetaFile(Dc, Mf, &All);
        DeleteEnhMetaFile(Mf);
        SelectObject(Dc, Old);
        std::vector<std::uint32_t> Px(std::size_t(OutW) * std::size_t(OutH));
        BITMAPINFO Bi{};
        Bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        Bi.bmiHeader.biWidth = OutW;
        Bi.bmiHeader.biHeight = -OutH;
        Bi.bmiHeader.biPlanes = 1;
        Bi.bmiHeader.biBitCount = 32;
        const int Lines = GetDIBits(Dc, Bm, 0, UINT(OutH), Px.data(), &Bi, DIB_RGB_COLORS);
        DeleteObject(Bm);
        DeleteDC(Dc);
        if (Lines != OutH) return {};
        return Px;
      }
      TDib Dib;
      switch (Pic.Kind) {
        case TRichPictureKind::Dib: Dib = DibFromPacked(Pic.Data.data(), Pic.Data.size()); break;
        case TRichPictureKind::Jpeg: Dib = JpegDecompress(Pic.Data); break;
        case TRichPictureKind::Png: Dib = ReadPng(Pic.Data.data(), Pic.Data.size(), TPngAlpha::OverWhite); break;
        case TRichPictureKind::Emf: return {};
      }
      if (Dib.Empty()) return {};
      OutW = Dib.Width();
      OutH = Dib.Height();
      return DibToBgra32(Dib);
    } catch (const Exception&) {
      return {};  // undecodable picture data: the picture stays empty
    }
  }

  HDC FDc;
  TRichLayout& FLayout;
  const TRichDocument& FDoc;
  const TRichPage& FPage;
  TRect FRect;
  TMapping FMap;
  std::unordered_map<Integer, TDcFont> FFonts;
  Integer FSelected = -1;
  bool FOversize = false;   // the piece being drawn is taller than the page
};

}  // namespace

void RichRenderPage(HDC Dc, TRichLayout& Layout, const TRichPage& Page, const TRect& Rect) {
  if (Page.Pieces.empty()) return;
  TRenderer(Dc, Layout, Page, Rect).Run();
}

TRichFormatRange::TRichFormatRange() = default;
TRichFormatRange::~TRichFormatRange() = default;

void TRichFormatRange::Release() {
  FLayout.reset();
  FDoc = nullptr;
}

TRichLayout& TRichFormatRange::LayoutFor(const TRichDocument& Doc, const TRichLayoutParams& Params) {
  if (!FLayout || FDoc != &Doc || !(FLayout->Params() == Params)) {
    FLayout.reset();
    FLayout = std::make_unique<TRichLayout>(Doc, Params);
    FDoc = &Doc;
  }
  return *FLayout;
}

LRESULT TRichFormatRange::Format(const TRichDocument& Doc, const WideString& DefaultFace, bool Render,
                                 FORMATRANGE* Range) {
  if (!Range) {
    Release();
    return 0;
  }
  const HDC Target = Range->hdcTarget ? Range->hdcTarget : Range->hdc;
  TRichLayoutParams Params;
  Params.DpiX = DpiOf(Target, LOGPIXELSX);
  Params.DpiY = DpiOf(Target, LOGPIXELSY);
  Params.WidthTwips = Range->rc.Right - Range->rc.Left;
  Params.DefaultFace = DefaultFace;
  TRichLayout& Layout = LayoutFor(Doc, Params);
  const TRichPage Page = Layout.Paginate(Range->chrg.cpMin, Range->chrg.cpMax, Range->rc.Bottom - Range->rc.Top);
  if (Render && Range->hdc) RichRenderPage(Range->hdc, Layout, Page, Range->rc);
  const long long Used = ((long long)Page.Height * 1440 + Params.DpiY - 1) / Params.DpiY;
  Range->rc.Bottom = int(std::min<long long>(Range->rc.Top + Used, std::max(Range->rc.Top, Range->rc.Bottom)));
  return Page.CpEnd;
}
