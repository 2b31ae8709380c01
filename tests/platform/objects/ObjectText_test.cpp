#include "platform/rtl/ObjectText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestClasses.h"
#include "support/TestFiles.h"

namespace {
AnsiString Fixture(const char* Name) {
  return sxtest::ReadFile(std::string(SX_SOURCE_DIR) + "/tests/fixtures/objects/" + Name);
}

AnsiString TextToBin(const AnsiString& Text) {
  TStringStream In(Text), Out;
  ObjectTextToBinary(&In, &Out);
  return Out.DataString();
}

AnsiString BinToText(const AnsiString& Bin) {
  TStringStream In(Bin), Out;
  ObjectBinaryToText(&In, &Out);
  return Out.DataString();
}

// One root with its header; Props are property lines at nesting one.
AnsiString Obj(const AnsiString& Props) { return "object X: TSampleComp\r\n" + Props + "end\r\n"; }

AnsiString ParseError(const AnsiString& Text) {
  try {
    TextToBin(Text);
  } catch (const EParserError& E) {
    return E.Message();
  }
  return "no error";
}
}  // namespace

class ObjectText : public ::testing::Test {
protected:
  void SetUp() override { RegisterSampleClasses(); }
};

TEST_F(ObjectText, FixtureLoadsIntoObjectsAndWritesBackIdentically) {
  const AnsiString Text = Fixture("sample_form.txt");
  ASSERT_FALSE(Text.empty());
  TSampleComp Root(nullptr);
  TextToComponent(Text, &Root);

  EXPECT_EQ(Root.GetName(), "Form1");
  EXPECT_EQ(Root.Count, 42);
  EXPECT_EQ(Root.Big, 9000000000LL);
  EXPECT_EQ(Root.Letter, 'x');
  EXPECT_EQ(Root.Kind, skGamma);
  EXPECT_EQ(Root.Styles, (TSampleStyles{tsBold, tsUnderline}));
  EXPECT_EQ(Root.Ratio, 0.25);
  EXPECT_EQ(Root.GetText(),
            "A long caption that runs well past the sixty-four characters of a line\r\nand a quote ' here");
  EXPECT_EQ(Root.Wide, u"caf\u00e9 \u20ac");
  EXPECT_TRUE(Root.Flag);
  EXPECT_EQ(Root.GetFont()->Name, "Arial");
  EXPECT_EQ(Root.GetFont()->Size, 12);
  ASSERT_EQ(Root.GetItems()->Count(), 2);
  EXPECT_EQ(Root.Item(0)->Weight, 1.5);
  EXPECT_EQ(Root.Item(1)->Style, TSampleStyles{tsItalic});
  EXPECT_EQ(Root.Lines, (std::vector<AnsiString>{"one", "two"}));
  EXPECT_EQ(Root.Blob.size(), 34u);

  auto* Child = dynamic_cast<TSampleComp*>(Root.FindComponent("Child1"));
  ASSERT_NE(Child, nullptr);
  EXPECT_EQ(Child->Owner(), &Root);
  EXPECT_EQ(Child->Count, -7);
  EXPECT_EQ(Root.Buddy, Child);  // a reference ahead of its target, fixed up
  EXPECT_EQ(Child->Buddy, &Root);
  // Handlers are the root's methods, bound to the root.
  ASSERT_TRUE(Child->OnChange.Assigned());
  Child->OnChange(Child);
  EXPECT_EQ(Root.Changes, 1);
  // Loaded ran once per component, after the references were fixed.
  EXPECT_EQ(Root.LoadedCalls, 1);
  EXPECT_EQ(Child->LoadedCalls, 1);
  EXPECT_EQ(Root.BuddyAtLoaded, Child);
  EXPECT_FALSE(Root.ComponentState().Contains(csLoading));
  EXPECT_FALSE(Child->ComponentState().Contains(csReading));

  EXPECT_EQ(ComponentToText(&Root), Text);
}

TEST_F(ObjectText, BinaryAndTextConvertBackAndForthExactly) {
  const AnsiString Text = Fixture("sample_form.txt");
  const AnsiString Bin = TextToBin(Text);
  EXPECT_EQ(Bin.substr(0, 4), "TPF0");
  EXPECT_EQ(BinToText(Bin), Text);
  EXPECT_EQ(TextToBin(BinToText(Bin)), Bin);
}

