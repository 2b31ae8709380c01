#include "editor/controls/DCMemo.h"

#include <algorithm>
#include <climits>

#include "editor/exchange/DCHTMLExporter.h"
#include "editor/exchange/DCRTFExporter.h"
#include "editor/exchange/DCRtfImporter.h"
#include "editor/exchange/PlainText.h"
#include "editor/options/GutterBackground.h"
#include "editor/view/GutterImages.h"
#include "editor/options/MemoEnvOptions.h"
#include "platform/forms/Menus.h"
#include "editor/view/KeyMappings.h"
#include "editor/view/PopupHint.h"
#include "editor/view/PositionStore.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/Streams.h"

namespace {
// Change codes of the source's update brackets.
constexpr Integer ccLoadFromStream = 48;
constexpr Integer ccImport = 72;
}  // namespace

TCustomDCMemo::TCustomDCMemo(TComponent* AOwner)
    : TDCCustomControl(AOwner),
      FFont(std::make_unique<TMemoFont>(this)),
      FTextStyles(std::make_unique<TTextStyles>(this)) {
  FInternalSource = CreateMemoSource();
  FSelAttributes = std::make_unique<TMemoAttributes>(this);
  FPrinterFont = std::make_unique<TMemoFont>(this);
  FPrinterFont->SetName("Courier New");
  FPrinterFont->SetSize(10);
  FPrinterFont->SetColor(clBlack);
  FTemplateFont = std::make_unique<TFont>();
  FTemplateFont->SetName("MS Sans Serif");
  FTemplateFont->SetSize(8);
  FMarginPen = std::make_unique<TPen>();
  FMarginPen->SetWidth(1);
  FMarginPen->SetStyle(psSolid);
  FMarginPen->SetColor(clGrayText);
  FGutterBrush = std::make_unique<TBrush>();
  FGutterBrush->SetColor(clBtnFace);
  FGutterBrush->SetStyle(bsSolid);
  const TNotifyEvent Repaint(this, &TCustomDCMemo::LookChanged);
  FMarginPen->OnChange = Repaint;
  FGutterBrush->OnChange = Repaint;
  FMemoBackground = std::make_unique<TControlBackground>(this);
  FGutterImgs = std::make_unique<TDCGutterImages>(this);
  AddGutterImage(FGutterImgs.get(), "MEMO_BREAKPOINT", "BreakPoint", -1);
  for (Integer I = 0; I <= 9; ++I)
    AddGutterImage(FGutterImgs.get(), ("BIGBOOKMARK" + std::to_string(I)).c_str(), "Bookmark" + std::to_string(I), I);
  FGutterImgs->RebuildBookmarkMap();
  FGutterImgs->OnItemsChange = TNotifyEvent(this, &TCustomDCMemo::GutterImagesChanged);
  FLineSeparator = std::make_unique<TLineSeparator>(this);
  FLineHighlight = std::make_unique<TLineHighlight>(this);
  FSpecialSymbols = std::make_unique<TSpecialSymbols>(this);
  FGutterBackground = std::make_unique<TGutterBackground>(this);
  FFont->SetName("Courier New");
  FFont->SetSize(10);
  FFont->SetColor(clBlack);
  FFont->OnChange = TNotifyEvent(this, &TCustomDCMemo::FontChanged);
  FTextStyles->SetDefaultStyles();
  FOptions = TMemoOptions{moThumbTracking, moColorSyntax};
  SetBounds(GetLeft(), GetTop(), 185, 89);
  SetParentFont(false);
  SetColor(clWindow);
  FGutterBackColor = GetColor();
  FLineNumBackColor = GetColor();
  FLineNumColor = FFont->GetColor();
  SetParentColor(false);
  SetTabStop(true);
  SetCursor(crIBeam);
  SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
  FHintList = std::make_unique<TStringList>();
  FCompletionList = std::make_unique<TStringList>();
  FPopupHint = std::make_unique<TPopupHint>(nullptr);
  FPositions = std::make_unique<TMemoPostionStore>();
  AddOptionListener(this);
  AttachSource(GetSource());
  RegisterMemoKeyMappings();
  RebuildKeyMap();
  FCreated = true;
}

void TCustomDCMemo::AttachSource(TCustomMemoSource* Source) {
  FRowMetrics.clear();
  Source->AddEditor(false, TNotifierProc(this, &TCustomDCMemo::SourceChanged), nullptr);
  if (!Source->GetActiveEditor()) {
    Source->SetActiveEditor(this);
    Source->CaretMoveHook = TCaretMoveHook(this, &TCustomDCMemo::CaretMoveHook);
  }
}

void TCustomDCMemo::DetachSource(TCustomMemoSource* Source) {
  Source->RemoveEditor(TNotifierProc(this, &TCustomDCMemo::SourceChanged), this);
  if (Source->CaretMoveHook == TCaretMoveHook(this, &TCustomDCMemo::CaretMoveHook))
    Source->CaretMoveHook = TCaretMoveHook();
}

void TCustomDCMemo::InitDefaultKeys() { InitDefaultKeyMapping(this); }

void TCustomDCMemo::KeyDown(Word& Key, TShiftState Shift) {
  if (FPopupList && FPopupList->IsOpen()) return PopupListKeyDown(FPopupList.get(), Key, Shift);
  inherited::KeyDown(Key, Shift);
}

void TCustomDCMemo::Loaded() {
  inherited::Loaded();
  TCustomMemoSource* S = GetSource();
  S->SetCaret(0, 0);
  S->ClearUndo();
  S->ClearRedo();
  S->SetModified(false);
  InvalidateMetrics();
  FTopLine = FFirstColumn = 0;
  RecomputeWrap(0, INT_MAX);
  UpdateScrollBars();
}

