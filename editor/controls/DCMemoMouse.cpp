// The editor's mouse: selecting (stream, and a column block with Alt),
// double and triple clicks, dragging the selection, links, gutter clicks,
// and the default popup menu lent to PopupMenu while a context menu opens.
#include <algorithm>
#include <climits>

#include "editor/controls/DCMemo.h"
#include "editor/text/MemoSource.h"
#include "editor/view/GutterImages.h"
#include "editor/view/PopupHint.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/Guards.h"
#include "platform/win/Resources.h"
#include "platform/win/Win.h"

namespace {
constexpr UINT_PTR TrackTimer = 1;
constexpr Integer cnMouseSelect = 43;
constexpr Integer cnCancelSelect = 44;
constexpr Byte UrlStyle = 12;
}  // namespace

bool TCustomDCMemo::IsLinkAt(Integer Column, Integer Line) {
  TCustomMemoSource* S = GetSource();
  if (!S->GetHighlightUrls() || Line < 0 || Line >= S->GetLineCount()) return false;
  AnsiString Attrs;
  S->GetExpandedColorData(Line, Attrs);
  return Column >= 0 && Column < Integer(Attrs.size()) && Byte(Attrs[size_t(Column)]) == UrlStyle;
}

AnsiString TCustomDCMemo::LinkTextAt(Integer Column, Integer Line) {
  TCustomMemoSource* S = GetSource();
  AnsiString Attrs;
  S->GetExpandedColorData(Line, Attrs);
  const AnsiString Text = S->GetExpandedLine(Line);
  Integer A = Column, B = Column;
  while (A > 0 && Byte(Attrs[size_t(A - 1)]) == UrlStyle) --A;
  while (B < Integer(Attrs.size()) && Byte(Attrs[size_t(B)]) == UrlStyle) ++B;
  return Text.substr(size_t(A), size_t(B - A));
}

Integer TCustomDCMemo::GutterImageAt(Integer X, Integer Line) {
  for (const TGutterCell& Cell : GutterRowImages(Line, 0, INT_MAX, 0))
    if (X >= Cell.Rect.Left && X < Cell.Rect.Right) return Cell.Index;
  return -1;
}

void TCustomDCMemo::StopTracking() {
  if (HandleAllocated()) KillTimer(Handle(), TrackTimer);
  if (Screen) Screen->SetCursor(crDefault);
  FMouseTrack = TMouseTrack::Idle;
}

void TCustomDCMemo::CancelTracking() {
  if (FMouseTrack != TMouseTrack::Selecting && FMouseTrack != TMouseTrack::Dragging) return;
  TCustomMemoSource* S = GetSource();
  S->BeginUpdate(cnCancelSelect);
  TUpdateGuard Update(*S, UpdateBegun);
  StopTracking();
  S->ClearSelection();
}

