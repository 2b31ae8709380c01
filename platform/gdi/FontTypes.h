// FontTypes.h — the font records and constants of the graphics layer: the
// logical font description callers fill in, the metrics records the text
// calls answer with, and the enumeration records. Field names and numeric
// values are GDI's, so code written against the public API reads unchanged.
// Wide characters are UTF-16 code units (char16_t).
#pragma once
#include <cstdint>
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/CodePages.h"

using LONG = std::int32_t;
using SHORT = std::int16_t;
using FONTENUMPROCA = int (*)(const struct LOGFONTA*, const struct TEXTMETRICA*, DWORD, LPARAM);
using FONTENUMPROCW = int (*)(const struct LOGFONTW*, const struct TEXTMETRICW*, DWORD, LPARAM);

constexpr int LF_FACESIZE = 32;
constexpr int LF_FULLFACESIZE = 64;

// Weights.
constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_EXTRALIGHT = 200;
constexpr LONG FW_LIGHT = 300;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_REGULAR = 400;
constexpr LONG FW_MEDIUM = 500;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_EXTRABOLD = 800;
constexpr LONG FW_HEAVY = 900;

// Character sets (ANSI_CHARSET ...) come from CodePages.h.

// Output precision.
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_STRING_PRECIS = 1;
constexpr BYTE OUT_CHARACTER_PRECIS = 2;
constexpr BYTE OUT_STROKE_PRECIS = 3;
constexpr BYTE OUT_TT_PRECIS = 4;
constexpr BYTE OUT_DEVICE_PRECIS = 5;
constexpr BYTE OUT_RASTER_PRECIS = 6;
constexpr BYTE OUT_TT_ONLY_PRECIS = 7;
constexpr BYTE OUT_OUTLINE_PRECIS = 8;
constexpr BYTE OUT_SCREEN_OUTLINE_PRECIS = 9;
constexpr BYTE OUT_PS_ONLY_PRECIS = 10;

// Clip precision.
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE CLIP_CHARACTER_PRECIS = 1;
constexpr BYTE CLIP_STROKE_PRECIS = 2;
constexpr BYTE CLIP_MASK = 0x0F;
constexpr BYTE CLIP_LH_ANGLES = 0x10;
constexpr BYTE CLIP_TT_ALWAYS = 0x20;
constexpr BYTE CLIP_EMBEDDED = 0x80;

// Quality.
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE PROOF_QUALITY = 2;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;
constexpr BYTE CLEARTYPE_NATURAL_QUALITY = 6;

// Pitch and family (LOGFONT's lfPitchAndFamily).
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE MONO_FONT = 8;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
constexpr BYTE FF_SCRIPT = 0x40;
constexpr BYTE FF_DECORATIVE = 0x50;

// TEXTMETRIC's tmPitchAndFamily low bits. TMPF_FIXED_PITCH is set for
// variable-pitch fonts: the name says the opposite of what it means.
constexpr BYTE TMPF_FIXED_PITCH = 0x01;
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_DEVICE = 0x08;
constexpr BYTE TMPF_TRUETYPE = 0x04;

// Font types reported by the enumeration.
constexpr DWORD RASTER_FONTTYPE = 0x0001;
constexpr DWORD DEVICE_FONTTYPE = 0x0002;
constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;

// NEWTEXTMETRIC ntmFlags.
constexpr DWORD NTM_ITALIC = 0x00000001;
constexpr DWORD NTM_BOLD = 0x00000020;
constexpr DWORD NTM_REGULAR = 0x00000040;
constexpr DWORD NTM_PS_OPENTYPE = 0x00020000;
constexpr DWORD NTM_TT_OPENTYPE = 0x00040000;

// GetFontData's failure value: GDI_ERROR as a DWORD.
constexpr DWORD GDI_FONTDATA_ERROR = 0xFFFFFFFF;
// The tag "ttcf" as GetFontData takes tags: file-order bytes read as a
// little-endian DWORD. It asks for the whole collection file.
constexpr DWORD TTCF_TABLE_TAG = 0x66637474;

struct LOGFONTA {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = 0;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  char lfFaceName[LF_FACESIZE] = {};
};

struct LOGFONTW {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = 0;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  WCHAR lfFaceName[LF_FACESIZE] = {};
};

struct TEXTMETRICA {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  LONG tmDigitizedAspectX = 0;
  LONG tmDigitizedAspectY = 0;
  BYTE tmFirstChar = 0;
  BYTE tmLastChar = 0;
  BYTE tmDefaultChar = 0;
  BYTE tmBreakChar = 0;
  BYTE tmItalic = 0;
  BYTE tmUnderlined = 0;
  BYTE tmStruckOut = 0;
  BYTE tmPitchAndFamily = 0;
  BYTE tmCharSet = 0;
};

struct TEXTMETRICW {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  LONG tmDigitizedAspectX = 0;
  LONG tmDigitizedAspectY = 0;
  WCHAR tmFirstChar = 0;
  WCHAR tmLastChar = 0;
  WCHAR tmDefaultChar = 0;
  WCHAR tmBreakChar = 0;
  BYTE tmItalic = 0;
  BYTE tmUnderlined = 0;
  BYTE tmStruckOut = 0;
  BYTE tmPitchAndFamily = 0;
  BYTE tmCharSet = 0;
};

struct NEWTEXTMETRICA : TEXTMETRICA {
  DWORD ntmFlags = 0;
  UINT ntmSizeEM = 0;
  UINT ntmCellHeight = 0;
  UINT ntmAvgWidth = 0;
};