TCustomDCMemo::~TCustomDCMemo() {
  FFont->OnChange = TNotifyEvent();
  FGutterImgs->OnItemsChange = TNotifyEvent();
  ClosePopupList();
  StopTracking();
  DetachSource(GetSource());
  // Owned components (the attribute parser) go while the memo source that
  // uses them is still here to hear of it.
  DestroyComponents();
  RemoveOptionListener(this);
  if (FMemoSource) FMemoSource->RemoveFreeNotification(this);
}

std::unique_ptr<TCustomMemoSource> TCustomDCMemo::CreateMemoSource() {
  return std::make_unique<TMemoSource>(nullptr);
}

TCustomMemoSource* TCustomDCMemo::GetSource() const {
  return FMemoSource ? FMemoSource : FInternalSource.get();
}

void TCustomDCMemo::SetMemoSource(TCustomMemoSource* Value) {
  if (Value == FMemoSource) return;
  TCustomMemoSource* Old = GetSource();
  FPositions->Save({Old->GetSerial(), FTopLine, FFirstColumn, Old->GetCaretPoint()});
  DetachSource(Old);
  if (FMemoSource) FMemoSource->RemoveFreeNotification(this);
  FMemoSource = Value;
  if (FMemoSource) FMemoSource->FreeNotification(this);
  TCustomMemoSource* New = GetSource();
  AttachSource(New);
  if (New->GetActiveEditor() != this && !(New->GetActiveEditor() && static_cast<TWinControl*>(New->GetActiveEditor())->Focused()))
    New->SetActiveEditor(this);
  RebuildKeyMap();
  TStoredPosition P;
  if (FPositions->Find(New->GetSerial(), P)) {
    New->BeginUpdate(MemoCode::MoveCaret);
    TUpdateGuard Update(*New, UpdateBegun);
    FTopLine = P.TopLine;
    FFirstColumn = P.FirstColumn;
    New->SetCaret(P.Caret.X, P.Caret.Y);
  }
  FLastCaret = New->GetCaretPoint();
  // A view taken over from a longer text must not stand past this one's end.
  if (!New->HasOption(soBeyondFileEnd)) FTopLine = std::min(FTopLine, std::max<Integer>(New->GetLineCount() - 1, 0));
  FBreaks.clear();
  FWrappedUpTo = 0;
  RecomputeWrap(0, INT_MAX);
  UpdateScrollBars();
  Invalidate();
}

void TCustomDCMemo::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMemoSource) {
    // The freed source is gone: only the internal one needs us now.
    FMemoSource = nullptr;
    AttachSource(FInternalSource.get());
    FBreaks.clear();
    FWrappedUpTo = 0;
    FTopLine = FFirstColumn = 0;
    RecomputeWrap(0, INT_MAX);
    Invalidate();
  }
}

void TCustomDCMemo::SetOptions(const TMemoOptions& Value) {
  if (FOptions == Value) return;
  FOptions = Value;
  // Special symbols and syntax colouring change what rows show.
  FRowMetrics.clear();
  if (FCreated) {
    RecomputeWrap(0, INT_MAX);
    UpdateScrollBars();
  }
  Invalidate();
}

void TCustomDCMemo::LookChanged(TObject* /*Sender*/) { Invalidate(); }

void TCustomDCMemo::SetGutterImgs(TDCGutterImages* Value) { FGutterImgs->Assign(Value); }

void TCustomDCMemo::GutterImagesChanged(TObject* /*Sender*/) {
  FGutterImgs->RebuildBookmarkMap();
  Invalidate();
}

void TCustomDCMemo::SetMemoBackground(TControlBackground* Value) { FMemoBackground->Assign(Value); }
void TCustomDCMemo::SetGutterBackground(TGutterBackground* Value) { FGutterBackground->Assign(Value); }
TBitmap* TCustomDCMemo::GetBackground() const { return FMemoBackground->GetBackground(); }
void TCustomDCMemo::SetBackground(TBitmap* Value) { FMemoBackground->SetBackground(Value); }
TBkgndOption TCustomDCMemo::GetBkgndOption() const { return FMemoBackground->GetBkgndOption(); }
void TCustomDCMemo::SetBkgndOption(TBkgndOption Value) { FMemoBackground->SetBkgndOption(Value); }

void TCustomDCMemo::SetReadOnlyColor(TColor Value) {
  if (Value == FReadOnlyColor) return;
  FReadOnlyColor = Value;
  Invalidate();
}

void TCustomDCMemo::SetClipboardType(TClipboardType Value) {
  FClipboardType = Value;
  if (Value == cbRtf && !ComponentState().Contains(csDesigning)) GetSelAttributes();
}

void TCustomDCMemo::SetHorzMaxPos(Integer Value) {
  if (Value < 40 || Value > 9999 || Value == FHorzMaxPos) return;
  FHorzMaxPos = Value;
  Invalidate();
}

void TCustomDCMemo::SetLeftIndent(Integer Value) {
  Value = std::max(Value, 0);
  if (Value == FLeftIndent) return;
  FLeftIndent = Value;
  Invalidate();
}

void TCustomDCMemo::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  UpdateBlockReduction();
  FFirstColumn = 0;
  FBreaks.clear();
  FWrappedUpTo = 0;
  RecomputeWrap(0, INT_MAX);
  UpdateScrollBars();
  Invalidate();
}

