// ShellCtrls.h — the shell views: TShellTreeView (a folder tree rooted at
// the desktop or a folder, filled as nodes expand) and TShellListView (the
// items of one folder, sorted, in the system image list's icons), and
// TShellFolder, the item behind each node and list entry.
//
// A view owns the TShellFolder objects behind its nodes and items; a folder
// handed to an event is borrowed for the event. Folders that vanish or
// cannot be read list as empty; links that loop are shown as files.
// Linked, the tree fills the list with the folder it selects.
//
// TShellListView drags its selection as files: with DragMode dmAutomatic a
// drag that leaves the threshold runs DoDragDrop with CF_HDROP, the item-id
// list array and the file-name formats of the selected paths.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/ComCtrls.h"
#include "platform/shell/ShlObj.h"

class TShellFolder : public TObject {
  SX_CLASS(TShellFolder, TObject)
public:
  // Takes the absolute list.
  TShellFolder(LPITEMIDLIST AbsoluteID, ULONG Attributes);
  ~TShellFolder() override;
  LPCITEMIDLIST AbsoluteID() const { return FPidl; }
  LPCITEMIDLIST RelativeID() const { return ILFindLastID(FPidl); }
  // The item's path ("" for the desktop root).
  AnsiString PathName() const;
  AnsiString DisplayName() const;
  bool IsFolder() const { return (FAttributes & SFGAO_FOLDER) != 0; }
  ULONG Attributes() const { return FAttributes; }
  // The system image list index (Open: the open-folder look).
  Integer ImageIndex(bool Open = false) const;
  // The folder as IShellFolder (nil for a file or a folder that is gone).
  TIntfPtr<IShellFolder> ShellFolder() const;

private:
  LPITEMIDLIST FPidl;
  ULONG FAttributes;
  mutable Integer FImages[2] = {-1, -1};  // closed, open; looked up on first use
};

SX_ENUM(TShellObjectType, otFolders, otNonFolders, otHidden)
using TShellObjectTypes = TSet<TShellObjectType>;

using TAddFolderEvent = TEvent<void(TObject* Sender, TShellFolder* AFolder, bool& CanAdd)>;

class TShellListView;

class TShellTreeView : public TCustomTreeView {
  SX_CLASS(TShellTreeView, TCustomTreeView)
public:
  explicit TShellTreeView(TComponent* AOwner);
  ~TShellTreeView() override;
  static void Published(TPublished<TShellTreeView>& P);

  // "rfDesktop" (the default) or a folder's path.
  const AnsiString& GetRoot() const { return FRoot; }
  void SetRoot(const AnsiString& Value);
  TShellObjectTypes GetObjectTypes() const { return FObjectTypes; }
  void SetObjectTypes(TShellObjectTypes Value);
  TShellListView* GetShellListView() const { return FListView; }
  void SetShellListView(TShellListView* Value);
  // The selected node's folder (nil when none).
  TShellFolder* SelectedFolder() const;
  TShellFolder* FolderOf(TTreeNode* Node) const;
  // The selected folder's path; setting it expands the tree along the path
  // and selects the deepest node reached (false when the path is not
  // under the root or cannot be followed to its end).
  AnsiString GetPath() const;
  bool SetPath(const AnsiString& Path);
  // Refills the tree from the root.
  void Refresh();

  TAddFolderEvent OnAddFolder;

protected:
  void CreateWnd() override;
  bool CanExpand(TTreeNode* Node) override;
  void Change(TTreeNode* Node) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TShellListView;
  void Populate();
  // Fills a node's children once (those the filter lets through).
  void FillNode(TTreeNode* Node);
  TTreeNode* AddFolderNode(TTreeNode* Parent, std::unique_ptr<TShellFolder> Folder);

  AnsiString FRoot = "rfDesktop";
  TShellObjectTypes FObjectTypes{otFolders};
  TShellListView* FListView = nullptr;
  std::vector<std::unique_ptr<TShellFolder>> FFolders;
  std::vector<TTreeNode*> FFilled;
  bool FPopulating = false;
};

class TShellListView : public TCustomListView {
  SX_CLASS(TShellListView, TCustomListView)
public:
  explicit TShellListView(TComponent* AOwner);
  ~TShellListView() override;
  static void Published(TPublished<TShellListView>& P);

  // "rfDesktop" (the default) or a folder's path.
  const AnsiString& GetRoot() const { return FRoot; }
  void SetRoot(const AnsiString& Value);
  TShellObjectTypes GetObjectTypes() const { return FObjectTypes; }
  void SetObjectTypes(TShellObjectTypes Value);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  TShellTreeView* GetShellTreeView() const { return FTreeView; }
  void SetShellTreeView(TShellTreeView* Value);
  // Shows the items of a folder (an absolute list; borrowed).
  void SetRootFolder(LPCITEMIDLIST Folder);
  // The folder shown ("" for the desktop).
  AnsiString RootPath() const;

  Integer FolderCount() const { return Integer(FFolders.size()); }
  // The folder behind list entry Index.
  TShellFolder* Folders(Integer Index) const;
  TShellFolder* SelectedFolder() const;
  // The paths of the selected entries, in list order.
  std::vector<AnsiString> SelectedPaths() const;
  void Refresh();

  TAddFolderEvent OnAddFolder;

protected:
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TShellTreeView;
  void Populate();
  void StartFileDrag();

  AnsiString FRoot = "rfDesktop";
  LPITEMIDLIST FRootPidl = nullptr;
  TShellObjectTypes FObjectTypes{otFolders, otNonFolders};
  bool FSorted = true;
  TShellTreeView* FTreeView = nullptr;
  std::vector<std::unique_ptr<TShellFolder>> FFolders;  // in list order
};

// Registers the shell views for form descriptions.
void RegisterShellClasses();
