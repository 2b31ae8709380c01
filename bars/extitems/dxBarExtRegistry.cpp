// dxBarExtRegistry.cpp — the extra kinds' start-up and shut-down: their
// registration with their controls, and the objects they share (the font
// marks, one colour dialog, one font dialog, the first day of the week).
#include "bars/customize/dxBarCustomizing.h"
#include <memory>
#include "bars/extitems/dxBarExtItemControls.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/model/dxBarRegistry.h"
#include "platform/forms/ColorDialog.h"
#include "platform/forms/FontDialog.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/Locale.h"
#include "platform/win/Resources.h"

namespace {

struct TSharedObjects {
  std::unique_ptr<TBitmap> TrueTypeFontBitmap, NonTrueTypeFontBitmap;
  std::unique_ptr<TColorDialog> ColorDialog;
  std::unique_ptr<TFontDialog> FontDialog;
  Word FirstDayOfWeek = 0;
};

int GInitCount = 0;
TSharedObjects& Shared() {
  static TSharedObjects S;
  return S;
}

template <class TControl>
TdxBarItemControl* Make(TdxBarItemLink* ALink) {
  return new TControl(ALink);
}

struct TKind {
  TClass ItemClass;
  TClass ControlClass;
  TdxBarItemControlFactory Factory;
};

// In registration order: the add-item dialog lists them so.
const std::vector<TKind>& Kinds() {
  static const std::vector<TKind> List = {
      {TdxBarStatic::StaticClass(), TdxBarStaticControl::StaticClass(), &Make<TdxBarStaticControl>},
      {TdxBarLargeButton::StaticClass(), TdxBarLargeButtonControl::StaticClass(), &Make<TdxBarLargeButtonControl>},
      {TdxBarColorCombo::StaticClass(), TdxBarColorComboControl::StaticClass(), &Make<TdxBarColorComboControl>},
      {TdxBarFontNameCombo::StaticClass(), TdxBarFontNameComboControl::StaticClass(), &Make<TdxBarFontNameComboControl>},
      {TdxBarDateCombo::StaticClass(), TdxBarDateComboControl::StaticClass(), &Make<TdxBarDateComboControl>},
      {TdxBarTreeViewCombo::StaticClass(), TdxBarTreeViewComboControl::StaticClass(),
       &Make<TdxBarTreeViewComboControl>},
      {TdxBarImageCombo::StaticClass(), TdxBarImageComboControl::StaticClass(), &Make<TdxBarImageComboControl>},
      {TdxBarToolbarsListItem::StaticClass(), TdxBarToolbarsListItemControl::StaticClass(),
       &Make<TdxBarToolbarsListItemControl>},
      {TdxBarSpinEdit::StaticClass(), TdxBarSpinEditControl::StaticClass(), &Make<TdxBarSpinEditControl>},
      {TdxBarControlContainerItem::StaticClass(), TdxBarControlContainerControl::StaticClass(),
       &Make<TdxBarControlContainerControl>},
      {TdxBarProgressItem::StaticClass(), TdxBarProgressControl::StaticClass(), &Make<TdxBarProgressControl>},
      {TdxBarMRUListItem::StaticClass(), TdxBarContainerItemControl::StaticClass(), nullptr},
      {TdxBarInPlaceSubItem::StaticClass(), TdxBarInPlaceSubItemControl::StaticClass(),
       &Make<TdxBarInPlaceSubItemControl>},
  };
  return List;
}

std::unique_ptr<TBitmap> ProgramBitmap(const char* Name) {
  auto B = std::make_unique<TBitmap>();
  if (HBITMAP H = LoadProgramBitmap(Name)) B->SetHandle(H);
  return B;
}

}  // namespace

Word dxBarFirstDayOfWeekFromLocale(const AnsiString& ADigit) {
  if (ADigit.size() != 1 || ADigit[0] < '0' || ADigit[0] > '6') return 0;
  return Word((ADigit[0] - '0' + 1) % 7);
}

void dxBarExtItemsInitialization() {
  if (GInitCount++ != 0) return;
  dxBarCustomizingInitialization();
  TSharedObjects& S = Shared();
  S.TrueTypeFontBitmap = ProgramBitmap("DXBARTRUETYPEFONT");
  S.NonTrueTypeFontBitmap = ProgramBitmap("DXBARNONTRUETYPEFONT");
  S.ColorDialog = std::make_unique<TColorDialog>(nullptr);
  S.FontDialog = std::make_unique<TFontDialog>(nullptr);
  char Buf[2] = {};
  S.FirstDayOfWeek = GetLocaleInfoA(GetThreadLocale(), LOCALE_IFIRSTDAYOFWEEK, Buf, sizeof Buf) > 0
                         ? dxBarFirstDayOfWeekFromLocale(AnsiString(Buf))
                         : 0;
  for (const TKind& K : Kinds()) {
    if (K.Factory) dxBarRegisterControlFactory(K.ControlClass, K.Factory);
    dxBarRegisterItem(K.ItemClass, K.ControlClass, /*ShowInCustomizing=*/true);
  }
}

void dxBarExtItemsFinalization() {
  if (GInitCount == 0 || --GInitCount != 0) return;
  for (auto K = Kinds().rbegin(); K != Kinds().rend(); ++K) dxBarUnregisterItem(K->ItemClass);
  TSharedObjects& S = Shared();
  S.FontDialog.reset();
  S.ColorDialog.reset();
  S.NonTrueTypeFontBitmap.reset();
  S.TrueTypeFontBitmap.reset();
}

TColorDialog* GetBarColorDialog() { return Shared().ColorDialog.get(); }
TFontDialog* GetBarFontDialog() { return Shared().FontDialog.get(); }
Word dxBarFirstDayOfWeek() { return Shared().FirstDayOfWeek; }
const TBitmap* dxBarTrueTypeFontBitmap(bool ATrueType) {
  return ATrueType ? Shared().TrueTypeFontBitmap.get() : Shared().NonTrueTypeFontBitmap.get();
}
