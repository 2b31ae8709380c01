// Menus in the class library, driven through the application's message
// loop: a popup menu run by keys, owner-drawn items, shortcuts that reach
// items and actions through the form, and a form's menu bar with Alt.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "../win/WinTestSupport.h"
#include "platform/forms/ActnList.h"
#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/ImageList.h"
#include "platform/rtl/VirtualKeys.h"

namespace {
class TSink : public TObject {
public:
  std::vector<AnsiString> Clicks;
  int Popups = 0;
  void Click(TObject* Sender) { Clicks.push_back(static_cast<TMenuItem*>(Sender)->GetName()); }
  void Popped(TObject*) { ++Popups; }
  void Measure(TObject*, TCanvas*, Integer& Width, Integer& Height) {
    Width = 140;
    Height = 26;
  }
  std::vector<bool> DrawnSelected;
  void Draw(TObject*, TCanvas* Canvas, TRect R, bool Selected) {
    DrawnSelected.push_back(Selected);
    Canvas->Brush()->SetColor(Selected ? clBlue : clLime);
    Canvas->FillRect(R);
  }
  void Execute(TObject*) { Clicks.push_back("action"); }
  // Fills a sub-menu as it opens, as programs build recent-file lists.
  TComponent* ItemOwner = nullptr;
  void Fill(TObject* Sender) {
    auto* Parent = static_cast<TMenuItem*>(Sender);
    Parent->Items(0)->SetVisible(false);
    auto* I = new TMenuItem(ItemOwner);
    I->SetName("Dyn" + std::to_string(Parent->Count()));
    I->SetCaption("&Fresh");
    I->OnClick = TNotifyEvent(this, &TSink::Click);
    Parent->Add(I);
  }
  void OnShortCut(TMessage& Msg, bool& Handled) {
    if (Msg.WParam == VK_F2) {
      Clicks.push_back("form F2");
      Handled = true;
    }
  }
};

class FormMenus : public TWinTest {
protected:
  void SetUp() override {
    TWinTest::SetUp();
    RegisterFormsClasses();
    App = std::make_unique<TApplication>(nullptr);
    Form = new TForm(App.get());
    Form->SetBounds(100, 100, 400, 300);
    Edit = new TEdit(Form);
    Edit->SetBounds(10, 10, 200, 24);
    Edit->SetParent(Form);
  }
  void TearDown() override {
    Screen().SetIdleHandler(nullptr);
    App.reset();
    TWinTest::TearDown();
  }
  TMenuItem* Add(TMenuItem* Parent, const char* Name, const char* Caption, TShortCut Sc = 0) {
    auto* I = new TMenuItem(Form);
    I->SetName(Name);
    I->SetCaption(Caption);
    I->SetShortCut(Sc);
    I->OnClick = TNotifyEvent(&Sink, &TSink::Click);
    Parent->Add(I);
    return I;
  }
  void ShowForm() {
    Form->Show();
    Edit->SetFocus();
    App->ProcessMessages();
  }
  void Pump() { App->ProcessMessages(); }
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TEdit* Edit = nullptr;
  TSink Sink;
};

TEST_F(FormMenus, PopupRunByKeysClicksTheSubMenuItem) {
  auto* Menu = new TPopupMenu(Form);
  Menu->OnPopup = TNotifyEvent(&Sink, &TSink::Popped);
  Add(Menu->Items(), "Undo", "&Undo");
  Add(Menu->Items(), "Line", "-");
  TMenuItem* More = Add(Menu->Items(), "More", "&More");
  Add(More, "Deep", "&Deep");
  ShowForm();
  for (WORD K : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}) Screen().KeyPress(K);
  Menu->Popup(150, 150);
  EXPECT_EQ(Sink.Popups, 1);
  // Opening "More" is its OnClick (handlers update sub-menus there); the
  // chosen item clicks last.
  EXPECT_EQ(Sink.Clicks, (std::vector<AnsiString>{"More", "Deep"}));
  EXPECT_EQ(Menu->PopupPoint, TPoint(150, 150));
}

