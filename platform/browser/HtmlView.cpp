#include "platform/browser/HtmlView.h"

#include <litehtml/litehtml.h>
#include <litehtml/el_break.h>
#include <litehtml/el_text.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/browser/HtmlContainer_p.h"
#include "platform/browser/HtmlSource.h"
#include "platform/forms/Clipbrd.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Cursors.h"
#include "platform/win/Menus.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

namespace {
constexpr UINT_PTR MeasureTimer = 1;
constexpr int LineStep = 40;
// Layouts kept besides the ones on screen.
constexpr std::size_t KeptLayouts = 6;
// Before any piece is measured: pixels of page per byte of markup.
constexpr double DefaultPixelsPerByte = 0.3;
}  // namespace

// One word (or space, or line end) of a laid-out piece, in page order.
struct THtmlRun {
  std::string Text;  // "\n" for a line end
  litehtml::position Pos;
  litehtml::uint_ptr Font = 0;
};

struct THtmlView::TPiece {
  std::string Text;
  std::size_t Bytes = 0;
  std::shared_ptr<litehtml::document> Doc;
  std::vector<THtmlRun> Runs;
  int Height = 0;
  int LaidWidth = -1;
  bool Measured = false;
};

THtmlView::THtmlView(TComponent* AOwner)
    : TCustomControl(AOwner), FContainer(std::make_unique<THtmlContainer>()),
      FContext(std::make_unique<litehtml::context>()) {
  FContext->load_master_stylesheet(HtmlDefaultStyleSheet);
  FControlStyle.Include(csOpaque);
  FTabStop = true;
  SetBounds(0, 0, 300, 200);
  FContainer->OnCaption = [this](const std::string& Caption) {
    FTitle = Caption;
    if (OnTitleChange) OnTitleChange();
  };
  FContainer->OnAnchorClick = [this](const std::string& Href) {
    if (OnLinkClick) OnLinkClick(Href);
  };
}

THtmlView::~THtmlView() {
  // Documents hold fonts of the container: free them first.
  FPieces.clear();
}

void THtmlView::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_VSCROLL;
  if (FBorder) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void THtmlView::CreateWnd() {
  inherited::CreateWnd();
  ApplyScrollBarMode();
}

void THtmlView::SetFlatScrollBars(bool Value) {
  if (FFlatScrollBars == Value) return;
  FFlatScrollBars = Value;
  ApplyScrollBarMode();
}

void THtmlView::ApplyScrollBarMode() {
  if (!HandleAllocated()) return;
  InitializeFlatSB(Handle());
  FlatSB_SetScrollProp(Handle(), WSB_PROP_VSTYLE, FFlatScrollBars ? FSB_FLAT_MODE : FSB_REGULAR_MODE, TRUE);
}

void THtmlView::SetBorder(bool Value) {
  if (FBorder == Value) return;
  FBorder = Value;
  if (HandleAllocated()) RecreateWnd();
}

void THtmlView::SetImagesEnabled(bool Value) {
  if (FImagesEnabled == Value) return;
  FImagesEnabled = Value;
  FContainer->SetImagesEnabled(Value);
  // Pictures change the layout: every piece is laid out again.
  for (auto& P : FPieces) P->LaidWidth = -1;
  Invalidate();
}

void THtmlView::Clear() {
  FPieces.clear();
  FMeasuredPx = FMeasuredBytes = 0;
  FTitle.clear();
  FScrollTop = 0;
  FSelAll = false;
  FSelStart = FSelEnd = {};
  UpdateScrollBar();
  Invalidate();
}

void THtmlView::LoadHtml(std::string_view Bytes, const AnsiString& BaseFolder) {
  Clear();
  FContainer->SetBaseFolder(BaseFolder);
  for (THtmlPiece& P : SplitHtml(DecodeHtml(Bytes))) {
    auto Piece = std::make_unique<TPiece>();
    Piece->Text = std::move(P.Text);
    Piece->Bytes = P.Bytes;
    FPieces.push_back(std::move(Piece));
  }
  // The title comes from the first piece, which every page has.
  LayOut(0);
  UpdateScrollBar();
  Invalidate();
  if (HandleAllocated() && FPieces.size() > 1 && !FTimerOn) {
    SetTimer(Handle(), MeasureTimer, 1, nullptr);
    FTimerOn = true;
  }
}

