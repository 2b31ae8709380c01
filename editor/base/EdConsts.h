// EdConsts.h — the editor library's resource texts: every message and
// caption of the library's foundation, one constant per text. Texts are
// looked up through TranslateResText where the library shows them, so a
// translation can be plugged in at that one place.
#pragma once

namespace EdConsts {
// Sorted lists and record lists.
inline constexpr const char* SDuplicateItem = "Can't insert duplicate item";
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
// File systems, the resource writer and backups.
inline constexpr const char* SErrorUpdatingResource = "Error updating resource";
inline constexpr const char* SCantDeleteFile = "Can't delete file %S";
inline constexpr const char* SCantRenameFile = "Can't rename file %s to file %s";
inline constexpr const char* SCantCreateTempFile = "Can't create temporary filename";
inline constexpr const char* SErrorCode = "\r\nError code : %d";
inline constexpr const char* SCantOpenFileForWriting = "Can't open file for writing";
inline constexpr const char* SCantMapFile = "Can't map file";
inline constexpr const char* SCantMapView = "Can't perform MapViewOfFile";
inline constexpr const char* SInvalidFileFormat = "Invalid file format";
inline constexpr const char* SNoResources = "This file doesn't contain resources";
inline constexpr const char* SResourceNotFound = "Resource not found";
// Registry storage.
inline constexpr const char* SUnsupportedRegType = "This type isn't supported by WriteToRegistry";
// Pattern matcher.
inline constexpr const char* SInvalidMask = "%s is invalid mask at (%d)";
// Key mapping names.
inline constexpr const char* SKeyMapClassic = "Classic";
inline constexpr const char* SKeyMapBrief = "Brief";
inline constexpr const char* SKeyMapEpsilon = "Epsilon";
inline constexpr const char* SKeyMapVisualStudio = "Visual Studio";
// Shared dialog buttons.
inline constexpr const char* SOKButton = "OK";
inline constexpr const char* SCancelButton = "Cancel";
inline constexpr const char* SHelpButton = "&Help";
}  // namespace EdConsts
