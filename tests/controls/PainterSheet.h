// PainterSheet.h — a sheet of painter parts laid out on a bitmap, drawn by
// one painter and sampled at points where a golden can be trusted: frames,
// faces and marks, never text.
#pragma once
#include <functional>
#include <vector>
#include "ControlsTestSupport.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "controls/painters/cxLookAndFeelPainters.h"
#include "platform/gdi/Gdi.h"

namespace cxtest {

// Magenta: no painter draws it, so a part that leaves its rectangle shows.
constexpr TColor SheetBackground = TColor(0xFF00FF);

struct TSheetPart {
  TRect R;
  std::function<void(TcxLookAndFeelPainterClass, TcxCanvas*, const TRect&)> Draw;
  bool Text = false;  // sample the frame only
};

inline TRect At(int X, int Y, int W, int H) { return {X, Y, X + W, Y + H}; }

// Corners, the second ring and the middle of each side of every part; for a
// part without text also points around its centre.
inline std::vector<TPoint> SheetPoints(const std::vector<TSheetPart>& Parts) {
  std::vector<TPoint> P;
  for (const TSheetPart& El : Parts) {
    const TRect& R = El.R;
    const int Cx = (R.Left + R.Right) / 2, Cy = (R.Top + R.Bottom) / 2;
    for (TPoint Q : {TPoint{R.Left, R.Top}, TPoint{R.Right - 1, R.Bottom - 1}, TPoint{R.Left + 1, R.Top + 1},
                     TPoint{R.Right - 2, R.Bottom - 2}, TPoint{R.Left, Cy}, TPoint{Cx, R.Top},
                     TPoint{R.Right - 1, Cy}, TPoint{Cx, R.Bottom - 1}})
      P.push_back(Q);
    if (!El.Text)
      for (TPoint Q : {TPoint{Cx, Cy}, TPoint{Cx - 1, Cy}, TPoint{Cx, Cy + 1}, TPoint{Cx - 1, Cy - 1},
                       TPoint{Cx + 1, Cy + 2}, TPoint{R.Left + 3, R.Top + 3}})
        P.push_back(Q);
  }
  return P;
}

// Each part with the device context restored after it, so one part's pen,
// brush or clipping never reaches the next.
inline void DrawSheet(const std::vector<TSheetPart>& Parts, TcxLookAndFeelPainterClass P, TPaintBox& Box) {
  for (const TSheetPart& E : Parts) {
    TCanvas* C = Box.Canvas()->Canvas();
    const int Saved = SaveDC(C->GetHandle());
    E.Draw(P, Box.Canvas(), E.R);
    RestoreDC(C->GetHandle(), Saved);
    C->Refresh();
  }
}

// Holds the Office 2003 scheme computed for the theme state of the test.
struct TOffice11SchemeHeld {
  TOffice11SchemeHeld() {
    LockOffice11Scheme();
    ReloadOffice11Scheme();
  }
  ~TOffice11SchemeHeld() {
    UnlockOffice11Scheme();
    ReloadOffice11Scheme();
  }
};

}  // namespace cxtest
