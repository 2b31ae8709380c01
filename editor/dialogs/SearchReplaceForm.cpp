// SearchReplaceForm.cpp — the combined Find and Replace window: its form
// description, its pages and the More/Less options panel. What it does to
// the text is in SearchReplaceActions.cpp.
#include "editor/base/EdConsts.h"
#include "editor/controls/HistoryEditor.h"
#include "editor/dialogs/DialogSetup.h"
#include "editor/dialogs/SearchDialogs.h"
#include "editor/text/Search.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/Screen.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"

using namespace EdConsts;

namespace {

TFrmSearRepl* LiveWindow = nullptr;

const char* const SearchReplaceFormText = R"(object FrmSearRepl: TFrmSearRepl
  Left = 200
  Top = 120
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Find and Replace'
  ClientHeight = 267
  ClientWidth = 491
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  FormStyle = fsStayOnTop
  OldCreateOrder = False
  PixelsPerInch = 96
  OnClose = FormClose
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  object PageControl: TPageControl
    Left = 0
    Top = 0
    Width = 491
    Height = 121
    ActivePage = EditorFindPage
    Align = alTop
    TabOrder = 0
    OnChange = PageControlChange
    object EditorFindPage: TTabSheet
      Caption = 'Find'
      object LTexttFind: TLabel
        Left = 8
        Top = 16
        Width = 81
        Height = 13
        Caption = '&Text to find:'
        FocusControl = SearText
      end
      object InfoLbl: TLabel
        Left = 8
        Top = 80
        Width = 3
        Height = 13
      end
      object SearText: TDCHistoryEditor
        Left = 96
        Top = 12
        Width = 321
        Height = 21
        TabOrder = 0
      end
    end
    object EditorReplacePage: TTabSheet
      Caption = 'Replace'
      object Label1: TLabel
        Left = 8
        Top = 16
        Width = 81
        Height = 13
        Caption = '&Text to find:'
        FocusControl = SearText1
      end
      object LReplWith: TLabel
        Left = 8
        Top = 44
        Width = 81
        Height = 13
        Caption = '&Replace with:'
        FocusControl = ReplText
      end
      object InfoLbl1: TLabel
        Left = 8
        Top = 80
        Width = 3
        Height = 13
      end
      object SearText1: TDCHistoryEditor
        Left = 96
        Top = 12
        Width = 321
        Height = 21
        TabOrder = 0
      end
      object ReplText: TDCHistoryEditor
        Left = 96
        Top = 40
        Width = 321
        Height = 21
        TabOrder = 1
      end
    end
    object GotoTab: TTabSheet
      Caption = 'Go to line Number'
      object Label4: TLabel
        Left = 8
        Top = 12
        Width = 30
        Height = 13
        Caption = 'Go to'
      end
      object InputLabel: TLabel
        Left = 168
        Top = 12
        Width = 113
        Height = 13
        Caption = '&Enter new line number:'
        FocusControl = LineEd
      end
      object InfoLbl2: TLabel
        Left = 8
        Top = 80
        Width = 3
        Height = 13
      end
      object GotoBox: TListBox
        Left = 8
        Top = 32
        Width = 145
        Height = 41
        TabOrder = 0
      end
      object LineEd: TEdit
        Left = 168
        Top = 32
        Width = 281
        Height = 21
        TabOrder = 1
      end
    end
  end
  object Panel2: TPanel
    Left = 0
    Top = 121
    Width = 491
    Height = 40
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 1
    object ExBtn: TBitBtn
      Left = 56
      Top = 8
      Width = 73
      Height = 25
      Caption = '&More'
      Layout = blGlyphRight
      NumGlyphs = 2
      TabOrder = 0
      OnClick = ExBtnClick
    end
    object FindBtn: TButton
      Left = 144
      Top = 8
      Width = 75
      Height = 25
      Caption = 'Find'
      Default = True
      TabOrder = 1
      OnClick = FindBtnClick
    end
    object ReplBtn: TButton
      Left = 232
      Top = 8
      Width = 75
      Height = 25
      Caption = 'Replace'
      TabOrder = 2
      OnClick = ReplBtnClick
    end
    object ReplAllBtn: TButton
      Left = 320
      Top = 8
      Width = 75
      Height = 25
      Caption = 'Replace &All'
      TabOrder = 3
      OnClick = ReplBtnClick
    end
    object GoToBtn: TButton
      Left = 320
      Top = 8
      Width = 75
      Height = 25
      Caption = 'Go To'
      TabOrder = 4
      Visible = False
      OnClick = GoToBtnClick
    end
    object CloseBtn: TButton
      Left = 408
      Top = 8
      Width = 75
      Height = 25
      Cancel = True
      Caption = 'Close'
      TabOrder = 5
      OnClick = CloseBtnClick
    end
  end
  object ExPanel: TPanel
    Left = 0
    Top = 161
    Width = 491
    Height = 106
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 2
    object gbxOptions: TGroupBox
      Left = 8
      Top = 8
      Width = 185
      Height = 89
      Caption = 'Options'
      TabOrder = 0
      object CaseSens: TCheckBox
        Left = 8
        Top = 16
        Width = 169
        Height = 17
        Caption = '&Case sensitive'
        TabOrder = 0
      end
      object WholeWord: TCheckBox
        Left = 8
        Top = 40
        Width = 169
        Height = 17
        Caption = '&Whole words only'
        TabOrder = 1
      end
      object RegExpr: TCheckBox
        Left = 8
        Top = 64
        Width = 169
        Height = 17
        Caption = 'Regular e&xpressions'
        TabOrder = 2
      end
    end
    object gbxDirection: TGroupBox
      Left = 200
      Top = 8
      Width = 137
      Height = 89
      Caption = 'Direction'
      TabOrder = 1
      object dirForward: TRadioButton
        Left = 8
        Top = 24
        Width = 121
        Height = 17
        Caption = 'Forwar&d'
        Checked = True
        TabOrder = 0
        TabStop = True
      end
      object dirBackward: TRadioButton
        Left = 8
        Top = 48
        Width = 121
        Height = 17
        Caption = '&Backward'
        TabOrder = 1
      end
    end
    object gbxScope: TGroupBox
      Left = 344
      Top = 8
      Width = 137
      Height = 89
      Caption = 'Scope'
      TabOrder = 2
      object ScopeGlobal: TRadioButton
        Left = 8
        Top = 24
        Width = 121
        Height = 17
        Caption = '&Global'
        Checked = True
        TabOrder = 0
        TabStop = True
      end
      object ScopeSelected: TRadioButton
        Left = 8
        Top = 48
        Width = 121
        Height = 17
        Caption = '&Selected text'
        TabOrder = 1
      end
    end
  end
end
)";

