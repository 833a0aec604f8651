#pragma once

#include <cstdint>
#include <string>

#include "app/image/CxImage.h"

// Loads a picture that will be shown no larger than boxWidth × boxHeight. A JPEG file decodes
// at the smallest DCT scale (1/2, 1/4, 1/8) that still covers the box, so only a fraction of
// its pixels is ever made. A colour JPEG whose colour is stored at half resolution covers a box
// four times as large: at 1/8 its colour would be one mean per 16 × 16 pixels, and the colour
// of single pixels would stray from a full decode's. Other files decode at full size.
// fullWidth and fullHeight receive the picture's size as the file holds it, so the caller lays
// the reduced picture out exactly as it would the full one: reduced pixel (x, y) stands for the
// full picture's pixels around (x × fullWidth / width, y × fullHeight / height). On failure the
// picture is invalid and its last error says why.
bool LoadReducedForBox(CxImage& img, const std::string& fileName, uint32_t imageType,
                       uint32_t boxWidth, uint32_t boxHeight, uint32_t& fullWidth,
                       uint32_t& fullHeight);
