// PngEngine.h — TgtPNGEngine: one PNG file per page with our own encoder
// over zlib: four colour types at 8 bits per sample, optional physical
// pixel size, a transparent colour or one alpha for the whole page, and the
// document information as compressed text chunks.
//
// Transparency is opt-in: without Transparency.Enabled a page carries no
// tRNS chunk and its alpha samples are 255, so white stays white.
#pragma once
#include <memory>
#include "export/engine/Containers.h"
#include "export/image/GraphicsEngine.h"

enum TgtPNGColorType : Byte { ctGrayscale, ctRGB, ctRGBA, ctGrayAlpha };
enum TgtPNGUnitSpecifier : Byte { usNone, usMeter };
using TgtPercentage = Integer;  // 0..100

class TgtPNGTransparency : public TPersistent {
public:
  // Mode 0 or 1 lets Enabled be switched; any other mode keeps it on.
  explicit TgtPNGTransparency(Byte Mode = 1) : FMode(Mode), FEnabled(Mode > 1) {}
  void Assign(TPersistent* Source) override;
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = FMode <= 1 ? Value : true; }
  // Percent; stored as a byte (50 keeps 127 and reads back 49).
  TgtPercentage GetImageAlpha() const { return FAlpha * 100 / 255; }
  void SetImageAlpha(TgtPercentage Value);
  Byte GetAlphaByte() const { return FAlpha; }
  TColor GetTransColor() const { return FTransColor; }
  void SetTransColor(TColor Value) { FTransColor = Value; }

private:
  Byte FMode;
  bool FEnabled;
  Byte FAlpha = 0;
  TColor FTransColor = TColor(0xFFFFFF);
};

class TgtPNGPixelDimensions : public TPersistent {
public:
  void Assign(TPersistent* Source) override;
  bool Enabled = false;
  Cardinal XPixelsPerUnit = 1, YPixelsPerUnit = 1;
  TgtPNGUnitSpecifier UnitSpecifier = usNone;
};

class TgtPNGEngine : public TgtCustomGraphicsEngine {
public:
  explicit TgtPNGEngine(TComponent* AOwner);
  ~TgtPNGEngine() override;
  // The "PNG Setup" dialog (export/dialogs).
  Word ShowSetupDialog() override;

  TgtPNGColorType GetColorType() const { return FColorType; }
  void SetColorType(TgtPNGColorType Value) { FColorType = Value; }
  TgtPNGTransparency* GetTransparency() const { return FTransparency.get(); }
  // Copies Value into the engine's own object.
  void SetTransparency(TgtPNGTransparency* Value) { FTransparency->Assign(Value); }
  TgtPNGPixelDimensions* GetPixelDimensions() const { return FPixelDimensions.get(); }
  void SetPixelDimensions(TgtPNGPixelDimensions* Value) { FPixelDimensions->Assign(Value); }

  // The whole PNG file of a bitmap with the engine's settings.
  void WritePNG(TStream* Stream, TBitmap* Bitmap);
  // Length, Chunk (type and data) and the CRC of Chunk.
  static void WriteChunk(TStream* Stream, DWORD DataLength, const TgtExtMemStream& Chunk);
  static DWORD ChunkCRC(const TgtExtMemStream& Chunk);
  // A zTXt chunk: keyword by index (Title, Author, Description, Copyright,
  // Creation Time, Software, Disclaimer, Warning, Source, Comment), then the
  // deflated text.
  static void WriteTextChunk(TStream* Stream, Integer KeywordIndex, const WideString& Text);
  static void SplitColor(TColor Color, Byte& R, Byte& G, Byte& B);

protected:
  // --- the writer's interface ---
  void EndPage() override;

private:
  TgtPNGColorType FColorType = ctRGB;
  std::unique_ptr<TgtPNGTransparency> FTransparency;
  std::unique_ptr<TgtPNGPixelDimensions> FPixelDimensions;
};

extern const char* const SPNGDescription;
extern const char* const gtPNGCopyright;
