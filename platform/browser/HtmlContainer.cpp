#include "platform/browser/HtmlContainer_p.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/JpegCodec.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/FileUtils.h"

namespace {

COLORREF ColorOf(const litehtml::web_color& C) { return RGB(C.red, C.green, C.blue); }

WideString Wide(const char* Utf8, std::size_t Count) { return UTF8Decode(UTF8String(Utf8, Count)); }

// The first family of a CSS font list that this platform can name: quotes
// dropped, the generic families as the Windows faces they stand for.
std::string FaceOf(const char* List) {
  std::string S = List ? List : "";
  std::size_t Start = 0;
  while (Start <= S.size()) {
    std::size_t End = S.find(',', Start);
    if (End == std::string::npos) End = S.size();
    std::string F = S.substr(Start, End - Start);
    F.erase(0, F.find_first_not_of(" \t\"'"));
    F.erase(F.find_last_not_of(" \t\"'") + 1 > F.size() ? F.size() : F.find_last_not_of(" \t\"'") + 1);
    std::string L = F;
    for (char& C : L) C = char(std::tolower(static_cast<unsigned char>(C)));
    if (L == "serif") return "Times New Roman";
    if (L == "sans-serif") return "Arial";
    if (L == "monospace") return "Courier New";
    if (L == "cursive" || L == "fantasy") return "Times New Roman";
    if (!F.empty()) return F;
    Start = End + 1;
  }
  return "Times New Roman";
}

// Whether an address names a scheme other than file: (http:, data: ...);
// a drive-letter-free Unix path has none.
bool HasForeignScheme(const std::string& S) {
  const std::size_t Colon = S.find(':');
  if (Colon == std::string::npos || Colon < 2) return false;
  for (std::size_t I = 0; I < Colon; ++I)
    if (!std::isalnum(static_cast<unsigned char>(S[I])) && S[I] != '+' && S[I] != '-' && S[I] != '.') return false;
  std::string Scheme = S.substr(0, Colon);
  for (char& C : Scheme) C = char(std::tolower(static_cast<unsigned char>(C)));
  return Scheme != "file";
}

// A regular file's bytes, '' when it is something else (a folder, a device
// that never ends) or larger than Limit.
std::string ReadLocalFile(const std::string& Path, std::size_t Limit) {
  std::error_code Ec;
  if (!std::filesystem::is_regular_file(Path, Ec) || std::filesystem::file_size(Path, Ec) > Limit || Ec) return {};
  std::ifstream In(Path, std::ios::binary);
  std::string Bytes;
  Bytes.resize(Limit);
  In.read(Bytes.data(), std::streamsize(Limit));
  Bytes.resize(std::size_t(In.gcount()));
  return Bytes;
}

}  // namespace

THtmlContainer::THtmlContainer() : FMeasureDc(CreateCompatibleDC(nullptr)) {}

THtmlContainer::~THtmlContainer() {
  if (FMeasureDc) DeleteDC(FMeasureDc);
  for (auto& [Key, F] : FFonts)
    if (F->Handle) DeleteObject(F->Handle);
}

