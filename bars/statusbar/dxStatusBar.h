// dxStatusBar.h — the status bar: a look-and-feel control that owns its
// panels; each panel owns a panel style (text, keyboard state, state
// indicators, container) and the bar draws through a status-bar painter
// chosen by its paint style. Painters are stateless tables of virtual
// operations with one shared instance each (Instance()).
#pragma once
#include <functional>
#include <memory>
#include <vector>
#include "controls/base/cxControls.h"
#include "platform/forms/Controls.h"
#include "platform/rtl/Collection.h"

class TcxCanvas;
class TCustomImageList;
class TBitmap;
class TdxStatusBarPanel;
class TdxCustomStatusBar;
class TdxStatusBarPainter;
class TdxStatusBarContainerControl;
class TTimer;
using TdxStatusBarPainterClass = const TdxStatusBarPainter*;

SX_ENUM(TdxStatusBarPaintStyle, stpsStandard, stpsFlat, stpsXP, stpsOffice11, stpsUseLookAndFeel)
SX_ENUM(TdxStatusBarPanelBevel, dxpbNone, dxpbLowered, dxpbRaised)
SX_ENUM(TdxStatusBarEllipsisType, dxetNone, dxetTruncate, dxetSmartPath)
SX_ENUM(TdxStatusBarKeyboardState, dxksCapsLock, dxksNumLock, dxksScrollLock, dxksInsert)
using TdxStatusBarKeyboardStates = TSet<TdxStatusBarKeyboardState>;
enum TdxStatusBarTextAlignment { dxtaLeft, dxtaRight, dxtaCenter };

// What a panel shows and how wide it wants to be.
class TdxStatusBarPanelStyle : public TPersistent {
  SX_CLASS(TdxStatusBarPanelStyle, TPersistent)
public:
  explicit TdxStatusBarPanelStyle(TdxStatusBarPanel* AOwner = nullptr);
  ~TdxStatusBarPanelStyle() override;
  TdxStatusBarPanel* Owner() const { return FOwner; }
  TdxCustomStatusBar* StatusBar() const;
  virtual bool CanSizing() const { return true; }
  virtual bool CanDelete() const { return true; }
  virtual bool DrawsOwnBevels() const { return false; }
  virtual int GetMinWidth() const { return 20; }
  // The panel background through the painter, then the style's content.
  virtual void DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter);
  virtual void VisibleChanged() {}
  TColor GetColor() const;
  void SetColor(TColor Value);
  bool ColorAssigned() const { return FColorAssigned; }
  // The style's own font; changing it stops following the status bar's.
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value);
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  bool IsFontStored() const { return !FParentFont; }
  // While ParentFont is on, takes the status bar's font again.
  virtual void ParentFontChanged();
  // The owning panel's change (the status bar repaints).
  void Changed();
  // Font and colour of the style; Assign of a style starts from the
  // defaults and copies them, so nothing of the old look stays behind.
  void Assign(TPersistent* Source) override;
  // Colour unassigned, ParentFont on, and each style's own defaults.
  virtual void RestoreDefaults();

protected:
  // The font, colour and ParentFont of another style.
  void AssignStyle(const TdxStatusBarPanelStyle* Source);
  void FontChanged(TObject* Sender);
  TdxStatusBarPanel* FOwner = nullptr;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FTakingParentFont = false;
  TColor FColor = clBtnFace;
  bool FColorAssigned = false;
};

// What a text panel shows, given the text rectangle; the handler may change it.
using TdxStatusBarTextEvent = TEvent<void(TObject* Sender, const TRect& R, AnsiString& AText)>;

class TdxStatusBarTextPanelStyle : public TdxStatusBarPanelStyle {
  SX_CLASS(TdxStatusBarTextPanelStyle, TdxStatusBarPanelStyle)
public:
  using TdxStatusBarPanelStyle::TdxStatusBarPanelStyle;
  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  TdxStatusBarTextEvent OnGetText;
  void DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) override;
  TdxStatusBarTextAlignment Alignment = dxtaLeft;
  TdxStatusBarEllipsisType EllipsisType = dxetNone;
  int ImageIndex = -1;
  bool GetAutoHint() const { return FAutoHint; }
  // Exclusive: switching it on switches it off for the other text panels.
  void SetAutoHint(bool Value);
  TAlignment GetAlignment() const;
  void SetAlignment(TAlignment Value);
  static void Published(TPublished<TdxStatusBarTextPanelStyle>& P);

