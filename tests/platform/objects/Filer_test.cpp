#include "platform/rtl/Filer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "TestClasses.h"
#include "platform/rtl/ObjectText.h"

namespace {
AnsiString WriteBin(TComponent* Root) {
  TStringStream S;
  WriteComponentToStream(&S, Root);
  return S.DataString();
}

// A root with children, references and every kind of value set in code.
void Fill(TSampleComp& Root) {
  Root.SetName("Main");
  Root.Count = 100000;
  Root.Big = -5;
  Root.Letter = '\'';
  Root.Kind = skBeta;
  Root.Styles = {tsItalic};
  Root.Ratio = 1.0 / 3.0;
  Root.SetText("x\ty");
  Root.Wide.assign(1, char16_t(0x0416));
  SetPropText(&Root, "Font.Name", "Courier");
  auto* It = static_cast<TSampleItem*>(Root.GetItems()->Add());
  It->Caption = "c";
  It->Weight = -2.75;
  Root.Lines = {"", "l2"};
  Root.Blob = AnsiString("\0\xff", 2);
  auto* Kid = new TSampleComp(&Root);
  Kid->SetName("Kid");
  Kid->SetBuddy(&Root);
  Kid->OnChange = TNotifyEvent(&Root, &TSampleComp::OtherChange);
  Root.SetBuddy(Kid);
}

// A component whose stored "Inner" value is an object text of its own, read
// while its form is being read (as an editor reads its stored text styles):
// once into a temporary that is gone when the reader returns, once inside a
// loading bracket of its own into an object it keeps.
class TNestingComp : public TSampleComp {
  SX_CLASS(TNestingComp, TSampleComp)
public:
  using TSampleComp::TSampleComp;
  static void Published(TPublished<TNestingComp>&) {}

  std::unique_ptr<TSampleComp> Kept;
  int TemporaryLoadedCalls = -1;
  int TemporaryCount = -1;

protected:
  void DefineProperties(TFiler* Filer) override {
    TSampleComp::DefineProperties(Filer);
    Filer->DefineProperty(
        "Inner",
        [this](TReader* R) {
          const AnsiString Text = R->ReadString();
          {
            TSampleComp Temporary(nullptr);
            TextToComponent(Text, &Temporary);
            TemporaryLoadedCalls = Temporary.LoadedCalls;
            TemporaryCount = Temporary.Count;
          }
          Kept = std::make_unique<TSampleComp>(nullptr);
          BeginGlobalLoading();
          TextToComponent(Text, Kept.get());
          NotifyGlobalLoading();
          EndGlobalLoading();
        },
        [](TWriter*) {}, false);
  }
};
}  // namespace

class Filer : public ::testing::Test {
protected:
  void SetUp() override { RegisterSampleClasses(); }
};

TEST_F(Filer, ObjectsRoundTripThroughBinaryAndText) {
  TSampleComp Root(nullptr);
  Fill(Root);
  const AnsiString Bin = WriteBin(&Root);
  for (int ViaText = 0; ViaText < 2; ++ViaText) {
    SCOPED_TRACE(ViaText ? "via text" : "binary");
    // Read into a new root made from the stream's class name.
    TStringStream In(ViaText ? AnsiString() : Bin);
    std::unique_ptr<TComponent> Copy(ViaText ? TextToComponent(ComponentToText(&Root), nullptr)
                                             : ReadComponentFromStream(&In, nullptr));
    auto* C = dynamic_cast<TSampleComp*>(Copy.get());
    ASSERT_NE(C, nullptr);
    EXPECT_EQ(C->GetName(), "Main");
    EXPECT_EQ(C->Count, Root.Count);
    EXPECT_EQ(C->Big, Root.Big);
    EXPECT_EQ(C->Letter, Root.Letter);
    EXPECT_EQ(C->Kind, Root.Kind);
    EXPECT_EQ(C->Styles, Root.Styles);
    EXPECT_EQ(C->Ratio, Root.Ratio);  // exactly: the 80-bit form holds a double
    EXPECT_EQ(C->GetText(), Root.GetText());
    EXPECT_EQ(C->Wide, Root.Wide);
    EXPECT_EQ(C->GetFont()->Name, "Courier");
    ASSERT_EQ(C->GetItems()->Count(), 1);
    EXPECT_EQ(C->Item(0)->Weight, -2.75);
    EXPECT_EQ(C->Lines, Root.Lines);
    EXPECT_EQ(C->Blob, Root.Blob);
    auto* Kid = dynamic_cast<TSampleComp*>(C->FindComponent("Kid"));
    ASSERT_NE(Kid, nullptr);
    EXPECT_EQ(C->Buddy, Kid);
    EXPECT_EQ(Kid->Buddy, C);
    EXPECT_EQ(Kid->OnChange, TNotifyEvent(C, &TSampleComp::OtherChange));
    EXPECT_EQ(WriteBin(C), Bin);
  }
}

