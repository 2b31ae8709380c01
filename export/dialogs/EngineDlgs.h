// EngineDlgs.h — the setup dialogs of the plain-sheet family (SVG, PDF)
// and of the raster engines (BMP, JPEG, PNG), each over the common form.
#pragma once
#include "export/dialogs/DocumentDlg.h"

// What every plain-sheet engine shares: the hyperlink preference, the
// items to render, the image settings and the document information.
class TgtPlainSheetDlg : public TgtDocumentDlg {
  SX_CLASS(TgtPlainSheetDlg, TgtDocumentDlg)
public:
  explicit TgtPlainSheetDlg(TComponent* AOwner);
  TCheckBox* chkActiveHyperLinks;
  void LoadCaptions() override;
  void FormShow() override;
  void btnOKClick() override;
  void chkImageClick(TObject* Sender = nullptr) override;
};

class TgtSVGEngineDlg : public TgtPlainSheetDlg {
  SX_CLASS(TgtSVGEngineDlg, TgtPlainSheetDlg)
public:
  using TgtPlainSheetDlg::TgtPlainSheetDlg;
  void LoadCaptions() override;
  void FormCreate() override;
  void FormShow() override;
};

class TgtPDFEngineDlg : public TgtPlainSheetDlg {
  SX_CLASS(TgtPDFEngineDlg, TgtPlainSheetDlg)
public:
  explicit TgtPDFEngineDlg(TComponent* AOwner);
  TRadioGroup* rgpEmbedTrueTypeFonts;
  TTabSheet *tsPDFAdvanced, *tsViewerPreferences;
  TGroupBox *gbPDFOptions, *gbUseCompression, *gbEncryption, *gbUserPermissions;
  TCheckBox *chkCompressDocument, *chkEnableEncryption;
  TLabel *lblCompressionLevel, *lblOwnerPassword, *lblConfirmOwnerPassword, *lblUserPassword,
      *lblConfirmUserPassword, *lblEncryptionLevel, *lblFontEncoding;
  TComboBox *cbCompressionLevel, *cbEncryptionLevel, *cbEncoding;
  TEdit *edOwnerPassword, *edConfirmOwnerPassword, *edUserPassword, *edConfirmUserPassword;
  TCheckBox *chkCopy, *chkModify, *chkPrint, *chkFormFill, *chkAnnotation, *chkAccessibility,
      *chkDocumentAssembly, *chkHighResolutionPrint;
  TGroupBox *gbViewerPreferences, *gbHideUIElements, *gbPresentationMode;
  TLabel *lblPageLayout, *lblPageMode, *lblPageTransitionEffect, *lblPageTransitionDuration, *lblSecs;
  TComboBox *cbPageLayout, *cbPageMode, *cbPageTransitionEffect;
  TCheckBox *chkMenuBar, *chkToolBar, *chkNavigationControls;
  TEdit* edPageTransitionDuration;

  void LoadCaptions() override;
  void FormCreate() override;
  void FormShow() override;
  void btnOKClick() override;
  void edConfirmPasswordExit(TObject* Sender);
  void chkEnableEncryptionClick(TObject* Sender = nullptr);
  void cbEncryptionLevelChange(TObject* Sender = nullptr);
  void chkCompressDocumentClick(TObject* Sender = nullptr);
  void cbPageTransitionEffectChange(TObject* Sender = nullptr);
};

// The raster engines' common page "Quality & Scaling".
class TgtGraphicsDlg : public TgtDocumentDlg {
  SX_CLASS(TgtGraphicsDlg, TgtDocumentDlg)
public:
  explicit TgtGraphicsDlg(TComponent* AOwner);
  TTabSheet* tsQualityAndScaling;
  TGroupBox* gbQualityAndScaling;
  TLabel *lblPixelFormat, *lblScaleX, *lblScaleY;
  TComboBox* cbPixelFormat;
  TEdit *edScaleX, *edScaleY;
  TCheckBox* chkMonochrome;
  void LoadCaptions() override;
  void FormCreate() override;
  void FormShow() override;
  void btnOKClick() override;
  void chkImageClick(TObject* Sender = nullptr) override;
};

class TgtBMPEngineDlg : public TgtGraphicsDlg {
  SX_CLASS(TgtBMPEngineDlg, TgtGraphicsDlg)
public:
  using TgtGraphicsDlg::TgtGraphicsDlg;
  void LoadCaptions() override;
  void FormShow() override;
  void btnOKClick() override;
};

class TgtJPEGEngineDlg : public TgtGraphicsDlg {
  SX_CLASS(TgtJPEGEngineDlg, TgtGraphicsDlg)
public:
  explicit TgtJPEGEngineDlg(TComponent* AOwner);
  TLabel* lblQuality;
  TEdit* edQuality;
  TCheckBox* chkProgressiveEncoding;
  void LoadCaptions() override;
  void FormShow() override;
  void btnOKClick() override;
};

class TgtPNGEngineDlg : public TgtGraphicsDlg {
  SX_CLASS(TgtPNGEngineDlg, TgtGraphicsDlg)
public:
  explicit TgtPNGEngineDlg(TComponent* AOwner);
  TTabSheet* tsAdvanced;
  TLabel *lblColorType, *lblXPixelsPerUnit, *lblYPixelsPerUnit, *lblUnitSpecifier, *lblImageAlpha,
      *lblTransparencyColor;
  TComboBox *cbColorType, *cbUnitSpecifier;
  TCheckBox *chkPixelDimensions, *chkTransparency;
  TGroupBox *gbPixelDimensions, *gbTransparency;
  TEdit *edXPixelsPerUnit, *edYPixelsPerUnit, *edImageAlpha;
  TShape* shpTransparencyColor;
  void LoadCaptions() override;
  void FormCreate() override;
  void FormShow() override;
  void btnOKClick() override;
  void chkPixelDimensionsClick(TObject* Sender = nullptr);
  void chkTransparencyClick(TObject* Sender = nullptr);
  void cbColorTypeChange(TObject* Sender = nullptr);
  TColor TransparencyColor() const;
  void SetTransparencyColor(TColor Color);

private:
  void TransDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void TransUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  TPoint FTransDown{-1, -1};
};
