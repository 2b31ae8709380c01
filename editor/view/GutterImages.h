// GutterImages.h — the pictures the editor's gutter shows for line marks
// and bookmarks: line-mark bit i of a line shows image i of the collection;
// bookmark n (1 to 9, 10 for the digit 0) the image whose BookmarkIndex is
// n mod 10.
//
// The collection owns its images; each image owns its glyph.
#pragma once
#include <array>
#include <memory>
#include "editor/base/NamedItems.h"
#include "platform/gdi/Bitmap.h"

class TGutterImage : public TDCNamedItem {
  SX_CLASS(TGutterImage, TDCNamedItem)
public:
  explicit TGutterImage(TCollection* ACollection);
  ~TGutterImage() override;
  static void Published(TPublished<TGutterImage>& P);

  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
  // -1: no bookmark. Values past 9 are kept but no bookmark shows them.
  Integer GetBookmarkIndex() const { return FBookmarkIndex; }
  void SetBookmarkIndex(Integer Value);
  bool IsBookmarkIndexStored() const { return FBookmarkIndex != -1; }

  // Fired by the editor when the image is clicked in the gutter.
  TNotifyEvent OnClick;

private:
  void GlyphChanged(TObject* Sender);
  std::unique_ptr<TBitmap> FGlyph;
  Integer FBookmarkIndex = -1;
};

class TDCGutterImages : public TDCNamedItems {
  SX_CLASS(TDCGutterImages, TDCNamedItems)
public:
  explicit TDCGutterImages(TPersistent* AOwner);
  TGutterImage* Image(Integer Index) const { return static_cast<TGutterImage*>(Items(Index)); }
  // The image of each bookmark digit (0 to 9), nil where none; rebuilt
  // with RebuildBookmarkMap after the images change.
  TGutterImage* BookmarkImage(Integer Digit) const;
  void RebuildBookmarkMap();

private:
  std::array<TGutterImage*, 10> FBookmarkMap{};
};

// Adds an image whose glyph is the program's bitmap resource ResName (empty
// when the program has none).
TGutterImage* AddGutterImage(TDCGutterImages* Images, const char* ResName, const AnsiString& Name,
                             Integer BookmarkIndex);
