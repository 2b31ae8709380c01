#include "app/dragdrop/DragDropFormats.h"

#include <cstring>

#include "platform/ole/DataObject.h"
#include "platform/ole/DropFormats.h"
#include "platform/ole/OleStream.h"
#include "platform/rtl/ByteOrder.h"
#include "platform/rtl/Streams.h"
#include "platform/shell/ShlObj.h"
#include "platform/win/Clipboard.h"

// --- the simple-format machinery -----------------------------------------------------------------

bool TCustomSimpleClipboardFormat::DoGetData(IDataObject*, const STGMEDIUM& Medium) {
  std::string Bytes;
  if (Medium.tymed == TYMED_HGLOBAL) {
    if (!Medium.hGlobal) return false;
    if (GlobalSize(Medium.hGlobal) == 0) return true;
    Bytes = BytesFromGlobal(Medium.hGlobal);
    if (Bytes.empty()) return false;  // the lock failed
  } else if (Medium.tymed == TYMED_ISTREAM) {
    if (!Medium.pstm) return false;
    STATSTG Stat;
    if (!Succeeded(Medium.pstm->Stat(&Stat, STATFLAG_NONAME))) return false;
    if (Stat.cbSize == 0) return true;
    // The reader stops at what the stream really holds and at its own
    // limit, whatever size the stream claims.
    if (!ReadWholeStream(Medium.pstm, Bytes)) return false;
  } else
    return false;
  if (Bytes.empty()) return false;
  return ReadData(Bytes.data(), Bytes.size());
}

bool TCustomSimpleClipboardFormat::DoSetData(const FORMATETC& Format, STGMEDIUM& Medium) {
  const std::size_t Size = GetSize();
  if (Size == 0) return false;
  std::string Bytes(Size, '\0');
  if (Format.tymed & TYMED_ISTREAM) {
    if (!WriteData(Bytes.data(), Size)) return false;
    auto* S = new TMemoryStream;
    S->WriteBuffer(Bytes.data(), Integer(Size));
    auto* A = new TStreamAdapter(S, TStreamOwnership::soOwned);
    A->_AddRef();
    Medium.tymed = TYMED_ISTREAM;
    Medium.pstm = A;
    return true;
  }
  if (Format.tymed & TYMED_HGLOBAL) {
    if (!WriteData(Bytes.data(), Size)) return false;
    HGLOBAL H = GlobalFromBytes(Bytes.data(), Size);
    if (!H) return false;
    Medium.tymed = TYMED_HGLOBAL;
    Medium.hGlobal = H;
    return true;
  }
  return false;
}

// --- string and value bases ----------------------------------------------------------------------

bool TCustomStringClipboardFormat::ReadData(const void* Bytes, std::size_t Size) {
  Data.assign(static_cast<const char*>(Bytes), Size);
  if (TrimZeroes) {
    const std::size_t Zero = Data.find('\0');
    if (Zero != std::string::npos) Data.resize(Zero);
  }
  return true;
}

bool TCustomStringClipboardFormat::WriteData(void* Buffer, std::size_t Size) {
  if (Data.size() + 1 < Size) return false;
  std::memcpy(Buffer, Data.data(), std::min(Size, Data.size()));
  return true;
}

std::size_t TCustomTextClipboardFormat::GetSize() {
  if (Data.empty()) return 0;
  return Data.back() == '\0' ? Data.size() : Data.size() + 1;
}

bool TCustomWideTextClipboardFormat::ReadData(const void* Bytes, std::size_t Size) {
  const Byte* B = static_cast<const Byte*>(Bytes);
  WideText.clear();
  for (std::size_t I = 0; I + 1 < Size; I += 2) WideText.push_back(char16_t(ByteOrder::ReadLE16(B + I)));
  return true;
}

bool TCustomWideTextClipboardFormat::WriteData(void* Buffer, std::size_t Size) {
  if (WideText.size() * 2 + 2 < Size) return false;
  Byte* B = static_cast<Byte*>(Buffer);
  for (std::size_t I = 0; I < WideText.size() && 2 * I + 1 < Size; ++I) ByteOrder::WriteLE16(B + 2 * I, WideText[I]);
  return true;
}

