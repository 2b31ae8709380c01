#include "editor/syntax/SyntaxScheme.h"

#include "editor/base/EdConsts.h"
#include "editor/base/PersHolder.h"
#include "editor/syntax/SyntaxParser.h"
#include "editor/view/TextStyles.h"
#include "platform/forms/Dialogs.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/ObjectText.h"
#include "platform/rtl/Strings.h"

// ---------------------------------------------------------------------------
// Character-set text

AnsiString CharSetToStr(const TCharSet& Set) {
  AnsiString S;
  int C = 0;
  while (C < 256) {
    if (!Set.test(C)) {
      ++C;
      continue;
    }
    const char Ch = static_cast<char>(C);
    if (Ch == '\\' || Ch == '-') S += '\\';
    S += Ch;
    int Last = C;
    while (Last + 1 < 256 && Set.test(Last + 1)) ++Last;
    // A run of three or more is written as a range; the range's end is
    // taken literally, so it needs no escape.
    if (Last > C + 1) {
      S += '-';
      S += static_cast<char>(Last);
      C = Last + 1;
    } else {
      ++C;
    }
  }
  return S;
}

TCharSet StrToCharSet(const AnsiString& S) {
  TCharSet Set;
  unsigned char Prev = 0;
  for (size_t I = 0; I < S.size(); ++I) {
    const unsigned char C = static_cast<unsigned char>(S[I]);
    if (C == '\\') {
      if (++I >= S.size()) break;
      Prev = static_cast<unsigned char>(S[I]);
      Set.set(Prev);
    } else if (C == '-') {
      if (++I >= S.size()) break;
      const unsigned char Last = static_cast<unsigned char>(S[I]);
      for (int X = Prev; X <= Last; ++X) Set.set(X);
    } else {
      Set.set(C);
      Prev = C;
    }
  }
  return Set;
}

// ---------------------------------------------------------------------------
// Token items

void TToken::Published(TPublished<TToken>& P) {
  P.Property("FontID", &TToken::FontID, &TToken::FontID).Default(-1);
  P.Property("UseToken", &TToken::UseToken, &TToken::UseToken).Default(true);
}

void TToken::Assign(TPersistent* Source) {
  if (Source && Source->ClassType() == ClassType()) {
    AssignPublishedProps(this, Source);
    return;
  }
  inherited::Assign(Source);
}

void TLineToken::Published(TPublished<TLineToken>& P) {
  P.Property("LeftDelimiter", &TLineToken::LeftDelimiter, &TLineToken::LeftDelimiter);
}

void TBlockToken::Published(TPublished<TBlockToken>& P) {
  P.Property("RightDelimiter", &TBlockToken::RightDelimiter, &TBlockToken::RightDelimiter);
}

void TKeywordSet::Published(TPublished<TKeywordSet>& P) {
  P.Property("Name", &TKeywordSet::Name, &TKeywordSet::Name);
  P.Property("Keywords", &TKeywordSet::Keywords, &TKeywordSet::Keywords);
}

void TDelimiters::Published(TPublished<TDelimiters>& P) {
  P.Property("LeftDelimiter", &TDelimiters::LeftDelimiter, &TDelimiters::LeftDelimiter);
  P.Property("RightDelimiter", &TDelimiters::RightDelimiter, &TDelimiters::RightDelimiter);
  P.Property("DelimitersArePartOfBlock", &TDelimiters::DelimitersArePartOfBlock,
             &TDelimiters::DelimitersArePartOfBlock)
      .Default(false);
  P.Property("UseToken", &TDelimiters::UseToken, &TDelimiters::UseToken).Default(true);
}

void TDelimiters::Assign(TPersistent* Source) {
  if (auto* D = dynamic_cast<TDelimiters*>(Source)) {
    AssignPublishedProps(this, D);
    return;
  }
  inherited::Assign(Source);
}

// ---------------------------------------------------------------------------
// Attributes

TAttrItem::TAttrItem(TCollection* ACollection)
    : TCollectionItem(ACollection), FFont(std::make_unique<TFont>()), FUsedFont(std::make_unique<TFont>()) {
  if (!ACollection) return;
  for (Integer Id = 1; Id <= 255; ++Id) {
    bool Taken = false;
    for (Integer I = 0; I < ACollection->Count() && !Taken; ++I) {
      auto* A = dynamic_cast<TAttrItem*>(ACollection->Items(I));
      Taken = A && A != this && A->FFontID == Id;
    }
    if (!Taken) {
      FFontID = Id;
      return;
    }
  }
}

