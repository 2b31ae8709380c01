// MessageForm.cpp — the window of a message box: its icon, its text and a
// row of buttons. Shown when no answerer takes the box (a run with a real
// display), or when a test's answer asks for the form.
#include "platform/forms/Dialogs.h"

#include <algorithm>

#include "platform/forms/Panels.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/IconApi.h"
#include "platform/gdi/IconGraphic.h"
#include "platform/win/Resources.h"

namespace {
struct TButtonSpec {
  const char* Name;
  const char* Caption;
  TModalResult Result;
};

TButtonSpec SpecOf(TModalResult R) {
  switch (R) {
    case mrOk: return {"OK", "OK", mrOk};
    case mrCancel: return {"Cancel", "Cancel", mrCancel};
    case mrAbort: return {"Abort", "&Abort", mrAbort};
    case mrRetry: return {"Retry", "&Retry", mrRetry};
    case mrIgnore: return {"Ignore", "&Ignore", mrIgnore};
    case mrYes: return {"Yes", "&Yes", mrYes};
    case mrNo: return {"No", "&No", mrNo};
    case mrAll: return {"All", "&All", mrAll};
    case mrNoToAll: return {"NoToAll", "N&o to All", mrNoToAll};
    case mrYesToAll: return {"YesToAll", "Yes to &All", mrYesToAll};
    default: return {"Button", "", R};
  }
}
}  // namespace

TForm* CreateMessageForm(const AnsiString& Caption, const AnsiString& Text, const char* IconId,
                         const std::vector<Integer>& Results, std::size_t DefaultIndex) {
  auto* F = new TForm(nullptr);
  F->SetName("MessageForm");
  F->SetCaption(Caption);
  F->SetBorderStyle(bsDialog);
  F->SetPosition(poScreenCenter);
  F->GetFont()->SetName("Tahoma");
  F->GetFont()->SetHeight(-11);
  Integer TextLeft = 12;
  if (IconId) {
    if (HICON Icon = LoadIconA(nullptr, IconId)) {
      auto* Image = new TImage(F);
      Image->SetName("Image");
      Image->SetParent(F);
      Image->SetBounds(12, 12, 32, 32);
      Image->GetPicture()->Icon()->SetHandle(CopyIcon(Icon));
      TextLeft = 56;
    }
  }
  auto* Label = new TLabel(F);
  Label->SetName("Message");
  Label->SetParent(F);
  Label->SetCaption(Text);
  Label->SetLeft(TextLeft);
  Label->SetTop(12);
  // The text's size decides the window's: a long message widens it up to a
  // limit, then wraps.
  Label->SetAutoSize(true);
  Integer TextW = std::min<Integer>(Label->GetWidth(), 400);
  if (Label->GetWidth() > 400) {
    Label->SetWordWrap(true);
    Label->SetWidth(400);
  }
  const Integer TextBottom = std::max<Integer>(Label->GetTop() + Label->GetHeight(), IconId ? 44 : 0);
  constexpr Integer BtnW = 75, BtnH = 23, Gap = 6;
  const Integer Row = Integer(Results.size()) * BtnW + Integer(std::max<std::size_t>(Results.size(), 1) - 1) * Gap;
  const Integer Width = std::max<Integer>(TextLeft + TextW + 12, Row + 24);
  F->SetClientWidth(Width);
  F->SetClientHeight(TextBottom + 16 + BtnH + 12);
  Integer X = (Width - Row) / 2;
  const bool HasCancel = std::find(Results.begin(), Results.end(), mrCancel) != Results.end();
  for (std::size_t I = 0; I < Results.size(); ++I) {
    const TButtonSpec S = SpecOf(Results[I]);
    auto* B = new TButton(F);
    B->SetName(S.Name);
    B->SetParent(F);
    B->SetCaption(S.Caption);
    B->SetModalResult(S.Result);
    B->SetBounds(X, TextBottom + 16, BtnW, BtnH);
    B->SetTabOrder(Integer(I));
    // Esc answers Cancel, or the only button there is.
    B->SetCancel(S.Result == mrCancel || (!HasCancel && Results.size() == 1));
    if (I == DefaultIndex) {
      // The default button starts with the focus.
      B->SetDefault(true);
      B->SetTabOrder(0);
      F->SetActiveControl(B);
    }
    X += BtnW + Gap;
  }
  return F;
}
