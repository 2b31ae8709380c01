// Rects.h — the rectangle helpers. Right and Bottom lie outside, so a
// rectangle is empty when Right <= Left or Bottom <= Top.
#pragma once
#include "platform/gdi/GdiTypes.h"

BOOL SetRect(TRect* R, int L, int T, int Rt, int B);
BOOL SetRectEmpty(TRect* R);
BOOL CopyRect(TRect* Dst, const TRect* Src);
BOOL InflateRect(TRect* R, int DX, int DY);
BOOL OffsetRect(TRect* R, int DX, int DY);
// Empty result (all zero) and FALSE when the two do not overlap.
BOOL IntersectRect(TRect* Dst, const TRect* A, const TRect* B);
BOOL UnionRect(TRect* Dst, const TRect* A, const TRect* B);
// A minus B when B covers A fully along one axis; otherwise A itself.
BOOL SubtractRect(TRect* Dst, const TRect* A, const TRect* B);
BOOL EqualRect(const TRect* A, const TRect* B);
BOOL IsRectEmpty(const TRect* R);
BOOL PtInRect(const TRect* R, TPoint P);
