// Loading and saving the memo source's text, and backups.
#include <unistd.h>

#include <climits>
#include <string>

#include "editor/base/EdConsts.h"
#include "editor/base/FileSystems.h"
#include "editor/base/SortedLists.h"
#include "editor/exchange/PlainText.h"
#include "editor/text/MemoSource.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Streams.h"

void TCustomMemoSource::LoadFromFile(const AnsiString& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TCustomMemoSource::LoadFromStream(TStream* Stream) {
  BeginUpdate(MemoCode::LoadFromStream);
  try {
    // Byte-order marks and NUL bytes are dealt with before the lines split.
    FLines->SetText(ReadPlainText(Stream));
  } catch (...) {
    EndUpdate();
    ClearUndo();
    throw;
  }
  FState = AllChangedStates;
  WidenChangedRange(0, INT_MAX);
  ResetPositions();
  SetCaretDirect(0, 0);
  EndUpdate();
  ClearUndo();
  SetModified(false);
}

void TCustomMemoSource::SaveToFile(const AnsiString& FileName) { FLines->SaveToFile(FileName); }

void TExternalStrings::SaveToStream(TStream* Stream) const {
  TCustomMemoSource& Src = *FSource;
  TInternalStrings& Store = *Src.FStrings;
  const bool OldRaw = Store.Raw;
  Store.Raw = true;
  try {
    const bool Exclude = Src.HasOption(soExcludeReadOnlyLines);
    if (Exclude || Src.GetOutFormat() != ofWindows) {
      const char* Eol = Src.GetOutFormat() == ofMac ? "\r" : Src.GetOutFormat() == ofUnix ? "\n" : "\r\n";
      AnsiString Buffer;
      for (Integer I = 0; I < Store.GetCount(); ++I) {
        const TStringItem* Item = Store.Item(I);
        if (Exclude && (Item->Flags & lfReadOnlyLine)) continue;
        Buffer += Item->Text;
        Buffer += Eol;
      }
      Stream->WriteBytes(Buffer);
    } else {
      Stream->WriteBytes(GetTextStr());
    }
  } catch (...) {
    Store.Raw = OldRaw;
    throw;
  }
  Store.Raw = OldRaw;
}

void TCustomMemoSource::GetBackupName(const AnsiString& FileName, AnsiString& BackFileName) {
  BackFileName = MakeBackupFileName(FileName);
  if (OnGetBackupName.Assigned()) OnGetBackupName(this, FileName, BackFileName);
}

void TCustomMemoSource::SaveToFileWithBackup(const AnsiString& FileName) {
  if (!FOptions.Contains(soCreateBackups)) {
    SaveToFile(FileName);
    return;
  }
  // The new text goes to disk first; the old file then becomes the backup
  // by a second name, and the new one replaces it in one step, so at no
  // moment is there no file under FileName. Any failure leaves the old file
  // and removes the temporary one.
  TAtomicFileStream Out(FileName);
  FLines->SaveToStream(&Out);
  TWin32FileSystem Files(nullptr);
  AnsiString BackFileName;
  GetBackupName(FileName, BackFileName);
  Files.DeleteFileChecked(BackFileName);
  if (::FileExists(FileName) && ::link(FileName.c_str(), BackFileName.c_str()) != 0) {
    // A file system without hard links, or a backup on another one: copy.
    try {
      TFileStream Old(FileName, fmOpenRead | fmShareDenyWrite);
      std::string Bytes(std::size_t(Old.GetSize()), '\0');
      if (!Bytes.empty()) Old.ReadBuffer(Bytes.data(), Integer(Bytes.size()));
      SaveFileAtomically(BackFileName, Bytes);
    } catch (const Exception&) {
      RaiseErrorFmt(LoadResText(EdConsts::SCantRenameFile), {FileName, BackFileName});
    }
  }
  Out.Commit();
}