void TAttrItem::Published(TPublished<TAttrItem>& P) {
  P.Property("FontID", &TAttrItem::GetFontID, &TAttrItem::SetFontID).Default(-1);
  P.Property("GlobalAttrID", &TAttrItem::GlobalAttrID, &TAttrItem::GlobalAttrID);
  P.Property("BlockID", &TAttrItem::BlockID, &TAttrItem::BlockID).Default(0);
  P.Property("Font", &TAttrItem::GetFont, &TAttrItem::SetFont);
  P.Property("BackColor", &TAttrItem::GetBackColor, &TAttrItem::SetBackColor).Default(clWindow);
  P.Property("UseDefFont", &TAttrItem::GetUseDefFont, &TAttrItem::SetUseDefFont).Default(true);
  P.Property("UseDefBack", &TAttrItem::GetUseDefBack, &TAttrItem::SetUseDefBack).Default(true);
}

void TAttrItem::SetFont(TFont* Value) {
  if (Value) FFont->Assign(Value);
}

void TAttrItem::Assign(TPersistent* Source) {
  if (auto* A = dynamic_cast<TAttrItem*>(Source)) {
    if (A == this) return;
    AssignPublishedProps(this, A);
    return;
  }
  inherited::Assign(Source);
}

void TDefAttrItem::SetBackColor(TColor Value) {
  if (FBackColor == Value) return;
  FBackColor = Value;
  if (Parser) Parser->RefreshAttributes();
}

TAttrItem* TFontList::FindFontID(Integer FontID) const {
  for (Integer I = 0; I < Count(); ++I)
    if (Item(I)->GetFontID() == FontID) return Item(I);
  return nullptr;
}

// ---------------------------------------------------------------------------
// Blocks

namespace {
TCharSet MakeDefaultFirst() {
  TCharSet S;
  for (int C = 'A'; C <= 'Z'; ++C) S.set(C);
  for (int C = 'a'; C <= 'z'; ++C) S.set(C);
  S.set('_');
  return S;
}
TCharSet MakeDefaultOther() {
  TCharSet S = MakeDefaultFirst();
  for (int C = '0'; C <= '9'; ++C) S.set(C);
  return S;
}
}  // namespace

const TCharSet& TSyntaxBlock::DefaultFirstIdentChars() {
  static const TCharSet S = MakeDefaultFirst();
  return S;
}

const TCharSet& TSyntaxBlock::DefaultOtherIdentChars() {
  static const TCharSet S = MakeDefaultOther();
  return S;
}

TSyntaxBlock::TSyntaxBlock(TCollection* ACollection)
    : TCollectionItem(ACollection),
      FirstIdentChars(DefaultFirstIdentChars()),
      OtherIdentChars(DefaultOtherIdentChars()),
      FBlockDelimiters(std::make_unique<TDelimitersList>()),
      FSingleLineComments(std::make_unique<TLineTokenList>()),
      FMultiLineComments(std::make_unique<TBlockTokenList>()),
      FFullLineComments(std::make_unique<TLineTokenList>()),
      FSingleLineStrings(std::make_unique<TBlockTokenList>()),
      FMultiLineStrings(std::make_unique<TBlockTokenList>()),
      FNumPrefixes(std::make_unique<TLineTokenList>()),
      FNumSuffixes(std::make_unique<TLineTokenList>()),
      FNumPrefixesSuffixes(std::make_unique<TBlockTokenList>()),
      FIdentPrefixes(std::make_unique<TLineTokenList>()),
      FIdentSuffixes(std::make_unique<TLineTokenList>()),
      FIdentPrefixesSuffixes(std::make_unique<TBlockTokenList>()),
      FKeywordSets(std::make_unique<TKeywordSetList>()) {}

