// MemoEnvOptions.h — TMemoEnvOptions, the look and key mapping that every
// editor of the process shares, kept in the registry under "CodeEdit\".
// The global object broadcasts a change (message DCM_OPTIONSCHANGED) to the
// option listeners: the editors and syntax parsers that registered. Copies
// (the options dialog's working object) change nothing until applied.
//
// The global object belongs to the option library (OptionExt.h); its font,
// brushes, pens and text styles are owned by it.
#pragma once
#include <memory>
#include "editor/base/FreeNotify.h"
#include "editor/base/OptionExt.h"
#include "editor/options/MemoLook.h"
#include "editor/options/OptionListeners.h"
#include "editor/controls/DCMemo.h"
#include "editor/view/MemoFont.h"
#include "editor/view/TextStyles.h"

class TMemoEnvOptions : public TFreeNotified<TOptionExt> {
  SX_CLASS(TMemoEnvOptions, TOptionExt)
public:
  TMemoEnvOptions();
  ~TMemoEnvOptions() override;
  static void Published(TPublished<TMemoEnvOptions>& P);

  AnsiString GetKeyName() override { return "CodeEdit\\"; }
  void SetDefaults() override;
  // The global object sends DCM_OPTIONSCHANGED to every listener, first to
  // last; copies and the global object inside an update bracket do not.
  void Changed() override;
  // Loading the stored values at creation tells nobody.
  void LoadOptions() override;

  TMemoOptions GetOptions() const { return FOptions; }
  void SetOptions(TMemoOptions Value);
  const AnsiString& GetKeyMapping() const { return FKeyMapping; }
  void SetKeyMapping(const AnsiString& Value);
  Integer GetMarginPos() const { return FMarginPos; }
  void SetMarginPos(Integer Value);
  Integer GetGutterWidth() const { return FGutterWidth; }
  void SetGutterWidth(Integer Value);
  TBrush* GetGutterBrush() const { return FGutterBrush.get(); }
  void SetGutterBrush(TBrush* Value);
  TPen* GetMarginPen() const { return FMarginPen.get(); }
  // Pens wider than 2 are narrowed to 2.
  void SetMarginPen(TPen* Value);
  TLineSeparator* GetLineSeparator() const { return FLineSeparator.get(); }
  // Pens wider than 2 are narrowed to 2.
  void SetLineSeparator(TLineSeparator* Value);
  TLineHighlight* GetLineHighlight() const { return FLineHighlight.get(); }
  void SetLineHighlight(TLineHighlight* Value);
  TMemoFont* GetFont() const { return FFont.get(); }
  void SetFont(TMemoFont* Value);
  TTextStyles* GetTextStyles() const { return FTextStyles.get(); }
  void SetTextStyles(TTextStyles* Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  bool GetUseMonoFont() const { return FUseMonoFont; }
  void SetUseMonoFont(bool Value);
  TColor GetReadOnlyColor() const { return FReadOnlyColor; }
  void SetReadOnlyColor(TColor Value);
  TSpecialSymbols* GetSpecialSymbols() const { return FSpecialSymbols.get(); }
  void SetSpecialSymbols(TSpecialSymbols* Value);
  const AnsiString& GetColorSchema() const { return FColorSchema; }
  void SetColorSchema(const AnsiString& Value) { FColorSchema = Value; }

private:
  void SubObjectChanged(TObject* Sender);

  TMemoOptions FOptions;
  AnsiString FKeyMapping;
  Integer FMarginPos = 80;
  Integer FGutterWidth = 32;
  std::unique_ptr<TBrush> FGutterBrush;
  std::unique_ptr<TPen> FMarginPen;
  std::unique_ptr<TLineSeparator> FLineSeparator;
  std::unique_ptr<TLineHighlight> FLineHighlight;
  std::unique_ptr<TMemoFont> FFont;
  std::unique_ptr<TTextStyles> FTextStyles;
  TColor FColor = clWindow;
  bool FUseMonoFont = true;
  TColor FReadOnlyColor = clWindow;
  std::unique_ptr<TSpecialSymbols> FSpecialSymbols;
  AnsiString FColorSchema;
  bool FInDefaults = false;
};

// The global options, made (and loaded) on first use. Also installs them as
// the global text look that syntax schemes read.
TMemoEnvOptions* GetMemoEnvOptions();

// Copies the global options into Memo: key mapping, options, margin,
// gutter, font, colour, text styles, read-only colour; then the styles take
// the editor's font and colour again.
void ApplyGlobalOptionsTo(TCustomDCMemo* Memo);
