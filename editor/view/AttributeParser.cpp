#include "editor/view/AttributeParser.h"
#include <algorithm>
#include "editor/text/MemoSource.h"
#include "editor/view/TextStyles.h"

// ---- TMemoAttributes --------------------------------------------------------

TMemoAttributes::TMemoAttributes(TAttributeParserHost* AHost) : FHost(AHost) {
  TFont Default;
  TFont* Font = FHost && FHost->AttrHostFont() ? FHost->AttrHostFont() : &Default;
  FColor = Font->GetColor();
  FName = Font->GetName();
  FCharset = Font->GetCharset();
  FPitch = Font->GetPitch();
  FSize = Font->GetSize();
  FStyle = Font->GetStyle();
  if (FHost) FBackColor = FHost->AttrHostColor();
}

TMemoAttributes::~TMemoAttributes() = default;

Word TMemoAttributes::ConsistentMask() {
  if (!FMaskValid) {
    FMask = FHost ? FHost->AttrHostConsistentMask(*this) : maAll;
    FMaskValid = true;
  }
  return FMask;
}

bool TMemoAttributes::NeedsSet(bool Unchanged, Word Bit) {
  // A value equal to the caret's may still differ elsewhere in the
  // selection; then setting it is what makes it uniform.
  return !(Unchanged && (ConsistentMask() & Bit));
}

void TMemoAttributes::SetColor(TColor Value) {
  if (!NeedsSet(Value == FColor, maColor)) return;
  FColor = Value;
  FState |= maColor;
  Changed();
}

void TMemoAttributes::SetBackColor(TColor Value) {
  if (!NeedsSet(Value == FBackColor, maBackColor)) return;
  FBackColor = Value;
  FState |= maBackColor;
  Changed();
}

void TMemoAttributes::SetName(const AnsiString& Value) {
  if (!NeedsSet(Value == FName, maName)) return;
  FName = Value;
  FState |= maName;
  Changed();
}

void TMemoAttributes::SetCharset(Byte Value) {
  if (!NeedsSet(Value == FCharset, maCharset)) return;
  FCharset = Value;
  FState |= maCharset;
  Changed();
}

void TMemoAttributes::SetPitch(TFontPitch Value) {
  if (!NeedsSet(Value == FPitch, maPitch)) return;
  FPitch = Value;
  FState |= maPitch;
  Changed();
}

void TMemoAttributes::SetSize(Integer Value) {
  if (!NeedsSet(Value == FSize, maSize)) return;
  FSize = Value;
  FState |= maSize;
  Changed();
}

void TMemoAttributes::SetStyle(TFontStyles Value) {
  if (!NeedsSet(Value == FStyle, maStyle)) return;
  FStyle = Value;
  FState |= maStyle;
  if (Value.Contains(fsBold)) FState |= maBold;
  if (Value.Contains(fsItalic)) FState |= maItalic;
  if (Value.Contains(fsUnderline)) FState |= maUnderline;
  if (Value.Contains(fsStrikeOut)) FState |= maStrikeOut;
  Changed();
}

void TMemoAttributes::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount <= 0) Changed();
}

void TMemoAttributes::Assign(TPersistent* Source) {
  auto* F = dynamic_cast<TFont*>(Source);
  auto* A = dynamic_cast<TMemoAttributes*>(Source);
  if (!F && !A) {
    inherited::Assign(Source);
    return;
  }
  BeginUpdate();
  try {
    if (F) {
      SetColor(F->GetColor());
      SetName(F->GetName());
      SetCharset(F->GetCharset());
      SetStyle(F->GetStyle());
      SetSize(F->GetSize());
      SetPitch(F->GetPitch());
    } else {
      SetColor(A->FColor);
      SetBackColor(A->FBackColor);
      SetName(A->FName);
      SetCharset(A->FCharset);
      SetSize(A->FSize);
      SetStyle(A->FStyle);
      SetPitch(A->FPitch);
    }
  } catch (...) {
    --FUpdateCount;
    throw;
  }
  EndUpdate();
}

void TMemoAttributes::CopyFrom(TPersistent* Source) {
  if (auto* F = dynamic_cast<TFont*>(Source)) {
    FColor = F->GetColor();
    FName = F->GetName();
    FCharset = F->GetCharset();
    FStyle = F->GetStyle();
    FSize = F->GetSize();
    FPitch = F->GetPitch();
  } else if (auto* A = dynamic_cast<TMemoAttributes*>(Source)) {
    FColor = A->FColor;
    FBackColor = A->FBackColor;
    FName = A->FName;
    FCharset = A->FCharset;
    FSize = A->FSize;
    FStyle = A->FStyle;
    FPitch = A->FPitch;
  } else {
    inherited::Assign(Source);
  }
}

