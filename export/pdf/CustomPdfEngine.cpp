#include "export/pdf/CustomPdfEngine.h"
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <zlib.h>
#include "export/engine/WriterUtils.h"

// --- settings objects -------------------------------------------------------------

void TgtCompression::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TgtCompression*>(Source);
  if (!S) return TPersistent::Assign(Source);
  Enabled = S->Enabled;
  Level = S->Level;
}

void TgtPDFPreferences::Assign(TPersistent* Source) {
  TgtPlainSheetPreferences::Assign(Source);
  if (auto* S = dynamic_cast<TgtPDFPreferences*>(Source)) {
    FEmbedTrueTypeFonts = S->FEmbedTrueTypeFonts;
    SetActiveHyperLinks(S->GetActiveHyperLinks());
  }
}

void TgtPresentationMode::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TgtPresentationMode*>(Source);
  if (!S) return TPersistent::Assign(Source);
  Duration = S->Duration;
  TransitionEffect = S->TransitionEffect;
}

void TgtViewerPreferences::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TgtViewerPreferences*>(Source);
  if (!S) return TPersistent::Assign(Source);
  PageLayout = S->PageLayout;
  PageMode = S->PageMode;
  HideToolBar = S->HideToolBar;
  HideMenuBar = S->HideMenuBar;
  HideWindowUI = S->HideWindowUI;
  FitWindow = S->FitWindow;
  CenterWindow = S->CenterWindow;
  NonFullScreenPageMode = S->NonFullScreenPageMode;
  PresentationMode->Assign(S->PresentationMode.get());
}

// --- engine -------------------------------------------------------------------------

TgtCustomPDFEngine::TgtCustomPDFEngine(TComponent* AOwner)
    : TgtCustomPlainsheetEngine(AOwner),
      FPointsPerPixel(72.0 / gtScreenPPI()),
      FFontEmbedExcludeList(std::make_unique<TStringList>()),
      FCompression(std::make_unique<TgtCompression>()),
      FViewerPreferences(std::make_unique<TgtViewerPreferences>()),
      FEncryption(std::make_unique<TgtPDFEncryptionSettings>()) {
  SetFileExtension("pdf");
  SetFileDescription("Adobe PDF Files");
  SetCapabilities(0x0387);
  RecreatePreferences();
}

TgtPDFPreferences* TgtCustomPDFEngine::GetPreferences() const {
  // The constructor remade the object with this class.
  return static_cast<TgtPDFPreferences*>(TgtCustomDocumentEngine::GetPreferences());
}

TgtCustomPDFEngine::~TgtCustomPDFEngine() = default;

std::unique_ptr<TgtPreferences> TgtCustomPDFEngine::GetPreferencesClass() {
  return std::make_unique<TgtPDFPreferences>();
}

AnsiString TgtCustomPDFEngine::FormatNumber(double V) {
  if (!std::isfinite(V)) V = 0;
  // Four decimals; a value that rounds to zero is written without its sign.
  if (std::fabs(V) < 0.00005) V = 0;
  char Buf[64];
  auto R = std::to_chars(Buf, Buf + sizeof Buf, V, std::chars_format::fixed, 4);
  return AnsiString(Buf, R.ptr);
}

AnsiString TgtCustomPDFEngine::ZoneText(Integer Bias) {
  // East of UTC has a negative bias.
  const Integer Off = -Bias;
  const char Sign = Off < 0 ? '-' : '+';
  const Integer A = std::abs(Off);
  char Buf[16];
  std::snprintf(Buf, sizeof Buf, "%c%.2d'%.2d'", Sign, A / 60, A % 60);
  return Buf;
}

void TgtCustomPDFEngine::WriteRaw(const std::string& S) {
  if (S.empty()) return;
  FOutput->WriteBuffer(S.data(), Integer(S.size()));
  FOutputSize += Int64(S.size());
}

void TgtCustomPDFEngine::WriteObject(const AnsiString& Text, Integer N, bool Close) {
  FOffsets.emplace_back(FOutputSize, N);
  std::string S = ObjectHeader(N) + "\r\n";
  if (Text.find("\r\n") != std::string::npos) S += "<<\r\n" + Text + ">>";
  else S += Text;
  S += "\r\n";
  if (Close) S += "endobj\r\n";
  WriteRaw(S);
}

