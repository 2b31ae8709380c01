#include "platform/rtl/Events.h"

#include <gtest/gtest.h>

#include <string>

namespace {
class TListener : public TObject {
public:
  void Clicked(TObject* Sender) { Log += Sender ? "click;" : "nil;"; }
  void Other(TObject*) { Log += "other;"; }
  void Changing(TObject*, bool& Allow) { Allow = false; }
  std::string Log;
};
// A second base before TObject moves the TObject subobject; the delegate
// must still call with the right this.
struct TMixin { int Pad[4] = {}; virtual ~TMixin() = default; };
class TOffset : public TMixin, public TListener {};
}  // namespace

TEST(TEvent, CallsTheBoundMethodOnItsObject) {
  TListener L;
  TNotifyEvent E(&L, &TListener::Clicked);
  ASSERT_TRUE(E.Assigned());
  E(&L);
  E(nullptr);
  EXPECT_EQ(L.Log, "click;nil;");

  TOffset O;
  TNotifyEvent F(&O, &TListener::Clicked);
  F(&O);
  EXPECT_EQ(O.Log, "click;");
}

TEST(TEvent, ReferenceParametersReachTheHandler) {
  TListener L;
  TEvent<void(TObject*, bool&)> E(&L, &TListener::Changing);
  bool Allow = true;
  E(nullptr, Allow);
  EXPECT_FALSE(Allow);
}

TEST(TEvent, EqualWhenSameObjectAndMethod) {
  TListener A, B;
  EXPECT_EQ(TNotifyEvent(&A, &TListener::Clicked), TNotifyEvent(&A, &TListener::Clicked));
  EXPECT_FALSE(TNotifyEvent(&A, &TListener::Clicked) == TNotifyEvent(&B, &TListener::Clicked));
  EXPECT_FALSE(TNotifyEvent(&A, &TListener::Clicked) == TNotifyEvent(&A, &TListener::Other));
  EXPECT_EQ(TNotifyEvent(), TNotifyEvent(nullptr));
  EXPECT_FALSE(TNotifyEvent().Assigned());
  EXPECT_THROW(TNotifyEvent()(nullptr), EInvalidOperation);
}

TEST(TEvent, UntypedMethodRoundTripsAndChecksSignature) {
  TListener L;
  TNotifyEvent E(&L, &TListener::Clicked);
  TMethod M = E.ToMethod();
  EXPECT_EQ(M.Data, &L);
  EXPECT_EQ(TNotifyEvent::FromMethod(M), E);
  EXPECT_THROW((TEvent<void(TObject*, bool&)>::FromMethod(M)), EInvalidCast);
  EXPECT_FALSE(TNotifyEvent::FromMethod(TMethod{}).Assigned());
}
