#include "platform/gdi/FontEngine.h"
#include "platform/rtl/ByteOrder.h"
#include "platform/rtl/CodePages.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_BITMAP_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_IDS_H
#include FT_FONT_FORMATS_H
#include FT_SIZES_H
#include FT_TYPE1_TABLES_H
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <cstdio>
#include <map>
#include <optional>
#include <tuple>
#include <mutex>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "platform/gdi/FontMarlett.h"
#include "platform/gdi/FontSfnt.h"
#include "platform/rtl/Exceptions.h"

namespace {

// ---- small helpers -------------------------------------------------------

// Null when FreeType cannot start: no face opens, and every font falls back
// to the built-in one.
FT_Library Library() {
  static FT_Library Lib = [] {
    FT_Library L = nullptr;
    return FT_Init_FreeType(&L) == 0 ? L : nullptr;
  }();
  return Lib;
}

std::string ToUtf8(std::u16string_view S) { return UTF8Encode(WideString(S)); }

std::u16string FromUtf8(std::string_view S) {
  std::u16string Out;
  for (size_t I = 0; I < S.size();) {
    unsigned char B = S[I];
    char32_t C;
    int N;
    if (B < 0x80) { C = B; N = 1; }
    else if ((B & 0xE0) == 0xC0) { C = B & 0x1F; N = 2; }
    else if ((B & 0xF0) == 0xE0) { C = B & 0x0F; N = 3; }
    else if ((B & 0xF8) == 0xF0) { C = B & 0x07; N = 4; }
    else { Out += u'\xFFFD'; ++I; continue; }
    if (I + N > S.size()) { Out += u'\xFFFD'; break; }
    for (int K = 1; K < N; ++K) C = (C << 6) | (static_cast<unsigned char>(S[I + K]) & 0x3F);
    I += N;
    if (C >= 0x10000) {
      C -= 0x10000;
      Out += char16_t(0xD800 + (C >> 10));
      Out += char16_t(0xDC00 + (C & 0x3FF));
    } else {
      Out += char16_t(C);
    }
  }
  return Out;
}

std::u16string FaceNameOf(const LOGFONTW& Lf) {
  size_t N = 0;
  while (N < LF_FACESIZE && Lf.lfFaceName[N]) ++N;
  return std::u16string(Lf.lfFaceName, N);
}

std::string Lower(std::string S) {
  for (auto& C : S) C = char(std::tolower(static_cast<unsigned char>(C)));
  return S;
}

}  // namespace

// ---- font files ------------------------------------------------------------

// A face on disk, loaded once for the whole process: the file mapped, its
// sfnt directory when it has one, and one FreeType face that every
// realized size of it shares (each instance scales it through an FT_Size
// of its own). Lock serializes the face's glyph slot and size activation.
class TFontFile {
public:
  std::string Path;
  int Index = 0;
  TFontFormat Format = TFontFormat::Other;
  const std::uint8_t* Data = nullptr;  // the whole file, mapped
  std::size_t Size = 0;
  TSfntDirectory Dir;                  // invalid for Type 1 and other non-sfnt files
  FT_Face Face = nullptr;
  bool SymbolCmap = false;  // the face's own cmap is a (3,0) symbol cmap
  // The glyph of each code below 0x800 looked up so far (UINT32_MAX: not
  // yet), under Lock: text measures every character, most of them in this range.
  std::vector<std::uint32_t> LowGlyphs;
  int Weight = FW_NORMAL;   // OS/2 usWeightClass, or the face's bold flag
  bool Italic = false;      // OS/2 fsSelection italic or oblique, or the face's italic flag
  std::mutex Lock;

  ~TFontFile();
  // The face of the cache, opened on first use; null (and the path in the
  // error log once) when the file cannot be read or has no outlines.
  static std::shared_ptr<TFontFile> Open(const std::string& Path, int Index);
  // The bytes GetFontData answers for table 0: the face as a standalone sfnt.
  std::string_view StandaloneFace();

private:
  std::vector<std::uint8_t> FStandalone;  // cut out of a collection on demand
  bool FCut = false;
};

namespace {

std::mutex& FileCacheLock() {
  static std::mutex M;
  return M;
}

void LogUnreadableFace(const std::string& Path, const char* Why) {
  static std::set<std::string> Logged;
  if (Logged.insert(Path).second) std::fprintf(stderr, "Font file %s skipped: %s\n", Path.c_str(), Why);
}

}  // namespace

TFontFile::~TFontFile() {
  if (Face) FT_Done_Face(Face);
  if (Data) munmap(const_cast<std::uint8_t*>(Data), Size);
}

std::string_view TFontFile::StandaloneFace() {
  if (!Dir.Valid()) return {};
  if (!Dir.IsCollection()) return {reinterpret_cast<const char*>(Data), Size};
  std::lock_guard<std::mutex> G(Lock);
  if (!FCut) {
    FStandalone = Dir.StandaloneFace();
    FCut = true;
  }
  return {reinterpret_cast<const char*>(FStandalone.data()), FStandalone.size()};
}

std::shared_ptr<TFontFile> TFontFile::Open(const std::string& Path, int Index) {
  // Held across the open: FreeType's library is not to be used by two
  // threads at once, and a face is loaded once however many ask.
  std::lock_guard<std::mutex> G(FileCacheLock());
  static std::map<std::pair<std::string, int>, std::shared_ptr<TFontFile>> Cache;
  const auto Key = std::make_pair(Path, Index);
  if (auto It = Cache.find(Key); It != Cache.end()) return It->second;
  std::shared_ptr<TFontFile>& Slot = Cache[Key];  // a failure is remembered as null
  const int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
  if (Fd < 0) {
    LogUnreadableFace(Path, "cannot be opened");
    return nullptr;
  }
  struct stat St{};
  void* Map = MAP_FAILED;
  if (fstat(Fd, &St) == 0 && St.st_size > 0) Map = mmap(nullptr, std::size_t(St.st_size), PROT_READ, MAP_PRIVATE, Fd, 0);
  ::close(Fd);
  if (Map == MAP_FAILED) {
    LogUnreadableFace(Path, "cannot be read");
    return nullptr;
  }
  auto F = std::make_shared<TFontFile>();
  F->Path = Path;
  F->Index = Index;
  F->Data = static_cast<const std::uint8_t*>(Map);
  F->Size = std::size_t(St.st_size);
  FT_Library Lib = Library();
  if (!Lib || FT_New_Memory_Face(Lib, F->Data, FT_Long(F->Size), FT_Long(Index), &F->Face) != 0) {
    F->Face = nullptr;
    LogUnreadableFace(Path, "not a font FreeType can read");
    return nullptr;
  }
  if (!FT_IS_SCALABLE(F->Face)) {
    LogUnreadableFace(Path, "has no outlines");
    return nullptr;
  }
  F->Dir = TSfntDirectory(F->Data, F->Size, Index);
  const char* Kind = FT_Get_Font_Format(F->Face);
  if (F->Dir.Valid()) F->Format = F->Dir.HasCFF() ? TFontFormat::OpenTypeCFF : TFontFormat::TrueType;
  else if (Kind && std::strcmp(Kind, "Type 1") == 0) F->Format = TFontFormat::Type1;
  if (FT_Select_Charmap(F->Face, FT_ENCODING_UNICODE) != 0 && FT_Select_Charmap(F->Face, FT_ENCODING_MS_SYMBOL) == 0)
    F->SymbolCmap = true;
  // The style the file really has decides what must be synthesized;
  // fontconfig reports the requested style for faces it would embolden.
  if (const auto* Os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(F->Face, FT_SFNT_OS2)); Os2 && Os2->version != 0xFFFF) {
    F->Weight = Os2->usWeightClass ? Os2->usWeightClass : FW_NORMAL;
    F->Italic = (Os2->fsSelection & 0x0201) != 0;
  } else {
    F->Weight = (F->Face->style_flags & FT_STYLE_FLAG_BOLD) ? FW_BOLD : FW_NORMAL;
    F->Italic = (F->Face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  }
  Slot = F;
  return F;
}

