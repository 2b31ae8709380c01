// FileMapping.h — shared memory by name, with the kernel's file-mapping
// calls, and the link between the processes that share a named mapping.
//
// A named mapping is a per-user shared memory object (shm_open, the user id
// in its name). Every process that holds a handle or a view of it holds a
// shared flock on it, so "the object exists" means "a running process
// holds it": a process that crashes or is killed lets go with its last
// descriptor, and the next CreateFileMapping finds no holder, starts the
// object afresh (zero-filled) and does not report ERROR_ALREADY_EXISTS.
// Creating and opening are serialised by a lock file in the runtime folder.
// Only mappings of memory (INVALID_HANDLE_VALUE) are supported.
//
// Window handles belong to their process. A process that holds a named
// mapping answers, on a per-user socket in the runtime folder
// ($XDG_RUNTIME_DIR/sourcelux, else a private /tmp/sourcelux-<uid>, 0700),
// requests of the other holders to restore and raise one of its top-level
// windows: ActivatePeerWindow. Requests are fixed-size records, read with a
// time limit from processes of the same user only, and run on the GUI
// thread (TThread::Synchronize: the message loop must turn, as the
// application's does).
#pragma once
#include "platform/win/WinTypes.h"

constexpr DWORD PAGE_READONLY = 0x02;
constexpr DWORD PAGE_READWRITE = 0x04;
constexpr DWORD FILE_MAP_WRITE = 0x0002;
constexpr DWORD FILE_MAP_READ = 0x0004;
constexpr DWORD FILE_MAP_ALL_ACCESS = 0x000F001F;

// Creates the mapping Name (optional "Local\" or "Global\" prefix; no name:
// a private one) of SizeLow bytes, or opens it when a running process holds
// it already; GetLastError then reports ERROR_ALREADY_EXISTS (else 0).
// Fails (null) with ERROR_INVALID_PARAMETER (size 0), ERROR_ACCESS_DENIED
// (the object or runtime folder belongs to someone else or is open to
// others) or ERROR_TIMEOUT (the creation lock stays taken).
HANDLE CreateFileMappingA(HANDLE File, SECURITY_ATTRIBUTES* Attributes, DWORD Protect, DWORD SizeHigh,
                          DWORD SizeLow, const char* Name);
inline HANDLE CreateFileMapping(HANDLE F, SECURITY_ATTRIBUTES* A, DWORD P, DWORD H, DWORD L, const char* N) {
  return CreateFileMappingA(F, A, P, H, L, N);
}
// Opens a mapping that a running process holds; null with
// ERROR_FILE_NOT_FOUND otherwise (also for one a crashed process left).
HANDLE OpenFileMappingA(DWORD Access, BOOL InheritHandle, const char* Name);
inline HANDLE OpenFileMapping(DWORD A, BOOL I, const char* N) { return OpenFileMappingA(A, I, N); }
// Bytes 0: from Offset to the end. The offset must be a multiple of the
// page size (ERROR_MAPPED_ALIGNMENT). A view keeps the mapping alive after
// its handle is closed.
void* MapViewOfFile(HANDLE Mapping, DWORD Access, DWORD OffsetHigh, DWORD OffsetLow, std::size_t Bytes);
BOOL UnmapViewOfFile(const void* Address);

// Asks the other processes that hold the named mapping, the most recently
// started first, to restore Window when it is minimized and bring it to the
// foreground; Window is a top-level window of theirs (a handle value one of
// them published, for example in the mapping). TRUE when one did; FALSE
// with ERROR_FILE_NOT_FOUND when none has such a window or none answered
// within TimeoutMs each.
BOOL ActivatePeerWindow(HANDLE Mapping, HWND Window, DWORD TimeoutMs = 2000);

// The shared memory object's name and the runtime folder's socket prefix
// for a mapping name (for tests that clean up after processes they killed).
AnsiString FileMappingObjectName(const AnsiString& Name);
// The private runtime folder with a trailing '/', made when missing; ''
// when it cannot be made safe.
AnsiString SourceluxRuntimeDir();
