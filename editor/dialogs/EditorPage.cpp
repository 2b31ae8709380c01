// EditorPage.cpp — the options dialog's "Editor" page: the memo source's
// editing switches, the editor's behaviour switches, the key mapping, the
// block indent and the tab stops. Nothing is stored before the dialog is
// confirmed.
#include "editor/base/EdConsts.h"
#include "editor/base/ObjectParams.h"
#include "editor/controls/DCMemo.h"
#include "editor/dialogs/DialogSetup.h"
#include "editor/dialogs/EnvOptions.h"
#include "editor/dialogs/OptionPages.h"
#include "editor/options/MemoEnvOptions.h"
#include "editor/text/MemoSourceOptions.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/forms/FormLoader.h"
#include "platform/rtl/ClassRegistry.h"

using namespace EdConsts;

namespace {

const char* const EditorPageText = R"(object EditorOptForm: TEditorOptForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Editor'
  ClientHeight = 300
  ClientWidth = 465
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Scaled = False
  PixelsPerInch = 96
  OnCreate = FormCreate
  object EditOptGroup: TGroupBox
    Left = 8
    Top = 8
    Width = 449
    Height = 208
    Caption = 'Editor options:'
    TabOrder = 0
    object AutoIndentChk: TCheckBox
      Left = 12
      Top = 20
      Width = 209
      Height = 17
      Caption = '&Auto indent mode'
      TabOrder = 0
      OnClick = ItemChange
    end
    object SmartTabChk: TCheckBox
      Left = 12
      Top = 38
      Width = 209
      Height = 17
      Caption = 'S&mart tab'
      TabOrder = 1
      OnClick = SmartTabChkClick
    end
    object UseTabCharBox: TCheckBox
      Left = 12
      Top = 56
      Width = 209
      Height = 17
      Caption = '&Use tab character'
      TabOrder = 2
      OnClick = UseTabCharBoxClick
    end
    object BackUnindentChk: TCheckBox
      Left = 12
      Top = 74
      Width = 209
      Height = 17
      Caption = 'Backspace &unindents'
      TabOrder = 3
      OnClick = ItemChange
    end
    object GroupUndoChk: TCheckBox
      Left = 12
      Top = 92
      Width = 209
      Height = 17
      Caption = '&Group undo'
      TabOrder = 4
      OnClick = ItemChange
    end
    object CursorEofChk: TCheckBox
      Left = 12
      Top = 110
      Width = 209
      Height = 17
      Caption = 'Cursor beyond &EOF'
      TabOrder = 5
      OnClick = ItemChange
    end
    object BeyondEolChk: TCheckBox
      Left = 12
      Top = 128
      Width = 209
      Height = 17
      Caption = '&Cursor beyond EOL'
      TabOrder = 6
      OnClick = ItemChange
    end
    object KeepTrailingBlanksChk: TCheckBox
      Left = 12
      Top = 146
      Width = 209
      Height = 17
      Caption = '&Keep trailing blanks'
      TabOrder = 7
      OnClick = ItemChange
    end
    object PersistentBlockChk: TCheckBox
      Left = 12
      Top = 164
      Width = 209
      Height = 17
      Caption = '&Persistent blocks'
      TabOrder = 8
      OnClick = ItemChange
    end
    object OverwriteBlockChk: TCheckBox
      Left = 12
      Top = 182
      Width = 209
      Height = 17
      Caption = 'Over&write blocks'
      TabOrder = 9
      OnClick = ItemChange
    end
    object FindTextChk: TCheckBox
      Left = 232
      Top = 20
      Width = 209
      Height = 17
      Caption = 'Find te&xt at cursor'
      TabOrder = 10
      OnClick = ItemChange
    end
    object CutCopyEnabledChk: TCheckBox
      Left = 232
      Top = 38
      Width = 209
      Height = 17
      Caption = '&Force cut and copy enabled'
      TabOrder = 11
      OnClick = ItemChange
    end
    object MemoEnvOptions: TCheckBox
      Left = 232
      Top = 56
      Width = 209
      Height = 17
      Caption = 'Show &line numbers'
      TabOrder = 12
      OnClick = MemoEnvOptionsClick
    end
    object MemoEnvOptions1: TCheckBox
      Left = 232
      Top = 74
      Width = 209
      Height = 17
      Caption = 'S&how line numbers on gutter'
      TabOrder = 13
      OnClick = ItemChange
    end
    object SelectEolChk: TCheckBox
      Left = 232
      Top = 92
      Width = 209
      Height = 17
      Caption = '&Selection beyond EOL'
      TabOrder = 14
      OnClick = ItemChange
    end
    object DblClickEdit: TCheckBox
      Left = 232
      Top = 110
      Width = 209
      Height = 17
      Caption = '&Double click line'
      TabOrder = 15
      OnClick = ItemChange
    end
    object SyntaxHighlightChk: TCheckBox
      Left = 232
      Top = 128
      Width = 209
      Height = 17
      Caption = 'Use s&yntax highlight'
      TabOrder = 16
      OnClick = ItemChange
    end
    object OverCaretChk: TCheckBox
      Left = 232
      Top = 146
      Width = 209
      Height = 17
      Caption = '&Overwrite cursor as block'
      TabOrder = 17
      OnClick = ItemChange
    end
    object DisDragChk: TCheckBox
      Left = 232
      Top = 164
      Width = 209
      Height = 17
      Caption = 'D&isable dragging'
      TabOrder = 18
      OnClick = ItemChange
    end
  end
  object BlockIndentLbl: TLabel
    Left = 8
    Top = 230
    Width = 65
    Height = 13
    Caption = 'Block i&ndent:'
    FocusControl = BlockIndentEdit
  end
  object BlockIndentEdit: TEdit
    Left = 88
    Top = 226
    Width = 57
    Height = 21
    TabOrder = 1
    OnChange = ItemChange
  end
  object TabStopLbl: TLabel
    Left = 168
    Top = 230
    Width = 49
    Height = 13
    Caption = '&Tab stops:'
    FocusControl = TabStopsEdit
  end
  object TabStopsEdit: TEdit
    Left = 240
    Top = 226
    Width = 217
    Height = 21
    TabOrder = 2
    OnChange = ItemChange
  end
  object KeyMapLbl: TLabel
    Left = 8
    Top = 262
    Width = 63
    Height = 13
    Caption = '&Keymapping:'
    FocusControl = KeymapEdit
  end
  object KeymapEdit: TComboBox
    Left = 88
    Top = 258
    Width = 185
    Height = 21
    Style = csDropDownList
    TabOrder = 3
    OnChange = ItemChange
  end
end
)";

