// The class library's common controls, panels and glyph buttons on a form
// read from its text description, driven through the message queue.
#include <memory>

#include "ComCtrlsTestSupport.h"
#include "platform/forms/Application.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ControlDrag.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Panels.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/VirtualKeys.h"

namespace {

const char* const FormText = R"(object ComCtrlsForm: TComCtrlsForm
  Left = 100
  Top = 50
  BorderStyle = bsNone
  Caption = 'Controls'
  ClientHeight = 300
  ClientWidth = 460
  Color = clBtnFace
  object Pages: TPageControl
    Left = 8
    Top = 8
    Width = 220
    Height = 150
    ActivePage = FirstSheet
    TabOrder = 0
    OnChange = PagesChange
    OnChanging = PagesChanging
    object FirstSheet: TTabSheet
      Caption = '&First'
      object Tree: TTreeView
        Left = 0
        Top = 0
        Width = 200
        Height = 100
        DragMode = dmAutomatic
        HideSelection = False
        Indent = 19
        TabOrder = 0
        OnStartDrag = TreeStartDrag
      end
    end
    object HiddenSheet: TTabSheet
      Caption = 'Hidden'
      TabVisible = False
    end
    object ThirdSheet: TTabSheet
      Caption = 'Third'
      object List: TListView
        Left = 0
        Top = 0
        Width = 200
        Height = 110
        Columns = <
          item
            Caption = 'Name'
            Width = 100
          end
          item
            Alignment = taRightJustify
            Caption = 'Size'
            Width = 60
          end>
        DragMode = dmAutomatic
        MultiSelect = True
        ViewStyle = vsReport
        TabOrder = 0
      end
    end
  end
  object DropPanel: TPanel
    Left = 240
    Top = 8
    Width = 200
    Height = 60
    BevelInner = bvLowered
    BevelWidth = 2
    BorderWidth = 3
    Caption = 'Drop here'
    TabOrder = 1
    OnDragDrop = DropPanelDragDrop
    OnDragOver = DropPanelDragOver
  end
  object Line: TBevel
    Left = 240
    Top = 80
    Width = 200
    Height = 2
    Shape = bsTopLine
  end
  object Box: TShape
    Left = 240
    Top = 90
    Width = 40
    Height = 30
    Brush.Color = clRed
    Shape = stEllipse
  end
  object Picture: TImage
    Left = 290
    Top = 90
    Width = 40
    Height = 30
    Center = True
    Stretch = True
  end
  object Scroller: TScrollBox
    Left = 340
    Top = 90
    Width = 100
    Height = 60
    TabOrder = 2
    object Far: TPanel
      Left = 10
      Top = 150
      Width = 50
      Height = 20
      TabOrder = 0
    end
  end
  object Bold: TSpeedButton
    Left = 8
    Top = 170
    Width = 23
    Height = 22
    GroupIndex = 1
    Down = True
    Caption = 'B'
  end
  object Italic: TSpeedButton
    Left = 31
    Top = 170
    Width = 23
    Height = 22
    GroupIndex = 1
    Caption = 'I'
    Flat = True
  end
  object OkBtn: TBitBtn
    Left = 280
    Top = 260
    Width = 75
    Height = 25
    Kind = bkOK
    TabOrder = 3
  end
  object CancelBtn: TBitBtn
    Left = 365
    Top = 260
    Width = 75
    Height = 25
    Kind = bkCancel
    TabOrder = 4
  end
end
)";

