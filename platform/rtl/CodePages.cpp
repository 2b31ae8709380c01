#include "platform/rtl/CodePages.h"

#include <iconv.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Exceptions.h"

namespace {

constexpr char16_t ReplacementChar = 0xFFFD;
constexpr UINT MacRomanCodePage = 10000;

// ---- the active code page ---------------------------------------------------

UINT CodePageFromEnvironment() {
  for (const char* Var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* V = std::getenv(Var);
    if (V && *V) return AnsiCodePageForLocale(V);
  }
  return 1252;
}

std::atomic<UINT>& ActiveCodePage() {
  static std::atomic<UINT> CodePage{CodePageFromEnvironment()};
  return CodePage;
}

UINT Resolve(UINT CodePage) {
  switch (CodePage) {
    case CP_ACP:
    case CP_THREAD_ACP: return GetACP();
    case CP_OEMCP: return GetOEMCP();
    case CP_MACCP: return MacRomanCodePage;
    default: return CodePage;
  }
}

const char* IconvName(UINT CodePage) {
  switch (CodePage) {
    case 437: return "CP437";
    case 737: return "CP737";
    case 775: return "CP775";
    case 850: return "CP850";
    case 852: return "CP852";
    case 857: return "CP857";
    case 862: return "CP862";
    case 866: return "CP866";
    case 874: return "CP874";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1252: return "CP1252";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    case 1361: return "JOHAB";
    case MacRomanCodePage: return "MACINTOSH";
    default: return nullptr;
  }
}

[[noreturn]] void RaiseUnsupported(UINT CodePage) {
  throw EConvertError("Code page " + std::to_string(CodePage) + " is not supported");
}

// ---- iconv ------------------------------------------------------------------

// One descriptor per direction and code page, kept for the life of the
// process. iconv keeps shift state in the descriptor, so each use holds Lock.
struct TIconv {
  iconv_t Cd = reinterpret_cast<iconv_t>(-1);
  std::mutex Lock;
  ~TIconv() {
    if (Cd != reinterpret_cast<iconv_t>(-1)) iconv_close(Cd);
  }
};

TIconv* GetIconv(const char* To, const char* From) {
  static std::mutex MapLock;
  static std::map<std::pair<std::string, std::string>, std::unique_ptr<TIconv>> Map;
  std::lock_guard<std::mutex> G(MapLock);
  auto& Slot = Map[{To, From}];
  if (!Slot) {
    auto Ic = std::make_unique<TIconv>();
    Ic->Cd = iconv_open(To, From);
    if (Ic->Cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    Slot = std::move(Ic);
  }
  return Slot.get();
}

// Runs one chunk through Cd; returns the bytes produced, stops at the first
// error with Errno set (0 when all input was consumed and flushed).
std::string RunIconv(iconv_t Cd, const char*& In, std::size_t& InLeft, int& Err) {
  std::string Out;
  char Buf[1024];
  Err = 0;
  while (true) {
    char* OutPtr = Buf;
    std::size_t OutLeft = sizeof Buf;
    char* InPtr = const_cast<char*>(In);
    std::size_t R = InLeft ? iconv(Cd, &InPtr, &InLeft, &OutPtr, &OutLeft)
                           : iconv(Cd, nullptr, nullptr, &OutPtr, &OutLeft);
    const int E = (R == static_cast<std::size_t>(-1)) ? errno : 0;
    In = InPtr;
    Out.append(Buf, OutPtr - Buf);
    if (E == E2BIG) continue;
    if (E) {
      Err = E;
      return Out;
    }
    if (InLeft == 0) {
      // Flush shift state and any character held back for composition.
      OutPtr = Buf;
      OutLeft = sizeof Buf;
      iconv(Cd, nullptr, nullptr, &OutPtr, &OutLeft);
      Out.append(Buf, OutPtr - Buf);
      return Out;
    }
  }
}

void AppendUtf16Bytes(WideString& W, const std::string& Bytes) {
  for (std::size_t i = 0; i + 1 < Bytes.size(); i += 2)
    W.push_back(static_cast<char16_t>(static_cast<unsigned char>(Bytes[i]) |
                                      (static_cast<unsigned char>(Bytes[i + 1]) << 8)));
}

// ---- single-byte tables -----------------------------------------------------

struct TSingleByteTable {
  std::array<char16_t, 256> ToWide{};
  std::array<bool, 256> Defined{};
  std::unordered_map<char16_t, unsigned char> FromWide;
};

const TSingleByteTable* SingleByteTable(UINT CodePage) {
  static std::mutex Lock;
  static std::map<UINT, std::unique_ptr<TSingleByteTable>> Tables;
  std::lock_guard<std::mutex> G(Lock);
  auto It = Tables.find(CodePage);
  if (It != Tables.end()) return It->second.get();
  const char* Name = IconvName(CodePage);
  if (!Name) return nullptr;
  iconv_t Cd = iconv_open("UTF-16LE", Name);
  if (Cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  auto T = std::make_unique<TSingleByteTable>();
  for (int B = 0; B < 256; ++B) {
    const char Byte = static_cast<char>(B);
    const char* In = &Byte;
    std::size_t InLeft = 1;
    int Err = 0;
    iconv(Cd, nullptr, nullptr, nullptr, nullptr);
    const std::string Out = RunIconv(Cd, In, InLeft, Err);
    if (!Err && Out.size() == 2) {
      T->ToWide[B] = static_cast<char16_t>(static_cast<unsigned char>(Out[0]) |
                                           (static_cast<unsigned char>(Out[1]) << 8));
      T->Defined[B] = true;
    } else {
      // Undefined C1 bytes pass through as the C1 characters, as Windows does.
      T->ToWide[B] = (B >= 0x80 && B <= 0x9F) ? static_cast<char16_t>(B) : ReplacementChar;
    }
  }
  iconv_close(Cd);
  for (int B = 0; B < 256; ++B)
    if (T->ToWide[B] != ReplacementChar) T->FromWide.emplace(T->ToWide[B], static_cast<unsigned char>(B));
  return (Tables[CodePage] = std::move(T)).get();
}

// ---- UTF-8 ------------------------------------------------------------------

void AppendUtf8(std::string& Out, char32_t C) {
  if (C < 0x80) {
    Out.push_back(static_cast<char>(C));
  } else if (C < 0x800) {
    Out.push_back(static_cast<char>(0xC0 | (C >> 6)));
    Out.push_back(static_cast<char>(0x80 | (C & 0x3F)));
  } else if (C < 0x10000) {
    Out.push_back(static_cast<char>(0xE0 | (C >> 12)));
    Out.push_back(static_cast<char>(0x80 | ((C >> 6) & 0x3F)));
    Out.push_back(static_cast<char>(0x80 | (C & 0x3F)));
  } else {
    Out.push_back(static_cast<char>(0xF0 | (C >> 18)));
    Out.push_back(static_cast<char>(0x80 | ((C >> 12) & 0x3F)));
    Out.push_back(static_cast<char>(0x80 | ((C >> 6) & 0x3F)));
    Out.push_back(static_cast<char>(0x80 | (C & 0x3F)));
  }
}

std::string EncodeUtf8(const char16_t* S, std::size_t N, bool* UsedDefault) {
  std::string Out;
  Out.reserve(N);
  for (std::size_t i = 0; i < N; ++i) {
    char32_t C = S[i];
    if (C >= 0xD800 && C <= 0xDBFF && i + 1 < N && S[i + 1] >= 0xDC00 && S[i + 1] <= 0xDFFF) {
      C = 0x10000 + ((C - 0xD800) << 10) + (S[i + 1] - 0xDC00);
      ++i;
    } else if (C >= 0xD800 && C <= 0xDFFF) {
      C = ReplacementChar;
      if (UsedDefault) *UsedDefault = true;
    }
    AppendUtf8(Out, C);
  }
  return Out;
}

// Each byte that cannot start or continue a well-formed sequence (overlong,
// surrogate, beyond U+10FFFF, truncated) yields one U+FFFD.
WideString DecodeUtf8(const char* S, std::size_t N, bool* Invalid) {
  WideString W;
  W.reserve(N);
  const auto* P = reinterpret_cast<const unsigned char*>(S);
  std::size_t i = 0;
  while (i < N) {
    const unsigned char B = P[i];
    if (B < 0x80) {
      W.push_back(B);
      ++i;
      continue;
    }
    int Len = 0;
    char32_t C = 0, Min = 0;
    if (B >= 0xC2 && B <= 0xDF) { Len = 2; C = B & 0x1F; Min = 0x80; }
    else if (B >= 0xE0 && B <= 0xEF) { Len = 3; C = B & 0x0F; Min = 0x800; }
    else if (B >= 0xF0 && B <= 0xF4) { Len = 4; C = B & 0x07; Min = 0x10000; }
    bool Ok = Len > 0 && i + Len <= N;
    for (int k = 1; Ok && k < Len; ++k) {
      if ((P[i + k] & 0xC0) != 0x80) Ok = false;
      else C = (C << 6) | (P[i + k] & 0x3F);
    }
    if (Ok && (C < Min || C > 0x10FFFF || (C >= 0xD800 && C <= 0xDFFF))) Ok = false;
    if (!Ok) {
      W.push_back(ReplacementChar);
      if (Invalid) *Invalid = true;
      ++i;
      continue;
    }
    if (C >= 0x10000) {
      C -= 0x10000;
      W.push_back(static_cast<char16_t>(0xD800 + (C >> 10)));
      W.push_back(static_cast<char16_t>(0xDC00 + (C & 0x3FF)));
    } else {
      W.push_back(static_cast<char16_t>(C));
    }
    i += Len;
  }
  return W;
}

// ---- the core conversions ---------------------------------------------------

WideString Decode(UINT CodePage, const char* S, std::size_t N, bool* Invalid) {
  CodePage = Resolve(CodePage);
  if (CodePage == CP_UTF8) return DecodeUtf8(S, N, Invalid);
  if (CodePage == CP_SYMBOL) {
    WideString W;
    for (std::size_t i = 0; i < N; ++i) {
      const unsigned char B = static_cast<unsigned char>(S[i]);
      W.push_back(B < 0x20 ? B : static_cast<char16_t>(0xF000 + B));
    }
    return W;
  }
  if (!IsDBCSCodePage(CodePage)) {
    const TSingleByteTable* T = SingleByteTable(CodePage);
    if (!T) RaiseUnsupported(CodePage);
    WideString W;
    W.reserve(N);
    for (std::size_t i = 0; i < N; ++i) {
      const unsigned char B = static_cast<unsigned char>(S[i]);
      if (!T->Defined[B] && Invalid) *Invalid = true;
      W.push_back(T->ToWide[B]);
    }
    return W;
  }
  TIconv* Ic = GetIconv("UTF-16LE", IconvName(CodePage));
  if (!Ic) RaiseUnsupported(CodePage);
  std::lock_guard<std::mutex> G(Ic->Lock);
  iconv(Ic->Cd, nullptr, nullptr, nullptr, nullptr);
  WideString W;
  const char* In = S;
  std::size_t InLeft = N;
  while (true) {
    int Err = 0;
    AppendUtf16Bytes(W, RunIconv(Ic->Cd, In, InLeft, Err));
    if (!Err) break;
    // An undefined pair or a lead byte cut off at the end: one U+FFFD for the
    // whole character, so a bad pair does not turn its trail byte into ASCII.
    W.push_back(ReplacementChar);
    if (Invalid) *Invalid = true;
    iconv(Ic->Cd, nullptr, nullptr, nullptr, nullptr);
    const unsigned char B = static_cast<unsigned char>(*In);
    const std::size_t Skip =
        (IsDBCSLeadByteEx(CodePage, B) && InLeft >= 2 && static_cast<unsigned char>(In[1]) >= 0x40) ? 2 : 1;
    In += Skip;
    InLeft -= Skip;
    if (InLeft == 0) break;
  }
  return W;
}

AnsiString Encode(UINT CodePage, const char16_t* S, std::size_t N, const char* DefaultChar,
                  bool* UsedDefault) {
  CodePage = Resolve(CodePage);
  if (CodePage == CP_UTF8) return EncodeUtf8(S, N, UsedDefault);
  const char Default = DefaultChar ? *DefaultChar : '?';
  auto Unmapped = [&](AnsiString& Out) {
    Out.push_back(Default);
    if (UsedDefault) *UsedDefault = true;
  };
  // A surrogate pair is one character and gets one default character.
  auto PairAt = [&](std::size_t i) {
    return S[i] >= 0xD800 && S[i] <= 0xDBFF && i + 1 < N && S[i + 1] >= 0xDC00 && S[i + 1] <= 0xDFFF;
  };
  AnsiString Out;
  Out.reserve(N);
  if (CodePage == CP_SYMBOL) {
    for (std::size_t i = 0; i < N; ++i) {
      const char16_t C = S[i];
      if (C < 0x100) Out.push_back(static_cast<char>(C));
      else if (C >= 0xF000 && C <= 0xF0FF) Out.push_back(static_cast<char>(C - 0xF000));
      else {
        if (PairAt(i)) ++i;
        Unmapped(Out);
      }
    }
    return Out;
  }
  if (!IsDBCSCodePage(CodePage)) {
    const TSingleByteTable* T = SingleByteTable(CodePage);
    if (!T) RaiseUnsupported(CodePage);
    for (std::size_t i = 0; i < N; ++i) {
      auto It = T->FromWide.find(S[i]);
      if (It != T->FromWide.end()) {
        Out.push_back(static_cast<char>(It->second));
      } else {
        if (PairAt(i)) ++i;
        Unmapped(Out);
      }
    }
    return Out;
  }
  TIconv* Ic = GetIconv(IconvName(CodePage), "UTF-16LE");
  if (!Ic) RaiseUnsupported(CodePage);
  std::lock_guard<std::mutex> G(Ic->Lock);
  iconv(Ic->Cd, nullptr, nullptr, nullptr, nullptr);
  std::string Bytes(N * 2, '\0');
  std::memcpy(Bytes.data(), S, N * 2);  // char16_t is little-endian on our targets
  const char* In = Bytes.data();
  std::size_t InLeft = Bytes.size();
  while (true) {
    int Err = 0;
    Out += RunIconv(Ic->Cd, In, InLeft, Err);
    if (!Err) break;
    iconv(Ic->Cd, nullptr, nullptr, nullptr, nullptr);
    const std::size_t Index = (In - Bytes.data()) / 2;
    const std::size_t Skip = PairAt(Index) ? 4 : 2;
    Unmapped(Out);
    In += std::min(Skip, InLeft);
    InLeft -= std::min(Skip, InLeft);
    if (InLeft == 0) break;
  }
  return Out;
}

}  // namespace

// ---- public -----------------------------------------------------------------

UINT GetACP() { return ActiveCodePage().load(); }
UINT GetOEMCP() { return OemCodePageForAnsi(GetACP()); }

UINT AnsiCodePageForLocale(const AnsiString& LocaleName) {
  std::string Name = LocaleName;
  std::string Modifier;
  if (auto At = Name.find('@'); At != std::string::npos) {
    Modifier = Name.substr(At + 1);
    Name.erase(At);
  }
  if (auto Dot = Name.find('.'); Dot != std::string::npos) Name.erase(Dot);
  std::string Lang = Name, Territory;
  if (auto Us = Name.find('_'); Us != std::string::npos) {
    Lang = Name.substr(0, Us);
    Territory = Name.substr(Us + 1);
  }
  static const std::map<std::string, UINT> ByLanguage = {
      // Cyrillic
      {"ru", 1251}, {"uk", 1251}, {"be", 1251}, {"bg", 1251}, {"mk", 1251}, {"kk", 1251},
      {"ky", 1251}, {"tt", 1251}, {"mn", 1251}, {"ba", 1251}, {"sah", 1251}, {"tg", 1251},
      {"sr", 1251},
      // Central European
      {"pl", 1250}, {"cs", 1250}, {"sk", 1250}, {"hu", 1250}, {"sl", 1250}, {"hr", 1250},
      {"ro", 1250}, {"sq", 1250}, {"bs", 1250}, {"hsb", 1250}, {"dsb", 1250},
      {"el", 1253},
      {"tr", 1254}, {"az", 1254}, {"uz", 1254},
      {"he", 1255}, {"iw", 1255}, {"yi", 1255},
      {"ar", 1256}, {"fa", 1256}, {"ur", 1256}, {"ps", 1256}, {"ug", 1256},
      {"lt", 1257}, {"lv", 1257}, {"et", 1257},
      {"vi", 1258},
      {"th", 874},
      {"ja", 932},
      {"ko", 949},
      {"zh", 936},
  };
  auto It = ByLanguage.find(Lang);
  if (It == ByLanguage.end()) return 1252;
  if (Lang == "sr" && Modifier == "latin") return 1250;
  if (Lang == "zh" && (Territory == "TW" || Territory == "HK" || Territory == "MO")) return 950;
  return It->second;
}

UINT OemCodePageForAnsi(UINT AnsiCodePage) {
  switch (AnsiCodePage) {
    case 1250: return 852;
    case 1251: return 866;
    case 1253: return 737;
    case 1254: return 857;
    case 1255: return 862;
    case 1257: return 775;
    case 874:
    case 932:
    case 936:
    case 949:
    case 950:
    case 1361: return AnsiCodePage;
    default: return 437;
  }
}

TAnsiCodePageOverride::TAnsiCodePageOverride(UINT CodePage) : FSaved(GetACP()) {
  if (!IsValidCodePage(CodePage) || CodePage == CP_UTF8 || CodePage == CP_SYMBOL)
    throw EConvertError("Code page " + std::to_string(CodePage) + " cannot be the ANSI code page");
  ActiveCodePage().store(CodePage);
}
TAnsiCodePageOverride::~TAnsiCodePageOverride() { ActiveCodePage().store(FSaved); }

bool IsValidCodePage(UINT CodePage) {
  CodePage = Resolve(CodePage);
  if (CodePage == CP_UTF8 || CodePage == CP_SYMBOL) return true;
  if (IsDBCSCodePage(CodePage)) return GetIconv("UTF-16LE", IconvName(CodePage)) != nullptr;
  return SingleByteTable(CodePage) != nullptr;
}

bool IsDBCSCodePage(UINT CodePage) {
  switch (Resolve(CodePage)) {
    case 932:
    case 936:
    case 949:
    case 950:
    case 1361: return true;
    default: return false;
  }
}

bool IsDBCSLeadByteEx(UINT CodePage, BYTE Ch) {
  switch (Resolve(CodePage)) {
    case 932: return (Ch >= 0x81 && Ch <= 0x9F) || (Ch >= 0xE0 && Ch <= 0xFC);
    case 936:
    case 949:
    case 950: return Ch >= 0x81 && Ch <= 0xFE;
    case 1361: return (Ch >= 0x84 && Ch <= 0xD3) || (Ch >= 0xD8 && Ch <= 0xDE) || (Ch >= 0xE0 && Ch <= 0xF9);
    default: return false;
  }
}

bool IsDBCSLeadByte(BYTE Ch) { return IsDBCSLeadByteEx(CP_ACP, Ch); }

namespace {
struct TCharsetCodePage {
  BYTE Charset;
  UINT CodePage;
};
constexpr TCharsetCodePage CharsetTable[] = {
    {ANSI_CHARSET, 1252},        {EASTEUROPE_CHARSET, 1250}, {RUSSIAN_CHARSET, 1251},
    {GREEK_CHARSET, 1253},       {TURKISH_CHARSET, 1254},    {HEBREW_CHARSET, 1255},
    {ARABIC_CHARSET, 1256},      {BALTIC_CHARSET, 1257},     {VIETNAMESE_CHARSET, 1258},
    {THAI_CHARSET, 874},         {SHIFTJIS_CHARSET, 932},    {GB2312_CHARSET, 936},
    {HANGEUL_CHARSET, 949},      {CHINESEBIG5_CHARSET, 950}, {JOHAB_CHARSET, 1361},
    {SYMBOL_CHARSET, CP_SYMBOL}, {MAC_CHARSET, MacRomanCodePage},
};
}  // namespace

bool CharsetToCodePage(BYTE Charset, UINT& CodePage) {
  if (Charset == DEFAULT_CHARSET) {
    CodePage = GetACP();
    return true;
  }
  if (Charset == OEM_CHARSET) {
    CodePage = GetOEMCP();
    return true;
  }
  for (const auto& E : CharsetTable)
    if (E.Charset == Charset) {
      CodePage = E.CodePage;
      return true;
    }
  return false;
}

bool CodePageToCharset(UINT CodePage, BYTE& Charset) {
  CodePage = Resolve(CodePage);
  for (const auto& E : CharsetTable)
    if (E.CodePage == CodePage) {
      Charset = E.Charset;
      return true;
    }
  return false;
}

UINT CodePageFromCharset(BYTE Charset) {
  UINT Cp = 0;
  return CharsetToCodePage(Charset, Cp) ? Cp : GetACP();
}

BYTE CharsetFromCodePage(UINT CodePage) {
  BYTE Cs = ANSI_CHARSET;
  if (!CodePageToCharset(CodePage, Cs) || Cs == SYMBOL_CHARSET || Cs == MAC_CHARSET) return ANSI_CHARSET;
  return Cs;
}

WideString AnsiToWide(std::string_view S, UINT CodePage) {
  return Decode(CodePage, S.data(), S.size(), nullptr);
}
AnsiString WideToAnsi(std::u16string_view S, UINT CodePage, bool* UsedDefault) {
  if (UsedDefault) *UsedDefault = false;
  return Encode(CodePage, S.data(), S.size(), nullptr, UsedDefault);
}
AnsiString ConvertCodePage(const AnsiString& S, UINT FromCodePage, UINT ToCodePage) {
  if (Resolve(FromCodePage) == Resolve(ToCodePage)) return S;
  return WideToAnsi(AnsiToWide(S, FromCodePage), ToCodePage);
}

UTF8String UTF8Encode(const WideString& S) { return EncodeUtf8(S.data(), S.size(), nullptr); }
WideString UTF8Decode(const UTF8String& S) { return DecodeUtf8(S.data(), S.size(), nullptr); }
UTF8String AnsiToUtf8(const AnsiString& S) { return UTF8Encode(AnsiToWide(S, CP_ACP)); }
AnsiString Utf8ToAnsi(const UTF8String& S) { return WideToAnsi(UTF8Decode(S), CP_ACP); }

int MultiByteToWideChar(UINT CodePage, DWORD Flags, const char* Src, int SrcLen, WCHAR* Dst,
                        int DstLen) {
  if (!Src || SrcLen < -1 || SrcLen == 0 || DstLen < 0 || (DstLen > 0 && !Dst)) return 0;
  const std::size_t N = SrcLen == -1 ? std::strlen(Src) + 1 : static_cast<std::size_t>(SrcLen);
  if (!IsValidCodePage(CodePage)) return 0;
  bool Invalid = false;
  const WideString W = Decode(CodePage, Src, N, &Invalid);
  if (Invalid && (Flags & MB_ERR_INVALID_CHARS)) return 0;
  if (DstLen == 0) return static_cast<int>(W.size());
  if (W.size() > static_cast<std::size_t>(DstLen)) return 0;
  std::memcpy(Dst, W.data(), W.size() * sizeof(WCHAR));
  return static_cast<int>(W.size());
}

int WideCharToMultiByte(UINT CodePage, DWORD Flags, const WCHAR* Src, int SrcLen, char* Dst,
                        int DstLen, const char* DefaultChar, BOOL* UsedDefault) {
  if (!Src || SrcLen < -1 || SrcLen == 0 || DstLen < 0 || (DstLen > 0 && !Dst)) return 0;
  std::size_t N = 0;
  if (SrcLen == -1) {
    while (Src[N]) ++N;
    ++N;
  } else {
    N = static_cast<std::size_t>(SrcLen);
  }
  if (!IsValidCodePage(CodePage)) return 0;
  bool Used = false;
  const AnsiString A = Encode(CodePage, Src, N, DefaultChar, &Used);
  if (Used && (Flags & WC_ERR_INVALID_CHARS) && Resolve(CodePage) == CP_UTF8) return 0;
  if (UsedDefault) *UsedDefault = Used ? 1 : 0;
  if (DstLen == 0) return static_cast<int>(A.size());
  if (A.size() > static_cast<std::size_t>(DstLen)) return 0;
  std::memcpy(Dst, A.data(), A.size());
  return static_cast<int>(A.size());
}

AnsiString AnsiToOem(const AnsiString& S) { return ConvertCodePage(S, CP_ACP, CP_OEMCP); }
AnsiString OemToAnsi(const AnsiString& S) { return ConvertCodePage(S, CP_OEMCP, CP_ACP); }