private:
  bool FAutoHint = false;
};

SX_ENUM(TdxStatusBarStateIndicatorType, sitOff, sitYellow, sitBlue, sitGreen, sitRed, sitTeal, sitPurple)

// One lamp: its colour picks the lamp bitmap from the program's resources.
class TdxStatusBarStateIndicatorItem : public TCollectionItem {
  SX_CLASS(TdxStatusBarStateIndicatorItem, TCollectionItem)
public:
  explicit TdxStatusBarStateIndicatorItem(TCollection* ACollection);
  ~TdxStatusBarStateIndicatorItem() override;
  static void Published(TPublished<TdxStatusBarStateIndicatorItem>& P);
  void Assign(TPersistent* Source) override;
  TdxStatusBarStateIndicatorType GetIndicatorType() const { return FIndicatorType; }
  void SetIndicatorType(TdxStatusBarStateIndicatorType Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  // Empty when the lamp's resource cannot be loaded: it then takes no room.
  TBitmap* Bitmap() const { return FBitmap.get(); }

private:
  void LoadLamp();
  TdxStatusBarStateIndicatorType FIndicatorType = sitOff;
  bool FVisible = true;
  std::unique_ptr<TBitmap> FBitmap;
};

class TdxStatusBarStateIndicators : public TCollection {
  SX_CLASS(TdxStatusBarStateIndicators, TCollection)
public:
  TdxStatusBarStateIndicators() : TCollection(TdxStatusBarStateIndicatorItem::StaticClass()) {}
  TdxStatusBarStateIndicatorItem* Add() { return static_cast<TdxStatusBarStateIndicatorItem*>(TCollection::Add()); }
  TdxStatusBarStateIndicatorItem* Item(int Index) const {
    return static_cast<TdxStatusBarStateIndicatorItem*>(Items(Index));
  }
  // Called on every change of the lamps (the owning style's change).
  std::function<void()> OnChange;

protected:
  void Update(TCollectionItem*) override {
    if (OnChange) OnChange();
  }
};

// A panel of state lamps; each visible lamp with a bitmap takes its width
// and the spacing.
class TdxStatusBarStateIndicatorPanelStyle : public TdxStatusBarPanelStyle {
  SX_CLASS(TdxStatusBarStateIndicatorPanelStyle, TdxStatusBarPanelStyle)
public:
  explicit TdxStatusBarStateIndicatorPanelStyle(TdxStatusBarPanel* AOwner = nullptr);
  ~TdxStatusBarStateIndicatorPanelStyle() override;
  TdxStatusBarStateIndicators* GetIndicators() const { return FIndicators.get(); }
  void SetIndicators(TdxStatusBarStateIndicators* Value);
  int Spacing = 4;
  static void Published(TPublished<TdxStatusBarStateIndicatorPanelStyle>& P);
  void Assign(TPersistent* Source) override;
  bool CanSizing() const override { return false; }
  int GetMinWidth() const override;
  void DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) override;

private:
  std::unique_ptr<TdxStatusBarStateIndicators> FIndicators;
};

// How one key of a keyboard-state panel shows: its captions and colours
// while toggled on (active) and off.
class TdxStatusBarKeyStateAppearance : public TPersistent {
  SX_CLASS(TdxStatusBarKeyStateAppearance, TPersistent)
public:
  TdxStatusBarKeyStateAppearance() = default;
  TdxStatusBarKeyStateAppearance(TdxStatusBarKeyboardState AKey, int AVirtualKey, const AnsiString& AActiveCaption,
                                 const AnsiString& AInactiveCaption, TColor AActiveFontColor,
                                 std::function<void()> AOnChange);
  static void Published(TPublished<TdxStatusBarKeyStateAppearance>& P);
  void Assign(TPersistent* Source) override;
  TdxStatusBarKeyboardState Key() const { return FKey; }
  int VirtualKey() const { return FVirtualKey; }
  TColor GetActiveFontColor() const { return FActiveFontColor; }
  void SetActiveFontColor(TColor Value);
  TColor GetInactiveFontColor() const { return FInactiveFontColor; }
  void SetInactiveFontColor(TColor Value);
  AnsiString GetActiveCaption() const { return FActiveCaption; }
  void SetActiveCaption(const AnsiString& Value);
  AnsiString GetInactiveCaption() const { return FInactiveCaption; }
  void SetInactiveCaption(const AnsiString& Value);
  // The wider caption + 4, in the canvas's current font.
  int GetCellWidth(TCanvas* ACanvas) const;

private:
  void Changed() {
    if (FOnChange) FOnChange();
  }
  TdxStatusBarKeyboardState FKey = dxksCapsLock;
  int FVirtualKey = 0;
  TColor FActiveFontColor = clWindowText;
  TColor FInactiveFontColor = clBtnShadow;
  AnsiString FActiveCaption, FInactiveCaption;
  std::function<void()> FOnChange;
};