class TComCtrlsForm : public TForm {
  SX_CLASS(TComCtrlsForm, TForm)
public:
  explicit TComCtrlsForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
  static void Published(TPublished<TComCtrlsForm>& P) {
    P.Property("Pages", &TComCtrlsForm::Pages, &TComCtrlsForm::Pages).Stored(false);
    P.Property("FirstSheet", &TComCtrlsForm::FirstSheet, &TComCtrlsForm::FirstSheet).Stored(false);
    P.Property("HiddenSheet", &TComCtrlsForm::HiddenSheet, &TComCtrlsForm::HiddenSheet).Stored(false);
    P.Property("ThirdSheet", &TComCtrlsForm::ThirdSheet, &TComCtrlsForm::ThirdSheet).Stored(false);
    P.Property("Tree", &TComCtrlsForm::Tree, &TComCtrlsForm::Tree).Stored(false);
    P.Property("List", &TComCtrlsForm::List, &TComCtrlsForm::List).Stored(false);
    P.Property("DropPanel", &TComCtrlsForm::DropPanel, &TComCtrlsForm::DropPanel).Stored(false);
    P.Property("Line", &TComCtrlsForm::Line, &TComCtrlsForm::Line).Stored(false);
    P.Property("Box", &TComCtrlsForm::Box, &TComCtrlsForm::Box).Stored(false);
    P.Property("Picture", &TComCtrlsForm::Picture, &TComCtrlsForm::Picture).Stored(false);
    P.Property("Scroller", &TComCtrlsForm::Scroller, &TComCtrlsForm::Scroller).Stored(false);
    P.Property("Far", &TComCtrlsForm::Far, &TComCtrlsForm::Far).Stored(false);
    P.Property("Bold", &TComCtrlsForm::Bold, &TComCtrlsForm::Bold).Stored(false);
    P.Property("Italic", &TComCtrlsForm::Italic, &TComCtrlsForm::Italic).Stored(false);
    P.Property("OkBtn", &TComCtrlsForm::OkBtn, &TComCtrlsForm::OkBtn).Stored(false);
    P.Property("CancelBtn", &TComCtrlsForm::CancelBtn, &TComCtrlsForm::CancelBtn).Stored(false);
    P.Method("PagesChange", &TComCtrlsForm::PagesChange);
    P.Method("PagesChanging", &TComCtrlsForm::PagesChanging);
    P.Method("TreeStartDrag", &TComCtrlsForm::TreeStartDrag);
    P.Method("DropPanelDragOver", &TComCtrlsForm::DropPanelDragOver);
    P.Method("DropPanelDragDrop", &TComCtrlsForm::DropPanelDragDrop);
  }
  TPageControl* Pages = nullptr;
  TTabSheet *FirstSheet = nullptr, *HiddenSheet = nullptr, *ThirdSheet = nullptr;
  TTreeView* Tree = nullptr;
  TListView* List = nullptr;
  TPanel* DropPanel = nullptr;
  TBevel* Line = nullptr;
  TShape* Box = nullptr;
  TImage* Picture = nullptr;
  TScrollBox* Scroller = nullptr;
  TPanel* Far = nullptr;
  TSpeedButton *Bold = nullptr, *Italic = nullptr;
  TBitBtn *OkBtn = nullptr, *CancelBtn = nullptr;

  int Changes = 0;
  bool AllowChange = true;
  int StartDrags = 0;
  TObject* DroppedFrom = nullptr;
  std::vector<AnsiString> Dropped;
  void PagesChange(TObject*) { ++Changes; }
  void PagesChanging(TObject*, bool& Allow) { Allow = AllowChange; }
  void TreeStartDrag(TObject*, TDragObject*&) { ++StartDrags; }
  void DropPanelDragOver(TObject*, TObject*, Integer, Integer, TDragState, bool& Accept) { Accept = true; }
  void DropPanelDragDrop(TObject*, TObject* Source, Integer, Integer) {
    DroppedFrom = Source;
    if (Source == List)
      for (TListItem* I = List->GetSelected(); I; I = List->GetNextItem(I, sdAll, {isSelected}))
        Dropped.push_back(I->GetCaption());
    if (Source == Tree && Tree->GetSelected()) Dropped.push_back(Tree->GetSelected()->GetText());
  }
};

class ComCtrlsFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetDisplay(nullptr);
    RegisterFormsClasses();
    RegisterClasses({TComCtrlsForm::StaticClass()});
    RegisterFormDescription("TComCtrlsForm", FormText);
    ResetWindowSystem();
    UseVirtualClock(100000);
    App = std::make_unique<TApplication>(nullptr);
  }
  void TearDown() override {
    Form.reset();
    App.reset();
    UnregisterFormDescription("TComCtrlsForm");
    ResetWindowSystem();
    UseRealClock();
    SetDisplay(nullptr);
  }
  TComCtrlsForm* Show() {
    Form = std::make_unique<TComCtrlsForm>(nullptr);
    Form->Show();
    Pump();
    return Form.get();
  }
  void Pump() { App->ProcessMessages(); }
  THeadlessDisplay& D() { return HeadlessDisplay(); }
  TPoint At(TControl* C, TPoint P) { return C->ClientToScreen(P); }
  void ClickAt(TControl* C, TPoint P) {
    AdvanceClock(1000);
    const TPoint S = At(C, P);
    D().Click(S.X, S.Y);
    Pump();
  }
  // Presses at From in Source, moves in steps to To in Target, releases.
  void DragTo(TControl* Source, TPoint From, TControl* Target, TPoint To) {
    AdvanceClock(1000);
    const TPoint A = At(Source, From), B = At(Target, To);
    D().MouseDown(A.X, A.Y);
    Pump();
    for (int i = 1; i <= 4; ++i) {
      D().MouseMove(A.X + (B.X - A.X) * i / 4, A.Y + (B.Y - A.Y) * i / 4);
      Pump();
    }
    D().MouseUp(B.X, B.Y);
    Pump();
  }
  COLORREF Pixel(TControl* C, int X, int Y) {
    const TPoint S = At(C, {X, Y});
    return D().ScreenPixel(S.X, S.Y);
  }
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TComCtrlsForm> Form;
};

std::vector<AnsiString> NodeTexts(TTreeNode* First) {
  std::vector<AnsiString> R;
  for (TTreeNode* N = First; N; N = N->GetNextSibling()) R.push_back(N->GetText());
  return R;
}
}  // namespace

TEST_F(ComCtrlsFormTest, DescriptionLoadsEveryControlWithItsProperties) {
  TComCtrlsForm* F = Show();
  ASSERT_NE(F->Pages, nullptr);
  EXPECT_EQ(F->Pages->PageCount(), 3);
  EXPECT_EQ(F->Pages->GetActivePage(), F->FirstSheet);
  EXPECT_EQ(F->Pages->TabCount(), 2);
  EXPECT_FALSE(F->HiddenSheet->GetTabVisible());
  EXPECT_EQ(F->Tree->GetParent(), F->FirstSheet);
  EXPECT_EQ(F->Tree->GetDragMode(), dmAutomatic);
  EXPECT_EQ(F->List->GetViewStyle(), vsReport);
  ASSERT_EQ(F->List->GetColumns()->Count(), 2);
  EXPECT_EQ(F->List->GetColumns()->Items(1)->GetCaption(), "Size");
  EXPECT_EQ(F->List->GetColumns()->Items(1)->GetAlignment(), taRightJustify);
  EXPECT_TRUE(F->List->GetMultiSelect());
  EXPECT_EQ(F->DropPanel->GetBevelInner(), bvLowered);
  EXPECT_EQ(F->DropPanel->GetBorderWidth(), 3);
  EXPECT_EQ(F->DropPanel->GetCaption(), "Drop here");
  EXPECT_EQ(F->Line->GetShape(), bsTopLine);
  EXPECT_EQ(F->Box->GetBrush()->GetColor(), clRed);
  EXPECT_TRUE(F->Picture->GetStretch());
  EXPECT_EQ(F->OkBtn->GetCaption(), "OK");
  EXPECT_EQ(F->OkBtn->GetModalResult(), mrOk);
  EXPECT_TRUE(F->OkBtn->GetDefault());
  EXPECT_TRUE(F->CancelBtn->GetCancel());
  EXPECT_TRUE(F->Bold->GetDown());
  EXPECT_TRUE(F->Italic->GetFlat());
  // The panel's children sit inside its bevels and border (2 + 3 + 2).
  TRect Inside = F->DropPanel->GetClientRect();
  TPanel Probe(nullptr);
  Probe.SetParent(F->DropPanel);
  Probe.SetAlign(alClient);
  EXPECT_EQ(Probe.BoundsRect(), TRect(7, 7, Inside.Right - 7, Inside.Bottom - 7));
  Probe.SetParent(nullptr);
}

