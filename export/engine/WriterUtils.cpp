#include "export/engine/WriterUtils.h"
#include <cstdio>
#include "platform/rtl/AnsiStrings.h"

AnsiString StrToHex(const AnsiString& Text) {
  static const char Digits[] = "0123456789ABCDEF";
  AnsiString Out;
  Out.reserve(Text.size() * 2);
  for (unsigned char C : Text) {
    Out += Digits[C >> 4];
    Out += Digits[C & 15];
  }
  return Out;
}

AnsiString ColorToPDFRGB(TColor Color) {
  COLORREF C = ColorToRGB(Color);
  char Buf[64];
  // The C locale's decimal point is '.', whatever the user's locale says.
  std::snprintf(Buf, sizeof Buf, "%1.4f %1.4f %1.4f", (C & 0xFF) / 255.0, ((C >> 8) & 0xFF) / 255.0,
                ((C >> 16) & 0xFF) / 255.0);
  AnsiString S = Buf;
  for (char& Ch : S)
    if (Ch == ',') Ch = '.';
  return S;
}

AnsiString ColorToHexRGB(TColor Color) {
  COLORREF C = ColorToRGB(Color);
  char Buf[8];
  std::snprintf(Buf, sizeof Buf, "%02X%02X%02X", unsigned(C & 0xFF), unsigned((C >> 8) & 0xFF),
                unsigned((C >> 16) & 0xFF));
  return Buf;
}

Integer PosFromW(const WideString& Sub, const WideString& Text, Integer Offset) {
  if (Offset < 1) Offset = 1;
  if (Sub.empty() || std::size_t(Offset - 1) > Text.size()) return 0;
  auto P = Text.find(Sub, std::size_t(Offset - 1));
  return P == WideString::npos ? 0 : Integer(P) + 1;
}

AnsiString ReplaceTextCI(const AnsiString& Text, const AnsiString& Old, const AnsiString& New) {
  if (Text.empty() || Old.empty()) return Text;
  const AnsiString UText = AnsiUpperCase(Text), UOld = AnsiUpperCase(Old);
  AnsiString Out;
  std::size_t Pos = 0;
  for (;;) {
    auto P = UText.find(UOld, Pos);
    if (P == AnsiString::npos) break;
    Out.append(Text, Pos, P - Pos);
    Out += New;
    Pos = P + Old.size();
  }
  Out.append(Text, Pos, AnsiString::npos);
  return Out;
}

namespace {
WideString UpperW(const WideString& S) {
  WideString U = S;
  for (char16_t& C : U) C = WideCharUpper(C);
  return U;
}
}  // namespace

WideString ReplaceTextCIW(const WideString& Text, const WideString& Old, const WideString& New) {
  if (Text.empty() || Old.empty()) return Text;
  const WideString UText = UpperW(Text), UOld = UpperW(Old);
  WideString Out;
  std::size_t Pos = 0;
  for (;;) {
    auto P = UText.find(UOld, Pos);
    if (P == WideString::npos) break;
    Out.append(Text, Pos, P - Pos);
    Out += New;
    Pos = P + Old.size();
  }
  Out.append(Text, Pos, WideString::npos);
  return Out;
}

AnsiString EscapePDFString(const AnsiString& Text) {
  AnsiString Out;
  std::size_t Column = 0;
  auto Put = [&](const char* S, bool Counts) {
    Out += S;
    if (Counts) Column += std::char_traits<char>::length(S);
  };
  for (char C : Text) {
    switch (C) {
      case 8: Put("\\b", false); break;
      case 12: Put("\\f", false); break;
      case 10: Put("\\n", true); break;
      case 13: Put("\\r", true); break;
      case '(': Put("\\(", true); break;
      case ')': Put("\\)", true); break;
      case '\\': Put("\\\\", true); break;
      case '\t': {
        std::size_t N = 8 - Column % 8;
        Out.append(N, ' ');
        Column += N;
        break;
      }
      default: Out += C; ++Column;
    }
  }
  return Out;
}

bool IsHexString(const AnsiString& Text) {
  for (char C : Text)
    if (!((C >= '0' && C <= '9') || (C >= 'A' && C <= 'F'))) return false;
  return true;
}

Integer HexToByte(const AnsiString& Text, Byte& Value) {
  Value = 0;
  if (!IsHexString(Text)) return -1;
  unsigned V = 0;
  for (char C : Text) V = (V * 16 + unsigned(HexDigitValue(C))) & 0xFF;
  Value = Byte(V);
  return 0;
}
