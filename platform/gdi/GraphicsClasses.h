// GraphicsClasses.h — the class library's graphics classes in one include.
#pragma once
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Picture.h"
#include "platform/gdi/IconGraphic.h"
#include "platform/gdi/DrawingTools.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/JpegImage.h"
#include "platform/gdi/Metafile.h"
