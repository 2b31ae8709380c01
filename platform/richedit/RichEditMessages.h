// RichEditMessages.h — the rich-edit control's message numbers and the
// records its messages carry, from their public values. Callers (the export
// engines, the report links) build these records and send them to the
// control's window; the control (RichEdit.h) answers them.
#pragma once
#include <cstdint>
#include "platform/gdi/GdiTypes.h"

using DWORD_PTR = std::uintptr_t;

enum : UINT {
  EM_EXGETSEL = 0x0400 + 52,
  EM_EXSETSEL = 0x0400 + 55,
  EM_FORMATRANGE = 0x0400 + 57,
  EM_STREAMIN = 0x0400 + 73,
  EM_STREAMOUT = 0x0400 + 74,
  EM_GETTEXTLENGTHEX = 0x0400 + 95,
};

// A character range; cpMax -1 means "to the end of the text".
struct CHARRANGE {
  LONG cpMin = 0;
  LONG cpMax = 0;
};

// EM_FORMATRANGE's record. rc and rcPage are in twips (1440 per inch),
// relative to the page origin of hdc; rc.bottom comes back as the bottom of
// what was formatted.
struct FORMATRANGE {
  HDC hdc = nullptr;
  HDC hdcTarget = nullptr;
  TRect rc;
  TRect rcPage;
  CHARRANGE chrg;
};

// EM_GETTEXTLENGTHEX
struct GETTEXTLENGTHEX {
  DWORD flags = 0;
  UINT codepage = 0;
};
enum : DWORD {
  GTL_DEFAULT = 0,
  GTL_USECRLF = 1,   // paragraph marks count as CR LF
  GTL_PRECISE = 2,
  GTL_CLOSE = 4,
  GTL_NUMCHARS = 8,
  GTL_NUMBYTES = 16, // bytes in the code page asked for
};

// EM_STREAMIN / EM_STREAMOUT. The callback is called until it answers
// non-zero (an error, stored in dwError) or, when reading, delivers 0 bytes.
using EDITSTREAMCALLBACK = DWORD (*)(DWORD_PTR Cookie, BYTE* Buffer, LONG Count, LONG* Done);
struct EDITSTREAM {
  DWORD_PTR dwCookie = 0;
  DWORD dwError = 0;
  EDITSTREAMCALLBACK pfnCallback = nullptr;
};
enum : UINT {
  SF_TEXT = 0x0001,
  SF_RTF = 0x0002,
  SF_RTFNOOBJS = 0x0003,
  SF_TEXTIZED = 0x0004,
  SF_UNICODE = 0x0010,
  SFF_SELECTION = 0x8000,
  SFF_PLAINRTF = 0x4000,
};