struct NEWTEXTMETRICW : TEXTMETRICW {
  DWORD ntmFlags = 0;
  UINT ntmSizeEM = 0;
  UINT ntmCellHeight = 0;
  UINT ntmAvgWidth = 0;
};

struct FONTSIGNATURE {
  DWORD fsUsb[4] = {};
  DWORD fsCsb[2] = {};
};

struct NEWTEXTMETRICEXA {
  NEWTEXTMETRICA ntmTm;
  FONTSIGNATURE ntmFontSig;
};

struct NEWTEXTMETRICEXW {
  NEWTEXTMETRICW ntmTm;
  FONTSIGNATURE ntmFontSig;
};

struct ENUMLOGFONTEXA {
  LOGFONTA elfLogFont;
  char elfFullName[LF_FULLFACESIZE] = {};
  char elfStyle[LF_FACESIZE] = {};
  char elfScript[LF_FACESIZE] = {};
};

struct ENUMLOGFONTEXW {
  LOGFONTW elfLogFont;
  WCHAR elfFullName[LF_FULLFACESIZE] = {};
  WCHAR elfStyle[LF_FACESIZE] = {};
  WCHAR elfScript[LF_FACESIZE] = {};
};

struct PANOSE {
  BYTE bFamilyType = 0;
  BYTE bSerifStyle = 0;
  BYTE bWeight = 0;
  BYTE bProportion = 0;
  BYTE bContrast = 0;
  BYTE bStrokeVariation = 0;
  BYTE bArmStyle = 0;
  BYTE bLetterform = 0;
  BYTE bMidline = 0;
  BYTE bXHeight = 0;
};

// The name fields hold byte offsets from the start of the record to the
// strings stored after it, not addresses: the record is copied as one block.
struct OUTLINETEXTMETRICA {
  UINT otmSize = 0;
  TEXTMETRICA otmTextMetrics;
  BYTE otmFiller = 0;
  PANOSE otmPanoseNumber;
  UINT otmfsSelection = 0;
  UINT otmfsType = 0;
  int otmsCharSlopeRise = 0;
  int otmsCharSlopeRun = 0;
  int otmItalicAngle = 0;
  UINT otmEMSquare = 0;
  int otmAscent = 0;
  int otmDescent = 0;
  UINT otmLineGap = 0;
  UINT otmsCapEmHeight = 0;
  UINT otmsXHeight = 0;
  TRect otmrcFontBox;
  int otmMacAscent = 0;
  int otmMacDescent = 0;
  UINT otmMacLineGap = 0;
  UINT otmusMinimumPPEM = 0;
  TPoint otmptSubscriptSize;
  TPoint otmptSubscriptOffset;
  TPoint otmptSuperscriptSize;
  TPoint otmptSuperscriptOffset;
  UINT otmsStrikeoutSize = 0;
  int otmsStrikeoutPosition = 0;
  int otmsUnderscoreSize = 0;
  int otmsUnderscorePosition = 0;
  char* otmpFamilyName = nullptr;
  char* otmpFaceName = nullptr;
  char* otmpStyleName = nullptr;
  char* otmpFullName = nullptr;
};

struct OUTLINETEXTMETRICW {
  UINT otmSize = 0;
  TEXTMETRICW otmTextMetrics;
  BYTE otmFiller = 0;
  PANOSE otmPanoseNumber;
  UINT otmfsSelection = 0;
  UINT otmfsType = 0;
  int otmsCharSlopeRise = 0;
  int otmsCharSlopeRun = 0;
  int otmItalicAngle = 0;
  UINT otmEMSquare = 0;
  int otmAscent = 0;
  int otmDescent = 0;
  UINT otmLineGap = 0;
  UINT otmsCapEmHeight = 0;
  UINT otmsXHeight = 0;
  TRect otmrcFontBox;
  int otmMacAscent = 0;
  int otmMacDescent = 0;
  UINT otmMacLineGap = 0;
  UINT otmusMinimumPPEM = 0;
  TPoint otmptSubscriptSize;
  TPoint otmptSubscriptOffset;
  TPoint otmptSuperscriptSize;
  TPoint otmptSuperscriptOffset;
  UINT otmsStrikeoutSize = 0;
  int otmsStrikeoutPosition = 0;
  int otmsUnderscoreSize = 0;
  int otmsUnderscorePosition = 0;
  char16_t* otmpFamilyName = nullptr;
  char16_t* otmpFaceName = nullptr;
  char16_t* otmpStyleName = nullptr;
  char16_t* otmpFullName = nullptr;
};

struct ABC {
  int abcA = 0;
  UINT abcB = 0;
  int abcC = 0;
};

struct KERNINGPAIR {
  WORD wFirst = 0;
  WORD wSecond = 0;
  int iKernAmount = 0;
};

// Text alignment (SetTextAlign).
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT TA_RTLREADING = 256;
constexpr UINT TA_MASK = TA_BASELINE + TA_CENTER + TA_UPDATECP + TA_RTLREADING;

// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
constexpr UINT ETO_GLYPH_INDEX = 0x0010;
constexpr UINT ETO_RTLREADING = 0x0080;
constexpr UINT ETO_IGNORELANGUAGE = 0x1000;
constexpr UINT ETO_PDY = 0x2000;

// DrawText formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

struct DRAWTEXTPARAMS {
  UINT cbSize = sizeof(DRAWTEXTPARAMS);
  int iTabLength = 0;
  int iLeftMargin = 0;
  int iRightMargin = 0;
  UINT uiLengthDrawn = 0;
};
