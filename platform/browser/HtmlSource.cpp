#include "platform/browser/HtmlSource.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/rtl/CodePages.h"

namespace {

char Lower(char C) { return char(std::tolower(static_cast<unsigned char>(C))); }

bool StartsWithNoCase(std::string_view S, std::size_t At, std::string_view What) {
  if (At + What.size() > S.size()) return false;
  for (std::size_t I = 0; I < What.size(); ++I)
    if (Lower(S[At + I]) != What[I]) return false;
  return true;
}

std::size_t FindNoCase(std::string_view S, std::string_view What, std::size_t From) {
  if (What.empty()) return From;
  for (std::size_t I = From; I + What.size() <= S.size(); ++I) {
    if (Lower(S[I]) == What[0] && StartsWithNoCase(S, I, What)) return I;
  }
  return std::string_view::npos;
}

bool IsValidUtf8(std::string_view S) {
  std::size_t I = 0;
  const std::size_t N = S.size();
  while (I < N) {
    const auto C = static_cast<unsigned char>(S[I]);
    if (C < 0x80) {
      ++I;
      continue;
    }
    int More;
    unsigned Min;
    if ((C & 0xE0) == 0xC0) More = 1, Min = 0x80;
    else if ((C & 0xF0) == 0xE0) More = 2, Min = 0x800;
    else if ((C & 0xF8) == 0xF0) More = 3, Min = 0x10000;
    else return false;
    if (I + std::size_t(More) >= N) return false;
    unsigned Code = C & (0x3F >> More);
    for (int K = 1; K <= More; ++K) {
      const auto D = static_cast<unsigned char>(S[I + std::size_t(K)]);
      if ((D & 0xC0) != 0x80) return false;
      Code = (Code << 6) | (D & 0x3F);
    }
    if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code < 0xE000)) return false;
    I += std::size_t(More) + 1;
  }
  return true;
}

// A charset name as a code page; 0 when this layer does not know it.
UINT CodePageOfCharset(std::string Name) {
  for (char& C : Name) C = Lower(C);
  if (Name == "utf-8" || Name == "utf8") return CP_UTF8;
  // As browsers do, Latin-1 and ASCII are read as their Windows superset.
  if (Name == "iso-8859-1" || Name == "latin1" || Name == "us-ascii" || Name == "ascii" || Name == "l1")
    return 1252;
  auto Number = [&](std::string_view Prefix) -> UINT {
    if (Name.compare(0, Prefix.size(), Prefix) != 0) return 0;
    const std::string Rest = Name.substr(Prefix.size());
    if (Rest.empty() || Rest.size() > 5 || !std::all_of(Rest.begin(), Rest.end(), ::isdigit)) return 0;
    return UINT(std::stoul(Rest));
  };
  UINT Cp = Number("windows-");
  if (!Cp) Cp = Number("cp");
  if (!Cp) Cp = Number("x-cp");
  if (!Cp) {
    const UINT Part = Number("iso-8859-");
    if (Part > 0 && Part < 16) Cp = 28590 + Part;
  }
  if (!Cp && Name == "koi8-r") Cp = 20866;
  if (!Cp && Name == "koi8-u") Cp = 21866;
  if (!Cp && (Name == "shift_jis" || Name == "sjis")) Cp = 932;
  if (!Cp && (Name == "gb2312" || Name == "gbk")) Cp = 936;
  if (!Cp && Name == "big5") Cp = 950;
  if (!Cp && Name == "euc-kr") Cp = 949;
  return Cp && IsValidCodePage(Cp) ? Cp : 0;
}

// The charset a meta tag in the first bytes names ('' for none).
std::string MetaCharset(std::string_view Bytes) {
  const std::string_view Head = Bytes.substr(0, std::min<std::size_t>(Bytes.size(), 4096));
  std::size_t At = 0;
  while ((At = FindNoCase(Head, "<meta", At)) != std::string_view::npos) {
    const std::size_t End = Head.find('>', At);
    const std::string_view Tag = Head.substr(At, End == std::string_view::npos ? Head.npos : End - At);
    const std::size_t C = FindNoCase(Tag, "charset", 0);
    if (C != std::string_view::npos) {
      std::size_t I = C + 7;
      while (I < Tag.size() && (Tag[I] == ' ' || Tag[I] == '=' || Tag[I] == '"' || Tag[I] == '\'')) ++I;
      std::size_t J = I;
      while (J < Tag.size() && (std::isalnum(static_cast<unsigned char>(Tag[J])) || Tag[J] == '-' || Tag[J] == '_'))
        ++J;
      if (J > I) return std::string(Tag.substr(I, J - I));
    }
    At += 5;
  }
  return {};
}

