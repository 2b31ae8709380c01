// dxBarDesignedCopy.cpp — a copy of the bar manager as its form was
// designed, read again from the owner form's description; bar reset and
// the usage-data reset take their models from it.
#include <cctype>
#include <vector>
#include "bars/model/dxBar.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "platform/forms/Application.h"
#include "platform/forms/Controls.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/ObjectText.h"

namespace {
bool GDesignedCopyLoading = false;

std::vector<AnsiString> SplitLines(const AnsiString& Text) {
  std::vector<AnsiString> Lines;
  AnsiString Line;
  for (char C : Text) {
    if (C == '\n') {
      Lines.push_back(Line);
      Line.clear();
    } else if (C != '\r') {
      Line += C;
    }
  }
  if (!Line.empty()) Lines.push_back(Line);
  return Lines;
}

std::size_t Indent(const AnsiString& S) {
  std::size_t I = 0;
  while (I < S.size() && (S[I] == ' ' || S[I] == '\t')) ++I;
  return I;
}

AnsiString Trimmed(const AnsiString& S) {
  std::size_t B = Indent(S), E = S.size();
  while (E > B && std::isspace(static_cast<unsigned char>(S[E - 1]))) --E;
  return S.substr(B, E - B);
}

bool StartsWith(const AnsiString& S, const char* Prefix) { return S.rfind(Prefix, 0) == 0; }

// An event binding ("OnClick = Handler"): the copy has no handlers to bind
// it to. A property that merely starts with those letters ("OneOnRow",
// "Only…") is data and stays.
bool IsEventBinding(const AnsiString& Line) {
  const AnsiString T = Trimmed(Line);
  if (T.size() < 3 || !StartsWith(T, "On") || !std::isupper(static_cast<unsigned char>(T[2]))) return false;
  std::size_t I = 2;
  while (I < T.size() && (std::isalnum(static_cast<unsigned char>(T[I])) || T[I] == '_')) ++I;
  return T.compare(I, 3, " = ") == 0;
}

class TDesignedCopyLoadingGuard {
public:
  TDesignedCopyLoadingGuard() { GDesignedCopyLoading = true; }
  ~TDesignedCopyLoadingGuard() { GDesignedCopyLoading = false; }
};
}  // namespace

bool dxBarDesignedCopyLoading() { return GDesignedCopyLoading; }

std::unique_ptr<TForm> TdxBarManager::CreateDesignedCopy() const {
  if (!FOwnerForm) return nullptr;
  AnsiString Text;
  if (!FindFormDescription(FOwnerForm->ClassName(), Text)) return nullptr;
  const std::vector<AnsiString> Lines = SplitLines(Text);
  AnsiString Copy = "object TempForm: TForm\r\n";
  // The form's size, so that docked bars lay out as designed.
  int SizeLines = 0;
  for (std::size_t I = 1; I < Lines.size() && SizeLines < 2; ++I)
    for (const char* Key : {"  Width =", "  Height =", "  ClientWidth =", "  ClientHeight ="})
      if (StartsWith(Lines[I], Key)) {
        Copy += Lines[I] + "\r\n";
        ++SizeLines;
        break;
      }
  // The manager's block, wherever it stands among the form's objects.
  const AnsiString Header = "object " + GetName() + ": " + ClassName();
  std::size_t First = Lines.size();
  for (std::size_t I = 1; I < Lines.size(); ++I)
    if (Trimmed(Lines[I]) == Header) {
      First = I;
      break;
    }
  if (First == Lines.size()) return nullptr;
  const AnsiString End = Lines[First].substr(0, Indent(Lines[First])) + "end";
  std::size_t Last = First + 1;
  while (Last < Lines.size() && Lines[Last] != End) ++Last;
  if (Last == Lines.size()) return nullptr;
  for (std::size_t I = First; I <= Last; ++I)
    if (!IsEventBinding(Lines[I])) Copy += Lines[I] + "\r\n";
  Copy += "end\r\n";

  auto Form = std::make_unique<TForm>(nullptr);
  {
    const TDesignedCopyLoadingGuard Loading;
    TextToComponent(Copy, Form.get());
  }
  if (TdxBarManager* M = GetBarManagerOfForm(Form.get())) {
    M->SetStoreInIniFile(false);
    M->SetStoreInRegistry(false);
  }
  return Form;
}

void TdxBar::Reset() {
  TdxBarManager* M = GetBarManager();
  if (!M) return;
  std::unique_ptr<TForm> Copy = M->CreateDesignedCopy();
  TdxBarManager* CM = Copy ? GetBarManagerOfForm(Copy.get()) : nullptr;
  TdxBar* Model = CM && Index() < CM->Bars()->Count() ? CM->Bars()->GetItem(Index()) : nullptr;
  if (!Model) return;
  if (M->OnBarBeforeReset) M->OnBarBeforeReset(M, this);
  // While the manager is updating, links copied from the model find their
  // items by name among this form's items, not the copy's.
  struct TUpdating {
    TdxBarManager* M;
    explicit TUpdating(TdxBarManager* A) : M(A) { M->SetState(csUpdating, true); }
    ~TUpdating() { M->SetState(csUpdating, false); }
  };
  {
    const TUpdating Updating(M);
    if (M->GetUseFullReset()) {
      const TdxBarLockUpdateGuard Lock(M);
      const bool WasVisible = GetVisible();
      SetVisible(false);
      Assign(Model);
      SetVisible(WasVisible);
    } else {
      const bool WasLocked = FItemLinksLocked;
      SetItemLinksLocked(true);
      try {
        ItemLinks()->Assign(Model->ItemLinks());
      } catch (...) {
        SetItemLinksLocked(WasLocked);
        throw;
      }
      SetItemLinksLocked(WasLocked);
    }
    // The recent-use marks follow the model's.
    for (Integer I = 0; I < ItemLinks()->Count() && I < Model->ItemLinks()->Count(); ++I)
      ItemLinks()->GetItem(I)->SetMostRecentlyUsed(Model->ItemLinks()->GetItem(I)->GetMostRecentlyUsed());
  }
  if (M->OnBarAfterReset) M->OnBarAfterReset(M, this);
}

void TdxBar::ResetWithConfirmation() {
  AnsiString Text = dxBarStr(dxSBAR_WANTTORESETTOOLBAR);
  const std::size_t P = Text.find("%s");
  if (P != AnsiString::npos) Text.replace(P, 2, GetCaption());
  if (Application && Application->MessageBox(Text, Application->GetTitle(), MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK)
    Reset();
}
