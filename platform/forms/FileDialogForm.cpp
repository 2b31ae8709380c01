#include "platform/forms/FileDialogForm.h"

#include <algorithm>

#include "platform/forms/DialogForms_p.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/FileListView.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Gdi.h"

namespace {
bool HasWildcard(const AnsiString& S) { return S.find_first_of("*?") != AnsiString::npos; }
}  // namespace

// ---- TPicturePreview --------------------------------------------------------

TPicturePreview::TPicturePreview(TComponent* AOwner)
    : TCustomControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  SetColor(clWindow);
  SetParentColor(false);
}

TPicturePreview::~TPicturePreview() = default;

bool TPicturePreview::LoadFromFile(const AnsiString& FileName) {
  bool Ok = true;
  try {
    FPicture->LoadFromFile(FileName);
  } catch (const Exception&) {
    // Not a picture we read, unreadable, or gone since it was listed.
    FPicture->SetGraphic(nullptr);
    Ok = false;
  }
  Invalidate();
  return Ok;
}

void TPicturePreview::Clear() {
  FPicture->SetGraphic(nullptr);
  Invalidate();
}

void TPicturePreview::Paint() {
  TCanvas* C = Canvas();
  const TRect R = GetClientRect();
  C->Brush()->SetColor(clWindow);
  C->FillRect(R);
  C->Pen()->SetColor(clBtnShadow);
  C->Brush()->SetStyle(bsClear);
  C->Rectangle(R);
  C->Brush()->SetStyle(bsSolid);
  TGraphic* G = FPicture->GetGraphic();
  const Integer W = FPicture->Width(), H = FPicture->Height();
  if (!G || W <= 0 || H <= 0) return;
  const Integer AvailW = R.Width() - 8, AvailH = R.Height() - 8;
  if (AvailW <= 0 || AvailH <= 0) return;
  double Scale = std::min(double(AvailW) / W, double(AvailH) / H);
  Scale = std::min(Scale, 1.0);
  const Integer DW = std::max<Integer>(1, Integer(W * Scale)), DH = std::max<Integer>(1, Integer(H * Scale));
  const Integer X = (R.Width() - DW) / 2, Y = (R.Height() - DH) / 2;
  C->StretchDraw({X, Y, X + DW, Y + DH}, G);
}

// ---- TFileDialogForm --------------------------------------------------------

