#include "platform/win/Atoms.h"

#include <gtest/gtest.h>

#include "platform/win/Window.h"

namespace {
class GlobalAtomTest : public ::testing::Test {
protected:
  void TearDown() override { ResetWindowSystem(); }
};

AnsiString NameOf(ATOM A) {
  char Buf[300];
  const UINT N = GlobalGetAtomNameA(A, Buf, sizeof Buf);
  return AnsiString(Buf, N);
}
}  // namespace

TEST_F(GlobalAtomTest, StringAtomsAreCountedAndFoundIgnoringCase) {
  const ATOM A = GlobalAddAtomA("HotKeyManagerHotKey16420");
  ASSERT_GE(A, MAXINTATOM);
  EXPECT_EQ(GlobalAddAtomA("hotkeymanagerhotkey16420"), A);
  EXPECT_EQ(GlobalFindAtomA("HOTKEYMANAGERHOTKEY16420"), A);
  EXPECT_EQ(NameOf(A), "HotKeyManagerHotKey16420") << "the first spelling stays";
  const ATOM B = GlobalAddAtomA("HotKeyManagerHotKey32833");
  EXPECT_NE(B, A);
  EXPECT_EQ(GlobalDeleteAtom(A), 0) << "one reference left";
  EXPECT_EQ(GlobalFindAtomA("HotKeyManagerHotKey16420"), A);
  EXPECT_EQ(GlobalDeleteAtom(A), 0);
  EXPECT_EQ(GlobalFindAtomA("HotKeyManagerHotKey16420"), 0);
  EXPECT_EQ(GlobalDeleteAtom(A), A) << "deleting a gone atom fails";
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(NameOf(B), "HotKeyManagerHotKey32833");
  EXPECT_EQ(GlobalAddAtomA("Another"), A) << "a freed number is given out again";
  ResetWindowSystem();
  EXPECT_EQ(GlobalFindAtomA("Another"), 0);
}

TEST_F(GlobalAtomTest, IntegerAtomsAndBadNames) {
  EXPECT_EQ(GlobalAddAtomA("#123"), 123);
  EXPECT_EQ(GlobalAddAtomA(MAKEINTATOM(77)), 77);
  EXPECT_EQ(GlobalFindAtomA("#123"), 123);
  EXPECT_EQ(NameOf(123), "#123");
  EXPECT_EQ(GlobalDeleteAtom(123), 0);
  EXPECT_GE(GlobalAddAtomA("#12a"), MAXINTATOM) << "not a number: a string atom";
  for (const char* Bad : {"", "#0", "#49152", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(Bad ? Bad : "null");
    EXPECT_EQ(GlobalAddAtomA(Bad), 0);
  }
  EXPECT_EQ(GlobalAddAtomA(AnsiString(256, 'x').c_str()), 0);
  EXPECT_NE(GlobalAddAtomA(AnsiString(255, 'x').c_str()), 0);
}
