#include "PdfTestSupport.h"
#include "export/pdf/ExPdfEngine.h"
#include <cstring>
#include <set>
#include "platform/gdi/Bitmap.h"

using namespace pdftest;

namespace {
// 40 x 20: left half black, right half red over a white bottom row.
std::unique_ptr<TBitmap> TestBitmap() {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(40, 20);
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(TRect(0, 0, 40, 20));
  C->Brush()->SetColor(clBlack);
  C->FillRect(TRect(0, 0, 20, 19));
  C->Brush()->SetColor(clRed);
  C->FillRect(TRect(20, 0, 40, 19));
  return B;
}

// Pixel (x, y) of the first image pdfimages writes, as "r,g,b" (or "l" for grey).
std::string ExtractedPixel(const std::string& Dir, const std::string& File, int X, int Y) {
  pdftest::Run("pdfimages -png '" + File + "' '" + Dir + "/img'");
  return pdftest::Run("/usr/bin/python3 -c \"from PIL import Image; im=Image.open('" + Dir +
                      "/img-000.png').convert('RGB'); print('%d,%d,%d' % im.getpixel((" + std::to_string(X) + "," +
                      std::to_string(Y) + ")), im.size)\"");
}

struct TImageCase {
  TgtOutputImageFormat Format;
  const char* Encoding;   // pdfimages -list "enc" column
  const char* BlackPixel;
  const char* RightPixel;
  int Tolerance;   // JPEG bleeds colour across the red edge
};
}  // namespace

TEST(TgtPDFEngine, ImagesRoundTripThroughPdfimages) {
  const TImageCase Cases[] = {
      {ifBMP, "image", "0,0,0 (40, 20)", "255,0,0 (40, 20)", 1},
      {ifJPEG, "jpeg", "0,0,0 (40, 20)", "254,0,0 (40, 20)", 60},
      {ifCCITT3, "ccitt", "0,0,0 (40, 20)", "0,0,0 (40, 20)", 1},   // red is dark: black in one bit
      {ifCCITT4, "ccitt", "0,0,0 (40, 20)", "0,0,0 (40, 20)", 1},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Encoding);
    TTempDir Dir;
    TgtPDFEngine E;
    SetUpLikeTheApplication(E, Dir.File("img"));
    E.GetImageSettings()->SetOutputImageFormat(C.Format);
    E.GetImageSettings()->ActualSize = true;
    E.BeginDoc();
    auto Bmp = TestBitmap();
    E.DrawImage(Bmp.get(), 50, 50);
    E.EndDoc();
    const std::string File = Dir.File("img.pdf");
    std::string Report;
    EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
    const std::string List = pdftest::Run("pdfimages -list '" + File + "'");
    EXPECT_NE(List.find(C.Encoding), std::string::npos) << List;
    auto Near = [&](const std::string& Got, const std::string& Want) {
      int R1, G1, B1, R2, G2, B2;
      if (std::sscanf(Got.c_str(), "%d,%d,%d", &R1, &G1, &B1) != 3) return false;
      std::sscanf(Want.c_str(), "%d,%d,%d", &R2, &G2, &B2);
      const int T = std::max(C.Tolerance, 8);
      return std::abs(R1 - R2) < T && std::abs(G1 - G2) < T && std::abs(B1 - B2) < T &&
             Got.substr(Got.find('(')) == Want.substr(Want.find('(')) + "\n";
    };
    const std::string Black = ExtractedPixel(Dir.File(""), File, 5, 5);
    EXPECT_TRUE(Near(Black, C.BlackPixel)) << Black;
    const std::string Right = ExtractedPixel(Dir.File(""), File, 30, 5);
    EXPECT_TRUE(Near(Right, C.RightPixel)) << Right;
    const std::string White = ExtractedPixel(Dir.File(""), File, 30, 19);
    EXPECT_TRUE(Near(White, "255,255,255 (40, 20)")) << White;
  }
}

TEST(TgtPDFEngine, SamePictureTwiceIsWrittenOnceAndNamesStayUnique) {
  TTempDir Dir;
  TgtPDFEngine E;
  SetUpLikeTheApplication(E, Dir.File("twice"));
  E.GetImageSettings()->ActualSize = true;
  E.BeginDoc();
  std::vector<std::unique_ptr<TBitmap>> Bitmaps;
  // Twelve pictures: index 1 variant 1 and index 11 variant 0 must not share a name.
  for (int I = 0; I < 12; ++I) {
    Bitmaps.push_back(TestBitmap());
    const Integer Index = E.AddImageToList(Bitmaps.back().get());
    E.DrawImageByIndex(MakeDoubleRect(10, 10 + 30 * I, 50, 30 + 30 * I), Index);
    E.DrawImageByIndex(MakeDoubleRect(60, 10 + 30 * I, 100, 30 + 30 * I), Index);
  }
  E.EndDoc();
  const std::string File = Dir.File("twice.pdf");
  const std::string Pdf = ReadFile(File);
  std::set<std::string> Names;
  std::size_t Objects = 0;
  for (auto P = Pdf.find("/Name/Img"); P != std::string::npos; P = Pdf.find("/Name/Img", P + 1), ++Objects)
    Names.insert(Pdf.substr(P, Pdf.find('/', P + 6) - P));
  EXPECT_EQ(Objects, 12u);
  EXPECT_EQ(Names.size(), 12u);
  EXPECT_TRUE(QpdfAccepts(File));
}

