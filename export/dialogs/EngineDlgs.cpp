// The engine dialogs' values: read from the engine when shown, written back
// on OK (each level writes its own, then its parent's).
#include "export/dialogs/EngineDlgs.h"

#include "export/image/BmpEngine.h"
#include "export/image/JpegEngine.h"
#include "export/image/PngEngine.h"
#include "export/pdf/PdfEngine.h"
#include "export/svg/SvgEngine.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Format.h"

namespace {
TgtItemsToRender WithItem(TgtItemsToRender Items, TgtItemToRender Item, bool On) {
  return On ? TgtItemsToRender(Items | (1 << Item)) : TgtItemsToRender(Items & ~(1 << Item));
}
bool HasItem(TgtItemsToRender Items, TgtItemToRender Item) { return Items & (1 << Item); }
}  // namespace

// ---- plain sheet ---------------------------------------------------------------------

void TgtPlainSheetDlg::FormShow() {
  auto* E = FEngine;
  if (auto* P = dynamic_cast<TgtPlainSheetPreferences*>(E->GetPreferences()))
    chkActiveHyperLinks->SetChecked(P->GetActiveHyperLinks());
  const TgtItemsToRender Items = E->GetItemsToRender();
  chkText->SetChecked(HasItem(Items, irText));
  chkShape->SetChecked(HasItem(Items, irShape));
  chkImage->SetChecked(HasItem(Items, irImage));
  cbImagePixelFormat->SetItemIndex(Integer(E->GetImageSettings()->ImagePixelFormat));
  edSourceDPI->SetText(IntToStr(E->GetImageSettings()->SourceDPI));
  TgtDocInfo* D = E->GetDocInfo();
  ShowDocInfo(D);
  inherited::FormShow();
}

void TgtPlainSheetDlg::btnOKClick() {
  auto* E = FEngine;
  if (auto* P = dynamic_cast<TgtPlainSheetPreferences*>(E->GetPreferences()))
    P->SetActiveHyperLinks(chkActiveHyperLinks->GetChecked());
  E->SetItemsToRender(WithItem(E->GetItemsToRender(), irText, chkText->GetChecked()));
  E->SetItemsToRender(WithItem(E->GetItemsToRender(), irShape, chkShape->GetChecked()));
  E->SetItemsToRender(WithItem(E->GetItemsToRender(), irImage, chkImage->GetChecked()));
  TgtImageSettings* S = E->GetImageSettings();
  if (const Integer F = SelectedObject(cbOutputImageFormat); F >= 0) S->SetOutputImageFormat(TgtOutputImageFormat(F));
  Integer Q = 0;
  // The quality is a single byte: a larger number wraps.
  if (!edJPEGQuality->GetText().empty() && TryStrToInt(edJPEGQuality->GetText(), Q)) S->JPEGQuality = Byte(Q);
  if (const Integer P = SelectedObject(cbImagePixelFormat); P >= 0) S->ImagePixelFormat = TPixelFormat(P);
  S->SourceDPI = StrToInt(edSourceDPI->GetText());
  TgtDocInfo* D = E->GetDocInfo();
  StoreDocInfo(D);
  inherited::btnOKClick();
}

void TgtSVGEngineDlg::FormShow() {
  inherited::FormShow();
  TgtImageSettings* S = FEngine->GetImageSettings();
  SelectText(cbOutputImageFormat, OutputFormatName(S->GetOutputImageFormat()));
  edJPEGQuality->SetText(IntToStr(S->JPEGQuality));
  edJPEGQuality->SetEnabled(S->GetOutputImageFormat() == ifJPEG);
  cbOutputImageFormatChange();
}

// ---- PDF ---------------------------------------------------------------------------

