#include "app/tabs/TextSearch.h"

#include <algorithm>
#include <string>

namespace tabs {

namespace {

std::wstring Folded(std::wstring_view s) {
  std::wstring out(s);
  for (wchar_t& c : out) c = FoldAscii(c);
  return out;
}

}  // namespace

long FindInText(std::wstring_view text, std::wstring_view needle, TextRange& sel, bool matchCase,
                bool down, bool wrap) {
  if (needle.empty()) return -1;
  std::wstring foldedText, foldedNeedle;
  if (!matchCase) {
    foldedText = Folded(text);
    foldedNeedle = Folded(needle);
    text = foldedText;
    needle = foldedNeedle;
  }
  const long length = static_cast<long>(text.size());
  const long size = static_cast<long>(needle.size());
  const long start = std::max(sel.start, 0L);
  const long end = std::max(sel.end, 0L);

  std::size_t found = std::wstring_view::npos;
  if (down) {
    found = text.find(needle, static_cast<std::size_t>(end));
    if (found == std::wstring_view::npos && end > 0 && wrap) found = text.find(needle, 0);
  } else {
    // Searching the reversed text from (length - start) finds the occurrence whose end is
    // nearest before `start`; the same occurrence, found without reversing anything, is the
    // last one that starts at or before start - size.
    const long from = length - start;
    if (start - size >= 0 && start - size <= length) {
      found = text.rfind(needle, static_cast<std::size_t>(start - size));
    }
    if (found == std::wstring_view::npos && from > 0 && wrap) found = text.rfind(needle);
  }
  if (found == std::wstring_view::npos) return -1;
  sel.start = static_cast<long>(found);
  sel.end = sel.start + size;
  return sel.start;
}

}  // namespace tabs
