// SimpleParser.h — TSimpleParser, the abstract line parser of the editor.
//
// A parser turns one line of text into a string of attribute bytes (one
// style index per character) and hands on a 32-bit state from line to line,
// so comments and strings continue across lines. Memo sources that use a
// parser listen to it: when its output changes (new scheme, colours or
// words) it calls its notifier list with itself as Sender, and each source
// throws its cached attributes away. A listening component and the parser
// watch each other through the class library's free notification: each is
// told (Notification, opRemove) when the other goes. A listener told of the
// parser's end must only drop its pointer: by then the parser's own part is
// gone, and its list with it.
#pragma once
#include "editor/base/Notifiers.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Component.h"

class TFont;

class TSimpleParser : public TComponent {
  SX_CLASS(TSimpleParser, TComponent)
public:
  explicit TSimpleParser(TComponent* AOwner);
  ~TSimpleParser() override;

  // The line about to be parsed; the parse cache sets it before ParseLine.
  virtual void SetLinePos(Integer N) { FLinePos = N; }
  Integer GetLinePos() const { return FLinePos; }
  // A parser without fonts or colours of its own answers nil / false, and
  // painting falls back to its own styles.
  virtual TFont* GetFont(Integer /*StyleIndex*/) { return nullptr; }
  virtual bool GetBackColor(Integer /*StyleIndex*/, TColor& /*Color*/) { return false; }
  // Fills Attrs (already sized to Text by InitAttributes) and returns the
  // state the line ends in.
  virtual Integer ParseLine(const AnsiString& Text, Integer BeginState, AnsiString& Attrs) = 0;
  // True when the attribute strings are document content (imported styles)
  // rather than a cache that can be rebuilt.
  virtual bool KeepsAttributes() { return false; }
  virtual void InitAttributes(Integer LineIndex, const AnsiString& Text, AnsiString& Attrs);

  // One entry per method: adding an equal method again moves it to the end.
  // A component listener is watched so that its entries go with it.
  void AddNotifier(const TNotifierProc& Method, TComponent* Listener);
  void RemoveNotifier(const TNotifierProc& Method);
  // Descendants call this when their output changed.
  void NotifyListeners() { FNotifiers.Notify(this, 0, 0); }
  Integer NotifierCount() const { return FNotifiers.Count(); }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  Integer FLinePos = 0;
  TNotifierList FNotifiers;
};
