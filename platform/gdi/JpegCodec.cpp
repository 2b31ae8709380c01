#include "platform/gdi/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

// libjpeg signals a fatal error by calling error_exit, which must not
// return. We longjmp back to the setjmp in the one function that drives the
// library. Between setjmp and any longjmp only C frames and trivially
// destructible locals live, so nothing is skipped that needed destroying;
// the C++ exception is thrown after the jump, once the library state has
// been destroyed.
namespace {

struct TErrorManager {
  jpeg_error_mgr Pub;  // first, so the library's pointer is ours
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
  int Code;
};

[[noreturn]] void ErrorExit(j_common_ptr Info) {
  TErrorManager* E = reinterpret_cast<TErrorManager*>(Info->err);
  E->Code = E->Pub.msg_code;
  (*E->Pub.format_message)(Info, E->Message);
  std::longjmp(E->Jump, 1);
}

// Warnings are silent, except the one that says the data ran out: the
// library would pad the image with grey, we treat it as truncation.
void EmitMessage(j_common_ptr Info, int Level) {
  if (Level < 0 && Info->err->msg_code == JWRN_JPEG_EOF) ErrorExit(Info);
  if (Level < 0) ++Info->err->num_warnings;
}

void OutputMessage(j_common_ptr) {}

void InitErrors(TErrorManager& E) {
  jpeg_std_error(&E.Pub);
  E.Pub.error_exit = ErrorExit;
  E.Pub.emit_message = EmitMessage;
  E.Pub.output_message = OutputMessage;
  E.Message[0] = 0;
  E.Code = 0;
}

[[noreturn]] void Raise(const TErrorManager& E) {
  throw EInvalidGraphic("JPEG error #" + std::to_string(E.Code) + ": " + E.Message);
}

// The guarded steps below return false after a library error (E holds
// it). Buffers they fill are allocated by the caller before the jump point.
bool ReadHeader(jpeg_decompress_struct& C, TErrorManager& E, const Byte* Data, std::size_t Size) {
  if (setjmp(E.Jump)) return false;
  jpeg_mem_src(&C, Data, static_cast<unsigned long>(Size));
  jpeg_read_header(&C, TRUE);
  if (C.jpeg_color_space == JCS_GRAYSCALE) {
    C.out_color_space = JCS_GRAYSCALE;
  } else if (C.jpeg_color_space == JCS_CMYK || C.jpeg_color_space == JCS_YCCK) {
    C.out_color_space = JCS_CMYK;
  } else {
    C.out_color_space = JCS_EXT_BGR;  // the row order of a 24-bit DIB
  }
  return true;
}

bool ReadPixels(jpeg_decompress_struct& C, TErrorManager& E, TDib* Dib, Byte* Row) {
  if (setjmp(E.Jump)) return false;
  jpeg_start_decompress(&C);
  const bool Cmyk = C.out_color_space == JCS_CMYK;
  // Adobe writes CMYK inverted; plain CMYK files are rare enough to follow it.
  const bool Inverted = C.saw_Adobe_marker;
  while (C.output_scanline < C.output_height) {
    const JDIMENSION Y = C.output_scanline;
    Byte* Dest = Dib->ScanLine(Integer(Y));
    JSAMPROW Rows[1] = {Cmyk ? Row : Dest};
    if (jpeg_read_scanlines(&C, Rows, 1) != 1) ERREXIT(&C, JERR_INPUT_EMPTY);
    if (Cmyk) {
      for (JDIMENSION X = 0; X < C.output_width; ++X) {
        unsigned Cc = Row[4 * X], M = Row[4 * X + 1], Yy = Row[4 * X + 2], K = Row[4 * X + 3];
        if (!Inverted) {
          Cc = 255 - Cc; M = 255 - M; Yy = 255 - Yy; K = 255 - K;
        }
        Dest[3 * X] = Byte((Yy * K + 127) / 255);
        Dest[3 * X + 1] = Byte((M * K + 127) / 255);
        Dest[3 * X + 2] = Byte((Cc * K + 127) / 255);
      }
    }
  }
  jpeg_finish_decompress(&C);
  return true;
}

struct TDecompressor {
  jpeg_decompress_struct C;
  TErrorManager E;
  TDecompressor() {
    std::memset(&C, 0, sizeof C);
    InitErrors(E);
    C.err = &E.Pub;
    jpeg_create_decompress(&C);
  }
  ~TDecompressor() { jpeg_destroy_decompress(&C); }
};

struct TCompressor {
  jpeg_compress_struct C;
  TErrorManager E;
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  TCompressor() {
    std::memset(&C, 0, sizeof C);
    InitErrors(E);
    C.err = &E.Pub;
    jpeg_create_compress(&C);
  }
  ~TCompressor() {
    jpeg_destroy_compress(&C);
    std::free(Buffer);
  }
};

bool WritePixels(TCompressor& K, const std::uint32_t* Pixels, Integer Width, Integer Height,
                 const TJpegCompressOptions& O, Byte* Row) {
  jpeg_compress_struct& C = K.C;
  if (setjmp(K.E.Jump)) return false;
  jpeg_mem_dest(&C, &K.Buffer, &K.Size);
  C.image_width = JDIMENSION(Width);
  C.image_height = JDIMENSION(Height);
  C.input_components = O.Grayscale ? 1 : 4;
  C.in_color_space = O.Grayscale ? JCS_GRAYSCALE : JCS_EXT_BGRX;
  jpeg_set_defaults(&C);
  jpeg_set_quality(&C, O.Quality, TRUE);
  if (O.Progressive) jpeg_simple_progression(&C);
  jpeg_start_compress(&C, TRUE);
  while (C.next_scanline < C.image_height) {
    const std::uint32_t* S = Pixels + std::size_t(C.next_scanline) * Width;
    JSAMPROW Rows[1];
    if (O.Grayscale) {
      for (Integer X = 0; X < Width; ++X) {
        const std::uint32_t P = S[X];
        // ITU-R BT.601 luma, the weights the library's own conversion uses.
        Row[X] = Byte((19595u * ((P >> 16) & 0xFF) + 38470u * ((P >> 8) & 0xFF) +
                       7471u * (P & 0xFF) + 32768u) >> 16);
      }
      Rows[0] = Row;
    } else {
      Rows[0] = reinterpret_cast<JSAMPROW>(const_cast<std::uint32_t*>(S));
    }
    jpeg_write_scanlines(&C, Rows, 1);
  }
  jpeg_finish_compress(&C);
  return true;
}

}  // namespace

