#include "platform/forms/FileListView.h"

#include <algorithm>
#include <ctime>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Win.h"

namespace {
const Integer SizeWidth = 80;
const Integer ModifiedWidth = 120;
const Integer IconWidth = 20;

AnsiString FormatModified(std::int64_t Seconds) {
  if (Seconds <= 0) return AnsiString();
  const std::time_t T = std::time_t(Seconds);
  std::tm Tm {};
  localtime_r(&T, &Tm);
  char Buf[32];
  std::strftime(Buf, sizeof Buf, "%Y-%m-%d %H:%M", &Tm);
  return Buf;
}

void DrawTextIn(HDC DC, const std::u16string& Text, TRect R, UINT Align) {
  if (Text.empty()) return;
  std::u16string Copy = Text;
  DrawTextW(DC, reinterpret_cast<WCHAR*>(Copy.data()), int(Copy.size()), &R,
            Align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

std::u16string Wide(const AnsiString& S) { return AnsiToWide(S); }
}  // namespace

AnsiString FormatFileSize(std::int64_t Bytes) {
  if (Bytes < 1024) return std::to_string(Bytes) + " bytes";
  const char* Units[] = {"KB", "MB", "GB", "TB"};
  double V = double(Bytes) / 1024.0;
  int U = 0;
  while (V >= 1024.0 && U < 3) {
    V /= 1024.0;
    ++U;
  }
  char Buf[32];
  std::snprintf(Buf, sizeof Buf, V < 10 ? "%.1f %s" : "%.0f %s", V, Units[U]);
  return Buf;
}

TFileListView::TFileListView(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 300, 200);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

void TFileListView::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_VSCROLL;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TFileListView::SetModel(TFileListModel* Model) {
  FModel = Model;
  ModelChanged();
}

void TFileListView::ModelChanged() {
  FSelected.assign(FModel ? size_t(FModel->Count()) : 0, false);
  FFocus = FAnchor = -1;
  FTop = 0;
  UpdateScrollBar();
  Invalidate();
}

bool TFileListView::IsSelected(Integer Index) const {
  return Index >= 0 && size_t(Index) < FSelected.size() && FSelected[size_t(Index)];
}

std::vector<Integer> TFileListView::Selection() const {
  std::vector<Integer> R;
  for (size_t i = 0; i < FSelected.size(); ++i)
    if (FSelected[i]) R.push_back(Integer(i));
  return R;
}

void TFileListView::SelectOnly(Integer Index) {
  std::fill(FSelected.begin(), FSelected.end(), false);
  if (Index >= 0 && size_t(Index) < FSelected.size()) {
    FSelected[size_t(Index)] = true;
    FFocus = FAnchor = Index;
    MakeVisible(Index);
  } else {
    FFocus = FAnchor = -1;
  }
  Changed();
}

Integer TFileListView::VisibleRows() const {
  const Integer H = GetClientRect().Height() - HeaderHeight();
  return std::max<Integer>(1, H / FRowHeight);
}

TRect TFileListView::ItemRect(Integer Index) const {
  const Integer Y = HeaderHeight() + (Index - FTop) * FRowHeight;
  return TRect{0, Y, GetClientRect().Width(), Y + FRowHeight};
}

Integer TFileListView::ItemAt(Integer X, Integer Y) const {
  if (!FModel || Y < HeaderHeight() || X < 0 || X >= GetClientRect().Width()) return -1;
  const Integer I = FTop + (Y - HeaderHeight()) / FRowHeight;
  return I < FModel->Count() ? I : -1;
}

TRect TFileListView::ColumnRect(Integer Column) const {
  const Integer W = GetClientRect().Width();
  const Integer NameRight = std::max<Integer>(IconWidth + 40, W - SizeWidth - ModifiedWidth);
  switch (Column) {
    case 0: return {0, 0, NameRight, HeaderHeight()};
    case 1: return {NameRight, 0, NameRight + SizeWidth, HeaderHeight()};
    default: return {NameRight + SizeWidth, 0, std::max(W, NameRight + SizeWidth + ModifiedWidth), HeaderHeight()};
  }
}

Integer TFileListView::ColumnAt(Integer X) const {
  for (Integer C = 0; C < 3; ++C) {
    const TRect R = ColumnRect(C);
    if (X >= R.Left && X < R.Right) return C;
  }
  return -1;
}

void TFileListView::ScrollTo(Integer Top) {
  const Integer Count = FModel ? FModel->Count() : 0;
  Top = std::clamp<Integer>(Top, 0, std::max<Integer>(0, Count - VisibleRows()));
  if (Top == FTop) return;
  FTop = Top;
  UpdateScrollBar();
  Invalidate();
}

void TFileListView::MakeVisible(Integer Index) {
  if (Index < FTop)
    ScrollTo(Index);
  else if (Index >= FTop + VisibleRows())
    ScrollTo(Index - VisibleRows() + 1);
}

void TFileListView::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  SCROLLINFO Si;
  Si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  const Integer Count = FModel ? FModel->Count() : 0;
  const Integer Page = VisibleRows();
  Si.nMin = 0;
  Si.nMax = Count > Page ? Count - 1 : 0;
  Si.nPage = Count > Page ? UINT(Page) : 0;
  Si.nPos = FTop;
  SetScrollInfo(FHandle, SB_VERT, &Si, TRUE);
}

void TFileListView::Resize() {
  inherited::Resize();
  ScrollTo(FTop);
  UpdateScrollBar();
  Invalidate();
}

void TFileListView::Changed() {
  Invalidate();
  if (OnSelectionChange) OnSelectionChange(this);
}

void TFileListView::SelectRange(Integer From, Integer To, bool Keep) {
  if (!Keep) std::fill(FSelected.begin(), FSelected.end(), false);
  if (From > To) std::swap(From, To);
  for (Integer i = std::max<Integer>(0, From); i <= To && size_t(i) < FSelected.size(); ++i) FSelected[size_t(i)] = true;
}

void TFileListView::MoveFocus(Integer Index, TShiftState Shift) {
  const Integer Count = FModel ? FModel->Count() : 0;
  if (Count == 0) return;
  Index = std::clamp<Integer>(Index, 0, Count - 1);
  if (FMultiSelect && Shift.Contains(ssShift) && FAnchor >= 0) {
    SelectRange(FAnchor, Index, Shift.Contains(ssCtrl));
  } else if (FMultiSelect && Shift.Contains(ssCtrl)) {
    // Ctrl moves the focus alone; Ctrl+Space toggles.
  } else {
    std::fill(FSelected.begin(), FSelected.end(), false);
    FSelected[size_t(Index)] = true;
    FAnchor = Index;
  }
  FFocus = Index;
  MakeVisible(Index);
  Changed();
}

void TFileListView::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CanFocus() && !Focused()) SetFocus();
  if (Button == mbLeft && Y < HeaderHeight()) {
    const Integer C = ColumnAt(X);
    if (C >= 0 && FModel) {
      const auto Col = TFileSortColumn(C);
      const bool Asc = FModel->SortColumn() == Col ? !FModel->SortAscending() : true;
      FModel->SetSort(Col, Asc);
      ModelChanged();
      if (OnSortChange) OnSortChange(this);
    }
  } else if (Button == mbLeft) {
    const Integer I = ItemAt(X, Y);
    if (I >= 0 && Shift.Contains(ssDouble)) {
      if (OnOpenItem) OnOpenItem(this, I);
    } else if (I >= 0) {
      if (FMultiSelect && Shift.Contains(ssCtrl) && !Shift.Contains(ssShift)) {
        FSelected[size_t(I)] = !FSelected[size_t(I)];
        FFocus = FAnchor = I;
        Changed();
      } else {
        MoveFocus(I, Shift);
      }
    }
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TFileListView::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  const Integer Page = std::max<Integer>(1, VisibleRows() - 1);
  switch (Key) {
    case VK_UP: MoveFocus(FFocus < 0 ? 0 : FFocus - 1, Shift); break;
    case VK_DOWN: MoveFocus(FFocus < 0 ? 0 : FFocus + 1, Shift); break;
    case VK_PRIOR: MoveFocus(FFocus - Page, Shift); break;
    case VK_NEXT: MoveFocus(FFocus + Page, Shift); break;
    case VK_HOME: MoveFocus(0, Shift); break;
    case VK_END: MoveFocus(FModel ? FModel->Count() - 1 : 0, Shift); break;
    case VK_SPACE:
      if (FMultiSelect && Shift.Contains(ssCtrl) && FFocus >= 0) {
        FSelected[size_t(FFocus)] = !FSelected[size_t(FFocus)];
        FAnchor = FFocus;
        Changed();
      }
      break;
    case 'A':
      if (FMultiSelect && Shift.Contains(ssCtrl)) {
        std::fill(FSelected.begin(), FSelected.end(), true);
        Changed();
      }
      break;
    case 'H':
      if (Shift.Contains(ssCtrl) && OnToggleHidden) OnToggleHidden(this);
      break;
    case VK_BACK:
      if (OnParentFolder) OnParentFolder(this);
      break;
    default: return;
  }
  Key = 0;
}