// Check box, the member it shows, and whether it shows the member's absence.
template <class E>
struct TBoundBox {
  TCheckBox* TEditorOptForm::*Box;
  E Member;
  bool Inverted;
};

const TBoundBox<TStringsOption> SourceBoxes[] = {
    {&TEditorOptForm::AutoIndentChk, soAutoIndent, false},
    {&TEditorOptForm::SmartTabChk, soSmartTab, false},
    {&TEditorOptForm::UseTabCharBox, soUseTabCharacter, false},
    {&TEditorOptForm::BackUnindentChk, soBackUnindents, false},
    {&TEditorOptForm::GroupUndoChk, soGroupUndo, false},
    {&TEditorOptForm::CursorEofChk, soBeyondFileEnd, false},
    {&TEditorOptForm::BeyondEolChk, soLimitEOL, true},
    {&TEditorOptForm::PersistentBlockChk, soPersistentBlocks, false},
    {&TEditorOptForm::OverwriteBlockChk, soOverwriteBlocks, false},
    {&TEditorOptForm::FindTextChk, soFindTextAtCursor, false},
    {&TEditorOptForm::CutCopyEnabledChk, soForceCutCopy, false},
};

const TBoundBox<TMemoOption> MemoBoxes[] = {
    {&TEditorOptForm::MemoEnvOptions, moLineNumbers, false},
    {&TEditorOptForm::MemoEnvOptions1, moLineNumbersOnGutter, false},
    {&TEditorOptForm::SelectEolChk, moSelectOnlyText, true},
    {&TEditorOptForm::DblClickEdit, moDblClickLine, false},
    {&TEditorOptForm::SyntaxHighlightChk, moColorSyntax, false},
    {&TEditorOptForm::OverCaretChk, moOverwriteCaret, false},
    {&TEditorOptForm::DisDragChk, moDisableDrag, false},
};