// The two images of the More/Less button: an arrow down (open the
// options) and an arrow up (close them), side by side.
void DrawArrowGlyph(TBitmap* B) {
  constexpr Integer W = 9, H = 7;
  B->SetSize(2 * W, H);
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clFuchsia);  // the transparent colour
  C->FillRect({0, 0, 2 * W, H});
  C->Pen()->SetColor(clBlack);
  for (Integer Row = 0; Row < 4; ++Row) {
    C->MoveTo(Row, 1 + Row);  // down: wide at the top
    C->LineTo(W - 1 - Row, 1 + Row);
    C->MoveTo(W + Row, 5 - Row);  // up: wide at the bottom
    C->LineTo(2 * W - 1 - Row, 5 - Row);
  }
}

}  // namespace

TFrmSearRepl* SearchReplaceForm() { return LiveWindow; }
void SetLiveSearchReplaceForm(TFrmSearRepl* Form) { LiveWindow = Form; }

void TFrmSearRepl::Published(TPublished<TFrmSearRepl>& P) {
  using F = TFrmSearRepl;
#define SX_FIELD(N) P.Property(#N, &F::N, &F::N).Stored(false)
  SX_FIELD(PageControl);
  SX_FIELD(EditorFindPage);
  SX_FIELD(EditorReplacePage);
  SX_FIELD(GotoTab);
  SX_FIELD(LTexttFind);
  SX_FIELD(Label1);
  SX_FIELD(LReplWith);
  SX_FIELD(Label4);
  SX_FIELD(InputLabel);
  SX_FIELD(InfoLbl);
  SX_FIELD(InfoLbl1);
  SX_FIELD(InfoLbl2);
  SX_FIELD(SearText);
  SX_FIELD(SearText1);
  SX_FIELD(ReplText);
  SX_FIELD(GotoBox);
  SX_FIELD(LineEd);
  SX_FIELD(Panel2);
  SX_FIELD(ExPanel);
  SX_FIELD(ExBtn);
  SX_FIELD(FindBtn);
  SX_FIELD(ReplBtn);
  SX_FIELD(ReplAllBtn);
  SX_FIELD(GoToBtn);
  SX_FIELD(CloseBtn);
  SX_FIELD(gbxOptions);
  SX_FIELD(gbxDirection);
  SX_FIELD(gbxScope);
  SX_FIELD(CaseSens);
  SX_FIELD(WholeWord);
  SX_FIELD(RegExpr);
  SX_FIELD(dirForward);
  SX_FIELD(dirBackward);
  SX_FIELD(ScopeGlobal);
  SX_FIELD(ScopeSelected);
#undef SX_FIELD
  P.Method("FormCreate", &F::FormCreate);
  P.Method("FormClose", &F::FormClose);
  P.Method("FormDestroy", &F::FormDestroy);
  P.Method("ExBtnClick", &F::ExBtnClick);
  P.Method("PageControlChange", &F::PageControlChange);
  P.Method("FindBtnClick", &F::FindBtnClick);
  P.Method("ReplBtnClick", &F::ReplBtnClick);
  P.Method("GoToBtnClick", &F::GoToBtnClick);
  P.Method("CloseBtnClick", &F::CloseBtnClick);
}

