// The shell tree and list views on a form over a fixture tree: what they
// show, following a path, filling the list from the tree, and dragging the
// list's selection into an OLE drop target.
#include <algorithm>
#include <memory>

#include "ShellFixtures.h"
#include "platform/forms/Application.h"
#include "platform/forms/ControlDrag.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FormLoader.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Panels.h"
#include "platform/ole/DragDrop.h"
#include "platform/ole/DropFormats.h"
#include "platform/ole/OleApi.h"
#include "platform/rtl/FileUtils.h"
#include "platform/shell/ShellCtrls.h"
#include "platform/shell/ShellData.h"
#include "platform/shell/ShellIcons.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Paint.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

using namespace shelltest;

namespace {

// Records what a drag brings: the files of the data object at the drop.
class TRecordingTarget : public TInterfacedObject, public IDropTarget {
public:
  HRESULT DragEnter(IDataObject* Data, DWORD, TPoint, DWORD* Effect) override {
    ++Enters;
    Offered = Data != nullptr;
    *Effect &= DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT DragOver(DWORD, TPoint, DWORD* Effect) override {
    ++Overs;
    *Effect &= DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT DragLeave() override {
    ++Leaves;
    return S_OK;
  }
  HRESULT Drop(IDataObject* Data, DWORD, TPoint, DWORD* Effect) override {
    std::string Block;
    if (GetDataBytes(Data, CF_HDROP, Block)) HDrop = ReadDropFiles(Block.data(), Block.size());
    FromAnyFormat = FilesFromDataObject(Data);
    *Effect &= DROPEFFECT_COPY;
    return S_OK;
  }
  int Enters = 0, Overs = 0, Leaves = 0;
  bool Offered = false;
  std::vector<std::string> HDrop, FromAnyFormat;

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override {
    return OfferInterface<IDropTarget>(this, IID, Obj) || TInterfacedObject::GetInterface(IID, Obj);
  }
};

class ShellViews : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterFormsClasses();
    ResetWindowSystem();
    UseVirtualClock();
    OleReset();
    OleInitialize(nullptr);
    Tree.Folder("home/docs/letters");
    Tree.Folder("home/docs/skip");
    Tree.Folder("home/pictures");
    Tree.File("home/docs/zeta.rtf");
    Tree.File("home/docs/Alpha.RTF");
    Tree.File("home/docs/beta.doc");
    Tree.File("home/docs/notes.txt");
    Tree.File("home/docs/letters/dear.rtf");
    Tree.File("home/readme.txt");
    App = std::make_unique<TApplication>(nullptr);
    Form = new TForm(App.get());
    Form->SetBounds(40, 40, 480, 260);
    Form->SetCaption("Shell views");
  }
  void TearDown() override {
    ResetDragState();
    App.reset();
    ResetWindowSystem();
    OleReset();
    UseRealClock();
  }
  TShellTreeView* MakeTree() {
    auto* T = new TShellTreeView(Form);
    T->SetBounds(0, 0, 200, 260);
    T->SetRoot(Tree.Home().c_str());
    T->SetParent(Form);
    return T;
  }
  TShellListView* MakeList() {
    auto* L = new TShellListView(Form);
    L->SetBounds(204, 0, 276, 260);
    L->SetObjectTypes(TShellObjectTypes{otNonFolders});
    L->SetMultiSelect(true);
    L->SetParent(Form);
    return L;
  }
  static std::vector<std::string> Children(TTreeNode* N) {
    std::vector<std::string> Out;
    for (TTreeNode* C = N ? N->GetFirstChild() : nullptr; C; C = C->GetNextSibling()) Out.push_back(C->GetText());
    return Out;
  }
  static std::vector<std::string> Captions(TShellListView* L) {
    std::vector<std::string> Out;
    for (Integer I = 0; I < L->GetItems()->Count(); ++I) Out.push_back(L->GetItems()->Item(I)->GetCaption());
    return Out;
  }
  void Pump() { App->ProcessMessages(); }
  THeadlessDisplay& Display() { return HeadlessDisplay(); }

  TFixtureTree Tree;
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
};

struct TFilter : public TObject {
  std::vector<std::string> Asked;
  void SkipNamed(TObject*, TShellFolder* F, bool& CanAdd) {
    Asked.push_back(F->PathName());
    if (ExtractFileName(F->PathName()) == "skip") CanAdd = false;
  }
  void RtfAndDoc(TObject*, TShellFolder* F, bool& CanAdd) { CanAdd = PathMatchSpec(F->PathName(), "*.rtf;*.doc;"); }
};

}  // namespace

