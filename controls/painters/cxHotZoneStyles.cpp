#include "controls/painters/cxHotZoneStyles.h"

#include <algorithm>

// --- paint helpers ---

void DrawLineSegment(TcxCanvas* ACanvas, TColor AColor, TPoint AFrom, TPoint ATo) {
  ACanvas->GetPen()->SetStyle(psSolid);
  ACanvas->GetPen()->SetColor(AColor);
  ACanvas->MoveTo(AFrom.X, AFrom.Y);
  ACanvas->LineTo(ATo.X, ATo.Y);
}

void DrawRectLines(TcxCanvas* ACanvas, const TRect& R, TColor ALeftTopColor, TColor ARightBottomColor,
                   TRect& AInner) {
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  DrawLineSegment(ACanvas, ALeftTopColor, {L, T}, {L, B + 1});
  DrawLineSegment(ACanvas, ALeftTopColor, {L, T}, {Rt + 1, T});
  DrawLineSegment(ACanvas, ARightBottomColor, {Rt, T + 1}, {Rt, B});
  DrawLineSegment(ACanvas, ARightBottomColor, {L + 1, B}, {Rt + 1, B});
  AInner = {L + 1, T + 1, Rt - 1, B - 1};
}

void ShiftRectSides(TRect& R, int ALeft, int ATop, int ARight, int ABottom) {
  R.Left += ALeft;
  R.Top += ATop;
  R.Right += ARight;
  R.Bottom += ABottom;
}

TColor LightenColor(TColor AColor, int ARed, int AGreen, int ABlue) {
  const COLORREF C = ColorToRGB(AColor);
  const int R = std::clamp(int(C & 0xFF) + ARed, 0, 255);
  const int G = std::clamp(int((C >> 8) & 0xFF) + AGreen, 0, 255);
  const int B = std::clamp(int((C >> 16) & 0xFF) + ABlue, 0, 255);
  return TColor(R | (G << 8) | (B << 16));
}

void DrawGripDots(TcxCanvas* ACanvas, const TRect& R, bool APressed, bool AForward, TColor ALightColor,
                  TColor AShadowColor, int ADirection, int AStart, int AAcross) {
  const bool AlongX = ADirection >= 2;
  const int StartEdge = AlongX ? R.Left : R.Top, EndEdge = AlongX ? R.Right : R.Bottom;
  const int Across = (AlongX ? R.Top : R.Left) + AAcross;
  const int Step = AStart + 2;
  auto Dot = [&](int Pos) {
    const int X = AlongX ? Pos : Across, Y = AlongX ? Across : Pos;
    if (APressed) {
      ACanvas->FillRect({X + 1, Y + 1, X + 3, Y + 3}, ALightColor);
      ACanvas->FillRect({X, Y, X + 2, Y + 2}, AShadowColor);
    } else {
      ACanvas->FillRect({X, Y, X + 2, Y + 2}, ALightColor);
      ACanvas->FillRect({X + 1, Y + 1, X + 3, Y + 3}, AShadowColor);
    }
  };
  if (AForward)
    for (int P = StartEdge + AStart; P + AStart <= EndEdge; P += Step) Dot(P);
  else
    for (int P = EndEdge - 2 * AStart; P >= StartEdge; P -= Step) Dot(P);
}

void DrawHotZoneArrow(TcxCanvas* ACanvas, const TRect& R, bool AHot, bool APressed, TColor AColor,
                      TColor AHighlightColor, int ADirection) {
  const TColor C = (AHot && !APressed) ? AHighlightColor : AColor;
  const int L = R.Left, T = R.Top;
  const int Extent = ADirection <= 1 ? R.Height() : R.Width();
  const int E = (Extent - (Extent % 2 ? 1 : 0)) / 2 + 1;
  const int Centre = (ADirection <= 1 ? T : L) + E;
  for (int i = 0; i <= 3; ++i) {
    int From, To;
    switch (ADirection) {
      case 0: From = L + 4 - i + (i == 3 ? 1 : 0), To = L + 6 - i; break;
      case 1: From = L + 2 + i, To = L + 3 + i + (i < 3 ? 1 : 0); break;
      case 2: From = T + 4 - i + (i == 3 ? 1 : 0), To = T + 6 - i; break;
      default: From = T + 2 + i, To = T + 3 + i + (i < 3 ? 1 : 0); break;
    }
    for (int Across : {Centre - i, Centre + i}) {
      if (ADirection <= 1)
        DrawLineSegment(ACanvas, C, {From, Across}, {To, Across});
      else
        DrawLineSegment(ACanvas, C, {Across, From}, {Across, To});
    }
  }
}

