// TraceEngine.h — a writer that prints one line per call it receives, so
// tests compare the items of a document as golden text.
#pragma once
#include <cmath>
#include <sstream>
#include <string>
#include <vector>
#include "export/engine/DocumentEngine.h"
#include "platform/rtl/CodePages.h"

class TTraceEngine : public TgtCustomDocumentEngine {
public:
  // Tests call the reading-order sort on lists of their own.
  using TgtCustomDocumentEngine::SortItems;
  TTraceEngine() : TgtCustomDocumentEngine(nullptr) {
    SetMeasurementUnit(muPixels);
    GetPreferences()->SetShowSetupDialog(false);
    GetPreferences()->SetOpenAfterCreate(false);
    GetPage()->SetPaperSize(Custom);
    GetPage()->SetWidth(600);
    GetPage()->SetHeight(800);
  }
  std::vector<std::string> Lines;
  std::string Errors;
  Word SetupResult = 1;
  void NoteError(TObject*, const Exception& E) { Errors += E.Message() + "\n"; }
  // A variable whose value holds the variable itself.
  void CalcSelf(TObject*, const WideString& Name, WideString& Value) {
    if (Name == u"Me") Value = u"[<%Me%>]";
  }
  bool TraceAdvances = false;

  static std::string N(double V) {
    std::ostringstream S;
    S << std::round(V * 100) / 100;
    return S.str();
  }
  void Log(const std::string& S) { Lines.push_back(S); }
  std::string Joined(const std::string& Prefix = "") const {
    std::string Out;
    for (auto& L : Lines)
      if (L.rfind(Prefix, 0) == 0) Out += L + "\n";
    return Out;
  }

  Word ShowSetupDialog() override {
    Log("SetupDialog");
    return SetupResult;
  }
  void StartDocument() override { Log("StartDocument"); }
  void FinishDocument() override { Log("FinishDocument"); }
  void BeginPage() override { Log("BeginPage " + std::to_string(GetPageNo())); }
  void EndPage() override { Log("EndPage " + std::to_string(GetPageNo())); }
  void EncodeTextItem(TgtTextItem* I) override {
    std::string S = "Text " + N(I->X) + "," + N(I->Y) + " \"" + UTF8Encode(I->Lines.Get(0)) + "\" " +
                    I->Font.GetName() + " " + std::to_string(I->Font.GetSize());
    if (I->Angle) S += " angle " + std::to_string(I->Angle);
    if (I->GetClipped())
      S += " clip " + N(I->ClipRect.Left) + "," + N(I->ClipRect.Top) + "," + N(I->ClipRect.Right) + "," +
           N(I->ClipRect.Bottom);
    if (TraceAdvances) {
      S += " dx";
      for (double A : I->CharAdvances) S.append(1, ' ').append(N(A));
    }
    Log(S);
  }
  void EncodeImageItem(TgtImageItem* I) override {
    TGraphic* G = GetImage(I->ImageIndex);
    Log("Image " + N(I->X) + "," + N(I->Y) + " " + N(I->Width) + "x" + N(I->Height) + " bitmap " +
        (G ? std::to_string(G->GetWidth()) + "x" + std::to_string(G->GetHeight()) : "none") +
        (I->ImageSettings.Stretch ? " stretch" : "") + (I->ImageSettings.Center ? " center" : ""));
  }
  void EncodeClipItem(TgtClipItem* I) override {
    std::string S = I->ClipKind == ckReset ? "ClipReset" : "Clip mode " + std::to_string(I->CombineMode);
    for (auto& R : I->Rects)
      S.append(1, ' ').append(std::to_string(R.Left)).append(1, ',').append(std::to_string(R.Top)).append(1, ',')
          .append(std::to_string(R.Right)).append(1, ',').append(std::to_string(R.Bottom));
    Log(S);
  }
  void EncodePathItem(TgtPathItem* I) override { Log("Path " + std::to_string(I->PathCommand)); }
  void EncodeEOFItem(TgtEOFItem*) override { Log("EOF"); }
  void EncodePolyDrawItem(TgtPolyDrawItem* I) override { Log("PolyDraw " + std::to_string(I->PointCount())); }
  void EncodePolyPolygonItem(TgtPolyPolygonItem* I) override {
    std::string S = "PolyPolygon";
    for (Integer C : I->Counts) S.append(1, ' ').append(std::to_string(C));
    Log(S + (I->Alternate ? " alternate" : " winding"));
  }
  void EncodeOtherItem(TgtDocumentItem*) override { Log("Other"); }
  static std::string Pts(std::initializer_list<double> V) {
    std::string S;
    for (double D : V) S.append(S.empty() ? "" : ",").append(N(D));
    return S;
  }
  void EncodeLine(TPen* P, double X1, double Y1, double X2, double Y2) override {
    Log("Line " + Pts({X1, Y1, X2, Y2}) + " pen " + std::to_string(ColorToRGB(P->GetColor())));
  }
  void EncodeRectangle(TPen*, TBrush* B, double X1, double Y1, double X2, double Y2) override {
    Log("Rectangle " + Pts({X1, Y1, X2, Y2}) + (B ? " brush " + std::to_string(ColorToRGB(B->GetColor())) : ""));
  }
  void EncodeRoundRect(TPen*, TBrush*, double X1, double Y1, double X2, double Y2, double W, double H) override {
    Log("RoundRect " + Pts({X1, Y1, X2, Y2, W, H}));
  }
  void EncodeEllipse(TPen*, TBrush*, double X1, double Y1, double X2, double Y2) override {
    Log("Ellipse " + Pts({X1, Y1, X2, Y2}));
  }
  void EncodePolygon(const TgtPoints& P, bool Closed, TPen*, TBrush*) override {
    std::string S = Closed ? "Polygon" : "Polyline";
    for (auto& Pt : P) S.append(1, ' ').append(N(Pt.X)).append(1, ',').append(N(Pt.Y));
    Log(S);
  }
  void EncodePolyShape(TgtPolyShapeItem* I, bool) override { Log("PolyShape " + std::to_string(I->Shapes.size())); }
  void EncodeArc(TPen*, double A, double B, double C, double D, double E, double F, double G, double H) override {
    Log("Arc " + Pts({A, B, C, D, E, F, G, H}));
  }
  void EncodePie(TPen*, TBrush*, double A, double B, double C, double D, double E, double F, double G,
                 double H) override {
    Log("Pie " + Pts({A, B, C, D, E, F, G, H}));
  }
  void EncodeChord(TPen*, TBrush*, double A, double B, double C, double D, double E, double F, double G,
                   double H) override {
    Log("Chord " + Pts({A, B, C, D, E, F, G, H}));
  }
  void EncodePolyBezier(const TgtPoints& P, TPen*) override {
    std::string S = "Bezier";
    for (auto& Pt : P) S.append(1, ' ').append(N(Pt.X)).append(1, ',').append(N(Pt.Y));
    Log(S);
  }

  // Opens an output file as a writer would.
  using TgtCustomDocumentEngine::CreateOutputFile;
  using TgtCustomDocumentEngine::GetOutputStream;
};

// Writes FileName.txt with one line per page at StartDocument/FinishDocument.
class TFileTraceEngine : public TTraceEngine {
public:
  bool FailOnFinish = false;
  void StartDocument() override {
    TTraceEngine::StartDocument();
    CreateOutputFile(GetFileName() + ".txt");
  }
  void EndPage() override {
    TTraceEngine::EndPage();
    GetOutputStream()->WriteBytes("page\n");
  }
  void FinishDocument() override {
    TTraceEngine::FinishDocument();
    if (FailOnFinish) throw EWriteError("disk full");
  }
};
