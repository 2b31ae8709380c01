// Markup.h — text made safe for a markup document: the one escaper that the
// HTML, SVG and PDF (metadata packet) writers share, and quoting of a name
// inside a style sheet.
#pragma once
#include <string_view>

#include "platform/rtl/Types.h"

enum class TMarkupEscape {
  Xml,       // XML text or attribute: & < > " ' escaped, control characters blank
  XmlLines,  // XML element text whose line ends matter: & < > escaped, tab and line ends
             // kept, other control characters and DEL left out
  HtmlText,  // HTML text: & < > " escaped and every blank a hard space
  HtmlAttr,  // HTML attribute value: & < > " escaped
};

// Appends S to Out with the characters that Kind must not hold literally
// written as references.
void AppendMarkupEscaped(AnsiString& Out, std::string_view S, TMarkupEscape Kind);
AnsiString MarkupEscape(std::string_view S, TMarkupEscape Kind);

// Name as one string of a style sheet ("Arial", with quotes): whatever it
// holds, a reader takes it as a single name. Quotes, backslashes, and line
// ends and other control characters are written as escapes, so a name can
// neither end the declaration nor start another. Escape the result for
// its markup context as well.
AnsiString CssString(std::string_view Name);