// --- TcxHotZoneStyle ---

void TcxHotZoneStyle::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TcxHotZoneStyle*>(Source)) {
    FSizePercent = S->FSizePercent;
    FVisible = S->FVisible;
    Changed();
  } else
    TPersistent::Assign(Source);
}

void TcxHotZoneStyle::SetSizePercent(int Value) {
  Value = std::max(Value, 1);
  if (FSizePercent == Value) return;
  FSizePercent = Value;
  Changed();
}

void TcxHotZoneStyle::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed();
}

void TcxHotZoneStyle::SetColor(TColor& AField, TColor Value) {
  if (AField == Value) return;
  AField = Value;
  Changed();
}

void TcxHotZoneStyle::Changed() {
  if (FOwner) FOwner->HotZoneStyleChanged();
}

void TcxHotZoneStyle::CalculateHotZoneRect(const TRect& ABounds, TRect& R) {
  const TRect& B = ABounds;
  if (LiesHorizontally()) {
    const int Len = B.Right - B.Left, S = FSizePercent * Len / 100, Start = Len / 2 - S / 2;
    R = {Start, B.Top, Start + S, B.Top + 7};
  } else {
    const int Len = B.Bottom - B.Top, S = FSizePercent * Len / 100, Start = Len / 2 - S / 2;
    R = {B.Left, Start, B.Left + 7, Start + S};
  }
  FHotZoneRect = R;
}

void TcxHotZoneStyle::DrawWith(TcxCanvas* ACanvas, const TRect& ABounds, bool AHot, bool APressed, TRect& R) {
  CalculateHotZoneRect(ABounds, R);
  ACanvas->Canvas()->Lock();
  ACanvas->GetBrush()->SetColor(BackColor());
  DrawBackground(ACanvas, R, AHot, APressed);
  DrawDecoration(ACanvas, R, AHot, APressed);
  ACanvas->Canvas()->Unlock();
}

// --- MediaPlayer 9 ---

void TcxMediaPlayer9Style::Assign(TPersistent* Source) {
  TcxHotZoneStyle::Assign(Source);
  if (auto* S = dynamic_cast<TcxMediaPlayer9Style*>(Source)) {
    ArrowColor = S->ArrowColor;
    ArrowHighlightColor = S->ArrowHighlightColor;
    LightColor = S->LightColor;
    BorderColor = S->BorderColor;
    ShadowStartColor = S->ShadowStartColor;
    ShadowHighlightStartColor = S->ShadowHighlightStartColor;
  }
}

void TcxMediaPlayer9Style::CalculateHotZoneRect(const TRect& ABounds, TRect& R) {
  TcxHotZoneStyle::CalculateHotZoneRect(ABounds, R);
  if (LiesHorizontally()) {
    const int Centre = R.Left + R.Width() / 2;
    ArrowRect = {Centre - 7, R.Top, Centre + 7, R.Top + 7};
  } else {
    const int Centre = R.Top + R.Height() / 2;
    ArrowRect = {R.Left, Centre - 7, R.Left + 7, Centre + 7};
  }
}

