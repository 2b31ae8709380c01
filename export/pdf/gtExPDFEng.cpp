#include "export/pdf/gtExPDFEng.h"
#include "export/gtUtils.h"
#include "platform/gdi/Dib.h"

namespace {
const char* const WhiteTerm[64] = {
    "00110101", "000111", "0111", "1000", "1011", "1100", "1110", "1111", "10011", "10100", "00111", "01000",
    "001000", "000011", "110100", "110101", "101010", "101011", "0100111", "0001100", "0001000", "0010111",
    "0000011", "0000100", "0101000", "0101011", "0010011", "0100100", "0011000", "00000010", "00000011",
    "00011010", "00011011", "00010010", "00010011", "00010100", "00010101", "00010110", "00010111", "00101000",
    "00101001", "00101010", "00101011", "00101100", "00101101", "00000100", "00000101", "00001010", "00001011",
    "01010010", "01010011", "01010100", "01010101", "00100100", "00100101", "01011000", "01011001", "01011010",
    "01011011", "01001010", "01001011", "00110010", "00110011", "00110100"};
const char* const BlackTerm[64] = {
    "0000110111", "010", "11", "10", "011", "0011", "0010", "00011", "000101", "000100", "0000100", "0000101",
    "0000111", "00000100", "00000111", "000011000", "0000010111", "0000011000", "0000001000", "00001100111",
    "00001101000", "00001101100", "00000110111", "00000101000", "00000010111", "00000011000", "000011001010",
    "000011001011", "000011001100", "000011001101", "000001101000", "000001101001", "000001101010",
    "000001101011", "000011010010", "000011010011", "000011010100", "000011010101", "000011010110",
    "000011010111", "000001101100", "000001101101", "000011011010", "000011011011", "000001010100",
    "000001010101", "000001010110", "000001010111", "000001100100", "000001100101", "000001010010",
    "000001010011", "000000100100", "000000110111", "000000111000", "000000100111", "000000101000",
    "000001011000", "000001011001", "000000101011", "000000101100", "000001011010", "000001100110",
    "000001100111"};
// Make-up codes for 64 x 1 .. 64 x 27.
const char* const WhiteMakeup[27] = {
    "11011", "10010", "010111", "0110111", "00110110", "00110111", "01100100", "01100101", "01101000",
    "01100111", "011001100", "011001101", "011010010", "011010011", "011010100", "011010101", "011010110",
    "011010111", "011011000", "011011001", "011011010", "011011011", "010011000", "010011001", "010011010",
    "011000", "010011011"};
const char* const BlackMakeup[27] = {
    "0000001111", "000011001000", "000011001001", "000001011011", "000000110011", "000000110100",
    "000000110101", "0000001101100", "0000001101101", "0000001001010", "0000001001011", "0000001001100",
    "0000001001101", "0000001110010", "0000001110011", "0000001110100", "0000001110101", "0000001110110",
    "0000001110111", "0000001010010", "0000001010011", "0000001010100", "0000001010101", "0000001011010",
    "0000001011011", "0000001100100", "0000001100101"};
// 1792 .. 2560, shared by both colours.
const char* const ExtMakeup[13] = {"00000001000", "00000001100", "00000001101", "000000010010", "000000010011",
                                   "000000010100", "000000010101", "000000010110", "000000010111", "000000011100",
                                   "000000011101", "000000011110", "000000011111"};

class TBitWriter {
public:
  void Put(const char* Code) {
    for (; *Code; ++Code) {
      FAcc = Byte(FAcc << 1 | (*Code == '1'));
      if (++FBits == 8) {
        FOut += char(FAcc);
        FAcc = 0;
        FBits = 0;
      }
    }
  }
  std::string Finish() {
    if (FBits) FOut += char(FAcc << (8 - FBits));
    FBits = 0;
    return FOut;
  }

private:
  std::string FOut;
  Byte FAcc = 0;
  int FBits = 0;
};

void PutRun(TBitWriter& W, Integer N, bool Black) {
  while (N >= 2560) {
    W.Put(ExtMakeup[12]);
    N -= 2560;
  }
  if (N > 63) {
    const Integer M = N / 64;
    W.Put(M <= 27 ? (Black ? BlackMakeup[M - 1] : WhiteMakeup[M - 1]) : ExtMakeup[M - 28]);
    N -= 64 * M;
  }
  W.Put(Black ? BlackTerm[N] : WhiteTerm[N]);
}

// First changing element at or after From (pixel x differs from x - 1;
// the pixel before the line is white); Width when none.
Integer NextChange(const std::vector<bool>& L, Integer From, Integer Width) {
  for (Integer X = std::max<Integer>(From, 0); X < Width; ++X)
    if (L[std::size_t(X)] != (X == 0 ? false : bool(L[std::size_t(X - 1)]))) return X;
  return Width;
}
}  // namespace

