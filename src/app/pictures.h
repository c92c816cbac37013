#pragma once

#include <QImage>

#include "preview/bitmap.h"

namespace halvane {

// The picture shown in the preview's place while no image is loaded.
QImage TitlePicture(int width, int height);

// The legend of the out-of-range false colours: a colour strip running from
// normalised luminance -2 to 16 with its labels beneath.
QImage OutOfRangeLegend(int width, int height);

// Wraps the bitmap's pixels without copying; null for an empty bitmap. Valid
// while the bitmap is neither resized nor released.
QImage WrapBitmap(const Bitmap& bitmap);

}  // namespace halvane
