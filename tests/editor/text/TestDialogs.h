// TestDialogs.h — stand-in dialog forms for the memo source's tests, which
// cannot include the forms layer (its TPosition clashes with the memo
// source's). While a TTestDialogs lives there is an application, and the
// find, replace and combined search forms are registered: the modal ones
// close at once with the result given, the combined one records how it was
// shown.
#pragma once
#include <memory>
#include "platform/rtl/Types.h"

class TApplication;

class TTestDialogs {
public:
  TTestDialogs();
  ~TTestDialogs();

  // The modal result the find and replace dialogs close with.
  Integer ModalResult;
  static const Integer Ok, Cancel, All;
  // What the forms saw.
  Integer ModalShown = 0;
  Integer WindowsCreated = 0;
  Integer WindowLine = -1;
  Integer WindowPage = -1;
  bool WindowVisible() const;
  // Frees the combined window, as closing it does.
  void CloseWindow();

private:
  std::unique_ptr<TApplication> FApp;
};
