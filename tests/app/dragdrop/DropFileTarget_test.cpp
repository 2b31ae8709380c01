// The file drop target on a form of its own, as the batch page uses it: a
// list box registered through TDropFileTarget, files dragged in from a
// shell list view or dropped by a drag source, the effects the keys choose,
// auto-scrolling at the list's edges, registration across a new window,
// several targets, and pasting from the clipboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/dragdrop/DragDropFile.h"
#include "app/browser/EwbCore.h"
#include "app/dragdrop/DropTarget.h"
#include "platform/forms/Application.h"
#include "platform/forms/ControlDrag.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/Panels.h"
#include "platform/forms/StdCtrls.h"
#include "platform/ole/DataObject.h"
#include "platform/ole/DragDrop.h"
#include "platform/ole/DropFormats.h"
#include "platform/ole/OleClipboard.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/shell/ShellCtrls.h"
#include "platform/shell/ShellData.h"
#include "platform/shell/ShellFixtures.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Timers.h"
#include "platform/win/Win.h"

using namespace shelltest;

namespace {

// What the batch page does with a drop: keeps the documents it does not
// hold yet, trimmed, in the order they came; and what the events saw.
class TBatchSink : public TObject {
public:
  TListBox* List = nullptr;
  TDropFileTarget* Target = nullptr;
  std::vector<Integer> DropEffects, EnterEffects;
  std::vector<std::vector<std::string>> Dropped;
  std::vector<TPoint> DropPoints;
  int Leaves = 0;

