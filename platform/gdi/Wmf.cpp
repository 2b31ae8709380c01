#include "platform/gdi/Wmf.h"
#include "platform/rtl/ByteOrder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/EmfMapping.h"
#include "platform/rtl/CodePages.h"

namespace {

enum { MmText = 1, MmIsotropic = 7, MmAnisotropic = 8 };
constexpr UINT EtoOpaque = 0x0002, EtoClipped = 0x0004;
constexpr Word WmfHeaderWords = 9;

// ---- text encoding: WMF text is 8-bit in the code page of the font's charset ----

constexpr BYTE SymbolCharset = 2;

// One character (or surrogate pair) to the font's code page; symbol fonts
// keep the low byte of their private-use characters.
std::string CharToWmf(std::u16string_view C, BYTE Charset) {
  if (Charset == SymbolCharset) {
    char16_t V = C[0];
    return std::string(1, char((V & 0xFF00) == 0xF000 ? V & 0xFF : V < 0x100 ? V : '?'));
  }
  try {
    return WideToAnsi(C, CodePageFromCharset(Charset));
  } catch (const Exception&) {
    return "?";
  }
}

WideString TextFromWmf(std::string_view S, BYTE Charset) {
  if (Charset == SymbolCharset) {
    WideString W;
    for (char C : S) W.push_back(char16_t(Byte(C)));
    return W;
  }
  try {
    return AnsiToWide(S, CodePageFromCharset(Charset));
  } catch (const Exception&) {
    WideString W;
    for (char C : S) W.push_back(char16_t(Byte(C)));
    return W;
  }
}

SmallInt Clamp16(double V) {
  if (!(V == V)) return 0;  // NaN
  return SmallInt(std::clamp<long>(std::lround(std::clamp(V, -1e9, 1e9)), -32768, 32767));
}

// ---- writing WMF ------------------------------------------------------------

class TWmfWriter {
public:
  TWmfWriter() { FBuf.resize(WmfHeaderWords * 2); }
  void Begin(Word Function) {
    FStart = FBuf.size();
    Dword(0);
    Word16(Function);
  }
  void End() {
    std::size_t Words = (FBuf.size() - FStart) / 2;
    EmfPutDword(FBuf.data() + FStart, DWORD(Words));
    FMaxRecord = std::max<DWORD>(FMaxRecord, DWORD(Words));
  }
  void Word16(Word V) {
    FBuf.push_back(Byte(V));
    FBuf.push_back(Byte(V >> 8));
  }
  void Short(SmallInt V) { Word16(Word(V)); }
  void Dword(DWORD V) {
    Word16(Word(V));
    Word16(Word(V >> 16));
  }
  void Bytes(std::span<const Byte> B) {
    FBuf.insert(FBuf.end(), B.begin(), B.end());
    if (FBuf.size() % 2) FBuf.push_back(0);
  }
  // A record of plain 16-bit parameters, given in file order.
  void Record(Word Function, std::initializer_list<SmallInt> Params) {
    Begin(Function);
    for (SmallInt P : Params) Short(P);
    End();
  }
  // Objects go to the lowest free slot, as the player will assign them.
  Word AllocObject() {
    for (std::size_t I = 0; I < FSlots.size(); ++I)
      if (!FSlots[I]) {
        FSlots[I] = true;
        return Word(I);
      }
    FSlots.push_back(true);
    return Word(FSlots.size() - 1);
  }
  void FreeObject(Word Slot) {
    if (Slot < FSlots.size()) FSlots[Slot] = false;
  }
  std::vector<Byte> Finish() {
    Record(META_EOF, {});
    TEmfWriter H;
    H.WriteWord(1);  // in memory
    H.WriteWord(WmfHeaderWords);
    H.WriteWord(0x300);
    H.WriteDword(DWORD(FBuf.size() / 2));
    H.WriteWord(Word(FSlots.size()));
    H.WriteDword(FMaxRecord);
    H.WriteWord(0);
    std::copy(H.Bytes().begin(), H.Bytes().begin() + 18, FBuf.begin());
    return std::move(FBuf);
  }

private:
  std::vector<Byte> FBuf;
  std::size_t FStart = 0;
  DWORD FMaxRecord = 3;
  std::vector<bool> FSlots;
};

// ---- EMF -> WMF -------------------------------------------------------------

class TEmfToWmf {
public:
  TEmfToWmf(const TEmrHeader& H, int MapMode) : FMap(H.Device, H.Millimeters) {
    // Reference-device pixels per .01 mm of frame.
    const double Px = double(H.Device.cx) / std::max(1, H.Millimeters.cx) / 100;
    const double Py = double(H.Device.cy) / std::max(1, H.Millimeters.cy) / 100;
    double L = H.Frame.Left * Px, T = H.Frame.Top * Py;
    double W = std::max(1.0, (H.Frame.Right - H.Frame.Left) * Px);
    double Hh = std::max(1.0, (H.Frame.Bottom - H.Frame.Top) * Py);
    double Extent = std::max({W, Hh, std::fabs(L) + W, std::fabs(T) + Hh});
    FK = Extent > 32000 ? 32000 / Extent : 1.0;
    FOrg = {Clamp16(L * FK), Clamp16(T * FK)};
    FExt = {Clamp16(W * FK), Clamp16(Hh * FK)};
    FW.Record(META_SETMAPMODE, {SmallInt(MapMode)});
    if (MapMode == MmAnisotropic || MapMode == MmIsotropic) {
      FW.Record(META_SETWINDOWORG, {FOrg.y, FOrg.x});
      FW.Record(META_SETWINDOWEXT, {FExt.y, FExt.x});
    }
  }

  void Convert(const TEmfRecord& R);
  std::vector<Byte> Finish() { return FW.Finish(); }

private:
  TEmfPoint16 Pt(double X, double Y) const {
    double Dx, Dy;
    FMap.ToDevice(X, Y, Dx, Dy);
    return {Clamp16(Dx * FK), Clamp16(Dy * FK)};
  }
  TEmfPoint16 Pt(TPoint P) const { return Pt(P.X, P.Y); }
  // Device-unit coordinates (regions) to WMF units.
  SmallInt Dev(double V) const { return Clamp16(V * FK); }
  SmallInt LenX(double V) const { return Clamp16(V * FMap.ScaleX() * FK); }
  SmallInt LenY(double V) const { return Clamp16(V * FMap.ScaleY() * FK); }
  // A rectangle's corners; the record order is bottom, right, top, left.
  void RectRecord(Word Function, const TRect& Box, std::initializer_list<SmallInt> Before = {}) {
    TEmfPoint16 A = Pt(Box.Left, Box.Top), B = Pt(Box.Right, Box.Bottom);
    FW.Begin(Function);
    for (SmallInt P : Before) FW.Short(P);
    FW.Short(B.y);
    FW.Short(B.x);
    FW.Short(A.y);
    FW.Short(A.x);
    FW.End();
  }
  void PointsRecord(Word Function, const std::vector<TEmfPoint16>& Ps) {
    if (Ps.empty()) return;
    FW.Begin(Function);
    FW.Short(SmallInt(std::min<std::size_t>(Ps.size(), 0x7FFF)));
    for (std::size_t I = 0; I < Ps.size() && I < 0x7FFF; ++I) {
      FW.Short(Ps[I].x);
      FW.Short(Ps[I].y);
    }
    FW.End();
  }
  std::vector<TEmfPoint16> Map(const std::vector<TPoint>& Ps) const {
    std::vector<TEmfPoint16> Out;
    Out.reserve(Ps.size());
    for (const TPoint& P : Ps) Out.push_back(Pt(P));
    return Out;
  }
  // Beziers become polylines: WMF has no curves.
  std::vector<TPoint> Flatten(TPoint Start, const std::vector<TPoint>& Ps) const;
  void SelectStock(DWORD Index);
  Word NewObject(DWORD EmfIndex) {
    Word Slot = FW.AllocObject();
    if (EmfIndex) {
      auto It = FObjects.find(EmfIndex);
      if (It != FObjects.end()) DropObject(EmfIndex);
      FObjects[EmfIndex] = Slot;
    }
    return Slot;
  }
  void DropObject(DWORD EmfIndex) {
    auto It = FObjects.find(EmfIndex);
    if (It == FObjects.end()) return;
    FW.Record(META_DELETEOBJECT, {SmallInt(It->second)});
    FW.FreeObject(It->second);
    FObjects.erase(It);
  }
  void SelectRegion(const std::vector<TRect>& DeviceRects);
  void Text(const TEmrExtTextOut& T);
  void Blit(TRect Dest, TRect Src, DWORD Rop, const std::vector<Byte>& Bmi,
            const std::vector<Byte>& Bits, DWORD Usage);
  void FlushPath(bool Fill, bool Stroke);

