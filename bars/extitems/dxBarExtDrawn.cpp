// dxBarExtDrawn.cpp — the extra kinds that draw something other than a
// button: static, progress, large button and control container.
#include <algorithm>
#include "bars/extitems/dxBarExtItemControls.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "bars/windows/dxBarWindows.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/Filer.h"
#include "platform/win/Messages.h"

// ---------------------------------------------------------------------------
// Static

void TdxBarStatic::Published(TPublished<TdxBarStatic>& P) {
  P.Property("Alignment", &TdxBarStatic::GetAlignment, &TdxBarStatic::SetAlignment).Default(taCenter);
  P.Property("AllowClick", &TdxBarStatic::GetAllowClick, &TdxBarStatic::SetAllowClick).Default(false);
  P.Property("BorderStyle", &TdxBarStatic::GetBorderStyle, &TdxBarStatic::SetBorderStyle).Default(sbsNone);
  P.Property("Glyph", &TdxBarStatic::GetGlyph, &TdxBarStatic::SetGlyph);
  P.Property("Height", &TdxBarStatic::GetHeight, &TdxBarStatic::SetHeight).Default(0);
  P.Property("ImageIndex", &TdxBarStatic::GetImageIndex, &TdxBarStatic::SetImageIndex).Default(-1);
  P.Property("LeftIndent", &TdxBarStatic::GetLeftIndent, &TdxBarStatic::SetLeftIndent).Default(0);
  P.Property("RightIndent", &TdxBarStatic::GetRightIndent, &TdxBarStatic::SetRightIndent).Default(0);
  P.Property("ShowCaption", &TdxBarStatic::GetShowCaption, &TdxBarStatic::SetShowCaption).Default(true);
  P.Property("Width", &TdxBarStatic::GetWidth, &TdxBarStatic::SetWidth).Default(0);
  P.Property("OnClick", &TdxBarStatic::OnClick, &TdxBarStatic::OnClick);
}

Integer TdxBarStatic::BorderWidth() const {
  switch (FBorderStyle) {
    case sbsLowered:
    case sbsRaised: return 1;
    case sbsEtched:
    case sbsBump: return 2;
    default: return 0;
  }
}

void TdxBarStatic::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RepaintControls();
}

void TdxBarStatic::SetBorderStyle(TdxBarStaticBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (GetWidth() && GetHeight()) RepaintControls();
  else RelayoutBars();
}

void TdxBarStatic::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  RelayoutBars();
}

void TdxBarStatic::SetByIndex(int Index, Integer Value) {
  if (Value < 0) Value = 0;
  if (FIndents[Index] == Value) return;
  FIndents[Index] = Value;
  RelayoutBars();
}

// ---------------------------------------------------------------------------
// Progress

void TdxBarProgressItem::Published(TPublished<TdxBarProgressItem>& P) {
  P.Property("BorderStyle", &TdxBarProgressItem::GetBorderStyle, &TdxBarProgressItem::SetBorderStyle)
      .Default(sbsLowered);
  P.Property("Color", &TdxBarProgressItem::GetColor, &TdxBarProgressItem::SetColor).Default(clDefault);
  P.Property("Max", &TdxBarProgressItem::GetMax, &TdxBarProgressItem::SetMax).Default(100);
  P.Property("Min", &TdxBarProgressItem::GetMin, &TdxBarProgressItem::SetMin).Default(0);
  P.Property("Position", &TdxBarProgressItem::GetPosition, &TdxBarProgressItem::SetPosition).Default(0);
  P.Property("Smooth", &TdxBarProgressItem::GetSmooth, &TdxBarProgressItem::SetSmooth).Default(false);
  P.Property("Step", &TdxBarProgressItem::GetStep, &TdxBarProgressItem::SetStep).Default(10);
}

TdxBarProgressItem::TdxBarProgressItem(TComponent* AOwner) : TdxBarStatic(AOwner) { FBorderStyle = sbsLowered; }

void TdxBarProgressItem::SetMax(Integer Value) {
  if (FMax != Value) SetRange(std::min(Value, FMin), Value);
}

void TdxBarProgressItem::SetMin(Integer Value) {
  if (FMin != Value) SetRange(Value, std::max(FMax, Value));
}

void TdxBarProgressItem::SetRange(Integer AMin, Integer AMax) {
  if (FMin == AMin && FMax == AMax) return;
  FMin = AMin;
  FMax = AMax;
  if (ItemLoading()) return;
  if (FMax < FMin) FMin = FMax;
  if (FPosition < FMin || FPosition > FMax) SetPosition(FPosition);
  else RepaintControls();
}

