// RtfPicture.cpp — \pict groups into document pictures. Every kind is
// checked before it is kept, so layout never meets bytes that do not decode
// as their kind claims (PNG and JPEG by signature only: their codecs check
// the rest when drawing).
#include <algorithm>
#include <cstring>

#include "platform/gdi/Dib.h"
#include "platform/gdi/Emf.h"
#include "platform/gdi/PngCodec.h"
#include "platform/gdi/Wmf.h"
#include "platform/richedit/RtfReader_p.h"
#include "platform/rtl/Exceptions.h"

namespace RtfInternal {

namespace {

Integer Clamp(Int64 V, Int64 Lo, Int64 Hi) { return Integer(std::clamp(V, Lo, Hi)); }

bool StartsWith(const std::vector<Byte>& D, std::initializer_list<Byte> Sig) {
  return D.size() >= Sig.size() && std::equal(Sig.begin(), Sig.end(), D.begin());
}

// A device-dependent bitmap (\wbitmap): rows of WidthBytes bytes, top row
// first, no palette. Monochrome bitmaps are black on white; other depths
// take the default palette of their depth.
std::vector<Byte> DeviceBitmapToDib(const TRtfPictureData& P) {
  const Integer Bits = P.BitsPixel * std::max<Integer>(P.Planes, 1);
  if (Bits != 1 && Bits != 4 && Bits != 8 && Bits != 24 && Bits != 32)
    throw EInvalidGraphic("Unsupported device bitmap depth");
  CheckDibSize(P.Width, P.Height, Bits);
  const Int64 RowBytes = (Int64(P.Width) * Bits + 7) / 8;
  const Int64 Stride = P.WidthBytes > 0 ? P.WidthBytes : ((RowBytes + 1) / 2) * 2;
  if (Stride < RowBytes || Stride * P.Height > Int64(P.Data.size()))
    throw EInvalidGraphic("Device bitmap data too short");
  TDib Dib = MakeDib(P.Width, P.Height, Bits, TDibOrientation::TopDown);
  for (Integer Y = 0; Y < P.Height; ++Y)
    std::memcpy(Dib.ScanLine(Y), P.Data.data() + Y * Stride, size_t(RowBytes));
  return DibToPacked(Dib);
}

std::vector<Byte> NormalizeDib(const std::vector<Byte>& Data) {
  const Byte* D = Data.data();
  size_t N = Data.size();
  if (N >= 14 && D[0] == 'B' && D[1] == 'M') {  // a file header some writers leave in
    D += 14;
    N -= 14;
  }
  return DibToPacked(DibFromPacked(D, N));
}

}  // namespace

void TRtfPictureData::Word(TRtfWord W, bool HasParam, Int64 Param) {
  switch (W) {
    case TRtfWord::wmetafile:
      Source = TSource::Wmf;
      MetafileMapMode = HasParam ? Clamp(Param, 1, 8) : 8;
      break;
    case TRtfWord::emfblip: Source = TSource::Emf; break;
    case TRtfWord::pngblip: Source = TSource::Png; break;
    case TRtfWord::jpegblip: Source = TSource::Jpeg; break;
    case TRtfWord::dibitmap: Source = TSource::Dib; break;
    case TRtfWord::wbitmap: Source = TSource::DeviceBitmap; break;
    case TRtfWord::macpict:
    case TRtfWord::pmmetafile: Source = TSource::Unsupported; break;
    case TRtfWord::picw: Width = Clamp(Param, 0, 1 << 24); break;
    case TRtfWord::pich: Height = Clamp(Param, 0, 1 << 24); break;
    case TRtfWord::picwgoal: GoalWidth = Clamp(Param, 0, 1 << 24); break;
    case TRtfWord::pichgoal: GoalHeight = Clamp(Param, 0, 1 << 24); break;
    case TRtfWord::picscalex: ScaleX = Clamp(Param, 1, 10000); break;
    case TRtfWord::picscaley: ScaleY = Clamp(Param, 1, 10000); break;
    case TRtfWord::wbmbitspixel: BitsPixel = Clamp(Param, 1, 32); break;
    case TRtfWord::wbmplanes: Planes = Clamp(Param, 1, 4); break;
    case TRtfWord::wbmwidthbytes: WidthBytes = Clamp(Param, 0, 1 << 24); break;
    default:
      break;
  }
}

std::optional<TRichPicture> DecodeRtfPicture(const TRtfPictureData& P) {
  TRichPicture R;
  R.Width = P.Width;
  R.Height = P.Height;
  R.GoalWidth = P.GoalWidth;
  R.GoalHeight = P.GoalHeight;
  R.ScaleX = P.ScaleX;
  R.ScaleY = P.ScaleY;
  try {
    switch (P.Source) {
      case TRtfPictureData::TSource::Png:
        if (!IsPngData(P.Data.data(), P.Data.size())) return {};
        R.Kind = TRichPictureKind::Png;
        R.Data = P.Data;
        break;
      case TRtfPictureData::TSource::Jpeg:
        if (!StartsWith(P.Data, {0xFF, 0xD8})) return {};
        R.Kind = TRichPictureKind::Jpeg;
        R.Data = P.Data;
        break;
      case TRtfPictureData::TSource::Emf:
        EmfValidate(P.Data);
        R.Kind = TRichPictureKind::Emf;
        R.Data = P.Data;
        break;
      case TRtfPictureData::TSource::Wmf: {
        // The picture's extent in 0.01 mm: from the goal size, else \picw/\pich.
        METAFILEPICT Pict;
        Pict.mm = P.MetafileMapMode;
        Pict.xExt = P.GoalWidth > 0 ? Integer(Int64(P.GoalWidth) * 2540 / 1440) : P.Width;
        Pict.yExt = P.GoalHeight > 0 ? Integer(Int64(P.GoalHeight) * 2540 / 1440) : P.Height;
        R.Kind = TRichPictureKind::Emf;
        R.Data = WmfToEmf(P.Data, &Pict, TMetafileReference());
        EmfValidate(R.Data);
        break;
      }
      case TRtfPictureData::TSource::Dib:
        R.Kind = TRichPictureKind::Dib;
        R.Data = NormalizeDib(P.Data);
        break;
      case TRtfPictureData::TSource::DeviceBitmap:
        R.Kind = TRichPictureKind::Dib;
        R.Data = DeviceBitmapToDib(P);
        break;
      default:
        return {};
    }
  } catch (const Exception&) {
    return {};
  } catch (const std::bad_alloc&) {
    return {};
  }
  return R;
}

}  // namespace RtfInternal