TEST_F(ComCtrlsFormTest, PageControlSwitchesByMouseAndCtrlTab) {
  TComCtrlsForm* F = Show();
  TPageControl* P = F->Pages;
  EXPECT_TRUE(F->FirstSheet->GetVisible());
  EXPECT_FALSE(F->ThirdSheet->GetVisible());
  // The second tab shown is the third sheet: the hidden one has no tab.
  const TRect Tab = P->TabRect(1);
  ClickAt(P, {(Tab.Left + Tab.Right) / 2, (Tab.Top + Tab.Bottom) / 2});
  EXPECT_EQ(P->GetActivePage(), F->ThirdSheet);
  EXPECT_TRUE(F->ThirdSheet->GetVisible());
  EXPECT_FALSE(F->FirstSheet->GetVisible());
  EXPECT_EQ(F->Changes, 1);
  EXPECT_EQ(F->ThirdSheet->BoundsRect(), P->DisplayRect());
  EXPECT_TRUE(P->Focused());

  struct TStep {
    bool Shift;
    TTabSheet* TComCtrlsForm::*Want;
  };
  const TStep Steps[] = {{false, &TComCtrlsForm::FirstSheet},
                         {false, &TComCtrlsForm::ThirdSheet},
                         {true, &TComCtrlsForm::FirstSheet}};
  for (const TStep& S : Steps) {
    D().KeyDown(VK_CONTROL);
    if (S.Shift) D().KeyDown(VK_SHIFT);
    D().KeyPress(VK_TAB);
    if (S.Shift) D().KeyUp(VK_SHIFT);
    D().KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(P->GetActivePage(), F->*S.Want);
  }
  EXPECT_EQ(F->Changes, 4);
  // OnChanging may refuse: the page stays and OnChange does not run.
  F->AllowChange = false;
  const TRect Tab1 = P->TabRect(1);
  ClickAt(P, {(Tab1.Left + Tab1.Right) / 2, (Tab1.Top + Tab1.Bottom) / 2});
  EXPECT_EQ(P->GetActivePage(), F->FirstSheet);
  EXPECT_EQ(F->Changes, 4);
  // A plain Tab still moves the focus on.
  F->AllowChange = true;
  D().KeyPress(VK_TAB);
  Pump();
  EXPECT_EQ(P->GetActivePage(), F->FirstSheet);
  EXPECT_FALSE(P->Focused());
}

TEST_F(ComCtrlsFormTest, TreeNodesExpandSortDeleteAndSurviveARecreatedWindow) {
  TComCtrlsForm* F = Show();
  TTreeNodes* Items = F->Tree->GetItems();
  TTreeNode* Docs = Items->Add(nullptr, "Documents");
  TTreeNode* Zeta = Items->AddChild(Docs, "zeta.rtf");
  Items->AddChild(Docs, "Alpha.rtf");
  Items->AddChild(Docs, "mid.rtf");
  TTreeNode* Music = Items->Add(Docs, "Music");
  Music->SetHasChildren(true);
  int Expanding = 0;
  struct TWatch : TObject {
    int* Count;
    void Expanding(TObject*, TTreeNode* N, bool& Allow) {
      ++*Count;
      if (!N->GetFirstChild()) N->Owner()->AddChild(N, "made on demand");
      Allow = true;
    }
    std::vector<AnsiString> Deleted;
    void Deletion(TObject*, TTreeNode* N) { Deleted.push_back(N->GetText()); }
  } W;
  W.Count = &Expanding;
  F->Tree->OnExpanding = TTVExpandingEvent(&W, &TWatch::Expanding);
  F->Tree->OnDeletion = TTVExpandedEvent(&W, &TWatch::Deletion);

  EXPECT_EQ(Items->Count(), 5);
  EXPECT_EQ(Zeta->GetParent(), Docs);
  EXPECT_EQ(Docs->Count(), 3);
  EXPECT_EQ(Items->Item(4), Music);
  Music->Expand(false);
  EXPECT_EQ(Expanding, 1);
  EXPECT_EQ(Music->GetFirstChild()->GetText(), "made on demand");
  EXPECT_TRUE(Music->GetExpanded());

  Docs->AlphaSort();
  EXPECT_EQ(NodeTexts(Docs->GetFirstChild()), (std::vector<AnsiString>{"Alpha.rtf", "mid.rtf", "zeta.rtf"}));
  Zeta->SetSelected(true);
  EXPECT_EQ(F->Tree->GetSelected(), Zeta);
  EXPECT_TRUE(Docs->GetExpanded()) << "selecting opens the way to the node";

  // A new border needs a new window: the nodes come back in shape.
  F->Tree->SetBorderStyle(bsNone);
  TTreeNode* First = Items->GetFirstNode();
  ASSERT_NE(First, nullptr);
  EXPECT_EQ(First->GetText(), "Documents");
  EXPECT_EQ(NodeTexts(First->GetFirstChild()), (std::vector<AnsiString>{"Alpha.rtf", "mid.rtf", "zeta.rtf"}));
  EXPECT_TRUE(First->GetExpanded());

  First->Delete();
  EXPECT_EQ(W.Deleted.size(), 4u);
  EXPECT_EQ(Items->Count(), 2);
  Items->Clear();
  EXPECT_EQ(Items->GetFirstNode(), nullptr);
}

