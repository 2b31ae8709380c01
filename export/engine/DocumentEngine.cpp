// DocumentEngine.cpp — the engine's life cycle, settings, units, band area and
// output files. Rendering is in DocumentEngine_Render.cpp, the drawing
// interface in DocumentEngine_Draw.cpp, the text services in
// DocumentEngine_Text.cpp.
#include "export/engine/DocumentEngine.h"
#include <spawn.h>
#include <algorithm>
#include <sys/wait.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include "export/engine/MetafileProcessor.h"
#include "platform/gdi/EmfPlayer.h"
#include "platform/rtl/FileUtils.h"

extern char** environ;

TgtCustomDocumentEngine::TgtCustomDocumentEngine(TComponent* AOwner)
    : TgtComponent(AOwner), FInputXRes(gtScreenPPI()), FInputYRes(gtScreenPPI()) {
  FFont = std::make_unique<TFont>();
  FDefaultFont = std::make_unique<TFont>();
  FPen = std::make_unique<TPen>();
  FBrush = std::make_unique<TBrush>();
  FTextEffects = std::make_unique<TgtTextEffects>();
  FFrame = std::make_unique<TgtFrame>(this);
  FPage = std::make_unique<TgtPageSettings>();
  FPageBorder = std::make_unique<TgtBorder>();
  FImageSettings = std::make_unique<TgtImageSettings>(this);
  FTextFormatting = std::make_unique<TgtTextFormatting>();
  FTableSettings = std::make_unique<TgtTableSettings>();
  FBackgroundImage = std::make_unique<TPicture>();
  FDocInfo = std::make_unique<TgtDocInfo>();
  SetMeasurementUnit(muInches);
}

TgtCustomDocumentEngine::~TgtCustomDocumentEngine() {
  if (FSettings) FSettings->RemoveEngine(this);
  FreeDocument();
}

std::unique_ptr<TgtPreferences> TgtCustomDocumentEngine::GetPreferencesClass() {
  return std::make_unique<TgtPreferences>();
}

TgtPreferences* TgtCustomDocumentEngine::GetPreferences() const {
  if (!FPreferences) FPreferences = const_cast<TgtCustomDocumentEngine*>(this)->GetPreferencesClass();
  return FPreferences.get();
}

void TgtCustomDocumentEngine::RecreatePreferences() {
  if (!FPreferences) return;
  auto Fresh = GetPreferencesClass();
  Fresh->Assign(FPreferences.get());
  FPreferences = std::move(Fresh);
}

Word TgtCustomDocumentEngine::ShowSetupDialog() { return 1; }

// ---- document life cycle ---------------------------------------------------------

void TgtCustomDocumentEngine::BeginDoc() {
  if (FDocOpen) return;
  if (OnBeforeBeginDoc) OnBeforeBeginDoc(this);
  Word Result = 1;
  // A linked dialog goes before the engine's own; the final engines show
  // theirs (export/dialogs), the base confirms without showing anything.
  if (GetPreferences()->GetShowSetupDialog()) {
    Result = FSetupDialog ? ShowLinkedSetupDialog() : ShowSetupDialog();
  }
  if (Result == 2) {
    FDocState = dsCancelled;
    return;
  }
  InitDocument();
  NewPage();
  StartDocument();
  if (!FDocOpen) return;  // the writer could not create its file
  FDocState = dsInDocument;
  if (OnAfterBeginDoc) OnAfterBeginDoc(this);
}

void TgtCustomDocumentEngine::InitDocument() {
  FDocOpen = true;
  FPages.clear();
  FPageMetafile = std::make_unique<TMetafile>();
  for (auto& B : FBands) B = std::make_unique<TgtBandItem>();
  FImages.clear();
  FStates.clear();
  FDocStateId = SaveEngineState();
  FOutputFiles.clear();
  FOutputFileNames.clear();
  FCurrentPage = 0;
  FPageCount = 0;
  FPagesRendered = 0;
  FCurrentBand = bdPageBody;
  ResetFlowState();
  FCurrentBandItem = nullptr;
  FParagraphCursor = 0;
}

void TgtCustomDocumentEngine::StartPageCanvas() {
  TgtPageItem* Page = GetCurrentPageItem();
  FPageMetafile->SetWidth(RoundInt(Page->PageSettings.WidthPx()));
  FPageMetafile->SetHeight(RoundInt(Page->PageSettings.HeightPx()));
  FCanvas = std::make_unique<TMetafileCanvas>(FPageMetafile.get(), nullptr);
}

