// dxBarManager.h — TdxBarManager: the per-form controller of the menus and
// toolbars, and BarManagers, the process's list of managers.
//
// A form holds at most one manager, and the manager is owned by that form.
// The manager owns its bars (TdxBars), its categories, its font and its look
// and feel; it lists, without owning, every item, group and dock site of
// its form, and frees the items and groups that are still listed when it
// goes (they die with their manager even though the form owns them).
// Layout storage ("Layout.ini" or the registry) is in dxBarLayout.cpp.
#pragma once
#include <memory>
#include <vector>
#include "bars/model/dxBarTypes.h"
#include "platform/rtl/Component.h"

class TCustomForm;
class TForm;
class TFont;
class TStrings;
class TCustomIniFile;
class TRegistry;
class TcxLookAndFeel;
class TdxThemeChangedNotificator;

class TBitmap;

// The manager's two background pictures: Bar, tiled behind toolbars and
// dock sites that have none of their own, and SubMenu, tiled behind menus.
// Both are assigned into; a change of Bar restyles the bars.
class TdxBarBackgrounds : public TPersistent {
  SX_CLASS(TdxBarBackgrounds, TPersistent)
public:
  explicit TdxBarBackgrounds(TdxBarManager* AManager);
  ~TdxBarBackgrounds() override;
  static void Published(TPublished<TdxBarBackgrounds>& P);
  void Assign(TPersistent* Source) override;
  TBitmap* GetBar() const { return FBar.get(); }
  void SetBar(TBitmap* Value);
  TBitmap* GetSubMenu() const { return FSubMenu.get(); }
  void SetSubMenu(TBitmap* Value);

protected:
  TPersistent* GetOwner() override;

private:
  void BarChanged(TObject*);
  TdxBarManager* FManager;
  std::unique_ptr<TBitmap> FBar, FSubMenu;
};

class TdxBarManager : public TComponent {
  SX_CLASS(TdxBarManager, TComponent)
public:
  // Raises Exception when AOwner (or, for nil, the application's main form)
  // is not a form, or when that form already has a manager.
  explicit TdxBarManager(TComponent* AOwner);
  ~TdxBarManager() override;

  static void Published(TPublished<TdxBarManager>& P);

  TCustomForm* OwnerForm() const { return FOwnerForm; }
  TdxBars* Bars() const { return FBars.get(); }
  TdxBarManagerCategories* Categories() const { return FCategories.get(); }
  TFont* Font() const { return FFont.get(); }
  // Published accessors: assigning copies into the owned objects.
  TdxBars* GetBars() const;
  void SetBars(TdxBars* Value);
  // The links binding popup menus to window controls; owned, assigned into.
  TdxBarPopupMenuLinks* GetPopupMenuLinks() const { return FPopupMenuLinks.get(); }
  void SetPopupMenuLinks(TdxBarPopupMenuLinks* Value);
  TStrings* GetCategories() const;
  void SetCategories(TStrings* Value);

  // The items of the manager in creation order (user-visible order).
  Integer GetItemCount() const { return Integer(FItems.size()); }
  TdxBarItem* GetItem(Integer Index) const;  // nil outside the list
  TdxBarItem* FindItemByName(const AnsiString& AName) const;  // ignoring case
  TdxBar* FindBarByCaption(const AnsiString& ACaption) const;  // case-sensitive
  TdxBar* FindBarByName(const AnsiString& AName) const;        // case-sensitive
  Integer GetItemsByCategory(Integer ACategory, std::vector<TdxBarItem*>& AList) const;
  Integer GetVisibleItemsByCategory(Integer ACategory, std::vector<TdxBarItem*>& AList) const;

  TdxBarItemVisible GetCategoryItemsVisible(Integer AIndex) const;
  void SetCategoryItemsVisible(Integer AIndex, TdxBarItemVisible Value);
  bool GetCategoryVisible(Integer AIndex) const;
  void SetCategoryVisible(Integer AIndex, bool Value);

  Integer GetGroupCount() const { return Integer(FGroups.size()); }
  TdxBarGroup* GetGroup(Integer Index) const;
  void AddGroup(TdxBarGroup* AGroup);
  void RemoveGroup(TdxBarGroup* AGroup);
  TdxBarGroup* CreateGroup();
  // Items and groups leave every group as they are destroyed: the free
  // notification does not reach a group while the form frees them all.
  void RemoveFromGroups(TComponent* AComponent);

