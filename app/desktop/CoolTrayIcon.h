// CoolTrayIcon.h — an icon in the notification area whose mouse and
// balloon notifications become component events, and the hiding of the
// main window into the tray and back.
//
// All tray icons of the process share one hidden window (the handler)
// that the shell tells of their events; each icon has its own id there.
// An icon owned by a windowed control (the main form) watches its owner's
// messages to catch minimizing, and the application window's messages for
// a restarted taskbar. Main thread only.
#pragma once
#include <memory>

#include "app/desktop/SimpleTimer.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Menus.h"
#include "platform/gdi/IconGraphic.h"
#include "platform/gdi/ImageList.h"
#include "platform/win/Tray.h"

using TCycleEvent = TEvent<void(TObject* Sender, Integer NextIndex)>;
using TStartupEvent = TEvent<void(TObject* Sender, bool& ShowMainForm)>;
SX_ENUM(TTrayBehavior, tbClassic, tbShellVersion3)

// The tray icons' callback message.
constexpr UINT WM_TRAYNOTIFY = 0x0800;

class TCoolTrayIcon : public TComponent {
  SX_CLASS(TCoolTrayIcon, TComponent)
public:
  explicit TCoolTrayIcon(TComponent* AOwner);
  ~TCoolTrayIcon() override;

  static void Published(TPublished<TCoolTrayIcon>& P) {
    P.Property("DesignPreview", &TCoolTrayIcon::GetDesignPreview, &TCoolTrayIcon::SetDesignPreview).Default(false);
    P.Property("IconList", &TCoolTrayIcon::GetIconList, &TCoolTrayIcon::SetIconList);
    P.Property("CycleIcons", &TCoolTrayIcon::GetCycleIcons, &TCoolTrayIcon::SetCycleIcons).Default(false);
    P.Property("CycleInterval", &TCoolTrayIcon::GetCycleInterval, &TCoolTrayIcon::SetCycleInterval).Default(0);
    P.Property("Enabled", &TCoolTrayIcon::Enabled, &TCoolTrayIcon::Enabled).Default(true);
    P.Property("Hint", &TCoolTrayIcon::GetHint, &TCoolTrayIcon::SetHint);
    P.Property("ShowHint", &TCoolTrayIcon::GetShowHint, &TCoolTrayIcon::SetShowHint).Default(true);
    P.Property("Icon", &TCoolTrayIcon::GetIcon, &TCoolTrayIcon::SetIcon);
    P.Property("IconVisible", &TCoolTrayIcon::GetIconVisible, &TCoolTrayIcon::SetIconVisible).Default(false);
    P.Property("IconIndex", &TCoolTrayIcon::GetIconIndex, &TCoolTrayIcon::SetIconIndex).Default(0);
    P.Property("PopupMenu", &TCoolTrayIcon::GetPopupMenu, &TCoolTrayIcon::SetPopupMenu);
    P.Property("LeftPopup", &TCoolTrayIcon::LeftPopup, &TCoolTrayIcon::LeftPopup).Default(false);
    P.Property("WantEnterExitEvents", &TCoolTrayIcon::GetWantEnterExitEvents, &TCoolTrayIcon::SetWantEnterExitEvents)
        .Default(false);
    P.Property("MinimizeToTray", &TCoolTrayIcon::MinimizeToTray, &TCoolTrayIcon::MinimizeToTray).Default(false);
    P.Property("OnClick", &TCoolTrayIcon::OnClick, &TCoolTrayIcon::OnClick);
    P.Property("OnDblClick", &TCoolTrayIcon::OnDblClick, &TCoolTrayIcon::OnDblClick);
    P.Property("OnMouseDown", &TCoolTrayIcon::OnMouseDown, &TCoolTrayIcon::OnMouseDown);
    P.Property("OnMouseUp", &TCoolTrayIcon::OnMouseUp, &TCoolTrayIcon::OnMouseUp);
    P.Property("OnMouseMove", &TCoolTrayIcon::OnMouseMove, &TCoolTrayIcon::OnMouseMove);
    P.Property("OnMouseEnter", &TCoolTrayIcon::OnMouseEnter, &TCoolTrayIcon::OnMouseEnter);
    P.Property("OnMouseExit", &TCoolTrayIcon::OnMouseExit, &TCoolTrayIcon::OnMouseExit);
    P.Property("OnCycle", &TCoolTrayIcon::OnCycle, &TCoolTrayIcon::OnCycle);
    P.Property("OnBalloonHintShow", &TCoolTrayIcon::OnBalloonHintShow, &TCoolTrayIcon::OnBalloonHintShow);
    P.Property("OnBalloonHintHide", &TCoolTrayIcon::OnBalloonHintHide, &TCoolTrayIcon::OnBalloonHintHide);
    P.Property("OnBalloonHintTimeout", &TCoolTrayIcon::OnBalloonHintTimeout, &TCoolTrayIcon::OnBalloonHintTimeout);
    P.Property("OnBalloonHintClick", &TCoolTrayIcon::OnBalloonHintClick, &TCoolTrayIcon::OnBalloonHintClick);
    P.Property("OnMinimizeToTray", &TCoolTrayIcon::OnMinimizeToTray, &TCoolTrayIcon::OnMinimizeToTray);
    P.Property("OnStartup", &TCoolTrayIcon::OnStartup, &TCoolTrayIcon::OnStartup);
  }

