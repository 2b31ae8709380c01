// MetafileProcessor.h — plays one page metafile into page items.
//
// The only exporter code that reads EMF records. It never replays a record
// onto a device: it keeps its own drawing state (objects, colours, modes,
// mapping, saved states) and interprets each record through the record
// types of platform/gdi/EmfRecords.h, which check every count, size and
// offset against the record. A record that does not hold together is
// skipped; playback goes on with the next one.
//
// Owns its object table and saved states; borrows the engine; the items it
// adds belong to the engine.
#pragma once
#include <memory>
#include <optional>
#include <vector>
#include "export/engine/DocumentEngine.h"
#include "platform/gdi/EmfRecords.h"

// A font with the escapement of the logical font it came from.
class TgtFont : public TFont {
public:
  void Assign(TPersistent* Source) override;
  Integer Escapement = 0;   // tenths of a degree, counter-clockwise
};

// The first eight bytes of a logical palette; kept, never read.
struct TgtPalette {
  Word Version = 0, Count = 0;
  DWORD FirstEntry = 0;
};

enum TgtGDIKind : Byte { gkPen, gkBrush, gkFont, gkPalette, gkEmpty };

class TgtGDIOBJ {
public:
  explicit TgtGDIOBJ(TgtGDIKind AKind) : Kind(AKind) {}
  TgtGDIKind Kind;
  TPen Pen;
  TBrush Brush;
  TgtFont Font;
  TgtPalette Palette;
};

class TgtMetaState {
public:
  TgtFont Font;
  TBrush Brush;
  TPen Pen;
  Integer BkMode = 0, MapMode = 0;
  TEmfXForm XForm;
  TPoint WindowExt{1, 1}, ViewportExt{1, 1}, WindowOrg, ViewportOrg;
};

// Text alignment bits of the player.
enum : Byte {
  taNoUpdateCP = 1, taUpdateCP = 2, taLeft = 4, taRight = 8, taCenter = 16, taTop = 32, taBottom = 64,
  taBaseline = 128
};
Byte TextAlignFromMode(DWORD Mode);

// Metrics of a font as the player places and decorates text: descent,
// underscore and strike-out in points at the font's size; ascent in screen
// pixels (how far the baseline lies below the top of the text).
class TgtFontInfo {
public:
  Integer Descent = 0;
  Integer Ascent = 0;
  Integer UnderscorePosition = -1, UnderscoreSize = 0, StrikeoutPosition = 0;
};

class TgtMetafileProcessor {
public:
  explicit TgtMetafileProcessor(TgtCustomDocumentEngine& Engine);
  ~TgtMetafileProcessor();
  TgtMetafileProcessor(const TgtMetafileProcessor&) = delete;
  TgtMetafileProcessor& operator=(const TgtMetafileProcessor&) = delete;

  // Text drawn with TA_UPDATECP is placed from the current position.
  void SetCurrentPositionText(bool Value) { FCurrentPositionText = Value; }
  void Play(const TMetafile& Metafile, double X, double Y);
  // Plays validated metafile bytes (what the recorder writes).
  void PlayBytes(const std::vector<Byte>& Bytes, double X, double Y);
  // One record; a record that does not hold together changes nothing.
  void PlayRecord(const TEmfRecord& Rec);
  // The metrics of Font on the screen under the player's map mode.
  void GetFontInfo(TFont& Font, TgtFontInfo& Info) const;

  TgtDoublePoint TransformPoint(double X, double Y) const;
  TgtDoubleRect TransformRect(const TgtDoubleRect& R) const;
  TgtDoublePoint ApplyWorldTransform(double X, double Y) const;
  double ScaleWidth(double W) const;

  // For tests and the writers' diagnostics.
  Integer ObjectCount() const { return Integer(FObjects.size()); }
  const TgtGDIOBJ* Object(Integer Position) const {
    return Position >= 0 && Position < ObjectCount() ? FObjects[std::size_t(Position)].get() : nullptr;
  }
  Integer SavedStateCount() const { return Integer(FStates.size()); }
  const TgtFont& CurrentFont() const { return FFont; }
  const TPen& CurrentPen() const { return FPen; }
  const TBrush& CurrentBrush() const { return FBrush; }
  Byte TextAlignment() const { return FTextAlign; }
  Integer MapMode() const { return FMapMode; }
  const TEmfXForm& WorldTransform() const { return FXForm; }

private:
  void Dispatch(const TEmfRecord& Rec);
  void UpdateMappingScale();
  bool IsoMode() const { return FMapMode == MM_ISOTROPIC || FMapMode == MM_ANISOTROPIC; }
  TgtDoublePoint T(TPoint P) const;   // TransformPoint plus the origin
  TgtDoublePoint T(double X, double Y) const;

