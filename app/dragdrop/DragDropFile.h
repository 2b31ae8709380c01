// DragDropFile.h — files in the drag-and-drop family: the clipboard formats
// in which the shell and other programs offer file names (the file-drop
// block, "FileName", "FileNameW", the name maps), the data formats that
// collect them, and TDropFileTarget, the drop target that owns one of each.
//
// A file data format takes its names from the first of the file-drop
// block, "Shell IDList Array", "FileNameW" and "FileName" that yields any.
// Names are taken as they come; whether they exist, or are documents, is
// the handler's matter. The blocks are read by the data-transfer layer's
// readers (platform/ole/DropFormats.h), which stop at the block's end.
//
// The batch list binds one like this (see the report of its unit):
//   DropFileTarget = new TDropFileTarget(Form);
//   DropFileTarget->SetDragTypes({dtCopy, dtMove, dtLink});
//   DropFileTarget->OnDrop = TDropTargetEvent(Form, &TMainForm::DropFileTargetDrop);
//   DropFileTarget->SetTarget(ListBox);
// and reads DropFileTarget->Files() inside OnDrop (it is cleared after).
#pragma once
#include "app/dragdrop/DragDropFormats.h"
#include "app/dragdrop/DropTarget.h"
#include "platform/rtl/Strings.h"

// The names of a file-drop block, wide names as the file system's bytes;
// false (and an empty list) for a block of 20 bytes or less, a list offset
// outside it, or no name.
bool ReadDropFiles(const void* Block, std::size_t Size, TStrings* List);
bool ReadNameList(const void* Names, std::size_t Size, bool Wide, TStrings* List);

// The file-drop block (predefined format 15).
class TFileClipboardFormat : public TCustomSimpleClipboardFormat {
  SX_CLASS(TFileClipboardFormat, TCustomSimpleClipboardFormat)
public:
  TFileClipboardFormat() : FFiles(std::make_unique<TStringList>()) {}
  CLIPFORMAT GetClipboardFormat() override;
  TStringList* Files() const { return FFiles.get(); }
  void Clear() override { FFiles->Clear(); }
  bool HasData() override { return FFiles->GetCount() > 0; }
  bool Assign(TCustomDataFormat* Source) override;
  bool AssignTo(TCustomDataFormat* Dest) override;

protected:
  bool ReadData(const void* Data, std::size_t Size) override;
  bool WriteData(void* Buffer, std::size_t Size) override;
  std::size_t GetSize() override;

private:
  std::unique_ptr<TStringList> FFiles;
};

class TFilenameClipboardFormat : public TCustomTextClipboardFormat {
  SX_CLASS(TFilenameClipboardFormat, TCustomTextClipboardFormat)
public:
  CLIPFORMAT GetClipboardFormat() override;
  bool Assign(TCustomDataFormat* Source) override;
  bool AssignTo(TCustomDataFormat* Dest) override;
};

class TFilenameWClipboardFormat : public TCustomWideTextClipboardFormat {
  SX_CLASS(TFilenameWClipboardFormat, TCustomWideTextClipboardFormat)
public:
  CLIPFORMAT GetClipboardFormat() override;
  bool Assign(TCustomDataFormat* Source) override;
  bool AssignTo(TCustomDataFormat* Dest) override;
};

class TFilenameMapClipboardFormat : public TCustomSimpleClipboardFormat {
  SX_CLASS(TFilenameMapClipboardFormat, TCustomSimpleClipboardFormat)
public:
  TFilenameMapClipboardFormat() : FNameMaps(std::make_unique<TStringList>()) {}
  CLIPFORMAT GetClipboardFormat() override;
  TStringList* NameMaps() const { return FNameMaps.get(); }
  void Clear() override { FNameMaps->Clear(); }
  bool HasData() override { return FNameMaps->GetCount() > 0; }

protected:
  virtual bool Wide() const { return false; }
  bool ReadData(const void* Data, std::size_t Size) override;
  bool WriteData(void* Buffer, std::size_t Size) override;
  std::size_t GetSize() override;

private:
  std::unique_ptr<TStringList> FNameMaps;
};

class TFilenameMapWClipboardFormat : public TFilenameMapClipboardFormat {
  SX_CLASS(TFilenameMapWClipboardFormat, TFilenameMapClipboardFormat)
public:
  CLIPFORMAT GetClipboardFormat() override;

protected:
  bool Wide() const override { return true; }
};

class TFileDataFormat : public TCustomDataFormat {
  SX_CLASS(TFileDataFormat, TCustomDataFormat)
public:
  explicit TFileDataFormat(TDragDropComponent* AOwner);
  TStringList* Files() const { return FFiles.get(); }
  void Clear() override { FFiles->Clear(); }
  bool Assign(TClipboardFormat* Source) override;
  bool AssignTo(TClipboardFormat* Dest) override;
  bool HasData() override { return FFiles->GetCount() > 0; }

private:
  void FilesChanging(TObject*) { Changing(); }
  std::unique_ptr<TStringList> FFiles;
};

class TFileMapDataFormat : public TCustomDataFormat {
  SX_CLASS(TFileMapDataFormat, TCustomDataFormat)
public:
  explicit TFileMapDataFormat(TDragDropComponent* AOwner);
  TStringList* NameMaps() const { return FNameMaps.get(); }
  void Clear() override { FNameMaps->Clear(); }
  bool Assign(TClipboardFormat* Source) override;
  bool AssignTo(TClipboardFormat* Dest) override;
  bool HasData() override { return FNameMaps->GetCount() > 0; }

private:
  void NameMapsChanging(TObject*) { Changing(); }
  std::unique_ptr<TStringList> FNameMaps;
};

// A drop target that accepts files: copy and link by default, moves
// reported back to the source as copies (OptimizedMove).
class TDropFileTarget : public TCustomDropMultiTarget {
  SX_CLASS(TDropFileTarget, TCustomDropMultiTarget)
public:
  explicit TDropFileTarget(TComponent* AOwner);
  ~TDropFileTarget() override;
  // The dropped names; valid during OnDrop.
  TStringList* Files() const { return FFileFormat->Files(); }
  TStringList* MappedNames() const { return FFileMapFormat->NameMaps(); }
  TFileDataFormat* FileFormat() const { return FFileFormat; }
  // The source's "Preferred DropEffect", copy when it states none.
  DWORD GetPreferredDropEffect() override;

private:
  TFileDataFormat* FFileFormat;
  TFileMapDataFormat* FFileMapFormat;
};

void RegisterDragDropFileUnit();
