#include "app/Options.h"

#include "app/AppSettings.h"
#include "app/Lbox.h"
#include "app/public_unit.h"
#include "app/start.h"
#include "app/desktop/HotKeyManager.h"
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBarCategories.h"
#include "controls/tabs/cxPC.h"
#include "platform/forms/Application.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/HotKey.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Canvas.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/FileUtils.h"
#include "platform/win/Win.h"

TOptionsDlg::TOptionsDlg(TComponent* AOwner) : TForm(AOwner), FMain(dynamic_cast<TMainForm*>(AOwner)) {
  InitializeForm();
}

void TOptionsDlg::Published(TPublished<TOptionsDlg>& P) {
  using F = TOptionsDlg;
#define SX_FIELD(Name) P.Property(#Name, &F::Name, &F::Name).Stored(false)
  SX_FIELD(cxPageControl); SX_FIELD(cxTabSheet1); SX_FIELD(cxTabSheet2); SX_FIELD(cxTabSheet3);
  SX_FIELD(cbMinimized); SX_FIELD(Label1); SX_FIELD(Label2); SX_FIELD(ListBox); SX_FIELD(AddBtn);
  SX_FIELD(EditBtn); SX_FIELD(CopyBtn); SX_FIELD(SetAsDefBtn); SX_FIELD(DeleteBtn); SX_FIELD(Label5);
  SX_FIELD(HotKey1); SX_FIELD(HotKey2); SX_FIELD(HotKey3); SX_FIELD(HotKey4); SX_FIELD(Edit_Width);
  SX_FIELD(Edit_Height); SX_FIELD(udWidth); SX_FIELD(udHeight); SX_FIELD(cbSetupDialog);
  SX_FIELD(cbOpenAfterExport); SX_FIELD(cbEncrypt); SX_FIELD(RadioButton_AskForPass);
  SX_FIELD(RadioButton_AlwaysUseThisPass); SX_FIELD(Edit_Password); SX_FIELD(ListBox1); SX_FIELD(AssignHKBtn);
  SX_FIELD(cbDefaultExportFormat); SX_FIELD(OKBtn); SX_FIELD(CancelBtn);
#undef SX_FIELD
#define SX_HANDLER(Name) P.Method(#Name, &F::Name)
  SX_HANDLER(FormCreate); SX_HANDLER(OKBtnClick); SX_HANDLER(ListBox1Change); SX_HANDLER(AssignHKBtnClick);
  SX_HANDLER(SetAsDefBtnClick); SX_HANDLER(ListBoxDrawItem); SX_HANDLER(cbEncryptClick);
  SX_HANDLER(RadioButton_AlwaysUseThisPassClick); SX_HANDLER(ListBoxDblClick); SX_HANDLER(AddBtnClick);
  SX_HANDLER(CopyBtnClick); SX_HANDLER(DeleteBtnClick);
#undef SX_HANDLER
}

namespace {
// The convert item of the main window at a format's index (0 HTML … 9 Excel).
TdxBarItem* ConvertItem(TMainForm* Main, Integer Index) {
  if (!Main || !Main->dxBarGroup_Convert || Index < 0 || Index >= Main->dxBarGroup_Convert->GetCount())
    return nullptr;
  return dynamic_cast<TdxBarItem*>(Main->dxBarGroup_Convert->GetItem(Index));
}

// A global hot key in the text form start-up reads it with; '' for none.
AnsiString GlobalHotKeyTextOf(TShortCut Value) { return (Value & 0xFF) ? HotKeyToText(Value, true) : AnsiString(); }
}  // namespace

TOptionsDlg::TStoredKey* TOptionsDlg::StoredKeyOf(TObject* Control) {
  if (Control == HotKey1) return &FIndentKey;
  if (Control == HotKey2) return &FConvertKey;
  if (Control == HotKey3) return &FActivationKey;
  if (Control == HotKey4) return &FFormatKey;
  return nullptr;
}

bool TOptionsDlg::Edited(const THotKey* Control, const TStoredKey& Stored) {
  return Stored.Typed || Control->GetHotKey() != Stored.Shown;
}

void TOptionsDlg::HotKeyChange(TObject* Sender) {
  if (TStoredKey* Stored = StoredKeyOf(Sender)) Stored->Typed = true;
}

void TOptionsDlg::ShowGlobalHotKey(THotKey* Control, TStoredKey& Stored, const AnsiString& Text) {
  const Cardinal Value = TextToHotKey(Text, true);
  // With the Windows key the value is wider than a shortcut: the control
  // shows none rather than the key without it.
  Stored = {Text, Value > 0xFFFF ? TShortCut(0) : TShortCut(Value), false};
  Control->SetHotKey(Stored.Shown);
  if (!Text.empty() && !Stored.Shown) {
    const AnsiString Why = Value ? AnsiString("this field cannot show the Windows key") : AnsiString(HotKeyNotAvailableText);
    Control->SetHint("\"" + Text + "\" is kept until another key is typed here: " + Why);
    Control->SetShowHint(true);
  }
}

