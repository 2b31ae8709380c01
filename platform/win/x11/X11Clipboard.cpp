// The clipboard on the desktop: the program's clipboard content is offered
// as the CLIPBOARD selection while the program runs, and another program's
// selection comes into the clipboard when the program opens it.
//
// Formats: text as UTF-8 and in the ANSI code page; the registered "Rich
// Text Format" as text/rtf; "HTML Format" (with its offset header) as
// text/html; CF_HDROP as text/uri-list. Data larger than one request goes
// out and comes in by increments (INCR).
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/rtl/CodePages.h"
#include "platform/win/Clipboard.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/WinState_p.h"
#include "platform/win/x11/X11Private_p.h"
#include "platform/win/x11/X11Transfer_p.h"

namespace {
using TImpl = TX11Display::TImpl;

std::string GlobalBytes(HANDLE H) {
  if (!H) return {};
  SIZE_T Size = GlobalSize(H);
  auto* P = static_cast<const char*>(GlobalLock(H));
  if (!P) return {};
  std::string S(P, Size);
  GlobalUnlock(H);
  return S;
}

HGLOBAL GlobalOf(const std::string& S, bool Terminate) {
  HGLOBAL H = GlobalAlloc(GHND, S.size() + (Terminate ? 2 : 0));
  if (auto* P = static_cast<char*>(GlobalLock(H))) {
    std::memcpy(P, S.data(), S.size());
    GlobalUnlock(H);
  }
  return H;
}

std::string UpToNul(std::string S) {
  auto N = S.find('\0');
  if (N != std::string::npos) S.resize(N);
  return S;
}

UINT RtfFormat() { return RegisterClipboardFormatA("Rich Text Format"); }
UINT HtmlFormat() { return RegisterClipboardFormatA("HTML Format"); }

std::string CodePageTarget() { return "text/plain;charset=windows-" + std::to_string(GetACP()); }

// Reads the clipboard as the program left it, opening it for the moment
// when the program has not (delayed rendering may ask the owner).
struct TReadClipboard {
  bool Opened = false;
  TReadClipboard() {
    if (!WinState().Clipboard.Open) Opened = OpenClipboard(nullptr);
  }
  ~TReadClipboard() {
    if (Opened) CloseClipboard();
  }
  std::string Bytes(UINT Format) { return IsClipboardFormatAvailable(Format) ? GlobalBytes(GetClipboardData(Format)) : ""; }
};

// The HTML between the offsets the clipboard's header gives.
std::string HtmlBody(const std::string& Cf) {
  auto Field = [&](const char* Name) -> long {
    auto P = Cf.find(Name);
    if (P == std::string::npos || P > 400) return -1;
    return std::strtol(Cf.c_str() + P + std::strlen(Name), nullptr, 10);
  };
  long S = Field("StartHTML:"), E = Field("EndHTML:");
  if (S < 0 || E < S || std::size_t(E) > Cf.size()) {
    S = Field("StartFragment:");
    E = Field("EndFragment:");
  }
  if (S < 0 || E < S || std::size_t(E) > Cf.size()) return Cf;  // no header: plain HTML
  return Cf.substr(std::size_t(S), std::size_t(E - S));
}

std::string HtmlWithHeader(const std::string& Html) {
  // Offsets are written with a fixed width, so the header's length is known
  // before they are.
  const char* Fmt = "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\nEndFragment:%010zu\r\n";
  char Probe[200];
  int HeadLen = std::snprintf(Probe, sizeof Probe, Fmt, std::size_t(0), std::size_t(0), std::size_t(0), std::size_t(0));
  std::string Body = Html;
  std::size_t Start = std::size_t(HeadLen), End = Start + Body.size();
  std::size_t FragS = Start, FragE = End;
  auto Open = Body.find("<!--StartFragment-->"), Close = Body.find("<!--EndFragment-->");
  if (Open != std::string::npos && Close != std::string::npos && Close > Open) {
    FragS = Start + Open + 20;
    FragE = Start + Close;
  }
  char Head[200];
  std::snprintf(Head, sizeof Head, Fmt, Start, End, FragS, FragE);
  return std::string(Head) + Body;
}

bool IsTextTarget(TImpl& D, Atom T) {
  return T == D.A("UTF8_STRING") || T == D.A("text/plain;charset=utf-8") || T == XA_STRING || T == D.A("TEXT") ||
         T == D.A("text/plain") || T == D.A(CodePageTarget().c_str());
}

// The bytes of one target from the program's clipboard (empty: none).
bool ExportTarget(TImpl& D, Atom Target, std::string& Out, Atom& Type) {
  TReadClipboard R;
  Type = Target;
  if (IsTextTarget(D, Target)) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return false;
    std::string B = R.Bytes(CF_UNICODETEXT);
    WideString W(reinterpret_cast<const char16_t*>(B.data()), B.size() / 2);
    W.resize(std::find(W.begin(), W.end(), u'\0') - W.begin());
    if (Target == XA_STRING) {
      // STRING is Latin-1 by definition.
      for (char16_t C : W) Out.push_back(C < 256 ? char(C) : '?');
    } else if (Target == D.A(CodePageTarget().c_str()) || Target == D.A("text/plain")) {
      Out = WideToAnsi(W);
    } else {
      Out = UTF8Encode(W);
      if (Target == D.A("TEXT")) Type = D.A("UTF8_STRING");
    }
    return true;
  }
  if (Target == D.A("text/rtf") || Target == D.A("application/rtf")) {
    if (!IsClipboardFormatAvailable(RtfFormat())) return false;
    Out = UpToNul(R.Bytes(RtfFormat()));
    return true;
  }
  if (Target == D.A("text/html")) {
    if (!IsClipboardFormatAvailable(HtmlFormat())) return false;
    Out = HtmlBody(UpToNul(R.Bytes(HtmlFormat())));
    return true;
  }
  if (Target == D.A("text/uri-list")) {
    if (!IsClipboardFormatAvailable(CF_HDROP)) return false;
    Out = X11UriListFromPaths(X11ReadDropFiles(GetClipboardData(CF_HDROP)));
    return true;
  }
  return false;
}

