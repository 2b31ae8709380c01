#include "bars/model/dxBarStrs.h"

#include <iterator>
#include "controls/base/cxClasses.h"

namespace {
struct TBarStr {
  unsigned Id;
  const char* Text;
};
// Declaration order: the string table groups ids in blocks of sixteen.
const TBarStr BarStrs[] = {
    {65033, "OK"}, {65034, "Cancel"},
    {65035, "Black"}, {65036, "Maroon"}, {65037, "Green"}, {65038, "Olive"}, {65039, "Navy"},
    {65008, "Purple"}, {65009, "Teal"}, {65010, "Gray"}, {65011, "Silver"}, {65012, "Red"},
    {65013, "Lime"}, {65014, "Yellow"}, {65015, "Blue"}, {65016, "Fuchsia"}, {65017, "Aqua"},
    {65018, "White"}, {65019, "(automatic)"}, {65020, "(custom)"}, {65021, "Today"},
    {65022, "Clear"}, {65023, "Select the date"},
    {64992, "Select item"}, {64993, "Select item"}, {64994, "The place for the "},
    {64995, "You cannot assign the same control to more than one TdxBarControlContainerItem."},
    {64996, "Are you sure you want to reset the changes made to the '%s' toolbar?"},
    {64997, "This will delete the record of the commands you've used in this application and restore the "
            "default set of visible commands to the menus and toolbars. It will not undo any explicit "
            "customizations.   Are you sure you want to proceed?"},
    {64998, "A Form should contain only a single TdxBarManager"},
    {64999, "TdxBarManager should have as its Owner - TForm (TCustomForm)"},
    {65000, "There are no TdxBarManagers available"},
    {65001, "Are you sure you want to delete the '%s' toolbar?"},
    {65002, "Are you sure you want to delete the '%s' category?"},
    {65003, "Are you sure you want to delete all commands in the '%s' category?"},
    {65004, "You cannot create recursive subitems"},
    {65005, "A command name cannot be blank. Please enter a name."},
    {65006, "A toolbar named '%s' already exists. Type another name."},
    {65007, "You cannot create recursive groups"},
    {64976, "Default"}, {64977, "Add &SubItem"}, {64978, "Add &Button"}, {64979, "Add &Item"},
    {64980, "Delete Bar"}, {64981, "&Reset"}, {64982, "&Delete"}, {64983, "&Name:"},
    {64984, "&Caption:"}, {64985, "Defa&ult style"}, {64986, "&Text Only (Always)"},
    {64987, "Text &Only (in Menus)"}, {64988, "Image &and Text"}, {64989, "Begin a &Group"},
    {64990, "&Visible"}, {64991, "&Most recently used"},
    {64960, "Add..."}, {64961, "Rename..."}, {64962, "Delete"}, {64963, "Clear"},
    {64964, "Visible"}, {64965, "OK"}, {64966, "Cancel"}, {64967, "SubMenu Editor..."},
    {64968, "Sourcelux Bars SubMenu Editor"}, {64969, "Insert..."}, {64970, "Move Up"},
    {64971, "Move Down"}, {64972, " Toolbars "}, {64973, " Commands "}, {64974, " Options "},
    {64975, "Toolb&ars:"},
    {64944, "&New..."}, {64945, "R&ename..."}, {64946, "&Delete"}, {64947, "&Reset..."},
    {64948, "Close"}, {64949, "Customize"}, {64950, "Cate&gories:"}, {64951, "Comman&ds:"},
    {64952, "Description  "}, {64953, "&Customize..."}, {64954, "&Add or Remove Buttons"},
    {64955, "More Buttons"}, {64956, "&Reset Toolbar"}, {64957, "Expand (Ctrl-Down)"},
    {64958, "Drag to make this menu float"}, {64959, "Custom "},
    {64928, "Add Category"}, {64929, "Insert Category"}, {64930, "Rename Category"},
    {64931, "Add Toolbar"}, {64932, "Rename Toolbar"}, {64933, "&Category name:"},
    {64934, "&Toolbar name:"}, {64935, "... modify"}, {64936, "Personalized Menus and Toolbars  "},
    {64937, "Me&nus show recently used commands first"}, {64938, "Show f&ull menus after a short delay"},
    {64939, "&Reset my usage data"}, {64940, "Other  "}, {64941, "&Large icons"},
    {64942, "Show Tool&Tips on toolbars"}, {64943, "Show s&hortcut keys in ToolTips"},
    {64912, "&Menu animations:"}, {64913, "(None)"}, {64914, "Random"}, {64915, "Unfold"},
    {64916, "Slide"}, {64917, "Fade"},
};
}  // namespace

const char* dxBarStrText(unsigned Id) {
  for (const TBarStr& S : BarStrs)
    if (S.Id == Id) return S.Text;
  return nullptr;
}

AnsiString dxBarStr(unsigned Id) {
  const char* Text = dxBarStrText(Id);
  return Text ? TranslateLoadedString(Text) : AnsiString();
}

const unsigned* dxBarStrIds(int& Count) {
  static unsigned Ids[std::size(BarStrs)];
  for (std::size_t I = 0; I < std::size(BarStrs); ++I) Ids[I] = BarStrs[I].Id;
  Count = int(std::size(BarStrs));
  return Ids;
}
