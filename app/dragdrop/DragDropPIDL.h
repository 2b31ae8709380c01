// DragDropPIDL.h — the shell's "Shell IDList Array" in the drag-and-drop
// family: the items of a drag as item-id lists (a parent folder's absolute
// list, then each item's list relative to it), a file-name view of such a
// list, and file names turned into item-id lists for the other direction.
//
// Each list is kept as its bytes, terminator included. Lists that come
// from a data object are untrusted: the block is cut into lists by the
// data-transfer layer's reader, which bounds every offset and item by the
// block, and no list is walked past its own bytes.
#pragma once
#include <string>

#include "app/dragdrop/DragDropFormats.h"
#include "platform/rtl/Strings.h"
#include "platform/shell/ShlObj.h"

// Bytes of a list up to and including its terminator (0 for none).
std::size_t PIDLSize(LPCITEMIDLIST Pidl);
std::string PIDLToString(LPCITEMIDLIST Pidl);
// The parent's items (an empty or terminator-only parent adds nothing) and
// then the child's bytes.
std::string JoinPIDLs(const std::string& Parent, const std::string& Child);
// The absolute list of a path (nil when it cannot be parsed); the caller
// frees it with CoTaskMemFree.
LPITEMIDLIST FilenameToPIDL(const AnsiString& Filename);
// The folder list common to every name's folder ("" for no names). Raises
// "Failed to get interface to Desktop" or "Invalid filename: %s".
std::string CommonParentPIDL(const TStrings* Names);
// List := the common parent then each name relative to it; false (and an
// empty list) when there is no name or one cannot be parsed.
bool FilenamesToPIDLs(const TStrings* Names, TStrings* List);
// List := the lists of a block; true when it held a parent and an item.
bool ReadIDListArray(const void* Block, std::size_t Size, TStrings* List);

// A read-only file-name view over a list of item-id lists (parent first).
class TPIDLsToFilenamesStrings : public TStrings {
  SX_CLASS(TPIDLsToFilenamesStrings, TStrings)
public:
  explicit TPIDLsToFilenamesStrings(TStrings* PIDLs) : FPIDLs(PIDLs) {}
  // Number of lists minus 1 (0 when there are fewer than 2).
  Integer GetCount() const override;
  void Insert(Integer, const AnsiString&) override {}
  void Delete(Integer) override {}
  void Clear() override {}
  // From another string list: the item-id lists of its names.
  void Assign(TPersistent* Source) override;

protected:
  // The item's path, "" when it has none; "Filename index out of range".
  AnsiString Get(Integer Index) const override;
  void Put(Integer, const AnsiString&) override {}
  void PutObject(Integer, TObject*) override {}

private:
  TStrings* FPIDLs;
};

class TPIDLClipboardFormat : public TCustomSimpleClipboardFormat {
  SX_CLASS(TPIDLClipboardFormat, TCustomSimpleClipboardFormat)
public:
  TPIDLClipboardFormat();
  ~TPIDLClipboardFormat() override;
  CLIPFORMAT GetClipboardFormat() override;
  TStringList* PIDLs() const { return FPIDLs.get(); }
  TStrings* Filenames() const { return FFilenames.get(); }
  void Clear() override { FPIDLs->Clear(); }
  bool HasData() override { return FPIDLs->GetCount() > 0; }

protected:
  bool ReadData(const void* Data, std::size_t Size) override;
  bool WriteData(void* Buffer, std::size_t Size) override;
  std::size_t GetSize() override;

private:
  std::unique_ptr<TStringList> FPIDLs;
  std::unique_ptr<TPIDLsToFilenamesStrings> FFilenames;
};

class TPIDLDataFormat : public TCustomDataFormat {
  SX_CLASS(TPIDLDataFormat, TCustomDataFormat)
public:
  explicit TPIDLDataFormat(TDragDropComponent* AOwner);
  ~TPIDLDataFormat() override;
  TStringList* PIDLs() const { return FPIDLs.get(); }
  TStrings* Filenames() const { return FFilenames.get(); }
  void Clear() override { FPIDLs->Clear(); }
  bool Assign(TClipboardFormat* Source) override;
  bool AssignTo(TClipboardFormat* Dest) override;
  bool HasData() override { return FPIDLs->GetCount() > 0; }

private:
  void PIDLsChanging(TObject*) { Changing(); }
  std::unique_ptr<TStringList> FPIDLs;
  std::unique_ptr<TPIDLsToFilenamesStrings> FFilenames;
};

void RegisterDragDropPIDLUnit();