  Integer GetDockControlCount() const { return Integer(FDockControls.size()); }
  TdxDockControl* GetDockControl(Integer Index) const;
  void AddDockControl(TdxDockControl* ADockControl);
  // The popup menus of the manager (listed, freed with it).
  void AddPopupMenu(TdxBarPopupMenu* AMenu);
  void RemovePopupMenu(TdxBarPopupMenu* AMenu);
  Integer GetPopupMenuCount() const { return Integer(FPopupMenus.size()); }
  TdxBarPopupMenu* GetPopupMenu(Integer Index) const { return FPopupMenus.at(std::size_t(Index)); }
  // The toolbar in menu mode (the main menu opened by Alt or a click).
  TdxBarControl* MenuModeBar() const { return FMenuModeBar; }
  void SetMenuModeBar(TdxBarControl* Value) { FMenuModeBar = Value; }
  bool GetUseF10ForMenu() const { return FUseF10ForMenu; }
  void SetUseF10ForMenu(bool Value) { FUseF10ForMenu = Value; }
  bool GetHideFloatingBarsWhenInactive() const { return FHideFloatingBarsWhenInactive; }
  void SetHideFloatingBarsWhenInactive(bool Value) { FHideFloatingBarsWhenInactive = Value; }
  bool GetShowHintForDisabledItems() const { return FShowHintForDisabledItems; }
  void SetShowHintForDisabledItems(bool Value) { FShowHintForDisabledItems = Value; }
  bool GetFormActive() const { return FFormActive; }
  void SetFormActiveFlag(bool Value) { FFormActive = Value; }
  void RemoveDockControl(TdxDockControl* ADockControl);

  // The update lock is a flag, not a counter: callers keep the old state
  // and put it back (TdxBarLockUpdateGuard does that).
  void LockUpdate(bool Locked);
  bool IsLocked() const { return FLockUpdate; }

