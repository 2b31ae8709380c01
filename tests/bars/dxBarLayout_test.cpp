// The stored layout: "Layout.ini" and the registry give back the bars, rows,
// positions, visibility and links they were given, replace only this
// manager's part, and read damaged values as sound ones.
#include "BarsTestSupport.h"

#include "../support/TestFiles.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Strings.h"

namespace {
class LayoutTest : public BarsTest {
protected:
  void SetUp() override {
    BarsTest::SetUp();
    M->SetStyle(bmsOffice11);
    New = NewItem<TdxBarButton>("btnNew", "&New");
    Open = NewItem<TdxBarButton>("btnOpen", "&Open...");
    Size = NewItem<TdxBarEdit>("edSize", "Size");
    FileMenu = NewItem<TdxBarSubItem>("smFile", "&File");
    FileMenu->ItemLinks()->AddItem(New);
    FileMenu->ItemLinks()->AddItem(Open)->SetBeginGroup(true);
    Menu = NewBar("Main Menu");
    Menu->SetIsMainMenu(true);
    Menu->SetDockingStyle(dsTop);
    Menu->ItemLinks()->AddItem(FileMenu);
    Menu->SetVisible(true);
    Tools = NewBar("Standard");
    Tools->SetDockingStyle(dsTop);
    Tools->SetRow(1);
    Tools->SetDockedLeft(12);
    Tools->ItemLinks()->AddItem(New);
    Tools->ItemLinks()->AddItem(Size)->SetUserWidth(80);
    Tools->SetVisible(true);
    Float = NewBar("Format");
    Float->SetDockingStyle(dsNone);
    Float->SetFloatLeft(300);
    Float->SetFloatTop(-20);
    Float->SetFloatClientWidth(140);
    Float->ItemLinks()->AddItem(Open)->SetUserCaption("Open a file");
    Ini = (std::filesystem::path(Dir) / "Layout.ini").string();
  }
  struct TBarState {
    AnsiString Caption;
    TdxBarDockingStyle Style;
    Integer Row, DockedLeft, FloatLeft, FloatTop, FloatWidth;
    bool Visible;
    std::vector<AnsiString> Links;
    bool operator==(const TBarState&) const = default;
  };
  std::vector<TBarState> State() const {
    std::vector<TBarState> R;
    for (Integer I = 0; I < M->Bars()->Count(); ++I) {
      TdxBar* B = M->Bars()->GetItem(I);
      TBarState S{B->GetCaption(), B->GetDockingStyle(), B->GetRow(), B->GetDockedLeft(), B->GetFloatLeft(),
                  B->GetFloatTop(), B->GetFloatClientWidth(), B->GetVisible(), {}};
      for (Integer J = 0; J < B->ItemLinks()->Count(); ++J) {
        TdxBarItemLink* L = B->ItemLinks()->GetItem(J);
        S.Links.push_back(L->GetItem()->GetName() + ":" + L->GetCaption() + ":" + std::to_string(L->GetWidth()) +
                          (L->GetStoredBeginGroup() ? ":group" : ""));
      }
      R.push_back(S);
    }
    return R;
  }
  void Scramble() {
    Tools->SetRow(4);
    Tools->SetDockedLeft(0);
    Tools->SetVisible(false);
    Float->SetVisible(true);
    Float->SetFloatLeft(0);
    Float->ItemLinks()->Clear();
    Tools->ItemLinks()->GetItem(1)->SetUserDefine({});
    FileMenu->ItemLinks()->Clear();
  }
  TdxBarButton *New = nullptr, *Open = nullptr;
  TdxBarEdit* Size = nullptr;
  TdxBarSubItem* FileMenu = nullptr;
  TdxBar *Menu = nullptr, *Tools = nullptr, *Float = nullptr;
  std::string Ini;
};
}  // namespace

TEST_F(LayoutTest, IniRoundTripGivesBackTheSameBars) {
  const auto Saved = State();
  M->SaveToIniFile(Ini);
  Scramble();
  ASSERT_NE(State(), Saved);
  M->LoadFromIniFile(Ini);
  EXPECT_EQ(State(), Saved);
  ASSERT_EQ(FileMenu->ItemLinks()->Count(), 2);
  EXPECT_TRUE(FileMenu->ItemLinks()->GetItem(1)->GetStoredBeginGroup());
  EXPECT_FALSE(M->IsLocked());
}

TEST_F(LayoutTest, RegistryRoundTripGivesBackTheSameBars) {
  const auto Saved = State();
  M->SaveToRegistry("Software\\Sourcelux\\Test\\Bars\\");
  Scramble();
  M->LoadFromRegistry("Software\\Sourcelux\\Test\\Bars");
  EXPECT_EQ(State(), Saved);
  ASSERT_EQ(FileMenu->ItemLinks()->Count(), 2);
}

