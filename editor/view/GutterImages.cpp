#include "editor/view/GutterImages.h"

#include "platform/win/Resources.h"

TGutterImage::TGutterImage(TCollection* ACollection)
    : TDCNamedItem(ACollection), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->OnChange = TNotifyEvent(this, &TGutterImage::GlyphChanged);
}

TGutterImage::~TGutterImage() { FGlyph->OnChange = TNotifyEvent(); }

void TGutterImage::Published(TPublished<TGutterImage>& P) {
  P.Property("Name", &TGutterImage::GetName, &TGutterImage::SetName);
  P.Property("Glyph", &TGutterImage::GetGlyph, &TGutterImage::SetGlyph);
  P.Property("BookmarkIndex", &TGutterImage::GetBookmarkIndex, &TGutterImage::SetBookmarkIndex)
      .Stored(&TGutterImage::IsBookmarkIndexStored);
}

void TGutterImage::SetBookmarkIndex(Integer Value) {
  if (Value == FBookmarkIndex) return;
  FBookmarkIndex = Value;
  ItemChanged();
}

void TGutterImage::GlyphChanged(TObject* /*Sender*/) {
  ItemChanged();
  FGlyph->Dormant();
}

TDCGutterImages::TDCGutterImages(TPersistent* AOwner) : TDCNamedItems(AOwner, TGutterImage::StaticClass()) {}

TGutterImage* TDCGutterImages::BookmarkImage(Integer Digit) const {
  return Digit >= 0 && Digit < 10 ? FBookmarkMap[size_t(Digit)] : nullptr;
}

void TDCGutterImages::RebuildBookmarkMap() {
  FBookmarkMap.fill(nullptr);
  for (Integer I = 0; I < Count(); ++I) {
    TGutterImage* G = Image(I);
    const Integer B = G->GetBookmarkIndex();
    if (B >= 0 && B < 10) FBookmarkMap[size_t(B)] = G;
  }
}

TGutterImage* AddGutterImage(TDCGutterImages* Images, const char* ResName, const AnsiString& Name,
                             Integer BookmarkIndex) {
  auto* G = static_cast<TGutterImage*>(Images->Add());
  if (HBITMAP Bmp = LoadProgramBitmap(ResName)) G->GetGlyph()->SetHandle(Bmp);
  G->SetName(Name);
  G->SetBookmarkIndex(BookmarkIndex);
  return G;
}
