// EmfRecords.h — one value type per record layout, each able to write itself
// and to read itself back from a checked record. The recorder writes through
// these, the player and the exporters' metafile processor read through them,
// so both sides agree on the layout by construction. Read throws EEmfError
// when a field, count or embedded offset runs outside the record.
#pragma once
#include <span>
#include <vector>
#include "platform/gdi/Blit.h"
#include "platform/gdi/EmfStream.h"

// A record as the enumerator hands it out: the bytes of one record, nSize
// long, of which the first 8 are type and size.
class TEmfRecord {
public:
  TEmfRecord(const Byte* Data, std::size_t Size);
  // From the enumeration callback's pointer: the enumerator has checked that
  // nSize bytes are readable there.
  explicit TEmfRecord(const ENHMETARECORD* Rec);
  DWORD Type() const { return FType; }
  std::size_t Size() const { return FSize; }
  const Byte* Data() const { return FData; }
  std::span<const Byte> Bytes() const { return {FData, FSize}; }
  // A reader positioned on the first parameter (offset 8).
  TEmfReader Params() const;

private:
  const Byte* FData;
  std::size_t FSize;
  DWORD FType;
};

// True for the record types whose points are 16-bit.
bool EmfIs16BitPointRecord(DWORD Type);
// The record's name without the EMR_ prefix ("POLYLINE16"), or its number.
std::string EmfRecordName(DWORD Type);
// One line naming the record and its decoded parameters, for golden traces
// and diagnostics: "POLYLINE16 (1,1) (5,1)". Decodes through the Read of
// the record's type, so it throws EEmfError for what they reject.
std::string EmfTraceRecord(const TEmfRecord& Rec);

struct TEmrHeader {
  TRect Bounds;          // inclusive device-unit bounds of what is drawn
  TRect Frame;           // inclusive, .01 mm
  DWORD Version = ENHMETA_VERSION;
  DWORD Bytes = 0;       // whole file
  DWORD Records = 0;     // including header and EOF
  Word Handles = 1;      // object table size; slot 0 is the metafile itself
  WideString Description;  // with its embedded and final nulls, as stored
  DWORD PalEntries = 0;
  TSize Device;          // reference device, pixels
  TSize Millimeters;     // reference device, mm
  TSize Micrometers;     // reference device, um (extension 2)
  DWORD HeaderSize = EMF_HEADER_EXT2_SIZE;  // 88, 100 or 108
  void Write(TEmfWriter& W) const;
  static TEmrHeader Read(const TEmfRecord& R);
};

struct TEmrEof {
  std::vector<DWORD> Palette;  // PALETTEENTRY values
  void Write(TEmfWriter& W) const;
  static TEmrEof Read(const TEmfRecord& R);
};

// Records without parameters: SAVEDC, BEGINPATH, ENDPATH, CLOSEFIGURE,
// ABORTPATH, FLATTENPATH, WIDENPATH, REALIZEPALETTE, SETMETARGN.
struct TEmrNoParams {
  DWORD Type = 0;
  void Write(TEmfWriter& W) const;
};

// One DWORD: the SET… modes and colours, SELECTOBJECT, DELETEOBJECT,
// RESTOREDC (negative relative levels), SELECTPALETTE, SELECTCLIPPATH,
// SETARCDIRECTION, SETMAPPERFLAGS, SETICMMODE, SETLAYOUT, SETMITERLIMIT.
struct TEmrDword {
  DWORD Type = 0;
  DWORD Value = 0;
  void Write(TEmfWriter& W) const;
  static TEmrDword Read(const TEmfRecord& R);
};

// One point or size: MOVETOEX, LINETO, the window/viewport origin and
// extent records, SETBRUSHORGEX, OFFSETCLIPRGN.
struct TEmrPointL {
  DWORD Type = 0;
  TPoint Pt;
  void Write(TEmfWriter& W) const;
  static TEmrPointL Read(const TEmfRecord& R);
};

