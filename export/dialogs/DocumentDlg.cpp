#include "export/dialogs/DocumentDlg.h"

#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/forms/Panels.h"
#include "platform/win/HeadlessDisplay.h"

namespace {
TgtBaseDlg* GShowing = nullptr;

const char* const DisplayTypeNames[] = {"Tile",   "Top-Left",     "Top-Center",  "Top-Right",     "Center-Left",
                                        "Center", "Center-Right", "Bottom-Left", "Bottom-Center", "Bottom-Right"};
const char* const OutputFormatNames[] = {"BMP", "JPEG", "GIF", "PNG", "Metafile", "CCITT3", "CCITT4"};
const char* const PixelFormatNames[] = {"Device", "1 bit", "4 bit", "8 bit", "15 bit", "16 bit", "24 bit", "32 bit"};

// A list line carries its enumeration ordinal as its object.
TObject* Ordinal(Integer V) { return reinterpret_cast<TObject*>(static_cast<intptr_t>(V)); }

bool IsDigit(char C) { return C >= '0' && C <= '9'; }
}  // namespace

// ---- the base --------------------------------------------------------------------

TgtBaseDlg::TgtBaseDlg(TComponent* AOwner) : TForm(AOwner) {}

TgtBaseDlg* TgtBaseDlg::Showing() { return GShowing; }

void SetControlsEnabled(TWinControl* Parent, bool Enabled) {
  for (Integer I = 0; I < Parent->ControlCount(); ++I) {
    TControl* C = Parent->Controls(I);
    auto* W = dynamic_cast<TWinControl*>(C);
    if (W && W->ControlCount() > 0) SetControlsEnabled(W, Enabled);
    if (auto* E = dynamic_cast<TCustomEdit*>(C)) E->SetColor(Enabled ? clWindow : clInactiveBorder);
    else if (auto* B = dynamic_cast<TCustomComboBox*>(C)) B->SetColor(Enabled ? clWindow : clInactiveBorder);
    C->SetEnabled(Enabled);
  }
}

TModalResult ShowDialogForm(TForm* Form) {
  TDialogRequest R;
  R.Kind = Form->ClassName();
  R.Caption = Form->GetCaption();
  R.Answers = {mrOk, mrCancel};
  if (DialogAnswerer()) {
    const TDialogAnswer A = RunDialog(R);
    if (!A.ShowForm) return A.Result;
  } else if (dynamic_cast<THeadlessDisplay*>(&Display())) {
    // Nobody can answer a dialog on a display nobody sees.
    throw EDialogNotAnswered(R);
  }
  return Form->ShowModal();
}

Word RunSetupDialog(TgtBaseDlg* Dialog, TgtCustomDocumentEngine* Engine) {
  Dialog->SetEngine(Engine);
  TgtBaseDlg* Previous = GShowing;
  GShowing = Dialog;
  struct TRestore {
    TgtBaseDlg* Dialog;
    TgtBaseDlg* Previous;
    ~TRestore() {
      GShowing = Previous;
      Dialog->SetEngine(nullptr);
    }
  } Restore{Dialog, Previous};
  // OK from the hook confirms the engine's values as they stand.
  return ShowDialogForm(Dialog) == mrOk ? 1 : 2;
}

// ---- building the common form ------------------------------------------------------

TLabel* TgtDocumentDlg::AddLabel(TWinControl* Parent, const char* Name, Integer X, Integer Y) {
  auto* L = new TLabel(this);
  L->SetName(Name);
  L->SetParent(Parent);
  L->SetLeft(X);
  L->SetTop(Y);
  return L;
}

TEdit* TgtDocumentDlg::AddEdit(TWinControl* Parent, const char* Name, Integer X, Integer Y, Integer W) {
  auto* E = new TEdit(this);
  E->SetName(Name);
  E->SetParent(Parent);
  E->SetBounds(X, Y, W, 21);
  E->SetText("");
  return E;
}

