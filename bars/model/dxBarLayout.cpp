// dxBarLayout.cpp — the user's bar layout in an ini file ("Layout.ini") or
// in the registry: which bars exist and show, where they dock or float,
// their links with the user's overrides, and the usage counts.
//
// Everything read back is a value from a file the user (or a crash) may
// have changed: enumerations are range-checked, counts and positions are
// bounded, and a layout that would hide the main menu keeps it visible.
#include "bars/model/dxBarManager.h"

#include <algorithm>
#include <cstdio>
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/windows/dxBarWindows.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"

namespace {
// Bounds for counts and positions read from a stored layout: far above any
// real layout, low enough that a corrupt value cannot make us allocate or
// loop for long.
constexpr Integer MaxStoredBars = 256;
constexpr Integer MaxStoredLinks = 1024;
constexpr Integer MaxStoredRow = 255;
constexpr Integer MaxUserWidth = 4096;
constexpr Integer MinUserWidth = 20;
// A stored glyph larger than this is not a toolbar glyph; it is skipped.
constexpr Integer MaxStoredGlyphBytes = 1 << 20;

Integer UserDefineBits(TdxBarUserDefines D) {
  Integer Bits = 0;
  for (TdxBarUserDefine U : {udCaption, udGlyph, udPaintStyle, udWidth})
    if (D.Contains(U)) Bits |= 1 << U;
  return Bits;
}

TdxBarUserDefines UserDefineFromBits(Integer Bits) {
  TdxBarUserDefines D;
  for (TdxBarUserDefine U : {udCaption, udGlyph, udPaintStyle, udWidth})
    if (Bits & (1 << U)) D.Include(U);
  return D;
}

bool ValidDockingStyle(Integer V) { return V >= dsNone && V <= dsBottom; }

AnsiString HexOf(const void* Data, std::size_t Size) {
  static const char Digits[] = "0123456789ABCDEF";
  AnsiString S;
  S.reserve(Size * 2);
  auto* P = static_cast<const unsigned char*>(Data);
  for (std::size_t I = 0; I < Size; ++I) {
    S += Digits[P[I] >> 4];
    S += Digits[P[I] & 15];
  }
  return S;
}

bool BytesOfHex(const AnsiString& S, std::string& Out) {
  if (S.size() % 2 || S.size() / 2 > std::size_t(MaxStoredGlyphBytes)) return false;
  Out.clear();
  for (std::size_t I = 0; I < S.size(); I += 2) {
    const int Value = HexByteValue(S[I], S[I + 1]);
    if (Value < 0) return false;
    Out += char(Value);
  }
  return true;
}

std::string GlyphBytes(TBitmap* Glyph) {
  TMemoryStream S;
  Glyph->SaveToStream(&S);
  return std::string(static_cast<const char*>(S.Memory()), std::size_t(S.GetSize()));
}

void LoadGlyph(TBitmap* Glyph, const std::string& Bytes) {
  TMemoryStream S;
  S.Write(Bytes.data(), Integer(Bytes.size()));
  S.Seek(0, soBeginning);
  Glyph->LoadFromStream(&S);
}

// The main menu is how the user gets everything back: a stored layout never
// leaves it hidden.
void KeepMainMenuVisible(TdxBarManager* M) {
  if (TdxBar* Main = M->MainMenuBar(); Main && !Main->GetVisible()) Main->SetVisible(true);
}
}  // namespace

AnsiString TdxBarManager::IniPrefix() const {
  AnsiString FormName = FOwnerForm ? FOwnerForm->GetName() : AnsiString();
  return FormName + "." + GetName() + ".";
}

AnsiString TdxBarManager::GetComponentPath(TComponent* ADockControl) const {
  if (!ADockControl) return {};
  AnsiString Path = ADockControl->GetName();
  for (TComponent* C = ADockControl->Owner(); C && !C->GetName().empty(); C = C->Owner())
    Path = C->GetName() + "." + Path;
  return Path;
}

