#include "controls/base/cxGraphics.h"

#include <algorithm>
#include <vector>
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Paint.h"

int ConvertTextFlagsToDT(int AFlags) {
  int R = DT_NOPREFIX;
  if (AFlags & cxAlignRight) R |= DT_RIGHT;
  if (AFlags & cxAlignHCenter) R |= DT_CENTER;
  if (AFlags & cxAlignBottom) R |= DT_BOTTOM;
  if (AFlags & cxAlignVCenter) R |= DT_VCENTER;
  if (AFlags & cxSingleLine) R |= DT_SINGLELINE;
  if (AFlags & cxDontClip) R |= DT_NOCLIP;
  if (AFlags & cxExpandTabs) R |= DT_EXPANDTABS;
  if (AFlags & cxShowPrefix) R &= ~DT_NOPREFIX;
  if (AFlags & cxWordBreak) {
    R |= DT_WORDBREAK;
    if (!(AFlags & cxDontBreakChars)) R |= DT_EDITCONTROL;
  }
  if (AFlags & cxShowEndEllipsis) R |= DT_END_ELLIPSIS;
  if (AFlags & cxDontPrint) R |= DT_CALCRECT;
  if (AFlags & cxShowPathEllipsis) R |= DT_PATH_ELLIPSIS;
  return R;
}

// --- TcxRegion ---

TcxRegion::TcxRegion(HRGN AHandle) : FHandle(AHandle) {}
TcxRegion::TcxRegion(const TRect& R) : FHandle(CreateRectRgnIndirect(&R)) {}
TcxRegion::TcxRegion(int L, int T, int R, int B) : FHandle(CreateRectRgn(L, T, R, B)) {}
TcxRegion::TcxRegion() : FHandle(CreateRectRgn(0, 0, 0, 0)) {}
TcxRegion::~TcxRegion() {
  if (FHandle) DeleteObject(FHandle);
}

void TcxRegion::Combine(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion) {
  static constexpr int Modes[] = {RGN_COPY, RGN_OR, RGN_DIFF, RGN_AND};
  if (AOperation == roSet)
    CombineRgn(FHandle, ARegion->FHandle, nullptr, RGN_COPY);
  else
    CombineRgn(FHandle, FHandle, ARegion->FHandle, Modes[AOperation]);
  if (ADestroyRegion) delete ARegion;
}

void TcxRegion::Offset(int DX, int DY) { OffsetRgn(FHandle, DX, DY); }
bool TcxRegion::ContainsPoint(TPoint P) const { return PtInRegion(FHandle, P.X, P.Y); }
bool TcxRegion::IsEmpty() const {
  TRect R;
  return GetRgnBox(FHandle, &R) == NULLREGION;
}

// --- TcxCanvas ---

void TcxCanvas::SetBrushColor(TColor Value) {
  if (GetBrush()->GetColor() != Value) GetBrush()->SetColor(Value);
}

TPoint TcxCanvas::GetOriginOffset() const {
  TPoint W, V;
  GetWindowOrgEx(GetDC(), &W);
  GetViewportOrgEx(GetDC(), &V);
  return {V.X - W.X, V.Y - W.Y};
}

void TcxCanvas::FillRect(const TRect& R, TColor AColor) {
  GetBrush()->SetStyle(bsSolid);
  SetBrushColor(AColor);
  FCanvas->FillRect(R);
}

void TcxCanvas::ExcludeClipRect(const TRect& R) { ::ExcludeClipRect(GetDC(), R.Left, R.Top, R.Right, R.Bottom); }
void TcxCanvas::IntersectClipRect(const TRect& R) {
  ::IntersectClipRect(GetDC(), R.Left, R.Top, R.Right, R.Bottom);
}

TSize TcxCanvas::TextExtent(const AnsiString& Text) { return FCanvas->TextExtent(Text); }

void TcxCanvas::DrawFocusFrame(const TRect& R) {
  SetBrushColor(TColor(0xFFFFFF));
  GetFont()->SetColor(TColor(0));
  FCanvas->DrawFocusRect(R);
}

