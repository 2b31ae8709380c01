// DragDropFormats.h — the general clipboard formats of the drag-and-drop
// family: the simple-format machinery that moves one block of bytes
// between a medium (global memory or a stream) and a format's content, the
// text, wide-text and 32-bit value bases, the text format, the feedback
// formats through which source and target tell each other the drop effect,
// and the text and feedback data formats.
//
// A medium's bytes are whatever another program put there: ReadData gets
// exactly the medium's size and never reads past it.
#pragma once
#include <string>

#include "app/dragdrop/DragDrop.h"

// A format whose content is one block of bytes.
class TCustomSimpleClipboardFormat : public TClipboardFormat {
  SX_CLASS(TCustomSimpleClipboardFormat, TClipboardFormat)
public:
  TCustomSimpleClipboardFormat() : TClipboardFormat(TYMED_HGLOBAL | TYMED_ISTREAM) {}

protected:
  bool DoGetData(IDataObject* DataObject, const STGMEDIUM& Medium) override;
  // A stream when the description allows one, else global memory.
  bool DoSetData(const FORMATETC& Format, STGMEDIUM& Medium) override;
  virtual bool ReadData(const void* Data, std::size_t Size) = 0;
  // Fills exactly Size bytes (GetSize's answer) of Buffer.
  virtual bool WriteData(void* Buffer, std::size_t Size) = 0;
  virtual std::size_t GetSize() = 0;
};

// 8-bit bytes; with TrimZeroes cut at the first zero.
class TCustomStringClipboardFormat : public TCustomSimpleClipboardFormat {
  SX_CLASS(TCustomStringClipboardFormat, TCustomSimpleClipboardFormat)
public:
  std::string Data;
  bool TrimZeroes = false;
  void Clear() override { Data.clear(); }
  bool HasData() override { return !Data.empty(); }

protected:
  bool ReadData(const void* Bytes, std::size_t Size) override;
  bool WriteData(void* Buffer, std::size_t Size) override;
  std::size_t GetSize() override { return Data.size(); }
};

// Zero-ended 8-bit text.
class TCustomTextClipboardFormat : public TCustomStringClipboardFormat {
  SX_CLASS(TCustomTextClipboardFormat, TCustomStringClipboardFormat)
public:
  TCustomTextClipboardFormat() { TrimZeroes = true; }
  const std::string& Text() const { return Data; }
  void SetText(const std::string& Value) { Data = Value; }

protected:
  std::size_t GetSize() override;
};

// 16-bit text; a terminating zero read from the medium stays in the text.
class TCustomWideTextClipboardFormat : public TCustomSimpleClipboardFormat {
  SX_CLASS(TCustomWideTextClipboardFormat, TCustomSimpleClipboardFormat)
public:
  WideString WideText;
  void Clear() override { WideText.clear(); }
  bool HasData() override { return !WideText.empty(); }

protected:
  bool ReadData(const void* Bytes, std::size_t Size) override;
  bool WriteData(void* Buffer, std::size_t Size) override;
  std::size_t GetSize() override;
};

// One 32-bit value.
class TCustomDWORDClipboardFormat : public TCustomSimpleClipboardFormat {
  SX_CLASS(TCustomDWORDClipboardFormat, TCustomSimpleClipboardFormat)
public:
  DWORD Value = 0;
  void Clear() override { Value = 0; }

protected:
  bool ReadData(const void* Bytes, std::size_t Size) override;
  bool WriteData(void* Buffer, std::size_t Size) override;
  std::size_t GetSize() override { return 4; }
};

class TTextClipboardFormat : public TCustomTextClipboardFormat {
  SX_CLASS(TTextClipboardFormat, TCustomTextClipboardFormat)
public:
  CLIPFORMAT GetClipboardFormat() override;
};

class TPreferredDropEffectClipboardFormat : public TCustomDWORDClipboardFormat {
  SX_CLASS(TPreferredDropEffectClipboardFormat, TCustomDWORDClipboardFormat)
public:
  CLIPFORMAT GetClipboardFormat() override;
  bool HasData() override { return true; }
};

class TPerformedDropEffectClipboardFormat : public TCustomDWORDClipboardFormat {
  SX_CLASS(TPerformedDropEffectClipboardFormat, TCustomDWORDClipboardFormat)
public:
  CLIPFORMAT GetClipboardFormat() override;
};

class TLogicalPerformedDropEffectClipboardFormat : public TCustomDWORDClipboardFormat {
  SX_CLASS(TLogicalPerformedDropEffectClipboardFormat, TCustomDWORDClipboardFormat)
public:
  CLIPFORMAT GetClipboardFormat() override;
};

class TPasteSuccededClipboardFormat : public TCustomDWORDClipboardFormat {
  SX_CLASS(TPasteSuccededClipboardFormat, TCustomDWORDClipboardFormat)
public:
  CLIPFORMAT GetClipboardFormat() override;
};