TCheckBox* TgtDocumentDlg::AddCheck(TWinControl* Parent, const char* Name, Integer X, Integer Y, Integer W) {
  auto* C = new TCheckBox(this);
  C->SetName(Name);
  C->SetParent(Parent);
  C->SetBounds(X, Y, W, 17);
  return C;
}

TComboBox* TgtDocumentDlg::AddCombo(TWinControl* Parent, const char* Name, Integer X, Integer Y, Integer W) {
  auto* C = new TComboBox(this);
  C->SetName(Name);
  C->SetParent(Parent);
  C->SetStyle(csDropDownList);
  C->SetBounds(X, Y, W, 21);
  return C;
}

TGroupBox* TgtDocumentDlg::AddGroup(TWinControl* Parent, const char* Name, Integer X, Integer Y, Integer W,
                                    Integer H) {
  auto* G = new TGroupBox(this);
  G->SetName(Name);
  G->SetParent(Parent);
  G->SetBounds(X, Y, W, H);
  return G;
}

TTabSheet* TgtDocumentDlg::AddSheet(const char* Name) {
  auto* S = new TTabSheet(this);
  S->SetName(Name);
  S->SetPageControl(pcDocument);
  S->SetTabVisible(false);
  return S;
}

TgtDocumentDlg::TgtDocumentDlg(TComponent* AOwner) : TgtBaseDlg(AOwner) {
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  GetFont()->SetName("Tahoma");
  GetFont()->SetSize(8);
  SetClientWidth(479);
  SetClientHeight(458);

  pnlLeft = new TPanel(this);
  pnlLeft->SetName("pnlLeft");
  pnlLeft->SetParent(this);
  pnlLeft->SetBounds(0, 0, 121, 458);
  pnlLeft->SetBevelOuter(bvNone);
  pnlLeft->SetColor(clNavy);
  pnlLeft->SetCaption("");
  lbDocumentDlg = new TListBox(this);
  lbDocumentDlg->SetName("lbDocumentDlg");
  lbDocumentDlg->SetParent(pnlLeft);
  lbDocumentDlg->SetBounds(8, 8, 105, 400);
  lbDocumentDlg->OnClick = TNotifyEvent(this, &TgtDocumentDlg::lbDocumentDlgClick);

  pnlCaption = new TPanel(this);
  pnlCaption->SetName("pnlCaption");
  pnlCaption->SetParent(this);
  pnlCaption->SetBounds(129, 8, 342, 24);
  pnlCaption->SetBevelOuter(bvNone);
  pnlCaption->SetColor(clInfoBk);
  pnlCaption->SetCaption("");
  lblDialogCaption = AddLabel(pnlCaption, "lblDialogCaption", 8, 5);
  lblDialogCaption->GetFont()->SetStyle({fsBold});

  pcDocument = new TPageControl(this);
  pcDocument->SetName("pcDocument");
  pcDocument->SetParent(this);
  pcDocument->SetBounds(129, 36, 342, 376);

  btnOK = new TButton(this);
  btnOK->SetName("btnOK");
  btnOK->SetParent(this);
  btnOK->SetBounds(315, 422, 75, 25);
  btnOK->SetDefault(true);
  btnOK->OnClick = TNotifyEvent(this, &TgtDocumentDlg::OkClicked);
  btnCancel = new TButton(this);
  btnCancel->SetName("btnCancel");
  btnCancel->SetParent(this);
  btnCancel->SetBounds(396, 422, 75, 25);
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
  lblHalvarn = AddLabel(this, "lblHalvarn", 8, 430);
  lblHalvarn->SetCursor(crHandPoint);
  lblHalvarn->GetFont()->SetStyle({fsUnderline});
  lblHalvarn->GetFont()->SetColor(clNavy);
  lblHalvarn->SetCaption("www.sourcelux.example");

  OpenPictureDialog = new TOpenPictureDialog(this);
  OpenPictureDialog->SetName("OpenPictureDialog");
  ColorDialog = new TColorDialog(this);
  ColorDialog->SetName("ColorDialog");

  // Preferences
  tsPreferences = AddSheet("tsPreferences");
  gbPreferences = AddGroup(tsPreferences, "gbPreferences", 6, 4, 322, 330);
  gbPageRange = AddGroup(gbPreferences, "gbPageRange", 10, 18, 300, 120);
  rbtnAll = new TRadioButton(this);
  rbtnAll->SetName("rbtnAll");
  rbtnAll->SetParent(gbPageRange);
  rbtnAll->SetBounds(12, 20, 120, 17);
  rbtnAll->SetChecked(true);
  rbtnAll->OnClick = TNotifyEvent(this, &TgtDocumentDlg::rbtnAllClick);
  rbtnPages = new TRadioButton(this);
  rbtnPages->SetName("rbtnPages");
  rbtnPages->SetParent(gbPageRange);
  rbtnPages->SetBounds(12, 44, 70, 17);
  rbtnPages->OnClick = TNotifyEvent(this, &TgtDocumentDlg::rbtnPagesClick);
  edPages = AddEdit(gbPageRange, "edPages", 84, 42, 200);
  edPages->OnKeyPress = TKeyPressEvent(this, &TgtDocumentDlg::edPagesKeyPress);
  edPages->OnChange = TNotifyEvent(this, &TgtDocumentDlg::edPagesChange);
  lblPageExample = AddLabel(gbPageRange, "lblPageExample", 12, 72);
  lblPageExample->SetAutoSize(false);
  lblPageExample->SetWordWrap(true);
  lblPageExample->SetBounds(12, 72, 276, 40);
  chkOpenAfterCreate = AddCheck(gbPreferences, "chkOpenAfterCreate", 12, 150, 200);
  chkProcessAfterEachPage = AddCheck(gbPreferences, "chkProcessAfterEachPage", 12, 198, 200);

  // Content
  tsContent = AddSheet("tsContent");
  gbContentOptions = AddGroup(tsContent, "gbContentOptions", 6, 4, 322, 338);
  gbItemsToRender = AddGroup(gbContentOptions, "gbItemsToRender", 10, 16, 300, 160);
  chkText = AddCheck(gbItemsToRender, "chkText", 12, 18, 80);
  chkShape = AddCheck(gbItemsToRender, "chkShape", 100, 18, 80);
  chkImage = AddCheck(gbItemsToRender, "chkImage", 188, 18, 80);
  gbImageSettings = AddGroup(gbItemsToRender, "gbImageSettings", 8, 40, 284, 112);
  lblOutputImageFormat = AddLabel(gbImageSettings, "lblOutputImageFormat", 8, 20);
  cbOutputImageFormat = AddCombo(gbImageSettings, "cbOutputImageFormat", 140, 16, 130);
  cbOutputImageFormat->OnChange = TNotifyEvent(this, &TgtDocumentDlg::cbOutputImageFormatChange);
  lblJPEGQuality = AddLabel(gbImageSettings, "lblJPEGQuality", 8, 44);
  edJPEGQuality = AddEdit(gbImageSettings, "edJPEGQuality", 140, 40, 50);
  edJPEGQuality->SetMaxLength(3);
  lblImagePixelFormat = AddLabel(gbImageSettings, "lblImagePixelFormat", 8, 68);
  cbImagePixelFormat = AddCombo(gbImageSettings, "cbImagePixelFormat", 140, 64, 130);
  lblSourceDPI = AddLabel(gbImageSettings, "lblSourceDPI", 8, 92);
  edSourceDPI = AddEdit(gbImageSettings, "edSourceDPI", 140, 88, 50);
  gbDocInfo = AddGroup(gbContentOptions, "gbDocInfo", 10, 182, 300, 148);
  struct TInfoLine {
    TLabel** Label;
    TEdit** Edit;
    const char *LabelName, *EditName;
  };
  const TInfoLine Info[] = {{&lblAuthor, &edAuthor, "lblAuthor", "edAuthor"},
                            {&lblCreator, &edCreator, "lblCreator", "edCreator"},
                            {&lblKeywords, &edKeywords, "lblKeywords", "edKeywords"},
                            {&lblSubject, &edSubject, "lblSubject", "edSubject"},
                            {&lblTitle, &edTitle, "lblTitle", "edTitle"}};
  Integer Y = 18;
  for (const auto& L : Info) {
    *L.Edit = AddEdit(gbDocInfo, L.EditName, 90, Y, 196);
    *L.Label = AddLabel(gbDocInfo, L.LabelName, 10, Y + 4);
    (*L.Label)->SetFocusControl(*L.Edit);
    Y += 25;
  }

  // Background
  tsBackground = AddSheet("tsBackground");
  gbBackground = AddGroup(tsBackground, "gbBackground", 6, 4, 322, 330);
  lblBackgroundImage = AddLabel(gbBackground, "lblBackgroundImage", 12, 20);
  pnlBackgroundImage = new TPanel(this);
  pnlBackgroundImage->SetName("pnlBackgroundImage");
  pnlBackgroundImage->SetParent(gbBackground);
  pnlBackgroundImage->SetBounds(12, 38, 180, 150);
  pnlBackgroundImage->SetBevelOuter(bvLowered);
  pnlBackgroundImage->SetCaption("");
  imgBackgroundImage = new TImage(this);
  imgBackgroundImage->SetName("imgBackgroundImage");
  imgBackgroundImage->SetParent(pnlBackgroundImage);
  imgBackgroundImage->SetBounds(2, 2, 176, 146);
  imgBackgroundImage->SetStretch(true);
  btnSelectImage = new TButton(this);
  btnSelectImage->SetName("btnSelectImage");
  btnSelectImage->SetParent(gbBackground);
  btnSelectImage->SetBounds(204, 38, 100, 25);
  btnSelectImage->OnClick = TNotifyEvent(this, &TgtDocumentDlg::btnSelectImageClick);
  btnImgPrvw = new TButton(this);
  btnImgPrvw->SetName("btnImgPrvw");
  btnImgPrvw->SetParent(gbBackground);
  btnImgPrvw->SetBounds(204, 70, 100, 25);
  btnImgPrvw->OnClick = TNotifyEvent(this, &TgtDocumentDlg::btnImgPrvwClick);
  btnClear = new TButton(this);
  btnClear->SetName("btnClear");
  btnClear->SetParent(gbBackground);
  btnClear->SetBounds(204, 102, 100, 25);
  btnClear->OnClick = TNotifyEvent(this, &TgtDocumentDlg::btnClearClick);
  lblBackgroundDisplayType = AddLabel(gbBackground, "lblBackgroundDisplayType", 12, 204);
  cbBackgroundDisplayType = AddCombo(gbBackground, "cbBackgroundDisplayType", 172, 200, 132);
  lblBackgroundColor = AddLabel(gbBackground, "lblBackgroundColor", 12, 236);
  shpBackgroundColor = new TShape(this);
  shpBackgroundColor->SetName("shpBackgroundColor");
  shpBackgroundColor->SetParent(gbBackground);
  shpBackgroundColor->SetBounds(160, 232, 40, 22);
  shpBackgroundColor->SetHint("Click to Select Background Color");
  shpBackgroundColor->SetShowHint(true);
  shpBackgroundColor->OnMouseDown = TMouseEvent(this, &TgtDocumentDlg::SwatchDown);
  shpBackgroundColor->OnMouseUp = TMouseEvent(this, &TgtDocumentDlg::SwatchUp);

  // E-mail: kept for the values' sake, never reachable.
  tsEMailInfo = AddSheet("tsEMailInfo");
  chkEmailAfterCreate = AddCheck(tsEMailInfo, "chkEmailAfterCreate", 8, 8, 200);
  chkEmailAfterCreate->OnClick = TNotifyEvent(this, &TgtDocumentDlg::chkEmailAfterCreateClick);
  gbEMailInfo = AddGroup(tsEMailInfo, "gbEMailInfo", 6, 30, 322, 300);
  Y = 16;
  for (auto [E, Name] : {std::pair{&edHost, "edHost"}, {&edPort, "edPort"}, {&edFrom, "edFrom"}, {&edTo, "edTo"},
                         {&edCC, "edCC"}, {&edBCC, "edBCC"}, {&edEmailSubject, "edEmailSubject"}}) {
    *E = AddEdit(gbEMailInfo, Name, 100, Y, 200);
    Y += 24;
  }
  memoBody = new TMemo(this);
  memoBody->SetName("memoBody");
  memoBody->SetParent(gbEMailInfo);
  memoBody->SetBounds(100, Y, 200, 40);
  chkAuthentication = AddCheck(gbEMailInfo, "chkAuthentication", 10, Y + 46, 150);
  chkAuthentication->OnClick = TNotifyEvent(this, &TgtDocumentDlg::chkAuthenticationClick);
  gbAuthentication = AddGroup(gbEMailInfo, "gbAuthentication", 10, Y + 66, 300, 60);
  edUserID = AddEdit(gbAuthentication, "edUserID", 90, 12, 200);
  edPassword = AddEdit(gbAuthentication, "edPassword", 90, 34, 200);
  edPassword->SetPasswordChar('*');

  OnShow = TNotifyEvent(this, &TgtDocumentDlg::FormShowEvent);
}

