// The drag-and-drop family without windows: the format map's order, the
// drop-effect rules, and data formats reading what data objects offer
// (file-drop blocks, item-id list arrays, single names, texts, values),
// malformed blocks included.
#include <gtest/gtest.h>

#include <cstring>

#include "app/dragdrop/DragDrop.h"
#include "app/dragdrop/DragDropFile.h"
#include "app/dragdrop/DragDropFormats.h"
#include "app/dragdrop/DragDropPIDL.h"
#include "platform/ole/DataObject.h"
#include "platform/ole/DropFormats.h"
#include "platform/rtl/ByteOrder.h"
#include "platform/shell/ShellData.h"
#include "platform/shell/ShellFixtures.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Win.h"

using namespace shelltest;

namespace {

std::vector<TClass> DataClasses(const TDataFormatMap& Map) {
  std::vector<TClass> Out;
  for (const auto& E : Map.Entries()) Out.push_back(E.DataFormat);
  return Out;
}

std::vector<std::pair<TClass, Integer>> Order(const TDataFormatMap& Map) {
  std::vector<std::pair<TClass, Integer>> Out;
  for (const auto& E : Map.Entries()) Out.emplace_back(E.ClipboardFormat, E.Priority);
  return Out;
}

std::vector<AnsiString> NamesOf(const TClipboardFormats* L) {
  std::vector<AnsiString> Out;
  for (Integer I = 0; I < L->Count(); ++I) Out.push_back(L->Items(I)->ClassName());
  return Out;
}

std::vector<std::string> Lines(const TStrings* S) {
  std::vector<std::string> Out;
  for (Integer I = 0; I < S->GetCount(); ++I) Out.push_back((*S)[I]);
  return Out;
}

// A data object with the given formats; counts what targets ask of it.
TIntfPtr<IDataObject> Offer(std::initializer_list<std::pair<CLIPFORMAT, std::string>> Formats) {
  auto* D = new TDataObject;
  TIntfPtr<IDataObject> Hold(static_cast<IDataObject*>(D));
  for (const auto& [F, Bytes] : Formats) D->SetBytes(F, Bytes);
  return Hold;
}

std::string Wide(const std::u16string& S) {
  return std::string(reinterpret_cast<const char*>(S.data()), S.size() * 2);
}

const TClass Text = TTextClipboardFormat::StaticClass();
const TClass Drop = TFileClipboardFormat::StaticClass();
const TClass Pidl = TPIDLClipboardFormat::StaticClass();
const TClass Name = TFilenameClipboardFormat::StaticClass();

}  // namespace

TEST(TDataFormatMap, SortsEachDataFormatByPriorityLaterRegistrationFirst) {
  const TClass Files = TFileDataFormat::StaticClass(), Texts = TTextDataFormat::StaticClass();
  {
    SCOPED_TRACE("equal priorities: the later one is preferred");
    TDataFormatMap M;
    M.Add(Files, Drop, 2, {scTarget}, {ddRead});
    M.Add(Files, Pidl, 2, {scTarget}, {ddRead});
    EXPECT_EQ(Order(M), (std::vector<std::pair<TClass, Integer>>{{Pidl, 2}, {Drop, 2}}));
  }
  {
    SCOPED_TRACE("2, 1, 0 end up 0, 1, 2");
    TDataFormatMap M;
    M.Add(Files, Drop, 2, {scTarget}, {ddRead});
    M.Add(Files, Pidl, 1, {scTarget}, {ddRead});
    M.Add(Files, Name, 0, {scTarget}, {ddRead});
    EXPECT_EQ(Order(M), (std::vector<std::pair<TClass, Integer>>{{Name, 0}, {Pidl, 1}, {Drop, 2}}));
  }
  {
    SCOPED_TRACE("a group that starts the map is sorted like any other");
    TDataFormatMap M;
    M.Add(Files, Drop, 5, {scTarget}, {ddRead});
    M.Add(Texts, Text, 0, {scTarget}, {ddRead});
    M.Add(Files, Pidl, 1, {scTarget}, {ddRead});
    EXPECT_EQ(Order(M), (std::vector<std::pair<TClass, Integer>>{{Pidl, 1}, {Drop, 5}, {Text, 0}}));
    EXPECT_EQ(DataClasses(M), (std::vector<TClass>{Files, Files, Texts}));
  }
  {
    SCOPED_TRACE("a second registration of a pair moves it and widens its sets");
    TDataFormatMap M;
    M.Add(Files, Drop, 0, {scSource}, {ddRead});
    M.Add(Files, Pidl, 1, {scTarget}, {ddRead});
    M.Add(Files, Drop, 3, {scTarget}, {ddWrite});
    EXPECT_EQ(Order(M), (std::vector<std::pair<TClass, Integer>>{{Pidl, 1}, {Drop, 3}}));
    EXPECT_EQ(M.Entries()[1].Scopes, (TConversionScopes{scSource, scTarget}));
    EXPECT_EQ(M.Entries()[1].Direction, (TDataDirections{ddRead, ddWrite}));
  }
}

