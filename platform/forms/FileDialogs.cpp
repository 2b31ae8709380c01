#include "platform/forms/FileDialogs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>

#include "platform/forms/FileDialogForm.h"
#include "platform/forms/FileListModel.h"
#include "platform/gdi/Picture.h"
#include "platform/rtl/ClassRegistry.h"

namespace {
// The folder each dialog (class and caption) was last confirmed in, for
// this run of the program.
std::map<AnsiString, AnsiString>& RememberedFolders() {
  static std::map<AnsiString, AnsiString> M;
  return M;
}

// A name as a message shows it: very long paths keep their ends.
AnsiString Shown(const AnsiString& Name) {
  if (Name.size() <= 200) return Name;
  return Name.substr(0, 80) + "..." + Name.substr(Name.size() - 80);
}

enum class TPathState { File, Folder, Missing, TooLong, Other };

TPathState StateOf(const AnsiString& Path, int* Err = nullptr) {
  struct stat St {};
  if (stat(Path.c_str(), &St) == 0) return S_ISDIR(St.st_mode) ? TPathState::Folder : TPathState::File;
  if (Err) *Err = errno;
  if (errno == ENAMETOOLONG) return TPathState::TooLong;
  if (errno == ENOENT || errno == ENOTDIR) return TPathState::Missing;
  return TPathState::Other;
}

// The extension of a filter's first pattern when it names one ("*.png").
AnsiString FilterExtension(const AnsiString& Mask) {
  const AnsiString First = Mask.substr(0, Mask.find(';'));
  if (First.size() < 3 || First.compare(0, 2, "*.") != 0) return AnsiString();
  const AnsiString Ext = First.substr(2);
  if (Ext.find_first_of("*?") != AnsiString::npos) return AnsiString();
  return Ext;
}
}  // namespace

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

void TOpenDialog::Published(TPublished<TOpenDialog>& P) {
  P.Property("DefaultExt", &TOpenDialog::GetDefaultExt, &TOpenDialog::SetDefaultExt);
  P.Property("FileName", &TOpenDialog::GetFileName, &TOpenDialog::SetFileName);
  P.Property("Filter", &TOpenDialog::GetFilter, &TOpenDialog::SetFilter);
  P.Property("FilterIndex", &TOpenDialog::GetFilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
  P.Property("InitialDir", &TOpenDialog::GetInitialDir, &TOpenDialog::SetInitialDir);
  P.Property("Options", &TOpenDialog::GetOptions, &TOpenDialog::SetOptions)
      .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing});
  P.Property("Title", &TOpenDialog::GetTitle, &TOpenDialog::SetTitle);
  P.Property("OnCanClose", &TOpenDialog::OnCanClose, &TOpenDialog::OnCanClose);
  P.Property("OnClose", &TOpenDialog::OnClose, &TOpenDialog::OnClose);
  P.Property("OnFolderChange", &TOpenDialog::OnFolderChange, &TOpenDialog::OnFolderChange);
  P.Property("OnSelectionChange", &TOpenDialog::OnSelectionChange, &TOpenDialog::OnSelectionChange);
  P.Property("OnShow", &TOpenDialog::OnShow, &TOpenDialog::OnShow);
  P.Property("OnTypeChange", &TOpenDialog::OnTypeChange, &TOpenDialog::OnTypeChange);
}

void TOpenDialog::SetDefaultExt(const AnsiString& Value) {
  FDefaultExt = !Value.empty() && Value[0] == '.' ? Value.substr(1) : Value;
}

AnsiString TOpenDialog::Caption() const {
  if (!FTitle.empty()) return FTitle;
  return IsSaveDialog() ? "Save As" : "Open";
}

AnsiString TOpenDialog::FolderKey() const { return ClassName() + "|" + Caption(); }

void TOpenDialog::ForgetFolders() { RememberedFolders().clear(); }

AnsiString TOpenDialog::StartFolder() const {
  const AnsiString Cwd = GetCurrentDir();
  const AnsiString Path = ExtractFilePath(FFileName);
  if (!Path.empty()) {
    const AnsiString Dir = ExpandTypedPath(Path, Cwd);
    if (DirectoryExists(Dir)) return IncludeTrailingPathDelimiter(Dir);
  }
  if (!FInitialDir.empty()) return IncludeTrailingPathDelimiter(ExpandTypedPath(FInitialDir, Cwd));
  const auto It = RememberedFolders().find(FolderKey());
  if (It != RememberedFolders().end()) return It->second;
  return IncludeTrailingPathDelimiter(Cwd);
}

bool TOpenDialog::Execute() {
  const bool Ok = inherited::Execute();
  if (Ok && !FFileName.empty()) RememberedFolders()[FolderKey()] = ExtractFilePath(FFileName);
  return Ok;
}

TDialogRequest TOpenDialog::MakeRequest() {
  TDialogRequest R;
  R.Kind = ClassName();
  R.Caption = Caption();
  R.InitialDir = StartFolder();
  R.Filter = FFilter;
  R.FileName = FFileName;
  R.Answers = {mrOk, mrCancel};
  return R;
}

