// FileDialogForm.h — the form an open or save dialog shows: the folder's
// path (typed paths and "~" understood) with an Up button, the places
// (home, desktop, the root, mounted volumes), the file list, the file name
// box, the filter list and, for the picture dialogs, a preview. Built in
// code over the standard controls; the dialog that made it checks what the
// user confirms.
#pragma once
#include <memory>
#include <vector>
#include "platform/forms/FileListModel.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Picture.h"

class TOpenDialog;
class TFileListView;
class TEdit;
class TButton;
class TLabel;
class TListBox;
class TComboBox;
class TCheckBox;

// A picture fitted into the control (kept in proportion, never enlarged).
class TPicturePreview : public TCustomControl {
  SX_CLASS(TPicturePreview, TCustomControl)
public:
  explicit TPicturePreview(TComponent* AOwner);
  ~TPicturePreview() override;
  // Loads the file's picture; false (and an empty preview) when it is not
  // a picture the graphics layer reads, or cannot be read.
  bool LoadFromFile(const AnsiString& FileName);
  void Clear();
  TPicture* Picture() const { return FPicture.get(); }

protected:
  void Paint() override;

private:
  std::unique_ptr<TPicture> FPicture;
};

class TFileDialogForm : public TForm {
  SX_CLASS(TFileDialogForm, TForm)
public:
  TFileDialogForm(TOpenDialog* Dialog, bool Save, bool Preview);
  ~TFileDialogForm() override;

  // Opens Folder in the list; false (after showing why) when it cannot be
  // read, the list then stays where it was.
  bool Navigate(const AnsiString& Folder);
  const AnsiString& Folder() const { return FModel.Folder(); }
  TFileListModel& Model() { return FModel; }
  // What the default button does: open a typed folder, take a typed mask,
  // or hand the chosen names to the dialog's checks.
  void Confirm();

  TEdit* PathEdit = nullptr;
  TButton* UpButton = nullptr;
  TListBox* PlacesList = nullptr;
  TCheckBox* HiddenCheck = nullptr;
  TFileListView* FileList = nullptr;
  TLabel* NameLabel = nullptr;
  TEdit* NameEdit = nullptr;
  TLabel* TypeLabel = nullptr;
  TComboBox* TypeCombo = nullptr;
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;
  TPicturePreview* Preview = nullptr;
  TLabel* PreviewLabel = nullptr;

protected:
  void Resize() override;

private:
  void Layout();
  void ApplyFilter();
  std::vector<AnsiString> SelectedNames(bool& HasFolder) const;
  void OkClick(TObject* Sender);
  void UpClick(TObject* Sender);
  void PlaceClick(TObject* Sender);
  void HiddenClick(TObject* Sender);
  void TypeChange(TObject* Sender);
  void SelectionChange(TObject* Sender);
  void OpenItem(TObject* Sender, Integer Index);
  void ParentFolder(TObject* Sender);
  void ToggleHidden(TObject* Sender);

  TOpenDialog* FDialog;
  TFileListModel FModel;
  std::vector<TFileFilter> FFilters;
  std::vector<TFilePlace> FPlaces;
  AnsiString FSelectionText;  // what the selection put in the name box
  TLabel* FLookInLabel = nullptr;
};