void TgtPDFEngineDlg::FormShow() {
  auto* E = dynamic_cast<TgtCustomPDFEngine*>(FEngine);
  TgtImageSettings* S = E->GetImageSettings();
  SelectText(cbOutputImageFormat, OutputFormatName(S->GetOutputImageFormat()));
  edJPEGQuality->SetText(IntToStr(S->JPEGQuality));
  edJPEGQuality->SetEnabled(S->GetOutputImageFormat() == ifJPEG);
  cbOutputImageFormatChange();
  ShowBackground();
  rgpEmbedTrueTypeFonts->SetItemIndex(E->GetPreferences()->GetEmbedTrueTypeFonts());
  chkCompressDocument->SetChecked(E->GetCompression()->Enabled);
  SelectObject(cbCompressionLevel, E->GetCompression()->Level);
  SelectObject(cbEncoding, E->GetFontEncoding());
  TgtPDFEncryptionSettings* C = E->GetEncryption();
  chkEnableEncryption->SetChecked(C->GetEnabled());
  edOwnerPassword->SetText(C->GetOwnerPassword());
  edConfirmOwnerPassword->SetText(C->GetOwnerPassword());
  edUserPassword->SetText(C->GetUserPassword());
  edConfirmUserPassword->SetText(C->GetUserPassword());
  SelectObject(cbEncryptionLevel, C->GetLevel());
  const TgtUserPermissions P = C->GetUserPermissions();
  chkCopy->SetChecked(P.Contains(AllowCopy));
  chkModify->SetChecked(P.Contains(AllowModify));
  chkPrint->SetChecked(P.Contains(AllowPrint));
  chkFormFill->SetChecked(P.Contains(AllowFormFill));
  chkAnnotation->SetChecked(P.Contains(AllowAnnotation));
  chkAccessibility->SetChecked(P.Contains(AllowAccessibility));
  chkDocumentAssembly->SetChecked(P.Contains(AllowDocAssembly));
  chkHighResolutionPrint->SetChecked(P.Contains(AllowHighResPrint));
  TgtViewerPreferences* V = E->GetViewerPreferences();
  SelectObject(cbPageLayout, V->PageLayout);
  SelectObject(cbPageMode, V->PageMode);
  chkMenuBar->SetChecked(V->HideMenuBar);
  chkToolBar->SetChecked(V->HideToolBar);
  chkNavigationControls->SetChecked(V->HideWindowUI);
  SelectObject(cbPageTransitionEffect, V->PresentationMode->TransitionEffect);
  edPageTransitionDuration->SetText(IntToStr(V->PresentationMode->Duration));
  cbEncryptionLevelChange();
  chkEnableEncryptionClick();
  cbPageTransitionEffectChange();
  inherited::FormShow();
}

void TgtPDFEngineDlg::btnOKClick() {
  auto* E = dynamic_cast<TgtCustomPDFEngine*>(FEngine);
  if (rgpEmbedTrueTypeFonts->GetItemIndex() >= 0)
    E->GetPreferences()->SetEmbedTrueTypeFonts(TgtTTFontEmbedding(rgpEmbedTrueTypeFonts->GetItemIndex()));
  TakeBackground();
  E->GetCompression()->Enabled = chkCompressDocument->GetChecked();
  if (const Integer L = SelectedObject(cbCompressionLevel); L >= 0) E->GetCompression()->Level = TgtCompressionLevel(L);
  if (const Integer F = SelectedObject(cbEncoding); F >= 0) E->SetFontEncoding(TgtPDFFontEncoding(F));
  TgtPDFEncryptionSettings* C = E->GetEncryption();
  C->SetEnabled(chkEnableEncryption->GetChecked());
  C->SetOwnerPassword(edOwnerPassword->GetText());
  C->SetUserPassword(edUserPassword->GetText());
  if (const Integer L = SelectedObject(cbEncryptionLevel); L >= 0) C->SetLevel(TgtPDFEncryptionLevel(L));
  TgtUserPermissions P = C->GetUserPermissions();
  auto Take = [&P](TCheckBox* Box, TgtUserPermissionsType M) {
    if (Box->GetChecked()) P.Include(M);
    else P.Exclude(M);
  };
  Take(chkCopy, AllowCopy);
  Take(chkModify, AllowModify);
  Take(chkPrint, AllowPrint);
  Take(chkFormFill, AllowFormFill);
  // At 40 bits these four do not exist: what they were stays.
  if (C->GetLevel() == el128bit) {
    Take(chkAnnotation, AllowAnnotation);
    Take(chkAccessibility, AllowAccessibility);
    Take(chkDocumentAssembly, AllowDocAssembly);
    Take(chkHighResolutionPrint, AllowHighResPrint);
  }
  C->SetUserPermissions(P);
  TgtViewerPreferences* V = E->GetViewerPreferences();
  if (const Integer L = SelectedObject(cbPageLayout); L >= 0) V->PageLayout = TgtPageLayout(L);
  if (const Integer M = SelectedObject(cbPageMode); M >= 0) V->PageMode = TgtPageMode(M);
  V->HideMenuBar = chkMenuBar->GetChecked();
  V->HideToolBar = chkToolBar->GetChecked();
  V->HideWindowUI = chkNavigationControls->GetChecked();
  if (const Integer T = SelectedObject(cbPageTransitionEffect); T >= 0)
    V->PresentationMode->TransitionEffect = TgtTransitionEffect(T);
  V->PresentationMode->Duration = StrToInt(edPageTransitionDuration->GetText());
  inherited::btnOKClick();
}

