#include "platform/gdi/Rects.h"

#include <algorithm>

BOOL SetRect(TRect* R, int L, int T, int Rt, int B) {
  if (!R) return FALSE;
  *R = {L, T, Rt, B};
  return TRUE;
}

BOOL SetRectEmpty(TRect* R) { return SetRect(R, 0, 0, 0, 0); }

BOOL CopyRect(TRect* Dst, const TRect* Src) {
  if (!Dst || !Src) return FALSE;
  *Dst = *Src;
  return TRUE;
}

BOOL InflateRect(TRect* R, int DX, int DY) {
  if (!R) return FALSE;
  R->Left -= DX; R->Right += DX; R->Top -= DY; R->Bottom += DY;
  return TRUE;
}

BOOL OffsetRect(TRect* R, int DX, int DY) {
  if (!R) return FALSE;
  R->Left += DX; R->Right += DX; R->Top += DY; R->Bottom += DY;
  return TRUE;
}

BOOL IntersectRect(TRect* Dst, const TRect* A, const TRect* B) {
  if (!Dst || !A || !B) return FALSE;
  TRect R{std::max(A->Left, B->Left), std::max(A->Top, B->Top), std::min(A->Right, B->Right),
          std::min(A->Bottom, B->Bottom)};
  if (A->IsEmpty() || B->IsEmpty() || R.IsEmpty()) {
    *Dst = TRect();
    return FALSE;
  }
  *Dst = R;
  return TRUE;
}

BOOL UnionRect(TRect* Dst, const TRect* A, const TRect* B) {
  if (!Dst || !A || !B) return FALSE;
  if (A->IsEmpty() && B->IsEmpty()) {
    *Dst = TRect();
    return FALSE;
  }
  if (A->IsEmpty()) { *Dst = *B; return TRUE; }
  if (B->IsEmpty()) { *Dst = *A; return TRUE; }
  *Dst = {std::min(A->Left, B->Left), std::min(A->Top, B->Top), std::max(A->Right, B->Right),
          std::max(A->Bottom, B->Bottom)};
  return TRUE;
}

BOOL SubtractRect(TRect* Dst, const TRect* A, const TRect* B) {
  if (!Dst || !A || !B) return FALSE;
  TRect R = *A;
  TRect I;
  if (!A->IsEmpty() && IntersectRect(&I, A, B)) {
    if (I.Left == A->Left && I.Right == A->Right) {          // spans the width
      if (I.Top == A->Top) R.Top = I.Bottom;
      else if (I.Bottom == A->Bottom) R.Bottom = I.Top;
    } else if (I.Top == A->Top && I.Bottom == A->Bottom) {   // spans the height
      if (I.Left == A->Left) R.Left = I.Right;
      else if (I.Right == A->Right) R.Right = I.Left;
    }
  }
  if (R.IsEmpty()) {
    *Dst = TRect();
    return FALSE;
  }
  *Dst = R;
  return TRUE;
}

BOOL EqualRect(const TRect* A, const TRect* B) { return A && B && *A == *B ? TRUE : FALSE; }
BOOL IsRectEmpty(const TRect* R) { return !R || R->IsEmpty() ? TRUE : FALSE; }
BOOL PtInRect(const TRect* R, TPoint P) { return R && R->Contains(P) ? TRUE : FALSE; }
