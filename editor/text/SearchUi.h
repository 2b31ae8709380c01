// SearchUi.h — what the memo source's search, replace and clipboard code
// needs from the forms layer: message boxes, the modal dialogs, the
// hourglass cursor and the application's window. Kept apart because the
// forms layer's names (its TPosition among them) cannot share a unit with
// the memo source's.
#pragma once
#include <functional>
#include "platform/rtl/Types.h"
#include "platform/win/WinTypes.h"

class TForm;

// The application's hidden window, or nil without an application.
HWND ApplicationWindow();
// An information message box with an OK button.
void ShowInformationBox(const AnsiString& Text);

enum class TReplaceAnswer { Yes, No, Cancel, All };
// The confirmation box with the buttons Yes, No, Cancel and All; a box
// closed any other way answers Cancel.
TReplaceAnswer AskReplaceConfirmation(const AnsiString& Text);

// The registered dialog form of the class name (EditorDialogs.h), owned by
// the application. Raises EClassNotFound ("Class TSrchDialog not found")
// when no form of that name is registered.
TForm* CreateEditorDialog(const AnsiString& ClassName);

// The combined Find and Replace window of the process: the open one, or a
// new one from Create. It is kept while it exists; closing frees it, and
// the next request makes another.
TForm* SearchReplaceWindow(const std::function<TForm*()>& Create);
// Puts GoToLine into its line field, shows it modeless and turns it to the
// Find or the Replace page.
void ShowSearchReplaceWindow(TForm* Window, Integer GoToLine, bool Replace);

enum class TDialogOutcome { Ok, All, Other };
// Shows the dialog modally and frees it, also when showing it throws.
TDialogOutcome ShowAndFreeDialog(TForm* Dialog);

// Shows the hourglass cursor for its lifetime, unless it shows already.
class THourGlass {
public:
  THourGlass();
  ~THourGlass();
  THourGlass(const THourGlass&) = delete;
  THourGlass& operator=(const THourGlass&) = delete;

private:
  Integer FOld = 0;
  bool FSet = false;
};