void TcxMediaPlayer9Style::DrawBackground(TcxCanvas* ACanvas, const TRect& R, bool AHot, bool APressed) {
  const bool Horz = LiesHorizontally();
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  TRect Body = R;
  if (Horz)
    ShiftRectSides(Body, 1, 0, -1, 0);
  else
    ShiftRectSides(Body, 0, 1, 0, -1);
  ACanvas->FillRect(Body, LightColor);
  TRect Inner;
  DrawRectLines(ACanvas, Body, BorderColor, BorderColor, Inner);
  // Rounded ends.
  if (!Horz) {
    DrawLineSegment(ACanvas, LightColor, {L + 2, T + 1}, {Rt - 1, T + 1});
    DrawLineSegment(ACanvas, LightColor, {L + 2, B - 1}, {Rt - 1, B - 1});
    DrawLineSegment(ACanvas, BorderColor, {L + 1, T}, {Rt, T});
    DrawLineSegment(ACanvas, BorderColor, {L + 1, B}, {Rt, B});
  } else {
    DrawLineSegment(ACanvas, LightColor, {L + 1, T + 2}, {L + 1, B - 1});
    DrawLineSegment(ACanvas, LightColor, {Rt - 1, T + 2}, {Rt - 1, B - 1});
    DrawLineSegment(ACanvas, BorderColor, {L, T + 1}, {L, B});
    DrawLineSegment(ACanvas, BorderColor, {Rt, T + 1}, {Rt, B});
  }
  // Three shade lines, lighter towards the light.
  const TColor Base = AHot ? ShadowHighlightStartColor : ShadowStartColor;
  const int K1 = APressed ? 1 : 4, K2 = APressed ? 0 : 2;
  const int V[3] = {APressed ? -60 : 0, -30, APressed ? 0 : -60};
  for (int j = 0; j < 3; ++j) {
    const TColor C = LightenColor(Base, V[j], V[j], V[j]);
    const int From = (Horz ? L : T) + K2 + (j > 0 ? 1 : 0);
    const int To = (Horz ? Rt : B) + K2 - 2 - (j == 2 ? 1 : 0);
    const int At = (Horz ? T : L) + K1 + j;
    if (Horz)
      DrawLineSegment(ACanvas, C, {From, At}, {To, At});
    else
      DrawLineSegment(ACanvas, C, {At, From}, {At, To});
  }
  ACanvas->GetPen()->SetColor(BackColor());
  ACanvas->GetBrush()->SetColor(BackColor());
}

void TcxMediaPlayer9Style::DrawDecoration(TcxCanvas* ACanvas, const TRect&, bool AHot, bool APressed) {
  DrawHotZoneArrow(ACanvas, ArrowRect, AHot, APressed, ArrowColor, ArrowHighlightColor, SplitterDirection());
}

// --- MediaPlayer 8 ---

void TcxMediaPlayer8Style::Assign(TPersistent* Source) {
  TcxHotZoneStyle::Assign(Source);
  if (auto* S = dynamic_cast<TcxMediaPlayer8Style*>(Source)) {
    ArrowColor = S->ArrowColor;
    ArrowHighlightColor = S->ArrowHighlightColor;
    LightColor = S->LightColor;
    ShadowColor = S->ShadowColor;
  }
}

void TcxMediaPlayer8Style::CalculateHotZoneRect(const TRect& ABounds, TRect& R) {
  TcxHotZoneStyle::CalculateHotZoneRect(ABounds, R);
  const bool Horz = LiesHorizontally();
  const int Start = Horz ? R.Left : R.Top, End = Horz ? R.Right : R.Bottom;
  const int S = End - Start, H = (S - 27) / 2;
  auto Along = [&](int From, int To) {
    return Horz ? TRect{From, R.Top, To, R.Top + 7} : TRect{R.Left, From, R.Left + 7, To};
  };
  StartDotsRect = Along(Start + 4, Start + 4 + H);
  EndDotsRect = Along(End - H - 4, End - 4);
  ArrowRect = Along(Start + H + 4, Start + H + 4 + 19);
}

