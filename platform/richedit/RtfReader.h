// RtfReader.h — loads RTF and plain text into a TRichDocument (RichDocument.h).
//
// The reader never throws on bad input: unbalanced braces, truncated files,
// out-of-range numbers, nesting deeper than RtfMaxDepth and undecodable
// pictures load as much as can be read (a picture that does not decode is
// left out). Memory is bounded by the input: nothing is allocated for a
// number read from the file (\binN, \picw …) beyond the bytes that follow.
//
// Text decoding: \'xx and raw bytes go through the code page of the current
// font's \fcharset (\cpg when given); a font without a charset, or with
// DEFAULT_CHARSET, uses the document's \ansicpg (1252 when absent). A font of
// SYMBOL_CHARSET keeps its bytes as U+F020..U+F0FF, the symbol-font area
// that fonts with a symbol cmap map. \uN gives UTF-16 units directly
// (negative N counts from 65536; N above U+FFFF is one code point) and skips
// the \ucN fallback characters that follow.
#pragma once
#include <cstddef>
#include <functional>
#include <string_view>

#include "platform/richedit/RichDocument.h"

// Groups nested deeper than this share the state of the deepest one.
constexpr int RtfMaxDepth = 512;

// Whether the bytes are RTF: they start with "{\rtf", as the control decides
// between RTF and text.
bool IsRtf(std::string_view Bytes);

// Told, now and then while RTF is read, a position in the bytes below which
// the reader never looks again: a caller holding a long file can let that
// part go while the document grows.
using TRtfConsumed = std::function<void(std::size_t Position)>;

// RTF into a document. Bytes that are not RTF load as plain text with
// CP_ACP and the default formats.
TRichDocument RtfRead(std::string_view Rtf, const TRtfConsumed& Consumed = {});

// Plain text into a document: CR LF, LF and a lone CR each end a paragraph;
// every character gets Format. A trailing line end does not add an empty
// last paragraph. Text is converted from CodePage.
TRichDocument PlainTextRead(std::string_view Bytes, const TRichCharFormat& Format = {},
                            UINT CodePage = 0 /* CP_ACP */);
TRichDocument PlainTextRead(std::u16string_view Text, const TRichCharFormat& Format = {});

// What the control's loading does: RTF when PlainText is false and the bytes
// are RTF, plain text with Format otherwise.
TRichDocument LoadRichText(std::string_view Bytes, bool PlainText,
                           const TRichCharFormat& Format = {}, const TRtfConsumed& Consumed = {});
