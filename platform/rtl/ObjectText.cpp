#include "platform/rtl/ObjectText.h"

#include <charconv>
#include <cmath>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ObjectModel_p.h"

namespace {
// Strings are cut into quoted pieces of at most this many characters.
constexpr size_t LineLength = 64;
// Binary data is printed this many bytes to a line.
constexpr Int64 BytesPerLine = 32;

AnsiString ReadAll(TStream* S) {
  Int64 N = S->GetSize() - S->GetPosition();
  if (N <= 0) return {};
  AnsiString T(size_t(N), '\0');
  S->ReadBuffer(T.data(), Integer(N));
  return T;
}

}  // namespace

// ---------------------------------------------------------------------------
// TParser.

TParser::TParser(TStream* Stream) : FText(ReadAll(Stream)) { NextToken(); }
TParser::TParser(const AnsiString& Text) : FText(Text) { NextToken(); }

void TParser::Error(const AnsiString& Message) const {
  throw EParserError(Message + " on line " + std::to_string(FTokenLine) + ", column " + std::to_string(FTokenColumn));
}

void TParser::SkipBlanks() {
  while (FPos < FText.size() && Byte(FText[FPos]) <= ' ') {
    if (FText[FPos] == '\n') {
      ++FLine;
      FLineStart = FPos + 1;
    }
    ++FPos;
  }
}

char TParser::NextToken() {
  SkipBlanks();
  FTokenLine = FLine;
  FTokenColumn = Integer(FPos - FLineStart) + 1;
  FTokenString.clear();
  FTokenWide.clear();
  FFloatType = 0;
  if (FPos >= FText.size()) return FToken = toEOF;
  const char C = FText[FPos];
  auto At = [&](size_t P) { return P < FText.size() ? FText[P] : '\0'; };
  auto IsDigit = [](char D) { return D >= '0' && D <= '9'; };

  if (sx_name::IsIdentStart(C)) {
    size_t B = FPos;
    while (FPos < FText.size() && sx_name::IsIdentChar(FText[FPos])) ++FPos;
    FTokenString = FText.substr(B, FPos - B);
    return FToken = toSymbol;
  }
  if (C == '\'' || C == '#') {
    bool Wide = false;
    while (At(FPos) == '\'' || At(FPos) == '#') {
      if (At(FPos) == '\'') {
        ++FPos;
        for (;;) {
          if (FPos >= FText.size() || FText[FPos] == '\r' || FText[FPos] == '\n') Error("Unterminated string");
          if (FText[FPos] == '\'') {
            if (At(FPos + 1) != '\'') break;
            ++FPos;
          }
          FTokenString += FText[FPos];
          FTokenWide += sx_name::AnsiToWide(AnsiString(1, FText[FPos]));
          ++FPos;
        }
        ++FPos;
      } else {
        ++FPos;
        Int64 Code = 0;
        size_t B = FPos;
        if (At(FPos) == '$') {
          ++FPos;
          while (HexDigitValue(At(FPos)) >= 0 && Code <= 0xFFFF) Code = Code * 16 + HexDigitValue(FText[FPos++]);
        } else {
          while (IsDigit(At(FPos)) && Code <= 0xFFFF) Code = Code * 10 + (FText[FPos++] - '0');
        }
        if (FPos == B || (FText[B] == '$' && FPos == B + 1)) Error("Invalid string constant");
        if (Code > 0xFFFF) Error("Invalid string constant");
        if (Code > 255) Wide = true;
        FTokenString += char(Byte(Code));
        FTokenWide += char16_t(Code);
      }
    }
    return FToken = Wide ? toWString : toString;
  }
  if (C == '$') {
    size_t B = FPos++;
    while (HexDigitValue(At(FPos)) >= 0) ++FPos;
    if (FPos == B + 1) Error("Invalid integer");
    FTokenString = FText.substr(B, FPos - B);
    return FToken = toInteger;
  }
  if (IsDigit(C) || (C == '-' && IsDigit(At(FPos + 1)))) {
    size_t B = FPos++;
    while (IsDigit(At(FPos))) ++FPos;
    bool Float = false;
    if (At(FPos) == '.' && IsDigit(At(FPos + 1))) {
      Float = true;
      ++FPos;
      while (IsDigit(At(FPos))) ++FPos;
    }
    if ((At(FPos) == 'e' || At(FPos) == 'E') &&
        (IsDigit(At(FPos + 1)) || ((At(FPos + 1) == '+' || At(FPos + 1) == '-') && IsDigit(At(FPos + 2))))) {
      Float = true;
      FPos += 2;
      while (IsDigit(At(FPos))) ++FPos;
    }
    FTokenString = FText.substr(B, FPos - B);
    if (Float) {
      const char S = At(FPos);
      if ((S == 's' || S == 'S' || S == 'c' || S == 'C' || S == 'd' || S == 'D') && !sx_name::IsIdentChar(At(FPos + 1))) {
        FFloatType = char(S | 0x20);
        ++FPos;
      }
      return FToken = toFloat;
    }
    return FToken = toInteger;
  }
  ++FPos;
  FTokenString = AnsiString(1, C);
  return FToken = C;
}

