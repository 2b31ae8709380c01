#include "editor/view/ControlBackground.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gdi/Gdi.h"

void FillGradient(TCanvas* Canvas, Integer Width, Integer Height, TColor BeginColor, TColor EndColor,
                  bool Vertical) {
  if (Width <= 0 || Height <= 0) return;
  const COLORREF B = ColorToRGB(BeginColor), E = ColorToRGB(EndColor);
  const Integer Br = GetRValue(B), Bg = GetGValue(B), Bb = GetBValue(B);
  const Integer Dr = Integer(GetRValue(E)) - Br, Dg = Integer(GetGValue(E)) - Bg, Db = Integer(GetBValue(E)) - Bb;
  const Integer N = std::max({std::abs(Dr), std::abs(Dg), std::abs(Db)});
  const Integer Full = Vertical ? Height : Width;
  const Integer Band = Full / (N + 1) + 1;
  const TColor Saved = Canvas->Brush()->GetColor();
  Integer Start = 0;
  for (Integer L = 0; L <= N; ++L) {
    // Integer division truncates toward zero, as the channel steps expect.
    const Integer Step = L * Band;
    const TColor C = TColor(RGB(Br + Step * Dr / Full, Bg + Step * Dg / Full, Bb + Step * Db / Full));
    Canvas->Brush()->SetColor(C);
    Canvas->FillRect(Vertical ? TRect{0, Start, Width, Start + Band} : TRect{Start, 0, Start + Band, Height});
    Start += Band;
    if (Start > Full) break;
  }
  Canvas->Brush()->SetColor(Saved);
}

Integer CeilDiv(Integer A, Integer B) { return B / A + (B % A != 0 ? 1 : 0); }

TControlBackground::TControlBackground(TCustomControl* AOwner)
    : FOwner(AOwner), FBackground(std::make_unique<TBitmap>()), FWork(std::make_unique<TBitmap>()) {
  FBackground->OnChange = TNotifyEvent(this, &TControlBackground::PictureChanged);
}

TControlBackground::~TControlBackground() { FBackground->OnChange = TNotifyEvent(); }

void TControlBackground::Published(TPublished<TControlBackground>& P) {
  P.Property("Background", &TControlBackground::GetBackground, &TControlBackground::SetBackground);
  P.Property("BkgndOption", &TControlBackground::GetBkgndOption, &TControlBackground::SetBkgndOption).Default(boNone);
  P.Property("GradientBeginColor", &TControlBackground::GetGradientBeginColor,
             &TControlBackground::SetGradientBeginColor)
      .Default(clBlue);
  P.Property("GradientEndColor", &TControlBackground::GetGradientEndColor, &TControlBackground::SetGradientEndColor)
      .Default(clBlack);
}

void TControlBackground::Assign(TPersistent* Source) {
  if (auto* B = dynamic_cast<TControlBackground*>(Source)) {
    SetBackground(B->GetBackground());
    SetBkgndOption(B->GetBkgndOption());
    SetGradientBeginColor(B->GetGradientBeginColor());
    SetGradientEndColor(B->GetGradientEndColor());
    return;
  }
  inherited::Assign(Source);
}

void TControlBackground::PictureChanged(TObject* /*Sender*/) { Changed(); }

bool TControlBackground::ShowsBackground() {
  const TRect R = GetRect();
  if (R.Right <= R.Left || R.Bottom <= R.Top) return false;
  switch (FBkgndOption) {
    case boHorzGradient:
    case boVertGradient: return true;
    case boStretch:
    case boCenter:
    case boTile: return FBackground->GetWidth() > 0 && FBackground->GetHeight() > 0;
    default: return false;
  }
}

void TControlBackground::Changed() {
  if (ShowsBackground()) Update();
}

void TControlBackground::SetBkgndOption(TBkgndOption Value) {
  if (Value == FBkgndOption) return;
  FBkgndOption = Value;
  Changed();
  if (FOwner) FOwner->Invalidate();
}

void TControlBackground::SetGradientBeginColor(TColor Value) {
  if (Value == FGradientBeginColor) return;
  FGradientBeginColor = Value;
  Changed();
}

void TControlBackground::SetGradientEndColor(TColor Value) {
  if (Value == FGradientEndColor) return;
  FGradientEndColor = Value;
  Changed();
}

TRect TControlBackground::GetRect() {
  if (!FOwner || !FOwner->HandleAllocated()) return {0, 0, 0, 0};
  return FOwner->GetClientRect();
}

TBrush* TControlBackground::GetBrush() { return FOwner ? FOwner->Canvas()->Brush() : nullptr; }

void TControlBackground::Render() {
  const TRect R = GetRect();
  const Integer W = R.Right - R.Left, H = R.Bottom - R.Top;
  FWork->SetSize(W, H);
  TCanvas* C = FWork->Canvas();
  TBitmap* Pic = FBackground.get();
  switch (FBkgndOption) {
    case boStretch: C->StretchDraw({0, 0, W, H}, Pic); break;
    case boCenter: {
      if (TBrush* B = GetBrush()) C->Brush()->Assign(B);
      if (FOwner) C->Brush()->SetColor(FOwner->GetColor());
      C->FillRect({0, 0, W, H});
      C->Draw((W - Pic->GetWidth()) / 2, (H - Pic->GetHeight()) / 2, Pic);
      break;
    }
    case boTile: {
      const Integer Pw = Pic->GetWidth(), Ph = Pic->GetHeight();
      const Integer Cols = CeilDiv(Pw, W) + 1, Rows = CeilDiv(Ph, H) + 1;
      for (Integer Y = 0; Y < Rows; ++Y)
        for (Integer X = 0; X < Cols; ++X) C->Draw(X * Pw, Y * Ph, Pic);
      break;
    }
    case boHorzGradient: FillGradient(C, W, H, FGradientBeginColor, FGradientEndColor, false); break;
    case boVertGradient: FillGradient(C, W, H, FGradientBeginColor, FGradientEndColor, true); break;
    default: break;
  }
}

void TControlBackground::Update() {
  if (!ShowsBackground()) return;
  Render();
  if (FOwner && !FQuiet) FOwner->Invalidate();
}

void TControlBackground::EnsureRendered() {
  if (!ShowsBackground()) return;
  const TRect R = GetRect();
  if (FWork->GetWidth() == R.Right - R.Left && FWork->GetHeight() == R.Bottom - R.Top) return;
  FQuiet = true;
  try {
    Update();
  } catch (...) {
    FQuiet = false;
    throw;
  }
  FQuiet = false;
}