void TcxMediaPlayer8Style::DrawBackground(TcxCanvas* ACanvas, const TRect& R, bool, bool APressed) {
  ACanvas->GetPen()->SetColor(BackColor());
  ACanvas->FillRect(R, BackColor());
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  struct TSeg {
    TPoint A, Z;
  };
  auto Draw = [&](TColor C, std::initializer_list<TSeg> Segs) {
    for (const TSeg& S : Segs) DrawLineSegment(ACanvas, C, S.A, S.Z);
  };
  // A one-pixel tab outline whose corners away from the arrow step in over
  // four pixels, then the light edges of the raised or pressed look.
  switch (SplitterDirection()) {
    case 0:
      Draw(ShadowColor, {{{L, B - 4}, {L, T + 3}}, {{Rt, B}, {Rt, T}}, {{L + 1, B - 2}, {L + 1, B - 4}},
                         {{L + 1, T + 2}, {L + 1, T + 4}}, {{L + 2, B - 1}, {L + 4, B - 1}},
                         {{L + 2, T + 1}, {L + 4, T + 1}}, {{L + 4, B}, {Rt, B}}, {{L + 4, T}, {Rt + 1, T}}});
      if (!APressed)
        Draw(LightColor, {{{L + 1, B - 4}, {L + 1, T + 3}}, {{L + 2, T + 2}, {L + 2, T + 4}},
                          {{L + 2, T + 2}, {L + 4, T + 2}}, {{L + 4, T + 1}, {Rt, T + 1}},
                          {{L + 2, B - 2}, {L + 2, B - 4}}, {{L + 2, B - 2}, {L + 4, B - 2}},
                          {{L + 4, B - 1}, {L + 5, B - 1}}});
      else
        Draw(LightColor, {{{Rt - 1, B - 1}, {Rt - 1, T + 1}}, {{L + 2, B - 2}, {L + 4, B - 2}},
                          {{L + 4, B - 1}, {L + 7, B - 1}}});
      break;
    case 1:
      Draw(ShadowColor, {{{Rt, B - 4}, {Rt, T + 3}}, {{L, B}, {L, T}}, {{Rt - 1, B - 2}, {Rt - 1, B - 4}},
                         {{Rt - 1, T + 2}, {Rt - 1, T + 4}}, {{Rt - 2, B - 1}, {Rt - 4, B - 1}},
                         {{Rt - 2, T + 1}, {Rt - 4, T + 1}}, {{Rt - 4, B}, {L, B}}, {{Rt - 3, T}, {L - 1, T}}});
      if (!APressed)
        Draw(LightColor, {{{L + 1, B - 1}, {L + 1, T + 1}}, {{L + 1, T + 1}, {L + 4, T + 1}},
                          {{L + 4, T + 2}, {L + 6, T + 2}}});
      else
        Draw(LightColor, {{{L + 3, T + 1}, {L + 4, T + 1}}, {{L + 4, T + 2}, {L + 6, T + 2}},
                          {{L + 5, T + 2}, {L + 5, T + 4}}, {{L + 6, T + 4}, {L + 6, B - 3}},
                          {{L + 1, B - 1}, {L + 4, B - 1}}, {{L + 4, B - 2}, {L + 6, B - 2}},
                          {{L + 5, B - 2}, {L + 5, B - 4}}});
      break;
    case 2:
      Draw(ShadowColor, {{{L + 4, T}, {Rt - 3, T}}, {{L, B}, {Rt, B}}, {{L + 2, T + 1}, {L + 4, T + 1}},
                         {{Rt - 2, T + 1}, {Rt - 4, T + 1}}, {{L + 1, T + 2}, {L + 1, T + 4}},
                         {{Rt - 1, T + 2}, {Rt - 1, T + 4}}, {{L, T + 4}, {L, B}}, {{Rt, T + 4}, {Rt, B + 1}}});
      if (!APressed)
        Draw(LightColor, {{{L + 4, T + 1}, {Rt - 3, T + 1}}, {{Rt - 2, T + 2}, {Rt - 4, T + 2}},
                          {{Rt - 2, T + 2}, {Rt - 2, T + 4}}, {{Rt - 1, T + 4}, {Rt - 1, B}},
                          {{L + 2, T + 2}, {L + 4, T + 2}}, {{L + 2, T + 2}, {L + 2, T + 4}},
                          {{L + 1, T + 4}, {L + 1, T + 5}}});
      else
        Draw(LightColor, {{{L + 1, B - 1}, {Rt - 1, B - 1}}, {{L + 2, T + 2}, {L + 2, T + 4}},
                          {{L + 1, T + 4}, {L + 1, T + 7}}});
      break;
    default:
      Draw(ShadowColor, {{{L + 4, B}, {Rt - 3, B}}, {{L, T}, {Rt, T}}, {{L + 2, B - 1}, {L + 4, B - 1}},
                         {{Rt - 2, B - 1}, {Rt - 4, B - 1}}, {{L + 1, B - 2}, {L + 1, B - 4}},
                         {{Rt - 1, B - 2}, {Rt - 1, B - 4}}, {{L, B - 4}, {L, T}}, {{Rt, B - 3}, {Rt, T - 1}}});
      if (!APressed)
        Draw(LightColor, {{{L + 1, T + 1}, {Rt - 1, T + 1}}, {{L + 2, B - 2}, {L + 2, B - 4}},
                          {{L + 1, B - 4}, {L + 1, B - 7}}});
      else
        Draw(LightColor, {{{L + 4, B - 1}, {Rt - 3, B - 1}}, {{Rt - 2, B - 2}, {Rt - 4, B - 2}},
                          {{Rt - 2, B - 2}, {Rt - 2, B - 4}}, {{Rt - 1, B - 4}, {Rt - 1, T}},
                          {{L + 2, B - 2}, {L + 4, B - 2}}, {{L + 2, B - 2}, {L + 2, B - 4}},
                          {{L + 1, B - 4}, {L + 1, B - 5}}});
      break;
  }
}

