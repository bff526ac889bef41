#pragma once
// The tile sheet as Qt shows it: one 32-bit RGB pixel per sheet pixel.
#include <QImage>
#include <cstdint>

#include "core/bmp/bmp.h"

namespace ui {

// A fresh picture with the bitmap's pixels; a null picture for an empty bitmap.
// Raises OutOfMemoryFailure when Qt cannot hold a picture of that size.
QImage toQImage(const core::Bitmap& bitmap);

// Raises OutOfMemoryFailure for a size no picture can have (Qt's rows hold fewer
// than 2^26 pixels), so that a sheet is refused before its pixels are decoded.
void admitPicture(std::int32_t width, std::int32_t height);

}  // namespace ui