TCommonDialog::TAnswerTaken TOpenDialog::TakeAnswer(const TDialogAnswer& Answer) {
  if (Answer.Result != mrOk) return TAnswerTaken::Cancelled;
  std::vector<AnsiString> Names = Answer.Files;
  if (Names.empty() && !Answer.FileName.empty()) Names.push_back(Answer.FileName);
  if (Names.empty()) return TAnswerTaken::Cancelled;
  return AcceptNames(Names, StartFolder()) ? TAnswerTaken::Accepted : TAnswerTaken::Rejected;
}

TForm* TOpenDialog::CreateForm() { return new TFileDialogForm(this, IsSaveDialog(), HasPreview()); }

void TOpenDialog::TakeForm(TForm*) {
  // AcceptNames took the names when the form closed with OK.
}

void TOpenDialog::Warn(const AnsiString& Text) { MessageDlg(Text, mtWarning, {mbOK}, 0); }

bool TOpenDialog::Confirm(const AnsiString& Text) { return MessageDlg(Text, mtWarning, {mbYes, mbNo}, 0) == mrYes; }

bool TOpenDialog::AcceptNames(const std::vector<AnsiString>& Names, const AnsiString& Folder) {
  if (Names.empty()) return false;
  if (Names.size() > 1 && !FOptions.Contains(ofAllowMultiSelect)) {
    Warn("Only one file can be chosen here.");
    return false;
  }
  // The default extension: the chosen filter's own when it names one.
  AnsiString DefExt = FDefaultExt;
  if (!DefExt.empty()) {
    const std::vector<TFileFilter> Filters = ParseFileFilter(FFilter);
    if (FFilterIndex >= 1 && size_t(FFilterIndex) <= Filters.size()) {
      const AnsiString E = FilterExtension(Filters[size_t(FFilterIndex - 1)].Mask);
      if (!E.empty()) DefExt = E;
    }
  }
  std::vector<AnsiString> Full;
  for (const AnsiString& Name : Names) {
    AnsiString F = ExpandTypedPath(Name, Folder);
    if (F.empty() || F.back() == '/') {
      Warn(Shown(Name) + "\r\nThis is not a valid file name.");
      return false;
    }
    if (!DefExt.empty() && ExtractFileExt(ExtractFileName(F)).empty() &&
        (IsSaveDialog() || StateOf(F) != TPathState::File))
      F += "." + DefExt;
    int Err = 0;
    const TPathState State = StateOf(F, &Err);
    const TPathState DirState = StateOf(ExtractFileDir(F));
    if (State == TPathState::TooLong || DirState == TPathState::TooLong) {
      Warn(Shown(F) + "\r\nThe file name is too long.");
      return false;
    }
    if (State == TPathState::Folder) {
      Warn(Shown(F) + "\r\nThis is a folder, not a file.");
      return false;
    }
    if (State == TPathState::Other) {
      Warn(Shown(F) + "\r\n" + std::strerror(Err) + ".");
      return false;
    }
    if ((FOptions.Contains(ofPathMustExist) || FOptions.Contains(ofFileMustExist)) &&
        DirState != TPathState::Folder) {
      Warn(Shown(ExtractFileDir(F)) + "\r\nPath does not exist.\r\nCheck the path and try again.");
      return false;
    }
    if (State == TPathState::Missing && !IsSaveDialog()) {
      if (FOptions.Contains(ofFileMustExist)) {
        Warn(Shown(F) + "\r\nFile not found.\r\nCheck the file name and try again.");
        return false;
      }
      if (FOptions.Contains(ofCreatePrompt) &&
          !Confirm(Shown(F) + "\r\nThis file does not exist.\r\nDo you want to create it?"))
        return false;
    }
    if (State == TPathState::File && IsSaveDialog() && FOptions.Contains(ofOverwritePrompt) &&
        !Confirm(Shown(F) + " already exists.\r\nDo you want to replace it?"))
      return false;
    if (State == TPathState::Missing && IsSaveDialog() && DirState == TPathState::Folder &&
        access(ExtractFileDir(F).c_str(), W_OK) != 0) {
      Warn(Shown(ExtractFileDir(F)) + "\r\nYou cannot save in this folder: " + std::strerror(errno) + ".");
      return false;
    }
    Full.push_back(F);
  }
  const AnsiString OldName = FFileName;
  FFileName = Full.front();
  FFiles->Clear();
  for (const AnsiString& F : Full) FFiles->Add(F);
  if (!DoCanClose()) {
    FFileName = OldName;
    FFiles->Clear();
    return false;
  }
  return true;
}

bool TOpenDialog::DoCanClose() {
  bool CanClose = true;
  if (OnCanClose) OnCanClose(this, CanClose);
  return CanClose;
}

void TOpenDialog::DoSelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TOpenDialog::DoFolderChange() {
  if (OnFolderChange) OnFolderChange(this);
}

void TOpenDialog::DoTypeChange() {
  if (OnTypeChange) OnTypeChange(this);
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) {
  FFilter = GraphicFilter(TGraphic::StaticClass());
}

void RegisterFileDialogClasses() {
  RegisterClasses({TOpenDialog::StaticClass(), TSaveDialog::StaticClass(), TOpenPictureDialog::StaticClass(),
                   TSavePictureDialog::StaticClass()});
}
