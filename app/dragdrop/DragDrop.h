// DragDrop.h — the foundation of the program's OLE drag-and-drop family.
//
// Two ideas are kept apart: a clipboard format (TClipboardFormat) is one
// concrete representation a data object carries (a format id, its media,
// and the code that decodes or renders the bytes); a data format
// (TCustomDataFormat) is one kind of content the program wants (file names,
// a text), fed by several clipboard formats. The format map says which
// clipboard formats feed which data format, in order of preference; a data
// format copies its list from the map when it is made.
//
// Ownership: a data format owns its clipboard formats; a drag-and-drop
// component lists its data formats without owning them (each data format
// takes itself out of that list when freed). The map and the class registry
// live for the process. The byte readers are the data-transfer layer's
// (platform/ole/DropFormats.h): everything read here comes from other
// programs and is checked against its own size there.
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "platform/ole/OleApi.h"
#include "platform/ole/OleErrors.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ShortCuts.h"

SX_ENUM(TDragType, dtCopy, dtMove, dtLink)
using TDragTypes = TSet<TDragType>;

// Whom a conversion of the map serves: drop sources (scSource, bit 0) or
// drop targets (scTarget, bit 1).
SX_ENUM(TConversionScope, scSource, scTarget)
using TConversionScopes = TSet<TConversionScope>;

// Read (1) or write (2): the way a clipboard format is used.
SX_ENUM(TDataDirection, ddRead, ddWrite)
using TDataDirections = TSet<TDataDirection>;

class TCustomDataFormat;
class TDataFormats;

// A component that implements OLE interfaces without being freed by them:
// references are counted by an owner that is itself an interface, else not
// at all (-1), so releasing an interface never frees the component.
class TInterfacedComponent : public TComponent, public virtual IUnknown {
  SX_CLASS(TInterfacedComponent, TComponent)
public:
  explicit TInterfacedComponent(TComponent* AOwner) : TComponent(AOwner) {}
  HRESULT QueryInterface(const TGUID& IID, void** Obj) override;
  Integer _AddRef() override;
  Integer _Release() override;

protected:
  // The interfaces the class itself implements (IUnknown here).
  virtual bool GetInterface(const TGUID& IID, void** Obj);

private:
  IUnknown* OwnerInterface() const;
};

class TDragDropComponent : public TInterfacedComponent {
  SX_CLASS(TDragDropComponent, TInterfacedComponent)
public:
  explicit TDragDropComponent(TComponent* AOwner);
  ~TDragDropComponent() override;
  // The data formats of the component (nil until a descendant makes the
  // list); not owned by it.
  TDataFormats* DataFormats() const { return FDataFormats.get(); }
  // The scope in which the component's data formats work (a drop target
  // with data formats: scTarget); none for a component that may not own
  // data formats.
  virtual std::optional<TConversionScope> DataFormatScope() const { return std::nullopt; }

protected:
  std::unique_ptr<TDataFormats> FDataFormats;
};

// --- clipboard formats ---------------------------------------------------------------------------

class TClipboardFormat : public TObject {
  SX_CLASS(TClipboardFormat, TObject)
public:
  // The parameterless construction the format map uses: direction read,
  // content aspect, the whole data (index -1), on MediumTypes.
  explicit TClipboardFormat(DWORD MediumTypes = TYMED_HGLOBAL | TYMED_ISTREAM);
  // A format made from a whole description (its five fields copied).
  explicit TClipboardFormat(const FORMATETC& Format);
  ~TClipboardFormat() override = default;

  TDataDirections Direction{ddRead};
  // The data format that owns this one (nil for a free-standing one).
  TCustomDataFormat* DataFormat = nullptr;
  // The description; its format id is GetClipboardFormat's unless one was
  // given at construction or set.
  const FORMATETC& FormatEtc();

  // The format id. Raises "Internal error: %s.%s needs implementation"
  // for a class that does not say.
  virtual CLIPFORMAT GetClipboardFormat();
  virtual void SetClipboardFormat(CLIPFORMAT Value);
  // The registered name (empty for a predefined format).
  virtual AnsiString GetClipboardFormatName();
  // Raises "%s.ClipboardFormat is read-only".
  virtual void SetClipboardFormatName(const AnsiString& Value);

  // The data object offers this format on one of its media.
  virtual bool HasValidFormats(IDataObject* DataObject);
  // Same id, no device, same aspect and a medium in common.
  virtual bool AcceptFormat(const FORMATETC& Format);
  // Reads the format from a data object; false when it is not there.
  virtual bool GetData(IDataObject* DataObject);
  // Decodes a medium of this format; the medium is released in every case.
  virtual bool GetDataFromMedium(IDataObject* DataObject, STGMEDIUM& Medium);
  // Renders the content for a description and gives it to the data object
  // (ownership passed); true only when the data object took it.
  virtual bool SetData(IDataObject* DataObject, const FORMATETC& Format, STGMEDIUM& Medium);
  virtual bool Assign(TCustomDataFormat* Source);
  virtual bool AssignTo(TCustomDataFormat* Dest);
  virtual void Clear() = 0;
  virtual bool HasData() { return true; }

protected:
  // The part of the data the format asks for (-1: all of it).
  void SetIndex(LONG Index) { FFormatEtc.lindex = Index; }
  virtual bool DoGetData(IDataObject* DataObject, const STGMEDIUM& Medium);
  virtual bool DoSetData(const FORMATETC& Format, STGMEDIUM& Medium);

private:
  FORMATETC FFormatEtc;
  bool FFormatKnown = false;
};

