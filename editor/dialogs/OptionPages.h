// OptionPages.h — the three pages of the options dialog: "Editor" (editing
// behaviour, key mapping, tabs and indent), "Display" (gutter, margin,
// font, colours, special symbols) and "Colors" (the text styles and the
// built-in colour schemes).
//
// The pages edit one working copy of the global editor options
// (EnvWorkingOptions); the Editor page also edits the global memo source
// options. Each page applies what it changed when the dialog is confirmed
// (DCM_OPTIONSOK); a cancelled dialog applies nothing, and the next showing
// starts again from the global options.
#pragma once
#include <vector>
#include "editor/dialogs/OptionControls.h"
#include "editor/dialogs/StylePickers.h"
#include "platform/forms/ColorDialog.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "editor/view/TextStyles.h"

class TMemoEnvOptions;

// The working copy of the global editor options the pages edit (made on
// first use).
TMemoEnvOptions* EnvWorkingOptions();
// Takes the global options into the working copy again.
void ResetEnvWorkingOptions();
// Frees the working copy (before the global options go).
void FreeEnvWorkingOptions();

class TEditorOptForm : public TForm {
  SX_CLASS(TEditorOptForm, TForm)
public:
  explicit TEditorOptForm(TComponent* AOwner);
  static void Published(TPublished<TEditorOptForm>& P);

  TGroupBox* EditOptGroup = nullptr;
  TCheckBox *AutoIndentChk = nullptr, *SmartTabChk = nullptr, *UseTabCharBox = nullptr,
            *BackUnindentChk = nullptr, *GroupUndoChk = nullptr, *CursorEofChk = nullptr,
            *BeyondEolChk = nullptr, *KeepTrailingBlanksChk = nullptr, *PersistentBlockChk = nullptr,
            *OverwriteBlockChk = nullptr, *FindTextChk = nullptr, *CutCopyEnabledChk = nullptr,
            *MemoEnvOptions = nullptr, *MemoEnvOptions1 = nullptr, *SelectEolChk = nullptr,
            *DblClickEdit = nullptr, *SyntaxHighlightChk = nullptr, *OverCaretChk = nullptr,
            *DisDragChk = nullptr;
  TLabel *BlockIndentLbl = nullptr, *TabStopLbl = nullptr, *KeyMapLbl = nullptr;
  TEdit *BlockIndentEdit = nullptr, *TabStopsEdit = nullptr;
  TComboBox* KeymapEdit = nullptr;

  // Something on the page changed since it was made.
  bool Modified = false;

  void FormCreate(TObject* Sender);
  void MemoEnvOptionsClick(TObject* Sender);
  void ItemChange(TObject* Sender);
  void SmartTabChkClick(TObject* Sender);
  void UseTabCharBoxClick(TObject* Sender);

protected:
  void Dispatch(TMessage& Message) override;
  void OptionsOk();
};

class TDisplayOptForm : public TForm {
  SX_CLASS(TDisplayOptForm, TForm)
public:
  explicit TDisplayOptForm(TComponent* AOwner);
  static void Published(TPublished<TDisplayOptForm>& P);

  TGroupBox *EditGutterGroup = nullptr, *EditMarginGroup = nullptr;
  TDCPropCheck *GutterVisibleLbl = nullptr, *MarginVisibleCheck = nullptr, *pcbUseMonoFont = nullptr,
               *pcbUseReadOnlyColor = nullptr, *pcbUseSpecSymbs = nullptr;
  TLabel *WidthLbl = nullptr, *ColorGutterLbl = nullptr, *StyleLbl = nullptr, *WitdhMarginLbl = nullptr,
         *ColorLbl = nullptr, *StyleMarginLbl = nullptr, *PositionLbl = nullptr, *EditFontLbl = nullptr,
         *SizeLbl = nullptr, *EditorColorLbl = nullptr, *lblReadOnlyColor = nullptr, *lblSSEOF = nullptr,
         *lblSSEOL = nullptr, *lblSSSpace = nullptr, *lblSSTab = nullptr;
  TEdit *GutterWidthEdit = nullptr, *MarginWidthEdit = nullptr, *MarginPosEdit = nullptr, *edtSSEOF = nullptr,
        *edtSSEOL = nullptr, *edtSSSpace = nullptr, *edtSSTab = nullptr;
  TDCColorCombo *GutterColorEdit = nullptr, *MarginColorEdit = nullptr, *EditorColorEd = nullptr,
                *ReadOnlyColorEd = nullptr;
  TButton *GutterColorBtn = nullptr, *MarginColorBtn = nullptr;
  TDCBrushStyleEdit* GutterStyleEdit = nullptr;
  TDCPenStyleEdit* MarginStyleEdit = nullptr;
  TComboBox *FontNameEdit = nullptr, *FontSizeEdit = nullptr;
  TColorDialog* ColorDialog1 = nullptr;