std::string TgtCustomPDFEngine::CompressData(const std::string& Data) const {
  if (!FCompression->Enabled) return Data;
  static const int Levels[] = {0, 1, Z_DEFAULT_COMPRESSION};
  uLongf Size = compressBound(uLong(Data.size()));
  std::string Out(Size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(Out.data()), &Size, reinterpret_cast<const Bytef*>(Data.data()),
                uLong(Data.size()), Levels[std::min<int>(FCompression->Level, 2)]) != Z_OK)
    throw EStreamError("Compression error");
  Out.resize(Size);
  return Out;
}

AnsiString TgtCustomPDFEngine::FilterEntry(TgtOutputImageFormat Format) const {
  switch (Format) {
    case ifBMP: return FCompression->Enabled ? "/Filter/FlateDecode" : "";
    case ifJPEG: return "/Filter/DCTDecode";
    case ifCCITT3:
    case ifCCITT4: return "/Filter[/CCITTFaxDecode]";
    default: return "";
  }
}

AnsiString TgtCustomPDFEngine::TextString(const WideString& Text, Integer ObjectNumber) {
  std::string B = "\xFE\xFF";
  for (char16_t C : Text) {
    B += char(C >> 8);
    B += char(C & 0xFF);
  }
  return StrToHex(EncryptString(B, ObjectNumber));
}

double TgtCustomPDFEngine::ToPDFX(double X) const {
  return X * FPointsPerPixel * GetInputXRes() / gtScreenPPI();
}

double TgtCustomPDFEngine::ToPDFY(double Y) const {
  const double Scaled = Y * FPointsPerPixel * GetInputYRes() / gtScreenPPI();
  const Integer Page = GetPageNo();
  if (Page < 1 || Page > Integer(FPageInfos.size()) || !FPageInfos[std::size_t(Page - 1)]) return Scaled;
  const double H = FPageInfos[std::size_t(Page - 1)]->Height;
  if (H == 0) return Scaled;
  // The page height follows the vertical input resolution, as y does.
  return H * GetInputYRes() / gtScreenPPI() - Scaled;
}

Integer TgtCustomPDFEngine::CurrentPageInfoNumber() const {
  for (auto It = FPageInfos.rbegin(); It != FPageInfos.rend(); ++It)
    if (*It) return (*It)->ObjectNumber;
  return 0;
}

void TgtCustomPDFEngine::EncryptStream(std::string& Data, Integer ObjectNumber) {
  if (FEncryption->GetEnabled() && FCrypt) Data = FCrypt->EncryptBuffer(Data, 0, ObjectNumber);
}

AnsiString TgtCustomPDFEngine::EncryptString(const AnsiString& Text, Integer ObjectNumber) {
  if (FEncryption->GetEnabled() && FCrypt) return FCrypt->EncryptBuffer(Text, 0, ObjectNumber);
  return Text;
}

std::unique_ptr<TMemoryStream> TgtCustomPDFEngine::EncodeCCITT(TBitmap*, TgtOutputImageFormat) { return nullptr; }

bool TgtCustomPDFEngine::ValidateOutputImageFormat(TgtOutputImageFormat Format, AnsiString& Message) {
  if (Format == ifGIF || Format == ifPNG || Format == ifMetafile) {
    Message = "The PDF Engine does not support image format";
    return false;
  }
  return true;
}

// --- document ----------------------------------------------------------------------

