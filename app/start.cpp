#include "app/start.h"

#include "app/Options.h"
#include "app/browser/EmbeddedWB.h"
#include "app/desktop/CoolTrayIcon.h"
#include "app/desktop/DesktopClasses.h"
#include "app/desktop/HotKeyManager.h"
#include "app/desktop/InstanceControl.h"
#include "app/myBarItems.h"
#include "app/public_unit.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarCategories.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarRegistry.h"
#include "bars/statusbar/dxStatusBar.h"
#include "bars/windows/dxBarWindows.h"
#include "controls/navpanels/JzNavBar.h"
#include "controls/splitter/cxSplitter.h"
#include "controls/tabs/cxPC.h"
#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/Panels.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/ProgramArgs.h"
#include "platform/rtl/ShortCuts.h"
#include "platform/shell/ShellApi.h"
#include "platform/win/Win.h"

const char* const AppTitle = "Sourcelux v1.0.0";

namespace {
const char* const HomePageUrl = "https://lumivex.example/sourcelux/";
const char* const SupportMail = "mailto:support@lumivex.example";

}  // namespace


void TMainForm::Published(TPublished<TMainForm>& P) {
  using F = TMainForm;
#define SX_FIELD(Name) P.Property(#Name, &F::Name, &F::Name).Stored(false)
  SX_FIELD(JzMain); SX_FIELD(cxPageControl); SX_FIELD(cxTabSheet1); SX_FIELD(cxTabSheet2);
  SX_FIELD(JzInput); SX_FIELD(JzOutput); SX_FIELD(Tab_Output);
  SX_FIELD(cxTabOutputFile); SX_FIELD(cxTabOutputPreview); SX_FIELD(JzFolders); SX_FIELD(JzFiles);
  SX_FIELD(ListBox); SX_FIELD(Timer); SX_FIELD(dxBarManager); SX_FIELD(dxBarGroup_Convert);
  SX_FIELD(dxBarGroup_Edit); SX_FIELD(dxBarGroup_Indent);
  SX_FIELD(JzInputTitle); SX_FIELD(JzOutputTitle); SX_FIELD(JzFilesTitle); SX_FIELD(cxSplitter);
  SX_FIELD(cxSplitter1); SX_FIELD(cxSplitter2); SX_FIELD(DockCtrl_SingleFile); SX_FIELD(DockCtrl_Output);
  SX_FIELD(DockCtrl_Batch); SX_FIELD(EmbeddedWB); SX_FIELD(Popup_Convert); SX_FIELD(Popup_Print);
  SX_FIELD(Popup_Indent); SX_FIELD(Popup_MRU); SX_FIELD(Popup_Memo); SX_FIELD(Popup_Multiple);
  SX_FIELD(CoolTrayIcon); SX_FIELD(HotKeyManager); SX_FIELD(InstanceControl);
  SX_FIELD(dxStatusBar);
#undef SX_FIELD
#define SX_HANDLER(Name) P.Method(#Name, &F::Name)
  SX_HANDLER(FormCreate); SX_HANDLER(FormDestroy); SX_HANDLER(TimerTimer); SX_HANDLER(cxPageControlChange);
  SX_HANDLER(MinimizeToSystemTrayClick); SX_HANDLER(CoolTrayIconClick); SX_HANDLER(HotKeyManagerHotKeyPressed);
  SX_HANDLER(HomePageClick); SX_HANDLER(CheckForUpdatesClick);
  SX_HANDLER(TechnicalSupportClick); SX_HANDLER(AboutBtnClick); SX_HANDLER(ExitBtnClick);
  SX_HANDLER(IndentConfigurationsClick); SX_HANDLER(ConfigureSourceCodeFormatterClick);
  SX_HANDLER(EmailOutputClick); SX_HANDLER(OptionsClick); SX_HANDLER(PageSetupClick);
  SX_HANDLER(PrintPreviewClick); SX_HANDLER(PrintClick);
  SX_HANDLER(OpenFileClick); SX_HANDLER(PasteFromClipBoardClick); SX_HANDLER(CloseThisFileClick);
  SX_HANDLER(ExportSingleFileClick); SX_HANDLER(ConvertToHTMLClick); SX_HANDLER(ConvertToRTFClick);
  SX_HANDLER(ConvertToPDFClick); SX_HANDLER(ConvertToLotusClick); SX_HANDLER(ConvertToBitmapClick);
  SX_HANDLER(ConvertToPNGClick); SX_HANDLER(ConvertToJPGClick); SX_HANDLER(ConvertToSVGClick);
  SX_HANDLER(ConvertToQuattroProClick); SX_HANDLER(ConvertToExcelClick); SX_HANDLER(SaveOutputClick);
  SX_HANDLER(PreviewClick); SX_HANDLER(Tab_OutputChange);
  SX_HANDLER(DropFileTargetDrop); SX_HANDLER(AddFileClick); SX_HANDLER(DeleteFileBtnClick); SX_HANDLER(EditSelectedItemClick);
  SX_HANDLER(NewProjectClick); SX_HANDLER(MRUListClick); SX_HANDLER(ClearHistoryClick); SX_HANDLER(SaveProjectClick);
  SX_HANDLER(UndoClick); SX_HANDLER(RedoClick); SX_HANDLER(CutClick); SX_HANDLER(CopyBtnClick);
  SX_HANDLER(PasteClick); SX_HANDLER(DeleteClick); SX_HANDLER(SelectAllClick); SX_HANDLER(FindClick);
  SX_HANDLER(FindNextClick); SX_HANDLER(ReplaceClick); SX_HANDLER(ToogleFocusClick);
  SX_HANDLER(EditorOptionsClick); SX_HANDLER(DCMemo1Enter);
#undef SX_HANDLER
  PublishedEditorSide(P);
  PublishedBatchSide(P);
}

