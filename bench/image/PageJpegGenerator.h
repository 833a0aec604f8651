#pragma once

#include <string>

// Writes a page-like JPEG of width × height: a white page with lines of dark text-like
// strokes, coloured headings and link lines, rules, and photo blocks with gradients and
// noise, as a full-page capture of a web page looks. Deterministic for a given size.
bool GeneratePageJpeg(const std::string& path, unsigned width, unsigned height);
