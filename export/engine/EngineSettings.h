// EngineSettings.h — the settings objects an engine owns and callers edit: page
// description with the paper table, preferences, document information,
// borders, frames, text effects, image settings, paragraph formatting and
// table settings. All are copied by Assign; an engine never adopts a
// caller's object.
//
// Lengths are kept in pixels; the page, formatting and table settings read
// and write them through a unit factor that the engine (or a shared
// TgtDocSettings) pushes when its measurement unit changes, so a page keeps
// its physical size whatever unit it is seen in.
#pragma once
#include "export/engine/EngineBasics.h"
#include "platform/gdi/Bitmap.h"
#include "export/engine/WriterUtils.h"
#include "platform/rtl/Persistent.h"

class TgtCustomDocumentEngine;
class TgtDocSettings;

enum TgtPaperSize : Byte {
  Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A4Small, A5, B4, B5,
  Folio, Quarto, ps10X14, ps11X17, Note, Env10, Env11, Env12, Env14, CSheet, DSheet, ESheet, EnvDL,
  EnvC5, EnvC3, EnvC4, EnvC6, EnvC65, EnvB4, EnvB5, EnvB6, EnvItaly, EnvMonarch, EnvPersonal,
  FanfoldUS, FanfoldStdGerman, ISOB4, Custom
};
enum TPrinterOrientation : Byte { poPortrait, poLandscape };

// Width and height of a table size in inches (portrait); false for Custom.
bool PaperSizeInches(TgtPaperSize Size, double& Width, double& Height);

class TgtPageSettings : public TPersistent {
public:
  // Owner: the engine, a TgtDocSettings (whose linked engines follow this
  // object's changes) or nil.
  explicit TgtPageSettings(TgtDocSettings* SettingsOwner = nullptr);
  void Assign(TPersistent* Source) override;

  TgtPaperSize GetPaperSize() const { return FPaperSize; }
  void SetPaperSize(TgtPaperSize Value);
  TPrinterOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TPrinterOrientation Value);
  // In the unit of the factor.
  double GetWidth() const { return FWidth / FFactor; }
  void SetWidth(double Value);
  double GetHeight() const { return FHeight / FFactor; }
  void SetHeight(double Value);
  double GetLeftMargin() const { return FLeftMargin / FFactor; }
  void SetLeftMargin(double Value) { SetLength(&TgtPageSettings::FLeftMargin, Value); }
  double GetRightMargin() const { return FRightMargin / FFactor; }
  void SetRightMargin(double Value) { SetLength(&TgtPageSettings::FRightMargin, Value); }
  double GetTopMargin() const { return FTopMargin / FFactor; }
  void SetTopMargin(double Value) { SetLength(&TgtPageSettings::FTopMargin, Value); }
  double GetBottomMargin() const { return FBottomMargin / FFactor; }
  void SetBottomMargin(double Value) { SetLength(&TgtPageSettings::FBottomMargin, Value); }
  double GetHeaderHeight() const { return FHeaderHeight / FFactor; }
  void SetHeaderHeight(double Value) { SetLength(&TgtPageSettings::FHeaderHeight, Value); }
  double GetFooterHeight() const { return FFooterHeight / FFactor; }
  void SetFooterHeight(double Value) { SetLength(&TgtPageSettings::FFooterHeight, Value); }
  Integer GetBinNumber() const { return FBinNumber; }
  void SetBinNumber(Integer Value) { FBinNumber = Value; }

  double GetUnitFactor() const { return FFactor; }
  void SetUnitFactor(double Value) { FFactor = Value; }

  // Stored pixels, whatever the factor.
  double WidthPx() const { return FWidth; }
  double HeightPx() const { return FHeight; }
  double LeftMarginPx() const { return FLeftMargin; }
  double RightMarginPx() const { return FRightMargin; }
  double TopMarginPx() const { return FTopMargin; }
  double BottomMarginPx() const { return FBottomMargin; }
  double HeaderHeightPx() const { return FHeaderHeight; }
  double FooterHeightPx() const { return FFooterHeight; }

