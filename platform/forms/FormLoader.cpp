#include "platform/forms/FormLoader.h"

#include <map>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/ObjectText.h"
#include "platform/rtl/Streams.h"

namespace {
struct TDescriptions {
  std::map<AnsiString, AnsiString> Texts;  // key: upper-case class name
  AnsiString Dir;
  bool DirSet = false;
};
TDescriptions& Descriptions() {
  static TDescriptions D;
  return D;
}
AnsiString Key(const AnsiString& ClassName) { return UpperCase(ClassName); }
}  // namespace

void RegisterFormDescription(const AnsiString& ClassName, const AnsiString& Text) {
  Descriptions().Texts[Key(ClassName)] = Text;
}

void UnregisterFormDescription(const AnsiString& ClassName) { Descriptions().Texts.erase(Key(ClassName)); }

void SetFormDescriptionDir(const AnsiString& Dir) {
  Descriptions().Dir = IncludeTrailingPathDelimiter(Dir);
  Descriptions().DirSet = true;
}

AnsiString FormDescriptionDir() {
  TDescriptions& D = Descriptions();
  if (!D.DirSet) return ExtractFilePath(ExeName()) + "resources" + PathDelim;
  return D.Dir;
}

bool FindFormDescription(const AnsiString& ClassName, AnsiString& Text) {
  auto& T = Descriptions().Texts;
  if (auto It = T.find(Key(ClassName)); It != T.end()) {
    Text = It->second;
    return true;
  }
  const AnsiString FileName = FormDescriptionDir() + ClassName + ".dfm";
  if (!FileExists(FileName)) return false;
  TFileStream F(FileName, fmOpenRead | fmShareDenyWrite);
  Text.assign(size_t(F.GetSize()), '\0');
  if (!Text.empty()) F.ReadBuffer(Text.data(), Integer(Text.size()));
  return true;
}

bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor) {
  std::vector<AnsiString> Texts;
  for (TClass C = Instance->ClassType(); C && C != RootAncestor; C = C->ClassParent()) {
    AnsiString Text;
    if (FindFormDescription(C->ClassName(), Text)) Texts.insert(Texts.begin(), Text);
  }
  if (Texts.empty()) return false;
  BeginGlobalLoading();
  try {
    for (const AnsiString& Text : Texts) {
      TStringStream Source(Text);
      TMemoryStream Binary;
      ObjectTextToBinary(&Source, &Binary);
      Binary.SetPosition(0);
      TReader Reader(&Binary);
      Reader.ReadRootComponent(Instance);
    }
    // The root's published fields named like its components point at them.
    for (Integer i = 0; i < Instance->ComponentCount(); ++i) {
      TComponent* C = Instance->Components(i);
      if (C->GetName().empty()) continue;
      const TPropInfo* P = Instance->ClassType()->FindProperty(C->GetName());
      if (P && P->Kind() == tkClass && P->SetObj && C->InheritsFrom(P->PropType->ClassType)) P->SetObj(Instance, C);
    }
    NotifyGlobalLoading();
  } catch (...) {
    EndGlobalLoading();
    throw;
  }
  EndGlobalLoading();
  return true;
}
