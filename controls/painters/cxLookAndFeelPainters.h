// cxLookAndFeelPainters.h — the drawing interface through which every
// control of the family paints its parts, and the painters that make each
// look. A painter has no state: each class has one shared instance, and a
// control holds a painter reference (TcxLookAndFeelPainterClass) chosen by
// its look-and-feel object; it never creates one. The base class draws a
// neutral look (no frames, system colours) and holds the drawing code that
// every look shares (arrows, check marks, plus/minus signs, caption text).
#pragma once
#include "controls/base/cxGraphics.h"
#include "platform/forms/Controls.h"
#include "platform/gdi/DrawingTools.h"
#include "platform/gdi/ImageList.h"
#include "platform/win/UxTheme.h"
#include <memory>
#include <vector>

class TBitmap;

enum TcxButtonState { cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled };
enum TcxArrowDirection { adUp, adDown, adLeft, adRight };
enum TcxScrollBarPart { sbpNone, sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown };
enum TcxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat, lfOffice11 };
enum TcxAlignmentVert { vaTop, vaBottom, vaCenter };

// What a calendar header or a scheduler part is filled with: the bitmap
// when it has one, else the colour; the caption in Font and TextColor.
struct TcxViewParams {
  TBitmap* Bitmap = nullptr;
  TColor Color = clDefault;
  TFont* Font = nullptr;
  TColor TextColor = clDefault;
};

// Returns true when it painted the background itself.
using TcxDrawBackgroundEvent = TEvent<bool(TcxCanvas* ACanvas, const TRect& ABounds)>;

class TcxCustomLookAndFeelPainter;
using TcxLookAndFeelPainterClass = const TcxCustomLookAndFeelPainter*;

class TcxCustomLookAndFeelPainter {
public:
  virtual ~TcxCustomLookAndFeelPainter() = default;
  static TcxLookAndFeelPainterClass Instance();
  // 0 flat, 1 standard, 2 ultra-flat, 3 Windows XP, 4 Office 2003.
  virtual int GetStyleCode() const { return 1; }

  // Default colours: which purpose each serves is the client controls'
  // business.
  virtual TColor DefaultColor05() const { return BaseDefaultColor(5); }
  virtual TColor DefaultColor06() const { return BaseDefaultColor(6); }
  virtual TColor DefaultColor07() const { return BaseDefaultColor(7); }
  virtual TColor DefaultColor08() const { return BaseDefaultColor(8); }
  virtual TColor DefaultColor09() const { return BaseDefaultColor(9); }
  virtual TColor DefaultColor10() const { return BaseDefaultColor(10); }
  virtual TColor DefaultColor11() const { return BaseDefaultColor(11); }
  virtual TColor DefaultColor12() const { return BaseDefaultColor(12); }
  virtual TColor DefaultColor13() const { return BaseDefaultColor(13); }
  virtual TColor DefaultColor14() const { return BaseDefaultColor(14); }
  virtual TColor DefaultColor15() const { return BaseDefaultColor(15); }
  virtual TColor DefaultColor16() const { return BaseDefaultColor(16); }
  virtual TColor DefaultColor17() const { return BaseDefaultColor(17); }
  virtual TColor DefaultColor18() const { return BaseDefaultColor(18); }
  virtual TColor DefaultColor19() const { return BaseDefaultColor(19); }
  virtual TColor DefaultColor20() const { return BaseDefaultColor(20); }
  virtual TColor DefaultColor21() const { return BaseDefaultColor(21); }
  virtual TColor DefaultColor22() const { return BaseDefaultColor(22); }
  virtual TColor DefaultColor23() const { return BaseDefaultColor(23); }
  virtual TColor DefaultColor24() const { return BaseDefaultColor(24); }
  virtual TColor DefaultColor26() const { return BaseDefaultColor(26); }
  virtual TColor DefaultColor27() const { return BaseDefaultColor(27); }
  virtual TColor DefaultColor28() const { return BaseDefaultColor(28); }
  virtual TColor DefaultColor29() const { return BaseDefaultColor(29); }
  virtual TColor DefaultColor30() const { return BaseDefaultColor(30); }
  virtual TColor DefaultColor31() const { return BaseDefaultColor(31); }
  virtual TColor DefaultColor32() const { return BaseDefaultColor(32); }
  virtual TColor DefaultColor33() const { return BaseDefaultColor(33); }
  virtual TColor DefaultColor34() const { return BaseDefaultColor(34); }
  virtual TColor DefaultColor35() const { return BaseDefaultColor(35); }
  virtual TColor DefaultColor36() const { return BaseDefaultColor(36); }
  virtual TColor DefaultColor37() const { return BaseDefaultColor(37); }
  virtual TColor DefaultColor38() const { return BaseDefaultColor(38); }
  virtual TColor DefaultColor39() const { return BaseDefaultColor(39); }
  virtual TColor DefaultColor40() const { return BaseDefaultColor(40); }
  virtual TColor DefaultColor41() const { return BaseDefaultColor(41); }
  virtual TColor DefaultColor42() const { return BaseDefaultColor(42); }
  virtual TColor DefaultColor43() const { return BaseDefaultColor(43); }
  virtual TColor DefaultColor44() const { return BaseDefaultColor(44); }
  virtual TColor DefaultColor45() const { return BaseDefaultColor(45); }
  virtual TColor DefaultColor46() const { return BaseDefaultColor(46); }
  virtual TColor DefaultColor47() const { return BaseDefaultColor(47); }
  virtual TColor DefaultColor48() const { return BaseDefaultColor(48); }
  virtual TColor DefaultColor49() const { return BaseDefaultColor(49); }
  virtual TColor DefaultColor50() const { return BaseDefaultColor(50); }
  virtual TColor DefaultColor51() const { return BaseDefaultColor(51); }
  virtual TColor DefaultColor52() const { return BaseDefaultColor(52); }
  virtual TColor DefaultColor53() const { return BaseDefaultColor(53); }
  virtual TColor DefaultColor54() const { return BaseDefaultColor(54); }
  virtual TColor DefaultColor55() const { return BaseDefaultColor(55); }
  virtual TColor DefaultColor25() const { return DefaultColor12(); }

