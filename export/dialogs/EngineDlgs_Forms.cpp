// The engine dialogs' own controls and the behaviour that needs no engine.
#include "export/dialogs/EngineDlgs.h"

#include "platform/forms/Dialogs.h"
#include "platform/forms/Panels.h"
#include "platform/rtl/Format.h"

namespace {
TObject* Ordinal(Integer V) { return reinterpret_cast<TObject*>(static_cast<intptr_t>(V)); }

void FillOrdinals(TComboBox* C, std::initializer_list<const char*> Lines) {
  Integer I = 0;
  for (const char* L : Lines) C->GetItems()->AddObject(L, Ordinal(I++));
}
}  // namespace

// ---- plain sheet ---------------------------------------------------------------------

TgtPlainSheetDlg::TgtPlainSheetDlg(TComponent* AOwner) : TgtDocumentDlg(AOwner) {
  chkActiveHyperLinks = AddCheck(gbPreferences, "chkActiveHyperLinks", 12, 174, 200);
  chkImage->OnClick = TNotifyEvent(this, &TgtPlainSheetDlg::chkImageClick);
}

void TgtPlainSheetDlg::LoadCaptions() {
  inherited::LoadCaptions();
  chkActiveHyperLinks->SetCaption("Active HyperLinks");
}

void TgtPlainSheetDlg::chkImageClick(TObject*) {
  SetControlsEnabled(gbImageSettings, chkImage->GetChecked());
  cbOutputImageFormatChange();
}

void TgtSVGEngineDlg::LoadCaptions() {
  inherited::LoadCaptions();
  SetCaption("SVG Setup");
}

void TgtSVGEngineDlg::FormCreate() {
  inherited::FormCreate();
  for (Integer F : {0 /*BMP*/, 2 /*GIF*/, 4 /*Metafile*/}) DeleteObject(cbOutputImageFormat, F);
  DeletePageLine("Background");
}

// ---- PDF ---------------------------------------------------------------------------

