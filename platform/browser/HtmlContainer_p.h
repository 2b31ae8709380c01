// HtmlContainer_p.h — what the layout engine calls back into: fonts,
// text measuring and drawing, borders, backgrounds, images and clipping,
// all through this platform's GDI, plus the page's events (title, base
// address, link clicks, cursor). One container serves every piece of a
// page; fonts and images are shared between them and freed with it.
//
// Images come only from local files (plain paths and file: addresses,
// resolved against the page's folder) and only while images are enabled;
// anything else is never fetched and takes no room.
#pragma once
#include <litehtml/litehtml.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/Types.h"

// The user-agent style sheet: how the elements look before the page's own
// rules.
extern const char* const HtmlDefaultStyleSheet;

class THtmlContainer final : public litehtml::document_container {
public:
  THtmlContainer();
  ~THtmlContainer();

  // The folder (with a trailing separator) relative image names resolve to.
  void SetBaseFolder(const std::string& Folder) { FBaseFolder = Folder; }
  void SetImagesEnabled(bool On) { FImagesEnabled = On; }
  void SetClientSize(int Width, int Height) { FClientWidth = Width, FClientHeight = Height; }

  std::function<void(const std::string&)> OnCaption;
  std::function<void(const std::string&)> OnAnchorClick;  // the address as written
  std::string Cursor;                                    // the last cursor the page asked for

  // The text of a selection run, for hit tests: a word's width up to Count
  // bytes in the given font.
  int TextWidthPrefix(const char* Text, std::size_t Count, litehtml::uint_ptr Font);

  // --- litehtml::document_container ---
  litehtml::uint_ptr create_font(const char* FaceName, int Size, int Weight, litehtml::font_style Italic,
                                 unsigned int Decoration, litehtml::font_metrics* Fm) override;
  void delete_font(litehtml::uint_ptr) override {}
  int text_width(const char* Text, litehtml::uint_ptr Font) override;
  void draw_text(litehtml::uint_ptr Hdc, const char* Text, litehtml::uint_ptr Font, litehtml::web_color Color,
                 const litehtml::position& Pos) override;
  int pt_to_px(int Pt) const override { return Pt * 96 / 72; }
  int get_default_font_size() const override { return 16; }
  const char* get_default_font_name() const override { return "Times New Roman"; }
  void draw_list_marker(litehtml::uint_ptr Hdc, const litehtml::list_marker& Marker) override;
  void load_image(const char* Src, const char* BaseUrl, bool RedrawOnReady) override;
  void get_image_size(const char* Src, const char* BaseUrl, litehtml::size& Sz) override;
  void draw_background(litehtml::uint_ptr Hdc, const litehtml::background_paint& Bg) override;
  void draw_borders(litehtml::uint_ptr Hdc, const litehtml::borders& Borders, const litehtml::position& DrawPos,
                    bool Root) override;
  void set_caption(const char* Caption) override;
  void set_base_url(const char* BaseUrl) override;
  void link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) override {}
  void on_anchor_click(const char* Url, const litehtml::element::ptr& El) override;
  void set_cursor(const char* Cursor) override { this->Cursor = Cursor ? Cursor : ""; }
  void transform_text(std::string& Text, litehtml::text_transform Tt) override;
  void import_css(std::string& Text, const std::string& Url, std::string& BaseUrl) override;
  void set_clip(const litehtml::position& Pos, const litehtml::border_radiuses& Radius, bool ValidX,
                bool ValidY) override;
  void del_clip() override;
  void get_client_rect(litehtml::position& Client) const override;
  std::shared_ptr<litehtml::element> create_element(const char*, const litehtml::string_map&,
                                                    const std::shared_ptr<litehtml::document>&) override {
    return nullptr;
  }
  void get_media_features(litehtml::media_features& Media) const override;
  void get_language(std::string& Language, std::string& Culture) const override;

  // The drawing context of the paint in progress (clips nest on it).
  void BeginPaint(HDC Dc) { FPaintDc = Dc, FClipDepth = 0; }
  void EndPaint();

private:
  struct TImage {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Pixels;  // 0x00RRGGBB, top row first, composed on white
  };
  struct TFont {
    HFONT Handle = nullptr;
    litehtml::font_metrics Metrics;
  };
  // The local file an image address names; '' when it is not local.
  std::string LocalPath(const std::string& Src, const std::string& BaseUrl) const;
  const TImage* Image(const std::string& Src, const std::string& BaseUrl);
  void DrawImage(HDC Dc, const TImage& Img, int X, int Y, int W, int H);
  TFont* FontOf(litehtml::uint_ptr Font) { return reinterpret_cast<TFont*>(Font); }

  HDC FMeasureDc = nullptr;
  HDC FPaintDc = nullptr;
  int FClipDepth = 0;
  std::string FBaseFolder;
  bool FImagesEnabled = true;
  int FClientWidth = 0, FClientHeight = 0;
  std::map<std::string, std::unique_ptr<TFont>> FFonts;
  std::map<std::string, std::unique_ptr<TImage>> FImages;
  std::unordered_map<std::string, int> FWidths;  // font pointer + text -> width
  HFONT FSelected = nullptr;
};