void TgtDocumentDlg::LoadCaptions() {
  struct TCaption {
    TControl* Control;
    const char* Text;
  };
  const TCaption Captions[] = {
      {gbPageRange, "Page Range"},
      {rbtnAll, "All Pages"},
      {rbtnPages, "Pages:"},
      {tsPreferences, "Preferences"},
      {tsContent, "Content"},
      {chkOpenAfterCreate, "Open After Create"},
      {chkEmailAfterCreate, "Email After Create"},
      {chkProcessAfterEachPage, "Process After Each Page"},
      {gbItemsToRender, "Items To Render"},
      {chkText, "Text"},
      {chkShape, "Shape"},
      {lblOutputImageFormat, "Output Image Format:"},
      {lblJPEGQuality, "JPEG Quality:"},
      {lblImagePixelFormat, "Image Pixel Format:"},
      {lblSourceDPI, "Source DPI:"},
      {chkImage, "Image"},
      {tsBackground, "Background"},
      {lblBackgroundImage, "Background Image:"},
      {lblBackgroundDisplayType, "Background Display Type:"},
      {btnSelectImage, "Select Image"},
      {btnClear, "Clear"},
      {btnImgPrvw, "Preview"},
      {lblBackgroundColor, "Background Color:"},
      {gbDocInfo, "Document Information"},
      {lblAuthor, "Author:"},
      {lblCreator, "Creator:"},
      {lblKeywords, "Keywords:"},
      {lblSubject, "Subject:"},
      {lblTitle, "Title:"},
      {btnOK, "OK"},
      {btnCancel, "Cancel"},
  };
  for (const auto& C : Captions) C.Control->SetText(C.Text);
  gbPreferences->SetText("");
  gbContentOptions->SetText("");
  gbImageSettings->SetText("");
  gbBackground->SetText("");
  AddPageLine("Preferences");
  AddPageLine("Content");
  AddPageLine("Background");
}

