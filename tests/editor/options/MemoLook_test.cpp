#include "editor/options/MemoLook.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "editor/base/PersHolder.h"
#include "editor/options/MemoEnvOptions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/win/Clipboard.h"
#include "platform/win/GlobalMemory.h"

namespace {

// The global options load from the per-user store: keep it out of the
// user's own configuration.
const bool StoreIsolated = [] {
  const auto Dir = std::filesystem::temp_directory_path() / ("sx_memolook_" + std::to_string(::getpid()));
  std::filesystem::create_directories(Dir);
  ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
  return true;
}();

std::string ToText(TPersistent* Obj) {
  TStringStream S("");
  WriteComponentText(&S, Obj);
  return S.DataString();
}

void FromText(const std::string& Text, TPersistent* Obj) {
  TStringStream S(Text);
  ReadComponentText(&S, Obj);
}

}  // namespace

TEST(TMemoEnvOptions, LookObjectsStartWithTheirDefaults) {
  ASSERT_TRUE(StoreIsolated);
  TMemoEnvOptions* O = GetMemoEnvOptions();
  for (TPen* Pen : {O->GetLineSeparator()->GetPen(), O->GetLineHighlight()->GetPen()}) {
    EXPECT_EQ(Pen->GetWidth(), 1);
    EXPECT_EQ(Pen->GetStyle(), psSolid);
    EXPECT_EQ(Pen->GetColor(), clGrayText);
  }
  EXPECT_TRUE(O->GetLineSeparator()->GetOptions().Empty());
  EXPECT_EQ(O->GetLineHighlight()->GetBrush()->GetColor(), clBtnFace);
  EXPECT_EQ(O->GetLineHighlight()->GetBrush()->GetStyle(), bsSolid);
  EXPECT_FALSE(O->GetLineHighlight()->GetVisible());
  EXPECT_EQ(O->GetLineHighlight()->GetShape(), shDoubleLine);
  EXPECT_EQ(O->GetSpecialSymbols()->GetEOLString(), AnsiString(1, char(182)));
  EXPECT_EQ(O->GetSpecialSymbols()->GetEOFString(), "_");
  EXPECT_EQ(O->GetSpecialSymbols()->GetSpaceChar(), 0);
  EXPECT_EQ(O->GetSpecialSymbols()->GetTabChar(), 0);
}

TEST(TMemoEnvOptions, SeparatorAndHighlightPensAreNarrowedToTwoAndTellTheListeners) {
  TMemoEnvOptions* O = GetMemoEnvOptions();
  class TCounter : public TOptionsListener {
  public:
    int Count = 0;
    void OptionsChanged() override { ++Count; }
  } C;
  AddOptionListener(&C);
  TLineSeparator Sep;
  Sep.GetPen()->SetColor(clRed);
  Sep.SetOptions({moDrawLineSeparator});
  TLineHighlight High;
  High.SetVisible(true);
  // Bypass each object's own limit: a pen of 5 as another program wrote it.
  Sep.GetPen()->OnChange = nullptr;
  High.GetPen()->OnChange = nullptr;
  Sep.GetPen()->SetWidth(5);
  High.GetPen()->SetWidth(5);
  O->SetLineSeparator(&Sep);
  O->SetLineHighlight(&High);
  EXPECT_EQ(O->GetLineSeparator()->GetPen()->GetWidth(), 2);
  EXPECT_EQ(O->GetLineSeparator()->GetPen()->GetColor(), clRed);
  EXPECT_EQ(O->GetLineSeparator()->GetOptions(), TSeparatorOptions{moDrawLineSeparator});
  EXPECT_EQ(O->GetLineHighlight()->GetPen()->GetWidth(), 2);
  EXPECT_TRUE(O->GetLineHighlight()->GetVisible());
  EXPECT_GE(C.Count, 2);
  RemoveOptionListener(&C);
  // A copy of the options changes nothing until applied.
  auto Copy = CreateOptions<TMemoEnvOptions>();
  Copy->GetSpecialSymbols()->SetEOFString("<eof>");
  EXPECT_EQ(O->GetSpecialSymbols()->GetEOFString(), "_");
  Copy->Apply();
  EXPECT_EQ(O->GetSpecialSymbols()->GetEOFString(), "<eof>");
  O->GetSpecialSymbols()->SetEOFString("_");
}