TEST_F(ComCtrlsFormTest, DraggingListItemsDropsTheSelectionOnThePanel) {
  TComCtrlsForm* F = Show();
  F->Pages->SetActivePage(F->ThirdSheet);
  Pump();
  TListView* L = F->List;
  for (const char* Name : {"one.rtf", "two.rtf", "three.rtf", "four.rtf"}) {
    TListItem* I = L->GetItems()->Add();
    I->SetCaption(Name);
    I->SubItems()->Add("1 KB");
  }
  EXPECT_EQ(L->GetItems()->Count(), 4);
  EXPECT_EQ(L->GetItems()->Item(2)->Index(), 2);
  L->GetItems()->Item(1)->SetSelected(true);
  L->GetItems()->Item(3)->SetSelected(true);
  EXPECT_EQ(L->SelCount(), 2);
  // Drag from the selected item "four.rtf" onto the panel.
  const TRect R = L->GetItems()->Item(3)->DisplayRect(LVIR_LABEL);
  DragTo(L, {R.Left + 10, (R.Top + R.Bottom) / 2}, F->DropPanel, {50, 30});
  EXPECT_EQ(F->DroppedFrom, L);
  EXPECT_EQ(F->Dropped, (std::vector<AnsiString>{"two.rtf", "four.rtf"}));
  EXPECT_EQ(DragControl(), nullptr) << "the drag ended";

  // Sorting by caption keeps items with their sub-items; select-all and
  // clearing reach every item.
  L->AlphaSort();
  EXPECT_EQ(L->GetItems()->Item(0)->GetCaption(), "four.rtf");
  L->SelectAll();
  EXPECT_EQ(L->SelCount(), 4);
  L->ClearSelection();
  EXPECT_EQ(L->SelCount(), 0);
  L->GetItems()->Delete(0);
  EXPECT_EQ(L->GetItems()->Count(), 3);
}

TEST_F(ComCtrlsFormTest, DraggingATreeNodeStartsTheLibrarysDrag) {
  TComCtrlsForm* F = Show();
  TTreeNode* A = F->Tree->GetItems()->Add(nullptr, "first");
  TTreeNode* B = F->Tree->GetItems()->Add(nullptr, "second");
  const TRect R = B->DisplayRect(true);
  DragTo(F->Tree, {R.Left + 5, (R.Top + R.Bottom) / 2}, F->DropPanel, {20, 20});
  EXPECT_EQ(F->StartDrags, 1);
  EXPECT_EQ(F->DroppedFrom, F->Tree);
  EXPECT_EQ(F->Dropped, (std::vector<AnsiString>{"second"}));
  (void)A;
}

