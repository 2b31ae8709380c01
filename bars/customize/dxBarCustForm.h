// dxBarCustForm.h — customizing: the customizing form (toolbars, commands
// and options pages), the painters of its commands list, and the lists it
// is made of. While the form is open the manager is in customizing mode and
// the owner forms of every manager wait (disabled); mouse input over their
// bars still reaches the bars. The form is owned by nobody, one at a time.
#pragma once
#include "bars/model/dxBarTypes.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListCtrls.h"

// Opens (Value) or closes the customizing form of a manager. Opening
// disables the owner forms of every manager; a failure while the form
// opens enables them again and leaves customizing mode.
void dxBarShowCustomizingForm(TdxBarManager* AManager, bool Value);

class TButton;
class TBitBtn;
class TCheckBox;
class TComboBox;
class TLabel;
class TBevel;
class TPanel;
class TPageControl;
class TTabSheet;
class TCanvas;

// The lists of the form. They live in a namespace of their own: the class
// library has list classes of the same names.
namespace dxBarCustForm {

// The toolbars list: a check box before every bar's caption shows whether
// the bar is visible; clicking the box, double-clicking the row or pressing
// the space bar shows or hides the bar (a bar that may not close beeps).
class TCheckListBox : public TListBox {
public:
  explicit TCheckListBox(TComponent* AOwner);
  TdxBarManager* FBarManager = nullptr;
  // The bar of a row, nil when none.
  TdxBar* BarAt(Integer Index);
  // Shows or hides the bar of a row.
  void ToggleBar(Integer Index);
  void InvalidateCheck(Integer Index);
  Integer CheckWidth() const { return FCheckWidth; }

protected:
  void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyPress(char& Key) override;
  void WndProc(TMessage& Message) override;

private:
  Integer FCheckWidth = 0;
};

// The commands of a category, each drawn like the item in a menu; pressing
// a row and moving the mouse drags the command onto the bars.
class TCommandsListBox : public TListBox {
public:
  TCommandsListBox(TComponent* AOwner, TdxBarManager* AManager);
  TdxBarItem* ItemAt(Integer Index);

protected:
  void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) override;
  void MeasureItem(Integer Index, Integer& Height) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void WndProc(TMessage& Message) override;

private:
  TdxBarManager* FBarManager;
};

}  // namespace dxBarCustForm

// How the commands list draws a row, by the manager's style. The painters
// hold no state: one object of each serves every list.
class TdxBarCustomizingFormPainter {
public:
  virtual ~TdxBarCustomizingFormPainter() = default;
  virtual TColor GetBkColor(bool Selected) const;
  virtual TColor GetTextColor(bool Selected) const;
  virtual void DrawButtonItem(TCanvas* C, TdxBarItem* Item, TRect R, bool Selected) const;
  virtual void DrawEditItem(TCanvas* C, TdxBarItem* Item, TRect R, bool Selected) const;
  virtual void DrawFocusRect(TCanvas* C, TdxBarItem* Item, TRect R) const;
  void DrawSubMenuArrow(TCanvas* C, Integer X, Integer Y, bool Selected) const;

protected:
  // The glyph column of a button row; its width.
  virtual Integer GlyphColumn(TCanvas* C, TdxBarItem* Item, TRect R, bool Selected) const;
  virtual void FrameSelectedRow(TCanvas*, TRect) const {}
  virtual Integer CaptionIndent() const { return 2; }
};
class TdxBarCustomizingFormStandardPainter : public TdxBarCustomizingFormPainter {
public:
  void DrawFocusRect(TCanvas* C, TdxBarItem* Item, TRect R) const override;
};
class TdxBarCustomizingFormFlatPainter : public TdxBarCustomizingFormPainter {
public:
  TColor GetBkColor(bool Selected) const override;
  TColor GetTextColor(bool Selected) const override;

protected:
  Integer GlyphColumn(TCanvas* C, TdxBarItem* Item, TRect R, bool Selected) const override;
  void FrameSelectedRow(TCanvas* C, TRect R) const override;
  Integer CaptionIndent() const override { return 5; }
};
class TdxBarCustomizingFormOffice11Painter : public TdxBarCustomizingFormFlatPainter {
public:
  TColor GetBkColor(bool Selected) const override;
  TColor GetTextColor(bool Selected) const override;

protected:
  Integer GlyphColumn(TCanvas* C, TdxBarItem* Item, TRect R, bool Selected) const override;
  void FrameSelectedRow(TCanvas* C, TRect R) const override;
};
class TdxBarCustomizingFormXPPainter : public TdxBarCustomizingFormPainter {
public:
  void DrawFocusRect(TCanvas* C, TdxBarItem* Item, TRect R) const override;
};
// The painter of a manager's effective style.
const TdxBarCustomizingFormPainter& dxBarCustomizingFormPainter(TdxBarManager* AManager);

