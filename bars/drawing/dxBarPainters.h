// dxBarPainters.h — the item-control painters: stateless tables of virtual
// operations. Each style has one shared instance (Instance()); a manager
// keeps the pointer of its effective style's painter (a
// TdxBarItemControlPainterClass) and bar windows and item controls call its
// operations to draw and measure. Nobody creates or frees a painter.
//
// Style by effective manager style: bmsStandard -> Standard, bmsEnhanced ->
// Enhanced, bmsFlat -> Flat, bmsXP -> XP (Enhanced without visual styles),
// bmsOffice11 -> Office11 (dxBarPainterOfStyle).
//
// A painter reads what it needs of the bar window it draws into through
// TdxBarPaintWindow (the window layer implements it; its defaults describe a
// plain horizontal toolbar on clBtnFace) and of the item control through
// TdxBarItemPaint, which the control fills before each call. Brushes a
// painter returns are shared: callers never delete them.
#pragma once
#include <vector>
#include "bars/model/dxBarTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Types.h"
#include "platform/win/WinTypes.h"

class TBitmap;
class TCustomImageList;
class TdxBarStyleBrushes;

// The orientation a bar window paints its items in.
enum TdxBarPaintType { ptHorz, ptMenu, ptVert };

// Static item border styles (the static item of the extra kinds).
enum TdxBarStaticBorderStyle { sbsNone, sbsLowered, sbsRaised, sbsEtched, sbsBump };

// Caption buttons of a main-menu bar.
enum TdxBarMDIButton { mdibMinimize, mdibRestore, mdibClose };

// Manager values the painters read (image size, button metrics, switches).
struct TdxBarPaintSettings {
  int ImageSize = 16;
  int ButtonWidth = 23;   // ImageSize + GetButtonWidthExtra
  int ButtonHeight = 22;  // ImageSize + GetButtonHeightExtra
  int ButtonArrowWidth = 11;
  int LargeButtonArrowWidth = 13;
  bool LargeIcons = false;
  bool UseLargeImagesForLargeIcons = false;
  bool MakeDisabledImagesFaded = false;
  bool StretchGlyphs = true;
  bool UseSystemFont = true;
  bool FlatCloseButton = false;
  TColor ImageListBkColor = clNone;
  TCustomImageList* Images = nullptr;
  TCustomImageList* LargeImages = nullptr;
  HBRUSH BarBrush = nullptr;  // the manager's bar brush; nullptr: clBtnFace
  const TdxBarStyleBrushes* StyleBrushes = nullptr;  // the manager's; nullptr: a shared default set
};

// What a painter asks of the bar window it draws into. Every query has a
// default so that a window (or a test) overrides only what it has.
class TdxBarPaintWindow {
public:
  virtual ~TdxBarPaintWindow() = default;
  virtual TdxBarPaintType PaintType() const { return ptHorz; }
  // A vertical toolbar whose captions run top to bottom.
  virtual bool Rotated() const { return false; }
  virtual bool IsMainMenu() const { return false; }
  virtual TdxBarDockingStyle DockingStyle() const { return dsTop; }
  virtual bool Floating() const { return DockingStyle() == dsNone; }
  virtual TRect ClientRect() const { return {}; }
  // Text height of "0" + 6 (the item height) and the arrow size.
  virtual int ItemHeight() const { return 19; }
  virtual int ArrowSize() const { return 4; }
  virtual HBRUSH CurrentBrush() const;
  virtual HBRUSH HotBrush() const;
  virtual HBRUSH PressedBrush() const;
  // A Color other than clDefault or a background bitmap on the bar, the
  // manager or the dock site.
  virtual bool HasOwnBackground() const { return false; }
  // The window's own background (colour or bitmap aligned to the window)
  // into R of DC; the fallback brush when it has none.
  virtual void PaintBackground(HDC DC, const TRect& R, HBRUSH Fallback) const;
  // A docked bar: the dock site's background continued under R (window
  // coordinates of DC), so that the bar sits seamlessly on its dock site.
  virtual void PaintDockBackground(HDC DC, const TRect& R, HBRUSH Fallback) const {
    PaintBackground(DC, R, Fallback);
  }
  // The bar font: its handle (nullptr: the DC's), Height (negative for a
  // font sized in points) and size in points.
  virtual HFONT Font() const { return nullptr; }
  virtual int FontHeight() const { return -11; }
  virtual int FontSize() const { return 8; }
  virtual const TdxBarPaintSettings& Settings() const;
  virtual TdxBarManager* Manager() const { return nullptr; }
  // Toolbars.
  virtual bool HasHiddenItems() const { return false; }
  virtual bool ShowGrip() const { return true; }
  virtual int MarkState() const { return 0; }  // 0 normal, 1 hot, 2 pressed
  virtual bool ShowMark() const { return false; }
  virtual bool CanClose() const { return true; }
  virtual int CloseButtonState() const { return 0; }
  virtual TRect CaptionMarkRect() const { return {}; }  // floating caption's mark area
  virtual AnsiString Caption() const { return {}; }
  virtual TRect DockedRect() const { return {}; }  // position on the dock site
  // Sub-menus.
  virtual int BarSize() const { return 0; }  // side strip width
  virtual bool ExpandButtonVisible() const { return false; }
  virtual int ExpandButtonHeight() const { return 14; }
  virtual int ExpandButtonState() const { return 0; }
  virtual bool DetachBar() const { return false; }
  virtual int DetachBarBaseHeight() const { return 8; }
  virtual bool DetachBarHot() const { return false; }
  virtual int GlyphReferenceSize() const { return ItemHeight() / 4 * 3 + 1; }
  virtual int MenuArrowPartWidth() const { return 19; }
  // What the Office 2003 and XP looks ask besides.
  virtual bool BorderNone() const { return false; }  // the bar's BorderStyle is bbsNone
  virtual bool IsQuickCustomization() const { return false; }
  virtual bool HasBackgroundBitmap() const { return false; }
  virtual bool CanHaveSizeGrip() const { return false; }
  // The manager's themes-available flag.
  virtual bool ThemesAvailable() const { return false; }
  virtual bool FormActive() const { return true; }
  // The window's rectangle in window coordinates, (0, 0, Width, Height),
  // and where its client area starts in them.
  virtual TRect WindowRect() const { return ClientRect(); }
  virtual TPoint ClientOrigin() const { return {}; }
  // The client rectangle of the dock site the bar sits on (DockedRect is
  // relative to it); empty: the window's own rectangle.
  virtual TRect DockSiteRect() const { return {}; }
  // The segment where a menu or drop-down window touches the element that
  // opened it, in client coordinates; empty: none.
  virtual TRect OwnerJointRect() const { return {}; }
  // Where a menu row's caption area starts (the glyph column's right edge).
  virtual int CaptionLeft() const { return BarSize() + ItemHeight() + 2; }
  // The dock site's or bar's cached background picture (owned by the
  // window, emptied when its size or colours change); nullptr: none kept.
  virtual TBitmap* BackgroundCache() const { return nullptr; }
  // The combo button width the window cached from CalcComboButtonWidth.
  virtual int ComboButtonWidth() const { return 11; }
  // A dock site's rows in its client coordinates, first to last, each with
  // whether every bar on it has no border; none for other windows.
  struct TDockRow {
    TRect R;
    bool BorderNone = false;
  };
  virtual std::vector<TDockRow> DockRows() const { return {}; }
};

