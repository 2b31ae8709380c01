// The EDIT class on its own: keys, mouse, clipboard, undo, limits and
// line messages, driven through the headless display's input.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../win/WinTestSupport.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/EditControl.h"
#include "platform/win/Win.h"

namespace {
class EditTest : public TWinTest {
protected:
  // A shown top-level window holding one edit with the focus.
  HWND MakeEdit(DWORD Style, const char* Text = "", TRect R = {10, 10, 210, 34}) {
    Top = Make(WS_OVERLAPPED | WS_VISIBLE, {100, 100, 500, 400});
    Edit = CreateWindowExA(0, "EDIT", Text, WS_CHILD | WS_VISIBLE | Style, R.Left, R.Top, R.Width(), R.Height(), Top,
                           HMENU(7), nullptr, nullptr);
    EXPECT_NE(Edit, nullptr);
    SendMessageA(Edit, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
    SetFocus(Edit);
    Pump();
    ClearLog();
    return Edit;
  }
  std::string Text() const { return WindowTextOf(Edit); }
  std::pair<DWORD, DWORD> Sel() const {
    DWORD A = 0, B = 0;
    SendMessageA(Edit, EM_GETSEL, WPARAM(&A), LPARAM(&B));
    return {A, B};
  }
  void Keys(std::initializer_list<WORD> Held, WORD Vk) {
    for (WORD H : Held) Screen().KeyDown(H);
    Screen().KeyPress(Vk);
    for (WORD H : Held) Screen().KeyUp(H);
    Pump();
  }
  void Type(const char* S) {
    Screen().TypeText(S);
    Pump();
  }
  // Notification codes the parent heard, in order.
  std::vector<WORD> Codes() const {
    std::vector<WORD> Out;
    for (const TLogged& L : Logged(Top, WM_COMMAND))
      if (HWND(L.L) == Edit) Out.push_back(HIWORD(L.W));
    return Out;
  }
  int Count(WORD Code) const {
    int N = 0;
    for (WORD C : Codes()) N += C == Code;
    return N;
  }
  void SetClipboardText(const char* Data, std::size_t Size) {
    ASSERT_TRUE(OpenClipboard(Top));
    EmptyClipboard();
    HGLOBAL M = GlobalAlloc(GMEM_MOVEABLE, Size);
    std::memcpy(GlobalLock(M), Data, Size);
    GlobalUnlock(M);
    SetClipboardData(CF_TEXT, M);
    CloseClipboard();
  }
  std::string ClipboardText() {
    std::string S;
    if (!OpenClipboard(Top)) return S;
    if (HANDLE H = GetClipboardData(CF_TEXT)) {
      S = static_cast<const char*>(GlobalLock(HGLOBAL(H)));
      GlobalUnlock(HGLOBAL(H));
    }
    CloseClipboard();
    return S;
  }
  TPoint CharPos(std::size_t I) const {
    const LRESULT R = SendMessageA(Edit, EM_POSFROMCHAR, I, 0);
    return {SHORT(LOWORD(R)), SHORT(HIWORD(R))};
  }
  TPoint Screenpt(TPoint Client) const {
    ClientToScreen(Edit, &Client);
    return Client;
  }

  HWND Top = nullptr, Edit = nullptr;
};
}  // namespace

TEST_F(EditTest, TypingInsertsAtTheCaretAndNotifiesEachChange) {
  MakeEdit(ES_AUTOHSCROLL);
  Type("hello");
  EXPECT_EQ(Text(), "hello");
  EXPECT_EQ(Sel(), std::make_pair(DWORD(5), DWORD(5)));
  EXPECT_EQ(Count(EN_CHANGE), 5);
  EXPECT_EQ(Count(EN_UPDATE), 5);
  EXPECT_EQ(SendMessageA(Edit, EM_GETMODIFY, 0, 0), TRUE);
  Keys({}, VK_LEFT);
  Keys({}, VK_LEFT);
  Keys({}, VK_BACK);
  Type("X");
  EXPECT_EQ(Text(), "heXlo");
  Keys({}, VK_DELETE);
  EXPECT_EQ(Text(), "heXo");
}

TEST_F(EditTest, SelectionKeysMoveAndExtend) {
  struct TCase {
    std::initializer_list<WORD> Held;
    WORD Vk;
    DWORD From, To;  // EM_GETSEL after the key, caret starting at 6
    const char* Why;
  };
  const TCase Cases[] = {
      {{VK_SHIFT}, VK_HOME, 0, 6, "Shift+Home selects to the start"},
      {{VK_SHIFT}, VK_END, 6, 15, "Shift+End selects to the end"},
      {{VK_CONTROL}, VK_LEFT, 0, 0, "Ctrl+Left goes to the word's start"},
      {{VK_CONTROL}, VK_RIGHT, 11, 11, "Ctrl+Right goes past the next word and its blank"},
      {{VK_SHIFT, VK_CONTROL}, VK_RIGHT, 6, 11, "Ctrl+Shift+Right selects the word"},
      {{VK_SHIFT}, VK_LEFT, 5, 6, "Shift+Left selects one character"},
      {{}, VK_HOME, 0, 0, "Home"},
      {{VK_CONTROL}, 'A', 0, 15, "Ctrl+A selects everything"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    MakeEdit(ES_AUTOHSCROLL, "alpha beta gama");
    SendMessageA(Edit, EM_SETSEL, 6, 6);
    Keys(C.Held, C.Vk);
    EXPECT_EQ(Sel(), std::make_pair(C.From, C.To));
    DestroyWindow(Top);
  }
}

TEST_F(EditTest, ClipboardKeysAndUndoRoundTrip) {
  MakeEdit(ES_AUTOHSCROLL, "one two three");
  SendMessageA(Edit, EM_SETSEL, 4, 7);
  Keys({VK_CONTROL}, 'C');
  EXPECT_EQ(ClipboardText(), "two");
  Keys({VK_CONTROL}, 'X');
  EXPECT_EQ(Text(), "one  three");
  Keys({VK_CONTROL}, VK_END);
  Keys({VK_CONTROL}, 'V');
  EXPECT_EQ(Text(), "one  threetwo");
  EXPECT_TRUE(SendMessageA(Edit, EM_CANUNDO, 0, 0));
  Keys({VK_CONTROL}, 'Z');
  EXPECT_EQ(Text(), "one  three") << "undo takes back the paste";
  Keys({VK_CONTROL}, 'Z');
  EXPECT_EQ(Text(), "one  threetwo") << "undo of an undo redoes";

  // A run of typing is one step.
  SetWindowTextA(Edit, "");
  EXPECT_FALSE(SendMessageA(Edit, EM_CANUNDO, 0, 0)) << "new text forgets the undo";
  Type("abc");
  SendMessageA(Edit, EM_UNDO, 0, 0);
  EXPECT_EQ(Text(), "");
  SendMessageA(Edit, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_FALSE(SendMessageA(Edit, EM_CANUNDO, 0, 0));
}

TEST_F(EditTest, TextBeyondTheLimitIsCutAndReported) {
  MakeEdit(ES_AUTOHSCROLL);
  SendMessageA(Edit, EM_LIMITTEXT, 5, 0);
  Type("abcdefg");
  EXPECT_EQ(Text(), "abcde");
  EXPECT_EQ(Count(EN_MAXTEXT), 2) << "each refused key says so";
  SendMessageA(Edit, EM_SETSEL, 1, 2);
  SetClipboardText("XYZ", 4);
  SendMessageA(Edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(), "aXcde") << "a paste keeps what fits";
  EXPECT_EQ(Count(EN_MAXTEXT), 3);
  // WM_SETTEXT is the program's, not the user's: not cut.
  SetWindowTextA(Edit, "0123456789");
  EXPECT_EQ(Text(), "0123456789");
  EXPECT_EQ(SendMessageA(Edit, EM_GETLIMITTEXT, 0, 0), 5);
}

TEST_F(EditTest, PastedTextStopsAtNulAndGetsCrLfLineEnds) {
  struct TCase {
    DWORD Style;
    std::string Clip;
    const char* Want;
  };
  const TCase Cases[] = {
      {ES_MULTILINE, std::string("a\rb\nc\r\nd", 8), "a\r\nb\r\nc\r\nd"},
      {ES_MULTILINE, std::string("ab\0cd", 5), "ab"},
      {ES_AUTOHSCROLL, std::string("first\rsecond", 12), "first"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Want);
    MakeEdit(C.Style, "", {10, 10, 210, 110});
    SetClipboardText(C.Clip.data(), C.Clip.size() + 1);
    Keys({VK_SHIFT}, VK_INSERT);
    EXPECT_EQ(Text(), C.Want);
    DestroyWindow(Top);
  }
}

TEST_F(EditTest, StylesFilterWhatIsTyped) {
  struct TCase {
    DWORD Style;
    const char* Typed;
    const char* Want;
  };
  const TCase Cases[] = {
      {ES_NUMBER, "a1b2", "12"},
      {ES_UPPERCASE, "MiXed", "MIXED"},
      {ES_LOWERCASE, "MiXed", "mixed"},
      {ES_READONLY, "abc", "keep"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Want);
    MakeEdit(ES_AUTOHSCROLL | C.Style, C.Style == ES_READONLY ? "keep" : "");
    Type(C.Typed);
    EXPECT_EQ(Text(), C.Want);
    DestroyWindow(Top);
  }
  MakeEdit(ES_AUTOHSCROLL, "x");
  SendMessageA(Edit, EM_SETREADONLY, TRUE, 0);
  Type("y");
  EXPECT_EQ(Text(), "x");
  SendMessageA(Edit, EM_SETREADONLY, FALSE, 0);
  SendMessageA(Edit, EM_SETSEL, 1, 1);
  Type("y");
  EXPECT_EQ(Text(), "xy");
}

TEST_F(EditTest, LineMessagesOfAMultiLineEdit) {
  MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, "first\r\nsecond\r\n\r\nlast", {10, 10, 210, 110});
  EXPECT_EQ(SendMessageA(Edit, EM_GETLINECOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageA(Edit, EM_LINEINDEX, 1, 0), 7);
  EXPECT_EQ(SendMessageA(Edit, EM_LINEINDEX, 3, 0), 17);
  EXPECT_EQ(SendMessageA(Edit, EM_LINEINDEX, 9, 0), -1);
  EXPECT_EQ(SendMessageA(Edit, EM_LINEFROMCHAR, 9, 0), 1);
  EXPECT_EQ(SendMessageA(Edit, EM_LINELENGTH, 9, 0), 6);
  char Buf[16] = {};
  *reinterpret_cast<WORD*>(Buf) = 3;
  EXPECT_EQ(SendMessageA(Edit, EM_GETLINE, 1, LPARAM(Buf)), 3);
  EXPECT_EQ(std::string(Buf, 3), "sec") << "copies at most the buffer's size, no NUL";
  // Down keeps the column; End goes to the line's end, before its break.
  SendMessageA(Edit, EM_SETSEL, 2, 2);
  Keys({}, VK_DOWN);
  EXPECT_GE(Sel().first, 7u);
  EXPECT_LE(Sel().first, 13u);
  EXPECT_NEAR(CharPos(Sel().first).X, CharPos(2).X, 5) << "the column is kept";
  Keys({}, VK_END);
  EXPECT_EQ(Sel().first, 13u);
  Keys({}, VK_RIGHT);
  EXPECT_EQ(Sel().first, 15u) << "one step over CR LF";
  Keys({}, VK_RETURN);
  EXPECT_EQ(Text(), "first\r\nsecond\r\n\r\n\r\nlast");
}

TEST_F(EditTest, WordWrapBreaksAtBlanksAndScrollsByLines) {
  // No ES_AUTOHSCROLL: the text wraps at the edit's width.
  MakeEdit(ES_MULTILINE | WS_VSCROLL, "", {10, 10, 110, 60});
  std::string Long;
  for (int i = 0; i < 40; ++i) Long += "word ";
  SetWindowTextA(Edit, Long.c_str());
  const LRESULT Lines = SendMessageA(Edit, EM_GETLINECOUNT, 0, 0);
  EXPECT_GT(Lines, 5);
  // Every wrapped line starts with a whole word.
  for (LRESULT L = 1; L < Lines; ++L) {
    const LRESULT I = SendMessageA(Edit, EM_LINEINDEX, WPARAM(L), 0);
    EXPECT_EQ(Long.compare(std::size_t(I), 4, "word"), 0) << "line " << L;
  }
  EXPECT_EQ(SendMessageA(Edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  SendMessageA(Edit, EM_LINESCROLL, 0, 3);
  EXPECT_EQ(SendMessageA(Edit, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
  EXPECT_EQ(GetScrollPos(Edit, SB_VERT), 3);
  SendMessageA(Edit, WM_VSCROLL, SB_BOTTOM, 0);
  Keys({VK_CONTROL}, VK_END);
  const LRESULT Top = SendMessageA(Edit, EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(Top, 3);
  EXPECT_LE(Top, Lines - 1);
}

TEST_F(EditTest, PositionsAndCharactersAnswerEachOther) {
  MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL, "abc def\r\nxyz", {10, 10, 210, 110});
  for (std::size_t I : {0u, 2u, 5u, 9u, 11u}) {
    const TPoint P = CharPos(I);
    const LRESULT R = SendMessageA(Edit, EM_CHARFROMPOS, 0, MAKELPARAM(P.X + 1, P.Y + 1));
    EXPECT_EQ(LOWORD(R), I);
    EXPECT_EQ(HIWORD(R), I >= 9 ? 1 : 0);
  }
  EXPECT_GT(CharPos(9).Y, CharPos(0).Y);
  EXPECT_EQ(CharPos(9).X, CharPos(0).X);
  // A left margin moves the text right by its width.
  const int Before = CharPos(0).X;
  SendMessageA(Edit, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(10, 0));
  EXPECT_EQ(CharPos(0).X, Before + 10);
}

TEST_F(EditTest, MouseClickPlacesTheCaretDragSelectsDoubleClickTakesAWord) {
  MakeEdit(ES_AUTOHSCROLL, "alpha beta gamma");
  const TPoint Beta = CharPos(7), Gamma = CharPos(13);
  const TPoint A = Screenpt({Beta.X + 1, Beta.Y + 3});
  Screen().Click(A.X, A.Y);
  Pump();
  EXPECT_EQ(Sel(), std::make_pair(DWORD(7), DWORD(7)));
  AdvanceClock(2000);  // not a double click
  const TPoint B = Screenpt({Gamma.X + 1, Gamma.Y + 3});
  Screen().MouseDown(A.X, A.Y);
  Screen().MouseMove(B.X, B.Y);
  Screen().MouseUp(B.X, B.Y);
  Pump();
  EXPECT_EQ(Sel(), std::make_pair(DWORD(7), DWORD(13)));
  AdvanceClock(2000);
  Screen().Click(A.X, A.Y);
  Screen().Click(A.X, A.Y);
  Pump();
  EXPECT_EQ(Sel(), std::make_pair(DWORD(6), DWORD(11))) << "the word and its blank";
}

TEST_F(EditTest, PasswordEditShowsTheCharacterAndKeepsTheTextOffTheClipboard) {
  MakeEdit(ES_AUTOHSCROLL | ES_PASSWORD, "secret");
  EXPECT_EQ(SendMessageA(Edit, EM_GETPASSWORDCHAR, 0, 0), '*');
  SendMessageA(Edit, EM_SETPASSWORDCHAR, '#', 0);
  SetClipboardText("before", 7);
  SendMessageA(Edit, EM_SETSEL, 0, -1);
  SendMessageA(Edit, WM_COPY, 0, 0);
  EXPECT_EQ(ClipboardText(), "before");
  // Every character is as wide as the password character.
  EXPECT_EQ(CharPos(2).X - CharPos(1).X, CharPos(5).X - CharPos(4).X);
}

TEST_F(EditTest, FocusNotificationsAndTheCaret) {
  MakeEdit(ES_AUTOHSCROLL, "abc");
  SetFocus(Top);
  SetFocus(Edit);
  Pump();
  EXPECT_EQ(Codes(), (std::vector<WORD>{EN_KILLFOCUS, EN_SETFOCUS}));
  SendMessageA(Edit, EM_SETSEL, 2, 2);
  TPoint Caret;
  GetCaretPos(&Caret);
  EXPECT_EQ(Caret.X, CharPos(2).X);
}

TEST_F(EditTest, PaintsTextAndTheSelectionInTheSystemColours) {
  MakeEdit(ES_AUTOHSCROLL, "MMMM");
  UpdateWindow(Top);
  Pump();
  TRect W;
  GetWindowRect(Edit, &W);
  auto At = [&](TPoint Client) {
    ClientToScreen(Edit, &Client);
    return Screen().ScreenPixel(Client.X, Client.Y);
  };
  const TPoint P0 = CharPos(0), P2 = CharPos(2);
  TRect Client;
  GetClientRect(Edit, &Client);
  EXPECT_EQ(At({Client.Right - 3, 2}), GetSysColor(COLOR_WINDOW)) << "the background";
  SendMessageA(Edit, EM_SETSEL, 0, 2);
  UpdateWindow(Top);
  // Between the rows of glyph ink the selection shows its colour.
  int Highlight = 0;
  for (int Y = P0.Y; Y < P0.Y + 12; ++Y)
    for (int X = P0.X; X < P2.X; ++X) Highlight += At({X, Y}) == GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_GT(Highlight, 20);
  int Outside = 0;
  for (int Y = P0.Y; Y < P0.Y + 12; ++Y)
    for (int X = P2.X + 1; X < P2.X + 10; ++X) Outside += At({X, Y}) == GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_EQ(Outside, 0);
  // The sunken frame of a 3-D edit, the plain line of a flat one.
  HWND Sunken = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 50, 100, 22, Top, nullptr,
                                nullptr, nullptr);
  HWND Flat = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 80, 100, 22, Top, nullptr,
                              nullptr, nullptr);
  UpdateWindow(Top);
  GetWindowRect(Sunken, &W);
  EXPECT_EQ(Screen().ScreenPixel(W.Left, W.Top), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(Screen().ScreenPixel(W.Right - 1, W.Bottom - 1), GetSysColor(COLOR_3DHILIGHT));
  GetWindowRect(Flat, &W);
  EXPECT_EQ(Screen().ScreenPixel(W.Left, W.Top), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(Screen().ScreenPixel(W.Left + 1, W.Top + 1), GetSysColor(COLOR_WINDOW));
}

TEST_F(EditTest, LinesAfterEditsMatchAFreshLayout) {
  // Edits re-lay out only the lines they touch; the result must equal
  // laying the whole text out again (a font change does that).
  for (DWORD Style : {DWORD(ES_MULTILINE | ES_AUTOVSCROLL), DWORD(ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL)}) {
    SCOPED_TRACE(Style);
    MakeEdit(Style, "", {10, 10, 130, 200});
    std::string Para;
    for (int i = 0; i < 12; ++i) Para += "word" + std::to_string(i) + " ";
    SetWindowTextA(Edit, (Para + "\r\n" + Para + "\r\n\r\n" + Para).c_str());
    auto Starts = [&] {
      std::vector<LRESULT> S;
      const LRESULT N = SendMessageA(Edit, EM_GETLINECOUNT, 0, 0);
      for (LRESULT L = 0; L < N; ++L) S.push_back(SendMessageA(Edit, EM_LINEINDEX, WPARAM(L), 0));
      return S;
    };
    struct TEdit {
      DWORD From, To;
      const char* Insert;
    };
    const TEdit Edits[] = {
        {5, 5, "inserted words here "}, {0, 3, ""},     {70, 70, "\r\n"}, {20, 90, "x"},
        {3, 3, "\r\n\r\n"},             {200, 200, "longwordwithoutanyblankinsideatall "},
        {1, 2, ""},                     {0, 0, "tail\r\n"},
    };
    for (const TEdit& Ed : Edits) {
      SendMessageA(Edit, EM_SETSEL, Ed.From, Ed.To);
      SendMessageA(Edit, EM_REPLACESEL, TRUE, LPARAM(Ed.Insert));
      const auto Incremental = Starts();
      SendMessageA(Edit, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
      EXPECT_EQ(Incremental, Starts()) << "after inserting \"" << Ed.Insert << "\" at " << Ed.From;
    }
    // Backspace over a line end joins the lines.
    const std::string Before = Text();
    const auto Pos = Before.find("\r\n");
    SendMessageA(Edit, EM_SETSEL, Pos + 2, Pos + 2);
    Keys({}, VK_BACK);
    EXPECT_EQ(Text(), Before.substr(0, Pos) + Before.substr(Pos + 2));
    const auto Incremental = Starts();
    SendMessageA(Edit, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
    EXPECT_EQ(Incremental, Starts());
    DestroyWindow(Top);
  }
}

TEST_F(EditTest, EditsWithoutAutoScrollRefuseWhatTheyCannotShow) {
  const std::string Wide(40, 'M');
  // Single line: typing and pasting stop at the edit's width.
  MakeEdit(0, "", {10, 10, 70, 34});
  Type(Wide.c_str());
  const std::string Typed = Text();
  EXPECT_FALSE(Typed.empty());
  EXPECT_LT(Typed.size(), Wide.size());
  EXPECT_GE(Count(EN_MAXTEXT), 1);
  TRect Client;
  GetClientRect(Edit, &Client);
  EXPECT_LE(CharPos(Typed.size() - 1).X, Client.Right) << "the last character taken still shows";
  Keys({}, VK_BACK);
  Type("i");
  EXPECT_EQ(Text(), Typed.substr(0, Typed.size() - 1) + "i") << "a narrower character still fits";
  SendMessageA(Edit, EM_SETSEL, 0, -1);
  SetClipboardText(Wide.c_str(), Wide.size() + 1);
  Keys({VK_SHIFT}, VK_INSERT);
  EXPECT_EQ(Text(), Typed) << "a paste is cut the same way";
  DestroyWindow(Top);
  MakeEdit(ES_AUTOHSCROLL, "", {10, 10, 70, 34});
  Type(Wide.c_str());
  EXPECT_EQ(Text(), Wide) << "with ES_AUTOHSCROLL the text scrolls";
  DestroyWindow(Top);

  // Multi-line: no line beyond the last one shown, whatever the line ends
  // of the pasted text, and never half a CR LF.
  for (const std::string& Clip : {std::string("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8"),
                                 std::string("1\r2\r3\r4\r5\r6\r7\r8")}) {
    MakeEdit(ES_MULTILINE, "", {10, 10, 110, 50});
    SetClipboardText(Clip.data(), Clip.size() + 1);
    Keys({VK_SHIFT}, VK_INSERT);
    const std::string Got = Text();
    EXPECT_LT(Got.size(), 15u) << "cut to the lines that show";
    EXPECT_EQ(Got.substr(0, 3), "1\r\n");
    ASSERT_FALSE(Got.empty());
    EXPECT_NE(Got.back(), '\r') << "no half line end";
    const LRESULT Lines = SendMessageA(Edit, EM_GETLINECOUNT, 0, 0);
    ASSERT_GE(Lines, 2);
    const int LineH = CharPos(3).Y - CharPos(0).Y;
    TRect C;
    GetClientRect(Edit, &C);
    EXPECT_LE(int(Lines) * LineH, C.Height()) << "every line shows";
    EXPECT_GT(int(Lines + 1) * LineH, C.Height()) << "and no further line would";
    EXPECT_EQ(SendMessageA(Edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_GE(Count(EN_MAXTEXT), 1);
    Keys({}, VK_RETURN);
    EXPECT_EQ(Text(), Got) << "Enter on the last line shown is refused";
    DestroyWindow(Top);
  }
}
