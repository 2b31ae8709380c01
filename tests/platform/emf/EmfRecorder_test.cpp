#include "platform/gdi/EmfRecorder.h"
#include "EmfTestPage.h"
#include "EmfTestUtil.h"

#include <gtest/gtest.h>

namespace {

std::vector<Byte> BytesOf(HENHMETAFILE Mf) {
  std::vector<Byte> B(GetEnhMetaFileBits(Mf, 0, nullptr));
  GetEnhMetaFileBits(Mf, UINT(B.size()), B.data());
  return B;
}

}  // namespace

TEST(TEmfRecorderDC, SmallDrawingWritesTheRecordsGdiWrites) {
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(Dc, nullptr);
  HPEN Pen = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
  HGDIOBJ Old = SelectObject(Dc, Pen);
  const TPoint Small[] = {{1, 1}, {5, 3}};
  Polyline(Dc, Small, 2);
  const TPoint Big[] = {{1, 1}, {40000, 3}};
  Polyline(Dc, Big, 2);
  SelectObject(Dc, Old);
  DeleteObject(Pen);
  HFONT Font = CreateFontW(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, u"Arial");
  SelectObject(Dc, Font);
  const TRect Clip(0, 0, 50, 20);
  ExtTextOutW(Dc, 2, 3, ETO_CLIPPED, &Clip, u"ab", 2, nullptr);
  SelectObject(Dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(Font);
  SetBkColor(Dc, RGB(1, 2, 3));
  HBRUSH Brush = CreateSolidBrush(RGB(0, 255, 0));
  TRect R(10, 10, 20, 20);
  FillRect(Dc, &R, Brush);
  DeleteObject(Brush);
  HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
  ASSERT_NE(Mf, nullptr);
  std::vector<Byte> B = BytesOf(Mf);
  std::vector<std::string> Trace = RecordTrace(B);
  ASSERT_GE(Trace.size(), 2u);
  Trace.erase(Trace.begin());  // header, checked below
  // Object 1 (the pen) is deleted once deselected; its slot serves the
  // font, then the brush. 16-bit points when they fit. dx comes from the
  // font even though the caller gave none.
  ASSERT_EQ(Trace.size(), 18u) << ::testing::PrintToString(Trace);
  EXPECT_EQ(Trace[0], "CREATEPEN 1 style 0 width 2 0000FF");
  EXPECT_EQ(Trace[1], "SELECTOBJECT 1");
  EXPECT_EQ(Trace[2], "POLYLINE16 (1,1) (5,3)");
  EXPECT_EQ(Trace[3], "POLYLINE (1,1) (40000,3)");
  EXPECT_EQ(Trace[4], "SELECTOBJECT stock 7");
  EXPECT_EQ(Trace[5], "DELETEOBJECT 1");
  EXPECT_EQ(Trace[6], "EXTCREATEFONTINDIRECTW 1 \"Arial\" -12 w400");
  EXPECT_EQ(Trace[7], "SELECTOBJECT 1");
  EXPECT_EQ(Trace[8].rfind("EXTTEXTOUTW (2,3) \"ab\" opts 000004 dx ", 0), 0u) << Trace[8];
  EXPECT_EQ(Trace[9], "SELECTOBJECT stock 13");
  EXPECT_EQ(Trace[10], "DELETEOBJECT 1");
  EXPECT_EQ(Trace[11], "SETBKCOLOR 030201");
  EXPECT_EQ(Trace[12], "CREATEBRUSHINDIRECT 1 style 0 00FF00");
  EXPECT_EQ(Trace[13], "SELECTOBJECT 1");
  EXPECT_EQ(Trace[14], "BITBLT (10,10) 10x10 rop F00021 no bitmap");
  // The stock brush comes back, then the brush goes.
  EXPECT_EQ(Trace[15], "SELECTOBJECT stock 0");
  EXPECT_EQ(Trace[16], "DELETEOBJECT 1");
  EXPECT_EQ(Trace[17], "EOF");
  TEmrHeader H = EmfReadHeader(B);
  EXPECT_EQ(H.Handles, 2u);
  EXPECT_EQ(H.Device, TSize(1024, 768));
  EXPECT_LE(H.Bounds.Left, 1);
  EXPECT_GE(H.Bounds.Right, 40000);
  DeleteEnhMetaFile(Mf);
}

TEST(TEmfRecorderDC, TextAlwaysCarriesAdvances) {
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  HFONT Font = CreateFontW(-16, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, u"Arial");
  SelectObject(Dc, Font);
  TextOutW(Dc, 0, 0, u"Wil", 3);
  const int Given[] = {9, 8, 7};
  ExtTextOutW(Dc, 0, 20, 0, nullptr, u"Wil", 3, Given);
  std::vector<int> Measured(3);
  TSize Ext;
  GetTextExtentExPointW(Dc, u"Wil", 3, 0, nullptr, Measured.data(), &Ext);
  HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
  DeleteObject(Font);
  std::vector<TEmrExtTextOut> Texts;
  std::vector<Byte> B = BytesOf(Mf);
  EmfForEachRecord(B, [&](const TEmfRecord& R) {
    if (R.Type() == EMR_EXTTEXTOUTW) Texts.push_back(TEmrExtTextOut::Read(R));
    return true;
  });
  ASSERT_EQ(Texts.size(), 2u);
  // GetTextExtentExPoint answers cumulative extents; the record holds advances.
  EXPECT_EQ(Texts[0].Dx, (std::vector<Integer>{Measured[0], Measured[1] - Measured[0], Measured[2] - Measured[1]}));
  EXPECT_GT(Texts[0].Dx[0], Texts[0].Dx[2]) << "W is wider than l";
  EXPECT_EQ(Texts[1].Dx, (std::vector<Integer>{9, 8, 7}));
  DeleteEnhMetaFile(Mf);
}

TEST(TEmfRecorderDC, StateQueriesAnswerAsOnAnyDc) {
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  SetMapMode(Dc, MM_ANISOTROPIC);
  SetWindowExtEx(Dc, 100, 100, nullptr);
  SetViewportExtEx(Dc, 50, 50, nullptr);
  SetTextColor(Dc, RGB(9, 8, 7));
  MoveToEx(Dc, 4, 6, nullptr);
  LineTo(Dc, 40, 60);
  EXPECT_EQ(GetMapMode(Dc), MM_ANISOTROPIC);
  EXPECT_EQ(GetTextColor(Dc), RGB(9, 8, 7));
  TPoint Cur;
  GetCurrentPositionEx(Dc, &Cur);
  EXPECT_EQ(Cur, TPoint(40, 60));
  EXPECT_EQ(GetDeviceCaps(Dc, LOGPIXELSX), 96);
  HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
  // Bounds are in device units: the line ends at (20, 30) after the 1:2 mapping.
  TEmrHeader H = EmfReadHeader(BytesOf(Mf));
  EXPECT_NEAR(H.Bounds.Right, 20, 1);
  EXPECT_NEAR(H.Bounds.Bottom, 30, 1);
  EXPECT_EQ(RecordTypes(BytesOf(Mf)),
            (std::vector<std::string>{"HEADER", "SETMAPMODE", "SETWINDOWEXTEX", "SETVIEWPORTEXTEX",
                                      "SETTEXTCOLOR", "MOVETOEX", "LINETO", "EOF"}));
  DeleteEnhMetaFile(Mf);
  EXPECT_EQ(CloseEnhMetaFile(Dc), nullptr) << "the DC is gone";
}

TEST(TEmfRecorderDC, FrameAndDescriptionGoToTheHeaderAndFile) {
  const TRect Frame(0, 0, 2000, 1000);
  const std::string Name = ::testing::TempDir() + "sx_recorder_page.emf";
  HDC Dc = CreateEnhMetaFileA(nullptr, Name.c_str(), &Frame, "Sourcelux\0Page 1\0");
  Rectangle(Dc, 0, 0, 10, 10);
  HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
  ASSERT_NE(Mf, nullptr);
  HENHMETAFILE FromFile = GetEnhMetaFileA(Name.c_str());
  ASSERT_NE(FromFile, nullptr);
  EXPECT_EQ(BytesOf(FromFile), BytesOf(Mf));
  ENHMETAHEADER H{};
  GetEnhMetaFileHeader(Mf, sizeof H, &H);
  EXPECT_EQ(H.rclFrame, Frame);
  char16_t Desc[32] = {};
  EXPECT_EQ(GetEnhMetaFileDescriptionW(Mf, 32, Desc), 18u);
  EXPECT_EQ(WideString(Desc, 9), u"Sourcelux");
  EXPECT_EQ(WideString(Desc + 10, 6), u"Page 1");
  DeleteEnhMetaFile(Mf);
  DeleteEnhMetaFile(FromFile);
  std::remove(Name.c_str());
}

TEST(TEmfRecorderDC, BlitsEmbedTheSourcePixelsAndPatternFillsNone) {
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  TRasterTarget Src(4, 2);
  SetPixel(Src.Dc, 1, 0, RGB(10, 20, 30));
  BitBlt(Dc, 5, 5, 2, 2, Src.Dc, 1, 0, SRCCOPY);
  PatBlt(Dc, 0, 0, 3, 3, PATCOPY);
  HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
  std::vector<TEmrBitBlt> Blts;
  std::vector<Byte> B = BytesOf(Mf);
  EmfForEachRecord(B, [&](const TEmfRecord& R) {
    if (R.Type() == EMR_BITBLT) Blts.push_back(TEmrBitBlt::Read(R));
    return true;
  });
  ASSERT_EQ(Blts.size(), 2u);
  TDib D = DibFromInfo(Blts[0].Bmi.data(), Blts[0].Bmi.size(), Blts[0].Bits.data(), Blts[0].Bits.size());
  ASSERT_EQ(D.Width(), 2);
  ASSERT_EQ(D.Height(), 2);
  std::vector<std::uint32_t> Px = DibToBgra32(D);
  EXPECT_EQ(Px[0] & 0xFFFFFF, 0x0A141Eu) << "top-left of the source rectangle";
  EXPECT_EQ(Px[1] & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_TRUE(Blts[1].Bmi.empty());
  DeleteEnhMetaFile(Mf);
}
