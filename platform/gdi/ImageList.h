// ImageList.h — TCustomImageList / TImageList: a list of same-sized images,
// each with a mask (1 = transparent), drawn masked, blended or in the
// embossed disabled look. Images are kept as 32-bit pixels; drawing goes
// through ordinary blits, so it records into metafiles like any drawing.
#pragma once
#include <vector>
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/Component.h"

struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;
class TStream;

SX_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent)
SX_ENUM(TImageType, itImage, itMask)

class TCustomImageList : public TComponent {
  SX_CLASS(TCustomImageList, TComponent)
public:
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(TComponent* AOwner, Integer AWidth, Integer AHeight);  // CreateSize

  void Assign(TPersistent* Source) override;

  Integer GetWidth() const { return FWidth; }
  Integer GetHeight() const { return FHeight; }
  // A new image size empties the list.
  void SetWidth(Integer Value);
  void SetHeight(Integer Value);
  void SetSize(Integer AWidth, Integer AHeight);
  Integer Count() const { return Integer(FImages.size()); }
  bool GetMasked() const { return FMasked; }
  void SetMasked(bool Value);
  TColor GetBkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  TColor GetBlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value);
  TDrawingStyle DrawingStyle = dsNormal;
  TImageType ImageType = itImage;
  Integer AllocBy = 4;
  TNotifyEvent OnChange;

  // Image is cut into as many images as its width holds (at least one);
  // Mask (may be nil) is monochrome-like: white marks transparent pixels.
  // Both answer the index of the first image added.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  // Pixels of MaskColor are transparent; clDefault takes the colour of the
  // image's top-left pixel.
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  void Insert(Integer Index, TBitmap* Image, TBitmap* Mask);
  void InsertMasked(Integer Index, TBitmap* Image, TColor MaskColor);
  void Replace(Integer Index, TBitmap* Image, TBitmap* Mask);
  void ReplaceMasked(Integer Index, TBitmap* NewImage, TColor MaskColor);
  // Index -1 deletes every image.
  void Delete(Integer Index);
  void Move(Integer CurIndex, Integer NewIndex);
  void Clear();

  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle ADrawingStyle,
            TImageType AImageType, bool Enabled = true);
  // Sizes Image to one image and draws it there; False for a bad index.
  bool GetBitmap(Integer Index, TBitmap* Image);

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  // The list's image-list handle (ImageListHandles.h), made on first use
  // and valid while the list lives.
  HIMAGELIST GetHandle();
  // Links are told of every change (TChangeLink); the list does not own them.
  void RegisterChanges(class TChangeLink* Link);
  void UnRegisterChanges(class TChangeLink* Link);
  ~TCustomImageList() override;

  // The image-list stream of the form description's "Bitmap" data: an 'IL'
  // header, the images as one bitmap of four per row, then their mask.
  // Raises EReadError on data it cannot read.
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);

protected:
  virtual void Change();
  void DefineProperties(TFiler* Filer) override;

private:
  struct TImage {
    std::vector<std::uint32_t> Pixels;  // 0x00RRGGBB, top row first
    std::vector<Byte> Mask;             // 1 = transparent
  };
  std::vector<TImage> Cut(TBitmap* Image, TBitmap* Mask, bool ByColor, TColor MaskColor) const;
  void CheckIndex(Integer Index, bool AllowEnd = false) const;
  void DoDraw(TCanvas* Canvas, Integer X, Integer Y, const TImage& Img, TDrawingStyle Style,
              TImageType Type, bool Enabled);

  Integer FWidth = 16, FHeight = 16;
  bool FMasked = true;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  std::vector<TImage> FImages;
  Integer FUpdateCount = 0;
  bool FChanged = false;
  HIMAGELIST FHandle = nullptr;
  std::vector<class TChangeLink*> FLinks;
  friend struct TImageListAccess;
};

// Hears of an image list's changes while registered with it.
class TChangeLink : public TObject {
public:
  ~TChangeLink() override;
  TCustomImageList* Sender = nullptr;
  TNotifyEvent OnChange;
  virtual void Change() {
    if (OnChange.Assigned()) OnChange(Sender);
  }
};

class TImageList : public TCustomImageList {
  SX_CLASS(TImageList, TCustomImageList)
public:
  using TCustomImageList::TCustomImageList;
  static void Published(TPublished<TImageList>& P);
};
