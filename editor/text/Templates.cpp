#include "editor/text/Templates.h"

#include <iterator>

#include "editor/base/ObjectParams.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"

// ---------------------------------------------------------------------------
// TMemoCodeTemplate

TMemoCodeTemplate::TMemoCodeTemplate(TCollection* ACollection)
    : TDCNamedItem(ACollection), FCode(std::make_unique<TStringList>()) {
  FCode->OnChange = TNotifyEvent(this, &TMemoCodeTemplate::CodeChanged);
}

TMemoCodeTemplate::~TMemoCodeTemplate() { FCode->OnChange = TNotifyEvent(); }

void TMemoCodeTemplate::Published(TPublished<TMemoCodeTemplate>& P) {
  P.Property("Name", &TMemoCodeTemplate::GetName, &TMemoCodeTemplate::SetName);
  P.Property("Description", &TMemoCodeTemplate::GetDescription, &TMemoCodeTemplate::SetDescription);
  P.Property("Code", &TMemoCodeTemplate::GetCode, &TMemoCodeTemplate::SetCode);
}

void TMemoCodeTemplate::SetDescription(const AnsiString& Value) {
  if (Value == FDescription) return;
  FDescription = Value;
  ItemChanged();
}

void TMemoCodeTemplate::SetCode(TStrings* Value) {
  if (Value == FCode.get()) return;
  FCode->Assign(Value);
}

void TMemoCodeTemplate::CodeChanged(TObject*) { ItemChanged(); }

// ---------------------------------------------------------------------------
// TMemoCodeTemplates and the list helpers

TMemoCodeTemplates::TMemoCodeTemplates(TPersistent* AOwner)
    : TDCNamedItems(AOwner, TMemoCodeTemplate::StaticClass()) {}

TMemoCodeTemplate* AddTemplate(TMemoCodeTemplates* Templates, const AnsiString& Name,
                               const AnsiString& Description, const AnsiString& Code) {
  auto* T = static_cast<TMemoCodeTemplate*>(Templates->Add());
  T->SetName(Name);
  T->SetDescription(Description);
  T->GetCode()->SetText(Code);
  return T;
}

void FillTemplates(TMemoCodeTemplates* Templates, const TTemplateRec* Records, Integer Count) {
  Templates->BeginUpdate();
  {
    TUpdateGuard Update(*Templates, UpdateBegun);
    Templates->Clear();
    for (Integer I = 0; I < Count; ++I)
      AddTemplate(Templates, Records[I].Name, Records[I].Description, Records[I].Code);
  }
}

AnsiString TemplateDisplayText(const TMemoCodeTemplate* Template) {
  return Template->GetDescription() + "|~" + Template->GetName() + "~";
}

Integer GetTemplateList(TMemoCodeTemplates* Templates, TStrings* Strings, const AnsiString& Prefix) {
  Strings->BeginUpdate();
  Strings->Clear();
  const Integer N = Templates->Count();
  auto Add = [&](Integer I) {
    Strings->AddObject(TemplateDisplayText(Templates->GetItem(I)), reinterpret_cast<TObject*>(std::intptr_t(I)));
  };
  Integer Result = -1;
  bool Listed = false;
  if (!Prefix.empty()) {
    const AnsiString P = AnsiUpperCase(Prefix);
    auto Starts = [&](Integer I) { return AnsiUpperCase(Templates->GetItem(I)->GetName()).compare(0, P.size(), P) == 0; };
    auto Equals = [&](Integer I) { return AnsiUpperCase(Templates->GetItem(I)->GetName()) == P; };
    Integer First = 0;
    while (First < N && !Starts(First)) ++First;
    if (First < N) {
      Listed = true;
      if (Equals(First)) {
        Add(First);
        Result = 0;
      } else {
        for (Integer I = First; I < N; ++I)
          if (Starts(I)) Add(I);
      }
    }
  }
  if (!Listed)
    for (Integer I = 0; I < N; ++I) Add(I);
  Strings->EndUpdate();
  return Result;
}

TPoint PrepareTemplateLines(TStrings* Lines, Integer Column, Integer Line) {
  const Integer N = Lines->GetCount();
  const AnsiString Indent(size_t(Column > 0 ? Column : 0), ' ');
  for (Integer I = 1; I < N; ++I) Lines->SetStrings(I, Indent + Lines->GetStrings(I));
  for (Integer I = 0; I < N; ++I) {
    AnsiString S = Lines->GetStrings(I);
    const size_t Bar = S.find('|');
    if (Bar == AnsiString::npos) continue;
    S.erase(Bar, 1);
    Lines->SetStrings(I, S);
    return I == 0 ? TPoint{Column + Integer(Bar), Line} : TPoint{Integer(Bar), Line + I};
  }
  return {Column, Line};
}

