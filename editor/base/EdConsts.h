// EdConsts.h — the editor library's resource texts: one string table holding
// every caption, label and message of the library, each text reached by its
// own identifier and loaded from the table when it is shown (LoadResText).
// The identifiers follow the table's order, grouped by where the texts
// appear.
#pragma once
#include "platform/rtl/Types.h"

namespace EdConsts {
enum TResTextId : Word {
  // Key mapping names.
  SKeyMapClassic,
  SKeyMapBrief,
  SKeyMapEpsilon,
  SKeyMapVisualStudio,
  // Colour scheme names.
  SSchemeDefaults,
  SSchemeClassic,
  SSchemeOcean,
  SSchemeTwilight,
  // Buttons of the Colors page.
  SSaveSchemeButton,
  SOpenSchemeButton,
  // Table-driven tokenizer.
  SAtLineChar,
  STokenListEmpty,
  // File systems, the resource writer and the memo source's backups.
  SErrorUpdatingResource,
  SCantDeleteFile,
  SCantRenameFile,
  SCantCreateTempFile,
  SErrorCode,
  SCantOpenFileForWriting,
  SCantMapFile,
  SCantMapView,
  SInvalidFileFormat,
  SNoResources,
  SResourceNotFound,
  // Editor status texts.
  SStatusModified,
  SStatusInsert,
  SStatusOverwrite,
  // Sorted lists.
  SDuplicateItem,
  // Colour-scheme files.
  SColorSchemeFilter,
  SLoadColorStyles,
  SSaveColorStyles,
  // Go-to-line and search dialog titles and prompts.
  SGotoLineCaption,
  SEnterLineNumber,
  SFindTextCaption,
  SReplaceTextCaption,
  // Search and replace engine.
  SInvalidTabRack,
  SInvalidBlockSearch,
  SCursorOutsideBlock,
  SSearchNotFound,
  SReplaceConfirm,
  // Registry storage.
  SUnsupportedRegType,
  // The editor's line hint and its popup menu.
  SLineHint,
  SMenuDelete,
  SMenuSelectAll,
  SMenuUndo,
  SMenuCut,
  SMenuCopy,
  SMenuPaste,
  // Find, replace and combined search dialogs.
  SFindOptions,
  STextToFind,
  SReplaceWith,
  SCaseSensitive,
  SWholeWordsOnly,
  SRegularExpressions,
  SPromptOnReplace,
  SDirection,
  SForward,
  SBackward,
  SScope,
  SGlobal,
  SSelectedText,
  SOrigin,
  SFromCursor,
  SEntireScope,
  SReplaceAllButton,
  SReplaceButton,
  SCloseButton,
  SFindButton,
  SLessButton,
  SMoreButton,
  SReplacementsMade,
  SFindReplaceCaption,
  SGoToCaption,
  SGoToLine,
  SGoToBookmark,
  SBookmarkNotFound,
  // The Editor page.
  SEditorPage,
  STabStops,
  SBlockIndent,
  SKeymapping,
  SEditorOptions,
  SAutoIndent,
  SSmartTab,
  SUseTabChar,
  SBackspaceUnindents,
  SShowLineNumbers,
  SLineNumbersOnGutter,
  SGroupUndo,
  SCursorBeyondEof,
  SKeepTrailingBlanks,
  SPersistentBlocks,
  SOverwriteBlocks,
  SDoubleClickLine,
  SFindTextAtCursor,
  SForceCutCopy,
  SUseSyntaxHighlight,
  SCursorBeyondEol,
  SSelectionBeyondEol,
  SOverwriteBlockCursor,
  SDisableDragging,
  // The Display page.
  SDisplayPage,
  SEditorFont,
  SUseMonoFont,
  SFontSize,
  SEditorMargin,
  SMarginColor,
  SGutterColor,
  SMarginStyle,
  SGutterStyle,
  SMarginWidth,
  SGutterWidth,
  SMarginPosition,
  SMarginVisible,
  SGutterVisible,
  SEditorGutter,
  SEditorColor,
  SUseReadOnlyColor,
  SReadOnlyColor,
  SDrawSpecialSymbols,
  SSymbolEof,
  SSymbolEol,
  SSymbolSpace,
  SSymbolTab,
  // The Colors page.
  SColorsPage,
  SElement,
  SColorSpeedSetting,
  STextAttributes,
  SBackgroundColor,
  SForegroundColor,
  SBold,
  SItalic,
  SUnderline,
  SUseDefaultsFor,
  SDefaultForeground,
  SDefaultBackground,
  // The options dialog and the shared dialog buttons.
  SPropertiesCaption,
  SOKButton,
  SCancelButton,
  SHelpButton,
  SCircularReference,
  // The editor's print dialog and print progress form.
  SPrintingStatus,
  SSearchingPrinters,
  SPrintingPagesCalc,
  SPrintCaption,
  SPrintSelectionCaption,
  SFileToPrint,
  SPrintSelectedBlock,
  SPrintOptions,
  SPrintSetup,
  SHeaderPageNumber,
  SPrintLineNumbers,
  SSyntaxPrint,
  SUseColor,
  SShowPrintProgress,
  SWrapLines,
  SLeftMargin,
  // Syntax scheme files.
  SCantReadScheme,
  SSchemeFileWord,
  ResTextCount
};

// Texts the library raises that live outside its own table: the class
// library's list index message and the pattern matcher's compile error.
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SInvalidMask = "%s is invalid mask at (%d)";
}  // namespace EdConsts

// The text of a table entry; empty for an identifier the table does not
// hold, as a string-table look-up of a missing entry gives.
AnsiString LoadResText(EdConsts::TResTextId Id);