void TSyntaxBlock::Published(TPublished<TSyntaxBlock>& P) {
  using B = TSyntaxBlock;
  P.Property("Name", &B::Name, &B::Name);
  P.Property("ID", &B::GetID, &B::SetID).Default(-1);
  P.Property("ParentID", &B::ParentID, &B::ParentID).Default(-1);
  P.Property("CaseSensitive", &B::CaseSensitive, &B::CaseSensitive).Default(false);
  P.Property("UseMetaSymbol", &B::UseMetaSymbol, &B::UseMetaSymbol).Default(false);
  P.Property("UseMetaToWrapLines", &B::UseMetaToWrapLines, &B::UseMetaToWrapLines);
  P.Property("MetaSymbol", &B::MetaSymbol, &B::MetaSymbol).Default('\0');
  P.Property("FIText", &B::FIText, &B::FIText).Default(-1);
  P.Property("FIIntNum", &B::FIIntNum, &B::FIIntNum).Default(-1);
  P.Property("FIFloatNum", &B::FIFloatNum, &B::FIFloatNum).Default(-1);
  P.Property("FIHexNum", &B::FIHexNum, &B::FIHexNum).Default(-1);
  P.Property("FIDirective", &B::FIDirective, &B::FIDirective).Default(-1);
  P.Property("FISymbol", &B::FISymbol, &B::FISymbol).Default(-1);
  P.Property("FIIdentifier", &B::FIIdentifier, &B::FIIdentifier).Default(-1);
  P.Property("UseSymbols", &B::UseSymbols, &B::UseSymbols).Default(false);
  P.Property("UseLineDirectives", &B::UseLineDirectives, &B::UseLineDirectives).Default(false);
  P.Property("UseComments", &B::UseComments, &B::UseComments).Default(false);
  P.Property("UseSingleLineComments", &B::UseSingleLineComments, &B::UseSingleLineComments).Default(false);
  P.Property("UseMultiLineComments", &B::UseMultiLineComments, &B::UseMultiLineComments).Default(false);
  P.Property("UseFullLineComments", &B::UseFullLineComments, &B::UseFullLineComments).Default(false);
  P.Property("UseStrings", &B::UseStrings, &B::UseStrings).Default(false);
  P.Property("UseSingleLineStrings", &B::UseSingleLineStrings, &B::UseSingleLineStrings).Default(false);
  P.Property("UseMultiLineStrings", &B::UseMultiLineStrings, &B::UseMultiLineStrings).Default(false);
  P.Property("UseNumbers", &B::UseNumbers, &B::UseNumbers).Default(false);
  P.Property("UsePrefixedNumbers", &B::UsePrefixedNumbers, &B::UsePrefixedNumbers).Default(false);
  P.Property("UseSuffixedNumbers", &B::UseSuffixedNumbers, &B::UseSuffixedNumbers).Default(false);
  P.Property("UseMultipleNumSuffixes", &B::UseMultipleNumSuffixes, &B::UseMultipleNumSuffixes);
  P.Property("UsePrefixedSuffixedNumbers", &B::UsePrefixedSuffixedNumbers, &B::UsePrefixedSuffixedNumbers)
      .Default(false);
  P.Property("UsePSNumComposition", &B::UsePSNumComposition, &B::UsePSNumComposition);
  P.Property("UseIdentifiers", &B::UseIdentifiers, &B::UseIdentifiers).Default(false);
  P.Property("UsePrefixedIdentifiers", &B::UsePrefixedIdentifiers, &B::UsePrefixedIdentifiers).Default(false);
  P.Property("UseSuffixedIdentifiers", &B::UseSuffixedIdentifiers, &B::UseSuffixedIdentifiers).Default(false);
  P.Property("UsePrefixedSuffixedIdentifiers", &B::UsePrefixedSuffixedIdentifiers,
             &B::UsePrefixedSuffixedIdentifiers)
      .Default(false);
  P.Property("UseKeywords", &B::UseKeywords, &B::UseKeywords).Default(false);
  P.Property("BlockDelimiters", &B::GetBlockDelimiters, &B::SetBlockDelimiters);
  P.Property("LineDirectivePrefix", &B::LineDirectivePrefix, &B::LineDirectivePrefix);
  P.Property("SingleLineCommentDelimiters", &B::GetSingleLineCommentDelimiters,
             &B::SetSingleLineCommentDelimiters);
  P.Property("MultiLineCommentDelimiters", &B::GetMultiLineCommentDelimiters, &B::SetMultiLineCommentDelimiters);
  P.Property("FullLineCommentDelimiters", &B::GetFullLineCommentDelimiters, &B::SetFullLineCommentDelimiters);
  P.Property("SingleLineStringDelimiters", &B::GetSingleLineStringDelimiters, &B::SetSingleLineStringDelimiters);
  P.Property("MultiLineStringDelimiters", &B::GetMultiLineStringDelimiters, &B::SetMultiLineStringDelimiters);
  P.Property("NumPrefixes", &B::GetNumPrefixes, &B::SetNumPrefixes);
  P.Property("NumSuffixes", &B::GetNumSuffixes, &B::SetNumSuffixes);
  P.Property("NumPrefixesSuffixes", &B::GetNumPrefixesSuffixes, &B::SetNumPrefixesSuffixes);
  P.Property("IdentPrefixes", &B::GetIdentPrefixes, &B::SetIdentPrefixes);
  P.Property("IdentSuffixes", &B::GetIdentSuffixes, &B::SetIdentSuffixes);
  P.Property("IdentPrefixesSuffixes", &B::GetIdentPrefixesSuffixes, &B::SetIdentPrefixesSuffixes);
  P.Property("KeywordSets", &B::GetKeywordSets, &B::SetKeywordSets);
}

