// FileListModel.h — what the file dialogs show of the file system: one
// folder's entries (read once, filtered and sorted without going back to
// the disk), the filter list of a dialog, the places beside the list and
// the reading of what the user types as a path.
//
// Names are the file system's bytes (UTF-8 on a desktop), never converted:
// the name a dialog returns opens the very file that was listed. The
// model keeps plain values, so a folder of 50 000 entries costs one pass
// of readdir and one sort.
#pragma once
#include <cstdint>
#include <vector>
#include "platform/rtl/FileUtils.h"

struct TFileEntry {
  AnsiString Name;
  bool IsDir = false;
  bool Hidden = false;     // a name that starts with '.'
  std::int64_t Size = 0;   // bytes; 0 for folders
  std::int64_t Modified = 0;  // seconds since 1970, UTC
};

enum class TFileSortColumn { Name, Size, Modified };

class TFileListModel {
public:
  // Reads Folder's entries; false (with Error set to a message that names
  // the folder and the reason) when it cannot be read, the old entries
  // then stay.
  bool Load(const AnsiString& Folder, AnsiString& Error);
  const AnsiString& Folder() const { return FFolder; }

  // What is shown: folders always (but hidden ones only with ShowHidden),
  // files whose name matches Mask (PathMatchSpec; empty shows every file).
  void SetMask(const AnsiString& Mask);
  const AnsiString& Mask() const { return FMask; }
  void SetShowHidden(bool Value);
  bool ShowHidden() const { return FShowHidden; }
  // Folders before files; within each, by Column (names ignore case, ties
  // by the exact bytes), reversed when not Ascending.
  void SetSort(TFileSortColumn Column, bool Ascending);
  TFileSortColumn SortColumn() const { return FSortColumn; }
  bool SortAscending() const { return FAscending; }

  Integer Count() const { return Integer(FShown.size()); }
  const TFileEntry& Entry(Integer Index) const { return FAll[FShown[size_t(Index)]]; }
  // The shown index of the entry of that name (exact bytes), or -1.
  Integer IndexOf(const AnsiString& Name) const;
  // Every entry read, shown or not.
  Integer TotalCount() const { return Integer(FAll.size()); }

private:
  void Rebuild();
  AnsiString FFolder;
  std::vector<TFileEntry> FAll;
  std::vector<AnsiString> FKeys;  // the names with ASCII letters folded, for sorting
  std::vector<size_t> FShown;
  AnsiString FMask;
  bool FShowHidden = false;
  TFileSortColumn FSortColumn = TFileSortColumn::Name;
  bool FAscending = true;
};

// One line of a dialog's filter: "Text files (*.txt)" and "*.txt".
struct TFileFilter {
  AnsiString Description;
  AnsiString Mask;
};
// "Desc|Mask|Desc|Mask…"; a description without its mask gets "*"; an
// empty text gives no filters.
std::vector<TFileFilter> ParseFileFilter(const AnsiString& Filter);

// A place in the dialog's side bar.
struct TFilePlace {
  AnsiString Caption;
  AnsiString Path;  // with a trailing '/'
};
// Home, the desktop folder of the XDG user directories (when it exists and
// is not home itself), the file system root and the volumes mounted under
// /media, /mnt and /run/media. MountsFile is read for the volumes
// (normally /proc/self/mounts).
std::vector<TFilePlace> FilePlaces(const AnsiString& MountsFile = "/proc/self/mounts");

// The user's home folder (HOME, else the password entry), without a
// trailing '/'.
AnsiString HomeFolder();
// The desktop folder the XDG user directories name (XDG_DESKTOP_DIR in
// $XDG_CONFIG_HOME/user-dirs.dirs, else ~/Desktop), without a trailing '/'.
AnsiString DesktopFolder();

// What a user typed in a dialog, made absolute: "~" and "~/…" are home,
// a relative name is taken in Folder, "." and ".." steps are resolved by
// text (symbolic links are not followed). Empty stays empty.
AnsiString ExpandTypedPath(const AnsiString& Typed, const AnsiString& Folder);

// The names of a file-name box that holds several: "a.rtf" "b.rtf" (quoted,
// separated by blanks) gives both; a text without quotes is one name.
std::vector<AnsiString> SplitTypedNames(const AnsiString& Text);