TEST_F(Filer, DefaultsAndStoredFalseStayOutOfTheStream) {
  TSampleComp Root(nullptr);
  Root.SetName("R");
  // Everything at its default: only the empty collection is written.
  EXPECT_EQ(ComponentToText(&Root), "object R: TSampleComp\r\n  Items = <>\r\nend\r\n");
  // Colours print by name where they have one.
  Root.Color = clRed;
  EXPECT_NE(ComponentToText(&Root).find("Color = clRed"), AnsiString::npos);
  TSampleComp Back(nullptr);
  TextToComponent("object R: TSampleComp\r\n  Color = clBtnFace\r\nend\r\n", &Back);
  EXPECT_EQ(Back.Color, clBtnFace);
  // Handlers stream by their registered name; one without a name (set in
  // code only) cannot be named in a stream and is left out.
  Root.OnChange = TNotifyEvent(&Root, &TSampleComp::Form1Change);
  EXPECT_NE(ComponentToText(&Root).find("OnChange = Form1Change"), AnsiString::npos);
  Root.OnChange = TNotifyEvent(&Root, &TSampleComp::Unregistered);
  EXPECT_EQ(ComponentToText(&Root).find("OnChange"), AnsiString::npos);
}

TEST_F(Filer, FloatsKeepTheirValueInTheExtendedForm) {
  const double Cases[] = {0.1, -1e-310, 1e308, 123456789.125, std::numeric_limits<double>::denorm_min(),
                          std::numeric_limits<double>::infinity()};
  for (double D : Cases) {
    SCOPED_TRACE(D);
    Byte B[10];
    DoubleToExtended(D, B);
    EXPECT_EQ(ExtendedToDouble(B), D);
  }
  Byte One[10];
  DoubleToExtended(1.0, One);
  const Byte Want[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};  // the published layout of 1.0
  EXPECT_EQ(0, memcmp(One, Want, 10));
}

TEST_F(Filer, EveryTruncationFailsCleanlyAndLeavesTheRootAlone) {
  TSampleComp Src(nullptr);
  Fill(Src);
  const AnsiString Bin = WriteBin(&Src);
  for (size_t Len = 0; Len < Bin.size(); ++Len) {
    SCOPED_TRACE(Len);
    TSampleComp Root(nullptr);
    auto* Keep = new TSampleComp(&Root);
    Keep->SetName("Existing");
    TStringStream In(Bin.substr(0, Len));
    EXPECT_THROW(ReadComponentFromStream(&In, &Root), EFilerError);
    EXPECT_EQ(Root.ComponentCount(), 1);  // nothing half-read stays behind
    EXPECT_EQ(Root.Components(0), Keep);
    EXPECT_FALSE(Root.ComponentState().Contains(csLoading));
    EXPECT_FALSE(Root.ComponentState().Contains(csReading));
  }
}