  void Drop(TObject*, TShiftState, TPoint APoint, Integer& Effect) {
    DropEffects.push_back(Effect);
    DropPoints.push_back(APoint);
    std::vector<std::string> Names;
    TStrings* Items = List->GetItems();
    for (Integer I = 0; I < Target->Files()->GetCount(); ++I) {
      const std::string N = Trim((*Target->Files())[I]);
      Names.push_back(N);
      if (N.empty() || !PathMatchSpec(N, "*.rtf;*.doc;")) continue;
      bool Held = false;
      for (Integer J = 0; J < Items->GetCount() && !Held; ++J) Held = SameText((*Items)[J], N);
      if (!Held) Items->Add(N);
    }
    Dropped.push_back(Names);
  }
  void Enter(TObject*, TShiftState, TPoint, Integer& Effect) { EnterEffects.push_back(Effect); }
  void Leave(TObject*) { ++Leaves; }
};

std::vector<std::string> Lines(TStrings* S) {
  std::vector<std::string> Out;
  for (Integer I = 0; I < S->GetCount(); ++I) Out.push_back((*S)[I]);
  return Out;
}

class DropFileTargetTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterFormsClasses();
    ResetWindowSystem();
    UseVirtualClock();
    OleReset();
    OleInitialize(nullptr);
    Docs = Tree.Folder("home/docs");
    Tree.Folder("home/docs/letters");
    for (const char* N : {"zeta.rtf", "Alpha.RTF", "beta.doc", "notes.txt"}) Tree.File(std::string("home/docs/") + N);
    App = std::make_unique<TApplication>(nullptr);
    Form = new TForm(App.get());
    Form->SetBounds(40, 40, 520, 300);
    Form->SetCaption("Batch");
    Shell = new TShellListView(Form);
    Shell->SetBounds(0, 0, 260, 300);
    Shell->SetObjectTypes(TShellObjectTypes{otNonFolders});
    Shell->SetMultiSelect(true);
    Shell->SetDragMode(dmAutomatic);
    Shell->SetParent(Form);
    Shell->SetRoot(Docs.c_str());
    List = new TListBox(Form);
    List->SetBounds(264, 0, 256, 300);
    List->SetMultiSelect(true);
    List->SetParent(Form);
    Target = new TDropFileTarget(Form);
    Target->SetDragTypes({dtCopy, dtMove, dtLink});
    Sink.List = List;
    Sink.Target = Target;
    Target->OnDrop = TDropTargetEvent(&Sink, &TBatchSink::Drop);
    Target->OnEnter = TDropTargetEvent(&Sink, &TBatchSink::Enter);
    Target->OnLeave = TNotifyEvent(&Sink, &TBatchSink::Leave);
    Target->SetTarget(List);
    Form->Show();
    Pump();
  }
  void TearDown() override {
    Display().SetIdleHandler(nullptr);
    ResetDragState();
    App.reset();
    ResetWindowSystem();
    OleReset();
    UseRealClock();
  }
  void Pump() { App->ProcessMessages(); }
  THeadlessDisplay& Display() { return HeadlessDisplay(); }
  std::string Doc(const char* Name) const { return Docs + "/" + Name; }
  TPoint InList(TPoint Client) const { return List->ClientToScreen(Client); }

  // Drags the shell view's entries Rows into the list.
  void DragRows(std::initializer_list<int> Rows) {
    AdvanceClock(1000);  // no double click with the press before
    Shell->ClearSelection();
    for (int R : Rows) Shell->GetItems()->Item(R)->SetSelected(true);
    const TRect R = Shell->GetItems()->Item(*Rows.begin())->DisplayRect(2 /*LVIR_LABEL*/);
    const TPoint Press = Shell->ClientToScreen({R.Left + 4, (R.Top + R.Bottom) / 2});
    const TPoint At = InList({100, 150});
    Display().MouseMove(Press.X, Press.Y);
    Display().MouseDown(Press.X, Press.Y);
    Display().MouseMove(Press.X + 10, Press.Y + 10);
    Display().MouseMove(At.X + 5, At.Y);
    Display().MouseMove(At.X, At.Y);
    Display().MouseUp(At.X, At.Y);
    Pump();
  }

  // Runs a drag of Data from outside the list to Drop with Keys held; the
  // effect the source hears.
  DWORD DragData(IDataObject* Data, TPoint Drop, const std::vector<WORD>& Keys = {},
                 DWORD Allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK) {
    const TPoint From = Form->ClientToScreen({10, 10});
    Display().MouseMove(From.X, From.Y);
    Display().MouseDown(From.X, From.Y);
    Pump();
    for (WORD K : Keys) Display().KeyDown(K);
    Display().MouseMove(Drop.X + 3, Drop.Y);
    Display().MouseMove(Drop.X, Drop.Y);
    Display().MouseUp(Drop.X, Drop.Y);
    auto* Source = new TDropSource(MK_LBUTTON);
    TIntfPtr<IDropSource> Hold(static_cast<IDropSource*>(Source));
    DWORD Effect = 0;
    DoDragDrop(Data, Source, Allowed, &Effect);
    for (WORD K : Keys) Display().KeyUp(K);
    Pump();
    return Effect;
  }

  TFixtureTree Tree;
  std::string Docs;
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TShellListView* Shell = nullptr;
  TListBox* List = nullptr;
  TDropFileTarget* Target = nullptr;
  TBatchSink Sink;
};

}  // namespace

TEST_F(DropFileTargetTest, FilesDraggedFromTheShellViewAreAddedOnceEachInOrder) {
  ASSERT_EQ(Shell->GetItems()->Count(), 4);  // Alpha.RTF, beta.doc, notes.txt, zeta.rtf
  DragRows({0, 2, 3});
  ASSERT_EQ(Sink.Dropped.size(), 1u);
  EXPECT_EQ(Sink.Dropped[0], (std::vector<std::string>{Doc("Alpha.RTF"), Doc("notes.txt"), Doc("zeta.rtf")}));
  EXPECT_EQ(Lines(List->GetItems()), (std::vector<std::string>{Doc("Alpha.RTF"), Doc("zeta.rtf")}));
  EXPECT_EQ(Sink.DropPoints[0], TPoint(100, 150)) << "client coordinates of the list";
  EXPECT_EQ(Target->Files()->GetCount(), 0) << "the names live only during OnDrop";

  DragRows({0, 1});
  ASSERT_EQ(Sink.Dropped.size(), 2u);
  EXPECT_EQ(Sink.Dropped[1], (std::vector<std::string>{Doc("Alpha.RTF"), Doc("beta.doc")}));
  EXPECT_EQ(Lines(List->GetItems()), (std::vector<std::string>{Doc("Alpha.RTF"), Doc("zeta.rtf"), Doc("beta.doc")}))
      << "a file already listed is not added again";
  EXPECT_FALSE(IsDragging());
}