  // Arrows.
  virtual void DrawDropDownArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor) const;
  virtual void PaintArrow(TcxCanvas* ACanvas, const TRect& R, TcxArrowDirection ADirection, TColor AColor) const;
  virtual void PaintArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                TcxArrowDirection ADirection, bool ADrawFrame) const;
  virtual void DrawButtonBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const;
  virtual void DrawScrollArrow(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               TcxArrowDirection ADirection) const;
  // Control border.
  virtual int BorderWidth() const { return 0; }
  virtual void DrawControlBorder(TcxCanvas*, const TRect&) const {}
  virtual void DrawContentFrame(TcxCanvas* ACanvas, const TRect& R) const { DrawControlBorder(ACanvas, R); }
  // Buttons.
  virtual int ButtonFrameWidth(TcxButtonState) const { return 0; }
  virtual TColor ButtonFaceColor(TcxButtonState) const { return clBtnFace; }
  virtual TRect ButtonFocusBounds(TcxCanvas* ACanvas, const TRect& R) const;
  virtual int ButtonTextIndent() const { return 0; }
  virtual int ButtonTextPressedShift() const { return 0; }
  virtual TColor ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor = clDefault) const;
  virtual TcxButtonState ButtonGlyphState(TcxButtonState AState) const { return AState; }
  virtual void DrawCaptionButton(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText, TcxButtonState AState,
                                 bool ADrawFrame, TColor AFaceColor = clDefault,
                                 TColor ATextColor = clDefault) const;
  virtual void DrawPlainButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, int AButtonCount,
                               int AButtonIndex, TColor AFrameColor) const;
  virtual void DrawButtonFrame(TcxCanvas*, const TRect&, TcxButtonState) const {}
  virtual void DrawFlatFrame(TcxCanvas*, const TRect&, bool /*ADark*/, bool /*AHighlighted*/) const {}
  // Expand boxes.
  virtual void DrawExpandBox(TcxCanvas*, const TRect&, bool /*AExpanded*/, TColor /*AColor*/ = clDefault) const {}
  virtual bool DrawsExpandBoxBackground() const { return true; }
  virtual void DrawGroupExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState) const;
  virtual void DrawSmallExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor ABorderColor,
                                  TColor AColor = clDefault) const;
  virtual int ExpandBoxSize() const { return 0; }
  virtual int GroupExpandBoxSize() const { return 15; }
  virtual bool HotTracksButtons() const { return false; }
  virtual int SmallExpandBoxSize() const { return 9; }
  // Check box.
  virtual int CheckFrameWidth() const { return 2; }
  virtual TColor CheckBoxFaceColor(TcxButtonState AState) const;
  virtual TSize CheckBoxSize() const;
  virtual void DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked,
                             TColor AColor) const;
  virtual void DrawCheckFrame(TcxCanvas*, const TRect&, TcxButtonState) const {}
  virtual void DrawCheckBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked) const;
  // Header cells (the captions of groups and columns).
  virtual void DrawCellContent(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                               TcxButtonState AState, TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                               bool AMultiLine, bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                               TColor ATextColor, TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground,
                               bool APlainFill) const;
  // The text part of DrawCellContent, without the background.
  void DrawCellText(TcxCanvas* ACanvas, const TRect& ATextAreaBounds, TAlignment AAlignHorz,
                    TcxAlignmentVert AAlignVert, bool AMultiLine, bool AShowEndEllipsis, const AnsiString& AText,
                    TFont* AFont, TColor ATextColor) const;
  virtual void DrawHeaderCell(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                              unsigned ANeighbours, TcxBorders ASides, TcxButtonState AState,
                              TAlignment AAlignHorz, TcxAlignmentVert AAlignVert, bool AMultiLine,
                              bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont, TColor ATextColor,
                              TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground = {},
                              bool ALastItem = false) const;
  virtual void DrawHeaderFrame(TcxCanvas*, const TRect&, unsigned /*ANeighbours*/, TcxBorders /*ASides*/) const {}
  virtual TcxBorders HeaderSides(unsigned /*ANeighbours*/) const { return cxBordersAll; }
  virtual int HeaderFrameWidth() const { return 0; }
  TRect HeaderContentBounds(const TRect& R, TcxBorders ASides) const;
  virtual void InvertPressedHeader(TcxCanvas* ACanvas, const TRect& R) const { ACanvas->InvertRect(R); }
  // Scroll bar.
  virtual void DrawScrollPart(TcxCanvas*, bool /*AHorizontal*/, const TRect&, TcxScrollBarPart,
                              TcxButtonState) const {}

  // Button rows.
  virtual TRect AdjustGroupButtonRect(const TRect& R, int /*AButtonCount*/, int /*AButtonIndex*/) const { return R; }
  // Left, top, right, bottom frame widths of one button of a row.
  virtual TRect ButtonGroupFrameWidths(int AButtonCount, int AButtonIndex) const;
  virtual bool IsInGroupExpandBox(const TRect& R, TPoint P) const { return R.Contains(P); }
  // Radio button.
  virtual void DrawRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AState, bool AChecked,
                               bool AHighlight, TColor ABrushColor, bool AHighlightIfEnabled = false) const;
  virtual TSize RadioButtonSize() const;
  // Header cells, more.
  virtual void DrawHeaderCellEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                unsigned ANeighbours, TcxBorders ASides, TcxButtonState AState,
                                TAlignment AAlignHorz, TcxAlignmentVert AAlignVert, bool AMultiLine,
                                bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont, TColor ATextColor,
                                TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground = {}) const;
  // AReserved is accepted for the callers' sake and not used here.
  virtual void DrawHeaderSection(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                 unsigned AReserved, TcxBorders ASides, TcxButtonState AState,
                                 TAlignment AAlignHorz, TcxAlignmentVert AAlignVert, bool AMultiLine,
                                 bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont, TColor ATextColor,
                                 TColor ABkColor) const;
  virtual void DrawHeaderSectionFrame(TcxCanvas*, const TRect&, TcxBorders /*ASides*/, TcxButtonState) const {}
  virtual void DrawHeaderSectionContent(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                        TcxButtonState AState, TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                                        bool AMultiLine, bool AShowEndEllipsis, const AnsiString& AText,
                                        TFont* AFont, TColor ATextColor, TColor ABkColor) const;
  virtual void DrawHeaderSectionText(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                     TAlignment AAlignHorz, TcxAlignmentVert AAlignVert, bool AMultiLine,
                                     bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                                     TColor ATextColor) const;
  virtual void DrawSortArrow(TcxCanvas*, const TRect&, bool /*AAscending*/) const {}
  TRect ExpandHeaderBounds(const TRect& R, unsigned ANeighbours, TcxBorders ASides) const;
  virtual bool HeaderOptionA() const { return true; }
  virtual bool HeaderOptionB() const { return false; }
  int HeaderHeightForText(int ATextHeight) const { return ATextHeight + 2 * HeaderFrameWidth() + 4; }
  int HeaderWidthForText(TcxCanvas* ACanvas, TcxBorders ASides, const AnsiString& AText, TFont* AFont) const;
  virtual int HeaderSectionFrameWidth(TcxButtonState) const { return 1; }
  virtual TRect HeaderSectionTextBounds(const TRect& R, TcxButtonState AState) const;
  virtual TRect HeaderSectionContentBounds(const TRect& R, TcxButtonState AState) const;
  TPoint SortArrowAreaSize(int /*AFontHeight*/) const { return {16, SortArrowSize().Y}; }
  virtual TPoint SortArrowSize() const { return {0, 0}; }
  // Footer.
  virtual void DrawFooterCell(TcxCanvas* ACanvas, const TRect& R, TAlignment AAlignHorz,
                              TcxAlignmentVert AAlignVert, bool AMultiLine, const AnsiString& AText, TFont* AFont,
                              TColor ATextColor, TColor ABkColor,
                              const TcxDrawBackgroundEvent& AOnDrawBackground = {}) const;
  TRect FooterCellInnerBounds(const TRect& R) const;
  TRect FooterCellTextArea(const TRect& R) const;
  virtual TcxBorders FooterSides() const { return cxBordersAll; }
  virtual int FooterFrameWidth() const { return 0; }
  virtual int FooterCellFrameWidth() const { return 0; }
  virtual int FooterCellIndent() const { return 0; }
  virtual bool FooterOptionA() const { return true; }
  virtual TColor FooterSeparatorColor() const { return clBtnShadow; }
  virtual int FooterSeparatorWidth() const { return 1; }
  virtual void DrawFooterFrame(TcxCanvas*, const TRect&) const {}
  virtual void DrawFooterCellFrame(TcxCanvas*, const TRect&) const {}
  virtual void DrawFooterSeparator(TcxCanvas* ACanvas, const TRect& R) const {
    ACanvas->FillRect(R, FooterSeparatorColor());
  }
  // Filter box.
  virtual void DrawFilterCheck(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked) const {
    DrawCheckBox(ACanvas, R, AState, AChecked);
  }
  virtual void DrawFilterCloseBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const;
  virtual void DrawFilterToggleBox(TcxCanvas*, const TRect&, TcxButtonState, bool /*AActive*/) const {}
  virtual TPoint FilterToggleBoxSize() const { return {13, 13}; }
  virtual TPoint FilterCloseBoxSize() const { return {16, 14}; }
  virtual TPoint FilterDropDownBoxSize() const { return {15, 0}; }
  virtual bool FilterOptionA() const { return true; }
  virtual void DrawFilterDropDownBox(TcxCanvas*, const TRect& /*R*/, TcxBorders /*ASides*/, TcxButtonState,
                                     bool /*AVertical*/, const AnsiString& /*AText*/, TFont* /*AFont*/,
                                     TColor /*ATextColor*/) const {}
  // Tabs: ATabPosition 0..3.
  virtual void DrawTabFrame(TcxCanvas*, const TRect&, int /*ATabPosition*/, TcxBorders, bool /*AVertical*/) const {}
  virtual void DrawTabsBase(TcxCanvas*, const TRect&, TcxBorders, bool /*AVertical*/) const {}
  virtual int TabThemedInsetA(bool /*AVertical*/) const { return 0; }
  virtual int TabThemedInsetB(bool /*AVertical*/) const { return 0; }
  virtual int TabFrameWidth(bool /*AVertical*/) const { return 0; }
  // Record indicator: AKind 0 draws no image, 1..6 (high bit ignored) one
  // of the indicator images.
  virtual void DrawIndicatorCell(TcxCanvas* ACanvas, const TRect& R, int AKind, TColor ABkColor,
                                 const TcxDrawBackgroundEvent& AOnDrawBackground = {}) const;
  virtual void DrawIndicatorCellEx(TcxCanvas* ACanvas, const TRect& R, int AKind, TColor ABkColor,
                                   const TcxDrawBackgroundEvent& AOnDrawBackground = {}) const;
  virtual bool IndicatorOptionA() const { return true; }
  void DrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R, int AKind) const;
  // Calendar header: AArrows 0 none, 1 left, 2 right, 3 both.
  virtual void DrawCalendarHeader(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText, unsigned ANeighbours,
                                  const TcxViewParams& AViewParams, int AArrows, int AArrowInset,
                                  const TcxDrawBackgroundEvent& AOnDrawBackground = {}) const;
  // The calendar arrows on R in AColor.
  void DrawCalendarArrows(TcxCanvas* ACanvas, const TRect& R, int AArrows, int AArrowInset, TColor AColor) const;
  // Scheduler.
  virtual void DrawSchedulerButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
    DrawCaptionButton(ACanvas, R, "", AState, true, clDefault, clDefault);
  }
  virtual void DrawSchedulerSplitterFrame(TcxCanvas*, const TRect&, const TcxViewParams&, bool /*AHorizontal*/) const {}
  virtual int SchedulerValueA() const { return 1; }