void TgtCustomDocumentEngine::ClosePageCanvas() {
  // Destroying the canvas ends the recording into the page metafile.
  FCanvas.reset();
  PlayMetafile(FPageMetafile.get(), 0, 0);
}

void TgtCustomDocumentEngine::NewPage() {
  if (!FDocOpen) return;
  if (FAborted) {
    GetPreferences()->SetOpenAfterCreate(false);
    EndDoc();
    FAborted = false;
    return;
  }
  TgtPageItem* Current = GetCurrentPageItem();
  if (Current) {
    Current->ParagraphCursor = FParagraphCursor;
    ClosePageCanvas();
    if (GetPreferences()->GetProcessAfterEachPage()) RenderPage();
    else if (FStreamPages) RenderClosedPages();
  }
  ++FPageCount;
  FCurrentPage = FPageCount;
  auto Page = std::make_unique<TgtPageItem>(this);
  Page->PageSettings.Assign(FPage.get());
  FParagraphCursor = Page->ParagraphCursor;
  FPages.push_back(std::move(Page));
  StartPageCanvas();
  SetCurrentBand(bdPageBody);
}

bool TgtCustomDocumentEngine::PageMayWait(const TgtBandItem& Page) const {
  // Variables are replaced when a page is rendered, and the page count is
  // only known at the end; any line that may hold one keeps its page back.
  const bool Variables = GetPreferences()->GetCalculateVariables();
  for (const TgtItemList* List : {&Page.Items, &Page.TextItems})
    for (const TgtItemRef& Item : *List) {
      if (!Item) continue;
      const TgtItemKind K = Item->Kind();
      if (K == TgtItemKind::Paragraph || K == TgtItemKind::Table) return true;
      const TgtTextItem* Text = AsTextItem(Item.get());
      if (!Text || !Variables) continue;
      for (Integer L = 0; L < Text->Lines.Count(); ++L)
        if (Text->Lines.Get(L).find(u"<%") != WideString::npos) return true;
    }
  return false;
}

void TgtCustomDocumentEngine::RenderClosedPages() {
  // A paragraph or table still open may yet be placed on a closed page.
  if (FParagraph || FTable || !FOverflow.empty() || !FTableRecords.empty()) return;
  for (const auto& Band : FBands)
    if (Band && PageMayWait(*Band)) return;
  const Integer Current = FCurrentPage;
  for (Integer N = FPagesRendered + 1; N <= FPageCount; ++N) {
    const TgtPageItem* Page = GetPageItem(N - 1);
    if (Page && PageMayWait(*Page)) break;
    FCurrentPage = N;
    RenderPage();
    FPagesRendered = N;
  }
  FCurrentPage = Current;
}

void TgtCustomDocumentEngine::EndDoc() {
  if (!FDocOpen) return;
  try {
    if (FCanvas) ClosePageCanvas();
    if (GetPreferences()->GetProcessAfterEachPage()) {
      if (GetCurrentPageItem()) RenderPage();
    } else {
      for (Integer N = 1; N <= FPageCount; ++N) {
        FCurrentPage = N;
        RenderPage();
      }
    }
    if (OnBeforeEndDoc) OnBeforeEndDoc(this);
    FPages.clear();
    FinishDocument();
    if (OnAfterEndDoc) OnAfterEndDoc(this);
    if (!FAborted) CommitOutputFiles();
  } catch (...) {
    // A document that cannot be finished leaves no files behind.
    FAborted = true;
    FreeDocument();
    FAborted = false;
    FDocState = dsFileError;
    throw;
  }
  if (GetPreferences()->GetOpenAfterCreate() && !FAborted && !FOutputFileNames.empty())
    OpenOutputFile(FOutputFileNames.front());
  FreeDocument();
  FDocState = dsFinished;
}

