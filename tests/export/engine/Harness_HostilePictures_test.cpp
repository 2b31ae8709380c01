// Metafile pictures that ask for far more than their frame
// (support/HostileMetafiles.h). On every road the
// picture stays inside its frame, the conversion succeeds, and the work is
// that of the frame (a document of a few hundred bytes converts at once).
// And a metafile stretching a bitmap over its window fills its goal size.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "export/HarnessRun.h"
#include "platform/rtl/FileUtils.h"
#include "support/HostileMetafiles.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

std::string PictureRtf(int Ext, int Goal) {
  return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 before {\\pict\\wmetafile8\\picw100\\pich100\\picwgoal" +
         std::to_string(Goal) + "\\pichgoal" + std::to_string(Goal) + " " + sxtest::HexBytes(sxtest::StretchedBlitWmf(Ext)) + "} after\\par}";
}

// Orange pixels of a picture file, and its size, as PIL counts them.
const char* const CountOrange = R"PY(
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
n = sum(1 for p in im.getdata() if abs(p[0] - 0xE0) < 24 and abs(p[1] - 0x80) < 24 and abs(p[2] - 0x20) < 24)
print(n, im.size[0], im.size[1])
)PY";

struct TCount { long Orange = -1, W = 0, H = 0; };

TCount Count(const fs::path& Dir, const std::string& Picture) {
  std::ofstream(Dir / "count.py") << CountOrange;
  std::istringstream In(sxtest::RunCommand("/usr/bin/python3 " + sxtest::HarnessQuote((Dir / "count.py").string()) +
                                           " " + sxtest::HarnessQuote(Picture)));
  TCount C;
  In >> C.Orange >> C.W >> C.H;
  return C;
}

}  // namespace

TEST(HostilePictures, StretchedMetafileStaysInItsFrameOnEveryRoad) {
  if (!fs::exists("/usr/bin/pdftoppm") || sxtest::RunStatus("/usr/bin/python3 -c 'import PIL' 2>/dev/null") != 0)
    GTEST_SKIP() << "pdftoppm or PIL missing";
  const fs::path Dir = fs::temp_directory_path() / ("sx_hostile_pictures_" + std::to_string(getpid()));
  fs::create_directories(Dir);
  struct TCase { int Ext, Goal; const char* Format; };
  const TCase Cases[] = {
      {1, 4000, "png"}, {0, 4000, "png"}, {1, 5000, "bmp"}, {0, 5000, "jpg"},
      {1, 4000, "pdf"}, {0, 5000, "pdf"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Format) + " extent " + std::to_string(C.Ext) + " goal " + std::to_string(C.Goal));
    const fs::path In = Dir / "picture.rtf";
    std::ofstream(In, std::ios::binary) << PictureRtf(C.Ext, C.Goal);
    const fs::path Out = Dir / (std::string("out.") + C.Format);
    const sxtest::THarnessResult R = sxtest::RunConvertHarness(In.string(), C.Format, Out.string(),
                                                               sxtest::THarnessInput::InputRtf);
    ASSERT_EQ(R.Status, 0) << R.Error;
    ASSERT_FALSE(R.Files.empty());
    ASSERT_TRUE(fs::is_regular_file(R.Files[0])) << R.Files[0];
    std::string Picture = R.Files[0];
    // The page at 96 pixels per inch, as the raster pages are.
    if (std::string(C.Format) == "pdf") {
      const std::string Base = (Dir / "page").string();
      ASSERT_EQ(sxtest::RunStatus("/usr/bin/pdftoppm -r 96 -png -singlefile " + sxtest::HarnessQuote(Picture) + " " +
                                  sxtest::HarnessQuote(Base)),
                0);
      Picture = Base + ".png";
    }
    const TCount N = Count(Dir, Picture);
    // The frame is Goal twips square: the picture fills it and no more.
    const double Side = C.Goal / 1440.0 * 96;
    EXPECT_GT(N.Orange, long(0.8 * Side * Side));
    EXPECT_LT(N.Orange, long(1.1 * Side * Side)) << N.W << " x " << N.H;
  }
  fs::remove_all(Dir);
}

namespace {
// The boxes of the red and of the blue pixels of a page, as PIL finds them:
// "left top right bottom" each.
const char* const ColourBoxes = R"PY(
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
for want in ((255, 0, 0), (0, 0, 255)):
    mask = Image.new('L', im.size)
    mask.putdata([255 if all(abs(a - b) < 60 for a, b in zip(p, want)) else 0 for p in im.getdata()])
    print(*(mask.getbbox() or (0, 0, 0, 0)))
)PY";
}  // namespace

// A metafile whose one record stretches a DIB (red left half, blue right
// half) over its window, placed after a letter: on the PNG page and in the
// PDF its picture fills the box of its goal size (2010 x 930 twips, 134 x 62
// pixels), its halves meeting in the middle, as the rich edit draws it.
TEST(HostilePictures, StretchedMetafileFillsItsGoalSizeOnEveryRoad) {
  if (!fs::exists("/usr/bin/pdftoppm") || sxtest::RunStatus("/usr/bin/python3 -c 'import PIL' 2>/dev/null") != 0)
    GTEST_SKIP() << "pdftoppm or PIL missing";
  const fs::path Dir = fs::temp_directory_path() / ("sx_goal_pictures_" + std::to_string(getpid()));
  fs::create_directories(Dir);
  std::ofstream(Dir / "boxes.py") << ColourBoxes;
  const std::string In = SX_SOURCE_DIR "/tests/fixtures/rtf/richedit_wmf_stretchblt.rtf";
  for (const char* Format : {"png", "pdf"}) {
    SCOPED_TRACE(Format);
    const fs::path Out = Dir / (std::string("out.") + Format);
    const sxtest::THarnessResult R =
        sxtest::RunConvertHarness(In, Format, Out.string(), sxtest::THarnessInput::InputRtf);
    ASSERT_EQ(R.Status, 0) << R.Error;
    ASSERT_FALSE(R.Files.empty());
    std::string Page = R.Files[0];
    if (std::string(Format) == "pdf") {
      const std::string Base = (Dir / "page").string();
      ASSERT_EQ(sxtest::RunStatus("/usr/bin/pdftoppm -r 96 -png -singlefile " + sxtest::HarnessQuote(Page) + " " +
                                  sxtest::HarnessQuote(Base)),
                0);
      Page = Base + ".png";
    }
    std::istringstream Boxes(sxtest::RunCommand("/usr/bin/python3 " + sxtest::HarnessQuote((Dir / "boxes.py").string()) +
                                                " " + sxtest::HarnessQuote(Page)));
    int Red[4] = {}, Blue[4] = {};
    Boxes >> Red[0] >> Red[1] >> Red[2] >> Red[3] >> Blue[0] >> Blue[1] >> Blue[2] >> Blue[3];
    EXPECT_NEAR(Blue[2] - Red[0], 134, 2);
    EXPECT_NEAR(std::max(Red[3], Blue[3]) - std::min(Red[1], Blue[1]), 62, 2);
    EXPECT_NEAR(Red[2] - Red[0], 67, 2);
    EXPECT_NEAR(Blue[2] - Blue[0], 67, 2);
    EXPECT_NEAR(Red[1], 25, 1);   // the top of the page's rectangle
  }
  fs::remove_all(Dir);
}
