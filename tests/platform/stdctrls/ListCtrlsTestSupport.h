// ListCtrlsTestSupport.h — a parent window that records the notifications
// and owner-draw requests of the list and combo boxes it holds, plus
// helpers that read them back.
#pragma once
#include <string>
#include <vector>

#include "platform/win/WinTestSupport.h"
#include "platform/win/ComboBoxControl.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/OwnerDraw.h"

class TListCtrlTest : public TWinTest {
protected:
  void SetUp() override;

  // A control of Class in the parent, at client rectangle R.
  HWND Child(const char* Class, DWORD Style, TRect R, int Id = 7, DWORD ExStyle = 0);
  // WM_COMMAND notification codes the parent heard from Ctl, in order.
  std::vector<int> Codes(HWND Ctl) const;
  // Client point of Ctl on the screen.
  TPoint OnScreen(HWND Ctl, TPoint Client) const;
  void ClickAt(HWND Ctl, TPoint Client, std::initializer_list<WORD> Held = {});
  void Keys(std::initializer_list<WORD> Held, WORD Key);
  AnsiString Text(HWND Lb, int I, UINT GetLen = LB_GETTEXTLEN, UINT Get = LB_GETTEXT);
  std::vector<int> SelectedItems(HWND Lb);

  HWND Parent = nullptr;
  // Owner-draw requests seen by the parent, and the height it answers.
  std::vector<DRAWITEMSTRUCT> Draws;
  std::vector<MEASUREITEMSTRUCT> Measures;
  std::vector<DELETEITEMSTRUCT> Deletes;
  UINT (*MeasureHeight)(UINT ItemId) = nullptr;
};

// --- the class library's list controls on a form ----------------------------------------

#include <memory>

#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/ListCtrls.h"
#include "platform/rtl/AnsiStrings.h"

// The form of the description ListsFormText: an owner-drawn multi-select
// list box and a drop-down list combo box, with handlers bound by name.
class TListsForm : public TForm {
  SX_CLASS(TListsForm, TForm)
public:
  explicit TListsForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
  static void Published(TPublished<TListsForm>& P) {
    P.Property("Names", &TListsForm::Names, &TListsForm::Names).Stored(false);
    P.Property("Sizes", &TListsForm::Sizes, &TListsForm::Sizes).Stored(false);
    P.Property("Plain", &TListsForm::Plain, &TListsForm::Plain).Stored(false);
    P.Method("NamesDrawItem", &TListsForm::NamesDrawItem);
    P.Method("NamesClick", &TListsForm::NamesClick);
    P.Method("SizesChange", &TListsForm::SizesChange);
  }
  TListBox* Names = nullptr;
  TComboBox* Sizes = nullptr;
  TListBox* Plain = nullptr;
  int Clicks = 0;
  std::vector<AnsiString> Changes;
  std::vector<Integer> Drawn;
  Integer FailOn = -1;  // the row whose drawing raises

  void NamesDrawItem(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State);
  void NamesClick(TObject*) { ++Clicks; }
  void SizesChange(TObject*) { Changes.push_back(Sizes->GetText()); }
};
extern const char* const ListsFormText;

// What reaches the application's error display.
class TErrorLog : public TObject {
public:
  std::vector<AnsiString> Errors;
  void Record(TObject*, const Exception& E) { Errors.push_back(E.Message()); }
};

class TListFormTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  TListsForm* ShowForm();
  void ClickAt(TControl* C, TPoint Client, std::initializer_list<WORD> Held = {});
  void Keys(std::initializer_list<WORD> Held, WORD Key);
  COLORREF PixelAt(TControl* C, TPoint Client);

  std::unique_ptr<TApplication> App;
  TListsForm* Form = nullptr;
  TErrorLog Log;
};
