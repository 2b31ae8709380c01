// cxLookAndFeels.h — look-and-feel objects: Kind and NativeStyle, each
// either assigned locally or followed from a master, masters chaining up to
// one process-wide root. The effective values choose the painter. Changes
// reach the object's listeners (dependent objects, controllers) first, then
// its owner's OnChanged. Also the palette-changed notifiers that turn the
// system's colour-change broadcast into callbacks.
#pragma once
#include <vector>
#include "controls/painters/cxLookAndFeelPainters.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/Persistent.h"

enum TcxLookAndFeelValue { lfvKind, lfvNativeStyle };
// Kind's names, so that a form description can set it.
SX_ENUM_INFO(TcxLookAndFeelKind, lfFlat, lfStandard, lfUltraFlat, lfOffice11)
using TcxLookAndFeelValues = unsigned;  // bit (1 << TcxLookAndFeelValue)
constexpr TcxLookAndFeelValues lfvBit(TcxLookAndFeelValue V) { return 1u << V; }

#include <memory>

class TcxLookAndFeel;
class TcxSystemPaletteChangedNotifier;

class IcxLookAndFeelListener {
public:
  virtual ~IcxLookAndFeelListener() = default;
  virtual TObject* GetListenerObject() = 0;
  virtual void MasterModified(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) = 0;
  virtual void MasterDestroying(TcxLookAndFeel* Sender) = 0;
};

class IcxLookAndFeelHost {
public:
  virtual ~IcxLookAndFeelHost() = default;
  virtual TcxLookAndFeel* GetLookAndFeelObject() = 0;
};

using TcxLookAndFeelChangedEvent = TEvent<void(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues)>;

class TcxLookAndFeel : public TPersistent, public IcxLookAndFeelListener {
  SX_CLASS(TcxLookAndFeel, TPersistent)
public:
  explicit TcxLookAndFeel(TPersistent* AOwner);
  ~TcxLookAndFeel() override;
  static void Published(TPublished<TcxLookAndFeel>& P) {
    P.Property("Kind", &TcxLookAndFeel::GetKind, &TcxLookAndFeel::SetKind).Stored(&TcxLookAndFeel::IsKindStored);
  }
  bool IsKindStored() const { return (FAssignedValues & lfvBit(lfvKind)) != 0; }
  void Assign(TPersistent* Source) override;

  TcxLookAndFeelKind GetKind() const { return FCachedKind; }
  void SetKind(TcxLookAndFeelKind Value);
  bool GetNativeStyle() const { return FCachedNativeStyle; }
  void SetNativeStyle(bool Value);
  TcxLookAndFeelValues GetAssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxLookAndFeelValues Value);
  void ResetAssignedValues() { SetAssignedValues(0); }
  // Nil for the root; the explicit master; else the root.
  TcxLookAndFeel* GetMaster() const;
  void SetMaster(TcxLookAndFeel* Value);
  bool IsRoot() const { return FIsRoot; }

  void AddChangeListener(IcxLookAndFeelListener* AListener);
  void RemoveChangeListener(IcxLookAndFeelListener* AListener);
  int ListenerCount() const { return int(FListeners.size()); }

  TcxLookAndFeelPainterClass GetPainterForThemeClass(TdxThemedObjectType AThemeClass) const;
  TcxLookAndFeelPainterClass GetPainterForThemeSet(TdxThemeClasses AThemeClasses) const;
  TcxLookAndFeelPainterClass GetActivePainter() const;
  // A painter that overrides the choice (nil: choose from the values).
  void SetPainter(TcxLookAndFeelPainterClass Value) { FPainter = Value; }

  // The theme may come or go with a colour change.
  void SystemPaletteModified() { NotifyChanged(lfvBit(lfvNativeStyle)); }

  TcxLookAndFeelChangedEvent OnChanged;

  // IcxLookAndFeelListener
  TObject* GetListenerObject() override { return this; }
  void MasterModified(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) override;
  void MasterDestroying(TcxLookAndFeel* Sender) override;

  // The root: made on first use (it locks the Office 2003 scheme, so its
  // brushes exist while look-and-feel objects do).
  static TcxLookAndFeel* Root();

protected:
  void NotifyChanged(TcxLookAndFeelValues AChangedValues);
  TPersistent* GetOwner() override { return FOwner; }

private:
  struct TPrevious {
    TcxLookAndFeelKind Kind;
    bool NativeStyle;
  };
  TPrevious Save() const { return {GetEffectiveKind(), GetEffectiveNativeStyle()}; }
  void NotifyDifferences(const TPrevious& P);
  TcxLookAndFeelKind GetEffectiveKind() const;
  bool GetEffectiveNativeStyle() const;

  TPersistent* FOwner;
  TcxLookAndFeelValues FAssignedValues = 0;
  TcxLookAndFeelKind FKind = lfUltraFlat;
  bool FNativeStyle = false;
  TcxLookAndFeelKind FCachedKind = lfUltraFlat;
  bool FCachedNativeStyle = false;
  TcxLookAndFeel* FMaster = nullptr;
  TcxLookAndFeelPainterClass FPainter = nullptr;
  std::vector<IcxLookAndFeelListener*> FListeners;
  bool FIsRoot = false;
  bool FDestroying = false;
  std::unique_ptr<TcxSystemPaletteChangedNotifier> FPaletteNotifier;
  // An object that follows its master's NativeStyle hears of the change
  // through the master; only the others act on their own.
  void PaletteChanged(TObject*) {
    if (FIsRoot || (FAssignedValues & lfvBit(lfvNativeStyle))) SystemPaletteModified();
  }
};

// The root. Nil only while it is being made.
TcxLookAndFeel* GetRootLookAndFeel();

// Edits the root from a form: while at least one controller exists the
// root's assigned values are the controllers'; the last one to go resets
// the root to its defaults.
class TcxLookAndFeelController : public TComponent, public IcxLookAndFeelListener {
  SX_CLASS(TcxLookAndFeelController, TComponent)
public:
  explicit TcxLookAndFeelController(TComponent* AOwner);
  ~TcxLookAndFeelController() override;
  TcxLookAndFeelKind GetKind() const { return GetRootLookAndFeel()->GetKind(); }
  void SetKind(TcxLookAndFeelKind Value) { GetRootLookAndFeel()->SetKind(Value); }
  bool GetNativeStyle() const { return GetRootLookAndFeel()->GetNativeStyle(); }
  void SetNativeStyle(bool Value) { GetRootLookAndFeel()->SetNativeStyle(Value); }
  TObject* GetListenerObject() override { return this; }
  void MasterModified(TcxLookAndFeel*, TcxLookAndFeelValues) override {}
  void MasterDestroying(TcxLookAndFeel*) override {}
};

// Told when the system colours change (WM_SYSCOLORCHANGE to the shared
// listener window): the Office 2003 scheme is reloaded first, then the
// primary notifiers, then the others, each list from the last to the first.
class TcxSystemPaletteChangedNotifier : public TObject {
public:
  explicit TcxSystemPaletteChangedNotifier(bool AIsPrimary = false);
  ~TcxSystemPaletteChangedNotifier() override;
  TNotifyEvent OnSystemPaletteChanged;
  virtual void DoChanged() {
    if (OnSystemPaletteChanged.Assigned()) OnSystemPaletteChanged(this);
  }

private:
  bool FIsPrimary;
};
// What the listener window does on WM_SYSCOLORCHANGE.
void NotifySystemPaletteChanged();
// The hidden window that receives WM_SYSCOLORCHANGE.
HWND SystemPaletteListenerWindow();