void TCustomDCMemo::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomMemoSource* S = GetSource();
  const Integer OldTop = FTopLine, OldColumn = FFirstColumn;
  FMousePos = {X, Y};
  FMouseShift = Shift;
  if (!ComponentState().Contains(csDesigning) && CanFocus()) {
    if (Button == mbLeft && !Focused()) S->ClearSelection();
    SetFocus();
    TCustomForm* Form = GetParentForm(this);
    if (Form && Form->GetActiveControl() != this) {
      ReleaseCapture();
      return;
    }
  }
  StopHintTimer();
  HidePopupHint();
  // Taking the focus must not scroll.
  if (FTopLine != OldTop) SetTopLine(OldTop);
  if (FFirstColumn != OldColumn) SetFirstColumn(OldColumn);
  const TPoint OldCaret = S->GetCaretPoint();
  const bool OnText = X >= TextLeftEdge();
  const TPoint Pos = PointToText(X, Y, true);
  Integer ButtonLine = -1;
  FCollapseDown = Button == mbLeft && HitCollapseButton(X, Y, ButtonLine);
  if (FCollapseDown) {
    // A press on a fold button only arms it; the release acts.
    FLinkDown = false;
    FGutterDown = false;
    inherited::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (Button == mbLeft || !FOptions.Contains(moDisableRightClickMove)) {
    const bool Persistent = S->HasOption(soPersistentBlocks);
    TStringsOptions O = S->GetOptions();
    O.Include(soPersistentBlocks);
    S->SetOptions(O);
    try {
      S->SetCaret(Pos.X, Pos.Y);
    } catch (...) {
      if (!Persistent) O.Exclude(soPersistentBlocks), S->SetOptions(O);
      throw;
    }
    if (!Persistent) {
      O.Exclude(soPersistentBlocks);
      S->SetOptions(O);
    }
  }
  if (Button == mbLeft) {
    const DWORD Now = DWORD(GetMessageTime());
    if (Shift.Contains(ssDouble)) {
      FDblClickTime = Now;
      FDblClickPoint = {X, Y};
      if (OnText) {
        FMouseTrack = TMouseTrack::WordSelected;
        if (FOptions.Contains(moDblClickLine))
          S->SelectLine();
        else
          S->SelectWord(FWordSelectionType);
      }
    } else if (!FOptions.Contains(moDblClickLine) && FOptions.Contains(moTripleClick) && FDblClickTime != 0 &&
               Now - FDblClickTime <= GetDoubleClickTime() && OnText &&
               std::abs(X - FDblClickPoint.X) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
               std::abs(Y - FDblClickPoint.Y) <= GetSystemMetrics(SM_CYDOUBLECLK)) {
      S->SelectLine();
      FMouseTrack = TMouseTrack::WordSelected;
      FDblClickTime = 0;
    } else if (FMouseTrack == TMouseTrack::Idle) {
      const bool RealPos = (!S->HasOption(soLimitEOL) || Pos.X <= Integer(S->GetExpandedLine(Pos.Y).size())) &&
                           (Pos.Y < S->GetLineCount() || S->HasOption(soBeyondFileEnd));
      bool Inside = S->HasSelection() && S->IsInSelection(Pos.X, Pos.Y);
      if (Inside && FOptions.Contains(moSelectOnlyText) && S->GetSelectionType() == stStreamSel)
        Inside = Pos.X < Integer(S->GetExpandedLine(Pos.Y).size());
      if (RealPos && Inside && !FOptions.Contains(moDisableDrag) && !S->GetReadOnly()) {
        FMouseTrack = TMouseTrack::Dragging;
      } else {
        FMouseTrack = TMouseTrack::Selecting;
        if (Shift.Contains(ssShift)) {
          S->BeginUpdate(cnMouseSelect);
          TUpdateGuard Update(*S, UpdateBegun);
          const TSelectionType OldType = S->GetSelectionType();
          const TRect OldRect = S->GetSelectionRect();
          const bool Extend = OldType != stNotSelected && S->IsCaretAtCorner(OldCaret.X, OldCaret.Y);
          S->ClearSelection();
          S->SetCaret(OldCaret.X, OldCaret.Y);
          if (Extend) S->SetSelection(OldType, OldRect.Left, OldRect.Top, OldRect.Right, OldRect.Bottom);
          FAnchor = OldCaret;
          FLastMouseColumn = OldCaret.X;
          SelectingStep();
        } else {
          S->ClearSelection();
        }
      }
      if (!Shift.Contains(ssShift) || FMouseTrack == TMouseTrack::Dragging) {
        FAnchor = S->GetCaretPoint();
        FLastMouseColumn = FAnchor.X;
      }
      FWordSnap = false;
      if (HandleAllocated()) SetTimer(Handle(), TrackTimer, 30, nullptr);
    }
  } else if (FMouseTrack == TMouseTrack::Selecting || FMouseTrack == TMouseTrack::Dragging) {
    StopTracking();
  }
  FLinkDown = S->GetHighlightUrls() && IsLinkAt(Pos.X, Pos.Y);
  FGutterDown = X >= 0 && X < GutterWidthInEffect();
  inherited::MouseDown(Button, Shift, X, Y);
}

bool TCustomDCMemo::WordSpan(Integer Line, Integer Column, Integer& Start, Integer& End) {
  TCustomMemoSource* S = GetSource();
  if (Line < 0 || Line >= S->GetLineCount()) return false;
  const AnsiString Text = S->GetExpandedLine(Line);
  // Delimiter positions are 1-based: column C is character C + 1.
  if (S->IsDelimiter(Text, Column + 1)) return false;
  Start = Column;
  while (!S->IsDelimiter(Text, Start)) --Start;
  End = Column + 1;
  while (!S->IsDelimiter(Text, End + 1)) ++End;
  return true;
}

