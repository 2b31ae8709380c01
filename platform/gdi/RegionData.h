// RegionData.h — the value behind a region handle and every clip: a set of
// pixels kept as y-x banded rectangles (sorted by Top, then Left; rectangles
// of one band share Top and Bottom, never touch or overlap; equal adjacent
// bands are merged). Because the form is canonical, two regions covering the
// same pixels compare equal rectangle for rectangle, which EqualRgn relies on.
// Coordinates are device pixels; Right and Bottom lie outside.
#pragma once
#include <vector>
#include "platform/gdi/GdiTypes.h"

class TRegionData {
public:
  TRegionData() = default;
  explicit TRegionData(const TRect& R);

  // Builds a region row by row. Rows must come in increasing Y; each row's
  // spans may be unsorted and overlapping (they are merged).
  class TBuilder {
  public:
    void AddRow(Integer Y, std::vector<std::pair<Integer, Integer>>& Spans);
    TRegionData Finish();
  private:
    void Flush();
    std::vector<TRect> FRects;
    std::vector<std::pair<Integer, Integer>> FCur;   // spans of the open band
    Integer FBandTop = 0, FBandBottom = 0;
    bool FOpen = false;
  };

  const std::vector<TRect>& Rects() const { return FRects; }
  bool IsEmpty() const { return FRects.empty(); }
  TRect Bounds() const { return FBounds; }
  // NULLREGION, SIMPLEREGION or COMPLEXREGION, as the region calls return.
  int Kind() const;
  bool Contains(Integer X, Integer Y) const;
  bool Intersects(const TRect& R) const;
  void Offset(Integer DX, Integer DY);
  // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF; RGN_COPY returns A.
  static TRegionData Combine(const TRegionData& A, const TRegionData& B, int Mode);
  TRegionData Intersect(const TRect& R) const;
  // Index of the first rectangle of the band that holds row Y, or of the
  // first band below it.
  std::size_t FirstRectAtOrBelow(Integer Y) const;

  friend bool operator==(const TRegionData& A, const TRegionData& B) { return A.FRects == B.FRects; }

private:
  void Normalize();  // coalesces bands, recomputes the bounds
  std::vector<TRect> FRects;
  TRect FBounds;
};