TEST(TDataFormatMap, DataFormatsTryTheirClipboardFormatsInTheFamilysOrder) {
  TFileDataFormat Files(nullptr);
  EXPECT_EQ(NamesOf(Files.CompatibleFormats()),
            (std::vector<AnsiString>{"TFileClipboardFormat", "TPIDLClipboardFormat", "TFilenameWClipboardFormat",
                                     "TFilenameClipboardFormat"}));
  TFileMapDataFormat Maps(nullptr);
  EXPECT_EQ(NamesOf(Maps.CompatibleFormats()),
            (std::vector<AnsiString>{"TFilenameMapWClipboardFormat", "TFilenameMapClipboardFormat"}));
  TPIDLDataFormat Pidls(nullptr);
  EXPECT_EQ(NamesOf(Pidls.CompatibleFormats()),
            (std::vector<AnsiString>{"TPIDLClipboardFormat", "TFileClipboardFormat"}));
  EXPECT_EQ(Files.CompatibleFormats()->Items(0)->DataFormat, &Files);
}

TEST(TCustomDataFormat, RefusesAnOwnerThatCannotHoldDataFormats) {
  TDragDropComponent Plain(nullptr);
  try {
    TFileDataFormat F(&Plain);
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "TDragDropComponent is not a valid owner for TFileDataFormat. Owner must be derived from "
                           "TCustomDropMultiSource or TCustomDropMultiTarget");
  }
}

TEST(DropEffects, KeysChooseAmongTheAllowedEffects) {
  const DWORD C = DROPEFFECT_COPY, M = DROPEFFECT_MOVE, L = DROPEFFECT_LINK;
  struct TCase {
    TShiftState Shift;
    DWORD Allowed;
    bool FallBack;
    DWORD Want;
    const char* Why;
  } Cases[] = {
      {{}, C | M | L, true, M, "no key moves"},
      {{ssCtrl}, C | M | L, true, C, "Ctrl copies"},
      {{ssCtrl, ssShift}, C | M | L, true, L, "Ctrl+Shift links"},
      {{ssShift}, C | M, true, M, "Shift alone moves"},
      {{ssCtrl, ssShift}, C, false, 0, "link not allowed, no fall back"},
      {{ssCtrl, ssShift}, C, true, C, "link not allowed, falls back to copy"},
      {{ssCtrl, ssShift}, C | M, true, C, "copy is the first fall back"},
      {{}, C | L, true, C, "no move: copy"},
      {{}, 0, true, 0, "nothing allowed"},
  };
  for (const TCase& T : Cases) {
    SCOPED_TRACE(T.Why);
    EXPECT_EQ(ChooseDropEffect(T.Shift, T.Allowed, T.FallBack), T.Want);
  }
  EXPECT_EQ(KeysToShiftState(DWORD(MK_LBUTTON | 0x20)), (TShiftState{ssLeft, ssAlt}));
  EXPECT_EQ(KeysToShiftState(DWORD(MK_SHIFT | MK_CONTROL | MK_MBUTTON)), (TShiftState{ssShift, ssCtrl, ssMiddle}));
  EXPECT_EQ(DragTypesToDropEffect({dtCopy, dtLink}), C | L);
}

