// ExcelEngine.h — TgtExExcelEngine, the Excel writer with drawing objects
// (lines, rectangles, ellipses, polygons, text boxes and pictures as OBJ
// records anchored to cells), and TgtExcelEngine, the class the
// application creates for ".xls".
#pragma once
#include <vector>
#include "export/sheet/CustomExcelEngine.h"

class TgtExExcelEngine : public TgtCustomExcelEngine {
public:
  using TgtCustomExcelEngine::TgtCustomExcelEngine;

protected:
  // --- the writer's interface ---
  bool ValidateOutputImageFormat(TgtOutputImageFormat Format, AnsiString& Message) override;
  // With Preferences.MetafileAsImage a page's metafile becomes one picture
  // instead of being played into cells and shapes.
  void PlayMetafile(TMetafile* Metafile, double X, double Y) override;
  void StartDocument() override;
  void FinishDocument() override;
  void BeginPage() override;
  void EncodeTextItem(TgtTextItem* Item) override;
  void EncodeImageItem(TgtImageItem* Item) override;
  void EncodeBitmap(TBitmap* Bitmap, double X, double Y) override;
  void EncodeLine(TPen* Pen, double X1, double Y1, double X2, double Y2) override;
  void EncodeRectangle(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) override;
  void EncodeRoundRect(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2, double CW,
                       double CH) override;
  void EncodeEllipse(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) override;
  void EncodePolygon(const TgtPoints& Points, bool Closed, TPen* Pen, TBrush* Brush) override;
  void EncodeTextBoxItem(TgtTextBoxItem* Item) override;
  void WriteSheetObjects() override;
  void OnWorksheetWritten() override;

  // The 34-byte header of an OBJ record of Length bytes for the page-pixel
  // rectangle, into Body (sized Length).
  void PlaceObject(std::vector<Byte>& Body, Word Type, double L, double T, double R, double B);
  void ColumnAnchor(double X, double W, Word& Left, Word& LeftOffset, Word& Right, Word& RightOffset);
  void RowAnchor(double Y, double H, Word& Top, Word& TopOffset, Word& Bottom, Word& BottomOffset);
  void WritePicture(double L, double T, double R, double B, TBitmap* Bitmap, TMetafile* Metafile,
                    bool Background);

private:
  void AreaFields(std::vector<Byte>& Body, TPen* Pen, TBrush* Brush);
  void WriteObj(const std::vector<Byte>& Body);
  double ColumnPixels(Integer Column) const;
  Integer RowPixels(Integer SheetRow) const;
  void SetRowHeight(Integer SheetRow, Integer Height);

  DWORD FObjectCounter = 0;
  std::vector<Integer> FRowHeights;   // by sheet row, this worksheet's
  Integer FCurrentRow = -1;           // sheet row of the last text item
  Integer FCurrentRowHeight = 0;
};

class TgtExcelEngine : public TgtExExcelEngine {
public:
  using TgtExExcelEngine::TgtExExcelEngine;
  // "Excel Setup" (export/dialogs).
  Word ShowSetupDialog() override;
};
