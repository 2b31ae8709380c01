// ShellData.h — files as transferable data: a data object that offers
// paths in the forms other programs and the drop targets read (CF_HDROP,
// the item-id list array, "FileNameW", "FileName"), and the reading of
// such an object back into paths. What comes from outside is checked
// against its own size (see DropFormats.h); an item-id list array whose
// parent or items name nothing in the file system gives empty names for
// those items, as the shell does.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/ole/DataObject.h"
#include "platform/shell/ShlObj.h"

// Nil for no paths. The item-id list array is rendered on first request.
TIntfPtr<IDataObject> CreateShellDataObject(const std::vector<std::string>& Paths);

// The paths of an item-id list array block (parent plus items); nothing for
// a malformed block or one without items. Items without a file-system path
// give "".
std::optional<std::vector<std::string>> PathsFromIDListArray(const std::string& Block);
// The item-id list array of paths: the lists of the common parent folder and
// of each path relative to it. "" when a path cannot be parsed.
std::string IDListArrayFromPaths(const std::vector<std::string>& Paths);

// The files a data object offers, from the first format that yields names:
// CF_HDROP, the item-id list array, "FileNameW", "FileName".
std::vector<std::string> FilesFromDataObject(IDataObject* Data);