TdxBarDockControl* TdxBarManager::FindDockControlByPath(const AnsiString& APath) const {
  if (APath.empty()) return nullptr;
  for (TdxDockControl* D : FDockControls)
    if (auto* Placed = dynamic_cast<TdxBarDockControl*>(D))
      if (GetComponentPath(Placed) == APath) return Placed;
  return nullptr;
}

// ---------------------------------------------------------------------------
// Ini file

void TdxBarManager::SaveToIniFile(const AnsiString& AFileName) {
  if (AFileName.empty()) return;
  TMemIniFile Ini(AFileName);
  SaveToIni(Ini);
  Ini.UpdateFile();  // written to a temporary file and renamed over the old one
}

void TdxBarManager::LoadFromIniFile(const AnsiString& AFileName) {
  if (AFileName.empty()) return;
  TMemIniFile Ini(AFileName);
  LoadFromIni(Ini);
}

void TdxBarManager::SaveToIni(TCustomIniFile& AIni) {
  const AnsiString P = IniPrefix();
  // Only this manager's sections are replaced; other sections survive.
  TStringList Sections;
  AIni.ReadSections(&Sections);
  for (Integer I = 0; I < Sections.GetCount(); ++I)
    if (Sections[I].starts_with(P)) AIni.EraseSection(Sections[I]);

  const AnsiString Main = P + "Main";
  if (IsNonStandardStyle()) {
    AIni.WriteBool(Main, "MenusShowRecentItemsFirst", FMenusShowRecentItemsFirst);
    AIni.WriteBool(Main, "ShowFullMenusAfterDelay", FShowFullMenusAfterDelay);
  }
  AIni.WriteBool(Main, "LargeIcons", FLargeIcons);
  AIni.WriteInteger(Main, "MenuAnimations", Integer(FMenuAnimations));
  AIni.WriteBool(Main, "ShowHint", FShowHint);
  AIni.WriteBool(Main, "ShowShortCutInHint", FShowShortCutInHint);
  AIni.WriteInteger(Main, "BarCount", FBars->Count());
  for (Integer I = 0; I < FBars->Count(); ++I) {
    TdxBar* B = FBars->GetItem(I);
    const AnsiString S = P + "Bar" + std::to_string(I);
    AIni.WriteString(S, "Caption", B->GetCaption());
    if (B->GetDockedDockControl())
      AIni.WriteString(S, "DockedDockControl", GetComponentPath(reinterpret_cast<TComponent*>(B->GetDockedDockControl())));
    AIni.WriteInteger(S, "DockedDockingStyle", Integer(B->GetDockedDockingStyle()));
    AIni.WriteInteger(S, "DockedLeft", B->GetDockedLeft());
    AIni.WriteInteger(S, "DockedTop", B->GetDockedTop());
    AIni.WriteBool(S, "OneOnRow", B->GetOneOnRow());
    AIni.WriteInteger(S, "Row", B->GetRow());
    AIni.WriteInteger(S, "FloatLeft", B->GetFloatLeft());
    AIni.WriteInteger(S, "FloatTop", B->GetFloatTop());
    AIni.WriteInteger(S, "FloatClientWidth", B->GetFloatClientWidth());
    AIni.WriteInteger(S, "FloatClientHeight", B->GetFloatClientHeight());
    if (B->GetDockControl())
      AIni.WriteString(S, "DockControl", GetComponentPath(reinterpret_cast<TComponent*>(B->GetDockControl())));
    AIni.WriteInteger(S, "DockingStyle", Integer(B->GetDockingStyle()));
    AIni.WriteBool(S, "Visible", B->GetVisible());
    SaveItemLinksToIni(AIni, S, B->ItemLinks());
  }
  for (TdxBarItem* It : FItems)
    if (auto* Sub = dynamic_cast<TCustomdxBarSubItem*>(It); Sub && !Sub->GetName().empty())
      SaveItemLinksToIni(AIni, P + "SubItem_" + Sub->GetName(), Sub->ItemLinks());
}

