// Metafile.h — TMetafile: a picture kept as an enhanced metafile handle,
// loaded from and saved as EMF or placeable WMF; and TMetafileCanvas, a
// canvas over a recording DC whose drawing becomes the metafile when the
// canvas is destroyed.
//
// Sizes: MMWidth/MMHeight in .01 mm; Width/Height in screen pixels (96 per
// inch) derived from them.
#pragma once
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Picture.h"

class TMetafile : public TGraphic {
  SX_CLASS(TMetafile, TGraphic)
public:
  TMetafile() = default;
  ~TMetafile() override;

  void Assign(TPersistent* Source) override;
  void Clear();

  bool Empty() const override { return FHandle == nullptr; }
  Integer GetWidth() const override;
  Integer GetHeight() const override;
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;
  Integer GetMMWidth() const { return FMMWidth; }
  Integer GetMMHeight() const { return FMMHeight; }
  void SetMMWidth(Integer Value);
  void SetMMHeight(Integer Value);
  // Saved as EMF when True, as placeable WMF when False.
  bool GetEnhanced() const { return FEnhanced; }
  void SetEnhanced(bool Value);
  // Units per inch of a placeable WMF's bounding box.
  Word GetInch() const { return FInch; }
  void SetInch(Word Value);

  // Owned; setting takes ownership and reads the size from the frame.
  HENHMETAFILE GetHandle() const { return FHandle; }
  void SetHandle(HENHMETAFILE Value);
  HENHMETAFILE ReleaseHandle();
  AnsiString GetCreatedBy() const;
  AnsiString GetDescription() const;

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromBytes(const std::vector<Byte>& Data);

protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

private:
  HENHMETAFILE FHandle = nullptr;
  Integer FMMWidth = 0, FMMHeight = 0;
  bool FEnhanced = true;
  Word FInch = 0;
};

class TMetafileCanvas : public TCanvas {
  SX_CLASS(TMetafileCanvas, TCanvas)
public:
  // ReferenceDevice null means the screen. A metafile without a size takes
  // the reference device's whole area.
  TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice);
  TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice, const AnsiString& CreatedBy,
                  const AnsiString& Description);
  // Closes the recording into the metafile.
  ~TMetafileCanvas() override;

private:
  void Start(HDC ReferenceDevice, const AnsiString& CreatedBy, const AnsiString& Description, bool Comment);
  TMetafile* FMetafile;
};
