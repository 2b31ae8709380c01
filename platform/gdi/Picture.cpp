#include "platform/gdi/Picture.h"

#include <vector>
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/IconGraphic.h"
#include "platform/gdi/JpegImage.h"
#include "platform/gdi/Metafile.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Format.h"

// --- TGraphic ---------------------------------------------------------------------------

void TGraphic::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::SetModified(bool Value) {
  if (Value)
    Changed(this);
  else
    FModified = false;
}

void TGraphic::Changed(TObject*) {
  FModified = true;
  if (OnChange.Assigned()) OnChange(this);
}

void TGraphic::LoadFromFile(const AnsiString& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TGraphic::SaveToFile(const AnsiString& FileName) {
  TMemoryStream Data;
  SaveToStream(&Data);
  Data.SaveToFile(FileName);
}

bool TGraphic::Equals(TGraphic* Graphic) {
  if (!Graphic || Graphic->ClassType() != ClassType()) return false;
  if (Empty() || Graphic->Empty()) return Empty() && Graphic->Empty();
  TMemoryStream A, B;
  WriteData(&A);
  Graphic->WriteData(&B);
  return A.GetSize() == B.GetSize() &&
         std::equal(static_cast<const Byte*>(A.Memory()),
                    static_cast<const Byte*>(A.Memory()) + A.GetSize(),
                    static_cast<const Byte*>(B.Memory()));
}

void TGraphic::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); },
      !Empty());
}

// --- the format registry -----------------------------------------------------------------

namespace {
struct TFileFormat {
  AnsiString Extension;  // lower case, no dot
  AnsiString Description;
  TGraphicClass GraphicClass;
};

// Newest first: the order the filters and the extension look-up use.
std::vector<TFileFormat>& FileFormats() {
  static std::vector<TFileFormat> Formats = [] {
    std::vector<TFileFormat> F;
    F.push_back({"jpg", "JPEG Image File", TJPEGImage::StaticClass()});
    F.push_back({"jpeg", "JPEG Image File", TJPEGImage::StaticClass()});
    F.push_back({"bmp", "Bitmaps", TBitmap::StaticClass()});
    F.push_back({"ico", "Icons", TIcon::StaticClass()});
    F.push_back({"emf", "Enhanced Metafiles", TMetafile::StaticClass()});
    F.push_back({"wmf", "Metafiles", TMetafile::StaticClass()});
    return F;
  }();
  return Formats;
}

AnsiString NormalExt(const AnsiString& Extension) {
  AnsiString E = LowerCase(Extension);
  if (!E.empty() && E[0] == '.') E.erase(0, 1);
  return E;
}

bool IsGraphicClass(TGraphicClass C) { return C && C->InheritsFrom(TGraphic::StaticClass()); }
}  // namespace