AnsiString TOptionsDlg::GlobalHotKeyText(const THotKey* Control, const TStoredKey& Stored) const {
  return Edited(Control, Stored) ? GlobalHotKeyTextOf(Control->GetHotKey()) : Stored.Text;
}

void TOptionsDlg::FormCreate(TObject*) {
  cxTabSheet3->SetTabVisible(IsRunningUnderDebugger());
  cxPageControl->SetActivePageNo(0);
  for (TControl* C : {static_cast<TControl*>(HotKey1), static_cast<TControl*>(Label5),
                      static_cast<TControl*>(Label1), static_cast<TControl*>(Label2),
                      static_cast<TControl*>(ListBox), static_cast<TControl*>(AddBtn),
                      static_cast<TControl*>(EditBtn), static_cast<TControl*>(CopyBtn),
                      static_cast<TControl*>(SetAsDefBtn), static_cast<TControl*>(DeleteBtn)})
    C->SetVisible(false);
  for (THotKey* Key : {HotKey1, HotKey2, HotKey3, HotKey4}) Key->OnChange = TNotifyEvent(this, &TOptionsDlg::HotKeyChange);
  for (Integer I = 0; FMain && I < FMain->dxBarGroup_Convert->GetCount(); ++I)
    if (TdxBarItem* Item = ConvertItem(FMain, I)) FStoredShortCuts[I] = ReadConvertShortCutText(Item->GetName());
  ReadConfigList(*ListBox->GetItems());
  // The controls show what start-up and the conversions will use: the
  // same reader, the same defaults.
  const TGeneralOptions O = ReadGeneralOptions();
  cbMinimized->SetChecked(O.StartMinimized);
  ShowGlobalHotKey(HotKey1, FIndentKey, O.IndentHotKey);
  ShowGlobalHotKey(HotKey2, FConvertKey, O.ConvertHotKey);
  ShowGlobalHotKey(HotKey3, FActivationKey, O.ActivationHotKey);
  udWidth->SetPosition(SmallInt(O.PdfPageWidth));
  udHeight->SetPosition(SmallInt(O.PdfPageHeight));
  Edit_Width->SetText(IntToStr(O.PdfPageWidth));
  Edit_Height->SetText(IntToStr(O.PdfPageHeight));
  cbSetupDialog->SetChecked(O.ShowSetupDialog);
  cbOpenAfterExport->SetChecked(O.OpenAfterExport);
  if (O.DefaultExportFormat >= 0 && O.DefaultExportFormat < ExportFormatCount)
    cbDefaultExportFormat->SetItemIndex(O.DefaultExportFormat);
}

void TOptionsDlg::OKBtnClick(TObject*) {
  if (ApplyAndSave()) SetModalResult(mrOk);
}

bool TOptionsDlg::ApplyAndSave() {
  auto Refuse = [this](const AnsiString& Text) {
    Application->MessageBox(Text, "Options", MB_OK | MB_ICONWARNING);
    cxPageControl->SetActivePageNo(1);
    return false;
  };
  TGeneralOptions O = ReadGeneralOptions();
  struct TSize { TEdit* Edit; Integer* Value; const char* What; };
  for (const TSize& S : {TSize{Edit_Width, &O.PdfPageWidth, "PDF Page Width"},
                         TSize{Edit_Height, &O.PdfPageHeight, "PDF Page Height"}}) {
    if (!ParsePdfPageSize(S.Edit->GetText(), *S.Value))
      return Refuse(AnsiString(S.What) + " must be a whole number from " + IntToStr(MinPdfPageSize) + " to " +
                    IntToStr(MaxPdfPageSize) + ".");
  }
  struct TKey { THotKey* Control; const TStoredKey* Stored; AnsiString* Text; const char* What; };
  for (const TKey& K : {TKey{HotKey3, &FActivationKey, &O.ActivationHotKey, "Activation HotKey"},
                        TKey{HotKey2, &FConvertKey, &O.ConvertHotKey, "Convert Clipboard HotKey"},
                        TKey{HotKey1, &FIndentKey, &O.IndentHotKey, "Indent Clipboard HotKey"}}) {
    *K.Text = GlobalHotKeyText(K.Control, *K.Stored);
    // A typed key whose name reads back as another key, or as none (keys
    // without a name, names two keys share), would be registered wrongly
    // at the next start.
    const TShortCut Typed = K.Control->GetHotKey();
    if (Edited(K.Control, *K.Stored) && TextToHotKey(*K.Text, true) != ((Typed & 0xFF) ? Typed : 0u))
      return Refuse("The key typed for " + AnsiString(K.What) +
                    " cannot be kept in the settings: its name stands for another key. Please type another key.");
  }
  O.StartMinimized = cbMinimized->GetChecked();
  O.ShowSetupDialog = cbSetupDialog->GetChecked();
  O.OpenAfterExport = cbOpenAfterExport->GetChecked();
  if (cbDefaultExportFormat->GetItemIndex() >= 0) O.DefaultExportFormat = cbDefaultExportFormat->GetItemIndex();
  try {
    WriteConfigList(*ListBox->GetItems());
    WriteGeneralOptions(O);
    TStringList Texts;
    for (Integer I = 0; FMain && I < FMain->dxBarGroup_Convert->GetCount(); ++I) {
      TdxBarItem* Item = ConvertItem(FMain, I);
      if (!Item || Item->GetName().empty()) continue;
      const auto Pending = FAssigned.find(I);
      const AnsiString& Stored = FStoredShortCuts[I];
      AnsiString Text;
      if (Pending != FAssigned.end()) Text = ShortCutToText(Pending->second);
      // The stored text while it still gives the item's shortcut: its own
      // spelling, and a text naming no key stays rather than turning ''.
      else if (!Stored.empty() && TextToShortCut(Stored) == Item->GetShortCut()) Text = Stored;
      else Text = ShortCutToText(Item->GetShortCut());
      Texts.Add(Item->GetName() + "=" + Text);
    }
    WriteConvertShortCutTexts(Texts);
  } catch (const Exception& E) {
    Application->ShowException(E);
    return false;
  }
  // Only now that everything is stored do the keys change: the global hot
  // keys (activation, indent, convert; a refused one keeps the old) and
  // the assigned shortcuts.
  if (FMain && FMain->HotKeyManager) {
    FMain->FActivationHotKeyId = FMain->ReplaceGlobalHotKey(FMain->FActivationHotKeyId, TextToHotKey(O.ActivationHotKey, true));
    FMain->FIndentHotKeyId = FMain->ReplaceGlobalHotKey(FMain->FIndentHotKeyId, TextToHotKey(O.IndentHotKey, true));
    FMain->FConvertHotKeyId = FMain->ReplaceGlobalHotKey(FMain->FConvertHotKeyId, TextToHotKey(O.ConvertHotKey, true));
  }
  for (const auto& [Index, Key] : FAssigned)
    if (TdxBarItem* Item = ConvertItem(FMain, Index)) Item->SetShortCut(Key);
  FAssigned.clear();
  return true;
}