std::size_t TCustomWideTextClipboardFormat::GetSize() {
  if (WideText.empty()) return 0;
  return WideText.size() * 2 + (WideText.back() == 0 ? 0 : 2);
}

bool TCustomDWORDClipboardFormat::ReadData(const void* Bytes, std::size_t Size) {
  if (Size < 4) return false;
  Value = ByteOrder::ReadLE32(static_cast<const Byte*>(Bytes));
  return true;
}

bool TCustomDWORDClipboardFormat::WriteData(void* Buffer, std::size_t Size) {
  if (Size != 4) return false;
  ByteOrder::WriteLE32(static_cast<Byte*>(Buffer), Value);
  return true;
}

// --- concrete formats ----------------------------------------------------------------------------

CLIPFORMAT TTextClipboardFormat::GetClipboardFormat() { return CLIPFORMAT(CF_TEXT); }
CLIPFORMAT TPreferredDropEffectClipboardFormat::GetClipboardFormat() {
  return ClipboardFormatOf(CFSTR_PREFERREDDROPEFFECT);
}
CLIPFORMAT TPerformedDropEffectClipboardFormat::GetClipboardFormat() {
  return ClipboardFormatOf(CFSTR_PERFORMEDDROPEFFECT);
}
CLIPFORMAT TLogicalPerformedDropEffectClipboardFormat::GetClipboardFormat() {
  return ClipboardFormatOf(CFSTR_LOGICALPERFORMEDDROPEFFECT);
}
CLIPFORMAT TPasteSuccededClipboardFormat::GetClipboardFormat() { return ClipboardFormatOf(CFSTR_PASTESUCCEEDED); }
CLIPFORMAT TInShellDragLoopClipboardFormat::GetClipboardFormat() { return ClipboardFormatOf(CFSTR_INDRAGLOOP); }
CLIPFORMAT TTargetCLSIDClipboardFormat::GetClipboardFormat() { return ClipboardFormatOf(CFSTR_TARGETCLSID); }

bool TTargetCLSIDClipboardFormat::ReadData(const void* Bytes, std::size_t Size) {
  if (Size != 16) return false;
  const Byte* B = static_cast<const Byte*>(Bytes);
  CLSID.D1 = ByteOrder::ReadLE32(B);
  CLSID.D2 = ByteOrder::ReadLE16(B + 4);
  CLSID.D3 = ByteOrder::ReadLE16(B + 6);
  std::memcpy(CLSID.D4, B + 8, 8);
  return true;
}

bool TTargetCLSIDClipboardFormat::WriteData(void* Buffer, std::size_t Size) {
  if (Size != 16) return false;
  Byte* B = static_cast<Byte*>(Buffer);
  ByteOrder::WriteLE32(B, CLSID.D1);
  ByteOrder::WriteLE16(B + 4, CLSID.D2);
  ByteOrder::WriteLE16(B + 6, CLSID.D3);
  std::memcpy(B + 8, CLSID.D4, 8);
  return true;
}

// --- file group descriptors and contents -------------------------------------------------------

CLIPFORMAT TFileGroupDescritorClipboardFormat::GetClipboardFormat() { return ClipboardFormatOf(CFSTR_FILEDESCRIPTORA); }
CLIPFORMAT TFileGroupDescritorWClipboardFormat::GetClipboardFormat() {
  return ClipboardFormatOf(CFSTR_FILEDESCRIPTORW);
}

bool TFileGroupDescritorClipboardFormat::ReadData(const void* Data, std::size_t Size) {
  if (Size < 4) return false;
  const Byte* B = static_cast<const Byte*>(Data);
  const DWORD Count = ByteOrder::ReadLE32(B);
  if ((Size - 4) / ItemSize() != Count) return false;
  Descriptors.clear();
  for (DWORD I = 0; I < Count; ++I)
    Descriptors.emplace_back(reinterpret_cast<const char*>(B + 4 + I * ItemSize()), ItemSize());
  return true;
}

