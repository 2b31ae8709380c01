#include "platform/win/x11/X11Display.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/GdiObjectTable.h"
#include "platform/gdi/IconApi.h"
#include "platform/rtl/CodePages.h"
#include "platform/win/Cursors.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"
#include "platform/win/x11/X11Private_p.h"

// --- errors --------------------------------------------------------------------------------

namespace {
int TrappedError = 0;
int TrapDepth = 0;
XErrorHandler PreviousHandler = nullptr;

int OnXError(XDisplay*, XErrorEvent* E) {
  // A window that went away between a request and its answer is routine on
  // a desktop: errors are recorded for the caller that asked, never fatal.
  if (TrapDepth > 0 && !TrappedError) TrappedError = E->error_code;
  return 0;
}
}  // namespace

void X11TrapErrors(XDisplay* Dpy) {
  XSync(Dpy, False);
  if (TrapDepth++ == 0) TrappedError = 0;
}

int X11UntrapErrors(XDisplay* Dpy) {
  XSync(Dpy, False);
  int E = TrappedError;
  if (--TrapDepth == 0) TrappedError = 0;
  return E;
}

bool X11WaitFor(XDisplay* Dpy, XEvent& Out, int TimeoutMs, Bool (*Match)(XDisplay*, XEvent*, XPointer),
                XPointer Arg) {
  int Left = TimeoutMs;
  while (true) {
    if (XCheckIfEvent(Dpy, &Out, Match, Arg)) return true;
    if (Left <= 0) return false;
    pollfd P{ConnectionNumber(Dpy), POLLIN, 0};
    int Step = std::min(Left, 20);
    poll(&P, 1, Step);
    Left -= Step;
    XEventsQueued(Dpy, QueuedAfterReading);
  }
}

// --- the impl ---------------------------------------------------------------------------------

Atom TX11Display::TImpl::A(const char* Name) {
  auto It = AtomCache.find(Name);
  if (It != AtomCache.end()) return It->second;
  Atom At = XInternAtom(Dpy, Name, False);
  AtomCache.emplace(Name, At);
  return At;
}

TXWin* TX11Display::TImpl::WinOf(Window Id) {
  auto It = ByX.find(Id);
  if (It == ByX.end()) return nullptr;
  auto W = Wins.find(It->second);
  return W == Wins.end() ? nullptr : &W->second;
}