void TdxBarManager::SaveItemLinksToIni(TCustomIniFile& AIni, const AnsiString& ASection, TdxBarItemLinks* ALinks) {
  AIni.WriteInteger(ASection, "ItemLinkCount", ALinks->Count());
  bool Usage = IsNonStandardStyle() && ALinks->KeepsUsage();
  for (Integer J = 0; J < ALinks->Count(); ++J) {
    TdxBarItemLink* L = ALinks->GetItem(J);
    if (!L->GetItem() || L->GetItem()->GetName().empty()) continue;
    const AnsiString S = ASection + ".ItemLink" + std::to_string(J);
    AIni.WriteString(S, "ItemName", L->GetItem()->GetName());
    AIni.WriteBool(S, "BeginGroup", L->GetStoredBeginGroup());
    TdxBarUserDefines D = L->GetUserDefine();
    AIni.WriteInteger(S, "UserDefine", UserDefineBits(D));
    if (D.Contains(udCaption)) AIni.WriteString(S, "UserCaption", L->GetUserCaption());
    // The glyph as the hex of its bitmap stream, so that it survives the
    // round trip through the ini file as it does through the registry.
    if (D.Contains(udGlyph) && !L->GetUserGlyph()->Empty()) {
      std::string Bytes = GlyphBytes(L->GetUserGlyph());
      AIni.WriteString(S, "UserGlyph", HexOf(Bytes.data(), Bytes.size()));
    }
    if (D.Contains(udPaintStyle)) AIni.WriteInteger(S, "UserPaintStyle", Integer(L->GetUserPaintStyle()));
    if (D.Contains(udWidth)) AIni.WriteInteger(S, "UserWidth", L->GetUserWidth());
    if (ALinks->OwnerBar()) AIni.WriteBool(S, "Visible", L->GetVisible());
    if (Usage) {
      AIni.WriteInteger(S, "UseCount", L->UseCount());
      AIni.WriteInteger(S, "RecentIndex", L->RecentIndex());
    }
  }
}

