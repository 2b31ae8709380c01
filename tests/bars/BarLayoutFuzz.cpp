// BarLayoutFuzz.cpp — the fuzz entry for stored bar layouts. The first byte
// chooses the store: even, the rest is a "Layout.ini" text read with
// LoadFromIni; odd, the rest is registry-shaped lines "Key|Name|Kind|Value"
// (Kind: s string, d number, b bytes in hex) written under the layout key
// and read with LoadFromRegistry. Whatever the text says, loading ends in
// bounded time, nothing escapes as an exception, and the main menu stays
// visible. The replay test beside this file calls BarLayoutFuzzOne; the
// libFuzzer target (tests/fuzz/CMakeLists.txt) builds this file with
// SX_BAR_LAYOUT_FUZZER, which adds the libFuzzer entry point.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarRegistry.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Strings.h"

namespace {
const char* const FuzzKey = "Software\\Sourcelux\\BarLayoutFuzz";

void WriteRegistryLines(const std::string& Text) {
  TRegistry Reg;
  std::size_t Pos = 0;
  int Lines = 0;
  while (Pos < Text.size() && Lines++ < 512) {
    std::size_t End = Text.find('\n', Pos);
    if (End == std::string::npos) End = Text.size();
    std::string Line = Text.substr(Pos, End - Pos);
    Pos = End + 1;
    std::size_t A = Line.find('|'), B = A == std::string::npos ? A : Line.find('|', A + 1),
                C = B == std::string::npos ? B : Line.find('|', B + 1);
    if (C == std::string::npos || C + 1 >= Line.size() + 1) continue;
    std::string Key = Line.substr(0, A), Name = Line.substr(A + 1, B - A - 1), Kind = Line.substr(B + 1, C - B - 1),
                Value = Line.substr(C + 1);
    if (Key.find('\0') != std::string::npos || Name.find('\0') != std::string::npos) continue;
    AnsiString Full = AnsiString(FuzzKey) + (Key.empty() ? "" : "\\" + Key);
    if (!Reg.OpenKey(Full, true)) continue;
    try {
      if (Kind == "d") Reg.WriteInteger(Name, std::atoi(Value.c_str()));
      else if (Kind == "b") Reg.WriteBinaryData(Name, Value.data(), Integer(Value.size()));
      else Reg.WriteString(Name, Value);
    } catch (const Exception&) {
    }
    Reg.CloseKey();
  }
}
}  // namespace

void BarLayoutFuzzOne(const std::uint8_t* Data, std::size_t Size) {
  RegisterBarItems();
  auto Form = std::make_unique<TForm>(nullptr);
  Form->SetName("MainForm");
  auto* M = new TdxBarManager(Form.get());
  M->SetName("dxBarManager");
  M->SetStyle((Size && (Data[0] & 2)) ? bmsStandard : bmsOffice11);
  auto* Undo = new TdxBarButton(Form.get());
  Undo->SetName("Undo");
  auto* Edit = new TdxBarEdit(Form.get());
  Edit->SetName("FontSize");
  auto* Sub = new TdxBarSubItem(Form.get());
  Sub->SetName("EditMenu");
  Sub->ItemLinks()->AddItem(Undo);
  TdxBar* Menu = M->Bars()->Add();
  Menu->SetCaption("Menu");
  Menu->SetIsMainMenu(true);
  Menu->ItemLinks()->AddItem(Sub);
  Menu->SetVisible(true);
  TdxBar* Tools = M->Bars()->Add();
  Tools->SetCaption("Tools");
  Tools->ItemLinks()->AddItem(Undo);
  Tools->ItemLinks()->AddItem(Edit);

  const std::string Text(reinterpret_cast<const char*>(Data) + (Size ? 1 : 0), Size ? Size - 1 : 0);
  try {
    if (Size && (Data[0] & 1)) {
      {
        TRegistry Reg;
        Reg.DeleteKey(FuzzKey);
      }
      WriteRegistryLines(Text);
      M->LoadFromRegistry(FuzzKey);
      TRegistry Reg;
      Reg.DeleteKey(FuzzKey);
    } else {
      TMemIniFile Ini("");
      TStringList Lines;
      Lines.SetText(Text);
      Ini.SetStrings(&Lines);
      M->LoadFromIni(Ini);
    }
  } catch (const Exception&) {
    // A store that cannot be read at all is an error the caller reports;
    // what matters here is that it ends and leaves a sound model.
  }
  if (!Menu->GetVisible() || M->IsLocked() || M->Bars()->Count() > 256) std::abort();
  for (Integer I = 0; I < M->Bars()->Count(); ++I) {
    TdxBar* B = M->Bars()->GetItem(I);
    if (B->GetRow() < 0 || B->GetRow() > 255 || B->ItemLinks()->Count() > 1024) std::abort();
    for (Integer J = 0; J < B->ItemLinks()->Count(); ++J) {
      TdxBarItemLink* L = B->ItemLinks()->GetItem(J);
      if (L->GetUserDefine().Contains(udWidth) && (L->GetUserWidth() < 20 || L->GetUserWidth() > 4096)) std::abort();
      if (L->GetPaintStyle() < psStandard || L->GetPaintStyle() > psCaptionGlyph) std::abort();
    }
  }
}

#ifdef SX_BAR_LAYOUT_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static bool Once = [] {
    char Tmpl[] = "/tmp/sx_barfuzz_XXXXXX";
    if (const char* Dir = ::mkdtemp(Tmpl)) ::setenv("XDG_CONFIG_HOME", Dir, 1);
    RegResetStore();
    return true;
  }();
  (void)Once;
  BarLayoutFuzzOne(Data, Size);
  return 0;
}
#endif
