// ShellFixtures.h — a small folder tree in a temporary folder for the shell
// tests, with the desktop's places pinned inside it (home is the tree's
// "home" folder, the desktop folder "home/Desktop"), and the OLE start-up
// and headless window system the views and drags need.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ole/OleApi.h"
#include "platform/shell/ShlObj.h"

namespace shelltest {

class TFixtureTree {
public:
  TFixtureTree() {
    std::string T = (std::filesystem::temp_directory_path() / "sx-shell-XXXXXX").string();
    if (::mkdtemp(T.data())) FRoot = T;
    TShellPlaces P;
    P.Home = FRoot + "/home";
    P.Desktop = FRoot + "/home/Desktop";
    std::filesystem::create_directories(P.Desktop);
    SetShellPlacesForTest(&P);
  }
  ~TFixtureTree() {
    SetShellPlacesForTest(nullptr);
    std::error_code Ec;
    std::filesystem::remove_all(FRoot, Ec);
  }
  const std::string& Root() const { return FRoot; }
  std::string Home() const { return FRoot + "/home"; }
  // Makes a file (and its folders) under the root; returns its path.
  std::string File(const std::string& Rel, const std::string& Content = "x") const {
    const std::filesystem::path P = std::filesystem::path(FRoot) / Rel;
    std::filesystem::create_directories(P.parent_path());
    std::ofstream(P, std::ios::binary) << Content;
    return P.string();
  }
  std::string Folder(const std::string& Rel) const {
    const std::filesystem::path P = std::filesystem::path(FRoot) / Rel;
    std::filesystem::create_directories(P);
    return P.string();
  }

private:
  std::string FRoot;
};

inline TIntfPtr<IShellFolder> Desktop() {
  IShellFolder* D = nullptr;
  TIntfPtr<IShellFolder> R;
  if (Succeeded(SHGetDesktopFolder(&D))) R.Attach(D);
  return R;
}

inline std::string DisplayName(IShellFolder* F, LPCITEMIDLIST Pidl, DWORD Flags) {
  STRRET R;
  char* S = nullptr;
  if (!Succeeded(F->GetDisplayNameOf(Pidl, Flags, &R)) || !Succeeded(StrRetToStrA(&R, Pidl, &S))) return "<fail>";
  std::string Out = S;
  CoTaskMemFree(S);
  return Out;
}

// Parses an absolute path with the desktop (nil when it fails).
inline LPITEMIDLIST Parse(const std::string& Path) {
  LPITEMIDLIST P = nullptr;
  const WideString W = PathToWide(Path);
  if (!Succeeded(Desktop()->ParseDisplayName(nullptr, nullptr, W.c_str(), nullptr, &P, nullptr))) return nullptr;
  return P;
}

// Display names of a folder's items for the flags, in enumeration order.
inline std::vector<std::string> Names(const std::string& FolderPath, DWORD EnumFlags) {
  std::vector<std::string> Out;
  LPITEMIDLIST Abs = Parse(FolderPath);
  if (!Abs) return {"<no folder>"};
  void* Raw = nullptr;
  if (!Succeeded(Desktop()->BindToObject(Abs, nullptr, IShellFolder::IID(), &Raw))) {
    ILFree(Abs);
    return {"<no bind>"};
  }
  ILFree(Abs);
  TIntfPtr<IShellFolder> F;
  F.Attach(static_cast<IShellFolder*>(Raw));
  IEnumIDList* E = nullptr;
  if (F->EnumObjects(nullptr, EnumFlags, &E) != S_OK) return {"<no enum>"};
  TIntfPtr<IEnumIDList> Enum;
  Enum.Attach(E);
  LPITEMIDLIST Item;
  ULONG Got;
  while (Enum->Next(1, &Item, &Got) == S_OK) {
    Out.push_back(DisplayName(F.Get(), Item, SHGDN_INFOLDER | SHGDN_FORPARSING));
    ILFree(Item);
  }
  std::sort(Out.begin(), Out.end());
  return Out;
}

}  // namespace shelltest