TdxBarItem* TMainForm::Item(const AnsiString& Name) const {
  return dxBarManager ? dxBarManager->FindItemByName(Name) : nullptr;
}

// --- long steps

TLongStep::TLongStep(TMainForm& Form) : FForm(Form), FActive(!Form.Busy()) {
  if (FActive) FForm.SetBusy(true);
}

TLongStep::~TLongStep() {
  if (FActive) FForm.SetBusy(false);
}

void TMainForm::SetBusy(bool Value) {
  FBusy += Value ? 1 : -1;
  // The commands that start a conversion or replace what a conversion
  // reads or writes; the rest (copy, find, the help) stay usable.
  static const char* const Guarded[] = {
      "ExportSingleFile", "OpenFile", "PasteFromClipBoard", "CloseThisFile", "SaveOutput", "Preview",
      "AddFile", "DeleteFileBtn", "NewProject", "Options", "ExitBtn", "Paste", "Cut", "Undo", "Redo",
      "Delete", "Replace"};
  const bool Enable = FBusy == 0;
  for (const char* Name : Guarded)
    if (TdxBarItem* I = Item(Name)) I->SetEnabled(Enable);
  if (dxBarGroup_Convert) dxBarGroup_Convert->SetEnabled(Enable);
  // The edit group follows the focus again (the output editor keeps it off).
  if (Enable) DCMemo1Enter(this);
}

void TMainForm::DCMemo1Enter(TObject*) {
  if (dxBarGroup_Edit) dxBarGroup_Edit->SetEnabled(InputFocused() && !Busy());
}

// --- start-up

void TMainForm::FormCreate(TObject*) {
  // What the description cannot say: the buttons' drop-down menus and the
  // controls' context menus. Before the stored layout.
  WireBars();
  if (auto* Combo = dynamic_cast<TdxBarCombo*>(Item("SyntaxHighlighterCombo"))) {
    Combo->SetVisible(ivNever);
    Combo->Items()->Clear();
  }
  if (TdxBarItem* Rtf = Item("ConvertToRTF")) Rtf->SetVisible(ivNever);
  const AnsiString Layout = DataDir() + "Layout.ini";
  if (FileExists(Layout)) dxBarManager->LoadFromIniFile(Layout);
  dxBarGroup_Indent->SetVisible(ivNever);
  if (Application) Application->SetTitle(AppTitle);
  SetCaption(AppTitle);
  // A missing or broken scheme is shown once; the window still opens and
  // the rest of the start-up (hot keys, shortcuts, command line) runs.
  try {
    LoadOutputScheme();
  } catch (const Exception& E) {
    if (Application) Application->ShowException(E);
  }
  cxPageControlChange(this);
  const TGeneralOptions Options = ReadGeneralOptions();
  if (Options.StartMinimized) SetWindowState(wsMinimized);
  RegisterGlobalHotKeys(Options);
  ApplyConvertShortCuts();
  Timer->SetEnabled(true);
  FCreated = true;
}