std::vector<std::uint8_t> ExtractCollectionFace(const std::vector<std::uint8_t>& Collection, int Index) {
  if (Collection.size() < 4 || std::memcmp(Collection.data(), "ttcf", 4) != 0)
    throw EInvalidGraphic("Not a font collection");
  const TSfntDirectory Dir(Collection.data(), Collection.size(), Index);
  if (!Dir.Complete()) throw EInvalidGraphic("Font collection has no readable face " + std::to_string(Index));
  return Dir.StandaloneFace();
}
// ---- face resolution ---------------------------------------------------------

namespace {

struct TAlias { const char* Windows; const char* Family; };
// Windows core faces and the metric-compatible families that stand in for them.
const TAlias Aliases[] = {
    {"arial", "Liberation Sans"},         {"helvetica", "Liberation Sans"},
    {"arial narrow", "Liberation Sans Narrow"},
    {"times new roman", "Liberation Serif"}, {"times", "Liberation Serif"},
    {"courier new", "Liberation Mono"},    {"courier", "Liberation Mono"},
    {"tahoma", "DejaVu Sans"},             {"ms sans serif", "DejaVu Sans"},
    {"microsoft sans serif", "DejaVu Sans"}, {"ms shell dlg", "DejaVu Sans"},
    {"ms shell dlg 2", "DejaVu Sans"},     {"verdana", "DejaVu Sans"},
    {"segoe ui", "DejaVu Sans"},           {"system", "DejaVu Sans"},
    {"ms serif", "Liberation Serif"},      {"symbol", "DejaVu Sans"},
};

const char* AliasFamily(const std::string& LowerName) {
  for (const auto& A : Aliases)
    if (LowerName == A.Windows) return A.Family;
  return nullptr;
}

// The weight and slant Lf asks for, scalable faces only, and what
// fontconfig fills in around them. Answers the weight asked for (1 to 1000).
int AddStyleAndSubstitute(FcPattern* Pat, const LOGFONTW& Lf) {
  const int Weight = Lf.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<int>(Lf.lfWeight, 1, 1000);
  FcPatternAddInteger(Pat, FC_WEIGHT, FcWeightFromOpenType(Weight));
  FcPatternAddInteger(Pat, FC_SLANT, Lf.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(Pat, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, Pat, FcMatchPattern);
  FcDefaultSubstitute(Pat);
  return Weight;
}
}  // namespace

namespace {

// The candidate's file when fontconfig lists it as scalable and it opens.
std::shared_ptr<TFontFile> OpenCandidate(FcPattern* P, std::string& FamilyName) {
  FcBool Scalable = FcTrue;
  if (FcPatternGetBool(P, FC_SCALABLE, 0, &Scalable) == FcResultMatch && !Scalable) return nullptr;
  FcChar8* File = nullptr;
  FcChar8* Family = nullptr;
  int Index = 0;
  if (FcPatternGetString(P, FC_FILE, 0, &File) != FcResultMatch || !File) return nullptr;
  FcPatternGetInteger(P, FC_INDEX, 0, &Index);
  auto F = TFontFile::Open(reinterpret_cast<const char*>(File), Index & 0xFFFF);
  if (F && FcPatternGetString(P, FC_FAMILY, 0, &Family) == FcResultMatch && Family)
    FamilyName = reinterpret_cast<const char*>(Family);
  return F;
}

// The file fontconfig ranks first for the pattern among those that open:
// its best match, or when that cannot be read, the next in its sorted list.
// The same family and style in an sfnt file (OpenType CFF or TrueType),
// when the face matched is a Type 1 one: the same design, and the PDF
// writer can carry it also in composite fonts.
std::shared_ptr<TFontFile> SfntTwin(FcPattern* Match, std::string& FamilyName) {
  FcChar8* Family = nullptr;
  FcChar8* Style = nullptr;
  if (FcPatternGetString(Match, FC_FAMILY, 0, &Family) != FcResultMatch || !Family) return nullptr;
  if (FcPatternGetString(Match, FC_STYLE, 0, &Style) != FcResultMatch || !Style) return nullptr;
  std::shared_ptr<TFontFile> F;
  for (const char* Format : {"CFF", "TrueType"}) {
    FcPattern* Want = FcPatternCreate();
    FcPatternAddString(Want, FC_FAMILY, Family);
    FcPatternAddString(Want, FC_STYLE, Style);
    FcPatternAddString(Want, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>(Format));
    FcObjectSet* Os = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_SCALABLE, nullptr);
    FcFontSet* Set = FcFontList(nullptr, Want, Os);
    for (int K = 0; Set && K < Set->nfont && !F; ++K) F = OpenCandidate(Set->fonts[K], FamilyName);
    if (Set) FcFontSetDestroy(Set);
    FcObjectSetDestroy(Os);
    FcPatternDestroy(Want);
    if (F) break;
  }
  return F;
}

std::shared_ptr<TFontFile> MatchFile(FcPattern* Pat, std::string& FamilyName) {
  FcResult Res = FcResultNoMatch;
  if (FcPattern* Match = FcFontMatch(nullptr, Pat, &Res)) {
    auto F = OpenCandidate(Match, FamilyName);
    if (F && F->Format == TFontFormat::Type1)
      if (auto Twin = SfntTwin(Match, FamilyName)) F = Twin;
    FcPatternDestroy(Match);
    if (F) return F;
  }
  FcFontSet* Set = FcFontSort(nullptr, Pat, FcFalse, nullptr, &Res);
  std::shared_ptr<TFontFile> F;
  for (int K = 0; Set && K < Set->nfont && !F; ++K) F = OpenCandidate(Set->fonts[K], FamilyName);
  if (Set) FcFontSetDestroy(Set);
  return F;
}

}  // namespace