std::string Utf16ToUtf8(std::string_view Bytes, bool BigEndian) {
  WideString W;
  W.reserve(Bytes.size() / 2);
  for (std::size_t I = 0; I + 1 < Bytes.size(); I += 2) {
    const auto A = static_cast<unsigned char>(Bytes[I]), B = static_cast<unsigned char>(Bytes[I + 1]);
    W.push_back(char16_t(BigEndian ? (A << 8) | B : (B << 8) | A));
  }
  return UTF8Encode(W);
}

}  // namespace

UINT DetectHtmlCodePage(std::string_view Bytes) {
  if (Bytes.size() >= 3 && Bytes.substr(0, 3) == "\xEF\xBB\xBF") return CP_UTF8;
  if (Bytes.size() >= 2 && Bytes.substr(0, 2) == "\xFF\xFE") return 1200;
  if (Bytes.size() >= 2 && Bytes.substr(0, 2) == "\xFE\xFF") return 1201;
  if (const std::string Name = MetaCharset(Bytes); !Name.empty())
    if (const UINT Cp = CodePageOfCharset(Name)) return Cp;
  return IsValidUtf8(Bytes) ? CP_UTF8 : GetACP();
}

std::string DecodeHtml(std::string_view Bytes) {
  const UINT Cp = DetectHtmlCodePage(Bytes);
  if (Cp == 1200 || Cp == 1201) return Utf16ToUtf8(Bytes.substr(2), Cp == 1201);
  if (Cp == CP_UTF8) {
    if (Bytes.size() >= 3 && Bytes.substr(0, 3) == "\xEF\xBB\xBF") Bytes.remove_prefix(3);
    // A declared UTF-8 page may still hold stray bytes: they become U+FFFD
    // on the way through the wide form rather than reaching the parser.
    if (IsValidUtf8(Bytes)) return std::string(Bytes);
    return UTF8Encode(AnsiToWide(Bytes, CP_UTF8));
  }
  if (IsDBCSCodePage(Cp)) return UTF8Encode(AnsiToWide(Bytes, Cp));
  // A single-byte page: each byte's UTF-8 form from a table, as pages of
  // many megabytes must decode in a moment.
  std::string Table[256];
  for (int B = 0; B < 256; ++B) {
    const char Ch = char(B);
    Table[B] = UTF8Encode(AnsiToWide(std::string_view(&Ch, 1), Cp));
  }
  std::string Out;
  Out.reserve(Bytes.size() + Bytes.size() / 8);
  std::size_t I = 0;
  while (I < Bytes.size()) {
    std::size_t J = I;
    while (J < Bytes.size() && static_cast<unsigned char>(Bytes[J]) < 0x80) ++J;
    Out.append(Bytes.substr(I, J - I));
    if (J < Bytes.size()) Out += Table[static_cast<unsigned char>(Bytes[J++])];
    I = J;
  }
  return Out;
}

// --- splitting -------------------------------------------------------------------------------------

