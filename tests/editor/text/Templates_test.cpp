#include "editor/text/Templates.h"

#include "MemoTestUtil.h"
#include "platform/rtl/ObjectText.h"
#include "platform/rtl/TypInfo.h"

namespace {

std::string CodeOf(TMemoCodeTemplate* T) {
  std::string R;
  for (Integer I = 0; I < T->GetCode()->GetCount(); ++I) {
    if (I) R += '/';
    R += T->GetCode()->GetStrings(I);
  }
  return R;
}

struct TSetCase {
  const char* Lang;
  Integer Count;
  const char* FirstName;
  const char* LastName;
};

TEST(TMemoCodeTemplates, BuiltInSetsFillTheSourceInOrder) {
  const TSetCase Cases[] = {
      {"Delphi", 22, "arrayc", "withs"},
      {"C++ Builder", 17, "classc", "whiles"},
      {"Clipper", 16, "access assign", "while!"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Lang);
    TMemoSource S(nullptr);
    EXPECT_EQ(S.GetTemplatesType(), "None");
    EXPECT_EQ(S.GetCodeTemplates()->Count(), 0);
    S.SetTemplatesType(C.Lang);
    EXPECT_EQ(S.GetTemplatesType(), C.Lang);
    TMemoCodeTemplates* T = S.GetCodeTemplates();
    ASSERT_EQ(T->Count(), C.Count);
    EXPECT_EQ(T->GetItem(0)->GetName(), C.FirstName);
    EXPECT_EQ(T->GetItem(C.Count - 1)->GetName(), C.LastName);
  }
}

TEST(TMemoCodeTemplates, CustomKeepsTheTemplatesAndAnUnknownNameChangesNothing) {
  TMemoSource S(nullptr);
  S.SetTemplatesType("Delphi");
  S.SetTemplatesType("Custom");
  EXPECT_EQ(S.GetTemplatesType(), "Custom");
  EXPECT_EQ(S.GetCodeTemplates()->Count(), 22);
  S.SetTemplatesType("Cobol");
  EXPECT_EQ(S.GetTemplatesType(), "Custom");
  S.SetTemplatesType("delphi");
  EXPECT_EQ(S.GetTemplatesType(), "Custom") << "set names match exactly";
  S.SetTemplatesType("None");
  EXPECT_EQ(S.GetCodeTemplates()->Count(), 22);
  S.SetTemplatesType("C++ Builder");
  EXPECT_EQ(S.GetCodeTemplates()->Count(), 17) << "a set replaces what was there";
}

struct TCodeCase {
  const char* Lang;
  const char* Name;
  const char* Description;
  const char* Lines;  // joined by '/'
};

TEST(TMemoCodeTemplates, TemplateCodeKeepsEmptyAndIndentedLines) {
  const TCodeCase Cases[] = {
      {"Delphi", "classd", "class declaration (no parts)", "T| = class(T)//end;"},
      {"Delphi", "trye", "try except", "try/  |/except//end;"},
      {"C++ Builder", "switchs", "switch statement",
       "switch (|)/{/  case : ;/  break;/  case : ;/  break;/  default: ;/}"},
      {"Clipper", "access assign", "access assign declaration", "access assign | /"},
      {"Clipper", "while!", "while ! eof()", "while ! eof()//   dbskip()/end"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(C.Lang) + " " + C.Name);
    TMemoSource S(nullptr);
    S.SetTemplatesType(C.Lang);
    const Integer I = S.GetCodeTemplates()->IndexOfName(C.Name);
    ASSERT_GE(I, 0);
    TMemoCodeTemplate* T = S.GetCodeTemplates()->GetItem(I);
    EXPECT_EQ(T->GetDescription(), C.Description);
    EXPECT_EQ(CodeOf(T), C.Lines);
  }
}

struct TListCase {
  const char* Prefix;
  Integer Result;
  std::vector<std::string> Names;  // empty: every template
  const char* Why;
};

TEST(TMemoCodeTemplates, GetTemplateListMatchesPrefix) {
  const TListCase Cases[] = {
      {"IF", -1, {"ifb", "ife", "ifeb", "ifs"}, "prefix ignores case"},
      {"ifs", 0, {"ifs"}, "exact name alone"},
      {"IFE", 0, {"ife"}, "first match exact: ifeb is left out"},
      {"try", -1, {"trycf", "trye", "tryf"}, "several"},
      {"zz", -1, {}, "no match lists all"},
      {"", -1, {}, "empty prefix lists all"},
  };
  TMemoSource S(nullptr);
  S.SetTemplatesType("Delphi");
  TMemoCodeTemplates* T = S.GetCodeTemplates();
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TStringList L;
    L.Add("stale");
    EXPECT_EQ(GetTemplateList(T, &L, C.Prefix), C.Result);
    const Integer Want = C.Names.empty() ? T->Count() : Integer(C.Names.size());
    ASSERT_EQ(L.GetCount(), Want);
    for (Integer E = 0; E < L.GetCount(); ++E) {
      const Integer Index = TemplateIndexOf(&L, E);
      ASSERT_GE(Index, 0);
      ASSERT_LT(Index, T->Count());
      EXPECT_EQ(L.GetStrings(E), TemplateDisplayText(T->GetItem(Index)));
      if (!C.Names.empty()) {
        EXPECT_EQ(T->GetItem(Index)->GetName(), C.Names[size_t(E)]);
      }
    }
  }
  EXPECT_EQ(TemplateDisplayText(T->GetItem(T->IndexOfName("ifs"))), "if (no begin/end)|~ifs~");
}