void TCustomDCMemo::SelectingStep() {
  TCustomMemoSource* S = GetSource();
  Integer X = FMousePos.X;
  if (FWordWrap) X = std::min<Integer>(X, ClientWidth());
  TPoint Pos = PointToText(X, FMousePos.Y, true);
  if (Pos.X == FLastMouseColumn && Pos.Y == S->GetCaretLine()) return;
  S->BeginUpdate(cnMouseSelect);
  TUpdateGuard Update(*S, UpdateBegun);
  FForward = Pos.X >= FLastMouseColumn;
  FLastMouseColumn = Pos.X;
  const TSelectionType Type = FMouseShift.Contains(ssAlt) ? stBlockSel : stStreamSel;
  bool Restart = false;
  if (FOptions.Contains(moExtendedSel) && Type == stStreamSel) {
    // Whole words: inside a word other than the anchor's the caret goes to
    // the word's far end, and the first time the anchor's word is taken in
    // whole as well. The direction is that of the selection: from the
    // anchor, in line and column order.
    const bool Forward = Pos.Y != FAnchor.Y ? Pos.Y > FAnchor.Y : Pos.X >= FAnchor.X;
    Integer As = 0, Ae = 0, Ws = 0, We = 0;
    const bool AnchorWord = WordSpan(FAnchor.Y, FAnchor.X, As, Ae);
    const bool OutsideAnchorWord = Pos.Y != FAnchor.Y || !AnchorWord || Pos.X < As || Pos.X > Ae;
    if (OutsideAnchorWord && WordSpan(Pos.Y, Pos.X, Ws, We)) {
      Pos.X = Forward ? We : Ws;
      if (!FWordSnap) {
        FWordSnap = true;
        if (AnchorWord) {
          FAnchor.X = Forward ? As : Ae;
          Restart = true;
        }
      }
    }
  }
  // The selection always runs from the anchor to the mouse.
  if (Restart || !S->HasSelection() || !S->IsCaretAtCorner(S->GetCaretChar(), S->GetCaretLine())) {
    S->ClearSelection();
    S->SetCaret(FAnchor.X, FAnchor.Y);
  }
  S->SetMoveTarget(Pos);
  S->ExtendSelection(Type, &TCustomMemoSource::CaretToMoveTarget);
  if (Type == stBlockSel && S->GetSelectionType() == stBlockSel) {
    const TRect R{std::min(FAnchor.X, Pos.X), std::min(FAnchor.Y, Pos.Y), std::max(FAnchor.X, Pos.X),
                  std::max(FAnchor.Y, Pos.Y)};
    S->SetSelection(stBlockSel, R.Left, R.Top, R.Right, R.Bottom);
  }
}

void TCustomDCMemo::DraggingStep() {
  TCustomMemoSource* S = GetSource();
  const TPoint Pos = PointToText(FMousePos.X, FMousePos.Y, true);
  TStringsOptions O = S->GetOptions();
  const bool Persistent = O.Contains(soPersistentBlocks);
  O.Include(soPersistentBlocks);
  S->SetOptions(O);
  S->SetCaret(Pos.X, Pos.Y);
  if (!Persistent) {
    O.Exclude(soPersistentBlocks);
    S->SetOptions(O);
  }
  if (Screen) Screen->SetCursor(S->IsInSelection(Pos.X, Pos.Y) ? crNoDrop : GetDragCursor());
}

void TCustomDCMemo::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseMove(Shift, X, Y);
  FMousePos = {X, Y};
  FMouseShift = Shift;
  // The timer steps the selection; a move steps it at once as well, so the
  // selection follows the mouse without waiting for the next tick.
  if (FMouseTrack == TMouseTrack::Selecting) SelectingStep();
  else if (FMouseTrack == TMouseTrack::Dragging) DraggingStep();
  // The hand over links.
  bool OverLink = false;
  if (FMouseTrack == TMouseTrack::Idle && GetSource()->GetHighlightUrls() && X >= TextLeftEdge()) {
    const TPoint Pos = PointToText(X, Y, false);
    OverLink = IsLinkAt(Pos.X, Pos.Y);
  }
  if (OverLink && !FLinkCursor) {
    FSavedCursor = GetCursor();
    FLinkCursor = true;
    SetCursor(MemoHandCursor());
  } else if (!OverLink && FLinkCursor) {
    FLinkCursor = false;
    SetCursor(FSavedCursor);
    if (Screen) ::SetCursor(Screen->Cursors(FSavedCursor));
  }
}

TCursor MemoHandCursor() {
  // An identifier the screen doesn't know answers the arrow: registered
  // with each screen object (a program has one; tests make several).
  if (Screen && Screen->Cursors(crMemoHand) == Screen->Cursors(crArrow)) {
    HCURSOR Hand = LoadProgramCursor("MEMOHANDPT");
    if (!Hand) Hand = LoadCursorA(nullptr, IDC_HAND);
    Screen->SetCursors(crMemoHand, Hand);
  }
  return crMemoHand;
}