// The customizing form: the manager's toolbars (shown, hidden, new,
// renamed, deleted, reset), its categories with their commands (dragged
// onto the bars from here) and its options. Closing it ends customizing.
class TdxBarCustomizingForm : public TForm {
public:
  explicit TdxBarCustomizingForm(TdxBarManager* AManager);
  ~TdxBarCustomizingForm() override;
  TdxBarManager* BarManager() const { return FBarManager; }
  dxBarCustForm::TCheckListBox* ToolbarsList() const { return FBarsList; }
  TListBox* CategoriesList() const { return LCategories; }
  dxBarCustForm::TCommandsListBox* CommandsList() const { return FCommandsList; }
  // Fills the lists again from the manager.
  void RefreshLists();
  void RefreshCommands();
  // The manager's options shown again on the Options page.
  void UpdateOptions();
  void UpdateBarButtons(TObject* Sender = nullptr);
  void UpdateLookAndFeel();
  // A bar's row follows its caption and visibility; a deleted bar's row goes.
  void BarChanged(TdxBar* ABar);
  void BarRemoved(TdxBar* ABar);

  // The components, by their roles.
  TPanel* Panel1 = nullptr;
  TBitBtn* BHelp = nullptr;
  TButton* BClose = nullptr;
  TPageControl* PageControl = nullptr;
  TTabSheet *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr;
  TLabel* LabelToobars = nullptr;
  TButton *BBarNew = nullptr, *BBarRename = nullptr, *BBarDelete = nullptr, *BBarReset = nullptr;
  TLabel *LabelCategories = nullptr, *LabelCommands = nullptr, *LabelDescription = nullptr, *DescriptionLabel = nullptr;
  TListBox* LCategories = nullptr;
  TBevel *Bevel1 = nullptr, *Bevel2 = nullptr, *Bevel3 = nullptr;
  TPanel *StandardOptionsPanel = nullptr, *EnhancedOptionsPanel = nullptr;
  TCheckBox *CBLargeIcons = nullptr, *CBHint1 = nullptr, *CBHint2 = nullptr;
  TCheckBox *CBMenusShowRecentItemsFirst = nullptr, *CBShowFullMenusAfterDelay = nullptr;
  TButton* BResetUsageData = nullptr;
  TCheckBox *CBLargeIconsEx = nullptr, *CBHint1Ex = nullptr, *CBHint2Ex = nullptr;
  TLabel *LabelMenuAnimations = nullptr, *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
  TComboBox *ComboBoxMenuAnimations = nullptr, *ComboBoxMenuAnimationsEx = nullptr;

