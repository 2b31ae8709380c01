// Options.h — the options dialog: shows "Options.ini" and "HotKeys.ini"
// (and the hidden configuration list), and OK writes them and applies the
// shortcuts and hot keys at once. Nothing is applied before OK: a shortcut
// given with Assign waits in the dialog, and Cancel drops it. A value that
// cannot be stored (a page size that is no number in range) or a file that
// cannot be written keeps the dialog open with the reason.
//
// The hot-key controls hold a shortcut value, the files hold texts. A key
// the user leaves alone keeps its stored text as it was, also one that the
// control cannot show (a key of another keyboard, the Windows key); only a
// key the user changed is written anew, in the form its reader reads: the
// global hot keys in the hot-key manager's text form (the same keyboard's
// names that start-up reads them with), the convert shortcuts in the class
// library's shortcut text.
#pragma once
#include <map>
#include "platform/forms/Forms.h"
#include "platform/forms/ListCtrls.h"
#include "platform/rtl/ShortCuts.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class THotKey;
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
  THotKey* HotKey1 = nullptr;
  THotKey* HotKey2 = nullptr;
  THotKey* HotKey3 = nullptr;
  THotKey* HotKey4 = nullptr;
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
  // A hot-key field as it was filled: the stored text and the value the
  // control was given for it; Typed once the user typed into it (a key
  // cleared by the user differs from one never touched, also when both
  // show none).
  struct TStoredKey {
    AnsiString Text;
    TShortCut Shown = 0;
    bool Typed = false;
  };
  TStoredKey* StoredKeyOf(TObject* Control);
  static bool Edited(const THotKey* Control, const TStoredKey& Stored);
  void ShowGlobalHotKey(THotKey* Control, TStoredKey& Stored, const AnsiString& Text);
  AnsiString GlobalHotKeyText(const THotKey* Control, const TStoredKey& Stored) const;
  void HotKeyChange(TObject* Sender);

  TMainForm* FMain = nullptr;
  TStoredKey FIndentKey, FConvertKey, FActivationKey;  // HotKey1, HotKey2, HotKey3
  TStoredKey FFormatKey;                                // HotKey4, for the selected format
  std::map<Integer, AnsiString> FStoredShortCuts;       // convert item index -> its text in "HotKeys.ini"
  std::map<Integer, TShortCut> FAssigned;               // convert item index -> shortcut given with Assign
};
