// Replays stored layouts and seeded mutations of them through the layout
// fuzz entry, so every run covers what the fuzzer checks: hostile ini texts
// and registry values end, throw nothing and leave a sound model.
#include "BarsTestSupport.h"

#include <random>
#include <string>
#include <vector>
#include "fuzz/Mutations.h"

void BarLayoutFuzzOne(const std::uint8_t* Data, std::size_t Size);

namespace {
void Feed(char Store, const std::string& S) {
  const std::string In = std::string(1, Store) + S;
  BarLayoutFuzzOne(reinterpret_cast<const std::uint8_t*>(In.data()), In.size());
}

const char* const IniSeeds[] = {
    "[MainForm.dxBarManager.Main]\nMenuAnimations=3\nBarCount=2\n"
    "[MainForm.dxBarManager.Bar0]\nCaption=Menu\nRow=0\nDockingStyle=2\nVisible=0\nItemLinkCount=1\n"
    "[MainForm.dxBarManager.Bar0.ItemLink0]\nItemName=EditMenu\nUserDefine=15\nUserCaption=E\nUserWidth=5\n"
    "UserPaintStyle=3\nUseCount=9\nRecentIndex=0\nUserGlyph=424D00\n"
    "[MainForm.dxBarManager.Bar1]\nCaption=Tools\nRow=1\nDockedDockingStyle=1\nVisible=1\nItemLinkCount=2\n"
    "[MainForm.dxBarManager.Bar1.ItemLink1]\nItemName=fontsize\nBeginGroup=1\n"
    "[MainForm.dxBarManager.SubItem_EditMenu]\nItemLinkCount=1\n"
    "[MainForm.dxBarManager.SubItem_EditMenu.ItemLink0]\nItemName=Undo\n",
    "[MainForm.dxBarManager.Main]\nBarCount=2147483647\n"
    "[MainForm.dxBarManager.Bar0]\nRow=-999\nItemLinkCount=-7\nDockingStyle=-2147483648\n"
    "[MainForm.dxBarManager.Bar300]\nRow=1\n",
};

const char* const RegistrySeeds[] = {
    "|BarCount|d|2\n|MenuAnimations|d|9\n"
    "Bar0|Caption|s|Menu\nBar0|Row|d|0\nBar0|Visible|d|0\nBar0|ItemLinkCount|d|1\n"
    "Bar0\\ItemLink0|ItemName|s|EditMenu\nBar0\\ItemLink0|UserDefine|b|\x0f\n"
    "Bar0\\ItemLink0|UserGlyph|b|BMxx\nBar0\\ItemLink0|UserWidth|d|99999\n"
    "Bar1|Caption|s|Tools\nBar1|DockedDockingStyle|d|77\nBar1|ItemLinkCount|d|2000000000\n"
    "SubItem_EditMenu|ItemLinkCount|d|1\nSubItem_EditMenu\\ItemLink0|ItemName|s|Undo\n",
    "|BarCount|s|many\nBar0|Row|s|x\nBar0|Visible|b|zz\n",
};
}  // namespace

TEST_F(BarsTest, LayoutFuzzSeedsAndMutationsLeaveASoundModel) {
  for (char Store : {'\0', '\2'})
    for (const char* S : IniSeeds) Feed(Store, S);
  for (char Store : {'\1', '\3'})
    for (const char* S : RegistrySeeds) Feed(Store, S);
  const std::string IniAlphabet = "[]=.\n-0123456789ItemLinkBarRowVisible";
  FeedMutations(IniSeeds, 20261211u, 60, IniAlphabet, [](const std::string& S) { Feed('\0', S); });
  FeedMutations(RegistrySeeds, 7u, 15, std::string("|\n\\dsb-0123456789BarItemLink"),
                [](const std::string& S) { Feed('\1', S); });
}
