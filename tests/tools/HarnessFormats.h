// HarnessFormats.h — the engine formats the conversion harness knows: one
// entry per format, a name and a maker of its engine (owner none). A
// format's engine lands with its line in HarnessFormats.cpp.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "export/engine/DocumentEngine.h"

struct THarnessFormat {
  std::string Name;
  std::function<std::unique_ptr<TgtCustomDocumentEngine>()> Make;
};

const std::vector<THarnessFormat>& HarnessEngineFormats();