void TCustomDCMemo::SetUseMonoFont(bool Value) {
  if (Value == FUseMonoFont) return;
  FUseMonoFont = Value;
  UpdateBlockReduction();
  InvalidateMetrics();
  FRememberedX = -1;
  if (FCreated) {
    FBreaks.clear();
    FWrappedUpTo = 0;
    RecomputeWrap(0, INT_MAX);
    UpdateScrollBars();
    if (Focused()) CreateTheCaret();
  }
  Invalidate();
}

void TCustomDCMemo::SetBlockOption(TBlockOption Value) {
  FBlockReduced = false;
  GetSource()->SetBlockOption(Value);
}

void TCustomDCMemo::UpdateBlockReduction() {
  TCustomMemoSource* S = GetSource();
  const bool Reduce = FWordWrap || !FUseMonoFont;
  if (Reduce && !FBlockReduced) {
    FSavedBlockOption = S->GetBlockOption();
    if (FSavedBlockOption == bkBoth) S->SetBlockOption(bkStreamSel);
    else if (FSavedBlockOption == bkBlockSel) S->SetBlockOption(bkNone);
    FBlockReduced = true;
  } else if (!Reduce && FBlockReduced) {
    S->SetBlockOption(FSavedBlockOption);
    FBlockReduced = false;
  }
}

void TCustomDCMemo::StylesApplyMemoColors(TUpdateMemoColors Kind, TColor TextColor, TColor BackColor) {
  if (Kind != mcText) return;  // selection and match colours belong to painting
  FFont->SetColor(TextColor);
  SetColor(BackColor);
}

void TCustomDCMemo::StylesReparse() { GetSource()->InvalidateParseCache(); }

void TCustomDCMemo::StylesUpdated(bool Reparse) {
  if (Reparse) StylesReparse();
  // The styles' fonts set the row height (and, measured, the widths).
  InvalidateMetrics();
  if (FCreated && FWordWrap) {
    FBreaks.clear();
    FWrappedUpTo = 0;
    RecomputeWrap(0, INT_MAX);
  }
  Invalidate();
}

void TCustomDCMemo::SetUseGlobalOptions(bool Value) {
  if (Value == FUseGlobalOptions) return;
  if (Value) ApplyGlobalOptions();
  FUseGlobalOptions = Value;
  if (FMemoSource) return;
  if (!Value || !ComponentState().Contains(csLoading)) {
    FInternalSource->SetUseGlobalOptions(Value);
    return;
  }
  // Read from a form description the flag comes after the source settings
  // the description holds (StringsOptions, TabStops, BlockIndent): those
  // stand, or a form that limits the caret to the line end would lose it to
  // the shared defaults. Later changes of the shared options still reach
  // the source.
  TCustomMemoSource* S = FInternalSource.get();
  const TStringsOptions Options = S->GetOptions();
  const AnsiString TabStops = S->GetTabStops(), Delimeters = S->GetDelimeters();
  const Integer BlockIndent = S->GetBlockIndent();
  const bool KeepBlanks = S->GetKeepBlanks();
  S->SetUseGlobalOptions(true);
  S->SetOptions(Options);
  S->SetTabStops(TabStops);
  S->SetDelimeters(Delimeters);
  S->SetBlockIndent(BlockIndent);
  S->SetKeepBlanks(KeepBlanks);
}

void TCustomDCMemo::ApplyGlobalOptions() { ApplyGlobalOptionsTo(this); }

// ---------------------------------------------------------------------------
// Text

AnsiString TCustomDCMemo::GetText() const { return GetSource()->GetLines()->GetText(); }

void TCustomDCMemo::SetText(const AnsiString& Value) {
  TCustomMemoSource* S = GetSource();
  S->GetLines()->SetText(Value);
  S->SetCaret(0, 0);
}

// ---------------------------------------------------------------------------
// Style resolution

bool TCustomDCMemo::ParserStylesInUse() const {
  return GetSyntaxParser() && FOptions.Contains(moColorSyntax);
}

TFont* TCustomDCMemo::GetStyleFont(Integer Style) const {
  if (TSimpleParser* P = GetSyntaxParser())
    if (TFont* F = P->GetFont(Style)) return F;
  if (Style >= 0 && Style < FTextStyles->Count()) return FTextStyles->GetItem(Style)->GetFont();
  return FFont.get();
}

TColor TCustomDCMemo::GetStyleColor(Integer Style) const {
  TColor C = GetColor();
  TColor ParserColor;
  TSimpleParser* P = GetSyntaxParser();
  if (P && P->GetBackColor(Style, ParserColor)) {
    C = Integer(ParserColor) == -1 ? GetColor() : ParserColor;
  } else if (Style >= 0 && Style < FTextStyles->Count()) {
    C = FTextStyles->GetItem(Style)->GetColor();
  }
  if (FOptions.Contains(moUseReadOnlyColor) && GetReadOnly() && C == GetColor()) C = FReadOnlyColor;
  return C;
}

bool TCustomDCMemo::IsUpperCaseStyle(Integer Style) const {
  if (TSimpleParser* P = GetSyntaxParser())
    if (P->GetFont(Style)) return false;
  return Style >= 0 && Style < FTextStyles->Count() && FTextStyles->GetItem(Style)->GetUpperCase();
}

bool TCustomDCMemo::SameStyleLook(Integer A, Integer B, bool IgnoreBack) const {
  if (A < 0 || B < 0) return true;
  if (A == B) return true;
  if (!IgnoreBack && GetStyleColor(A) != GetStyleColor(B)) return false;
  if (IsUpperCaseStyle(A) != IsUpperCaseStyle(B)) return false;
  TFont* FA = GetStyleFont(A);
  TFont* FB = GetStyleFont(B);
  if (FA->GetHandle() != FB->GetHandle()) return false;
  return IgnoreBack || FA->GetColor() == FB->GetColor();
}