void TdxBarProgressItem::SetPosition(Integer Value) {
  // While loading the range may not be read yet: Loaded holds it.
  if (!ItemLoading()) Value = std::clamp(Value, std::min(FMin, FMax), FMax);
  if (FPosition == Value) return;
  FPosition = Value;
  RepaintControls();
}

void TdxBarProgressItem::Loaded() {
  TdxBarStatic::Loaded();
  if (FMax < FMin) FMin = FMax;
  FPosition = std::clamp(FPosition, FMin, FMax);
}

void TdxBarProgressItem::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  RepaintControls();
}

void TdxBarProgressItem::SetSmooth(bool Value) {
  if (FSmooth == Value) return;
  FSmooth = Value;
  RepaintControls();
}

// ---------------------------------------------------------------------------
// Large button

void TdxBarLargeButton::Published(TPublished<TdxBarLargeButton>& P) {
  P.Property("AutoGrayScale", &TdxBarLargeButton::GetAutoGrayScale, &TdxBarLargeButton::SetAutoGrayScale)
      .Default(true);
  P.Property("GlyphLayout", &TdxBarLargeButton::GetGlyphLayout, &TdxBarLargeButton::SetGlyphLayout).Default(glTop);
  P.Property("Height", &TdxBarLargeButton::GetHeight, &TdxBarLargeButton::SetHeight).Default(0);
  P.Property("HotGlyph", &TdxBarLargeButton::GetHotGlyph, &TdxBarLargeButton::SetHotGlyph);
  P.Property("HotImageIndex", &TdxBarLargeButton::GetHotImageIndex, &TdxBarLargeButton::SetHotImageIndex).Default(-1);
  P.Property("ImageIndex", &TdxBarLargeButton::GetImageIndex, &TdxBarLargeButton::SetImageIndex).Stored(false);
  P.Property("LargeGlyph", &TdxBarLargeButton::GetLargeGlyph, &TdxBarLargeButton::SetLargeGlyph);
  P.Property("LargeImageIndex", &TdxBarLargeButton::GetLargeImageIndex, &TdxBarLargeButton::SetLargeImageIndex)
      .Default(-1);
  P.Property("ShowCaption", &TdxBarLargeButton::GetShowCaption, &TdxBarLargeButton::SetShowCaption).Default(true);
  P.Property("SyncImageIndex", &TdxBarLargeButton::GetSyncImageIndex, &TdxBarLargeButton::SetSyncImageIndex)
      .Default(true);
  P.Property("Width", &TdxBarLargeButton::GetWidth, &TdxBarLargeButton::SetWidth).Default(0);
}

TdxBarLargeButton::TdxBarLargeButton(TComponent* AOwner)
    : TdxBarButton(AOwner), FLargeGlyph(std::make_unique<TBitmap>()), FHotGlyph(std::make_unique<TBitmap>()) {
  FLargeGlyph->OnChange = TNotifyEvent(this, &TdxBarLargeButton::PictureChanged);
  FHotGlyph->OnChange = TNotifyEvent(this, &TdxBarLargeButton::PictureChanged);
}

TdxBarLargeButton::~TdxBarLargeButton() {
  FLargeGlyph->OnChange = nullptr;
  FHotGlyph->OnChange = nullptr;
}

void TdxBarLargeButton::PictureChanged(TObject*) { RelayoutBars(); }

void TdxBarLargeButton::SetAutoGrayScale(bool Value) {
  if (FAutoGrayScale == Value) return;
  FAutoGrayScale = Value;
  RepaintControls();
}

void TdxBarLargeButton::SetGlyphLayout(TdxBarGlyphLayout Value) {
  if (FGlyphLayout == Value) return;
  FGlyphLayout = Value;
  RelayoutBars();
}

void TdxBarLargeButton::SetHeight(Integer Value) {
  if (Value < 0 || FHeight == Value) return;
  FHeight = Value;
  RelayoutBars();
}

void TdxBarLargeButton::SetWidth(Integer Value) {
  if (Value < 0 || FWidth == Value) return;
  FWidth = Value;
  RelayoutBars();
}

void TdxBarLargeButton::SetHotImageIndex(Integer Value) {
  if (FHotImageIndex == Value) return;
  FHotImageIndex = Value;
  RepaintControls();
}

void TdxBarLargeButton::SetLargeImageIndex(Integer Value) {
  if (ItemLoading()) FLargeImageIndexRead = true;
  if (FLargeImageIndex == Value) return;
  FLargeImageIndex = Value;
  if (FSyncImageIndex && !FSyncing && !ItemLoading()) {
    FSyncing = true;
    TdxBarButton::SetImageIndex(Value);
    FSyncing = false;
  }
  RelayoutBars();
}

