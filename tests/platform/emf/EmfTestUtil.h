// Shared helpers of the metafile tests: building small metafiles in code and
// reading back their record traces.
#pragma once
#include <string>
#include <vector>
#include "platform/gdi/Emf.h"

inline TEmrHeader TestHeader() {
  TEmrHeader H;
  H.Bounds = {0, 0, 99, 99};
  H.Frame = {0, 0, 2645, 2645};
  H.Device = {1024, 768};
  H.Millimeters = {271, 203};
  H.Micrometers = {270933, 203200};
  using namespace std::string_literals;
  H.Description = u"Sourcelux\0page\0\0"s;
  return H;
}

// The record names of a metafile, one per record.
inline std::vector<std::string> RecordTypes(std::span<const Byte> Bytes) {
  std::vector<std::string> Out;
  EmfForEachRecord(Bytes, [&](const TEmfRecord& R) {
    Out.push_back(EmfRecordName(R.Type()));
    return true;
  });
  return Out;
}

inline std::vector<std::string> RecordTrace(std::span<const Byte> Bytes) {
  std::vector<std::string> Out;
  EmfForEachRecord(Bytes, [&](const TEmfRecord& R) {
    Out.push_back(EmfTraceRecord(R));
    return true;
  });
  return Out;
}
