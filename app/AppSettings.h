// AppSettings.h — the program's own settings files in the data folder:
// "Options.ini" (section "General") and "HotKeys.ini" (section "HotKeys"),
// and the hidden list of code-formatting configurations. Each reader gives
// the documented default for a missing file, section, key or unreadable
// value; each writer creates the file (and its folder) and raises the class
// library's error when it cannot.
#pragma once
#include "platform/rtl/Strings.h"
#include "platform/rtl/Types.h"

// "Default Export Format": the number the settings file keeps.
enum TExportFormat : Integer {
  efHTML = 0, efPDF, efRTF, efLotus, efBitmap, efPNG, efJPG, efSVG, efQuattroPro, efExcel
};
constexpr Integer ExportFormatCount = 10;

// The page rectangle's right and bottom edge (pixels) of the PDF export:
// a value must leave room beside the 25-pixel margin and stay in the
// options dialog's range.
constexpr Integer MinPdfPageSize = 26;
constexpr Integer MaxPdfPageSize = 10000;

struct TGeneralOptions {
  bool StartMinimized = false;
  AnsiString ActivationHotKey = "Ctrl+$";
  AnsiString IndentHotKey = "Ctrl+*";
  AnsiString ConvertHotKey = "Alt+*";
  Integer PdfPageWidth = 600;
  Integer PdfPageHeight = 800;
  bool ShowSetupDialog = false;
  bool OpenAfterExport = false;
  Integer DefaultExportFormat = efHTML;
  AnsiString DefaultConfig;  // '' when not set
};

AnsiString OptionsFileName();   // DataDir + "Options.ini"
AnsiString HotKeysFileName();   // DataDir + "HotKeys.ini"
AnsiString ConfigListFileName();  // DataDir + "config/rtf/config-files.txt"

// Reads "Options.ini". A page size that is not a whole number in range
// reads as its default, so no road ever renders into an empty rectangle.
TGeneralOptions ReadGeneralOptions();
// Writes every value of "General" (other sections and keys stay).
void WriteGeneralOptions(const TGeneralOptions& Options);

// A page-size text as the dialog's edit holds it: true with the value when
// it is a whole number from MinPdfPageSize to MaxPdfPageSize.
bool ParsePdfPageSize(const AnsiString& Text, Integer& Value);

// "HotKeys.ini": the shortcut text kept for an item name ('' for none or a
// missing file) and the writer of all of them, one "name=text" per item.
AnsiString ReadConvertShortCutText(const AnsiString& ItemName);
void WriteConvertShortCutTexts(const TStrings& NamesAndTexts);

// The hidden configuration list: one name per line. The reader gives an
// empty list when the file is missing; the writer creates the folders.
void ReadConfigList(TStrings& List);
void WriteConfigList(const TStrings& List);
