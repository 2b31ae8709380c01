// InstanceControl.h — keeps the number of running copies of the program at
// or below MaxInstances. Copies started from the same executable file meet
// in a small named block (its name is the executable's path without "\"
// and blanks): bytes 0-3 the window through which the most recently
// admitted copy is brought forward, bytes 4-7 the number of admitted copies.
//
// Each admitted copy holds one of MaxInstances numbered seats (a named
// object that the system lets go when the process ends, however it ends),
// so copies that start at the same moment cannot both take the last seat,
// and a copy that crashed or was killed does not keep one. A copy that
// finds every seat taken is refused: it hides, asks the admitted copy to
// bring its main window forward, and asks its own message loop to end.
//
// The form places one TadpInstanceControl (at most one per process), the
// last of its components, so the check runs once the form is read.
#pragma once
#include "platform/forms/Controls.h"

SX_DECLARE_EXCEPTION(EInstanceControl, Exception);

using TMaxInstancesReachedEvent = TEvent<void(TObject* Sender, Cardinal LastInstanceHandle)>;

class TadpInstanceControl : public TComponent {
  SX_CLASS(TadpInstanceControl, TComponent)
public:
  // Raises EInstanceControl when the process has one already.
  explicit TadpInstanceControl(TComponent* AOwner);
  ~TadpInstanceControl() override;

  static void Published(TPublished<TadpInstanceControl>& P) {
    P.Property("Enabled", &TadpInstanceControl::Enabled, &TadpInstanceControl::Enabled).Default(true);
    P.Property("MaxInstances", &TadpInstanceControl::MaxInstances, &TadpInstanceControl::MaxInstances).Default(1);
    P.Property("OnMaxInstancesReached", &TadpInstanceControl::OnMaxInstancesReached,
               &TadpInstanceControl::OnMaxInstancesReached);
  }

  // The check, once the owner is read (nothing when not Enabled). Raises
  // EOSError when the shared block cannot be made.
  void Loaded() override;
  // A refused copy: keeps the main form from showing, hides the
  // application window, fires OnMaxInstancesReached, has the copy behind
  // Handle bring its main window forward and asks the application to end.
  void ActivateFirstInstance(Cardinal Handle);

  bool Admitted() const { return FAdmitted; }
  // The block's name for an executable's full name.
  static AnsiString MappingNameOf(const AnsiString& ExeName);

  bool Enabled = true;
  Cardinal MaxInstances = 1;  // 0 admits one copy, as 1 does
  TMaxInstancesReachedEvent OnMaxInstancesReached;

private:
  void Admit();
  void BringForward();
  void WndProc(TMessage& Message);
  AnsiString FMappingName;
  HANDLE FMapping = nullptr;  // the shared block
  HANDLE FSeat = nullptr;     // this copy's seat while admitted
  Cardinal FSeatIndex = 0;
  void* FView = nullptr;
  HWND FWindow = nullptr;     // what a later copy asks to come forward
  bool FAdmitted = true;
  bool FCounted = false;
};
