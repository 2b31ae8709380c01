#include "editor/base/EdConsts.h"

#include <gtest/gtest.h>

#include <set>

using namespace EdConsts;

namespace {

TEST(LoadResText, TheTableHoldsEveryTextOnceExceptTheTwoClassicNames) {
  ASSERT_EQ(ResTextCount, 157);
  std::set<AnsiString> Distinct;
  for (Integer Id = 0; Id < ResTextCount; ++Id) {
    const AnsiString Text = LoadResText(TResTextId(Id));
    EXPECT_FALSE(Text.empty()) << "identifier " << Id;
    Distinct.insert(Text);
  }
  // "Classic" names both a key mapping and a colour scheme.
  EXPECT_EQ(LoadResText(SKeyMapClassic), LoadResText(SSchemeClassic));
  EXPECT_EQ(Distinct.size(), std::size_t(ResTextCount) - 1);
}

struct TTextCase {
  TResTextId Id;
  const char* Want;
};

// The first and last text of each group: a text left out or added twice
// shifts a whole group against its identifiers.
TEST(LoadResText, EachIdentifierGivesItsOwnText) {
  const TTextCase Cases[] = {
      {SKeyMapClassic, "Classic"},
      {SKeyMapVisualStudio, "Visual Studio"},
      {SSchemeDefaults, "Defaults"},
      {SSchemeTwilight, "Twilight"},
      {SSaveSchemeButton, "&Save"},
      {SOpenSchemeButton, "&Open..."},
      {SAtLineChar, " at Line:%d, Char:%d. "},
      {STokenListEmpty, "Token list is empty"},
      {SErrorUpdatingResource, "Error updating resource"},
      {SErrorCode, "\r\nError code : %d"},
      {SResourceNotFound, "Resource not found"},
      {SStatusModified, "Modified"},
      {SStatusOverwrite, "Overwrite"},
      {SDuplicateItem, "Can't insert duplicate item"},
      {SColorSchemeFilter, "Color scheme (*.rgb)|*.RGB"},
      {SSaveColorStyles, "Save color styles"},
      {SGotoLineCaption, "Go to line Number"},
      {SReplaceTextCaption, "Replace Text"},
      {SInvalidTabRack, "Invalid Tab Rack"},
      {SReplaceConfirm, "Replace this occurence of '%s'?"},
      {SUnsupportedRegType, "This type isn't supported by WriteToRegistry"},
      {SLineHint, "~Line~"},
      {SMenuPaste, "&Paste"},
      {SFindOptions, "Options"},
      {SReplacementsMade, "%d replacements have been made"},
      {SBookmarkNotFound, "Bookmark %d not found"},
      {SEditorPage, "Editor"},
      {SDisableDragging, "D&isable dragging"},
      {SDisplayPage, "Display"},
      {SSymbolTab, "Tab:"},
      {SColorsPage, "Colors"},
      {STextAttributes, " Text attributes: "},
      {SDefaultBackground, "Back&ground"},
      {SPropertiesCaption, "Properties"},
      {SCircularReference, "Circular reference"},
      {SPrintingStatus, "Printing Status"},
      {SPrintingPagesCalc, "Printing pages:    calculation ..."},
      {SLeftMargin, "Left &margin:"},
      {SCantReadScheme, "Can't read syntax scheme from "},
      {SSchemeFileWord, "file"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Want);
    EXPECT_EQ(LoadResText(C.Id), C.Want);
  }
}

TEST(LoadResText, AnIdentifierOutsideTheTableGivesAnEmptyText) {
  EXPECT_EQ(LoadResText(ResTextCount), "");
  EXPECT_EQ(LoadResText(TResTextId(0xFFFF)), "");
}

}  // namespace