bool THtmlView::LoadFromFile(const AnsiString& FileName) {
  std::error_code Ec;
  // Regular files only: a device or a pipe never ends.
  std::ifstream In(FileName, std::ios::binary);
  if (!In || !std::filesystem::is_regular_file(FileName, Ec)) {
    Clear();
    return false;
  }
  const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  LoadHtml(Bytes, ExtractFilePath(ExpandFileName(FileName)));
  return true;
}

int THtmlView::ClientWidthForLayout() const { return std::max<int>(1, GetClientRect().Width()); }

void THtmlView::LayOut(Integer Index) {
  TPiece& P = *FPieces[size_t(Index)];
  const int W = ClientWidthForLayout();
  FContainer->SetClientSize(W, GetClientRect().Height());
  if (P.Doc && P.LaidWidth == W) return;
  if (!P.Doc) {
    P.Doc = litehtml::document::createFromUTF8(P.Text.c_str(), FContainer.get(), FContext.get());
    if (!P.Doc) return;
  }
  P.Doc->render(W);
  if (P.Measured) FMeasuredPx -= P.Height, FMeasuredBytes -= double(P.Bytes);
  P.Height = std::max(0, P.Doc->height());
  P.LaidWidth = W;
  P.Measured = true;
  FMeasuredPx += P.Height, FMeasuredBytes += double(P.Bytes);
  CollectRuns(P);
  if (Index == 0) {
    // As in browsers, the root's background, or else the body's, covers
    // the whole view.
    FCanvasColor = clWhite;
    litehtml::element::ptr Root = P.Doc->root();
    for (litehtml::element::ptr E : {Root, Root ? Root->select_one("body") : nullptr}) {
      if (!E) continue;
      const litehtml::background* B = E->get_background(true);
      litehtml::web_color C(0, 0, 0, 0);
      if (B) C = B->m_color;
      // The old attribute, where the layout leaves it to the container.
      if (C.alpha == 0)
        if (const char* Attr = E->get_attr("bgcolor")) C = litehtml::web_color::from_string(Attr, FContainer.get());
      if (C.alpha > 0) {
        FCanvasColor = TColor(RGB(C.red, C.green, C.blue));
        break;
      }
    }
  }
}

void THtmlView::CollectRuns(TPiece& P) {
  P.Runs.clear();
  if (!P.Doc || !P.Doc->root()) return;
  auto LineEnd = [&] {
    if (!P.Runs.empty() && P.Runs.back().Text != "\n") P.Runs.push_back({"\n", {}, 0});
  };
  // Depth-first in document order, with an explicit stack: pages may nest
  // deeply.
  std::vector<std::pair<litehtml::element*, size_t>> Stack{{P.Doc->root().get(), 0}};
  while (!Stack.empty()) {
    auto& [El, Next] = Stack.back();
    if (Next == 0) {
      if (!El->is_visible()) {
        Stack.pop_back();
        continue;
      }
      const litehtml::style_display D = El->get_display();
      if (D == litehtml::display_block || D == litehtml::display_list_item || D == litehtml::display_table ||
          D == litehtml::display_table_row)
        LineEnd();
      if (El->is_break()) {
        P.Runs.push_back({"\n", {}, 0});
      } else if (auto* T = dynamic_cast<litehtml::el_text*>(El)) {
        THtmlRun R;
        T->get_text(R.Text);
        R.Pos = T->get_placement();
        R.Font = T->get_font();
        if (!R.Text.empty()) P.Runs.push_back(std::move(R));
      }
    }
    if (Next < El->get_children_count()) {
      litehtml::element* Child = El->get_child(int(Next)).get();
      ++Next;
      Stack.push_back({Child, 0});
    } else {
      const litehtml::style_display D = El->get_display();
      if (D == litehtml::display_block || D == litehtml::display_list_item || D == litehtml::display_table)
        LineEnd();
      Stack.pop_back();
    }
  }
}

int THtmlView::PieceHeight(Integer Index) const {
  const TPiece& P = *FPieces[size_t(Index)];
  if (P.Measured) return P.Height;
  const double Rate = FMeasuredBytes > 0 ? FMeasuredPx / FMeasuredBytes : DefaultPixelsPerByte;
  return int(double(P.Bytes) * Rate);
}

