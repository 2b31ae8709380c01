#include "platform/gdi/FontEngine.h"
#include "platform/rtl/CodePages.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_BITMAP_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_IDS_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "platform/gdi/FontMarlett.h"
#include "platform/rtl/Exceptions.h"

namespace {

// ---- small helpers -------------------------------------------------------

FT_Library Library() {
  static FT_Library Lib = [] {
    FT_Library L = nullptr;
    if (FT_Init_FreeType(&L) != 0) throw EOSError("FreeType could not be initialised");
    return L;
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

std::uint32_t ReadU32(const std::uint8_t* P) {
  return (std::uint32_t(P[0]) << 24) | (std::uint32_t(P[1]) << 16) | (std::uint32_t(P[2]) << 8) | P[3];
}
std::uint16_t ReadU16(const std::uint8_t* P) { return std::uint16_t((P[0] << 8) | P[1]); }
void WriteU32(std::uint8_t* P, std::uint32_t V) {
  P[0] = Byte(V >> 24); P[1] = Byte(V >> 16); P[2] = Byte(V >> 8); P[3] = Byte(V);
}

std::uint32_t SfntChecksum(const std::uint8_t* P, size_t Len) {
  std::uint32_t Sum = 0;
  for (size_t I = 0; I < Len; I += 4) {
    std::uint8_t W[4] = {0, 0, 0, 0};
    for (size_t K = 0; K < 4 && I + K < Len; ++K) W[K] = P[I + K];
    Sum += ReadU32(W);
  }
  return Sum;
}

}  // namespace

// ---- font files ------------------------------------------------------------

class TFontFile {
public:
  std::string Path;
  int Index = 0;
  bool Collection = false;
  std::vector<std::uint8_t> Bytes;      // the standalone sfnt of this face
  std::vector<std::uint8_t> Whole;      // the collection file (only for collections)
  struct TTable { std::uint32_t Offset, Length; };
  std::map<std::uint32_t, TTable> Tables;  // tag (big-endian order) -> place in Bytes
  bool CFF = false;
  int Weight = FW_NORMAL;  // OS/2 usWeightClass
  bool Italic = false;     // OS/2 fsSelection italic or oblique, or head macStyle

  static std::shared_ptr<TFontFile> Load(const std::string& Path, int Index);
  static std::vector<std::uint8_t> ExtractFace(const std::vector<std::uint8_t>& File, int Index);

private:
  void IndexTables();
};

namespace {

bool InBounds(size_t Off, size_t Len, size_t Size) { return Off <= Size && Len <= Size - Off; }

}  // namespace

// Cuts face Index out of a collection into a standalone font with its own
// table directory; the tables are copied 4-byte aligned and the whole-font
// checksum in 'head' is recomputed so the result validates on its own.
std::vector<std::uint8_t> TFontFile::ExtractFace(const std::vector<std::uint8_t>& File, int Index) {
  const size_t Size = File.size();
  const std::uint8_t* D = File.data();
  if (Size < 12 || std::memcmp(D, "ttcf", 4) != 0) throw EInvalidGraphic("Not a font collection");
  const std::uint32_t NumFonts = ReadU32(D + 8);
  if (Index < 0 || std::uint32_t(Index) >= NumFonts || !InBounds(12, size_t(NumFonts) * 4, Size))
    throw EInvalidGraphic("Font collection has no face " + std::to_string(Index));
  const std::uint32_t FaceOff = ReadU32(D + 12 + 4 * Index);
  if (!InBounds(FaceOff, 12, Size)) throw EInvalidGraphic("Font collection face offset out of range");
  const std::uint16_t NumTables = ReadU16(D + FaceOff + 4);
  if (!InBounds(FaceOff + 12, size_t(NumTables) * 16, Size))
    throw EInvalidGraphic("Font collection table directory out of range");
  std::vector<std::uint8_t> Out(12 + size_t(NumTables) * 16, 0);
  std::memcpy(Out.data(), D + FaceOff, 12);
  size_t HeadRecord = 0;
  for (int T = 0; T < NumTables; ++T) {
    const std::uint8_t* Rec = D + FaceOff + 12 + 16 * T;
    const std::uint32_t Off = ReadU32(Rec + 8), Len = ReadU32(Rec + 12);
    if (!InBounds(Off, Len, Size)) throw EInvalidGraphic("Font collection table out of range");
    std::uint8_t* OutRec = Out.data() + 12 + 16 * T;
    std::memcpy(OutRec, Rec, 8);  // tag and checksum
    WriteU32(OutRec + 8, std::uint32_t(Out.size()));
    WriteU32(OutRec + 12, Len);
    if (std::memcmp(Rec, "head", 4) == 0) HeadRecord = Out.size();
    Out.insert(Out.end(), D + Off, D + Off + Len);
    while (Out.size() % 4) Out.push_back(0);
  }
  if (HeadRecord && HeadRecord + 12 <= Out.size()) {
    WriteU32(Out.data() + HeadRecord + 8, 0);
    WriteU32(Out.data() + HeadRecord + 8, 0xB1B0AFBAu - SfntChecksum(Out.data(), Out.size()));
  }
  return Out;
}

void TFontFile::IndexTables() {
  Tables.clear();
  if (Bytes.size() < 12) return;
  const std::uint16_t NumTables = ReadU16(Bytes.data() + 4);
  CFF = std::memcmp(Bytes.data(), "OTTO", 4) == 0;
  for (int T = 0; T < NumTables; ++T) {
    const size_t At = 12 + 16 * size_t(T);
    if (At + 16 > Bytes.size()) break;
    const std::uint8_t* Rec = Bytes.data() + At;
    const std::uint32_t Off = ReadU32(Rec + 8), Len = ReadU32(Rec + 12);
    if (!InBounds(Off, Len, Bytes.size())) continue;
    Tables[ReadU32(Rec)] = {Off, Len};
    if (std::memcmp(Rec, "CFF ", 4) == 0 || std::memcmp(Rec, "CFF2", 4) == 0) CFF = true;
  }
  // The style the file really has decides what must be synthesized;
  // fontconfig reports the requested style for faces it would embolden.
  if (auto It = Tables.find(0x4F532F32u); It != Tables.end() && It->second.Length >= 64) {  // 'OS/2'
    const std::uint8_t* P = Bytes.data() + It->second.Offset;
    Weight = ReadU16(P + 4);
    Italic = (ReadU16(P + 62) & 0x0201) != 0;
  } else if (auto H = Tables.find(0x68656164u); H != Tables.end() && H->second.Length >= 46) {  // 'head'
    const std::uint16_t Mac = ReadU16(Bytes.data() + H->second.Offset + 44);
    Weight = Mac & 1 ? FW_BOLD : FW_NORMAL;
    Italic = Mac & 2;
  }
}

std::shared_ptr<TFontFile> TFontFile::Load(const std::string& Path, int Index) {
  static std::map<std::pair<std::string, int>, std::shared_ptr<TFontFile>> Cache;
  auto Key = std::make_pair(Path, Index);
  if (auto It = Cache.find(Key); It != Cache.end()) return It->second;
  std::ifstream In(Path, std::ios::binary);
  if (!In) throw EInvalidGraphic("Cannot open font file " + Path);
  std::vector<std::uint8_t> Data((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  auto F = std::make_shared<TFontFile>();
  F->Path = Path;
  F->Index = Index;
  if (Data.size() >= 4 && std::memcmp(Data.data(), "ttcf", 4) == 0) {
    F->Collection = true;
    F->Bytes = ExtractFace(Data, Index);
    F->Whole = std::move(Data);
  } else {
    F->Bytes = std::move(Data);
  }
  F->IndexTables();
  Cache[Key] = F;
  return F;
}

std::vector<std::uint8_t> ExtractCollectionFace(const std::vector<std::uint8_t>& Collection, int Index) {
  return TFontFile::ExtractFace(Collection, Index);
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

  FcPattern* Pat = FcPatternCreate();
  FcPatternAddString(Pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
  const int Weight = AddStyleAndSubstitute(Pat, Lf);
  FcResult Res = FcResultNoMatch;
  FcPattern* Match = FcFontMatch(nullptr, Pat, &Res);
  FcPatternDestroy(Pat);
  if (!Match) throw EInvalidGraphic("No font matches \"" + Name + "\"");
  FcChar8* File = nullptr;
  FcChar8* FamilyOut = nullptr;
  int Index = 0;
  FcPatternGetString(Match, FC_FILE, 0, &File);
  FcPatternGetString(Match, FC_FAMILY, 0, &FamilyOut);
  FcPatternGetInteger(Match, FC_INDEX, 0, &Index);
  std::string Path = File ? reinterpret_cast<const char*>(File) : "";
  std::string FamilyName = FamilyOut ? reinterpret_cast<const char*>(FamilyOut) : "";
  FcPatternDestroy(Match);
  if (Path.empty()) throw EInvalidGraphic("No font file for \"" + Name + "\"");
  R.File = TFontFile::Load(Path, Index & 0xFFFF);
  if (R.FaceName.empty()) R.FaceName = FromUtf8(FamilyName);
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
  FT_Face Face = nullptr;
  double XScale = 0, YScale = 0;  // pixels per font unit
  FT_Matrix Transform{0x10000, 0, 0, 0x10000};
  bool Rotated = false;
  bool Mono = false;
  bool SymbolCmap = false;        // the face's own cmap is a (3,0) symbol cmap
  mutable std::vector<std::int32_t> Advances;  // INT32_MIN = not yet measured
  mutable std::vector<TGlyphSlot> Glyphs;       // index = glyph id
  // Faces that drew characters this one lacks, in the order they were
  // needed, and for each character met which of them draws it (-1: none).
  mutable std::vector<std::shared_ptr<TFontInstance>> Fallbacks;
  mutable std::unordered_map<char32_t, int> FallbackOf;
  ~TImpl() {
    if (Face) FT_Done_Face(Face);
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
  static std::unordered_map<std::string, std::shared_ptr<TFontInstance>, TLogFontKeyHash> Cache;
  const std::string Key = KeyOf(DeviceLf);
  if (auto It = Cache.find(Key); It != Cache.end()) return It->second;
  if (Cache.size() >= 512) {
    // Drop the instances nobody holds any more; their glyphs go with them.
    for (auto It = Cache.begin(); It != Cache.end();)
      It = It->second.use_count() == 1 ? Cache.erase(It) : std::next(It);
  }
  std::shared_ptr<TFontInstance> Inst(new TFontInstance(DeviceLf, ResolveFontFace(DeviceLf)));
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

void TFontInstance::Realize() {
  TImpl& I = *FImpl;
  const auto& Bytes = FFace.File->Bytes;
  if (FT_New_Memory_Face(Library(), Bytes.data(), FT_Long(Bytes.size()), 0, &I.Face) != 0)
    throw EInvalidGraphic("Font file " + FFace.File->Path + " cannot be read");
  FT_Face F = I.Face;
  const TT_OS2* Os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(F, FT_SFNT_OS2));
  const TT_HoriHeader* Hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(F, FT_SFNT_HHEA));
  const TT_Header* Head = static_cast<TT_Header*>(FT_Get_Sfnt_Table(F, FT_SFNT_HEAD));
  const TT_Postscript* Post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(F, FT_SFNT_POST));
  if (!Hhea || !Head) throw EInvalidGraphic("Font file " + FFace.File->Path + " lacks hhea or head");
  if (FT_Select_Charmap(F, FT_ENCODING_UNICODE) != 0 && FT_Select_Charmap(F, FT_ENCODING_MS_SYMBOL) == 0)
    I.SymbolCmap = true;

  const double Upem = Head->Units_Per_EM ? Head->Units_Per_EM : 2048;
  const double WinAsc = Os2 && Os2->version != 0xFFFF ? Os2->usWinAscent : Hhea->Ascender;
  const double WinDesc = Os2 && Os2->version != 0xFFFF ? Os2->usWinDescent : -Hhea->Descender;
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
  if (FLogFont.lfWidth != 0 && Os2 && Os2->xAvgCharWidth > 0) {
    I.XScale = std::abs(double(FLogFont.lfWidth)) / Os2->xAvgCharWidth;
  }
  FEmPixels = RoundI(Ppem);

  TEXTMETRICW& Tm = FMetrics;
  Tm.tmAscent = RoundI(WinAsc * I.YScale);
  Tm.tmDescent = RoundI(WinDesc * I.YScale);
  if (H > 0) Tm.tmDescent = H - Tm.tmAscent;
  Tm.tmHeight = Tm.tmAscent + Tm.tmDescent;
  Tm.tmInternalLeading = std::max<LONG>(0, Tm.tmHeight - FEmPixels);
  const double Gap = double(Hhea->Line_Gap) - ((WinAsc + WinDesc) - (Hhea->Ascender - Hhea->Descender));
  Tm.tmExternalLeading = std::max(0, RoundI(Gap * I.YScale));
  Tm.tmAveCharWidth = Os2 ? RoundI(Os2->xAvgCharWidth * I.XScale) : RoundI(Hhea->advance_Width_Max * I.XScale / 2);
  Tm.tmMaxCharWidth = RoundI(Hhea->advance_Width_Max * I.XScale) + (FFace.SynthBold ? 1 : 0);
  Tm.tmWeight = FFace.SynthBold ? FW_BOLD : (Os2 ? Os2->usWeightClass : FW_NORMAL);
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
  }
  if (FFace.SynthItalic) O.otmfsSelection |= 1;
  if (FFace.SynthBold) O.otmfsSelection |= 0x20;
  O.otmsCharSlopeRise = Hhea->caret_Slope_Rise;
  O.otmsCharSlopeRun = Hhea->caret_Slope_Run;
  O.otmItalicAngle = Post ? RoundI(Post->italicAngle / 65536.0 * 10) : 0;
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
    O.otmAscent = RoundI(Hhea->Ascender * Ys);
    O.otmDescent = RoundI(Hhea->Descender * Ys);
    O.otmsStrikeoutSize = 1;
    O.otmsStrikeoutPosition = RoundI(Hhea->Ascender * Ys / 3);
  }
  O.otmrcFontBox = {RoundI(Head->xMin * Xs), RoundI(Head->yMax * Ys), RoundI(Head->xMax * Xs), RoundI(Head->yMin * Ys)};
  O.otmMacAscent = RoundI(Hhea->Ascender * Ys);
  O.otmMacDescent = RoundI(Hhea->Descender * Ys);
  O.otmMacLineGap = UINT(std::max(0, RoundI(Hhea->Line_Gap * Ys)));
  O.otmusMinimumPPEM = Head->Lowest_Rec_PPEM;
  O.otmsUnderscoreSize = Post ? std::max(1, RoundI(Post->underlineThickness * Ys)) : 1;
  O.otmsUnderscorePosition = Post ? RoundI(Post->underlinePosition * Ys) : -1;

  FT_Set_Char_Size(F, FT_F26Dot6(std::lround(Upem * Xs * 64)), FT_F26Dot6(std::lround(Ppem * 64)), 72, 72);
  I.Advances.assign(size_t(std::max<FT_Long>(F->num_glyphs, 1)), INT32_MIN);
  I.Glyphs.resize(I.Advances.size());
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
  I.Advances.assign(256, RoundI(I.XScale));
  I.Glyphs.resize(256);
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
        for (FT_UInt B = 0; B + 1 < Nm.string_len; B += 2) S += char16_t((Nm.string[B] << 8) | Nm.string[B + 1]);
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
  }
  return FT_Get_Char_Index(F, Ch);
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
  if (Glyph >= I.Advances.size()) Glyph = 0;
  std::int32_t& A = I.Advances[Glyph];
  if (A == INT32_MIN) {
    FT_Fixed Units = 0;
    FT_Get_Advance(I.Face, Glyph, FT_LOAD_NO_SCALE, &Units);
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
  if (!FFace.File || FFace.SymbolMap) return GDI_FONTDATA_ERROR;
  const TFontFile& File = *FFace.File;
  const std::uint8_t* Base;
  size_t Len;
  if (Tag == 0) {
    Base = File.Bytes.data();
    Len = File.Bytes.size();
  } else if (Tag == TTCF_TABLE_TAG) {
    const auto& Src = File.Collection ? File.Whole : File.Bytes;
    Base = Src.data();
    Len = Src.size();
  } else {
    // The tag arrives with its first character in the low byte.
    const std::uint32_t BigTag = ((Tag & 0xFF) << 24) | ((Tag & 0xFF00) << 8) | ((Tag >> 8) & 0xFF00) | (Tag >> 24);
    auto It = File.Tables.find(BigTag);
    if (It == File.Tables.end()) return GDI_FONTDATA_ERROR;
    Base = File.Bytes.data() + It->second.Offset;
    Len = It->second.Length;
  }
  if (Offset > Len) return GDI_FONTDATA_ERROR;
  const size_t Avail = Len - Offset;
  if (!Buffer) return DWORD(Avail);
  const size_t N = std::min<size_t>(Avail, Size);
  std::memcpy(Buffer, Base + Offset, N);
  return DWORD(N);
}

bool TFontInstance::IsCFF() const { return FFace.File && FFace.File->CFF; }

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

const std::vector<TFontFamilyInfo>& AvailableFontFamilies() {
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
    auto CharSetsOf = [](const std::string& Name) {
      LOGFONTW Lf;
      std::u16string W = FromUtf8(Name);
      std::copy_n(W.begin(), std::min<size_t>(W.size(), LF_FACESIZE - 1), Lf.lfFaceName);
      Lf.lfHeight = -16;
      auto Inst = TFontInstance::Get(Lf);
      std::vector<BYTE> Sets;
      if (Inst->IsSymbolCharset()) return std::vector<BYTE>{SYMBOL_CHARSET};
      const DWORD R = Inst->CodePageRange1();
      for (int Bit = 0; Bit < 32; ++Bit)
        if ((R & (1u << Bit)) && CharSetOfCodePageBit(Bit) >= 0) Sets.push_back(BYTE(CharSetOfCodePageBit(Bit)));
      if (Sets.empty()) Sets.push_back(ANSI_CHARSET);
      return Sets;
    };
    for (const auto& N : Names) {
      auto W = FromUtf8(N);
      if (W.size() >= LF_FACESIZE || ByName.count(W)) continue;
      ByName[W] = {W, CharSetsOf(N), true};
    }
    const char* WindowsNames[] = {"Arial", "Times New Roman", "Courier New", "Tahoma", "MS Sans Serif", "Verdana"};
    for (const char* N : WindowsNames) ByName[FromUtf8(N)] = {FromUtf8(N), CharSetsOf(N), true};
    ByName[u"Symbol"] = {u"Symbol", {SYMBOL_CHARSET}, false};
    ByName[u"Marlett"] = {u"Marlett", {SYMBOL_CHARSET}, false};
    std::vector<TFontFamilyInfo> V;
    for (auto& [K, F] : ByName) V.push_back(F);
    return V;
  }();
  return Families;
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
