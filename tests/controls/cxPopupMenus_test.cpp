// Popup menus of the look-and-feel controls: the helpers that show a menu,
// find an item's shortcut and foretell a menu's height, and a control's own
// popup menu opened by the mouse and the keyboard.
#include "ControlsWindowTest.h"

#include <functional>
#include "controls/base/cxControls.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Screen.h"
#include "platform/gdi/ImageList.h"
#include "platform/rtl/ShortCuts.h"
#include "platform/win/Menus.h"
#include "platform/win/SysMetrics.h"

namespace {
// A component that shows a menu of its own, as a bar library's popup does.
class TProviderMenu : public TComponent, public IcxPopupMenuProvider {
public:
  explicit TProviderMenu(TComponent* AOwner) : TComponent(AOwner) {}
  std::vector<TPoint> Shown;
  WPARAM Key = 0;
  bool IsShortCut(TMessage& Message) override { return Message.WParam == Key; }
  void Popup(Integer X, Integer Y) override { Shown.push_back({X, Y}); }
};

class TSink : public TObject {
public:
  std::vector<AnsiString> Clicks;
  void Click(TObject* Sender) { Clicks.push_back(static_cast<TComponent*>(Sender)->GetName()); }
  void Measure(TObject*, TCanvas*, Integer& Width, Integer& Height) {
    Width = 120;
    Height = 31;
  }
  void Draw(TObject*, TCanvas*, TRect, bool) {}
  int Popups = 0;
  void Popped(TObject*) { ++Popups; }
  void TakeContext(TObject*, TPoint, bool& Handled) { Handled = true; }
};

class CxPopupMenus : public ControlsWindowTest {
protected:
  void SetUp() override {
    ControlsWindowTest::SetUp();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(50, 50, 400, 300);
    Control = new TcxControl(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(10, 10, 200, 150);
    Menu = new TPopupMenu(Form.get());
  }
  void TearDown() override {
    D().SetIdleHandler(nullptr);
    Form.reset();
    ControlsWindowTest::TearDown();
  }
  void Show() {
    Form->Show();
    Control->SetFocus();
    Pump();
  }
  TMenuItem* Add(const char* Name, const char* Caption, TShortCut Sc = 0) {
    auto* I = new TMenuItem(Form.get());
    I->SetName(Name);
    I->SetCaption(Caption);
    I->SetShortCut(Sc);
    I->OnClick = TNotifyEvent(&Sink, &TSink::Click);
    Menu->Items()->Add(I);
    return I;
  }
  // The height of the menu's window while it is open.
  int OpenHeight() {
    int Height = -1;
    D().SetIdleHandler([&] {
      if (!TrackedMenu()) return false;
      TRect W;
      GetWindowRect(OpenMenuWindows().at(0), &W);
      Height = W.Height();
      EndMenu();
      return true;
    });
    Menu->Popup(100, 80);
    D().SetIdleHandler(nullptr);
    return Height;
  }
  std::unique_ptr<TForm> Form;
  TcxControl* Control = nullptr;
  TPopupMenu* Menu = nullptr;
  TSink Sink;
};
}  // namespace

TEST_F(CxPopupMenus, CalculatedHeightIsTheOpenMenusHeight) {
  EXPECT_EQ(CalcPopupMenuHeight(Menu), 4) << "no visible items: the frame alone";
  Show();
  Add("Open", "&Open", ShortCut('O', TShiftState{ssCtrl}));
  Add("Line1", "-");
  Add("Hidden", "Hidden")->SetVisible(false);
  Add("Save", "&Save");
  EXPECT_EQ(CalcPopupMenuHeight(Menu), OpenHeight()) << "text items and a separator";
  // Drawing events are read when the item joins the menu.
  auto* Tall = new TMenuItem(Form.get());
  Tall->SetCaption("Tall");
  Tall->OnMeasureItem = TMenuMeasureItemEvent(&Sink, &TSink::Measure);
  Tall->OnDrawItem = TMenuDrawItemEvent(&Sink, &TSink::Draw);
  Menu->Items()->Add(Tall);
  EXPECT_EQ(CalcPopupMenuHeight(Menu), OpenHeight()) << "an item drawn by its owner";
  // Images taller than the text make every item (separators too) the
  // menu's to draw and measure.
  auto* Images = new TImageList(Form.get(), 24, 24);
  TBitmap Pic;
  Pic.SetSize(24, 24);
  Images->Add(&Pic, nullptr);
  Menu->SetImages(Images);
  Menu->Items()->Items(0)->SetImageIndex(0);
  EXPECT_EQ(CalcPopupMenuHeight(Menu), OpenHeight()) << "a menu with images";
  Menu->SetImages(nullptr);
  Menu->SetOwnerDraw(true);
  EXPECT_EQ(CalcPopupMenuHeight(Menu), OpenHeight()) << "an owner-drawn menu";
}

TEST_F(CxPopupMenus, PopupMenuAtPosShowsProvidersAndAutoPopupMenusOnly) {
  auto* Provider = new TProviderMenu(Form.get());
  auto* Other = new TComponent(Form.get());
  Show();
  Add("Undo", "&Undo");
  EXPECT_FALSE(PopupMenuAtPos(Control, nullptr, 5, 5));
  EXPECT_FALSE(PopupMenuAtPos(Control, Other, 5, 5));
  EXPECT_TRUE(PopupMenuAtPos(Control, Provider, 30, 40));
  EXPECT_EQ(Provider->Shown, (std::vector<TPoint>{{30, 40}}));
  Menu->AutoPopup = false;
  EXPECT_FALSE(PopupMenuAtPos(Control, Menu, 30, 40));
  EXPECT_FALSE(TrackedMenu());
  Menu->AutoPopup = true;
  D().KeyPress(VK_ESCAPE);
  EXPECT_TRUE(PopupMenuAtPos(Control, Menu, 30, 40));
  EXPECT_EQ(Menu->PopupComponent, Control);
  EXPECT_EQ(Menu->PopupPoint, TPoint(30, 40));
  // Only a menu or a provider can be a control's popup menu.
  Control->SetPopupMenu(Other);
  EXPECT_EQ(Control->GetPopupMenu(), nullptr);
  Control->SetPopupMenu(Provider);
  EXPECT_EQ(Control->GetPopupMenu(), Provider);
  delete Provider;
  EXPECT_EQ(Control->GetPopupMenu(), nullptr) << "a freed menu leaves the control";
}

TEST_F(CxPopupMenus, RightClickAndMenuKeyOpenTheControlsMenu) {
  int& Popups = Sink.Popups;
  Menu->OnPopup = TNotifyEvent(&Sink, &TSink::Popped);
  Add("Undo", "&Undo");
  Control->SetPopupMenu(Menu);
  Show();
  const TPoint P = At(Control, {60, 70});
  D().Click(P.X, P.Y, TInputButton::Right);
  D().KeyPress(VK_ESCAPE);
  Pump();
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(Menu->PopupPoint, P) << "at the mouse";
  EXPECT_EQ(Menu->PopupComponent, Control);
  // The menu key opens it at the control's corner; U chooses the item.
  D().KeyPress(VK_APPS);
  D().KeyPress('U');
  Pump();
  EXPECT_EQ(Popups, 2);
  EXPECT_EQ(Menu->PopupPoint, At(Control, {0, 0}));
  EXPECT_EQ(Sink.Clicks, (std::vector<AnsiString>{"Undo"}));
  // An OnContextPopup that handles the request keeps the menu shut.
  Control->OnContextPopup = TContextPopupEvent(&Sink, &TSink::TakeContext);
  D().Click(P.X, P.Y, TInputButton::Right);
  D().KeyPress(VK_ESCAPE);
  Pump();
  EXPECT_EQ(Popups, 2);
}

TEST_F(CxPopupMenus, ShortcutOfThePopupMenuRunsItsItemFromInnerControls) {
  // The menu belongs to an outer control; the key is pressed in one inside it.
  auto* Inner = new TcxControl(Form.get());
  Inner->SetParent(Control);
  Inner->SetBounds(10, 10, 80, 60);
  Add("Find", "&Find", ShortCut('K', TShiftState{ssCtrl}));
  Add("Off", "Of&f", ShortCut('J', TShiftState{ssCtrl}))->SetEnabled(false);
  Control->SetPopupMenu(Menu);
  Form->Show();
  Inner->SetFocus();
  Pump();
  auto Chord = [&](WORD Key) {
    D().KeyDown(VK_CONTROL);
    D().KeyPress(Key);
    D().KeyUp(VK_CONTROL);
    Pump();
  };
  Chord('K');
  Chord('J');
  EXPECT_EQ(Sink.Clicks, (std::vector<AnsiString>{"Find"})) << "a disabled item's shortcut is no shortcut";
  TMessage M{};
  M.Msg = CN_KEYDOWN;
  M.WParam = 'K';
  EXPECT_FALSE(IsPopupMenuShortCutKey(nullptr, M));
  // A provider answers for its own items.
  auto* Provider = new TProviderMenu(Form.get());
  Provider->Key = VK_F7;
  Inner->SetPopupMenu(Provider);
  M.WParam = VK_F7;
  EXPECT_TRUE(IsPopupMenuShortCutKey(Provider, M));
  EXPECT_TRUE(Inner->IsPopupMenuShortCut(M));
}