std::vector<Atom> OfferedTargets(TImpl& D) {
  TReadClipboard R;
  std::vector<Atom> T = {D.A("TARGETS"), D.A("TIMESTAMP")};
  if (IsClipboardFormatAvailable(CF_UNICODETEXT))
    for (const char* N : {"UTF8_STRING", "text/plain;charset=utf-8", "STRING", "TEXT", "text/plain"}) T.push_back(D.A(N));
  if (IsClipboardFormatAvailable(CF_UNICODETEXT)) T.push_back(D.A(CodePageTarget().c_str()));
  if (IsClipboardFormatAvailable(RtfFormat())) {
    T.push_back(D.A("text/rtf"));
    T.push_back(D.A("application/rtf"));
  }
  if (IsClipboardFormatAvailable(HtmlFormat())) T.push_back(D.A("text/html"));
  if (IsClipboardFormatAvailable(CF_HDROP)) T.push_back(D.A("text/uri-list"));
  return T;
}

std::size_t ChunkSize(TImpl& D) {
  long Max = XExtendedMaxRequestSize(D.Dpy);
  if (Max <= 0) Max = XMaxRequestSize(D.Dpy);
  return std::size_t(std::min<long>(Max * 4 - 1024, 256 * 1024));
}

void Notify(TImpl& D, XSelectionRequestEvent& Q, Atom Property) {
  XEvent N{};
  N.xselection.type = SelectionNotify;
  N.xselection.requestor = Q.requestor;
  N.xselection.selection = Q.selection;
  N.xselection.target = Q.target;
  N.xselection.property = Property;
  N.xselection.time = Q.time;
  XSendEvent(D.Dpy, Q.requestor, False, 0, &N);
}
}  // namespace

void X11SelectionRequest(TImpl& D, XSelectionRequestEvent& Q) {
  Atom Property = Q.property ? Q.property : Q.target;  // obsolete clients leave it None
  bool Ours = Q.owner == D.ClipWin && Q.selection == D.A("CLIPBOARD") && D.OwnClipboard;
  if (!Ours) {
    Notify(D, Q, None);
    return;
  }
  X11TrapErrors(D.Dpy);
  if (Q.target == D.A("TARGETS")) {
    std::vector<Atom> T = OfferedTargets(D);
    XChangeProperty(D.Dpy, Q.requestor, Property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(T.data()), int(T.size()));
  } else if (Q.target == D.A("TIMESTAMP")) {
    long T = long(D.LastTime);
    XChangeProperty(D.Dpy, Q.requestor, Property, XA_INTEGER, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&T), 1);
  } else {
    std::string Data;
    Atom Type = 0;
    if (!ExportTarget(D, Q.target, Data, Type)) {
      X11UntrapErrors(D.Dpy);
      Notify(D, Q, None);
      return;
    }
    if (Data.size() > ChunkSize(D)) {
      // Too large for one request: announce the size, then hand out pieces
      // each time the requestor deletes the property.
      XSelectInput(D.Dpy, Q.requestor, PropertyChangeMask);
      long Size = long(Data.size());
      XChangeProperty(D.Dpy, Q.requestor, Property, D.A("INCR"), 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(&Size), 1);
      D.IncrOut.push_back({Q.requestor, Property, Type, std::move(Data), 0});
    } else {
      XChangeProperty(D.Dpy, Q.requestor, Property, Type, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(Data.data()), int(Data.size()));
    }
  }
  bool Failed = X11UntrapErrors(D.Dpy) != 0;
  Notify(D, Q, Failed ? None : Property);
  XFlush(D.Dpy);
}

