// The editor's clipboard: plain text through the memo source, and, with
// ClipboardType cbRtf, the selection as Rich Text Format beside it; the
// drop of a dragged selection; the standard edit-control messages; and the
// commands of the default popup menu.
#include <algorithm>
#include <cstring>

#include "editor/controls/DCMemo.h"
#include "editor/options/MemoLook.h"
#include "editor/text/MemoSource.h"
#include "editor/view/AttributeParser.h"
#include "platform/forms/Clipbrd.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/Streams.h"
#include "platform/win/EditControl.h"
#include "platform/win/Win.h"

namespace {
UINT RtfFormat() {
  static const UINT F = RegisterClipboardFormatA("Rich Text Format");
  return F;
}

bool RtfRoad(TCustomDCMemo& M) {
  TSimpleParser* P = M.GetSyntaxParser();
  return M.GetClipboardType() == cbRtf && (!P || dynamic_cast<TAttributeParser*>(P));
}
}  // namespace

void TCustomDCMemo::CopyToClipboard() {
  TCustomMemoSource* S = GetSource();
  S->CopyToClipboard();
  if (FClipboardType != cbRtf || !S->HasSelection()) return;
  TMemoryStream Rtf;
  ExportRtfToStream(&Rtf, true);
  const char Zero = 0;
  Rtf.Write(&Zero, 1);
  // Added beside the plain text the source has just put there.
  Clipboard()->SetBuffer(RtfFormat(), Rtf.Memory(), size_t(Rtf.GetSize()));
  TCustomMemoSource::SetBlockCopy(S->GetSelectionType() != stStreamSel);
}

void TCustomDCMemo::CutToClipboard() {
  TCustomMemoSource* S = GetSource();
  S->BeginUpdate(MemoCode::Cut);
  TUpdateGuard Update(*S, UpdateBegun);
  CopyToClipboard();
  S->DeleteSelection();
}

void TCustomDCMemo::PasteFromClipboard() {
  TCustomMemoSource* S = GetSource();
  if (S->GetReadOnly()) return;
  if (RtfRoad(*this) && ClipboardHasRtf()) {
    S->DeleteSelectionIfOverwrite();
    AnsiString Bytes = Clipboard()->GetBuffer(RtfFormat());
    // The RTF ends at its terminating zero, whatever the block's size.
    const size_t Nul = Bytes.find('\0');
    if (Nul != AnsiString::npos) Bytes.resize(Nul);
    if (GetClipboardOwner() != TClipboard::OwnerWindow()) TCustomMemoSource::SetBlockCopy(false);
    TStringStream Stream(Bytes);
    ImportRtf(&Stream);
    if (S->OnPasteFromClipboard.Assigned()) {
      TStringList Lines;
      Lines.SetText(Bytes);
      S->OnPasteFromClipboard(S, &Lines);
    }
    return;
  }
  S->PasteFromClipboard();
}

bool TCustomDCMemo::CanPaste() {
  if (GetReadOnly()) return false;
  return IsClipboardFormatAvailable(CF_TEXT) || (FClipboardType == cbRtf && ClipboardHasRtf());
}

bool TCustomDCMemo::DropSelection(bool Move) {
  TCustomMemoSource* S = GetSource();
  if (S->IsInSelection(S->GetCaretChar(), S->GetCaretLine())) return false;
  if (!RtfRoad(*this)) {
    if (Move)
      S->MoveSelectionToCaret();
    else
      S->CopySelectionToCaret();
    return true;
  }
  TMemoryStream Rtf;
  ExportRtfToStream(&Rtf, true);
  const bool OldBlock = TCustomMemoSource::GetBlockCopy();
  TCustomMemoSource::SetBlockCopy(S->GetSelectionType() == stBlockSel);
  S->BeginUndoBlock();
  try {
    TPosition* Target = S->CopyPosition(S->GetCaret());
    if (Move) S->DeleteSelection();
    S->RestorePosition(Target);
    Rtf.Seek(Int64(0), soBeginning);
    ImportRtf(&Rtf);
  } catch (...) {
    S->EndUndoBlock();
    TCustomMemoSource::SetBlockCopy(OldBlock);
    throw;
  }
  S->EndUndoBlock();
  TCustomMemoSource::SetBlockCopy(OldBlock);
  return true;
}

// ---------------------------------------------------------------------------
// Default popup menu commands