TEST_F(LayoutTest, IniSaveReplacesOnlyThisManagersSections) {
  {
    TMemIniFile Other(Ini);
    Other.WriteString("Preview.dxBarManager.Main", "BarCount", "1");
    Other.WriteString("MainForm.dxBarManager.Bar9", "Caption", "stale");
    Other.UpdateFile();
  }
  M->SaveToIniFile(Ini);
  const std::string First = sxtest::ReadFile(Ini);
  M->SaveToIniFile(Ini);
  EXPECT_EQ(sxtest::ReadFile(Ini), First);  // saving twice gives the same file
  TMemIniFile Check(Ini);
  EXPECT_EQ(Check.ReadString("Preview.dxBarManager.Main", "BarCount", ""), "1");
  EXPECT_FALSE(Check.SectionExists("MainForm.dxBarManager.Bar9"));
  EXPECT_EQ(Check.ReadInteger("MainForm.dxBarManager.Main", "BarCount", 0), 3);
  EXPECT_TRUE(Check.ValueExists("MainForm.dxBarManager.Main", "MenusShowRecentItemsFirst"));
  EXPECT_EQ(Check.ReadString("MainForm.dxBarManager.Bar2.ItemLink0", "UserCaption", ""), "Open a file");
  // The save went through a temporary file: nothing of it is left behind.
  for (const auto& E : std::filesystem::directory_iterator(Dir))
    EXPECT_FALSE(E.path().filename().string().ends_with(".part")) << E.path();
}

TEST_F(LayoutTest, StandardStyleStoresNoUsage) {
  M->SetStyle(bmsStandard);
  M->SaveToIniFile(Ini);
  TMemIniFile Check(Ini);
  EXPECT_FALSE(Check.ValueExists("MainForm.dxBarManager.Main", "MenusShowRecentItemsFirst"));
  EXPECT_FALSE(Check.ValueExists("MainForm.dxBarManager.Bar1.ItemLink0", "UseCount"));
  M->SetStyle(bmsOffice11);
  M->SaveToIniFile(Ini);
  TMemIniFile Again(Ini);
  EXPECT_TRUE(Again.ValueExists("MainForm.dxBarManager.Bar1.ItemLink0", "UseCount"));
}

TEST_F(LayoutTest, UserGlyphSurvivesBothStores) {
  TBitmap Glyph;
  Glyph.SetSize(16, 15);
  Glyph.Canvas()->SetPixel(3, 4, clRed);
  Tools->ItemLinks()->GetItem(0)->SetUserGlyph(&Glyph);
  for (bool Registry : {false, true}) {
    SCOPED_TRACE(Registry ? "registry" : "ini");
    if (Registry) M->SaveToRegistry("Software\\Sourcelux\\Test\\Glyph");
    else M->SaveToIniFile(Ini);
    Tools->ItemLinks()->GetItem(0)->SetUserDefine({});
    if (Registry) M->LoadFromRegistry("Software\\Sourcelux\\Test\\Glyph");
    else M->LoadFromIniFile(Ini);
    TdxBarItemLink* L = Tools->ItemLinks()->GetItem(0);
    ASSERT_TRUE(L->GetUserDefine().Contains(udGlyph));
    EXPECT_EQ(L->GetUserGlyph()->GetWidth(), 16);
    EXPECT_EQ(L->GetUserGlyph()->GetHeight(), 15);
    EXPECT_EQ(L->GetUserGlyph()->Canvas()->GetPixel(3, 4), clRed);
  }
}

TEST_F(LayoutTest, RegistrySaveKeepsKeysItDoesNotOwn) {
  const AnsiString K = "Software\\Sourcelux\\Test\\Preview";
  {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(K + "\\Version", true));
    Reg.WriteInteger("Layout", 3);
    Reg.CloseKey();
    ASSERT_TRUE(Reg.OpenKey(K + "\\Bar7\\ItemLink0", true));  // stale: a bar that is gone
    Reg.WriteString("ItemName", "btnNew");
    Reg.CloseKey();
  }
  M->SaveToRegistry(K);
  TRegistry Reg;
  EXPECT_TRUE(Reg.KeyExists(K + "\\Version"));
  EXPECT_FALSE(Reg.KeyExists(K + "\\Bar7"));
  EXPECT_TRUE(Reg.KeyExists(K + "\\Bar2\\ItemLink0"));
  EXPECT_TRUE(Reg.KeyExists(K + "\\SubItem_smFile\\ItemLink1"));
}

TEST_F(LayoutTest, RegistryBarWithAMissingValueIsShownWithWhatWasRead) {
  const AnsiString K = "Software\\Sourcelux\\Test\\Missing";
  Tools->SetFloatTop(77);
  M->SaveToRegistry(K);
  {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(K + "\\Bar1", false));
    Reg.WriteString("Caption", "Renamed");
    Reg.DeleteValue("DockedLeft");
    Reg.CloseKey();
  }
  Tools->SetVisible(false);
  Tools->SetFloatTop(5);
  M->LoadFromRegistry(K);
  EXPECT_TRUE(Tools->GetVisible());
  EXPECT_EQ(Tools->GetCaption(), "Renamed");
  EXPECT_EQ(Tools->GetFloatTop(), 5);  // read after the missing value: not reached
}

