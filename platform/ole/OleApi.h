// OleApi.h — the data-transfer interfaces and their plumbing: format
// descriptions and storage media (FORMATETC, STGMEDIUM, ReleaseStgMedium),
// IStream, IEnumFORMATETC, IDataObject, IDropSource and IDropTarget, the task
// allocator (IMalloc, CoTaskMemAlloc/CoTaskMemFree) and the library's start
// and end (OleInitialize, CoInitialize).
//
// Everything runs in this process: there is no class store, so
// CoCreateInstance answers REGDB_E_CLASSNOTREG for every class (the shell's
// drag-image helper among them: callers fall back to their own image, as on
// a system without it). Ownership follows the published rules: a medium
// given to SetData with Release set belongs to the callee, GetData's medium
// belongs to the caller, who frees it with ReleaseStgMedium.
#pragma once
#include <cstddef>

#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Interfaces.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/WinTypes.h"

using CLIPFORMAT = WORD;

constexpr HRESULT E_OUTOFMEMORY = HRESULT(0x8007000Eu);
constexpr HRESULT E_ACCESSDENIED = HRESULT(0x80070005u);
constexpr HRESULT DV_E_FORMATETC = HRESULT(0x80040064u);
constexpr HRESULT DV_E_TYMED = HRESULT(0x80040069u);
constexpr HRESULT DV_E_CLIPFORMAT = HRESULT(0x8004006Au);
constexpr HRESULT DV_E_DVASPECT = HRESULT(0x8004006Bu);
constexpr HRESULT DV_E_LINDEX = HRESULT(0x80040068u);
constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = HRESULT(0x80040003u);
constexpr HRESULT OLE_E_NOTRUNNING = HRESULT(0x80040005u);
constexpr HRESULT OLE_E_WRONGCOMPOBJ = HRESULT(0x8004000Eu);
constexpr HRESULT DATA_S_SAMEFORMATETC = HRESULT(0x00040130);
constexpr HRESULT DRAGDROP_S_DROP = HRESULT(0x00040100);
constexpr HRESULT DRAGDROP_S_CANCEL = HRESULT(0x00040101);
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = HRESULT(0x00040102);
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = HRESULT(0x80040100u);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = HRESULT(0x80040101u);
constexpr HRESULT DRAGDROP_E_INVALIDHWND = HRESULT(0x80040102u);
constexpr HRESULT CLIPBRD_E_CANT_OPEN = HRESULT(0x800401D0u);
constexpr HRESULT CLIPBRD_E_CANT_SET = HRESULT(0x800401D2u);
constexpr HRESULT CLIPBRD_E_BAD_DATA = HRESULT(0x800401D3u);
constexpr HRESULT CO_E_NOTINITIALIZED = HRESULT(0x800401F0u);
constexpr HRESULT REGDB_E_CLASSNOTREG = HRESULT(0x80040154u);
constexpr HRESULT STG_E_INVALIDFUNCTION = HRESULT(0x80030001u);
constexpr HRESULT STG_E_INVALIDPOINTER = HRESULT(0x80030009u);
constexpr HRESULT STG_E_READFAULT = HRESULT(0x8003001Eu);
constexpr HRESULT STG_E_WRITEFAULT = HRESULT(0x8003001Du);
constexpr HRESULT STG_E_MEDIUMFULL = HRESULT(0x80030070u);

constexpr DWORD TYMED_NULL = 0;
constexpr DWORD TYMED_HGLOBAL = 1;
constexpr DWORD TYMED_FILE = 2;
constexpr DWORD TYMED_ISTREAM = 4;
constexpr DWORD TYMED_ISTORAGE = 8;
constexpr DWORD TYMED_GDI = 16;
constexpr DWORD TYMED_MFPICT = 32;
constexpr DWORD TYMED_ENHMF = 64;

constexpr DWORD DVASPECT_CONTENT = 1;
constexpr DWORD DVASPECT_THUMBNAIL = 2;
constexpr DWORD DVASPECT_ICON = 4;
constexpr DWORD DVASPECT_DOCPRINT = 8;

