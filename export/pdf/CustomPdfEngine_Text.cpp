// Text objects, link annotations and the font resources.
#include <cmath>
#include "export/engine/WriterUtils.h"
#include "export/pdf/CustomPdfEngine.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePages.h"

namespace {
// The face every system here carries with a Unicode map: text whose own
// font cannot be written as a composite font is drawn in it instead of
// being dropped.
const char* const FallbackFace = "Arial";
// Any charset off the simple path marks a font resource the writer makes
// composite for Unicode text; SameFont keys on it.
const BYTE CompositeCharset = RUSSIAN_CHARSET;

bool HasUnmappable(const WideString& Text, UINT CodePage) {
  bool Used = false;
  WideToAnsi(Text, CodePage, &Used);
  return Used;
}

void AppendGlyph(AnsiString& Out, Word G) {
  static const char Hex[] = "0123456789ABCDEF";
  for (int S = 12; S >= 0; S -= 4) Out += Hex[(G >> S) & 0xF];
}
}  // namespace

TgtPDFFont* TgtCustomPDFEngine::FontFor(TFont* Font, bool Fallback) {
  for (auto It = FFonts.rbegin(); It != FFonts.rend(); ++It)
    if ((*It)->SameFont(Font)) return It->get();
  // A face the writer chose is embedded, as a subset, whatever the
  // document's fonts get: the reader may not have it either.
  const bool Subset = Fallback || GetPreferences()->GetEmbedTrueTypeFonts() == etfSubset;
  FFonts.push_back(std::make_unique<TgtPDFFont>(Font, Subset, NextObjectNumber()));
  FFonts.back()->SetFallback(Fallback);
  return FFonts.back().get();
}

Integer TgtCustomPDFEngine::FontIndex(const TgtPDFFont* Font) const {
  for (std::size_t I = 0; I < FFonts.size(); ++I)
    if (FFonts[I].get() == Font) return Integer(I);
  return 0;
}

// Faces already fallen back to are asked first, so fontconfig is consulted
// once per face rather than once per character; a character no face has
// is remembered too.
TgtPDFFont* TgtCustomPDFEngine::FallbackFontFor(char32_t C, const TFont& Font) {
  auto InStyle = [&](const AnsiString& Face) {
    TFont F;
    F.Assign(const_cast<TFont*>(&Font));
    F.SetName(Face);
    F.SetCharset(CompositeCharset);
    return FontFor(&F, /*Fallback=*/true);
  };
  for (TgtPDFFont* Known : FFallbackFaces)
    if (Known->GlyphOf(C)) return InStyle(Known->GetFont()->GetName());
  if (FNoFace.count(C)) return nullptr;
  LOGFONTW Lf{};
  Lf.lfWeight = Font.GetStyle().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  Lf.lfItalic = Font.GetStyle().Contains(fsItalic);
  const std::u16string Face = FindFaceForCharacter(C, Lf);
  bool Lossy = false;
  const AnsiString Name = WideToAnsi(Face, CP_ACP, &Lossy);
  bool Known = false;
  for (TgtPDFFont* K : FFallbackFaces) Known = Known || K->GetFont()->GetName() == Name;
  if (!Face.empty() && !Lossy && !Known) {
    TgtPDFFont* PF = InStyle(Name);
    FFallbackFaces.push_back(PF);
    if (PF->CanBeComposite() && PF->GlyphOf(C)) return PF;
  }
  FNoFace.insert(C);
  return nullptr;
}

