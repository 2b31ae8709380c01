// BenchDocuments.h — the RTF document the import and export benchmarks read:
// a paragraph with the usual run changes (bold, italic, colour, face, size,
// hex and Unicode characters, a TAB) repeated to the size asked for.
#pragma once

#include "platform/rtl/Types.h"

namespace bench {

inline AnsiString MakeDocument(size_t Size) {
  AnsiString D =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 "
      "Times New Roman;}{\\f2\\fmodern Courier New;}}\n{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0"
      "\\blue255;}\n{\\*\\generator Bench;}\\viewkind4\\uc1\\pard\\f0\\fs20 ";
  const char* Para =
      "\\pard\\li720\\sa120 The {\\b quick} brown fox \\i jumps\\i0  over the {\\cf1 lazy} dog; "
      "caf\\'e9, na\\'efve \\u8212\\'97 {\\f1\\fs28 larger text in another face} and {\\highlight2 marked} "
      "words\\tab with a tab.\\par\n";
  while (D.size() < Size) D += Para;
  D += "}";
  return D;
}

}  // namespace bench
