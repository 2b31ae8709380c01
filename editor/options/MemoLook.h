// MemoLook.h — the small persistent objects that the global editor options
// and an editor share: the line separator, the current-line highlight and
// the special symbols shown for line ends, the end of the text, blanks and
// TABs; and whether the clipboard holds RTF.
//
// Each object knows the editor it belongs to (borrowed, nil for the copies
// inside the options) and repaints it when a change shows there. The
// objects own their pens and brushes.
#pragma once
#include <memory>
#include "platform/gdi/DrawingTools.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Sets.h"

class TCustomDCMemo;

SX_ENUM(TSeparatorOption, moDrawLineSeparator, moWrappedLineSeparator)
using TSeparatorOptions = TSet<TSeparatorOption>;
SX_ENUM(TShapeHighlightType, shDoubleLine, shSingleLine)

// Pens of the separator and the highlight are never wider than this.
inline constexpr Integer MaxLookPenWidth = 2;

class TLineSeparator : public TPersistent {
  SX_CLASS(TLineSeparator, TPersistent)
public:
  explicit TLineSeparator(TCustomDCMemo* AEditor = nullptr);
  ~TLineSeparator() override;
  static void Published(TPublished<TLineSeparator>& P);

  // From another separator: Options, then Pen (narrowed to 2).
  void Assign(TPersistent* Source) override;
  // Repaints the editor when it draws separators.
  virtual void Changed();

  TPen* GetPen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TSeparatorOptions GetOptions() const { return FOptions; }
  void SetOptions(TSeparatorOptions Value);
  TCustomDCMemo* GetEditor() const { return FEditor; }

private:
  void PenChanged(TObject* Sender);

  std::unique_ptr<TPen> FPen;
  TSeparatorOptions FOptions;
  TCustomDCMemo* FEditor;
};

class TLineHighlight : public TPersistent {
  SX_CLASS(TLineHighlight, TPersistent)
public:
  explicit TLineHighlight(TCustomDCMemo* AEditor = nullptr);
  ~TLineHighlight() override;
  static void Published(TPublished<TLineHighlight>& P);

  // From another highlight: Visible, Pen and Brush; the shape stays.
  void Assign(TPersistent* Source) override;
  // Repaints the editor's caret line.
  virtual void Changed();

  TPen* GetPen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* GetBrush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  TShapeHighlightType GetShape() const { return FShape; }
  void SetShape(TShapeHighlightType Value);
  TCustomDCMemo* GetEditor() const { return FEditor; }

private:
  void PenChanged(TObject* Sender);
  void BrushChanged(TObject* Sender);

  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  bool FVisible = false;
  TShapeHighlightType FShape = shDoubleLine;
  TCustomDCMemo* FEditor;
};

// What painting shows for line ends, the end of the text, blanks and TABs
// while the editor draws special symbols; a character #0 shows the
// character itself. Both strings are also stored as length-prefixed bytes
// ("EOLStringBinary", "EOFStringBinary"), so they come back byte for byte
// whatever the code page of the stream's reader.
class TSpecialSymbols : public TPersistent {
  SX_CLASS(TSpecialSymbols, TPersistent)
public:
  explicit TSpecialSymbols(TCustomDCMemo* AEditor = nullptr);
  static void Published(TPublished<TSpecialSymbols>& P);

  // Only from other special symbols; anything else is ignored.
  void Assign(TPersistent* Source) override;
  // Repaints the editor when it draws special symbols.
  virtual void Changed();

  const AnsiString& GetEOLString() const { return FEOLString; }
  void SetEOLString(const AnsiString& Value);
  const AnsiString& GetEOFString() const { return FEOFString; }
  void SetEOFString(const AnsiString& Value);
  char GetSpaceChar() const { return FSpaceChar; }
  void SetSpaceChar(char Value);
  char GetTabChar() const { return FTabChar; }
  void SetTabChar(char Value);
  TCustomDCMemo* GetEditor() const { return FEditor; }

  // The pilcrow of the Western code page.
  static constexpr char DefaultEOL = char(182);

protected:
  void DefineProperties(TFiler* Filer) override;

private:
  AnsiString FEOLString{DefaultEOL};
  AnsiString FEOFString{"_"};
  char FSpaceChar = 0;
  char FTabChar = 0;
  TCustomDCMemo* FEditor;
};

// True when the clipboard holds the format registered as "Rich Text Format".
bool ClipboardHasRtf();
