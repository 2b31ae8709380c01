#include "controls/lookandfeel/dxThemeManager.h"

#include <algorithm>
#include <array>
#include <vector>
#include "platform/rtl/CodePages.h"
#include "platform/win/Window.h"

namespace {

const char16_t* const ClassNames[dxThemeClassCount] = {
    u"Button", u"Clock",   u"ComboBox",   u"Edit",      u"ExplorerBar", u"Header",   u"ListView", u"Menu",
    u"Page",   u"Progress", u"Rebar",     u"ScrollBar", u"Spin",        u"StartPanel", u"Status", u"Tab",
    u"TaskBand", u"TaskBar", u"ToolBar",  u"ToolTip",   u"TrackBar",    u"TrayNotify", u"TreeView", u"Window"};

struct TThemeData {
  HTHEME Handle = nullptr;
  WideString ClassList;
};

struct TThemeState {
  bool ActiveKnown = false;
  bool Active = false;
  std::array<TThemeData, dxThemeClassCount> Cache;
  std::vector<TdxThemeChangedNotificator*> Notificators;
  HWND Receiver = nullptr;
};
TThemeState& State() {
  static TThemeState S;
  return S;
}

bool ThemesActive() {
  TThemeState& S = State();
  if (!S.ActiveKnown) {
    S.Active = IsThemeActive() != FALSE;
    S.ActiveKnown = true;
  }
  return S.Active;
}

WideString UpperAnsi(const WideString& W) {
  WideString R = W;
  for (auto& C : R)
    if (C >= u'a' && C <= u'z') C = char16_t(C - 32);
  return R;
}

class TReceiver : public TObject {
public:
  void WndProc(TMessage& Message) {
    if (Message.Msg == WM_THEMECHANGED) {
      NotifyThemeChanged();
      Message.Result = 0;
    } else
      Message.Result = DefWindowProcA(State().Receiver, Message.Msg, Message.WParam, Message.LParam);
  }
};

}  // namespace

bool IsUxThemeLoaded() { return true; }

bool AreThemesAvailable(TdxThemeClasses AThemeClasses) {
  if (!ThemesActive() || !IsUxThemeLoaded()) return false;
  for (int i = 0; i < dxThemeClassCount; ++i)
    if ((AThemeClasses & (1u << i)) && !GetThemeHandle(TdxThemedObjectType(i))) return false;
  return true;
}

bool IsThemeClassAvailable(TdxThemedObjectType AThemeClass) {
  return ThemesActive() && IsUxThemeLoaded() && GetThemeHandle(AThemeClass) != nullptr;
}

HTHEME GetThemeHandle(TdxThemedObjectType AThemeClass, const WCHAR* AClassList) {
  if (AThemeClass < 0 || AThemeClass >= dxThemeClassCount || !AreThemesAvailable(0)) return nullptr;
  TThemeData& D = State().Cache[std::size_t(AThemeClass)];
  if (D.Handle) {
    if (!AClassList || UpperAnsi(AClassList) == UpperAnsi(D.ClassList)) return D.Handle;
    CloseThemeClass(AThemeClass);
  }
  WideString List = AClassList ? WideString(AClassList) : !D.ClassList.empty() ? D.ClassList : WideString(ClassNames[AThemeClass]);
  D.Handle = OpenThemeData(nullptr, List.c_str());
  D.ClassList = D.Handle ? List : WideString();
  return D.Handle;
}

HRESULT CloseThemeClass(TdxThemedObjectType AThemeClass) {
  if (!AreThemesAvailable(0)) return S_FALSE;
  TThemeData& D = State().Cache[std::size_t(AThemeClass)];
  if (!D.Handle) return 0;
  const HRESULT R = CloseThemeData(D.Handle);
  D.Handle = nullptr;
  D.ClassList.clear();
  return R;
}

void CloseAllThemeClasses() {
  for (TThemeData& D : State().Cache)
    if (D.Handle) {
      CloseThemeData(D.Handle);
      D.Handle = nullptr;
    }
}

bool IsStandardXPThemeFile() {
  if (!AreThemesAvailable(0)) return false;
  WCHAR File[1024] = {};
  if (GetCurrentThemeName(File, 1024, nullptr, 0, nullptr, 0) != S_OK) return false;
  WideString F = UpperAnsi(File);
  const std::size_t Sep = F.find_last_of(u"\\/");
  if (Sep != WideString::npos) F = F.substr(Sep + 1);
  return F == u"LUNA.MSSTYLES" || F == u"ROYALE.MSSTYLES";
}

void NotifyThemeChanged() {
  TThemeState& S = State();
  CloseAllThemeClasses();
  S.Active = IsThemeActive() != FALSE;
  S.ActiveKnown = true;
  // A notificator may free itself or another one in its handler.
  const std::vector<TdxThemeChangedNotificator*> Copy = S.Notificators;
  for (TdxThemeChangedNotificator* N : Copy)
    if (std::find(S.Notificators.begin(), S.Notificators.end(), N) != S.Notificators.end() &&
        N->OnThemeChanged.Assigned())
      N->OnThemeChanged();
}

HWND ThemeChangedReceiverWindow() {
  static TReceiver Receiver;
  TThemeState& S = State();
  if (!S.Receiver || !IsWindow(S.Receiver)) S.Receiver = AllocateHWnd(TWndMethod(&Receiver, &TReceiver::WndProc));
  return S.Receiver;
}

TdxThemeChangedNotificator::TdxThemeChangedNotificator() { State().Notificators.push_back(this); }

TdxThemeChangedNotificator::~TdxThemeChangedNotificator() {
  auto& L = State().Notificators;
  L.erase(std::remove(L.begin(), L.end(), this), L.end());
}

bool IsNativeThemeAvailable(bool ANativeStyle, TdxThemedObjectType AThemeClass) {
  return ANativeStyle && GetThemeHandle(AThemeClass) != nullptr;
}
