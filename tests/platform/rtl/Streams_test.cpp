#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "support/TestFiles.h"

namespace {

// A scratch folder removed at the end of the test.
class TTempDir {
public:
  TTempDir() {
    char Tmpl[] = "/tmp/sx_streams_XXXXXX";
    FPath = ::mkdtemp(Tmpl);
  }
  ~TTempDir() { std::filesystem::remove_all(FPath); }
  AnsiString File(const char* Name) const { return FPath + "/" + Name; }

private:
  std::string FPath;
};

using sxtest::ReadFile;

void WriteAll(const AnsiString& FileName, const std::string& Data) {
  std::ofstream(FileName, std::ios::binary) << Data;
}

template <class E, class F>
std::string MessageOf(F&& Fn) {
  try {
    Fn();
  } catch (const E& Ex) {
    return Ex.Message();
  }
  return "<no exception>";
}

}  // namespace

TEST(TMemoryStream, SeekOriginsMoveThePosition) {
  TMemoryStream S;
  S.WriteBytes("0123456789");
  struct TCase { Int64 Offset; TSeekOrigin Origin; Int64 Want; };
  const TCase Cases[] = {
      {3, soBeginning, 3}, {2, soCurrent, 5}, {-4, soEnd, 6}, {0, soEnd, 10}, {-10, soCurrent, 0},
  };
  for (const auto& C : Cases) EXPECT_EQ(S.Seek(C.Offset, C.Origin), C.Want);
  EXPECT_EQ(S.Seek(Integer{-1}, soFromEnd), 9);
  EXPECT_EQ(S.Seek(Integer{-2}, soFromCurrent), 7);
  EXPECT_EQ(S.Seek(Integer{1}, soFromBeginning), 1);
}

TEST(TMemoryStream, WritingPastTheEndGrowsAndZeroFillsTheGap) {
  TMemoryStream S;
  S.WriteBytes("ab");
  S.SetPosition(5);
  S.WriteBytes("Z");
  EXPECT_EQ(S.GetSize(), 6);
  S.SetPosition(0);
  EXPECT_EQ(S.ReadBytes(6), std::string("ab\0\0\0Z", 6));
}

TEST(TMemoryStream, ReadStopsAtTheEndAndBeforeTheStart) {
  TMemoryStream S;
  S.WriteBytes("abc");
  char Buf[8] = {};
  S.SetPosition(1);
  EXPECT_EQ(S.Read(Buf, 8), 2);
  EXPECT_EQ(S.Read(Buf, 8), 0);
  S.SetPosition(-5);  // allowed, as in the class library, but reads nothing
  EXPECT_EQ(S.Read(Buf, 1), 0);
  EXPECT_EQ(S.Write("x", 1), 0);
  S.SetPosition(0);
  EXPECT_EQ(S.Read(Buf, -1), 0);
}

TEST(TMemoryStream, SetSizeTruncatesAndPullsThePositionBack) {
  TMemoryStream S;
  S.WriteBytes("abcdef");
  S.SetSize(2);
  EXPECT_EQ(S.GetPosition(), 2);
  S.SetPosition(0);
  EXPECT_EQ(S.ReadBytes(2), "ab");
  S.Clear();
  EXPECT_EQ(S.GetSize(), 0);
  EXPECT_EQ(S.Memory(), nullptr);
}

TEST(TStream, BufferCallsRaiseOnShortOrNegativeCounts) {
  TMemoryStream S;
  S.WriteBytes("abc");
  S.SetPosition(0);
  char Buf[8];
  EXPECT_EQ(MessageOf<EReadError>([&] { S.ReadBuffer(Buf, 4); }), "Stream read error");
  EXPECT_THROW(S.ReadBuffer(Buf, -1), EReadError);
  EXPECT_THROW(S.WriteBuffer(Buf, -1), EWriteError);
  S.SetPosition(0);
  EXPECT_THROW(S.ReadBytes(-1), EReadError);
  // A corrupt length must not allocate gigabytes before failing.
  EXPECT_THROW(S.ReadBytes(0x7FFFFFFF), EReadError);
  EXPECT_EQ(S.GetPosition(), 0);
  EXPECT_THROW(S.SetSize(-1), EStreamError);
  EXPECT_THROW(S.SetSize(Int64{1} << 40), EStreamError);
  EXPECT_EQ(S.GetSize(), 3);
}

TEST(TStream, WriteFailureOnAReadOnlyFileRaisesWriteError) {
  TTempDir Dir;
  WriteAll(Dir.File("ro.bin"), "abc");
  TFileStream F(Dir.File("ro.bin"), fmOpenRead);
  // The message names the file and the reason.
  EXPECT_EQ(MessageOf<EWriteError>([&] { F.WriteBytes("x"); }),
            "Stream write error: \"" + Dir.File("ro.bin") + "\". Access is denied");
}