class DataFormats : public ::testing::Test {
protected:
  void SetUp() override {
    ResetWindowSystem();
    OleReset();
    OleInitialize(nullptr);
  }
  void TearDown() override { OleReset(); }
  std::vector<std::string> Files(IDataObject* D) {
    TFileDataFormat F(nullptr);
    F.GetData(D);
    return Lines(F.Files());
  }
};

TEST_F(DataFormats, FileDropBlocksGiveTheirNamesAndMalformedOnesNone) {
  std::string TwentyOnly = MakeDropFiles({}).substr(0, 20);
  std::string Beyond = MakeDropFiles({"a.rtf"});
  ByteOrder::WriteLE32(reinterpret_cast<std::uint8_t*>(Beyond.data()), 4000);  // list offset past the end
  std::string Unended = MakeDropFiles({"a.rtf"});
  Unended.resize(Unended.size() - 2);  // the last name loses its zero
  struct TCase {
    std::string Block;
    std::vector<std::string> Want;
    const char* Why;
  } Cases[] = {
      {MakeDropFiles({"/d/a.rtf", "/d/b c.doc"}, {}, /*Wide=*/true), {"/d/a.rtf", "/d/b c.doc"}, "wide names"},
      {MakeDropFiles({"/d/x.rtf"}), {"/d/x.rtf"}, "narrow name"},
      {TwentyOnly, {}, "exactly the header"},
      {MakeDropFiles({}), {}, "only the final empty name"},
      {Beyond, {}, "list offset outside the block"},
      {Unended, {}, "a name running to the block's end"},
  };
  for (const TCase& T : Cases) {
    SCOPED_TRACE(T.Why);
    EXPECT_EQ(Files(Offer({{CLIPFORMAT(CF_HDROP), T.Block}}).Get()), T.Want);
  }
}

TEST_F(DataFormats, FirstFormatThatYieldsNamesWinsAndTheOthersAreNotAsked) {
  TFixtureTree Tree;
  const std::string A = Tree.File("home/docs/a.rtf"), B = Tree.File("home/docs/b.doc");
  {
    SCOPED_TRACE("file drop and item-id lists: the item-id lists are never rendered");
    auto* D = new TDataObject;
    TIntfPtr<IDataObject> Hold(static_cast<IDataObject*>(D));
    int Rendered = 0;
    D->SetBytes(CF_HDROP, MakeDropFiles({A}));
    D->Promise(ClipboardFormatOf(CFSTR_SHELLIDLIST), [&](std::string& Out) {
      ++Rendered;
      Out = IDListArrayFromPaths({B});
      return true;
    });
    EXPECT_EQ(Files(D), (std::vector<std::string>{A}));
    EXPECT_EQ(Rendered, 0);
  }
  {
    SCOPED_TRACE("an unusable file drop falls through to the item-id lists");
    EXPECT_EQ(Files(Offer({{CLIPFORMAT(CF_HDROP), MakeDropFiles({})},
                           {ClipboardFormatOf(CFSTR_SHELLIDLIST), IDListArrayFromPaths({A, B})}})
                        .Get()),
              (std::vector<std::string>{A, B}));
  }
  {
    SCOPED_TRACE("FileNameW alone gives one name, its terminator not part of it");
    EXPECT_EQ(Files(Offer({{ClipboardFormatOf(CFSTR_FILENAMEW), Wide(u"/d/w.rtf") + std::string(2, '\0')}}).Get()),
              (std::vector<std::string>{"/d/w.rtf"}));
  }
  {
    SCOPED_TRACE("FileName alone");
    EXPECT_EQ(Files(Offer({{ClipboardFormatOf(CFSTR_FILENAMEA), std::string("/d/n.doc\0junk", 13)}}).Get()),
              (std::vector<std::string>{"/d/n.doc"}));
  }
  {
    SCOPED_TRACE("text only: no names");
    EXPECT_TRUE(Files(Offer({{CLIPFORMAT(CF_TEXT), "/d/a.rtf"}}).Get()).empty());
  }
}