TEST_F(ComCtrlsFormTest, ButtonsAnswerKeysGroupsAndClicks) {
  TComCtrlsForm* F = Show();
  // Speed buttons of one group: one is down at a time, the last stays down.
  ClickAt(F->Italic, {10, 10});
  EXPECT_TRUE(F->Italic->GetDown());
  EXPECT_FALSE(F->Bold->GetDown());
  ClickAt(F->Italic, {10, 10});
  EXPECT_TRUE(F->Italic->GetDown()) << "all up is not allowed";
  F->Bold->SetAllowAllUp(true);
  ClickAt(F->Italic, {10, 10});
  EXPECT_FALSE(F->Italic->GetDown());

  // Enter clicks the default button and Esc the cancel one.
  F->SetActiveControl(F->Scroller);
  D().KeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(F->GetModalResult(), mrOk);
  F->SetModalResult(mrNone);
  D().KeyPress(VK_ESCAPE);
  Pump();
  EXPECT_EQ(F->GetModalResult(), mrCancel);
  F->SetModalResult(mrNone);
  ClickAt(F->OkBtn, {5, 5});
  EXPECT_EQ(F->GetModalResult(), mrOk);
}

TEST_F(ComCtrlsFormTest, ScrollBoxScrollsItsChildrenIntoView) {
  TComCtrlsForm* F = Show();
  TScrollBox* S = F->Scroller;
  SCROLLINFO Si;
  Si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(S->Handle(), SB_VERT, &Si));
  EXPECT_EQ(Si.nMax, 169) << "down to the far child's bottom";
  S->ScrollInView(F->Far);
  EXPECT_GT(S->ScrollPos().Y, 0);
  EXPECT_LE(F->Far->GetTop() + F->Far->GetHeight(), S->ClientHeight());
  EXPECT_GE(F->Far->GetTop(), 0);
  S->ScrollTo({0, 0});
  EXPECT_EQ(F->Far->GetTop(), 150);
}

TEST_F(ComCtrlsFormTest, FormPaintsInTheClassicLook) {
  TComCtrlsForm* F = Show();
  F->Tree->GetItems()->Add(nullptr, "node");
  F->OkBtn->SetFocus();
  Pump();
  TRect R;
  GetWindowRect(F->Handle(), &R);
  D().SaveScreenshot(cctest::ShotPath("comctrls_form.png"), &R);
  struct TProbe {
    TControl* TComCtrlsForm::*Control;
    int X, Y;
    int SysColor;
    const char* Why;
  };
  const TProbe Probes[] = {
      {reinterpret_cast<TControl * TComCtrlsForm::*>(&TComCtrlsForm::DropPanel), 0, 0, COLOR_BTNHIGHLIGHT,
       "panel's raised outer bevel"},
      {reinterpret_cast<TControl * TComCtrlsForm::*>(&TComCtrlsForm::DropPanel), 199, 59, COLOR_BTNSHADOW,
       "its shadow side"},
      {reinterpret_cast<TControl * TComCtrlsForm::*>(&TComCtrlsForm::DropPanel), 5, 5, COLOR_BTNSHADOW,
       "the lowered inner bevel after the border"},
      {reinterpret_cast<TControl * TComCtrlsForm::*>(&TComCtrlsForm::Line), 10, 0, COLOR_BTNSHADOW, "bevel line"},
      {reinterpret_cast<TControl * TComCtrlsForm::*>(&TComCtrlsForm::Line), 10, 1, COLOR_BTNHIGHLIGHT,
       "and its light line"},
      {reinterpret_cast<TControl * TComCtrlsForm::*>(&TComCtrlsForm::OkBtn), 0, 0, COLOR_WINDOWFRAME,
       "default button's dark ring"},
      {reinterpret_cast<TControl * TComCtrlsForm::*>(&TComCtrlsForm::Pages), 210, 5, COLOR_BTNFACE,
       "beside the tabs"},
  };
  for (const TProbe& P : Probes) {
    SCOPED_TRACE(P.Why);
    EXPECT_EQ(Pixel(F->*P.Control, P.X, P.Y), GetSysColor(P.SysColor));
  }
  EXPECT_EQ(Pixel(F->Box, 20, 15), 0x0000FFu) << "the red ellipse's middle";
  EXPECT_EQ(Pixel(F->Box, 1, 1), GetSysColor(COLOR_BTNFACE)) << "outside the ellipse";
}

