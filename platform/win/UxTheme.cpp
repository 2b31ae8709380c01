#include "platform/win/UxTheme.h"

#include "platform/rtl/Colors.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WinState_p.h"
#include "platform/win/Window.h"

TThemeBinding& ThemeBinding() {
  auto& B = WinState().Themes;
  if (!B) B = std::make_unique<TThemeBinding>();
  return *B;
}

void SetThemeBinding(std::unique_ptr<TThemeBinding> B) {
  WinState().Themes = B ? std::move(B) : std::make_unique<TThemeBinding>();
}

// Without visual styles no theme handle exists: every call on one fails as
// on a stale handle, and the rest answers as with themes switched off.
HTHEME TThemeBinding::OpenThemeData(HWND, const WCHAR*) {
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}
HRESULT TThemeBinding::CloseThemeData(HTHEME) { return E_HANDLE; }
HRESULT TThemeBinding::DrawThemeBackground(HTHEME, HDC, int, int, const TRect*, const TRect*) { return E_HANDLE; }
HRESULT TThemeBinding::DrawThemeText(HTHEME, HDC, int, int, const WCHAR*, int, DWORD, DWORD, const TRect*) {
  return E_HANDLE;
}
HRESULT TThemeBinding::DrawThemeEdge(HTHEME, HDC, int, int, const TRect*, UINT, UINT, TRect*) { return E_HANDLE; }
HRESULT TThemeBinding::DrawThemeIcon(HTHEME, HDC, int, int, const TRect*, HANDLE, int) { return E_HANDLE; }
// Drawing the parent's themed background needs a theme; without one the
// caller paints its own background.
HRESULT TThemeBinding::DrawThemeParentBackground(HWND, HDC, const TRect*) { return E_FAIL; }
HRESULT TThemeBinding::GetThemeBackgroundContentRect(HTHEME, HDC, int, int, const TRect*, TRect*) {
  return E_HANDLE;
}
HRESULT TThemeBinding::GetThemeBackgroundExtent(HTHEME, HDC, int, int, const TRect*, TRect*) { return E_HANDLE; }
HRESULT TThemeBinding::GetThemeBackgroundRegion(HTHEME, HDC, int, int, const TRect*, HRGN*) { return E_HANDLE; }
HRESULT TThemeBinding::GetThemePartSize(HTHEME, HDC, int, int, const TRect*, THEMESIZE, TSize*) { return E_HANDLE; }
HRESULT TThemeBinding::GetThemeColor(HTHEME, int, int, int, COLORREF*) { return E_HANDLE; }
HRESULT TThemeBinding::GetThemeInt(HTHEME, int, int, int, int*) { return E_HANDLE; }
HRESULT TThemeBinding::GetThemeMargins(HTHEME, HDC, int, int, int, const TRect*, MARGINS*) { return E_HANDLE; }
BOOL TThemeBinding::IsThemeBackgroundPartiallyTransparent(HTHEME, int, int) { return FALSE; }
BOOL TThemeBinding::IsThemePartDefined(HTHEME, int, int) { return FALSE; }
COLORREF TThemeBinding::GetThemeSysColor(HTHEME, int ColorId) { return GetSysColor(ColorId); }
HRESULT TThemeBinding::GetCurrentThemeName(WCHAR* FileName, int MaxFileNameChars, WCHAR* ColorName,
                                           int MaxColorChars, WCHAR* SizeName, int MaxSizeChars) {
  // No theme: empty names and the failure of a system whose themes are off.
  if (FileName && MaxFileNameChars > 0) FileName[0] = 0;
  if (ColorName && MaxColorChars > 0) ColorName[0] = 0;
  if (SizeName && MaxSizeChars > 0) SizeName[0] = 0;
  return E_FAIL;
}
HRESULT TThemeBinding::SetWindowTheme(HWND Wnd, const WCHAR*, const WCHAR*) {
  return IsWindow(Wnd) ? S_OK : E_HANDLE;
}
BOOL TThemeBinding::IsThemeDialogTextureEnabled(HWND) { return FALSE; }