// Runs of glyphs, each shown in the font that carries its characters, one
// after the other from the current point. With the player's advances each
// glyph is moved to where the layout put it; a run of a fallback face whose
// glyphs are wider than the layout measured them is narrowed (Tz) into
// that room, so that it never overprints the text after it. A character no
// face carries is the primary font's missing glyph.
AnsiString TgtCustomPDFEngine::CompositeText(TgtPDFFont* Primary, const WideString& Text, TgtTextItem* Item,
                                             double TfSize) {
  struct TGlyph {
    TgtPDFFont* Font;
    Word G;
    double Advance;   // points; negative when the player gave none
    double Before;    // points: the advance of characters before it that draw nothing
  };
  const double Size = Item->Font.GetSize();
  const std::vector<double>& Advances = Item->CharAdvances;
  const bool Placed = Item->FromMetafile && !Advances.empty() && Size > 0;
  std::vector<TGlyph> Glyphs;
  double Carry = 0;
  for (std::size_t I = 0; I < Text.size();) {
    const std::size_t From = I;
    char32_t C = Text[I++];
    if (C >= 0xD800 && C < 0xDC00 && I < Text.size() && Text[I] >= 0xDC00 && Text[I] < 0xE000)
      C = 0x10000 + ((C - 0xD800) << 10) + (Text[I++] - 0xDC00);
    double Adv = From < Advances.size() ? 0 : -1;
    for (std::size_t K = From; K < I && K < Advances.size(); ++K) Adv += Advances[K] * FPointsPerPixel;
    if (C < 0x20) {
      Carry += std::max(Adv, 0.0);
      continue;
    }
    TgtPDFFont* F = Primary;
    Word G = Primary->GlyphOf(C);
    if (G == 0)
      if (TgtPDFFont* Other = FallbackFontFor(C, Item->Font)) {
        F = Other;
        G = Other->GlyphOf(C);
      }
    // The missing glyph reads back as the replacement character.
    F->UseGlyph(G, G ? C : 0xFFFD);
    Glyphs.push_back({F, G, Adv, Carry});
    Carry = 0;
  }
  AnsiString Out;
  for (std::size_t A = 0; A < Glyphs.size();) {
    std::size_t B = A;
    while (B < Glyphs.size() && Glyphs[B].Font == Glyphs[A].Font) ++B;
    TgtPDFFont* F = Glyphs[A].Font;
    double Narrow = 1;
    if (Placed && F != Primary)
      for (std::size_t K = A; K < B; ++K) {
        const double Width = F->GlyphWidth(Glyphs[K].G) * Size / 1000.0;
        if (Glyphs[K].Advance > 0 && Width > Glyphs[K].Advance) Narrow = std::min(Narrow, Glyphs[K].Advance / Width);
      }
    Narrow = std::max(Narrow, 0.25);
    AnsiString Shown, Hex;
    auto Adjust = [&](double Points) {
      const AnsiString Num = FormatNumber(Points * 1000.0 / Size);
      if (Num == "0.0000" || Num == "-0.0000") return;
      if (!Hex.empty()) Shown += "<" + Hex + ">";
      Hex.clear();
      Shown += Num;
    };
    for (std::size_t K = A; K < B; ++K) {
      const TGlyph& Gl = Glyphs[K];
      if (Placed && Gl.Before > 0) Adjust(-Gl.Before / Narrow);
      AppendGlyph(Hex, Gl.G);
      if (!Placed) continue;
      const double Width = F->GlyphWidth(Gl.G) * Size / 1000.0;
      // TJ moves by (width - number) scaled by Tz: the number that lands
      // the next glyph at the player's advance.
      Adjust(Width - (Gl.Advance < 0 ? Width * Narrow : Gl.Advance) / Narrow);
    }
    if (!Hex.empty()) Shown += "<" + Hex + ">";
    const bool Narrowed = FormatNumber(Narrow * 100) != "100.0000";
    Out += "/F" + std::to_string(FontIndex(F)) + " " + FormatNumber(TfSize) + " Tf " +
           (Narrowed ? FormatNumber(Narrow * 100) + " Tz " : AnsiString()) +
           (Placed ? "[" + Shown + "]TJ" : Shown + " Tj") + (Narrowed ? " 100 Tz" : "") + "\r\n";
    A = B;
  }
  return Out;
}