void TFrmSearRepl::FormCreate(TObject*) {
  if (ExBtn->GetGlyph()->Empty()) DrawArrowGlyph(ExBtn->GetGlyph());
  FGlyph = std::make_unique<TBitmap>();
  FGlyph->Assign(ExBtn->GetGlyph());
  FExHeight = ExPanel->GetHeight();
  SetCaption(LoadResText(SFindReplaceCaption));
  EditorFindPage->SetCaption(LoadResText(SFindButton));
  EditorReplacePage->SetCaption(LoadResText(SReplaceButton));
  GotoTab->SetCaption(LoadResText(SGotoLineCaption));
  for (TLabel* L : {LTexttFind, Label1}) L->SetCaption(LoadResText(STextToFind));
  LReplWith->SetCaption(LoadResText(SReplaceWith));
  Label4->SetCaption(LoadResText(SGoToCaption));
  InputLabel->SetCaption(LoadResText(SEnterLineNumber));
  FindBtn->SetCaption(LoadResText(SFindButton));
  ReplBtn->SetCaption(LoadResText(SReplaceButton));
  ReplAllBtn->SetCaption(LoadResText(SReplaceAllButton));
  GoToBtn->SetCaption(LoadResText(SGoToCaption));
  CloseBtn->SetCaption(LoadResText(SCloseButton));
  gbxOptions->SetCaption(LoadResText(SFindOptions));
  CaseSens->SetCaption(LoadResText(SCaseSensitive));
  WholeWord->SetCaption(LoadResText(SWholeWordsOnly));
  RegExpr->SetCaption(LoadResText(SRegularExpressions));
  gbxDirection->SetCaption(LoadResText(SDirection));
  dirForward->SetCaption(LoadResText(SForward));
  dirBackward->SetCaption(LoadResText(SBackward));
  gbxScope->SetCaption(LoadResText(SScope));
  ScopeGlobal->SetCaption(LoadResText(SGlobal));
  ScopeSelected->SetCaption(LoadResText(SSelectedText));
  TStrings* Items = GotoBox->GetItems();
  Items->Clear();
  Items->Add(LoadResText(SGoToLine));
  Items->Add(LoadResText(SGoToBookmark));
  GotoBox->SetItemIndex(0);
  SetInfo(AnsiString());
  LoadOptions();
  // The window opens with the options folded away.
  ExBtnClick(ExBtn);
}

