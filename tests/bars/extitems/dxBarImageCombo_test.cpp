// The image combo: image indexes kept with the entries and streamed beside
// them, and the entries drawn with their images.
#include "../BarsTestSupport.h"
#include "ExtItemsTestSupport.h"

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/ImageList.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"

namespace {

class ImageComboTest : public BarsTest {};

const char* const ZoomBox =
    "object ZoomForm: TForm\r\n"
    "  object dxBarManager1: TdxBarManager\r\n"
    "    object Zoom: TdxBarImageCombo\r\n"
    "      Caption = '&Zoom :'\r\n"
    "      Category = 0\r\n"
    "      Text = '100%%'\r\n"
    "      ShowEditor = True\r\n"
    "      Items.Strings = (\r\n"
    "        '500%%'\r\n"
    "        '200%%'\r\n"
    "        '100%%'\r\n"
    "        'Widen To Source Width')\r\n"
    "      ItemIndex = 2\r\n"
    "      ImageIndexes = (%s)\r\n"
    "    end\r\n"
    "  end\r\n"
    "end\r\n";

TEST_F(ImageComboTest, ImageIndexesLoadBesideTheEntries) {
  RegisterClasses({TForm::StaticClass()});
  struct TCase {
    const char* Stored;
    std::vector<Integer> Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {"\r\n        0\r\n        1\r\n        -1\r\n        3", {0, 1, -1, 3}, "one per entry"},
      {"\r\n        4\r\n        5", {4, 5, -1, -1}, "fewer values leave the rest without image"},
      {"\r\n        1\r\n        2\r\n        3\r\n        4\r\n        5\r\n        6", {1, 2, 3, 4},
       "more values than entries are dropped"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    char Text[1024];
    std::snprintf(Text, sizeof Text, ZoomBox, C.Stored);
    auto* F = new TForm(App.get());
    TextToComponent(Text, F);
    auto* Zoom = dynamic_cast<TdxBarImageCombo*>(GetBarManagerOfForm(F)->FindItemByName("Zoom"));
    ASSERT_NE(Zoom, nullptr);
    std::vector<Integer> Got;
    for (Integer I = 0; I < Zoom->Items()->GetCount(); ++I) Got.push_back(Zoom->GetImageIndex(I));
    EXPECT_EQ(Got, C.Want);
    EXPECT_EQ(Zoom->GetText(), "100%");
    EXPECT_TRUE(Zoom->GetShowEditor());
    // Written back: one value per entry, always.
    const AnsiString Out = ComponentToText(Zoom);
    AnsiString Expect = "ImageIndexes = (";
    for (Integer V : C.Want) Expect += "\r\n    " + std::to_string(V);
    EXPECT_NE(Out.find(Expect), AnsiString::npos) << Out;
    delete F;
  }
}

TEST_F(ImageComboTest, ImageIndexOutsideTheEntriesIsNone) {
  auto* Z = NewItem<TdxBarImageCombo>("Zoom");
  Z->Items()->Add("a");
  Z->SetImageIndex(0, 7);
  Z->SetImageIndex(3, 1);
  EXPECT_EQ(Z->GetImageIndex(0), 7);
  EXPECT_EQ(Z->GetImageIndex(-1), -1);
  EXPECT_EQ(Z->GetImageIndex(3), -1);
  EXPECT_FALSE(Z->GetShowEditor());
}

// Where the text of an entry starts: the first column with ink.
int FirstInk(TBitmap& B, int Y0, int Y1) {
  for (int X = 0; X < B.GetWidth(); ++X)
    for (int Y = Y0; Y < Y1; ++Y)
      if (B.Canvas()->GetPixel(X, Y) != clWhite) return X;
  return -1;
}

TEST_F(ImageComboTest, EntryWithoutImageKeepsItsTextAlignedInTheOpenList) {
  auto* Z = NewItem<TdxBarImageCombo>("Zoom");
  Z->Items()->Add("With");
  Z->Items()->Add("None");
  Z->SetImageIndex(0, 0);
  TImageList Images(nullptr);
  Images.SetSize(16, 16);
  TBitmap Red;
  Red.SetSize(16, 16);
  Red.Canvas()->Brush()->SetColor(clRed);
  Red.Canvas()->FillRect({0, 0, 16, 16});
  Images.Add(&Red, nullptr);
  Z->SetImages(&Images);

  TBitmap B;
  B.SetSize(120, 20);
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(clWhite);
  C->Font()->SetColor(clBlack);
  Z->DrawItem(C, 0, {0, 0, 120, 20}, false, true);
  EXPECT_EQ(C->GetPixel(8, 10), clRed) << "the image at the left";
  const int WithText = FirstInk(B, 0, 20) ;
  C->FillRect({0, 0, 120, 20});
  Z->DrawItem(C, 1, {0, 0, 120, 20}, false, true);
  const int OpenList = FirstInk(B, 0, 20);
  C->FillRect({0, 0, 120, 20});
  Z->DrawItem(C, 1, {0, 0, 120, 20}, false, false);
  const int EditPart = FirstInk(B, 0, 20);
  EXPECT_EQ(WithText, 1) << "the image's column";
  EXPECT_GE(OpenList, 19) << "in the open list the text stays beside the image column";
  EXPECT_LT(EditPart, 10) << "in the edit part the text moves to the left";
  Z->SetImages(nullptr);
}

class ImageComboWindowTest : public ExtItemsWindowTest {};

TEST_F(ImageComboWindowTest, ComboDrawsTheSelectedEntrysImage) {
  TImageList Images(Form);
  Images.SetSize(16, 16);
  TBitmap Blue;
  Blue.SetSize(16, 16);
  Blue.Canvas()->Brush()->SetColor(clBlue);
  Blue.Canvas()->FillRect({0, 0, 16, 16});
  Images.Add(&Blue, nullptr);
  auto* Z = Add<TdxBarImageCombo>("Zoom");
  Z->SetWidth(140);
  Z->Items()->Add("100%");
  Z->SetImageIndex(0, 0);
  Z->SetItemIndex(0);
  Z->SetImages(&Images);
  Show();
  auto* C = ControlOf<TdxBarImageComboControl>(Z);
  ASSERT_NE(C, nullptr);
  EXPECT_GE(C->GetHeight(), 22);
  sxtest::SaveShot(Form, "barscust-imagecombo");
  const TRect R = Z->GetLink(0)->GetItemRect();
  EXPECT_EQ(Pixel({R.Left + 12, (R.Top + R.Bottom) / 2}), clBlue);
}

}  // namespace
