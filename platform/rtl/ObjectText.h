// ObjectText.h — the component stream's text form and its conversions.
//
//   object Form1: TForm1
//     Caption = 'Hello'#13#10 +
//       'world'
//     Options = [soA, soB]
//     Font.Name = 'Arial'
//     OnClick = Form1Click
//     Items = <
//       item
//         Width = 10
//       end>
//     Data = {
//       0A0B0C}
//     Lines.Strings = (
//       'one'
//       'two')
//     object Button1: TButton
//     end
//   end
//
// ObjectTextToBinary parses text into the binary form that TReader reads;
// ObjectBinaryToText prints a binary stream. Converting text written by
// ObjectBinaryToText back and forth gives the same bytes. Parse errors raise
// EParserError whose message ends in "on line L, column C" (ErrorLine and
// ErrorColumn give the numbers); broken binary raises EReadError.
#pragma once
#include "platform/rtl/Filer.h"

enum : char { toEOF = 0, toSymbol = 1, toString = 2, toInteger = 3, toFloat = 4, toWString = 5 };

// The tokenizer of the text form. Reads the whole of Stream on creation.
class TParser : public TObject {
public:
  explicit TParser(TStream* Stream);
  explicit TParser(const AnsiString& Text);

  char Token() const { return FToken; }
  char NextToken();
  // The token's text: an identifier, a number as written, or for a string
  // its value (toWString: see TokenWideString).
  AnsiString TokenString() const { return FTokenString; }
  WideString TokenWideString() const { return FTokenWide; }
  Int64 TokenInt() const;
  double TokenFloat() const;
  // 's', 'c' or 'd' after a float (single, currency, date); 0 otherwise.
  char FloatType() const { return FFloatType; }
  // A dotted identifier starting at the current symbol ("Form1.Button1").
  AnsiString TokenComponentIdent();
  bool TokenSymbolIs(const AnsiString& S) const;
  void CheckToken(char T);
  void CheckTokenSymbol(const AnsiString& S);
  // Reads hex digit pairs up to the closing '}' into Stream.
  void HexToBinary(TStream* Stream);
  Integer SourceLine() const { return FTokenLine; }
  Integer SourceColumn() const { return FTokenColumn; }
  [[noreturn]] void Error(const AnsiString& Message) const;

private:
  void SkipBlanks();
  AnsiString FText;
  size_t FPos = 0;
  Integer FLine = 1;
  size_t FLineStart = 0;
  char FToken = toEOF;
  AnsiString FTokenString;
  WideString FTokenWide;
  char FFloatType = 0;
  Integer FTokenLine = 1;
  Integer FTokenColumn = 1;
};

void ObjectTextToBinary(TStream* Input, TStream* Output);
void ObjectBinaryToText(TStream* Input, TStream* Output);

// Whole-component conveniences over the binary form.
void WriteComponentToStream(TStream* Stream, TComponent* Instance);
// Reads into Instance, or into a new component of the stream's class when
// Instance is nil (the caller then owns it).
TComponent* ReadComponentFromStream(TStream* Stream, TComponent* Instance);
AnsiString ComponentToText(TComponent* Instance);
TComponent* TextToComponent(const AnsiString& Text, TComponent* Instance);