litehtml::uint_ptr THtmlContainer::create_font(const char* FaceName, int Size, int Weight,
                                               litehtml::font_style Italic, unsigned int Decoration,
                                               litehtml::font_metrics* Fm) {
  const std::string Face = FaceOf(FaceName);
  const std::string Key = Face + '\n' + std::to_string(Size) + '\n' + std::to_string(Weight) + '\n' +
                          std::to_string(int(Italic)) + '\n' + std::to_string(Decoration);
  auto It = FFonts.find(Key);
  if (It == FFonts.end()) {
    auto F = std::make_unique<TFont>();
    LOGFONTW Lf;
    Lf.lfHeight = -std::clamp(Size, 1, 2000);
    Lf.lfWeight = std::clamp(Weight, 100, 900);
    Lf.lfItalic = Italic == litehtml::fontStyleItalic;
    Lf.lfUnderline = (Decoration & litehtml::font_decoration_underline) != 0;
    Lf.lfStrikeOut = (Decoration & litehtml::font_decoration_linethrough) != 0;
    Lf.lfCharSet = DEFAULT_CHARSET;
    const WideString W = UTF8Decode(Face);
    std::copy_n(W.begin(), std::min<std::size_t>(W.size(), LF_FACESIZE - 1), Lf.lfFaceName);
    F->Handle = CreateFontIndirectW(&Lf);
    HGDIOBJ Old = SelectObject(FMeasureDc, F->Handle);
    TEXTMETRICW Tm;
    GetTextMetricsW(FMeasureDc, &Tm);
    TSize X{};
    GetTextExtentPoint32W(FMeasureDc, u"x", 1, &X);
    SelectObject(FMeasureDc, Old);
    FSelected = nullptr;
    F->Metrics.height = Tm.tmHeight;
    F->Metrics.ascent = Tm.tmAscent;
    F->Metrics.descent = Tm.tmDescent;
    // The x-height is about half the ascent in the faces this platform maps to.
    F->Metrics.x_height = std::max<int>(1, Tm.tmAscent / 2);
    F->Metrics.draw_spaces = Lf.lfUnderline || Lf.lfStrikeOut;
    It = FFonts.emplace(Key, std::move(F)).first;
  }
  if (Fm) *Fm = It->second->Metrics;
  return reinterpret_cast<litehtml::uint_ptr>(It->second.get());
}

int THtmlContainer::TextWidthPrefix(const char* Text, std::size_t Count, litehtml::uint_ptr Font) {
  TFont* F = FontOf(Font);
  if (!F || !Text || Count == 0) return 0;
  const WideString W = Wide(Text, Count);
  if (FSelected != F->Handle) {
    SelectObject(FMeasureDc, F->Handle);
    FSelected = F->Handle;
  }
  TSize Sz{};
  GetTextExtentPoint32W(FMeasureDc, reinterpret_cast<const WCHAR*>(W.data()), int(W.size()), &Sz);
  return Sz.cx;
}

int THtmlContainer::text_width(const char* Text, litehtml::uint_ptr Font) {
  if (!Text || !*Text) return 0;
  // Pages repeat their words: measure each word once per font.
  std::string Key(reinterpret_cast<const char*>(&Font), sizeof Font);
  Key += Text;
  auto It = FWidths.find(Key);
  if (It != FWidths.end()) return It->second;
  const int W = TextWidthPrefix(Text, std::strlen(Text), Font);
  if (FWidths.size() > 200000) FWidths.clear();
  FWidths.emplace(std::move(Key), W);
  return W;
}

void THtmlContainer::draw_text(litehtml::uint_ptr Hdc, const char* Text, litehtml::uint_ptr Font,
                               litehtml::web_color Color, const litehtml::position& Pos) {
  TFont* F = FontOf(Font);
  if (!F || !Text || Color.alpha == 0) return;
  HDC Dc = reinterpret_cast<HDC>(Hdc);
  const WideString W = Wide(Text, std::strlen(Text));
  HGDIOBJ Old = SelectObject(Dc, F->Handle);
  SetBkMode(Dc, TRANSPARENT);
  SetTextColor(Dc, ColorOf(Color));
  SetTextAlign(Dc, TA_LEFT | TA_TOP);
  TextOutW(Dc, Pos.x, Pos.y, reinterpret_cast<const WCHAR*>(W.data()), int(W.size()));
  SelectObject(Dc, Old);
}

