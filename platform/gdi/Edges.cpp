// DrawEdge, DrawFocusRect and DrawFrameControl: the classic 3-D elements,
// drawn with the system colours through the DC's own operations, so that a
// recording DC records them as ordinary rectangles and polygons.
#include <algorithm>
#include <cmath>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/DcObject.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/Exceptions.h"

namespace {
HBRUSH Sys(int Index) { return GetSysColorBrush(Index); }

void Fill(TDC& D, int L, int T, int R, int B, HBRUSH Br) {
  if (R > L && B > T) D.FillRect(TRect(L, T, R, B), Br);
}

// One ring of an edge: top/left in one colour, bottom/right in the other; the
// bottom/right colour owns the top-right and bottom-left corners.
void Ring(TDC& D, const TRect& R, HBRUSH TopLeft, HBRUSH BottomRight, UINT Flags) {
  if (TopLeft) {
    if (Flags & BF_TOP) Fill(D, R.Left, R.Top, R.Right - 1, R.Top + 1, TopLeft);
    if (Flags & BF_LEFT) Fill(D, R.Left, R.Top, R.Left + 1, R.Bottom - 1, TopLeft);
  }
  if (BottomRight) {
    if (Flags & BF_BOTTOM) Fill(D, R.Left, R.Bottom - 1, R.Right, R.Bottom, BottomRight);
    if (Flags & BF_RIGHT) Fill(D, R.Right - 1, R.Top, R.Right, R.Bottom, BottomRight);
  }
}

void Shrink(TRect& R, UINT Flags) {
  if (Flags & BF_LEFT) ++R.Left;
  if (Flags & BF_TOP) ++R.Top;
  if (Flags & BF_RIGHT) --R.Right;
  if (Flags & BF_BOTTOM) --R.Bottom;
}

BOOL Edge(TDC& D, TRect& R, UINT EdgeKind, UINT Flags) {
  if (Flags & BF_DIAGONAL) SX_NOT_IMPLEMENTED("DrawEdge(BF_DIAGONAL)");
  TRect Cur = R;
  UINT Outer = EdgeKind & BDR_OUTER, Inner = EdgeKind & BDR_INNER;
  HBRUSH OTL = nullptr, OBR = nullptr, ITL = nullptr, IBR = nullptr;
  bool Soft = Flags & BF_SOFT;
  if (Flags & BF_MONO) {
    if (Outer) OTL = OBR = HBRUSH(GetStockObject(BLACK_BRUSH));
    if (Inner) ITL = IBR = Sys(COLOR_WINDOW);
  } else if (Flags & BF_FLAT) {
    if (Outer) OTL = OBR = Sys(COLOR_BTNSHADOW);
    if (Inner) ITL = IBR = Sys(COLOR_BTNFACE);
  } else {
    if (Outer == BDR_RAISEDOUTER) { OTL = Sys(Soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT); OBR = Sys(COLOR_3DDKSHADOW); }
    if (Outer == BDR_SUNKENOUTER) { OTL = Sys(Soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW); OBR = Sys(COLOR_BTNHIGHLIGHT); }
    if (Inner == BDR_RAISEDINNER) { ITL = Sys(Soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT); IBR = Sys(COLOR_BTNSHADOW); }
    if (Inner == BDR_SUNKENINNER) { ITL = Sys(Soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW); IBR = Sys(COLOR_3DLIGHT); }
  }
  if (OTL || OBR) {
    Ring(D, Cur, OTL, OBR, Flags);
    Shrink(Cur, Flags);
  }
  if (ITL || IBR) {
    Ring(D, Cur, ITL, IBR, Flags);
    Shrink(Cur, Flags);
  }
  if (Flags & BF_MIDDLE)
    Fill(D, Cur.Left, Cur.Top, Cur.Right, Cur.Bottom, Sys(Flags & BF_MONO ? COLOR_WINDOW : COLOR_BTNFACE));
  if (Flags & BF_ADJUST) R = Cur;
  return TRUE;
}

// Polygon filled with a brush and no outline, leaving the DC's state alone.
void Shape(TDC& D, const TPoint* P, int N, HBRUSH Br) {
  int Saved = D.SaveDC();
  D.SelectObject(GetStockObject(NULL_PEN));
  D.SelectObject(Br);
  D.SetPolyFillMode(WINDING);
  D.SetROP2(R2_COPYPEN);
  D.Polygon(P, N);
  D.RestoreDC(Saved);
}

// Fills the ellipse whose outermost pixels are R's corners' rows and columns.
void Disc(TDC& D, const TRect& R, HBRUSH Br) {
  int Saved = D.SaveDC();
  D.SelectObject(GetStockObject(NULL_PEN));
  D.SelectObject(Br);
  D.SetROP2(R2_COPYPEN);
  // R is inclusive here. Without a pen the ellipse is a pixel smaller than
  // its box, and the box is end-exclusive: two pixels more.
  D.Ellipse(R.Left, R.Top, R.Right + 2, R.Bottom + 2);
  D.RestoreDC(Saved);
}

// A square box of the glyph size, centred in R.
TRect CentredSquare(const TRect& R, int Size) {
  int L = R.Left + (R.Width() - Size) / 2, T = R.Top + (R.Height() - Size) / 2;
  return {L, T, L + Size, T + Size};
}

// Arrow triangle pointing Dir (0 up, 1 down, 2 left, 3 right), centred in R.
void Arrow(TDC& D, const TRect& R, int Dir, HBRUSH Br, int Shift) {
  int S = std::max(2, (std::min(R.Width(), R.Height()) + 2) / 4);  // half-base
  int CX = R.Left + R.Width() / 2 + Shift, CY = R.Top + R.Height() / 2 + Shift;
  TPoint P[3];
  int H = S;  // height of the triangle in pixels
  switch (Dir) {
    case 0: P[0] = {CX - S, CY + H / 2}; P[1] = {CX + S + 1, CY + H / 2}; P[2] = {CX, CY - H / 2 - 1}; break;
    case 1: P[0] = {CX - S, CY - H / 2}; P[1] = {CX + S + 1, CY - H / 2}; P[2] = {CX, CY + H / 2 + 1}; break;
    case 2: P[0] = {CX + H / 2, CY - S}; P[1] = {CX + H / 2, CY + S + 1}; P[2] = {CX - H / 2 - 1, CY}; break;
    default: P[0] = {CX - H / 2, CY - S}; P[1] = {CX - H / 2, CY + S + 1}; P[2] = {CX + H / 2 + 1, CY}; break;
  }
  Shape(D, P, 3, Br);
}

void ButtonFace(TDC& D, TRect& R, UINT State) {
  bool Down = State & (DFCS_PUSHED | DFCS_CHECKED);
  if (State & DFCS_FLAT) {
    D.FrameRect(R, Sys(COLOR_BTNSHADOW));
    Fill(D, R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1, Sys(COLOR_BTNFACE));
  } else if (State & DFCS_MONO) {
    Edge(D, R, BDR_OUTER, BF_RECT | BF_MONO | BF_MIDDLE);
  } else {
    TRect Copy = R;
    Edge(D, Copy, Down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
  }
}

void Check(TDC& D, TRect R, UINT State) {
  int Size = std::min({R.Width(), R.Height(), 13});
  TRect Box = CentredSquare(R, Size);
  bool Grey = (State & DFCS_INACTIVE) || (State & DFCS_PUSHED) ||
              ((State & DFCS_BUTTON3STATE) && (State & DFCS_CHECKED));
  if (State & (DFCS_FLAT | DFCS_MONO)) {
    D.FrameRect(Box, Sys(State & DFCS_MONO ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW));
    TRect In{Box.Left + 1, Box.Top + 1, Box.Right - 1, Box.Bottom - 1};
    D.FillRect(In, Sys(Grey ? COLOR_BTNFACE : COLOR_WINDOW));
  } else {
    TRect In = Box;
    Edge(D, In, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    D.FillRect(In, Sys(Grey ? COLOR_BTNFACE : COLOR_WINDOW));
  }
  if (!(State & DFCS_CHECKED)) return;
  // The tick: a 7x7 mark of three-pixel-thick strokes, centred in the box.
  HBRUSH Ink = Sys(State & DFCS_INACTIVE ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
  int X = Box.Left + (Size - 7) / 2, Y = Box.Top + (Size - 7) / 2;
  for (int I = 0; I < 7; ++I) {
    int Top = I < 3 ? Y + 2 + I : Y + 4 - (I - 2);
    Fill(D, X + I, Top, X + I + 1, Top + 3, Ink);
  }
}

void Radio(TDC& D, TRect R, UINT State) {
  int Size = std::min({R.Width(), R.Height(), 12});
  TRect Box = CentredSquare(R, Size);
  UINT Part = State & (DFCS_BUTTONRADIOMASK | DFCS_BUTTONRADIOIMAGE);
  if (Part == DFCS_BUTTONRADIOMASK) {
    // Black where the radio image is opaque, white elsewhere.
    D.FillRect(Box, HBRUSH(GetStockObject(WHITE_BRUSH)));
    Disc(D, {Box.Left, Box.Top, Box.Right - 1, Box.Bottom - 1}, HBRUSH(GetStockObject(BLACK_BRUSH)));
    return;
  }
  if (Part == DFCS_BUTTONRADIOIMAGE) D.FillRect(Box, HBRUSH(GetStockObject(BLACK_BRUSH)));
  int L = Box.Left, T = Box.Top, Rt = Box.Right - 1, B = Box.Bottom - 1;
  bool Mono = State & (DFCS_FLAT | DFCS_MONO);
  // Rings from the outside in: shadow over the top-left half, highlight below.
  Disc(D, {L, T, Rt, B}, Sys(Mono ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
  if (!Mono) {
    TPoint Upper[3] = {{L, B + 1}, {L, T}, {Rt + 1, T}};
    int Saved = D.SaveDC();
    HRGN Clip = CreatePolygonRgn(Upper, 3, ALTERNATE);
    // The clip region is in device units: move it with the DC's mapping.
    TPoint O = D.ToDevice(TPoint(0, 0));
    OffsetRgn(Clip, O.X, O.Y);
    D.ExtSelectClipRgn(&GdiLookupAs<TRegionObject>(Clip)->Data, RGN_AND);
    DeleteObject(Clip);
    Disc(D, {L, T, Rt, B}, Sys(COLOR_BTNSHADOW));
    D.RestoreDC(Saved);
    Disc(D, {L + 1, T + 1, Rt - 1, B - 1}, Sys(COLOR_3DLIGHT));
    TPoint Upper2[3] = {{L + 1, B}, {L + 1, T + 1}, {Rt, T + 1}};
    Saved = D.SaveDC();
    Clip = CreatePolygonRgn(Upper2, 3, ALTERNATE);
    OffsetRgn(Clip, O.X, O.Y);
    D.ExtSelectClipRgn(&GdiLookupAs<TRegionObject>(Clip)->Data, RGN_AND);
    DeleteObject(Clip);
    Disc(D, {L + 1, T + 1, Rt - 1, B - 1}, Sys(COLOR_3DDKSHADOW));
    D.RestoreDC(Saved);
  }
  bool Grey = State & (DFCS_INACTIVE | DFCS_PUSHED);
  Disc(D, {L + 2, T + 2, Rt - 2, B - 2}, Sys(Grey ? COLOR_BTNFACE : COLOR_WINDOW));
  if (State & DFCS_CHECKED) {
    int C = (Size - 4) / 2;  // dot diameter
    int DL = L + (Size - C) / 2, DT = T + (Size - C) / 2;
    Disc(D, {DL, DT, DL + C - 1, DT + C - 1}, Sys(State & DFCS_INACTIVE ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
  }
}

void SizeGrip(TDC& D, const TRect& R) {
  D.FillRect(R, Sys(COLOR_BTNFACE));
  int S = std::min(R.Width(), R.Height());
  // Three pairs of diagonal lines in the bottom-right corner: highlight, then
  // two of shadow, every four pixels.
  for (int K = 1; K + 2 < S; K += 4) {
    for (int J = 0; J < 3; ++J) {
      int Off = K + J;
      HBRUSH Br = Sys(J == 0 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
      for (int I = 0; I < S - Off; ++I)
        Fill(D, R.Right - 1 - I, R.Bottom - S + Off + I, R.Right - I, R.Bottom - S + Off + I + 1, Br);
    }
  }
}

void CaptionGlyph(TDC& D, const TRect& R, UINT Which, HBRUSH Ink, int Shift) {
  int S = std::max(4, std::min(R.Width(), R.Height()) * 9 / 16) & ~1;
  TRect G = CentredSquare(R, S);
  G.Left += Shift; G.Right += Shift; G.Top += Shift; G.Bottom += Shift;
  switch (Which) {
    case DFCS_CAPTIONCLOSE: {
      // Two crossing strokes two pixels wide.
      for (int I = 0; I < S; ++I) {
        Fill(D, G.Left + I, G.Top + I, G.Left + I + 2, G.Top + I + 1, Ink);
        Fill(D, G.Right - 2 - I, G.Top + I, G.Right - I, G.Top + I + 1, Ink);
      }
      break;
    }
    case DFCS_CAPTIONMIN:
      Fill(D, G.Left + 1, G.Bottom - 2, G.Right - 2, G.Bottom, Ink);
      break;
    case DFCS_CAPTIONMAX:
      D.FrameRect(G, Ink);
      Fill(D, G.Left, G.Top + 1, G.Right, G.Top + 2, Ink);
      break;
    case DFCS_CAPTIONRESTORE: {
      int H = S * 2 / 3;
      TRect Back{G.Right - H, G.Top, G.Right, G.Top + H};
      TRect Front{G.Left, G.Bottom - H, G.Left + H, G.Bottom};
      D.FrameRect(Back, Ink);
      Fill(D, Back.Left, Back.Top + 1, Back.Right, Back.Top + 2, Ink);
      Fill(D, Front.Left, Front.Top, Front.Right, Front.Bottom, Sys(COLOR_BTNFACE));
      D.FrameRect(Front, Ink);
      Fill(D, Front.Left, Front.Top + 1, Front.Right, Front.Top + 2, Ink);
      break;
    }
    case DFCS_CAPTIONHELP: {
      // A question mark: an open hook over a stem and a dot.
      int CX = (G.Left + G.Right) / 2, W = std::max(2, S / 4);
      Fill(D, CX - W, G.Top, CX + W, G.Top + 2, Ink);
      Fill(D, CX - W - 1, G.Top + 1, CX - W + 1, G.Top + 3, Ink);
      Fill(D, CX + W - 1, G.Top + 1, CX + W + 1, G.Top + S / 2, Ink);
      Fill(D, CX - 1, G.Top + S / 2 - 1, CX + W, G.Top + S / 2 + 1, Ink);
      Fill(D, CX - 1, G.Top + S / 2, CX + 1, G.Bottom - 3, Ink);
      Fill(D, CX - 1, G.Bottom - 2, CX + 1, G.Bottom, Ink);
      break;
    }
  }
}
}  // namespace

BOOL DrawEdge(HDC Dc, TRect* R, UINT EdgeKind, UINT Flags) {
  TDC* D = GdiLookupDC(Dc);
  if (!D || !R) return FALSE;
  return Edge(*D, *R, EdgeKind, Flags);
}

BOOL DrawFocusRect(HDC Dc, const TRect* R) {
  TDC* D = GdiLookupDC(Dc);
  if (!D || !R || R->IsEmpty()) return FALSE;
  // Every other pixel of the border, on a grid fixed to the rectangle's
  // corner, inverted: a second call restores what was there.
  int Saved = D->SaveDC();
  D->SetROP2(R2_NOT);
  D->SelectObject(GetStockObject(NULL_PEN));
  auto Dot = [&](int X, int Y) {
    if (((X - R->Left) + (Y - R->Top)) % 2 == 0) D->Rectangle(X, Y, X + 2, Y + 2);  // null pen: 1x1
  };
  for (int X = R->Left; X < R->Right; ++X) {
    Dot(X, R->Top);
    if (R->Bottom - 1 > R->Top) Dot(X, R->Bottom - 1);
  }
  for (int Y = R->Top + 1; Y < R->Bottom - 1; ++Y) {
    Dot(R->Left, Y);
    if (R->Right - 1 > R->Left) Dot(R->Right - 1, Y);
  }
  D->RestoreDC(Saved);
  return TRUE;
}

BOOL DrawFrameControl(HDC Dc, TRect* R, UINT Type, UINT State) {
  TDC* D = GdiLookupDC(Dc);
  if (!D || !R) return FALSE;
  switch (Type) {
    case DFC_BUTTON: {
      UINT Kind = State & 0x1F;
      if (Kind & DFCS_BUTTONPUSH) {
        ButtonFace(*D, *R, State);
        if (State & DFCS_ADJUSTRECT) { R->Left += 2; R->Top += 2; R->Right -= 2; R->Bottom -= 2; }
        return TRUE;
      }
      if (Kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOMASK | DFCS_BUTTONRADIOIMAGE)) {
        Radio(*D, *R, State);
        return TRUE;
      }
      Check(*D, *R, State);  // DFCS_BUTTONCHECK and DFCS_BUTTON3STATE
      return TRUE;
    }
    case DFC_SCROLL: {
      UINT Kind = State & 0x1F;
      if (Kind == DFCS_SCROLLSIZEGRIP || Kind == DFCS_SCROLLSIZEGRIPRIGHT) {
        SizeGrip(*D, *R);
        return TRUE;
      }
      int Dir;
      switch (Kind) {
        case DFCS_SCROLLUP: Dir = 0; break;
        case DFCS_SCROLLDOWN: case DFCS_SCROLLCOMBOBOX: Dir = 1; break;
        case DFCS_SCROLLLEFT: Dir = 2; break;
        case DFCS_SCROLLRIGHT: Dir = 3; break;
        default: return FALSE;
      }
      TRect Face = *R;
      ButtonFace(*D, Face, State & ~DFCS_CHECKED);
      int Shift = (State & DFCS_PUSHED) ? 1 : 0;
      if (State & DFCS_INACTIVE) {
        TRect Lit = *R;
        Lit.Left += 1; Lit.Top += 1; Lit.Right += 1; Lit.Bottom += 1;
        Arrow(*D, Lit, Dir, Sys(COLOR_BTNHIGHLIGHT), Shift);
        Arrow(*D, *R, Dir, Sys(COLOR_BTNSHADOW), Shift);
      } else {
        Arrow(*D, *R, Dir, Sys(COLOR_BTNTEXT), Shift);
      }
      return TRUE;
    }
    case DFC_CAPTION: {
      UINT Which = State & 0x1F;
      if (Which > DFCS_CAPTIONHELP) return FALSE;
      TRect Face = *R;
      ButtonFace(*D, Face, State & ~DFCS_CHECKED);
      int Shift = (State & DFCS_PUSHED) ? 1 : 0;
      if (State & DFCS_INACTIVE) {
        TRect Lit{R->Left + 1, R->Top + 1, R->Right + 1, R->Bottom + 1};
        CaptionGlyph(*D, Lit, Which, Sys(COLOR_BTNHIGHLIGHT), Shift);
        CaptionGlyph(*D, *R, Which, Sys(COLOR_BTNSHADOW), Shift);
      } else {
        CaptionGlyph(*D, *R, Which, Sys(COLOR_BTNTEXT), Shift);
      }
      return TRUE;
    }
    case DFC_MENU:
    case DFC_POPUPMENU: {
      // A black glyph on white: menus use it as a mask for their own colours.
      D->FillRect(*R, HBRUSH(GetStockObject(WHITE_BRUSH)));
      HBRUSH Ink = HBRUSH(GetStockObject(BLACK_BRUSH));
      int Size = std::min(R->Width(), R->Height());
      TRect G = CentredSquare(*R, Size);
      switch (State & 0x1F) {
        case DFCS_MENUARROW:
          Arrow(*D, G, 3, Ink, 0);
          break;
        case DFCS_MENUARROWRIGHT:  // the arrow of right-to-left menus points left
          Arrow(*D, G, 2, Ink, 0);
          break;
        case DFCS_MENUCHECK: {
          int X = G.Left + (Size - 7) / 2, Y = G.Top + (Size - 7) / 2;
          for (int I = 0; I < 7; ++I) {
            int Top = I < 3 ? Y + 2 + I : Y + 4 - (I - 2);
            Fill(*D, X + I, Top, X + I + 1, Top + 3, Ink);
          }
          break;
        }
        case DFCS_MENUBULLET: {
          int C = std::max(2, Size / 3), L = G.Left + (Size - C) / 2, T = G.Top + (Size - C) / 2;
          Disc(*D, {L, T, L + C - 1, T + C - 1}, Ink);
          break;
        }
        default:
          return FALSE;
      }
      return TRUE;
    }
  }
  return FALSE;
}
