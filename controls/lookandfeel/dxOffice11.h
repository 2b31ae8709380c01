// dxOffice11.h — the Office 2003 colour scheme: 79 colour slots taken from a
// fixed table per Luna colour scheme when that visual style is active, else
// derived from the system colours; the brushes and bitmaps the painters
// share while the scheme is locked; gradient, grip-dot and arrow helpers.
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Types.h"

class TBitmap;

// 0 none, 1 blue, 2 olive, 3 silver.
int GetOffice11SchemeIndex();
bool IsOffice11SchemeThemed();
int GetOffice11GradientPercent();
// Slot N (1..79) as computed by the last Lock or Reload; 0 before.
TColor Office11Slot(int N);
// The slot fed by entry K (0..48) of the scheme's 49-colour row.
TColor Office11SchemeEntry(int K);
// The scheme white (slot 29) and the 50 % mix of entries 4 and 11 (slot 16).
inline TColor Office11SchemeWhite() { return Office11Slot(29); }
inline TColor Office11SchemeMix4And11() { return Office11Slot(16); }

void LockOffice11Scheme();
void UnlockOffice11Scheme();
void ReloadOffice11Scheme();
int Office11LockCount();
// Brush Bn (1..16) while locked; null otherwise.
HBRUSH Office11Brush(int N);
// The 11 x 11 expand-button pictures while locked; null otherwise.
TBitmap* Office11ExpandButtonBitmap(bool AExpanded);
// "DXSUBMENUEXPAND" tinted with the scheme while locked; null otherwise.
TBitmap* Office11SubMenuExpandBitmap();
// Recolours the pixels that are neither black nor the corner colour from the
// scheme's light (slot 3, the brightest pixels) to its dark colour (slot 4),
// by their red value.
void TintSchemeBitmap(TBitmap* ABitmap);
// The two fixed colours blended into the expand buttons' corners.
constexpr TColor Office11ExpandButtonColor1 = TColor(0xBFAE9E);
constexpr TColor Office11ExpandButtonColor2 = TColor(0x5F462E);

bool IsBtnFaceBlack();
bool IsBtnFaceWhite();
bool IsBlackFaceColoredText();

TColor MixColors(TColor AColor1, TColor AColor2, int APercent);
TColor BlendSystemColors(int APercentFace, int APercentHighlight, int APercentWindow);
TColor ScaleColor(TColor AColor, int APercent);

void FillRectWithColor(HDC DC, const TRect& R, TColor AColor);
void FrameRectWithColor(HDC DC, const TRect& R, TColor AColor);
void FillGradientRect(HDC DC, const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal);
void FillTwoStageGradientRect(HDC DC, const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal);
TColor GradientColorAt(const TRect& R, int APosition, TColor AColor1, TColor AColor2, bool AHorizontal);
void FrameOffice11Rect(HDC DC, const TRect& R);
void DrawOffice11GripDots(HDC DC, const TRect& R, bool AVertical);
void DrawOffice11SizeGripDots(HDC DC, const TRect& R);
void DrawOffice11ArrowInRect(HDC DC, const TRect& R, bool ADown, bool AEnabled, bool ASelected);
void DrawOffice11Arrow(HDC DC, const TRect& R, bool ADown, int ASize, bool ASelected, bool AEnabled);
