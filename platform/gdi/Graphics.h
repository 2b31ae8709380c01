// Graphics.h — the class library's graphics classes in one include.
#pragma once
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Graphic.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/GraphicsObjects.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/JpegImage.h"
#include "platform/gdi/Metafile.h"