TEST_F(ShellViews, TreeShowsFoldersOnlyFilledAsTheyExpand) {
  TFilter Filter;
  TShellTreeView* T = MakeTree();
  T->OnAddFolder = TAddFolderEvent(&Filter, &TFilter::SkipNamed);
  Form->Show();
  Pump();
  TTreeNode* Root = T->GetItems()->GetFirstNode();
  ASSERT_NE(Root, nullptr);
  EXPECT_EQ(Root->GetText(), "Home");
  EXPECT_EQ(Children(Root), (std::vector<std::string>{"Desktop", "docs", "pictures"}));
  TTreeNode* Docs = Root->Item(1);
  // Not listed before it is opened, but it shows that it can be.
  EXPECT_EQ(Docs->Count(), 0);
  EXPECT_TRUE(Docs->GetHasChildren());
  EXPECT_FALSE(Root->Item(2)->GetHasChildren());  // pictures is empty
  Docs->Expand(false);
  EXPECT_EQ(Children(Docs), (std::vector<std::string>{"letters"}));  // "skip" filtered, files never
  EXPECT_TRUE(std::find(Filter.Asked.begin(), Filter.Asked.end(), Tree.Home() + "/docs/skip") != Filter.Asked.end());
}

TEST_F(ShellViews, ListShowsFilesOnlySortedAndFollowsTheTree) {
  TFilter Filter;
  TShellTreeView* T = MakeTree();
  TShellListView* L = MakeList();
  L->OnAddFolder = TAddFolderEvent(&Filter, &TFilter::RtfAndDoc);
  T->SetShellListView(L);
  Form->Show();
  Pump();
  ASSERT_TRUE(T->SetPath((Tree.Home() + "/docs").c_str()));
  EXPECT_EQ(T->GetPath(), Tree.Home() + "/docs");
  EXPECT_EQ(L->RootPath(), Tree.Home() + "/docs");
  EXPECT_EQ(Captions(L), (std::vector<std::string>{"Alpha.RTF", "beta.doc", "zeta.rtf"}));
  EXPECT_EQ(L->Folders(1)->PathName(), Tree.Home() + "/docs/beta.doc");
  // Following a path expands the nodes on the way.
  ASSERT_TRUE(T->SetPath((Tree.Home() + "/docs/letters").c_str()));
  EXPECT_EQ(Captions(L), (std::vector<std::string>{"dear.rtf"}));
  EXPECT_FALSE(T->SetPath("/nonexistent/folder"));
  L->GetItems()->Item(0)->SetSelected(true);
  EXPECT_EQ(L->SelectedPaths(), (std::vector<AnsiString>{Tree.Home() + "/docs/letters/dear.rtf"}));
}

TEST_F(ShellViews, DraggingTheSelectionDeliversItsPathsAsAFileDrop) {
  TShellListView* L = MakeList();
  L->SetRoot((Tree.Home() + "/docs").c_str());
  L->SetDragMode(dmAutomatic);
  auto* Bin = new TPanel(Form);
  Bin->SetBounds(0, 0, 200, 260);
  Bin->SetParent(Form);
  Form->Show();
  Pump();
  auto* Target = new TRecordingTarget;
  TIntfPtr<IDropTarget> Hold(static_cast<IDropTarget*>(Target));
  ASSERT_EQ(RegisterDragDrop(Bin->Handle(), Target), S_OK);
  EXPECT_EQ(RegisterDragDrop(Bin->Handle(), Target), DRAGDROP_E_ALREADYREGISTERED);

  // Items 0 and 2 of four: Alpha.RTF, beta.doc, notes.txt, zeta.rtf.
  ASSERT_EQ(Captions(L), (std::vector<std::string>{"Alpha.RTF", "beta.doc", "notes.txt", "zeta.rtf"}));
  L->GetItems()->Item(0)->SetSelected(true);
  L->GetItems()->Item(2)->SetSelected(true);
  const TRect R = L->GetItems()->Item(2)->DisplayRect(2 /*LVIR_LABEL*/);
  const TPoint Press = L->ClientToScreen({R.Left + 4, (R.Top + R.Bottom) / 2});
  const TPoint Drop = Bin->ClientToScreen({100, 100});
  Display().MouseMove(Press.X, Press.Y);
  Display().MouseDown(Press.X, Press.Y);
  Display().MouseMove(Press.X + 10, Press.Y + 10);  // past the drag threshold: the drag starts
  Display().MouseMove(Drop.X + 5, Drop.Y);
  Display().MouseMove(Drop.X, Drop.Y);
  Display().MouseUp(Drop.X, Drop.Y);
  Pump();

  EXPECT_EQ(Target->Enters, 1);
  EXPECT_EQ(Target->Leaves, 0);
  const std::vector<std::string> Want = {Tree.Home() + "/docs/Alpha.RTF", Tree.Home() + "/docs/notes.txt"};
  EXPECT_EQ(Target->HDrop, Want);
  EXPECT_EQ(Target->FromAnyFormat, Want);
  EXPECT_FALSE(IsDragging());
  EXPECT_EQ(RevokeDragDrop(Bin->Handle()), S_OK);
}

