#include "platform/shell/ShellCtrls.h"

#include <algorithm>
#include <tuple>

#include "platform/shell/ShellItems_p.h"

#include "platform/forms/ControlProps_p.h"
#include "platform/ole/DragDrop.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/shell/ShellData.h"
#include "platform/shell/ShellIcons.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Messages.h"

// --- TShellFolder -----------------------------------------------------------------------------------

TShellFolder::TShellFolder(LPITEMIDLIST AbsoluteID, ULONG Attributes) : FPidl(AbsoluteID), FAttributes(Attributes) {}

TShellFolder::~TShellFolder() { ILFree(FPidl); }

AnsiString TShellFolder::PathName() const { return ShellPathOfIDList(FPidl); }

AnsiString TShellFolder::DisplayName() const {
  // What the desktop folder's GetDisplayNameOf (SHGDN_NORMAL) answers,
  // without a folder object per item.
  auto Items = SplitIDList(FPidl);
  if (!Items) return "";
  return Items->empty() ? AnsiString("Desktop") : AnsiString(ItemLabel(Items->back()));
}

Integer TShellFolder::ImageIndex(bool Open) const {
  Integer& Cached = FImages[Open ? 1 : 0];
  if (Cached < 0) Cached = ShellIconIndex(ShellItemIconNames(FPidl, Open));
  return Cached;
}

TIntfPtr<IShellFolder> TShellFolder::ShellFolder() const {
  TIntfPtr<IShellFolder> Desktop;
  IShellFolder* D = nullptr;
  if (!Succeeded(SHGetDesktopFolder(&D))) return nullptr;
  Desktop.Attach(D);
  if (ILIsEmpty(FPidl)) return Desktop;
  void* F = nullptr;
  if (!Succeeded(Desktop->BindToObject(FPidl, nullptr, IShellFolder::IID(), &F))) return nullptr;
  TIntfPtr<IShellFolder> R;
  R.Attach(static_cast<IShellFolder*>(F));
  return R;
}