void TSyntaxBlock::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "FirstIdentChars", [this](TReader* R) { FirstIdentChars = StrToCharSet(R->ReadString()); },
      [this](TWriter* W) { W->WriteString(CharSetToStr(FirstIdentChars)); },
      FirstIdentChars != DefaultFirstIdentChars());
  Filer->DefineProperty(
      "OtherIdentChars", [this](TReader* R) { OtherIdentChars = StrToCharSet(R->ReadString()); },
      [this](TWriter* W) { W->WriteString(CharSetToStr(OtherIdentChars)); },
      OtherIdentChars != DefaultOtherIdentChars());
}

void TSyntaxBlock::Assign(TPersistent* Source) {
  if (auto* B = dynamic_cast<TSyntaxBlock*>(Source)) {
    if (B == this) return;
    AssignPublishedProps(this, B);
    FirstIdentChars = B->FirstIdentChars;
    OtherIdentChars = B->OtherIdentChars;
    return;
  }
  inherited::Assign(Source);
}

TSyntaxBlock* TSyntaxBlockList::FindBlockID(Integer ID) const {
  for (Integer I = 0; I < Count(); ++I)
    if (Item(I)->GetID() == ID) return Item(I);
  return nullptr;
}

// ---------------------------------------------------------------------------
// The scheme

TSyntaxScheme::TSyntaxScheme()
    : FBlocks(std::make_unique<TSyntaxBlockList>()),
      FFontTable(std::make_unique<TFontList>()),
      FUrlAttr(std::make_unique<TAttrItem>(nullptr)),
      FWhitespaceAttr(std::make_unique<TAttrItem>(nullptr)) {
  FUrlAttr->SetFontID(12);
  FUrlAttr->GlobalAttrID = "Url";
  FUrlAttr->SetUseDefFont(false);
  FUrlAttr->SetUseDefBack(false);
  FWhitespaceAttr->SetFontID(-1);
  FWhitespaceAttr->GlobalAttrID = "Whitespace";
  FWhitespaceAttr->SetUseDefFont(false);
  FWhitespaceAttr->SetUseDefBack(false);
  TSyntaxBlock* B = FBlocks->AddItem();
  B->Name = "Default";
  B->SetID(0);
  ResetBlockStacks();
}

TSyntaxScheme::~TSyntaxScheme() = default;

void TSyntaxScheme::Published(TPublished<TSyntaxScheme>& P) {
  P.Property("Name", &TSyntaxScheme::GetName, &TSyntaxScheme::SetName);
  P.Property("SyntaxBlocks", &TSyntaxScheme::GetSyntaxBlocks, &TSyntaxScheme::SetSyntaxBlocks);
  P.Property("FontTable", &TSyntaxScheme::GetFontTable, &TSyntaxScheme::SetFontTable);
}

void TSyntaxScheme::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "SyntaxVersion", [this](TReader* R) { SyntaxVersion = R->ReadInteger(); },
      [this](TWriter* W) { W->WriteInteger(SyntaxVersion); }, true);
}