TEST_F(DataFormats, ItemIdListArraysGiveThePathsOfTheirItems) {
  TFixtureTree Tree;
  const std::string X = Tree.File("home/A/B/x.txt"), Y = Tree.File("home/A/C/y.txt"), Z = Tree.File("home/A/z.txt");
  TStringList Names;
  for (const auto& N : {X, Y}) Names.Add(N);
  TStringList Lists;
  ASSERT_TRUE(FilenamesToPIDLs(&Names, &Lists));
  ASSERT_EQ(Lists.GetCount(), 3);
  LPITEMIDLIST Folder = FilenameToPIDL(Tree.Home() + "/A");
  ASSERT_TRUE(Folder);
  EXPECT_EQ(Lists[0], PIDLToString(Folder)) << "the parent is the common folder";
  CoTaskMemFree(Folder);
  TPIDLsToFilenamesStrings View(&Lists);
  EXPECT_EQ(Lines(&View), (std::vector<std::string>{X, Y}));
  EXPECT_THROW(View[2], EStringListError);

  Names.Add(Z);
  ASSERT_TRUE(FilenamesToPIDLs(&Names, &Lists));
  EXPECT_EQ(Lines(&View), (std::vector<std::string>{X, Y, Z})) << "three folders: the parent common to all";

  Names.Add(Tree.Home() + "/A/gone.txt");
  EXPECT_FALSE(FilenamesToPIDLs(&Names, &Lists)) << "a name that cannot be parsed";
  EXPECT_EQ(Lists.GetCount(), 0);
  EXPECT_EQ(View.GetCount(), 0);
  TStringList Bad;
  Bad.Add(Tree.Home() + "/nowhere/x.rtf");
  EXPECT_THROW(FilenamesToPIDLs(&Bad, &Lists), Exception) << "a folder that cannot be parsed";
}

TEST_F(DataFormats, ItemIdListBlocksAreBoundedByTheirSize) {
  // Count 2: three offsets, the lists right after them (each a bare terminator).
  std::string Block;
  auto Put = [&](std::uint32_t V) {
    std::uint8_t B[4];
    ByteOrder::WriteLE32(B, V);
    Block.append(reinterpret_cast<char*>(B), 4);
  };
  Put(2);
  Put(16);
  Put(18);
  Put(18);
  Block.append(4, '\0');  // 20 bytes
  TStringList L;
  EXPECT_FALSE(ReadIDListArray(Block.data(), 19, &L)) << "8 x 2 + 4 = 20 bytes at least";
  EXPECT_TRUE(ReadIDListArray(Block.data(), 20, &L));
  EXPECT_EQ(L.GetCount(), 3);
  const std::string ParentOnly = WriteIDListArray({std::string(2, '\0')});
  EXPECT_FALSE(ReadIDListArray(ParentOnly.data(), ParentOnly.size(), &L)) << "no items";
  EXPECT_EQ(L.GetCount(), 1);
  TPIDLsToFilenamesStrings View(&L);
  EXPECT_EQ(View.GetCount(), 0);
  EXPECT_THROW(View[0], EStringListError);
  // An offset that points past the block.
  std::string Far = Block;
  ByteOrder::WriteLE32(reinterpret_cast<std::uint8_t*>(Far.data()) + 8, 0x7FFFFFF0);
  EXPECT_FALSE(ReadIDListArray(Far.data(), Far.size(), &L));
}

TEST_F(DataFormats, AnItemWithoutAFileSystemPathReadsAsAnEmptyName) {
  TFixtureTree Tree;
  // The desktop root as parent, the root itself as the only item: no path.
  const std::string Block = WriteIDListArray({std::string(2, '\0'), std::string(2, '\0')});
  EXPECT_EQ(Files(Offer({{ClipboardFormatOf(CFSTR_SHELLIDLIST), Block}}).Get()), (std::vector<std::string>{""}));
}

TEST_F(DataFormats, RenderedFileDropBlockHasTheFamilysLayout) {
  auto* D = new TDataObject;
  TIntfPtr<IDataObject> Hold(static_cast<IDataObject*>(D));
  TFileClipboardFormat F;
  F.Files()->Add("a");
  F.Files()->Add("bc");
  FORMATETC Want = F.FormatEtc();
  Want.tymed = TYMED_HGLOBAL;
  STGMEDIUM M;
  ASSERT_TRUE(F.SetData(D, Want, M));
  std::string Bytes;
  ASSERT_TRUE(GetDataBytes(D, CF_HDROP, Bytes));
  const std::string Expected = std::string("\x14\0\0\0", 4) + std::string(16, '\0') + std::string("a\0bc\0\0", 6);
  EXPECT_EQ(Bytes, Expected);
  EXPECT_EQ(Bytes.size(), 26u);
}

