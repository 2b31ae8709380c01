// TIcon and the icon calls: .ico/.cur files read from their bytes, the size
// chosen among several, drawing through the AND mask and XOR image, hot
// spots, saving and bad files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Dib_TestSupport.h"
#include "platform/gdi/Picture.h"
#include "platform/gdi/IconGraphic.h"

namespace {

void Put16(std::vector<Byte>& O, int V) { O.push_back(Byte(V)); O.push_back(Byte(V >> 8)); }
void Put32(std::vector<Byte>& O, DWORD V) { Put16(O, int(V & 0xFFFF)); Put16(O, int(V >> 16)); }

// One 32-bit entry: the left half is masked out (and black, as icon editors
// leave it, since the image is XORed there), the right half is Fill.
struct TEntry { int Size; DWORD Fill; };

std::vector<Byte> MakeIco(const std::vector<TEntry>& Entries, int Type = 1, int HotX = 0, int HotY = 0) {
  std::vector<std::vector<Byte>> Images;
  for (const auto& E : Entries) {
    std::vector<Byte> Img;
    Put32(Img, 40); Put32(Img, DWORD(E.Size)); Put32(Img, DWORD(E.Size * 2)); Put16(Img, 1); Put16(Img, 32);
    for (int K = 0; K < 6; ++K) Put32(Img, 0);
    for (int I = 0; I < E.Size * E.Size; ++I) Put32(Img, I % E.Size < E.Size / 2 ? 0 : E.Fill);
    const int Stride = ((E.Size + 31) / 32) * 4;
    for (int Y = 0; Y < E.Size; ++Y)
      for (int B = 0; B < Stride; ++B) {
        Byte V = 0;
        for (int Bit = 0; Bit < 8; ++Bit)
          if (B * 8 + Bit < E.Size / 2) V |= Byte(0x80 >> Bit);
        Img.push_back(V);
      }
    Images.push_back(Img);
  }
  std::vector<Byte> Out;
  Put16(Out, 0); Put16(Out, Type); Put16(Out, int(Entries.size()));
  DWORD Offset = DWORD(6 + 16 * Entries.size());
  for (std::size_t I = 0; I < Entries.size(); ++I) {
    Out.push_back(Byte(Entries[I].Size)); Out.push_back(Byte(Entries[I].Size)); Out.push_back(0); Out.push_back(0);
    Put16(Out, Type == 1 ? 1 : HotX); Put16(Out, Type == 1 ? 32 : HotY);
    Put32(Out, DWORD(Images[I].size())); Put32(Out, Offset);
    Offset += DWORD(Images[I].size());
  }
  for (const auto& Img : Images) Out.insert(Out.end(), Img.begin(), Img.end());
  return Out;
}

void Load(TIcon& Icon, const std::vector<Byte>& Bytes) {
  TMemoryStream S;
  if (!Bytes.empty()) S.WriteBuffer(Bytes.data(), Integer(Bytes.size()));
  S.SetPosition(0);
  Icon.LoadFromStream(&S);
}

std::unique_ptr<TBitmap> Blue(int W, int H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(clBlue);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  return B;
}

}  // namespace

TEST(TIcon, PicksTheSizeNearest32AndDrawsThroughItsMask) {
  TIcon Icon;
  Load(Icon, MakeIco({{16, 0x0000FF00}, {32, 0x00FF0000}, {48, 0x000000FF}}));
  EXPECT_EQ(Icon.GetWidth(), 32);
  EXPECT_EQ(Icon.GetHeight(), 32);
  EXPECT_TRUE(Icon.GetTransparent());
  auto Dst = Blue(40, 40);
  Dst->Canvas()->Draw(4, 4, &Icon);
  EXPECT_EQ(Dst->Canvas()->GetPixel(10, 10), clBlue);  // left half: the mask keeps the screen
  EXPECT_EQ(Dst->Canvas()->GetPixel(30, 10), clRed);   // right half: the image
  EXPECT_EQ(Dst->Canvas()->GetPixel(38, 38), clBlue);  // outside the icon
}

TEST(TIcon, CursorKeepsItsHotSpot) {
  TIcon Cur;
  Load(Cur, MakeIco({{32, 0x00FFFFFF}}, /*Type=*/2, 5, 7));
  ICONINFO Info;
  ASSERT_TRUE(GetIconInfo(Cur.GetHandle(), &Info));
  EXPECT_FALSE(Info.fIcon);
  EXPECT_EQ(Info.xHotspot, 5u);
  EXPECT_EQ(Info.yHotspot, 7u);
  DeleteObject(Info.hbmMask);
  DeleteObject(Info.hbmColor);
}

