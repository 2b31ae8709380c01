#include "export/sheet/ExcelEngine.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include "export/engine/EngineBasics.h"
#include "platform/gdi/Emf.h"
#include "platform/gdi/Wmf.h"
#include "platform/rtl/CodePages.h"

namespace {
constexpr Word OBJ = 0x005D, COORDLIST = 0x00A9, IMDATA = 0x007F, CONTINUE_ = 0x003C;
constexpr std::size_t IMDataChunk = 2068;

WideString TrimW(const WideString& S) {
  std::size_t B = 0, E = S.size();
  while (B < E && S[B] <= u' ') ++B;
  while (E > B && S[E - 1] <= u' ') --E;
  return S.substr(B, E - B);
}
void Put16(std::vector<Byte>& B, std::size_t At, Integer V) {
  B[At] = Byte(V & 0xFF);
  B[At + 1] = Byte((V >> 8) & 0xFF);
}
void Put32(std::vector<Byte>& B, std::size_t At, DWORD V) {
  for (int I = 0; I < 4; ++I) B[At + std::size_t(I)] = Byte(V >> (8 * I));
}
Word Clamp16(double V) { return Word(std::clamp<double>(std::nearbyint(V), 0, 0xFFFF)); }
}  // namespace

bool TgtExExcelEngine::ValidateOutputImageFormat(TgtOutputImageFormat Format, AnsiString& Message) {
  if (Format == ifBMP || Format == ifMetafile) return true;
  Message = "The Excel Engine supports only  BMP and Metafile image formats";
  return false;
}

void TgtExExcelEngine::PlayMetafile(TMetafile* Metafile, double X, double Y) {
  if (!GetPreferences()->GetMetafileAsImage()) {
    TgtCustomExcelEngine::PlayMetafile(Metafile, X, Y);
    return;
  }
  if (!Metafile || Metafile->Empty()) return;
  const Integer Index = AddImageToList(Metafile);
  if (Index < 0) return;
  const double L = UnitToPixelsX(X) + GetBandArea().Left, T = UnitToPixelsY(Y) + GetBandArea().Top;
  auto Item = std::make_shared<TgtImageItem>();
  Item->SetRect(L, T, L + Metafile->GetWidth(), T + Metafile->GetHeight());
  Item->DisplayRect = {L, T, L + Metafile->GetWidth(), T + Metafile->GetHeight()};
  Item->ImageSettings.Assign(GetImageSettings());
  Item->ImageSettings.SetOutputImageFormat(ifMetafile);
  Item->ImageIndex = Index;
  AddItem(Item);
}

void TgtExExcelEngine::StartDocument() {
  TgtCustomExcelEngine::StartDocument();
  FRowHeights.clear();
  FObjectCounter = 0;
}

void TgtExExcelEngine::FinishDocument() {
  TgtCustomExcelEngine::FinishDocument();
  FRowHeights.clear();
}

void TgtExExcelEngine::BeginPage() {
  TgtCustomExcelEngine::BeginPage();
  FCurrentRow = -1;
}

void TgtExExcelEngine::OnWorksheetWritten() {
  // Row heights and object ids belong to one worksheet.
  FRowHeights.clear();
  FCurrentRow = -1;
  FObjectCounter = 0;
}

void TgtExExcelEngine::SetRowHeight(Integer SheetRow, Integer Height) {
  if (SheetRow < 0 || SheetRow >= gtExcelMaxRows) return;
  if (Integer(FRowHeights.size()) <= SheetRow) FRowHeights.resize(std::size_t(SheetRow) + 1, GetDefaultRowHeight());
  FRowHeights[std::size_t(SheetRow)] = Height;
}

void TgtExExcelEngine::EncodeTextItem(TgtTextItem* Item) {
  TgtCustomExcelEngine::EncodeTextItem(Item);
  auto* Fm = dynamic_cast<TgtFmTextItem*>(Item);
  if (!Fm) return;
  const Integer Row = Fm->Row + FRowOffset;
  if (Row == FCurrentRow) {
    FCurrentRowHeight = std::max<Integer>(FCurrentRowHeight, GetTextExtent(u"W", &Item->Font).cy);
    return;
  }
  if (FCurrentRow != -1) SetRowHeight(FCurrentRow, FCurrentRowHeight);
  for (Integer R = FCurrentRow + 1; R < Row; ++R)
    if (R >= Integer(FRowHeights.size())) SetRowHeight(R, GetDefaultRowHeight());
  FCurrentRowHeight = GetDefaultRowHeight();
  FCurrentRow = Row;
}