void THtmlContainer::draw_list_marker(litehtml::uint_ptr Hdc, const litehtml::list_marker& Marker) {
  HDC Dc = reinterpret_cast<HDC>(Hdc);
  const litehtml::position& P = Marker.pos;
  const COLORREF C = ColorOf(Marker.color);
  if (Marker.marker_type == litehtml::list_style_type_none) return;
  if (Marker.marker_type == litehtml::list_style_type_disc || Marker.marker_type == litehtml::list_style_type_circle ||
      Marker.marker_type == litehtml::list_style_type_square) {
    HBRUSH Brush = Marker.marker_type == litehtml::list_style_type_circle ? HBRUSH(GetStockObject(NULL_BRUSH))
                                                                          : CreateSolidBrush(C);
    HPEN Pen = CreatePen(PS_SOLID, 1, C);
    HGDIOBJ OldB = SelectObject(Dc, Brush), OldP = SelectObject(Dc, Pen);
    if (Marker.marker_type == litehtml::list_style_type_square)
      Rectangle(Dc, P.x, P.y, P.right(), P.bottom());
    else
      Ellipse(Dc, P.x, P.y, P.right(), P.bottom());
    SelectObject(Dc, OldB);
    SelectObject(Dc, OldP);
    DeleteObject(Pen);
    if (Marker.marker_type != litehtml::list_style_type_circle) DeleteObject(Brush);
    return;
  }
  // Numbered kinds: the number, right-aligned before the item.
  TFont* F = FontOf(Marker.font);
  if (!F) return;
  const std::string Text = std::to_string(Marker.index) + ".";
  const int W = text_width(Text.c_str(), Marker.font);
  litehtml::position At = P;
  At.x = P.right() - W;
  draw_text(Hdc, Text.c_str(), Marker.font, Marker.color, At);
}

std::string THtmlContainer::LocalPath(const std::string& Src, const std::string& BaseUrl) const {
  if (Src.empty() || HasForeignScheme(Src)) return {};
  std::string Path = Src;
  if (Path.compare(0, 5, "file:") == 0) {
    Path.erase(0, 5);
    // file:///path and file://localhost/path; file:/path too.
    if (Path.compare(0, 2, "//") == 0) {
      Path.erase(0, 2);
      const std::size_t Slash = Path.find('/');
      Path = Slash == std::string::npos ? std::string() : Path.substr(Slash);
    }
    Path = PercentDecode(Path);
  }
  const std::size_t Cut = Path.find_first_of("?#");
  if (Cut != std::string::npos) Path.erase(Cut);
  std::replace(Path.begin(), Path.end(), '\\', '/');
  if (Path.empty()) return {};
  if (Path[0] == '/') return Path;
  std::string Base = BaseUrl.empty() ? FBaseFolder : BaseUrl;
  if (!Base.empty() && HasForeignScheme(Base)) return {};
  if (Base.compare(0, 7, "file://") == 0) Base = LocalPath(Base, "");
  if (!Base.empty() && Base.back() != '/') Base = ExtractFilePath(Base);
  return Base + Path;
}

const THtmlContainer::TImage* THtmlContainer::Image(const std::string& Src, const std::string& BaseUrl) {
  if (!FImagesEnabled) return nullptr;
  const std::string Path = LocalPath(Src, BaseUrl);
  if (Path.empty()) return nullptr;
  auto It = FImages.find(Path);
  if (It == FImages.end()) {
    auto Img = std::make_unique<TImage>();
    // Pictures beyond 64 MB are not a page's; they are left out.
    const std::string Bytes = ReadLocalFile(Path, std::size_t(64) << 20);
    const std::vector<Byte> Data(Bytes.begin(), Bytes.end());
    try {
      TDib Dib;
      if (IsPngData(Data.data(), Data.size())) Dib = ReadPng(Data);
      else if (IsJpegData(Data.data(), Data.size())) Dib = JpegDecompress(Data);
      else if (IsBmpData(Data.data(), Data.size())) Dib = ReadBmp(Data);
      if (!Dib.Empty()) {
        Img->Width = Dib.Width();
        Img->Height = Dib.Height();
        Img->Pixels = DibToBgra32(Dib);
        const bool HasAlpha = std::any_of(Img->Pixels.begin(), Img->Pixels.end(),
                                          [](std::uint32_t P) { return (P >> 24) != 0; });
        for (std::uint32_t& P : Img->Pixels) {
          // Transparent pixels over the page's usual white.
          const std::uint32_t A = HasAlpha ? P >> 24 : 255;
          auto Mix = [&](int Shift) { return (((P >> Shift) & 0xFF) * A + 255 * (255 - A)) / 255; };
          P = (Mix(16) << 16) | (Mix(8) << 8) | Mix(0);
        }
      }
    } catch (const std::exception&) {
      // A broken picture takes no room, as a missing one.
      Img = std::make_unique<TImage>();
    }
    It = FImages.emplace(Path, std::move(Img)).first;
  }
  return It->second->Width > 0 ? It->second.get() : nullptr;
}