const char* TCustomDCMemo::MenuCaption(TMemoMenuCommand Command) {
  switch (Command) {
    case TMemoMenuCommand::Undo: return "&Undo";
    case TMemoMenuCommand::Cut: return "Cu&t";
    case TMemoMenuCommand::Copy: return "&Copy";
    case TMemoMenuCommand::Paste: return "&Paste";
    case TMemoMenuCommand::Delete: return "&Delete";
    case TMemoMenuCommand::SelectAll: return "Se&lect All";
  }
  return "";
}

bool TCustomDCMemo::CanUndoEdit() const {
  const TCustomMemoSource* S = GetSource();
  if (!S->CanUndo()) return false;
  // Every caret move leaves an undo record so that Undo puts the caret
  // back with the text; a list of nothing but moves has no edit to undo.
  const TUndoList& L = S->GetUndoList();
  for (Integer I = L.Count() - 1; I >= 0; --I)
    if (L.Items(I).Kind != ukCaretMove) return true;
  return false;
}

bool TCustomDCMemo::MenuCommandEnabled(TMemoMenuCommand Command) {
  TCustomMemoSource* S = GetSource();
  switch (Command) {
    case TMemoMenuCommand::Undo: return CanUndoEdit();
    case TMemoMenuCommand::Cut:
    case TMemoMenuCommand::Delete: return S->HasSelection() && !S->GetReadOnly();
    case TMemoMenuCommand::Copy: return S->HasSelection();
    case TMemoMenuCommand::Paste: return CanPaste();
    case TMemoMenuCommand::SelectAll: return true;
  }
  return false;
}

void TCustomDCMemo::RunMenuCommand(TMemoMenuCommand Command) {
  TCustomMemoSource* S = GetSource();
  switch (Command) {
    case TMemoMenuCommand::Undo: S->Undo(); break;
    case TMemoMenuCommand::Cut: CutToClipboard(); break;
    case TMemoMenuCommand::Copy: CopyToClipboard(); break;
    case TMemoMenuCommand::Paste: PasteFromClipboard(); break;
    case TMemoMenuCommand::Delete: S->DeleteSelection(); break;
    case TMemoMenuCommand::SelectAll: S->SelectAll(); break;
  }
}

// ---------------------------------------------------------------------------
// Edit-control messages

bool TCustomDCMemo::HandleEditMessage(TMessage& Message) {
  TCustomMemoSource* S = GetSource();
  switch (Message.Msg) {
    case WM_CUT: CutToClipboard(); break;
    case WM_COPY: CopyToClipboard(); break;
    case WM_PASTE: PasteFromClipboard(); break;
    case WM_CLEAR: S->Clear(); break;
    case WM_UNDO:
    case EM_UNDO: S->Undo(); break;
    case EM_CANUNDO: Message.Result = CanUndoEdit() ? 1 : 0; break;
    case EM_EMPTYUNDOBUFFER:
      S->ClearUndo();
      S->ClearRedo();
      break;
    case EM_GETLINECOUNT: Message.Result = S->GetLines()->GetCount(); break;
    case EM_LINEINDEX: {
      // The character index of the line's first character, line breaks
      // (CR LF) counted, as an edit control answers; -1 is the caret line.
      Integer Line = Integer(Message.WParam);
      if (Line == -1) Line = S->GetCaretLine();
      TStrings* Lines = S->GetLines();
      if (Line < 0 || (Line >= Lines->GetCount() && Line != 0)) {
        Message.Result = -1;
        break;
      }
      LRESULT Index = 0;
      for (Integer I = 0; I < Line && I < Lines->GetCount(); ++I) Index += LRESULT(Lines->GetStrings(I).size()) + 2;
      Message.Result = Index;
      break;
    }
    case EM_GETLINE: {
      const Integer Line = Integer(Message.WParam);
      auto* Buffer = reinterpret_cast<char*>(Message.LParam);
      Message.Result = 0;
      if (!Buffer || Line < 0 || Line >= S->GetLines()->GetCount()) break;
      Word Size;
      std::memcpy(&Size, Buffer, sizeof(Size));
      if (Size == 0) break;
      const AnsiString Text = S->GetLines()->GetStrings(Line);
      if (Text.empty()) {
        Buffer[0] = '\0';
        break;
      }
      const size_t N = std::min<size_t>(Size, Text.size());
      std::memcpy(Buffer, Text.data(), N);
      Message.Result = LRESULT(N);
      break;
    }
    case WM_GETTEXTLENGTH: Message.Result = LRESULT(GetText().size()); break;
    default: return false;
  }
  return true;
}
