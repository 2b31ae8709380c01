#include "app/dragdrop/DragDropFile.h"

#include <cstring>

#include "app/dragdrop/DragDropPIDL.h"
#include "platform/ole/DropFormats.h"
#include "platform/shell/ShlObj.h"
#include "platform/win/Clipboard.h"

namespace {

std::vector<std::string> ToVector(const TStrings* List) {
  std::vector<std::string> V;
  for (Integer I = 0; I < List->GetCount(); ++I) V.push_back((*List)[I]);
  return V;
}

void Fill(TStrings* List, const std::vector<std::string>& Names) {
  List->BeginUpdate();
  List->Clear();
  for (const std::string& N : Names) List->Add(N);
  List->EndUpdate();
}

// Copies a rendered block into a buffer of the size GetSize promised.
bool CopyOut(const std::string& Block, void* Buffer, std::size_t Size) {
  std::memcpy(Buffer, Block.data(), std::min(Size, Block.size()));
  return true;
}

}  // namespace

bool ReadDropFiles(const void* Block, std::size_t Size, TStrings* List) {
  Fill(List, ::ReadDropFiles(Block, Size));
  return List->GetCount() > 0;
}

bool ReadNameList(const void* Names, std::size_t Size, bool Wide, TStrings* List) {
  Fill(List, ::ReadNameList(Names, Size, Wide));
  return List->GetCount() > 0;
}

// --- the file-drop block -------------------------------------------------------------------------

CLIPFORMAT TFileClipboardFormat::GetClipboardFormat() { return CLIPFORMAT(CF_HDROP); }

bool TFileClipboardFormat::ReadData(const void* Data, std::size_t Size) {
  if (Size <= DropFilesHeaderSize) return false;
  return ::ReadDropFiles(Data, Size, FFiles.get());
}

std::size_t TFileClipboardFormat::GetSize() { return MakeDropFiles(ToVector(FFiles.get())).size(); }

bool TFileClipboardFormat::WriteData(void* Buffer, std::size_t Size) {
  if (Size <= DropFilesHeaderSize) return false;
  return CopyOut(MakeDropFiles(ToVector(FFiles.get())), Buffer, Size);
}

bool TFileClipboardFormat::Assign(TCustomDataFormat* Source) {
  if (auto* F = dynamic_cast<TFileDataFormat*>(Source)) {
    FFiles->Assign(F->Files());
    return true;
  }
  return TCustomSimpleClipboardFormat::Assign(Source);
}

bool TFileClipboardFormat::AssignTo(TCustomDataFormat* Dest) {
  if (auto* F = dynamic_cast<TFileDataFormat*>(Dest)) {
    F->Files()->Assign(FFiles.get());
    return true;
  }
  return TCustomSimpleClipboardFormat::AssignTo(Dest);
}

// --- single names --------------------------------------------------------------------------------

CLIPFORMAT TFilenameClipboardFormat::GetClipboardFormat() { return ClipboardFormatOf(CFSTR_FILENAMEA); }

bool TFilenameClipboardFormat::Assign(TCustomDataFormat* Source) {
  auto* F = dynamic_cast<TFileDataFormat*>(Source);
  if (!F) return TCustomTextClipboardFormat::Assign(Source);
  if (F->Files()->GetCount() == 0) return false;
  SetText((*F->Files())[0]);
  return true;
}

bool TFilenameClipboardFormat::AssignTo(TCustomDataFormat* Dest) {
  auto* F = dynamic_cast<TFileDataFormat*>(Dest);
  if (!F) return TCustomTextClipboardFormat::AssignTo(Dest);
  F->Files()->Add(Text());
  return true;
}

CLIPFORMAT TFilenameWClipboardFormat::GetClipboardFormat() { return ClipboardFormatOf(CFSTR_FILENAMEW); }

bool TFilenameWClipboardFormat::Assign(TCustomDataFormat* Source) {
  auto* F = dynamic_cast<TFileDataFormat*>(Source);
  if (!F) return TCustomWideTextClipboardFormat::Assign(Source);
  if (F->Files()->GetCount() == 0) return false;
  WideText = PathToWide((*F->Files())[0]);
  return true;
}

bool TFilenameWClipboardFormat::AssignTo(TCustomDataFormat* Dest) {
  auto* F = dynamic_cast<TFileDataFormat*>(Dest);
  if (!F) return TCustomWideTextClipboardFormat::AssignTo(Dest);
  // The name ends at its first zero (the medium's terminator stays in the
  // text as read); the path keeps the file system's bytes.
  const std::u16string_view W(WideText.data(), WideText.size());
  const std::u16string_view Name = W.substr(0, W.find(char16_t(0)));
  if (Name.empty()) return false;
  F->Files()->Add(WideToPath(Name));
  return true;
}

// --- name maps -----------------------------------------------------------------------------------

