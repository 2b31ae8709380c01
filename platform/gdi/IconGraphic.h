// IconGraphic.h — TIcon: an icon or cursor read from an .ico/.cur file, held as an
// HICON that the TIcon owns. Of the sizes a file holds, the one nearest
// 32 x 32 with the most colours is used; the file's bytes are kept, so
// saving writes every size back unchanged. Icons are always transparent
// and cannot be resized.
#pragma once
#include <vector>
#include "platform/gdi/Picture.h"
#include "platform/gdi/IconApi.h"

class TIcon : public TGraphic {
  SX_CLASS(TIcon, TGraphic)
public:
  TIcon();
  ~TIcon() override;

  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FHandle == nullptr; }
  Integer GetWidth() const override { return FSize.cx; }
  Integer GetHeight() const override { return FSize.cy; }
  // Raise EInvalidGraphicOperation "Cannot change the size of an icon".
  void SetWidth(Integer) override;
  void SetHeight(Integer) override;
  bool GetTransparent() const override { return true; }

  HICON GetHandle() const { return FHandle; }
  // Takes ownership of Value.
  void SetHandle(HICON Value);
  HICON ReleaseHandle();

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
  void LoadFromBytes(std::vector<Byte> Data);
  HICON FHandle = nullptr;
  TSize FSize;
  std::vector<Byte> FData;  // the file as loaded; empty when made from a handle
};
