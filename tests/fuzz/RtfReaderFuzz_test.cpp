// Replays tricky inputs and seeded mutations of small documents through the
// fuzz entry point, so every CI run covers what the fuzzer checks.
#include <gtest/gtest.h>

#include "fuzz/Mutations.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

namespace {

void Feed(const std::string& S) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(S.data()), S.size());
}

// Inputs that once went wrong or sit on a boundary of the reader.
const char* const Tricky[] = {
    "",
    "{",
    "}",
    "{\\rtf",
    "{\\rtf1\\",
    "{\\rtf1}}}}}}",
    "{\\rtf1{\\*\\",
    "{\\rtf1\\uc-5\\u-99999999999999 ab}",
    "{\\rtf1\\bin2147483647 ",
    "{\\rtf1{\\pict\\wbitmap0\\picw2147483647\\pich2147483647\\wbmbitspixel32\\wbmwidthbytes0 00}}",
    "{\\rtf1{\\pict\\dibitmap0 28000000ffffff7fffffff7f01002000}}",
    "{\\rtf1{\\pict\\wmetafile8\\picwgoal-5 0100090000030c}}",
    "{\\rtf1{\\pict\\emfblip 01000000}}",
    "{\\rtf1\\trowd\\cellx-2147483648\\cellx2147483647\\intbl a\\cell\\cell\\cell\\row}",
    "{\\rtf1\\trowd\\intbl{\\*\\nesttableprops\\nestrow}\\nestcell\\nestrow\\row\\row}",
    // A row redefined to fewer cells than its open paragraphs already name.
    "{\\rtf1\\trowd\\cellx1000\\cellx2000\\intbl a\\cell n\\trowd\\cellx500\\nestrow}",
    "{\\rtf1{\\stylesheet{\\s1\\s2\\s3;}{\\*\\cs1\\cs2}}\\s1\\cs1\\s2 a}",
    "{\\rtf1{\\fonttbl{\\f0{\\f1{\\f2 a;}b;}c;}}\\f0\\f1\\f2 x}",
    "{\\rtf1{\\colortbl;;;;\\red1;}\\cf4\\highlight3\\cb2 x}",
    "{\\rtf1{\\pn{\\pn{\\pntxtb{\\pntxta x}}}}\\par}",
    "{\\rtf1{\\upr{\\upr{\\*\\ud{\\*\\ud x}}}}}",
    "{\\rtf1\\ansicpg932{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 \x81\\\x81{\x81}}",
    "{\\rtf1\\brdrt\\brdrw99999\\brdrs\\box\\brdrcf99\\clbrdrt\\trbrdrv\\brdrs x}",
    "{\\rtf1\\tx1\\tx2\\tx3\\tx4\\tx5\\tx6\\tx7\\tx8\\tx9\\tx10\\tx11\\tx12\\tx13\\tx14\\tx15\\tx16"
    "\\tx17\\tx18\\tx19\\tx20\\tx21\\tx22\\tx23\\tx24\\tx25\\tx26\\tx27\\tx28\\tx29\\tx30\\tx31"
    "\\tx32\\tx33\\tx34 x\\par}",
};

// A handful of seeds that reach most of the reader.
const char* const Seeds[] = {
    "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f1\\fcharset2 Symbol;}}"
    "{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s1\\b\\qc H;}}"
    "\\pard\\s1\\cf1 \\'cf\\u1088?\\f1\\'b7\\f0\\par\\pard\\tqr\\tldot\\tx5000\\li720\\fi-360 a\\tab b\\line c\\par}",
    "{\\rtf1\\trowd\\trgaph108\\clbrdrt\\brdrs\\clcbpat1\\cellx1000\\cellx2000\\pard\\intbl a\\cell"
    "\\itap2 n\\nestcell{\\*\\nesttableprops\\trowd\\cellx500\\nestrow}\\itap1 b\\cell\\row after}",
    "{\\rtf1{\\*\\shppict{\\pict\\pngblip\\picw1\\pich1 89504e470d0a1a0a0000}}"
    "{\\nonshppict{\\pict\\wmetafile8 010009000003}}{\\pict\\jpegblip\\bin2 \xFF\xD8}"
    "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}item\\par}",
};

}  // namespace

TEST(RtfReaderFuzz, TrickyInputsLoadSoundly) {
  for (const char* T : Tricky) {
    SCOPED_TRACE(T);
    Feed(T);
  }
}

TEST(RtfReaderFuzz, SeededMutationsLoadSoundly) {
  FeedMutations(Seeds, 20240601, 1500, "{}\\;'*0123456789-abfuxtrcelpd \r\n\x81\xFF", [](const std::string& S) { Feed(S); });
}
