// Filer.h — the component stream in its binary form ("TPF0"): TReader builds
// components from it, TWriter writes them. The text form (ObjectText.h)
// converts to and from this form.
//
// Layout: the signature, then one component: an optional prefix byte
// (0xF0 | flags, then the child position when ffChildPos), class name and
// component name as short strings, its properties (name + typed value,
// ended by an empty name), its children, an end marker. Values start with a
// TValueType byte; integers, lengths and counts are little-endian.
//
// What gets written: each published property that has a setter, passes its
// stored specifier and differs from its default (TypInfo.h), in declaration
// order; objects that are not components as their own properties under
// "Prop."; collections as item lists; component references and event
// handlers by name. Then whatever DefineProperties adds.
//
// Reading: components are created through their registered class
// (ClassRegistry.h) and owned by the root; references to components are
// fixed up by name after the whole stream is read, then Loaded runs on every
// component read. A bad stream raises EReadError (or EClassNotFound); a
// component created for it is freed again and no flag stays set.
#pragma once
#include <functional>
#include <vector>
#include "platform/rtl/Collection.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Streams.h"

enum TValueType : Byte {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue, vaBinary,
  vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64,
  vaUTF8String, vaDouble
};

SX_ENUM(TFilerFlag, ffInherited, ffChildPos, ffInline)
using TFilerFlags = TSet<TFilerFlag>;

class TFiler;
class TReader;
class TWriter;
using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

// How deep objects, lists and collections may nest in a stream or text.
constexpr int MaxObjectNesting = 64;

class TFiler : public TObject {
public:
  // Borrows Stream for the filer's life.
  explicit TFiler(TStream* AStream) : FStream(AStream) {}

  // Called from DefineProperties: data stored under Name that is not a
  // published property. The reader calls ReadData when Name comes up; the
  // writer calls WriteData when HasData.
  virtual void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                              bool HasData) = 0;
  // The same for raw bytes, stored as one binary value.
  virtual void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                                    const TStreamProc& WriteData, bool HasData) = 0;

  TComponent* Root() const { return FRoot; }
  TComponent* LookupRoot() const { return FLookupRoot; }
  // Always nil: descendant streams are not written by this layer.
  TPersistent* Ancestor() const { return nullptr; }

protected:
  TStream* FStream;
  TComponent* FRoot = nullptr;
  TComponent* FLookupRoot = nullptr;
};

class TReader : public TFiler {
public:
  explicit TReader(TStream* AStream) : TFiler(AStream) {}
  ~TReader() override;

  void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;

  // Reads the signature and one root component into Root, or into a new
  // object of the stream's class when Root is nil (the caller owns it).
  TComponent* ReadRootComponent(TComponent* ARoot);
  // Reads one component (with its children) below the current root.
  TComponent* ReadComponent(TComponent* Component);
  // The properties and children of Instance (TComponent::ReadState).
  void ReadData(TComponent* Instance);
  void ReadSignature();
  void ReadPrefix(TFilerFlags& Flags, Integer& AChildPos);

  // Values.
  TValueType NextValue();
  TValueType ReadValue();
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  Integer ReadInteger();
  Int64 ReadInt64();
  bool ReadBoolean();
  char ReadChar();
  double ReadFloat();
  AnsiString ReadString();
  WideString ReadWideString();
  AnsiString ReadIdent();
  // A raw short string (property and class names).
  AnsiString ReadStr();
  void ReadCollection(TCollection* Collection);
  // Skips one value of any type.
  void SkipValue();

  // The component that new components are owned by / parented to.
  TComponent* Owner() const { return FOwner; }
  TComponent* Parent() const { return FParent; }
  // Asked when a handler name is not found on the root; may set Method.
  std::function<void(TReader* Reader, const AnsiString& Name, TMethod& Method)> OnFindMethod;
  // Asked when a property cannot be read (an unknown name or a value that
  // does not fit). Setting Handled skips the whole value and reading goes
  // on with the next property; otherwise the error is raised.
  std::function<void(TReader* Reader, const AnsiString& Message, bool& Handled)> OnError;

private:
  struct TFixup {
    TObject* Instance;
    const TPropInfo* Prop;
    AnsiString Name;
  };
  void ReadDataInner(TComponent* Instance);
  void ReadProperty(TPersistent* Instance);
  void ReadPropValue(TObject* Instance, const TPropInfo* Prop);
  void ReadProperties(TPersistent* Instance);  // until the end of the list
  Int64 ReadSet(const TTypeInfo* SetType);
  void FixupReferences();
  void ReadBytes(void* Buf, Int64 Count);
  Int64 Remaining();
  [[noreturn]] void Error(const AnsiString& Message);
  void Enter();

  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  AnsiString FPropName;
  std::vector<TFixup>* FFixups = nullptr;
  std::vector<TComponent*>* FLoaded = nullptr;
  int FDepth = 0;
};

class TWriter : public TFiler {
public:
  explicit TWriter(TStream* AStream) : TFiler(AStream) {}

  void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;

  // The signature and Root with everything it lists as children.
  void WriteRootComponent(TComponent* ARoot);
  void WriteComponent(TComponent* Component);
  // Properties and children of Instance (TComponent::WriteState).
  void WriteData(TComponent* Instance);
  void WriteSignature();
  void WritePrefix(TFilerFlags Flags, Integer AChildPos);

  // Values.
  void WriteListBegin();
  void WriteListEnd();
  void WriteInteger(Int64 Value);  // the smallest of vaInt8/16/32/Int64
  void WriteBoolean(bool Value);
  void WriteChar(char Value);
  void WriteFloat(double Value);
  void WriteString(const AnsiString& Value);
  void WriteWideString(const WideString& Value);
  // True/False/nil/Null become their own value types.
  void WriteIdent(const AnsiString& Ident);
  void WriteStr(const AnsiString& Value);
  void WriteCollection(TCollection* Collection);
  void WriteValue(TValueType Value);
  void WritePropName(const AnsiString& Name);

private:
  void WriteProperties(TPersistent* Instance);
  void WriteProperty(TPersistent* Instance, const TPropInfo* Prop);
  AnsiString ComponentRefName(TComponent* Component);
  AnsiString FPropPath;
  int FDepth = 0;
};

// 80-bit extended, as stored after vaExtended.
void DoubleToExtended(double V, Byte Out[10]);
double ExtendedToDouble(const Byte In[10]);

// Loading several roots as one (forms that refer to each other): between
// Begin and End, Loaded is held back until NotifyGlobalLoading.
void BeginGlobalLoading();
void NotifyGlobalLoading();
void EndGlobalLoading();

// Where a dotted reference "Form2.Button1" finds its first part. Returns
// nil for an unknown name.
using TFindGlobalComponent = TComponent* (*)(const AnsiString& Name);
void RegisterFindGlobalComponentProc(TFindGlobalComponent Proc);
void UnregisterFindGlobalComponentProc(TFindGlobalComponent Proc);
TComponent* FindGlobalComponent(const AnsiString& Name);