TResolvedFace ResolveFontFace(const LOGFONTW& Lf) {
  TResolvedFace R;
  const std::u16string Requested = FaceNameOf(Lf);
  const std::string Name = ToUtf8(Requested);
  const std::string Low = Lower(Name);
  if (Low == "marlett") {
    R.Kind = TResolvedFace::TKind::Marlett;
    R.FaceName = u"Marlett";
    return R;
  }
  std::string Family;
  if (const char* A = AliasFamily(Low)) {
    Family = A;
    R.FaceName = Requested;
  } else if (!Name.empty()) {
    Family = Name;
  } else {
    // No face: pick by pitch and family as the mapper does.
    const BYTE Fam = Lf.lfPitchAndFamily & 0xF0;
    if ((Lf.lfPitchAndFamily & 0x03) == FIXED_PITCH || Fam == FF_MODERN) Family = "Liberation Mono";
    else if (Fam == FF_ROMAN) Family = "Liberation Serif";
    else Family = "Liberation Sans";
  }
  if (Low == "symbol") R.SymbolMap = true;
  const int Weight = Lf.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<int>(Lf.lfWeight, 1, 1000);

  // One answer per family and style for the whole process: every size of
  // a face resolves to the same file.
  struct TAnswer {
    std::shared_ptr<TFontFile> File;
    std::string Family;
  };
  static std::mutex Lock;
  static std::map<std::tuple<std::string, int, bool>, TAnswer> Answers;
  const auto Key = std::make_tuple(Lower(Family), Weight, Lf.lfItalic != 0);
  TAnswer A;
  {
    std::lock_guard<std::mutex> G(Lock);
    if (auto It = Answers.find(Key); It != Answers.end()) A = It->second;
  }
  if (!A.File) {
    FcPattern* Pat = FcPatternCreate();
    FcPatternAddString(Pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
    AddStyleAndSubstitute(Pat, Lf);
    A.File = MatchFile(Pat, A.Family);
    FcPatternDestroy(Pat);
    if (!A.File) {
      // Nothing installed opens: the built-in face draws, under the name asked for.
      R.Kind = TResolvedFace::TKind::Marlett;
      R.FaceName = Requested.empty() ? u"System" : Requested;
      return R;
    }
    std::lock_guard<std::mutex> G(Lock);
    Answers[Key] = A;
  }
  R.File = A.File;
  if (R.FaceName.empty()) R.FaceName = FromUtf8(A.Family);
  R.SynthBold = Weight >= FW_SEMIBOLD && R.File->Weight < FW_SEMIBOLD;
  R.SynthItalic = Lf.lfItalic && !R.File->Italic;
  return R;
}

std::u16string FindFaceForCharacter(char32_t Ch, const LOGFONTW& Lf) {
  if (Ch == 0 || Ch > 0x10FFFF) return {};
  FcCharSet* Want = FcCharSetCreate();
  FcCharSetAddChar(Want, FcChar32(Ch));
  FcPattern* Pat = FcPatternCreate();
  FcPatternAddCharSet(Pat, FC_CHARSET, Want);
  AddStyleAndSubstitute(Pat, Lf);
  FcResult Res = FcResultNoMatch;
  // The sorted list puts covering faces first, but the best match alone may
  // still lack the character: each candidate's own coverage decides.
  FcFontSet* Set = FcFontSort(nullptr, Pat, FcFalse, nullptr, &Res);
  FcPatternDestroy(Pat);
  FcCharSetDestroy(Want);
  std::string Found, FoundOther;
  for (int K = 0; Set && K < Set->nfont && Found.empty(); ++K) {
    FcPattern* F = Set->fonts[K];
    FcCharSet* Has = nullptr;
    FcChar8* Family = nullptr;
    FcBool Scalable = FcFalse;
    if (FcPatternGetCharSet(F, FC_CHARSET, 0, &Has) != FcResultMatch || !FcCharSetHasChar(Has, FcChar32(Ch))) continue;
    if (FcPatternGetBool(F, FC_SCALABLE, 0, &Scalable) == FcResultMatch && !Scalable) continue;
    if (FcPatternGetString(F, FC_FAMILY, 0, &Family) != FcResultMatch || !Family) continue;
    // A family a LOGFONT cannot name could not be selected again.
    if (FromUtf8(reinterpret_cast<const char*>(Family)).size() >= LF_FACESIZE) continue;
    FcChar8* Format = nullptr;
    const bool TrueType = FcPatternGetString(F, FC_FONTFORMAT, 0, &Format) == FcResultMatch && Format &&
                          std::strcmp(reinterpret_cast<const char*>(Format), "TrueType") == 0;
    if (TrueType) Found = reinterpret_cast<const char*>(Family);
    else if (FoundOther.empty()) FoundOther = reinterpret_cast<const char*>(Family);
  }
  if (Set) FcFontSetDestroy(Set);
  return FromUtf8(Found.empty() ? FoundOther : Found);
}

// ---- instances ---------------------------------------------------------------

struct TFontInstance::TGlyphSlot {
  bool Ready = false;
  TGlyphBitmap Bitmap;
};

struct TFontInstance::TImpl {
  FT_Face Face = nullptr;         // the file's shared face
  FT_Size Size = nullptr;         // this instance's scale of it
  TFontFile* File = nullptr;
  double XScale = 0, YScale = 0;  // pixels per font unit
  FT_Matrix Transform{0x10000, 0, 0, 0x10000};
  bool Rotated = false;
  bool Mono = false;
  bool SymbolCmap = false;        // the face's own cmap is a (3,0) symbol cmap
  // Per glyph id, made on first use: many instances only answer metrics
  // (enumeration, the export engines' font tables), and a face with tens of
  // thousands of glyphs would otherwise cost a megabyte per size.
  std::size_t GlyphCount = 1;
  mutable std::vector<std::int32_t> Advances;  // INT32_MIN = not yet measured
  mutable std::vector<TGlyphSlot> Glyphs;
  // Faces that drew characters this one lacks, in the order they were
  // needed, and for each character met which of them draws it (-1: none).
  mutable std::vector<std::shared_ptr<TFontInstance>> Fallbacks;
  mutable std::unordered_map<char32_t, int> FallbackOf;
  ~TImpl() {
    if (Size) {
      std::lock_guard<std::mutex> G(File->Lock);
      FT_Done_Size(Size);
    }
  }
};

namespace {

struct TLogFontKeyHash {
  size_t operator()(const std::string& S) const { return std::hash<std::string>()(S); }
};

std::string KeyOf(const LOGFONTW& Lf) {
  // The record has no padding holes that matter: compare it field by field
  // through a canonical byte image.
  std::string K;
  auto Add = [&](const void* P, size_t N) { K.append(static_cast<const char*>(P), N); };
  Add(&Lf.lfHeight, 4); Add(&Lf.lfWidth, 4); Add(&Lf.lfEscapement, 4); Add(&Lf.lfOrientation, 4);
  Add(&Lf.lfWeight, 4);
  BYTE B[8] = {Lf.lfItalic != 0, Lf.lfUnderline != 0, Lf.lfStrikeOut != 0, Lf.lfCharSet,
               Lf.lfOutPrecision, Lf.lfClipPrecision, Lf.lfQuality, Lf.lfPitchAndFamily};
  Add(B, 8);
  std::u16string Face = FaceNameOf(Lf);
  std::string Low = Lower(ToUtf8(Face));
  K += Low;
  return K;
}

int RoundI(double V) { return int(std::lround(V)); }

}  // namespace

std::shared_ptr<TFontInstance> TFontInstance::Get(const LOGFONTW& DeviceLf) {
  static std::mutex Lock;
  static std::unordered_map<std::string, std::shared_ptr<TFontInstance>, TLogFontKeyHash> Cache;
  const std::string Key = KeyOf(DeviceLf);
  std::lock_guard<std::mutex> G(Lock);
  if (auto It = Cache.find(Key); It != Cache.end()) return It->second;
  if (Cache.size() >= 512) {
    // Drop the instances nobody holds any more; their glyphs go with them.
    for (auto It = Cache.begin(); It != Cache.end();)
      It = It->second.use_count() == 1 ? Cache.erase(It) : std::next(It);
  }
  std::shared_ptr<TFontInstance> Inst;
  try {
    Inst.reset(new TFontInstance(DeviceLf, ResolveFontFace(DeviceLf)));
  } catch (const std::exception&) {
    // Whatever a font file holds, a font is realized: the built-in face.
    TResolvedFace Builtin;
    Builtin.Kind = TResolvedFace::TKind::Marlett;
    Builtin.FaceName = FaceNameOf(DeviceLf);
    Inst.reset(new TFontInstance(DeviceLf, std::move(Builtin)));
  }
  Cache[Key] = Inst;
  return Inst;
}

TFontInstance::TFontInstance(const LOGFONTW& DeviceLf, TResolvedFace Face)
    : FLogFont(DeviceLf), FFace(std::move(Face)), FImpl(std::make_unique<TImpl>()) {
  FImpl->Mono = DeviceLf.lfQuality == NONANTIALIASED_QUALITY;
  if (DeviceLf.lfEscapement % 3600 != 0) {
    const double A = DeviceLf.lfEscapement * M_PI / 1800.0;
    FImpl->Rotated = true;
    // FreeType's y axis points up, so a counter-clockwise escapement is a
    // plain rotation matrix.
    FImpl->Transform.xx = FT_Fixed(std::lround(std::cos(A) * 65536));
    FImpl->Transform.xy = FT_Fixed(std::lround(-std::sin(A) * 65536));
    FImpl->Transform.yx = FT_Fixed(std::lround(std::sin(A) * 65536));
    FImpl->Transform.yy = FT_Fixed(std::lround(std::cos(A) * 65536));
  }
  if (FFace.Kind == TResolvedFace::TKind::Marlett) RealizeMarlett();
  else Realize();
}

TFontInstance::~TFontInstance() = default;

namespace {

// What the metrics are made of, in font units: from the sfnt tables where
// the face has them, else from what FreeType reads out of any outline
// format (Type 1 fonts carry no OS/2, hhea or head).
struct TFaceNumbers {
  double Upem = 1000;
  double WinAscent = 800, WinDescent = 200;   // the cell, descent positive
  double Ascender = 800, Descender = -200;    // the typographic line, hhea's
  double LineGap = 0;
  double AvgWidth = 0, MaxAdvance = 0;
  int Weight = FW_NORMAL;
  double ItalicAngle = 0;                     // degrees, negative leans right
  double UnderlinePosition = -100, UnderlineThickness = 50;
  FT_BBox Box{0, -200, 1000, 800};
  int SlopeRise = 1, SlopeRun = 0;
  int MinPpem = 0;
};

TFaceNumbers FaceNumbers(FT_Face F, const TT_OS2* Os2, const TT_HoriHeader* Hhea, const TT_Header* Head,
                         const TT_Postscript* Post) {
  TFaceNumbers N;
  N.Upem = F->units_per_EM ? F->units_per_EM : (Head && Head->Units_Per_EM ? Head->Units_Per_EM : 1000);
  N.Box = F->bbox;
  N.Ascender = Hhea ? Hhea->Ascender : F->ascender;
  N.Descender = Hhea ? Hhea->Descender : F->descender;
  if (N.Ascender <= 0 && N.Descender >= 0) {
    N.Ascender = N.Box.yMax > 0 ? N.Box.yMax : N.Upem * 0.8;
    N.Descender = N.Box.yMin < 0 ? N.Box.yMin : -N.Upem * 0.2;
  }
  N.WinAscent = Os2 ? Os2->usWinAscent : N.Ascender;
  N.WinDescent = Os2 ? Os2->usWinDescent : -N.Descender;
  if (N.WinAscent + N.WinDescent <= 0) {
    N.WinAscent = N.Ascender;
    N.WinDescent = -N.Descender;
  }
  N.LineGap = Hhea ? Hhea->Line_Gap : std::max(0.0, double(F->height) - (N.Ascender - N.Descender));
  N.MaxAdvance = Hhea ? Hhea->advance_Width_Max : F->max_advance_width;
  if (Os2 && Os2->xAvgCharWidth > 0) {
    N.AvgWidth = Os2->xAvgCharWidth;
  } else {
    // Without OS/2 the lower-case x stands for an average letter.
    FT_Fixed Adv = 0;
    const FT_UInt X = FT_Get_Char_Index(F, 'x');
    if (X && FT_Get_Advance(F, X, FT_LOAD_NO_SCALE, &Adv) == 0 && Adv > 0) N.AvgWidth = double(Adv);
    else N.AvgWidth = N.MaxAdvance / 2;
  }
  if (N.MaxAdvance <= 0) N.MaxAdvance = std::max(N.AvgWidth, N.Upem / 2);
  if (Os2 && Os2->usWeightClass) N.Weight = Os2->usWeightClass;
  else N.Weight = (F->style_flags & FT_STYLE_FLAG_BOLD) ? FW_BOLD : FW_NORMAL;
  PS_FontInfoRec Ps;
  if (Post) N.ItalicAngle = Post->italicAngle / 65536.0;
  else if (FT_Get_PS_Font_Info(F, &Ps) == 0) N.ItalicAngle = Ps.italic_angle;
  if (Post && Post->underlineThickness > 0) {
    N.UnderlinePosition = Post->underlinePosition;
    N.UnderlineThickness = Post->underlineThickness;
  } else if (F->underline_thickness > 0) {
    N.UnderlinePosition = F->underline_position;
    N.UnderlineThickness = F->underline_thickness;
  }
  if (Hhea) {
    N.SlopeRise = Hhea->caret_Slope_Rise;
    N.SlopeRun = Hhea->caret_Slope_Run;
  }
  if (Head) N.MinPpem = Head->Lowest_Rec_PPEM;
  return N;
}

}  // namespace

void TFontInstance::Realize() {
  TImpl& I = *FImpl;
  TFontFile& File = *FFace.File;
  I.File = &File;
  I.Face = File.Face;
  I.SymbolCmap = File.SymbolCmap;
  FT_Face F = I.Face;
  std::lock_guard<std::mutex> G(File.Lock);
  if (FT_New_Size(F, &I.Size) != 0) I.Size = nullptr;
  const TT_OS2* Os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(F, FT_SFNT_OS2));
  if (Os2 && Os2->version == 0xFFFF) Os2 = nullptr;
  const TT_HoriHeader* Hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(F, FT_SFNT_HHEA));
  const TT_Header* Head = static_cast<TT_Header*>(FT_Get_Sfnt_Table(F, FT_SFNT_HEAD));
  const TT_Postscript* Post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(F, FT_SFNT_POST));
  const TFaceNumbers N = FaceNumbers(F, Os2, Hhea, Head, Post);

  const double Upem = N.Upem;
  const double WinAsc = N.WinAscent;
  const double WinDesc = N.WinDescent;
  const double Cell = std::max(1.0, WinAsc + WinDesc);

  // lfHeight < 0 asks for the em, > 0 for the cell (ascent + descent);
  // 0 takes the default cell of the screen's system font.
  LONG H = FLogFont.lfHeight;
  if (H == 0) H = 16;
  double Ppem;
  if (H < 0) Ppem = -double(H);
  else Ppem = double(H) * Upem / Cell;
  Ppem = std::clamp(Ppem, 1.0 / 64, 16384.0);
  I.YScale = Ppem / Upem;
  I.XScale = I.YScale;
  if (FLogFont.lfWidth != 0 && N.AvgWidth > 0) I.XScale = std::abs(double(FLogFont.lfWidth)) / N.AvgWidth;
  FEmPixels = RoundI(Ppem);

  TEXTMETRICW& Tm = FMetrics;
  Tm.tmAscent = RoundI(WinAsc * I.YScale);
  Tm.tmDescent = RoundI(WinDesc * I.YScale);
  if (H > 0) Tm.tmDescent = H - Tm.tmAscent;
  Tm.tmHeight = Tm.tmAscent + Tm.tmDescent;
  Tm.tmInternalLeading = std::max<LONG>(0, Tm.tmHeight - FEmPixels);
  const double Gap = N.LineGap - ((WinAsc + WinDesc) - (N.Ascender - N.Descender));
  Tm.tmExternalLeading = std::max(0, RoundI(Gap * I.YScale));
  Tm.tmAveCharWidth = RoundI(N.AvgWidth * I.XScale);
  Tm.tmMaxCharWidth = RoundI(N.MaxAdvance * I.XScale) + (FFace.SynthBold ? 1 : 0);
  Tm.tmWeight = FFace.SynthBold ? FW_BOLD : N.Weight;
  if (Tm.tmWeight == 0) Tm.tmWeight = FW_NORMAL;
  Tm.tmOverhang = 0;
  Tm.tmDigitizedAspectX = 96;
  Tm.tmDigitizedAspectY = 96;
  const bool Symbol = FFace.SymbolMap || I.SymbolCmap ||
                      (Os2 && Os2->version >= 1 && (Os2->ulCodePageRange1 & 0x80000000u) &&
                       !(Os2->ulCodePageRange1 & 0x0000FFFFu));
  if (Symbol) {
    Tm.tmFirstChar = 0x20;
    Tm.tmLastChar = 0xFF;
  } else {
    Tm.tmFirstChar = Os2 && Os2->usFirstCharIndex ? Os2->usFirstCharIndex : 0x20;
    Tm.tmLastChar = Os2 ? Os2->usLastCharIndex : 0xFFFF;
  }
  Tm.tmDefaultChar = Tm.tmFirstChar > 0 ? WCHAR(Tm.tmFirstChar - 1) : 0;
  Tm.tmBreakChar = Os2 && Os2->version >= 2 && Os2->usBreakChar ? Os2->usBreakChar : 0x20;
  Tm.tmItalic = FLogFont.lfItalic ? 1 : 0;
  Tm.tmUnderlined = FLogFont.lfUnderline ? 1 : 0;
  Tm.tmStruckOut = FLogFont.lfStrikeOut ? 1 : 0;
  BYTE Family = FF_DONTCARE;
  const bool Fixed = FT_IS_FIXED_WIDTH(F) || (Os2 && Os2->panose[3] == 9);
  if (Fixed) Family = FF_MODERN;
  else if (Os2 && Os2->panose[0] == 2) Family = Os2->panose[1] >= 11 && Os2->panose[1] <= 13 ? FF_SWISS : FF_ROMAN;
  else if (Os2 && Os2->panose[0] == 3) Family = FF_SCRIPT;
  else if (Os2 && (Os2->panose[0] == 4 || Os2->panose[0] == 5)) Family = FF_DECORATIVE;
  // Symbol is served from a Unicode face through a code table: it answers as
  // a non-TrueType font so that export writes the standard Symbol font
  // instead of embedding glyphs that do not match its codes.
  const bool TrueType = !FFace.SymbolMap;
  Tm.tmPitchAndFamily = BYTE(Family | TMPF_VECTOR | (TrueType ? TMPF_TRUETYPE : 0) | (Fixed ? 0 : TMPF_FIXED_PITCH));
  if (Symbol) {
    Tm.tmCharSet = SYMBOL_CHARSET;
  } else {
    const DWORD Range = CodePageRange1();
    BYTE Want = FLogFont.lfCharSet;
    if (Want == DEFAULT_CHARSET || Want == SYMBOL_CHARSET || Want == OEM_CHARSET || Want == MAC_CHARSET) Want = ANSI_CHARSET;
    Tm.tmCharSet = ANSI_CHARSET;
    for (int Bit = 0; Bit < 32; ++Bit)
      if ((Range & (1u << Bit)) && CharSetOfCodePageBit(Bit) == Want) Tm.tmCharSet = Want;
  }

  OUTLINETEXTMETRICW& O = FOutline;
  O.otmTextMetrics = Tm;
  if (Os2) {
    std::memcpy(&O.otmPanoseNumber, Os2->panose, 10);
    O.otmfsSelection = Os2->fsSelection & 0x7F;
    O.otmfsType = Os2->fsType;
  } else {
    O.otmfsSelection = BYTE(((F->style_flags & FT_STYLE_FLAG_ITALIC) ? 1 : 0) | ((F->style_flags & FT_STYLE_FLAG_BOLD) ? 0x20 : 0));
  }
  if (FFace.SynthItalic) O.otmfsSelection |= 1;
  if (FFace.SynthBold) O.otmfsSelection |= 0x20;
  O.otmsCharSlopeRise = N.SlopeRise;
  O.otmsCharSlopeRun = N.SlopeRun;
  O.otmItalicAngle = RoundI(N.ItalicAngle * 10);
  if (FFace.SynthItalic && O.otmItalicAngle == 0) O.otmItalicAngle = -120;
  O.otmEMSquare = UINT(Upem);
  const double Ys = I.YScale, Xs = I.XScale;
  if (Os2) {
    O.otmAscent = RoundI(Os2->sTypoAscender * Ys);
    O.otmDescent = RoundI(Os2->sTypoDescender * Ys);
    O.otmLineGap = UINT(std::max(0, RoundI(Os2->sTypoLineGap * Ys)));
    O.otmsCapEmHeight = UINT(std::max(0, RoundI((Os2->version >= 2 ? Os2->sCapHeight : Os2->sTypoAscender) * Ys)));
    O.otmsXHeight = UINT(std::max(0, RoundI((Os2->version >= 2 ? Os2->sxHeight : Os2->sTypoAscender / 2) * Ys)));
    O.otmptSubscriptSize = {RoundI(Os2->ySubscriptXSize * Xs), RoundI(Os2->ySubscriptYSize * Ys)};
    O.otmptSubscriptOffset = {RoundI(Os2->ySubscriptXOffset * Xs), RoundI(Os2->ySubscriptYOffset * Ys)};
    O.otmptSuperscriptSize = {RoundI(Os2->ySuperscriptXSize * Xs), RoundI(Os2->ySuperscriptYSize * Ys)};
    O.otmptSuperscriptOffset = {RoundI(Os2->ySuperscriptXOffset * Xs), RoundI(Os2->ySuperscriptYOffset * Ys)};
    O.otmsStrikeoutSize = UINT(std::max(1, RoundI(Os2->yStrikeoutSize * Ys)));
    O.otmsStrikeoutPosition = RoundI(Os2->yStrikeoutPosition * Ys);
  } else {
    O.otmAscent = RoundI(N.Ascender * Ys);
    O.otmDescent = RoundI(N.Descender * Ys);
    O.otmLineGap = UINT(std::max(0, RoundI(N.LineGap * Ys)));
    O.otmsCapEmHeight = UINT(std::max(0, RoundI(N.Ascender * Ys)));
    O.otmsXHeight = UINT(std::max(0, RoundI(N.Ascender / 2 * Ys)));
    O.otmsStrikeoutSize = UINT(std::max(1, RoundI(N.UnderlineThickness * Ys)));
    O.otmsStrikeoutPosition = RoundI(N.Ascender * Ys / 3);
  }
  O.otmrcFontBox = {RoundI(N.Box.xMin * Xs), RoundI(N.Box.yMax * Ys), RoundI(N.Box.xMax * Xs), RoundI(N.Box.yMin * Ys)};
  O.otmMacAscent = RoundI(N.Ascender * Ys);
  O.otmMacDescent = RoundI(N.Descender * Ys);
  O.otmMacLineGap = UINT(std::max(0, RoundI(N.LineGap * Ys)));
  O.otmusMinimumPPEM = UINT(N.MinPpem);
  O.otmsUnderscoreSize = std::max(1, RoundI(N.UnderlineThickness * Ys));
  O.otmsUnderscorePosition = RoundI(N.UnderlinePosition * Ys);

  if (I.Size) {
    FT_Activate_Size(I.Size);
    FT_Set_Char_Size(F, FT_F26Dot6(std::lround(Upem * Xs * 64)), FT_F26Dot6(std::lround(Ppem * 64)), 72, 72);
  }
  I.GlyphCount = size_t(std::max<FT_Long>(F->num_glyphs, 1));
}