protected:
  TcxCustomLookAndFeelPainter() = default;
  static TColor BaseDefaultColor(int N);
};

class TcxStandardLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
public:
  static TcxLookAndFeelPainterClass Instance();
  TColor DefaultColor33() const override { return clWindow; }
  int GetStyleCode() const override { return 1; }
  int BorderWidth() const override { return 2; }
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  int ButtonFrameWidth(TcxButtonState AState) const override { return AState == cxbsDefault ? 3 : 2; }
  int ButtonTextIndent() const override { return 1; }
  int ButtonTextPressedShift() const override { return 1; }
  void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor = clDefault) const override;
  int ExpandBoxSize() const override { return 12; }
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, unsigned ANeighbours, TcxBorders ASides) const override;
  int HeaderFrameWidth() const override { return 1; }
  void DrawScrollPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                      TcxButtonState AState) const override;
  void DrawGroupExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState) const override;
  int HeaderSectionFrameWidth(TcxButtonState AState) const override { return AState == cxbsPressed ? 1 : 2; }
  void DrawCalendarHeader(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText, unsigned ANeighbours,
                          const TcxViewParams& AViewParams, int AArrows, int AArrowInset,
                          const TcxDrawBackgroundEvent& AOnDrawBackground = {}) const override;
  TPoint SortArrowSize() const override { return {8, 7}; }
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  void DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides,
                              TcxButtonState AState) const override;
  int FooterFrameWidth() const override { return 1; }
  int FooterCellFrameWidth() const override { return 1; }
  int FooterCellIndent() const override { return 1; }
  void DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFilterToggleBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AActive) const override;
  int TabFrameWidth(bool) const override { return 1; }
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, int ATabPosition, TcxBorders ASides,
                    bool AVertical) const override;
  void DrawTabsBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides, bool AVertical) const override;
  void DrawSchedulerSplitterFrame(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                  bool AHorizontal) const override;