TgtPDFEngineDlg::TgtPDFEngineDlg(TComponent* AOwner) : TgtPlainSheetDlg(AOwner) {
  SetClientWidth(ClientWidth() + 13);
  rgpEmbedTrueTypeFonts = new TRadioGroup(this);
  rgpEmbedTrueTypeFonts->SetName("rgpEmbedTrueTypeFonts");
  rgpEmbedTrueTypeFonts->SetParent(gbPreferences);
  rgpEmbedTrueTypeFonts->SetBounds(10, 226, 300, 44);
  rgpEmbedTrueTypeFonts->SetColumns(3);

  tsPDFAdvanced = AddSheet("tsPDFAdvanced");
  gbPDFOptions = AddGroup(tsPDFAdvanced, "gbPDFOptions", 6, 2, 322, 340);
  chkCompressDocument = AddCheck(gbPDFOptions, "chkCompressDocument", 10, 14, 200);
  chkCompressDocument->SetChecked(true);
  chkCompressDocument->OnClick = TNotifyEvent(this, &TgtPDFEngineDlg::chkCompressDocumentClick);
  gbUseCompression = AddGroup(gbPDFOptions, "gbUseCompression", 10, 32, 300, 40);
  lblCompressionLevel = AddLabel(gbUseCompression, "lblCompressionLevel", 10, 16);
  cbCompressionLevel = AddCombo(gbUseCompression, "cbCompressionLevel", 150, 12, 140);
  chkEnableEncryption = AddCheck(gbPDFOptions, "chkEnableEncryption", 10, 78, 200);
  chkEnableEncryption->OnClick = TNotifyEvent(this, &TgtPDFEngineDlg::chkEnableEncryptionClick);
  gbEncryption = AddGroup(gbPDFOptions, "gbEncryption", 10, 96, 300, 204);
  struct TPw {
    TLabel** L;
    TEdit** E;
    const char *LN, *EN;
  };
  const TPw Pw[] = {{&lblOwnerPassword, &edOwnerPassword, "lblOwnerPassword", "edOwnerPassword"},
                    {&lblConfirmOwnerPassword, &edConfirmOwnerPassword, "lblConfirmOwnerPassword",
                     "edConfirmOwnerPassword"},
                    {&lblUserPassword, &edUserPassword, "lblUserPassword", "edUserPassword"},
                    {&lblConfirmUserPassword, &edConfirmUserPassword, "lblConfirmUserPassword",
                     "edConfirmUserPassword"}};
  Integer Y = 14;
  for (const auto& P : Pw) {
    *P.L = AddLabel(gbEncryption, P.LN, 10, Y + 3);
    *P.E = AddEdit(gbEncryption, P.EN, 150, Y, 140);
    (*P.E)->SetPasswordChar('*');
    (*P.L)->SetFocusControl(*P.E);
    Y += 23;
  }
  edConfirmOwnerPassword->OnExit = TNotifyEvent(this, &TgtPDFEngineDlg::edConfirmPasswordExit);
  edConfirmUserPassword->OnExit = TNotifyEvent(this, &TgtPDFEngineDlg::edConfirmPasswordExit);
  lblEncryptionLevel = AddLabel(gbEncryption, "lblEncryptionLevel", 10, Y + 3);
  cbEncryptionLevel = AddCombo(gbEncryption, "cbEncryptionLevel", 150, Y, 140);
  cbEncryptionLevel->OnChange = TNotifyEvent(this, &TgtPDFEngineDlg::cbEncryptionLevelChange);
  gbUserPermissions = AddGroup(gbEncryption, "gbUserPermissions", 8, Y + 26, 284, 84);
  struct TPerm {
    TCheckBox** C;
    const char* N;
  };
  const TPerm Perm[] = {{&chkCopy, "chkCopy"},
                        {&chkModify, "chkModify"},
                        {&chkPrint, "chkPrint"},
                        {&chkFormFill, "chkFormFill"},
                        {&chkAnnotation, "chkAnnotation"},
                        {&chkAccessibility, "chkAccessibility"},
                        {&chkDocumentAssembly, "chkDocumentAssembly"},
                        {&chkHighResolutionPrint, "chkHighResolutionPrint"}};
  for (Integer I = 0; I < 8; ++I)
    *Perm[I].C = AddCheck(gbUserPermissions, Perm[I].N, 8 + (I / 4) * 140, 16 + (I % 4) * 16, 136);
  gbUserPermissions->SetEnabled(false);
  lblFontEncoding = AddLabel(gbPDFOptions, "lblFontEncoding", 10, 312);
  cbEncoding = AddCombo(gbPDFOptions, "cbEncoding", 160, 308, 150);

  tsViewerPreferences = AddSheet("tsViewerPreferences");
  gbViewerPreferences = AddGroup(tsViewerPreferences, "gbViewerPreferences", 6, 2, 322, 300);
  lblPageLayout = AddLabel(gbViewerPreferences, "lblPageLayout", 10, 22);
  cbPageLayout = AddCombo(gbViewerPreferences, "cbPageLayout", 150, 18, 160);
  lblPageMode = AddLabel(gbViewerPreferences, "lblPageMode", 10, 48);
  cbPageMode = AddCombo(gbViewerPreferences, "cbPageMode", 150, 44, 160);
  gbHideUIElements = AddGroup(gbViewerPreferences, "gbHideUIElements", 10, 74, 300, 80);
  chkMenuBar = AddCheck(gbHideUIElements, "chkMenuBar", 10, 16, 200);
  chkToolBar = AddCheck(gbHideUIElements, "chkToolBar", 10, 36, 200);
  chkNavigationControls = AddCheck(gbHideUIElements, "chkNavigationControls", 10, 56, 200);
  gbPresentationMode = AddGroup(gbViewerPreferences, "gbPresentationMode", 10, 160, 300, 80);
  lblPageTransitionEffect = AddLabel(gbPresentationMode, "lblPageTransitionEffect", 10, 20);
  cbPageTransitionEffect = AddCombo(gbPresentationMode, "cbPageTransitionEffect", 140, 16, 150);
  cbPageTransitionEffect->OnChange = TNotifyEvent(this, &TgtPDFEngineDlg::cbPageTransitionEffectChange);
  lblPageTransitionDuration = AddLabel(gbPresentationMode, "lblPageTransitionDuration", 10, 48);
  edPageTransitionDuration = AddEdit(gbPresentationMode, "edPageTransitionDuration", 140, 44, 50);
  lblSecs = AddLabel(gbPresentationMode, "lblSecs", 196, 48);
  lblSecs->SetCaption("Secs");
}

