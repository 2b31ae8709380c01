// ExternalDrop.h — drags from other programs, handed to whoever takes
// them in the richer form (the data-transfer layer installs a sink, since
// this layer cannot know its targets). The display backend reports the
// drag's moves, its leaving and its drop; without a sink, or where the sink
// finds no target, a drop of files still reaches a window that accepts
// files as WM_DROPFILES.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/win/WinTypes.h"

// What another program offers: file names (the file system's bytes) and
// text (UTF-8); either may be absent.
struct TExternalDropData {
  bool HasFiles = false;
  std::vector<std::string> Files;
  bool HasText = false;
  std::string Text;
};

class TExternalDropSink {
public:
  virtual ~TExternalDropSink() = default;
  // The drag is at a screen point. Fetch reads what the other program
  // offers (a round trip to it: call once a target wants the data). True
  // when a target of the sink is under the point; Effect is what it chose
  // (DROPEFFECT bits) out of those Allowed.
  virtual bool DragOver(TPoint Screen, DWORD KeyState, DWORD Allowed,
                        const std::function<TExternalDropData()>& Fetch, DWORD& Effect) = 0;
  // The drag left the program's windows or was given up.
  virtual void DragLeave() = 0;
  // The drop at a screen point; true when a target took it.
  virtual bool Drop(TPoint Screen, DWORD KeyState, DWORD Allowed, const std::function<TExternalDropData()>& Fetch,
                    DWORD& Effect) = 0;
};

// The sink is borrowed; nil removes it.
void SetExternalDropSink(TExternalDropSink* Sink);
TExternalDropSink* ExternalDropSink();
