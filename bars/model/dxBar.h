// dxBar.h — TdxBar, one toolbar or the main menu bar, and TdxBars, the
// manager's collection of them.
//
// A bar describes itself independently of its window: caption and name, its
// item links (owned), where it docks or floats, its row and flags. The
// window (TdxBarControl, bars/windows) exists only while the bar is visible
// and belongs to the bar's item links.
#pragma once
#include <memory>
#include <vector>
#include "bars/model/dxBarTypes.h"
#include "platform/rtl/Collection.h"

class TdxBar : public TCollectionItem {
  SX_CLASS(TdxBar, TCollectionItem)
public:
  explicit TdxBar(TCollection* ACollection);
  ~TdxBar() override;
  static void Published(TPublished<TdxBar>& P);
  void Assign(TPersistent* Source) override;

  TdxBarManager* GetBarManager() const;
  TdxBarItemLinks* ItemLinks() const { return FItemLinks.get(); }
  TCustomdxBarControl* GetBarControl() const;
  // Published accessors of ItemLinks (assigning copies the links).
  TdxBarItemLinks* GetItemLinksProp() const;
  void SetItemLinksProp(TdxBarItemLinks* Value);

  const AnsiString& GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  const AnsiString& GetName() const { return FName; }
  void SetName(const AnsiString& Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  bool GetHidden() const { return FHidden; }
  void SetHidden(bool Value);
  bool GetIsMainMenu() const { return FIsMainMenu; }
  void SetIsMainMenu(bool Value);
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  bool GetWholeRow() const { return FWholeRow; }
  void SetWholeRow(bool Value);
  bool GetOneOnRow() const { return FOneOnRow; }
  TdxBarBorderStyle GetBorderStyle() const { return FBorderStyle; }
  bool GetShowMark() const { return FShowMark; }
  // On a left or right site the items turn, their captions running down.
  bool GetRotateWhenVertical() const { return FRotateWhenVertical; }
  void SetRotateWhenVertical(bool Value);
  void SetOneOnRow(bool Value);
  Integer GetRow() const { return FRow; }
  void SetRow(Integer Value);
  Integer GetDockedLeft() const { return FDockedLeft; }
  void SetDockedLeft(Integer Value);
  Integer GetDockedTop() const { return FDockedTop; }
  void SetDockedTop(Integer Value);
  Integer GetFloatLeft() const { return FFloatLeft; }
  void SetFloatLeft(Integer Value);
  Integer GetFloatTop() const { return FFloatTop; }
  void SetFloatTop(Integer Value);
  Integer GetFloatClientWidth() const { return FFloatClientWidth; }
  void SetFloatClientWidth(Integer Value);
  Integer GetFloatClientHeight() const { return FFloatClientHeight; }
  void SetFloatClientHeight(Integer Value);
  // The style of DockControl when one is set, else the stored one.
  TdxBarDockingStyle GetDockingStyle() const;
  void SetDockingStyle(TdxBarDockingStyle Value);
  TdxBarDockingStyle GetDockedDockingStyle() const;
  void SetDockedDockingStyle(TdxBarDockingStyle Value);
  TdxBarDockControl* GetDockControl() const { return FDockControl; }
  // Set while the bar's window writes where it is into the bar: the
  // docking setters then leave the window where it is. Outside that, a
  // new docking style or site moves a shown bar's window there.
  void SetFollowingWindow(bool Value) { FFollowingWindow = Value; }
  bool FollowingWindow() const { return FFollowingWindow; }
  void SetDockControl(TdxBarDockControl* Value);
  TdxBarDockControl* GetDockedDockControl() const { return FDockedDockControl; }
  void SetDockedDockControl(TdxBarDockControl* Value);
  TdxBarDockingStyles GetNotDocking() const { return FNotDocking; }
  void SetNotDocking(TdxBarDockingStyles Value);
  bool GetAllowClose() const { return FAllowClose; }
  bool GetAllowReset() const { return FAllowReset; }
  bool GetAllowCustomizing() const { return FAllowCustomizing; }
  bool GetAllowQuickCustomizing() const { return FAllowQuickCustomizing; }
  void SetAllowQuickCustomizing(bool Value) { FAllowQuickCustomizing = Value; }
  void SetAllowClose(bool Value);
  void SetAllowCustomizing(bool Value) { FAllowCustomizing = Value; }
  bool GetUseRecentItems() const { return FUseRecentItems; }
  void SetUseRecentItems(bool Value);

  bool CanClose() const;
  bool CanReset() const { return FLoadedFromForm && FAllowReset; }
  // Back to the bar as the form's description has it (the bar at the same
  // index of the manager's designed copy): its links, or with the manager's
  // UseFullReset the whole bar. Nothing without a description or model.
  void Reset();
  // Asks first (OK/Cancel); OK resets.
  void ResetWithConfirmation();
  // Read from the form description (not made at run time).
  bool GetLoadedFromForm() const { return FLoadedFromForm; }
  bool IsMovable() const;
  // While set, the bar's window does not rebuild; clearing it rebuilds.
  bool GetItemLinksLocked() const { return FItemLinksLocked; }
  void SetItemLinksLocked(bool Value);
  bool AutoHidden() const { return FAutoHidden; }
  void SetAutoHidden(bool Value) { FAutoHidden = Value; }
  bool HasVisibleLinks() const;

private:
  friend class TdxBarManager;
  friend class TdxBars;
  // Applies the values read while the manager was loading.
  void ApplyPending();
  bool ManagerLoading() const;

  std::unique_ptr<TdxBarItemLinks> FItemLinks;
  AnsiString FCaption;
  AnsiString FName;
  bool FAllowClose = true;
  bool FAllowCustomizing = true;
  bool FAllowQuickCustomizing = true;
  bool FAllowReset = true;
  Integer FAlphaBlendValue = 255;
  TdxBarBorderStyle FBorderStyle = bbsSingle;
  TdxBarDockControl* FDockControl = nullptr;
  TdxBarDockControl* FDockedDockControl = nullptr;
  TdxBarDockingStyle FStoredDockedDockingStyle = dsTop;
  TdxBarDockingStyle FStoredDockingStyle = dsNone;
  Integer FDockedLeft = 0, FDockedTop = 0;
  Integer FFloatLeft = 0, FFloatTop = 0, FFloatClientWidth = 0, FFloatClientHeight = 0;
  bool FHidden = false;
  bool FIsMainMenu = false;
  bool FMultiLine = false;
  TdxBarDockingStyles FNotDocking;
  bool FOneOnRow = false;
  bool FRotateWhenVertical = true;
  Integer FRow = 0;
  bool FShowMark = true;
  bool FSizeGrip = true;
  bool FUseOwnFont = false;
  bool FUseRecentItems = true;
  bool FUseRestSpace = false;
  bool FVisible = false;
  bool FWholeRow = false;
  // Pending values read while the manager loads.
  TdxBarDockControl* FPendingDockControl = nullptr;
  TdxBarDockingStyle FPendingDockingStyle = dsNone;
  bool FPendingVisible = false;
  bool FHasPendingDockControl = false;
  bool FHasPendingDockingStyle = false;
  bool FHasPendingVisible = false;
  std::vector<TCustomdxBarSubItem*> FDetachingSubItems;
  bool FDockingChange = false;
  bool FFollowingWindow = false;
  bool FItemLinksLocked = false;
  bool FAutoHidden = false;
  bool FLoadedFromForm = false;
};

class TdxBars : public TCollection {
  SX_CLASS(TdxBars, TCollection)
public:
  explicit TdxBars(TdxBarManager* ABarManager);
  ~TdxBars() override;

  TdxBarManager* BarManager() const { return FBarManager; }
  TdxBar* GetItem(Integer Index) const;
  TdxBar* Add();
  // The four built-in dock sites, by style dsLeft..dsBottom; nil until the
  // windows unit creates them.
  TdxDockControl* GetDockControl(TdxBarDockingStyle AStyle) const;
  void SetDockControl(TdxBarDockingStyle AStyle, TdxDockControl* ADockControl);
  // Set while the manager applies loaded values: docking-change events and
  // dock layout wait.
  bool IsLoading() const { return FLoading; }
  void SetLoading(bool Value) { FLoading = Value; }

protected:
  TPersistent* GetOwner() override;
  void Update(TCollectionItem*) override {}

private:
  TdxBarManager* FBarManager;
  TdxDockControl* FDockControls[5] = {};  // indexed by TdxBarDockingStyle
  bool FLoading = false;
};
