// A small page drawn through the class-library graphics the way the export
// engines draw: text in three faces, shapes and a gradient. It is saved as
// BMP and judged by an outside decoder against tolerances, because glyph
// anti-aliasing may move by a pixel without being wrong.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Canvas.h"
#include "support/TestFiles.h"

namespace {

constexpr int W = 320, H = 200;

void DrawPage(TBitmap& Bmp) {
  Bmp.SetPixelFormat(pf24bit);
  Bmp.SetSize(W, H);
  TCanvas* C = Bmp.Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(Rect(0, 0, W, H));

  const char* Faces[] = {"Arial", "Times New Roman", "Courier New"};
  for (int I = 0; I < 3; ++I) {
    C->Font()->SetName(Faces[I]);
    C->Font()->SetSize(14);
    C->Font()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(10, 10 + I * 30, "Hamburgefonts");
  }

  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clRed);
  C->Pen()->SetColor(clBlue);
  C->Rectangle(200, 10, 300, 60);   // red inside a blue one-pixel frame
  C->Brush()->SetColor(clLime);
  C->Pen()->SetColor(clBlack);
  C->Ellipse(200, 70, 300, 110);

  TRIVERTEX V[2];
  V[0].x = 10, V[0].y = 130, V[0].Red = 0, V[0].Green = 0, V[0].Blue = 0xFF00;
  V[1].x = 310, V[1].y = 190, V[1].Red = 0xFF00, V[1].Green = 0xFF00, V[1].Blue = 0;
  GRADIENT_RECT R{0, 1};
  GradientFill(C->GetHandle(), V, 2, &R, 1, GRADIENT_FILL_RECT_H);
}

using sxtest::RunCommand;

}  // namespace

TEST(RenderedPage, OutsideDecoderSeesTextShapesAndGradient) {
  if (access("/usr/bin/python3", X_OK) != 0) GTEST_SKIP() << "no /usr/bin/python3";
  TBitmap Bmp;
  DrawPage(Bmp);
  const std::string File = testing::TempDir() + "rendered_page_" + std::to_string(getpid()) + ".bmp";
  Bmp.SaveToFile(File);

  // The script prints one line per check: name, then what it measured.
  const std::string Script = R"PY(
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert("RGB")
px = im.load()
print("size", im.size[0], im.size[1])
for i in range(3):
    band = [(x, y) for y in range(10 + i * 30, 10 + i * 30 + 28) for x in range(0, 195) if sum(px[x, y]) < 200]
    xs = [p[0] for p in band] or [0]
    print("ink%d" % i, len(band), min(xs), max(xs))
edge = {px[x, y] for y in range(10, 100) for x in range(0, 195) if 40 < sum(px[x, y]) < 720}
print("greys", len(edge), 0, 0)
print("rect", *px[250, 35])
print("frame", *px[200, 35])
print("ellipse", *px[250, 90])
print("outside", *px[202, 72])
print("gradleft", *px[11, 160])
print("gradmid", *px[160, 160])
print("gradright", *px[308, 160])
)PY";
  const std::string ScriptFile = File + ".py";
  std::ofstream(ScriptFile) << Script;
  std::istringstream Out(RunCommand("/usr/bin/python3 " + ScriptFile + " " + File));
  std::remove(ScriptFile.c_str());
  std::remove(File.c_str());

  std::string Name;
  int A = 0, B = 0, Cc = 0;
  std::map<std::string, std::array<int, 3>> M;
  while (Out >> Name >> A >> B) {
    if (Name != "size") Out >> Cc;
    M[Name] = {A, B, Cc};
  }
  ASSERT_EQ(M.count("size"), 1u) << "the decoder could not read the file";
  EXPECT_EQ(M["size"][0], W);
  EXPECT_EQ(M["size"][1], H);
  for (int I = 0; I < 3; ++I) {
    SCOPED_TRACE(I);
    const auto& Ink = M["ink" + std::to_string(I)];
    EXPECT_GT(Ink[0], 150) << "dark text pixels";
    EXPECT_LE(Ink[1], 12) << "text starts at its origin";
    EXPECT_GT(Ink[2], 100) << "a 13-letter word at 14 pt is wide";
    EXPECT_LT(Ink[2], 195);
  }
  // A 24-bit page: glyph edges are blended into the ground, as on 32 bits.
  EXPECT_GE(M["greys"][0], 20) << "intermediate greys at the glyph edges";
  auto Near = [&](const char* Key, int R, int G, int Bv, int Tol) {
    const auto& P = M[Key];
    EXPECT_NEAR(P[0], R, Tol) << Key;
    EXPECT_NEAR(P[1], G, Tol) << Key;
    EXPECT_NEAR(P[2], Bv, Tol) << Key;
  };
  Near("rect", 255, 0, 0, 0);
  Near("frame", 0, 0, 255, 0);
  Near("ellipse", 0, 255, 0, 0);
  Near("outside", 255, 255, 255, 0);
  Near("gradleft", 0, 0, 255, 3);
  Near("gradmid", 128, 128, 128, 6);
  Near("gradright", 255, 255, 0, 3);
}