void TgtDocumentDlg::FormCreate() {
  LoadCaptions();
  for (Integer I = 0; I < 10; ++I) cbBackgroundDisplayType->GetItems()->AddObject(DisplayTypeNames[I], Ordinal(I));
  for (Integer I = 0; I < 7; ++I) cbOutputImageFormat->GetItems()->AddObject(OutputFormatNames[I], Ordinal(I));
  for (Integer I = 0; I < 8; ++I) cbImagePixelFormat->GetItems()->AddObject(PixelFormatNames[I], Ordinal(I));
  pcDocument->SetActivePage(tsPreferences);
  cbOutputImageFormatChange();
  lbDocumentDlg->SetItemIndex(0);
  lbDocumentDlgClick();
  tsEMailInfo->SetVisible(false);
  lblHalvarn->SetVisible(false);
}

void TgtDocumentDlg::OkClicked(TObject*) {
  // A value that does not convert reports itself and keeps the dialog open.
  try {
    btnOKClick();
  } catch (const Exception& E) {
    Application->ShowException(E);
  }
}

void TgtDocumentDlg::lbDocumentDlgClick(TObject*) {
  const Integer I = lbDocumentDlg->GetItemIndex();
  if (I < 0) return;
  // The line's text names its page (lines are deleted for some engines).
  const AnsiString Line = lbDocumentDlg->GetItems()->GetStrings(I);
  for (Integer P = 0; P < pcDocument->PageCount(); ++P)
    if (pcDocument->Pages(P)->GetCaption() == Line) pcDocument->SetActivePage(pcDocument->Pages(P));
  lblDialogCaption->SetCaption(Line);
}