void TgtCustomPDFEngine::EncodeTextItem(TgtTextItem* Item) {
  if (!Item || Item->Lines.Count() == 0) return;
  WideString Text = Item->Lines.Get(0);
  if (FBiDi) {
    WideString R;
    ReorderBiDiText(Text, R);
    Text = R;
  }
  {
    WideString R;
    ReplaceVariables(Text, true, R);
    Text = R;
  }
  Text = TrimTrailingCRLF(Text);
  TFont Font;
  Font.Assign(&Item->Font);
  // Text the simple font's code page cannot carry goes through a composite
  // font of the same face (a Unicode charset marks it so).
  const bool Simple = gtIsSimpleCharset(Font.GetCharset());
  bool Composite = !Simple;
  if (Simple && Font.GetCharset() != SYMBOL_CHARSET && HasUnmappable(Text, 1252)) {
    Font.SetCharset(CompositeCharset);
    Composite = true;
  }
  TgtPDFFont* PF = FontFor(&Font);
  if (Composite && !PF->CanBeComposite()) {
    TFont Fallback;
    Fallback.Assign(&Font);
    Fallback.SetName(FallbackFace);
    PF = FontFor(&Fallback);
  }
  const Integer Index = FontIndex(PF);

  const double P = gtScreenPPI();
  const double Size = Item->Font.GetSize();
  const TSize Ext = Text.empty() ? TSize{0, 0} : GetTextExtent(Text, &Item->Font);
  const double X0 = ToPDFX(Item->X);
  const double Top = ToPDFY(Item->Y);
  // The baseline lies one ascent of the face below the item's top, the
  // ascent the layout placed the item with (the font's on the screen), so
  // runs of different faces on one line share it. Only a face without
  // metrics falls back to the font size, nudged down by the underline for
  // metafile text as that estimate needs.
  double Y0 = Top - Size;
  TEXTMETRICW Tm{};
  if (PF->Info().Kind != 2 && GetTextMetricsW(TMemoryDc(Item->Font.GetHandle()).Dc(), &Tm))
    Y0 = Top - Tm.tmAscent * FPointsPerPixel;
  else if (Item->FromMetafile)
    Y0 += PF->Info().UnderlineThickness;
  const double Angle = Item->Angle * M_PI / 180.0;
  const double Cos = std::cos(Angle), Sin = std::sin(Angle);
  const double Scale = (P == 96 || Item->FromMetafile) ? 1.0 : P / 96.0;
  const double Rotated = Item->Angle % 360 != 0;
  // Turned text keeps its baseline one ascent below the item's top along
  // its own down direction, not the page's.
  const double XT = X0 + (Top - Y0) * Sin, YT = Top - (Top - Y0) * Cos;

  AnsiString Out;
  // Background box.
  if (BrushPaints(&Item->Brush) && !Text.empty()) {
    const double W = Ext.cx * FPointsPerPixel, H = Ext.cy * FPointsPerPixel;
    auto Corner = [&](double DX, double DY) {
      return FormatNumber(X0 + DX * Cos + DY * Sin) + " " + FormatNumber(Top + DX * Sin - DY * Cos);
    };
    Out += "\r\n\r\nq\r\n" + FillColor(&Item->Brush) + Corner(0, 0) + " m " + Corner(W, 0) + " l " + Corner(W, H) +
           " l " + Corner(0, H) + " l f\r\nQ\r\n";
  }
  AnsiString Clip;
  if (Item->GetClipped()) {
    const TgtDoubleRect& R = Item->ClipRect;
    Clip = FormatNumber(ToPDFX(R.Left)) + " " + FormatNumber(ToPDFY(R.Bottom)) + " " +
           FormatNumber((R.Right - R.Left) * FPointsPerPixel * GetInputXRes() / P) + " " +
           FormatNumber((R.Bottom - R.Top) * FPointsPerPixel * GetInputYRes() / P) + " re W n\r\n";
  }
  AnsiString Effects;
  const TgtTextEffects& TE = Item->TextEffects;
  Effects = TE.TextRenderMode == trmStroke ? "1 Tr" : TE.TextRenderMode == trmFillStroke ? "2 Tr" : "0 Tr";
  if (TE.TextRise == trSuperscript) Effects += " " + FormatNumber(Size / 2) + " Ts";
  else if (TE.TextRise == trSubscript) Effects += " " + FormatNumber(-Size / 2) + " Ts";
  const AnsiString Color = ColorText(Item->Font.GetColor());
  const AnsiString Exclude = PF->GetFont()->GetName();
  const bool Excluded = FFontEmbedExcludeList->IndexOf(Exclude) >= 0;

  if (!Text.empty() && !Composite) {
    const AnsiString Bytes = WideToAnsi(Text, 1252);
    double Spacing = 0;
    if (!Item->FromMetafile) {
      double PdfWidth = 0;
      for (unsigned char C : Bytes)
        if (C > 31) PdfWidth += PF->Info().Widths[C - 32];
      PdfWidth = PdfWidth * Size / 1000.0;
      Spacing = PixelsToPoints(Ext.cx) - PdfWidth;
      if (!Bytes.empty()) Spacing /= double(Bytes.size());
    }
    Out += "\r\n q " + Clip + "BT\r\n" + Effects + "\r\n" + Color + " rg\r\n/F" + std::to_string(Index) + " " +
           FormatNumber(Size / Scale) + " Tf\r\n " + FormatNumber(Spacing / Scale) + " Tc 0 Tw\r\n";
    if (Rotated) {
      Out += FormatNumber(Cos) + " " + FormatNumber(Sin) + " " + FormatNumber(-Sin) + " " + FormatNumber(Cos) + " " +
             FormatNumber(XT) + " " + FormatNumber(YT) + " Tm \r\n(" + EscapePDFString(Bytes) + ") Tj";
    } else if (Item->FromMetafile && !Item->CharAdvances.empty() && Size > 0) {
      // Each character's adjustment is how far the player's advance differs
      // from the glyph width the reader will use.
      Out += FormatNumber(X0) + " " + FormatNumber(Y0) + " Td\r\n[";
      AnsiString Run;
      for (std::size_t J = 0; J < Bytes.size(); ++J) {
        const unsigned char C = Bytes[J];
        Run += EscapePDFString(AnsiString(1, char(C)));
        const double Glyph = C > 31 ? PF->Info().Widths[C - 32] * Size / 1000.0 : 0;
        const double Adv = J < Item->CharAdvances.size() ? Item->CharAdvances[J] * FPointsPerPixel : Glyph;
        const double Num = -(Adv - Glyph) * 1000.0 / Size;
        const AnsiString NumText = FormatNumber(Num);
        if (NumText != "0.0000" || J + 1 == Bytes.size()) {
          Out += "(" + Run + ")" + NumText;
          Run.clear();
        }
      }
      Out += " ]TJ ";
    } else {
      Out += FormatNumber(X0) + " " + FormatNumber(Y0) + " Td\r\n(" + EscapePDFString(Bytes) + ") Tj";
    }
    Out += "\r\nET Q ";
    if (GetPreferences()->GetEmbedTrueTypeFonts() == etfSubset && PF->Info().Kind == 0 && !Excluded)
      PF->UseCharacters(Text);
  } else if (!Text.empty()) {
    Out += "\r\n q " + Clip + "BT\r\n" + Effects + "\r\n" + Color + " rg\r\n0 Tw\r\n0 Tc\r\n";
    if (Rotated)
      Out += FormatNumber(Cos) + " " + FormatNumber(Sin) + " " + FormatNumber(-Sin) + " " + FormatNumber(Cos) + " " +
             FormatNumber(XT) + " " + FormatNumber(YT) + " Tm\r\n";
    else Out += FormatNumber(X0) + " " + FormatNumber(Y0) + " Td\r\n";
    Out += CompositeText(PF, Text, Item, Size / Scale);
    Out += "ET Q ";
  }
  // Underline and strike-out.
  const double Length = Ext.cx * FPointsPerPixel * (Item->FromMetafile ? 1.0 : 96.0 / P);
  auto Decoration = [&](double Thickness, double Position) {
    const double Off = Top - (Y0 + Position);
    auto At = [&](double Along) {
      return FormatNumber(X0 + Along * Cos + Off * Sin) + " " + FormatNumber(Top + Along * Sin - Off * Cos);
    };
    Out += "\r\nq\r\n" + Color + " RG " + FormatNumber(std::max(Thickness, 0.5)) + " w " + At(0) + " m " + At(Length) +
           " l S\r\nQ";
  };
  if (Item->Font.GetStyle().Contains(fsUnderline))
    Decoration(PF->Info().UnderlineThickness, PF->Info().UnderlinePosition);
  if (Item->Font.GetStyle().Contains(fsStrikeOut))
    Decoration(PF->Info().StrikeOutThickness, PF->Info().StrikeOutPosition);
  Out += "\r\n";
  FContent += Out;
  if (GetPreferences()->GetActiveHyperLinks() && !Rotated && !Text.empty()) WriteLinks(Item, Text, X0, Top, &Item->Font);
}