TEST_F(ShellViews, SideBySideScreenshot) {
  TShellTreeView* T = MakeTree();
  TShellListView* L = MakeList();
  T->SetShellListView(L);
  L->SetObjectTypes(TShellObjectTypes{otFolders, otNonFolders});
  Form->Show();
  Pump();
  T->SetPath((Tree.Home() + "/docs").c_str());
  L->GetItems()->Item(2)->SetSelected(true);
  Pump();
  UpdateWindow(Form->Handle());
  Pump();
  // Some ink in both views: an icon beside the first entries.
  TRect Area;
  GetWindowRect(Form->Handle(), &Area);
  std::error_code Ec;
  const auto Dir = std::filesystem::read_symlink("/proc/self/exe", Ec).parent_path();
  EXPECT_TRUE(Display().SaveScreenshot((Dir / "shell-views.png").string(), &Area));
  EXPECT_EQ(Captions(L).front(), "letters");  // folders first when both are shown
  // The same on a machine without an icon theme.
  const TIconThemeSettings None{{Tree.Folder("no-themes")}, ""};
  SetIconThemeForTest(&None);
  T->Refresh();
  T->SetPath((Tree.Home() + "/docs").c_str());
  UpdateWindow(Form->Handle());
  Pump();
  EXPECT_TRUE(Display().SaveScreenshot((Dir / "shell-views-builtin-icons.png").string(), &Area));
  SetIconThemeForTest(nullptr);
}

namespace {

// The batch page's two views as a form description sets them up.
class TShellForm : public TForm {
  SX_CLASS(TShellForm, TForm)
public:
  explicit TShellForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
  static void Published(TPublished<TShellForm>& P) {
    P.Property("Tree", &TShellForm::Tree, &TShellForm::Tree).Stored(false);
    P.Property("List", &TShellForm::List, &TShellForm::List).Stored(false);
    P.Method("ListAddFolder", &TShellForm::ListAddFolder);
  }
  void ListAddFolder(TObject*, TShellFolder* F, bool& CanAdd) { CanAdd = PathMatchSpec(F->PathName(), "*.rtf;*.doc;"); }
  TShellTreeView* Tree = nullptr;
  TShellListView* List = nullptr;
};

}  // namespace

TEST_F(ShellViews, FormDescriptionLinksTheViews) {
  RegisterShellClasses();
  RegisterClasses({TShellForm::StaticClass()});
  const std::string Text = "object ShellForm: TShellForm\n  Left = 0\n  Top = 0\n  ClientHeight = 200\n"
                           "  ClientWidth = 400\n"
                           "  object Tree: TShellTreeView\n    Left = 0\n    Top = 0\n    Width = 200\n    Height = 200\n"
                           "    Root = '" + Tree.Home() + "'\n    ShellListView = List\n  end\n"
                           "  object List: TShellListView\n    Left = 200\n    Top = 0\n    Width = 200\n"
                           "    Height = 200\n    DragMode = dmAutomatic\n    MultiSelect = True\n"
                           "    ObjectTypes = [otNonFolders]\n    OnAddFolder = ListAddFolder\n  end\nend\n";
  RegisterFormDescription("TShellForm", Text);
  auto* F = new TShellForm(App.get());
  ASSERT_NE(F->Tree, nullptr);
  ASSERT_NE(F->List, nullptr);
  EXPECT_EQ(F->Tree->GetShellListView(), F->List);
  EXPECT_TRUE(F->List->GetMultiSelect());
  F->Show();
  Pump();
  ASSERT_TRUE(F->Tree->SetPath((Tree.Home() + "/docs").c_str()));
  EXPECT_EQ(Captions(F->List), (std::vector<std::string>{"Alpha.RTF", "beta.doc", "zeta.rtf"}));
  UnregisterFormDescription("TShellForm");
}
