// PopupHint.h — the editor's popups: TPopupHint, a hint with an optional
// bold part marked by "~" (the scroll hint and the typing hint), and
// TDCPopupList, the completion list that drops below the caret. Both are
// top-level popup windows that never take the focus: the editor keeps it
// and hands the list the keys it should see.
//
// Owned by the editor; they own their windows.
#pragma once
#include <functional>
#include <memory>
#include <vector>
#include "platform/forms/HintWindow.h"
#include "platform/rtl/Strings.h"

// The text without its first two "~"; Pos the 1-based place of the first
// (0 when none), Len the characters between the marks (to the end when the
// second is missing).
AnsiString ExtractMarkedRange(const AnsiString& Text, Integer& Pos, Integer& Len);

class TCanvas;
class TDCHintWindow;

// The marked text's size: the part before the first "~" and the part after
// the second in Font, the part between them in BoldFont, side by side.
TSize MeasureMarkedText(TCanvas* Canvas, TFont* Font, TFont* BoldFont, const AnsiString& Text);
// The size a hint text needs. A text of several lines (CR LF) is as wide
// as its widest marked line + 8; the window keeps the lines with their
// heights to paint them. A one-line text empties the window's line list.
TSize CalcHintTextSize(TDCHintWindow* HintWindow, const AnsiString& Text);
// Draws Text on one line in Rect with its Len characters from the 1-based
// Pos in BoldFont and an end ellipsis where the room ends. Left-aligned
// parts go left to right, each moving Rect's left edge; right-aligned ones
// go from the last part to the first, each moving Rect's right edge.
void DrawTextWithBoldRange(TCanvas* Canvas, TFont* Font, TFont* BoldFont, bool RightAligned, Integer Len,
                           Integer Pos, const AnsiString& Text, TRect Rect);

class TDCHintWindow : public THintWindow {
  SX_CLASS(TDCHintWindow, THintWindow)
public:
  explicit TDCHintWindow(TComponent* AOwner);
  ~TDCHintWindow() override;
  // The size the marked text needs (normal and bold parts side by side).
  TSize MarkedTextSize(const AnsiString& Text);
  // The font of the marked part; the normal font made bold until set.
  TFont* BoldFont() const { return FBoldFont.get(); }
  // The lines of a multi-line text with their heights; empty for one line.
  TStrings* Lines() const { return FLines.get(); }
  std::vector<Integer>& LineHeights() { return FLineHeights; }

protected:
  void CreateWnd() override;
  void Paint() override;
  // The frame is a raised edge instead of the plain line of a hint window.
  void Dispatch(TMessage& Message) override;

private:
  std::unique_ptr<TFont> FBoldFont;
  std::unique_ptr<TStringList> FLines;
  std::vector<Integer> FLineHeights;
};

class TTimer;

// A hint shown at a point or at the mouse and hidden by its timer: after
// ShowAt it appears once the application's hint pause has passed (at once
// with Immediate) and, with AutoHide, goes when the mouse leaves its area
// or the hint hide pause has passed.
class TDCHint : public TComponent {
  SX_CLASS(TDCHint, TComponent)
public:
  explicit TDCHint(TComponent* AOwner);
  ~TDCHint() override;
  // Shows Text with its top-left corner at the screen point; an empty text hides.
  void ShowAt(TPoint Point, const AnsiString& Text);
  // At the mouse; the window then stands 20 pixels below it.
  void ShowAtCursor(const AnsiString& Text);
  // Hides the window and stops the timer.
  void HideHint();
  bool GetVisible() const;
  void SetVisible(bool Value);
  const AnsiString& GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool GetAutoHide() const { return FAutoHide; }
  void SetAutoHide(bool Value) { FAutoHide = Value; }
  bool GetImmediate() const { return FImmediate; }
  void SetImmediate(bool Value) { FImmediate = Value; }
  Integer GetInterval() const;
  void SetInterval(Integer Value);
  TSize TextSize(const AnsiString& Text);
  TDCHintWindow* Window() const { return FWindow.get(); }
  // The font of the marked part; changes go on to the window.
  TFont* GetBoldFont() const { return FBoldFont.get(); }
  void SetBoldFont(TFont* Value) { FBoldFont->Assign(Value); }

  TNotifyEvent OnVisibleChanged;

  virtual void TimerTick();
  virtual void DoVisibleChanged();
  // Whether the mouse counts as over the hint: Rect widened upwards by its
  // own height.
  virtual bool MouseInHintArea(const TRect& Rect, TPoint Point);

private:
  enum class TState { Idle, ShowPending, Shown, HideRequested };
  void Tick(TObject*) { TimerTick(); }
  void ActivateHintWindow();
  void HideWindow();
  void BoldFontChanged(TObject*);
  std::unique_ptr<TDCHintWindow> FWindow;
  std::unique_ptr<TFont> FBoldFont;
  std::unique_ptr<TTimer> FTimer;
  AnsiString FCaption;
  TRect FHintRect{};
  TState FState = TState::Idle;
  Integer FTicks = 0;
  Integer FOffset = 0;
  bool FAutoHide = true;
  bool FImmediate = true;
};

// The editor's hint: the mouse never moves it away (the typing hint
// stays while the user types over the text below it).
class TPopupHint : public TDCHint {
  SX_CLASS(TPopupHint, TDCHint)
public:
  explicit TPopupHint(TComponent* AOwner) : TDCHint(AOwner) {}
  bool MouseInHintArea(const TRect&, TPoint) override { return true; }
};

// The completion list: entries in two columns (left and right of a "|"),
// one current entry, chosen with Enter or a click, cancelled with Escape.
class TDCPopupList : public TCustomControl {
  SX_CLASS(TDCPopupList, TCustomControl)
public:
  using TChoose = std::function<void(Integer Index)>;
  explicit TDCPopupList(TComponent* AOwner);
  ~TDCPopupList() override;
  // Shows the list with its top-left corner at the screen point.
  void Popup(TPoint ScreenPoint, TStrings* Items, TFont* Font, TChoose OnChoose);
  // Closes; Choose hands the current entry to the chooser (-1 when none).
  void CloseUp(bool Choose);
  bool IsOpen() const { return FOpen; }
  TStrings* Items() const { return FItems.get(); }
  Integer GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value);
  // The first entry that begins with Prefix, ignoring case; -1 when none.
  Integer FindPrefix(const AnsiString& Prefix) const;
  // Keys the list handles itself (Enter, Escape, the up, down and page keys).
  bool HandleKey(Word Key);

  TEvent<void(TObject* Sender, Word& Key, TShiftState Shift)> OnListKeyDown;
  TEvent<void(TObject* Sender, char& Key)> OnListKeyPress;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
  Integer RowHeight();
  std::unique_ptr<TStringList> FItems;
  TChoose FChoose;
  Integer FItemIndex = -1;
  Integer FTopIndex = 0;
  bool FOpen = false;
};