// ---- raster ------------------------------------------------------------------------

void TgtGraphicsDlg::FormShow() {
  auto* E = dynamic_cast<TgtCustomGraphicsEngine*>(FEngine);
  const TgtItemsToRender Items = E->GetItemsToRender();
  chkText->SetChecked(HasItem(Items, irText));
  chkShape->SetChecked(HasItem(Items, irShape));
  chkImage->SetChecked(HasItem(Items, irImage));
  cbImagePixelFormat->SetItemIndex(Integer(E->GetImageSettings()->ImagePixelFormat));
  edSourceDPI->SetText(IntToStr(E->GetImageSettings()->SourceDPI));
  chkImageClick();
  ShowBackground();
  edScaleX->SetText(FloatToStr(E->GetScaleX()));
  edScaleY->SetText(FloatToStr(E->GetScaleY()));
  inherited::FormShow();
}

void TgtGraphicsDlg::btnOKClick() {
  auto* E = dynamic_cast<TgtCustomGraphicsEngine*>(FEngine);
  TgtItemsToRender Items = E->GetItemsToRender();
  Items = WithItem(Items, irText, chkText->GetChecked());
  Items = WithItem(Items, irShape, chkShape->GetChecked());
  Items = WithItem(Items, irImage, chkImage->GetChecked());
  E->SetItemsToRender(Items);
  if (const Integer P = SelectedObject(cbImagePixelFormat); P >= 0)
    E->GetImageSettings()->ImagePixelFormat = TPixelFormat(P);
  E->GetImageSettings()->SourceDPI = StrToInt(edSourceDPI->GetText());
  TakeBackground();
  E->SetScaleX(StrToFloat(edScaleX->GetText()));
  E->SetScaleY(StrToFloat(edScaleY->GetText()));
  inherited::btnOKClick();
}

void TgtBMPEngineDlg::FormShow() {
  auto* E = dynamic_cast<TgtCustomGraphicsEngine*>(FEngine);
  SelectObject(cbPixelFormat, Integer(E->GetPixelFormat()));
  chkMonochrome->SetChecked(E->GetMonochrome());
  inherited::FormShow();
}

void TgtBMPEngineDlg::btnOKClick() {
  auto* E = dynamic_cast<TgtCustomGraphicsEngine*>(FEngine);
  if (const Integer P = SelectedObject(cbPixelFormat); P >= 0) E->SetPixelFormat(TPixelFormat(P));
  E->SetMonochrome(chkMonochrome->GetChecked());
  inherited::btnOKClick();
}