protected:
  void DrawScrollButtonBorder(TcxCanvas* ACanvas, const TRect& R, TcxScrollBarPart APart,
                              TcxButtonState AState) const;
};

class TcxFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
public:
  static TcxLookAndFeelPainterClass Instance();
  int GetStyleCode() const override { return 0; }
  int BorderWidth() const override { return 1; }
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  int ButtonFrameWidth(TcxButtonState AState) const override { return AState == cxbsDefault ? 2 : 1; }
  int ButtonTextIndent() const override { return 1; }
  int ButtonTextPressedShift() const override { return 1; }
  void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor = clDefault) const override;
  int ExpandBoxSize() const override { return 11; }
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, unsigned ANeighbours, TcxBorders ASides) const override;
  int HeaderFrameWidth() const override { return 1; }
  void DrawScrollPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                      TcxButtonState AState) const override;
  TPoint SortArrowSize() const override { return {8, 7}; }
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  void DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides,
                              TcxButtonState AState) const override;
  int FooterFrameWidth() const override { return 1; }
  int FooterCellFrameWidth() const override { return 1; }
  int FooterCellIndent() const override { return 1; }
  void DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFilterToggleBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AActive) const override;
  int TabFrameWidth(bool) const override { return 1; }
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, int ATabPosition, TcxBorders ASides,
                    bool AVertical) const override;
  void DrawTabsBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides, bool AVertical) const override;
  void DrawSchedulerSplitterFrame(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                  bool AHorizontal) const override;
};

class TcxUltraFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
public:
  static TcxLookAndFeelPainterClass Instance();
  TColor DefaultColor31() const override { return clBtnShadow; }
  int GetStyleCode() const override { return 2; }
  int BorderWidth() const override { return 1; }
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  int ButtonFrameWidth(TcxButtonState AState) const override { return AState == cxbsDefault ? 2 : 1; }
  TColor ButtonFaceColor(TcxButtonState AState) const override;
  TRect ButtonFocusBounds(TcxCanvas* ACanvas, const TRect& R) const override;
  int ButtonTextIndent() const override { return 2; }
  TColor ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor = clDefault) const override;
  TcxButtonState ButtonGlyphState(TcxButtonState) const override { return cxbsNormal; }
  void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawPlainButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, int AButtonCount,
                       int AButtonIndex, TColor AFrameColor) const override;
  void DrawFlatFrame(TcxCanvas* ACanvas, const TRect& R, bool ADark, bool AHighlighted) const override;
  void DrawExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor = clDefault) const override;
  int ExpandBoxSize() const override { return 11; }
  bool HotTracksButtons() const override { return true; }
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, unsigned ANeighbours, TcxBorders ASides) const override;
  TcxBorders HeaderSides(unsigned ANeighbours) const override;
  int HeaderFrameWidth() const override { return 1; }
  void DrawScrollPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                      TcxButtonState AState) const override;
  TRect ButtonGroupFrameWidths(int AButtonCount, int AButtonIndex) const override;
  TPoint SortArrowSize() const override { return {7, 8}; }
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  void DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides,
                              TcxButtonState AState) const override;
  void DrawHeaderCellEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, unsigned ANeighbours,
                        TcxBorders ASides, TcxButtonState AState, TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                        bool AMultiLine, bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                        TColor ATextColor, TColor ABkColor,
                        const TcxDrawBackgroundEvent& AOnDrawBackground = {}) const override;
  void DrawHeaderSectionContent(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                TcxButtonState AState, TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                                bool AMultiLine, bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                                TColor ATextColor, TColor ABkColor) const override;
  int FooterFrameWidth() const override { return 1; }
  int FooterCellFrameWidth() const override { return 1; }
  int FooterCellIndent() const override { return 2; }
  TcxBorders FooterSides() const override { return cxBorderBit(bRight) | cxBorderBit(bBottom); }
  void DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  TPoint FilterCloseBoxSize() const override { return {16, 15}; }
  void DrawFilterToggleBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AActive) const override;
  int TabFrameWidth(bool) const override { return 1; }
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, int ATabPosition, TcxBorders ASides,
                    bool AVertical) const override;
  void DrawTabsBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides, bool AVertical) const override;
  void DrawSchedulerButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawSchedulerSplitterFrame(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                  bool AHorizontal) const override;
  // The colours the Office 2003 painter replaces.
  virtual TColor HotFrameColor(TcxButtonState AState) const { return AState == cxbsNormal ? clBtnShadow : clHighlight; }
  virtual TColor PlainFrameColor() const { return clBtnShadow; }
  virtual TColor FlatGlyphColor() const { return clBtnText; }
  virtual TColor HighlightFrameColor() const { return clHighlight; }
};

