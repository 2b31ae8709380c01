#include "app/dragdrop/DragDrop.h"

#include <algorithm>

#include "app/dragdrop/DragDropFile.h"
#include "app/dragdrop/DragDropFormats.h"
#include "app/dragdrop/DragDropPIDL.h"
#include "platform/ole/DataObject.h"
#include "platform/rtl/Format.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Window.h"

// --- the component bases -------------------------------------------------------------------------

IUnknown* TInterfacedComponent::OwnerInterface() const {
  return dynamic_cast<IUnknown*>(Owner());
}

HRESULT TInterfacedComponent::QueryInterface(const TGUID& IID, void** Obj) {
  if (!Obj) return E_POINTER;
  *Obj = nullptr;
  // This class library's components carry no COM wrapper, so what the class
  // does not implement is not there.
  return GetInterface(IID, Obj) ? S_OK : E_NOINTERFACE;
}

bool TInterfacedComponent::GetInterface(const TGUID& IID, void** Obj) {
  return OfferInterface<IUnknown>(this, IID, Obj);
}

Integer TInterfacedComponent::_AddRef() {
  if (IUnknown* O = OwnerInterface()) return O->_AddRef();
  return -1;
}

Integer TInterfacedComponent::_Release() {
  if (IUnknown* O = OwnerInterface()) return O->_Release();
  return -1;
}

TDragDropComponent::TDragDropComponent(TComponent* AOwner) : TInterfacedComponent(AOwner) {}

TDragDropComponent::~TDragDropComponent() = default;

// --- clipboard formats ---------------------------------------------------------------------------

TClipboardFormat::TClipboardFormat(DWORD MediumTypes) {
  FFormatEtc.ptd = nullptr;
  FFormatEtc.dwAspect = DVASPECT_CONTENT;
  FFormatEtc.lindex = -1;
  FFormatEtc.tymed = MediumTypes;
}

TClipboardFormat::TClipboardFormat(const FORMATETC& Format) : FFormatEtc(Format), FFormatKnown(true) {}

const FORMATETC& TClipboardFormat::FormatEtc() {
  // The id comes from the most derived class, which a base constructor
  // cannot ask: it is taken on first use.
  if (!FFormatKnown) {
    FFormatEtc.cfFormat = GetClipboardFormat();
    FFormatKnown = true;
  }
  return FFormatEtc;
}

CLIPFORMAT TClipboardFormat::GetClipboardFormat() {
  throw Exception(Format("Internal error: %s.%s needs implementation", {ClassName(), "GetClipboardFormat"}));
}

void TClipboardFormat::SetClipboardFormat(CLIPFORMAT Value) {
  FFormatEtc.cfFormat = Value;
  FFormatKnown = true;
}

AnsiString TClipboardFormat::GetClipboardFormatName() {
  char Buf[256] = {};
  const int N = GetClipboardFormatNameA(FormatEtc().cfFormat, Buf, 255);
  return N > 0 ? AnsiString(Buf, std::size_t(N)) : AnsiString();
}

void TClipboardFormat::SetClipboardFormatName(const AnsiString&) {
  throw Exception(Format("%s.ClipboardFormat is read-only", {ClassName()}));
}

bool TClipboardFormat::HasValidFormats(IDataObject* DataObject) {
  FORMATETC F = FormatEtc();
  return DataObject && Succeeded(DataObject->QueryGetData(&F));
}

bool TClipboardFormat::AcceptFormat(const FORMATETC& Format) {
  const FORMATETC& Mine = FormatEtc();
  return Format.cfFormat == Mine.cfFormat && !Format.ptd && Format.dwAspect == Mine.dwAspect &&
         (Format.tymed & Mine.tymed) != 0;
}

bool TClipboardFormat::GetData(IDataObject* DataObject) {
  Clear();
  if (!DataObject) return false;
  FORMATETC F = FormatEtc();
  STGMEDIUM Medium;
  if (!Succeeded(DataObject->GetData(&F, &Medium))) return false;
  return GetDataFromMedium(DataObject, Medium);
}