void TMemoAttributes::AssignNoNotify(TPersistent* Source) {
  CopyFrom(Source);
  FMaskValid = false;
}

void TMemoAttributes::ResetTo(TFont* Font, TColor Back) {
  CopyFrom(Font);
  FBackColor = Back;
  FState = 0;
  FMaskValid = false;
}

TFont* TMemoAttributes::GetFont() {
  if (!FFont) FFont = std::make_unique<TFont>();
  FFont->SetName(FName);
  FFont->SetSize(FSize);
  FFont->SetStyle(FStyle);
  FFont->SetColor(FColor);
  FFont->SetCharset(FCharset);
  FFont->SetPitch(FPitch);
  return FFont.get();
}

void TMemoAttributes::Changed() {
  if (FUpdateCount > 0 || !FHost) return;
  TCustomMemoSource* Source = FHost->AttrHostSource();
  if (!Source || !dynamic_cast<TAttributeParser*>(Source->GetSyntaxParser())) return;
  FHost->AttrHostApply(*this);
  FMaskValid = false;
  FState = 0;
}

// ---- TAttributeParser -------------------------------------------------------

// Table entries have no host: they describe looks and never propagate.
std::unique_ptr<TMemoAttributes> TAttributeParser::NewEntry(TPersistent* From) {
  auto E = std::make_unique<TMemoAttributes>(nullptr);
  if (From) E->AssignNoNotify(From);
  return E;
}

TAttributeParser::TAttributeParser(TComponent* AOwner) : TSimpleParser(AOwner) {
  TAttributeParserHost* H = Host();
  auto Default = NewEntry(H ? H->AttrHostFont() : nullptr);
  if (H) Default->FBackColor = H->AttrHostColor();
  FAttrs.push_back(std::move(Default));
  Register(0);
}

TAttributeParser::~TAttributeParser() = default;

TAttributeParserHost* TAttributeParser::Host() const { return dynamic_cast<TAttributeParserHost*>(Owner()); }

TAttributeParser::TKey TAttributeParser::KeyOf(TMemoAttributes& Attrs) {
  // Equal descriptions share one font handle, so the handle stands for
  // face, size, style, charset and pitch together.
  return {Attrs.GetFont()->GetHandle(), Attrs.GetColor(), Attrs.GetBackColor()};
}

void TAttributeParser::Register(Integer Index) { FLookup[KeyOf(*FAttrs[size_t(Index)])] = Index; }

void TAttributeParser::Unregister(Integer Index) {
  for (auto It = FLookup.begin(); It != FLookup.end(); ++It)
    if (It->second == Index) {
      FLookup.erase(It);
      return;
    }
}

TFont* TAttributeParser::GetFont(Integer StyleIndex) {
  if (StyleIndex >= 0 && StyleIndex < AttrCount()) return FAttrs[size_t(StyleIndex)]->GetFont();
  TAttributeParserHost* H = Host();
  if (H && StyleIndex != UrlIndex) return H->AttrHostFont();
  return nullptr;  // index 12 falls through to the URL text style
}

bool TAttributeParser::GetBackColor(Integer StyleIndex, TColor& Color) {
  if (StyleIndex >= 0 && StyleIndex < AttrCount()) {
    Color = FAttrs[size_t(StyleIndex)]->GetBackColor();
    return true;
  }
  if (StyleIndex == UrlIndex) return false;
  TAttributeParserHost* H = Host();
  Color = H ? H->AttrHostColor() : TColor(-1);
  return true;
}

// The style bytes are the line's own; there is nothing to tokenize.
Integer TAttributeParser::ParseLine(const AnsiString& /*Text*/, Integer BeginState, AnsiString& /*Attrs*/) {
  return BeginState;
}

void TAttributeParser::InitAttributes(Integer /*LineIndex*/, const AnsiString& Text, AnsiString& Attrs) {
  Attrs.resize(Text.size(), '\0');
}

void TAttributeParser::InsertUrlEntry() {
  auto Url = NewEntry(FAttrs[0].get());
  TAttributeParserHost* H = Host();
  TTextStyles* Styles = H ? H->AttrHostTextStyles() : nullptr;
  if (Styles && Styles->Count() > UrlIndex) {
    TTextStyle* S = Styles->GetItem(UrlIndex);
    Url->AssignNoNotify(S->GetFont());
    Url->FBackColor = S->GetColor();
  }
  // Not in the lookup: imported text must never be given index 12.
  FAttrs.push_back(std::move(Url));
}

