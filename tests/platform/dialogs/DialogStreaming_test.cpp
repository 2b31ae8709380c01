// The common dialogs as components of form descriptions: the program's
// forms hold them (a colour dialog beside the colour buttons, the open
// dialog of a command), so their properties read and write as text.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/forms/ColorDialog.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/FontDialog.h"
#include "platform/forms/PrinterDialogs.h"
#include "platform/rtl/ObjectText.h"

namespace {
// The text form is written with CR LF line ends.
std::string WithoutCR(std::string S) {
  std::erase(S, '\r');
  return S;
}
}  // namespace

TEST(DialogStreaming, DescriptionsOfTheDialogsReadAndWriteBack) {
  RegisterFormsClasses();
  const char* const OpenText = R"(object OpenDialog1: TOpenDialog
  DefaultExt = 'rgb'
  Filter = 'Color scheme (*.rgb)|*.RGB'
  FilterIndex = 2
  Options = [ofHideReadOnly, ofFileMustExist, ofEnableSizing]
  Title = 'Load color styles'
end
)";
  std::unique_ptr<TComponent> Open(TextToComponent(OpenText, nullptr));
  auto* O = dynamic_cast<TOpenDialog*>(Open.get());
  ASSERT_NE(O, nullptr);
  EXPECT_EQ(O->GetDefaultExt(), "rgb");
  EXPECT_EQ(O->GetFilter(), "Color scheme (*.rgb)|*.RGB");
  EXPECT_EQ(O->GetFilterIndex(), 2);
  EXPECT_EQ(O->GetOptions(), (TOpenOptions{ofHideReadOnly, ofFileMustExist, ofEnableSizing}));
  EXPECT_EQ(O->GetTitle(), "Load color styles");
  EXPECT_EQ(WithoutCR(ComponentToText(O)), OpenText);

  const char* const ColorText = R"(object ColorDialog1: TColorDialog
  Color = clRed
  CustomColors.Strings = (
    'ColorA=FF0000'
    'ColorB=FFFFFF')
  Options = [cdFullOpen]
end
)";
  std::unique_ptr<TComponent> Color(TextToComponent(ColorText, nullptr));
  auto* C = dynamic_cast<TColorDialog*>(Color.get());
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(C->GetColor(), clRed);
  EXPECT_EQ(C->CustomColorValues()[0], clRed);
  EXPECT_EQ(C->GetOptions(), TColorDialogOptions{cdFullOpen});
  EXPECT_EQ(WithoutCR(ComponentToText(C)), ColorText);

  // Defaults are not written.
  TSaveDialog Save(nullptr);
  Save.SetName("SaveDialog1");
  EXPECT_EQ(WithoutCR(ComponentToText(&Save)), "object SaveDialog1: TSaveDialog\nend\n");
  TFontDialog Font(nullptr);
  Font.SetName("FontDialog1");
  Font.SetOptions({fdTrueTypeOnly, fdEffects, fdScalableOnly});
  std::unique_ptr<TComponent> Back(TextToComponent(ComponentToText(&Font), nullptr));
  ASSERT_NE(dynamic_cast<TFontDialog*>(Back.get()), nullptr);
  EXPECT_EQ(static_cast<TFontDialog*>(Back.get())->GetOptions(),
            (TFontDialogOptions{fdTrueTypeOnly, fdEffects, fdScalableOnly}));
  TPrinterSetupDialog Printer(nullptr);
  Printer.SetName("PrinterSetupDialog1");
  std::unique_ptr<TComponent> P(TextToComponent(ComponentToText(&Printer), nullptr));
  EXPECT_NE(dynamic_cast<TPrinterSetupDialog*>(P.get()), nullptr);
}
