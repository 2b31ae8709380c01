// Desktop services on X: system-wide hot keys (key grabs on the root
// window), the tray icon (the freedesktop system tray, an XEmbed client),
// files dropped from other programs (XDND, as WM_DROPFILES), and the file
// lists and icon pixels they share.
#include <algorithm>
#include <cstring>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/GdiObjectTable.h"
#include "platform/gdi/IconApi.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/ExternalDrop.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/HotKeys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"
#include "platform/win/x11/X11Private_p.h"
#include "platform/win/x11/X11Transfer_p.h"

namespace {
using TImpl = TX11Display::TImpl;
}  // namespace

// --- file lists ------------------------------------------------------------------------------

std::vector<std::string> X11PathsFromUriList(const std::string& List) {
  std::vector<std::string> Out;
  std::size_t Pos = 0;
  while (Pos < List.size()) {
    std::size_t End = List.find('\n', Pos);
    if (End == std::string::npos) End = List.size();
    std::string Line = List.substr(Pos, End - Pos);
    Pos = End + 1;
    while (!Line.empty() && (Line.back() == '\r' || Line.back() == '\0')) Line.pop_back();
    if (Line.empty() || Line[0] == '#') continue;
    if (Line.compare(0, 7, "file://") != 0) continue;
    std::string Rest = Line.substr(7);
    // file://host/path: only our own host's files are files here.
    std::size_t Slash = Rest.find('/');
    if (Slash == std::string::npos) continue;
    std::string Host = Rest.substr(0, Slash);
    if (!Host.empty() && Host != "localhost") {
      char Me[256] = {};
      gethostname(Me, sizeof Me - 1);
      if (Host != Me) continue;
    }
    const std::string Path = PercentDecode(Rest.substr(Slash));
    // A NUL cannot be part of a file name.
    if (Path.find('\0') == std::string::npos) Out.push_back(Path);
  }
  return Out;
}

std::string X11UriListFromPaths(const std::vector<std::string>& Paths) {
  static const char Hex[] = "0123456789ABCDEF";
  std::string Out;
  for (const std::string& P : Paths) {
    Out += "file://";
    for (unsigned char C : P) {
      bool Plain = std::isalnum(C) || std::strchr("/-._~!$&'()*+,;=:@", C) != nullptr;
      if (Plain && C < 0x80) Out.push_back(char(C));
      else {
        Out.push_back('%');
        Out.push_back(Hex[C >> 4]);
        Out.push_back(Hex[C & 15]);
      }
    }
    Out += "\r\n";
  }
  return Out;
}

HGLOBAL X11MakeDropFiles(const std::vector<std::string>& Paths, TPoint Pt) {
  constexpr std::size_t Header = 20;  // pFiles, pt.x, pt.y, fNC, fWide: five 32-bit fields
  std::size_t Size = Header + 1;
  for (auto& P : Paths) Size += P.size() + 1;
  HGLOBAL H = GlobalAlloc(GHND, Size);
  auto* B = static_cast<unsigned char*>(GlobalLock(H));
  if (!B) return H;
  std::uint32_t Fields[5] = {std::uint32_t(Header), std::uint32_t(Pt.X), std::uint32_t(Pt.Y), 0, 0};
  std::memcpy(B, Fields, sizeof Fields);
  std::size_t At = Header;
  for (auto& P : Paths) {
    std::memcpy(B + At, P.data(), P.size());
    At += P.size() + 1;  // the zero is already there (GHND zeroes)
  }
  GlobalUnlock(H);
  return H;
}

std::vector<std::string> X11ReadDropFiles(HANDLE Block) {
  std::vector<std::string> Out;
  if (!Block) return Out;
  SIZE_T Size = GlobalSize(Block);
  auto* B = static_cast<const unsigned char*>(GlobalLock(Block));
  if (!B || Size < 20) {
    if (B) GlobalUnlock(Block);
    return Out;
  }
  std::uint32_t Fields[5];
  std::memcpy(Fields, B, sizeof Fields);
  std::size_t At = Fields[0];
  bool Wide = Fields[4] != 0;
  while (At < Size) {
    std::string Name;
    if (Wide) {
      WideString W;
      while (At + 1 < Size) {
        char16_t C = char16_t(B[At] | (B[At + 1] << 8));
        At += 2;
        if (!C) break;
        W.push_back(C);
      }
      Name = UTF8Encode(W);
    } else {
      while (At < Size && B[At]) Name.push_back(char(B[At++]));
      ++At;
    }
    if (Name.empty()) break;
    Out.push_back(Name);
  }
  GlobalUnlock(Block);
  return Out;
}

