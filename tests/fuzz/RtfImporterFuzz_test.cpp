// Replays tricky inputs and seeded mutations of small documents through the
// RTF importer's fuzz entry, so every CI run covers what the fuzzer checks.
#include <gtest/gtest.h>

#include "fuzz/Mutations.h"

#include <cstdint>
#include <random>
#include <string>

extern "C" int RtfImporterFuzzOne(const std::uint8_t* Data, std::size_t Size);

namespace {

void Feed(const std::string& S) {
  RtfImporterFuzzOne(reinterpret_cast<const std::uint8_t*>(S.data()), S.size());
}

// Inputs on a boundary of the importer.
const char* const Tricky[] = {
    "",
    "{",
    "}}}}",
    "{\\rtf",
    "{\\rtf1\\",
    "{\\rtf1\\'",
    "{\\rtf1\\'4",
    "{\\rtf1 a\\'0d\\'0ab\\'00c\\'0d}",
    "{\\rtf1 a\\u13?b\\u10?c\\u0?d\\u-65523?}",
    "{\\rtf1\\u",
    "{\\rtf1\\u-",
    "{\\rtf1\\u-99999999999999 ab}",
    "{\\rtf1\\u2147483647?\\u-2147483648?}",
    "{\\rtf1\\fs99999999999 a\\fs-\\fs}",
    "{\\rtf1\\fs2147483647 a}",
    "{\\rtf1{\\fonttbl{\\f99999999999 A;}{\\f-5 B;}{\\f2147483647 C;}}\\f2147483647 x\\f-1 y}",
    "{\\rtf1{\\colortbl;\\red99999\\green-5\\blue2147483647;;;}\\cf1\\highlight2\\cf-1\\cf99999999999 x}",
    "{\\rtf1{\\pict\\bin2147483647 ",
    "{\\rtf1{\\pict\\bin-5 }}x}",
    "{\\rtf1\\bin5 ab",
    "{\\rtf1{\\fonttbl{\\f0\\fcharset99999999999 A;}}}",
    "{\\rtf1{\\colortbl",
    "{\\rtf1{\\fonttbl",
    "{\\rtf1{\\*",
    "{\\rtf1\\b\\i\\ul\\strike\\plain\\ulnone\\b0\\i0",
    "\\\\\\{\\}\\~\\-\\_\\*\\\r\n\\",
    "{\\rtf1\\uc99999999999\\u8364\\'41 a\\uc-3\\u8364?b\\uc\\u8364 c\\uc5\\u8364{x}}",
    "{\\rtf1\\ansicpg99999999999\\ansicpg-1\\ansicpg42{\\fonttbl{\\f0 A;}}\\f0\\'e9\\u1059?}",
    "{\\rtf1{\\fonttbl{\\f0\\fcharset134 S;}{\\f1\\fcharset2 Sym;}{\\f2\\fcharset77 Mac;}}\\f0\\u-1?\\u55357?\\u56832?\\f1\\u61514?\\f2\\u233?}",
    "{\\rtf1\\v{\\v0 a\\plain b}\\v c{\\*\\bkmkstart x} d{\\header{\\footnote e}}\\loch\r\nf}",
};

template <size_t N>
std::string Bytes(const char (&S)[N]) {
  return std::string(S, N - 1);
}

// Inputs with NUL bytes, which a C string cannot hold.
const std::string WithNuls[] = {
    Bytes("{\\rtf1 a\0b\\'\0\0\\u\0-5\\\0x{\0\\*\0}}"),
    Bytes("\0{\\rtf1\0"),
    Bytes("{\\rtf1{\\fonttbl{\\f0\0 A;\0}}\\f0\0\\fs\0 24 x}"),
};

const char* const Seeds[] = {
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1 Times;}}"
    "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 Hello\\par\\f1\\b World\\cf1\\highlight1 x}",
    "{\\rtf1{\\stylesheet{\\s1 H;}}{\\info{\\title T}}{\\s1 a\\tab b\\cell c\\row}"
    "\\u8212\\'97\\'e9x\\'e8{\\pict\\bin2 }{}\\~\\-\\\\\\{}",
    "{\\rtf1\\ansi\\ansicpg1251\\uc2{\\fonttbl{\\f0 T;}{\\f1\\fcharset134 S;}}\\f0\\'d3\\u1059\\'d3\\'d3 a"
    "{\\f1\\uc1\\u27979?\\v h\\v0 }{\\*\\bkmkstart b} c{\\field{\\fldinst x}{\\fldrslt r}}\\nestcell\\loch\r\nz}",
};

}  // namespace

TEST(RtfImporterFuzz, TrickyInputsImportSoundly) {
  for (const char* T : Tricky) {
    SCOPED_TRACE(T);
    Feed(T);
  }
}

TEST(RtfImporterFuzz, InputsWithNulBytesImportSoundly) {
  for (const std::string& T : WithNuls) Feed(T);
}

TEST(RtfImporterFuzz, SeededMutationsImportSoundly) {
  FeedMutations(Seeds, 20261210, 3000, "{}\\;'*0123456789-abfuxtrcelpdi \r\n\x81\xFF", [](const std::string& S) { Feed(S); });
}