void TSyntaxScheme::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TSyntaxScheme*>(Source)) {
    if (S == this) return;
    SyntaxVersion = S->SyntaxVersion;
    FName = S->FName;
    FFontTable->Assign(S->FFontTable.get());
    FBlocks->Assign(S->FBlocks.get());
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TSyntaxScheme::Clear() {
  FName.clear();
  SyntaxVersion = 1;
  FBlocks->Clear();
  FFontTable->Clear();
  FAttrs.fill(nullptr);
}

void TSyntaxScheme::Changed() {
  if (Parser)
    Parser->Reset();
  else
    Compile();
}

void TSyntaxScheme::LoadFromFile(const AnsiString& FileName) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  TSyntaxScheme Temp;
  try {
    // Properties this version does not know are skipped, so newer files load.
    TPersHolder Holder(nullptr);
    Holder.SetP(&Temp);
    TMemoryStream Binary;
    ObjectTextToBinary(&File, &Binary);
    Binary.SetPosition(0);
    TReader Reader(&Binary);
    Reader.OnError = [](TReader*, const AnsiString&, bool& Handled) { Handled = true; };
    Reader.ReadRootComponent(&Holder);
    // Refuse what the parser cannot run before this scheme is touched.
    Temp.Compile();
    Clear();
    Assign(&Temp);
  } catch (const Exception&) {
    MessageBox(nullptr,
               LoadResText(EdConsts::SCantReadScheme) + LoadResText(EdConsts::SSchemeFileWord) + " \"" + FileName +
                   "\".",
               "Error", MB_OK | MB_ICONERROR);
    throw;
  }
}

void TSyntaxScheme::SaveToFile(const AnsiString& FileName) { WriteObjectTextFile(this, FileName); }

Integer TSyntaxScheme::FindFreeBlockID() const {
  for (Integer Id = 0; Id <= 255; ++Id)
    if (!FBlocks->FindBlockID(Id)) return Id;
  return 0;
}

void TSyntaxScheme::SetAttrBlockID(Integer FontID, Integer BlockID) {
  if (FontID < 0) return;
  if (TAttrItem* A = FFontTable->FindFontID(FontID)) A->BlockID = BlockID;
}

void TSyntaxScheme::UpgradeVersion() {
  if (SyntaxVersion < 2 && FBlocks->Count() > 0) {
    for (Integer I = 0; I < FBlocks->Count(); ++I) {
      TSyntaxBlock* B = FBlocks->Item(I);
      if (B->GetID() == -1) B->SetID(FindFreeBlockID());
    }
    const Integer RootID = FBlocks->Item(0)->GetID();
    for (Integer I = 0; I < FBlocks->Count(); ++I) FBlocks->Item(I)->ParentID = I == 0 ? -1 : RootID;
    for (Integer I = 0; I < FBlocks->Count(); ++I) {
      TSyntaxBlock* B = FBlocks->Item(I);
      const Integer Id = B->GetID();
      for (Integer F : {B->FIText, B->FIIntNum, B->FIFloatNum, B->FIHexNum, B->FIDirective, B->FISymbol,
                        B->FIIdentifier})
        SetAttrBlockID(F, Id);
      const TCollection* Lists[] = {B->GetSingleLineCommentDelimiters(), B->GetMultiLineCommentDelimiters(),
                                    B->GetFullLineCommentDelimiters(),   B->GetSingleLineStringDelimiters(),
                                    B->GetMultiLineStringDelimiters(),   B->GetNumPrefixes(),
                                    B->GetNumSuffixes(),                 B->GetNumPrefixesSuffixes(),
                                    B->GetIdentPrefixes(),               B->GetIdentSuffixes(),
                                    B->GetIdentPrefixesSuffixes(),       B->GetKeywordSets()};
      for (const TCollection* L : Lists)
        for (Integer J = 0; J < L->Count(); ++J) SetAttrBlockID(static_cast<TToken*>(L->Items(J))->FontID, Id);
    }
  }
  SyntaxVersion = 3;
}