int THtmlView::PieceTop(Integer Index) const {
  int Top = 0;
  for (Integer I = 0; I < Index; ++I) Top += PieceHeight(I);
  return Top;
}

Integer THtmlView::GetDocumentHeight() const { return PieceTop(Integer(FPieces.size())); }

bool THtmlView::GetFullyMeasured() const {
  return std::all_of(FPieces.begin(), FPieces.end(), [](const auto& P) { return P->Measured; });
}

Integer THtmlView::PieceAt(Integer PageY) const {
  int Top = 0;
  for (Integer I = 0; I < Integer(FPieces.size()); ++I) {
    const int H = PieceHeight(I);
    if (PageY < Top + H) return I;
    Top += H;
  }
  return Integer(FPieces.size()) - 1;
}

void THtmlView::LayOutVisible() {
  if (FPieces.empty()) return;
  const int ClientH = GetClientRect().Height();
  // Laying a piece out turns its estimate into its height, which moves the
  // pieces below: repeat until what shows is laid out.
  for (int Pass = 0; Pass < 4; ++Pass) {
    bool Changed = false;
    int Top = 0;
    for (Integer I = 0; I < Integer(FPieces.size()) && Top < FScrollTop + ClientH; ++I) {
      const int H = PieceHeight(I);
      if (Top + H >= FScrollTop) {
        TPiece& P = *FPieces[size_t(I)];
        if (!P.Doc || P.LaidWidth != ClientWidthForLayout()) {
          LayOut(I);
          Changed = true;
        }
      }
      Top += PieceHeight(I);
    }
    if (!Changed) break;
  }
  FScrollTop = std::clamp<Integer>(FScrollTop, 0, std::max<Integer>(0, GetDocumentHeight() - ClientH));
}

void THtmlView::DropFarLayouts() {
  const int ClientH = GetClientRect().Height();
  std::vector<std::pair<int, Integer>> Far;  // distance, piece
  int Top = 0;
  for (Integer I = 0; I < Integer(FPieces.size()); ++I) {
    const int H = PieceHeight(I);
    if (FPieces[size_t(I)]->Doc) {
      const int Dist = Top + H < FScrollTop ? FScrollTop - (Top + H) : Top > FScrollTop + ClientH ? Top - FScrollTop : 0;
      if (Dist > 0) Far.push_back({Dist, I});
    }
    Top += H;
  }
  if (Far.size() <= KeptLayouts) return;
  std::sort(Far.begin(), Far.end());
  for (std::size_t K = KeptLayouts; K < Far.size(); ++K) {
    TPiece& P = *FPieces[size_t(Far[K].second)];
    P.Doc.reset();
    P.Runs.clear();
    P.Runs.shrink_to_fit();
  }
}

void THtmlView::MeasureAll() {
  for (Integer I = 0; I < Integer(FPieces.size()); ++I) {
    LayOut(I);
    DropFarLayouts();
  }
  UpdateScrollBar();
}

TRect THtmlView::WordBounds(const std::string& Word, Integer Occurrence) {
  LayOutVisible();
  for (Integer I = 0; I < Integer(FPieces.size()); ++I) {
    const TPiece& P = *FPieces[size_t(I)];
    if (!P.Doc) continue;
    const int Y = PieceTop(I) - FScrollTop;
    for (const THtmlRun& Run : P.Runs)
      if (Run.Text == Word && Occurrence-- == 0)
        return TRect{Run.Pos.x, Y + Run.Pos.y, Run.Pos.right(), Y + Run.Pos.bottom()};
  }
  return {};
}

void THtmlView::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  SCROLLINFO Si;
  Si.fMask = SIF_ALL;
  Si.nMin = 0;
  Si.nMax = std::max<int>(0, GetDocumentHeight() - 1);
  Si.nPage = UINT(std::max<int>(0, GetClientRect().Height()));
  Si.nPos = FScrollTop;
  SetScrollInfo(Handle(), SB_VERT, &Si, TRUE);
}