// ---- anchoring -------------------------------------------------------------------------------

double TgtExExcelEngine::ColumnPixels(Integer Column) const {
  const double Scale = GetFormatting()->GetScaleX() > 0 ? GetFormatting()->GetScaleX() : 1.0;
  for (const TColumnWidth& C : FColumnWidths)
    if (C.Column == Column) return RoundInt(GetColumnWidthPx() * C.Width / Scale / 8.43);
  return std::max(1, RoundInt(GetColumnWidthPx() / Scale));
}

Integer TgtExExcelEngine::RowPixels(Integer SheetRow) const {
  if (SheetRow >= 0 && SheetRow < Integer(FRowHeights.size())) return std::max(1, FRowHeights[std::size_t(SheetRow)]);
  return std::max(1, GetDefaultRowHeight());
}

void TgtExExcelEngine::ColumnAnchor(double X, double W, Word& Left, Word& LeftOffset, Word& Right,
                                    Word& RightOffset) {
  const double CW = GetColumnWidthPx() > 0 ? GetColumnWidthPx() : 1;
  const double C = std::max(0.0, X / CW);
  Integer L = Integer(std::trunc(C));
  if (L >= gtExcelMaxColumns) L = gtExcelMaxColumns - 1;
  const double WL = ColumnPixels(L) > 0 ? ColumnPixels(L) : CW;
  Left = Word(L);
  LeftOffset = Word(std::clamp<double>(std::trunc((C - L) * CW / WL * 1024), 0, 1024));
  double O = (C - L) * CW + std::max(0.0, W);
  Integer R = L;
  RightOffset = 0;
  while (O > 0 && R < gtExcelMaxColumns - 1) {
    const double WR = ColumnPixels(R);
    if (WR <= 0) {   // a column recorded at no width is stepped over
      ++R;
      continue;
    }
    if (O <= WR) {
      RightOffset = Word(std::clamp(RoundInt(O / WR * 1024), 0, 1024));
      break;
    }
    O -= WR;
    ++R;
  }
  if (O > 0 && R == gtExcelMaxColumns - 1 && RightOffset == 0) RightOffset = 1024;
  Right = Word(R);
}

void TgtExExcelEngine::RowAnchor(double Y, double H, Word& Top, Word& TopOffset, Word& Bottom,
                                 Word& BottomOffset) {
  const double RH = GetRowHeightPx() > 0 ? GetRowHeightPx() : 1;
  const double D = std::fabs(Y / RH);
  const Integer T = Integer(std::min<double>(std::trunc(D), gtExcelMaxRows));
  const Integer SheetTop = T + FRowOffset;
  const double E = RowPixels(SheetTop);
  const Integer TOff = std::min<Integer>(256, Integer(std::trunc((D - T) * RH / E * 256)));
  const double H2 = H - E + E * TOff / 256.0;
  Integer B = T, BOff = 0;
  if (H2 < 0) {
    BOff = RoundInt((E + H2) / E * 256);
  } else {
    double Sum = 0;
    bool Found = false;
    Integer R = SheetTop + 1;
    for (; R < Integer(FRowHeights.size()); ++R) {
      const double HR = RowPixels(R);
      if (Sum + HR > H2) {
        B = R - FRowOffset;
        BOff = Integer(std::trunc((H2 - Sum) / HR * 256));
        Found = true;
        break;
      }
      Sum += HR;
    }
    if (!Found) {
      const double K = (H2 - Sum) / std::max(1, GetDefaultRowHeight());
      B = R - FRowOffset + Integer(std::trunc(K));
      BOff = Integer(std::trunc((K - std::trunc(K)) * 256));
      FHighestRow = std::max(FHighestRow, B);
    }
  }
  // Anchors are 16-bit and a sheet has 16,384 rows: clamp rather than wrap.
  Top = Word(std::clamp<Integer>(T + FRowOffset, 0, gtExcelMaxRows - 1));
  TopOffset = Word(std::clamp<Integer>(TOff, 0, 256));
  Bottom = Word(std::clamp<Integer>(B + FRowOffset, 0, gtExcelMaxRows - 1));
  BottomOffset = Word(std::clamp<Integer>(BOff, 0, 256));
}

