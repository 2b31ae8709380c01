#include "platform/rtl/Interfaces.h"

#include <gtest/gtest.h>

namespace {
class IGreeter : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IGreeter, "{6B0E4C1A-2F3D-4E5A-8B9C-0D1E2F3A4B5C}")
  virtual AnsiString Greet() = 0;
};

class ICounter : public virtual IUnknown {
public:
  SX_INTERFACE_ID(ICounter, "{6B0E4C1A-2F3D-4E5A-8B9C-0D1E2F3A4B5D}")
  virtual int Next() = 0;
};

class INotImplemented : public virtual IUnknown {
public:
  SX_INTERFACE_ID(INotImplemented, "{6B0E4C1A-2F3D-4E5A-8B9C-0D1E2F3A4B5E}")
};

int Freed = 0;

class TGreeter : public TInterfacedObject, public IGreeter, public ICounter {
public:
  ~TGreeter() override { ++Freed; }
  AnsiString Greet() override { return "hello"; }
  int Next() override { return ++FN; }

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override {
    return OfferInterface<IGreeter>(this, IID, Obj) || OfferInterface<ICounter>(this, IID, Obj) ||
           TInterfacedObject::GetInterface(IID, Obj);
  }

private:
  int FN = 0;
};
}  // namespace

TEST(TGUID, TextRoundTripsAndBadTextIsRejected) {
  const AnsiString Text = "{00020400-0000-0000-C000-000000000046}";
  const TGUID G = StringToGUID(Text);
  EXPECT_EQ(G.D1, 0x00020400u);
  EXPECT_EQ(G.D4[0], 0xC0);
  EXPECT_EQ(G.D4[7], 0x46);
  EXPECT_EQ(GUIDToString(G), Text);
  EXPECT_EQ(StringToGUID("{6b0e4c1a-2f3d-4e5a-8b9c-0d1e2f3a4b5c}"), IGreeter::IID()) << "hex digits in any case";
  for (const char* Bad : {"", "{00020400-0000-0000-C000-00000000004}", "00020400-0000-0000-C000-000000000046",
                          "{00020400-0000-0000-C000-00000000004G}", "{00020400+0000-0000-C000-000000000046}"}) {
    SCOPED_TRACE(Bad);
    EXPECT_THROW(StringToGUID(Bad), EConvertError);
  }
  TGUID A, B;
  CreateGUID(A);
  CreateGUID(B);
  EXPECT_FALSE(A == B);
  EXPECT_EQ(A.D3 >> 12, 4) << "a random (version 4) identifier";
}

TEST(TInterfacedObject, LastReferenceFreesTheObject) {
  Freed = 0;
  {
    TIntfPtr<IGreeter> G(new TGreeter);
    TIntfPtr<ICounter> C;
    ASSERT_TRUE(Supports(G.Get(), C)) << "one object answers for each of its interfaces";
    EXPECT_EQ(C->Next(), 1);
    EXPECT_EQ(dynamic_cast<TGreeter*>(G.Get())->RefCount(), 2);
    TIntfPtr<INotImplemented> N;
    EXPECT_FALSE(Supports(G.Get(), N));
    EXPECT_FALSE(N);
    G.Reset();
    EXPECT_EQ(Freed, 0) << "the counter still holds it";
    EXPECT_EQ(C->Next(), 2);
  }
  EXPECT_EQ(Freed, 1);
}

TEST(TInterfacedObject, SupportsWithoutAResultKeepsTheCountAndAcceptsAnyObject) {
  Freed = 0;
  TIntfPtr<IGreeter> G(new TGreeter);
  auto* Obj = dynamic_cast<TGreeter*>(G.Get());
  EXPECT_TRUE(Supports(static_cast<TObject*>(Obj), ICounter::IID()));
  EXPECT_EQ(Obj->RefCount(), 1);
  TPersistent Plain;
  EXPECT_FALSE(Supports(&Plain, IUnknown::IID())) << "an object without interfaces";
  EXPECT_FALSE(Supports(static_cast<IUnknown*>(nullptr), IUnknown::IID()));
  void* Out = nullptr;
  EXPECT_EQ(Obj->QueryInterface(INotImplemented::IID(), &Out), E_NOINTERFACE);
  EXPECT_EQ(Out, nullptr);
}

TEST(TInterfacedPersistent, WithoutAnOwnerReferencesAreNotCounted) {
  auto* P = new TInterfacedPersistent;
  {
    TIntfPtr<IUnknown> U(P);
    EXPECT_EQ(P->_AddRef(), -1);
  }
  delete P;  // still alive: the owner (here the test) frees it
}

TEST(TInterfaceList, HoldsReferencesAndFindsItemsByIdentity) {
  Freed = 0;
  TIntfPtr<IInterfaceList> L(new TInterfaceList);
  auto* G1 = new TGreeter;
  auto* G2 = new TGreeter;
  L->Add(static_cast<IGreeter*>(G1));
  L->Add(static_cast<ICounter*>(G2));
  EXPECT_EQ(L->Count(), 2);
  EXPECT_EQ(L->IndexOf(static_cast<ICounter*>(G1)), 0) << "another interface of the same object";
  EXPECT_EQ(L->IndexOf(static_cast<IGreeter*>(G2)), 1);
  EXPECT_EQ(L->Remove(static_cast<IGreeter*>(G1)), 0);
  EXPECT_EQ(Freed, 1) << "the list held the last reference";
  EXPECT_THROW(L->Get(1), EListError);
  TIntfPtr<IGreeter> G;
  ASSERT_TRUE(Supports(L->Get(0).Get(), G));
  EXPECT_EQ(G->Greet(), "hello");
  G.Reset();
  L.Reset();
  EXPECT_EQ(Freed, 2) << "freeing the list lets go of its items";
}