// ---------------------------------------------------------------------------
// Files

void TCustomDCMemo::LoadFromFile(const AnsiString& FileName) {
  TCustomMemoSource* S = GetSource();
  S->OpenFile(FileName);
  S->SetFileName(FileName);
}

void TCustomDCMemo::SaveToFile(const AnsiString& FileName) {
  TCustomMemoSource* S = GetSource();
  S->SaveToFileWithBackup(FileName);
  S->SetFileName(FileName);
}

void TCustomDCMemo::ImportFromFile(const AnsiString& FileName) {
  TFileStream Stream(FileName, fmOpenRead);
  ImportFromStream(&Stream);
}

void TCustomDCMemo::ImportFromStream(TStream* Stream) {
  TCustomMemoSource* S = GetSource();
  const bool OldAllowUndo = S->GetAllowUndo();
  S->SetAllowUndo(false);
  S->BeginUpdate(ccLoadFromStream);
  try {
    S->Clear();
    if (auto* P = dynamic_cast<TAttributeParser*>(S->GetSyntaxParser())) P->ClearStyles();
    ImportRtf(Stream);
    S->SetCaret(0, 0);
    S->ClearUndo();
    S->ClearRedo();
  } catch (...) {
    S->SetAllowUndo(OldAllowUndo);
    S->EndUpdate();
    S->SetModified(false);
    throw;
  }
  S->SetAllowUndo(OldAllowUndo);
  S->EndUpdate();
  S->SetModified(false);
}

void TCustomDCMemo::ImportRtf(TStream* Stream) { ImportWith(Stream, TDCRtfImporter::StaticClass()); }

void TCustomDCMemo::ImportWith(TStream* Stream, TClass AImporterClass) {
  if (!Stream || Stream->GetSize() == 0) return;
  TCustomMemoSource* S = GetSource();
  std::unique_ptr<TDCImporter> Importer = CreateImporter(AImporterClass);
  Stream->Seek(Int64(0), soBeginning);
  if (Importer->CanImport(Stream)) {
    AnsiString Text;
    Stream->Seek(Int64(0), soBeginning);
    Text.resize(size_t(Stream->GetSize()));
    Text.resize(size_t(Stream->Read(Text.data(), Integer(Text.size()))));
    S->BeginUpdate(ccImport);
    FImportBlockColumn = S->GetCaretChar();
    const TBlockOption Block = S->GetBlockOption();
    if (Block == bkStreamSel || Block == bkNone) TCustomMemoSource::SetBlockCopy(false);
    S->InImport = true;
    FImportLooks.clear();
    try {
      GetSelAttributes();
      Importer->OnAddText = TImportTextEvent(this, &TCustomDCMemo::AddImportedText);
      Importer->Import(Text);
      FlushImportedText();
    } catch (...) {
      // What was read before the fault stays in the editor.
      try {
        FlushImportedText();
      } catch (...) {
      }
      FPendingImport.clear();
      FPendingImportAttrs.clear();
      S->InImport = false;
      S->EndUpdate();
      throw;
    }
    S->InImport = false;
    S->EndUpdate();
    // The grid follows the fonts the text came with.
    if (FUseMonoFont) FontChanged(nullptr);
  } else {
    // The source's line insert turns TABs into blanks unless it keeps them
    // and makes a column block of the lines after a column copy.
    const AnsiString Text = ReadPlainText(Stream);
    const TBlockOption Block = S->GetBlockOption();
    S->InsertTextLines(Text, (Block == bkBlockSel || Block == bkBoth) && TCustomMemoSource::GetBlockCopy());
    S->SetSelectionType(stNotSelected);
  }
}

void TCustomDCMemo::AddImportedText(TObject* /*Sender*/, const AnsiString& Text, TFont* Font, Integer BackColor) {
  if (Text != "\r\n" && Text != "\t") {
    // Text runs wait for the next break or TAB and go into the line as one
    // insert, each character with its run's style byte.
    // The style first: finding it may pass on the text gathered so far.
    const char Style = char(ImportedRunStyle(Font, BackColor));
    FPendingImport += Text;
    FPendingImportAttrs.append(Text.size(), Style);
    return;
  }
  FlushImportedText();
  TCustomMemoSource* S = GetSource();
  if (Text == "\r\n") {
    const Integer Line = S->GetCaretLine();
    if (!TCustomMemoSource::GetBlockCopy()) {
      S->InsertLineBreak();
      S->SetCaret(0, Line + 1);
      S->SetSelection(stStreamSel, 0, Line + 1, 0, Line + 1);
    } else if (Line < S->GetLineCount() - 1) {
      // A column block goes down the lines that are there.
      S->SetCaret(FImportBlockColumn, Line + 1);
    } else {
      S->SetCaret(S->GetLineLength(Line), Line);
      S->InsertLineBreak();
      S->SetCaret(0, Line + 1);
      if (TStringItem* Item = S->GetLineItem(Line + 1)) Item->Attributes.clear();
      S->SetCaret(FImportBlockColumn, Line + 1);
    }
    S->SetSelectionType(stNotSelected);
    return;
  }
  const Integer Line = S->GetCaretLine(), Col = S->GetCaretChar();
  // The TAB key decides what a TAB becomes (blanks to the next stop, or the
  // TAB character); what it put there takes the run's look.
  S->TabKey();
  S->SetSelectionType(stNotSelected);
  if (Font && AttrParser()) SetImportedStyle(Line, Col, S->GetCaretChar(), ImportedRunStyle(Font, BackColor));
}

