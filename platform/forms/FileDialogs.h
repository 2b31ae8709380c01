// FileDialogs.h — the open and save dialogs (and their picture kinds with a
// preview): a form of this platform's own over the real file system.
//
// Execute opens in the folder of a FileName that has one, else InitialDir,
// else the folder this dialog (its class and title) was last confirmed in
// during this run, else the current folder. What the user confirms is
// checked the same way whether it was typed, clicked or given by a test's
// answer: the folder must exist (ofPathMustExist), the file must exist
// (ofFileMustExist), an existing file is only replaced after a Yes to the
// overwrite prompt (ofOverwritePrompt). A check that fails shows its
// message and the dialog stays open, so nothing is overwritten unasked.
#pragma once
#include <memory>
#include "platform/forms/Dialogs.h"
#include "platform/rtl/Strings.h"

SX_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
        ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware,
        ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog,
        ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent, ofForceShowHidden)
using TOpenOptions = TSet<TOpenOption>;

class TFileDialogForm;

class TOpenDialog : public TCommonDialog {
  SX_CLASS(TOpenDialog, TCommonDialog)
public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  static void Published(TPublished<TOpenDialog>& P);

  const AnsiString& GetDefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const AnsiString& Value);  // without the dot
  const AnsiString& GetFileName() const { return FFileName; }
  void SetFileName(const AnsiString& Value) { FFileName = Value; }
  // Every name chosen (one unless ofAllowMultiSelect), full paths.
  TStrings* Files() const { return FFiles.get(); }
  const AnsiString& GetFilter() const { return FFilter; }
  void SetFilter(const AnsiString& Value) { FFilter = Value; }
  // 1-based; the line shown first and, after Execute, the one last shown.
  Integer GetFilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(Integer Value) { FFilterIndex = Value; }
  const AnsiString& GetInitialDir() const { return FInitialDir; }
  void SetInitialDir(const AnsiString& Value) { FInitialDir = Value; }
  TOpenOptions GetOptions() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }
  // Empty: "Open", or "Save As" for a save dialog.
  const AnsiString& GetTitle() const { return FTitle; }
  void SetTitle(const AnsiString& Value) { FTitle = Value; }
  // The caption the dialog shows.
  AnsiString Caption() const;

  bool Execute() override;

  // Checks the names a user confirmed (typed or picked; relative names in
  // Folder) and, when they pass, takes them into FileName and Files. A
  // failed check has shown its message; false keeps the dialog open.
  bool AcceptNames(const std::vector<AnsiString>& Names, const AnsiString& Folder);
  // The folder the next Execute of this dialog opens in.
  AnsiString StartFolder() const;
  // Forgets the folders remembered for every dialog (tests).
  static void ForgetFolders();

  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnFolderChange;
  TNotifyEvent OnTypeChange;
  TCloseQueryEvent OnCanClose;

protected:
  TDialogRequest MakeRequest() override;
  TAnswerTaken TakeAnswer(const TDialogAnswer& Answer) override;
  TForm* CreateForm() override;
  void TakeForm(TForm* Form) override;
  virtual bool IsSaveDialog() const { return false; }
  // The picture dialogs add a preview.
  virtual bool HasPreview() const { return false; }
  virtual bool DoCanClose();

public:
  // Called by the form as the user works in it.
  virtual void DoSelectionChange();
  virtual void DoFolderChange();
  virtual void DoTypeChange();

protected:
  AnsiString FDefaultExt;
  AnsiString FFileName;
  std::unique_ptr<TStringList> FFiles;
  AnsiString FFilter;
  Integer FFilterIndex = 1;
  AnsiString FInitialDir;
  TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
  AnsiString FTitle;

private:
  AnsiString FolderKey() const;
  bool Confirm(const AnsiString& Text);
  void Warn(const AnsiString& Text);
};

class TSaveDialog : public TOpenDialog {
  SX_CLASS(TSaveDialog, TOpenDialog)
public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
  static void Published(TPublished<TSaveDialog>&) {}

protected:
  bool IsSaveDialog() const override { return true; }
};

// The open dialog with a preview of the picture selected; the filter
// starts as every picture format the graphics layer reads.
class TOpenPictureDialog : public TOpenDialog {
  SX_CLASS(TOpenPictureDialog, TOpenDialog)
public:
  explicit TOpenPictureDialog(TComponent* AOwner);
  static void Published(TPublished<TOpenPictureDialog>&) {}

protected:
  bool HasPreview() const override { return true; }
};

class TSavePictureDialog : public TOpenPictureDialog {
  SX_CLASS(TSavePictureDialog, TOpenPictureDialog)
public:
  explicit TSavePictureDialog(TComponent* AOwner) : TOpenPictureDialog(AOwner) {}
  static void Published(TPublished<TSavePictureDialog>&) {}

protected:
  bool IsSaveDialog() const override { return true; }
};

// Registers the file dialogs for form descriptions.
void RegisterFileDialogClasses();