TEST_F(LayoutTest, DamagedIniValuesReadAsSoundOnes) {
  M->SaveToIniFile(Ini);
  struct {
    const char* Section;
    const char* Key;
    const char* Value;
    const char* Why;
  } const Damage[] = {
      {"Main", "MenuAnimations", "77", "an animation that does not exist"},
      {"Main", "BarCount", "2000000000", "a bar count far beyond any layout"},
      {"Bar1", "DockingStyle", "99", "a docking style that does not exist"},
      {"Bar1", "DockedDockingStyle", "-4", "a negative docked style"},
      {"Bar1", "Row", "2147483647", "a huge row"},
      {"Bar1", "ItemLinkCount", "1000000000", "a link count far beyond any bar"},
      {"Bar1.ItemLink1", "UserWidth", "-5", "a width below the narrowest"},
      {"Bar1.ItemLink1", "UserDefine", "255", "bits beyond the four user values"},
      {"Bar1.ItemLink0", "UserPaintStyle", "12", "a paint style that does not exist"},
      {"Bar1.ItemLink0", "RecentIndex", "99999", "a recent position beyond the links"},
      {"Bar2.ItemLink0", "UserGlyph", "42ZZ", "a glyph that is not hex"},
      {"Bar2.ItemLink0", "ItemName", "btnGone", "an item that no longer exists"},
  };
  {
    TMemIniFile F(Ini);
    for (const auto& D : Damage) F.WriteString(AnsiString("MainForm.dxBarManager.") + D.Section, D.Key, D.Value);
    F.WriteInteger("MainForm.dxBarManager.Bar1.ItemLink0", "UserDefine", 4);
    F.UpdateFile();
  }
  M->LoadFromIniFile(Ini);
  EXPECT_EQ(M->GetMenuAnimations(), maNone);
  EXPECT_EQ(Tools->GetDockingStyle(), dsTop);
  EXPECT_EQ(Tools->GetDockedDockingStyle(), dsTop);
  EXPECT_LE(Tools->GetRow(), 255);
  EXPECT_EQ(Tools->ItemLinks()->Count(), 2);  // sections for two links only
  EXPECT_EQ(Tools->ItemLinks()->GetItem(1)->GetUserWidth(), 20);
  EXPECT_EQ(Tools->ItemLinks()->GetItem(0)->GetUserPaintStyle(), psStandard);
  EXPECT_EQ(Float->ItemLinks()->Count(), 0);  // its only link named a missing item
  EXPECT_LE(M->Bars()->Count(), 256);
  EXPECT_FALSE(M->IsLocked());
}

TEST_F(LayoutTest, StoredLayoutNeverHidesTheMainMenu) {
  M->SaveToIniFile(Ini);
  {
    TMemIniFile F(Ini);
    for (int I = 0; I < 3; ++I) F.WriteBool("MainForm.dxBarManager.Bar" + std::to_string(I), "Visible", false);
    F.UpdateFile();
  }
  M->LoadFromIniFile(Ini);
  EXPECT_TRUE(Menu->GetVisible());
  EXPECT_FALSE(Tools->GetVisible());
}

TEST_F(LayoutTest, MissingRowSkipsABarAndExtraBarsAreAdded) {
  M->SaveToIniFile(Ini);
  {
    TMemIniFile F(Ini);
    F.DeleteKey("MainForm.dxBarManager.Bar1", "Row");
    F.WriteInteger("MainForm.dxBarManager.Main", "BarCount", 4);
    F.WriteString("MainForm.dxBarManager.Bar3", "Caption", "Added");
    F.WriteInteger("MainForm.dxBarManager.Bar3", "Row", 2);
    F.WriteBool("MainForm.dxBarManager.Bar3", "Visible", true);
    F.UpdateFile();
  }
  M->LoadFromIniFile(Ini);
  EXPECT_FALSE(Tools->GetVisible());  // hidden first, then skipped
  ASSERT_EQ(M->Bars()->Count(), 4);
  EXPECT_EQ(M->Bars()->GetItem(3)->GetCaption(), "Added");
  EXPECT_EQ(M->Bars()->GetItem(3)->GetRow(), 2);
  EXPECT_TRUE(M->Bars()->GetItem(3)->GetVisible());
}

TEST_F(LayoutTest, MissingFileKeepsTheDesignedLayout) {
  const auto Before = State();
  M->LoadFromIniFile((std::filesystem::path(Dir) / "absent.ini").string());
  M->LoadFromRegistry("Software\\Sourcelux\\Test\\Absent");
  M->LoadFromIniFile("");
  EXPECT_EQ(State(), Before);
}
