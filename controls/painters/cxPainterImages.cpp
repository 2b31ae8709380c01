// The painters' shared pictures: the radio-button images of every look and
// state, computed from the shape of the system's radio button so that they
// match its size, and the record-indicator images of the resources.
#include "controls/painters/cxLookAndFeelPainters.h"

#include <algorithm>
#include "controls/lookandfeel/cxLookAndFeels.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Resources.h"
#include "platform/win/SysBitmaps.h"

namespace {

enum : int { rpOutside, rpOuterTL, rpOuterBR, rpInnerTL, rpInnerBR, rpBody, rpDot };

struct TRadioGeometry {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  TRect Dot;  // relative to the cell; right and bottom exclusive
};

bool IsBlack(TCanvas* C, int X, int Y) { return (ColorToRGB(C->GetPixel(X, Y)) & 0xFFFFFF) == 0; }

// Where the system draws the circle inside a check-box cell, and its dot.
TRadioGeometry MeasureSystemRadio() {
  TRadioGeometry G;
  const TSize Cell = LoadCheckBoxCellSize();
  TBitmap B;
  B.SetSize(Cell.cx, Cell.cy);
  TCanvas* C = B.Canvas();
  // A white ground: only the mask's own black counts, however much of the
  // cell the system's mask covers.
  C->Brush()->SetColor(TColor(0xFFFFFF));
  C->FillRect({0, 0, Cell.cx, Cell.cy});
  TRect R{0, 0, Cell.cx, Cell.cy};
  DrawFrameControl(C->GetHandle(), &R, DFC_BUTTON, DFCS_BUTTONRADIOMASK | DFCS_FLAT);
  int First = -1, Count = 0;
  for (int X = 0; X < Cell.cx; ++X) {
    bool Any = false;
    for (int Y = 0; Y < Cell.cy && !Any; ++Y) Any = IsBlack(C, X, Y);
    if (Any) {
      if (First < 0) First = X;
      ++Count;
    }
  }
  G.Left = std::max(First, 0);
  G.Width = Count;
  First = -1;
  Count = 0;
  for (int Y = 0; Y < Cell.cy; ++Y) {
    bool Any = false;
    for (int X = 0; X < Cell.cx && !Any; ++X) Any = IsBlack(C, X, Y);
    if (Any) {
      if (First < 0) First = Y;
      ++Count;
    }
  }
  G.Top = std::max(First, 0);
  G.Height = Count;
  if (G.Width < 4 || G.Height < 4) {
    // No usable mask: a circle filling the cell.
    G = {0, 0, Cell.cx, Cell.cy, {}};
  }

  // The dot: the window-text pixels around the middle of a checked radio.
  C->Brush()->SetColor(TColor(0));
  C->FillRect({0, 0, Cell.cx, Cell.cy});
  DrawFrameControl(C->GetHandle(), &R, DFC_BUTTON, DFCS_BUTTONRADIOIMAGE | DFCS_CHECKED | DFCS_FLAT);
  const COLORREF Ink = ColorToRGB(clWindowText) & 0xFFFFFF;
  auto IsDot = [&](int X, int Y) {
    return X >= 0 && Y >= 0 && X < Cell.cx && Y < Cell.cy && (ColorToRGB(C->GetPixel(X, Y)) & 0xFFFFFF) == Ink;
  };
  const int Cx = G.Left + G.Width / 2 - 1, Cy = G.Top + G.Height / 2 - 1;
  int Top = Cy - 1, Left = Cx - 1;
  if (IsDot(Cx, Top) && IsDot(Left, Cy)) {
    while (IsDot(Cx, Top - 1)) --Top;
    int Bottom = Top;
    while (IsDot(Cx, Bottom)) ++Bottom;
    while (IsDot(Left - 1, Cy)) --Left;
    int Right = Left;
    while (IsDot(Right, Cy)) ++Right;
    G.Dot = {Left, Top, Right, Bottom};
  } else {
    // No dot found: a centred one of a third of the circle.
    const int DW = std::max(G.Width / 3, 2), DH = std::max(G.Height / 3, 2);
    G.Dot = {G.Left + (G.Width - DW) / 2, G.Top + (G.Height - DH) / 2, 0, 0};
    G.Dot.Right = G.Dot.Left + DW;
    G.Dot.Bottom = G.Dot.Top + DH;
  }
  return G;
}

// The bottom-right half lies below the diagonal from the top-right to the
// bottom-left corner.
bool BelowAntiDiagonal(int X, int Y, int W, int H) { return (W - 1 - X) * (H - 1) < Y * (W - 1); }

std::vector<int> BuildPattern(const TRadioGeometry& G) {
  const int W = G.Width, H = G.Height;
  std::vector<int> P(std::size_t(W * H), rpOutside);
  auto At = [&](int X, int Y) -> int& { return P[std::size_t(Y * W + X)]; };
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.Canvas();
  auto Ground = [&] {
    C->Brush()->SetColor(TColor(0xFFFFFF));
    C->FillRect({0, 0, W, H});
  };
  // Outer ring.
  Ground();
  C->Pen()->SetColor(TColor(0));
  C->Brush()->SetColor(TColor(0xFFFFFF));
  C->RoundRect(0, 0, W, H, W - 1, H - 1);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      if (IsBlack(C, X, Y)) At(X, Y) = BelowAntiDiagonal(X, Y, W, H) ? rpOuterBR : rpOuterTL;
  // Body: from the middle outwards to the ring.
  for (int Y = 1; Y <= H - 2; ++Y) {
    for (int X = W / 2 - 1; X >= 0 && At(X, Y) == rpOutside; --X) At(X, Y) = rpBody;
    for (int X = W / 2; X < W && At(X, Y) == rpOutside; ++X) At(X, Y) = rpBody;
  }
  // Inner ring: the cells just inside the outer ring, and the whole first
  // and last inner rows and columns.
  auto MarkInner = [&](int X, int Y) {
    const int L = (W - 1 - X) * (H - 1), R = Y * (W - 1);
    At(X, Y) = L < R ? rpInnerBR : L > R ? rpInnerTL : (X > W / 2 - 1 ? rpInnerBR : rpInnerTL);
  };
  auto IsOuter = [&](int X, int Y) { return At(X, Y) == rpOuterTL || At(X, Y) == rpOuterBR; };
  for (int Y = 1; Y <= H - 2; ++Y) {
    const bool Edge = Y == 1 || Y == H - 2;
    int X = W / 2 - 1;
    for (; X >= 0 && !IsOuter(X, Y); --X)
      if (Edge) MarkInner(X, Y);
    if (X + 1 <= W / 2 - 1) MarkInner(X + 1, Y);
    X = W / 2;
    for (; X < W && !IsOuter(X, Y); ++X)
      if (Edge) MarkInner(X, Y);
    if (X - 1 >= W / 2) MarkInner(X - 1, Y);
  }
  for (int X = 1; X <= W - 2; ++X) {
    const bool Edge = X == 1 || X == W - 2;
    int Y = H / 2 - 1;
    for (; Y >= 0 && !IsOuter(X, Y); --Y)
      if (Edge) MarkInner(X, Y);
    if (Y + 1 <= H / 2 - 1) MarkInner(X, Y + 1);
    Y = H / 2;
    for (; Y < H && !IsOuter(X, Y); ++Y)
      if (Edge) MarkInner(X, Y);
    if (Y - 1 >= H / 2) MarkInner(X, Y - 1);
  }
  // Dot.
  Ground();
  C->Pen()->SetColor(TColor(0));
  C->Brush()->SetColor(TColor(0));
  const TRect D{G.Dot.Left - G.Left, G.Dot.Top - G.Top, G.Dot.Right - G.Left, G.Dot.Bottom - G.Top};
  C->RoundRect(D.Left, D.Top, D.Right, D.Bottom, D.Width() - 1, D.Height() - 1);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      if (IsBlack(C, X, Y)) At(X, Y) = rpDot;
  return P;
}

// The colours of the seven pattern values for one image.
std::array<TColor, 7> RadioColors(TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked, bool AHighlight,
                                  bool AHighlightIfEnabled) {
  std::array<TColor, 7> M{};
  const bool Hot = AState == cxbsHot, Pressed = AState == cxbsPressed, Disabled = AState == cxbsDisabled;
  TColor Body;
  if (AKind == lfOffice11)
    Body = AState == cxbsNormal ? clWindow : TcxOffice11LookAndFeelPainter::Instance()->ButtonFaceColor(AState);
  else if (Disabled)
    Body = clBtnFace;
  else if (AKind == lfUltraFlat)
    Body = Hot ? GetUltraFlatHotColor() : Pressed ? GetUltraFlatPressedColor() : clWindow;
  else
    Body = Pressed ? clBtnFace : clWindow;
  M[rpBody] = Body;
  switch (AKind) {
    case lfFlat:
      M[rpOuterTL] = clBtnShadow;
      M[rpOuterBR] = clBtnHighlight;
      M[rpInnerTL] = M[rpInnerBR] = cl3DLight;
      break;
    case lfStandard:
      M[rpOuterTL] = clBtnShadow;
      M[rpOuterBR] = clBtnHighlight;
      M[rpInnerTL] = cl3DDkShadow;
      M[rpInnerBR] = cl3DLight;
      break;
    case lfUltraFlat:
      M[rpOuterTL] = M[rpOuterBR] =
          (AHighlight || Hot || Pressed || (AHighlightIfEnabled && !Disabled)) ? clHighlight : clBtnShadow;
      M[rpInnerTL] = M[rpInnerBR] = Body;
      break;
    case lfOffice11:
      M[rpOuterTL] = M[rpOuterBR] = Disabled ? Office11SchemeEntry(31)
                                    : (AHighlight || Hot || Pressed || AHighlightIfEnabled) ? Office11SchemeEntry(21)
                                                                                            : clBtnText;
      M[rpInnerTL] = M[rpInnerBR] = Body;
      break;
  }
  if (!AChecked)
    M[rpDot] = Body;
  else if (Disabled)
    M[rpDot] = AKind == lfOffice11 ? Office11SchemeEntry(31) : clBtnShadow;
  else
    M[rpDot] = clWindowText;
  M[rpOutside] = TColor(0);
  return M;
}

int RadioKey(TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked, bool AHighlight,
             bool AHighlightIfEnabled) {
  const int State = AState == cxbsDefault ? int(cxbsNormal) : int(AState);
  return State + 8 * int(AKind) + 32 * int(AHighlightIfEnabled) + 64 * int(AHighlight) + 4 * int(AChecked) - 1;
}

// Rebuilds the radio images when the system colours change.
class TRadioPaletteNotifier : public TcxSystemPaletteChangedNotifier {
public:
  TRadioPaletteNotifier() : TcxSystemPaletteChangedNotifier(true) {}
  void DoChanged() override;
};

std::unique_ptr<TcxRadioButtonImageList>& RadioList() {
  static std::unique_ptr<TcxRadioButtonImageList> L;
  return L;
}

void TRadioPaletteNotifier::DoChanged() {
  if (RadioList()) RadioList()->RebuildImages();
  TcxSystemPaletteChangedNotifier::DoChanged();
}

}  // namespace

