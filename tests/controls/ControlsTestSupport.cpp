#include "ControlsTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include "controls/lookandfeel/dxOffice11.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/Streams.h"
#include "support/TestFiles.h"

namespace cxtest {

namespace {
const char16_t* const ClassNames[] = {u"Button", u"Clock", u"ComboBox", u"Edit", u"ExplorerBar", u"Header",
                                      u"ListView", u"Menu", u"Page", u"Progress", u"Rebar", u"ScrollBar",
                                      u"Spin", u"StartPanel", u"Status", u"Tab", u"TaskBand", u"TaskBar",
                                      u"ToolBar", u"ToolTip", u"TrackBar", u"TrayNotify", u"TreeView", u"Window"};
void CopyW(WCHAR* Dst, int Max, const std::u16string& S) {
  if (!Dst || Max <= 0) return;
  const std::size_t N = std::min<std::size_t>(S.size(), std::size_t(Max - 1));
  for (std::size_t i = 0; i < N; ++i) Dst[i] = S[i];
  Dst[N] = 0;
}
}  // namespace

HTHEME TTestThemeBinding::OpenThemeData(HWND, const WCHAR* ClassList) {
  const std::u16string List = ClassList;
  OpenedLists.push_back(List);
  if (Closed.count(List)) return nullptr;
  for (int i = 0; i < 24; ++i)
    if (List.size() == std::u16string(ClassNames[i]).size()) {
      bool Same = true;
      for (std::size_t k = 0; k < List.size(); ++k) Same &= std::towupper(List[k]) == std::towupper(ClassNames[i][k]);
      if (Same) {
        ++Opened;
        return reinterpret_cast<HTHEME>(std::intptr_t(i + 1));
      }
    }
  return nullptr;
}

HRESULT TTestThemeBinding::DrawThemeBackground(HTHEME T, HDC Dc, int Part, int State, const TRect* R, const TRect*) {
  const int Class = int(reinterpret_cast<std::intptr_t>(T)) - 1;
  HBRUSH B = CreateSolidBrush(COLORREF(PartColor(Class, Part, State)));
  FillRect(Dc, R, B);
  DeleteObject(B);
  return S_OK;
}

HRESULT TTestThemeBinding::GetCurrentThemeName(WCHAR* File, int MaxFile, WCHAR* Color, int MaxColor, WCHAR* Size,
                                               int MaxSize) {
  CopyW(File, MaxFile, FileName);
  CopyW(Color, MaxColor, ColorScheme);
  CopyW(Size, MaxSize, u"NormalSize");
  return S_OK;
}

HRESULT TTestThemeBinding::GetThemeBackgroundContentRect(HTHEME T, HDC Dc, int Part, int State, const TRect* Bounds,
                                                         TRect* Content) {
  if (!AnswerMetrics) return TThemeBinding::GetThemeBackgroundContentRect(T, Dc, Part, State, Bounds, Content);
  *Content = {Bounds->Left + ContentInset.Left, Bounds->Top + ContentInset.Top, Bounds->Right - ContentInset.Right,
              Bounds->Bottom - ContentInset.Bottom};
  return S_OK;
}

HRESULT TTestThemeBinding::GetThemeColor(HTHEME T, int Part, int State, int Prop, COLORREF* Color) {
  if (!AnswerMetrics) return TThemeBinding::GetThemeColor(T, Part, State, Prop, Color);
  *Color = COLORREF(ThemeColor(int(reinterpret_cast<std::intptr_t>(T)) - 1, Part, Prop));
  return S_OK;
}

BOOL TTestThemeBinding::IsThemeBackgroundPartiallyTransparent(HTHEME T, int Part, int State) {
  if (!AnswerMetrics) return TThemeBinding::IsThemeBackgroundPartiallyTransparent(T, Part, State);
  return PartiallyTransparent;
}

TThemesOn::TThemesOn() {
  auto B = std::make_unique<TTestThemeBinding>();
  Binding = B.get();
  SetThemeBinding(std::move(B));
  NotifyThemeChanged();
}

TThemesOn::~TThemesOn() {
  SetThemeBinding(nullptr);
  NotifyThemeChanged();
}

TPaintBox::TPaintBox(int W, int H, TColor Background) : FCanvas(FBitmap.Canvas()) {
  FBitmap.SetPixelFormat(pf32bit);
  FBitmap.SetSize(W, H);
  FCanvas.FillRect({0, 0, W, H}, Background);
}

// Read from the pixels, not through the DC: a painter may have clipped
// parts of the canvas away, and GetPixel fails outside the clip.
TColor TPaintBox::Pixel(int X, int Y) {
  const auto* Row = static_cast<const std::uint32_t*>(FBitmap.ScanLine(Y));
  const std::uint32_t P = Row[X];  // 0x00RRGGBB
  return TColor(((P >> 16) & 0xFF) | (P & 0xFF00) | ((P & 0xFF) << 16));
}

void TPaintBox::SavePng(const std::string& Path, int Scale) {
  const int W = FBitmap.GetWidth() * Scale, H = FBitmap.GetHeight() * Scale;
  std::vector<std::uint32_t> Row(std::size_t(W), 0);
  TFileStream S(Path, fmCreate);
  WritePngRgb(&S, W, H, [&](int Y) {
    for (int X = 0; X < W; ++X) {
      const COLORREF C = COLORREF(Pixel(X / Scale, Y / Scale));
      Row[std::size_t(X)] = ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
    }
    return Row.data();
  }, {}, TPngDeflate::Full);
}

std::string FixturePath(const std::string& Name) { return std::string(SX_SOURCE_DIR) + "/tests/fixtures/controls/" + Name; }

bool ReadPng(const std::string& Path, int& W, int& H, std::vector<std::uint32_t>& Pixels) {
  if (!std::filesystem::exists(Path)) return false;
  const auto Bytes = sxtest::ReadFileBytes(Path);
  const TDib D = ::ReadPng(Bytes.data(), Bytes.size(), TPngAlpha::OverWhite);
  W = D.Width();
  H = D.Height();
  Pixels.assign(std::size_t(W) * std::size_t(H), 0);
  const int Bpp = D.BitCount() / 8;
  for (int Y = 0; Y < H; ++Y) {
    const Byte* L = D.ScanLine(Y);
    for (int X = 0; X < W; ++X) {
      const Byte* P = L + X * Bpp;  // blue, green, red
      Pixels[std::size_t(Y * W + X)] = (std::uint32_t(P[2]) << 16) | (std::uint32_t(P[1]) << 8) | P[0];
    }
  }
  return true;
}

void ExpectMatchesGolden(TPaintBox& Box, const std::string& Name, const std::vector<TPoint>& Points) {
  const std::string Path = FixturePath(Name);
  if (const char* Shots = std::getenv("SX_SHOTS_DIR")) Box.SavePng(std::string(Shots) + "/" + Name, 4);
  const char* Update = std::getenv("SX_UPDATE_GOLDENS");
  if (Update && std::string(Update) == "1") {
    Box.SavePng(Path);
    return;
  }
  int W = 0, H = 0;
  std::vector<std::uint32_t> Px;
  ASSERT_TRUE(ReadPng(Path, W, H, Px)) << "golden " << Name << " is missing";
  ASSERT_EQ(W, Box.Bitmap()->GetWidth());
  ASSERT_EQ(H, Box.Bitmap()->GetHeight());
  for (const TPoint& P : Points) {
    const COLORREF C = COLORREF(Box.Pixel(P.X, P.Y));
    const std::uint32_t Got = ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
    EXPECT_EQ(Got, Px[std::size_t(P.Y * W + P.X)]) << Name << " at (" << P.X << ", " << P.Y << ")";
  }
}

TColor Rgb(TColor C) { return TColor(ColorToRGB(C)); }

}  // namespace cxtest
