// ControlsTestSupport.h — what the control-foundation tests share: a theme
// binding with visual styles switched on (the themed branches), a bitmap
// canvas to paint parts into, and the golden-picture comparison.
#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include "controls/base/cxGraphics.h"
#include "platform/gdi/Bitmap.h"
#include "platform/win/UxTheme.h"

namespace cxtest {

// Themes on, the Luna style with a chosen colour scheme. Every theme class
// opens (unless listed in Closed) and each part is drawn as a solid colour
// that encodes (part, state), so a test can read which part a painter
// asked for from the pixels.
class TTestThemeBinding : public TThemeBinding {
public:
  std::u16string ColorScheme = u"NormalColor";
  std::u16string FileName = u"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles";
  std::set<std::u16string> Closed;
  int Opened = 0;
  std::vector<std::u16string> OpenedLists;

  BOOL IsThemeActive() override { return TRUE; }
  BOOL IsAppThemed() override { return TRUE; }
  HTHEME OpenThemeData(HWND, const WCHAR* ClassList) override;
  HRESULT CloseThemeData(HTHEME) override { return S_OK; }
  HRESULT DrawThemeBackground(HTHEME T, HDC Dc, int Part, int State, const TRect* R, const TRect*) override;
  HRESULT DrawThemeText(HTHEME, HDC, int, int, const WCHAR*, int, DWORD, DWORD, const TRect*) override {
    return S_OK;
  }
  HRESULT GetThemePartSize(HTHEME, HDC, int, int, const TRect*, THEMESIZE, TSize* S) override {
    *S = {13, 13};
    return S_OK;
  }
  HRESULT GetCurrentThemeName(WCHAR* File, int MaxFile, WCHAR* Color, int MaxColor, WCHAR* Size,
                              int MaxSize) override;
  // Metrics are answered only when asked for (the pictures of other areas
  // were made without them): content rectangles inset by ContentInset
  // (left, top, right, bottom), theme colours (ThemeColor of the part and
  // property) and partial transparency.
  bool AnswerMetrics = false;
  TRect ContentInset{2, 3, 4, 5};
  bool PartiallyTransparent = false;
  HRESULT GetThemeBackgroundContentRect(HTHEME T, HDC Dc, int Part, int State, const TRect* Bounds,
                                        TRect* Content) override;
  HRESULT GetThemeColor(HTHEME T, int Part, int State, int Prop, COLORREF* Color) override;
  BOOL IsThemeBackgroundPartiallyTransparent(HTHEME T, int Part, int State) override;
  static TColor ThemeColor(int ThemeClass, int Part, int Prop) {
    return TColor(((ThemeClass + 1) << 16) | (Part << 8) | (Prop & 0xFF));
  }
  // The colour a part is drawn in: (class, part, state) packed.
  static TColor PartColor(int ThemeClass, int Part, int State) {
    return TColor((ThemeClass << 16) | (Part << 8) | (State * 16));
  }
};

// Installs the binding for a scope and tells the theme manager (as the
// system's theme-change broadcast would); restores the desktop's after.
class TThemesOn {
public:
  TThemesOn();
  ~TThemesOn();
  TTestThemeBinding* Binding;
};

// A 32-bit bitmap filled with a background colour, and a TcxCanvas on it.
class TPaintBox {
public:
  TPaintBox(int W, int H, TColor Background = TColor(0xFF00FF));
  TcxCanvas* Canvas() { return &FCanvas; }
  TBitmap* Bitmap() { return &FBitmap; }
  TColor Pixel(int X, int Y);
  // Writes the picture as a PNG, each pixel Scale times wider and higher.
  void SavePng(const std::string& Path, int Scale = 1);

private:
  TBitmap FBitmap;
  TcxCanvas FCanvas;
};

// The golden pictures under tests/fixtures/controls.
std::string FixturePath(const std::string& Name);
// Reads a PNG into 0x00RRGGBB pixels (top-down); false when absent.
bool ReadPng(const std::string& Path, int& W, int& H, std::vector<std::uint32_t>& Pixels);
// Compares the bitmap with the golden at the given points; with
// SX_UPDATE_GOLDENS=1 in the environment the golden is rewritten instead
// (on purpose only, and looked at before committing). SX_SHOTS_DIR=dir
// writes a four times enlarged copy there for looking at.
void ExpectMatchesGolden(TPaintBox& Box, const std::string& Name, const std::vector<TPoint>& Points);

// RGB of a colour with system colours resolved.
TColor Rgb(TColor C);

}  // namespace cxtest
