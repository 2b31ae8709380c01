// FileUtils.h — file names and files: the class library's path routines, the
// file tests and operations, the executable's own location, temporary names,
// the shell's wildcard match, and the atomic save the settings stores use.
//
// Names are the file system's bytes, passed through unchanged. The path
// separator is '/' (PathDelim); a backslash is an ordinary character here.
#pragma once
#include <cstddef>

#include "platform/rtl/Streams.h"
#include "platform/rtl/Types.h"

constexpr char PathDelim = '/';
constexpr char PathSep = ':';  // between folders of a search path
constexpr UINT MAX_PATH = 260;
// System error codes of the file calls (FindFirst returns them).
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_NO_MORE_FILES = 18;

// ---- names ------------------------------------------------------------------

bool IsPathDelimiter(const AnsiString& S, int Index);
AnsiString IncludeTrailingPathDelimiter(const AnsiString& S);  // "" gives "/"
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S);  // removes one
AnsiString ExtractFilePath(const AnsiString& FileName);  // "/a/b.txt" -> "/a/"
AnsiString ExtractFileDir(const AnsiString& FileName);   // "/a/b.txt" -> "/a"; "/b" -> "/"
AnsiString ExtractFileName(const AnsiString& FileName);  // "/a/b.txt" -> "b.txt"
AnsiString ExtractFileExt(const AnsiString& FileName);   // "/a/b.tar.gz" -> ".gz"; none -> ""
// Replaces the extension (from the last '.' of the name part) or appends one;
// an empty Extension removes it.
AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension);
// Absolute form of FileName against the current folder, with "." and ".."
// segments and doubled separators resolved (links are not followed).
AnsiString ExpandFileName(const AnsiString& FileName);

// ---- the file system --------------------------------------------------------

bool FileExists(const AnsiString& FileName);  // false for a folder
bool DirectoryExists(const AnsiString& Directory);
// Creates Dir and any missing parent; true when it exists afterwards.
// An empty name raises EInOutError "Unable to create directory".
bool ForceDirectories(const AnsiString& Dir);
bool CreateDir(const AnsiString& Dir);
bool RemoveDir(const AnsiString& Dir);  // empty folders only
bool DeleteFile(const AnsiString& FileName);
// Fails (false) when NewName exists already, as the system's move does.
bool RenameFile(const AnsiString& OldName, const AnsiString& NewName);
// The file's last-write time as a packed DOS date and time in local time
// (date in the high word); -1 when the file is missing.
Integer FileAge(const AnsiString& FileName);
// Size in bytes; -1 when the file is missing.
Int64 FileSizeByName(const AnsiString& FileName);
AnsiString GetCurrentDir();
bool SetCurrentDir(const AnsiString& Dir);

// Writes Bytes to FileName so that the file is at every moment either the
// old one or the complete new one: a temporary file in the same folder is
// written, flushed to disk and renamed over the name. The old file's
// permissions carry over. On failure the temporary file is removed, the old
// file is untouched, and EFCreateError "Cannot create file "<name>". <reason>"
// is raised.
//
// Deferred skips the flushes: the name still passes from the old file to the
// complete new one in one step, but after a power cut the file may be the old
// one again. For stores written often and made durable once at the end
// (SyncFileToDisk).
enum class TSaveMode { Durable, Deferred };
void SaveFileAtomically(const AnsiString& FileName, const std::string& Bytes, TSaveMode Mode = TSaveMode::Durable);
void SaveFileAtomically(const AnsiString& FileName, const void* Data, std::size_t Size,
                        TSaveMode Mode = TSaveMode::Durable);
// Flushes a file written in Deferred mode, and its folder entry, to disk;
// false when the file can't be opened or flushed.
bool SyncFileToDisk(const AnsiString& FileName);
// The same for Win32-style callers that report failure in their result:
// false instead of an exception.
bool TrySaveFileAtomically(const AnsiString& FileName, const void* Data, std::size_t Size);