void TCustomDCMemo::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomMemoSource* S = GetSource();
  FMousePos = {X, Y};
  FMouseShift = Shift;
  const TPoint Pos = PointToText(X, Y, true);
  const TMouseTrack Was = FMouseTrack;
  if (Button == mbLeft) {
    switch (Was) {
      case TMouseTrack::Idle:
        if (!FLinkDown) S->ClearSelection();
        break;
      case TMouseTrack::Selecting:
        SelectingStep();
        StopTracking();
        if (S->HasSelection() && !S->IsCaretAtCorner(S->GetCaretChar(), S->GetCaretLine())) S->ClearSelection();
        break;
      case TMouseTrack::Dragging:
        DraggingStep();
        StopTracking();
        if (!DropSelection(!Shift.Contains(ssCtrl))) S->ClearSelection();
        break;
      case TMouseTrack::WordSelected: FMouseTrack = TMouseTrack::Idle; break;
    }
  }
  if (FLinkDown && Button == mbLeft && FMouseTrack == TMouseTrack::Idle && S->GetHighlightUrls() &&
      IsLinkAt(Pos.X, Pos.Y)) {
    AnsiString Link = LinkTextAt(Pos.X, Pos.Y);
    if (IsEmailAddress(Link) && UpperCase(Link).rfind("MAILTO:", 0) != 0) Link = "mailto:" + Link;
    DoJumpToUrl(Link);
  }
  FLinkDown = false;
  inherited::MouseUp(Button, Shift, X, Y);
  Integer ButtonLine = -1;
  if (FCollapseDown && Button == mbLeft && HitCollapseButton(X, Y, ButtonLine) && ButtonLine == Pos.Y &&
      !S->HasSelection()) {
    const bool Collapse = S->GetRegionState(ButtonLine) == 1;
    if (DoCollapseStateChanging(ButtonLine, Collapse)) {
      S->SetRegionState(ButtonLine, Collapse ? 0 : 1);
      DoCollapseStateChanged(ButtonLine, Collapse);
      S->SetCaret(Pos.X, Pos.Y);
    }
  }
  FCollapseDown = false;
  if (FGutterDown && X >= 0 && X < GutterWidthInEffect()) {
    TShiftState Sh = Shift;
    Sh.Include(Button == mbLeft ? ssLeft : Button == mbRight ? ssRight : ssMiddle);
    DoClickGutter(Pos.Y, GutterImageAt(X, Pos.Y), Sh);
  }
  FGutterDown = false;
}

void TCustomDCMemo::WMTimer(TMessage& Message) {
  switch (Message.WParam) {
    case TrackTimer:
      if (FMouseTrack == TMouseTrack::Selecting) SelectingStep();
      else if (FMouseTrack == TMouseTrack::Dragging) DraggingStep();
      break;
    case 2:
      StopHintTimer();
      ShowHintPopup();
      break;
    default: break;
  }
}