void TMainForm::WireBars() {
  struct TDropDown { const char* Button; TdxBarPopupMenu* Menu; };
  for (const TDropDown& D : {TDropDown{"ExportSingleFile", Popup_Convert}, TDropDown{"Design", Popup_Print},
                             TDropDown{"IndentCode", Popup_Indent}, TDropDown{"OpenProject", Popup_MRU}})
    if (auto* B = dynamic_cast<TdxBarButton*>(Item(D.Button))) B->SetDropDownMenu(D.Menu);
}

void TMainForm::RegisterGlobalHotKeys(const TGeneralOptions& Options) {
  auto Add = [this](const AnsiString& Text) -> Word {
    const Cardinal Value = TextToHotKey(Text, true);
    const Word Id = HotKeyManager->AddHotKey(Value);
    if (Id) FHotKeyValues[Id] = Value;
    return Id;
  };
  FActivationHotKeyId = Add(Options.ActivationHotKey);
  FIndentHotKeyId = Add(Options.IndentHotKey);
  FConvertHotKeyId = Add(Options.ConvertHotKey);
}

Word TMainForm::ReplaceGlobalHotKey(Word Id, Cardinal NewHotKey) {
  const auto Old = FHotKeyValues.find(Id);
  const Cardinal OldValue = Id && Old != FHotKeyValues.end() ? Old->second : 0;
  if (Id && OldValue == NewHotKey) return Id;
  Word NewId = 0;
  Cardinal Kept = NewHotKey;
  if (Id) {
    FHotKeyValues.erase(Id);
    NewId = HotKeyManager->ChangeHotKey(Id, NewHotKey);
    if (!NewId && OldValue) {
      // Refused (taken by another program, or no key): the old one again.
      NewId = HotKeyManager->AddHotKey(OldValue);
      Kept = OldValue;
    }
  } else {
    NewId = HotKeyManager->AddHotKey(NewHotKey);
  }
  if (NewId) FHotKeyValues[NewId] = Kept;
  return NewId;
}

void TMainForm::ApplyConvertShortCuts() {
  if (!FileExists(HotKeysFileName())) return;
  for (Integer I = 0; I < dxBarGroup_Convert->GetCount(); ++I) {
    auto* Button = dynamic_cast<TdxBarItem*>(dxBarGroup_Convert->GetItem(I));
    if (!Button || Button->GetName().empty()) continue;
    const AnsiString Text = ReadConvertShortCutText(Button->GetName());
    if (!Text.empty()) Button->SetShortCut(TextToShortCut(Text));
  }
}

void TMainForm::FormDestroy(TObject*) {
  // A window whose description failed to load has no layout to keep.
  if (!dxBarManager || !FCreated) return;
  // The layout is worth keeping but not worth a failed shutdown.
  try {
    if (ForceDirectories(ExcludeTrailingPathDelimiter(DataDir())))
      dxBarManager->SaveToIniFile(DataDir() + "Layout.ini");
  } catch (const Exception&) {
  }
}

void TMainForm::TimerTimer(TObject*) {
  Timer->SetEnabled(false);
  HandleCommandLine(ParamStr(1), ParamStr(2), ParamStr(3));
}

void TMainForm::HandleCommandLine(const AnsiString& TokenArg, const AnsiString& ActionArg,
                                  const AnsiString& FileArg) {
  const AnsiString Token = Trim(TokenArg);
  if (Token.empty() || SameText(Token, "IDE")) return;
  const AnsiString Action = Trim(ActionArg), FileName = Trim(FileArg);
  if (FileName.empty() || !FileExists(FileName)) return;
  LoadDocument(FileName);
  if (InputEmpty()) return;
  if (SameText(Action, "Print")) PrintPreviewClick(this);
  else if (SameText(Action, "Indent")) return;
  else ExportSingleFileClick(this);
}

void TMainForm::cxPageControlChange(TObject*) {
  TdxBarLockUpdateGuard Lock(dxBarManager);
  const bool Batch = cxPageControl->GetActivePageNo() != 0;
  auto Show = [this](const char* Name, bool Visible) {
    if (TdxBarItem* I = Item(Name)) I->SetVisible(Visible ? ivAlways : ivNever);
  };
  Show("MultipleFilesMenu", Batch);
  Show("SingleFileMenu", !Batch);
  Show("EditMenu", !Batch);
  if (dxBarManager->Bars()->Count() > 5) dxBarManager->Bars()->GetItem(5)->SetVisible(!Batch);
}