// The streaming form of the same: what is written goes to a hidden
// temporary file beside FileName (".<name>.<pid>.part"), and Commit makes
// it the file in one step. Destroyed or discarded without Commit, the
// temporary file is removed and the old file stays as it was. Temporary
// files that a process which no longer runs left behind (ended by a signal)
// are removed when the same name is written again. Raises EFCreateError
// "Cannot create file "<name>". <reason>" when the temporary file cannot
// be made, and from Commit when the file cannot be completed.
class TAtomicFileStream : public THandleStream {
public:
  explicit TAtomicFileStream(const AnsiString& FileName);
  ~TAtomicFileStream() override;
  TAtomicFileStream(const TAtomicFileStream&) = delete;
  TAtomicFileStream& operator=(const TAtomicFileStream&) = delete;
  // Flushes to disk and renames over FileName; the permissions of an old
  // file carry over. After a failure nothing of the new file remains.
  // Deferred renames without the flushes (see SaveFileAtomically).
  void Commit(TSaveMode Mode = TSaveMode::Durable);
  // Gives the new file up: the temporary file is removed.
  void Discard() noexcept;
  const AnsiString& FileName() const { return FFileName; }
  const AnsiString& TempName() const { return FTempName; }
  bool Committed() const { return FCommitted; }
  AnsiString WriteFailure() const override;

private:
  [[noreturn]] void Fail(int Err);
  AnsiString FFileName, FTempName;
  bool FCommitted = false;
};

// ---- the program's location -------------------------------------------------

AnsiString ExeName();  // full name of the running executable
AnsiString ExeDir();   // its folder, with a trailing PathDelim

// ---- temporary names --------------------------------------------------------

// The folder for temporary files ($TMPDIR, else /tmp), with a trailing PathDelim.
AnsiString GetTempPath();
// The system's temporary-name function: PathName + the first three bytes of
// Prefix + four upper-case hex digits + ".tmp". With Unique 0 a free number is
// found and the file is created empty; otherwise Unique is used as given and
// nothing is created. Returns the number used, 0 on failure (TempFileName is
// then left empty). TempFileName must hold MAX_PATH bytes.
UINT GetTempFileNameA(const char* PathName, const char* Prefix, UINT Unique, char* TempFileName);
// The same with Unique 0, as a string; "" on failure.
AnsiString CreateTempFileName(const AnsiString& Dir, const AnsiString& Prefix);

// ---- wildcard match ---------------------------------------------------------

// The shell's name match: Spec is a list of patterns separated by ';' (empty
// entries and leading blanks ignored); '*' matches any run, '?' one byte;
// case is ignored in the ANSI code page. "*.*" matches every name, with or
// without an extension.
bool PathMatchSpec(const AnsiString& FileName, const AnsiString& Spec);

// ---- searching folders ------------------------------------------------------

constexpr Integer faReadOnly = 0x01;
constexpr Integer faHidden = 0x02;   // a name that starts with '.'
constexpr Integer faSysFile = 0x04;  // not a file or folder (device, pipe, socket)
constexpr Integer faVolumeID = 0x08;
constexpr Integer faDirectory = 0x10;
constexpr Integer faArchive = 0x20;  // every regular file
constexpr Integer faAnyFile = 0x3F;

struct TSearchRec {
  Integer Time = 0;  // last write, packed DOS date and time (as FileAge)
  Int64 Size = 0;
  Integer Attr = 0;
  AnsiString Name;   // without the folder
  Integer ExcludeAttr = 0;
  void* FindHandle = nullptr;  // owned; FindClose frees it
};

// Lists the folder part of Path for names matching its last part (one
// pattern of '*' and '?', case ignored; "*.*" and "*" match every name,
// "." and ".." included). Hidden, system and folder entries come only when
// Attr asks for them; ordinary files always do. Entries come sorted by name
// ignoring case. Returns 0 and fills F with the first, or
// ERROR_PATH_NOT_FOUND (no such folder) or ERROR_FILE_NOT_FOUND (nothing
// matches). A search that returned 0 must end with FindClose.
Integer FindFirst(const AnsiString& Path, Integer Attr, TSearchRec& F);
// 0 and the next entry, or ERROR_NO_MORE_FILES.
Integer FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);
