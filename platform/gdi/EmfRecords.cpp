#include "platform/gdi/EmfRecords.h"
#include "platform/rtl/ByteOrder.h"

#include <cstdio>
#include <string>

TEmfRecord::TEmfRecord(const Byte* Data, std::size_t Size) : FData(Data), FSize(Size) {
  if (Size < 8 || Size % 4 != 0)
    throw EEmfError("Metafile record of " + std::to_string(Size) + " bytes");
  FType = EmfGetDword(Data);
  if (EmfGetDword(Data + 4) != Size)
    throw EEmfError("Metafile record size field disagrees with its span");
}

TEmfRecord::TEmfRecord(const ENHMETARECORD* Rec)
    : TEmfRecord(reinterpret_cast<const Byte*>(Rec),
                 EmfGetDword(reinterpret_cast<const Byte*>(Rec) + 4)) {}

TEmfReader TEmfRecord::Params() const {
  TEmfReader R(FData, FSize);
  R.Seek(8);
  return R;
}

bool EmfIs16BitPointRecord(DWORD Type) {
  return Type >= EMR_POLYBEZIER16 && Type <= EMR_POLYDRAW16;
}

std::string EmfRecordName(DWORD Type) {
  static const char* const Names[] = {
      nullptr, "HEADER", "POLYBEZIER", "POLYGON", "POLYLINE", "POLYBEZIERTO", "POLYLINETO",
      "POLYPOLYLINE", "POLYPOLYGON", "SETWINDOWEXTEX", "SETWINDOWORGEX", "SETVIEWPORTEXTEX",
      "SETVIEWPORTORGEX", "SETBRUSHORGEX", "EOF", "SETPIXELV", "SETMAPPERFLAGS", "SETMAPMODE",
      "SETBKMODE", "SETPOLYFILLMODE", "SETROP2", "SETSTRETCHBLTMODE", "SETTEXTALIGN",
      "SETCOLORADJUSTMENT", "SETTEXTCOLOR", "SETBKCOLOR", "OFFSETCLIPRGN", "MOVETOEX",
      "SETMETARGN", "EXCLUDECLIPRECT", "INTERSECTCLIPRECT", "SCALEVIEWPORTEXTEX",
      "SCALEWINDOWEXTEX", "SAVEDC", "RESTOREDC", "SETWORLDTRANSFORM", "MODIFYWORLDTRANSFORM",
      "SELECTOBJECT", "CREATEPEN", "CREATEBRUSHINDIRECT", "DELETEOBJECT", "ANGLEARC", "ELLIPSE",
      "RECTANGLE", "ROUNDRECT", "ARC", "CHORD", "PIE", "SELECTPALETTE", "CREATEPALETTE",
      "SETPALETTEENTRIES", "RESIZEPALETTE", "REALIZEPALETTE", "EXTFLOODFILL", "LINETO", "ARCTO",
      "POLYDRAW", "SETARCDIRECTION", "SETMITERLIMIT", "BEGINPATH", "ENDPATH", "CLOSEFIGURE",
      "FILLPATH", "STROKEANDFILLPATH", "STROKEPATH", "FLATTENPATH", "WIDENPATH",
      "SELECTCLIPPATH", "ABORTPATH", nullptr, "GDICOMMENT", "FILLRGN", "FRAMERGN", "INVERTRGN",
      "PAINTRGN", "EXTSELECTCLIPRGN", "BITBLT", "STRETCHBLT", "MASKBLT", "PLGBLT",
      "SETDIBITSTODEVICE", "STRETCHDIBITS", "EXTCREATEFONTINDIRECTW", "EXTTEXTOUTA",
      "EXTTEXTOUTW", "POLYBEZIER16", "POLYGON16", "POLYLINE16", "POLYBEZIERTO16",
      "POLYLINETO16", "POLYPOLYLINE16", "POLYPOLYGON16", "POLYDRAW16", "CREATEMONOBRUSH",
      "CREATEDIBPATTERNBRUSHPT", "EXTCREATEPEN", "POLYTEXTOUTA", "POLYTEXTOUTW", "SETICMMODE"};
  if (Type < std::size(Names) && Names[Type]) return Names[Type];
  switch (Type) {
    case EMR_ALPHABLEND: return "ALPHABLEND";
    case EMR_TRANSPARENTBLT: return "TRANSPARENTBLT";
    case EMR_GRADIENTFILL: return "GRADIENTFILL";
    default: return std::to_string(Type);
  }
}

namespace {

// Bitmaps embedded in a record: four DWORDs (offBmi, cbBmi, offBits, cbBits)
// in the fixed part, the data after it; offsets count from the record start.
class TDibFields {
public:
  void Reserve(TEmfWriter& W) {
    FPos = W.Position();
    W.WriteZeros(16);
  }
  void Append(TEmfWriter& W, std::size_t Start, const std::vector<Byte>& Bmi,
              const std::vector<Byte>& Bits) const {
    if (!Bmi.empty()) {
      W.Pad4();
      W.PatchDword(FPos, DWORD(W.Position() - Start));
      W.PatchDword(FPos + 4, DWORD(Bmi.size()));
      W.WriteBytes(Bmi);
    }
    if (!Bits.empty()) {
      W.Pad4();
      W.PatchDword(FPos + 8, DWORD(W.Position() - Start));
      W.PatchDword(FPos + 12, DWORD(Bits.size()));
      W.WriteBytes(Bits);
    }
  }

private:
  std::size_t FPos = 0;
};

struct TDibRefs {
  DWORD offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0;
  static TDibRefs Read(TEmfReader& R) {
    TDibRefs D;
    D.offBmi = R.ReadDword();
    D.cbBmi = R.ReadDword();
    D.offBits = R.ReadDword();
    D.cbBits = R.ReadDword();
    return D;
  }
  void Load(const TEmfRecord& Rec, std::vector<Byte>& Bmi, std::vector<Byte>& Bits) const {
    TEmfReader All(Rec.Bytes());
    if (cbBmi) {
      auto S = All.Slice(offBmi, cbBmi);
      Bmi.assign(S.begin(), S.end());
    }
    if (cbBits) {
      auto S = All.Slice(offBits, cbBits);
      Bits.assign(S.begin(), S.end());
    }
  }
};

void ReadPoints(TEmfReader& R, DWORD Count, bool Is16, std::vector<TPoint>& Out) {
  R.CheckCount(Count, Is16 ? 4 : 8);
  Out.reserve(Count);
  for (DWORD I = 0; I < Count; ++I) {
    if (Is16) {
      TEmfPoint16 P = R.ReadPoint16();
      Out.push_back({P.x, P.y});
    } else {
      Out.push_back(R.ReadPointL());
    }
  }
}

void WritePoints(TEmfWriter& W, const std::vector<TPoint>& Points, bool Is16) {
  for (const TPoint& P : Points) {
    if (Is16)
      W.WritePoint16({SmallInt(P.X), SmallInt(P.Y)});
    else
      W.WritePointL(P);
  }
}

void ExpectType(const TEmfRecord& R, std::initializer_list<DWORD> Types) {
  for (DWORD T : Types)
    if (R.Type() == T) return;
  throw EEmfError("Metafile record " + EmfRecordName(R.Type()) + " read as another type");
}

}  // namespace