void TdxBarManager::LoadFromIni(const TCustomIniFile& AIni) {
  TdxBarLockUpdateGuard Lock(this);
  const AnsiString P = IniPrefix();
  const AnsiString Main = P + "Main";
  if (IsNonStandardStyle()) {
    SetMenusShowRecentItemsFirst(AIni.ReadBool(Main, "MenusShowRecentItemsFirst", FMenusShowRecentItemsFirst));
    SetShowFullMenusAfterDelay(AIni.ReadBool(Main, "ShowFullMenusAfterDelay", FShowFullMenusAfterDelay));
  }
  SetLargeIcons(AIni.ReadBool(Main, "LargeIcons", FLargeIcons));
  Integer Anim = AIni.ReadInteger(Main, "MenuAnimations", Integer(FMenuAnimations));
  if (Anim >= maNone && Anim <= maFade) SetMenuAnimations(TdxBarMenuAnimations(Anim));
  SetShowHint(AIni.ReadBool(Main, "ShowHint", FShowHint));
  SetShowShortCutInHint(AIni.ReadBool(Main, "ShowShortCutInHint", FShowShortCutInHint));

  Integer BarCount = AIni.ReadInteger(Main, "BarCount", -1);
  if (BarCount > -1) {
    BarCount = std::min(BarCount, MaxStoredBars);
    for (Integer I = 0; I < FBars->Count(); ++I) FBars->GetItem(I)->SetVisible(false);
    for (Integer I = 0; I < BarCount; ++I) {
      const AnsiString S = P + "Bar" + std::to_string(I);
      if (AIni.ReadInteger(S, "Row", -1000) < -999) continue;
      while (FBars->Count() <= I) FBars->Add();
      TdxBar* B = FBars->GetItem(I);
      bool WasLocked = B->GetItemLinksLocked();
      B->SetItemLinksLocked(true);
      try {
        LoadItemLinksFromIni(AIni, S, B->ItemLinks());
        B->SetCaption(AIni.ReadString(S, "Caption", B->GetCaption()));
        B->SetDockedDockControl(FindDockControlByPath(AIni.ReadString(S, "DockedDockControl", "")));
        Integer Docked = AIni.ReadInteger(S, "DockedDockingStyle", Integer(B->GetDockedDockingStyle()));
        if (ValidDockingStyle(Docked)) B->FStoredDockedDockingStyle = TdxBarDockingStyle(Docked);
        B->SetDockedLeft(AIni.ReadInteger(S, "DockedLeft", B->GetDockedLeft()));
        B->SetDockedTop(AIni.ReadInteger(S, "DockedTop", B->GetDockedTop()));
        B->SetOneOnRow(AIni.ReadBool(S, "OneOnRow", B->GetOneOnRow()));
        B->SetRow(std::min(AIni.ReadInteger(S, "Row", B->GetRow()), MaxStoredRow));
        B->SetFloatLeft(AIni.ReadInteger(S, "FloatLeft", B->GetFloatLeft()));
        B->SetFloatTop(AIni.ReadInteger(S, "FloatTop", B->GetFloatTop()));
        B->SetFloatClientWidth(AIni.ReadInteger(S, "FloatClientWidth", B->GetFloatClientWidth()));
        B->SetFloatClientHeight(AIni.ReadInteger(S, "FloatClientHeight", B->GetFloatClientHeight()));
        if (TdxBarDockControl* DC = FindDockControlByPath(AIni.ReadString(S, "DockControl", ""))) B->SetDockControl(DC);
        Integer Style = AIni.ReadInteger(S, "DockingStyle", Integer(B->GetDockingStyle()));
        if (ValidDockingStyle(Style)) B->SetDockingStyle(TdxBarDockingStyle(Style));
        FBars->SetLoading(true);
        B->SetVisible(AIni.ReadBool(S, "Visible", false));
        FBars->SetLoading(false);
      } catch (const Exception&) {
        FBars->SetLoading(false);
        B->SetVisible(true);
      }
      B->SetItemLinksLocked(WasLocked);
    }
    KeepMainMenuVisible(this);
  }
  for (TdxBarItem* It : FItems)
    if (auto* Sub = dynamic_cast<TCustomdxBarSubItem*>(It); Sub && !Sub->GetName().empty()) {
      const AnsiString S = P + "SubItem_" + Sub->GetName();
      if (AIni.ReadInteger(S, "ItemLinkCount", -1) >= 0) LoadItemLinksFromIni(AIni, S, Sub->ItemLinks());
    }
}

