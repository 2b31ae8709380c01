// ShellApi.h — the shell's "open": ShellExecute hands a document, a folder
// or a web or mail address to the desktop's opener (xdg-open, found on
// PATH), started directly with the one argument, never through a shell.
//
// What reaches the opener is checked first, since callers pass addresses
// out of documents: only the verb "open" (or none); only existing files and
// folders (given to the opener as absolute names) and http:, https: and
// mailto: addresses (a "www." address gets "http://"), of bounded length
// and without control characters. Anything else is refused with the
// shell's error codes. The opener runs for at most ShellOpenWaitMs before
// the call returns; one still running then counts as started, and the
// layer reaps it when it ends.
#pragma once
#include "platform/win/WinTypes.h"

// Results of ShellExecute up to 32 are errors.
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_PNF = 3;
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_OOM = 8;
constexpr int SE_ERR_SHARE = 26;
constexpr int SE_ERR_ASSOCINCOMPLETE = 27;
constexpr int SE_ERR_DDETIMEOUT = 28;
constexpr int SE_ERR_DDEFAIL = 29;
constexpr int SE_ERR_DDEBUSY = 30;
constexpr int SE_ERR_NOASSOC = 31;
constexpr int SE_ERR_DLLNOTFOUND = 32;

constexpr DWORD ShellOpenWaitMs = 2000;
// The longest address handed on (the browsers' own limit).
constexpr std::size_t ShellMaxAddressLength = 2083;

// Returns a value above 32 when the opener started and did not report a
// failure. Errors: SE_ERR_FNF (no such file or folder, or the opener says
// so), SE_ERR_NOASSOC (a verb other than "open", an address of another
// kind, no opener on PATH or the opener found nothing to open with),
// ERROR_BAD_FORMAT (an empty or malformed name or address). Parameters are
// ignored for documents, as the shell does; ShowCmd is the opener's matter.
HINSTANCE ShellExecuteA(HWND Owner, const char* Operation, const char* File, const char* Parameters,
                        const char* Directory, int ShowCmd);
inline HINSTANCE ShellExecute(HWND O, const char* Op, const char* F, const char* P, const char* D, int S) {
  return ShellExecuteA(O, Op, F, P, D, S);
}
// The result as the number the callers compare.
inline int ShellExecuteResult(HINSTANCE H) { return int(reinterpret_cast<std::intptr_t>(H)); }