class TcxOffice11LookAndFeelPainter : public TcxUltraFlatLookAndFeelPainter {
public:
  static TcxLookAndFeelPainterClass Instance();
  TColor DefaultColor07() const override;
  TColor DefaultColor08() const override;
  TColor DefaultColor10() const override;
  TColor DefaultColor11() const override { return DefaultColor18(); }
  TColor DefaultColor13() const override;
  TColor DefaultColor15() const override;
  TColor DefaultColor16() const override;
  TColor DefaultColor17() const override { return SchemeMidColor(); }
  TColor DefaultColor19() const override { return DefaultColor15(); }
  TColor DefaultColor26() const override { return DefaultColor10(); }
  TColor DefaultColor27() const override;
  TColor DefaultColor28() const override { return clWindowText; }
  TColor DefaultColor31() const override;
  TColor DefaultColor32() const override;
  TColor DefaultColor38() const override;
  TColor DefaultColor40() const override { return DefaultColor38(); }
  TColor DefaultColor43() const override { return DefaultColor10(); }
  TColor DefaultColor45() const override { return DefaultColor32(); }
  int GetStyleCode() const override { return 4; }
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  TColor ButtonFaceColor(TcxButtonState AState) const override;
  TColor ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor = clDefault) const override;
  void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  TColor CheckBoxFaceColor(TcxButtonState AState) const override;
  void DrawExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor = clDefault) const override;
  void DrawSmallExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor ABorderColor,
                          TColor AColor = clDefault) const override;
  bool DrawsExpandBoxBackground() const override { return false; }
  int SmallExpandBoxSize() const override { return ExpandBoxSize(); }
  void DrawCellContent(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                       TcxButtonState AState, TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                       bool AMultiLine, bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                       TColor ATextColor, TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground,
                       bool APlainFill) const override;
  void DrawHeaderCell(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, unsigned ANeighbours,
                      TcxBorders ASides, TcxButtonState AState, TAlignment AAlignHorz,
                      TcxAlignmentVert AAlignVert, bool AMultiLine, bool AShowEndEllipsis, const AnsiString& AText,
                      TFont* AFont, TColor ATextColor, TColor ABkColor,
                      const TcxDrawBackgroundEvent& AOnDrawBackground = {}, bool ALastItem = false) const override;
  void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, unsigned ANeighbours, TcxBorders ASides) const override;
  TcxBorders HeaderSides(unsigned) const override { return cxBordersAll; }
  void DrawScrollPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                      TcxButtonState AState) const override;
  void DrawContentFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  bool HeaderOptionB() const override { return true; }
  TColor FooterSeparatorColor() const override { return SchemeFrameColor(); }
  void DrawHeaderSection(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, unsigned AReserved,
                         TcxBorders ASides, TcxButtonState AState, TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                         bool AMultiLine, bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                         TColor ATextColor, TColor ABkColor) const override;
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  void DrawCalendarHeader(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText, unsigned ANeighbours,
                          const TcxViewParams& AViewParams, int AArrows, int AArrowInset,
                          const TcxDrawBackgroundEvent& AOnDrawBackground = {}) const override;
  void DrawSchedulerButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  TColor HotFrameColor(TcxButtonState AState) const override;
  TColor PlainFrameColor() const override { return SchemeFrameColor(); }
  TColor HighlightFrameColor() const override;
  virtual TColor SchemeGradientEndColor() const;
  virtual TColor SchemeFrameColor() const;
  virtual TColor SchemeHeaderSideColor() const;
  virtual TColor SchemeMidColor() const;
};

