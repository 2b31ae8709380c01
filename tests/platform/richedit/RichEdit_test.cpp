// TRichEdit: loading through Lines, the Lines view, selection and the
// messages its callers send (lengths, selection, streaming, EM_FORMATRANGE).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Layout_TestSupport.h"
#include "platform/forms/Forms.h"
#include "platform/richedit/RichEdit.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"
#include "platform/win/Win.h"
#include "platform/rtl/Streams.h"

using namespace richtest;

namespace {

void Load(TRichEdit& E, const std::string& Bytes) {
  TMemoryStream S;
  S.WriteBuffer(Bytes.data(), Integer(Bytes.size()));
  S.SetPosition(0);
  E.GetLines()->LoadFromStream(&S);
}

struct TBuffer {
  std::string Data;
  std::size_t Pos = 0;
};
DWORD ReadChunks(DWORD_PTR Cookie, BYTE* Buf, LONG Count, LONG* Done) {
  auto* B = reinterpret_cast<TBuffer*>(Cookie);
  const std::size_t N = std::min<std::size_t>(std::size_t(Count), B->Data.size() - B->Pos);
  std::memcpy(Buf, B->Data.data() + B->Pos, N);
  B->Pos += N;
  *Done = LONG(N);
  return 0;
}
DWORD WriteChunks(DWORD_PTR Cookie, BYTE* Buf, LONG Count, LONG* Done) {
  reinterpret_cast<TBuffer*>(Cookie)->Data.append(reinterpret_cast<const char*>(Buf), std::size_t(Count));
  *Done = Count;
  return 0;
}

}  // namespace

