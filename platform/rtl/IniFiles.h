// IniFiles.h — settings files of "[Section]" headers and "Key=Value" lines.
//
// TCustomIniFile gives the typed reads and writes on top of a few string
// operations. Two stores sit behind it:
//   TIniFile     reads the file on every call and writes every change through
//                at once, keeping the file's other lines (comments included)
//                as they are, as the Windows profile functions do.
//   TMemIniFile  reads the file once into memory; changes reach the file only
//                with UpdateFile, which writes the whole content anew
//                (comments and lines without '=' are not kept).
// Both: section and key names compare without case; the first occurrence of
// a section or key wins; names and values are trimmed; lines that are neither
// a header nor a "Key=Value" line are skipped. Every write replaces the file
// atomically, so a crash leaves the old or the new file, never a mix.
#pragma once
#include <memory>
#include <vector>
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

class TStrings;
class TStringList;

class TCustomIniFile : public TObject {
public:
  explicit TCustomIniFile(AnsiString AFileName) : FFileName(std::move(AFileName)) {}
  const AnsiString& FileName() const { return FFileName; }

  virtual AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) const = 0;
  // Raises EIniFileException "Unable to write to <file>" when the file
  // cannot be written.
  virtual void WriteString(const AnsiString& Section, const AnsiString& Ident,
                           const AnsiString& Value) = 0;
  // The value as the class library's StrToIntDef reads it ("$1F" and "0x1F"
  // are hex); Default when missing or not a number.
  Integer ReadInteger(const AnsiString& Section, const AnsiString& Ident, Integer Default) const;
  void WriteInteger(const AnsiString& Section, const AnsiString& Ident, Integer Value);
  // Read as an integer: 0 is false, any other number true, anything else
  // gives Default. Written as "0" or "1".
  bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) const;
  void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);

  // The locale's float text (FloatToStr/StrToFloat); Default when missing or
  // not a number.
  double ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default) const;
  void WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value);

  // The key names of a section, in file order (Strings is cleared first).
  virtual void ReadSection(const AnsiString& Section, TStrings* Strings) const = 0;
  // The section names, in file order.
  virtual void ReadSections(TStrings* Strings) const = 0;
  // The section's lines as "Key=Value".
  virtual void ReadSectionValues(const AnsiString& Section, TStrings* Strings) const = 0;
  // True when the section holds at least one key: an empty "[Section]"
  // header alone does not count, as with the class library.
  bool SectionExists(const AnsiString& Section) const;
  bool ValueExists(const AnsiString& Section, const AnsiString& Ident) const;
  virtual void EraseSection(const AnsiString& Section) = 0;
  virtual void DeleteKey(const AnsiString& Section, const AnsiString& Ident) = 0;
  virtual void UpdateFile() = 0;

protected:
  [[noreturn]] void RaiseWriteError() const;

private:
  AnsiString FFileName;
};

class TIniFile : public TCustomIniFile {
public:
  explicit TIniFile(AnsiString AFileName) : TCustomIniFile(std::move(AFileName)) {}

  // A value wrapped in one pair of matching quotes ('…' or "…") is read
  // without them, as the Windows profile functions do.
  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                        const AnsiString& Default) const override;
  void WriteString(const AnsiString& Section, const AnsiString& Ident,
                   const AnsiString& Value) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) const override;
  void ReadSections(TStrings* Strings) const override;
  void ReadSectionValues(const AnsiString& Section, TStrings* Strings) const override;
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  // Every change is already in the file.
  void UpdateFile() override {}
};

class TMemIniFile : public TCustomIniFile {
public:
  // Reads the file when it exists; a missing file gives an empty ini.
  // An unreadable one raises EFOpenError.
  explicit TMemIniFile(AnsiString AFileName);
  ~TMemIniFile() override;

  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                        const AnsiString& Default) const override;
  void WriteString(const AnsiString& Section, const AnsiString& Ident,
                   const AnsiString& Value) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) const override;
  void ReadSections(TStrings* Strings) const override;
  void ReadSectionValues(const AnsiString& Section, TStrings* Strings) const override;
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  // Writes every section: its header, its lines, then an empty line.
  // Raises EFCreateError when the file cannot be written.
  void UpdateFile() override;

  void Clear();
  // The content as the file's lines, and back (replacing everything).
  void GetStrings(TStrings* List) const;
  void SetStrings(const TStrings* List);

private:
  struct TSection;
  TSection* FindSection(const AnsiString& Name) const;
  std::vector<std::unique_ptr<TSection>> FSections;
};