void TdxBarManager::LoadItemLinksFromIni(const TCustomIniFile& AIni, const AnsiString& ASection,
                                         TdxBarItemLinks* ALinks) {
  ALinks->Clear();
  ALinks->BeginLoading();
  try {
    Integer Count = std::clamp<Integer>(AIni.ReadInteger(ASection, "ItemLinkCount", 0), 0, MaxStoredLinks);
    bool Usage = IsNonStandardStyle() && ALinks->KeepsUsage();
    for (Integer J = 0; J < Count; ++J) {
      const AnsiString S = ASection + ".ItemLink" + std::to_string(J);
      AnsiString Name = AIni.ReadString(S, "ItemName", "");
      if (Name.empty()) continue;
      TdxBarItem* Item = FindItemByName(Name);
      if (!Item) continue;  // the item no longer exists: the link is dropped
      TdxBarItemLink* L = ALinks->Add();
      try {
        L->SetItem(Item);
        L->SetBeginGroup(AIni.ReadBool(S, "BeginGroup", false));
        TdxBarUserDefines D = UserDefineFromBits(AIni.ReadInteger(S, "UserDefine", 0));
        L->SetUserDefineRaw(D);
        if (D.Contains(udCaption)) L->SetUserDefineCaption(AIni.ReadString(S, "UserCaption", ""));
        if (D.Contains(udGlyph)) {
          std::string Bytes;
          if (BytesOfHex(AIni.ReadString(S, "UserGlyph", ""), Bytes) && !Bytes.empty()) {
            try {
              LoadGlyph(L->GetUserGlyph(), Bytes);
            } catch (const Exception&) {
              L->GetUserGlyph()->Assign(nullptr);  // a damaged glyph is dropped, the link stays
            }
          }
        }
        if (D.Contains(udPaintStyle)) {
          Integer PS = AIni.ReadInteger(S, "UserPaintStyle", 0);
          L->SetUserDefinePaintStyle(PS >= psStandard && PS <= psCaptionGlyph ? TdxBarPaintStyle(PS) : psStandard);
        }
        if (D.Contains(udWidth))
          L->SetUserDefineWidth(std::clamp<Integer>(AIni.ReadInteger(S, "UserWidth", 100), MinUserWidth, MaxUserWidth));
        if (ALinks->OwnerBar()) L->SetPendingVisible(AIni.ReadBool(S, "Visible", true));
        if (Usage) {
          Integer Recent = AIni.ReadInteger(S, "RecentIndex", -1);
          L->SetLoadedUsage(Recent >= 0 && Recent < Count ? Recent : -1, AIni.ReadInteger(S, "UseCount", 0));
        }
      } catch (const Exception&) {
        // One unreadable link does not cost the others.
      }
    }
  } catch (...) {
    ALinks->EndLoading();
    throw;
  }
  ALinks->EndLoading();
}

// ---------------------------------------------------------------------------
// Registry

namespace {
AnsiString RegistryKeyOf(AnsiString Path) {
  if (Path.empty()) return Path;
  if (Path.front() != '\\') Path.insert(Path.begin(), '\\');
  if (Path.size() > 1 && Path.back() == '\\') Path.pop_back();
  return Path;
}

// The sub-keys a layout writes: "Bar<n>" and "SubItem_<name>".
bool IsLayoutKey(const AnsiString& Name) {
  if (Name.starts_with("SubItem_")) return true;
  if (!Name.starts_with("Bar") || Name.size() == 3) return false;
  return std::all_of(Name.begin() + 3, Name.end(), [](char C) { return C >= '0' && C <= '9'; });
}

void DeleteKeyTree(TRegistry& Reg, const AnsiString& Key) {
  if (Reg.OpenKey(Key, false)) {
    TStringList Names;
    Reg.GetKeyNames(&Names);
    Reg.CloseKey();
    for (Integer I = 0; I < Names.GetCount(); ++I) DeleteKeyTree(Reg, Key + "\\" + Names[I]);
  }
  Reg.DeleteKey(Key);
}
}  // namespace

