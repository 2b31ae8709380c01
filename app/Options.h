// Options.h — the options dialog: shows "Options.ini" and "HotKeys.ini"
// (and the hidden configuration list), and OK writes them and applies the
// shortcuts and hot keys at once. Nothing is applied before OK: a shortcut
// given with Assign waits in the dialog, and Cancel drops it. A value that
// cannot be stored (a page size that is no number in range) or a file that
// cannot be written keeps the dialog open with the reason.
#pragma once
#include <map>
#include "platform/forms/Forms.h"
#include "platform/forms/ListCtrls.h"
#include "platform/rtl/ShortCuts.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TLabel;
class TListBox;
class TMainForm;
class TMyListBox;
class TRadioButton;
class TUpDown;
class TcxPageControl;
class TcxTabSheet;

class TOptionsDlg : public TForm {
  SX_CLASS(TOptionsDlg, TForm)
public:
  // The owner is the main window whose shortcuts and hot keys change.
  explicit TOptionsDlg(TComponent* AOwner);
  static void Published(TPublished<TOptionsDlg>& P);

  TcxPageControl* cxPageControl = nullptr;
  TcxTabSheet* cxTabSheet1 = nullptr;
  TcxTabSheet* cxTabSheet2 = nullptr;
  TcxTabSheet* cxTabSheet3 = nullptr;
  TCheckBox* cbMinimized = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TListBox* ListBox = nullptr;
  TButton* AddBtn = nullptr;
  TButton* EditBtn = nullptr;
  TButton* CopyBtn = nullptr;
  TButton* SetAsDefBtn = nullptr;
  TButton* DeleteBtn = nullptr;
  TLabel* Label5 = nullptr;
  // FIXME: the hot-key fields are edits holding the hot-key text until the
  // platform has a hot-key control; they become THotKey controls then.
  TEdit* HotKey1 = nullptr;
  TEdit* HotKey2 = nullptr;
  TEdit* HotKey3 = nullptr;
  TEdit* HotKey4 = nullptr;
  TEdit* Edit_Width = nullptr;
  TEdit* Edit_Height = nullptr;
  TUpDown* udWidth = nullptr;
  TUpDown* udHeight = nullptr;
  TCheckBox* cbSetupDialog = nullptr;
  TCheckBox* cbOpenAfterExport = nullptr;
  TCheckBox* cbEncrypt = nullptr;
  TRadioButton* RadioButton_AskForPass = nullptr;
  TRadioButton* RadioButton_AlwaysUseThisPass = nullptr;
  TEdit* Edit_Password = nullptr;
  TMyListBox* ListBox1 = nullptr;
  TButton* AssignHKBtn = nullptr;
  TComboBox* cbDefaultExportFormat = nullptr;
  TButton* OKBtn = nullptr;
  TButton* CancelBtn = nullptr;

  void FormCreate(TObject* Sender);
  void OKBtnClick(TObject* Sender);
  void ListBox1Change(TObject* Sender);
  void AssignHKBtnClick(TObject* Sender);
  void SetAsDefBtnClick(TObject* Sender);
  void ListBoxDrawItem(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State);
  void cbEncryptClick(TObject* Sender);
  void RadioButton_AlwaysUseThisPassClick(TObject* Sender);
  void ListBoxDblClick(TObject* Sender);
  void AddBtnClick(TObject* Sender);
  void CopyBtnClick(TObject* Sender);
  void DeleteBtnClick(TObject* Sender);

  // OK's work; false (with the reason shown) when something could not be
  // stored. The dialog closes with OK only after true.
  bool ApplyAndSave();

private:
  TMainForm* FMain = nullptr;
  std::map<Integer, TShortCut> FAssigned;  // convert item index -> shortcut given with Assign
};