void TCustomDCMemo::WMSetCursor(TMessage& Message) {
  TPoint P;
  GetCursorPos(&P);
  P = ScreenToClient(P);
  const TPoint Pos = PointToText(P.X, P.Y, true);
  if (P.X < TextLeftEdge() || (GetSource()->IsInSelection(Pos.X, Pos.Y) && !IsLinkAt(Pos.X, Pos.Y))) {
    ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}

void TCustomDCMemo::DoJumpToUrl(const AnsiString& Text) {
  bool Handled = false;
  if (OnJumpToUrl.Assigned()) OnJumpToUrl(this, Text, Handled);
  if (!Handled) OpenUrl(Text);
}

void TCustomDCMemo::DoClickGutter(Integer Line, Integer ImageIndex, TShiftState Shift) {
  if (OnClickGutter.Assigned()) OnClickGutter(this, Line, ImageIndex, Shift);
  if (ImageIndex >= 0 && ImageIndex < FGutterImgs->Count())
    if (TGutterImage* G = FGutterImgs->Image(ImageIndex); G->OnClick.Assigned()) G->OnClick(G);
}

bool TCustomDCMemo::HitCollapseButton(Integer X, Integer Y, Integer& Line) {
  if (!FoldingShown()) return false;
  Line = PointToText(X, Y, true).Y;
  if (GetSource()->GetRegionState(Line) == 2) return false;
  const Integer H = LineHeight(), D = CollapseButtonInset(H), Left = TextLeftEdge();
  return X > Left - H + D && X < Left - D;
}

bool TCustomDCMemo::DoCollapseStateChanging(Integer Line, bool Collapsed) {
  bool Handled = true;
  if (OnCollapseStateChanging.Assigned()) OnCollapseStateChanging(this, Line, Collapsed, Handled);
  return Handled;
}

void TCustomDCMemo::DoCollapseStateChanged(Integer Line, bool Collapsed) {
  if (OnCollapseStateChanged.Assigned()) OnCollapseStateChanged(this, Line, Collapsed);
}

// ---------------------------------------------------------------------------
// The default popup menu

void TCustomDCMemo::DefaultMenuClick(TObject* Sender) {
  if (auto* Item = dynamic_cast<TMenuItem*>(Sender)) RunMenuCommand(TMemoMenuCommand(Item->GetTag()));
}

bool TCustomDCMemo::PreparePopupMenu() {
  if (!FUseDefaultMenu || GetPopupMenu()) return false;
  using C = TMemoMenuCommand;
  if (!FDefaultMenu) {
    FDefaultMenu = new TPopupMenu(this);
    FDefaultMenu->AutoPopup = true;
    Integer Next = 1;
    auto Add = [&](const char* Caption, Integer Command) {
      auto* Item = new TMenuItem(this);
      while (FindComponent("MenuItem" + std::to_string(Next))) ++Next;
      Item->SetName("MenuItem" + std::to_string(Next));
      Item->SetCaption(Caption);
      Item->SetTag(Command);
      if (Command >= 0) Item->OnClick = TNotifyEvent(this, &TCustomDCMemo::DefaultMenuClick);
      FDefaultMenu->Items()->Add(Item);
    };
    auto AddCommand = [&](C Command) { Add(MenuCaption(Command), Integer(Command)); };
    AddCommand(C::Undo);
    Add("-", -1);
    for (C Command : {C::Cut, C::Copy, C::Paste, C::Delete}) AddCommand(Command);
    Add("-", -1);
    AddCommand(C::SelectAll);
  }
  TMenuItem* Items = FDefaultMenu->Items();
  for (Integer I = 0; I < Items->Count(); ++I)
    if (TMenuItem* Item = Items->Items(I); Item->GetTag() >= 0)
      Item->SetEnabled(MenuCommandEnabled(TMemoMenuCommand(Item->GetTag())));
  SetPopupMenu(FDefaultMenu);
  FDefaultMenuActive = true;
  return true;
}

// The lent default menu goes back once the context menu has been handled,
// so a PopupMenu the program assigns later is not shadowed by it.
void TCustomDCMemo::DropTemporaryMenu() {
  if (!FDefaultMenuActive) return;
  FDefaultMenuActive = false;
  if (GetPopupMenu() == FDefaultMenu) SetPopupMenu(nullptr);
}

bool TCustomDCMemo::ShowContextMenu(TPoint Point) {
  StopTracking();
  const bool Prepared = PreparePopupMenu();
  TPopupMenu* Menu = GetPopupMenu();
  if (!Menu) return Prepared;
  // A program's menu that does not pop up by itself is left to the program.
  if (!Menu->AutoPopup) return false;
  TPoint At;
  if (Point.X >= 0) {
    const TPoint Client = ScreenToClient(Point);
    if (!GetClientRect().Contains(Client)) return false;
    At = Point;
  } else {
    // From the keyboard: at the caret, when it shows in the window.
    TPoint Local{0, 0};
    if (!FHideCaret && Focused()) {
      TCustomMemoSource* S = GetSource();
      const TPoint Caret = TextToPoint(S->GetCaretChar(), S->GetCaretLine());
      const TRect Client = GetClientRect();
      if (Caret.X >= TextLeftEdge() && Client.Contains(Caret))
        Local = {Caret.X + std::max<Integer>(FCaretSize.cx, 1), Caret.Y};
    }
    At = ClientToScreen(Local);
  }
  if (HWND Cap = GetCapture()) SendMessageA(Cap, WM_CANCELMODE, 0, 0);
  Menu->PopupComponent = this;
  Menu->Popup(At.X, At.Y);
  return true;
}

void TCustomDCMemo::WMContextMenu(TMessage& Message) {
  if (Message.Result == 0) {
    const TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    if (ShowContextMenu(P)) Message.Result = 1;
  }
  // The class library's handling leaves a message already answered alone.
  inherited::Dispatch(Message);
  DropTemporaryMenu();
}

void TCustomDCMemo::WMRButtonUp(TMessage& Message) {
  StopTracking();
  PreparePopupMenu();
  inherited::Dispatch(Message);
  DropTemporaryMenu();
}
