// HistoryEditor.h — TDCHistoryEditor, a combo box that remembers what was
// typed into it. Its drop-down list is the history, newest first, kept as
// one string value (one item per line) below the library's registry root,
// so it survives between dialogs and sessions.
//
// Where the history lives: "EditHistory\" + RegName, or, without RegName,
// + the owner's name + the control's name ("EditHistory\SrchDialogSearText"),
// or "EditHistory\Default" when both are empty. Two editors with the same
// path share one history.
#pragma once
#include "platform/forms/ListCtrls.h"

class TDCHistoryEditor : public TComboBox {
  SX_CLASS(TDCHistoryEditor, TComboBox)
public:
  explicit TDCHistoryEditor(TComponent* AOwner) : TComboBox(AOwner) {}
  ~TDCHistoryEditor() override;
  static void Published(TPublished<TDCHistoryEditor>& P);

  AnsiString GetRegName() const { return FRegName; }
  void SetRegName(const AnsiString& Value) { FRegName = Value; }
  AnsiString GetRegPath() const;

  // Moves the current text to the top of the list (an item equal without
  // regard to case goes); an empty text changes nothing.
  virtual void AddToHistory();
  // Stores the list; nothing once destruction has saved it, or without a
  // window (the list lives in the window).
  virtual void SaveHistory();
  // The stored list replaces the items; nothing stored empties them.
  virtual void LoadHistory();

protected:
  void Loaded() override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void KeyPress(char& Key) override;

private:
  AnsiString FRegName;
  bool FDestroying = false;
};

// Registers TDCHistoryEditor for form descriptions.
void RegisterHistoryEditorClass();
