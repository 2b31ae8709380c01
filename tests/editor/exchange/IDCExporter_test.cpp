#include "editor/exchange/IDCExporter.h"

#include <gtest/gtest.h>

#include "editor/exchange/DCHTMLExporter.h"
#include "editor/exchange/DCRTFExporter.h"
#include "platform/rtl/Streams.h"

namespace {

// Writes a document through the interface only, as a caller holding it
// would.
void WriteBoldWord(IDCExporter* E) {
  E->StartDocument("t");
  E->StartBold();
  E->WriteString(E->ConvertText("a<b"));
  E->EndBold();
  E->EndDocument();
}

template <class TExporter>
void CheckInterface(const char* Expected) {
  TStringStream Out;
  auto* Exporter = new TExporter(&Out);
  void* P = nullptr;
  ASSERT_EQ(Exporter->QueryInterface(IDCExporter::IID(), &P), S_OK);
  auto* Intf = static_cast<IDCExporter*>(P);
  EXPECT_EQ(Exporter->RefCount(), 1);
  WriteBoldWord(Intf);
  EXPECT_NE(Out.DataString().find(Expected), std::string::npos) << Out.DataString();
  void* Base = nullptr;
  EXPECT_EQ(Intf->QueryInterface(IUnknown::IID(), &Base), S_OK);
  EXPECT_EQ(Intf->_AddRef(), 3);
  EXPECT_EQ(Intf->_Release(), 2);
  EXPECT_EQ(static_cast<IInterface*>(Base)->_Release(), 1);
  const TGUID Other{1, 2, 3, {}};
  void* None = &P;
  EXPECT_EQ(Intf->QueryInterface(Other, &None), E_NOINTERFACE);
  EXPECT_EQ(None, nullptr);
  EXPECT_EQ(Intf->_Release(), 0) << "the last release frees the exporter";
}

}  // namespace

TEST(IDCExporter, BothExportersAnswerTheInterfaceAndWriteThroughIt) {
  CheckInterface<TDCHTMLExporter>("<B>a&lt;b</B>");
  CheckInterface<TDCRTFExporter>("{\\b \r\na<b}");
}
