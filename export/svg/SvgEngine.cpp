#include "export/svg/SvgEngine.h"
#include <cmath>
#include <cstdio>
#include "export/image/PngPieces.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Markup.h"

const char* const SSVGDescription = "Scalable Vector Graphics";
const char* const SSVGImageFormats = "The SVG supports only JPEG and PNG image formats";

namespace {
const char* const CRLF = "\r\n";
constexpr double Pi = 3.14159265358979323846;

// Fixed, four decimals, "." whatever the locale.
AnsiString Num(double V) {
  if (!std::isfinite(V)) V = 0;
  char Buf[64];
  std::snprintf(Buf, sizeof Buf, "%.4f", V);
  AnsiString S = Buf;
  for (char& C : S)
    if (C == ',') C = '.';
  return S == "-0.0000" ? AnsiString("0.0000") : S;
}

AnsiString Attr(const char* Name, const AnsiString& Value) { return AnsiString(" ") + Name + "=\"" + Value + "\""; }

AnsiString Esc(const AnsiString& Text) { return MarkupEscape(Text, TMarkupEscape::Xml); }

AnsiString Colour(TColor C) { return AnsiString(1, '#').append(ColorToHexRGB(C)); }

AnsiString Utf8(const WideString& S) { return UTF8Encode(S); }

AnsiString NameOnly(const AnsiString& Full) {
  const std::size_t P = Full.find_last_of("/\\");
  return P == AnsiString::npos ? Full : Full.substr(P + 1);
}

const char* Hatch(TBrushStyle S) {
  switch (S) {
    case bsHorizontal: return "M 0 2.5 L 5 2.5";
    case bsVertical: return "M 2.5 0 L 2.5 5";
    case bsFDiagonal: return "M 2.5 0 L 0 2.5 M 5 2.5 L 2.5 5";
    case bsBDiagonal: return "M 2.5 0 L 5 2.5 M 0 2.5 L 2.5 5";
    case bsCross: return "M 2.5 0 L 2.5 5 M 0 2.5 L 5 2.5";
    case bsDiagCross: return "M 2.5 0 L 0 2.5 L 2.5 5 L 5 2.5 z";
    default: return nullptr;
  }
}

// Angle of P seen from C, counter-clockwise with y pointing down, in [0, 2π).
double Theta(double PX, double PY, double CX, double CY) {
  if (PX == CX) return PY <= CY ? Pi / 2 : 3 * Pi / 2;
  const double T = std::atan(std::fabs((PY - CY) / (PX - CX)));
  if (PX > CX) return PY <= CY ? T : 2 * Pi - T;
  return PY <= CY ? Pi - T : Pi + T;
}
}  // namespace

TgtSVGEngine::TgtSVGEngine(TComponent* AOwner) : TgtCustomPlainsheetEngine(AOwner) {
  SetFileExtension("svg");
  SetFileDescription(SSVGDescription);
  SetCapabilities(0x0187);
  GetPreferences()->SetActiveHyperLinks(true);
  GetImageSettings()->SetOutputImageFormat(ifJPEG);
}

TgtSVGEngine::~TgtSVGEngine() = default;

bool TgtSVGEngine::ValidateOutputImageFormat(TgtOutputImageFormat Format, AnsiString& Message) {
  if (Format == ifJPEG || Format == ifPNG) return true;
  Message = SSVGImageFormats;
  return false;
}

void TgtSVGEngine::StartDocument() {
  TgtCustomPlainsheetEngine::StartDocument();
  FPatterns.clear();
  FPatternDefs.clear();
  FSideImages.clear();
}

void TgtSVGEngine::FinishDocument() {
  TgtCustomPlainsheetEngine::FinishDocument();
  FPatterns.clear();
  FSideImages.clear();
  FPage = nullptr;
}

void TgtSVGEngine::Write(const AnsiString& Text) {
  if (FPage) FPage->WriteBuffer(Text.data(), Integer(Text.size()));
}