namespace {

TIntfPtr<IShellFolder> DesktopFolder() {
  IShellFolder* D = nullptr;
  TIntfPtr<IShellFolder> R;
  if (Succeeded(SHGetDesktopFolder(&D))) R.Attach(D);
  return R;
}

// The absolute list of a root setting ("rfDesktop" or a path); nil when
// the path does not parse.
LPITEMIDLIST RootPidl(const AnsiString& Root) {
  if (Root.empty() || Root == "rfDesktop") return ILClone(reinterpret_cast<LPCITEMIDLIST>("\0\0"));
  return ILCreateFromPathA(Root.c_str());
}

DWORD EnumFlags(TShellObjectTypes Types) {
  DWORD F = 0;
  if (Types.Contains(otFolders)) F |= SHCONTF_FOLDERS;
  if (Types.Contains(otNonFolders)) F |= SHCONTF_NONFOLDERS;
  if (Types.Contains(otHidden)) F |= SHCONTF_INCLUDEHIDDEN;
  return F;
}

// The children of a folder as TShellFolder objects, in the namespace's
// order (folders first, then by name).
std::vector<std::unique_ptr<TShellFolder>> ListChildren(LPCITEMIDLIST Parent, DWORD Flags, ULONG Wanted,
                                                        bool Sort = true) {
  std::vector<std::unique_ptr<TShellFolder>> Out;
  TIntfPtr<IShellFolder> Desktop = DesktopFolder();
  if (!Desktop) return Out;
  TIntfPtr<IShellFolder> Folder;
  if (ILIsEmpty(Parent)) {
    Folder = Desktop;
  } else {
    void* F = nullptr;
    if (!Succeeded(Desktop->BindToObject(Parent, nullptr, IShellFolder::IID(), &F))) return Out;
    Folder.Attach(static_cast<IShellFolder*>(F));
  }
  IEnumIDList* RawEnum = nullptr;
  if (Folder->EnumObjects(nullptr, Flags, &RawEnum) != S_OK || !RawEnum) return Out;
  TIntfPtr<IEnumIDList> Enum;
  Enum.Attach(RawEnum);
  std::vector<LPITEMIDLIST> Children;
  LPITEMIDLIST Item = nullptr;
  ULONG Got = 0;
  while (Enum->Next(1, &Item, &Got) == S_OK && Got == 1) Children.push_back(Item);
  // The desktop keeps its places in their own order. Elsewhere the
  // namespace's order (folders first, names without case, then with),
  // each key made once instead of once per comparison.
  if (Sort && !ILIsEmpty(Parent)) {
    struct TKey {
      bool File;
      std::string Lower, Name;
      LPITEMIDLIST Rel;
    };
    std::vector<TKey> Keys;
    Keys.reserve(Children.size());
    for (LPITEMIDLIST Rel : Children) {
      auto Items = SplitIDList(Rel);
      TKey K{true, "", "", Rel};
      if (Items && !Items->empty()) {
        K.File = !Items->back().IsFolderLike();
        K.Name = Items->back().Name;
        K.Lower = K.Name;
        for (char& C : K.Lower) C = char(std::tolower(Byte(C)));
      }
      Keys.push_back(std::move(K));
    }
    std::sort(Keys.begin(), Keys.end(), [](const TKey& A, const TKey& B) {
      return std::tie(A.File, A.Lower, A.Name) < std::tie(B.File, B.Lower, B.Name);
    });
    for (std::size_t I = 0; I < Keys.size(); ++I) Children[I] = Keys[I].Rel;
  }
  Out.reserve(Children.size());
  for (LPITEMIDLIST Rel : Children) {
    ULONG Attr = Wanted;
    LPCITEMIDLIST One = Rel;
    if (!Succeeded(Folder->GetAttributesOf(1, &One, &Attr))) Attr = 0;
    LPITEMIDLIST Abs = ILCombine(Parent, Rel);
    ILFree(Rel);
    if (Abs) Out.push_back(std::make_unique<TShellFolder>(Abs, Attr));
  }
  return Out;
}

bool AskAdd(const TAddFolderEvent& Event, TObject* Sender, TShellFolder* Folder) {
  bool CanAdd = true;
  if (Event.Assigned()) Event(Sender, Folder, CanAdd);
  return CanAdd;
}

}  // namespace

// --- TShellTreeView ---------------------------------------------------------------------------------

TShellTreeView::TShellTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {
  SetImages(ShellImageList(true));
  SetHideSelection(false);
  // No renaming in place: a changed label would not rename the folder.
  SetReadOnly(true);
}

TShellTreeView::~TShellTreeView() {
  if (FListView && FListView->FTreeView == this) FListView->FTreeView = nullptr;
  GetItems()->Clear();
}

void TShellTreeView::SetRoot(const AnsiString& Value) {
  if (Value == FRoot) return;
  FRoot = Value;
  Refresh();
}

void TShellTreeView::SetObjectTypes(TShellObjectTypes Value) {
  if (Value == FObjectTypes) return;
  FObjectTypes = Value;
  Refresh();
}

void TShellTreeView::SetShellListView(TShellListView* Value) {
  if (Value == FListView) return;
  if (FListView) FListView->RemoveFreeNotification(this);
  FListView = Value;
  if (FListView) {
    FListView->FreeNotification(this);
    FListView->FTreeView = this;
    if (TShellFolder* F = SelectedFolder()) FListView->SetRootFolder(F->AbsoluteID());
  }
}

void TShellTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FListView) FListView = nullptr;
}

TShellFolder* TShellTreeView::FolderOf(TTreeNode* Node) const {
  return Node ? static_cast<TShellFolder*>(Node->GetData()) : nullptr;
}

TShellFolder* TShellTreeView::SelectedFolder() const { return FolderOf(GetSelected()); }

AnsiString TShellTreeView::GetPath() const {
  TShellFolder* F = SelectedFolder();
  return F ? F->PathName() : AnsiString();
}

