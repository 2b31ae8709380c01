// GdiObjectTable.h — the objects behind GDI handles and the one table that hands
// them out. Internal to the graphics layer: the bitmap, font, metafile and
// printer units reach pixels and objects here without going through the API.
//
// A handle packs (kind, slot, generation) into 32 bits: kind = GetObjectType
// value (bits 0..4), slot (bits 5..20), generation (bits 21..31). Lookup
// rejects a stale or foreign handle, so a second DeleteObject fails like the
// real call. The table owns every object; a handle is a borrowed name.
//
// Selection: a DC counts its selections on the object (SelectCount). Deleting
// a selected pen, brush, font or palette is deferred until it is deselected
// (DeleteObject returns TRUE); deleting a selected bitmap fails. Stock objects
// ignore DeleteObject.
//
// Other units add kinds by deriving from TGdiObject (the font unit derives its
// font object, the metafile unit its metafile) and calling GdiAddObject.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/RegionData.h"

class TDC;

struct TGdiObject {
  explicit TGdiObject(DWORD AKind) : Kind(AKind) {}
  virtual ~TGdiObject() = default;
  // GetObject: copies the object's logical description into Buffer (or, with
  // a null Buffer, returns the size needed); 0 on failure.
  virtual int GetObjectData(int Size, void* Buffer) const;
  // DeleteObject asks first: false keeps a shared object (a font handle
  // handed to several creators) alive and answers TRUE.
  virtual bool ReleaseShare() { return true; }

  const DWORD Kind;
  HGDIOBJ Handle = nullptr;  // set by GdiAddObject
  bool Stock = false;
  int SelectCount = 0;       // selections in DCs and their saved states
  bool DeletePending = false;
};

// Adds an object and returns its new handle (null when the table is full).
HGDIOBJ GdiAddObject(std::unique_ptr<TGdiObject> Obj);
// The object behind H, or nullptr when H is stale, null, or not of Kind
// (Kind 0 accepts any kind).
TGdiObject* GdiLookup(HGDIOBJ H, DWORD Kind = 0);
template <class T>
T* GdiLookupAs(HGDIOBJ H) { return dynamic_cast<T*>(GdiLookup(H)); }
// Frees the object now (no selection checks); FALSE when H is stale.
BOOL GdiFreeObject(HGDIOBJ H);
// Selection bookkeeping used by DCs: Release frees a pending deletion.
void GdiAddSelection(HGDIOBJ H);
void GdiReleaseSelection(HGDIOBJ H);
// Number of live objects (tests watch it for leaks).
std::size_t GdiObjectCount();

// --- pens -----------------------------------------------------------------
struct TPenObject : TGdiObject {
  TPenObject(DWORD AKind) : TGdiObject(AKind) {}
  int GetObjectData(int Size, void* Buffer) const override;
  DWORD Style = PS_SOLID;     // full style incl. type, cap and join bits
  int Width = 1;              // 0 for cosmetic pens from CreatePen(.., 0, ..)
  COLORREF Color = 0;
  UINT BrushStyle = BS_SOLID; // extended pens: the brush they paint with
  std::uintptr_t Hatch = 0;
  std::vector<DWORD> UserStyle;
  DWORD LineStyle() const { return Style & PS_STYLE_MASK; }
  bool Geometric() const { return (Style & PS_TYPE_MASK) == PS_GEOMETRIC; }
};

// --- brushes --------------------------------------------------------------
// A pattern brush keeps its own copy of the pattern's pixels (the bitmap it
// came from may be deleted), as colours, or as bits for a monochrome pattern
// that paints with the DC's text and background colours.
struct TBrushObject : TGdiObject {
  TBrushObject() : TGdiObject(OBJ_BRUSH) {}
  int GetObjectData(int Size, void* Buffer) const override;
  UINT Style = BS_SOLID;
  COLORREF Color = 0;
  int Hatch = 0;
  HBITMAP PatternHandle = nullptr;  // what GetObject reports for BS_PATTERN
  int PatWidth = 0, PatHeight = 0;
  bool PatMono = false;
  std::vector<COLORREF> PatColors;  // PatWidth*PatHeight, row 0 at the top
  std::vector<Byte> PatBits;        // mono: 1 = background colour
  bool DCBrush = false;             // DC_BRUSH: colour comes from the DC
};

// --- bitmaps --------------------------------------------------------------
// Pixel storage for device bitmaps and DIB sections. 32 and 1 bits per pixel
// are the native drawing formats; 4, 8, 16 and 24 are stored as they are and
// converted per pixel. A pixel value is the raw bits of that format (palette
// index, or 0x00RRGGBB for 24/32, or 5-5-5 / masked for 16).
struct TBitmapObject : TGdiObject {
  TBitmapObject() : TGdiObject(OBJ_BITMAP) {}
  int GetObjectData(int Size, void* Buffer) const override;

  // Allocates zeroed storage; throws EOutOfMemory for absurd sizes.
  void Allocate(int AWidth, int AHeight, int ABitsPerPixel);
  Byte* ScanLine(int Y) { return Bits + std::ptrdiff_t(BottomUp ? Height - 1 - Y : Y) * Stride; }
  const Byte* ScanLine(int Y) const {
    return Bits + std::ptrdiff_t(BottomUp ? Height - 1 - Y : Y) * Stride;
  }
  std::uint32_t GetPixelValue(int X, int Y) const;
  void SetPixelValue(int X, int Y, std::uint32_t V);
  std::uint32_t ColorToPixel(COLORREF C) const;
  COLORREF PixelToColor(std::uint32_t V) const;
  // Mask of the bits a raster operation may change in a pixel value.
  std::uint32_t PixelMask() const;
  TRect BoundsRect() const { return {0, 0, Width, Height}; }

  int Width = 0, Height = 0, BitsPerPixel = 32;
  int Stride = 0;          // bytes per scan line, DWORD-aligned
  bool BottomUp = false;   // DIB sections with positive height
  bool IsDIBSection = false;
  bool DDBMono = false;    // a monochrome device bitmap (black/white)
  std::vector<RGBQUAD> ColorTable;     // 1/4/8 bits per pixel
  DWORD RedMask = 0, GreenMask = 0, BlueMask = 0;  // 16/32 with BI_BITFIELDS
  std::vector<Byte> Storage;
  Byte* Bits = nullptr;    // Storage.data(), or memory owned elsewhere
  TDC* SelectedInto = nullptr;
  TSize Dimension;         // SetBitmapDimensionEx
};

// --- regions and palettes -------------------------------------------------
struct TRegionObject : TGdiObject {
  TRegionObject() : TGdiObject(OBJ_REGION) {}
  int GetObjectData(int, void*) const override { return 0; }
  TRegionData Data;
};

struct TPaletteObject : TGdiObject {
  TPaletteObject() : TGdiObject(OBJ_PAL) {}
  int GetObjectData(int Size, void* Buffer) const override;
  std::vector<PALETTEENTRY> Entries;
};

// GetStockObject. Stock objects live for the whole run.
HGDIOBJ GdiStockObject(int Index);
// The stock 1x1 monochrome bitmap every new memory DC holds.
HBITMAP GdiStockBitmap();
// Creates the font object for a stock font index (SYSTEM_FONT, DEFAULT_GUI_FONT,
// ANSI_VAR_FONT, ...). Defined by the font unit.
HGDIOBJ GdiCreateStockFont(int Index);

// Colour of an index of the system palette's 20 static colours, used by the
// default palette and by DIB_PAL_COLORS look-ups.
const std::vector<PALETTEENTRY>& DefaultPaletteEntries();