Int64 TParser::TokenInt() const {
  Int64 V = 0;
  if (!sx_name::ParseInt(FTokenString, V)) Error("Invalid integer " + FTokenString);
  return V;
}

double TParser::TokenFloat() const {
  double D = 0;
  auto R = std::from_chars(FTokenString.data(), FTokenString.data() + FTokenString.size(), D);
  if (R.ec != std::errc() || R.ptr != FTokenString.data() + FTokenString.size())
    Error("Invalid floating point number " + FTokenString);
  return D;
}

AnsiString TParser::TokenComponentIdent() {
  CheckToken(toSymbol);
  AnsiString S = FTokenString;
  while (FPos < FText.size() && FText[FPos] == '.') {
    size_t P = FPos + 1;
    if (P >= FText.size() || !sx_name::IsIdentStart(FText[P])) {
      FTokenColumn = Integer(P - FLineStart) + 1;
      Error("Identifier expected");
    }
    size_t B = P;
    while (P < FText.size() && sx_name::IsIdentChar(FText[P])) ++P;
    S.append(1, '.').append(FText, B, P - B);
    FPos = P;
  }
  return S;
}

bool TParser::TokenSymbolIs(const AnsiString& S) const {
  return FToken == toSymbol && sx_name::SameText(FTokenString, S);
}

void TParser::CheckToken(char T) {
  if (FToken == T) return;
  switch (T) {
    case toSymbol: Error("Identifier expected");
    case toString:
    case toWString: Error("String expected");
    case toInteger:
    case toFloat: Error("Number expected");
    default: Error(AnsiString("'") + T + "' expected");
  }
}

void TParser::CheckTokenSymbol(const AnsiString& S) {
  if (!TokenSymbolIs(S)) Error("'" + S + "' expected");
}

void TParser::HexToBinary(TStream* Stream) {
  AnsiString Bytes;
  for (;;) {
    while (FPos < FText.size() && Byte(FText[FPos]) <= ' ') {
      if (FText[FPos] == '\n') {
        ++FLine;
        FLineStart = FPos + 1;
      }
      ++FPos;
    }
    if (FPos >= FText.size()) Error("'}' expected");
    if (FText[FPos] == '}') break;
    const int Hi = HexDigitValue(FText[FPos]);
    const int Lo = FPos + 1 < FText.size() ? HexDigitValue(FText[FPos + 1]) : -1;
    if (Hi < 0 || Lo < 0) {
      FTokenLine = FLine;
      FTokenColumn = Integer(FPos - FLineStart) + 1;
      Error("Invalid binary value");
    }
    Bytes += char(Hi * 16 + Lo);
    FPos += 2;
  }
  ++FPos;  // the '}'
  if (Bytes.size() > size_t(INT32_MAX)) Error("Binary value too large");
  Stream->WriteU32(DWORD(Bytes.size()));
  if (!Bytes.empty()) Stream->WriteBuffer(Bytes.data(), Integer(Bytes.size()));
}

// ---------------------------------------------------------------------------
// Text to binary.

namespace {
class TTextToBinary {
public:
  TTextToBinary(TStream* In, TStream* Out) : P(In), W(Out), FOut(Out) {}

  void Run() {
    W.WriteSignature();
    ConvertObject();
    if (P.Token() != toEOF) P.Error("End of text expected");
  }

private:
  struct TNest {
    TTextToBinary& T;
    explicit TNest(TTextToBinary& A) : T(A) {
      if (++T.Depth > MaxObjectNesting) T.P.Error("Nesting too deep");
    }
    ~TNest() { --T.Depth; }
  };

  bool AtObjectStart() { return P.TokenSymbolIs("object") || P.TokenSymbolIs("inherited") || P.TokenSymbolIs("inline"); }