void TgtCustomPDFEngine::StartDocument() {
  TgtCustomPlainsheetEngine::StartDocument();
  FOutput = OpenDocumentOutput(GetFileName() + "." + GetFileExtension());
  // Offsets count from the document's first byte, also when it follows
  // what a user stream held before.
  FOutputSize = 0;
  FOffsets.clear();
  FPageInfos.clear();
  FFonts.clear();
  FFallbackFaces.clear();
  FNoFace.clear();
  FImageVariants.clear();
  FPatterns.clear();
  FContent.clear();
  FDeferred.clear();
  FDeferredOffsets.clear();
  FCrypt.reset();
  FCatalogWritten = false;
  FOutlineRoot = 0;
  FObjectCount = 5;
  FBackgroundImageNumber = -1;
  FThumbnailRequests.clear();
  FThumbnails.clear();
  // The local zone with daylight saving in force, as the date itself is.
  const std::time_t Now = std::time(nullptr);
  std::tm Local{};
  localtime_r(&Now, &Local);
  char Buf[32];
  std::strftime(Buf, sizeof Buf, "%Y%m%d%H%M%S", &Local);
  FCreationDate = "D:" + AnsiString(Buf) + ZoneText(Integer(-Local.tm_gmtoff / 60));
  WriteRaw(std::string("%PDF-1.4\r\n%\xE2\xE3\xCF\xD3\r\n", 17));
}

void TgtCustomPDFEngine::BuildCatalog(AnsiString& Text) {
  const TgtViewerPreferences& V = *FViewerPreferences;
  static const char* const Modes[] = {"/UseNone", "/UseOutlines", "/UseThumbs", "/FullScreen"};
  static const char* const Layouts[] = {"/SinglePage", "/OneColumn", "/TwoColumnLeft", "/TwoColumnRight"};
  static const char* const NonFull[] = {"/UseNone", "/UseOutlines", "/UseThumbs"};
  Text = "/Type/Catalog/Pages " + ObjectRef(2) + "/PageMode" + Modes[std::min<int>(V.PageMode, 3)] +
         "/PageLayout" + Layouts[std::min<int>(V.PageLayout, 3)] + "/ViewerPreferences <<";
  if (V.CenterWindow) Text += "/CenterWindow true";
  if (V.FitWindow) Text += "/FitWindow true";
  if (V.HideWindowUI) Text += "/HideWindowUI true";
  if (V.HideMenuBar) Text += "/HideMenubar true";
  if (V.HideToolBar) Text += "/HideToolbar true";
  if (V.PageMode == pmFullScreen)
    Text += AnsiString("/NonFullScreenPageMode") + NonFull[std::min<int>(V.NonFullScreenPageMode, 2)];
  Text += " >>";
  const TgtTOCList* Outline = GetOutline();
  if (Outline && !Outline->empty() && !FOutlineRoot) {
    FOutlineRoot = NextObjectNumber();
    Text += "/Outlines " + ObjectRef(FOutlineRoot);
  }
}

void TgtCustomPDFEngine::BeginPage() {
  TgtCustomPlainsheetEngine::BeginPage();
  FClipActive = false;
  FPathState = TPathState::None;
  FFigureClosed = false;
  FNewSubpath = true;
  FPathClipActive = false;
  FOpenPath.clear();
  FOpenSaves = 0;
  if (!FCrypt)
    FCrypt = std::make_unique<TgtPDFEncryption>(GetFileName() + GetFileExtension(), *FEncryption, FCreationDate);
  if (!FCatalogWritten) {
    AnsiString Cat;
    BuildCatalog(Cat);
    WriteObject(Cat + "\r\n", 1, true);
    FCatalogWritten = true;
  }
  FDeferredOffsets.clear();
  FDeferred.clear();
  FContent.clear();
  const double P = gtScreenPPI();
  FContent += "q " + FormatNumber(P / GetInputXRes()) + " 0 0 " + FormatNumber(P / GetInputYRes()) + " 0 0 cm\r\n";
  auto Info = std::make_unique<TgtPageInfo>();
  Info->ObjectNumber = NextObjectNumber();
  TgtPageItem* PageItem = GetCurrentPageItem();
  const TgtPageSettings& PS = PageItem ? PageItem->PageSettings : *GetPage();
  Info->Width = PS.WidthPx() * FPointsPerPixel;
  Info->Height = PS.HeightPx() * FPointsPerPixel;
  const std::size_t Index = std::size_t(std::max(1, GetPageNo()) - 1);
  if (FPageInfos.size() <= Index) FPageInfos.resize(Index + 1);
  FPageInfos[Index] = std::move(Info);
  FContentsNumber = NextObjectNumber();
  FLengthNumber = NextObjectNumber();
  FAnnotationRefs.clear();
  WriteBackground();
}