  TWmfWriter FW;
  TEmfMapping FMap;
  double FK = 1;
  TEmfPoint16 FOrg, FExt;
  std::map<DWORD, Word> FObjects;       // EMF object index -> WMF slot
  std::map<DWORD, Word> FStock;         // stock index -> WMF slot, kept to the end
  TPoint FCur;                          // current position, logical
  std::map<DWORD, BYTE> FFontCharsets;  // EMF font index -> charset
  BYTE FCharset = 0;                    // of the selected font
  bool FInPath = false;
  std::vector<std::vector<TEmfPoint16>> FPath;
};

std::vector<TPoint> TEmfToWmf::Flatten(TPoint Start, const std::vector<TPoint>& Ps) const {
  std::vector<TPoint> Out;
  TPoint P0 = Start;
  for (std::size_t I = 0; I + 2 < Ps.size(); I += 3) {
    const TPoint &P1 = Ps[I], &P2 = Ps[I + 1], &P3 = Ps[I + 2];
    constexpr int Steps = 16;
    for (int S = 1; S <= Steps; ++S) {
      double T = double(S) / Steps, U = 1 - T;
      double X = U * U * U * P0.X + 3 * U * U * T * P1.X + 3 * U * T * T * P2.X + T * T * T * P3.X;
      double Y = U * U * U * P0.Y + 3 * U * U * T * P1.Y + 3 * U * T * T * P2.Y + T * T * T * P3.Y;
      Out.push_back({Integer(std::lround(X)), Integer(std::lround(Y))});
    }
    P0 = P3;
  }
  return Out;
}

void TEmfToWmf::SelectStock(DWORD Index) {
  auto It = FStock.find(Index);
  if (It == FStock.end()) {
    Word Slot = FW.AllocObject();
    const COLORREF Greys[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                              RGB(64, 64, 64), RGB(0, 0, 0)};
    if (Index <= 5) {
      FW.Begin(META_CREATEBRUSHINDIRECT);
      FW.Word16(Index == 5 ? 1 : 0);  // NULL_BRUSH is BS_NULL
      FW.Dword(Index == 5 ? 0 : Greys[Index]);
      FW.Word16(0);
      FW.End();
    } else if (Index <= 8) {
      FW.Begin(META_CREATEPENINDIRECT);
      FW.Word16(Index == 8 ? 5 : 0);  // NULL_PEN is PS_NULL
      FW.Short(0);
      FW.Short(0);
      FW.Dword(Index == 6 ? RGB(255, 255, 255) : 0);
      FW.End();
    } else if (Index >= 10 && Index <= 17) {
      // The fixed and system fonts; DEFAULT_GUI_FONT is the 8-point sans face.
      FW.Begin(META_CREATEFONTINDIRECT);
      FW.Short(Index == 17 ? LenY(-11) : LenY(16));
      for (int I = 0; I < 3; ++I) FW.Short(0);
      FW.Short(Index == 13 || Index == 14 ? 700 : 400);
      Byte Tail[8] = {0, 0, 0, 0, 0, 0, 0, Byte(Index == 10 || Index == 11 || Index == 16 ? 0x31 : 0x22)};
      FW.Bytes(Tail);
      const char* Face = Index == 17 ? "MS Shell Dlg" : (Index == 10 || Index == 11 || Index == 16) ? "Courier New" : "System";
      std::vector<Byte> F(Face, Face + std::strlen(Face));
      F.resize(32, 0);
      FW.Bytes(F);
      FW.End();
    } else {
      FW.FreeObject(Slot);
      return;  // palettes and DC pens/brushes have no WMF form
    }
    It = FStock.emplace(Index, Slot).first;
  }
  FW.Record(META_SELECTOBJECT, {SmallInt(It->second)});
}

void TEmfToWmf::SelectRegion(const std::vector<TRect>& Rects) {
  // META_CREATEREGION holds scans: bands of equal top and bottom with their
  // left/right pairs.
  struct TScan {
    Integer Top, Bottom;
    std::vector<std::pair<SmallInt, SmallInt>> Spans;
  };
  std::vector<TScan> Scans;
  TRect Bound;
  bool First = true;
  for (const TRect& R : Rects) {
    if (R.IsEmpty()) continue;
    SmallInt T = Dev(R.Top), B = Dev(R.Bottom), L = Dev(R.Left), Rt = Dev(R.Right);
    if (Scans.empty() || Scans.back().Top != T || Scans.back().Bottom != B)
      Scans.push_back({T, B, {}});
    Scans.back().Spans.push_back({L, Rt});
    if (First) Bound = {L, T, Rt, B};
    Bound = {std::min<Integer>(Bound.Left, L), std::min<Integer>(Bound.Top, T),
             std::max<Integer>(Bound.Right, Rt), std::max<Integer>(Bound.Bottom, B)};
    First = false;
  }
  Word Slot = FW.AllocObject();
  FW.Begin(META_CREATEREGION);
  std::size_t Size = 22;
  Word MaxScan = 0;
  for (const TScan& S : Scans) {
    Size += 8 + 4 * S.Spans.size();
    MaxScan = std::max<Word>(MaxScan, Word(S.Spans.size() * 2));
  }
  FW.Short(0);           // nextInChain
  FW.Short(6);           // objectType: region
  FW.Dword(0);           // objectCount
  FW.Short(SmallInt(Size));
  FW.Short(SmallInt(Scans.size()));
  FW.Short(SmallInt(MaxScan));
  FW.Short(SmallInt(Bound.Left));
  FW.Short(SmallInt(Bound.Top));
  FW.Short(SmallInt(Bound.Right));
  FW.Short(SmallInt(Bound.Bottom));
  for (const TScan& S : Scans) {
    FW.Short(SmallInt(S.Spans.size() * 2));
    FW.Short(SmallInt(S.Top));
    FW.Short(SmallInt(S.Bottom));
    for (auto [L, R] : S.Spans) {
      FW.Short(L);
      FW.Short(R);
    }
    FW.Short(SmallInt(S.Spans.size() * 2));
  }
  FW.End();
  FW.Record(META_SELECTCLIPREGION, {SmallInt(Slot)});
  FW.Record(META_DELETEOBJECT, {SmallInt(Slot)});
  FW.FreeObject(Slot);
}

void TEmfToWmf::Text(const TEmrExtTextOut& T) {
  // Bytes in the font's code page; a character of several bytes takes its
  // advance on the first byte.
  std::string S;
  std::vector<double> Adv;
  const std::size_t Step = (T.Options & 0x2000) ? 2 : 1;  // ETO_PDY
  const bool HaveDx = T.Dx.size() >= T.CharCount() * Step && T.CharCount() > 0;
  if (T.Type == EMR_EXTTEXTOUTW) {
    for (std::size_t I = 0; I < T.Text.size(); ++I) {
      std::size_t Len = (T.Text[I] >= 0xD800 && T.Text[I] < 0xDC00 && I + 1 < T.Text.size()) ? 2 : 1;
      std::string B = CharToWmf(std::u16string_view(T.Text).substr(I, Len), FCharset);
      double A = 0;
      for (std::size_t K = 0; K < Len && HaveDx; ++K) A += T.Dx[(I + K) * Step];
      for (std::size_t K = 0; K < B.size(); ++K) Adv.push_back(K == 0 ? A : 0);
      S += B;
      I += Len - 1;
    }
  } else {
    S = T.AnsiText;
    for (std::size_t I = 0; I < S.size(); ++I) Adv.push_back(HaveDx ? T.Dx[I * Step] : 0);
  }
  if (S.size() > 0x7FFF) S.resize(0x7FFF);
  TEmfPoint16 P = Pt(T.Reference);
  const UINT Opts = T.Options & (EtoOpaque | EtoClipped);
  FW.Begin(META_EXTTEXTOUT);
  FW.Short(P.y);
  FW.Short(P.x);
  FW.Short(SmallInt(S.size()));
  FW.Word16(Word(Opts));
  if (Opts) {
    TEmfPoint16 A = Pt(T.Rect.Left, T.Rect.Top), B = Pt(T.Rect.Right, T.Rect.Bottom);
    FW.Short(A.x);
    FW.Short(A.y);
    FW.Short(B.x);
    FW.Short(B.y);
  }
  FW.Bytes({reinterpret_cast<const Byte*>(S.data()), S.size()});
  if (HaveDx) {
    // Advances are rounded on their running sum so that the string keeps
    // its length.
    double Sum = 0;
    SmallInt Done = 0;
    for (std::size_t I = 0; I < S.size(); ++I) {
      Sum += Adv[I] * FMap.ScaleX() * FK;
      SmallInt Now = Clamp16(Sum);
      FW.Short(SmallInt(Now - Done));
      Done = Now;
    }
  }
  FW.End();
}

void TEmfToWmf::Blit(TRect Dest, TRect Src, DWORD Rop, const std::vector<Byte>& Bmi,
                     const std::vector<Byte>& Bits, DWORD Usage) {
  TEmfPoint16 A = Pt(Dest.Left, Dest.Top), B = Pt(Dest.Right, Dest.Bottom);
  if (Bmi.empty()) {
    FW.Begin(META_PATBLT);
    FW.Dword(Rop);
    FW.Short(SmallInt(B.y - A.y));
    FW.Short(SmallInt(B.x - A.x));
    FW.Short(A.y);
    FW.Short(A.x);
    FW.End();
    return;
  }
  FW.Begin(META_STRETCHDIB);
  FW.Dword(Rop);
  FW.Word16(Word(Usage));
  FW.Short(SmallInt(Src.Height()));
  FW.Short(SmallInt(Src.Width()));
  FW.Short(SmallInt(Src.Top));
  FW.Short(SmallInt(Src.Left));
  FW.Short(SmallInt(B.y - A.y));
  FW.Short(SmallInt(B.x - A.x));
  FW.Short(A.y);
  FW.Short(A.x);
  FW.Bytes(Bmi);
  FW.Bytes(Bits);
  FW.End();
}

void TEmfToWmf::FlushPath(bool Fill, bool Stroke) {
  if (Fill && !FPath.empty()) {
    FW.Begin(META_POLYPOLYGON);
    FW.Short(SmallInt(FPath.size()));
    for (const auto& F : FPath) FW.Short(SmallInt(F.size()));
    for (const auto& F : FPath)
      for (const TEmfPoint16& P : F) {
        FW.Short(P.x);
        FW.Short(P.y);
      }
    FW.End();
  } else if (Stroke) {
    for (const auto& F : FPath) PointsRecord(META_POLYLINE, F);
  }
  FPath.clear();
}

void TEmfToWmf::Convert(const TEmfRecord& R) {
  const DWORD T = R.Type();
  if (FMap.Apply(R)) {
    if (T == EMR_SAVEDC) FW.Record(META_SAVEDC, {});
    if (T == EMR_RESTOREDC) FW.Record(META_RESTOREDC, {SmallInt(Integer(TEmrDword::Read(R).Value))});
    return;  // coordinates are mapped here; the WMF keeps one mapping
  }
  auto AddFigure = [&](std::vector<TPoint> Ps, bool FromCurrent) {
    if (FromCurrent) Ps.insert(Ps.begin(), FCur);
    if (FPath.empty() || FromCurrent == false) FPath.emplace_back();
    for (const TPoint& P : Ps) FPath.back().push_back(Pt(P));
  };
  switch (T) {
    case EMR_SETBKMODE: FW.Record(META_SETBKMODE, {SmallInt(TEmrDword::Read(R).Value)}); break;
    case EMR_SETPOLYFILLMODE: FW.Record(META_SETPOLYFILLMODE, {SmallInt(TEmrDword::Read(R).Value)}); break;
    case EMR_SETROP2: FW.Record(META_SETROP2, {SmallInt(TEmrDword::Read(R).Value)}); break;
    case EMR_SETSTRETCHBLTMODE: FW.Record(META_SETSTRETCHBLTMODE, {SmallInt(TEmrDword::Read(R).Value)}); break;
    case EMR_SETTEXTALIGN: FW.Record(META_SETTEXTALIGN, {SmallInt(TEmrDword::Read(R).Value)}); break;
    case EMR_SETTEXTCOLOR:
    case EMR_SETBKCOLOR: {
      DWORD C = TEmrDword::Read(R).Value;
      FW.Begin(T == EMR_SETTEXTCOLOR ? META_SETTEXTCOLOR : META_SETBKCOLOR);
      FW.Dword(C);
      FW.End();
      break;
    }
    case EMR_SETMAPPERFLAGS: {
      FW.Begin(META_SETMAPPERFLAGS);
      FW.Dword(TEmrDword::Read(R).Value);
      FW.End();
      break;
    }
    case EMR_MOVETOEX: {
      FCur = TEmrPointL::Read(R).Pt;
      if (FInPath) {
        FPath.emplace_back();
        FPath.back().push_back(Pt(FCur));
      } else {
        TEmfPoint16 P = Pt(FCur);
        FW.Record(META_MOVETO, {P.y, P.x});
      }
      break;
    }
    case EMR_LINETO: {
      TPoint To = TEmrPointL::Read(R).Pt;
      if (FInPath) {
        if (FPath.empty()) FPath.push_back({Pt(FCur)});
        FPath.back().push_back(Pt(To));
      } else {
        TEmfPoint16 P = Pt(To);
        FW.Record(META_LINETO, {P.y, P.x});
      }
      FCur = To;
      break;
    }
    case EMR_RECTANGLE:
    case EMR_ELLIPSE: {
      TRect Box = TEmrRectL::Read(R).Rect;
      if (FInPath) {
        AddFigure({Box.TopLeft(), {Box.Right, Box.Top}, Box.BottomRight(), {Box.Left, Box.Bottom}}, false);
        break;
      }
      if (!FMap.AxisAligned()) {
        PointsRecord(META_POLYGON, Map({Box.TopLeft(), {Box.Right, Box.Top}, Box.BottomRight(), {Box.Left, Box.Bottom}}));
        break;
      }
      RectRecord(T == EMR_RECTANGLE ? META_RECTANGLE : META_ELLIPSE, Box);
      break;
    }
    case EMR_ROUNDRECT: {
      TEmrRoundRect X = TEmrRoundRect::Read(R);
      RectRecord(META_ROUNDRECT, X.Box, {LenY(X.Corner.cy), LenX(X.Corner.cx)});
      break;
    }
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_ARCTO: {
      TEmrArc X = TEmrArc::Read(R);
      TEmfPoint16 S = Pt(X.Start), E = Pt(X.End);
      if (T == EMR_ARCTO) {
        // FIXME: ArcTo's line runs to the arc's real start, not to the
        // radial's point; close for arcs whose start lies on the ellipse.
        FW.Record(META_LINETO, {S.y, S.x});
      }
      RectRecord(T == EMR_CHORD ? META_CHORD : T == EMR_PIE ? META_PIE : META_ARC, X.Box,
                 {E.y, E.x, S.y, S.x});
      if (T == EMR_ARCTO) {
        FW.Record(META_MOVETO, {E.y, E.x});
        FCur = X.End;
      }
      break;
    }
    case EMR_POLYLINE: case EMR_POLYLINE16: case EMR_POLYGON: case EMR_POLYGON16:
    case EMR_POLYLINETO: case EMR_POLYLINETO16: case EMR_POLYBEZIER: case EMR_POLYBEZIER16:
    case EMR_POLYBEZIERTO: case EMR_POLYBEZIERTO16: {
      TEmrPoly X = TEmrPoly::Read(R);
      if (X.Points.empty()) break;
      const bool To = T == EMR_POLYLINETO || T == EMR_POLYLINETO16 || T == EMR_POLYBEZIERTO ||
                      T == EMR_POLYBEZIERTO16;
      const bool Bez = T == EMR_POLYBEZIER || T == EMR_POLYBEZIER16 || T == EMR_POLYBEZIERTO ||
                       T == EMR_POLYBEZIERTO16;
      std::vector<TPoint> Ps = X.Points;
      TPoint Start = To ? FCur : Ps.front();
      if (Bez) {
        std::vector<TPoint> Rest = To ? Ps : std::vector<TPoint>(Ps.begin() + 1, Ps.end());
        Ps = Flatten(Start, Rest);
        Ps.insert(Ps.begin(), Start);
      } else if (To) {
        Ps.insert(Ps.begin(), Start);
      }
      if (FInPath) {
        if (To && !FPath.empty()) Ps.erase(Ps.begin());
        if (!To || FPath.empty()) FPath.emplace_back();
        for (const TPoint& P : Ps) FPath.back().push_back(Pt(P));
      } else {
        PointsRecord(T == EMR_POLYGON || T == EMR_POLYGON16 ? META_POLYGON : META_POLYLINE, Map(Ps));
        if (To) {
          TEmfPoint16 E = Pt(Ps.back());
          FW.Record(META_MOVETO, {E.y, E.x});
        }
      }
      if (To) FCur = X.Points.back();
      break;
    }
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYLINE16: case EMR_POLYPOLYGON: case EMR_POLYPOLYGON16: {
      TEmrPolyPoly X = TEmrPolyPoly::Read(R);
      const bool Gon = T == EMR_POLYPOLYGON || T == EMR_POLYPOLYGON16;
      std::size_t At = 0;
      if (Gon && !FInPath) {
        FW.Begin(META_POLYPOLYGON);
        FW.Short(SmallInt(X.Counts.size()));
        for (DWORD C : X.Counts) FW.Short(SmallInt(C));
        for (const TPoint& P : X.Points) {
          TEmfPoint16 Q = Pt(P);
          FW.Short(Q.x);
          FW.Short(Q.y);
        }
        FW.End();
        break;
      }
      for (DWORD C : X.Counts) {
        std::vector<TPoint> Part(X.Points.begin() + std::ptrdiff_t(At),
                                 X.Points.begin() + std::ptrdiff_t(At + C));
        At += C;
        if (FInPath)
          AddFigure(Part, false);
        else
          PointsRecord(META_POLYLINE, Map(Part));
      }
      break;
    }
    case EMR_POLYDRAW: case EMR_POLYDRAW16: {
      TEmrPolyDraw X = TEmrPolyDraw::Read(R);
      std::vector<TPoint> Run{FCur};
      auto Flush = [&] {
        if (Run.size() > 1) PointsRecord(META_POLYLINE, Map(Run));
      };
      for (std::size_t I = 0; I < X.Points.size(); ++I) {
        Byte Kind = X.Types[I] & 0x06;
        if (Kind == 0x06) {  // PT_MOVETO
          Flush();
          Run = {X.Points[I]};
        } else if (Kind == 0x04 && I + 2 < X.Points.size()) {  // PT_BEZIERTO
          auto F = Flatten(Run.back(), {X.Points[I], X.Points[I + 1], X.Points[I + 2]});
          Run.insert(Run.end(), F.begin(), F.end());
          I += 2;
        } else {
          Run.push_back(X.Points[I]);
        }
        if (X.Types[I] & 0x01) Run.push_back(Run.front());  // PT_CLOSEFIGURE
      }
      Flush();
      if (!X.Points.empty()) FCur = X.Points.back();
      break;
    }
    case EMR_SETPIXELV: {
      TEmrSetPixelV X = TEmrSetPixelV::Read(R);
      TEmfPoint16 P = Pt(X.Pt);
      FW.Begin(META_SETPIXEL);
      FW.Dword(X.Color);
      FW.Short(P.y);
      FW.Short(P.x);
      FW.End();
      break;
    }
    case EMR_CREATEPEN: {
      TEmrCreatePen X = TEmrCreatePen::Read(R);
      NewObject(X.ihPen);
      FW.Begin(META_CREATEPENINDIRECT);
      FW.Word16(Word(X.Style));
      FW.Short(X.Width.X ? std::max<SmallInt>(1, LenX(X.Width.X)) : 0);
      FW.Short(0);
      FW.Dword(X.Color);
      FW.End();
      break;
    }
    case EMR_EXTCREATEPEN: {
      TEmrExtCreatePen X = TEmrExtCreatePen::Read(R);
      NewObject(X.ihPen);
      const bool Geometric = X.PenStyle & 0x00010000;
      FW.Begin(META_CREATEPENINDIRECT);
      FW.Word16(Word(X.BrushStyle == 1 ? 5 : (X.PenStyle & 0x0F)));  // hollow brush: no line
      FW.Short(Geometric && X.Width ? std::max<SmallInt>(1, LenX(X.Width)) : 0);
      FW.Short(0);
      FW.Dword(X.Color);
      FW.End();
      break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
      TEmrCreateBrushIndirect X = TEmrCreateBrushIndirect::Read(R);
      NewObject(X.ihBrush);
      FW.Begin(META_CREATEBRUSHINDIRECT);
      FW.Word16(Word(X.Style));
      FW.Dword(X.Color);
      FW.Word16(Word(X.Hatch));
      FW.End();
      break;
    }
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT: {
      TEmrCreateDibBrush X = TEmrCreateDibBrush::Read(R);
      NewObject(X.ihBrush);
      FW.Begin(META_DIBCREATEPATTERNBRUSH);
      FW.Word16(5);  // BS_DIBPATTERN
      FW.Word16(Word(X.Usage));
      FW.Bytes(X.Bmi);
      FW.Bytes(X.Bits);
      FW.End();
      break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
      TEmrExtCreateFontIndirectW X = TEmrExtCreateFontIndirectW::Read(R);
      NewObject(X.ihFont);
      const TEmfLogFont& F = X.Font;
      FW.Begin(META_CREATEFONTINDIRECT);
      FW.Short(SmallInt(F.Height < 0 ? -LenY(-F.Height) : LenY(F.Height)));
      FW.Short(LenX(F.Width));
      FW.Short(SmallInt(F.Escapement));
      FW.Short(SmallInt(F.Orientation));
      FW.Short(SmallInt(F.Weight));
      Byte Tail[8] = {F.Italic, F.Underline, F.StrikeOut, F.CharSet,
                      F.OutPrecision, F.ClipPrecision, F.Quality, F.PitchAndFamily};
      FW.Bytes(Tail);
      std::string Face;
      for (char16_t C : F.FaceName) Face += CharToWmf(std::u16string_view(&C, 1), F.CharSet);
      Face.resize(32, 0);
      Face[31] = 0;
      FW.Bytes({reinterpret_cast<const Byte*>(Face.data()), Face.size()});
      FW.End();
      FFontCharsets[X.ihFont] = F.CharSet;
      break;
    }
    case EMR_SELECTOBJECT: {
      DWORD I = TEmrDword::Read(R).Value;
      if (I & ENHMETA_STOCK_OBJECT) {
        SelectStock(I & 0x7FFFFFFF);
        if ((I & 0x7FFFFFFF) >= 10 && (I & 0x7FFFFFFF) <= 17) FCharset = 0;
      } else if (auto It = FObjects.find(I); It != FObjects.end()) {
        FW.Record(META_SELECTOBJECT, {SmallInt(It->second)});
        if (auto C = FFontCharsets.find(I); C != FFontCharsets.end()) FCharset = C->second;
      }
      break;
    }
    case EMR_DELETEOBJECT: DropObject(TEmrDword::Read(R).Value); break;
    case EMR_EXTTEXTOUTW:
    case EMR_EXTTEXTOUTA: Text(TEmrExtTextOut::Read(R)); break;
    case EMR_BITBLT:
    case EMR_STRETCHBLT: {
      TEmrBitBlt X = TEmrBitBlt::Read(R);
      const bool Stretch = T == EMR_STRETCHBLT;
      Blit(Bounds(X.xDest, X.yDest, X.cxDest, X.cyDest),
           Bounds(X.xSrc, X.ySrc, Stretch ? X.cxSrc : X.cxDest, Stretch ? X.cySrc : X.cyDest), X.Rop,
           X.Bmi, X.Bits, X.UsageSrc);
      break;
    }
    case EMR_STRETCHDIBITS: {
      TEmrStretchDIBits X = TEmrStretchDIBits::Read(R);
      Blit(Bounds(X.xDest, X.yDest, X.cxDest, X.cyDest), Bounds(X.xSrc, X.ySrc, X.cxSrc, X.cySrc),
           X.Rop, X.Bmi, X.Bits, X.Usage);
      break;
    }
    case EMR_SETDIBITSTODEVICE: {
      TEmrSetDIBitsToDevice X = TEmrSetDIBitsToDevice::Read(R);
      Blit(Bounds(X.xDest, X.yDest, X.cxSrc, X.cySrc), Bounds(X.xSrc, X.ySrc, X.cxSrc, X.cySrc),
           0x00CC0020, X.Bmi, X.Bits, X.Usage);
      break;
    }
    case EMR_INTERSECTCLIPRECT:
    case EMR_EXCLUDECLIPRECT:
      RectRecord(T == EMR_INTERSECTCLIPRECT ? META_INTERSECTCLIPRECT : META_EXCLUDECLIPRECT,
                 TEmrRectL::Read(R).Rect);
      break;
    case EMR_EXTSELECTCLIPRGN: {
      TEmrExtSelectClipRgn X = TEmrExtSelectClipRgn::Read(R);
      // FIXME: combine modes other than RGN_COPY replace the clip here.
      if (X.HasRegion) {
        SelectRegion(X.Region.Rects);
      } else {
        // Back to the whole picture.
        double L = FOrg.x / FK, Tp = FOrg.y / FK;
        SelectRegion({TRect(Integer(L) - 1, Integer(Tp) - 1, Integer(L + FExt.x / FK) + 2,
                            Integer(Tp + FExt.y / FK) + 2)});
      }
      break;
    }
    case EMR_BEGINPATH: FInPath = true; FPath.clear(); break;
    case EMR_ENDPATH: FInPath = false; break;
    case EMR_ABORTPATH: FInPath = false; FPath.clear(); break;
    case EMR_CLOSEFIGURE:
      if (!FPath.empty() && !FPath.back().empty()) FPath.back().push_back(FPath.back().front());
      break;
    case EMR_FILLPATH: FlushPath(true, false); break;
    case EMR_STROKEANDFILLPATH: FlushPath(true, true); break;
    case EMR_STROKEPATH: FlushPath(false, true); break;
    case EMR_SELECTCLIPPATH: {
      // The path's bounding box: WMF clip regions are rectangle lists.
      TRect B;
      bool Any = false;
      for (const auto& F : FPath)
        for (const TEmfPoint16& P : F) {
          if (!Any) B = {P.x, P.y, P.x, P.y};
          B = {std::min<Integer>(B.Left, P.x), std::min<Integer>(B.Top, P.y),
               std::max<Integer>(B.Right, P.x), std::max<Integer>(B.Bottom, P.y)};
          Any = true;
        }
      FPath.clear();
      if (Any) FW.Record(META_INTERSECTCLIPRECT, {SmallInt(B.Bottom), SmallInt(B.Right), SmallInt(B.Top), SmallInt(B.Left)});
      break;
    }
    default:
      break;  // headers, comments, palettes and colour management have no WMF form
  }
}

// ---- WMF -> EMF -------------------------------------------------------------

struct TWmfParsed {
  std::size_t Start = 0;          // first byte of the 18-byte header
  bool Placeable = false;
  TRect PlaceBox;
  Word Inch = 0;
};

TWmfParsed ParseWmfHeader(std::span<const Byte> B) {
  TWmfParsed P;
  TEmfReader R(B);
  if (B.size() >= 22 && EmfGetDword(B.data()) == WMF_PLACEABLE_KEY) {
    R.Seek(6);
    P.PlaceBox.Left = R.ReadShort();
    P.PlaceBox.Top = R.ReadShort();
    P.PlaceBox.Right = R.ReadShort();
    P.PlaceBox.Bottom = R.ReadShort();
    P.Inch = R.ReadWord();
    P.Placeable = true;
    P.Start = 22;
  }
  if (B.size() < P.Start + 18) throw EEmfError("Windows metafile shorter than its header");
  R.Seek(P.Start);
  Word Type = R.ReadWord();
  Word HeaderWords = R.ReadWord();
  if ((Type != 1 && Type != 2) || HeaderWords != WmfHeaderWords)
    throw EEmfError("Not a Windows metafile");
  return P;
}

class TWmfToEmf {
public:
  explicit TWmfToEmf(const TMetafileReference& Ref) : FRef(Ref) {}
  std::vector<Byte> Run(std::span<const Byte> Wmf, const METAFILEPICT* Pict);

private:
  void Record(Word Function, TEmfReader& R, std::size_t End);
  TRect Rect4(TEmfReader& R) {
    // bottom, right, top, left
    SmallInt B = R.ReadShort(), Rt = R.ReadShort(), T = R.ReadShort(), L = R.ReadShort();
    return {L, T, Rt, B};
  }
  TPoint PointYX(TEmfReader& R) {
    SmallInt Y = R.ReadShort();
    return {R.ReadShort(), Y};
  }
  DWORD NewSlot() {
    for (std::size_t I = 0; I < FSlots.size(); ++I)
      if (!FSlots[I]) {
        FSlots[I] = true;
        return DWORD(I);
      }
    if (FSlots.size() >= 0xFFFE) throw EEmfError("Windows metafile uses too many objects");
    FSlots.push_back(true);
    return DWORD(FSlots.size() - 1);
  }
  void DeleteSlot(DWORD Slot) {
    if (Slot >= FSlots.size() || !FSlots[Slot]) return;
    FSlots[Slot] = false;
    if (FRegions.erase(Slot) == 0) FB.Add(TEmrDword{EMR_DELETEOBJECT, Slot + 1});
  }
  std::vector<Byte> Dib(TEmfReader& R, std::size_t End, std::vector<Byte>& Bits);
  void SelectClipRegion(Word Slot);
  void Text(TPoint At, UINT Options, const TRect& Rect, const std::string& S, std::vector<Integer> Dx);