bool TClipboardFormat::GetDataFromMedium(IDataObject* DataObject, STGMEDIUM& Medium) {
  Clear();
  bool Result = false;
  try {
    if (Medium.tymed & FormatEtc().tymed) Result = DoGetData(DataObject, Medium);
  } catch (...) {
    ReleaseStgMedium(&Medium);
    throw;
  }
  ReleaseStgMedium(&Medium);
  return Result;
}

bool TClipboardFormat::SetData(IDataObject* DataObject, const FORMATETC& Format, STGMEDIUM& Medium) {
  Medium = STGMEDIUM();
  const FORMATETC& Mine = FormatEtc();
  if (!DataObject || Format.cfFormat != Mine.cfFormat || Format.dwAspect != Mine.dwAspect ||
      !(Format.tymed & Mine.tymed))
    return false;
  if (!DoSetData(Format, Medium)) return false;
  FORMATETC F = Format;
  if (Succeeded(DataObject->SetData(&F, &Medium, TRUE))) return true;
  ReleaseStgMedium(&Medium);
  return false;
}

bool TClipboardFormat::Assign(TCustomDataFormat*) { return false; }
bool TClipboardFormat::AssignTo(TCustomDataFormat*) { return false; }
bool TClipboardFormat::DoGetData(IDataObject*, const STGMEDIUM&) { return false; }
bool TClipboardFormat::DoSetData(const FORMATETC&, STGMEDIUM&) { return false; }

TClipboardFormats::TClipboardFormats(TCustomDataFormat* ADataFormat, bool AOwnsObjects)
    : FDataFormat(ADataFormat), FOwnsObjects(AOwnsObjects) {}

TClipboardFormats::~TClipboardFormats() { Clear(); }

Integer TClipboardFormats::Add(TClipboardFormat* Format) {
  FList.push_back(Format);
  if (FOwnsObjects && FDataFormat) Format->DataFormat = FDataFormat;
  return Integer(FList.size()) - 1;
}

void TClipboardFormats::Clear() {
  if (FOwnsObjects)
    for (auto It = FList.rbegin(); It != FList.rend(); ++It) delete *It;
  FList.clear();
}

// --- data formats --------------------------------------------------------------------------------

TCustomDataFormat::TCustomDataFormat(TDragDropComponent* AOwner, TClass Class) : FOwner(AOwner) {
  TConversionScope Scope = scTarget;
  if (AOwner) {
    const auto S = AOwner->DataFormatScope();
    if (!S)
      throw Exception(Format("%s is not a valid owner for %s. Owner must be derived from %s",
                             {AOwner->ClassName(), Class->ClassName(),
                              "TCustomDropMultiSource or TCustomDropMultiTarget"}));
    Scope = *S;
  }
  FFeedingFormats = std::make_unique<TClipboardFormats>(this, true);
  TheDataFormatMap().FillFeedingFormats(Class, FFeedingFormats.get(), Scope);
  if (AOwner && AOwner->DataFormats()) AOwner->DataFormats()->Add(this);
}

TCustomDataFormat::~TCustomDataFormat() {
  FFeedingFormats.reset();
  if (FOwner && FOwner->DataFormats()) FOwner->DataFormats()->Remove(this);
}

void TCustomDataFormat::Changing() {
  if (OnChanging) OnChanging(this);
}

bool TCustomDataFormat::Assign(TClipboardFormat* Source) { return Source && Source->AssignTo(this); }

bool TCustomDataFormat::AssignTo(TClipboardFormat* Dest) { return Dest && Dest->Assign(this); }