std::size_t TFileGroupDescritorClipboardFormat::GetSize() {
  return Descriptors.empty() ? 0 : Descriptors.size() * ItemSize() + 4;
}

bool TFileGroupDescritorClipboardFormat::WriteData(void* Buffer, std::size_t Size) {
  if (Size < 4 || (Size - 4) / ItemSize() != Descriptors.size()) return false;
  Byte* B = static_cast<Byte*>(Buffer);
  ByteOrder::WriteLE32(B, DWORD(Descriptors.size()));
  for (std::size_t I = 0; I < Descriptors.size(); ++I)
    std::memcpy(B + 4 + I * ItemSize(), Descriptors[I].data(), std::min(ItemSize(), Descriptors[I].size()));
  return true;
}

std::string TFileGroupDescritorClipboardFormat::FileName(std::size_t Index) const {
  const std::string& D = Descriptors.at(Index);
  const std::string Field = D.substr(NameOffset, NameLength);
  return Field.substr(0, Field.find('\0'));
}

void TFileGroupDescritorClipboardFormat::AddFileName(const std::string& Name) {
  std::string D(DescriptorSize, '\0');
  D.replace(NameOffset, std::min(Name.size(), NameLength - 1), Name, 0, NameLength - 1);
  D.resize(DescriptorSize);
  Descriptors.push_back(D);
}

std::string TFileGroupDescritorWClipboardFormat::FileName(std::size_t Index) const {
  const std::string& D = Descriptors.at(Index);
  std::u16string W;
  for (std::size_t I = 0; I < NameLength; ++I) {
    const char16_t C = char16_t(ByteOrder::ReadLE16(reinterpret_cast<const Byte*>(D.data()) + NameOffset + 2 * I));
    if (!C) break;
    W.push_back(C);
  }
  return WideToPath(W);
}

void TFileGroupDescritorWClipboardFormat::AddFileName(const std::string& Name) {
  std::string D(DescriptorSizeW, '\0');
  const WideString W = PathToWide(Name);
  for (std::size_t I = 0; I < W.size() && I + 1 < NameLength; ++I)
    ByteOrder::WriteLE16(reinterpret_cast<Byte*>(D.data()) + NameOffset + 2 * I, W[I]);
  Descriptors.push_back(D);
}

TFileContentsClipboardFormat::TFileContentsClipboardFormat() { SetIndex(0); }

CLIPFORMAT TFileContentsClipboardFormat::GetClipboardFormat() { return ClipboardFormatOf(CFSTR_FILECONTENTS); }

// --- data formats --------------------------------------------------------------------------------

void TTextDataFormat::SetText(const std::string& Value) {
  Changing();
  FText = Value;
}

void TTextDataFormat::Clear() {
  Changing();
  FText.clear();
}

bool TTextDataFormat::Assign(TClipboardFormat* Source) {
  if (auto* T = dynamic_cast<TTextClipboardFormat*>(Source)) {
    SetText(T->Text());
    return true;
  }
  if (auto* C = dynamic_cast<TFileContentsClipboardFormat*>(Source)) {
    SetText(C->Text());
    return true;
  }
  return TCustomDataFormat::Assign(Source);
}

