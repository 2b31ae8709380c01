// CodePages.h — the ANSI code page and conversions between code pages,
// UTF-16 and UTF-8.
//
// The active ANSI code page (GetACP) follows the user's locale the way Windows
// picks it: the language of LC_ALL, LC_CTYPE or LANG (the first one set) gives
// the Windows code page of that language; anything else is 1252. Tests pin it
// with TAnsiCodePageOverride.
//
// Nothing is lost silently. Decoding: a byte or byte pair the code page does
// not define becomes U+FFFD, except that the undefined single bytes
// 0x80..0x9F map to U+0080..U+009F and back, so that any byte string of a
// Western code page survives a round trip. Encoding: a character the code page
// lacks becomes '?' (Windows' default character; no best-fit guessing), and
// the Used-default flag tells the caller. Invalid UTF-8 decodes to U+FFFD; an
// unpaired surrogate encodes to U+FFFD in UTF-8.
//
// Single-byte code pages convert through tables built once from iconv; the
// double-byte ones (932, 936, 949, 950, 1361) go through cached iconv
// descriptors, used under a lock since a descriptor keeps state.
#pragma once
#include <string_view>

#include "platform/rtl/Types.h"

// Code page identifiers with their public values.
constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_MACCP = 2;
constexpr UINT CP_THREAD_ACP = 3;
constexpr UINT CP_SYMBOL = 42;
constexpr UINT CP_UTF7 = 65000;
constexpr UINT CP_UTF8 = 65001;

// Font character sets (the lfCharSet byte, RTF \fcharset) with their public values.
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE MAC_CHARSET = 77;
constexpr BYTE SHIFTJIS_CHARSET = 128;
constexpr BYTE HANGEUL_CHARSET = 129;
constexpr BYTE HANGUL_CHARSET = 129;
constexpr BYTE JOHAB_CHARSET = 130;
constexpr BYTE GB2312_CHARSET = 134;
constexpr BYTE CHINESEBIG5_CHARSET = 136;
constexpr BYTE GREEK_CHARSET = 161;
constexpr BYTE TURKISH_CHARSET = 162;
constexpr BYTE VIETNAMESE_CHARSET = 163;
constexpr BYTE HEBREW_CHARSET = 177;
constexpr BYTE ARABIC_CHARSET = 178;
constexpr BYTE BALTIC_CHARSET = 186;
constexpr BYTE RUSSIAN_CHARSET = 204;
constexpr BYTE THAI_CHARSET = 222;
constexpr BYTE EASTEUROPE_CHARSET = 238;
constexpr BYTE OEM_CHARSET = 255;

// Flags of the Win32 conversion calls below.
constexpr DWORD MB_PRECOMPOSED = 0x00000001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x00000400;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x00000080;

using WCHAR = char16_t;
using UTF8String = std::string;

// The active ANSI and OEM code pages.
UINT GetACP();
UINT GetOEMCP();
// The Windows ANSI code page for a POSIX locale name ("ru_RU.UTF-8" -> 1251,
// "zh_TW" -> 950); 1252 for anything unknown, "C" and "POSIX" included.
UINT AnsiCodePageForLocale(const AnsiString& LocaleName);
// The OEM code page that goes with an ANSI code page (1251 -> 866, else 437 …).
UINT OemCodePageForAnsi(UINT AnsiCodePage);

// Replaces the active ANSI code page (and the OEM one that goes with it) while
// alive; restores the previous one when destroyed. Not for use across threads.
class TAnsiCodePageOverride {
public:
  explicit TAnsiCodePageOverride(UINT CodePage);
  ~TAnsiCodePageOverride();
  TAnsiCodePageOverride(const TAnsiCodePageOverride&) = delete;
  TAnsiCodePageOverride& operator=(const TAnsiCodePageOverride&) = delete;

private:
  UINT FSaved;
};

// True when the code page is one this layer converts (CP_ACP etc. resolve first).
bool IsValidCodePage(UINT CodePage);
// True for the double-byte code pages 932, 936, 949, 950 and 1361.
bool IsDBCSCodePage(UINT CodePage);
// Whether Ch starts a two-byte character in CodePage (false for single-byte pages).
bool IsDBCSLeadByteEx(UINT CodePage, BYTE Ch);
bool IsDBCSLeadByte(BYTE Ch);  // in the active ANSI code page

// Charset <-> code page, as TranslateCharsetInfo answers. DEFAULT_CHARSET
// gives the active ANSI code page, OEM_CHARSET the OEM one, SYMBOL_CHARSET
// CP_SYMBOL. Returns false (leaving the output alone) for an unknown value.
bool CharsetToCodePage(BYTE Charset, UINT& CodePage);
bool CodePageToCharset(UINT CodePage, BYTE& Charset);
// Total forms: unknown charsets read as the active code page; code pages
// without a charset of their own (1252 included) give ANSI_CHARSET.
UINT CodePageFromCharset(BYTE Charset);
BYTE CharsetFromCodePage(UINT CodePage);

// Conversions. CodePage may be CP_ACP, CP_OEMCP, CP_UTF8 or a number; an
// unsupported code page raises EConvertError.
WideString AnsiToWide(std::string_view S, UINT CodePage = CP_ACP);
AnsiString WideToAnsi(std::u16string_view S, UINT CodePage = CP_ACP, bool* UsedDefault = nullptr);
// Between code pages through UTF-16.
AnsiString ConvertCodePage(const AnsiString& S, UINT FromCodePage, UINT ToCodePage);

// UTF-8 <-> UTF-16 and the class library's helpers over them.
UTF8String UTF8Encode(const WideString& S);
WideString UTF8Decode(const UTF8String& S);
UTF8String AnsiToUtf8(const AnsiString& S);  // from the active code page
AnsiString Utf8ToAnsi(const UTF8String& S);  // unmappable -> '?'

// The Win32 calls, with their buffer contract: a zero destination length asks
// for the length needed; a destination too small gives 0. SrcLen -1 means a
// NUL-terminated source whose NUL is converted too. MB_ERR_INVALID_CHARS
// makes an undefined byte fail the call (0). DefaultChar replaces '?' when
// given; UsedDefault reports whether it was needed.
int MultiByteToWideChar(UINT CodePage, DWORD Flags, const char* Src, int SrcLen, WCHAR* Dst,
                        int DstLen);
int WideCharToMultiByte(UINT CodePage, DWORD Flags, const WCHAR* Src, int SrcLen, char* Dst,
                        int DstLen, const char* DefaultChar, BOOL* UsedDefault);

// OEM <-> ANSI conversions of the active pages, as CharToOem/OemToChar.
AnsiString AnsiToOem(const AnsiString& S);
AnsiString OemToAnsi(const AnsiString& S);