// One rectangle: RECTANGLE, ELLIPSE, INTERSECTCLIPRECT, EXCLUDECLIPRECT, and
// the bounds of FILLPATH, STROKEPATH, STROKEANDFILLPATH.
struct TEmrRectL {
  DWORD Type = 0;
  TRect Rect;
  void Write(TEmfWriter& W) const;
  static TEmrRectL Read(const TEmfRecord& R);
};

struct TEmrRoundRect {
  TRect Box;
  TSize Corner;
  void Write(TEmfWriter& W) const;
  static TEmrRoundRect Read(const TEmfRecord& R);
};

// ARC, CHORD, PIE, ARCTO.
struct TEmrArc {
  DWORD Type = EMR_ARC;
  TRect Box;
  TPoint Start, End;
  void Write(TEmfWriter& W) const;
  static TEmrArc Read(const TEmfRecord& R);
};

// SCALEVIEWPORTEXTEX, SCALEWINDOWEXTEX.
struct TEmrScaleExt {
  DWORD Type = EMR_SCALEVIEWPORTEXTEX;
  Integer xNum = 1, xDenom = 1, yNum = 1, yDenom = 1;
  void Write(TEmfWriter& W) const;
  static TEmrScaleExt Read(const TEmfRecord& R);
};

// SETWORLDTRANSFORM (Mode unused) and MODIFYWORLDTRANSFORM.
struct TEmrXForm {
  DWORD Type = EMR_SETWORLDTRANSFORM;
  TEmfXForm XForm;
  DWORD Mode = 0;
  void Write(TEmfWriter& W) const;
  static TEmrXForm Read(const TEmfRecord& R);
};

struct TEmrAngleArc {
  TPoint Center;
  DWORD Radius = 0;
  float StartAngle = 0, SweepAngle = 0;
  void Write(TEmfWriter& W) const;
  static TEmrAngleArc Read(const TEmfRecord& R);
};

struct TEmrSetPixelV {
  TPoint Pt;
  COLORREF Color = 0;
  void Write(TEmfWriter& W) const;
  static TEmrSetPixelV Read(const TEmfRecord& R);
};

// POLYBEZIER, POLYGON, POLYLINE, POLYBEZIERTO, POLYLINETO and their 16-bit
// forms; the type decides how the points are stored.
struct TEmrPoly {
  DWORD Type = EMR_POLYLINE16;
  TRect Bounds;
  std::vector<TPoint> Points;
  void Write(TEmfWriter& W) const;
  static TEmrPoly Read(const TEmfRecord& R);
};

// POLYPOLYLINE, POLYPOLYGON and their 16-bit forms.
struct TEmrPolyPoly {
  DWORD Type = EMR_POLYPOLYGON16;
  TRect Bounds;
  std::vector<DWORD> Counts;   // points per polygon; they add up to Points.size()
  std::vector<TPoint> Points;
  void Write(TEmfWriter& W) const;
  static TEmrPolyPoly Read(const TEmfRecord& R);
};

// POLYDRAW, POLYDRAW16.
struct TEmrPolyDraw {
  DWORD Type = EMR_POLYDRAW16;
  TRect Bounds;
  std::vector<TPoint> Points;
  std::vector<Byte> Types;     // PT_MOVETO… per point
  void Write(TEmfWriter& W) const;
  static TEmrPolyDraw Read(const TEmfRecord& R);
};

struct TEmrCreatePen {
  DWORD ihPen = 0;
  UINT Style = 0;
  TPoint Width;                // only X counts
  COLORREF Color = 0;
  void Write(TEmfWriter& W) const;
  static TEmrCreatePen Read(const TEmfRecord& R);
};

