// MetafileProcessor_Text.cpp — text records: one text item per run, moved
// from the record's reference point (top, baseline or bottom; left, centre
// or right; possibly rotated) to the top-left corner the writers expect.
#include <cmath>
#include <numbers>
#include "export/engine/MetafileProcessor.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePages.h"

Byte TextAlignFromMode(DWORD M) {
  Byte Set = taTop | taLeft | taNoUpdateCP;
  if ((M & TA_BASELINE) == TA_BASELINE) {
    Set = taBaseline | taLeft | taNoUpdateCP;
    M &= ~DWORD(TA_BASELINE);
  } else if (M & TA_BOTTOM) {
    Set = taBottom | taLeft | taNoUpdateCP;
    M &= ~DWORD(TA_BOTTOM);
  }
  if ((M & TA_CENTER) == TA_CENTER) {
    Set = Byte((Set & ~taLeft) | taCenter);
    M &= ~DWORD(TA_CENTER);
  } else if (M & TA_RIGHT) {
    Set = Byte((Set & ~taLeft) | taRight);
    M &= ~DWORD(TA_RIGHT);
  }
  if (M & TA_UPDATECP) Set = Byte((Set & ~taNoUpdateCP) | taUpdateCP);
  return Set;
}

void TgtMetafileProcessor::GetFontInfo(TFont& Font, TgtFontInfo& Info) const {
  Info = TgtFontInfo();
  TFont Temp;
  Temp.SetCharset(Font.GetCharset());
  Temp.SetName(Font.GetName());
  Temp.SetSize(Font.GetSize());
  Temp.SetPitch(Font.GetPitch());
  Temp.SetStyle(Font.GetStyle());
  TUniqueDc Dc(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
  if (!Dc) return;
  const int OldMode = FMapMode ? SetMapMode(Dc.Get(), FMapMode) : 0;
  {
    TSelectObjectGuard Select(Dc.Get(), Temp.GetHandle());
    TEXTMETRICA Tm{};
    GetTextMetricsA(Dc.Get(), &Tm);
    const Integer P = gtScreenPPI();
    // Whole inches of descent only: the division comes first.
    Info.Descent = (-std::abs(Tm.tmDescent) / P) * 72;
    Info.Ascent = Tm.tmAscent;
    const Integer Size = Temp.GetSize();
    Info.UnderscoreSize = Size / 10;
    Info.UnderscorePosition = -1;
    Info.StrikeoutPosition = std::abs(Temp.GetHeight()) / 5;
    // The outline metrics are read at 1000 points, so that size x metric /
    // 1000 gives points at the font's own size; read at that size they
    // would shrink by the size once more and come out 0.
    TFont Big;
    Big.Assign(&Temp);
    Big.SetSize(1000);
    TSelectObjectGuard SelectBig(Dc.Get(), Big.GetHandle());
    OUTLINETEXTMETRICA Otm{};
    if ((Tm.tmPitchAndFamily & TMPF_TRUETYPE) && GetOutlineTextMetricsA(Dc.Get(), sizeof(Otm), &Otm)) {
      auto Scale = [&](double V) { return Integer(std::lround(Size * (V / P * 72.0) / 1000.0)); };
      Info.UnderscorePosition = Scale(Otm.otmsUnderscorePosition) - 1;
      Info.UnderscoreSize = Scale(Otm.otmsUnderscoreSize);
      Info.StrikeoutPosition = Scale(Otm.otmsStrikeoutPosition);
    }
  }
  if (OldMode) SetMapMode(Dc.Get(), OldMode);
}

void TgtMetafileProcessor::AnchorText(const AnsiString& Text, TFont& Font, Integer Angle, double& X, double& Y) {
  const Byte A = FTextAlign;
  if (A & taTop && A & taLeft) return;
  const double Th = Angle * std::numbers::pi / 180.0;
  const TSize Ext = GetTextSizeA(Text, &Font);
  const double W = Ext.cx, H = Ext.cy;
  TgtFontInfo Info;
  if (A & taBaseline) GetFontInfo(Font, Info);
  // The baseline lies the ascent below the top; a descent counted in whole
  // inches would put it at the point size, wrong for every ordinary font.
  const double D = (A & taBaseline) ? Info.Ascent : 0;
  auto Corner = [&](double Across, double Down) {
    // The top-left corner lies Across to the left and Down above the
    // reference point, in the text's own rotated axes.
    const double R = std::hypot(Across, Down);
    const double Phi = Th - (Across != 0 ? std::atan(Down / Across) : std::numbers::pi / 2);
    Y += R * std::sin(Phi);
    X -= R * std::cos(Phi);
  };
  if (A & taLeft) {
    const double V = (A & taBaseline) ? D : (A & taBottom) ? H : 0;
    if (!(A & (taBaseline | taBottom))) return;
    Y -= V * std::cos(Th);
    X -= V * std::sin(Th);
  } else if (A & (taCenter | taRight)) {
    const double Across = (A & taCenter) ? W / 2 : W;
    if (A & taTop) {
      Y += Across * std::sin(Th);
      X -= Across * std::cos(Th);
    } else if (A & taBaseline) {
      Corner(Across, D);
    } else if (A & taBottom) {
      Corner(Across, H);
    }
  }
}

void TgtMetafileProcessor::PlayText(const TEmfRecord& Rec) {
  if (!FTextOn) return;
  auto R = TEmrExtTextOut::Read(Rec);
  const std::size_t N = R.CharCount();
  if (N == 0) return;
  const bool Pdy = (R.Options & ETO_PDY) != 0;
  const double AdvanceScale = FXForm.eM11 * (IsoMode() ? FScaleX : 1.0);
  // Every text record of every page may be held until the document ends, so
  // its text and advances take exactly what the record needs rather than the
  // doubling slack of growing one character at a time.
  WideString Text;
  Text.reserve(N);
  std::vector<double> Advances;
  Advances.reserve(N);
  for (std::size_t I = 0; I < N; ++I) {
    char16_t C;
    if (R.Type == EMR_EXTTEXTOUTA) {
      char B = R.AnsiText[I];
      if (B == 0) continue;
      WideString W = AnsiToWide(std::string_view(&B, 1));
      if (W.empty()) continue;
      C = W[0];
    } else if (FSymbolFont == 1) {
      C = R.Text[I];
      if (C == 0) continue;
    } else {
      char B = char(R.Text[I] & 0xFF);
      if (B == 0) continue;
      WideString W = AnsiToWide(std::string_view(&B, 1));
      if (W.empty()) continue;
      C = W[0];
    }
    Text += C;
    const std::size_t DxIndex = Pdy ? 2 * I : I;
    Advances.push_back(DxIndex < R.Dx.size() ? R.Dx[DxIndex] * AdvanceScale : 0.0);
  }
  if (Text.empty()) return;
  if (Advances.size() < Advances.capacity()) Advances.shrink_to_fit();
  auto Item = std::make_shared<TgtTextItem>();
  Item->FromMetafile = true;
  Item->CharAdvances = std::move(Advances);
  const bool FromCP = (FTextAlign & taUpdateCP) && FCurrentPositionText;
  TgtDoublePoint P = FromCP ? TransformPoint(FCurPos.X, FCurPos.Y)
                            : TransformPoint(R.Reference.X, R.Reference.Y);
  double X = P.X + (FromCP ? FCurPosAdvance : 0) + FOriginX;
  double Y = P.Y + FOriginY;
  if (R.Options & ETO_CLIPPED) {
    TgtDoubleRect C = TransformRect({double(R.Rect.Left), double(R.Rect.Top), double(R.Rect.Right),
                                     double(R.Rect.Bottom)});
    Item->SetClipped(true);
    Item->ClipRect = {C.Left + FOriginX, C.Top + FOriginY, C.Right + FOriginX, C.Bottom + FOriginY};
  }
  Item->Font.Assign(&FFont);
  Item->Angle = RoundInt(FFont.Escapement / 10.0);
  const AnsiString Ansi = WideToAnsi(Text);
  if (FromCP) {
    const double W = GetTextSizeA(Ansi, &Item->Font).cx;
    FCurPosAdvance += (FTextAlign & taRight) ? -W : W;
  }
  AnchorText(Ansi, Item->Font, Item->Angle, X, Y);
  Item->X = X;
  Item->Y = Y;
  Item->Font.SetColor(TColor(FTextColor & 0xFFFFFF));
  Item->Brush.SetColor(TColor(FBkColor & 0xFFFFFF));
  if (FBkMode == TRANSPARENT) Item->Brush.SetStyle(bsClear);
  Item->Lines.Add(Text);
  TextList().push_back(Item);
  FCountdown = 3;
}