std::string gtEncodeFax(const std::vector<std::vector<bool>>& Rows, Integer Width, bool TwoDimensional) {
  TBitWriter W;
  if (!TwoDimensional) {
    for (const auto& Row : Rows) {
      Integer X = 0;
      while (X < Width) {
        Integer E = X;
        while (E < Width && !Row[std::size_t(E)]) ++E;
        PutRun(W, E - X, false);
        X = E;
        if (X >= Width) break;
        while (E < Width && Row[std::size_t(E)]) ++E;
        PutRun(W, E - X, true);
        X = E;
      }
    }
    return W.Finish();
  }
  std::vector<bool> Ref(std::size_t(std::max<Integer>(Width, 0)), false);
  for (const auto& Row : Rows) {
    Integer A0 = -1;
    bool Color = false;   // colour at a0: white
    while (A0 < Width) {
      const Integer A1 = NextChange(Row, A0 + 1, Width);
      // b1: a change on the reference line right of a0 to the colour opposite a0's.
      Integer B1 = NextChange(Ref, A0 + 1, Width);
      while (B1 < Width && bool(Ref[std::size_t(B1)]) == Color) B1 = NextChange(Ref, B1 + 1, Width);
      const Integer B2 = B1 < Width ? NextChange(Ref, B1 + 1, Width) : Width;
      if (B2 < A1) {
        W.Put("0001");
        A0 = B2;
      } else if (std::abs(A1 - B1) <= 3) {
        static const char* const V[7] = {"0000010", "000010", "010", "1", "011", "000011", "0000011"};
        W.Put(V[A1 - B1 + 3]);
        A0 = A1;
        Color = !Color;
      } else {
        const Integer A2 = A1 < Width ? NextChange(Row, A1 + 1, Width) : Width;
        W.Put("001");
        PutRun(W, A1 - std::max<Integer>(A0, 0), Color);
        PutRun(W, A2 - A1, !Color);
        A0 = A2;
      }
    }
    Ref = Row;
  }
  W.Put("000000000001000000000001");
  return W.Finish();
}

void TgtDocEventJSAction::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TgtDocEventJSAction*>(Source);
  if (!S) return TPersistent::Assign(Source);
  BeforeClose = S->BeforeClose;
  BeforePrint = S->BeforePrint;
  BeforeSave = S->BeforeSave;
  AfterSave = S->AfterSave;
  AfterPrint = S->AfterPrint;
}

TgtExPDFEngine::TgtExPDFEngine(TComponent* AOwner)
    : TgtCustomPDFEngine(AOwner), FJavaScript(std::make_unique<TgtDocEventJSAction>()) {}

TgtExPDFEngine::~TgtExPDFEngine() = default;

void TgtExPDFEngine::StartDocument() {
  TgtCustomPDFEngine::StartDocument();
  TgtDocEventJSAction Empty;
  FJavaScript->Assign(&Empty);
  FActionNumber = 0;
}

void TgtExPDFEngine::BuildCatalog(AnsiString& Text) {
  TgtCustomPDFEngine::BuildCatalog(Text);
  if (!FJavaScript->Empty()) {
    FActionNumber = NextObjectNumber();
    Text += " /AA " + ObjectRef(FActionNumber);
  }
}

void TgtExPDFEngine::FinishDocument() {
  if (FActionNumber) {
    AnsiString T;
    auto Add = [&](const char* Key, const AnsiString& Js) {
      if (Js.empty()) return;
      T += AnsiString(Key) + " << /S /JavaScript/JS <" + StrToHex(EncryptString(Js, FActionNumber)) + "> >>\r\n";
    };
    Add("/WP", FJavaScript->BeforePrint);
    Add("/DP", FJavaScript->AfterPrint);
    Add("/WS", FJavaScript->BeforeSave);
    Add("/DS", FJavaScript->AfterSave);
    Add("/WC", FJavaScript->BeforeClose);
    WriteObject(T, FActionNumber, true);
    FActionNumber = 0;
  }
  TgtCustomPDFEngine::FinishDocument();
}

std::unique_ptr<TMemoryStream> TgtExPDFEngine::EncodeCCITT(TBitmap* Bitmap, TgtOutputImageFormat Format) {
  auto Out = std::make_unique<TMemoryStream>();
  if (!Bitmap || Bitmap->Empty()) {
    if (Format != ifCCITT3) {
      const std::string E = gtEncodeFax({}, 0, true);
      Out->WriteBuffer(E.data(), Integer(E.size()));
      Out->SetPosition(0);
    }
    return Out;
  }
  TBitmap Copy;
  Copy.Assign(Bitmap);
  Copy.SetPixelFormat(pf24bit);
  const TDib Dib = Copy.SaveToDib();
  const Integer W = Dib.Width(), H = Dib.Height();
  std::vector<std::vector<bool>> Rows(std::size_t(H), std::vector<bool>(std::size_t(W), false));
  for (Integer Y = 0; Y < H; ++Y) {
    const Byte* R = Dib.ScanLine(Y);
    for (Integer X = 0; X < W; ++X) {
      // Dark pixels are black, as a monochrome conversion would leave them.
      const Integer Lum = (R[3 * X] * 114 + R[3 * X + 1] * 587 + R[3 * X + 2] * 299) / 1000;
      Rows[std::size_t(Y)][std::size_t(X)] = Lum < 128;
    }
  }
  const std::string E = gtEncodeFax(Rows, W, Format != ifCCITT3);
  if (!E.empty()) Out->WriteBuffer(E.data(), Integer(E.size()));
  Out->SetPosition(0);
  return Out;
}
