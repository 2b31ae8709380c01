// The BMP, JPEG and PNG engines: files per page, sizes, pixels as outside
// readers see them, background placement, naming and failures.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include "RasterSupport.h"
#include "export/image/BmpEngine.h"
#include "export/image/JpegEngine.h"
#include "export/image/PngEngine.h"

using namespace raster;

namespace {
// As the program sets an engine up, on a small page.
template <class E>
std::unique_ptr<E> MakeEngine(const std::string& FileName, double W = 300, double H = 200) {
  auto Engine = std::make_unique<E>(nullptr);
  Engine->SetMeasurementUnit(muPixels);
  Engine->GetPreferences()->SetShowSetupDialog(false);
  Engine->GetPreferences()->SetOpenAfterCreate(false);
  Engine->GetPage()->SetPaperSize(Custom);
  Engine->GetPage()->SetWidth(W);
  Engine->GetPage()->SetHeight(H);
  Engine->GetPage()->SetLeftMargin(0);
  Engine->GetPage()->SetTopMargin(0);
  Engine->GetPage()->SetRightMargin(0);
  Engine->GetPage()->SetBottomMargin(0);
  Engine->GetFont()->SetName("Arial");
  Engine->GetFont()->SetSize(20);
  Engine->SetFileName(FileName);
  return Engine;
}

// "Hello" at (40, 40) on each of Pages pages.
void WritePages(TgtCustomGraphicsEngine& E, int Pages) {
  E.BeginDoc();
  for (int P = 1; P <= Pages; ++P) {
    if (P > 1) E.NewPage();
    E.TextOut(40, 40, u"Hello");
  }
  E.EndDoc();
}

// Prints: width height, darkest grey inside the text box, darkest grey of
// the right and bottom margins.
const char* const TextScript = R"(
im = Image.open(sys.argv[1]); im.load()
g = im.convert('L')
def darkest(box):
    return min(g.crop(box).getdata())
print(im.size[0], im.size[1], darkest((40, 40, 110, 70)) < 100, darkest((150, 0, 300, 200)) > 235, darkest((0, 100, 300, 200)) > 235)
)";

struct TEngineCase {
  const char* Ext;
  std::function<std::unique_ptr<TgtCustomGraphicsEngine>(const std::string&)> Make;
};
const TEngineCase EngineCases[] = {
    {"bmp", [](const std::string& N) { return MakeEngine<TgtBMPEngine>(N); }},
    {"jpg", [](const std::string& N) { return MakeEngine<TgtJPEGEngine>(N); }},
    {"png", [](const std::string& N) { return MakeEngine<TgtPNGEngine>(N); }},
};
}  // namespace

TEST(TgtCustomGraphicsEngine, EveryPageBecomesOneFileThatReadersDecodeWithItsText) {
  for (const auto& C : EngineCases) {
    SCOPED_TRACE(C.Ext);
    const std::string Dir = OutDir(std::string("pages_") + C.Ext);
    auto E = C.Make(Dir + "p");
    WritePages(*E, 3);
    ASSERT_EQ(E->GetDocumentState(), dsFinished);
    for (int P = 1; P <= 3; ++P) {
      const std::string File = Dir + "p" + std::to_string(P) + "." + C.Ext;
      ASSERT_TRUE(FileExists(File)) << File;
      EXPECT_EQ(Py(TextScript, File), "300 200 True True True") << File;
    }
    EXPECT_FALSE(FileExists(Dir + "p4." + C.Ext));
  }
}

TEST(TgtCustomGraphicsEngine, ScalesMultiplyThePictureSize) {
  const std::string Dir = OutDir("scale");
  auto E = MakeEngine<TgtPNGEngine>(Dir + "s", 800, 1000);
  E->SetScaleX(2);
  E->SetScaleY(0.5);
  WritePages(*E, 1);
  EXPECT_EQ(Py("print(*Image.open(sys.argv[1]).size)", Dir + "s1.png"), "1600 500");
}

TEST(TgtCustomGraphicsEngine, ScalesThatGiveNoPixelsStillMakeAPicture) {
  const std::string Dir = OutDir("scale_zero");
  auto E = MakeEngine<TgtBMPEngine>(Dir + "z");
  E->SetScaleX(0);
  E->SetScaleY(-3);
  WritePages(*E, 1);
  EXPECT_EQ(Py("print(*Image.open(sys.argv[1]).size)", Dir + "z1.bmp"), "1 1");
}