// ---- header and end of file ------------------------------------------------

void TEmrHeader::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_HEADER);
  W.WriteRectL(Bounds);
  W.WriteRectL(Frame);
  W.WriteDword(ENHMETA_SIGNATURE);
  W.WriteDword(Version);
  W.WriteDword(Bytes);
  W.WriteDword(Records);
  W.WriteWord(Handles);
  W.WriteWord(0);
  W.WriteDword(DWORD(Description.size()));
  W.WriteDword(Description.empty() ? 0 : HeaderSize);
  W.WriteDword(PalEntries);
  W.WriteSizeL(Device);
  W.WriteSizeL(Millimeters);
  if (HeaderSize >= EMF_HEADER_EXT1_SIZE) W.WriteZeros(12);  // no pixel format, no OpenGL
  if (HeaderSize >= EMF_HEADER_EXT2_SIZE) W.WriteSizeL(Micrometers);
  for (char16_t C : Description) W.WriteWord(Word(C));
  W.EndRecord(S);
}

TEmrHeader TEmrHeader::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_HEADER});
  TEmrHeader H;
  TEmfReader R = Rec.Params();
  H.Bounds = R.ReadRectL();
  H.Frame = R.ReadRectL();
  if (R.ReadDword() != ENHMETA_SIGNATURE) throw EEmfError("Metafile header without signature");
  H.Version = R.ReadDword();
  H.Bytes = R.ReadDword();
  H.Records = R.ReadDword();
  H.Handles = R.ReadWord();
  R.ReadWord();
  DWORD nDescription = R.ReadDword();
  DWORD offDescription = R.ReadDword();
  H.PalEntries = R.ReadDword();
  H.Device = R.ReadSizeL();
  H.Millimeters = R.ReadSizeL();
  H.HeaderSize = EMF_HEADER_BASE_SIZE;
  // The extensions are there when the record is long enough and the
  // description (if any) starts after them.
  auto Fits = [&](DWORD Size) {
    return Rec.Size() >= Size && (nDescription == 0 || offDescription >= Size);
  };
  if (Fits(EMF_HEADER_EXT1_SIZE)) {
    H.HeaderSize = EMF_HEADER_EXT1_SIZE;
    R.Skip(12);
    if (Fits(EMF_HEADER_EXT2_SIZE)) {
      H.HeaderSize = EMF_HEADER_EXT2_SIZE;
      H.Micrometers = R.ReadSizeL();
    }
  }
  if (nDescription) {
    if (nDescription > Rec.Size()) throw EEmfError("Metafile description longer than its header");
    auto S = R.Slice(offDescription, std::size_t(nDescription) * 2);
    for (std::size_t I = 0; I < S.size(); I += 2)
      H.Description.push_back(char16_t(ByteOrder::ReadLE16(&S[I])));
  }
  return H;
}

void TEmrEof::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_EOF);
  W.WriteDword(DWORD(Palette.size()));
  W.WriteDword(16);
  for (DWORD E : Palette) W.WriteDword(E);
  W.WriteDword(DWORD(20 + 4 * Palette.size()));
  W.EndRecord(S);
}

TEmrEof TEmrEof::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_EOF});
  TEmrEof E;
  TEmfReader R = Rec.Params();
  DWORD N = R.ReadDword();
  DWORD Off = R.ReadDword();
  if (N) {
    TEmfReader All(Rec.Bytes());
    auto S = All.Slice(Off, std::size_t(N) * 4);
    for (std::size_t I = 0; I < S.size(); I += 4) E.Palette.push_back(EmfGetDword(&S[I]));
  }
  return E;
}

// ---- small fixed records ---------------------------------------------------

void TEmrNoParams::Write(TEmfWriter& W) const { W.EndRecord(W.BeginRecord(Type)); }

void TEmrDword::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WriteDword(Value);
  W.EndRecord(S);
}

TEmrDword TEmrDword::Read(const TEmfRecord& Rec) {
  TEmfReader R = Rec.Params();
  return {Rec.Type(), R.ReadDword()};
}

void TEmrPointL::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WritePointL(Pt);
  W.EndRecord(S);
}

TEmrPointL TEmrPointL::Read(const TEmfRecord& Rec) {
  TEmfReader R = Rec.Params();
  return {Rec.Type(), R.ReadPointL()};
}

void TEmrRectL::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WriteRectL(Rect);
  W.EndRecord(S);
}

TEmrRectL TEmrRectL::Read(const TEmfRecord& Rec) {
  TEmfReader R = Rec.Params();
  return {Rec.Type(), R.ReadRectL()};
}

void TEmrRoundRect::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_ROUNDRECT);
  W.WriteRectL(Box);
  W.WriteSizeL(Corner);
  W.EndRecord(S);
}

TEmrRoundRect TEmrRoundRect::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_ROUNDRECT});
  TEmfReader R = Rec.Params();
  TEmrRoundRect X;
  X.Box = R.ReadRectL();
  X.Corner = R.ReadSizeL();
  return X;
}

void TEmrArc::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WriteRectL(Box);
  W.WritePointL(Start);
  W.WritePointL(End);
  W.EndRecord(S);
}

TEmrArc TEmrArc::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_ARC, EMR_CHORD, EMR_PIE, EMR_ARCTO});
  TEmfReader R = Rec.Params();
  TEmrArc X;
  X.Type = Rec.Type();
  X.Box = R.ReadRectL();
  X.Start = R.ReadPointL();
  X.End = R.ReadPointL();
  return X;
}