void TOptionsDlg::ListBox1Change(TObject*) {
  const Integer I = ListBox1->GetItemIndex();
  TdxBarItem* Item = ConvertItem(FMain, I);
  if (!Item) return;
  const auto Pending = FAssigned.find(I);
  FFormatKey = {"", Pending != FAssigned.end() ? Pending->second : Item->GetShortCut(), false};
  HotKey4->SetHotKey(FFormatKey.Shown);
}

void TOptionsDlg::AssignHKBtnClick(TObject*) {
  const Integer I = ListBox1->GetItemIndex();
  if (!ConvertItem(FMain, I)) return;
  // Assign with the key as shown changes nothing: a stored text the
  // control shows as none is not cleared by it.
  if (!Edited(HotKey4, FFormatKey)) return;
  const TShortCut Key = HotKey4->GetHotKey();
  if (TextToShortCut(ShortCutToText(Key)) != Key) {
    Application->MessageBox("This key cannot be kept in the settings: it has no name of its own. Please type another key.",
                            "Options", MB_OK | MB_ICONWARNING);
    return;
  }
  FAssigned[I] = Key;
  FFormatKey = {"", Key, false};
}

void TOptionsDlg::SetAsDefBtnClick(TObject*) {
  const Integer I = ListBox->GetItemIndex();
  if (I < 0) return;
  const AnsiString Selected = ListBox->GetItems()->GetStrings(I);
  // Also when no default was stored yet (it reads as "standard"), so any
  // entry, the first included, can become the default.
  if (!SameText(Selected, ReadDefaultConfig())) {
    TGeneralOptions O = ReadGeneralOptions();
    O.DefaultConfig = Selected;
    WriteGeneralOptions(O);
  }
  ListBox->Invalidate();
}

void TOptionsDlg::ListBoxDrawItem(TWinControl*, Integer Index, TRect Rect, TOwnerDrawState) {
  TCanvas* C = ListBox->Canvas();
  C->Font()->Assign(ListBox->GetFont());
  C->Brush()->SetColor(clWindow);
  const AnsiString Text = ListBox->GetItems()->GetStrings(Index);
  if (SameText(Text, ReadDefaultConfig())) {
    C->Font()->SetColor(clRed);
    C->Font()->SetStyle({fsBold});
  } else {
    C->Font()->SetColor(clWindowText);
  }
  C->FillRect(Rect);
  C->TextOut(Rect.Left, Rect.Top, Text);
}

void TOptionsDlg::cbEncryptClick(TObject*) {
  const bool On = cbEncrypt->GetChecked();
  RadioButton_AskForPass->SetEnabled(On);
  RadioButton_AlwaysUseThisPass->SetEnabled(On);
  Edit_Password->SetEnabled(RadioButton_AlwaysUseThisPass->GetChecked() && RadioButton_AlwaysUseThisPass->GetEnabled());
}

void TOptionsDlg::RadioButton_AlwaysUseThisPassClick(TObject*) {
  Edit_Password->SetEnabled(RadioButton_AlwaysUseThisPass->GetChecked());
}

void TOptionsDlg::ListBoxDblClick(TObject*) {}
void TOptionsDlg::AddBtnClick(TObject*) {}
void TOptionsDlg::CopyBtnClick(TObject*) {}
void TOptionsDlg::DeleteBtnClick(TObject*) {}
