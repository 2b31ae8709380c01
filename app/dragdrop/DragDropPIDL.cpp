#include "app/dragdrop/DragDropPIDL.h"

#include <cstring>

#include "app/dragdrop/DragDropFile.h"
#include "platform/ole/DropFormats.h"
#include "platform/rtl/ByteOrder.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"

std::size_t PIDLSize(LPCITEMIDLIST Pidl) { return Pidl ? ILGetSize(Pidl) : 0; }

std::string PIDLToString(LPCITEMIDLIST Pidl) {
  return std::string(reinterpret_cast<const char*>(Pidl), PIDLSize(Pidl));
}

std::string JoinPIDLs(const std::string& Parent, const std::string& Child) {
  std::string Out;
  if (Parent.size() > 2) Out.assign(Parent, 0, Parent.size() - 2);
  return Out + Child;
}

LPITEMIDLIST FilenameToPIDL(const AnsiString& Filename) {
  IShellFolder* Desktop = nullptr;
  if (!Succeeded(SHGetDesktopFolder(&Desktop)) || !Desktop) return nullptr;
  TIntfPtr<IShellFolder> Hold;
  Hold.Attach(Desktop);
  const WideString W = PathToWide(Filename);
  LPITEMIDLIST Pidl = nullptr;
  if (!Succeeded(Desktop->ParseDisplayName(nullptr, nullptr, W.c_str(), nullptr, &Pidl, nullptr))) return nullptr;
  return Pidl;
}

namespace {

// The items of a list (each with its size field), bounded by its bytes.
std::vector<std::string> ItemsOf(const std::string& List) {
  std::vector<std::string> Items;
  std::size_t At = 0;
  while (At + 2 <= List.size()) {
    const std::size_t Cb = ByteOrder::ReadLE16(reinterpret_cast<const Byte*>(List.data()) + At);
    if (Cb < 2 || Cb > List.size() - At) break;
    Items.push_back(List.substr(At, Cb));
    At += Cb;
  }
  return Items;
}

AnsiString FolderOf(const AnsiString& Name) {
  const std::size_t Slash = Name.rfind(PathDelim);
  if (Slash == AnsiString::npos) return AnsiString();
  // The root keeps its delimiter; other folders are parsed without it.
  return Slash == 0 ? Name.substr(0, 1) : Name.substr(0, Slash);
}

}  // namespace

std::string CommonParentPIDL(const TStrings* Names) {
  if (!Names || Names->GetCount() == 0) return std::string();
  IShellFolder* Desktop = nullptr;
  if (!Succeeded(SHGetDesktopFolder(&Desktop)) || !Desktop) throw Exception("Failed to get interface to Desktop");
  TIntfPtr<IShellFolder> Hold;
  Hold.Attach(Desktop);
  std::vector<std::string> Common;
  for (Integer I = 0; I < Names->GetCount(); ++I) {
    const AnsiString Folder = FolderOf((*Names)[I]);
    const WideString W = PathToWide(Folder);
    LPITEMIDLIST Pidl = nullptr;
    if (Folder.empty() || !Succeeded(Desktop->ParseDisplayName(nullptr, nullptr, W.c_str(), nullptr, &Pidl, nullptr)) ||
        !Pidl)
      throw Exception(Format("Invalid filename: %s", {Folder.empty() ? (*Names)[I] : Folder}));
    const std::vector<std::string> Items = ItemsOf(PIDLToString(Pidl));
    CoTaskMemFree(Pidl);
    if (I == 0) {
      Common = Items;
      continue;
    }
    std::size_t Same = 0;
    while (Same < Common.size() && Same < Items.size() && Common[Same] == Items[Same]) ++Same;
    Common.resize(Same);
    if (Common.empty()) break;
  }
  std::string Out;
  for (const std::string& Item : Common) Out += Item;
  return Out + std::string(2, '\0');
}

bool FilenamesToPIDLs(const TStrings* Names, TStrings* List) {
  List->Clear();
  if (!Names || Names->GetCount() == 0) return false;
  const std::string Parent = CommonParentPIDL(Names);
  if (Parent.empty()) return false;
  List->Add(Parent);
  const std::size_t Skip = Parent.size() - 2;
  for (Integer I = 0; I < Names->GetCount(); ++I) {
    LPITEMIDLIST Pidl = FilenameToPIDL((*Names)[I]);
    if (!Pidl) {
      List->Clear();
      return false;
    }
    const std::string Abs = PIDLToString(Pidl);
    CoTaskMemFree(Pidl);
    if (Abs.size() < Skip + 2 || Abs.compare(0, Skip, Parent, 0, Skip) != 0) {
      List->Clear();
      return false;
    }
    List->Add(Abs.substr(Skip));
  }
  return true;
}

