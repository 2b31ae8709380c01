// dxThemeManager.h — one lazily opened theme handle per theme class over
// the platform's visual-style calls (platform/win/UxTheme.h), whether themes
// are usable, and the notificators told when the user switches the theme.
// This desktop has no visual styles, so every answer is "not available"
// unless a test installs a theme binding (SetThemeBinding) and then calls
// NotifyThemeChanged, as the system's theme-change broadcast would.
#pragma once
#include <cstdint>
#include "platform/forms/Controls.h"
#include "platform/rtl/Events.h"
#include "platform/win/UxTheme.h"

// Theme classes, bit i of a TdxThemeClasses mask = class i.
enum TdxThemedObjectType : int {
  totButton, totClock, totComboBox, totEdit, totExplorerBar, totHeader, totListView, totMenu, totPage,
  totProgress, totRebar, totScrollBar, totSpin, totStartPanel, totStatus, totTab, totTaskBand, totTaskBar,
  totToolBar, totToolTip, totTrackBar, totTrayNotify, totTreeView, totWindow
};
constexpr int dxThemeClassCount = 24;
using TdxThemeClasses = std::uint32_t;
constexpr TdxThemeClasses ThemeClassBit(TdxThemedObjectType T) { return 1u << T; }

// The calls exist on every build of ours (the library counts as loaded).
bool IsUxThemeLoaded();
bool AreThemesAvailable(TdxThemeClasses AThemeClasses = 0);
bool IsThemeClassAvailable(TdxThemedObjectType AThemeClass);
// Opens on first request and caches; 0 when themes are not available or
// the class does not open. A different AClassList reopens the class.
HTHEME GetThemeHandle(TdxThemedObjectType AThemeClass, const WCHAR* AClassList = nullptr);
HRESULT CloseThemeClass(TdxThemedObjectType AThemeClass);
void CloseAllThemeClasses();
bool IsStandardXPThemeFile();
// What the hidden receiver does on WM_THEMECHANGED: closes every handle,
// re-reads whether themes are active, then tells every notificator.
void NotifyThemeChanged();
// The hidden window that receives the system's WM_THEMECHANGED.
HWND ThemeChangedReceiverWindow();

// Joins the notificator list; the owner sets OnThemeChanged.
class TdxThemeChangedNotificator : public TObject {
public:
  TdxThemeChangedNotificator();
  ~TdxThemeChangedNotificator() override;
  TEvent<void()> OnThemeChanged;
};

// Whether a native-style control may draw its class through the theme.
bool IsNativeThemeAvailable(bool ANativeStyle, TdxThemedObjectType AThemeClass);
