// TestClasses.h — small classes with one published property of every kind,
// shared by the reflection and streaming tests.
#pragma once
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Collection.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Filer.h"

SX_ENUM(TSampleKind, skAlpha, skBeta, skGamma)
SX_ENUM(TSampleStyle, tsBold, tsItalic, tsUnderline)
using TSampleStyles = TSet<TSampleStyle>;

// A font-like sub-object: streamed as "Font.Name", copied by Assign.
class TSampleFont : public TPersistent {
  SX_CLASS(TSampleFont, TPersistent)
public:
  static void Published(TPublished<TSampleFont>& P) {
    P.Property("Name", &TSampleFont::Name, &TSampleFont::Name);
    P.Property("Size", &TSampleFont::Size, &TSampleFont::Size).Default(10);
  }
  void Assign(TPersistent* Source) override {
    if (auto* F = dynamic_cast<TSampleFont*>(Source)) {
      Name = F->Name;
      Size = F->Size;
      return;
    }
    TPersistent::Assign(Source);
  }
  AnsiString Name;
  Integer Size = 10;
};

class TSampleItem : public TCollectionItem {
  SX_CLASS(TSampleItem, TCollectionItem)
public:
  explicit TSampleItem(TCollection* C) : TCollectionItem(C) {}
  static void Published(TPublished<TSampleItem>& P) {
    P.Property("Caption", &TSampleItem::Caption, &TSampleItem::Caption);
    P.Property("Weight", &TSampleItem::Weight, &TSampleItem::Weight);
    P.Property("Style", &TSampleItem::Style, &TSampleItem::Style).Default(TSampleStyles{});
  }
  void Assign(TPersistent* Source) override {
    if (auto* S = dynamic_cast<TSampleItem*>(Source)) {
      AssignPublishedProps(this, S);
      return;
    }
    TCollectionItem::Assign(Source);
  }
  AnsiString Caption;
  double Weight = 0;
  TSampleStyles Style;
};

// A component with a property of every kind, a defined list and binary
// property, and a handler method that streams can name.
class TSampleComp : public TComponent {
  SX_CLASS(TSampleComp, TComponent)
public:
  explicit TSampleComp(TComponent* AOwner) : TComponent(AOwner), FItems(TSampleItem::StaticClass()) {}
  ~TSampleComp() override { DestroyComponents(); }

  static void Published(TPublished<TSampleComp>& P) {
    P.Property("Count", &TSampleComp::Count, &TSampleComp::Count).Default(0);
    P.Property("Big", &TSampleComp::Big, &TSampleComp::Big);
    P.Property("Letter", &TSampleComp::Letter, &TSampleComp::Letter).Default('\0');
    P.Property("Kind", &TSampleComp::Kind, &TSampleComp::Kind).Default(skAlpha);
    P.Property("Styles", &TSampleComp::Styles, &TSampleComp::Styles).Default(TSampleStyles{});
    P.Property("Ratio", &TSampleComp::Ratio, &TSampleComp::Ratio);
    P.Property("Text", &TSampleComp::GetText, &TSampleComp::SetText);
    P.Property("Wide", &TSampleComp::Wide, &TSampleComp::Wide);
    P.Property("Flag", &TSampleComp::Flag, &TSampleComp::Flag).Default(false);
    P.Property("Font", &TSampleComp::GetFont, &TSampleComp::SetFont);
    P.Property("Items", &TSampleComp::GetItems, &TSampleComp::SetItems);
    P.Property("Buddy", &TSampleComp::Buddy, &TSampleComp::SetBuddy);
    P.Property("OnChange", &TSampleComp::OnChange, &TSampleComp::OnChange);
    P.Property("Hidden", &TSampleComp::Count, &TSampleComp::Count).Stored(false);
    P.Property("Color", &TSampleComp::Color, &TSampleComp::Color).Default(clWindow);
    P.Method("Form1Change", &TSampleComp::Form1Change);
    P.Method("OtherChange", &TSampleComp::OtherChange);
  }

  const AnsiString& GetText() const { return FText; }
  void SetText(const AnsiString& V) { FText = V; }
  TSampleFont* GetFont() { return &FFont; }
  void SetFont(TSampleFont* V) { FFont.Assign(V); }
  TCollection* GetItems() { return &FItems; }
  void SetItems(TCollection* V) { FItems.Assign(V); }
  void SetBuddy(TSampleComp* V) {
    Buddy = V;
    if (V) V->FreeNotification(this);
  }
  TSampleItem* Item(int I) { return static_cast<TSampleItem*>(FItems.Items(I)); }

  void Form1Change(TObject*) { ++Changes; }
  void OtherChange(TObject*) {}
  void Wrong(TObject*, bool&) {}
  void Unregistered(TObject*) {}

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {
    for (Integer i = 0; i < ComponentCount(); ++i)
      if (Components(i)->Owner() == Root) Proc(Components(i));
  }
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCalls;
    BuddyAtLoaded = Buddy;
  }

  Integer Count = 0;
  Int64 Big = 0;
  char Letter = 0;
  TSampleKind Kind = skAlpha;
  TSampleStyles Styles;
  double Ratio = 0;
  WideString Wide;
  bool Flag = false;
  TSampleComp* Buddy = nullptr;
  TNotifyEvent OnChange;
  TColor Color = clWindow;
  std::vector<AnsiString> Lines;
  AnsiString Blob;
  int Changes = 0;
  int LoadedCalls = 0;
  TSampleComp* BuddyAtLoaded = nullptr;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Buddy) Buddy = nullptr;
  }
  void DefineProperties(TFiler* Filer) override {
    TComponent::DefineProperties(Filer);
    Filer->DefineProperty(
        "Lines",
        [this](TReader* R) {
          Lines.clear();
          R->ReadListBegin();
          while (!R->EndOfList()) Lines.push_back(R->ReadString());
          R->ReadListEnd();
        },
        [this](TWriter* W) {
          W->WriteListBegin();
          for (const auto& L : Lines) W->WriteString(L);
          W->WriteListEnd();
        },
        !Lines.empty());
    Filer->DefineBinaryProperty(
        "Blob", [this](TStream* S) { Blob = S->ReadBytes(Integer(S->GetSize())); },
        [this](TStream* S) { S->WriteBytes(Blob); }, !Blob.empty());
  }

private:
  AnsiString FText;
  TSampleFont FFont;
  TCollection FItems;
};

inline void RegisterSampleClasses() { RegisterClasses({TSampleComp::StaticClass(), TSampleItem::StaticClass()}); }