void THtmlView::SetScrollTop(Integer Value) {
  const Integer Max = std::max<Integer>(0, GetDocumentHeight() - GetClientRect().Height());
  Value = std::clamp<Integer>(Value, 0, Max);
  if (Value == FScrollTop) return;
  FScrollTop = Value;
  UpdateScrollBar();
  Invalidate();
}

void THtmlView::Resize() {
  inherited::Resize();
  UpdateScrollBar();
  Invalidate();
}

void THtmlView::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = GetClientRect();
  if (!FPieces.empty()) LayOutVisible();
  C->Brush()->SetColor(FPieces.empty() ? clWhite : FCanvasColor);
  C->FillRect(Client);
  if (FPieces.empty()) return;
  C->RequiredState({csHandleValid});
  HDC Dc = C->GetHandle();
  FContainer->BeginPaint(Dc);
  int Top = 0;
  for (Integer I = 0; I < Integer(FPieces.size()) && Top < FScrollTop + Client.Height(); ++I) {
    TPiece& P = *FPieces[size_t(I)];
    const int H = PieceHeight(I);
    if (Top + H >= FScrollTop && P.Doc) {
      const int Y = Top - FScrollTop;
      litehtml::position Clip(0, std::max(0, -Y), Client.Width(), Client.Height());
      P.Doc->draw(reinterpret_cast<litehtml::uint_ptr>(Dc), 0, Y, &Clip);
      // The selection shows inverted over the words it covers.
      for (Integer R = 0; R < Integer(P.Runs.size()); ++R) {
        const THtmlRun& Run = P.Runs[size_t(R)];
        if (Run.Text == "\n") continue;
        const TTextPos A{I, R, 0}, B{I, R, Integer(Run.Text.size())};
        TTextPos S = std::min(FSelStart, FSelEnd), E = std::max(FSelStart, FSelEnd);
        if (!FSelAll && (B <= S || A >= E)) continue;
        int X0 = Run.Pos.x, X1 = Run.Pos.right();
        if (!FSelAll && S.Piece == I && S.Run == R)
          X0 += FContainer->TextWidthPrefix(Run.Text.c_str(), size_t(S.Offset), Run.Font);
        if (!FSelAll && E.Piece == I && E.Run == R)
          X1 = Run.Pos.x + FContainer->TextWidthPrefix(Run.Text.c_str(), size_t(E.Offset), Run.Font);
        if (X1 <= X0) continue;
        const TRect Sel{X0, Y + Run.Pos.y, X1, Y + Run.Pos.bottom()};
        InvertRect(Dc, &Sel);
      }
    }
    Top += H;
  }
  FContainer->EndPaint();
  DropFarLayouts();
  UpdateScrollBar();
  if (!FTimerOn && !GetFullyMeasured()) {
    SetTimer(Handle(), MeasureTimer, 1, nullptr);
    FTimerOn = true;
  }
}

THtmlView::TTextPos THtmlView::HitText(Integer X, Integer Y) {
  if (FPieces.empty()) return {};
  const Integer PageY = Y + FScrollTop;
  const Integer I = PieceAt(PageY);
  LayOut(I);
  TPiece& P = *FPieces[size_t(I)];
  const int LocalY = PageY - PieceTop(I);
  Integer Best = -1;
  long BestScore = 0;
  for (Integer R = 0; R < Integer(P.Runs.size()); ++R) {
    const THtmlRun& Run = P.Runs[size_t(R)];
    if (Run.Text == "\n") continue;
    const long Dy = LocalY < Run.Pos.y ? Run.Pos.y - LocalY : LocalY >= Run.Pos.bottom() ? LocalY - Run.Pos.bottom() + 1 : 0;
    const long Dx = X < Run.Pos.x ? Run.Pos.x - X : X >= Run.Pos.right() ? X - Run.Pos.right() + 1 : 0;
    const long Score = Dy * 100000 + Dx;
    if (Best < 0 || Score < BestScore) Best = R, BestScore = Score;
  }
  if (Best < 0) return {I, 0, 0};
  const THtmlRun& Run = P.Runs[size_t(Best)];
  // The character boundary nearest to X.
  Integer Offset = 0;
  int BestDist = std::abs(X - Run.Pos.x);
  for (std::size_t K = 1; K <= Run.Text.size(); ++K) {
    if (K < Run.Text.size() && (static_cast<unsigned char>(Run.Text[K]) & 0xC0) == 0x80) continue;
    const int D = std::abs(X - (Run.Pos.x + FContainer->TextWidthPrefix(Run.Text.c_str(), K, Run.Font)));
    if (D < BestDist) BestDist = D, Offset = Integer(K);
  }
  return {I, Best, Offset};
}