void TgtCustomPDFEngine::BuildPageObject(AnsiString& Text) {
  const TgtPageInfo* Info = nullptr;
  for (auto It = FPageInfos.rbegin(); It != FPageInfos.rend() && !Info; ++It) Info = It->get();
  Text = "/Type/Page/Parent " + ObjectRef(2) + "/MediaBox [0 0 " + FormatNumber(Info ? Info->Width : 0) + " " +
         FormatNumber(Info ? Info->Height : 0) + "]/Resources " + ObjectRef(5) + "/Contents " +
         ObjectRef(FContentsNumber);
  AnsiString Refs = FAnnotationRefs;
  while (!Refs.empty() && Refs.front() == ' ') Refs.erase(0, 1);
  if (GetPreferences()->GetActiveHyperLinks() && !Refs.empty()) Text += "/Annots [" + Refs + "]";
  if (FThumbNumber) Text += "/Thumb " + ObjectRef(FThumbNumber);
  const TgtPresentationMode& PM = *FViewerPreferences->PresentationMode;
  static const char* const Styles[] = {
      "/R", "/Split/Dm/H/M/I", "/Split/Dm/H/M/O", "/Split/Dm/V/M/I", "/Split/Dm/V/M/O", "/Blinds/Dm/H",
      "/Blinds/Dm/V", "/Box/M/I", "/Box/M/O", "/Wipe/Di 0", "/Wipe/Di 90", "/Wipe/Di 180", "/Wipe/Di 270",
      "/Dissolve", "/Glitter/Di 0", "/Glitter/Di 270", "/Glitter/Di 315"};
  const AnsiString D = std::to_string(PM.Duration);
  Text += "/Dur " + D + "/Trans <</Type/Trans/D " + D + "/S" + Styles[std::min<int>(PM.TransitionEffect, 16)] + " >>";
}

void TgtCustomPDFEngine::EndPage() {
  FThumbNumber = PageThumbnail();
  AnsiString Page;
  BuildPageObject(Page);
  WriteObject(Page + "\r\n", CurrentPageInfoNumber(), true);
  WriteObject("/Length " + ObjectRef(FLengthNumber) + (FCompression->Enabled ? "/Filter /FlateDecode" : "") + "\r\n",
              FContentsNumber, false);
  // Clips opened on the page are closed before the page's own "q" is.
  for (; FOpenSaves > 0; --FOpenSaves) FContent += "\r\nQ";
  FContent += "\r\nQ\r\n";
  std::string Data = CompressData(FContent);
  EncryptStream(Data, FContentsNumber);
  WriteRaw("stream\r\n");
  WriteRaw(Data);
  WriteRaw("\r\nendstream\r\nendobj\r\n");
  WriteObject(std::to_string(Data.size()), FLengthNumber, true);
  for (auto& [Off, N] : FDeferredOffsets) FOffsets.emplace_back(Off + FOutputSize, N);
  WriteRaw(FDeferred);
  FDeferred.clear();
  FDeferredOffsets.clear();
  FContent.clear();
  TgtCustomPlainsheetEngine::EndPage();
}

void TgtCustomPDFEngine::BuildEncryptDictionary() {
  if (!FEncryption->GetEnabled() || !FCrypt) return;
  FEncryptNumber = NextObjectNumber();
  const bool R3 = FCrypt->GetLevel() == el128bit;
  AnsiString T = R3 ? "/V 2/R 3" : "/V 1/R 2";
  T += "/P " + std::to_string(FCrypt->PermissionValue());
  if (R3) T += "/Length 128";
  T += "/Filter/Standard/O <" + StrToHex(FCrypt->GetOwnerValue()) + ">/U <" + StrToHex(FCrypt->GetUserValue()) +
       ">\r\n";
  WriteObject(T, FEncryptNumber, true);
}

void TgtCustomPDFEngine::BuildTrailer(AnsiString& Text) {
  Text = "/Root " + ObjectRef(1) + "/Info " + ObjectRef(3) + "/Size " + std::to_string(FObjectCount + 1);
  if (FEncryption->GetEnabled() && FCrypt) {
    const AnsiString Id = StrToHex(FCrypt->GetFileID());
    Text += "/ID [<" + Id + "><" + Id + ">]/Encrypt " + ObjectRef(FEncryptNumber);
  }
}

