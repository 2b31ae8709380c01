#include "app/AppSettings.h"

#include <charconv>
#include "app/public_unit.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/IniFiles.h"

namespace {
const char* const General = "General";

void EnsureFolderOf(const AnsiString& FileName) {
  const AnsiString Dir = ExtractFileDir(FileName);
  if (!Dir.empty() && !ForceDirectories(Dir)) throw EFCreateError("Cannot create file \"" + FileName + "\"");
}

Integer ReadPageSize(const TIniFile& Ini, const char* Key, Integer Default) {
  Integer Value = 0;
  return ParsePdfPageSize(Ini.ReadString(General, Key, ""), Value) ? Value : Default;
}
}  // namespace

AnsiString OptionsFileName() { return DataDir() + "Options.ini"; }
AnsiString HotKeysFileName() { return DataDir() + "HotKeys.ini"; }
AnsiString ConfigListFileName() {
  return DataDir() + "config" + PathDelim + "rtf" + PathDelim + "config-files.txt";
}

bool ParsePdfPageSize(const AnsiString& Text, Integer& Value) {
  const AnsiString T = Trim(Text);
  Integer V = 0;
  const auto [End, Ec] = std::from_chars(T.data(), T.data() + T.size(), V);
  if (T.empty() || Ec != std::errc() || End != T.data() + T.size()) return false;
  if (V < MinPdfPageSize || V > MaxPdfPageSize) return false;
  Value = V;
  return true;
}

TGeneralOptions ReadGeneralOptions() {
  TGeneralOptions O;
  if (!FileExists(OptionsFileName())) return O;
  TIniFile Ini(OptionsFileName());
  O.StartMinimized = Ini.ReadBool(General, "Start Minimized", O.StartMinimized);
  O.ActivationHotKey = Ini.ReadString(General, "Activation HotKey", O.ActivationHotKey);
  O.IndentHotKey = Ini.ReadString(General, "Indent HotKey", O.IndentHotKey);
  O.ConvertHotKey = Ini.ReadString(General, "Convert HotKey", O.ConvertHotKey);
  O.PdfPageWidth = ReadPageSize(Ini, "PDF Page Width", O.PdfPageWidth);
  O.PdfPageHeight = ReadPageSize(Ini, "PDF Page Height", O.PdfPageHeight);
  O.ShowSetupDialog = Ini.ReadBool(General, "Show Setup Dialog", O.ShowSetupDialog);
  O.OpenAfterExport = Ini.ReadBool(General, "Open After Export", O.OpenAfterExport);
  O.DefaultExportFormat = Ini.ReadInteger(General, "Default Export Format", O.DefaultExportFormat);
  O.DefaultConfig = Ini.ReadString(General, "Default Config", "");
  return O;
}

void WriteGeneralOptions(const TGeneralOptions& O) {
  EnsureFolderOf(OptionsFileName());
  TIniFile Ini(OptionsFileName());
  Ini.WriteBool(General, "Start Minimized", O.StartMinimized);
  Ini.WriteString(General, "Indent HotKey", O.IndentHotKey);
  Ini.WriteString(General, "Convert HotKey", O.ConvertHotKey);
  Ini.WriteString(General, "Activation HotKey", O.ActivationHotKey);
  Ini.WriteInteger(General, "PDF Page Width", O.PdfPageWidth);
  Ini.WriteInteger(General, "PDF Page Height", O.PdfPageHeight);
  Ini.WriteInteger(General, "Default Export Format", O.DefaultExportFormat);
  Ini.WriteBool(General, "Show Setup Dialog", O.ShowSetupDialog);
  Ini.WriteBool(General, "Open After Export", O.OpenAfterExport);
  if (!O.DefaultConfig.empty()) Ini.WriteString(General, "Default Config", O.DefaultConfig);
}

AnsiString ReadConvertShortCutText(const AnsiString& ItemName) {
  if (ItemName.empty() || !FileExists(HotKeysFileName())) return "";
  TIniFile Ini(HotKeysFileName());
  return Ini.ReadString("HotKeys", ItemName, "");
}

void WriteConvertShortCutTexts(const TStrings& NamesAndTexts) {
  EnsureFolderOf(HotKeysFileName());
  TIniFile Ini(HotKeysFileName());
  for (Integer I = 0; I < NamesAndTexts.GetCount(); ++I)
    Ini.WriteString("HotKeys", NamesAndTexts.GetNames(I), NamesAndTexts.GetValueFromIndex(I));
}

void ReadConfigList(TStrings& List) {
  List.Clear();
  if (FileExists(ConfigListFileName())) List.LoadFromFile(ConfigListFileName());
}

void WriteConfigList(const TStrings& List) {
  EnsureFolderOf(ConfigListFileName());
  List.SaveToFile(ConfigListFileName());
}
