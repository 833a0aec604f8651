#pragma once

// Turning exceptions into the image object's error results. Codec libraries and the standard
// library may throw (std::bad_alloc above all); nothing may leave the image object by exception,
// so each entry point that runs such code catches here and reports through the last-error text.

#include "app/image/CxImage.h"

// The text an allocation failure anywhere in the image object leaves behind.
inline constexpr const char* kImageOutOfMemory = "CxImage: out of memory";

// Call only inside a catch handler: sets the picture's last-error text from the exception being
// handled.
void SetErrorFromException(const CxImage& img) noexcept;