  void ConvertHeader() {
    TFilerFlags Flags;
    if (P.TokenSymbolIs("inherited")) Flags.Include(ffInherited);
    else if (P.TokenSymbolIs("inline")) Flags.Include(ffInline);
    else P.CheckTokenSymbol("object");
    P.NextToken();
    P.CheckToken(toSymbol);
    AnsiString Name, Class = P.TokenString();
    P.NextToken();
    if (P.Token() == ':') {
      P.NextToken();
      P.CheckToken(toSymbol);
      Name = Class;
      Class = P.TokenString();
      P.NextToken();
    }
    Integer Pos = 0;
    if (P.Token() == '[') {
      P.NextToken();
      P.CheckToken(toInteger);
      Int64 V = P.TokenInt();
      if (V < INT32_MIN || V > INT32_MAX) P.Error("Invalid integer");
      Pos = Integer(V);
      P.NextToken();
      P.CheckToken(']');
      P.NextToken();
      Flags.Include(ffChildPos);
    }
    W.WritePrefix(Flags, Pos);
    W.WriteStr(Class);
    W.WriteStr(Name);
  }

  void ConvertObject() {
    TNest N(*this);
    ConvertHeader();
    while (!P.TokenSymbolIs("end") && !AtObjectStart()) {
      if (P.Token() == toEOF) P.Error("'end' expected");
      ConvertProperty();
    }
    W.WriteListEnd();
    while (!P.TokenSymbolIs("end")) {
      if (P.Token() == toEOF) P.Error("'end' expected");
      ConvertObject();
    }
    W.WriteListEnd();
    P.NextToken();
  }

  void ConvertProperty() {
    P.CheckToken(toSymbol);
    AnsiString Name = P.TokenString();
    P.NextToken();
    while (P.Token() == '.') {
      P.NextToken();
      P.CheckToken(toSymbol);
      Name.append(1, '.').append(P.TokenString());
      P.NextToken();
    }
    if (Name.size() > 255) P.Error("Property name too long");
    W.WriteStr(Name);
    P.CheckToken('=');
    P.NextToken();
    ConvertValue();
  }

  void ConvertValue() {
    TNest N(*this);
    switch (P.Token()) {
      case toString:
      case toWString: {
        AnsiString S = P.TokenString();
        WideString WS = P.TokenWideString();
        bool Wide = P.Token() == toWString;
        while (P.NextToken() == '+') {
          P.NextToken();
          if (P.Token() != toString && P.Token() != toWString) P.CheckToken(toString);
          S += P.TokenString();
          WS += P.TokenWideString();
          Wide = Wide || P.Token() == toWString;
        }
        if (Wide) W.WriteWideString(WS);
        else W.WriteString(S);
        return;
      }
      case toSymbol: W.WriteIdent(P.TokenComponentIdent()); break;
      case toInteger: W.WriteInteger(P.TokenInt()); break;
      case toFloat: {
        double D = P.TokenFloat();
        switch (P.FloatType()) {
          case 's':
            W.WriteValue(vaSingle);
            FOut->WriteSingle(float(D));
            break;
          case 'c':
            W.WriteValue(vaCurrency);
            FOut->WriteI64(Int64(std::llround(D * 10000.0)));
            break;
          case 'd':
            W.WriteValue(vaDate);
            FOut->WriteDouble(D);
            break;
          default: W.WriteFloat(D); break;
        }
        break;
      }
      case '[': {
        P.NextToken();
        W.WriteValue(vaSet);
        if (P.Token() != ']') {
          for (;;) {
            P.CheckToken(toSymbol);
            W.WriteStr(P.TokenString());
            P.NextToken();
            if (P.Token() == ']') break;
            P.CheckToken(',');
            P.NextToken();
          }
        }
        W.WriteStr("");
        break;
      }
      case '(': {
        P.NextToken();
        W.WriteListBegin();
        while (P.Token() != ')') {
          if (P.Token() == toEOF) P.Error("')' expected");
          ConvertValue();
        }
        W.WriteListEnd();
        break;
      }
      case '{':
        W.WriteValue(vaBinary);
        P.HexToBinary(FOut);
        break;
      case '<': {
        P.NextToken();
        W.WriteValue(vaCollection);
        while (P.Token() != '>') {
          P.CheckTokenSymbol("item");
          P.NextToken();
          if (P.Token() == '[') {
            P.NextToken();
            P.CheckToken(toInteger);
            W.WriteInteger(P.TokenInt());
            P.NextToken();
            P.CheckToken(']');
            P.NextToken();
          }
          W.WriteListBegin();
          while (!P.TokenSymbolIs("end")) {
            if (P.Token() == toEOF) P.Error("'end' expected");
            ConvertProperty();
          }
          W.WriteListEnd();
          P.NextToken();
        }
        W.WriteListEnd();
        break;
      }
      default: P.Error("Invalid property value");
    }
    P.NextToken();
  }