TEST_F(FormMenus, SubMenuFilledAsItOpensShowsTheNewItems) {
  auto* Menu = new TPopupMenu(Form);
  TMenuItem* Recent = Add(Menu->Items(), "Recent", "&Recent");
  Add(Recent, "Placeholder", "(none)");
  Recent->OnClick = TNotifyEvent(&Sink, &TSink::Fill);
  Sink.ItemOwner = Form;
  ShowForm();
  // Right opens Recent (its OnClick hides the placeholder and adds an
  // item); F is the new item's mnemonic.
  for (WORD K : {WORD(VK_DOWN), WORD(VK_RIGHT), WORD('F')}) Screen().KeyPress(K);
  Menu->Popup(150, 150);
  EXPECT_EQ(Sink.Clicks, (std::vector<AnsiString>{"Dyn1"}));
  EXPECT_EQ(GetMenuItemCount(Recent->Handle()), 1) << "the hidden placeholder left the HMENU";
}

TEST_F(FormMenus, MenuKeyAndShiftF10OpenTheControlsPopupAtIt) {
  auto* Menu = new TPopupMenu(Form);
  Menu->OnPopup = TNotifyEvent(&Sink, &TSink::Popped);
  Add(Menu->Items(), "Undo", "&Undo");
  Edit->SetPopupMenu(Menu);
  ShowForm();
  Screen().KeyPress(VK_APPS);
  Screen().KeyPress(VK_ESCAPE);
  Pump();
  EXPECT_EQ(Sink.Popups, 1);
  EXPECT_EQ(Menu->PopupPoint, Edit->ClientToScreen({0, 0})) << "at the control, not the mouse";
  Screen().KeyDown(VK_SHIFT);
  Screen().KeyPress(VK_F10);
  Screen().KeyUp(VK_SHIFT);
  Screen().KeyPress('U');
  Pump();
  EXPECT_EQ(Sink.Popups, 2);
  EXPECT_EQ(Sink.Clicks, (std::vector<AnsiString>{"Undo"}));
}

TEST_F(FormMenus, OwnerDrawnMenuItemIsMeasuredAndDrawnByItsEvents) {
  auto* Menu = new TPopupMenu(Form);
  TMenuItem* Fancy = Add(Menu->Items(), "Fancy", "Fancy");
  Add(Menu->Items(), "Plain", "Plain");
  Fancy->OnMeasureItem = TMenuMeasureItemEvent(&Sink, &TSink::Measure);
  Fancy->OnDrawItem = TMenuDrawItemEvent(&Sink, &TSink::Draw);
  ShowForm();
  TRect R;
  COLORREF Before = 0, After = 0;
  int Round = 0;
  Screen().SetIdleHandler([&] {
    if (!TrackedMenu()) return false;
    if (Round == 0) {
      GetMenuItemRect(nullptr, Menu->Handle(), 0, &R);
      Before = Screen().ScreenPixel(R.Left + 20, R.Top + 5);
      Screen().KeyPress(VK_DOWN);
    } else if (Round == 1) {
      After = Screen().ScreenPixel(R.Left + 20, R.Top + 5);
      Screen().KeyPress(VK_RETURN);
    } else {
      EndMenu();
    }
    ++Round;
    return true;
  });
  Menu->Popup(150, 150);
  EXPECT_EQ(R.Height(), 26);
  EXPECT_GE(R.Width(), 140);
  EXPECT_EQ(Before, RGB(0, 255, 0));
  EXPECT_EQ(After, RGB(0, 0, 255)) << "selected, it is drawn again";
  EXPECT_EQ(Sink.Clicks, (std::vector<AnsiString>{"Fancy"}));
}