bool ReadIDListArray(const void* Block, std::size_t Size, TStrings* List) {
  List->Clear();
  const auto Lists = ::ReadIDListArray(Block, Size);
  if (!Lists) return false;
  for (const std::string& L : *Lists) List->Add(L);
  return List->GetCount() > 1;
}

// --- the file-name view ------------------------------------------------------------------------

Integer TPIDLsToFilenamesStrings::GetCount() const {
  const Integer N = FPIDLs->GetCount();
  return N < 2 ? 0 : N - 1;
}

AnsiString TPIDLsToFilenamesStrings::Get(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) throw EStringListError("Filename index out of range");
  LPITEMIDLIST Pidl = IDListFromBytes(JoinPIDLs((*FPIDLs)[0], (*FPIDLs)[Index + 1]));
  if (!Pidl) return AnsiString();
  // No length limit: a long path is not cut short.
  const std::string Path = ShellPathOfIDList(Pidl);
  ILFree(Pidl);
  return Path;
}

void TPIDLsToFilenamesStrings::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TStrings*>(Source)) {
    FilenamesToPIDLs(S, FPIDLs);
    return;
  }
  TStrings::Assign(Source);
}

// --- the clipboard format ------------------------------------------------------------------------

TPIDLClipboardFormat::TPIDLClipboardFormat()
    : FPIDLs(std::make_unique<TStringList>()), FFilenames(std::make_unique<TPIDLsToFilenamesStrings>(FPIDLs.get())) {}

TPIDLClipboardFormat::~TPIDLClipboardFormat() = default;

CLIPFORMAT TPIDLClipboardFormat::GetClipboardFormat() { return ClipboardFormatOf(CFSTR_SHELLIDLIST); }

bool TPIDLClipboardFormat::ReadData(const void* Data, std::size_t Size) {
  return ::ReadIDListArray(Data, Size, FPIDLs.get());
}

std::size_t TPIDLClipboardFormat::GetSize() {
  std::size_t Size = 4 * (std::size_t(FPIDLs->GetCount()) + 1);
  for (Integer I = 0; I < FPIDLs->GetCount(); ++I) Size += (*FPIDLs)[I].size();
  return Size;
}

bool TPIDLClipboardFormat::WriteData(void* Buffer, std::size_t Size) {
  std::vector<std::string> Lists;
  for (Integer I = 0; I < FPIDLs->GetCount(); ++I) Lists.push_back((*FPIDLs)[I]);
  const std::string Block = WriteIDListArray(Lists);
  std::memcpy(Buffer, Block.data(), std::min(Size, Block.size()));
  return true;
}

// --- the data format ---------------------------------------------------------------------------

TPIDLDataFormat::TPIDLDataFormat(TDragDropComponent* AOwner)
    : TCustomDataFormat(AOwner, StaticClass()),
      FPIDLs(std::make_unique<TStringList>()),
      FFilenames(std::make_unique<TPIDLsToFilenamesStrings>(FPIDLs.get())) {
  FPIDLs->OnChanging = TNotifyEvent(this, &TPIDLDataFormat::PIDLsChanging);
}

TPIDLDataFormat::~TPIDLDataFormat() = default;

bool TPIDLDataFormat::Assign(TClipboardFormat* Source) {
  if (auto* P = dynamic_cast<TPIDLClipboardFormat*>(Source)) {
    FPIDLs->Assign(P->PIDLs());
    return true;
  }
  if (auto* F = dynamic_cast<TFileClipboardFormat*>(Source)) return FilenamesToPIDLs(F->Files(), FPIDLs.get());
  return TCustomDataFormat::Assign(Source);
}

bool TPIDLDataFormat::AssignTo(TClipboardFormat* Dest) {
  if (auto* P = dynamic_cast<TPIDLClipboardFormat*>(Dest)) {
    P->PIDLs()->Assign(FPIDLs.get());
    return true;
  }
  if (auto* F = dynamic_cast<TFileClipboardFormat*>(Dest)) {
    F->Files()->Assign(FFilenames.get());
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}

void RegisterDragDropPIDLUnit() {
  AddDataFormatClass(TPIDLDataFormat::StaticClass());
  const TConversionScopes Both{scSource, scTarget};
  MapDataFormat(TPIDLDataFormat::StaticClass(), TPIDLClipboardFormat::StaticClass(), 0, Both, {ddRead});
  MapDataFormat(TPIDLDataFormat::StaticClass(), TFileClipboardFormat::StaticClass(), 1, Both, {ddRead});
}
