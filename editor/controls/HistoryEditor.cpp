#include "editor/controls/HistoryEditor.h"

#include "editor/base/RegStorage.h"
#include "platform/forms/ControlMessages.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/VirtualKeys.h"

TDCHistoryEditor::~TDCHistoryEditor() {
  // The window goes in the base destructors, where this class's overrides
  // no longer run: save now, while the window still holds the items.
  SaveHistory();
  FDestroying = true;
}

void TDCHistoryEditor::Published(TPublished<TDCHistoryEditor>& P) {
  P.Property("RegName", &TDCHistoryEditor::GetRegName, &TDCHistoryEditor::SetRegName);
}

AnsiString TDCHistoryEditor::GetRegPath() const {
  AnsiString Tail = FRegName;
  if (Tail.empty()) {
    const TComponent* O = Owner();
    Tail = (O ? O->GetName() : AnsiString()) + GetName();
  }
  if (Tail.empty()) Tail = "Default";
  return "EditHistory\\" + Tail;
}

void TDCHistoryEditor::AddToHistory() {
  const AnsiString Text = GetText();
  TStrings* Items = GetItems();
  for (Integer I = 0; I < Items->GetCount(); ++I)
    if (SameText(Items->GetStrings(I), Text)) {
      Items->Delete(I);
      break;
    }
  if (!Text.empty()) Items->Insert(0, Text);
  // Deleting the selected item clears the edit part.
  SetText(Text);
}

void TDCHistoryEditor::SaveHistory() {
  if (FDestroying || !HandleAllocated()) return;
  WriteToRegistry(GetRegPath(), Variant(GetItems()->GetText()));
}

void TDCHistoryEditor::LoadHistory() {
  const AnsiString Text = ReadFromRegistry(GetRegPath(), Variant(AnsiString())).AsString();
  const AnsiString Kept = GetText();
  GetItems()->SetText(Text);
  if (GetStyle() != csDropDownList) SetText(Kept);
}

void TDCHistoryEditor::Loaded() {
  TComboBox::Loaded();
  LoadHistory();
}

void TDCHistoryEditor::CreateWnd() {
  TComboBox::CreateWnd();
  LoadHistory();
}

void TDCHistoryEditor::DestroyWnd() {
  SaveHistory();
  TComboBox::DestroyWnd();
}

void TDCHistoryEditor::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_EXIT: AddToHistory(); break;
    case CM_WANTSPECIALKEY:
      if (Message.WParam == VK_RETURN) AddToHistory();
      break;
    case WM_DESTROY: SaveHistory(); break;
    default: break;
  }
  TComboBox::Dispatch(Message);
}

void TDCHistoryEditor::KeyPress(char& Key) {
  if (Key == '\r') {
    if (GetDroppedDown()) {
      SetDroppedDown(false);
      Key = 0;
      return;
    }
    AddToHistory();
  } else if (Key == 27 && !GetDroppedDown()) {
    Key = 0;
    return;
  }
  TComboBox::KeyPress(Key);
}

void RegisterHistoryEditorClass() { RegisterClasses({TDCHistoryEditor::StaticClass()}); }