void THtmlView::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (CanFocus()) SetFocus();
  if (Button != mbLeft || FPieces.empty()) return;
  const Integer I = PieceAt(Y + FScrollTop);
  LayOut(I);
  FDownPiece = I;
  litehtml::position::vector Redraw;
  const int LocalY = Y + FScrollTop - PieceTop(I);
  FPieces[size_t(I)]->Doc->on_lbutton_down(X, LocalY, X, Y, Redraw);
  FSelAll = false;
  FSelStart = FSelEnd = HitText(X, Y);
  FSelecting = true;
  Invalidate();
}

void THtmlView::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseMove(Shift, X, Y);
  if (FPieces.empty()) return;
  if (FSelecting) {
    const TTextPos P = HitText(X, Y);
    if (P != FSelEnd) {
      FSelEnd = P;
      Invalidate();
    }
    return;
  }
  const Integer I = PieceAt(Y + FScrollTop);
  TPiece& P = *FPieces[size_t(I)];
  if (!P.Doc) return;
  litehtml::position::vector Redraw;
  if (P.Doc->on_mouse_over(X, Y + FScrollTop - PieceTop(I), X, Y, Redraw)) Invalidate();
}

void THtmlView::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || FPieces.empty()) return;
  const bool WasSelecting = FSelecting;
  FSelecting = false;
  const Integer I = PieceAt(Y + FScrollTop);
  TPiece& P = *FPieces[size_t(I)];
  // A press and release on the same link, without a selection between,
  // is a click on it.
  if (WasSelecting && FSelStart == FSelEnd && I == FDownPiece && P.Doc) {
    litehtml::position::vector Redraw;
    P.Doc->on_lbutton_up(X, Y + FScrollTop - PieceTop(I), X, Y, Redraw);
  }
  FDownPiece = -1;
}

void THtmlView::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  const Integer Page = std::max<Integer>(LineStep, GetClientRect().Height() - LineStep);
  switch (Key) {
    case VK_UP: ScrollBy(-LineStep); break;
    case VK_DOWN: ScrollBy(LineStep); break;
    case VK_PRIOR: ScrollBy(-Page); break;
    case VK_NEXT:
    case VK_SPACE: ScrollBy(Page); break;
    case VK_HOME: SetScrollTop(0); break;
    case VK_END:
      MeasureAll();
      SetScrollTop(GetDocumentHeight());
      break;
    case 'A':
      if (!Shift.Contains(ssCtrl)) return;
      SelectAll();
      break;
    case 'C':
    case VK_INSERT:
      if (!Shift.Contains(ssCtrl)) return;
      CopyToClipboard();
      break;
    default: return;
  }
  Key = 0;
}

void THtmlView::SelectAll() {
  FSelAll = true;
  Invalidate();
}

void THtmlView::ClearSelection() {
  FSelAll = false;
  FSelStart = FSelEnd = {};
  Invalidate();
}

std::string THtmlView::GetSelTextUtf8() {
  if (!HasSelection() || FPieces.empty()) return {};
  TTextPos S = std::min(FSelStart, FSelEnd), E = std::max(FSelStart, FSelEnd);
  if (FSelAll) S = {0, 0, 0}, E = {Integer(FPieces.size()), 0, 0};
  std::string Out;
  for (Integer I = std::max<Integer>(0, S.Piece); I < Integer(FPieces.size()) && I <= E.Piece; ++I) {
    LayOut(I);
    const TPiece& P = *FPieces[size_t(I)];
    for (Integer R = 0; R < Integer(P.Runs.size()); ++R) {
      const THtmlRun& Run = P.Runs[size_t(R)];
      const TTextPos A{I, R, 0};
      if (A < TTextPos{S.Piece, S.Run, 0} || A > TTextPos{E.Piece, E.Run, 0}) continue;
      std::size_t From = 0, To = Run.Text.size();
      if (I == S.Piece && R == S.Run) From = std::min<std::size_t>(size_t(S.Offset), To);
      if (I == E.Piece && R == E.Run) To = std::min<std::size_t>(size_t(E.Offset), To);
      if (Run.Text == "\n") {
        if (!(I == E.Piece && R == E.Run)) Out += "\r\n";
        continue;
      }
      if (To > From) Out.append(Run.Text, From, To - From);
    }
    DropFarLayouts();
  }
  while (!Out.empty() && (Out.back() == '\n' || Out.back() == '\r')) Out.pop_back();
  std::size_t Lead = 0;
  while (Lead + 1 < Out.size() && Out[Lead] == '\r' && Out[Lead + 1] == '\n') Lead += 2;
  return Out.substr(Lead);
}

