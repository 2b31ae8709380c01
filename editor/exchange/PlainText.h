// PlainText.h — the bytes of a plain-text file as the editor's text.
#pragma once
#include "platform/rtl/Types.h"

// A file that starts with a byte-order mark (UTF-8, UTF-16 LE or BE) is
// read in its encoding and converted to the editor's code page (characters
// the code page lacks become "?"); any other file keeps its bytes. NUL
// bytes are dropped: the text setters stop at a NUL, and the rest of the
// file must not go with it.
AnsiString DecodePlainText(AnsiString Bytes);

// The stream's bytes from its position to its end, decoded so.
class TStream;
AnsiString ReadPlainText(TStream* Stream);