// --- icons -------------------------------------------------------------------------------------

std::vector<std::uint32_t> X11IconPixels(HICON Icon, int& W, int& H) {
  W = H = 0;
  ICONINFO Info;
  if (!Icon || !GetIconInfo(Icon, &Info)) return {};
  auto* Colour = GdiLookupAs<TBitmapObject>(Info.hbmColor);
  auto* Mask = GdiLookupAs<TBitmapObject>(Info.hbmMask);
  std::vector<std::uint32_t> Px;
  if (Colour && Mask) {
    W = Colour->Width;
    H = Colour->Height;
    Px.resize(std::size_t(W) * std::size_t(H));
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        COLORREF C = Colour->PixelToColor(Colour->GetPixelValue(X, Y));
        bool Clear = Y < Mask->Height && X < Mask->Width && (Mask->PixelToColor(Mask->GetPixelValue(X, Y)) & 0xFFFFFF) != 0;
        Px[std::size_t(Y) * std::size_t(W) + std::size_t(X)] =
            Clear ? 0 : 0xFF000000u | (std::uint32_t(GetRValue(C)) << 16) | (std::uint32_t(GetGValue(C)) << 8) | GetBValue(C);
      }
  }
  if (Info.hbmColor) DeleteObject(Info.hbmColor);
  if (Info.hbmMask) DeleteObject(Info.hbmMask);
  return Px;
}

// --- hot keys ------------------------------------------------------------------------------------

namespace {
unsigned XModsOf(UINT Mods) {
  return (Mods & MOD_ALT ? Mod1Mask : 0u) | (Mods & MOD_CONTROL ? ControlMask : 0u) | (Mods & MOD_SHIFT ? ShiftMask : 0u) |
         (Mods & MOD_WIN ? Mod4Mask : 0u);
}

// The lock keys change the modifier state: a grab for each combination of
// them, so that the hot key works with Caps Lock or Num Lock on.
std::vector<unsigned> LockVariants(const TImpl& D) {
  std::vector<unsigned> V = {0, LockMask};
  if (D.NumLockMask) {
    V.push_back(D.NumLockMask);
    V.push_back(D.NumLockMask | LockMask);
  }
  return V;
}
}  // namespace

bool TX11Display::HotKeyAdded(UINT Mods, UINT Vk) {
  unsigned Code = X11KeyCodeOf(F->Dpy, Vk);
  if (!Code) return true;  // no such key here: it can still come through our own windows
  unsigned M = XModsOf(Mods);
  X11TrapErrors(F->Dpy);
  for (unsigned L : LockVariants(*F)) XGrabKey(F->Dpy, int(Code), M | L, F->Root, True, GrabModeAsync, GrabModeAsync);
  if (X11UntrapErrors(F->Dpy)) {
    // Another program holds it (BadAccess): take back the variants we got.
    X11TrapErrors(F->Dpy);
    for (unsigned L : LockVariants(*F)) XUngrabKey(F->Dpy, int(Code), M | L, F->Root);
    X11UntrapErrors(F->Dpy);
    return false;
  }
  F->HotKeys.push_back({Mods, Vk});
  return true;
}

void TX11Display::HotKeyRemoved(UINT Mods, UINT Vk) {
  auto It = std::find(F->HotKeys.begin(), F->HotKeys.end(), std::pair<UINT, UINT>(Mods, Vk));
  if (It == F->HotKeys.end()) return;
  F->HotKeys.erase(It);
  unsigned Code = X11KeyCodeOf(F->Dpy, Vk);
  if (!Code) return;
  X11TrapErrors(F->Dpy);
  for (unsigned L : LockVariants(*F)) XUngrabKey(F->Dpy, int(Code), XModsOf(Mods) | L, F->Root);
  X11UntrapErrors(F->Dpy);
}

