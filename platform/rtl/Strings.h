// Strings.h — TStrings, the class library's abstract list of strings with an
// object per line, and TStringList, its stand-alone implementation.
//
// Descendants that keep their lines elsewhere (a memo's lines, a combo box's
// items) override the protected hooks Get, GetCount, GetObject, Put,
// PutObject, Insert, Delete, Clear and SetUpdateState; everything else (Text,
// CommaText, Names/Values, files and streams, Assign) works through them.
//
// Text rules. Reading Text ends every line, the last one too, with
// sLineBreak (CR LF, as the program's files are written on Windows). Setting
// Text breaks at CR LF, a lone CR or a lone LF (LF CR is two breaks); a break
// at the very end adds no empty line, and a NUL byte ends the text.
//
// Comparisons (IndexOf, IndexOfName, Find, Sort) go through CompareStrings:
// AnsiCompareText of the active code page unless CaseSensitive is on.
// The list never owns the objects attached to its lines.
#pragma once
#include <functional>
#include <vector>
#include "platform/rtl/Events.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Types.h"

class TStream;

inline constexpr const char* sLineBreak = "\r\n";

enum class TDuplicates { dupIgnore, dupAccept, dupError };
inline constexpr TDuplicates dupIgnore = TDuplicates::dupIgnore;
inline constexpr TDuplicates dupAccept = TDuplicates::dupAccept;
inline constexpr TDuplicates dupError = TDuplicates::dupError;

class TStrings : public TPersistent {
  SX_CLASS(TStrings, TPersistent)
public:
  // Raises EStringListError "List index out of bounds (%d)" on a bad index.
  AnsiString GetStrings(Integer Index) const { return Get(Index); }
  void SetStrings(Integer Index, const AnsiString& S) { Put(Index, S); }
  AnsiString operator[](Integer Index) const { return Get(Index); }
  TObject* GetObjects(Integer Index) const { return GetObject(Index); }
  void SetObjects(Integer Index, TObject* AObject) { PutObject(Index, AObject); }
  virtual Integer GetCount() const = 0;
  virtual Integer GetCapacity() const { return GetCount(); }
  virtual void SetCapacity(Integer /*NewCapacity*/) {}

  virtual Integer Add(const AnsiString& S);
  virtual Integer AddObject(const AnsiString& S, TObject* AObject);
  void AddStrings(const TStrings* Strings);
  void Append(const AnsiString& S) { Add(S); }
  virtual void Insert(Integer Index, const AnsiString& S) = 0;
  virtual void InsertObject(Integer Index, const AnsiString& S, TObject* AObject);
  virtual void Delete(Integer Index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(Integer Index1, Integer Index2);
  // Takes the line (with its object) out and puts it back at NewIndex.
  virtual void Move(Integer CurIndex, Integer NewIndex);
  virtual Integer IndexOf(const AnsiString& S) const;
  // The first line whose name part equals Name; -1 when none.
  virtual Integer IndexOfName(const AnsiString& Name) const;
  Integer IndexOfObject(const TObject* AObject) const;
  // Same count and the same lines, compared byte for byte.
  bool Equals(const TStrings* Strings) const;

  // Copies lines, objects and the delimiter settings of another TStrings.
  void Assign(TPersistent* Source) override;
  // Collapses change notifications: OnChanging at the first BeginUpdate,
  // OnChange at the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  AnsiString GetText() const { return GetTextStr(); }
  void SetText(const AnsiString& Value) { SetTextStr(Value); }
  // Lines joined by ',' and quoted with '"' where needed, whatever the
  // Delimiter and QuoteChar are.
  AnsiString GetCommaText() const;
  void SetCommaText(const AnsiString& Value);
  // A line is quoted when it holds a blank, a control byte, the quote or the
  // delimiter; a single empty line reads as two quotes. Setting splits at the
  // delimiter and at blanks outside quotes.
  AnsiString GetDelimitedText() const;
  void SetDelimitedText(const AnsiString& Value);
  char GetDelimiter() const { return FDelimiter; }
  void SetDelimiter(char Value) { FDelimiter = Value; }
  char GetQuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char Value) { FQuoteChar = Value; }
  char GetNameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char Value) { FNameValueSeparator = Value; }

  // "name=value" lines. A line without the separator has an empty name.
  AnsiString GetNames(Integer Index) const;
  AnsiString GetValues(const AnsiString& Name) const;
  // An empty value deletes the line; a new name is added at the end.
  void SetValues(const AnsiString& Name, const AnsiString& Value);
  // The text after the name and its separator. As in the class library, a
  // line without a separator loses its first character here.
  AnsiString GetValueFromIndex(Integer Index) const;
  void SetValueFromIndex(Integer Index, const AnsiString& Value);

  // The file or the rest of the stream becomes Text (bytes as they are).
  virtual void LoadFromFile(const AnsiString& FileName);
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToFile(const AnsiString& FileName) const;
  virtual void SaveToStream(TStream* Stream) const;

