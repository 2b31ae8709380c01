#include "export/engine/EngineSettings.h"
#include "export/engine/DocumentEngine.h"

namespace {
struct TPaperEntry { double W, H; };
// Inches, portrait, in TgtPaperSize order. Tabloid-sized 11x17 paper is 11
// inches wide, as its name says.
const TPaperEntry PaperTable[] = {
    {8.5, 11},         {8.5, 11},         {11, 17},          {17, 11},          {8.5, 14},
    {5.5, 8.5},        {7.25, 10.5},      {11.6929, 16.5354}, {8.2677, 11.6929}, {8.2677, 11.6929},
    {5.8267, 8.2677},  {9.8425, 13.8976}, {6.9291, 9.8425},  {8.5, 13},         {8.4645, 10.8267},
    {10, 14},          {11, 17},          {8.5, 11},         {4.125, 9.5},      {4.5, 10.375},
    {4.75, 11},        {5, 11.5},         {17, 22},          {22, 34},          {34, 44},
    {4.3307, 8.6614},  {6.3779, 9.0157},  {12.7559, 18.0314}, {9.1057, 12.7559}, {4.4881, 6.3779},
    {4.4881, 9.0157},  {9.8425, 13.8976}, {6.9291, 9.8425},  {6.9291, 4.9212},  {4.3307, 9.0551},
    {3.875, 7.5},      {3.625, 6.5},      {14.875, 11},      {8.5, 12},         {9.8425, 13.8976},
};
static_assert(sizeof PaperTable / sizeof PaperTable[0] == Custom);
}  // namespace

bool PaperSizeInches(TgtPaperSize Size, double& Width, double& Height) {
  if (Size >= Custom) return false;
  Width = PaperTable[Size].W;
  Height = PaperTable[Size].H;
  return true;
}

// ---- TgtPageSettings ---------------------------------------------------------

TgtPageSettings::TgtPageSettings(TgtDocSettings* SettingsOwner) : FSettingsOwner(SettingsOwner) {
  SetPaperSize(A4);
}

void TgtPageSettings::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TgtPageSettings*>(Source)) {
    FPaperSize = S->FPaperSize;
    FWidth = S->FWidth;
    FHeight = S->FHeight;
    FLeftMargin = S->FLeftMargin;
    FRightMargin = S->FRightMargin;
    FTopMargin = S->FTopMargin;
    FBottomMargin = S->FBottomMargin;
    FHeaderHeight = S->FHeaderHeight;
    FFooterHeight = S->FFooterHeight;
    FBinNumber = S->FBinNumber;
    FOrientation = S->FOrientation;
    return;
  }
  TPersistent::Assign(Source);
}

void TgtPageSettings::SetPaperSize(TgtPaperSize Value) {
  if (FSettingsOwner)
    for (auto* E : FSettingsOwner->Engines())
      if (E->GetPage()->GetPaperSize() == FPaperSize) E->GetPage()->SetPaperSize(Value);
  FPaperSize = Value;
  double W, H;
  if (!PaperSizeInches(Value, W, H)) return;
  const double S = gtScreenPPP();
  if (FOrientation == poLandscape) std::swap(W, H);
  FWidth = W * 72 * S;
  FHeight = H * 72 * S;
}

void TgtPageSettings::SetOrientation(TPrinterOrientation Value) {
  if (Value == FOrientation) return;
  if (FSettingsOwner)
    for (auto* E : FSettingsOwner->Engines())
      if (E->GetPage()->GetOrientation() == FOrientation) E->GetPage()->SetOrientation(Value);
  std::swap(FWidth, FHeight);
  FOrientation = Value;
}

void TgtPageSettings::SetWidth(double Value) {
  if (FPaperSize != Custom) return;
  if (FSettingsOwner)
    for (auto* E : FSettingsOwner->Engines()) {
      TgtPageSettings* P = E->GetPage();
      if (P->FPaperSize == Custom && P->FWidth == FWidth) P->FWidth = Value * FFactor;
    }
  FWidth = Value * FFactor;
}

void TgtPageSettings::SetHeight(double Value) {
  if (FPaperSize != Custom) return;
  if (FSettingsOwner)
    for (auto* E : FSettingsOwner->Engines()) {
      TgtPageSettings* P = E->GetPage();
      if (P->FPaperSize == Custom && P->FHeight == FHeight) P->FHeight = Value * FFactor;
    }
  FHeight = Value * FFactor;
}

void TgtPageSettings::SetLength(TLength Field, double Value) {
  if (FSettingsOwner)
    for (auto* E : FSettingsOwner->Engines()) {
      TgtPageSettings* P = E->GetPage();
      if (P->*Field == this->*Field) P->*Field = Value * FFactor;
    }
  this->*Field = Value * FFactor;
}

// ---- TgtPreferences, TgtDocInfo ------------------------------------------------

