// MetafileProcessor_State.cpp — the object table, stock objects, fonts
// built from logical fonts, and the saved-state stack.
#include <cmath>
#include <map>
#include <mutex>
#include "export/engine/MetafileProcessor.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePages.h"

void TgtFont::Assign(TPersistent* Source) {
  TFont::Assign(Source);
  if (auto* F = dynamic_cast<TgtFont*>(Source)) Escapement = F->Escapement;
}

namespace {
// Object indexes beyond a 16-bit handle table cannot be real.
constexpr DWORD MaxObjectIndex = 0xFFFF;

TPenStyle PenStyleOf(DWORD Style) {
  static const TPenStyle Styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame};
  return Style <= 6 ? Styles[Style] : psSolid;
}
}  // namespace

void TgtMetafileProcessor::StoreObject(DWORD Index, std::unique_ptr<TgtGDIOBJ> Obj) {
  // Index 0 is the metafile itself; objects live at their own index, so a
  // later select or delete of that index finds them.
  if (Index == 0 || Index > MaxObjectIndex) return;
  while (FObjects.size() < Index) FObjects.push_back(std::make_unique<TgtGDIOBJ>(gkEmpty));
  FObjects[Index - 1] = std::move(Obj);
}

void TgtMetafileProcessor::SelectObject(DWORD Index) {
  if (Index & ENHMETA_STOCK_OBJECT) {
    SelectStockObject(Index & ~ENHMETA_STOCK_OBJECT);
    return;
  }
  if (Index == 0 || Index > FObjects.size()) return;
  TgtGDIOBJ& Obj = *FObjects[Index - 1];
  switch (Obj.Kind) {
    case gkPen: FPen.Assign(&Obj.Pen); break;
    case gkBrush: FBrush.Assign(&Obj.Brush); break;
    case gkFont:
      FFont.Assign(&Obj.Font);
      FSymbolFont = IsSymbolFont(FFont.GetName()) ? -1 : 1;
      break;
    default: break;
  }
}

void TgtMetafileProcessor::DeleteObject(DWORD Index) {
  if (Index == 0 || Index > FObjects.size()) return;
  FObjects[Index - 1] = std::make_unique<TgtGDIOBJ>(gkEmpty);
}

void TgtMetafileProcessor::SelectStockObject(DWORD Index) {
  auto SetBrush = [this](TColor Color, TBrushStyle Style) {
    TBrush B;
    B.SetColor(Color);
    B.SetStyle(Style);
    FBrush.Assign(&B);
  };
  auto SetPen = [this](TColor Color, TPenStyle Style) {
    TPen P;
    P.SetColor(Color);
    P.SetStyle(Style);
    FPen.Assign(&P);
  };
  switch (Index) {
    case 0: SetBrush(clWhite, bsSolid); break;
    case 1: SetBrush(TColor(0xC0C0C0), bsSolid); break;
    case 2: case 3: SetBrush(TColor(0x808080), bsSolid); break;
    case 4: SetBrush(clBlack, bsSolid); break;
    case 5: SetBrush(clWhite, bsClear); break;
    case 6: SetPen(clWhite, psSolid); break;
    case 7: SetPen(clBlack, psSolid); break;
    case 8: SetPen(clBlack, psClear); break;
    case 10: case 11: case 12: case 13: case 14: case 16: {
      TgtFont F;
      FFont.Assign(&F);
      break;
    }
    case 15: FPalette = TgtPalette(); break;
    case 18: SetBrush(clWhite, bsSolid); break;
    case 19: SetPen(clBlack, psSolid); break;
    default: break;
  }
}

void TgtMetafileProcessor::CreatePen(const TEmfRecord& Rec) {
  auto Obj = std::make_unique<TgtGDIOBJ>(gkPen);
  DWORD Index, Style;
  double Width;
  COLORREF Color;
  if (Rec.Type() == EMR_CREATEPEN) {
    auto P = TEmrCreatePen::Read(Rec);
    Index = P.ihPen;
    Style = P.Style;
    Width = P.Width.X;
    Color = P.Color;
  } else {
    auto P = TEmrExtCreatePen::Read(Rec);
    Index = P.ihPen;
    Style = P.PenStyle & 0xF;
    Width = double(P.Width);
    Color = P.Color;
  }
  if (Width < 1) Width = 1;
  const double W = std::nearbyint(ScaleWidth(Width));
  Obj->Pen.SetWidth(W > 1e6 ? 1000000 : W < -1e6 ? -1000000 : Integer(W));
  Obj->Pen.SetStyle(PenStyleOf(Style));
  Obj->Pen.SetColor(TColor(Color & 0xFFFFFF));
  StoreObject(Index, std::move(Obj));
}

void TgtMetafileProcessor::CreateBrush(const TEmfRecord& Rec) {
  auto B = TEmrCreateBrushIndirect::Read(Rec);
  auto Obj = std::make_unique<TgtGDIOBJ>(gkBrush);
  Obj->Brush.SetColor(TColor(B.Color & 0xFFFFFF));
  static const TBrushStyle Hatches[] = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross};
  if (B.Style == 1) Obj->Brush.SetStyle(bsClear);
  else if (B.Style == 2 && B.Hatch <= 5) Obj->Brush.SetStyle(Hatches[B.Hatch]);
  else Obj->Brush.SetStyle(bsSolid);
  StoreObject(B.ihBrush, std::move(Obj));
}

void TgtMetafileProcessor::CreateDibBrush(const TEmfRecord& Rec) {
  auto B = TEmrCreateDibBrush::Read(Rec);
  if (B.Bmi.empty() || B.Bits.empty()) return;
  TMemoryStream S;
  if (!BuildBitmapStream(B.Bmi, B.Bits, S)) return;
  // The pattern itself is not carried into items (a brush only borrows its
  // bitmap, and items outlive the player); the entry is a brush of the
  // default colour, as the record's colour usage is not read either.
  auto Obj = std::make_unique<TgtGDIOBJ>(gkBrush);
  StoreObject(B.ihBrush, std::move(Obj));
}

