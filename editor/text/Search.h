// Search.h — the search settings every memo source shares (TSearchOptions,
// kept in the registry under "SearchOptions\"), and the hook through which
// the find and replace dialogs reach the memo source's search engine
// (Search.cpp holds the engine itself: TCustomMemoSource::SearchText,
// ReplaceRun and the commands around them).
#pragma once
#include <functional>
#include "editor/base/OptionExt.h"
#include "platform/rtl/Types.h"

SX_ENUM(TSearchDirection, sdForward, sdBackward)
SX_ENUM(TSearchScope, ssGlobal, ssSelectedText)
SX_ENUM(TSearchOrigin, soFromCursor, soEntireScope)
SX_ENUM(TSearchWhere, swProjectFiles, swOpenFiles, swDirectories, swOther)

class TSearchOptions : public TOptionExt {
  SX_CLASS(TSearchOptions, TOptionExt)
public:
  TSearchOptions() = default;
  static void Published(TPublished<TSearchOptions>& P) {
    P.Property("CaseSensitive", &TSearchOptions::CaseSensitive, &TSearchOptions::CaseSensitive).Default(false);
    P.Property("WholeWordsOnly", &TSearchOptions::WholeWordsOnly, &TSearchOptions::WholeWordsOnly).Default(false);
    P.Property("RegularExpr", &TSearchOptions::RegularExpr, &TSearchOptions::RegularExpr).Default(false);
    P.Property("Direction", &TSearchOptions::Direction, &TSearchOptions::Direction).Default(sdForward);
    P.Property("Scope", &TSearchOptions::Scope, &TSearchOptions::Scope).Default(ssGlobal);
    P.Property("Origin", &TSearchOptions::Origin, &TSearchOptions::Origin).Default(soEntireScope);
    P.Property("PromptOnReplace", &TSearchOptions::PromptOnReplace, &TSearchOptions::PromptOnReplace).Default(false);
    P.Property("TextToFind", &TSearchOptions::TextToFind, &TSearchOptions::TextToFind);
    P.Property("ReplaceWith", &TSearchOptions::ReplaceWith, &TSearchOptions::ReplaceWith);
    P.Property("FirstSearch", &TSearchOptions::FirstSearch, &TSearchOptions::FirstSearch).Default(false);
    P.Property("InReplace", &TSearchOptions::InReplace, &TSearchOptions::InReplace).Default(false);
    P.Property("ReplaceAll", &TSearchOptions::ReplaceAll, &TSearchOptions::ReplaceAll).Default(false);
    P.Property("ShowNotFound", &TSearchOptions::ShowNotFound, &TSearchOptions::ShowNotFound).Default(false);
    P.Property("Where", &TSearchOptions::Where, &TSearchOptions::Where).Default(swDirectories);
    P.Property("FileMask", &TSearchOptions::FileMask, &TSearchOptions::FileMask);
    P.Property("IncludeSubDirs", &TSearchOptions::IncludeSubDirs, &TSearchOptions::IncludeSubDirs).Default(false);
  }
  AnsiString GetKeyName() override { return "SearchOptions\\"; }
  void SetDefaults() override;

  bool CaseSensitive = false;
  bool WholeWordsOnly = false;
  bool RegularExpr = false;
  TSearchDirection Direction = sdForward;
  TSearchScope Scope = ssGlobal;
  TSearchOrigin Origin = soEntireScope;
  bool PromptOnReplace = false;
  AnsiString TextToFind;
  AnsiString ReplaceWith;
  bool FirstSearch = false;
  bool InReplace = false;
  bool ReplaceAll = false;
  bool ShowNotFound = false;
  // Carried for multi-file search dialogs only.
  TSearchWhere Where = swDirectories;
  AnsiString FileMask;
  bool IncludeSubDirs = false;
};

// The process's search settings, made (and read from the registry) on first
// use. Never keep the pointer: the option unit frees it at its end.
TSearchOptions* GetSearchOptions();

class TCustomMemoSource;
// The find and replace dialogs are the editor's dialog unit's, registered by
// class name (EditorDialogs.h); they edit GetSearchOptions().

// The source of the editor that last received the focus, which the
// combined Find and Replace window acts on; nil when none.
TCustomMemoSource* CurrentSearchSource();
void SetCurrentSearchSource(TCustomMemoSource* Source);

// A source going away stops being the one a shown dialog reports to.
void SearchSourceDestroyed(TCustomMemoSource* Source);
// Runs when the current search source goes away (the dialog unit closes its
// Find and Replace window then); nil for none.
using TSearchSourceGoneHandler = void (*)();
void SetSearchSourceGoneHandler(TSearchSourceGoneHandler Handler);
// Runs after the editor of the current search source moved its caret, with
// the caret line's rectangle in screen pixels (the dialog unit moves its
// Find and Replace window off the line); nil for none.
using TSearchCaretMovedHandler = void (*)(const TRect& ScreenLine);
void SetSearchCaretMovedHandler(TSearchCaretMovedHandler Handler);
// Whether a caret move of Source concerns the handler (Source is current
// and a handler is set): editors measure the line only then.
bool SearchCaretMoveWanted(TCustomMemoSource* Source);
void SearchSourceCaretMoved(TCustomMemoSource* Source, const TRect& ScreenLine);
