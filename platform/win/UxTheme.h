// UxTheme.h — the visual-style library's calls. This desktop has no visual
// styles: the calls answer as a Windows whose themes are switched off
// (IsThemeActive and IsAppThemed FALSE, OpenThemeData nil, every call on a
// theme handle E_HANDLE). The answers come from a replaceable binding, so
// tests install one that has themes and reach the themed paths of the
// controls; SetThemeBinding(nullptr) restores the desktop's.
#pragma once
#include <memory>
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Interfaces.h"
#include "platform/win/WinTypes.h"

struct HTHEME__;
using HTHEME = HTHEME__*;

// GetThemePartSize's size kinds.
enum THEMESIZE { TS_MIN = 0, TS_TRUE = 1, TS_DRAW = 2 };
constexpr int MAX_THEMECOLOR = 64;
constexpr int MAX_THEMESIZE = 64;

struct DTBGOPTS {
  DWORD dwSize = sizeof(DTBGOPTS);
  DWORD dwFlags = 0;
  TRect rcClip;
};

struct MARGINS {
  int cxLeftWidth = 0, cxRightWidth = 0, cyTopHeight = 0, cyBottomHeight = 0;
};

// What the theme calls answer. Every operation has the desktop's answer
// here; a test binding overrides what it needs.
class TThemeBinding {
public:
  virtual ~TThemeBinding() = default;
  virtual BOOL IsThemeActive() { return FALSE; }
  virtual BOOL IsAppThemed() { return FALSE; }
  virtual HTHEME OpenThemeData(HWND Wnd, const WCHAR* ClassList);
  virtual HRESULT CloseThemeData(HTHEME Theme);
  virtual HRESULT DrawThemeBackground(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* Rect,
                                      const TRect* Clip);
  virtual HRESULT DrawThemeText(HTHEME Theme, HDC Dc, int PartId, int StateId, const WCHAR* Text, int CharCount,
                                DWORD TextFlags, DWORD TextFlags2, const TRect* Rect);
  virtual HRESULT DrawThemeEdge(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* DestRect, UINT Edge,
                                UINT Flags, TRect* ContentRect);
  virtual HRESULT DrawThemeIcon(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* Rect, HANDLE ImageList,
                                int ImageIndex);
  virtual HRESULT DrawThemeParentBackground(HWND Wnd, HDC Dc, const TRect* Rect);
  virtual HRESULT GetThemeBackgroundContentRect(HTHEME Theme, HDC Dc, int PartId, int StateId,
                                                const TRect* Bounding, TRect* Content);
  virtual HRESULT GetThemeBackgroundExtent(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* Content,
                                           TRect* Extent);
  virtual HRESULT GetThemeBackgroundRegion(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* Rect,
                                           HRGN* Region);
  virtual HRESULT GetThemePartSize(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* Rect,
                                   THEMESIZE Kind, TSize* Size);
  virtual HRESULT GetThemeColor(HTHEME Theme, int PartId, int StateId, int PropId, COLORREF* Color);
  virtual HRESULT GetThemeInt(HTHEME Theme, int PartId, int StateId, int PropId, int* Value);
  virtual HRESULT GetThemeMargins(HTHEME Theme, HDC Dc, int PartId, int StateId, int PropId, const TRect* Rect,
                                  MARGINS* Margins);
  virtual BOOL IsThemeBackgroundPartiallyTransparent(HTHEME Theme, int PartId, int StateId);
  virtual BOOL IsThemePartDefined(HTHEME Theme, int PartId, int StateId);
  // The system colour when no theme is given or none is active.
  virtual COLORREF GetThemeSysColor(HTHEME Theme, int ColorId);
  virtual HRESULT GetCurrentThemeName(WCHAR* FileName, int MaxFileNameChars, WCHAR* ColorName, int MaxColorChars,
                                      WCHAR* SizeName, int MaxSizeChars);
  virtual HRESULT SetWindowTheme(HWND Wnd, const WCHAR* SubAppName, const WCHAR* SubIdList);
  virtual BOOL IsThemeDialogTextureEnabled(HWND Wnd);
  virtual DWORD GetThemeAppProperties() { return 0; }
};

// The binding in use (the desktop's unless a test replaced it).
TThemeBinding& ThemeBinding();
// Takes ownership; nil restores the desktop's binding.
void SetThemeBinding(std::unique_ptr<TThemeBinding> Binding);

BOOL IsThemeActive();
BOOL IsAppThemed();
HTHEME OpenThemeData(HWND Wnd, const WCHAR* ClassList);
HRESULT CloseThemeData(HTHEME Theme);
HRESULT DrawThemeBackground(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* Rect, const TRect* Clip);
HRESULT DrawThemeText(HTHEME Theme, HDC Dc, int PartId, int StateId, const WCHAR* Text, int CharCount,
                      DWORD TextFlags, DWORD TextFlags2, const TRect* Rect);
HRESULT DrawThemeEdge(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* DestRect, UINT Edge, UINT Flags,
                      TRect* ContentRect);
HRESULT DrawThemeIcon(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* Rect, HANDLE ImageList,
                      int ImageIndex);
HRESULT DrawThemeParentBackground(HWND Wnd, HDC Dc, const TRect* Rect);
HRESULT GetThemeBackgroundContentRect(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* Bounding,
                                      TRect* Content);
HRESULT GetThemeBackgroundExtent(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* Content,
                                 TRect* Extent);
HRESULT GetThemeBackgroundRegion(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* Rect, HRGN* Region);
HRESULT GetThemePartSize(HTHEME Theme, HDC Dc, int PartId, int StateId, const TRect* Rect, THEMESIZE Kind,
                         TSize* Size);
HRESULT GetThemeColor(HTHEME Theme, int PartId, int StateId, int PropId, COLORREF* Color);
HRESULT GetThemeInt(HTHEME Theme, int PartId, int StateId, int PropId, int* Value);
HRESULT GetThemeMargins(HTHEME Theme, HDC Dc, int PartId, int StateId, int PropId, const TRect* Rect,
                        MARGINS* Margins);
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME Theme, int PartId, int StateId);
BOOL IsThemePartDefined(HTHEME Theme, int PartId, int StateId);
COLORREF GetThemeSysColor(HTHEME Theme, int ColorId);
HRESULT GetCurrentThemeName(WCHAR* FileName, int MaxFileNameChars, WCHAR* ColorName, int MaxColorChars,
                            WCHAR* SizeName, int MaxSizeChars);
HRESULT SetWindowTheme(HWND Wnd, const WCHAR* SubAppName, const WCHAR* SubIdList);
BOOL IsThemeDialogTextureEnabled(HWND Wnd);
DWORD GetThemeAppProperties();
