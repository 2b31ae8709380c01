// Screen.h — TScreen: the program's view of the screen: its forms in
// z-order, the active form and control, the cursor, the cursor registry,
// the installed fonts, the resolution and the work area.
#pragma once
#include <map>
#include <memory>
#include <vector>
#include "platform/forms/Controls.h"
#include "platform/rtl/Strings.h"

class TCustomForm;

class TScreen : public TComponent {
  SX_CLASS(TScreen, TComponent)
public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  Integer FormCount() const { return Integer(FForms.size()); }
  // Raises EListError for an index out of range.
  TCustomForm* Forms(Integer Index) const;
  Integer CustomFormCount() const { return FormCount(); }
  TCustomForm* CustomForms(Integer Index) const { return Forms(Index); }
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TCustomForm* ActiveCustomForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  TCustomForm* FocusedForm() const { return FFocusedForm; }

  // Setting it shows that cursor over every window of the program until it
  // goes back to crDefault (the hourglass of long work).
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The cursor handle of an identifier; the arrow for an unknown one.
  HCURSOR Cursors(Integer Index) const;
  // Registers (or with nil removes) an application cursor.
  void SetCursors(Integer Index, HCURSOR Handle);

  Integer PixelsPerInch() const { return 96; }
  Integer Width() const;
  Integer Height() const;
  TRect DesktopRect() const;
  TRect WorkAreaRect() const;
  Integer WorkAreaWidth() const { return WorkAreaRect().Width(); }
  Integer WorkAreaHeight() const { return WorkAreaRect().Height(); }
  // The face names of the installed fonts, sorted.
  TStrings* Fonts();
  // The system's menu, status-bar (hint) and icon-title fonts; the hint
  // font has the tooltip text colour.
  TFont* MenuFont() const { return FMenuFont.get(); }
  TFont* HintFont() const { return FHintFont.get(); }
  TFont* IconFont() const { return FIconFont.get(); }

  // The library's bookkeeping, called by forms.
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetActiveForm(TCustomForm* Form);
  void SetFocusedForm(TCustomForm* Form) { FFocusedForm = Form; }
  void SetActiveControl(TWinControl* Control) { FActiveControl = Control; }
  void BringFormToFront(TCustomForm* Form);

  TNotifyEvent OnActiveControlChange;
  TNotifyEvent OnActiveFormChange;

private:
  std::vector<TCustomForm*> FForms;  // front first
  TCustomForm* FActiveForm = nullptr;
  TCustomForm* FFocusedForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCursor FCursor = crDefault;
  std::map<Integer, HCURSOR> FCursors;
  std::unique_ptr<TStringList> FFonts;
  std::unique_ptr<TFont> FMenuFont, FHintFont, FIconFont;
};

// The program's screen object; null before the application exists.
extern TScreen* Screen;
