// Templates.h — code templates: named pieces of text with a description
// that an editor offers in a pick list and inserts at the caret. A memo
// source owns one TMemoCodeTemplates collection; its TemplatesType names a
// template set that fills it.
//
// Template sets live in the class parameter registry (ObjectParams.h) as
// entries of TMemoCodeTemplates with "CodeTemplates.Lang" (the set's name)
// and "CodeTemplates.Proc" (the fill procedure, 0 for none). The built-in
// sets ("None", "Custom", "Delphi", "C++ Builder", "Clipper") are
// registered once, before any set registered by others, so further sets
// come after them.
#pragma once
#include <cstdint>
#include <memory>
#include "editor/base/NamedItems.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Types.h"

class TMemoCodeTemplate : public TDCNamedItem {
  SX_CLASS(TMemoCodeTemplate, TDCNamedItem)
public:
  explicit TMemoCodeTemplate(TCollection* ACollection);
  ~TMemoCodeTemplate() override;
  static void Published(TPublished<TMemoCodeTemplate>& P);

  const AnsiString& GetDescription() const { return FDescription; }
  void SetDescription(const AnsiString& Value);
  // Owned by the template; writing assigns the lines.
  TStrings* GetCode() const { return FCode.get(); }
  void SetCode(TStrings* Value);

private:
  void CodeChanged(TObject* Sender);
  AnsiString FDescription;
  std::unique_ptr<TStringList> FCode;
};

class TMemoCodeTemplates : public TDCNamedItems {
  SX_CLASS(TMemoCodeTemplates, TDCNamedItems)
public:
  // AOwner is borrowed (the memo source, or nil).
  explicit TMemoCodeTemplates(TPersistent* AOwner);
  // Raises EListError out of range.
  TMemoCodeTemplate* GetItem(Integer Index) const { return static_cast<TMemoCodeTemplate*>(Items(Index)); }
};

// One built-in template: Code holds the lines separated by CR LF.
struct TTemplateRec {
  const char* Name;
  const char* Description;
  const char* Code;
};

// Clears Templates and adds one template per record, in order.
void FillTemplates(TMemoCodeTemplates* Templates, const TTemplateRec* Records, Integer Count);
TMemoCodeTemplate* AddTemplate(TMemoCodeTemplates* Templates, const AnsiString& Name,
                               const AnsiString& Description, const AnsiString& Code);
// Description + "|~" + Name + "~": the two columns of the pick list, the
// name marked for bold.
AnsiString TemplateDisplayText(const TMemoCodeTemplate* Template);
// Fills Strings with the display texts of the templates matching Prefix
// (ignoring case), each with the template's index as its object. The first
// template whose name starts with Prefix decides: when the name equals
// Prefix, it alone is listed and 0 is returned; otherwise every template
// whose name starts with Prefix is listed. No such name, or an empty
// Prefix, lists every template. -1 unless there was an exact match.
Integer GetTemplateList(TMemoCodeTemplates* Templates, TStrings* Strings, const AnsiString& Prefix);
// The template index a GetTemplateList entry carries.
inline Integer TemplateIndexOf(TStrings* Strings, Integer Entry) {
  return Entry >= 0 && Entry < Strings->GetCount()
             ? Integer(reinterpret_cast<std::intptr_t>(Strings->GetObjects(Entry)))
             : -1;
}

// A fill procedure: clears the collection and fills it.
using TFillTemplatesProc = void (*)(TMemoCodeTemplates* Templates);
// Adds a template set (Proc may be nil: the set leaves the collection as it is).
void RegisterCodeTemplates(const AnsiString& Lang, TFillTemplatesProc Proc);
// The registered set named Lang (exact name); false when there is none.
bool FindCodeTemplates(const AnsiString& Lang, TFillTemplatesProc& Proc);
// The names of the registered sets, in registration order.
void GetCodeTemplateSets(TStrings* Names);

// Prepares a template's copied lines for insertion at display column Column
// of line Line: every line after the first is indented by Column spaces and
// the first "|" (line by line) is removed. Returns where the caret goes: the
// place of the "|", or {Column, Line} without one.
TPoint PrepareTemplateLines(TStrings* Lines, Integer Column, Integer Line);
