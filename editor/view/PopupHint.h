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
#include "platform/forms/HintWindow.h"
#include "platform/rtl/Strings.h"

// The text without its first two "~"; Pos the 1-based place of the first
// (0 when none), Len the characters between the marks (to the end when the
// second is missing).
AnsiString ExtractMarkedRange(const AnsiString& Text, Integer& Pos, Integer& Len);

class TDCHintWindow : public THintWindow {
  SX_CLASS(TDCHintWindow, THintWindow)
public:
  explicit TDCHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
  // The size the marked text needs (normal and bold parts side by side).
  TSize MarkedTextSize(const AnsiString& Text);

protected:
  void Paint() override;
};

class TPopupHint : public TComponent {
  SX_CLASS(TPopupHint, TComponent)
public:
  explicit TPopupHint(TComponent* AOwner);
  ~TPopupHint() override;
  // Shows Text with its top-left corner at the screen point; an empty text hides.
  void ShowAt(TPoint Point, const AnsiString& Text);
  void HideHint();
  bool GetVisible() const;
  const AnsiString& GetCaption() const { return FCaption; }
  bool GetAutoHide() const { return FAutoHide; }
  void SetAutoHide(bool Value) { FAutoHide = Value; }
  TSize TextSize(const AnsiString& Text);
  TDCHintWindow* Window() const { return FWindow.get(); }

private:
  std::unique_ptr<TDCHintWindow> FWindow;
  AnsiString FCaption;
  bool FAutoHide = true;
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