  void Loaded() override;

  // The shell's answers (False when it refused).
  virtual bool AllowDefaultIcon() { return true; }
  virtual bool ShowIcon();
  virtual bool HideIcon();
  virtual bool ModifyIcon();
  // Restores the main form (normal state), shows it and brings it forward.
  void ShowMainForm();
  // Hides the main form and the application window.
  void HideMainForm();

  bool GetDesignPreview() const { return FDesignPreview; }
  void SetDesignPreview(bool Value) { FDesignPreview = Value; }
  TCustomImageList* GetIconList() const { return FIconList; }
  void SetIconList(TCustomImageList* Value);
  bool GetCycleIcons() const { return FCycleIcons; }
  void SetCycleIcons(bool Value);
  Cardinal GetCycleInterval() const { return FCycleInterval; }
  void SetCycleInterval(Cardinal Value);
  AnsiString GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  TIcon* GetIcon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value);
  bool GetIconVisible() const { return FIconVisible; }
  void SetIconVisible(bool Value);
  Integer GetIconIndex() const { return FIconIndex; }
  void SetIconIndex(Integer Value);
  TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  bool GetWantEnterExitEvents() const { return FWantEnterExitEvents; }
  void SetWantEnterExitEvents(bool Value);
  TTrayBehavior GetTrayBehavior() const { return FTrayBehavior; }
  void SetTrayBehavior(TTrayBehavior Value);

  // The icon's id with the shell and the shared window it reports to.
  UINT IconId() const { return FIconData.uID; }
  static HWND HandlerWindow();

  bool Enabled = true;
  bool LeftPopup = false;
  bool MinimizeToTray = false;
  TNotifyEvent OnClick, OnDblClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter, OnMouseExit;
  TCycleEvent OnCycle;
  TNotifyEvent OnBalloonHintShow, OnBalloonHintHide, OnBalloonHintTimeout, OnBalloonHintClick;
  TNotifyEvent OnMinimizeToTray;
  TStartupEvent OnStartup;

protected:
  virtual void Click();
  virtual void DblClick();
  virtual void DoCycle();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void MouseEnter();
  virtual void MouseExit();
  virtual void DoMinimizeToTray();
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TTrayIconHandler;
  bool Loading() const { return ComponentState().Contains(csLoading); }
  void PrepareIconData();
  bool Notify(DWORD Message);
  void IconChanged(TObject* Sender);
  void HandleTrayMessage(UINT Event);
  void PopupAtCursor();
  void CycleTimerProc(TObject* Sender);
  void ClickTimerProc(TObject* Sender);
  void ExitTimerProc(TObject* Sender);
  bool HookAppProc(TMessage& Message);
  void OwnerWndProc(TMessage& Message);
  TWinControl* OwnerControl() const;

  NOTIFYICONDATAA FIconData;
  std::unique_ptr<TIcon> FIcon;
  std::unique_ptr<TSimpleTimer> FCycleTimer, FClickTimer, FExitTimer;
  TCustomImageList* FIconList = nullptr;
  TPopupMenu* FPopupMenu = nullptr;
  AnsiString FHint;
  Integer FIconIndex = 0;
  Cardinal FCycleInterval = 0;
  bool FDesignPreview = false;
  bool FCycleIcons = false;
  bool FShowHint = true;
  bool FIconVisible = false;
  bool FWantEnterExitEvents = false;
  TTrayBehavior FTrayBehavior = tbClassic;
  TPoint FLastMoveOverIcon;
  bool FLeftButtonDown = false, FClickPending = false, FDblClickSeen = false;
  bool FMouseOutside = true;
  bool FStartupCheckPending = true;
  TWndMethod FOldOwnerProc;
  bool FOwnerHooked = false, FAppHooked = false;
};