void TEmrScaleExt::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WriteLong(xNum);
  W.WriteLong(xDenom);
  W.WriteLong(yNum);
  W.WriteLong(yDenom);
  W.EndRecord(S);
}

TEmrScaleExt TEmrScaleExt::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_SCALEVIEWPORTEXTEX, EMR_SCALEWINDOWEXTEX});
  TEmfReader R = Rec.Params();
  TEmrScaleExt X;
  X.Type = Rec.Type();
  X.xNum = R.ReadLong();
  X.xDenom = R.ReadLong();
  X.yNum = R.ReadLong();
  X.yDenom = R.ReadLong();
  return X;
}

void TEmrXForm::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WriteXForm(XForm);
  if (Type == EMR_MODIFYWORLDTRANSFORM) W.WriteDword(Mode);
  W.EndRecord(S);
}

TEmrXForm TEmrXForm::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_SETWORLDTRANSFORM, EMR_MODIFYWORLDTRANSFORM});
  TEmfReader R = Rec.Params();
  TEmrXForm X;
  X.Type = Rec.Type();
  X.XForm = R.ReadXForm();
  if (X.Type == EMR_MODIFYWORLDTRANSFORM) X.Mode = R.ReadDword();
  return X;
}

void TEmrAngleArc::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_ANGLEARC);
  W.WritePointL(Center);
  W.WriteDword(Radius);
  W.WriteFloat(StartAngle);
  W.WriteFloat(SweepAngle);
  W.EndRecord(S);
}

TEmrAngleArc TEmrAngleArc::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_ANGLEARC});
  TEmfReader R = Rec.Params();
  TEmrAngleArc X;
  X.Center = R.ReadPointL();
  X.Radius = R.ReadDword();
  X.StartAngle = R.ReadFloat();
  X.SweepAngle = R.ReadFloat();
  return X;
}

void TEmrSetPixelV::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_SETPIXELV);
  W.WritePointL(Pt);
  W.WriteDword(Color);
  W.EndRecord(S);
}

TEmrSetPixelV TEmrSetPixelV::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_SETPIXELV});
  TEmfReader R = Rec.Params();
  TEmrSetPixelV X;
  X.Pt = R.ReadPointL();
  X.Color = R.ReadDword();
  return X;
}

// ---- poly records ----------------------------------------------------------

void TEmrPoly::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WriteRectL(Bounds);
  W.WriteDword(DWORD(Points.size()));
  WritePoints(W, Points, EmfIs16BitPointRecord(Type));
  W.EndRecord(S);
}

TEmrPoly TEmrPoly::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_POLYBEZIER, EMR_POLYGON, EMR_POLYLINE, EMR_POLYBEZIERTO, EMR_POLYLINETO,
                   EMR_POLYBEZIER16, EMR_POLYGON16, EMR_POLYLINE16, EMR_POLYBEZIERTO16,
                   EMR_POLYLINETO16});
  TEmfReader R = Rec.Params();
  TEmrPoly X;
  X.Type = Rec.Type();
  X.Bounds = R.ReadRectL();
  DWORD N = R.ReadDword();
  ReadPoints(R, N, EmfIs16BitPointRecord(X.Type), X.Points);
  return X;
}

void TEmrPolyPoly::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WriteRectL(Bounds);
  W.WriteDword(DWORD(Counts.size()));
  W.WriteDword(DWORD(Points.size()));
  for (DWORD C : Counts) W.WriteDword(C);
  WritePoints(W, Points, EmfIs16BitPointRecord(Type));
  W.EndRecord(S);
}

TEmrPolyPoly TEmrPolyPoly::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_POLYPOLYLINE, EMR_POLYPOLYGON, EMR_POLYPOLYLINE16, EMR_POLYPOLYGON16});
  TEmfReader R = Rec.Params();
  TEmrPolyPoly X;
  X.Type = Rec.Type();
  X.Bounds = R.ReadRectL();
  DWORD NPolys = R.ReadDword();
  DWORD NPoints = R.ReadDword();
  R.CheckCount(NPolys, 4);
  std::uint64_t Sum = 0;
  for (DWORD I = 0; I < NPolys; ++I) {
    X.Counts.push_back(R.ReadDword());
    Sum += X.Counts.back();
  }
  if (Sum != NPoints)
    throw EEmfError("Metafile poly-polygon counts add up to " + std::to_string(Sum) +
                    ", not the " + std::to_string(NPoints) + " points it holds");
  ReadPoints(R, NPoints, EmfIs16BitPointRecord(X.Type), X.Points);
  return X;
}

void TEmrPolyDraw::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WriteRectL(Bounds);
  W.WriteDword(DWORD(Points.size()));
  WritePoints(W, Points, Type == EMR_POLYDRAW16);
  for (std::size_t I = 0; I < Points.size(); ++I) W.WriteByte(I < Types.size() ? Types[I] : 0);
  W.EndRecord(S);
}

TEmrPolyDraw TEmrPolyDraw::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_POLYDRAW, EMR_POLYDRAW16});
  TEmfReader R = Rec.Params();
  TEmrPolyDraw X;
  X.Type = Rec.Type();
  X.Bounds = R.ReadRectL();
  DWORD N = R.ReadDword();
  R.CheckCount(N, X.Type == EMR_POLYDRAW16 ? 5 : 9);
  ReadPoints(R, N, X.Type == EMR_POLYDRAW16, X.Points);
  X.Types = R.ReadBytes(N);
  return X;
}

// ---- objects ---------------------------------------------------------------

void TEmrCreatePen::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_CREATEPEN);
  W.WriteDword(ihPen);
  W.WriteDword(Style);
  W.WritePointL(Width);
  W.WriteDword(Color);
  W.EndRecord(S);
}

TEmrCreatePen TEmrCreatePen::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_CREATEPEN});
  TEmfReader R = Rec.Params();
  TEmrCreatePen X;
  X.ihPen = R.ReadDword();
  X.Style = R.ReadDword();
  X.Width = R.ReadPointL();
  X.Color = R.ReadDword();
  return X;
}

void TEmrExtCreatePen::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_EXTCREATEPEN);
  W.WriteDword(ihPen);
  TDibFields Dib;
  Dib.Reserve(W);
  W.WriteDword(PenStyle);
  W.WriteDword(Width);
  W.WriteDword(BrushStyle);
  W.WriteDword(Color);
  W.WriteDword(Hatch);
  W.WriteDword(DWORD(StyleEntries.size()));
  for (DWORD E : StyleEntries) W.WriteDword(E);
  Dib.Append(W, S, Bmi, Bits);
  W.EndRecord(S);
}

