// The window tests' fixture (tests/platform/win) built into this folder's
// executable; the other files here only include its header.
#include "../win/WinTestSupport.cpp"
