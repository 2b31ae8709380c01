#include "platform/win/Paint.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/gdi/DcObject.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiObjectTable.h"
#include "platform/win/Display.h"
#include "platform/win/Input.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
std::map<HDC, TLiveDc>& LiveDCs() { return WinState().LiveDCs; }

TRect Offset(TRect R, int Dx, int Dy) { return {R.Left + Dx, R.Top + Dy, R.Right + Dx, R.Bottom + Dy}; }

TRect ClientBox(const TWindow& W) { return {0, 0, W.Client.Width(), W.Client.Height()}; }

// What a DC of H may touch, in its top-level window's surface coordinates.
TRegionData VisibleRegion(HWND H, bool WindowArea, DWORD Flags) {
  TWindow* W = WinPtr(H);
  HWND TopH = WinTopLevelOf(H);
  TWindow* Top = WinPtr(TopH);
  if (!W || !Top) return {};
  TPoint TopOrg = Top->Rect.TopLeft();
  if (H == WinState().Desktop) return TRegionData(Offset(W->Rect, -TopOrg.X, -TopOrg.Y));
  if (!WinIsVisibleDeep(H)) return {};
  TRegionData R(WindowArea ? WinScreenRect(*W) : WinScreenClient(*W));
  bool ClipSiblings = (W->Style & WS_CLIPSIBLINGS) || (Flags & DCX_CLIPSIBLINGS);
  bool ClipChildren = (W->Style & WS_CLIPCHILDREN) || (Flags & DCX_CLIPCHILDREN);
  if (ClipChildren)
    for (HWND C : W->Children)
      if (TWindow* CW = WinPtr(C); CW && (CW->Style & WS_VISIBLE))
        R = TRegionData::Combine(R, TRegionData(WinScreenRect(*CW)), RGN_DIFF);
  // Up the chain: each ancestor's client area bounds it; siblings above a
  // window with WS_CLIPSIBLINGS cover it.
  HWND Cur = H;
  bool Clip = ClipSiblings;
  while (TWindow* CW = WinPtr(Cur)) {
    if (!CW->Parent) break;
    TWindow* P = WinPtr(CW->Parent);
    if (!P) break;
    if (Clip)
      for (HWND S : P->Children) {
        if (S == Cur) break;
        if (TWindow* SW = WinPtr(S); SW && (SW->Style & WS_VISIBLE))
          R = TRegionData::Combine(R, TRegionData(WinScreenRect(*SW)), RGN_DIFF);
      }
    R = R.Intersect(WinScreenClient(*P));
    Cur = CW->Parent;
    Clip = P->Style & WS_CLIPSIBLINGS;
  }
  R = R.Intersect(WinScreenRect(*Top));
  R.Offset(-TopOrg.X, -TopOrg.Y);
  if (Top->WindowRgn)
    if (auto* Rg = GdiLookupAs<TRegionObject>(Top->WindowRgn))
      R = TRegionData::Combine(R, Rg->Data, RGN_AND);
  return R;
}

TPoint SurfaceOrigin(const TWindow& W, bool WindowArea) {
  TWindow* Top = WinPtr(WinTopLevelOf(W.Handle));
  TPoint O = WindowArea ? WinScreenRect(W).TopLeft() : WinClientOrigin(W);
  return Top ? TPoint(O.X - Top->Rect.Left, O.Y - Top->Rect.Top) : O;
}

// Points Dc at H's surface with H's origin and clip; answers the clip's
// bounds (surface coordinates).
TRect AimDC(TDC& Dc, HWND H, bool WindowArea, DWORD Flags, const TRegionData* Extra) {
  TWindow* W = WinPtr(H);
  TWindow* Top = WinPtr(WinTopLevelOf(H));
  if (!W || !Top) return {};
  SurfaceEnsure(*Top);
  Dc.AttachSurface(Top->Surface);
  TPoint O = SurfaceOrigin(*W, WindowArea);
  Dc.SetDeviceOrigin(O);
  TRegionData Vis = VisibleRegion(H, WindowArea, Flags);
  if (Extra) {
    TRegionData E = *Extra;
    E.Offset(O.X, O.Y);
    Vis = TRegionData::Combine(Vis, E, RGN_AND);
  }
  TRect Bounds = Vis.IsEmpty() ? TRect() : Vis.Bounds();
  Dc.SetVisibleRegion(std::move(Vis));
  return Bounds;
}

