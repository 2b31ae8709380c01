#include "platform/gdi/Wmf.h"
#include "EmfTestUtil.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A 200 x 100 pixel picture on a 96-dpi reference (frame in .01 mm).
TEmrHeader PictureHeader() {
  TEmrHeader H;
  H.Bounds = {0, 0, 199, 99};
  H.Frame = {0, 0, 5291, 2645};
  H.Device = {1024, 768};
  H.Millimeters = {271, 203};
  return H;
}

std::vector<Byte> Drawing() {
  TEmfBuilder B;
  B.Add(TEmrCreatePen{1, 0, {3, 0}, RGB(255, 0, 0)}, 1);
  B.Add(TEmrDword{EMR_SELECTOBJECT, 1});
  B.Add(TEmrCreateBrushIndirect{2, 0, RGB(0, 0, 255), 0}, 2);
  B.Add(TEmrDword{EMR_SELECTOBJECT, 2});
  B.Add(TEmrRectL{EMR_RECTANGLE, {10, 10, 60, 40}});
  B.Add(TEmrPoly{EMR_POLYLINE16, {}, {{0, 0}, {100, 50}, {150, 20}}});
  B.Add(TEmrDword{EMR_SELECTOBJECT, ENHMETA_STOCK_OBJECT | 5});  // NULL_BRUSH
  B.Add(TEmrRectL{EMR_ELLIPSE, {70, 10, 120, 60}});
  TEmrExtCreateFontIndirectW F;
  F.ihFont = 3;
  F.Font.Height = -13;
  F.Font.FaceName = u"Arial";
  B.Add(F, 3);
  B.Add(TEmrDword{EMR_SELECTOBJECT, 3});
  TEmrExtTextOut T;
  T.Reference = {20, 70};
  T.Text = u"Caf\u00e9";
  T.Dx = {8, 7, 7, 7};
  B.Add(T);
  B.Add(TEmrDword{EMR_DELETEOBJECT, 1});
  return B.Finish(PictureHeader());
}

std::vector<Word> WmfFunctions(const std::vector<Byte>& W) {
  std::vector<Word> Out;
  for (std::size_t Pos = 18; Pos + 6 <= W.size();) {
    DWORD Words = EmfGetDword(W.data() + Pos);
    Out.push_back(Word(W[Pos + 4] | (W[Pos + 5] << 8)));
    if (Words < 3) break;
    Pos += Words * 2;
  }
  return Out;
}

// The drawing records of a trace, without header and mapping set-up.
std::vector<std::string> DrawingTrace(const std::vector<Byte>& Emf) {
  std::vector<std::string> Out;
  for (const std::string& L : RecordTrace(Emf))
    if (L.rfind("RECTANGLE", 0) == 0 || L.rfind("ELLIPSE", 0) == 0 || L.rfind("POLYLINE16", 0) == 0 ||
        L.rfind("EXTTEXTOUTW", 0) == 0)
      Out.push_back(L);
  return Out;
}

}  // namespace

TEST(EmfToWmf, AnisotropicPictureSetsItsWindowToTheFrame) {
  std::vector<Byte> W = EmfToWmf(Drawing(), 8);
  // Header: in memory, 9 words, version 3, size in words, object count.
  EXPECT_EQ(W[0], 1);
  EXPECT_EQ(W[2], 9);
  EXPECT_EQ(EmfGetDword(W.data() + 6) * 2, W.size());
  EXPECT_EQ(WmfFunctions(W),
            (std::vector<Word>{META_SETMAPMODE, META_SETWINDOWORG, META_SETWINDOWEXT,
                               META_CREATEPENINDIRECT, META_SELECTOBJECT, META_CREATEBRUSHINDIRECT,
                               META_SELECTOBJECT, META_RECTANGLE, META_POLYLINE,
                               META_CREATEBRUSHINDIRECT, META_SELECTOBJECT, META_ELLIPSE,
                               META_CREATEFONTINDIRECT, META_SELECTOBJECT, META_EXTTEXTOUT,
                               META_DELETEOBJECT, META_EOF}));
  // SETWINDOWEXT carries y then x: the 200 x 100 pixel frame.
  const std::size_t Ext = 18 + 8 + 10;
  EXPECT_EQ(W[Ext + 6] | (W[Ext + 7] << 8), 100);
  EXPECT_EQ(W[Ext + 8] | (W[Ext + 9] << 8), 200);
}