void TShellTreeView::CreateWnd() {
  inherited::CreateWnd();
  if (GetItems()->Count() == 0) Populate();
}

void TShellTreeView::Refresh() {
  if (HandleAllocated()) Populate();
}

TTreeNode* TShellTreeView::AddFolderNode(TTreeNode* Parent, std::unique_ptr<TShellFolder> Folder) {
  TShellFolder* F = Folder.get();
  FFolders.push_back(std::move(Folder));
  TTreeNode* N = Parent ? GetItems()->AddChildObject(Parent, F->DisplayName(), F)
                        : GetItems()->AddObject(nullptr, F->DisplayName(), F);
  N->SetImageIndex(F->ImageIndex(false));
  N->SetSelectedIndex(F->ImageIndex(true));
  N->SetHasChildren((F->Attributes() & SFGAO_HASSUBFOLDER) != 0);
  return N;
}

void TShellTreeView::Populate() {
  FPopulating = true;
  GetItems()->BeginUpdate();
  GetItems()->Clear();
  FFilled.clear();
  FFolders.clear();
  if (LPITEMIDLIST Root = RootPidl(FRoot)) {
    auto F = std::make_unique<TShellFolder>(Root, SFGAO_FOLDER | SFGAO_HASSUBFOLDER);
    TTreeNode* N = AddFolderNode(nullptr, std::move(F));
    FillNode(N);
    N->Expand(false);
  }
  GetItems()->EndUpdate();
  FPopulating = false;
}

void TShellTreeView::FillNode(TTreeNode* Node) {
  if (!Node || std::find(FFilled.begin(), FFilled.end(), Node) != FFilled.end()) return;
  FFilled.push_back(Node);
  TShellFolder* F = FolderOf(Node);
  if (!F) return;
  auto Children = ListChildren(F->AbsoluteID(), EnumFlags(FObjectTypes),
                               SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_HIDDEN);
  for (auto& C : Children) {
    if (!AskAdd(OnAddFolder, this, C.get())) continue;
    AddFolderNode(Node, std::move(C));
  }
  if (Node->Count() == 0) Node->SetHasChildren(false);
}

bool TShellTreeView::CanExpand(TTreeNode* Node) {
  if (!inherited::CanExpand(Node)) return false;
  FillNode(Node);
  return Node->Count() > 0;
}

void TShellTreeView::Change(TTreeNode* Node) {
  inherited::Change(Node);
  if (FPopulating) return;
  if (FListView)
    if (TShellFolder* F = FolderOf(Node)) FListView->SetRootFolder(F->AbsoluteID());
}

bool TShellTreeView::SetPath(const AnsiString& Path) {
  HandleNeeded();
  LPITEMIDLIST Target = ILCreateFromPathA(Path.c_str());
  if (!Target) return false;
  TTreeNode* Node = GetItems()->GetFirstNode();
  bool Reached = false;
  // Walk down: at each level, the child whose list is a parent of (or is)
  // the target.
  while (Node) {
    TShellFolder* F = FolderOf(Node);
    if (F && ILIsEqual(F->AbsoluteID(), Target)) {
      Reached = true;
      break;
    }
    FillNode(Node);
    TTreeNode* Next = nullptr;
    for (TTreeNode* C = Node->GetFirstChild(); C; C = C->GetNextSibling()) {
      TShellFolder* CF = FolderOf(C);
      if (CF && (ILIsEqual(CF->AbsoluteID(), Target) || ILIsParent(CF->AbsoluteID(), Target, FALSE))) {
        Next = C;
        break;
      }
    }
    if (!Next) break;
    Node->Expand(false);
    Node = Next;
  }
  ILFree(Target);
  if (Node) {
    SetSelected(Node);
    Node->MakeVisible();
  }
  return Reached;
}

// --- TShellListView ---------------------------------------------------------------------------------