void TgtPDFEngineDlg::LoadCaptions() {
  inherited::LoadCaptions();
  SetCaption("PDF Setup");
  rgpEmbedTrueTypeFonts->SetCaption("Embed Used TrueType Fonts");
  rgpEmbedTrueTypeFonts->GetItems()->Clear();
  for (const char* L : {"None", "Full", "Subset"}) rgpEmbedTrueTypeFonts->GetItems()->Add(L);
  struct TCaption {
    TControl* C;
    const char* T;
  };
  const TCaption Captions[] = {{tsPDFAdvanced, "Advanced"},
                               {chkCompressDocument, "Compress Document"},
                               {lblCompressionLevel, "Compression Level:"},
                               {chkEnableEncryption, "Encrypt Document"},
                               {lblOwnerPassword, "Owner Password:"},
                               {lblConfirmOwnerPassword, "Confirm Owner Password:"},
                               {lblUserPassword, "User Password:"},
                               {lblConfirmUserPassword, "Confirm User Password:"},
                               {lblEncryptionLevel, "Level:"},
                               {gbUserPermissions, "User Permissions"},
                               {chkCopy, "Copy"},
                               {chkModify, "Modify"},
                               {chkPrint, "Print"},
                               {chkFormFill, "Form Fill"},
                               {chkAnnotation, "Annotation"},
                               {chkAccessibility, "Accessibility"},
                               {chkDocumentAssembly, "Document Assembly"},
                               {chkHighResolutionPrint, "High Resolution Print"},
                               {lblFontEncoding, "Font Encoding:"},
                               {tsViewerPreferences, "Viewer Preferences"},
                               {lblPageLayout, "Page Layout:"},
                               {lblPageMode, "Page Mode:"},
                               {gbHideUIElements, "Hide UI Elements"},
                               {chkMenuBar, "Menu Bar"},
                               {chkToolBar, "Tool Bar"},
                               {chkNavigationControls, "Navigation Controls"},
                               {gbPresentationMode, "Presentation Mode"},
                               {lblPageTransitionEffect, "Page Transition Effect:"},
                               {lblPageTransitionDuration, "Page Transition Duration:"}};
  for (const auto& C : Captions) C.C->SetText(C.T);
  gbPDFOptions->SetText("");
  gbUseCompression->SetText("");
  gbEncryption->SetText("");
  gbViewerPreferences->SetText("");
}

void TgtPDFEngineDlg::FormCreate() {
  inherited::FormCreate();
  for (Integer F : {2 /*GIF*/, 3 /*PNG*/, 4 /*Metafile*/}) DeleteObject(cbOutputImageFormat, F);
  FillOrdinals(cbCompressionLevel, {"Fastest", "Normal", "Maximum"});
  FillOrdinals(cbEncoding,
               {"WinAnsiEncoding", "MacRomanEncoding", "MacExpertEncoding", "StandardEncoding", "PDFDocEncoding"});
  FillOrdinals(cbEncryptionLevel, {"40 Bit", "128 Bit"});
  FillOrdinals(cbPageLayout, {"Single Page", "One Column", "Two Column Left", "Two Column Right"});
  FillOrdinals(cbPageMode, {"Use None", "Use Outlines", "Use Thumbs", "Full Screen"});
  FillOrdinals(cbPageTransitionEffect,
               {"None", "Split Horizontal Inward", "Split Horizontal Outward", "Split Vertical Inward",
                "Split Vertical Outward", "Blinds Horizontal", "Blinds Vertical", "Box Inward", "Box Outward",
                "Wipe Left To Right", "Wipe Bottom To Top", "Wipe Right To Left", "Wipe Top To Bottom", "Dissolve",
                "Glitter Left To Right", "Glitter Top To Bottom", "Glitter Top-Left To Bottom-Right"});
  AddPageLine("Advanced");
  AddPageLine("Viewer Preferences");
}

