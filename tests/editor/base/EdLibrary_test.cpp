#include "editor/base/EdLibrary.h"

#include <gtest/gtest.h>

#include <memory>

#include "TestOptions.h"
#include "editor/base/FileSystems.h"
#include "editor/base/Notifiers.h"
#include "editor/base/ObjectParams.h"
#include "platform/rtl/ClassRegistry.h"

namespace {

// Records, while it is being saved, whether the registrations it depends on
// are still there.
class TProbeOptions : public TOptionExt {
  SX_CLASS(TProbeOptions, TOptionExt)
public:
  static void Published(TPublished<TProbeOptions>& P) {
    P.Property("Count", &TProbeOptions::FCount, &TProbeOptions::FCount);
  }
  void SaveOptions() override {
    SawRegistration = FindParamItemForClass(TProbeOptions::StaticClass(), {"Environment.Options"},
                                            {Variant(Integer(123))}, 0) != nullptr;
    TOptionExt::SaveOptions();
  }
  Integer FCount = 0;
  static inline bool SawRegistration = false;
};

// An Int64 property cannot be stored: saving it fails.
class TUnsavableOptions : public TOptionExt {
  SX_CLASS(TUnsavableOptions, TOptionExt)
public:
  static void Published(TPublished<TUnsavableOptions>& P) {
    P.Property("Big", &TUnsavableOptions::FBig, &TUnsavableOptions::FBig);
  }
  Int64 FBig = 1;
};

void FillMapping(TObject*) {}

using EditorLibrary = RegistryTest;

TEST_F(EditorLibrary, EndSavesTheOptionsThenFreesTheRegistries) {
  auto Library = std::make_unique<TEditorLibrary>();
  EXPECT_NE(GetClass("TWin32FileSystem"), nullptr);
  EXPECT_NE(GetClass("TResFileSystem"), nullptr);

  RegisterEnvironmentOptions(TProbeOptions::StaticClass());
  RegisterKeyMapping(TTestFont::StaticClass(), "Probe", &FillMapping);
  GetClassItems()->AddClass(TTestFont::StaticClass(), cfRegistered);
  GetGlobalOptions<TTestOptions>()->FWidth = 120;
  GetGlobalOptions<TProbeOptions>()->FCount = 3;
  TProbeOptions::SawRegistration = false;

  Library.reset();
  EXPECT_EQ(FindGlobalOptions(TTestOptions::StaticClass()), nullptr);
  EXPECT_EQ(FindGlobalOptions(TProbeOptions::StaticClass()), nullptr);
  EXPECT_TRUE(TProbeOptions::SawRegistration) << "options are saved before the registrations go";
  EXPECT_EQ(GetClassItems()->FindClass(TTestFont::StaticClass()), nullptr);
  EXPECT_EQ(FindKeyMappingProc(TTestFont::StaticClass(), "Probe"), nullptr);

  RegResetStore();  // read back from the file
  EXPECT_EQ(ReadFromRegistry("TestOpts\\Width", Variant(0)).AsInteger(), 120);
  EXPECT_EQ(ReadFromRegistry("ProbeOptions\\Count", Variant(0)).AsInteger(), 3);
}

TEST_F(EditorLibrary, AFailingOptionStopsNeitherTheEndNorTheOthersSaving) {
  InitEditorLibrary();
  GetGlobalOptions<TUnsavableOptions>();
  GetGlobalOptions<TTestOptions>()->FWidth = 99;
  EXPECT_NO_THROW(DoneEditorLibrary());
  EXPECT_EQ(FindGlobalOptions(TUnsavableOptions::StaticClass()), nullptr);
  EXPECT_EQ(ReadFromRegistry("TestOpts\\Width", Variant(0)).AsInteger(), 99);
}

TEST_F(EditorLibrary, EndingTwiceIsHarmlessAndTheOptionsComeBackFromTheStore) {
  InitEditorLibrary();
  GetGlobalOptions<TTestOptions>()->FCaption = "kept";
  DoneEditorLibrary();
  DoneEditorLibrary();
  InitEditorLibrary();
  auto* G = GetGlobalOptions<TTestOptions>();
  EXPECT_TRUE(G->IsGlobal());
  EXPECT_EQ(G->FCaption, "kept");
  EXPECT_EQ(GetObjectParamList()->Count(), 0) << "a new, empty parameter registry";
  DoneEditorLibrary();
}

}  // namespace