void TSyntaxScheme::CheckScheme() const {
  const Integer N = FBlocks->Count();
  if (N > MaxSyntaxBlocks)
    throw ESyntaxSchemeError(Format("Syntax scheme has %d blocks; at most %d can be used", {N, MaxSyntaxBlocks}));
  for (Integer I = 0; I < N; ++I) {
    TSyntaxBlock* B = FBlocks->Item(I);
    if (B->GetBlockDelimiters()->Count() > MaxBlockDelimiters)
      throw ESyntaxSchemeError(Format("Syntax block \"%s\" has %d delimiters; at most %d can be used",
                                      {B->Name, B->GetBlockDelimiters()->Count(), MaxBlockDelimiters}));
    const TCollection* Lists[] = {B->GetSingleLineCommentDelimiters(), B->GetMultiLineCommentDelimiters(),
                                  B->GetFullLineCommentDelimiters(),   B->GetSingleLineStringDelimiters(),
                                  B->GetMultiLineStringDelimiters(),   B->GetNumPrefixes(),
                                  B->GetNumSuffixes(),                 B->GetNumPrefixesSuffixes(),
                                  B->GetIdentPrefixes(),               B->GetIdentSuffixes(),
                                  B->GetIdentPrefixesSuffixes(),       B->GetKeywordSets()};
    for (const TCollection* L : Lists)
      if (L->Count() > MaxSyntaxListItems)
        throw ESyntaxSchemeError(Format("Syntax block \"%s\" has a list of %d items; at most %d can be used",
                                        {B->Name, L->Count(), MaxSyntaxListItems}));
    // Walk the parent chain; more steps than blocks means it loops.
    Integer Parent = B->ParentID;
    for (Integer Steps = 0; Parent != -1; ++Steps) {
      if (Parent == B->GetID() || Steps > N)
        throw ESyntaxSchemeError(
            Format("Syntax block \"%s\" (ID %d) is its own ancestor: its parent chain loops", {B->Name, B->GetID()}));
      TSyntaxBlock* P = FBlocks->FindBlockID(Parent);
      if (!P) break;
      Parent = P->ParentID;
    }
  }
}

void TSyntaxScheme::ResetBlockStacks() {
  FBlockStacks.clear();
  TBlockInfo Root;
  Root.Chain.push_back({0, -1});
  FBlockStacks.push_back(std::move(Root));
}

Integer TSyntaxScheme::AddBlockStack(TBlockInfo Info) {
  if (Integer(FBlockStacks.size()) >= MaxBlockStacks) return -1;
  FBlockStacks.push_back(std::move(Info));
  return Integer(FBlockStacks.size()) - 1;
}

namespace {

void AddChars(TCharSet& Set, const AnsiString& S) {
  for (char C : S) Set.set(static_cast<unsigned char>(C));
}

template <class TList>
void AddTokenChars(TCharSet& Set, const TList* L, bool Right) {
  for (Integer I = 0; I < L->Count(); ++I) {
    auto* T = L->Item(I);
    if (!T->UseToken) continue;
    AddChars(Set, T->LeftDelimiter);
    if constexpr (requires { T->RightDelimiter; })
      if (Right) AddChars(Set, T->RightDelimiter);
  }
}

template <class TList>
TDelimiterList CompileDelims(const TList* L) {
  TDelimiterList R;
  for (Integer I = 0; I < L->Count(); ++I) {
    auto* T = L->Item(I);
    if (!T->UseToken) continue;
    R.Delims.push_back(T->LeftDelimiter);
    R.Items.push_back(I);
  }
  return R;
}

}  // namespace