Byte CharsetFromCodePage() {
  switch (GetACP()) {
    case 874: return 222;
    case 932: return 128;
    case 936: return 134;
    case 949: return 129;
    case 950: return 136;
    case 1250: return 238;
    case 1251: return 204;
    case 1253: return 161;
    case 1254: return 162;
    case 1255: return 177;
    case 1256: return 178;
    case 1257: return 186;
    case 1258: return 163;
    case 1361: return 130;
    default: return 0;
  }
}

Integer PointSizeFromHeight(Integer Height) {
  return Integer(std::fabs(std::floor(-double(Height) * 72.0 / gtScreenPPI())));
}

namespace {
int SymbolCharsetEnumProc(const LOGFONTA* Lf, const TEXTMETRICA*, DWORD, LPARAM) {
  return Lf->lfCharSet == SYMBOL_CHARSET ? 0 : 1;
}
}  // namespace

bool IsSymbolFont(const AnsiString& Name) {
  // Asked at every font selection of every page: the installed faces do not
  // change while the process runs, so each name is enumerated once.
  static std::mutex Lock;
  static std::map<AnsiString, bool> Known;
  {
    std::lock_guard<std::mutex> G(Lock);
    if (auto It = Known.find(Name); It != Known.end()) return It->second;
  }
  HDC Dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (!Dc) return false;
  LOGFONTA Lf{};
  std::size_t N = std::min<std::size_t>(Name.size(), 31);
  std::copy_n(Name.data(), N, Lf.lfFaceName);
  Lf.lfFaceName[N] = 0;
  Lf.lfCharSet = DEFAULT_CHARSET;
  int R = EnumFontFamiliesExA(Dc, &Lf, SymbolCharsetEnumProc, 0, 0);
  DeleteDC(Dc);
  std::lock_guard<std::mutex> G(Lock);
  Known.emplace(Name, R == 0);
  return R == 0;
}

void TgtMetafileProcessor::CreateFont(const TEmfRecord& Rec) {
  if (!FTextOn) return;
  auto R = TEmrExtCreateFontIndirectW::Read(Rec);
  const TEmfLogFont& L = R.Font;
  auto Obj = std::make_unique<TgtGDIOBJ>(gkFont);
  TgtFont& F = Obj->Font;
  WideString Face = L.FaceName.substr(0, 32);
  if (auto Z = Face.find(u'\0'); Z != WideString::npos) Face.resize(Z);
  F.SetName(WideToAnsi(Face));
  F.SetCharset(L.CharSet == DEFAULT_CHARSET ? CharsetFromCodePage() : L.CharSet);
  switch (L.PitchAndFamily & 3) {
    case 1: case 3: F.SetPitch(fpFixed); break;
    case 2: F.SetPitch(fpVariable); break;
    default: F.SetPitch(fpDefault); break;
  }
  TFontStyles Style;
  if (L.Italic) Style.Include(fsItalic);
  if (L.Weight == 700) Style.Include(fsBold);
  if (L.Underline) Style.Include(fsUnderline);
  if (L.StrikeOut) Style.Include(fsStrikeOut);
  F.SetStyle(Style);
  F.SetSize(PointSizeFromHeight(L.Height));
  // The logical height itself, not the whole points above: a 10-point run
  // (13 pixels) must not come out as 9 points.
  double H = L.Height;
  if (IsoMode()) {
    const double K = std::nearbyint(FViewportExt.X / FKx);
    if (FWindowExt.X != 0) H = std::nearbyint(H * K / FWindowExt.X * FKx);
  } else {
    H = std::nearbyint(H * FXForm.eM22);
  }
  if (std::fabs(H) < 1e6) F.SetHeight(Integer(H));
  F.Escapement = L.Escapement;
  StoreObject(R.ihFont, std::move(Obj));
}

void TgtMetafileProcessor::SaveDCState() {
  auto S = std::make_unique<TgtMetaState>();
  S->Font.Assign(&FFont);
  S->Brush.Assign(&FBrush);
  S->Pen.Assign(&FPen);
  S->BkMode = FBkMode;
  S->MapMode = FMapMode;
  S->XForm = FXForm;
  S->WindowExt = FWindowExt;
  S->ViewportExt = FViewportExt;
  S->WindowOrg = FWindowOrg;
  S->ViewportOrg = FViewportOrg;
  FStates.push_back(std::move(S));
}

void TgtMetafileProcessor::RestoreDCState(Integer Relative) {
  // As a DC's stack: -n goes back n saves, +n to the n-th save; the states
  // saved after the one restored are dropped with it.
  const Int64 Count = Int64(FStates.size());
  if (Count == 0 || Relative == 0) return;
  const Int64 Target = Relative < 0 ? Count + Relative : Int64(Relative) - 1;
  if (Target < 0 || Target >= Count) return;
  TgtMetaState& S = *FStates[std::size_t(Target)];
  FFont.Assign(&S.Font);
  FBrush.Assign(&S.Brush);
  FPen.Assign(&S.Pen);
  FBkMode = S.BkMode;
  FMapMode = S.MapMode;
  FXForm = S.XForm;
  FWindowExt = S.WindowExt;
  FViewportExt = S.ViewportExt;
  FWindowOrg = S.WindowOrg;
  FViewportOrg = S.ViewportOrg;
  UpdateMappingScale();
  FStates.resize(std::size_t(Target));
  FClipRect = {};
  FVisibleSet = false;
  AddClipReset();
}
