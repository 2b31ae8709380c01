// Emf.h — enhanced metafiles as handles: create from bytes or files, query
// the header, copy, save, delete and enumerate. A metafile is an immutable,
// validated byte stream in the published EMF layout; the handle shares it,
// so copies are cheap. Recording (EmfRecorder.h) produces these bytes and
// playback (EmfPlayer.h) consumes them. Win32 contract: failures answer 0 or
// a null handle, never throw.
#pragma once
#include <functional>
#include <memory>
#include <span>
#include <vector>
#include "platform/gdi/EmfRecords.h"

// The header as GetEnhMetaFileHeader fills it (108 bytes, as on disk).
struct ENHMETAHEADER {
  DWORD iType;
  DWORD nSize;
  TRect rclBounds;
  TRect rclFrame;
  DWORD dSignature;
  DWORD nVersion;
  DWORD nBytes;
  DWORD nRecords;
  WORD nHandles;
  WORD sReserved;
  DWORD nDescription;
  DWORD offDescription;
  DWORD nPalEntries;
  TSize szlDevice;
  TSize szlMillimeters;
  DWORD cbPixelFormat;
  DWORD offPixelFormat;
  DWORD bOpenGL;
  TSize szlMicrometers;
};

using ENHMFENUMPROC = int (*)(HDC DC, HANDLETABLE* Table, const ENHMETARECORD* Rec, int Objects,
                              LPARAM Data);

HENHMETAFILE SetEnhMetaFileBits(UINT Size, const BYTE* Data);
// With a null buffer answers the size; otherwise copies when Size suffices.
UINT GetEnhMetaFileBits(HENHMETAFILE Mf, UINT Size, BYTE* Data);
// With a null buffer answers sizeof(ENHMETAHEADER); otherwise fills up to Size bytes.
UINT GetEnhMetaFileHeader(HENHMETAFILE Mf, UINT Size, ENHMETAHEADER* Header);
// Characters of the description including its nulls; copies up to Count.
UINT GetEnhMetaFileDescriptionW(HENHMETAFILE Mf, UINT Count, char16_t* Buffer);
// A file name of nullptr copies in memory; otherwise also writes the file
// (atomically: a failed write leaves no file behind).
HENHMETAFILE CopyEnhMetaFileA(HENHMETAFILE Mf, const char* FileName);
HENHMETAFILE CopyEnhMetaFileW(HENHMETAFILE Mf, const char16_t* FileName);
HENHMETAFILE GetEnhMetaFileA(const char* FileName);
HENHMETAFILE GetEnhMetaFileW(const char16_t* FileName);
BOOL DeleteEnhMetaFile(HENHMETAFILE Mf);
// Calls Proc for every record, header and EOF included, until it answers 0
// (then answers FALSE). Objects is the header's handle count; Table has
// that many slots, slot 0 holding the metafile. With a DC the records may
// be played through PlayEnhMetaFileRecord, mapped from the frame to Rect
// (defined with the player, EmfPlayer.cpp).
BOOL EnumEnhMetaFile(HDC DC, HENHMETAFILE Mf, ENHMFENUMPROC Proc, void* Data, const TRect* Rect);

// ---- C++ side, for the layer's own units ----------------------------------

// Checks a whole metafile: header, signature, every record size and the
// final EOF; throws EEmfError naming the first fault.
void EmfValidate(std::span<const Byte> Bytes);
// Walks the records of a validated metafile; stops when Visit answers false.
void EmfForEachRecord(std::span<const Byte> Bytes,
                      const std::function<bool(const TEmfRecord&)>& Visit);
// Handle for bytes already validated (the recorder's output).
HENHMETAFILE EmfCreateHandle(std::vector<Byte> Bytes);
// The bytes behind a handle; empty for a stale or foreign handle. 4-aligned.
std::shared_ptr<const std::vector<Byte>> EmfBytes(HENHMETAFILE Mf);
// A header from bytes written by EmfValidate's rules.
TEmrHeader EmfReadHeader(std::span<const Byte> Bytes);

// Assembles a metafile: header first, the records appended through Writer(),
// then Finish adds the EOF and patches the header's byte, record and
// handle counts.
class TEmfBuilder {
public:
  TEmfBuilder();
  TEmfWriter& Writer() { return FWriter; }
  // Counts one record written through Writer() and widens the object table.
  void Counted(DWORD ObjectIndex = 0);
  template <class TRec>
  void Add(const TRec& Rec, DWORD ObjectIndex = 0) {
    Rec.Write(FWriter);
    Counted(ObjectIndex);
  }
  std::vector<Byte> Finish(TEmrHeader Header);
  std::size_t RecordCount() const { return FRecords; }

private:
  TEmfWriter FWriter;
  std::size_t FRecords = 0;
  DWORD FHandles = 1;
};