TEST(TRichEdit, LoadsRtfOrPlainTextAsTheBytesAndPlainTextSay) {
  struct TCase {
    std::string Bytes;
    bool PlainText;
    std::vector<std::string> Lines;
    bool Bold;   // first run bold
    const char* Why;
  };
  const TCase Cases[] = {
      {"{\\rtf1\\ansi {\\b Bold} text\\par second}", false, {"Bold text", "second"}, true, "RTF is read"},
      {"{\\rtf1\\ansi {\\b Bold} text\\par second}", true, {"{\\rtf1\\ansi {\\b Bold} text\\par second}"}, false,
       "PlainText keeps RTF as text"},
      {"plain\r\nlines\r\n", false, {"plain", "lines"}, false, "text without the RTF prefix"},
      {"", false, {}, false, "nothing"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TRichEdit E(nullptr);
    E.SetPlainText(C.PlainText);
    Load(E, C.Bytes);
    TStrings* L = E.GetLines();
    ASSERT_EQ(L->GetCount(), Integer(C.Lines.size()));
    for (std::size_t I = 0; I < C.Lines.size(); ++I) EXPECT_EQ(L->GetStrings(Integer(I)), C.Lines[I]);
    const auto& D = E.Document();
    EXPECT_EQ(D.CharFormat(D.Paragraphs()[0].Runs[0].Format).Bold, C.Bold);
  }
}

TEST(TRichEdit, LinesEditsKeepTheOtherParagraphsFormats) {
  TRichEdit E(nullptr);
  Load(E, "{\\rtf1\\ansi {\\b one}\\par {\\i two}\\par three}");
  TStrings* L = E.GetLines();
  L->Insert(1, "new");
  L->Delete(0);
  L->SetStrings(2, "THREE");
  L->Add("four");
  ASSERT_EQ(L->GetCount(), 4);
  EXPECT_EQ(L->GetText(), "new\r\ntwo\r\nTHREE\r\nfour\r\n");
  const auto& D = E.Document();
  EXPECT_TRUE(D.CharFormat(D.Paragraphs()[1].Runs[0].Format).Italic);
  L->Clear();
  EXPECT_EQ(L->GetCount(), 0);
  EXPECT_EQ(E.GetTextLen(), 0);
}

TEST(TRichEdit, AnswersLengthsAndSelectionMessages) {
  TRichEdit E(nullptr);
  Load(E, "ab\r\ncd\r\nef");   // a, b, CR, c, d, CR, e, f
  EXPECT_EQ(E.Perform(WM_GETTEXTLENGTH), 8);
  GETTEXTLENGTHEX G;
  EXPECT_EQ(E.Perform(EM_GETTEXTLENGTHEX, WPARAM(&G)), 8);
  G.flags = GTL_USECRLF;
  EXPECT_EQ(E.Perform(EM_GETTEXTLENGTHEX, WPARAM(&G)), 10);
  G.flags = GTL_USECRLF | GTL_NUMBYTES;
  G.codepage = 1200;
  EXPECT_EQ(E.Perform(EM_GETTEXTLENGTHEX, WPARAM(&G)), 20);

  struct TCase {
    CHARRANGE Set;
    CHARRANGE Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {{2, 5}, {2, 5}, "a range"},
      {{5, 2}, {2, 5}, "reversed"},
      {{0, -1}, {0, 8}, "-1 selects to the end"},
      {{3, 99}, {3, 8}, "clamped to the text"},
      {{-1, 0}, {8, 8}, "cpMin -1 deselects at the end"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    CHARRANGE R = C.Set;
    EXPECT_EQ(E.Perform(EM_EXSETSEL, 0, LPARAM(&R)), C.Want.cpMax);
    CHARRANGE Got{-5, -5};
    E.Perform(EM_EXGETSEL, 0, LPARAM(&Got));
    EXPECT_EQ(Got.cpMin, C.Want.cpMin);
    EXPECT_EQ(Got.cpMax, C.Want.cpMax);
    EXPECT_EQ(E.GetSelStart(), C.Want.cpMin);
    EXPECT_EQ(E.GetSelLength(), C.Want.cpMax - C.Want.cpMin);
  }
}

TEST(TRichEdit, StreamsTextInAndOutThroughTheCallback) {
  TRichEdit E(nullptr);
  TBuffer In{"{\\rtf1 first\\par second}"};
  EDITSTREAM S;
  S.dwCookie = DWORD_PTR(&In);
  S.pfnCallback = ReadChunks;
  EXPECT_EQ(E.Perform(EM_STREAMIN, SF_RTF, LPARAM(&S)), LRESULT(In.Data.size()));
  EXPECT_EQ(E.GetLines()->GetCount(), 2);

  TBuffer Out;
  S.dwCookie = DWORD_PTR(&Out);
  S.pfnCallback = WriteChunks;
  E.Perform(EM_STREAMOUT, SF_TEXT, LPARAM(&S));
  EXPECT_EQ(Out.Data, "first\r\nsecond");

  TBuffer Plain{"x\ny"};
  S.dwCookie = DWORD_PTR(&Plain);
  S.pfnCallback = ReadChunks;
  E.Perform(EM_STREAMIN, SF_TEXT, LPARAM(&S));
  EXPECT_EQ(E.GetLines()->GetText(), "x\r\ny\r\n");
}

TEST(TRichEdit, FormatRangePagesTheLoadedDocumentAndReleasesOnNull) {
  TRichEdit E(nullptr);
  std::string Text;
  for (int I = 0; I < 200; ++I) Text += "Line of text number " + std::to_string(I) + "\r\n";
  Load(E, Text);
  const LONG Last = LONG(E.GetTextLen()) - 1;
  FORMATRANGE R;
  R.rc = R.rcPage = {375, 375, 9000, 12000};
  R.chrg = {0, -1};
  std::vector<LONG> Starts;
  for (LONG Start = 0;;) {
    Starts.push_back(Start);
    R.rc = R.rcPage;
    R.chrg.cpMin = Start;
    const LONG Next = LONG(E.Perform(EM_FORMATRANGE, 0, LPARAM(&R)));
    ASSERT_GT(Next, Start);
    if (Next >= Last) break;
    Start = Next;
  }
  EXPECT_GT(Starts.size(), 1u);
  // Pages start at line starts.
  for (LONG S : Starts) EXPECT_TRUE(S == 0 || E.Document().GetText(S - 1, S) == u"\r");
  EXPECT_EQ(E.Perform(EM_FORMATRANGE, 0, 0), 0);
}

TEST(TRichEdit, AnswersMessagesSentToItsWindowWhileHidden) {
  TForm Form(nullptr);
  auto* E = new TRichEdit(&Form);
  E->SetParent(&Form);
  E->SetVisible(false);
  std::string Text;
  for (int I = 0; I < 100; ++I) Text += "Line of text number " + std::to_string(I) + "\r\n";
  Load(*E, Text);
  const HWND Wnd = E->Handle();
  ASSERT_NE(Wnd, nullptr);
  EXPECT_FALSE(IsWindowVisible(Wnd));
  EXPECT_EQ(SendMessage(Wnd, WM_GETTEXTLENGTH, 0, 0), E->GetTextLen());
  EXPECT_GT(E->GetTextLen(), 2000);
  FORMATRANGE R;
  R.rc = R.rcPage = {375, 375, 9000, 6000};
  R.chrg = {0, -1};
  const LRESULT Next = SendMessage(Wnd, EM_FORMATRANGE, 0, LPARAM(&R));
  EXPECT_GT(Next, 0);
  EXPECT_LT(Next, E->GetTextLen()) << "a short page holds part of the text";
  EXPECT_EQ(E->Document().GetText(LONG(Next) - 1, LONG(Next)), u"\r");
  EXPECT_EQ(SendMessage(Wnd, EM_FORMATRANGE, 0, 0), 0);
}

TEST(TRichEdit, FontIsTheFormatOfTextWithoutOne) {
  TRichEdit E(nullptr);
  EXPECT_EQ(E.GetDefaultFormat().Face, u"MS Sans Serif");
  EXPECT_EQ(E.GetDefaultFormat().Size, 16);
  E.GetFont()->SetName("Arial");
  E.GetFont()->SetSize(12);
  E.GetFont()->SetStyle(TFontStyles{fsBold});
  E.GetFont()->SetColor(clRed);
  const TRichCharFormat& D = E.GetDefaultFormat();
  EXPECT_EQ(D.Face, u"Arial");
  EXPECT_EQ(D.Size, 24);
  EXPECT_TRUE(D.Bold);
  EXPECT_FALSE(D.AutoColor);
  EXPECT_EQ(D.Color, RGB(255, 0, 0));
  Load(E, "plain\r\n");
  const TRichDocument& Doc = E.Document();
  ASSERT_FALSE(Doc.Paragraphs().empty());
  ASSERT_FALSE(Doc.Paragraphs()[0].Runs.empty());
  EXPECT_EQ(Doc.CharFormats()[std::size_t(Doc.Paragraphs()[0].Runs[0].Format)].Face, u"Arial");
}

TEST(TRichEdit, ReadsFromAFormDescription) {
  RegisterRichEditClasses();
  RegisterClasses({TForm::StaticClass()});
  TForm Form(nullptr);
  TextToComponent("object Form1: TForm\r\n"
                  "  object RichEdit: TRichEdit\r\n"
                  "    Left = 8\r\n"
                  "    Top = 12\r\n"
                  "    Width = 185\r\n"
                  "    Height = 89\r\n"
                  "    Font.Color = clWindowText\r\n"
                  "    Font.Height = -16\r\n"
                  "    Font.Name = 'Times New Roman'\r\n"
                  "    Font.Style = []\r\n"
                  "    Lines.Strings = (\r\n"
                  "      'RichEdit')\r\n"
                  "    ParentFont = False\r\n"
                  "    PlainText = True\r\n"
                  "    TabOrder = 0\r\n"
                  "    Visible = False\r\n"
                  "  end\r\n"
                  "end\r\n",
                  &Form);
  auto* E = dynamic_cast<TRichEdit*>(Form.FindComponent("RichEdit"));
  ASSERT_NE(E, nullptr);
  EXPECT_EQ(E->GetParent(), &Form);
  EXPECT_EQ(E->BoundsRect(), TRect(8, 12, 193, 101));
  EXPECT_FALSE(E->GetVisible());
  EXPECT_TRUE(E->GetPlainText());
  EXPECT_FALSE(E->GetParentFont());
  EXPECT_EQ(E->GetLines()->GetText(), "RichEdit\r\n");
  EXPECT_EQ(E->GetDefaultFormat().Face, u"Times New Roman");
  EXPECT_EQ(E->GetDefaultFormat().Size, 24);
  EXPECT_TRUE(E->GetDefaultFormat().AutoColor);
}
