#pragma once

#include <cstdint>
#include <vector>

#include <gif_lib.h>

#include "app/image/CxImage.h"

// Reduces a 24-bit picture to at most 256 colours for GIF. Pictures that already use 256
// colours or fewer (screenshots, diagrams) keep them exactly; others get a median-cut table
// and each pixel its nearest entry, without dithering. Fills `colors` (a power-of-two count,
// returned) and one index per pixel, top row first.
int QuantizeForGif(const CxImage& img, GifColorType colors[256], std::vector<uint8_t>& indexes);