void TSyntaxScheme::CompileBlock(TSyntaxBlock* B, Integer /*Index*/, TCharSet& Used) {
  B->CInnerChildren.clear();
  B->COuterChildren.clear();

  Used |= B->FirstIdentChars;
  Used |= B->OtherIdentChars;
  if (B->UseMetaSymbol) Used.set(static_cast<unsigned char>(B->MetaSymbol));
  for (Integer I = 0; I < B->GetBlockDelimiters()->Count(); ++I) {
    TDelimiters* D = B->GetBlockDelimiters()->Item(I);
    if (!D->UseToken) continue;
    AddChars(Used, D->LeftDelimiter);
    AddChars(Used, D->RightDelimiter);
  }
  if (B->UseComments) {
    if (B->UseSingleLineComments) AddTokenChars(Used, B->GetSingleLineCommentDelimiters(), false);
    if (B->UseMultiLineComments) AddTokenChars(Used, B->GetMultiLineCommentDelimiters(), true);
    if (B->UseFullLineComments) AddTokenChars(Used, B->GetFullLineCommentDelimiters(), false);
  }
  if (B->UseStrings) {
    if (B->UseSingleLineStrings) AddTokenChars(Used, B->GetSingleLineStringDelimiters(), true);
    if (B->UseMultiLineStrings) AddTokenChars(Used, B->GetMultiLineStringDelimiters(), true);
  }
  if (B->UseNumbers) {
    if (B->UsePrefixedNumbers) AddTokenChars(Used, B->GetNumPrefixes(), false);
    if (B->UseSuffixedNumbers) AddTokenChars(Used, B->GetNumSuffixes(), false);
    if (B->UsePrefixedSuffixedNumbers) AddTokenChars(Used, B->GetNumPrefixesSuffixes(), true);
  }
  if (B->UsePrefixedIdentifiers) AddTokenChars(Used, B->GetIdentPrefixes(), false);
  if (B->UseSuffixedIdentifiers) AddTokenChars(Used, B->GetIdentSuffixes(), false);
  if (B->UsePrefixedSuffixedIdentifiers) AddTokenChars(Used, B->GetIdentPrefixesSuffixes(), true);
  if (B->UseLineDirectives) AddChars(Used, B->LineDirectivePrefix);

  for (Integer C = 0; C < FBlocks->Count(); ++C) {
    TSyntaxBlock* Child = FBlocks->Item(C);
    if (Child->ParentID != B->GetID()) continue;
    for (Integer D = 0; D < Child->GetBlockDelimiters()->Count(); ++D) {
      TDelimiters* Del = Child->GetBlockDelimiters()->Item(D);
      if (!Del->UseToken) continue;
      TChildDelimiter E;
      E.Delimiter = Del->LeftDelimiter;
      E.Code = (Del->DelimitersArePartOfBlock ? 131072 : 0) + (Child->CaseSensitive ? 65536 : 0) + C * 256 + D;
      (Del->DelimitersArePartOfBlock ? B->CInnerChildren : B->COuterChildren).push_back(std::move(E));
    }
  }

  B->CSingleLineComments = CompileDelims(B->GetSingleLineCommentDelimiters());
  B->CMultiLineComments = CompileDelims(B->GetMultiLineCommentDelimiters());
  B->CFullLineComments = CompileDelims(B->GetFullLineCommentDelimiters());
  B->CSingleLineStrings = CompileDelims(B->GetSingleLineStringDelimiters());
  B->CMultiLineStrings = CompileDelims(B->GetMultiLineStringDelimiters());
  B->CNumPrefixes = CompileDelims(B->GetNumPrefixes()).Delims;
  B->CNumSuffixes = CompileDelims(B->GetNumSuffixes()).Delims;
  B->CIdentPrefixes = CompileDelims(B->GetIdentPrefixes()).Delims;
  B->CIdentSuffixes = CompileDelims(B->GetIdentSuffixes()).Delims;

  B->CKeywordTables.clear();
  B->CKeywordItems.clear();
  for (Integer I = 0; I < B->GetKeywordSets()->Count(); ++I) {
    TKeywordSet* K = B->GetKeywordSets()->Item(I);
    if (!K->UseToken) continue;
    TStringList Words;
    Words.SetCommaText(B->CaseSensitive ? K->Keywords : AnsiLowerCase(K->Keywords));
    std::array<AnsiString, 256> Table;
    for (Integer W = 0; W < Words.GetCount(); ++W) {
      const AnsiString Word = Words.GetStrings(W);
      if (Word.empty()) continue;
      AnsiString& E = Table[static_cast<unsigned char>(Word[0])];
      if (E.empty()) E = ",";
      E += Word;
      E += ',';
    }
    B->CKeywordTables.push_back(std::move(Table));
    B->CKeywordItems.push_back(I);
  }
}

void TSyntaxScheme::Compile() {
  UpgradeVersion();
  CheckScheme();
  ResetBlockStacks();
  TCharSet Used;
  for (Integer I = 0; I < FBlocks->Count(); ++I) CompileBlock(FBlocks->Item(I), I, Used);
  TCharSet Free;
  for (int C = 33; C <= 47; ++C) Free.set(C);
  for (int C = 58; C <= 64; ++C) Free.set(C);
  for (int C = 91; C <= 94; ++C) Free.set(C);
  Free.set(96);
  for (int C = 123; C <= 127; ++C) Free.set(C);
  FFreeSymbols = Free & ~Used;
  if (Parser) Parser->RefreshAttributes();
}

TAttrItem* TSyntaxScheme::GetAttr(Integer FontID) const {
  if (FontID >= 0 && FontID <= 255 && FAttrs[FontID]) return FAttrs[FontID];
  return FWhitespaceAttr.get();
}

TAttrItem* TSyntaxScheme::FindInheritedAttr(Integer BlockID, bool ForFont) const {
  // CheckScheme has refused looping chains; the step count guards schemes
  // changed since.
  for (Integer Steps = 0; Steps <= FBlocks->Count(); ++Steps) {
    TSyntaxBlock* B = FBlocks->FindBlockID(BlockID);
    if (!B) return nullptr;
    if (TAttrItem* A = FFontTable->FindFontID(B->FIText)) {
      if (ForFont ? !A->GetUseDefFont() : !A->GetUseDefBack()) return A;
    }
    BlockID = B->ParentID;
  }
  return nullptr;
}

