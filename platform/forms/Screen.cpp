#include "platform/forms/Screen.h"

#include <algorithm>

#include "platform/forms/Forms.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Filer.h"
#include "platform/win/Cursors.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

TScreen* Screen = nullptr;

namespace {
// Dotted references in form descriptions ("MainForm.Images") start at a
// form of the screen.
TComponent* FindScreenForm(const AnsiString& Name) {
  if (!Screen) return nullptr;
  for (Integer i = 0; i < Screen->FormCount(); ++i)
    if (SameText(Screen->Forms(i)->GetName(), Name)) return Screen->Forms(i);
  return nullptr;
}
}  // namespace

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner),
      FMenuFont(std::make_unique<TFont>()),
      FHintFont(std::make_unique<TFont>()),
      FIconFont(std::make_unique<TFont>()) {
  if (!::Screen) {
    ::Screen = this;
    RegisterFindGlobalComponentProc(&FindScreenForm);
  }
  NONCLIENTMETRICSA Metrics;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(Metrics), &Metrics, 0)) {
    FMenuFont->SetHandle(CreateFontIndirectA(&Metrics.lfMenuFont));
    FHintFont->SetHandle(CreateFontIndirectA(&Metrics.lfStatusFont));
  }
  FHintFont->SetColor(clInfoText);
  LOGFONTA Icon;
  if (SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(Icon), &Icon, 0))
    FIconFont->SetHandle(CreateFontIndirectA(&Icon));
}

TScreen::~TScreen() {
  if (::Screen == this) {
    UnregisterFindGlobalComponentProc(&FindScreenForm);
    ::Screen = nullptr;
  }
}

TCustomForm* TScreen::Forms(Integer Index) const {
  if (Index < 0 || Index >= FormCount()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FForms[size_t(Index)];
}

void TScreen::AddForm(TCustomForm* Form) {
  if (std::find(FForms.begin(), FForms.end(), Form) == FForms.end()) FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  std::erase(FForms, Form);
  if (FActiveForm == Form) FActiveForm = nullptr;
  if (FFocusedForm == Form) FFocusedForm = nullptr;
  if (FActiveControl && GetParentForm(FActiveControl) == Form) FActiveControl = nullptr;
}

void TScreen::BringFormToFront(TCustomForm* Form) {
  auto It = std::find(FForms.begin(), FForms.end(), Form);
  if (It == FForms.end()) return;
  FForms.erase(It);
  FForms.insert(FForms.begin(), Form);
}

void TScreen::SetActiveForm(TCustomForm* Form) {
  if (Form) BringFormToFront(Form);
  if (FActiveForm == Form) return;
  FActiveForm = Form;
  if (OnActiveFormChange.Assigned()) OnActiveFormChange(this);
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  if (Value == crDefault) {
    // The window under the mouse chooses its own cursor again.
    TPoint P;
    GetCursorPos(&P);
    if (HWND W = WindowFromPoint(P)) {
      const LRESULT Hit = SendMessageA(W, WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y));
      SendMessageA(W, WM_SETCURSOR, WPARAM(W), MAKELPARAM(int(Hit), WM_MOUSEMOVE));
      return;
    }
  }
  ::SetCursor(Cursors(Value));
}

HCURSOR TScreen::Cursors(Integer Index) const {
  if (auto It = FCursors.find(Index); It != FCursors.end()) return It->second;
  struct TStd {
    TCursor Cursor;
    const char* Id;
  };
  static const TStd Std[] = {
      {crArrow, IDC_ARROW},       {crIBeam, IDC_IBEAM},       {crHourGlass, IDC_WAIT},
      {crCross, IDC_CROSS},       {crUpArrow, IDC_UPARROW},   {crSizeAll, IDC_SIZEALL},
      {crSizeNWSE, IDC_SIZENWSE}, {crSizeNESW, IDC_SIZENESW}, {crSizeWE, IDC_SIZEWE},
      {crSizeNS, IDC_SIZENS},     {crNo, IDC_NO},             {crHandPoint, IDC_HAND},
      {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
  };
  for (const TStd& S : Std)
    if (Integer(S.Cursor) == Index) return LoadCursorA(nullptr, S.Id);
  // crDefault, crNone and the library's own drag and split cursors (which
  // come with resources) show the arrow.
  return Index == Integer(crNone) ? nullptr : LoadCursorA(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(Integer Index, HCURSOR Handle) {
  if (!Handle) FCursors.erase(Index);
  else FCursors[Index] = Handle;
}

Integer TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
Integer TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }
TRect TScreen::DesktopRect() const { return {0, 0, Width(), Height()}; }

TRect TScreen::WorkAreaRect() const {
  TRect R;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &R, 0)) R = DesktopRect();
  return R;
}

TStrings* TScreen::Fonts() {
  if (!FFonts) {
    FFonts = std::make_unique<TStringList>();
    FFonts->SetSorted(true);
    FFonts->SetDuplicates(dupIgnore);
    for (const TFontFamilyInfo& F : AvailableFontFamilies()) FFonts->Add(WideToAnsi(F.Name));
  }
  return FFonts.get();
}