void TcxMediaPlayer8Style::DrawDecoration(TcxCanvas* ACanvas, const TRect&, bool AHot, bool APressed) {
  const int Dir = SplitterDirection();
  DrawGripDots(ACanvas, StartDotsRect, APressed, false, LightColor, ShadowColor, Dir, 3, 3);
  DrawGripDots(ACanvas, EndDotsRect, APressed, true, LightColor, ShadowColor, Dir, 3, 3);
  ACanvas->FillRect(ArrowRect, BackColor());
  TRect Inner;
  if (APressed)
    DrawRectLines(ACanvas, ArrowRect, LightColor, ShadowColor, Inner);
  else
    DrawRectLines(ACanvas, ArrowRect, ShadowColor, LightColor, Inner);
  DrawHotZoneArrow(ACanvas, ArrowRect, AHot, APressed, ArrowColor, ArrowHighlightColor, Dir);
}

// --- XP task bar ---

void TcxXPTaskBarStyle::Assign(TPersistent* Source) {
  TcxHotZoneStyle::Assign(Source);
  if (auto* S = dynamic_cast<TcxXPTaskBarStyle*>(Source)) {
    LightColor = S->LightColor;
    ShadowColor = S->ShadowColor;
  }
}

void TcxXPTaskBarStyle::CalculateHotZoneRect(const TRect& ABounds, TRect& R) {
  TcxHotZoneStyle::CalculateHotZoneRect(ABounds, R);
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  if (LiesHorizontally()) {
    StartDotsRect = {L, T + 1, Rt, B / 2};
    EndDotsRect = {L + 3, B / 2 + 1, Rt, B};
  } else {
    StartDotsRect = {L + 1, T, Rt / 2, B};
    EndDotsRect = {Rt / 2 + 1, T + 3, Rt, B};
  }
}

void TcxXPTaskBarStyle::DrawBackground(TcxCanvas* ACanvas, const TRect& R, bool, bool) {
  ACanvas->FillRect(R, BackColor());
}

void TcxXPTaskBarStyle::DrawDecoration(TcxCanvas* ACanvas, const TRect&, bool, bool APressed) {
  // The dots look pressed while the zone is not, and the other way round.
  const int Dir = SplitterDirection();
  DrawGripDots(ACanvas, StartDotsRect, !APressed, true, LightColor, ShadowColor, Dir, 4, 0);
  DrawGripDots(ACanvas, EndDotsRect, !APressed, true, LightColor, ShadowColor, Dir, 4, 0);
}

// --- Simple ---

void TcxSimpleStyle::Assign(TPersistent* Source) {
  TcxHotZoneStyle::Assign(Source);
  if (auto* S = dynamic_cast<TcxSimpleStyle*>(Source)) {
    ArrowColor = S->ArrowColor;
    ArrowHighlightColor = S->ArrowHighlightColor;
    LightColor = S->LightColor;
    ShadowColor = S->ShadowColor;
    DotsColor = S->DotsColor;
    DotsShadowColor = S->DotsShadowColor;
  }
}

void TcxSimpleStyle::CalculateHotZoneRect(const TRect& ABounds, TRect& R) {
  TcxHotZoneStyle::CalculateHotZoneRect(ABounds, R);
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  if (LiesHorizontally()) {
    StartArrowRect = {L + 5, T, L + 12, B};
    EndArrowRect = {Rt - 12, T, Rt - 5, B};
  } else {
    StartArrowRect = {L, T + 5, Rt, T + 12};
    EndArrowRect = {L, B - 12, Rt, B - 5};
  }
}