void TgtPDFEngineDlg::edConfirmPasswordExit(TObject* Sender) {
  if (!chkEnableEncryption->GetChecked()) return;
  const bool Owner = Sender == edConfirmOwnerPassword;
  TEdit* First = Owner ? edOwnerPassword : edUserPassword;
  TEdit* Confirm = Owner ? edConfirmOwnerPassword : edConfirmUserPassword;
  if (Confirm->GetText() == First->GetText()) return;
  MessageDlg(Format("The %s Passwords do not match.\r\nPlease re-enter.", {Owner ? "Owner" : "User"}), mtError,
             {mbOK}, 0);
  if (First->CanFocus()) First->SetFocus();
}

void TgtPDFEngineDlg::chkEnableEncryptionClick(TObject*) {
  SetControlsEnabled(gbEncryption, chkEnableEncryption->GetChecked());
  if (chkEnableEncryption->GetChecked()) cbEncryptionLevelChange();
}

void TgtPDFEngineDlg::cbEncryptionLevelChange(TObject*) {
  const bool High = cbEncryptionLevel->GetItemIndex() > 0;
  for (TCheckBox* C : {chkAnnotation, chkAccessibility, chkDocumentAssembly, chkHighResolutionPrint})
    C->SetEnabled(High);
}

void TgtPDFEngineDlg::chkCompressDocumentClick(TObject*) {
  SetControlsEnabled(gbUseCompression, chkCompressDocument->GetChecked());
}

void TgtPDFEngineDlg::cbPageTransitionEffectChange(TObject*) {
  const Integer I = cbPageTransitionEffect->GetItemIndex();
  const bool On = I >= 0 && cbPageTransitionEffect->GetItems()->GetStrings(I) != "None";
  lblPageTransitionDuration->SetEnabled(On);
  edPageTransitionDuration->SetEnabled(On);
  edPageTransitionDuration->SetColor(On ? clWindow : clInactiveBorder);
  lblSecs->SetEnabled(On);
}

// ---- raster ------------------------------------------------------------------------

TgtGraphicsDlg::TgtGraphicsDlg(TComponent* AOwner) : TgtDocumentDlg(AOwner) {
  tsQualityAndScaling = AddSheet("tsQualityAndScaling");
  gbQualityAndScaling = AddGroup(tsQualityAndScaling, "gbQualityAndScaling", 6, 2, 322, 200);
  chkMonochrome = AddCheck(gbQualityAndScaling, "chkMonochrome", 10, 18, 200);
  lblPixelFormat = AddLabel(gbQualityAndScaling, "lblPixelFormat", 10, 46);
  cbPixelFormat = AddCombo(gbQualityAndScaling, "cbPixelFormat", 120, 42, 120);
  lblScaleX = AddLabel(gbQualityAndScaling, "lblScaleX", 10, 74);
  edScaleX = AddEdit(gbQualityAndScaling, "edScaleX", 120, 70, 60);
  lblScaleY = AddLabel(gbQualityAndScaling, "lblScaleY", 10, 102);
  edScaleY = AddEdit(gbQualityAndScaling, "edScaleY", 120, 98, 60);
  edScaleX->OnKeyPress = TKeyPressEvent(this, &TgtGraphicsDlg::edKeyPress);
  edScaleY->OnKeyPress = TKeyPressEvent(this, &TgtGraphicsDlg::edKeyPress);
  chkImage->OnClick = TNotifyEvent(this, &TgtGraphicsDlg::chkImageClick);
}