HDC MakeDC(HWND H, bool WindowArea, DWORD Flags, const TRegionData* Extra) {
  TWindow* W = WinPtr(H);
  if (!W) return nullptr;
  if (W->Class && (W->Class->Style & CS_OWNDC) && !WindowArea && !(Flags & DCX_CACHE)) {
    if (!W->OwnDC || !GdiLookupDC(W->OwnDC)) {
      W->OwnDC = GdiAddDC(std::make_unique<TDC>(OBJ_DC, ScreenDeviceCaps()));
      LiveDCs()[W->OwnDC] = {H, WinTopLevelOf(H), {}};
    }
    // An own DC may be drawn into at any time: its whole reach is damage.
    if (TDC* D = GdiLookupDC(W->OwnDC)) LiveDCs()[W->OwnDC].Bounds = AimDC(*D, H, false, Flags, Extra);
    return W->OwnDC;
  }
  HDC Dc = GdiAddDC(std::make_unique<TDC>(OBJ_DC, ScreenDeviceCaps()));
  TRect Bounds;
  if (TDC* D = GdiLookupDC(Dc)) Bounds = AimDC(*D, H, WindowArea, Flags, Extra);
  LiveDCs()[Dc] = {H, WinTopLevelOf(H), Bounds};
  return Dc;
}

bool NeedsPaint(const TWindow& W) {
  return !W.Update.IsEmpty() || W.InternalPaint || W.FrameNeeded;
}

void Apply(HWND H, const TRegionData& Area, bool Whole, UINT Flags) {
  TWindowRef W = WinLookup(H);
  if (!W) return;
  TRect Client = ClientBox(*W);
  if (Flags & RDW_INVALIDATE) {
    W->Update = TRegionData::Combine(W->Update, Area.Intersect(Client), RGN_OR);
    if (Flags & RDW_ERASE) W->EraseNeeded = true;
    if (Flags & RDW_FRAME) W->FrameNeeded = true;
  }
  if (Flags & RDW_INTERNALPAINT) W->InternalPaint = true;
  if (Flags & RDW_VALIDATE) {
    W->Update = Whole ? TRegionData() : TRegionData::Combine(W->Update, Area, RGN_DIFF);
    if (W->Update.IsEmpty() || (Flags & RDW_NOERASE)) W->EraseNeeded = false;
    if (Flags & RDW_NOFRAME) W->FrameNeeded = false;
  }
  if (Flags & RDW_NOINTERNALPAINT) W->InternalPaint = false;
  bool Kids = (Flags & RDW_ALLCHILDREN) || (!(Flags & RDW_NOCHILDREN) && !(W->Style & WS_CLIPCHILDREN));
  if (!Kids || H == WinState().Desktop) return;
  for (HWND C : std::vector<HWND>(W->Children)) {
    TWindow* CW = WinPtr(C);
    if (!CW || !(CW->Style & WS_VISIBLE)) continue;
    if (!Whole && !Area.Intersects(CW->Rect)) continue;
    TRegionData Sub = Area;
    Sub.Offset(-(CW->Rect.Left + CW->Client.Left), -(CW->Rect.Top + CW->Client.Top));
    UINT F = Flags;
    if ((Flags & RDW_INVALIDATE) && (Whole || Area.Intersects(CW->Rect)) &&
        CW->Client != TRect(0, 0, CW->Rect.Width(), CW->Rect.Height()))
      F |= RDW_FRAME;
    Apply(C, Whole ? TRegionData(ClientBox(*CW)) : Sub, Whole, F);
  }
}