TcxRadioButtonImageList::TcxRadioButtonImageList() {
  const TRadioGeometry G = MeasureSystemRadio();
  FWidth = G.Width;
  FHeight = G.Height;
  FPattern = BuildPattern(G);
  FImages = std::make_unique<TImageList>(nullptr, FWidth, FHeight);
  FImages->SetMasked(true);
  FMask = std::make_unique<TBitmap>();
  FMask->SetSize(FWidth, FHeight);
  TCanvas* C = FMask->Canvas();
  C->Brush()->SetColor(TColor(0xFFFFFF));
  C->FillRect({0, 0, FWidth, FHeight});
  C->Pen()->SetColor(TColor(0));
  C->Brush()->SetColor(TColor(0));
  C->RoundRect(0, 0, FWidth, FHeight, FWidth - 1, FHeight - 1);
  Prepare();
}

TcxRadioButtonImageList::~TcxRadioButtonImageList() = default;

TSize TcxRadioButtonImageList::RadioImageSize() const { return {FWidth, FHeight}; }

int TcxRadioButtonImageList::ImageIndex(TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked,
                                        bool AHighlight, bool AHighlightIfEnabled) const {
  const int Key = RadioKey(AKind, AState, AChecked, AHighlight, AHighlightIfEnabled);
  return (Key >= 0 && std::size_t(Key) < FIndexes.size()) ? FIndexes[std::size_t(Key)] : -1;
}