private:
  using TLength = double TgtPageSettings::*;
  void SetLength(TLength Field, double Value);
  TgtDocSettings* FSettingsOwner;
  double FFactor = 1.0;
  TgtPaperSize FPaperSize = A4;
  TPrinterOrientation FOrientation = poPortrait;
  Integer FBinNumber = 0;
  double FWidth = 0, FHeight = 0, FLeftMargin = 0, FRightMargin = 0, FTopMargin = 0,
         FBottomMargin = 0, FHeaderHeight = 0, FFooterHeight = 0;
};

class TgtPreferences : public TPersistent {
public:
  explicit TgtPreferences(TgtDocSettings* SettingsOwner = nullptr) : FSettingsOwner(SettingsOwner) {}
  void Assign(TPersistent* Source) override;

  bool GetProcessAfterEachPage() const { return FProcessAfterEachPage; }
  void SetProcessAfterEachPage(bool V) { SetFlag(&TgtPreferences::FProcessAfterEachPage, V); }
  bool GetOutputToUserStream() const { return FOutputToUserStream; }
  void SetOutputToUserStream(bool V) { SetFlag(&TgtPreferences::FOutputToUserStream, V); }
  bool GetOpenAfterCreate() const { return FOpenAfterCreate; }
  void SetOpenAfterCreate(bool V) { SetFlag(&TgtPreferences::FOpenAfterCreate, V); }
  bool GetEmailAfterCreate() const { return FEmailAfterCreate; }
  void SetEmailAfterCreate(bool V) { SetFlag(&TgtPreferences::FEmailAfterCreate, V); }
  bool GetShowSetupDialog() const { return FShowSetupDialog; }
  void SetShowSetupDialog(bool V) { SetFlag(&TgtPreferences::FShowSetupDialog, V); }
  // Not shared through a TgtDocSettings.
  bool GetCalculateVariables() const { return FCalculateVariables; }
  void SetCalculateVariables(bool V) { FCalculateVariables = V; }

private:
  using TFlag = bool TgtPreferences::*;
  void SetFlag(TFlag Field, bool Value);
  TgtDocSettings* FSettingsOwner;
  bool FProcessAfterEachPage = false, FOutputToUserStream = false, FOpenAfterCreate = true,
       FEmailAfterCreate = false, FShowSetupDialog = true, FCalculateVariables = true;
};

class TgtDocInfo : public TPersistent {
public:
  explicit TgtDocInfo(TgtDocSettings* SettingsOwner = nullptr) : FSettingsOwner(SettingsOwner) {}
  void Assign(TPersistent* Source) override;
  const WideString& GetAuthor() const { return FAuthor; }
  void SetAuthor(const WideString& V) { SetText(&TgtDocInfo::FAuthor, V); }
  const WideString& GetSubject() const { return FSubject; }
  void SetSubject(const WideString& V) { SetText(&TgtDocInfo::FSubject, V); }
  const WideString& GetCreator() const { return FCreator; }
  void SetCreator(const WideString& V) { SetText(&TgtDocInfo::FCreator, V); }
  const WideString& GetTitle() const { return FTitle; }
  void SetTitle(const WideString& V) { SetText(&TgtDocInfo::FTitle, V); }
  const WideString& GetKeywords() const { return FKeywords; }
  void SetKeywords(const WideString& V) { SetText(&TgtDocInfo::FKeywords, V); }

private:
  using TText = WideString TgtDocInfo::*;
  void SetText(TText Field, const WideString& Value);
  TgtDocSettings* FSettingsOwner;
  WideString FAuthor, FSubject, FCreator, FTitle, FKeywords;
};

class TgtBorder : public TPersistent {
public:
  void Assign(TPersistent* Source) override;
  bool DrawLeft = false, DrawRight = false, DrawTop = false, DrawBottom = false;
  TColor Color = clBlack;
  TPenStyle Style = psSolid;
  Integer Width = 1;
};

class TgtParaBorder : public TgtBorder {
public:
  void Assign(TPersistent* Source) override;
  Integer Spacing = 0;
};

enum TgtTextRenderMode : Byte { trmFill, trmStroke, trmFillStroke };
enum TgtTextRise : Byte { trNormal, trSuperscript, trSubscript };

