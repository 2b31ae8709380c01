// ShlObj.h — the shell namespace over the real file system: item-id lists
// (PIDLs), the desktop folder and file-system folders (IShellFolder),
// their enumerators (IEnumIDList), the path of an item, the special
// folders, and the IL helpers.
//
// The desktop is the root. Its items are the places a Linux user expects at
// the top: the XDG desktop folder, the home folder, the file system root and
// the mounted volumes (under /media, /run/media and /mnt). An item-id list
// is a run of items, each a 16-bit size (counting itself) and its bytes,
// ended by a zero size. Our items hold a kind byte and a name: a place
// carries its absolute path, a file-system item its name in its folder (the
// file system's bytes, unchanged, so any name round-trips).
//
// A path parses to the place whose folder holds it most closely (a file in
// ~/Desktop parses under the desktop place, one in ~/docs under home), so
// parsing a path and asking the item's path back gives the same path.
//
// Names are wide at the interface: bytes that are not UTF-8 travel as
// U+DC80..U+DCFF (one per byte) and come back as the same bytes, so a name
// the code page cannot show is still found again.
//
// Lists handed out are allocated from the task allocator (CoTaskMemFree or
// ILFree). Lists handed in are untrusted: every walk is bounded by the
// list's own sizes and a cap of ShellMaxIDListSize bytes.
#pragma once
#include <string>
#include <vector>

#include "platform/ole/OleApi.h"

struct SHITEMID {
  WORD cb;
  Byte abID[1];
};
struct ITEMIDLIST {
  SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;
using PCUITEMID_CHILD = const ITEMIDLIST*;

// No list handed in is walked past this many bytes.
constexpr std::size_t ShellMaxIDListSize = 1 << 20;

// --- the IL helpers -------------------------------------------------------------------------------

// Bytes including the terminator; 0 for nil or a list longer than the cap.
UINT ILGetSize(LPCITEMIDLIST Pidl);
// The next item, or nil at the terminator (and for nil).
LPITEMIDLIST ILGetNext(LPCITEMIDLIST Pidl);
bool ILIsEmpty(LPCITEMIDLIST Pidl);
LPITEMIDLIST ILClone(LPCITEMIDLIST Pidl);
LPITEMIDLIST ILCloneFirst(LPCITEMIDLIST Pidl);
// Parent then child; nil when both are nil.
LPITEMIDLIST ILCombine(LPCITEMIDLIST Parent, LPCITEMIDLIST Child);
void ILFree(LPITEMIDLIST Pidl);
// The last item (the list itself when it has one item or none).
LPITEMIDLIST ILFindLastID(LPCITEMIDLIST Pidl);
// Cuts the last item off in place; FALSE for an empty list.
BOOL ILRemoveLastID(LPITEMIDLIST Pidl);
BOOL ILIsEqual(LPCITEMIDLIST A, LPCITEMIDLIST B);
// Whether Parent's items start Child (Immediate: exactly one item more).
BOOL ILIsParent(LPCITEMIDLIST Parent, LPCITEMIDLIST Child, BOOL Immediate);
// The part of Child below Parent, inside Child; nil when Parent is not a
// parent of it.
LPITEMIDLIST ILFindChild(LPCITEMIDLIST Parent, LPCITEMIDLIST Child);
// The absolute list of an existing path; nil when it cannot be parsed.
LPITEMIDLIST ILCreateFromPathA(const char* Path);
inline LPITEMIDLIST ILCreateFromPath(const char* Path) { return ILCreateFromPathA(Path); }

// A list as its bytes (with the terminator) and back; the bytes are
// checked, so a malformed block gives nil.
std::string IDListToBytes(LPCITEMIDLIST Pidl);
LPITEMIDLIST IDListFromBytes(const std::string& Bytes);

// --- names ---------------------------------------------------------------------------------------

// File-system bytes to wide and back without loss (see above).
WideString PathToWide(const std::string& Path);
std::string WideToPath(std::u16string_view Wide);

constexpr UINT STRRET_WSTR = 0;
constexpr UINT STRRET_OFFSET = 1;
constexpr UINT STRRET_CSTR = 2;
struct STRRET {
  UINT uType = STRRET_CSTR;
  union {
    char16_t* pOleStr;
    UINT uOffset;
    char cStr[260];
  };
  STRRET() : cStr{} {}
};
// The name in the file system's bytes; a wide one is freed. The item is the
// one the STRRET was made for (for STRRET_OFFSET).
HRESULT StrRetToStrA(STRRET* Str, LPCITEMIDLIST Item, char** Out);  // CoTaskMemFree the result
HRESULT StrRetToBufA(STRRET* Str, LPCITEMIDLIST Item, char* Buffer, UINT Size);

// --- folders -------------------------------------------------------------------------------------

constexpr DWORD SHCONTF_FOLDERS = 0x0020;
constexpr DWORD SHCONTF_NONFOLDERS = 0x0040;
constexpr DWORD SHCONTF_INCLUDEHIDDEN = 0x0080;

constexpr DWORD SHGDN_NORMAL = 0x0000;
constexpr DWORD SHGDN_INFOLDER = 0x0001;
constexpr DWORD SHGDN_FOREDITING = 0x1000;
constexpr DWORD SHGDN_FORADDRESSBAR = 0x4000;
constexpr DWORD SHGDN_FORPARSING = 0x8000;

constexpr ULONG SFGAO_CANCOPY = 0x00000001;
constexpr ULONG SFGAO_CANMOVE = 0x00000002;
constexpr ULONG SFGAO_CANLINK = 0x00000004;
constexpr ULONG SFGAO_CANRENAME = 0x00000010;
constexpr ULONG SFGAO_CANDELETE = 0x00000020;
constexpr ULONG SFGAO_DROPTARGET = 0x00000100;
constexpr ULONG SFGAO_LINK = 0x00010000;
constexpr ULONG SFGAO_READONLY = 0x00040000;
constexpr ULONG SFGAO_HIDDEN = 0x00080000;
constexpr ULONG SFGAO_STREAM = 0x00400000;
constexpr ULONG SFGAO_REMOVABLE = 0x02000000;
constexpr ULONG SFGAO_FILESYSANCESTOR = 0x10000000;
constexpr ULONG SFGAO_FOLDER = 0x20000000;
constexpr ULONG SFGAO_FILESYSTEM = 0x40000000;
constexpr ULONG SFGAO_HASSUBFOLDER = 0x80000000;
constexpr ULONG SFGAO_VALIDATE = 0x01000000;

class IEnumIDList : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IEnumIDList, "{000214F2-0000-0000-C000-000000000046}")
  // Relative one-item lists; the caller frees each.
  virtual HRESULT Next(ULONG Count, LPITEMIDLIST* Out, ULONG* Fetched) = 0;
  virtual HRESULT Skip(ULONG Count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumIDList** Enum) = 0;
};

