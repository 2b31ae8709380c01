// TextStylesDialogs.cpp — loading and saving a style set as a colour-scheme
// file chosen in the file dialogs.
#include "editor/base/EdConsts.h"
#include "editor/view/TextStyles.h"
#include "platform/forms/FileDialogs.h"

using namespace EdConsts;

bool TTextStyles::LoadWithDialog() {
  TOpenDialog D(nullptr);
  D.SetTitle(LoadResText(SLoadColorStyles));
  D.SetFilter(LoadResText(SColorSchemeFilter));
  D.SetOptions(TOpenOptions{ofHideReadOnly});
  if (!D.Execute()) return false;
  LoadFromFile(D.GetFileName());
  return true;
}

bool TTextStyles::SaveWithDialog() {
  TSaveDialog D(nullptr);
  D.SetTitle(LoadResText(SSaveColorStyles));
  D.SetFilter(LoadResText(SColorSchemeFilter));
  D.SetOptions(TOpenOptions{ofHideReadOnly});
  if (!D.Execute()) return false;
  SaveToFile(D.GetFileName());
  return true;
}