void TgtCustomDocumentEngine::FreeDocument() noexcept {
  if (!FDocOpen) return;
  FCanvas.reset();
  // Back to the drawing state of BeginDoc; the state list may have been
  // cleared by the caller, in which case there is nothing to go back to.
  if (FDocStateId >= 0 && FDocStateId < Integer(FStates.size())) {
    try {
      RestoreEngineState(FDocStateId);
    } catch (...) {
    }
  }
  ResetFlowState();
  for (auto& B : FBands) B.reset();
  FCurrentBandItem = nullptr;
  FPageMetafile.reset();
  FImages.clear();
  for (auto& F : FOutputFiles) {
    F.Discard();
    if (!F.TempName.empty()) std::remove(F.TempName.c_str());
  }
  if (FAborted)
    for (auto& Name : FOutputFileNames)
      if (FileExists(Name) && std::none_of(FOutputFiles.begin(), FOutputFiles.end(),
                                           [&](const TOutputFile& F) { return F.FinalName == Name && !F.TempName.empty(); }))
        DeleteFile(Name);
  FOutputFiles.clear();
  FStates.clear();
  FDocStateId = -1;
  FPages.clear();
  FCurrentPage = 0;
  FPageCount = 0;
  FTextAngle = 0;
  FTextAlignment = 0;
  FDocOpen = false;
}

// ---- output files -------------------------------------------------------------------

TStream* TgtCustomDocumentEngine::CreateOutputFile(const AnsiString& FullName) {
  try {
    if (DirectoryExists(FullName)) throw EFCreateError("Cannot create file \"" + FullName + "\". Access is denied");
    // A name given again in the same document is written over: its file
    // starts anew and the name is listed once more.
    for (auto It = FOutputFiles.begin(); It != FOutputFiles.end(); ++It) {
      if (It->FinalName != FullName || It->TempName.empty()) continue;
      TOutputFile F = std::move(*It);
      FOutputFiles.erase(It);
      F.Discard();
      F.Open();
      FOutputFiles.push_back(std::move(F));
      FOutputFileNames.push_back(FullName);
      return FOutputFiles.back().Stream.get();
    }
    // An existing file that this process holds open, or may not write,
    // cannot be replaced; find that out before writing anything.
    if (FileExists(FullName)) TFileStream Probe(FullName, fmOpenReadWrite | fmShareExclusive);
    TOutputFile F;
    F.FinalName = FullName;
    F.Open();
    FOutputFiles.push_back(std::move(F));
    FOutputFileNames.push_back(FullName);
    return FOutputFiles.back().Stream.get();
  } catch (const Exception& E) {
    FDocState = dsFileError;
    DeleteOutputFiles();
    throw EFileCreateError(FileCreateErrorText(E.Message()));
  }
}

void TgtCustomDocumentEngine::CloseOutputFile() {
  if (!FOutputFiles.empty()) FOutputFiles.back().Close();
}

void TgtCustomDocumentEngine::TOutputFile::Open() {
  File = std::make_unique<TAtomicFileStream>(FinalName);
  TempName = File->TempName();
  Stream = std::make_unique<TWriteBufferStream>(File.get());
}

void TgtCustomDocumentEngine::TOutputFile::Close() {
  if (Stream) Stream->Flush();
  Stream.reset();
}

void TgtCustomDocumentEngine::TOutputFile::Discard() noexcept {
  Stream.reset();
  // The temporary file goes with it.
  File.reset();
}

TStream* TgtCustomDocumentEngine::GetOutputStream() const {
  if (GetPreferences()->GetOutputToUserStream() && FUserStream) return FUserStream;
  return FOutputFiles.empty() ? nullptr : FOutputFiles.back().Stream.get();
}

TStream* TgtCustomDocumentEngine::OpenDocumentOutput(const AnsiString& FullName) {
  if (!GetPreferences()->GetOutputToUserStream()) return CreateOutputFile(FullName);
  if (!FUserStream) {
    FDocState = dsFileError;
    DeleteOutputFiles();
    throw EStreamError("No user stream to write the document to");
  }
  return FUserStream;
}

void TgtCustomDocumentEngine::CloseDocumentOutput() {
  if (!GetPreferences()->GetOutputToUserStream()) CloseOutputFile();
}

void TgtCustomDocumentEngine::CommitOutputFiles() {
  // Every file is whole on disk before the first takes its name.
  for (auto& F : FOutputFiles) F.Close();
  for (auto& F : FOutputFiles) {
    if (F.TempName.empty() || !F.File) continue;
    try {
      F.File->Commit();
    } catch (const Exception& E) {
      throw EFileCreateError(FileCreateErrorText(E.Message()));
    }
    F.File.reset();
    F.TempName.clear();
  }
}

void TgtCustomDocumentEngine::DeleteOutputFiles() {
  bool Was = FAborted;
  FAborted = true;
  FreeDocument();
  FAborted = Was;
}