struct TBoxText {
  TCheckBox* TEditorOptForm::*Box;
  TResTextId Text;
};
const TBoxText BoxTexts[] = {
    {&TEditorOptForm::AutoIndentChk, SAutoIndent},
    {&TEditorOptForm::SmartTabChk, SSmartTab},
    {&TEditorOptForm::UseTabCharBox, SUseTabChar},
    {&TEditorOptForm::BackUnindentChk, SBackspaceUnindents},
    {&TEditorOptForm::GroupUndoChk, SGroupUndo},
    {&TEditorOptForm::CursorEofChk, SCursorBeyondEof},
    {&TEditorOptForm::BeyondEolChk, SCursorBeyondEol},
    {&TEditorOptForm::KeepTrailingBlanksChk, SKeepTrailingBlanks},
    {&TEditorOptForm::PersistentBlockChk, SPersistentBlocks},
    {&TEditorOptForm::OverwriteBlockChk, SOverwriteBlocks},
    {&TEditorOptForm::FindTextChk, SFindTextAtCursor},
    {&TEditorOptForm::CutCopyEnabledChk, SForceCutCopy},
    {&TEditorOptForm::MemoEnvOptions, SShowLineNumbers},
    {&TEditorOptForm::MemoEnvOptions1, SLineNumbersOnGutter},
    {&TEditorOptForm::SelectEolChk, SSelectionBeyondEol},
    {&TEditorOptForm::DblClickEdit, SDoubleClickLine},
    {&TEditorOptForm::SyntaxHighlightChk, SUseSyntaxHighlight},
    {&TEditorOptForm::OverCaretChk, SOverwriteBlockCursor},
    {&TEditorOptForm::DisDragChk, SDisableDragging},
};

}  // namespace

TEditorOptForm::TEditorOptForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }

void TEditorOptForm::Published(TPublished<TEditorOptForm>& P) {
  using F = TEditorOptForm;
#define SX_FIELD(N) P.Property(#N, &F::N, &F::N).Stored(false)
  SX_FIELD(EditOptGroup);
  SX_FIELD(AutoIndentChk);
  SX_FIELD(SmartTabChk);
  SX_FIELD(UseTabCharBox);
  SX_FIELD(BackUnindentChk);
  SX_FIELD(GroupUndoChk);
  SX_FIELD(CursorEofChk);
  SX_FIELD(BeyondEolChk);
  SX_FIELD(KeepTrailingBlanksChk);
  SX_FIELD(PersistentBlockChk);
  SX_FIELD(OverwriteBlockChk);
  SX_FIELD(FindTextChk);
  SX_FIELD(CutCopyEnabledChk);
  SX_FIELD(MemoEnvOptions);
  SX_FIELD(MemoEnvOptions1);
  SX_FIELD(SelectEolChk);
  SX_FIELD(DblClickEdit);
  SX_FIELD(SyntaxHighlightChk);
  SX_FIELD(OverCaretChk);
  SX_FIELD(DisDragChk);
  SX_FIELD(BlockIndentLbl);
  SX_FIELD(TabStopLbl);
  SX_FIELD(KeyMapLbl);
  SX_FIELD(BlockIndentEdit);
  SX_FIELD(TabStopsEdit);
  SX_FIELD(KeymapEdit);
#undef SX_FIELD
  P.Method("FormCreate", &F::FormCreate);
  P.Method("MemoEnvOptionsClick", &F::MemoEnvOptionsClick);
  P.Method("ItemChange", &F::ItemChange);
  P.Method("SmartTabChkClick", &F::SmartTabChkClick);
  P.Method("UseTabCharBoxClick", &F::UseTabCharBoxClick);
}

