// ShellDropFuzz.cpp — the fuzz entry for what other programs hand over as
// files: file-drop blocks, item-id list arrays, single item-id lists and
// the name lists, read directly and through a data object as a drop
// target reads them, and through the program's drag-and-drop data formats
// (the batch list's file drop target reads drops with those). Whatever the bytes say, reading stays inside them,
// ends in bounded time and throws nothing. The replay test of this folder
// calls ShellDropFuzzOne directly; the libFuzzer target
// (tests/fuzz/CMakeLists.txt) builds this file with SX_SHELL_DROP_FUZZER.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/dragdrop/DragDropFile.h"
#include "app/dragdrop/DragDropFormats.h"
#include "app/dragdrop/DragDropPIDL.h"
#include "platform/ole/DataObject.h"
#include "platform/ole/DropFormats.h"
#include "platform/shell/ShellData.h"
#include "platform/shell/ShellIcons.h"
#include "platform/shell/ShlObj.h"

// The first byte chooses the reader; the rest is the block.
void ShellDropFuzzOne(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) return;
  const std::string Block(reinterpret_cast<const char*>(Data + 1), Size - 1);
  switch (Data[0] & 7) {
    case 0: {
      const auto Names = ReadDropFiles(Block.data(), Block.size());
      // Names come from inside the block: a wide one grows at most by half
      // on its way to UTF-8 (three bytes for two).
      for (const std::string& N : Names)
        if (N.empty() || N.size() > Block.size() * 3 / 2) std::abort();
      break;
    }
    case 1: {
      if (auto Lists = ReadIDListArray(Block.data(), Block.size())) {
        // Each list was found inside the block, behind its own offset.
        if (Lists->size() > 1 + Block.size() / 8) std::abort();
        for (const std::string& L : *Lists)
          if (L.size() < 2 || L.size() > Block.size()) std::abort();
      }
      PathsFromIDListArray(Block);
      break;
    }
    case 2: {
      // A single list as a program would hand it to the namespace.
      if (LPITEMIDLIST P = IDListFromBytes(Block)) {
        ShellPathOfIDList(P);
        if (ILGetSize(P) != BoundedIDListSize(Block.data(), Block.size())) std::abort();
        ILFindLastID(P);
        SHFILEINFOA Info;
        SHGetFileInfoA(reinterpret_cast<const char*>(P), 0, &Info, sizeof Info,
                       SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
        ILFree(P);
      }
      break;
    }
    case 3:
    case 4: ReadNameList(Block.data(), Block.size(), (Data[0] & 7) == 4); break;
    case 6: {
      // The file data format gives what the layer's readers give, format
      // by format.
      const bool AsIDLists = Data[0] & 8;
      auto* D = new TDataObject;
      TIntfPtr<IDataObject> Hold(static_cast<IDataObject*>(D));
      D->SetBytes(AsIDLists ? ClipboardFormatOf(CFSTR_SHELLIDLIST) : CLIPFORMAT(CF_HDROP), Block);
      TFileDataFormat Files(nullptr);
      Files.GetData(D);
      std::vector<std::string> Want;
      if (AsIDLists) Want = PathsFromIDListArray(Block).value_or(std::vector<std::string>{});
      else Want = ReadDropFiles(Block.data(), Block.size());
      if (Files.Files()->GetCount() != Integer(Want.size())) std::abort();
      for (Integer I = 0; I < Files.Files()->GetCount(); ++I)
        if ((*Files.Files())[I] != Want[std::size_t(I)]) std::abort();
      break;
    }
    case 7: {
      // The item-id list data format and its file-name view.
      auto* D = new TDataObject;
      TIntfPtr<IDataObject> Hold(static_cast<IDataObject*>(D));
      D->SetBytes(ClipboardFormatOf(CFSTR_SHELLIDLIST), Block);
      TPIDLDataFormat Pidls(nullptr);
      Pidls.GetData(D);
      const Integer Lists = Pidls.PIDLs()->GetCount();
      if (Lists > Integer(1 + Block.size() / 8)) std::abort();
      if (Pidls.Filenames()->GetCount() != (Lists < 2 ? 0 : Lists - 1)) std::abort();
      for (Integer I = 0; I < Pidls.Filenames()->GetCount(); ++I) (*Pidls.Filenames())[I];
      break;
    }
    default: {
      // A drop offering the block under every file format at once.
      auto* D = new TDataObject;
      TIntfPtr<IDataObject> Hold(static_cast<IDataObject*>(D));
      D->SetBytes(CF_HDROP, Block);
      D->SetBytes(ClipboardFormatOf(CFSTR_SHELLIDLIST), Block);
      D->SetBytes(ClipboardFormatOf(CFSTR_FILENAMEW), Block);
      D->SetBytes(ClipboardFormatOf(CFSTR_FILENAMEA), Block);
      FilesFromDataObject(D);
      D->SetBytes(ClipboardFormatOf(CFSTR_FILENAMEMAPA), Block);
      D->SetBytes(ClipboardFormatOf(CFSTR_FILENAMEMAPW), Block);
      D->SetBytes(CF_TEXT, Block);
      D->SetBytes(ClipboardFormatOf(CFSTR_PREFERREDDROPEFFECT), Block);
      D->SetBytes(ClipboardFormatOf(CFSTR_INDRAGLOOP), Block);
      D->SetBytes(ClipboardFormatOf(CFSTR_FILEDESCRIPTORA), Block);
      D->SetBytes(ClipboardFormatOf(CFSTR_FILEDESCRIPTORW), Block);
      TFileDataFormat Files(nullptr);
      TFileMapDataFormat Maps(nullptr);
      TTextDataFormat Text(nullptr);
      TFeedbackDataFormat Feedback(nullptr);
      Files.GetData(D);
      Maps.GetData(D);
      Text.GetData(D);
      Feedback.GetData(D);
      for (auto* G : {static_cast<TFileGroupDescritorClipboardFormat*>(new TFileGroupDescritorClipboardFormat),
                      static_cast<TFileGroupDescritorClipboardFormat*>(new TFileGroupDescritorWClipboardFormat)}) {
        std::unique_ptr<TFileGroupDescritorClipboardFormat> Hold(G);
        if (G->GetData(D))
          for (std::size_t I = 0; I < G->Descriptors.size(); ++I) G->FileName(I);
        if (G->Descriptors.size() > Block.size() / 332) std::abort();
      }
      if (Text.GetText().size() > Block.size()) std::abort();
      break;
    }
  }
}

#ifdef SX_SHELL_DROP_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  ShellDropFuzzOne(Data, Size);
  return 0;
}
#endif