void TdxBarLargeButton::SetImageIndex(Integer Value) {
  if (ItemLoading()) FImageIndexRead = true;
  else if (!FSyncing) FSyncImageIndex = false;
  TdxBarButton::SetImageIndex(Value);
}

void TdxBarLargeButton::SetSyncImageIndex(bool Value) {
  if (ItemLoading()) FSyncImageIndexRead = true;
  FSyncImageIndex = Value;
}

void TdxBarLargeButton::SetLargeGlyph(TBitmap* Value) { FLargeGlyph->Assign(Value); }
void TdxBarLargeButton::SetHotGlyph(TBitmap* Value) { FHotGlyph->Assign(Value); }

void TdxBarLargeButton::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  RelayoutBars();
}

void TdxBarLargeButton::DefineProperties(TFiler* Filer) {
  TdxBarButton::DefineProperties(Filer);
  // The image index of its own is stored only when it does not follow the
  // large one.
  Filer->DefineProperty(
      "ImageIndex", [this](TReader* R) { SetImageIndex(R->ReadInteger()); },
      [this](TWriter* W) { W->WriteInteger(GetImageIndex()); }, !FSyncImageIndex);
}

void TdxBarLargeButton::Loaded() {
  TdxBarButton::Loaded();
  if (FImageIndexRead && FLargeImageIndexRead) FSyncImageIndex = FLargeImageIndex == GetImageIndex();
  else if (FImageIndexRead && FLargeImageIndex == -1 && (FSyncImageIndex || !FSyncImageIndexRead))
    FLargeImageIndex = GetImageIndex();
  else if (FLargeImageIndexRead && FSyncImageIndex) TdxBarButton::SetImageIndex(FLargeImageIndex);
  FImageIndexRead = FLargeImageIndexRead = FSyncImageIndexRead = false;
}

// ---------------------------------------------------------------------------
// Control container

void TdxBarControlContainerItem::Published(TPublished<TdxBarControlContainerItem>& P) {
  P.Property("Control", &TdxBarControlContainerItem::GetControl, &TdxBarControlContainerItem::SetControl);
}

TdxBarControlContainerItem::~TdxBarControlContainerItem() {
  if (FControl) {
    FControl->WindowProc = FSavedWindowProc;
    FControl->RemoveFreeNotification(this);
    if (!FControl->ComponentState().Contains(csDestroying)) {
      FControl->SetVisible(false);
      FControl->SetParent(nullptr);
    }
    FControl = nullptr;
  }
}

void TdxBarControlContainerItem::SetControl(TControl* Value) {
  if (Value && BarManager())
    for (Integer I = 0; I < BarManager()->GetItemCount(); ++I)
      if (auto* Other = dynamic_cast<TdxBarControlContainerItem*>(BarManager()->GetItem(I));
          Other && Other != this && Other->FControl == Value)
        throw Exception(dxBarStr(dxSBAR_CANTASSIGNCONTROL));
  if (FControl == Value) return;
  if (FControl) {
    FControl->WindowProc = FSavedWindowProc;
    FControl->RemoveFreeNotification(this);
    const bool Designing = BarManager() && BarManager()->IsDesigning();
    if (!FControl->ComponentState().Contains(csDestroying) && !Designing) FControl->SetParent(nullptr);
  }
  FControl = Value;
  if (FControl) {
    FControl->FreeNotification(this);
    FSavedWindowProc = FControl->WindowProc;
    FControl->WindowProc = TWndMethod(this, &TdxBarControlContainerItem::ControlWndProc);
    FControlWidth = FControl->GetWidth();
    FControlHeight = FControl->GetHeight();
  }
  RelayoutBars();
}

void TdxBarControlContainerItem::ControlWndProc(TMessage& Message) {
  if (FSavedWindowProc) FSavedWindowProc(Message);
  if (!FControl || TdxBarControlContainerControl::Placing()) return;
  if ((Message.Msg == WM_SIZE || (Message.Msg == WM_WINDOWPOSCHANGED && Message.LParam == 0)) &&
      (FControl->GetWidth() != FControlWidth || FControl->GetHeight() != FControlHeight)) {
    FControlWidth = FControl->GetWidth();
    FControlHeight = FControl->GetHeight();
    RelayoutBars();
  }
}

void TdxBarControlContainerItem::Notification(TComponent* AComponent, TOperation Operation) {
  TdxBarItem::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl) {
    FControl->WindowProc = FSavedWindowProc;
    FControl = nullptr;
    RelayoutBars();
  }
}