TEST(gtEncodeFax, CodesMatchTheFaxTables) {
  auto Bits = [](const std::string& Bytes) {
    std::string S;
    for (unsigned char C : Bytes)
      for (int I = 7; I >= 0; --I) S += char('0' + ((C >> I) & 1));
    return S;
  };
  auto Row = [](int Width, int BlackFrom, int BlackTo) {
    std::vector<bool> R(std::size_t(Width), false);
    for (int X = BlackFrom; X < BlackTo; ++X) R[std::size_t(X)] = true;
    return R;
  };
  struct TCase { std::vector<std::vector<bool>> Rows; int Width; bool TwoD; const char* Prefix; const char* Why; };
  const TCase Cases[] = {
      {{Row(100, 0, 0)}, 100, false, "1101100010101", "white 100: make-up 64 then 36"},
      {{Row(4, 0, 2)}, 4, false, "00110101" "11" "0111", "a black start begins with white 0"},
      {{Row(2560, 0, 0)}, 2560, false, "000000011111" "00110101", "2560 is the extended make-up and white 0"},
      {{Row(8, 0, 0), Row(8, 0, 0)}, 8, true, "11" "000000000001000000000001", "white rows are V0 each, then EOFB"},
      {{}, 0, true, "000000000001000000000001", "no rows: only the end-of-block"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const std::string Got = Bits(gtEncodeFax(C.Rows, C.Width, C.TwoD));
    EXPECT_EQ(Got.substr(0, std::strlen(C.Prefix)), C.Prefix);
    EXPECT_EQ(Got.size() % 8, 0u);
    EXPECT_EQ(Got.find_first_not_of('0', std::strlen(C.Prefix)), std::string::npos) << Got;   // only padding after
  }
}

TEST(TgtPDFEngine, BackgroundUnderAFaxFormatIsWrittenWithAFilterThatMatchesItsData) {
  for (TgtOutputImageFormat Format : {ifCCITT3, ifCCITT4}) {
    SCOPED_TRACE(int(Format));
    TTempDir Dir;
    TgtPDFEngine E;
    SetUpLikeTheApplication(E, Dir.File("bg"));
    E.GetImageSettings()->SetOutputImageFormat(Format);
    auto Bmp = TestBitmap();
    TPicture Pic;
    Pic.Assign(Bmp.get());
    E.SetBackgroundImage(&Pic);
    E.BeginDoc();
    E.TextOut(30, 30, u"over the background");
    E.EndDoc();
    const std::string File = Dir.File("bg.pdf");
    std::string Report;
    EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
    // The background keeps its colours: its data is decoded by the filter
    // its dictionary names, so the rendered page shows its red half.
    pdftest::Run("pdftoppm -r 72 -png '" + File + "' '" + Dir.File("page") + "'");
    const std::string Red = pdftest::Run("/usr/bin/python3 -c \"from PIL import Image; im=Image.open('" +
                                         Dir.File("page-1.png") +
                                         "').convert('RGB'); print(sum(1 for p in im.getdata() if p[0]>200 and p[1]<60 and p[2]<60))\"");
    EXPECT_GT(std::atoi(Red.c_str()), 100) << Red;
  }
}

TEST(TgtPDFEngine, InputResolutionScalesPositionsFromTheTopOfThePage) {
  // Items arrive in pixels of the input resolution: at twice the screen's,
  // a word lands at half the distance from the page's top-left corner.
  auto WordBox = [](Integer Res) {
    TTempDir Dir;
    TgtPDFEngine E;
    SetUpLikeTheApplication(E, Dir.File("res"));
    E.SetInputXRes(Res);
    E.SetInputYRes(Res);
    E.BeginDoc();
    E.TextOut(100, 200, u"Anchor");
    E.EndDoc();
    const std::string Boxes = pdftest::Run("pdftotext -q -bbox '" + Dir.File("res.pdf") + "' -");
    const auto At = Boxes.find("<word ");
    std::array<double, 2> Corner{-1, -1};
    if (At != std::string::npos) {
      Corner[0] = std::atof(Boxes.c_str() + Boxes.find("xMin=\"", At) + 6);
      Corner[1] = std::atof(Boxes.c_str() + Boxes.find("yMin=\"", At) + 6);
    }
    return Corner;
  };
  const auto AtScreen = WordBox(96);
  ASSERT_GT(AtScreen[0], 0);
  for (Integer Res : {192, 300}) {
    SCOPED_TRACE(Res);
    const auto Got = WordBox(Res);
    EXPECT_NEAR(Got[0], AtScreen[0] * 96 / Res, 0.01);
    EXPECT_NEAR(Got[1], AtScreen[1] * 96 / Res, 0.01);
  }
}

TEST(TgtPDFImageSettings, SameImageFollowsHowTheItemPlacesThePicture) {
  // The variant was rendered for an item of 40 x 20; the graphic is gw x gh.
  struct TCase {
    bool VStretch, VCenter, IStretch, ICenter;
    double IW, IH, GW, GH;
    bool Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {true, false, true, false, 90, 90, 5, 5, true, "both stretched: any size serves"},
      {false, false, false, false, 40, 20, 7, 7, true, "neither stretched, same item size"},
      {false, false, false, false, 41, 20, 40, 20, false, "neither stretched, other item size"},
      {false, true, false, false, 40, 20, 40, 20, true, "centring differs, all sizes equal"},
      {false, true, false, false, 40, 20, 30, 20, false, "centring differs, graphic of another size"},
      {false, true, false, true, 40, 20, 40, 20, true, "both centred, graphic fits"},
      {false, true, false, true, 40, 20, 30, 10, true, "both centred, other graphic, same item"},
      {false, false, true, false, 90, 90, 40, 5, true, "variant unstretched: graphic width matches it"},
      {false, false, true, false, 90, 90, 5, 5, false, "variant unstretched: no side matches"},
      {true, false, false, false, 90, 60, 5, 60, true, "variant stretched: graphic height matches the item"},
      {true, false, false, false, 90, 60, 5, 5, false, "variant stretched: no side matches the item"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TgtPDFImageSettings V;
    V.Stretch = C.VStretch;
    V.Center = C.VCenter;
    V.ItemWidth = 40;
    V.ItemHeight = 20;
    TgtImageItem I;
    I.ImageSettings.Stretch = C.IStretch;
    I.ImageSettings.Center = C.ICenter;
    I.Width = C.IW;
    I.Height = C.IH;
    EXPECT_EQ(V.SameImage(&I, C.GW, C.GH), C.Want);
  }
  // The rendering settings always have to agree.
  TgtPDFImageSettings V;
  V.Stretch = true;
  TgtImageItem I;
  I.ImageSettings.Stretch = true;
  I.ImageSettings.SetOutputImageFormat(ifJPEG);
  EXPECT_FALSE(V.SameImage(&I, 1, 1));
  V.SetOutputImageFormat(ifJPEG);
  EXPECT_TRUE(V.SameImage(&I, 1, 1));
  V.JPEGQuality = I.ImageSettings.JPEGQuality + 1;
  EXPECT_FALSE(V.SameImage(&I, 1, 1));
}

TEST(TgtPDFEngine, FramedPictureGetsItsFillAndTheSidesItsFrameDraws) {
  struct TCase {
    bool Left, Top, Right, Bottom;
    std::size_t Segments;   // separate side lines; 0 = one closed rectangle
    const char* Why;
  };
  const TCase Cases[] = {
      {true, true, true, true, 0, "all four sides: a closed rectangle"},
      {false, true, false, true, 2, "top and bottom only"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTempDir Dir;
    TgtPDFEngine E;
    SetUpLikeTheApplication(E, Dir.File("frame"));
    E.GetPreferences()->SetOpenAfterCreate(false);
    E.GetCompression()->Enabled = false;
    E.GetImageSettings()->DrawFrame = true;
    E.GetPen()->SetColor(clBlue);
    E.GetPen()->SetWidth(3);
    E.GetBrush()->SetColor(clLime);
    E.GetFrame()->Left = C.Left;
    E.GetFrame()->Top = C.Top;
    E.GetFrame()->Right = C.Right;
    E.GetFrame()->Bottom = C.Bottom;
    E.BeginDoc();
    auto Bmp = TestBitmap();
    E.StretchImage(MakeDoubleRect(50, 50, 130, 90), Bmp.get());
    E.EndDoc();
    const std::string File = Dir.File("frame.pdf");
    std::string Report;
    EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
    const std::string Pdf = ReadFile(File);
    const auto Place = Pdf.find(" Do");
    ASSERT_NE(Place, std::string::npos);
    const std::string Before = Pdf.substr(0, Place);
    // The fill and the frame come before the placement.
    EXPECT_NE(Before.find("0.0000 1.0000 0.0000 rg"), std::string::npos);
    EXPECT_NE(Before.find("0.0000 0.0000 1.0000 RG"), std::string::npos);
    EXPECT_NE(Before.find("2.2500 w"), std::string::npos);
    if (C.Segments == 0) EXPECT_NE(Before.find(" s Q"), std::string::npos);
    else {
      const auto Stroke = Before.rfind("RG");
      std::size_t Moves = 0;
      for (auto P = Before.find(" m ", Stroke); P != std::string::npos; P = Before.find(" m ", P + 1)) ++Moves;
      EXPECT_EQ(Moves, C.Segments);
      EXPECT_NE(Before.find("\r\nS\r\nQ", Stroke), std::string::npos);
    }
  }
}