TEST_F(DropFileTargetTest, FoldersAndOtherFilesAmongTheDroppedAreLeftOut) {
  TIntfPtr<IDataObject> Data = CreateShellDataObject({Docs + "/letters", Doc("notes.txt"), Doc("Alpha.RTF")});
  DragData(Data.Get(), InList({60, 60}));
  ASSERT_EQ(Sink.Dropped.size(), 1u);
  EXPECT_EQ(Lines(List->GetItems()), (std::vector<std::string>{Doc("Alpha.RTF")}));

  TIntfPtr<IDataObject> Only = CreateShellDataObject({Docs + "/letters", Doc("notes.txt")});
  DragData(Only.Get(), InList({60, 60}));
  EXPECT_EQ(Lines(List->GetItems()), (std::vector<std::string>{Doc("Alpha.RTF")})) << "nothing to add";
}

TEST_F(DropFileTargetTest, KeysChooseCopyMoveOrLinkAndAMoveIsReportedAsACopy) {
  const CLIPFORMAT Performed = ClipboardFormatOf(CFSTR_PERFORMEDDROPEFFECT);
  struct TCase {
    std::vector<WORD> Keys;
    DWORD Allowed;
    Integer SeenByOnDrop;
    DWORD ToSource;
    const char* Why;
  } Cases[] = {
      {{}, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_MOVE, DROPEFFECT_COPY, "no key: move"},
      {{VK_CONTROL}, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_COPY, DROPEFFECT_COPY, "Ctrl"},
      {{VK_CONTROL, VK_SHIFT}, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_LINK, DROPEFFECT_LINK,
       "Ctrl+Shift"},
      {{VK_CONTROL, VK_SHIFT}, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_COPY,
       "link not offered: copy"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    Sink.DropEffects.clear();
    auto* D = new TDataObject;
    TIntfPtr<IDataObject> Data(static_cast<IDataObject*>(D));
    D->SetBytes(CF_HDROP, MakeDropFiles({Doc("beta.doc")}));
    const DWORD Effect = DragData(Data.Get(), InList({60, 60}), C.Keys, C.Allowed);
    ASSERT_EQ(Sink.DropEffects.size(), 1u);
    EXPECT_EQ(Sink.DropEffects[0], C.SeenByOnDrop);
    EXPECT_EQ(Effect, C.ToSource);
    std::string Bytes;
    ASSERT_TRUE(GetDataBytes(Data.Get(), Performed, Bytes));
    EXPECT_EQ(ReadDWordFormat(Bytes), C.ToSource);
  }
}

TEST_F(DropFileTargetTest, DataWithoutFilesIsRefusedAtTheEnter) {
  auto* D = new TDataObject;
  TIntfPtr<IDataObject> Data(static_cast<IDataObject*>(D));
  D->SetBytes(CF_TEXT, std::string("/d/a.rtf") + '\0');
  EXPECT_EQ(DragData(Data.Get(), InList({60, 60})), DROPEFFECT_NONE);
  EXPECT_TRUE(Sink.Dropped.empty());
  EXPECT_TRUE(Sink.EnterEffects.empty()) << "OnEnter fires only for data a format can use";

  // Offered as file names but unreadable: the drop completes with no effect.
  auto* Bad = new TDataObject;
  TIntfPtr<IDataObject> BadData(static_cast<IDataObject*>(Bad));
  Bad->SetBytes(CF_HDROP, MakeDropFiles({}).substr(0, 20));
  EXPECT_EQ(DragData(BadData.Get(), InList({60, 60})), DROPEFFECT_NONE);
  EXPECT_TRUE(Sink.Dropped.empty());
  EXPECT_EQ(Sink.EnterEffects.size(), 1u);
}

TEST_F(DropFileTargetTest, GetDataOnEnterRefusesUnreadableDataAtOnce) {
  Target->SetGetDataOnEnter(true);
  auto* Bad = new TDataObject;
  TIntfPtr<IDataObject> BadData(static_cast<IDataObject*>(Bad));
  Bad->SetBytes(CF_HDROP, MakeDropFiles({}).substr(0, 20));
  IDropTarget* T = Target;
  DWORD Effect = DROPEFFECT_COPY;
  EXPECT_EQ(T->DragEnter(BadData.Get(), 0, InList({60, 60}), &Effect), DV_E_CLIPFORMAT);
  EXPECT_EQ(Effect, DROPEFFECT_NONE);
  Effect = DROPEFFECT_COPY;
  EXPECT_EQ(T->DragOver(0, InList({61, 60}), &Effect), DV_E_CLIPFORMAT) << "nothing was accepted";
  EXPECT_EQ(T->DragLeave(), S_OK);

  // Readable: the names are there from the enter on, and the drop uses them.
  auto* Good = new TDataObject;
  TIntfPtr<IDataObject> GoodData(static_cast<IDataObject*>(Good));
  Good->SetBytes(CF_HDROP, MakeDropFiles({Doc("zeta.rtf")}));
  Effect = DROPEFFECT_COPY;
  ASSERT_EQ(T->DragEnter(GoodData.Get(), 0, InList({60, 60}), &Effect), S_OK);
  EXPECT_EQ(Lines(Target->Files()), (std::vector<std::string>{Doc("zeta.rtf")}));
  EXPECT_EQ(T->Drop(GoodData.Get(), 0, InList({60, 60}), &Effect), S_OK);
  EXPECT_EQ(Lines(List->GetItems()), (std::vector<std::string>{Doc("zeta.rtf")}));
}

TEST_F(DropFileTargetTest, HoveringAtTheListsEdgeScrollsItLineByLine) {
  for (int I = 0; I < 100; ++I) List->GetItems()->Add("/d/" + std::to_string(I) + ".rtf");
  List->SetTopIndex(50);
  const int Band = GetSystemMetrics(SM_CYHSCROLL);
  auto* D = new TDataObject;
  TIntfPtr<IDataObject> Data(static_cast<IDataObject*>(D));
  D->SetBytes(CF_HDROP, MakeDropFiles({Doc("beta.doc")}));
  std::vector<Integer> Tops;
  // While the drag waits for input: let time pass in scroll ticks, then
  // move out of the band, then drop.
  int Step = 0;
  const TPoint Top = InList({100, Band / 2}), Middle = InList({100, 150});
  Display().SetIdleHandler([&] {
    ++Step;
    if (Step <= 4) {
      Tops.push_back(List->GetTopIndex());
      AdvanceClock(50);
    } else if (Step == 5) {
      Display().MouseMove(Middle.X, Middle.Y);
    } else if (Step <= 8) {
      Tops.push_back(List->GetTopIndex());
      AdvanceClock(50);
    } else {
      Display().MouseUp(Middle.X, Middle.Y);
    }
    return true;
  });
  const TPoint From = Form->ClientToScreen({10, 10});
  Display().MouseMove(From.X, From.Y);
  Display().MouseDown(From.X, From.Y);
  Pump();
  Display().MouseMove(Top.X + 2, Top.Y);
  Display().MouseMove(Top.X, Top.Y);
  auto* Source = new TDropSource(MK_LBUTTON);
  TIntfPtr<IDropSource> Hold(static_cast<IDropSource*>(Source));
  DWORD Effect = 0;
  DoDragDrop(Data.Get(), Source, DROPEFFECT_COPY, &Effect);
  Display().SetIdleHandler(nullptr);
  ASSERT_EQ(Tops.size(), 7u);
  EXPECT_EQ(Tops[0], 50) << "nothing before the first 50 ms";
  EXPECT_EQ(Tops[1], 49) << "one line up after them";
  EXPECT_EQ(Tops[3], 47) << "and one every 50 ms after";
  EXPECT_EQ(Tops[5], Tops[4]) << "out of the band: no more scrolling";
  EXPECT_EQ(Tops[6], Tops[4]);
  EXPECT_EQ(Effect, DROPEFFECT_COPY);
  EXPECT_FALSE(Target->ScrollTimer()->GetEnabled());
}

TEST_F(DropFileTargetTest, RegistrationFollowsTheListsNewWindow) {
  HWND Old = List->Handle();
  EXPECT_TRUE(RegisteredDropTarget(Old));
  List->RecreateWnd();
  List->HandleNeeded();
  Pump();
  HWND New = List->Handle();
  ASSERT_NE(New, Old);
  EXPECT_EQ(RegisteredDropTarget(New), static_cast<IDropTarget*>(Target));
  DragRows({3});
  EXPECT_EQ(Lines(List->GetItems()), (std::vector<std::string>{Doc("zeta.rtf")}));

  Target->Unregister(List);
  EXPECT_FALSE(RegisteredDropTarget(List->Handle()));
  EXPECT_EQ(Target->GetTarget(), nullptr);
}

TEST_F(DropFileTargetTest, SeveralTargetsKeepInnerControlsAfterTheirParents) {
  auto* Panel = new TPanel(Form);
  Panel->SetBounds(0, 0, 100, 100);
  Panel->SetParent(Form);
  auto* Button = new TButton(Form);
  Button->SetBounds(10, 10, 50, 20);
  Button->SetParent(Panel);
  Pump();
  TDropFileTarget Multi(nullptr);
  Multi.SetMultiTarget(true);
  Multi.Register(Panel);
  Multi.Register(List);
  Multi.Register(Button);
  ASSERT_EQ(Multi.RegisteredCount(), 3);
  EXPECT_EQ(Multi.Registered(0), Panel);
  EXPECT_EQ(Multi.Registered(1), Button);
  EXPECT_EQ(Multi.Registered(2), List);
  EXPECT_EQ(Multi.GetTarget(), Panel);

  TDropFileTarget Single(nullptr);
  Single.Register(Panel);
  Single.Register(Button);
  ASSERT_EQ(Single.RegisteredCount(), 1);
  EXPECT_EQ(Single.GetTarget(), Button);
  EXPECT_TRUE(RegisteredDropTarget(Button->Handle()));
  EXPECT_FALSE(RegisteredDropTarget(Panel->Handle()));
}

TEST_F(DropFileTargetTest, FreeingTheListUnregistersIt) {
  delete List;
  List = nullptr;
  EXPECT_EQ(Target->RegisteredCount(), 0);
  EXPECT_EQ(Target->GetTarget(), nullptr);
}

TEST_F(DropFileTargetTest, PastingFromTheClipboardDropsItsFilesAsCopies) {
  TIntfPtr<IDataObject> Data = CreateShellDataObject({Doc("beta.doc"), Doc("notes.txt")});
  ASSERT_EQ(OleSetClipboard(Data.Get()), S_OK);
  EXPECT_EQ(Target->PasteFromClipboard(), DROPEFFECT_COPY) << "no preferred effect stated: copy";
  ASSERT_EQ(Sink.DropEffects, (std::vector<Integer>{DROPEFFECT_COPY}));
  EXPECT_EQ(Sink.DropPoints[0], TPoint(0, 0));
  EXPECT_EQ(Lines(List->GetItems()), (std::vector<std::string>{Doc("beta.doc")}));
  std::string Bytes;
  ASSERT_TRUE(GetDataBytes(Data.Get(), ClipboardFormatOf(CFSTR_PASTESUCCEEDED), Bytes));
  EXPECT_EQ(ReadDWordFormat(Bytes), DWORD(DROPEFFECT_COPY));
  OleSetClipboard(nullptr);
}

// A refused clipboard read is the class library's OLE error with the
// system's result, one error class whether the drag-and-drop family or the
// browser host raises it; the list is left alone.
TEST_F(DropFileTargetTest, AClipboardReadThatOleRefusesRaisesTheOleError) {
  OleUninitialize();
  ASSERT_FALSE(OleIsInitialized());
  try {
    Target->PasteFromClipboard();
    ADD_FAILURE() << "no error raised";
  } catch (const EOleError& E) {
    auto* Sys = dynamic_cast<const EOleSysError*>(&E);
    ASSERT_NE(Sys, nullptr);
    EXPECT_EQ(Sys->ErrorCode(), CO_E_NOTINITIALIZED);
    EXPECT_STREQ(E.ClassName(), "EOleSysError");
  }
  EXPECT_TRUE(Sink.Dropped.empty());
  EXPECT_EQ(List->GetItems()->GetCount(), 0);
  OleInitialize(nullptr);
}