void TcxCanvas::InvertRect(const TRect& R) {
  FCanvas->CopyMode = cmDstInvert;
  FCanvas->CopyRect(R, FCanvas, R);
  FCanvas->CopyMode = cmSrcCopy;
}

void TcxCanvas::DrawTwoColorFrame(const TRect& R, TColor ATopLeftColor, TColor ABottomRightColor,
                                  TcxBorders ABorders, int ALineWidth) {
  if (ABorders & cxBorderBit(bLeft)) FillRect({R.Left, R.Top, R.Left + ALineWidth, R.Bottom}, ATopLeftColor);
  if (ABorders & cxBorderBit(bTop)) FillRect({R.Left, R.Top, R.Right, R.Top + ALineWidth}, ATopLeftColor);
  if (ABorders & cxBorderBit(bRight))
    FillRect({R.Right - ALineWidth, R.Top, R.Right, R.Bottom}, ABottomRightColor);
  if (ABorders & cxBorderBit(bBottom))
    FillRect({R.Left, R.Bottom - ALineWidth, R.Right, R.Bottom}, ABottomRightColor);
}

void TcxCanvas::Draw3DEdgeRing(const TRect& R, bool ASunken, bool AOuter, TcxBorders ABorders) {
  if (ASunken) {
    if (AOuter)
      DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight, ABorders);
    else
      DrawTwoColorFrame(R, cl3DDkShadow, cl3DLight, ABorders);
  } else if (AOuter)
    DrawTwoColorFrame(R, cl3DLight, cl3DDkShadow, ABorders);
  else
    DrawTwoColorFrame(R, clBtnHighlight, clBtnShadow, ABorders);
}

void TcxCanvas::FrameSides(const TRect& R, TColor AColor, int ALineWidth, TcxBorders ABorders,
                           bool AExcludeRect) {
  if (R.IsEmpty()) return;
  if (AColor != clDefault) {
    GetBrush()->SetStyle(bsSolid);
    SetBrushColor(AColor);
  }
  if (ABorders & cxBorderBit(bLeft))
    FillArea({R.Left, R.Top, std::min(R.Left + ALineWidth, R.Right), R.Bottom}, nullptr, AExcludeRect);
  if (ABorders & cxBorderBit(bRight))
    FillArea({std::max(R.Right - ALineWidth, R.Left), R.Top, R.Right, R.Bottom}, nullptr, AExcludeRect);
  if (ABorders & cxBorderBit(bTop))
    FillArea({R.Left, R.Top, R.Right, std::min(R.Top + ALineWidth, R.Bottom)}, nullptr, AExcludeRect);
  if (ABorders & cxBorderBit(bBottom))
    FillArea({R.Left, std::max(R.Bottom - ALineWidth, R.Top), R.Right, R.Bottom}, nullptr, AExcludeRect);
}

namespace {
int FloorDiv(int A, int B) { return A >= 0 ? A / B : -((-A + B - 1) / B); }
}  // namespace

void TcxCanvas::FillArea(const TRect& R, TBitmap* ABitmap, bool AExcludeRect) {
  if (R.IsEmpty()) return;
  if (!ABitmap || ABitmap->Empty())
    FCanvas->FillRect(R);
  else {
    const int W = ABitmap->GetWidth(), H = ABitmap->GetHeight();
    for (int Row = FloorDiv(R.Top, H); Row * H < R.Bottom; ++Row)
      for (int Col = FloorDiv(R.Left, W); Col * W < R.Right; ++Col) {
        const TRect Cell{Col * W, Row * H, Col * W + W, Row * H + H};
        const TRect Part{std::max(Cell.Left, R.Left), std::max(Cell.Top, R.Top), std::min(Cell.Right, R.Right),
                         std::min(Cell.Bottom, R.Bottom)};
        if (Part.IsEmpty()) continue;
        FCanvas->CopyRect(Part, ABitmap->Canvas(),
                          {Part.Left - Cell.Left, Part.Top - Cell.Top, Part.Right - Cell.Left,
                           Part.Bottom - Cell.Top});
      }
  }
  if (AExcludeRect) {
    TcxRegion Excluded(R);
    ApplyClipRegion(&Excluded, roSubtract, true);
  }
}

