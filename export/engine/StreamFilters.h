// StreamFilters.h — stream filters of the writers; Flate is zlib's deflate.
#pragma once
#include <memory>
#include "platform/rtl/Streams.h"

class TgtFilter {
public:
  virtual ~TgtFilter() = default;
  // A new stream holding the encoded bytes of the whole source; the base
  // encodes nothing and answers null.
  virtual std::unique_ptr<TMemoryStream> EncodeStream(TStream* Source, Integer Level);
  virtual void EncodeString(const AnsiString& Text, Integer Level, AnsiString& Result);
  virtual std::unique_ptr<TMemoryStream> DecodeStream(TStream* Source) = 0;
  virtual void DecodeString(const AnsiString& Text, AnsiString& Result) = 0;
};

class TgtFlateFilter : public TgtFilter {
public:
  // Level index 0..3: zlib levels 0, 1, default, 9.
  std::unique_ptr<TMemoryStream> EncodeStream(TStream* Source, Integer Level) override;
  void EncodeString(const AnsiString& Text, Integer Level, AnsiString& Result) override;
  // Raises EStreamError for data that is not a zlib stream.
  std::unique_ptr<TMemoryStream> DecodeStream(TStream* Source) override;
  // An empty text leaves Result untouched.
  void DecodeString(const AnsiString& Text, AnsiString& Result) override;
};
