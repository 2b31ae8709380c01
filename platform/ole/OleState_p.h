// OleState_p.h — the layer's process state that OleReset clears and
// OleInitialize sets up.
#pragma once

void DragDropReset();
void OleClipboardReset();
void InstallExternalDropSink();