// Polls the watched keys' toggle states every 100 ms and repaints the
// status bar when one changed.
class TdxStatusBarKeyboardStateNotifier : public TObject {
public:
  explicit TdxStatusBarKeyboardStateNotifier(TdxCustomStatusBar* AStatusBar);
  ~TdxStatusBarKeyboardStateNotifier() override;
  // A key already watched is replaced (and moves to the end).
  void AddKey(int AVirtualKey);
  void RemoveKey(int AVirtualKey);
  int KeyCount() const { return int(FKeys.size()); }
  int KeyAt(int Index) const { return FKeys[std::size_t(Index)].VirtualKey; }
  // One tick of the timer: true when some key changed.
  bool Poll();

private:
  struct TWatchedKey {
    int VirtualKey;
    unsigned char State;
  };
  void TimerTick(TObject* Sender);
  TdxCustomStatusBar* FStatusBar;
  std::unique_ptr<TTimer> FTimer;
  std::vector<TWatchedKey> FKeys;
};

class TdxStatusBarKeyboardStatePanelStyle : public TdxStatusBarPanelStyle {
  SX_CLASS(TdxStatusBarKeyboardStatePanelStyle, TdxStatusBarPanelStyle)
public:
  explicit TdxStatusBarKeyboardStatePanelStyle(TdxStatusBarPanel* AOwner = nullptr);
  ~TdxStatusBarKeyboardStatePanelStyle() override;
  static void Published(TPublished<TdxStatusBarKeyboardStatePanelStyle>& P);
  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;
  bool CanSizing() const override { return false; }
  bool DrawsOwnBevels() const override { return !FullRect; }
  int GetMinWidth() const override;
  void DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) override;
  bool GetFullRect() const { return FullRect; }
  void SetFullRect(bool Value);
  TdxStatusBarKeyboardStates GetKeyboardStates() const { return FKeyboardStates; }
  void SetKeyboardStates(TdxStatusBarKeyboardStates Value);
  TdxStatusBarKeyStateAppearance* Appearance(TdxStatusBarKeyboardState Key) const {
    return FAppearances[Key].get();
  }
  TdxStatusBarKeyStateAppearance* GetCapsLockKeyAppearance() const { return Appearance(dxksCapsLock); }
  TdxStatusBarKeyStateAppearance* GetNumLockKeyAppearance() const { return Appearance(dxksNumLock); }
  TdxStatusBarKeyStateAppearance* GetScrollLockKeyAppearance() const { return Appearance(dxksScrollLock); }
  TdxStatusBarKeyStateAppearance* GetInsertKeyAppearance() const { return Appearance(dxksInsert); }
  void SetCapsLockKeyAppearance(TdxStatusBarKeyStateAppearance* V) { Appearance(dxksCapsLock)->Assign(V); }
  void SetNumLockKeyAppearance(TdxStatusBarKeyStateAppearance* V) { Appearance(dxksNumLock)->Assign(V); }
  void SetScrollLockKeyAppearance(TdxStatusBarKeyStateAppearance* V) { Appearance(dxksScrollLock)->Assign(V); }
  void SetInsertKeyAppearance(TdxStatusBarKeyStateAppearance* V) { Appearance(dxksInsert)->Assign(V); }
  // Shown active: not designing and the key is toggled on.
  bool IsKeyActive(TdxStatusBarKeyboardState Key) const;
  TdxStatusBarKeyboardStateNotifier* Notifier() const { return FNotifier.get(); }
  bool FullRect = false;

private:
  TdxStatusBarKeyboardStates FKeyboardStates{dxksCapsLock, dxksNumLock, dxksScrollLock, dxksInsert};
  std::unique_ptr<TdxStatusBarKeyStateAppearance> FAppearances[4];
  std::unique_ptr<TdxStatusBarKeyboardStateNotifier> FNotifier;
};