class TgtTextEffects : public TPersistent {
public:
  void Assign(TPersistent* Source) override;
  TgtTextRenderMode TextRenderMode = trmFill;
  TgtTextRise TextRise = trNormal;
};

// Which sides of a box are drawn and its inner margins (in the engine's
// unit while linked to an engine).
class TgtFrame : public TPersistent {
public:
  explicit TgtFrame(TgtCustomDocumentEngine* Engine = nullptr) : FEngine(Engine) {}
  void Assign(TPersistent* Source) override;
  bool Left = true, Right = true, Top = true, Bottom = true;
  TgtDoubleRect Margins;
  // Pixels when linked to an engine, otherwise as stored.
  TgtDoubleRect GetMargins() const;

private:
  TgtCustomDocumentEngine* FEngine;
};

enum TgtOutputImageFormat : Byte { ifBMP, ifJPEG, ifGIF, ifPNG, ifMetafile, ifCCITT3, ifCCITT4 };

class TgtImageSettings : public TPersistent {
public:
  explicit TgtImageSettings(TgtCustomDocumentEngine* Engine = nullptr);
  void Assign(TPersistent* Source) override;
  TgtOutputImageFormat GetOutputImageFormat() const { return FOutputImageFormat; }
  // On an engine's own object the engine is asked first; a refused format
  // is reported with an error box and the old one kept.
  void SetOutputImageFormat(TgtOutputImageFormat Value);
  Integer SourceDPI;
  TPixelFormat ImagePixelFormat = pf24bit;
  Integer JPEGQuality = 100;
  bool Center = false, ActualSize = false, Stretch = false, Transparent = false,
       KeepAspectRatio = false, DrawFrame = false;
  Integer RotationAngle = 0;

private:
  TgtCustomDocumentEngine* FEngine;
  TgtOutputImageFormat FOutputImageFormat = ifBMP;
};

enum TgtHAlignment : Byte { haLeft, haRight, haCenter, haJustify };

class TgtTextFormatting : public TPersistent {
public:
  TgtTextFormatting() = default;
  void Assign(TPersistent* Source) override;
  double SpaceBefore = 0;
  double LineSpacing = 1.0;
  Byte Alignment = haLeft;
  TgtParaBorder Border;
  // Indents: stored pixels, read and written in the factor's unit.
  double GetLeftIndent() const { return FLeftIndent / FFactor; }
  void SetLeftIndent(double V) { FLeftIndent = V * FFactor; }
  double GetRightIndent() const { return FRightIndent / FFactor; }
  void SetRightIndent(double V) { FRightIndent = V * FFactor; }
  double GetFirstIndent() const { return FFirstIndent / FFactor; }
  void SetFirstIndent(double V) { FFirstIndent = V * FFactor; }
  double LeftIndentPx() const { return FLeftIndent; }
  double RightIndentPx() const { return FRightIndent; }
  double FirstIndentPx() const { return FFirstIndent; }
  double GetUnitFactor() const { return FFactor; }
  void SetUnitFactor(double V) { FFactor = V; }

private:
  double FLeftIndent = 0, FRightIndent = 0, FFirstIndent = 0, FFactor = 1.0;
};

class TgtTableSettings : public TPersistent {
public:
  void Assign(TPersistent* Source) override;
  double ColumnWidth = 100;   // pixels
  bool AutoSizeColumns = false, TitleRow = false;
  double GetRowHeight() const { return FRowHeight / FFactor; }
  void SetRowHeight(double V) { FRowHeight = V * FFactor; }
  double GetTitleRowHeight() const { return FTitleRowHeight / FFactor; }
  void SetTitleRowHeight(double V) { FTitleRowHeight = V * FFactor; }
  // Cell margins, pixels.
  TgtDoubleRect CellMargins;
  double RowHeightPx() const { return FRowHeight; }
  double TitleRowHeightPx() const { return FTitleRowHeight; }
  void SetRowHeightPx(double V) { FRowHeight = V; }
  void SetTitleRowHeightPx(double V) { FTitleRowHeight = V; }
  double GetUnitFactor() const { return FFactor; }
  void SetUnitFactor(double V) { FFactor = V; }

private:
  double FRowHeight = 20, FTitleRowHeight = 20, FFactor = 1.0;
};
