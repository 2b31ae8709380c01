// dxBarCustForm.h — customizing: the customizing form (toolbars, commands
// and options pages), its painters, the run-time popups, the quick
// customization window and the small editors. While the form is open every
// manager of the process is in customizing mode and the owner forms are
// disabled. The form is owned by the application, one at a time.
#pragma once
#include "bars/model/dxBarTypes.h"
#include "platform/forms/Forms.h"

// Opens (Value) or closes the customizing form of a manager. Opening
// disables the owner forms of every manager; a failure while the form
// opens enables them again and leaves customizing mode.
void dxBarShowCustomizingForm(TdxBarManager* AManager, bool Value);

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