void TdxBarManager::SaveToRegistry(const AnsiString& ARegistryPath) {
  const AnsiString K = RegistryKeyOf(ARegistryPath);
  if (K.empty()) return;
  TRegistry Reg;
  if (!Reg.OpenKey(K, true)) return;
  // Only the keys a layout writes are replaced: other values and keys that
  // the program keeps beside the layout survive.
  TStringList Names;
  Reg.GetKeyNames(&Names);
  Reg.CloseKey();
  for (Integer I = 0; I < Names.GetCount(); ++I)
    if (IsLayoutKey(Names[I])) DeleteKeyTree(Reg, K + "\\" + Names[I]);
  if (!Reg.OpenKey(K, true)) return;
  if (IsNonStandardStyle()) {
    Reg.WriteBool("MenusShowRecentItemsFirst", FMenusShowRecentItemsFirst);
    Reg.WriteBool("ShowFullMenusAfterDelay", FShowFullMenusAfterDelay);
  }
  Reg.WriteBool("LargeIcons", FLargeIcons);
  Reg.WriteInteger("MenuAnimations", Integer(FMenuAnimations));
  Reg.WriteBool("ShowHint", FShowHint);
  Reg.WriteBool("ShowShortCutInHint", FShowShortCutInHint);
  Reg.WriteInteger("BarCount", FBars->Count());
  Reg.CloseKey();
  for (Integer I = 0; I < FBars->Count(); ++I) {
    TdxBar* B = FBars->GetItem(I);
    const AnsiString BK = K + "\\Bar" + std::to_string(I);
    if (!Reg.OpenKey(BK, true)) continue;
    Reg.WriteString("Caption", B->GetCaption());
    if (B->GetDockedDockControl())
      Reg.WriteString("DockedDockControl", GetComponentPath(reinterpret_cast<TComponent*>(B->GetDockedDockControl())));
    Reg.WriteInteger("DockedDockingStyle", Integer(B->GetDockedDockingStyle()));
    Reg.WriteInteger("DockedLeft", B->GetDockedLeft());
    Reg.WriteInteger("DockedTop", B->GetDockedTop());
    Reg.WriteBool("OneOnRow", B->GetOneOnRow());
    Reg.WriteInteger("Row", B->GetRow());
    Reg.WriteInteger("FloatLeft", B->GetFloatLeft());
    Reg.WriteInteger("FloatTop", B->GetFloatTop());
    Reg.WriteInteger("FloatClientWidth", B->GetFloatClientWidth());
    Reg.WriteInteger("FloatClientHeight", B->GetFloatClientHeight());
    if (B->GetDockControl())
      Reg.WriteString("DockControl", GetComponentPath(reinterpret_cast<TComponent*>(B->GetDockControl())));
    Reg.WriteInteger("DockingStyle", Integer(B->GetDockingStyle()));
    Reg.WriteBool("Visible", B->GetVisible());
    Reg.CloseKey();
    SaveItemLinksToRegistry(Reg, BK, B->ItemLinks());
  }
  for (TdxBarItem* It : FItems)
    if (auto* Sub = dynamic_cast<TCustomdxBarSubItem*>(It); Sub && !Sub->GetName().empty())
      SaveItemLinksToRegistry(Reg, K + "\\SubItem_" + Sub->GetName(), Sub->ItemLinks());
}

void TdxBarManager::SaveItemLinksToRegistry(TRegistry& AReg, const AnsiString& AKey, TdxBarItemLinks* ALinks) {
  if (!AReg.OpenKey(AKey, true)) return;
  AReg.WriteInteger("ItemLinkCount", ALinks->Count());
  AReg.CloseKey();
  bool Usage = IsNonStandardStyle() && ALinks->KeepsUsage();
  for (Integer J = 0; J < ALinks->Count(); ++J) {
    TdxBarItemLink* L = ALinks->GetItem(J);
    if (!AReg.OpenKey(AKey + "\\ItemLink" + std::to_string(J), true)) continue;
    if (L->GetItem() && !L->GetItem()->GetName().empty()) AReg.WriteString("ItemName", L->GetItem()->GetName());
    AReg.WriteBool("BeginGroup", L->GetStoredBeginGroup());
    TdxBarUserDefines D = L->GetUserDefine();
    unsigned char Bits = static_cast<unsigned char>(UserDefineBits(D));
    AReg.WriteBinaryData("UserDefine", &Bits, 1);
    if (D.Contains(udCaption)) AReg.WriteString("UserCaption", L->GetUserCaption());
    if (D.Contains(udGlyph)) {
      std::string Bytes = GlyphBytes(L->GetUserGlyph());
      AReg.WriteBinaryData("UserGlyph", Bytes.data(), Integer(Bytes.size()));
    }
    if (D.Contains(udPaintStyle)) AReg.WriteInteger("UserPaintStyle", Integer(L->GetUserPaintStyle()));
    if (D.Contains(udWidth)) AReg.WriteInteger("UserWidth", L->GetUserWidth());
    if (ALinks->OwnerBar()) AReg.WriteBool("Visible", L->GetVisible());
    if (Usage) {
      AReg.WriteInteger("UseCount", L->UseCount());
      AReg.WriteInteger("RecentIndex", L->RecentIndex());
    }
    AReg.CloseKey();
  }
}