void TFileListView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_VSCROLL: {
      SCROLLINFO Si;
      Si.fMask = SIF_ALL;
      GetScrollInfo(FHandle, SB_VERT, &Si);
      Integer Top = FTop;
      switch (LOWORD(Message.WParam)) {
        case SB_LINEUP: --Top; break;
        case SB_LINEDOWN: ++Top; break;
        case SB_PAGEUP: Top -= VisibleRows(); break;
        case SB_PAGEDOWN: Top += VisibleRows(); break;
        case SB_TOP: Top = 0; break;
        case SB_BOTTOM: Top = FModel ? FModel->Count() : 0; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: Top = Si.nTrackPos; break;
        default: break;
      }
      ScrollTo(Top);
      return;
    }
    case WM_MOUSEWHEEL:
      ScrollTo(FTop - 3 * GET_WHEEL_DELTA_WPARAM(Message.WParam) / 120);
      Message.Result = 1;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_ERASEBKGND: Message.Result = 1; return;
    default: break;
  }
  inherited::Dispatch(Message);
}

void TFileListView::Paint() {
  TCanvas* C = Canvas();
  C->Font()->Assign(GetFont());
  const TRect Client = GetClientRect();
  // The row height follows the font.
  const Integer Height = std::max<Integer>(16, C->TextHeight("Wg") + 4);
  if (Height != FRowHeight) {
    FRowHeight = Height;
    UpdateScrollBar();
  }
  C->Brush()->SetColor(clWindow);
  C->FillRect(Client);
  // Header.
  static const char* const Titles[] = {"Name", "Size", "Modified"};
  for (Integer Col = 0; Col < 3; ++Col) {
    TRect R = ColumnRect(Col);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
    C->RequiredState({csHandleValid, csFontValid, csBrushValid});
    HDC DC = C->GetHandle();
    DrawEdge(DC, &R, EDGE_RAISED, BF_RECT);
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(clBtnText));
    AnsiString Title = Titles[Col];
    if (FModel && FModel->SortColumn() == TFileSortColumn(Col)) Title += FModel->SortAscending() ? " \x5E" : " v";
    TRect T{R.Left + 6, R.Top, R.Right - 6, R.Bottom};
    DrawTextIn(DC, Wide(Title), T, Col == 1 ? DT_RIGHT : DT_LEFT);
  }
  if (!FModel) return;
  const Integer Last = std::min<Integer>(FModel->Count(), FTop + VisibleRows() + 1);
  const bool HasFocus = Focused();
  for (Integer I = FTop; I < Last; ++I) {
    const TFileEntry& E = FModel->Entry(I);
    const TRect Row = ItemRect(I);
    const bool Sel = IsSelected(I);
    C->Brush()->SetColor(Sel ? (HasFocus ? clHighlight : clBtnFace) : clWindow);
    C->FillRect(Row);
    // The icon: a folder or a sheet of paper.
    const Integer Cy = (Row.Top + Row.Bottom) / 2;
    C->Pen()->SetColor(clGrayText);
    if (E.IsDir) {
      C->Brush()->SetColor(TColor(0x4FC8F0));  // a manila folder
      C->Rectangle(4, Cy - 5, 18, Cy + 6);
      C->Rectangle(4, Cy - 7, 10, Cy - 4);
    } else {
      C->Brush()->SetColor(clWhite);
      C->Rectangle(6, Cy - 7, 16, Cy + 7);
    }
    C->RequiredState({csHandleValid, csFontValid, csBrushValid});
    HDC DC = C->GetHandle();
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Sel && HasFocus ? clHighlightText : clWindowText));
    const TRect N = ColumnRect(0), S = ColumnRect(1), M = ColumnRect(2);
    // Names are the file system's bytes: shown as UTF-8 whatever the code page.
    DrawTextIn(DC, UTF8Decode(E.Name), {N.Left + IconWidth + 2, Row.Top, N.Right - 4, Row.Bottom}, DT_LEFT);
    if (!E.IsDir) DrawTextIn(DC, Wide(FormatFileSize(E.Size)), {S.Left + 2, Row.Top, S.Right - 6, Row.Bottom}, DT_RIGHT);
    DrawTextIn(DC, Wide(FormatModified(E.Modified)), {M.Left + 6, Row.Top, M.Right - 2, Row.Bottom}, DT_LEFT);
    if (I == FFocus && HasFocus) C->DrawFocusRect(Row);
  }
}