TEST(TgtBMPEngine, FileHoldsTheEnginesPixelFormat) {
  struct TCase { TPixelFormat Format; bool Mono; int Bits; const char* Why; };
  const TCase Cases[] = {
      {pf24bit, false, 24, "the default"},
      {pf8bit, false, 8, "a palette bitmap"},
      {pf32bit, false, 32, "32 bits"},
      {pf24bit, true, 1, "monochrome wins over the format"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const std::string Dir = OutDir("bmpformat");
    auto E = MakeEngine<TgtBMPEngine>(Dir + "f");
    E->SetPixelFormat(C.Format);
    E->SetMonochrome(C.Mono);
    WritePages(*E, 1);
    const std::string Bytes = ReadFile(Dir + "f1.bmp");
    ASSERT_GT(Bytes.size(), 30u);
    EXPECT_EQ(Bytes.substr(0, 2), "BM");
    EXPECT_EQ(int(Byte(Bytes[28])), C.Bits);
    EXPECT_EQ(Py(TextScript, Dir + "f1.bmp"), "300 200 True True True");
  }
}

TEST(TgtCustomGraphicsEngine, BackgroundImageIsTiledOrPlaced) {
  // A red 30 x 20 picture on a 80 x 50 page.
  TBitmap Red;
  Red.SetSize(30, 20);
  Red.Canvas()->Brush()->SetColor(clRed);
  Red.Canvas()->FillRect(TRect(0, 0, 30, 20));
  struct TCase { TgtBackgroundDisplayType Type; const char* RedAt; const char* WhiteAt; const char* Why; };
  const TCase Cases[] = {
      // 3 x 3 copies: the last one starts at (60, 40) and is cut at the edge.
      {dtTile, "[(0,0),(65,45),(79,49),(35,25)]", "[]", "tiles cover the page"},
      {dtCenter, "[(25,15),(54,34)]", "[(24,15),(55,34),(25,14),(25,35)]", "centred at (25, 15)"},
      {dtBottomRight, "[(50,30),(79,49)]", "[(49,30),(50,29)]", "in the corner"},
      {dtTopLeft, "[(0,0),(29,19)]", "[(30,0),(0,20)]", "at the origin"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const std::string Dir = OutDir("background");
    auto E = MakeEngine<TgtBMPEngine>(Dir + "b", 80, 50);
    E->GetBackgroundImage()->SetGraphic(&Red);
    E->SetBackgroundImageDisplayType(C.Type);
    E->BeginDoc();
    E->EndDoc();
    const std::string Script = std::string("im = Image.open(sys.argv[1]).convert('RGB')\n") +
                               "print(all(im.getpixel(p) == (255, 0, 0) for p in " + C.RedAt + "), " +
                               "all(im.getpixel(p) == (255, 255, 255) for p in " + C.WhiteAt + "))";
    EXPECT_EQ(Py(Script, Dir + "b1.bmp"), "True True");
  }
}

TEST(TgtCustomGraphicsEngine, EmptyTiledBackgroundEndsThePage) {
  const std::string Dir = OutDir("emptytile");
  auto E = MakeEngine<TgtPNGEngine>(Dir + "e");
  TBitmap Empty;
  Empty.SetSize(0, 5);
  E->GetBackgroundImage()->SetGraphic(&Empty);
  E->SetBackgroundImageDisplayType(dtTile);
  WritePages(*E, 1);
  EXPECT_TRUE(FileExists(Dir + "e1.png"));
}

TEST(TgtCustomGraphicsEngine, BackgroundColourFillsThePage) {
  const std::string Dir = OutDir("bgcolour");
  auto E = MakeEngine<TgtPNGEngine>(Dir + "c");
  E->SetBackgroundColor(TColor(0x00FF00));
  WritePages(*E, 1);
  EXPECT_EQ(Py("print(Image.open(sys.argv[1]).convert('RGB').getpixel((299, 199)))", Dir + "c1.png"), "(0, 255, 0)");
}

TEST(TgtCustomGraphicsEngine, ClearTextBrushWithAColourPaintsThatColourBehindTheText) {
  struct TCase { TColor Colour; const char* Want; const char* Why; };
  const TCase Cases[] = {
      {clBlue, "(0, 0, 255)", "a colour other than the window's is opaque"},
      {clWhite, "(0, 255, 0)", "the window colour leaves the page showing"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const std::string Dir = OutDir("textbrush");
    auto E = MakeEngine<TgtPNGEngine>(Dir + "t");
    E->SetBackgroundColor(TColor(0x00FF00));
    E->BeginDoc();
    E->GetBrush()->SetColor(C.Colour);
    E->GetBrush()->SetStyle(bsClear);
    E->TextOut(40, 40, u"Hello");
    E->EndDoc();
    // The gap above the letters lies inside the text cell.
    EXPECT_EQ(Py("print(Image.open(sys.argv[1]).convert('RGB').getpixel((41, 41)))", Dir + "t1.png"), C.Want);
  }
}

TEST(TgtCustomGraphicsEngine, NeedFileNameRenamesAndTheSameNameIsOverwritten) {
  const std::string Dir = OutDir("needname");
  auto E = MakeEngine<TgtBMPEngine>(Dir + "p");
  struct TRenamer : TObject {
    TRenamer(std::string D) : Dir(std::move(D)) {}
    std::string Dir;
    std::vector<Integer> Pages;
    void Rename(TObject*, AnsiString& Name, Integer PageNo) {
      Pages.push_back(PageNo);
      Name = Dir + "same";
    }
  } R(Dir);
  E->OnNeedFileName = TgtOnNeedFileNameEvent(&R, &TRenamer::Rename);
  std::vector<AnsiString> Listed;
  struct TLister : TObject {
    TLister(std::vector<AnsiString>* O, TgtCustomDocumentEngine* En) : Out(O), E(En) {}
    std::vector<AnsiString>* Out;
    TgtCustomDocumentEngine* E;
    void Note(TObject*) { *Out = E->GetOutputFiles(); }
  } L(&Listed, E.get());
  E->OnAfterEndPage = TgtNotifyEvent(&L, &TLister::Note);
  WritePages(*E, 3);
  EXPECT_EQ(R.Pages, (std::vector<Integer>{1, 2, 3}));
  EXPECT_EQ(Listed, (std::vector<AnsiString>(3, Dir + "same.bmp")));
  EXPECT_TRUE(FileExists(Dir + "same.bmp"));
  EXPECT_FALSE(FileExists(Dir + "p1.bmp"));
  EXPECT_EQ(E->GetDocumentState(), dsFinished);
}

TEST(TgtCustomGraphicsEngine, PageFileThatCannotBeMadeRaisesAndLeavesNoFiles) {
  const std::string Dir = OutDir("fail");
  auto E = MakeEngine<TgtPNGEngine>(Dir + "p");
  // Page 2 goes into a folder that does not exist.
  struct TRenamer : TObject {
    TRenamer(std::string D) : Dir(std::move(D)) {}
    std::string Dir;
    void Rename(TObject*, AnsiString& Name, Integer PageNo) {
      if (PageNo == 2) Name = Dir + "missing/p2";
    }
  } R(Dir);
  E->OnNeedFileName = TgtOnNeedFileNameEvent(&R, &TRenamer::Rename);
  E->BeginDoc();
  E->TextOut(10, 10, u"one");
  E->NewPage();
  E->TextOut(10, 10, u"two");
  try {
    E->EndDoc();
    ADD_FAILURE() << "no error";
  } catch (const EFileCreateError& X) {
    // The message's own text, then the file and why it could not be made.
    EXPECT_EQ(X.Message(), AnsiString(SFileCreateError) + "\r\n\r\nCannot create file \"" + Dir +
                               "missing/p2.png\". No such file or directory");
  }
  EXPECT_FALSE(E->IsDocumentOpen());
  EXPECT_EQ(RunCommand("ls -A '" + Dir + "'"), "");
}

TEST(TgtCustomGraphicsEngine, UserStreamTakesThePagesInsteadOfFiles) {
  const std::string Dir = OutDir("userstream");
  auto E = MakeEngine<TgtBMPEngine>(Dir + "u");
  TMemoryStream Out;
  E->SetUserStream(&Out);
  E->GetPreferences()->SetOutputToUserStream(true);
  WritePages(*E, 2);
  EXPECT_EQ(RunCommand("ls -A '" + Dir + "'"), "");
  ASSERT_GT(Out.GetSize(), 54);
  // Two whole bitmap files, one after the other.
  const std::string Bytes(static_cast<const char*>(Out.Memory()), size_t(Out.GetSize()));
  const size_t First = Byte(Bytes[2]) | Byte(Bytes[3]) << 8 | Byte(Bytes[4]) << 16;
  ASSERT_LT(First, Bytes.size());
  EXPECT_EQ(Bytes.substr(First, 2), "BM");
  EXPECT_TRUE(E->GetOutputFiles().empty());
}

TEST(TgtCustomGraphicsEngine, ShapesAndRotatedImagesReachThePicture) {
  const std::string Dir = OutDir("shapes");
  auto E = MakeEngine<TgtPNGEngine>(Dir + "s");
  E->BeginDoc();
  E->GetBrush()->SetColor(clRed);
  E->GetBrush()->SetStyle(bsSolid);
  E->Rectangle(true, 10, 10, 50, 50);
  E->GetPen()->SetColor(clBlue);
  E->GetPen()->SetWidth(3);
  E->Line(100, 20, 200, 20);
  E->GetPen()->SetColor(clBlack);
  E->Rectangle(false, 60, 60, 100, 100);  // an outline: its inside stays white
  TBitmap Green;
  Green.SetSize(40, 10);
  Green.Canvas()->Brush()->SetColor(TColor(0x00FF00));
  Green.Canvas()->FillRect(TRect(0, 0, 40, 10));
  E->GetImageSettings()->RotationAngle = 90;
  E->DrawImage(&Green, 200, 100);
  E->EndDoc();
  const char* Script = R"(
im = Image.open(sys.argv[1]).convert('RGB')
print(im.getpixel((30, 30)), im.getpixel((150, 20)), im.getpixel((80, 80)), im.getpixel((60, 80)))
# turned a quarter: 10 wide and 40 high, above the item's corner
print(sum(1 for x in range(190, 260) for y in range(40, 140) if im.getpixel((x, y)) == (0, 255, 0)))
)";
  EXPECT_EQ(Py(Script, Dir + "s1.png"), "(255, 0, 0) (0, 0, 255) (255, 255, 255) (0, 0, 0)\n400");
}