void THtmlContainer::load_image(const char* Src, const char* BaseUrl, bool) {
  Image(Src ? Src : "", BaseUrl ? BaseUrl : "");
}

void THtmlContainer::get_image_size(const char* Src, const char* BaseUrl, litehtml::size& Sz) {
  const TImage* Img = Image(Src ? Src : "", BaseUrl ? BaseUrl : "");
  Sz.width = Img ? Img->Width : 0;
  Sz.height = Img ? Img->Height : 0;
}

void THtmlContainer::DrawImage(HDC Dc, const TImage& Img, int X, int Y, int W, int H) {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = Img.Width;
  Info.bmiHeader.biHeight = -Img.Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(Dc, COLORONCOLOR);
  StretchDIBits(Dc, X, Y, W, H, 0, 0, Img.Width, Img.Height, Img.Pixels.data(), &Info, DIB_RGB_COLORS, SRCCOPY);
}

void THtmlContainer::draw_background(litehtml::uint_ptr Hdc, const litehtml::background_paint& Bg) {
  HDC Dc = reinterpret_cast<HDC>(Hdc);
  const litehtml::position& Clip = Bg.clip_box;
  if (Bg.color.alpha > 0 && Clip.width > 0 && Clip.height > 0) {
    HBRUSH B = CreateSolidBrush(ColorOf(Bg.color));
    const TRect R{Clip.x, Clip.y, Clip.right(), Clip.bottom()};
    FillRect(Dc, &R, B);
    DeleteObject(B);
  }
  if (Bg.image.empty()) return;
  const TImage* Img = Image(Bg.image, Bg.baseurl);
  if (!Img) return;
  const int W = Bg.image_size.width > 0 ? Bg.image_size.width : Img->Width;
  const int H = Bg.image_size.height > 0 ? Bg.image_size.height : Img->Height;
  if (W <= 0 || H <= 0) return;
  const int SaveId = SaveDC(Dc);
  IntersectClipRect(Dc, Clip.x, Clip.y, Clip.right(), Clip.bottom());
  int X0 = Bg.origin_box.x + Bg.position_x, Y0 = Bg.origin_box.y + Bg.position_y;
  const bool RepX = Bg.repeat == litehtml::background_repeat_repeat || Bg.repeat == litehtml::background_repeat_repeat_x;
  const bool RepY = Bg.repeat == litehtml::background_repeat_repeat || Bg.repeat == litehtml::background_repeat_repeat_y;
  if (RepX) X0 -= ((X0 - Clip.x) / W + 1) * W;
  if (RepY) Y0 -= ((Y0 - Clip.y) / H + 1) * H;
  // Tiles beyond a screenful of them add nothing one can see.
  int Tiles = 0;
  for (int Y = Y0; Y < (RepY ? Clip.bottom() : Y0 + 1) && Tiles < 20000; Y += H)
    for (int X = X0; X < (RepX ? Clip.right() : X0 + 1) && Tiles < 20000; X += W, ++Tiles)
      DrawImage(Dc, *Img, X, Y, W, H);
  RestoreDC(Dc, SaveId);
}

