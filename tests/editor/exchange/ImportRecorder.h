// ImportRecorder.h — test helper: runs the RTF importer over a text and
// records each run as one line "text|face|charset|size|style|colour|back",
// style being letters b i u s for the styles present.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "editor/exchange/DCRtfImporter.h"

class TImportRecorder : public TObject {
public:
  std::vector<std::string> Runs;
  std::string Text;  // all runs joined

  void OnRun(TObject*, const AnsiString& S, TFont* F, Integer Back) {
    std::string St;
    if (F->GetStyle().Contains(fsBold)) St += 'b';
    if (F->GetStyle().Contains(fsItalic)) St += 'i';
    if (F->GetStyle().Contains(fsUnderline)) St += 'u';
    if (F->GetStyle().Contains(fsStrikeOut)) St += 's';
    std::string Shown = S == "\r\n" ? "<CRLF>" : S == "\t" ? "<TAB>" : S;
    Runs.push_back(Shown + "|" + F->GetName() + "|" + std::to_string(int(F->GetCharset())) + "|" +
                   std::to_string(F->GetSize()) + "|" + St + "|" + std::to_string(int(F->GetColor())) +
                   "|" + std::to_string(Back));
    Text += S;
  }

  static std::unique_ptr<TImportRecorder> Run(const std::string& Rtf) {
    auto R = std::make_unique<TImportRecorder>();
    TDCRtfImporter Imp;
    Imp.OnAddText = TImportTextEvent(R.get(), &TImportRecorder::OnRun);
    Imp.Import(Rtf);
    return R;
  }
};