TEST(EmfToWmf, RoundTripKeepsTheDrawing) {
  std::vector<Byte> Emf = Drawing();
  std::vector<Byte> W = EmfToWmf(Emf, 8);
  std::vector<Byte> Back = WmfToEmf(W, nullptr, TMetafileReference{});
  EXPECT_NO_THROW(EmfValidate(Back));
  TEmrHeader H = EmfReadHeader(Back);
  EXPECT_EQ(H.Bounds, Rect(0, 0, 199, 99));
  EXPECT_NEAR(H.Frame.Right, 5291, 30);
  EXPECT_NEAR(H.Frame.Bottom, 2645, 30);
  // Shapes and text come back at the same places; text keeps its accents
  // and advances.
  std::vector<std::string> Want = {
      "RECTANGLE [10,10,60,40]", "POLYLINE16 (0,0) (100,50) (150,20)", "ELLIPSE [70,10,120,60]",
      "EXTTEXTOUTW (20,70) \"Caf?\" dx 8 7 7 7"};
  EXPECT_EQ(DrawingTrace(Back), Want);
  std::vector<WideString> Texts;
  EmfForEachRecord(Back, [&](const TEmfRecord& R) {
    if (R.Type() == EMR_EXTTEXTOUTW) Texts.push_back(TEmrExtTextOut::Read(R).Text);
    return true;
  });
  ASSERT_EQ(Texts.size(), 1u);
  EXPECT_EQ(Texts[0], u"Caf\u00e9");
}

TEST(EmfToWmf, WorldTransformIsAppliedToTheCoordinates) {
  TEmfBuilder B;
  B.Add(TEmrXForm{EMR_SETWORLDTRANSFORM, {2, 0, 0, 2, 5, 5}, 0});
  B.Add(TEmrRectL{EMR_RECTANGLE, {10, 10, 20, 30}});
  B.Add(TEmrDword{EMR_SAVEDC, 0});
  B.Add(TEmrXForm{EMR_MODIFYWORLDTRANSFORM, {}, 1});
  B.Add(TEmrRectL{EMR_RECTANGLE, {10, 10, 20, 30}});
  B.Add(TEmrDword{EMR_RESTOREDC, DWORD(-1)});
  B.Add(TEmrRectL{EMR_RECTANGLE, {0, 0, 1, 1}});
  std::vector<Byte> Back = WmfToEmf(EmfToWmf(B.Finish(PictureHeader()), 8), nullptr, {});
  EXPECT_EQ(DrawingTrace(Back), (std::vector<std::string>{"RECTANGLE [25,25,45,65]",
                                                          "RECTANGLE [10,10,20,30]",
                                                          "RECTANGLE [5,5,7,7]"}));
}

TEST(WmfToEmf, PlaceableHeaderSizesThePicture) {
  // A placeable WMF: 1440 units per inch, box 0..1440 x 0..720 = 1 x 0.5 in.
  std::vector<Byte> Plain = EmfToWmf(Drawing(), 8);
  TEmfWriter P;
  P.WriteDword(WMF_PLACEABLE_KEY);
  P.WriteWord(0);
  for (SmallInt V : {0, 0, 1440, 720}) P.WriteShort(V);
  P.WriteWord(1440);
  P.WriteDword(0);
  P.WriteWord(0);  // checksum: readers do not need it
  std::vector<Byte> W = P.TakeBytes();
  W.insert(W.end(), Plain.begin(), Plain.end());
  std::vector<Byte> Emf = WmfToEmf(W, nullptr, {});
  TEmrHeader H = EmfReadHeader(Emf);
  EXPECT_EQ(H.Frame, Rect(0, 0, 2539, 1269));
  METAFILEPICT Pict{8, 1000, 500, nullptr};
  EXPECT_EQ(EmfReadHeader(WmfToEmf(Plain, &Pict, {})).Frame, Rect(0, 0, 999, 499));
}

