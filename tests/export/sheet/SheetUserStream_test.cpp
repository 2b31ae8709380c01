// The spreadsheet writers with Preferences.OutputToUserStream: the caller's
// stream receives the same bytes the file would, after what it held, and no
// file is made.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "SheetSupport.h"
#include "platform/rtl/Streams.h"

namespace {
template <class TEngine>
std::string Bytes(TEngine& E, TStream* User, const std::string& Base) {
  E.SetFileName(Base);
  E.GetPreferences()->SetAutoFormatCells(true);
  E.GetPreferences()->SetOutputToUserStream(User != nullptr);
  E.SetUserStream(User);
  E.BeginDoc();
  E.TextOut(E.Col(0), E.Row(0), u"Ink");
  E.TextOut(E.Col(1), E.Row(0), u"12.5");
  E.NewPage();
  E.TextOut(E.Col(0), E.Row(0), u"second");
  E.EndDoc();
  const std::string File = Base + "." + E.GetFileExtension();
  if (User) return "";
  std::string Out = sxtest::ReadFile(File);
  std::remove(File.c_str());
  return Out;
}

template <class TEngine>
void Check(const char* Reader) {
  TTestSheetEngine<TEngine> E;
  const std::string Base = SheetTempBase(std::string("user_") + Reader);
  const std::string FromFile = Bytes(E, nullptr, Base);
  ASSERT_FALSE(FromFile.empty());
  TMemoryStream User;
  User.WriteBuffer("keep", 4);
  Bytes(E, &User, Base);
  EXPECT_FALSE(std::filesystem::exists(Base + "." + E.GetFileExtension())) << "no file beside the stream";
  EXPECT_TRUE(E.GetOutputFiles().empty());
  const std::string Got(static_cast<const char*>(User.Memory()), std::size_t(User.GetSize()));
  ASSERT_GE(Got.size(), 4u);
  EXPECT_EQ(Got.substr(0, 4), "keep") << "what the stream held stays";
  EXPECT_TRUE(Got.substr(4) == FromFile) << "the stream gets the file's bytes";
  // The outside reader agrees on what the stream holds.
  const std::string Copy = Base + ".stream";
  {
    std::ofstream(Copy, std::ios::binary) << Got.substr(4);
  }
  const std::string Out = RunSheetReader(Reader, Copy);
  std::remove(Copy.c_str());
  EXPECT_EQ(Out.find("EXIT"), std::string::npos) << Out;
  EXPECT_NE(Out.find("second"), std::string::npos) << Out;
}
}  // namespace

TEST(SheetUserStream, EachWriterFillsTheCallersStream) {
  {
    SCOPED_TRACE("excel");
    Check<TgtExcelEngine>("xls");
  }
  {
    SCOPED_TRACE("lotus");
    Check<TgtLotusEngine>("wk1");
  }
  {
    SCOPED_TRACE("quattro");
    Check<TgtQuattroProEngine>("wb1");
  }
}

// Asked to write to a stream nobody gave, the document does not start, no
// file is made, and the engine takes the next document.
TEST(SheetUserStream, WithoutAStreamTheDocumentFailsAndTheEngineRecovers) {
  TTestSheetEngine<TgtLotusEngine> E;
  const std::string Base = SheetTempBase("user_missing");
  E.SetFileName(Base);
  E.GetPreferences()->SetOutputToUserStream(true);
  EXPECT_THROW(E.BeginDoc(), EStreamError);
  EXPECT_FALSE(E.IsDocumentOpen());
  EXPECT_EQ(E.GetDocumentState(), dsFileError);
  EXPECT_FALSE(std::filesystem::exists(Base + ".WK1"));
  TMemoryStream User;
  E.SetUserStream(&User);
  E.BeginDoc();
  E.TextOut(0, 0, u"x");
  E.EndDoc();
  EXPECT_GT(User.GetSize(), 0);
}