TEST(TIcon, SavesTheFileBackAndPictureLoadsIcoFiles) {
  const auto Bytes = MakeIco({{16, 0x00123456}, {32, 0x00654321}});
  TIcon A;
  Load(A, Bytes);
  TMemoryStream S;
  A.SaveToStream(&S);
  ASSERT_EQ(S.GetSize(), Int64(Bytes.size()));
  EXPECT_EQ(std::memcmp(S.Memory(), Bytes.data(), Bytes.size()), 0);

  // An icon made from a handle saves as one 32-bit image.
  TIcon B;
  B.SetHandle(CopyIcon(A.GetHandle()));
  const auto File = std::filesystem::temp_directory_path() / ("sx_ticon_" + std::to_string(getpid()) + ".ico");
  B.SaveToFile(File.string());
  TPicture P;
  P.LoadFromFile(File.string());
  std::filesystem::remove(File);
  ASSERT_NE(P.GetGraphic(), nullptr);
  EXPECT_EQ(P.GetGraphic()->ClassName(), "TIcon");
  EXPECT_EQ(P.Width(), 32);
  auto Dst = Blue(32, 32);
  Dst->Canvas()->Draw(0, 0, P.GetGraphic());
  EXPECT_EQ(Dst->Canvas()->GetPixel(3, 3), clBlue);
  EXPECT_EQ(Dst->Canvas()->GetPixel(28, 3), TColor(RGB(0x65, 0x43, 0x21)));
}

TEST(TIcon, BadFilesRaiseAndKeepTheIcon) {
  TIcon Icon;
  Load(Icon, MakeIco({{16, 0}}));
  const HICON Before = Icon.GetHandle();
  auto Png = MakeIco({{16, 0}});
  std::memcpy(Png.data() + 22, "\x89PNG", 4);
  auto Truncated = MakeIco({{32, 0}});
  Truncated.resize(60);
  const std::vector<std::vector<Byte>> Bad = {
      {}, {0, 0, 1, 0, 0, 0}, {0, 0, 3, 0, 1, 0}, Png, Truncated,
  };
  for (const auto& B : Bad) {
    SCOPED_TRACE(B.size());
    EXPECT_THROW(Load(Icon, B), EInvalidGraphic);
    EXPECT_EQ(Icon.GetHandle(), Before);
  }
  EXPECT_THROW(Icon.SetWidth(8), EInvalidGraphicOperation);
}

TEST(Icons, HandlesAreNotGdiObjectsAndDieOnce) {
  TBitmap Mask, Color;
  Mask.SetMonochrome(true);
  Mask.SetSize(8, 8);
  Color.SetSize(8, 8);
  ICONINFO I;
  I.hbmMask = Mask.GetHandle();
  I.hbmColor = Color.GetHandle();
  HICON H = CreateIconIndirect(&I);
  ASSERT_NE(H, nullptr);
  EXPECT_EQ(GdiIconSize(H), TSize(8, 8));
  EXPECT_FALSE(DeleteObject(H));
  EXPECT_TRUE(DestroyIcon(H));
  EXPECT_FALSE(DestroyIcon(H));
  EXPECT_FALSE(DrawIcon(nullptr, 0, 0, H));
  I.hbmMask = nullptr;
  EXPECT_EQ(CreateIconIndirect(&I), nullptr);
}

TEST(TIcon, ReadsPngCompressedImagesAsAnOutsideWriterMakesThem) {
  if (!dibtest::HavePil()) GTEST_SKIP() << "PIL not available";
  dibtest::TScratchDir Dir;
  const std::string File = Dir.File("png.ico");
  // 32 x 32: left half transparent, right half green above red; a half
  // transparent column at x = 16 and a nearly opaque one at x = 17.
  const std::string Script = "from PIL import Image\n"
                             "im = Image.new('RGBA', (32, 32), (9, 9, 9, 0))\n"
                             "for y in range(32):\n"
                             "  for x in range(16, 32):\n"
                             "    im.putpixel((x, y), (0, 255, 0, 255) if y < 16 else (255, 0, 0, 255))\n"
                             "  im.putpixel((16, y), (255, 255, 0, 100))\n"
                             "  im.putpixel((17, y), (255, 255, 0, 200))\n"
                             "im.save('" + File + "', sizes=[(16, 16), (32, 32)])\n"
                             "print(open('" + File + "', 'rb').read()[38:42] == b'\\x89PNG')\n";
  ASSERT_EQ(dibtest::RunPython(Script), "True\n");
  TIcon Icon;
  Icon.LoadFromFile(File);
  EXPECT_EQ(Icon.GetWidth(), 32);
  EXPECT_EQ(Icon.GetHeight(), 32);
  auto Dst = Blue(32, 32);
  Dst->Canvas()->Draw(0, 0, &Icon);
  EXPECT_EQ(Dst->Canvas()->GetPixel(3, 3), clBlue);
  EXPECT_EQ(Dst->Canvas()->GetPixel(3, 28), clBlue);
  EXPECT_EQ(Dst->Canvas()->GetPixel(28, 3), clLime);
  EXPECT_EQ(Dst->Canvas()->GetPixel(28, 28), clRed);
  EXPECT_EQ(Dst->Canvas()->GetPixel(16, 5), clBlue) << "mostly transparent: masked";
  EXPECT_EQ(Dst->Canvas()->GetPixel(17, 5), clYellow) << "mostly opaque: drawn";
  // Saved back byte for byte.
  TMemoryStream S;
  Icon.SaveToStream(&S);
  TMemoryStream F;
  F.LoadFromFile(File);
  ASSERT_EQ(S.GetSize(), F.GetSize());
  EXPECT_EQ(std::memcmp(S.Memory(), F.Memory(), std::size_t(F.GetSize())), 0);
}