void TcxRadioButtonImageList::Prepare() {
  if (FImages->Count() > 0) return;
  // The Office 2003 images need the scheme's colours, also before any
  // control has locked the scheme.
  LockOffice11Scheme();
  struct TUnlock {
    ~TUnlock() { UnlockOffice11Scheme(); }
  } Unlock;
  FIndexes.assign(128, -1);
  TBitmap B;
  B.SetSize(FWidth, FHeight);
  for (int High = 0; High <= 1; ++High)
    for (int IfEnabled = 0; IfEnabled <= 1; ++IfEnabled)
      for (int Kind = 0; Kind <= 3; ++Kind)
        for (int Checked = 0; Checked <= 1; ++Checked)
          for (int State = 1; State <= 4; ++State) {
            const auto K = TcxLookAndFeelKind(Kind);
            const auto S = TcxButtonState(State);
            const auto Map = RadioColors(K, S, Checked, High, IfEnabled);
            for (int Y = 0; Y < FHeight; ++Y)
              for (int X = 0; X < FWidth; ++X)
                B.Canvas()->SetPixel(X, Y, TColor(ColorToRGB(Map[std::size_t(FPattern[std::size_t(Y * FWidth + X)])])));
            const int Index = FImages->Add(&B, FMask.get());
            FIndexes[std::size_t(RadioKey(K, S, Checked, High, IfEnabled))] = Index;
          }
}

