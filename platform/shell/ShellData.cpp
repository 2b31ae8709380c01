#include "platform/shell/ShellData.h"

#include "platform/ole/DropFormats.h"
#include "platform/rtl/CodePages.h"
#include "platform/shell/ShellItems_p.h"

std::optional<std::vector<std::string>> PathsFromIDListArray(const std::string& Block) {
  auto Lists = ReadIDListArray(Block.data(), Block.size());
  if (!Lists || Lists->size() < 2) return std::nullopt;
  auto Parent = SplitIDList(reinterpret_cast<LPCITEMIDLIST>((*Lists)[0].data()));
  std::vector<std::string> Out;
  for (std::size_t I = 1; I < Lists->size(); ++I) {
    auto Rel = SplitIDList(reinterpret_cast<LPCITEMIDLIST>((*Lists)[I].data()));
    std::optional<std::string> Path;
    if (Parent && Rel) {
      std::vector<TShellItem> All = *Parent;
      All.insert(All.end(), Rel->begin(), Rel->end());
      Path = PathOfItems(All);
    }
    Out.push_back(Path.value_or(""));
  }
  return Out;
}

std::string IDListArrayFromPaths(const std::vector<std::string>& Paths) {
  if (Paths.empty()) return "";
  std::vector<std::vector<TShellItem>> All;
  for (const std::string& P : Paths) {
    auto Items = ItemsOfPath(P);
    if (!Items) return "";
    All.push_back(std::move(*Items));
  }
  // The common parent: whole items shared by every path, short of the last
  // item of each (an item is never its own parent).
  std::size_t Common = All[0].size() - 1;
  for (const auto& Items : All) {
    Common = std::min(Common, Items.size() - 1);
    for (std::size_t I = 0; I < Common; ++I)
      if (Items[I].Kind != All[0][I].Kind || Items[I].Name != All[0][I].Name) {
        Common = I;
        break;
      }
  }
  auto ListBytes = [](const std::vector<TShellItem>& Items) {
    std::string S;
    for (const TShellItem& I : Items) S += MakeItemBytes(I);
    return S + std::string(2, '\0');
  };
  std::vector<std::string> Lists{ListBytes({All[0].begin(), All[0].begin() + std::ptrdiff_t(Common)})};
  for (const auto& Items : All) Lists.push_back(ListBytes({Items.begin() + std::ptrdiff_t(Common), Items.end()}));
  return WriteIDListArray(Lists);
}

TIntfPtr<IDataObject> CreateShellDataObject(const std::vector<std::string>& Paths) {
  if (Paths.empty()) return nullptr;
  auto* D = new TDataObject;
  TIntfPtr<IDataObject> Hold(static_cast<IDataObject*>(D));
  D->SetBytes(CF_HDROP, MakeDropFiles(Paths));
  D->Promise(ClipboardFormatOf(CFSTR_SHELLIDLIST), [Paths](std::string& Out) {
    Out = IDListArrayFromPaths(Paths);
    return !Out.empty();
  });
  const WideString W = PathToWide(Paths[0]);
  D->SetBytes(ClipboardFormatOf(CFSTR_FILENAMEW),
              std::string(reinterpret_cast<const char*>(W.data()), W.size() * 2) + std::string(2, '\0'));
  D->SetBytes(ClipboardFormatOf(CFSTR_FILENAMEA), Paths[0] + '\0');
  return Hold;
}

std::vector<std::string> FilesFromDataObject(IDataObject* Data) {
  std::string B;
  if (GetDataBytes(Data, CF_HDROP, B)) {
    auto Names = ReadDropFiles(B.data(), B.size());
    if (!Names.empty()) return Names;
  }
  if (GetDataBytes(Data, ClipboardFormatOf(CFSTR_SHELLIDLIST), B)) {
    if (auto Names = PathsFromIDListArray(B)) return *Names;
  }
  if (GetDataBytes(Data, ClipboardFormatOf(CFSTR_FILENAMEW), B)) {
    std::u16string W;
    for (std::size_t I = 0; I + 1 < B.size(); I += 2) {
      const char16_t C = char16_t(Byte(B[I]) | Byte(B[I + 1]) << 8);
      if (!C) break;
      W.push_back(C);
    }
    if (!W.empty()) return {WideToPath(W)};
  }
  if (GetDataBytes(Data, ClipboardFormatOf(CFSTR_FILENAMEA), B)) {
    const std::string N = B.substr(0, B.find('\0'));
    if (!N.empty()) return {N};
  }
  return {};
}