// Style bytes of one line from display column FromCol up to (not including)
// ToCol.
void TCustomDCMemo::SetImportedStyle(Integer Line, Integer FromCol, Integer ToCol, Byte Style) {
  TCustomMemoSource* S = GetSource();
  TStringItem* Item = S->GetLineItem(Line);
  if (!Item || !S->ParserKeepsAttributes()) return;
  S->AdjustAttrLength(Item);
  Integer From = FromCol, To = ToCol;
  S->VisualToCharIndex(Item->Text, From);
  S->VisualToCharIndex(Item->Text, To);
  From = std::clamp(From, 0, Integer(Item->Attributes.size()));
  To = std::clamp(To, From, Integer(Item->Attributes.size()));
  std::fill(Item->Attributes.begin() + From, Item->Attributes.begin() + To, char(Style));
}

// The text runs gathered since the last break or TAB, with their style
// bytes: no selection, no second pass over the line, no attribute undo.
void TCustomDCMemo::FlushImportedText() {
  if (FPendingImport.empty()) return;
  TCustomMemoSource* S = GetSource();
  const Integer Line = S->GetCaretLine(), Col = S->GetCaretChar();
  AnsiString Text, Attrs;
  Text.swap(FPendingImport);
  Attrs.swap(FPendingImportAttrs);
  S->SetCaret(Col + S->InsertTextWithAttrs(Text, Attrs), Line);
  // The buffers keep their capacity for the next line.
  Text.clear();
  Attrs.clear();
  FPendingImport.swap(Text);
  FPendingImportAttrs.swap(Attrs);
}

bool TCustomDCMemo::IsEditorLook(TFont* Font, Integer BackColor) const {
  return SameFontLook(Font, FFont.get()) && (BackColor == -1 || TColor(BackColor) == GetColor());
}

// The style index of an imported run: 0 for the editor's own look, else
// the attribute table's entry for the run's look. A document uses few looks,
// so the last ones met are remembered with their index.
Byte TCustomDCMemo::ImportedRunStyle(TFont* Font, Integer BackColor) {
  if (!Font) return 0;
  // Text typed in a look of its own (the source's typing attribute) makes
  // even a run in the editor's look take an attribute of its own.
  if (GetSource()->DefaultAttribute > 0 && IsEditorLook(Font, BackColor))
    if (TAttributeParser* P = AttrParser()) {
      TMemoAttributes& A = *FSelAttributes;
      A.AssignNoNotify(Font);
      A.SetBackColorNoNotify(BackColor == -1 ? GetColor() : TColor(BackColor));
      A.SetState(maAll);
      const Byte Index = Byte(P->AddAttr(A));
      A.ResetTo(FFont.get(), GetColor());
      return Index;
    }
  auto Same = [Font, BackColor](const TImportLook& L) {
    return L.Height == Font->GetHeight() && L.Color == Font->GetColor() && L.Style == Font->GetStyle() &&
           L.Back == BackColor && L.Charset == Font->GetCharset() && L.Pitch == Font->GetPitch() &&
           L.Name == Font->GetName();
  };
  const size_t Count = FImportLooks.size();
  for (size_t K = 0; K < Count; ++K) {
    // The look met last is the likeliest.
    const size_t I = (FLastImportLook + K) % Count;
    if (Same(FImportLooks[I])) {
      FLastImportLook = I;
      return FImportLooks[I].Index;
    }
  }
  Byte Index = 0;
  TAttributeParser* P = AttrParser();
  if (P && !IsEditorLook(Font, BackColor)) {
    // A full table looks in the lines for indexes nobody uses: the text
    // still waiting must be there, or its indexes would be given away.
    if (P->AttrCount() >= TAttributeParser::MaxAttributes) FlushImportedText();
    // The run's whole look, so that it never inherits a field from the text
    // before it.
    TMemoAttributes& A = *FSelAttributes;
    A.AssignNoNotify(Font);
    A.SetBackColorNoNotify(BackColor == -1 ? GetColor() : TColor(BackColor));
    A.SetState(maAll);
    Index = Byte(P->AddAttr(A));
    A.ResetTo(FFont.get(), GetColor());
    // A full table hands out indexes again, so nothing remembered holds.
    if (P->AttrCount() >= TAttributeParser::MaxAttributes) {
      FImportLooks.clear();
      return Index;
    }
  }
  constexpr size_t Remembered = 16;
  TImportLook Look{Font->GetName(), Font->GetHeight(), Font->GetColor(), Font->GetStyle(),
                   Font->GetCharset(), Font->GetPitch(), BackColor, Index};
  if (Count < Remembered) {
    FImportLooks.push_back(std::move(Look));
    FLastImportLook = Count;
  } else {
    FLastImportLook = (FLastImportLook + 1) % Count;
    FImportLooks[FLastImportLook] = std::move(Look);
  }
  return Index;
}

bool TCustomDCMemo::SameFontLook(TFont* A, TFont* B) {
  return A->GetColor() == B->GetColor() && A->GetName() == B->GetName() &&
         (A->GetHeight() == B->GetHeight() || A->GetSize() == B->GetSize()) && A->GetStyle() == B->GetStyle();
}

void TCustomDCMemo::ExportToHtml(const AnsiString& FileName, bool SelectionOnly) {
  ExportToFile(FileName, &ExporterClassOf<TDCHTMLExporter>, SelectionOnly);
}

void TCustomDCMemo::ExportToRtf(const AnsiString& FileName, bool SelectionOnly) {
  ExportToFile(FileName, &ExporterClassOf<TDCRTFExporter>, SelectionOnly);
}