TEmrExtCreatePen TEmrExtCreatePen::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_EXTCREATEPEN});
  TEmfReader R = Rec.Params();
  TEmrExtCreatePen X;
  X.ihPen = R.ReadDword();
  TDibRefs D = TDibRefs::Read(R);
  X.PenStyle = R.ReadDword();
  X.Width = R.ReadDword();
  X.BrushStyle = R.ReadDword();
  X.Color = R.ReadDword();
  X.Hatch = R.ReadDword();
  DWORD N = R.ReadDword();
  R.CheckCount(N, 4);
  for (DWORD I = 0; I < N; ++I) X.StyleEntries.push_back(R.ReadDword());
  D.Load(Rec, X.Bmi, X.Bits);
  return X;
}

void TEmrCreateBrushIndirect::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_CREATEBRUSHINDIRECT);
  W.WriteDword(ihBrush);
  W.WriteDword(Style);
  W.WriteDword(Color);
  W.WriteDword(Hatch);
  W.EndRecord(S);
}

TEmrCreateBrushIndirect TEmrCreateBrushIndirect::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_CREATEBRUSHINDIRECT});
  TEmfReader R = Rec.Params();
  TEmrCreateBrushIndirect X;
  X.ihBrush = R.ReadDword();
  X.Style = R.ReadDword();
  X.Color = R.ReadDword();
  X.Hatch = R.ReadDword();
  return X;
}

void TEmrCreateDibBrush::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WriteDword(ihBrush);
  W.WriteDword(Usage);
  TDibFields Dib;
  Dib.Reserve(W);
  Dib.Append(W, S, Bmi, Bits);
  W.EndRecord(S);
}

TEmrCreateDibBrush TEmrCreateDibBrush::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_CREATEMONOBRUSH, EMR_CREATEDIBPATTERNBRUSHPT});
  TEmfReader R = Rec.Params();
  TEmrCreateDibBrush X;
  X.Type = Rec.Type();
  X.ihBrush = R.ReadDword();
  X.Usage = R.ReadDword();
  TDibRefs::Read(R).Load(Rec, X.Bmi, X.Bits);
  return X;
}

namespace {
constexpr std::size_t LogFontSize = 92;
constexpr std::size_t LogFontPanoseSize = 320;

void WriteWideFixed(TEmfWriter& W, const WideString& S, std::size_t Chars) {
  for (std::size_t I = 0; I < Chars; ++I) W.WriteWord(I + 1 < Chars && I < S.size() ? Word(S[I]) : 0);
}
}  // namespace

void TEmrExtCreateFontIndirectW::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_EXTCREATEFONTINDIRECTW);
  W.WriteDword(ihFont);
  std::size_t Start = W.Position();
  W.WriteLong(Font.Height);
  W.WriteLong(Font.Width);
  W.WriteLong(Font.Escapement);
  W.WriteLong(Font.Orientation);
  W.WriteLong(Font.Weight);
  for (Byte B : {Font.Italic, Font.Underline, Font.StrikeOut, Font.CharSet, Font.OutPrecision,
                 Font.ClipPrecision, Font.Quality, Font.PitchAndFamily})
    W.WriteByte(B);
  WriteWideFixed(W, Font.FaceName, 32);
  WriteWideFixed(W, Font.FaceName, 64);  // full name
  W.WriteZeros(LogFontPanoseSize - (W.Position() - Start));  // style, version, panose: unknown
  W.EndRecord(S);
}

TEmrExtCreateFontIndirectW TEmrExtCreateFontIndirectW::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_EXTCREATEFONTINDIRECTW});
  TEmfReader R = Rec.Params();
  TEmrExtCreateFontIndirectW X;
  X.ihFont = R.ReadDword();
  R.CheckCount(1, LogFontSize);
  TEmfLogFont& F = X.Font;
  F.Height = R.ReadLong();
  F.Width = R.ReadLong();
  F.Escapement = R.ReadLong();
  F.Orientation = R.ReadLong();
  F.Weight = R.ReadLong();
  for (Byte* B : {&F.Italic, &F.Underline, &F.StrikeOut, &F.CharSet, &F.OutPrecision,
                  &F.ClipPrecision, &F.Quality, &F.PitchAndFamily})
    *B = R.ReadByte();
  bool Ended = false;
  for (int I = 0; I < 32; ++I) {
    char16_t C = char16_t(R.ReadWord());
    if (C == 0) Ended = true;
    if (!Ended && I < 31) F.FaceName.push_back(C);
  }
  return X;
}

// ---- text ------------------------------------------------------------------

namespace {
constexpr UINT EtoPdy = 0x2000;  // dx holds x and y advances
}  // namespace

void TEmrExtTextOut::Write(TEmfWriter& W) const {
  const bool Wide = Type == EMR_EXTTEXTOUTW;
  const std::size_t N = CharCount();
  std::size_t S = W.BeginRecord(Type);
  W.WriteRectL(Bounds);
  W.WriteDword(GraphicsMode);
  W.WriteFloat(exScale);
  W.WriteFloat(eyScale);
  W.WritePointL(Reference);
  W.WriteDword(DWORD(N));
  std::size_t OffStringPos = W.Position();
  W.WriteDword(0);
  W.WriteDword(Options);
  W.WriteRectL(Rect);
  std::size_t OffDxPos = W.Position();
  W.WriteDword(0);
  W.PatchDword(OffStringPos, DWORD(W.Position() - S));
  if (Wide)
    for (char16_t C : Text) W.WriteWord(Word(C));
  else
    for (char C : AnsiText) W.WriteByte(Byte(C));
  W.Pad4();
  if (!Dx.empty()) {
    W.PatchDword(OffDxPos, DWORD(W.Position() - S));
    for (Integer D : Dx) W.WriteLong(D);
  }
  W.EndRecord(S);
}