void TgtJPEGEngineDlg::FormShow() {
  auto* E = dynamic_cast<TgtJPEGEngine*>(FEngine);
  SelectObject(cbPixelFormat, Integer(E->GetPixelFormat()));
  chkMonochrome->SetChecked(E->GetMonochrome());
  chkProgressiveEncoding->SetChecked(E->GetProgressiveEncoding());
  edQuality->SetText(IntToStr(E->GetQuality()));
  inherited::FormShow();
}

void TgtJPEGEngineDlg::btnOKClick() {
  auto* E = dynamic_cast<TgtJPEGEngine*>(FEngine);
  if (const Integer P = SelectedObject(cbPixelFormat); P >= 0) E->SetPixelFormat(TPixelFormat(P));
  E->SetMonochrome(chkMonochrome->GetChecked());
  E->SetProgressiveEncoding(chkProgressiveEncoding->GetChecked());
  E->SetQuality(StrToInt(edQuality->GetText()));
  inherited::btnOKClick();
}

void TgtPNGEngineDlg::FormShow() {
  auto* E = dynamic_cast<TgtPNGEngine*>(FEngine);
  TgtDocInfo* D = E->GetDocInfo();
  ShowDocInfo(D);
  SelectObject(cbColorType, E->GetColorType());
  TgtPNGPixelDimensions* PD = E->GetPixelDimensions();
  chkPixelDimensions->SetChecked(PD->Enabled);
  edXPixelsPerUnit->SetText(IntToStr(PD->XPixelsPerUnit));
  edYPixelsPerUnit->SetText(IntToStr(PD->YPixelsPerUnit));
  SelectObject(cbUnitSpecifier, PD->UnitSpecifier);
  chkPixelDimensionsClick();
  TgtPNGTransparency* T = E->GetTransparency();
  chkTransparency->SetChecked(T->GetEnabled());
  edImageAlpha->SetText(IntToStr(T->GetImageAlpha() & 0x7F));
  SetTransparencyColor(T->GetTransColor());
  chkTransparencyClick();
  inherited::FormShow();
}

void TgtPNGEngineDlg::btnOKClick() {
  auto* E = dynamic_cast<TgtPNGEngine*>(FEngine);
  TgtDocInfo* D = E->GetDocInfo();
  StoreDocInfo(D);
  if (const Integer C = SelectedObject(cbColorType); C >= 0) E->SetColorType(TgtPNGColorType(C));
  TgtPNGPixelDimensions* PD = E->GetPixelDimensions();
  PD->Enabled = chkPixelDimensions->GetChecked();
  PD->XPixelsPerUnit = Cardinal(StrToInt(edXPixelsPerUnit->GetText()));
  PD->YPixelsPerUnit = Cardinal(StrToInt(edYPixelsPerUnit->GetText()));
  if (const Integer U = SelectedObject(cbUnitSpecifier); U >= 0) PD->UnitSpecifier = TgtPNGUnitSpecifier(U);
  TgtPNGTransparency* T = E->GetTransparency();
  T->SetEnabled(chkTransparency->GetChecked());
  T->SetImageAlpha(StrToInt(edImageAlpha->GetText()));
  T->SetTransColor(TransparencyColor());
  inherited::btnOKClick();
}

// ---- the engines show them ---------------------------------------------------------

Word TgtPDFEngine::ShowSetupDialog() { return RunSetupDialogOf<TgtPDFEngineDlg>(this); }
Word TgtSVGEngine::ShowSetupDialog() { return RunSetupDialogOf<TgtSVGEngineDlg>(this); }
Word TgtBMPEngine::ShowSetupDialog() { return RunSetupDialogOf<TgtBMPEngineDlg>(this); }
Word TgtJPEGEngine::ShowSetupDialog() { return RunSetupDialogOf<TgtJPEGEngineDlg>(this); }
Word TgtPNGEngine::ShowSetupDialog() { return RunSetupDialogOf<TgtPNGEngineDlg>(this); }
