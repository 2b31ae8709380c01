// Atoms.h — the global atom table: a 16-bit number for a string, counted
// per GlobalAddAtom. String atoms run from 0xC000; "#123" and numbers below
// 0xC000 passed as MAKEINTATOM are integer atoms, which are their own
// number and never counted. Names compare ignoring case and keep the case
// of the first GlobalAddAtom.
//
// FIXME: the table is the process's own (renewed by ResetWindowSystem);
// other processes do not see its atoms.
#pragma once
#include "platform/win/Window.h"  // MAKEINTATOM
#include "platform/win/WinTypes.h"

constexpr ATOM MAXINTATOM = 0xC000;

// 0 on failure: an empty name, one longer than 255 bytes, "#0" or a number
// of 0xC000 or more (ERROR_INVALID_PARAMETER), a full table
// (ERROR_NOT_ENOUGH_MEMORY).
ATOM GlobalAddAtomA(const char* Name);
inline ATOM GlobalAddAtom(const char* N) { return GlobalAddAtomA(N); }
// Takes one reference away; the atom goes with its last. Returns 0 on
// success, the atom itself when it is no atom (ERROR_INVALID_HANDLE).
ATOM GlobalDeleteAtom(ATOM Atom);
// 0 with ERROR_FILE_NOT_FOUND when the name is not in the table.
ATOM GlobalFindAtomA(const char* Name);
inline ATOM GlobalFindAtom(const char* N) { return GlobalFindAtomA(N); }
// Copies the name (an integer atom's is "#<number>"), cut to Size - 1;
// returns its length, 0 for no atom.
UINT GlobalGetAtomNameA(ATOM Atom, char* Buffer, int Size);