bool IsJpegData(const Byte* Data, std::size_t Size) {
  return Data != nullptr && Size >= 3 && Data[0] == 0xFF && Data[1] == 0xD8 && Data[2] == 0xFF;
}

TDib JpegDecompress(const Byte* Data, std::size_t Size) {
  if (Data == nullptr || Size < 4 || !IsJpegData(Data, Size))
    throw EInvalidGraphic("JPEG error #" + std::to_string(JERR_NO_SOI) +
                          ": Not a JPEG file: starts without the start-of-image marker");
  TDecompressor D;
  if (!ReadHeader(D.C, D.E, Data, Size)) Raise(D.E);
  const bool Grey = D.C.out_color_space == JCS_GRAYSCALE;
  // Check the size before the library allocates anything for it.
  CheckDibSize(D.C.image_width, D.C.image_height, Grey ? 8 : 24);
  std::vector<RGBQUAD> GreyPalette;
  if (Grey)
    for (int I = 0; I < 256; ++I) GreyPalette.push_back(RGBQUAD{Byte(I), Byte(I), Byte(I), 0});
  // Output size equals the image size: we never ask the library to scale.
  TDib Dib = MakeDib(Integer(D.C.image_width), Integer(D.C.image_height), Grey ? 8 : 24,
                  TDibOrientation::BottomUp, GreyPalette);
  std::vector<Byte> Row(std::size_t(D.C.image_width) * 4);  // one CMYK scan line
  if (!ReadPixels(D.C, D.E, &Dib, Row.data())) Raise(D.E);
  return Dib;
}

std::vector<Byte> JpegCompress(const std::uint32_t* Pixels, Integer Width, Integer Height,
                               const TJpegCompressOptions& Options) {
  if (Options.Quality < 1 || Options.Quality > 100)
    throw EInvalidGraphicOperation("JPEG quality " + std::to_string(Options.Quality) +
                                   " is outside 1..100");
  CheckDibSize(Width, Height, 32);
  if (Width > JPEG_MAX_DIMENSION || Height > JPEG_MAX_DIMENSION)
    throw EInvalidGraphic("JPEG error: image of " + std::to_string(Width) + " x " +
                          std::to_string(Height) + " is too large for JPEG");
  TCompressor K;
  std::vector<Byte> Row(static_cast<std::size_t>(Width));
  if (!WritePixels(K, Pixels, Width, Height, Options, Row.data())) Raise(K.E);
  return std::vector<Byte>(K.Buffer, K.Buffer + K.Size);
}

std::vector<Byte> JpegCompress(const TDib& Dib, const TJpegCompressOptions& Options) {
  if (Dib.Empty()) throw EInvalidGraphic("JPEG error: the bitmap is empty");
  const std::vector<std::uint32_t> Pixels = DibToBgra32(Dib);
  return JpegCompress(Pixels.data(), Dib.Width(), Dib.Height(), Options);
}