  // Vector, path and clip records (MetafileProcessor.cpp).
  void AddShape(TgtShapeType Type, TgtPoints Points);
  void PlayPoly(const TEmfRecord& Rec);
  void PlayPolyPoly(const TEmfRecord& Rec);
  void AddPath(Byte Command, const TEmfRecord& Rec);
  void PlayClipRegion(const TEmfRecord& Rec);
  void AddClipReset();

  // Objects and state (MetafileProcessor_State.cpp).
  void StoreObject(DWORD Index, std::unique_ptr<TgtGDIOBJ> Obj);
  void SelectObject(DWORD Index);
  void DeleteObject(DWORD Index);
  void SelectStockObject(DWORD Index);
  void CreatePen(const TEmfRecord& Rec);
  void CreateBrush(const TEmfRecord& Rec);
  void CreateDibBrush(const TEmfRecord& Rec);
  void CreateFont(const TEmfRecord& Rec);
  void SaveDCState();
  void RestoreDCState(Integer Relative);

  // Text (MetafileProcessor_Text.cpp).
  void PlayText(const TEmfRecord& Rec);
  void AnchorText(const AnsiString& Text, TFont& Font, Integer Angle, double& X, double& Y);

  // Bitmaps and fills (MetafileProcessor_Bitmaps.cpp).
  void PlayBlt(const TEmfRecord& Rec);
  void PlayDIBitsToDevice(const TEmfRecord& Rec);
  void PlayPaintedRecord(const TEmfRecord& Rec);
  void Fill(DWORD Type, const TgtDoubleRect& F);
  void FlushPendingFill();
  std::shared_ptr<TgtImageItem> NewImageItem();
  Integer FindPreviousImage(double X, double Y, double W, double H) const;
  void StoreImage(DWORD Rop, Integer Index, std::shared_ptr<TgtImageItem> Item, TBitmap& B);
  void AppendImageBand(TBitmap& Band);
  bool CropToVisible(double& X, double& Y, double& W, double& H, TBitmap& B) const;
  TgtItemList& TextList();

  TgtCustomDocumentEngine& FEngine;
  double FOriginX = 0, FOriginY = 0;
  bool FTextOn, FImagesOn, FShapesOn;
  bool FCurrentPositionText = false;
  TPoint FCurPos;
  double FCurPosAdvance = 0;

  Integer FMapMode = 0;
  TPoint FWindowOrg, FWindowExt{1, 1}, FViewportOrg, FViewportExt{1, 1};
  double FScaleX = 1, FScaleY = 1;
  TEmfXForm FXForm;
  double FKx = 1, FKy = 1;

  TgtFont FFont;
  TBrush FBrush;
  TPen FPen;
  TgtPalette FPalette;
  COLORREF FBkColor = 0xFFFFFF;
  Integer FBkMode = OPAQUE;
  COLORREF FTextColor = 0;
  Integer FRop2 = 0;
  Integer FPolyFillMode = 0;
  Byte FTextAlign = taLeft;
  Integer FSymbolFont = -1;

  std::vector<std::unique_ptr<TgtGDIOBJ>> FObjects;   // position = metafile index - 1
  std::vector<std::unique_ptr<TgtMetaState>> FStates;

  TgtDoubleRect FClipRect;
  bool FClipSet = false;
  // The rectangle that clip rectangles leave visible (a picture's frame):
  // pictures are cut to it, so no part of one lands outside it.
  TgtDoubleRect FVisible;
  bool FVisibleSet = false;
  TgtDoubleRect FPending;
  bool FPendingFill = false;
  Integer FCountdown = 0;
};

// The BMP file a DIB of a record makes (file header, info header, colour
// table, bits); false when the info is too short for its colour table or
// the sizes do not hold together.
bool BuildBitmapStream(const std::vector<Byte>& Bmi, const std::vector<Byte>& Bits, TMemoryStream& Out,
                       std::optional<Integer> HeightOverride = std::nullopt);
bool IsSymbolFont(const AnsiString& Name);
Byte CharsetFromCodePage();
Integer PointSizeFromHeight(Integer Height);