TEST(WmfToEmf, HandlesAndWin32CallsRoundTrip) {
  std::vector<Byte> Emf = Drawing();
  HENHMETAFILE Mf = SetEnhMetaFileBits(UINT(Emf.size()), Emf.data());
  ASSERT_NE(Mf, nullptr);
  UINT N = GetWinMetaFileBits(Mf, 0, nullptr, 8, nullptr);
  ASSERT_GT(N, 0u);
  std::vector<Byte> W(N);
  EXPECT_EQ(GetWinMetaFileBits(Mf, N, W.data(), 8, nullptr), N);
  EXPECT_EQ(GetWinMetaFileBits(Mf, N - 1, W.data(), 8, nullptr), 0u);
  HENHMETAFILE Back = SetWinMetaFileBits(N, W.data(), nullptr, nullptr);
  ASSERT_NE(Back, nullptr);
  EXPECT_GT(GetEnhMetaFileBits(Back, 0, nullptr), 0u);
  DeleteEnhMetaFile(Back);
  DeleteEnhMetaFile(Mf);
}

TEST(WmfToEmf, CorruptInputFailsCleanly) {
  std::vector<Byte> Good = EmfToWmf(Drawing(), 8);
  std::mt19937 Rng(12345);
  for (int Round = 0; Round < 400; ++Round) {
    std::vector<Byte> W = Good;
    if (Round % 3 == 0) {
      W.resize(Rng() % W.size());
    } else {
      for (int I = 0; I < 1 + Round % 7; ++I) W[18 + Rng() % (W.size() - 18)] = Byte(Rng());
    }
    HENHMETAFILE H = SetWinMetaFileBits(UINT(W.size()), W.data(), nullptr, nullptr);
    if (H) {
      std::vector<Byte> B(GetEnhMetaFileBits(H, 0, nullptr));
      GetEnhMetaFileBits(H, UINT(B.size()), B.data());
      EXPECT_NO_THROW(EmfValidate(B));
      DeleteEnhMetaFile(H);
    }
  }
  EXPECT_EQ(SetWinMetaFileBits(4, Good.data(), nullptr, nullptr), nullptr);
}

TEST(EmfToWmf, TextTravelsInTheCodePageOfItsFont) {
  struct TCase {
    Byte Charset;
    const char16_t* Text;
    std::string Bytes;  // what the WMF holds
  };
  const TCase Cases[] = {
      {0, u"Caf\u00e9", "Caf\xe9"},
      {204, u"\u041c\u0438\u0440", "\xcc\xe8\xf0"},  // RUSSIAN_CHARSET: code page 1251
      {161, u"\u03a9", "\xd9"},                       // GREEK_CHARSET: code page 1253
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(int(C.Charset));
    TEmfBuilder B;
    TEmrExtCreateFontIndirectW F;
    F.ihFont = 1;
    F.Font.Height = -12;
    F.Font.CharSet = C.Charset;
    F.Font.FaceName = u"Arial";
    B.Add(F, 1);
    B.Add(TEmrDword{EMR_SELECTOBJECT, 1});
    TEmrExtTextOut T;
    T.Text = C.Text;
    T.Dx.assign(T.Text.size(), 6);
    B.Add(T);
    std::vector<Byte> W = EmfToWmf(B.Finish(PictureHeader()), 8);
    std::string Wmf(W.begin(), W.end());
    EXPECT_NE(Wmf.find(C.Bytes), std::string::npos);
    std::vector<Byte> Back = WmfToEmf(W, nullptr, {});
    std::vector<TEmrExtTextOut> Texts;
    EmfForEachRecord(Back, [&](const TEmfRecord& R) {
      if (R.Type() == EMR_EXTTEXTOUTW) Texts.push_back(TEmrExtTextOut::Read(R));
      return true;
    });
    ASSERT_EQ(Texts.size(), 1u);
    EXPECT_EQ(Texts[0].Text, WideString(C.Text));
    EXPECT_EQ(Texts[0].Dx, std::vector<Integer>(Texts[0].Text.size(), 6));
  }
}