// Draws through the visual style; falls back on the standard painter
// wherever the theme class does not open.
class TcxWinXPLookAndFeelPainter : public TcxStandardLookAndFeelPainter {
public:
  static TcxLookAndFeelPainterClass Instance();
  // The combo box's border colour; the inherited colour when the style
  // does not give one.
  TColor DefaultColor31() const override;
  TColor DefaultColor33() const override { return TColor(0xD5FFFF); }
  int GetStyleCode() const override { return 3; }
  int BorderWidth() const override;
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawButtonBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawCaptionButton(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText, TcxButtonState AState,
                         bool ADrawFrame, TColor AFaceColor = clDefault,
                         TColor ATextColor = clDefault) const override;
  void PaintArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TcxArrowDirection ADirection,
                        bool ADrawFrame) const override;
  int ButtonTextIndent() const override { return 2; }
  int ButtonTextPressedShift() const override { return 0; }
  bool HotTracksButtons() const override { return true; }
  int CheckFrameWidth() const override;
  TSize CheckBoxSize() const override;
  void DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked,
                     TColor AColor) const override;
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  int ExpandBoxSize() const override;
  void DrawExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor = clDefault) const override;
  void DrawSmallExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor ABorderColor,
                          TColor AColor = clDefault) const override;
  bool DrawsExpandBoxBackground() const override { return false; }
  void DrawHeaderCell(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, unsigned ANeighbours,
                      TcxBorders ASides, TcxButtonState AState, TAlignment AAlignHorz,
                      TcxAlignmentVert AAlignVert, bool AMultiLine, bool AShowEndEllipsis, const AnsiString& AText,
                      TFont* AFont, TColor ATextColor, TColor ABkColor,
                      const TcxDrawBackgroundEvent& AOnDrawBackground = {}, bool ALastItem = false) const override;
  void DrawScrollPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                      TcxButtonState AState) const override;
  void InvertPressedHeader(TcxCanvas*, const TRect&) const override {}
  int ButtonFrameWidth(TcxButtonState AState) const override;
  TColor ButtonFaceColor(TcxButtonState AState) const override;
  TColor ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor = clDefault) const override;
  TRect ButtonFocusBounds(TcxCanvas* ACanvas, const TRect& R) const override;
  TRect ButtonGroupFrameWidths(int AButtonCount, int AButtonIndex) const override;
  TRect AdjustGroupButtonRect(const TRect& R, int AButtonCount, int AButtonIndex) const override;
  TSize RadioButtonSize() const override;
  void DrawRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AState, bool AChecked, bool AHighlight,
                       TColor ABrushColor, bool AHighlightIfEnabled = false) const override;
  int GroupExpandBoxSize() const override;
  int SmallExpandBoxSize() const override;
  void DrawGroupExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState) const override;
  bool IsInGroupExpandBox(const TRect& R, TPoint P) const override;
  int HeaderFrameWidth() const override;
  int HeaderSectionFrameWidth(TcxButtonState) const override { return HeaderFrameWidth(); }
  TRect HeaderSectionContentBounds(const TRect& R, TcxButtonState AState) const override;
  bool HeaderOptionA() const override { return false; }
  bool HeaderOptionB() const override { return true; }
  TPoint SortArrowSize() const override { return TcxUltraFlatLookAndFeelPainter::Instance()->SortArrowSize(); }
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override {
    TcxUltraFlatLookAndFeelPainter::Instance()->DrawSortArrow(ACanvas, R, AAscending);
  }
  void DrawHeaderSection(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, unsigned AReserved,
                         TcxBorders ASides, TcxButtonState AState, TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                         bool AMultiLine, bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                         TColor ATextColor, TColor ABkColor) const override;
  int FooterFrameWidth() const override;
  int FooterCellFrameWidth() const override;
  int FooterCellIndent() const override;
  bool FooterOptionA() const override { return false; }
  void DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFooterCell(TcxCanvas* ACanvas, const TRect& R, TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                      bool AMultiLine, const AnsiString& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                      const TcxDrawBackgroundEvent& AOnDrawBackground = {}) const override;
  TPoint FilterToggleBoxSize() const override;
  TPoint FilterCloseBoxSize() const override;
  void DrawFilterCloseBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawFilterToggleBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AActive) const override;
  void DrawFilterDropDownBox(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides, TcxButtonState AState,
                             bool AVertical, const AnsiString& AText, TFont* AFont, TColor ATextColor) const override;
  int TabThemedInsetA(bool AVertical) const override;
  int TabThemedInsetB(bool AVertical) const override;
  int TabFrameWidth(bool AVertical) const override;
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, int ATabPosition, TcxBorders ASides,
                    bool AVertical) const override;
  void DrawTabsBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides, bool AVertical) const override;
  void DrawIndicatorCell(TcxCanvas* ACanvas, const TRect& R, int AKind, TColor ABkColor,
                         const TcxDrawBackgroundEvent& AOnDrawBackground = {}) const override {
    TcxFlatLookAndFeelPainter::Instance()->DrawIndicatorCell(ACanvas, R, AKind, ABkColor, AOnDrawBackground);
  }
  void DrawCalendarHeader(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText, unsigned ANeighbours,
                          const TcxViewParams& AViewParams, int AArrows, int AArrowInset,
                          const TcxDrawBackgroundEvent& AOnDrawBackground = {}) const override;
  void DrawSchedulerButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawSchedulerSplitterFrame(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                  bool AHorizontal) const override;
  // Text through the visual style in the theme class's part and state.
  virtual void DrawThemedText(TcxCanvas* ACanvas, HTHEME ATheme, int APart, int AState, const TRect& ABounds,
                              const TRect& ATextRect, TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                              bool AMultiLine, bool AShowEndEllipsis, bool AShowPrefix, const AnsiString& AText,
                              TFont* AFont, TColor ATextColor, TColor ABkColor) const;
};