void TgtPreferences::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TgtPreferences*>(Source)) {
    FProcessAfterEachPage = S->FProcessAfterEachPage;
    FOutputToUserStream = S->FOutputToUserStream;
    FOpenAfterCreate = S->FOpenAfterCreate;
    FEmailAfterCreate = S->FEmailAfterCreate;
    FShowSetupDialog = S->FShowSetupDialog;
    FCalculateVariables = S->FCalculateVariables;
    return;
  }
  TPersistent::Assign(Source);
}

void TgtPreferences::SetFlag(TFlag Field, bool Value) {
  if (FSettingsOwner)
    for (auto* E : FSettingsOwner->Engines()) {
      TgtPreferences* P = E->GetPreferences();
      if (P->*Field == this->*Field) P->*Field = Value;
    }
  this->*Field = Value;
}

void TgtDocInfo::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TgtDocInfo*>(Source)) {
    FAuthor = S->FAuthor;
    FSubject = S->FSubject;
    FCreator = S->FCreator;
    FTitle = S->FTitle;
    FKeywords = S->FKeywords;
    return;
  }
  TPersistent::Assign(Source);
}

void TgtDocInfo::SetText(TText Field, const WideString& Value) {
  if (FSettingsOwner)
    for (auto* E : FSettingsOwner->Engines()) {
      TgtDocInfo* D = E->GetDocInfo();
      if (D->*Field == this->*Field) D->*Field = Value;
    }
  this->*Field = Value;
}

// ---- small settings ----------------------------------------------------------------

void TgtBorder::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TgtBorder*>(Source)) {
    DrawLeft = S->DrawLeft;
    DrawRight = S->DrawRight;
    DrawTop = S->DrawTop;
    DrawBottom = S->DrawBottom;
    Color = S->Color;
    Style = S->Style;
    Width = S->Width;
    return;
  }
  TPersistent::Assign(Source);
}

void TgtParaBorder::Assign(TPersistent* Source) {
  TgtBorder::Assign(Source);
  if (auto* S = dynamic_cast<TgtParaBorder*>(Source)) Spacing = S->Spacing;
}

void TgtTextEffects::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TgtTextEffects*>(Source)) {
    TextRenderMode = S->TextRenderMode;
    TextRise = S->TextRise;
    return;
  }
  TPersistent::Assign(Source);
}

void TgtFrame::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TgtFrame*>(Source)) {
    Left = S->Left;
    Right = S->Right;
    Top = S->Top;
    Bottom = S->Bottom;
    // Margins are in the unit of the frame's engine, pixels without one (an
    // item's frame): between the two they go through pixels.
    if (S->FEngine == FEngine) {
      Margins = S->Margins;
    } else {
      Margins = S->GetMargins();
      const double Factor = FEngine ? FEngine->GetUnitFactor() : 1;
      if (Factor > 0 && Factor != 1) Margins = ScaleDoubleRect(Margins, 1 / Factor);
    }
    return;
  }
  TPersistent::Assign(Source);
}

TgtDoubleRect TgtFrame::GetMargins() const {
  return FEngine ? ScaleDoubleRect(Margins, FEngine->GetUnitFactor()) : Margins;
}

TgtImageSettings::TgtImageSettings(TgtCustomDocumentEngine* Engine)
    : SourceDPI(gtScreenPPI()), FEngine(Engine) {}

void TgtImageSettings::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TgtImageSettings*>(Source)) {
    SourceDPI = S->SourceDPI;
    SetOutputImageFormat(S->FOutputImageFormat);
    ImagePixelFormat = S->ImagePixelFormat;
    JPEGQuality = S->JPEGQuality;
    Center = S->Center;
    ActualSize = S->ActualSize;
    Stretch = S->Stretch;
    Transparent = S->Transparent;
    KeepAspectRatio = S->KeepAspectRatio;
    DrawFrame = S->DrawFrame;
    RotationAngle = S->RotationAngle;
    return;
  }
  TPersistent::Assign(Source);
}

void TgtImageSettings::SetOutputImageFormat(TgtOutputImageFormat Value) {
  if (FEngine) {
    AnsiString Message;
    // FIXME: show Message in an error box once the message dialogs exist.
    if (!FEngine->ValidateOutputImageFormat(Value, Message)) return;
  }
  FOutputImageFormat = Value;
}

void TgtTextFormatting::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TgtTextFormatting*>(Source)) {
    SpaceBefore = S->SpaceBefore;
    LineSpacing = S->LineSpacing;
    Alignment = S->Alignment;
    Border.Assign(&S->Border);
    FLeftIndent = S->FLeftIndent;
    FRightIndent = S->FRightIndent;
    FFirstIndent = S->FFirstIndent;
    FFactor = S->FFactor;
    return;
  }
  TPersistent::Assign(Source);
}

void TgtTableSettings::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TgtTableSettings*>(Source)) {
    ColumnWidth = S->ColumnWidth;
    AutoSizeColumns = S->AutoSizeColumns;
    TitleRow = S->TitleRow;
    CellMargins = S->CellMargins;
    FRowHeight = S->FRowHeight;
    FTitleRowHeight = S->FTitleRowHeight;
    FFactor = S->FFactor;
    return;
  }
  TPersistent::Assign(Source);
}
