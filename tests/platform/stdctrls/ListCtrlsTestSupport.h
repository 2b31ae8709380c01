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

// A stand-in "EDIT" class for the combo box's edit part, registered only
// where the window layer has none: it keeps its text and reports EN_UPDATE
// and EN_CHANGE for typed characters.
void RegisterStubEditClass();
