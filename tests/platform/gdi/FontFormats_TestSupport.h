// FontFormats_TestSupport.h — one installed face of each outline format,
// found through fontconfig by its format, for the tests that carry a face
// of every kind through measuring, drawing, metafiles and export.
//
// Desktops install Type 1 faces beside OpenType twins of the same name, and
// the font layer rightly prefers the twin; the Type 1 case therefore takes
// an installed Type 1 program under a family name of its own (the name sits
// in the program's clear text), added to fontconfig for this process only.
#pragma once
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace fonttest {

struct TFormatCase {
  const char* Name;      // for the test's trace
  const char* Format;    // fontconfig's FC_FONTFORMAT
  const char* Suffix;    // the file's extension, when it decides the case
  const char* PdfType;   // what pdffonts calls the embedded font
};

inline const TFormatCase FormatCases[] = {
    {"TrueType", "TrueType", ".ttf", "TrueType"},
    {"collection member", "TrueType", ".ttc", "TrueType"},
    {"OpenType CFF", "CFF", ".otf", "Type 1C (OT)"},
    {"Type 1", "Type 1", ".t1", "Type 1"},
};

struct TFace {
  std::string Family;
  std::string File;
};

inline bool EndsWith(const std::string& S, const std::string& Tail) {
  return S.size() >= Tail.size() && S.compare(S.size() - Tail.size(), Tail.size(), Tail) == 0;
}

// Regular faces of that format whose file ends with Suffix, Latin ones first.
inline std::vector<TFace> FacesOfFormat(const char* Format, const char* Suffix) {
  FcInit();
  FcPattern* Pat = FcPatternCreate();
  FcPatternAddString(Pat, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>(Format));
  FcPatternAddBool(Pat, FC_SCALABLE, FcTrue);
  FcObjectSet* Os = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_WEIGHT, FC_SLANT, FC_CHARSET, nullptr);
  FcFontSet* Set = FcFontList(nullptr, Pat, Os);
  std::vector<TFace> Latin, Other;
  for (int K = 0; Set && K < Set->nfont; ++K) {
    FcPattern* P = Set->fonts[K];
    FcChar8* Family = nullptr;
    FcChar8* File = nullptr;
    int Weight = 0, Slant = 0;
    FcCharSet* Chars = nullptr;
    if (FcPatternGetString(P, FC_FAMILY, 0, &Family) != FcResultMatch ||
        FcPatternGetString(P, FC_FILE, 0, &File) != FcResultMatch)
      continue;
    FcPatternGetInteger(P, FC_WEIGHT, 0, &Weight);
    FcPatternGetInteger(P, FC_SLANT, 0, &Slant);
    const std::string Path = reinterpret_cast<const char*>(File);
    if (!EndsWith(Path, Suffix) || Weight < FC_WEIGHT_BOOK || Weight >= FC_WEIGHT_DEMIBOLD || Slant != FC_SLANT_ROMAN) continue;
    const bool HasLatin = FcPatternGetCharSet(P, FC_CHARSET, 0, &Chars) == FcResultMatch &&
                          FcCharSetHasChar(Chars, 'H') && FcCharSetHasChar(Chars, 'g');
    (HasLatin ? Latin : Other).push_back({reinterpret_cast<const char*>(Family), Path});
  }
  if (Set) FcFontSetDestroy(Set);
  FcObjectSetDestroy(Os);
  FcPatternDestroy(Pat);
  Latin.insert(Latin.end(), Other.begin(), Other.end());
  return Latin;
}

// An installed Type 1 text program copied under the family name Family into
// the process's font folder and added to fontconfig; empty when no such
// program is installed.
inline std::optional<TFace> RenamedType1Copy(const std::string& Family) {
  for (const TFace& F : FacesOfFormat("Type 1", "")) {
    std::string Program = sxtest::ReadFile(F.File);
    if (Program.rfind("%!", 0) != 0) continue;  // a PFB: its segment lengths would change
    const std::string Key = "/FamilyName (";
    const std::size_t At = Program.find(Key), End = At == std::string::npos ? At : Program.find(')', At);
    if (End == std::string::npos) continue;
    Program.replace(At + Key.size(), End - At - Key.size(), Family);
    static const struct TFolder {
      std::filesystem::path Path =
          std::filesystem::temp_directory_path() / ("sxfonts_" + std::to_string(getpid()));
      ~TFolder() { std::filesystem::remove_all(Path); }
    } Folder;
    std::filesystem::create_directories(Folder.Path);
    std::string Name = Family;
    for (char& C : Name)
      if (C == ' ') C = '_';
    const std::string Path = (Folder.Path / (Name + ".t1")).string();
    std::ofstream(Path, std::ios::binary) << Program;
    if (!FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(Path.c_str()))) continue;
    return TFace{Family, Path};
  }
  return std::nullopt;
}

inline std::optional<TFace> RenamedType1Face() {
  static const std::optional<TFace> Made = RenamedType1Copy("Sxtest Type One");
  return Made;
}

// The face of that case, or empty when none is installed.
inline std::optional<TFace> FaceFor(const TFormatCase& C) {
  if (std::string(C.Format) == "Type 1") return RenamedType1Face();
  const auto Faces = FacesOfFormat(C.Format, C.Suffix);
  if (Faces.empty()) return std::nullopt;
  return Faces.front();
}

}  // namespace fonttest