TShellListView::TShellListView(TComponent* AOwner) : TCustomListView(AOwner) {
  SetViewStyle(vsList);
  SetSmallImages(ShellImageList(true));
  SetLargeImages(ShellImageList(false));
  SetHideSelection(false);
  // No renaming in place: a changed caption would not rename the file.
  SetReadOnly(true);
}

TShellListView::~TShellListView() {
  if (FTreeView && FTreeView->FListView == this) FTreeView->FListView = nullptr;
  GetItems()->Clear();
  ILFree(FRootPidl);
}

void TShellListView::SetRoot(const AnsiString& Value) {
  FRoot = Value;
  ILFree(FRootPidl);
  FRootPidl = RootPidl(Value);
  Refresh();
}

void TShellListView::SetRootFolder(LPCITEMIDLIST Folder) {
  LPITEMIDLIST New = ILClone(Folder);
  if (!New) return;
  ILFree(FRootPidl);
  FRootPidl = New;
  FRoot = ShellPathOfIDList(New);
  if (FRoot.empty()) FRoot = "rfDesktop";
  Refresh();
}

AnsiString TShellListView::RootPath() const { return FRootPidl ? ShellPathOfIDList(FRootPidl) : AnsiString(); }

void TShellListView::SetObjectTypes(TShellObjectTypes Value) {
  if (Value == FObjectTypes) return;
  FObjectTypes = Value;
  Refresh();
}

void TShellListView::SetSorted(bool Value) {
  if (Value == FSorted) return;
  FSorted = Value;
  Refresh();
}

void TShellListView::SetShellTreeView(TShellTreeView* Value) {
  if (Value == FTreeView) return;
  FTreeView = Value;
  if (Value) Value->SetShellListView(this);
}

void TShellListView::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FTreeView) FTreeView = nullptr;
}

TShellFolder* TShellListView::Folders(Integer Index) const {
  return Index >= 0 && Index < Integer(FFolders.size()) ? FFolders[std::size_t(Index)].get() : nullptr;
}

TShellFolder* TShellListView::SelectedFolder() const {
  TListItem* I = GetSelected();
  return I ? static_cast<TShellFolder*>(I->GetData()) : nullptr;
}

std::vector<AnsiString> TShellListView::SelectedPaths() const {
  std::vector<AnsiString> Out;
  for (TListItem* I = GetNextItem(nullptr, sdAll, TItemStates{isSelected}); I;
       I = GetNextItem(I, sdAll, TItemStates{isSelected}))
    if (auto* F = static_cast<TShellFolder*>(I->GetData())) Out.push_back(F->PathName());
  return Out;
}

void TShellListView::CreateWnd() {
  inherited::CreateWnd();
  if (!FRootPidl) FRootPidl = RootPidl(FRoot);
  Populate();
}

void TShellListView::Refresh() {
  if (HandleAllocated()) Populate();
}

void TShellListView::Populate() {
  GetItems()->BeginUpdate();
  GetItems()->Clear();
  FFolders.clear();
  if (FRootPidl) {
    auto Children = ListChildren(FRootPidl, EnumFlags(FObjectTypes), SFGAO_FOLDER | SFGAO_FILESYSTEM, FSorted);
    for (auto& C : Children) {
      if (!AskAdd(OnAddFolder, this, C.get())) continue;
      FFolders.push_back(std::move(C));
    }
    for (auto& F : FFolders) {
      TListItem* I = GetItems()->Add();
      I->SetData(F.get());
      // The icon is looked up when the entry is first drawn (see Dispatch):
      // a large folder shows a screenful of it.
      I->SetCaption(F->DisplayName());
    }
  }
  GetItems()->EndUpdate();
}

