// Each dialog's form as the screen shows it, compared at chosen pixels
// with a small golden picture that a person has looked at
// (tests/fixtures/dialogs/*.png). Text differs between machines' fonts, so
// the chosen pixels lie on the look the dialogs draw themselves: the list's
// selection and icons, the swatches, the sample, the group frames.
// SX_UPDATE_GOLDENS=1 writes the pictures anew (then look at them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "DialogTestSupport.h"
#include "platform/forms/ColorDialog.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/FileListView.h"
#include "platform/forms/FontDialog.h"
#include "platform/forms/PrinterDialogs.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Win.h"
#include "support/TestFiles.h"

namespace {
using DialogPictures = TDialogsTest;

struct TChosenPixel {
  int X, Y;  // in the window's picture
  const char* What;
};
// A small part of the window kept as a golden picture, and the pixels in
// it that must match.
struct TGoldenPart {
  TRect Area;  // in the window's picture
  std::vector<TChosenPixel> Pixels;
};

std::string GoldenPath(const std::string& Name) {
  return std::string(SX_SOURCE_DIR) + "/tests/fixtures/dialogs/" + Name + ".png";
}

// Saves the form's picture under build/, and compares the chosen pixels
// with the golden parts (or writes them on request).
void CheckPicture(TForm* Form, const std::string& Name, const std::vector<TGoldenPart>& Parts) {
  TDialogsTest::SaveShot(Form, "dialog-" + Name);
  TRect W;
  GetWindowRect(Form->Handle(), &W);
  for (size_t i = 0; i < Parts.size(); ++i) {
    const TGoldenPart& Part = Parts[i];
    const TRect Screen{W.Left + Part.Area.Left, W.Top + Part.Area.Top, W.Left + Part.Area.Right,
                       W.Top + Part.Area.Bottom};
    const std::string Golden = GoldenPath(Name + "-" + std::to_string(i + 1));
    if (std::getenv("SX_UPDATE_GOLDENS")) {
      std::filesystem::create_directories(std::filesystem::path(Golden).parent_path());
      HeadlessDisplay().SaveScreenshot(Golden, &Screen);
      continue;
    }
    ASSERT_TRUE(std::filesystem::exists(Golden)) << Golden;
    const TDib G = ReadPng(sxtest::ReadFileBytes(Golden), TPngAlpha::OverWhite);
    ASSERT_EQ(G.BitCount(), 24);
    ASSERT_EQ(G.Width(), Part.Area.Width());
    ASSERT_EQ(G.Height(), Part.Area.Height());
    for (const TChosenPixel& P : Part.Pixels) {
      SCOPED_TRACE(P.What);
      ASSERT_TRUE(P.X >= Part.Area.Left && P.X < Part.Area.Right && P.Y >= Part.Area.Top && P.Y < Part.Area.Bottom);
      const COLORREF Got = HeadlessDisplay().ScreenPixel(W.Left + P.X, W.Top + P.Y);
      const Byte* Px = G.ScanLine(P.Y - Part.Area.Top) + (P.X - Part.Area.Left) * 3;  // blue, green, red
      EXPECT_EQ(Got, RGB(Px[2], Px[1], Px[0])) << "at " << P.X << "," << P.Y;
    }
  }
}
}  // namespace

TEST_F(DialogPictures, OpenPictureDialogWithItsListSelectionAndPreview) {
  Touch("pics/b.txt");
  std::filesystem::create_directories(Dir.Path() / "pics" / "album");
  // A small picture to preview: a red square on blue.
  {
    TBitmap B;
    B.SetWidth(40);
    B.SetHeight(30);
    B.Canvas()->Brush()->SetColor(clBlue);
    B.Canvas()->FillRect({0, 0, 40, 30});
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect({10, 5, 30, 25});
    B.SaveToFile(Folder() + "pics/a.bmp");
  }
  TOpenPictureDialog D(nullptr);
  D.SetInitialDir(Folder() + "pics");
  TDialogScript S;
  S.ThenShowForm();
  Drive(D, [&] { return D.Execute(); },
        {
            [&](TForm* F) {
              auto* L = Named<TFileListView>(F, "FileList");
              const TRect R = L->ItemRect(1);
              ClickAt(L, 60, (R.Top + R.Bottom) / 2);
            },
            [&](TForm* F) {
              CheckPicture(F, "open-picture",
                           {{{130, 60, 330, 120},
                             {{145, 92, "the folder's icon"},
                              {143, 109, "the file's icon on the selection"},
                              {300, 109, "the selected row"},
                              {300, 92, "a row not selected"},
                              {250, 73, "the column header"}}},
                            {{600, 150, 740, 220},
                             {{675, 190, "the picture's red square"},
                              {660, 180, "its blue ground"},
                              {620, 160, "the preview around the picture"}}}});
              Key(VK_ESCAPE);
            },
        });
}

TEST_F(DialogPictures, ColorFontAndPrinterSetupDialogs) {
  TColorDialog Color(nullptr);
  Color.SetColor(clRed);
  Color.SetOptions({cdFullOpen});
  Color.GetCustomColors()->Add("ColorA=00FF00");
  TFontDialog Font(nullptr);
  Font.GetFont()->SetName("Liberation Serif");
  Font.GetFont()->SetSize(12);
  Font.GetFont()->SetColor(clNavy);
  TPrinterSetupDialog Printer(nullptr);
  struct TCase {
    TCommonDialog* Dialog;
    const char* Name;
    std::vector<TGoldenPart> Parts;
  };
  const TCase Cases[] = {
      {&Color,
       "color",
       {{{4, 64, 64, 96},
         {{24, 79, "the red basic colour"}, {11, 79, "the frame of the chosen cell"}, {47, 79, "its neighbour"}}},
        {{8, 205, 40, 225}, {{22, 216, "the first custom colour"}}},
        {{280, 60, 320, 100}, {{300, 80, "the sample of the colour"}}}}},
      {&Font,
       "font",
       {{{176, 70, 290, 100}, {{200, 76, "the chosen style"}, {200, 95, "a style not chosen"}}},
        {{230, 240, 270, 260}, {{250, 250, "the sample's ground"}}}}},
      {&Printer,
       "printer-setup",
       {{{12, 160, 60, 200}, {{28, 173, "the checked radio button"}, {28, 193, "the unchecked one"}}},
        {{150, 50, 250, 70}, {{200, 60, "the printer shown in the combo box"}}}}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TDialogScript S;
    S.ThenShowForm();
    Drive(*C.Dialog, [&] { return C.Dialog->Execute(); },
          {
              [&](TForm* F) {
                CheckPicture(F, C.Name, C.Parts);
                Key(VK_ESCAPE);
              },
          });
  }
}