namespace {

bool IsNameChar(char C) {
  return std::isalnum(static_cast<unsigned char>(C)) || C == '-' || C == '_' || C == ':';
}

bool OneOf(std::string_view Name, std::initializer_list<std::string_view> Names) {
  return std::find(Names.begin(), Names.end(), Name) != Names.end();
}

bool IsVoid(std::string_view N) {
  return OneOf(N, {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param", "source",
                   "track", "wbr", "basefont", "bgsound", "frame", "keygen", "image"});
}

bool IsRawText(std::string_view N) {
  return OneOf(N, {"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes", "noscript",
                   "plaintext"});
}

// Elements a cut may pass through: re-opening them in the next piece gives
// the same look.
bool IsCuttable(std::string_view N) {
  return OneOf(N, {"html", "body", "font", "b", "i", "u", "s", "strike", "em", "strong", "span", "a", "small", "big",
                   "tt", "code", "sub", "sup", "center", "div", "p", "blockquote", "nobr", "abbr", "cite", "dfn",
                   "kbd", "samp", "var", "q", "ins", "del", "mark", "address"});
}

// Closing tags after which a cut falls between blocks.
bool IsBlockEnd(std::string_view N) {
  return OneOf(N, {"p", "div", "table", "ul", "ol", "dl", "pre", "h1", "h2", "h3", "h4", "h5", "h6", "blockquote",
                   "center", "address"});
}

// The end of the tag starting at At ('<'), quotes honoured; npos when open.
std::size_t TagEnd(std::string_view S, std::size_t At) {
  char Quote = 0;
  for (std::size_t I = At + 1; I < S.size(); ++I) {
    const char C = S[I];
    if (Quote) {
      if (C == Quote) Quote = 0;
    } else if (C == '"' || C == '\'') {
      // A quote opens a value only after '='; a stray one is text.
      std::size_t K = I;
      while (K > At && (S[K - 1] == ' ' || S[K - 1] == '\t' || S[K - 1] == '\n' || S[K - 1] == '\r')) --K;
      if (K > At && S[K - 1] == '=') Quote = C;
    } else if (C == '>') {
      return I;
    }
  }
  return std::string_view::npos;
}

struct TOpenElement {
  std::string Name;
  std::string_view Tag;  // the opening tag as written
  bool Kept = true;      // false: dropped for depth
};

class TSplitter {
public:
  TSplitter(std::string_view S, const THtmlSplitOptions& O) : FS(S), FOpt(O) {}

  std::vector<THtmlPiece> Run() {
    const std::size_t BodyStart = FindBodyStart();
    FHead = FS.substr(0, BodyStart);
    FSplit = FS.size() - BodyStart > FOpt.SplitAbove;
    std::size_t I = BodyStart;
    const std::size_t N = FS.size();
    while (I < N) {
      const std::size_t Lt = FS.find('<', I);
      if (Lt == std::string_view::npos) {
        FCur.append(FS.substr(I));
        break;
      }
      FCur.append(FS.substr(I, Lt - I));
      I = Tag(Lt);
    }
    Finish(/*Last=*/true);
    return std::move(FPieces);
  }

private:
  std::size_t FindBodyStart() const {
    std::size_t At = 0;
    while ((At = FindNoCase(FS, "<body", At)) != std::string_view::npos) {
      const char Next = At + 5 < FS.size() ? FS[At + 5] : '>';
      if (!IsNameChar(Next)) {
        const std::size_t End = TagEnd(FS, At);
        return End == std::string_view::npos ? FS.size() : End + 1;
      }
      At += 5;
    }
    return 0;
  }

  // Handles the markup at Lt; returns where scanning goes on.
  std::size_t Tag(std::size_t Lt) {
    const std::size_t N = FS.size();
    if (FS.compare(Lt, 4, "<!--") == 0) {
      const std::size_t E = FS.find("-->", Lt + 4);
      const std::size_t Next = E == std::string_view::npos ? N : E + 3;
      FCur.append(FS.substr(Lt, Next - Lt));
      return Next;
    }
    const char C1 = Lt + 1 < N ? FS[Lt + 1] : 0;
    const bool Close = C1 == '/';
    const std::size_t NameAt = Lt + (Close ? 2 : 1);
    if (C1 == '!' || C1 == '?' || (NameAt < N && !std::isalpha(static_cast<unsigned char>(FS[NameAt])))) {
      if (C1 == '!' || C1 == '?') {
        const std::size_t E = FS.find('>', Lt);
        const std::size_t Next = E == std::string_view::npos ? N : E + 1;
        FCur.append(FS.substr(Lt, Next - Lt));
        return Next;
      }
      FCur += '<';  // a lone '<' is text
      return Lt + 1;
    }
    if (NameAt >= N) {
      FCur.append(FS.substr(Lt));
      return N;
    }
    std::size_t NameEnd = NameAt;
    while (NameEnd < N && IsNameChar(FS[NameEnd])) ++NameEnd;
    std::string Name(FS.substr(NameAt, NameEnd - NameAt));
    for (char& C : Name) C = Lower(C);
    const std::size_t End = TagEnd(FS, Lt);
    if (End == std::string_view::npos) {  // an unfinished tag ends the page
      FCur.append(FS.substr(Lt));
      return N;
    }
    const std::string_view Text = FS.substr(Lt, End + 1 - Lt);
    if (Close) CloseTag(Name, Text);
    else return OpenTag(Name, Text, End + 1);
    return End + 1;
  }