TEST(TLineSeparator, OwnPenWiderThanTwoIsSetBack) {
  TLineSeparator Sep;
  Sep.GetPen()->SetWidth(4);
  EXPECT_EQ(Sep.GetPen()->GetWidth(), 2);
  Sep.GetPen()->SetWidth(1);
  EXPECT_EQ(Sep.GetPen()->GetWidth(), 1);
  TLineHighlight High;
  High.GetPen()->SetWidth(3);
  EXPECT_EQ(High.GetPen()->GetWidth(), 2);
}

TEST(TLineHighlight, AssignCopiesVisiblePenAndBrushButNotTheShape) {
  TLineHighlight From, To;
  From.SetVisible(true);
  From.SetShape(shSingleLine);
  From.GetPen()->SetColor(clRed);
  From.GetBrush()->SetColor(clYellow);
  To.Assign(&From);
  EXPECT_TRUE(To.GetVisible());
  EXPECT_EQ(To.GetShape(), shDoubleLine);
  EXPECT_EQ(To.GetPen()->GetColor(), clRed);
  EXPECT_EQ(To.GetBrush()->GetColor(), clYellow);
  TFont NotAHighlight;
  EXPECT_THROW(To.Assign(&NotAHighlight), EConvertError);
}

TEST(TSpecialSymbols, StringsStreamByteForByteThroughTheirBinaryCopies) {
  TSpecialSymbols From;
  From.SetEOLString(AnsiString("\xB6\x81", 2));
  From.SetEOFString(AnsiString("\xA4\x00z", 3));
  From.SetSpaceChar('.');
  From.SetTabChar(char(187));
  const std::string Text = ToText(&From);
  EXPECT_NE(Text.find("P.EOLStringBinary"), std::string::npos) << Text;
  EXPECT_NE(Text.find("P.EOFStringBinary"), std::string::npos) << Text;
  TSpecialSymbols Back;
  FromText(Text, &Back);
  EXPECT_EQ(Back.GetEOLString(), AnsiString("\xB6\x81", 2));
  EXPECT_EQ(Back.GetEOFString(), AnsiString("\xA4\x00z", 3));
  EXPECT_EQ(Back.GetSpaceChar(), '.');
  EXPECT_EQ(Back.GetTabChar(), char(187));
  // The defaults are written too.
  TSpecialSymbols Defaults;
  EXPECT_NE(ToText(&Defaults).find("EOLStringBinary"), std::string::npos);
}

TEST(TSpecialSymbols, LengthBeyondTheStreamIsAReadErrorNotAHugeString) {
  TSpecialSymbols From;
  From.SetEOLString("ab");
  std::string Text = ToText(&From);
  const size_t At = Text.find("020000006162");
  ASSERT_NE(At, std::string::npos) << Text;
  Text.replace(At, 8, "FFFFFF7F");
  TSpecialSymbols Back;
  EXPECT_THROW(FromText(Text, &Back), Exception);
}

TEST(TSpecialSymbols, AssignTakesOnlySpecialSymbols) {
  TSpecialSymbols From, To;
  From.SetEOLString("$");
  From.SetTabChar('>');
  To.Assign(&From);
  EXPECT_EQ(To.GetEOLString(), "$");
  EXPECT_EQ(To.GetTabChar(), '>');
  TFont Other;
  To.Assign(&Other);
  EXPECT_EQ(To.GetEOLString(), "$") << "anything else is ignored, without an error";
}

TEST(ClipboardHasRtf, SeesTheRegisteredRichTextFormat) {
  ClipboardReset();
  EXPECT_FALSE(ClipboardHasRtf());
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const char Rtf[] = "{\\rtf1 x}";
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, sizeof Rtf);
  std::memcpy(GlobalLock(Mem), Rtf, sizeof Rtf);
  GlobalUnlock(Mem);
  SetClipboardData(RegisterClipboardFormatA("Rich Text Format"), Mem);
  CloseClipboard();
  EXPECT_TRUE(ClipboardHasRtf());
  ClipboardReset();
  EXPECT_FALSE(ClipboardHasRtf());
}