void TcxCanvas::DrawTextWithFlags(const AnsiString& AText, TRect R, int AFlags, bool AEnabled) {
  if (AText.empty()) return;
  const bool Plain = (AFlags & cxSingleLine) && !(AFlags & (cxShowPrefix | cxShowEndEllipsis | cxShowPathEllipsis));
  const TSize Ext = TextExtent(AText);
  if (Ext.cx <= R.Width() && Ext.cy <= R.Height()) AFlags |= cxDontClip;
  const int D = AEnabled ? 0 : 1;
  int DT = 0;
  UINT Options = 0;
  if (!Plain) {
    if (!(AFlags & cxSingleLine) && (AFlags & (cxAlignBottom | cxAlignVCenter))) {
      TRect M{0, 0, std::max(R.Width() - D, 1), 0};
      int MF = DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK;
      if (AFlags & cxShowPrefix) MF &= ~DT_NOPREFIX;
      DrawTextA(GetDC(), const_cast<char*>(AText.c_str()), int(AText.size()), &M, UINT(MF));
      if (AFlags & cxAlignBottom)
        R.Top = R.Bottom - M.Height() - D;
      else
        R.Top = (R.Top + R.Bottom - M.Height()) / 2;
    }
    DT = ConvertTextFlagsToDT(AFlags);
  } else {
    const int H = AFlags & (cxAlignRight | cxAlignHCenter);
    if (Ext.cx < R.Width()) {
      if (H == cxAlignRight)
        R.Left = R.Right - Ext.cx - D;
      else if (H == cxAlignHCenter)
        R.Left = (R.Left + R.Right - Ext.cx) / 2;
    }
    const int V = AFlags & (cxAlignBottom | cxAlignVCenter);
    if (Ext.cy < R.Height()) {
      if (V == cxAlignBottom)
        R.Top = R.Bottom - Ext.cy - D;
      else if (V == cxAlignVCenter)
        R.Top = (R.Top + R.Bottom - Ext.cy) / 2;
    }
    Options = (AFlags & cxDontClip) ? 0 : ETO_CLIPPED;
  }
  const TBrushStyle OldStyle = GetBrush()->GetStyle();
  const TColor OldColor = GetFont()->GetColor();
  auto Out = [&](TRect Box) {
    FCanvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    if (Plain)
      ExtTextOutA(GetDC(), Box.Left, Box.Top, Options, &Box, AText.c_str(), UINT(AText.size()), nullptr);
    else
      DrawTextA(GetDC(), const_cast<char*>(AText.c_str()), int(AText.size()), &Box, UINT(DT));
  };
  if (!AEnabled) {
    GetBrush()->SetStyle(bsClear);
    GetFont()->SetColor(clBtnHighlight);
    Out({R.Left + 1, R.Top + 1, R.Right, R.Bottom});
    GetFont()->SetColor(clBtnShadow);
    Out({R.Left, R.Top, R.Right - 1, R.Bottom - 1});
  } else
    Out(R);
  if (GetBrush()->GetStyle() != OldStyle) GetBrush()->SetStyle(OldStyle);
  GetFont()->SetColor(OldColor);
}

