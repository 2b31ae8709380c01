// Data objects, streams, the drag loop and the OLE clipboard, driven
// through the headless window system.
#include <gtest/gtest.h>

#include <functional>

#include "platform/ole/DataObject.h"
#include "platform/ole/DragDrop.h"
#include "platform/ole/DropFormats.h"
#include "platform/ole/OleClipboard.h"
#include "platform/ole/OleStream.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Clipboard.h"
#include "platform/win/ExternalDrop.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

namespace {

class TScriptedTarget : public TInterfacedObject, public IDropTarget {
public:
  DWORD Answer = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  std::vector<std::string> Calls;
  std::vector<DWORD> Keys;
  std::string Dropped;
  // The calls, with runs of "over" (one per move or key change) as one.
  std::vector<std::string> Sequence() const {
    std::vector<std::string> Out;
    for (const std::string& C : Calls)
      if (Out.empty() || C != "over" || Out.back() != "over") Out.push_back(C);
    return Out;
  }
  HRESULT DragEnter(IDataObject*, DWORD K, TPoint, DWORD* Effect) override {
    Calls.push_back("enter");
    Keys.push_back(K);
    *Effect = StandardDropEffect(K, *Effect & Answer);
    return S_OK;
  }
  HRESULT DragOver(DWORD K, TPoint, DWORD* Effect) override {
    Calls.push_back("over");
    Keys.push_back(K);
    *Effect = StandardDropEffect(K, *Effect & Answer);
    return S_OK;
  }
  HRESULT DragLeave() override {
    Calls.push_back("leave");
    return S_OK;
  }
  HRESULT Drop(IDataObject* Data, DWORD K, TPoint, DWORD* Effect) override {
    Calls.push_back("drop");
    GetDataBytes(Data, CF_TEXT, Dropped);
    *Effect = StandardDropEffect(K, *Effect & Answer);
    return S_OK;
  }

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override {
    return OfferInterface<IDropTarget>(this, IID, Obj) || TInterfacedObject::GetInterface(IID, Obj);
  }
};

LRESULT PlainProc(HWND H, UINT M, WPARAM W, LPARAM L) { return DefWindowProcA(H, M, W, L); }

class DataTransfer : public ::testing::Test {
protected:
  void SetUp() override {
    SetDisplay(nullptr);
    ResetWindowSystem();
    UseVirtualClock();
    OleReset();
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    WNDCLASSA C;
    C.lpfnWndProc = &PlainProc;
    C.lpszClassName = "SxOleTestWindow";
    RegisterClassA(&C);
    Source = CreateWindowExA(0, "SxOleTestWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
    Sink = CreateWindowExA(0, "SxOleTestWindow", "", WS_POPUP | WS_VISIBLE, 200, 0, 100, 100, nullptr, nullptr,
                           nullptr, nullptr);
    Child = CreateWindowExA(0, "SxOleTestWindow", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, Sink, nullptr, nullptr,
                            nullptr);
    Data = new TDataObject;
    HoldData = TIntfPtr<IDataObject>(static_cast<IDataObject*>(Data));
    Data->SetBytes(CF_TEXT, std::string("dragged\0", 8));
    Target = new TScriptedTarget;
    HoldTarget = TIntfPtr<IDropTarget>(static_cast<IDropTarget*>(Target));
  }
  void TearDown() override {
    ResetWindowSystem();
    OleReset();
    UseRealClock();
  }
  THeadlessDisplay& Screen() { return HeadlessDisplay(); }
  // Presses in the source window, then runs the drag over the queued input.
  HRESULT Drag(DWORD Ok, DWORD& Effect, const std::function<void()>& Input) {
    Screen().MouseMove(50, 50);
    Screen().MouseDown(50, 50);
    Screen().ProcessMessages();
    Input();
    auto* S = new TDropSource;
    TIntfPtr<IDropSource> Hold(static_cast<IDropSource*>(S));
    return DoDragDrop(Data, S, Ok, &Effect);
  }
  HWND Source = nullptr, Sink = nullptr, Child = nullptr;
  TDataObject* Data = nullptr;
  TIntfPtr<IDataObject> HoldData;
  TScriptedTarget* Target = nullptr;
  TIntfPtr<IDropTarget> HoldTarget;
};

}  // namespace

TEST_F(DataTransfer, DataObjectHandsOutCopiesOnEitherMedium) {
  const CLIPFORMAT Custom = ClipboardFormatOf("SxTestFormat");
  int Renders = 0;
  Data->Promise(Custom, [&](std::string& Out) {
    ++Renders;
    Out = "rendered";
    return true;
  });
  FORMATETC F;
  F.cfFormat = CF_TEXT;
  F.tymed = TYMED_ISTREAM;
  STGMEDIUM M;
  ASSERT_EQ(Data->GetData(&F, &M), S_OK);
  ASSERT_EQ(M.tymed, TYMED_ISTREAM);
  std::string Bytes;
  ASSERT_TRUE(ReadWholeStream(M.pstm, Bytes));
  EXPECT_EQ(Bytes, std::string("dragged\0", 8));
  ReleaseStgMedium(&M);
  EXPECT_EQ(M.tymed, TYMED_NULL);
  for (int I = 0; I < 2; ++I) {
    ASSERT_TRUE(GetDataBytes(Data, Custom, Bytes));
    EXPECT_EQ(Bytes, "rendered");
  }
  EXPECT_EQ(Renders, 1);
  // Refusals name the reason.
  F.cfFormat = CF_HDROP;
  EXPECT_EQ(Data->QueryGetData(&F), DV_E_FORMATETC);
  F.cfFormat = CF_TEXT;
  F.tymed = TYMED_GDI;
  EXPECT_EQ(Data->QueryGetData(&F), DV_E_TYMED);
  F.tymed = TYMED_HGLOBAL;
  F.dwAspect = DVASPECT_ICON;
  EXPECT_EQ(Data->QueryGetData(&F), DV_E_DVASPECT);
  // The enumeration lists what was put, in order.
  IEnumFORMATETC* E = nullptr;
  ASSERT_EQ(Data->EnumFormatEtc(DATADIR_GET, &E), S_OK);
  TIntfPtr<IEnumFORMATETC> Enum;
  Enum.Attach(E);
  FORMATETC Got[3];
  ULONG N = 0;
  EXPECT_EQ(Enum->Next(3, Got, &N), S_FALSE);
  ASSERT_EQ(N, 2u);
  EXPECT_EQ(Got[0].cfFormat, CF_TEXT);
  EXPECT_EQ(Got[1].cfFormat, Custom);
  // SetData with release adopts the medium.
  EXPECT_TRUE(SetDataBytes(Data, CF_HDROP, MakeDropFiles({"/a"})));
  EXPECT_TRUE(GetDataBytes(Data, CF_HDROP, Bytes));
  EXPECT_EQ(ReadDropFiles(Bytes.data(), Bytes.size()), (std::vector<std::string>{"/a"}));
}

TEST_F(DataTransfer, StreamAdapterCopiesEverythingFromTheEnd) {
  auto* Mem = new TMemoryStream;
  Mem->WriteBuffer("0123456789", 10);  // position now at the end
  TIntfPtr<IStream> From(new TStreamAdapter(Mem, TStreamOwnership::soOwned));
  TMemoryStream Out;
  TIntfPtr<IStream> To(new TStreamAdapter(&Out));
  UInt64 Read = 0, Written = 0;
  ASSERT_EQ(From->CopyTo(To.Get(), ~UInt64(0), &Read, &Written), S_OK);
  EXPECT_EQ(Read, 10u);
  EXPECT_EQ(Written, 10u);
  EXPECT_EQ(std::string(static_cast<const char*>(Out.Memory()), std::size_t(Out.GetSize())), "0123456789");
  STATSTG S;
  ASSERT_EQ(From->Stat(&S, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(S.cbSize, 10u);
}

TEST(DropEffects, KeysChooseAmongTheAllowedEffects) {
  constexpr DWORD C = DROPEFFECT_COPY, M = DROPEFFECT_MOVE, L = DROPEFFECT_LINK;
  struct {
    DWORD Keys, Allowed, Want;
    const char* Why;
  } Cases[] = {
      {0, C | M | L, M, "no key moves"},
      {MK_CONTROL, C | M | L, C, "Ctrl copies"},
      {MK_CONTROL | MK_SHIFT, C | M | L, L, "Ctrl+Shift links"},
      {MK_SHIFT, C | M, M, "Shift moves"},
      {MK_CONTROL | MK_SHIFT, C | M, C, "no link allowed: the first allowed"},
      {0, C | L, C, "no move allowed: copy"},
      {0, 0, 0, "nothing allowed"},
  };
  for (const auto& K : Cases) EXPECT_EQ(StandardDropEffect(K.Keys, K.Allowed), K.Want) << K.Why;
}

TEST_F(DataTransfer, DragDropsOnTheRegisteredAncestorWithTheKeysEffect) {
  ASSERT_EQ(RegisterDragDrop(Sink, Target), S_OK);
  DWORD Effect = 0;
  const HRESULT R = Drag(DROPEFFECT_COPY | DROPEFFECT_MOVE, Effect, [&] {
    Screen().MouseMove(230, 30);  // over the child: its parent's target answers
    Screen().KeyDown(VK_CONTROL);
    Screen().MouseUp(230, 30);
  });
  EXPECT_EQ(R, DRAGDROP_S_DROP);
  EXPECT_EQ(Effect, DROPEFFECT_COPY);
  EXPECT_EQ(Target->Sequence(), (std::vector<std::string>{"enter", "over", "drop"}));
  EXPECT_TRUE(Target->Keys.front() & MK_LBUTTON);
  EXPECT_TRUE(Target->Keys.back() & MK_CONTROL);
  EXPECT_EQ(Target->Dropped, std::string("dragged\0", 8));
  EXPECT_FALSE(IsDragging());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DataTransfer, EscapeCancelsAndAnUnallowedEffectDropsNothing) {
  ASSERT_EQ(RegisterDragDrop(Sink, Target), S_OK);
  DWORD Effect = 7;
  EXPECT_EQ(Drag(DROPEFFECT_COPY, Effect,
                 [&] {
                   Screen().MouseMove(250, 50);
                   Screen().KeyPress(VK_ESCAPE);
                   Screen().MouseUp(250, 50);
                 }),
            DRAGDROP_S_CANCEL);
  EXPECT_EQ(Effect, 0u);
  EXPECT_EQ(Target->Sequence().front(), "enter");
  EXPECT_EQ(Target->Sequence().back(), "leave");
  // The target takes only what the source does not offer: it is left, not dropped on.
  Target->Calls.clear();
  Target->Answer = DROPEFFECT_LINK;
  EXPECT_EQ(Drag(DROPEFFECT_COPY | DROPEFFECT_MOVE, Effect,
                 [&] {
                   Screen().MouseMove(250, 50);
                   Screen().MouseUp(250, 50);
                 }),
            DRAGDROP_S_DROP);
  EXPECT_EQ(Effect, 0u);
  EXPECT_EQ(Target->Sequence().front(), "enter");
  EXPECT_EQ(Target->Sequence().back(), "leave");
}

TEST_F(DataTransfer, RegistrationRules) {
  EXPECT_EQ(RegisterDragDrop(Sink, nullptr), E_INVALIDARG);
  EXPECT_EQ(RevokeDragDrop(Sink), DRAGDROP_E_NOTREGISTERED);
  ASSERT_EQ(RegisterDragDrop(Sink, Target), S_OK);
  EXPECT_EQ(RegisteredDropTarget(Sink), Target);
  EXPECT_EQ(DropTargetWindowAt({230, 30}), Sink);
  EXPECT_EQ(DropTargetWindowAt({50, 50}), nullptr);
  DestroyWindow(Sink);
  EXPECT_EQ(RegisteredDropTarget(Sink), nullptr);  // gone with its window
  EXPECT_EQ(RegisterDragDrop(Sink, Target), DRAGDROP_E_INVALIDHWND);
  OleUninitialize();
  EXPECT_EQ(RegisterDragDrop(Source, Target), CO_E_NOTINITIALIZED);
  // No class store: the drag-image helper is absent, as the callers allow.
  void* Helper = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(StringToGUID("{4657278A-411B-11D2-839A-00C04FD918D0}"), nullptr, CLSCTX_INPROC_SERVER,
                             IUnknown::IID(), &Helper),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(Helper, nullptr);
}

TEST_F(DataTransfer, OleClipboardRoundTrip) {
  const CLIPFORMAT Custom = ClipboardFormatOf("SxTestFormat");
  Data->SetBytes(Custom, "custom bytes");
  ASSERT_EQ(OleSetClipboard(Data), S_OK);
  EXPECT_EQ(OleIsCurrentClipboard(Data), S_OK);
  ASSERT_TRUE(OpenClipboard(nullptr));
  const std::string Text = BytesFromGlobal(GetClipboardData(CF_TEXT));
  EXPECT_EQ(Text.substr(0, 7), "dragged");
  EXPECT_EQ(BytesFromGlobal(GetClipboardData(Custom)), "custom bytes");
  CloseClipboard();
  IDataObject* Got = nullptr;
  ASSERT_EQ(OleGetClipboard(&Got), S_OK);
  EXPECT_EQ(Got, static_cast<IDataObject*>(Data));
  Got->_Release();
  // Another writer replaces it; the OLE view follows the clipboard.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(Custom, GlobalFromBytes("other", 5));
  CloseClipboard();
  EXPECT_EQ(OleIsCurrentClipboard(Data), S_FALSE);
  ASSERT_EQ(OleGetClipboard(&Got), S_OK);
  TIntfPtr<IDataObject> Snapshot;
  Snapshot.Attach(Got);
  std::string Bytes;
  EXPECT_TRUE(GetDataBytes(Got, Custom, Bytes));
  EXPECT_EQ(Bytes, "other");
  EXPECT_FALSE(GetDataBytes(Got, CF_TEXT, Bytes));
}

TEST_F(DataTransfer, DropsFromOtherProgramsReachRegisteredTargets) {
  ASSERT_EQ(RegisterDragDrop(Sink, Target), S_OK);
  TExternalDropSink* S = ExternalDropSink();
  ASSERT_NE(S, nullptr);
  int Fetches = 0;
  auto Fetch = [&] {
    ++Fetches;
    TExternalDropData D;
    D.HasFiles = true;
    D.Files = {"/tmp/a.rtf"};
    D.HasText = true;
    D.Text = "dropped text";
    return D;
  };
  DWORD Effect = 0;
  EXPECT_FALSE(S->DragOver({50, 50}, MK_LBUTTON, DROPEFFECT_COPY, Fetch, Effect));  // no target there
  EXPECT_EQ(Fetches, 0);
  EXPECT_TRUE(S->DragOver({250, 50}, MK_LBUTTON, DROPEFFECT_COPY, Fetch, Effect));
  EXPECT_EQ(Effect, DROPEFFECT_COPY);
  EXPECT_TRUE(S->DragOver({251, 50}, MK_LBUTTON, DROPEFFECT_COPY, Fetch, Effect));
  EXPECT_TRUE(S->Drop({251, 50}, MK_LBUTTON, DROPEFFECT_COPY, Fetch, Effect));
  EXPECT_EQ(Effect, DROPEFFECT_COPY);
  EXPECT_EQ(Fetches, 1);  // one round trip to the other program
  EXPECT_EQ(Target->Sequence(), (std::vector<std::string>{"enter", "over", "drop"}));
  EXPECT_EQ(Target->Dropped, std::string("dropped text\0", 13));
}

TEST_F(DataTransfer, AThrowingLoopStillEndsTheDrag) {
  ASSERT_EQ(RegisterDragDrop(Sink, Target), S_OK);
  DWORD Effect = 0;
  // The queue runs dry with the button still down: the headless display
  // throws instead of waiting for ever.
  EXPECT_ANY_THROW(Drag(DROPEFFECT_COPY, Effect, [&] { Screen().MouseMove(250, 50); }));
  EXPECT_FALSE(IsDragging());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Target->Calls.back(), "leave");
}
