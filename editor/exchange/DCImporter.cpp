#include "editor/exchange/DCImporter.h"

#include "platform/rtl/Exceptions.h"

TDCImporter::TDCImporter() : FFont(std::make_unique<TFont>()) {}

TDCImporter::~TDCImporter() = default;

void TDCImporter::DoAddText(const AnsiString& Text, TFont* Font, Integer BackColor) {
  if (OnAddText.Assigned()) OnAddText(this, Text, Font, BackColor);
}

std::unique_ptr<TDCImporter> CreateImporter(TClass AClass) {
  if (!AClass || !AClass->InheritsFrom(TDCImporter::StaticClass()))
    throw EInvalidCast("Invalid class typecast");
  TObject* Obj = AClass->Create();
  if (!Obj) throw EInvalidOperation("Cannot create an abstract importer");
  return std::unique_ptr<TDCImporter>(static_cast<TDCImporter*>(Obj));
}