TFileDialogForm::TFileDialogForm(TOpenDialog* Dialog, bool Save, bool WithPreview)
    : TForm(nullptr), FDialog(Dialog) {
  const TOpenOptions Options = Dialog->GetOptions();
  SetCaption(Dialog->Caption());
  SetBorderStyle(Options.Contains(ofEnableSizing) ? bsSizeable : bsDialog);
  SetBorderIcons({biSystemMenu});
  SetPosition(poScreenCenter);
  GetFont()->SetName("Tahoma");
  GetFont()->SetHeight(-11);
  SetColor(clBtnFace);
  SetClientSize({WithPreview ? 760 : 600, 390});

  PathEdit = MakeDialogControl<TEdit>(this, this, "PathEdit");
  FLookInLabel = MakeDialogLabel(this, this, "Look &in:", PathEdit, 8, 12);
  UpButton = MakeDialogControl<TButton>(this, this, "UpButton");
  UpButton->SetCaption("&Up");
  UpButton->OnClick = TNotifyEvent(this, &TFileDialogForm::UpClick);
  PlacesList = MakeDialogControl<TListBox>(this, this, "PlacesList");
  PlacesList->OnClick = TNotifyEvent(this, &TFileDialogForm::PlaceClick);
  FileList = MakeDialogControl<TFileListView>(this, this, "FileList");
  FileList->SetMultiSelect(Options.Contains(ofAllowMultiSelect));
  FileList->OnSelectionChange = TNotifyEvent(this, &TFileDialogForm::SelectionChange);
  FileList->OnOpenItem = TFileItemEvent(this, &TFileDialogForm::OpenItem);
  FileList->OnParentFolder = TNotifyEvent(this, &TFileDialogForm::ParentFolder);
  FileList->OnToggleHidden = TNotifyEvent(this, &TFileDialogForm::ToggleHidden);
  HiddenCheck = MakeDialogControl<TCheckBox>(this, this, "HiddenCheck");
  HiddenCheck->SetCaption("Show &hidden files");
  HiddenCheck->OnClick = TNotifyEvent(this, &TFileDialogForm::HiddenClick);
  NameEdit = MakeDialogControl<TEdit>(this, this, "NameEdit");
  NameLabel = MakeDialogLabel(this, this, "File &name:", NameEdit, 0, 0);
  TypeCombo = MakeDialogControl<TComboBox>(this, this, "TypeCombo");
  TypeCombo->SetStyle(csDropDownList);
  TypeCombo->OnChange = TNotifyEvent(this, &TFileDialogForm::TypeChange);
  TypeLabel = MakeDialogLabel(this, this, Save ? "Save as &type:" : "Files of &type:", TypeCombo, 0, 0);
  OkButton = MakeDialogControl<TButton>(this, this, "OkButton");
  OkButton->SetCaption(Save ? "&Save" : "&Open");
  OkButton->SetDefault(true);
  OkButton->OnClick = TNotifyEvent(this, &TFileDialogForm::OkClick);
  CancelButton = MakeDialogControl<TButton>(this, this, "CancelButton");
  CancelButton->SetCaption("Cancel");
  CancelButton->SetCancel(true);
  CancelButton->SetModalResult(mrCancel);
  if (WithPreview) {
    Preview = MakeDialogControl<TPicturePreview>(this, this, "Preview");
    PreviewLabel = MakeDialogControl<TLabel>(this, this, "PreviewLabel");
    PreviewLabel->SetCaption("(None)");
  }
  // Tab order: name, list, type, buttons, then the rest.
  TWinControl* Order[] = {NameEdit, FileList, TypeCombo, OkButton, CancelButton, PathEdit, UpButton,
                          PlacesList, HiddenCheck};
  for (size_t i = 0; i < std::size(Order); ++i) Order[i]->SetTabOrder(Integer(i));

  FPlaces = FilePlaces();
  for (const TFilePlace& P : FPlaces) PlacesList->GetItems()->Add(P.Caption);
  FFilters = ParseFileFilter(Dialog->GetFilter());
  for (const TFileFilter& F : FFilters) TypeCombo->GetItems()->Add(F.Description);
  if (!FFilters.empty()) {
    const Integer I = std::clamp<Integer>(Dialog->GetFilterIndex(), 1, Integer(FFilters.size())) - 1;
    TypeCombo->SetItemIndex(I);
    FModel.SetMask(FFilters[size_t(I)].Mask);
  }
  if (Options.Contains(ofForceShowHidden)) {
    HiddenCheck->SetChecked(true);
    FModel.SetShowHidden(true);
  }
  FileList->SetModel(&FModel);
  Layout();

  // An unreadable start folder is reported, then home is shown instead.
  if (!Navigate(Dialog->StartFolder())) Navigate(HomeFolder());
  const AnsiString Name = ExtractFileName(Dialog->GetFileName());
  NameEdit->SetText(Name);
  if (!Name.empty()) {
    const Integer I = FModel.IndexOf(Name);
    if (I >= 0) FileList->SelectOnly(I);
    NameEdit->SetText(Name);
  }
  SetActiveControl(NameEdit);
}

TFileDialogForm::~TFileDialogForm() = default;

void TFileDialogForm::Resize() {
  inherited::Resize();
  Layout();
}

