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

class TListBox;
class TButton;

// The customizing form: the manager's toolbars, its categories and the
// commands of the chosen category. Closing it ends customizing mode.
class TdxBarCustomizingForm : public TForm {
public:
  explicit TdxBarCustomizingForm(TdxBarManager* AManager);
  ~TdxBarCustomizingForm() override;
  TdxBarManager* BarManager() const { return FBarManager; }
  TListBox* ToolbarsList() const { return FToolbars; }
  TListBox* CategoriesList() const { return FCategories; }
  TListBox* CommandsList() const { return FCommands; }
  // Fills the lists again from the manager.
  void RefreshLists();
  void RefreshCommands();

protected:
  void DoClose(TCloseAction& Action) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

private:
  void CategoryClick(TObject* Sender);
  void CloseClick(TObject* Sender);
  TdxBarManager* FBarManager = nullptr;
  TListBox* FToolbars = nullptr;
  TListBox* FCategories = nullptr;
  TListBox* FCommands = nullptr;
  TButton* FClose = nullptr;
};

// The open customizing form; nil when none is.
TdxBarCustomizingForm* dxBarCustomizingForm();
// How the form is made (tests put a maker of their own in; nil restores
// the ordinary one).
using TdxBarCustomizingFormMaker = TdxBarCustomizingForm* (*)(TdxBarManager* AManager);
void dxBarSetCustomizingFormMaker(TdxBarCustomizingFormMaker AMaker);
class TdxBarCustomizingFormPainter {};
class TdxBarCustomizingFormStandardPainter : public TdxBarCustomizingFormPainter {};
class TdxBarCustomizingFormFlatPainter : public TdxBarCustomizingFormStandardPainter {};
class TdxBarCustomizingFormXPPainter : public TdxBarCustomizingFormStandardPainter {};
class TdxBarCustomizingFormOffice11Painter : public TdxBarCustomizingFormStandardPainter {};
class TdxBarNameEd : public TForm {};
class TdxBarSubMenuEditor : public TForm {};
class TdxBarItemAddEditor : public TForm {};