void TgtCustomDocumentEngine::OpenOutputFile(const AnsiString& FileName) {
  // Headless runs have nobody to show the file to.
  if (!std::getenv("DISPLAY")) return;
  pid_t Pid;
  const char* Argv[] = {"xdg-open", FileName.c_str(), nullptr};
  if (posix_spawnp(&Pid, "xdg-open", nullptr, nullptr, const_cast<char**>(Argv), environ) == 0) {
    int Status;
    waitpid(Pid, &Status, 0);
  }
}

// ---- settings -------------------------------------------------------------------------

void TgtCustomDocumentEngine::SetFileName(const AnsiString& Value) {
  if (FDocOpen) return;
  FFileName = ChangeFileExt(Value, "");
}

void TgtCustomDocumentEngine::SetMeasurementUnit(TgtUnitType Value) {
  FMeasurementUnit = Value;
  FUnitFactor = UnitFactor(Value);
  FPage->SetUnitFactor(FUnitFactor);
  FTextFormatting->SetUnitFactor(FUnitFactor);
  FTableSettings->SetUnitFactor(FUnitFactor);
}

void TgtCustomDocumentEngine::SetReferencePoint(TgtReferencePoint Value) {
  FReferencePoint = Value;
  UpdateBandArea();
}

void TgtCustomDocumentEngine::SetSettings(TgtDocSettings* Value) {
  if (FSettings) FSettings->RemoveEngine(this);
  FSettings = Value;
  if (FSettings) {
    FSettings->FreeNotification(this);
    FSettings->AddEngine(this);
  }
}


// ---- units and band area ----------------------------------------------------------------

double TgtCustomDocumentEngine::UnitToPixelsX(double Value) const {
  if (FUnitFactor != 1.0) return Value * FUnitFactor;
  return FInputXRes > 0 ? Value * (double(gtScreenPPI()) / FInputXRes) : Value;
}

double TgtCustomDocumentEngine::UnitToPixelsY(double Value) const {
  if (FUnitFactor != 1.0) return Value * FUnitFactor;
  return FInputYRes > 0 ? Value * (double(gtScreenPPI()) / FInputYRes) : Value;
}

TgtDoubleRect TgtCustomDocumentEngine::RectToPixels(const TgtDoubleRect& R) const {
  return {UnitToPixelsX(R.Left), UnitToPixelsY(R.Top), UnitToPixelsX(R.Right), UnitToPixelsY(R.Bottom)};
}

bool TgtCustomDocumentEngine::IsInsideArea(double Y, double X) const {
  return FBandArea.Left <= X && X < FBandArea.Right && FBandArea.Top <= Y && Y < FBandArea.Bottom;
}

void TgtCustomDocumentEngine::SetCurrentBand(TgtBand Band) {
  FCurrentBand = Band;
  FCurrentBandItem = Band == bdPageBody ? static_cast<TgtBandItem*>(GetCurrentPageItem())
                                        : FBands[std::size_t(Band) - 1].get();
  UpdateBandArea();
}

void TgtCustomDocumentEngine::UpdateBandArea() {
  if (!FDocOpen) return;
  TgtPageItem* Page = GetCurrentPageItem();
  if (!Page) return;
  const TgtPageSettings& P = Page->PageSettings;
  const double W = P.WidthPx(), H = P.HeightPx(), LM = P.LeftMarginPx(), RM = P.RightMarginPx(),
               TM = P.TopMarginPx(), BM = P.BottomMarginPx(), HH = P.HeaderHeightPx(),
               FH = P.FooterHeightPx();
  TgtDoubleRect& A = FBandArea;
  switch (FReferencePoint) {
    case rpPage: A = {0, 0, W - RM, H - BM}; break;
    case rpMargin: A = {LM, TM, W - RM, H - BM}; break;
    case rpBand:
      A.Left = LM;
      A.Right = W - RM;
      switch (FCurrentBand) {
        case bdPageBody: A.Top = TM + HH; A.Bottom = H - FH - BM; break;
        case bdHeader: A.Top = TM; A.Bottom = TM + HH; break;
        case bdFooter: A.Top = H - FH - BM; A.Bottom = A.Top + FH; break;
        case bdUnderlay:
        case bdOverlay: A.Top = TM; A.Bottom = H - BM; break;
      }
      break;
  }
}

TgtPageItem* TgtCustomDocumentEngine::GetPageItem(Integer Index) const {
  if (Index < 0 || Index >= Integer(FPages.size())) return nullptr;
  return FPages[std::size_t(Index)].get();
}