void TFrmSearRepl::ExBtnClick(TObject*) {
  const bool Show = !ExPanel->GetVisible();
  ExPanel->SetVisible(Show);
  // The left image becomes the kept copy's down arrow (panel folded) or up arrow.
  const Integer Half = FGlyph->GetWidth() / 2;
  if (Half > 0) {
    TBitmap G;
    G.Assign(ExBtn->GetGlyph());
    G.Canvas()->CopyRect({0, 0, Half, G.GetHeight()}, FGlyph->Canvas(),
                         {Show ? Half : 0, 0, Show ? 2 * Half : Half, FGlyph->GetHeight()});
    ExBtn->SetGlyph(&G);
  }
  ExBtn->SetCaption(LoadResText(Show ? SLessButton : SMoreButton));
  SetHeight(GetHeight() + (Show ? FExHeight : -FExHeight));
}

bool TFrmSearRepl::ReplacePageActive() const { return PageControl->GetActivePageIndex() == 1; }

void TFrmSearRepl::PageControlChange(TObject*) {
  const Integer P = PageControl->GetActivePageIndex();
  ExBtn->SetEnabled(P != 2);
  FindBtn->SetEnabled(P != 2);
  ReplAllBtn->SetVisible(P != 2);
  ReplBtn->SetEnabled(P == 1);
  ReplAllBtn->SetEnabled(P == 1);
  GoToBtn->SetVisible(P == 2);
  FindBtn->SetDefault(P == 0);
  ReplBtn->SetDefault(P == 1);
  GoToBtn->SetDefault(P == 2);
  if (P == 2 && ExPanel->GetVisible()) ExBtnClick(ExBtn);
  SetInfo(AnsiString());
}

void TFrmSearRepl::ShowPage(Integer Page) {
  PageControl->SetActivePageIndex(Page);
  TWinControl* Field = Page == 0 ? static_cast<TWinControl*>(SearText)
                       : Page == 1 ? static_cast<TWinControl*>(SearText1)
                                   : static_cast<TWinControl*>(LineEd);
  if (GetVisible() && Field->CanFocus()) Field->SetFocus();
  PageControlChange(PageControl);
}

void TFrmSearRepl::SetGoToLine(Integer Line) { LineEd->SetText(IntToStr(Line)); }

void TFrmSearRepl::SetInfo(const AnsiString& Text) {
  for (TLabel* L : {InfoLbl, InfoLbl1, InfoLbl2}) L->SetCaption(Text);
}

void TFrmSearRepl::AvoidRect(const TRect& R) {
  const TRect Mine = BoundsRect();
  if (R.Right <= Mine.Left || Mine.Right <= R.Left || R.Bottom <= Mine.Top || Mine.Bottom <= R.Top) return;
  const Integer ScreenH = Screen ? Screen->Height() : 0;
  if (R.Bottom + GetHeight() >= ScreenH) SetTop(R.Top - GetHeight());
  else SetTop(R.Bottom);
}

void TFrmSearRepl::CloseBtnClick(TObject*) {
  ApplyOptions();
  Close();
}

void TFrmSearRepl::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void RegisterSearchReplaceForm() {
  // The window acts on the current source only: without it, it closes.
  SetSearchSourceGoneHandler([] {
    if (TFrmSearRepl* F = SearchReplaceForm()) F->Close();
  });
  // While shown, it keeps off the line where the current source's caret went.
  SetSearchCaretMovedHandler([](const TRect& Line) {
    if (TFrmSearRepl* F = SearchReplaceForm(); F && F->GetVisible()) F->AvoidRect(Line);
  });
  RegisterClass(TFrmSearRepl::StaticClass());
  RegisterFormDescription("TFrmSearRepl", SearchReplaceFormText);
  RegisterEditorDialog(SearchReplaceFormClass, [](TComponent* Owner) -> TForm* { return new TFrmSearRepl(Owner); });
}