TEmrExtTextOut TEmrExtTextOut::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_EXTTEXTOUTW, EMR_EXTTEXTOUTA});
  TEmfReader R = Rec.Params();
  TEmrExtTextOut X;
  X.Type = Rec.Type();
  X.Bounds = R.ReadRectL();
  X.GraphicsMode = R.ReadDword();
  X.exScale = R.ReadFloat();
  X.eyScale = R.ReadFloat();
  X.Reference = R.ReadPointL();
  DWORD N = R.ReadDword();
  DWORD OffString = R.ReadDword();
  X.Options = R.ReadDword();
  X.Rect = R.ReadRectL();
  DWORD OffDx = R.ReadDword();
  const bool Wide = X.Type == EMR_EXTTEXTOUTW;
  if (N) {
    auto S = R.Slice(OffString, std::size_t(N) * (Wide ? 2 : 1));
    if (Wide)
      for (std::size_t I = 0; I < S.size(); I += 2) X.Text.push_back(char16_t(ByteOrder::ReadLE16(&S[I])));
    else
      X.AnsiText.assign(S.begin(), S.end());
  }
  if (OffDx && N) {
    std::size_t Count = std::size_t(N) * ((X.Options & EtoPdy) ? 2 : 1);
    auto S = R.Slice(OffDx, Count * 4);
    for (std::size_t I = 0; I < S.size(); I += 4) X.Dx.push_back(Integer(EmfGetDword(&S[I])));
  }
  return X;
}

// ---- bitmaps ---------------------------------------------------------------

void TEmrBitBlt::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WriteRectL(Bounds);
  W.WriteLong(xDest);
  W.WriteLong(yDest);
  W.WriteLong(cxDest);
  W.WriteLong(cyDest);
  W.WriteDword(Rop);
  W.WriteLong(xSrc);
  W.WriteLong(ySrc);
  W.WriteXForm(XFormSrc);
  W.WriteDword(BkColorSrc);
  W.WriteDword(UsageSrc);
  TDibFields Dib;
  Dib.Reserve(W);
  if (Type != EMR_BITBLT) {
    W.WriteLong(cxSrc);
    W.WriteLong(cySrc);
  }
  Dib.Append(W, S, Bmi, Bits);
  W.EndRecord(S);
}

TEmrBitBlt TEmrBitBlt::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_BITBLT, EMR_STRETCHBLT, EMR_ALPHABLEND, EMR_TRANSPARENTBLT});
  TEmfReader R = Rec.Params();
  TEmrBitBlt X;
  X.Type = Rec.Type();
  X.Bounds = R.ReadRectL();
  X.xDest = R.ReadLong();
  X.yDest = R.ReadLong();
  X.cxDest = R.ReadLong();
  X.cyDest = R.ReadLong();
  X.Rop = R.ReadDword();
  X.xSrc = R.ReadLong();
  X.ySrc = R.ReadLong();
  X.XFormSrc = R.ReadXForm();
  X.BkColorSrc = R.ReadDword();
  X.UsageSrc = R.ReadDword();
  TDibRefs D = TDibRefs::Read(R);
  if (X.Type != EMR_BITBLT) {
    X.cxSrc = R.ReadLong();
    X.cySrc = R.ReadLong();
  }
  D.Load(Rec, X.Bmi, X.Bits);
  return X;
}

void TEmrStretchDIBits::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_STRETCHDIBITS);
  W.WriteRectL(Bounds);
  W.WriteLong(xDest);
  W.WriteLong(yDest);
  W.WriteLong(xSrc);
  W.WriteLong(ySrc);
  W.WriteLong(cxSrc);
  W.WriteLong(cySrc);
  TDibFields Dib;
  Dib.Reserve(W);
  W.WriteDword(Usage);
  W.WriteDword(Rop);
  W.WriteLong(cxDest);
  W.WriteLong(cyDest);
  Dib.Append(W, S, Bmi, Bits);
  W.EndRecord(S);
}

TEmrStretchDIBits TEmrStretchDIBits::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_STRETCHDIBITS});
  TEmfReader R = Rec.Params();
  TEmrStretchDIBits X;
  X.Bounds = R.ReadRectL();
  X.xDest = R.ReadLong();
  X.yDest = R.ReadLong();
  X.xSrc = R.ReadLong();
  X.ySrc = R.ReadLong();
  X.cxSrc = R.ReadLong();
  X.cySrc = R.ReadLong();
  TDibRefs D = TDibRefs::Read(R);
  X.Usage = R.ReadDword();
  X.Rop = R.ReadDword();
  X.cxDest = R.ReadLong();
  X.cyDest = R.ReadLong();
  D.Load(Rec, X.Bmi, X.Bits);
  return X;
}

void TEmrSetDIBitsToDevice::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_SETDIBITSTODEVICE);
  W.WriteRectL(Bounds);
  W.WriteLong(xDest);
  W.WriteLong(yDest);
  W.WriteLong(xSrc);
  W.WriteLong(ySrc);
  W.WriteLong(cxSrc);
  W.WriteLong(cySrc);
  TDibFields Dib;
  Dib.Reserve(W);
  W.WriteDword(Usage);
  W.WriteDword(StartScan);
  W.WriteDword(Scans);
  Dib.Append(W, S, Bmi, Bits);
  W.EndRecord(S);
}

TEmrSetDIBitsToDevice TEmrSetDIBitsToDevice::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_SETDIBITSTODEVICE});
  TEmfReader R = Rec.Params();
  TEmrSetDIBitsToDevice X;
  X.Bounds = R.ReadRectL();
  X.xDest = R.ReadLong();
  X.yDest = R.ReadLong();
  X.xSrc = R.ReadLong();
  X.ySrc = R.ReadLong();
  X.cxSrc = R.ReadLong();
  X.cySrc = R.ReadLong();
  TDibRefs D = TDibRefs::Read(R);
  X.Usage = R.ReadDword();
  X.StartScan = R.ReadDword();
  X.Scans = R.ReadDword();
  D.Load(Rec, X.Bmi, X.Bits);
  return X;
}

void TEmrMaskBlt::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_MASKBLT);
  W.WriteRectL(Bounds);
  W.WriteLong(xDest);
  W.WriteLong(yDest);
  W.WriteLong(cxDest);
  W.WriteLong(cyDest);
  W.WriteDword(Rop);
  W.WriteLong(xSrc);
  W.WriteLong(ySrc);
  W.WriteXForm(XFormSrc);
  W.WriteDword(BkColorSrc);
  W.WriteDword(UsageSrc);
  TDibFields Src, Mask;
  Src.Reserve(W);
  W.WriteLong(xMask);
  W.WriteLong(yMask);
  W.WriteDword(UsageMask);
  Mask.Reserve(W);
  Src.Append(W, S, Bmi, Bits);
  Mask.Append(W, S, MaskBmi, MaskBits);
  W.EndRecord(S);
}

