// DrawingTools.h — the class library's drawing tools: TFont, TPen and
// TBrush. Each is a description that turns into a GDI handle on first use
// (Handle) and drops that handle whenever the description changes, then
// tells its owner through OnChange. A canvas watches OnChange to reselect.
//
// Font handles come from the GDI layer, which hands one handle to every
// equal description and counts its creators: two TFonts with the same
// description hold the same HFONT, and each one's DeleteObject only drops
// its own claim.
#pragma once
#include "platform/gdi/FontTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Persistent.h"

class TBitmap;

SX_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
SX_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
using TFontCharset = Byte;
// The character set names the object text form uses for TFont.Charset
// (ANSI_CHARSET …); a value without a name streams as its number.
bool CharsetToIdent(Integer Charset, AnsiString& Ident);
bool IdentToCharset(const AnsiString& Ident, Integer& Charset);
const TTypeInfo* FontCharsetTypeInfo();
using TFontName = AnsiString;

SX_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
SX_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
        pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)
SX_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
        bsDiagCross)

// The ROP2 code a pen mode draws with, and the GDI pen style of a TPenStyle.
int PenModeToRop2(TPenMode Mode);
DWORD PenStyleToGdi(TPenStyle Style);

// The common base: change notification and a lock count that callers on
// other threads may use around a batch of changes.
class TGraphicsObject : public TPersistent {
  SX_CLASS(TGraphicsObject, TPersistent)
public:
  ~TGraphicsObject() override;
  TNotifyEvent OnChange;
  bool HandleAllocated() const { return FHandle != nullptr; }

protected:
  // Frees the current handle and fires OnChange.
  virtual void Changed();
  void FreeHandle();
  HGDIOBJ FHandle = nullptr;
};

class TFont : public TGraphicsObject {
  SX_CLASS(TFont, TGraphicsObject)
public:
  TFont();

  void Assign(TPersistent* Source) override;

  // The HFONT of the description; made on first use, shared with equal
  // descriptions. Setting a handle reads its LOGFONT back into the
  // properties (the TFont takes over that claim on the handle).
  HFONT GetHandle();
  void SetHandle(HFONT Value);

  const TFontName& GetName() const { return FName; }
  void SetName(const TFontName& Value);
  // Points at PixelsPerInch: Size = -MulDiv(Height, 72, PixelsPerInch).
  Integer GetSize() const;
  void SetSize(Integer Value);
  // Pixels; negative for the character height, positive for the cell height.
  Integer GetHeight() const { return FHeight; }
  void SetHeight(Integer Value);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TFontCharset GetCharset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  Integer PixelsPerInch = 96;

  // The LOGFONT the handle is made from.
  LOGFONTA MakeLogFont() const;

  static void Published(TPublished<TFont>& P);

private:
  TFontName FName = "MS Sans Serif";
  Integer FHeight = -11;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
};

class TPen : public TGraphicsObject {
  SX_CLASS(TPen, TGraphicsObject)
public:
  TPen() = default;
  void Assign(TPersistent* Source) override;

  HPEN GetHandle();
  void SetHandle(HPEN Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  // Not part of the handle: the canvas applies it with SetROP2.
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer Value);

  static void Published(TPublished<TPen>& P);

private:
  TColor FColor = clBlack;
  TPenMode FMode = pmCopy;
  TPenStyle FStyle = psSolid;
  Integer FWidth = 1;
};

class TBrush : public TGraphicsObject {
  SX_CLASS(TBrush, TGraphicsObject)
public:
  TBrush() = default;
  void Assign(TPersistent* Source) override;

  HBRUSH GetHandle();
  void SetHandle(HBRUSH Value);
  TColor GetColor() const { return FColor; }
  // A clear brush that is given a colour becomes solid.
  void SetColor(TColor Value);
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // The pattern, borrowed: the caller keeps the bitmap alive while the
  // brush uses it. The brush copies its pixels when the handle is made.
  TBitmap* GetBitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);

  static void Published(TPublished<TBrush>& P);

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
};
