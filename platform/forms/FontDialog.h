// FontDialog.h — the font dialog: a family from the font layer's list, a
// style, a size and, with fdEffects, strike-out, underline and a colour,
// shown in a sample as they are chosen.
//
// A family that is not installed, or a size outside MinFontSize..
// MaxFontSize with fdLimitSize, is refused with a message and the dialog
// stays open (a test's answer is held to the same checks).
#pragma once
#include <memory>
#include <vector>
#include "platform/forms/Dialogs.h"

SX_ENUM(TFontDialogOption, fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel,
        fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, fdWysiwyg,
        fdLimitSize, fdScalableOnly, fdApplyButton)
using TFontDialogOptions = TSet<TFontDialogOption>;
SX_ENUM(TFontDialogDevice, fdScreen, fdPrinter, fdBoth)

class TFontDialog : public TCommonDialog {
  SX_CLASS(TFontDialog, TCommonDialog)
public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  static void Published(TPublished<TFontDialog>& P);

  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TFontDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TFontDialogOptions Value) { FOptions = Value; }
  TFontDialogDevice GetDevice() const { return FDevice; }
  void SetDevice(TFontDialogDevice Value) { FDevice = Value; }
  Integer GetMinFontSize() const { return FMinFontSize; }
  void SetMinFontSize(Integer Value) { FMinFontSize = Value; }
  Integer GetMaxFontSize() const { return FMaxFontSize; }
  void SetMaxFontSize(Integer Value) { FMaxFontSize = Value; }

  // The families the dialog offers under its options (sorted, in the ANSI
  // code page; families whose names it cannot hold are left out).
  std::vector<AnsiString> Families() const;
  // Checks a choice; false after the message saying why.
  bool CheckChoice(const AnsiString& Name, Integer Size);

  // With fdApplyButton: the Apply button put the font chosen so far into
  // Font (the dialog stays open).
  TNotifyEvent OnApply;
  // Takes the font its form shows into Font.
  void ApplyForm(TForm* Form);

protected:
  TDialogRequest MakeRequest() override;
  TAnswerTaken TakeAnswer(const TDialogAnswer& Answer) override;
  TForm* CreateForm() override;
  void TakeForm(TForm* Form) override;

private:
  std::unique_ptr<TFont> FFont;
  TFontDialogOptions FOptions{fdEffects};
  TFontDialogDevice FDevice = fdScreen;
  Integer FMinFontSize = 0;
  Integer FMaxFontSize = 0;
};

// Registers the font dialog for form descriptions.
void RegisterFontDialogClasses();