void TcxRadioButtonImageList::RebuildImages() {
  FImages->Clear();
  Prepare();
}

void TcxRadioButtonImageList::DrawRadioImage(TcxCanvas* ACanvas, int X, int Y, TColor ABrushColor,
                                             TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked,
                                             bool AHighlight, bool AHighlightIfEnabled) {
  const int Index = ImageIndex(AKind, AState, AChecked, AHighlight, AHighlightIfEnabled);
  if (Index < 0) return;
  if (ABrushColor == clDefault) {
    FImages->Draw(ACanvas->Canvas(), X, Y, Index);
    return;
  }
  TBitmap B;
  B.SetSize(FWidth, FHeight);
  B.Canvas()->Brush()->SetColor(ABrushColor);
  B.Canvas()->FillRect({0, 0, FWidth, FHeight});
  FImages->Draw(B.Canvas(), 0, 0, Index);
  ACanvas->Draw(X, Y, &B);
}

TcxRadioButtonImageList* GetRadioButtonImages() {
  static TRadioPaletteNotifier* Notifier = nullptr;
  if (!RadioList()) {
    RadioList() = std::make_unique<TcxRadioButtonImageList>();
    if (!Notifier) Notifier = new TRadioPaletteNotifier();  // lives for the process, as the list does
  }
  return RadioList().get();
}

TImageList* IndicatorImages() {
  static std::unique_ptr<TImageList> List;
  // Loaded on first use; a program whose resources were not found yet
  // tries again on the next call.
  if (List && List->Count() > 0) return List.get();
  static const char* const Names[] = {"CX_ARROWBITMAP",    "CX_EDITBITMAP",       "CX_INSERTBITMAP",
                                      "CX_MULTIDOTBITMAP", "CX_MULTIARROWBITMAP", "CX_FILTERBITMAP"};
  std::unique_ptr<TImageList> L;
  for (const char* Name : Names) {
    TBitmap B;
    HBITMAP H = LoadBitmapA(ProgramInstance(), Name);
    if (!H) {
      L.reset();  // the kinds must keep their images' places
      break;
    }
    B.SetHandle(H);
    if (!L) L = std::make_unique<TImageList>(nullptr, B.GetWidth(), B.GetHeight());
    // The resources mark their transparent pixels in magenta.
    L->AddMasked(&B, TColor(0xFF00FF));
  }
  if (!L) L = std::make_unique<TImageList>(nullptr, 9, 9);
  List = std::move(L);
  return List.get();
}

// --- the painters' radio buttons and indicator cells ---

void TcxCustomLookAndFeelPainter::DrawRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AState,
                                                  bool AChecked, bool AHighlight, TColor ABrushColor,
                                                  bool AHighlightIfEnabled) const {
  GetRadioButtonImages()->DrawRadioImage(ACanvas, X, Y, ABrushColor, StyleCodeToLookAndFeelKind(GetStyleCode()),
                                         AState, AChecked, AHighlight, AHighlightIfEnabled);
}

TSize TcxCustomLookAndFeelPainter::RadioButtonSize() const { return GetRadioButtonImages()->RadioImageSize(); }

void TcxCustomLookAndFeelPainter::DrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R, int AKind) const {
  if (AKind == 0) return;
  TImageList* L = IndicatorImages();
  const int Index = (AKind & 0x7F) - 1;
  if (Index < 0 || Index >= L->Count()) return;
  L->Draw(ACanvas->Canvas(), (R.Left + R.Right - L->GetWidth()) / 2, (R.Top + R.Bottom - L->GetHeight()) / 2, Index);
}