  // The handlers (public so that a test can press what a user presses).
  void BBarNewClick(TObject* Sender);
  void BBarRenameClick(TObject* Sender);
  void BBarDeleteClick(TObject* Sender);
  void BBarResetClick(TObject* Sender);
  void BResetUsageDataClick(TObject* Sender);
  void LCategoriesClick(TObject* Sender);
  void LCommandsClick(TObject* Sender);

protected:
  void DoClose(TCloseAction& Action) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

private:
  void BuildToolbarsPage();
  void BuildCommandsPage();
  void BuildOptionsPage();
  void SetUpAnimations(TLabel* ALabel, TComboBox* ACombo);
  void CloseClick(TObject* Sender);
  void BHelpClick(TObject* Sender);
  void PageControlChange(TObject* Sender);
  void CBMenusShowRecentItemsFirstClick(TObject* Sender);
  void CBShowFullMenusAfterDelayClick(TObject* Sender);
  void CBLargeIconsClick(TObject* Sender);
  void CBHint1Click(TObject* Sender);
  void CBHint1ExClick(TObject* Sender);
  void CBHint2Click(TObject* Sender);
  void ComboBoxMenuAnimationsClick(TObject* Sender);
  TdxBar* SelectedBar();

  TdxBarManager* FBarManager = nullptr;
  dxBarCustForm::TCheckListBox* FBarsList = nullptr;
  dxBarCustForm::TCommandsListBox* FCommandsList = nullptr;
  bool FUpdatingOptions = false;
};

// The open customizing form; nil when none is.
TdxBarCustomizingForm* dxBarCustomizingForm();
// How the form is made (tests put a maker of their own in; nil restores
// the ordinary one).
using TdxBarCustomizingFormMaker = TdxBarCustomizingForm* (*)(TdxBarManager* AManager);
void dxBarSetCustomizingFormMaker(TdxBarCustomizingFormMaker AMaker);
// The open form follows a bar's caption and visibility, and a deleted bar.
void dxBarCustomizingFormBarChanged(TdxBar* ABar);
void dxBarCustomizingFormBarRemoved(TdxBar* ABar);
void dxBarCustomizingFormOptionsChanged();

// The name dialog: asks for a toolbar (AKind 0) or category (1) name; the
// operation picks the caption (toolbar: 0 add, 1 rename; category: 0 add,
// 1 insert, 2 rename). A toolbar name that another bar carries as its
// caption is refused; an empty name cannot be confirmed. True on OK, with
// the name in AName.
bool dxBarShowBarNameEditor(AnsiString& AName, Integer AKind, Integer AOperation, TdxBar* ABar,
                            TdxBarManager* AManager);
class TEdit;
class TdxBarNameEd : public TForm {
public:
  TdxBarNameEd(TdxBarManager* AManager, Integer AKind, TdxBar* ABar);
  TLabel* LName = nullptr;
  TEdit* EName = nullptr;
  TButton* BOK = nullptr;
  TButton* BCancel = nullptr;
  Integer Kind = 0;
  TdxBarManager* BarManager = nullptr;
  TdxBar* Bar = nullptr;

protected:
  bool CloseQuery() override;

private:
  void ENameChange(TObject* Sender);
};

// The sub-menu editor: a bare caption bar under which a popup menu's links
// open as a live menu while customizing, so that commands can be dragged
// into it, out of it and about in it. One at a time; customizing ends it.
class TdxBarSubMenuEditor : public TForm {
public:
  explicit TdxBarSubMenuEditor(TdxBarItemLinks* ALinks);
  ~TdxBarSubMenuEditor() override;
  TdxBarItemLinks* ItemLinks() const { return FItemLinks; }
  // Opens the links' menu under the caption bar (again).
  void OpenMenu();
  void CloseMenu();

protected:
  void DoClose(TCloseAction& Action) override;
  void WndProc(TMessage& Message) override;

private:
  void FormActivate(TObject* Sender);
  TdxBarItemLinks* FItemLinks;
};
// Opens the editor on the links of a popup menu (customizing starts).
void dxBarShowSubMenuEditor(TdxBarItemLinks* ALinks);
TdxBarSubMenuEditor* dxBarSubMenuEditor();
// The open editor of a manager's links is shown and hidden with the
// manager's owner form.
void dxBarSubMenuEditorFollowOwner(TdxBarManager* AManager, bool AShown);
