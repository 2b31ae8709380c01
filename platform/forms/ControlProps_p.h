// ControlProps_p.h — the published properties most controls of the library
// share, written once. Used inside a class's own Published (where its
// protected members are reachable).
#pragma once
#include "platform/forms/Menus.h"

#define SX_PUBLISH_CONTROL_BASICS(T)                                                                   \
  P.Property("Align", &T::GetAlign, &T::SetAlign).Default(alNone);                                     \
  P.Property("Anchors", &T::GetAnchors, &T::SetAnchors).Default(TAnchors{akLeft, akTop});              \
  SX_PUBLISH_BIDI(T);                                                                                  \
  P.Property("Constraints", &T::GetConstraints, &T::SetConstraints);                                   \
  P.Property("DragCursor", &T::GetDragCursor, &T::SetDragCursor).Default(crDrag);                      \
  P.Property("DragMode", &T::GetDragMode, &T::SetDragMode).Default(dmManual);                          \
  P.Property("Enabled", &T::GetEnabled, &T::SetEnabled).Default(true);                                 \
  P.Property("Font", &T::GetFont, &T::SetFont).Stored(&T::IsFontStored);                               \
  SX_PUBLISH_PARENT_BIDI(T);                                                                           \
  P.Property("ParentFont", &T::GetParentFont, &T::SetParentFont).Default(true);                        \
  P.Property("ParentShowHint", &T::GetParentShowHint, &T::SetParentShowHint).Default(true);            \
  SX_PUBLISH_POPUP_HINT(T);                                                                            \
  P.Property("Visible", &T::GetVisible, &T::SetVisible).Default(true);                                 \
  P.Property("OnClick", &T::OnClick, &T::OnClick);                                                     \
  P.Property("OnDblClick", &T::OnDblClick, &T::OnDblClick);                                            \
  P.Property("OnDragDrop", &T::OnDragDrop, &T::OnDragDrop);                                            \
  P.Property("OnDragOver", &T::OnDragOver, &T::OnDragOver);                                            \
  P.Property("OnEndDrag", &T::OnEndDrag, &T::OnEndDrag);                                               \
  SX_PUBLISH_MOUSE_EVENTS(T);                                                                          \
  P.Property("OnStartDrag", &T::OnStartDrag, &T::OnStartDrag)

#define SX_PUBLISH_WINCONTROL_BASICS(T)                                                                \
  SX_PUBLISH_CONTROL_BASICS(T);                                                                        \
  P.Property("TabOrder", &T::GetTabOrder, &T::SetTabOrder).Default(-1);                                \
  SX_PUBLISH_KEY_EVENTS(T)

// Smaller runs the standard controls share. They publish different subsets
// in an order the object text keeps (the writer follows registration order,
// and loading applies properties in that order), so each class places these
// runs where its own list has them instead of taking one block.
#define SX_PUBLISH_DRAG_ENABLED(T)                                                                     \
  P.Property("DragCursor", &T::GetDragCursor, &T::SetDragCursor).Default(crDrag);                      \
  P.Property("DragKind", &T::GetDragKind, &T::SetDragKind).Default(dkDrag);                            \
  P.Property("DragMode", &T::GetDragMode, &T::SetDragMode).Default(dmManual);                          \
  P.Property("Enabled", &T::GetEnabled, &T::SetEnabled).Default(true)

#define SX_PUBLISH_CTL3D_DRAG_ENABLED_FONT(T)                                                          \
  P.Property("Ctl3D", &T::GetCtl3D, &T::SetCtl3D).Stored(&T::IsCtl3DStored);                           \
  SX_PUBLISH_DRAG_ENABLED(T);                                                                          \
  P.Property("Font", &T::GetFont, &T::SetFont).Stored(&T::IsFontStored)

#define SX_PUBLISH_PARENT_FONT_CTL3D_HINT(T)                                                           \
  P.Property("ParentFont", &T::GetParentFont, &T::SetParentFont).Default(true);                        \
  P.Property("ParentCtl3D", &T::GetParentCtl3D, &T::SetParentCtl3D).Default(true);                     \
  P.Property("ParentShowHint", &T::GetParentShowHint, &T::SetParentShowHint).Default(true)

// The mode is written only while the control does not follow its parent's.
#define SX_PUBLISH_BIDI(T) P.Property("BiDiMode", &T::GetBiDiMode, &T::SetBiDiMode).Stored(&T::IsBiDiModeStored)

#define SX_PUBLISH_PARENT_BIDI(T)                                                                      \
  P.Property("ParentBiDiMode", &T::GetParentBiDiMode, &T::SetParentBiDiMode).Default(true)

#define SX_PUBLISH_IME(T)                                                                              \
  P.Property("ImeMode", &T::GetImeMode, &T::SetImeMode).Default(imDontCare);                           \
  P.Property("ImeName", &T::GetImeName, &T::SetImeName)

#define SX_PUBLISH_POPUP_HINT(T)                                                                       \
  P.Property("PopupMenu", &T::GetPopupMenu, &T::SetPopupMenu);                                         \
  P.Property("ShowHint", &T::GetShowHint, &T::SetShowHint)

// TabStop's default differs by control (an edit is a stop, a radio button
// or group box is not).
#define SX_PUBLISH_TAB(T, TabStopDefault)                                                              \
  P.Property("TabOrder", &T::GetTabOrder, &T::SetTabOrder).Default(-1);                                \
  P.Property("TabStop", &T::GetTabStop, &T::SetTabStop).Default(TabStopDefault)

#define SX_PUBLISH_KEY_EVENTS(T)                                                                       \
  P.Property("OnEnter", &T::OnEnter, &T::OnEnter);                                                     \
  P.Property("OnExit", &T::OnExit, &T::OnExit);                                                        \
  P.Property("OnKeyDown", &T::OnKeyDown, &T::OnKeyDown);                                               \
  P.Property("OnKeyPress", &T::OnKeyPress, &T::OnKeyPress);                                            \
  P.Property("OnKeyUp", &T::OnKeyUp, &T::OnKeyUp)

#define SX_PUBLISH_MOUSE_EVENTS(T)                                                                     \
  P.Property("OnMouseDown", &T::OnMouseDown, &T::OnMouseDown);                                         \
  P.Property("OnMouseMove", &T::OnMouseMove, &T::OnMouseMove);                                         \
  P.Property("OnMouseUp", &T::OnMouseUp, &T::OnMouseUp)