BOOL IsThemeActive() { return ThemeBinding().IsThemeActive(); }
BOOL IsAppThemed() { return ThemeBinding().IsAppThemed(); }
HTHEME OpenThemeData(HWND Wnd, const WCHAR* ClassList) { return ThemeBinding().OpenThemeData(Wnd, ClassList); }
HRESULT CloseThemeData(HTHEME Theme) { return ThemeBinding().CloseThemeData(Theme); }
HRESULT DrawThemeBackground(HTHEME T, HDC Dc, int P, int S, const TRect* R, const TRect* Clip) {
  return ThemeBinding().DrawThemeBackground(T, Dc, P, S, R, Clip);
}
HRESULT DrawThemeText(HTHEME T, HDC Dc, int P, int S, const WCHAR* Text, int N, DWORD F1, DWORD F2, const TRect* R) {
  return ThemeBinding().DrawThemeText(T, Dc, P, S, Text, N, F1, F2, R);
}
HRESULT DrawThemeEdge(HTHEME T, HDC Dc, int P, int S, const TRect* R, UINT Edge, UINT Flags, TRect* Content) {
  return ThemeBinding().DrawThemeEdge(T, Dc, P, S, R, Edge, Flags, Content);
}
HRESULT DrawThemeIcon(HTHEME T, HDC Dc, int P, int S, const TRect* R, HANDLE Il, int I) {
  return ThemeBinding().DrawThemeIcon(T, Dc, P, S, R, Il, I);
}
HRESULT DrawThemeParentBackground(HWND Wnd, HDC Dc, const TRect* R) {
  return ThemeBinding().DrawThemeParentBackground(Wnd, Dc, R);
}
HRESULT GetThemeBackgroundContentRect(HTHEME T, HDC Dc, int P, int S, const TRect* B, TRect* C) {
  return ThemeBinding().GetThemeBackgroundContentRect(T, Dc, P, S, B, C);
}
HRESULT GetThemeBackgroundExtent(HTHEME T, HDC Dc, int P, int S, const TRect* C, TRect* E) {
  return ThemeBinding().GetThemeBackgroundExtent(T, Dc, P, S, C, E);
}
HRESULT GetThemeBackgroundRegion(HTHEME T, HDC Dc, int P, int S, const TRect* R, HRGN* Rgn) {
  return ThemeBinding().GetThemeBackgroundRegion(T, Dc, P, S, R, Rgn);
}
HRESULT GetThemePartSize(HTHEME T, HDC Dc, int P, int S, const TRect* R, THEMESIZE K, TSize* Size) {
  return ThemeBinding().GetThemePartSize(T, Dc, P, S, R, K, Size);
}
HRESULT GetThemeColor(HTHEME T, int P, int S, int Prop, COLORREF* C) {
  return ThemeBinding().GetThemeColor(T, P, S, Prop, C);
}
HRESULT GetThemeInt(HTHEME T, int P, int S, int Prop, int* V) { return ThemeBinding().GetThemeInt(T, P, S, Prop, V); }
HRESULT GetThemeMargins(HTHEME T, HDC Dc, int P, int S, int Prop, const TRect* R, MARGINS* M) {
  return ThemeBinding().GetThemeMargins(T, Dc, P, S, Prop, R, M);
}
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME T, int P, int S) {
  return ThemeBinding().IsThemeBackgroundPartiallyTransparent(T, P, S);
}
BOOL IsThemePartDefined(HTHEME T, int P, int S) { return ThemeBinding().IsThemePartDefined(T, P, S); }
COLORREF GetThemeSysColor(HTHEME T, int ColorId) { return ThemeBinding().GetThemeSysColor(T, ColorId); }
HRESULT GetCurrentThemeName(WCHAR* F, int NF, WCHAR* C, int NC, WCHAR* S, int NS) {
  return ThemeBinding().GetCurrentThemeName(F, NF, C, NC, S, NS);
}
HRESULT SetWindowTheme(HWND Wnd, const WCHAR* A, const WCHAR* L) { return ThemeBinding().SetWindowTheme(Wnd, A, L); }
BOOL IsThemeDialogTextureEnabled(HWND Wnd) { return ThemeBinding().IsThemeDialogTextureEnabled(Wnd); }
DWORD GetThemeAppProperties() { return ThemeBinding().GetThemeAppProperties(); }