TcxLookAndFeelKind StyleCodeToLookAndFeelKind(int ACode);
// The outline of a sort arrow of ASize centred in R, pointing up when
// AAscending: the lit sides in ALight, the shaded ones in AShadow.
void DrawSortArrowOutline(TcxCanvas* ACanvas, const TRect& R, TPoint ASize, bool AAscending, TColor ALight,
                          TColor AShadow);
// Fills R with the view parameters' bitmap (tiled), else their colour.
void FillRectFromViewParams(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams);
// The painter of a look-and-feel kind.
TcxLookAndFeelPainterClass PainterOfKind(TcxLookAndFeelKind AKind);
// The arrow geometry; a direction above 3 leaves P untouched.
void CalcArrowTriangle(const TRect& R, TPoint (&P)[3], int ADirection, bool AMakeSquare);
void PaintPlusMinus(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor);

// The shared 8 x 8 checker bitmaps of scroll-bar page areas (light:
// clBtnFace/clBtnHighlight; dark: black/cl3DDkShadow).
TBitmap* ScrollBarCheckerBitmap(bool ADark);
void RefreshCheckerBitmaps();
// The size of one cell of the system check-box bitmap.
TSize LoadCheckBoxCellSize();

// The radio-button images of every look, state and mark, computed pixel by
// pixel from the shape of the system's radio button and coloured from the
// system colours (rebuilt when they change).
class TcxRadioButtonImageList {
public:
  TcxRadioButtonImageList();
  ~TcxRadioButtonImageList();
  TcxRadioButtonImageList(const TcxRadioButtonImageList&) = delete;
  TcxRadioButtonImageList& operator=(const TcxRadioButtonImageList&) = delete;
  // ABrushColor clDefault leaves the corners as they were; another colour
  // fills them. cxbsDefault draws as cxbsNormal.
  void DrawRadioImage(TcxCanvas* ACanvas, int X, int Y, TColor ABrushColor, TcxLookAndFeelKind AKind,
                      TcxButtonState AState, bool AChecked, bool AHighlight, bool AHighlightIfEnabled);
  TSize RadioImageSize() const;
  void RebuildImages();
  TImageList* ImageList() const { return FImages.get(); }
  // The image of a combination; -1 before the list is prepared.
  int ImageIndex(TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked, bool AHighlight,
                 bool AHighlightIfEnabled) const;
  // The shape: 0 outside, 1/2 outer ring top-left/bottom-right, 3/4 inner
  // ring, 5 body, 6 dot; row by row.
  const std::vector<int>& Pattern() const { return FPattern; }

private:
  void Prepare();
  std::unique_ptr<TImageList> FImages;
  std::unique_ptr<TBitmap> FMask;
  std::vector<int> FPattern;
  std::vector<int> FIndexes;
  int FWidth = 0, FHeight = 0;
};
// The shared list, made on first use.
TcxRadioButtonImageList* GetRadioButtonImages();

// The record-indicator images ("CX_ARROWBITMAP" ... "CX_FILTERBITMAP");
// indicator kind k (1..6) shows image k - 1.
TImageList* IndicatorImages();
