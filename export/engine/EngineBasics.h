// EngineBasics.h — what every engine and writer shares below the engine
// itself: the screen resolution, measurement units and their factors, the
// engine exceptions with their texts, rounding, and the small text helpers
// used by the layout and the writers.
#pragma once
#include <cmath>
#include "platform/gdi/DrawingTools.h"
#include "platform/rtl/Exceptions.h"

// Pixels per inch of the screen (P) and pixels per point (S = P / 72). Read
// once from the display device and fixed for the process.
Integer gtScreenPPI();
double gtScreenPPP();

enum TgtUnitType : Byte { muPixels, muInches, muMM, muPoints, muTwips };

// Pixels per unit at the screen resolution; an unknown unit gives 1.0.
double UnitFactor(TgtUnitType Unit);

// Nearest integer, halves to the even neighbour (the conversions of the
// engines round this way throughout).
inline Int64 RoundHalfEven(double V) { return static_cast<Int64>(std::nearbyint(V)); }
inline Integer RoundInt(double V) { return static_cast<Integer>(std::nearbyint(V)); }

double PixelsToPoints(double X);
double PointsToPixels(double X);

SX_DECLARE_EXCEPTION(EFileCreateError, Exception);
SX_DECLARE_EXCEPTION(EInvalidPageNumber, Exception);
SX_DECLARE_EXCEPTION(EInvalidEngineState, Exception);
SX_DECLARE_EXCEPTION(EUnsupportedGraphics, Exception);

extern const char* const SFileCreateError;
extern const char* const SInvalidPageNumber;
extern const char* const SInvalidEngineState;
extern const char* const SUnsupportedGraphics;
// SFileCreateError followed by what went wrong: the file's name and the
// system's reason (Cause, as the failed file operation worded it).
AnsiString FileCreateErrorText(const AnsiString& Cause);

// Pen-style names and the charset/code-page table of the writers.
extern const char* const gtPenStyleNames[7];
struct TgtCharsetEntry { const char* Name; UINT CodePage; };
extern const TgtCharsetEntry gtCharsetTable[14];

// Width and height of a text in pixels on the screen with the font.
TSize GetTextSize(const WideString& Text, TFont* Font);
TSize GetTextSizeA(const AnsiString& Text, TFont* Font);

WideString ReverseCharacters(const WideString& Text);
// Spreads a line to Width by adding blanks between words (between the
// characters of a line that has no gap).
WideString JustifyLine(const WideString& Text, TFont* Font, double Width);
WideString ExtractAfterLastBackslash(const WideString& Text);
WideString TrimTrailingCRLF(const WideString& Text);
// 1-based end of a file path (see the link detection), 0 when none.
Integer FindPathEnd(const WideString& Text);