void TAttributeParser::BuildFreeList() {
  std::vector<bool> Used(MaxAttributes, false);
  Used[0] = Used[UrlIndex] = true;
  if (TAttributeParserHost* H = Host())
    if (TCustomMemoSource* Source = H->AttrHostSource())
      for (Integer L = 0; L < Source->GetLineCount(); ++L)
        for (char C : Source->GetLineItem(L)->Attributes) Used[static_cast<unsigned char>(C)] = true;
  FFreeIndexes.clear();
  for (Integer I = 1; I < MaxAttributes; ++I)
    if (!Used[size_t(I)]) FFreeIndexes.push_back(I);
}

bool TAttributeParser::SameLook(const TMemoAttributes& A, const TMemoAttributes& B) {
  return A.FColor == B.FColor && A.FBackColor == B.FBackColor && A.FSize == B.FSize && A.FStyle == B.FStyle &&
         A.FCharset == B.FCharset && A.FPitch == B.FPitch && A.FName == B.FName;
}

Integer TAttributeParser::AddAttr(TMemoAttributes& Attrs) {
  for (size_t I = 0; I < RecentCount; ++I) {
    const Integer R = FRecent[I];
    if (R < 0 || R >= AttrCount() || !SameLook(*FAttrs[size_t(R)], Attrs)) continue;
    std::rotate(FRecent, FRecent + I, FRecent + I + 1);
    return R;
  }
  const Integer Index = AddAttrLookup(Attrs);
  std::copy_backward(FRecent, FRecent + RecentCount - 1, FRecent + RecentCount);
  FRecent[0] = Index;
  return Index;
}

Integer TAttributeParser::AddAttrLookup(TMemoAttributes& Attrs) {
  auto Found = FLookup.find(KeyOf(Attrs));
  if (Found != FLookup.end()) return Found->second;
  if (AttrCount() < MaxAttributes) {
    if (AttrCount() == UrlIndex) InsertUrlEntry();
    FAttrs.push_back(NewEntry(&Attrs));
    const Integer Index = AttrCount() - 1;
    Register(Index);
    std::erase(FFreeIndexes, Index);
    return Index;
  }
  TAttributeParserHost* H = Host();
  // Reusing an index that undo could bring back would repaint old text in
  // the new look; only allowed when undo cannot.
  if (!FResetOnOverFlow && H && H->AttrHostAllowUndo()) return 0;
  if (FFreeIndexes.empty()) BuildFreeList();
  if (FFreeIndexes.empty()) return 0;
  const Integer Index = FFreeIndexes.front();
  FFreeIndexes.erase(FFreeIndexes.begin());
  Unregister(Index);
  FAttrs[size_t(Index)]->AssignNoNotify(&Attrs);
  Register(Index);
  return Index;
}

void TAttributeParser::ClearStyles() {
  std::fill(std::begin(FRecent), std::end(FRecent), -1);
  FAttrs.resize(1);
  FFreeIndexes.clear();
  FLookup.clear();
  // Entry 0 is registered again, so a set equal to it keeps index 0 rather
  // than taking a second index with the same look.
  Register(0);
  TAttributeParserHost* H = Host();
  TCustomMemoSource* Source = H ? H->AttrHostSource() : nullptr;
  if (!Source || Source->GetSyntaxParser() != this) return;
  FClearingStyles = true;
  try {
    // While clearing, the parser does not keep attributes: the cache drops
    // every line's style bytes and the lines come back as zeros.
    Source->InvalidateParseCache();
    if (Source->GetLineCount() > 0) Source->ParseRange(0, Source->GetLineCount() - 1, /*Force=*/true);
  } catch (...) {
    FClearingStyles = false;
    throw;
  }
  FClearingStyles = false;
}

void TAttributeParser::SetDefaultAttr(TFont* Font, TColor Back) {
  std::fill(std::begin(FRecent), std::end(FRecent), -1);
  Unregister(0);
  FAttrs[0]->ResetTo(Font, Back);
  // An imported entry with this look keeps its own index; entry 0 only
  // takes the key when it is free.
  const TKey Key = KeyOf(*FAttrs[0]);
  if (FLookup.find(Key) == FLookup.end()) FLookup[Key] = 0;
}

Integer TAttributeParser::AttrAt(TPoint Pos) {
  TAttributeParserHost* H = Host();
  TCustomMemoSource* Source = H ? H->AttrHostSource() : nullptr;
  return Source ? Source->GetAttributeAt(Pos.X, Pos.Y) : 0;
}

void TAttributeParser::GetAttributesAt(TPoint Pos, TMemoAttributes& Attrs) {
  Integer Index = AttrAt(Pos);
  if (Index < 0 || Index >= AttrCount()) Index = 0;
  Attrs.AssignNoNotify(FAttrs[size_t(Index)].get());
}
