// Clipbrd.h — TClipboard, the class library's view of the clipboard: text,
// any registered format as bytes or as a handle, and bitmaps. Each call
// opens and closes the clipboard unless the caller holds it open (Open and
// Close nest); a clipboard that cannot be opened raises EClipboardException.
//
// Data handed to the clipboard belongs to it; data read is copied out.
#pragma once
#include "platform/rtl/Strings.h"
#include "platform/win/Clipboard.h"

class TBitmap;
class TPersistent;

class EClipboardException : public Exception {
public:
  using Exception::Exception;
};

class TClipboard : public TPersistent {
  SX_CLASS(TClipboard, TPersistent)
public:
  TClipboard() = default;
  ~TClipboard() override;
  void Open();
  void Close();
  void Clear();
  bool HasFormat(UINT Format) const;
  Integer FormatCount() const;
  UINT Formats(Integer Index) const;

  // CF_TEXT; setting it empties the clipboard first.
  AnsiString GetAsText();
  void SetAsText(const AnsiString& Value);
  // Adds Data under Format without emptying what is there (a second format
  // of the same content).
  void SetBuffer(UINT Format, const void* Data, size_t Size);
  // The bytes held under Format (the whole global block); empty when none.
  AnsiString GetBuffer(UINT Format);
  HANDLE GetAsHandle(UINT Format);
  void SetAsHandle(UINT Format, HANDLE Value);

  // Bitmaps: a copy goes on the clipboard as CF_BITMAP; Assign from the
  // clipboard takes one back.
  void Assign(TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) override;

  // The window that opens the clipboard (the application's by default).
  static HWND OwnerWindow();

private:
  void Adding();
  Integer FOpenRefCount = 0;
  bool FEmptied = false;
};

// The process's clipboard object.
TClipboard* Clipboard();
