#include <gtest/gtest.h>

#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"
#include "platform/rtl/Strings.h"

namespace {
// A component publishing a string list, as a memo publishes Lines.
class TLinesHolder : public TComponent {
  SX_CLASS(TLinesHolder, TComponent)
public:
  explicit TLinesHolder(TComponent* AOwner) : TComponent(AOwner) {}
  ~TLinesHolder() override { delete FLines; }
  TStrings* GetLines() const { return FLines; }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  static void Published(TPublished<TLinesHolder>& P) {
    P.Property("Lines", &TLinesHolder::GetLines, &TLinesHolder::SetLines);
  }

private:
  TStringList* FLines = new TStringList;
};

const bool Registered = (RegisterClass(TLinesHolder::StaticClass()), true);
}  // namespace

TEST(TStrings, LinesStreamAsAListOfStringsAndReadBack) {
  ASSERT_TRUE(Registered);
  TLinesHolder Source(nullptr);
  Source.SetName("Holder");
  Source.GetLines()->Add("first line");
  Source.GetLines()->Add("it's");
  Source.GetLines()->Add("");
  const AnsiString Text = ComponentToText(&Source);
  EXPECT_NE(Text.find("Lines.Strings = ("), AnsiString::npos) << Text;

  TLinesHolder Target(nullptr);
  Target.GetLines()->Add("stale");
  TextToComponent(Text, &Target);
  ASSERT_EQ(Target.GetLines()->GetCount(), 3);
  EXPECT_EQ(Target.GetLines()->GetStrings(0), "first line");
  EXPECT_EQ(Target.GetLines()->GetStrings(1), "it's");
  EXPECT_EQ(Target.GetLines()->GetStrings(2), "");
}

TEST(TStrings, EmptyListIsLeftOutOfTheStream) {
  TLinesHolder Source(nullptr);
  Source.SetName("Holder");
  EXPECT_EQ(ComponentToText(&Source).find("Strings"), AnsiString::npos);
}
