// The transfer formats as bytes: file-drop blocks, name lists and item-id
// list arrays, written and read back, and read from hostile blocks.
#include <gtest/gtest.h>

#include "platform/ole/DropFormats.h"

namespace {
std::string U32(DWORD V) { return std::string{char(V), char(V >> 8), char(V >> 16), char(V >> 24)}; }
std::string Header(DWORD Offset, DWORD Wide) { return U32(Offset) + U32(0) + U32(0) + U32(0) + U32(Wide); }
std::string WideBytes(const std::u16string& S) {
  std::string Out;
  for (char16_t C : S) Out += std::string{char(C & 0xFF), char(C >> 8)};
  return Out;
}
}  // namespace

TEST(DropFiles, WritesTheNarrowLayout) {
  const std::string B = MakeDropFiles({"a", "bc"});
  EXPECT_EQ(B, Header(20, 0) + std::string("a\0bc\0\0", 6));
  EXPECT_EQ(B.size(), 26u);
  EXPECT_EQ(ReadDropFiles(B.data(), B.size()), (std::vector<std::string>{"a", "bc"}));
  // Wide, the names come back as UTF-8.
  const std::string W = MakeDropFiles({"/tmp/caf\xc3\xa9.rtf", "/x"}, {3, 4}, /*Wide=*/true);
  TDropFilesHeader H;
  EXPECT_EQ(ReadDropFiles(W.data(), W.size(), &H), (std::vector<std::string>{"/tmp/caf\xc3\xa9.rtf", "/x"}));
  EXPECT_TRUE(H.fWide);
  EXPECT_EQ(H.pt, (TPoint{3, 4}));
}

TEST(DropFiles, HostileBlocksGiveNoNamesOrOnlyTheWholeOnes) {
  struct {
    std::string Block;
    std::vector<std::string> Want;
    const char* Why;
  } Cases[] = {
      {Header(20, 0), {}, "exactly the header: refused"},
      {Header(20, 0) + std::string(1, '\0'), {}, "only the final empty name"},
      {Header(0xFFFFFFF0u, 0) + std::string("a\0\0", 3), {}, "offset past the block"},
      {Header(4, 0) + std::string("a\0\0", 3), {}, "offset inside the header"},
      {Header(20, 0) + "abc", {}, "a name without its zero"},
      {Header(20, 0) + std::string("ok\0tail", 7), {"ok"}, "a cut last name is dropped"},
      {Header(20, 1) + WideBytes(u"ab") + std::string("\0\0", 2) + WideBytes(u"c"), {"ab"}, "wide, cut"},
      {Header(20, 1) + std::string("a", 1), {}, "wide, an odd byte"},
      {Header(24, 0) + std::string("xxxxname\0\0", 10), {"name"}, "names after a gap"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(ReadDropFiles(C.Block.data(), C.Block.size()), C.Want);
  }
  EXPECT_TRUE(ReadDropFiles(nullptr, 100).empty());
}

TEST(NameLists, RoundTripNarrowAndWide) {
  const std::vector<std::string> Names = {"one", "two words", "\xc3\xa9t\xc3\xa9"};
  for (bool Wide : {false, true}) {
    const std::string B = WriteNameList(Names, Wide);
    EXPECT_EQ(ReadNameList(B.data(), B.size(), Wide), Names);
  }
  EXPECT_EQ(WriteNameList({"a", "", "b"}, false), std::string("a\0b\0\0", 5));  // an empty name would end the list
}

TEST(IDListArray, CountsOffsetsAndListsAreCheckedAgainstTheBlock) {
  const std::string Parent = std::string("\x05\x00\x02" "/h", 5) + std::string(2, '\0');
  const std::string A = std::string("\x04\x00\x10" "a", 4) + std::string(2, '\0');
  const std::string B = std::string("\x05\x00\x10" "bc", 5) + std::string(2, '\0');
  const std::string Block = WriteIDListArray({Parent, A, B});
  auto Lists = ReadIDListArray(Block.data(), Block.size());
  ASSERT_TRUE(Lists.has_value());
  EXPECT_EQ(*Lists, (std::vector<std::string>{Parent, A, B}));

  auto Patched = [&](std::size_t At, DWORD V) {
    std::string S = Block;
    S.replace(At, 4, U32(V));
    return S;
  };
  struct {
    std::string Block;
    const char* Why;
  } Bad[] = {
      {Block.substr(0, 19), "count 2 needs at least 20 bytes"},
      {Patched(0, 0x40000000u), "a count that cannot fit"},
      {Patched(8, DWORD(Block.size())), "an offset at the end"},
      {Patched(8, 0xFFFFFFFFu), "an offset far past the end"},
      {Block.substr(0, Block.size() - 1), "the last list without its terminator"},
      {Patched(4 * 4, DWORD(Block.size() - 3)), "a list whose item runs past the end"},
  };
  for (const auto& C : Bad) {
    SCOPED_TRACE(C.Why);
    EXPECT_FALSE(ReadIDListArray(C.Block.data(), C.Block.size()).has_value());
  }
  // Only the parent: read, one list.
  const std::string Alone = WriteIDListArray({Parent});
  auto One = ReadIDListArray(Alone.data(), Alone.size());
  ASSERT_TRUE(One.has_value());
  EXPECT_EQ(One->size(), 1u);
}

TEST(IDListArray, TheSizeWalkStopsAtTheBytes) {
  // Items whose sizes point past the end, or are too small to advance.
  const std::string Cases[] = {std::string("\x00", 1), std::string("\x10\x00\x10", 3), std::string("\x01\x00\x00\x00", 4),
                               std::string("\x03\x00\x10\xff\xff", 5)};
  for (const std::string& C : Cases) EXPECT_EQ(BoundedIDListSize(C.data(), C.size()), 0u) << testing::PrintToString(C);
  EXPECT_EQ(BoundedIDListSize("\x03\x00\x10\x00\x00", 5), 5u);
}

TEST(DWordFormat, TakesTheFirstFourBytes) {
  EXPECT_EQ(ReadDWordFormat(MakeDWordFormat(5) + "xxxx"), 5u);
  EXPECT_FALSE(ReadDWordFormat("abc").has_value());
}
