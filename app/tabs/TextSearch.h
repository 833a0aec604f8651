#pragma once

#include <string_view>

// Searching the text tab's text. Positions count the text control's own characters (code
// points here), so a found range can be handed to the control's selection as it is.
namespace tabs {

struct TextRange {
  long start = 0;
  long end = 0;
};

// Only the letters A–Z fold; every other character, full-width letters included, compares as
// it is.
[[nodiscard]] constexpr wchar_t FoldAscii(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

// Looks for needle in text from the selection `sel`. Downwards the search starts at the end of
// the selection and finds the first occurrence starting there or later; upwards it finds the
// nearest occurrence ending at or before the start of the selection. With wrap on, a search
// that found nothing and did not already start at the far end runs once more from the far end
// (the start when down, the end when up). On success `sel` becomes the occurrence and its
// start is returned; otherwise -1 and `sel` is unchanged. An empty needle finds nothing.
long FindInText(std::wstring_view text, std::wstring_view needle, TextRange& sel, bool matchCase,
                bool down, bool wrap);

}  // namespace tabs
