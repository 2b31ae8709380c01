// Table borders thinner than a device pixel (0.5 pt, 0.75 pt at 96 pixels
// per inch) show on raster pages as one-pixel lines, as they do in PDF and
// SVG.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include "export/HarnessRun.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

// Rows and columns of the page holding a dark run of at least the given
// length: the horizontal and the vertical lines.
const char* const Lines = R"PY(
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('L')
w, h = im.size
px = im.load()
def runs(cells):
    best = cur = 0
    for v in cells:
        cur = cur + 1 if v < 160 else 0
        best = max(best, cur)
    return best
rows = sum(1 for y in range(h) if runs(px[x, y] for x in range(w)) >= 150)
cols = sum(1 for x in range(w) if runs(px[x, y] for y in range(h)) >= 40)
print(rows, cols)
)PY";

}  // namespace

TEST(RasterHairlines, ThinTableBordersDrawOnePixel) {
  if (sxtest::RunStatus("/usr/bin/python3 -c 'import PIL' 2>/dev/null") != 0) GTEST_SKIP() << "PIL missing";
  const fs::path Dir = fs::temp_directory_path() / ("sx_hairlines_" + std::to_string(getpid()));
  fs::create_directories(Dir);
  std::ofstream(Dir / "lines.py") << Lines;
  for (const char* Width : {"10", "15"}) {
    for (const char* Format : {"png", "bmp", "jpg"}) {
      SCOPED_TRACE(std::string(Format) + " border " + Width + " twips");
      const std::string B = std::string("\\brdrs\\brdrw") + Width;
      const std::string Rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\\trowd\\clbrdrt" + B + "\\clbrdrl" + B +
                              "\\clbrdrb" + B + "\\clbrdrr" + B + "\\cellx3000\\pard\\intbl a\\par b\\par c\\par d\\cell\\row"
                              "\\pard after\\par}";
      const fs::path In = Dir / "table.rtf";
      std::ofstream(In, std::ios::binary) << Rtf;
      const sxtest::THarnessResult R = sxtest::RunConvertHarness(In.string(), Format, (Dir / "out").string(),
                                                                 sxtest::THarnessInput::InputRtf);
      ASSERT_EQ(R.Status, 0) << R.Error;
      ASSERT_FALSE(R.Files.empty());
      ASSERT_TRUE(fs::is_regular_file(R.Files[0])) << R.Files[0];
      std::istringstream Out(sxtest::RunCommand("/usr/bin/python3 " + sxtest::HarnessQuote((Dir / "lines.py").string()) +
                                                " " + sxtest::HarnessQuote(R.Files[0])));
      int Rows = -1, Cols = -1;
      Out >> Rows >> Cols;
      // Top and bottom, left and right: each at least one pixel.
      EXPECT_GE(Rows, 2);
      EXPECT_GE(Cols, 2);
      EXPECT_LE(Rows, 6);
      EXPECT_LE(Cols, 6);
      for (const std::string& F : R.Files) fs::remove(F);
    }
  }
  fs::remove_all(Dir);
}
