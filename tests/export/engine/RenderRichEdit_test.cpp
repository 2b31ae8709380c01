#include <gtest/gtest.h>
#include "TraceEngine.h"
#include "platform/richedit/Layout_TestSupport.h"

namespace {
// A target that reports no progress: the render loop must not page for ever.
class TStuckTarget : public IgtRichEditTarget {
public:
  LRESULT FormatRange(WPARAM, FORMATRANGE* R) override { return R ? 5 : 0; }
  Integer GetTextLen() override { return 100; }
};
}  // namespace

TEST(TgtCustomDocumentEngine, RenderRichEditPagesTheDocumentIntoTextItems) {
  richtest::TDocBuilder B;
  for (int I = 0; I < 60; ++I) B.Para(u"Line of text");
  TRichDocument Doc = B.Done();
  TgtRichDocumentTarget Target(Doc);
  TTraceEngine E;
  E.TraceAdvances = true;
  E.BeginDoc();
  E.RenderRichEdit(Target, 0, 25, 25, 600, 800);
  E.EndDoc();
  const std::string Pages = E.Joined("BeginPage");
  EXPECT_EQ(Pages, "BeginPage 1\nBeginPage 2\n");
  std::vector<std::string> Texts;
  for (auto& L : E.Lines)
    if (L.rfind("Text", 0) == 0) Texts.push_back(L);
  ASSERT_EQ(Texts.size(), 60u);
  // Runs start at the rectangle's left edge, in Courier's 10 points, each
  // character advanced by the control's measure.
  EXPECT_EQ(Texts[0].rfind("Text 25,25 \"Line of text\" Courier New 10 dx", 0), 0u) << Texts[0];
  EXPECT_NE(Texts[0].find(" dx 8 8 8"), std::string::npos) << Texts[0];
}

TEST(TgtCustomDocumentEngine, RenderRichEditStopsWhenTheControlMakesNoProgress) {
  TStuckTarget Target;
  TTraceEngine E;
  E.BeginDoc();
  E.RenderRichEdit(Target, 5, 0, 0, 100, 100);
  E.EndDoc();
  EXPECT_EQ(E.Joined("BeginPage"), "BeginPage 1\n");
}

TEST(TgtCustomDocumentEngine, RenderRichEditWithoutADocumentSendsNothing) {
  TStuckTarget Target;
  TTraceEngine E;
  E.RenderRichEdit(Target, 0, 0, 0, 100, 100);
  EXPECT_TRUE(E.Lines.empty());
}