void TFileDialogForm::Layout() {
  if (!OkButton) return;
  const TRect C = GetClientRect();
  const Integer W = C.Width(), H = C.Height();
  const Integer Top = 38, PlacesW = 112, ListLeft = 8 + PlacesW + 8;
  const Integer PreviewW = Preview ? 160 : 0;
  const Integer ListRight = Preview ? W - 8 - PreviewW - 8 : W - 8;
  const Integer Bottom = H - 70;
  FLookInLabel->SetBounds(8, 12, 52, 13);
  PathEdit->SetBounds(64, 8, std::max<Integer>(40, W - 64 - 8 - 68), 21);
  UpButton->SetBounds(W - 8 - 60, 7, 60, 23);
  PlacesList->SetBounds(8, Top, PlacesW, std::max<Integer>(20, Bottom - Top));
  FileList->SetBounds(ListLeft, Top, std::max<Integer>(60, ListRight - ListLeft), std::max<Integer>(40, Bottom - Top));
  if (Preview) {
    Preview->SetBounds(W - 8 - PreviewW, Top, PreviewW, std::max<Integer>(40, Bottom - Top - 24));
    PreviewLabel->SetBounds(W - 8 - PreviewW, Bottom - 18, PreviewW, 13);
  }
  const Integer Y0 = H - 60, Y1 = H - 31;
  const Integer EditLeft = ListLeft + 84, EditW = std::max<Integer>(60, W - 8 - 84 - EditLeft);
  HiddenCheck->SetBounds(8, Y0 + 2, PlacesW + 4, 17);
  NameLabel->SetBounds(ListLeft, Y0 + 4, 80, 13);
  NameEdit->SetBounds(EditLeft, Y0, EditW, 21);
  OkButton->SetBounds(W - 8 - 76, Y0 - 1, 76, 25);
  TypeLabel->SetBounds(ListLeft, Y1 + 4, 80, 13);
  TypeCombo->SetBounds(EditLeft, Y1, EditW, 21);
  CancelButton->SetBounds(W - 8 - 76, Y1 - 1, 76, 25);
}

bool TFileDialogForm::Navigate(const AnsiString& Folder) {
  AnsiString Error;
  if (!FModel.Load(Folder, Error)) {
    MessageDlg(Error, mtError, {mbOK}, 0);
    return false;
  }
  PathEdit->SetText(FModel.Folder());
  FileList->ModelChanged();
  FSelectionText.clear();
  if (Preview) {
    Preview->Clear();
    PreviewLabel->SetCaption("(None)");
  }
  FDialog->DoFolderChange();
  return true;
}

void TFileDialogForm::ApplyFilter() {
  const Integer I = TypeCombo->GetItemIndex();
  if (I < 0 || size_t(I) >= FFilters.size()) return;
  FModel.SetMask(FFilters[size_t(I)].Mask);
  FDialog->SetFilterIndex(I + 1);
  FileList->ModelChanged();
  FSelectionText.clear();
}

std::vector<AnsiString> TFileDialogForm::SelectedNames(bool& HasFolder) const {
  std::vector<AnsiString> Names;
  HasFolder = false;
  for (Integer I : FileList->Selection()) {
    const TFileEntry& E = FModel.Entry(I);
    if (E.IsDir) {
      HasFolder = true;
      continue;
    }
    Names.push_back(E.Name);
  }
  return Names;
}

void TFileDialogForm::SelectionChange(TObject*) {
  bool HasFolder = false;
  const std::vector<AnsiString> Names = SelectedNames(HasFolder);
  if (!Names.empty()) {
    AnsiString Text;
    if (Names.size() == 1) {
      Text = Names.front();
    } else {
      for (const AnsiString& N : Names) Text += (Text.empty() ? "\"" : " \"") + N + "\"";
    }
    NameEdit->SetText(Text);
    FSelectionText = Text;
  }
  if (Preview) {
    const bool Shown = Names.size() == 1 && Preview->LoadFromFile(FModel.Folder() + Names.front());
    PreviewLabel->SetCaption(Shown ? std::to_string(Preview->Picture()->Width()) + " x " +
                                         std::to_string(Preview->Picture()->Height())
                                   : AnsiString("(None)"));
    if (!Shown) Preview->Clear();
  }
  FDialog->DoSelectionChange();
}