bool TTextDataFormat::AssignTo(TClipboardFormat* Dest) {
  if (auto* T = dynamic_cast<TTextClipboardFormat*>(Dest)) {
    T->SetText(FText);
    return true;
  }
  if (auto* C = dynamic_cast<TFileContentsClipboardFormat*>(Dest)) {
    C->SetText(FText);
    return true;
  }
  // A text offered as a file: one descriptor naming the scrap.
  if (auto* G = dynamic_cast<TFileGroupDescritorClipboardFormat*>(Dest)) {
    G->Clear();
    G->AddFileName("Text scrap.txt");
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}

void TFeedbackDataFormat::Clear() {
  Changing();
  PreferredEffect = 0;
  PerformedEffect = 0;
  InShellDragLoop = false;
  GotInShellDragLoop = false;
}

bool TFeedbackDataFormat::Assign(TClipboardFormat* Source) {
  if (auto* F = dynamic_cast<TPreferredDropEffectClipboardFormat*>(Source)) PreferredEffect = F->Value;
  else if (auto* F = dynamic_cast<TPerformedDropEffectClipboardFormat*>(Source)) PerformedEffect = F->Value;
  else if (auto* F = dynamic_cast<TLogicalPerformedDropEffectClipboardFormat*>(Source))
    LogicalPerformedEffect = F->Value;
  else if (auto* F = dynamic_cast<TPasteSuccededClipboardFormat*>(Source)) PasteSucceededEffect = F->Value;
  else if (auto* F = dynamic_cast<TInShellDragLoopClipboardFormat*>(Source)) {
    InShellDragLoop = F->InShellDragLoop();
    GotInShellDragLoop = true;
  } else if (auto* F = dynamic_cast<TTargetCLSIDClipboardFormat*>(Source))
    TargetCLSID = F->CLSID;
  else
    return TCustomDataFormat::Assign(Source);
  return true;
}

bool TFeedbackDataFormat::AssignTo(TClipboardFormat* Dest) {
  if (auto* F = dynamic_cast<TPreferredDropEffectClipboardFormat*>(Dest)) F->Value = PreferredEffect;
  else if (auto* F = dynamic_cast<TPerformedDropEffectClipboardFormat*>(Dest)) F->Value = PerformedEffect;
  else if (auto* F = dynamic_cast<TLogicalPerformedDropEffectClipboardFormat*>(Dest))
    F->Value = LogicalPerformedEffect;
  else if (auto* F = dynamic_cast<TPasteSuccededClipboardFormat*>(Dest)) F->Value = PasteSucceededEffect;
  else if (auto* F = dynamic_cast<TInShellDragLoopClipboardFormat*>(Dest)) F->SetInShellDragLoop(InShellDragLoop);
  else if (auto* F = dynamic_cast<TTargetCLSIDClipboardFormat*>(Dest))
    F->CLSID = TargetCLSID;
  else
    return TCustomDataFormat::AssignTo(Dest);
  return true;
}

bool TFeedbackDataFormat::HasData() {
  return PreferredEffect || PerformedEffect || PasteSucceededEffect || GotInShellDragLoop;
}

bool TFeedbackDataFormat::NeedsData() {
  return !(PreferredEffect && PerformedEffect && PasteSucceededEffect && GotInShellDragLoop);
}

void RegisterDragDropFormatsUnit() {
  AddDataFormatClass(TTextDataFormat::StaticClass());
  const TConversionScopes Both{scSource, scTarget};
  const TDataDirections Read{ddRead}, Write{ddWrite};
  MapDataFormat(TTextDataFormat::StaticClass(), TTextClipboardFormat::StaticClass(), 0, Both, Read);
  MapDataFormat(TTextDataFormat::StaticClass(), TFileContentsClipboardFormat::StaticClass(), 1, Both, Read);
  MapDataFormat(TTextDataFormat::StaticClass(), TFileGroupDescritorClipboardFormat::StaticClass(), 1, {scSource},
                Read);
  MapDataFormat(TTextDataFormat::StaticClass(), TFileGroupDescritorWClipboardFormat::StaticClass(), 1, {scSource},
                Read);
  MapDataFormat(TFeedbackDataFormat::StaticClass(), TPreferredDropEffectClipboardFormat::StaticClass(), 0, Both, Read);
  MapDataFormat(TFeedbackDataFormat::StaticClass(), TPerformedDropEffectClipboardFormat::StaticClass(), 0, Both,
                Write);
  MapDataFormat(TFeedbackDataFormat::StaticClass(), TPasteSuccededClipboardFormat::StaticClass(), 0, Both, Write);
  MapDataFormat(TFeedbackDataFormat::StaticClass(), TInShellDragLoopClipboardFormat::StaticClass(), 0, Both, Read);
  MapDataFormat(TFeedbackDataFormat::StaticClass(), TTargetCLSIDClipboardFormat::StaticClass(), 0, Both, Write);
  MapDataFormat(TFeedbackDataFormat::StaticClass(), TLogicalPerformedDropEffectClipboardFormat::StaticClass(), 0,
                Both, Write);
}