bool TCustomDataFormat::GetData(IDataObject* DataObject) {
  bool Result = false;
  for (Integer I = 0; I < FFeedingFormats->Count() && NeedsData(); ++I) {
    TClipboardFormat* F = FFeedingFormats->Items(I);
    F->Clear();
    if (F->GetData(DataObject) && F->HasData() && Assign(F)) {
      F->Clear();
      Result = true;
    }
  }
  return Result;
}

bool TCustomDataFormat::HasValidFormats(IDataObject* DataObject) {
  for (Integer I = 0; I < FFeedingFormats->Count(); ++I)
    if (FFeedingFormats->Items(I)->HasValidFormats(DataObject)) return true;
  return false;
}

bool TCustomDataFormat::AcceptFormat(const FORMATETC& Format) {
  for (Integer I = 0; I < FFeedingFormats->Count(); ++I)
    if (FFeedingFormats->Items(I)->AcceptFormat(Format)) return true;
  return false;
}

TDataFormats::~TDataFormats() {
  while (!FList.empty()) Remove(FList.back());
}

Integer TDataFormats::Add(TCustomDataFormat* Format) {
  const Integer I = IndexOf(Format);
  if (I >= 0) return I;
  FList.push_back(Format);
  return Integer(FList.size()) - 1;
}

Integer TDataFormats::IndexOf(TCustomDataFormat* Format) const {
  auto It = std::find(FList.begin(), FList.end(), Format);
  return It == FList.end() ? -1 : Integer(It - FList.begin());
}

void TDataFormats::Remove(TCustomDataFormat* Format) {
  auto It = std::find(FList.begin(), FList.end(), Format);
  if (It != FList.end()) FList.erase(It);
}

void TDataFormatClasses::Add(TClass Class) {
  if (std::find(FList.begin(), FList.end(), Class) == FList.end()) FList.push_back(Class);
}

void TDataFormatClasses::Remove(TClass Class) {
  auto It = std::find(FList.begin(), FList.end(), Class);
  if (It != FList.end()) FList.erase(It);
}

// --- the format map ------------------------------------------------------------------------------

Integer TDataFormatMap::FindEntry(TClass DataFormat, TClass ClipboardFormat) const {
  for (std::size_t I = 0; I < FEntries.size(); ++I)
    if (FEntries[I].DataFormat->InheritsFrom(DataFormat) && FEntries[I].ClipboardFormat->InheritsFrom(ClipboardFormat))
      return Integer(I);
  return -1;
}

void TDataFormatMap::Add(TClass DataFormat, TClass ClipboardFormat, Integer Priority, TConversionScopes Scopes,
                         TDataDirections Direction) {
  const Integer Found = FindEntry(DataFormat, ClipboardFormat);
  TEntry L{DataFormat, ClipboardFormat, Priority, Scopes, Direction};
  if (Found >= 0) {
    const TEntry Old = FEntries[std::size_t(Found)];
    FEntries.erase(FEntries.begin() + Found);
    L.Scopes = Old.Scopes + Scopes;
    L.Direction = Old.Direction + Direction;
  }
  // Sort the new entry into its data format's group, looking at every
  // earlier entry: a group that starts the map is a group like any other.
  Integer Last = -1;
  for (Integer I = Integer(FEntries.size()) - 1; I >= 0; --I)
    if (FEntries[std::size_t(I)].DataFormat == DataFormat) {
      Last = I;
      break;
    }
  if (Last < 0) {
    FEntries.push_back(L);
    return;
  }
  Integer J = Last;
  while (J >= 0 && FEntries[std::size_t(J)].DataFormat == DataFormat && FEntries[std::size_t(J)].Priority >= Priority)
    --J;
  FEntries.insert(FEntries.begin() + (J + 1), L);
}

void TDataFormatMap::DeleteByDataFormat(TClass DataFormat) {
  std::erase_if(FEntries, [&](const TEntry& E) { return E.DataFormat->InheritsFrom(DataFormat); });
}