TEmrMaskBlt TEmrMaskBlt::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_MASKBLT});
  TEmfReader R = Rec.Params();
  TEmrMaskBlt X;
  X.Bounds = R.ReadRectL();
  X.xDest = R.ReadLong();
  X.yDest = R.ReadLong();
  X.cxDest = R.ReadLong();
  X.cyDest = R.ReadLong();
  X.Rop = R.ReadDword();
  X.xSrc = R.ReadLong();
  X.ySrc = R.ReadLong();
  X.XFormSrc = R.ReadXForm();
  X.BkColorSrc = R.ReadDword();
  X.UsageSrc = R.ReadDword();
  TDibRefs Src = TDibRefs::Read(R);
  X.xMask = R.ReadLong();
  X.yMask = R.ReadLong();
  X.UsageMask = R.ReadDword();
  TDibRefs Mask = TDibRefs::Read(R);
  Src.Load(Rec, X.Bmi, X.Bits);
  Mask.Load(Rec, X.MaskBmi, X.MaskBits);
  return X;
}

// Vertices, then the meshes: three indices per triangle, or two per
// rectangle followed by four bytes of padding each, so that both kinds take
// the same room.
void TEmrGradientFill::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_GRADIENTFILL);
  W.WriteRectL(Bounds);
  W.WriteDword(DWORD(Vertices.size()));
  const bool Tri = Mode == GRADIENT_FILL_TRIANGLE;
  W.WriteDword(DWORD(Indices.size() / (Tri ? 3 : 2)));
  W.WriteDword(Mode);
  for (const TRIVERTEX& V : Vertices) {
    W.WriteLong(V.x);
    W.WriteLong(V.y);
    W.WriteDword(DWORD(V.Red) | (DWORD(V.Green) << 16));
    W.WriteDword(DWORD(V.Blue) | (DWORD(V.Alpha) << 16));
  }
  for (std::size_t I = 0; I < Indices.size(); ++I) {
    W.WriteDword(Indices[I]);
    if (!Tri && I % 2 == 1) W.WriteDword(0);
  }
  W.EndRecord(S);
}

TEmrGradientFill TEmrGradientFill::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_GRADIENTFILL});
  TEmfReader R = Rec.Params();
  TEmrGradientFill X;
  X.Bounds = R.ReadRectL();
  const DWORD NVer = R.ReadDword(), NMesh = R.ReadDword();
  X.Mode = R.ReadDword();
  const bool Tri = X.Mode == GRADIENT_FILL_TRIANGLE;
  // The counts must fit the record: a corrupt count cannot make us reserve
  // or read past its end. Writers that leave the rectangles' padding out are
  // read too.
  if (NVer > R.Remaining() / 16 || NMesh > (R.Remaining() - NVer * 16) / (Tri ? 12 : 8))
    throw EEmfError("EMR_GRADIENTFILL: " + std::to_string(NVer) + " vertices and " + std::to_string(NMesh) +
                    " meshes do not fit the record");
  X.Vertices.resize(NVer);
  for (TRIVERTEX& V : X.Vertices) {
    V.x = R.ReadLong();
    V.y = R.ReadLong();
    const DWORD Rg = R.ReadDword(), Ba = R.ReadDword();
    V.Red = COLOR16(Rg & 0xFFFF);
    V.Green = COLOR16(Rg >> 16);
    V.Blue = COLOR16(Ba & 0xFFFF);
    V.Alpha = COLOR16(Ba >> 16);
  }
  const bool Padded = !Tri && R.Remaining() >= std::size_t(NMesh) * 12;
  for (DWORD M = 0; M < NMesh; ++M) {
    for (int K = 0; K < (Tri ? 3 : 2); ++K) X.Indices.push_back(R.ReadDword());
    if (Padded) R.ReadDword();
  }
  return X;
}

// ---- regions and clipping --------------------------------------------------

void TEmfRegionData::Write(TEmfWriter& W) const {
  W.WriteDword(32);
  W.WriteDword(1);  // RDH_RECTANGLES
  W.WriteDword(DWORD(Rects.size()));
  W.WriteDword(DWORD(16 * Rects.size()));
  W.WriteRectL(Bound);
  for (const TRect& R : Rects) W.WriteRectL(R);
}

TEmfRegionData TEmfRegionData::Read(TEmfReader& R, std::size_t Size) {
  if (Size < 32 || Size > R.Remaining()) throw EEmfError("Metafile region data of bad size");
  std::size_t Start = R.Position();
  DWORD HeaderSize = R.ReadDword();
  R.ReadDword();  // iType
  DWORD Count = R.ReadDword();
  R.ReadDword();  // nRgnSize, often 0 or rounded
  TEmfRegionData D;
  D.Bound = R.ReadRectL();
  if (HeaderSize < 32 || HeaderSize > Size) throw EEmfError("Metafile region header of bad size");
  R.Seek(Start + HeaderSize);
  if (Count > (Size - HeaderSize) / 16)
    throw EEmfError("Metafile region holds more rectangles than its data");
  D.Rects.reserve(Count);
  for (DWORD I = 0; I < Count; ++I) D.Rects.push_back(R.ReadRectL());
  R.Seek(Start + Size);
  return D;
}

void TEmrExtSelectClipRgn::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_EXTSELECTCLIPRGN);
  W.WriteDword(HasRegion ? DWORD(Region.ByteSize()) : 0);
  W.WriteDword(Mode);
  if (HasRegion) Region.Write(W);
  W.EndRecord(S);
}

TEmrExtSelectClipRgn TEmrExtSelectClipRgn::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_EXTSELECTCLIPRGN});
  TEmfReader R = Rec.Params();
  TEmrExtSelectClipRgn X;
  DWORD Cb = R.ReadDword();
  X.Mode = R.ReadDword();
  X.HasRegion = Cb != 0;
  if (X.HasRegion) X.Region = TEmfRegionData::Read(R, Cb);
  return X;
}

void TEmrRegion::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(Type);
  W.WriteRectL(Bounds);
  W.WriteDword(DWORD(Region.ByteSize()));
  if (Type == EMR_FILLRGN || Type == EMR_FRAMERGN) W.WriteDword(ihBrush);
  if (Type == EMR_FRAMERGN) W.WriteSizeL(Stroke);
  Region.Write(W);
  W.EndRecord(S);
}