void TcxSimpleStyle::DrawBackground(TcxCanvas* ACanvas, const TRect& R, bool, bool APressed) {
  TRect R1, R2;
  DrawRectLines(ACanvas, R, ShadowColor, ShadowColor, R1);
  ACanvas->FillRect(R1, BackColor());
  if (APressed)
    DrawRectLines(ACanvas, R1, BackColor(), LightColor, R2);
  else
    DrawRectLines(ACanvas, R1, LightColor, BackColor(), R2);
  const TColor First = APressed ? DotsColor : DotsShadowColor, Second = APressed ? DotsShadowColor : DotsColor;
  const bool Horz = LiesHorizontally();
  const int Length = Horz ? R.Right - R.Left : R.Bottom - R.Top;
  const int N = (Length - 32) / 3 + 1;  // truncates towards zero: none below 30
  for (int k = 0; k < N; ++k) {
    if (Horz) {
      const int Y = R.Top + (R.Bottom - R.Top) / 2;
      ACanvas->SetPixel(R.Left + 3 * k + 15, Y, First);
      ACanvas->SetPixel(R.Left + 3 * k + 16, Y + 1, Second);
    } else {
      const int X = R.Left + (R.Right - R.Left) / 2;
      ACanvas->SetPixel(X, R.Top + 3 * k + 15, First);
      ACanvas->SetPixel(X + 1, R.Top + 3 * k + 16, Second);
    }
  }
}

void TcxSimpleStyle::DrawDecoration(TcxCanvas* ACanvas, const TRect&, bool AHot, bool APressed) {
  DrawHotZoneArrow(ACanvas, StartArrowRect, AHot, APressed, ArrowColor, ArrowHighlightColor, SplitterDirection());
  DrawHotZoneArrow(ACanvas, EndArrowRect, AHot, APressed, ArrowColor, ArrowHighlightColor, SplitterDirection());
}

// --- registry and holder ---

TcxRegisteredClasses& GetRegisteredHotZoneStyles() {
  static TcxRegisteredClasses R = [] {
    TcxRegisteredClasses C(false);
    C.AddClass(TcxMediaPlayer8Style::StaticClass(), "MediaPlayer8");
    C.AddClass(TcxMediaPlayer9Style::StaticClass(), "MediaPlayer9");
    C.AddClass(TcxXPTaskBarStyle::StaticClass(), "XPTaskBar");
    C.AddClass(TcxSimpleStyle::StaticClass(), "Simple");
    return C;
  }();
  return R;
}

std::unique_ptr<TcxHotZoneStyle> CreateHotZoneStyle(TClass AClass, IcxHotZoneStyleOwner* AOwner) {
  if (AClass == TcxMediaPlayer8Style::StaticClass()) return std::make_unique<TcxMediaPlayer8Style>(AOwner);
  if (AClass == TcxMediaPlayer9Style::StaticClass()) return std::make_unique<TcxMediaPlayer9Style>(AOwner);
  if (AClass == TcxXPTaskBarStyle::StaticClass()) return std::make_unique<TcxXPTaskBarStyle>(AOwner);
  if (AClass == TcxSimpleStyle::StaticClass()) return std::make_unique<TcxSimpleStyle>(AOwner);
  return nullptr;
}

void TcxHotZoneStyleHolder::Set(std::unique_ptr<TcxHotZoneStyle> AStyle) {
  if (AStyle.get() == FStyle.get()) {
    AStyle.release();  // the same object: the holder keeps it
    return;
  }
  FStyle = std::move(AStyle);
  if (FOwner) FOwner->HotZoneStyleChanged();
}

void TcxHotZoneStyleHolder::SetClassName(const AnsiString& AName) {
  const TClass New = AName.empty() ? nullptr : GetRegisteredHotZoneStyles().LookupByClassName(AName);
  const TClass Old = FStyle ? FStyle->ClassType() : nullptr;
  if (New == Old) return;
  TcxHotZoneStyle Kept;
  if (FStyle) Kept.Assign(FStyle.get());
  FStyle.reset();
  FStyle = New ? CreateHotZoneStyle(New, FOwner) : nullptr;
  if (FStyle) FStyle->Assign(&Kept);
  if (FOwner) FOwner->HotZoneStyleChanged();
}
