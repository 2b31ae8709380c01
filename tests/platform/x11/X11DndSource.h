// X11DndSource.h — another program's drag of files for the X11 tests: its
// own connection, used on its own thread, walks the drop protocol to a
// point and answers the data request with a "text/uri-list".
#pragma once
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/win/WinTypes.h"

// Include it after the layer's headers: Xlib's Display and Screen types are
// renamed here so they do not hide the layer's Display() and the forms'
// Screen, and its KeyPress constant is dropped for the controls' KeyPress.
#define Display XDisplay
#define Screen XScreen
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#undef Display
#undef Screen
#undef KeyPress

struct TDndSource {
  std::string Name;
  TPoint At;
  std::string UriList;
  std::atomic<int> Finished{-1};  // 1 accepted, 0 refused

  void Run() {
    XDisplay* D = XOpenDisplay(Name.c_str());
    if (!D) return;
    Window Root = DefaultRootWindow(D);
    Window Me = XCreateSimpleWindow(D, Root, 0, 0, 1, 1, 0, 0, 0);
    auto A = [&](const char* N) { return XInternAtom(D, N, False); };
    XSetSelectionOwner(D, A("XdndSelection"), Me, CurrentTime);
    // The target: the top-level client window under the point that is aware.
    Window Target = 0, Cur = Root, Child = 0;
    int Tx, Ty;
    while (XTranslateCoordinates(D, Root, Cur, At.X, At.Y, &Tx, &Ty, &Child) && Child) {
      Cur = Child;
      Atom T;
      int F;
      unsigned long N = 0, After;
      unsigned char* Data = nullptr;
      XGetWindowProperty(D, Cur, A("XdndAware"), 0, 1, False, XA_ATOM, &T, &F, &N, &After, &Data);
      if (Data) XFree(Data);
      if (N) {
        Target = Cur;
        break;
      }
    }
    auto Send = [&](const char* Type, long L1, long L2, long L3, long L4) {
      XEvent E{};
      E.xclient.type = ClientMessage;
      E.xclient.window = Target;
      E.xclient.message_type = A(Type);
      E.xclient.format = 32;
      E.xclient.data.l[0] = long(Me);
      E.xclient.data.l[1] = L1;
      E.xclient.data.l[2] = L2;
      E.xclient.data.l[3] = L3;
      E.xclient.data.l[4] = L4;
      XSendEvent(D, Target, False, NoEventMask, &E);
      XFlush(D);
    };
    if (Target) {
      Send("XdndEnter", 5L << 24, long(A("text/uri-list")), 0, 0);
      Send("XdndPosition", 0, (long(At.X) << 16) | At.Y, CurrentTime, long(A("XdndActionCopy")));
      auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      bool Dropped = false;
      while (std::chrono::steady_clock::now() < Deadline && Finished < 0) {
        if (!XPending(D)) {
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
          continue;
        }
        XEvent E;
        XNextEvent(D, &E);
        if (E.type == ClientMessage && E.xclient.message_type == A("XdndStatus") && !Dropped) {
          Dropped = true;
          if (E.xclient.data.l[1] & 1) Send("XdndDrop", 0, CurrentTime, 0, 0);
          else {
            Send("XdndLeave", 0, 0, 0, 0);
            Finished = 0;
          }
        } else if (E.type == SelectionRequest) {
          auto& Q = E.xselectionrequest;
          XChangeProperty(D, Q.requestor, Q.property, Q.target, 8, PropModeReplace,
                          reinterpret_cast<const unsigned char*>(UriList.data()), int(UriList.size()));
          XEvent N{};
          N.xselection.type = SelectionNotify;
          N.xselection.requestor = Q.requestor;
          N.xselection.selection = Q.selection;
          N.xselection.target = Q.target;
          N.xselection.property = Q.property;
          N.xselection.time = Q.time;
          XSendEvent(D, Q.requestor, False, 0, &N);
          XFlush(D);
        } else if (E.type == ClientMessage && E.xclient.message_type == A("XdndFinished")) {
          Finished = (E.xclient.data.l[1] & 1) ? 1 : 0;
        }
      }
    }
    XDestroyWindow(D, Me);
    XCloseDisplay(D);
  }
};
