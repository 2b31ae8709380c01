// RtfWords.cpp — the control-word table of the RTF reader.
#include <string>
#include <unordered_map>

#include "platform/richedit/RtfReader_p.h"

namespace RtfInternal {

namespace {

struct TWordTable {
  std::unordered_map<std::string_view, TRtfWord> Words;
  std::vector<bool> Destinations;

  TWordTable() {
#define SX_RTF_ADD(N) Words.emplace(#N, TRtfWord::N);
    SX_RTF_WORDS(SX_RTF_ADD, SX_RTF_ADD)
#undef SX_RTF_ADD
    Destinations.assign(Words.size() + 1, false);
#define SX_RTF_NONE(N)
#define SX_RTF_DEST(N) Destinations[size_t(TRtfWord::N)] = true;
    SX_RTF_WORDS(SX_RTF_NONE, SX_RTF_DEST)
#undef SX_RTF_NONE
#undef SX_RTF_DEST
    // Words that act as another: every border style draws a border, and
    // the doubled strike-out is a strike-out.
    for (const char* Style :
         {"brdrs", "brdrth", "brdrsh", "brdrdb", "brdrdot", "brdrdash", "brdrhair", "brdrinset",
          "brdroutset", "brdrtriple", "brdrwavy", "brdrwavydb", "brdrdashsm", "brdrdashd",
          "brdrdashdd", "brdrdashdotstr", "brdrengrave", "brdremboss", "brdrframe",
          "brdrtnthsg", "brdrthtnsg", "brdrtnthtnsg", "brdrtnthmg", "brdrthtnmg", "brdrtnthtnmg",
          "brdrtnthlg", "brdrthtnlg", "brdrtnthtnlg"})
      Words.emplace(Style, TRtfWord::brdrstyle);
    for (const char* None : {"brdrnil", "brdrtbl"}) Words.emplace(None, TRtfWord::brdrnone);
    Words.erase("brdrstyle");
    // Skipped destinations whose names are C++ keywords.
    for (const char* Skip : {"do", "template"}) Words.emplace(Skip, TRtfWord::info);
  }
};

const TWordTable& Table() {
  static const TWordTable T;
  return T;
}

}  // namespace

TRtfWord LookupRtfWord(std::string_view Name) {
  const auto& W = Table().Words;
  auto It = W.find(Name);
  return It == W.end() ? TRtfWord::Unknown : It->second;
}

bool IsRtfDestinationWord(TRtfWord W) {
  const auto& D = Table().Destinations;
  return size_t(W) < D.size() && D[size_t(W)];
}

}  // namespace RtfInternal