void TFontInstance::RealizeMarlett() {
  TImpl& I = *FImpl;
  LONG H = FLogFont.lfHeight;
  if (H == 0) H = 16;
  FEmPixels = std::max(1, int(std::abs(H)));
  I.YScale = I.XScale = FEmPixels;  // "font units" of the procedural face are ems
  if (FLogFont.lfWidth != 0) I.XScale = std::abs(FLogFont.lfWidth);
  TEXTMETRICW& Tm = FMetrics;
  // The glyphs fill the em square, which is also the cell.
  Tm.tmHeight = FEmPixels;
  Tm.tmAscent = FEmPixels;
  Tm.tmDescent = 0;
  Tm.tmAveCharWidth = Tm.tmMaxCharWidth = RoundI(I.XScale);
  Tm.tmWeight = FW_NORMAL;
  Tm.tmDigitizedAspectX = Tm.tmDigitizedAspectY = 96;
  Tm.tmFirstChar = 0x20;
  Tm.tmLastChar = 0xFF;
  Tm.tmDefaultChar = 0x1F;
  Tm.tmBreakChar = 0x20;
  Tm.tmItalic = FLogFont.lfItalic ? 1 : 0;
  Tm.tmUnderlined = FLogFont.lfUnderline ? 1 : 0;
  Tm.tmStruckOut = FLogFont.lfStrikeOut ? 1 : 0;
  // A built-in face without an sfnt: vector, fixed pitch (bit clear), not TrueType.
  Tm.tmPitchAndFamily = BYTE(FF_DECORATIVE | TMPF_VECTOR);
  Tm.tmCharSet = SYMBOL_CHARSET;
  FOutline.otmTextMetrics = Tm;
  I.GlyphCount = 256;
  I.Advances.assign(I.GlyphCount, RoundI(I.XScale));
}