void EraseNow(HWND H) {
  TWindowRef W = WinLookup(H);
  if (!W || !WinIsVisibleDeep(H)) return;
  if (W->FrameNeeded) {
    W->FrameNeeded = false;
    WinSend(H, WM_NCPAINT, 1, 0);
  }
  if (IsWindow(H) && W->EraseNeeded) {
    W->EraseNeeded = false;
    HDC Dc = MakeDC(H, false, 0, &W->Update);
    WinSend(H, WM_ERASEBKGND, WPARAM(Dc), 0);
    ReleaseDC(H, Dc);
  }
}

void UpdateNow(HWND H, bool Kids) {
  TWindowRef W = WinLookup(H);
  if (!W) return;
  if (H != WinState().Desktop && WinIsVisibleDeep(H) && NeedsPaint(*W)) WinSend(H, WM_PAINT, 0, 0);
  if (!Kids || !IsWindow(H)) return;
  // Bottom sibling first, so a child on top that does not clip its siblings
  // still ends up drawn over the ones below it.
  const std::vector<HWND> Below(W->Children.rbegin(), W->Children.rend());
  for (HWND C : Below) UpdateNow(C, true);
}

HWND FindIn(HWND H, HWND Filter) {
  TWindow* W = WinPtr(H);
  if (!W || !(W->Style & WS_VISIBLE) || W->MessageOnly) return nullptr;
  if (H != WinState().Desktop && NeedsPaint(*W) && (!Filter || H == Filter || IsChild(Filter, H)))
    return H;
  for (auto It = W->Children.rbegin(); It != W->Children.rend(); ++It)  // bottom sibling first
    if (HWND F = FindIn(*It, Filter)) return F;
  return nullptr;
}

void NotifySurface(HWND Top, const TRect* Part = nullptr) {
  if (TWindow* T = WinPtr(Top); T && Top != WinState().Desktop) {
    if (Part && Part->IsEmpty()) return;  // the DC could touch nothing
    Display().SurfaceChanged(Top, Part ? *Part : TRect(0, 0, T->Rect.Width(), T->Rect.Height()));
  }
}
}  // namespace

// --- surfaces --------------------------------------------------------------------------

void SurfaceEnsure(TWindow& Top) {
  int W = std::max(1, Top.Rect.Width()), H = std::max(1, Top.Rect.Height());
  auto* Old = GdiLookupAs<TBitmapObject>(Top.Surface);
  if (Old && Old->Width == W && Old->Height == H) return;
  auto Bmp = std::make_unique<TBitmapObject>();
  Bmp->Allocate(W, H, 32);
  if (Old) {
    int Cw = std::min(W, Old->Width), Ch = std::min(H, Old->Height);
    for (int Y = 0; Y < Ch; ++Y) std::memcpy(Bmp->ScanLine(Y), Old->ScanLine(Y), std::size_t(Cw) * 4);
  }
  HBITMAP New = HBITMAP(GdiAddObject(std::move(Bmp)));
  HBITMAP Prev = Top.Surface;
  Top.Surface = New;
  for (auto& [Dc, L] : LiveDCs())
    if (L.Top == Top.Handle)
      if (TDC* D = GdiLookupDC(Dc)) D->AttachSurface(New);
  if (Prev) DeleteObject(Prev);
}

void SurfaceFree(TWindow& W) {
  for (auto It = LiveDCs().begin(); It != LiveDCs().end();) {
    if (It->second.Wnd == W.Handle || It->second.Top == W.Handle) {
      DeleteDC(It->first);
      It = LiveDCs().erase(It);
    } else {
      ++It;
    }
  }
  W.OwnDC = nullptr;
  if (W.Surface) DeleteObject(W.Surface);
  W.Surface = nullptr;
}

HBITMAP WindowSurface(HWND TopLevel) {
  TWindow* W = WinPtr(TopLevel);
  return W ? W->Surface : nullptr;
}