constexpr DWORD DATADIR_GET = 1;
constexpr DWORD DATADIR_SET = 2;

constexpr DWORD DROPEFFECT_NONE = 0;
constexpr DWORD DROPEFFECT_COPY = 1;
constexpr DWORD DROPEFFECT_MOVE = 2;
constexpr DWORD DROPEFFECT_LINK = 4;
constexpr DWORD DROPEFFECT_SCROLL = 0x80000000u;

// The target-device description of a format; this system renders for the
// screen only, so a format description never carries one.
struct DVTARGETDEVICE;

struct FORMATETC {
  CLIPFORMAT cfFormat = 0;
  DVTARGETDEVICE* ptd = nullptr;
  DWORD dwAspect = DVASPECT_CONTENT;
  LONG lindex = -1;
  DWORD tymed = TYMED_HGLOBAL;
};

class IStream;
class IStorage;

struct STGMEDIUM {
  DWORD tymed = TYMED_NULL;
  union {
    HANDLE hGlobal;
    HANDLE hBitmap;
    HANDLE hEnhMetaFile;
    HANDLE hMetaFilePict;
    char16_t* lpszFileName;
    IStream* pstm;
    IStorage* pstg;
  };
  // Who frees the medium when it is not null: ReleaseStgMedium releases
  // that instead of the medium itself.
  IUnknown* pUnkForRelease = nullptr;
  STGMEDIUM() : hGlobal(nullptr) {}
};

// Frees what the medium holds (global memory, a stream's reference) or
// releases pUnkForRelease; leaves the medium empty.
void ReleaseStgMedium(STGMEDIUM* Medium);

// --- streams ---------------------------------------------------------------------------------------

constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;
constexpr DWORD STATFLAG_DEFAULT = 0;
constexpr DWORD STATFLAG_NONAME = 1;
constexpr DWORD STGTY_STREAM = 2;

struct STATSTG {
  char16_t* pwcsName = nullptr;  // CoTaskMemAlloc'ed, freed by the caller
  DWORD type = STGTY_STREAM;
  UInt64 cbSize = 0;
  DWORD grfMode = 0;
};

class ISequentialStream : public virtual IUnknown {
public:
  SX_INTERFACE_ID(ISequentialStream, "{0C733A30-2A1C-11CE-ADE5-00AA0044773D}")
  virtual HRESULT Read(void* Buffer, ULONG Count, ULONG* Read) = 0;
  virtual HRESULT Write(const void* Buffer, ULONG Count, ULONG* Written) = 0;
};

class IStream : public ISequentialStream {
public:
  SX_INTERFACE_ID(IStream, "{0000000C-0000-0000-C000-000000000046}")
  virtual HRESULT Seek(Int64 Move, DWORD Origin, UInt64* NewPosition) = 0;
  virtual HRESULT SetSize(UInt64 NewSize) = 0;
  virtual HRESULT CopyTo(IStream* Dest, UInt64 Count, UInt64* Read, UInt64* Written) = 0;
  virtual HRESULT Commit(DWORD Flags) = 0;
  virtual HRESULT Revert() = 0;
  virtual HRESULT LockRegion(UInt64 Offset, UInt64 Count, DWORD LockType) = 0;
  virtual HRESULT UnlockRegion(UInt64 Offset, UInt64 Count, DWORD LockType) = 0;
  virtual HRESULT Stat(STATSTG* Stat, DWORD Flags) = 0;
  virtual HRESULT Clone(IStream** Stream) = 0;
};

// --- data objects ------------------------------------------------------------------------------------

class IEnumFORMATETC : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IEnumFORMATETC, "{00000103-0000-0000-C000-000000000046}")
  // S_OK when Count descriptions were given, S_FALSE when fewer.
  virtual HRESULT Next(ULONG Count, FORMATETC* Out, ULONG* Fetched) = 0;
  virtual HRESULT Skip(ULONG Count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumFORMATETC** Enum) = 0;
};

