#include <gtest/gtest.h>
#include "TraceEngine.h"
#include "platform/richedit/RichEdit.h"
#include "platform/rtl/Streams.h"

namespace {
std::string ManyLinesRtf() {
  std::string Rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
  for (int I = 0; I < 70; ++I) Rtf += "Line " + std::to_string(I) + "\\par ";
  return Rtf + "}";
}
}  // namespace

// The control, the stream road and a bare document must give the writer the
// same pages and items: they share one range formatter.
TEST(TgtRichEditControlTarget, ControlStreamAndDocumentRenderAlike) {
  const std::string Rtf = ManyLinesRtf();
  TRichEdit Edit(nullptr);
  Edit.LoadBytes(Rtf);

  TTraceEngine ByDocument;
  ByDocument.TraceAdvances = true;
  TgtRichDocumentTarget DocTarget(Edit.Document());
  ByDocument.BeginDoc();
  ByDocument.RenderRichEdit(DocTarget, 0, 25, 25, 600, 800);
  ByDocument.EndDoc();

  TTraceEngine ByControl;
  ByControl.TraceAdvances = true;
  ByControl.BeginDoc();
  ByControl.RenderRichEdit(&Edit, 0, 25, 25, 600, 800);
  ByControl.EndDoc();

  TTraceEngine ByStream;
  ByStream.TraceAdvances = true;
  TMemoryStream Stream;
  Stream.Write(Rtf.data(), Integer(Rtf.size()));   // left at its end: the road rewinds it
  ByStream.BeginDoc();
  ByStream.RenderRTFStream(&Stream, 0, 25, 25, 600, 800);
  ByStream.EndDoc();

  EXPECT_EQ(ByDocument.Joined("BeginPage"), "BeginPage 1\nBeginPage 2\n");
  EXPECT_NE(ByDocument.Joined().find("\"Line 69\" Arial 10"), std::string::npos);
  EXPECT_EQ(ByControl.Joined(), ByDocument.Joined());
  EXPECT_EQ(ByStream.Joined(), ByDocument.Joined());
}

TEST(TgtRichEditControlTarget, MissingRtfFileRaisesAndLeavesTheDocumentUsable) {
  TTraceEngine E;
  E.BeginDoc();
  EXPECT_ANY_THROW(E.RenderRTFFile("/nonexistent/dir/in.rtf", 0, 25, 25, 600, 800));
  EXPECT_TRUE(E.IsDocumentOpen());
  E.TextOut(10, 10, u"after");
  E.EndDoc();
  EXPECT_NE(E.Joined().find("\"after\""), std::string::npos);
}

TEST(TgtRichEditControlTarget, NullControlOrStreamRendersNothing) {
  TTraceEngine E;
  E.BeginDoc();
  E.RenderRichEdit(static_cast<TCustomRichEdit*>(nullptr), 0, 25, 25, 600, 800);
  E.RenderRTFStream(nullptr, 0, 25, 25, 600, 800);
  E.EndDoc();
  EXPECT_EQ(E.Joined("BeginPage"), "BeginPage 1\n");
}