  // The font list holds only the current name, or was built for the other
  // state of the mono-font box.
  bool FontListStale = false;

  void FormCreate(TObject* Sender);
  void GutterWidthEditExit(TObject* Sender);
  void GutterColorEditChange(TObject* Sender);
  void GutterStyleEditChange(TObject* Sender);
  void MarginWidthEditExit(TObject* Sender);
  void MarginColorEditChange(TObject* Sender);
  void MarginStyleEditChange(TObject* Sender);
  void MarginPosEditExit(TObject* Sender);
  void FontNameEditChange(TObject* Sender);
  void EditorColorEdChange(TObject* Sender);
  void FontSizeEditChange(TObject* Sender);
  void GutterColorBtnClick(TObject* Sender);
  void MarginColorBtnClick(TObject* Sender);
  void FontNameEditDropDown(TObject* Sender);
  void pcbUseMonoFontClick(TObject* Sender);
  void ReadOnlyColorEdChange(TObject* Sender);
  void edtSSEOFExit(TObject* Sender);
  void edtSSEOLExit(TObject* Sender);
  void edtSSSpaceChange(TObject* Sender);
  void edtSSTabChange(TObject* Sender);
  void pcbUseReadOnlyColorClick(TObject* Sender);
  void pcbUseSpecSymbsClick(TObject* Sender);
  // Fills the font list (only fixed-pitch fonts when MonoOnly) and selects
  // the working font there, or the first font when it is missing.
  void BuildFontList(bool MonoOnly);

protected:
  void Dispatch(TMessage& Message) override;
  void PickColor(TDCColorCombo* Combo);
};

class TColorsOptForm : public TForm {
  SX_CLASS(TColorsOptForm, TForm)
public:
  explicit TColorsOptForm(TComponent* AOwner);
  static void Published(TPublished<TColorsOptForm>& P);

  TLabel *CSSLbl = nullptr, *ElementLbl = nullptr, *ForeColorLbl = nullptr, *BackColorLbl = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TListBox* Elements = nullptr;
  TDCColorCombo *ForeColor = nullptr, *BackColor = nullptr;
  TButton *ForeColorBtn = nullptr, *BackColorBtn = nullptr, *OpenButton = nullptr, *SaveButton = nullptr;
  TGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr;
  TDCPropCheck *BoldChk = nullptr, *ItalicChk = nullptr, *UnderLineChk = nullptr, *chkDefFore = nullptr,
               *chkDefBack = nullptr;
  TColorDialog* ColorDialog1 = nullptr;

  void FormCreate(TObject* Sender);
  void ElementsClick(TObject* Sender);
  void ForeColorChange(TObject* Sender);
  void BackColorChange(TObject* Sender);
  void OpenButtonClick(TObject* Sender);
  void SaveButtonClick(TObject* Sender);
  void ComboBox1Change(TObject* Sender);
  void ForeColorBtnClick(TObject* Sender);
  void BackColorBtnClick(TObject* Sender);
  void FillElements();
  TTextStyle* SelectedStyle();
  void AddSchemeName(const AnsiString& Name);
  // The editor colour follows the "Whitespace" background (and the Display
  // page shows it when it is open).
  void SyncEditorColor();

protected:
  void Dispatch(TMessage& Message) override;
  void PickColor(TDCColorCombo* Combo);
};

// --- colour schemes -------------------------------------------------------------

// One row of a scheme table.
struct TTextStyleRecord {
  const char* Name;
  TColor FontColor;
  TColor BackColor;
  Byte FontStyle;  // bold 1, italic 2, underline 4, strike-out 8
  TUpdateMemoColors UpdateMemoColors;
  bool UseMemoColor;
};
using TColorSchemeProc = void (*)(TTextStyles* Styles);

void RegisterColorScheme(TClass ControlClass, const AnsiString& Name, TColorSchemeProc Proc);
// nil when no scheme of that name (any letter case) is registered for the
// class or an ancestor.
TColorSchemeProc FindColorSchemeProc(TClass ControlClass, const AnsiString& Name);
// Every registered scheme name, in registration order.
std::vector<AnsiString> ListColorSchemes();
// Sets each style named in the table (rows without a style are skipped).
void ApplySchemeTable(TTextStyles* Styles, const std::vector<TTextStyleRecord>& Table);
void ApplyDefaultsScheme(TTextStyles* Styles);
void ApplyClassicScheme(TTextStyles* Styles);
void ApplyOceanScheme(TTextStyles* Styles);
void ApplyTwilightScheme(TTextStyles* Styles);

// Registers the page classes, their form descriptions and the pages with
// the options dialog, and the four colour schemes.
void RegisterOptionPages();
