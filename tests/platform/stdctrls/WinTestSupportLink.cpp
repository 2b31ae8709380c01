// The window tests' fixture (tests/platform/win) built into this folder's
// executable; the other files here only include its header. One such file
// per executable.
#include "../win/WinTestSupport.cpp"