void TcxCanvas::MeasureTextRect(const AnsiString& AText, TRect& R, int AFlags) {
  const int W = R.Width(), H = R.Height();
  const int DT = ConvertTextFlagsToDT(AFlags);
  if (W <= 0 && !AText.empty()) R.Right = R.Left + 1;
  FCanvas->RequiredState({csHandleValid, csFontValid});
  DrawTextA(GetDC(), const_cast<char*>(AText.c_str()), int(AText.size()), &R, UINT((DT & ~DT_VCENTER) | DT_CALCRECT));
  const int w = R.Width(), h = R.Height();
  int DX = 0, DY = 0;
  if (DT & DT_CENTER)
    DX = (W - w) / 2;
  else if (DT & DT_RIGHT)
    DX = W - w;
  if (DT & DT_VCENTER)
    DY = (H - h) / 2;
  else if (DT & DT_BOTTOM)
    DY = H - h;
  R = {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
}

void TcxCanvas::TurnBitmap(TBitmap* ABitmap, int AMode, bool AMirror) {
  if (!AMirror && AMode == 0) return;
  const int W = ABitmap->GetWidth(), H = ABitmap->GetHeight();
  if (W <= 0 || H <= 0) return;
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = 40;
  Info.bmiHeader.biWidth = W;
  Info.bmiHeader.biHeight = -H;  // top-down
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> Src(std::size_t(W) * std::size_t(H)), Dst(Src.size());
  HDC Dc = ::GetDC(nullptr);
  GetDIBits(Dc, ABitmap->GetHandle(), 0, UINT(H), Src.data(), &Info, DIB_RGB_COLORS);
  const bool Swap = AMode == 1 || AMode == 2;
  const int NW = Swap ? H : W, NH = Swap ? W : H;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      int DX, DY;
      if (!AMirror) {
        switch (AMode) {
          case 1: DX = Y, DY = W - 1 - X; break;
          case 2: DX = H - 1 - Y, DY = X; break;
          default: DX = W - 1 - X, DY = H - 1 - Y; break;
        }
      } else {
        switch (AMode) {
          case 0: DX = X, DY = H - 1 - Y; break;
          case 1: DX = Y, DY = X; break;
          case 2: DX = H - 1 - Y, DY = W - 1 - X; break;
          default: DX = W - 1 - X, DY = Y; break;
        }
      }
      Dst[std::size_t(DY) * std::size_t(NW) + std::size_t(DX)] = Src[std::size_t(Y) * std::size_t(W) + std::size_t(X)];
    }
  if (Swap) ABitmap->SetSize(NW, NH);
  Info.bmiHeader.biWidth = NW;
  Info.bmiHeader.biHeight = -NH;
  SetDIBits(Dc, ABitmap->GetHandle(), 0, UINT(NH), Dst.data(), &Info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, Dc);
}

std::unique_ptr<TcxRegion> TcxCanvas::FetchClipRegion(bool AConsiderOrigin) {
  auto R = std::make_unique<TcxRegion>();
  if (GetClipRgn(GetDC(), R->Handle()) != 1) SetRectRgn(R->Handle(), 0, 0, 30000, 30000);
  if (AConsiderOrigin) {
    const TPoint O = GetOriginOffset();
    R->Offset(-O.X, -O.Y);
  }
  return R;
}

void TcxCanvas::ApplyClipRegion(TcxRegion* ARegion, TcxRegionOperation AOperation, bool AConsiderOrigin) {
  if (AOperation != roSet) {
    auto Current = FetchClipRegion(AConsiderOrigin);
    Current->Combine(ARegion, AOperation, /*ADestroyRegion=*/false);
    ApplyClipRegion(Current.get(), roSet, AConsiderOrigin);
    return;
  }
  const TPoint O = AConsiderOrigin ? GetOriginOffset() : TPoint{0, 0};
  ARegion->Offset(O.X, O.Y);
  SelectClipRgn(GetDC(), ARegion->Handle());
  ARegion->Offset(-O.X, -O.Y);
}

TColor GetNearestScreenColor(TColor AColor) {
  HDC Dc = ::GetDC(nullptr);
  const COLORREF C = GetNearestColor(Dc, ColorToRGB(AColor));
  ReleaseDC(nullptr, Dc);
  return TColor(C);
}

TColor GetUltraFlatHotColor() { return GetNearestScreenColor(BlendSystemColors(-2, 30, 72)); }
TColor GetUltraFlatPressedColor() { return GetNearestScreenColor(BlendSystemColors(14, 44, 40)); }

void DeflateRectBy(TRect& R, const TRect& M) {
  R.Left += M.Left;
  R.Top += M.Top;
  R.Right -= M.Right;
  R.Bottom -= M.Bottom;
}

// --- TcxScreenCanvas ---

TcxScreenCanvas::TcxScreenCanvas(std::unique_ptr<TCanvas> ACanvas)
    : TcxCanvas(ACanvas.get()), FScreenCanvas(std::move(ACanvas)), FDC(::GetDC(nullptr)) {
  FScreenCanvas->SetHandle(FDC);
}

TcxScreenCanvas::~TcxScreenCanvas() {
  FScreenCanvas->SetHandle(nullptr);
  if (FDC) ReleaseDC(nullptr, FDC);
}
