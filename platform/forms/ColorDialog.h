// ColorDialog.h — the colour dialog: basic colours, sixteen custom colours
// and, opened fully, a colour made from its red, green and blue parts.
//
// CustomColors holds the custom colours as the program stores them, one
// line per slot from "ColorA" to "ColorP", each "ColorA=RRGGBB" in
// hexadecimal (red first). Lines the dialog cannot read count as white,
// the colour of an unused slot; after OK the list holds all sixteen.
#pragma once
#include <array>
#include <memory>
#include "platform/forms/Dialogs.h"
#include "platform/rtl/Strings.h"

SX_ENUM(TColorDialogOption, cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor)
using TColorDialogOptions = TSet<TColorDialogOption>;

class TColorDialog : public TCommonDialog {
  SX_CLASS(TColorDialog, TCommonDialog)
public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;
  static void Published(TPublished<TColorDialog>& P);

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TStrings* GetCustomColors() const { return FCustomColors.get(); }
  void SetCustomColors(TStrings* Value) { FCustomColors->Assign(Value); }
  TColorDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TColorDialogOptions Value) { FOptions = Value; }

  // The sixteen custom colours CustomColors holds (RGB colours).
  std::array<TColor, 16> CustomColorValues() const;
  void SetCustomColorValues(const std::array<TColor, 16>& Values);

protected:
  TDialogRequest MakeRequest() override;
  TAnswerTaken TakeAnswer(const TDialogAnswer& Answer) override;
  TForm* CreateForm() override;
  void TakeForm(TForm* Form) override;

private:
  TColor FColor = clBlack;
  std::unique_ptr<TStringList> FCustomColors;
  TColorDialogOptions FOptions;
};

// The dialog's 48 basic colours, row by row (six rows of eight).
const std::array<TColor, 48>& BasicDialogColors();

// Registers the colour dialog for form descriptions.
void RegisterColorDialogClasses();
