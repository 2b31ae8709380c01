#include "export/engine/StreamFilters.h"
#include <zlib.h>
#include <vector>
#include "platform/rtl/Exceptions.h"

std::unique_ptr<TMemoryStream> TgtFilter::EncodeStream(TStream*, Integer) { return nullptr; }
void TgtFilter::EncodeString(const AnsiString&, Integer, AnsiString& Result) { Result.clear(); }

namespace {
std::vector<Byte> ReadAll(TStream* Source) {
  Source->SetPosition(0);
  std::vector<Byte> In(std::size_t(Source->GetSize()));
  if (!In.empty()) Source->ReadBuffer(In.data(), Integer(In.size()));
  return In;
}

int ZLevel(Integer Index) {
  switch (Index) {
    case 0: return 0;
    case 1: return 1;
    case 3: return 9;
    default: return Z_DEFAULT_COMPRESSION;
  }
}
}  // namespace

std::unique_ptr<TMemoryStream> TgtFlateFilter::EncodeStream(TStream* Source, Integer Level) {
  std::vector<Byte> In = ReadAll(Source);
  uLongf Size = compressBound(uLong(In.size()));
  std::vector<Byte> Out(Size);
  if (compress2(Out.data(), &Size, In.data(), uLong(In.size()), ZLevel(Level)) != Z_OK)
    throw EStreamError("Compression error");
  auto Result = std::make_unique<TMemoryStream>();
  Result->WriteBuffer(Out.data(), Integer(Size));
  Result->SetPosition(0);
  return Result;
}

void TgtFlateFilter::EncodeString(const AnsiString& Text, Integer Level, AnsiString& Result) {
  TMemoryStream In;
  In.WriteBytes(Text);
  auto Out = EncodeStream(&In, Level);
  Result.assign(static_cast<const char*>(Out->Memory()), std::size_t(Out->GetSize()));
}

std::unique_ptr<TMemoryStream> TgtFlateFilter::DecodeStream(TStream* Source) {
  std::vector<Byte> In = ReadAll(Source);
  auto Result = std::make_unique<TMemoryStream>();
  z_stream Z{};
  if (inflateInit(&Z) != Z_OK) throw EStreamError("Decompression error");
  Z.next_in = In.data();
  Z.avail_in = uInt(In.size());
  Byte Block[10240];
  int Rc = Z_OK;
  while (Rc != Z_STREAM_END) {
    Z.next_out = Block;
    Z.avail_out = sizeof Block;
    Rc = inflate(&Z, Z_NO_FLUSH);
    if (Rc != Z_OK && Rc != Z_STREAM_END) {
      inflateEnd(&Z);
      throw EStreamError("Decompression error");
    }
    Result->WriteBuffer(Block, Integer(sizeof Block - Z.avail_out));
    if (Rc == Z_OK && Z.avail_in == 0 && Z.avail_out != 0) break;  // truncated input
  }
  inflateEnd(&Z);
  Result->SetPosition(0);
  return Result;
}

void TgtFlateFilter::DecodeString(const AnsiString& Text, AnsiString& Result) {
  if (Text.empty()) return;
  TMemoryStream In;
  In.WriteBytes(Text);
  auto Out = DecodeStream(&In);
  Result.assign(static_cast<const char*>(Out->Memory()), std::size_t(Out->GetSize()));
}