  TMetafileReference FRef;
  TEmfBuilder FB;
  std::vector<bool> FSlots;
  std::map<DWORD, std::vector<TRect>> FRegions;  // region objects by slot
  std::map<DWORD, BYTE> FCharsets;               // font charsets by slot
  BYTE FCharset = 0;                             // of the selected font
  TRect FBounds;
};

std::vector<Byte> TWmfToEmf::Dib(TEmfReader& R, std::size_t End, std::vector<Byte>& Bits) {
  // A packed DIB: the info block (header plus colour table) then the bits.
  std::size_t Start = R.Position();
  if (End - Start < 40) throw EEmfError("Windows metafile bitmap too short");
  std::size_t InfoSize = 0;
  try {
    InfoSize = DibInfoSize(R.Slice(Start, End - Start).data(), End - Start, DIB_RGB_COLORS);
  } catch (const EEmfError&) {
    throw;
  } catch (const Exception& E) {
    throw EEmfError("Windows metafile bitmap: " + E.Message());
  }
  if (InfoSize == 0 || InfoSize > End - Start) throw EEmfError("Windows metafile bitmap header is bad");
  std::vector<Byte> Bmi = R.ReadBytes(InfoSize);
  Bits = R.ReadBytes(End - R.Position());
  return Bmi;
}

void TWmfToEmf::SelectClipRegion(Word Slot) {
  auto It = FRegions.find(Slot);
  TEmrExtSelectClipRgn X;
  // FIXME: region coordinates are logical in a WMF, device units in an
  // EMF; they agree while the mapping is the identity.
  if (It != FRegions.end() && !It->second.empty()) {
    X.HasRegion = true;
    X.Region.Rects = It->second;
    TRect& B = X.Region.Bound;
    B = It->second.front();
    for (const TRect& Rc : It->second)
      B = {std::min(B.Left, Rc.Left), std::min(B.Top, Rc.Top), std::max(B.Right, Rc.Right),
           std::max(B.Bottom, Rc.Bottom)};
  }
  FB.Add(X);
}

void TWmfToEmf::Text(TPoint At, UINT Options, const TRect& Rect, const std::string& S,
                     std::vector<Integer> Dx) {
  TEmrExtTextOut T;
  T.Reference = At;
  T.Options = Options;
  T.Rect = Rect;
  T.Bounds = FBounds;
  // Character by character, so that the advances of a character's bytes add up.
  const UINT Cp = FCharset == SymbolCharset ? 0 : CodePageFromCharset(FCharset);
  for (std::size_t I = 0; I < S.size();) {
    std::size_t Len = Cp && I + 1 < S.size() && IsDBCSLeadByteEx(Cp, Byte(S[I])) ? 2 : 1;
    WideString W = TextFromWmf(std::string_view(S).substr(I, Len), FCharset);
    Integer A = 0;
    for (std::size_t K = 0; K < Len && I + K < Dx.size(); ++K) A += Dx[I + K];
    for (std::size_t K = 0; K < W.size(); ++K) {
      T.Text.push_back(W[K]);
      if (!Dx.empty()) T.Dx.push_back(K == 0 ? A : 0);
    }
    I += Len;
  }
  FB.Add(T);
}

void TWmfToEmf::Record(Word F, TEmfReader& R, std::size_t End) {
  auto Dw = [&](DWORD Type) { FB.Add(TEmrDword{Type, DWORD(R.ReadShort())}); };
  switch (F) {
    case META_SETBKMODE: Dw(EMR_SETBKMODE); break;
    case META_SETMAPMODE: Dw(EMR_SETMAPMODE); break;
    case META_SETROP2: Dw(EMR_SETROP2); break;
    case META_SETPOLYFILLMODE: Dw(EMR_SETPOLYFILLMODE); break;
    case META_SETSTRETCHBLTMODE: Dw(EMR_SETSTRETCHBLTMODE); break;
    case META_SETTEXTALIGN: FB.Add(TEmrDword{EMR_SETTEXTALIGN, R.ReadWord()}); break;
    case META_SETBKCOLOR: FB.Add(TEmrDword{EMR_SETBKCOLOR, R.ReadDword()}); break;
    case META_SETTEXTCOLOR: FB.Add(TEmrDword{EMR_SETTEXTCOLOR, R.ReadDword()}); break;
    case META_SETMAPPERFLAGS: FB.Add(TEmrDword{EMR_SETMAPPERFLAGS, R.ReadDword()}); break;
    case META_SAVEDC: FB.Add(TEmrNoParams{EMR_SAVEDC}); break;
    case META_RESTOREDC: FB.Add(TEmrDword{EMR_RESTOREDC, DWORD(Integer(R.ReadShort()))}); break;
    case META_SETWINDOWORG: FB.Add(TEmrPointL{EMR_SETWINDOWORGEX, PointYX(R)}); break;
    case META_SETWINDOWEXT: FB.Add(TEmrPointL{EMR_SETWINDOWEXTEX, PointYX(R)}); break;
    case META_SETVIEWPORTORG: FB.Add(TEmrPointL{EMR_SETVIEWPORTORGEX, PointYX(R)}); break;
    case META_SETVIEWPORTEXT: FB.Add(TEmrPointL{EMR_SETVIEWPORTEXTEX, PointYX(R)}); break;
    case META_SCALEWINDOWEXT:
    case META_SCALEVIEWPORTEXT: {
      TEmrScaleExt X;
      X.Type = F == META_SCALEWINDOWEXT ? EMR_SCALEWINDOWEXTEX : EMR_SCALEVIEWPORTEXTEX;
      X.yDenom = R.ReadShort();
      X.yNum = R.ReadShort();
      X.xDenom = R.ReadShort();
      X.xNum = R.ReadShort();
      FB.Add(X);
      break;
    }
    case META_MOVETO: FB.Add(TEmrPointL{EMR_MOVETOEX, PointYX(R)}); break;
    case META_LINETO: FB.Add(TEmrPointL{EMR_LINETO, PointYX(R)}); break;
    case META_RECTANGLE: FB.Add(TEmrRectL{EMR_RECTANGLE, Rect4(R)}); break;
    case META_ELLIPSE: FB.Add(TEmrRectL{EMR_ELLIPSE, Rect4(R)}); break;
    case META_INTERSECTCLIPRECT: FB.Add(TEmrRectL{EMR_INTERSECTCLIPRECT, Rect4(R)}); break;
    case META_EXCLUDECLIPRECT: FB.Add(TEmrRectL{EMR_EXCLUDECLIPRECT, Rect4(R)}); break;
    case META_ROUNDRECT: {
      SmallInt H = R.ReadShort(), W = R.ReadShort();
      FB.Add(TEmrRoundRect{Rect4(R), {W, H}});
      break;
    }
    case META_ARC:
    case META_CHORD:
    case META_PIE: {
      TPoint E = PointYX(R), S = PointYX(R);
      FB.Add(TEmrArc{F == META_ARC ? EMR_ARC : F == META_CHORD ? EMR_CHORD : EMR_PIE, Rect4(R), S, E});
      break;
    }
    case META_POLYGON:
    case META_POLYLINE: {
      TEmrPoly X;
      X.Type = F == META_POLYGON ? EMR_POLYGON16 : EMR_POLYLINE16;
      X.Bounds = FBounds;
      SmallInt N = R.ReadShort();
      R.CheckCount(std::max<SmallInt>(N, 0), 4);
      for (SmallInt I = 0; I < N; ++I) {
        SmallInt Xc = R.ReadShort();
        X.Points.push_back({Xc, R.ReadShort()});
      }
      FB.Add(X);
      break;
    }
    case META_POLYPOLYGON: {
      TEmrPolyPoly X;
      X.Bounds = FBounds;
      Word N = R.ReadWord();
      R.CheckCount(N, 2);
      std::size_t Total = 0;
      for (Word I = 0; I < N; ++I) {
        X.Counts.push_back(R.ReadWord());
        Total += X.Counts.back();
      }
      R.CheckCount(Total, 4);
      for (std::size_t I = 0; I < Total; ++I) {
        SmallInt Xc = R.ReadShort();
        X.Points.push_back({Xc, R.ReadShort()});
      }
      FB.Add(X);
      break;
    }
    case META_SETPIXEL: {
      TEmrSetPixelV X;
      X.Color = R.ReadDword();
      X.Pt = PointYX(R);
      FB.Add(X);
      break;
    }
    case META_CREATEPENINDIRECT: {
      TEmrCreatePen X;
      X.ihPen = NewSlot() + 1;
      X.Style = R.ReadWord();
      X.Width = {R.ReadShort(), 0};
      R.ReadShort();
      X.Color = R.ReadDword();
      FB.Add(X, X.ihPen);
      break;
    }
    case META_CREATEBRUSHINDIRECT: {
      TEmrCreateBrushIndirect X;
      X.ihBrush = NewSlot() + 1;
      X.Style = R.ReadWord();
      X.Color = R.ReadDword();
      X.Hatch = R.ReadWord();
      FB.Add(X, X.ihBrush);
      break;
    }
    case META_DIBCREATEPATTERNBRUSH: {
      TEmrCreateDibBrush X;
      X.ihBrush = NewSlot() + 1;
      R.ReadWord();  // style
      X.Usage = R.ReadWord();
      X.Bmi = Dib(R, End, X.Bits);
      FB.Add(X, X.ihBrush);
      break;
    }
    case META_CREATEFONTINDIRECT: {
      TEmrExtCreateFontIndirectW X;
      X.ihFont = NewSlot() + 1;
      TEmfLogFont& Fn = X.Font;
      Fn.Height = R.ReadShort();
      Fn.Width = R.ReadShort();
      Fn.Escapement = R.ReadShort();
      Fn.Orientation = R.ReadShort();
      Fn.Weight = R.ReadShort();
      for (Byte* B : {&Fn.Italic, &Fn.Underline, &Fn.StrikeOut, &Fn.CharSet, &Fn.OutPrecision,
                      &Fn.ClipPrecision, &Fn.Quality, &Fn.PitchAndFamily})
        *B = R.ReadByte();
      std::string Face;
      while (R.Position() < End && Face.size() < 31) {
        Byte C = R.ReadByte();
        if (!C) break;
        Face.push_back(char(C));
      }
      Fn.FaceName = TextFromWmf(Face, Fn.CharSet).substr(0, 31);
      FCharsets[X.ihFont - 1] = Fn.CharSet;
      FB.Add(X, X.ihFont);
      break;
    }
    case META_CREATEPALETTE:
    case META_CREATEPATTERNBRUSH:
      // Objects we do not convert still take their slot, so later indexes match.
      FRegions[NewSlot()] = {};
      break;
    case META_CREATEREGION: {
      DWORD Slot = NewSlot();
      std::vector<TRect>& Rects = FRegions[Slot];
      R.Skip(10);  // chain, type, count, size
      Word Scans = R.ReadWord();
      R.Skip(10);  // max scan, bounding box
      for (Word S = 0; S < Scans; ++S) {
        Word Count = R.ReadWord();
        SmallInt T = R.ReadShort(), B = R.ReadShort();
        R.CheckCount(Count / 2, 4);
        for (Word I = 0; I + 1 < Count; I += 2) {
          SmallInt L = R.ReadShort(), Rt = R.ReadShort();
          Rects.push_back({L, T, Rt, B});
        }
        R.ReadWord();
      }
      break;
    }
    case META_SELECTCLIPREGION: SelectClipRegion(R.ReadWord()); break;
    case META_SELECTOBJECT: {
      Word Slot = R.ReadWord();
      if (Slot < FSlots.size() && FSlots[Slot] && !FRegions.count(Slot)) {
        FB.Add(TEmrDword{EMR_SELECTOBJECT, DWORD(Slot) + 1});
        if (auto C = FCharsets.find(Slot); C != FCharsets.end()) FCharset = C->second;
      }
      else if (FRegions.count(Slot))
        SelectClipRegion(Slot);
      break;
    }
    case META_DELETEOBJECT: DeleteSlot(R.ReadWord()); break;
    case META_TEXTOUT: {
      SmallInt N = R.ReadShort();
      std::vector<Byte> S = R.ReadBytes(std::max<SmallInt>(N, 0));
      if (N % 2) R.ReadByte();
      TPoint At = PointYX(R);
      Text(At, 0, {}, std::string(S.begin(), S.end()), {});
      break;
    }
    case META_EXTTEXTOUT: {
      TPoint At = PointYX(R);
      SmallInt N = std::max<SmallInt>(R.ReadShort(), 0);
      Word Opts = R.ReadWord();
      TRect Rc;
      if (Opts & (EtoOpaque | EtoClipped)) {
        Rc.Left = R.ReadShort();
        Rc.Top = R.ReadShort();
        Rc.Right = R.ReadShort();
        Rc.Bottom = R.ReadShort();
      }
      std::vector<Byte> S = R.ReadBytes(std::size_t(N));
      if (N % 2) R.ReadByte();
      std::vector<Integer> Dx;
      if (End - R.Position() >= std::size_t(N) * 2)
        for (SmallInt I = 0; I < N; ++I) Dx.push_back(R.ReadShort());
      Text(At, Opts, Rc, std::string(S.begin(), S.end()), Dx);
      break;
    }
    case META_PATBLT: {
      TEmrBitBlt X;
      X.Rop = R.ReadDword();
      X.cyDest = R.ReadShort();
      X.cxDest = R.ReadShort();
      X.yDest = R.ReadShort();
      X.xDest = R.ReadShort();
      X.Bounds = FBounds;
      FB.Add(X);
      break;
    }
    case META_DIBBITBLT:
    case META_DIBSTRETCHBLT:
    case META_STRETCHDIB: {
      const bool Stretch = F != META_DIBBITBLT;
      const std::size_t ParamWords = (End - R.Position()) / 2;
      DWORD Rop = R.ReadDword();
      Word Usage = DIB_RGB_COLORS;
      if (F == META_STRETCHDIB) Usage = R.ReadWord();
      Integer SrcH = 0, SrcW = 0;
      if (Stretch) {
        SrcH = R.ReadShort();
        SrcW = R.ReadShort();
      }
      Integer YSrc = R.ReadShort(), XSrc = R.ReadShort();
      // The blit forms without a bitmap have a reserved word here.
      const bool NoBitmap = F != META_STRETCHDIB && ParamWords == (Stretch ? 11u : 9u);
      if (NoBitmap) R.ReadShort();
      Integer H = R.ReadShort(), W = R.ReadShort(), Y = R.ReadShort(), X = R.ReadShort();
      if (!Stretch) {
        SrcW = W;
        SrcH = H;
      }
      if (NoBitmap) {
        TEmrBitBlt B;
        B.Bounds = FBounds;
        B.xDest = X; B.yDest = Y; B.cxDest = W; B.cyDest = H;
        B.Rop = Rop;
        FB.Add(B);
        break;
      }
      TEmrStretchDIBits D;
      D.Bounds = FBounds;
      D.xDest = X; D.yDest = Y; D.cxDest = W; D.cyDest = H;
      D.xSrc = XSrc; D.ySrc = YSrc; D.cxSrc = SrcW; D.cySrc = SrcH;
      D.Usage = Usage;
      D.Rop = Rop;
      D.Bmi = Dib(R, End, D.Bits);
      FB.Add(D);
      break;
    }
    case META_SETDIBTODEV: {
      TEmrSetDIBitsToDevice D;
      D.Bounds = FBounds;
      D.Usage = R.ReadWord();
      D.Scans = R.ReadWord();
      D.StartScan = R.ReadWord();
      D.ySrc = R.ReadShort();
      D.xSrc = R.ReadShort();
      D.cySrc = R.ReadShort();
      D.cxSrc = R.ReadShort();
      D.yDest = R.ReadShort();
      D.xDest = R.ReadShort();
      D.Bmi = Dib(R, End, D.Bits);
      FB.Add(D);
      break;
    }
    default:
      break;  // escapes, palettes and the old device-dependent blits are not drawn
  }
}

std::vector<Byte> TWmfToEmf::Run(std::span<const Byte> Wmf, const METAFILEPICT* Pict) {
  TWmfParsed P = ParseWmfHeader(Wmf);
  // Size of the picture: from the caller's METAFILEPICT, the placeable
  // header, or the window extent the WMF sets, in that order.
  TSize Logical;
  TPoint LogicalOrg;
  double MmX = 0, MmY = 0;  // .01 mm
  if (P.Placeable) {
    LogicalOrg = P.PlaceBox.TopLeft();
    Logical = {P.PlaceBox.Width(), P.PlaceBox.Height()};
    Word Inch = P.Inch ? P.Inch : 1440;
    MmX = std::fabs(Logical.cx) * 2540.0 / Inch;
    MmY = std::fabs(Logical.cy) * 2540.0 / Inch;
  }
  std::size_t Pos = P.Start + 18;
  // Pre-scan for the window the WMF sets.
  for (std::size_t Q = Pos; Wmf.size() - Q >= 6;) {
    DWORD Words = EmfGetDword(Wmf.data() + Q);
    Word Fn = ByteOrder::ReadLE16(Wmf.data() + Q + 4);
    if (Words < 3 || Words > (Wmf.size() - Q) / 2 || Fn == META_EOF) break;
    if (Words >= 5 && (Fn == META_SETWINDOWEXT || Fn == META_SETWINDOWORG)) {
      TEmfReader R(Wmf.subspan(Q + 6, 4));
      SmallInt Y = R.ReadShort(), X = R.ReadShort();
      if (Fn == META_SETWINDOWEXT && !P.Placeable) Logical = {X, Y};
      if (Fn == META_SETWINDOWORG && !P.Placeable) LogicalOrg = {X, Y};
    }
    Q += std::size_t(Words) * 2;
  }
  const double PxPerMm100X = double(FRef.Pixels.cx) / FRef.Millimeters.cx / 100;
  const double PxPerMm100Y = double(FRef.Pixels.cy) / FRef.Millimeters.cy / 100;
  if (Pict && (Pict->mm == MmAnisotropic || Pict->mm == MmIsotropic) && Pict->xExt > 0 && Pict->yExt > 0) {
    MmX = Pict->xExt;
    MmY = Pict->yExt;
  }
  if (MmX <= 0 || MmY <= 0) {
    // Window extent taken as reference-device pixels.
    MmX = std::max(1, std::abs(Logical.cx)) / PxPerMm100X;
    MmY = std::max(1, std::abs(Logical.cy)) / PxPerMm100Y;
  }
  const Integer DevW = std::max(1, Integer(std::lround(MmX * PxPerMm100X)));
  const Integer DevH = std::max(1, Integer(std::lround(MmY * PxPerMm100Y)));
  FBounds = {0, 0, DevW - 1, DevH - 1};
  const int Mode = Pict && Pict->mm >= 1 && Pict->mm <= 8 ? Pict->mm : MmAnisotropic;
  FB.Add(TEmrDword{EMR_SETMAPMODE, DWORD(Mode)});
  if (Mode == MmAnisotropic || Mode == MmIsotropic) {
    if (Logical.cx != 0 && Logical.cy != 0) {
      FB.Add(TEmrPointL{EMR_SETWINDOWORGEX, LogicalOrg});
      FB.Add(TEmrPointL{EMR_SETWINDOWEXTEX, {Logical.cx, Logical.cy}});
    }
    FB.Add(TEmrPointL{EMR_SETVIEWPORTORGEX, {0, 0}});
    FB.Add(TEmrPointL{EMR_SETVIEWPORTEXTEX, {DevW, DevH}});
  }
  while (Wmf.size() - Pos >= 6) {
    DWORD Words = EmfGetDword(Wmf.data() + Pos);
    Word Fn = ByteOrder::ReadLE16(Wmf.data() + Pos + 4);
    if (Words < 3 || Words > (Wmf.size() - Pos) / 2)
      throw EEmfError("Windows metafile record at " + std::to_string(Pos) + " has a bad size");
    if (Fn == META_EOF) break;
    const std::size_t End = Pos + std::size_t(Words) * 2;
    TEmfReader R(Wmf.data(), End);
    R.Seek(Pos + 6);
    Record(Fn, R, End);
    Pos = End;
  }
  TEmrHeader H;
  H.Bounds = FBounds;
  H.Frame = {0, 0, Integer(std::lround(MmX)) - 1, Integer(std::lround(MmY)) - 1};
  H.Device = FRef.Pixels;
  H.Millimeters = FRef.Millimeters;
  H.Micrometers = {FRef.Millimeters.cx * 1000, FRef.Millimeters.cy * 1000};
  return FB.Finish(H);
}

}  // namespace