void TgtSVGEngine::BeginPage() {
  TgtCustomPlainsheetEngine::BeginPage();
  if (GetPreferences()->GetOutputToUserStream()) {
    if (!GetUserStream()) throw EStreamError("No user stream to write the page to");
    FPage = GetUserStream();
  } else {
    FPage = CreateOutputFile(GetFileName() + std::to_string(GetPageNo()) + "." + GetFileExtension());
  }
  TgtPageItem* P = GetCurrentPageItem();
  const double W = P ? P->PageSettings.WidthPx() : 0, H = P ? P->PageSettings.HeightPx() : 0;
  Write(AnsiString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") + CRLF);
  // The namespaces make it an SVG document and let image and link
  // references use xlink:href.
  Write("<svg" + Attr("xmlns", "http://www.w3.org/2000/svg") + Attr("xmlns:xlink", "http://www.w3.org/1999/xlink") +
        Attr("xml:space", "default") + Attr("width", Num(W)) + Attr("height", Num(H)) + ">" + CRLF);
  Write("<title> " + Esc(Utf8(GetDocInfo()->GetTitle())) + " </title>" + CRLF);
  Write("<desc> " + Esc(Utf8(GetDocInfo()->GetSubject())) + " </desc>" + CRLF);
  FPatterns.clear();
  FPatternDefs.clear();
  FAngle = 0;
}

void TgtSVGEngine::EndPage() {
  if (!FPatternDefs.empty()) Write(AnsiString("<defs>") + CRLF + FPatternDefs + CRLF + "</defs>" + CRLF);
  Write("</svg>");
  FPage = nullptr;
  TgtCustomPlainsheetEngine::EndPage();
}

// ---- paint and shapes -------------------------------------------------------------------

void TgtSVGEngine::SetRotation(Integer Angle, double X, double Y) {
  FAngle = Angle;
  FAngleX = X;
  FAngleY = Y;
}

AnsiString TgtSVGEngine::Paint(TPen* Pen, TBrush* Brush) {
  AnsiString S;
  const TBrushStyle Style = Brush ? Brush->GetStyle() : bsClear;
  if (Style == bsClear) {
    S += Attr("fill", "none");
  } else if (const char* H = Hatch(Style)) {
    const AnsiString Path =
        "<path" + Attr("fill", "none") + Attr("stroke", Colour(Brush->GetColor())) + Attr("d", H) + " />";
    std::size_t I = 0;
    while (I < FPatterns.size() && FPatterns[I] != Path) ++I;
    if (I == FPatterns.size()) {
      FPatterns.push_back(Path);
      FPatternDefs += "<pattern" + Attr("id", "gtPattern" + std::to_string(I)) + Attr("patternUnits", "userSpaceOnUse") +
                      CRLF + Attr("x", "0").substr(1) + Attr("y", "0") + Attr("width", "10") + Attr("height", "10") +
                      Attr("viewBox", "0 0 5 5") + ">" + CRLF + Path + CRLF + "</pattern>" + CRLF;
    }
    S += Attr("fill", "url(#gtPattern" + std::to_string(I) + ")") + " ";
  } else {
    S += Attr("fill", Colour(Brush->GetColor())) + " ";
  }
  if (Pen && Pen->GetStyle() != psClear) {
    AnsiString St = "stroke:" + Colour(Pen->GetColor()) + "; stroke-width:" + std::to_string(Pen->GetWidth());
    switch (Pen->GetStyle()) {
      case psDash: St += "; stroke-dasharray: 3mm,1mm"; break;
      case psDot: St += "; stroke-dasharray: 1mm,1mm"; break;
      case psDashDot: St += "; stroke-dasharray: 3mm,1mm,1mm,1mm"; break;
      case psDashDotDot: St += "; stroke-dasharray: 3mm,1mm,1mm,1mm,1mm,1mm"; break;
      default: break;
    }
    S += Attr("style", St + ";");
  }
  return S;
}

void TgtSVGEngine::Shape(const AnsiString& Start, TPen* Pen, TBrush* Brush) {
  AnsiString S = Start;
  if (FAngle != 0)
    S += Attr("transform", "rotate(" + std::to_string(360 - FAngle) + " " + Num(FAngleX) + " " + Num(FAngleY) + ")");
  FAngle = 0;
  Write(S + Paint(Pen, Brush) + " />" + CRLF);
}

void TgtSVGEngine::EncodeLine(TPen* Pen, double X1, double Y1, double X2, double Y2) {
  Shape("<line" + Attr("x1", Num(X1)) + Attr("y1", Num(Y1)) + Attr("x2", Num(X2)) + Attr("y2", Num(Y2)), Pen, nullptr);
}

void TgtSVGEngine::EncodeRectangle(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) {
  Shape("<rect" + Attr("x", Num(X1)) + Attr("y", Num(Y1)) + Attr("width", Num(std::fabs(X1 - X2))) +
            Attr("height", Num(std::fabs(Y1 - Y2))),
        Pen, Brush);
}

void TgtSVGEngine::EncodeRoundRect(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2, double CW,
                                   double CH) {
  Shape("<rect" + Attr("x", Num(X1)) + Attr("y", Num(Y1)) + Attr("width", Num(std::fabs(X1 - X2))) +
            Attr("height", Num(std::fabs(Y1 - Y2))) + Attr("rx", Num(CW)) + Attr("ry", Num(CH)),
        Pen, Brush);
}

void TgtSVGEngine::EncodeEllipse(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2) {
  Shape("<ellipse" + Attr("cx", Num(X1 + (X2 - X1) / 2)) + Attr("cy", Num(Y1 + (Y2 - Y1) / 2)) +
            Attr("rx", Num(std::fabs(X1 - X2) / 2)) + Attr("ry", Num(std::fabs(Y1 - Y2) / 2)),
        Pen, Brush);
}

void TgtSVGEngine::EncodePolygon(const TgtPoints& Points, bool Closed, TPen* Pen, TBrush* Brush) {
  AnsiString P;
  for (const auto& Pt : Points) P.append(P.empty() ? "" : " ").append(Num(Pt.X)).append(1, ',').append(Num(Pt.Y));
  Shape(AnsiString(Closed ? "<polygon" : "<polyline") + Attr("points", P), Pen, Closed ? Brush : nullptr);
}

void TgtSVGEngine::EncodePolyBezier(const TgtPoints& Points, TPen* Pen) {
  if (Points.empty()) return;
  AnsiString D = "M " + Num(Points[0].X) + "," + Num(Points[0].Y);
  for (std::size_t I = 1; I + 2 < Points.size(); I += 3) {
    D += " C";
    for (std::size_t K = I; K < I + 3; ++K) D.append(1, ' ').append(Num(Points[K].X)).append(1, ',').append(Num(Points[K].Y));
  }
  Shape("<path" + Attr("d", D), Pen, nullptr);
}

AnsiString TgtSVGEngine::ArcPath(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                 double Y4) {
  const double CX = (X1 + X2) / 2, CY = (Y1 + Y2) / 2, RX = std::fabs(X1 - X2) / 2, RY = std::fabs(Y1 - Y2) / 2;
  const double T3 = Theta(X3, Y3, CX, CY), T4 = Theta(X4, Y4, CX, CY);
  const int Large = ((T4 > T3 && T4 - T3 >= Pi) || (T3 > T4 && T3 - T4 <= Pi)) ? 1 : 0;
  return "M " + Num(CX + RX * std::cos(T3)) + " " + Num(CY - RY * std::sin(T3)) + " A " + Num(RX) + " " + Num(RY) +
         " 0 " + std::to_string(Large) + " 0 " + Num(CX + RX * std::cos(T4)) + " " + Num(CY - RY * std::sin(T4));
}

void TgtSVGEngine::EncodeArc(TPen* Pen, double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                             double Y4) {
  Shape("<path" + Attr("d", ArcPath(X1, Y1, X2, Y2, X3, Y3, X4, Y4)), Pen, nullptr);
}

void TgtSVGEngine::EncodePie(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2, double X3,
                             double Y3, double X4, double Y4) {
  Shape("<path" + Attr("d", ArcPath(X1, Y1, X2, Y2, X3, Y3, X4, Y4) + " L " + Num((X1 + X2) / 2) + " " +
                                Num((Y1 + Y2) / 2) + " z"),
        Pen, Brush);
}

void TgtSVGEngine::EncodeChord(TPen* Pen, TBrush* Brush, double X1, double Y1, double X2, double Y2, double X3,
                               double Y3, double X4, double Y4) {
  Shape("<path" + Attr("d", ArcPath(X1, Y1, X2, Y2, X3, Y3, X4, Y4) + " z"), Pen, Brush);
}

// ---- text ---------------------------------------------------------------------------------

void TgtSVGEngine::EncodeTextItem(TgtTextItem* Item) {
  TgtCustomPlainsheetEngine::EncodeTextItem(Item);
  WideString Line;
  ReplaceVariables(Item->Lines.Get(0), true, Line);
  const WideString Measured = TrimTrailingCRLF(Line);
  const TSize Ext = GetTextExtent(Measured, &Item->Font);
  TPen NoPen;
  NoPen.SetStyle(psClear);
  SetRotation(Item->Angle, Item->X, Item->Y);
  EncodeRectangle(&NoPen, &Item->Brush, Item->X, Item->Y, Item->X + Ext.cx, Item->Y + Ext.cy);

  // The line with its web addresses as links; every piece escaped on its own.
  AnsiString Body;
  std::size_t Done = 0;
  if (GetPreferences()->GetActiveHyperLinks()) {
    Integer Start = 1;
    for (int Guard = 0; Guard <= int(Line.size()); ++Guard) {
      WideString Link;
      Integer At = Start;
      ExtractLink(Line, At, Link);
      if (Link.empty() || Link == u"\r\n" || At < 1 || std::size_t(At - 1) < Done) break;
      while (!Link.empty() && (Link.back() == u'&' || Link.back() == u'\'' || Link.back() == u'<' ||
                               Link.back() == u'>' || Link.back() == u'\r' || Link.back() == u'\n'))
        Link.pop_back();
      if (Link.empty()) break;
      const std::size_t Pos = std::size_t(At - 1);
      AnsiString Href = Utf8(Link);
      const AnsiString Lower = LowerCase(Href);
      if (Lower.rfind("http:", 0) != 0 && Lower.rfind("https:", 0) != 0 && Lower.rfind("ftp:", 0) != 0)
        Href = "http://" + Href;
      Body += Esc(Utf8(Line.substr(Done, Pos - Done)));
      Body += "<a" + Attr("xlink:href", Esc(Href)) + ">" + Esc(Utf8(Link)) + "</a>";
      Done = Pos + Link.size();
      Start = Integer(Done) + 1;
    }
  }
  Body += Esc(Utf8(Measured.substr(std::min(Done, Measured.size()))));

  TFont& F = Item->Font;
  const TFontStyles St = F.GetStyle();
  AnsiString Css;
  if (St.Contains(fsItalic)) Css += "font-style: italic; ";
  if (St.Contains(fsBold)) Css += "font-weight: bold; ";
  // The face name is a document's own text: quoted, it stays one name.
  Css += "font-family: " + CssString(Utf8(AnsiToWide(F.GetName()))) + "; font-size: " + std::to_string(F.GetSize()) + "pt";
  if (St.Contains(fsUnderline) || St.Contains(fsStrikeOut))
    Css += AnsiString("; text-decoration:") + (St.Contains(fsUnderline) ? " underline" : "") +
           (St.Contains(fsStrikeOut) ? " line-through" : "");
  Css += "; fill: " + Colour(F.GetColor());
  // Runs of blanks are kept, so columns stay aligned and runs side by side
  // keep the gap between them.
  AnsiString S = "<text" + Attr("xml:space", "preserve") + Attr("x", Num(Item->X)) + Attr("y", Num(Item->Y + F.GetSize() * F.PixelsPerInch / 72.0));
  if (Item->Angle != 0)
    S += Attr("transform", "rotate(" + std::to_string(360 - Item->Angle) + " " + Num(Item->X) + " " + Num(Item->Y) + ")");
  S += Attr("style", Esc(Css)) + ">" + Body + "</text>" + CRLF;
  Write(S);
}

// ---- pictures -----------------------------------------------------------------------------

AnsiString TgtSVGEngine::WriteSideFile(const AnsiString& Base, const AnsiString& Ext, TMemoryStream& Bytes) {
  const AnsiString Full = Base + Ext;
  TStream* S = CreateOutputFile(Full);
  S->WriteBuffer(Bytes.Memory(), Integer(Bytes.GetSize()));
  CloseOutputFile();
  FSideFiles.push_back(Full);
  return NameOnly(Full);
}

bool TgtSVGEngine::Matches(const TgtSVGImageSettings& S, const TgtImageItem& Item, double GW, double GH) const {
  const TgtImageSettings& I = Item.ImageSettings;
  if (S.GetOutputImageFormat() != I.GetOutputImageFormat() || S.ImagePixelFormat != I.ImagePixelFormat ||
      S.SourceDPI != I.SourceDPI || S.ActualSize != I.ActualSize)
    return false;
  if (I.GetOutputImageFormat() == ifJPEG && S.JPEGQuality != I.JPEGQuality) return false;
  if (S.Stretch && !I.Stretch) return Item.Width == GW && Item.Height == GH;
  if (I.Stretch && !S.Stretch) return S.ImageWidth == GW && S.ImageHeight == GH;
  if (S.Stretch && I.Stretch) return true;
  if (S.Center != I.Center)
    return S.ImageWidth == Item.Width && Item.Width == GW && S.ImageHeight == Item.Height && Item.Height == GH;
  return S.ImageWidth == Item.Width && S.ImageHeight == Item.Height;
}

void TgtSVGEngine::EncodeImageItem(TgtImageItem* Item) {
  TgtCustomPlainsheetEngine::EncodeImageItem(Item);
  TGraphic* G = GetImage(Item->ImageIndex);
  if (!G) return;
  const double GW = G->GetWidth(), GH = G->GetHeight();
  auto& List = FSideImages[Item->ImageIndex];
  TgtSVGImageSettings* Found = nullptr;
  for (auto& S : List)
    if (Matches(*S, *Item, GW, GH)) {
      Found = S.get();
      break;
    }
  const TgtDoubleRect& D = Item->DisplayRect;
  if (!Found) {
    auto S = std::make_unique<TgtSVGImageSettings>();
    S->Assign(&Item->ImageSettings);
    S->DispWidth = D.Right - D.Left;
    S->DispHeight = D.Bottom - D.Top;
    S->ImageWidth = Item->Width;
    S->ImageHeight = Item->Height;
    // Rendering may settle the stretch flag; the entry keeps the settings asked for.
    auto Bmp = ImageItemToBitmap(Item);
    const AnsiString Base = GetFileName() + "_" + std::to_string(FSideCounter++) + "_I";
    if (Item->ImageSettings.GetOutputImageFormat() == ifPNG) {
      // A transparent picture keeps its holes; an opaque one keeps its white.
      std::optional<TColor> Trans;
      if (Item->ImageSettings.Transparent) Trans = Item->Brush.GetColor();
      auto Png = SaveBitmapAsPNG(Bmp.get(), Trans);
      S->FileName = WriteSideFile(Base, ".png", *Png);
    } else {
      auto Jpg = BitmapToJPEGStream(Bmp.get(), Item->ImageSettings.JPEGQuality);
      S->FileName = WriteSideFile(Base, ".jpg", *Jpg);
    }
    Found = S.get();
    List.push_back(std::move(S));
  }
  const double PW = Item->Pen.GetWidth();
  const Integer A = Item->ImageSettings.RotationAngle;
  const double L = D.Left, T = D.Top, R = D.Right, B = D.Bottom;
  if (Item->ImageSettings.DrawFrame) {
    auto Side = [&](bool On, double X1, double Y1, double X2, double Y2) {
      if (!On) return;
      SetRotation(A, L - PW, T - PW);
      EncodeLine(&Item->Pen, X1, Y1, X2, Y2);
    };
    Side(Item->Frame.Left, L - PW, T - PW, L - PW, B + PW);
    Side(Item->Frame.Right, R + PW, T - PW, R + PW, B + PW);
    Side(Item->Frame.Top, L - PW, T - PW, R + PW, T - PW);
    Side(Item->Frame.Bottom, L - PW, B + PW, R + PW, B + PW);
  }
  if (Item->Brush.GetStyle() != bsClear) {
    TPen NoPen;
    NoPen.SetStyle(psClear);
    SetRotation(A, L - PW, T - PW);
    EncodeRectangle(&NoPen, &Item->Brush, L - PW, T - PW, R + PW, B + PW);
  }
  AnsiString S = "<image" + Attr("x", Num(Item->X)) + Attr("y", Num(Item->Y));
  if (A != 0) S += Attr("transform", "rotate(" + std::to_string(360 - A) + " " + Num(L - PW) + " " + Num(T - PW) + ")");
  S += Attr("width", Num(Item->Width)) + Attr("height", Num(Item->Height)) +
       Attr("xlink:href", Esc(Found->FileName)) + " />" + CRLF;
  Write(S);
}

void TgtSVGEngine::EncodeBitmap(TBitmap* Bitmap, double X, double Y) {
  if (!Bitmap || Bitmap->Empty()) return;
  // A rasterised shape lies on a white ground that must stay see-through:
  // PNG with white transparent, where a JPEG would cover what lies below.
  auto Png = SaveBitmapAsPNG(Bitmap, std::optional<TColor>(clWhite));
  const AnsiString Name =
      WriteSideFile(GetFileName() + "_" + std::to_string(FSideCounter++) + "_S", ".png", *Png);
  Write("<image" + Attr("x", Num(X)) + Attr("y", Num(Y)) + Attr("width", Num(Bitmap->GetWidth())) +
        Attr("height", Num(Bitmap->GetHeight())) + Attr("xlink:href", Esc(Name)) + " />" + CRLF);
}
