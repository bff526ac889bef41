#pragma once
// The tile sheet as Qt shows it: one 32-bit RGB pixel per sheet pixel.
#include <QImage>

#include "core/bmp/bmp.h"

namespace ui {

// A fresh picture with the bitmap's pixels; a null picture for an empty bitmap.
// Raises OutOfMemoryFailure when Qt cannot hold a picture of that size.
QImage toQImage(const core::Bitmap& bitmap);

}  // namespace ui
