#include "bars/customize/dxBarCustForm.h"

#include <vector>
#include "bars/customize/dxBarCustomizing.h"
#include "bars/items/dxBarItem.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarCategories.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/Window.h"

namespace {

TdxBarCustomizingForm* GForm = nullptr;
bool GFormDestroying = false;
std::vector<HWND> GDisabledForms;

// A command is listed by its caption as read, without accelerator marks.
AnsiString WithoutAccelMarks(const AnsiString& S) {
  AnsiString R;
  for (std::size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '&' && I + 1 < S.size()) ++I;
    R += S[I];
  }
  return R;
}

TdxBarCustomizingForm* MakeForm(TdxBarManager* AManager) { return new TdxBarCustomizingForm(AManager); }
TdxBarCustomizingFormMaker GMaker = &MakeForm;

// Disables the owner form of every manager (remembering which were
// enabled), or enables the remembered ones again.
void SetBarManagerFormsEnabled(bool Enable) {
  if (Enable) {
    std::vector<HWND> List;
    List.swap(GDisabledForms);
    for (HWND W : List)
      if (IsWindow(W)) EnableWindow(W, TRUE);
    return;
  }
  for (Integer I = 0; I < BarManagers().Count(); ++I) {
    TCustomForm* F = BarManagers().Get(I)->OwnerForm();
    if (!F || !F->HandleAllocated() || !IsWindowEnabled(F->Handle())) continue;
    EnableWindow(F->Handle(), FALSE);
    GDisabledForms.push_back(F->Handle());
  }
}

}  // namespace

TdxBarCustomizingForm* dxBarCustomizingForm() { return GForm; }

void dxBarSetCustomizingFormMaker(TdxBarCustomizingFormMaker AMaker) { GMaker = AMaker ? AMaker : &MakeForm; }

void dxBarShowCustomizingForm(TdxBarManager* AManager, bool Value) {
  if (Value) {
    if (GForm) return;
    dxBarSetCustomizingManager(AManager);
    if (AManager->OnShowCustomizingForm) AManager->OnShowCustomizingForm(AManager);
    SetBarManagerFormsEnabled(false);
    try {
      GForm = GMaker(AManager);
      GForm->Show();
    } catch (...) {
      // A form that fails to open must not leave the program's forms
      // disabled, nor the manager in a customizing mode nobody can end.
      TdxBarCustomizingForm* F = GForm;
      GForm = nullptr;
      SetBarManagerFormsEnabled(true);
      delete F;
      dxBarSetCustomizingManager(nullptr);
      dxBarSetCustomizing(AManager, false);
      if (AManager->OnHideCustomizingForm) AManager->OnHideCustomizingForm(AManager);
      throw;
    }
    return;
  }
  if (dxBarCustomizingManager() != AManager) return;
  dxBarSetCustomizingManager(nullptr);
  if (!GFormDestroying) {
    SetBarManagerFormsEnabled(true);
    TdxBarCustomizingForm* F = GForm;
    GForm = nullptr;
    delete F;
  }
  if (AManager->OnHideCustomizingForm) AManager->OnHideCustomizingForm(AManager);
}

// ---------------------------------------------------------------------------
// The form

TdxBarCustomizingForm::TdxBarCustomizingForm(TdxBarManager* AManager) : TForm(nullptr), FBarManager(AManager) {
  SetCaption(dxBarStr(dxSBAR_CUSTOMIZINGFORM));
  SetBorderStyle(bsSizeToolWin);
  SetBounds(100, 100, 520, 340);
  SetKeyPreview(true);
  FToolbars = new TListBox(this);
  FToolbars->SetParent(this);
  FToolbars->SetBounds(8, 8, 160, 260);
  FCategories = new TListBox(this);
  FCategories->SetParent(this);
  FCategories->SetBounds(176, 8, 150, 260);
  FCategories->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::CategoryClick);
  FCommands = new TListBox(this);
  FCommands->SetParent(this);
  FCommands->SetBounds(334, 8, 170, 260);
  FClose = new TButton(this);
  FClose->SetParent(this);
  FClose->SetCaption(dxBarStr(64948));
  FClose->SetBounds(420, 276, 84, 24);
  FClose->SetCancel(true);
  FClose->OnClick = TNotifyEvent(this, &TdxBarCustomizingForm::CloseClick);
  RefreshLists();
}

TdxBarCustomizingForm::~TdxBarCustomizingForm() {
  // Freed by its owner road or closed by the user: either way customizing
  // mode ends, without freeing this form a second time.
  GFormDestroying = true;
  if (GForm == this) {
    SetBarManagerFormsEnabled(true);
    if (dxBarCustomizingManager() == FBarManager) dxBarSetCustomizing(FBarManager, false);
    GForm = nullptr;
  }
  GFormDestroying = false;
}

void TdxBarCustomizingForm::RefreshLists() {
  FToolbars->GetItems()->Clear();
  for (Integer I = 0; I < FBarManager->Bars()->Count(); ++I)
    if (TdxBar* B = FBarManager->Bars()->GetItem(I); !B->GetHidden()) FToolbars->GetItems()->Add(B->GetCaption());
  FCategories->GetItems()->Clear();
  for (Integer I = 0; I < FBarManager->Categories()->GetCount(); ++I)
    if (FBarManager->GetCategoryVisible(I)) FCategories->GetItems()->Add(FBarManager->Categories()->GetStrings(I));
  if (FCategories->GetItems()->GetCount()) FCategories->SetItemIndex(0);
  RefreshCommands();
}

void TdxBarCustomizingForm::RefreshCommands() {
  FCommands->GetItems()->Clear();
  const Integer Row = FCategories->GetItemIndex();
  if (Row < 0) return;
  // The row-th visible category.
  Integer Category = -1;
  for (Integer I = 0, Seen = -1; I < FBarManager->Categories()->GetCount(); ++I)
    if (FBarManager->GetCategoryVisible(I) && ++Seen == Row) {
      Category = I;
      break;
    }
  std::vector<TdxBarItem*> Items;
  FBarManager->GetVisibleItemsByCategory(Category, Items);
  for (TdxBarItem* I : Items)
    if (!I->IsHiddenInCommandList()) FCommands->GetItems()->AddObject(WithoutAccelMarks(I->GetCaption()), I);
}

void TdxBarCustomizingForm::CategoryClick(TObject*) { RefreshCommands(); }

void TdxBarCustomizingForm::CloseClick(TObject*) { Close(); }

void TdxBarCustomizingForm::DoClose(TCloseAction& Action) {
  TForm::DoClose(Action);
  Action = caFree;
}

void TdxBarCustomizingForm::KeyDown(Word& Key, TShiftState Shift) {
  // Escape anywhere on the form is its Close button.
  if (Key == VK_ESCAPE) {
    Key = 0;
    Close();
    return;
  }
  TForm::KeyDown(Key, Shift);
}
