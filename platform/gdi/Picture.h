// Picture.h — TGraphic, the abstract picture (bitmap, icon, metafile, JPEG),
// and TPicture, the holder that owns one graphic of any class and picks the
// class from a file's extension through the registry of file formats.
//
// Built-in formats, newest first as the filters list them: jpg and jpeg
// (TJPEGImage), bmp (TBitmap), ico (TIcon), emf and wmf (TMetafile).
#pragma once
#include <memory>
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Streams.h"

class TCanvas;
class TBitmap;
class TIcon;
class TMetafile;

class TGraphic : public TPersistent {
  SX_CLASS(TGraphic, TPersistent)
public:
  TGraphic() = default;

  virtual bool Empty() const = 0;
  virtual Integer GetWidth() const = 0;
  virtual Integer GetHeight() const = 0;
  virtual void SetWidth(Integer Value) = 0;
  virtual void SetHeight(Integer Value) = 0;
  virtual bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  virtual HPALETTE GetPalette() { return nullptr; }
  virtual void SetPalette(HPALETTE) {}
  bool GetModified() const { return FModified; }
  // True fires OnChange; False only clears the flag.
  void SetModified(bool Value);

  // Reads from the stream's position to its end / writes at its position.
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const AnsiString& FileName);
  // Writes the whole picture first, so a failure leaves no partial file.
  void SaveToFile(const AnsiString& FileName);

  TNotifyEvent OnChange;

protected:
  friend class TCanvas;
  friend class TPicture;
  // Draws the graphic stretched to Rect on Canvas (TCanvas::Draw and
  // StretchDraw call this with the canvas ready).
  virtual void Draw(TCanvas* Canvas, const TRect& Rect) = 0;
  virtual void Changed(TObject* Sender);
  void DefineProperties(TFiler* Filer) override;
  // The form-file "Data" payload; by default the file format.
  virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
  virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }
  // Same class and same saved bytes.
  virtual bool Equals(TGraphic* Graphic);

private:
  bool FTransparent = false;
  bool FModified = false;
};

using TGraphicClass = TClass;

class TPicture : public TPersistent {
  SX_CLASS(TPicture, TPersistent)
public:
  TPicture();
  ~TPicture() override;

  // The graphic held, or nil. Setting copies Value into a new graphic of
  // its class (nil clears).
  TGraphic* GetGraphic() const { return FGraphic.get(); }
  void SetGraphic(TGraphic* Value);
  // The graphic as that class; a graphic of another class is replaced by
  // an empty one of the class asked for.
  TBitmap* Bitmap();
  TIcon* Icon();
  TMetafile* Metafile();
  void SetBitmap(TBitmap* Value);
  Integer Width() const;
  Integer Height() const;

  // Raises EInvalidGraphic "Unknown picture file extension (.%s)" for an
  // extension no format is registered for.
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);

  void Assign(TPersistent* Source) override;

  // Formats: Extension without the dot, compared ignoring case.
  static void RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description,
                                 TGraphicClass GraphicClass);
  static void UnregisterGraphicClass(TGraphicClass GraphicClass);
  // The class registered for an extension (with or without the dot), or nil.
  static TGraphicClass FindGraphicClassByExtension(const AnsiString& Extension);
  // A registered graphic class by its class name, ignoring case, or nil.
  static TGraphicClass FindGraphicClassByName(const AnsiString& ClassName);

  TNotifyEvent OnChange;

protected:
  void AssignTo(TPersistent* Dest) override;
  void DefineProperties(TFiler* Filer) override;
  virtual void Changed(TObject* Sender);

private:
  void ForceType(TGraphicClass GraphicClass);
  void SetOwnedGraphic(std::unique_ptr<TGraphic> Graphic);
  std::unique_ptr<TGraphic> FGraphic;
};

// "All (*.jpg;*.jpeg;…)|*.jpg;*.jpeg;…|JPEG Image File (*.jpg)|*.jpg|…": the
// formats whose class inherits from GraphicClass.
AnsiString GraphicFilter(TGraphicClass GraphicClass);
// The first extension registered for that class or a descendant ("bmp").
AnsiString GraphicExtension(TGraphicClass GraphicClass);
// "Bitmaps (*.bmp)" style entries only, joined by '|'.
AnsiString GraphicFileMask(TGraphicClass GraphicClass);

// Makes an instance of a graphic class (raises EInvalidGraphic for a class
// that is not a creatable graphic).
std::unique_ptr<TGraphic> CreateGraphic(TGraphicClass GraphicClass);
