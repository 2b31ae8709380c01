// The program's entry point: the editor library's lifetime around
// everything, the program's classes, the application and its main window,
// the message loop. Form descriptions come from "resources" beside the
// executable, data from "data" beside it (AppDir).
#include <cstdio>
#include "app/start.h"
#include "editor/base/EdLibrary.h"
#include "platform/forms/Application.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Heap.h"

int main() {
  KeepLargeBlocksOutOfTheHeap();
  TEditorLibrary EditorLibrary;
  try {
    RegisterAppClasses();
    TApplication App(nullptr);
    App.Initialize();
    App.SetTitle(AppTitle);
    TMainForm* MainForm = nullptr;
    App.CreateForm(MainForm);
    App.Run();
  } catch (const Exception& E) {
    std::fprintf(stderr, "sourcelux: %s\n", E.Message().c_str());
    return 1;
  }
  return 0;
}
