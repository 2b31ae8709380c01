// Mask.h — an edit whose text follows an input mask: fixed characters stand
// in place, each open position takes only the kind of character its mask
// character allows, and empty positions show the blank character.
//
// Mask characters: L letter, l optional letter, A letter or digit, a optional
// one, C any character, c optional one, 0 digit, 9 optional digit, # optional
// digit or sign; > upper case and < lower case for what follows, <> neither;
// \ takes the next character literally; ! places a shorter text at the end;
// _ stands for a blank; : and / are the time and date separators. After the
// mask, ";0" keeps the fixed characters out of Text (";1", the default, keeps
// them) and a third field gives the blank character ('_' by default).
#pragma once
#include <vector>

#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Exceptions.h"

SX_DECLARE_EXCEPTION(EDBEditError, Exception);

// A mask read into positions; also used to format a text without an edit.
class TEditMaskFormat {
public:
  enum TCase : unsigned char { caseNone, caseUpper, caseLower };
  struct TCell {
    bool Literal = false;
    char Char = 0;  // the literal, or the mask character of an open position
    TCase Case = caseNone;
  };

  explicit TEditMaskFormat(const AnsiString& Mask);

  bool Empty() const { return FCells.empty(); }
  Integer Length() const { return Integer(FCells.size()); }
  const TCell& Cell(Integer Index) const { return FCells[size_t(Index)]; }
  bool SaveLiterals() const { return FSaveLiterals; }
  char Blank() const { return FBlank; }
  // The character as it goes into an open position (case applied), or 0
  // when the position does not take it.
  char Accept(Integer Index, char Ch) const;
  bool Required(Integer Index) const;
  // Text (with or without the fixed characters) into the edit text.
  AnsiString ToEditText(const AnsiString& Text) const;
  // The edit text into Text: blanks become spaces, fixed characters stay
  // only when they are saved.
  AnsiString ToText(const AnsiString& EditText) const;
  // The first required position left blank, or -1.
  Integer FirstMissing(const AnsiString& EditText) const;
  // The first open position at or after Index (Length() when none).
  Integer NextOpen(Integer Index) const;
  // The last open position before Index (-1 when none).
  Integer PreviousOpen(Integer Index) const;

private:
  std::vector<TCell> FCells;
  bool FSaveLiterals = true;
  bool FAlignRight = false;
  char FBlank = '_';
};

class TCustomMaskEdit : public TCustomEdit {
  SX_CLASS(TCustomMaskEdit, TCustomEdit)
public:
  explicit TCustomMaskEdit(TComponent* AOwner);

  const AnsiString& GetEditMask() const { return FEditMask; }
  // Keeps the current Text, put into the new mask.
  void SetEditMask(const AnsiString& Value);
  bool IsMasked() const { return !FEditMask.empty(); }
  // The text as the window shows it: fixed characters and blanks included.
  AnsiString GetEditText() const;
  void SetEditText(const AnsiString& Value);
  // The value: with a mask, blanks as spaces and fixed characters only when
  // the mask keeps them.
  AnsiString GetText() const;
  void SetText(const AnsiString& Value);
  // Raises EDBEditError, with the caret put on the first empty required
  // position, when a changed entry is incomplete.
  virtual void ValidateEdit();

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoEnter() override;
  // A text put in through the window (WM_SETTEXT and CM_TEXTCHANGED, as
  // a composite control does) is fitted into the mask.
  void Dispatch(TMessage& Message) override;

private:
  // Every position keeps its fixed character or takes what it accepts.
  AnsiString Fit(const AnsiString& Value) const;
  void Selection(Integer& Start, Integer& End);
  void PutEditText(const AnsiString& Value, Integer Caret);
  void BlankRange(Integer Start, Integer End, Integer Caret);

  AnsiString FEditMask;
  TEditMaskFormat FFormat{AnsiString()};
  AnsiString FEnterText;  // what Esc goes back to
};

class TMaskEdit : public TCustomMaskEdit {
  SX_CLASS(TMaskEdit, TCustomMaskEdit)
public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
  static void Published(TPublished<TMaskEdit>& P);
};

void RegisterMaskClasses();