void TShellListView::Dispatch(TMessage& Message) {
  auto* Hdr = Message.Msg == CN_NOTIFY ? reinterpret_cast<NMHDR*>(Message.LParam) : nullptr;
  if (Hdr && Hdr->code == LVN_BEGINDRAG && GetDragMode() == dmAutomatic) {
    StartFileDrag();
    return;
  }
  inherited::Dispatch(Message);
  if (Hdr && Hdr->code == LVN_GETDISPINFOA) {
    auto& I = reinterpret_cast<NMLVDISPINFOA*>(Message.LParam)->item;
    if (!(I.mask & LVIF_IMAGE)) return;
    TListItem* Item = I.iItem >= 0 && I.iItem < GetItems()->Count() ? GetItems()->Item(I.iItem) : nullptr;
    if (auto* F = Item ? static_cast<TShellFolder*>(Item->GetData()) : nullptr) I.iImage = F->ImageIndex(false);
  }
}

void TShellListView::StartFileDrag() {
  std::vector<std::string> Paths;
  for (const AnsiString& P : SelectedPaths())
    if (!P.empty()) Paths.push_back(P);
  TIntfPtr<IDataObject> Data = CreateShellDataObject(Paths);
  if (!Data) return;
  auto* Source = new TDropSource(MK_LBUTTON);
  TIntfPtr<IDropSource> HoldSource(static_cast<IDropSource*>(Source));
  DWORD Effect = 0;
  DoDragDrop(Data.Get(), Source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &Effect);
  // A target that moved the files took them away: show what is left.
  if (Effect == DROPEFFECT_MOVE) Refresh();
}

void TShellTreeView::Published(TPublished<TShellTreeView>& P) {
  SX_PUBLISH_WINCONTROL_BASICS(TShellTreeView);
  P.Property("HideSelection", &TShellTreeView::GetHideSelection, &TShellTreeView::SetHideSelection).Default(false);
  P.Property("ObjectTypes", &TShellTreeView::GetObjectTypes, &TShellTreeView::SetObjectTypes)
      .Default(TShellObjectTypes{otFolders});
  P.Property("Root", &TShellTreeView::GetRoot, &TShellTreeView::SetRoot);
  P.Property("ShellListView", &TShellTreeView::GetShellListView, &TShellTreeView::SetShellListView);
  P.Property("ShowButtons", &TShellTreeView::GetShowButtons, &TShellTreeView::SetShowButtons).Default(true);
  P.Property("ShowLines", &TShellTreeView::GetShowLines, &TShellTreeView::SetShowLines).Default(true);
  P.Property("ShowRoot", &TShellTreeView::GetShowRoot, &TShellTreeView::SetShowRoot).Default(true);
  P.Property("OnAddFolder", &TShellTreeView::OnAddFolder, &TShellTreeView::OnAddFolder);
  P.Property("OnChange", &TShellTreeView::OnChange, &TShellTreeView::OnChange);
}

void TShellListView::Published(TPublished<TShellListView>& P) {
  SX_PUBLISH_WINCONTROL_BASICS(TShellListView);
  P.Property("HideSelection", &TShellListView::GetHideSelection, &TShellListView::SetHideSelection).Default(false);
  P.Property("MultiSelect", &TShellListView::GetMultiSelect, &TShellListView::SetMultiSelect).Default(false);
  P.Property("ObjectTypes", &TShellListView::GetObjectTypes, &TShellListView::SetObjectTypes)
      .Default(TShellObjectTypes{otFolders, otNonFolders});
  P.Property("Root", &TShellListView::GetRoot, &TShellListView::SetRoot);
  P.Property("ShellTreeView", &TShellListView::GetShellTreeView, &TShellListView::SetShellTreeView);
  P.Property("Sorted", &TShellListView::GetSorted, &TShellListView::SetSorted).Default(true);
  P.Property("ViewStyle", &TShellListView::GetViewStyle, &TShellListView::SetViewStyle).Default(vsList);
  P.Property("OnAddFolder", &TShellListView::OnAddFolder, &TShellListView::OnAddFolder);
  P.Property("OnChange", &TShellListView::OnChange, &TShellListView::OnChange);
  P.Property("OnSelectItem", &TShellListView::OnSelectItem, &TShellListView::OnSelectItem);
}

void RegisterShellClasses() {
  RegisterClasses({TShellTreeView::StaticClass(), TShellListView::StaticClass()});
}