void TgtExExcelEngine::PlaceObject(std::vector<Byte>& Body, Word Type, double L, double T, double R, double B) {
  if (L > R) std::swap(L, R);
  if (T > B) std::swap(T, B);
  // Every object of a worksheet gets its own id, from 1.
  ++FObjectCounter;
  Put32(Body, 0, FObjectCounter);
  Put16(Body, 4, Type);
  Put16(Body, 6, Integer(FObjectCounter & 0xFFFF));
  Put16(Body, 8, 0x0604);
  Word LC, LO, RC, RO, TR, TO, BR, BO;
  ColumnAnchor(L, R - L, LC, LO, RC, RO);
  RowAnchor(T, B - T, TR, TO, BR, BO);
  Put16(Body, 10, LC);
  Put16(Body, 12, LO);
  Put16(Body, 14, TR);
  Put16(Body, 16, TO);
  Put16(Body, 18, RC);
  Put16(Body, 20, RO);
  Put16(Body, 22, BR);
  Put16(Body, 24, BO);
}

void TgtExExcelEngine::AreaFields(std::vector<Byte>& Body, TPen* Pen, TBrush* Brush) {
  Body[34] = Byte(GetPaletteIndex(TColor(0xFFFFFF)) + 8);
  if (Brush) {
    Body[35] = Byte(GetPaletteIndex(Brush->GetColor()) + 8);
    Body[36] = ExcelFillPattern(Brush->GetStyle());
  }
  if (Pen) {
    Body[38] = Byte(GetPaletteIndex(Pen->GetColor()) + 8);
    Body[39] = Byte(Pen->GetStyle());
    Body[40] = Byte(Pen->GetWidth() & 0xFF);
  }
}

void TgtExExcelEngine::WriteObj(const std::vector<Byte>& Body) {
  TMemoryStream* S = GetCellBuffer();
  if (!S) return;
  // Every object but a text box ends with the length of an empty formula:
  // readers (gnumeric) take a record without it for a corrupted one.
  const std::size_t Tail = Body[4] == 6 ? 0 : 2;
  WriteRecord(OBJ, Word(Body.size() + Tail), S);
  S->WriteBuffer(Body.data(), Integer(Body.size()));
  for (std::size_t I = 0; I < Tail; ++I) S->WriteU8(0);
}

// ---- shapes -----------------------------------------------------------------------------------------

void TgtExExcelEngine::EncodeLine(TPen* Pen, double X1, double Y1, double X2, double Y2) {
  std::vector<Byte> Body(44, 0);
  PlaceObject(Body, 1, X1, Y1, X2, Y2);
  Body[34] = Byte(GetPaletteIndex(Pen->GetColor()) + 8);
  Body[35] = Byte(Pen->GetStyle());
  Body[36] = Byte(Pen->GetWidth() & 0xFF);
  WriteObj(Body);
}

void TgtExExcelEngine::EncodeRectangle(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) {
  std::vector<Byte> Body(44, 0);
  PlaceObject(Body, 2, X1, Y1, X2, Y2);
  AreaFields(Body, Pen, Brush);
  WriteObj(Body);
}

void TgtExExcelEngine::EncodeRoundRect(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2,
                                       double CW, double CH) {
  std::vector<Byte> Body(44, 0);
  PlaceObject(Body, 2, X1, Y1, X2, Y2);
  AreaFields(Body, Pen, Brush);
  Put16(Body, 42, (1 + 4 * RoundInt((CW + CH) / 2)) & 0xFFFF);
  WriteObj(Body);
}

void TgtExExcelEngine::EncodeEllipse(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) {
  std::vector<Byte> Body(44, 0);
  PlaceObject(Body, 3, X1, Y1, X2, Y2);
  AreaFields(Body, Pen, Brush);
  WriteObj(Body);
}