void X11HotKeyEvent(TImpl& D, XKeyEvent& E) {
  if (E.type != KeyPress) return;
  WORD Vk = X11VirtualKey(D.Dpy, E.keycode);
  UINT Mods = (E.state & Mod1Mask ? MOD_ALT : 0u) | (E.state & ControlMask ? MOD_CONTROL : 0u) |
              (E.state & ShiftMask ? MOD_SHIFT : 0u) | (E.state & Mod4Mask ? MOD_WIN : 0u);
  if (Vk) DeliverHotKey(Mods, Vk);
}

// --- tray --------------------------------------------------------------------------------------------

namespace {
Atom TraySelection(TImpl& D) {
  std::string N = "_NET_SYSTEM_TRAY_S" + std::to_string(D.Screen);
  return D.A(N.c_str());
}

void TrayDock(TImpl& D, TTrayEntry& T) {
  Window Manager = XGetSelectionOwner(D.Dpy, TraySelection(D));
  if (!Manager) return;
  XEvent E{};
  E.xclient.type = ClientMessage;
  E.xclient.window = Manager;
  E.xclient.message_type = D.A("_NET_SYSTEM_TRAY_OPCODE");
  E.xclient.format = 32;
  E.xclient.data.l[0] = long(D.LastTime ? D.LastTime : CurrentTime);
  E.xclient.data.l[1] = 0;  // request dock
  E.xclient.data.l[2] = long(T.Id);
  X11TrapErrors(D.Dpy);
  XSendEvent(D.Dpy, Manager, False, NoEventMask, &E);
  T.Docked = X11UntrapErrors(D.Dpy) == 0;
}

// FIXME: the tip is only the tray window's name (trays that show names
// show it); no hover popup of our own yet.
void TrayWriteTip(TImpl& D, TTrayEntry& T) {
  UTF8String U = AnsiToUtf8(T.Icon.Tip);
  XChangeProperty(D.Dpy, T.Id, D.A("_NET_WM_NAME"), D.A("UTF8_STRING"), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(U.data()), int(U.size()));
  std::string Latin1;  // WM_NAME is Latin-1
  for (char16_t C : AnsiToWide(T.Icon.Tip)) Latin1.push_back(C < 256 ? char(C) : '?');
  XStoreName(D.Dpy, T.Id, Latin1.c_str());
}

void TrayPaint(TImpl& D, TTrayEntry& T) {
  XWindowAttributes A;
  if (!XGetWindowAttributes(D.Dpy, T.Id, &A)) return;
  int W = 0, H = 0;
  std::vector<std::uint32_t> Px = X11IconPixels(T.Icon.Icon, W, H);
  XClearWindow(D.Dpy, T.Id);
  if (Px.empty() || A.width <= 0 || A.height <= 0) return;
  // Scaled to the tray's cell, keeping the icon's shape as a clip mask so
  // the tray's background shows around it.
  int Side = std::min(A.width, A.height);
  int Ox = (A.width - Side) / 2, Oy = (A.height - Side) / 2;
  std::vector<std::uint32_t> Scaled(std::size_t(Side) * std::size_t(Side));
  int Stride = (Side + 7) / 8;
  std::vector<char> Bits(std::size_t(Stride) * std::size_t(Side), 0);
  for (int Y = 0; Y < Side; ++Y)
    for (int X = 0; X < Side; ++X) {
      std::uint32_t P = Px[std::size_t(Y * H / Side) * std::size_t(W) + std::size_t(X * W / Side)];
      Scaled[std::size_t(Y) * std::size_t(Side) + std::size_t(X)] = P & 0xFFFFFF;
      if ((P >> 24) >= 128) Bits[std::size_t(Y) * std::size_t(Stride) + std::size_t(X / 8)] |= char(1 << (X % 8));
    }
  Pixmap Mask = XCreateBitmapFromData(D.Dpy, T.Id, Bits.data(), unsigned(Side), unsigned(Side));
  XImage* Img = XCreateImage(D.Dpy, D.Vis, unsigned(D.Depth), ZPixmap, 0, reinterpret_cast<char*>(Scaled.data()),
                             unsigned(Side), unsigned(Side), 32, Side * 4);
  GC G = XCreateGC(D.Dpy, T.Id, 0, nullptr);
  XSetClipMask(D.Dpy, G, Mask);
  XSetClipOrigin(D.Dpy, G, Ox, Oy);
  XPutImage(D.Dpy, T.Id, G, Img, 0, 0, Ox, Oy, unsigned(Side), unsigned(Side));
  XFreeGC(D.Dpy, G);
  Img->data = nullptr;
  XDestroyImage(Img);
  XFreePixmap(D.Dpy, Mask);
}

TTrayEntry* TrayOf(TImpl& D, Window W) {
  for (auto& T : D.Trays)
    if (T.Id == W) return &T;
  return nullptr;
}
}  // namespace

