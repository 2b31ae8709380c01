// DCImporter.h — TDCImporter, the interface the editor imports documents
// through. An importer is created from its class reference, asked whether
// it accepts a stream (CanImport), given the whole document text once
// (Import) and freed; while importing it hands every piece of text to
// OnAddText as a run with a font and a background colour.
#pragma once
#include <memory>
#include "platform/gdi/DrawingTools.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"

// Text: a run that never holds CR or LF, or exactly CR LF (a line break), or
// one TAB. Font is borrowed and reused for the next run: copy what you need.
// BackColor -1 means no background.
using TImportTextEvent =
    TEvent<void(TObject* Sender, const AnsiString& Text, TFont* Font, Integer BackColor)>;

class TDCImporter : public TObject {
  SX_CLASS(TDCImporter, TObject)
public:
  TDCImporter();
  ~TDCImporter() override;

  // Fires OnAddText when assigned.
  virtual void DoAddText(const AnsiString& Text, TFont* Font, Integer BackColor);
  // True when the stream holds content this importer reads; leaves the
  // stream at position 0.
  virtual bool CanImport(TStream* Stream) = 0;
  virtual void Import(const AnsiString& Text) = 0;

  TFont* GetFont() const { return FFont.get(); }
  TImportTextEvent OnAddText;

private:
  std::unique_ptr<TFont> FFont;
};

// Creates the importer of class AClass (a descendant of TDCImporter).
std::unique_ptr<TDCImporter> CreateImporter(TClass AClass);