void TMainForm::HotKeyManagerHotKeyPressed(Cardinal, Word Index) {
  if (Index != 0 && Index == FIndentHotKeyId) {
    CloseThisFile();
  } else if (Index != 0 && Index == FConvertHotKeyId) {
    // A Cancel to Close File's question keeps the user's text: the hot key
    // then neither clears nor converts.
    if (CloseThisFile()) {
      ReplaceInputWithClipboard();
      ExportSingleFileClick(this);
    }
  }
  CoolTrayIcon->ShowMainForm();
}

void TMainForm::CoolTrayIconClick(TObject*) {
  CoolTrayIcon->SetIconVisible(false);
  CoolTrayIcon->ShowMainForm();
}

void TMainForm::MinimizeToSystemTrayClick(TObject*) {
  CoolTrayIcon->SetIconVisible(true);
  CoolTrayIcon->HideMainForm();
}

void TMainForm::HomePageClick(TObject*) { ShellExecuteA(Handle(), "Open", HomePageUrl, nullptr, nullptr, SW_SHOWNORMAL); }
void TMainForm::CheckForUpdatesClick(TObject*) { HomePageClick(this); }
void TMainForm::TechnicalSupportClick(TObject*) {
  ShellExecuteA(Handle(), "Open", SupportMail, nullptr, nullptr, SW_SHOWNORMAL);
}

void TMainForm::AboutBtnClick(TObject*) {
  const AnsiString Text = AnsiString(AppTitle) + "\r\n\r\n" + "A document converter for RTF and plain text.";
  if (Application) Application->MessageBox(Text, "About", MB_OK | MB_ICONINFORMATION);
}

void TMainForm::ExitBtnClick(TObject*) {
  if (Application) Application->Terminate();
}

// --- recent projects (the batch page's hidden project commands; here,
// where the bar library's item kinds are seen)

void TMainForm::MRUListClick(TObject*) {
  auto* List = dynamic_cast<TdxBarMRUListItem*>(Item("MRUList"));
  if (!List || Busy()) return;
  const Integer I = List->GetItemIndex();
  if (I < 0 || I >= List->Items()->GetCount()) return;
  const AnsiString Entry = List->Items()->GetStrings(I);
  if (SameText(Entry, FProjectFileName)) return;
  if (!FileExists(Entry) &&
      Application->MessageBox(Entry + " was not found, would you like to remove it from history?", "File not found",
                              MB_YESNO | MB_ICONQUESTION) == IDYES) {
    List->RemoveItem(Entry, nullptr);
    return;
  }
  if (FProjectModified &&
      Application->MessageBox("This project has been modified, would you like to save it before?",
                              "Save Current Project ?", MB_YESNOCANCEL | MB_ICONQUESTION) == IDYES)
    SaveProjectClick(this);
  // There is no project file format: nothing is opened.
}

void TMainForm::ClearHistoryClick(TObject*) {
  auto* List = dynamic_cast<TdxBarMRUListItem*>(Item("MRUList"));
  if (!List) return;
  if (Application->MessageBox("Are you sure to clear history ?", "Are you sure ?",
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
    List->Items()->Clear();
}

void TMainForm::IndentConfigurationsClick(TObject*) {}
void TMainForm::ConfigureSourceCodeFormatterClick(TObject*) {}
void TMainForm::EmailOutputClick(TObject*) {}

void TMainForm::OptionsClick(TObject*) {
  TLongStep Step(*this);
  if (!Step.Active()) return;
  std::unique_ptr<TOptionsDlg> Dialog(new TOptionsDlg(this));
  Dialog->ShowModal();
}

// FIXME: printing (Page Setup, Print Preview, Print) comes with the report
// and printing engine; its items stay disabled until then.
void TMainForm::PageSetupClick(TObject*) {}
void TMainForm::PrintPreviewClick(TObject*) {}
void TMainForm::PrintClick(TObject*) {}

// --- registration

void RegisterAppClasses() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  RegisterFormsClasses();
  RegisterTabControlClasses();
  RegisterSplitterClasses();
  RegisterNavPanelClasses();
  RegisterBarItems();
  RegisterMyBarItems();
  RegisterDesktopClasses();
  RegisterEmbeddedWBClasses();
  RegisterClasses({TdxBarMRUListItem::StaticClass(), TdxBarDockControl::StaticClass(), TdxBarPopupMenu::StaticClass(), TdxStatusBar::StaticClass(), DropFileTargetClass(),
                   TPanel::StaticClass(), TMainForm::StaticClass(), TOptionsDlg::StaticClass()});
  RegisterEditorSideClasses();
}