void TdxBarManager::LoadFromRegistry(const AnsiString& ARegistryPath) {
  const AnsiString K = RegistryKeyOf(ARegistryPath);
  if (K.empty()) return;
  TRegistry Reg;
  if (!Reg.OpenKey(K, false)) return;
  TdxBarLockUpdateGuard Lock(this);
  try {
    if (IsNonStandardStyle()) {
      if (Reg.ValueExists("MenusShowRecentItemsFirst"))
        SetMenusShowRecentItemsFirst(Reg.ReadBool("MenusShowRecentItemsFirst"));
      if (Reg.ValueExists("ShowFullMenusAfterDelay")) SetShowFullMenusAfterDelay(Reg.ReadBool("ShowFullMenusAfterDelay"));
    }
    if (Reg.ValueExists("LargeIcons")) SetLargeIcons(Reg.ReadBool("LargeIcons"));
    if (Reg.ValueExists("MenuAnimations")) {
      Integer A = Reg.ReadInteger("MenuAnimations");
      if (A >= maNone && A <= maFade) SetMenuAnimations(TdxBarMenuAnimations(A));
    }
    if (Reg.ValueExists("ShowHint")) SetShowHint(Reg.ReadBool("ShowHint"));
    if (Reg.ValueExists("ShowShortCutInHint")) SetShowShortCutInHint(Reg.ReadBool("ShowShortCutInHint"));
  } catch (const Exception&) {
    // A value of the wrong type keeps the current option.
  }
  bool HasBars = Reg.ValueExists("BarCount");
  Integer BarCount = 0;
  if (HasBars) {
    try {
      BarCount = std::clamp<Integer>(Reg.ReadInteger("BarCount"), 0, MaxStoredBars);
    } catch (const Exception&) {
      HasBars = false;
    }
  }
  Reg.CloseKey();
  if (HasBars) {
    for (Integer I = 0; I < FBars->Count(); ++I) FBars->GetItem(I)->SetVisible(false);
    for (Integer I = 0; I < BarCount; ++I) {
      const AnsiString BK = K + "\\Bar" + std::to_string(I);
      if (!Reg.OpenKey(BK, false)) continue;
      Reg.CloseKey();
      while (FBars->Count() <= I) FBars->Add();
      TdxBar* B = FBars->GetItem(I);
      bool WasLocked = B->GetItemLinksLocked();
      B->SetItemLinksLocked(true);
      try {
        LoadItemLinksFromRegistry(Reg, BK, B->ItemLinks());
        if (Reg.OpenKey(BK, false)) {
          B->SetCaption(Reg.ReadString("Caption"));
          B->SetDockedDockControl(FindDockControlByPath(Reg.ReadString("DockedDockControl")));
          Integer Docked = Reg.ReadInteger("DockedDockingStyle");
          if (ValidDockingStyle(Docked)) B->FStoredDockedDockingStyle = TdxBarDockingStyle(Docked);
          B->SetDockedLeft(Reg.ReadInteger("DockedLeft"));
          B->SetDockedTop(Reg.ReadInteger("DockedTop"));
          B->SetOneOnRow(Reg.ReadBool("OneOnRow"));
          B->SetRow(std::min(Reg.ReadInteger("Row"), MaxStoredRow));
          B->SetFloatLeft(Reg.ReadInteger("FloatLeft"));
          B->SetFloatTop(Reg.ReadInteger("FloatTop"));
          B->SetFloatClientWidth(Reg.ReadInteger("FloatClientWidth"));
          B->SetFloatClientHeight(Reg.ReadInteger("FloatClientHeight"));
          if (TdxBarDockControl* DC = FindDockControlByPath(Reg.ReadString("DockControl"))) B->SetDockControl(DC);
          Integer Style = Reg.ReadInteger("DockingStyle");
          if (ValidDockingStyle(Style)) B->SetDockingStyle(TdxBarDockingStyle(Style));
          FBars->SetLoading(true);
          B->SetVisible(Reg.ReadBool("Visible"));
          FBars->SetLoading(false);
        }
      } catch (const Exception&) {
        // A missing value shows the bar with what was read before it.
        FBars->SetLoading(false);
        B->SetVisible(true);
      }
      Reg.CloseKey();
      B->SetItemLinksLocked(WasLocked);
    }
    KeepMainMenuVisible(this);
  }
  for (TdxBarItem* It : FItems)
    if (auto* Sub = dynamic_cast<TCustomdxBarSubItem*>(It); Sub && !Sub->GetName().empty()) {
      const AnsiString SK = K + "\\SubItem_" + Sub->GetName();
      if (Reg.OpenKey(SK, false)) {
        Reg.CloseKey();
        LoadItemLinksFromRegistry(Reg, SK, Sub->ItemLinks());
      }
    }
}