// A menu with images draws its items itself, as the system would, with the
// image in the check column; the sizes it gives are those MeasureItem gives.
TEST_F(FormMenus, MenuWithImagesDrawsImagesChecksAndText) {
  auto* Images = new TImageList(Form, 16, 16);
  TBitmap Red;
  Red.SetSize(16, 16);
  Red.Canvas()->Brush()->SetColor(clRed);
  Red.Canvas()->FillRect({0, 0, 16, 16});
  Images->Add(&Red, nullptr);
  auto* Menu = new TPopupMenu(Form);
  Menu->SetImages(Images);
  TMenuItem* Pic = Add(Menu->Items(), "Pic", "&Picture", ShortCut('P', TShiftState{ssCtrl}));
  Pic->SetImageIndex(0);
  TMenuItem* Ticked = Add(Menu->Items(), "Ticked", "&Ticked");
  Ticked->SetChecked(true);
  Add(Menu->Items(), "Line", "-");
  TMenuItem* Off = Add(Menu->Items(), "Off", "&Off");
  Off->SetEnabled(false);
  ShowForm();
  ASSERT_TRUE(Pic->IsOwnerDraw());
  TRect Rows[4];
  int Expected[4] = {};
  bool Seen = false, Red16 = false, TickInk = false, OffGray = false;
  Screen().SetIdleHandler([&] {
    if (!TrackedMenu()) return false;
    for (UINT I = 0; I < 4; ++I) GetMenuItemRect(nullptr, Menu->Handle(), I, &Rows[I]);
    auto Ink = [&](const TRect& R, COLORREF C) {
      for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
          if (Screen().ScreenPixel(X, Y) == C) return true;
      return false;
    };
    int Col = GetSystemMetrics(SM_CXMENUCHECK) + 6;
    Red16 = Screen().ScreenPixel(Rows[0].Left + Col / 2, (Rows[0].Top + Rows[0].Bottom) / 2) == RGB(255, 0, 0);
    TickInk = Ink({Rows[1].Left, Rows[1].Top, Rows[1].Left + Col, Rows[1].Bottom}, GetSysColor(COLOR_MENUTEXT));
    OffGray = Ink(Rows[3], GetSysColor(COLOR_GRAYTEXT)) && !Ink(Rows[3], GetSysColor(COLOR_MENUTEXT));
    if (const char* Dir = std::getenv("SX_SCREENSHOT_DIR")) {
      TRect W;
      GetWindowRect(OpenMenuWindows().at(0), &W);
      Screen().SaveScreenshot(std::string(Dir) + "/menus-images.png", &W);
    }
    Seen = true;
    EndMenu();
    return true;
  });
  Menu->Popup(150, 150);
  ASSERT_TRUE(Seen);
  EXPECT_TRUE(Red16) << "the image in the check column";
  EXPECT_TRUE(TickInk) << "a check mark where there is no image";
  EXPECT_TRUE(OffGray) << "disabled text is grey";
  // Heights as MeasureItem gives them on the menu font.
  TCanvas C;
  HDC Dc = GetDC(nullptr);
  C.SetHandle(Dc);
  C.SetFont(::Screen->MenuFont());
  for (int I = 0; I < 4; ++I) {
    Integer W = 0, H = 0;
    Menu->Items()->Items(I)->MeasureItem(&C, W, H);
    Expected[I] = H;
  }
  C.SetHandle(nullptr);
  ReleaseDC(nullptr, Dc);
  for (int I = 0; I < 4; ++I) EXPECT_EQ(Rows[I].Height(), Expected[I]) << I;
}