void TgtCustomPDFEngine::WriteLinks(TgtTextItem* Item, const WideString& Text, double X0, double Top, TFont* Font) {
  Integer Start = 1;
  const double Bottom = Top - GetTextExtent(Text, Font).cy * FPointsPerPixel;
  (void)Item;
  for (int Guard = 0; Guard < 1000 && Start <= Integer(Text.size()); ++Guard) {
    WideString Link;
    Integer At = Start;
    ExtractLink(Text, At, Link);
    if (Link.empty() || At < 1) break;
    const Integer N = NextObjectNumber();
    FAnnotationRefs.append(1, ' ').append(ObjectRef(N));
    const WideString Before = Text.substr(0, std::size_t(At - 1));
    const double Left = X0 + (Before.empty() ? 0 : GetTextExtent(Before, Font).cx) * FPointsPerPixel;
    const double Right = Left + GetTextExtent(Link, Font).cx * FPointsPerPixel;
    AnsiString Target = UTF8Encode(Link);
    while (!Target.empty() && Target.back() == ' ') Target.pop_back();
    AnsiString Action;
    if (Target.find('@') != std::string::npos) {
      if (Target.rfind("mailto:", 0) != 0) Target = "mailto:" + Target;
      Action = "/S/URI /URI<" + StrToHex(EncryptString(Target, N)) + ">\r\n";
    } else if (Target.find(":\\") != std::string::npos) {
      AnsiString Path = Target;
      Path.replace(Path.find(":\\"), 2, "/");
      for (char& C : Path)
        if (C == '\\') C = '/';
      if (Path.find('/') != std::string::npos && Path.find("..") == std::string::npos) Path = "/" + Path;
      // The path is a string like any other: escaped, and encrypted with the rest.
      Action = "/Type /Action/S /Launch/F <" + StrToHex(EncryptString(Path, N)) + "> /NewWindow true";
    } else {
      Action = "/S/URI /URI<" + StrToHex(EncryptString(Target, N)) + ">\r\n";
    }
    WriteObject("/Type/Annot/Border [0 0 0]/H/I/Subtype/Link/F 0/C [0 0 1]/Rect [" + FormatNumber(Left) + " " +
                    FormatNumber(Top) + " " + FormatNumber(Right) + " " + FormatNumber(Bottom) + "]\r\n/A\r\n<<" +
                    Action + ">>\r\n",
                N, true);
    Start = At + Integer(Link.size());
  }
}

