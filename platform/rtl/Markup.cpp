#include "platform/rtl/Markup.h"

#include <array>
#include <cstdio>

namespace {

// One table per kind, so the loop is a lookup and a bulk copy of the bytes
// in between.
using TEscapeTable = std::array<const char*, 256>;

constexpr TEscapeTable MakeTable(TMarkupEscape Kind) {
  TEscapeTable T{};
  T['&'] = "&amp;";
  T['<'] = "&lt;";
  T['>'] = "&gt;";
  if (Kind == TMarkupEscape::XmlLines) {
    // A reader rejects the whole document for one control character, so
    // they go rather than stand in as blanks that would change the lines.
    for (int C = 0; C < 0x20; ++C)
      if (C != '\t' && C != '\n' && C != '\r') T[C] = "";
    T[0x7F] = "";
    return T;
  }
  T['"'] = "&quot;";
  if (Kind == TMarkupEscape::HtmlText) T[' '] = "&nbsp;";
  if (Kind == TMarkupEscape::Xml) {
    T['\''] = "&apos;";
    // Control characters other than tab are not XML characters.
    for (int C = 0; C < 0x20; ++C)
      if (C != '\t') T[C] = " ";
  }
  return T;
}

constexpr TEscapeTable XmlTable = MakeTable(TMarkupEscape::Xml);
constexpr TEscapeTable XmlLinesTable = MakeTable(TMarkupEscape::XmlLines);
constexpr TEscapeTable HtmlTextTable = MakeTable(TMarkupEscape::HtmlText);
constexpr TEscapeTable HtmlAttrTable = MakeTable(TMarkupEscape::HtmlAttr);

const TEscapeTable& TableFor(TMarkupEscape Kind) {
  switch (Kind) {
    case TMarkupEscape::HtmlText: return HtmlTextTable;
    case TMarkupEscape::HtmlAttr: return HtmlAttrTable;
    case TMarkupEscape::XmlLines: return XmlLinesTable;
    case TMarkupEscape::Xml: break;
  }
  return XmlTable;
}

}  // namespace

void AppendMarkupEscaped(AnsiString& Out, std::string_view S, TMarkupEscape Kind) {
  const TEscapeTable& Table = TableFor(Kind);
  std::size_t Start = 0;
  for (std::size_t I = 0; I < S.size(); ++I) {
    const char* E = Table[static_cast<unsigned char>(S[I])];
    if (!E) continue;
    Out.append(S, Start, I - Start);
    Out.append(E);
    Start = I + 1;
  }
  Out.append(S, Start, S.size() - Start);
}

AnsiString MarkupEscape(std::string_view S, TMarkupEscape Kind) {
  AnsiString R;
  R.reserve(S.size() + S.size() / 4);
  AppendMarkupEscaped(R, S, Kind);
  return R;
}

AnsiString CssString(std::string_view Name) {
  AnsiString R = "\"";
  for (char C : Name) {
    const unsigned char B = static_cast<unsigned char>(C);
    if (C == '"' || C == '\\') {
      R += '\\';
      R += C;
    } else if (B < 0x20 || B == 0x7F) {
      // A hexadecimal escape ends at the blank after it.
      char Hex[8];
      std::snprintf(Hex, sizeof Hex, "\\%x ", B);
      R += Hex;
    } else {
      R += C;
    }
  }
  return R + "\"";
}
