// MemoFont.h — TMemoFont, the font of the editor, of its text styles and of
// the global editor options. It differs from TFont only in naming the
// persistent that holds it as its owner, so that the designer and the
// streaming system see it as that object's sub-property.
#pragma once
#include "platform/gdi/DrawingTools.h"

class TMemoFont : public TFont {
  SX_CLASS(TMemoFont, TFont)
public:
  // AOwner is borrowed and may be nil.
  explicit TMemoFont(TPersistent* AOwner = nullptr) : FOwner(AOwner) {}

protected:
  TPersistent* GetOwner() override { return FOwner; }

private:
  TPersistent* FOwner;
};