// Read as a Boolean (not 0), written as 1 or 0.
class TInShellDragLoopClipboardFormat : public TCustomDWORDClipboardFormat {
  SX_CLASS(TInShellDragLoopClipboardFormat, TCustomDWORDClipboardFormat)
public:
  CLIPFORMAT GetClipboardFormat() override;
  bool InShellDragLoop() const { return Value != 0; }
  void SetInShellDragLoop(bool On) { Value = On ? 1 : 0; }
};

// A 16-byte class id, read and written only with size 16.
class TTargetCLSIDClipboardFormat : public TCustomSimpleClipboardFormat {
  SX_CLASS(TTargetCLSIDClipboardFormat, TCustomSimpleClipboardFormat)
public:
  CLIPFORMAT GetClipboardFormat() override;
  TCLSID CLSID;
  void Clear() override { CLSID = TCLSID{}; }
  bool HasData() override { return !CLSID.IsEmpty(); }

protected:
  bool ReadData(const void* Bytes, std::size_t Size) override;
  bool WriteData(void* Buffer, std::size_t Size) override;
  std::size_t GetSize() override { return 16; }
};

// The shell's file group descriptors: a 32-bit count, then that many
// descriptors (332 bytes with an 8-bit name of 260 characters at offset 72;
// the wide form 592 bytes with a 16-bit name). A block is taken only when
// its size holds exactly its count of descriptors.
class TFileGroupDescritorClipboardFormat : public TCustomSimpleClipboardFormat {
  SX_CLASS(TFileGroupDescritorClipboardFormat, TCustomSimpleClipboardFormat)
public:
  static constexpr std::size_t DescriptorSize = 332;
  static constexpr std::size_t NameOffset = 72;
  static constexpr std::size_t NameLength = 260;
  CLIPFORMAT GetClipboardFormat() override;
  // Each descriptor's bytes, DescriptorSize of them.
  std::vector<std::string> Descriptors;
  void Clear() override { Descriptors.clear(); }
  bool HasData() override { return !Descriptors.empty(); }
  // The name of descriptor Index (as the file system's bytes).
  virtual std::string FileName(std::size_t Index) const;
  // Appends a zeroed descriptor holding Name cut to NameLength characters.
  virtual void AddFileName(const std::string& Name);

protected:
  virtual std::size_t ItemSize() const { return DescriptorSize; }
  bool ReadData(const void* Data, std::size_t Size) override;
  bool WriteData(void* Buffer, std::size_t Size) override;
  std::size_t GetSize() override;
};

class TFileGroupDescritorWClipboardFormat : public TFileGroupDescritorClipboardFormat {
  SX_CLASS(TFileGroupDescritorWClipboardFormat, TFileGroupDescritorClipboardFormat)
public:
  static constexpr std::size_t DescriptorSizeW = 592;
  CLIPFORMAT GetClipboardFormat() override;
  std::string FileName(std::size_t Index) const override;
  void AddFileName(const std::string& Name) override;

protected:
  std::size_t ItemSize() const override { return DescriptorSizeW; }
};

// The first file's contents as text (index 0 of "FileContents").
class TFileContentsClipboardFormat : public TCustomTextClipboardFormat {
  SX_CLASS(TFileContentsClipboardFormat, TCustomTextClipboardFormat)
public:
  TFileContentsClipboardFormat();
  CLIPFORMAT GetClipboardFormat() override;
};

// --- data formats --------------------------------------------------------------------------------

class TTextDataFormat : public TCustomDataFormat {
  SX_CLASS(TTextDataFormat, TCustomDataFormat)
public:
  explicit TTextDataFormat(TDragDropComponent* AOwner) : TCustomDataFormat(AOwner, StaticClass()) {}
  const std::string& GetText() const { return FText; }
  void SetText(const std::string& Value);
  void Clear() override;
  bool Assign(TClipboardFormat* Source) override;
  bool AssignTo(TClipboardFormat* Dest) override;
  bool HasData() override { return !FText.empty(); }

private:
  std::string FText;
};

class TFeedbackDataFormat : public TCustomDataFormat {
  SX_CLASS(TFeedbackDataFormat, TCustomDataFormat)
public:
  explicit TFeedbackDataFormat(TDragDropComponent* AOwner) : TCustomDataFormat(AOwner, StaticClass()) {}
  DWORD PreferredEffect = 0;
  DWORD PerformedEffect = 0;
  DWORD LogicalPerformedEffect = 0;
  DWORD PasteSucceededEffect = 0;
  bool InShellDragLoop = false;
  bool GotInShellDragLoop = false;
  TCLSID TargetCLSID;
  // Resets the preferred and performed effects and the loop flags only.
  void Clear() override;
  bool Assign(TClipboardFormat* Source) override;
  bool AssignTo(TClipboardFormat* Dest) override;
  bool HasData() override;
  bool NeedsData() override;
};

// The map entries of this unit (called once, when the map is first used).
void RegisterDragDropFormatsUnit();