void TgtExExcelEngine::EncodePolygon(const TgtPoints& Points, bool Closed, TPen* Pen, TBrush* Brush) {
  if (Points.empty()) return;
  TgtPoints P = Points;
  if (Closed) P.push_back(P.front());
  if (P.size() > 0x3FFF) P.resize(0x3FFF);   // the coordinate list's length is 16-bit
  double MinX = P[0].X, MinY = P[0].Y, MaxX = 0, MaxY = 0;
  for (auto& Q : P) {
    MinX = std::min(MinX, Q.X);
    MinY = std::min(MinY, Q.Y);
    MaxX = std::max(MaxX, Q.X);
    MaxY = std::max(MaxY, Q.Y);
  }
  std::vector<Byte> Body(66, 0);
  PlaceObject(Body, 9, MinX, MinY, MaxX, MaxY);
  AreaFields(Body, Pen, Closed ? Brush : nullptr);
  if (Closed) Body[44] = 1;
  Put16(Body, 56, Integer(P.size()));
  WriteObj(Body);
  TMemoryStream* S = GetCellBuffer();
  if (!S) return;
  WriteRecord(COORDLIST, Word(P.size() * 4), S);
  for (auto& Q : P) {
    S->WriteU16(Clamp16(Q.X - MinX));
    S->WriteU16(Clamp16(Q.Y - MinY));
  }
}

void TgtExExcelEngine::EncodeTextBoxItem(TgtTextBoxItem* Item) {
  WideString Joined;
  for (Integer I = 0; I < Item->Lines.Count(); ++I) Joined += TrimW(Item->Lines.Get(I));
  WideString Replaced;
  ReplaceVariables(Joined, true, Replaced);
  AnsiString Text = WideToAnsi(Replaced);
  // The record length is 16-bit; BIFF5 boxes hold 255 characters per run anyway.
  if (Text.size() > 8000) Text.resize(8000);
  const std::size_t N = Text.size();
  std::vector<Byte> Body(70, 0);
  PlaceObject(Body, 6, Item->X, Item->Y, Item->X + Item->BoxWidth, Item->Y + Item->BoxHeight);
  AreaFields(Body, &Item->Pen, &Item->Brush);
  Put16(Body, 44, Integer(N));
  Body[48] = 16;
  static const Byte Horz[4] = {2, 6, 4, 14};
  static const Byte Vert[3] = {16, 32, 48};
  Body[54] = Byte(Horz[Item->HorzAlignment < 4 ? Item->HorzAlignment : 0] +
                  Vert[Item->VertAlignment < 3 ? Item->VertAlignment : 0]);
  Body.insert(Body.end(), Text.begin(), Text.end());
  const Integer Font = AddFont(&Item->Font) + 5;
  const Byte Runs[16] = {0, 0, Byte(Font & 0xFF), Byte(Font >> 8), 0, 0, 0, 0,
                         Byte(N & 0xFF), Byte(N >> 8), 0, 0, 0, 0, 0, 0};
  Body.insert(Body.end(), Runs, Runs + 16);
  WriteObj(Body);
}

// ---- pictures -----------------------------------------------------------------------------------------

