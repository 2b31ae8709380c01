// PlayerSupport.h — hand-made page metafiles for the player tests.
#pragma once
#include <vector>
#include "TraceEngine.h"
#include "export/engine/MetafileProcessor.h"
#include "platform/emf/EmfTestUtil.h"

// A 24-bit DIB of W x H pixels, all of one colour (B, G, R bytes).
inline void MakeDib(Integer W, Integer H, Byte Blue, std::vector<Byte>& Bmi, std::vector<Byte>& Bits) {
  Bmi.assign(40, 0);
  auto Put = [&](std::size_t At, DWORD V) {
    for (int I = 0; I < 4; ++I) Bmi[At + I] = Byte(V >> (8 * I));
  };
  Put(0, 40);
  Put(4, DWORD(W));
  Put(8, DWORD(H));
  Bmi[12] = 1;
  Bmi[14] = 24;
  const std::size_t Row = (std::size_t(W) * 3 + 3) / 4 * 4;
  Bits.assign(Row * std::size_t(H), 0);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) Bits[std::size_t(Y) * Row + std::size_t(X) * 3] = Blue;
}

inline TEmrExtCreateFontIndirectW FontRecord(DWORD Index, const char16_t* Face, Integer Height,
                                             Integer Weight = 400, Integer Escapement = 0, Byte Pitch = 0) {
  TEmrExtCreateFontIndirectW F;
  F.ihFont = Index;
  F.Font.Height = Height;
  F.Font.Weight = Weight;
  F.Font.Escapement = Escapement;
  F.Font.PitchAndFamily = Pitch;
  F.Font.CharSet = 0;
  F.Font.FaceName = Face;
  return F;
}

inline TEmrExtTextOut TextRecord(Integer X, Integer Y, const char16_t* Text, UINT Options = 0,
                                 TRect Clip = {}) {
  TEmrExtTextOut T;
  T.Reference = {X, Y};
  T.Text = Text;
  T.Options = Options;
  T.Rect = Clip;
  for (std::size_t I = 0; I < T.Text.size(); ++I) T.Dx.push_back(7);
  return T;
}

// An engine with an open document whose page body starts at (0, 0).
struct TPlayerFixture {
  TTraceEngine Engine;
  TPlayerFixture() { Engine.BeginDoc(); }
  ~TPlayerFixture() {
    if (Engine.IsDocumentOpen()) Engine.EndDoc();
  }
  TgtItemList& Items() { return Engine.CurrentItems(); }
  // Items before the end-of-file item every played metafile ends with.
  std::size_t Content() {
    std::size_t N = Items().size();
    if (N && Items().back() && Items().back()->Kind() == TgtItemKind::EndOfFile) --N;
    return N;
  }
  template <class T> T* Item(std::size_t I) { return I < Items().size() ? dynamic_cast<T*>(Items()[I].get()) : nullptr; }
};