CLIPFORMAT TFilenameMapClipboardFormat::GetClipboardFormat() { return ClipboardFormatOf(CFSTR_FILENAMEMAPA); }
CLIPFORMAT TFilenameMapWClipboardFormat::GetClipboardFormat() { return ClipboardFormatOf(CFSTR_FILENAMEMAPW); }

bool TFilenameMapClipboardFormat::ReadData(const void* Data, std::size_t Size) {
  return ::ReadNameList(Data, Size, Wide(), FNameMaps.get());
}

std::size_t TFilenameMapClipboardFormat::GetSize() { return WriteNameList(ToVector(FNameMaps.get()), Wide()).size(); }

bool TFilenameMapClipboardFormat::WriteData(void* Buffer, std::size_t Size) {
  return CopyOut(WriteNameList(ToVector(FNameMaps.get()), Wide()), Buffer, Size) && FNameMaps->GetCount() > 0;
}

// --- data formats --------------------------------------------------------------------------------

TFileDataFormat::TFileDataFormat(TDragDropComponent* AOwner)
    : TCustomDataFormat(AOwner, StaticClass()), FFiles(std::make_unique<TStringList>()) {
  FFiles->OnChanging = TNotifyEvent(this, &TFileDataFormat::FilesChanging);
}

bool TFileDataFormat::Assign(TClipboardFormat* Source) {
  if (auto* F = dynamic_cast<TFileClipboardFormat*>(Source)) {
    FFiles->Assign(F->Files());
    return true;
  }
  if (auto* P = dynamic_cast<TPIDLClipboardFormat*>(Source)) {
    FFiles->Assign(P->Filenames());
    return true;
  }
  return TCustomDataFormat::Assign(Source);
}

bool TFileDataFormat::AssignTo(TClipboardFormat* Dest) {
  if (auto* F = dynamic_cast<TFileClipboardFormat*>(Dest)) {
    F->Files()->Assign(FFiles.get());
    return true;
  }
  if (auto* P = dynamic_cast<TPIDLClipboardFormat*>(Dest)) {
    P->Filenames()->Assign(FFiles.get());
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}

TFileMapDataFormat::TFileMapDataFormat(TDragDropComponent* AOwner)
    : TCustomDataFormat(AOwner, StaticClass()), FNameMaps(std::make_unique<TStringList>()) {
  FNameMaps->OnChanging = TNotifyEvent(this, &TFileMapDataFormat::NameMapsChanging);
}

bool TFileMapDataFormat::Assign(TClipboardFormat* Source) {
  if (auto* F = dynamic_cast<TFilenameMapClipboardFormat*>(Source)) {
    FNameMaps->Assign(F->NameMaps());
    return true;
  }
  return TCustomDataFormat::Assign(Source);
}

bool TFileMapDataFormat::AssignTo(TClipboardFormat* Dest) {
  if (auto* F = dynamic_cast<TFilenameMapClipboardFormat*>(Dest)) {
    F->NameMaps()->Assign(FNameMaps.get());
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}

// --- the file drop target ------------------------------------------------------------------------

TDropFileTarget::TDropFileTarget(TComponent* AOwner) : TCustomDropMultiTarget(AOwner) {
  FFileFormat = new TFileDataFormat(this);
  FFileMapFormat = new TFileMapDataFormat(this);
  SetOptimizedMove(true);
}

TDropFileTarget::~TDropFileTarget() {
  delete FFileFormat;
  delete FFileMapFormat;
}

DWORD TDropFileTarget::GetPreferredDropEffect() {
  const DWORD E = TCustomDropMultiTarget::GetPreferredDropEffect();
  return E ? E : DROPEFFECT_COPY;
}

void RegisterDragDropFileUnit() {
  AddDataFormatClass(TFileDataFormat::StaticClass());
  AddDataFormatClass(TFileMapDataFormat::StaticClass());
  const TConversionScopes Both{scSource, scTarget};
  const TDataDirections Read{ddRead};
  MapDataFormat(TFileDataFormat::StaticClass(), TFileClipboardFormat::StaticClass(), 0, Both, Read);
  MapDataFormat(TFileDataFormat::StaticClass(), TPIDLClipboardFormat::StaticClass(), 1, Both, Read);
  MapDataFormat(TFileDataFormat::StaticClass(), TFilenameClipboardFormat::StaticClass(), 2, Both, Read);
  MapDataFormat(TFileDataFormat::StaticClass(), TFilenameWClipboardFormat::StaticClass(), 2, Both, Read);
  MapDataFormat(TFileMapDataFormat::StaticClass(), TFilenameMapClipboardFormat::StaticClass(), 0, Both, Read);
  MapDataFormat(TFileMapDataFormat::StaticClass(), TFilenameMapWClipboardFormat::StaticClass(), 0, Both, Read);
}