class TdxStatusBarContainerPanelStyle : public TdxStatusBarPanelStyle {
  SX_CLASS(TdxStatusBarContainerPanelStyle, TdxStatusBarPanelStyle)
public:
  explicit TdxStatusBarContainerPanelStyle(TdxStatusBarPanel* AOwner = nullptr);
  ~TdxStatusBarContainerPanelStyle() override;
  static void Published(TPublished<TdxStatusBarContainerPanelStyle>& P);
  void Assign(TPersistent* Source) override;
  // False when the container comes from an ancestor form.
  bool CanDelete() const override { return !FromAncestor; }
  void DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) override;
  void VisibleChanged() override;
  bool GetAlignControl() const { return FAlignControl; }
  void SetAlignControl(bool Value);
  TdxStatusBarContainerControl* GetContainer() const { return FContainer; }
  void SetContainer(TdxStatusBarContainerControl* Value);
  // The container going away on its own.
  void ContainerDestroyed() { FContainer = nullptr; }
  bool FromAncestor = false;

private:
  bool FAlignControl = true;
  TdxStatusBarContainerControl* FContainer = nullptr;
};

// The control a container panel places its child controls on.
class TdxStatusBarContainerControl : public TcxControl {
  SX_CLASS(TdxStatusBarContainerControl, TcxControl)
public:
  explicit TdxStatusBarContainerControl(TComponent* AOwner);
  ~TdxStatusBarContainerControl() override;
  TdxStatusBarContainerPanelStyle* PanelStyle() const { return FPanelStyle; }
  void SetPanelStyle(TdxStatusBarContainerPanelStyle* Value) { FPanelStyle = Value; }

protected:
  void Paint() override;
  bool UsesScrollBars() const override { return false; }
  bool WantsTabStop() const override { return false; }

private:
  TdxStatusBarContainerPanelStyle* FPanelStyle = nullptr;
};

using TdxStatusBarDrawPanelEvent =
    TEvent<void(TdxStatusBarPanel* Sender, TcxCanvas* ACanvas, const TRect& R, bool& ADone)>;

class TdxStatusBarPanel : public TCollectionItem {
  SX_CLASS(TdxStatusBarPanel, TCollectionItem)
public:
  explicit TdxStatusBarPanel(TCollection* ACollection);
  ~TdxStatusBarPanel() override;
  static void Published(TPublished<TdxStatusBarPanel>& P);
  // Assigns the given style's values to this panel's style.
  void SetPanelStyle(TdxStatusBarPanelStyle* Value);
  TdxCustomStatusBar* StatusBar() const;

  TdxStatusBarPanelStyle* PanelStyle() const { return FPanelStyle.get(); }
  TClass PanelStyleClass() const { return FPanelStyleClass; }
  void SetPanelStyleClass(TClass Value);
  AnsiString GetPanelStyleClassName() const;
  // An unknown name leaves the panel without style.
  void SetPanelStyleClassName(const AnsiString& Value);

  TdxStatusBarPanelBevel GetBevel() const { return FBevel; }
  void SetBevel(TdxStatusBarPanelBevel Value);
  bool GetFixed() const;
  void SetFixed(bool Value);
  int GetMinWidth() const;
  void SetMinWidth(int Value);
  int GetWidth() const;
  void SetWidth(int Value);
  AnsiString GetText() const { return FText; }
  void SetText(const AnsiString& Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  // The panel's reading order follows the status bar's while
  // ParentBiDiMode; setting it ends that.
  TBiDiMode GetBiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  bool GetParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool Value);
  bool IsBiDiModeStored() const { return !FParentBiDiMode; }
  // The status bar's mode changed: a panel following it takes it again.
  void ParentBiDiModeChanged();
  // Starts from the defaults, then takes the source's style, look, widths
  // (those assigned there), mode and text.
  void Assign(TPersistent* Source) override;
  void RestoreDefaults();
  bool IsMinWidthStored() const { return FMinWidthAssigned; }
  bool IsWidthStored() const { return FWidthAssigned; }

  virtual int GetDefaultMinWidth() const;
  virtual int GetDefaultWidth() const;
  virtual int GetLayoutMinWidth() const { return AdjustLayoutWidth(GetMinWidth()); }
  virtual int GetLayoutWidth() const { return AdjustLayoutWidth(GetWidth()); }