std::u16string TFontInstance::FamilyName() const {
  if (!FImpl->Face) return FFace.FaceName;
  return FromUtf8(FImpl->Face->family_name ? FImpl->Face->family_name : "");
}

std::u16string TFontInstance::StyleName() const {
  if (!FImpl->Face) return u"Regular";
  return FromUtf8(FImpl->Face->style_name ? FImpl->Face->style_name : "");
}

std::u16string TFontInstance::FullName() const {
  if (FImpl->Face) {
    const FT_UInt N = FT_Get_Sfnt_Name_Count(FImpl->Face);
    for (FT_UInt K = 0; K < N; ++K) {
      FT_SfntName Nm;
      if (FT_Get_Sfnt_Name(FImpl->Face, K, &Nm) != 0) continue;
      if (Nm.platform_id == TT_PLATFORM_MICROSOFT && Nm.name_id == TT_NAME_ID_FULL_NAME) {
        std::u16string S;
        for (FT_UInt B = 0; B + 1 < Nm.string_len; B += 2) S += char16_t(ByteOrder::ReadBE16(Nm.string + B));
        return S;
      }
    }
  }
  const std::u16string Style = StyleName();
  return Style == u"Regular" ? FamilyName() : FamilyName() + u" " + Style;
}

std::uint32_t TFontInstance::GlyphIndex(char32_t Ch) const {
  if (FFace.Kind == TResolvedFace::TKind::Marlett) {
    if (Ch >= 0xF000 && Ch <= 0xF0FF) Ch -= 0xF000;
    return Ch < 256 ? Ch : 0;
  }
  FT_Face F = FImpl->Face;
  std::lock_guard<std::mutex> G(FImpl->File->Lock);  // the cmap keeps a look-up cache
  if (FFace.SymbolMap) {
    const char32_t Code = Ch >= 0xF020 && Ch <= 0xF0FF ? Ch - 0xF000 : Ch;
    if (Code < 256) {
      if (const char16_t U = SymbolCodeToUnicode(BYTE(Code))) return FT_Get_Char_Index(F, U);
    }
    return FT_Get_Char_Index(F, Ch);
  }
  if (FImpl->SymbolCmap) {
    // Symbol cmaps live at U+F0xx; byte codes reach them there.
    if (FT_UInt G = FT_Get_Char_Index(F, Ch < 0x100 ? 0xF000 + Ch : Ch)) return G;
    return FT_Get_Char_Index(F, Ch);
  }
  if (Ch >= 0x800) return FT_Get_Char_Index(F, Ch);
  std::vector<std::uint32_t>& Low = FImpl->File->LowGlyphs;
  if (Low.empty()) Low.assign(0x800, UINT32_MAX);
  std::uint32_t& Glyph = Low[Ch];
  if (Glyph == UINT32_MAX) Glyph = FT_Get_Char_Index(F, Ch);
  return Glyph;
}