// ---------------------------------------------------------------------------
// Template sets

namespace {

const TTemplateRec DelphiTemplates[] = {
    {"arrayc", "array declaration (const)", "array[0..|] of = ();"},
    {"arrayd", "array declaration (var)", "array[0..|] of ;"},
    {"casee", "case statement (with else)", "case | of\r\n  : ;\r\n  : ;\r\nelse ;\r\nend;"},
    {"cases", "case statement", "case | of\r\n  : ;\r\n  : ;\r\nend;"},
    {"classc", "class declaration (with Create/Destroy overrides)",
     "T| = class(T)\r\nprivate\r\n\r\nprotected\r\n\r\npublic\r\n  constructor Create; override;\r\n"
     "  destructor Destroy; override;\r\npublished\r\n\r\nend;"},
    {"classd", "class declaration (no parts)", "T| = class(T)\r\n\r\nend;"},
    {"classf", "class declaration (all parts)",
     "T| = class(T)\r\nprivate\r\n\r\nprotected\r\n\r\npublic\r\n\r\npublished\r\n\r\nend;"},
    {"forb", "for statement", "for | :=  to  do\r\nbegin\r\n\r\nend;"},
    {"fors", "for (no begin/end)", "for | :=  to  do"},
    {"function", "function declaration", "function |(): ;\r\nbegin\r\n\r\nend;"},
    {"ifb", "if statement", "if | then\r\nbegin\r\n\r\nend;"},
    {"ife", "if then (no begin/end) else (no begin/end)", "if | then\r\n\r\nelse"},
    {"ifeb", "if then else", "if | then\r\nbegin\r\n\r\nend\r\nelse\r\nbegin\r\n\r\nend"},
    {"ifs", "if (no begin/end)", "if | then"},
    {"procedure", "procedure declaration", "procedure |();\r\nbegin\r\n\r\nend;"},
    {"trycf", "try finally (with Create/Free)",
     "|variable := typename.Create;\r\ntry\r\n\r\nfinally\r\n  variable.Free;\r\nend;"},
    {"trye", "try except", "try\r\n  |\r\nexcept\r\n\r\nend;"},
    {"tryf", "try finally", "try\r\n  |\r\nfinally\r\n\r\nend;"},
    {"whileb", "while statement", "while | do\r\nbegin\r\n\r\nend;"},
    {"whiles", "while (no begin)", "while | do"},
    {"withb", "with statement", "with | do\r\nbegin\r\n\r\nend;"},
    {"withs", "with (no begin)", "with | do"},
};

const TTemplateRec CppBuilderTemplates[] = {
    {"classc", "class declaration (with constructor/destructor)",
     "class T| : public T\r\n{\r\nprivate:\r\n\r\nprotected:\r\n\r\npublic:\r\n  __fastcall T();\r\n"
     "  __fastcall ~T();\r\n__published:\r\n\r\n};"},
    {"classd", "class declaration (no parts)", "class T| : public T\r\n{\r\n};"},
    {"classf", "class declaration (all parts)",
     "class T| : public T\r\n{\r\nprivate:\r\n\r\nprotected:\r\n\r\npublic:\r\n\r\n__published:\r\n\r\n};"},
    {"forb", "for statement", "for (|; ;)\r\n{\r\n\r\n}"},
    {"fors", "for (no opening/closing braces)", "for (|; ;)"},
    {"function", "function declaration", "|()\r\n{\r\n\r\n}"},
    {"ifb", "if statement", "if (|)\r\n{\r\n\r\n}"},
    {"ife", "if (no opening/closing braces) else (no opening/closing braces)", "if (|)\r\n\r\nelse"},
    {"ifeb", "if else", "if (|)\r\n{\r\n\r\n}\r\nelse\r\n{\r\n\r\n}"},
    {"ifs", "if (no opening/closing braces)", "if (|)"},
    {"struct", "structure declaration", "struct |\r\n{\r\n};"},
    {"switche", "switch statement (with default)",
     "switch (|)\r\n{\r\n  case : ;\r\n  break;\r\n  case : ;\r\n  break;\r\n}"},
    {"switchs", "switch statement",
     "switch (|)\r\n{\r\n  case : ;\r\n  break;\r\n  case : ;\r\n  break;\r\n  default: ;\r\n}"},
    {"templ", "template class declaration", "template <class T>\r\nclass |\r\n{\r\n};"},
    {"trye", "try catch", "try\r\n{\r\n  |\r\n}\r\ncatch()\r\n{\r\n}"},
    {"whileb", "while statement", "while (|)\r\n{\r\n\r\n}"},
    {"whiles", "while (no opening/closing braces)", "while (|)"},
};

// A code ending in an empty line ends in two line breaks: the text setter
// drops one trailing break.
const TTemplateRec ClipperTemplates[] = {
    {"access assign", "access assign declaration", "access assign | \r\n\r\n"},
    {"begins", "begin sequence (without recover)", "begin sequence\r\n\r\nend sequence;"},
    {"beginr", "begin sequence (with recover)", "begin sequence\r\n\r\nrecover\r\n\r\nend sequence;"},
    {"caseo", "case statement (with otherwise)", "do case \r\ncase | \r\notherwise\r\nendcase;"},
    {"cases", "case statement", "do case \r\ncase | \r\nendcase;"},
    {"class", "class declaration", "class | from xbp\r\nprotected:\r\n\r\nexported:\r\n\r\nendclass"},
    {"fori", "for statement (with i)", "for i := 1 to |\r\n\r\nnext i"},
    {"forj", "for statement (with j)", "for j := 1 to |\r\n\r\nnext j"},
    {"forl", "for statement (with len())", "nLen := len(|)\r\nfor i := 1 to nLen\r\n\r\nnext i"},
    {"function", "function declaration", "function |()\r\n\r\nreturn NIL"},
    {"ifn", "if statement (normal)", "if |\r\n\r\nendif"},
    {"ife", "if statement (with else)", "if |\r\n\r\nelse\r\n\r\nendif"},
    {"method", "method implementation", "method |:()\r\n\r\nreturn self"},
    {"procedure", "procedure declaration", "procedure |()\r\n\r\nreturn"},
    {"whiles", "while statement", "while |\r\n\r\nend"},
    {"while!", "while ! eof()", "while ! eof()\r\n\r\n   dbskip()\r\nend"},
};

void FillDelphi(TMemoCodeTemplates* T) { FillTemplates(T, DelphiTemplates, Integer(std::size(DelphiTemplates))); }
void FillCppBuilder(TMemoCodeTemplates* T) {
  FillTemplates(T, CppBuilderTemplates, Integer(std::size(CppBuilderTemplates)));
}
void FillClipper(TMemoCodeTemplates* T) { FillTemplates(T, ClipperTemplates, Integer(std::size(ClipperTemplates))); }

const char* const LangParam = "CodeTemplates.Lang";
const char* const ProcParam = "CodeTemplates.Proc";

void AddSet(const AnsiString& Lang, TFillTemplatesProc Proc) {
  RegisterClassParams(TMemoCodeTemplates::StaticClass(), {LangParam, ProcParam},
                      {Variant(Lang), Variant(Int64(reinterpret_cast<std::intptr_t>(Proc)))});
}

// The built-in sets go first, whoever registers or looks up first.
void EnsureBuiltInSets() {
  static const bool Done = [] {
    AddSet("None", nullptr);
    AddSet("Custom", nullptr);
    AddSet("Delphi", &FillDelphi);
    AddSet("C++ Builder", &FillCppBuilder);
    AddSet("Clipper", &FillClipper);
    return true;
  }();
  (void)Done;
}

}  // namespace

void RegisterCodeTemplates(const AnsiString& Lang, TFillTemplatesProc Proc) {
  EnsureBuiltInSets();
  AddSet(Lang, Proc);
}

bool FindCodeTemplates(const AnsiString& Lang, TFillTemplatesProc& Proc) {
  EnsureBuiltInSets();
  Proc = nullptr;
  TObjectParamListItem* Item =
      FindParamItemForClass(TMemoCodeTemplates::StaticClass(), {LangParam}, {Variant(Lang)}, 0);
  if (!Item) return false;
  const Variant P = GetItemParam(Item, ProcParam);
  if (!VarIsNull(P)) Proc = reinterpret_cast<TFillTemplatesProc>(static_cast<std::intptr_t>(P.AsInt64()));
  return true;
}

void GetCodeTemplateSets(TStrings* Names) {
  EnsureBuiltInSets();
  Names->Clear();
  std::vector<TObjectParamListItem*> Items;
  ListParamItems(TMemoCodeTemplates::StaticClass(), Items);
  for (TObjectParamListItem* Item : Items) {
    const Variant L = GetItemParam(Item, LangParam);
    if (!VarIsNull(L)) Names->Add(L.AsString());
  }
}