  TdxStatusBarDrawPanelEvent OnDrawPanel;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;

protected:
  virtual int AdjustLayoutWidth(int W) const;
  void CreatePanelStyle();
  // Frees the style; refuses (raises) for a style that may not be deleted,
  // unless the status bar is loading, updating or going away. Never called
  // from the destructor with the check on.
  void DestroyPanelStyle(bool ACheck);

private:
  TClass FPanelStyleClass = nullptr;
  std::unique_ptr<TdxStatusBarPanelStyle> FPanelStyle;
  TdxStatusBarPanelBevel FBevel = dxpbLowered;
  bool FFixed = true;
  int FMinWidth = 20;
  int FWidth = 50;
  bool FMinWidthAssigned = false;
  bool FWidthAssigned = false;
  AnsiString FText;
  bool FVisible = true;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
};

class TdxStatusBarPanels : public TCollection {
  SX_CLASS(TdxStatusBarPanels, TCollection)
public:
  explicit TdxStatusBarPanels(TdxCustomStatusBar* AStatusBar);
  TdxCustomStatusBar* StatusBar() const { return FStatusBar; }
  TdxStatusBarPanel* Add() { return static_cast<TdxStatusBarPanel*>(TCollection::Add()); }
  TdxStatusBarPanel* Item(int Index) const { return static_cast<TdxStatusBarPanel*>(Items(Index)); }
  // Removes a panel; refuses (raises) when its style may not be deleted.
  void DeletePanel(int Index);

protected:
  void Update(TCollectionItem* Item) override;
  TPersistent* GetOwner() override;

private:
  TdxCustomStatusBar* FStatusBar;
};

class TdxCustomStatusBar : public TcxControl {
  SX_CLASS(TdxCustomStatusBar, TcxControl)
public:
  explicit TdxCustomStatusBar(TComponent* AOwner);
  ~TdxCustomStatusBar() override;
  static void Published(TPublished<TdxCustomStatusBar>& P);
  void SetPanels(TdxStatusBarPanels* Value);
  // The hit-test answer for a point in client coordinates: HTBOTTOMRIGHT
  // over the size grip (when it shows and the bar is not being designed),
  // else HTNOWHERE.
  int HitTestSizeGrip(TPoint P) const;
  TNotifyEvent OnHint;

  TdxStatusBarPanels* Panels() const { return FPanels.get(); }
  TdxStatusBarPaintStyle GetPaintStyle() const { return FPaintStyle; }
  void SetPaintStyle(TdxStatusBarPaintStyle Value);
  bool GetSizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  int GetStatusBorderWidth() const { return FBorderWidth; }
  void SetStatusBorderWidth(int Value);
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);

  TdxStatusBarPainterClass Painter() const { return FPainter; }
  // Calls OnHint when assigned and answers true, else false.
  virtual bool DoHint();
  // A hint action shows its hint in the AutoHint text panel, unless OnHint
  // takes it.
  bool ExecuteAction(TBasicAction* Action) override;
  virtual TdxStatusBarPaintStyle GetEffectivePaintStyle() const;
  virtual TdxStatusBarPainterClass GetPainterClass() const;
  void PainterChanged();
  void Changed();
  // The grip shows when SizeGrip is set, the parent form is sizeable and
  // not maximized, and the bar sits at its client area's bottom-right
  // corner. A test may force the answer.
  virtual bool IsSizeGripVisible() const;
  // The panels' rectangles (separators left out) laid out across R.
  std::vector<TRect> CalcPanelRects(const TRect& R) const;
  TdxStatusBarPanel* GetPanelAt(int X, int Y) const;
  // Draws the whole bar into R of the canvas (what Paint does).
  void PaintTo(TcxCanvas* ACanvas, TRect R);
  bool IsBeingDestroyed() const { return FDestroying; }

protected:
  void Paint() override;
  bool UsesScrollBars() const override { return false; }
  bool WantsTabStop() const override { return false; }
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
  void ThemeChanged() { PainterChanged(); }
  std::unique_ptr<TdxStatusBarPanels> FPanels;
  std::unique_ptr<TObject> FThemeListener;
  TdxStatusBarPaintStyle FPaintStyle = stpsStandard;
  bool FSizeGrip = true;
  int FBorderWidth = 0;
  TCustomImageList* FImages = nullptr;
  TdxStatusBarPainterClass FPainter = nullptr;
  bool FDestroying = false;
};

class TdxStatusBar : public TdxCustomStatusBar {
  SX_CLASS(TdxStatusBar, TdxCustomStatusBar)
public:
  using TdxCustomStatusBar::TdxCustomStatusBar;
};