void TgtDocumentDlg::DeletePageLine(const AnsiString& Line) {
  const Integer I = lbDocumentDlg->GetItems()->IndexOf(Line);
  if (I >= 0) lbDocumentDlg->GetItems()->Delete(I);
}

void TgtDocumentDlg::rbtnAllClick(TObject*) { edPages->SetText(""); }

void TgtDocumentDlg::rbtnPagesClick(TObject*) {
  if (edPages->CanFocus()) edPages->SetFocus();
}

void TgtDocumentDlg::edPagesChange(TObject*) {
  if (!edPages->GetText().empty()) rbtnPages->SetChecked(true);
  else if (rbtnAll->CanFocus()) {
    rbtnAll->SetFocus();
    rbtnAll->SetChecked(true);
  } else {
    rbtnAll->SetChecked(true);
  }
}

void TgtDocumentDlg::edPagesKeyPress(TObject*, char& Key) {
  if (!(Key == '\b' || Key == ',' || Key == '-' || IsDigit(Key))) Key = 0;
}

void TgtDocumentDlg::edKeyPress(TObject*, char& Key) {
  if (!(Key == '\b' || Key == '.' || IsDigit(Key))) Key = 0;
}

void TgtDocumentDlg::edSourceDPIKeyPress(TObject*, char& Key) {
  if (!(Key == '\b' || IsDigit(Key))) Key = 0;
}

