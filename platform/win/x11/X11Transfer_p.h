// X11Transfer_p.h — file lists between the desktop's form (text/uri-list)
// and the program's (a CF_HDROP block), for the clipboard and for drops.
#pragma once
#include <string>
#include <vector>
#include "platform/win/WinTypes.h"

// file:// URIs to paths (percent escapes undone; other schemes and
// comment lines skipped). Paths stay the file system's bytes.
std::vector<std::string> X11PathsFromUriList(const std::string& List);
std::string X11UriListFromPaths(const std::vector<std::string>& Paths);
// A CF_HDROP block in global memory: the DROPFILES header (offset of the
// names, the drop point, non-client flag, wide flag), then the names, each
// ending in a zero byte, and one more zero. Names are the file system's
// bytes, so the block is the narrow kind.
HGLOBAL X11MakeDropFiles(const std::vector<std::string>& Paths, TPoint Pt);
std::vector<std::string> X11ReadDropFiles(HANDLE Block);
