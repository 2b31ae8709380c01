// EmfMapping.h — the logical-to-device mapping an enhanced metafile sets up
// with its map-mode, window, viewport and world-transform records, tracked
// with SaveDC/RestoreDC. Converters that do not play onto a DC (EMF -> WMF)
// use it to place each record's coordinates on the reference device.
#pragma once
#include <vector>
#include "platform/gdi/EmfRecords.h"

class TEmfMapping {
public:
  // Pixels and millimetres of the reference device (for the metric modes).
  TEmfMapping(TSize DevicePixels, TSize DeviceMillimeters);
  // Follows the record if it changes the mapping; answers whether it did.
  bool Apply(const TEmfRecord& Rec);
  void ToDevice(double X, double Y, double& DX, double& DY) const;
  // Device length of a logical length along X or Y (absolute).
  double ScaleX() const;
  double ScaleY() const;
  // World transform and page mapping as one affine transform to device units.
  TEmfXForm Transform() const;
  bool WorldIsIdentity() const { return S.World == TEmfXForm{}; }
  // True when the mapping has no rotation or shear.
  bool AxisAligned() const;

private:
  struct TState {
    int MapMode = 1;
    TPoint WindowOrg, ViewportOrg;
    TSize WindowExt{1, 1}, ViewportExt{1, 1};
    TEmfXForm World;
  };
  void SetMapMode(int Mode);
  void PageScale(double& Sx, double& Sy) const;
  TSize FPixels, FMillimeters;
  TState S;
  std::vector<TState> FSaved;
};

// Combined transform A then B (x' = A(x), then B(x')).
TEmfXForm EmfCombine(const TEmfXForm& A, const TEmfXForm& B);