struct TEmrExtCreatePen {
  DWORD ihPen = 0;
  DWORD PenStyle = 0;
  DWORD Width = 0;
  UINT BrushStyle = 0;
  COLORREF Color = 0;
  DWORD Hatch = 0;
  std::vector<DWORD> StyleEntries;   // PS_USERSTYLE dashes
  std::vector<Byte> Bmi, Bits;       // pattern pens
  void Write(TEmfWriter& W) const;
  static TEmrExtCreatePen Read(const TEmfRecord& R);
};

struct TEmrCreateBrushIndirect {
  DWORD ihBrush = 0;
  UINT Style = 0;
  COLORREF Color = 0;
  DWORD Hatch = 0;
  void Write(TEmfWriter& W) const;
  static TEmrCreateBrushIndirect Read(const TEmfRecord& R);
};

// CREATEMONOBRUSH, CREATEDIBPATTERNBRUSHPT.
struct TEmrCreateDibBrush {
  DWORD Type = EMR_CREATEDIBPATTERNBRUSHPT;
  DWORD ihBrush = 0;
  DWORD Usage = DIB_RGB_COLORS;
  std::vector<Byte> Bmi, Bits;
  void Write(TEmfWriter& W) const;
  static TEmrCreateDibBrush Read(const TEmfRecord& R);
};

// The LOGFONTW at the start of EXTCREATEFONTINDIRECTW's font description.
struct TEmfLogFont {
  Integer Height = 0, Width = 0, Escapement = 0, Orientation = 0, Weight = 0;
  Byte Italic = 0, Underline = 0, StrikeOut = 0, CharSet = 0;
  Byte OutPrecision = 0, ClipPrecision = 0, Quality = 0, PitchAndFamily = 0;
  WideString FaceName;         // at most 31 characters are kept
  friend bool operator==(const TEmfLogFont&, const TEmfLogFont&) = default;
};

struct TEmrExtCreateFontIndirectW {
  DWORD ihFont = 0;
  TEmfLogFont Font;
  // Written in the 320-byte form with the full name set to the face name;
  // read from any form that holds at least the LOGFONTW.
  void Write(TEmfWriter& W) const;
  static TEmrExtCreateFontIndirectW Read(const TEmfRecord& R);
};

// EXTTEXTOUTW, EXTTEXTOUTA. Dx holds advances, not positions: one per
// character, two (x then y) with ETO_PDY.
struct TEmrExtTextOut {
  DWORD Type = EMR_EXTTEXTOUTW;
  TRect Bounds;
  DWORD GraphicsMode = 1;     // GM_COMPATIBLE
  float exScale = 0, eyScale = 0;
  TPoint Reference;
  UINT Options = 0;
  TRect Rect;                  // clipping/opaquing rectangle
  WideString Text;             // EXTTEXTOUTW
  AnsiString AnsiText;         // EXTTEXTOUTA
  std::vector<Integer> Dx;
  void Write(TEmfWriter& W) const;
  static TEmrExtTextOut Read(const TEmfRecord& R);
  std::size_t CharCount() const { return Type == EMR_EXTTEXTOUTA ? AnsiText.size() : Text.size(); }
};

// BITBLT, STRETCHBLT, and ALPHABLEND and TRANSPARENTBLT, which share the
// stretching layout: Rop holds the packed BLENDFUNCTION and the transparent
// colour there. Without a source bitmap (Bmi empty) it is a pattern fill of
// the destination with the selected brush.
struct TEmrBitBlt {
  DWORD Type = EMR_BITBLT;
  TRect Bounds;
  Integer xDest = 0, yDest = 0, cxDest = 0, cyDest = 0;
  DWORD Rop = 0;
  Integer xSrc = 0, ySrc = 0;
  TEmfXForm XFormSrc;
  COLORREF BkColorSrc = 0;
  DWORD UsageSrc = DIB_RGB_COLORS;
  std::vector<Byte> Bmi, Bits;
  Integer cxSrc = 0, cySrc = 0;  // all but BITBLT
  void Write(TEmfWriter& W) const;
  static TEmrBitBlt Read(const TEmfRecord& R);
};