TEmrRegion TEmrRegion::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_FILLRGN, EMR_FRAMERGN, EMR_INVERTRGN, EMR_PAINTRGN});
  TEmfReader R = Rec.Params();
  TEmrRegion X;
  X.Type = Rec.Type();
  X.Bounds = R.ReadRectL();
  DWORD Cb = R.ReadDword();
  if (X.Type == EMR_FILLRGN || X.Type == EMR_FRAMERGN) X.ihBrush = R.ReadDword();
  if (X.Type == EMR_FRAMERGN) X.Stroke = R.ReadSizeL();
  X.Region = TEmfRegionData::Read(R, Cb);
  return X;
}

void TEmrGdiComment::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_GDICOMMENT);
  W.WriteDword(DWORD(Data.size()));
  W.WriteBytes(Data);
  W.EndRecord(S);
}

TEmrGdiComment TEmrGdiComment::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_GDICOMMENT});
  TEmfReader R = Rec.Params();
  TEmrGdiComment X;
  X.Data = R.ReadBytes(R.ReadDword());
  return X;
}

void TEmrCreatePalette::Write(TEmfWriter& W) const {
  std::size_t S = W.BeginRecord(EMR_CREATEPALETTE);
  W.WriteDword(ihPal);
  W.WriteWord(0x300);
  W.WriteWord(Word(Entries.size()));
  for (DWORD E : Entries) W.WriteDword(E);
  W.EndRecord(S);
}

TEmrCreatePalette TEmrCreatePalette::Read(const TEmfRecord& Rec) {
  ExpectType(Rec, {EMR_CREATEPALETTE});
  TEmfReader R = Rec.Params();
  TEmrCreatePalette X;
  X.ihPal = R.ReadDword();
  R.ReadWord();
  Word N = R.ReadWord();
  R.CheckCount(N, 4);
  for (Word I = 0; I < N; ++I) X.Entries.push_back(R.ReadDword());
  return X;
}

// ---- trace -----------------------------------------------------------------

namespace {

std::string Str(const TPoint& P) {
  return std::string(1, '(').append(std::to_string(P.X)).append(1, ',').append(std::to_string(P.Y)).append(1, ')');
}
std::string Str(const TRect& R) {
  return std::string(1, '[')
      .append(std::to_string(R.Left)).append(1, ',').append(std::to_string(R.Top)).append(1, ',')
      .append(std::to_string(R.Right)).append(1, ',').append(std::to_string(R.Bottom)).append(1, ']');
}
std::string Hex(DWORD V) {
  char B[16];
  std::snprintf(B, sizeof B, "%06X", V);
  return B;
}
std::string Points(const std::vector<TPoint>& Ps) {
  std::string S;
  for (const TPoint& P : Ps) S.append(1, ' ').append(Str(P));
  return S;
}
std::string Narrow(const WideString& W) {
  std::string S;
  for (char16_t C : W) S += C < 0x80 ? char(C) : '?';
  return S;
}

}  // namespace