HWND PaintFind(HWND Filter) {
  for (HWND H : WinTopLevels())
    if (HWND F = FindIn(H, Filter)) return F;
  return nullptr;
}

// --- invalidation -------------------------------------------------------------------------

BOOL RedrawWindow(HWND Wnd, const TRect* R, HRGN Rgn, UINT Flags) {
  if (!Wnd) Wnd = GetDesktopWindow();
  TWindowRef W = WinLookup(Wnd);
  if (!W) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  bool Whole = !R && !Rgn;
  TRegionData Area;
  if (Rgn) {
    auto* O = GdiLookupAs<TRegionObject>(Rgn);
    if (!O) return FALSE;
    Area = O->Data;
  } else if (R) {
    Area = TRegionData(*R);
  } else {
    Area = TRegionData(ClientBox(*W));
  }
  Apply(Wnd, Area, Whole, Flags);
  bool Kids = (Flags & RDW_ALLCHILDREN) || (!(Flags & RDW_NOCHILDREN) && !(W->Style & WS_CLIPCHILDREN));
  if (Flags & RDW_UPDATENOW) UpdateNow(Wnd, Kids);
  else if (Flags & RDW_ERASENOW) EraseNow(Wnd);
  return TRUE;
}

BOOL InvalidateRect(HWND Wnd, const TRect* R, BOOL Erase) {
  if (!Wnd) {
    for (HWND H : WinTopLevels())
      RedrawWindow(H, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
  }
  return RedrawWindow(Wnd, R, nullptr, RDW_INVALIDATE | (Erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND Wnd, HRGN Rgn, BOOL Erase) {
  return RedrawWindow(Wnd, nullptr, Rgn, RDW_INVALIDATE | (Erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND Wnd, const TRect* R) { return RedrawWindow(Wnd, R, nullptr, RDW_VALIDATE); }
BOOL ValidateRgn(HWND Wnd, HRGN Rgn) { return RedrawWindow(Wnd, nullptr, Rgn, RDW_VALIDATE); }

BOOL GetUpdateRect(HWND Wnd, TRect* R, BOOL Erase) {
  TWindow* W = WinPtr(Wnd);
  if (!W) return FALSE;
  if (Erase && W->EraseNeeded) EraseNow(Wnd);
  if (!(W = WinPtr(Wnd))) return FALSE;
  if (R) *R = W->Update.IsEmpty() ? TRect() : W->Update.Bounds();
  return W->Update.IsEmpty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND Wnd, HRGN Rgn, BOOL Erase) {
  TWindow* W = WinPtr(Wnd);
  auto* O = GdiLookupAs<TRegionObject>(Rgn);
  if (!W || !O) return ERROR;
  if (Erase && W->EraseNeeded) EraseNow(Wnd);
  if (!(W = WinPtr(Wnd))) return ERROR;
  O->Data = W->Update;
  return O->Data.Kind();
}

BOOL UpdateWindow(HWND Wnd) {
  if (!IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  UpdateNow(Wnd, true);
  return TRUE;
}

// --- painting ---------------------------------------------------------------------------------

HDC BeginPaint(HWND Wnd, PAINTSTRUCT* Ps) {
  TWindowRef W = WinLookup(Wnd);
  if (!W || !Ps) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  HideCaret(Wnd);
  if (W->FrameNeeded) {
    W->FrameNeeded = false;
    WinSend(Wnd, WM_NCPAINT, 1, 0);
    if (!IsWindow(Wnd)) return nullptr;
  }
  TRegionData Upd = W->Update.Intersect(ClientBox(*W));
  bool Erase = W->EraseNeeded;
  W->Update = TRegionData();
  W->EraseNeeded = false;
  W->InternalPaint = false;
  HDC Dc = MakeDC(Wnd, false, 0, &Upd);
  *Ps = PAINTSTRUCT();
  Ps->hdc = Dc;
  Ps->rcPaint = Upd.IsEmpty() ? TRect() : Upd.Bounds();
  W->InPaint = true;
  if (Erase) Ps->fErase = WinSend(Wnd, WM_ERASEBKGND, WPARAM(Dc), 0) ? FALSE : TRUE;
  return Dc;
}

BOOL EndPaint(HWND Wnd, const PAINTSTRUCT* Ps) {
  if (!Ps) return FALSE;
  if (TWindow* W = WinPtr(Wnd)) W->InPaint = false;
  ReleaseDC(Wnd, Ps->hdc);
  if (IsWindow(Wnd)) ShowCaret(Wnd);
  return TRUE;
}

HDC GetDC(HWND Wnd) {
  if (!Wnd) Wnd = GetDesktopWindow();
  if (!IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return MakeDC(Wnd, false, 0, nullptr);
}

HDC GetWindowDC(HWND Wnd) {
  if (!Wnd) Wnd = GetDesktopWindow();
  if (!IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return MakeDC(Wnd, true, 0, nullptr);
}

HDC GetDCEx(HWND Wnd, HRGN Clip, DWORD Flags) {
  if (!Wnd) Wnd = GetDesktopWindow();
  TWindow* W = WinPtr(Wnd);
  if (!W) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  bool WindowArea = Flags & DCX_WINDOW;
  std::optional<TRegionData> Extra;
  if (Flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) {
    auto* O = GdiLookupAs<TRegionObject>(Clip);
    // The region is in screen-relative window coordinates; ours are
    // relative to the DC's origin.
    TRegionData R = O ? O->Data : TRegionData();
    TPoint Org = WindowArea ? WinScreenRect(*W).TopLeft() : WinClientOrigin(*W);
    R.Offset(-Org.X, -Org.Y);
    if (Flags & DCX_EXCLUDERGN) {
      TRect Box = WindowArea ? TRect(0, 0, W->Rect.Width(), W->Rect.Height()) : ClientBox(*W);
      R = TRegionData::Combine(TRegionData(Box), R, RGN_DIFF);
    }
    Extra = R;
  }
  if (Flags & DCX_INTERSECTUPDATE) Extra = Extra ? TRegionData::Combine(*Extra, W->Update, RGN_AND) : W->Update;
  HDC Dc = MakeDC(Wnd, WindowArea, Flags, Extra ? &*Extra : nullptr);
  if (Flags & DCX_VALIDATE) ValidateRect(Wnd, nullptr);
  return Dc;
}

int ReleaseDC(HWND, HDC Dc) {
  auto It = LiveDCs().find(Dc);
  if (It == LiveDCs().end()) return 0;
  HWND Owner = It->second.Wnd, Top = It->second.Top;
  TRect Bounds = It->second.Bounds;
  NotifySurface(Top, &Bounds);
  if (TWindow* W = WinPtr(Owner); W && W->OwnDC == Dc) return 1;
  LiveDCs().erase(It);
  DeleteDC(Dc);
  return 1;
}

HWND WindowFromDC(HDC Dc) {
  auto It = LiveDCs().find(Dc);
  return It == LiveDCs().end() ? nullptr : It->second.Wnd;
}

int ExcludeUpdateRgn(HDC Dc, HWND Wnd) {
  TWindow* W = WinPtr(Wnd);
  TDC* D = GdiLookupDC(Dc);
  if (!W || !D) return ERROR;
  return D->ExtSelectClipRgn(&W->Update, RGN_DIFF);
}

// --- scrolling -------------------------------------------------------------------------------------

int ScrollWindowEx(HWND Wnd, int Dx, int Dy, const TRect* Scroll, const TRect* Clip, HRGN Update,
                   TRect* UpdateRect, UINT Flags) {
  TWindowRef W = WinLookup(Wnd);
  if (!W) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return ERROR;
  }
  TRect Client = ClientBox(*W);
  TRect S = Scroll ? *Scroll : Client;
  TRegionData Src = TRegionData(S).Intersect(Client);
  if (Clip) Src = Src.Intersect(*Clip);
  TRect SB = Src.IsEmpty() ? TRect() : Src.Bounds();
  TRegionData Moved = Src;
  Moved.Offset(Dx, Dy);
  TRegionData Dest = TRegionData::Combine(Moved, Src, RGN_AND);
  TRegionData Uncovered = TRegionData::Combine(Src, Dest, RGN_DIFF);
  // Pixels: only when the window is showing.
  TWindow* Top = WinPtr(WinTopLevelOf(Wnd));
  if (Top && WinIsVisibleDeep(Wnd) && !Dest.IsEmpty() && (Dx || Dy)) {
    SurfaceEnsure(*Top);
    if (auto* Bmp = GdiLookupAs<TBitmapObject>(Top->Surface)) {
      TPoint O = SurfaceOrigin(*W, false);
      TRect D = Dest.Bounds();
      TRect DS = Offset(D, O.X, O.Y);
      DS.Left = std::max(DS.Left, std::max(0, O.X + Dx));
      DS.Top = std::max(DS.Top, std::max(0, O.Y + Dy));
      DS.Right = std::min(DS.Right, Bmp->Width + std::min(0, Dx));
      DS.Bottom = std::min(DS.Bottom, Bmp->Height + std::min(0, Dy));
      if (!DS.IsEmpty()) {
        int Rows = DS.Height();
        for (int I = 0; I < Rows; ++I) {
          int Y = Dy > 0 ? DS.Bottom - 1 - I : DS.Top + I;
          int SY = Y - Dy;
          if (SY < 0 || SY >= Bmp->Height) continue;
          std::memmove(Bmp->ScanLine(Y) + std::ptrdiff_t(DS.Left) * 4,
                       Bmp->ScanLine(SY) + std::ptrdiff_t(DS.Left - Dx) * 4,
                       std::size_t(DS.Width()) * 4);
        }
      }
      NotifySurface(Top->Handle);
    }
  }
  (void)SB;
  // What was already invalid inside the area moves with the pixels.
  TRegionData Inside = TRegionData::Combine(W->Update, Src, RGN_AND);
  if (!Inside.IsEmpty()) {
    W->Update = TRegionData::Combine(W->Update, Inside, RGN_DIFF);
    Inside.Offset(Dx, Dy);
    W->Update = TRegionData::Combine(W->Update, Inside.Intersect(Client), RGN_OR);
  }
  if (Flags & SW_SCROLLCHILDREN) {
    for (HWND C : std::vector<HWND>(W->Children)) {
      TWindow* CW = WinPtr(C);
      if (!CW || (Scroll && !TRegionData(*Scroll).Intersects(CW->Rect))) continue;
      SetWindowPos(C, nullptr, CW->Rect.Left + Dx, CW->Rect.Top + Dy, 0, 0,
                   SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
  }
  if (auto* O = GdiLookupAs<TRegionObject>(Update)) O->Data = Uncovered;
  if (UpdateRect) *UpdateRect = Uncovered.IsEmpty() ? TRect() : Uncovered.Bounds();
  if (Flags & SW_INVALIDATE) {
    HRGN Tmp = CreateRectRgn(0, 0, 0, 0);
    if (auto* O = GdiLookupAs<TRegionObject>(Tmp)) O->Data = Uncovered;
    RedrawWindow(Wnd, nullptr, Tmp, RDW_INVALIDATE | ((Flags & SW_ERASE) ? RDW_ERASE : 0));
    DeleteObject(Tmp);
  }
  return Uncovered.Kind();
}

BOOL ScrollWindow(HWND Wnd, int Dx, int Dy, const TRect* Scroll, const TRect* Clip) {
  return ScrollWindowEx(Wnd, Dx, Dy, Scroll, Clip, nullptr, nullptr,
                        SW_INVALIDATE | SW_ERASE | (Scroll ? 0 : SW_SCROLLCHILDREN)) != ERROR;
}