void TPicture::RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description,
                                  TGraphicClass GraphicClass) {
  if (!IsGraphicClass(GraphicClass))
    throw EInvalidGraphic("Invalid graphic class for a picture file format");
  auto& F = FileFormats();
  F.insert(F.begin(), {NormalExt(Extension), Description, GraphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass GraphicClass) {
  auto& F = FileFormats();
  std::erase_if(F, [&](const TFileFormat& X) { return X.GraphicClass == GraphicClass; });
}

TGraphicClass TPicture::FindGraphicClassByExtension(const AnsiString& Extension) {
  const AnsiString E = NormalExt(Extension);
  for (const auto& X : FileFormats())
    if (X.Extension == E) return X.GraphicClass;
  return nullptr;
}

TGraphicClass TPicture::FindGraphicClassByName(const AnsiString& ClassName) {
  for (const auto& X : FileFormats())
    if (SameText(X.GraphicClass->ClassName(), ClassName)) return X.GraphicClass;
  return nullptr;
}

AnsiString GraphicFilter(TGraphicClass GraphicClass) {
  AnsiString All, Each;
  for (const auto& X : FileFormats()) {
    if (!GraphicClass || !X.GraphicClass->InheritsFrom(GraphicClass)) continue;
    const AnsiString Mask = "*." + X.Extension;
    if (!All.empty()) All += ';';
    All += Mask;
    Each += '|' + X.Description + " (" + Mask + ")|" + Mask;
  }
  // One format alone needs no "All" line.
  if (Each.empty()) return "";
  if (All.find(';') == AnsiString::npos) return Each.substr(1);
  return "All (" + All + ")|" + All + Each;
}

AnsiString GraphicExtension(TGraphicClass GraphicClass) {
  for (const auto& X : FileFormats())
    if (GraphicClass && X.GraphicClass->InheritsFrom(GraphicClass)) return X.Extension;
  return "";
}

AnsiString GraphicFileMask(TGraphicClass GraphicClass) {
  AnsiString Masks;
  for (const auto& X : FileFormats()) {
    if (!GraphicClass || !X.GraphicClass->InheritsFrom(GraphicClass)) continue;
    if (!Masks.empty()) Masks += ';';
    Masks += "*." + X.Extension;
  }
  return Masks;
}

std::unique_ptr<TGraphic> CreateGraphic(TGraphicClass GraphicClass) {
  if (!IsGraphicClass(GraphicClass)) throw EInvalidGraphic("Invalid graphic class");
  std::unique_ptr<TObject> Obj(GraphicClass->Create());
  auto* G = dynamic_cast<TGraphic*>(Obj.get());
  if (!G) throw EInvalidGraphic("Invalid graphic class");
  Obj.release();
  return std::unique_ptr<TGraphic>(G);
}

// --- TPicture ---------------------------------------------------------------------------------

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed(TObject*) {
  if (OnChange.Assigned()) OnChange(this);
}

void TPicture::SetOwnedGraphic(std::unique_ptr<TGraphic> Graphic) {
  FGraphic = std::move(Graphic);
  if (FGraphic) FGraphic->OnChange = TNotifyEvent(this, &TPicture::Changed);
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == FGraphic.get()) return;
  std::unique_ptr<TGraphic> New;
  if (Value) {
    New = CreateGraphic(Value->ClassType());
    New->Assign(Value);
  }
  SetOwnedGraphic(std::move(New));
}

void TPicture::ForceType(TGraphicClass GraphicClass) {
  if (FGraphic && FGraphic->ClassType() == GraphicClass) return;
  SetOwnedGraphic(CreateGraphic(GraphicClass));
}

TBitmap* TPicture::Bitmap() {
  ForceType(TBitmap::StaticClass());
  return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
  ForceType(TIcon::StaticClass());
  return static_cast<TIcon*>(FGraphic.get());
}

TMetafile* TPicture::Metafile() {
  ForceType(TMetafile::StaticClass());
  return static_cast<TMetafile*>(FGraphic.get());
}

void TPicture::SetBitmap(TBitmap* Value) { SetGraphic(Value); }

Integer TPicture::Width() const { return FGraphic ? FGraphic->GetWidth() : 0; }
Integer TPicture::Height() const { return FGraphic ? FGraphic->GetHeight() : 0; }

void TPicture::LoadFromFile(const AnsiString& FileName) {
  AnsiString Ext = ExtractFileExt(FileName);
  if (!Ext.empty()) Ext.erase(0, 1);
  const TGraphicClass Class = FindGraphicClassByExtension(Ext);
  if (!Class) throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", {Ext}));
  auto New = CreateGraphic(Class);
  New->LoadFromFile(FileName);
  SetOwnedGraphic(std::move(New));
}

void TPicture::SaveToFile(const AnsiString& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* P = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(P->GetGraphic());
  } else if (auto* G = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(G);
  } else {
    inherited::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (FGraphic && dynamic_cast<TGraphic*>(Dest)) {
    Dest->Assign(FGraphic.get());
    return;
  }
  inherited::AssignTo(Dest);
}

// "Data": the graphic's class name as a short string, then its own data.
void TPicture::DefineProperties(TFiler* Filer) {
  auto Read = [this](TStream* S) {
    const Byte Len = S->ReadU8();
    const AnsiString Name = S->ReadBytes(Len);
    if (Name.empty()) {
      SetOwnedGraphic(nullptr);
      return;
    }
    const TGraphicClass Class = FindGraphicClassByName(Name);
    if (!Class) throw EInvalidGraphic(Format("Unknown picture format %s", {Name}));
    auto New = CreateGraphic(Class);
    New->ReadData(S);
    SetOwnedGraphic(std::move(New));
  };
  auto Write = [this](TStream* S) {
    const AnsiString Name = FGraphic ? FGraphic->ClassName() : AnsiString();
    S->WriteU8(Byte(Name.size()));
    S->WriteBytes(Name);
    if (FGraphic) FGraphic->WriteData(S);
  };
  Filer->DefineBinaryProperty("Data", Read, Write, FGraphic != nullptr);
}