std::vector<Byte> EmfToWmf(std::span<const Byte> Emf, int MapMode) {
  EmfValidate(Emf);
  TEmfToWmf C(EmfReadHeader(Emf), MapMode);
  EmfForEachRecord(Emf, [&](const TEmfRecord& R) {
    C.Convert(R);
    return true;
  });
  return C.Finish();
}

std::vector<Byte> WmfToEmf(std::span<const Byte> Wmf, const METAFILEPICT* Pict,
                           const TMetafileReference& Ref) {
  return TWmfToEmf(Ref).Run(Wmf, Pict);
}

UINT GetWinMetaFileBits(HENHMETAFILE Mf, UINT Size, BYTE* Data, int MapMode, HDC Ref) {
  (void)Ref;  // the metafile's own reference device places the picture
  auto Bytes = EmfBytes(Mf);
  if (!Bytes) return 0;
  std::vector<Byte> W;
  try {
    W = EmfToWmf(*Bytes, MapMode);
  } catch (const EEmfError&) {
    return 0;
  }
  if (!Data) return UINT(W.size());
  if (Size < W.size()) return 0;
  std::memcpy(Data, W.data(), W.size());
  return UINT(W.size());
}

HENHMETAFILE SetWinMetaFileBits(UINT Size, const BYTE* Data, HDC Ref, const METAFILEPICT* Pict) {
  if (!Data) return nullptr;
  // The picture is made for the reference device (the screen without one).
  HDC Dc = Ref ? Ref : CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  TMetafileReference R;
  R.Pixels = {GetDeviceCaps(Dc, HORZRES), GetDeviceCaps(Dc, VERTRES)};
  R.Millimeters = {GetDeviceCaps(Dc, HORZSIZE), GetDeviceCaps(Dc, VERTSIZE)};
  if (!Ref) DeleteDC(Dc);
  if (R.Pixels.cx <= 0 || R.Pixels.cy <= 0 || R.Millimeters.cx <= 0 || R.Millimeters.cy <= 0) return nullptr;
  try {
    return EmfCreateHandle(WmfToEmf({Data, Size}, Pict, R));
  } catch (const EEmfError&) {
    return nullptr;
  }
}
