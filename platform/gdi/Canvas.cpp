#include "platform/gdi/Canvas.h"

#include "platform/gdi/Blit.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Picture.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>()) {
  FFont->OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
  FPen->OnChange = TNotifyEvent(this, &TCanvas::PenChanged);
  FBrush->OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
}

TCanvas::~TCanvas() {
  // The DC may outlive the canvas: leave it holding stock objects only, so
  // the tools' handles can go.
  if (FHandle) DeselectHandles();
  FHandle = nullptr;
}

HDC TCanvas::GetHandle() {
  RequiredState({csHandleValid});
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (FHandle == Value) return;
  if (FHandle) {
    DeselectHandles();
    FHandle = nullptr;
    FState.Exclude(csHandleValid);
  }
  if (Value) {
    FState.Include(csHandleValid);
    FHandle = Value;
  }
}

void TCanvas::DeselectHandles() {
  if (FHandle && (FState.Contains(csPenValid) || FState.Contains(csBrushValid) ||
                  FState.Contains(csFontValid))) {
    SelectObject(FHandle, GetStockObject(BLACK_PEN));
    SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
  }
  FState.Exclude(csPenValid);
  FState.Exclude(csBrushValid);
  FState.Exclude(csFontValid);
}

void TCanvas::RequiredState(TCanvasStates Req) {
  TCanvasStates Need = Req - FState;
  if (Need.Empty()) return;
  if (Need.Contains(csHandleValid)) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
    FState.Include(csHandleValid);
  }
  if (Need.Contains(csFontValid)) CreateFont();
  if (Need.Contains(csPenValid)) CreatePen();
  if (Need.Contains(csBrushValid)) CreateBrush();
}

void TCanvas::CreateFont() {
  SelectObject(FHandle, FFont->GetHandle());
  SetTextColor(FHandle, ColorToRGB(FFont->GetColor()));
  FState.Include(csFontValid);
}

void TCanvas::CreatePen() {
  SelectObject(FHandle, FPen->GetHandle());
  SetROP2(FHandle, PenModeToRop2(FPen->GetMode()));
  FState.Include(csPenValid);
}

void TCanvas::CreateBrush() {
  SelectObject(FHandle, FBrush->GetHandle());
  // Hatches show the background through the gaps: solid brushes set it
  // opaque in their own colour, the others leave it transparent.
  if (FBrush->GetStyle() == bsSolid) {
    SetBkColor(FHandle, ColorToRGB(FBrush->GetColor()));
    SetBkMode(FHandle, OPAQUE);
  } else {
    SetBkColor(FHandle, ~ColorToRGB(FBrush->GetColor()) & 0xFFFFFF);
    SetBkMode(FHandle, TRANSPARENT);
  }
  FState.Include(csBrushValid);
}

void TCanvas::FontChanged(TObject*) {
  if (FState.Contains(csFontValid)) {
    FState.Exclude(csFontValid);
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
  }
}

void TCanvas::PenChanged(TObject*) {
  if (FState.Contains(csPenValid)) {
    FState.Exclude(csPenValid);
    SelectObject(FHandle, GetStockObject(BLACK_PEN));
  }
}

void TCanvas::BrushChanged(TObject*) {
  if (FState.Contains(csBrushValid)) {
    FState.Exclude(csBrushValid);
    SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
  }
}

void TCanvas::Changing() {
  if (OnChanging.Assigned()) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange.Assigned()) OnChange(this);
}

void TCanvas::Refresh() { DeselectHandles(); }

// --- pixels and lines -------------------------------------------------------------

TColor TCanvas::GetPixel(Integer X, Integer Y) {
  RequiredState({csHandleValid});
  return TColor(::GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixel(Integer X, Integer Y, TColor Color) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  ::SetPixel(FHandle, X, Y, ColorToRGB(Color));
  Changed();
}

TPoint TCanvas::GetPenPos() {
  RequiredState({csHandleValid});
  TPoint P;
  GetCurrentPositionEx(FHandle, &P);
  return P;
}

void TCanvas::MoveTo(Integer X, Integer Y) {
  RequiredState({csHandleValid});
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(Integer X, Integer Y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polyline(FHandle, Points.data(), int(Points.size()));
  Changed();
}

void TCanvas::PolyBezier(std::span<const TPoint> Points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::PolyBezier(FHandle, Points.data(), DWORD(Points.size()));
  Changed();
}

void TCanvas::Arc(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3,
                  Integer X4, Integer Y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

// --- filled shapes ---------------------------------------------------------------------

void TCanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Chord(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3,
                    Integer X4, Integer Y4) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Chord(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Pie(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3,
                  Integer X4, Integer Y4) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Pie(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Polygon(FHandle, Points.data(), int(Points.size()));
  Changed();
}

// --- rectangles -------------------------------------------------------------------------

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(FHandle, &R, FBrush->GetHandle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(FHandle, &R, FBrush->GetHandle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::DrawFocusRect(FHandle, &R);
  Changed();
}

// --- text ----------------------------------------------------------------------------------

void TCanvas::TextOut(Integer X, Integer Y, const AnsiString& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOutA(FHandle, X, Y, UINT(TextFlags), nullptr, Text.data(), UINT(Text.size()), nullptr);
  MoveTo(X + TextWidth(Text), Y);
  Changed();
}

void TCanvas::TextRect(const TRect& R, Integer X, Integer Y, const AnsiString& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT Options = ETO_CLIPPED | UINT(TextFlags);
  if (FBrush->GetStyle() != bsClear) Options |= ETO_OPAQUE;
  ExtTextOutA(FHandle, X, Y, Options, &R, Text.data(), UINT(Text.size()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const AnsiString& Text) {
  RequiredState({csHandleValid, csFontValid});
  TSize Sz;
  GetTextExtentPoint32A(FHandle, Text.data(), int(Text.size()), &Sz);
  return Sz;
}

// --- pictures --------------------------------------------------------------------------------

void TCanvas::Draw(Integer X, Integer Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  StretchDraw(Rect(X, Y, X + Graphic->GetWidth(), Y + Graphic->GetHeight()), Graphic);
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  SetBkColor(FHandle, ColorToRGB(FBrush->GetColor()));
  SetTextColor(FHandle, ColorToRGB(FFont->GetColor()));
  Graphic->Draw(this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (!Canvas) return;
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  Canvas->RequiredState({csHandleValid, csBrushValid});
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->FHandle, Source.Left,
             Source.Top, Source.Width(), Source.Height(), DWORD(CopyMode));
  Changed();
}

TRect TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  TRect R;
  GetClipBox(FHandle, &R);
  return R;
}

// --- locking ---------------------------------------------------------------------------------

void TCanvas::Lock() {
  FLock.lock();
  ++FLockCount;
}

void TCanvas::Unlock() {
  --FLockCount;
  FLock.unlock();
}

bool TCanvas::TryLock() {
  if (!FLock.try_lock()) return false;
  ++FLockCount;
  return true;
}