  std::size_t OpenTag(const std::string& Name, std::string_view Text, std::size_t After) {
    if (IsRawText(Name)) {
      // Everything up to the matching end tag is the element's text.
      const std::size_t E = FindNoCase(FS, "</" + Name, After);
      std::size_t Next = FS.size();
      if (E != std::string_view::npos) {
        const std::size_t Gt = FS.find('>', E);
        Next = Gt == std::string_view::npos ? FS.size() : Gt + 1;
      }
      FCur.append(FS.substr(Text.data() - FS.data(), Next - std::size_t(Text.data() - FS.data())));
      return Next;
    }
    const bool SelfClosed = Text.size() >= 2 && Text[Text.size() - 2] == '/';
    if (IsVoid(Name) || SelfClosed) {
      if (Name == "br" && CanCut()) {
        Finish(/*Last=*/false);  // the piece's end is the line break
        return After;
      }
      FCur.append(Text);
      if (Name == "hr" && CanCut()) Finish(false);
      return After;
    }
    // Elements that close an open one of their own kind.
    if (!FStack.empty() && FStack.back().Name == Name &&
        OneOf(Name, {"p", "li", "td", "th", "tr", "option", "dt", "dd"}))
      Pop();
    const bool Keep = FKeptDepth < FOpt.MaxDepth;
    FStack.push_back({Name, Text, Keep});
    if (Keep) {
      ++FKeptDepth;
      FCur.append(Text);
    }
    return After;
  }

  void CloseTag(const std::string& Name, std::string_view Text) {
    std::size_t K = FStack.size();
    while (K > 0 && FStack[K - 1].Name != Name) --K;
    if (K == 0) {
      // Nothing to close: the end of the page's frame, or a stray tag the
      // parser will ignore.
      FCur.append(Text);
      return;
    }
    while (FStack.size() > K) Pop(/*Silently=*/true);
    const bool Kept = FStack.back().Kept;
    Pop(true);
    if (Kept) FCur.append(Text);
    if (IsBlockEnd(Name) && CanCut()) Finish(false);
  }

  void Pop(bool /*Silently*/ = true) {
    if (FStack.back().Kept) --FKeptDepth;
    FStack.pop_back();
  }

  bool CanCut() const {
    if (!FSplit || FCur.size() < FOpt.PieceSize) return false;
    return std::all_of(FStack.begin(), FStack.end(), [](const TOpenElement& E) { return IsCuttable(E.Name); });
  }

  void Finish(bool Last) {
    THtmlPiece P;
    P.Bytes = FCur.size();
    P.Text.reserve(FHead.size() + FPrefix.size() + FCur.size() + 64);
    P.Text.append(FHead).append(FPrefix).append(FCur);
    if (!Last) {
      for (auto It = FStack.rbegin(); It != FStack.rend(); ++It)
        if (It->Kept) P.Text.append("</").append(It->Name).append(">");
      // The next piece starts inside the same elements.
      FPrefix.clear();
      for (const TOpenElement& E : FStack) {
        if (!E.Kept) continue;
        if (OneOf(E.Name, {"p", "blockquote", "div", "center", "address"}) &&
            FindNoCase(E.Tag, "style", 0) == std::string_view::npos) {
          // Its top edge was in the previous piece.
          std::string_view T = E.Tag;
          T.remove_suffix(1);
          if (!T.empty() && T.back() == '/') T.remove_suffix(1);
          FPrefix.append(T).append(" style=\"margin-top:0;padding-top:0\">");
        } else {
          FPrefix.append(E.Tag);
        }
      }
    }
    FPieces.push_back(std::move(P));
    FCur.clear();
  }

  std::string_view FS;
  const THtmlSplitOptions& FOpt;
  std::string_view FHead;
  std::string FPrefix;
  std::string FCur;
  std::vector<TOpenElement> FStack;
  int FKeptDepth = 0;
  bool FSplit = false;
  std::vector<THtmlPiece> FPieces;
};

}  // namespace

std::vector<THtmlPiece> SplitHtml(std::string_view Utf8, const THtmlSplitOptions& Options) {
  return TSplitter(Utf8, Options).Run();
}