// ---- fallback faces ------------------------------------------------------------

namespace {

// What the fallback search has learnt for the whole run: per weight class
// and slant, the families found so far (most characters a face lacks come
// from the same few), and the characters no installed face has.
struct TFallbackKnowledge {
  std::map<std::pair<bool, bool>, std::vector<std::u16string>> Families;
  std::unordered_set<char32_t> Uncovered;
};

TFallbackKnowledge& FallbackKnowledge() {
  static TFallbackKnowledge K;
  return K;
}

// Every character some installed scalable face has, gathered once: a
// character outside it needs no search (a rare character may otherwise
// cost a sorted font list per look-up, and layout asks for whole pages).
bool SomeFaceHas(char32_t Ch) {
  static FcCharSet* const All = [] {
    FcCharSet* U = FcCharSetCreate();
    FcPattern* Pat = FcPatternCreate();
    FcPatternAddBool(Pat, FC_SCALABLE, FcTrue);
    FcObjectSet* Os = FcObjectSetBuild(FC_CHARSET, nullptr);
    FcFontSet* Set = FcFontList(nullptr, Pat, Os);
    for (int K = 0; Set && K < Set->nfont; ++K) {
      FcCharSet* Has = nullptr;
      if (FcPatternGetCharSet(Set->fonts[K], FC_CHARSET, 0, &Has) == FcResultMatch && Has)
        FcCharSetMerge(U, Has, nullptr);
    }
    if (Set) FcFontSetDestroy(Set);
    FcObjectSetDestroy(Os);
    FcPatternDestroy(Pat);
    return U;
  }();
  return FcCharSetHasChar(All, FcChar32(Ch));
}

bool MayFallBack(char32_t Ch) {
  // Controls, surrogate halves and non-characters keep the missing glyph.
  return Ch >= 0x20 && !(Ch >= 0x7F && Ch < 0xA0) && !(Ch >= 0xD800 && Ch < 0xE000) && Ch != 0xFFFE && Ch != 0xFFFF;
}

}  // namespace

TFontInstance::TGlyphRef TFontInstance::ResolveGlyph(char32_t Ch) const {
  const std::uint32_t G = GlyphIndex(Ch);
  if (G != 0) return {this, G};
  if (const TFontInstance* F = Fallback(Ch)) return {F, F->GlyphIndex(Ch)};
  return {this, 0};
}

std::shared_ptr<TFontInstance> TFontInstance::FallbackInstance(const std::u16string& Family) const {
  LOGFONTW Lf = FLogFont;
  std::fill(std::begin(Lf.lfFaceName), std::end(Lf.lfFaceName), u'\0');
  std::copy_n(Family.begin(), std::min<size_t>(Family.size(), LF_FACESIZE - 1), Lf.lfFaceName);
  // The same em, whatever the other face's cell: the characters sit on one
  // baseline in one size.
  Lf.lfHeight = -std::max(1, FEmPixels);
  Lf.lfWidth = 0;
  Lf.lfCharSet = DEFAULT_CHARSET;
  Lf.lfUnderline = Lf.lfStrikeOut = 0;  // the run draws its own lines
  Lf.lfPitchAndFamily = 0;
  auto Inst = Get(Lf);
  if (FLogFont.lfWidth != 0 && FImpl->YScale > 0) {
    // Widened or narrowed the way this face is.
    const double Stretch = FImpl->XScale / FImpl->YScale;
    Lf.lfWidth = std::max(1, RoundI(Inst->Metrics().tmAveCharWidth * Stretch));
    Inst = Get(Lf);
  }
  return Inst;
}

const TFontInstance* TFontInstance::Fallback(char32_t Ch) const {
  if (FFace.Kind != TResolvedFace::TKind::Sfnt || FFace.SymbolMap || IsSymbolCharset() || !MayFallBack(Ch))
    return nullptr;
  // Instances are shared by every thread that draws or measures in the
  // face, and what the search learns is shared by all instances: one lock
  // keeps the caches whole.
  // Recursive: making a fallback instance may measure in it.
  static std::recursive_mutex SearchLock;
  std::lock_guard<std::recursive_mutex> Searching(SearchLock);
  TImpl& I = *FImpl;
  if (auto It = I.FallbackOf.find(Ch); It != I.FallbackOf.end())
    return It->second < 0 ? nullptr : I.Fallbacks[size_t(It->second)].get();
  auto Remember = [&](int Index) {
    I.FallbackOf[Ch] = Index;
    return Index < 0 ? nullptr : I.Fallbacks[size_t(Index)].get();
  };
  for (size_t K = 0; K < I.Fallbacks.size(); ++K)
    if (I.Fallbacks[K]->GlyphIndex(Ch)) return Remember(int(K));
  TFallbackKnowledge& Known = FallbackKnowledge();
  if (Known.Uncovered.count(Ch) || !SomeFaceHas(Ch)) return Remember(-1);
  auto Adopt = [&](const std::u16string& Family) -> int {
    for (const auto& F : I.Fallbacks)
      if (F->LogFont().lfFaceName == Family) return -1;  // tried already
    std::shared_ptr<TFontInstance> Inst;
    try {
      Inst = FallbackInstance(Family);
    } catch (const Exception&) {
      return -1;  // a face fontconfig listed but that cannot be read: no fallback
    }
    if (Inst.get() == this || Inst->IsSymbolCharset()) return -1;
    I.Fallbacks.push_back(std::move(Inst));
    return I.Fallbacks.back()->GlyphIndex(Ch) ? int(I.Fallbacks.size() - 1) : -1;
  };
  std::vector<std::u16string>& Families = Known.Families[{FMetrics.tmWeight >= FW_SEMIBOLD, FLogFont.lfItalic != 0}];
  for (const auto& Family : Families)
    if (const int K = Adopt(Family); K >= 0) return Remember(K);
  // A face not met yet: ask fontconfig, once per character for the whole run.
  const std::u16string Family = FindFaceForCharacter(Ch, FLogFont);
  if (Family.empty()) {
    Known.Uncovered.insert(Ch);
    return Remember(-1);
  }
  if (std::find(Families.begin(), Families.end(), Family) == Families.end()) Families.push_back(Family);
  return Remember(Adopt(Family));
}