void TgtCustomPDFEngine::WriteFonts() {
  static const char* const Encodings[] = {"WinAnsiEncoding", "MacRomanEncoding", "MacExpertEncoding",
                                          "StandardEncoding", "PDFDocEncoding"};
  const AnsiString Enc = Encodings[std::min<int>(FFontEncoding, 4)];
  const TgtTTFontEmbedding Embed = GetPreferences()->GetEmbedTrueTypeFonts();
  for (std::size_t Idx = 0; Idx < FFonts.size(); ++Idx) {
    TgtPDFFont& F = *FFonts[Idx];
    TgtPDFFontInfo& I = F.Info();
    const AnsiString FaceName = F.GetFont()->GetName();
    const bool Excluded = FFontEmbedExcludeList->IndexOf(FaceName) >= 0;
    const BYTE Cs = F.GetFont()->GetCharset();
    const bool Composite = !gtIsSimpleCharset(Cs) && F.CanBeComposite();
    // A composite font's codes are glyph ids of its own file: without the
    // file a reader cannot draw it, so it goes in also when the settings
    // embed nothing (the face's own exclusion still holds).
    std::string FontFile;
    if (I.Kind == 0 && (Embed != etfNone || F.IsFallback() || Composite) && !Excluded)
      FontFile = Embed != etfFull || F.IsFallback() ? F.GetSubsetFontFile() : F.GetFontFile();
    const bool Embedded = !FontFile.empty();
    const TFontFormat Format = F.Format();
    // Only subset programs carry the subset prefix.
    const bool Subsetted = Embedded && Format == TFontFormat::TrueType && (Embed != etfFull || F.IsFallback());
    const AnsiString Name = F.GetBaseFontName();
    // The two standard symbol fonts draw their codes through their own
    // encoding; a text encoding over them names glyphs they do not have
    // (the bullet 0xB7 would read as a middle dot).
    const AnsiString Encoding = Name == "Symbol" || Name == "ZapfDingbats" ? AnsiString() : "/Encoding /" + Enc;
    const AnsiString Index = std::to_string(Idx);
    char BBox[96];
    std::snprintf(BBox, sizeof BBox, "[%d %d %d %d]", I.BBoxLeft, I.BBoxBottom, I.BBoxRight, I.BBoxTop);
    Integer FileNumber = 0;
    // The key and subtype of the embedded program's stream.
    const AnsiString FileKey = Format == TFontFormat::Type1 ? "/FontFile " : Format == TFontFormat::OpenTypeCFF ? "/FontFile3 " : "/FontFile2 ";
    if (gtIsSimpleCharset(Cs)) {
      const AnsiString Prefix = Subsetted ? "WYOIAS+" : "";
      const Integer Desc = NextObjectNumber();
      AnsiString Widths;
      for (Integer W : I.Widths) Widths += std::to_string(W) + " ";
      Widths.pop_back();
      const AnsiString Common = "/FirstChar 32/LastChar 255/Widths [" + Widths + "]/FontDescriptor " + ObjectRef(Desc) + "\r\n";
      AnsiString Metrics = "/FontBBox" + AnsiString(BBox) + "/Ascent " + std::to_string(I.Ascent) + "/Descent " +
                           std::to_string(I.Descent) + "/CapHeight " + std::to_string(I.CapHeight) + "/AvgWidth " +
                           std::to_string(I.AvgWidth) + "/MaxWidth " + std::to_string(I.MaxWidth);
      if (I.Kind != 0 || Format == TFontFormat::Type1 || Format == TFontFormat::OpenTypeCFF) {
        // Base-14 and device fonts, and PostScript outlines (Type 1 and
        // OpenType CFF), are Type 1 fonts; the latter carry their program.
        if (Embedded) FileNumber = NextObjectNumber();
        WriteObject("/Type /Font/Subtype /Type1/Name /F" + Index + "/BaseFont /" + Name + Encoding + Common,
                    I.ObjectNumber, true);
        WriteObject("/Type /FontDescriptor/FontName /" + Name + "/Flags " + std::to_string(I.Flags) + Metrics +
                        "/StemH " + std::to_string(I.Stem) + "/StemV " + std::to_string(I.Stem) +
                        (Embedded ? "/ItalicAngle " + std::to_string(I.ItalicAngle) + FileKey + ObjectRef(FileNumber)
                                  : AnsiString()) +
                        "\r\n",
                    Desc, true);
      } else {
        WriteObject("/Type /Font/Subtype /TrueType/Name /F" + Index + "/BaseFont /" + Prefix + Name + " /Encoding /" +
                        Enc + Common,
                    I.ObjectNumber, true);
        if (Embedded) FileNumber = NextObjectNumber();
        WriteObject("/Type /FontDescriptor/FontName /" + Prefix + Name + " /Flags " + std::to_string(I.Flags) +
                        Metrics + "/MissingWidth " + std::to_string(I.MaxWidth) + "/StemH " + std::to_string(I.Stem) +
                        "/StemV " + std::to_string(I.Stem) + "/ItalicAngle " + std::to_string(I.ItalicAngle) +
                        (Embedded ? FileKey + ObjectRef(FileNumber) : AnsiString()) + "\r\n",
                    Desc, true);
      }
    } else if (!F.CanBeComposite()) {
      WriteObject("/Type/Font/Subtype /Type1/Name /F" + Index + "/BaseFont /" + Name + Encoding + "\r\n",
                  I.ObjectNumber, true);
    } else {
      const AnsiString Prefix = Subsetted ? "WYOIAS+" : "";
      const Integer Cid = NextObjectNumber(), Desc = NextObjectNumber(), ToUni = NextObjectNumber();
      WriteObject("/Type/Font/Subtype/Type0/Name/F" + Index + "/BaseFont/" + Prefix + Name +
                      "/Encoding/Identity-H/ToUnicode " + ObjectRef(ToUni) + "/DescendantFonts [" + ObjectRef(Cid) + "]\r\n",
                  I.ObjectNumber, true);
      // Widths of the glyphs drawn: runs of consecutive glyphs of one width
      // as first, last and width. A face whose every glyph drawn has its one
      // width needs none.
      AnsiString W;
      const auto& Used = F.UsedGlyphs();
      bool OneWidth = I.FixedPitch;
      for (const auto& U : Used) OneWidth = OneWidth && F.GlyphWidth(U.first) == I.MaxWidth;
      for (auto It = Used.begin(); It != Used.end() && !OneWidth;) {
        auto Last = It;
        auto Next = std::next(It);
        const Integer Width = F.GlyphWidth(It->first);
        while (Next != Used.end() && Next->first == Last->first + 1 && F.GlyphWidth(Next->first) == Width) Last = Next++;
        W += std::to_string(It->first) + " " + std::to_string(Last->first) + " " + std::to_string(Width) + " ";
        It = Next;
      }
      // PostScript outlines make a CIDFontType0, whose glyphs are picked by
      // their ids directly; TrueType ones map through an identity CIDToGIDMap.
      const bool Cff = Format == TFontFormat::OpenTypeCFF;
      WriteObject("/Type/Font/Subtype/" + AnsiString(Cff ? "CIDFontType0" : "CIDFontType2") + "/BaseFont/" + Prefix +
                      Name + "/FontDescriptor " + ObjectRef(Desc) +
                      "/CIDSystemInfo\r\n<<\r\n/Registry<" + StrToHex(EncryptString("Adobe", Cid)) + ">/Ordering<" +
                      StrToHex(EncryptString("Identity", Cid)) + ">/Supplement 0\r\n>>\r\n" +
                      (W.empty() ? AnsiString() : "/W [" + W + "]") + "/DW " +
                      std::to_string(I.MaxWidth) + (Cff ? "" : "/CIDToGIDMap/Identity") + "\r\n",
                  Cid, true);
      if (Embedded) FileNumber = NextObjectNumber();
      WriteObject("/Type/FontDescriptor/FontName/" + Prefix + Name + "/Flags " + std::to_string(I.Flags) + "/FontBBox " +
                      BBox + "/Ascent " + std::to_string(I.Ascent) + "/Descent " + std::to_string(I.Descent) +
                      "/CapHeight " + std::to_string(I.CapHeight) + "/AvgWidth " + std::to_string(I.AvgWidth) +
                      "/MaxWidth " + std::to_string(I.MaxWidth) + "/MissingWidth " + std::to_string(I.MaxWidth) +
                      "/StemV " + std::to_string(I.Stem) + "/ItalicAngle " + std::to_string(I.ItalicAngle) +
                      (Embedded ? FileKey + ObjectRef(FileNumber) : AnsiString()) + "\r\n",
                  Desc, true);
      // ToUnicode: each glyph back to its character.
      std::string CMap =
          "/CIDInit /ProcSet findresource begin\r\n12 dict begin\r\nbegincmap\r\n/CIDSystemInfo\r\n<< /Registry (Adobe)\r\n"
          "/Ordering (UCS)\r\n/Supplement 0\r\n>> def\r\n/CMapName /Adobe-Identity-UCS def\r\n/CMapType 2 def\r\n"
          "1 begincodespacerange\r\n<0000> <FFFF>\r\nendcodespacerange\r\n";
      char Buf[40];
      auto It = Used.begin();
      while (It != Used.end()) {
        std::size_t Chunk = 0;
        std::string Block;
        for (; It != Used.end() && Chunk < 100; ++It, ++Chunk) {
          const char32_t C = It->second;
          if (C >= 0x10000)
            std::snprintf(Buf, sizeof Buf, "<%04X> <%04X%04X>\r\n", unsigned(It->first),
                          unsigned(0xD800 + ((C - 0x10000) >> 10)), unsigned(0xDC00 + ((C - 0x10000) & 0x3FF)));
          else std::snprintf(Buf, sizeof Buf, "<%04X> <%04X>\r\n", unsigned(It->first), unsigned(C));
          Block += Buf;
        }
        CMap += std::to_string(Chunk) + " beginbfchar\r\n" + Block + "endbfchar\r\n";
      }
      CMap += "endcmap\r\nCMapName currentdict /CMap defineresource pop\r\nend\r\nend";
      std::string Data = CompressData(CMap);
      EncryptStream(Data, ToUni);
      WriteObject("/Length " + std::to_string(Data.size()) + (FCompression->Enabled ? "/Filter/FlateDecode" : "") + "\r\n",
                  ToUni, false);
      WriteRaw("stream\r\n" + Data + "\r\nendstream\r\nendobj\r\n");
    }
    if (FileNumber) {
      std::string Data = CompressData(FontFile);
      EncryptStream(Data, FileNumber);
      AnsiString Lengths = "/Length1 " + std::to_string(FontFile.size());
      if (Format == TFontFormat::Type1) {
        const auto L = F.Type1Lengths();
        Lengths = "/Length1 " + std::to_string(L[0]) + "/Length2 " + std::to_string(L[1]) + "/Length3 " + std::to_string(L[2]);
      } else if (Format == TFontFormat::OpenTypeCFF) {
        Lengths = "/Subtype/OpenType";
      }
      WriteObject(Lengths + "/Length " + std::to_string(Data.size()) +
                      (FCompression->Enabled ? "/Filter/FlateDecode" : "") + "\r\n",
                  FileNumber, false);
      WriteRaw("stream\r\n" + Data + "\r\nendstream\r\nendobj\r\n");
    }
  }
}