void TdxBarManager::LoadItemLinksFromRegistry(TRegistry& AReg, const AnsiString& AKey, TdxBarItemLinks* ALinks) {
  ALinks->Clear();
  ALinks->BeginLoading();
  Integer Count = 0;
  if (AReg.OpenKey(AKey, false)) {
    try {
      if (AReg.ValueExists("ItemLinkCount"))
        Count = std::clamp<Integer>(AReg.ReadInteger("ItemLinkCount"), 0, MaxStoredLinks);
    } catch (const Exception&) {
      Count = 0;
    }
    AReg.CloseKey();
  }
  bool Usage = IsNonStandardStyle() && ALinks->KeepsUsage();
  for (Integer J = 0; J < Count; ++J) {
    if (!AReg.OpenKey(AKey + "\\ItemLink" + std::to_string(J), false)) continue;
    TdxBarItemLink* L = nullptr;
    try {
      TdxBarItem* Item = FindItemByName(AReg.ReadString("ItemName"));
      if (Item) {
        L = ALinks->Add();
        L->SetItem(Item);
        L->SetBeginGroup(AReg.ReadBool("BeginGroup"));
        unsigned char Bits = 0;
        if (AReg.GetDataSize("UserDefine") == 1) AReg.ReadBinaryData("UserDefine", &Bits, 1);
        TdxBarUserDefines D = UserDefineFromBits(Bits);
        L->SetUserDefineRaw(D);
        if (D.Contains(udCaption)) L->SetUserDefineCaption(AReg.ReadString("UserCaption"));
        if (D.Contains(udGlyph)) {
          Integer Size = AReg.GetDataSize("UserGlyph");
          if (Size > 0 && Size <= MaxStoredGlyphBytes) {
            std::string Bytes(std::size_t(Size), '\0');
            AReg.ReadBinaryData("UserGlyph", Bytes.data(), Size);
            try {
              LoadGlyph(L->GetUserGlyph(), Bytes);
            } catch (const Exception&) {
              L->GetUserGlyph()->Assign(nullptr);
            }
          }
        }
        if (D.Contains(udPaintStyle)) {
          Integer PS = AReg.ReadInteger("UserPaintStyle");
          L->SetUserDefinePaintStyle(PS >= psStandard && PS <= psCaptionGlyph ? TdxBarPaintStyle(PS) : psStandard);
        }
        if (D.Contains(udWidth))
          L->SetUserDefineWidth(std::clamp<Integer>(AReg.ReadInteger("UserWidth"), MinUserWidth, MaxUserWidth));
        if (ALinks->OwnerBar() && AReg.ValueExists("Visible")) L->SetPendingVisible(AReg.ReadBool("Visible"));
        if (Usage && AReg.ValueExists("UseCount") && AReg.ValueExists("RecentIndex")) {
          Integer Recent = AReg.ReadInteger("RecentIndex");
          L->SetLoadedUsage(Recent >= 0 && Recent < Count ? Recent : -1, AReg.ReadInteger("UseCount"));
        }
      }
    } catch (const Exception&) {
      // The link stays as far as it got.
    }
    AReg.CloseKey();
  }
  ALinks->EndLoading();
}