void TFileDialogForm::Confirm() {
  const AnsiString Folder = FModel.Folder();
  if (GetActiveControl() == PathEdit) {
    const AnsiString Typed = ExpandTypedPath(PathEdit->GetText(), Folder);
    if (!Typed.empty() && Navigate(Typed)) FileList->SetFocus();
    return;
  }
  const AnsiString Text = NameEdit->GetText();
  // A folder chosen in the list (and nothing typed over it) opens.
  if (GetActiveControl() == FileList || Text.empty() || Text == FSelectionText) {
    const std::vector<Integer> Sel = FileList->Selection();
    if (Sel.size() == 1 && FModel.Entry(Sel.front()).IsDir) {
      Navigate(Folder + FModel.Entry(Sel.front()).Name);
      return;
    }
  }
  std::vector<AnsiString> Names;
  if (!Text.empty() && Text == FSelectionText) {
    bool HasFolder = false;
    Names = SelectedNames(HasFolder);
  }
  if (Names.empty()) Names = SplitTypedNames(Text);
  if (Names.empty()) return;
  if (Names.size() == 1) {
    const AnsiString Full = ExpandTypedPath(Names.front(), Folder);
    if (DirectoryExists(Full)) {
      if (Navigate(Full)) NameEdit->SetText("");
      return;
    }
    if (HasWildcard(ExtractFileName(Full))) {
      // A typed mask filters the list, in the folder it names.
      if (ExtractFilePath(Full) != Folder && !Navigate(ExtractFilePath(Full))) return;
      FModel.SetMask(ExtractFileName(Full));
      FileList->ModelChanged();
      FSelectionText.clear();
      NameEdit->SetText(ExtractFileName(Full));
      return;
    }
  }
  if (FDialog->AcceptNames(Names, Folder)) SetModalResult(mrOk);
}

void TFileDialogForm::OkClick(TObject*) { Confirm(); }

void TFileDialogForm::UpClick(TObject*) {
  const AnsiString Dir = ExcludeTrailingPathDelimiter(FModel.Folder());
  if (Dir.empty() || Dir == "/") return;
  const AnsiString Child = ExtractFileName(Dir);
  if (Navigate(ExtractFilePath(Dir))) {
    // The folder we came from stays in sight and selected.
    const Integer I = FModel.IndexOf(Child);
    if (I >= 0) FileList->SelectOnly(I);
  }
}

void TFileDialogForm::PlaceClick(TObject*) {
  const Integer I = PlacesList->GetItemIndex();
  if (I >= 0 && size_t(I) < FPlaces.size()) Navigate(FPlaces[size_t(I)].Path);
}

void TFileDialogForm::HiddenClick(TObject*) {
  FModel.SetShowHidden(HiddenCheck->GetChecked());
  FileList->ModelChanged();
  FSelectionText.clear();
}

void TFileDialogForm::ToggleHidden(TObject* Sender) {
  HiddenCheck->SetChecked(!HiddenCheck->GetChecked());
  HiddenClick(Sender);
}

void TFileDialogForm::TypeChange(TObject*) {
  ApplyFilter();
  FDialog->DoTypeChange();
}

void TFileDialogForm::OpenItem(TObject*, Integer Index) {
  if (Index < 0 || Index >= FModel.Count()) return;
  const TFileEntry E = FModel.Entry(Index);
  if (E.IsDir) {
    Navigate(FModel.Folder() + E.Name);
    return;
  }
  FileList->SelectOnly(Index);
  if (FDialog->AcceptNames({E.Name}, FModel.Folder())) SetModalResult(mrOk);
}

void TFileDialogForm::ParentFolder(TObject* Sender) { UpClick(Sender); }
