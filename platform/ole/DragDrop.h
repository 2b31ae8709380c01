// DragDrop.h — drop targets and the drag loop: RegisterDragDrop binds a
// window to an IDropTarget, DoDragDrop runs the modal loop that follows the
// mouse, asks the source whether to go on and the target under the cursor
// which effect it takes.
//
// The loop captures the mouse with a hidden window of its own, so every
// move and the release reach it wherever the cursor is. The target is the
// registered window under the cursor or its nearest registered ancestor.
// The effect a target answers is cut to what the source allows; the source
// hears it through GiveFeedback. Esc, or losing the capture, cancels.
//
// Drags from other programs reach the same targets: OleInitialize installs
// the display's external-drop sink, which offers them as a data object
// with CF_HDROP for files and CF_TEXT and
// CF_UNICODETEXT for text.
#pragma once
#include <vector>

#include "platform/ole/OleApi.h"
#include "platform/rtl/Sets.h"

constexpr DWORD MK_ALT = 0x0020;

// E_INVALIDARG for a nil target, DRAGDROP_E_INVALIDHWND for a dead window,
// DRAGDROP_E_ALREADYREGISTERED for a second registration, and
// CO_E_NOTINITIALIZED before OleInitialize. The window holds a reference on
// the target until RevokeDragDrop or its destruction.
HRESULT RegisterDragDrop(HWND Wnd, IDropTarget* Target);
HRESULT RevokeDragDrop(HWND Wnd);
// The target registered for exactly this window (nil when none).
IDropTarget* RegisteredDropTarget(HWND Wnd);
// The window whose target takes a drop at a screen point: the deepest
// window under it, or its nearest ancestor, that is registered.
HWND DropTargetWindowAt(TPoint Screen);

// DRAGDROP_S_DROP (Effect: what the target did) or DRAGDROP_S_CANCEL
// (Effect 0); E_INVALIDARG without data, source or allowed effects.
HRESULT DoDragDrop(IDataObject* Data, IDropSource* Source, DWORD OkEffects, DWORD* Effect);
// Whether DoDragDrop is running (one drag at a time).
bool IsDragging();

// The key state as drop targets see it: the MK_ bits of the buttons, Shift,
// Ctrl and Alt now held.
DWORD DragKeyState();

// The usual source: drops when the button that started the drag is
// released, cancels on Esc or when another button is pressed, and lets the
// default cursors show the effect.
class TDropSource : public TInterfacedObject, public IDropSource {
  SX_CLASS(TDropSource, TInterfacedObject)
public:
  // The button that holds the drag (MK_LBUTTON or MK_RBUTTON).
  explicit TDropSource(DWORD Button = 0x0001) : FButton(Button) {}
  HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) override;
  HRESULT GiveFeedback(DWORD Effect) override;
  // The effects shown to the user, in order (a test reads them).
  std::vector<DWORD> Feedback;

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override;

private:
  DWORD FButton;
};

// The rule of the usual target: Ctrl+Shift link, Ctrl copy, Shift move,
// no key the default (move when allowed, else copy, else link); the result
// is always one of the Allowed effects, or none.
DWORD StandardDropEffect(DWORD KeyState, DWORD Allowed);