TgtItemList& TgtCustomDocumentEngine::CurrentItems() { return FCurrentBandItem->Items; }
TgtItemList& TgtCustomDocumentEngine::CurrentTextItems() { return FCurrentBandItem->TextItems; }

void TgtCustomDocumentEngine::AddItem(TgtItemRef Item) {
  if (!FCurrentBandItem) return;
  // Text boxes stay with the drawing: they are framed, not flowing text.
  if (FSplitTextList && Item && Item->Kind() == TgtItemKind::Text)
    FCurrentBandItem->TextItems.push_back(std::move(Item));
  else
    FCurrentBandItem->Items.push_back(std::move(Item));
}

bool TgtCustomDocumentEngine::ValidateOutputImageFormat(TgtOutputImageFormat, AnsiString&) { return true; }

// ---- playing metafiles ----------------------------------------------------------------------

void TgtCustomDocumentEngine::PlayMetafile(TMetafile* Metafile, double X, double Y) {
  if (!Metafile || !FCurrentBandItem) return;
  TgtMetafileProcessor Player(*this);
  Player.SetCurrentPositionText(true);
  const Integer P = gtScreenPPI();
  if (!(FCapabilities & capOwnInputRes) && (FInputXRes != P || FInputYRes != P)) {
    // Resample a drawing made at another resolution onto the page.
    TMetafile Temp;
    Temp.SetWidth(RoundInt(UnitToPixelsX(FPage->GetWidth())));
    Temp.SetHeight(RoundInt(UnitToPixelsY(FPage->GetHeight())));
    {
      TMetafileCanvas Canvas(&Temp, nullptr);
      TRect R(0, 0, Temp.GetWidth(), Temp.GetHeight());
      PlayEnhMetaFile(Canvas.GetHandle(), Metafile->GetHandle(), &R);
    }
    Player.Play(Temp, X + FBandArea.Left, Y + FBandArea.Top);
  } else {
    Player.Play(*Metafile, X + FBandArea.Left, Y + FBandArea.Top);
  }
}

// ---- TgtDocSettings --------------------------------------------------------------------------------

TgtDocSettings::TgtDocSettings(TComponent* AOwner)
    : TgtComponent(AOwner),
      FBackgroundImage(std::make_unique<TPicture>()),
      FPage(std::make_unique<TgtPageSettings>(this)),
      FDocInfo(std::make_unique<TgtDocInfo>(this)),
      FPreferences(std::make_unique<TgtPreferences>(this)) {}

TgtDocSettings::~TgtDocSettings() {
  auto Engines = FEngines;
  for (auto* E : Engines) E->FSettings = nullptr;
}

void TgtDocSettings::AddEngine(TgtCustomDocumentEngine* Engine) {
  FEngines.push_back(Engine);
  Engine->SetBackgroundColor(FBackgroundColor);
  Engine->SetBackgroundImage(FBackgroundImage.get());
  Engine->SetBackgroundImageDisplayType(FBackgroundImageDisplayType);
  Engine->SetDocInfo(FDocInfo.get());
  Engine->SetPage(FPage.get());
  Engine->SetPreferences(FPreferences.get());
  Engine->SetMeasurementUnit(FMeasurementUnit);
}

void TgtDocSettings::RemoveEngine(TgtCustomDocumentEngine* Engine) {
  std::erase(FEngines, Engine);
}

void TgtDocSettings::SetBackgroundColor(TColor Value) {
  for (auto* E : FEngines)
    if (E->GetBackgroundColor() == FBackgroundColor) E->SetBackgroundColor(Value);
  FBackgroundColor = Value;
}

void TgtDocSettings::SetBackgroundImageDisplayType(TgtBackgroundDisplayType Value) {
  for (auto* E : FEngines)
    if (E->GetBackgroundImageDisplayType() == FBackgroundImageDisplayType) E->SetBackgroundImageDisplayType(Value);
  FBackgroundImageDisplayType = Value;
}

void TgtDocSettings::SetMeasurementUnit(TgtUnitType Value) {
  for (auto* E : FEngines)
    if (E->GetMeasurementUnit() == FMeasurementUnit) E->SetMeasurementUnit(Value);
  FMeasurementUnit = Value;
  FPage->SetUnitFactor(UnitFactor(Value));
}

void TgtDocSettings::SetBackgroundImage(TPicture* Value) {
  for (auto* E : FEngines) E->SetBackgroundImage(Value);
  FBackgroundImage->Assign(Value);
}