bool TX11Display::TrayIcon(TTrayAction Action, const TTrayIcon& Icon) {
  auto It = std::find_if(F->Trays.begin(), F->Trays.end(),
                         [&](const TTrayEntry& T) { return T.Icon.Wnd == Icon.Wnd && T.Icon.Id == Icon.Id; });
  if (Action == TTrayAction::Delete) {
    if (It == F->Trays.end()) return false;
    if (It->Id) XDestroyWindow(F->Dpy, It->Id);
    if (It->Icon.Icon) DestroyIcon(It->Icon.Icon);
    F->Trays.erase(It);
    XFlush(F->Dpy);
    return true;
  }
  if ((Action == TTrayAction::Add) != (It == F->Trays.end())) return false;
  if (Action == TTrayAction::Add) {
    TTrayEntry T;
    T.Icon = Icon;
    T.Icon.Icon = Icon.Icon ? CopyIcon(Icon.Icon) : nullptr;
    XSetWindowAttributes Attr{};
    Attr.background_pixmap = ParentRelative;
    Attr.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
    T.Id = XCreateWindow(F->Dpy, F->Root, 0, 0, unsigned(T.Size), unsigned(T.Size), 0, F->Depth, InputOutput, F->Vis,
                         CWBackPixmap | CWEventMask, &Attr);
    long Info[2] = {0 /*version*/, 1 /*mapped*/};
    XChangeProperty(F->Dpy, T.Id, F->A("_XEMBED_INFO"), F->A("_XEMBED_INFO"), 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(Info), 2);
    XSizeHints* H = XAllocSizeHints();
    H->flags = PMinSize | PBaseSize;
    H->min_width = H->min_height = H->base_width = H->base_height = T.Size;
    XSetWMNormalHints(F->Dpy, T.Id, H);
    XFree(H);
    TrayWriteTip(*F, T);
    TrayDock(*F, T);
    F->Trays.push_back(T);
    XFlush(F->Dpy);
    return true;
  }
  // Modify: a new icon, tip or callback.
  if (Icon.Icon) {
    if (It->Icon.Icon) DestroyIcon(It->Icon.Icon);
    It->Icon.Icon = CopyIcon(Icon.Icon);
  }
  It->Icon.Tip = Icon.Tip;
  It->Icon.CallbackMessage = Icon.CallbackMessage;
  TrayWriteTip(*F, *It);
  TrayPaint(*F, *It);
  XFlush(F->Dpy);
  return true;
}

void X11TrayDockAll(TImpl& D) {
  for (auto& T : D.Trays) TrayDock(D, T);
  XFlush(D.Dpy);
}

void X11TrayEvent(TImpl& D, XEvent& E) {
  TTrayEntry* T = TrayOf(D, E.xany.window);
  if (!T) return;
  switch (E.type) {
    case Expose:
      if (E.xexpose.count == 0) TrayPaint(D, *T);
      break;
    case ConfigureNotify:
    case MapNotify: TrayPaint(D, *T); break;
    case ReparentNotify:
      // Back on the root window: the tray went away; we dock again when
      // a new one announces itself.
      if (E.xreparent.parent == D.Root) T->Docked = false;
      break;
    case ButtonPress:
    case ButtonRelease: {
      unsigned B = E.xbutton.button;
      if (B < 1 || B > 3 || !IsWindow(T->Icon.Wnd)) break;
      // FIXME: no double clicks on the tray icon yet (the layer's timing
      // would apply here too).
      UINT Base = B == 1 ? WM_LBUTTONDOWN : B == 3 ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
      // The notification area knows the icon's version and callback.
      TrayIconNotify(T->Icon.Wnd, T->Icon.Id, E.type == ButtonPress ? Base : Base + 1,
                     TPoint{E.xbutton.x_root, E.xbutton.y_root});
      break;
    }
    default: break;
  }
}