TEST_F(DataFormats, TextAndValueFormatsReadWithinTheMedium) {
  {
    TTextClipboardFormat T;
    ASSERT_TRUE(T.GetData(Offer({{CLIPFORMAT(CF_TEXT), std::string("abc\0garbage", 11)}}).Get()));
    EXPECT_EQ(T.Text(), "abc");
  }
  {
    TFilenameWClipboardFormat W;
    ASSERT_TRUE(W.GetData(Offer({{ClipboardFormatOf(CFSTR_FILENAMEW), Wide(u"ab") + std::string(2, '\0') + "x"}}).Get()));
    EXPECT_EQ(W.WideText, (WideString{u'a', u'b', 0})) << "whole characters up to the medium's size";
  }
  {
    TPreferredDropEffectClipboardFormat P;
    ASSERT_TRUE(P.GetData(Offer({{ClipboardFormatOf(CFSTR_PREFERREDDROPEFFECT), MakeDWordFormat(5) + "more"}}).Get()));
    EXPECT_EQ(P.Value, 5u) << "the first four bytes of eight";
    EXPECT_FALSE(P.GetData(Offer({{ClipboardFormatOf(CFSTR_PREFERREDDROPEFFECT), "ab"}}).Get())) << "too short";
  }
  {
    TTextDataFormat T(nullptr);
    EXPECT_TRUE(T.GetData(Offer({{CLIPFORMAT(CF_TEXT), "hello"}}).Get()));
    EXPECT_EQ(T.GetText(), "hello");
  }
}

TEST_F(DataFormats, NameMapsReadNarrowAndWideLists) {
  TFileMapDataFormat F(nullptr);
  EXPECT_TRUE(F.GetData(Offer({{ClipboardFormatOf(CFSTR_FILENAMEMAPA), WriteNameList({"x.rtf", "y.rtf"}, false)},
                               {ClipboardFormatOf(CFSTR_FILENAMEMAPW), WriteNameList({"w.rtf"}, true)}})
                            .Get()));
  EXPECT_EQ(Lines(F.NameMaps()), (std::vector<std::string>{"w.rtf"})) << "the wide map is preferred";
}

TEST_F(DataFormats, FileGroupDescriptorsAreTakenOnlyWhenTheSizeHoldsTheirCount) {
  const CLIPFORMAT Id = ClipboardFormatOf(CFSTR_FILEDESCRIPTORA);
  auto Block = [](std::uint32_t Count, std::size_t Size) {
    std::string B(Size, '\0');
    ByteOrder::WriteLE32(reinterpret_cast<std::uint8_t*>(B.data()), Count);
    if (Size >= 4 + 332) std::memcpy(B.data() + 4 + 72, "first.rtf", 9);
    return B;
  };
  struct TCase {
    std::size_t Size;
    bool Taken;
  } Cases[] = {{999, false}, {1000, true}, {1331, true}, {1332, false}, {3, false}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Size);
    TFileGroupDescritorClipboardFormat G;
    EXPECT_EQ(G.GetData(Offer({{Id, Block(3, C.Size)}}).Get()), C.Taken);
    if (C.Taken) {
      ASSERT_EQ(G.Descriptors.size(), 3u);
      EXPECT_EQ(G.FileName(0), "first.rtf");
      EXPECT_EQ(G.FileName(1), "");
    }
  }
  TFileGroupDescritorClipboardFormat Huge;
  EXPECT_FALSE(Huge.GetData(Offer({{Id, Block(0xFFFFFFFFu, 1000)}}).Get())) << "a count the block cannot hold";
}

TEST_F(DataFormats, ATextOfferedAsAFileIsTheTextScrap) {
  TTextDataFormat T(nullptr);
  T.SetText("hello");
  TFileGroupDescritorWClipboardFormat W;
  ASSERT_TRUE(T.AssignTo(&W));
  ASSERT_EQ(W.Descriptors.size(), 1u);
  EXPECT_EQ(W.Descriptors[0].size(), 592u);
  EXPECT_EQ(W.FileName(0), "Text scrap.txt");
}
