#include "ListCtrlsTestSupport.h"

#include "platform/gdi/Gdi.h"

void TListCtrlTest::SetUp() {
  TWinTest::SetUp();
  Draws.clear();
  Measures.clear();
  Deletes.clear();
  Parent = Make(WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
  On(Parent, [this](HWND, UINT M, WPARAM, LPARAM L) -> std::optional<LRESULT> {
    switch (M) {
      case WM_DRAWITEM: {
        auto* D = reinterpret_cast<DRAWITEMSTRUCT*>(L);
        Draws.push_back(*D);
        FillRect(D->hDC, &D->rcItem, GetSysColorBrush((D->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        return TRUE;
      }
      case WM_MEASUREITEM: {
        auto* Mi = reinterpret_cast<MEASUREITEMSTRUCT*>(L);
        if (MeasureHeight) Mi->itemHeight = MeasureHeight(Mi->itemID);
        Measures.push_back(*Mi);
        return TRUE;
      }
      case WM_DELETEITEM: Deletes.push_back(*reinterpret_cast<DELETEITEMSTRUCT*>(L)); return TRUE;
      default: return std::nullopt;
    }
  });
}

HWND TListCtrlTest::Child(const char* Class, DWORD Style, TRect R, int Id, DWORD ExStyle) {
  HWND H = CreateWindowExA(ExStyle, Class, "", WS_CHILD | WS_VISIBLE | Style, R.Left, R.Top, R.Width(), R.Height(),
                           Parent, reinterpret_cast<HMENU>(std::intptr_t(Id)), nullptr, nullptr);
  EXPECT_NE(H, nullptr);
  return H;
}

std::vector<int> TListCtrlTest::Codes(HWND Ctl) const {
  std::vector<int> R;
  for (auto& E : Logged(Parent, WM_COMMAND))
    if (HWND(E.L) == Ctl) R.push_back(SHORT(HIWORD(E.W)));
  return R;
}

TPoint TListCtrlTest::OnScreen(HWND Ctl, TPoint Client) const {
  ClientToScreen(Ctl, &Client);
  return Client;
}

void TListCtrlTest::ClickAt(HWND Ctl, TPoint Client, std::initializer_list<WORD> Held) {
  const TPoint P = OnScreen(Ctl, Client);
  for (WORD K : Held) Screen().KeyDown(K);
  Screen().Click(P.X, P.Y);
  for (WORD K : Held) Screen().KeyUp(K);
  Pump();
}

void TListCtrlTest::Keys(std::initializer_list<WORD> Held, WORD Key) {
  for (WORD K : Held) Screen().KeyDown(K);
  Screen().KeyPress(Key);
  for (WORD K : Held) Screen().KeyUp(K);
  Pump();
}

AnsiString TListCtrlTest::Text(HWND Lb, int I, UINT GetLen, UINT Get) {
  const LRESULT N = SendMessageA(Lb, GetLen, WPARAM(I), 0);
  if (N < 0) return "<err>";
  std::string S(std::size_t(N) + 1, '\0');
  SendMessageA(Lb, Get, WPARAM(I), LPARAM(S.data()));
  S.resize(std::size_t(N));
  return S;
}

std::vector<int> TListCtrlTest::SelectedItems(HWND Lb) {
  const LRESULT N = SendMessageA(Lb, LB_GETSELCOUNT, 0, 0);
  std::vector<int> R(std::size_t(std::max<LRESULT>(N, 0)));
  if (N > 0) SendMessageA(Lb, LB_GETSELITEMS, WPARAM(N), LPARAM(R.data()));
  return R;
}

// --- forms ------------------------------------------------------------------------------------

#include "platform/forms/FormLoader.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/VirtualKeys.h"

const char* const ListsFormText = R"(object ListsForm: TListsForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  ClientHeight = 240
  ClientWidth = 320
  Color = clBtnFace
  object Names: TListBox
    Left = 8
    Top = 8
    Width = 140
    Height = 120
    ItemHeight = 18
    Items.Strings = (
      'Alpha'
      'Beta'
      'Gamma'
      'Delta')
    MultiSelect = True
    Style = lbOwnerDrawFixed
    TabOrder = 0
    OnClick = NamesClick
    OnDrawItem = NamesDrawItem
  end
  object Sizes: TComboBox
    Left = 160
    Top = 8
    Width = 120
    Height = 21
    Style = csDropDownList
    DropDownCount = 4
    Items.Strings = (
      'Small'
      'Medium'
      'Large'
      'Huge'
      'Giant')
    ItemIndex = 1
    TabOrder = 1
    OnChange = SizesChange
  end
  object Plain: TListBox
    Left = 160
    Top = 40
    Width = 120
    Height = 90
    Items.Strings = (
      'one'
      'two'
      'three')
    Sorted = True
    TabOrder = 2
  end
end
)";

void TListsForm::NamesDrawItem(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State) {
  Drawn.push_back(Index);
  if (Index == FailOn) throw Exception("Cannot draw row " + IntToStr(Index));
  TCanvas* C = static_cast<TListBox*>(Control)->Canvas();
  // A swatch on the left in a colour of the row's own, the text after it.
  C->FillRect(Rect);
  C->Brush()->SetColor(Index % 2 ? clRed : clLime);
  C->FillRect({Rect.Left + 2, Rect.Top + 2, Rect.Left + 14, Rect.Bottom - 2});
  C->Brush()->SetColor(State.Contains(odSelected) ? clHighlight : clWindow);
  C->TextOut(Rect.Left + 18, Rect.Top + 1, Names->GetItems()->GetStrings(Index));
}

void TListFormTest::SetUp() {
  RegisterFormsClasses();
  RegisterClasses({TListsForm::StaticClass()});
  RegisterFormDescription("TListsForm", ListsFormText);
  SetDisplay(nullptr);
  ResetWindowSystem();
  UseVirtualClock(100000);
  App = std::make_unique<TApplication>(nullptr);
  App->OnException = TExceptionEvent(&Log, &TErrorLog::Record);
}

void TListFormTest::TearDown() {
  App.reset();
  ResetWindowSystem();
  UnregisterFormDescription("TListsForm");
  UseRealClock();
}

TListsForm* TListFormTest::ShowForm() {
  App->CreateForm(Form);
  Form->Show();
  HeadlessDisplay().ProcessMessages();
  return Form;
}

void TListFormTest::ClickAt(TControl* C, TPoint Client, std::initializer_list<WORD> Held) {
  const TPoint P = C->ClientToScreen(Client);
  for (WORD K : Held) HeadlessDisplay().KeyDown(K);
  HeadlessDisplay().Click(P.X, P.Y);
  for (WORD K : Held) HeadlessDisplay().KeyUp(K);
  App->ProcessMessages();
}

void TListFormTest::Keys(std::initializer_list<WORD> Held, WORD Key) {
  for (WORD K : Held) HeadlessDisplay().KeyDown(K);
  HeadlessDisplay().KeyPress(Key);
  for (WORD K : Held) HeadlessDisplay().KeyUp(K);
  App->ProcessMessages();
}

COLORREF TListFormTest::PixelAt(TControl* C, TPoint Client) {
  const TPoint P = C->ClientToScreen(Client);
  return HeadlessDisplay().ScreenPixel(P.X, P.Y);
}