// --- drops (XDND) ------------------------------------------------------------------------------------

void X11DndAware(TImpl& D, Window W) {
  Atom Version = 5;
  XChangeProperty(D.Dpy, W, D.A("XdndAware"), XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&Version), 1);
}

namespace {
// The window that takes files at a screen point: the deepest one under it
// that accepts files, or an ancestor that does.
HWND DropTargetAt(TPoint P) {
  for (HWND H = WindowFromPoint(P); H; H = GetAncestor(H, GA_PARENT)) {
    if (H == GetDesktopWindow()) break;
    if (GetWindowLongPtrA(H, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) return H;
  }
  return nullptr;
}

void DndReply(TImpl& D, Window Source, Window Self, const char* Type, long L1, long L2, long L3, long L4) {
  XEvent E{};
  E.xclient.type = ClientMessage;
  E.xclient.window = Source;
  E.xclient.message_type = D.A(Type);
  E.xclient.format = 32;
  E.xclient.data.l[0] = long(Self);
  E.xclient.data.l[1] = L1;
  E.xclient.data.l[2] = L2;
  E.xclient.data.l[3] = L3;
  E.xclient.data.l[4] = L4;
  X11TrapErrors(D.Dpy);
  XSendEvent(D.Dpy, Source, False, NoEventMask, &E);
  X11UntrapErrors(D.Dpy);
}

bool DndOffersFiles(TImpl& D) {
  return std::find(D.DndTypes.begin(), D.DndTypes.end(), D.A("text/uri-list")) != D.DndTypes.end();
}

bool DndOffers(TImpl& D, const char* Type) {
  return std::find(D.DndTypes.begin(), D.DndTypes.end(), D.A(Type)) != D.DndTypes.end();
}

// What the other program offers, read from it (files and text).
TExternalDropData DndFetch(TImpl& D, Time When) {
  TExternalDropData Out;
  std::string Bytes;
  if (DndOffersFiles(D) && X11ReadSelection(D, D.A("XdndSelection"), D.A("text/uri-list"), When, Bytes)) {
    Out.Files = X11PathsFromUriList(Bytes);
    Out.HasFiles = !Out.Files.empty();
  }
  for (const char* T : {"UTF8_STRING", "text/plain;charset=utf-8", "text/plain"})
    if (DndOffers(D, T) && X11ReadSelection(D, D.A("XdndSelection"), D.A(T), When, Bytes)) {
      Out.Text = Bytes;
      Out.HasText = true;
      break;
    }
  return Out;
}

// The source's proposed action as drop effects (copy is always allowed).
DWORD DndAllowed(TImpl& D, Atom Action) {
  DWORD E = 1;  // copy
  if (Action == D.A("XdndActionMove")) E |= 2;
  if (Action == D.A("XdndActionLink")) E |= 4;
  return E;
}

long DndAction(TImpl& D, DWORD Effect) {
  if (Effect & 2) return long(D.A("XdndActionMove"));
  if (Effect & 4) return long(D.A("XdndActionLink"));
  if (Effect & 1) return long(D.A("XdndActionCopy"));
  return 0;
}
}  // namespace

// A drop goes first to the external-drop sink (the data-transfer layer's
// registered targets, which also take text); where it has no target, files
// arrive as WM_DROPFILES with a CF_HDROP block at the window that accepts
// files.
bool X11ClientMessage(TImpl& D, XClientMessageEvent& E) {
  Atom T = E.message_type;
  if (T == D.A("MANAGER") && Atom(E.data.l[1]) == TraySelection(D)) {
    X11TrayDockAll(D);
    return true;
  }
  if (T == D.A("XdndEnter")) {
    D.DndSource = Window(E.data.l[0]);
    D.DndTypes.clear();
    D.DndTarget = nullptr;
    if (E.data.l[1] & 1) {
      Atom Got = 0;
      int Format = 0;
      unsigned long N = 0, After = 0;
      unsigned char* Data = nullptr;
      X11TrapErrors(D.Dpy);
      if (XGetWindowProperty(D.Dpy, D.DndSource, D.A("XdndTypeList"), 0, 1024, False, XA_ATOM, &Got, &Format, &N, &After,
                             &Data) == Success &&
          Data) {
        auto* L = reinterpret_cast<Atom*>(Data);
        D.DndTypes.assign(L, L + N);
      }
      if (Data) XFree(Data);
      X11UntrapErrors(D.Dpy);
    } else {
      for (int I = 2; I < 5; ++I)
        if (E.data.l[I]) D.DndTypes.push_back(Atom(E.data.l[I]));
    }
    return true;
  }
  if (T == D.A("XdndPosition")) {
    if (Window(E.data.l[0]) != D.DndSource) return true;
    D.DndPoint = {int((unsigned long)(E.data.l[2]) >> 16), int(E.data.l[2] & 0xFFFF)};
    D.DndTime = Time(E.data.l[3]);
    if (TExternalDropSink* Sink = ExternalDropSink()) {
      DWORD Effect = 0;
      const Time When = D.DndTime;
      D.DndOle = Sink->DragOver(D.DndPoint, MK_LBUTTON, DndAllowed(D, Atom(E.data.l[4])),
                                [&D, When] { return DndFetch(D, When); }, Effect);
      if (D.DndOle) {
        D.DndTarget = nullptr;
        DndReply(D, D.DndSource, E.window, "XdndStatus", (Effect ? 1 : 0) | 2, 0, 0, DndAction(D, Effect));
        XFlush(D.Dpy);
        return true;
      }
    }
    D.DndTarget = DndOffersFiles(D) ? DropTargetAt(D.DndPoint) : nullptr;
    bool Accept = D.DndTarget != nullptr;
    // Bit 1: send positions as the pointer moves, the target may change.
    DndReply(D, D.DndSource, E.window, "XdndStatus", (Accept ? 1 : 0) | 2, 0, 0,
             Accept ? long(D.A("XdndActionCopy")) : 0);
    XFlush(D.Dpy);
    return true;
  }
  if (T == D.A("XdndLeave")) {
    if (D.DndOle)
      if (TExternalDropSink* Sink = ExternalDropSink()) Sink->DragLeave();
    D.DndOle = false;
    D.DndSource = 0;
    D.DndTarget = nullptr;
    D.DndTypes.clear();
    return true;
  }
  if (T == D.A("XdndDrop")) {
    Window Source = Window(E.data.l[0]);
    if (Source != D.DndSource) return true;
    bool Done = false;
    long Action = long(D.A("XdndActionCopy"));
    std::string List;
    HWND Target = D.DndTarget;
    if (TExternalDropSink* Sink = ExternalDropSink(); Sink && D.DndOle) {
      DWORD Effect = 0;
      const Time When = Time(E.data.l[2]);
      Sink->Drop(D.DndPoint, MK_LBUTTON, 1 | 2 | 4, [&D, When] { return DndFetch(D, When); }, Effect);
      Done = Effect != 0;
      Action = DndAction(D, Effect);
      Target = nullptr;
    }
    D.DndOle = false;
    if (Target && IsWindow(Target) &&
        X11ReadSelection(D, D.A("XdndSelection"), D.A("text/uri-list"), Time(E.data.l[2]), List)) {
      auto Paths = X11PathsFromUriList(List);
      if (!Paths.empty()) {
        TPoint P = D.DndPoint;
        ScreenToClient(Target, &P);
        // The receiver frees the block (DragFinish), as with any drop.
        PostMessageA(Target, WM_DROPFILES, WPARAM(X11MakeDropFiles(Paths, P)), 0);
        Done = true;
      }
    }
    DndReply(D, Source, E.window, "XdndFinished", Done ? 1 : 0, Done ? Action : 0, 0, 0);
    XFlush(D.Dpy);
    D.DndSource = 0;
    D.DndTarget = nullptr;
    return true;
  }
  return false;
}