struct TEmrStretchDIBits {
  TRect Bounds;
  Integer xDest = 0, yDest = 0, xSrc = 0, ySrc = 0, cxSrc = 0, cySrc = 0;
  DWORD Usage = DIB_RGB_COLORS;
  DWORD Rop = 0;
  Integer cxDest = 0, cyDest = 0;
  std::vector<Byte> Bmi, Bits;
  void Write(TEmfWriter& W) const;
  static TEmrStretchDIBits Read(const TEmfRecord& R);
};

struct TEmrSetDIBitsToDevice {
  TRect Bounds;
  Integer xDest = 0, yDest = 0, xSrc = 0, ySrc = 0, cxSrc = 0, cySrc = 0;
  DWORD Usage = DIB_RGB_COLORS;
  DWORD StartScan = 0, Scans = 0;
  std::vector<Byte> Bmi, Bits;
  void Write(TEmfWriter& W) const;
  static TEmrSetDIBitsToDevice Read(const TEmfRecord& R);
};

struct TEmrMaskBlt {
  TRect Bounds;
  Integer xDest = 0, yDest = 0, cxDest = 0, cyDest = 0;
  DWORD Rop = 0;
  Integer xSrc = 0, ySrc = 0;
  TEmfXForm XFormSrc;
  COLORREF BkColorSrc = 0;
  DWORD UsageSrc = DIB_RGB_COLORS;
  std::vector<Byte> Bmi, Bits;
  Integer xMask = 0, yMask = 0;
  DWORD UsageMask = DIB_RGB_COLORS;
  std::vector<Byte> MaskBmi, MaskBits;
  void Write(TEmfWriter& W) const;
  static TEmrMaskBlt Read(const TEmfRecord& R);
};

// GRADIENTFILL: Indices holds three per triangle or two per rectangle.
struct TEmrGradientFill {
  TRect Bounds;
  ULONG Mode = 0;   // GRADIENT_FILL_RECT_H, _RECT_V, _TRIANGLE
  std::vector<TRIVERTEX> Vertices;
  std::vector<ULONG> Indices;
  void Write(TEmfWriter& W) const;
  static TEmrGradientFill Read(const TEmfRecord& R);
};

// RGNDATA with rectangles (end-exclusive, as regions store them).
struct TEmfRegionData {
  TRect Bound;
  std::vector<TRect> Rects;
  std::size_t ByteSize() const { return 32 + 16 * Rects.size(); }
  void Write(TEmfWriter& W) const;
  static TEmfRegionData Read(TEmfReader& R, std::size_t Size);
};

// EXTSELECTCLIPRGN; no region (HasRegion false) resets to the default clip.
struct TEmrExtSelectClipRgn {
  DWORD Mode = 5;              // RGN_COPY
  bool HasRegion = false;
  TEmfRegionData Region;
  void Write(TEmfWriter& W) const;
  static TEmrExtSelectClipRgn Read(const TEmfRecord& R);
};

// FILLRGN (brush), FRAMERGN (brush and stroke), INVERTRGN, PAINTRGN.
struct TEmrRegion {
  DWORD Type = EMR_FILLRGN;
  TRect Bounds;
  DWORD ihBrush = 0;
  TSize Stroke;
  TEmfRegionData Region;
  void Write(TEmfWriter& W) const;
  static TEmrRegion Read(const TEmfRecord& R);
};

struct TEmrGdiComment {
  std::vector<Byte> Data;
  void Write(TEmfWriter& W) const;
  static TEmrGdiComment Read(const TEmfRecord& R);
};

struct TEmrCreatePalette {
  DWORD ihPal = 0;
  std::vector<DWORD> Entries;  // PALETTEENTRY values
  void Write(TEmfWriter& W) const;
  static TEmrCreatePalette Read(const TEmfRecord& R);
};