class TdxStatusBarPainter {
public:
  virtual ~TdxStatusBarPainter() = default;
  static TdxStatusBarPainterClass Instance();
  virtual TRect GetBorderWidths(const TdxCustomStatusBar* ABar) const;
  virtual TSize GetSizeGripSize() const { return {16, 16}; }
  virtual TSize GetSizeGripEdgeSize() const { return {12, 12}; }
  virtual int GetReservedWidth() const { return 0; }
  virtual int GetSeparatorWidth() const { return 2; }
  virtual int GetTopBorderHeight() const { return 2; }
  virtual void DrawBorder(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, TRect& R) const;
  virtual void DrawEmptyPanel(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, TRect R) const;
  virtual void DrawPanel(const TdxCustomStatusBar* ABar, TdxStatusBarPanel* APanel, TRect R,
                         TcxCanvas* ACanvas) const;
  virtual void DrawPanelBorder(const TdxCustomStatusBar* /*ABar*/, TdxStatusBarPanelBevel /*ABevel*/, TRect& /*R*/,
                               TcxCanvas* /*ACanvas*/) const {}
  virtual void DrawPanelSeparator(const TdxCustomStatusBar* /*ABar*/, TcxCanvas* /*ACanvas*/,
                                  const TRect& /*R*/) const {}
  virtual void DrawSizeGrip(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, bool AOverlapped, TRect R) const;
  virtual void FillBackground(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, const TRect& R) const;
  virtual void DrawPanelBackground(const TdxCustomStatusBar* /*ABar*/, const TdxStatusBarPanel* /*APanel*/,
                                   const TRect& /*R*/, TcxCanvas* /*ACanvas*/) const {}
  virtual TdxStatusBarPanelBevel GetPanelBevel(const TdxStatusBarPanel* APanel) const;
  virtual TColor GetPanelColor(const TdxCustomStatusBar* ABar, const TdxStatusBarPanel* APanel) const;

protected:
  TdxStatusBarPainter() = default;
};

class TdxStatusBarStandardPainter : public TdxStatusBarPainter {
public:
  static TdxStatusBarPainterClass Instance();
  void DrawPanelBorder(const TdxCustomStatusBar* ABar, TdxStatusBarPanelBevel ABevel, TRect& R,
                       TcxCanvas* ACanvas) const override;
  void DrawPanelSeparator(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawPanelBackground(const TdxCustomStatusBar* ABar, const TdxStatusBarPanel* APanel, const TRect& R,
                           TcxCanvas* ACanvas) const override;
};

class TdxStatusBarFlatPainter : public TdxStatusBarStandardPainter {
public:
  static TdxStatusBarPainterClass Instance();
  void DrawPanelBorder(const TdxCustomStatusBar* ABar, TdxStatusBarPanelBevel ABevel, TRect& R,
                       TcxCanvas* ACanvas) const override;
};

class TdxStatusBarOffice11Painter : public TdxStatusBarPainter {
public:
  static TdxStatusBarPainterClass Instance();
  TRect GetBorderWidths(const TdxCustomStatusBar* ABar) const override;
  void DrawBorder(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, TRect& R) const override;
  void DrawPanelBorder(const TdxCustomStatusBar* ABar, TdxStatusBarPanelBevel ABevel, TRect& R,
                       TcxCanvas* ACanvas) const override;
  void DrawSizeGrip(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, bool AOverlapped, TRect R) const override;
};

// Visual styles of the status theme class; chosen only while they are
// available.
class TdxStatusBarXPPainter : public TdxStatusBarPainter {
public:
  static TdxStatusBarPainterClass Instance();
  TRect GetBorderWidths(const TdxCustomStatusBar* ABar) const override;
  TSize GetSizeGripSize() const override;
  int GetSeparatorWidth() const override;
  void DrawBorder(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, TRect& R) const override;
  void DrawPanelSeparator(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawSizeGrip(const TdxCustomStatusBar* ABar, TcxCanvas* ACanvas, bool AOverlapped, TRect R) const override;
};

// Registers the status bar, its container control and the panel styles for
// form descriptions.
void RegisterStatusBarClasses();

// The registered panel styles ("Text Panel", "Container Panel", "Keyboard
// State Panel", "State Indicator Panel").
TClass FindStatusBarPanelStyleClass(const AnsiString& AClassName);