TEST(TStream, LittleEndianHelpersRoundTripAndLayBytesOutLowFirst) {
  TMemoryStream S;
  S.WriteU8(0x12);
  S.WriteU16(0x3456);
  S.WriteU32(0x789ABCDEu);
  S.WriteI16(-2);
  S.WriteI32(-3);
  S.WriteI64(-4);
  S.WriteU64(0x0102030405060708ull);
  S.WriteSingle(1.5f);
  S.WriteDouble(-0.25);
  S.SetPosition(0);
  EXPECT_EQ(S.ReadBytes(7), std::string("\x12\x56\x34\xDE\xBC\x9A\x78", 7));
  S.SetPosition(0);
  EXPECT_EQ(S.ReadU8(), 0x12);
  EXPECT_EQ(S.ReadU16(), 0x3456);
  EXPECT_EQ(S.ReadU32(), 0x789ABCDEu);
  EXPECT_EQ(S.ReadI16(), -2);
  EXPECT_EQ(S.ReadI32(), -3);
  EXPECT_EQ(S.ReadI64(), -4);
  EXPECT_EQ(S.ReadU64(), 0x0102030405060708ull);
  EXPECT_EQ(S.ReadSingle(), 1.5f);
  EXPECT_EQ(S.ReadDouble(), -0.25);
  EXPECT_THROW(S.ReadU8(), EReadError);
}

TEST(TStream, CopyFromZeroCopiesTheWholeSourceFromItsStart) {
  TMemoryStream Src;
  std::string Big(0x25000, 'q');  // more than one copy buffer
  Big[0x1F000] = 'X';
  Src.WriteBytes(Big);
  TMemoryStream Dst;
  EXPECT_EQ(Dst.CopyFrom(&Src, 0), Int64(Big.size()));
  Dst.SetPosition(0);
  EXPECT_EQ(Dst.ReadBytes(Integer(Big.size())), Big);

  Src.SetPosition(2);
  TMemoryStream Part;
  EXPECT_EQ(Part.CopyFrom(&Src, 3), 3);
  EXPECT_EQ(Part.GetSize(), 3);
  Src.SetPosition(Src.GetSize() - 1);
  EXPECT_THROW(Part.CopyFrom(&Src, 5), EReadError);
  EXPECT_THROW(Part.CopyFrom(&Src, -1), EReadError);
}

TEST(TMemoryStream, FileRoundTripAndMissingFileMessage) {
  TTempDir Dir;
  TMemoryStream S;
  S.WriteBytes(std::string("bin\0ary", 7));
  S.SaveToFile(Dir.File("m.bin"));
  EXPECT_EQ(ReadFile(Dir.File("m.bin")), std::string("bin\0ary", 7));

  TMemoryStream T;
  T.LoadFromFile(Dir.File("m.bin"));
  EXPECT_EQ(T.GetSize(), 7);
  EXPECT_EQ(std::string(static_cast<const char*>(T.Memory()), 7), std::string("bin\0ary", 7));

  const AnsiString Missing = Dir.File("none.bin");
  EXPECT_EQ(MessageOf<EFOpenError>([&] { T.LoadFromFile(Missing); }),
            "Cannot open file \"" + Missing + "\". The system cannot find the file specified");
  const AnsiString NoDir = Dir.File("nodir/x.bin");
  EXPECT_EQ(MessageOf<EFCreateError>([&] { S.SaveToFile(NoDir); }),
            "Cannot create file \"" + NoDir + "\". The system cannot find the path specified");
}

TEST(TFileStream, CreateTruncatesAndOpenModesLimitAccess) {
  TTempDir Dir;
  const AnsiString Name = Dir.File("f.txt");
  WriteAll(Name, "old content");
  {
    TFileStream F(Name, fmCreate);
    EXPECT_EQ(F.GetSize(), 0);
    F.WriteBytes("new");
  }
  EXPECT_EQ(ReadFile(Name), "new");
  {
    TFileStream F(Name, fmOpenReadWrite);
    F.Seek(Int64{0}, soEnd);
    F.WriteBytes("er");
    F.SetPosition(0);
    EXPECT_EQ(F.ReadBytes(5), "newer");
    F.SetSize(2);
  }
  EXPECT_EQ(ReadFile(Name), "ne");
  {
    TFileStream F(Name, fmOpenWrite);
    char C;
    EXPECT_EQ(F.Read(&C, 1), 0);
  }
  EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream F(Dir.File(""), fmOpenRead); }),
            "Cannot open file \"" + Dir.File("") + "\". Access is denied");
  EXPECT_THROW(TFileStream(Name, 0x0003), EFOpenError);
}

