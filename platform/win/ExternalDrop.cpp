#include "platform/win/ExternalDrop.h"

#include <atomic>

namespace {
std::atomic<TExternalDropSink*> Sink{nullptr};
}

void SetExternalDropSink(TExternalDropSink* S) { Sink = S; }
TExternalDropSink* ExternalDropSink() { return Sink; }