void X11PropertyDeleted(TImpl& D, XPropertyEvent& E) {
  for (auto It = D.IncrOut.begin(); It != D.IncrOut.end(); ++It) {
    if (It->Requestor != E.window || It->Property != E.atom) continue;
    std::size_t N = std::min(ChunkSize(D), It->Data.size() - It->Offset);
    X11TrapErrors(D.Dpy);
    XChangeProperty(D.Dpy, It->Requestor, It->Property, It->Type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(It->Data.data() + It->Offset), int(N));
    bool Gone = X11UntrapErrors(D.Dpy) != 0;
    It->Offset += N;
    // The zero-length piece ends the transfer.
    if (N == 0 || Gone) {
      if (!Gone) XSelectInput(D.Dpy, It->Requestor, NoEventMask);
      D.IncrOut.erase(It);
    }
    XFlush(D.Dpy);
    return;
  }
}

void X11SelectionClear(TImpl& D, XSelectionClearEvent& E) {
  // A late notice of a loss that we have since made good (the program set
  // the clipboard again) must not drop the new ownership.
  if (E.selection == D.A("CLIPBOARD") && E.window == D.ClipWin)
    D.OwnClipboard = XGetSelectionOwner(D.Dpy, E.selection) == D.ClipWin;
}

namespace {
struct TWaitArg {
  Window Win;
  Atom Property;
};

Bool IsNotify(XDisplay*, XEvent* E, XPointer Arg) {
  auto* A = reinterpret_cast<TWaitArg*>(Arg);
  return E->type == SelectionNotify && E->xselection.requestor == A->Win;
}

Bool IsNewValue(XDisplay*, XEvent* E, XPointer Arg) {
  auto* A = reinterpret_cast<TWaitArg*>(Arg);
  return E->type == PropertyNotify && E->xproperty.window == A->Win && E->xproperty.atom == A->Property &&
         E->xproperty.state == PropertyNewValue;
}

bool ReadProperty(TImpl& D, Window W, Atom P, std::string& Out, Atom& Type) {
  int Format = 0;
  unsigned long N = 0, After = 0;
  unsigned char* Data = nullptr;
  if (XGetWindowProperty(D.Dpy, W, P, 0, 0x7FFFFFFF, True, AnyPropertyType, &Type, &Format, &N, &After, &Data) !=
      Success)
    return false;
  std::size_t Unit = Format == 32 ? sizeof(long) : std::size_t(Format / 8);
  if (Data) Out.assign(reinterpret_cast<char*>(Data), N * Unit);
  if (Data) XFree(Data);
  return true;
}
}  // namespace

bool X11ReadSelection(TImpl& D, Atom Selection, Atom Target, Time When, std::string& Out) {
  Atom Prop = D.A("SX_SELECTION");
  XDeleteProperty(D.Dpy, D.ClipWin, Prop);
  XConvertSelection(D.Dpy, Selection, Target, Prop, D.ClipWin, When);
  XFlush(D.Dpy);
  XEvent E;
  TWaitArg Arg{D.ClipWin, Prop};
  // A program that does not answer within two seconds has nothing for us.
  if (!X11WaitFor(D.Dpy, E, 2000, IsNotify, reinterpret_cast<XPointer>(&Arg))) return false;
  if (E.xselection.property == None) return false;
  Atom Type = 0;
  std::string Data;
  if (!ReadProperty(D, D.ClipWin, Prop, Data, Type)) return false;
  if (Type != D.A("INCR")) {
    Out = std::move(Data);
    return true;
  }
  // By increments: each new value is one piece, an empty one ends it.
  Out.clear();
  while (true) {
    if (!X11WaitFor(D.Dpy, E, 2000, IsNewValue, reinterpret_cast<XPointer>(&Arg))) return false;
    std::string Piece;
    if (!ReadProperty(D, D.ClipWin, Prop, Piece, Type)) return false;
    // A notice from before (the INCR announcement itself) finds no property.
    if (Type == None) continue;
    if (Piece.empty()) return true;
    Out += Piece;
  }
}

