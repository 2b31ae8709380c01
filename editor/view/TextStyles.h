// TextStyles.h — the editor's table from style index to look: TTextStyles,
// a named collection of TTextStyle items (index i is the i-th item), and
// the colour-scheme files (.rgb) a style set is saved to and loaded from.
//
// Every editor owns one set, and so do the global editor options (which copy
// theirs into the editors). A style may follow the editor's colour and font
// (UseMemoColor, UseMemoFont) and may drive the editor's own text, selection
// or search-match colours (UpdateMemoColors).
//
// The set knows its owner only as a TPersistent. An owner that is an editor
// implements TTextStylesHost; any other owner (the options object) or none
// leaves the set free-standing.
#pragma once
#include "editor/base/NamedItems.h"
#include "editor/view/MemoFont.h"

SX_ENUM(TUpdateMemoColors, mcNone, mcText, mcSelection, mcSearchMatch)

// What a style set asks of the editor that owns it.
class TTextStylesHost {
public:
  virtual ~TTextStylesHost() = default;
  // The editor's Color and Font that styles with UseMemoColor/UseMemoFont follow.
  virtual TColor StylesMemoColor() = 0;
  virtual TFont* StylesMemoFont() = 0;
  // A style with UpdateMemoColors other than mcNone pushes its colours:
  // mcText sets Font.Color and Color, mcSelection SelColor and SelBackColor,
  // mcSearchMatch MatchColor and MatchBackColor.
  virtual void StylesApplyMemoColors(TUpdateMemoColors Kind, TColor TextColor, TColor BackColor) = 0;
  // True when the editor lays text out monospaced; then a font change that
  // does not force a re-parse leaves the layout alone.
  virtual bool StylesMonospacedLayout() = 0;
  // Re-parse every line (the parse cache is thrown away) and recompute
  // whether all style fonts are monospaced with one width.
  virtual void StylesReparse() = 0;
  // The closing EndUpdate of the set: re-parse first when Reparse (and then
  // re-create the caret), recompute the monospaced flag, drop the cached
  // line height, update the scroll range and recompute character width and
  // line height.
  virtual void StylesUpdated(bool Reparse) = 0;
};

class TTextStyles;

class TTextStyle : public TDCNamedItem {
  SX_CLASS(TTextStyle, TDCNamedItem)
public:
  explicit TTextStyle(TCollection* ACollection);
  ~TTextStyle() override;

  static void Published(TPublished<TTextStyle>& P);

  TColor GetColor() const { return FColor; }
  // A differing colour is stored and stops following the editor.
  void SetColor(TColor Value);
  TMemoFont* GetFont() const { return FFont.get(); }
  // Assigns Value into the style's own font.
  void SetFont(TMemoFont* Value);
  TUpdateMemoColors GetUpdateMemoColors() const { return FUpdateMemoColors; }
  void SetUpdateMemoColors(TUpdateMemoColors Value);
  bool GetUseMemoColor() const { return FUseMemoColor; }
  // True is refused while the style drives the editor's colours.
  void SetUseMemoColor(bool Value);
  bool GetUseMemoFont() const { return FUseMemoFont; }
  void SetUseMemoFont(bool Value);
  bool GetUpperCase() const { return FUpperCase; }
  void SetUpperCase(bool Value);
  // Solid, in Color; what painting fills the style's background with.
  TBrush* GetBrush() const { return FBrush.get(); }

  // Pushes the style's colours into the owning editor per UpdateMemoColors.
  void ApplyToMemo();

private:
  friend class TTextStyles;
  TTextStyles* Styles() const;
  TTextStylesHost* Host() const;
  bool IsColorStored() const { return !FUseMemoColor; }
  bool IsFontStored() const { return !FUseMemoFont; }
  void FontChanged(TObject* Sender);
  // Takes the editor's colour / font / font name and size while keeping
  // the following flags as they are.
  void TakeMemoColor(TColor Value);
  void TakeMemoFont(TFont* Value, bool NameAndSizeOnly);

  TColor FColor = clWindow;
  std::unique_ptr<TMemoFont> FFont;
  std::unique_ptr<TBrush> FBrush;
  TUpdateMemoColors FUpdateMemoColors = mcNone;
  bool FUseMemoColor = true;
  bool FUseMemoFont = true;
  bool FUpperCase = false;
};

class TTextStyles : public TDCNamedItems {
  SX_CLASS(TTextStyles, TDCNamedItems)
public:
  // AOwner is borrowed: an editor (TTextStylesHost), the options, or nil.
  explicit TTextStyles(TPersistent* AOwner);

  // The number of default styles and the index URL highlighting writes.
  static constexpr Integer DefaultStyleCount = 25;
  static constexpr Integer UrlStyle = 12;

  // Raises EListError out of range.
  TTextStyle* GetItem(Integer Index) const { return static_cast<TTextStyle*>(Items(Index)); }
  void Assign(TPersistent* Source) override;
  // The closing EndUpdate lets an owning editor catch up (TTextStylesHost::StylesUpdated).
  void EndUpdate() override;
  // Clears the set and builds the 25 default styles.
  void SetDefaultStyles();
  // Styles following the editor take its colour and font again; every
  // style takes the editor font's name and size.
  void UpdateFromMemo();
  // Largest average character width and height over the styles' fonts
  // (in screen pixels); -1 without styles.
  Integer MaxCharWidth() const;
  Integer MaxFontHeight() const;

  // Colour-scheme files. SaveToFile writes under FileName with its extension
  // replaced by ".RGB" and returns that name. Both raise the text object
  // form's exceptions for unreadable or unwritable files.
  void LoadFromFile(const AnsiString& FileName);
  AnsiString SaveToFile(const AnsiString& FileName);
  // The same through the open and save dialogs ("Load color styles", "Save
  // color styles"); false when the user cancelled. Defined with the
  // editor's dialogs (editor/dialogs/TextStylesDialogs.cpp).
  bool LoadWithDialog();
  bool SaveWithDialog();

  // Set while a colour scheme is being applied (the options dialog).
  bool ApplyingScheme = false;

  TTextStylesHost* Host() const;

private:
  friend class TTextStyle;
  // A style's font or case changed. Unless forced, a monospaced editor
  // keeps its layout; inside an update bracket the re-parse waits for
  // the closing EndUpdate.
  void ParserAttrsChanged(bool Force);
  bool FReparsePending = false;
};

// The name of style I of the default set ("Whitespace", "String", …).
AnsiString DefaultTextStyleName(Integer I);

// The global editor options as the syntax schemes read them: their text
// styles, font and colour. The options unit installs the function that
// returns them (creating the global options on first use); a program
// without one has no global styles, and schemes that ask for them keep
// their own look.
struct TGlobalTextLook {
  TTextStyles* Styles = nullptr;  // borrowed
  TFont* Font = nullptr;          // borrowed
  TColor Color = clWindow;
};
using TGlobalTextLookSource = TGlobalTextLook (*)();
// Returns the previous source.
TGlobalTextLookSource SetGlobalTextLookSource(TGlobalTextLookSource Source);
// False when no source is installed.
bool GetGlobalTextLook(TGlobalTextLook& Look);
// The style of the global set with that name (ignoring case), or nil.
TTextStyle* FindGlobalTextStyle(const TGlobalTextLook& Look, const AnsiString& Name);