namespace {
bool LongProperty(TX11Display::TImpl& D, Window W, Atom Prop, Atom Type, std::vector<long>& Out) {
  Atom Got = 0;
  int Format = 0;
  unsigned long N = 0, After = 0;
  unsigned char* Data = nullptr;
  if (XGetWindowProperty(D.Dpy, W, Prop, 0, 4096, False, Type, &Got, &Format, &N, &After, &Data) != Success)
    return false;
  bool Ok = Got == Type && Format == 32;
  if (Ok) {
    auto* L = reinterpret_cast<long*>(Data);
    Out.assign(L, L + N);
  }
  if (Data) XFree(Data);
  return Ok;
}

void SetAtoms(TX11Display::TImpl& D, Window W, const char* Prop, std::vector<Atom> Values) {
  if (Values.empty()) {
    XDeleteProperty(D.Dpy, W, D.A(Prop));
    return;
  }
  XChangeProperty(D.Dpy, W, D.A(Prop), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(Values.data()), int(Values.size()));
}

void SendNetWmState(TX11Display::TImpl& D, TXWin& X, bool Add, const char* A1, const char* A2 = nullptr) {
  XEvent E{};
  E.xclient.type = ClientMessage;
  E.xclient.window = X.Id;
  E.xclient.message_type = D.A("_NET_WM_STATE");
  E.xclient.format = 32;
  E.xclient.data.l[0] = Add ? 1 : 0;
  E.xclient.data.l[1] = long(D.A(A1));
  E.xclient.data.l[2] = A2 ? long(D.A(A2)) : 0;
  E.xclient.data.l[3] = 1;
  XSendEvent(D.Dpy, D.Root, False, SubstructureRedirectMask | SubstructureNotifyMask, &E);
}

bool HasCaption(const TWindow& W) { return (W.Style & WS_CAPTION) == WS_CAPTION; }

// The part of the window the X window shows: the client area when the
// window manager draws the frame, else all of it.
TRect ShownArea(const TWindow& W, bool Managed) {
  if (Managed && HasCaption(W)) return W.Client;
  return {0, 0, W.Rect.Width(), W.Rect.Height()};
}

TRect XRectOf(const TWindow& W, const TRect& Area) {
  int L = W.Rect.Left + Area.Left, T = W.Rect.Top + Area.Top;
  return {L, T, L + std::max(1, Area.Width()), T + std::max(1, Area.Height())};
}

void FreeImage(TX11Display::TImpl& D, TXWin& X) {
  if (!X.Image) return;
  if (X.Shm.shmaddr) {
    XShmDetach(D.Dpy, &X.Shm);
    XSync(D.Dpy, False);
    shmdt(X.Shm.shmaddr);
    X.Shm = XShmSegmentInfo{};
  }
  X.Image->data = nullptr;
  XDestroyImage(X.Image);
  X.Image = nullptr;
}

// A shared-memory image of the shown area's size; false when none can be
// made (the caller falls back to XPutImage).
bool EnsureShmImage(TX11Display::TImpl& D, TXWin& X, int W, int H) {
  if (X.Image && X.Image->width == W && X.Image->height == H) return true;
  FreeImage(D, X);
  XImage* Img = XShmCreateImage(D.Dpy, D.Vis, unsigned(D.Depth), ZPixmap, nullptr, &X.Shm, unsigned(W), unsigned(H));
  if (!Img) return false;
  X.Shm.shmid = shmget(IPC_PRIVATE, std::size_t(Img->bytes_per_line) * std::size_t(H), IPC_CREAT | 0600);
  if (X.Shm.shmid < 0) {
    XDestroyImage(Img);
    return false;
  }
  X.Shm.shmaddr = Img->data = static_cast<char*>(shmat(X.Shm.shmid, nullptr, 0));
  X.Shm.readOnly = False;
  X11TrapErrors(D.Dpy);
  XShmAttach(D.Dpy, &X.Shm);
  bool Failed = X11UntrapErrors(D.Dpy) != 0;
  // Marked for removal at once: the segment goes when both sides detach.
  shmctl(X.Shm.shmid, IPC_RMID, nullptr);
  if (Failed) {
    shmdt(X.Shm.shmaddr);
    X.Shm = XShmSegmentInfo{};
    Img->data = nullptr;
    XDestroyImage(Img);
    D.UseShm = D.ShmAvailable = false;  // a remote server: never again
    return false;
  }
  X.Image = Img;
  return true;
}

void DestroyXWin(TX11Display::TImpl& D, TXWin& X) {
  FreeImage(D, X);
  if (X.Ic) XDestroyIC(X.Ic);
  X.Ic = nullptr;
  if (X.Id) {
    D.ByX.erase(X.Id);
    XDestroyWindow(D.Dpy, X.Id);
  }
  X.Id = 0;
}

void WriteTitle(TX11Display::TImpl& D, TXWin& X, const AnsiString& Text) {
  UTF8String U = AnsiToUtf8(Text);
  XChangeProperty(D.Dpy, X.Id, D.A("_NET_WM_NAME"), D.A("UTF8_STRING"), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(U.data()), int(U.size()));
  // The old property for managers that read only it: Latin-1, as ICCCM wants.
  std::string L;
  for (char16_t C : AnsiToWide(Text)) L.push_back(C < 256 ? char(C) : '?');
  XChangeProperty(D.Dpy, X.Id, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(L.data()), int(L.size()));
  X.Title = Text;
  X.TitleSent = true;
}

void WriteIcon(TX11Display::TImpl& D, TXWin& X, HICON Icon) {
  X.Icon = Icon;
  int W = 0, H = 0;
  std::vector<std::uint32_t> Px = X11IconPixels(Icon, W, H);
  if (Px.empty()) {
    XDeleteProperty(D.Dpy, X.Id, D.A("_NET_WM_ICON"));
    return;
  }
  // The property holds longs, whatever their size on this machine.
  std::vector<long> Data;
  Data.reserve(Px.size() + 2);
  Data.push_back(W);
  Data.push_back(H);
  for (std::uint32_t P : Px) Data.push_back(long(P));
  XChangeProperty(D.Dpy, X.Id, D.A("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(Data.data()), int(Data.size()));
}

HICON IconOfWindow(const TWindow& W) {
  if (W.IconBig) return W.IconBig;
  if (W.Class && W.Class->Icon) return W.Class->Icon;
  if (W.IconSmall) return W.IconSmall;
  return W.Class ? W.Class->IconSm : nullptr;
}

// Minimum and maximum client sizes from WM_GETMINMAXINFO; a window without
// a sizing frame keeps its size.
void WriteSizeHints(TX11Display::TImpl& D, TXWin& X, TWindow& W) {
  XSizeHints* H = XAllocSizeHints();
  if (!H) return;
  TRect Xr = XRectOf(W, X.Area);
  H->flags = PPosition | USPosition | PWinGravity;
  H->x = Xr.Left;
  H->y = Xr.Top;
  H->win_gravity = StaticGravity;
  int FrameW = W.Rect.Width() - X.Area.Width(), FrameH = W.Rect.Height() - X.Area.Height();
  if (!(W.Style & WS_THICKFRAME)) {
    H->flags |= PMinSize | PMaxSize;
    H->min_width = H->max_width = Xr.Width();
    H->min_height = H->max_height = Xr.Height();
  } else {
    MINMAXINFO Mm{};
    Mm.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    Mm.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessageA(W.Handle, WM_GETMINMAXINFO, 0, LPARAM(&Mm));
    H->flags |= PMinSize | PMaxSize;
    H->min_width = std::max(1, int(Mm.ptMinTrackSize.X) - FrameW);
    H->min_height = std::max(1, int(Mm.ptMinTrackSize.Y) - FrameH);
    H->max_width = std::max(H->min_width, int(Mm.ptMaxTrackSize.X) - FrameW);
    H->max_height = std::max(H->min_height, int(Mm.ptMaxTrackSize.Y) - FrameH);
  }
  XSetWMNormalHints(D.Dpy, X.Id, H);
  XFree(H);
  X.HintSize = {Xr.Width(), Xr.Height()};
}

void CreateXWin(TX11Display::TImpl& D, TXWin& X, TWindow& W) {
  X.Wnd = W.Handle;
  // FIXME: decided once; a window whose caption comes or goes later keeps
  // the kind of X window it was made with.
  // Captionless popups are the layer's menus, lists and hints: the manager
  // must neither frame nor place them.
  X.Managed = HasCaption(W) || !(W.Style & WS_POPUP);
  X.Area = ShownArea(W, X.Managed);
  TRect Xr = XRectOf(W, X.Area);
  XSetWindowAttributes Attr{};
  Attr.override_redirect = X.Managed ? False : True;
  Attr.save_under = X.Managed ? False : True;
  Attr.background_pixmap = None;  // our pixels arrive with the first damage; no flash of white
  Attr.bit_gravity = NorthWestGravity;
  Attr.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                    PointerMotionMask | EnterWindowMask | LeaveWindowMask | FocusChangeMask |
                    StructureNotifyMask | PropertyChangeMask;
  Attr.colormap = DefaultColormap(D.Dpy, D.Screen);
  X.Id = XCreateWindow(D.Dpy, D.Root, Xr.Left, Xr.Top, unsigned(Xr.Width()), unsigned(Xr.Height()), 0, D.Depth,
                       InputOutput, D.Vis,
                       CWOverrideRedirect | CWSaveUnder | CWBackPixmap | CWBitGravity | CWEventMask | CWColormap,
                       &Attr);
  X.Placed = Xr;
  D.ByX[X.Id] = W.Handle;
  if (X.Managed) {
    Atom Protocols[] = {D.A("WM_DELETE_WINDOW"), D.A("WM_TAKE_FOCUS")};
    XSetWMProtocols(D.Dpy, X.Id, Protocols, 2);
    XClassHint Class;
    char Name[] = "sourcelux", ClassName[] = "Sourcelux";
    Class.res_name = Name;
    Class.res_class = ClassName;
    XSetClassHint(D.Dpy, X.Id, &Class);
    XWMHints Hints{};
    Hints.flags = InputHint | StateHint;
    Hints.input = True;
    Hints.initial_state = (W.Style & WS_MINIMIZE) ? IconicState : NormalState;
    XSetWMHints(D.Dpy, X.Id, &Hints);
    long Pid = long(getpid());
    XChangeProperty(D.Dpy, X.Id, D.A("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&Pid), 1);
    const char* Type = W.ExStyle & WS_EX_TOOLWINDOW ? "_NET_WM_WINDOW_TYPE_UTILITY"
                       : W.Owner                    ? "_NET_WM_WINDOW_TYPE_DIALOG"
                                                    : "_NET_WM_WINDOW_TYPE_NORMAL";
    SetAtoms(D, X.Id, "_NET_WM_WINDOW_TYPE", {D.A(Type)});
    if (!HasCaption(W)) {
      // A frameless managed window: ask the manager for no decorations.
      long Motif[5] = {2 /*decorations*/, 0, 0, 0, 0};
      XChangeProperty(D.Dpy, X.Id, D.A("_MOTIF_WM_HINTS"), D.A("_MOTIF_WM_HINTS"), 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(Motif), 5);
    }
    std::vector<Atom> State;
    if (W.ExStyle & WS_EX_TOPMOST) State.push_back(D.A("_NET_WM_STATE_ABOVE"));
    if (W.ExStyle & WS_EX_TOOLWINDOW) State.push_back(D.A("_NET_WM_STATE_SKIP_TASKBAR"));
    if (W.Style & WS_MAXIMIZE) {
      State.push_back(D.A("_NET_WM_STATE_MAXIMIZED_VERT"));
      State.push_back(D.A("_NET_WM_STATE_MAXIMIZED_HORZ"));
    }
    SetAtoms(D, X.Id, "_NET_WM_STATE", State);
    X.OnTop = W.ExStyle & WS_EX_TOPMOST;
    X.Zoomed = W.Style & WS_MAXIMIZE;
    X.Iconic = W.Style & WS_MINIMIZE;
    WriteSizeHints(D, X, W);
    X11DndAware(D, X.Id);
  } else {
    SetAtoms(D, X.Id, "_NET_WM_WINDOW_TYPE", {D.A("_NET_WM_WINDOW_TYPE_POPUP_MENU")});
  }
  if (D.Im)
    X.Ic = XCreateIC(D.Im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, X.Id,
                     XNFocusWindow, X.Id, nullptr);
  if (D.Cursor) {
    auto C = D.Cursors.find(D.Cursor);
    if (C != D.Cursors.end()) XDefineCursor(D.Dpy, X.Id, C->second);
  }
  WriteTitle(D, X, W.Text);
  WriteIcon(D, X, IconOfWindow(W));
}

// Popups are kept on the monitor that holds most of them.
TRect ClampToMonitor(const std::vector<TMonitorArea>& Mons, TRect R) {
  const TMonitorArea* Best = nullptr;
  long BestArea = -1;
  for (auto& M : Mons) {
    long W = std::min(R.Right, M.Monitor.Right) - std::max(R.Left, M.Monitor.Left);
    long H = std::min(R.Bottom, M.Monitor.Bottom) - std::max(R.Top, M.Monitor.Top);
    long A = W > 0 && H > 0 ? W * H : 0;
    if (A > BestArea) {
      BestArea = A;
      Best = &M;
    }
  }
  if (!Best) return R;
  TRect S = Best->Monitor;
  int Dx = 0, Dy = 0;
  if (R.Right > S.Right) Dx = S.Right - R.Right;
  if (R.Left + Dx < S.Left) Dx = S.Left - R.Left;
  if (R.Bottom > S.Bottom) Dy = S.Bottom - R.Bottom;
  if (R.Top + Dy < S.Top) Dy = S.Top - R.Top;
  return {R.Left + Dx, R.Top + Dy, R.Right + Dx, R.Bottom + Dy};
}

void RequestActivation(TX11Display::TImpl& D, TXWin& X) {
  XEvent E{};
  E.xclient.type = ClientMessage;
  E.xclient.window = X.Id;
  E.xclient.message_type = D.A("_NET_ACTIVE_WINDOW");
  E.xclient.format = 32;
  E.xclient.data.l[0] = 1;  // from an application
  E.xclient.data.l[1] = long(D.LastTime ? D.LastTime : CurrentTime);
  XSendEvent(D.Dpy, D.Root, False, SubstructureRedirectMask | SubstructureNotifyMask, &E);
}
}  // namespace

void TX11Display::TImpl::ReadWorkArea() {
  TRect S{0, 0, DisplayWidth(Dpy, Screen), DisplayHeight(Dpy, Screen)};
  std::vector<long> L;
  if (!WorkSet) {
    if (LongProperty(*this, Root, A("_NET_WORKAREA"), XA_CARDINAL, L) && L.size() >= 4)
      Work = {int(L[0]), int(L[1]), int(L[0] + L[2]), int(L[1] + L[3])};
    else
      Work = S;
  }
}

void TX11Display::TImpl::ReadMonitors() {
  MonitorList.clear();
  TRect S{0, 0, DisplayWidth(Dpy, Screen), DisplayHeight(Dpy, Screen)};
  int Ev = 0, Err = 0, N = 0;
  if (XRRQueryExtension(Dpy, &Ev, &Err)) {
    if (XRRMonitorInfo* M = XRRGetMonitors(Dpy, Root, True, &N)) {
      for (int I = 0; I < N; ++I) {
        TRect R{M[I].x, M[I].y, M[I].x + M[I].width, M[I].y + M[I].height};
        // The desktop's work area is one rectangle over all monitors: each
        // monitor's part of it is its work area.
        TRect Wk{std::max(R.Left, Work.Left), std::max(R.Top, Work.Top), std::min(R.Right, Work.Right),
                 std::min(R.Bottom, Work.Bottom)};
        if (Wk.IsEmpty()) Wk = R;
        if (M[I].primary) MonitorList.insert(MonitorList.begin(), {R, Wk});
        else MonitorList.push_back({R, Wk});
      }
      XRRFreeMonitors(M);
    }
  }
  if (MonitorList.empty()) MonitorList.push_back({S, Work});
}

void TX11Display::TImpl::ShipDamage(TXWin& X) {
  if (X.Damage.empty() || !X.Id) return;
  TWindow* W = WinPtr(X.Wnd);
  auto* Bmp = W ? GdiLookupAs<TBitmapObject>(W->Surface) : nullptr;
  if (!Bmp || Bmp->BitsPerPixel != 32 || !X.Mapped) {
    if (!Bmp) X.Damage.clear();
    return;
  }
  int Aw = std::min(X.Area.Width(), Bmp->Width - X.Area.Left), Ah = std::min(X.Area.Height(), Bmp->Height - X.Area.Top);
  if (Aw <= 0 || Ah <= 0) {
    X.Damage.clear();
    return;
  }
  // Rectangles in the X window's coordinates, inside the shown area.
  std::vector<TRect> Parts;
  for (TRect R : X.Damage) {
    R = {std::max(R.Left, X.Area.Left) - X.Area.Left, std::max(R.Top, X.Area.Top) - X.Area.Top,
         std::min(R.Right, X.Area.Left + Aw) - X.Area.Left, std::min(R.Bottom, X.Area.Top + Ah) - X.Area.Top};
    if (!R.IsEmpty()) Parts.push_back(R);
  }
  X.Damage.clear();
  if (Parts.empty()) return;
  bool Shm = UseShm && EnsureShmImage(*this, X, Aw, Ah);
  if (Shm) {
    for (const TRect& R : Parts)
      for (int Y = R.Top; Y < R.Bottom; ++Y)
        std::memcpy(X.Image->data + std::ptrdiff_t(Y) * X.Image->bytes_per_line + std::ptrdiff_t(R.Left) * 4,
                    Bmp->ScanLine(Y + X.Area.Top) + std::ptrdiff_t(R.Left + X.Area.Left) * 4,
                    std::size_t(R.Width()) * 4);
    for (const TRect& R : Parts)
      XShmPutImage(Dpy, X.Id, Gc, X.Image, R.Left, R.Top, R.Left, R.Top, unsigned(R.Width()),
                   unsigned(R.Height()), False);
    // The image may be written again only once the server has read it.
    XSync(Dpy, False);
    return;
  }
  // Straight from the surface: XPutImage copies into the request.
  XImage* Img = XCreateImage(Dpy, Vis, unsigned(Depth), ZPixmap, 0, nullptr, unsigned(Bmp->Width),
                             unsigned(Bmp->Height), 32, Bmp->Stride);
  if (!Img) return;
  Img->data = reinterpret_cast<char*>(Bmp->ScanLine(0));
  if (Bmp->BottomUp) {
    // Rows run upwards: ship row by row.
    for (const TRect& R : Parts)
      for (int Y = R.Top; Y < R.Bottom; ++Y) {
        Img->data = reinterpret_cast<char*>(Bmp->ScanLine(Y + X.Area.Top));
        Img->height = 1;
        XPutImage(Dpy, X.Id, Gc, Img, R.Left + X.Area.Left, 0, R.Left, Y, unsigned(R.Width()), 1);
      }
  } else {
    for (const TRect& R : Parts)
      XPutImage(Dpy, X.Id, Gc, Img, R.Left + X.Area.Left, R.Top + X.Area.Top, R.Left, R.Top, unsigned(R.Width()),
                unsigned(R.Height()));
  }
  Img->data = nullptr;
  XDestroyImage(Img);
}

void TX11Display::TImpl::Sync() {
  auto& St = WinState();
  // Windows that died since the last pass.
  for (auto It = Wins.begin(); It != Wins.end();) {
    TWindow* W = WinPtr(It->first);
    if (!W || W->Parent || W->Destroyed) {
      DestroyXWin(*this, It->second);
      It = Wins.erase(It);
    } else {
      ++It;
    }
  }
  // Bottom first: owners are below what they own, so their X windows exist
  // when an owned window asks for its transient-for.
  std::vector<HWND> Tops = WinTopLevels();
  for (auto TopIt = Tops.rbegin(); TopIt != Tops.rend(); ++TopIt) {
    HWND H = *TopIt;
    TWindow* W = WinPtr(H);
    if (!W || W->MessageOnly || H == St.Desktop) continue;
    bool Visible = W->Style & WS_VISIBLE;
    auto It = Wins.find(H);
    if (It == Wins.end()) {
      if (!Visible) continue;
      It = Wins.emplace(H, TXWin()).first;
      CreateXWin(*this, It->second, *W);
      It->second.Damage.push_back({0, 0, W->Rect.Width(), W->Rect.Height()});
    }
    TXWin& X = It->second;
    if (!Visible) {
      if (X.Mapped) {
        if (X.Managed) XWithdrawWindow(Dpy, X.Id, Screen);
        else XUnmapWindow(Dpy, X.Id);
        X.Mapped = false;
        if (Grabbed == H) {
          XUngrabPointer(Dpy, CurrentTime);
          Grabbed = nullptr;
        }
      }
      continue;
    }
    // Geometry
    TRect NewArea = ShownArea(*W, X.Managed);
    if (!X.Managed) {
      TRect Clamped = ClampToMonitor(MonitorList, W->Rect);
      if (Clamped != W->Rect) {
        SetWindowPos(H, nullptr, Clamped.Left, Clamped.Top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        if (!(W = WinPtr(H))) continue;
      }
    }
    if (NewArea != X.Area) {
      X.Area = NewArea;
      X.Damage.push_back({0, 0, W->Rect.Width(), W->Rect.Height()});
    }
    TRect Xr = XRectOf(*W, X.Area);
    if (X.Managed && (W->Style & WS_MAXIMIZE) == 0 && !(W->Style & WS_THICKFRAME) &&
        X.HintSize != TSize{Xr.Width(), Xr.Height()})
      WriteSizeHints(*this, X, *W);
    if (Xr != X.Placed && !(W->Style & WS_MINIMIZE)) {
      XMoveResizeWindow(Dpy, X.Id, Xr.Left, Xr.Top, unsigned(Xr.Width()), unsigned(Xr.Height()));
      X.Placed = Xr;
    }
    // Owned windows (dialogs, tool windows) stay with their owner.
    Window Owner = 0;
    if (W->Owner)
      if (auto O = Wins.find(WinTopLevelOf(W->Owner)); O != Wins.end()) Owner = O->second.Id;
    if (X.Managed && Owner != X.TransientFor) {
      if (Owner) XSetTransientForHint(Dpy, X.Id, Owner);
      else XDeleteProperty(Dpy, X.Id, XA_WM_TRANSIENT_FOR);
      X.TransientFor = Owner;
    }
    // Text, icon, states
    if (!X.TitleSent || X.Title != W->Text) WriteTitle(*this, X, W->Text);
    if (HICON I = IconOfWindow(*W); I != X.Icon && X.Managed) WriteIcon(*this, X, I);
    bool OnTop = W->ExStyle & WS_EX_TOPMOST;
    if (X.Managed && OnTop != X.OnTop) {
      X.OnTop = OnTop;
      if (X.Mapped) SendNetWmState(*this, X, OnTop, "_NET_WM_STATE_ABOVE");
      else SetAtoms(*this, X.Id, "_NET_WM_STATE", OnTop ? std::vector<Atom>{A("_NET_WM_STATE_ABOVE")} : std::vector<Atom>{});
    }
    bool Zoomed = W->Style & WS_MAXIMIZE;
    if (X.Managed && X.Mapped && Zoomed != X.Zoomed) {
      X.Zoomed = Zoomed;
      SendNetWmState(*this, X, Zoomed, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
    }
    if (!X.Mapped) {
      XMapRaised(Dpy, X.Id);
      X.Mapped = true;
      X.Damage.push_back({0, 0, W->Rect.Width(), W->Rect.Height()});
    }
    bool Iconic = W->Style & WS_MINIMIZE;
    if (X.Managed && Iconic != X.Iconic) {
      X.Iconic = Iconic;
      if (Iconic) XIconifyWindow(Dpy, X.Id, Screen);
      else XMapRaised(Dpy, X.Id);
    }
  }
  // Stacking among our unmanaged popups follows the layer's z-order.
  for (HWND H : WinTopLevels()) {
    auto It = Wins.find(H);
    if (It != Wins.end() && !It->second.Managed && It->second.Mapped) {
      XRaiseWindow(Dpy, It->second.Id);
      break;
    }
  }
  // Activation asked for by the program.
  HWND Active = IsWindow(St.Active) ? St.Active : nullptr;
  if (Active != LastActive) {
    LastActive = Active;
    auto It = Active ? Wins.find(Active) : Wins.end();
    if (It != Wins.end() && It->second.Managed && It->second.Mapped && XFocus != Active)
      RequestActivation(*this, It->second);
  }
  for (auto& [H, X] : Wins) ShipDamage(X);
  Dirty = false;
}

// --- events ----------------------------------------------------------------------------------

namespace {
TInputButton ButtonOf(unsigned B) {
  return B == 3 ? TInputButton::Right : B == 2 ? TInputButton::Middle : TInputButton::Left;
}

// The manager moved or resized a managed window: the layer follows.
void Configured(TX11Display::TImpl& D, TXWin& X, XConfigureEvent& E) {
  int Rx = E.x, Ry = E.y;
  if (!E.send_event) {
    // A real event after reparenting is relative to the frame.
    Window Child;
    XTranslateCoordinates(D.Dpy, X.Id, D.Root, 0, 0, &Rx, &Ry, &Child);
  }
  TRect Now{Rx, Ry, Rx + E.width, Ry + E.height};
  if (Now == X.Placed) return;
  bool Sized = Now.Width() != X.Placed.Width() || Now.Height() != X.Placed.Height();
  X.Placed = Now;
  TWindow* W = WinPtr(X.Wnd);
  if (!W || (W->Style & WS_MINIMIZE)) return;
  int FrameW = W->Rect.Width() - X.Area.Width(), FrameH = W->Rect.Height() - X.Area.Height();
  if (!X.Managed) FrameW = FrameH = 0;
  SetWindowPos(X.Wnd, nullptr, Rx - X.Area.Left, Ry - X.Area.Top, E.width + FrameW, E.height + FrameH,
               SWP_NOZORDER | SWP_NOACTIVATE | (Sized ? 0u : UINT(SWP_NOSIZE)));
  if (TWindow* W2 = WinPtr(X.Wnd)) {
    X.Area = ShownArea(*W2, X.Managed);
    X.Placed = XRectOf(*W2, X.Area);
  }
}

void Focused(TX11Display::TImpl& D, HWND H) {
  D.XFocus = H;
  D.FocusCheck = false;
  auto& St = WinState();
  if (St.Active == H) return;
  TWindow* W = WinPtr(H);
  if (!W) return;
  // A disabled window (the owner of a modal dialog) passes the activation
  // to its enabled popup.
  HWND Target = H;
  if (W->Style & WS_DISABLED) {
    HWND P = GetLastActivePopup(H);
    if (!P || P == H || !IsWindowEnabled(P)) return;
    Target = P;
  }
  D.LastActive = Target;
  SetActiveWindow(Target);
  if (Target != H) {
    auto It = D.Wins.find(Target);
    if (It != D.Wins.end() && It->second.Mapped) RequestActivation(D, It->second);
  }
}
}  // namespace

void TX11Display::TImpl::Dispatch(XEvent& E) {
  if (E.type == KeyPress || E.type == KeyRelease) {
    LastTime = E.xkey.time;
    if (E.xkey.window == Root) {
      X11HotKeyEvent(*this, E.xkey);
      return;
    }
    X11KeyEvent(*this, E.xkey);
    return;
  }
  if (XFilterEvent(&E, None)) return;
  switch (E.type) {
    case ButtonPress:
    case ButtonRelease: {
      LastTime = E.xbutton.time;
      if (!WinOf(E.xbutton.window)) {
        X11TrayEvent(*this, E);
        return;
      }
      TPoint P{E.xbutton.x_root, E.xbutton.y_root};
      unsigned B = E.xbutton.button;
      if (B == 4 || B == 5) {
        if (E.type == ButtonPress) QueueMouseWheel(B == 4 ? WHEEL_DELTA : -WHEEL_DELTA, P);
        return;
      }
      if (B > 3) return;
      QueueMouseMove(P);
      QueueMouseButton(ButtonOf(B), E.type == ButtonPress, P);
      return;
    }
    case MotionNotify:
      LastTime = E.xmotion.time;
      if (WinOf(E.xmotion.window)) QueueMouseMove({E.xmotion.x_root, E.xmotion.y_root});
      return;
    case LeaveNotify:
      if (WinOf(E.xcrossing.window) && E.xcrossing.mode == NotifyNormal && E.xcrossing.detail != NotifyInferior &&
          !Grabbed)
        QueueMouseLeave();
      return;
    case EnterNotify:
      if (WinOf(E.xcrossing.window) && E.xcrossing.mode == NotifyNormal)
        QueueMouseMove({E.xcrossing.x_root, E.xcrossing.y_root});
      return;
    case FocusIn:
      if (E.xfocus.mode == NotifyGrab || E.xfocus.mode == NotifyUngrab || E.xfocus.detail == NotifyPointer ||
          E.xfocus.detail == NotifyInferior)
        return;
      if (TXWin* X = WinOf(E.xfocus.window)) {
        if (X->Ic) XSetICFocus(X->Ic);
        XkbStateRec S;
        if (XkbGetState(Dpy, XkbUseCoreKbd, &S) == Success) X11SyncLockKeys(*this, S.locked_mods);
        Focused(*this, X->Wnd);
      }
      return;
    case FocusOut:
      if (E.xfocus.mode == NotifyGrab || E.xfocus.mode == NotifyUngrab || E.xfocus.detail == NotifyInferior ||
          E.xfocus.detail == NotifyPointer)
        return;
      if (TXWin* X = WinOf(E.xfocus.window)) {
        if (X->Ic) XUnsetICFocus(X->Ic);
        if (XFocus == X->Wnd) XFocus = nullptr;
        FocusCheck = true;  // settled once this batch of events is through
      }
      return;
    case Expose:
      if (TXWin* X = WinOf(E.xexpose.window)) {
        int L = E.xexpose.x + X->Area.Left, T = E.xexpose.y + X->Area.Top;
        X->Damage.push_back({L, T, L + E.xexpose.width, T + E.xexpose.height});
        Dirty = true;
      } else {
        X11TrayEvent(*this, E);
      }
      return;
    case ConfigureNotify:
      if (TXWin* X = WinOf(E.xconfigure.window)) Configured(*this, *X, E.xconfigure);
      else if (E.xconfigure.window == Root) {
        ReadWorkArea();
        ReadMonitors();
      } else {
        X11TrayEvent(*this, E);
      }
      return;
    case MapNotify:
      if (TXWin* X = WinOf(E.xmap.window)) {
        if (X->Managed && X->Iconic && IsIconic(X->Wnd)) {
          // Restored from the task bar.
          X->Iconic = false;
          ShowWindow(X->Wnd, SW_RESTORE);
        }
        Dirty = true;
      }
      return;
    case UnmapNotify:
      if (TXWin* X = WinOf(E.xunmap.window); X && X->Managed && X->Mapped) {
        // Unmapped by the manager while we think it shown: iconified.
        long State[2] = {0, 0};
        Atom T = 0;
        int F = 0;
        unsigned long N = 0, After = 0;
        unsigned char* Data = nullptr;
        if (XGetWindowProperty(Dpy, X->Id, A("WM_STATE"), 0, 2, False, A("WM_STATE"), &T, &F, &N, &After, &Data) ==
                Success &&
            Data && N >= 1)
          State[0] = reinterpret_cast<long*>(Data)[0];
        if (Data) XFree(Data);
        if (State[0] == IconicState && !X->Iconic) {
          X->Iconic = true;
          ShowWindow(X->Wnd, SW_MINIMIZE);
        }
      }
      return;
    case PropertyNotify:
      if (E.xproperty.window == Root && E.xproperty.atom == A("_NET_WORKAREA")) {
        ReadWorkArea();
        ReadMonitors();
      } else if (E.xproperty.state == PropertyDelete) {
        X11PropertyDeleted(*this, E.xproperty);
      }
      return;
    case SelectionRequest: X11SelectionRequest(*this, E.xselectionrequest); return;
    case SelectionClear: X11SelectionClear(*this, E.xselectionclear); return;
    case ClientMessage:
      if (TXWin* X = WinOf(E.xclient.window); X && E.xclient.message_type == A("WM_PROTOCOLS")) {
        Atom P = Atom(E.xclient.data.l[0]);
        if (P == A("WM_DELETE_WINDOW")) {
          if (IsWindowEnabled(X->Wnd)) PostMessageA(X->Wnd, WM_CLOSE, 0, 0);
        } else if (P == A("WM_TAKE_FOCUS")) {
          Time T = Time(E.xclient.data.l[1]);
          HWND Target = X->Wnd;
          if (!IsWindowEnabled(Target))
            if (HWND Pp = GetLastActivePopup(Target); Pp && IsWindowEnabled(Pp)) Target = Pp;
          auto It = Wins.find(Target);
          if (It != Wins.end() && It->second.Mapped) {
            X11TrapErrors(Dpy);
            XSetInputFocus(Dpy, It->second.Id, RevertToParent, T);
            X11UntrapErrors(Dpy);
          }
        }
        return;
      }
      X11ClientMessage(*this, E.xclient);
      return;
    default:
      X11TrayEvent(*this, E);
      return;
  }
}

// --- the display ----------------------------------------------------------------------------------

TX11Display::TX11Display(std::unique_ptr<TImpl> Impl) : F(std::move(Impl)) {}

std::unique_ptr<TX11Display> TX11Display::Open(const char* Name) {
  // Xlib's input method and text lookup need a locale with a character
  // set; the plain C locale has none beyond ASCII, so its UTF-8 twin stands
  // in (the ANSI code page does not depend on it).
  const char* Ct = std::setlocale(LC_CTYPE, nullptr);
  if (!Ct || !std::strcmp(Ct, "C") || !std::strcmp(Ct, "POSIX")) std::setlocale(LC_CTYPE, "C.UTF-8");
  XInitThreads();
  XDisplay* Dpy = XOpenDisplay(Name);
  if (!Dpy) return nullptr;
  int Screen = DefaultScreen(Dpy);
  Visual* Vis = DefaultVisual(Dpy, Screen);
  int Depth = DefaultDepth(Dpy, Screen);
  if ((Depth != 24 && Depth != 32) || Vis->red_mask != 0xFF0000 || Vis->green_mask != 0xFF00 ||
      Vis->blue_mask != 0xFF) {
    // FIXME: only 24-bit true colour screens; others would need pixel conversion.
    XCloseDisplay(Dpy);
    return nullptr;
  }
  if (!PreviousHandler) PreviousHandler = XSetErrorHandler(OnXError);
  auto I = std::make_unique<TImpl>();
  I->Dpy = Dpy;
  I->Screen = Screen;
  I->Root = RootWindow(Dpy, Screen);
  I->Vis = Vis;
  I->Depth = Depth;
  I->Gc = XCreateGC(Dpy, I->Root, 0, nullptr);
  if (pipe(I->WakePipe) == 0) {
    fcntl(I->WakePipe[0], F_SETFL, O_NONBLOCK);
    fcntl(I->WakePipe[1], F_SETFL, O_NONBLOCK);
  }
  int Major = 0, Minor = 0;
  Bool Pixmaps = False;
  I->ShmAvailable = XShmQueryVersion(Dpy, &Major, &Minor, &Pixmaps);
  const char* NoShm = std::getenv("SX_X11_NOSHM");
  I->UseShm = I->ShmAvailable && !(NoShm && *NoShm && *NoShm != '0');
  XSelectInput(Dpy, I->Root, PropertyChangeMask | StructureNotifyMask);
  XSetWindowAttributes Attr{};
  Attr.event_mask = PropertyChangeMask;
  I->ClipWin = XCreateWindow(Dpy, I->Root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                             CWEventMask, &Attr);
  I->ReadWorkArea();
  I->ReadMonitors();
  X11KeyboardOpen(*I);
  XFlush(Dpy);
  return std::unique_ptr<TX11Display>(new TX11Display(std::move(I)));
}

TX11Display::~TX11Display() {
  for (auto& T : F->Trays) {
    if (T.Id) XDestroyWindow(F->Dpy, T.Id);
    if (T.Icon.Icon) DestroyIcon(T.Icon.Icon);
  }
  for (auto& [H, X] : F->Wins) DestroyXWin(*F, X);
  for (auto& [H, C] : F->Cursors) XFreeCursor(F->Dpy, C);
  if (F->Im) XCloseIM(F->Im);
  if (F->ClipWin) XDestroyWindow(F->Dpy, F->ClipWin);
  XFreeGC(F->Dpy, F->Gc);
  XCloseDisplay(F->Dpy);
  for (int Fd : F->WakePipe)
    if (Fd >= 0) close(Fd);
}

TX11Display* CurrentX11Display() { return dynamic_cast<TX11Display*>(&Display()); }

TRect TX11Display::ScreenRect() const {
  return {0, 0, DisplayWidth(F->Dpy, F->Screen), DisplayHeight(F->Dpy, F->Screen)};
}
TRect TX11Display::WorkArea() const { return F->Work; }
void TX11Display::SetWorkArea(const TRect& R) {
  F->Work = R;
  F->WorkSet = true;
  F->ReadMonitors();
}
std::vector<TMonitorArea> TX11Display::Monitors() const { return F->MonitorList; }

void TX11Display::PollEvents() {
  if (F->Depth_ > 0) return;
  ++F->Depth_;
  struct TGuard {
    int& D;
    ~TGuard() { --D; }
  } Guard{F->Depth_};
  if (F->Dirty) F->Sync();
  while (XPending(F->Dpy)) {
    XEvent E;
    XNextEvent(F->Dpy, &E);
    F->Dispatch(E);
  }
  if (F->FocusCheck) {
    F->FocusCheck = false;
    Window Fw = 0;
    int Revert = 0;
    XGetInputFocus(F->Dpy, &Fw, &Revert);
    if (!F->WinOf(Fw) && WinState().AppActive) {
      F->LastActive = nullptr;
      DeactivateApplication();
    }
  }
  if (F->Dirty) F->Sync();
}

void TX11Display::WaitForEvents(int TimeoutMs) {
  PollEvents();
  F->Sync();
  XFlush(F->Dpy);
  if (XPending(F->Dpy) || InputPending()) return;
  pollfd P[2] = {{ConnectionNumber(F->Dpy), POLLIN, 0}, {F->WakePipe[0], POLLIN, 0}};
  poll(P, F->WakePipe[0] >= 0 ? 2 : 1, TimeoutMs);
  if (P[1].revents & POLLIN) {
    char Buf[64];
    while (read(F->WakePipe[0], Buf, sizeof Buf) > 0) {
    }
  }
  PollEvents();
}

void TX11Display::Wake() {
  if (F->WakePipe[1] < 0) return;
  char C = 1;
  // A full pipe already wakes the wait.
  [[maybe_unused]] auto N = write(F->WakePipe[1], &C, 1);
}

void TX11Display::WindowChanged(HWND) { F->Dirty = true; }

void TX11Display::SurfaceChanged(HWND Wnd, const TRect& R) {
  auto It = F->Wins.find(Wnd);
  if (It != F->Wins.end()) {
    auto& D = It->second.Damage;
    // Many small paints between two flushes: keep the list short.
    if (D.size() >= 32) {
      TRect U = R;
      for (auto& Q : D) U = {std::min(U.Left, Q.Left), std::min(U.Top, Q.Top), std::max(U.Right, Q.Right),
                             std::max(U.Bottom, Q.Bottom)};
      D.assign(1, U);
    } else {
      D.push_back(R);
    }
  }
  F->Dirty = true;
}

void TX11Display::Beep(UINT) {
  XBell(F->Dpy, 0);
  XFlush(F->Dpy);
}

namespace {
const struct {
  WORD Id;
  const char* Name;
} ThemeNames[] = {
    {32512, "left_ptr"},  {32513, "xterm"},           {32514, "watch"},         {32515, "crosshair"},
    {32516, "center_ptr"}, {32640, "fleur"},          {32641, "left_ptr"},      {32642, "bottom_right_corner"},
    {32643, "bottom_left_corner"}, {32644, "sb_h_double_arrow"}, {32645, "sb_v_double_arrow"},
    {32646, "fleur"},     {32648, "crossed_circle"},  {32649, "hand2"},         {32650, "left_ptr_watch"},
    {32651, "question_arrow"},
};

unsigned long MakeCursor(TX11Display::TImpl& D, HCURSOR C) {
  if (!C) {
    // No cursor shown: an empty one.
    Pixmap P = XCreatePixmap(D.Dpy, D.Root, 1, 1, 1);
    XColor Black{};
    Cursor Blank = XCreatePixmapCursor(D.Dpy, P, P, &Black, &Black, 0, 0);
    XFreePixmap(D.Dpy, P);
    return Blank;
  }
  if (WORD Id = StandardCursorId(C)) {
    for (auto& T : ThemeNames)
      if (T.Id == Id)
        if (Cursor X = XcursorLibraryLoadCursor(D.Dpy, T.Name)) return X;
    return XCreateFontCursor(D.Dpy, 68 /*XC_left_ptr*/);
  }
  int W = 0, H = 0;
  std::vector<std::uint32_t> Px = X11IconPixels(reinterpret_cast<HICON>(C), W, H);
  if (Px.empty()) return 0;
  XcursorImage* Img = XcursorImageCreate(W, H);
  if (!Img) return 0;
  ICONINFO Info;
  if (GetIconInfo(reinterpret_cast<HICON>(C), &Info)) {
    Img->xhot = Info.xHotspot;
    Img->yhot = Info.yHotspot;
    if (Info.hbmColor) DeleteObject(Info.hbmColor);
    if (Info.hbmMask) DeleteObject(Info.hbmMask);
  }
  std::copy(Px.begin(), Px.end(), Img->pixels);
  Cursor X = XcursorImageLoadCursor(D.Dpy, Img);
  XcursorImageDestroy(Img);
  return X;
}
}  // namespace

void TX11Display::CursorChanged(HCURSOR C) {
  F->Cursor = C;
  auto It = F->Cursors.find(C);
  if (It == F->Cursors.end()) It = F->Cursors.emplace(C, MakeCursor(*F, C)).first;
  for (auto& [H, X] : F->Wins)
    if (X.Id) {
      if (It->second) XDefineCursor(F->Dpy, X.Id, It->second);
      else XUndefineCursor(F->Dpy, X.Id);
    }
  XFlush(F->Dpy);
}

void TX11Display::CaptureChanged(HWND Wnd) {
  if (F->Grabbed) {
    XUngrabPointer(F->Dpy, F->LastTime ? F->LastTime : CurrentTime);
    F->Grabbed = nullptr;
  }
  if (!Wnd) {
    XFlush(F->Dpy);
    return;
  }
  HWND Top = WinTopLevelOf(Wnd);
  auto It = F->Wins.find(Top);
  if (It == F->Wins.end() || !It->second.Mapped) return;
  // Events come to our window wherever the pointer is, at root positions.
  int R = XGrabPointer(F->Dpy, It->second.Id, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                       GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  if (R == GrabSuccess) F->Grabbed = Top;
  XFlush(F->Dpy);
}

void TX11Display::ForegroundRequested(HWND Wnd) {
  F->Sync();
  auto It = F->Wins.find(WinTopLevelOf(Wnd));
  if (It == F->Wins.end() || !It->second.Mapped) return;
  if (It->second.Iconic || IsIconic(It->first)) XMapRaised(F->Dpy, It->second.Id);
  RequestActivation(*F, It->second);
  XFlush(F->Dpy);
}

void TX11Display::Flush() {
  PollEvents();
  F->Sync();
  XSync(F->Dpy, False);
}

unsigned long TX11Display::XWindowOf(HWND Top) const {
  auto It = F->Wins.find(Top);
  return It == F->Wins.end() ? 0 : It->second.Id;
}

unsigned long TX11Display::TrayWindowOf(HWND Wnd, UINT Id) const {
  for (auto& T : F->Trays)
    if (T.Icon.Wnd == Wnd && T.Icon.Id == Id && T.Docked) return T.Id;
  return 0;
}

bool TX11Display::UsesSharedMemory() const { return F->UseShm; }

void TX11Display::SetSharedMemory(bool On) {
  F->UseShm = On && F->ShmAvailable;
  for (auto& [H, X] : F->Wins) FreeImage(*F, X);
}

std::string TX11Display::DisplayName() const { return DisplayString(F->Dpy); }

// --- choosing ----------------------------------------------------------------------------------------

TDisplayKind SelectDisplay() {
  const char* Force = std::getenv("SX_DISPLAY");
  std::string Want = Force ? Force : "";
  if (Want == "headless") {
    SetDisplay(nullptr);
    SetTrayHost(nullptr);
    return TDisplayKind::Headless;
  }
  if (Want == "x11" || (Want.empty() && std::getenv("DISPLAY") && *std::getenv("DISPLAY"))) {
    if (auto X = TX11Display::Open()) {
      SetDisplay(std::move(X));
      SetTrayHost(std::make_unique<TDisplayTrayHost>());
      return TDisplayKind::X11;
    }
    if (Want == "x11")
      std::fprintf(stderr, "sourcelux: cannot open the X display \"%s\"; running without a screen\n",
                   std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
  } else if (!Want.empty()) {
    std::fprintf(stderr, "sourcelux: SX_DISPLAY=%s is neither headless nor x11\n", Want.c_str());
  }
  SetDisplay(nullptr);
  return TDisplayKind::Headless;
}