void TgtGraphicsDlg::LoadCaptions() {
  inherited::LoadCaptions();
  tsQualityAndScaling->SetCaption("Quality & Scaling");
  chkMonochrome->SetCaption("Monochrome");
  lblPixelFormat->SetCaption("Pixel Format:");
  lblScaleX->SetCaption("Scale X:");
  lblScaleY->SetCaption("Scale Y:");
  gbQualityAndScaling->SetCaption("Quality And Scaling");
}

void TgtGraphicsDlg::FormCreate() {
  inherited::FormCreate();
  SetControlsEnabled(gbDocInfo, false);
  FillOrdinals(cbPixelFormat, {"Device", "1 bit", "4 bit", "8 bit", "15 bit", "16 bit", "24 bit", "32 bit"});
  AddPageLine("Quality & Scaling");
}

void TgtGraphicsDlg::chkImageClick(TObject*) {
  SetControlsEnabled(gbImageSettings, chkImage->GetChecked());
  // The raster engines draw pictures into the page: no output format.
  for (TControl* C : {static_cast<TControl*>(lblOutputImageFormat), static_cast<TControl*>(cbOutputImageFormat),
                      static_cast<TControl*>(lblJPEGQuality), static_cast<TControl*>(edJPEGQuality)})
    C->SetEnabled(false);
  edJPEGQuality->SetColor(clInactiveBorder);
  cbOutputImageFormat->SetColor(clInactiveBorder);
}

void TgtBMPEngineDlg::LoadCaptions() {
  inherited::LoadCaptions();
  SetCaption("BMP Setup");
}

TgtJPEGEngineDlg::TgtJPEGEngineDlg(TComponent* AOwner) : TgtGraphicsDlg(AOwner) {
  lblQuality = AddLabel(gbQualityAndScaling, "lblQuality", 10, 130);
  edQuality = AddEdit(gbQualityAndScaling, "edQuality", 120, 126, 60);
  chkProgressiveEncoding = AddCheck(gbQualityAndScaling, "chkProgressiveEncoding", 10, 156, 200);
}

void TgtJPEGEngineDlg::LoadCaptions() {
  inherited::LoadCaptions();
  SetCaption("JPEG Setup");
  lblQuality->SetCaption("Quality:");
  chkProgressiveEncoding->SetCaption("Progressive Encoding");
}

TgtPNGEngineDlg::TgtPNGEngineDlg(TComponent* AOwner) : TgtGraphicsDlg(AOwner) {
  tsAdvanced = AddSheet("tsAdvanced");
  lblColorType = AddLabel(tsAdvanced, "lblColorType", 16, 16);
  cbColorType = AddCombo(tsAdvanced, "cbColorType", 140, 12, 160);
  cbColorType->OnChange = TNotifyEvent(this, &TgtPNGEngineDlg::cbColorTypeChange);
  chkPixelDimensions = AddCheck(tsAdvanced, "chkPixelDimensions", 16, 44, 200);
  chkPixelDimensions->OnClick = TNotifyEvent(this, &TgtPNGEngineDlg::chkPixelDimensionsClick);
  gbPixelDimensions = AddGroup(tsAdvanced, "gbPixelDimensions", 8, 62, 320, 96);
  lblXPixelsPerUnit = AddLabel(gbPixelDimensions, "lblXPixelsPerUnit", 10, 18);
  edXPixelsPerUnit = AddEdit(gbPixelDimensions, "edXPixelsPerUnit", 140, 14, 80);
  lblYPixelsPerUnit = AddLabel(gbPixelDimensions, "lblYPixelsPerUnit", 10, 44);
  edYPixelsPerUnit = AddEdit(gbPixelDimensions, "edYPixelsPerUnit", 140, 40, 80);
  lblUnitSpecifier = AddLabel(gbPixelDimensions, "lblUnitSpecifier", 10, 70);
  cbUnitSpecifier = AddCombo(gbPixelDimensions, "cbUnitSpecifier", 140, 66, 100);
  chkTransparency = AddCheck(tsAdvanced, "chkTransparency", 16, 168, 200);
  chkTransparency->OnClick = TNotifyEvent(this, &TgtPNGEngineDlg::chkTransparencyClick);
  gbTransparency = AddGroup(tsAdvanced, "gbTransparency", 8, 186, 320, 70);
  lblImageAlpha = AddLabel(gbTransparency, "lblImageAlpha", 10, 18);
  edImageAlpha = AddEdit(gbTransparency, "edImageAlpha", 140, 14, 60);
  lblTransparencyColor = AddLabel(gbTransparency, "lblTransparencyColor", 10, 44);
  shpTransparencyColor = new TShape(this);
  shpTransparencyColor->SetName("shpTransparencyColor");
  shpTransparencyColor->SetParent(gbTransparency);
  shpTransparencyColor->SetBounds(140, 40, 40, 22);
  shpTransparencyColor->OnMouseDown = TMouseEvent(this, &TgtPNGEngineDlg::TransDown);
  shpTransparencyColor->OnMouseUp = TMouseEvent(this, &TgtPNGEngineDlg::TransUp);
}

