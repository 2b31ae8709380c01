// HtmlView.h — THtmlView, a control that lays out and paints an HTML page
// with its CSS through this platform's GDI: it scrolls, selects and copies
// its text, and reports a click on a link to its owner instead of following
// it. Nothing on a page runs (scripts, plug-ins, refreshes) and nothing is
// fetched: images come from local files only.
//
// A large page is laid out in pieces (HtmlSource.h): the pieces on screen
// are laid out when painted, the others in the background one per timer
// tick, so the first screen of a page of many megabytes shows at once;
// until every piece is measured the scroll range is an estimate. Layouts of
// pieces far from the screen are dropped and redone when scrolled back to.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/Controls.h"

class THtmlContainer;
namespace litehtml {
class context;
class document;
}  // namespace litehtml

class THtmlView : public TCustomControl {
  SX_CLASS(THtmlView, TCustomControl)
public:
  explicit THtmlView(TComponent* AOwner);
  ~THtmlView() override;

  // Shows a page from its bytes (any character set a page may declare);
  // relative names in it resolve against BaseFolder.
  void LoadHtml(std::string_view Bytes, const AnsiString& BaseFolder);
  // False (and an empty view) when the file cannot be read.
  bool LoadFromFile(const AnsiString& FileName);
  void Clear();

  AnsiString GetTitle() const { return FTitle; }  // UTF-8
  Integer GetScrollTop() const { return FScrollTop; }
  void SetScrollTop(Integer Value);
  // The page's height in pixels; an estimate while pieces remain unmeasured.
  Integer GetDocumentHeight() const;
  bool GetFullyMeasured() const;
  Integer PieceCount() const { return Integer(FPieces.size()); }

  bool GetImagesEnabled() const { return FImagesEnabled; }
  void SetImagesEnabled(bool Value);
  // The sunken edge around the view.
  bool GetBorder() const { return FBorder; }
  void SetBorder(bool Value);
  bool GetFlatScrollBars() const { return FFlatScrollBars; }
  void SetFlatScrollBars(bool Value);

  // Selection: whole words between two points of the page, or everything.
  void SelectAll();
  void ClearSelection();
  bool HasSelection() const { return FSelAll || FSelStart != FSelEnd; }
  // The selected text in UTF-8, lines ended by CR LF.
  std::string GetSelTextUtf8();
  void CopyToClipboard();

  // A click on a link: the address as the page wrote it.
  std::function<void(const std::string& Href)> OnLinkClick;
  // A right click (screen point); true when the owner handled it, else the
  // view shows its own menu.
  std::function<bool(TPoint ScreenPos)> OnContextMenu;
  std::function<void()> OnTitleChange;
  // Lays out every piece now (tests, printing, copying everything).
  void MeasureAll();
  // Where the Occurrence-th word equal to Word (UTF-8) shows, in client
  // coordinates, among the pieces laid out now; empty when it is not there.
  TRect WordBounds(const std::string& Word, Integer Occurrence = 0);

  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Resize() override;

private:
  struct TPiece;
  // A point of the page's text: piece, word (in the order laid out) and
  // byte within it.
  struct TTextPos {
    Integer Piece = -1, Run = 0, Offset = 0;
    auto operator<=>(const TTextPos&) const = default;
  };
  int PieceTop(Integer Index) const;
  int PieceHeight(Integer Index) const;
  void LayOut(Integer Index);
  // Lays out the pieces that show at the current scroll position.
  void LayOutVisible();
  void DropFarLayouts();
  void UpdateScrollBar();
  void ApplyScrollBarMode();
  void ScrollBy(Integer Dy) { SetScrollTop(FScrollTop + Dy); }
  Integer PieceAt(Integer PageY) const;
  TTextPos HitText(Integer X, Integer Y);
  void CollectRuns(TPiece& P);
  void ShowOwnMenu(TPoint ScreenPos);
  int ClientWidthForLayout() const;

  std::unique_ptr<THtmlContainer> FContainer;
  std::unique_ptr<litehtml::context> FContext;
  std::vector<std::unique_ptr<TPiece>> FPieces;
  AnsiString FTitle;
  TColor FCanvasColor = clWhite;
  // Sums over the measured pieces, for the others' estimates.
  double FMeasuredPx = 0, FMeasuredBytes = 0;
  Integer FScrollTop = 0;
  bool FImagesEnabled = true;
  bool FBorder = true;
  bool FFlatScrollBars = false;
  bool FTimerOn = false;
  // Selection.
  bool FSelecting = false;
  bool FSelAll = false;
  TTextPos FSelStart, FSelEnd;
  Integer FDownPiece = -1;
};