// A list of clipboard formats; an owning list bound to a data format makes
// that the DataFormat of every format added.
class TClipboardFormats : public TObject {
  SX_CLASS(TClipboardFormats, TObject)
public:
  TClipboardFormats(TCustomDataFormat* ADataFormat, bool AOwnsObjects);
  ~TClipboardFormats() override;
  Integer Add(TClipboardFormat* Format);
  Integer Count() const { return Integer(FList.size()); }
  TClipboardFormat* Items(Integer Index) const { return FList.at(std::size_t(Index)); }
  // Frees the formats (last first) when owning, then empties the list.
  void Clear();

private:
  TCustomDataFormat* FDataFormat;
  bool FOwnsObjects;
  std::vector<TClipboardFormat*> FList;
};

// --- data formats --------------------------------------------------------------------------------

class TCustomDataFormat : public TObject {
  SX_CLASS(TCustomDataFormat, TObject)
public:
  // Class is the concrete data format's class, whose compatible clipboard
  // formats the map gives. Raises "%s is not a valid owner for %s. Owner
  // must be derived from %s" for an owner that may not hold data formats.
  TCustomDataFormat(TDragDropComponent* AOwner, TClass Class);
  ~TCustomDataFormat() override;

  // The compatible clipboard formats, in order of preference.
  TClipboardFormats* CompatibleFormats() const { return FFeedingFormats.get(); }
  TDragDropComponent* Owner() const { return FOwner; }
  TNotifyEvent OnChanging;

  virtual void Changing();
  virtual void Clear() = 0;
  // Takes content from a clipboard format (by default: the format gives it).
  virtual bool Assign(TClipboardFormat* Source);
  virtual bool AssignTo(TClipboardFormat* Dest);
  // Reads from the first compatible clipboard format that yields content.
  virtual bool GetData(IDataObject* DataObject);
  virtual bool HasData() = 0;
  virtual bool NeedsData() { return !HasData(); }
  virtual bool HasValidFormats(IDataObject* DataObject);
  virtual bool AcceptFormat(const FORMATETC& Format);

private:
  std::unique_ptr<TClipboardFormats> FFeedingFormats;
  TDragDropComponent* FOwner;
};

// The data formats of a component, not owned.
class TDataFormats : public TObject {
  SX_CLASS(TDataFormats, TObject)
public:
  TDataFormats() = default;
  ~TDataFormats() override;
  virtual Integer Add(TCustomDataFormat* Format);
  virtual Integer IndexOf(TCustomDataFormat* Format) const;
  virtual void Remove(TCustomDataFormat* Format);
  Integer Count() const { return Integer(FList.size()); }
  TCustomDataFormat* Items(Integer Index) const { return FList.at(std::size_t(Index)); }

private:
  std::vector<TCustomDataFormat*> FList;
};

// The registry of data format classes (filled by the format units).
class TDataFormatClasses : public TObject {
  SX_CLASS(TDataFormatClasses, TObject)
public:
  virtual void Add(TClass Class);
  virtual void Remove(TClass Class);
  const std::vector<TClass>& Items() const { return FList; }

private:
  std::vector<TClass> FList;
};

// Which clipboard formats feed which data formats, in order of preference.
class TDataFormatMap : public TObject {
  SX_CLASS(TDataFormatMap, TObject)
public:
  struct TEntry {
    TClass DataFormat;
    TClass ClipboardFormat;
    Integer Priority;  // lower is preferred
    TConversionScopes Scopes;
    TDataDirections Direction;
  };
  // Adds (or moves and widens) the entry of the pair and sorts it into its
  // data format's group: ascending priority, among equal priorities the
  // later registration first.
  void Add(TClass DataFormat, TClass ClipboardFormat, Integer Priority, TConversionScopes Scopes,
           TDataDirections Direction);
  void DeleteByDataFormat(TClass DataFormat);
  void DeleteByClipboardFormat(TClass ClipboardFormat);
  // The first entry whose classes are those classes or descendants; -1.
  Integer FindEntry(TClass DataFormat, TClass ClipboardFormat) const;
  // Empties List, then adds a new clipboard format for every entry of the
  // scope that feeds DataFormat (or an ancestor of it), in map order.
  void FillFeedingFormats(TClass DataFormat, TClipboardFormats* List, TConversionScope Scope) const;
  const std::vector<TEntry>& Entries() const { return FEntries; }

private:
  std::vector<TEntry> FEntries;
};

// The process's map and class registry, complete (every format unit of the
// family registered) on first use.
TDataFormatMap& TheDataFormatMap();
TDataFormatClasses& TheDataFormatClasses();

void AddDataFormatClass(TClass Class);
void RemoveDataFormatClass(TClass Class);
void MapDataFormat(TClass DataFormat, TClass ClipboardFormat, Integer Priority, TConversionScopes Scopes,
                   TDataDirections Direction);
void UnmapClipboardFormat(TClass ClipboardFormat);

// --- small conversions ---------------------------------------------------------------------------

// The OLE key state (MK_ bits, Alt 32 included) as a shift state.
TShiftState KeysToShiftState(DWORD KeyState);
// Ctrl+Shift link, Ctrl copy, otherwise move, kept only when allowed; with
// FallBack an effect that is not allowed gives the first allowed one of
// copy, move, link.
DWORD ChooseDropEffect(TShiftState Shift, DWORD Allowed, bool FallBack);
DWORD DragTypesToDropEffect(TDragTypes DragTypes);
// A client point of Window as image-list dragging wants it: relative to the
// window's outer rectangle.
TPoint ClientToWindowPoint(HWND Window, TPoint Point);