const TTemplateRec TestRecs[] = {{"one", "first", "a\r\nb"}, {"two", "second", "|"}};
void FillTestSet(TMemoCodeTemplates* T) { FillTemplates(T, TestRecs, 2); }

TEST(TMemoCodeTemplates, RegisteredSetsFollowTheBuiltInOnes) {
  RegisterCodeTemplates("Test set", &FillTestSet);
  TStringList Names;
  GetCodeTemplateSets(&Names);
  ASSERT_GE(Names.GetCount(), 6);
  EXPECT_EQ(Names.GetStrings(0), "None");
  EXPECT_EQ(Names.GetStrings(1), "Custom");
  EXPECT_EQ(Names.GetStrings(2), "Delphi");
  EXPECT_EQ(Names.GetStrings(3), "C++ Builder");
  EXPECT_EQ(Names.GetStrings(4), "Clipper");
  EXPECT_GE(Names.IndexOf("Test set"), 5);

  TMemoSource S(nullptr);
  S.SetTemplatesType("Delphi");
  S.SetTemplatesType("Test set");
  ASSERT_EQ(S.GetCodeTemplates()->Count(), 2);
  EXPECT_EQ(CodeOf(S.GetCodeTemplates()->GetItem(0)), "a/b");
}

struct TInsertCase {
  const char* Text;
  TPoint Caret;
  const char* Code;  // CR LF text
  const char* Want;
  TPoint WantCaret;
  const char* Why;
};

TEST(TCustomMemoSource, InsertTemplateLinesIndentsAndPlacesTheCaretAtTheBar) {
  const TInsertCase Cases[] = {
      {"    ", {4, 0}, "if | then", "    if  then", {7, 0}, "one line: the caret between the blanks"},
      {"  x", {2, 0}, "try\r\n  |\r\nexcept\r\nend;", "  try||  except|  end;x", {4, 1},
       "later lines indented to the caret column, the caret line's blanks trimmed"},
      {"ab", {1, 0}, "no bar\r\nhere", "ano bar| hereb", {1, 0}, "without a bar the caret stays"},
      {"", {0, 0}, "|first", "first", {0, 0}, "bar at the start"},
      {"\tz", {9, 0}, "f(|)", "\tf()z", {11, 0}, "the caret column counts TABs expanded"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    TStringsOptions O = S.GetOptions();
    O.Include(soUseTabCharacter);  // keeps the TAB of the text as written
    S.SetOptions(O);
    SetText(S, C.Text);
    S.SetCaret(C.Caret.X, C.Caret.Y);
    TStringList L;
    L.SetText(C.Code);
    S.InsertTemplateLines(&L);
    EXPECT_EQ(Text(S), C.Want);
    EXPECT_EQ(S.GetCaretPoint(), C.WantCaret);
    EXPECT_FALSE(S.HasSelection());
    S.Undo();
    EXPECT_EQ(Text(S), C.Text) << "one undo step";
  }
}

TEST(TCustomMemoSource, InsertTemplateLinesIsOneChangeGroup) {
  TMemoSource S(nullptr);
  SetText(S, "x");
  TRecordingEditor E(nullptr);
  E.Attach(S);
  TStringList L;
  L.SetText("a|\r\nb\r\nc");
  S.InsertTemplateLines(&L);
  ASSERT_EQ(E.Notices.size(), 1u);
  EXPECT_EQ(E.Notices[0].Code, MemoCode::TemplateInsert);
  EXPECT_TRUE(Has(E.Notices[0].State, msCountChanged));
  EXPECT_EQ(S.GetCaretPoint(), TPoint(1, 0));
}

TEST(TMemoSource, PublishesTheTemplateAndEventProperties) {
  for (const char* Name : {"CodeTemplates", "TemplatesType", "OnSearchException", "OnPasteFromClipboard",
                           "OnCreateDialog", "Version"}) {
    SCOPED_TRACE(Name);
    EXPECT_TRUE(IsPublishedProp(TMemoSource::StaticClass(), Name));
  }
}

TEST(TMemoSource, TemplatesAndTypeStreamAndReadBack) {
  TMemoSource S(nullptr);
  S.SetName("Src");
  S.SetTemplatesType("Clipper");
  S.SetTemplatesType("Custom");
  AddTemplate(S.GetCodeTemplates(), "mine", "my own", "x := |\r\n\r\ny");
  S.SetVersion("7");
  const AnsiString Text = ComponentToText(&S);
  EXPECT_NE(Text.find("TemplatesType = 'Custom'"), AnsiString::npos) << Text;

  TMemoSource R(nullptr);
  TextToComponent(Text, &R);
  EXPECT_EQ(R.GetTemplatesType(), "Custom");
  EXPECT_EQ(R.GetVersion(), "7");
  ASSERT_EQ(R.GetCodeTemplates()->Count(), 17);
  TMemoCodeTemplate* Mine = R.GetCodeTemplates()->GetItem(16);
  EXPECT_EQ(Mine->GetName(), "mine");
  EXPECT_EQ(Mine->GetDescription(), "my own");
  EXPECT_EQ(CodeOf(Mine), "x := |//y");
  EXPECT_EQ(ComponentToText(&R), Text);
}

}  // namespace
