// FileListView.h — the file dialogs' list: a custom-drawn view over a
// TFileListModel that paints only the rows in sight, so a folder of any
// size shows at once. Columns Name, Size and Modified under a header whose
// click sorts (again: the other way round); selection by mouse and keys as
// in a list view (Ctrl toggles, Shift extends; one item without
// MultiSelect). Borrows the model; the owner keeps it alive.
#pragma once
#include <vector>
#include "platform/forms/Controls.h"
#include "platform/forms/FileListModel.h"

using TFileItemEvent = TEvent<void(TObject* Sender, Integer Index)>;

class TFileListView : public TCustomControl {
  SX_CLASS(TFileListView, TCustomControl)
public:
  explicit TFileListView(TComponent* AOwner);

  // The model changed (read again, filtered, sorted): selection and scroll
  // start over.
  void SetModel(TFileListModel* Model);
  void ModelChanged();
  TFileListModel* Model() const { return FModel; }
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value) { FMultiSelect = Value; }

  bool IsSelected(Integer Index) const;
  std::vector<Integer> Selection() const;
  // Selects Index alone (-1: nothing) and brings it into sight.
  void SelectOnly(Integer Index);
  Integer ItemFocused() const { return FFocus; }
  Integer TopIndex() const { return FTop; }
  Integer RowHeight() const { return FRowHeight; }
  Integer HeaderHeight() const { return FRowHeight + 4; }
  // The item under a client point, or -1.
  Integer ItemAt(Integer X, Integer Y) const;
  // The client rectangle of an item's row (it may lie outside the view).
  TRect ItemRect(Integer Index) const;
  // The header's column at a client x: 0 Name, 1 Size, 2 Modified.
  Integer ColumnAt(Integer X) const;

  TNotifyEvent OnSelectionChange;
  TFileItemEvent OnOpenItem;       // double click on an item
  TNotifyEvent OnParentFolder;     // Backspace
  TNotifyEvent OnToggleHidden;     // Ctrl+H
  TNotifyEvent OnSortChange;       // a header click re-sorted the model

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Resize() override;

private:
  Integer VisibleRows() const;
  void ScrollTo(Integer Top);
  void MakeVisible(Integer Index);
  void UpdateScrollBar();
  void MoveFocus(Integer Index, TShiftState Shift);
  void SelectRange(Integer From, Integer To, bool Keep);
  void Changed();
  TRect ColumnRect(Integer Column) const;

  TFileListModel* FModel = nullptr;
  std::vector<bool> FSelected;
  Integer FFocus = -1;
  Integer FAnchor = -1;
  Integer FTop = 0;
  Integer FRowHeight = 17;
  bool FMultiSelect = false;
};

// "12.3 KB"-style sizes of the list.
AnsiString FormatFileSize(std::int64_t Bytes);