// One item control as a painter sees it; filled by the control per call.
struct TdxBarItemPaint {
  TdxBarItemControl* Control = nullptr;
  const TdxBarPaintWindow* Window = nullptr;  // never nullptr while drawing
  bool Enabled = true;
  bool NotRecent = false;   // shown only because its menu is expanded
  bool BlockStart = false;  // first of a run of (not-)recent entries
  bool ShowCaption = true;
  AnsiString Caption;
  TBitmap* Glyph = nullptr;
  TCustomImageList* Images = nullptr;
  int ImageIndex = -1;
  TRect SeparatorRect;       // set by DrawSubMenuSeparator
  TRect ComboButtonRect;     // set by DrawComboButton
  bool DroppedDown = false;  // combo: the list is open
  // A sub-item, or a button whose open drop-down menu is drawn highlighted.
  bool DropDownOwner = false;
  bool DownProperty = false;    // a button whose Down is set
  TRect DropDownJoint;          // down with its drop-down attached: the joint segment (DC coordinates)
  bool ButtonPressed = false;   // combo: its button is held down
  bool HasDropDownPart = false; // a split button
  bool ReadOnly = false;        // edit
  bool HasImage() const;
};

class TdxBarItemControlPainter {
public:
  virtual ~TdxBarItemControlPainter() = default;
  static TdxBarItemControlPainterClass Instance();

