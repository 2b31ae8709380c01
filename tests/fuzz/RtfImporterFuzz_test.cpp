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
};

const char* const Seeds[] = {
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1 Times;}}"
    "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 Hello\\par\\f1\\b World\\cf1\\highlight1 x}",
    "{\\rtf1{\\stylesheet{\\s1 H;}}{\\info{\\title T}}{\\s1 a\\tab b\\cell c\\row}"
    "\\u8212\\'97\\'e9x\\'e8{\\pict\\bin2 }{}\\~\\-\\\\\\{}",
};

}  // namespace

TEST(RtfImporterFuzz, TrickyInputsImportSoundly) {
  for (const char* T : Tricky) {
    SCOPED_TRACE(T);
    Feed(T);
  }
}

TEST(RtfImporterFuzz, SeededMutationsImportSoundly) {
  FeedMutations(Seeds, 20261210, 3000, "{}\\;'*0123456789-abfuxtrcelpdi \r\n\x81\xFF", [](const std::string& S) { Feed(S); });
}