void TEditorOptForm::FormCreate(TObject*) {
  ApplyMainFormFont(this);
  SetCaption(LoadResText(SEditorPage));
  EditOptGroup->SetCaption(LoadResText(SEditorOptions));
  for (const TBoxText& T : BoxTexts) (this->*T.Box)->SetCaption(LoadResText(T.Text));
  BlockIndentLbl->SetCaption(LoadResText(SBlockIndent));
  TabStopLbl->SetCaption(LoadResText(STabStops));
  KeyMapLbl->SetCaption(LoadResText(SKeymapping));

  TMemoSourceOptions* Source = GetGlobalOptions<TMemoSourceOptions>();
  TMemoEnvOptions* Env = EnvWorkingOptions();
  const TStringsOptions SO = Source->GetOptions();
  for (const auto& B : SourceBoxes) (this->*B.Box)->SetChecked(SO.Contains(B.Member) != B.Inverted);
  KeepTrailingBlanksChk->SetChecked(Source->GetKeepTrailingBlanks());
  const TMemoOptions MO = Env->GetOptions();
  for (const auto& B : MemoBoxes) (this->*B.Box)->SetChecked(MO.Contains(B.Member) != B.Inverted);
  MemoEnvOptionsClick(nullptr);

  std::vector<TObjectParamListItem*> Mappings;
  FindParamItem(TCustomDCMemo::StaticClass(), {"KeyboardClass.ID"}, {Variant("KeyboardClass.ID")}, 0, 0,
                &Mappings);
  TStrings* Items = KeymapEdit->GetItems();
  Items->Clear();
  for (TObjectParamListItem* M : Mappings) Items->Add(GetItemParam(M, "KeyboardClass.InitName").AsString());
  KeymapEdit->SetItemIndex(-1);
  for (Integer I = 0; I < Items->GetCount(); ++I)
    if (SameText(Items->GetStrings(I), Env->GetKeyMapping())) {
      KeymapEdit->SetItemIndex(I);
      break;
    }
  BlockIndentEdit->SetText(IntToStr(Source->GetBlockIndent()));
  TabStopsEdit->SetText(Source->GetTabStops());
  Modified = false;
}

void TEditorOptForm::ItemChange(TObject*) { Modified = true; }

void TEditorOptForm::SmartTabChkClick(TObject*) {
  Modified = true;
  if (SmartTabChk->GetChecked()) UseTabCharBox->SetChecked(false);
}

void TEditorOptForm::UseTabCharBoxClick(TObject*) {
  Modified = true;
  if (UseTabCharBox->GetChecked()) SmartTabChk->SetChecked(false);
}

void TEditorOptForm::MemoEnvOptionsClick(TObject* Sender) {
  MemoEnvOptions1->SetEnabled(MemoEnvOptions->GetChecked());
  ItemChange(Sender);
}

void TEditorOptForm::OptionsOk() {
  if (!Modified) return;
  // The numbers first: a text that is no number leaves every option as it was.
  const Integer Indent = StrToInt(BlockIndentEdit->GetText());
  TMemoEnvOptions* Env = EnvWorkingOptions();
  TMemoOptions MO = Env->GetOptions();
  for (const auto& B : MemoBoxes) {
    if ((this->*B.Box)->GetChecked() != B.Inverted) MO.Include(B.Member);
    else MO.Exclude(B.Member);
  }
  Env->SetOptions(MO);
  Env->SetKeyMapping(KeymapEdit->GetText());
  Env->Apply();

  TMemoSourceOptions* Source = GetGlobalOptions<TMemoSourceOptions>();
  TStringsOptions SO = Source->GetOptions();
  for (const auto& B : SourceBoxes) {
    if ((this->*B.Box)->GetChecked() != B.Inverted) SO.Include(B.Member);
    else SO.Exclude(B.Member);
  }
  Source->SetOptions(SO);
  Source->SetKeepTrailingBlanks(KeepTrailingBlanksChk->GetChecked());
  Source->SetBlockIndent(Indent);
  Source->SetTabStops(TabStopsEdit->GetText());
}

void TEditorOptForm::Dispatch(TMessage& Message) {
  if (Message.Msg == DCM_OPTIONSOK) {
    OptionsOk();
    return;
  }
  TForm::Dispatch(Message);
}

void RegisterEditorPage() {
  RegisterClass(TEditorOptForm::StaticClass());
  RegisterFormDescription("TEditorOptForm", EditorPageText);
  RegisterOptionForm(TEditorOptForm::StaticClass(), 2, LoadResText(SEditorPage),
                     [] { return new TEditorOptForm(nullptr); });
}
