// ControlBackground.h — a picture or a colour gradient rendered for a
// control's area into a work bitmap that the control's painting copies
// from: the editor's text area and, through TGutterBackground
// (editor/options), its gutter. Also the gradient fill it renders with.
//
// The background owns its picture and its work bitmap; the owner control
// is borrowed and outlives it.
#pragma once
#include <memory>
#include "platform/forms/Controls.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/Persistent.h"

SX_ENUM(TBkgndOption, boNone, boStretch, boCenter, boTile, boHorzGradient, boVertGradient)

// Fills (0, 0, Width, Height) in bands from BeginColor to EndColor, left
// to right or (Vertical) top to bottom: one band per step of the largest
// channel difference. Nothing for an empty area; the brush colour is kept.
void FillGradient(TCanvas* Canvas, Integer Width, Integer Height, TColor BeginColor, TColor EndColor, bool Vertical);
// B div A, plus 1 when there is a remainder (note the order).
Integer CeilDiv(Integer A, Integer B);

class TControlBackground : public TPersistent {
  SX_CLASS(TControlBackground, TPersistent)
public:
  explicit TControlBackground(TCustomControl* AOwner);
  ~TControlBackground() override;
  static void Published(TPublished<TControlBackground>& P);

  // From another background: picture, option and colours through their
  // setters; anything else as the base class assigns.
  void Assign(TPersistent* Source) override;
  // Whether there is something to show: a gradient, or a picture for the
  // stretch, centre and tile options; never for an empty area.
  bool ShowsBackground();
  // Renders anew when the background shows.
  void Changed();

  TBitmap* GetBackground() const { return FBackground.get(); }
  void SetBackground(TBitmap* Value) { FBackground->Assign(Value); }
  TBkgndOption GetBkgndOption() const { return FBkgndOption; }
  void SetBkgndOption(TBkgndOption Value);
  TColor GetGradientBeginColor() const { return FGradientBeginColor; }
  void SetGradientBeginColor(TColor Value);
  TColor GetGradientEndColor() const { return FGradientEndColor; }
  void SetGradientEndColor(TColor Value);

  // The rendered area, in the owner's client coordinates from (0, 0).
  TBitmap* WorkBitmap() const { return FWork.get(); }
  // Renders when the work bitmap no longer matches the area (the owner was
  // resized), without asking the owner to repaint: for painting itself.
  void EnsureRendered();

  // The area: the owner's client rectangle; empty while it has no window.
  virtual TRect GetRect();
  // The brush a centred picture's surroundings are filled with.
  virtual TBrush* GetBrush();
  // Renders the picture or gradient into the work bitmap, then repaints the owner.
  virtual void Update();

protected:
  TCustomControl* Owner() const { return FOwner; }

private:
  void PictureChanged(TObject* Sender);
  void Render();

  TCustomControl* FOwner;
  std::unique_ptr<TBitmap> FBackground;
  std::unique_ptr<TBitmap> FWork;
  TBkgndOption FBkgndOption = boNone;
  TColor FGradientBeginColor = clBlue;
  TColor FGradientEndColor = clBlack;
  bool FQuiet = false;
};