std::string EmfTraceRecord(const TEmfRecord& Rec) {
  const DWORD T = Rec.Type();
  std::string S = EmfRecordName(T);
  switch (T) {
    case EMR_HEADER: {
      TEmrHeader H = TEmrHeader::Read(Rec);
      return S + " bounds=" + Str(H.Bounds) + " frame=" + Str(H.Frame) +
             " records=" + std::to_string(H.Records) + " handles=" + std::to_string(H.Handles);
    }
    case EMR_EOF: TEmrEof::Read(Rec); return S;
    case EMR_SETBKCOLOR: case EMR_SETTEXTCOLOR:
      return S + " " + Hex(TEmrDword::Read(Rec).Value);
    case EMR_SELECTOBJECT: case EMR_DELETEOBJECT: {
      DWORD V = TEmrDword::Read(Rec).Value;
      return S + ((V & ENHMETA_STOCK_OBJECT) ? " stock " + std::to_string(V & 0x7FFFFFFF)
                                               : " " + std::to_string(V));
    }
    case EMR_SETMAPPERFLAGS: case EMR_SETMAPMODE: case EMR_SETBKMODE: case EMR_SETPOLYFILLMODE:
    case EMR_SETROP2: case EMR_SETSTRETCHBLTMODE: case EMR_SETTEXTALIGN: case EMR_RESTOREDC:
    case EMR_SELECTPALETTE: case EMR_SETARCDIRECTION: case EMR_SETMITERLIMIT:
    case EMR_SELECTCLIPPATH: case EMR_SETICMMODE: case EMR_SETLAYOUT:
      return S + " " + std::to_string(Integer(TEmrDword::Read(Rec).Value));
    case EMR_SETWINDOWEXTEX: case EMR_SETWINDOWORGEX: case EMR_SETVIEWPORTEXTEX:
    case EMR_SETVIEWPORTORGEX: case EMR_SETBRUSHORGEX: case EMR_MOVETOEX: case EMR_LINETO:
    case EMR_OFFSETCLIPRGN:
      return S + " " + Str(TEmrPointL::Read(Rec).Pt);
    case EMR_RECTANGLE: case EMR_ELLIPSE: case EMR_INTERSECTCLIPRECT: case EMR_EXCLUDECLIPRECT:
    case EMR_FILLPATH: case EMR_STROKEPATH: case EMR_STROKEANDFILLPATH:
      return S + " " + Str(TEmrRectL::Read(Rec).Rect);
    case EMR_ROUNDRECT: {
      TEmrRoundRect X = TEmrRoundRect::Read(Rec);
      return S + " " + Str(X.Box) + " " + std::to_string(X.Corner.cx) + "x" + std::to_string(X.Corner.cy);
    }
    case EMR_ARC: case EMR_CHORD: case EMR_PIE: case EMR_ARCTO: {
      TEmrArc X = TEmrArc::Read(Rec);
      return S + " " + Str(X.Box) + " " + Str(X.Start) + " " + Str(X.End);
    }
    case EMR_SCALEVIEWPORTEXTEX: case EMR_SCALEWINDOWEXTEX: {
      TEmrScaleExt X = TEmrScaleExt::Read(Rec);
      return S + " " + std::to_string(X.xNum) + "/" + std::to_string(X.xDenom) + " " +
             std::to_string(X.yNum) + "/" + std::to_string(X.yDenom);
    }
    case EMR_SETWORLDTRANSFORM: case EMR_MODIFYWORLDTRANSFORM: {
      TEmrXForm X = TEmrXForm::Read(Rec);
      char B[128];
      std::snprintf(B, sizeof B, " %g %g %g %g %g %g", X.XForm.eM11, X.XForm.eM12, X.XForm.eM21,
                    X.XForm.eM22, X.XForm.eDx, X.XForm.eDy);
      return S + B + (T == EMR_MODIFYWORLDTRANSFORM ? " mode " + std::to_string(X.Mode) : "");
    }
    case EMR_ANGLEARC: {
      TEmrAngleArc X = TEmrAngleArc::Read(Rec);
      char B[64];
      std::snprintf(B, sizeof B, " r%u %g %g", X.Radius, X.StartAngle, X.SweepAngle);
      return S + " " + Str(X.Center) + B;
    }
    case EMR_SETPIXELV: {
      TEmrSetPixelV X = TEmrSetPixelV::Read(Rec);
      return S + " " + Str(X.Pt) + " " + Hex(X.Color);
    }
    case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO: case EMR_POLYBEZIER16: case EMR_POLYGON16: case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16: case EMR_POLYLINETO16:
      return S + Points(TEmrPoly::Read(Rec).Points);
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON: case EMR_POLYPOLYLINE16: case EMR_POLYPOLYGON16: {
      TEmrPolyPoly X = TEmrPolyPoly::Read(Rec);
      S += " counts";
      for (DWORD C : X.Counts) S += " " + std::to_string(C);
      return S + " :" + Points(X.Points);
    }
    case EMR_POLYDRAW: case EMR_POLYDRAW16:
      return S + Points(TEmrPolyDraw::Read(Rec).Points);
    case EMR_CREATEPEN: {
      TEmrCreatePen X = TEmrCreatePen::Read(Rec);
      return S + " " + std::to_string(X.ihPen) + " style " + std::to_string(X.Style) + " width " +
             std::to_string(X.Width.X) + " " + Hex(X.Color);
    }
    case EMR_EXTCREATEPEN: {
      TEmrExtCreatePen X = TEmrExtCreatePen::Read(Rec);
      return S + " " + std::to_string(X.ihPen) + " style " + Hex(X.PenStyle) + " width " +
             std::to_string(X.Width) + " " + Hex(X.Color);
    }
    case EMR_CREATEBRUSHINDIRECT: {
      TEmrCreateBrushIndirect X = TEmrCreateBrushIndirect::Read(Rec);
      return S + " " + std::to_string(X.ihBrush) + " style " + std::to_string(X.Style) + " " +
             Hex(X.Color) + (X.Style == 2 ? " hatch " + std::to_string(X.Hatch) : "");
    }
    case EMR_CREATEMONOBRUSH: case EMR_CREATEDIBPATTERNBRUSHPT: {
      TEmrCreateDibBrush X = TEmrCreateDibBrush::Read(Rec);
      return S + " " + std::to_string(X.ihBrush) + " bmi " + std::to_string(X.Bmi.size()) +
             " bits " + std::to_string(X.Bits.size());
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
      TEmrExtCreateFontIndirectW X = TEmrExtCreateFontIndirectW::Read(Rec);
      return S + " " + std::to_string(X.ihFont) + " \"" + Narrow(X.Font.FaceName) + "\" " +
             std::to_string(X.Font.Height) + " w" + std::to_string(X.Font.Weight);
    }
    case EMR_EXTTEXTOUTA: case EMR_EXTTEXTOUTW: {
      TEmrExtTextOut X = TEmrExtTextOut::Read(Rec);
      S += " " + Str(X.Reference) + " \"" + (T == EMR_EXTTEXTOUTW ? Narrow(X.Text) : X.AnsiText) + "\"";
      if (X.Options) S += " opts " + Hex(X.Options);
      S += " dx";
      for (Integer D : X.Dx) S += " " + std::to_string(D);
      return S;
    }
    case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_ALPHABLEND: case EMR_TRANSPARENTBLT: {
      TEmrBitBlt X = TEmrBitBlt::Read(Rec);
      return S + " " + Str({X.xDest, X.yDest}) + " " + std::to_string(X.cxDest) + "x" +
             std::to_string(X.cyDest) + " rop " + Hex(X.Rop) +
             (X.Bmi.empty() ? " no bitmap" : " bmi " + std::to_string(X.Bmi.size()));
    }
    case EMR_STRETCHDIBITS: {
      TEmrStretchDIBits X = TEmrStretchDIBits::Read(Rec);
      return S + " " + Str({X.xDest, X.yDest}) + " " + std::to_string(X.cxDest) + "x" +
             std::to_string(X.cyDest) + " rop " + Hex(X.Rop);
    }
    case EMR_SETDIBITSTODEVICE: {
      TEmrSetDIBitsToDevice X = TEmrSetDIBitsToDevice::Read(Rec);
      return S + " " + Str({X.xDest, X.yDest}) + " " + std::to_string(X.cxSrc) + "x" +
             std::to_string(X.cySrc);
    }
    case EMR_MASKBLT: {
      TEmrMaskBlt X = TEmrMaskBlt::Read(Rec);
      return S + " " + Str({X.xDest, X.yDest}) + " " + std::to_string(X.cxDest) + "x" +
             std::to_string(X.cyDest);
    }
    case EMR_GRADIENTFILL: {
      TEmrGradientFill X = TEmrGradientFill::Read(Rec);
      return S + " mode " + std::to_string(X.Mode) + " vertices " + std::to_string(X.Vertices.size()) +
             " indices " + std::to_string(X.Indices.size());
    }
    case EMR_EXTSELECTCLIPRGN: {
      TEmrExtSelectClipRgn X = TEmrExtSelectClipRgn::Read(Rec);
      S += " mode " + std::to_string(X.Mode);
      if (!X.HasRegion) return S + " default";
      for (const TRect& R : X.Region.Rects) S += " " + Str(R);
      return S;
    }
    case EMR_FILLRGN: case EMR_FRAMERGN: case EMR_INVERTRGN: case EMR_PAINTRGN: {
      TEmrRegion X = TEmrRegion::Read(Rec);
      for (const TRect& R : X.Region.Rects) S += " " + Str(R);
      return S;
    }
    case EMR_GDICOMMENT:
      return S + " " + std::to_string(TEmrGdiComment::Read(Rec).Data.size()) + " bytes";
    case EMR_CREATEPALETTE:
      return S + " " + std::to_string(TEmrCreatePalette::Read(Rec).Entries.size()) + " entries";
    default:
      return S;
  }
}