TEST(TFileStream, ShareModesConflictAsOnWindows) {
  TTempDir Dir;
  const AnsiString Name = Dir.File("s.txt");
  WriteAll(Name, "x");
  struct TCase { Word First, Second; bool SecondOpens; const char* Why; };
  const TCase Cases[] = {
      {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyWrite, true, "two readers denying writers"},
      {fmOpenRead | fmShareDenyWrite, fmOpenReadWrite | fmShareDenyNone, false, "writer denied"},
      {fmOpenRead | fmShareDenyNone, fmOpenReadWrite | fmShareDenyNone, true, "everything shared"},
      {fmOpenRead, fmOpenRead | fmShareDenyNone, false, "compat mode shares nothing"},
      {fmOpenRead | fmShareExclusive, fmOpenRead | fmShareDenyNone, false, "exclusive"},
      {fmOpenWrite | fmShareDenyNone, fmOpenRead | fmShareDenyWrite, false, "second denies the first's write"},
      {fmOpenWrite | fmShareDenyRead, fmOpenWrite | fmShareDenyNone, true, "deny read lets a writer in"},
      {fmOpenWrite | fmShareDenyRead, fmOpenRead | fmShareDenyNone, false, "deny read stops a reader"},
      {fmOpenRead | fmShareDenyNone, fmCreate, false, "create is exclusive"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TFileStream First(Name, C.First);
    if (C.SecondOpens) {
      EXPECT_NO_THROW(TFileStream(Name, C.Second));
    } else {
      const std::string Msg = MessageOf<EStreamError>([&] { TFileStream Second(Name, C.Second); });
      EXPECT_NE(Msg.find("being used by another process"), std::string::npos) << Msg;
    }
  }
  // A refused fmCreate must not have truncated the file it was refused.
  EXPECT_EQ(ReadFile(Name), "x");
  // Closing releases the file.
  { TFileStream A(Name, fmOpenRead | fmShareExclusive); }
  EXPECT_NO_THROW(TFileStream(Name, fmOpenRead | fmShareExclusive));
}

TEST(TStringStream, WritesReplaceTheTailAndReadsStopAtTheEnd) {
  TStringStream S("hello world");
  EXPECT_EQ(S.ReadString(5), "hello");
  EXPECT_EQ(S.ReadString(100), " world");
  EXPECT_EQ(S.ReadString(3), "");
  S.SetPosition(2);
  S.WriteString("LL");
  EXPECT_EQ(S.DataString(), "heLL");  // the class library's string stream cuts at the write
  EXPECT_EQ(S.Seek(Int64{99}, soBeginning), 4);
  EXPECT_EQ(S.Seek(Int64{-99}, soCurrent), 0);
  S.SetSize(1);
  EXPECT_EQ(S.DataString(), "h");
  EXPECT_EQ(S.ReadString(-3), "");
}

TEST(TStream, SizeOfTheBaseQueryLeavesThePositionAlone) {
  TTempDir Dir;
  WriteAll(Dir.File("p.bin"), "abcdef");
  TFileStream F(Dir.File("p.bin"), fmOpenRead);
  F.SetPosition(2);
  EXPECT_EQ(F.GetSize(), 6);
  EXPECT_EQ(F.GetPosition(), 2);
  EXPECT_EQ(F.ReadBytes(2), "cd");
}

// Small writes reach the target in blocks, in order, and nothing is lost
// whether the writer flushes, seeks, reads back or just goes away.
TEST(TWriteBufferStream, SmallWritesReachTheTargetInOrderInBlocks) {
  struct TCounting : TStringStream {
    Integer Writes = 0;
    Integer Write(const void* Buffer, Integer Count) override {
      ++Writes;
      return TStringStream::Write(Buffer, Count);
    }
  };
  TCounting Target;
  AnsiString Expected;
  {
    TWriteBufferStream B(&Target, 16);
    for (int I = 0; I < 20; ++I) {
      const AnsiString Piece = AnsiString(1, '<').append(std::to_string(I)).append(1, '>');
      B.WriteBuffer(Piece.data(), Integer(Piece.size()));
      Expected += Piece;
    }
    EXPECT_LT(Target.Writes, 10) << "one write per block, not per piece";
    const AnsiString Big(40, 'x');  // more than a block goes straight through
    B.WriteBuffer(Big.data(), Integer(Big.size()));
    Expected += Big;
    B.WriteBuffer("tail", 4);
    Expected += "tail";
    EXPECT_EQ(B.GetPosition(), Int64(Expected.size())) << "the position counts what is gathered";
    EXPECT_EQ(B.Seek(Int64(0), soEnd), Int64(Expected.size()));
    EXPECT_EQ(Target.DataString(), Expected) << "a seek passes on what is gathered";
    B.WriteBuffer("end", 3);
    Expected += "end";
  }
  EXPECT_EQ(Target.DataString(), Expected) << "the destructor passes on the rest";
}

TEST(TWriteBufferStream, FlushReportsATargetThatTakesTooLittle) {
  TTempDir Dir;
  const AnsiString Name = Dir.File("ro.txt");
  { TFileStream Create(Name, fmCreate); }
  TFileStream ReadOnly(Name, fmOpenRead);
  TWriteBufferStream B(&ReadOnly);
  B.WriteBuffer("abc", 3);  // only gathered so far
  EXPECT_THROW(B.Flush(), EWriteError);
  EXPECT_NO_THROW(B.Flush()) << "the failed block is reported once";
}