class IAdviseSink;
class IEnumSTATDATA;

class IDataObject : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IDataObject, "{0000010E-0000-0000-C000-000000000046}")
  virtual HRESULT GetData(const FORMATETC* Format, STGMEDIUM* Medium) = 0;
  virtual HRESULT GetDataHere(const FORMATETC* Format, STGMEDIUM* Medium) = 0;
  virtual HRESULT QueryGetData(const FORMATETC* Format) = 0;
  virtual HRESULT GetCanonicalFormatEtc(const FORMATETC* In, FORMATETC* Out) = 0;
  virtual HRESULT SetData(const FORMATETC* Format, STGMEDIUM* Medium, BOOL Release) = 0;
  virtual HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) = 0;
  virtual HRESULT DAdvise(const FORMATETC* Format, DWORD Advf, IAdviseSink* Sink, DWORD* Connection) = 0;
  virtual HRESULT DUnadvise(DWORD Connection) = 0;
  virtual HRESULT EnumDAdvise(IEnumSTATDATA** Enum) = 0;
};

// --- drag and drop -------------------------------------------------------------------------------

class IDropSource : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IDropSource, "{00000121-0000-0000-C000-000000000046}")
  // S_OK to go on, DRAGDROP_S_DROP to drop, DRAGDROP_S_CANCEL to stop.
  virtual HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) = 0;
  // DRAGDROP_S_USEDEFAULTCURSORS, or S_OK after setting a cursor itself.
  virtual HRESULT GiveFeedback(DWORD Effect) = 0;
};

// Points are in screen coordinates; KeyState holds the MK_ bits.
class IDropTarget : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IDropTarget, "{00000122-0000-0000-C000-000000000046}")
  virtual HRESULT DragEnter(IDataObject* Data, DWORD KeyState, TPoint Pt, DWORD* Effect) = 0;
  virtual HRESULT DragOver(DWORD KeyState, TPoint Pt, DWORD* Effect) = 0;
  virtual HRESULT DragLeave() = 0;
  virtual HRESULT Drop(IDataObject* Data, DWORD KeyState, TPoint Pt, DWORD* Effect) = 0;
};

// --- memory and start-up -------------------------------------------------------------------------

class IMalloc : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IMalloc, "{00000002-0000-0000-C000-000000000046}")
  virtual void* Alloc(std::size_t Size) = 0;
  virtual void* Realloc(void* Block, std::size_t Size) = 0;
  virtual void Free(void* Block) = 0;
  // -1 for a block this allocator did not hand out.
  virtual std::size_t GetSize(void* Block) = 0;
  virtual int DidAlloc(void* Block) = 0;
  virtual void HeapMinimize() = 0;
};

void* CoTaskMemAlloc(std::size_t Size);
void* CoTaskMemRealloc(void* Block, std::size_t Size);
// Nothing for nil.
void CoTaskMemFree(void* Block);
// The task allocator (one per process, never freed).
HRESULT CoGetMalloc(DWORD Context, IMalloc** Malloc);

// Counted: each successful call (S_OK the first time, S_FALSE after) wants
// its own uninitialize.
HRESULT CoInitialize(void* Reserved);
HRESULT CoInitializeEx(void* Reserved, DWORD Model);
void CoUninitialize();
HRESULT OleInitialize(void* Reserved);
void OleUninitialize();
// Whether OleInitialize is in force (RegisterDragDrop and the OLE
// clipboard calls answer CO_E_NOTINITIALIZED without it).
bool OleIsInitialized();
// No class is registered in this process.
HRESULT CoCreateInstance(const TCLSID& Class, IUnknown* Outer, DWORD Context, const TIID& Iid, void** Obj);
constexpr DWORD CLSCTX_INPROC_SERVER = 1;

// Forgets every initialization and registration (a test's start).
void OleReset();
