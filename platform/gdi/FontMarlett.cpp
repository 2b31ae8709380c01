#include "platform/gdi/FontMarlett.h"

#include <cmath>
#include <utility>

namespace {

constexpr double Grid = 13.0;

class TBuilder {
public:
  TBuilder(double XEm, double YEm, std::vector<FT_Vector>& P, std::vector<short>& E) : FX(XEm), FY(YEm), FP(P), FE(E) {}
  // A polygon in grid units, y down from the top of the em.
  void Poly(std::initializer_list<std::pair<double, double>> Pts) {
    for (auto [X, Y] : Pts) Add(X, Y);
    Close();
  }
  void Rect(double L, double T, double R, double B) { Poly({{L, T}, {R, T}, {R, B}, {L, B}}); }
  // Circle of radius Rad around (Cx, Cy) from angle A0 to A1 (degrees,
  // counter-clockwise, y up), as part of the current contour.
  void Arc(double Cx, double Cy, double Rad, double A0, double A1) {
    const int Steps = 24;
    for (int K = 0; K <= Steps; ++K) {
      const double A = (A0 + (A1 - A0) * K / Steps) * M_PI / 180;
      Add(Cx + Rad * std::cos(A), Cy - Rad * std::sin(A));
    }
  }
  void Disc(double Cx, double Cy, double Rad) {
    Arc(Cx, Cy, Rad, 0, 360);
    Close();
  }
  // Half a ring between radii R0 < R1: the upper-left half (45..225 degrees)
  // or the lower-right one.
  void HalfRing(double Cx, double Cy, double R0, double R1, bool UpperLeft) {
    const double A0 = UpperLeft ? 45 : 225, A1 = A0 + 180;
    Arc(Cx, Cy, R1, A0, A1);
    Arc(Cx, Cy, R0, A1, A0);
    Close();
  }

private:
  void Add(double X, double Y) {
    FP.push_back({FT_Pos(std::lround(X / Grid * FX * 64)), FT_Pos(std::lround((Grid - Y) / Grid * FY * 64))});
  }
  void Close() {
    if (!FP.empty() && (FE.empty() || FE.back() != short(FP.size() - 1))) FE.push_back(short(FP.size() - 1));
  }
  double FX, FY;
  std::vector<FT_Vector>& FP;
  std::vector<short>& FE;
};

}  // namespace

void MarlettGlyphOutline(char Code, double XEm, double YEm, std::vector<FT_Vector>& Points, std::vector<short>& Ends) {
  Points.clear();
  Ends.clear();
  TBuilder B(XEm, YEm, Points, Ends);
  const double C = 6.5;  // centre of the radio button
  switch (Code) {
    // Caption buttons.
    case '0': B.Rect(3, 9, 9, 11); break;                       // minimize
    case '1': B.Rect(2, 2, 11, 11); B.Rect(3, 4, 10, 10); break;  // maximize: frame with a thick top
    case '2':                                                    // restore: two frames
      B.Rect(4, 1, 11, 8); B.Rect(5, 3, 10, 7);
      B.Rect(1, 4, 8, 11); B.Rect(2, 6, 7, 10);
      break;
    case 'r':  // close
      B.Poly({{3, 3}, {4.5, 3}, {6.5, 5}, {8.5, 3}, {10, 3}, {7.25, 6.5}, {10, 10}, {8.5, 10}, {6.5, 8}, {4.5, 10}, {3, 10}, {5.75, 6.5}});
      break;
    // Scroll arrows.
    case '3': B.Poly({{8, 2.5}, {8, 10.5}, {4, 6.5}}); break;
    case '4': B.Poly({{5, 2.5}, {5, 10.5}, {9, 6.5}}); break;
    case '5': B.Poly({{2.5, 8}, {10.5, 8}, {6.5, 4}}); break;
    case '6': B.Poly({{2.5, 5}, {10.5, 5}, {6.5, 9}}); break;
    // Small arrows (sort marks).
    case 't': B.Poly({{4, 8}, {9, 8}, {6.5, 5.5}}); break;
    case 'u': B.Poly({{4, 5.5}, {9, 5.5}, {6.5, 8}}); break;
    // Check box: outer and inner frames in two halves each, face, mark.
    case 'c': B.Poly({{0, 0}, {12, 0}, {12, 1}, {1, 1}, {1, 12}, {0, 12}}); break;
    case 'd': B.Poly({{12, 0}, {13, 0}, {13, 13}, {0, 13}, {0, 12}, {12, 12}}); break;
    case 'e': B.Poly({{1, 1}, {11, 1}, {11, 2}, {2, 2}, {2, 11}, {1, 11}}); break;
    case 'f': B.Poly({{11, 1}, {12, 1}, {12, 12}, {1, 12}, {1, 11}, {11, 11}}); break;
    case 'g': B.Rect(2, 2, 11, 11); break;
    case 'a':
    case 'b': B.Poly({{3, 5}, {5, 7}, {9, 3}, {9, 6}, {5, 10}, {3, 8}}); break;
    // Radio button: the same parts as rings around the centre.
    case 'j': B.HalfRing(C, C, 5.5, 6.5, true); break;
    case 'k': B.HalfRing(C, C, 5.5, 6.5, false); break;
    case 'l': B.HalfRing(C, C, 4.5, 5.5, true); break;
    case 'm': B.HalfRing(C, C, 4.5, 5.5, false); break;
    case 'n': B.Disc(C, C, 4.5); break;
    case 'i': B.Disc(C, C, 2); break;
    default: break;
  }
}