  TdxBarManagerStyle GetStyle() const { return FStyle; }
  void SetStyle(TdxBarManagerStyle Value);
  // Style, or for bmsUseLookAndFeel the style the look and feel stands
  // for: XP when it asks for the native style and themes are available,
  // else the style of its kind.
  TdxBarManagerStyle GetEffectiveStyle() const;
  // The background pictures; assigned into.
  TdxBarBackgrounds* GetBackgrounds() const { return FBackgrounds.get(); }
  void SetBackgrounds(TdxBarBackgrounds* Value);
  // The owned look and feel that bmsUseLookAndFeel follows; assigned into.
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value);
  // Whether the visual styles the bars draw with are available (cached;
  // refreshed on every style or theme change).
  bool ThemesAvailable() const { return FThemesAvailable; }
  // Refreshes the themes flag; then bar windows lay out and paint again in
  // the effective style.
  void StyleChanged();
  bool IsNonStandardStyle() const { return GetEffectiveStyle() != bmsStandard; }
  bool IsFlatStyle() const { return FStyle == bmsFlat; }
  bool IsLoading() const;
  bool IsDestroying() const;
  bool IsDesigning() const { return FDesigning; }
  // Run-time customizing mode, or designing.
  bool IsCustomizing() const { return FIsCustomizing || FDesigning; }
  void SetIsCustomizing(bool Value) { FIsCustomizing = Value; }
  bool ShowRecentItemsFirstNow() const { return IsNonStandardStyle() && FMenusShowRecentItemsFirst; }

  TdxBar* MainMenuBar() const { return FMainMenuBar; }
  Integer InitialUseCount() const { return FInitialUseCount; }
  bool CanDock(TdxBar* ABar, TdxBarDockingStyle AStyle, TdxDockControl* ADockControl);

  // Options (a subset of the published ones is stored with the layout).
  Byte GetMostRecentItemsPercents() const { return FMostRecentItemsPercents; }
  void SetMostRecentItemsPercents(Byte Value);
  bool GetMenusShowRecentItemsFirst() const { return FMenusShowRecentItemsFirst; }
  void SetMenusShowRecentItemsFirst(bool Value);
  bool GetShowFullMenusAfterDelay() const { return FShowFullMenusAfterDelay; }
  void SetShowFullMenusAfterDelay(bool Value);
  bool GetLargeIcons() const { return FLargeIcons; }
  void SetLargeIcons(bool Value);
  TdxBarMenuAnimations GetMenuAnimations() const { return FMenuAnimations; }
  void SetMenuAnimations(TdxBarMenuAnimations Value);
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool GetShowShortCutInHint() const { return FShowShortCutInHint; }
  void SetShowShortCutInHint(bool Value);
  bool GetAutoHideEmptyBars() const { return FAutoHideEmptyBars; }
  void SetAutoHideEmptyBars(bool Value);
  TdxBarDockingStyles GetNotDocking() const { return FNotDocking; }
  void SetNotDocking(TdxBarDockingStyles Value) { FNotDocking = Value; }
  Integer GetButtonArrowWidth() const { return FButtonArrowWidth; }
  void SetButtonArrowWidth(Integer Value);
  Integer GetWaitForDockingTime() const { return FWaitForDockingTime; }
  void SetWaitForDockingTime(Integer Value);
  bool GetUseFullReset() const { return FUseFullReset; }
  // The state was read from the form description exactly once and resets
  // are allowed (the customizing form offers its reset buttons then).
  bool CanReset() const { return FReadCount == 1 && FAllowReset; }
  // Whether the user may customize (the "&Customize..." entries and the
  // customizing form are offered only then).
  bool GetCanCustomize() const { return FCanCustomize; }
  void SetCanCustomize(bool Value) { FCanCustomize = Value; }

  // Layout storage (dxBarLayout.cpp).
  bool GetStoreInIniFile() const { return FStoreInIniFile; }
  void SetStoreInIniFile(bool Value) { FStoreInIniFile = Value; }
  const AnsiString& GetIniFileName() const { return FIniFileName; }
  void SetIniFileName(const AnsiString& Value) { FIniFileName = Value; }
  bool GetStoreInRegistry() const { return FStoreInRegistry; }
  void SetStoreInRegistry(bool Value) { FStoreInRegistry = Value; }
  const AnsiString& GetRegistryPath() const { return FRegistryPath; }
  void SetRegistryPath(const AnsiString& Value) { FRegistryPath = Value; }
  void LoadFromIniFile(const AnsiString& AFileName);
  void SaveToIniFile(const AnsiString& AFileName);
  void LoadFromRegistry(const AnsiString& ARegistryPath);
  void SaveToRegistry(const AnsiString& ARegistryPath);
  // The section and key texts behind the two stores; the file variants
  // above wrap these.
  void LoadFromIni(const TCustomIniFile& AIni);
  void SaveToIni(TCustomIniFile& AIni);
  AnsiString GetComponentPath(TComponent* ADockControl) const;
  TdxBarDockControl* FindDockControlByPath(const AnsiString& APath) const;

  // A hidden form without owner holding a copy of this manager as the
  // owner form's description has it (events left out, the stored layout
  // not read); nullptr when the form's class has no description or it
  // holds no such manager. Read errors pass on.
  std::unique_ptr<TForm> CreateDesignedCopy() const;

  void DesignerModified();
  bool Modified() const { return FModified; }
  virtual void DoClickItem(TdxBarItem* AItem);
  void DoBarDockingStyleChange(TdxBar* ABar);

  // Events.
  TdxBarEvent OnBarAdd, OnBarAfterReset, OnBarBeforeReset, OnBarClose, OnBarDelete, OnBarDockingStyleChange;
  TdxBarVisibleChangeEvent OnBarVisibleChange;
  TdxBarItemLinkEvent OnItemLinkAdd, OnItemLinkChange, OnItemLinkDelete;
  TNotifyEvent OnCloseButtonClick, OnHelpButtonClick, OnHideCustomizingForm, OnShowCustomizingForm;
  TdxBarCanDockingEvent OnDocking;
  TdxBarMenuMergeEvent OnMenuMerge;
  TdxBarShowPopupEvent OnShowCustomizingPopup, OnShowToolbarsPopup;
  TdxBarClickItemEvent OnClickItem;

  void Loaded() override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;
  void ReadState(TReader* Reader) override;