void TgtCustomPDFEngine::FinishDocument() {
  TgtCustomPlainsheetEngine::FinishDocument();
  if (!FCrypt)
    FCrypt = std::make_unique<TgtPDFEncryption>(GetFileName() + GetFileExtension(), *FEncryption, FCreationDate);
  // A document in which no page was rendered still gets a catalog and one
  // empty page tree, so readers accept the file.
  if (!FCatalogWritten) {
    AnsiString Cat;
    BuildCatalog(Cat);
    WriteObject(Cat + "\r\n", 1, true);
    FCatalogWritten = true;
  }
  WriteThumbnails();
  if (FOutlineRoot) WriteOutlines();
  AnsiString Kids;
  Integer Count = 0;
  for (auto& P : FPageInfos)
    if (P) {
      if (Count++) Kids += " ";
      Kids += ObjectRef(P->ObjectNumber);
    }
  WriteObject("/Type/Pages/Count " + std::to_string(Count) + "/Kids [" + Kids + "]\r\n", 2, true);
  if (FBackgroundImageNumber >= 0) FPatterns.emplace_back("PI", NextObjectNumber());
  // Shared resources.
  AnsiString Res;
  if (!FPatterns.empty()) {
    Res += "/ColorSpace <</CSP [/Pattern /DeviceRGB]>>\r\n/Pattern <<";
    for (auto& [Name, N] : FPatterns) Res += "/" + Name + " " + ObjectRef(N);
    Res += ">>\r\n";
  }
  if (!FFonts.empty()) {
    Res += "/Font <<";
    for (std::size_t I = 0; I < FFonts.size(); ++I)
      Res += "/F" + std::to_string(I) + " " + ObjectRef(FFonts[I]->Info().ObjectNumber) + " ";
    Res += ">>\r\n";
  }
  Res += "/ProcSet " + ObjectRef(4);
  bool AnyImage = FBackgroundImageNumber >= 0;
  for (auto& L : FImageVariants) AnyImage = AnyImage || !L.empty();
  if (AnyImage) {
    Res += "/XObject <<";
    for (auto& L : FImageVariants)
      for (auto& V : L) Res += "/Img" + V->Name + " " + ObjectRef(V->ObjectNumber);
    if (FBackgroundImageNumber >= 0) Res += " /Img0 " + ObjectRef(FBackgroundImageNumber);
    Res += " >>";
  }
  WriteObject(Res + "\r\n", 5, true);
  const TgtItemsToRender Items = GetItemsToRender();
  WriteObject(AnsiString("[/PDF") + ((Items & (1 << irText)) ? " /Text" : "") + ((Items & (1 << irImage)) ? " /ImageC" : "") + "]",
              4, true);
  WritePatterns();
  WriteFonts();
  BuildEncryptDictionary();
  // Information dictionary.
  AnsiString Info = "/CreationDate <" + StrToHex(EncryptString(FCreationDate, 3)) + ">/ModDate <" +
                    StrToHex(EncryptString(FCreationDate, 3)) + ">/Producer <" + TextString(u"Sourcelux PDF 1.0", 3) + ">";
  auto Add = [&](const char* Key, const WideString& V) {
    const auto B = V.find_first_not_of(u" \t\r\n");
    if (B == WideString::npos) return;
    const auto E = V.find_last_not_of(u" \t\r\n");
    Info += AnsiString("/") + Key + " <" + TextString(V.substr(B, E - B + 1), 3) + ">";
  };
  TgtDocInfo* DI = GetDocInfo();
  Add("Author", DI->GetAuthor());
  Add("Keywords", DI->GetKeywords());
  Add("Creator", DI->GetCreator());
  Add("Title", DI->GetTitle());
  Add("Subject", DI->GetSubject());
  WriteObject(Info + "\r\n", 3, true);
  // Cross-reference table: one entry per number handed out.
  std::vector<Int64> First(std::size_t(FObjectCount) + 1, -1);
  for (auto& [Off, N] : FOffsets)
    if (N > 0 && N <= FObjectCount && First[std::size_t(N)] < 0) First[std::size_t(N)] = Off;
  const Int64 XrefOffset = FOutputSize;
  std::string X = "xref\r\n0 " + std::to_string(FObjectCount + 1) + "\r\n0000000000 65535 f\r\n";
  char Buf[32];
  for (Integer N = 1; N <= FObjectCount; ++N) {
    // A number never written (none should be) is listed free rather than pointing nowhere.
    if (First[std::size_t(N)] < 0) std::snprintf(Buf, sizeof Buf, "%.10d %.5d f\r\n", 0, 0);
    else std::snprintf(Buf, sizeof Buf, "%.10lld %.5d n\r\n", (long long)First[std::size_t(N)], 0);
    X += Buf;
  }
  AnsiString Trailer;
  BuildTrailer(Trailer);
  X += "trailer\r\n<<\r\n" + Trailer + "\r\n>>\r\nstartxref\r\n" + std::to_string(XrefOffset) + "\r\n%%EOF";
  WriteRaw(X);
  FFallbackFaces.clear();
  FFonts.clear();
  FImageVariants.clear();
  FPageInfos.clear();
  FCrypt.reset();
  CloseDocumentOutput();
  FOutput = nullptr;
}

