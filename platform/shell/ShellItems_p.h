// ShellItems_p.h — our item layout inside item-id lists, shared by the
// namespace, the icons and the views.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/shell/ShlObj.h"

enum class TItemKind : Byte {
  DesktopPlace = 1,
  HomePlace = 2,
  RootPlace = 3,
  VolumePlace = 4,
  File = 0x10,
  Folder = 0x11,
};

struct TShellItem {
  TItemKind Kind;
  std::string Name;  // a place's absolute path, or a name in its folder
  bool IsPlace() const { return Kind < TItemKind::File; }
  bool IsFolderLike() const { return Kind != TItemKind::File; }
};

// The items of a list, checked: nothing when a size runs past the list,
// the cap is passed, an item is of an unknown kind, a place is not absolute
// or a name is empty, ".", ".." or holds a "/" or a zero byte.
std::optional<std::vector<TShellItem>> SplitIDList(LPCITEMIDLIST Pidl);
// The bytes of one item (with its size, without a terminator).
std::string MakeItemBytes(const TShellItem& Item);
// A new list of the items (task allocator).
LPITEMIDLIST MakeIDList(const std::vector<TShellItem>& Items);
// The path of a whole absolute list; nothing for the root or a list that
// does not start with a place.
std::optional<std::string> PathOfItems(const std::vector<TShellItem>& Items);
// The absolute items of an existing path (normalised: ".", ".." and
// repeated "/" resolved); nothing when it is not absolute or does not exist.
std::optional<std::vector<TShellItem>> ItemsOfPath(const std::string& Path);
// What a person sees for an item.
std::string ItemLabel(const TShellItem& Item);
