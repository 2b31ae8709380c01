// The batch list's file drop target under a real X server: another program
// drags files (a "text/uri-list") onto a list registered through
// TDropFileTarget, and the documents among them join the list.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "app/dragdrop/DragDropFile.h"
#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListCtrls.h"
#include "platform/ole/OleApi.h"
#include "platform/rtl/FileUtils.h"
#include "platform/win/Win.h"
#include "platform/win/x11/X11Display.h"
#include "platform/x11/X11Fixture.h"
#include "support/ScratchDir.h"
#include "platform/x11/X11DndSource.h"

namespace {

class TListSink : public TObject {
public:
  TListBox* List = nullptr;
  TDropFileTarget* Target = nullptr;
  std::vector<Integer> Effects;
  void Drop(TObject*, TShiftState, TPoint, Integer& Effect) {
    Effects.push_back(Effect);
    for (Integer I = 0; I < Target->Files()->GetCount(); ++I) {
      const AnsiString N = (*Target->Files())[I];
      if (PathMatchSpec(N, "*.rtf;*.doc;") && List->GetItems()->IndexOf(N) < 0) List->GetItems()->Add(N);
    }
  }
};

class DragDropXdnd : public TX11Fixture {
protected:
  void SetUp() override {
    RegisterFormsClasses();
    if (!OpenDisplay()) GTEST_SKIP() << "no Xvfb on this machine";
    OleReset();
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    App = std::make_unique<TApplication>(nullptr);
  }
  void TearDown() override {
    App.reset();
    OleReset();
    CloseDisplay();
  }
};

}  // namespace

TEST_F(DragDropXdnd, FilesDroppedByAnotherProgramJoinTheList) {
  sxtest::TScratchDir Dir("sx-xdnd");
  const std::string Root = Dir.Path().string();
  std::filesystem::create_directories(Root + "/sub folder");
  for (const char* N : {"a b.rtf", "c.DOC", "notes.txt"}) std::ofstream(Root + "/" + N) << "x";
  auto* Form = new TForm(App.get());
  Form->SetBounds(100, 100, 300, 240);
  Form->SetCaption("Batch");
  auto* List = new TListBox(Form);
  List->SetBounds(0, 0, 300, 240);
  List->SetParent(Form);
  auto* Target = new TDropFileTarget(Form);
  Target->SetDragTypes({dtCopy, dtMove, dtLink});
  TListSink Sink;
  Sink.List = List;
  Sink.Target = Target;
  Target->OnDrop = TDropTargetEvent(&Sink, &TListSink::Drop);
  Target->SetTarget(List);
  Form->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Form->Handle()) && X->XWindowOf(Form->Handle()); }));
  PumpUntil([] { return false; }, 300);

  TDndSource Src;
  Src.Name = Session->Name();
  Src.At = List->ClientToScreen({120, 100});
  Src.UriList = "file://" + Root + "/a%20b.rtf\r\nfile://" + Root + "/notes.txt\r\nfile://" + Root +
                "/sub%20folder\r\nfile://" + Root + "/c.DOC\r\nfile://" + Root + "/a%20b.rtf\r\n";
  std::thread T([&] { Src.Run(); });
  const bool Done = PumpUntil([&] { return Src.Finished >= 0; });
  T.join();
  ASSERT_TRUE(Done);
  EXPECT_EQ(Src.Finished, 1) << "the source hears the drop was taken";
  ASSERT_EQ(Sink.Effects.size(), 1u);
  EXPECT_EQ(Sink.Effects[0], Integer(DROPEFFECT_COPY)) << "the source offered copy";
  std::vector<std::string> Items;
  for (Integer I = 0; I < List->GetItems()->GetCount(); ++I) Items.push_back((*List->GetItems())[I]);
  EXPECT_EQ(Items, (std::vector<std::string>{Root + "/a b.rtf", Root + "/c.DOC"}));
}
