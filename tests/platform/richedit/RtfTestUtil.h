// RtfTestUtil.h — a compact text form of a document for the RTF tests.
//
// Describe gives every run as "<attributes>text", runs joined by "|". The
// attributes list only what differs from a default TRichCharFormat:
// f=Face, cs=charset, fs=size, b, i, s (strike), v (hidden), u=kind number,
// c=RRGGBB, bg=RRGGBB, sup, sub, off=offset. In text, the paragraph end is
// "¶", a cell end "¤", a line break "↵", a page break "␌", a tab "→" and a
// picture "□".
#pragma once
#include <cstdio>
#include <string>

#include "platform/richedit/RichDocument.h"
#include "platform/rtl/CodePages.h"

inline std::string DescribeFormat(const TRichCharFormat& F) {
  const TRichCharFormat D;
  std::string A;
  auto Add = [&](const std::string& S) { A += (A.empty() ? "" : ",") + S; };
  auto Hex = [](COLORREF C) {
    char B[8];
    std::snprintf(B, sizeof B, "%02X%02X%02X", GetRValue(C), GetGValue(C), GetBValue(C));
    return std::string(B);
  };
  if (F.Face != D.Face) Add("f=" + UTF8Encode(F.Face));
  if (F.Charset != D.Charset) Add("cs=" + std::to_string(F.Charset));
  if (F.Size != D.Size) Add("fs=" + std::to_string(F.Size));
  if (F.Bold) Add("b");
  if (F.Italic) Add("i");
  if (F.StrikeOut) Add("s");
  if (F.Hidden) Add("v");
  if (F.Underline != TRichUnderline::None) Add("u=" + std::to_string(int(F.Underline)));
  if (!F.AutoColor) Add("c=" + Hex(F.Color));
  if (F.HasBackground) Add("bg=" + Hex(F.Background));
  if (F.VerticalPosition == TRichVerticalPosition::Superscript) Add("sup");
  if (F.VerticalPosition == TRichVerticalPosition::Subscript) Add("sub");
  if (F.Offset != 0) Add("off=" + std::to_string(F.Offset));
  return A.empty() ? "" : "<" + A + ">";
}

inline std::string DescribeText(const std::u16string& T) {
  std::u16string R;
  for (char16_t C : T) {
    switch (C) {
      case u'\r': R += u"¶"; break;
      case 0x0007: R += u"¤"; break;
      case 0x000B: R += u"↵"; break;
      case 0x000C: R += u"␌"; break;
      case u'\t': R += u"→"; break;
      case 0xFFFC: R += u"□"; break;
      default: R += C; break;
    }
  }
  return UTF8Encode(R);
}

inline std::string Describe(const TRichDocument& D) {
  std::string S;
  for (const TRichParagraph& P : D.Paragraphs()) {
    for (const TRichRun& R : P.Runs) {
      if (!S.empty()) S += "|";
      S += DescribeFormat(D.CharFormat(R.Format)) +
           DescribeText(P.Text.substr(size_t(R.Start), size_t(R.Length)));
    }
  }
  return S;
}