void TgtPNGEngineDlg::LoadCaptions() {
  inherited::LoadCaptions();
  SetCaption("PNG Setup");
  tsAdvanced->SetCaption("Advanced");
  lblColorType->SetCaption("Color Type:");
  chkPixelDimensions->SetCaption("Pixel Dimensions");
  lblXPixelsPerUnit->SetCaption("X Pixels Per Unit:");
  lblYPixelsPerUnit->SetCaption("Y Pixels Per Unit:");
  lblUnitSpecifier->SetCaption("Unit Specifier:");
  chkTransparency->SetCaption("Transparency");
  lblImageAlpha->SetCaption("Image Alpha:");
  lblTransparencyColor->SetCaption("Transparency Color:");
  gbPixelDimensions->SetCaption("");
  gbTransparency->SetCaption("");
}

void TgtPNGEngineDlg::FormCreate() {
  inherited::FormCreate();
  DeletePageLine("Quality & Scaling");
  AddPageLine("Advanced");
  FillOrdinals(cbColorType, {"Grayscale", "RGB", "RGB With Alpha", "Grayscale With Alpha"});
  FillOrdinals(cbUnitSpecifier, {"None", "Meter"});
  SetControlsEnabled(gbDocInfo, true);
}

void TgtPNGEngineDlg::chkPixelDimensionsClick(TObject*) {
  SetControlsEnabled(gbPixelDimensions, chkPixelDimensions->GetChecked());
}

void TgtPNGEngineDlg::chkTransparencyClick(TObject*) {
  SetControlsEnabled(gbTransparency, chkTransparency->GetChecked());
  cbColorTypeChange();
}

void TgtPNGEngineDlg::cbColorTypeChange(TObject*) {
  const Integer T = SelectedObject(cbColorType);
  const bool On = chkTransparency->GetChecked(), Alpha = T == 2 || T == 3;
  lblTransparencyColor->SetEnabled(!Alpha && On);
  shpTransparencyColor->SetEnabled(!Alpha && On);
  lblImageAlpha->SetEnabled(Alpha && On);
  edImageAlpha->SetEnabled(Alpha && On);
  edImageAlpha->SetColor(Alpha && On ? clWindow : clInactiveBorder);
}

TColor TgtPNGEngineDlg::TransparencyColor() const { return shpTransparencyColor->GetBrush()->GetColor(); }
void TgtPNGEngineDlg::SetTransparencyColor(TColor Color) { shpTransparencyColor->GetBrush()->SetColor(Color); }

void TgtPNGEngineDlg::TransDown(TObject*, TMouseButton, TShiftState, Integer X, Integer Y) { FTransDown = {X, Y}; }

void TgtPNGEngineDlg::TransUp(TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
  ColorDialog->SetColor(TransparencyColor());
  if (Button == mbLeft && X == FTransDown.X && Y == FTransDown.Y && ColorDialog->Execute())
    SetTransparencyColor(ColorDialog->GetColor());
}
