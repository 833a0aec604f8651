#pragma once

#include <string>
#include <string_view>

// The program's own pictures as SVG text, so they stay sharp at any screen scale. Kept free
// of wx so tests can check that every picture the program asks for exists.
namespace res::art {

// Ink colours of the tool pictures; the strip shown under the mouse swaps the outline ink
// for the hot ink.
inline constexpr std::string_view kInk = "#34495e";
inline constexpr std::string_view kHotInk = "#0a5ab4";

// The body of tool picture `index` of the 20×20 strip (empty for the unused slots), wrapped
// into a complete SVG document; hot selects the strip shown under the mouse.
std::string ToolPictureSvg(int index, bool hot);
// Picture 0 (the search box's slot, blank) or 1 (find) of the search tool bar's strip.
std::string SearchToolPictureSvg(int index, bool hot);

// A complete SVG document for bitmap or icon resource `id` (pen bitmaps, status icons, the
// program icon, folder tree pictures, button skins and masks); empty for an unknown number.
std::string ResourceSvg(int id);
// Natural pixel size of resource `id`; {0, 0} for an unknown number.
struct PixelSize {
  int width;
  int height;
};
PixelSize ResourceSize(int id);

}  // namespace res::art
