// OptionControls.h — two small controls of the option pages: a drop-down
// list of the named colours with a swatch in each row (and an optional
// "Custom" row for any other colour), and a check box bound to a Boolean
// property, or one element of a set property, of any persistent object.
#pragma once
#include "platform/forms/ListCtrls.h"
#include "platform/forms/StdCtrls.h"

class TPropInfo;

class TDCColorCombo : public TCustomComboBox {
  SX_CLASS(TDCColorCombo, TCustomComboBox)
public:
  explicit TDCColorCombo(TComponent* AOwner);
  static void Published(TPublished<TDCColorCombo>& P);

  // -1 when a colour without a name was given and there is no Custom row.
  TColor GetSelectedColor() const { return FSelectedColor; }
  void SetSelectedColor(TColor Value);
  TColor GetCustomColor() const { return FCustomColor; }
  void SetCustomColor(TColor Value);
  bool GetUseCustomColor() const { return FUseCustomColor; }
  void SetUseCustomColor(bool Value);
  // The colour a row carries.
  TColor ItemColor(Integer Index) const;

protected:
  void CreateWnd() override;
  void Change() override;
  void Dispatch(TMessage& Message) override;
  void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) override;
  void AddColorItem(const AnsiString& Ident);
  void AddCustomItem();

private:
  void SelectColor(TColor Value);
  TColor FSelectedColor = TColor(0);
  TColor FCustomColor = TColor(0);
  bool FUseCustomColor = true;
};

class TDCPropCheck : public TCheckBox {
  SX_CLASS(TDCPropCheck, TCheckBox)
public:
  explicit TDCPropCheck(TComponent* AOwner) : TCheckBox(AOwner) {}
  ~TDCPropCheck() override;
  static void Published(TPublished<TDCPropCheck>& P);

  TPersistent* GetComponent() const { return FComponent; }
  void SetComponent(TPersistent* Value);
  // A dotted path: "Options.moDrawGutter", "Font.Style.fsBold", "AutoIndent".
  AnsiString GetPropName() const { return FPropName; }
  void SetPropName(const AnsiString& Value);
  bool GetInverted() const { return FInverted; }
  void SetInverted(bool Value);

  // 0 unbound, 1 a Boolean property, 2 an element of a set property.
  Integer BoundKind() const { return FBoundKind; }
  // Binds the path on Component; false when it names no Boolean property
  // and no set element.
  bool ResolvePath(const AnsiString& Path);
  void UpdateState();

protected:
  void Toggle() override;
  void Loaded() override;
  void Update() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WriteBack();
  void Unbind();

private:
  TPersistent* FComponent = nullptr;
  AnsiString FPropName;
  bool FInverted = false;
  Integer FBoundKind = 0;
  TObject* FBoundObject = nullptr;
  const TPropInfo* FBoundSetProp = nullptr;
  AnsiString FBoundName;
  Integer FBoundElement = 0;
};

// Registers both controls for form descriptions.
void RegisterOptionControls();
