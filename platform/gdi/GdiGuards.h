// GdiGuards.h — RAII for graphics handles and device-context state: a DC or
// GDI object that must be deleted, an object selected for a scope, and a
// DC state saved for a scope. The generic handle and update guards are in
// rtl/Guards.h.
#pragma once
#include "platform/gdi/DcApi.h"
#include "platform/rtl/Guards.h"

template <class THandle>
struct TGdiObjectTraits {
  static THandle Invalid() { return nullptr; }
  static void Free(THandle H) { DeleteObject(H); }
};
// A pen, brush, font, bitmap, region or palette this scope owns.
template <class THandle = HGDIOBJ>
using TUniqueGdiObject = TUniqueHandle<THandle, TGdiObjectTraits<THandle>>;

struct TDcTraits {
  static HDC Invalid() { return nullptr; }
  static void Free(HDC H) { DeleteDC(H); }
};
// A DC made by CreateDC or CreateCompatibleDC; freed by DeleteDC.
using TUniqueDc = TUniqueHandle<HDC, TDcTraits>;

// Selects an object into a DC for the scope and puts the previous one back.
class TSelectObjectGuard {
public:
  TSelectObjectGuard(HDC Dc, HGDIOBJ Obj) : FDc(Dc), FOld(Dc && Obj ? SelectObject(Dc, Obj) : nullptr) {}
  ~TSelectObjectGuard() {
    if (FOld && FOld != HGDI_ERROR) SelectObject(FDc, FOld);
  }
  TSelectObjectGuard(const TSelectObjectGuard&) = delete;
  TSelectObjectGuard& operator=(const TSelectObjectGuard&) = delete;
  // False when the selection failed (no DC, no object, or a bad handle).
  bool Selected() const { return FOld && FOld != HGDI_ERROR; }

private:
  HDC FDc;
  HGDIOBJ FOld;
};

// Saves a DC's whole state (SaveDC) and restores it when the scope ends.
class TSaveDcGuard {
public:
  explicit TSaveDcGuard(HDC Dc) : FDc(Dc), FLevel(SaveDC(Dc)) {}
  ~TSaveDcGuard() {
    if (FLevel > 0) RestoreDC(FDc, FLevel);
  }
  TSaveDcGuard(const TSaveDcGuard&) = delete;
  TSaveDcGuard& operator=(const TSaveDcGuard&) = delete;

private:
  HDC FDc;
  int FLevel;
};

// A memory DC (CreateCompatibleDC) with one object selected for its life:
// at the end the selection is undone, then the DC deleted.
class TMemoryDc {
public:
  explicit TMemoryDc(HGDIOBJ Selected = nullptr, HDC Compatible = nullptr)
      : FDc(CreateCompatibleDC(Compatible)), FSelection(FDc.Get(), Selected) {}
  HDC Dc() const { return FDc.Get(); }
  explicit operator bool() const { return bool(FDc); }
  bool Selected() const { return FSelection.Selected(); }

private:
  TUniqueDc FDc;
  TSelectObjectGuard FSelection;  // after FDc: undone before the DC goes
};
