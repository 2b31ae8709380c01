// ShellIcons.h — file types and icons the way the desktop shows them:
// the content type of a name from shared-mime-info (globs2), its
// description, its icon name (the type's own, then its generic icon),
// icons looked up in the user's icon theme (index.theme, PNG files; the
// theme's parents and hicolor after it) at 16 and 32 pixels, and a small
// built-in set for a machine without a theme. Icons live in the system
// image lists (one small, one large, the same index in both), which
// SHGetFileInfo hands out.
#pragma once
#include <string>
#include <vector>

#include "platform/gdi/ImageList.h"
#include "platform/shell/ShlObj.h"

// "application/rtf" for "a.rtf"; "application/octet-stream" when no glob
// matches (a name without a known ending).
std::string MimeTypeOfName(const std::string& FileName);
// The type's description ("RTF document"); "" when the database has none.
std::string MimeTypeComment(const std::string& MimeType);
// Icon names to try, best first: the type's icon, its generic icon, and a
// generic document.
std::vector<std::string> MimeIconNames(const std::string& MimeType);

// Where icon themes are looked for, and which theme: by default the user's
// icon folders and $XDG_DATA_DIRS/icons, and the theme the desktop
// settings name, else Adwaita, else hicolor. A test points this elsewhere
// (an empty folder gives the built-in set); nil restores the default.
struct TIconThemeSettings {
  std::vector<std::string> BaseDirs;
  std::string Theme;
};
void SetIconThemeForTest(const TIconThemeSettings* Settings);
// The PNG of an icon at a size in the theme (or its parents); "" if none.
std::string FindThemeIcon(const std::string& Name, int Size);

// The index of the first of Names found in the theme, else of the built-in
// icon that stands for it; the same in both system image lists.
int ShellIconIndex(const std::vector<std::string>& Names);
// Whether an index of the system image lists came from the theme.
bool ShellIconFromTheme(int Index);
// The system image list: 16 pixels (Small) or 32.
TCustomImageList* ShellImageList(bool Small);

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

constexpr UINT SHGFI_LARGEICON = 0x000000;
constexpr UINT SHGFI_SMALLICON = 0x000001;
constexpr UINT SHGFI_OPENICON = 0x000002;
constexpr UINT SHGFI_SHELLICONSIZE = 0x000004;
constexpr UINT SHGFI_PIDL = 0x000008;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x000010;
constexpr UINT SHGFI_ICON = 0x000100;
constexpr UINT SHGFI_DISPLAYNAME = 0x000200;
constexpr UINT SHGFI_TYPENAME = 0x000400;
constexpr UINT SHGFI_ATTRIBUTES = 0x000800;
constexpr UINT SHGFI_SYSICONINDEX = 0x004000;
constexpr UINT SHGFI_LINKOVERLAY = 0x008000;
constexpr UINT SHGFI_SELECTED = 0x010000;

struct SHFILEINFOA {
  HICON hIcon = nullptr;
  int iIcon = 0;
  DWORD dwAttributes = 0;
  char szDisplayName[260] = {};
  char szTypeName[80] = {};
};

// Path is a path (the file system's bytes) or, with SHGFI_PIDL, an
// absolute item-id list. With SHGFI_USEFILEATTRIBUTES the file is not
// touched: the name and FileAttributes decide. With SHGFI_SYSICONINDEX the
// result is the system image list's handle, otherwise non-zero on
// success; 0 when the item does not exist or Info is missing. An icon
// handed out (SHGFI_ICON) is the caller's to DestroyIcon.
DWORD_PTR SHGetFileInfoA(const char* Path, DWORD FileAttributes, SHFILEINFOA* Info, UINT InfoSize, UINT Flags);
inline DWORD_PTR SHGetFileInfo(const char* P, DWORD A, SHFILEINFOA* I, UINT S, UINT F) {
  return SHGetFileInfoA(P, A, I, S, F);
}

// The icon names of a shell item (absolute items), for the views.
std::vector<std::string> ShellItemIconNames(LPCITEMIDLIST Pidl, bool Open);