void TDataFormatMap::DeleteByClipboardFormat(TClass ClipboardFormat) {
  std::erase_if(FEntries, [&](const TEntry& E) { return E.ClipboardFormat->InheritsFrom(ClipboardFormat); });
}

void TDataFormatMap::FillFeedingFormats(TClass DataFormat, TClipboardFormats* List, TConversionScope Scope) const {
  List->Clear();
  for (const TEntry& E : FEntries) {
    if (!E.Scopes.Contains(Scope) || !DataFormat->InheritsFrom(E.DataFormat)) continue;
    auto* F = dynamic_cast<TClipboardFormat*>(E.ClipboardFormat->Create());
    if (!F) continue;
    F->Direction = E.Direction;
    List->Add(F);
  }
}

namespace {
// The map is filled by the format units in the order their units start.
struct TDragDropRegistries {
  TDataFormatMap Map;
  TDataFormatClasses Classes;
  bool Filled = false;
};
TDragDropRegistries& Registries() {
  static TDragDropRegistries R;
  if (!R.Filled) {
    R.Filled = true;
    RegisterDragDropFormatsUnit();
    RegisterDragDropPIDLUnit();
    RegisterDragDropFileUnit();
  }
  return R;
}
}  // namespace

TDataFormatMap& TheDataFormatMap() { return Registries().Map; }
TDataFormatClasses& TheDataFormatClasses() { return Registries().Classes; }

void AddDataFormatClass(TClass Class) { TheDataFormatClasses().Add(Class); }

void RemoveDataFormatClass(TClass Class) {
  TheDataFormatMap().DeleteByDataFormat(Class);
  TheDataFormatClasses().Remove(Class);
}

void MapDataFormat(TClass DataFormat, TClass ClipboardFormat, Integer Priority, TConversionScopes Scopes,
                   TDataDirections Direction) {
  TheDataFormatMap().Add(DataFormat, ClipboardFormat, Priority, Scopes, Direction);
}

void UnmapClipboardFormat(TClass ClipboardFormat) { TheDataFormatMap().DeleteByClipboardFormat(ClipboardFormat); }

// --- conversions ---------------------------------------------------------------------------------

TShiftState KeysToShiftState(DWORD KeyState) {
  TShiftState S;
  if (KeyState & MK_SHIFT) S.Include(ssShift);
  if (KeyState & MK_CONTROL) S.Include(ssCtrl);
  if (KeyState & MK_LBUTTON) S.Include(ssLeft);
  if (KeyState & MK_RBUTTON) S.Include(ssRight);
  if (KeyState & MK_MBUTTON) S.Include(ssMiddle);
  if (KeyState & 0x0020) S.Include(ssAlt);  // MK_ALT
  return S;
}

DWORD ChooseDropEffect(TShiftState Shift, DWORD Allowed, bool FallBack) {
  DWORD Effect;
  if (Shift.Contains(ssCtrl) && Shift.Contains(ssShift)) Effect = DROPEFFECT_LINK;
  else if (Shift.Contains(ssCtrl)) Effect = DROPEFFECT_COPY;
  else Effect = DROPEFFECT_MOVE;
  if (!(Effect & Allowed)) Effect = DROPEFFECT_NONE;
  if (Effect == DROPEFFECT_NONE && FallBack)
    for (DWORD E : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
      if (Allowed & E) return E;
  return Effect;
}

DWORD DragTypesToDropEffect(TDragTypes DragTypes) {
  DWORD E = 0;
  if (DragTypes.Contains(dtCopy)) E |= DROPEFFECT_COPY;
  if (DragTypes.Contains(dtMove)) E |= DROPEFFECT_MOVE;
  if (DragTypes.Contains(dtLink)) E |= DROPEFFECT_LINK;
  return E;
}

TPoint ClientToWindowPoint(HWND Window, TPoint Point) {
  ClientToScreen(Window, &Point);
  TRect R;
  GetWindowRect(Window, &R);
  return {Point.X - R.Left, Point.Y - R.Top};
}