  TParser P;
  TWriter W;
  TStream* FOut;
  int Depth = 0;
};

// ---------------------------------------------------------------------------
// Binary to text.

class TBinaryToText {
public:
  explicit TBinaryToText(TStream* In) : R(In), FIn(In) {}

  AnsiString Run() {
    R.ReadSignature();
    ConvertObject();
    Out += "\r\n";
    return std::move(Out);
  }

private:
  struct TNest {
    TBinaryToText& T;
    explicit TNest(TBinaryToText& A) : T(A) {
      if (++T.Depth > MaxObjectNesting) throw EReadError("Objects nested too deeply");
    }
    ~TNest() { --T.Depth; }
  };

  void NewLine() {
    Out += "\r\n";
    Out.append(size_t(Nesting) * 2, ' ');
  }

  void ConvertObject() {
    TNest N(*this);
    TFilerFlags Flags;
    Integer Pos = 0;
    R.ReadPrefix(Flags, Pos);
    AnsiString Class = R.ReadStr();
    AnsiString Name = R.ReadStr();
    Out += Flags.Contains(ffInherited) ? "inherited " : Flags.Contains(ffInline) ? "inline " : "object ";
    if (!Name.empty()) Out += Name + ": ";
    Out += Class;
    if (Flags.Contains(ffChildPos)) Out += " [" + std::to_string(Pos) + "]";
    ++Nesting;
    while (!R.EndOfList()) {
      NewLine();
      ConvertProperty();
    }
    R.ReadListEnd();
    while (!R.EndOfList()) {
      NewLine();
      ConvertObject();
    }
    R.ReadListEnd();
    --Nesting;
    NewLine();
    Out += "end";
  }

  void ConvertProperty() {
    Out += R.ReadStr() + " = ";
    ConvertValue();
  }

  void WriteAnsi(const AnsiString& S) {
    if (S.empty()) {
      Out += "''";
      return;
    }
    ++Nesting;
    if (S.size() > LineLength) NewLine();
    const size_t L = S.size();
    size_t I = 0, K = 0;
    while (I < L) {
      bool LineBreak = false;
      if (Byte(S[I]) >= ' ' && S[I] != '\'') {
        size_t J = I;
        do ++I;
        while (I < L && Byte(S[I]) >= ' ' && S[I] != '\'' && I - K < LineLength);
        if (I - K >= LineLength) LineBreak = true;
        Out += '\'';
        Out.append(S, J, I - J);
        Out += '\'';
      } else {
        Out.append(1, '#').append(std::to_string(Byte(S[I])));
        ++I;
        if (I - K >= LineLength) LineBreak = true;
      }
      if (LineBreak && I < L) {
        Out += " +";
        NewLine();
        K = I;
      }
    }
    --Nesting;
  }

  // Only printable ASCII goes inside quotes; the rest as #code, so the text
  // stays the same whatever code page reads it.
  void WriteWide(const WideString& S) {
    if (S.empty()) {
      Out += "''";
      return;
    }
    ++Nesting;
    if (S.size() > LineLength) NewLine();
    const size_t L = S.size();
    size_t I = 0, K = 0;
    auto Plain = [](char16_t C) { return C >= u' ' && C < 127 && C != u'\''; };
    while (I < L) {
      bool LineBreak = false;
      if (Plain(S[I])) {
        Out += '\'';
        do Out += char(S[I++]);
        while (I < L && Plain(S[I]) && I - K < LineLength);
        Out += '\'';
      } else {
        Out.append(1, '#').append(std::to_string(unsigned(S[I])));
        ++I;
      }
      if (I - K >= LineLength) LineBreak = true;
      if (LineBreak && I < L) {
        Out += " +";
        NewLine();
        K = I;
      }
    }
    --Nesting;
  }