void THtmlContainer::draw_borders(litehtml::uint_ptr Hdc, const litehtml::borders& Borders,
                                  const litehtml::position& P, bool) {
  HDC Dc = reinterpret_cast<HDC>(Hdc);
  auto Side = [&](const litehtml::border& B, const TRect& R) {
    if (B.width <= 0 || B.style == litehtml::border_style_none || B.style == litehtml::border_style_hidden) return;
    if (B.color.alpha == 0 || R.IsEmpty()) return;
    HBRUSH Brush = CreateSolidBrush(ColorOf(B.color));
    FillRect(Dc, &R, Brush);
    DeleteObject(Brush);
  };
  Side(Borders.top, TRect{P.x, P.y, P.right(), P.y + Borders.top.width});
  Side(Borders.bottom, TRect{P.x, P.bottom() - Borders.bottom.width, P.right(), P.bottom()});
  Side(Borders.left, TRect{P.x, P.y, P.x + Borders.left.width, P.bottom()});
  Side(Borders.right, TRect{P.right() - Borders.right.width, P.y, P.right(), P.bottom()});
}

void THtmlContainer::set_caption(const char* Caption) {
  if (OnCaption) OnCaption(Caption ? Caption : "");
}

void THtmlContainer::set_base_url(const char* BaseUrl) {
  if (BaseUrl && *BaseUrl && !HasForeignScheme(BaseUrl)) FBaseFolder = LocalPath(BaseUrl, FBaseFolder);
}

void THtmlContainer::on_anchor_click(const char* Url, const litehtml::element::ptr&) {
  if (OnAnchorClick) OnAnchorClick(Url ? Url : "");
}

void THtmlContainer::transform_text(std::string& Text, litehtml::text_transform Tt) {
  if (Tt == litehtml::text_transform_none) return;
  WideString W = UTF8Decode(Text);
  bool Start = true;
  for (char16_t& C : W) {
    const bool Letter = std::iswalpha(wint_t(C));
    if (Tt == litehtml::text_transform_uppercase || (Tt == litehtml::text_transform_capitalize && Start && Letter))
      C = char16_t(std::towupper(wint_t(C)));
    else if (Tt == litehtml::text_transform_lowercase)
      C = char16_t(std::towlower(wint_t(C)));
    Start = !Letter;
  }
  Text = UTF8Encode(W);
}

void THtmlContainer::import_css(std::string& Text, const std::string& Url, std::string& BaseUrl) {
  // Style sheets in local files only, as for images.
  const std::string Path = LocalPath(Url, BaseUrl);
  if (Path.empty()) return;
  Text = ReadLocalFile(Path, std::size_t(4) << 20);
  BaseUrl = ExtractFilePath(Path);
}

void THtmlContainer::set_clip(const litehtml::position& Pos, const litehtml::border_radiuses&, bool ValidX,
                              bool ValidY) {
  if (!FPaintDc) return;
  SaveDC(FPaintDc);
  ++FClipDepth;
  const int L = ValidX ? Pos.x : -(1 << 28), R = ValidX ? Pos.right() : (1 << 28);
  const int T = ValidY ? Pos.y : -(1 << 28), B = ValidY ? Pos.bottom() : (1 << 28);
  IntersectClipRect(FPaintDc, L, T, R, B);
}

void THtmlContainer::del_clip() {
  if (!FPaintDc || FClipDepth == 0) return;
  RestoreDC(FPaintDc, -1);
  --FClipDepth;
}

void THtmlContainer::EndPaint() {
  while (FClipDepth > 0) del_clip();
  FPaintDc = nullptr;
}

void THtmlContainer::get_client_rect(litehtml::position& Client) const {
  Client = litehtml::position(0, 0, FClientWidth, FClientHeight);
}

void THtmlContainer::get_media_features(litehtml::media_features& Media) const {
  Media.type = litehtml::media_type_screen;
  Media.width = FClientWidth;
  Media.height = FClientHeight;
  Media.device_width = 1024;
  Media.device_height = 768;
  Media.color = 8;
  Media.monochrome = 0;
  Media.color_index = 256;
  Media.resolution = 96;
}

void THtmlContainer::get_language(std::string& Language, std::string& Culture) const {
  Language = "en";
  Culture = "";
}