// A key pressed in a control of the form reaches, in order: the control's
// popup menu, the form's OnShortCut, its main menu, its action lists.
TEST_F(FormMenus, ShortCutsReachItemsAndActionsThroughTheForm) {
  auto* Main = new TMainMenu(Form);
  TMenuItem* File = Add(Main->Items(), "File", "&File");
  TMenuItem* Open = Add(File, "Open", "&Open", ShortCut('O', TShiftState{ssCtrl}));
  TMenuItem* Gone = Add(File, "Gone", "&Gone", ShortCut('G', TShiftState{ssCtrl}));
  Gone->SetEnabled(false);
  Form->SetMenu(Main);
  auto* Popup = new TPopupMenu(Form);
  Add(Popup->Items(), "Cut", "Cu&t", ShortCut('X', TShiftState{ssCtrl}));
  Edit->SetPopupMenu(Popup);
  auto* List = new TActionList(Form);
  auto* Save = new TAction(Form);
  Save->SetActionList(List);
  Save->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
  Save->OnExecute = TNotifyEvent(&Sink, &TSink::Execute);
  Form->OnShortCut = TShortCutEvent(&Sink, &TSink::OnShortCut);
  ShowForm();
  (void)Open;

  auto Press = [&](WORD Key, bool Ctrl) {
    if (Ctrl) Screen().KeyDown(VK_CONTROL);
    Screen().KeyPress(Key);
    if (Ctrl) Screen().KeyUp(VK_CONTROL);
    Pump();
  };
  Press('O', true);
  Press('X', true);
  Press('S', true);
  Press(VK_F2, false);
  Press('G', true);
  // The parent of a main menu item hears of the shortcut first, as if its
  // menu opened (its OnClick may update the item); a disabled item's
  // shortcut then does nothing.
  EXPECT_EQ(Sink.Clicks, (std::vector<AnsiString>{"File", "Open", "Cut", "action", "form F2", "File"}));
  EXPECT_EQ(Edit->GetText(), "") << "the shortcuts' keys never reached the edit";

  // CM_ISSHORTCUT asks the form directly.
  EXPECT_EQ(Form->Perform(CM_ISSHORTCUT, 'O', 0), 0) << "plain O is no shortcut";
}

TEST_F(FormMenus, MenuBarOpensWithAltAndAMnemonic) {
  auto* Main = new TMainMenu(Form);
  TMenuItem* File = Add(Main->Items(), "File", "&File");
  Add(File, "Open", "&Open");
  Add(File, "Exit", "E&xit");
  TMenuItem* Edit1 = Add(Main->Items(), "EditMenu", "&Edit");
  Add(Edit1, "Copy", "&Copy");
  Form->SetMenu(Main);
  ShowForm();
  TRect Client;
  GetClientRect(Form->Handle(), &Client);
  EXPECT_EQ(Form->ClientHeight(), Client.Height());

  // Alt+F opens File on its first item; Down, Enter runs Exit.
  Screen().KeyDown(VK_MENU);
  Screen().KeyPress('F');
  Screen().KeyUp(VK_MENU);
  Screen().KeyPress(VK_DOWN);
  Screen().KeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(Sink.Clicks, (std::vector<AnsiString>{"File", "Exit"}));

  // Alt alone selects the bar; Right moves to Edit, Down opens it.
  Sink.Clicks.clear();
  Screen().KeyPress(VK_MENU);
  Screen().KeyPress(VK_RIGHT);
  Screen().KeyPress(VK_DOWN);
  Screen().KeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(Sink.Clicks, (std::vector<AnsiString>{"EditMenu", "Copy"}));

  // A click on the bar opens the menu under it; a click on an item runs it.
  Sink.Clicks.clear();
  TRect Title, Item;
  ASSERT_TRUE(GetMenuItemRect(Form->Handle(), Main->Handle(), 0, &Title));
  int Round = 0;
  Screen().SetIdleHandler([&] {
    if (!TrackedMenu()) return false;
    if (Round++ == 0 && GetMenuItemRect(nullptr, File->Handle(), 0, &Item)) {
      Screen().MouseMove(Item.Left + 5, Item.Top + 3);
      Screen().Click(Item.Left + 5, Item.Top + 3);
    } else if (Round > 5) {
      EndMenu();
    }
    return true;
  });
  Screen().Click(Title.Left + 4, Title.Top + 4);
  Pump();
  EXPECT_EQ(Sink.Clicks, (std::vector<AnsiString>{"File", "Open"}));
}
}  // namespace
