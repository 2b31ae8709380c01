// dxBarCustForm.h — customizing: the customizing form (toolbars, commands
// and options pages), its painters, the run-time popups, the quick
// customization window and the small editors. While the form is open every
// manager of the process is in customizing mode and the owner forms are
// disabled. The form is owned by the application, one at a time.
// Declarations only for now.
#pragma once
#include "bars/model/dxBarTypes.h"
#include "platform/forms/Forms.h"

class TdxBarCustomizingForm : public TForm {
private:
  TdxBarManager* FBarManager = nullptr;
};
class TdxBarCustomizingFormPainter {};
class TdxBarCustomizingFormStandardPainter : public TdxBarCustomizingFormPainter {};
class TdxBarCustomizingFormFlatPainter : public TdxBarCustomizingFormStandardPainter {};
class TdxBarCustomizingFormXPPainter : public TdxBarCustomizingFormStandardPainter {};
class TdxBarCustomizingFormOffice11Painter : public TdxBarCustomizingFormStandardPainter {};
class TdxBarNameEd : public TForm {};
class TdxBarSubMenuEditor : public TForm {};
class TdxBarItemAddEditor : public TForm {};