class IShellFolder : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IShellFolder, "{000214E6-0000-0000-C000-000000000046}")
  // A name relative to this folder (the desktop also takes absolute paths);
  // the item must exist. Attributes, when given, asks for those bits.
  virtual HRESULT ParseDisplayName(HWND Owner, void* BindCtx, const char16_t* Name, ULONG* Eaten,
                                   LPITEMIDLIST* Pidl, ULONG* Attributes) = 0;
  // S_FALSE with no enumerator for a folder that is gone or unreadable.
  virtual HRESULT EnumObjects(HWND Owner, DWORD Flags, IEnumIDList** Enum) = 0;
  virtual HRESULT BindToObject(LPCITEMIDLIST Pidl, void* BindCtx, const TIID& Iid, void** Out) = 0;
  virtual HRESULT BindToStorage(LPCITEMIDLIST Pidl, void* BindCtx, const TIID& Iid, void** Out) = 0;
  // HRESULT whose low 16 bits are the order (negative, 0, positive):
  // folders first, then names without case, then with case.
  virtual HRESULT CompareIDs(LPARAM Param, LPCITEMIDLIST A, LPCITEMIDLIST B) = 0;
  virtual HRESULT CreateViewObject(HWND Owner, const TIID& Iid, void** Out) = 0;
  virtual HRESULT GetAttributesOf(UINT Count, LPCITEMIDLIST* Items, ULONG* InOut) = 0;
  // IDataObject for items of this folder (CF_HDROP, the item-id list array).
  virtual HRESULT GetUIObjectOf(HWND Owner, UINT Count, LPCITEMIDLIST* Items, const TIID& Iid, UINT* Reserved,
                                void** Out) = 0;
  virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST Pidl, DWORD Flags, STRRET* Name) = 0;
  virtual HRESULT SetNameOf(HWND Owner, LPCITEMIDLIST Pidl, const char16_t* Name, DWORD Flags,
                            LPITEMIDLIST* Out) = 0;
};

HRESULT SHGetDesktopFolder(IShellFolder** Folder);
// The task allocator.
HRESULT SHGetMalloc(IMalloc** Malloc);
// The file-system path of an absolute list (the file system's bytes, at
// most MAX_PATH - 1 of them); FALSE for the desktop root or a list that
// names nothing in the file system.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST Pidl, char* Path);
inline BOOL SHGetPathFromIDList(LPCITEMIDLIST Pidl, char* Path) { return SHGetPathFromIDListA(Pidl, Path); }
// The same without the length limit; "" on failure.
std::string ShellPathOfIDList(LPCITEMIDLIST Pidl);

constexpr int CSIDL_DESKTOP = 0x0000;
constexpr int CSIDL_PERSONAL = 0x0005;
constexpr int CSIDL_TEMPLATES = 0x0015;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr int CSIDL_DRIVES = 0x0011;
constexpr int CSIDL_FONTS = 0x0014;
constexpr int CSIDL_APPDATA = 0x001A;
constexpr int CSIDL_LOCAL_APPDATA = 0x001C;
constexpr int CSIDL_MYPICTURES = 0x0027;
constexpr int CSIDL_PROFILE = 0x0028;
constexpr int CSIDL_FLAG_CREATE = 0x8000;

// The desktop root (an empty list), the XDG user folders (desktop,
// documents, templates, pictures; home when the user has none), home, the
// per-user configuration and data folders, the fonts folder, and for the
// "computer" the file system root. E_INVALIDARG for others.
HRESULT SHGetSpecialFolderLocation(HWND Owner, int Folder, LPITEMIDLIST* Pidl);
BOOL SHGetSpecialFolderPathA(HWND Owner, char* Path, int Folder, BOOL Create);

// "shell32.dll" in the layer's module table (the IL helpers by name and by
// their export numbers, the namespace calls by name). Called at start-up.
void RegisterShellLibraryModule();

// The places at the desktop's top, for tests and the views: their
// folders, in order. A test may pin them (nil restores the machine's).
struct TShellPlaces {
  std::string Desktop, Home;
  std::vector<std::string> Volumes;
};
TShellPlaces ShellPlaces();
void SetShellPlacesForTest(const TShellPlaces* Places);