namespace {

TColor GlobalStyleBack(const TGlobalTextLook& Look, TTextStyle* S) {
  return S->GetUseMemoColor() ? Look.Color : S->GetColor();
}

void SetUsedFont(TFont* F, const AnsiString& Name, Integer Size, TColor Color, TFontStyles Style) {
  F->SetName(Name);
  F->SetSize(Size);
  F->SetColor(Color);
  F->SetStyle(Style);
}

}  // namespace

void TSyntaxScheme::UpdateFonts() {
  FAttrs.fill(nullptr);
  TGlobalTextLook Look;
  const bool HaveLook = GetGlobalTextLook(Look);
  const bool Global = UseGlobalOptions && HaveLook;

  AnsiString BaseName = "Courier New";
  Integer BaseSize = 10;
  TColor BaseColor = TColor(0), BaseBack = TColor(0);
  TDefAttrItem* Def = Parser ? Parser->GetDefaultAttr() : nullptr;
  if (!Def || !Def->GetFont()) {
    if (!Global) {
      BaseColor = clWindowText;
      BaseBack = clWindow;
    }
  } else if (Global) {
    if (Look.Font) {
      BaseName = Look.Font->GetName();
      BaseSize = Look.Font->GetSize();
    }
  } else {
    BaseName = Def->GetFont()->GetName();
    BaseSize = Def->GetFont()->GetSize();
    BaseColor = Def->GetFont()->GetColor();
    BaseBack = Def->GetBackColor();
  }
  TTextStyle* WhiteStyle = Global ? FindGlobalTextStyle(Look, "Whitespace") : nullptr;
  if (WhiteStyle) {
    BaseColor = WhiteStyle->GetFont()->GetColor();
    BaseBack = GlobalStyleBack(Look, WhiteStyle);
  }

  TTextStyle* UrlStyle = HaveLook ? FindGlobalTextStyle(Look, "Url") : nullptr;
  SetUsedFont(FUrlAttr->UsedFont(), BaseName, BaseSize, UrlStyle ? UrlStyle->GetFont()->GetColor() : BaseColor,
              TFontStyles{fsUnderline});
  FUrlAttr->SetUsedBack(BaseBack);
  SetUsedFont(FWhitespaceAttr->UsedFont(), BaseName, BaseSize,
              WhiteStyle ? WhiteStyle->GetFont()->GetColor() : BaseColor, TFontStyles{});
  FWhitespaceAttr->SetUsedBack(BaseBack);
  FAttrs[12] = FUrlAttr.get();

  if (FFontTable->Count() == 0) {
    FAttrs[0] = FWhitespaceAttr.get();
    return;
  }
  for (Integer I = 0; I < FFontTable->Count(); ++I) {
    TAttrItem* A = FFontTable->Item(I);
    if (A->GetFontID() >= 0 && A->GetFontID() <= 255) FAttrs[A->GetFontID()] = A;
    AnsiString Name = BaseName;
    Integer Size = BaseSize;
    if (!A->GetUseDefFont()) {
      Name = A->GetFont()->GetName();
      Size = A->GetFont()->GetSize();
    } else if (TAttrItem* Inh = FindInheritedAttr(A->BlockID, /*ForFont=*/true)) {
      Name = Inh->GetFont()->GetName();
      Size = Inh->GetFont()->GetSize();
    }
    TColor Back = BaseBack;
    if (!A->GetUseDefBack())
      Back = A->GetBackColor();
    else if (TAttrItem* Inh = FindInheritedAttr(A->BlockID, /*ForFont=*/false))
      Back = Inh->UsedBack();
    TTextStyle* S = Global && !A->GlobalAttrID.empty() ? FindGlobalTextStyle(Look, A->GlobalAttrID) : nullptr;
    if (S) {
      SetUsedFont(A->UsedFont(), Name, Size, S->GetFont()->GetColor(), S->GetFont()->GetStyle());
      Back = GlobalStyleBack(Look, S);
    } else {
      SetUsedFont(A->UsedFont(), Name, Size, A->GetFont()->GetColor(), A->GetFont()->GetStyle());
    }
    A->SetUsedBack(Back);
  }
}
