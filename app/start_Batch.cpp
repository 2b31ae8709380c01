// The batch page: the batch list (Add File(s), Delete File(s), Edit
// Selected Item, the drop and drag into it) and the project commands.
#include "app/start.h"

#include "app/dragdrop/DragDropFile.h"
#include "platform/ole/DragDrop.h"

#include "platform/forms/Application.h"
#include "platform/forms/ListCtrls.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Guards.h"
#include "platform/shell/ShellApi.h"
#include "platform/win/Win.h"
#include "editor/controls/DCMemo.h"

namespace {
const char* const BatchSpec = "*.rtf;*.doc;";
}  // namespace

void TMainForm::AddFilesToList(TStringList* List) { AddFilesFromList(List); }

void TMainForm::AddFilesFromList(TStringList* List) {
  if (!List || List->GetCount() == 0) return;
  TStrings* Items = ListBox->GetItems();
  {
    TUpdateGuard<TStrings> Update(*Items);
    for (Integer I = 0; I < List->GetCount(); ++I) {
      const AnsiString Name = Trim(List->GetStrings(I));
      // A folder whose name looks like a document is no document.
      if (Name.empty() || !PathMatchSpec(Name, BatchSpec) || DirectoryExists(Name)) continue;
      bool Listed = false;
      for (Integer J = 0; J < Items->GetCount() && !Listed; ++J) Listed = SameText(Items->GetStrings(J), Name);
      if (!Listed) Items->Add(Name);
    }
  }
  FProjectModified = true;
  ListBox->Invalidate();
}

// The batch list takes files dropped from other programs (the drag-and-drop
// family and its browser host neighbour declare the same error class, so
// this unit alone sees the drop target).
TClass DropFileTargetClass() { return TDropFileTarget::StaticClass(); }

void TMainForm::PublishedBatchSide(TPublished<TMainForm>& P) {
  P.Property("DropFileTarget", &TMainForm::DropFileTarget, &TMainForm::DropFileTarget).Stored(false);
}

void TMainForm::DropFileTargetDrop(TObject*, TShiftState, TPoint, Integer&) {
  // The names live only while the drop is delivered.
  if (DropFileTarget) AddFilesToList(DropFileTarget->Files());
}

void TMainForm::AddFileClick(TObject*) {
  if (Busy()) return;
  AnsiString Names;
  if (!OpenDlg("", "", Names, true)) return;
  TStringList List;
  List.SetText(Names);
  AddFilesFromList(&List);
}

void TMainForm::DeleteFileBtnClick(TObject*) {
  if (Busy() || ListBox->SelCount() <= 0) return;
  if (Application->MessageBox("Are you sure to delete the selected items ?", "Are you sure ?",
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return;
  ListBox->DeleteSelected();
  FProjectModified = true;
}

void TMainForm::EditSelectedItemClick(TObject*) {
  if (ListBox->SelCount() <= 0) return;
  const Integer I = ListBox->GetItemIndex();
  if (I < 0) return;
  const AnsiString Name = Trim(ListBox->GetItems()->GetStrings(I));
  if (!Name.empty() && FileExists(Name))
    ShellExecuteA(Handle(), "Open", Name.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TMainForm::NewProjectClick(TObject*) {
  if (Busy()) return;
  if (FProjectModified) {
    const int Answer = Application->MessageBox("This project has been modified, would you like to save changes?",
                                               "Save Project?", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (Answer == IDCANCEL) return;
    if (Answer == IDYES) SaveProjectClick(this);
  }
  ListBox->GetItems()->Clear();
  DCMemo->SetText("");
  DCMemo->SetModified(false);
  DCMemo1->SetText("");
  DCMemo1->SetModified(false);
  SetCaption(AnsiString(AppTitle) + " - [Untitled]");
  FProjectFileName = "";
  FProjectModified = false;
}

void TMainForm::SaveProjectClick(TObject*) {}