void THtmlView::CopyToClipboard() {
  const std::string Text = GetSelTextUtf8();
  if (Text.empty()) return;
  Clipboard()->SetAsText(Utf8ToAnsi(Text));
}

void THtmlView::ShowOwnMenu(TPoint ScreenPos) {
  HMENU M = CreatePopupMenu();
  enum : UINT { CmdSelectAll = 1, CmdCopy = 2 };
  AppendMenuA(M, MF_STRING | (HasSelection() ? 0 : MF_GRAYED), CmdCopy, "&Copy");
  AppendMenuA(M, MF_STRING, CmdSelectAll, "Select &All");
  const UINT Cmd = UINT(TrackPopupMenu(M, TPM_RETURNCMD | TPM_RIGHTBUTTON, ScreenPos.X, ScreenPos.Y, 0, Handle(), nullptr));
  DestroyMenu(M);
  if (Cmd == CmdCopy) CopyToClipboard();
  else if (Cmd == CmdSelectAll) SelectAll();
}

void THtmlView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_VSCROLL: {
      SCROLLINFO Si;
      Si.fMask = SIF_ALL;
      GetScrollInfo(Handle(), SB_VERT, &Si);
      const Integer Page = std::max<Integer>(LineStep, GetClientRect().Height() - LineStep);
      switch (LOWORD(Message.WParam)) {
        case SB_LINEUP: ScrollBy(-LineStep); break;
        case SB_LINEDOWN: ScrollBy(LineStep); break;
        case SB_PAGEUP: ScrollBy(-Page); break;
        case SB_PAGEDOWN: ScrollBy(Page); break;
        case SB_TOP: SetScrollTop(0); break;
        case SB_BOTTOM: SetScrollTop(GetDocumentHeight()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetScrollTop(Si.nTrackPos); break;
        default: break;
      }
      return;
    }
    case WM_MOUSEWHEEL:
      ScrollBy(-3 * LineStep * GET_WHEEL_DELTA_WPARAM(Message.WParam) / WHEEL_DELTA);
      Message.Result = 1;
      return;
    case WM_TIMER:
      if (Message.WParam == MeasureTimer) {
        // One piece per tick, so the page stays responsive while its
        // remaining pieces are measured.
        auto It = std::find_if(FPieces.begin(), FPieces.end(), [](const auto& P) { return !P->Measured; });
        if (It == FPieces.end()) {
          KillTimer(Handle(), MeasureTimer);
          FTimerOn = false;
        } else {
          LayOut(Integer(It - FPieces.begin()));
          DropFarLayouts();
          UpdateScrollBar();
        }
        return;
      }
      break;
    case WM_SETCURSOR:
      if (LOWORD(Message.LParam) == HTCLIENT && FContainer->Cursor == "pointer") {
        ::SetCursor(LoadCursor(nullptr, IDC_HAND));
        Message.Result = 1;
        return;
      }
      break;
    case WM_CONTEXTMENU: {
      TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      if (P.X == -1 && P.Y == -1) P = ClientToScreen(TPoint{0, 0});
      if (OnContextMenu && OnContextMenu(P)) return;
      ShowOwnMenu(P);
      return;
    }
    case WM_DESTROY:
      if (FTimerOn) KillTimer(Handle(), MeasureTimer);
      FTimerOn = false;
      break;
    default: break;
  }
  inherited::Dispatch(Message);
}