  // Glyph area.
  virtual void DrawGlyphBorder(const TdxBarItemPaint& /*C*/, HDC /*DC*/, bool /*Pressed*/, bool /*Down*/,
                               bool /*Selected*/, bool /*NoImage*/, const TRect& /*R*/, bool /*BorderFits*/,
                               HBRUSH /*Brush*/) const {}
  virtual void DrawCheckMark(const TdxBarItemPaint& /*C*/, HDC /*DC*/, int /*X*/, int /*Y*/, int /*Scale*/) const {}
  virtual void DrawGlyphNoImage(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected,
                                bool BorderFits, HBRUSH Brush, TRect R) const;
  virtual void DrawGlyphImage(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected, bool BorderFits,
                              HBRUSH Brush, TRect R, const TRect& GlyphRect) const;
  // Arrows.
  virtual void DrawDropDownArrow(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected) const;
  virtual void DrawSizedArrow(HDC DC, const TRect& R, bool Down, int Size, bool Selected, bool Enabled) const;
  virtual void GetEditColors(const TdxBarItemPaint& C, TColor& TextColor, TColor& BackColor) const;
  virtual TColor GetFadedImageColor(const TdxBarPaintSettings& S) const;
  virtual void GetTextColors(const TdxBarItemPaint& C, bool Enabled, bool Selected, bool KeepColor, TColor& OffsetColor,
                             TColor& MainColor) const;
  virtual bool KeepBarBackground() const { return false; }
  virtual bool SubMenuOwnNotRecentDrawing() const { return false; }
  virtual bool NoPressedOffset() const { return false; }
  virtual bool IsSmallBarMark(const TdxBarPaintWindow& /*W*/, const TRect& R) const { return R.Height() <= 16; }
  virtual TColor GetBarCaptionColor(const TdxBarPaintWindow& /*W*/, bool Active) const {
    return Active ? clActiveCaption : clInactiveCaption;
  }
  virtual TColor GetBarCaptionTextColor(const TdxBarPaintWindow& /*W*/) const { return clCaptionText; }
  virtual TColor GetBarCaptionMarkColor(const TdxBarPaintWindow& /*W*/, int /*State*/) const { return clCaptionText; }
  virtual void DrawSizeGrip(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const;
  virtual void DrawFloatingBarMarkArrow(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const;
  virtual void DrawBarMarkChevron(const TdxBarPaintWindow& /*W*/, HDC /*DC*/, const TRect& /*R*/, int /*P*/) const {}
  virtual void DrawBarMarkBackground(const TdxBarPaintWindow& /*W*/, HDC /*DC*/, HBRUSH /*Brush*/,
                                     const TRect& /*R*/) const {}
  virtual void DrawBarMarkSigns(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const;
  virtual int CalcFloatingCaptionTextLeft(const TdxBarPaintWindow& W) const { return W.CaptionMarkRect().Right + 3; }
  virtual int GetBarMarkArrowColorIndex() const { return COLOR_BTNTEXT; }
  virtual void DrawDownTriangle(HDC DC, int ColorIndex, int Width, int Top, int Left) const;
  virtual void DrawSubMenuScrollArrow(const TdxBarPaintWindow& W, HDC DC, bool Up, const TRect& R) const;
  virtual void DrawSubMenuExpandArrows(const TdxBarPaintWindow& W, HDC DC, bool Selected, const TRect& R) const;
  virtual void AdjustEditTextRect(TRect& /*R*/) const {}
  virtual void DrawPushButtonText(HDC DC, const AnsiString& Caption, bool Pressed, const TRect& R) const;
  // Backgrounds.
  virtual void DrawBackground(const TdxBarItemPaint& C, HDC DC, bool Selected, HBRUSH Brush, const TRect& R) const;
  virtual void DrawBackgroundFrame(const TdxBarItemPaint& C, HDC DC, bool Selected, HBRUSH Brush, const TRect& R) const;
  virtual void DrawDisabledDot(HDC DC, const TRect& R) const;
  // The glyph of an item control: size, scaling and place in Box (the
  // control's rectangle, or the caller's glyph rectangle), then
  // DrawGlyphAndBorder.
  virtual void DrawControlGlyph(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected,
                                bool ShowImage, const TRect& Box) const;
  virtual void DrawGlyphAndBorder(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected,
                                  bool NoImage, const TRect& R, const TRect& GlyphRect) const;
  virtual void DrawMenuItem(const TdxBarItemPaint& /*C*/, HDC /*DC*/, bool /*Down*/, bool /*ShowGlyph*/,
                            bool /*Selected*/, const TRect& /*R*/) const {}
  // Caption with hot-key underline; Alignment is DT_LEFT, DT_CENTER or
  // DT_RIGHT.
  virtual void DrawItemText(const TdxBarItemPaint& C, HDC DC, bool Enabled, bool Selected, bool KeepColor, bool Rotated,
                            bool Clip, int Alignment, const TRect& R, const AnsiString& Caption) const;
  virtual void DrawLoweredBorder(HDC /*DC*/, TRect& /*R*/) const {}
  virtual void DrawStaticBorder(HDC DC, TdxBarStaticBorderStyle Style, int Width, TRect& R) const;
  virtual void DrawSmallButton(const TdxBarItemPaint& /*C*/, HDC /*DC*/, int /*State*/, bool /*Raised*/,
                               const TRect& /*R*/) const {}
  virtual void GetArrowParams(const TdxBarItemPaint& C, int& ColorIndex, HBRUSH& Brush, bool Pressed, bool Down,
                              bool Selected) const;
  virtual HBRUSH GetButtonBrush(const TdxBarItemPaint& C, bool /*Pressed*/, bool /*Down*/, bool /*Selected*/,
                                bool /*NoImage*/) const {
    return C.Window->CurrentBrush();
  }
  virtual int GetDownGlyphOffset(const TdxBarItemPaint& /*C*/) const { return 0; }
  virtual int GetPressedGlyphOffset(const TdxBarItemPaint& /*C*/, bool /*Down*/) const { return 0; }
  virtual bool KeepSelectedTextColor() const { return false; }
  virtual bool KeepButtonTextColor() const { return true; }
  virtual int GetLoweredBorderWidth() const { return 0; }
  virtual int GetControlIndent(const TdxBarItemPaint& C) const {
    return C.Window->PaintType() == ptMenu ? C.Window->ItemHeight() + 1 : 0;
  }
  // Docked and floating bars.
  virtual int GetGripOffset() const { return 0; }
  virtual int GetFloatingBorderWidth() const;
  virtual int GetFloatingBorderHeight() const;
  virtual int GetDockedBarIndent() const { return 0; }
  virtual int GetGripAreaWidth() const { return 0; }
  virtual int GetGripBarWidth() const { return 3; }
  virtual int GetButtonArrowWidth(const TdxBarPaintSettings& S) const;
  virtual int GetLargeButtonArrowWidth(const TdxBarPaintSettings& S) const { return S.LargeButtonArrowWidth; }
  virtual int GetSubMenuSeparatorIndent() const { return 0; }
  virtual void DrawDockControlBackground(const TdxBarPaintWindow& W, HDC DC, TColor Color, HBRUSH Brush, const TRect& R,
                                         TPoint Origin) const;
  virtual bool IsOwnBackground() const { return false; }
  virtual bool MenuAttachesToOwner() const { return false; }
  virtual HBRUSH GetBarBackgroundBrush(const TdxBarPaintSettings& S) const;
  virtual void DrawDockedBarBitmapBackground(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const;
  virtual void DrawBarBitmapBackground(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const;
  virtual void DrawQuickControlBorder(const TdxBarPaintWindow& W, HDC DC, const TRect& Outer, const TRect& Inner) const;
  virtual bool BarHasShadow() const { return false; }
  virtual HBRUSH GetBarBrush() const;
  virtual HBRUSH GetToolbarBrush() const { return GetBarBrush(); }
  virtual HBRUSH GetCheckedBrush() const;
  virtual HBRUSH GetPressedBrush() const;
  virtual HBRUSH GetHotBrush() const;
  virtual int CalcComboButtonWidth(const TdxBarPaintWindow& /*W*/, HDC /*DC*/, int ZeroWidth) const {
    return 2 * ZeroWidth - 1;
  }
  virtual int GetEditHeightExtra() const { return 6; }
  virtual int CalcEditHeight(const TdxBarPaintWindow& /*W*/, HDC /*DC*/, int TextHeight) const {
    return TextHeight + GetEditHeightExtra();
  }
  virtual bool HotTrackFloatingCloseButton() const { return false; }
  virtual bool HasBarMark() const { return false; }
  virtual int GetToolbarSeparatorOffset() const { return (GetToolbarSeparatorSize() - 2) / 2; }
  virtual int GetToolbarSeparatorSize() const { return 6; }
  virtual void GetDockedBarBorderOffsets(const TdxBarPaintWindow& /*W*/, TRect& R) const {
    const int B = GetDockedBarBorderWidth();
    R = {B, B, B, B};
  }
  virtual int GetDockedBarBorderWidth() const { return 1; }
  virtual void GetBarBorders(const TdxBarPaintWindow& /*W*/, bool /*Docked*/, TRect& R) const { R = {2, 2, 2, 2}; }
  virtual int GetFloatingCaptionHeight() const { return GetSmallCaptionHeight() + 1; }
  virtual void FillFloatingCaption(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, bool Active, const TRect& R) const;
  virtual int GetSmallCaptionHeight() const;
  virtual bool FloatingCaptionHasBackground() const { return false; }
  virtual void GetCloseButtonSize(TSize& Size) const { Size.cx = Size.cy = GetSmallCaptionHeight(); }
  virtual void DrawToolbarSeparator(const TdxBarPaintWindow& W, HDC DC, bool Vertical, HBRUSH Brush,
                                    const TRect& R) const;
  virtual void DrawCloseButtonBackground(const TdxBarPaintWindow& W, HDC DC, int State, const TRect& R) const;
  virtual void DrawCloseButton(const TdxBarPaintWindow& /*W*/, HDC /*DC*/, const TRect& /*R*/) const {}
  virtual void DrawDockedBarBorder(const TdxBarPaintWindow& /*W*/, HDC /*DC*/, HBRUSH /*Brush*/, TRect& /*R*/) const {}
  virtual void DrawFloatingBarBorder(const TdxBarPaintWindow& /*W*/, HDC /*DC*/, TRect& /*R*/) const {}
  virtual void DrawFloatingBarCaption(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, bool Active, TRect R) const;
  virtual void DrawFloatingBarMark(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
    DrawFloatingBarMarkArrow(W, DC, R);
  }
  virtual void DrawBarMark(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const {
    DrawBarMarkBackground(W, DC, Brush, R);
    DrawBarMarkSigns(W, DC, R);
  }
  virtual void DrawMDIButton(const TdxBarPaintWindow& /*W*/, TdxBarMDIButton /*Button*/, bool /*Enabled*/,
                             const TRect& /*R*/, HDC /*DC*/, bool /*Hot*/, bool /*Pressed*/) const {}
  virtual void DrawBarSizeGrip(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const;
  virtual void DrawStatusBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const;
  virtual int GetFloatingBarSideIndent() const { return 0; }
  virtual TRect GetBarMarkHitRect(const TdxBarPaintWindow& W) const { return GetBarMarkRect(W); }
  virtual TRect GetBarMarkRect(const TdxBarPaintWindow& /*W*/) const { return {}; }
  virtual int GetFloatingBarTopIndent() const { return 0; }
  virtual int GetFloatingBarBottomIndent() const { return 0; }
  virtual bool UseSystemCloseButton() const { return false; }
  virtual bool UseSystemFrame() const { return false; }
  virtual void DrawStatusBarBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TColor Color,
                                       const TRect& R) const;
  virtual void GetSizeGripSize(TSize& Size) const;
  virtual int GetStatusBarBorderHeight() const { return 2; }
  // Quick customization.
  virtual HBRUSH GetQuickControlBrush() const { return GetToolbarBrush(); }
  virtual int CalcQuickCustItemCheckArea(TRect& R) const {
    R.Right = R.Left + R.Height();
    return R.Right;
  }
  virtual void DrawQuickCustItemFrame(const TdxBarItemPaint& /*C*/, HDC /*DC*/, const TRect& /*R*/,
                                      bool /*Selected*/) const {}
  virtual bool QuickControlAlignLeft() const { return false; }
  // Metrics.
  virtual int GetButtonHeightExtra() const { return 6; }
  virtual int GetButtonWidthExtra() const { return 7; }
  virtual void AdjustMenuItemHeight(int& /*Height*/) const {}
  virtual void AdjustMenuItemWidth(int& /*Width*/) const {}
  // Buttons.
  virtual void DrawButtonArrowPart(const TdxBarItemPaint& /*C*/, HDC /*DC*/, bool /*MenuWindowExists*/,
                                   bool /*DropDownEnabled*/, bool /*Dropped*/, bool /*Pressed*/, bool /*Selected*/,
                                   int /*ArrowColorIndex*/, HBRUSH /*Brush*/, const TRect& /*R*/) const {}
  virtual bool RedrawAfterDropDown() const { return false; }
  virtual void OffsetButtonCaption(const TdxBarItemPaint& /*C*/, bool /*Down*/, bool /*Pressed*/, TRect& /*R*/) const {}
  virtual void OffsetPressedRect(bool /*Pressed*/, TRect& /*R*/) const {}
  // Combos.
  virtual int GetComboButtonIndent() const { return 1; }
  virtual void DrawComboButton(TdxBarItemPaint& /*C*/, HDC /*DC*/, bool /*Selected*/, bool /*Hot*/,
                               const TRect& /*R*/) const {}
  virtual void GetComboArrowParams(const TdxBarItemPaint& C, int& ColorIndex, HBRUSH& Brush, bool Pressed, bool Down,
                                   bool Selected) const {
    GetArrowParams(C, ColorIndex, Brush, Pressed, Down, Selected);
  }
  virtual int GetDropDownListBorderWidth() const { return 0; }
  virtual void DrawDropDownListBorder(HDC /*DC*/, const TRect& /*R*/) const {}
  // Sub-items.
  virtual int CalcSubItemIndent(const TdxBarPaintWindow& W) const;
  virtual int CalcSubItemHeight(const TdxBarItemPaint& C) const;
  virtual int CalcSubItemWidth(const TdxBarItemPaint& C, HDC DC) const;
  virtual void DrawSubItem(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Selected, const TRect& R) const;
  // Sub-menus.
  virtual int GetSubMenuBottomIndent() const { return 2; }
  virtual int GetSubMenuSeparatorSize() const { return 10; }
  virtual int GetSubMenuOffset() const { return 3; }
  // Glyph reference size, expand-button height and arrow-part width of a
  // sub-menu whose item height and text height of "0" are given.
  virtual void CalcSubMenuMetrics(int ItemHeight, int ZeroTextHeight, int& GlyphReferenceSize, int& ExpandButtonHeight,
                                  int& ArrowPartWidth) const;
  virtual void GetSubMenuItemsRect(const TdxBarPaintWindow& W, bool Unlimited, TRect& R, int& TopBound,
                                   int& BottomBound) const;
  virtual void CalcSubMenuSize(const TdxBarPaintWindow& W, int RowsWidth, int RowsHeight, TSize& Size) const;
  virtual int GetSubMenuDetachBarHeight(const TdxBarPaintWindow& W) const { return W.DetachBarBaseHeight() + 3; }
  // Rows: the rectangles of the visible rows; FirstHidden: rows scrolled
  // away above; MoreBelow: rows hidden below the last visible one.
  virtual void DrawSubMenuExtras(const TdxBarPaintWindow& W, HDC DC, const TRect& FirstRow, const TRect& LastRow,
                                 bool FirstHidden, bool MoreBelow, bool LastBlockStart, bool LastNotRecent) const;
  virtual void DrawSubMenuBitmapBackground(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const;
  virtual void DrawSubMenuBorder(const TdxBarPaintWindow& W, HDC DC, TRect R) const;
  virtual void DrawSubMenuClientBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TRect R) const;
  virtual void DrawSubMenuDetachBar(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const;
  virtual void DrawSubMenuSeparator(const TdxBarPaintWindow& W, TdxBarItemPaint& C, bool NoStrip, const TRect& R,
                                    HDC DC) const;
  virtual void DrawSubMenuNotRecentMargins(const TdxBarPaintWindow& /*W*/, const TdxBarItemPaint& /*C*/,
                                           bool /*NoStrip*/, int /*VisibleIndex*/, bool /*LastShown*/,
                                           const TRect& /*R*/, HDC /*DC*/) const {}
  virtual bool SubMenuSeparatorOverlaps() const { return false; }
  virtual int CalcExpandArrowSize(int ExpandButtonHeight) const { return (ExpandButtonHeight - 6) / 2; }
  virtual int GetSubMenuExpandButtonIndent() const { return 1; }
  virtual void AdjustSubMenuDetachBarRect(TRect& R) const { R = {R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3}; }
  virtual void GetSubMenuItemBrush(const TdxBarPaintWindow& /*W*/, HBRUSH& /*Brush*/) const {}
  virtual HBRUSH GetSubMenuBrush() const;
  // Edits and combos.
  virtual void DrawEditText(HDC DC, HBRUSH Brush, const AnsiString& Text, TRect R) const;
  virtual void DrawComboText(HDC DC, HBRUSH Brush, const AnsiString& Text, const TRect& R) const;
  virtual int CalcEditCaptionWidth(HDC DC, const AnsiString& Caption) const;
  virtual void DrawEditBorder(const TdxBarItemPaint& C, HDC DC, bool Selected, TRect& R) const;
  virtual void DrawEditCaption(const TdxBarItemPaint& C, HDC DC, bool Selected, TRect& R) const;
  virtual void DrawEditValue(const TdxBarItemPaint& C, HDC DC, const AnsiString& Text, const TRect& R) const;
  virtual unsigned GetEditWindowStyle() const;
  virtual void InitEditWindow(const TdxBarItemPaint& /*C*/, HWND /*Edit*/) const {}
  virtual void SelectEditText(const TdxBarItemPaint& C, HWND Edit, bool Changed) const;
  // Extra items.
  virtual void DrawColorComboCustomButton(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Selected, TRect& Inner,
                                          const TRect& R) const;
  virtual void CalcDropDownNCSize(HWND DropDown, TRect& R, bool WithGrip, HWND Combo, int& Corner) const;
  virtual void DrawDropDownNC(HWND DropDown, HDC DC, TRect R, bool WithGrip, int Corner) const;
  virtual int GetDropDownNCHeight() const;
  // The whole non-client frame of a resizable drop-down window on its own
  // window DC: StateA, the mouse is over the close button; StateB, the close
  // button is tracked with the mouse button down. The close button's and the
  // grip's rectangles come back in screen coordinates for hit tests.
  virtual void DrawDropDownNC(HWND DropDown, bool WithGrip, bool StateA, bool StateB, TRect& CloseButtonRect,
                              TRect& GripRect, int Corner) const;
  // The forms of four operations that depend on the window or control they
  // serve; the plain forms answer for a typical one.
  // Whether this bar window casts a shadow.
  virtual bool BarWindowHasShadow(const TdxBarPaintWindow& /*W*/) const { return BarHasShadow(); }
  // The background brush of this toolbar window.
  virtual HBRUSH GetToolbarBrushOf(const TdxBarPaintWindow& /*W*/) const { return GetToolbarBrush(); }
  // The caption width of an edit item on this window.
  virtual int CalcEditCaptionWidthIn(const TdxBarPaintWindow& /*W*/, HDC DC, const AnsiString& Caption) const {
    return CalcEditCaptionWidth(DC, Caption);
  }
  // The leading strip before this progress item.
  virtual int GetProgressBarIndentOf(const TdxBarItemPaint& /*C*/) const { return GetProgressBarIndent(); }
  virtual bool IsFlatDateNavigator() const { return false; }
  virtual void DrawPushButton(HDC DC, bool Pressed, const AnsiString& Caption, TRect R) const;
  virtual TColor GetDateNavigatorColor() const { return clBtnFace; }
  // Direction 1 up, else down; Size and Offset place the triangle.
  virtual void DrawSpinButton(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Hot, int Direction, int Size,
                              int Offset, const TRect& R) const;
  virtual void DrawSpinEditBorder(const TdxBarItemPaint& C, HDC DC, TRect& R) const;
  virtual TColor GetProgressColor() const { return clHighlight; }
  virtual int GetProgressBarSize() const { return 12; }
  virtual void DrawProgressBar(const TdxBarItemPaint& C, HDC DC, int Min, int Max, int Position, bool Solid,
                               TColor Color, const TRect& R) const;
  virtual int GetProgressBarIndent() const { return 0; }
  virtual int GetContainerIndent() const { return 0; }
  virtual HBRUSH GetInPlaceSubItemBrush() const;
  virtual void DrawInPlaceSubItem(const TdxBarItemPaint& C, HDC DC, const TRect& R, bool Expanded, bool Selected) const;

  // Where a menu row of R puts its parts, for the styles that draw the
  // glyph square, a two-pixel strip beside it and the caption: the square
  // and strip sit inside a one-pixel ring, Split is where the glyph column
  // of the ring ends, the caption starts 8 pixels into Text.
  struct TMenuRowLayout {
    TRect Square, Strip, Text;
    int Split = 0;
  };
  static TMenuRowLayout MenuRowLayout(const TRect& R);
  // The ring of an unselected menu row, its glyph-column part and the rest
  // with their own brushes (Fill: filled rather than the bar background).
  void DrawMenuRowRing(const TdxBarItemPaint& C, HDC DC, const TRect& R, bool Fill, HBRUSH ColumnBrush,
                       HBRUSH RestBrush) const;
  // The square (the glyph), the strip and the caption of a menu row.
  void DrawMenuRowContent(const TdxBarItemPaint& C, HDC DC, bool Down, bool ShowGlyph, bool Selected,
                          const TRect& R, bool Fill, HBRUSH StripBrush, HBRUSH TextBrush) const;
  // A split button's arrow part: the rectangle its frame takes (one pixel
  // further left on a toolbar, where it shares the main part's edge), and
  // the arrow in it.
  static TRect ArrowPartFrameRect(const TdxBarPaintWindow& W, const TRect& Part);
  void DrawArrowPartArrow(const TdxBarItemPaint& C, HDC DC, bool DropDownEnabled, bool Dropped, bool Selected,
                          const TRect& Part) const;

protected:
  TdxBarItemControlPainter() = default;
};

class TdxBarItemControlStandardPainter : public TdxBarItemControlPainter {
public:
  static TdxBarItemControlPainterClass Instance();
  void DrawGlyphBorder(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected, bool NoImage,
                       const TRect& R, bool BorderFits, HBRUSH Brush) const override;
  void DrawCheckMark(const TdxBarItemPaint& C, HDC DC, int X, int Y, int Scale) const override;
  void DrawDisabledDot(HDC DC, const TRect& R) const override;
  void DrawMenuItem(const TdxBarItemPaint& C, HDC DC, bool Down, bool ShowGlyph, bool Selected,
                    const TRect& R) const override;
  void DrawLoweredBorder(HDC DC, TRect& R) const override;
  void DrawSmallButton(const TdxBarItemPaint& C, HDC DC, int State, bool Raised, const TRect& R) const override;
  HBRUSH GetButtonBrush(const TdxBarItemPaint& C, bool Pressed, bool Down, bool Selected, bool NoImage) const override;
  void DrawButtonArrowPart(const TdxBarItemPaint& C, HDC DC, bool MenuWindowExists, bool DropDownEnabled, bool Dropped,
                           bool Pressed, bool Selected, int ArrowColorIndex, HBRUSH Brush,
                           const TRect& R) const override;
  void OffsetButtonCaption(const TdxBarItemPaint& C, bool Down, bool Pressed, TRect& R) const override;
  void OffsetPressedRect(bool Pressed, TRect& R) const override;
  void DrawComboButton(TdxBarItemPaint& C, HDC DC, bool Selected, bool Hot, const TRect& R) const override;
  void DrawDropDownListBorder(HDC DC, const TRect& R) const override;
  void DrawSubMenuNotRecentMargins(const TdxBarPaintWindow& W, const TdxBarItemPaint& C, bool NoStrip, int VisibleIndex,
                                   bool LastShown, const TRect& R, HDC DC) const override;
  void InitEditWindow(const TdxBarItemPaint& C, HWND Edit) const override;
  void DrawDockedBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TRect& R) const override;
  void DrawFloatingBarBorder(const TdxBarPaintWindow& W, HDC DC, TRect& R) const override;
  void DrawCloseButton(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void DrawMDIButton(const TdxBarPaintWindow& W, TdxBarMDIButton Button, bool Enabled, const TRect& R, HDC DC, bool Hot,
                     bool Pressed) const override;
  void DrawBarMarkChevron(const TdxBarPaintWindow& W, HDC DC, const TRect& R, int P) const override;
  void DrawBarMarkBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const override;
  TRect GetBarMarkRect(const TdxBarPaintWindow& W) const override;
  bool KeepBarBackground() const override { return true; }
  bool IsSmallBarMark(const TdxBarPaintWindow&, const TRect&) const override { return false; }
  int GetDownGlyphOffset(const TdxBarItemPaint&) const override { return 1; }
  int GetPressedGlyphOffset(const TdxBarItemPaint&, bool) const override { return 1; }
  int GetLoweredBorderWidth() const override { return 1; }
  int GetGripOffset() const override { return 2; }
  int GetGripAreaWidth() const override { return GetGripOffset() + 2 * GetGripBarWidth() + 1; }
  int GetSubMenuSeparatorIndent() const override { return 2; }
  bool HasBarMark() const override { return false; }
  int GetFloatingBarSideIndent() const override { return 4; }
  int GetFloatingBarTopIndent() const override { return 2; }
  int GetFloatingBarBottomIndent() const override { return 1; }
  bool UseSystemCloseButton() const override { return true; }
  bool UseSystemFrame() const override { return true; }
  int GetDropDownListBorderWidth() const override { return 2; }
  bool SubMenuSeparatorOverlaps() const override { return true; }
  int GetSubMenuExpandButtonIndent() const override { return 2; }
};

class TdxBarItemControlEnhancedPainter : public TdxBarItemControlStandardPainter {
public:
  static TdxBarItemControlPainterClass Instance();
  void DrawDockedBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TRect& R) const override;
  TRect GetBarMarkRect(const TdxBarPaintWindow& W) const override;
  void DrawBarMarkBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawBarMarkSigns(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void DrawBarMarkChevron(const TdxBarPaintWindow& W, HDC DC, const TRect& R, int P) const override;
  bool IsSmallBarMark(const TdxBarPaintWindow& W, const TRect& R) const override {
    return TdxBarItemControlPainter::IsSmallBarMark(W, R);
  }
  int GetGripOffset() const override { return 1; }
  int GetGripAreaWidth() const override { return GetGripOffset() + GetGripBarWidth() + 2; }
  int GetSubMenuSeparatorIndent() const override { return 12; }
  bool HasBarMark() const override { return true; }
};

// The flat style: one-pixel frames, selected elements framed in the
// highlight colour on a light tint, menus on the window colour with a
// face-coloured glyph column.
class TdxBarItemControlFlatPainter : public TdxBarItemControlPainter {
public:
  static TdxBarItemControlPainterClass Instance();
  // The seven operations this style adds.
  virtual void DrawSelectionFrame(HDC DC, const TRect& R) const;
  virtual HBRUSH GetBorderBrush(const TdxBarItemPaint& C, TdxBarStaticBorderStyle Style) const;
  virtual void DrawDroppedBarMark(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const;
  // Frames R, leaving Joint (the segment the open drop-down window touches,
  // in DC coordinates; empty: none) open and filled with the bar background.
  virtual void DrawDropDownOwnerFrame(const TdxBarPaintWindow& W, HDC DC, const TRect& R, const TRect& Joint) const;
  virtual void FrameDropDownOwner(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const;
  virtual void FillDropDownOwnerGap(const TdxBarPaintWindow& W, HDC DC, const TRect& OwnerR,
                                    const TRect& Joint) const;
  virtual HBRUSH GetSubMenuSeparatorBrush(const TdxBarPaintWindow& W) const;
  // The manager's style brush N (1..5).
  static HBRUSH StyleBrush(const TdxBarPaintSettings& S, int N);

  bool KeepSelectedTextColor() const override { return true; }
  int GetLoweredBorderWidth() const override { return 1; }
  int GetControlIndent(const TdxBarItemPaint& C) const override {
    return C.Window->PaintType() == ptMenu ? C.Window->ItemHeight() + 3 : 0;
  }
  int GetGripOffset() const override { return 1; }
  int GetGripAreaWidth() const override { return GetGripOffset() + GetGripBarWidth() + 2; }
  int GetButtonArrowWidth(const TdxBarPaintSettings& S) const override {
    return TdxBarItemControlPainter::GetButtonArrowWidth(S) - 1;
  }
  int GetLargeButtonArrowWidth(const TdxBarPaintSettings& S) const override {
    return TdxBarItemControlPainter::GetLargeButtonArrowWidth(S) - 1;
  }
  int GetSubMenuSeparatorIndent() const override { return 8; }
  bool MenuAttachesToOwner() const override { return true; }
  int GetEditHeightExtra() const override { return 7; }
  bool HotTrackFloatingCloseButton() const override { return true; }
  bool HasBarMark() const override { return true; }
  bool QuickControlAlignLeft() const override { return true; }
  bool RedrawAfterDropDown() const override { return true; }
  bool IsFlatDateNavigator() const override { return true; }
  int GetToolbarSeparatorSize() const override { return 5; }
  int GetToolbarSeparatorOffset() const override { return (GetToolbarSeparatorSize() - 1) / 2; }
  void AdjustMenuItemHeight(int& Height) const override { Height += 2; }
  void AdjustMenuItemWidth(int& Width) const override { Width += 9; }
  int GetDropDownListBorderWidth() const override { return 2; }
  int GetSubMenuSeparatorSize() const override { return 5; }
  int GetSubMenuOffset() const override { return 2; }
  int CalcExpandArrowSize(int Height) const override {
    const int A = (Height - 4) / 2;
    return A < 5 ? A : A / 2 * 2;
  }
  void AdjustSubMenuDetachBarRect(TRect& R) const override {
    R = {R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
  }
  int GetContainerIndent() const override { return 9; }
  void AdjustEditTextRect(TRect& R) const override { R.Top += 2; }
  bool BarHasShadow() const override { return true; }
  HBRUSH GetBarBrush() const override;
  HBRUSH GetCheckedBrush() const override;
  HBRUSH GetPressedBrush() const override;
  HBRUSH GetHotBrush() const override;
  HBRUSH GetQuickControlBrush() const override;
  HBRUSH GetSubMenuBrush() const override;
  void GetSubMenuItemBrush(const TdxBarPaintWindow& W, HBRUSH& Brush) const override;
  TColor GetBarCaptionColor(const TdxBarPaintWindow& W, bool Active) const override;
  TColor GetBarCaptionMarkColor(const TdxBarPaintWindow& W, int State) const override;
  HBRUSH GetButtonBrush(const TdxBarItemPaint& C, bool Pressed, bool Down, bool Selected,
                        bool NoImage) const override;
  void DrawGlyphBorder(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected, bool NoImage,
                       const TRect& R, bool BorderFits, HBRUSH Brush) const override;
  void DrawGlyphImage(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected, bool BorderFits,
                      HBRUSH Brush, TRect R, const TRect& GlyphRect) const override;
  void DrawCheckMark(const TdxBarItemPaint& C, HDC DC, int X, int Y, int Scale) const override;
  void DrawMenuItem(const TdxBarItemPaint& C, HDC DC, bool Down, bool ShowGlyph, bool Selected,
                    const TRect& R) const override;
  void DrawButtonArrowPart(const TdxBarItemPaint& C, HDC DC, bool MenuWindowExists, bool DropDownEnabled,
                           bool Dropped, bool Pressed, bool Selected, int ArrowColorIndex, HBRUSH Brush,
                           const TRect& R) const override;
  void DrawLoweredBorder(HDC DC, TRect& R) const override;
  void DrawToolbarSeparator(const TdxBarPaintWindow& W, HDC DC, bool Vertical, HBRUSH Brush,
                            const TRect& R) const override;
  void DrawSubMenuSeparator(const TdxBarPaintWindow& W, TdxBarItemPaint& C, bool NoStrip, const TRect& R,
                            HDC DC) const override;
  TRect GetBarMarkRect(const TdxBarPaintWindow& W) const override;
  void DrawBarMarkBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawBarMarkSigns(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void DrawBarMarkChevron(const TdxBarPaintWindow& W, HDC DC, const TRect& R, int P) const override;
  void DrawDockedBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TRect& R) const override;
  // Sub-items, edits, combos and the small parts of the extra items.
  int CalcSubItemIndent(const TdxBarPaintWindow& W) const override;
  int CalcSubItemHeight(const TdxBarItemPaint& C) const override;
  int CalcSubItemWidth(const TdxBarItemPaint& C, HDC DC) const override;
  void DrawSubItem(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Selected, const TRect& R) const override;
  int GetSubMenuDetachBarHeight(const TdxBarPaintWindow& W) const override { return W.DetachBarBaseHeight() + 1; }
  int CalcEditCaptionWidth(HDC DC, const AnsiString& Caption) const override;
  unsigned GetEditWindowStyle() const override;
  void InitEditWindow(const TdxBarItemPaint& C, HWND Edit) const override;
  void SelectEditText(const TdxBarItemPaint& C, HWND Edit, bool Changed) const override;
  int CalcFloatingCaptionTextLeft(const TdxBarPaintWindow& W) const override;
  void GetArrowParams(const TdxBarItemPaint& C, int& ColorIndex, HBRUSH& Brush, bool Pressed, bool Down,
                      bool Selected) const override;
  void GetComboArrowParams(const TdxBarItemPaint& C, int& ColorIndex, HBRUSH& Brush, bool Pressed, bool Down,
                           bool Selected) const override;
  void DrawComboButton(TdxBarItemPaint& C, HDC DC, bool Selected, bool Hot, const TRect& R) const override;
  void DrawSmallButton(const TdxBarItemPaint& C, HDC DC, int State, bool Raised, const TRect& R) const override;
  void DrawStaticBorder(HDC DC, TdxBarStaticBorderStyle Style, int Width, TRect& R) const override;
  void DrawEditBorder(const TdxBarItemPaint& C, HDC DC, bool Selected, TRect& R) const override;
  void DrawEditCaption(const TdxBarItemPaint& C, HDC DC, bool Selected, TRect& R) const override;
  void DrawDropDownListBorder(HDC DC, const TRect& R) const override;
  void DrawPushButton(HDC DC, bool Pressed, const AnsiString& Caption, TRect R) const override;
  void DrawSpinButton(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Hot, int Direction, int Size, int Offset,
                      const TRect& R) const override;
  void DrawInPlaceSubItem(const TdxBarItemPaint& C, HDC DC, const TRect& R, bool Expanded,
                          bool Selected) const override;
  // Floating bars and caption buttons.
  void DrawFloatingBarBorder(const TdxBarPaintWindow& W, HDC DC, TRect& R) const override;
  void DrawCloseButton(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void DrawFloatingBarMark(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void DrawMDIButton(const TdxBarPaintWindow& W, TdxBarMDIButton Button, bool Enabled, const TRect& R, HDC DC,
                     bool Hot, bool Pressed) const override;
  void DrawQuickCustItemFrame(const TdxBarItemPaint& C, HDC DC, const TRect& R, bool Selected) const override;
  // Menus.
  void CalcSubMenuMetrics(int ItemHeight, int ZeroTextHeight, int& GlyphReferenceSize, int& ExpandButtonHeight,
                          int& ArrowPartWidth) const override;
  void GetSubMenuItemsRect(const TdxBarPaintWindow& W, bool Unlimited, TRect& R, int& TopBound,
                           int& BottomBound) const override;
  void CalcSubMenuSize(const TdxBarPaintWindow& W, int RowsWidth, int RowsHeight, TSize& Size) const override;
  void DrawSubMenuBorder(const TdxBarPaintWindow& W, HDC DC, TRect R) const override;
  void DrawSubMenuClientBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TRect R) const override;
  void DrawSubMenuDetachBar(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void DrawSubMenuExtras(const TdxBarPaintWindow& W, HDC DC, const TRect& FirstRow, const TRect& LastRow,
                         bool FirstHidden, bool MoreBelow, bool LastBlockStart, bool LastNotRecent) const override;
  using TdxBarItemControlPainter::DrawDropDownNC;
  void DrawDropDownNC(HWND DropDown, bool WithGrip, bool StateA, bool StateB, TRect& CloseButtonRect,
                      TRect& GripRect, int Corner) const override;
  bool BarWindowHasShadow(const TdxBarPaintWindow& W) const override;
  HBRUSH GetToolbarBrushOf(const TdxBarPaintWindow& W) const override;
};
// The Office 2003 look: soft gradients of the Office 2003 colour scheme for
// dock sites, toolbars and menu glyph columns, rounded toolbar ends with a
// gradient mark button, orange gradients for hot, pressed and checked
// buttons. Where an operation passes an "arrow colour index", this style
// passes an RGB colour (its arrows are scheme colours, not system ones).
class TdxBarItemControlOffice11Painter : public TdxBarItemControlFlatPainter {
public:
  static TdxBarItemControlPainterClass Instance();
  // The two operations this style adds.
  virtual void DrawGripDots(const TdxBarPaintWindow& W, HDC DC, const TRect& R, bool Vertical) const;
  virtual int GetDockedBarLeadingGap() const { return 2; }
  // The button gradient of a hot, pressed or checked face.
  void FillButtonGradient(const TdxBarPaintWindow& W, HDC DC, const TRect& R, bool Pressed, bool Down,
                          bool Selected) const;

  bool KeepButtonTextColor() const override;
  int GetGripOffset() const override { return 1 + GetDockedBarLeadingGap(); }
  int GetFloatingBorderWidth() const override { return 3; }
  int GetFloatingBorderHeight() const override { return 3; }
  int GetDockedBarIndent() const override { return 2; }
  bool IsOwnBackground() const override { return true; }
  bool SubMenuOwnNotRecentDrawing() const override { return true; }
  int CalcComboButtonWidth(const TdxBarPaintWindow&, HDC, int) const override { return 13; }
  int GetSubMenuDetachBarHeight(const TdxBarPaintWindow& W) const override { return W.DetachBarBaseHeight() + 5; }
  void AdjustSubMenuDetachBarRect(TRect& R) const override {
    R = {R.Left + 2, R.Top + 4, R.Right - 2, R.Bottom - 4};
  }
  TColor GetDateNavigatorColor() const override;
  // Colours and brushes.
  HBRUSH GetBarBrush() const override;
  HBRUSH GetSubMenuBrush() const override;
  HBRUSH GetQuickControlBrush() const override;
  HBRUSH GetBarBackgroundBrush(const TdxBarPaintSettings& S) const override;
  HBRUSH GetCheckedBrush() const override;
  HBRUSH GetPressedBrush() const override;
  HBRUSH GetHotBrush() const override;
  HBRUSH GetBorderBrush(const TdxBarItemPaint& C, TdxBarStaticBorderStyle Style) const override;
  HBRUSH GetSubMenuSeparatorBrush(const TdxBarPaintWindow& W) const override;
  HBRUSH GetInPlaceSubItemBrush() const override;
  TColor GetFadedImageColor(const TdxBarPaintSettings& S) const override;
  TColor GetBarCaptionColor(const TdxBarPaintWindow& W, bool Active) const override;
  TColor GetBarCaptionTextColor(const TdxBarPaintWindow& W) const override;
  TColor GetBarCaptionMarkColor(const TdxBarPaintWindow& W, int State) const override;
  void GetEditColors(const TdxBarItemPaint& C, TColor& TextColor, TColor& BackColor) const override;
  void GetTextColors(const TdxBarItemPaint& C, bool Enabled, bool Selected, bool KeepColor, TColor& OffsetColor,
                     TColor& MainColor) const override;
  void GetArrowParams(const TdxBarItemPaint& C, int& ColorIndex, HBRUSH& Brush, bool Pressed, bool Down,
                      bool Selected) const override;
  void GetComboArrowParams(const TdxBarItemPaint& C, int& ColorIndex, HBRUSH& Brush, bool Pressed, bool Down,
                           bool Selected) const override;
  HBRUSH GetButtonBrush(const TdxBarItemPaint& C, bool Pressed, bool Down, bool Selected,
                        bool NoImage) const override;
  // Dock sites and toolbars.
  void DrawDockControlBackground(const TdxBarPaintWindow& W, HDC DC, TColor Color, HBRUSH Brush, const TRect& R,
                                 TPoint Origin) const override;
  void DrawDockedBarBitmapBackground(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void DrawBarBitmapBackground(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void DrawQuickControlBorder(const TdxBarPaintWindow& W, HDC DC, const TRect& Outer,
                              const TRect& Inner) const override;
  void DrawBarSizeGrip(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawStatusBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawStatusBarBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TColor Color,
                               const TRect& R) const override;
  void GetBarBorders(const TdxBarPaintWindow& W, bool Docked, TRect& R) const override;
  void GetDockedBarBorderOffsets(const TdxBarPaintWindow& W, TRect& R) const override;
  void DrawDockedBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TRect& R) const override;
  void DrawToolbarSeparator(const TdxBarPaintWindow& W, HDC DC, bool Vertical, HBRUSH Brush,
                            const TRect& R) const override;
  void DrawBarMarkBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawBarMarkSigns(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  TRect GetBarMarkHitRect(const TdxBarPaintWindow& W) const override;
  // Floating toolbars.
  void DrawFloatingBarBorder(const TdxBarPaintWindow& W, HDC DC, TRect& R) const override;
  void DrawFloatingBarCaption(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, bool Active, TRect R) const override;
  void DrawCloseButtonBackground(const TdxBarPaintWindow& W, HDC DC, int State, const TRect& R) const override;
  // Item controls.
  void DrawSelectionFrame(HDC DC, const TRect& R) const override;
  void DrawGlyphBorder(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected, bool NoImage,
                       const TRect& R, bool BorderFits, HBRUSH Brush) const override;
  void DrawGlyphImage(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected, bool BorderFits,
                      HBRUSH Brush, TRect R, const TRect& GlyphRect) const override;
  void DrawDropDownArrow(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected) const override;
  void DrawSizedArrow(HDC DC, const TRect& R, bool Down, int Size, bool Selected, bool Enabled) const override;
  void DrawDownTriangle(HDC DC, int Color, int Width, int Top, int Left) const override;
  void DrawMenuItem(const TdxBarItemPaint& C, HDC DC, bool Down, bool ShowGlyph, bool Selected,
                    const TRect& R) const override;
  void DrawButtonArrowPart(const TdxBarItemPaint& C, HDC DC, bool MenuWindowExists, bool DropDownEnabled,
                           bool Dropped, bool Pressed, bool Selected, int ArrowColor, HBRUSH Brush,
                           const TRect& R) const override;
  void DrawComboButton(TdxBarItemPaint& C, HDC DC, bool Selected, bool Hot, const TRect& R) const override;
  void DrawSmallButton(const TdxBarItemPaint& C, HDC DC, int State, bool Raised, const TRect& R) const override;
  void DrawEditBorder(const TdxBarItemPaint& C, HDC DC, bool Selected, TRect& R) const override;
  void DrawQuickCustItemFrame(const TdxBarItemPaint& C, HDC DC, const TRect& R, bool Selected) const override;
  void DrawDropDownListBorder(HDC DC, const TRect& R) const override;
  // Menus.
  void DrawSubMenuBitmapBackground(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void DrawSubMenuClientBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TRect R) const override;
  void DrawSubMenuBorder(const TdxBarPaintWindow& W, HDC DC, TRect R) const override;
  void DrawSubMenuDetachBar(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  // Drop-down joints.
  void FrameDropDownOwner(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void FillDropDownOwnerGap(const TdxBarPaintWindow& W, HDC DC, const TRect& OwnerR,
                            const TRect& Joint) const override;
  bool BarWindowHasShadow(const TdxBarPaintWindow& W) const override;
  int CalcEditCaptionWidthIn(const TdxBarPaintWindow& W, HDC DC, const AnsiString& Caption) const override;
  int GetProgressBarIndentOf(const TdxBarItemPaint& C) const override;
};
// The visual-style look: buttons, separators, grips, combo buttons, edit
// frames, spin buttons, progress bars, size grips and caption buttons are
// the theme's parts. A manager uses it only while its themes-available flag
// is set; without a theme handle the themed calls draw nothing.
class TdxBarItemControlXPPainter : public TdxBarItemControlPainter {
public:
  static TdxBarItemControlPainterClass Instance();
  // The toolbar's themed fill colour and the brush of it.
  static TColor ThemedToolbarFillColor();
  static HBRUSH ThemedToolbarBrush();

  int GetDownGlyphOffset(const TdxBarItemPaint&) const override { return 1; }
  int GetPressedGlyphOffset(const TdxBarItemPaint&, bool Down) const override { return Down ? 0 : 1; }
  int GetGripOffset() const override { return 0; }
  int GetGripAreaWidth() const override { return GetGripOffset() + GetGripBarWidth() + 2; }
  int GetGripBarWidth() const override;
  int GetButtonArrowWidth(const TdxBarPaintSettings& S) const override {
    return TdxBarItemControlPainter::GetButtonArrowWidth(S) + 3;
  }
  int GetLargeButtonArrowWidth(const TdxBarPaintSettings& S) const override {
    return TdxBarItemControlPainter::GetLargeButtonArrowWidth(S) + 3;
  }
  bool IsOwnBackground() const override { return true; }
  bool BarHasShadow() const override { return true; }
  int CalcComboButtonWidth(const TdxBarPaintWindow& W, HDC DC, int ZeroWidth) const override;
  int GetEditHeightExtra() const override;
  bool HotTrackFloatingCloseButton() const override { return true; }
  bool HasBarMark() const override { return true; }
  bool FloatingCaptionHasBackground() const override { return true; }
  bool QuickControlAlignLeft() const override { return true; }
  bool IsFlatDateNavigator() const override { return true; }
  int GetToolbarSeparatorSize() const override;
  int GetToolbarSeparatorOffset() const override { return (GetToolbarSeparatorSize() - 1) / 2; }
  int GetDockedBarBorderWidth() const override { return 0; }
  void GetCloseButtonSize(TSize& Size) const override;
  void GetSizeGripSize(TSize& Size) const override;
  int GetSubMenuBottomIndent() const override { return 1; }
  int GetSubMenuSeparatorSize() const override;
  int GetSubMenuOffset() const override { return 1; }
  int GetSubMenuDetachBarHeight(const TdxBarPaintWindow& W) const override { return W.DetachBarBaseHeight() + 1; }
  void AdjustSubMenuDetachBarRect(TRect& R) const override {
    R = {R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
  }
  int GetButtonHeightExtra() const override;
  int GetButtonWidthExtra() const override { return GetButtonHeightExtra(); }
  void AdjustMenuItemHeight(int& Height) const override { Height += 1; }
  int CalcEditCaptionWidth(HDC DC, const AnsiString& Caption) const override;
  int GetComboButtonIndent() const override { return 0; }
  int GetProgressBarSize() const override;
  void AdjustEditTextRect(TRect& R) const override { R.Top += 2; }
  int GetDropDownNCHeight() const override;
  using TdxBarItemControlPainter::DrawDropDownNC;
  void DrawDropDownNC(HWND DropDown, bool WithGrip, bool StateA, bool StateB, TRect& CloseButtonRect,
                      TRect& GripRect, int Corner) const override;
  int GetDropDownListBorderWidth() const override { return 2; }
  unsigned GetEditWindowStyle() const override;
  void InitEditWindow(const TdxBarItemPaint& C, HWND Edit) const override;
  void SelectEditText(const TdxBarItemPaint& C, HWND Edit, bool Changed) const override;
  void GetSubMenuItemsRect(const TdxBarPaintWindow& W, bool Unlimited, TRect& R, int& TopBound,
                           int& BottomBound) const override;
  void CalcSubMenuSize(const TdxBarPaintWindow& W, int RowsWidth, int RowsHeight, TSize& Size) const override;
  TRect GetBarMarkRect(const TdxBarPaintWindow& W) const override;
  int CalcFloatingCaptionTextLeft(const TdxBarPaintWindow& W) const override;
  // Colours and brushes.
  HBRUSH GetBarBrush() const override;
  HBRUSH GetToolbarBrush() const override;
  HBRUSH GetSubMenuBrush() const override;
  void GetSubMenuItemBrush(const TdxBarPaintWindow& W, HBRUSH& Brush) const override;
  HBRUSH GetButtonBrush(const TdxBarItemPaint& C, bool Pressed, bool Down, bool Selected,
                        bool NoImage) const override;
  TColor GetFadedImageColor(const TdxBarPaintSettings& S) const override;
  TColor GetProgressColor() const override;
  void FillFloatingCaption(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, bool Active,
                           const TRect& R) const override;
  // Drawing.
  void DrawGlyphBorder(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected, bool NoImage,
                       const TRect& R, bool BorderFits, HBRUSH Brush) const override;
  void DrawGlyphImage(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected, bool BorderFits,
                      HBRUSH Brush, TRect R, const TRect& GlyphRect) const override;
  void DrawCheckMark(const TdxBarItemPaint& C, HDC DC, int X, int Y, int Scale) const override;
  void DrawMenuItem(const TdxBarItemPaint& C, HDC DC, bool Down, bool ShowGlyph, bool Selected,
                    const TRect& R) const override;
  void DrawLoweredBorder(HDC DC, TRect& R) const override;
  void DrawButtonArrowPart(const TdxBarItemPaint& C, HDC DC, bool MenuWindowExists, bool DropDownEnabled,
                           bool Dropped, bool Pressed, bool Selected, int ArrowColorIndex, HBRUSH Brush,
                           const TRect& R) const override;
  void OffsetButtonCaption(const TdxBarItemPaint& C, bool Down, bool Pressed, TRect& R) const override;
  void OffsetPressedRect(bool Pressed, TRect& R) const override;
  void DrawComboButton(TdxBarItemPaint& C, HDC DC, bool Selected, bool Hot, const TRect& R) const override;
  void DrawEditBorder(const TdxBarItemPaint& C, HDC DC, bool Selected, TRect& R) const override;
  void DrawEditValue(const TdxBarItemPaint& C, HDC DC, const AnsiString& Text, const TRect& R) const override;
  void DrawSpinButton(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Hot, int Direction, int Size, int Offset,
                      const TRect& R) const override;
  void DrawSpinEditBorder(const TdxBarItemPaint&, HDC, TRect&) const override {}
  void DrawProgressBar(const TdxBarItemPaint& C, HDC DC, int Min, int Max, int Position, bool Solid, TColor Color,
                       const TRect& R) const override;
  void DrawPushButton(HDC DC, bool Pressed, const AnsiString& Caption, TRect R) const override;
  void DrawColorComboCustomButton(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Selected, TRect& Inner,
                                  const TRect& R) const override;
  void DrawDropDownListBorder(HDC DC, const TRect& R) const override;
  void DrawBarMarkSigns(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void DrawToolbarSeparator(const TdxBarPaintWindow& W, HDC DC, bool Vertical, HBRUSH Brush,
                            const TRect& R) const override;
  void DrawCloseButton(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const override;
  void DrawDockedBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TRect& R) const override;
  void DrawDockControlBackground(const TdxBarPaintWindow& W, HDC DC, TColor Color, HBRUSH Brush, const TRect& R,
                                 TPoint Origin) const override;
  void DrawStatusBarBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TColor Color,
                               const TRect& R) const override;
  void DrawSizeGrip(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawBarMarkBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawMDIButton(const TdxBarPaintWindow& W, TdxBarMDIButton Button, bool Enabled, const TRect& R, HDC DC,
                     bool Hot, bool Pressed) const override;
  void DrawSubMenuSeparator(const TdxBarPaintWindow& W, TdxBarItemPaint& C, bool NoStrip, const TRect& R,
                            HDC DC) const override;
  void DrawSubMenuBorder(const TdxBarPaintWindow& W, HDC DC, TRect R) const override;
  void DrawSubMenuClientBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, TRect R) const override;
  bool BarWindowHasShadow(const TdxBarPaintWindow& W) const override {
    return TdxBarItemControlFlatPainter::Instance()->BarWindowHasShadow(W);
  }
};

// The painter of an effective manager style (bmsUseLookAndFeel is resolved
// by the manager before it asks); bmsXP falls back to Enhanced without
// visual styles.
TdxBarItemControlPainterClass dxBarPainterOfStyle(TdxBarManagerStyle Style, bool ThemesAvailable);