TEST_F(ComCtrlsFormTest, TreeAndListLabelsAreEditedThroughTheLibrarysEvents) {
  TComCtrlsForm* F = Show();
  TTreeNode* Root = F->Tree->GetItems()->Add(nullptr, "Root");
  TTreeNode* Folder = F->Tree->GetItems()->AddChild(Root, "Folder");
  struct TWatch : TObject {
    int Cancels = 0;
    std::vector<AnsiString> Edited;
    void Editing(TObject*, TTreeNode* N, bool& Allow) { Allow = N->GetText() != "Root"; }
    void Edited1(TObject*, TTreeNode*, AnsiString& S) {
      Edited.push_back(S);
      S += "!";
    }
    void Cancel(TObject*, TTreeNode*) { ++Cancels; }
    // Characters a name may not hold never reach the edit.
    void KeyPress(TObject*, char& Key) {
      if (Key == '/') Key = 0;
    }
    void ListEditing(TObject*, TListItem* I, bool& Allow) { Allow = I->GetCaption() != "locked"; }
    void ListEdited(TObject*, TListItem*, AnsiString& S) { Edited.push_back(S); }
  } W;
  F->Tree->OnEditing = TTVEditingEvent(&W, &TWatch::Editing);
  F->Tree->OnEdited = TTVEditedEvent(&W, &TWatch::Edited1);
  F->Tree->OnCancelEdit = TTVChangedEvent(&W, &TWatch::Cancel);
  F->Tree->OnKeyPress = TKeyPressEvent(&W, &TWatch::KeyPress);
  Root->Expand(false);

  EXPECT_FALSE(Root->EditText()) << "OnEditing refused";
  EXPECT_FALSE(F->Tree->IsEditing());
  ASSERT_TRUE(Folder->EditText());
  EXPECT_TRUE(F->Tree->IsEditing());
  D().TypeText("a/b");
  Pump();
  TRect Area;
  GetWindowRect(F->Tree->Handle(), &Area);
  D().SaveScreenshot(cctest::ShotPath("treeview_label_edit.png"), &Area);
  D().KeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(W.Edited, (std::vector<AnsiString>{"ab"}));
  EXPECT_EQ(Folder->GetText(), "ab!") << "the node takes the handler's text";
  EXPECT_FALSE(F->Tree->IsEditing());
  EXPECT_EQ(F->GetModalResult(), mrNone) << "Enter ended the edit, not the dialog";

  ASSERT_TRUE(Folder->EditText());
  D().TypeText("gone");
  D().KeyPress(VK_ESCAPE);
  Pump();
  EXPECT_EQ(W.Cancels, 1);
  EXPECT_EQ(Folder->GetText(), "ab!");
  EXPECT_EQ(F->GetModalResult(), mrNone) << "Esc cancelled the edit, not the dialog";
  ASSERT_TRUE(Folder->EditText());
  Folder->EndEdit(true);
  EXPECT_EQ(W.Cancels, 2);

  F->Tree->SetReadOnly(true);
  EXPECT_FALSE(Folder->EditText()) << "a read-only tree edits nothing";
  F->Tree->SetReadOnly(false);

  // The list view's captions, on the page that shows it.
  F->Pages->SetActivePage(F->ThirdSheet);
  Pump();
  F->List->OnEditing = TLVEditingEvent(&W, &TWatch::ListEditing);
  F->List->OnEdited = TLVEditedEvent(&W, &TWatch::ListEdited);
  TListItem* One = F->List->GetItems()->Add();
  One->SetCaption("one");
  TListItem* Locked = F->List->GetItems()->Add();
  Locked->SetCaption("locked");
  EXPECT_FALSE(Locked->EditCaption());
  ASSERT_TRUE(One->EditCaption());
  EXPECT_TRUE(F->List->IsEditing());
  D().TypeText("uno");
  D().KeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(One->GetCaption(), "uno");
  EXPECT_EQ(W.Edited.back(), "uno");
  ASSERT_TRUE(One->EditCaption());
  One->CancelEdit();
  EXPECT_FALSE(F->List->IsEditing());
  EXPECT_EQ(One->GetCaption(), "uno");
  F->List->SetReadOnly(true);
  EXPECT_FALSE(One->EditCaption());
}