// Every entry gets its number first, so siblings and children refer to
// each other in one pass; top-level entries are shown open, deeper closed.
void TgtCustomPDFEngine::WriteOutlines() {
  const TgtTOCList* List = GetOutline();
  if (!List) return;
  const std::size_t N = List->size();
  std::vector<Integer> Num(N);
  for (auto& V : Num) V = NextObjectNumber();
  auto Children = [&](Integer Parent) {
    std::vector<std::size_t> C;
    for (std::size_t I = 0; I < N; ++I)
      if ((*List)[I]->ParentIndex == Parent) C.push_back(I);
    return C;
  };
  for (std::size_t I = 0; I < N; ++I) {
    const TgtTOCItem& E = *(*List)[I];
    AnsiString T = "/Title <" + TextString(E.Title, Num[I]) + ">";
    if (!E.URL.empty()) {
      AnsiString U = E.URL;
      while (!U.empty() && U.back() == ' ') U.pop_back();
      T += "/A <</S /URI /URI<" + StrToHex(EncryptString(U, Num[I])) + "> >>";
    } else if (E.PageNo >= 1 && E.PageNo <= Integer(FPageInfos.size()) && FPageInfos[std::size_t(E.PageNo - 1)]) {
      const TgtPageInfo& P = *FPageInfos[std::size_t(E.PageNo - 1)];
      const double Y = P.Height * GetInputYRes() / gtScreenPPI() - E.Y * FPointsPerPixel * GetInputYRes() / gtScreenPPI();
      T += "/Dest [" + ObjectRef(P.ObjectNumber) + " /XYZ " + FormatNumber(ToPDFX(E.X)) + " " + FormatNumber(Y) + " null]";
    }
    const auto Siblings = Children(E.ParentIndex);
    const auto Me = std::find(Siblings.begin(), Siblings.end(), I) - Siblings.begin();
    T += "/Parent " + ObjectRef(E.ParentIndex < 0 ? FOutlineRoot : Num[std::size_t(E.ParentIndex)]);
    if (Me > 0) T += "/Prev " + ObjectRef(Num[Siblings[std::size_t(Me - 1)]]);
    if (std::size_t(Me + 1) < Siblings.size()) T += "/Next " + ObjectRef(Num[Siblings[std::size_t(Me + 1)]]);
    const auto Kids = Children(Integer(I));
    if (!Kids.empty())
      T += "/First " + ObjectRef(Num[Kids.front()]) + "/Last " + ObjectRef(Num[Kids.back()]) + "/Count " +
           (E.ParentIndex < 0 ? "" : "-") + std::to_string(Kids.size());
    WriteObject(T + "\r\n", Num[I], true);
  }
  const auto Top = Children(-1);
  AnsiString Root = "/Type/Outlines";
  if (!Top.empty())
    Root += "/First " + ObjectRef(Num[Top.front()]) + "/Last " + ObjectRef(Num[Top.back()]) + "/Count " +
            std::to_string(Top.size());
  WriteObject(Root + "\r\n", FOutlineRoot, true);
}