void TCustomDCMemo::ExportRtfToStream(TStream* Stream, bool SelectionOnly) {
  ExportToStream(Stream, &ExporterClassOf<TDCRTFExporter>, SelectionOnly);
}

void TCustomDCMemo::ExportToFile(const AnsiString& FileName, TDCExporterClass AClass, bool SelectionOnly) {
  // Written whole or not at all: the old file stays until the new one is
  // complete.
  TAtomicFileStream Stream(FileName);
  // The writers make a write per tag.
  TWriteBufferStream Buffered(&Stream);
  ExportToStream(&Buffered, AClass, SelectionOnly);
  Buffered.Flush();
  Stream.Commit();
}

void TCustomDCMemo::ExportToStream(TStream* Stream, TDCExporterClass AClass, bool SelectionOnly) {
  std::unique_ptr<TDCExporter> Exporter = AClass(Stream);
  WriteToExporter(Exporter.get(), SelectionOnly);
}

void TDCMemo::Published(TPublished<TDCMemo>& P) {
  // The control properties the editor publishes, with its own defaults.
  P.Property("Align", &TDCMemo::GetAlign, &TDCMemo::SetAlign).Default(alNone);
  P.Property("Color", &TDCMemo::GetColor, &TDCMemo::SetColor).Default(clWindow);
  P.Property("Enabled", &TDCMemo::GetEnabled, &TDCMemo::SetEnabled).Default(true);
  P.Property("ParentColor", &TDCMemo::GetParentColor, &TDCMemo::SetParentColor).Default(false);
  P.Property("ParentShowHint", &TDCMemo::GetParentShowHint, &TDCMemo::SetParentShowHint).Default(true);
  P.Property("ShowHint", &TDCMemo::GetShowHint, &TDCMemo::SetShowHint).Stored(&TDCMemo::IsShowHintStored);
  P.Property("TabOrder", &TDCMemo::GetTabOrder, &TDCMemo::SetTabOrder).Default(-1);
  P.Property("TabStop", &TDCMemo::GetTabStop, &TDCMemo::SetTabStop).Default(true);
  P.Property("Visible", &TDCMemo::GetVisible, &TDCMemo::SetVisible).Default(true);
  P.Property("Anchors", &TDCMemo::GetAnchors, &TDCMemo::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("Constraints", &TDCMemo::GetConstraints, &TDCMemo::SetConstraints);
  P.Property("Ctl3D", &TDCMemo::GetCtl3D, &TDCMemo::SetCtl3D).Stored(&TDCMemo::IsCtl3DStored);
  P.Property("DockSite", &TDCMemo::GetDockSite, &TDCMemo::SetDockSite).Default(false);
  P.Property("DragCursor", &TDCMemo::GetDragCursor, &TDCMemo::SetDragCursor).Default(crDrag);
  P.Property("DragKind", &TDCMemo::GetDragKind, &TDCMemo::SetDragKind).Default(dkDrag);
  P.Property("DragMode", &TDCMemo::GetDragMode, &TDCMemo::SetDragMode).Default(dmManual);
  P.Property("ParentCtl3D", &TDCMemo::GetParentCtl3D, &TDCMemo::SetParentCtl3D).Default(true);
  P.Property("PopupMenu", &TDCMemo::GetPopupMenu, &TDCMemo::SetPopupMenu);
  // The class library's events the editor passes on.
  P.Property("OnClick", &TDCMemo::OnClick, &TDCMemo::OnClick);
  P.Property("OnDblClick", &TDCMemo::OnDblClick, &TDCMemo::OnDblClick);
  P.Property("OnContextPopup", &TDCMemo::OnContextPopup, &TDCMemo::OnContextPopup);
  P.Property("OnDragDrop", &TDCMemo::OnDragDrop, &TDCMemo::OnDragDrop);
  P.Property("OnDragOver", &TDCMemo::OnDragOver, &TDCMemo::OnDragOver);
  P.Property("OnEndDrag", &TDCMemo::OnEndDrag, &TDCMemo::OnEndDrag);
  P.Property("OnStartDrag", &TDCMemo::OnStartDrag, &TDCMemo::OnStartDrag);
  P.Property("OnEnter", &TDCMemo::OnEnter, &TDCMemo::OnEnter);
  P.Property("OnExit", &TDCMemo::OnExit, &TDCMemo::OnExit);
  P.Property("OnKeyDown", &TDCMemo::OnKeyDown, &TDCMemo::OnKeyDown);
  P.Property("OnKeyPress", &TDCMemo::OnKeyPress, &TDCMemo::OnKeyPress);
  P.Property("OnKeyUp", &TDCMemo::OnKeyUp, &TDCMemo::OnKeyUp);
  P.Property("OnMouseDown", &TDCMemo::OnMouseDown, &TDCMemo::OnMouseDown);
  P.Property("OnMouseMove", &TDCMemo::OnMouseMove, &TDCMemo::OnMouseMove);
  P.Property("OnMouseUp", &TDCMemo::OnMouseUp, &TDCMemo::OnMouseUp);
  P.Property("OnCanResize", &TDCMemo::OnCanResize, &TDCMemo::OnCanResize);
  P.Property("OnConstrainedResize", &TDCMemo::OnConstrainedResize, &TDCMemo::OnConstrainedResize);

  P.Property("AllowUndo", &TDCMemo::GetAllowUndo, &TDCMemo::SetAllowUndo).Default(true);
  // The text area's picture, also inside MemoBackground (stored there).
  P.Property("Background", &TDCMemo::GetBackground, &TDCMemo::SetBackground).Stored(false);
  P.Property("BkgndOption", &TDCMemo::GetBkgndOption, &TDCMemo::SetBkgndOption).Stored(false);
  P.Property("BlockIndent", &TDCMemo::GetBlockIndent, &TDCMemo::SetBlockIndent).Default(1);
  P.Property("BlockOption", &TDCMemo::GetBlockOption, &TDCMemo::SetBlockOption).Default(bkBoth);
  P.Property("BorderStyle", &TDCMemo::GetBorderStyle, &TDCMemo::SetBorderStyle).Default(bsSingle);
  P.Property("ClipboardType", &TDCMemo::GetClipboardType, &TDCMemo::SetClipboardType).Default(cbNormal);
  P.Property("Delimeters", &TDCMemo::GetDelimeters, &TDCMemo::SetDelimeters);
  P.Property("DisabledColor", &TDCMemo::GetDisabledColor, &TDCMemo::SetDisabledColor).Default(clGrayText);
  P.Property("Font", &TDCMemo::GetFont, &TDCMemo::SetFont);
  P.Property("GutterBackColor", &TDCMemo::GetGutterBackColor, &TDCMemo::SetGutterBackColor);
  P.Property("GutterBackground", &TDCMemo::GetGutterBackground, &TDCMemo::SetGutterBackground);
  P.Property("GutterBrush", &TDCMemo::GetGutterBrush, &TDCMemo::SetGutterBrush);
  P.Property("GutterImgs", &TDCMemo::GetGutterImgs, &TDCMemo::SetGutterImgs);
  P.Property("GutterImgsAlign", &TDCMemo::GetGutterImgsAlign, &TDCMemo::SetGutterImgsAlign).Default(iaLeft);
  P.Property("GutterLineColor", &TDCMemo::GetGutterLineColor, &TDCMemo::SetGutterLineColor).Default(clGray);
  P.Property("GutterLineIndent", &TDCMemo::GetGutterLineIndent, &TDCMemo::SetGutterLineIndent).Default(0);
  P.Property("GutterWidth", &TDCMemo::GetGutterWidth, &TDCMemo::SetGutterWidth).Default(32);
  P.Property("HideCaret", &TDCMemo::GetHideCaret, &TDCMemo::SetHideCaret);
  P.Property("HideScrollBars", &TDCMemo::GetHideScrollBars, &TDCMemo::SetHideScrollBars).Default(false);
  P.Property("HideSelection", &TDCMemo::GetHideSelection, &TDCMemo::SetHideSelection).Default(false);
  P.Property("HighlightUrls", &TDCMemo::GetHighlightUrls, &TDCMemo::SetHighlightUrls).Default(false);
  P.Property("HorzMaxPos", &TDCMemo::GetHorzMaxPos, &TDCMemo::SetHorzMaxPos).Default(512);
  P.Property("KeyMapping", &TDCMemo::GetKeyMapping, &TDCMemo::SetKeyMapping);
  P.Property("LeftIndent", &TDCMemo::GetLeftIndent, &TDCMemo::SetLeftIndent).Default(0);
  P.Property("LineBookmarkColor", &TDCMemo::GetLineBookmarkColor, &TDCMemo::SetLineBookmarkColor).Default(clRed);
  P.Property("LineNumAlign", &TDCMemo::GetLineNumAlign, &TDCMemo::SetLineNumAlign).Default(taRightJustify);
  P.Property("LineNumBackColor", &TDCMemo::GetLineNumBackColor, &TDCMemo::SetLineNumBackColor).Default(clWindow);
  P.Property("LineNumColor", &TDCMemo::GetLineNumColor, &TDCMemo::SetLineNumColor).Default(clWindowText);
  P.Property("LineHighlight", &TDCMemo::GetLineHighlight, &TDCMemo::SetLineHighlight);
  P.Property("Lines", &TDCMemo::GetLines, &TDCMemo::SetLines);
  P.Property("LineSeparator", &TDCMemo::GetLineSeparator, &TDCMemo::SetLineSeparator);
  P.Property("MarginPen", &TDCMemo::GetMarginPen, &TDCMemo::SetMarginPen);
  P.Property("MarginPos", &TDCMemo::GetMarginPos, &TDCMemo::SetMarginPos).Default(80);
  P.Property("MatchBackColor", &TDCMemo::GetMatchBackColor, &TDCMemo::SetMatchBackColor).Default(clWindowText);
  P.Property("MatchColor", &TDCMemo::GetMatchColor, &TDCMemo::SetMatchColor).Default(clLime);
  P.Property("MemoBackground", &TDCMemo::GetMemoBackground, &TDCMemo::SetMemoBackground);
  P.Property("MemoSource", &TDCMemo::GetMemoSource, &TDCMemo::SetMemoSource);
  P.Property("OemConvert", &TDCMemo::GetOemConvert, &TDCMemo::SetOemConvert).Default(false);
  P.Property("Options", &TDCMemo::GetOptionsValue, &TDCMemo::SetOptions).NoDefault();
  P.Property("OutFormat", &TDCMemo::GetOutFormat, &TDCMemo::SetOutFormat).Default(ofWindows);
  P.Property("PlainText", &TDCMemo::GetPlainText, &TDCMemo::SetPlainText).Stored(false);
  P.Property("PrintIndent", &TDCMemo::GetPrintIndent, &TDCMemo::SetPrintIndent).Default(0);
  P.Property("PrintOptions", &TDCMemo::GetPrintOptions, &TDCMemo::SetPrintOptions);
  P.Property("PrinterFont", &TDCMemo::GetPrinterFont, &TDCMemo::SetPrinterFont);
  P.Property("ReadOnly", &TDCMemo::GetReadOnly, &TDCMemo::SetReadOnly).Default(false);
  P.Property("ReadOnlyColor", &TDCMemo::GetReadOnlyColor, &TDCMemo::SetReadOnlyColor).Default(clWindow);
  P.Property("ScrollBars", &TDCMemo::GetScrollBars, &TDCMemo::SetScrollBars).Default(ssNone);
  P.Property("SelBackColor", &TDCMemo::GetSelBackColor, &TDCMemo::SetSelBackColor).Default(clHighlight);
  P.Property("SelColor", &TDCMemo::GetSelColor, &TDCMemo::SetSelColor).Default(clHighlightText);
  P.Property("SpecialSymbols", &TDCMemo::GetSpecialSymbols, &TDCMemo::SetSpecialSymbols);
  P.Property("SpacesInTab", &TDCMemo::GetSpacesInTab, &TDCMemo::SetSpacesInTab).Default(8);
  P.Property("StringsOptions", &TDCMemo::GetStringsOptionsValue, &TDCMemo::SetStringsOptions)
      .Stored(&TDCMemo::IsStringsOptionsStored);
  P.Property("SyntaxParser", &TDCMemo::GetSyntaxParser, &TDCMemo::SetSyntaxParser);
  P.Property("TabStops", &TDCMemo::GetTabStopsValue, &TDCMemo::SetTabStops);
  P.Property("TemplateFont", &TDCMemo::GetTemplateFont, &TDCMemo::SetTemplateFont);
  P.Property("TextStyles", &TDCMemo::GetTextStyles, &TDCMemo::SetTextStyles);
  P.Property("UndoLimit", &TDCMemo::GetUndoLimit, &TDCMemo::SetUndoLimit).Default(0);
  P.Property("UseDefaultMenu", &TDCMemo::GetUseDefaultMenu, &TDCMemo::SetUseDefaultMenu);
  P.Property("UseMonoFont", &TDCMemo::GetUseMonoFont, &TDCMemo::SetUseMonoFont).Default(true);
  P.Property("UsePrinterFont", &TDCMemo::GetUsePrinterFont, &TDCMemo::SetUsePrinterFont);
  P.Property("Version", &TDCMemo::GetVersion, &TDCMemo::SetVersion).Stored(false);
  P.Property("WantReturns", &TDCMemo::GetWantReturns, &TDCMemo::SetWantReturns).Default(true);
  P.Property("WantTabs", &TDCMemo::GetWantTabs, &TDCMemo::SetWantTabs).Default(false);
  P.Property("WordSelectionType", &TDCMemo::GetWordSelectionType, &TDCMemo::SetWordSelectionType)
      .Default(wsWordOnly);
  P.Property("WordWrap", &TDCMemo::GetWordWrap, &TDCMemo::SetWordWrap).Default(false);
  // Read last when a form loads, so that the global options win.
  P.Property("UseGlobalOptions", &TDCMemo::GetUseGlobalOptions, &TDCMemo::SetUseGlobalOptions);

  P.Property("OnBeforePrint", &TDCMemo::OnBeforePrint, &TDCMemo::OnBeforePrint);
  P.Property("OnChange", &TDCMemo::OnChange, &TDCMemo::OnChange);
  P.Property("OnClickGutter", &TDCMemo::OnClickGutter, &TDCMemo::OnClickGutter);
  P.Property("OnCollapseStateChanged", &TDCMemo::OnCollapseStateChanged, &TDCMemo::OnCollapseStateChanged);
  P.Property("OnCollapseStateChanging", &TDCMemo::OnCollapseStateChanging, &TDCMemo::OnCollapseStateChanging);
  P.Property("OnCreateDialog", &TDCMemo::OnCreateDialog, &TDCMemo::OnCreateDialog);
  P.Property("OnCustomDraw", &TDCMemo::OnCustomDraw, &TDCMemo::OnCustomDraw);
  P.Property("OnCustomString", &TDCMemo::OnCustomString, &TDCMemo::OnCustomString);
  P.Property("OnDrawGutter", &TDCMemo::OnDrawGutter, &TDCMemo::OnDrawGutter);
  P.Property("OnExportString", &TDCMemo::OnExportString, &TDCMemo::OnExportString);
  P.Property("OnFindStringInPopup", &TDCMemo::OnFindStringInPopup, &TDCMemo::OnFindStringInPopup);
  P.Property("OnGetColorStyle", &TDCMemo::OnGetColorStyle, &TDCMemo::OnGetColorStyle);
  P.Property("OnGetLineNumber", &TDCMemo::OnGetLineNumber, &TDCMemo::OnGetLineNumber);
  P.Property("OnHintInsert", &TDCMemo::OnHintInsert, &TDCMemo::OnHintInsert);
  P.Property("OnHintPopup", &TDCMemo::OnHintPopup, &TDCMemo::OnHintPopup);
  P.Property("OnJumpToUrl", &TDCMemo::OnJumpToUrl, &TDCMemo::OnJumpToUrl);
  P.Property("OnMemoScroll", &TDCMemo::OnMemoScroll, &TDCMemo::OnMemoScroll);
  P.Property("OnSelectionChange", &TDCMemo::OnSelectionChange, &TDCMemo::OnSelectionChange);
  P.Property("OnStateChange", &TDCMemo::OnStateChange, &TDCMemo::OnStateChange);
  P.Property("OnTemplateInsert", &TDCMemo::OnTemplateInsert, &TDCMemo::OnTemplateInsert);
  P.Property("OnVerticalScroll", &TDCMemo::OnVerticalScroll, &TDCMemo::OnVerticalScroll);
}