void TgtExExcelEngine::WritePicture(double L, double T, double R, double B, TBitmap* Bitmap, TMetafile* Metafile,
                                    bool Background) {
  TMemoryStream* S = GetCellBuffer();
  if (!S || (!Bitmap && !Metafile)) return;
  // The picture data first, so a picture that cannot be converted writes nothing.
  std::vector<Byte> Data;
  Word Format;
  if (Metafile) {
    Format = 2;
    ENHMETAHEADER H{};
    GetEnhMetaFileHeader(Metafile->GetHandle(), sizeof(H), &H);
    const UINT Size = GetWinMetaFileBits(Metafile->GetHandle(), 0, nullptr, 8, nullptr);
    if (Size == 0) return;
    Data.resize(8 + Size);
    Put16(Data, 0, 8);
    Put16(Data, 2, H.rclFrame.Right & 0xFFFF);
    Put16(Data, 4, H.rclFrame.Bottom & 0xFFFF);
    if (GetWinMetaFileBits(Metafile->GetHandle(), Size, Data.data() + 8, 8, nullptr) == 0) return;
  } else {
    Format = 9;
    TBitmap Copy;
    Copy.Assign(Bitmap);
    Copy.SetPixelFormat(pf24bit);
    const Integer W = Copy.GetWidth(), H = Copy.GetHeight();
    if (W <= 0 || H <= 0 || W > 0xFFFF || H > 0xFFFF) return;
    const std::size_t Stride = (std::size_t(W) * 3 + 3) & ~std::size_t(3);
    Data.resize(12 + Stride * std::size_t(H));
    Put32(Data, 0, 12);
    Put16(Data, 4, W);
    Put16(Data, 6, H);
    Put16(Data, 8, 1);
    Put16(Data, 10, 24);
    // Bottom-up rows, as a DIB stores them.
    for (Integer Y = 0; Y < H; ++Y)
      std::memcpy(Data.data() + 12 + Stride * std::size_t(H - 1 - Y), Copy.ScanLine(Y), std::size_t(W) * 3);
  }
  std::vector<Byte> Body(60, 0);
  PlaceObject(Body, 8, L, T, R, B);
  static const Byte Fixed[26] = {0x08, 0x09, 0, 0, 0x09, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0,    0,    0x3D, 0, 0, 0, 0, 0x01, 0, 0, 0, 0, 0};
  std::copy(Fixed, Fixed + 26, Body.begin() + 34);
  Body[44] = Byte(Format);
  if (Background) {
    Body[30] = 10;
    const char Name[] = "__BkgndObj";
    Body.push_back(10);
    Body.insert(Body.end(), Name, Name + 10);
    Body.push_back(0);
  }
  WriteObj(Body);
  const DWORD Size = DWORD(Data.size());
  // A spare byte after the bitmap: gnumeric takes a bitmap only when the
  // record holds more than the size it declares. Readers that go by the
  // size skip it.
  if (Format == 9) Data.push_back(0);
  const std::size_t First = std::min(Data.size(), IMDataChunk);
  WriteRecord(IMDATA, Word(First + 8), S);
  S->WriteU16(Format);
  S->WriteU16(1);
  S->WriteU32(Size);
  S->WriteBuffer(Data.data(), Integer(First));
  for (std::size_t At = First; At < Data.size(); At += IMDataChunk) {
    const std::size_t N = std::min(IMDataChunk, Data.size() - At);
    WriteRecord(CONTINUE_, Word(N), S);
    S->WriteBuffer(Data.data() + At, Integer(N));
  }
}

void TgtExExcelEngine::EncodeImageItem(TgtImageItem* Item) {
  TgtCustomExcelEngine::EncodeImageItem(Item);
  const double L = Item->X, T = Item->Y, R = Item->X + Item->Width, B = Item->Y + Item->Height;
  if (dynamic_cast<TBitmap*>(GetImage(Item->ImageIndex)) && Item->ImageSettings.GetOutputImageFormat() == ifBMP) {
    std::unique_ptr<TBitmap> Bmp = ImageItemToBitmap(Item);
    WritePicture(L, T, R, B, Bmp.get(), nullptr, false);
  } else {
    std::unique_ptr<TMetafile> Mf = ImageItemToMetafile(Item);
    if (Mf && !Mf->Empty()) WritePicture(L, T, R, B, nullptr, Mf.get(), false);
  }
}

void TgtExExcelEngine::EncodeBitmap(TBitmap* Bitmap, double X, double Y) {
  if (Bitmap) WritePicture(X, Y, X + Bitmap->GetWidth(), Y + Bitmap->GetHeight(), Bitmap, nullptr, false);
}

void TgtExExcelEngine::WriteSheetObjects() {
  TPicture* Picture = GetBackgroundImage();
  TGraphic* G = Picture ? Picture->GetGraphic() : nullptr;
  if (!G || G->Empty()) return;
  TBitmap Bmp;
  Bmp.SetPixelFormat(pf24bit);
  Bmp.SetSize(G->GetWidth(), G->GetHeight());
  Bmp.Canvas()->Draw(0, 0, G);
  WritePicture(0, 0, G->GetWidth(), G->GetHeight(), &Bmp, nullptr, true);
}