private:
  friend class TdxBarItem;  // AddItem/RemoveItem
  friend class TdxBar;      // FMainMenuBar
  void AddItem(TdxBarItem* AItem);
  void RemoveItem(TdxBarItem* AItem);
  void UpdateInitialUseCount();
  void ReadDockControlHeights(TReader* Reader);
  void WriteDockControlHeights(TWriter* Writer);
  void SaveItemLinksToIni(TCustomIniFile& AIni, const AnsiString& ASection, TdxBarItemLinks* ALinks);
  void LoadItemLinksFromIni(const TCustomIniFile& AIni, const AnsiString& ASection, TdxBarItemLinks* ALinks);
  void SaveItemLinksToRegistry(TRegistry& AReg, const AnsiString& AKey, TdxBarItemLinks* ALinks);
  void LoadItemLinksFromRegistry(TRegistry& AReg, const AnsiString& AKey, TdxBarItemLinks* ALinks);
  AnsiString IniPrefix() const;

  bool FCreationFailed = true;
  bool FCreated = false;
  bool FDesigning = false;
  TCustomForm* FOwnerForm = nullptr;
  std::unique_ptr<TdxBars> FBars;
  std::unique_ptr<TdxBarManagerCategories> FCategories;
  std::unique_ptr<TFont> FFont;
  std::vector<TdxBarItem*> FItems;             // listed, freed with the manager
  std::vector<TdxBarGroup*> FGroups;           // listed, freed with the manager
  std::vector<TdxDockControl*> FDockControls;  // registered sites, not owned
  std::vector<TdxBarPopupMenu*> FPopupMenus;   // listed, freed with the manager
  std::unique_ptr<TdxBarPopupMenuLinks> FPopupMenuLinks;
  TdxBar* FMainMenuBar = nullptr;
  bool FLockUpdate = false;
  bool FIsCustomizing = false;
  bool FModified = false;
  Integer FReadCount = 0;
  Integer FInitialUseCount = 20;
  Integer FDockControlHeights[4] = {0, 0, 0, 0};  // left, right, top, bottom

  bool FAllowReset = true;
  bool FAutoHideEmptyBars = false;
  Integer FButtonArrowWidth = 11;
  bool FLargeIcons = false;
  TdxBarMenuAnimations FMenuAnimations = maNone;
  bool FMenusShowRecentItemsFirst = true;
  Byte FMostRecentItemsPercents = 95;
  TdxBarDockingStyles FNotDocking;
  bool FShowFullMenusAfterDelay = true;
  bool FShowHint = true;
  bool FShowShortCutInHint = false;
  TdxBarManagerStyle FStyle = bmsEnhanced;
  bool FStoreInIniFile = false;
  bool FStoreInRegistry = false;
  AnsiString FIniFileName;
  AnsiString FRegistryPath;
  bool FUseFullReset = false;
  TdxBarControl* FMenuModeBar = nullptr;
  bool FUseF10ForMenu = true;
  bool FHideFloatingBarsWhenInactive = true;
  bool FShowHintForDisabledItems = true;
  bool FFormActive = false;
  bool FUseSystemFont = true;
  Integer FWaitForDockingTime = 21;
  bool FCanCustomize = true;
  bool FThemesAvailable = false;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TdxBarBackgrounds> FBackgrounds;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeNotificator;
  void UpdatePainter();
  void LookAndFeelChanged(TcxLookAndFeel* Sender, unsigned AChangedValues);
};

// Holds the manager's update lock for a scope and puts the previous state
// back, also when the scope is left by an exception.
class TdxBarLockUpdateGuard {
public:
  explicit TdxBarLockUpdateGuard(TdxBarManager* AManager, bool ALock = true)
      : FManager(AManager), FWasLocked(AManager->IsLocked()) {
    FManager->LockUpdate(ALock);
  }
  ~TdxBarLockUpdateGuard() { FManager->LockUpdate(FWasLocked); }
  TdxBarLockUpdateGuard(const TdxBarLockUpdateGuard&) = delete;
  TdxBarLockUpdateGuard& operator=(const TdxBarLockUpdateGuard&) = delete;

private:
  TdxBarManager* FManager;
  bool FWasLocked;
};

// Every manager of the process, in creation order.
class TdxBarManagerList {
public:
  Integer Count() const { return Integer(FList.size()); }
  TdxBarManager* Get(Integer Index) const;  // nil outside 0..Count-1
  TdxBarManager* FirstCustomizingManager() const;
  void Add(TdxBarManager* AManager) { FList.push_back(AManager); }
  void Remove(TdxBarManager* AManager);

private:
  std::vector<TdxBarManager*> FList;
};
TdxBarManagerList& BarManagers();

// The manager whose owner form is AForm; nil when it has none.
TdxBarManager* GetBarManagerOfForm(TCustomForm* AForm);
// True while CreateDesignedCopy reads its copy.
bool dxBarDesignedCopyLoading();
// Registers the model's classes for streaming (form descriptions name them).
void RegisterBarClasses();