TEST_F(ObjectText, ValueKindsSurviveTextBinaryText) {
  // Each value as the writer prints it; the binary form in between must
  // keep it exactly.
  const char* Values[] = {
      "0", "-128", "127", "-32769", "2147483647", "-9223372036854775808",  // every integer width
      "1.5", "-0.001", "1e+300", "3.0", "2.5s", "12.3456c", "45000.25d",   // float flavours
      "''", "'it'#39's'", "#0#1'a'", "'caf'#233' '#8364",              // escapes, wide
      "True", "False", "nil", "Form1.Button1",                             // idents
      "[]", "[a, b, c]",                                                   // sets
      "()", "(\r\n    1\r\n    'two'\r\n    (\r\n      3))",                // nested lists
      "{}", "<>",                                                          // empty binary, collection
      "<\r\n    item\r\n      A = 1\r\n    end\r\n    item [3]\r\n    end>",  // collection with order
  };
  for (const char* V : Values) {
    SCOPED_TRACE(V);
    const AnsiString Text = Obj("  P = " + AnsiString(V) + "\r\n");
    EXPECT_EQ(BinToText(TextToBin(Text)), Text);
  }
}

TEST_F(ObjectText, ContinuationsAndEscapesJoinIntoOneValue) {
  const AnsiString A = TextToBin(Obj("  P = 'ab' + 'cd'#13 +\r\n 'e'\r\n"));
  const AnsiString B = TextToBin(Obj("  P = 'abcd'#$0D'e'\r\n"));
  EXPECT_EQ(A, B);
  // A string longer than 255 bytes is a long string in the binary form.
  const AnsiString Long(300, 'q');
  TSampleComp Root(nullptr);
  TextToComponent("object X: TSampleComp\r\n  Text = '" + Long + "'\r\nend\r\n", &Root);
  EXPECT_EQ(Root.GetText(), Long);
}

TEST_F(ObjectText, HeadersKeepFlagsAndChildPositions) {
  const AnsiString Text =
      "inherited X: TSampleComp\r\n"
      "  object Y: TSampleComp [2]\r\n"
      "  end\r\n"
      "  inline Z: TSampleComp\r\n"
      "  end\r\n"
      "  object TSampleComp\r\n"
      "  end\r\n"
      "end\r\n";
  EXPECT_EQ(BinToText(TextToBin(Text)), Text);
}

TEST(ObjectTextErrors, MalformedFixtureNamesItsLine) {
  RegisterSampleClasses();
  const AnsiString Text = Fixture("missing_equals.txt");
  ASSERT_FALSE(Text.empty());
  EXPECT_EQ(ParseError(Text), "'=' expected on line 3, column 8");
}

TEST(ObjectTextErrors, BadTextGivesParserErrorWithPosition) {
  struct TCase { AnsiString Text; AnsiString Want; };
  const TCase Cases[] = {
      {"thing X: T\r\nend\r\n", "'object' expected on line 1, column 1"},
      {Obj("  P = 'open\r\n"), "Unterminated string on line 2, column 7"},
      {Obj("  P = [a b]\r\n"), "',' expected on line 2, column 10"},
      {Obj("  P = {0A0}\r\n"), "Invalid binary value on line 2, column 10"},
      {Obj("  P = #\r\n"), "Invalid string constant on line 2, column 7"},
      {Obj("  P = <\r\n    thing\r\n  >\r\n"), "'item' expected on line 3, column 5"},
      {Obj("  P = 99999999999999999999\r\n"), "Invalid integer 99999999999999999999 on line 2, column 7"},
      {Obj("  P = )\r\n"), "Invalid property value on line 2, column 7"},
      {"object X: T\r\n  P = 1\r\n", "'end' expected on line 3, column 1"},
      {Obj("  P = (\r\n"), "')' expected on line 4, column 1"},
      {"object X: T\r\nend\r\nend\r\n", "End of text expected on line 3, column 1"},
      {Obj("  P = A.\r\n"), "Identifier expected on line 2, column 9"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(ParseError(C.Text), C.Want);
  }
}

TEST(ObjectTextErrors, DeepNestingIsRefusedNotRecursedInto) {
  const AnsiString Deep = Obj("  P = " + AnsiString(5000, '(') + AnsiString(5000, ')') + "\r\n");
  EXPECT_NE(ParseError(Deep).find("Nesting too deep"), AnsiString::npos);
}

TEST(ObjectTextErrors, FailedConversionWritesNothing) {
  TStringStream In(Obj("  P = (\r\n")), Out;
  EXPECT_THROW(ObjectTextToBinary(&In, &Out), EParserError);
  EXPECT_EQ(Out.GetSize(), 0);
}