void TX11Display::ClipboardChanged() {
  if (WinState().Clipboard.Sequence == F->ImportedSequence) return;  // what we brought in ourselves
  Atom Clip = F->A("CLIPBOARD");
  XSetSelectionOwner(F->Dpy, Clip, F->ClipWin, F->LastTime ? F->LastTime : CurrentTime);
  F->OwnClipboard = XGetSelectionOwner(F->Dpy, Clip) == F->ClipWin;
}

// FIXME: another program's content is read again at every opening (a few
// round trips); XFixes' selection notices would tell when it changed.
void TX11Display::ClipboardOpened() {
  Atom Clip = F->A("CLIPBOARD");
  Window Owner = XGetSelectionOwner(F->Dpy, Clip);
  if (Owner == F->ClipWin) return;
  F->OwnClipboard = false;
  if (Owner == None) return;
  std::string Targets;
  if (!X11ReadSelection(*F, Clip, F->A("TARGETS"), CurrentTime, Targets)) return;
  std::vector<Atom> Offered;
  for (std::size_t I = 0; I + sizeof(long) <= Targets.size(); I += sizeof(long)) {
    long V;
    std::memcpy(&V, Targets.data() + I, sizeof V);
    Offered.push_back(Atom(V));
  }
  auto Has = [&](const char* N) { return std::find(Offered.begin(), Offered.end(), F->A(N)) != Offered.end(); };
  struct TIn {
    UINT Format;
    HANDLE Data;
  };
  std::vector<TIn> In;
  std::string S;
  if ((Has("UTF8_STRING") && X11ReadSelection(*F, Clip, F->A("UTF8_STRING"), CurrentTime, S)) ||
      (Has("text/plain;charset=utf-8") && X11ReadSelection(*F, Clip, F->A("text/plain;charset=utf-8"), CurrentTime, S))) {
    WideString W = UTF8Decode(UTF8String(S));
    std::string B(reinterpret_cast<const char*>(W.data()), W.size() * 2);
    In.push_back({CF_UNICODETEXT, GlobalOf(B, true)});
  } else if (Has("STRING") && X11ReadSelection(*F, Clip, XA_STRING, CurrentTime, S)) {
    WideString W;
    for (char C : S) W.push_back(char16_t(static_cast<unsigned char>(C)));
    std::string B(reinterpret_cast<const char*>(W.data()), W.size() * 2);
    In.push_back({CF_UNICODETEXT, GlobalOf(B, true)});
  }
  if ((Has("text/rtf") && X11ReadSelection(*F, Clip, F->A("text/rtf"), CurrentTime, S)) ||
      (Has("application/rtf") && X11ReadSelection(*F, Clip, F->A("application/rtf"), CurrentTime, S)))
    In.push_back({RtfFormat(), GlobalOf(S, true)});
  if (Has("text/html") && X11ReadSelection(*F, Clip, F->A("text/html"), CurrentTime, S)) {
    // Some programs write HTML as UTF-16 with a byte-order mark.
    if (S.size() >= 2 && static_cast<unsigned char>(S[0]) == 0xFF && static_cast<unsigned char>(S[1]) == 0xFE)
      S = UTF8Encode(WideString(reinterpret_cast<const char16_t*>(S.data() + 2), (S.size() - 2) / 2));
    In.push_back({HtmlFormat(), GlobalOf(HtmlWithHeader(S), true)});
  }
  if (Has("text/uri-list") && X11ReadSelection(*F, Clip, F->A("text/uri-list"), CurrentTime, S)) {
    auto Paths = X11PathsFromUriList(S);
    if (!Paths.empty()) In.push_back({CF_HDROP, X11MakeDropFiles(Paths, {0, 0})});
  }
  auto& C = WinState().Clipboard;
  EmptyClipboard();
  for (auto& E : In) SetClipboardData(E.Format, E.Data);
  // The content belongs to the other program, not to the window that opened.
  C.Owner = nullptr;
  F->ImportedSequence = C.Sequence;
  C.SequenceAtOpen = C.Sequence;
}