void TgtDocumentDlg::cbOutputImageFormatChange(TObject*) {
  const Integer I = cbOutputImageFormat->GetItemIndex();
  const bool On = chkImage->GetChecked() && I >= 0 && cbOutputImageFormat->GetItems()->GetStrings(I) == "JPEG";
  lblJPEGQuality->SetEnabled(On);
  edJPEGQuality->SetEnabled(On);
  edJPEGQuality->SetColor(On ? clWindow : clInactiveBorder);
}

void TgtDocumentDlg::chkImageClick(TObject*) {
  SetControlsEnabled(gbImageSettings, chkImage->GetChecked());
  cbOutputImageFormatChange();
}

void TgtDocumentDlg::btnSelectImageClick(TObject*) {
  if (!OpenPictureDialog->Execute()) return;
  imgBackgroundImage->GetPicture()->LoadFromFile(OpenPictureDialog->GetFileName());
  for (TControl* C : {static_cast<TControl*>(btnImgPrvw), static_cast<TControl*>(btnClear),
                      static_cast<TControl*>(lblBackgroundDisplayType), static_cast<TControl*>(cbBackgroundDisplayType)})
    C->SetEnabled(true);
}

void TgtDocumentDlg::btnClearClick(TObject*) {
  imgBackgroundImage->GetPicture()->Assign(nullptr);
  for (TControl* C : {static_cast<TControl*>(btnImgPrvw), static_cast<TControl*>(btnClear),
                      static_cast<TControl*>(lblBackgroundDisplayType), static_cast<TControl*>(cbBackgroundDisplayType)})
    C->SetEnabled(false);
}