protected:
  // A form description keeps the lines as `Strings = ( 'a' 'b' )`.
  void DefineProperties(TFiler* Filer) override;
  virtual AnsiString Get(Integer Index) const = 0;
  virtual void Put(Integer Index, const AnsiString& S);
  virtual TObject* GetObject(Integer /*Index*/) const { return nullptr; }
  virtual void PutObject(Integer /*Index*/, TObject* /*AObject*/) {}
  virtual AnsiString GetTextStr() const;
  virtual void SetTextStr(const AnsiString& Value);
  // Called with true at the first BeginUpdate and false at the last EndUpdate.
  virtual void SetUpdateState(bool /*Updating*/) {}
  virtual Integer CompareStrings(const AnsiString& S1, const AnsiString& S2) const;
  [[noreturn]] static void IndexError(Integer Index);

private:
  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
  Integer FUpdateCount = 0;
};

class TStringList;
// Negative when the line at Index1 sorts before the one at Index2.
using TStringListSortCompare = std::function<int(TStringList* List, Integer Index1, Integer Index2)>;

class TStringList : public TStrings {
  SX_CLASS(TStringList, TStrings)
public:
  TStringList() = default;
  ~TStringList() override;

  // Sorted lists insert in order and apply Duplicates; the result is the
  // line's index (the existing line's index when a duplicate is ignored).
  // Raises EStringListError "String list does not allow duplicates" with
  // dupError.
  Integer Add(const AnsiString& S) override;
  Integer AddObject(const AnsiString& S, TObject* AObject) override;
  // Insert raises EStringListError "Operation not allowed on sorted list" on
  // a sorted list.
  void Insert(Integer Index, const AnsiString& S) override;
  void InsertObject(Integer Index, const AnsiString& S, TObject* AObject) override;
  void Delete(Integer Index) override;
  void Clear() override;
  void Exchange(Integer Index1, Integer Index2) override;
  Integer IndexOf(const AnsiString& S) const override;
  // Binary search; meaningful on a sorted list only. Index receives the
  // line's index, or where S would be inserted. With dupAccept it finds the
  // first of equal lines.
  bool Find(const AnsiString& S, Integer& Index) const;
  void Sort();
  // Quicksort, not stable; does nothing on a Sorted list.
  virtual void CustomSort(const TStringListSortCompare& Compare);

  Integer GetCount() const override { return static_cast<Integer>(FList.size()); }
  Integer GetCapacity() const override { return FCapacity; }
  void SetCapacity(Integer NewCapacity) override;
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates GetDuplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool GetCaseSensitive() const { return FCaseSensitive; }
  // A sorted list is sorted again under the new comparison.
  void SetCaseSensitive(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  AnsiString Get(Integer Index) const override;
  void Put(Integer Index, const AnsiString& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;
  Integer CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;
  virtual void Changed();
  virtual void Changing();

private:
  struct TStringItem {
    AnsiString FString;
    TObject* FObject = nullptr;
  };
  void CheckIndex(Integer Index) const;
  void InsertItem(Integer Index, const AnsiString& S, TObject* AObject);
  void Grow();
  void QuickSort(Integer L, Integer R, const TStringListSortCompare& Compare);

  std::vector<TStringItem> FList;
  Integer FCapacity = 0;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};