  void ConvertBinary() {
    R.ReadValue();
    Int64 Count = FIn->ReadU32();
    if (Count > FIn->GetSize() - FIn->GetPosition()) throw EReadError("Invalid stream format: binary data longer than the stream");
    Out += '{';
    ++Nesting;
    static const char Hex[] = "0123456789ABCDEF";
    while (Count > 0) {
      const Int64 N = std::min(Count, BytesPerLine);
      Byte Buf[BytesPerLine];
      FIn->ReadBuffer(Buf, Integer(N));
      NewLine();
      for (Int64 i = 0; i < N; ++i) {
        Out += Hex[Buf[i] >> 4];
        Out += Hex[Buf[i] & 15];
      }
      Count -= N;
    }
    --Nesting;
    Out += '}';
  }

  void ConvertValue() {
    TNest N(*this);
    switch (R.NextValue()) {
      case vaList:
        R.ReadValue();
        Out += '(';
        ++Nesting;
        while (!R.EndOfList()) {
          NewLine();
          ConvertValue();
        }
        R.ReadListEnd();
        --Nesting;
        Out += ')';
        return;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64: Out += std::to_string(R.ReadInt64()); return;
      case vaExtended:
      case vaDouble: Out += FloatToPropText(R.ReadFloat()); return;
      case vaSingle: Out += FloatToPropText(R.ReadFloat()) + "s"; return;
      case vaCurrency: Out += FloatToPropText(R.ReadFloat()) + "c"; return;
      case vaDate: Out += FloatToPropText(R.ReadFloat()) + "d"; return;
      case vaWString:
      case vaUTF8String: WriteWide(R.ReadWideString()); return;
      case vaString:
      case vaLString: WriteAnsi(R.ReadString()); return;
      case vaIdent:
      case vaFalse:
      case vaTrue:
      case vaNil:
      case vaNull: Out += R.ReadIdent(); return;
      case vaBinary: ConvertBinary(); return;
      case vaSet: {
        R.ReadValue();
        Out += '[';
        for (int I = 0;; ++I) {
          AnsiString S = R.ReadStr();
          if (S.empty()) break;
          if (I > 0) Out += ", ";
          Out += S;
        }
        Out += ']';
        return;
      }
      case vaCollection: {
        R.ReadValue();
        Out += '<';
        ++Nesting;
        while (!R.EndOfList()) {
          NewLine();
          Out += "item";
          TValueType V = R.NextValue();
          if (V == vaInt8 || V == vaInt16 || V == vaInt32) Out += " [" + std::to_string(R.ReadInteger()) + "]";
          R.ReadListBegin();
          ++Nesting;
          while (!R.EndOfList()) {
            NewLine();
            ConvertProperty();
          }
          R.ReadListEnd();
          --Nesting;
          NewLine();
          Out += "end";
        }
        R.ReadListEnd();
        --Nesting;
        Out += '>';
        return;
      }
    }
  }

  TReader R;
  TStream* FIn;
  AnsiString Out;
  int Nesting = 0;
  int Depth = 0;
};
}  // namespace

void ObjectTextToBinary(TStream* Input, TStream* Output) {
  // Written to memory first, so a parse error leaves Output untouched.
  TMemoryStream Buf;
  TTextToBinary(Input, &Buf).Run();
  Buf.SetPosition(0);
  Output->CopyFrom(&Buf, Buf.GetSize());
}

void ObjectBinaryToText(TStream* Input, TStream* Output) {
  AnsiString Text = TBinaryToText(Input).Run();
  Output->WriteBuffer(Text.data(), Integer(Text.size()));
}

void WriteComponentToStream(TStream* Stream, TComponent* Instance) {
  TWriter W(Stream);
  W.WriteRootComponent(Instance);
}

TComponent* ReadComponentFromStream(TStream* Stream, TComponent* Instance) {
  TReader R(Stream);
  return R.ReadRootComponent(Instance);
}

AnsiString ComponentToText(TComponent* Instance) {
  TMemoryStream Bin;
  WriteComponentToStream(&Bin, Instance);
  Bin.SetPosition(0);
  TStringStream Text("");
  ObjectBinaryToText(&Bin, &Text);
  return Text.DataString();
}

TComponent* TextToComponent(const AnsiString& Text, TComponent* Instance) {
  TStringStream In(Text);
  TMemoryStream Bin;
  ObjectTextToBinary(&In, &Bin);
  Bin.SetPosition(0);
  return ReadComponentFromStream(&Bin, Instance);
}