TEST_F(Filer, BadStreamsRaiseReadErrors) {
  auto Read = [](const AnsiString& Text) -> AnsiString {
    try {
      TSampleComp Root(nullptr);
      TextToComponent(Text, &Root);
    } catch (const EFilerError& E) {
      return AnsiString(E.ClassName()) + ": " + E.Message();
    }
    return "no error";
  };
  struct TCase { AnsiString Text; AnsiString Want; };
  const TCase Cases[] = {
      {"object F: TSampleComp\r\n  Nope = 1\r\nend\r\n",
       "EReadError: Error reading F.Nope: Property Nope does not exist"},
      {"object F: TSampleComp\r\n  Kind = skDelta\r\nend\r\n",
       "EReadError: Error reading F.Kind: Invalid property value skDelta"},
      {"object F: TSampleComp\r\n  Styles = [tsBold, tsNone]\r\nend\r\n",
       "EReadError: Error reading F.Styles: Invalid property value: tsNone is not an element of set of TSampleStyle"},
      {"object F: TSampleComp\r\n  Count = 'text'\r\nend\r\n",
       "EReadError: Error reading F.Count: Invalid property value: integer expected"},
      {"object F: TSampleComp\r\n  OnChange = Missing\r\nend\r\n",
       "EReadError: Error reading F.OnChange: Method Missing not found"},
      {"object F: TSampleComp\r\n  Buddy = Ghost\r\nend\r\n",
       "EReadError: Error reading Buddy: unresolved reference to component Ghost"},
      {"object F: TSampleComp\r\n  Font.Nope = 1\r\nend\r\n",
       "EReadError: Error reading F.Font.Nope: Property Nope does not exist"},
      {"object F: TSampleComp\r\n  object C: TUnknownThing\r\n  end\r\nend\r\n", "EClassNotFound: Class TUnknownThing not found"},
      {"object F: TSampleComp\r\n  object C: TSampleComp\r\n  end\r\n  object c: TSampleComp\r\n  end\r\nend\r\n",
       "EReadError: A component named c already exists"},
      {"object F: TSampleComp\r\n  object C: TSampleItem\r\n  end\r\nend\r\n",
       "EReadError: Invalid stream format: TSampleItem is not a component class"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(Read(C.Text), C.Want);
  }
}

TEST_F(Filer, HandlerOfAnotherSignatureIsRefused) {
  TSampleComp Root(nullptr);
  // Registered with a bool& parameter: the name exists but does not fit OnChange.
  TMethod M{&Root, std::bit_cast<TMethodCode>(static_cast<void (TObject::*)(TObject*, bool&)>(&TSampleComp::Wrong)),
            &typeid(void(TObject*, bool&))};
  EXPECT_THROW(SetMethodProp(&Root, "OnChange", M), EPropertyError);
}

TEST_F(Filer, LengthsBeyondTheStreamAreRejectedBeforeAllocating) {
  // "TPF0", class, name, then a property whose value claims far more bytes
  // than follow: a 2 GB long string, a 256 MB binary block.
  struct TCase { const char* Prop; TValueType Type; const char* Length; };
  const TCase Cases[] = {{"\x04Text", vaLString, "\xff\xff\xff\x7f"}, {"\x04Blob", vaBinary, "\x00\x00\x00\x10"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Prop + 1);
    std::string Bin = "TPF0";
    Bin.append("\x0bTSampleComp\x01X");
    Bin.append(C.Prop);
    Bin.push_back(char(C.Type));
    Bin.append(C.Length, 4);
    Bin.append("abc");
    TStringStream In(Bin);
    TSampleComp Root(nullptr);
    EXPECT_THROW(ReadComponentFromStream(&In, &Root), EReadError);
  }
}

TEST_F(Filer, GlobalLoadingHoldsLoadedBackUntilNotified) {
  TSampleComp A(nullptr), B(nullptr);
  BeginGlobalLoading();
  TextToComponent("object A: TSampleComp\r\nend\r\n", &A);
  TextToComponent("object B: TSampleComp\r\nend\r\n", &B);
  EXPECT_EQ(A.LoadedCalls, 0);
  EXPECT_TRUE(B.ComponentState().Contains(csLoading));
  NotifyGlobalLoading();
  EndGlobalLoading();
  EXPECT_EQ(A.LoadedCalls, 1);
  EXPECT_EQ(B.LoadedCalls, 1);
}

TEST_F(Filer, ObjectTextReadInsideAFormLoadKeepsToItself) {
  RegisterClasses({TNestingComp::StaticClass()});
  TSampleComp Form(nullptr);
  BeginGlobalLoading();
  TextToComponent("object Form: TSampleComp\r\n"
                  "  object Editor: TNestingComp\r\n"
                  "    Inner = 'object Styles: TSampleComp'#13#10'  Count = 7'#13#10'end'#13#10\r\n"
                  "  end\r\n"
                  "end\r\n",
                  &Form);
  auto* Editor = dynamic_cast<TNestingComp*>(Form.FindComponent("Editor"));
  ASSERT_NE(Editor, nullptr);
  // The inner reads finished on their own: their objects were told they
  // are loaded before the reader went on (the temporary is gone by now, so
  // the form's list must not hold it) ...
  EXPECT_EQ(Editor->TemporaryCount, 7);
  EXPECT_EQ(Editor->TemporaryLoadedCalls, 1);
  ASSERT_NE(Editor->Kept, nullptr);
  EXPECT_EQ(Editor->Kept->LoadedCalls, 1);
  // ... and the inner bracket's notification did not reach the form, which
  // is still being loaded.
  EXPECT_EQ(Form.LoadedCalls, 0);
  EXPECT_EQ(Editor->LoadedCalls, 0);
  EXPECT_TRUE(Editor->ComponentState().Contains(csLoading));
  NotifyGlobalLoading();
  EndGlobalLoading();
  EXPECT_EQ(Form.LoadedCalls, 1);
  EXPECT_EQ(Editor->LoadedCalls, 1);
  EXPECT_EQ(Editor->Kept->LoadedCalls, 1);
  // The brackets are closed: a later read stands alone again.
  TSampleComp Later(nullptr);
  TextToComponent("object Later: TSampleComp\r\nend\r\n", &Later);
  EXPECT_EQ(Later.LoadedCalls, 1);
}

TEST_F(Filer, DottedReferencesUseTheGlobalFinder) {
  static TSampleComp* Other = nullptr;
  TSampleComp O(nullptr);
  O.SetName("OtherForm");
  auto* Target = new TSampleComp(&O);
  Target->SetName("Target");
  Other = &O;
  TFindGlobalComponent Finder = [](const AnsiString& N) -> TComponent* {
    return N == "OtherForm" ? Other : nullptr;
  };
  RegisterFindGlobalComponentProc(Finder);
  TSampleComp Root(nullptr);
  TextToComponent("object R: TSampleComp\r\n  Buddy = OtherForm.Target\r\nend\r\n", &Root);
  UnregisterFindGlobalComponentProc(Finder);
  EXPECT_EQ(Root.Buddy, Target);
  EXPECT_NE(ComponentToText(&Root).find("Buddy = OtherForm.Target"), AnsiString::npos);
}

TEST_F(Filer, SecondRootUnderOneOwnerGetsTheNextFreeName) {
  TSampleComp Owner(nullptr);
  const AnsiString Text = "object Main: TSampleComp\r\n  Count = 3\r\nend\r\n";
  auto* Sibling = new TSampleComp(&Owner);
  Sibling->SetName("Main_1");  // taken already: the numbering passes over it
  std::vector<AnsiString> Names;
  for (int I = 0; I < 3; ++I) {
    auto* Root = new TSampleComp(&Owner);
    TextToComponent(Text, Root);
    Names.push_back(Root->GetName());
    EXPECT_EQ(Root->Count, 3);
  }
  EXPECT_EQ(Names, (std::vector<AnsiString>{"Main", "Main_2", "Main_3"}));
  // Reading again into a root that already has the name keeps it.
  auto* Main = dynamic_cast<TSampleComp*>(Owner.FindComponent("Main"));
  ASSERT_NE(Main, nullptr);
  TextToComponent(Text, Main);
  EXPECT_EQ(Main->GetName(), "Main");
}

TEST_F(Filer, DeepBinaryNestingIsRefusedNotRecursedInto) {
  const int N = 2000;
  // Components each the only child of the one before (no properties).
  std::string Components = "TPF0";
  for (int I = 0; I < N; ++I) {
    const std::string Name = std::string(1, 'C').append(std::to_string(I));
    Components += "\x0bTSampleComp";
    Components.push_back(char(Name.size()));
    Components += Name;
    Components.push_back(char(vaNull));
  }
  Components.append(size_t(N), char(vaNull));
  // One property whose value is a list inside a list inside a list …
  std::string Lists = "TPF0\x0bTSampleComp\x01X\x01P";
  Lists.append(size_t(N), char(vaList));
  Lists.append(size_t(N) + 2, char(vaNull));

  for (const std::string* Bin : {&Components, &Lists}) {
    SCOPED_TRACE(Bin == &Components ? "components" : "lists");
    TStringStream In(*Bin), Out;
    EXPECT_THROW(ObjectBinaryToText(&In, &Out), EReadError);
    EXPECT_EQ(Out.GetSize(), 0);
  }
  TSampleComp Root(nullptr);
  TStringStream In(Components);
  EXPECT_THROW(ReadComponentFromStream(&In, &Root), EReadError);
  EXPECT_EQ(Root.ComponentCount(), 0);
}