void TgtDocumentDlg::btnImgPrvwClick(TObject*) {
  std::unique_ptr<TgtImgPrvwDlg> P(new TgtImgPrvwDlg(this));
  TPicture* Pic = imgBackgroundImage->GetPicture();
  P->imgBgImgPrvw->GetPicture()->Assign(Pic);
  P->imgBgImgPrvw->SetBounds(0, 0, Pic->Width(), Pic->Height());
  P->SetClientWidth(Pic->Width() + 2 * P->pnlBgImgPrvw->GetBorderWidth());
  P->SetClientHeight(Pic->Height() + 2 * P->pnlBgImgPrvw->GetBorderWidth());
  ShowDialogForm(P.get());
}

void TgtDocumentDlg::chkEmailAfterCreateClick(TObject*) {
  SetControlsEnabled(gbEMailInfo, chkEmailAfterCreate->GetChecked());
  chkAuthenticationClick();
}

void TgtDocumentDlg::chkAuthenticationClick(TObject*) {
  SetControlsEnabled(gbAuthentication, chkAuthentication->GetChecked());
}

Integer TgtDocumentDlg::SelectedObject(TComboBox* Combo) {
  const Integer I = Combo->GetItemIndex();
  if (I < 0) return -1;
  return Integer(reinterpret_cast<intptr_t>(Combo->GetItems()->GetObjects(I)));
}

void TgtDocumentDlg::SelectObject(TComboBox* Combo, Integer Value) {
  Combo->SetItemIndex(Combo->GetItems()->IndexOfObject(Ordinal(Value)));
}

void TgtDocumentDlg::SelectText(TComboBox* Combo, const AnsiString& Text) {
  Combo->SetItemIndex(Combo->GetItems()->IndexOf(Text));
}

void TgtDocumentDlg::DeleteObject(TComboBox* Combo, Integer Value) {
  const Integer I = Combo->GetItems()->IndexOfObject(Ordinal(Value));
  if (I >= 0) Combo->GetItems()->Delete(I);
}

AnsiString TgtDocumentDlg::OutputFormatName(Integer Format) {
  return Format >= 0 && Format < 7 ? OutputFormatNames[Format] : "";
}

TColor TgtDocumentDlg::SwatchColor() const { return shpBackgroundColor->GetBrush()->GetColor(); }
void TgtDocumentDlg::SetSwatchColor(TColor Color) { shpBackgroundColor->GetBrush()->SetColor(Color); }
TPicture* TgtDocumentDlg::BackgroundPicture() const { return imgBackgroundImage->GetPicture(); }

void TgtDocumentDlg::SwatchDown(TObject*, TMouseButton, TShiftState, Integer X, Integer Y) { FSwatchDown = {X, Y}; }

void TgtDocumentDlg::SwatchUp(TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
  ColorDialog->SetColor(SwatchColor());
  // Only a click that did not move chooses a colour.
  if (Button == mbLeft && X == FSwatchDown.X && Y == FSwatchDown.Y && ColorDialog->Execute())
    SetSwatchColor(ColorDialog->GetColor());
}

// ---- the preview -------------------------------------------------------------------

TgtImgPrvwDlg::TgtImgPrvwDlg(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsSizeToolWin);
  SetBorderIcons({biSystemMenu});
  SetPosition(poScreenCenter);
  SetCaption("Preview");
  pnlBgImgPrvw = new TPanel(this);
  pnlBgImgPrvw->SetName("pnlBgImgPrvw");
  pnlBgImgPrvw->SetParent(this);
  pnlBgImgPrvw->SetAlign(alClient);
  pnlBgImgPrvw->SetBevelOuter(bvNone);
  pnlBgImgPrvw->SetBorderWidth(5);
  pnlBgImgPrvw->SetColor(clWhite);
  pnlBgImgPrvw->SetCaption("");
  imgBgImgPrvw = new TImage(this);
  imgBgImgPrvw->SetName("imgBgImgPrvw");
  imgBgImgPrvw->SetParent(pnlBgImgPrvw);
  imgBgImgPrvw->SetAlign(alClient);
  imgBgImgPrvw->SetCenter(true);
  imgBgImgPrvw->SetStretch(true);
}