int TFontInstance::GlyphAdvance(std::uint32_t Glyph) const {
  TImpl& I = *FImpl;
  if (I.Advances.empty()) I.Advances.assign(I.GlyphCount, INT32_MIN);
  if (Glyph >= I.Advances.size()) Glyph = 0;
  std::int32_t& A = I.Advances[Glyph];
  if (A == INT32_MIN) {
    FT_Fixed Units = 0;
    if (I.Face) {
      std::lock_guard<std::mutex> G(I.File->Lock);
      FT_Get_Advance(I.Face, Glyph, FT_LOAD_NO_SCALE, &Units);
    }
    A = RoundI(double(Units) * I.XScale) + (FFace.SynthBold ? 1 : 0);
  }
  return A;
}

ABC TFontInstance::GlyphABC(std::uint32_t Glyph) const {
  const int Adv = GlyphAdvance(Glyph);
  ABC R;
  if (FFace.Kind == TResolvedFace::TKind::Marlett || !FImpl->Face) {
    R.abcA = 0;
    R.abcB = UINT(Adv);
    R.abcC = 0;
    return R;
  }
  FT_Face F = FImpl->Face;
  std::lock_guard<std::mutex> G(FImpl->File->Lock);
  if (FT_Load_Glyph(F, Glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0 || F->glyph->format != FT_GLYPH_FORMAT_OUTLINE ||
      F->glyph->outline.n_points == 0) {
    // A blank glyph is all advance: Windows reports it as b = advance.
    R.abcA = 0;
    R.abcB = UINT(std::max(Adv, 0));
    R.abcC = 0;
    return R;
  }
  FT_BBox Box;
  FT_Outline_Get_CBox(&F->glyph->outline, &Box);
  const double Xs = FImpl->XScale;
  int Left = int(std::floor(Box.xMin * Xs));
  int Right = int(std::ceil(Box.xMax * Xs)) + (FFace.SynthBold ? 1 : 0);
  if (Right <= Left) Right = Left + 1;
  R.abcA = Left;
  R.abcB = UINT(Right - Left);
  R.abcC = Adv - Right;
  return R;
}

namespace {

// Renders an outline (26.6, y up, origin at the pen) into a coverage bitmap.
void RenderOutline(FT_Outline& Outline, bool Mono, TGlyphBitmap& Out) {
  FT_BBox Box;
  FT_Outline_Get_CBox(&Outline, &Box);
  const FT_Pos X0 = Box.xMin & ~63, Y0 = Box.yMin & ~63;
  const FT_Pos X1 = (Box.xMax + 63) & ~63, Y1 = (Box.yMax + 63) & ~63;
  const int W = int((X1 - X0) >> 6), H = int((Y1 - Y0) >> 6);
  Out = {};
  if (W <= 0 || H <= 0 || W > 8192 || H > 8192) return;
  FT_Outline_Translate(&Outline, -X0, -Y0);
  FT_Bitmap Bm;
  FT_Bitmap_Init(&Bm);
  std::vector<std::uint8_t> Buf;
  Bm.rows = unsigned(H);
  Bm.width = unsigned(W);
  if (Mono) {
    Bm.pitch = (W + 7) / 8;
    Bm.pixel_mode = FT_PIXEL_MODE_MONO;
    Bm.num_grays = 2;
  } else {
    Bm.pitch = W;
    Bm.pixel_mode = FT_PIXEL_MODE_GRAY;
    Bm.num_grays = 256;
  }
  Buf.assign(size_t(Bm.pitch) * H, 0);
  Bm.buffer = Buf.data();
  FT_Outline_Get_Bitmap(Library(), &Outline, &Bm);
  FT_Outline_Translate(&Outline, X0, Y0);
  Out.Left = int(X0 >> 6);
  Out.Top = -int(Y1 >> 6);
  Out.Width = W;
  Out.Height = H;
  Out.Coverage.assign(size_t(W) * H, 0);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      Out.Coverage[size_t(Y) * W + X] =
          Mono ? ((Buf[size_t(Y) * Bm.pitch + X / 8] >> (7 - X % 8)) & 1 ? 255 : 0) : Buf[size_t(Y) * Bm.pitch + X];
}

}  // namespace

const TGlyphBitmap& TFontInstance::Glyph(std::uint32_t Glyph) const {
  TImpl& I = *FImpl;
  if (I.Glyphs.empty()) I.Glyphs.resize(I.GlyphCount);
  if (Glyph >= I.Glyphs.size()) Glyph = 0;
  TGlyphSlot& Slot = I.Glyphs[Glyph];
  if (Slot.Ready) return Slot.Bitmap;
  Slot.Ready = true;
  if (FFace.Kind == TResolvedFace::TKind::Marlett) {
    std::vector<FT_Vector> Points;
    std::vector<short> Ends;
    MarlettGlyphOutline(char(Glyph), I.XScale, I.YScale, Points, Ends);
    if (Points.empty()) return Slot.Bitmap;
    std::vector<char> Tags(Points.size(), FT_CURVE_TAG_ON);
    FT_Outline O{};
    O.n_points = short(Points.size());
    O.n_contours = short(Ends.size());
    O.points = Points.data();
    O.tags = Tags.data();
    O.contours = Ends.data();
    O.flags = FT_OUTLINE_EVEN_ODD_FILL;
    if (I.Rotated) FT_Outline_Transform(&O, &I.Transform);
    RenderOutline(O, I.Mono, Slot.Bitmap);
    return Slot.Bitmap;
  }
  FT_Face F = I.Face;
  std::lock_guard<std::mutex> G(I.File->Lock);
  if (I.Size) FT_Activate_Size(I.Size);
  FT_Int32 Flags = FT_LOAD_NO_BITMAP | (I.Rotated || FFace.SynthItalic ? FT_LOAD_NO_HINTING : FT_LOAD_TARGET_LIGHT);
  if (FT_Load_Glyph(F, Glyph, Flags) != 0 || F->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return Slot.Bitmap;
  FT_Outline& O = F->glyph->outline;
  if (FFace.SynthBold) FT_Outline_EmboldenXY(&O, 64, 0);  // one pixel wider, as the advance
  if (FFace.SynthItalic) {
    FT_Matrix Shear{0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees
    FT_Outline_Transform(&O, &Shear);
  }
  if (I.Rotated) FT_Outline_Transform(&O, &I.Transform);
  RenderOutline(O, I.Mono, Slot.Bitmap);
  return Slot.Bitmap;
}

DWORD TFontInstance::FontData(DWORD Tag, DWORD Offset, void* Buffer, DWORD Size) const {
  // Only sfnt faces have tables; a Type 1 face answers as a non-TrueType
  // font does.
  if (!FFace.File || FFace.SymbolMap || !FFace.File->Dir.Valid()) return GDI_FONTDATA_ERROR;
  TFontFile& File = *FFace.File;
  std::string_view Src;
  if (Tag == 0) {
    Src = File.StandaloneFace();
  } else if (Tag == TTCF_TABLE_TAG) {
    Src = {reinterpret_cast<const char*>(File.Data), File.Size};
  } else {
    // The tag arrives with its first character in the low byte.
    const std::uint32_t BigTag = ((Tag & 0xFF) << 24) | ((Tag & 0xFF00) << 8) | ((Tag >> 8) & 0xFF00) | (Tag >> 24);
    if (!File.Dir.Find(BigTag)) return GDI_FONTDATA_ERROR;
    Src = File.Dir.Table(BigTag);
  }
  if (Offset > Src.size()) return GDI_FONTDATA_ERROR;
  const size_t Avail = Src.size() - Offset;
  if (!Buffer) return DWORD(Avail);
  const size_t N = std::min<size_t>(Avail, Size);
  std::memcpy(Buffer, Src.data() + Offset, N);
  return DWORD(N);
}

bool TFontInstance::IsCFF() const { return FFace.File && FFace.File->Format == TFontFormat::OpenTypeCFF; }

TFontFormat TFontInstance::Format() const {
  if (!FFace.File || FFace.SymbolMap) return TFontFormat::None;
  return FFace.File->Format;
}

std::string_view TFontInstance::FileBytes() const {
  if (!FFace.File || FFace.SymbolMap) return {};
  return {reinterpret_cast<const char*>(FFace.File->Data), FFace.File->Size};
}

std::string TFontInstance::FilePath() const { return FFace.File ? FFace.File->Path : std::string(); }

DWORD TFontInstance::CodePageRange1() const {
  if (!FImpl->Face) return 0x80000000u;
  const TT_OS2* Os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(FImpl->Face, FT_SFNT_OS2));
  if (!Os2 || Os2->version == 0xFFFF || Os2->version < 1) return 1;  // Latin 1 only
  return Os2->ulCodePageRange1;
}

int CharSetOfCodePageBit(int Bit) {
  switch (Bit) {
    case 0: return ANSI_CHARSET;
    case 1: return EASTEUROPE_CHARSET;
    case 2: return RUSSIAN_CHARSET;
    case 3: return GREEK_CHARSET;
    case 4: return TURKISH_CHARSET;
    case 5: return HEBREW_CHARSET;
    case 6: return ARABIC_CHARSET;
    case 7: return BALTIC_CHARSET;
    case 8: return VIETNAMESE_CHARSET;
    case 16: return THAI_CHARSET;
    case 17: return SHIFTJIS_CHARSET;
    case 18: return GB2312_CHARSET;
    case 19: return HANGEUL_CHARSET;
    case 20: return CHINESEBIG5_CHARSET;
    case 21: return JOHAB_CHARSET;
    case 31: return SYMBOL_CHARSET;
    default: return -1;
  }
}

// ---- enumeration ---------------------------------------------------------------

namespace {

const char* const WindowsNames[] = {"Arial", "Times New Roman", "Courier New", "Tahoma", "MS Sans Serif", "Verdana"};

// The charsets a family covers, from the face it realizes to.
std::vector<BYTE> CharSetsOf(const std::u16string& Name) {
  LOGFONTW Lf;
  std::copy_n(Name.begin(), std::min<size_t>(Name.size(), LF_FACESIZE - 1), Lf.lfFaceName);
  Lf.lfHeight = -16;
  auto Inst = TFontInstance::Get(Lf);
  if (Inst->IsSymbolCharset()) return {SYMBOL_CHARSET};
  std::vector<BYTE> Sets;
  const DWORD R = Inst->CodePageRange1();
  for (int Bit = 0; Bit < 32; ++Bit)
    if ((R & (1u << Bit)) && CharSetOfCodePageBit(Bit) >= 0) Sets.push_back(BYTE(CharSetOfCodePageBit(Bit)));
  if (Sets.empty()) Sets.push_back(ANSI_CHARSET);
  return Sets;
}

bool SameFamilyName(const std::u16string& A, const std::u16string& B) {
  if (A.size() != B.size()) return false;
  auto Low = [](char16_t C) { return C >= 'A' && C <= 'Z' ? char16_t(C + 32) : C; };
  for (size_t I = 0; I < A.size(); ++I)
    if (Low(A[I]) != Low(B[I])) return false;
  return true;
}

// The installed family of that name as fontconfig spells it; empty when none.
std::u16string InstalledFamily(const std::u16string& Name) {
  const std::string Utf8 = ToUtf8(Name);
  FcPattern* Pat = FcPatternCreate();
  FcPatternAddString(Pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(Utf8.c_str()));
  FcPatternAddBool(Pat, FC_SCALABLE, FcTrue);
  FcObjectSet* Os = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* Set = FcFontList(nullptr, Pat, Os);
  std::u16string Found;
  for (int K = 0; Set && K < Set->nfont && Found.empty(); ++K) {
    FcChar8* Fam = nullptr;
    for (int N = 0; FcPatternGetString(Set->fonts[K], FC_FAMILY, N, &Fam) == FcResultMatch && Fam; ++N) {
      const std::u16string W = FromUtf8(reinterpret_cast<const char*>(Fam));
      if (SameFamilyName(W, Name)) {
        Found = W;
        break;
      }
    }
  }
  if (Set) FcFontSetDestroy(Set);
  FcObjectSetDestroy(Os);
  FcPatternDestroy(Pat);
  return Found;
}

std::mutex& FamiliesLock() {
  static std::mutex M;
  return M;
}

}  // namespace

const std::vector<TFontFamilyInfo>& AvailableFontFamilies() {
  std::lock_guard<std::mutex> G(FamiliesLock());
  static const std::vector<TFontFamilyInfo> Families = [] {
    std::map<std::u16string, TFontFamilyInfo> ByName;
    FcPattern* Pat = FcPatternCreate();
    FcPatternAddBool(Pat, FC_SCALABLE, FcTrue);
    FcObjectSet* Os = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* Set = FcFontList(nullptr, Pat, Os);
    std::vector<std::string> Names;
    for (int K = 0; Set && K < Set->nfont; ++K) {
      FcChar8* Fam = nullptr;
      if (FcPatternGetString(Set->fonts[K], FC_FAMILY, 0, &Fam) == FcResultMatch && Fam)
        Names.emplace_back(reinterpret_cast<const char*>(Fam));
    }
    if (Set) FcFontSetDestroy(Set);
    FcObjectSetDestroy(Os);
    FcPatternDestroy(Pat);
    for (const auto& N : Names) {
      auto W = FromUtf8(N);
      if (W.size() >= LF_FACESIZE || ByName.count(W)) continue;
      ByName[W] = {W, CharSetsOf(W), true};
    }
    for (const char* N : WindowsNames) ByName[FromUtf8(N)] = {FromUtf8(N), CharSetsOf(FromUtf8(N)), true};
    ByName[u"Symbol"] = {u"Symbol", {SYMBOL_CHARSET}, false};
    ByName[u"Marlett"] = {u"Marlett", {SYMBOL_CHARSET}, false};
    std::vector<TFontFamilyInfo> V;
    for (auto& [K, F] : ByName) V.push_back(F);
    return V;
  }();
  return Families;
}

bool FindFontFamily(const std::u16string& Name, TFontFamilyInfo& Out) {
  if (Name.empty()) return false;
  // Asked about one face, only that face is looked at: no list of every
  // installed family is built for it.
  std::u16string Key = Name;
  for (auto& C : Key)
    if (C >= 'A' && C <= 'Z') C = char16_t(C + 32);
  static std::map<std::u16string, std::optional<TFontFamilyInfo>> Known;
  {
    std::lock_guard<std::mutex> G(FamiliesLock());
    if (auto It = Known.find(Key); It != Known.end()) {
      if (It->second) Out = *It->second;
      return bool(It->second);
    }
  }
  std::optional<TFontFamilyInfo> Info;
  if (SameFamilyName(Name, u"Symbol")) Info = TFontFamilyInfo{u"Symbol", {SYMBOL_CHARSET}, false};
  else if (SameFamilyName(Name, u"Marlett")) Info = TFontFamilyInfo{u"Marlett", {SYMBOL_CHARSET}, false};
  for (const char* N : WindowsNames)
    if (!Info && SameFamilyName(Name, FromUtf8(N))) Info = TFontFamilyInfo{FromUtf8(N), CharSetsOf(FromUtf8(N)), true};
  if (!Info && Name.size() < LF_FACESIZE) {
    const std::u16string Installed = InstalledFamily(Name);
    if (!Installed.empty()) Info = TFontFamilyInfo{Installed, CharSetsOf(Installed), true};
  }
  std::lock_guard<std::mutex> G(FamiliesLock());
  Known[Key] = Info;
  if (Info) Out = *Info;
  return bool(Info);
}

// ---- the Symbol encoding -------------------------------------------------------

char16_t SymbolCodeToUnicode(BYTE Code) {
  static const char16_t Table[224] = {
      // 0x20
      0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F,
      // 0x30
      0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
      // 0x40
      0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
      // 0x50
      0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,
      // 0x60
      0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,
      // 0x70
      0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0x0000,
      // 0x80 - 0x9F: no glyphs
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      // 0xA0
      0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
      // 0xB0
      0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,
      // 0xC0
      0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
      // 0xD0
      0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
      // 0xE0
      0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
      // 0xF0
      0x0000, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0x0000,
  };
  return Code < 0x20 ? 0 : Table[Code - 0x20];
}
